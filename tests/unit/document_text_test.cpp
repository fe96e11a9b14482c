#include <string>

#include <gtest/gtest.h>

#include "formats/document_text.h"
#include "formats/file_bytes.h"

namespace {

TEST(DocumentText, EachFileKeepsItsEncodingAndLineEnds) {
  struct Case {
    const char* what;
    std::string bytes;
    std::string text;  // UTF-8 in the window
    bool utf8, crlf;
  } cases[] = {
      {"windows-1252 dos", "r\xE9" "cit\r\nsol\xE1\r\n", "r\xC3\xA9" "cit\nsol\xC3\xA1\n", false, true},
      {"utf-8 unix", "r\xC3\xA9" "cit\nfin\n", "r\xC3\xA9" "cit\nfin\n", true, false},
      {"ascii, one line", "c d e", "c d e", false, true},
      {"empty", "", "", false, true},
  };
  for (const Case& c : cases) {
    formats::TFileFormat format;
    EXPECT_EQ(c.text, formats::DecodeFileText(c.bytes, &format)) << c.what;
    EXPECT_EQ(c.utf8, format.utf8) << c.what;
    EXPECT_EQ(c.crlf, format.crlf) << c.what;
    EXPECT_EQ(c.bytes, formats::EncodeFileText(c.text, &format)) << c.what << ": written back as read";
  }
}

TEST(DocumentText, TextWindows1252CannotHoldIsWrittenInUtf8) {
  formats::TFileFormat format;
  formats::DecodeFileText("abc\r\n", &format);
  std::string text = "\xE2\x99\xAA la\n";  // a note sign
  EXPECT_EQ("\xE2\x99\xAA la\r\n", formats::EncodeFileText(text, &format));
  EXPECT_TRUE(format.utf8);
}

TEST(DocumentText, WritingReplacesOnlyAWholeFile) {
  std::string dir = testing::TempDir();
  std::string path = dir + "/pavsdi-doc.txt";
  ASSERT_TRUE(formats::WriteFileBytes(path, "one"));
  std::string bytes;
  ASSERT_TRUE(formats::ReadFileBytes(path, &bytes));
  EXPECT_EQ("one", bytes);
  EXPECT_FALSE(formats::WriteFileBytes(dir + "/no/such/dir/x.txt", "two"));
  EXPECT_FALSE(formats::ReadFileBytes(dir + "/no/such/file", &bytes));
  EXPECT_FALSE(formats::ReadFileBytes(dir, &bytes)) << "a directory";
  EXPECT_TRUE(formats::FileReadable(path));
  EXPECT_FALSE(formats::FileReadable(dir));
  std::remove(path.c_str());
}

}  // namespace
