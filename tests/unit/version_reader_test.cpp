#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/about_texts.h"
#include "app/project_rc_version.h"
#include "app/version_block.h"
#include "fakes/fakes.h"

namespace {

using Bytes = std::vector<unsigned char>;

void Pad(Bytes& b) {
  while (b.size() % 4) b.push_back(0);
}

void PutWord(Bytes& b, unsigned w) {
  b.push_back(static_cast<unsigned char>(w & 0xFF));
  b.push_back(static_cast<unsigned char>(w >> 8));
}

// One node of a version block, laid out as the build lays it.
Bytes Node(const std::string& key, const Bytes& value, unsigned valueLength, bool text,
           const std::vector<Bytes>& children = {}) {
  Bytes b;
  PutWord(b, 0);
  PutWord(b, valueLength);
  PutWord(b, text ? 1 : 0);
  for (char c : key) PutWord(b, static_cast<unsigned char>(c));
  PutWord(b, 0);
  Pad(b);
  b.insert(b.end(), value.begin(), value.end());
  for (const Bytes& child : children) {
    Pad(b);
    b.insert(b.end(), child.begin(), child.end());
  }
  b[0] = static_cast<unsigned char>(b.size() & 0xFF);
  b[1] = static_cast<unsigned char>(b.size() >> 8);
  return b;
}

Bytes String(const std::string& key, const std::string& value) {
  Bytes v;
  for (char c : value) PutWord(v, static_cast<unsigned char>(c));
  PutWord(v, 0);
  return Node(key, v, static_cast<unsigned>(v.size() / 2), true);
}

struct BlockSpec {
  std::vector<std::pair<std::string, std::string>> strings;
  const char* table = "040904E4";
  bool translation = true;
};

Bytes Block(const BlockSpec& spec) {
  std::vector<Bytes> strings;
  for (auto& [k, v] : spec.strings) strings.push_back(String(k, v));
  std::vector<Bytes> parts{Node("StringFileInfo", {}, 0, true, {Node(spec.table, {}, 0, true, strings)})};
  if (spec.translation)
    parts.push_back(Node("VarFileInfo", {}, 0, true, {Node("Translation", {0x09, 0x04, 0xE4, 0x04}, 4, false)}));
  return Node("VS_VERSION_INFO", Bytes(52, 0), 52, false, parts);
}

formats::TModule Module(const Bytes& block) { return {block.data(), static_cast<unsigned>(block.size())}; }

class VersionReaderTest : public PavTest {
 protected:
  TAboutTexts Fill(const formats::TModule& module) {
    TAboutTexts texts;
    std::strcpy(texts.version, "Version");
    texts.copyright[0] = texts.special[0] = 0;
    TProjectRCVersion version(module);
    FillAboutTexts(version, texts);
    return texts;
  }
};

TEST(VersionReader, StringPathsNameTheTableInLowerCase) {
  char path[96];
  TProjectRCVersion::StringPath(0x040904E4, "ProductName", path, sizeof path);
  EXPECT_STREQ("\\StringFileInfo\\040904e4\\ProductName", path);
}

TEST_F(VersionReaderTest, TheEmbeddedBlockNamesTheProductAndItsVersion) {
  TProjectRCVersion version(ProgramModule());
  const char *name = nullptr, *number = nullptr, *copyright = nullptr, *special = nullptr;
  ASSERT_TRUE(version.GetProductName(name));
  ASSERT_TRUE(version.GetProductVersion(number));
  ASSERT_TRUE(version.GetCopyright(copyright));
  EXPECT_FALSE(version.GetSpecialBuild(special));
  EXPECT_STREQ("PavSdi", name);
  EXPECT_STREQ(PAVSDI_VERSION, number);
  // The notice's sign comes as its Windows-1252 byte.
  EXPECT_STREQ("Copyright \xA9 Pavane", copyright);
  // Texts found earlier stay valid beside later ones.
  EXPECT_STREQ("PavSdi", name);

  void* value = nullptr;
  unsigned length = 0;
  std::vector<unsigned char> data(formats::GetFileVersionInfoSize(ProgramModule()));
  ASSERT_TRUE(formats::GetFileVersionInfo(ProgramModule(), static_cast<unsigned>(data.size()), data.data()));
  ASSERT_TRUE(formats::VerQueryValue(data.data(), "\\", &value, &length));
  EXPECT_EQ(52u, length);
  uint32_t signature;
  std::memcpy(&signature, value, 4);
  EXPECT_EQ(0xFEEF04BDu, signature);
  int keys = 0;
  for (const char* key : {"Comments", "CompanyName", "FileDescription", "FileVersion", "InternalName",
                          "LegalCopyright", "OriginalFilename", "ProductName", "ProductVersion"}) {
    std::string path = std::string("\\StringFileInfo\\040904E4\\") + key;
    keys += formats::VerQueryValue(data.data(), path.c_str(), &value, &length);
  }
  EXPECT_EQ(9, keys);
  EXPECT_TRUE(sound.cues.empty());
}

TEST_F(VersionReaderTest, AboutTextsFromHandMadeBlocks) {
  struct Case {
    const char* name;
    BlockSpec spec;
    const char* version;
    const char* copyright;
    const char* special;
    size_t cues;
  } cases[] = {
      {"complete", {{{"ProductName", "Luth"}, {"ProductVersion", "2.1"}, {"LegalCopyright", "(c) L"},
                     {"SpecialBuild", "essai"}}},
       "Luth Version 2.1", "(c) L", "essai", 0},
      {"no special build", {{{"ProductName", "Luth"}, {"ProductVersion", "2.1"}, {"LegalCopyright", "(c) L"}}},
       "Luth Version 2.1", "(c) L", "", 0},
      {"no product version", {{{"ProductName", "Luth"}, {"LegalCopyright", "(c) L"}}},
       "Version", "(c) L", "", 0},
      {"table named in lower case", {{{"ProductName", "Luth"}, {"ProductVersion", "3"}}, "040904e4"},
       "Luth Version 3", "", "", 0},
      {"another table", {{{"ProductName", "Luth"}, {"ProductVersion", "3"}}, "040904B0"},
       "Version", "", "", 0},
      {"no translation", {{{"ProductName", "Luth"}, {"ProductVersion", "3"}}, "040904E4", false},
       "Version", "", "", 1},
  };
  for (const Case& c : cases) {
    sound.cues.clear();
    Bytes block = Block(c.spec);
    TAboutTexts texts = Fill(Module(block));
    EXPECT_STREQ(c.version, texts.version) << c.name;
    EXPECT_STREQ(c.copyright, texts.copyright) << c.name;
    EXPECT_STREQ(c.special, texts.special) << c.name;
    EXPECT_EQ(c.cues, sound.cues.size()) << c.name;
  }
}

TEST_F(VersionReaderTest, NoBlockSoundsTheCueOnce) {
  TAboutTexts texts = Fill({nullptr, 0});
  EXPECT_STREQ("Version", texts.version);
  EXPECT_EQ(std::vector<std::string>{"\\orfeon\\edition.wav"}, sound.cues);
}

TEST_F(VersionReaderTest, TheVersionLineStaysWithin127Characters) {
  Bytes block = Block({{{"ProductName", std::string(100, 'n')}, {"ProductVersion", std::string(100, 'v')}}});
  TAboutTexts texts = Fill(Module(block));
  EXPECT_EQ(127u, std::strlen(texts.version));
  EXPECT_EQ(0, std::strncmp(texts.version, (std::string(100, 'n') + " Version ").c_str(), 109));
}

TEST_F(VersionReaderTest, MalformedBlocksAreNoVersionData) {
  Bytes good = Block({{{"ProductName", "Luth"}, {"ProductVersion", "3"}}});
  Bytes cut(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
  Bytes liar = good;
  liar[0] = 0xFF;
  liar[1] = 0xFF;  // longer than the module
  Bytes deep = good;
  deep[92] = 0xFF;  // the first child running past its parent
  deep[93] = 0x0F;
  for (const Bytes* block : {&cut, &liar, &deep}) {
    TAboutTexts texts = Fill(Module(*block));
    EXPECT_STREQ("Version", texts.version);
  }
}

TEST(VersionReader, TextsStayInsideTheCopyWhateverTheirUnits) {
  // Lone surrogates and characters Windows-1252 lacks: one byte each, so a
  // text never grows past the room its units leave.
  Bytes value;
  for (int i = 0; i < 40; ++i) PutWord(value, i % 2 ? 0xD800 : 0x263A);
  PutWord(value, 0);
  Bytes table = Node("040904E4", {}, 0, true, {Node("ProductName", value, 41, true)});
  Bytes block = Node("VS_VERSION_INFO", {}, 0, false, {Node("StringFileInfo", {}, 0, true, {table})});
  formats::TModule module = Module(block);
  unsigned size = formats::GetFileVersionInfoSize(module);
  ASSERT_GT(size, 0u);
  std::vector<unsigned char> data(size + 64, 0xAB);
  ASSERT_TRUE(formats::GetFileVersionInfo(module, size, data.data()));
  void* text = nullptr;
  unsigned length = 0;
  ASSERT_TRUE(formats::VerQueryValue(data.data(), "\\StringFileInfo\\040904e4\\ProductName", &text,
                                      &length));
  EXPECT_EQ(std::string(40, '?'), static_cast<const char*>(text));
  for (unsigned i = size; i < data.size(); ++i) ASSERT_EQ(0xAB, data[i]) << "written past the copy";
}

}  // namespace
