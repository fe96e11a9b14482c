"""Scores from other programs, through the real program: --importer and
--exporter, the console's import command, refusals of bad files, and the
notation program (musescore3) as the reference of what a score sounds."""
import glob
import gzip
import io
import os
import subprocess
import sys
import unittest
import zipfile

import mido

sys.path.insert(0, os.path.dirname(__file__))
import pavsdi  # noqa: E402
import score_reference  # noqa: E402

SCHEMA = os.path.join(pavsdi.SOURCE, "tests/data/musicxml")
DEMOS = sorted(glob.glob("/usr/share/mscore3-*/demos"))[-1]


def score(measures, parts=None, head=""):
    """A partwise score: `measures` is a list of the XML of each measure of
    one part (divisions 12 a quarter), or `parts` a list of such lists."""
    parts = parts or [measures]
    part_list = "".join('<score-part id="P%d"><part-name>voix %d</part-name></score-part>' % (i + 1, i + 1)
                        for i in range(len(parts)))
    body = ""
    for i, ms in enumerate(parts):
        body += '<part id="P%d">' % (i + 1)
        for n, m in enumerate(ms):
            attributes = "<attributes><divisions>12</divisions>%s</attributes>" % head if n == 0 else ""
            body += '<measure number="%d">%s%s</measure>' % (n + 1, attributes, m)
        body += "</part>"
    return ('<?xml version="1.0" encoding="UTF-8"?><score-partwise version="4.0"><part-list>%s</part-list>%s'
            "</score-partwise>" % (part_list, body))


def note(step, octave=4, duration=12, extra="", alter=0, voice=1, before="", after=""):
    a = "<alter>%d</alter>" % alter if alter else ""
    return ("<note>%s<pitch><step>%s</step>%s<octave>%d</octave></pitch><duration>%d</duration>%s"
            "<voice>%d</voice>%s</note>" % (before, step, a, octave, duration, after, voice, extra))


def rest(duration=12):
    return "<note><rest/><duration>%d</duration><voice>1</voice></note>" % duration


def midi_bytes(tracks, ticks=480, kind=1):
    """A Standard MIDI File of the tracks (lists of mido messages)."""
    midi = mido.MidiFile(type=kind, ticks_per_beat=ticks)
    for messages in tracks:
        track = mido.MidiTrack()
        track.extend(messages)
        midi.tracks.append(track)
    out = io.BytesIO()
    midi.save(file=out)
    return out.getvalue()


class ScoreTest(pavsdi.RootTest):
    def write(self, name, data):
        path = os.path.join(self.root, name)
        with open(path, "wb" if isinstance(data, bytes) else "w", encoding=None if isinstance(data, bytes) else "utf-8") as f:
            f.write(data)
        return path

    def convert(self, *args):
        done = subprocess.run([os.path.join(pavsdi.BUILD, "pavsdi"), *args], capture_output=True,
                              env=self.env(), cwd=self.root, timeout=120)
        return done.returncode, done.stdout.decode("utf-8"), done.stderr.decode("utf-8")

    def imported(self, xml, *options):
        status, out, err = self.convert("--importer", self.write("in.musicxml", xml), *options)
        self.assertEqual(status, 0, err)
        return out, err

    def played(self, tab_path):
        """The note-ons PavSdi sends to its MIDI file playing the tablature."""
        subprocess.run([os.path.join(pavsdi.BUILD, "pavsdi"), tab_path], capture_output=True, env=self.env(),
                       cwd=self.root, timeout=600, input=b"")
        return score_reference.onsets(os.path.join(self.orfeon, "sortie.mid"))


class ImportFeatures(ScoreTest):
    def test_each_feature_comes_across(self):
        trip = '<time-modification><actual-notes>3</actual-notes><normal-notes>2</normal-notes></time-modification>'
        cases = [
            # (what, measures, head attributes, expected pieces of the text, expected pitches)
            ("pitch and octave", [note("C") + note("A", 5)], "", ["o5 4c", "o6 a"], [60, 81]),
            ("alterations", [note("F", alter=1) + note("B", alter=-1) + note("E", alter=-2)], "",
             ["f+", "b-", "e\u00e1"], [66, 70, 62]),
            ("dots", [note("D", duration=18) + note("E", duration=6)], "", ["4d.", "8e"], [62, 64]),
            ("rests", [rest(12) + note("G") + rest(24)], "", ["4p", "2p"], [67]),
            ("ties", [note("C", after='<tie type="start"/>') + note("C", duration=3, after='<tie type="stop"/>')],
             "", ["(o5 4c 16p)"], [60]),
            ("chords", [note("C") + note("E", before="<chord/>") + note("G", before="<chord/>")], "",
             ["(o5 4c e g)"], [60, 64, 67]),
            ("triplets", [note("C", duration=4, extra=trip) * 3], "", ["12c c c"], [60, 60, 60]),
            ("key", [note("F", alter=1) + note("F")], "<key><fifths>2</fifths></key>", ["ia f+c+:", "f f0"],
             [66, 65]),
            ("time", [note("C")], "<time><beats>3</beats><beat-type>4</beat-type></time>", ["im3/4:"], [60]),
            ("tempo", ['<direction><direction-type><words>Lent</words></direction-type><sound tempo="66"/>'
                       "</direction>" + note("C")], "", ["t66", "icLent:"], [60]),
            ("dynamics", ["<direction><direction-type><dynamics><mf/></dynamics></direction-type></direction>"
                          + note("C")], "", ["inmf:"], [60]),
            ("fingering", [note("C", extra="<notations><technical><fingering>3</fingering></technical>"
                                           "</notations>")], "", ["id3:"], [60]),
            ("harmony", ["<harmony><root><root-step>G</root-step></root><kind>dominant</kind></harmony>"
                         + note("G")], "", ["ihG7:"], [67]),
            ("lyrics", [note("C", extra="<lyric><syllabic>single</syllabic><text>sol</text></lyric>")], "",
             ["ipsol:"], [60]),
            ("measures", [note("C"), note("D")], "", ["4c \nd \n"], [60, 62]),
        ]
        for what, measures, head, pieces, pitches in cases:
            with self.subTest(what):
                out, _ = self.imported(score(measures, head=head))
                for piece in pieces:
                    self.assertIn(piece, out)
                tab = self.write("out.tab", out)
                self.assertEqual([n for _, n in self.played(tab)], pitches)

    def test_played_in_time_as_the_notation_program_plays(self):
        def tempo(bpm, back=0):
            """A tempo direction, `back` divisions before the present."""
            direction = '<direction><direction-type><words>x</words></direction-type><sound tempo="%d"/></direction>'
            if not back:
                return direction % bpm
            return ("<backup><duration>%d</duration></backup>" % back + direction % bpm
                    + "<forward><duration>%d</duration></forward>" % back)
        glide = '<notations><glissando type="%s"/></notations>'
        rolled = "<notations><arpeggiate/></notations>"
        cases = [
            # (what, the measure after a tempo of 60, note-ons (ms, pitch), what is said of measure 1)
            ("tempo between notes", note("C") + tempo(120) + note("D") + note("E"), [(0, 60), (1000, 62), (1500, 64)],
             None),
            # A change in the middle of a held note holds from there.
            ("tempo inside a note", note("C", duration=24) + tempo(120, back=12) + note("D"), [(0, 60), (1500, 62)],
             None),
            ("grace note", note("D", before='<grace slash="yes"/>', duration=0) + note("C") + note("E"),
             [(0, 62), (65, 60), (1000, 64)], "note d'agrément jouée brève, sur le début de la note qui la suit"),
            ("glissando", note("C", extra=glide % "start") + note("E", extra=glide % "stop"),
             [(0, 60), (250, 61), (500, 62), (750, 63), (1000, 64)], "glissando joué en demi-tons"),
            ("rolled chord", tempo(120) + note("C", extra=rolled) + note("E", before="<chord/>", extra=rolled)
             + note("G", before="<chord/>", extra=rolled) + note("D"), [(0, 60), (67, 64), (133, 67), (500, 62)],
             "accord arpégé joué note après note"),
            ("small notes", note("C", before="<cue/>") + note("D"), [(0, 60), (1000, 62)],
             "petite note (réplique) jouée"),
        ]
        for what, measure, expected, said in cases:
            with self.subTest(what):
                out, err = self.imported(score([tempo(60) + measure]))
                self.assertEqual(err, "mesure 1 : %s\n" % said if said else "")
                played = self.played(self.write("t.tab", out))
                self.assertEqual([n for _, n in played], [n for _, n in expected], out)
                for (t, _), (want, _) in zip(played, expected):
                    self.assertLessEqual(abs(t - want), 5, (out, played))

    def test_compressed_score_reads_as_the_plain_one(self):
        xml = score([note("C") + note("D"), note("E")], head="<key><fifths>-1</fifths></key>")
        archive = io.BytesIO()
        with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as z:
            z.writestr("META-INF/container.xml", '<container><rootfiles><rootfile full-path="a/piece.musicxml"/>'
                                                 "</rootfiles></container>")
            z.writestr("a/piece.musicxml", xml)
        status, out, err = self.convert("--importer", self.write("piece.mxl", archive.getvalue()))
        self.assertEqual((status, out), (0, self.imported(xml)[0]), err)

    def test_approximations_are_reported_measure_by_measure(self):
        grace = note("D", before="<grace/>", duration=0)
        repeat = '<barline location="left"><repeat direction="forward"/></barline>' + note("C")
        back = note("E") + '<barline location="right"><repeat direction="backward"/></barline>'
        out, err = self.imported(score([note("C"), grace + note("C"), repeat, back]))
        self.assertIn("mesure 2 : note d'agrément jouée brève", err)
        self.assertIn("mesure 4 : reprise déroulée", err)
        # The repeat is unrolled: measures 3 and 4 twice.
        self.assertEqual(out.count("\n"), 6)

    def test_voices_one_or_all_merged(self):
        measure = note("C", duration=24) + "<backup><duration>24</duration></backup>" + \
            note("G", voice=2) + note("A", voice=2)
        xml = score([measure])
        self.assertEqual([n for _, n in self.played(self.write("a.tab", self.imported(xml, "--voix", "2")[0]))],
                         [67, 69])
        out, err = self.imported(xml)
        self.assertEqual([n for _, n in self.played(self.write("b.tab", out))], [60, 67, 69])
        self.assertIn("note tenue coupée", err)

    def test_several_parts_need_a_choice(self):
        path = self.write("two.musicxml", score(None, parts=[[note("C")], [note("E")]]))
        status, out, err = self.convert("--importer", path)
        self.assertEqual((status, out), (2, ""))
        self.assertIn("--partie N", err)
        self.assertIn("2 voix 2", err)
        status, out, _ = self.convert("--importer", path, "--partie", "2")
        self.assertIn("o5 4e", out)

    def test_console_import_asks_the_part_and_makes_it_current(self):
        path = self.write("two.musicxml", score(None, parts=[[note("C")], [note("E")]]))
        status, lines, _ = self.run_program("pavsdi", stdin="24345 %s\nn\no\n24310\n" % path)
        asked = [line for line in lines if line.startswith("ASK")]
        self.assertTrue(asked[0].startswith("ASK\tvoix 1\t") and asked[1].startswith("ASK\tvoix 2\t"), asked)
        with open(os.path.join(self.orfeon, "prv.tab"), encoding="cp1252") as f:
            self.assertIn("o5 4e", f.read())


class ImportMidi(ScoreTest):
    def test_tracks_quantized_tempo_time_and_instrument(self):
        meta = [mido.MetaMessage("set_tempo", tempo=500000), mido.MetaMessage("time_signature", numerator=3,
                                                                                 denominator=4)]
        melody = [mido.MetaMessage("track_name", name="flûte"), mido.Message("program_change", program=73),
                  mido.Message("note_on", note=72, velocity=90, time=0),
                  mido.Message("note_off", note=72, time=475),
                  mido.Message("note_on", note=74, velocity=90, time=5),
                  mido.Message("note_off", note=74, time=240),
                  # 90 ticks late: moved by more than a tenth of its eighth.
                  mido.Message("note_on", note=76, velocity=90, time=90),
                  mido.Message("note_off", note=76, time=240)]
        bass = [mido.Message("note_on", note=48, velocity=90), mido.Message("note_off", note=48, time=1440)]
        path = self.write("in.mid", midi_bytes([meta, melody, bass]))
        status, out, err = self.convert("--importer", path)
        self.assertEqual(status, 2)
        self.assertIn("1 flûte", err)
        status, out, err = self.convert("--importer", path, "--partie", "1")
        self.assertEqual(status, 0, err)
        for piece in ("t120", "ii73:", "im3/4:", "o6 4c"):
            self.assertIn(piece, out)
        self.assertIn("mesure 1 : note déplacée de plus d'un dixième de sa valeur", err)
        self.assertEqual([n for _, n in self.played(self.write("m.tab", out))], [72, 74, 76])

    def test_format_0_parts_by_channel(self):
        track = [mido.Message("note_on", channel=0, note=60, velocity=80), mido.Message("note_on", channel=1,
                                                                                        note=64, velocity=80),
                 mido.Message("note_off", channel=0, note=60, time=480), mido.Message("note_off", channel=1,
                                                                                      note=64)]
        status, _, err = self.convert("--importer", self.write("zero.mid", midi_bytes([track], kind=0)))
        self.assertIn("1 canal 1", err)
        self.assertIn("2 canal 2", err)


class BadInput(ScoreTest):
    def test_refused_with_a_french_message_and_nothing_written(self):
        good = midi_bytes([[mido.Message("note_on", note=60, velocity=80), mido.Message("note_off", note=60,
                                                                                          time=480)]])
        long_chunk = good[:18] + (0x7FFFFFF0).to_bytes(4, "big") + good[22:]
        bomb = io.BytesIO()
        with zipfile.ZipFile(bomb, "w", zipfile.ZIP_DEFLATED) as z:
            z.writestr("score.musicxml", b"<" + b" " * (40 << 20))
        huge = b"<score-partwise>" + b" " * (33 << 20)
        cases = [
            ("malformed XML", "a.musicxml", score([note("C")])[:-30], "XML mal formé"),
            ("not a score", "b.xml", "<html/>", "n'est pas une partition MusicXML"),
            ("chunk length", "c.mid", long_chunk, "fichier MIDI abîmé"),
            ("truncated MIDI", "d.mid", good[:30], "fichier MIDI abîmé"),
            ("zip bomb", "e.mxl", bomb.getvalue(), "dépasse 32 Mo"),
            ("damaged archive", "f.mxl", b"PK\x03\x04" + b"\0" * 40, "archive .mxl abîmée"),
            ("huge file", "g.musicxml", huge, "dépasse 32 Mo"),
        ]
        for what, name, data, message in cases:
            with self.subTest(what):
                out_path = os.path.join(self.root, "out.tab")
                status, out, err = self.convert("--importer", self.write(name, data), "-o", out_path)
                self.assertEqual((status, out), (2, ""))
                self.assertIn(message, err)
                self.assertFalse(os.path.exists(out_path))


class AgainstTheNotationProgram(ScoreTest):
    """Real scores: musescore3's demos exported to MusicXML by musescore3
    itself; each part imported and played must sound what musescore3 plays
    of it, note for note within 60 ms."""

    def demo(self, name):
        source = os.path.join(DEMOS, name)
        path = os.path.join(self.root, os.path.splitext(name)[0] + ".musicxml")
        score_reference.mscore_midi(source, path)  # -o by extension: MusicXML
        return path

    def check_parts(self, path, parts):
        references = score_reference.reference_parts(path, self.root)
        for index in parts:
            with self.subTest(path=os.path.basename(path), part=index + 1):
                tab = os.path.join(self.root, "part.tab")
                status, _, err = self.convert("--importer", path, "--partie", str(index + 1), "-o", tab)
                self.assertEqual(status, 0, err)
                recall, precision = score_reference.compare(references[index], self.played(tab))
                self.assertGreaterEqual(recall, 0.95)
                self.assertGreaterEqual(precision, 0.95)

    def test_fugue_every_part(self):
        self.check_parts(self.demo("Fugue_1.mscx"), range(4))

    def test_jumps_repeats_and_glissandi(self):
        self.check_parts(self.demo("Brassed_Up.mscx"), [0, 1])
        self.check_parts(self.demo("Unclaimed_Gift.mscx"), [0])

    def test_tempo_changes_grace_notes_and_rolled_chords(self):
        self.check_parts(self.demo("Dynamic_Strings.mscx"), range(4))
        self.check_parts(self.demo("Reunion.mscz"), [0])

    def test_export_validates_and_plays_the_same(self):
        changes = self.write("tempi.tab", "t60 o5 4c d (2e g) | t120 4f 8g a 2b | t90 (4c e) p 2g\r\n")
        for tab in (os.path.join(pavsdi.SOURCE, "data/orfeon/demo.tab"), changes):
            with self.subTest(os.path.basename(tab)):
                exported = os.path.join(self.root, "exported.musicxml")
                status, _, err = self.convert("--exporter", tab, "-o", exported)
                self.assertEqual(status, 0, err)
                valid = subprocess.run(["xmllint", "--noout", "--nonet", "--schema",
                                        os.path.join(SCHEMA, "musicxml.xsd"), exported],
                                       capture_output=True, text=True,
                                       env=dict(os.environ, XML_CATALOG_FILES=os.path.join(SCHEMA, "catalog.xml")))
                self.assertEqual(valid.returncode, 0, valid.stderr)
                reference = os.path.join(self.root, "exported.mid")
                score_reference.mscore_midi(exported, reference)
                recall, precision = score_reference.compare(score_reference.onsets(reference), self.played(tab))
                self.assertEqual((recall, precision), (1.0, 1.0))


if __name__ == "__main__":
    unittest.main()
