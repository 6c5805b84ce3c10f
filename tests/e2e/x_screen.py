"""An own X display per scenario and real input on it (xdotool), with screenshots."""

import os
import subprocess
from pathlib import Path

import wine_env


def _end_with_parent():
    """A display outlives no test runner that ctest had to kill at its time limit."""
    import ctypes
    import signal
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)


class XDisplay:
    """An own Xvfb server; its screen is as large as Wine's virtual desktop."""

    def __init__(self, log_path):
        read_fd, write_fd = os.pipe()
        width, height = wine_env.DESKTOP_SIZE
        self._log = open(log_path, "wb")
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "%dx%dx24" % (width, height),
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_fd,), stdout=self._log, stderr=subprocess.STDOUT, preexec_fn=_end_with_parent)
        os.close(write_fd)
        number = b""
        with os.fdopen(read_fd, "rb") as r:
            while not number.endswith(b"\n"):
                chunk = r.read(1)
                if not chunk:
                    raise RuntimeError("Xvfb did not start (see %s)" % log_path)
                number += chunk
        self.name = ":" + number.decode().strip()

    def close(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self._log.close()


class XScreen:
    """The screen of one X display (the virtual desktop): screenshots and real mouse and keys."""

    def __init__(self, display_name, env):
        self.display_name = display_name
        self._env = env

    def screenshot(self, path, rect=None):
        """Saves the whole screen as PNG, or only rect = (left, top, right, bottom)."""
        path = Path(path)
        path.parent.mkdir(parents=True, exist_ok=True)
        crop = []
        if rect is not None:
            left, top, right, bottom = (max(0, int(v)) for v in rect)
            crop = ["-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top), "+repage"]
        subprocess.run(["import", "-display", self.display_name, "-window", "root"] + crop + [str(path)],
                       env=self._env, check=True, capture_output=True, timeout=30)
        return path

    def xdotool(self, *args):
        result = subprocess.run(["xdotool"] + [str(a) for a in args], env=self._env, capture_output=True,
                                text=True, timeout=30)
        assert result.returncode == 0, "xdotool %s: %s" % (" ".join(map(str, args)), result.stderr)
        return result.stdout

    def mouse_click(self, x, y, button=1):
        self.xdotool("mousemove", "--sync", x, y, "click", button)

    def mouse_drag(self, x1, y1, x2, y2, steps=8):
        """A real drag with the left button: press at (x1, y1), move in steps, release at (x2, y2)."""
        self.xdotool("mousemove", "--sync", x1, y1, "mousedown", 1)
        for i in range(1, steps + 1):
            self.xdotool("mousemove", "--sync", x1 + (x2 - x1) * i // steps, y1 + (y2 - y1) * i // steps)
        self.xdotool("mouseup", 1)

    def press_keys(self, *keys):
        """Real key presses to the focused window, X key names: "Tab", "Escape", "alt+m"."""
        self.xdotool("key", "--delay", 30, *keys)

    def type_keys(self, text):
        self.xdotool("type", "--delay", 30, text)
