"""Drives the real game under private X servers, one a copy, so that two
copies never share the pointer the sowing engine moves: the end-to-end tests,
the network soak and the README's screenshots all play the game through this.
Keys and clicks go through xdotool; pixels come back as (y, x, RGB) arrays in
the window's own coordinates; texts and counts are read exactly with the glyphs
of the bitmap font the game draws with, taken from the GLUT library itself."""

import atexit
import contextlib
import ctypes
import ctypes.util
import functools
import json
import os
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import time

import numpy as np
from PIL import Image
from Xlib import X, display as xdisplay, error as xerror, protocol

# OPENING and STORE_OF_ROW too, for the tests that take them from here.
from sowing_rules import (  # noqa: F401
    ALL_SEEDS, OPENING, PITS, STORE_OF_ROW, next_pit, plan_move, row_pits)

WINDOW_TITLE = "Sowrow"
WINDOW_WIDTH, WINDOW_HEIGHT = 1000, 400
WINDOW_PLACE = (100, 100)
# No sound card and one software-rendering thread: the machine is shared.
GAME_ENV = {"ALSOFT_DRIVERS": "null", "LP_NUM_THREADS": "1", "LIBGL_ALWAYS_SOFTWARE": "1"}
DISPLAY_BLOCK = 20  # displays the tests may take, from $SOWROW_TEST_DISPLAY on
POLL_SECONDS = 0.05

# Colour ranges of the game's drawing, every channel within [low, high].
BLUE = ((0, 0, 200), (60, 60, 255))
GREEN = ((0, 200, 0), (60, 255, 60))
WHITE = ((250, 250, 250), (255, 255, 255))
BLACK = ((0, 0, 0), (0, 0, 0))

COUNT_Y = {0: 80, 1: 335}  # seed counts of a row, drawn at x 195 + 100c
STORE_COUNTS = ((895, 341), (94, 341))  # player 1's store, then player 2's
TURN_LINES = {"Player1's turn": (460, 380), "Player2's turn": (460, 35),
              "Computer's turn": (460, 35)}


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    raise SystemExit(1)


def check(condition, message):
    if not condition:
        fail(message)


def wait_for(condition, what, timeout=10, poll=POLL_SECONDS):
    """Polls condition() until it gives a true value, and returns that value."""
    deadline = time.monotonic() + timeout
    while not (found := condition()):
        check(time.monotonic() < deadline, "timed out after %g s waiting for %s" % (timeout, what))
        time.sleep(poll)
    return found


def run_xdotool(*args, display=None):
    env = dict(os.environ, DISPLAY=display) if display else None
    return subprocess.run(["xdotool", *map(str, args)], check=True, capture_output=True,
                          text=True, timeout=20, env=env).stdout


def die_with_test():
    # Nothing started here outlives the test, even one killed at its time-out.
    ctypes.CDLL(None).prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


def in_private_network(setup=""):
    """Runs this script again alone with a loopback: port 45678 is its own. Setup, shell
    commands each ending in &&, adds to that network."""
    if not os.environ.get("SOWROW_PRIVATE_NETWORK"):
        os.execvpe("unshare", ["unshare", "-rn", "sh", "-c",
                               'ip link set lo up && %s exec "$@"' % setup,
                               "sh", sys.executable, *sys.argv],
                   dict(os.environ, SOWROW_PRIVATE_NETWORK="1",
                        PATH=os.environ["PATH"] + ":/usr/sbin:/sbin"))


def start_xvfb(number=None, builtin_fonts=False, screen="1280x1024"):
    """Xvfb on the display given, else the first free one from $SOWROW_TEST_DISPLAY."""
    first = int(os.environ.get("SOWROW_TEST_DISPLAY", "99"))
    for name in [":%d" % n for n in ([number] if number else range(first, first + DISPLAY_BLOCK))]:
        # Without -noreset the server would start over, turning clients away,
        # whenever its last client leaves, as between two copies of the game.
        server = subprocess.Popen(
            ["Xvfb", name, "-screen", "0", screen + "x24", "-nolisten", "tcp", "-noreset"] +
            (["-fp", "built-ins"] if builtin_fonts else []),
            preexec_fn=die_with_test, stderr=subprocess.DEVNULL)
        # On a display in use the server's lock file ends it at once, also
        # against servers in other network namespaces.
        wait_for(lambda: server.poll() is not None or _served_by(name, server.pid),
                 "Xvfb %s to take clients" % name)
        if server.poll() is None:
            return server, name
    fail("no free X display from :%d" % (number or first))


def _served_by(name, pid):
    try:
        link = xdisplay.Display(name)
    except (xerror.DisplayError, xerror.ConnectionClosedError, OSError):
        return False  # not yet, or another server on its way out
    peer = link.display.socket.getsockopt(socket.SOL_SOCKET, socket.SO_PEERCRED, 12)
    link.close()
    return struct.unpack("3i", peer)[0] == pid


@contextlib.contextmanager
def private_display(number=None, builtin_fonts=False, screen="1280x1024"):
    """An X server for the length of a with block; gives its display name."""
    server, name = start_xvfb(number, builtin_fonts, screen)
    try:
        yield name
    finally:
        server.terminate()
        server.wait()


def default_display():
    """$DISPLAY when set, else a private server of this process's own."""
    if not os.environ.get("DISPLAY"):
        server, os.environ["DISPLAY"] = start_xvfb()
        atexit.register(server.terminate)
    return os.environ["DISPLAY"]


def titled(link, title):
    """Top-level windows shown on an X server with that title, in either
    property (SDL's boxes set only the newer); under a window manager, those it
    manages, however deep in their frames."""
    net_name, utf8 = link.intern_atom("_NET_WM_NAME"), link.intern_atom("UTF8_STRING")
    root = link.screen().root
    managed = root.get_full_property(link.intern_atom("_NET_CLIENT_LIST"), X.AnyPropertyType)
    found, tops = [], root.query_tree().children
    # Weston's manager keeps no client list: its clients lie one down, in their frames.
    for window in tops + sum((_children(top) for top in tops), []) + [
            link.create_resource_object("window", client) for client in
            (managed.value if managed else [])]:
        with contextlib.suppress(xerror.BadWindow):  # gone meanwhile
            name = window.get_full_property(net_name, utf8)
            if ((name.value.decode() if name else window.get_wm_name()) == title and
                    window.get_attributes().map_state == X.IsViewable):
                found.append(window)
    return found


def _children(window):
    try:
        return window.query_tree().children
    except xerror.BadWindow:  # gone meanwhile
        return []


def pixels_of(window, height=None, box=None, tries=5):
    """The window's pixels, its top rows only when a height is given, or those of a box
    (left, top, width, height) in it; as a (rows, columns, 3) RGB array."""
    size = window.get_geometry()
    left, top, width, rows = box or (0, 0, size.width, height or size.height)
    try:
        raw = window.get_image(left, top, width, rows, X.ZPixmap, 0xFFFFFFFF)
    except xerror.BadMatch:  # resized meanwhile, or partly off the screen
        if tries == 1:
            fail("the window cannot be read whole: is it partly off the screen?")
        time.sleep(POLL_SECONDS)
        return pixels_of(window, height, box, tries - 1)
    return np.frombuffer(raw.data, np.uint8).reshape(-1, width, 4)[:, :, 2::-1]


class Game:
    """A copy of the game, run in the folder of its Images/, Sounds/ and music/,
    with GAME_ENV and env added to its environment, inside a Namespace if given.
    What it writes on standard error is kept to be told should it end, unless
    stderr sends it elsewhere. Made once its first frame shows, looked for
    every poll seconds from its launch at self.started."""

    def __init__(self, binary, source_dir, display=None, name="game", env=None, inside=None,
                 stderr=subprocess.PIPE, poll=POLL_SECONDS):
        self.display, self.name = display or default_display(), name
        self.link = xdisplay.Display(self.display)
        known = titled(self.link, WINDOW_TITLE)
        self.started = time.monotonic()
        self.process = subprocess.Popen(
            (inside.command() if inside else []) + [os.path.abspath(binary)], cwd=source_dir,
            stdout=subprocess.PIPE, stderr=stderr, preexec_fn=die_with_test,
            env={**os.environ, "DISPLAY": self.display, **GAME_ENV, **(env or {})})
        self.window = wait_for(lambda: self._running("its window") and [
            w for w in titled(self.link, WINDOW_TITLE) if w not in known], "a window", 30, poll)[0]
        self.wait(lambda pixels: pixels.any(), "the first frame", 20, poll)

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.stop()

    def alive(self):
        return self.process.poll() is None

    def _running(self, what):
        if not self.alive():
            said = (self.process.stderr.read() if self.process.stderr else b"")[-300:]
            fail("%s ended with status %s while waiting for %s: %s" %
                 (self.name, self.process.returncode, what, said.decode(errors="replace")))
        return True

    def grab(self, box=None):
        """The window's pixels now, as a (400, 1000, 3) uint8 array, or those of a box."""
        return pixels_of(self.window, box=box)

    def memory_kib(self, figure="VmRSS"):
        """Its resident memory now, or another figure of /proc/PID/status such as VmHWM."""
        with open("/proc/%d/status" % self.process.pid) as status:
            return next(int(line.split()[1]) for line in status if line.startswith(figure + ":"))

    def wait(self, condition, what, timeout=10, poll=POLL_SECONDS):
        """Grabs frames until condition(pixels) gives a true value; returns it."""
        deadline = time.monotonic() + timeout
        while self._running(what) and not (found := condition(pixels := self.grab())):
            if time.monotonic() > deadline:
                save(pixels, self.name + "_timeout")
                fail("%s: timed out after %g s waiting for %s; it shows board %s, outline %s, "
                     "turn line %r" % (self.name, timeout, what, read_board(pixels),
                                       outline(pixels), turn_line(pixels)))
            time.sleep(poll)
        return found

    def key(self, *names, settle=0.25):
        run_xdotool("key", "--window", self.window.id, *names, display=self.display)
        time.sleep(settle)

    def move(self, x, y, settle=0.15):
        run_xdotool("mousemove", "--window", self.window.id, x, y, display=self.display)
        time.sleep(settle)

    def click(self, x, y, settle=0.25):
        run_xdotool("mousemove", "--window", self.window.id, x, y,
                    "click", "--window", self.window.id, 1, display=self.display)
        time.sleep(settle)

    def close(self):
        """Asks the window to close, the way a window manager does."""
        protocols, delete = (self.link.intern_atom(n) for n in ("WM_PROTOCOLS", "WM_DELETE_WINDOW"))
        self.window.send_event(protocol.event.ClientMessage(
            window=self.window, client_type=protocols,
            data=(32, [delete, X.CurrentTime, 0, 0, 0])), event_mask=X.NoEventMask)
        self.link.sync()  # a round trip: the request has reached the server

    def stop(self):
        """Ends the copy if it runs; returns what it wrote (stdout, stderr)."""
        if self.link is None:
            return "", ""
        if self.alive():
            self.process.kill()
        out, err = (said or b"" for said in self.process.communicate(timeout=10))
        # A later copy on this display must not take this window for its own.
        deadline = time.monotonic() + 10
        while self.window in titled(self.link, WINDOW_TITLE) and time.monotonic() < deadline:
            time.sleep(POLL_SECONDS)
        self.link.close()
        self.link = None
        return out.decode(errors="replace"), err.decode(errors="replace")


# A desktop's window manager.

@contextlib.contextmanager
def openbox(display, applications=""):
    """Openbox on a display, from the moment it manages windows, with rules for applications
    (<application> elements of its configuration) when given; gives a link to the display."""
    with tempfile.TemporaryDirectory() as folder:
        configuration = os.path.join(folder, "rc.xml")
        with open(configuration, "w") as written:
            written.write('<openbox_config xmlns="http://openbox.org/3.4/rc"><applications>%s'
                          '</applications></openbox_config>' % applications)
        manager = subprocess.Popen(
            ["openbox", "--sm-disable"] + (["--config-file", configuration] if applications else []),
            env=dict(os.environ, DISPLAY=display), preexec_fn=die_with_test,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        link = xdisplay.Display(display)
        managed = link.intern_atom("_NET_SUPPORTING_WM_CHECK")
        wait_for(lambda: link.screen().root.get_full_property(managed, X.AnyPropertyType), "openbox")
        try:
            yield link
        finally:
            manager.terminate()
            manager.wait()


@contextlib.contextmanager
def weston():
    """Weston, headless, running Xwayland and its window manager for X programs; gives the
    display it serves (the first free one: weston takes no choice) and a link to it."""
    # X servers' sockets live there; Xwayland, unlike Xvfb, does not make the folder.
    os.makedirs("/tmp/.X11-unix", 0o1777, exist_ok=True)
    with tempfile.TemporaryDirectory() as runtime:
        log = os.path.join(runtime, "log")
        manager = subprocess.Popen(
            ["weston", "--backend=headless-backend.so", "--xwayland", "--width=1920",
             "--height=1080", "--idle-time=0", "--socket=sowrow", "--log=" + log],
            env=dict(os.environ, XDG_RUNTIME_DIR=runtime), preexec_fn=die_with_test,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            said = "listening on display "
            wait_for(lambda: os.path.exists(log) and said in open(log).read(), "weston's X display")
            display = open(log).read().split(said)[1].split()[0]
            link = xdisplay.Display(display)  # Xwayland starts for its first client
            managed = link.intern_atom("_NET_SUPPORTING_WM_CHECK")
            wait_for(lambda: link.screen().root.get_full_property(managed, X.AnyPropertyType),
                     "weston's window manager for X")
            yield display, link
        finally:
            manager.terminate()
            manager.wait()


def ask_manager(link, window, message, *data):
    """Asks the window manager for something, as a pager or a task bar would."""
    link.screen().root.send_event(protocol.event.ClientMessage(
        window=window, client_type=link.intern_atom(message), data=(32, (list(data) + [0] * 5)[:5])),
        event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
    link.sync()


def maximized(game, on):
    """Maximizes the game's window or gives it back its size; gives where the drawing then lies
    in it: left, top, width, height."""
    states = [game.link.intern_atom("_NET_WM_STATE_MAXIMIZED_" + way) for way in ("VERT", "HORZ")]
    ask_manager(game.link, game.window, "_NET_WM_STATE", int(on), *states, 2)

    def new_size():
        geometry = game.window.get_geometry()
        size = geometry.width, geometry.height
        return ((size != (WINDOW_WIDTH, WINDOW_HEIGHT)) == on) and size
    return fitted(game, *wait_for(new_size, "the window's new size"))


def fitted(game, width, height):
    """Waits for the drawing fitted into a window of that size; gives where it lies in it: left,
    top, width, height."""
    scale = min(width / WINDOW_WIDTH, height / WINDOW_HEIGHT)
    drawn = int(WINDOW_WIDTH * scale + 0.5), int(WINDOW_HEIGHT * scale + 0.5)
    left, top = (width - drawn[0]) // 2, (height - drawn[1]) // 2
    game.wait(lambda p: p.shape[:2] == (height, width) and
              p[top:top + drawn[1], left:left + drawn[0]].mean(axis=(0, 1)).min() > 20
              and not p[:top].any(), "the drawing fitted in, black around it")
    return left, top, drawn[0], drawn[1]


def in_window(fit, x, y):
    """The window pixel where the drawing point (x, y) shows."""
    return (fit[0] + int((x + 0.5) * fit[2] / WINDOW_WIDTH),
            fit[1] + int((y + 0.5) * fit[3] / WINDOW_HEIGHT))


# Reading the window.

class _Font(ctypes.Structure):
    _fields_ = [("name", ctypes.c_char_p), ("quantity", ctypes.c_int), ("height", ctypes.c_int),
                ("characters", ctypes.POINTER(ctypes.POINTER(ctypes.c_ubyte))),
                ("xorig", ctypes.c_float), ("yorig", ctypes.c_float)]


FONT = _Font.in_dll(ctypes.CDLL(ctypes.util.find_library("glut")), "fgFontHelvetica18")


@functools.lru_cache(maxsize=None)
def glyph(character):
    """The pixels a character inks, top row first, one column per advance."""
    data = FONT.characters[ord(character)]
    width, per_row = data[0], (data[0] + 7) // 8
    bits = [[bool(data[1 + row * per_row + column // 8] & (0x80 >> column % 8))
             for column in range(width)] for row in range(FONT.height)]
    return np.array(bits[::-1], dtype=bool).reshape(FONT.height, width)


@functools.lru_cache(maxsize=None)
def text_mask(text):
    """The rows a text inks, and their offset from its drawing position."""
    mask = np.hstack([glyph(c) for c in text])
    inked = np.flatnonzero(mask.any(axis=1))
    # The bitmap's bottom row lies yorig rows below the baseline.
    top = int(FONT.yorig) - FONT.height + inked[0]
    return mask[inked[0]:inked[-1] + 1], -int(FONT.xorig), top


def in_colour(pixels, colour):
    return ((pixels >= colour[0]) & (pixels <= colour[1])).all(axis=-1)


def text_shown(pixels, x, y, text, colour):
    """Whether all the ink of the text, and no other of its colour, is in its box."""
    mask, dx, dy = text_mask(text)
    box = pixels[y + dy:y + dy + mask.shape[0], x + dx:x + dx + mask.shape[1]]
    return box.shape[:2] == mask.shape and np.array_equal(in_colour(box, colour), mask)


def read_number(pixels, x, y, colour=BLACK):
    """The count drawn at (x, y), or None; the largest that shows, since a
    "1" shows where "12" is drawn."""
    shown = [n for n in range(ALL_SEEDS + 1) if text_shown(pixels, x, y, str(n), colour)]
    return shown[-1] if shown else None


def read_board(pixels):
    """The counts the board shows, or None when one cannot be read."""
    counts = [read_number(pixels, 195 + 100 * (pit % 7), COUNT_Y[pit // 7]) for pit in PITS]
    counts += [read_number(pixels, x, y) for x, y in STORE_COUNTS]
    return None if None in counts else tuple(counts)


def outline(pixels):
    """The pit outlined in white as the one being played, or None."""
    for pit in PITS:
        x0, y0 = 160 + 100 * (pit % 7), 85 + 130 * (pit // 7)
        x1, y1 = x0 + 80, y0 + 100
        edges = np.concatenate([pixels[y0, x0:x1 + 1], pixels[y1, x0:x1 + 1],
                                pixels[y0:y1 + 1, x0], pixels[y0:y1 + 1, x1]])
        if in_colour(edges, WHITE).all():
            return pit
    return None


def turn_line(pixels):
    """The green turn line shown, or None."""
    return next((text for text, (x, y) in TURN_LINES.items()
                 if text_shown(pixels, x, y, text, GREEN)), None)


def pit_centre(pit):
    return 200 + 100 * (pit % 7), 135 + 130 * (pit // 7)


# Moves.

def quickest_pit(board, row):
    """The pit of a row whose move ends soonest, so that the tests run short."""
    plans = [(plan_move(board, pit), pit) for pit in row_pits(row) if board[pit]]
    return min((plan[2], pit) for plan, pit in plans if plan)[1]


def play_turn(game, row, relay_by_key, after_pick=lambda: None, pit=None):
    """Plays and checks a move of a row, the quickest unless a pit is given, each relay by the
    a key or a click as relay_by_key(i) says; gives the board after it and the relays."""
    board = game.wait(read_board, "a readable board")
    pit = quickest_pit(board, row) if pit is None else pit
    waits, after, seconds = plan_move(board, pit)
    bound = 10 + 2 * seconds  # a seed a second; the bound only ends a stuck test
    game.click(*pit_centre(pit), settle=0)
    after_pick()
    for relay, (expected, last) in enumerate(waits):
        game.wait(lambda p: outline(p) == last and read_board(p) == expected,
                  "relay %d of the move from pit %d, at pit %d" % (relay + 1, pit, last), bound)
        if relay_by_key(relay):
            game.key("a", settle=0)
        else:
            game.click(*pit_centre(next_pit(last)), settle=0)
        game.wait(lambda p: outline(p) == next_pit(last), "the relay from %d" % next_pit(last))
    game.wait(lambda p: outline(p) is None and read_board(p) == after,
              "the end of the move from pit %d: %s" % (pit, after), bound)
    return after, len(waits)


# Network games from the menus.

ADDRESS = "127.0.0.1"
GAME_PORT = 45678
HOST_ADDRESS_LINE = (370, 228, "Your IP Adress is: ")
ADDRESS_PROMPT = (370, 210, "Enter IP Address: ")
# Keys from the main menu: versus player, over the network, then host or connect.
HOST_KEYS = ("Return", "Down", "Return", "Return")
JOIN_KEYS = ("Return", "Down", "Return", "Down", "Return")


def shown(game, where, typed=""):
    """Waits for a blue text (x, y, text), with what was typed after it."""
    x, y, text = where
    return game.wait(lambda p: text_shown(p, x, y, text + typed, BLUE), repr(text + typed))


def both_to_move(host, joiner, line, board):
    """Waits until both copies show the same board and turn line."""
    for game in (host, joiner):
        game.wait(lambda p: turn_line(p) == line and read_board(p) == board,
                  "%s with the board %s" % (line, board))


def port_listened(pid="self"):
    """Whether a socket of the network namespace of a process listens on the game's port."""
    with open("/proc/%s/net/tcp" % pid) as sockets:
        return any(fields[1].endswith(":%04X" % GAME_PORT) and fields[3] == "0A"  # LISTEN
                   for fields in map(str.split, sockets))


def listening(game):
    """Waits for the host's waiting line, then for its listener, which the
    connection thread opens a little later."""
    shown(game, HOST_ADDRESS_LINE)
    wait_for(lambda: port_listened(game.process.pid), "a listener on the game's port")


def host_from_menus(game):
    game.key(*HOST_KEYS, settle=0)
    listening(game)


def join_from_menus(game, address=ADDRESS):
    game.key(*JOIN_KEYS, settle=0)
    shown(game, ADDRESS_PROMPT)
    game.key(*["period" if c == "." else c for c in address], settle=0)
    shown(game, ADDRESS_PROMPT, address)  # at the caret's next blink
    game.key("Return", settle=0)


# A home network behind a router, in network namespaces of the caller's own
# (in_private_network first), with addresses kept for documentation.

HOME_ADDRESS, ROUTER_LAN, ROUTER_WAN, OUTSIDE_ADDRESS = (
    "192.0.2.15", "192.0.2.1", "203.0.113.1", "203.0.113.20")
FORWARDING_LINE = (370, 256)
ROUTER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e",
                      "router.py")


class Namespace:
    """A network namespace kept by a sleeping process, with its loopback up."""

    def __init__(self):
        outer = os.readlink("/proc/self/ns/net")
        self.keeper = subprocess.Popen(["unshare", "-n", "sleep", "infinity"],
                                       preexec_fn=die_with_test)
        wait_for(lambda: os.readlink("/proc/%d/ns/net" % self.keeper.pid) != outer,
                 "a network namespace")
        self.run("ip link set lo up")

    def command(self):
        """What runs a command in the namespace."""
        return ["nsenter", "--net=/proc/%d/ns/net" % self.keeper.pid, "--"]

    def run(self, script):
        subprocess.run(self.command() + ["sh", "-c", script], check=True)


def cable(one, one_end, one_address, other, other_end, other_address):
    one.run("ip link add %s type veth peer name %s netns %d && ip addr add %s dev %s && "
            "ip link set %s up" % (one_end, other_end, other.keeper.pid, one_address, one_end,
                                   one_end))
    other.run("ip addr add %s dev %s && ip link set %s up" % (other_address, other_end,
                                                              other_end))


def home_network():
    """The home (192.0.2.0/24, this computer at HOME_ADDRESS), the router between it and the
    outside (203.0.113.0/24, the router at ROUTER_WAN) and the outside: three Namespaces."""
    home, router, outside = Namespace(), Namespace(), Namespace()
    cable(home, "eth0", HOME_ADDRESS + "/24", router, "lan0", ROUTER_LAN + "/24")
    cable(outside, "eth0", OUTSIDE_ADDRESS + "/24", router, "wan0", ROUTER_WAN + "/24")
    home.run("ip route add default via " + ROUTER_LAN)
    router.run("sysctl -qw net.ipv4.ip_forward=1")
    return home, router, outside


@contextlib.contextmanager
def home_router(router, external=ROUTER_WAN, mode=None):
    """The test router running in its namespace, telling its external address, answering every
    forwarding with a UPnP error if mode is one, or speaking NAT-PMP only if mode is "natpmp";
    gives a function that returns the requests it has had, each a dict, and how it forwards the
    game's port, as nftables lists it."""
    with open(os.devnull) as nothing, tempfile.TemporaryFile("w+") as said:
        process = subprocess.Popen(
            router.command() + [sys.executable, ROUTER, ROUTER_LAN, "wan0", external] +
            ([str(mode)] if mode else []), stdin=nothing, stdout=said,
            preexec_fn=die_with_test)

        def requests():
            said.seek(0)
            rules = subprocess.run(router.command() + ["nft", "list", "chain", "ip", "router",
                                                       "forward"], capture_output=True, text=True)
            return ([json.loads(line) for line in said.read().splitlines()],
                    [line.strip() for line in rules.stdout.splitlines() if "dport" in line])
        wait_for(lambda: requests()[0], "the router")
        try:
            yield requests
        finally:
            process.kill()
            process.wait()


# Pictures.

def save(pixels, name):
    """Keeps a screenshot when $SOWROW_ARTEFACTS names a folder."""
    if folder := os.environ.get("SOWROW_ARTEFACTS"):
        os.makedirs(folder, exist_ok=True)
        Image.fromarray(np.ascontiguousarray(pixels)).save(os.path.join(folder, name + ".png"))
