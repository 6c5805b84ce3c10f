"""The registry of a scenario's prefix as the build's programs see it.

64-bit Windows, and Wine's prefixes where 32-bit Wine is installed, keep two views of
HKEY_LOCAL_MACHINE\\Software: 32-bit programs see Software\\Wow6432Node under that name. Which
reg.exe a bare `wine reg` starts depends on which Wine loaders the machine has, so every call here
names its view (/reg:32 or /reg:64), and the saved registry files are read at the path the view
maps to. HKEY_CURRENT_USER\\Software is the same in both views.
"""

import re
from dataclasses import dataclass, field


class RegistryView:
    """Reads and writes the registry through reg.exe in one view, live or from the saved files.

    run(*argv): runs a Windows program in the session and returns its CompletedProcess.
    saved_hive("user" | "system"): the text of the registry file the server wrote at its end.
    import_file(text): a Windows path of a new file holding the text (for reg import).
    """

    def __init__(self, bits, run, saved_hive, import_file):
        assert bits in (32, 64)
        self.bits = bits
        self._run = run
        self._saved_hive = saved_hive
        self._import_file = import_file

    def other(self):
        """The view that programs of the other word size see."""
        return RegistryView(96 - self.bits, self._run, self._saved_hive, self._import_file)

    def _reg(self, *args):
        return self._run("reg", *args, "/reg:%d" % self.bits)

    def import_text(self, text):
        """Imports registry text ("REGEDIT4" first line added when missing)."""
        if not text.lstrip().startswith(("REGEDIT4", "Windows Registry Editor")):
            text = "REGEDIT4\n\n" + text
        result = self._reg("import", self._import_file(text.replace("\r\n", "\n").replace("\n", "\r\n")))
        assert result.returncode == 0, "reg import failed: %r" % result.stderr

    def add(self, key, name, kind, data):
        """reg add KEY /v NAME /t KIND /d DATA /f (e.g. kind "REG_DWORD", data 0x330)."""
        result = self._reg("add", key, "/v", name, "/t", kind, "/d", str(data), "/f")
        assert result.returncode == 0, "reg add failed: %r" % result.stdout

    def delete(self, key):
        result = self._reg("delete", key, "/f")
        assert result.returncode == 0, "reg delete failed: %r" % result.stdout

    def query(self, key):
        """Values of a key in the live session as {name: (type, value)}, or None when the key is
        missing. REG_DWORD values are ints, REG_SZ strings, REG_BINARY hex text."""
        result = self._reg("query", key)
        if result.returncode != 0:
            return None
        values = {}
        for line in result.stdout.decode("cp1252", errors="replace").splitlines():
            m = re.match(r"^    (.*?)    (REG_\w+)    ?(.*)$", line)
            if not m:
                continue
            name, kind, data = m.groups()
            name = "" if name == "(Default)" else name
            values[name] = (kind, int(data, 16) if kind == "REG_DWORD" else data)
        return values

    def saved_path(self, path):
        """(hive, key path in that hive's file) for a key as this view names it."""
        m = re.match(r"^(HKCU|HKEY_CURRENT_USER|HKLM|HKEY_LOCAL_MACHINE)\\(.*)$", path, re.I)
        if not m:
            raise ValueError("key path must start with HKCU\\ or HKLM\\: %r" % path)
        if m.group(1).upper() in ("HKCU", "HKEY_CURRENT_USER"):
            return "user", m.group(2)
        rest = m.group(2)
        software = re.match(r"^software\\(?!wow6432node\\)(.*)$", rest, re.I)
        if software and self.bits == 32:
            rest = "Software\\Wow6432Node\\" + software.group(1)
        return "system", rest

    def saved_key(self, path):
        """A key of the saved registry (after the session ended), or None: "HKCU\\Software\\Tambrel",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\...". Returns a RegKey (klass, values)."""
        hive, rest = self.saved_path(path)
        return parse_reg_file(self._saved_hive(hive)).get(rest.lower())



@dataclass
class RegKey:
    path: str                       # as in the .reg file, e.g. "Software\\Tambrel"
    klass: str | None = None        # the key class given when it was created
    values: dict = field(default_factory=dict)   # name ("" = default) -> (type, value)

    def dword(self, name):
        kind, value = self.values[name]
        assert kind == "REG_DWORD", "%s is %s, not REG_DWORD" % (name, kind)
        return value


_REG_TYPES = {0: "REG_NONE", 1: "REG_SZ", 2: "REG_EXPAND_SZ", 3: "REG_BINARY", 4: "REG_DWORD",
              7: "REG_MULTI_SZ", 11: "REG_QWORD"}


def _unescape(s):
    out, i = [], 0
    while i < len(s):
        c = s[i]
        if c == "\\" and i + 1 < len(s):
            n = s[i + 1]
            if n == "x":
                m = re.match(r"[0-9a-fA-F]{1,4}", s[i + 2:])
                out.append(chr(int(m.group(0), 16)))
                i += 2 + len(m.group(0))
                continue
            out.append({"n": "\n", "r": "\r", "t": "\t", "0": "\0"}.get(n, n))
            i += 2
            continue
        out.append(c)
        i += 1
    return "".join(out)


def _quoted(s, start):
    """The quoted string at s[start] == '"'; returns (text, index after the closing quote)."""
    i = start + 1
    while s[i] != '"':
        i += 2 if s[i] == "\\" else 1
    return _unescape(s[start + 1:i]), i + 1


def _decode_value(data):
    if data.startswith('"'):
        return "REG_SZ", _quoted(data, 0)[0]
    if data.startswith("dword:"):
        return "REG_DWORD", int(data[6:], 16)
    m = re.match(r"str\((\d+)\):", data)
    if m:
        return _REG_TYPES.get(int(m.group(1)), "type %s" % m.group(1)), _quoted(data, m.end())[0]
    m = re.match(r"hex(?:\(([0-9a-fA-F]+)\))?:", data)
    if m:
        kind = int(m.group(1), 16) if m.group(1) else 3
        raw = bytes(int(b, 16) for b in data[m.end():].replace(" ", "").split(",") if b)
        if kind == 4 and len(raw) == 4:
            return "REG_DWORD", int.from_bytes(raw, "little")
        if kind == 11 and len(raw) == 8:
            return "REG_QWORD", int.from_bytes(raw, "little")
        return _REG_TYPES.get(kind, "type %d" % kind), raw
    return "unknown", data


def parse_reg_file(text):
    """Wine's user.reg/system.reg as {key path (lower case): RegKey}."""
    keys = {}
    current = None
    lines = text.splitlines()
    i = 0
    while i < len(lines):
        line = lines[i]
        while line.endswith("\\") and i + 1 < len(lines):
            i += 1
            line = line[:-1] + lines[i].lstrip()
        i += 1
        if line.startswith("["):
            path = _quoted_key(line)
            current = keys.setdefault(path.lower(), RegKey(path))
        elif current is None:
            continue
        elif line.startswith("#class="):
            current.klass = _quoted(line, len("#class="))[0]
        elif line.startswith('"') or line.startswith("@="):
            if line.startswith("@="):
                name, rest = "", line[2:]
            else:
                name, end = _quoted(line, 0)
                rest = line[end + 1:]
            current.values[name] = _decode_value(rest)
    return keys


def _quoted_key(line):
    end = line.rindex("]")
    return line[1:end].replace("\\\\", "\\")


