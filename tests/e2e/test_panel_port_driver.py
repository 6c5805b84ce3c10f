"""The shipped panel (Tambrel.exe) with the real card on an NT-family system, as Wine is by default:
its ports go through a port-driver library found beside the program or in the system folder.

The library here is the project's own stand-in (test-bin/port-drivers, built in the build's word
size under each name the panel knows): the software card behind the exports of InpOut or DlPortIO,
writing the same trace as TambrelSim. It adds its full path to port-driver-loads.txt in the current
folder whenever it is loaded, and a file "driver-not-open" beside it makes it a library whose driver
is not running.
"""

import re
import shutil
import subprocess

import pytest

import harness
from test_panel_startup import CAPTION, KEY, MASTER_VOLUME, PANIC, RUN_DIR, Panel, startup_push
from mpu_trace import TraceEvent

PROGRAM_DIR = r"C:\Program Files\Tambrel"
LOADS = "port-driver-loads.txt"
NOT_OPEN_SWITCH = "driver-not-open"
APP_DEFAULTS = r"HKCU\Software\Wine\AppDefaults\Tambrel.exe"

NO_DRIVER = ("This system lets programs reach the MIDI interface at port %Xh only through a port-driver "
             "library. Put %s into the folder of Tambrel.exe (%s) or into the Windows system folder, and "
             "start the panel again.")
NOT_RUNNING = ("The port-driver library was found, but its driver is not running, so the MIDI interface at "
               "port %Xh cannot be reached. An administrator has to install the driver once.")
REFUSED = "This system does not allow direct access to the MIDI interface at port %Xh."

PANIC_EVENTS = [TraceEvent("OUT", 0x333, 0x80), TraceEvent("OUT", 0x331, 0xFF), TraceEvent("IN", 0x330, 0xFE),
                TraceEvent("OUT", 0x331, 0x3F)]


def inpout():
    """The InpOut library of the build's word size: the one the panel looks for first."""
    return "inpoutx64.dll" if harness.build_bits() == 64 else "inpout32.dll"


def system_dir(session):
    """Where a program of the build's word size finds the system folder's files."""
    return session.paths.host_path(r"C:\windows\system32" if harness.build_bits() == 64 else r"C:\windows\syswow64")


def put_standin(session, name, folder, driver_open=True):
    """Copies the stand-in library `name` into `folder` (a Windows path or a host folder)."""
    target = folder if not isinstance(folder, str) else session.paths.host_path(folder)
    target.mkdir(parents=True, exist_ok=True)
    shutil.copy(harness.build_dir() / "test-bin" / "port-drivers" / name, target / name)
    if not driver_open:
        (target / NOT_OPEN_SWITCH).write_text("")
    return target / name


def install_panel(session):
    return session.paths.install(session.bin("Tambrel.exe"), PROGRAM_DIR)


def loads(session):
    """The libraries loaded from the stand-in's files since the last call, as Windows paths."""
    path = session.paths.host_path(RUN_DIR) / LOADS
    if not path.exists():
        return []
    lines = path.read_text().splitlines()
    path.unlink()
    return lines


def forget_trace(session):
    (session.paths.host_path(RUN_DIR) / harness.TRACE_NAME).unlink(missing_ok=True)


class RealPanel(Panel):
    """The installed Tambrel.exe in RUN_DIR; its card trace (when a stand-in carries its ports) is
    read as TambrelSim's is."""

    def __init__(self, session, exe):
        super().__init__(session)
        self.exe = exe

    def open(self):
        self.process = self.session.wine.start(self.exe, cwd=RUN_DIR)
        self.session.driver.wait_window(CAPTION, 30000)
        return self

    def start(self):
        self.open()
        self.wait_for_messages(35)
        return self

    def box(self):
        """Waits for the one message box, returns its text and presses OK."""
        lines = self.session.driver("msgbox", CAPTION, 15000, "msgtext", "msgpress", 1, "enabled", CAPTION, 10000)
        return lines[1]

    def works_without_card(self):
        """Messages and Panic are dropped at once, with no second box; the panel saves at exit."""
        lines = self.session.driver("slide", CAPTION, MASTER_VOLUME, 90, "click", CAPTION, PANIC,
                                    "getpos", CAPTION, MASTER_VOLUME, "windows")
        assert lines[2:] == ["90", CAPTION]
        self.close()
        assert self.process.returncode == 0
        assert self.stored().dword("MVol") == 90


def test_through_the_library_beside_the_program_the_card_gets_what_the_simulator_sends(session):
    exe = install_panel(session)
    put_standin(session, inpout(), PROGRAM_DIR)
    sim = RealPanel(session, session.paths.install(session.bin("TambrelSim.exe"), PROGRAM_DIR)).start()
    session.driver("click", CAPTION, PANIC)
    simulated = [e for e in sim.events() if e.kind not in ("CLI", "STI")]
    sim.close()
    assert loads(session) == [], "TambrelSim keeps its card inside and loads no library"
    forget_trace(session)

    panel = RealPanel(session, exe).start()
    assert panel.new_messages() == startup_push()
    session.driver("click", CAPTION, PANIC)
    events = panel.new_events()
    # Interrupts cannot be masked through a library: the reset exchange runs without CLI/STI.
    assert events[-4:] == PANIC_EVENTS
    assert panel.events() == simulated
    assert session.driver("windows") == [CAPTION], "no message box"
    panel.close()
    assert panel.process.returncode == 0
    assert loads(session) == [PROGRAM_DIR + "\\" + inpout()]


def test_without_a_library_one_box_names_it_and_files_elsewhere_are_never_loaded(session):
    exe = install_panel(session)
    # In the current folder, on the PATH (C:\windows) and beside the program under the names of
    # the other word size or of DlPortIO on 64-bit: none of them is the panel's to load.
    put_standin(session, inpout(), RUN_DIR)
    put_standin(session, inpout(), r"C:\windows")
    for other in ("inpout32.dll", "inpoutx64.dll", "dlportio.dll"):
        if other != inpout() and not (other == "dlportio.dll" and harness.build_bits() == 32):
            put_standin(session, other, PROGRAM_DIR)

    panel = RealPanel(session, exe).open()
    assert panel.box() == NO_DRIVER % (0x330, inpout(), PROGRAM_DIR)
    panel.works_without_card()
    assert loads(session) == []
    assert panel.events() == []


def test_a_driver_that_is_not_running_is_told_and_no_port_is_touched(session):
    exe = install_panel(session)
    session.registry.add(KEY, "Port", "REG_DWORD", 0x300)
    put_standin(session, inpout(), PROGRAM_DIR, driver_open=False)

    panel = RealPanel(session, exe).open()
    assert panel.box() == NOT_RUNNING % 0x300
    panel.works_without_card()
    assert loads(session) == [PROGRAM_DIR + "\\" + inpout()]
    assert panel.events() == [], "the stand-in traces every access it gets"


def test_the_system_folder_serves_and_the_programs_folder_comes_first(session):
    exe = install_panel(session)
    system = system_dir(session)
    put_standin(session, inpout(), system)
    panel = RealPanel(session, exe).start()
    assert panel.new_messages() == startup_push()
    panel.close()
    [loaded] = loads(session)
    assert loaded.lower() == (r"C:\windows\system32\%s" % inpout()).lower()

    forget_trace(session)
    (system / NOT_OPEN_SWITCH).write_text("")
    put_standin(session, inpout(), PROGRAM_DIR)
    panel = RealPanel(session, exe).start()
    assert panel.new_messages() == startup_push()
    panel.close()
    assert loads(session) == [PROGRAM_DIR + "\\" + inpout()]


def test_the_32_bit_panel_falls_back_to_dlportio_after_inpout(session):
    if harness.build_bits() != 32:
        pytest.skip("DlPortIO serves 32-bit programs only (the 64-bit panel ignores it: see above)")
    exe = install_panel(session)
    put_standin(session, "dlportio.dll", PROGRAM_DIR)
    panel = RealPanel(session, exe).start()
    assert panel.new_messages() == startup_push()
    session.driver("click", CAPTION, PANIC)
    assert panel.new_events()[-4:] == PANIC_EVENTS
    panel.close()
    assert loads(session) == [PROGRAM_DIR + r"\dlportio.dll"]

    # InpOut, even in the system folder, before DlPortIO beside the program.
    put_standin(session, "inpout32.dll", system_dir(session), driver_open=False)
    panel = RealPanel(session, exe).open()
    assert panel.box() == NOT_RUNNING % 0x330
    panel.close()
    assert [p.lower() for p in loads(session)] == [r"c:\windows\system32\inpout32.dll"]


def test_on_the_9x_family_no_library_is_loaded(session):
    session.registry.add(APP_DEFAULTS, "Version", "REG_SZ", "win98")
    exe = install_panel(session)
    put_standin(session, inpout(), PROGRAM_DIR)
    put_standin(session, inpout(), system_dir(session))

    panel = RealPanel(session, exe).open()
    # Wine refuses the port instructions even then: the 9x family's own words for it.
    assert panel.box() == REFUSED % 0x330
    panel.works_without_card()
    assert loads(session) == []


def test_the_standins_export_undecorated_stdcall_functions():
    """What the panel relies on in the real libraries: their names as they stand and, in 32-bit
    ones, __stdcall (the function takes its arguments off the stack: ret 4 and ret 8)."""
    tool = "x86_64-w64-mingw32-objdump" if harness.build_bits() == 64 else "i686-w64-mingw32-objdump"
    inpout_exports = {"IsInpOutDriverOpen": 0, "Inp32": 4, "Out32": 8, "DlPortReadPortUchar": 4,
                      "DlPortWritePortUchar": 8}
    expected = {"inpout32.dll": inpout_exports, "inpoutx64.dll": inpout_exports,
                "dlportio.dll": {"DlPortReadPortUchar": 4, "DlPortWritePortUchar": 8}}
    for name, functions in expected.items():
        library = harness.build_dir() / "test-bin" / "port-drivers" / name
        exports = exported_functions(tool, library)
        assert sorted(exports) == sorted(functions), name
        if harness.build_bits() == 32:
            for function, popped in functions.items():
                assert first_return(tool, library, exports[function]) == popped, (name, function)


def exported_functions(tool, library):
    """{name: address} of a DLL's exports, from objdump -p."""
    text = subprocess.run([tool, "-p", str(library)], capture_output=True, text=True, check=True).stdout
    base = int(re.search(r"^ImageBase\s+([0-9a-fA-F]+)", text, re.M).group(1), 16)
    addresses = {int(i): int(rva, 16) for i, rva in re.findall(r"\[\s*(\d+)\] \+base\[\s*\d+\] ([0-9a-f]+) Export RVA", text)}
    names = text.split("[Ordinal/Name Pointer] Table", 1)[1]
    return {name: base + addresses[int(i)] for i, name in re.findall(r"^\s+\[\s*(\d+)\] (\S+)$", names, re.M)}


def first_return(tool, library, address):
    """How many argument bytes the function at `address` removes from the stack on return."""
    text = subprocess.run([tool, "-d", "--start-address=%#x" % address, "--stop-address=%#x" % (address + 0x80),
                           str(library)], capture_output=True, text=True, check=True).stdout
    match = re.search(r"\tret\s*(\$0x([0-9a-f]+))?", text)
    assert match, "no return in %s at %#x" % (library.name, address)
    return int(match.group(2), 16) if match.group(2) else 0
