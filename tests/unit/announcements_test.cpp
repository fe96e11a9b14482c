#include <string>

#include "core/working_state.h"
#include "fakes/fakes.h"
#include "midi/voice_player.h"

namespace {

using Announcements = PavTest;

struct Shown {
  uint32_t length;
  const char* text;
  const char* caption;
};

TEST_F(Announcements, RestNames) {
  const Shown rests[] = {
      {1000, "pause", ""},
      {2000, "demi pause", ""},
      {4000, "soupir", ""},
      {8000, "demi soupir", ""},
      {16000, "quart de  soupir", ""},
      {32000, "huiti\xE8me de soupir", ""},
      {64000, "seizi\xE8me de soupir", ""},
      {666, "", "pause point\xE9""e"},
      {1333, "", "demi pause point\xE9""e"},
      {2666, "", "soupir point\xE9""e"},
      {5333, "", "demi soupir point\xE9""e"},
      {10666, "", "quart de soupir point\xE9""e"},
      {21333, "", "huiti\xE8me de soupir point\xE9""e"},
      {42666, "", "seizi\xE8me de soupir point\xE9""e"},
  };
  for (const Shown& r : rests) {
    dialogs.boxes.clear();
    dialogs.answers = {7};
    EXPECT_EQ(7, AnnounceNote(0, r.length)) << r.length;
    ASSERT_EQ(1u, dialogs.boxes.size()) << r.length;
    EXPECT_EQ(3u, dialogs.boxes[0].type);
    EXPECT_EQ(r.text, dialogs.boxes[0].text) << r.length;
    EXPECT_EQ(r.caption, dialogs.boxes[0].caption) << r.length;
  }
  dialogs.boxes.clear();
  for (uint32_t length : {3000u, 2285u, 0u, 4001u}) EXPECT_EQ(0, AnnounceNote(0, length)) << length;
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Announcements, ValueNames) {
  const Shown values[] = {
      {1000, "", "ronde"},
      {2000, "", "blanche"},
      {4000, "", "noire"},
      {8000, "", "croche"},
      {16000, "", "double croche"},
      {32000, "triple croche", ""},
      {64000, "", "quadruple croche"},
      {3000, "triolet de blanche", ""},
      {6000, "triolet de noire", ""},
      {12000, "triolet de croche", ""},
      {24000, "triolet de double croche", ""},
      {48000, "triolet de triplecroche", ""},
      {666, "", "ronde point\xE9""e"},
      {1333, "", "blanche point\xE9""e"},
      {2666, "", "noire point\xE9""e"},
      {5333, "", "croche point\xE9""e"},
      {10666, "", "double croche point\xE9""e"},
      {21333, "", "triple croche point\xE9""e"},
      {42666, "", "quadruple croche point\xE9""e"},
  };
  for (const Shown& v : values) {
    dialogs.boxes.clear();
    dialogs.answers = {6};
    EXPECT_EQ(6, AnnounceValue(v.length)) << v.length;
    ASSERT_EQ(1u, dialogs.boxes.size()) << v.length;
    EXPECT_EQ(v.text, dialogs.boxes[0].text) << v.length;
    EXPECT_EQ(v.caption, dialogs.boxes[0].caption) << v.length;
  }
  dialogs.boxes.clear();
  for (uint32_t length : {2285u, 0u, 96000u}) EXPECT_EQ(0, AnnounceValue(length)) << length;
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Announcements, NoteNamesFollowTheKeySignature) {
  static const char* const kSharps[] = {"do", "do di\xE8se",  "r\xE9", "r\xE9 di\xE8se", "mi", "fa",
                          "fa di\xE8se", "sol", "sol di\xE8se", "la", "la di\xE8se", "si"};
  static const char* const kFlats[] = {"do",  "r\xE9 b\xE9mol", "r\xE9", "mi b\xE9mol", "mi", "fa",
                         "sol b\xE9mol", "sol", "la b\xE9mol", "la", "si b\xE9mol", "si"};
  static const struct {
    const char* signature;
    bool sharp;
  } kSignatures[] = {{"", false}, {"f+", true}, {"b-e-", false}, {"c+f+", true}, {"b-f+", true}};
  for (const auto& s : kSignatures) {
    CopyText(WorkingState.KeySignature, s.signature);
    const char* const* names = s.sharp ? kSharps : kFlats;
    for (int pitch = 1; pitch < 128; pitch += 1) {
      dialogs.boxes.clear();
      AnnounceNote(static_cast<uint8_t>(pitch), 4000);
      ASSERT_EQ(1u, dialogs.boxes.size());
      EXPECT_EQ(names[pitch % 12], dialogs.boxes[0].text) << pitch;
      EXPECT_EQ("", dialogs.boxes[0].caption);
    }
  }
  dialogs.boxes.clear();
  EXPECT_EQ(0, AnnounceNote(200, 4000));  // a negative pitch has no name
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Announcements, ModesAndMarks) {
  const char* modes[] = {"normal", "legato", "staccato", "tenu"};
  for (uint8_t mode = 0; mode < 4; ++mode) {
    dialogs.boxes.clear();
    AnnounceMode(mode);
    ASSERT_EQ(1u, dialogs.boxes.size());
    EXPECT_EQ(modes[mode], dialogs.boxes[0].text);
    EXPECT_EQ("mode", dialogs.boxes[0].caption);
  }
  struct Mark {
    char mark;
    const char* word;
  } marks[] = {{'(', "d\xE9""but"}, {'[', "d\xE9""but"}, {'{', "d\xE9""but"}, {')', "fin"},
               {']', "fin"},       {'}', "fin"},       {'a', "allegro"},   {'c', "crechendo"},
               {'d', "diminuendo"}, {'e', "fort\xE9"},  {'m', "mod\xE9rato"}, {'p', "piano"},
               {'r', "ralentir"},  {'v', "vivatche"}};
  for (const Mark& m : marks) {
    dialogs.boxes.clear();
    dialogs.answers = {2};
    EXPECT_EQ(2, AnnounceMark(m.mark));
    ASSERT_EQ(1u, dialogs.boxes.size());
    EXPECT_EQ("", dialogs.boxes[0].text);
    EXPECT_EQ(m.word, dialogs.boxes[0].caption);
  }
  dialogs.boxes.clear();
  EXPECT_EQ(0, AnnounceMode(4));
  for (char mark : {'\0', 'x', 'b', '<', 'A'}) EXPECT_EQ(0, AnnounceMark(mark));
  EXPECT_TRUE(dialogs.boxes.empty());
}

}  // namespace
