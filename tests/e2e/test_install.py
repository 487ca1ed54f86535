"""Installation: the installed files, the launcher from another folder, the Debian package."""
import glob
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from game_process import Game  # noqa: E402

BINARY, SOURCE = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
BUILD = os.path.dirname(BINARY)
failures = []


def check(cond, what, detail=""):
    print(("ok   " if cond else "FAIL ") + what + ("" if cond or not detail else f" ({detail})"))
    if not cond:
        failures.append(what)


def expected_files():
    files = ["bin/sowrow", "libexec/sowrow/sowrow",
             "share/applications/sowrow.desktop",
             "share/metainfo/io.github.sowrow.Sowrow.metainfo.xml",
             "share/doc/sowrow/copyright", "share/doc/sowrow/changelog.gz",
             "share/sowrow/Sounds/Blip_Select1.wav",
             "share/sowrow/music/snowfall_final.ogg"]
    for path in glob.glob(os.path.join(SOURCE, "Images", "*.bmp")):
        files.append("share/sowrow/Images/" + os.path.basename(path))
    icons = os.path.join(SOURCE, "data", "icons")
    for path in glob.glob(os.path.join(icons, "hicolor", "*", "apps", "sowrow.png")):
        files.append("share/icons/" + os.path.relpath(path, icons))
    return files


def installed_manual(root):
    return [p for p in ("share/man/man6/sowrow.6.gz", "share/man/man6/sowrow.6")
            if os.path.isfile(os.path.join(root, p))]


work = tempfile.mkdtemp(prefix="sowrow-install-")
try:
    # Staged install, as a package build does it.
    destdir = os.path.join(work, "stage")
    env = dict(os.environ, DESTDIR=destdir)
    run = subprocess.run(["cmake", "--install", BUILD, "--prefix", "/usr"],
                         env=env, capture_output=True, text=True)
    check(run.returncode == 0, "cmake --install succeeds", run.stderr.strip()[-300:])
    usr = os.path.join(destdir, "usr")
    for rel in expected_files():
        check(os.path.isfile(os.path.join(usr, rel)), f"installed {rel}")
    check(len(installed_manual(usr)) == 1, "installed the manual page")
    for rel in ("bin/sowrow", "libexec/sowrow/sowrow"):
        check(os.access(os.path.join(usr, rel), os.X_OK), f"{rel} is executable")

    if shutil.which("appstreamcli"):
        run = subprocess.run(["appstreamcli", "validate", "--no-net", os.path.join(
            usr, "share/metainfo/io.github.sowrow.Sowrow.metainfo.xml")], capture_output=True, text=True)
        check(run.returncode == 0, "the metainfo validates", run.stdout.strip()[-300:])
    manual = installed_manual(usr)
    if manual and shutil.which("man"):
        run = subprocess.run(["man", "--warnings", "-l", os.path.join(usr, manual[0])],
                             capture_output=True, text=True, env=dict(os.environ, MANPAGER="cat"))
        check(run.returncode == 0 and "NETWORK PLAY" in run.stdout and not run.stderr.strip(),
              "the manual page formats without warnings", run.stderr.strip()[-300:])

    # The launcher finds its data from any working directory and through a symlink;
    # without the sounds the game would end before any window.
    elsewhere = os.path.join(work, "elsewhere")
    os.mkdir(elsewhere)
    link = os.path.join(elsewhere, "sowrow-link")
    os.symlink(os.path.join(usr, "bin", "sowrow"), link)
    game = Game(link, elsewhere)
    window = game.wait_window(30)
    code, out, err = game.stop()
    check(window is not None, "the installed launcher opens the Sowrow window from another folder")

    # The Debian package, when the tools are there.
    if shutil.which("cpack") and shutil.which("dpkg-deb"):
        out_dir = os.path.join(work, "deb")
        run = subprocess.run(["cpack", "-G", "DEB", "-B", out_dir,
                              "--config", os.path.join(BUILD, "CPackConfig.cmake")],
                             cwd=BUILD, capture_output=True, text=True)
        debs = glob.glob(os.path.join(out_dir, "sowrow_*_amd64.deb"))
        check(run.returncode == 0 and len(debs) == 1,
              "cpack builds one sowrow_<version>_amd64.deb", (run.stdout + run.stderr).strip()[-300:])
        if debs:
            contents = subprocess.run(["dpkg-deb", "-c", debs[0]],
                                      capture_output=True, text=True).stdout
            listed = {line.split()[-1].lstrip(".").lstrip("/") for line in contents.splitlines()}
            for rel in expected_files():
                check("usr/" + rel in listed, f"package holds usr/{rel}")
            check(any(p.startswith("usr/share/man/man6/sowrow.6") for p in listed),
                  "package holds the manual page")
            fields = {}
            for name in ("Package", "Section", "Depends", "Maintainer"):
                fields[name] = subprocess.run(["dpkg-deb", "-f", debs[0], name],
                                              capture_output=True, text=True).stdout.strip()
            check(fields["Package"] == "sowrow", f"package name sowrow (got {fields['Package']!r})")
            check(fields["Section"] == "games", f"section games (got {fields['Section']!r})")
            check(fields["Maintainer"] != "", "a maintainer is named")
            for lib in ("libc6", "libstdc++6", "libglut", "libsfml-audio", "libsdl2"):
                check(lib in fields["Depends"], f"depends on {lib}")
            print("Depends: " + fields["Depends"])
            # Unpacked into a throwaway root, the package's own launcher starts the game.
            root = os.path.join(work, "root")
            subprocess.run(["dpkg-deb", "-x", debs[0], root], check=True)
            game = Game(os.path.join(root, "usr", "bin", "sowrow"), elsewhere)
            window = game.wait_window(30)
            game.stop()
            check(window is not None, "the unpacked package's launcher opens the Sowrow window")
            if shutil.which("lintian"):
                tags = subprocess.run(["lintian", debs[0]], capture_output=True, text=True)
                print("lintian (reported, not checked):")
                print(tags.stdout.strip() or "  no tags")
    else:
        print("skip Debian package: cpack or dpkg-deb missing")
finally:
    shutil.rmtree(work)

sys.exit(1 if failures else 0)
