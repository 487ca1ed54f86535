#!/usr/bin/python3
"""Takes the README's screenshots: the main menu and a game against the computer.

Usage: scripts/screenshots.py <sowrow binary> [output folder, default docs/]
Uses the X server in $DISPLAY, or a private one when none is set.
"""

import os
import sys
import time

SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from game_window import OPENING, Game, pit_centre, read_board, turn_line  # noqa: E402
from PIL import Image  # noqa: E402

SEEDS_SPREAD = 1.0  # seconds for the floating seeds to leave their first places
PICKED = 11  # row 1, column 4


def shoot(binary, folder):
    game = Game(binary, SOURCE)
    try:
        time.sleep(SEEDS_SPREAD)
        Image.fromarray(game.grab()).save(os.path.join(folder, "menu.png"))
        # Versus the computer, the player first, then a pick caught while
        # its seeds are on the way.
        game.key("Down", "Return", "p", settle=0)
        game.wait(lambda p: turn_line(p) == "Player1's turn", "the player's turn")
        game.click(*pit_centre(PICKED), settle=0)
        game.wait(lambda p: (read_board(p) or OPENING)[PICKED] == 2,
                  "two seeds left in the picked pit")
        Image.fromarray(game.grab()).save(os.path.join(folder, "game.png"))
    finally:
        game.stop()


def main():
    folder = sys.argv[2] if len(sys.argv) > 2 else os.path.join(SOURCE, "docs")
    os.makedirs(folder, exist_ok=True)
    shoot(sys.argv[1], folder)


if __name__ == "__main__":
    main()
