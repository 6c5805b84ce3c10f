"""The release as scripts/release.sh packs it, from the builds the test run made: what the archives
and the floppy image hold, that their own tools accept them, the DOS texts, and that packing the
same builds again gives the same bytes."""

import os
import struct
import subprocess
import sys
import zipfile
from pathlib import Path

import pytest

REPO = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(REPO / "tests"))
sys.path.insert(0, str(REPO / "scripts"))

import pack_release  # noqa: E402
from check_programs import PeFile  # noqa: E402

BUILDS = {bits: Path(os.environ.get("TAMBREL_%s_DIR" % bits.upper(), REPO / "build" / bits))
          for bits in ("win32", "win64")}
EPOCH = 981173106   # 2001-02-03 04:05:06 UTC: far from the test's own time
DOS_DATE = ((2001 - 1980) << 9) | (2 << 5) | 3
DOS_TIME = (4 << 11) | (5 << 5) | (6 // 2)
MTOOLS_ENV = dict(os.environ, MTOOLS_SKIP_CHECK="1", MTOOLSRC="/dev/null")


def built(bits, name):
    path = BUILDS[bits] / "bin" / name
    if not path.is_file():
        pytest.fail("%s is missing: build the %s preset first" % (path, bits))
    return path.read_bytes()


def version_of(built_name):
    record = PeFile(built("win32", built_name)).resources()[pack_release.RT_VERSION][1]
    return ".".join(map(str, pack_release.file_version(record)))


# (archive base, built name, name on the disk, version from the built program)
RELEASED = [(base, built_name, disk_name, version_of(built_name))
            for base, built_name, disk_name, _ in pack_release.PROGRAMS]
IMAGE = "tambrel-%s-floppy.img" % RELEASED[0][3]


@pytest.fixture(scope="module")
def dist(tmp_path_factory):
    folder = tmp_path_factory.mktemp("release") / "dist"
    pack_release.pack(BUILDS, folder, EPOCH)
    return folder


def image_read(dist, path):
    return subprocess.run(["mtype", "-i", str(dist / IMAGE), "::" + path], env=MTOOLS_ENV,
                          capture_output=True, check=True).stdout


def directory_entries(image):
    """(path, 32-byte entry) of everything in the root folder and in its folders (one cluster each)."""
    data = image.read_bytes()
    sector, per_cluster, reserved, fats, roots = struct.unpack_from("<HBHBH", data, 11)
    root_at = (reserved + fats * struct.unpack_from("<H", data, 22)[0]) * sector
    cluster = per_cluster * sector

    def entries(at, count):
        raw = [data[at + 32 * i:at + 32 * i + 32] for i in range(count)]
        return raw[:next((i for i, entry in enumerate(raw) if entry[0] == 0), count)]

    found = []
    for entry in entries(root_at, roots):
        found.append((entry[:11].decode(), entry))
        if entry[11] & 0x10:
            at = root_at + roots * 32 + (struct.unpack_from("<H", entry, 26)[0] - 2) * cluster
            folder = entry[:8].decode().strip()
            found += [(folder + "\\" + sub[:11].decode(), sub) for sub in entries(at, cluster // 32)]
    return found


def test_archives_and_image_hold_the_built_programs_under_8_3_names(dist):
    zips = {"%s-%s-%s.zip" % (base, version, bits): (bits, built_name, disk_name)
            for base, built_name, disk_name, version in RELEASED for bits in ("win32", "win64")}
    assert sorted(os.listdir(dist)) == sorted(list(zips) + [IMAGE, "SHA256SUMS"])
    assert subprocess.run(["sha256sum", "-c", "SHA256SUMS"], cwd=dist, capture_output=True).returncode == 0
    for archive, (bits, built_name, disk_name) in zips.items():
        subprocess.run(["unzip", "-tq", str(dist / archive)], check=True, capture_output=True)
        with zipfile.ZipFile(dist / archive) as z:
            assert z.namelist() == ["LICENSE.TXT", "README.TXT", disk_name]
            assert z.read(disk_name) == built(bits, built_name)
            assert {info.date_time for info in z.infolist()} == {(2001, 2, 3, 4, 5, 6)}
        pe = built(bits, built_name)
        assert pe[struct.unpack_from("<I", pe, 0x3C)[0] + 8:][:4] == bytes(4), "%s carries its link time" % archive

    image = dist / IMAGE
    assert image.stat().st_size == 1474560
    subprocess.run(["fsck.fat", "-n", str(image)], check=True, capture_output=True)
    for _, built_name, disk_name, _ in RELEASED:
        assert image_read(dist, "/%s/%s" % (disk_name[:-4], disk_name)) == built("win32", built_name)
    entries = directory_entries(image)
    assert sorted(e[0] for e in entries) == sorted(
        ["TAMBREL    ", "TAMBREL    ", "UCORVANE   "] +
        ["%s\\%s" % (folder, name) for folder in ("TAMBREL", "UCORVANE")
         for name in (".          ", "..         ", "LICENSE TXT", "README  TXT", folder.ljust(8) + "EXE")])
    assert [name for name, entry in entries if entry[11] & 0x08] == ["TAMBREL    "], "one volume label"
    for name, entry in entries:
        created_time, created_date, accessed, _, written_time, written_date = struct.unpack_from("<6H", entry, 14)
        assert (written_time, written_date) == (DOS_TIME, DOS_DATE), name
        assert {created_time, created_date, accessed} <= {0, DOS_TIME, DOS_DATE}, name


def test_texts_are_dos_texts_and_each_readme_names_its_program(dist):
    license_text = (REPO / "LICENSE").read_bytes().replace(b"\n", b"\r\n")
    for base, _, disk_name, version in RELEASED:
        folder = "/%s/" % disk_name[:-4]
        assert image_read(dist, folder + "LICENSE.TXT") == license_text
        readmes = [image_read(dist, folder + "README.TXT")]
        for bits in ("win32", "win64"):
            with zipfile.ZipFile(dist / ("%s-%s-%s.zip" % (base, version, bits))) as z:
                assert z.read("LICENSE.TXT") == license_text
                readmes.append(z.read("README.TXT"))
        assert readmes[1:] == readmes[:1] * 2
        lines = readmes[0].split(b"\r\n")
        assert lines[-1] == b"", "ends with CR LF"
        for line in lines:
            assert len(line) <= 78 and all(32 <= c < 127 for c in line), line
        assert b"version " + version.encode() in readmes[0] and disk_name.encode() in readmes[0]
        assert b"@" not in readmes[0]
    panel = image_read(dist, "/TAMBREL/README.TXT")
    for needed in (b"486", b"Windows 95", b"330h", b'"Port"=dword:', b'"Save MIDI"', b"inpout32.dll",
                   b"inpoutx64.dll", b"anti-cheat"):
        assert needed in panel


def test_second_packing_of_the_same_builds_is_byte_identical(dist, tmp_path):
    pack_release.pack(BUILDS, tmp_path / "again", EPOCH)
    assert sorted(os.listdir(tmp_path / "again")) == sorted(os.listdir(dist))
    for name in os.listdir(dist):
        assert (tmp_path / "again" / name).read_bytes() == (dist / name).read_bytes(), name
