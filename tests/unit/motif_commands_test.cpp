#include <string>
#include <vector>

#include "core/command_table.h"
#include "core/prompts.h"
#include "core/working_state.h"
#include "fake_clipboard.h"
#include "fakes/fakes.h"
#include "harmony/motifs.h"

namespace {

class Motifs : public PavTest {
 protected:
  void SetUp() override {
    PavTest::SetUp();
    fakes::Use(&clipboard);
    OpenPortForReading();
    // The defaults' rhythm: eight quarter notes.
    WorkingState.NoteLengths[0] = 8;
    for (int i = 1; i < kListSize; ++i) WorkingState.NoteLengths[i] = 4000;
  }
  void TearDown() override {
    fakes::Use(static_cast<platform::Clipboard*>(nullptr));
    PavTest::TearDown();
  }
  std::vector<uint32_t> Lengths() {
    const TLengthList& l = WorkingState.NoteLengths;
    std::vector<uint32_t> lengths;
    for (uint32_t k = 1; k <= l[0]; ++k) lengths.push_back(l[k]);
    return lengths;
  }
  std::vector<std::string> Captions() {
    std::vector<std::string> captions;
    for (const fakes::Box& b : dialogs.boxes) captions.push_back(b.caption);
    return captions;
  }

  FakeClipboard clipboard;
};

TEST_F(Motifs, RythmeHalfQuarterQuarter) {
  dialogs.answers = {kNo, kYes};
  ChooseRhythm();
  EXPECT_EQ((std::vector<std::string>{"motif noire", "motif blanche noire noire"}), Captions());
  EXPECT_EQ("oui=saisie non=suivant annuler=quitter", dialogs.boxes[1].text);
  EXPECT_EQ((std::vector<std::string>{"t=0 on 36 127", "t=2000 off 36", "t=2000 on 36 127", "t=3000 off 36",
                                      "t=3000 on 36 127", "t=4000 off 36"}),
            MidiLog());
  std::vector<uint32_t> lengths = Lengths();
  ASSERT_EQ(303u, lengths.size());
  for (size_t i = 0; i < lengths.size(); ++i) EXPECT_EQ(i % 3 == 0 ? 2000u : 4000u, lengths[i]) << i;
  EXPECT_EQ(4u, WorkingState.NoteLength);
  EXPECT_EQ(std::vector<std::string>{"\\orfeon\\edition.wav"}, sound.cues);
}

TEST_F(Motifs, EveryBuiltInRhythmRepeated101Times) {
  struct Case {
    std::vector<uint32_t> motif;
    uint32_t noteLengthAfter;
  } cases[] = {
      {{4000, 4000, 4000, 4000}, 4},
      {{2000, 4000, 4000}, 4},
      {{2666, 8000, 2666, 8000}, 8},
      {{4000, 8000, 4000, 8000}, 8},
      {{8000, 4000, 8000, 6000, 6000, 6000}, 6},
  };
  for (int i = 0; i < 5; ++i) {
    WorkingState.NoteLength = 4;
    dialogs.answers.assign(i, kNo);
    dialogs.answers.push_back(kYes);
    ChooseRhythm();
    std::vector<uint32_t> expected;
    for (int copy = 0; copy < 101; ++copy)
      expected.insert(expected.end(), cases[i].motif.begin(), cases[i].motif.end());
    EXPECT_EQ(expected, Lengths()) << i;
    EXPECT_EQ(cases[i].noteLengthAfter, WorkingState.NoteLength) << i;
  }
}

TEST_F(Motifs, RythmeCyclesUntilCancelAndThenChangesNothing) {
  dialogs.answers = {kNo, kNo, kNo, kNo, kNo, kCancel};
  ChooseRhythm();
  EXPECT_EQ((std::vector<std::string>{"motif noire", "motif blanche noire noire",
                                      "rythme=motif noire pointée croche", "motif noire croche",
                                      "motif croche noire croche triolet de noire", "motif noire"}),
            Captions());
  EXPECT_EQ(8u, WorkingState.NoteLengths[0]);
  EXPECT_TRUE(MidiLog().empty());
  EXPECT_TRUE(sound.cues.empty());
}

TEST_F(Motifs, EditRythmeRepeatsAShortMotif) {
  clipboard.text = "4c8c";  // five characters with the reader's line feed
  dialogs.answers = {kYes};
  EditRhythmMotif();
  ASSERT_EQ(1u, dialogs.boxes.size());
  EXPECT_EQ("oui=saisir le motif rythmique non ou escape = annuler", dialogs.boxes[0].text);
  EXPECT_EQ("presse papier courant : 4c8c\n", dialogs.boxes[0].caption);
  EXPECT_EQ((std::vector<std::string>{"t=0 on 36 127", "t=1000 off 36", "t=1000 on 36 127", "t=1500 off 36"}),
            MidiLog());
  std::vector<uint32_t> lengths = Lengths();
  ASSERT_EQ(42u, lengths.size());
  for (size_t i = 0; i < lengths.size(); ++i) EXPECT_EQ(i % 2 ? 8000u : 4000u, lengths[i]) << i;
  EXPECT_EQ(std::vector<std::string>{"\\orfeon\\edition.wav"}, sound.cues);
}

TEST_F(Motifs, EditRythmeRepeatsOnlyWholeCopiesThatFit) {
  struct Case {
    std::string motif;
    size_t lengths;
  } cases[] = {
      {std::string(48, 'c'), 48 * 21},      // 49 characters: 21 copies
      {std::string(97, 'c'), 97 * 20},      // 98: 21 copies would pass 2047
      {std::string(98, 'c'), 98 * 20},      // 99
      {std::string(99, 'c'), 99},           // 100: a single copy
      {std::string(2100, 'c'), 2046},       // cut by the reader
  };
  for (const Case& c : cases) {
    clipboard.text = c.motif;
    dialogs.answers = {kYes};
    EditRhythmMotif();
    EXPECT_EQ(c.lengths, Lengths().size()) << c.motif.size();
    EXPECT_LE(dialogs.boxes.back().caption.size(), 2047u);
  }
}

TEST_F(Motifs, EditRythmeRefusedOrEmpty) {
  clipboard.text = "2c";
  dialogs.answers = {kNo};
  EditRhythmMotif();
  EXPECT_EQ(8u, WorkingState.NoteLengths[0]);
  clipboard.text = "";
  dialogs.answers = {kYes};
  EditRhythmMotif();
  EXPECT_EQ(0u, WorkingState.NoteLengths[0]);
  EXPECT_TRUE(MidiLog().empty());
  EXPECT_EQ(2u, sound.cues.size());
}

TEST_F(Motifs, EditNotePlaysTheMotifInItsOwnRhythm) {
  WorkingState.Voice = 1;
  clipboard.text = "8c e g";
  dialogs.answers = {kYes};
  EditNoteMotif();
  EXPECT_EQ("oui=saisir le motif de note non ou escape = annuler", dialogs.boxes.at(0).text);
  EXPECT_STREQ("8c e g\n", WorkingState.InfoText);
  EXPECT_EQ((std::vector<std::string>{"t=0 on 48 127", "t=500 off 48", "t=500 on 52 127", "t=1000 off 52",
                                      "t=1000 on 55 127", "t=1500 off 55"}),
            MidiLog());
  EXPECT_EQ(8u, WorkingState.NoteLengths[0]);
  EXPECT_EQ(4000u, WorkingState.NoteLengths[1]);
  EXPECT_EQ(std::vector<std::string>{"\\orfeon\\edition.wav"}, sound.cues);
}

TEST_F(Motifs, EditNoteRefusedKeepsTheInformation) {
  for (int answer : {kNo, kCancel}) {
    CopyText(WorkingState.InfoText, "gamme majeure");
    clipboard.text = "c d";
    dialogs.answers = {answer};
    EditNoteMotif();
    EXPECT_STREQ("gamme majeure", WorkingState.InfoText);
  }
  EXPECT_TRUE(MidiLog().empty());
  EXPECT_EQ(2u, sound.cues.size());
}

TEST_F(Motifs, Registered) {
  RegisterMotifCommands();
  for (int id : {24319, 24320, 505}) EXPECT_NE(nullptr, FindCommand(id)) << id;
}

}  // namespace
