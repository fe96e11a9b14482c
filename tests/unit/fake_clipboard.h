// A clipboard for the tests: holds a text or none, can refuse to open, and
// checks that it is used only while open.
#pragma once
#include <string>

#include <gtest/gtest.h>

#include "platform/clipboard.h"

class FakeClipboard : public platform::Clipboard {
 public:
  bool Open() override {
    ++opens;
    if (!openable) return false;
    EXPECT_FALSE(isOpen) << "opened twice";
    isOpen = true;
    return true;
  }
  platform::TClipboardText ReadText(char* buffer, int size) override {
    EXPECT_TRUE(isOpen);
    buffer[0] = 0;
    if (text.size() > platform::kClipboardLimit) return platform::TClipboardText::kTooLong;
    int n = 0;
    for (; n < size - 1 && n < static_cast<int>(text.size()); ++n) buffer[n] = text[n];
    buffer[n] = 0;
    return n > 0 ? platform::TClipboardText::kText : platform::TClipboardText::kNone;
  }
  bool WriteText(const char* t) override {
    EXPECT_TRUE(isOpen);
    text = t;
    return true;
  }
  void Close() override {
    EXPECT_TRUE(isOpen);
    isOpen = false;
  }

  bool openable = true;
  bool isOpen = false;
  int opens = 0;
  std::string text;
};
