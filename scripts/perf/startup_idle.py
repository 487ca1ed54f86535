#!/usr/bin/python3
"""Launch time, idle frame rate, CPU use idle and during a move, and peak memory.

usage: startup_idle.py [--display N] [--repeats R] [--seconds S] [--env NAME=VALUE]...
                       [--screen WxH] [--maximized] BINARY [BINARY...]

Starts its own Xvfb on display N (or $SOWROW_PERF_DISPLAY) and runs each
BINARY, a Release build of the game, R times under Mesa's software renderer,
the binaries taking turns so that they share the machine's load alike. Each
run measures the time from launch to the first drawn frame, then S seconds
idle on the main menu (frames per second and CPU time from /proc/<pid>/stat,
of the whole process and of its main thread), then S seconds idle on the
board of a two-player game on one computer, then the CPU while a move is
played there (the first MOVE_SECONDS after the click), the peak resident
memory (VmHWM), and last how much the game wrote on standard error. --env
adds to the game's environment, for instance ALSOFT_DRIVERS=nosuchbackend
for a machine with no audio device. --screen gives the Xvfb's size (1280x1024
by default); --maximized runs openbox on it and has the game's window
maximized before the first figure.
"""
import argparse
import os
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import perflib  # noqa: E402
import game_window  # noqa: E402

SETTLE = 2.0
MOVE_SECONDS = 3.5  # a pit of four seeds sows for four seconds


def measure(game, stderr_path, seconds):
    """Mean frames per second and CPU use (% of one core: process, main
    thread) over `seconds`."""
    before = len(perflib.frame_rates(stderr_path))
    cpu, main = game.cpu_seconds(), game.cpu_seconds(main_thread_only=True)
    wall = time.monotonic()
    time.sleep(seconds)
    elapsed = time.monotonic() - wall
    rates = perflib.frame_rates(stderr_path)[before:]
    fps = sum(rates) / len(rates) if rates else 0.0
    return (fps, 100.0 * (game.cpu_seconds() - cpu) / elapsed,
            100.0 * (game.cpu_seconds(main_thread_only=True) - main) / elapsed)


def one_run(binary, seconds, folder, index, env, maximized):
    stderr_path = os.path.join(folder, "run%d.err" % index)
    game = perflib.Game(binary, dict(env, SOWROW_FRAME_STATS="1"), stderr_path)
    try:
        fit = game_window.maximized(game, True) if maximized else None
        time.sleep(SETTLE)
        menu = measure(game, stderr_path, seconds)
        game.key("Return", "Return")  # two players on one computer
        time.sleep(SETTLE)
        board = measure(game, stderr_path, seconds)
        # the middle pit of player 1's row
        game.click(*(game_window.in_window(fit, 500, 265) if fit else (500, 265)), settle=0)
        move = measure(game, stderr_path, MOVE_SECONDS)
        peak = game.memory_kib("VmHWM")
        alive = game.alive()
    finally:
        game.stop()
    written = os.path.getsize(stderr_path)
    os.remove(stderr_path)
    if not alive:
        raise SystemExit("the game ended during the run")
    return (game.first_frame,) + menu + board + move + (peak, written)


FIGURES = [("launch to first frame", "ms", lambda v: v * 1000),
           ("idle frames/s, main menu", "frames/s", None),
           ("idle CPU, main menu", "% of a core", None),
           ("  of which the main thread", "% of a core", None),
           ("idle frames/s, board", "frames/s", None),
           ("idle CPU, board", "% of a core", None),
           ("  of which the main thread", "% of a core", None),
           ("frames/s while a move plays", "frames/s", None),
           ("CPU while a move plays", "% of a core", None),
           ("  of which the main thread", "% of a core", None),
           ("peak memory (VmHWM)", "MiB", lambda v: v / 1024),
           ("written on standard error", "KiB", lambda v: v / 1024)]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("binaries", nargs="+")
    parser.add_argument("--display")
    parser.add_argument("--repeats", type=int, default=3)
    parser.add_argument("--seconds", type=float, default=10)
    parser.add_argument("--env", action="append", default=[], metavar="NAME=VALUE")
    parser.add_argument("--screen", default="1280x1024")
    parser.add_argument("--maximized", action="store_true")
    args = parser.parse_args()
    env = dict(setting.split("=", 1) for setting in args.env)
    display = perflib.display_option(args.display)
    results = {binary: [] for binary in args.binaries}
    with perflib.Xvfb(display, args.screen, args.maximized), \
            tempfile.TemporaryDirectory() as folder:
        for index in range(args.repeats):
            for number, binary in enumerate(args.binaries):
                results[binary].append(one_run(binary, args.seconds, folder,
                                               index * len(args.binaries) + number, env,
                                               args.maximized))
                print("%s run %d: %s" % (perflib.label(binary), index + 1,
                                         ", ".join("%.3g" % v for v in results[binary][-1])),
                      flush=True)
    print("machine:", perflib.machine())
    for binary in args.binaries:
        print("== %s" % perflib.label(binary))
        columns = list(zip(*results[binary]))
        for (name, unit, scale), values in zip(FIGURES, columns):
            values = [scale(v) for v in values] if scale else list(values)
            print("%s: %s" % (name, perflib.summary(values, unit, 1)))


if __name__ == "__main__":
    main()
