#!/usr/bin/python3
"""Real periods of the game's 100 ms and 500 ms timers.

usage: timers.py [--display N] [--seconds S] [--screen menu|board] BINARY [BINARY...]

Starts its own Xvfb on display N (or $SOWROW_PERF_DISPLAY) and runs each
BINARY, a Release build of the game, in turn, for S seconds (default 60) with SOWROW_TIMER_STATS
set, idle on the main menu or on the board of a two-player game. The game
reports every timer's periods every ten seconds; this sums them up per
requested period.
"""
import argparse
import collections
import os
import re
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import perflib  # noqa: E402

LINE = re.compile(r"timer (\d+) ms #(\d+): (\d+) periods, mean ([\d.]+) ms, "
                  r"min ([\d.]+) ms, max ([\d.]+) ms")


def periods(binary, seconds, screen, folder):
    """The timers' reports of one run, as (requested ms, timer, periods, mean, min, max)."""
    stderr_path = os.path.join(folder, "timers.err")
    game = perflib.Game(binary, {"SOWROW_TIMER_STATS": "1"}, stderr_path)
    try:
        if screen == "board":
            game.key("Return", "Return")
        # The last report comes ten seconds after the one before.
        time.sleep(seconds + 1)
    finally:
        game.stop()
    with open(stderr_path) as lines:
        return [LINE.match(line) for line in lines]


def summarise(binary, screen, reports):
    totals = collections.defaultdict(lambda: [0, 0.0, float("inf"), 0.0, set()])
    for report in filter(None, reports):
        requested, timer, count = int(report[1]), report[2], int(report[3])
        mean, shortest, longest = map(float, report.group(4, 5, 6))
        total = totals[requested]
        total[0] += count
        total[1] += count * mean
        total[2] = min(total[2], shortest)
        total[3] = max(total[3], longest)
        total[4].add(timer)
    for requested in sorted(totals):
        count, summed, shortest, longest, timers = totals[requested]
        print("%s: %d ms timers (%d of them, %s): %d periods, mean %.2f ms, min %.2f ms, "
              "max %.2f ms, drift %+.2f %%" % (perflib.label(binary), requested, len(timers),
                                               screen, count, summed / count, shortest, longest,
                                               100.0 * (summed / count - requested) / requested))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("binaries", nargs="+")
    parser.add_argument("--display")
    parser.add_argument("--seconds", type=float, default=60)
    parser.add_argument("--screen", choices=("menu", "board"), default="menu")
    args = parser.parse_args()
    display = perflib.display_option(args.display)
    with perflib.Xvfb(display), tempfile.TemporaryDirectory() as folder:
        reports = [(binary, periods(binary, args.seconds, args.screen, folder))
                   for binary in args.binaries]
    print("machine:", perflib.machine())
    for binary, found in reports:
        summarise(binary, args.screen, found)


if __name__ == "__main__":
    main()
