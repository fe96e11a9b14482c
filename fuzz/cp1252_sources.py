#!/usr/bin/python3
"""Copies a source tree, writing every non-ASCII character as the octal
escapes of its Windows-1252 bytes.

clang accepts no execution character set but UTF-8, so the fuzz build
compiles these copies: a French literal then holds the same bytes as in the
normal build (-fexec-charset=CP1252). Octal escapes take at most three
digits, so a digit after one stays a digit. Characters Windows-1252 lacks
can only be in comments; they become '?'. A file is rewritten only when its
copy changes, so that unchanged sources are not rebuilt."""
import os
import sys


def escape(text):
    out = []
    for ch in text:
        if ord(ch) < 128:
            out.append(ch)
            continue
        try:
            out.append("".join("\\%03o" % b for b in ch.encode("cp1252")))
        except UnicodeEncodeError:
            out.append("?")
    return "".join(out)


def main(source, destination):
    for folder, _, files in os.walk(source):
        target = os.path.join(destination, os.path.relpath(folder, source))
        os.makedirs(target, exist_ok=True)
        for name in files:
            with open(os.path.join(folder, name), encoding="utf-8") as f:
                text = f.read()
            if name.endswith((".cpp", ".h")):
                text = escape(text)
            path = os.path.join(target, name)
            if os.path.exists(path):
                with open(path, encoding="utf-8") as f:
                    if f.read() == text:
                        continue
            with open(path, "w", encoding="utf-8") as f:
                f.write(text)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
