#include <set>
#include <string>

#include <gtest/gtest.h>

#include "app/document_window.h"
#include "app/program_start.h"
#include "app/tool_bar.h"
#include "core/command_rows.h"
#include "core/command_table.h"
#include "drivers/console_commands.h"
#include "fakes/fakes.h"
#include "platform/stop_request.h"

namespace {

TEST(MenuTable, PopupsInOrderWithTheirFirstAndLastItems) {
  struct Case {
    const char* title;
    int first, last, count;
  } cases[] = {{"&Tabla", 24331, 24310, 14},   {"&Edit", 24319, 24325, 10},
               {"&Rechercher", 24351, 24353, 3}, {"&Init", 400, 407, 8},
               {"&Harm", 500, 509, 11},        {"&Outils", 600, 610, 12},
               {"&Pratique", 700, 704, 6},     {"&Aide", 2009, 2011, 3}};
  ASSERT_EQ(8u, Menus().size());
  for (size_t p = 0; p < Menus().size(); ++p) {
    const TMenu& popup = Menus()[p];
    EXPECT_STREQ(cases[p].title, popup.title);
    int entries = 0;  // items and separators
    for (const TCommandRow& row : popup.rows) entries += row.separatorBefore ? 2 : 1;
    EXPECT_EQ(cases[p].count, entries) << popup.title;
    EXPECT_EQ(cases[p].first, popup.rows.front().id) << popup.title;
    EXPECT_EQ(cases[p].last, popup.rows.back().id) << popup.title;
    for (const TCommandRow& row : popup.rows) EXPECT_EQ(static_cast<int>(p), row.menu) << row.id;
  }
}

TEST(MenuTable, ItemsTextsAcceleratorsAndState) {
  struct Case {
    int id;
    const char* text;
    unsigned modifiers;
    TKey key;
    bool grayed;
  } cases[] = {
      {24310, "E&xit\tAlt+F4", 0, TKey::None, false},
      {24321, "&Undo\tAlt+BkSp", kAltKey, TKey::Backspace, true},
      {24322, "&Couper\tShift+Del", kShiftKey, TKey::Delete, true},
      {24323, "&Copier\tCtrl+Ins", kCtrlKey, TKey::Insert, true},
      {24324, "&Coller\tShift+Ins", kShiftKey, TKey::Insert, true},
      {24326, "Clear &All\tCtrl+Del", kCtrlKey, TKey::Delete, true},
      {24325, "&Delete\tDel", 0, TKey::None, true},
      {24334, "Enregistrer sous...", 0, TKey::None, true},
      {400, "&Défaut\tCTRL+F1", kCtrlKey, TKey::F1, false},
      {402, "&Tempo\tF12", 0, TKey::F12, false},
      {502, "&Degré\tALT+F11", kAltKey, TKey::F11, false},
      {503, "&Gamme\tF2", 0, TKey::F2, false},
      {507, "Répét&ition\tALT+F12", kAltKey, TKey::F12, false},
      {603, "&Précédent", 0, TKey::None, false},
      {606, "&Doigté", 0, TKey::None, false},
      {2011, "&Tutoriel\tF1", 0, TKey::F1, false},
  };
  for (const Case& c : cases) {
    const TCommandRow* item = FindCommandRow(c.id);
    ASSERT_NE(nullptr, item) << c.id;
    EXPECT_STREQ(c.text, item->text) << c.id;
    EXPECT_EQ(c.modifiers, item->accelerator.modifiers) << c.id;
    EXPECT_EQ(c.key, item->accelerator.key) << c.id;
    EXPECT_EQ(c.grayed, item->grayed) << c.id;
  }
  EXPECT_EQ(nullptr, FindCommandRow(0));
  EXPECT_EQ(nullptr, FindCommandRow(12345));
}

TEST(MenuTable, NoTwoItemsShareAnIdOrAnAccelerator) {
  std::set<int> ids;
  std::set<std::pair<unsigned, TKey>> keys;
  int items = 0;
  for (const TCommandRow& item : CommandRows()) {
    ++items;
    EXPECT_TRUE(ids.insert(item.id).second) << item.id;
    if (item.accelerator.key != TKey::None) {
      EXPECT_TRUE(keys.insert({item.accelerator.modifiers, item.accelerator.key}).second) << item.id;
    }
  }
  EXPECT_EQ(60, items);
  EXPECT_EQ(30u, keys.size());
}

TEST(MenuTable, HintsAndToolBar) {
  EXPECT_STREQ("Quits PavSdi and prompts to save the documents", MenuHint(24310));
  EXPECT_STREQ("Edit operations", MenuHint(24320));
  EXPECT_STREQ("About the PavSdi application", MenuHint(2009));
  EXPECT_STREQ("", MenuHint(503));
  EXPECT_STREQ("", MenuHint(999));
  const int expected[] = {24331, 24332, 24333, 0,     24322, 24323, 24324, 0,
                          24321, 0,     24351, 24353, 0,     24337, 24340};
  ASSERT_EQ(15, kToolBarButtonCount);
  for (int i = 0; i < kToolBarButtonCount; ++i) {
    EXPECT_EQ(expected[i], kToolBarButtons[i]) << i;
    if (kToolBarButtons[i]) {
      EXPECT_STRNE("", MenuHint(kToolBarButtons[i])) << kToolBarButtons[i];
    }
  }
}

// The commands the window registers itself, with its toolkit: exit closes
// the main window, about and printing show the toolkit's dialogs.
const std::set<int> kWindowOwnCommands = {kExitCommand, kAboutCommand, kPrintCommand,
                                          kPrintSetupCommand, kPrintPreviewCommand};

TEST(MenuTable, EveryRowHasAnActionInTheWindowAndAtTheTerminal) {
  ClearCommands();
  RegisterApplicationCommands();
  RegisterDocumentCommands();
  for (const TCommandRow& row : CommandRows()) {
    bool own = kWindowOwnCommands.count(row.id);
    EXPECT_TRUE(FindCommand(row.id) || own) << "no action in the window: " << row.name;
    EXPECT_FALSE(FindCommand(row.id) && own) << "attached twice: " << row.name;
  }
  // The terminal ends its loop on Exit itself; what the window only does
  // is refused by name before it would run.
  ClearCommands();
  RegisterApplicationCommands();
  drivers::RegisterConsoleCommands();
  for (const TCommandRow& row : CommandRows()) {
    if (!row.windowOnly && row.id != kExitCommand) {
      EXPECT_TRUE(FindCommand(row.id)) << "no action at the terminal: " << row.name;
    }
  }
  ClearCommands();
}

bool escapeHeld = false;

TEST(StopRequest, PolledSourceLatchesUntilCleared) {
  platform::ClearStopRequest();
  fakes::UseStopPoll([] { return escapeHeld; });
  EXPECT_FALSE(platform::StopRequested());
  escapeHeld = true;
  EXPECT_TRUE(platform::StopRequested());
  escapeHeld = false;
  EXPECT_TRUE(platform::StopRequested()) << "a short press is not lost";
  platform::ClearStopRequest();
  EXPECT_FALSE(platform::StopRequested());
  fakes::UseStopPoll(nullptr);
  platform::RequestStop();
  EXPECT_TRUE(platform::StopRequested());
  platform::ClearStopRequest();
}

}  // namespace
