"""The practice tools through the real program: the check on the command
line, over the demo tablature and the help pages' examples, and the count-in
and metronome recorded in the MIDI file."""
import html
import os
import re

import pavsdi


class Practice(pavsdi.RootTest):
    def check(self, text):
        # A name with blanks and accents: it names the file, on every system.
        path = self.write("pièce été.tab", text.encode("utf-8"))
        return self.run_program("pavsdi", ["--verifier", path])

    def test_check_exits_1_with_the_problems_0_without(self):
        status, lines, _ = self.check("zz# w 99x q\n")
        self.assertEqual(1, status)
        self.assertEqual(["4 problèmes", "« zz# » ignoré — mesure 1, ligne 1, colonne 1",
                          "« w » ignoré — mesure 1, ligne 1, colonne 5",
                          "« x » ignoré — mesure 1, ligne 1, colonne 9",
                          "« q » ignoré — mesure 1, ligne 1, colonne 11"], lines)
        status, lines, _ = self.check("4g | c d e f | g a b\n")
        self.assertEqual((0, ["aucune erreur", "mesure 1 : anacrouse de 1 temps"]), (status, lines))
        status, lines, err = self.run_program("pavsdi", ["--verifier", os.path.join(self.root, "absent.tab")])
        self.assertEqual((2, []), (status, lines))
        self.assertIn("impossible de lire", err)

    def test_demo_and_help_examples_have_no_problem(self):
        status, lines, _ = self.run_program("pavsdi", ["--verifier", os.path.join(pavsdi.SOURCE, "data/orfeon/demo.tab")])
        self.assertEqual((0, ["aucune erreur"]), (status, lines))
        examples = []
        for page in ("orfeon_melvane.html", "tutoriel.html"):
            with open(os.path.join(pavsdi.SOURCE, "data/orfeon", page), encoding="utf-8") as f:
                examples += [html.unescape(p) for p in re.findall(r"<pre>(.*?)</pre>", f.read(), re.S)]
        self.assertGreaterEqual(len(examples), 4)  # the tutorial and usage pages' tablatures
        for example in examples:
            status, lines, _ = self.check(example)
            self.assertEqual(0, status, (example, lines))

    def test_count_in_and_metronome_in_the_console_session(self):
        self.write("lexiton.ini", b"fictab=\\orfeon\\piece.tab\r\ndecompte=1\r\nmetronome=1\r\n")
        self.write("piece.tab", b"c d\r\n")
        # Suivant plays from the second note in the whole mode.
        status, _, _ = self.run_program("pavsdi", [], stdin="602\n24310\n")
        self.assertEqual(0, status)
        messages, _ = pavsdi.midi_messages(os.path.join(self.orfeon, "sortie.mid"))
        starts = [(t, m.channel, m.note) for t, m in messages if m.type == "note_on" and m.velocity > 0]
        self.assertEqual([(0, 9, 76), (1000, 9, 77), (2000, 9, 77), (3000, 9, 77), (4000, 1, 38), (4000, 9, 76)],
                         starts)


if __name__ == "__main__":
    pavsdi.main()
