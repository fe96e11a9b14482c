// Escape while music plays: the players stop at the next note with every
// sounding note switched off at once, and nothing more is sent.
#include <array>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "core/prompts.h"
#include "core/working_state.h"
#include "fakes/fakes.h"
#include "midi/play_string.h"
#include "midi/voice_player.h"
#include "platform/stop_request.h"
#include "tablature/measure_player.h"

namespace {

class EscapeStop : public PavTest {
 protected:
  void SetUp() override {
    PavTest::SetUp();
    WriteHostFile("\\orfeon\\midiinit.dev", "0\r\n");
    OpenPortForReading();
    WorkingState.Measure = 1;
    WorkingState.LastMeasure = 1000;
  }

  // The user presses Escape as the n-th note starts.
  void StopAtNoteOn(int n) {
    noteOns_ = 0;
    Device(0).onSend = [this, n](const fakes::MidiEvent& e) {
      if ((e.bytes[0] & 0xF0) != 0x90 || ++noteOns_ != n) return;
      platform::RequestStop();
      eventsAtStop_ = Device(0).events.size();
      boxesAtStop_ = dialogs.boxes.size();
    };
  }

  // After the stop: no note started, no question asked, none left sounding.
  void ExpectStoppedCleanly() {
    const std::vector<fakes::MidiEvent>& events = Device(0).events;
    ASSERT_GT(eventsAtStop_, 0u) << "the stop was never asked";
    for (size_t i = eventsAtStop_; i < events.size(); ++i)
      EXPECT_EQ(0x80, events[i].bytes[0] & 0xF0) << "message " << i << " after the stop";
    EXPECT_EQ(boxesAtStop_, dialogs.boxes.size());
    std::array<bool, 128> sounding{};
    for (const fakes::MidiEvent& e : events) sounding[e.bytes[1] & 0x7F] = (e.bytes[0] & 0xF0) == 0x90;
    for (int pitch = 0; pitch < 128; ++pitch) EXPECT_FALSE(sounding[pitch]) << "pitch " << pitch;
  }

  TNoteList notes{};
  TLengthList lengths{};
  TModeList modes{};
  TMarkList marks{};

  void Entries(const std::vector<int>& pitches, const char* groupMarks = "") {
    for (size_t k = 0; k < pitches.size(); ++k) {
      notes[k + 1] = static_cast<uint8_t>(pitches[k]);
      lengths[k + 1] = 4000;
      marks[k + 1] = k < std::strlen(groupMarks) && groupMarks[k] != ' ' ? groupMarks[k] : 0;
    }
    notes.SetCount(static_cast<int>(pitches.size()));
    lengths[0] = static_cast<uint32_t>(pitches.size());
  }

 private:
  int noteOns_ = 0;
  size_t eventsAtStop_ = 0;
  size_t boxesAtStop_ = 0;
};

TEST_F(EscapeStop, NoteListStopsBeforeTheNextNote) {
  Entries({24, 26, 28, 29});
  StopAtNoteOn(2);
  PlayNoteList(36, notes, lengths);
  EXPECT_EQ((std::vector<std::string>{"t=0 on 60 127", "t=1000 off 60", "t=1000 on 62 127", "t=2000 off 62"}),
            MidiLog());
  EXPECT_EQ(2000u, clock.NowMs());
  ExpectStoppedCleanly();
}

TEST_F(EscapeStop, VoiceSilencesAnOpenGroupAtOnceAndCancels) {
  // The group's first two notes sound together when Escape comes.
  Entries({60, 64, 67, 72}, "(  )");
  StopAtNoteOn(2);
  EXPECT_EQ(kCancel, PlayVoice(0, "", notes, lengths, modes, marks));
  EXPECT_EQ((std::vector<std::string>{"t=0 on 60 127", "t=0 on 64 127", "t=0 off 60", "t=0 off 64"}), MidiLog());
  ExpectStoppedCleanly();
}

TEST_F(EscapeStop, VoiceWithAnnouncementsAsksNothingMore) {
  Entries({60, 62, 64});
  StopAtNoteOn(1);
  dialogs.answers = {kYes, kYes, kYes, kYes, kYes, kYes};
  EXPECT_EQ(kCancel, PlayVoice(0, "x", notes, lengths, modes, marks));
  size_t asked = dialogs.boxes.size();
  EXPECT_EQ((std::vector<std::string>{"t=0 on 60 127", "t=1000 off 60"}), MidiLog());
  ExpectStoppedCleanly();
  // A stopped voice stays stopped until the next command clears the request.
  EXPECT_EQ(kCancel, PlayVoice(0, "x", notes, lengths, modes, marks));
  EXPECT_EQ(asked, dialogs.boxes.size());
  EXPECT_EQ(2u, MidiLog().size());
  platform::ClearStopRequest();
  Device(0).onSend = nullptr;
  PlayVoice(0, "", notes, lengths, modes, marks);
  EXPECT_EQ(8u, MidiLog().size());
}

TEST_F(EscapeStop, BlockChordKeepsOnlyTheLowestNoteAndSwitchesItOff) {
  notes[1] = 4;
  notes[2] = 3;
  notes.SetCount(2);
  lengths[1] = 4000;
  lengths[2] = 2000;
  StopAtNoteOn(1);
  PlayBlockChord(60, notes, lengths);
  EXPECT_EQ((std::vector<std::string>{"t=0 on 60 127", "t=1000 off 60"}), MidiLog());
  ExpectStoppedCleanly();
}

// Both measure loops end at the stop instead of asking for the next measure.
TEST_F(EscapeStop, MeasureLoopsEnd) {
  // Stepping, a guided reading announcing everything, one by measures.
  for (const char* indications : {" ", "x", "m"}) {
    SCOPED_TRACE(indications);
    Device(0).events.clear();
    clock.nowUs = 0;
    dialogs.boxes.clear();
    dialogs.answers = std::deque<int>(20, kYes);
    platform::ClearStopRequest();
    WorkingState.TabText = "c d|e f|g a|";
    CopyText(WorkingState.Indications, indications);
    WorkingState.Measure = 1;
    StopAtNoteOn(1);
    PlayCurrentMeasure();
    EXPECT_EQ((std::vector<std::string>{"t=0 on 36 127", "t=1000 off 36"}), MidiLog());
    ExpectStoppedCleanly();
  }
}

}  // namespace
