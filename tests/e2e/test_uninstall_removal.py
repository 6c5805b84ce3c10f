"""The uninstaller removes the sibling panel: registry keys, files, desktop shortcuts and the
folders they leave empty, and schedules itself and its emptied directory for deletion at the next
start of the system. Every scenario seeds a fresh prefix with an installed panel first."""

import os
from pathlib import Path

CAPTION = "Uninstall Corvane Panel"
INSTALL = r"C:\Program Files\Corvane"
PROGRAM = INSTALL + r"\Corvane.exe"
HELP = INSTALL + r"\Corvane.hlp"
SETTINGS_KEY = r"HKCU\Software\Corvane"
UNINSTALL_KEY = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Corvane"
PANEL_FILES = ["Corvane.exe", "Corvane.hlp", "Corvane.gid", "Corvane.cnt"]

# Desktop shortcuts (path under the desktop -> target) and plain files.
SHORTCUTS = {
    "Corvane.lnk": PROGRAM,                              # on the desktop itself
    "Corvane Help.lnk": HELP,
    "Notepad.lnk": r"C:\windows\notepad.exe",
    r"Panel\Corvane.lnk": PROGRAM,                       # both: gone after the second run
    r"Panel\Help.lnk": HELP,
    r"Mixed\Corvane.lnk": PROGRAM,                       # beside a text file
    r"Outer\Inner\Corvane.lnk": PROGRAM,                 # nested: both folders go
    r"Case\Corvane.lnk": r"c:\PROGRAM FILES\corvane\CORVANE.EXE",
    r"Tools\Notepad.lnk": r"C:\windows\notepad.exe",     # another program: stays
    r"Tools\Deep\Help.lnk": HELP,
    r"WithEmpty\Corvane.lnk": PROGRAM,                   # beside an empty folder: both stay
    r"Readme.lnk": INSTALL + r"\readme.txt",             # another file of the panel: stays
}
OTHER_FILES = ["notes.txt", r"Mixed\readme.txt", r"Tools\Deep\todo.txt"]
EMPTY_FOLDERS = [r"WithEmpty\Empty"]

GONE_SHORTCUTS = {name for name, target in SHORTCUTS.items()
                  if target.lower() in (PROGRAM.lower(), HELP.lower())}
GONE_FOLDERS = {"Panel", "Outer", r"Outer\Inner", "Case"}
SESSION_MANAGER = r"HKLM\SYSTEM\CurrentControlSet\Control\Session Manager"
NT_PREFIX = "\\??\\"   # the form in which the boot list keeps a path


def find_ignoring_case(folder, name):
    for entry in folder.iterdir():
        if entry.name.lower() == name.lower():
            return entry
    return None


def under(root, relative):
    """The host path of a backslash path relative to root."""
    return root.joinpath(*relative.split("\\"))


def tree(root):
    """Every file and folder under root, as backslash paths relative to it."""
    found = set()
    for dirpath, dirnames, filenames in os.walk(root):
        rel = Path(dirpath).relative_to(root)
        for name in dirnames + filenames:
            found.add("\\".join((rel / name).parts))
    return found


def seed(session, install=INSTALL, uninstall_string=None):
    """Installs the panel into the session's prefix, as its installer would have."""
    uninstall_string = uninstall_string or install + r"\ucorvane.exe"
    session.registry.import_text("""
[HKEY_CURRENT_USER\\Software\\Corvane]
"Port"=dword:00000330

[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvane]
"DisplayName"="Corvane Panel"
"UninstallString"="%s"
""" % uninstall_string.replace("\\", "\\\\").replace('"', '\\"'))
    install_dir = session.paths.host_path(install)
    install_dir.mkdir(parents=True, exist_ok=True)
    for name in PANEL_FILES:
        (install_dir / name).write_bytes(b"panel file " + name.encode())
    session.paths.install(session.bin("ucorvane.exe"), install)

    desktop = session.paths.desktop_dir
    for name in OTHER_FILES:
        under(desktop, name).parent.mkdir(parents=True, exist_ok=True)
        under(desktop, name).write_text("keep me\r\n")
    for name in EMPTY_FOLDERS:
        under(desktop, name).mkdir(parents=True, exist_ok=True)
    args = []
    for name, target in SHORTCUTS.items():
        under(desktop, name).parent.mkdir(parents=True, exist_ok=True)
        args += [session.paths.win_path(under(desktop, name)), target]
    made = session.wine.run(session.test_bin("ucorvane_make_links.exe"), *args)
    assert made.returncode == 0, made.stderr
    return install_dir


def write_wininit(session, lines):
    """A "Rename" section written from outside, after the session booted (each boot carries the
    file out and renames it)."""
    path = session.paths.windows_dir / "wininit.ini"
    path.write_bytes(("[Rename]\r\n" + "".join(line + "\r\n" for line in lines)).encode("cp1252"))
    return path


def read_rename_lines(session):
    path = find_ignoring_case(session.paths.windows_dir, "wininit.ini")
    assert path is not None, "no wininit.ini in C:\\windows"
    lines = path.read_bytes().decode("cp1252").splitlines()
    assert lines[0].strip().lower() == "[rename]", lines
    return [line for line in lines[1:] if line]


def boot_list(session):
    """The NT family's boot-time list in the live session, as (path, new name) pairs."""
    value = (session.registry.query(SESSION_MANAGER) or {}).get("PendingFileRenameOperations")
    items = value[1].split("\\0") if value else []   # reg query shows each end as \0
    return list(zip(items[0::2], items[1::2]))


def run_uninstaller(session, install=INSTALL):
    proc = session.wine.start(install + r"\ucorvane.exe", cwd=install)
    session.driver.wait_window(CAPTION, 20000)
    return proc


def answer_message_box(session, caption):
    """Waits for the message box, presses its OK button and returns its text."""
    lines = session.driver("msgbox", caption, 30000, "msgtext", "msgpress", 1)
    return lines[1]


def test_ok_removes_the_panel_and_schedules_the_uninstaller(session):
    install_dir = seed(session)
    session.paths.host_path(r"C:\TEMP").mkdir(exist_ok=True)
    session.paths.host_path(r"C:\TEMP\OLD.TMP").write_text("old")
    write_wininit(session, [r"NUL=C:\TEMP\OLD.TMP"])
    desktop_before = tree(session.paths.desktop_dir)

    proc = run_uninstaller(session)
    session.driver.click(CAPTION, 1)
    assert proc.wait(60) == 0

    # Files: the four of the panel gone, the uninstaller still there until the next start.
    assert sorted(p.name for p in install_dir.iterdir()) == ["ucorvane.exe"]
    # Desktop: exactly the matching shortcuts and the folders they emptied are gone.
    expected = desktop_before - GONE_SHORTCUTS - GONE_FOLDERS
    assert tree(session.paths.desktop_dir) == expected
    assert session.paths.desktop_dir.is_dir()
    assert boot_list(session) == [(NT_PREFIX + INSTALL + r"\ucorvane.exe", ""),
                                  (NT_PREFIX + INSTALL, "")]

    session.stop()
    assert session.registry.saved_key(SETTINGS_KEY) is None
    assert session.registry.saved_key(UNINSTALL_KEY) is None
    assert read_rename_lines(session) == [
        r"NUL=C:\TEMP\OLD.TMP",
        r"NUL=C:\Program Files\Corvane\ucorvane.exe",
        r"NUL=C:\Program Files\Corvane",
    ]

    # The next start of the system carries out the section and the boot list: the uninstaller
    # and its emptied directory go.
    session.wine.run("wineboot", "-r", timeout=120)
    assert not install_dir.exists()
    assert not session.paths.host_path(r"C:\TEMP\OLD.TMP").exists()
    assert find_ignoring_case(session.paths.windows_dir, "wininit.ini") is None


def test_cancel_changes_nothing(session):
    install_dir = seed(session)
    desktop_before = tree(session.paths.desktop_dir)
    install_before = tree(install_dir)

    proc = run_uninstaller(session)
    session.driver.click(CAPTION, 2)
    assert proc.wait(60) == 0

    assert tree(session.paths.desktop_dir) == desktop_before
    assert tree(install_dir) == install_before
    session.stop()
    assert session.registry.saved_key(SETTINGS_KEY) is not None
    assert session.registry.saved_key(UNINSTALL_KEY).values["UninstallString"][1] == INSTALL + r"\ucorvane.exe"
    assert find_ignoring_case(session.paths.windows_dir, "wininit.ini") is None


def test_escape_and_close_box_change_nothing(session):
    install_dir = seed(session)
    install_before = tree(install_dir)
    for step in (("key", CAPTION, "ESCAPE"), ("close", CAPTION)):
        proc = run_uninstaller(session)
        session.driver(*step)
        assert proc.wait(60) == 0
    assert tree(install_dir) == install_before
    assert session.registry.query(SETTINGS_KEY) is not None
    assert session.registry.query(UNINSTALL_KEY) is not None


def test_help_file_that_cannot_be_deleted_is_reported_once_and_the_run_goes_on(session):
    install_dir = seed(session)
    (install_dir / "Corvane.hlp").chmod(0o444)  # read-only: the system refuses to delete it

    proc = run_uninstaller(session)
    session.driver.click(CAPTION, 1)
    assert answer_message_box(session, "Can't delete the file named:") == HELP
    assert proc.wait(60) == 0  # no further message box holds it up

    assert sorted(p.name for p in install_dir.iterdir()) == ["Corvane.hlp", "ucorvane.exe"]
    session.stop()
    # The directory still holds the help file: only the uninstaller is scheduled.
    assert read_rename_lines(session) == [r"NUL=C:\Program Files\Corvane\ucorvane.exe"]


def test_full_rename_section_is_left_unchanged_and_the_directory_reported(session):
    install_dir = seed(session)
    # Lines and their ends take 3576 characters: one more than the room left allows.
    lines = [r"NUL=C:\TEMP\F%03d.TMP" % i + "x" * 17 for i in range(90)]
    lines.append(r"NUL=C:\TEMP\LAST.TMP" + "x" * (3576 - 90 * 38 - 20 - 1))
    assert sum(len(line) + 1 for line in lines) == 3576
    path = write_wininit(session, lines)
    before = path.read_bytes()

    proc = run_uninstaller(session)
    session.driver.click(CAPTION, 1)
    assert answer_message_box(session, "Can't delete the directory named") == INSTALL
    assert proc.wait(60) == 0

    assert sorted(p.name for p in install_dir.iterdir()) == ["ucorvane.exe"]
    session.stop()
    assert path.read_bytes() == before


def test_a_file_of_the_users_keeps_the_install_directory_past_the_next_start(session):
    install_dir = seed(session)
    (install_dir / "my notes.txt").write_text("mine")
    proc = run_uninstaller(session)
    session.driver.click(CAPTION, 1)
    assert proc.wait(60) == 0
    assert boot_list(session) == [(NT_PREFIX + INSTALL + r"\ucorvane.exe", "")]
    session.stop()
    session.wine.run("wineboot", "-r", timeout=120)
    assert [p.name for p in install_dir.iterdir()] == ["my notes.txt"]


def test_a_9x_system_gets_the_rename_lines_and_nothing_on_the_boot_list(session):
    seed(session)
    session.registry.add(r"HKCU\Software\Wine\AppDefaults\ucorvane.exe", "Version", "REG_SZ", "win98")
    proc = run_uninstaller(session)
    session.driver.click(CAPTION, 1)
    assert proc.wait(60) == 0
    assert boot_list(session) == []
    session.stop()
    assert read_rename_lines(session) == [
        r"NUL=C:\Program Files\Corvane\ucorvane.exe", r"NUL=C:\Program Files\Corvane"]
