// The document types in the user's classes as a start of the window writes
// them and "-unregister" takes them back, through the real registry, under
// a key of the test's own (the installer's test shares the prefix).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/document_registration.h"
#include "drivers/windows/classes_registry.h"
#include "fakes/fakes.h"
#include "formats/wide_text.h"
#include "platform/registry.h"

namespace {

const wchar_t kAbsent[] = L"<absent>";

class ClassesRegistryTest : public PavTest {
 protected:
  void SetUp() override {
    PavTest::SetUp();
    top_ = L"Software\\PavSdiTest" + std::to_wstring(GetCurrentProcessId());
    classes_ = top_ + L"\\Classes";
    registry_ = new drivers::ClassesRegistry(classes_.c_str());
    fakes::Use(registry_);
    char path[260];
    ASSERT_TRUE(platform::ProgramFilePath(path, sizeof path));
    program_ = formats::Widen(path);
  }
  void TearDown() override {
    fakes::Use(static_cast<platform::Registry*>(nullptr));
    delete registry_;
    RegDeleteTreeW(HKEY_CURRENT_USER, top_.c_str());
    PavTest::TearDown();
  }
  // A key's value (nullptr: its default) as the test lays it beforehand.
  void Put(const wchar_t* key, const wchar_t* name, const wchar_t* text) {
    HKEY handle;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, (classes_ + L"\\" + key).c_str(), 0, nullptr, 0,
                                             KEY_WRITE, nullptr, &handle, nullptr));
    if (text)
      RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                     static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
    else
      RegSetValueExW(handle, name, 0, REG_NONE, nullptr, 0);
    RegCloseKey(handle);
  }
  // The text of a value, "" for one without data, kAbsent when the value
  // or its key is not there.
  std::wstring Get(const wchar_t* key, const wchar_t* name = nullptr) const {
    wchar_t text[1024] = L"";
    DWORD size = sizeof text;
    LONG result = RegGetValueW(HKEY_CURRENT_USER, (classes_ + L"\\" + key).c_str(), name,
                               RRF_RT_REG_SZ | RRF_RT_REG_NONE, nullptr, text, &size);
    return result == ERROR_SUCCESS ? std::wstring(text, size ? size / sizeof(wchar_t) - 1 : 0) : kAbsent;
  }
  bool Exists(const wchar_t* key) const {
    HKEY handle;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, (classes_ + L"\\" + key).c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
      return false;
    RegCloseKey(handle);
    return true;
  }

  std::wstring top_, classes_, program_;
  drivers::ClassesRegistry* registry_ = nullptr;
};

TEST_F(ClassesRegistryTest, RegistrationOpensTabFilesOffersTextFilesAndUnregistrationLeavesWhatWasThere) {
  Put(L".txt", nullptr, L"txtfile");
  Put(L".txt", L"Content Type", L"text/plain");
  // Every start of the window registers again: the second changes nothing.
  for (int start = 0; start < 2; ++start) {
    RegisterDocumentType();
    EXPECT_EQ(program_, Get(L"PavSdi.Application\\DefaultIcon"));
    EXPECT_EQ(program_ + L",1", Get(L"PavSdi.Document.1\\DefaultIcon"));
    EXPECT_EQ(L"\"" + program_ + L"\" \"%1\"", Get(L"PavSdi.Document.1\\shell\\open\\command"));
    EXPECT_EQ(L"PavSdi.Document.1", Get(L".tab"));
    EXPECT_EQ(L"txtfile", Get(L".txt"));
    EXPECT_EQ(L"", Get(L".txt\\OpenWithProgids", L"PavSdi.Document.1"));
  }
  UnregisterDocumentType();
  for (const wchar_t* gone : {L"PavSdi.Application", L"PavSdi.Document.1", L".tab", L".txt\\OpenWithProgids"})
    EXPECT_FALSE(Exists(gone)) << formats::Narrow(gone);
  EXPECT_EQ(L"txtfile", Get(L".txt"));
  EXPECT_EQ(L"text/plain", Get(L".txt", L"Content Type"));
}

TEST_F(ClassesRegistryTest, UnregistrationPutsBackTheReplacedDefaultUnlessTheUserChoseAnotherSince) {
  struct Case {
    const wchar_t* before;  // .tab's default before the registration
    const wchar_t* chosen;  // the one set between registration and removal
    const wchar_t* after;
  } cases[] = {
      {L"Ancien.Tab", nullptr, L"Ancien.Tab"},
      {L"Ancien.Tab", L"Autre.Tab", L"Autre.Tab"},
      {nullptr, L"Autre.Tab", L"Autre.Tab"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(formats::Narrow(c.after));
    RegDeleteTreeW(HKEY_CURRENT_USER, classes_.c_str());
    if (c.before) Put(L".tab", nullptr, c.before);
    // Another program's offer for text files stays with its key.
    Put(L".txt\\OpenWithProgids", L"Autre.Texte", nullptr);
    RegisterDocumentType();
    if (c.chosen) Put(L".tab", nullptr, c.chosen);
    UnregisterDocumentType();
    EXPECT_EQ(c.after, Get(L".tab"));
    EXPECT_EQ(kAbsent, Get(L".tab", L"PavSdi.Previous"));
    EXPECT_EQ(kAbsent, Get(L".txt\\OpenWithProgids", L"PavSdi.Document.1"));
    EXPECT_EQ(L"", Get(L".txt\\OpenWithProgids", L"Autre.Texte"));
  }
}

}  // namespace
