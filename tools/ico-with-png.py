#!/usr/bin/env python3
"""Writes an icon file from a BMP-framed icon file (as ImageMagick writes them) and further frames
given as PNG files, which go in PNG-compressed (as the system has read them since Windows Vista).

    ico-with-png.py OUT.ico SMALL.ico LARGE1.png [LARGE2.png ...]

The small frames stay uncompressed: the program shows them at start (the tray icon) and the system
reads them without its picture decoders. The large ones, for high display scales only, would be
most of the program's size uncompressed."""
import struct
import sys


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit("not a PNG file")
    return struct.unpack(">II", data[16:24])


def main(argv):
    out, small, pngs = argv[1], argv[2], argv[3:]
    with open(small, "rb") as f:
        ico = f.read()
    reserved, kind, count = struct.unpack("<HHH", ico[:6])
    if reserved != 0 or kind != 1:
        raise SystemExit(small + " is no icon file")
    frames = []
    for i in range(count):
        w, h, colours, _, planes, bits, size, offset = struct.unpack("<BBBBHHII", ico[6 + 16 * i:22 + 16 * i])
        frames.append((w, h, colours, planes, bits, ico[offset:offset + size]))
    for name in pngs:
        with open(name, "rb") as f:
            data = f.read()
        w, h = png_size(data)
        frames.append((w % 256, h % 256, 0, 1, 32, data))
    header = struct.pack("<HHH", 0, 1, len(frames))
    offset = 6 + 16 * len(frames)
    entries, blobs = b"", b""
    for w, h, colours, planes, bits, data in frames:
        entries += struct.pack("<BBBBHHII", w, h, colours, 0, planes, bits, len(data), offset + len(blobs))
        blobs += data
    with open(out, "wb") as f:
        f.write(header + entries + blobs)


if __name__ == "__main__":
    main(sys.argv)
