"""Opening the panel (TambrelSim.exe with the card model): the whole state reaches the card, byte for
byte, in its fixed order, and every control shows it.

The expected messages are worked out here from the message rules, independently of the program.
The other panel scenario files import the helpers below.
"""

import time
from pathlib import Path

import harness

CAPTION = "Tambrel"
RUN_DIR = "C:\\run"
KEY = r"HKCU\Software\Tambrel"

DEFAULTS = {
    "Port": 0x330, "MVol": 127, "MTrn": 64, "MTun": 1000, "DTun": 8192, "Mute": 0xFFFF,
    "DCho": 0, "DRev": 100, "DPan": 64, "DTrn": 0, "DRat": 2, "DBrt": 127, "DVol": 127,
    "CDep": 19, "CRat": 3, "CDel": 19, "CFed": 19, "CLev": 64, "DFed": 0, "DTim": 64,
    "RDec": 64, "RLev": 64, "RTyp": 4,
}

# Control identifiers.
MASTER_VOLUME, MASTER_TUNE, MASTER_TRANSPOSE_SPIN, MASTER_TRANSPOSE = 1000, 1002, 1004, 1006
CHANNEL_FIRST = 1024
DIGITAL_VOLUME, DIGITAL_BRIGHTNESS, DIGITAL_TUNE = 2018, 2019, 2022
DIGITAL_TRANSPOSE, DIGITAL_REVERB, DIGITAL_CHORUS = 2023, 2025, 2026
PANIC, TARGET, SAVE_MIDI = 2120, 2149, 1040
REVERB_TYPE, REVERB_LEVEL, REVERB_DECAY, DELAY_TIME, DELAY_FEEDBACK = 3100, 3101, 3102, 3103, 3104
CHORUS_LEVEL, CHORUS_DEPTH = 3105, 3109
DECAY_LABEL, REPEAT_LABEL, TIME_LABEL = 3150, 3151, 3152

TYPE_NAMES = ["Room 1", "Room 2", "Room 3", "Hall 1", "Hall 2", "Plate", "Delay", "Pan Delay"]

# Where a digital-audio parameter goes for each target: (address high byte, base added to the offset).
TARGETS = {"stereo": (0x03, 0x00), "left": (0x02, 0x00), "right": (0x02, 0x0A)}


# ---------------------------------------------------------------- the message rules

def checksum(body):
    return (128 - sum(body) % 128) % 128


def data_set(model, body):
    return bytes([0xF0, 0x41, 0x10, model, 0x12] + list(body) + [checksum(body), 0xF7])


def master_volume(value):
    return bytes([0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, value, 0xF7])


def master_tune(position):
    v = position + 24
    return data_set(0x42, [0x40, 0x00, 0x00, v >> 12, (v >> 8) & 15, (v >> 4) & 15, v & 15])


def key_shift(device_value):
    return data_set(0x42, [0x40, 0x00, 0x05, device_value])


def effect(index, value):
    return data_set(0x56, [0x00, 0x00, index, value])


def digital(offset, value, target="stereo"):
    high, base = TARGETS[target]
    return data_set(0x56, [high, 0x00, base + offset, value])


def digital_tune(value, target="stereo"):
    high, base = TARGETS[target]
    return data_set(0x56, [high, 0x00, base + 6, (value >> 7) & 0x7F, value & 0x7F])


def channel(n, receives):
    part = n + 1 if n <= 8 else (0 if n == 9 else n)
    return data_set(0x56, [0x01, part, 0x00, n if receives else 0x10])


def startup_push(values=None):
    """The 35 messages of opening the panel with these stored values (target Stereo)."""
    s = dict(DEFAULTS, **(values or {}))
    return [
        master_volume(s["MVol"]),
        digital(2, s["DVol"]), digital(3, s["DBrt"]), digital_tune(s["DTun"]),
        digital(9, s["DRev"]), digital(10, s["DCho"]),
        master_tune(s["MTun"]),
        key_shift(s["MTrn"]),
        digital(5, s["DTrn"]),
        effect(1, s["RLev"]), effect(2, s["RDec"]), effect(3, s["DTim"]), effect(4, s["DFed"]),
        effect(5, s["CLev"]), effect(6, s["CFed"]), effect(7, s["CDel"]), effect(8, s["CRat"]),
        effect(9, s["CDep"]),
        effect(0, s["RTyp"]),
    ] + [channel(n, (s["Mute"] >> n) & 1) for n in range(16)]


def reg_text(values):
    """REGEDIT4 text that stores these values as REG_DWORD under the panel's key."""
    lines = ["[HKEY_CURRENT_USER\\Software\\Tambrel]"]
    lines += ['"%s"=dword:%08x' % (name, value) for name, value in values.items()]
    return "\n".join(lines) + "\n"


# ---------------------------------------------------------------- one run of the panel

class Panel:
    """TambrelSim.exe in a session, with its card trace in RUN_DIR."""

    def __init__(self, session):
        self.session = session
        self.seen = 0
        self.events_seen = 0
        self.process = None

    def start(self, *args):
        """Starts the panel (with these command-line arguments) and waits for its start-up push."""
        self.seen = 0
        self.events_seen = 0
        self.process = self.session.wine.start(self.session.bin("TambrelSim.exe"), *args, cwd=RUN_DIR)
        self.session.driver.wait_window(CAPTION, 30000)
        self.wait_for_messages(35)
        return self

    def messages(self):
        return self.session.sysex(RUN_DIR)

    def events(self):
        return self.session.trace(RUN_DIR)

    def wait_for_messages(self, count, timeout=10.0):
        """Waits until the trace holds at least `count` messages (the program writes each byte
        as it goes); returns them all."""
        deadline = time.monotonic() + timeout
        while True:
            messages = self.messages()
            if len(messages) >= count and messages[-1][-1:] == b"\xF7":
                return messages
            if time.monotonic() > deadline:
                return messages
            time.sleep(0.05)

    def new_messages(self, wait_for=0):
        """The messages the card received since the last call. Driver steps return once the
        program has handled them, so no waiting is needed; real input waits for `wait_for`."""
        messages = self.wait_for_messages(self.seen + wait_for) if wait_for else self.messages()
        fresh = messages[self.seen:]
        self.seen = len(messages)
        return fresh

    def new_events(self):
        events = self.events()
        fresh = events[self.events_seen:]
        self.events_seen = len(events)
        self.seen = len(self.messages())
        return fresh

    def driver(self, *steps):
        args = []
        for step in steps:
            args.extend(step)
        return self.session.driver(*args)

    def text(self, control):
        return self.session.driver.get_text(CAPTION, control)

    def visible(self, control):
        return self.session.driver("visible", CAPTION, control)[0] == "1"

    def close(self):
        """Closes the panel as a user does and waits for the program's end."""
        self.session.driver.close_window(CAPTION)
        self.process.wait(30)

    def stored(self):
        """The panel's key after the session has ended (the registry written out)."""
        self.session.stop()
        return self.session.registry.saved_key(KEY)


def screenshot_of_dialog(session, path):
    """The panel window alone, cut out of a screenshot of the session's screen."""
    import subprocess
    left, top, right, bottom = session.driver.control_rect(CAPTION, 0)
    full = session.screen.screenshot(Path(path).with_suffix(".screen.png"))
    subprocess.run(["convert", str(full), "-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top),
                    "+repage", str(path)], check=True)
    full.unlink()
    return Path(path)


# ---------------------------------------------------------------- scenarios

def test_first_start_sends_the_default_state_byte_for_byte(session):
    panel = Panel(session).start()

    sent = panel.new_messages()
    assert sent == startup_push()
    assert sum(len(m) for m in sent) == 386
    # Nothing but data bytes: no reset exchange, no register write, no interrupt masking.
    assert all(str(e).startswith("OUT 0330 ") for e in panel.new_events())

    values = session.driver(
        "getpos", CAPTION, MASTER_VOLUME, "getpos", CAPTION, MASTER_TUNE, "getpos", CAPTION, DIGITAL_TUNE,
        "getpos", CAPTION, DIGITAL_REVERB, "getpos", CAPTION, CHORUS_DEPTH,
        "gettext", CAPTION, MASTER_TRANSPOSE, "gettext", CAPTION, DIGITAL_TRANSPOSE,
        "cursel", CAPTION, REVERB_TYPE, "gettext", CAPTION, REVERB_TYPE, "gettext", CAPTION, TARGET)
    assert values == ["127", "1000", "8192", "100", "19", "0", "-64", "4", "Hall 2", "Stereo"]
    checks = session.driver(*[a for n in range(16) for a in ("check", CAPTION, CHANNEL_FIRST + n)])
    assert checks == ["1"] * 16
    assert panel.visible(REVERB_DECAY) and panel.visible(DECAY_LABEL)
    assert not any(panel.visible(c) for c in (DELAY_TIME, TIME_LABEL, DELAY_FEEDBACK, REPEAT_LABEL))

    # The picture of the panel with its defaults, kept with the build for the documentation.
    screenshot_of_dialog(session, harness.build_dir() / "e2e-artifacts" / "panel-defaults.png")
    panel.close()


def test_stored_settings_are_what_the_card_receives_on_start(session):
    stored = {"MVol": 90, "MTrn": 52, "MTun": 0, "DTun": 0x1234, "Mute": 0x0000, "DCho": 33, "DRev": 0,
              "DTrn": 127, "DBrt": 5, "DVol": 64, "CDep": 127, "CRat": 0, "CDel": 1, "CFed": 2,
              "CLev": 3, "DFed": 100, "DTim": 101, "RDec": 7, "RLev": 8, "RTyp": 7}
    session.registry.import_text(reg_text(stored))
    panel = Panel(session).start()

    assert panel.new_messages() == startup_push(stored)
    values = session.driver(
        "gettext", CAPTION, MASTER_TRANSPOSE, "gettext", CAPTION, DIGITAL_TRANSPOSE,
        "cursel", CAPTION, REVERB_TYPE, "getpos", CAPTION, DIGITAL_TUNE, "getpos", CAPTION, MASTER_TUNE)
    assert values == ["-12", "63", "7", str(0x1234), "0"]
    checks = session.driver(*[a for n in range(16) for a in ("check", CAPTION, CHANNEL_FIRST + n)])
    assert checks == ["0"] * 16
    # "Pan Delay": time and repeat instead of decay.
    assert not panel.visible(REVERB_DECAY) and not panel.visible(DECAY_LABEL)
    assert all(panel.visible(c) for c in (DELAY_TIME, TIME_LABEL, DELAY_FEEDBACK, REPEAT_LABEL))
    panel.close()
