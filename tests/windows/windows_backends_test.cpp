// The Windows back ends that wine can check, through the system's own calls:
// the atomic writer with accented names, the temporaries of a killed writer,
// the clipboard in Unicode, the clock's waits.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "drivers/clipboards.h"
#include "formats/file_bytes.h"
#include "formats/wide_text.h"
#include "platform/platform.h"

namespace {

class WindowsBackEnds : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder_ = formats::Narrow(temp) + "pavsdi-win-" + std::to_string(GetCurrentProcessId()) + "-\xC3\xA9t\xC3\xA9";
    ASSERT_TRUE(CreateDirectoryW(formats::Widen(folder_).c_str(), nullptr));
  }
  void TearDown() override {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(formats::Widen(folder_ + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do DeleteFileW((formats::Widen(folder_ + "\\") + found.cFileName).c_str());
      while (FindNextFileW(search, &found));
      FindClose(search);
    }
    RemoveDirectoryW(formats::Widen(folder_).c_str());
  }
  std::string Path(const char* utf8Name) const { return folder_ + "\\" + utf8Name; }
  int FilesIn() const {
    int count = 0;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(formats::Widen(folder_ + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do count += !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    while (FindNextFileW(search, &found));
    FindClose(search);
    return count;
  }
  std::string folder_;
};

TEST_F(WindowsBackEnds, AtomicWriterReplacesPlainAndAccentedNamesAndRefusesDirectories) {
  for (const char* name : {"prv.tab", "pi\xC3\xA8" "ce \xC3\xA0 jouer \xE2\x82\xAC.tab"}) {
    SCOPED_TRACE(name);
    std::string path = Path(name);
    ASSERT_TRUE(formats::WriteFileBytes(path, "ancien"));
    ASSERT_TRUE(formats::WriteFileBytes(path, "nouveau texte"));
    std::string back;
    ASSERT_TRUE(formats::ReadFileBytes(path, &back));
    EXPECT_EQ("nouveau texte", back);
    // The name on disk is the one asked for, not its code-page spelling.
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(formats::Widen(path).c_str()));
    EXPECT_EQ(1, FilesIn()) << "a temporary file was left";
    DeleteFileW(formats::Widen(path).c_str());
  }
  std::string directory = Path("dossier");
  ASSERT_TRUE(CreateDirectoryW(formats::Widen(directory).c_str(), nullptr));
  EXPECT_FALSE(formats::WriteFileBytes(directory, "x"));
  EXPECT_EQ(EISDIR, errno);
  RemoveDirectoryW(formats::Widen(directory).c_str());
  // A failed write leaves the old file whole.
  std::string path = Path("garde.tab");
  ASSERT_TRUE(formats::WriteFileBytes(path, "garde"));
  {
    formats::AtomicFile file;
    ASSERT_TRUE(file.Open(path));
    ASSERT_TRUE(file.Write("perdu", 5));
  }  // abandoned
  std::string back;
  ASSERT_TRUE(formats::ReadFileBytes(path, &back));
  EXPECT_EQ("garde", back);
  EXPECT_EQ(1, FilesIn());
}

TEST_F(WindowsBackEnds, TemporaryOfAKilledWriterIsRemovedOneStillWrittenIsKept) {
  std::string path = Path("sortie.mid");
  // A killed writer's file: closed, left behind.
  HANDLE left = CreateFileW(formats::Widen(path + ".tmpAbC123").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, left);
  CloseHandle(left);
  // Someone else's file of a similar name stays.
  ASSERT_TRUE(formats::WriteFileBytes(Path("sortie.mid.tmp-notes.txt"), "x"));
  formats::AtomicFile running;
  ASSERT_TRUE(running.Open(path));
  ASSERT_TRUE(running.Write("MThd", 4));
  ASSERT_EQ(3, FilesIn());

  formats::RemoveStaleTemporaries(path);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(formats::Widen(path + ".tmpAbC123").c_str()));
  EXPECT_EQ(2, FilesIn()) << "the running writer's file or another file was removed";
  ASSERT_TRUE(running.Commit());
  std::string back;
  ASSERT_TRUE(formats::ReadFileBytes(path, &back));
  EXPECT_EQ("MThd", back);
}

TEST_F(WindowsBackEnds, ClipboardRoundTripKeepsAccentsAsUnicode) {
  platform::Clipboard* clipboard = drivers::EnvironmentClipboard();
  ASSERT_NE(nullptr, clipboard);
  const char cp1252[] = "do r\xE9 mi \x80 \x9C\xE0 la \xE1";  // é € œ à and the double flat byte
  ASSERT_TRUE(clipboard->Open());
  ASSERT_TRUE(clipboard->WriteText(cp1252));
  clipboard->Close();
  // Other programs see Unicode text.
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  ASSERT_NE(nullptr, data);
  std::wstring seen(static_cast<const wchar_t*>(GlobalLock(data)));
  GlobalUnlock(data);
  CloseClipboard();
  EXPECT_EQ(std::wstring(L"do r\u00E9 mi \u20AC \u0153\u00E0 la \u00E1"), seen);
  // And read back as the program's text, cut to the buffer.
  char buffer[64];
  ASSERT_TRUE(clipboard->Open());
  EXPECT_EQ(platform::TClipboardText::kText, clipboard->ReadText(buffer, sizeof buffer));
  EXPECT_STREQ(cp1252, buffer);
  EXPECT_EQ(platform::TClipboardText::kText, clipboard->ReadText(buffer, 5));
  EXPECT_STREQ("do r", buffer);
  clipboard->Close();
}

uint64_t ProcessCpuUs() {
  FILETIME created, ended, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
  auto us = [](FILETIME t) { return ((uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime) / 10; };
  return us(kernel) + us(user);
}

TEST_F(WindowsBackEnds, ClockWaitsToTheDeadlineWithoutKeepingACoreBusy) {
  platform::Clock& clock = platform::SystemClock();
  uint64_t cpuBefore = ProcessCpuUs();
  uint64_t start = clock.NowUs();
  clock.SleepUntilUs(start + 200000);
  uint64_t waited = clock.NowUs() - start;
  uint64_t cpu = ProcessCpuUs() - cpuBefore;
  EXPECT_GE(waited, 200000u);
  EXPECT_LT(waited, 1000000u);
  // A busy wait would take the whole 200 ms.
  EXPECT_LT(cpu, 50000u) << "CPU time during a 200 ms wait, in microseconds";
  start = clock.NowUs();
  clock.SleepMs(30);
  EXPECT_GE(clock.NowUs() - start, 30000u);
}

}  // namespace
