// Generated tablatures with generated answers, played on the recording
// device: every note-on is matched by its note-off and the device receives
// only well-formed channel messages.
#include <array>
#include <random>
#include <string>

#include "core/prompts.h"
#include "core/working_state.h"
#include "fakes/fakes.h"
#include "platform/midi_out.h"
#include "tablature/measure_player.h"
#include "tablature/tablature_interpreter.h"

namespace {

class TablatureProperty : public PavTest {
 protected:
  void SetUp() override {
    PavTest::SetUp();
    WriteHostFile("\\orfeon\\lexiton.dic", "[do](ut)\r\n[sol](g)\r\n");
  }

  void Reset() {
    platform::CloseAllMidiPorts();
    WorkingState = TWorkingState{};
    OpenPortForReading();
    WorkingState.Tempo = 31 + Pick(220);
    Device(0).events.clear();
  }

  std::string Tablature() {
    static const char* const kTokens[] = {
        "c", "d", "e", "f", "g", "a", "b", "p", "4", "8", "16", "2", "1", ".", "..", "+", "-", "*",
        "\xE1", ">", "<", "o3", "o5", "o9", "|", "||", "\r\n", "\n", " ", " ", "(", ")", "(ceg)",
        "[", "]", "{", "}", "ms", "mn", "ml", "mt", "ma", "mv", "mp", "mr", "md", "t100", "t240", "t",
        "iaf+:", "ia b-e-:", "ic x:", "id 3:", "ih [do]:", "if p:", "ip {sol}:", "ir do:", "ii2:",
        "io4:", "it90:", "in f:", "im3/4:", "x", "0", "9"};
    std::string text;
    int tokens = Pick(300);
    for (int i = 0; i < tokens; ++i) {
      if (Pick(60) == 0) {
        text += static_cast<char>(1 + Pick(255));
      } else {
        text += kTokens[Pick(sizeof kTokens / sizeof kTokens[0])];
      }
    }
    return text;
  }

  std::string Options() {
    static const char kLetters[] = "acdefghmprx ";
    std::string options;
    int letters = Pick(2) ? 0 : Pick(6);
    for (int i = 0; i < letters; ++i) options += kLetters[Pick(sizeof kLetters - 1)];
    return options;
  }

  // A range bound: mostly one that selects notes, sometimes an edge.
  int32_t Bound(int32_t usual) {
    static const int32_t kEdges[] = {-1, 0, 1, 2, 3, 2047, 2048, INT32_MAX, INT32_MIN};
    int pick = Pick(4);
    return pick == 0 ? kEdges[Pick(9)] : pick == 1 ? Pick(60) : usual;
  }

  void ScriptAnswers() {
    dialogs.answers.clear();
    static const int kAnswers[] = {kYes, kYes, kYes, kNo, kNo, kCancel};
    int count = Pick(40);
    for (int i = 0; i < count; ++i) dialogs.answers.push_back(kAnswers[Pick(6)]);
  }

  // Checks what reached the device, then forgets it.
  void ExpectSound(int round, const std::string& text) {
    std::array<int, 16 * 128> sounding{};
    for (const fakes::MidiEvent& e : Device(0).events) {
      ASSERT_TRUE(e.bytes[0] >= 0x80 && e.bytes[0] < 0xF0) << "round " << round << ": " << text;
      for (size_t i = 1; i < e.bytes.size(); ++i)
        ASSERT_LE(e.bytes[i], 127) << "round " << round << ": " << text;
      int kind = e.bytes[0] & 0xF0;
      if (kind != 0x80 && kind != 0x90) continue;
      int key = (e.bytes[0] & 0x0F) * 128 + e.bytes[1];
      if (kind == 0x90 && e.bytes[2] > 0) {
        ++sounding[key];
        ++notesOn;
      } else {
        sounding[key] = 0;
      }
    }
    for (int key = 0; key < 16 * 128; ++key)
      ASSERT_EQ(0, sounding[key]) << "round " << round << " channel " << key / 128 << " pitch " << key % 128
                                  << ": " << text;
    Device(0).events.clear();
  }

  int Pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

  std::mt19937 random_{19620417};
  long notesOn = 0;  // so that a generator that plays nothing is noticed
  TReadingLists lists{};
  TNoteList& pitches = lists.pitches;
  TLengthList& lengths = lists.lengths;
  TModeList& modes = lists.modes;
  TMarkList& marks = lists.marks;
};

TEST_F(TablatureProperty, InterpretedWithAnyOptionsRangesAndAnswers) {
  for (int round = 0; round < 3000; ++round) {
    Reset();
    std::string text = Tablature();
    std::string options = Options();
    ScriptAnswers();
    int answer = InterpretTablature(text.c_str(), options.c_str(), Bound(1), Bound(2047), lists);
    ASSERT_TRUE(answer == 0 || answer == kYes || answer == kNo || answer == kCancel) << answer;
    ASSERT_LE(pitches.Count, kMaxListEntries);
    ExpectSound(round, text);
  }
  EXPECT_GT(notesOn, 5000);
}

TEST_F(TablatureProperty, PlayedWholeSteppedAndGuided) {
  static const char* const kIndications[] = {"", " ", "m", "ad", "hr", "cfp"};
  for (int round = 0; round < 1500; ++round) {
    Reset();
    WorkingState.TabText = Tablature();
    CopyText(WorkingState.Indications, kIndications[Pick(6)]);
    WorkingState.Measure = Bound(1);
    WorkingState.LastMeasure = Bound(2047);
    ScriptAnswers();
    PlayCurrentMeasure();
    ExpectSound(round, WorkingState.TabText.c_str());
  }
  EXPECT_GT(notesOn, 1000);
}

}  // namespace
