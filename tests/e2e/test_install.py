"""The Debian package: the files it holds, what it declares, and its launcher
starting the game from another folder through a link.
Usage: test_install.py <sowrow binary> <source folder>."""

import glob
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import Game, check  # noqa: E402

BINARY, SOURCE = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
BUILD = os.path.dirname(BINARY)
FILES = ["usr/bin/sowrow", "usr/libexec/sowrow/sowrow", "usr/share/man/man6/sowrow.6.gz",
         "usr/share/applications/sowrow.desktop", "usr/share/doc/sowrow/copyright",
         "usr/share/metainfo/io.github.sowrow.Sowrow.metainfo.xml",
         "usr/share/doc/sowrow/changelog.gz"]
FIELDS = {"Package": "sowrow", "Section": "games"}
LIBRARIES = ("libc6", "libstdc++6", "libglut", "libsfml-audio", "libsdl2")


def run(*command, **options):
    done = subprocess.run(command, capture_output=True, text=True, **options)
    check(done.returncode == 0, "%s failed: %s" % (command[0], (done.stdout + done.stderr)[-500:]))
    return done.stdout


def expected_files():
    data = ["usr/share/sowrow/" + os.path.relpath(path, SOURCE)
            for folder in ("Images", "Sounds", "music")
            for path in glob.glob(os.path.join(SOURCE, folder, "*"))]
    icons = ["usr/share/" + os.path.relpath(path, os.path.join(SOURCE, "data"))
             for path in glob.glob(os.path.join(SOURCE, "data/icons/hicolor/*/apps/*"))]
    return FILES + data + icons


def check_package(deb, root):
    listed = {line.split()[-1].lstrip("./") for line in run("dpkg-deb", "-c", deb).splitlines()}
    missing = [path for path in expected_files() if path not in listed]
    check(not missing, "the package lacks %s" % missing)
    for field, value in FIELDS.items():
        check(run("dpkg-deb", "-f", deb, field).strip() == value, "%s is not %s" % (field, value))
    depends = run("dpkg-deb", "-f", deb, "Depends")
    check(all(library in depends for library in LIBRARIES), "Depends: %s" % depends)
    run("dpkg-deb", "-x", deb, root)


def main():
    with tempfile.TemporaryDirectory(prefix="sowrow-package-") as work:
        run("cpack", "-G", "DEB", "-B", work, "--config", os.path.join(BUILD, "CPackConfig.cmake"),
            cwd=BUILD)
        debs = glob.glob(os.path.join(work, "sowrow_*_amd64.deb"))
        check(len(debs) == 1, "cpack made %s" % debs)
        root = os.path.join(work, "root")
        check_package(debs[0], root)
        # The launcher finds the game's files from any folder, through a link.
        link = os.path.join(work, "sowrow")
        os.symlink(os.path.join(root, "usr", "bin", "sowrow"), link)
        game = Game(link, work, name="installed")
        check(game.exit_status(game.close) == 0, "the installed game did not close cleanly")
        game.stop()
    print("install ok")


if __name__ == "__main__":
    main()
