"""Wine prefixes that keep every run out of the real home directory.

Used by the end-to-end harness, by wine-test-run (GoogleTest programs under Wine) and by
scripts/run-panel.sh. Command line (ctest's wine.template):

    wine_env.py template <wine-dir>   build <wine-dir>/template for this test run
"""

import fcntl
import os
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

# mscoree/mshtml: no download prompts for Mono and Gecko; winemenubuilder writes .desktop files
# into $HOME whenever a shortcut is saved.
DLL_OVERRIDES = "mscoree,mshtml=;winemenubuilder.exe=d"

DESKTOP_SIZE = (1024, 768)

# Wine's own virtual desktop: without a window manager Wine otherwise waits 2 s whenever a
# top-level window is hidden or destroyed, and xdotool input needs it too.
PREFIX_SETTINGS = r"""REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="%dx%d"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\DllOverrides]
"winemenubuilder.exe"=""
"mscoree"=""
"mshtml"=""
""" % DESKTOP_SIZE

# Only in the test run's template: services that a dialog program never needs (device install,
# network, event log). Each session of a scenario starts them otherwise; without them a session
# starts about 2 s sooner.
TEST_PREFIX_SETTINGS = PREFIX_SETTINGS + r"""
[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\PlugPlay]
"Start"=dword:00000004

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\NDIS]
"Start"=dword:00000004

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\nsiproxy]
"Start"=dword:00000004

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Eventlog]
"Start"=dword:00000004
"""

TEMPLATE_MARK = ".tambrel-template"

# The outside programs that Wine-side tests run, with the Debian package of each (scripts/setup.sh
# installs them all).
TOOLS = {"wine": "wine", "wineserver": "wine", "setarch": "util-linux", "Xvfb": "xvfb", "xdotool": "xdotool",
         "import": "imagemagick"}


def require_tools():
    """Fails with the names of the packages to install when a program that the tests run is missing."""
    missing = ["%s (package %s)" % (tool, package) for tool, package in TOOLS.items() if not shutil.which(tool)]
    if missing:
        raise RuntimeError("missing: %s; scripts/setup.sh installs them" % ", ".join(missing))


def wine_env(prefix, home, display=None, base=None):
    """The environment for Wine programs in `prefix` with `home` as HOME."""
    env = dict(os.environ if base is None else base)
    for name in ("WINEPREFIX", "WINEARCH", "WINESERVER", "WINELOADER", "DISPLAY",
                 "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_DESKTOP_DIR"):
        env.pop(name, None)
    env.update(WINEPREFIX=str(prefix), HOME=str(home), WINEDEBUG="-all", WINEDLLOVERRIDES=DLL_OVERRIDES)
    if display is not None:
        env["DISPLAY"] = display
    return env


def wine_version():
    return subprocess.run(["wine", "--version"], capture_output=True, text=True).stdout.strip()


def user_dirs(prefix):
    users = Path(prefix) / "drive_c" / "users"
    return [d for d in users.iterdir() if d.name != "Public" and d.is_dir()] if users.is_dir() else []


def replace_home_links(prefix):
    """Wine links Desktop, Documents, ... to $HOME: make each link a real folder of the prefix."""
    drive_c = Path(prefix) / "drive_c"
    for root, dirs, files in os.walk(drive_c):
        for name in dirs + files:
            path = Path(root) / name
            if path.is_symlink():
                path.unlink()
                path.mkdir()


def wine_command(argv):
    """The command line that starts a Windows program with `wine` at a fixed address-space layout.

    Debian's Wine has no preloader, which elsewhere reserves the addresses Windows programs need
    before the loader's process lays out its own heap. With address-space randomisation the heap
    (brk) starts anywhere in the gigabyte above the 64-bit loader (7D000000h), and about one start
    in a thousand puts it over 7FF00000h..7FFF0000h, where Wine maps the shared user data: the
    program then ends at once with exit code 1 ("failed to map the shared user data", which
    WINEDEBUG=-all hides). Without randomisation the heap starts right after the loader, below."""
    argv = [str(a) for a in argv]
    return ["setarch", "-R"] + argv if argv[:1] == ["wine"] else argv


def run_wine(argv, env, cwd=None, timeout=120, check=False):
    """Runs a program to its end. Output goes through files, not pipes: programs that the first
    one starts (wineserver, the desktop, services) inherit its handles and would hold a pipe open."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        proc = subprocess.run(wine_command(argv), env=env, cwd=cwd, stdout=out, stderr=err,
                              stdin=subprocess.DEVNULL, timeout=timeout)
        out.seek(0)
        err.seek(0)
        result = subprocess.CompletedProcess(proc.args, proc.returncode, out.read(), err.read())
    if check and result.returncode != 0:
        raise subprocess.CalledProcessError(result.returncode, result.args, result.stdout, result.stderr)
    return result


def stop_server(env):
    """Ends the prefix's wine server; the registry is written to user.reg/system.reg."""
    run_wine(["wineserver", "-k"], env)
    run_wine(["wineserver", "-w"], env)


def apply_settings(env, settings=PREFIX_SETTINGS):
    """Imports the settings into the 64-bit registry view. The view is named: where 32-bit Wine
    is installed, a bare `wine reg` or `wine regedit` is the 32-bit tool, which sees
    HKEY_LOCAL_MACHINE\\Software in its own place (Software\\Wow6432Node)."""
    with tempfile.NamedTemporaryFile("w", suffix=".reg", delete=False) as f:
        f.write(settings)
    try:
        run_wine(["wine", "reg", "import", f.name, "/reg:64"], env, check=True)
    finally:
        os.unlink(f.name)


# Debian's Wine looks for its own fonts (package fonts-wine, /usr/share/wine/fonts) under the name
# "<data dir>\../fonts", which its own file layer refuses as invalid (WINEDEBUG=+file: "not found
# (c0000033)"), so none of them load: "Marlett" falls back to Liberation Sans and the caption
# buttons show the letters "0 1 r". The prefix's Fonts folder is read at every start.
WINE_FONTS = Path("/usr/share/wine/fonts")
PREFIX_FONTS = ("marlett.ttf",)


def install_wine_fonts(prefix):
    """Copies Wine's caption-button font into the prefix's Fonts folder (a copy: links under
    drive_c are replaced by folders)."""
    fonts = Path(prefix) / "drive_c" / "windows" / "Fonts"
    fonts.mkdir(parents=True, exist_ok=True)
    for name in PREFIX_FONTS:
        if (WINE_FONTS / name).is_file() and not (fonts / name).is_file():
            shutil.copyfile(WINE_FONTS / name, fonts / name)


def init_prefix(prefix, home, settings=PREFIX_SETTINGS):
    """wineboot, links replaced by folders, settings applied; the server is stopped afterwards."""
    env = wine_env(prefix, home)
    run_wine(["wine", "wineboot", "-i"], env, check=True)
    run_wine(["wineserver", "-w"], env)
    replace_home_links(prefix)
    install_wine_fonts(prefix)
    apply_settings(env, settings)
    stop_server(env)


def home_leftovers(home):
    """What a scratch HOME gained besides .cache (Wine's own shader/font caches may land there)."""
    return sorted(p.name for p in Path(home).iterdir() if p.name != ".cache")


def _build_template(wine_dir):
    template = wine_dir / "template"
    shutil.rmtree(template, ignore_errors=True)
    work = Path(tempfile.mkdtemp(prefix="template-", dir=wine_dir))
    try:
        home = work / "home"
        home.mkdir()
        prefix = work / "prefix"
        init_prefix(prefix, home, TEST_PREFIX_SETTINGS)
        leftovers = home_leftovers(home)
        if leftovers:
            raise RuntimeError("making the template wrote into its HOME: %s" % leftovers)
        (prefix / TEMPLATE_MARK).write_text(wine_version() + "\n")
        prefix.rename(template)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return template


def template_ready(wine_dir):
    mark = Path(wine_dir) / "template" / TEMPLATE_MARK
    return mark.is_file() and mark.read_text().strip() == wine_version()


def make_template(wine_dir, reuse=False):
    """Builds <wine-dir>/template (a new one each test run: one from another Wine build would update
    itself silently in every copy). With reuse, a ready template is kept. Returns path, seconds."""
    require_tools()
    wine_dir = Path(wine_dir)
    wine_dir.mkdir(parents=True, exist_ok=True)
    started = time.monotonic()
    with open(wine_dir / "template.lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if reuse and template_ready(wine_dir):
            template = wine_dir / "template"
        else:
            template = _build_template(wine_dir)
    return template, time.monotonic() - started


# Wine's own program files: never written while a prefix is used (only a Wine update rewrites them,
# and the template comes from this run's Wine). Copies share them through hard links.
SHARED_FOLDERS = ("drive_c/windows/system32", "drive_c/windows/winsxs", "drive_c/windows/syswow64")


def copy_prefix(template, prefix):
    """A copy of the template that owns everything a program may write: every file outside
    SHARED_FOLDERS is a file of its own; the shared ones (about 700 MB) are hard links."""
    template, prefix = Path(template), Path(prefix)
    subprocess.run(["cp", "-al", str(template), str(prefix)], check=True)
    shared = tuple(str(prefix / f) + os.sep for f in SHARED_FOLDERS)
    for root, dirs, files in os.walk(prefix):
        if (root + os.sep).startswith(shared):
            dirs[:] = []
            continue
        for name in files:
            path = os.path.join(root, name)
            if not os.path.islink(path):
                copy = path + ".copy~"
                shutil.copy2(path, copy)
                os.replace(copy, path)


def main(argv):
    if len(argv) == 3 and argv[1] == "template":
        template, seconds = make_template(argv[2])
        print("template prefix %s made in %.1f s" % (template, seconds))
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
