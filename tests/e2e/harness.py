"""End-to-end sessions under Wine: one fresh prefix, HOME and X display per scenario.

See README.md in this folder for the API. The pytest fixture `session` (conftest.py) gives a
WineSession; everything here also works outside pytest (scripts/run-panel.sh uses it).
"""

import os
import re
import shutil
import subprocess
import sys
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))

import wine_env  # noqa: E402
from mpu_trace import TRACE_NAME, read_trace, sysex_messages  # noqa: E402,F401
from registry_view import RegKey, RegistryView, parse_reg_file  # noqa: E402,F401

REPO = HERE.parent.parent

# How long the wine server of a session waits for the next program once none is running: far
# longer than any pause between two steps of a scenario (a shorter wait would start a new session,
# with wineboot, in the middle of one).
SERVER_LINGER_SECONDS = 300


def build_dir():
    return Path(os.environ.get("TAMBREL_BUILD_DIR", REPO / "build" / "win64")).resolve()


def build_bits():
    """32 or 64: the word size of the build's Windows programs (read from its driver's PE header)."""
    data = (build_dir() / "test-bin" / "e2edriver.exe").read_bytes()
    pe = int.from_bytes(data[0x3C:0x40], "little")
    return 32 if data[pe + 4:pe + 6] == b"\x4c\x01" else 64


def wine_dir():
    return Path(os.environ.get("TAMBREL_WINE_DIR", build_dir() / "wine")).resolve()


class DriverError(AssertionError):
    """A driver step failed (window not found, timeout, ...): the message says which and why."""


class HomeTouched(AssertionError):
    """A scenario wrote into a HOME directory."""


# ---------------------------------------------------------------- X display

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


# ---------------------------------------------------------------- programs

def _unescape_output(line):
    """The driver prints one line per step: a newline in a text as \\n, a backslash as \\\\."""
    return re.sub(r"\\(.)", lambda m: {"n": "\n", "r": "\r", "t": "\t"}.get(m.group(1), m.group(1)), line)


class WineProcess:
    """A Windows program started with WineSession.start()."""

    def __init__(self, popen, out_path):
        self.popen = popen
        self.out_path = out_path

    @property
    def returncode(self):
        return self.popen.poll()

    def running(self):
        return self.popen.poll() is None

    def wait(self, timeout=30):
        return self.popen.wait(timeout)

    def output(self):
        return self.out_path.read_text(errors="replace") if self.out_path.exists() else ""


# ---------------------------------------------------------------- the session

class WineSession:
    """A fresh prefix (copied from the run's template), scratch HOME and Xvfb display, with
    Wine's virtual desktop and one persistent wine server for all steps until stop()."""

    def __init__(self, name, root=None, template_dir=None):
        self.name = re.sub(r"[^A-Za-z0-9_.-]+", "_", name)[-120:]
        self.root = Path(root) if root else wine_dir() / "scenarios" / ("%s-%d" % (self.name, os.getpid()))
        shutil.rmtree(self.root, ignore_errors=True)
        self.root.mkdir(parents=True)
        self.prefix = self.root / "prefix"
        self.home = self.root / "home"
        self.home.mkdir()
        self.logs = self.root / "logs"
        self.logs.mkdir()
        template_source = Path(template_dir) if template_dir else wine_env.make_template(wine_dir(), reuse=True)[0]
        wine_env.copy_prefix(template_source, self.prefix)
        self.display = XDisplay(self.logs / "xvfb.log")
        self.env = wine_env.wine_env(self.prefix, self.home, self.display.name)
        self.user = wine_env.user_dirs(self.prefix)[0].name
        self._live = False
        self.boot_seconds = []      # one figure per session start
        self._processes = []
        self._driver_log = open(self.logs / "driver.log", "a")
        self._counter = 0

    # -- paths
    @property
    def drive_c(self):
        return self.prefix / "drive_c"

    @property
    def user_dir(self):
        return self.drive_c / "users" / self.user

    @property
    def desktop_dir(self):
        return self.user_dir / "Desktop"

    @property
    def windows_dir(self):
        return self.drive_c / "windows"

    def host_path(self, win_path):
        """C:\\x\\y.txt -> <prefix>/drive_c/x/y.txt. Like Wine, existing folders and files are matched
        without regard to case (C:\\Windows is drive_c/windows); the rest keeps the case given."""
        p = str(win_path).replace("/", "\\")
        m = re.match(r"^([A-Za-z]):\\?(.*)$", p)
        if not m:
            raise ValueError("not a Windows path: %r" % win_path)
        drive, rest = m.group(1).lower(), m.group(2)
        base = self.drive_c if drive == "c" else Path("/") if drive == "z" else None
        if base is None:
            raise ValueError("only C: and Z: are mapped: %r" % win_path)
        path = base
        for part in (part for part in rest.split("\\") if part):
            if not (path / part).exists() and path.is_dir():
                part = next((e.name for e in path.iterdir() if e.name.lower() == part.lower()), part)
            path = path / part
        return path

    def win_path(self, host_path):
        """A host path as Wine sees it: under drive_c -> C:\\..., elsewhere Z:\\..."""
        p = Path(host_path).resolve()
        try:
            rel = p.relative_to(self.drive_c.resolve())
            return "C:\\" + "\\".join(rel.parts)
        except ValueError:
            return "Z:" + str(p).replace("/", "\\")

    @staticmethod
    def bin(name):
        """A shipped program of the build (bin/)."""
        return build_dir() / "bin" / name

    @staticmethod
    def test_bin(name):
        """A test program of the build (test-bin/)."""
        return build_dir() / "test-bin" / name

    def install(self, program, win_dir):
        """Copies a host file into the prefix (e.g. "C:\\Program Files\\Corvane"); returns its
        Windows path."""
        target_dir = self.host_path(win_dir)
        target_dir.mkdir(parents=True, exist_ok=True)
        shutil.copy2(program, target_dir / Path(program).name)
        return str(win_dir).rstrip("\\") + "\\" + Path(program).name

    # -- wine server
    def boot(self):
        """Starts the persistent wine server and the session (wineboot, the virtual desktop)."""
        if self._live:
            return
        started = time.monotonic()
        # Persistent between steps; a session that a killed test runner left behind ends on its own.
        wine_env.run_wine(["wineserver", "-p%d" % SERVER_LINGER_SECONDS], self.env, check=True)
        self._live = True
        self.run_wine(["wineboot"], timeout=120)
        self.boot_seconds.append(time.monotonic() - started)

    def stop(self):
        """Ends every program and the wine server; the registry is then saved in user.reg and
        system.reg. A later run/start/driver call boots a new session."""
        if not self._live:
            return
        wine_env.stop_server(self.env)
        for proc in self._processes:
            try:
                proc.wait(10)
            except subprocess.TimeoutExpired:
                proc.popen.kill()
        self._live = False

    def _exe_arg(self, exe):
        exe = str(exe)
        return self.win_path(exe) if exe.startswith("/") else exe

    def _cwd(self, cwd):
        if cwd is None:
            return self.drive_c
        cwd = str(cwd)
        path = Path(cwd) if cwd.startswith("/") else self.host_path(cwd)
        path.mkdir(parents=True, exist_ok=True)
        return path

    def run_wine(self, argv, cwd=None, timeout=60):
        if argv[:1] != ["wineboot"]:
            self.boot()
        return wine_env.run_wine(["wine"] + list(argv), self.env, cwd=self._cwd(cwd), timeout=timeout)

    def run(self, exe, *args, cwd=None, timeout=60):
        """Runs a Windows program to its end; returns CompletedProcess (returncode, stdout and
        stderr as bytes). exe: a host path (/...) or a Windows path or name. cwd: host path or
        Windows path (made when missing); default C:\\."""
        return self.run_wine([self._exe_arg(exe)] + list(args), cwd=cwd, timeout=timeout)

    def start(self, exe, *args, cwd=None):
        """Starts a Windows program and returns at once (a WineProcess)."""
        self.boot()
        self._counter += 1
        out = self.logs / ("program-%d.log" % self._counter)
        with open(out, "wb") as f:
            popen = subprocess.Popen(["wine", self._exe_arg(exe)] + [str(a) for a in args], env=self.env,
                                     cwd=self._cwd(cwd), stdout=f, stderr=subprocess.STDOUT)
        proc = WineProcess(popen, out)
        self._processes.append(proc)
        return proc

    # -- the message-level driver
    def driver(self, *steps, timeout=60, check=True):
        """Runs e2edriver.exe with the steps (see README.md); returns one output line per step.
        Raises DriverError when a step fails (unless check=False: then the lines so far)."""
        argv = [str(s) for s in steps]
        result = self.run(self.test_bin("e2edriver.exe"), *argv, timeout=timeout)
        out = result.stdout.decode("cp1252", errors="replace").replace("\r\n", "\n")
        err = result.stderr.decode("cp1252", errors="replace").strip()
        lines = out.split("\n")
        if lines and lines[-1] == "":
            lines.pop()
        self._driver_log.write("$ e2edriver %s\n%s\n%s%s\n" % (
            " ".join(repr(a) for a in argv), out, err + "\n" if err else "", "exit %d" % result.returncode))
        self._driver_log.flush()
        if check and result.returncode != 0:
            raise DriverError("e2edriver %s: %s" % (" ".join(argv), err or "exit %d" % result.returncode))
        return [_unescape_output(line) for line in lines]

    def wait_window(self, caption, ms=10000):
        self.driver("wait", caption, ms)

    def wait_gone(self, caption, ms=10000):
        self.driver("gone", caption, ms)

    def click(self, caption, control_id):
        self.driver("click", caption, control_id)

    def get_text(self, caption, control_id):
        return self.driver("gettext", caption, control_id)[0]

    def set_text(self, caption, control_id, text):
        self.driver("settext", caption, control_id, text)

    def trackbar_pos(self, caption, control_id):
        return int(self.driver("getpos", caption, control_id)[0])

    def checked(self, caption, control_id):
        return int(self.driver("check", caption, control_id)[0])

    def control_rect(self, caption, control_id):
        """(left, top, right, bottom) on the screen, which is the X screen of the session."""
        return tuple(int(v) for v in self.driver("rect", caption, control_id)[0].split())

    def thumb_center(self, caption, control_id):
        """Screen point in the middle of a trackbar's thumb: where a real drag starts."""
        left, top, right, bottom = (int(v) for v in self.driver("thumb", caption, control_id)[0].split())
        return (left + right) // 2, (top + bottom) // 2

    def message_box(self, caption="*", ms=10000):
        """Waits for a message box; returns (caption, text)."""
        lines = self.driver("msgbox", caption, ms, "msgtext")
        return lines[0], lines[1]

    def close_window(self, caption):
        self.driver("close", caption)

    # -- registry
    def registry_view(self, bits=None):
        """The registry as programs of `bits` (default: the build's word size) see it."""
        view = RegistryView(build_bits(), self._run_tool, self._saved_hive, self._import_file)
        return view if bits in (None, view.bits) else view.other()

    def _run_tool(self, *argv):
        return self.run(*argv)

    def _saved_hive(self, hive):
        assert not self._live, "stop() the session first: the wine server writes the registry at its end"
        return (self.prefix / ("%s.reg" % hive)).read_text(encoding="utf-8", errors="replace")

    def _import_file(self, text):
        self._counter += 1
        path = self.root / ("import-%d.reg" % self._counter)
        path.write_text(text, encoding="cp1252")
        return self.win_path(path)

    def reg_import(self, text):
        self.registry_view().import_text(text)

    def reg_add(self, key, name, kind, data):
        self.registry_view().add(key, name, kind, data)

    def reg_delete(self, key):
        self.registry_view().delete(key)

    def reg_query(self, key):
        return self.registry_view().query(key)

    def registry(self, hive="user"):
        """The saved registry file ("user" = HKEY_CURRENT_USER, "system" = HKEY_LOCAL_MACHINE)
        parsed; call after stop() so that Wine has written it."""
        return parse_reg_file(self._saved_hive(hive))

    def reg_key(self, path):
        return self.registry_view().saved_key(path)

    # -- the card model's trace
    def trace(self, cwd):
        """Trace events written by TambrelSim.exe in its working folder (host or Windows path)."""
        return read_trace(self._cwd(cwd) / TRACE_NAME)

    def sysex(self, cwd, data_port=0x330):
        return sysex_messages(self.trace(cwd), data_port)

    # -- screen and real input
    def screenshot(self, path):
        """Saves the whole X screen (the virtual desktop) as PNG."""
        path = Path(path)
        path.parent.mkdir(parents=True, exist_ok=True)
        subprocess.run(["import", "-display", self.display.name, "-window", "root", str(path)],
                       env=self.env, check=True, capture_output=True, timeout=30)
        return path

    def xdotool(self, *args):
        result = subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env, capture_output=True,
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

    # -- end
    def check_home(self):
        leftovers = wine_env.home_leftovers(self.home)
        if leftovers:
            raise HomeTouched("the scenario wrote into its HOME: %s" % leftovers)

    def close(self):
        """Stops Wine and the display and removes the scenario's folder (logs are kept by the
        fixture when the scenario failed)."""
        try:
            self.stop()
        finally:
            self.display.close()
            self._driver_log.close()

    def remove(self):
        shutil.rmtree(self.root, ignore_errors=True)


# ---------------------------------------------------------------- the real home directory

_WINE_TRACES = (".wine", ".local/share/applications", ".local/share/desktop-directories",
                ".local/share/icons", ".local/share/mime", ".config/menus", "Desktop", "Documents")
_VOLATILE = {".cache", ".bash_history", ".python_history", ".lesshst", ".viminfo", ".wget-hsts"}


def home_snapshot(home=None):
    """What Wine could have added to a real home directory: its top-level names and the folders
    where Wine puts menu entries, icons, prefixes and desktop links."""
    home = Path(home or os.path.expanduser("~"))
    if not home.is_dir():
        return frozenset()
    entries = {p.name for p in home.iterdir() if p.name not in _VOLATILE}
    for sub in _WINE_TRACES:
        base = home / sub
        if base.is_dir():
            for root, dirs, files in os.walk(base):
                for name in dirs + files:
                    entries.add(str((Path(root) / name).relative_to(home)))
    return frozenset(entries)
