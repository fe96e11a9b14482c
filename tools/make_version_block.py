#!/usr/bin/python3
"""Writes the program's version block as a C++ byte array: the binary
layout of a version resource (VS_VERSIONINFO with its fixed information,
one string table "040904E4" and the translation 0x0409/0x04E4), strings in
UTF-16LE.

An OUTPUT ending in ".bin" gets the block itself: the Windows window takes it
as its version resource.

usage: make_version_block.py OUTPUT.cpp|OUTPUT.bin VERSION"""
import struct
import sys

LANGUAGE = 0x0409
CODE_PAGE = 0x04E4


def pad(data):
    return data + b"\0" * (-len(data) % 4)


def node(key, value=b"", value_length=0, text=False, children=()):
    """One node: length, value length, type, key, value, children; every
    part starts on a 32-bit boundary."""
    body = pad(struct.pack("<HHH", 0, value_length, 1 if text else 0) + key.encode("utf-16le") + b"\0\0")
    body += value
    for child in children:
        body = pad(body) + child
    return struct.pack("<H", len(body)) + body[2:]


def string(key, value):
    encoded = value.encode("utf-16le") + b"\0\0"
    return node(key, encoded, len(encoded) // 2, text=True)


def fixed_info(version):
    parts = [int(p) for p in (version.split(".") + ["0", "0", "0"])[:4]]
    ms = (parts[0] << 16) | parts[1]
    ls = (parts[2] << 16) | parts[3]
    # signature, structure version, file and product versions, flags mask,
    # flags, OS (32-bit Windows), type (application), subtype, date
    return struct.pack("<13I", 0xFEEF04BD, 0x00010000, ms, ls, ms, ls, 0x3F, 0, 0x00040004, 1, 0, 0, 0)


def version_block(version):
    strings = [
        ("Comments", "Tablatures et exercices d'harmonie sur MIDI"),
        ("CompanyName", "Pavane"),
        ("FileDescription", "PavSdi - environnement midi"),
        ("FileVersion", version),
        ("InternalName", "PavSdi"),
        ("LegalCopyright", "Copyright \u00a9 Pavane"),
        ("OriginalFilename", "pavsdi"),
        ("ProductName", "PavSdi"),
        ("ProductVersion", version),
    ]
    table = node("%04X%04X" % (LANGUAGE, CODE_PAGE), text=True, children=[string(k, v) for k, v in strings])
    string_info = node("StringFileInfo", text=True, children=[table])
    translation = node("Translation", struct.pack("<HH", LANGUAGE, CODE_PAGE), 4)
    var_info = node("VarFileInfo", text=True, children=[translation])
    info = fixed_info(version)
    return node("VS_VERSION_INFO", info, len(info), children=[string_info, var_info])


def main():
    output, version = sys.argv[1], sys.argv[2]
    block = version_block(version)
    if output.endswith(".bin"):
        with open(output, "wb") as f:
            f.write(block)
        return
    rows = [", ".join("0x%02x" % b for b in block[i:i + 16]) for i in range(0, len(block), 16)]
    with open(output, "w", encoding="ascii") as f:
        f.write("// Written by the build (tools/make_version_block.py): the version block.\n")
        f.write('#include "app/version_block.h"\n\n')
        f.write("alignas(4) const unsigned char kVersionBlock[] = {\n  %s,\n};\n" % ",\n  ".join(rows))
        f.write("const unsigned kVersionBlockSize = sizeof kVersionBlock;\n")


if __name__ == "__main__":
    main()
