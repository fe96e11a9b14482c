#!/usr/bin/python3
"""Checks the layers of src/ from the includes.

Layers, lowest first: formats, platform, core, midi, tablature, harmony,
clipboard, app, drivers, the terminal front end, the windows (shell, the wx
window, and win32, the native Windows one, side by side), then src/main.cpp.
A file may include its own folder and the folders below it, never one above,
and neither window includes the other. Only the drivers and
the window see system libraries: nothing below them includes a toolkit,
sound or MIDI header. The system's own headers of Windows appear only in
its halves: files named *_win.cpp or *_win.h, or in a windows/ folder, and
the native window, src/win32.
Circles of includes between files are refused too.
Prints every fault and exits 1 when there is one.

usage: check_layers.py [SRC]"""
import os
import re
import sys

LAYERS = ["formats", "platform", "core", "midi", "tablature", "harmony",
          "clipboard", "app", "drivers", "terminal", "shell", "win32"]
# The two windows stand side by side: each is a front end of its own.
WINDOWS = {"shell", "win32"}
# System headers that belong to the back ends and the window only.
SYSTEM_HEADERS = re.compile(r"^(wx/|fluidsynth|rtmidi|RtMidi|alsa/|sndfile|pulse/|cairo)")
SYSTEM_LAYER = LAYERS.index("drivers")
WINDOWS_HEADERS = re.compile(r"^(windows|mmsystem|timeapi|shellapi|shlobj|bcrypt|commctrl|commdlg|oleacc|io)\.h$", re.I)
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def layer_of(relative):
    folder = relative.split("/")[0]
    if folder in LAYERS:
        return LAYERS.index(folder)
    return len(LAYERS)  # main.cpp


def windows_half(relative):
    stem = os.path.splitext(os.path.basename(relative))[0]
    folders = relative.split("/")[:-1]
    return stem.endswith("_win") or "windows" in folders or folders[:1] == ["win32"]


def main(src):
    faults = []
    graph = {}
    for folder, _, names in os.walk(src):
        for name in sorted(names):
            if not name.endswith((".cpp", ".h")):
                continue
            relative = os.path.relpath(os.path.join(folder, name), src)
            with open(os.path.join(src, relative), encoding="utf-8") as f:
                text = f.read()
            own = layer_of(relative)
            graph[relative] = []
            for kind, header in INCLUDE.findall(text):
                if kind == '"':
                    if "/" not in header:
                        continue
                    graph[relative].append(header)
                    if layer_of(header) > own:
                        faults.append(f"{relative}: includes {header}, a higher layer")
                    elif {relative.split("/")[0], header.split("/")[0]} == WINDOWS:
                        faults.append(f"{relative}: includes {header}, the other window")
                elif SYSTEM_HEADERS.match(header) and own < SYSTEM_LAYER:
                    faults.append(f"{relative}: includes <{header}>, a system library below the drivers")
                elif WINDOWS_HEADERS.match(header) and not windows_half(relative):
                    faults.append(f"{relative}: includes <{header}> outside the Windows halves")
    # Circles of includes, found by a depth-first walk.
    state = {}

    def visit(node, path):
        state[node] = 1
        for nxt in graph.get(node, []):
            if state.get(nxt) == 1:
                circle = path[path.index(nxt):] + [nxt] if nxt in path else [node, nxt]
                faults.append("circle of includes: " + " -> ".join(circle))
            elif nxt in graph and not state.get(nxt):
                visit(nxt, path + [nxt])
        state[node] = 2

    for node in sorted(graph):
        if not state.get(node):
            visit(node, [node])
    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} layering fault(s); layers, lowest first: {', '.join(LAYERS)}, main.cpp")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "src")))
