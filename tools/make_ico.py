#!/usr/bin/env python3
"""Turns a pixel-art text source into a Windows .ico of 16-colour images.

Source format: lines starting with '#' are comments. Each image starts with a line "size N",
followed by N rows of N characters. A character names one colour of the standard 16-colour
palette ('0'..'9', 'a'..'f') or '.' for a transparent pixel.
"""
import struct
import sys

PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]


def parse(text):
    images, rows, size = [], None, 0
    for number, line in enumerate(text.splitlines(), 1):
        line = line.rstrip()
        if not line or line.startswith("#"):
            continue
        if line.startswith("size "):
            if rows is not None and len(rows) != size:
                raise SystemExit(f"line {number}: previous image has {len(rows)} rows, not {size}")
            size = int(line.split()[1])
            rows = []
            images.append((size, rows))
            continue
        if rows is None:
            raise SystemExit(f"line {number}: pixels before any 'size' line")
        if len(line) != size or any(c not in "0123456789abcdef." for c in line):
            raise SystemExit(f"line {number}: expected {size} palette characters")
        rows.append(line)
    if not images or len(images[-1][1]) != images[-1][0]:
        raise SystemExit("incomplete image")
    return images


def row_bytes(bits_per_pixel, width):
    return ((width * bits_per_pixel + 31) // 32) * 4


def encode(size, rows):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    colour, mask = bytearray(), bytearray()
    for line in reversed(rows):  # bitmaps are stored bottom-up
        nibbles = [0 if c == "." else int(c, 16) for c in line]
        packed = bytearray((nibbles[i] << 4) | (nibbles[i + 1] if i + 1 < size else 0)
                           for i in range(0, size, 2))
        colour += packed + bytes(row_bytes(4, size) - len(packed))
        bits = bytearray(row_bytes(1, size))
        for x, c in enumerate(line):
            if c == ".":
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + palette + bytes(colour) + bytes(mask)


def main():
    if len(sys.argv) != 3:
        raise SystemExit("usage: make_ico.py SOURCE.txt OUTPUT.ico")
    with open(sys.argv[1], encoding="ascii") as f:
        images = parse(f.read())
    blobs = [encode(size, rows) for size, rows in images]
    offset = 6 + 16 * len(blobs)
    out = bytearray(struct.pack("<HHH", 0, 1, len(blobs)))
    for (size, _), blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    with open(sys.argv[2], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
