"""Network play between two copies of the game on 127.0.0.1: hosting and
joining from the menus, moves seen alike on both boards, pause and resume. Usage: test_network.py <sowrow binary> <source folder>."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import check, save  # noqa: E402
from netplay import (  # noqa: E402
    boards_settled, start_pair, connect, opponent_paused_line, pause_prompt, play_turn, wait_for,
    whose_turn)

BINARY, SOURCE = sys.argv[1], sys.argv[2]


def check_moves(host, joiner, turns=4):
    """Both sides move in turn; after every move both show the same counts."""
    check(whose_turn(host.grab()) == 1 and whose_turn(joiner.grab()) == 1,
          "the host (player 1) should move first on both boards")
    column = 0
    for turn in range(turns):
        mover, row, player = (host, 1, 1) if turn % 2 == 0 else (joiner, 0, 2)
        picked = play_turn(mover, row, player, column)
        check(picked is not None, "player %d found no pit to move" % player)
        column = (picked + 1) % 7
        check(boards_settled(host, joiner), "boards differ after move %d" % (turn + 1))
        save(host.grab(), "host_after_move_%d" % (turn + 1))
        save(joiner.grab(), "joiner_after_move_%d" % (turn + 1))


def check_pause(host, joiner):
    host.key("Escape", settle=0.5)
    check(pause_prompt(host.grab()), "the pause prompt is missing")
    wait_for(lambda: opponent_paused_line(joiner.grab()), 3,
             "the joiner does not say the opponent paused")
    host.key("x", settle=0.5)
    wait_for(lambda: not opponent_paused_line(joiner.grab()), 3,
             "the opponent-paused line stayed after the resume")
    check(not pause_prompt(host.grab()), "the pause prompt stayed")


def main():
    games = []
    try:
        host, joiner = start_pair(BINARY, SOURCE)
        games = [host, joiner]
        connect(host, joiner)
        check_moves(host, joiner)
        check_pause(host, joiner)
        # Leaving, a killed opponent and a closed window are checked over
        # real sockets by the connection tests.
    finally:
        for game in games:
            if game is not None:
                game.stop()
    print("network play: ok")


if __name__ == "__main__":
    main()
