"""Playing tablatures through the real program in the console front end:
the command line, the settings, the measure stepping, the guided reading,
the read-outs and the dictionary."""
import os
import random

import pavsdi

START_UP = [
    "CUE\t\\\\orfeon\\\\lisez.wav",
    "INFO\tPavSdi\tla tablature courante est dans le presse papier",
    "RUN\t\\\\orfeon\\\\clipsend.exe\t3",
]


class Tablature(pavsdi.RootTest):
    def read(self, name):
        with open(os.path.join(self.orfeon, name), "rb") as f:
            return f.read()

    def notes(self):
        """(time, pitch, velocity) of every note-on of the recording."""
        messages, _ = pavsdi.midi_messages(os.path.join(self.orfeon, "sortie.mid"))
        return [(t, m.note, m.velocity) for t, m in messages if m.type == "note_on" and m.velocity > 0]

    def programs(self):
        messages, _ = pavsdi.midi_messages(os.path.join(self.orfeon, "sortie.mid"))
        return [m.program for _, m in messages if m.type == "program_change"]

    def test_command_line_plays_a_tab_file_without_the_settings(self):
        self.write("lexiton.ini", b"tempo=200\r\nvol=50\r\ninstru=7\r\n")
        self.write("piece.tab", b"c d e|f g|\r\n")
        status, lines, _ = self.run_program("pavsdi", ["\\orfeon\\piece.tab"])
        self.assertEqual(0, status)
        self.assertEqual([], lines)  # no window, no start-up
        self.assertEqual(b"c d e|f g|\r\n", self.read("prv.tab"))
        self.assertEqual([(0, 36, 127), (1000, 38, 127), (2000, 40, 127), (3000, 41, 127), (4000, 43, 127)],
                         self.notes())
        self.assertEqual([0], self.programs())

    def test_capital_extension_is_a_file_not_reading_options(self):
        self.write("prv.tab", b"c d\r\n")
        self.write("piece.TAB", b"g a\r\n")
        status, lines, _ = self.run_program("pavsdi", ["\\orfeon\\piece.TAB"], stdin="o\n" * 20)
        self.assertEqual(1, status)
        self.assertEqual(["INFO\tce fichier n'est pas une tablature\t\\\\orfeon\\\\piece.TAB"
                          "\\nseuls les fichiers .tab se jouent : rien n'est joué"], lines)
        self.assertEqual(b"c d\r\n", self.read("prv.tab"))
        self.assertEqual([], self.notes())

    def test_missing_device_file_ignores_the_argument(self):
        os.remove(os.path.join(self.orfeon, "midiinit.dev"))
        self.write("piece.tab", b"c\r\n")
        before = self.read("prv.tab")
        status, lines, _ = self.run_program("pavsdi", ["\\orfeon\\piece.tab"], stdin="24310\n")
        self.assertEqual(0, status)
        self.assertEqual("INFO\timpossible d'ouvrir en lecture\t\\\\orfeon\\\\midiinit.dev", lines[0])
        self.assertTrue(lines[1].startswith("INFO\tmelvane\t"))
        self.assertEqual("INFO\tvotre environnement ne supporte pas ce midi mapper\t", lines[2])
        self.assertEqual(3, len(lines))
        self.assertEqual(before, self.read("prv.tab"))

    def test_overlong_argument_is_refused(self):
        before = self.read("prv.tab")
        status, lines, _ = self.run_program("pavsdi", ["\\orfeon\\" + "x" * 80 + ".tab"])
        self.assertEqual(1, status)
        self.assertEqual(1, len(lines))
        self.assertTrue(lines[0].startswith("INFO\targument trop long\t"))
        self.assertEqual(before, self.read("prv.tab"))
        self.assertEqual([], self.notes())

    def test_settings_keys_reach_the_playing(self):
        self.write("piece.tab", b"c d e|f g|a\r\n")
        self.write("lexiton.ini", b"fictab=\\orfeon\\piece.tab\r\nindi=\r\ntempo=120\r\nmesuredeb=2\r\n"
                                  b"vol=90\r\ninstru=5\r\nocta=4\r\n")
        status, lines, _ = self.run_program("pavsdi", stdin="602\n24310\n")
        self.assertEqual(0, status)
        self.assertEqual(START_UP + ["CUE\t\\\\orfeon\\\\edition.wav"], lines)
        self.assertEqual(b"c d e|f g|a\r\n", self.read("prv.tab"))
        self.assertEqual(b"c d e|f g|a\r\n", self.read("prvinfo.tab"))
        # Measure 3 in the whole mode: from the third note on.
        self.assertEqual([(0, 52, 90), (500, 53, 90), (1000, 55, 90), (1500, 57, 90)],
                         [(t - self.notes()[0][0], n, v) for t, n, v in self.notes()])
        self.assertEqual([0, 5], self.programs())

    def test_overlong_settings_value_is_refused(self):
        self.write("lexiton.ini", b"fictab=\\orfeon\\" + b"a" * 80 + b".tab\r\n")
        self.write("prv.tab", b"e\r\n")
        status, lines, _ = self.run_program("pavsdi", stdin="24310\n")
        self.assertEqual(0, status)
        self.assertTrue(lines[0].startswith("INFO\t\\\\orfeon\\\\lexiton.ini\t"))
        self.assertIn("fictab=", lines[0])
        self.assertEqual(START_UP, lines[1:])
        self.assertEqual(b"e\r\n", self.read("prvinfo.tab"))

    def test_stepping_prompts_and_end(self):
        self.write("prv.tab", b"c d e|f g|\r\n")
        status, lines, _ = self.run_program("pavsdi", stdin="601\no\no\nn\n24310\n")
        self.assertEqual(0, status)
        caption = "oui=suivant non=précédent annuler=fin"
        self.assertEqual(START_UP + [
            "ASK\t%s\tmesure 1 : jouer depuis la note 1 jusqu'a la note 3" % caption,
            "ASK\t%s\tmesure 2 : jouer depuis la note 4 jusqu'a la note 5" % caption,
            "ASK\toui=début annuler=quitter\tfin de la tablature",
            "CUE\t\\\\orfeon\\\\edition.wav",
        ], lines)
        self.assertEqual([36, 38, 40, 41, 43], [n for _, n, _ in self.notes()])

    def test_guided_reading_by_measure(self):
        self.write("prv.tab", b"c|d|e|\r\n")
        status, lines, _ = self.run_program("pavsdi", ["m"], stdin="n\n")
        self.assertEqual(0, status)
        self.assertEqual(["ASK\tc\tmesure 1 ", "ASK\tc\tmesure 1 "], lines)
        self.assertEqual([], self.notes())

        status, lines, _ = self.run_program("pavsdi", ["m"], stdin="o\n" * 40)
        self.assertEqual(0, status)
        measures = [l for l in lines if l.startswith("ASK\t") and "\tmesure " in l]
        self.assertEqual(["ASK\tc\tmesure 1 ", "ASK\td\tmesure 2 ", "ASK\te\tmesure 3 ", "ASK\t\tmesure 4 "],
                         measures)
        self.assertEqual([36, 38, 40], [n for _, n, _ in self.notes()])

    def test_read_out_of_an_indication(self):
        self.write("prv.tab", b"ih5:c|\r\n")
        status, lines, _ = self.run_program("pavsdi", ["h"], stdin="o\n" * 20)
        self.assertEqual(0, status)
        self.assertEqual(["CUE\t\\\\lm4\\\\wav\\\\lisez.wav", "INFO\tharmonie\t5"], lines[:2])
        self.assertEqual(1, lines.count("INFO\tharmonie\t5"))

        for options in (["c"], ["\\orfeon\\prv.tab"]):
            status, lines, _ = self.run_program("pavsdi", options, stdin="o\n" * 20)
            self.assertEqual(0, status)
            self.assertNotIn("INFO\tharmonie\t5", lines)
            self.assertNotIn("CUE\t\\\\lm4\\\\wav\\\\lisez.wav", lines)

    def test_dictionary_translation_of_the_tablature(self):
        self.write("lexiton.dic", b"[do]c\r\n[mi]e\r\n[sol]G\r\n")
        self.write("prv.tab", b"[do mi] {sol} [la]\r\n")
        status, lines, _ = self.run_program("pavsdi", stdin="607\no\n24310\n")
        self.assertEqual(0, status)
        self.assertEqual(START_UP + [
            "ASK\toui non annuler=pas d'indication\tajouter la lecture de l'harmonie",
            "INFO\tTraduction avec le dictionnaire \\\\orfeon\\\\lexiton.dic\t(c\\n)(e\\n)g\\n",
            "CUE\t\\\\orfeon\\\\edition.wav",
        ], lines)
        self.assertEqual(b"(c\r\n)(e\r\n)g\r\n", self.read("prvinfo.tab"))

    def test_missing_dictionary_and_unbracketed_text(self):
        os.remove(os.path.join(self.orfeon, "lexiton.dic"))
        self.write("prv.tab", b"[do re]\r\n")
        status, lines, _ = self.run_program("pavsdi", stdin="607\no\n24310\n")
        self.assertEqual(0, status)
        missing = "INFO\t\\\\orfeon\\\\lexiton.dic\tdictionnaire nontrouvé"
        self.assertEqual([missing, missing], lines[4:6])

        self.write("prv.tab", b"c d e\r\n")
        status, lines, _ = self.run_program("pavsdi", stdin="607\no\n608\nannuler\n24310\n")
        self.assertEqual(0, status)
        self.assertEqual(START_UP + [
            "ASK\toui non annuler=pas d'indication\tajouter la lecture de l'harmonie",
            "CUE\t\\\\orfeon\\\\edition.wav",
            "ASK\toui non annuler=pas d'indication\tajouter la lecture des mesures",
        ], lines)

    def test_play_all_starts_the_companion_player(self):
        status, lines, _ = self.run_program("pavsdi", stdin="600\n\n24310\n")
        self.assertEqual(0, status)
        self.assertEqual(START_UP + ["RUN\t\\\\orfeon\\\\sonplay.exe\t3", "INFO\tmidimapper\tinitialisation"],
                         lines)

    def test_sonplay_plays_the_working_copy(self):
        self.write("prv.tab", b"c e g\r\n")
        status, lines, err = self.run_program("sonplay")
        self.assertEqual(0, status)
        self.assertEqual([], lines)
        self.assertIn("sortie.mid", err)
        self.assertEqual([(0, 36, 127), (1000, 40, 127), (2000, 43, 127)], self.notes())

    def test_bad_bytes_never_crash(self):
        rng = random.Random(4)
        junk = bytes(rng.randrange(256) for _ in range(100000))
        self.write("piece.tab", junk)
        status, _, _ = self.run_program("pavsdi", ["\\orfeon\\piece.tab"], stdin="o\n" * 50)
        self.assertEqual(1, status)
        for name in ("lexiton.ini", "lexiton.dic", "prv.tab"):
            self.write(name, junk)
        self.write("prvinfo.tab", b"")
        status, _, _ = self.run_program("pavsdi", stdin="607\no\n601\n" + "o\n" * 20 + "24310\n")
        self.assertEqual(0, status)
        for data in (b"", junk[:5000]):
            self.write("midiinit.dev", data)
            status, _, _ = self.run_program("pavsdi", stdin="24310\n")
            self.assertEqual(0, status)


if __name__ == "__main__":
    pavsdi.main()
