"""The "Save &MIDI" button of the running panel: the file on disk is the panel's state byte for
byte, a MIDI file library reads it, saving again over it asks first and gives the same file, a
path that cannot be created is reported and leaves nothing, and the card hears the next change."""

import time

import mido

CAPTION = "Tambrel"
SAVE_AS = "Save As"
RUN_DIR = r"C:\run"
OUT_DIR = r"C:\out"
SAVE_MIDI = 1040
TARGET = 2149
MASTER_TUNE = 1002
DIGITAL_VOLUME = 2018
DIGITAL_REVERB = 2025
FILE_NAME_BOX = 1148
IDOK, IDYES = 1, 6


# ---- the expected file, from the file format and the card's message rules ----

def data_set(model, address_and_data):
    checksum = (128 - sum(address_and_data) % 128) % 128
    return bytes([0x41, 0x10, model, 0x12, *address_and_data, checksum, 0xF7])


def sysex_event(delta, message):
    return bytes([delta, 0xF0, len(message)]) + message


def part_of(n):
    return n + 1 if n < 9 else (0 if n == 9 else n)


DEFAULTS = dict(MVol=127, MTrn=64, MTun=1000, DTun=0x2000, Mute=0xFFFF, RTyp=4,
                effects=[64, 64, 64, 0, 64, 19, 19, 3, 19],  # RLev .. CDep
                digital=dict(DVol=127, DBrt=127, DRat=2, DTrn=0, DPan=64, DRev=100, DCho=0))


def expected_file(state=DEFAULTS, target="Stereo"):
    hi, base = {"Stereo": (3, 0), "Left": (2, 0), "Right": (2, 10)}[target]
    events = [sysex_event(0, data_set(0x56, [0, 0, 0, state["RTyp"], *state["effects"]]))]
    for n in range(15, -1, -1):
        receive = n if state["Mute"] >> n & 1 else 0x10
        events.append(sysex_event(8, data_set(0x56, [1, part_of(n), 0, receive])))
    tune = state["MTun"] + 24
    nibbles = [tune >> 12, tune >> 8 & 15, tune >> 4 & 15, tune & 15]
    events.append(sysex_event(8, data_set(0x42, [0x40, 0, 0, *nibbles, state["MVol"], state["MTrn"]])))
    d = state["digital"]
    events.append(sysex_event(8, data_set(0x56, [hi, 0, base + 2, d["DVol"], d["DBrt"], d["DRat"], d["DTrn"],
                                                 state["DTun"] >> 7, state["DTun"] & 127, d["DPan"], d["DRev"],
                                                 d["DCho"]])))
    track = bytes([0, 0xFF, 0x51, 3, 0x07, 0xA1, 0x20]) + b"".join(events) + bytes([0, 0xFF, 0x2F, 0])
    return (b"MThd" + bytes([0, 0, 0, 6, 0, 0, 0, 1, 0, 96]) + b"MTrk" + len(track).to_bytes(4, "big") + track)


# ---- the panel in a session ----

class Panel:
    def __init__(self, session):
        self.session = session
        self.process = session.wine.start(session.bin("TambrelSim.exe"), cwd=RUN_DIR)
        session.driver.wait_window(CAPTION, 30000)
        self.wait_for_messages(35)
        self.seen = len(self.messages())
        session.paths.host_path(OUT_DIR).mkdir(parents=True, exist_ok=True)

    def messages(self):
        return self.session.sysex(RUN_DIR)

    def wait_for_messages(self, count, limit=20.0):
        deadline = time.monotonic() + limit
        while True:
            messages = self.messages()
            if len(messages) >= count and messages[-1][-1:] == b"\xF7" or time.monotonic() > deadline:
                return messages

            time.sleep(0.05)

    def new_messages(self):
        messages = self.messages()
        fresh, self.seen = messages[self.seen:], len(messages)
        return fresh

    def open_save_dialog(self):
        self.session.driver("click", CAPTION, SAVE_MIDI, "wait", SAVE_AS, 15000)

    def save_as(self, path):
        """Chooses `path` in the save dialog and confirms; returns once the dialog is gone."""
        self.open_save_dialog()
        self.session.driver("settext", SAVE_AS, FILE_NAME_BOX, path, "command", SAVE_AS, IDOK)

    def finished(self):
        """Waits until the panel takes input again (no modal window left)."""
        self.session.driver("gone", SAVE_AS, 15000, "enabled", CAPTION, 15000)

    def button_caption(self):
        return self.session.driver.get_text(CAPTION, SAVE_MIDI)

    def close(self):
        self.session.driver.close_window(CAPTION)
        assert self.process.wait(30) == 0


def answer_message_box(session, caption, button):
    """Waits for a message box, presses `button`; returns the box's text."""
    return session.driver("msgbox", caption, 15000, "msgtext", "msgpress", button)[1]


def reverb_message(value):
    return bytes([0xF0]) + data_set(0x56, [3, 0, 9, value])


def test_saved_file_is_the_state_byte_for_byte_and_saving_again_replaces_it(session):
    panel = Panel(session)
    path = OUT_DIR + r"\panel state.mid"
    panel.save_as(path)
    panel.finished()
    saved = session.paths.host_path(path).read_bytes()
    assert saved == expected_file()
    assert len(saved) == 302 and saved[20:22] == b"\x01\x18"
    assert panel.button_caption() == "Save &MIDI"
    assert panel.new_messages() == [], "nothing of the export may reach the card"

    midi = mido.MidiFile(str(session.paths.host_path(path)))
    assert (midi.type, midi.ticks_per_beat, len(midi.tracks)) == (0, 96, 1)
    track = list(midi.tracks[0])
    assert (track[0].type, track[0].tempo) == ("set_tempo", 500000)
    assert [m.type for m in track[1:20]] == ["sysex"] * 19
    assert [m.time for m in track[1:20]] == [0] + [8] * 18
    assert track[20].type == "end_of_track"

    # Again under the same name: the dialog asks before replacing; the new file is the same.
    session.paths.host_path(path).write_bytes(b"older contents")
    panel.save_as(path)
    text = answer_message_box(session, "*", IDYES)
    assert "already exists" in text
    panel.finished()
    assert session.paths.host_path(path).read_bytes() == saved

    # The panel is live again: the next slider move reaches the card.
    session.driver("slide", CAPTION, DIGITAL_REVERB, 90)
    assert panel.new_messages() == [reverb_message(90)]
    panel.close()


def test_saved_file_follows_changed_settings_target_and_controls(session):
    session.registry.import_text(r'''
[HKEY_CURRENT_USER\Software\Tambrel]
"Mute"=dword:0000a50f
"RTyp"=dword:00000006
"MVol"=dword:00000050
"MTrn"=dword:00000034
"DRat"=dword:00000001
"DPan"=dword:00000020
"CDep"=dword:0000007f
''')
    panel = Panel(session)
    session.driver("click", CAPTION, TARGET, "click", CAPTION, TARGET,
                   "setpos", CAPTION, MASTER_TUNE, 1999, "setpos", CAPTION, DIGITAL_VOLUME, 5)
    assert session.driver.get_text(CAPTION, TARGET) == "Ri&ght"
    path = OUT_DIR + r"\changed.mid"
    panel.save_as(path)
    panel.finished()

    state = dict(DEFAULTS, Mute=0xA50F, RTyp=6, MVol=0x50, MTrn=0x34, MTun=1999,
                 effects=DEFAULTS["effects"][:8] + [127],
                 digital=dict(DEFAULTS["digital"], DVol=5, DRat=1, DPan=0x20))
    assert session.paths.host_path(path).read_bytes() == expected_file(state, "Right")
    assert panel.new_messages() == []
    session.driver("slide", CAPTION, DIGITAL_REVERB, 3)
    assert panel.new_messages() == [bytes([0xF0]) + data_set(0x56, [2, 0, 10 + 9, 3])]
    panel.close()


def test_cancel_or_a_path_that_cannot_be_created_leaves_no_file(session):
    panel = Panel(session)
    panel.open_save_dialog()
    session.driver("command", SAVE_AS, 2)  # cancel: nothing happens
    panel.finished()
    assert list(session.paths.host_path(OUT_DIR).iterdir()) == []
    assert panel.button_caption() == "Save &MIDI"

    path = OUT_DIR + r"\no such folder\state.mid"
    panel.save_as(path)
    text = answer_message_box(session, CAPTION, IDOK)
    assert text == "Can't create the MIDI file!"
    panel.finished()
    assert list(session.paths.host_path(OUT_DIR).iterdir()) == []
    assert panel.button_caption() == "Save &MIDI"
    assert panel.new_messages() == []

    session.driver("slide", CAPTION, DIGITAL_REVERB, 90)
    assert panel.new_messages() == [reverb_message(90)]
    panel.close()
