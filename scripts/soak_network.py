"""Two copies of the game play each other over 127.0.0.1 for many games,
with a rematch between games; after every move both boards must show the same
counts, and each copy's resident memory is recorded at every game's start.

Usage: /usr/bin/python3 scripts/soak_network.py <sowrow binary> <source folder> [games]
(needs $DISPLAY; uses port 45678, so run it alone)."""

import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "e2e"))
from harness import fail, save  # noqa: E402
from netplay import (  # noqa: E402
    boards_settled, connect, game_over, next_turn, play_turn, players, rss_kib, start_pair,
    wait_for, wait_until, whose_turn)


def keep_shots(host, joiner, name):
    save(host.grab(), "soak_host_" + name)
    save(joiner.grab(), "soak_joiner_" + name)


def main():
    binary, source = sys.argv[1], sys.argv[2]
    wanted = int(sys.argv[3]) if len(sys.argv) > 3 else 10
    host, joiner = start_pair(binary, source)
    games = moves = divergences = 0
    rss = {"host": [], "joiner": []}
    started = time.monotonic()
    try:
        connect(host, joiner)
        movers = players(host, joiner)
        while games < wanted:
            rss["host"].append(rss_kib(host.process.pid))
            rss["joiner"].append(rss_kib(joiner.process.pid))
            while True:
                player = next_turn(host, joiner)
                if player is None:
                    keep_shots(host, joiner, "no_turn_%d" % moves)
                    fail("after move %d the copies agree on no turn and show no result" % moves)
                # Both copies are done with the last move: their counts agree.
                if moves and not boards_settled(host, joiner):
                    divergences += 1
                    print("move %d: the boards differ" % moves, flush=True)
                    keep_shots(host, joiner, "move_%d" % moves)
                if player == 0:
                    break
                play_turn(movers, player)
                moves += 1
            games += 1
            if not wait_until(lambda: game_over(joiner.grab()), 10):
                keep_shots(host, joiner, "end_%d" % games)
                fail("the joiner missed the end of game %d" % games)
            print("game %d over after %d moves in all, %.0f s" %
                  (games, moves, time.monotonic() - started), flush=True)
            # Rematch: one side asks, the other answers.
            host.key("p", settle=0.5)
            joiner.key("p", settle=0.5)
            wait_for(lambda: whose_turn(host.grab()) != 0 and whose_turn(joiner.grab()) != 0,
                     10, "the rematch did not start on both sides")
    finally:
        host.stop()
        joiner.stop()
    print("games %d, moves %d, divergences %d" % (games, moves, divergences))
    for side, figures in rss.items():
        if figures:
            print("%s VmRSS first game %d KiB, last game %d KiB" %
                  (side, figures[0], figures[-1]))
    return 1 if divergences else 0


if __name__ == "__main__":
    sys.exit(main())
