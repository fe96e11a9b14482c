#include "app/project_rc_version.h"

#include <cstdio>
#include <cstring>

#include "core/data_files.h"
#include "core/prompts.h"

TProjectRCVersion::TProjectRCVersion(const formats::TModule& module) {
  unsigned size = formats::GetFileVersionInfoSize(module);
  if (size == 0) return;
  block_ = new unsigned char[size];
  void* value = nullptr;
  unsigned length = 0;
  if (!formats::GetFileVersionInfo(module, size, block_) ||
      !formats::VerQueryValue(block_, "\\VarFileInfo\\Translation", &value, &length) || length < 4) {
    delete[] block_;
    block_ = nullptr;
    return;
  }
  // Stored as language then code page; the language goes to the high half.
  translation_ = static_cast<uint32_t*>(value);
  uint32_t word;
  std::memcpy(&word, translation_, sizeof word);
  word = (word << 16) | (word >> 16);
  std::memcpy(translation_, &word, sizeof word);
}

TProjectRCVersion::~TProjectRCVersion() { delete[] block_; }

void TProjectRCVersion::StringPath(uint32_t translation, const char* key, char* path, int size) {
  std::snprintf(path, static_cast<size_t>(size), "\\StringFileInfo\\%08lx\\%s",
                static_cast<unsigned long>(translation), key);
}

bool TProjectRCVersion::Query(const char* key, const char*& text) {
  if (!block_) return false;
  uint32_t translation;
  std::memcpy(&translation, translation_, sizeof translation);
  char path[96];
  StringPath(translation, key, path, sizeof path);
  void* value = nullptr;
  unsigned length = 0;
  if (!formats::VerQueryValue(block_, path, &value, &length)) return false;
  text = static_cast<const char*>(value);
  return true;
}

bool TProjectRCVersion::GetProductName(const char*& text) { return Query("ProductName", text); }
bool TProjectRCVersion::GetProductVersion(const char*& text) { return Query("ProductVersion", text); }
bool TProjectRCVersion::GetSpecialBuild(const char*& text) { return Query("SpecialBuild", text); }

bool TProjectRCVersion::GetCopyright(const char*& text) {
  if (!block_) PlayCue(kEditionCue);
  return Query("LegalCopyright", text);
}
