"""Exported images read by a MIDI file library and played by software synthesizers from the
system: the file must be one that any sequencer accepts.

usage: midi_file_players_test.py <midi_image_writer>
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

try:
    import mido
except ImportError:
    sys.exit("missing: the Python module mido (package python3-mido); scripts/setup.sh installs it")

WRITER = None
# Both synthesizers play with this General MIDI sound font, named by path: what the system's
# configuration points at varies with the packages that happen to be installed.
SOUNDFONT = "/usr/share/sounds/sf2/TimGM6mb.sf2"
# What each player needs, and the Debian package that brings it (scripts/setup.sh installs them).
NEEDS = [("timidity", "timidity"), ("fluidsynth", "fluidsynth"), (SOUNDFONT, "timgm6mb-soundfont")]


def setUpModule():
    missing = ["%s (package %s)" % (need, package) for need, package in NEEDS
               if not (os.path.exists(need) if need.startswith("/") else shutil.which(need))]
    if missing:
        raise AssertionError("missing: %s; scripts/setup.sh installs them" % ", ".join(missing))


# Message lengths after F0h without F7h: effects, sixteen channels, master, digital audio.
SYSEX_DATA_LENGTHS = [18] + [9] * 16 + [14, 17]


def write_image(directory, name, *settings):
    path = os.path.join(directory, name)
    subprocess.run([WRITER, path, *settings], check=True)
    return path


def checksum_ok(data):
    """Data-set rule: address, data and checksum add up to a multiple of 128."""
    return data[:4] == (0x41, 0x10, data[2], 0x12) and sum(data[4:]) % 128 == 0


def part_of(channel_index):
    return channel_index + 1 if channel_index < 9 else (0 if channel_index == 9 else channel_index)


class ReadBack(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.dir.cleanup()

    def read(self, *settings):
        path = write_image(self.dir.name, "state.mid", *settings)
        midi = mido.MidiFile(path)
        self.assertEqual(midi.type, 0)
        self.assertEqual(midi.ticks_per_beat, 96)
        self.assertEqual(len(midi.tracks), 1)
        track = list(midi.tracks[0])
        self.assertEqual(len(track), 21)
        tempo, sysex, end = track[0], track[1:20], track[20]
        self.assertEqual((tempo.type, tempo.tempo, tempo.time), ("set_tempo", 500000, 0))
        self.assertEqual([m.type for m in sysex], ["sysex"] * 19)
        self.assertEqual([m.time for m in sysex], [0] + [8] * 18)
        self.assertEqual([len(m.data) for m in sysex], SYSEX_DATA_LENGTHS)
        for m in sysex:
            self.assertTrue(checksum_ok(m.data), m.hex())
        self.assertEqual((end.type, end.time), ("end_of_track", 0))
        # 18 gaps of 8 ticks at 96 ticks per 500000 us quarter.
        self.assertAlmostEqual(midi.length, 18 * 8 * 0.5 / 96)
        with open(path, "rb") as f:
            raw = f.read()
        return raw, [m.data for m in sysex]

    def test_default_state(self):
        raw, sysex = self.read()
        self.assertEqual(len(raw), 302)
        self.assertEqual(raw[18:22], bytes([0, 0, 1, 0x18]))
        self.assertEqual(sysex[0], (0x41, 0x10, 0x56, 0x12, 0, 0, 0, 4, 64, 64, 64, 0, 64, 19, 19, 3, 19, 0x40))
        for i, n in enumerate(range(15, -1, -1)):
            self.assertEqual(sysex[1 + i][:8], (0x41, 0x10, 0x56, 0x12, 1, part_of(n), 0, n))
        self.assertEqual(sysex[17], (0x41, 0x10, 0x42, 0x12, 0x40, 0, 0, 0, 4, 0, 0, 127, 64, 0x7D))
        self.assertEqual(sysex[18][:7], (0x41, 0x10, 0x56, 0x12, 3, 0, 2))

    def test_changed_state(self):
        raw, sysex = self.read("Mute=0x00F0", "RTyp=6", "MVol=90", "MTrn=52", "MTun=0", "DVol=33",
                               "target=Right")
        self.assertEqual(len(raw), 302)
        self.assertEqual(sysex[0][7], 6)
        for i, n in enumerate(range(15, -1, -1)):
            receive = n if 4 <= n <= 7 else 0x10
            self.assertEqual(sysex[1 + i][7], receive, f"channel index {n}")
        self.assertEqual(sysex[17][4:13], (0x40, 0, 0, 0, 0, 1, 8, 90, 52))
        self.assertEqual(sysex[18][4:8], (2, 0, 0x0C, 33))


class Play(unittest.TestCase):
    VARIANTS = [((), 1000), (("MTun=0", "target=Left", "Mute=0"), 0), (("MTun=1999", "RTyp=7"), 1999)]

    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.dir.cleanup()

    def timidity_config(self):
        """timidity reads the system's own configuration first in any case (it has no switch to
        skip it); where that names a sound font that is not installed, it says so and goes on, and
        this one supplies the instruments."""
        path = os.path.join(self.dir.name, "timidity.cfg")
        with open(path, "w") as f:
            f.write("soundfont %s\n" % SOUNDFONT)
        return path

    def assert_wave(self, path):
        with open(path, "rb") as f:
            head = f.read(12)
        self.assertEqual((head[:4], head[8:12]), (b"RIFF", b"WAVE"))
        self.assertGreater(os.path.getsize(path), 44)

    def test_timidity_renders_and_applies_the_master_tune(self):
        for settings, tune in self.VARIANTS:
            with self.subTest(settings=settings):
                midi = write_image(self.dir.name, "state.mid", *settings)
                wave = os.path.join(self.dir.name, "timidity.wav")
                run = subprocess.run(["timidity", "-c", self.timidity_config(), "-idvvv", "-Ow", "-o", wave, midi],
                                     capture_output=True, text=True, timeout=120)
                self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
                self.assert_wave(wave)
                log = run.stdout + run.stderr
                self.assertNotRegex(log, r"(?i)error|warning|corrupt|illegal")
                # The synthesizer decodes the master data set: tune value = slider position + 24.
                found = re.search(r"ME_MASTER_TUNING 0 (\d+) (\d+)", log)
                self.assertIsNotNone(found, log)
                self.assertEqual(int(found.group(1)) + 256 * int(found.group(2)), tune + 24)
                self.assertIn("ME_EOT 0 0 0", log)
                self.assertIn("Init soundfonts `%s'" % SOUNDFONT, log)

    def test_fluidsynth_renders(self):
        for settings, _ in self.VARIANTS:
            with self.subTest(settings=settings):
                midi = write_image(self.dir.name, "state.mid", *settings)
                wave = os.path.join(self.dir.name, "fluidsynth.wav")
                run = subprocess.run(["fluidsynth", "-ni", "-F", wave, "-r", "22050", SOUNDFONT, midi],
                                     capture_output=True, text=True, timeout=120)
                self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
                self.assertNotRegex(run.stdout + run.stderr, r"(?i)error|warning")
                self.assert_wave(wave)


if __name__ == "__main__":
    WRITER = sys.argv.pop(1)
    unittest.main(verbosity=2)
