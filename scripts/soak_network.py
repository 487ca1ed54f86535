#!/usr/bin/python3
"""Two copies of the game play each other for many games, each with an X
server of its own, over a loopback of their own, with a rematch after every
game. Every move is played and checked against the rules on the mover's copy,
and the other copy must then show the same board and, at the end, the result
the stores give; each copy's resident memory is recorded as every game starts.

Usage: scripts/soak_network.py <sowrow binary> <source folder> [games, default 10]"""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from game_window import (  # noqa: E402
    BLUE, Game, both_to_move, host_from_menus, in_private_network, join_from_menus, play_turn,
    private_display, text_shown, turn_line)
from sowing_rules import OPENING, game_over  # noqa: E402

TURN_LINES = {1: "Player1's turn", 2: "Player2's turn"}
RESULTS = {1: (405, 180, "Player1 Wins!"), 2: (405, 180, "Player2 Wins!"),
           0: (425, 180, "It's a tie!")}


def play_game(host, joiner):
    """Plays one game to its end; returns the number of moves."""
    movers = {1: (host, 1), 2: (joiner, 0)}
    player = next(p for p, line in TURN_LINES.items() if host.wait(turn_line, "a turn") == line)
    board, moves = OPENING, 0
    while not game_over(board, player):
        both_to_move(host, joiner, TURN_LINES[player], board)
        game, row = movers[player]
        board, _ = play_turn(game, row, lambda relay: relay % 2 == 0)
        player, moves = 3 - player, moves + 1
    both_to_move(host, joiner, TURN_LINES[player], board)
    winner = 1 if board[14] > board[15] else 2 if board[15] > board[14] else 0
    for game in (host, joiner):
        game.wait(lambda p: text_shown(p, *RESULTS[winner], BLUE), RESULTS[winner][2])
    return moves


def main():
    in_private_network()
    binary, source = sys.argv[1], sys.argv[2]
    wanted = int(sys.argv[3]) if len(sys.argv) > 3 else 10
    rss, moves, started = [], 0, time.monotonic()
    with private_display() as host_display, private_display() as joiner_display:
        host = Game(binary, source, host_display, name="soak_host")
        joiner = Game(binary, source, joiner_display, name="soak_joiner")
        try:
            host_from_menus(host)
            join_from_menus(joiner)
            for played in range(1, wanted + 1):
                rss.append((host.memory_kib(), joiner.memory_kib()))
                moves += play_game(host, joiner)
                print("game %d over after %d moves in all, %.0f s" %
                      (played, moves, time.monotonic() - started), flush=True)
                host.key("p", settle=0)  # the rematch: one side asks, the other answers
                joiner.key("p", settle=0)
        finally:
            host.stop()
            joiner.stop()
    print("games %d, moves %d, both boards alike after every move" % (wanted, moves))
    print("VmRSS host, joiner: first game %s KiB, last game %s KiB" % (rss[0], rss[-1]))


if __name__ == "__main__":
    main()
