// Reads the version block of a module: product name and version, legal
// notice and special build, in the block's first translation.
#pragma once
#include <cstdint>

#include "formats/version_info.h"

class TProjectRCVersion {
 public:
  explicit TProjectRCVersion(const formats::TModule& module);
  virtual ~TProjectRCVersion();
  TProjectRCVersion(const TProjectRCVersion&) = delete;
  TProjectRCVersion& operator=(const TProjectRCVersion&) = delete;

  // True when the key was found; the text then lies inside the block and
  // lives as long as the reader.
  bool GetProductName(const char*& text);
  bool GetProductVersion(const char*& text);
  // Without version data this one also sounds the edition cue.
  bool GetCopyright(const char*& text);
  bool GetSpecialBuild(const char*& text);

  // "\StringFileInfo\040904e4\ProductName" for the translation word
  // (language in the high half) and the key.
  static void StringPath(uint32_t translation, const char* key, char* path, int size);

 private:
  bool Query(const char* key, const char*& text);

  unsigned char* block_ = nullptr;
  uint32_t* translation_ = nullptr;
};
