#include <cstring>

#include "harmony/scale_table.h"
#include "harmony/scales.h"
#include "harmony_fixture.h"
#include "midi/play_string.h"

namespace {

using Scales = HarmonyTest;

TEST_F(Scales, EveryRowParsesToItsNoteCount) {
  for (int kind = 0; kind < kScaleKinds; ++kind) {
    for (int key = 0; key < kKeys; ++key) {
      TNoteList notes;
      TLengthList lengths;
      WorkingState.Octave = 3;
      ParsePlayString(ScaleTable[kind][key], notes, lengths);
      EXPECT_EQ(ScaleNoteCounts[kind][key], notes.Count) << kind << " " << key;
      EXPECT_EQ(36 + key, notes[1]) << "tonic of " << kind << " " << key;
    }
  }
  TNoteList notes;
  TLengthList lengths;
  ParsePlayString(ChromaticScale, notes, lengths);
  ASSERT_EQ(25, notes.Count);
  for (int k = 1; k <= 25; ++k) EXPECT_EQ(35 + k, notes[k]);
}

TEST(ScalePlayString, KeyOutsideTheTableLeavesTheDestination) {
  char text[kLongText] = "avant";
  ScalePlayString(kMajor, 12, text);
  ScalePlayString(kMajor, -1, text);
  EXPECT_STREQ("avant", text);
  ScalePlayString(kMajor, 6, text);
  EXPECT_STREQ("o3 f+g+a+b>c+d+e+f+g+a+b>c+d+e+f+g+a+b>c+d+e+a+f+", text);
}

TEST_F(Scales, GammeStoresPlaysAndCycles) {
  WorkingState.Transpose = 1;
  // No at the chromatic scale comes back to the major one.
  Answer({N, N, N, N, N, N, N, N, Y});
  EXPECT_EQ(kYes, ChooseScale());
  EXPECT_EQ("gamme majeure", dialogs.boxes[8].caption);
  EXPECT_STREQ("o3 c d e f g a b >cd e f g a b >cde f g a b >c gamme majeure", WorkingState.InfoText);
  EXPECT_EQ("o3 c d e f g a b >cd e f g a b >cde f g a b >c\r\n", ReadHostFile("\\orfeon\\prvinfo.tab"));
  // The transposition counts twice: once parsing, once in the base.
  std::vector<int> played = Played();
  ASSERT_EQ(22u, played.size());
  EXPECT_EQ(38, played[0]);
  EXPECT_EQ(74, played[21]);
  EXPECT_EQ(1, Cues());

  Forget();
  Answer({N, C});
  EXPECT_EQ(kCancel, ChooseScale());
  EXPECT_EQ(0u, Played().size());
  EXPECT_EQ(0, Cues());
}

// The drill's windows, cut by character positions out of the stored text.
TEST_F(Scales, DrillWindows) {
  struct Case {
    std::vector<int> kind;  // answers that pick the kind
    int key, degree, transpose;
    const char* window;
    std::vector<int> up;
  } cases[] = {
      {{Y}, 0, 2, 0, "d e f g a b >cd ", {38, 40, 41, 43, 45, 47, 48, 50}},
      {{Y}, 0, 7, 0, "b >cd e f g a b ", {47, 48, 50, 52, 53, 55, 57, 59}},
      {{N, N, N, N, Y}, 0, 1, 0, "c d e f+g+a+>c", {36, 38, 40, 42, 44, 46, 48}},
      {{N, N, N, N, N, Y}, 0, 1, 0, "c e-f f+g b->ce-f f+g b-", {36, 39, 41, 42, 43, 46, 48, 51, 53, 54, 55, 58}},
      {{N, N, N, N, N, N, Y}, 0, 7, 0, "e-e g a >ce-e g a >c gam",
       {39, 40, 43, 45, 48, 51, 52, 55, 57, 60, 67, 69}},
      {{N, N, Y}, 2, 1, 0, "d e f g a b-> c+", {38, 40, 41, 43, 45, 46, 49}},
      {{N, N, N, N, N, N, N, Y}, 5, 1, 0, "c c+d d+e f f+g g+a a+b >c",
       {36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48}},
      {{N, N, N, N, N, N, N, Y}, 5, 1, 1, "c+d d+e f f+g g+a a+b >cc+",
       {38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50}},
      {{N, N, N, N, N, N, N, Y}, 5, 1, 11, "b >cc+d d+e f f+g g+a a+b ",
       {58, 59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 70}},
      {{N, N, N, N, N, N, N, Y}, 0, 1, 100, "", {}},  // a start below 1: nothing
      {{N, N, N, N, N, N, N, Y}, 0, 1, -3, "", {}},
  };
  for (const Case& c : cases) {
    WorkingState.Key = static_cast<int8_t>(c.key);
    WorkingState.Transpose = 0;
    Answer(c.kind);
    ChooseScale();
    WorkingState.Degree = static_cast<int8_t>(c.degree);
    WorkingState.Transpose = static_cast<int8_t>(c.transpose);
    Forget();
    Answer({Y, N, C});
    PlayScaleDrill();
    SCOPED_TRACE(c.window);
    const fakes::Box* report = FirstInfo();
    ASSERT_NE(nullptr, report);
    std::vector<int> down(c.up.rbegin(), c.up.rend());
    std::vector<int> both = c.up;
    both.insert(both.end(), down.begin(), down.end());
    if (c.window[0] == 0) {
      EXPECT_EQ("\n", report->text);
      EXPECT_EQ(0u, Played().size());
      continue;
    }
    EXPECT_EQ(std::string(c.window) + "\n", report->text);
    EXPECT_EQ(both, Played());
    EXPECT_EQ(std::string(c.window) + "\r\n", ReadHostFile("\\orfeon\\prvinfo.tab"));
    EXPECT_EQ(1, Cues());
  }
}

TEST_F(Scales, DrillCaptionsAndRepetitions) {
  Answer({Y});
  ChooseScale();
  WorkingState.Degree = 2;
  WorkingState.Repetitions = 2;
  WorkingState.Voice = 1;
  Forget();
  Answer({Y, C});
  PlayScaleDrill();
  EXPECT_EQ("voix 2 ton 0 degré 2 transposition de 0 demi tons gamme majeure", FirstInfo()->caption);
  EXPECT_EQ((std::vector<std::string>{"voix 2 ton 0 degré 2 transposition de 0 demi tons gamme majeure", "jouer",
                                      "jouer"}),
            Captions());
  EXPECT_EQ("oui=ascendante non=descendante annuler=quitter", dialogs.boxes[1].text);
  EXPECT_EQ(24u, Played().size());  // three times the eight notes
  EXPECT_EQ(50, Played()[0]);

  Answer({N, N, N, N, N, N, N, Y});
  ChooseScale();
  WorkingState.Transpose = 3;
  Forget();
  PlayScaleDrill();
  EXPECT_EQ("voix 2 gamme chromatique transposée de 3 demi tons", FirstInfo()->caption);
}

TEST_F(Scales, EmptyInformationAsksForAScale) {
  Answer({Y});
  PlayScaleDrill();
  ASSERT_EQ(1u, dialogs.boxes.size());
  EXPECT_EQ("gamme vide", dialogs.boxes[0].caption);
  EXPECT_EQ("choisissez une gamme en utilisant l'item Gamme du menu Harm", dialogs.boxes[0].text);
  EXPECT_EQ(1, Cues());
  EXPECT_EQ(0u, Played().size());
}

TEST_F(Scales, OtherInformationIsPlayedWhole) {
  std::strcpy(WorkingState.InfoText, "ih5:gb>dfih1:<cegb");
  Answer({Y});
  PlayScaleDrill();
  EXPECT_EQ("ih5:gb>dfih1:<cegb\n", FirstInfo()->text);
  EXPECT_EQ("voix 1 ton 0 degré 1 transposition de 0 demi tons ", FirstInfo()->caption);
}

}  // namespace
