#include <cstdlib>

#include "app/command_loop.h"
#include "core/command_table.h"
#include "drivers/console_ui.h"
#include "drivers/launcher.h"
#include "fakes/fakes.h"
#include "formats/encoding.h"
#include "platform/paths.h"

namespace {

TEST(Console, FieldEscapes) {
  EXPECT_EQ("a\\\\b\\nc\\rd\\te", drivers::EscapeField("a\\b\nc\rd\te"));
  EXPECT_EQ("\\\\orfeon\\\\edition.wav", drivers::EscapeField("\\orfeon\\edition.wav"));
  EXPECT_EQ("r\xC3\xA9" "cit \xC3\xA1", drivers::EscapeField("r\xE9" "cit \xE1"));
  EXPECT_EQ("\xE2\x82\xAC", drivers::EscapeField("\x80"));
}

TEST(Console, Answers) {
  struct Case {
    const char* line;
    int answer;
  } cases[] = {{"o", 6},   {"OUI", 6}, {"y", 6},    {"Yes", 6}, {" oui ", 6}, {"n", 7},
               {"NON", 7}, {"no", 7},  {"", 2},     {"annuler", 2}, {"ouii", 2}, {"nn", 2},
               {"0", 2}};
  for (const Case& c : cases) EXPECT_EQ(c.answer, drivers::AnswerFromLine(c.line)) << c.line;
}

std::vector<std::string> ran;
void Record(const char* argument) { ran.push_back(argument); }

using Loop = PavTest;

TEST_F(Loop, RunsCommandsWithTheirArgumentUntilExit) {
  ran.clear();
  RegisterCommand(kScaleCommand, Record);
  RegisterCommand(kOpenCommand, Record);
  input.lines = {"503", "  503  ", "24332 /home/me/ma pièce.tab", "abc", "", "999", "503x",
                 "24310", "503"};
  EXPECT_EQ(0, RunCommandLoop());
  EXPECT_EQ((std::vector<std::string>{"", "", "/home/me/ma pièce.tab"}), ran);
  EXPECT_EQ(1u, input.lines.size()) << "nothing is read after 24310";
}

TEST_F(Loop, EndOfInputEnds) {
  input.lines = {};
  EXPECT_EQ(0, RunCommandLoop());
}

TEST(CommandTable, LaterRegistrationReplaces) {
  ClearCommands();
  RegisterCommand(kPlayAllCommand, Record);
  EXPECT_EQ(Record, FindCommand(600));
  RegisterCommand(kPlayAllCommand, nullptr);
  EXPECT_FALSE(RunCommand(600, ""));
  EXPECT_FALSE(RunCommand(601, ""));
  ClearCommands();
}

TEST_F(Loop, PathsMapToTheRoot) {
  EXPECT_EQ(root + "/orfeon/prv.tab", platform::MapPath("\\orfeon\\prv.tab"));
  EXPECT_EQ(root + "/lm4/wav/lisez.wav", platform::MapPath("\\lm4\\wav\\lisez.wav"));
  EXPECT_EQ("./PavSdi.ini", platform::MapPath(".\\PavSdi.ini"));
  EXPECT_EQ("/home/me/a.tab", platform::MapPath("/home/me/a.tab"));
  EXPECT_EQ("piece.tab", platform::MapPath("piece.tab"));
  EXPECT_EQ(root + "/orfeon/pi\xC3\xA8" "ce.tab", platform::MapPath("\\orfeon\\pi\xE8" "ce.tab"));
  setenv("PAVSDI_ROOT", "/", 1);
  EXPECT_EQ("/orfeon/prv.tab", platform::MapPath("\\orfeon\\prv.tab"));
}

TEST_F(Loop, CompanionCommandLines) {
  WriteHostFile("\\orfeon\\sonplay.exe", "");
  EXPECT_EQ((std::vector<std::string>{root + "/orfeon/sonplay.exe"}),
            drivers::ResolveCommandLine("\\orfeon\\sonplay.exe"));
  EXPECT_EQ((std::vector<std::string>{root + "/orfeon/clipsend"}),
            drivers::ResolveCommandLine("\\orfeon\\clipsend.exe"));
  EXPECT_EQ((std::vector<std::string>{"xdg-open", root + "/orfeon/tutoriel.html"}),
            drivers::ResolveCommandLine("start \\orfeon\\tutoriel.html"));
  EXPECT_TRUE(drivers::ResolveCommandLine("   ").empty());
}

TEST(Encoding, RoundTripOfEveryByte) {
  for (int b = 1; b < 256; ++b) {
    char in[2] = {static_cast<char>(b), 0};
    std::string utf8 = formats::Cp1252ToUtf8(in);
    std::string back = formats::Utf8ToCp1252(utf8);
    bool hole = b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
    if (!hole) {
      EXPECT_EQ(std::string(in), back) << b;
    }
  }
  EXPECT_FALSE(formats::IsMultiByteUtf8("abc", 3, false));
  EXPECT_TRUE(formats::IsMultiByteUtf8("\xC3\xA9", 2, false));
  EXPECT_FALSE(formats::IsMultiByteUtf8("\xC3", 1, false));
  EXPECT_FALSE(formats::IsMultiByteUtf8("\xC0\x80", 2, false));  // overlong
  EXPECT_FALSE(formats::IsMultiByteUtf8("\xED\xA0\x80", 3, false));  // surrogate
  EXPECT_TRUE(formats::IsMultiByteUtf8("\xC3\xA9\xE2\x82", 4, true));  // cut at the end
}

}  // namespace
