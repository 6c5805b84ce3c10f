"""The window menu's "Restore the card at &Windows start": checked when the value "TambrelSim" under
the per-user Run key starts this program file with /send; choosing it writes or deletes that value."""

import re
import time

from test_panel_startup import CAPTION, Panel

RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"


def wait_until(condition, what, timeout=20.0):
    deadline = time.monotonic() + timeout
    while not (result := condition()):
        assert time.monotonic() < deadline, "waited in vain for " + what
        time.sleep(0.1)
    return result


def picture(session, rect):
    """The panel's area of the screen, where its window menu opens, as binary PPM."""
    return session.screen.screenshot(session.logs / "menu.ppm", rect).read_bytes()


def use_menu(session, rect, key):
    """Opens the window menu of the panel at rect with real keys (Alt+Space), then presses key;
    returns the menu's picture once it had stopped changing. After Escape, waits until it closed."""
    left, top, right, _ = rect
    # A click on the caption gives the panel the keyboard; the pointer leaves the spot first, since a
    # synchronous move to where it already is would wait for a motion that never comes.
    session.screen.xdotool("mousemove", left + 2, top + 2)
    session.screen.mouse_click((left + right) // 2, top + 8)
    closed = picture(session, rect)
    session.screen.press_keys("alt+space")
    shown = wait_until(lambda: (p := picture(session, rect)) != closed and p, "the window menu")
    while (again := picture(session, rect)) != shown:
        shown = again
    session.screen.press_keys(key)
    if key == "Escape":
        wait_until(lambda: picture(session, rect) == closed, "the window menu to close")
    return shown


def changed_columns(a, b):
    """The columns, from the pictures' left, in which two PPM pictures differ."""
    header = re.match(rb"P6\s+(\d+)\s+\d+\s+(\d+)\s", a)
    width, step = int(header[1]), 3 * (2 if int(header[2]) > 255 else 1)
    return sorted({i // step % width for i, (x, y) in enumerate(zip(a[header.end():], b[header.end():])) if x != y})


def stored(session):
    return (session.registry.query(RUN_KEY) or {}).get("TambrelSim")


def test_the_window_menu_item_writes_and_deletes_the_run_value_and_shows_whether_it_starts_this_program(session):
    entry = ("REG_SZ", '"%s" /send' % session.paths.win_path(session.bin("TambrelSim.exe")))
    panel = Panel(session).start()
    rect = session.driver.control_rect(CAPTION, 0)
    assert stored(session) is None
    unchecked = use_menu(session, rect, "Escape")

    use_menu(session, rect, "w")
    assert wait_until(lambda: stored(session), "the value") == entry
    checked = use_menu(session, rect, "Escape")
    columns = changed_columns(unchecked, checked)
    assert columns and columns[-1] < 40, "only the check mark's column changes: %s" % columns

    use_menu(session, rect, "w")
    wait_until(lambda: stored(session) is None, "the value to go")
    assert use_menu(session, rect, "Escape") == unchecked

    # A value that starts another file (the program was moved): unchecked, and replaced when chosen.
    moved = ("REG_SZ", r'"C:\Old\TambrelSim.exe" /send')
    session.registry.add(RUN_KEY, "TambrelSim", "REG_SZ", moved[1])
    assert stored(session) == moved
    assert use_menu(session, rect, "Escape") == unchecked
    use_menu(session, rect, "w")
    assert wait_until(lambda: stored(session) != moved and stored(session), "the new value") == entry
    assert use_menu(session, rect, "Escape") == checked
    panel.close()
