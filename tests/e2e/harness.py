"""End-to-end sessions under Wine: one fresh prefix, HOME and X display per scenario.

See README.md in this folder for the API. The pytest fixture `session` (conftest.py) gives a
WineSession, made of one part per concern: `paths` (PrefixPaths), `wine` (WineServer), `driver`
(Driver), `registry` (RegistryView), `screen` (XScreen). Everything here also works outside pytest
(scripts/run_panel.py uses the parts).
"""

import os
import re
import shutil
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))

import wine_env  # noqa: E402
from driver import Driver, DriverError  # noqa: E402,F401
from mpu_trace import TRACE_NAME, read_trace, sysex_messages  # noqa: E402,F401
from prefix_paths import PrefixPaths  # noqa: E402
from registry_view import RegKey, RegistryView, parse_reg_file  # noqa: E402,F401
from wine_server import WineProcess, WineServer  # noqa: E402,F401
from x_screen import XDisplay, XScreen  # noqa: E402

REPO = HERE.parent.parent


def build_dir():
    return Path(os.environ.get("TAMBREL_BUILD_DIR", REPO / "build" / "win64")).resolve()


def build_bits():
    """32 or 64: the word size of the build's Windows programs (read from its driver's PE header)."""
    data = (build_dir() / "test-bin" / "e2edriver.exe").read_bytes()
    pe = int.from_bytes(data[0x3C:0x40], "little")
    return 32 if data[pe + 4:pe + 6] == b"\x4c\x01" else 64


def wine_dir():
    return Path(os.environ.get("TAMBREL_WINE_DIR", build_dir() / "wine")).resolve()


def program(name):
    """A shipped program of the build (bin/)."""
    return build_dir() / "bin" / name


def test_program(name):
    """A test program of the build (test-bin/)."""
    return build_dir() / "test-bin" / name


class HomeTouched(AssertionError):
    """A scenario wrote into a HOME directory."""


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
        self.paths = PrefixPaths(self.prefix, wine_env.user_dirs(self.prefix)[0].name)
        self.wine = WineServer(self.paths, self.env, self.logs)
        self.driver = Driver(self.wine, test_program("e2edriver.exe"), self.logs / "driver.log")
        self.registry = RegistryView(build_bits(), self.wine.run, self._saved_hive, self._import_file)
        self.screen = XScreen(self.display.name, self.env)
        self._imports = 0

    bin = staticmethod(program)
    test_bin = staticmethod(test_program)

    def stop(self):
        """Ends every program and the wine server: the registry is written to user.reg and
        system.reg (registry.saved_key reads them). The next program boots a new session."""
        self.wine.stop()

    def _saved_hive(self, hive):
        assert not self.wine.live, "stop() the session first: the wine server writes the registry at its end"
        return (self.prefix / ("%s.reg" % hive)).read_text(encoding="utf-8", errors="replace")

    def _import_file(self, text):
        self._imports += 1
        path = self.root / ("import-%d.reg" % self._imports)
        path.write_text(text, encoding="cp1252")
        return self.paths.win_path(path)

    def trace(self, cwd):
        """Trace events written by TambrelSim.exe in its working folder (host or Windows path)."""
        return read_trace(self.paths.folder(cwd) / TRACE_NAME)

    def sysex(self, cwd, data_port=0x330):
        return sysex_messages(self.trace(cwd), data_port)

    def check_home(self):
        leftovers = wine_env.home_leftovers(self.home)
        if leftovers:
            raise HomeTouched("the scenario wrote into its HOME: %s" % leftovers)

    def close(self):
        """Stops Wine and the display (the scenario's folder stays until remove(); the fixture
        keeps the logs when the scenario failed)."""
        try:
            self.stop()
        finally:
            self.display.close()
            self.driver.close_log()

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
