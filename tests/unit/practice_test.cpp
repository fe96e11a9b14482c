// The loop, the count-in and the metronome, timed on the fake clock through
// the recording device; their settings in the settings file.
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "core/prompts.h"
#include "core/working_state.h"
#include "fakes/fakes.h"
#include "platform/stop_request.h"
#include "tablature/measure_player.h"
#include "tablature/practice_player.h"
#include "tablature/settings_file.h"

namespace {

class Practising : public PavTest {
 protected:
  void SetUp() override {
    PavTest::SetUp();
    WriteHostFile("\\orfeon\\midiinit.dev", "0\r\n");
    OpenPortForReading();
    WorkingState.Measure = 1;
    WorkingState.LastMeasure = 1000;
    Practice = TPracticeSettings{false, false, 0, 0, 100, 0, 1};
  }
  void TearDown() override {
    Practice = TPracticeSettings{false, false, 0, 0, 100, 0, 0};
    PavTest::TearDown();
  }
  void Tab(const char* text) { WorkingState.TabText = text; }
  // The note-ons, clicks included ("ch9").
  std::vector<std::string> Starts() {
    std::vector<std::string> out;
    for (const std::string& line : MidiLog())
      if (line.find(" on ") != std::string::npos) out.push_back(line);
    return out;
  }
  // Every note and click switched on is off again.
  void ExpectSilence() {
    std::array<bool, 16 * 128> sounding{};
    for (const fakes::MidiEvent& e : Device(0).events) {
      int kind = e.bytes[0] & 0xF0;
      if (kind == 0x90 || kind == 0x80)
        sounding[(e.bytes[0] & 0x0F) * 128 + e.bytes[1]] = kind == 0x90 && e.bytes[2] > 0;
    }
    for (size_t i = 0; i < sounding.size(); ++i) EXPECT_FALSE(sounding[i]) << "channel " << i / 128 << " note " << i % 128;
  }
};

TEST_F(Practising, LoopPlaysThePassageAtThePercentage) {
  struct Case {
    int percent;
    std::vector<std::string> log;
  } cases[] = {
      {100, {"t=0 on 36 127", "t=1000 off 36", "t=1000 on 38 127", "t=2000 off 38", "t=2000 on 36 127",
             "t=3000 off 36", "t=3000 on 38 127", "t=4000 off 38"}},
      {50, {"t=0 on 36 127", "t=2000 off 36", "t=2000 on 38 127", "t=4000 off 38", "t=4000 on 36 127",
            "t=6000 off 36", "t=6000 on 38 127", "t=8000 off 38"}},
  };
  Tab("c d | e f |");
  for (const Case& c : cases) {
    Device(0).events.clear();
    clock.nowUs = 0;
    Practice.percent = c.percent;
    Practice.passes = 2;
    EXPECT_TRUE(PlayLoop(1, 1));
    EXPECT_EQ(c.log, MidiLog()) << c.percent;
  }
}

TEST_F(Practising, MetronomeClicksEveryBeatAndTheLoopSpeedsUp) {
  // 50 %, then 75 %, then 100 %: a quarter lasts 2000, 1333, then 1000 ms.
  Tab("c d | e f |");
  Practice.metronome = true;
  Practice.percent = 50;
  Practice.step = 25;
  Practice.passes = 3;
  PlayLoop(1, 1);
  EXPECT_EQ((std::vector<std::string>{"t=0 on 36 127", "t=0 on 76 127 ch9", "t=2000 on 38 127", "t=2000 on 77 90 ch9",
                                      "t=4000 on 36 127", "t=4000 on 76 127 ch9", "t=5333 on 38 127",
                                      "t=5333 on 77 90 ch9", "t=6666 on 36 127", "t=6666 on 76 127 ch9",
                                      "t=7666 on 38 127", "t=7666 on 77 90 ch9"}),
            Starts());
  EXPECT_EQ("t=8666 off 77 ch9", MidiLog().back());
  ExpectSilence();
}

TEST_F(Practising, CountInBeatsOneMeasureOfTheTimeSignature) {
  struct Case {
    const char* tab;
    std::vector<std::string> starts;
  } cases[] = {
      {"c d", {"t=0 on 76 127 ch9", "t=1000 on 77 90 ch9", "t=2000 on 77 90 ch9", "t=3000 on 77 90 ch9",
               "t=4000 on 36 127", "t=5000 on 38 127"}},
      {"im3/4: 8c d", {"t=0 on 76 127 ch9", "t=1000 on 77 90 ch9", "t=2000 on 77 90 ch9", "t=3000 on 36 127",
                       "t=3500 on 38 127"}},
  };
  Practice.countIn = true;
  for (const Case& c : cases) {
    Device(0).events.clear();
    clock.nowUs = 0;
    WorkingState.NoteLength = 4;
    Tab(c.tab);
    PlayCurrentMeasure();  // the whole piece, no question
    EXPECT_EQ(c.starts, Starts()) << c.tab;
    ExpectSilence();
  }
}

TEST_F(Practising, EscapeStopsTheEndlessLoopAtOnce) {
  Tab("(c e) d | f |");
  Practice.metronome = true;
  Practice.passes = 0;
  Practice.percent = 25;
  int noteOns = 0;
  uint64_t stoppedAt = 0;
  Device(0).onSend = [&](const fakes::MidiEvent& e) {
    if (e.bytes[0] == 0x91 && e.bytes[2] > 0 && ++noteOns == 7) {
      platform::RequestStop();
      stoppedAt = e.timeMs;
    }
  };
  PlayLoop(1, 1);
  ASSERT_GT(stoppedAt, 0u);
  EXPECT_EQ(stoppedAt, Device(0).events.back().timeMs);
  ExpectSilence();
}

TEST_F(Practising, LoopsThatCannotPlaySaySo) {
  Tab("c d");
  EXPECT_FALSE(PlayLoop(3, 4));
  ASSERT_EQ(1u, dialogs.boxes.size());
  EXPECT_EQ("aucune note dans les mesures 3 à 4", dialogs.boxes[0].text);
  // A recorder would fill its file without end.
  Device(0).outputFile = "\\orfeon\\sortie.mid";
  Practice.passes = 0;
  EXPECT_FALSE(PlayLoop(1, 1));
  ASSERT_EQ(2u, dialogs.boxes.size());
  EXPECT_EQ(0u, dialogs.boxes[1].text.find("une boucle sans fin ne peut pas s'enregistrer dans \\orfeon\\sortie.mid"));
  Practice.passes = 2;
  EXPECT_TRUE(PlayLoop(1, 1));
  EXPECT_EQ(4u, Starts().size());
}

TEST_F(Practising, LoopSettingsAreSteppedByQuestions) {
  dialogs.answers = {kYes, kYes, kCancel,        // first measure 2
                     kYes, kCancel,              // last measure 3
                     kNo, kNo, kCancel,          // 90 %
                     kYes, kCancel,              // +5 % a pass
                     kNo, kYes, kYes, kCancel};  // 2 passes
  LoopSettingsCommand("");
  EXPECT_EQ(2, Practice.firstMeasure);
  EXPECT_EQ(3, Practice.lastMeasure);
  EXPECT_EQ(90, Practice.percent);
  EXPECT_EQ(5, Practice.step);
  EXPECT_EQ(2, Practice.passes);
  EXPECT_EQ("boucle : vitesse 100 % du tempo", dialogs.boxes.at(5).caption);
}

TEST_F(Practising, CountInAndMetronomeAreKeptInTheSettingsFile) {
  WriteHostFile("\\orfeon\\lexiton.ini", "tempo=80\r\nmetronome=0\r\n");
  dialogs.answers = {kYes, kYes};
  CountInCommand("");
  MetronomeCommand("");
  EXPECT_TRUE(Practice.countIn);
  EXPECT_TRUE(Practice.metronome);
  EXPECT_EQ("decompte=1\r\ntempo=80\r\nmetronome=1\r\n", ReadHostFile("\\orfeon\\lexiton.ini"));

  // Read back; a file without the keys leaves them as they are.
  static char text[kPageSize + 1], scratch[kPageSize + 1];
  Practice.countIn = false;
  Practice.metronome = false;
  LoadSettings(text, scratch);
  EXPECT_TRUE(Practice.countIn);
  EXPECT_TRUE(Practice.metronome);
  WriteHostFile("\\orfeon\\lexiton.ini", "tempo=80\r\n");
  LoadSettings(text, scratch);
  EXPECT_TRUE(Practice.countIn);
}

TEST_F(Practising, AFileThatCannotBeReadIsNotReplaced) {
  std::filesystem::create_directories(HostPath("\\orfeon\\lexiton.ini"));
  dialogs.answers = {kYes};
  CountInCommand("");
  EXPECT_TRUE(std::filesystem::is_directory(HostPath("\\orfeon\\lexiton.ini")));
  ASSERT_EQ(2u, dialogs.boxes.size());
  EXPECT_EQ("le fichier ne peut pas être lu : le réglage decompte=1 n'est pas enregistré", dialogs.boxes[1].text);
}

}  // namespace
