#include <string>

#include "core/working_state.h"
#include "fakes/fakes.h"
#include "midi/play_string.h"

namespace {

using KeySignature = PavTest;

TEST_F(KeySignature, TranslationGivesEveryNoteItsAccidental) {
  struct Case {
    const char* signature;
    const char* text;
    const char* out;
    const char* signatureAfter;
  } cases[] = {
      {"f+", "o4 f g f0 f | f", "o4 f+ g f0 f0 | f+ ", "f+"},
      {"", "c+ c d | c", "c+ c+ d | c ", ""},
      {"b-e-", "b e b0 b | b", "b- e- b0 b0 | b- ", "b-e-"},
      {"f+", "F G", "f+ g ", "f+"},
      {"f+", "p f", "p f+ ", "f+"},                  // rests take no accidental
      {"f+", "f0\rf\nf", "f0\rf+\nf+ ", "f+"},
      {"", "c\xE1 c c* c", "c\xE1 c\xE1 c* c* ", ""},
      {"f+", "ic f: f", "ic f: f+ ", "f+"},          // other indications pass unchanged
      {"", "ia b-: b", " b- ", " b-"},
      {"f+", "f ia b-: f b | b", "f+  f b- | b- ", " b-"},
      {"", "ia", "", ""},
      {"f", "f", "f ", "f"},                         // a letter with nothing after it
      {"c+f", "f- f | f", "f- f- | f ", "c+f"},
      {"", "i", "i ", ""},
  };
  for (const Case& c : cases) {
    CopyText(WorkingState.KeySignature, c.signature);
    char text[kLongText];
    char out[kLongText];
    CopyText(text, c.text);
    ApplyKeySignature(text, out);
    EXPECT_STREQ(c.out, out) << c.signature << " / " << c.text;
    EXPECT_STREQ(c.signatureAfter, WorkingState.KeySignature) << c.text;
    EXPECT_EQ(std::string(c.text).size() + 1, std::string(text).size()) << "blank appended";
  }
}

TEST_F(KeySignature, LongSignatureIsCutAndLongTextStops) {
  std::string text = "ia " + std::string(200, 'x') + ": c";
  char buffer[kLongText];
  char out[kLongText];
  CopyText(buffer, text.c_str());
  ApplyKeySignature(buffer, out);
  EXPECT_EQ(std::string(" ") + std::string(78, 'x'), WorkingState.KeySignature);
  EXPECT_STREQ(" c ", out);

  CopyText(WorkingState.KeySignature, "a+b+c+d+e+f+g+");
  std::string full(2047, 'a');
  CopyText(buffer, full.c_str());
  ApplyKeySignature(buffer, out);
  EXPECT_EQ(2047u, std::string(out).size());
}

TEST_F(KeySignature, IndicationsRunAndNameThemselves) {
  struct Case {
    const char* letter;
    const char* argument;
    const char* word;
  } cases[] = {
      {"a", "f+", "armature"},  {"c", "libre", "conseil"},     {"d", "1 2", "doigt\xE9"},
      {"h", "I V", "harmonie"}, {"i", "41", "instrument"},     {"m", "3/8", "mesure"},
      {"n", "ff", "nuance"},    {"o", "5", "octave"},          {"p", "la la", "paroles"},
      {"r", "2", "reprise"},    {"t", "-3", "transposition"},  {"v", "g", "clef de sol"},
      {"v", "f", "clef de fa"}, {"v", "u", "clef d'ut ligne 3"}, {"v", "7", "voix 7"},
      {"v", "0", "voix 0"},     {"v", "x", "voix 0"},          {"v", "16", "voix 16"},
      {"v", "17", "volume 17"}, {"v", "200", "volume 200"},    {"z", "1", "indication non trait\xE9""e"},
      {"A", "f+", "indication non trait\xE9""e"}, {"", "", "indication non trait\xE9""e"},
  };
  OpenDefaultPort();
  for (const Case& c : cases) {
    char argument[kLongText];
    char word[kShortText] = "old";
    CopyText(argument, c.argument);
    EXPECT_EQ(0, RunIndication(c.letter, argument, word));
    EXPECT_STREQ(c.word, word) << c.letter << c.argument;
  }
}

TEST_F(KeySignature, IndicationEffects) {
  OpenDefaultPort();
  char word[kShortText];
  auto run = [&](const char* letter, const char* argument) {
    char buffer[kLongText];
    CopyText(buffer, argument);
    RunIndication(letter, buffer, word);
    return std::string(buffer);
  };
  run("a", "b-e-");
  EXPECT_STREQ("b-e-", WorkingState.KeySignature);
  run("a", std::string(120, 'f').c_str());
  EXPECT_EQ(std::string(79, 'f'), WorkingState.KeySignature);
  run("i", "41");
  EXPECT_EQ(41, WorkingState.Instrument);
  EXPECT_EQ((std::vector<std::string>{"t=0 program 41"}), MidiLog());

  struct Time {
    const char* argument;
    int numerator, denominator;
  } times[] = {{"3/8", 3, 8}, {"0", 4, 4}, {"6", 6, 4}, {"2/0", 2, 4}, {" 5 / 16", 5, 16}};
  for (const Time& t : times) {
    run("m", t.argument);
    EXPECT_EQ(t.numerator, WorkingState.TimeNumerator) << t.argument;
    EXPECT_EQ(t.denominator, WorkingState.TimeDenominator) << t.argument;
  }

  struct Dynamics {
    const char* sign;
    const char* word;
  } dynamics[] = {{"p", "piamo"},      {"pp", "pianissimo"}, {"f", "fort\xE9"}, {"ff", "fortissimo"},
                  {"<", "diminuendo"}, {">", "crechendo"},   {"mf", "mf"},     {"p ", "p "}};
  for (const Dynamics& d : dynamics) EXPECT_EQ(d.word, run("n", d.sign)) << d.sign;

  struct Octave {
    const char* argument;
    int octave;
  } octaves[] = {{"5", 5}, {"0", 0}, {"8", 8}, {"9", 3}, {"-1", 3}, {"264", 8}, {"x", 0}};
  for (const Octave& o : octaves) {
    run("o", o.argument);
    EXPECT_EQ(o.octave, WorkingState.Octave) << o.argument;
  }

  run("t", "300");
  EXPECT_EQ(44, WorkingState.Transpose);
  run("t", "-3");
  EXPECT_EQ(-3, WorkingState.Transpose);
  run("v", "f");
  EXPECT_EQ(-9, WorkingState.Transpose);
  run("v", "u");
  EXPECT_EQ(-11, WorkingState.Transpose);
  run("v", "g");
  EXPECT_EQ(0, WorkingState.Transpose);
  run("v", "9");
  EXPECT_EQ(9, WorkingState.Channel);
  run("v", "100");
  EXPECT_EQ(100u, WorkingState.Velocity);
  run("v", "200");
  EXPECT_EQ(127u, WorkingState.Velocity);
  EXPECT_STREQ("volume 200", word);
  EXPECT_EQ(9, WorkingState.Channel);
}

}  // namespace
