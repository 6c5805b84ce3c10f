"""One panel at a time: a start of TambrelSim.exe while its panel is open opens no second panel and
touches no port (no trace in its folder); the open panel does what was asked, and the start ends
with the open panel's answer."""

from test_panel_settings_files import FILE_MESSAGES, FILE_VALUES, FILES, box, write_file
from test_panel_startup import CAPTION, MASTER_VOLUME, Panel, master_volume, startup_push


def start_beside(session, *args, cwd):
    """Starts TambrelSim.exe while the panel is open: its exit code, and whether it wrote a trace."""
    code = session.wine.start(session.bin("TambrelSim.exe"), *args, cwd=cwd).wait(30)
    return code, (session.paths.folder(cwd) / "mpu401-trace.txt").exists()


def test_a_second_start_with_a_file_loads_it_in_the_open_panel(session):
    panel = Panel(session).start()
    panel.new_messages()
    # The bare name, from the file's own folder (as Explorer starts a program for a file).
    write_file(session, "night.syx", b"".join(FILE_MESSAGES))
    assert start_beside(session, "night.syx", cwd=FILES) == (0, False)
    assert panel.new_messages(wait_for=35) == startup_push(FILE_VALUES)

    # A file cut short: the start has its answer while the open panel's box still shows.
    broken = write_file(session, "cut.syx", FILE_MESSAGES[0][:-1])
    assert start_beside(session, broken, cwd=r"C:\second") == (2, False)
    assert "damaged" in box(session)
    assert session.driver("windows") == [CAPTION]
    panel.close()
    key = panel.stored()
    assert {name: key.dword(name) for name in FILE_VALUES} == FILE_VALUES


def test_send_while_the_panel_is_open_sends_the_open_panels_state_through_it(session):
    panel = Panel(session).start()
    panel.new_messages()
    session.driver("slide", CAPTION, MASTER_VOLUME, 50)
    assert panel.new_messages() == [master_volume(50)]
    assert start_beside(session, "/send", cwd=r"C:\send") == (0, False)
    assert panel.new_messages(wait_for=35) == startup_push({"MVol": 50}), "the state it shows, not the stored one"

    dump = write_file(session, "state.syx", b"".join(FILE_MESSAGES))
    assert start_beside(session, "-SEND", dump, cwd=r"C:\send") == (0, False)
    assert panel.new_messages(wait_for=35) == startup_push(FILE_VALUES)
    assert session.driver.trackbar_pos(CAPTION, MASTER_VOLUME) == 20
    panel.close()
