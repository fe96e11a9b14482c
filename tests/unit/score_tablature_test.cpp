// Tablatures as scores and back: what the export reads of a tablature is
// what the player sounds, and an imported score reads back to its notes.
#include <string>
#include <vector>

#include "core/working_state.h"
#include "fakes/fakes.h"
#include "formats/score_files.h"
#include "tablature/score_tablature.h"

namespace {

constexpr int64_t Q = formats::kTicksPerQuarter;

class ScoreTablature : public PavTest {
 protected:
  void SetUp() override {
    PavTest::SetUp();
    OpenPortForReading();
  }
  // "start:pitch:duration" of each note, durations in sixteenths ("r" a rest,
  // "~" a tie going on, "." staccato).
  static std::string Notes(const formats::TScorePart& part) {
    std::string out;
    for (const formats::TScoreNote& n : part.notes) {
      out += std::to_string(n.start * 4 / Q) + ":" + (n.pitch < 0 ? "r" : std::to_string(n.pitch)) + ":" +
             std::to_string(n.duration * 4 / Q) + (n.tieStart ? "~" : "") + (n.staccato ? "." : "") + " ";
    }
    return out;
  }
};

TEST_F(ScoreTablature, ExportReadsWhatThePlayerSounds) {
  struct Case {
    const char* text;
    const char* notes;
    size_t measures;
  } cases[] = {
      {"o5 4c d. 8e", "0:60:4 4:62:6 10:64:2 ", 1},
      {"o5 4c p | 2e", "0:60:4 4:r:4 8:64:8 ", 2},
      // A group sounds for its first note and the rests inside it.
      {"o5 (4c e g)", "0:60:4 0:64:4 0:67:4 ", 1},
      {"o5 (4c 16p) 8d", "0:60:4~ 4:60:1 5:62:2 ", 1},
      {"o5 ms 8c mn d", "0:60:2. 2:62:2 ", 1},
      {"o5 12c c c 4d", "0:60:1 1:60:1 2:60:1 4:62:4 ", 1},
      // Empty measures (CR LF) are left out.
      {"o5 4c\r\n4d\r\n", "0:60:4 4:62:4 ", 2},
      {"ia f+: o5 4f f0", "0:66:4 4:65:4 ", 1},
  };
  for (const Case& c : cases) {
    formats::TScorePart part = TablatureToScore(c.text, "essai");
    EXPECT_EQ(c.notes, Notes(part)) << c.text;
    EXPECT_EQ(c.measures, part.measures.size()) << c.text;
  }
}

std::string Marks(const formats::TScorePart& part) {
  std::string marks;
  for (const formats::TScoreMark& k : part.marks)
    marks += std::string(1, k.kind) + std::to_string(k.at * 4 / Q) + "=" + std::to_string(k.value) + "/" + k.text + " ";
  return marks;
}

TEST_F(ScoreTablature, ExportKeepsTempoKeyTimeAndAnnotations) {
  WorkingState.Tempo = 100;
  formats::TScorePart part = TablatureToScore(
      "t90 ia b-e-: im3/4: ii40: inmf: icdoux: ihGm: o5 id2: ipla: 4g in>: t120 a b-", "essai");
  EXPECT_EQ(100u, WorkingState.Tempo);  // the reading leaves the state as it was
  EXPECT_EQ(40, part.program);
  EXPECT_EQ("t0=90/ a0=-2/ m0=3/ n0=0/mf c0=0/doux h0=0/gm t4=120/ n4=0/cresc. ", Marks(part));
  EXPECT_EQ("2", part.notes[0].fingering);
  EXPECT_EQ("la", part.notes[0].lyric);
}

TEST_F(ScoreTablature, ExportMarksTheTempoEachNotePlaysAt) {
  struct Case {
    const char* text;
    const char* marks;
  } cases[] = {
      {"o5 4c d", "t0=100/ "},  // none written: the working tempo
      {"o5 4c t90 d t120 e", "t0=120/ t4=90/ t8=120/ "},  // before the first, the tempo the text leaves
      {"t90 o5 4c t90 d t20 e", "t0=90/ "},                // the same again, or out of range
      {"t90 o5 (4c t60 e) 4d", "t0=90/ t4=60/ "},          // a chord keeps its first note's
  };
  for (const Case& c : cases) {
    WorkingState.Tempo = 100;
    EXPECT_EQ(c.marks, Marks(TablatureToScore(c.text, "essai"))) << c.text;
  }
}

TEST_F(ScoreTablature, ImportedScoreReadsBackToItsNotes) {
  // Two measures of 3/4 in G: a half tied over the bar to an eighth, a chord,
  // a triplet, a rest.
  const char* xml =
      "<score-partwise><part-list><score-part id='P1'><part-name>x</part-name></score-part></part-list>"
      "<part id='P1'><measure number='1'><attributes><divisions>6</divisions><key><fifths>1</fifths></key>"
      "<time><beats>3</beats><beat-type>4</beat-type></time></attributes>"
      "<note><pitch><step>G</step><octave>4</octave></pitch><duration>6</duration></note>"
      "<note><pitch><step>F</step><alter>1</alter><octave>4</octave></pitch><duration>12</duration>"
      "<tie type='start'/></note></measure>"
      "<measure number='2'><note><pitch><step>F</step><alter>1</alter><octave>4</octave></pitch>"
      "<duration>3</duration><tie type='stop'/></note>"
      "<note><pitch><step>F</step><octave>4</octave></pitch><duration>3</duration></note>"
      "<note><pitch><step>C</step><octave>5</octave></pitch><duration>2</duration></note>"
      "<note><chord/><pitch><step>E</step><octave>5</octave></pitch><duration>2</duration></note>"
      "<note><pitch><step>D</step><octave>5</octave></pitch><duration>2</duration></note>"
      "<note><pitch><step>C</step><octave>5</octave></pitch><duration>2</duration></note>"
      "<note><rest/><duration>6</duration></note></measure></part></score-partwise>";
  formats::TScore score;
  std::string error;
  ASSERT_TRUE(formats::ReadScoreBytes(xml, &score, &error)) << error;
  std::vector<std::string> report;
  std::string text = ScoreToTablature(score.parts[0], "", &report);
  EXPECT_EQ("t120 ia f+: im3/4: o5 4g (2f \n8p) f0 (o6 12c e) d c 4p \n", text);
  EXPECT_TRUE(report.empty());
  EXPECT_EQ("0:67:4 4:66:8~ 12:66:2 14:65:2 ", Notes(TablatureToScore(text.c_str(), "x")).substr(0, 31));
}

}  // namespace
