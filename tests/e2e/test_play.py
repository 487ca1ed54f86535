"""A game against the computer, played through the window far enough to see
a relay continued by a click, one by the a key, and a capture, each checked
against the rules. Usage: test_play.py <sowrow binary> <source folder>."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import (  # noqa: E402
    BLUE, STORE_OF_ROW, Game, check, play_turn, text_shown, turn_line)

BINARY, SOURCE = sys.argv[1], sys.argv[2]
QUESTION = (290, 210, "Who Plays First (computer: c / player: p / randomly choose: r)?")


def main():
    game = Game(BINARY, SOURCE)
    try:
        game.key("Down", "Return", settle=0)  # the second button: versus the computer
        game.wait(lambda p: text_shown(p, *QUESTION, BLUE) and turn_line(p) is None,
                  "the who-plays-first question")
        game.key("p", settle=0)
        game.wait(lambda p: turn_line(p) == "Player1's turn", "the player's turn")
        # The opening move relays six times and captures six seeds.
        board, relays = play_turn(game, 1, relay_by_key=lambda relay: relay % 2 == 1)
        captured = board[STORE_OF_ROW[1]]
        check(relays >= 2 and captured, "%d relays and %d seeds captured" % (relays, captured))
        game.wait(lambda p: turn_line(p) == "Computer's turn", "the computer's turn")
    finally:
        game.stop()
    print("play ok")


if __name__ == "__main__":
    main()
