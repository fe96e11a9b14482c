#include <cstring>

#include "harmony/chord_commands.h"
#include "harmony/chords.h"
#include "harmony/scales.h"
#include "harmony_fixture.h"

namespace {

TNoteList List(std::vector<int> pitches) {
  TNoteList list{};
  list.SetCount(static_cast<int>(pitches.size()));
  for (size_t i = 0; i < pitches.size(); ++i) list[static_cast<int>(i + 1)] = static_cast<uint8_t>(pitches[i]);
  return list;
}

std::vector<int> Pitches(const TNoteList& list) {
  std::vector<int> pitches;
  for (int k = 1; k <= list.Count; ++k) pitches.push_back(list[k]);
  return pitches;
}

// C major over three octaves, as the Gamme command leaves it for Key 0.
const TNoteList kCMajor = List({36, 38, 40, 41, 43, 45, 47, 48, 50, 52, 53, 55, 57, 59, 60, 62, 64, 65, 67, 69, 71, 72});

TEST(BuildChord, StacksScaleSteps) {
  struct Case {
    int degree;
    TStepPattern pattern;
    std::vector<int> chord;
  } cases[] = {
      {1, OddSteps(3), {36, 40, 43}},
      {5, OddSteps(4), {43, 47, 50, 53}},
      {1, {3, {5, 8, 10}}, {43, 48, 52}},                // quarte et sixte
      {1, {5, {9, 10, 12, 14, 15}}, {50, 52, 55, 59, 60}},  // neuvième a la basse
      {7, OddSteps(7), {47, 50, 53, 57, 60, 64, 67}},
      {0, OddSteps(3), {36, 40, 43}},   // degree out of range: 1
      {8, OddSteps(3), {36, 40, 43}},
      {-1, OddSteps(4), {36, 40, 43, 47}},
      {2, OddSteps(1), {38, 41, 45}},   // count out of range: 3
      {2, OddSteps(9), {38, 41, 45}},
  };
  for (const Case& c : cases) {
    TNoteList chord{};
    BuildChord(static_cast<int8_t>(c.degree), kCMajor, c.pattern, chord);
    EXPECT_EQ(c.chord, Pitches(chord)) << c.degree;
    EXPECT_EQ(chord.Count, chord[0]);
  }
}

TEST(BuildChord, StepsBeyondTheScaleAreRests) {
  TNoteList octave = List({36, 38, 40, 41, 43, 45, 47, 48});
  TNoteList chord{};
  BuildChord(5, octave, OddSteps(7), chord);
  EXPECT_EQ((std::vector<int>{43, 47, 0, 0, 0, 0, 0}), Pitches(chord));
  BuildChord(1, List({}), OddSteps(3), chord);
  EXPECT_EQ((std::vector<int>{0, 0, 0}), Pitches(chord));
}

using Spelling = HarmonyTest;

TEST_F(Spelling, LettersWithOctaveMarks) {
  struct Case {
    std::vector<int> notes;
    int octave, key;
    const char* text;
  } cases[] = {
      {{36, 40, 43}, 3, 0, "ceg"},     {{36, 40, 43}, 6, 0, "<<<ceg"},
      {{43, 47, 50, 53}, 3, 0, "gb>df"}, {{37}, 3, 0, "c+"},
      {{37}, 3, 5, "d-"},              {{39, 42, 44, 46}, 3, 2, "d+f+g+a+"},
      {{39, 42, 44, 46}, 3, 1, "e-g-a-b-"}, {{0}, 3, 0, "<<<c"},
      {{60, 0, 60}, 5, 0, "c<<<<<c>>>>>c"}, {{}, 3, 0, ""},
      {{200}, 0, 0, "<<<<e"},  // reads as -56: class 4 below octave 0
  };
  for (const Case& c : cases) {
    WorkingState.Octave = static_cast<int8_t>(c.octave);
    WorkingState.Key = static_cast<int8_t>(c.key);
    char text[64];
    SpellNoteList(List(c.notes), text, sizeof text);
    EXPECT_STREQ(c.text, text);
    EXPECT_EQ(c.octave, WorkingState.Octave);
  }
  char small[4];
  WorkingState.Octave = 3;
  SpellNoteList(List({36, 40, 43, 47}), small, sizeof small);
  EXPECT_STREQ("ceg", small);
}

using Chords = HarmonyTest;

TEST_F(Chords, AccordShowsAndPlaysTheChord) {
  Answer({Y});
  ChooseScale();  // C major; the last note played leaves Octave at 6
  WorkingState.Degree = 5;
  Forget();
  Answer({N, Y});
  EXPECT_EQ(kYes, ChooseChord());
  EXPECT_EQ("oui=saisie  non=suivant annuler=quitter", dialogs.boxes[0].text);
  const fakes::Box* shown = FirstInfo();
  ASSERT_NE(nullptr, shown);
  EXPECT_EQ("voix 1 ton 0 degré 5 transposition de 0 demi tons accord de septième", shown->text);
  EXPECT_EQ("<<<gb>df", shown->caption);
  EXPECT_EQ((std::vector<int>{43, 47, 50, 53}), Played());
  EXPECT_EQ(1, Cues());

  Forget();
  Answer({N, N, N, N, N});
  EXPECT_EQ(kNo, ChooseChord());
  Answer({C});
  EXPECT_EQ(kCancel, ChooseChord());
  EXPECT_EQ(0, Cues());
  EXPECT_EQ((std::vector<int>{43, 47, 50, 53}), Pitches(WorkingState.ChordNotes));
}

TEST_F(Chords, Inversions) {
  Answer({Y});
  ChooseScale();
  std::strcpy(WorkingState.KeySignature, "b-");
  WorkingState.Octave = 3;
  Forget();
  Answer({N, N, N, N, Y});
  InvertChord();
  EXPECT_STREQ("", WorkingState.KeySignature);
  EXPECT_EQ((std::vector<int>{50, 52, 55, 59, 60}), Played());
  EXPECT_EQ("voix 1 ton 0 degré 1 transposition de 0 demi tons neuvième a la basse", FirstInfo()->text);
  EXPECT_EQ(">degb>c", FirstInfo()->caption);

  Forget();
  Answer({N, Y});
  InvertChord();
  EXPECT_EQ((std::vector<int>{43, 48, 52}), Played());

  Forget();
  Answer({N, N, N, N, N});
  InvertChord();
  EXPECT_EQ(0, Cues());
  EXPECT_EQ(0u, Played().size());
}

TEST_F(Chords, PerfectCadence) {
  Answer({Y});
  ChooseScale();
  Forget();
  Answer({Y});
  PlayCadence();
  EXPECT_STREQ("ih5:<<<gb>dfih1:<cegb", WorkingState.InfoText);
  EXPECT_EQ("ih5:<<<gb>dfih1:<cegb", ReadHostFile("\\orfeon\\prvinfo.tab"));
  EXPECT_EQ((std::vector<int>{43, 47, 50, 53, 36, 40, 43, 47}), Played());
  EXPECT_EQ("", FirstInfo()->text);
  EXPECT_EQ("ih5:<<<gb>dfih1:<cegb", FirstInfo()->caption);
  EXPECT_EQ(1, Cues());

  // No at every cadence replays the current chord and rewrites the file.
  std::strcpy(WorkingState.InfoText, "inchangé");
  Forget();
  Answer({N, N, N});
  PlayCadence();
  EXPECT_EQ((std::vector<int>{36, 40, 43, 47}), Played());
  EXPECT_EQ("inchangé", ReadHostFile("\\orfeon\\prvinfo.tab"));
  EXPECT_EQ(1, Cues());

  Forget();
  Answer({N, C});
  PlayCadence();
  EXPECT_EQ(0u, Played().size());
  EXPECT_EQ(0, Cues());
}

TEST_F(Chords, JouerAccordTextsArpeggioAndBlock) {
  Answer({Y});
  ChooseScale();
  WorkingState.Degree = 2;
  WorkingState.Voice = 1;
  WorkingState.Transpose = 2;
  WorkingState.Repetitions = 1;
  WorkingState.ChordNotes = List({36, 40, 43});
  Forget();
  const uint64_t t0 = clock.NowMs();
  auto at = [t0](int ms, const char* event) { return "t=" + std::to_string(t0 + ms) + " " + event; };
  Answer({Y, N});
  PlayChordDrill();
  EXPECT_EQ("d f a >ce g b ", FirstInfo()->caption);
  EXPECT_EQ("voix 2 ton 0 degré 2 transposition de 2 demi tons", FirstInfo()->text);
  EXPECT_EQ("d f a >ce g b ", ReadHostFile("\\orfeon\\prvinfo.tab"));
  EXPECT_EQ("oui=arpéger non=plaquer annuler=quitter", dialogs.boxes[1].text);
  std::vector<std::string> log = Log();
  // Twice broken, 14 semitones up; then twice together at the chord's own
  // pitches: the lowest alone for a quarter, the others joining for one more.
  ASSERT_EQ(24u, log.size());
  EXPECT_EQ(at(0, "on 50 127"), log[0]);
  EXPECT_EQ((std::vector<std::string>{at(6000, "on 36 127"), at(7000, "on 40 127"), at(7000, "on 43 127"),
                                      at(8000, "off 36"), at(8000, "off 40"), at(8000, "off 43")}),
            std::vector<std::string>(log.begin() + 12, log.begin() + 18));
  EXPECT_EQ(1, Cues());
}

TEST_F(Chords, JouerAccordReadsTheDegreeFromTheScaleText) {
  Answer({Y});
  ChooseScale();
  Forget();
  PlayChordDrill();
  EXPECT_EQ("c e g b d f a ", FirstInfo()->caption);
}

}  // namespace
