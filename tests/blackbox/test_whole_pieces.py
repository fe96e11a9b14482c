"""Every note of a tablature reaches the device, in every mode: guided
reading note by note and measure by measure, the last measure without a
line end after it, long pieces; and files that are no tablature are
refused without touching the working copy."""
import os

import pavsdi
import test_terminal

# Bytes of an image file: a NUL and an escape among letters.
BINARY = b"\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR c d e \x1b[2J f g"
NOT_TEXT = "ce n'est pas un fichier texte : il contient des octets nuls ou de contrôle"
# 3000 notes in 375 measures of eight eighths, the last without a line end.
SCALE = [36, 38, 40, 41, 43, 45, 47, 48]
LONG = b"t200 o3 8" + b"\r\n".join([b"c d e f g a b >c"] * 375)


class WholePieces(pavsdi.RootTest):
    def read(self, name):
        with open(os.path.join(self.orfeon, name), "rb") as f:
            return f.read()

    def played(self):
        messages, _ = pavsdi.midi_messages(os.path.join(self.orfeon, "sortie.mid"))
        return [m.note for _, m in messages if m.type == "note_on" and m.velocity > 0]

    def test_guided_reading_and_stepping_play_every_note(self):
        cases = [
            # text, arguments, answers, pitches, measure prompts
            (b"c d e f | g a b >c | d e", ["p"], "o\n" * 100,
             [36, 38, 40, 41, 43, 45, 47, 48, 38, 40], []),
            (b"c d|e f|g", ["m"], "o\n" * 100, [36, 38, 40, 41, 43],
             ["mesure 1 ", "mesure 2 ", "mesure 3 "]),
            (b"c d\r\ne f\r\ng", ["m"], "o\n" * 100, [36, 38, 40, 41, 43],
             ["mesure 1 ", "mesure 2 ", "mesure 3 "]),
            (b"c d|e f|g", [" "], "o\n" * 3 + "n\n", [36, 38, 40, 41, 43], []),
        ]
        for text, args, answers, pitches, prompts in cases:
            with self.subTest(text=text, args=args):
                self.write("prv.tab", text)
                status, lines, _ = self.run_program("pavsdi", args, stdin=answers)
                self.assertEqual(0, status)
                self.assertEqual(pitches, self.played())
                asked = [l.split("\t")[2] for l in lines if l.startswith("ASK\t") and "\tmesure " in l]
                if args == ["m"]:
                    self.assertEqual(prompts, asked)

    def starts(self):
        messages, _ = pavsdi.midi_messages(os.path.join(self.orfeon, "sortie.mid"))
        return [(t, m.channel, m.note) for t, m in messages if m.type == "note_on" and m.velocity > 0]

    def test_tempo_written_mid_piece_holds_in_every_mode(self):
        # Quarters at 60, then at 120 from the second measure.
        self.write("piece.tab", b"t60 o5 4c d|t120 e f|g\r\n")
        status, _, _ = self.run_program("pavsdi", ["\\orfeon\\piece.tab"])
        self.assertEqual(0, status)
        expected = [(0, 1, 60), (1000, 1, 62), (2000, 1, 64), (2500, 1, 65), (3000, 1, 67)]
        self.assertEqual(expected, self.starts())
        for program, args, answers in (("pavsdi", ["p"], "o\n" * 100), ("pavsdi", ["m"], "o\n" * 100),
                                       ("pavsdi", [" "], "o\n" * 3 + "n\n"), ("sonplay", [], "")):
            with self.subTest(program=program, args=args):
                status, _, _ = self.run_program(program, args, stdin=answers)
                self.assertEqual(0, status)
                self.assertEqual(expected, self.starts())
        # The metronome's beat under way ends at the new tempo: from the
        # second note, clicks at 0, 1000 and 1750 (the beat at 2000 comes at
        # 1750 once the eighths go twice as fast).
        self.write("lexiton.ini", b"fictab=\\orfeon\\piece.tab\r\nmetronome=1\r\n")
        self.write("piece.tab", b"t60 o5 4p 4c 8d t120 8e 4f\r\n")
        status, _, _ = self.run_program("pavsdi", [], stdin="602\n24310\n")
        self.assertEqual(0, status)
        self.assertEqual([(0, 1, 60), (0, 9, 76), (1000, 1, 62), (1000, 9, 77), (1500, 1, 64), (1750, 1, 65),
                          (1750, 9, 77)], self.starts())

    def test_long_piece_is_kept_checked_and_played_whole(self):
        self.write("long.tab", LONG)
        status, lines, _ = self.run_program("pavsdi", ["\\orfeon\\long.tab"])
        self.assertEqual(0, status)
        self.assertEqual(SCALE * 375, self.played())
        self.assertEqual(LONG, self.read("prv.tab"))
        # Jouer Tout's companion plays the working copy whole too.
        status, _, _ = self.run_program("sonplay")
        self.assertEqual(0, status)
        self.assertEqual(SCALE * 375, self.played())

        # The window's start keeps the working copy whole; Suivant plays to the end.
        self.write("prv.tab", b"c\r\n")
        self.write("lexiton.ini", b"fictab=\\orfeon\\long.tab\r\n")
        status, lines, _ = self.run_program("pavsdi", stdin="602\n24310\n")
        self.assertEqual(0, status)
        self.assertEqual(LONG, self.read("prv.tab"))
        self.assertEqual((SCALE * 375)[1:], self.played())

        for args, answers in ((["m"], "o\n" * 8000), ([" "], "o\n" * 375 + "n\n")):
            with self.subTest(args=args):
                status, lines, _ = self.run_program("pavsdi", args, stdin=answers)
                self.assertEqual(0, status)
                self.assertEqual(SCALE * 375, self.played())
                if args == ["m"]:
                    self.assertIn("ASK\tc d e f g a b >c\tmesure 375 ", lines)

        path = self.write("long.tab", LONG + b" zz")
        status, lines, _ = self.run_program("pavsdi", ["--verifier", path])
        self.assertEqual(1, status)
        self.assertEqual(["1 problème", "« zz » ignoré — mesure 375, ligne 375, colonne 18"], lines)

    def test_command_line_failures_exit_1_and_leave_the_working_copy(self):
        os.mkdir(os.path.join(self.orfeon, "dossier.tab"))
        self.write("binaire.tab", BINARY)
        self.write("page.html", b"<html><body>m p</body></html>")
        refusal = "INFO\timpossible d'ouvrir en lecture\t\\\\orfeon\\\\%s\\n%s"
        cases = [
            ("absent.tab", refusal % ("absent.tab", "le fichier n'existe pas")),
            ("dossier.tab", refusal % ("dossier.tab", "c'est un répertoire")),
            ("binaire.tab", refusal % ("binaire.tab", NOT_TEXT)),
            # A page handed over by a desktop is no reading options.
            ("page.html", "INFO\tce fichier n'est pas une tablature\t\\\\orfeon\\\\page.html"
                          "\\nseuls les fichiers .tab se jouent : rien n'est joué"),
            ("absent.html", "INFO\tce fichier n'est pas une tablature\t\\\\orfeon\\\\absent.html"
                            "\\nseuls les fichiers .tab se jouent : rien n'est joué"),
        ]
        self.write("prv.tab", b"c d\r\n")
        for name, message in cases:
            with self.subTest(name=name):
                status, lines, _ = self.run_program("pavsdi", ["\\orfeon\\" + name], stdin="o\n" * 20)
                self.assertEqual(1, status)
                self.assertEqual([message], lines)
                self.assertEqual(b"c d\r\n", self.read("prv.tab"))
                self.assertEqual([], self.played())
        # Reading options without a working copy to read.
        os.remove(os.path.join(self.orfeon, "prv.tab"))
        status, lines, _ = self.run_program("pavsdi", ["m"])
        self.assertEqual(1, status)
        self.assertEqual([refusal % ("prv.tab", "le fichier n'existe pas"),
                          "INFO\timpossible de lire la copie de travail \\\\orfeon\\\\prv.tab\terreur"], lines)

    def test_binary_file_opened_in_the_window_leaves_the_tablature(self):
        self.write("prv.tab", b"c d\r\n")
        self.write("binaire.tab", BINARY)
        status, lines, _ = self.run_program("pavsdi", stdin="24332 \\orfeon\\binaire.tab\n601\no\no\n24310\n")
        self.assertEqual(0, status)
        self.assertIn("INFO\timpossible d'ouvrir en lecture\t\\\\orfeon\\\\binaire.tab\\n" + NOT_TEXT, lines)
        self.assertNotIn("INFO\t\\\\orfeon\\\\binaire.tab\ttablature", lines)
        self.assertEqual(b"c d\r\n", self.read("prv.tab"))
        self.assertEqual([36, 38], self.played())


class OpenAtTheTerminal(test_terminal.Terminal):
    def test_ouvrir_says_why_a_file_is_not_read(self):
        os.mkdir(os.path.join(self.root, "dossier.tab"))
        with open(os.path.join(self.root, "binaire.tab"), "wb") as f:
            f.write(BINARY)
        with open(os.path.join(self.orfeon, "prv.tab"), "rb") as f:
            before = f.read()
        self.start()
        for name, reason in (("absent.tab", "le fichier n'existe pas"), ("dossier.tab", "c'est un répertoire"),
                             ("binaire.tab", NOT_TEXT)):
            out = self.command("ouvrir " + os.path.join(self.root, name), test_terminal.PROMPT)
            self.assertIn(name, out)
            self.assertIn(reason, out.replace("\n", " "))
        self.command("quitter", "statut=0")
        with open(os.path.join(self.orfeon, "prv.tab"), "rb") as f:
            self.assertEqual(before, f.read())


def load_tests(loader, tests, pattern):
    """The terminal's own tests stay in their file."""
    suite = loader.loadTestsFromTestCase(WholePieces)
    suite.addTest(OpenAtTheTerminal("test_ouvrir_says_why_a_file_is_not_read"))
    return suite


if __name__ == "__main__":
    pavsdi.main()
