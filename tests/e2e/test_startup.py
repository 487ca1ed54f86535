"""Start-up: window, missing sounds, missing or corrupt pictures."""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from game_process import Game  # noqa: E402

BINARY, SOURCE = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
failures = []


def check(cond, what):
    print(("ok   " if cond else "FAIL ") + what)
    if not cond:
        failures.append(what)


def small_bmp(path):
    width, height = 4, 4
    row = b"\x40\x80\xc0" * width
    pixels = row * height
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def data_dir(skip=None):
    d = tempfile.mkdtemp(prefix="sowrow-e2e-")
    for sub in ("Sounds", "music", "Images"):
        if os.path.isdir(os.path.join(SOURCE, sub)):
            shutil.copytree(os.path.join(SOURCE, sub), os.path.join(d, sub))
    if not os.path.isdir(os.path.join(d, "Images")):
        os.mkdir(os.path.join(d, "Images"))
        for name in image_names():
            small_bmp(os.path.join(d, "Images", name))
    if skip:
        os.remove(os.path.join(d, skip))
    return d


def image_names():
    import re
    with open(os.path.join(SOURCE, "render", "textures.cpp")) as f:
        return sorted(set(re.findall(r'"Images/([A-Za-z0-9_]+\.bmp)"', f.read())))


def run_window(cwd, first_frame=False):
    game = Game(BINARY, cwd)
    window = game.wait_window(30)
    mapped = time.monotonic() - game.started
    geom = Game.geometry(window) if window else None
    frame = game.wait_first_frame(window) if window and first_frame else None
    mem = game.peak_memory_kib() if window else None
    time.sleep(1)
    code, out, err = game.stop()
    if first_frame:
        return window, geom, mapped, mem, out, frame
    return window, geom, mapped, mem, out


# The window
d = data_dir()
window, geom, mapped, mem, out, frame = run_window(d, first_frame=True)
check(window is not None, "window titled Sowrow appears")
if geom:
    check(geom[1] == (1000, 400), f"window is 1000x400 (got {geom[1]}, at {geom[0]})")
print(f"launch to window mapped: {mapped:.2f} s; peak memory {mem} KiB")
# A figure only: the first frame that is not all black.
print("launch to first frame: " + (f"{frame:.2f} s" if frame is not None else "no drawn frame within 15 s"))
shutil.rmtree(d)

# A missing sound or music file ends the game before any window
for missing in ("Sounds/Blip_Select1.wav", "music/snowfall_final.ogg"):
    d = data_dir(missing)
    game = Game(BINARY, d)
    try:
        game.proc.wait(timeout=30)
    except subprocess.TimeoutExpired:
        pass
    appeared = subprocess.run(["xdotool", "search", "--name", "^Sowrow$"],
                              capture_output=True, text=True).stdout.strip()
    code, out, err = game.stop()
    check(code == 255, f"without {missing} exit status 255 (got {code})")
    check(not appeared, f"without {missing} no window")
    shutil.rmtree(d)

# One missing picture: one line about it, the game still starts
names = image_names()
if names:
    d = data_dir("Images/" + names[0])
    window, geom, mapped, mem, out = run_window(d)
    # The message does not name the file: the only output must be that one line.
    lines = [ln for ln in out.splitlines() if ln.strip()]
    check(window is not None, f"without {names[0]} the window still appears")
    check(lines == ["Image could not be opened"], f"one line about the missing {names[0]} (got {out!r})")
    shutil.rmtree(d)

    # A corrupt picture
    d = data_dir()
    with open(os.path.join(d, "Images", names[0]), "wb") as f:
        f.write(b"not a bitmap at all")
    window, geom, mapped, mem, out = run_window(d)
    check(out.count("Not a proper BMP file") == 1, f"corrupt picture reported once (got {out!r})")
    shutil.rmtree(d)

sys.exit(1 if failures else 0)
