"""The built-in synthesizer: its WAV rendering checked in the audio itself,
and the live device on a machine without sound output."""
import array
import os
import shutil
import tempfile
import wave

import pavsdi

RATE = 44100
TEMPO = 120
# pitch:length pairs as devprobe takes them; pitch 0 is a rest. Every note
# follows a rest long enough for the one before to have died away.
NOTES = "0:2000 60:4000 0:1000 64:8000 0:1000 67:4000 0:1000 72:16000 0:2000"
RELEASE_MS = 400  # a note-off lets the sound fade; the rest is silent after it
ONSET_LEVEL = 66  # about -54 dBFS: the attack of a note, well above any tail
QUIET_LEVEL = 33   # about -60 dBFS


def wait_ms(length):
    # The program's note timing: 240000000 / length / tempo, at most 4 s.
    return 1000 if length == 0 else min(4000, 240000000 // length // TEMPO)


def timeline():
    """(start ms, end ms, pitch) of every note and rest, and the total."""
    events, now = [], 0
    for pair in NOTES.split():
        pitch, length = map(int, pair.split(":"))
        events.append((now, now + wait_ms(length), pitch))
        now += wait_ms(length)
    return events, now


def frame_levels(path):
    """Per frame, the larger magnitude of its two channels."""
    with wave.open(path, "rb") as w:
        params = (w.getnchannels(), w.getsampwidth(), w.getframerate())
        samples = array.array("h", w.readframes(w.getnframes()))
    return params, [max(abs(samples[i]), abs(samples[i + 1])) for i in range(0, len(samples), 2)]


def frame(ms):
    return ms * RATE // 1000


class Sound(pavsdi.RootTest):
    device = "1"

    def test_rendered_wav_follows_the_timeline(self):
        status, lines, err = self.run_program("devprobe", ["--play", "1", NOTES])
        self.assertEqual(0, status, err)
        path = os.path.join(self.orfeon, "sortie.wav")
        self.assertIn(path, lines[-1])
        params, levels = frame_levels(path)
        self.assertEqual((2, 2, RATE), params)
        events, total = timeline()
        self.assertAlmostEqual(total, len(levels) * 1000 / RATE, delta=2)
        # Before the first note: exact digital silence.
        self.assertEqual(0, max(levels[:frame(events[1][0])]))
        previous_note_end = None
        for start, end, pitch in events:
            if pitch == 0:
                quiet_from = start if previous_note_end is None else previous_note_end + RELEASE_MS
                self.assertLess(max(levels[frame(quiet_from):frame(end)]), QUIET_LEVEL,
                                "rest at %d ms is not silent" % start)
                continue
            window = levels[frame(start - 20):frame(start + 50)]
            loud = [i for i, v in enumerate(window) if v > ONSET_LEVEL]
            self.assertTrue(loud, "note %d at %d ms is not heard" % (pitch, start))
            onset_ms = (frame(start - 20) + loud[0]) * 1000 / RATE
            self.assertAlmostEqual(start, onset_ms, delta=5, msg="note %d" % pitch)
            previous_note_end = end

    def test_piece_ending_on_a_note_rings_out(self):
        # An eighth rest then a quarter A at tempo 120: 750 ms of timeline,
        # then the release of the A until it falls below -60 dBFS.
        status, _, err = self.run_program("devprobe", ["--play", "1", "0:8000 69:4000"])
        self.assertEqual(0, status, err)
        _, levels = frame_levels(os.path.join(self.orfeon, "sortie.wav"))
        self.assertGreater(max(levels[frame(250):frame(750)]), ONSET_LEVEL)
        self.assertGreater(len(levels), frame(750))
        self.assertLessEqual(len(levels), frame(750 + 3000))
        self.assertGreater(max(levels[frame(750):]), QUIET_LEVEL, "the release is kept")
        self.assertLess(max(levels[-frame(10):]), QUIET_LEVEL, "it ends below -60 dBFS")

    def test_render_of_several_minutes(self):
        # 45 whole notes of 4 s and a quarter of 500 ms: three minutes,
        # written as they render, then the release of the last note.
        notes = " ".join(["60:1", "64:1", "67:1"] * 15) + " 72:4000"
        status, _, err = self.run_program("devprobe", ["--play", "1", notes], timeout=300)
        self.assertEqual(0, status, err)
        params, levels = frame_levels(os.path.join(self.orfeon, "sortie.wav"))
        self.assertEqual((2, 2, RATE), params)
        tail = len(levels) - frame(180500)
        self.assertGreater(tail, 0)
        self.assertLessEqual(tail, frame(3000))
        self.assertGreater(max(levels[frame(180000):frame(180500)]), ONSET_LEVEL)
        self.assertLess(max(levels[-frame(10):]), QUIET_LEVEL)

    def test_device_0_without_sound_output(self):
        quiet = dict(PAVSDI_AUDIO="none", XDG_RUNTIME_DIR="", PULSE_SERVER="")
        status, lines, _ = self.run_program("devprobe", **quiet)
        self.assertEqual(0, status)
        rows = [l.split("\t") for l in lines]
        self.assertEqual(["0", "0", "Synthétiseur intégré"], rows[0])
        self.assertEqual(["1", "256", "Synthétiseur intégré -> \\orfeon\\sortie.wav"], rows[1])
        self.write("midiinit.dev", b"0\r\n")
        status, lines, _ = self.run_program("pavsdi", stdin="24310\n", **quiet)
        self.assertEqual(0, status)
        self.assertEqual(["INFO\tvotre environnement ne supporte pas ce midi mapper\t"], lines)

    def test_device_0_on_this_machine_when_it_has_no_sound_output(self):
        runtime = os.environ.get("XDG_RUNTIME_DIR", "")
        if os.path.exists("/dev/snd") or os.environ.get("PULSE_SERVER") or (
                runtime and os.path.exists(os.path.join(runtime, "pulse/native"))):
            self.skipTest("this machine has a sound output")
        status, lines, _ = self.run_program("devprobe", PAVSDI_AUDIO="")
        self.assertEqual(0, status)
        self.assertEqual("0", lines[0].split("\t")[1])

    def test_missing_soundfont_makes_both_synthesizers_unusable(self):
        status, lines, _ = self.run_program("devprobe", PAVSDI_SOUNDFONT="/nonexistent/gm.sf2")
        self.assertEqual(0, status)
        self.assertEqual(["0", "0"], [l.split("\t")[1] for l in lines[:2]])
        status, lines, _ = self.run_program("pavsdi", stdin="24310\n",
                                            PAVSDI_SOUNDFONT="/nonexistent/gm.sf2")
        self.assertEqual(["INFO\tvotre environnement ne supporte pas ce midi mapper\t"], lines)

    def test_without_the_sound_module_nothing_sounds_and_nothing_breaks(self):
        # The programs alone, away from the module the build puts beside them.
        alone = tempfile.mkdtemp(prefix="pavsdi-alone-", dir=self.root)
        for name in ["pavsdi", "tools/devprobe"]:
            shutil.copy(os.path.join(pavsdi.BUILD, name), alone)
        status, lines, _ = self.run_program(os.path.join(alone, "devprobe"))
        self.assertEqual(0, status)
        self.assertEqual(["0", "0"], [l.split("\t")[1] for l in lines[:2]])
        status, lines, _ = self.run_program(os.path.join(alone, "pavsdi"), stdin="24310\n")
        self.assertEqual(0, status)
        self.assertEqual(["INFO\tvotre environnement ne supporte pas ce midi mapper\t"], lines)

    def test_the_midi_file_is_written_without_loading_the_sound_libraries(self):
        self.write("midiinit.dev", b"2\r\n")
        status, _, err = self.run_program("pavsdi", ["\\orfeon\\demo.tab"], LD_DEBUG="files")
        self.assertEqual(0, status, err)
        self.assertIn("sortie.mid", os.listdir(self.orfeon))
        self.assertNotIn("pavsdi-sound", err)
        self.assertNotIn("libfluidsynth", err)


if __name__ == "__main__":
    pavsdi.main()
