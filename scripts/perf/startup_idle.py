#!/usr/bin/python3
"""Launch time, idle frame rate, idle CPU use and peak memory of the game.

usage: startup_idle.py [--display N] [--repeats R] [--seconds S] BINARY

Starts its own Xvfb on display N (or $SOWROW_PERF_DISPLAY) and runs BINARY, a
Release build of the game, R times under Mesa's software renderer. Each run
measures the time from launch to the first drawn frame, then S seconds idle
on the main menu (frames per second and CPU time from /proc/<pid>/stat), then
S seconds idle on the board of a two-player game on one computer, and last
the peak resident memory (VmHWM).
"""
import argparse
import os
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import perflib  # noqa: E402

SETTLE = 2.0


def idle_period(game, stderr_path, seconds):
    """Mean frames per second and CPU use (% of one core) over `seconds`."""
    time.sleep(SETTLE)
    before = len(perflib.frame_rates(stderr_path))
    cpu_before, wall_before = game.cpu_seconds(), time.monotonic()
    time.sleep(seconds)
    cpu_after, wall_after = game.cpu_seconds(), time.monotonic()
    rates = perflib.frame_rates(stderr_path)[before:]
    fps = sum(rates) / len(rates) if rates else 0.0
    return fps, 100.0 * (cpu_after - cpu_before) / (wall_after - wall_before)


def one_run(binary, seconds, folder, index):
    stderr_path = os.path.join(folder, "run%d.err" % index)
    game = perflib.Game(binary, {"SOWROW_FRAME_STATS": "1"}, stderr_path)
    try:
        game.find_window()
        first_frame = game.wait_first_frame()
        menu_fps, menu_cpu = idle_period(game, stderr_path, seconds)
        game.key("Return", "Return")  # two players on one computer
        board_fps, board_cpu = idle_period(game, stderr_path, seconds)
        peak = game.peak_memory_kib()
        alive = game.process.poll() is None
    finally:
        game.stop()
    if not alive:
        raise SystemExit("the game ended during the run")
    return first_frame, menu_fps, menu_cpu, board_fps, board_cpu, peak


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("binary")
    parser.add_argument("--display")
    parser.add_argument("--repeats", type=int, default=3)
    parser.add_argument("--seconds", type=float, default=10)
    args = parser.parse_args()
    display = perflib.display_option(args.display)
    results = []
    with perflib.Xvfb(display), tempfile.TemporaryDirectory() as folder:
        for index in range(args.repeats):
            results.append(one_run(args.binary, args.seconds, folder, index))
            print("run %d: first frame %.3f s; menu %.0f frames/s, CPU %.0f %%; board %.0f "
                  "frames/s, CPU %.0f %%; VmHWM %d KiB" % ((index + 1,) + results[-1]),
                  flush=True)
    columns = list(zip(*results))
    print("machine:", perflib.machine())
    print("launch to first frame:", perflib.summary([v * 1000 for v in columns[0]], "ms", 0))
    print("idle frames/s, main menu:", perflib.summary(columns[1], "frames/s", 0))
    print("idle CPU, main menu:", perflib.summary(columns[2], "% of one core", 0))
    print("idle frames/s, board:", perflib.summary(columns[3], "frames/s", 0))
    print("idle CPU, board:", perflib.summary(columns[4], "% of one core", 0))
    print("peak memory (VmHWM):", perflib.summary([v / 1024 for v in columns[5]], "MiB", 1))


if __name__ == "__main__":
    main()
