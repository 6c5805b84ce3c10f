"""The harness itself: a fresh prefix that keeps out of HOME, the driver's steps, registry round trips."""

import harness


def test_prefix_keeps_user_folders_inside_the_prefix(session):
    for name in ("Desktop", "Documents", "Downloads", "Music", "Pictures", "Videos"):
        folder = session.paths.user_dir / name
        assert folder.is_dir() and not folder.is_symlink(), name
    # A file a program saves on the desktop stays in the prefix.
    result = session.wine.run("cmd", "/c", "echo", "hello>" + session.paths.win_path(session.paths.desktop_dir / "note.txt"))
    assert result.returncode == 0
    assert (session.paths.desktop_dir / "note.txt").read_text().strip() == "hello"
    session.check_home()


def test_driver_works_the_dialog(session):
    program = session.wine.start(session.test_bin("emptydialog.exe"))
    session.driver.wait_window("Empty Dialog", 15000)
    lines = session.driver(
        "type", "Empty Dialog", 100, "a\\b",
        "gettext", "Empty Dialog", 100,
        "settext", "Empty Dialog", 100, "C:\\new\\path",
        "gettext", "Empty Dialog", 100,
        "gettext", "Empty Dialog", 0,
        "visible", "Empty Dialog", 100,
        "rect", "Empty Dialog", 0)
    assert lines[1] == "a\\b"
    assert lines[3] == "C:\\new\\path"
    assert lines[4] == "Empty Dialog"
    assert lines[5] == "1"
    left, top, right, bottom = map(int, lines[6].split())
    assert 0 <= left < right <= 1024 and 0 <= top < bottom <= 768
    session.driver.click("Empty Dialog", 1)
    session.driver.wait_gone("Empty Dialog", 10000)
    assert program.wait(10) == 1


def test_driver_reports_a_missing_window(session):
    lines = session.driver("noop", "wait", "No Such Window", 200, check=False)
    assert lines == ["ok"]
    try:
        session.driver("click", "No Such Window", 1)
    except harness.DriverError as e:
        assert "No Such Window" in str(e)
    else:
        raise AssertionError("a click on a missing window must fail")


def test_close_and_session_end_reach_the_program(session):
    program = session.wine.start(session.test_bin("emptydialog.exe"))
    session.driver.wait_window("Empty Dialog", 15000)
    # A dialog that does not object agrees to end the session; ending it is the program's call.
    assert session.driver("endsession", "Empty Dialog", "visible", "Empty Dialog", 0) == ["1", "1"]
    session.driver.close_window("Empty Dialog")
    assert program.wait(10) == 2


def test_registry_survives_the_session_and_is_read_back(session):
    session.registry.import_text(r'''
[HKEY_CURRENT_USER\Software\HarnessProbe]
"Port"=dword:00000330
"Name"="a \"quoted\" value"
"Raw"=hex:01,02,ff
''')
    session.registry.add(r"HKCU\Software\HarnessProbe", "MVol", "REG_DWORD", 127)
    live = session.registry.query(r"HKCU\Software\HarnessProbe")
    assert live["Port"] == ("REG_DWORD", 0x330)
    assert live["MVol"] == ("REG_DWORD", 127)
    assert session.registry.query(r"HKCU\Software\NoSuchKey") is None
    session.stop()
    key = session.registry.saved_key(r"HKCU\Software\HarnessProbe")
    assert key.dword("Port") == 0x330
    assert key.dword("MVol") == 127
    assert key.values["Name"] == ("REG_SZ", 'a "quoted" value')
    assert key.values["Raw"] == ("REG_BINARY", b"\x01\x02\xff")
    assert session.registry.saved_key(r"HKCU\Software\NoSuchKey") is None


def test_registry_writes_reach_the_view_the_programs_see(session):
    """What the harness writes under HKLM\\Software, the build's programs read (the driver has
    their word size); a value written only in the other view stays out of their sight, live and
    in the saved registry alike."""
    key = r"HKLM\Software\HarnessView"
    session.registry.add(key, "Added", "REG_DWORD", 1)
    session.registry.import_text('[HKEY_LOCAL_MACHINE\\Software\\HarnessView]\n"Imported"=dword:00000002\n')
    other = session.registry.other()
    other.add(key, "Other", "REG_DWORD", 3)
    assert session.driver("regvalue", key, "Added", "regvalue", key, "Imported", "regvalue", key, "Other") == [
        "1", "2", "(missing)"]
    assert sorted(session.registry.query(key)) == ["Added", "Imported"]
    session.stop()
    assert sorted(session.registry.saved_key(key).values) == ["Added", "Imported"]
    assert sorted(other.saved_key(key).values) == ["Other"]
