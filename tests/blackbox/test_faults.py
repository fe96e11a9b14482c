"""Faults and bad input through the real program: signals, kills, write
failures, files that are not regular files, names Windows-1252 lacks."""
import glob
import os
import resource
import signal
import subprocess
import time
import unittest
import wave

import pavsdi

START_UP = [
    "CUE\t\\\\orfeon\\\\lisez.wav",
    "INFO\tPavSdi\tla tablature courante est dans le presse papier",
    "RUN\t\\\\orfeon\\\\clipsend.exe\t3",
]
# A long piece for the WAV device: 300 notes of 4 s (20 minutes of music).
LONG_PIECE = b"t60\r\n" + b"o3 c1 d1 e1 " * 100 + b"\r\n"


def full_disk():
    """In the child: files cannot grow (a full disk, whoever runs the test)."""
    signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
    resource.setrlimit(resource.RLIMIT_FSIZE, (0, resource.RLIM_INFINITY))


class FaultTest(pavsdi.RootTest):
    def read(self, name):
        with open(os.path.join(self.orfeon, name), "rb") as f:
            return f.read()

    def start(self, args=(), **extra):
        return subprocess.Popen([pavsdi.program_without_companions(), *args], stdin=subprocess.PIPE,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=self.env(**extra),
                                cwd=self.root)

    def wait_for(self, condition, timeout=20):
        deadline = time.monotonic() + timeout
        while not condition():
            self.assertLess(time.monotonic(), deadline, "timed out")
            time.sleep(0.05)

    def temporaries(self):
        return glob.glob(os.path.join(self.orfeon, "*.tmp*"))


class Faults(FaultTest):
    def test_wrong_tablature_name_keeps_the_previous_recording(self):
        self.write("sortie.mid", b"previous recording")
        status, lines, _ = self.run_program("pavsdi", ["\\orfeon\\faute.tab"])
        self.assertEqual(1, status)
        self.assertEqual(["INFO\timpossible d'ouvrir en lecture\t\\\\orfeon\\\\faute.tab"
                          "\\nle fichier n'existe pas"], lines)
        self.assertEqual(b"previous recording", self.read("sortie.mid"))

    def test_full_disk_is_reported_and_old_files_stay(self):
        self.write("sortie.mid", b"previous recording")
        self.write("prv.tab", b"c d\r\n")
        self.write("piece.tab", b"e f\r\n")
        done = subprocess.run([os.path.join(pavsdi.BUILD, "pavsdi"), "\\orfeon\\piece.tab"], capture_output=True,
                              env=self.env(), cwd=self.root, timeout=30, preexec_fn=full_disk)
        lines = done.stdout.decode().splitlines()
        self.assertEqual(["INFO\timpossible d'écrire\t\\\\orfeon\\\\prv.tab\\nle fichier est trop grand",
                          "INFO\timpossible d'écrire\t\\\\orfeon\\\\sortie.mid\\nle fichier est trop grand"], lines)
        self.assertEqual(b"previous recording", self.read("sortie.mid"))
        self.assertEqual(b"c d\r\n", self.read("prv.tab"))
        self.assertEqual([], self.temporaries())

    def test_files_that_are_not_regular_answer_at_once(self):
        os.mkfifo(os.path.join(self.orfeon, "fifo.tab"))
        os.symlink("/dev/zero", os.path.join(self.orfeon, "zero.tab"))
        for name in ("fifo.tab", "zero.tab"):
            status, lines, _ = self.run_program("pavsdi", ["\\orfeon\\" + name], timeout=10)
            self.assertEqual(1, status)
            self.assertEqual(["INFO\timpossible d'ouvrir en lecture\t\\\\orfeon\\\\" + name
                              + "\\nce n'est pas un fichier ordinaire"], lines)
        # Settings and dictionary: the program goes on without them.
        os.remove(os.path.join(self.orfeon, "lexiton.ini"))
        os.mkfifo(os.path.join(self.orfeon, "lexiton.ini"))
        os.remove(os.path.join(self.orfeon, "lexiton.dic"))
        os.symlink("/dev/zero", os.path.join(self.orfeon, "lexiton.dic"))
        clipboard = os.path.join(self.root, "presse-papier")
        with open(clipboard, "wb") as f:
            f.write(b"[do]")
        status, lines, err = self.run_program("pavsdi", stdin="611\nescape\n24310\n", timeout=10,
                                              companions=False, PAVSDI_CLIPBOARD=clipboard)
        self.assertEqual(0, status, err)
        self.assertIn("INFO\timpossible d'ouvrir en lecture\t\\\\orfeon\\\\lexiton.ini", lines)
        self.assertIn("INFO\t\\\\orfeon\\\\lexiton.dic\tdictionnaire nontrouvé", lines)

    def test_planted_link_is_neither_followed_nor_replaced(self):
        outside = os.path.join(self.root, "outside.txt")
        with open(outside, "wb") as f:
            f.write(b"not ours")
        info = os.path.join(self.orfeon, "prvinfo.tab")
        if os.path.exists(info):
            os.remove(info)
        os.symlink(outside, info)
        status, lines, _ = self.run_program("pavsdi", stdin="24310\n")
        self.assertEqual(0, status)
        self.assertEqual("INFO\timpossible d'écrire\t\\\\orfeon\\\\prvinfo.tab\\naccès refusé", lines[1])
        self.assertNotIn(START_UP[1], lines)
        self.assertTrue(os.path.islink(info))
        with open(outside, "rb") as f:
            self.assertEqual(b"not ours", f.read())

    def test_clipboard_that_is_a_directory_or_a_device(self):
        for clipboard in (self.orfeon, "/dev/zero"):
            status, lines, err = self.run_program("pavsdi", stdin="611\n24310\n", companions=False,
                                                  PAVSDI_CLIPBOARD=clipboard)
            self.assertEqual(0, status, err)
            self.assertEqual(START_UP + ["INFO\t\timpossible de lire le presse papier",
                                         "CUE\t\\\\orfeon\\\\edition.wav"], lines)

    def test_device_number_with_no_device(self):
        for number in (b"99", b"-1"):
            self.write("midiinit.dev", number + b"\r\n")
            status, lines, _ = self.run_program("pavsdi", stdin="24310\n")
            self.assertEqual(0, status)
            self.assertEqual(["INFO\tvotre environnement ne supporte pas ce midi mapper\t"], lines)

    def test_name_windows_1252_lacks_is_refused(self):
        self.write("?.tab", b"c\r\n")
        before = self.read("prv.tab")
        status, lines, _ = self.run_program("pavsdi", ["\\orfeon\\\u97f3.tab"])
        self.assertEqual(0, status)
        self.assertEqual(["INFO\tce nom contient des caractères que le programme ne sait pas écrire"
                          "\t\\\\orfeon\\\\?.tab"], lines)
        self.assertEqual(before, self.read("prv.tab"))
        self.assertFalse(os.path.exists(os.path.join(self.orfeon, "sortie.mid")))


class SignalsWhileRendering(FaultTest):
    device = "1"

    def test_sigterm_during_a_render_writes_a_whole_file_at_once(self):
        self.write("piece.tab", LONG_PIECE)
        program = self.start(["\\orfeon\\piece.tab"])
        self.wait_for(lambda: any(os.path.getsize(t) > 10_000_000 for t in self.temporaries()))
        program.send_signal(signal.SIGTERM)
        sent = time.monotonic()
        self.assertEqual(128 + signal.SIGTERM, program.wait(timeout=5))
        self.assertLess(time.monotonic() - sent, 1.0)
        program.communicate()
        with wave.open(os.path.join(self.orfeon, "sortie.wav"), "rb") as w:
            self.assertEqual((2, 2, 44100), (w.getnchannels(), w.getsampwidth(), w.getframerate()))
            self.assertGreater(w.getnframes(), 44100 * 50)
            self.assertEqual(w.getnframes() * 4 + 44, os.path.getsize(os.path.join(self.orfeon, "sortie.wav")))
        self.assertEqual([], self.temporaries())

    def test_kill_during_play_clipboard_keeps_the_working_copy(self):
        self.write("prv.tab", b"o3 g a\r\n")
        self.write("sortie.wav", b"previous recording")
        clipboard = os.path.join(self.root, "presse-papier")
        with open(clipboard, "wb") as f:
            # Long enough that the render is still going when the poll sees it.
            f.write(LONG_PIECE[5:1205])
        program = self.start(PAVSDI_CLIPBOARD=clipboard)
        program.stdin.write(b"611\no\n")
        program.stdin.flush()
        self.wait_for(lambda: any(os.path.getsize(t) > 1_000_000 for t in self.temporaries()))
        self.assertNotEqual(b"o3 g a\r\n", self.read("prv.tab"), "the clipboard plays as the working copy")
        program.kill()
        program.communicate()
        self.assertEqual(b"previous recording", self.read("sortie.wav"))
        self.assertTrue(self.temporaries())
        # The next start puts the tablature back and clears what the killed run left.
        status, lines, _ = self.run_program("pavsdi", stdin="24310\n")
        self.assertEqual(0, status)
        self.assertEqual(b"o3 g a\r\n", self.read("prv.tab"))
        self.assertFalse(os.path.exists(os.path.join(self.orfeon, "prvgarde.tab")))
        self.assertEqual([], self.temporaries())
        self.assertEqual(b"previous recording", self.read("sortie.wav"))


if __name__ == "__main__":
    pavsdi.main()
