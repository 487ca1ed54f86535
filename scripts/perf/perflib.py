"""Shared pieces of the performance scripts: a private Xvfb, the game under
Mesa's software renderer, the window's pixels, and /proc readings."""
import os
import subprocess
import time

import numpy as np

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WIDTH, HEIGHT = 1000, 400


def display_option(value):
    """The display number from --display or $SOWROW_PERF_DISPLAY, as ':N'."""
    value = value or os.environ.get("SOWROW_PERF_DISPLAY")
    if not value:
        raise SystemExit("give the X display to start with --display N or SOWROW_PERF_DISPLAY")
    return value if value.startswith(":") else ":" + value


class Xvfb:
    """An X server of our own for the length of a with-block; with `manager`, openbox on it."""

    def __init__(self, display, screen="1280x1024", manager=False):
        self.display, self.screen, self.manager = display, screen, manager

    def __enter__(self):
        lock = "/tmp/.X%s-lock" % self.display[1:]
        if os.path.exists(lock):
            raise SystemExit("display %s is already in use" % self.display)
        self.process = subprocess.Popen(["Xvfb", self.display, "-screen", "0", self.screen + "x24",
                                         "-nolisten", "tcp", "-noreset"],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.environ["DISPLAY"] = self.display
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            if subprocess.run(["xdotool", "getdisplaygeometry"], capture_output=True).returncode == 0:
                self.openbox = self.manager and subprocess.Popen(
                    ["openbox", "--sm-disable"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                time.sleep(1 if self.manager else 0)  # until it manages windows
                return self
            time.sleep(0.1)
        self.process.kill()
        raise SystemExit("Xvfb did not start on %s" % self.display)

    def __exit__(self, *exc):
        for process in filter(None, (self.openbox, self.process)):
            process.terminate()
            process.wait(timeout=10)


def game_env(extra=None):
    env = dict(os.environ)
    # No sound card, one rendering thread: what the tests use too.
    env.update({"ALSOFT_DRIVERS": "null", "LP_NUM_THREADS": "1", "LIBGL_ALWAYS_SOFTWARE": "1"})
    env.update(extra or {})
    return env


class Game:
    """One copy of the game, started with the source folder as working directory."""

    def __init__(self, binary, extra_env=None, stderr_path=None):
        self.stderr_file = open(stderr_path, "w") if stderr_path else subprocess.DEVNULL
        self.started = time.monotonic()
        self.process = subprocess.Popen([os.path.abspath(binary)], cwd=SOURCE_DIR,
                                        env=game_env(extra_env), stdout=subprocess.DEVNULL,
                                        stderr=self.stderr_file)
        self.window = None
        self._display = None

    @property
    def xlib(self):
        if self._display is None:
            from Xlib import display
            self._display = display.Display()
        return self._display

    def find_window(self, timeout=30, skip=()):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline and self.process.poll() is None:
            out = subprocess.run(["xdotool", "search", "--name", "^Sowrow$"],
                                 capture_output=True, text=True).stdout
            ids = [w for w in out.split() if w not in skip]
            if ids:
                self.window = ids[0]
                return self.window
            time.sleep(0.005)
        raise SystemExit("the game window did not appear")

    def grab(self, left=0, top=0, width=WIDTH, height=HEIGHT):
        """Pixels of a part of the window, as a (height, width, 4) uint8 array."""
        from Xlib import X
        win = self.xlib.create_resource_object("window", int(self.window))
        raw = win.get_image(left, top, width, height, X.ZPixmap, 0xFFFFFFFF)
        return np.frombuffer(raw.data, dtype=np.uint8).reshape(height, width, 4)

    def wait_first_frame(self, timeout=30):
        """Seconds from launch until the window holds a pixel that is not black."""
        from Xlib.error import XError
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline and self.process.poll() is None:
            try:
                if self.grab().any():
                    return time.monotonic() - self.started
            except XError:
                pass  # not mapped yet
            time.sleep(0.005)
        raise SystemExit("no frame drawn within %d s in window %s (exit status %s)"
                         % (timeout, self.window, self.process.poll()))

    def key(self, *names, settle=0.3):
        for name in names:
            subprocess.run(["xdotool", "key", "--window", self.window, name], check=True,
                           stderr=subprocess.DEVNULL)
            time.sleep(settle)

    def type(self, text, settle=0.3):
        subprocess.run(["xdotool", "type", "--window", self.window, "--delay", "50", text],
                       stderr=subprocess.DEVNULL,
                       check=True)
        time.sleep(settle)

    def maximize(self):
        """Asks the window manager to maximize the window; gives where the drawing then lies
        in it (left, top, width, height) once the window has its new size."""
        from Xlib import X, protocol
        window = self.xlib.create_resource_object("window", int(self.window))
        states = [self.xlib.intern_atom("_NET_WM_STATE_MAXIMIZED_" + way) for way in ("VERT", "HORZ")]
        self.xlib.screen().root.send_event(protocol.event.ClientMessage(
            window=window, client_type=self.xlib.intern_atom("_NET_WM_STATE"),
            data=(32, [1] + states + [2, 0])),
            event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
        self.xlib.sync()
        deadline = time.monotonic() + 10
        while (window.get_geometry().width == WIDTH) and time.monotonic() < deadline:
            time.sleep(0.05)
        size = window.get_geometry()
        scale = min(size.width / WIDTH, size.height / HEIGHT)
        width, height = round(WIDTH * scale), round(HEIGHT * scale)
        time.sleep(0.5)  # the first frame of the new size
        return (size.width - width) // 2, (size.height - height) // 2, width, height

    def move_window(self, x, y):
        subprocess.run(["xdotool", "windowmove", self.window, str(x), str(y)], check=True)
        time.sleep(0.3)

    def cpu_seconds(self, main_thread_only=False):
        """User plus system time so far, of every thread or of the main
        thread alone (the others play the music and serve the connection)."""
        pid = self.process.pid
        path = "/proc/%d/task/%d/stat" % (pid, pid) if main_thread_only else "/proc/%d/stat" % pid
        with open(path) as stat:
            fields = stat.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")

    def peak_memory_kib(self):
        with open("/proc/%d/status" % self.process.pid) as status:
            for line in status:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1])
        return None

    def stop(self):
        if self._display is not None:
            self._display.close()
            self._display = None
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
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
