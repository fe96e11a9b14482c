#include <string>

#include "core/data_files.h"
#include "core/prompts.h"
#include "core/working_state.h"
#include "fakes/fakes.h"
#include "tablature/dictionary.h"
#include "tablature/reading_options.h"

namespace {

class Dictionary : public PavTest {
 protected:
  void SetUp() override {
    PavTest::SetUp();
    WriteHostFile("\\orfeon\\lexiton.dic", "[do]c\r\n[r\xE9]d\r\nun [re]d et plus\r\n[mi]e");
  }
  void Translate(const char* text) { TranslateText(text, keys, translations, kDictionaryFile); }
  char keys[kLongText];
  char translations[kLongText];
};

TEST_F(Dictionary, LookupWord) {
  char found[kLongText];
  EXPECT_EQ(2, LookupWord("[do]", found, kDictionaryFile));
  EXPECT_STREQ("c\n", found);
  EXPECT_EQ(10, LookupWord("[re]", found, kDictionaryFile));  // a key anywhere in its line
  EXPECT_STREQ("d et plus\n", found);
  EXPECT_EQ(1, LookupWord("[mi]", found, kDictionaryFile));  // last line, no line end
  EXPECT_EQ(0, LookupWord("[Do]", found, kDictionaryFile));
  EXPECT_STREQ("", found);
}

TEST_F(Dictionary, TranslateBracketsAndBraces) {
  struct Case {
    const char* text;
    const char* keys;
    const char* translations;
  } cases[] = {
      {"[do]", "[do]", "(c\n)"},
      {"{do}", "{do}", "c\n"},
      {"[do re]", "[do][re]", "(c\n)(d et plus\n)"},
      {"[ do  re ]", "[do][re]", "(c\n)(d et plus\n)"},
      {"a [do} b {mi] [fa]", "[do]{mi}[fa]", "(c\n)e"},
      {"[do mi", "[do][mi]", "(c\n)(e)"},  // no closer: up to the end
      {"sans crochets", "", ""},
      {"[r\xE9]", "[r\xE9]", "(d\n)"},
  };
  for (const Case& c : cases) {
    Translate(c.text);
    EXPECT_STREQ(c.keys, keys) << c.text;
    EXPECT_STREQ(c.translations, translations) << c.text;
  }
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Dictionary, Utf8DictionaryLinesMatch) {
  WriteHostFile("\\orfeon\\lexiton.dic", "[r\xC3\xA9]d\xC3\xA8s\n");
  Translate("{r\xE9}");
  EXPECT_STREQ("d\xE8s\n", translations);
}

TEST_F(Dictionary, MissingDictionaryNamesItForEveryWord) {
  std::remove(HostPath(kDictionaryFile).c_str());
  Translate("[do re]");
  EXPECT_STREQ("[do][re]", keys);
  EXPECT_STREQ("", translations);
  ASSERT_EQ(2u, dialogs.boxes.size());
  EXPECT_EQ("dictionnaire nontrouvé", dialogs.boxes[1].text);
  EXPECT_EQ(kDictionaryFile, dialogs.boxes[1].caption);
}

TEST_F(Dictionary, LongTranslationsAreCut) {
  WriteHostFile("\\orfeon\\lexiton.dic", "[x]" + std::string(3000, 'y') + "\n");
  std::string text = "[x x x]";
  Translate(text.c_str());
  EXPECT_EQ(static_cast<size_t>(kLongText - 1), std::string(translations).size());
}

using ReadingOptions = Dictionary;

TEST_F(ReadingOptions, AnswersOfTheSevenCommands) {
  CopyText(WorkingState.Indications, "m");
  dialogs.answers = {kYes};
  AddMeasureReading("");
  EXPECT_STREQ("m", WorkingState.Indications);
  EXPECT_EQ("ajouter la lecture des mesures", dialogs.boxes.at(0).text);
  EXPECT_EQ("oui non annuler=pas d'indication", dialogs.boxes.at(0).caption);
  EXPECT_EQ((std::vector<std::string>{kEditionCue}), sound.cues);

  dialogs.answers = {kYes, kNo};
  AddLyricsReading("");
  AddAdviceReading("");
  EXPECT_STREQ("mp", WorkingState.Indications);
  EXPECT_EQ(2u, sound.cues.size());

  dialogs.answers = {kCancel};
  AddFingeringReading("");
  EXPECT_STREQ("", WorkingState.Indications);
  EXPECT_EQ(2u, sound.cues.size());
}

TEST_F(ReadingOptions, FullOptionsRefuseAnotherLetter) {
  std::string full(kShortText - 1, 'x');
  CopyText(WorkingState.Indications, full.c_str());
  dialogs.answers = {kYes};
  AddDynamicsReading("");
  EXPECT_EQ(full, WorkingState.Indications);
  ASSERT_EQ(2u, dialogs.boxes.size());
  EXPECT_EQ(64u, dialogs.boxes[1].type);
}

TEST_F(ReadingOptions, HarmonyTranslatesTheTablature) {
  WorkingState.TabText = "o3 c d";
  dialogs.answers = {kYes};
  AddHarmonyReading("");
  EXPECT_STREQ("h", WorkingState.Indications);
  EXPECT_EQ("o3 c d", WorkingState.TabText);
  EXPECT_EQ(1u, dialogs.boxes.size());

  WorkingState.TabText = "ACCORD [do MI] {re}";
  dialogs.answers = {kYes};
  AddHarmonyReading("");
  EXPECT_STREQ("h", WorkingState.Indications);
  EXPECT_EQ("(c\n)d et plus\n", WorkingState.TabText);
  EXPECT_EQ(WorkingState.TabText, WorkingState.InfoText);
  EXPECT_EQ("(c\r\n)d et plus\r\n", ReadHostFile("\\orfeon\\prvinfo.tab"));
  EXPECT_EQ("Traduction avec le dictionnaire \\orfeon\\lexiton.dic", dialogs.boxes.back().caption);
  EXPECT_EQ(2u, sound.cues.size());
}

}  // namespace
