#!/usr/bin/python3
"""Real periods of the game's 100 ms and 500 ms timers.

usage: timers.py [--display N] [--seconds S] [--screen menu|board] BINARY

Starts its own Xvfb on display N (or $SOWROW_PERF_DISPLAY) and runs BINARY, a
Release build of the game, for S seconds (default 60) with SOWROW_TIMER_STATS
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


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("binary")
    parser.add_argument("--display")
    parser.add_argument("--seconds", type=float, default=60)
    parser.add_argument("--screen", choices=("menu", "board"), default="menu")
    args = parser.parse_args()
    display = perflib.display_option(args.display)
    with perflib.Xvfb(display), tempfile.TemporaryDirectory() as folder:
        stderr_path = os.path.join(folder, "timers.err")
        game = perflib.Game(args.binary, {"SOWROW_TIMER_STATS": "1"}, stderr_path)
        try:
            game.find_window()
            game.wait_first_frame()
            if args.screen == "board":
                game.key("Return", "Return")
            # The last report comes ten seconds after the one before.
            time.sleep(args.seconds + 1)
        finally:
            game.stop()
        with open(stderr_path) as lines:
            reports = [LINE.match(line) for line in lines]
    totals = collections.defaultdict(lambda: [0, 0.0, float("inf"), 0.0, set()])
    for report in filter(None, reports):
        requested, timer, periods = int(report[1]), report[2], int(report[3])
        mean, shortest, longest = map(float, report.group(4, 5, 6))
        total = totals[requested]
        total[0] += periods
        total[1] += periods * mean
        total[2] = min(total[2], shortest)
        total[3] = max(total[3], longest)
        total[4].add(timer)
    print("machine:", perflib.machine())
    for requested in sorted(totals):
        periods, summed, shortest, longest, timers = totals[requested]
        print("%d ms timers (%d of them, %s): %d periods, mean %.2f ms, min %.2f ms, "
              "max %.2f ms, drift %+.2f %%" % (requested, len(timers), args.screen, periods,
                                               summed / periods, shortest, longest,
                                               100.0 * (summed / periods - requested) / requested))


if __name__ == "__main__":
    main()
