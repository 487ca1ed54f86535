#!/usr/bin/python3
"""Takes the README's pictures from the real game: every screen a player meets, an
animation of one whole move with a relay and a capture, and the board maximized on a
large screen under a window manager.

Usage: scripts/screenshots.py <sowrow binary> [output folder, default docs/]
Runs in network namespaces of its own: this computer at 192.0.2.15 on a home network behind
the tests' router, whose address is 203.0.113.1, all kept for documentation, so that no real
address is pictured and nothing leaves this machine. Uses the X
server in $DISPLAY, or a private one when none is set. Takes some three minutes, most of it
a whole game played out seed by seed.
"""

import heapq
import itertools
import os
import sys
import threading
import time

import numpy as np
from PIL import Image
from Xlib import display as xdisplay

SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from game_window import (  # noqa: E402
    ADDRESS_PROMPT, BLUE, FORWARDING_LINE, HOME_ADDRESS as HOST_ADDRESS, HOST_ADDRESS_LINE,
    HOST_KEYS, ROUTER_WAN, WINDOW_HEIGHT, WINDOW_WIDTH, Game, home_network, home_router,
    in_private_network, in_window, maximized, openbox, outline, pit_centre, pixels_of, play_turn,
    private_display, read_board, shown, text_shown, turn_line)
from sowing_rules import (  # noqa: E402
    OPENING, STORE_OF_ROW, game_over, own_row, plan_move, row_pits)

SEEDS_SPREAD = 1.0  # seconds for the floating seeds to leave their first places
PICKED = 11  # row 1, column 4: the move against the computer
LARGE_SCREEN = "1920x1080"
SETTLE = 1.0  # seconds for the keys to be taken and a menu's new screen drawn
RECORD_EVERY = 0.03  # seconds between two pictures of the animation
LOOK = 1.0  # seconds the hand rests on a relay's pit before it goes on
LAST_FRAME = 2500  # milliseconds the animation holds its end


# The pointer: Xvfb's pictures of a window leave it out, so it is drawn in from
# the X server's own picture of it.

def watch_pointer(link):
    link.xfixes_query_version()  # the server answers the extension's requests only after this
    return link


def with_pointer(link, window):
    """The window's pixels with the pointer drawn in where it is, if it is over the window."""
    while True:  # a pointer that moved meanwhile may belong to another frame
        before = link.xfixes_get_cursor_image(window)
        pixels = pixels_of(window).copy()
        cursor = link.xfixes_get_cursor_image(window)
        if (before.x, before.y, before.cursor_serial) == (cursor.x, cursor.y,
                                                          cursor.cursor_serial):
            break
    place = window.translate_coords(link.screen().root, cursor.x, cursor.y)
    top, left = place.y - cursor.yhot, place.x - cursor.xhot
    rows = slice(max(top, 0), min(top + cursor.height, pixels.shape[0]))
    columns = slice(max(left, 0), min(left + cursor.width, pixels.shape[1]))
    if rows.start >= rows.stop or columns.start >= columns.stop:
        return pixels
    argb = np.array(cursor.cursor_image, np.uint32).reshape(cursor.height, cursor.width)[
        rows.start - top:rows.stop - top, columns.start - left:columns.stop - left]
    # The colours come premultiplied by their opacity.
    colour = np.stack([argb >> 16 & 255, argb >> 8 & 255, argb & 255], -1)
    opacity = (argb >> 24)[..., None] / 255
    under = pixels[rows, columns]
    pixels[rows, columns] = np.clip(colour + under * (1 - opacity), 0, 255).astype(np.uint8)
    return pixels


class Recorder(threading.Thread):
    """Keeps every new picture of a game's window, with the pointer and the time it came,
    from start() until stop(), through an X connection of its own."""

    def __init__(self, game):
        super().__init__()
        self.link = watch_pointer(xdisplay.Display(game.display))
        self.window = self.link.create_resource_object("window", game.window.id)
        self.frames, self.done = [], threading.Event()

    def run(self):
        while not self.done.is_set():
            pixels = with_pointer(self.link, self.window)
            if not self.frames or not np.array_equal(pixels, self.frames[-1][1]):
                self.frames.append((time.monotonic(), pixels))
            time.sleep(RECORD_EVERY)

    def stop(self):
        self.done.set()
        self.join()
        self.link.close()
        return self.frames


# Saving: a palette of 256 colours keeps a picture of the wooden board to a fifth
# of its size, and no eye tells the difference.

def small_png(pixels, path):
    picture = Image.fromarray(pixels).quantize(256, Image.Quantize.FASTOCTREE)
    picture.save(path, optimize=True)
    print("%s: %d bytes" % (os.path.relpath(path), os.path.getsize(path)))


def animation(frames, path):
    """A GIF of the frames at their own pace, all in the first one's palette, so that only
    what moves is written again."""
    palette = Image.fromarray(frames[0][1]).quantize(256, Image.Quantize.FASTOCTREE)
    pictures = [Image.fromarray(pixels).quantize(palette=palette, dither=Image.Dither.NONE)
                for _, pixels in frames]
    times = [moment for moment, _ in frames]
    durations = [round(1000 * (after - before)) for before, after in zip(times, times[1:])]
    pictures[0].save(path, save_all=True, append_images=pictures[1:], loop=0, optimize=True,
                     duration=durations + [LAST_FRAME])
    print("%s: %d frames, %d bytes" % (os.path.relpath(path), len(pictures),
                                       os.path.getsize(path)))


class Camera:
    """Saves pictures of a game's window, the pointer drawn in, to the output folder."""

    def __init__(self, game, folder):
        self.game, self.folder = game, folder
        self.link = watch_pointer(xdisplay.Display(game.display))

    def picture(self, name):
        path = os.path.join(self.folder, name + ".png")
        small_png(with_pointer(self.link, self.game.window), path)

    def close(self):
        self.link.close()


# The game.

def shortest_game():
    """The pits of a two-player game that ends soon, player 1 first: a best-first search
    by the seconds played, drawn on by the seeds left on the emptier row."""
    counter = itertools.count()
    queue, seen = [(0, 0, next(counter), OPENING, 1, ())], set()
    while queue:
        _, seconds, _, board, player, pits = heapq.heappop(queue)
        if game_over(board, player):
            return pits
        if (board, player) in seen:
            continue
        seen.add((board, player))
        for pit in row_pits(own_row(player)):
            plan = board[pit] and plan_move(board, pit)
            if plan:
                after = plan[1]
                spent = seconds + plan[2]
                heapq.heappush(queue, (spent + min(sum(after[:7]), sum(after[7:14])), spent,
                                       next(counter), after, 3 - player, pits + (pit,)))
    raise SystemExit("no game ends")


def menus(game, camera):
    time.sleep(SEEDS_SPREAD)
    camera.picture("menu")
    for keys, name in ((("Down", "Down", "Return"), "instructions"), (("n",), "controls"),
                       (("m", "Down", "Return"), "exit"),
                       (("Escape", "Up", "Up", "Up", "Return"), "player_menu"),
                       (("Down", "Return"), "network_menu")):
        game.key(*keys, settle=SETTLE)
        camera.picture(name)


def network(game, camera):
    game.key(*HOST_KEYS, settle=0)
    shown(game, HOST_ADDRESS_LINE)
    game.wait(lambda p: text_shown(p, 525, 228, HOST_ADDRESS, BLUE), "this computer's address")
    shown(game, FORWARDING_LINE + ("From the internet: " + ROUTER_WAN,))
    camera.picture("hosting")
    game.key("Escape", "Escape", "Down", "Return", settle=0)  # left, then connect to a host
    shown(game, ADDRESS_PROMPT)
    game.key(*["period" if c == "." else c for c in HOST_ADDRESS], settle=0)
    shown(game, ADDRESS_PROMPT, HOST_ADDRESS)
    camera.picture("address")


def against_computer(game, camera):
    game.key("Down", "Return", settle=0)
    shown(game, (290, 210, "Who Plays First (computer: c / player: p / randomly choose: r)?"))
    camera.picture("who_first")
    game.key("p", settle=0)
    game.wait(lambda p: turn_line(p) == "Player1's turn", "the player's turn")

    def during_the_move():
        game.wait(lambda p: (read_board(p) or OPENING)[PICKED] == 2, "two seeds left to sow")
        camera.picture("game")

    play_turn(game, 1, lambda relay: relay % 2 == 1, during_the_move, PICKED)
    game.wait(lambda p: turn_line(p) == "Computer's turn" and outline(p) is not None,
              "the computer's move", 20)
    game.key("Escape", settle=0)
    shown(game, (380, 195, "Press esc again to quit to Main Menu"))
    camera.picture("pause")


def finished_game(game, camera):
    """A two-player game played to its end; its shortest move with a relay and a capture
    is filmed."""
    pits, board, moves = shortest_game(), OPENING, []
    for move, pit in enumerate(pits):
        waits, after, seconds = plan_move(board, pit)
        store = STORE_OF_ROW[pit // 7]
        if waits and after[store] > board[store]:
            moves.append((seconds, move))
        board = after
    filmed = min(moves)[1]
    game.key("Return", "Return", settle=0)  # two players on this computer
    for move, pit in enumerate(pits):
        game.wait(lambda p: turn_line(p) == ("Player2's turn", "Player1's turn")[pit // 7] and
                  outline(p) is None, "the turn of pit %d" % pit)
        if move != filmed:
            play_turn(game, pit // 7, lambda relay: False, pit=pit)
            continue
        recorder = Recorder(game)
        recorder.start()
        time.sleep(LOOK)
        play_turn(game, pit // 7, lambda relay: time.sleep(LOOK) or False, pit=pit)
        time.sleep(LOOK)
        animation(recorder.stop(), os.path.join(camera.folder, "move.gif"))
    shown(game, (375, 200, "Press p to play again"))
    game.move(WINDOW_WIDTH // 2, WINDOW_HEIGHT + 50)  # put aside, so that it hides no text
    camera.picture("result")


def on_large_screen(binary, folder):
    """Maximized under openbox on a screen of its own, the hand carrying a seed."""
    with private_display(screen=LARGE_SCREEN) as display, openbox(display), \
            Game(binary, SOURCE, display) as game:
        camera = Camera(game, folder)
        game.key("Return", "Return", settle=SETTLE)  # two players on this computer
        fit = maximized(game, True)
        game.click(*in_window(fit, *pit_centre(PICKED)), settle=1.8)  # a lift, a drop, a lift
        camera.picture("maximized")
        camera.close()


def shoot(binary, folder):
    home, router, _ = home_network()
    with home_router(router):
        for scene in (menus, network, finished_game, against_computer):
            with Game(binary, SOURCE, inside=home) as game:
                camera = Camera(game, folder)
                scene(game, camera)
                camera.close()
    on_large_screen(binary, folder)


def main():
    in_private_network()
    folder = sys.argv[2] if len(sys.argv) > 2 else os.path.join(SOURCE, "docs")
    os.makedirs(folder, exist_ok=True)
    shoot(sys.argv[1], folder)


if __name__ == "__main__":
    main()
