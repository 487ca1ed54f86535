#!/usr/bin/python3
"""Whether the window keeps drawing after the X server has stalled.

usage: stalled_server.py [--display N] [--stalls K] BINARY [BINARY...]

Starts its own Xvfb on display N (or $SOWROW_PERF_DISPLAY) and, for each
BINARY in turn, the game on its main menu, then stops the X server for 300 ms
every 2 s, K times, the way a busy desktop can hold a frame up. Reports the
frames drawn per second before, between and in the 5 s after the stalls, and
after how many of the stalls the window went on changing: the floating seeds
move every 100 ms, so two grabs half a second apart differ while it draws.
"""
import argparse
import os
import signal
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import perflib  # noqa: E402


def frames_counted(stderr_path):
    # One line a second, idle seconds too, each the rate over about a
    # second: their sum counts the frames.
    return sum(perflib.frame_rates(stderr_path))


def one_binary(server, binary, stalls, folder):
    stderr_path = os.path.join(folder, "frames.err")
    game = perflib.Game(binary, {"SOWROW_FRAME_STATS": "1"}, stderr_path)
    try:
        time.sleep(3)
        before = frames_counted(stderr_path) / 3
        started = frames_counted(stderr_path)
        drawing_after = 0
        for _ in range(stalls):
            server.send_signal(signal.SIGSTOP)
            time.sleep(0.3)
            server.send_signal(signal.SIGCONT)
            time.sleep(0.5)
            first = game.grab()
            time.sleep(0.5)
            drawing_after += int((game.grab() != first).any())
            time.sleep(0.7)
        during = (frames_counted(stderr_path) - started) / (2.0 * stalls)
        settled = frames_counted(stderr_path)
        time.sleep(5)
        after = (frames_counted(stderr_path) - settled) / 5
        alive = game.alive()
    finally:
        game.stop()
    if not alive:
        raise SystemExit("the game ended during the run")
    return before, during, after, drawing_after


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("binaries", nargs="+")
    parser.add_argument("--display")
    parser.add_argument("--stalls", type=int, default=10)
    args = parser.parse_args()
    display = perflib.display_option(args.display)
    with perflib.Xvfb(display) as server, tempfile.TemporaryDirectory() as folder:
        results = [(binary, one_binary(server, binary, args.stalls, folder))
                   for binary in args.binaries]
    print("machine:", perflib.machine())
    for binary, (before, during, after, drawing_after) in results:
        print("%s: frames/s before the stalls %.0f, while stalling %.0f, after %.0f; "
              "drawing again after %d of %d stalls" % (perflib.label(binary), before, during,
                                                       after, drawing_after, args.stalls))


if __name__ == "__main__":
    main()
