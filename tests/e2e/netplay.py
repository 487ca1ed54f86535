"""Two copies of the game playing each other over 127.0.0.1, driven as a person
would: menus, typed address, pit clicks and the relay key. Shared by the
network end-to-end test and the network soak script."""

import os
import sys
import time

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import Game, fail, run_xdotool  # noqa: E402
from player import BLUE, Player, ink_in, result_shown, turn_line  # noqa: E402

BOX_CAPTION = "Disconnected!"
HOST_PLACE = (100, 100)
JOINER_PLACE = (100, 560)


def start_pair(binary, source):
    host = Game(binary, source)
    host.place(*HOST_PLACE)
    joiner = Game(binary, source)
    joiner.place(*JOINER_PLACE)
    return host, joiner


def park_pointer(game):
    # Hovering a menu button would change the highlighted choice; keys go to
    # the focused copy.
    run_xdotool("mousemove", 1270, 1010)
    run_xdotool("windowfocus", game.window)


def host_from_menus(game):
    park_pointer(game)
    # Main menu: versus player; player menu: over the network; network menu: host.
    game.key("Return", "Down", "Return", "Return", settle=0.6)


def join_from_menus(game, address="127.0.0.1"):
    park_pointer(game)
    game.key("Return", "Down", "Return", "Down", "Return", settle=0.6)
    type_address(game, address)


def type_address(game, address):
    for character in address:
        game.key("period" if character == "." else character, settle=0.05)
    game.key("Return", settle=0.3)


TURNS = {"Player1's turn": 1, "Player2's turn": 2}


def whose_turn(pixels):
    """1 or 2 as the turn line shows, 0 when it shows neither player."""
    return TURNS.get(turn_line(pixels), 0)


def game_over(pixels):
    return result_shown(pixels) is not None


def blue_line(pixels, x0, y0, x1, y1):
    return ink_in(pixels, x0, y0, x1, y1, BLUE) > 50


def opponent_paused_line(pixels):
    return blue_line(pixels, 355, 198, 640, 214)


def pause_prompt(pixels):
    return blue_line(pixels, 380, 183, 720, 198) and blue_line(pixels, 425, 203, 660, 218)


def counts_strips(pixels):
    """The drawn seed counts of both rows and both stores. Seeds lie where
    each copy scatters them, but the numbers are drawn the same everywhere."""
    return np.concatenate([pixels[62:85, 25:975].ravel(), pixels[320:348, 25:975].ravel()])


def wait_until(condition, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if condition():
            return True
        time.sleep(0.1)
    return False


def wait_for(condition, seconds, what):
    if not wait_until(condition, seconds):
        fail(what)


def boards_settled(host, joiner, seconds=10):
    """Waits until both copies show the same counts over two grabs in a row;
    answers whether they did."""
    deadline = time.monotonic() + seconds
    previous = None
    while time.monotonic() < deadline:
        a, b = counts_strips(host.grab()), counts_strips(joiner.grab())
        if np.array_equal(a, b) and previous is not None and np.array_equal(a, previous):
            return True
        previous = a if np.array_equal(a, b) else None
        time.sleep(0.3)
    return False


def players(host, joiner):
    """The host moves player 1 from the lower row, the joiner player 2 from
    the upper row. Their relays alternate between the a key and a click."""
    return {1: (Player(host, "host"), 1), 2: (Player(joiner, "joiner"), 0)}


def play_turn(movers, player):
    """Plays the whole turn of player 1 or 2 on its own copy, and checks the
    outcome there against the rules."""
    mover, row = movers[player]
    mover.play_turn(row, lambda relays: relays % 2 == 0)


def agreed_turn(host, joiner):
    turn = whose_turn(host.grab())
    return turn if turn and turn == whose_turn(joiner.grab()) else 0


def next_turn(host, joiner, seconds=15):
    """The player both copies show to move, 0 when the host shows the result,
    None when neither comes. Between turns a frame may show neither turn line,
    and the copy that watched the move may still be playing it out."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if game_over(host.grab()):
            return 0
        turn = agreed_turn(host, joiner)
        if turn:
            return turn
        time.sleep(0.1)
    return None


def connect(host, joiner):
    host_from_menus(host)
    wait_for(lambda: blue_line(host.grab(), 380, 185, 640, 205), 5,
             "the host does not show that it waits for a connection")
    join_from_menus(joiner)
    both_ready(host, joiner)


def both_ready(host, joiner):
    wait_for(lambda: whose_turn(host.grab()) != 0 and whose_turn(joiner.grab()) != 0, 10,
             "the two copies did not connect")


def boxes():
    """Ids of the message boxes shown. xdotool's name search misses the
    boxes' windows, so the top-level windows are read here instead."""
    from Xlib import display
    link = display.Display()
    try:
        net_name = link.intern_atom("_NET_WM_NAME")
        utf8 = link.intern_atom("UTF8_STRING")
        found = []
        for window in link.screen().root.query_tree().children:
            name = window.get_full_property(net_name, utf8)
            text = name.value.decode(errors="replace") if name else window.get_wm_name()
            if text == BOX_CAPTION:
                found.append(str(window.id))
        return found
    finally:
        link.close()


def wait_for_box(seconds=5):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = boxes()
        if found:
            return found[0]
        time.sleep(0.05)
    return None


def box_text(window):
    """The pixels of a box's text line, to tell its messages apart."""
    from Xlib import X, display
    link = display.Display()
    try:
        box = link.create_resource_object("window", int(window))
        size = box.get_geometry()
        # Wait for the box to draw its text before reading it.
        time.sleep(0.3)
        raw = box.get_image(0, 0, size.width, size.height // 2, X.ZPixmap, 0xFFFFFFFF)
        return np.frombuffer(raw.data, dtype=np.uint8).reshape(size.height // 2, size.width, 4)
    finally:
        link.close()


def same_text(a, b):
    return a.shape == b.shape and np.array_equal(a, b)


def dismiss_box(window):
    run_xdotool("key", "--window", window, "Return")
    wait_for(lambda: window not in boxes(), 5, "the message box did not close")


def close_window(game):
    """Asks the window to close the way a window manager would."""
    from Xlib import X, display, protocol
    link = display.Display()
    window = link.create_resource_object("window", int(game.window))
    protocols = link.intern_atom("WM_PROTOCOLS")
    delete = link.intern_atom("WM_DELETE_WINDOW")
    event = protocol.event.ClientMessage(window=window, client_type=protocols,
                                         data=(32, [delete, X.CurrentTime, 0, 0, 0]))
    window.send_event(event, event_mask=X.NoEventMask)
    # A round trip, so the request has reached the server before the link goes.
    link.sync()
    link.close()


def rss_kib(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0
