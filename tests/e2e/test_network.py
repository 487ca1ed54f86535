"""A network game between two copies, each with an X server of its own, in a
network namespace of the test's own: connecting from the menus with a typed
address, moves seen alike on both boards, pause and resume, leaving, hosting
again on the same port, a killed opponent and a closed window.
Usage: test_network.py <sowrow binary> <source folder>."""

import os
import sys

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import (  # noqa: E402
    ADDRESS, ADDRESS_PROMPT, BLUE, OPENING, Game, both_to_move, box_text, check,
    host_from_menus, in_private_network, join_from_menus, listening, outline, play_turn,
    private_display, shown, text_shown, titled)

BINARY, SOURCE = sys.argv[1], sys.argv[2]
CAPTION = "Disconnected!"
PAUSE_PROMPT = (380, 195, "Press esc again to quit to Main Menu")
OPPONENT_PAUSED = (355, 210, "Opponent has paused the game")


def pause_and_resume(host, joiner):
    """Paused while a move is sown, both copies say so; the move then goes on
    on both boards alike, with nothing lost or repeated."""
    for game in (host, joiner):
        game.wait(lambda p: outline(p) is not None, "the move to start")
    host.key("Escape", settle=0)
    shown(host, PAUSE_PROMPT)
    shown(joiner, OPPONENT_PAUSED)
    host.key("x", settle=0)
    for game, line in ((host, PAUSE_PROMPT), (joiner, OPPONENT_PAUSED)):
        game.wait(lambda p: not text_shown(p, *line, BLUE), "the game to go on")


def check_moves(host, joiner):
    """Each player moves on its own copy; the other copy shows the same."""
    both_to_move(host, joiner, "Player1's turn", OPENING)
    board, _ = play_turn(host, 1, lambda relay: relay % 2 == 0,
                         after_pick=lambda: pause_and_resume(host, joiner))
    both_to_move(host, joiner, "Player2's turn", board)
    board, _ = play_turn(joiner, 0, lambda relay: relay % 2 == 1)
    both_to_move(host, joiner, "Player1's turn", board)


def check_leaving(host, joiner):
    """The host leaves: the joiner is told, the leaver is not."""
    host.key("Escape", settle=0)
    shown(joiner, OPPONENT_PAUSED)
    host.key("Escape", settle=0)
    box = joiner.wait_box(CAPTION)
    check(not titled(host.link, CAPTION), "the leaver was told that its opponent quit")
    quit_text = box_text(box)
    joiner.dismiss(box)
    shown(joiner, ADDRESS_PROMPT, ADDRESS)  # the address is kept
    # Hosting again on the same port; the joiner confirms the kept address.
    host.key("Return", settle=0)
    listening(host)
    joiner.key("Return", settle=0)
    both_to_move(host, joiner, "Player1's turn", OPENING)
    check(not titled(host.link, CAPTION), "the leaver showed a box")
    return quit_text


def check_lost_opponents(games, quit_text, joiner_display):
    """A killed opponent is a lost connection; a closed window is a quit."""
    host = games[0]
    games[1].stop()
    box = host.wait_box(CAPTION)
    check(not np.array_equal(box_text(box), quit_text), "a lost connection reads like a quit")
    host.dismiss(box)
    listening(host)  # again, by itself
    games[1] = joiner = Game(BINARY, SOURCE, joiner_display, name="joiner")
    join_from_menus(joiner)
    both_to_move(host, joiner, "Player1's turn", OPENING)
    check(joiner.exit_status(joiner.close) == 0, "the closed copy ended with a status not 0")
    box = host.wait_box(CAPTION)
    check(np.array_equal(box_text(box), quit_text), "a closed window does not read like a quit")
    host.dismiss(box)


def main():
    in_private_network()
    with private_display() as host_display, private_display() as joiner_display:
        games = [Game(BINARY, SOURCE, host_display, name="host"),
                 Game(BINARY, SOURCE, joiner_display, name="joiner")]
        try:
            host_from_menus(games[0])
            join_from_menus(games[1])
            check_moves(*games)
            quit_text = check_leaving(*games)
            check_lost_opponents(games, quit_text, joiner_display)
        finally:
            for game in games:
                game.stop()
    print("network play ok")


if __name__ == "__main__":
    main()
