// The scale table: seven kinds of scale on the twelve keys, as play-strings
// that start in octave 3 on the tonic.
#pragma once

// The rows of ScaleTable, in this order.
enum TScaleKind {
  kMajor,
  kNaturalMinor,
  kHarmonicMinor,
  kMelodicMinor,
  kWholeTone,
  kMinorBlues,
  kMajorBlues,
  kScaleKinds
};

constexpr int kKeys = 12;

extern const char* const ScaleTable[kScaleKinds][kKeys];
extern const char ChromaticScale[];
// How many notes the parser makes of each row.
extern const int ScaleNoteCounts[kScaleKinds][kKeys];

// Copies the row of `kind` for `key` into `destination` (2048 characters);
// a key outside 0..11 copies nothing and leaves the destination as it was.
void ScalePlayString(int kind, int key, char* destination);
