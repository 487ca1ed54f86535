"""The error box on an X server with no fonts but its built-in ones: a connect
where nobody listens shows "Error in connection!", and dismissing it brings
back the address prompt. Usage: test_error_box.py <sowrow binary> <source folder>."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import (  # noqa: E402
    ADDRESS, ADDRESS_PROMPT, Game, in_private_network, join_from_menus, private_display, shown)

BINARY, SOURCE = sys.argv[1], sys.argv[2]


def main():
    in_private_network()  # where nobody listens on the game's port
    with private_display(builtin_fonts=True) as display:
        game = Game(BINARY, SOURCE, display, name="joiner")
        try:
            join_from_menus(game)
            game.dismiss(game.wait_box("Error in connection!"))
            shown(game, ADDRESS_PROMPT, ADDRESS)
        finally:
            game.stop()
    print("error box ok")


if __name__ == "__main__":
    main()
