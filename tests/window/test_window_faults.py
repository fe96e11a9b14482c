"""The real window under faults: unsaved text kept when it is ended from
outside (SIGTERM, SIGHUP, a lost display) and offered back at the next
start; a companion's failed recording said in a box; another program's
huge clipboard refused without being read. Exits 77 (skipped) when no
virtual display can be run."""
import functools
import os
import resource
import shutil
import signal
import subprocess
import sys
import unittest
from unittest import mock

sys.path.insert(0, os.path.dirname(__file__))
import test_signals  # noqa: E402

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "../blackbox"))
import pavsdi  # noqa: E402


def small_disk():
    """In the child: no file grows past 1 MB (a nearly full disk)."""
    signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
    resource.setrlimit(resource.RLIMIT_FSIZE, (1 << 20, resource.RLIM_INFINITY))


class WindowFaults(test_signals.Signals):
    def kept(self):
        path = os.path.join(self.orfeon, "prvsecours.tab")
        if not os.path.exists(path):
            return None
        with open(path, "rb") as f:
            return f.read()

    def log_after(self, line):
        """The log from that line on; "" before it."""
        with open(self.log, encoding="utf-8") as f:
            text = f.read()
        return text[text.index(line):] if line in text else ""

    def dump(self, name):
        with open(os.path.join(self.root, name), encoding="utf-8") as f:
            return dict(line.rstrip("\n").split("\t", 1) for line in f if "\t" in line)

    def restart(self, steps):
        """Starts again (on a new display when the last one was lost) and
        runs to the end of the steps."""
        if self.xvfb.poll() is not None:
            kept = self.kept()
            self.tearDown()
            self.setUp()
            self.write("prvsecours.tab", kept)
        self.start(steps + ["dump state", "answer 7", "quit"])
        self.program.wait(timeout=60)
        return self.dump("state")

    def test_unsaved_text_kept_on_the_way_out_and_offered(self):
        ends = [("SIGTERM", signal.SIGTERM), ("SIGHUP", signal.SIGHUP), ("display lost", None)]
        for name, sig in ends:
            # The keys reach the editor through the display, after the step.
            self.start(["type o3 c d e", "wait 1000", "dump typed", "wait 60000"])
            self.wait_for(lambda: self.logged("STEP\twait 60000"))
            self.assertEqual("o3 c d e", self.dump("typed")["EDITOR"], name)
            if sig is None:
                self.xvfb.kill()
                self.xvfb.wait()
            else:
                self.program.send_signal(sig)
            self.program.wait(timeout=10)
            self.assertEqual(b"\no3 c d e", self.kept(), name)
            state = self.restart(["answer 6"])
            self.assertTrue(self.logged("BOX\tASK\ttexte non sauvegardé gardé à la fermeture : Document"
                                        "\toui=ouvrir non=effacer annuler=plus tard\t6"), name)
            self.assertEqual(("o3 c d e", "1"), (state["EDITOR"], state["MODIFIED"]), name)
            self.assertIsNone(self.kept(), name)

    def test_answers_to_the_offer(self):
        piece = os.path.join(self.root, "piece.tab")
        with open(piece, "wb") as f:
            f.write(b"o3 c\r\n")
        # Oui: the text under its file's name, changed; Non: gone; Annuler:
        # kept for the next start.
        cases = [("6", "o3 c d", piece, "1", None), ("7", "", "", "0", None),
                 ("2", "", "", "0", piece.encode() + b"\no3 c d")]
        for answer, editor, name, modified, left in cases:
            self.write("prvsecours.tab", piece.encode() + b"\no3 c d")
            state = self.restart(["answer " + answer])
            self.assertEqual((editor, name, modified), (state["EDITOR"], state["FILENAME"], state["MODIFIED"]),
                             answer)
            self.assertEqual(left, self.kept(), answer)
        with open(piece, "rb") as f:
            self.assertEqual(b"o3 c\r\n", f.read(), "the file itself waits for Sauver")

    def test_failed_recording_of_jouer_tout_is_said(self):
        self.write("midiinit.dev", b"1\r\n")
        self.write("prv.tab", b"t60\r\n" + b"o3 c1 d1 e1 " * 3 + b"\r\n")
        with mock.patch("subprocess.Popen", functools.partial(subprocess.Popen, preexec_fn=small_disk)):
            # The user waits with the box open: closing it would end the playing.
            self.start(["answer show", "command 600", "wait 60000"])
        self.wait_for(lambda: self.logged("BOX\tINFO\timpossible d'écrire\t\\\\orfeon\\\\sortie.wav"
                                          "\\nle fichier est trop grand\t1"))
        self.ends_within_the_limit(signal.SIGTERM)

    def test_huge_clipboard_of_another_program(self):
        huge = os.path.join(self.root, "huge.txt")
        with open(huge, "wb") as f:
            f.write(b"c d e " * ((10 << 20) // 6))
        self.start(["wait 4000", "command 611", "wait 60000"])
        # Once the start-up has put the tablature there, another program
        # takes the clipboard (xclip serves it until the display ends).
        self.wait_for(lambda: self.logged("READY"))
        with open(huge, "rb") as f:
            subprocess.run(["xclip", "-selection", "clipboard", "-i"], stdin=f, check=True,
                           env=dict(os.environ, DISPLAY=self.display), timeout=60)
        self.wait_for(lambda: "\nCUE\t" in self.log_after("CMD\t611"))
        self.assertTrue(self.logged("BOX\tINFO\tpresse papier trop grand"
                                    "\tle presse papier contient plus de 1024 Ko de texte : il n'est pas lu\t1"))
        with open("/proc/%d/status" % self.program.pid) as f:
            peak = int(next(l for l in f if l.startswith("VmHWM")).split()[1])
        self.assertLess(peak, 150_000, "kB at the peak")
        self.ends_within_the_limit(signal.SIGTERM)


if __name__ == "__main__":
    if shutil.which("Xvfb") is None:
        sys.exit(77)
    # Only these: the signal tests run from their own file.
    own = [name for name in vars(WindowFaults) if name.startswith("test_")]
    unittest.main(argv=[sys.argv[0], "-v"] + ["WindowFaults." + name for name in own])
