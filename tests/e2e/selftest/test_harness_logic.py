"""The harness's own logic that needs no Wine: trace parsing and grouping, registry files, paths,
the home-directory snapshot, the program checker's PE reader."""

import struct
import sys
from pathlib import Path

import pytest

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent))
sys.path.insert(0, str(HERE.parent.parent))

import check_programs  # noqa: E402
import harness  # noqa: E402
from mpu_trace import MessageGrouper, TraceEvent, parse_trace, sysex_messages  # noqa: E402

PANIC_AND_MESSAGE = """OUT 0330 F0
OUT 0330 7F
OUT 0330 F7
OUT 0333 80
CLI
OUT 0331 FF
IN 0330 FE
OUT 0331 3F
STI
OUT 0330 F0
OUT 0330 41
"""


class TestTrace:
    def test_events_keep_kind_port_and_byte(self):
        events = parse_trace(PANIC_AND_MESSAGE + "\n")
        assert [str(e) for e in events] == PANIC_AND_MESSAGE.split("\n")[:-1]
        assert events[3] == TraceEvent("OUT", 0x333, 0x80)
        assert events[4].port is None

    def test_sysex_only_from_the_data_port_and_an_open_message_is_kept(self):
        messages = sysex_messages(parse_trace(PANIC_AND_MESSAGE))
        assert messages == [bytes([0xF0, 0x7F, 0xF7]), bytes([0xF0, 0x41])]

    def test_a_new_start_byte_closes_an_unfinished_message(self):
        events = parse_trace("OUT 0330 F0\nOUT 0330 01\nOUT 0330 F0\nOUT 0330 F7\n")
        assert sysex_messages(events) == [b"\xf0\x01", b"\xf0\xf7"]

    def test_other_port_as_data_port(self):
        events = parse_trace("OUT 0300 F0\nOUT 0300 F7\nOUT 0330 F0\n")
        assert sysex_messages(events, data_port=0x300) == [b"\xf0\xf7"]

    def test_grouper_prints_messages_whole_and_other_events_alone(self):
        grouper = MessageGrouper()
        lines = []
        for event in parse_trace(PANIC_AND_MESSAGE):
            lines += grouper.feed(event)
        assert lines == ["F0 7F F7", "OUT 0333 80", "CLI", "OUT 0331 FF", "IN 0330 FE", "OUT 0331 3F", "STI"]
        assert grouper.finish() == ["F0 41"]
        assert grouper.finish() == []

    def test_grouper_shows_stray_data_bytes_at_once(self):
        grouper = MessageGrouper()
        assert grouper.feed(parse_trace("OUT 0330 90")[0]) == ["90"]

    def test_a_noted_message_keeps_its_events_and_shows_its_meaning_at_any_port(self):
        events = parse_trace("OUT 0300 F0\nOUT 0300 7F\nOUT 0300 F7 ; master volume 127\nOUT 0303 80\n")
        assert events[2] == TraceEvent("OUT", 0x300, 0xF7) and events[2].note == "master volume 127"
        assert str(events[2]) == "OUT 0300 F7"
        grouper = MessageGrouper()
        lines = [line for e in events for line in grouper.feed(e)]
        assert lines == ["F0 7F F7".ljust(41) + "  master volume 127", "OUT 0303 80"]


USER_REG = r'''WINE REGISTRY Version 2
;; All keys relative to \\User\\S-1-5-21-0-0-0-1000

#arch=win64

[Software\\Tambrel] 1796687713
#time=1dd86a666d52114
#class="Tambrel"
"CDep"=dword:00000013
"Port"=dword:00000330
@="default"
"Path"=str(2):"%SystemRoot%\\x"
"Multi"=str(7):"a\0b\0"
"Bin"=hex:01,02,\
  03
"Q"=hex(b):01,00,00,00,00,00,00,00
"Text"="line\nwith \"quotes\" and \\ and \x00e9"

[Software\\Other]
"Port"=dword:00000001
'''


class TestRegistryFile:
    def test_values_of_every_type_and_the_key_class(self):
        key = harness.parse_reg_file(USER_REG)["software\\tambrel"]
        assert key.path == "Software\\Tambrel"
        assert key.klass == "Tambrel"
        assert key.dword("Port") == 0x330 and key.dword("CDep") == 19
        assert key.values[""] == ("REG_SZ", "default")
        assert key.values["Path"] == ("REG_EXPAND_SZ", "%SystemRoot%\\x")
        assert key.values["Multi"] == ("REG_MULTI_SZ", "a\0b\0")
        assert key.values["Bin"] == ("REG_BINARY", b"\x01\x02\x03")
        assert key.values["Q"] == ("REG_QWORD", 1)
        assert key.values["Text"] == ("REG_SZ", 'line\nwith "quotes" and \\ and \u00e9')

    def test_keys_are_separate_and_a_class_is_optional(self):
        keys = harness.parse_reg_file(USER_REG)
        assert keys["software\\other"].klass is None
        assert keys["software\\other"].dword("Port") == 1

    def test_dword_refuses_another_type(self):
        key = harness.parse_reg_file(USER_REG)["software\\tambrel"]
        with pytest.raises(AssertionError):
            key.dword("Path")


class TestPaths:
    def make(self, tmp_path):
        paths = harness.PrefixPaths(tmp_path / "prefix", "tester")
        (paths.prefix / "drive_c" / "run").mkdir(parents=True)
        return paths

    def test_windows_and_host_paths_map_both_ways(self, tmp_path):
        paths = self.make(tmp_path)
        host = paths.host_path(r"C:\run\mpu401-trace.txt")
        assert host == paths.prefix / "drive_c" / "run" / "mpu401-trace.txt"
        assert paths.win_path(host) == r"C:\run\mpu401-trace.txt"
        assert paths.host_path("c:/run") == paths.prefix / "drive_c" / "run"
        assert paths.win_path("/usr/bin") == r"Z:\usr\bin"
        assert paths.host_path(r"Z:\usr\bin") == Path("/usr/bin")

    def test_existing_names_match_without_regard_to_case(self, tmp_path):
        paths = self.make(tmp_path)
        (paths.prefix / "drive_c" / "windows").mkdir()
        assert paths.host_path(r"C:\Windows\WININIT.INI") == paths.prefix / "drive_c" / "windows" / "WININIT.INI"
        assert paths.host_path(r"C:\RUN\new") == paths.prefix / "drive_c" / "run" / "new"

    def test_other_drives_and_relative_paths_are_refused(self, tmp_path):
        paths = self.make(tmp_path)
        for path in (r"D:\x", r"run\x", "x"):
            with pytest.raises(ValueError):
                paths.host_path(path)


class TestHomeSnapshot:
    def test_new_entries_where_wine_writes_are_seen(self, tmp_path):
        (tmp_path / ".cache").mkdir()
        before = harness.home_snapshot(tmp_path)
        (tmp_path / ".cache" / "wine").mkdir()
        assert harness.home_snapshot(tmp_path) == before
        apps = tmp_path / ".local" / "share" / "applications" / "wine"
        apps.mkdir(parents=True)
        (apps / "Corvane.desktop").write_text("")
        (tmp_path / "Desktop").mkdir()
        (tmp_path / "Desktop" / "x.lnk").write_text("")
        added = harness.home_snapshot(tmp_path) - before
        assert ".local/share/applications/wine/Corvane.desktop" in added
        assert "Desktop/x.lnk" in added


def pe_image(imports, machine=0x8664):
    """A minimal PE image with one section holding an import table; enough for the reader."""
    plus = machine == 0x8664
    optional_size = 240 if plus else 224
    section_rva, section_raw = 0x1000, 0x400
    body = bytearray(0x400)
    names_at = 0x200
    descriptors, cursor = [], names_at
    for dll, functions in imports:
        thunks_at = cursor
        cursor += (len(functions) + 1) * (8 if plus else 4)
        entries = []
        for function in functions:
            entries.append(cursor)
            hint_name = b"\0\0" + function.encode() + b"\0"
            body[cursor:cursor + len(hint_name)] = hint_name
            cursor += len(hint_name) + (len(hint_name) & 1)
        for i, entry in enumerate(entries):
            struct.pack_into("<Q" if plus else "<I", body, thunks_at + i * (8 if plus else 4), section_rva + entry)
        dll_at = cursor
        body[cursor:cursor + len(dll) + 1] = dll.encode() + b"\0"
        cursor += len(dll) + 1
        descriptors.append((section_rva + thunks_at, section_rva + dll_at))
    for i, (thunks, dll_name) in enumerate(descriptors):
        struct.pack_into("<IIIII", body, 20 * i, thunks, 0, 0, dll_name, thunks)
    header = bytearray(section_raw)
    header[0:2] = b"MZ"
    struct.pack_into("<I", header, 0x3C, 0x80)
    header[0x80:0x84] = b"PE\0\0"
    struct.pack_into("<HHIIIHH", header, 0x84, machine, 1, 0, 0, 0, optional_size, 0x22)
    optional = 0x98
    struct.pack_into("<H", header, optional, 0x20B if plus else 0x10B)
    struct.pack_into("<H", header, optional + 68, 2)
    count_at = optional + (108 if plus else 92)
    struct.pack_into("<I", header, count_at, 16)
    struct.pack_into("<II", header, count_at + 4 + 8, section_rva, 20 * (len(imports) + 1))
    struct.pack_into("<8sIIII", header, optional + optional_size, b".idata", len(body), section_rva, len(body),
                     section_raw)
    return bytes(header) + bytes(body)


class TestProgramChecker:
    @pytest.mark.parametrize("machine", [0x8664, 0x14C])
    def test_imports_are_read_for_both_machines(self, machine):
        image = pe_image([("KERNEL32.dll", ["ExitProcess", "Sleep"]), ("user32.dll", ["MessageBoxA"])], machine)
        pe = check_programs.PeFile(image)
        assert pe.imports() == {"kernel32.dll": ["ExitProcess", "Sleep"], "user32.dll": ["MessageBoxA"]}

    def test_a_runtime_dll_and_missing_resources_are_faults(self, tmp_path):
        program = tmp_path / "Tambrel.exe"
        program.write_bytes(pe_image([("libstdc++-6.dll", ["_Znwm"]), ("kernel32.dll", ["Sleep"])]))
        faults = check_programs.check(program, "x86_64")
        assert any("libstdc++-6.dll" in f for f in faults)
        assert not any("kernel32" in f for f in faults)
        for missing in ("dialog 102", "icon group 128", "version record", "accelerator table 129", "strings"):
            assert any(missing in f for f in faults), missing

    def test_wrong_machine_is_a_fault(self, tmp_path):
        program = tmp_path / "ucorvane.exe"
        program.write_bytes(pe_image([("kernel32.dll", ["Sleep"])], 0x14C))
        faults = check_programs.check(program, "x86_64")
        assert "machine i386, expected x86_64" in faults
        assert not any("accelerator" in f for f in faults)
