#include <string>
#include <vector>

#include "core/prompts.h"
#include "core/working_state.h"
#include "fakes/fakes.h"
#include "midi/voice_player.h"

namespace {

struct Entry {
  int pitch;
  uint32_t length;
  uint8_t mode = kNormal;
  char mark = 0;
};

class VoicePlayer : public PavTest {
 protected:
  void SetUp() override {
    PavTest::SetUp();
    OpenDefaultPort();
  }
  int Play(const std::vector<Entry>& entries, const char* announce = "", int8_t base = 0) {
    notes = {};
    for (size_t k = 0; k < entries.size(); ++k) {
      notes[k + 1] = static_cast<uint8_t>(entries[k].pitch);
      lengths[k + 1] = entries[k].length;
      modes[k + 1] = entries[k].mode;
      marks[k + 1] = entries[k].mark;
    }
    notes.SetCount(static_cast<int>(entries.size()));
    lengths[0] = static_cast<uint32_t>(entries.size());
    return PlayVoice(base, announce, notes, lengths, modes, marks);
  }
  std::vector<std::string> Questions() const {
    std::vector<std::string> result;
    for (const fakes::Box& b : dialogs.boxes) result.push_back(b.text + "|" + b.caption);
    return result;
  }

  TNoteList notes{};
  TLengthList lengths{};
  TModeList modes{};
  TMarkList marks{};
};

TEST_F(VoicePlayer, NormalNotesFollowEachOther) {
  EXPECT_EQ(0, Play({{60, 4000}, {62, 4000}, {64, 4000, kLegato}, {65, 4000, kTenu}}));
  EXPECT_EQ((std::vector<std::string>{"t=0 on 60 127", "t=1000 off 60", "t=1000 on 62 127",
                                      "t=2000 off 62", "t=2000 on 64 127", "t=3000 off 64",
                                      "t=3000 on 65 127", "t=4000 off 65"}),
            MidiLog());
  EXPECT_EQ(4000u, clock.NowMs());
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(VoicePlayer, StaccatoSoundsSevenEighths) {
  Play({{60, 4000, kStaccato}, {0, 4000}, {62, 8000, kStaccato}}, "", 12);
  EXPECT_EQ((std::vector<std::string>{"t=0 on 72 127", "t=875 off 72", "t=2000 on 74 127",
                                      "t=2437 off 74"}),
            MidiLog());
  EXPECT_EQ(2500u, clock.NowMs());  // 437 + 63: the half millisecond cut off is carried
  EXPECT_EQ(6, WorkingState.Octave);
}

TEST_F(VoicePlayer, GroupSoundsForItsFirstNote) {
  Play({{60, 4000, kNormal, '('}, {64, 8000}, {67, 2000, kNormal, ')'}, {72, 8000}});
  EXPECT_EQ((std::vector<std::string>{"t=0 on 60 127", "t=0 on 64 127", "t=0 on 67 127",
                                      "t=1000 off 60", "t=1000 off 64", "t=1000 off 67",
                                      "t=1000 on 72 127", "t=1500 off 72"}),
            MidiLog());
}

TEST_F(VoicePlayer, GroupDetails) {
  struct Case {
    const char* name;
    std::vector<Entry> entries;
    std::vector<std::string> log;
    uint64_t end;
  } cases[] = {
      {"staccato first note",
       {{60, 4000, kStaccato, '['}, {64, 4000, kNormal, ']'}},
       {"t=0 on 60 127", "t=0 on 64 127", "t=875 off 60", "t=875 off 64"},
       1000},
      {"rest inside waits, its entry gets the closing note-off",
       {{60, 4000, kNormal, '{'}, {0, 4000}, {64, 4000, kTenu, '}'}},
       {"t=0 on 60 127", "t=1000 on 64 127", "t=2000 off 60", "t=2000 off 0", "t=2000 off 64"},
       2000},
      {"second opening ignored",
       {{60, 4000, kNormal, '('}, {62, 4000, kNormal, '('}, {64, 4000, kNormal, ')'}},
       {"t=0 on 60 127", "t=0 on 62 127", "t=0 on 64 127", "t=1000 off 60", "t=1000 off 62",
        "t=1000 off 64"},
       1000},
      {"closing without group",
       {{60, 4000, kNormal, ')'}},
       {"t=0 on 60 127", "t=1000 off 60"},
       1000},
      {"group left open closes at the end",
       {{60, 8000, kNormal, '('}, {64, 4000}},
       {"t=0 on 60 127", "t=0 on 64 127", "t=500 off 60", "t=500 off 64"},
       500},
  };
  for (const Case& c : cases) {
    Device(0).events.clear();
    clock.nowUs = 0;
    Play(c.entries);
    EXPECT_EQ(c.log, MidiLog()) << c.name;
    EXPECT_EQ(c.end, clock.NowMs()) << c.name;
  }
}

TEST_F(VoicePlayer, AnnouncementsBeforeEachEntry) {
  dialogs.answers = std::deque<int>(20, kYes);
  std::vector<uint64_t> askedAt;
  dialogs.onQuestion = [&](const fakes::Box&) { askedAt.push_back(clock.NowMs()); };
  // The rest between the two staccato notes has mode 0: the mode is named again.
  int answer = Play({{60, 4000, kStaccato, '('},
                     {0, 4000},
                     {64, 4000, kStaccato, ')'},
                     {61, 4000, kLegato, 'p'},
                     {62, 6000, kLegato},
                     {63, 6000}},
                    "x");
  EXPECT_EQ(kYes, answer);
  EXPECT_EQ((std::vector<std::string>{"staccato|mode", "|d\xE9""but", "|noire", "do|", "soupir|",
                                      "staccato|mode", "mi|", "|fin", "legato|mode", "|piano", "r\xE9 b\xE9mol|",
                                      "triolet de noire|", "r\xE9|", "mi b\xE9mol|"}),
            Questions());
  EXPECT_EQ((std::vector<uint64_t>{0, 0, 0, 0, 0, 1000, 1000, 2000, 2000, 2000, 2000, 3000, 3000, 3666}),
            askedAt);
}

TEST_F(VoicePlayer, ValueComparedWithThePreviousEntryEvenARest) {
  dialogs.answers = std::deque<int>(20, kYes);
  CopyText(WorkingState.KeySignature, "f+");
  Play({{61, 4000}, {62, 4000}, {0, 8000}, {64, 8000}, {0, 2666}}, "x");
  EXPECT_EQ((std::vector<std::string>{"|noire", "do di\xE8se|", "r\xE9|", "demi soupir|", "mi|",
                                      "|soupir point\xE9""e"}),
            Questions());
}

TEST_F(VoicePlayer, NoAtANoteNamePlaysItThenStops) {
  for (int stop : {kNo, kCancel}) {
    Device(0).events.clear();
    dialogs.boxes.clear();
    clock.nowUs = 0;
    dialogs.answers = {kYes, kYes, stop};
    EXPECT_EQ(stop, Play({{60, 4000}, {62, 4000}, {64, 4000}}, "x"));
    EXPECT_EQ((std::vector<std::string>{"t=0 on 60 127", "t=1000 off 60", "t=1000 on 62 127",
                                        "t=2000 off 62"}),
              MidiLog());
    EXPECT_EQ(3u, dialogs.boxes.size());
  }
}

TEST_F(VoicePlayer, StopInsideAGroupSilencesItAtOnce) {
  struct Case {
    const char* name;
    std::deque<int> answers;
    std::vector<std::string> log;
  } cases[] = {
      {"at the name of the second note",
       {kYes, kYes, kYes, kNo},
       {"t=0 on 60 127", "t=0 on 64 127", "t=0 off 60", "t=0 off 64"}},
      {"at the mode of the third note",
       {kYes, kYes, kYes, kYes, kCancel},
       {"t=0 on 60 127", "t=0 on 64 127", "t=0 off 60", "t=0 off 64"}},
      {"at the first mark",
       {kNo},
       {}},
  };
  for (const Case& c : cases) {
    Device(0).events.clear();
    dialogs.boxes.clear();
    clock.nowUs = 0;
    dialogs.answers = c.answers;
    int answer = Play({{60, 4000, kNormal, '('}, {64, 4000}, {67, 4000, kStaccato, ')'}}, "x");
    EXPECT_EQ(c.answers.back(), answer) << c.name;
    EXPECT_EQ(c.log, MidiLog()) << c.name;
    EXPECT_EQ(0u, clock.NowMs()) << c.name;
  }
}

TEST_F(VoicePlayer, FinAnsweredNoStopsAtTheNextNote) {
  // "début" "noire" "do", "mi", "fin" answered No: nothing more is played.
  dialogs.answers = {kYes, kYes, kYes, kYes, kNo};
  EXPECT_EQ(kNo, Play({{60, 4000, kNormal, '('}, {64, 4000, kNormal, ')'}, {67, 4000}}, "x"));
  EXPECT_EQ(5u, dialogs.boxes.size());
  EXPECT_EQ(4u, Device(0).events.size());

  // A mode announcement at the next note replaces the answer.
  Device(0).events.clear();
  dialogs.boxes.clear();
  dialogs.answers = {kYes, kYes, kYes, kYes, kNo, kYes, kYes};
  EXPECT_EQ(kYes, Play({{60, 4000, kNormal, '('}, {64, 4000, kNormal, ')'}, {67, 4000, kLegato}}, "x"));
  EXPECT_EQ(6u, Device(0).events.size());

  // After the last note the answer is returned.
  dialogs.boxes.clear();
  dialogs.answers = {kYes, kYes, kYes, kYes, kCancel};
  EXPECT_EQ(kCancel, Play({{60, 4000, kNormal, '('}, {64, 4000, kNormal, ')'}}, "x"));
}

TEST_F(VoicePlayer, PlaysEveryEntryOfLongMeasures) {
  WorkingState.Tempo = 240;
  std::vector<Entry> entries(200, Entry{60, 16000});
  Play(entries);
  EXPECT_EQ(400u, Device(0).events.size());
}

TEST_F(VoicePlayer, BlockChord) {
  TNoteList intervals{};
  intervals[1] = 4;
  intervals[2] = 3;
  intervals.SetCount(2);
  TLengthList chordLengths{};
  chordLengths[0] = 2;
  chordLengths[1] = 4000;
  chordLengths[2] = 8000;
  EXPECT_EQ(0, PlayBlockChord(48, intervals, chordLengths));
  EXPECT_EQ((std::vector<std::string>{"t=0 on 48 127", "t=1000 on 52 127", "t=1000 on 55 127",
                                      "t=1500 off 48", "t=1500 off 52", "t=1500 off 55"}),
            MidiLog());
  EXPECT_EQ(4, WorkingState.Octave);

  Device(0).events.clear();
  intervals.SetCount(0);
  PlayBlockChord(60, intervals, chordLengths);
  EXPECT_EQ((std::vector<std::string>{"t=1500 on 60 127", "t=3000 off 60"}), MidiLog());
}

}  // namespace
