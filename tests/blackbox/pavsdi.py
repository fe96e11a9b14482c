"""Helpers of the black-box tests: a temporary drive root, the programs of
the build, and their console transcripts."""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

BUILD = os.environ.get("PAVSDI_BUILD", os.path.join(os.path.dirname(__file__), "../../build"))
SOURCE = os.environ.get("PAVSDI_SOURCE", os.path.join(os.path.dirname(__file__), "../.."))
# The Windows build's programs run under wine through this launcher
# (scripts/wine-run), with the same transcripts.
WINE = os.environ.get("PAVSDI_WINE")
EXE = ".exe" if WINE else ""
# What only the Linux programs have: a machine without any clipboard, the
# desktop's clipboard tools. Windows always has its clipboard.
linux_only = unittest.skipIf(WINE, "Linux only")


def program_without_companions():
    """pavsdi as the tests run it: a copy in a folder of its own, where the
    companions it starts (clipsend at every start) are not found, so that
    none of them writes the clipboard file or the data behind a test's
    back. The sound module is still found (in the folder above)."""
    alone = os.path.join(BUILD, "without-companions")
    copy = os.path.join(alone, "pavsdi" + EXE)
    source = os.path.join(BUILD, "pavsdi" + EXE)
    if not os.path.exists(copy) or os.path.getmtime(copy) < os.path.getmtime(source):
        os.makedirs(alone, exist_ok=True)
        fd, temporary = tempfile.mkstemp(dir=alone)
        os.close(fd)
        shutil.copy2(source, temporary)
        os.replace(temporary, copy)
    return copy


class RootTest(unittest.TestCase):
    """Each test gets its own drive root with a data directory laid from the
    template and device 2 (the MIDI file) chosen."""

    device = "2"

    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="pavsdi-bb-")
        subprocess.run([os.path.join(SOURCE, "scripts/install-data"), self.root, BUILD, self.device],
                       check=True, env=dict(os.environ, FORCE="1"))
        self.orfeon = os.path.join(self.root, "orfeon")

    def tearDown(self):
        shutil.rmtree(self.root, ignore_errors=True)

    def env(self, **extra):
        # No sound output unless a test asks for one: the tests stay quiet
        # and behave alike on every machine.
        env = dict(os.environ, PAVSDI_ROOT=windows_path(self.root) if WINE else self.root,
                   PAVSDI_UI="console", PAVSDI_AUDIO="none")
        env.update(extra)
        return env

    def run_program(self, name, args=(), stdin="", timeout=60, companions=True, **extra):
        """Runs a program of the build; returns (status, stdout lines, stderr)."""
        path = os.path.join(BUILD, name if "/" in name else "tools/" + name) + EXE
        if name == "pavsdi":
            path = os.path.join(BUILD, "pavsdi" + EXE) if companions else program_without_companions()
        # wine starts each program more slowly, the more so on a loaded machine.
        done = subprocess.run([WINE, path, *args] if WINE else [path, *args], input=stdin.encode(), capture_output=True,
                              env=self.env(**extra), timeout=timeout * 3 if WINE else timeout, cwd=self.root)
        out = done.stdout.decode("utf-8")
        err = done.stderr.decode("utf-8", "replace")
        if WINE:
            out, err = unix_paths(out), unix_paths(err)
        return done.returncode, [l for l in out.split("\n") if l], err

    def write(self, name, data, mode="wb"):
        path = os.path.join(self.orfeon, name)
        with open(path, mode) as f:
            f.write(data)
        return path


def windows_path(path):
    """A file of this machine as a program under wine names it."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def unix_paths(text):
    """The paths a program under wine wrote (Z:\\tmp\\x, or its separators
    escaped as \\\\ in the console's fields) as this machine names them."""
    return re.sub(r"Z:((?:\\\\?[^\\\s]+)+)",
                  lambda m: re.sub(r"\\\\?", "/", m.group(1)), text)


def midi_messages(path):
    """(time in ms, message) of every channel message of a format-0 file;
    none when there is no file (a recorder writes nothing before a note)."""
    import mido
    if not os.path.exists(path):
        return [], 0
    midi = mido.MidiFile(path)
    assert midi.type == 0 and midi.ticks_per_beat == 500, (midi.type, midi.ticks_per_beat)
    ms = 0
    out = []
    for msg in midi.tracks[0]:
        ms += msg.time
        if msg.is_meta:
            if msg.type == "set_tempo":
                assert msg.tempo == 500000
            continue
        out.append((ms, msg))
    return out, ms


def main():
    unittest.main(argv=[sys.argv[0], "-v"])
