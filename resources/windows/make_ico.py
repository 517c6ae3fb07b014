#!/usr/bin/env python3
"""make_ico.py out.ico in-16.png in-32.png ...: packs PNG images into a Windows icon file
(Windows Vista and later read PNG-compressed entries)."""
import struct
import sys

images = [open(path, "rb").read() for path in sys.argv[2:]]
header = struct.pack("<HHH", 0, 1, len(images))
offset = len(header) + 16 * len(images)
entries = b""
for data in images:
    width, height = struct.unpack(">II", data[16:24])  # the PNG's IHDR chunk
    entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data), offset)
    offset += len(data)
with open(sys.argv[1], "wb") as out:
    out.write(header + entries + b"".join(images))
