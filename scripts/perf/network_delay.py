#!/usr/bin/python3
"""Delay from a click on one copy of the game to the move showing on the other.

usage: network_delay.py [--display N] [--repeats R] BINARY [BINARY...]

Two copies of each BINARY, a Release build, play a network game over
127.0.0.1 port 45678, in a private network namespace that the script enters
by itself: it cannot meet anyone else's game on that port, and the host's
search for a home router reaches no other machine. Starts its own Xvfb on display N
(or $SOWROW_PERF_DISPLAY). For each of R rounds, the binaries taking turns, it
starts a host and a joiner, connects them, clicks a pit of the host's row
through XTEST and polls the pixels of that pit and its neighbours on both
windows until each shows the move: the time to the first change (the outline
of the chosen pit) and to the first seed sown. Then it measures each copy's
CPU while the rest of the move plays (MOVE_SECONDS).
"""
import argparse
import os
import sys
import time

from Xlib import X
from Xlib.ext import xtest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(1, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
import perflib  # noqa: E402
from game_window import (  # noqa: E402
    OPENING, both_to_move, host_from_menus, in_private_network, join_from_menus, run_xdotool)

# Left, top, width, height: the chosen pit and its two neighbours, where the
# first seed lands; small, so both windows are polled every few milliseconds.
BOARD = (355, 210, 290, 110)
PIT_CENTRE = (500, 265)  # middle pit of the host's row
HOST_PLACE = (100, 560)  # below the joiner's window, so neither hides the other's pixels
SEED_PIXELS = 150  # a seed sprite is 18 x 20
TIMEOUT = 5.0
MOVE_SECONDS = 2.5


def changes(before, now):
    """Changed pixels, and those of them that are not the white outline."""
    changed = (before[..., :3] != now[..., :3]).any(axis=2)
    white = (now[..., :3] > 240).all(axis=2)
    return int(changed.sum()), int((changed & ~white).sum())


def click(game):
    display = game.link
    xtest.fake_input(display, X.ButtonPress, 1)
    display.sync()
    started = time.monotonic()
    xtest.fake_input(display, X.ButtonRelease, 1)
    display.sync()
    return started


def one_round(binary):
    host = perflib.Game(binary)
    joiner = None
    try:
        run_xdotool("windowmove", host.window.id, *HOST_PLACE, display=host.display)
        time.sleep(0.3)
        joiner = perflib.Game(binary)
        host_from_menus(host)
        join_from_menus(joiner)
        both_to_move(host, joiner, "Player1's turn", OPENING)
        xtest.fake_input(host.link, X.MotionNotify, x=HOST_PLACE[0] + PIT_CENTRE[0],
                         y=HOST_PLACE[1] + PIT_CENTRE[1])
        host.link.sync()
        time.sleep(0.5)
        before = {"host": host.grab(BOARD), "joiner": joiner.grab(BOARD)}
        seen = {}
        polls = 0
        started = click(host)
        while len(seen) < 4 and time.monotonic() - started < TIMEOUT:
            polls += 1
            for name, game in (("host", host), ("joiner", joiner)):
                changed, not_outline = changes(before[name], game.grab(BOARD))
                now = time.monotonic() - started
                if changed and (name, "first") not in seen:
                    seen[(name, "first")] = now
                if not_outline > SEED_PIXELS and (name, "sown") not in seen:
                    seen[(name, "sown")] = now
        seen[("poll", "interval")] = (time.monotonic() - started) / polls
        if len(seen) < 5:
            raise SystemExit("the move did not show on both copies: %s" % seen)
        cpu = {name: game.cpu_seconds() for name, game in (("host", host), ("joiner", joiner))}
        wall = time.monotonic()
        time.sleep(MOVE_SECONDS)
        for name, game in (("host", host), ("joiner", joiner)):
            seen[(name, "cpu")] = (game.cpu_seconds() - cpu[name]) / (time.monotonic() - wall)
        return seen
    finally:
        if joiner is not None:
            joiner.stop()
        host.stop()


def main():
    in_private_network()
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("binaries", nargs="+")
    parser.add_argument("--display")
    parser.add_argument("--repeats", type=int, default=5)
    args = parser.parse_args()
    display = perflib.display_option(args.display)
    rounds = {binary: [] for binary in args.binaries}
    with perflib.Xvfb(display):
        for index in range(args.repeats):
            for binary in args.binaries:
                rounds[binary].append(one_round(binary))
                print("%s round %d: " % (perflib.label(binary), index + 1) + ", ".join(
                    "%s %s %.1f %%" % (name, kind, 100 * value) if kind == "cpu" else
                    "%s %s %.0f ms" % (name, kind, 1000 * value)
                    for (name, kind), value in sorted(rounds[binary][-1].items())), flush=True)
                time.sleep(1)  # lets the port be free for the next host
    print("machine:", perflib.machine())
    for binary in args.binaries:
        print("== %s" % perflib.label(binary))
        done = rounds[binary]
        for name in ("host", "joiner"):
            for kind, label in (("first", "first change"), ("sown", "first seed sown")):
                values = [1000 * r[(name, kind)] for r in done]
                print("click to %s on the %s:" % (label, name), perflib.summary(values, "ms", 0))
            print("CPU of the %s while the move plays:" % name,
                  perflib.summary([100 * r[(name, "cpu")] for r in done], "% of a core", 1))
        polls = [1000 * r[("poll", "interval")] for r in done]
        print("polling interval (both windows):", perflib.summary(polls, "ms", 1))
        gap = [1000 * (r[("joiner", "first")] - r[("host", "first")]) for r in done]
        print("joiner's first change after the host's:", perflib.summary(gap, "ms", 0))


if __name__ == "__main__":
    main()
