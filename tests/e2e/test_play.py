"""Plays the game through its window with clicks and keys only: a few turns
against the computer with relays by click and by the a key, checked against
the rules; leaving the game with Esc twice; quitting with y and with the exit
box's Yes, each with exit status 0. Usage: test_play.py <binary> <source>."""

import os
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import Game, check, save  # noqa: E402
from player import (  # noqa: E402
    BLUE, GREEN, Player, result_shown, text_shown, turn_line)

BINARY, SOURCE = sys.argv[1], sys.argv[2]
QUESTION = "Who Plays First (computer: c / player: p / randomly choose: r)?"


def on_timeout(signum, frame):
    print("FAIL: the play test took over 9 minutes", file=sys.stderr)
    raise SystemExit(1)


def versus_computer_turns(game, turns):
    game.key("Down", "Return", settle=0.5)
    pixels = game.grab()
    save(pixels, "play_question")
    check(text_shown(pixels, 290, 210, QUESTION, BLUE), "who-plays-first question not shown")
    game.key("p")
    pixels = game.grab()
    check(turn_line(pixels) == "Player1's turn", "p did not give the first turn to the player")
    player = Player(game, "computer_game")
    for turn in range(turns):
        pixels, view = player.play_turn(1, lambda relay: (relay + turn) % 2 == 0)
        if result_shown(pixels):
            break
        pixels, view = player.wait_for_computer()
        if result_shown(pixels):
            break
    check(player.relays_by_key > 0 and player.relays_by_click > 0,
          "relays by key %d, by click %d" % (player.relays_by_key, player.relays_by_click))
    player.shot("after_turns")
    game.key("Escape")
    check(text_shown(game.grab(), 380, 195, "Press esc again to quit to Main Menu", BLUE),
          "pause prompt missing")
    game.key("Escape", settle=0.6)
    pixels = game.grab()
    save(pixels, "play_back_to_menu")
    check(not text_shown(pixels, 460, 380, "Player1's turn", GREEN), "still on the board")


def quit_with(keys_then_click):
    game = Game(BINARY, SOURCE)
    keys, click = keys_then_click
    # The window may vanish between the press and the release it sends.
    try:
        if keys:
            game.key(*keys)
        if click:
            game.click(*click)
    except subprocess.CalledProcessError:
        pass
    try:
        status = game.process.wait(timeout=10)
    except Exception:
        game.stop()
        check(False, "the game did not end after %s %s" % keys_then_click)
    game.stop()
    check(status == 0, "exit status %d after %s %s" % ((status,) + keys_then_click))


def main():
    signal.signal(signal.SIGALRM, on_timeout)
    signal.alarm(540)
    game = Game(BINARY, SOURCE)
    try:
        versus_computer_turns(game, 3)
        check(game.alive(), "the game ended during play")
    finally:
        game.stop()
    quit_with((["Escape", "y"], None))
    quit_with((["Down", "Down", "Down", "Return"], (440, 210)))
    print("play ok")


if __name__ == "__main__":
    main()
