"""The screens as drawn: menus, hover blink, floating seeds, the quit question,
the exit box, the board with its seeds, the game screen's lines and the pit
outline. Usage: test_screens.py <sowrow binary> <source folder>."""

import os
import sys
import time

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import (  # noqa: E402
    Game, check, colour_count, find_sprites, load_picture, match_fraction, region, run_xdotool,
    save, stretched)

BINARY, SOURCE = sys.argv[1], sys.argv[2]

MAIN_MENU = ["vsplayer", "vscomputer", "instruction", "exit"]
BLUE = ((0, 0, 200), (60, 60, 255))
GREEN = ((0, 200, 0), (60, 255, 60))
YELLOW = ((200, 200, 0), (255, 255, 60))
WHITE = ((250, 250, 250), (255, 255, 255))


def picture(name):
    return load_picture(SOURCE, name)


def slot_top(slot):
    return 155 + 55 * slot


def normal_rect(slot):
    return 360, slot_top(slot), 670, slot_top(slot) + 40


def highlight_rect(slot):
    return 356, slot_top(slot) - 4, 674, slot_top(slot) + 44


# The 4-pixel band the highlighted button grows by; the hover overlay,
# drawn on the normal rectangle, never reaches it.
GROWTH_BAND = np.ones((48, 318), dtype=bool)
GROWTH_BAND[4:44, 4:314] = False


def check_buttons(pixels, names, chosen):
    """The chosen button at full brightness on its larger rectangle, the others
    dimmed to 90 % on their normal ones. Floating seeds may cover a little."""
    for slot, name in enumerate(names):
        button = picture(name)
        if slot == chosen:
            grown = stretched(button, 318, 48)
            shown = region(pixels, *highlight_rect(slot))
            bright = match_fraction(shown, grown, 12, GROWTH_BAND)
            dimmed = match_fraction(shown, grown * 0.9, 12, GROWTH_BAND)
            check(bright > 0.85 and dimmed < 0.6,
                  "button %d should be highlighted (bright %.2f, dimmed %.2f)" %
                  (slot, bright, dimmed))
        else:
            shown = region(pixels, *normal_rect(slot))
            dimmed = match_fraction(shown, button * 0.9, 6)
            bright = match_fraction(shown, button, 6)
            check(dimmed > 0.85 and bright < 0.6,
                  "button %d should be dimmed (dimmed %.2f, bright %.2f)" % (slot, dimmed, bright))


def hover_phase(pixels, button_name, slot):
    """Which hover picture covers the chosen button: 0, 1, or None for neither."""
    under = stretched(picture(button_name), 318, 48)[4:44, 4:314]
    shown = region(pixels, *normal_rect(slot))
    fits = []
    for mask, image in (("Select_Mask1", "Select_1"), ("Select_Mask2", "Select_2")):
        expected = np.clip(under * picture(mask) / 255 + picture(image), 0, 255)
        fits.append(match_fraction(shown, expected, 12))
    if fits[0] > 0.9 and fits[1] < 0.8:
        return 0
    if fits[1] > 0.9 and fits[0] < 0.8:
        return 1
    return None


def frame_is_black(pixels):
    return (not pixels[:, :200].any() and not pixels[:, 800:].any() and
            not pixels[:10, 200:800].any() and not pixels[390:, 200:800].any())


def floating_seeds(pixels):
    return find_sprites(pixels, picture("seed1"), picture("seed1_mask"), 200, 10, 800, 390)


def check_main_menu(game):
    pixels = game.grab()
    save(pixels, "main_menu")
    check_buttons(pixels, MAIN_MENU, 0)

    # The hover picture alternates twice a second; over 1.6 s both show.
    # The seeds drift meanwhile, and never over the black frame.
    phases, seed_sets = set(), []
    for _ in range(10):
        pixels = game.grab()
        phase = hover_phase(pixels, MAIN_MENU[0], 0)
        check(phase is not None, "hover overlay matches neither picture")
        phases.add(phase)
        check(frame_is_black(pixels), "something drawn over the black frame")
        seed_sets.append(floating_seeds(pixels))
        time.sleep(0.16)
    check(phases == {0, 1}, "hover picture did not blink: %s" % phases)
    check(max(len(s) for s in seed_sets) >= 3, "floating seeds not found: %s" % seed_sets)
    check(seed_sets[0] != seed_sets[-1], "floating seeds did not move")

    # Highlight on the third button; the overlay follows it.
    game.key("Down", "Down")
    pixels = game.grab()
    save(pixels, "main_menu_choice_2")
    check_buttons(pixels, MAIN_MENU, 2)
    check(hover_phase(pixels, MAIN_MENU[2], 2) is not None, "overlay not on the third button")


def check_three_button_menus(game):
    menu = picture("Menu")
    empty_slot = menu[310:350, 160:470] * 0.9
    for keys, names, chosen in ((["Return"], ["vsplayer1", "vsplayer2", "back"], 0),
                                (["Down"], ["vsplayer1", "vsplayer2", "back"], 1),
                                (["Return"], ["host", "connect", "back"], 0)):
        game.key(*keys)
        pixels = game.grab()
        save(pixels, "%s_%d" % (names[0], chosen))
        check_buttons(pixels, names, chosen)
        check(hover_phase(pixels, names[chosen], chosen) is not None, "overlay off the choice")
        fourth = match_fraction(region(pixels, *normal_rect(3)), empty_slot, 6)
        check(fourth > 0.85, "fourth slot of a three-button menu not empty (%.2f)" % fourth)
    game.key("Escape", "Escape")


def check_back_buttons(game):
    """Clicks through to the network menu and back with the back buttons; the
    button under the pointer is the highlighted one."""
    for slot in (0, 1, 2):
        game.click(515, slot_top(slot) + 20, settle=0.4)
    pixels = game.grab()
    save(pixels, "back_to_player_menu")
    check_buttons(pixels, ["vsplayer1", "vsplayer2", "back"], 2)
    game.click(515, slot_top(2) + 20, settle=0.4)
    check_buttons(game.grab(), MAIN_MENU, 2)
    # Leave the highlight on the first button and the pointer off the window.
    game.move(515, slot_top(0) + 20)
    run_xdotool("mousemove", 1270, 1010)
    check_buttons(game.grab(), MAIN_MENU, 0)


def check_quit_question(game):
    game.key("Escape")
    pixels = game.grab()
    save(pixels, "quit_question")
    check(colour_count(pixels, 385, 240, 720, 266, *YELLOW) > 150, "yellow quit question missing")
    check(colour_count(pixels, 0, 0, 385, 400, *YELLOW) == 0, "yellow left of the question")
    game.key("n")
    check(colour_count(game.grab(), 385, 240, 720, 266, *YELLOW) == 0, "quit question stayed")


def check_information_pages(game):
    # From the third button: the instructions, then the controls, undimmed.
    for key, name in (("Return", "Instruction2"), ("n", "Controls")):
        game.key(key)
        pixels = game.grab()
        save(pixels, name)
        shown = match_fraction(region(pixels, 200, 10, 800, 390), picture(name), 6)
        check(shown > 0.9, "%s page not shown undimmed (%.2f)" % (name, shown))
        check(frame_is_black(pixels), "something drawn over the frame of the %s page" % name)
    game.key("m")
    check_buttons(game.grab(), MAIN_MENU, 2)


def check_exit_box(game):
    box, yes, no = picture("exit_question_box"), picture("yes"), picture("no")
    around_buttons = np.ones((200, 300), dtype=bool)
    around_buttons[80:140, 40:260] = False

    def check_brightness(pixels, yes_bright):
        shown_box = region(pixels, 350, 100, 650, 300)
        check(match_fraction(shown_box, box * 0.9, 6, around_buttons) > 0.98, "exit box missing")
        for name, button, rect, bright in (("yes", yes, (390, 180, 490, 240), yes_bright),
                                           ("no", no, (510, 180, 610, 240), not yes_bright)):
            shown = region(pixels, *rect)
            wanted, other = (button, button * 0.9) if bright else (button * 0.9, button)
            check(match_fraction(shown, wanted, 6) > 0.98 and match_fraction(shown, other, 6) < 0.6,
                  "%s button should be %s" % (name, "bright" if bright else "dimmed"))

    game.key("Down", "Return")
    pixels = game.grab()
    save(pixels, "exit_box")
    check_brightness(pixels, yes_bright=False)
    game.key("Left")
    check_brightness(game.grab(), yes_bright=True)
    game.key("Right")
    check_brightness(game.grab(), yes_bright=False)
    game.key("Escape")
    check(match_fraction(region(game.grab(), 350, 100, 650, 300), box * 0.9, 6) < 0.5,
          "exit box stayed open")


def scatter_area(row, column):
    """Where the centre of a seed of that pit may fall."""
    return 185 + 100 * column, 120 + 130 * row, 214 + 100 * column, 149 + 130 * row


def check_board(pixels):
    board = picture("board")
    check(match_fraction(region(pixels, 25, 50, 975, 350), board, 6) > 0.7, "board missing")
    # Only unobscured seeds are found; with four to a pit most are.
    corners = find_sprites(pixels, picture("seed1"), picture("seed1_mask"), 25, 50, 975, 350)
    pits_with_seeds = set()
    for x, y in corners:
        cx, cy = x + 9, y + 10
        home = [(r, c) for r in range(2) for c in range(7)
                if scatter_area(r, c)[0] <= cx <= scatter_area(r, c)[2] and
                scatter_area(r, c)[1] <= cy <= scatter_area(r, c)[3]]
        check(home, "seed centred at (%d, %d) outside every pit" % (cx, cy))
        pits_with_seeds.add(home[0])
    check(len(pits_with_seeds) == 14, "pits without a visible seed: %s" % pits_with_seeds)


def turn_lines(pixels):
    return (colour_count(pixels, 455, 15, 620, 40, *GREEN),
            colour_count(pixels, 455, 360, 620, 385, *GREEN))


def check_game_screen(game):
    game.key("Up", "Up", "Return", settle=0.2)
    time.sleep(0.3)
    pixels = game.grab()
    save(pixels, "who_plays_first")
    check_board(pixels)

    question_left = colour_count(pixels, 288, 190, 375, 215, *BLUE)
    question_right = colour_count(pixels, 730, 190, 835, 215, *BLUE)
    check(question_left > 50 and question_right > 50, "who-plays-first question missing")
    check(turn_lines(pixels) == (0, 0), "turn line under the who-plays-first question")

    # Paused, the question gives way to the two pause lines.
    game.key("Escape")
    pixels = game.grab()
    save(pixels, "paused_question")
    check(colour_count(pixels, 288, 190, 375, 215, *BLUE) == 0 and
          colour_count(pixels, 730, 190, 835, 215, *BLUE) == 0, "question shown while paused")
    check(colour_count(pixels, 380, 178, 720, 198, *BLUE) > 100 and
          colour_count(pixels, 425, 200, 660, 220, *BLUE) > 100, "pause lines missing")
    check(turn_lines(pixels) == (0, 0), "turn line while the question waits")
    game.key("x")
    check(colour_count(game.grab(), 288, 190, 375, 215, *BLUE) > 50, "question not back")

    game.key("p")
    pixels = game.grab()
    save(pixels, "player1_turn")
    top, bottom = turn_lines(pixels)
    check(top == 0 and bottom > 50, "Player1's turn line should be under the board")
    check(colour_count(pixels, 288, 178, 835, 222, *BLUE) == 0, "blue lines after the answer")

    game.key("Escape")
    pixels = game.grab()
    save(pixels, "paused")
    check(colour_count(pixels, 380, 178, 720, 198, *BLUE) > 100 and
          colour_count(pixels, 425, 200, 660, 220, *BLUE) > 100, "pause lines missing")
    check(turn_lines(pixels)[1] > 50, "turn line should stay while paused")
    game.key("x")
    check(colour_count(game.grab(), 288, 178, 835, 222, *BLUE) == 0, "pause lines stayed")


def check_pit_outline(game):
    # Picking the middle pit of the lower row outlines it in white, one pixel
    # wide, from (460, 215) to (540, 315) inclusive.
    game.click(500, 265)
    pixels = game.grab().astype(np.int16)
    save(pixels.astype(np.uint8), "pit_outline")
    x0, y0, x1, y1 = 460, 215, 540, 315

    def white(line):
        return float((line >= 250).all(axis=-1).mean())

    for name, line in (("top", pixels[y0, x0:x1 + 1]), ("bottom", pixels[y1, x0:x1 + 1]),
                       ("left", pixels[y0:y1 + 1, x0]), ("right", pixels[y0:y1 + 1, x1])):
        check(white(line) == 1.0, "%s edge of the outline not white (%.2f)" % (name, white(line)))
    for name, line in (("above", pixels[y0 - 1, x0 + 5:x1 - 5]),
                       ("below", pixels[y1 + 1, x0 + 5:x1 - 5]),
                       ("inside top", pixels[y0 + 1, x0 + 5:x1 - 5]),
                       ("left of", pixels[y0 + 5:y1 - 5, x0 - 1]),
                       ("inside right", pixels[y0 + 5:y1 - 5, x1 - 1])):
        check(white(line) < 0.1, "outline spills %s its edge (%.2f)" % (name, white(line)))


def main():
    game = Game(BINARY, SOURCE)
    try:
        check_back_buttons(game)
        check_three_button_menus(game)
        check_main_menu(game)
        check_quit_question(game)
        check_information_pages(game)
        check_exit_box(game)
        check_game_screen(game)
        check_pit_outline(game)
        check(game.alive(), "the game ended during the test")
    finally:
        out, err = game.stop()
    if err.strip():
        print(err, file=sys.stderr)
    print("screens ok")


if __name__ == "__main__":
    main()
