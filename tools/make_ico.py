#!/usr/bin/python3
"""Writes a Windows icon file from an SVG picture: rsvg-convert draws it at
each size, and the PNG images go into the icon as they are (Windows reads
PNG images in icons since Vista).

usage: make_ico.py OUTPUT.ico PICTURE.svg"""
import struct
import subprocess
import sys

SIZES = (16, 20, 24, 32, 40, 48, 64, 256)


def main():
    output, picture = sys.argv[1], sys.argv[2]
    images = [subprocess.run(["rsvg-convert", "-w", str(s), "-h", str(s), picture],
                             check=True, capture_output=True).stdout for s in SIZES]
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, data = b"", b""
    for size, png in zip(SIZES, images):
        # 256 is written 0; planes 1, 32 bits a pixel.
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(png), offset + len(data))
        data += png
    with open(output, "wb") as f:
        f.write(header + entries + data)


if __name__ == "__main__":
    main()
