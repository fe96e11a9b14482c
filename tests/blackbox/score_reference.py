"""The notation program as a reference: a score's part played by it and by
PavSdi through its MIDI file device, compared note by note."""
import os
import re
import subprocess
import tempfile

import mido

MATCH_MS = 60


def mscore_midi(musicxml_path, midi_path):
    """Debian's musescore3 plays a MusicXML score into a MIDI file."""
    subprocess.run(["mscore3", "-o", midi_path, musicxml_path], check=True, capture_output=True,
                   env=dict(os.environ, QT_QPA_PLATFORM="offscreen"), timeout=300)


def part_tracks(musicxml_text, index):
    """The tracks of the notation program's MIDI file that play part `index`
    (from 0): one track per staff, in the order of the parts, after the
    tempo track."""
    parts = re.findall(r'<part id="[^"]+">(.*?)</part>', musicxml_text, flags=re.S)
    staves = [int((re.findall(r"<staves>(\d+)</staves>", p) or ["1"])[0]) for p in parts]
    first = 1 + sum(staves[:index])
    return list(range(first, first + staves[index]))


def onsets(midi_path, tracks=None):
    """(time in ms, pitch) of every note-on of the tracks (all without
    them), in order; percussion left out."""
    midi = mido.MidiFile(midi_path)
    if tracks is not None:
        midi.tracks = [t for i, t in enumerate(midi.tracks) if i == 0 or i in tracks]
    events = []
    now = 0.0
    for message in midi:
        now += message.time
        if message.type == "note_on" and message.velocity > 0 and message.channel != 9:
            events.append((now * 1000.0, message.note))
    return sorted(events)


def compare(reference, played, tolerance=MATCH_MS):
    """Recall and precision of `played` against `reference`: a note matches
    one of the same pitch within the tolerance, each used once. Both start
    at their first note."""
    if not reference or not played:
        return 0.0, 0.0
    r0, p0 = reference[0][0], played[0][0]
    reference = [(t - r0, n) for t, n in reference]
    played = [(t - p0, n) for t, n in played]
    used = set()
    matched = 0
    j0 = 0
    for t, n in reference:
        while j0 < len(played) and played[j0][0] < t - tolerance:
            j0 += 1
        j = j0
        while j < len(played) and played[j][0] <= t + tolerance:
            if j not in used and played[j][1] == n:
                used.add(j)
                matched += 1
                break
            j += 1
    return matched / len(reference), matched / len(played)


def reference_parts(musicxml_path, workdir):
    """The notation program's onsets of each part of the score, from one
    playing of it."""
    with open(musicxml_path, encoding="utf-8") as f:
        text = f.read()
    midi = os.path.join(workdir, "reference.mid")
    mscore_midi(musicxml_path, midi)
    count = len(re.findall(r'<part id="[^"]+">', text))
    return [onsets(midi, part_tracks(text, index)) for index in range(count)]
