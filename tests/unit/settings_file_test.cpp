#include <string>

#include "core/working_state.h"
#include "fakes/fakes.h"
#include "tablature/settings_file.h"

namespace {

class Settings : public PavTest {
 protected:
  void SetUp() override {
    PavTest::SetUp();
    OpenDefaultPort();
    WorkingState.Tempo = 60;
    WorkingState.Measure = 1;
    CopyText(WorkingState.TabFile, "\\orfeon\\prv.tab");
  }
  int Load(const std::string& file) {
    WriteHostFile("\\orfeon\\lexiton.ini", file);
    return LoadSettings(text, scratch);
  }
  char text[kPageSize + 1];
  char scratch[kPageSize + 1];
};

TEST_F(Settings, EveryKeyAndItsAdjustment) {
  EXPECT_EQ(1, Load("arma=f+c+\r\nfictab=\\orfeon\\piece.tab\r\nindi=mh\r\ncanal=3\r\ndur=8\r\n"
                    "octa=9\r\ntrans=-2\r\ntempo=300\r\nmesuredeb=-4\r\nmesurefin=12\r\nmesure=7\r\n"
                    "vol=200\r\ninstru=41\r\nnum=3\r\nden=8\r\n"));
  const TWorkingState& ws = WorkingState;
  EXPECT_STREQ("f+c+", ws.KeySignature);
  EXPECT_STREQ("\\orfeon\\piece.tab", ws.TabFile);
  EXPECT_STREQ("mh", ws.Indications);
  EXPECT_EQ(3, ws.Channel);
  EXPECT_EQ(8u, ws.NoteLength);
  EXPECT_EQ(9, ws.Octave);
  EXPECT_EQ(-2, ws.Transpose);
  EXPECT_EQ(300u, ws.Tempo);
  EXPECT_EQ(1, ws.Measure);
  EXPECT_EQ(12, ws.LastMeasure);
  EXPECT_EQ(7u, ws.MeasureSpan);
  EXPECT_EQ(127u, ws.Velocity);
  EXPECT_EQ(41, ws.Instrument);
  EXPECT_EQ(3, ws.TimeNumerator);
  EXPECT_EQ(8, ws.TimeDenominator);
  EXPECT_EQ(0u, std::string(text).find("arma=f+c+\n"));
  // The program change goes out on the channel just read.
  EXPECT_EQ((std::vector<std::string>{"t=0 program 41 ch3"}), MidiLog());
}

TEST_F(Settings, NumberValues) {
  struct Case {
    const char* file;
    int32_t measure;
    uint32_t velocity;
    uint32_t tempo;
  } cases[] = {
      {"mesuredeb=0", 1, 127, 60},  {"mesuredeb=-4", 1, 127, 60}, {"mesuredeb=x", 1, 127, 60},
      {"vol=-1", 1, 127, 60},       {"vol=127", 1, 127, 60},      {"vol=5", 1, 5, 60},
      {"tempo=90\ntempo=50", 1, 127, 90},  // the first occurrence wins
      {"xtempo=100", 1, 127, 100},         // keys are found anywhere
      {"mesuredeb=3\nmesure=9", 3, 127, 60},
  };
  for (const Case& c : cases) {
    WorkingState.Measure = 1;
    WorkingState.Velocity = 127;
    WorkingState.Tempo = 60;
    Load(c.file);
    EXPECT_EQ(c.measure, WorkingState.Measure) << c.file;
    EXPECT_EQ(c.velocity, WorkingState.Velocity) << c.file;
    EXPECT_EQ(c.tempo, WorkingState.Tempo) << c.file;
  }
}

TEST_F(Settings, TextValues) {
  Load("indi=\nfictab=\\orfeon\\dernier.tab");  // no line end: the rest of the page
  EXPECT_STREQ("", WorkingState.Indications);
  EXPECT_STREQ("\\orfeon\\dernier.tab", WorkingState.TabFile);
  // A key past the first page is never seen.
  WorkingState.Tempo = 60;
  Load(std::string(2048, 'x') + "tempo=90\n");
  EXPECT_EQ(60u, WorkingState.Tempo);
}

TEST_F(Settings, OverlongTextValueIsRefusedNotCut) {
  CopyText(WorkingState.TabFile, "\\orfeon\\prv.tab");
  Load("fictab=\\orfeon\\" + std::string(80, 'a') + ".tab\nindi=m\n");
  EXPECT_STREQ("\\orfeon\\prv.tab", WorkingState.TabFile);
  EXPECT_STREQ("m", WorkingState.Indications);
  ASSERT_EQ(1u, dialogs.boxes.size());
  EXPECT_NE(std::string::npos, dialogs.boxes[0].text.find("fictab="));
}

TEST_F(Settings, MissingFileChangesAndSendsNothing) {
  EXPECT_EQ(0, LoadSettings(text, scratch));
  EXPECT_STREQ("", text);
  EXPECT_STREQ("", scratch);
  EXPECT_TRUE(MidiLog().empty());
  EXPECT_EQ("impossible d'ouvrir en lecture", dialogs.boxes.at(0).caption);
  // Binary bytes and an empty file: nothing means anything.
  EXPECT_EQ(1, Load(std::string("\x00\xff\x01tempo=\x80", 9)));
  EXPECT_EQ(0, Load(""));
}

}  // namespace
