"""The panel through a MIDI output device of the system (winmm) instead of the card's ports.

The device is the project's own stand-in driver (test-bin/midi-driver/winetambrelmidi.drv, built in
the build's word size), which Wine 8's winmm loads as its audio driver once the registry names it
(HKCU\\Software\\Wine\\Drivers "Audio"="tambrelmidi"). It offers "Stand-in MIDI 1" and "Stand-in MIDI
2" and writes every driver message with its bytes to midi-driver-log.txt in the current folder;
the files "midi-busy" and "midi-late" there make it refuse every open as in use, or finish each
buffer 30 ms later on another thread. Later Wine versions load audio drivers differently: there
these scenarios say so and skip.
"""

import re
import shutil
import time

import pytest

import harness
import wine_env
from test_panel_port_driver import PROGRAM_DIR, RealPanel, install_panel, inpout, loads, put_standin, system_dir
from test_panel_startup import CAPTION, KEY, MASTER_VOLUME, PANIC, RUN_DIR, Panel, master_volume, startup_push

DEVICES = ["Stand-in MIDI 1", "Stand-in MIDI 2"]
OUTPUT = "MIDI Output"
OUTPUT_LIST = 4001
LOG = "midi-driver-log.txt"
MISSING = 'There is no MIDI output "%s". Choose one with "MIDI output..." (window menu).'
NOT_OPENED = 'The MIDI output "%s" cannot be opened: '


@pytest.fixture(autouse=True)
def wine_8():
    version = wine_env.wine_version()
    if not re.match(r"wine-8\.", version):
        pytest.skip("the stand-in MIDI driver needs Wine 8's winmm, which loads it as an audio driver; "
                    "this is %s" % version)


def install_midi_driver(session, *switches):
    """The stand-in in the system folder, named as Wine's audio driver, and its switches in RUN_DIR."""
    system = system_dir(session)
    shutil.copy(harness.build_dir() / "test-bin" / "midi-driver" / "winetambrelmidi.drv", system)
    session.registry.add(r"HKCU\Software\Wine\Drivers", "Audio", "REG_SZ", "tambrelmidi")
    run = session.paths.host_path(RUN_DIR)
    run.mkdir(parents=True, exist_ok=True)
    for name in switches:
        (run / name).write_text("")


def choose(session, device):
    session.registry.add(KEY, "MOut", "REG_SZ", device)


def driver_log(session):
    path = session.paths.host_path(RUN_DIR) / LOG
    return path.read_text().splitlines() if path.exists() else []


def sent(lines, device=2):
    """The system-exclusive messages the driver took for device 1 or 2, in order."""
    prefix = "longdata %d " % device
    return [bytes.fromhex(line[len(prefix):]) for line in lines if line.startswith(prefix)]


def wait_for_sent(session, count, device=2, timeout=20.0):
    deadline = time.monotonic() + timeout
    while len(sent(driver_log(session), device)) < count and time.monotonic() < deadline:
        time.sleep(0.05)
    return sent(driver_log(session), device)


def assert_let_go(lines, device=2):
    """Every header the panel prepared was unprepared as soon as the driver was done with it, and
    the device was closed last."""
    assert lines[-1] == "close %d" % device
    assert not [line for line in lines if "still playing" in line]
    work = [line.split(" ")[0] for line in lines if line.split(" ")[0] in ("prepare", "longdata", "unprepare")]
    assert len(work) % 3 == 0 and work == ["prepare", "longdata", "unprepare"] * (len(work) // 3)


def test_the_chosen_device_gets_the_state_a_control_and_panic_and_is_let_go_at_exit(session):
    install_midi_driver(session)
    choose(session, DEVICES[1])
    exe = install_panel(session)
    put_standin(session, inpout(), PROGRAM_DIR)

    panel = RealPanel(session, exe).open()
    assert wait_for_sent(session, 35) == startup_push()
    session.driver("slide", CAPTION, MASTER_VOLUME, 90)
    assert sent(driver_log(session))[35:] == [master_volume(90)]
    session.driver("click", CAPTION, PANIC)
    assert driver_log(session)[-1] == "reset 2"
    assert session.driver("windows") == [CAPTION], "no message box"
    panel.close()
    assert panel.process.returncode == 0

    lines = driver_log(session)
    # The second device directly: never the first, never both through the MIDI Mapper.
    assert [line for line in lines if line.startswith("open")] == ["open 2"]
    assert sent(lines, 1) == []
    assert_let_go(lines)
    assert loads(session) == [], "no port library is looked for while a device is chosen"
    assert panel.events() == [], "no port is touched"
    assert panel.stored().values["MOut"] == ("REG_SZ", DEVICES[1])


def test_a_missing_device_and_a_busy_one_are_each_told_once_by_name_and_get_nothing(session):
    install_midi_driver(session)
    exe = install_panel(session)
    choose(session, "Gone MIDI")
    panel = RealPanel(session, exe).open()
    assert panel.box() == MISSING % "Gone MIDI"
    session.driver("slide", CAPTION, MASTER_VOLUME, 90, "click", CAPTION, PANIC)
    assert session.driver("windows") == [CAPTION], "told once"
    panel.close()
    assert [line for line in driver_log(session) if not line.startswith("message")] == []

    (session.paths.host_path(RUN_DIR) / "midi-busy").write_text("")
    choose(session, DEVICES[1])
    panel = RealPanel(session, exe).open()
    text = panel.box()
    assert text.startswith(NOT_OPENED % DEVICES[1]), text
    assert "in use" in text, "the system's words say why"
    session.driver("slide", CAPTION, MASTER_VOLUME, 80, "click", CAPTION, PANIC)
    assert session.driver("windows") == [CAPTION]
    panel.close()
    assert driver_log(session) == ["open 2 busy"]
    assert panel.stored().values["MOut"] == ("REG_SZ", DEVICES[1]), "the choice stays until the user makes another"


def test_a_driver_that_finishes_late_gets_the_whole_push_in_order_without_a_box(session):
    install_midi_driver(session, "midi-late")
    choose(session, DEVICES[1])
    panel = RealPanel(session, session.bin("Tambrel.exe")).open()
    assert wait_for_sent(session, 35) == startup_push()
    assert session.driver("windows") == [CAPTION]
    panel.close()
    # /send takes the same way: the whole state to the chosen device, without a window.
    assert session.wine.run(session.bin("Tambrel.exe"), "/send", cwd=RUN_DIR).returncode == 0
    assert sent(driver_log(session)) == startup_push() * 2
    assert_let_go(driver_log(session))


def open_output_dialog(session):
    """Alt+Space, then O: the window menu's "MIDI output..." with real keys."""
    left, top, right, _ = session.driver.control_rect(CAPTION, 0)
    # A click on the caption gives the panel the keyboard. The pointer leaves the spot first: a
    # synchronous move to where it already is would wait for a motion that never comes.
    session.screen.xdotool("mousemove", left + 2, top + 2)
    session.screen.mouse_click((left + right) // 2, top + 8)
    session.screen.press_keys("alt+space")
    session.screen.press_keys("o")
    session.driver.wait_window(OUTPUT, 10000)


def test_the_window_menu_chooses_a_device_which_gets_the_state_and_stays_chosen(session):
    install_midi_driver(session)
    panel = Panel(session).start()
    assert panel.new_messages() == startup_push()

    open_output_dialog(session)
    assert session.driver.list_items(OUTPUT, OUTPUT_LIST) == ["Card at port 330h (direct)"] + DEVICES
    assert session.driver("listsel", OUTPUT, OUTPUT_LIST, "focused", OUTPUT) == ["0", str(OUTPUT_LIST)]
    assert session.driver("windows") == ["%s (owned) | %s (disabled)" % (OUTPUT, CAPTION)]
    session.driver("key", OUTPUT, "DOWN", "key", OUTPUT, "DOWN", "listsel", OUTPUT, OUTPUT_LIST,
                   "key", OUTPUT, "RETURN", "gone", OUTPUT, 10000, "enabled", CAPTION, 10000)
    assert wait_for_sent(session, 35) == startup_push()
    assert panel.new_messages() == [], "the card gets nothing once a device is chosen"
    panel.close()
    assert driver_log(session)[0] == "open 2"
    assert panel.stored().values["MOut"] == ("REG_SZ", DEVICES[1])

    # The next start: the device again, the card model nothing; Escape keeps the choice.
    (session.paths.host_path(RUN_DIR) / LOG).unlink()
    (session.paths.host_path(RUN_DIR) / harness.TRACE_NAME).unlink()
    panel = Panel(session)
    panel.process = session.wine.start(session.bin("TambrelSim.exe"), cwd=RUN_DIR)
    session.driver.wait_window(CAPTION, 30000)
    assert wait_for_sent(session, 35) == startup_push()
    open_output_dialog(session)
    assert session.driver("listsel", OUTPUT, OUTPUT_LIST) == ["2"]
    session.driver("key", OUTPUT, "ESCAPE", "gone", OUTPUT, 10000, "enabled", CAPTION, 10000)
    panel.close()
    assert len(sent(driver_log(session))) == 35, "Cancel sends nothing"
    assert panel.messages() == []
