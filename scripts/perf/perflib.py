"""Shared pieces of the performance scripts, on those of the end-to-end tests
(game_window.py): a private Xvfb, the game under Mesa's software renderer, its
CPU time, and the figures' summaries."""
import contextlib
import os
import subprocess
import sys
import time

SCRIPTS = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCE_DIR = os.path.dirname(SCRIPTS)
sys.path.insert(0, SCRIPTS)
import game_window  # noqa: E402


def display_option(value):
    """The display number from --display or $SOWROW_PERF_DISPLAY, as ':N'."""
    value = value or os.environ.get("SOWROW_PERF_DISPLAY")
    if not value:
        raise SystemExit("give the X display to start with --display N or SOWROW_PERF_DISPLAY")
    return value if value.startswith(":") else ":" + value


@contextlib.contextmanager
def Xvfb(display, screen="1280x1024", manager=False):
    """An X server of our own on that display, as every copy's DISPLAY, for the length of a
    with block, with openbox on it when manager is set; gives its process."""
    server, os.environ["DISPLAY"] = game_window.start_xvfb(int(display.lstrip(":")),
                                                           screen=screen)
    try:
        with game_window.openbox(display) if manager else contextlib.nullcontext():
            yield server
    finally:
        server.terminate()
        server.wait()


class Game(game_window.Game):
    """A copy of the game on $DISPLAY, as the end-to-end tests start it, looked for every few
    milliseconds from its launch so that first_frame, the seconds until its first frame, is
    close; what it writes on standard error goes to a file when a path is given."""

    def __init__(self, binary, extra_env=None, stderr_path=None):
        self.stderr_file = open(stderr_path, "w") if stderr_path else subprocess.DEVNULL
        super().__init__(binary, SOURCE_DIR, env=extra_env, stderr=self.stderr_file, poll=0.005)
        self.first_frame = time.monotonic() - self.started

    def cpu_seconds(self, main_thread_only=False):
        """User plus system time so far, of every thread or of the main
        thread alone (the others play the music and serve the connection)."""
        pid = self.process.pid
        path = "/proc/%d/task/%d/stat" % (pid, pid) if main_thread_only else "/proc/%d/stat" % pid
        with open(path) as stat:
            fields = stat.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")

    def stop(self):
        super().stop()
        if self.stderr_file is not subprocess.DEVNULL:
            self.stderr_file.close()


def frame_rates(stderr_path):
    with open(stderr_path) as lines:
        return [float(line.split()[1]) for line in lines if line.startswith("frames/s:")]


def summary(values, unit, digits=1):
    """'median (min to max, n=N) unit' of a list of figures."""
    if not values:
        return "n/a"
    ordered = sorted(values)
    middle = ordered[len(ordered) // 2] if len(ordered) % 2 else \
        (ordered[len(ordered) // 2 - 1] + ordered[len(ordered) // 2]) / 2
    form = "%%.%df" % digits
    return "%s %s (%s to %s, n=%d)" % (form % middle, unit, form % ordered[0],
                                       form % ordered[-1], len(values))


def label(binary):
    """A short name for a build: its folder and file, e.g. 'rel/sowrow'."""
    return os.path.join(os.path.basename(os.path.dirname(os.path.abspath(binary))),
                        os.path.basename(binary))


def machine():
    """A line about the machine and how busy it is now."""
    model = "unknown CPU"
    with open("/proc/cpuinfo") as info:
        for line in info:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    mesa = subprocess.run(["dpkg-query", "-W", "-f", "${Version}", "libgl1-mesa-dri"],
                          capture_output=True, text=True).stdout.strip() or "unknown"
    with open("/proc/loadavg") as load:
        loadavg = " ".join(load.read().split()[:3])
    return "%d cores (nproc), %s, Mesa %s, load average %s" % (len(os.sched_getaffinity(0)), model, mesa,
                                                               loadavg)
