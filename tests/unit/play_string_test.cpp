#include <string>
#include <vector>

#include "core/working_state.h"
#include "fakes/fakes.h"
#include "midi/play_string.h"

namespace {

class PlayString : public PavTest {
 protected:
  void SetUp() override {
    PavTest::SetUp();
    OpenPortForReading();
  }
  void Parse(const std::string& text) { ParsePlayString(text.c_str(), notes, lengths); }
  std::vector<int> Pitches() const {
    std::vector<int> result;
    for (int k = 1; k <= notes.Count; ++k) result.push_back(notes[k]);
    return result;
  }
  std::vector<uint32_t> Lengths() const {
    std::vector<uint32_t> result;
    for (uint32_t k = 1; k <= lengths[0]; ++k) result.push_back(lengths[k]);
    return result;
  }

  TNoteList notes{};
  TLengthList lengths{};
};

TEST_F(PlayString, TokensGivePitchesAndLengths) {
  struct Case {
    const char* text;
    std::vector<int> pitches;
    std::vector<uint32_t> lengths;
  } cases[] = {
      {"", {}, {}},
      {"o3 c d e f g a b >c\n", {36, 38, 40, 41, 43, 45, 47, 48}, std::vector<uint32_t>(8, 4000)},
      {"C D", {36, 38}, {4000, 4000}},
      {"c+ d- e* f\xE1", {37, 37, 42, 39}, {4000, 4000, 4000, 4000}},
      {"8 c d 4 e", {36, 38, 40}, {8000, 8000, 4000}},
      {"16c", {36}, {16000}},
      {"4c. d.. e", {36, 38, 40}, {2666, 2285, 4000}},
      {"8c.", {36}, {5333}},
      {"c. .", {36}, {1777}},  // each dot acts on the length reached
      {"p4 c", {0, 36}, {4000, 4000}},
      {"p16c", {0, 36}, {16000, 4000}},
      {"p 8c", {0, 36}, {8000, 8000}},  // the blank is consumed, "8" then sets the value
      {"o9 c", {36}, {4000}},
      {"o c", {0}, {4000}},
      {"o5c", {60}, {4000}},
      {"tc d", {38}, {4000}},
      {"t20 c", {36}, {4000}},
      {"t 120 c", {36}, {20000}},
      {"> > > > > c", {84}, {4000}},
      {"< < < < c", {0}, {4000}},
      {"o3 > c | c\rc\nc", {48, 36, 36, 36}, std::vector<uint32_t>(4, 4000)},
      {"+ - * . .. c", {36}, {4000}},  // nothing to act on yet
      {"p+", {1}, {4000}},             // an accidental after a rest moves the rest
      {"o0 c-", {255}, {4000}},
      {"io5: c | c", {36, 60}, {4000, 4000}},  // the working octave waits for the bar
      {"c 0 x y z ! c", {36, 36}, {4000, 4000}},
      {"c o", {36}, {4000}},
      {"c t", {36}, {4000}},
      {"c i", {36}, {4000}},
      {"c p", {36, 0}, {4000, 4000}},
      {"c ic free text without end", {36}, {4000}},
  };
  for (const Case& c : cases) {
    WorkingState.Octave = 3;
    WorkingState.NoteLength = 4;
    WorkingState.Tempo = 60;
    Parse(c.text);
    EXPECT_EQ(c.pitches, Pitches()) << c.text;
    EXPECT_EQ(c.lengths, Lengths()) << c.text;
    EXPECT_EQ(c.pitches.size(), lengths[0]) << c.text;
    EXPECT_EQ(c.pitches.size(), notes[0]) << c.text;
  }
}

TEST_F(PlayString, SettingsChangedByTokensStayInForce) {
  struct Case {
    const char* text;
    int octave;
    uint32_t noteLength, tempo;
  } cases[] = {
      {"o3 c d e f g a b >c\n", 3, 4, 60},  // ">" moves only the working octave
      {"8 c d 4 e", 3, 4, 60}, {"16c", 3, 16, 60},   {"o9 c", 3, 4, 60},
      {"o c", 0, 4, 60},      {"o7", 7, 4, 60},      {"t120 c", 3, 4, 120},
      {"t20 c", 3, 4, 60},    {"t 60", 3, 4, 60},    {"t 90", 3, 4, 90},
      {"t 120", 3, 20, 60},   {"t260", 3, 4, 260},   {"t261", 3, 4, 60},
      {"t31", 3, 4, 31},      {"t30", 3, 4, 60},     {"io6:", 6, 4, 60},
  };
  for (const Case& c : cases) {
    WorkingState.Octave = 3;
    WorkingState.NoteLength = 4;
    WorkingState.Tempo = 60;
    Parse(c.text);
    EXPECT_EQ(c.octave, WorkingState.Octave) << c.text;
    EXPECT_EQ(c.noteLength, WorkingState.NoteLength) << c.text;
    EXPECT_EQ(c.tempo, WorkingState.Tempo) << c.text;
  }
  WorkingState.Tempo = 77;
  Parse("t 60");  // the blank is read as part of the number
  EXPECT_EQ(60u, WorkingState.Tempo);
}

TEST_F(PlayString, RestLengthsAndTranspose) {
  WorkingState.NoteLength = 8;
  Parse("p4 c p c");
  EXPECT_EQ((std::vector<uint32_t>{4000, 8000, 8000, 8000}), Lengths());
  WorkingState.NoteLength = 4;
  WorkingState.Transpose = 2;
  Parse("o3 c e g");
  EXPECT_EQ((std::vector<int>{38, 42, 45}), Pitches());
  WorkingState.Transpose = 127;
  Parse("o8 b************");  // 47 + 60 + 127 + 24 wraps to 2
  EXPECT_EQ((std::vector<int>{2}), Pitches());
}

TEST_F(PlayString, IndicationsRunWhileParsing) {
  Parse("ii41: c");
  EXPECT_EQ((std::vector<std::string>{"t=0 program 41"}), MidiLog());
  EXPECT_EQ(41, WorkingState.Instrument);
  EXPECT_EQ((std::vector<int>{36}), Pitches());
  Parse("ivf: c");
  EXPECT_EQ((std::vector<int>{27}), Pitches());
  Parse("iv7:");
  EXPECT_EQ(7, WorkingState.Channel);
  Parse("iv100:");
  EXPECT_EQ(100u, WorkingState.Velocity);
  Parse("iv200:");
  EXPECT_EQ(127u, WorkingState.Velocity);
  Parse("im3/8: c");
  EXPECT_EQ(3, WorkingState.TimeNumerator);
  EXPECT_EQ(8, WorkingState.TimeDenominator);
}

TEST_F(PlayString, KeySignatureTranslatesNotes) {
  CopyText(WorkingState.KeySignature, "b-e-");
  Parse("b e b0 b | b");
  EXPECT_EQ((std::vector<int>{46, 39, 47, 47, 46}), Pitches());
  CopyText(WorkingState.KeySignature, "f+");
  Parse("o4 f g f0 f | f");
  EXPECT_EQ((std::vector<int>{54, 55, 53, 53, 54}), Pitches());
}

TEST_F(PlayString, KeySignatureIndicationRestartsOnce) {
  Parse("f ia f+: f g f");
  EXPECT_EQ((std::vector<int>{42, 42, 43, 42}), Pitches());  // the notes before it too
  EXPECT_STREQ(" f+", WorkingState.KeySignature);
  EXPECT_TRUE(dialogs.boxes.empty());

  // The second pass keeps the working octave and runs earlier indications again.
  WorkingState.KeySignature[0] = 0;
  Parse("ii5: > c ia f+: f");
  EXPECT_EQ((std::vector<int>{60, 66}), Pitches());
  EXPECT_EQ((std::vector<std::string>{"t=0 program 5", "t=0 program 5"}), MidiLog());

  // A later key signature switches from its position on.
  WorkingState.KeySignature[0] = 0;
  Parse("ia f+: f | ia b-: f b");
  EXPECT_EQ((std::vector<int>{42, 41, 46}), Pitches());
  EXPECT_STREQ(" b-", WorkingState.KeySignature);
}

TEST_F(PlayString, SecondKeySignatureInTheSecondPassIsReported) {
  // The first key signature makes a "g" read "gi", which starts another one.
  Parse("ia gi: ga f+:");
  ASSERT_EQ(1u, dialogs.boxes.size());
  EXPECT_EQ(64u, dialogs.boxes[0].type);
  EXPECT_EQ("erreur", dialogs.boxes[0].text);
  EXPECT_EQ("vous ne devez pas changer d'armature plusieurs fois", dialogs.boxes[0].caption);
  EXPECT_STREQ(" f+", WorkingState.KeySignature);
}

TEST_F(PlayString, FullListKeepsOverwritingItsLastSlot) {
  int count = 0;
  for (int i = 1; i <= 2100; ++i) count = AppendNote(notes, lengths, count, static_cast<uint8_t>(i), 1000u * i);
  EXPECT_EQ(2047, count);
  EXPECT_EQ(2046 & 0xFF, notes[2046]);
  EXPECT_EQ(2100 & 0xFF, notes[2047]);
  EXPECT_EQ(2100000u, lengths[2047]);

  std::string text(2047, 'c');  // the longest play-string
  text.back() = 'd';
  Parse(text + "eeee");          // what goes beyond is not read
  EXPECT_EQ(2047, notes.Count);
  EXPECT_EQ(2047u, lengths[0]);
  EXPECT_EQ(2047 & 0xFF, notes[0]);
  EXPECT_EQ(38, notes[2047]);
}

TEST_F(PlayString, TranslationStopsAt2047Characters) {
  CopyText(WorkingState.KeySignature, "c+");
  Parse(std::string(2047, 'c'));  // would grow to twice its length
  EXPECT_EQ(1024, notes.Count);
  EXPECT_EQ(37, notes[1]);
  EXPECT_EQ(36, notes[1024]);  // its accidental did not fit

  char longSignature[200] = "ia ";
  for (int i = 3; i < 150; ++i) longSignature[i] = i % 2 ? 'f' : '+';
  CopyText(longSignature + 150, 50, ": f");
  WorkingState.KeySignature[0] = 0;
  Parse(longSignature);
  EXPECT_EQ(79u, std::string(WorkingState.KeySignature).size());
  EXPECT_EQ((std::vector<int>{42}), Pitches());
}

TEST_F(PlayString, PlayNoteListTimesEveryEntry) {
  Parse("c p d");
  PlayNoteList(0, notes, lengths);
  EXPECT_EQ((std::vector<std::string>{"t=0 on 36 127", "t=1000 off 36", "t=2000 on 38 127",
                                      "t=3000 off 38"}),
            MidiLog());
  EXPECT_EQ(3000u, clock.NowMs());
  EXPECT_EQ(3, WorkingState.Octave);

  Device(0).events.clear();
  Parse("8c");
  EXPECT_EQ(0, PlayNoteList(24, notes, lengths));
  EXPECT_EQ((std::vector<std::string>{"t=3000 on 60 127", "t=3500 off 60"}), MidiLog());
  EXPECT_EQ(5, WorkingState.Octave);

  Device(0).events.clear();
  Parse("");
  PlayNoteList(0, notes, lengths);
  EXPECT_TRUE(MidiLog().empty());
  EXPECT_EQ(3500u, clock.NowMs());
}

TEST_F(PlayString, PlayNoteListPlaysListsOfAnyLength) {
  for (int count : {127, 128, 200, 255, 256, 300}) {
    Device(0).events.clear();
    std::string text(count, 'c');
    WorkingState.Tempo = 240;
    Parse("16" + text);
    PlayNoteList(0, notes, lengths);
    EXPECT_EQ(2u * count, Device(0).events.size()) << count;
  }
}

}  // namespace
