"""Plays the game through its window with clicks and keys only: a whole game
against the computer with relays by click and by the a key, every turn
checked against the rules, its result, the next game, and Esc twice back to
the main menu; a whole two-player game; quitting with y and with the exit
box's Yes, each with exit status 0. Usage: test_play.py <binary> <source>."""

import os
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import Game, check, fail, save  # noqa: E402
from player import (  # noqa: E402
    BLUE, WHITE, Player, main_menu_shown, read_number, result_shown, text_shown, turn_line)

BINARY, SOURCE = sys.argv[1], sys.argv[2]
QUESTION = "Who Plays First (computer: c / player: p / randomly choose: r)?"


def on_timeout(signum, frame):
    print("FAIL: the play test took over 18 minutes", file=sys.stderr)
    raise SystemExit(1)


def play_to_the_end(player, first_row, computer):
    """Plays whole turns from the row whose turn it is until the result
    shows; relays alternate between the a key and a click on the relay pit."""
    row = first_row
    for turn in range(200):
        if computer and row == 0:
            pixels, view = player.wait_for_computer()
        else:
            pixels, view = player.play_turn(row, lambda relay: (relay + turn) % 2 == 0)
        if result_shown(pixels):
            return pixels, view
        row = 1 - row
    fail("no result after 200 turns")


def check_result(pixels, view, loser_name):
    headline = result_shown(pixels)
    expected = ("Player1 Wins!" if view.store1 > view.store2 else
                loser_name + " Wins!" if view.store2 > view.store1 else "It's a tie!")
    check(headline == expected, "result %r for stores %d and %d" %
          (headline, view.store1, view.store2))
    return headline


def wins_shown(pixels, second_name):
    second_x = 205 if second_name == "Computer" else 185
    return read_number(pixels, 900, 35, WHITE), read_number(pixels, second_x, 35, WHITE)


def versus_computer_game(game):
    game.key("Down", "Return", settle=0.5)
    pixels = game.grab()
    save(pixels, "play_question")
    check(text_shown(pixels, 290, 210, QUESTION, BLUE), "who-plays-first question not shown")
    check(turn_line(pixels) is None, "a turn line shows under the question")
    game.key("p")
    pixels = game.grab()
    check(turn_line(pixels) == "Player1's turn", "p did not give the first turn to the player")
    player = Player(game, "computer_game")
    pixels, view = play_to_the_end(player, 1, computer=True)
    check(player.relays_by_key > 0 and player.relays_by_click > 0,
          "relays by key %d, by click %d" % (player.relays_by_key, player.relays_by_click))
    player.shot("result", pixels)
    headline = check_result(pixels, view, "Computer")
    wins = {"Player1 Wins!": (1, 0), "Computer Wins!": (0, 1)}.get(headline, (0, 0))
    check(wins_shown(pixels, "Computer") == wins, "wins shown %s after %r" %
          (wins_shown(pixels, "Computer"), headline))

    # The next game: a fresh board, the question again, the wins kept.
    game.key("p", settle=0.5)
    pixels, view = player.stable_view()
    player.shot("next_game", pixels)
    check(text_shown(pixels, 290, 210, QUESTION, BLUE), "no question for the next game")
    check(all(count == 4 for count in view.counts.values()) and view.store1 == view.store2 == 0,
          "the next game does not start from a fresh board: %s" % (view.state(),))
    check(wins_shown(pixels, "Computer") == wins, "the wins were not kept")
    game.key("p")

    game.key("Escape")
    check(text_shown(game.grab(), 380, 195, "Press esc again to quit to Main Menu", BLUE),
          "pause prompt missing")
    game.key("Escape", settle=0.6)
    pixels = game.grab()
    save(pixels, "play_back_to_menu")
    check(main_menu_shown(pixels, SOURCE), "Esc twice did not lead back to the main menu")


def two_player_game(game):
    # Main menu: versus player; player menu: on this computer. Both are the
    # first button, clicked.
    game.click(515, 175, settle=0.4)
    game.click(515, 175, settle=0.5)
    pixels = game.grab()
    # Who starts alternates from game to game, across kinds of game.
    first = turn_line(pixels)
    check(first in ("Player1's turn", "Player2's turn"),
          "turn line %r in a two-player game" % first)
    player = Player(game, "two_player_game")
    pixels, view = play_to_the_end(player, 1 if first == "Player1's turn" else 0, computer=False)
    player.shot("result", pixels)
    check_result(pixels, view, "Player2")


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
    signal.alarm(1080)
    game = Game(BINARY, SOURCE)
    try:
        versus_computer_game(game)
        two_player_game(game)
        check(game.alive(), "the game ended during play")
    finally:
        game.stop()
    quit_with((["Escape", "y"], None))
    quit_with((["Down", "Down", "Down", "Return"], (440, 210)))
    print("play ok")


if __name__ == "__main__":
    main()
