#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <fstream>

#include "clipboard/clipboard_commands.h"
#include "core/command_table.h"
#include "core/prompts.h"
#include "core/working_state.h"
#include "drivers/clipboards.h"
#include "fake_clipboard.h"
#include "fakes/fakes.h"
#include "tablature/clipboard_text.h"

namespace {

// Calls back at every message, so that a test can look at the files while
// the music plays.
class SpyDevice : public fakes::MidiDevice {
 public:
  using fakes::MidiDevice::MidiDevice;
  void Send(const uint8_t* bytes, int length) override {
    if (onSend) onSend();
    fakes::MidiDevice::Send(bytes, length);
  }
  std::function<void()> onSend;
};

class Clipboard : public PavTest {
 protected:
  void SetUp() override {
    PavTest::SetUp();
    fakes::Use(&clipboard);
    platform::MidiDeviceList list;
    auto device = std::make_unique<SpyDevice>("spy", 32, clock);
    spy = device.get();
    list.push_back(std::move(device));
    platform::InstallMidiDevices(std::move(list));
    WriteHostFile("\\orfeon\\midiinit.dev", "0\r\n");
    OpenDefaultPort();
    Reset();
  }
  // Back to the state of the start, for the next case of a table.
  void Reset() {
    WorkingState.Octave = 3;
    WorkingState.NoteLength = 4;
    WorkingState.LastMeasure = 1000;
    WorkingState.Measure = 4;
    CopyText(WorkingState.Indications, " ");
    WorkingState.TabText = "g a\n";
    WriteHostFile("\\orfeon\\prv.tab", "g a\r\n");
    dialogs.boxes.clear();
    sound.cues.clear();
    programs.started.clear();
    programs.showModes.clear();
    spy->events.clear();
    clipboard = FakeClipboard();
  }
  void TearDown() override {
    fakes::Use(static_cast<platform::Registry*>(nullptr));
    PavTest::TearDown();
  }
  int NotesHeard() {
    int n = 0;
    for (const fakes::MidiEvent& e : spy->events)
      if ((e.bytes[0] & 0xF0) == 0x90 && e.bytes[2] > 0) ++n;
    return n;
  }
  void PlayAnswering(int answer) {
    dialogs.answers = {answer};
    PlayClipboard();
  }

  FakeClipboard clipboard;
  SpyDevice* spy = nullptr;
};

TEST_F(Clipboard, ReadAddsOneLineFeedAndNeverOverflows) {
  struct Case {
    bool openable;
    std::string held, expected;
    bool errorCue;
  } cases[] = {
      {true, "c d e", "c d e\n", false},
      {true, "c\r\nd", "c\r\nd\n", false},
      {true, "", "", false},
      {false, "c d e", "", true},
      // Cut so that the text and its line feed fit in 2047 characters.
      {true, std::string(3000, 'c'), std::string(2046, 'c') + "\n", false},
      {true, std::string(2046, 'd'), std::string(2046, 'd') + "\n", false},
  };
  for (const Case& c : cases) {
    clipboard.openable = c.openable;
    clipboard.text = c.held;
    sound.cues.clear();
    char text[kLongText];
    std::memset(text, 'x', sizeof text);
    ReadClipboardText(text);
    EXPECT_EQ(c.expected, text) << c.held.substr(0, 20);
    EXPECT_EQ(c.errorCue ? std::vector<std::string>{"\\orfeon\\erreur.wav"} : std::vector<std::string>{},
              sound.cues);
    EXPECT_FALSE(clipboard.isOpen);
  }
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Clipboard, BracketedWordsComeBackTranslated) {
  WriteHostFile("\\orfeon\\lexiton.dic", "[re]d\n[do]c\n");
  clipboard.text = "[do]";
  char text[kLongText];
  ReadClipboardText(text);
  EXPECT_EQ("(c\n)", std::string(text));
  EXPECT_STREQ("(c\n)", WorkingState.InfoText);
  EXPECT_EQ("(c\r\n)", ReadHostFile("\\orfeon\\prvinfo.tab"));
  ASSERT_EQ(1u, dialogs.boxes.size());
  EXPECT_EQ(3u, dialogs.boxes[0].type);
  EXPECT_EQ("(c\n)", dialogs.boxes[0].text);
  EXPECT_EQ("[do]", dialogs.boxes[0].caption);
}

TEST_F(Clipboard, PlayForOnceThenTheTablatureComesBack) {
  clipboard.text = "c d e";
  std::string copyDuringPlay, textDuringPlay;
  spy->onSend = [&] {
    if (copyDuringPlay.empty()) {
      copyDuringPlay = ReadHostFile("\\orfeon\\prv.tab");
      textDuringPlay = WorkingState.TabText;
    }
  };
  PlayAnswering(kYes);
  EXPECT_EQ("c d e\r\n", copyDuringPlay);
  EXPECT_EQ("c d e\n", textDuringPlay);
  EXPECT_EQ(3, NotesHeard());
  EXPECT_EQ("g a\n", WorkingState.TabText);
  EXPECT_EQ("g a\r\n", ReadHostFile("\\orfeon\\prv.tab"));
  EXPECT_STREQ(" ", WorkingState.Indications);
  EXPECT_EQ(1, WorkingState.Measure);
  EXPECT_EQ(1000, WorkingState.LastMeasure);
  ASSERT_EQ(1u, dialogs.boxes.size());
  EXPECT_EQ("c d e\n", dialogs.boxes[0].text);
  EXPECT_EQ("oui=jouer presse papier non=jouer et sauvegarder escape = quitter", dialogs.boxes[0].caption);
  EXPECT_EQ(std::vector<std::string>{"\\orfeon\\edition.wav"}, sound.cues);
}

// While the clipboard plays, the kept tablature waits on disk beside the
// working copy: a run killed then gets it back at its next start.
TEST_F(Clipboard, KeptTablatureSurvivesAKilledRun) {
  clipboard.text = "c d e";
  std::string keptDuringPlay;
  spy->onSend = [&] {
    if (keptDuringPlay.empty()) keptDuringPlay = ReadHostFile("\\orfeon\\prvgarde.tab");
  };
  PlayAnswering(kYes);
  EXPECT_EQ("g a\r\n", keptDuringPlay);
  EXPECT_FALSE(std::filesystem::exists(HostPath("\\orfeon\\prvgarde.tab")));
  // As a kill during the play leaves them.
  WriteHostFile("\\orfeon\\prv.tab", "c d e\r\n");
  WriteHostFile("\\orfeon\\prvgarde.tab", "g a\r\n");
  RestoreKeptTablature();
  EXPECT_EQ("g a\r\n", ReadHostFile("\\orfeon\\prv.tab"));
  EXPECT_FALSE(std::filesystem::exists(HostPath("\\orfeon\\prvgarde.tab")));
  RestoreKeptTablature();  // nothing left aside: nothing changes
  EXPECT_EQ("g a\r\n", ReadHostFile("\\orfeon\\prv.tab"));
  EXPECT_TRUE(dialogs.boxes.size() == 1u) << "only the question";
}

TEST_F(Clipboard, PlayAndKeepOrLeave) {
  struct Case {
    int answer;
    const char* tabText;
    const char* workingCopy;
    int notes;
  } cases[] = {
      {kNo, "c d e\n", "c d e\r\n", 3},
      {kCancel, "g a\n", "g a\r\n", 0},
  };
  for (const Case& c : cases) {
    Reset();
    clipboard.text = "c d e";
    PlayAnswering(c.answer);
    EXPECT_EQ(c.tabText, WorkingState.TabText) << c.answer;
    EXPECT_EQ(c.workingCopy, ReadHostFile("\\orfeon\\prv.tab")) << c.answer;
    EXPECT_EQ(c.notes, NotesHeard()) << c.answer;
    EXPECT_STREQ(" ", WorkingState.Indications);
    EXPECT_EQ(std::vector<std::string>{"\\orfeon\\edition.wav"}, sound.cues);
  }
}

TEST_F(Clipboard, NothingToPlaySaysSo) {
  struct Case {
    bool openable;
    std::vector<std::string> cues;
  } cases[] = {
      {true, {"\\orfeon\\edition.wav"}},
      {false, {"\\orfeon\\erreur.wav", "\\orfeon\\edition.wav"}},
  };
  for (const Case& c : cases) {
    Reset();
    clipboard.openable = c.openable;
    PlayClipboard();
    ASSERT_EQ(1u, dialogs.boxes.size());
    EXPECT_EQ(64u, dialogs.boxes[0].type);
    EXPECT_EQ("impossible de lire le presse papier", dialogs.boxes[0].text);
    EXPECT_EQ("", dialogs.boxes[0].caption);
    EXPECT_EQ(c.cues, sound.cues);
    EXPECT_EQ("g a\n", WorkingState.TabText);
    EXPECT_EQ(0, NotesHeard());
  }
}

TEST_F(Clipboard, TranslationIsWhatPlaysAndStays) {
  WriteHostFile("\\orfeon\\lexiton.dic", "[do]c\n");
  clipboard.text = "[do]";
  dialogs.answers = {kYes, kNo};  // the translation box, then keep
  PlayClipboard();
  EXPECT_EQ("(c\n)", WorkingState.TabText);
  EXPECT_EQ("(c\r\n)", ReadHostFile("\\orfeon\\prvinfo.tab"));
  EXPECT_EQ("(c\n)", dialogs.boxes.at(1).text);
  EXPECT_EQ(1, NotesHeard());
}

TEST_F(Clipboard, CopyInformationStartsTheCompanion) {
  struct Case {
    int answer;
    bool openable;
    std::vector<std::string> started;
    bool busyBox;
  } cases[] = {
      {kYes, true, {"\\orfeon\\clipsend.exe"}, false},
      {kYes, false, {"\\orfeon\\clipsend.exe"}, true},
      {kNo, true, {}, false},
      {kCancel, true, {}, false},
  };
  for (const Case& c : cases) {
    Reset();
    WriteHostFile("\\orfeon\\prvinfo.tab", "gamme de do\r\n");
    clipboard.openable = c.openable;
    dialogs.answers = {c.answer};
    CopyInfoToClipboard();
    EXPECT_EQ(c.started, programs.started);
    if (!c.started.empty()) {
      EXPECT_EQ(std::vector<int>{3}, programs.showModes);
    }
    EXPECT_FALSE(clipboard.isOpen) << "the companion needs the clipboard free";
    ASSERT_EQ(c.busyBox ? 3u : 2u, dialogs.boxes.size());
    EXPECT_EQ("gamme de do\n", dialogs.boxes[0].text);
    EXPECT_EQ("information courante", dialogs.boxes[0].caption);
    EXPECT_EQ("oui=copier non=annuler=quitter", dialogs.boxes[1].text);
    EXPECT_EQ("voulez vous copier dans le presse papier l'information courante", dialogs.boxes[1].caption);
    if (c.busyBox) {
      EXPECT_EQ("Le presse papier n'est pas vide", dialogs.boxes[2].text);
    }
    EXPECT_EQ(std::vector<std::string>{"\\orfeon\\edition.wav"}, sound.cues);
  }
}

TEST_F(Clipboard, CopyWithoutInformationFileEndsSilently) {
  CopyInfoToClipboard();
  ASSERT_EQ(1u, dialogs.boxes.size());
  EXPECT_EQ("impossible d'ouvrir en lecture", dialogs.boxes[0].caption);
  EXPECT_TRUE(programs.started.empty());
  EXPECT_TRUE(sound.cues.empty());
}

TEST_F(Clipboard, CommandsAndHelpPages) {
  RegisterClipboardCommands();
  for (int id : {509, 611, 2010, 2011}) EXPECT_NE(nullptr, FindCommand(id)) << id;
  struct Case {
    int id;
    const char* command;
  } cases[] = {
      {2010, "start \\orfeon\\orfeon_melvane.html"},
      {2011, "start \\orfeon\\tutoriel.html"},
  };
  for (const Case& c : cases) {
    dialogs.boxes.clear();
    programs.started.clear();
    programs.showModes.clear();
    EXPECT_TRUE(RunCommand(c.id, ""));
    ASSERT_EQ(1u, dialogs.boxes.size());
    EXPECT_EQ(64u, dialogs.boxes[0].type);
    EXPECT_EQ("", dialogs.boxes[0].text);
    EXPECT_EQ("Consultez la rubrique orfeon du site sonetra", dialogs.boxes[0].caption);
    EXPECT_EQ(std::vector<std::string>{c.command}, programs.started);
    EXPECT_EQ(std::vector<int>{3}, programs.showModes);
  }
  EXPECT_TRUE(sound.cues.empty());
}

TEST_F(Clipboard, FileClipboardHoldsTheBytes) {
  std::string path = root + "/presse-papier";
  platform::Clipboard& file = drivers::FileClipboard(path.c_str());
  char text[kLongText];
  ASSERT_TRUE(file.Open());
  EXPECT_FALSE(file.ReadText(text, sizeof text)) << "a missing file is an empty clipboard";
  EXPECT_STREQ("", text);
  EXPECT_TRUE(file.WriteText("r\xE9" "cit\n"));
  EXPECT_TRUE(file.ReadText(text, sizeof text));
  EXPECT_STREQ("r\xE9" "cit\n", text);
  EXPECT_TRUE(file.ReadText(text, 3));
  EXPECT_STREQ("r\xE9", text);
  file.Close();
  std::ofstream(path, std::ios::binary) << "\xC3\xA9t\xC3\xA9";  // written by a person, in UTF-8
  EXPECT_TRUE(file.ReadText(text, sizeof text));
  EXPECT_STREQ("\xE9t\xE9", text);
  EXPECT_FALSE(drivers::FileClipboard((root + "/no/such/dir/x").c_str()).WriteText("c"));
  // A directory or a device is no clipboard: refused, never read nor replaced.
  for (const char* other : {"/", "/dev/zero", "/dev/null"}) {
    platform::Clipboard& odd = drivers::FileClipboard(other);
    EXPECT_FALSE(odd.ReadText(text, sizeof text)) << other;
    EXPECT_FALSE(odd.WriteText("c")) << other;
  }
  struct stat st;
  ASSERT_EQ(0, stat("/dev/null", &st));
  EXPECT_TRUE(S_ISCHR(st.st_mode));
}

}  // namespace
