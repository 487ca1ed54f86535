"""Start-up and the ways out: the window, missing audio files, a missing or
malformed picture, the window held at its size, and the exit statuses of
closing, y and the exit box's Yes.
Usage: test_startup.py <sowrow binary> <source folder>."""

import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import (  # noqa: E402
    GAME_ENV, WINDOW_HEIGHT, WINDOW_PLACE, WINDOW_TITLE, WINDOW_WIDTH, Game, check,
    default_display, run_xdotool, wait_for)
from Xlib import X, display as xdisplay  # noqa: E402

BINARY, SOURCE = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
PICTURE = "Images/Menu.bmp"
# (case, a file of the data folders, its content or None for none, exit status,
#  whether a window opens, standard output)
CASES = [
    ("no seed sound", "Sounds/Blip_Select1.wav", None, 255, False, ""),
    ("no music", "music/snowfall_final.ogg", None, 255, False, ""),
    ("a missing picture", PICTURE, None, 0, True, "Image could not be opened\n"),
    ("a malformed picture", PICTURE, b"MB and no bitmap", 0, True, "Not a proper BMP file\n"),
]
SQUEEZED = (800, 300)
# Down to the exit button, open its box, Left to Yes, Enter.
EXIT_BY_BOX = ("Down", "Down", "Down", "Return", "Left", "Return")


def data_folder(root, changed, content):
    """The game's data folders, links to the real files but for one."""
    for folder in ("Images", "Sounds", "music"):
        shutil.copytree(os.path.join(SOURCE, folder), os.path.join(root, folder),
                        copy_function=os.symlink)
    os.remove(os.path.join(root, changed))
    if content is not None:
        with open(os.path.join(root, changed), "wb") as spoiled:
            spoiled.write(content)
    return root


def notices(watcher):
    """What the X server told of its windows since the last call."""
    watcher.sync()
    return [watcher.next_event() for _ in range(watcher.pending_events())]


def run_case(watcher, case, changed, content, status, window, output):
    notices(watcher)
    with tempfile.TemporaryDirectory(prefix="sowrow-start-") as root:
        folder = data_folder(root, changed, content)
        if window:
            game = Game(BINARY, folder, name=case.replace(" ", "_"))
            code, out = game.exit_status(game.close), game.stop()[0]
        else:
            run = subprocess.run([BINARY], cwd=folder, capture_output=True, text=True,
                                 timeout=30, env=dict(os.environ, **GAME_ENV))
            code, out = run.returncode, run.stdout
            check(all(n.type != X.CreateNotify for n in notices(watcher)),
                  "with %s a window opened" % case)
    check(code == status, "with %s the exit status is %d, not %d" % (case, code, status))
    check(out == output, "with %s the output is %r, not %r" % (case, out, output))


def check_window(watcher):
    """Titled, placed and sized as it should be, held at that size, and y ends it."""
    game = Game(BINARY, SOURCE, name="window")
    size = WINDOW_PLACE + (WINDOW_WIDTH, WINDOW_HEIGHT)
    shown = game.window.get_geometry()
    check((shown.x, shown.y, shown.width, shown.height) == size, "the %r window is %s" %
          (WINDOW_TITLE, shown))
    notices(watcher)
    run_xdotool("windowsize", game.window.id, *SQUEEZED, display=game.display)
    sizes = []

    def snapped_back():
        sizes.extend((n.width, n.height) for n in notices(watcher) if n.type == X.ConfigureNotify)
        return sizes[-1:] == [size[2:]] and SQUEEZED in sizes

    wait_for(snapped_back, "the window to take its size again")
    code = game.exit_status(lambda: game.key("y", settle=0))
    check(code == 0, "y ended the game with status %d" % code)
    game.stop()


def check_exit_box():
    game = Game(BINARY, SOURCE, name="exit_box")
    code = game.exit_status(lambda: game.key(*EXIT_BY_BOX, settle=0))
    check(code == 0, "the exit box's Yes ended the game with status %d" % code)
    game.stop()


def main():
    watcher = xdisplay.Display(default_display())
    watcher.screen().root.change_attributes(event_mask=X.SubstructureNotifyMask)
    for case in CASES:
        run_case(watcher, *case)
    check_window(watcher)
    check_exit_box()
    print("start-up ok")


if __name__ == "__main__":
    main()
