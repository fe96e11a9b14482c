// Whatever the input and whatever the user answers, no note is left sounding.
#include <array>
#include <random>
#include <string>

#include "core/prompts.h"
#include "core/working_state.h"
#include "fakes/fakes.h"
#include "midi/play_string.h"
#include "midi/voice_player.h"

namespace {

class NoteOffInvariant : public PavTest {
 protected:
  void SetUp() override {
    PavTest::SetUp();
    OpenPortForReading();
  }

  // Every note-on has been followed by a note-off of its channel and pitch.
  void ExpectAllOff(int round) {
    std::array<int, 16 * 128> sounding{};
    for (const fakes::MidiEvent& e : Device(0).events) {
      int kind = e.bytes[0] & 0xF0;
      if (kind != 0x80 && kind != 0x90) continue;
      int key = (e.bytes[0] & 0x0F) * 128 + e.bytes[1];
      if (kind == 0x90 && e.bytes[2] > 0) {
        ++sounding[key];
      } else {
        sounding[key] = 0;
      }
    }
    for (int key = 0; key < 16 * 128; ++key)
      ASSERT_EQ(0, sounding[key]) << "round " << round << " channel " << key / 128 << " pitch " << key % 128;
    Device(0).events.clear();
  }

  std::string RandomPlayString() {
    static const char* const kTokens[] = {
        "c", "d", "e", "f", "g", "a", "b", "p", "p4", "p12", "+", "-", "*", "\xE1", ">", "<", "o",
        "o5", "o9", "t", "t90", "t 60", "8", "16", "4", ".", "..", "|", "\n", "\r", " ", "0",
        "ia f+:", "ia b-e-:", "ic x:", "ii3:", "io4:", "it2:", "in p:", "im3/4:", "x", "i"};
    std::string text;
    int tokens = Pick(400);
    for (int i = 0; i < tokens; ++i) {
      if (Pick(20) == 0) {
        text += static_cast<char>(1 + Pick(255));
      } else {
        text += kTokens[Pick(sizeof kTokens / sizeof kTokens[0])];
      }
    }
    return text;
  }

  void ScriptAnswers() {
    dialogs.answers.clear();
    static const int kAnswers[] = {kYes, kYes, kYes, kYes, kNo, kCancel};
    for (int i = 0; i < 80; ++i) dialogs.answers.push_back(kAnswers[Pick(6)]);
  }

  int Pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

  std::mt19937 random_{20240531};
};

TEST_F(NoteOffInvariant, ParsedAndPlayedPlayStrings) {
  static const char* const kSignatures[] = {"", "f+", "b-e-a-", "c+f", "gi"};
  TNoteList notes{};
  TLengthList lengths{};
  for (int round = 0; round < 400; ++round) {
    CopyText(WorkingState.KeySignature, kSignatures[Pick(5)]);
    std::string text = RandomPlayString();
    ParsePlayString(text.c_str(), notes, lengths);
    ASSERT_LE(notes.Count, kMaxListEntries);
    ASSERT_EQ(notes.Count, lengths[0]);
    ASSERT_EQ(notes.Count & 0xFF, notes[0]);
    WorkingState.Channel = 1;
    WorkingState.Velocity = 127;
    WorkingState.Tempo = 31 + Pick(230);
    PlayNoteList(static_cast<int8_t>(Pick(256)), notes, lengths);
    ExpectAllOff(round);
  }
}

TEST_F(NoteOffInvariant, VoicesWithAnyAnswers) {
  static const uint32_t kLengths[] = {0, 1, 666, 2285, 2666, 4000, 6000, 8000, 64000, 300000000};
  static const char kMarks[] = "([{)]}acdemprvx";
  TNoteList notes{};
  TLengthList lengths{};
  TModeList modes{};
  TMarkList marks{};
  for (int round = 0; round < 600; ++round) {
    int count = Pick(40);
    for (int k = 1; k <= count; ++k) {
      notes[k] = Pick(4) == 0 ? 0 : static_cast<uint8_t>(Pick(256));
      lengths[k] = kLengths[Pick(10)];
      modes[k] = static_cast<uint8_t>(Pick(5));
      marks[k] = Pick(3) == 0 ? kMarks[Pick(sizeof kMarks)] : 0;
    }
    notes.SetCount(count);
    lengths[0] = static_cast<uint32_t>(count);
    ScriptAnswers();
    int answer = PlayVoice(static_cast<int8_t>(Pick(256)), Pick(2) ? "x" : "", notes, lengths, modes, marks);
    ASSERT_TRUE(answer == 0 || answer == kYes || answer == kNo || answer == kCancel) << answer;
    ExpectAllOff(round);
  }
}

TEST_F(NoteOffInvariant, BlockChords) {
  TNoteList intervals{};
  TLengthList lengths{};
  for (int round = 0; round < 300; ++round) {
    int count = Pick(30);
    for (int k = 1; k <= count; ++k) intervals[k] = static_cast<uint8_t>(Pick(256));
    intervals.SetCount(count);
    lengths[1] = static_cast<uint32_t>(Pick(70000));
    lengths[2] = static_cast<uint32_t>(Pick(70000));
    PlayBlockChord(static_cast<int8_t>(Pick(256)), intervals, lengths);
    ExpectAllOff(round);
  }
}

}  // namespace
