"""Drives the real game window under the X server named by $DISPLAY.

Starts the binary with the source folder as its working directory (the game
reads Images/, Sounds/ and music/ from there), finds its window, sends keys and
mouse events with xdotool, and grabs the window's pixels as numpy arrays
(rows of y, columns of x, RGB) in the game's own 1000 x 400 coordinates.
"""

import os
import subprocess
import sys
import time

import numpy as np
from PIL import Image

WINDOW_TITLE = "^Sowrow$"
WINDOW_WIDTH = 1000
WINDOW_HEIGHT = 400


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    raise SystemExit(1)


def check(condition, message):
    if not condition:
        fail(message)


def run_xdotool(*args):
    return subprocess.run(["xdotool", *map(str, args)], check=True, capture_output=True,
                          text=True, timeout=20).stdout


def game_windows():
    """Ids of every window titled like the game's."""
    found = subprocess.run(["xdotool", "search", "--name", WINDOW_TITLE],
                           capture_output=True, text=True, timeout=20)
    return found.stdout.split()


class Game:
    def __init__(self, binary, source_dir, extra_env=None):
        env = dict(os.environ)
        # No sound card, one software-rendering thread: the machine is shared.
        env.setdefault("ALSOFT_DRIVERS", "null")
        env.setdefault("LP_NUM_THREADS", "1")
        env.setdefault("LIBGL_ALWAYS_SOFTWARE", "1")
        env.update(extra_env or {})
        # The game sets no _NET_WM_PID, so a second copy's window is told
        # apart from the first by being new.
        self._known_windows = set(game_windows())
        for attempt in range(3):
            self.process = subprocess.Popen([os.path.abspath(binary)], cwd=source_dir, env=env,
                                            stdout=subprocess.PIPE, stderr=subprocess.PIPE)
            # A busy Xvfb now and then refuses a new client; that is the test
            # machine, not the game, so the start is tried again.
            try:
                _, err = self.process.communicate(timeout=0.5)
            except subprocess.TimeoutExpired:
                break
            if b"failed to open display" not in err or attempt == 2:
                fail("the game ended at its start: " + err.decode(errors="replace"))
            time.sleep(0.5)
        self.window = None
        self.left = self.top = 0
        self._display = None
        self._find_window()

    def _find_window(self):
        deadline = time.monotonic() + 20
        while True:
            new = [w for w in game_windows() if w not in self._known_windows]
            if new:
                self.window = new[0]
                break
            if time.monotonic() > deadline or self.process.poll() is not None:
                status = self.process.poll()
                _, err = self.stop()
                fail("the game window did not appear (exit status %s) %s" % (status, err.strip()))
            time.sleep(0.1)
        # The window is mapped before its first frame is drawn.
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            self._read_geometry()
            if self.left >= 0 and self.grab().any():
                return
            time.sleep(0.1)
        self.stop()
        fail("the game window stayed black")

    def _read_geometry(self):
        fields = dict(line.split("=", 1)
                      for line in run_xdotool("getwindowgeometry", "--shell",
                                              self.window).split())
        self.left, self.top = int(fields["X"]), int(fields["Y"])
        check(int(fields["WIDTH"]) == WINDOW_WIDTH and int(fields["HEIGHT"]) == WINDOW_HEIGHT,
              "window is %sx%s" % (fields["WIDTH"], fields["HEIGHT"]))

    def grab(self):
        """The window's pixels now, as a (400, 1000, 3) uint8 array."""
        try:
            return self._grab_xlib()
        except ImportError:
            return self._grab_import()

    def _grab_xlib(self):
        from Xlib import X, display
        if self._display is None:
            self._display = display.Display()
        root = self._display.screen().root
        raw = root.get_image(self.left, self.top, WINDOW_WIDTH, WINDOW_HEIGHT, X.ZPixmap,
                             0xFFFFFFFF)
        picture = Image.frombytes("RGB", (WINDOW_WIDTH, WINDOW_HEIGHT), raw.data, "raw", "BGRX")
        return np.asarray(picture)

    def _grab_import(self):
        shot = subprocess.run(["import", "-window", "root", "png:-"], check=True,
                              capture_output=True, timeout=20).stdout
        from io import BytesIO
        picture = Image.open(BytesIO(shot)).convert("RGB")
        picture = picture.crop((self.left, self.top, self.left + WINDOW_WIDTH,
                                self.top + WINDOW_HEIGHT))
        return np.asarray(picture)

    def place(self, left, top):
        """Moves the window, so that two copies do not overlap."""
        run_xdotool("windowmove", self.window, left, top)
        deadline = time.monotonic() + 5
        while time.monotonic() < deadline:
            self._read_geometry()
            if (self.left, self.top) == (left, top):
                return
            time.sleep(0.1)
        fail("the window did not move to (%d, %d)" % (left, top))

    def key(self, *names, settle=0.25):
        for name in names:
            run_xdotool("key", "--window", self.window, name)
        time.sleep(settle)

    def move(self, x, y, settle=0.15):
        run_xdotool("mousemove", "--window", self.window, x, y)
        time.sleep(settle)

    def click(self, x, y, settle=0.25):
        self.move(x, y, settle=0.05)
        run_xdotool("click", "--window", self.window, 1)
        time.sleep(settle)

    def alive(self):
        return self.process.poll() is None

    def stop(self):
        if self._display is not None:
            self._display.close()
            self._display = None
        if self.process.poll() is None:
            self.process.kill()
        out, err = self.process.communicate(timeout=10)
        # The X server frees a window's id for reuse only once it has seen the
        # client go; the next copy's window is found as the one not seen before.
        deadline = time.monotonic() + 5
        while self.window in game_windows() and time.monotonic() < deadline:
            time.sleep(0.05)
        return out.decode(errors="replace"), err.decode(errors="replace")


def save(pixels, name):
    """Keeps a screenshot when $SOWROW_ARTEFACTS names a folder."""
    folder = os.environ.get("SOWROW_ARTEFACTS")
    if not folder:
        return
    os.makedirs(folder, exist_ok=True)
    Image.fromarray(pixels).save(os.path.join(folder, name + ".png"))


def load_picture(source_dir, name):
    """A picture of Images/ as a float RGB array, top row first."""
    path = os.path.join(source_dir, "Images", name + ".bmp")
    return np.asarray(Image.open(path).convert("RGB"), dtype=np.float64)


def stretched(picture, width, height):
    image = Image.fromarray(np.clip(picture, 0, 255).astype(np.uint8))
    return np.asarray(image.resize((width, height), Image.BILINEAR), dtype=np.float64)


def region(pixels, x0, y0, x1, y1):
    """Pixels of the rectangle from (x0, y0) up to but not including (x1, y1)."""
    return pixels[y0:y1, x0:x1].astype(np.float64)


def match_fraction(actual, expected, tolerance=8, where=None):
    """Share of pixels whose every channel is within `tolerance` of the expected."""
    close = (np.abs(actual - expected) <= tolerance).all(axis=-1)
    if where is not None:
        close = close[where]
    return float(close.mean()) if close.size else 0.0


def colour_count(pixels, x0, y0, x1, y1, low, high):
    """How many pixels of a rectangle have every channel within [low, high]."""
    part = pixels[y0:y1, x0:x1]
    inside = ((part >= np.array(low)) & (part <= np.array(high))).all(axis=-1)
    return int(inside.sum())


def find_sprites(pixels, sprite, mask, x0, y0, x1, y1, tolerance=6):
    """Top-left corners where a masked sprite shows unobscured: every pixel the
    mask makes fully opaque holds the sprite's own colour."""
    opaque = mask.sum(axis=-1) == 0
    ys, xs = np.nonzero(opaque)
    height, width = opaque.shape
    area = pixels[y0:y1, x0:x1].astype(np.int16)
    rows, cols = area.shape[0] - height + 1, area.shape[1] - width + 1
    if rows <= 0 or cols <= 0:
        return []
    hits = np.ones((rows, cols), dtype=bool)
    for y, x in zip(ys, xs):
        want = sprite[y, x].astype(np.int16)
        hits &= (np.abs(area[y:y + rows, x:x + cols] - want) <= tolerance).all(axis=-1)
        if not hits.any():
            return []
    return [(int(c) + x0, int(r) + y0) for r, c in zip(*np.nonzero(hits))]
