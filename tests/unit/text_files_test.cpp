#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <filesystem>
#include <string>

#include "core/prompts.h"
#include "core/text_files.h"
#include "core/working_state.h"
#include "fakes/fakes.h"
#include "formats/file_bytes.h"

namespace {

class TextFiles : public PavTest {
 protected:
  char page[kPageSize + 1];
};

TEST_F(TextFiles, PageStopsAt2048Characters) {
  WriteHostFile("\\orfeon\\long.tab", std::string(2000, 'a') + std::string(1000, 'b'));
  EXPECT_EQ(2048, ReadTextPage(page, 1, "\\orfeon\\long.tab"));
  EXPECT_EQ(std::string(2000, 'a') + std::string(48, 'b'), page);
  EXPECT_EQ(952, ReadTextPage(page, 2, "\\orfeon\\long.tab"));
  EXPECT_EQ(std::string(952, 'b'), page);
}

TEST_F(TextFiles, CrLfBecomesOneLineFeedAndCountsOnce) {
  WriteHostFile("\\orfeon\\a.tab", "abc\r\n");
  EXPECT_EQ(4, ReadTextPage(page, 1, "\\orfeon\\a.tab"));
  EXPECT_STREQ("abc\n", page);
  // The 2048 characters are counted after the conversion.
  std::string lines;
  for (int i = 0; i < 1100; ++i) lines += "x\r\n";
  WriteHostFile("\\orfeon\\b.tab", lines);
  EXPECT_EQ(2048, ReadTextPage(page, 1, "\\orfeon\\b.tab"));
  EXPECT_EQ(2048u, std::string(page).size());
  // A lone carriage return stays.
  WriteHostFile("\\orfeon\\c.tab", "a\rb\r");
  EXPECT_EQ(4, ReadTextPage(page, 1, "\\orfeon\\c.tab"));
  EXPECT_STREQ("a\rb\r", page);
}

TEST_F(TextFiles, NulBytesCountButAddNothing) {
  WriteHostFile("\\orfeon\\nul.tab", std::string("a\0b\0\0c", 6));
  EXPECT_EQ(6, ReadTextPage(page, 1, "\\orfeon\\nul.tab"));
  EXPECT_STREQ("abc", page);
  WriteHostFile("\\orfeon\\zeros.tab", std::string(3000, '\0'));
  EXPECT_EQ(2048, ReadTextPage(page, 1, "\\orfeon\\zeros.tab"));
  EXPECT_STREQ("", page);
}

TEST_F(TextFiles, MissingFileIsNamedInABoxAndEmptiesTheBuffer) {
  std::strcpy(page, "old");
  EXPECT_EQ(0, ReadTextPage(page, 1, "\\orfeon\\absent.tab"));
  EXPECT_STREQ("", page);
  ASSERT_EQ(1u, dialogs.boxes.size());
  EXPECT_EQ(64u, dialogs.boxes[0].type);
  EXPECT_EQ("\\orfeon\\absent.tab", dialogs.boxes[0].text);
  EXPECT_EQ("impossible d'ouvrir en lecture", dialogs.boxes[0].caption);
}

TEST_F(TextFiles, EmptyFileAndDirectory) {
  WriteHostFile("\\orfeon\\empty.tab", "");
  EXPECT_EQ(0, ReadTextPage(page, 1, "\\orfeon\\empty.tab"));
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_EQ(0, ReadTextPage(page, 1, "\\orfeon"));
  EXPECT_EQ(1u, dialogs.boxes.size());
}

TEST_F(TextFiles, Utf8IsReadAsWindows1252) {
  struct Case {
    std::string bytes;
    std::string expected;
  } cases[] = {
      {"c d\xC3\xA1 e", "c d\xE1 e"},               // the double flat typed on Linux
      {"\xEF\xBB\xBFo3 \xC3\xA9t\xC3\xA9", "o3 \xE9t\xE9"},  // byte-order mark dropped
      {"\xE2\x82\xAC \xE2\x99\xAA", "\x80 ?"},      // euro kept, a note sign lacks
      {"caf\xE9 d\xE1", "caf\xE9 d\xE1"},           // not UTF-8: bytes as they are
      {"plain ascii", "plain ascii"},
  };
  for (const Case& c : cases) {
    WriteHostFile("\\orfeon\\u.tab", c.bytes);
    ReadTextPage(page, 1, "\\orfeon\\u.tab");
    EXPECT_EQ(c.expected, page) << c.bytes;
  }
}

TEST_F(TextFiles, Utf8PageCountsCharactersNotBytes) {
  std::string text;
  for (int i = 0; i < 3000; ++i) text += "\xC3\xA9";
  WriteHostFile("\\orfeon\\e.tab", text);
  EXPECT_EQ(2048, ReadTextPage(page, 1, "\\orfeon\\e.tab"));
  EXPECT_EQ(std::string(2048, '\xE9'), page);
}

TEST_F(TextFiles, WriteUsesCrLf) {
  EXPECT_EQ(0, WriteTextFile("one\ntwo\n", "\\orfeon\\w.tab"));
  EXPECT_EQ("one\r\ntwo\r\n", ReadHostFile("\\orfeon\\w.tab"));
  EXPECT_EQ(0, WriteTextFile("", "\\orfeon\\w.tab"));
  EXPECT_EQ("", ReadHostFile("\\orfeon\\w.tab"));
}

TEST_F(TextFiles, FailedWriteLeavesNothingBehind) {
  EXPECT_EQ(-1, WriteTextFile("x", "\\nowhere\\w.tab"));
  // A target that cannot be replaced: the write fails and what was there stays.
  WriteHostFile("\\orfeon\\dir.tab\\inside", "old text");
  EXPECT_EQ(-1, WriteTextFile("new", "\\orfeon\\dir.tab"));
  EXPECT_EQ("old text", ReadHostFile("\\orfeon\\dir.tab\\inside"));
  for (auto& entry : std::filesystem::directory_iterator(root + "/orfeon"))
    EXPECT_EQ(std::string::npos, entry.path().string().find(".tmp")) << "temporary file left";
}

TEST_F(TextFiles, FailedWriteIsNamedWithItsReasonAndKeepsTheOldFile) {
  WriteHostFile("\\orfeon\\old.tab", "old text");
  WriteHostFile("\\orfeon\\dir.tab\\inside", "");
  struct Case {
    const char* path;
    unsigned long sizeLimit;  // 0: none
    const char* reason;
  } cases[] = {
      {"\\nowhere\\w.tab", 0, "le répertoire n'existe pas"},
      {"\\orfeon\\dir.tab", 0, "c'est un répertoire"},
      {"\\orfeon\\old.tab", 4, "le fichier est trop grand"},
  };
  for (const Case& c : cases) {
    dialogs.boxes.clear();
    {
      std::optional<ScopedFileSizeLimit> full;
      if (c.sizeLimit) full.emplace(c.sizeLimit);
      EXPECT_EQ(-1, WriteTextFile("new text", c.path)) << c.path;
    }
    ASSERT_EQ(1u, dialogs.boxes.size()) << c.path;
    EXPECT_EQ("impossible d'écrire", dialogs.boxes[0].caption);
    EXPECT_EQ(std::string(c.path) + "\n" + c.reason, dialogs.boxes[0].text);
  }
  EXPECT_EQ("old text", ReadHostFile("\\orfeon\\old.tab"));
}

TEST_F(TextFiles, OnlyRegularFilesAreReadOrReplaced) {
  std::string fifo = HostPath("\\orfeon\\fifo.tab");
  ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
  // Read at once (no writer is waited for) and refused.
  EXPECT_EQ(0, ReadTextPage(page, 1, "\\orfeon\\fifo.tab"));
  ASSERT_EQ(1u, dialogs.boxes.size());
  EXPECT_EQ("impossible d'ouvrir en lecture", dialogs.boxes[0].caption);
  EXPECT_EQ(-1, WriteTextFile("x", "\\orfeon\\fifo.tab"));
  struct stat st;
  ASSERT_EQ(0, lstat(fifo.c_str(), &st));
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  // A link someone planted is neither followed nor replaced.
  WriteHostFile("\\outside.txt", "not ours");
  ASSERT_EQ(0, symlink(HostPath("\\outside.txt").c_str(), HostPath("\\orfeon\\prv.tab").c_str()));
  EXPECT_EQ(-1, WriteTextFile("x", "\\orfeon\\prv.tab"));
  EXPECT_EQ("not ours", ReadHostFile("\\outside.txt"));
  ASSERT_EQ(0, lstat(HostPath("\\orfeon\\prv.tab").c_str(), &st));
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  // Re-reading what the program wrote (the WAV device's recording so far)
  // never copies what a link leads to.
  EXPECT_EQ(nullptr, formats::OpenRegularFile(HostPath("\\orfeon\\prv.tab"), formats::TLinks::kRefuse));
  std::FILE* followed = formats::OpenRegularFile(HostPath("\\orfeon\\prv.tab"));
  EXPECT_NE(nullptr, followed);
  if (followed) std::fclose(followed);
}

TEST_F(TextFiles, StaleTemporariesAreRemovedButNotAWriterAtWork) {
  std::string output = HostPath("\\orfeon\\sortie.wav");
  WriteHostFile("\\orfeon\\sortie.wav.tmpAbC123", "killed run");
  WriteHostFile("\\orfeon\\sortie.wav.tmpToolong1", "not ours");
  formats::AtomicFile working;
  ASSERT_TRUE(working.Open(output));
  formats::RemoveStaleTemporaries(output);
  std::vector<std::string> left;
  for (auto& entry : std::filesystem::directory_iterator(root + "/orfeon"))
    left.push_back(entry.path().filename().string());
  ASSERT_EQ(2u, left.size());
  auto notOurs = std::find(left.begin(), left.end(), "sortie.wav.tmpToolong1");
  ASSERT_NE(left.end(), notOurs);
  left.erase(notOurs);
  EXPECT_EQ(0u, left[0].find("sortie.wav.tmp")) << "the writer's own";
  EXPECT_NE("sortie.wav.tmpAbC123", left[0]);
  EXPECT_TRUE(working.Write("x", 1));
  EXPECT_TRUE(working.Commit());
  EXPECT_EQ("x", ReadHostFile("\\orfeon\\sortie.wav"));
}

TEST_F(TextFiles, WriteThenReadRoundTrip) {
  const char text[] = "ia f+:\no4 f g | c\xE1 d\n";
  ASSERT_EQ(0, WriteTextFile(text, "\\orfeon\\r.tab"));
  EXPECT_EQ(static_cast<int>(sizeof text - 1), ReadTextPage(page, 1, "\\orfeon\\r.tab"));
  EXPECT_STREQ(text, page);
}

TEST(MidText, Bounds) {
  struct Case {
    int start, count;
    const char* expected;
  } cases[] = {
      {3, 2, "cd"}, {5, 10, "ef"}, {7, 1, ""}, {0, 3, ""}, {2, 0, ""},
      {1, 6, "abcdef"}, {6, 1, "f"}, {-1, 2, ""}, {2, -5, ""},
  };
  for (const Case& c : cases) {
    char out[32];
    std::strcpy(out, "garbage");
    MidText(out, "abcdef", c.start, c.count);
    EXPECT_STREQ(c.expected, out) << c.start << "," << c.count;
  }
  char small[3];
  MidText(small, "abcdef", 2, 2);
  EXPECT_STREQ("bc", small);
}

TEST_F(TextFiles, BoxesNeedTextOrCaption) {
  EXPECT_EQ(kNoBox, ShowInfo("", ""));
  EXPECT_EQ(kNoBox, AskYesNoCancel("", ""));
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_EQ(1, ShowInfo("", "titre"));
  dialogs.answers = {kNo};
  EXPECT_EQ(kNo, AskYesNoCancel("texte", ""));
  EXPECT_EQ(kCancel, AskYesNoCancel("texte", ""));  // Escape
  ASSERT_EQ(3u, dialogs.boxes.size());
  EXPECT_EQ(64u, dialogs.boxes[0].type);
  EXPECT_EQ("titre", dialogs.boxes[0].caption);
  EXPECT_EQ(3u, dialogs.boxes[1].type);
}

}  // namespace
