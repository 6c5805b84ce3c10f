#!/usr/bin/python3
"""Packs the built programs into a release. Called by scripts/release.sh after the build.

    pack_release.py --win32 BUILD32 --win64 BUILD64 --out DIR

Writes into DIR (new or empty): for each program a zip per word size with the program under its
8.3 name, its README.TXT and LICENSE.TXT; a 1.44 MB FAT12 floppy image with the 32-bit programs
and their texts in a folder each; SHA256SUMS over all of them. Versions come from the programs'
version records. Texts are DOS texts (ASCII, CR LF, at most 78 characters a line) made from the
repository's LF sources.

Every date inside is SOURCE_DATE_EPOCH, else the last commit's time; the image's serial number
follows from it: packing the same programs again gives the same bytes.
"""

import argparse
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(REPO / "tests"))

from check_programs import RT_VERSION, PeFile, file_version  # noqa: E402

# (base of the archive names, built file name, name on the user's disk, README source)
PROGRAMS = (
    ("tambrel", "Tambrel.exe", "TAMBREL.EXE", "release/tambrel-readme.txt"),
    ("ucorvane", "ucorvane.exe", "UCORVANE.EXE", "release/ucorvane-readme.txt"),
)
LICENSE = "LICENSE"
DOS_LINE_LIMIT = 78   # Notepad on Windows 95 does not wrap
FLOPPY_LABEL = "TAMBREL"
FLOPPY_BYTES = 1474560


def release_epoch():
    value = os.environ.get("SOURCE_DATE_EPOCH")
    if value is None:
        value = subprocess.run(["git", "-C", str(REPO), "log", "-1", "--format=%ct"],
                               capture_output=True, text=True, check=True).stdout.strip()
    return int(value)


def program_version(path):
    record = PeFile(path.read_bytes()).resources().get(RT_VERSION, {}).get(1)
    version = file_version(record) if record else None
    if version is None:
        raise SystemExit("%s has no version record" % path)
    return ".".join(map(str, version))


def dos_text(source, version=None):
    """The LF source as a DOS text; @VERSION@ becomes `version`. Refuses what Notepad would mangle."""
    text = source.read_text(encoding="ascii")
    if version is not None:
        text = text.replace("@VERSION@", version)
    lines = text.rstrip("\n").split("\n")
    long_lines = [i + 1 for i, line in enumerate(lines) if len(line) > DOS_LINE_LIMIT]
    if long_lines or "\r" in text or "\t" in text:
        raise SystemExit("%s: lines over %d characters %s, or CR or TAB in it"
                         % (source, DOS_LINE_LIMIT, long_lines))
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


def stage(folder, files, epoch):
    """Writes {name: bytes} into folder with the release's time and fixed permissions."""
    folder.mkdir(parents=True)
    for name, data in files.items():
        path = folder / name
        path.write_bytes(data)
        path.chmod(0o644)
        os.utime(path, (epoch, epoch))
    os.utime(folder, (epoch, epoch))


def tool_env(epoch):
    # zip and mtools write local time: UTC makes it the same on every machine.
    return dict(os.environ, TZ="UTC", SOURCE_DATE_EPOCH=str(epoch), MTOOLS_SKIP_CHECK="1",
                MTOOLSRC="/dev/null", LC_ALL="C")


def make_zip(archive, folder, env):
    # -X: no owner or extended time fields; names in sorted order; no folder entries.
    subprocess.run(["zip", "-q", "-X", "-D", "-9", str(archive.resolve())] + sorted(os.listdir(folder)),
                   cwd=folder, env=env, check=True)


def make_floppy(image, folder, epoch, env):
    """A 1.44 MB FAT12 image holding each subfolder of `folder`; serial number from the epoch."""
    image_arg = ["-i", str(image.resolve())]
    subprocess.run(["mformat", "-C", "-f", "1440", "-v", FLOPPY_LABEL, "-N", "%08X" % (epoch & 0xFFFFFFFF)]
                   + image_arg + ["::"], env=env, check=True)
    for sub in sorted(os.listdir(folder)):
        subprocess.run(["mmd"] + image_arg + ["::/" + sub], env=env, check=True)
        files = [str(folder / sub / name) for name in sorted(os.listdir(folder / sub))]
        subprocess.run(["mcopy", "-m"] + image_arg + files + ["::/" + sub + "/"], env=env, check=True)
    if image.stat().st_size != FLOPPY_BYTES:
        raise SystemExit("%s is %d bytes, not %d" % (image, image.stat().st_size, FLOPPY_BYTES))


def pack(builds, out, epoch):
    """builds: {"win32": dir, "win64": dir}. Returns the names written into out."""
    if out.exists() and any(out.iterdir()):
        raise SystemExit("%s is not empty" % out)
    out.mkdir(parents=True, exist_ok=True)
    env = tool_env(epoch)
    license_text = dos_text(REPO / LICENSE)
    written = []
    with tempfile.TemporaryDirectory(prefix="release-") as scratch:
        scratch = Path(scratch)
        versions = {}
        for base, built, name, readme in PROGRAMS:
            programs = {bits: Path(builds[bits]) / "bin" / built for bits in ("win32", "win64")}
            found = {bits: program_version(path) for bits, path in programs.items()}
            if found["win32"] != found["win64"]:
                raise SystemExit("%s: version %s in win32, %s in win64" % (built, found["win32"], found["win64"]))
            version = versions[base] = found["win32"]
            texts = {"README.TXT": dos_text(REPO / readme, version), "LICENSE.TXT": license_text}
            for bits, path in programs.items():
                folder = scratch / ("%s-%s" % (base, bits))
                stage(folder, dict(texts, **{name: path.read_bytes()}), epoch)
                archive = "%s-%s-%s.zip" % (base, version, bits)
                make_zip(out / archive, folder, env)
                written.append(archive)
                if bits == "win32":
                    stage(scratch / "floppy" / name.split(".")[0], dict(texts, **{name: path.read_bytes()}), epoch)
        image = "%s-%s-floppy.img" % (PROGRAMS[0][0], versions[PROGRAMS[0][0]])
        make_floppy(out / image, scratch / "floppy", epoch, env)
        written.append(image)
    sums = "".join("%s  %s\n" % (hashlib.sha256((out / name).read_bytes()).hexdigest(), name)
                   for name in sorted(written))
    (out / "SHA256SUMS").write_text(sums)
    return sorted(written) + ["SHA256SUMS"]


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--win32", type=Path, required=True, help="the win32 build folder")
    parser.add_argument("--win64", type=Path, required=True, help="the win64 build folder")
    parser.add_argument("--out", type=Path, required=True)
    args = parser.parse_args()
    missing = [tool for tool in ("zip", "mformat", "mmd", "mcopy") if shutil.which(tool) is None]
    if missing:
        raise SystemExit("missing: %s; scripts/setup.sh installs them" % " ".join(missing))
    for name in pack({"win32": args.win32, "win64": args.win64}, args.out, release_epoch()):
        print("%9d bytes  %s" % ((args.out / name).stat().st_size, args.out / name))
    return 0


if __name__ == "__main__":
    sys.exit(main())
