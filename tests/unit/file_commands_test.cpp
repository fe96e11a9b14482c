#include <unistd.h>

#include <cstring>
#include <deque>
#include <filesystem>
#include <string>

#include "app/application.h"
#include "app/document_window.h"
#include "app/file_commands.h"
#include "app/recent_files.h"
#include "core/command_table.h"
#include "core/tablature_file.h"
#include "core/working_state.h"
#include "fakes/fakes.h"

namespace {

// A document window that records what the commands ask of it.
class FakeDocument : public TDocumentWindow {
 public:
  bool CanClose() override {
    ++closeAsked;
    return mayClose;
  }
  void NewFile() override {
    if (CanClose()) opened.push_back("(new)");
  }
  bool ReplaceWith(const char* path) override {
    if (!readable) return false;
    opened.push_back(path);
    return true;
  }
  bool ChooseFileToOpen(char* name, int size) override {
    if (chosen.empty()) return false;
    CopyText(name, size, chosen.c_str());
    return true;
  }
  bool mayClose = true;
  bool readable = true;
  int closeAsked = 0;
  std::string chosen;
  std::deque<std::string> opened;
};

class FileCommands : public PavTest {
 protected:
  void SetUp() override {
    PavTest::SetUp();
    oldDirectory_ = std::filesystem::current_path();
    std::filesystem::current_path(root);  // ".\PavSdi.ini" is in the current directory
    SetDocumentWindow(&document);
    RegisterFileCommands();
    std::strcpy(WorkingState.TabFile, "\\orfeon\\old.tab");
    WorkingState.TabText = "c d e";
    WriteHostFile("\\orfeon\\old.tab", "c d e");
    WriteHostFile("\\orfeon\\prv.tab", "c d e\r\n");
  }
  void TearDown() override {
    SetDocumentWindow(nullptr);
    std::filesystem::current_path(oldDirectory_);
    PavTest::TearDown();
  }
  std::string Recent(int index) {
    char name[kRecentNameSize];
    GetMenuText(index, name, sizeof name);
    return name;
  }
  FakeDocument document;

 private:
  std::filesystem::path oldDirectory_;
};

TEST_F(FileCommands, OpeningATablatureMakesItCurrent) {
  WriteHostFile("\\orfeon\\piece.tab", "g a b\r\n|c");
  document.chosen = HostPath("\\orfeon\\piece.tab");
  ASSERT_TRUE(RunCommand(kOpenCommand, ""));
  EXPECT_EQ((std::vector<std::string>{"\\orfeon\\fichier.wav", "\\orfeon\\edition.wav"}), sound.cues);
  EXPECT_EQ(document.chosen, document.opened.front());
  EXPECT_EQ(document.chosen, WorkingState.TabFile);
  EXPECT_EQ("g a b\n|c", WorkingState.TabText);
  EXPECT_EQ("g a b\r\n|c", ReadHostFile("\\orfeon\\prv.tab"));
  ASSERT_EQ(1u, dialogs.boxes.size());
  EXPECT_EQ("tablature", dialogs.boxes[0].text);
  EXPECT_EQ(document.chosen, dialogs.boxes[0].caption);
  EXPECT_EQ(document.chosen, Recent(0));
}

TEST_F(FileCommands, OtherFilesAndDropsOnlyReachTheEditorAndTheList) {
  WriteHostFile("\\orfeon\\notes.txt", "x");
  WriteHostFile("\\orfeon\\drop.tab", "f g");
  struct Case {
    const char* what;
    void (*open)(const char*);
    const char* file;
  } cases[] = {
      {"open .txt", [](const char* n) { RunCommand(kOpenCommand, n); }, "\\orfeon\\notes.txt"},
      {"dropped .tab", OpenDroppedFile, "\\orfeon\\drop.tab"},
  };
  for (const Case& c : cases) {
    std::string path = HostPath(c.file);
    c.open(path.c_str());
    EXPECT_EQ(path, document.opened.back()) << c.what;
    EXPECT_STREQ("\\orfeon\\old.tab", WorkingState.TabFile) << c.what;
    EXPECT_EQ("c d e", WorkingState.TabText) << c.what;
    EXPECT_EQ("c d e\r\n", ReadHostFile("\\orfeon\\prv.tab")) << c.what;
    EXPECT_EQ(path, Recent(0)) << c.what;
  }
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(FileCommands, ARecentTablatureBecomesCurrentWithoutTheChangeQuestion) {
  WriteHostFile("\\orfeon\\piece.tab", "e f");
  std::string path = HostPath("\\orfeon\\piece.tab");
  OpenDroppedFile(path.c_str());
  SaveMenuChoice("/elsewhere/other.txt");
  document.closeAsked = 0;
  EXPECT_EQ(0, OpenRecentFile(1));
  EXPECT_EQ(0, document.closeAsked);
  EXPECT_EQ(path, WorkingState.TabFile);
  EXPECT_EQ("e f", WorkingState.TabText);
  EXPECT_EQ(path, Recent(0));
  EXPECT_EQ(0, OpenRecentFile(7)) << "no such entry: nothing happens";
}

TEST_F(FileCommands, RefusedOrCancelledOpenChangesNothing) {
  document.mayClose = false;
  RunCommand(kOpenCommand, "/x/a.tab");
  document.mayClose = true;
  RunCommand(kOpenCommand, "");  // dialog not confirmed
  EXPECT_TRUE(document.opened.empty());
  EXPECT_EQ((std::vector<std::string>{"\\orfeon\\fichier.wav", "\\orfeon\\fichier.wav"}), sound.cues);
  EXPECT_EQ(0, RecentFileTotal());
  RunCommand(kNewCommand, "");
  EXPECT_EQ("(new)", document.opened.back());
  EXPECT_STREQ("\\orfeon\\old.tab", WorkingState.TabFile);
}

// A tablature that can't be read keeps the current one and the working copy.
TEST_F(FileCommands, UnreadableTablatureKeepsTheWorkingCopy) {
  document.readable = false;
  RunCommand(kOpenCommand, HostPath("\\orfeon\\missing.tab").c_str());
  EXPECT_STREQ("\\orfeon\\old.tab", WorkingState.TabFile);
  EXPECT_EQ("c d e", WorkingState.TabText);
  EXPECT_EQ("c d e\r\n", ReadHostFile("\\orfeon\\prv.tab"));
}

// Nothing is said to be current unless its working copy was written; a
// file of NUL bytes is no text.
TEST_F(FileCommands, TablatureWithoutItsWorkingCopyOrTextIsNotMadeCurrent) {
  WriteHostFile("\\orfeon\\piece.tab", "g a b");
  WriteHostFile("\\orfeon\\zeros.tab", std::string(100, '\0'));
  std::string piece = HostPath("\\orfeon\\piece.tab");
  {
    ScopedFileSizeLimit full(0);
    RunCommand(kOpenCommand, piece.c_str());
  }
  RunCommand(kOpenCommand, HostPath("\\orfeon\\zeros.tab").c_str());
  EXPECT_STREQ("\\orfeon\\old.tab", WorkingState.TabFile);
  EXPECT_EQ("c d e", WorkingState.TabText);
  EXPECT_EQ("c d e\r\n", ReadHostFile("\\orfeon\\prv.tab"));
  ASSERT_EQ(2u, dialogs.boxes.size());
  EXPECT_EQ("impossible d'écrire", dialogs.boxes[0].caption);
  EXPECT_EQ("\\orfeon\\prv.tab\nle fichier est trop grand", dialogs.boxes[0].text);
  EXPECT_EQ("impossible d'ouvrir en lecture", dialogs.boxes[1].caption);
  EXPECT_EQ(HostPath("\\orfeon\\zeros.tab") + "\n" + ReadFailureReason(kNotText), dialogs.boxes[1].text);
}

TEST_F(FileCommands, EmptyTablatureIsStillMadeCurrent) {
  WriteHostFile("\\orfeon\\empty.tab", "");
  std::string path = HostPath("\\orfeon\\empty.tab");
  OpenDocumentFile(path.c_str());
  EXPECT_EQ(path, WorkingState.TabFile);
  EXPECT_EQ("", WorkingState.TabText);
  EXPECT_EQ("", ReadHostFile("\\orfeon\\prv.tab"));
}

TEST_F(FileCommands, TooLongANameDoesNotBecomeTheTablature) {
  std::string dir = "\\orfeon\\" + std::string(80, 'd');
  std::filesystem::create_directories(HostPath(dir.c_str()));
  std::string file = dir + "\\p.tab";
  WriteHostFile(file.c_str(), "a");
  OpenDocumentFile(HostPath(file.c_str()).c_str());
  EXPECT_STREQ("\\orfeon\\old.tab", WorkingState.TabFile);
  ASSERT_EQ(1u, dialogs.boxes.size());
  EXPECT_NE(std::string::npos, dialogs.boxes[0].text.find("trop long"));
}

TEST_F(FileCommands, SaveAsRereadsTheCurrentTablature) {
  WriteHostFile("\\orfeon\\old.tab", "changed on disk");
  SavedAs("/home/me/copy.tab");
  EXPECT_STREQ("\\orfeon\\old.tab", WorkingState.TabFile);
  EXPECT_EQ("changed on disk", WorkingState.TabText);
  EXPECT_EQ("/home/me/copy.tab", Recent(0));
  std::filesystem::remove(HostPath("\\orfeon\\old.tab"));
  SavedAs("/home/me/copy2.tab");
  EXPECT_EQ("changed on disk", WorkingState.TabText) << "an unreadable tablature keeps its text";
}

TEST_F(FileCommands, RecentListKeepsFourLatestFirstWithoutDuplicates) {
  for (const char* name : {"a", "b", "c", "d", "e", "c"}) SaveMenuChoice(name);
  EXPECT_EQ(4, RecentFileTotal());
  EXPECT_EQ((std::vector<std::string>{"c", "e", "d", "b"}),
            (std::vector<std::string>{Recent(0), Recent(1), Recent(2), Recent(3)}));
  EXPECT_EQ("", Recent(4));
  EXPECT_TRUE(std::filesystem::exists(root + "/PavSdi.ini"));
}

TEST_F(FileCommands, StartingTheDocumentWindow) {
  StartApplication(kProductCaption);
  EXPECT_EQ((std::vector<std::string>{"\\orfeon\\lisez.wav"}), sound.cues);
  EXPECT_EQ("c d e", ReadHostFile("\\orfeon\\prvinfo.tab"));
  ASSERT_EQ(1u, dialogs.boxes.size());
  EXPECT_EQ("la tablature courante est dans le presse papier", dialogs.boxes[0].text);
  EXPECT_EQ("Pavane environnement midi", dialogs.boxes[0].caption);
  EXPECT_EQ((std::vector<std::string>{"\\orfeon\\clipsend.exe"}), programs.started);
  EXPECT_EQ((std::vector<int>{3}), programs.showModes);
}

TEST_F(FileCommands, ConsoleDocumentReportsUnreadableFiles) {
  SetDocumentWindow(nullptr);
  EXPECT_FALSE(DocumentWindow().ReplaceWith("/nonexistent/x.tab"));
  ASSERT_EQ(1u, dialogs.boxes.size());
  EXPECT_EQ("/nonexistent/x.tab\nle fichier n'existe pas", dialogs.boxes[0].text);
  EXPECT_FALSE(DocumentWindow().ReplaceWith(root.c_str())) << "a directory";
  EXPECT_EQ(root + "\nc'est un répertoire", dialogs.boxes.at(1).text);
}

}  // namespace
