"""The built-in synthesizer of the Windows programs (pavsdi-sound.dll, with
FluidSynth built from third_party and the soundfont beside the programs):
listed by devprobe.exe, and heard in the WAV file where the MIDI-file
device puts the notes."""
import array
import os
import sys
import wave

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "blackbox"))
import pavsdi  # noqa: E402

RATE = 44100
ONSET_LEVEL = 66  # about -54 dBFS: an attack, well above silence


def levels(path):
    """Per millisecond, the largest magnitude of either channel."""
    with wave.open(path, "rb") as w:
        params = (w.getnchannels(), w.getsampwidth(), w.getframerate())
        samples = array.array("h", w.readframes(w.getnframes()))
    per_ms = 2 * RATE // 1000
    return params, [max(map(abs, samples[i:i + per_ms])) for i in range(0, len(samples), per_ms)]


class WindowsSound(pavsdi.RootTest):
    def test_devprobe_lists_both_synthesizers_the_wav_one_usable_without_sound_output(self):
        status, lines, err = self.run_program("devprobe")
        self.assertEqual(0, status, err)
        rows = [l.split("\t") for l in lines]
        # wine here has no audio driver: the live one has no capacity.
        self.assertEqual(["0", "0", "Synthétiseur intégré"], rows[0])
        self.assertEqual(["1", "256", "Synthétiseur intégré -> \\orfeon\\sortie.wav"], rows[1])
        self.assertEqual(["2", "Fichier MIDI -> \\orfeon\\sortie.mid"], [rows[2][0], rows[2][2]])

    def test_demo_in_the_wav_file_sounds_where_the_midi_file_puts_its_notes(self):
        status, _, err = self.run_program("pavsdi", ["\\orfeon\\demo.tab"])
        self.assertEqual(0, status, err)
        messages, end_ms = pavsdi.midi_messages(os.path.join(self.orfeon, "sortie.mid"))
        onsets = sorted({ms for ms, m in messages if m.type == "note_on" and m.velocity})
        self.assertGreater(len(onsets), 10)

        self.write("midiinit.dev", b"1\r\n")
        status, _, err = self.run_program("pavsdi", ["\\orfeon\\demo.tab"], timeout=120)
        self.assertEqual(0, status, err)
        params, heard = levels(os.path.join(self.orfeon, "sortie.wav"))
        self.assertEqual((2, 2, RATE), params)
        # Silent up to the first note, heard within its attack.
        first = next(ms for ms, v in enumerate(heard) if v > ONSET_LEVEL)
        self.assertTrue(onsets[0] <= first <= onsets[0] + 15, (onsets[0], first))
        # Every later note is an attack: louder just after it than just
        # before (what sounded then is fading or released).
        for ms in onsets[1:]:
            before = max(heard[ms - 30:ms - 3])
            after = max(heard[ms:ms + 40])
            self.assertGreater(after, before, "no attack at %d ms" % ms)
        # The piece, then the release of its last notes (at most 3 s).
        self.assertGreater(len(heard), end_ms)
        self.assertLessEqual(len(heard), end_ms + 3000)


if __name__ == "__main__":
    pavsdi.main()
