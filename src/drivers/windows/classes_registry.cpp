#include "drivers/windows/classes_registry.h"

#include <windows.h>
#include <shlobj.h>

#include "formats/encoding.h"
#include "formats/wide_text.h"

namespace drivers {
namespace {

const wchar_t kIconKey[] = L"\\DefaultIcon";
const wchar_t kOpenWithKey[] = L"\\OpenWithProgids";
const wchar_t kOpenCommandKey[] = L"\\shell\\open\\command";
// The default an extension had before ours.
const wchar_t kPreviousValue[] = L"PavSdi.Previous";

class Key {
 public:
  ~Key() {
    if (handle_) RegCloseKey(handle_);
  }
  bool Create(const std::wstring& path) {
    return RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                           &handle_, nullptr) == ERROR_SUCCESS;
  }
  // ERROR_SUCCESS, or ERROR_FILE_NOT_FOUND when the key is not there.
  LONG Open(const std::wstring& path) {
    return RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ | KEY_WRITE, &handle_);
  }
  // A text value (nullptr: the default); false when there is none.
  bool Read(const wchar_t* name, std::wstring* text) const {
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(handle_, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(handle_, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
        ERROR_SUCCESS)
      return false;
    // The stored text may or may not end with its terminator.
    buffer.resize(size / sizeof(wchar_t));
    while (!buffer.empty() && buffer.back() == L'\0') buffer.pop_back();
    *text = buffer;
    return true;
  }
  bool Write(const wchar_t* name, const std::wstring& text) const {
    return RegSetValueExW(handle_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  }
  bool Delete(const wchar_t* name) const {
    LONG result = RegDeleteValueW(handle_, name);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
  }
  HKEY handle() const { return handle_; }

 private:
  HKEY handle_ = nullptr;
};

std::wstring Wide(const char* cp1252) { return formats::Widen(formats::Cp1252ToUtf8(cp1252)); }

bool EndsWith(const std::wstring& text, const wchar_t* end) {
  size_t length = wcslen(end);
  return text.size() >= length &&
         CompareStringOrdinal(text.c_str() + text.size() - length, static_cast<int>(length), end,
                              static_cast<int>(length), TRUE) == CSTR_EQUAL;
}

// Class names, like every registry name, ignore case.
bool SameName(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                              TRUE) == CSTR_EQUAL;
}

// Explorer reads the associations again.
void Announce() { SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr); }

// Deletes the key when it holds neither a value nor a key.
bool DeleteIfEmpty(const std::wstring& path) {
  DWORD keys = 0, values = 0;
  {
    Key key;
    LONG opened = key.Open(path);
    if (opened != ERROR_SUCCESS) return opened == ERROR_FILE_NOT_FOUND;
    if (RegQueryInfoKeyW(key.handle(), nullptr, nullptr, nullptr, &keys, nullptr, nullptr, &values, nullptr,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      return false;
  }
  return keys + values > 0 || RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str()) == ERROR_SUCCESS;
}

// "file,1": the file; without an index the whole text.
std::wstring IconFile(const std::wstring& icon) {
  size_t comma = icon.rfind(L',');
  if (comma == std::wstring::npos || comma + 1 == icon.size()) return icon;
  for (size_t i = comma + 1; i < icon.size(); ++i)
    if (icon[i] < L'0' || icon[i] > L'9') return icon;
  return icon.substr(0, comma);
}

bool SetExtension(const std::wstring& path, const std::wstring& className) {
  Key key;
  if (!key.Create(path)) return false;
  std::wstring current;
  bool had = key.Read(nullptr, &current);
  // Set again while ours, the record of the replaced default stays.
  if (!had || !SameName(current, className)) {
    if (!(had ? key.Write(kPreviousValue, current) : key.Delete(kPreviousValue))) return false;
  }
  return key.Write(nullptr, className);
}

bool RemoveExtension(const std::wstring& path, const std::wstring& className) {
  {
    Key key;
    LONG opened = key.Open(path);
    if (opened != ERROR_SUCCESS) return opened == ERROR_FILE_NOT_FOUND;
    std::wstring current, previous;
    if (key.Read(nullptr, &current) && SameName(current, className)) {
      // Ours still: what we replaced comes back. A default chosen since stays.
      if (!(key.Read(kPreviousValue, &previous) ? key.Write(nullptr, previous) : key.Delete(nullptr))) return false;
    }
    if (!key.Delete(kPreviousValue)) return false;
  }
  return DeleteIfEmpty(path);
}

}  // namespace

bool ClassesRegistry::SetValue(const char* key, const char* value) {
  std::wstring name = Wide(key), text = Wide(value);
  std::wstring path = root_ + L"\\" + name;
  if (name.empty() || text.empty()) return false;
  if (name[0] == L'.') {
    bool done;
    if (EndsWith(name, kOpenWithKey)) {
      // An "Open with" offer is a value named after the class, without data.
      Key offers;
      done = offers.Create(path) &&
             RegSetValueExW(offers.handle(), text.c_str(), 0, REG_NONE, nullptr, 0) == ERROR_SUCCESS;
    } else {
      done = SetExtension(path, text);
    }
    Announce();
    return done;
  }
  if (!EndsWith(name, kIconKey)) return false;
  Key icon, command;
  std::wstring classPath = path.substr(0, path.size() - wcslen(kIconKey));
  return icon.Create(path) && icon.Write(nullptr, text) && command.Create(classPath + kOpenCommandKey) &&
         command.Write(nullptr, L"\"" + IconFile(text) + L"\" \"%1\"");
}

bool ClassesRegistry::DeleteKey(const char* key) {
  std::wstring name = Wide(key);
  // An extension's key is shared with every other program.
  if (name.empty() || name[0] == L'.') return false;
  std::wstring path = root_ + L"\\" + name;
  LONG result = RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
  return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

bool ClassesRegistry::RemoveValue(const char* key, const char* value) {
  std::wstring name = Wide(key), text = Wide(value);
  std::wstring path = root_ + L"\\" + name;
  if (name.empty() || name[0] != L'.') return false;
  bool done;
  if (EndsWith(name, kOpenWithKey)) {
    {
      Key offers;
      LONG opened = offers.Open(path);
      done = opened == ERROR_FILE_NOT_FOUND || (opened == ERROR_SUCCESS && offers.Delete(text.c_str()));
    }
    done = done && DeleteIfEmpty(path) && DeleteIfEmpty(path.substr(0, path.size() - wcslen(kOpenWithKey)));
  } else {
    done = RemoveExtension(path, text);
  }
  Announce();
  return done;
}

}  // namespace drivers
