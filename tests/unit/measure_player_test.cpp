#include <string>
#include <vector>

#include "core/data_files.h"
#include "core/prompts.h"
#include "core/working_state.h"
#include "fakes/fakes.h"
#include "tablature/measure_player.h"
#include "tablature/tablature_interpreter.h"

namespace {

class MeasurePlayer : public PavTest {
 protected:
  void SetUp() override {
    PavTest::SetUp();
    WriteHostFile("\\orfeon\\midiinit.dev", "0\r\n");
    TWorkingState& ws = WorkingState;
    ws.Channel = 1;
    ws.Velocity = 127;
    ws.Tempo = 60;
    ws.Octave = 3;
    ws.NoteLength = 4;
    ws.Measure = 1;
    ws.LastMeasure = 1000;
  }
  void Tab(const char* text) { WorkingState.TabText = text; }
  std::vector<int> Played() {
    std::vector<int> out;
    for (const std::string& line : MidiLog()) {
      size_t at = line.find(" on ");
      if (at != std::string::npos) out.push_back(std::stoi(line.substr(at + 4)));
    }
    return out;
  }
  std::vector<std::string> Texts() {
    std::vector<std::string> out;
    for (const fakes::Box& b : dialogs.boxes) out.push_back(b.text);
    return out;
  }
};

TEST_F(MeasurePlayer, WholeModePlaysTheNoteRange) {
  Tab("c d e f g");
  WorkingState.Measure = 3;
  NextMeasure("");
  EXPECT_EQ((std::vector<int>{41, 43}), Played());
  EXPECT_EQ(4, WorkingState.Measure);
  EXPECT_EQ((std::vector<std::string>{kEditionCue}), sound.cues);
}

TEST_F(MeasurePlayer, PreviousStaysAtOne) {
  Tab("c d");
  PreviousMeasure("");
  EXPECT_EQ(1, WorkingState.Measure);
  EXPECT_EQ((std::vector<int>{36, 38}), Played());
}

TEST_F(MeasurePlayer, SteppingShowsNoteNumbersAndEndsAfterTheLastMeasure) {
  Tab("c d e|f g|");
  CopyText(WorkingState.Indications, "x");
  dialogs.answers = {kYes, kYes, kCancel};
  PlayMeasure("");
  EXPECT_EQ((std::vector<std::string>{"mesure 1 : jouer depuis la note 1 jusqu'a la note 3",
                                      "mesure 2 : jouer depuis la note 4 jusqu'a la note 5",
                                      "fin de la tablature"}),
            Texts());
  EXPECT_EQ("oui=suivant non=précédent annuler=fin", dialogs.boxes[0].caption);
  EXPECT_EQ("oui=début annuler=quitter", dialogs.boxes[2].caption);
  EXPECT_EQ((std::vector<int>{36, 38, 40, 41, 43}), Played());
  EXPECT_EQ(3, WorkingState.Measure);
  EXPECT_STREQ("x", WorkingState.Indications);
  EXPECT_EQ((std::vector<std::string>{kEditionCue}), sound.cues);
}

TEST_F(MeasurePlayer, SteppingBackAndRestart) {
  Tab("c|d\n\ne");
  CopyText(WorkingState.Indications, " ");
  // No at measure 1 plays it and asks for it again; Yes moves on; the
  // blank line is an empty measure; Yes at the end starts again.
  dialogs.answers = {kNo, kYes, kYes, kYes, kCancel};
  PlayCurrentMeasure();
  EXPECT_EQ((std::vector<std::string>{"mesure 1 : jouer depuis la note 1 jusqu'a la note 1",
                                      "mesure 1 : jouer depuis la note 1 jusqu'a la note 1",
                                      "mesure 2 : jouer depuis la note 2 jusqu'a la note 2",
                                      "fin de la tablature",
                                      "mesure 1 : jouer depuis la note 1 jusqu'a la note 1"}),
            Texts());
  EXPECT_EQ((std::vector<int>{36, 36, 38}), Played());
}

TEST_F(MeasurePlayer, SteppingAnEmptyTablature) {
  Tab("");
  CopyText(WorkingState.Indications, " ");
  dialogs.answers = {kYes, kNo};
  PlayCurrentMeasure();
  EXPECT_EQ((std::vector<std::string>{"mesure 1 : jouer depuis la note 1 jusqu'a la note 0",
                                      "fin de la tablature"}),
            Texts());
  EXPECT_TRUE(Played().empty());
}

TEST_F(MeasurePlayer, SteppingNumbersDescribeTheCurrentText) {
  // An earlier reading of another text must not leave its table behind.
  Tab("c d e f g h|a");
  PlayCurrentMeasure();
  Device(0).events.clear();
  Tab("c|d");
  CopyText(WorkingState.Indications, " ");
  dialogs.answers = {kCancel};
  PlayCurrentMeasure();
  EXPECT_EQ("mesure 1 : jouer depuis la note 1 jusqu'a la note 1", dialogs.boxes.at(0).text);
}

TEST_F(MeasurePlayer, GuidedReadingByMeasure) {
  Tab("c|d|e|");
  CopyText(WorkingState.Indications, "m");
  WorkingState.Measure = 5;
  dialogs.answers = {kNo, kCancel};
  PlayCurrentMeasure();
  EXPECT_EQ((std::vector<std::string>{"mesure 1 ", "mesure 1 "}), Texts());
  EXPECT_EQ("c", dialogs.boxes[0].caption);
  EXPECT_TRUE(Played().empty());
  EXPECT_EQ(5, WorkingState.Measure);
}

TEST_F(MeasurePlayer, MissingDeviceFileAndUnusableDevice) {
  std::remove(HostPath("\\orfeon\\midiinit.dev").c_str());
  Tab("c");
  PlayCurrentMeasure();
  ASSERT_GE(dialogs.boxes.size(), 2u);
  EXPECT_EQ("impossible d'ouvrir en lecture", dialogs.boxes[0].caption);
  EXPECT_EQ(0u, dialogs.boxes[1].text.find("pour choisir un midi mapper disponible"));
  EXPECT_EQ((std::vector<int>{36}), Played());

  UseDevices({0});
  dialogs.boxes.clear();
  WriteHostFile("\\orfeon\\midiinit.dev", "0");
  PlayCurrentMeasure();
  ASSERT_EQ(1u, dialogs.boxes.size());
  EXPECT_EQ("votre environnement ne supporte pas ce midi mapper", dialogs.boxes[0].caption);
}

TEST_F(MeasurePlayer, PlayAllHandsTheDeviceToTheCompanion) {
  OpenDefaultPort();
  WorkingState.Measure = 4;
  PlayAll("");
  EXPECT_EQ(1, WorkingState.Measure);
  EXPECT_EQ((std::vector<std::string>{"\\orfeon\\sonplay.exe"}), programs.started);
  EXPECT_EQ((std::vector<int>{3}), programs.showModes);
  ASSERT_EQ(1u, dialogs.boxes.size());
  EXPECT_EQ("initialisation", dialogs.boxes[0].text);
  EXPECT_EQ("midimapper", dialogs.boxes[0].caption);
  EXPECT_EQ(1, Device(0).closes);
  EXPECT_TRUE(Device(0).isOpen);
  EXPECT_TRUE(sound.cues.empty());
}

}  // namespace
