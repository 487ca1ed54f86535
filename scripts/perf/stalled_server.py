#!/usr/bin/python3
"""Whether the window keeps drawing after the X server has stalled.

usage: stalled_server.py [--display N] [--stalls K] BINARY

Starts its own Xvfb on display N (or $SOWROW_PERF_DISPLAY) and the game on its
main menu, then stops the X server for 300 ms every 2 s, K times, the way a
busy desktop can hold a frame up. Reports the frames drawn per second before,
between and in the 5 s after the stalls.
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
    # One line per second in which a frame was drawn; a second without any
    # frame writes nothing, so the lines are summed rather than averaged.
    return sum(perflib.frame_rates(stderr_path))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("binary")
    parser.add_argument("--display")
    parser.add_argument("--stalls", type=int, default=10)
    args = parser.parse_args()
    display = perflib.display_option(args.display)
    with perflib.Xvfb(display) as server, tempfile.TemporaryDirectory() as folder:
        stderr_path = os.path.join(folder, "frames.err")
        game = perflib.Game(args.binary, {"SOWROW_FRAME_STATS": "1"}, stderr_path)
        try:
            game.find_window()
            game.wait_first_frame()
            time.sleep(3)
            before = frames_counted(stderr_path) / 3
            started = frames_counted(stderr_path)
            for _ in range(args.stalls):
                server.process.send_signal(signal.SIGSTOP)
                time.sleep(0.3)
                server.process.send_signal(signal.SIGCONT)
                time.sleep(1.7)
            during = (frames_counted(stderr_path) - started) / (2.0 * args.stalls)
            settled = frames_counted(stderr_path)
            time.sleep(5)
            after = (frames_counted(stderr_path) - settled) / 5
            alive = game.process.poll() is None
        finally:
            game.stop()
    if not alive:
        raise SystemExit("the game ended during the run")
    print("machine:", perflib.machine())
    print("frames/s before the stalls %.0f, while stalling %.0f, after %.0f" %
          (before, during, after))


if __name__ == "__main__":
    main()
