"""Network play between two copies of the game on 127.0.0.1: hosting and
joining from the menus, moves seen alike on both boards, pause and resume,
leaving, hosting again on the same port, a killed opponent and a closed
window. Usage: test_network.py <sowrow binary> <source folder>."""

import os
import signal
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import Game, check, save  # noqa: E402
from netplay import (  # noqa: E402
    HOST_PLACE, boards_settled, both_ready, box_text, boxes, close_window, connect, dismiss_box,
    host_from_menus, next_turn, opponent_paused_line, pause_prompt, play_turn, players, same_text,
    start_pair, wait_for, wait_for_box, whose_turn)

BINARY, SOURCE = sys.argv[1], sys.argv[2]


def check_moves(host, joiner, turns=4):
    """Both sides move in turn, each move checked against the rules on the
    mover's copy; once both copies show the next player, their counts agree."""
    check(whose_turn(host.grab()) == 1 and whose_turn(joiner.grab()) == 1,
          "the host (player 1) should move first on both boards")
    movers = players(host, joiner)
    for turn in range(turns):
        player = 1 if turn % 2 == 0 else 2
        play_turn(movers, player)
        check(next_turn(host, joiner) == 3 - player,
              "the copies do not agree that player %d moves next" % (3 - player))
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


def check_leave(host, joiner):
    """The host leaves; the joiner says so, the host says nothing."""
    host.key("Escape", "Escape", settle=0.2)
    box = wait_for_box(10)
    check(box is not None, "no box after the opponent left")
    time.sleep(1.0)
    check(len(boxes()) == 1, "the leaver showed a box too")
    text = box_text(box)
    dismiss_box(box)
    return text


def main():
    games = []
    try:
        host, joiner = start_pair(BINARY, SOURCE)
        games = [host, joiner]
        connect(host, joiner)
        check_moves(host, joiner)
        check_pause(host, joiner)
        quit_text = check_leave(host, joiner)

        # The leaver is back on the network menu, the joiner at its address
        # prompt with the address kept: hosting again reuses the port at once.
        host.key("Return", settle=0.5)
        joiner.key("Return", settle=0.3)
        both_ready(host, joiner)
        check(boards_settled(host, joiner), "boards differ in the second game")

        # A killed host: the joiner's connection is lost.
        os.kill(host.process.pid, signal.SIGKILL)
        host.stop()
        box = wait_for_box(10)
        check(box is not None, "no box after the opponent was killed")
        check(not same_text(box_text(box), quit_text), "a lost connection reads like a quit")
        dismiss_box(box)

        # A new host; the joiner confirms the kept address; then the host's
        # window is closed.
        host = Game(BINARY, SOURCE)
        games[0] = host
        host.place(*HOST_PLACE)
        host_from_menus(host)
        joiner.key("Return", settle=0.3)
        both_ready(host, joiner)
        close_window(host)
        wait_for(lambda: not host.alive(), 10, "the closed copy kept running")
        check(host.process.returncode == 0, "the closed copy exited with %s" %
              host.process.returncode)
        box = wait_for_box(10)
        if box is None:
            save(joiner.grab(), "joiner_no_box_after_close")
        check(box is not None, "no box after the opponent closed its window")
        check(same_text(box_text(box), quit_text), "a closed window should read as a quit")
        dismiss_box(box)
        check(joiner.alive(), "the joiner died")
    finally:
        for game in games:
            if game is not None:
                game.stop()
    print("network play: ok")


if __name__ == "__main__":
    main()
