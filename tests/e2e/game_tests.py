"""End-to-end tests: the real binary, driven through its window as a person would.
Usage: game_tests.py <test> <sowrow binary> <source folder>; the test names a function below."""

import contextlib
import glob
import os
import re
import subprocess
import sys
import tempfile
import time

import numpy as np
from PIL import Image
from Xlib import X, Xutil, display as xdisplay

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from game_window import (  # noqa: E402
    ADDRESS, ADDRESS_PROMPT, BLUE, FORWARDING_LINE, GAME_ENV, HOME_ADDRESS, OPENING, ROUTER_WAN,
    STORE_OF_ROW, WHITE, WINDOW_HEIGHT, WINDOW_PLACE, WINDOW_WIDTH, Game, ask_manager,
    both_to_move, check, default_display, fail, fitted, home_network, home_router,
    host_from_menus, in_colour, in_private_network, in_window, join_from_menus, listening,
    maximized, openbox, outline, pit_centre, pixels_of, plan_move, play_turn, private_display,
    quickest_pit, read_board, run_xdotool, save, shown, titled, turn_line, wait_for, weston)

TEST, BINARY, SOURCE = sys.argv[1], os.path.abspath(sys.argv[2]), os.path.abspath(sys.argv[3])
CAPTION = "Disconnected!"
# OpenAL through an ALSA that knows no sound card, as on a machine without one.
NO_AUDIO_DEVICE = {"ALSOFT_DRIVERS": "alsa", "ALSA_CONFIG_PATH": os.devnull}


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
            if keys is None:  # the files are read whether there is an audio device or not
                ended = [subprocess.run([BINARY], cwd=folder, capture_output=True, text=True,
                                        timeout=30, env={**os.environ, **GAME_ENV, **audio})
                         for audio in ({}, NO_AUDIO_DEVICE)]
                code, out = ended[0].returncode, ended[0].stdout
                check(ended[1].returncode == code, "without a device, status %d" % ended[1].returncode)
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


def cpu_share(game, seconds=3):
    """The share of a core the game uses over some seconds."""
    def used():
        with open("/proc/%d/stat" % game.process.pid) as stat:
            return sum(map(int, stat.read().rsplit(")", 1)[1].split()[11:13]))  # user, system
    before = used()
    time.sleep(seconds)
    return (used() - before) / os.sysconf("SC_CLK_TCK") / seconds


def no_sound():
    """With no audio device to open, and with one that goes away while the music plays, one line
    says the game plays without sound, and it idles as with sound, on the menu and on a still
    board."""
    with tempfile.TemporaryDirectory() as folder:
        config = os.path.join(folder, "alsoft.conf")
        with open(config, "w") as written:  # a device whose first write fails
            written.write("[wave]\nfile = /dev/full\n")
        for audio, told in (
                (NO_AUDIO_DEVICE, "No audio device could be opened: Sowrow plays without sound.\n"),
                ({"ALSOFT_DRIVERS": "wave", "ALSOFT_CONF": config},
                 "The audio device went away: Sowrow plays on without sound.\n")):
            with Game(BINARY, SOURCE, env=audio) as game:
                time.sleep(1)  # the device is looked at once a second
                menu = cpu_share(game)
                game.key("Return", "Return")  # two players on one computer: nothing moves
                board = cpu_share(game)
                said = game.stop()[1]
            check(menu < 0.2 and board < 0.05 and said == told,
                  "%s: %.1f %% of a core on the menu, %.1f %% on a still board, and it said %r" %
                  (audio, 100 * menu, 100 * board, said[:500]))


def pit_under(fit, x, y):
    """The pit drawn under a window pixel, or None."""
    x, y = ((at - start + 0.5) * extent / size for at, start, size, extent in
            ((x, fit[0], fit[2], WINDOW_WIDTH), (y, fit[1], fit[3], WINDOW_HEIGHT)))
    return next((pit for pit in range(14) if abs(x - pit_centre(pit)[0]) < 35 and
                 abs(y - pit_centre(pit)[1]) < 45), None)


def pointer(game):
    """Where the pointer is, in the game window's pixels."""
    at = game.window.query_pointer()
    return at.win_x, at.win_y


def hand_carries(game, fit):
    """Against the computer, the player first: a click on the drawn pit 2 of the lower row plays
    it, and the hand carries its seeds over the pits that follow it."""
    game.click(*in_window(fit, 515, 230))  # "Versus Computer"
    game.key("p")  # the player begins
    game.click(*in_window(fit, *pit_centre(9)), settle=0)
    carried = set()
    for _ in range(30):  # a second and a half: a lift, a drop into the next pit and more
        carried.add(pit_under(fit, *pointer(game)))
        time.sleep(0.05)
    check(carried <= set(range(9, 14)) and carried - {9}, "the hand went over pits %s" % carried)


def still_picture(game):
    """The picture once it stays the same for a second and a half (a move drops a seed a
    second)."""
    def still():
        before = game.grab()
        time.sleep(1.5)
        return np.array_equal(before, after := game.grab()) and [after]
    return wait_for(still, "a still picture", 20)[0]


# A rule of the window manager's, for the game's class.
ON_EVERY_DESKTOP = '<application class="Sowrow"><desktop>all</desktop></application>'


def introduced(game):
    """The window's class as the desktop entry names it, seen by the window manager's rule when
    it took the window on, and its icons at the installed sizes."""
    said = subprocess.run(["xprop", "-len", "9999999", "-id", str(game.window.id), "WM_CLASS",
                           "_NET_WM_DESKTOP", "_NET_WM_ICON"],
                          capture_output=True, text=True,
                          env=dict(os.environ, DISPLAY=game.display)).stdout
    with open(os.path.join(SOURCE, "data", "sowrow.desktop")) as entry:
        launcher = re.search(r"^StartupWMClass=(.*)$", entry.read(), re.M)
    installed = sorted((size, size) for size in (int(folder.split("x")[0]) for folder in
                       os.listdir(os.path.join(SOURCE, "data", "icons", "hicolor"))))
    icons = sorted((int(w), int(h)) for w, h in re.findall(r"Icon \((\d+) x (\d+)\)", said))
    check(launcher and 'WM_CLASS(STRING) = "sowrow", "%s"\n' % launcher[1] in said and
          "_NET_WM_DESKTOP(CARDINAL) = 4294967295\n" in said and icons == installed,
          "the window says %r" % said[:300])


def computer_moves(game, alone):
    """Waits for the computer's whole move; checks that the pointer stays where it is, unless
    the hand may move it; gives the board after it."""
    left_at, moves = pointer(game), set()
    board = game.wait(lambda p: moves.add(pointer(game)) or turn_line(p) == "Player1's turn" and
                      read_board(p), "the computer's move", 120)
    check(not alone or moves == {left_at}, "the pointer went %s" % moves)
    return board


def window_manager():
    """Under a window manager, with its class and icons. Maximized, the idle menu and the still
    board cost about what they cost small, the drawing keeps its proportions, clicks and the
    hand's moves land on what is drawn there, and what was drawn bit by bit is what is drawn
    whole. While another program's window is over the game, focused or only kept above it,
    the hand leaves the pointer on it alone for a whole move of the computer; with the pointer
    back on the game, it carries the seeds."""
    with private_display(screen="1920x1080") as display, \
            openbox(display, ON_EVERY_DESKTOP) as link, \
            Game(BINARY, SOURCE, display) as game:
        introduced(game)
        fit = maximized(game, True)
        menu = cpu_share(game)
        hand_carries(game, fit)
        drawn = still_picture(game)  # the move waits for a relay
        board = cpu_share(game)
        check(menu < 0.12 and board < 0.05, "maximized, %.1f %% of a core on the menu, %.1f %% "
              "on a still board" % (100 * menu, 100 * board))
        maximized(game, False)
        board, last = plan_move(OPENING, 9)[0][0]
        game.wait(lambda p: outline(p) == last and read_board(p) == board, "the move of pit 9")
        maximized(game, True)
        game.wait(lambda p: np.array_equal(p, drawn), "the same picture drawn whole", 5)
        maximized(game, False)
        game.key("Escape", "Escape")  # paused, then left

        # Kept above the game, between its rows, where the tests read nothing.
        at = game.window.translate_coords(link.screen().root, 0, 0)
        other = link.screen().root.create_window(
            100 - at.x, 188 - at.y, 800, 24, 0, link.screen().root_depth,
            background_pixel=link.screen().white_pixel)
        other.set_wm_normal_hints(flags=Xutil.USPosition, x=100 - at.x, y=188 - at.y)
        hints = link.intern_atom("_MOTIF_WM_HINTS")  # no frame, so nothing more is covered
        other.change_property(hints, hints, 32, [2, 0, 0, 0, 0])
        other.map()
        ask_manager(link, other, "_NET_WM_STATE", 1, link.intern_atom("_NET_WM_STATE_ABOVE"), 0, 2)
        ask_manager(link, other, "_NET_ACTIVE_WINDOW", 2, X.CurrentTime)
        wait_for(lambda: link.get_input_focus().focus == other, "the other program to have the focus")
        game.click(515, 230)  # "Versus Computer", by a click that leaves the focus where it is
        run_xdotool("mousemove", "--window", other.id, 200, 12, display=display)
        game.key("c", settle=0)  # the computer begins
        game.wait(lambda p: turn_line(p) == "Computer's turn", "the computer's turn")
        board = computer_moves(game, alone=True)

        ask_manager(link, game.window, "_NET_ACTIVE_WINDOW", 2, X.CurrentTime)
        wait_for(lambda: link.get_input_focus().focus.id in
                 (game.window.id, game.window.query_tree().parent.id), "the game to have the focus")
        clicked = pit_centre(quickest_pit(board, 1))  # where play_turn clicks
        play_turn(game, 1, lambda relay: True, after_pick=lambda: wait_for(
            lambda: pointer(game) != clicked, "the hand to carry a seed"))
        run_xdotool("mousemove", "--window", other.id, 200, 12, display=display)
        computer_moves(game, alone=True)


def wayland():
    """Under weston with Xwayland, whose window manager grants what size a window asks for:
    maximized, the window stays so, the drawing fitted in; back in the normal state, it has
    its own size again."""
    with weston() as (display, _), Game(BINARY, SOURCE, display) as game:
        fit = maximized(game, True)
        time.sleep(2)  # a request for another size would have been granted by now
        size = game.window.get_geometry()
        check(fitted(game, size.width, size.height) == fit, "the maximize was undone")
        maximized(game, False)


def small_screen():
    """On an 800 x 600 screen, with no window manager and with openbox: the window, with its
    frame, lies wholly on the screen, in the drawing's proportions, and a click on a drawn pit
    plays that pit."""
    for manager in (contextlib.nullcontext, openbox):
        with private_display(screen="800x600") as display, manager(display), \
                Game(BINARY, SOURCE, display) as game:
            link = game.link

            def on_screen():  # the frame's corners, and the window's size, once on the screen
                extents = game.window.get_full_property(link.intern_atom("_NET_FRAME_EXTENTS"),
                                                        X.AnyPropertyType)
                left, right, top, bottom = extents.value if extents else (0, 0, 0, 0)
                size, at = game.window.get_geometry(), game.window.translate_coords(
                    link.screen().root, 0, 0)
                frame = (-at.x - left, -at.y - top, -at.x + size.width + right,
                         -at.y + size.height + bottom)
                return (min(frame) >= 0 and frame[2] <= 800 and frame[3] <= 600 and
                        size.width * 2 == size.height * 5 and (size.width, size.height))
            size = wait_for(on_screen, "%s: the window wholly on the screen" % manager.__name__)
            hand_carries(game, fitted(game, *size))


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


FORWARDED = "From the internet: " + ROUTER_WAN
ASKED = {"NewProtocol": "TCP", "NewExternalPort": "45678", "NewInternalPort": "45678",
         "NewInternalClient": HOME_ADDRESS, "NewLeaseDuration": "3600"}


def forwarded(requests, expected=True):
    """Waits until the router forwards the game's port to the host, or forwards nothing."""
    rule = 'iifname "wan0" tcp dport 45678 dnat to %s:45678' % HOME_ADDRESS
    wait_for(lambda: requests()[1] == ([rule] if expected else []), "forwarding: %s" % expected)


def router():
    """Hosting behind a home router: the screen gives its external address, a friend outside
    joins there and they play a move; the forwarding asked for names TCP, the game's port, this
    computer and a lease, is gone once the opponent is in, back when the connection is lost and
    the host waits again, gone after leaving, and gone at once when the window is closed."""
    in_private_network()
    home, router_space, outside = home_network()
    with private_display() as host_display, private_display() as joiner_display, \
            home_router(router_space) as requests, \
            Game(BINARY, SOURCE, host_display, "host", inside=home) as host, \
            Game(BINARY, SOURCE, joiner_display, "joiner", inside=outside) as joiner:
        host_from_menus(host)
        shown(host, FORWARDING_LINE + (FORWARDED,))
        forwarded(requests)
        asked = [entry["arguments"] for entry in requests()[0]
                 if entry.get("action") == "AddPortMapping"]
        check(len(asked) == 1 and asked[0].items() >= ASKED.items(), "the router was asked %s" % asked)
        join_from_menus(joiner, ROUTER_WAN)
        both_to_move(host, joiner, "Player1's turn", OPENING)
        forwarded(requests, False)
        board, _ = play_turn(host, 1, lambda relay: relay % 2 == 0)
        both_to_move(host, joiner, "Player2's turn", board)
        joiner.stop()  # the connection lost: the host waits again by itself, and asks again
        dismiss_box(host, CAPTION)
        for leave in ("Escape", None):  # then leaving, hosting again, and closing the window
            shown(host, FORWARDING_LINE + (FORWARDED,))
            forwarded(requests)
            if leave:
                host.key(leave, leave, settle=0)
                forwarded(requests, False)
                host.key("Return", settle=0)
        check(exit_status(host, host.close) == 0 and not requests()[1], "forwarded after the end")


def router_answers():
    """No router (the screen as without one), a router that refuses (UPnP error 718), one whose
    own address is shared (100.64.0.1), one that speaks NAT-PMP only: the line under the address,
    if any, and a forwarding only from the last, gone after leaving."""
    in_private_network()
    home, router_space, _ = home_network()
    for external, mode, line in ((None, None, None),
                                 (ROUTER_WAN, 718, "The router would not open port 45678"),
                                 ("100.64.0.1", None, "Port 45678 cannot be reached from the internet"),
                                 (ROUTER_WAN, "natpmp", FORWARDED)):
        with home_router(router_space, external, mode) if external else \
                contextlib.nullcontext(lambda: ([], [])) as requests, \
                Game(BINARY, SOURCE, inside=home) as host:
            host_from_menus(host)
            if line:
                shown(host, FORWARDING_LINE + (line,))
            else:
                time.sleep(3)  # discovery given up
            below = in_colour(host.grab()[240:300], BLUE).any()
            asked = any(entry.get("action") == "AddPortMapping" for entry in requests()[0])
            check(below == bool(line) and asked == (mode == 718) and
                  bool(requests()[1]) == (mode == "natpmp"), "%s: %s" % (line, requests()))
            host.key("Escape", "Escape", settle=0)
            forwarded(requests, False)


def install():
    """The game and its data as two Debian packages, lintian-clean but for the one override,
    the program hardened; a plain install into a prefix holds the same files, laid out as
    Debian lays out games, and its launcher, through a link, starts the game from elsewhere."""
    with tempfile.TemporaryDirectory() as work:
        build, root, prefix = os.path.dirname(BINARY), *(os.path.join(work, d) for d in "rp")
        subprocess.run(["cpack", "-G", "DEB", "-B", work, "--config", "CPackConfig.cmake"],
                       cwd=build, check=True, capture_output=True)
        debs = glob.glob(os.path.join(work, "sowrow_*.deb")) + glob.glob(
            os.path.join(work, "sowrow-data_*_all.deb"))
        fields = subprocess.check_output(
            ["dpkg-deb", "-f", debs[0], "Version", "Section", "Depends"], text=True)
        check(all(part in fields for part in (
            "Section: games\n", "sowrow-data (= %s)" % fields.split()[1], "libc6", "libstdc++6",
            "libglut", "libsfml-audio", "libsdl2")), "the package declares " + fields)
        said = subprocess.run(["lintian", "--display-info", "--pedantic", *debs],
                              capture_output=True, text=True).stdout
        check(not said, "lintian says:\n" + said)
        for deb in debs:
            subprocess.run(["dpkg-deb", "-x", deb, root], check=True)
        # Control flow protection needs C start-up files built for it, which Debian 12 lacks.
        program = root + "/usr/lib/games/sowrow/sowrow"
        said = subprocess.run(["hardening-check", "--nocfprotection", program],
                              capture_output=True, text=True)
        check(said.returncode == 0, said.stdout)
        subprocess.run(["cmake", "--install", build, "--prefix", prefix], check=True,
                       capture_output=True)
        expected = {"games/sowrow", "lib/games/sowrow/sowrow"} | {"share/" + path for path in (
            glob.glob("icons/hicolor/*/apps/*", root_dir=os.path.join(SOURCE, "data")) + [
                "man/man6/sowrow.6.gz", "applications/sowrow.desktop", "doc/sowrow/copyright",
                "doc/sowrow/changelog.gz", "metainfo/io.github.sowrow.Sowrow.metainfo.xml"] +
            ["games/sowrow/%s/%s" % (data, name) for data in ("Images", "Sounds", "music")
             for name in os.listdir(os.path.join(SOURCE, data))])}
        debian = {"share/lintian/overrides/sowrow", "share/doc/sowrow-data/copyright",
                  "share/doc/sowrow-data/changelog.gz"}
        for folder, files in ((prefix, expected), (root + "/usr", expected | debian)):
            found = {os.path.relpath(os.path.join(top, name), folder)
                     for top, _, names in os.walk(folder) for name in names}
            check(found == files, "%s lacks %s, has %s" % (folder, files - found, found - files))
        os.symlink(os.path.join(prefix, "games/sowrow"), os.path.join(work, "sowrow"))
        with Game(os.path.join(work, "sowrow"), work) as game:
            code, out = exit_status(game, game.close), game.stop()[0]
        check((code, out) == (0, ""), "the installed game: status %d, output %r" % (code, out))


def picture(name, size=None):
    """A picture of Images/, stretched to a size when given, as a float RGB array."""
    image = Image.open(os.path.join(SOURCE, "Images", name + ".bmp")).convert("RGB")
    return np.asarray(image.resize(size, Image.BILINEAR) if size else image, dtype=float)


def screens():
    """The window draws what the frame lists say: a sprite through its mask, the black
    frame over the floating seeds, which move, text colours and the one-pixel outline; what a
    move drew in parts is what is drawn whole once the window was covered."""
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
        board, last = plan_move(OPENING, 10)[0][0]
        drawn = game.wait(lambda p: outline(p) == last and read_board(p) == board and [p],
                          "the move's first relay")[0]
        cover = game.link.screen().root.create_window(
            0, 0, 1280, 1024, 0, 24, background_pixel=game.link.screen().white_pixel)
        cover.map()
        game.link.sync()
        time.sleep(0.5)
        cover.destroy()
        game.link.sync()  # what was drawn bit by bit during the move is what is drawn whole
        game.wait(lambda p: np.array_equal(p, drawn), "the same picture drawn again", 5)
        white = in_colour(pixels, WHITE)  # beside the outline from (460, 215) to (540, 315)
        beside = np.r_[white[[214, 216, 316], 465:535].mean(1), white[220:310, [459, 539]].mean(0)]
        check(beside.max() < 0.1, "the outline is wider than a pixel")


if __name__ == "__main__":
    globals()[TEST]()
    print(TEST, "ok")
