"""What the frames are made of is tested on their operation lists; this checks
that the real window draws what a list says: shades, the masked sprites, the
black frame over the floating seeds, text colours and the one-pixel outline,
and that a picture that changes on a timer is drawn again.
Usage: test_screens.py <sowrow binary> <source folder>."""

import os
import sys
import time

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import (  # noqa: E402
    Game, check, colour_count, find_sprites, load_picture, match_fraction, region, save, stretched)

BINARY, SOURCE = sys.argv[1], sys.argv[2]
GREEN = ((0, 200, 0), (60, 255, 60))


def picture(name):
    return load_picture(SOURCE, name)


def hover_phase(pixels):
    """Which hover picture the mask lets through over the highlighted first
    button: 0, 1, or None for neither."""
    under = stretched(picture("vsplayer"), 318, 48)[4:44, 4:314]
    fits = [match_fraction(region(pixels, 360, 155, 670, 195),
                           np.clip(under * picture(mask) / 255 + picture(image), 0, 255), 12)
            for mask, image in (("Select_Mask1", "Select_1"), ("Select_Mask2", "Select_2"))]
    if fits[0] > 0.9 and fits[1] < 0.8:
        return 0
    if fits[1] > 0.9 and fits[0] < 0.8:
        return 1
    return None


def check_main_menu(game):
    pixels = game.grab()
    save(pixels, "main_menu")
    dimmed = match_fraction(region(pixels, 360, 210, 670, 250), picture("vscomputer") * 0.9, 6)
    check(dimmed > 0.85, "second button not dimmed to 90 %% (%.2f)" % dimmed)
    # Nothing but the timers changes this picture, and both hover pictures
    # and drifting seeds show, never over the black frame.
    phases, seed_sets = set(), []
    for _ in range(10):
        pixels = game.grab()
        phases.add(hover_phase(pixels))
        check(not pixels[:, :200].any() and not pixels[:, 800:].any() and
              not pixels[:10, 200:800].any() and not pixels[390:, 200:800].any(),
              "something drawn over the black frame")
        seed_sets.append(find_sprites(pixels, picture("seed1"), picture("seed1_mask"),
                                      200, 10, 800, 390))
        time.sleep(0.16)
    check(phases == {0, 1}, "hover picture did not blink: %s" % phases)
    check(max(len(s) for s in seed_sets) >= 3, "floating seeds not found: %s" % seed_sets)
    check(seed_sets[0] != seed_sets[-1], "floating seeds did not move")


def check_board(game):
    game.key("Return", "Return")  # two players on one computer
    game.click(500, 265)  # the middle pit of the lower row
    pixels = game.grab().astype(np.int16)
    save(pixels.astype(np.uint8), "pit_outline")
    check(colour_count(pixels, 455, 360, 620, 385, *GREEN) > 50, "green turn line missing")
    # The outline is white and one pixel wide, from (460, 215) to (540, 315).
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
        check_main_menu(game)
        check_board(game)
        check(game.alive(), "the game ended during the test")
    finally:
        out, err = game.stop()
    if err.strip():
        print(err, file=sys.stderr)
    print("screens ok")


if __name__ == "__main__":
    main()
