#!/usr/bin/python3
"""Takes the README's screenshots: the main menu and a game against the computer.

Usage: scripts/screenshots.py <sowrow binary> [output folder, default docs/]
Uses the X server in $DISPLAY, or starts its own Xvfb when none is set.
"""

import os
import subprocess
import sys
import time

SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(SOURCE, "tests", "e2e"))
from harness import Game  # noqa: E402
from PIL import Image  # noqa: E402


def shoot(binary, folder):
    game = Game(binary, SOURCE)
    try:
        time.sleep(1.0)  # let the floating seeds spread out
        Image.fromarray(game.grab()).save(os.path.join(folder, "menu.png"))
        # Versus the computer, the player first, then a pick of the middle pit
        # caught while its seeds are on the way.
        game.key("Down", "Return", settle=0.5)
        game.key("p", settle=0.5)
        game.click(600, 265, settle=0.1)
        time.sleep(1.8)
        Image.fromarray(game.grab()).save(os.path.join(folder, "game.png"))
    finally:
        game.stop()


def main():
    binary = sys.argv[1]
    folder = sys.argv[2] if len(sys.argv) > 2 else os.path.join(SOURCE, "docs")
    os.makedirs(folder, exist_ok=True)
    server = None
    if not os.environ.get("DISPLAY"):
        os.environ["DISPLAY"] = ":97"
        server = subprocess.Popen(["Xvfb", ":97", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(1.0)
    try:
        shoot(binary, folder)
    finally:
        if server:
            server.terminate()


if __name__ == "__main__":
    main()
