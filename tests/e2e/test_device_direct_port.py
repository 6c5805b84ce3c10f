"""The shipped panel (Tambrel.exe, direct port access) on a system that refuses port access, as
Wine does: the panel still opens, tells the user once with the port in hex, stays usable, and
nothing it does afterwards faults or waits again. On the NT family (Wine's default) the text says
which port-driver library to put where; on the 9x family (Wine told to be Windows 98) it says that
direct access is refused."""

import pytest

from test_panel_port_driver import APP_DEFAULTS, NO_DRIVER, REFUSED, inpout

CAPTION = "Tambrel"
PANIC, MASTER_VOLUME, REVERB_LEVEL = 2120, 1000, 3101


def open_panel(session, port=None):
    if port is not None:
        session.registry.add(r"HKCU\Software\Tambrel", "Port", "REG_DWORD", port)
    process = session.wine.start(session.bin("Tambrel.exe"), cwd="C:\\")
    session.driver.wait_window(CAPTION, 30000)
    return process


@pytest.mark.parametrize("stored, shown, family", [(None, 0x330, "nt"), (0x10300, 0x300, "nt"),
                                                   (0x10300, 0x300, "9x")])
def test_refused_access_is_told_once_with_the_port(session, stored, shown, family):
    if family == "9x":
        session.registry.add(APP_DEFAULTS, "Version", "REG_SZ", "win98")
    process = open_panel(session, stored)
    lines = session.driver("msgbox", CAPTION, 15000, "msgtext", "msgpress", 1, "enabled", CAPTION, 10000)
    if family == "9x":
        assert lines[1] == REFUSED % shown
    else:
        folder = session.paths.win_path(session.bin("Tambrel.exe").parent)
        assert lines[1] == NO_DRIVER % (shown, inpout(), folder)

    # Every later message and a Panic are dropped at once: no second box, the panel answers.
    lines = session.driver("slide", CAPTION, MASTER_VOLUME, 90,
                           "slide", CAPTION, REVERB_LEVEL, 10,
                           "click", CAPTION, PANIC,
                           "getpos", CAPTION, MASTER_VOLUME,
                           "windows")
    assert lines[3] == "90"
    assert lines[4] == CAPTION

    session.driver.close_window(CAPTION)
    assert process.wait(30) == 0
    session.stop()
    assert session.registry.saved_key(r"HKCU\Software\Tambrel").dword("MVol") == 90
    session.check_home()
