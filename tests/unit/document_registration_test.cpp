#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/document_registration.h"
#include "drivers/freedesktop_registry.h"
#include "fakes/fakes.h"
#include "platform/registry.h"

namespace {

class RecordingRegistry : public platform::Registry {
 public:
  bool SetValue(const char* key, const char* value) override {
    calls.push_back(std::string("set ") + key + "=" + value);
    return true;
  }
  bool DeleteKey(const char* key) override {
    calls.push_back(std::string("delete ") + key);
    return true;
  }
  bool RemoveValue(const char* key, const char* value) override {
    calls.push_back(std::string("remove ") + key + "=" + value);
    return true;
  }
  std::vector<std::string> calls;
};

class RegistrationTest : public PavTest {
 protected:
  void SetUp() override {
    PavTest::SetUp();
    fakes::Use(&registry);
    char path[260];
    ASSERT_TRUE(platform::ProgramFilePath(path, sizeof path));
    program = path;
  }
  void TearDown() override {
    fakes::Use(static_cast<platform::Registry*>(nullptr));
    PavTest::TearDown();
  }
  void Run(std::vector<const char*> args) {
    args.insert(args.begin(), "pavsdi");
    RegisterOrUnregister(static_cast<int>(args.size()), args.data());
  }
  std::vector<std::string> Registered() const {
    return {"set PavSdi.Application\\DefaultIcon=" + program,
            "set PavSdi.Document.1\\DefaultIcon=" + program + ",1", "set .tab=PavSdi.Document.1",
            "set .txt\\OpenWithProgids=PavSdi.Document.1"};
  }

  RecordingRegistry registry;
  std::string program;
};

TEST(UnregisterOption, MatchesAnyBeginningOfTheWordInAnyCase) {
  struct Case {
    const char* token;
    bool matches;
  } cases[] = {
      {"/UNREG", true},        {"-unregister", true}, {"/u", true},           {"-UnReGiStEr", true},
      {"/unregistered", false}, {"unreg", false},      {"-unregx", false},     {"/", false},
      {"-", false},             {"/reg", false},       {"--unregister", false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.matches, IsUnregisterOption(c.token)) << c.token;
}

TEST_F(RegistrationTest, AStartWritesTheThreeValuesThenTheEditionCue) {
  Run({});
  EXPECT_EQ(Registered(), registry.calls);
  EXPECT_EQ(std::vector<std::string>{"\\orfeon\\edition.wav"}, sound.cues);
}

TEST_F(RegistrationTest, OtherTokensOnlyRegister) {
  Run({"piece.txt", "-verbose", "/x"});
  EXPECT_EQ(Registered(), registry.calls);
}

TEST_F(RegistrationTest, UnregisterRemovesTheEntriesWithoutCue) {
  Run({"other", "/UNREG", "-unregister"});
  std::vector<std::string> expected{"delete PavSdi.Application\\DefaultIcon",
                                    "delete PavSdi.Document.1\\DefaultIcon", "delete PavSdi.Application",
                                    "delete PavSdi.Document.1", "remove .tab=PavSdi.Document.1",
                                    "remove .txt\\OpenWithProgids=PavSdi.Document.1"};
  EXPECT_EQ(expected, registry.calls);
  EXPECT_TRUE(sound.cues.empty());
}

// The freedesktop back end in temporary XDG directories.
class DesktopRegistryTest : public PavTest {
 protected:
  void SetUp() override {
    PavTest::SetUp();
    Save("XDG_DATA_HOME", root + "/data");
    Save("XDG_CONFIG_HOME", root + "/config");
  }
  void TearDown() override {
    for (auto& [name, value] : saved_) {
      if (value.first) setenv(name.c_str(), value.second.c_str(), 1);
      else unsetenv(name.c_str());
    }
    PavTest::TearDown();
  }
  void Save(const std::string& name, const std::string& value) {
    const char* old = std::getenv(name.c_str());
    saved_.push_back({name, {old != nullptr, old ? old : ""}});
    setenv(name.c_str(), value.c_str(), 1);
  }
  std::string Read(const std::string& path) {
    std::ifstream in(root + path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  void Write(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(root + path).parent_path());
    std::ofstream(root + path, std::ios::binary) << text;
  }
  bool Exists(const std::string& path) { return std::filesystem::exists(root + path); }

  drivers::FreedesktopRegistry desktop;

 private:
  std::vector<std::pair<std::string, std::pair<bool, std::string>>> saved_;
};

TEST_F(DesktopRegistryTest, RegistrationAndUnregistrationRestoreTheEarlierDefault) {
  const std::string list =
      "[Added Associations]\ntext/plain=other.desktop;\n\n[Default Applications]\n"
      "text/html=web.desktop\ntext/plain=editor.desktop;other.desktop;\n"
      "text/x-pavsdi-tablature=viewer.desktop\n";
  Write("/config/mimeapps.list", list);
  fakes::Use(&desktop);
  RegisterDocumentType();
  // A second start must not take our own entry for the earlier default.
  RegisterDocumentType();
  std::string registered = Read("/config/mimeapps.list");
  // Text files keep their editor and offer us beside it.
  EXPECT_EQ("[Added Associations]\ntext/plain=other.desktop;PavSdi.Document.1.desktop;\n\n"
            "[Default Applications]\ntext/html=web.desktop\ntext/plain=editor.desktop;other.desktop;\n"
            "text/x-pavsdi-tablature=PavSdi.Document.1.desktop;\n",
            registered);
  std::string entry = Read("/data/applications/PavSdi.Document.1.desktop");
  EXPECT_NE(std::string::npos, entry.find("Icon=PavSdi.Document.1\n"));
  EXPECT_NE(std::string::npos, entry.find(" %f\n"));
  EXPECT_NE(std::string::npos, Read("/data/applications/PavSdi.Application.desktop").find("Exec="));
  EXPECT_TRUE(Exists("/data/icons/hicolor/scalable/apps/PavSdi.Document.1.svg"));

  UnregisterDocumentType();
  fakes::Use(static_cast<platform::Registry*>(nullptr));
  EXPECT_EQ(list, Read("/config/mimeapps.list"));
  EXPECT_FALSE(Exists("/data/applications/PavSdi.Document.1.desktop"));
  EXPECT_FALSE(Exists("/data/applications/PavSdi.Application.desktop"));
  EXPECT_FALSE(Exists("/data/icons/hicolor/scalable/apps/PavSdi.Application.svg"));
}

TEST_F(DesktopRegistryTest, WithoutAnEarlierDefaultUnregistrationLeavesNone) {
  EXPECT_TRUE(desktop.SetValue(".txt", "PavSdi.Document.1"));
  EXPECT_TRUE(desktop.RemoveValue(".txt", "PavSdi.Document.1"));
  std::string value;
  EXPECT_FALSE(drivers::DefaultApplication(Read("/config/mimeapps.list"), "text/plain", &value));
}

TEST_F(DesktopRegistryTest, AnOfferTheUserHadMadeStays) {
  const std::string list = "[Added Associations]\ntext/plain=PavSdi.Document.1.desktop;\n";
  Write("/config/mimeapps.list", list);
  EXPECT_TRUE(desktop.SetValue(".txt\\OpenWithProgids", "PavSdi.Document.1"));
  EXPECT_TRUE(desktop.RemoveValue(".txt\\OpenWithProgids", "PavSdi.Document.1"));
  EXPECT_EQ(list, Read("/config/mimeapps.list"));
  Write("/config/mimeapps.list", "");
  EXPECT_TRUE(desktop.SetValue(".txt\\OpenWithProgids", "PavSdi.Document.1"));
  EXPECT_TRUE(desktop.RemoveValue(".txt\\OpenWithProgids", "PavSdi.Document.1"));
  std::string value;
  EXPECT_FALSE(drivers::DefaultApplication(Read("/config/mimeapps.list"), "text/plain", &value,
                                           "[Added Associations]"));
}

TEST_F(DesktopRegistryTest, AChoiceMadeSinceRegistrationStays) {
  Write("/config/mimeapps.list", "[Default Applications]\ntext/plain=editor.desktop\n");
  desktop.SetValue(".txt", "PavSdi.Document.1");
  Write("/config/mimeapps.list",
        "[Default Applications]\ntext/plain=chosen.desktop;PavSdi.Document.1.desktop;\n");
  desktop.RemoveValue(".txt", "PavSdi.Document.1");
  EXPECT_EQ("[Default Applications]\ntext/plain=chosen.desktop;\n", Read("/config/mimeapps.list"));
}

TEST_F(DesktopRegistryTest, ExecQuotesAPathWithBlanks) {
  desktop.SetValue("PavSdi.Application\\DefaultIcon", "/opt/mes programmes/pavsdi");
  std::string entry = Read("/data/applications/PavSdi.Application.desktop");
  EXPECT_NE(std::string::npos, entry.find("Exec=\"/opt/mes programmes/pavsdi\" %f\n")) << entry;
  EXPECT_EQ(std::string::npos, entry.find("NoDisplay"));
}

TEST_F(DesktopRegistryTest, AnExtensionKeyIsNeverDeletedWhole) {
  Write("/config/mimeapps.list", "[Default Applications]\ntext/plain=editor.desktop\n");
  EXPECT_FALSE(desktop.DeleteKey(".txt"));
  EXPECT_EQ("[Default Applications]\ntext/plain=editor.desktop\n", Read("/config/mimeapps.list"));
}

TEST(MimeAppsList, SetsReplacesAndRemovesOneDefault) {
  struct Case {
    const char* list;
    const char* value;
    const char* expected;
  } cases[] = {
      {"", "ours.desktop;", "[Default Applications]\ntext/plain=ours.desktop;\n"},
      {"[Added Associations]\na/b=x\n", "ours.desktop;",
       "[Added Associations]\na/b=x\n\n[Default Applications]\ntext/plain=ours.desktop;\n"},
      {"[Default Applications]\na/b=x\n\n[Other]\nk=v\n", "ours.desktop;",
       "[Default Applications]\na/b=x\ntext/plain=ours.desktop;\n\n[Other]\nk=v\n"},
      {"[Default Applications]\ntext/plain=old\n", "ours.desktop;",
       "[Default Applications]\ntext/plain=ours.desktop;\n"},
      {"[Default Applications]\ntext/plain=old\ntext/plainer=x\n", "",
       "[Default Applications]\ntext/plainer=x\n"},
      // A group left empty leaves with its header.
      {"[Added Associations]\na/b=x\n\n[Default Applications]\ntext/plain=old\n", "",
       "[Added Associations]\na/b=x\n"},
      {"[Default Applications]\ntext/plain=old\n\n[Other]\nk=v\n", "", "[Other]\nk=v\n"},
      // The same type in another group is not ours to change.
      {"[Added Associations]\ntext/plain=old\n", "", "[Added Associations]\ntext/plain=old\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.expected, drivers::SetDefaultApplication(c.list, "text/plain", c.value)) << c.list;
}

TEST(MimeDatabase, TxtIsPlainTextAndTabOurs) {
  EXPECT_EQ("text/plain", drivers::MimeTypeOfExtension(".TXT"));
  EXPECT_EQ("text/x-pavsdi-tablature", drivers::MimeTypeOfExtension(".tab"));
}

}  // namespace
