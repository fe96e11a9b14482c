"""The MIDI-file device, devprobe and the console contract, through the real
programs."""
import os

import pavsdi


class Foundation(pavsdi.RootTest):
    def test_devprobe_lists_the_fixed_devices(self):
        status, lines, _ = self.run_program("devprobe")
        self.assertEqual(0, status)
        rows = [l.split("\t") for l in lines]
        self.assertEqual(["0", "1", "2"], [r[0] for r in rows[:3]])
        self.assertEqual("Fichier MIDI -> \\orfeon\\sortie.mid", rows[2][2])
        self.assertGreater(int(rows[2][1]), 0)
        self.assertEqual("Synthétiseur intégré", rows[0][2])

    def test_scale_on_the_midi_file_device_reads_back_exactly(self):
        status, lines, _ = self.run_program("devprobe", ["--play"])
        self.assertEqual(0, status)
        path = os.path.join(self.orfeon, "sortie.mid")
        self.assertIn(path, lines[-1])
        messages, end = pavsdi.midi_messages(path)
        self.assertEqual((0, "program_change", 0), (messages[0][0], messages[0][1].type, messages[0][1].program))
        notes = [(t, m.type, m.note, m.velocity, m.channel) for t, m in messages[1:]]
        expected = []
        for i, pitch in enumerate([60, 62, 64, 65, 67, 69, 71, 72]):
            expected.append((250 * i, "note_on", pitch, 100, 1))
            expected.append((250 * (i + 1), "note_off", pitch, 0, 1))
        self.assertEqual(expected, notes)
        self.assertEqual(2000, end)

    def test_missing_device_file_and_unusable_device(self):
        os.remove(os.path.join(self.orfeon, "midiinit.dev"))
        status, lines, _ = self.run_program("pavsdi", stdin="24310\n")
        self.assertEqual(0, status)
        self.assertEqual("INFO\timpossible d'ouvrir en lecture\t\\\\orfeon\\\\midiinit.dev", lines[0])
        self.assertTrue(lines[1].startswith("INFO\tmelvane\tL'environnement melvane a besoin"))
        self.assertIn("\\nVous pouvez", lines[1])
        # Device 0 cannot play in this build: the program says so and ends.
        self.assertEqual("INFO\tvotre environnement ne supporte pas ce midi mapper\t", lines[2])

    def test_command_loop_ends_on_exit_and_reports_unknown_lines(self):
        status, lines, err = self.run_program("pavsdi", stdin="12345\nbonjour\n24310\n")
        self.assertEqual(0, status)
        # Only the start-up of window mode speaks on standard output.
        self.assertEqual(["CUE\t\\\\orfeon\\\\lisez.wav",
                          "INFO\tPavSdi\tla tablature courante est dans le presse papier",
                          "RUN\t\\\\orfeon\\\\clipsend.exe\t3"], lines)
        self.assertIn("Commande inconnue : 12345", err)
        self.assertIn("bonjour", err)

    def test_about_box_in_the_console(self):
        status, lines, _ = self.run_program("pavsdi", stdin="2009\n24310\n")
        self.assertEqual(0, status)
        about = [l for l in lines if l.startswith("INFO\tAbout PavSdi\t")]
        self.assertEqual(1, len(about), lines)
        self.assertRegex(about[0], r"^INFO\tAbout PavSdi\tPavane SDI Example\\nPavSdi Version \d+\.\d+\.\d+\\n")


if __name__ == "__main__":
    pavsdi.main()
