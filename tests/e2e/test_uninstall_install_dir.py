"""Where the uninstaller finds the install directory: the uninstall entry's "UninstallString"
(quoted or not), or its current directory when there is no entry."""

from test_uninstall_removal import (CAPTION, INSTALL, SETTINGS_KEY, UNINSTALL_KEY,
                                    read_rename_lines, seed)


def uninstall(session, cwd):
    proc = session.wine.start(INSTALL + r"\ucorvane.exe", cwd=cwd)
    session.driver.wait_window(CAPTION, 20000)
    session.driver.click(CAPTION, 1)
    assert proc.wait(60) == 0


def test_quoted_uninstall_string_names_the_directory_whatever_the_current_one(session):
    install_dir = seed(session, uninstall_string='"%s\\ucorvane.exe"' % INSTALL)
    assert session.registry.query(UNINSTALL_KEY)["UninstallString"][1] == '"%s\\ucorvane.exe"' % INSTALL
    uninstall(session, cwd=r"C:\windows")
    assert sorted(p.name for p in install_dir.iterdir()) == ["ucorvane.exe"]
    session.stop()
    assert session.registry.saved_key(UNINSTALL_KEY) is None
    assert read_rename_lines(session) == [
        r"NUL=C:\Program Files\Corvane\ucorvane.exe", r"NUL=C:\Program Files\Corvane"]


def test_without_uninstall_entry_the_current_directory_is_the_install_directory(session):
    install_dir = seed(session)
    session.registry.delete(UNINSTALL_KEY)
    (install_dir / "Data").mkdir()  # something else stays: no directory line
    uninstall(session, cwd=INSTALL)
    assert sorted(p.name for p in install_dir.iterdir()) == ["Data", "ucorvane.exe"]
    session.stop()
    assert session.registry.saved_key(SETTINGS_KEY) is None
    assert read_rename_lines(session) == [r"NUL=C:\Program Files\Corvane\ucorvane.exe"]
