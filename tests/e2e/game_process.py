"""Start the game binary, wait for its window, read its geometry, stop it."""
import os
import re
import subprocess
import time


class Game:
    def __init__(self, binary, cwd, env=None):
        full_env = dict(os.environ)
        full_env.update({"ALSOFT_DRIVERS": "null", "LP_NUM_THREADS": "1",
                         "LIBGL_ALWAYS_SOFTWARE": "1"})
        full_env.update(env or {})
        self.started = time.monotonic()
        self.proc = subprocess.Popen([binary], cwd=cwd, env=full_env,
                                     stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                     text=True)

    def wait_window(self, timeout=30):
        """Window id, or None when the process ends or the timeout passes first."""
        try:
            out = subprocess.run(["xdotool", "search", "--sync", "--name", "^Sowrow$"],
                                 capture_output=True, text=True, timeout=timeout).stdout
        except subprocess.TimeoutExpired:
            return None
        ids = out.split()
        return ids[0] if ids else None

    @staticmethod
    def geometry(window):
        out = subprocess.run(["xdotool", "getwindowgeometry", window],
                             capture_output=True, text=True).stdout
        pos = re.search(r"Position: (-?\d+),(-?\d+)", out)
        size = re.search(r"Geometry: (\d+)x(\d+)", out)
        return (int(pos[1]), int(pos[2])), (int(size[1]), int(size[2]))

    def wait_first_frame(self, window, timeout=15):
        """Seconds from launch until the window shows a pixel that is not black, or None."""
        from Xlib import X, display
        screen = display.Display()
        try:
            win = screen.create_resource_object("window", int(window))
            deadline = time.monotonic() + timeout
            while time.monotonic() < deadline and self.proc.poll() is None:
                geom = win.get_geometry()
                image = win.get_image(0, 0, geom.width, geom.height, X.ZPixmap, 0xFFFFFFFF)
                if any(image.data):
                    return time.monotonic() - self.started
                time.sleep(0.05)
        finally:
            screen.close()
        return None

    def peak_memory_kib(self):
        with open(f"/proc/{self.proc.pid}/status") as status:
            for line in status:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1])
        return None

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
        out, err = self.proc.communicate()
        return self.proc.returncode, out, err
