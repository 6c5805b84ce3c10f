"""Settings in files: a file named on the command line opens the panel with its settings (one push,
saved at exit), a damaged one is told and the stored settings stay; /send restores the card without
a window and tells by its exit code; the window menu loads a file through the Open dialog, and a
dump saved by "Save &MIDI" loads back."""

from test_panel_startup import (
    CAPTION, CHANNEL_FIRST, DEFAULTS, KEY, MASTER_VOLUME, REVERB_TYPE, RUN_DIR, SAVE_MIDI, Panel, channel,
    digital_tune, effect, master_volume, reg_text, startup_push)
from test_export_midi_file import expected_file

FILES = r"C:\files"
IDOK = 1


def write_file(session, name, data):
    path = FILES + "\\" + name
    host = session.paths.host_path(FILES)
    host.mkdir(parents=True, exist_ok=True)
    (host / name).write_bytes(bytes(data))
    return path


def midi_file(*events):
    """A format-1 Standard MIDI File: a tempo track, then one track of these (delta, bytes) events."""
    def chunk(kind, body):
        return kind + len(body).to_bytes(4, "big") + body
    tempo = bytes([0, 0xFF, 0x51, 3, 0x07, 0xA1, 0x20, 0, 0xFF, 0x2F, 0])
    track = b"".join(bytes(e) for e in events) + bytes([0, 0xFF, 0x2F, 0])
    return chunk(b"MThd", bytes([0, 1, 0, 2, 0, 96])) + chunk(b"MTrk", tempo) + chunk(b"MTrk", track)


def sysex_event(message):
    return bytes([0, 0xF0, len(message) - 1]) + message[1:]


# What the files below set, as the panel stores it.
FILE_VALUES = {"MVol": 20, "RTyp": 7, "Mute": 0xFFFB, "DTun": 100}
FILE_MESSAGES = [master_volume(20), effect(0, 7), channel(2, False), digital_tune(100)]


def box(session, caption="Tambrel"):
    """Waits for a message box, presses OK; returns its text."""
    return session.driver("msgbox", caption, 20000, "msgtext", "msgpress", IDOK)[1]


def test_a_file_named_at_start_is_pushed_once_and_saved_and_a_damaged_one_changes_nothing(session):
    stored = {"MVol": 90, "CDep": 5}
    session.registry.import_text(reg_text(stored))
    # A sequencer's file: notes with running status around the panel's messages, one split in two.
    tune = FILE_MESSAGES[3]
    events = [[0, 0x90, 60, 100, 10, 62, 100]] + [sysex_event(m) for m in FILE_MESSAGES[:3]]
    events += [[0, 0xF0, 4, *tune[1:5]], [5, 0xF7, len(tune) - 5, *tune[5:]], [0, 0x80, 60, 0]]
    path = write_file(session, "my settings.mid", midi_file(*events))

    panel = Panel(session).start(path)
    expected = dict(stored, **FILE_VALUES)
    assert panel.new_messages() == startup_push(expected), "one push, with the file's values"
    assert session.driver("check", CAPTION, CHANNEL_FIRST + 2, "cursel", CAPTION, REVERB_TYPE) == ["0", "7"]
    panel.close()
    key = panel.stored()
    assert {name: key.dword(name) for name in expected} == expected

    # A file cut short: the panel says so, naming it, and runs with what was stored.
    damaged = write_file(session, "cut.mid", midi_file(*events)[:-9])
    panel = Panel(session)
    panel.process = session.wine.start(session.bin("TambrelSim.exe"), damaged, cwd=RUN_DIR + "2")
    text = box(session)
    assert damaged in text and "damaged" in text
    assert session.sysex(RUN_DIR + "2") == startup_push(expected)
    session.driver.close_window(CAPTION)
    panel.process.wait(30)
    key = panel.stored()
    assert {name: key.dword(name) for name in expected} == expected


def test_send_restores_the_card_without_a_window_and_tells_by_its_exit_code(session):
    session.registry.import_text(reg_text({"MVol": 90}))
    sim = session.bin("TambrelSim.exe")

    done = session.wine.run(sim, "/send", cwd=r"C:\send1", timeout=60)
    assert done.returncode == 0
    assert session.sysex(r"C:\send1") == startup_push({"MVol": 90})

    dump = write_file(session, "state.syx", b"".join(FILE_MESSAGES))
    done = session.wine.run(sim, "-SEND", dump, cwd=r"C:\send2", timeout=60)
    assert done.returncode == 0
    assert session.sysex(r"C:\send2") == startup_push(dict({"MVol": 90}, **FILE_VALUES))
    assert session.driver("regvalue", KEY, "RTyp") == ["7"], "a file applied is saved"

    # A damaged file: its box, nothing sent, nothing saved.
    broken = write_file(session, "broken.syx", FILE_MESSAGES[0][:-1])
    process = session.wine.start(sim, "/send", broken, cwd=r"C:\send3")
    text = box(session)
    assert process.wait(30) == 2
    assert broken in text and "damaged" in text
    assert session.sysex(r"C:\send3") == []

    # An unknown switch or two files: how to start the panel.
    for args in (["/sned"], [dump, dump]):
        process = session.wine.start(sim, *args, cwd=r"C:\send4")
        assert "/send" in box(session)
        assert process.wait(30) == 2

    # The real card's program on a system that refuses it the ports: the panel's own box, code 1.
    process = session.wine.start(session.bin("Tambrel.exe"), "/send", cwd=r"C:\send5")
    assert "port 330h" in box(session)
    assert process.wait(30) == 1
    session.stop()
    key = session.registry.saved_key(KEY)
    assert key.dword("MVol") == 20 and key.dword("RTyp") == 7


def test_the_window_menu_loads_a_dump_that_save_midi_wrote(session):
    panel = Panel(session).start()
    panel.new_messages()
    saved = r"C:\out\state.syx"
    session.paths.host_path(r"C:\out").mkdir(parents=True, exist_ok=True)
    session.driver("click", CAPTION, SAVE_MIDI, "wait", "Save As", 15000,
                   "settext", "Save As", 1148, saved, "command", "Save As", IDOK,
                   "gone", "Save As", 15000, "enabled", CAPTION, 15000)
    # The same 19 messages as the MIDI file, back to back: F0 and each event's bytes after its length.
    midi = expected_file()
    events, at = [], 22 + 7
    while midi[at + 1] == 0xF0:
        length = midi[at + 2]
        events.append(b"\xF0" + midi[at + 3:at + 3 + length])
        at += 3 + length
    assert session.paths.host_path(saved).read_bytes() == b"".join(events)
    assert len(events) == 19

    session.driver("slide", CAPTION, MASTER_VOLUME, 5)
    assert panel.new_messages() == [master_volume(5)]

    # Alt+Space, L: the window menu's "&Load settings..." opens the Open dialog.
    left, top, right, _ = session.driver.control_rect(CAPTION, 0)
    session.screen.mouse_click((left + right) // 2, top + 8)
    session.screen.press_keys("alt+space")
    session.screen.press_keys("l")
    session.driver("wait", "Open", 15000, "settext", "Open", 1148, saved, "command", "Open", IDOK,
                   "gone", "Open", 15000, "enabled", CAPTION, 15000)
    assert panel.new_messages(wait_for=35) == startup_push(), "the saved state, pushed once"
    assert session.driver.trackbar_pos(CAPTION, MASTER_VOLUME) == 127
    panel.close()
    assert panel.stored().dword("MVol") == DEFAULTS["MVol"]
