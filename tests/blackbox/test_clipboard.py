"""The clipboard commands, the motif commands and the companion clipsend,
through the real programs, with the clipboard in the file named by
PAVSDI_CLIPBOARD (and, under a virtual display, the desktop's clipboard)."""
import os
import shutil
import subprocess
import time
import unittest

import pavsdi

INFO = "ASK\toui=jouer presse papier non=jouer et sauvegarder escape = quitter\t"


class ClipboardTest(pavsdi.RootTest):
    # What window mode says at its start, before the first command.
    START = ["CUE\t\\\\orfeon\\\\lisez.wav",
             "INFO\tPavSdi\tla tablature courante est dans le presse papier",
             "RUN\t\\\\orfeon\\\\clipsend.exe\t3"]

    def setUp(self):
        super().setUp()
        self.clip = os.path.join(self.root, "presse-papier")
        self.write("prv.tab", b"o3 g a\r\n")

    def pavsdi(self, stdin, clipboard=None, **extra):
        """The lines the commands printed, after those of the start."""
        if clipboard is not None:
            with open(self.clip, "wb") as f:
                f.write(clipboard)
        extra.setdefault("PAVSDI_CLIPBOARD", self.clip)
        # A clipboard the test wrote must not be overwritten by the
        # companion the start runs.
        status, lines, err = self.run_program("pavsdi", stdin=stdin + "24310\n", companions=clipboard is None,
                                              **extra)
        self.assertEqual(0, status, err)
        self.assertEqual(self.START, lines[:3])
        return lines[3:], err

    def needs(self, err, *ids):
        for i in ids:
            if "Commande inconnue : %d" % i in err:
                self.skipTest("command %d is not in this build yet" % i)

    def read(self, name):
        with open(os.path.join(self.orfeon, name), "rb") as f:
            return f.read()

    def notes(self):
        """(start, duration, pitch) of every note recorded in sortie.mid."""
        path = os.path.join(self.orfeon, "sortie.mid")
        if not os.path.exists(path):
            return []
        messages, _ = pavsdi.midi_messages(path)
        started, out = {}, []
        for t, m in messages:
            if m.type == "note_on" and m.velocity > 0:
                started[m.note] = t
            elif m.type in ("note_on", "note_off") and m.note in started:
                begin = started.pop(m.note)
                out.append((begin, t - begin, m.note))
        return sorted(out)


class PlayClipboard(ClipboardTest):
    def test_yes_plays_for_once_then_the_tablature_comes_back(self):
        lines, _ = self.pavsdi("611\no\n", b"o3 c d e")
        self.assertEqual(INFO + "o3 c d e\\n", lines[0])
        self.assertEqual("CUE\t\\\\orfeon\\\\edition.wav", lines[-1])
        self.assertEqual([36, 38, 40], [p for _, _, p in self.notes()])
        self.assertEqual(b"o3 g a\r\n", self.read("prv.tab"))

    def test_no_plays_and_keeps_the_clipboard_text(self):
        self.pavsdi("611\nn\n", b"o3 c d e")
        self.assertEqual([36, 38, 40], [p for _, _, p in self.notes()])
        self.assertEqual(b"o3 c d e\r\n", self.read("prv.tab"))

    def test_escape_leaves_everything(self):
        lines, _ = self.pavsdi("611\nescape\n", b"o3 c d e")
        self.assertEqual([], self.notes())
        self.assertEqual(b"o3 g a\r\n", self.read("prv.tab"))
        self.assertEqual("CUE\t\\\\orfeon\\\\edition.wav", lines[-1])

    def test_empty_or_missing_clipboard(self):
        cases = [(b"", {}, [])]
        if not pavsdi.WINE:
            # No file named and no display: the clipboard cannot be opened.
            cases.append((None, {"PAVSDI_CLIPBOARD": "", "DISPLAY": "", "WAYLAND_DISPLAY": ""},
                          ["CUE\t\\\\orfeon\\\\erreur.wav"]))
        for clipboard, env, first in cases:
            lines, _ = self.pavsdi("611\n", clipboard, **env)
            self.assertEqual(first + ["INFO\t\timpossible de lire le presse papier",
                                      "CUE\t\\\\orfeon\\\\edition.wav"], lines)
        self.assertEqual(b"o3 g a\r\n", self.read("prv.tab"))

    def test_bracketed_word_plays_its_translation(self):
        self.write("lexiton.dic", b"[re]o3 d\r\n[do]o3 c\r\n")
        lines, _ = self.pavsdi("611\no\nn\n", b"[do]")
        self.assertTrue(lines[0].startswith("ASK\t[do]\t(o3 c"), lines[0])
        self.assertTrue(lines[1].startswith(INFO + "(o3 c"), lines[1])
        self.assertEqual([36], [p for _, _, p in self.notes()])
        info = self.read("prvinfo.tab")
        self.assertTrue(info.startswith(b"(o3 c") and info.rstrip().endswith(b")"), info)
        self.assertEqual(info, self.read("prv.tab"))


class CopyInformation(ClipboardTest):
    def wait_for_clipboard(self, expected):
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            if os.path.exists(self.clip):
                with open(self.clip, "rb") as f:
                    if f.read() == expected:
                        return
            time.sleep(0.05)
        self.fail("clipboard never held %r" % expected)

    def test_509_has_clipsend_put_the_information_on_the_clipboard(self):
        # The start writes the information file from the current tablature.
        self.write("prv.tab", "gamme de ré\r\nmajeure\r\n".encode("cp1252"))
        lines, _ = self.pavsdi("509\no\n")
        self.assertEqual("INFO\tinformation courante\tgamme de ré\\nmajeure\\n", lines[0])
        self.assertEqual("RUN\t\\\\orfeon\\\\clipsend.exe\t3", lines[2])
        self.wait_for_clipboard("gamme de ré\nmajeure\n".encode("cp1252"))

    def test_clipsend_reports_what_it_cannot_do(self):
        os.remove(os.path.join(self.orfeon, "prvinfo.tab"))
        status, _, err = self.run_program("clipsend", PAVSDI_CLIPBOARD=self.clip)
        self.assertEqual(1, status)
        self.assertIn("prvinfo.tab", err)
        if pavsdi.WINE:
            return
        self.write("prvinfo.tab", b"c\r\n")
        status, _, err = self.run_program("clipsend", PAVSDI_CLIPBOARD="", DISPLAY="", WAYLAND_DISPLAY="")
        self.assertEqual(1, status)
        self.assertIn("impossible d'ouvrir le presse papier", err)


class Motifs(ClipboardTest):
    def test_rythme_half_quarter_quarter_then_heard_in_the_scale(self):
        lines, err = self.pavsdi("505\nn\no\n503\no\no\no\n")
        self.needs(err, 503)
        self.assertEqual(["ASK\tmotif noire\toui=saisie non=suivant annuler=quitter",
                          "ASK\tmotif blanche noire noire\toui=saisie non=suivant annuler=quitter"],
                         lines[:2])
        notes = self.notes()
        durations = [d for _, d, _ in notes]
        self.assertEqual([36, 36, 36], [p for _, _, p in notes[:3]])
        half = durations[0]
        self.assertEqual([half, half // 2, half // 2], durations[:3])
        # The scale that follows keeps the rhythm: half, quarter, quarter, ...
        scale = durations[3:]
        self.assertGreaterEqual(len(scale), 7)
        self.assertEqual([half if i % 3 == 0 else half // 2 for i in range(len(scale))], scale)

    def test_edit_rythme_quarter_eighth(self):
        lines, err = self.pavsdi("24320\no\n503\no\no\no\n", b"4c8c")
        self.needs(err, 503)
        self.assertEqual("ASK\tpresse papier courant : 4c8c\\n\toui=saisir le motif rythmique non ou escape = annuler",
                         lines[0])
        durations = [d for _, d, _ in self.notes()]
        quarter = durations[0]
        self.assertEqual([quarter, quarter // 2], durations[:2])
        scale = durations[2:]
        self.assertGreaterEqual(len(scale), 7)
        self.assertEqual([quarter if i % 2 == 0 else quarter // 2 for i in range(len(scale))], scale)

    def test_edit_note_then_the_scale_drill_forward_and_backward(self):
        lines, err = self.pavsdi("24319\no\n500\no\nc\n500\nn\nc\n", b"o3 c e g")
        self.needs(err, 500)
        self.assertEqual("ASK\tpresse papier courant : o3 c e g\\n\toui=saisir le motif de note non ou escape = annuler",
                         lines[0])
        pitches = [p for _, _, p in self.notes()]
        self.assertEqual([36, 40, 43], pitches[:3])
        rest = pitches[3:]
        self.assertEqual(len(rest) % 2, 0)
        forward, backward = rest[:len(rest) // 2], rest[len(rest) // 2:]
        self.assertEqual(sorted(forward), forward)
        self.assertEqual(list(reversed(forward)), backward)


@unittest.skipUnless(shutil.which("xvfb-run") and shutil.which("xclip"), "needs xvfb-run and xclip")
@pavsdi.linux_only
class DesktopClipboard(ClipboardTest):
    def test_text_copied_by_clipsend_outlives_it(self):
        self.write("prvinfo.tab", "accord de sol\r\nsi bémol\r\n".encode("cp1252"))
        clipsend = os.path.join(pavsdi.BUILD, "tools/clipsend")
        # clipsend ends, then another program pastes.
        script = '"$1" && xclip -selection clipboard -o'
        env = self.env(PAVSDI_CLIPBOARD="")
        env.pop("WAYLAND_DISPLAY", None)
        done = subprocess.run(["xvfb-run", "-a", "sh", "-c", script, "sh", clipsend],
                              capture_output=True, env=env, timeout=60, start_new_session=True)
        self.assertEqual(0, done.returncode, done.stderr)
        self.assertEqual("accord de sol\nsi bémol\n", done.stdout.decode("utf-8"))


if __name__ == "__main__":
    pavsdi.main()
