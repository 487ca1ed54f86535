#!/usr/bin/python3
"""Check the committed pictures: every file the game loads is a BMP its
reader accepts, at the size the screens are laid out for, the masked pairs
are transparent round the edge, and make_images.py reproduces every file
byte for byte.  Exit status 0 when all is well.

Run:  /usr/bin/python3 assets/check_images.py
"""

import os
import re
import struct
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

SIZES = {"board.bmp": (950, 300), "seed1_mask.bmp": (18, 20), "seed1.bmp": (18, 20),
         "Menu.bmp": (600, 380), "Instruction2.bmp": (600, 380), "Controls.bmp": (600, 380),
         "exit_question_box.bmp": (300, 200), "yes.bmp": (100, 60), "no.bmp": (100, 60)}
BUTTON = (310, 40)  # the menu buttons and the hover overlays
MASKED_PAIRS = [("seed1_mask.bmp", "seed1.bmp"), ("Select_Mask1.bmp", "Select_1.bmp"),
                ("Select_Mask2.bmp", "Select_2.bmp")]
ICON_SIZES = (48, 64, 128, 256)


def table_paths():
    with open(os.path.join(ROOT, "render", "texture_files.cpp")) as stream:
        return re.findall(r'"(Images/[^"]+\.bmp)"', stream.read())


def read_bmp(path):
    """The game's reader: 54-byte header, pixels right behind it."""
    with open(path, "rb") as stream:
        data = stream.read()
    assert data[:2] == b"BM", "signature"
    width, height = struct.unpack_from("<ii", data, 18)
    bits, compression, declared = struct.unpack_from("<HII", data, 28)
    assert width > 0 and height > 0, "dimensions"
    assert bits == 24 and compression == 0, "depth or compression"
    assert struct.unpack_from("<I", data, 10)[0] == 54, "pixel offset"
    row = (width * 3 + 3) // 4 * 4
    assert declared == row * height, "image-size field must count the row padding"
    assert len(data) == 54 + declared, "file length"
    return width, height, row, data[54:]


def pixel(image, x, y):
    """(b, g, r) of (x, y), y counted from the top."""
    width, height, row, pixels = image
    offset = (height - 1 - y) * row + 3 * x
    return tuple(pixels[offset : offset + 3])


def check_folder(root):
    problems = []
    paths = table_paths()
    if len(paths) != 22:
        problems.append(f"texture table lists {len(paths)} files, not 22")
    images = {}
    for relative in paths:
        name = os.path.basename(relative)
        try:
            images[name] = read_bmp(os.path.join(root, relative))
        except (OSError, AssertionError) as error:
            problems.append(f"{relative}: {error}")
            continue
        expected = SIZES.get(name, BUTTON)
        if images[name][:2] != expected:
            problems.append(f"{relative}: {images[name][:2]} instead of {expected}")
    for mask_name, colour_name in MASKED_PAIRS:
        if mask_name not in images or colour_name not in images:
            continue
        width, height = images[mask_name][:2]
        for x, y in ((0, 0), (width - 1, 0), (0, height - 1), (width - 1, height - 1)):
            if pixel(images[mask_name], x, y) != (255, 255, 255):
                problems.append(f"{mask_name}: corner ({x}, {y}) is not white")
            if pixel(images[colour_name], x, y) != (0, 0, 0):
                problems.append(f"{colour_name}: corner ({x}, {y}) is not black")
        centre = pixel(images[mask_name], width // 2, height // 2)
        if mask_name.startswith("seed") and centre != (0, 0, 0):
            problems.append(f"{mask_name}: the middle of the seed is not black")
    return problems


def output_files(root):
    files = [os.path.join(root, path) for path in table_paths()]
    files += [os.path.join(root, "data", "icons", "hicolor", f"{s}x{s}", "apps", "sowrow.png")
              for s in ICON_SIZES]
    return files


def main():
    problems = check_folder(ROOT)
    with tempfile.TemporaryDirectory() as scratch:
        subprocess.run([sys.executable, os.path.join(ROOT, "assets", "make_images.py"), scratch],
                       check=True)
        for committed, fresh in zip(output_files(ROOT), output_files(scratch)):
            try:
                with open(committed, "rb") as a, open(fresh, "rb") as b:
                    if a.read() != b.read():
                        problems.append(f"{os.path.relpath(committed, ROOT)} differs from a fresh run")
            except OSError as error:
                problems.append(str(error))
    for problem in problems:
        print(problem)
    print("images OK" if not problems else f"{len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
