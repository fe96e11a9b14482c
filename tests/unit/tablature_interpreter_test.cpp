#include <string>
#include <vector>

#include "core/data_files.h"
#include "core/prompts.h"
#include "core/working_state.h"
#include "fakes/fakes.h"
#include "tablature/tablature_interpreter.h"

namespace {

class Interpreter : public PavTest {
 protected:
  void SetUp() override {
    PavTest::SetUp();
    OpenPortForReading();
  }

  int Read(const std::string& text, const char* options = "", int first = 1, int last = 1000) {
    return InterpretTablature(text.c_str(), options, first, last, lists);
  }
  std::vector<int> Pitches() const {
    std::vector<int> out;
    for (int k = 1; k <= pitches.Count; ++k) out.push_back(pitches[k]);
    return out;
  }
  std::vector<unsigned> Lengths() const {
    std::vector<unsigned> out;
    for (uint32_t k = 1; k <= lengths[0]; ++k) out.push_back(lengths[k]);
    return out;
  }

  TReadingLists lists{};
  TNoteList& pitches = lists.pitches;
  TLengthList& lengths = lists.lengths;
  TModeList& modes = lists.modes;
  TMarkList& marks = lists.marks;
};

TEST_F(Interpreter, NotesOctavesAndAccidentals) {
  struct Case {
    const char* text;
    std::vector<int> pitches;
  } cases[] = {
      {"c d e f g a b", {36, 38, 40, 41, 43, 45, 47}},
      {"C D", {36, 38}},  // read in lower case
      {"o4c", {48}},
      {"o5 > > > c", {84}},  // stops at octave 7
      {"< < < < c", {0}},
      {">c|c", {48, 36}},    // back to the octave at the bar
      {"c c+ c* c\xE1 b c-", {36, 37, 38, 34, 47, 35}},
      {"p+", {1}},            // the accidental acts on the rest's slot
      {"+c", {36}},           // before the first note: the count slot
      {"o9c", {36}},          // o9 changes nothing
      {"oxc", {0}},           // a non-digit reads as octave 0
  };
  for (const Case& c : cases) {
    WorkingState.Octave = 3;
    Read(c.text);
    EXPECT_EQ(c.pitches, Pitches()) << c.text;
  }
  WorkingState.Octave = 3;
  WorkingState.Transpose = 2;
  Read("c e g");
  EXPECT_EQ((std::vector<int>{38, 42, 45}), Pitches());
}

TEST_F(Interpreter, NoteValuesDotsAndTempo) {
  struct Case {
    const char* text;
    std::vector<unsigned> lengths;
    uint32_t tempo;
  } cases[] = {
      {"8c", {8000}, 60},         {"16c", {16000}, 60},     {"4c.", {2666}, 60},
      {"4c..", {2285}, 60},       {".c", {4000}, 60},       {"8c d 4e", {8000, 8000, 4000}, 60},
      {"t90c", {4000}, 90},       {"t20c", {4000}, 60},     {"t300c", {4000}, 60},
      {"t c", {4000}, 60},        {"tc", {}, 60},           {"t239c", {4000}, 239},
      {"t240c", {4000}, 60},      {"t31c", {4000}, 31},
  };
  for (const Case& c : cases) {
    WorkingState.Tempo = 60;
    WorkingState.NoteLength = 4;
    Read(c.text);
    EXPECT_EQ(c.lengths, Lengths()) << c.text;
    EXPECT_EQ(c.tempo, WorkingState.Tempo) << c.text;
  }
  EXPECT_EQ(4u, WorkingState.NoteLength);  // "t31c" set nothing; the last "4" stays
}

TEST_F(Interpreter, ModesMarksAndGroups) {
  Read("ms c d mn e ml f mt g");
  EXPECT_EQ((std::vector<int>{kStaccato, kStaccato, kNormal, kLegato, kTenu}),
            (std::vector<int>{modes[1], modes[2], modes[3], modes[4], modes[5]}));
  Read("(ceg) d");
  EXPECT_EQ('(', marks[1]);
  EXPECT_EQ(0, marks[2]);
  EXPECT_EQ(')', marks[3]);
  EXPECT_EQ(0, marks[4]);
  // An expression mark goes to the next-to-last note; before the second
  // note there is none.
  Read("ma c mv d e mp");
  EXPECT_EQ((std::vector<int>{0, 'p', 0}), (std::vector<int>{marks[1], marks[2], marks[3]}));
  Read("c d mr e");
  EXPECT_EQ('r', marks[1]);
}

TEST_F(Interpreter, MeasureTableAndSpan) {
  Read("c d e|f g");
  EXPECT_EQ(5, pitches.Count);
  EXPECT_EQ((std::vector<int>{0, 3, 5, 0}),
            (std::vector<int>{MeasureEnd(0), MeasureEnd(1), MeasureEnd(2), MeasureEnd(3)}));
  EXPECT_EQ(2u, WorkingState.MeasureSpan);  // the last measure needs no end
  // CR LF closes two measures, the second empty; rests count as notes.
  Read("c\r\np d||e");
  EXPECT_EQ((std::vector<int>{1, 0, 3, 0, 4}),
            (std::vector<int>{MeasureEnd(1), MeasureEnd(2), MeasureEnd(3), MeasureEnd(4), MeasureEnd(5)}));
  EXPECT_EQ(5u, WorkingState.MeasureSpan);
  Read("c|d|");
  EXPECT_EQ(2u, WorkingState.MeasureSpan);
  // The table is rebuilt by each reading.
  Read("c");
  EXPECT_EQ(0, MeasureEnd(3));
}

TEST_F(Interpreter, NoteRangesWithoutMeasureMode) {
  struct Case {
    int first, last;
    std::vector<int> pitches;
  } cases[] = {
      {1, 1000, {36, 38, 40, 41}}, {2, 3, {38, 40}}, {3, 1000, {40, 41}},
      {4, 4, {41}},                {5, 1000, {}},    {3, 2, {}},
      {2, -5, {}},
  };
  for (const Case& c : cases) {
    Read("c d|e f", "", c.first, c.last);
    EXPECT_EQ(c.pitches, Pitches()) << c.first << ".." << c.last;
    EXPECT_EQ(c.pitches.size(), lengths[0]);
  }
}

TEST_F(Interpreter, MeasureModePromptsUnderTheMeasureText) {
  dialogs.answers = {kYes};
  EXPECT_NE(kNo, Read("c d e|8f g.|a", "m", 2, 2));
  ASSERT_FALSE(dialogs.boxes.empty());
  EXPECT_EQ("mesure 2 ", dialogs.boxes[0].text);
  EXPECT_EQ("8 f g|", dialogs.boxes[0].caption);  // a dot adds the character after it
  EXPECT_EQ((std::vector<int>{41, 43}), Pitches());

  dialogs.boxes.clear();
  dialogs.answers = {kNo};
  EXPECT_EQ(kNo, Read("c d e|f g|a", "m", 1, 1));
  EXPECT_EQ("mesure 1 ", dialogs.boxes.at(0).text);
  EXPECT_EQ("c d e", dialogs.boxes.at(0).caption);
  EXPECT_EQ((std::vector<int>{36, 38, 40}), Pitches());

  // The last measure needs no end of measure after it.
  dialogs.boxes.clear();
  dialogs.answers = {kYes};
  Read("c d e|f g", "m", 2, 2);
  EXPECT_EQ("f g", dialogs.boxes.at(0).caption);
  EXPECT_EQ((std::vector<int>{41, 43}), Pitches());
}

TEST_F(Interpreter, TempoAndOctaveReachTheMeasureText) {
  dialogs.answers = {kCancel};
  EXPECT_EQ(kCancel, Read("t120 o4 c|", "m", 1, 1));
  EXPECT_EQ("t120  4 c", dialogs.boxes.at(0).caption);
}

TEST_F(Interpreter, ReadOutsOfSelectedIndications) {
  Read("ih5:", "h", 1, 1);
  EXPECT_EQ((std::vector<std::string>{kAnnotationCue}), sound.cues);
  ASSERT_EQ(1u, dialogs.boxes.size());
  EXPECT_EQ("5", dialogs.boxes[0].text);
  EXPECT_EQ(64u, dialogs.boxes[0].type);

  sound.cues.clear();
  dialogs.boxes.clear();
  Read("ih5:", "c", 1, 1);
  Read("ih5:", "", 1, 1);
  EXPECT_TRUE(dialogs.boxes.empty());
  Read("c|ih5:", "h", 1, 1);  // in measure 2, outside the range: only the note is announced
  EXPECT_TRUE(sound.cues.empty());
  for (const fakes::Box& box : dialogs.boxes) {
    EXPECT_EQ(3u, box.type) << box.text;
    EXPECT_NE("5", box.text);
  }
}

TEST_F(Interpreter, LongTextsAreReadWhole) {
  // Measures and notes beyond any former table size, a key signature that
  // lengthens the text, and an indication argument longer than a page.
  std::string text = std::string(5000, '|') + "c";
  Read(text);
  EXPECT_EQ(1, pitches.Count);
  EXPECT_EQ(5001u, WorkingState.MeasureSpan);
  EXPECT_EQ(1, MeasureEnd(5001));
  EXPECT_EQ(0, MeasureEnd(5002));

  std::string many = "ia f+:ip" + std::string(3000, 'x') + ":";
  for (int i = 0; i < 3000; ++i) many += "f ";
  many += "g";
  dialogs.answers = {kYes};
  Read(many, "p", 1, 1);
  EXPECT_EQ(3001, NotesRead());
  ASSERT_FALSE(dialogs.boxes.empty());
  EXPECT_EQ(3000u, dialogs.boxes[0].text.size());
  Read(many, "", 2000, 5000);
  ASSERT_EQ(1002, pitches.Count);
  EXPECT_EQ(42, pitches[1]);     // f sharp, as the key signature says
  EXPECT_EQ(43, pitches[1002]);  // the last note, g
}

TEST_F(Interpreter, WholeSelectionCountReachesThePlayer) {
  Read(std::string(200, 'c'));
  EXPECT_EQ(200, pitches.Count);
  EXPECT_EQ(200u, lengths[0]);
  int ons = 0;
  for (const std::string& line : MidiLog())
    if (line.find(" on ") != std::string::npos) ++ons;
  EXPECT_EQ(200, ons);
}

// These rest on the real key-signature translation and indications.
TEST_F(Interpreter, KeySignatureRestartsTheReading) {
  Read("ia f+: f g f");
  EXPECT_EQ((std::vector<int>{42, 43, 42}), Pitches());
  EXPECT_STREQ(" f+", WorkingState.KeySignature);
  // Now in force: later readings translate from the start.
  Read("f c");
  EXPECT_EQ((std::vector<int>{42, 36}), Pitches());
}

TEST_F(Interpreter, KeySignatureReadOutOnlyWhileNoneIsInForce) {
  Read("iaf+:c", "a", 1, 1);
  ASSERT_FALSE(dialogs.boxes.empty());
  EXPECT_EQ("armature", dialogs.boxes[0].caption);
  EXPECT_EQ("f+", dialogs.boxes[0].text);
  dialogs.boxes.clear();
  Read("iaf+:", "a", 1, 1);
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Interpreter, DynamicsReadOutShowsItsWord) {
  Read("inpp:", "n", 1, 1);
  ASSERT_EQ(1u, dialogs.boxes.size());
  EXPECT_EQ("pianissimo", dialogs.boxes[0].text);
  EXPECT_EQ("nuance", dialogs.boxes[0].caption);
}

}  // namespace
