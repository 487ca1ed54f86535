"""Plays the game window as a person would and reads the board back from its
pixels: the seed counts and texts are compared with the glyphs of the bitmap
font the game draws with, taken from the GLUT library itself, so every text
check is exact to the pixel."""

import ctypes
import ctypes.util
import os
import sys
import time

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import check, fail, load_picture, match_fraction, region, save  # noqa: E402

BLUE = ((0, 0, 200), (60, 60, 255))
GREEN = ((0, 200, 0), (60, 255, 60))
WHITE = ((250, 250, 250), (255, 255, 255))
BLACK = ((0, 0, 0), (0, 0, 0))
YELLOW = ((200, 200, 0), (255, 255, 60))


class _Font(ctypes.Structure):
    _fields_ = [("name", ctypes.c_char_p), ("quantity", ctypes.c_int), ("height", ctypes.c_int),
                ("characters", ctypes.POINTER(ctypes.POINTER(ctypes.c_ubyte))),
                ("xorig", ctypes.c_float), ("yorig", ctypes.c_float)]


def _load_glyphs():
    library = ctypes.CDLL(ctypes.util.find_library("glut") or "libglut.so")
    font = _Font.in_dll(library, "fgFontHelvetica18")
    glyphs = {}
    for code in range(32, 127):
        data = font.characters[code]
        width = data[0]
        per_row = (width + 7) // 8
        rows = np.zeros((font.height, width), dtype=bool)
        for row in range(font.height):
            for column in range(width):
                if data[1 + row * per_row + column // 8] & (0x80 >> (column % 8)):
                    rows[font.height - 1 - row, column] = True
        glyphs[chr(code)] = rows
    return glyphs, font.height, int(font.xorig), int(font.yorig)


GLYPHS, FONT_HEIGHT, FONT_XORIG, FONT_YORIG = _load_glyphs()


def text_mask(text):
    """The pixels a text covers, and the rectangle of window rows and columns
    relative to its drawing position (x, y): (mask, left, top)."""
    width = sum(GLYPHS[c].shape[1] for c in text)
    mask = np.zeros((FONT_HEIGHT, max(width, 1)), dtype=bool)
    x = 0
    for c in text:
        glyph = GLYPHS[c]
        mask[:, x:x + glyph.shape[1]] |= glyph
        x += glyph.shape[1]
    # The bitmap's bottom row sits yorig rows below the baseline, counted in
    # window rows that grow downward: rows y + yorig - height .. y + yorig - 1.
    return mask, -FONT_XORIG, FONT_YORIG - FONT_HEIGHT


def in_colour(pixels, low, high):
    return ((pixels >= np.array(low)) & (pixels <= np.array(high))).all(axis=-1)


def text_mismatch(pixels, x, y, text, colour):
    """How many pixels of the text's box disagree with the text drawn at (x, y)
    in that colour: missing ink, or ink of that colour where the text has none."""
    mask, left, top = text_mask(text)
    # Only the rows the text inks: the font's full line height reaches into
    # the descenders of a line drawn 20 pixels above.
    inked = np.flatnonzero(mask.any(axis=1))
    mask, top = mask[inked[0]:inked[-1] + 1], top + inked[0]
    x0, y0 = int(x) + left, int(y) + top
    shown = in_colour(pixels[y0:y0 + mask.shape[0], x0:x0 + mask.shape[1]], *colour)
    if shown.shape != mask.shape:
        return mask.size
    return int((shown != mask).sum())


def text_shown(pixels, x, y, text, colour):
    return text_mismatch(pixels, x, y, text, colour) == 0


def ink_in(pixels, x0, y0, x1, y1, colour):
    return int(in_colour(pixels[y0:y1, x0:x1], *colour).sum())


def read_number(pixels, x, y, colour=BLACK, largest=56):
    """The decimal number drawn at (x, y), or None when none matches exactly."""
    found = [n for n in range(largest + 1) if text_shown(pixels, x, y, str(n), colour)]
    # "1" also matches the first digit of "10" to "19" unless the box is wider.
    found.sort(key=lambda n: -len(str(n)))
    for n in found:
        mask, left, top = text_mask(str(n))
        # The column right after the number must hold no ink of the colour.
        x0, y0 = int(x) + left + mask.shape[1], int(y) + top
        if not in_colour(pixels[y0:y0 + mask.shape[0], x0:x0 + 2], *colour).any():
            return n
    return None


# The board, as the rules see it: pit (row, column), row 0 the upper row.
PITS = [(r, c) for r in range(2) for c in range(7)]


def next_pit(row, column):
    if row == 1:
        return (1, column + 1) if column < 6 else (0, 6)
    return (0, column - 1) if column > 0 else (1, 0)


def pit_centre(row, column):
    return 200 + 100 * column, 135 + 130 * row


def count_position(row, column):
    return 195 + 100 * column, 80 if row == 0 else 335


class BoardView:
    """What one frame of the game screen shows."""

    def __init__(self, pixels):
        self.pixels = pixels
        self.counts = {}
        for pit in PITS:
            self.counts[pit] = read_number(pixels, *count_position(*pit))
        self.store1 = read_number(pixels, 895, 341)
        self.store2 = read_number(pixels, 94, 341)

    def readable(self):
        return (None not in self.counts.values() and self.store1 is not None and
                self.store2 is not None)

    def total(self):
        return sum(self.counts.values()) + self.store1 + self.store2

    def state(self):
        return tuple(self.counts[p] for p in PITS) + (self.store1, self.store2)


def outline(pixels):
    """The pit whose white one-pixel outline shows, or None."""
    for row, column in PITS:
        x0, y0 = 160 + 100 * column, 85 + 130 * row
        edges = (pixels[y0, x0:x0 + 81], pixels[y0 + 100, x0:x0 + 81],
                 pixels[y0:y0 + 101, x0], pixels[y0:y0 + 101, x0 + 80])
        if all(in_colour(edge, *WHITE).all() for edge in edges):
            return row, column
    return None


def turn_line(pixels):
    """The green turn text shown, or None."""
    for text, y in (("Player1's turn", 380), ("Player2's turn", 35), ("Computer's turn", 35)):
        if text_shown(pixels, 460, y, text, GREEN):
            return text
    return None


RESULT_LINES = {
    "Player1 Wins!": (405, "Press esc for menu"),
    "Player2 Wins!": (405, "Press ecs for menu"),
    "Computer Wins!": (405, "Press ecs for menu"),
    "It's a tie!": (425, "Press esc for menu"),
}


def result_shown(pixels):
    """The end-of-game headline when all three end lines show exactly, or None."""
    for headline, (x, menu_line) in RESULT_LINES.items():
        if (text_shown(pixels, x, 180, headline, BLUE) and
                text_shown(pixels, 375, 200, "Press p to play again", BLUE) and
                text_shown(pixels, 390, 220, menu_line, BLUE)):
            return headline
    return None


def main_menu_shown(pixels, source_dir):
    """The main menu's fourth button, exit, at its place; no other menu has
    a fourth button. The floating seeds may cover a little of it."""
    shown = region(pixels, 360, 320, 670, 360)
    return match_fraction(shown, load_picture(source_dir, "exit") * 0.9, 6) > 0.85


def blue_lines(pixels):
    """Blue ink in the middle band where the board's overlays are drawn."""
    return ink_in(pixels, 280, 160, 860, 240, BLUE)


# The rules, to choose good pits and to check each turn's outcome.

def sow(counts, row, column, limit=4000):
    """Plays a move out on a copy of the counts as the game does, relaying
    whenever the next pit holds seeds. Returns (counts, captured, relays),
    or None when the relay chain does not end within the limit."""
    counts = dict(counts)
    source = current = (row, column)
    relays = steps = 0
    while True:
        while counts[source] > 0:
            current = next_pit(*current)
            counts[current] += 1
            counts[source] -= 1
            steps += 1
            if steps > limit:
                return None
        following = next_pit(*current)
        if counts[following] > 0:
            relays += 1
            source = current = following
            continue
        captured_pit = next_pit(*following)
        captured = counts[captured_pit]
        counts[captured_pit] = 0
        return counts, captured, relays


def best_pit(counts, row):
    """The pit of a row whose move captures most; among equals the one with
    fewer relays, so the game runs shorter."""
    best = None
    for column in range(7):
        if counts[(row, column)] == 0:
            continue
        played = sow(counts, row, column)
        if played is None:
            continue
        score = (played[1], -played[2])
        if best is None or score > best[0]:
            best = (score, column)
    if best is None:
        return next(c for c in range(7) if counts[(row, c)] > 0)
    return best[1]


class Player:
    """Plays moves on the game screen of a running Game."""

    def __init__(self, game, name_prefix):
        self.game = game
        self.prefix = name_prefix
        self.relays_by_key = 0
        self.relays_by_click = 0
        self.shots = 0

    def shot(self, name, pixels=None):
        pixels = self.game.grab() if pixels is None else pixels
        save(pixels, "%s_%s" % (self.prefix, name))
        return pixels

    def stable_view(self, timeout=10):
        """A frame whose counts read cleanly and agree with the next frame's."""
        deadline = time.monotonic() + timeout
        previous = None
        while time.monotonic() < deadline:
            check(self.game.alive(), "the game ended unexpectedly")
            pixels = self.game.grab()
            view = BoardView(pixels)
            if view.readable():
                key = (view.state(), outline(pixels), turn_line(pixels), result_shown(pixels))
                if previous is not None and key == previous[0]:
                    return pixels, view
                previous = (key, pixels)
            time.sleep(0.05)
        self.shot("unreadable")
        fail("the board could not be read for %d s" % timeout)

    def wait_for(self, condition, what, timeout):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            check(self.game.alive(), "the game ended while waiting for " + what)
            pixels = self.game.grab()
            if condition(pixels):
                return pixels
            time.sleep(0.05)
        self.shot("stuck")
        fail("timed out after %d s waiting for %s" % (timeout, what))

    def play_turn(self, row, relay_with_key):
        """Plays one whole turn of the player owning `row`: clicks the chosen
        pit, continues every relay (by the a key or by a click on the relay
        pit, as `relay_with_key` says for each), and returns when the turn has
        passed or the game has ended. Checks the outcome against the rules."""
        pixels, view = self.stable_view()
        before = dict(view.counts)
        stores = (view.store1, view.store2)
        check(view.total() == 56, "seeds do not add up to 56: %s" % (view.state(),))
        if not any(before[(row, c)] for c in range(7)):
            self.shot("empty_row", pixels)
            fail("row %d is empty but the game goes on: %s, turn line %r" %
                 (row, view.state(), turn_line(pixels)))
        column = best_pit(before, row)
        expected = sow(before, row, column)
        mover_line = turn_line(pixels)

        # Empty pits of the own row and pits of the other row take no click.
        for other in range(7):
            if before[(1 - row, other)] > 0:
                self.game.click(*pit_centre(1 - row, other), settle=0.05)
                break
        empties = [c for c in range(7) if before[(row, c)] == 0]
        if empties:
            self.game.click(*pit_centre(row, empties[0]), settle=0.05)
        time.sleep(0.6)
        check(outline(self.game.grab()) is None,
              "a click on a pit not to be played started a move")

        self.game.click(*pit_centre(row, column), settle=0.05)
        source = (row, column)
        self.wait_for(lambda p: outline(p) == source, "the move from %s to start" % (source,), 3)
        relays = 0
        deadline = time.monotonic() + 240
        while True:
            check(time.monotonic() < deadline, "one turn took over 4 minutes")
            check(self.game.alive(), "the game ended during a move")
            pixels = self.game.grab()
            shown = outline(pixels)
            if shown is None:
                # New turn or end of game: wait for a steady frame to judge it.
                pixels, view = self.stable_view()
                if outline(pixels) is None:
                    break
                continue
            if shown != source:
                pixels, view = self.stable_view()
                shown = outline(pixels)
                if shown is None:
                    break
                if shown == source:
                    continue
                # The source is empty; the last seed lies in `shown`.
                following = next_pit(*shown)
                if view.counts[following] > 0:
                    if relays == 1:
                        self.shot("relay_waiting", pixels)
                    if relay_with_key(relays):
                        self.game.key("a", settle=0.05)
                        self.relays_by_key += 1
                    else:
                        self.game.click(*pit_centre(*following), settle=0.05)
                        self.relays_by_click += 1
                    relays += 1
                    self.wait_for(lambda p: outline(p) == following,
                                  "the relay from %s to start" % (following,), 3)
                source = shown if view.counts[following] == 0 else following
            time.sleep(0.05)

        check(expected is not None, "the rules predict a move that never ends")
        after, captured, predicted_relays = expected
        check(relays == predicted_relays,
              "%d relays made, the rules give %d" % (relays, predicted_relays))
        check(view.counts == after, "board after the move from %s: %s, the rules give %s" %
              ((row, column), view.counts, after))
        gained = (view.store1 - stores[0], view.store2 - stores[1])
        check(gained == ((captured, 0) if row == 1 else (0, captured)),
              "stores gained %s, the rules give %d for the mover" % (gained, captured))
        check(turn_line(pixels) != mover_line or result_shown(pixels) is not None,
              "the turn line did not change after the turn")
        return pixels, view

    def wait_for_computer(self, timeout=240):
        """Waits while the computer plays its turn; checks that the board it
        leaves is the outcome of some move of its row."""
        pixels, view = self.stable_view()
        before = dict(view.counts)
        store2 = view.store2
        pixels = self.wait_for(
            lambda p: result_shown(p) is not None or turn_line(p) == "Player1's turn",
            "the computer to finish its turn", timeout)
        pixels, view = self.stable_view()
        outcomes = []
        for column in range(7):
            if before[(0, column)] > 0:
                played = sow(before, 0, column)
                if played is not None:
                    outcomes.append((played[0], played[1]))
        check(any(after == view.counts and view.store2 - store2 == captured
                  for after, captured in outcomes),
              "the computer's move left a board no move of its row gives: %s" % view.counts)
        return pixels, view
