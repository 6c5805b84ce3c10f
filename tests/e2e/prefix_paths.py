"""Where things are in a Wine prefix, as host paths and as the programs see them."""

import re
import shutil
from pathlib import Path


class PrefixPaths:
    def __init__(self, prefix, user):
        self.prefix = Path(prefix)
        self.user = user

    @property
    def drive_c(self):
        return self.prefix / "drive_c"

    @property
    def user_dir(self):
        return self.drive_c / "users" / self.user

    @property
    def desktop_dir(self):
        return self.user_dir / "Desktop"

    @property
    def windows_dir(self):
        return self.drive_c / "windows"

    def host_path(self, win_path):
        """C:\\x\\y.txt -> <prefix>/drive_c/x/y.txt. Like Wine, existing folders and files are matched
        without regard to case (C:\\Windows is drive_c/windows); the rest keeps the case given."""
        p = str(win_path).replace("/", "\\")
        m = re.match(r"^([A-Za-z]):\\?(.*)$", p)
        if not m:
            raise ValueError("not a Windows path: %r" % win_path)
        drive, rest = m.group(1).lower(), m.group(2)
        base = self.drive_c if drive == "c" else Path("/") if drive == "z" else None
        if base is None:
            raise ValueError("only C: and Z: are mapped: %r" % win_path)
        path = base
        for part in (part for part in rest.split("\\") if part):
            if not (path / part).exists() and path.is_dir():
                part = next((e.name for e in path.iterdir() if e.name.lower() == part.lower()), part)
            path = path / part
        return path

    def win_path(self, host_path):
        """A host path as Wine sees it: under drive_c -> C:\\..., elsewhere Z:\\..."""
        p = Path(host_path).resolve()
        try:
            rel = p.relative_to(self.drive_c.resolve())
            return "C:\\" + "\\".join(rel.parts)
        except ValueError:
            return "Z:" + str(p).replace("/", "\\")

    def folder(self, where):
        """A working folder given as a host path or a Windows path (default C:\\), made when missing."""
        if where is None:
            return self.drive_c
        where = str(where)
        path = Path(where) if where.startswith("/") else self.host_path(where)
        path.mkdir(parents=True, exist_ok=True)
        return path

    def program_arg(self, exe):
        """How to name a program to Wine: a host path becomes its Windows path."""
        exe = str(exe)
        return self.win_path(exe) if exe.startswith("/") else exe

    def install(self, program, win_dir):
        """Copies a host file into the prefix (e.g. "C:\\Program Files\\Corvane"); returns its
        Windows path."""
        target_dir = self.host_path(win_dir)
        target_dir.mkdir(parents=True, exist_ok=True)
        shutil.copy2(program, target_dir / Path(program).name)
        return str(win_dir).rstrip("\\") + "\\" + Path(program).name
