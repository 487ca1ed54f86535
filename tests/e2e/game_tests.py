"""End-to-end tests: the real binary, driven through its window as a person would.
Usage: game_tests.py <test> <sowrow binary> <source folder>; the test names a function below."""

import contextlib
import glob
import os
import subprocess
import sys
import tempfile
import time

import numpy as np
from PIL import Image
from Xlib import X, display as xdisplay

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from game_window import (  # noqa: E402
    ADDRESS, ADDRESS_PROMPT, GAME_ENV, OPENING, STORE_OF_ROW, WHITE, WINDOW_HEIGHT,
    WINDOW_PLACE, WINDOW_WIDTH, Game, both_to_move, check, default_display, fail, host_from_menus,
    in_colour, in_private_network, join_from_menus, listening, outline, pixels_of, play_turn,
    private_display, read_board, run_xdotool, save, shown, titled, turn_line, wait_for)

TEST, BINARY, SOURCE = sys.argv[1], os.path.abspath(sys.argv[2]), os.path.abspath(sys.argv[3])
CAPTION = "Disconnected!"


def exit_status(game, action):
    """Runs an action that ends the game; returns its exit status."""
    with contextlib.suppress(subprocess.CalledProcessError):
        action()  # the window may go between a key's press and its release
    try:
        return game.process.wait(10)
    except subprocess.TimeoutExpired:
        fail("%s still runs 10 s after it was told to end" % game.name)


def dismiss_box(game, caption, read=lambda box: None):
    """Waits for the message box with that caption; returns what read makes of it once dismissed."""
    box = game.wait(lambda _: titled(game.link, caption), "a box %r" % caption)[0]
    seen = read(box)
    with contextlib.suppress(subprocess.CalledProcessError):  # gone before the release
        run_xdotool("key", "--window", box.id, "Return", display=game.display)
    wait_for(lambda: box not in game.link.screen().root.query_tree().children, "the box to go", 5)
    return seen


def box_text(box):
    """The upper half of a box, where its text is, once drawn."""
    def steady():
        before = pixels_of(box, box.get_geometry().height // 2)
        time.sleep(0.1)
        after = pixels_of(box, before.shape[0])
        return before.std() > 0 and np.array_equal(before, after) and [after]
    return wait_for(steady, "the text of the box", 5)[0]


def startup():
    """Missing audio ends the game before a window opens, a missing or malformed picture is
    told and the game goes on; the window's place and size, held against a resize."""
    watcher, own = xdisplay.Display(default_display()), WINDOW_PLACE + (WINDOW_WIDTH, WINDOW_HEIGHT)
    watcher.screen().root.change_attributes(event_mask=X.SubstructureNotifyMask)

    def notices(kind):  # what the X server told of its windows since the last call
        watcher.sync()
        return [n for n in [watcher.next_event() for _ in range(watcher.pending_events())]
                if n.type == kind]

    # A data file gone or another in its place; status, output, the keys out (none: closing).
    for changed, content, status, output, keys in (
            ("Sounds/Blip_Select1.wav", None, 255, "", None),
            ("music/snowfall_final.ogg", None, 255, "", None),
            ("Images/Menu.bmp", None, 0, "Image could not be opened\n", []),
            ("Images/Menu.bmp", "Sounds/Blip_Select1.wav", 0, "Not a proper BMP file\n", ["y"]),
            (None, None, 0, "", ["Down"] * 3 + ["Return", "Left", "Return"])):
        with tempfile.TemporaryDirectory() as folder:
            subprocess.run(["cp", "-rs", *(os.path.join(SOURCE, data) for data in
                                           ("Images", "Sounds", "music")), folder], check=True)
            if changed:
                os.remove(os.path.join(folder, changed))  # not written through the link
            if content:
                os.symlink(os.path.join(SOURCE, content), os.path.join(folder, changed))
            if keys is None:
                ended = subprocess.run([BINARY], cwd=folder, capture_output=True, text=True,
                                       timeout=30, env=dict(os.environ, **GAME_ENV))
                code, out = ended.returncode, ended.stdout
                check(not notices(X.CreateNotify), "without %s a window opened" % changed)
            else:
                with Game(BINARY, folder) as game:
                    notices(X.ConfigureNotify)  # those of earlier windows
                    run_xdotool("windowsize", game.window.id, 800, 300, display=game.display)
                    places = []  # its place and size from then on: squeezed, then its own again
                    wait_for(lambda: places.extend((n.x, n.y, n.width, n.height)
                                                   for n in notices(X.ConfigureNotify)) or
                             places[-1:] == [own] and WINDOW_PLACE + (800, 300) in places,
                             "the window in its place and size after a resize")
                    code = exit_status(game, lambda: game.key(*keys) if keys else game.close())
                    out = game.stop()[0]
        check((code, out) == (status, output),
              "%s, %s: status %d, output %r" % (changed, keys, code, out))


def error_box():
    """On an X server with only its built-in fonts, a connect where nobody
    listens shows the error box; dismissing it brings back the address prompt."""
    in_private_network()  # where nobody listens on the game's port
    with private_display(builtin_fonts=True) as display, Game(BINARY, SOURCE, display) as game:
        join_from_menus(game)
        dismiss_box(game, "Error in connection!")
        shown(game, ADDRESS_PROMPT, ADDRESS)


def play():
    """The opening move against the computer: relays by the a key and by click, a capture."""
    with Game(BINARY, SOURCE) as game:
        game.key("Down", "Return", settle=0)  # the second button: versus the computer
        shown(game, (290, 210, "Who Plays First (computer: c / player: p / randomly choose: r)?"))
        game.key("p", settle=0)
        game.wait(lambda p: turn_line(p) == "Player1's turn", "the player's turn")
        board, relays = play_turn(game, 1, relay_by_key=lambda relay: relay % 2 == 1)
        check(relays >= 2 and board[STORE_OF_ROW[1]], "%d relays, then %s" % (relays, board))


def network():
    """Two copies on X servers of their own, in a network namespace of the test's own: a move
    each seen alike on both boards, the host leaving and hosting again, a killed opponent and
    a closed window, only the latter told like a quit."""
    in_private_network()
    with private_display() as host_display, private_display() as joiner_display, \
            Game(BINARY, SOURCE, host_display, "host") as host, \
            Game(BINARY, SOURCE, joiner_display, "joiner") as joiner:
        host_from_menus(host)
        join_from_menus(joiner)
        both_to_move(host, joiner, "Player1's turn", OPENING)
        board, _ = play_turn(host, 1, lambda relay: relay % 2 == 0)
        both_to_move(host, joiner, "Player2's turn", board)
        board, _ = play_turn(joiner, 0, lambda relay: relay % 2 == 1)
        both_to_move(host, joiner, "Player1's turn", board)
        host.key("Escape", "Escape", settle=0)  # paused, then left
        quit_text = dismiss_box(joiner, CAPTION, box_text)
        shown(joiner, ADDRESS_PROMPT, ADDRESS)  # the address is kept
        host.key("Return", settle=0)  # hosting again on the same port
        listening(host)
        joiner.key("Return", settle=0)
        both_to_move(host, joiner, "Player1's turn", OPENING)
        joiner.stop()
        check(not np.array_equal(dismiss_box(host, CAPTION, box_text), quit_text),
              "a lost connection reads like a quit")
        listening(host)  # again, by itself
        with Game(BINARY, SOURCE, joiner_display, "joiner") as joiner:
            join_from_menus(joiner)
            both_to_move(host, joiner, "Player1's turn", OPENING)
            check(exit_status(joiner, joiner.close) == 0, "the closed copy did not end cleanly")
        check(np.array_equal(dismiss_box(host, CAPTION, box_text), quit_text),
              "a closed window does not read like a quit")


def install():
    """The Debian package declares what it needs and holds the menu entry, icons, manual and
    notes; its launcher, through a link, starts the game from elsewhere with all its data."""
    with tempfile.TemporaryDirectory() as work:
        subprocess.run(["cpack", "-G", "DEB", "-B", work, "--config", "CPackConfig.cmake"],
                       cwd=os.path.dirname(BINARY), check=True)
        deb, = glob.glob(os.path.join(work, "sowrow_*_amd64.deb"))
        fields = subprocess.check_output(["dpkg-deb", "-f", deb, "Section", "Depends"], text=True)
        check(all(part in fields for part in ("Section: games\n", "libc6", "libstdc++6", "libglut",
                                              "libsfml-audio", "libsdl2")),
              "the package declares " + fields)
        subprocess.run(["dpkg-deb", "-x", deb, os.path.join(work, "root")], check=True)
        shared = glob.glob("icons/hicolor/*/apps/*", root_dir=os.path.join(SOURCE, "data")) + [
            "man/man6/sowrow.6.gz", "applications/sowrow.desktop", "doc/sowrow/copyright",
            "doc/sowrow/changelog.gz", "metainfo/io.github.sowrow.Sowrow.metainfo.xml"]
        missing = [path for path in shared
                   if not os.path.isfile(os.path.join(work, "root/usr/share", path))]
        check(not missing, "the package lacks %s" % missing)
        os.symlink(os.path.join(work, "root/usr/bin/sowrow"), os.path.join(work, "sowrow"))
        with Game(os.path.join(work, "sowrow"), work) as game:
            code, out = exit_status(game, game.close), game.stop()[0]
        check((code, out) == (0, ""), "the installed game: status %d, output %r" % (code, out))


def picture(name, size=None):
    """A picture of Images/, stretched to a size when given, as a float RGB array."""
    image = Image.open(os.path.join(SOURCE, "Images", name + ".bmp")).convert("RGB")
    return np.asarray(image.resize(size, Image.BILINEAR) if size else image, dtype=float)


def screens():
    """The window draws what the frame lists say: a sprite through its mask, the black
    frame over the floating seeds, which move, text colours and the one-pixel outline."""
    under = picture("vsplayer", (318, 48))[4:44, 4:314]  # the first button, bright
    hovers = [np.clip(under * picture("Select_Mask%d" % n) / 255 + picture("Select_%d" % n), 0, 255)
              for n in (1, 2)]  # the two pictures a timer alternates
    with Game(BINARY, SOURCE) as game:
        game.wait(lambda p: max((np.abs(p[155:195, 360:670] - hover) <= 12).all(axis=-1).mean()
                                for hover in hovers) > 0.9, "the hover picture through its mask")
        save(first := game.grab(), "main_menu")
        for _ in range(10):
            pixels = game.grab()
            check(np.count_nonzero(pixels) == np.count_nonzero(pixels[10:390, 200:800]),
                  "something drawn over the black frame")
            time.sleep(0.16)
        moved = (first != pixels).any(axis=-1)
        moved[150:200, 355:675] = False  # where the hover picture alternates
        check(moved.any(), "the floating seeds do not move")
        game.key("Return", "Return")  # two players on one computer
        game.click(500, 265)  # the middle pit of the lower row, 10
        pixels = game.wait(lambda p: outline(p) == 10 and turn_line(p) == "Player1's turn" and
                           read_board(p) and [p], "the outline, the green turn, black counts")[0]
        save(pixels, "pit_outline")
        white = in_colour(pixels, WHITE)  # beside the outline from (460, 215) to (540, 315)
        beside = np.r_[white[[214, 216, 316], 465:535].mean(1), white[220:310, [459, 539]].mean(0)]
        check(beside.max() < 0.1, "the outline is wider than a pixel")


if __name__ == "__main__":
    globals()[TEST]()
    print(TEST, "ok")
