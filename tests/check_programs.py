#!/usr/bin/python3
"""Checks shipped Windows programs from the host: machine, GUI subsystem, stripped, imports from
system DLLs only, and their resources. Prints each program's size (a figure, not a check).

    check_programs.py --machine x86_64|i386 [--list-imports] [--era LIST] [--objdump OBJDUMP]
                      PROGRAM.exe...
    check_programs.py --list-imports-only PROGRAM.exe...

--era LIST: the program is for Windows 95 and later: it imports only functions that LIST (a
tab-separated dll/function/earliest/source table) gives as present in Windows 95, its header asks
for no Windows newer than 4.0, and it has no delay imports.
--objdump OBJDUMP: the program runs on a Pentium: its code holds no instruction that came later
(the disassembly of every code section, start-up code included).

Programs whose name starts with "Tambrel" are panels: besides dialog 102, icon 128 and the version
record they carry dialog 103 (the MIDI output), accelerator table 129, the strings 175..185,
187..194, 200 and 201, and file version 1.4.0.2.

Every program carries application manifest 1 (UTF-8 XML): the execution level (asInvoker for the
panels, requireAdministrator for the uninstaller, uiAccess false), the panels' DPI awareness at the
system DPI, all five supportedOS systems and no common-controls 6 dependency. It must also keep a
form that every Windows XP starts: each element declares at most one namespace (on XP SP2 and on
Server 2003 before SP1, an element with two declarations, such as the same namespace with and
without a prefix, crashes csrss.exe and Windows restarts: Microsoft KB 921337), and the elements
that Vista added live in their own namespaces (XP refuses to start a program whose manifest puts
an element it does not know into the asm.v1 namespace).
"""

import io
import re
import struct
import subprocess
import sys
import xml.etree.ElementTree as ElementTree
from pathlib import Path

# DLLs every Windows since the 9x family ships: a static program imports nothing else.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "comdlg32.dll", "advapi32.dll",
               "shell32.dll", "ole32.dll", "oleaut32.dll", "msvcrt.dll", "shlwapi.dll", "version.dll",
               "winmm.dll"}
MACHINES = {0x8664: "x86_64", 0x14C: "i386"}
SIZE_GOAL = 64 * 1024

RT_ICON, RT_DIALOG, RT_STRING, RT_ACCELERATOR, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 5, 6, 9, 14, 16, 24
PANEL_STRINGS = list(range(175, 203))

ASM_V1, ASM_V3 = "{urn:schemas-microsoft-com:asm.v1}", "{urn:schemas-microsoft-com:asm.v3}"
WINDOWS_SETTINGS = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}"
COMPATIBILITY = "{urn:schemas-microsoft-com:compatibility.v1}"
SUPPORTED_OS = {"{e2011457-1546-43c5-a5fe-008deee3d3f0}": "Vista",
                "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "7",
                "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "8",
                "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "8.1",
                "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "10/11"}
# Elements of the asm.v1 namespace below <assembly> that Windows XP knows.
XP_ASSEMBLY_CHILDREN = {"noInherit", "assemblyIdentity", "description", "dependency", "file"}


class PeFile:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("not an MZ executable")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE header")
        (self.machine, sections, _, self.symbol_table, self.symbol_count, optional_size,
         self.characteristics) = struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        plus = magic == 0x20B
        self.subsystem = struct.unpack_from("<H", data, optional + 68)[0]
        self.os_version = struct.unpack_from("<HH", data, optional + 40)
        self.subsystem_version = struct.unpack_from("<HH", data, optional + 48)
        directory_count_at = optional + (108 if plus else 92)
        count = struct.unpack_from("<I", data, directory_count_at)[0]
        self.directories = [struct.unpack_from("<II", data, directory_count_at + 4 + 8 * i) for i in range(count)]
        self.pointer_size = 8 if plus else 4
        self.sections = []
        at = optional + optional_size
        for i in range(sections):
            name, vsize, rva, raw_size, raw_at = struct.unpack_from("<8sIIII", data, at + 40 * i)
            self.sections.append((name.rstrip(b"\0").decode(errors="replace"), rva, max(vsize, raw_size), raw_at))

    def offset(self, rva):
        for _, start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError("address %#x lies in no section" % rva)

    def cstring(self, rva):
        at = self.offset(rva)
        return self.data[at:self.data.index(b"\0", at)].decode(errors="replace")

    def imports(self):
        """{dll name (lower case): [function names, "#ordinal" for ordinals]}"""
        result = {}
        if len(self.directories) < 2 or self.directories[1][0] == 0:
            return result
        at = self.offset(self.directories[1][0])
        while True:
            lookup, _, _, name_rva, thunk = struct.unpack_from("<IIIII", self.data, at)
            if name_rva == 0:
                return result
            functions = result.setdefault(self.cstring(name_rva).lower(), [])
            entry = self.offset(lookup or thunk)
            fmt, flag = ("<Q", 1 << 63) if self.pointer_size == 8 else ("<I", 1 << 31)
            while True:
                value = struct.unpack_from(fmt, self.data, entry)[0]
                if value == 0:
                    break
                functions.append("#%d" % (value & 0xFFFF) if value & flag else self.cstring((value & 0x7FFFFFFF) + 2))
                entry += self.pointer_size
            at += 20

    def resources(self):
        """{type: {id or name: data}} (the first language of each)."""
        if len(self.directories) < 3 or self.directories[2][0] == 0:
            return {}
        base = self.offset(self.directories[2][0])

        def entries(table):
            named, ids = struct.unpack_from("<HH", self.data, base + table + 12)
            for i in range(named + ids):
                name, target = struct.unpack_from("<II", self.data, base + table + 16 + 8 * i)
                if name & 0x80000000:
                    at = base + (name & 0x7FFFFFFF)
                    length = struct.unpack_from("<H", self.data, at)[0]
                    name = self.data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
                yield name, target

        result = {}
        for kind, type_table in entries(0):
            for ident, name_table in entries(type_table & 0x7FFFFFFF):
                _, leaf = next(entries(name_table & 0x7FFFFFFF))
                rva, size = struct.unpack_from("<II", self.data, base + leaf)
                at = self.offset(rva)
                result.setdefault(kind, {})[ident] = self.data[at:at + size]
        return result


def icon_sizes(group):
    """(width, height, colours) of each image in an icon group resource."""
    count = struct.unpack_from("<H", group, 4)[0]
    sizes = []
    for i in range(count):
        width, height, colours, _, _, bits = struct.unpack_from("<BBBBHH", group, 6 + 14 * i)
        sizes.append((width or 256, height or 256, colours or (1 << bits if bits <= 8 else 0)))
    return sizes


def string_ids(string_blocks):
    ids = set()
    for block, data in string_blocks.items():
        at = 0
        for i in range(16):
            length = struct.unpack_from("<H", data, at)[0]
            if length:
                ids.add((block - 1) * 16 + i)
            at += 2 + 2 * length
    return ids


def file_version(record):
    at = record.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        return None
    ms, ls = struct.unpack_from("<II", record, at + 8)
    return (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)


def check(path, machine):
    """Faults of one program, as messages (empty: all is well)."""
    faults = []
    pe = PeFile(path.read_bytes())
    if MACHINES.get(pe.machine) != machine:
        faults.append("machine %s, expected %s" % (MACHINES.get(pe.machine, hex(pe.machine)), machine))
    if pe.subsystem != 2:
        faults.append("subsystem %d, expected 2 (GUI)" % pe.subsystem)
    debug = [s[0] for s in pe.sections if s[0].startswith((".debug", "/"))]
    if pe.symbol_count or debug:
        faults.append("not stripped (%d symbols, sections %s)" % (pe.symbol_count, debug))
    foreign = sorted(set(pe.imports()) - SYSTEM_DLLS)
    if foreign:
        faults.append("imports DLLs that are not part of the system: %s" % ", ".join(foreign))

    resources = pe.resources()
    if 102 not in resources.get(RT_DIALOG, {}):
        faults.append("no dialog 102")
    group = resources.get(RT_GROUP_ICON, {}).get(128)
    if group is None:
        faults.append("no icon group 128")
    else:
        sizes = icon_sizes(group)
        for want in ((32, 32, 16), (16, 16, 16)):
            if want not in sizes:
                faults.append("icon 128 has no %dx%d image of %d colours (has %s)" % (want + (sizes,)))
    version = resources.get(RT_VERSION, {}).get(1)
    if version is None or file_version(version) is None:
        faults.append("no version record")
    if path.name.lower().startswith("tambrel"):
        if 103 not in resources.get(RT_DIALOG, {}):
            faults.append("no dialog 103")
        if 129 not in resources.get(RT_ACCELERATOR, {}):
            faults.append("no accelerator table 129")
        missing = [i for i in PANEL_STRINGS if i not in string_ids(resources.get(RT_STRING, {}))]
        if missing:
            faults.append("strings missing: %s" % missing)
        if version is not None and file_version(version) not in (None, (1, 4, 0, 2)):
            faults.append("file version %s, expected 1.4.0.2" % ".".join(map(str, file_version(version))))
    manifest = resources.get(RT_MANIFEST, {}).get(1)
    if manifest is None:
        faults.append("no manifest 1")
    else:
        faults += manifest_faults(manifest, panel=path.name.lower().startswith("tambrel"))
    return faults


def parse_manifest(manifest):
    """(root element, None), or (None, fault) when the text is no UTF-8 XML or an element declares
    more than one namespace."""
    try:
        manifest.decode("utf-8")
    except UnicodeDecodeError as error:
        return None, "manifest is not UTF-8: %s" % error
    root, declared = None, []
    try:
        for event, item in ElementTree.iterparse(io.BytesIO(manifest), events=("start-ns", "start")):
            if event == "start-ns":
                declared.append(item)
                continue
            if len(declared) > 1:
                return None, "manifest element %s declares %d namespaces, which crashes Windows XP SP2" % (
                    item.tag, len(declared))
            root, declared = item if root is None else root, []
    except ElementTree.ParseError as error:
        return None, "manifest is not well-formed XML: %s" % error
    return root, None


def manifest_faults(manifest, panel):
    """What is wrong with the application manifest (its XML text) of a panel or of the uninstaller."""
    root, fault = parse_manifest(manifest)
    if fault:
        return [fault]
    faults = []
    if root.tag != ASM_V1 + "assembly" or root.get("manifestVersion") != "1.0":
        faults.append("manifest root is %s, not an asm.v1 assembly of manifestVersion 1.0" % root.tag)
    unknown = [child.tag for child in root
               if child.tag.startswith(ASM_V1) and child.tag[len(ASM_V1):] not in XP_ASSEMBLY_CHILDREN]
    if unknown:
        faults.append("manifest puts %s in the asm.v1 namespace, which Windows XP refuses" % unknown)

    path = "{0}trustInfo/{0}security/{0}requestedPrivileges/{0}requestedExecutionLevel".format(ASM_V3)
    levels = [(e.get("level"), e.get("uiAccess")) for e in root.findall(path)]
    wanted = "asInvoker" if panel else "requireAdministrator"
    if levels != [(wanted, "false")]:
        faults.append("manifest asks for the execution levels %s, expected %s with uiAccess false" % (levels, wanted))

    path = "{0}application/{0}windowsSettings/{1}dpiAware".format(ASM_V3, WINDOWS_SETTINGS)
    dpi_aware = [e.text for e in root.findall(path)]
    if dpi_aware != (["true"] if panel else []):
        faults.append("manifest declares dpiAware %s, expected %s" % (dpi_aware, "true" if panel else "nothing"))

    path = "{0}compatibility/{0}application/{0}supportedOS".format(COMPATIBILITY)
    tested = [SUPPORTED_OS.get(e.get("Id"), e.get("Id")) for e in root.findall(path)]
    if sorted(tested) != sorted(SUPPORTED_OS.values()):
        faults.append("manifest names the tested systems %s, expected %s" % (tested, list(SUPPORTED_OS.values())))

    if any(e.tag.endswith("}assemblyIdentity") and e.get("name") == "Microsoft.Windows.Common-Controls"
           for e in root.iter()):
        faults.append("manifest depends on Microsoft.Windows.Common-Controls, which changes the programs' look")
    return faults


WINDOWS_95 = "Windows 95"
DELAY_IMPORT_DIRECTORY = 13


def read_era_list(path):
    """{(dll, function): earliest Windows} from the tab-separated table (header line first)."""
    rows = {}
    for line in Path(path).read_text().splitlines()[1:]:
        if line.strip():
            dll, function, earliest = line.split("\t")[:3]
            rows[(dll.lower(), function)] = earliest
    return rows


def era_faults(pe, era):
    """What keeps a program from loading on Windows 95."""
    faults = []
    for dll, functions in sorted(pe.imports().items()):
        for function in functions:
            earliest = era.get((dll, function))
            if earliest is None:
                faults.append("imports %s from %s, which the list of Windows 95 functions lacks" % (function, dll))
            elif earliest != WINDOWS_95:
                faults.append("imports %s from %s, which Windows 95 lacks (first in %s)" % (function, dll, earliest))
    for what, version in (("system", pe.os_version), ("subsystem", pe.subsystem_version)):
        if version > (4, 0):
            faults.append("its header asks for %s version %d.%d, newer than Windows 95's 4.0" % ((what,) + version))
    if len(pe.directories) > DELAY_IMPORT_DIRECTORY and pe.directories[DELAY_IMPORT_DIRECTORY][0]:
        faults.append("it has delay imports, which Windows 95's loader does not resolve")
    return faults


# Instructions a Pentium (P5, MMX or not) does not have: the Pentium Pro's conditional moves and
# compares, its fast system calls and long NOPs, and MMX, 3DNow! and SSE.
NEWER_THAN_PENTIUM = re.compile(
    r"^(cmov|fcmov|f(u)?comip?$|sysenter|sysexit|syscall|sysret|rdpmc|nop[lwq]|emms|femms|"
    r"[lms]fence|clflush|prefetch|movnt|fxsave|fxrstor|ldmxcsr|stmxcsr)")
VECTOR_REGISTER = re.compile(r"%[xyz]?mm\d")


def instruction_faults(path, objdump):
    listing = subprocess.run([objdump, "-d", "--no-show-raw-insn", str(path)], capture_output=True,
                             text=True, check=True).stdout
    newer = []
    for line in listing.splitlines():
        parts = line.split("\t")
        if len(parts) < 2 or not parts[0].strip().endswith(":"):
            continue
        instruction = parts[1].strip()
        mnemonic = instruction.split(" ")[0]
        if NEWER_THAN_PENTIUM.match(mnemonic) or VECTOR_REGISTER.search(instruction):
            newer.append("%s %s" % (parts[0].strip(), " ".join(instruction.split())))
    if not newer:
        return []
    return ["%d instructions newer than the Pentium, such as %s" % (len(newer), "; ".join(newer[:3]))]


def list_imports(path):
    print("%s imports:" % path.name)
    for dll, functions in sorted(PeFile(path.read_bytes()).imports().items()):
        print("  %s: %s" % (dll, " ".join(sorted(functions))))


def main(argv):
    args = argv[1:]
    machine, listing, only_list, era, objdump = None, False, False, None, None
    while args and args[0].startswith("--"):
        option = args.pop(0)
        if option == "--machine":
            machine = args.pop(0)
        elif option == "--era":
            era = read_era_list(args.pop(0))
        elif option == "--objdump":
            objdump = args.pop(0)
        elif option == "--list-imports":
            listing = True
        elif option == "--list-imports-only":
            listing = only_list = True
        else:
            print(__doc__, file=sys.stderr)
            return 2
    if not args or (machine is None and not only_list):
        print(__doc__, file=sys.stderr)
        return 2
    failed = False
    for name in args:
        path = Path(name)
        if listing:
            list_imports(path)
        if only_list:
            continue
        size = path.stat().st_size
        print("%s: %d bytes (%.1f KiB%s)" % (path.name, size, size / 1024,
                                            ", over the 64 KiB goal" if size > SIZE_GOAL else ""))
        faults = check(path, machine)
        if era is not None:
            faults += era_faults(PeFile(path.read_bytes()), era)
        if objdump is not None:
            faults += instruction_faults(path, objdump)
        for fault in faults:
            print("%s: %s" % (path.name, fault))
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
