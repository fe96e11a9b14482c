"""The harmony commands in the console front end: their questions, cues and
boxes in the transcript, and what they play in the MIDI file."""
import os

import pavsdi

CUE = "CUE\t\\\\orfeon\\\\edition.wav"
CHOICE = "oui=saisie non=suivant annuler=quitter"
STEPPER = "oui=augmenter non=diminuer escape=saisie"
C_MAJOR = [36, 38, 40, 41, 43, 45, 47, 48, 50, 52, 53, 55, 57, 59, 60, 62, 64, 65, 67, 69, 71, 72]


def ask(caption, text=CHOICE):
    return "ASK\t%s\t%s" % (caption, text)


class Harmony(pavsdi.RootTest):
    def setUp(self):
        super().setUp()
        # The defaults' parameters, so that a quarter lasts 1000 ms.
        self.settings("tempo=60\r\nvol=127\r\ncanal=1\r\n")

    def settings(self, text):
        self.write("lexiton.ini", text.encode("cp1252"))

    def session(self, *lines, reset="400"):
        """Runs the commands and answers after `reset` (Défaut, or MidiInit
        to take the settings file); returns the transcript after the reset's
        cue, and the notes of the MIDI file as (ms, 'on'/'off', pitch,
        velocity, channel)."""
        stdin = "".join(l + "\n" for l in (reset, *lines)) + "24310\n"
        status, out, err = self.run_program("pavsdi", stdin=stdin)
        self.assertEqual(0, status, err)
        messages, _ = pavsdi.midi_messages(os.path.join(self.orfeon, "sortie.mid"))
        self.programs = [m.program for _, m in messages if m.type == "program_change"]
        notes = []
        for t, m in messages:
            if m.type in ("note_on", "note_off"):
                on = m.type == "note_on" and m.velocity > 0
                notes.append((t, "on" if on else "off", m.note, m.velocity, m.channel))
        transcript = [l for l in out if l.split("\t")[0] in ("ASK", "INFO", "CUE")]
        return transcript[transcript.index(CUE) + 1:], notes

    def pitches(self, notes):
        return [n[2] for n in notes if n[1] == "on"]

    def info_file(self):
        with open(os.path.join(self.orfeon, "prvinfo.tab"), "rb") as f:
            return f.read().decode("cp1252")

    # The bank command played once with Escape: one note c that shows the
    # tempo (its length), the volume (velocity), the voice (channel and
    # octave) and the instrument (the program change before it).
    PROBE = ("407", "c")

    def probe(self, notes):
        on, off = notes[-2], notes[-1]
        return {"ms": off[0] - on[0], "velocity": on[3], "channel": on[4], "pitch": on[2],
                "program": self.programs[-1]}

    def test_tempo_choices(self):
        cases = [(["o"], 1875, True), (["n", "o"], 1000, True), (["n", "n", "o"], 500, True),
                 (["n", "n", "n", "o"], 250, True), (["c"], 1000, False), (["n", "n", "c"], 1000, False),
                 (["n", "n", "n", "n"], 1000, True), (["n", "n", "n", "c"], 1000, True)]
        for answers, ms, cue in cases:
            with self.subTest(answers=answers):
                lines, notes = self.session("402", *answers, *self.PROBE)
                captions = ["largo", "andante", "allégro", "presto"][:len(answers)]
                self.assertEqual([ask(c) for c in captions], lines[:len(answers)])
                self.assertEqual(cue, lines[len(answers)] == CUE)
                self.assertEqual(ms, self.probe(notes)["ms"])

    def test_instrument_volume_and_voice_choices(self):
        cases = [
            ("403", ["n", "n", "o"], {"program": 16}, True),
            ("403", ["n", "n", "n", "o"], {"program": 32}, True),
            ("403", ["n", "c"], {"program": 0}, False),
            ("403", ["n", "n", "n", "n"], {"program": 0}, True),
            ("404", ["o"], {"velocity": 95}, True),
            ("404", ["n", "n", "o"], {"velocity": 126}, True),
            ("404", ["n", "c"], {"velocity": 127}, False),
            ("404", ["n", "n", "n"], {"velocity": 127}, True),
            ("405", ["n", "n", "o"], {"channel": 2, "pitch": 60}, True),
            ("405", ["n", "n", "c"], {"channel": 1, "pitch": 36}, False),
            ("405", ["n", "n", "n", "n"], {"channel": 1, "pitch": 36}, False),
            ("405", ["o"], {"channel": 0, "pitch": 36}, True),
        ]
        for command, answers, fields, cue in cases:
            with self.subTest(command=command, answers=answers):
                lines, notes = self.session(command, *answers, *self.PROBE)
                self.assertEqual(cue, lines[len(answers)] == CUE)
                probe = self.probe(notes)
                for field, value in fields.items():
                    self.assertEqual(value, probe[field], field)
        lines, _ = self.session("405", "n", "n", "n", "n")
        self.assertEqual(ask("voix 4 soprano", "oui=saisie non=annuler=quitter"), lines[3])
        lines, _ = self.session("403", "n", "n", "o", *self.PROBE)
        self.assertEqual(16, self.programs[-1])

    def test_steppers_wrap_and_stop(self):
        lines, _ = self.session("406", *["o"] * 12, "c", "406", "n", "c")
        captions = [l.split("\t")[1] for l in lines if l.startswith("ASK")]
        self.assertEqual(["transposition courante %d" % v for v in list(range(12)) + [0, 0, 11]], captions)
        self.assertEqual(ask("transposition courante 0", STEPPER), lines[0])

        lines, _ = self.session("507", "n", "c", "502", "n", "o", "o", "c")
        captions = [l.split("\t")[1] for l in lines if l.startswith("ASK")]
        self.assertEqual(["répétition courante 0", "répétition courante 0",
                          "degré courant 1", "degré courant 7", "degré courant 1", "degré courant 2"], captions)
        self.assertEqual(2, lines.count(CUE))

        # A transposition of 15 from the settings file comes back to 0.
        self.settings("tempo=60\r\nvol=127\r\ntrans=15\r\n")
        lines, _ = self.session("406", "n", "c", reset="401")
        self.assertEqual(["transposition courante 15", "transposition courante 0"],
                         [l.split("\t")[1] for l in lines if l.startswith("ASK")])

    def test_bank_stops_at_zero_and_sends_low_bits(self):
        lines, notes = self.session("407", "n", "c")
        self.assertEqual([ask("instrument courant 0", STEPPER)] * 2 + [CUE], lines)
        # The note after the step and once more after Escape, each a quarter.
        t0 = notes[0][0]
        self.assertEqual([(0, "on", 36), (1000, "off", 36), (1000, "on", 36), (2000, "off", 36)],
                         [(t - t0, kind, pitch) for t, kind, pitch, _, _ in notes])
        self.assertEqual([0, 0], self.programs[-2:])

        self.settings("tempo=60\r\nvol=127\r\ninstru=127\r\n")
        lines, notes = self.session("407", "o", "c", reset="401")
        self.assertEqual(["instrument courant 127", "instrument courant 128"],
                         [l.split("\t")[1] for l in lines if l.startswith("ASK")])
        # 128 goes out as its low 8 bits, which the device refuses.
        self.assertNotIn(128 % 256, self.programs)
        self.assertEqual(127, self.programs[-1])
        self.assertEqual([36, 36], self.pitches(notes))

    def test_gamme_on_key_0_major(self):
        lines, notes = self.session("503", "o")
        self.assertEqual([ask("gamme majeure"), CUE], lines)
        self.assertEqual(C_MAJOR, self.pitches(notes))
        self.assertEqual("o3 c d e f g a b >cd e f g a b >cde f g a b >c\r\n", self.info_file())

    def drill(self, kind_answers, *before_drill):
        """Chooses a scale, runs the given commands, then the scale drill
        played up then down; returns its window and the notes played up."""
        lines, notes = self.session("503", *kind_answers, *before_drill, "500", "o", "n", "c")
        start = max(i for i, l in enumerate(lines) if l.startswith("ASK\tgamme"))
        report = next(l for l in lines[start:] if l.startswith("INFO"))
        self.assertEqual(CUE, lines[-1])
        played = self.pitches(notes)
        return report.split("\t", 2)[2], report.split("\t")[1], played

    def test_drill_windows(self):
        chromatic = ["n"] * 7 + ["o"]
        cases = [
            (["o"], ("502", "o", "c"), "d e f g a b >cd ", [38, 40, 41, 43, 45, 47, 48, 50]),
            (["o"], ("502", "n", "c"), "b >cd e f g a b ", [47, 48, 50, 52, 53, 55, 57, 59]),
            (["n"] * 4 + ["o"], (), "c d e f+g+a+>c", [36, 38, 40, 42, 44, 46, 48]),
            (["n"] * 5 + ["o"], (), "c e-f f+g b->ce-f f+g b-",
             [36, 39, 41, 42, 43, 46, 48, 51, 53, 54, 55, 58]),
            (["n"] * 6 + ["o"], ("502", "n", "c"), "e-e g a >ce-e g a >c gam",
             [39, 40, 43, 45, 48, 51, 52, 55, 57, 60, 67, 69]),
            (["n", "n", "o"], ("501", "o", "o", "c", "n", "n", "o", "c"), "d e f g a b-> c+",
             [38, 40, 41, 43, 45, 46, 49]),
            (chromatic, (), "c c+d d+e f f+g g+a a+b >c", list(range(36, 49))),
            (chromatic, ("406", "o", "c"), "c+d d+e f f+g g+a a+b >cc+", list(range(38, 51))),
            (chromatic, ("406", "n", "c"), "b >cc+d d+e f f+g g+a a+b ", list(range(58, 71))),
        ]
        for kind, between, window, up in cases:
            with self.subTest(window=window):
                text, _, played = self.drill(kind, *between)
                self.assertEqual(window + "\\n", text)
                self.assertEqual(up + up[::-1], played[-2 * len(up):])
                self.assertEqual(window + "\r\n", self.info_file())

    def test_drill_caption_and_repetitions(self):
        text, caption, played = self.drill(["o"], "507", "o", "o", "c")
        self.assertEqual("voix 1 ton 0 degré 1 transposition de 0 demi tons gamme majeure", caption)
        self.assertEqual(C_MAJOR[:8] * 3 + C_MAJOR[7::-1] * 3, played[22:])

    def test_empty_information(self):
        lines, notes = self.session("500")
        self.assertEqual(["INFO\tgamme vide\tchoisissez une gamme en utilisant l'item Gamme du menu Harm", CUE],
                         lines)

    def test_chords_and_inversions(self):
        cases = [
            (("504", "o"), "triade", "<<<ceg", [36, 40, 43]),
            (("502", "o", "o", "o", "o", "c", "504", "n", "o"), "accord de septième", "<<<gb>df",
             [43, 47, 50, 53]),
            (("508", "n", "o"), "quarte et sixte", "<<<g>ce", [43, 48, 52]),
            (("508", "n", "n", "n", "n", "o"), "neuvième a la basse", "<<degb>c", [50, 52, 55, 59, 60]),
        ]
        for commands, what, spelled, chord in cases:
            with self.subTest(what=what):
                lines, notes = self.session("503", "o", *commands)
                degree = 5 if "502" in commands else 1
                self.assertIn("INFO\t%s\tvoix 1 ton 0 degré %d transposition de 0 demi tons %s"
                              % (spelled, degree, what), lines)
                self.assertEqual(chord, self.pitches(notes)[22:])
                self.assertEqual(CUE, lines[-1])

    def test_perfect_cadence(self):
        lines, notes = self.session("503", "o", "510", "o")
        self.assertEqual(ask("cadence parfaite", "oui=saisie  non=suivant annuler=quitter"), lines[2])
        self.assertEqual(["INFO\tih5:<<<gb>dfih1:<cegb\t", CUE], lines[3:])
        self.assertEqual([43, 47, 50, 53, 36, 40, 43, 47], self.pitches(notes)[22:])
        self.assertEqual("ih5:<<<gb>dfih1:<cegb", self.info_file())

    def test_jouer_accord(self):
        lines, notes = self.session("503", "o", "502", "o", "c", "506", "o", "n", "c")
        self.assertIn("INFO\td f a >ce g b \tvoix 1 ton 0 degré 2 transposition de 0 demi tons", lines)
        self.assertEqual("d f a >ce g b ", self.info_file())
        self.assertEqual(ask("jouer", "oui=arpéger non=plaquer annuler=quitter"), lines[-4])
        # The chord left by the defaults, broken then together: the lowest
        # note alone for a quarter, the two others joining for another.
        chord = notes[44:]
        t0 = chord[6][0]
        self.assertEqual([(0, "on", 36), (1000, "on", 40), (1000, "on", 43), (2000, "off", 36),
                          (2000, "off", 40), (2000, "off", 43)],
                         [(t - t0, kind, pitch) for t, kind, pitch, _, _ in chord[6:]])
        self.assertEqual([36, 40, 43], self.pitches(chord[:6]))

    def test_repetitions_play_three_times(self):
        lines, notes = self.session("507", "o", "o", "c", "506", "o", "c")
        self.assertEqual([36, 40, 43] * 3, self.pitches(notes))

    def test_out_of_range_settings_are_harmless(self):
        self.settings("tempo=-5\r\nvol=127\r\ntrans=-3\r\nocta=9\r\n")
        lines, notes = self.session("504", "o", "503", *["n"] * 7, "o", "500", "o", "c", reset="401")
        # The chord of the defaults, spelled from octave 9 and played 3 down.
        self.assertIn("INFO\t<<<<<<ceg\tvoix 1 ton 0 degré 1 transposition de -3 demi tons triade", lines)
        self.assertEqual([33, 37, 40], self.pitches(notes)[:3])
        # The chromatic window would start before the text: it is empty.
        self.assertIn("INFO\tvoix 1 gamme chromatique transposée de -3 demi tons\t\\n", lines)
        self.assertEqual(3 + 25, len(self.pitches(notes)))
        # A negative tempo reads as a huge one: no note lasts.
        self.assertEqual({0}, {t for t, *_ in notes})


if __name__ == "__main__":
    pavsdi.main()
