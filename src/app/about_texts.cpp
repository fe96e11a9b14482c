#include "app/about_texts.h"

#include <string>

#include "core/working_state.h"

void FillAboutTexts(TProjectRCVersion& version, TAboutTexts& texts) {
  const char* name = nullptr;
  const char* number = nullptr;
  if (version.GetProductName(name) && version.GetProductVersion(number)) {
    char shown[kVersionLineSize];
    CopyText(shown, texts.version);
    // A longer name or version is cut at the end of the line.
    std::string line = std::string(name) + " " + shown + " " + number;
    CopyText(texts.version, kVersionLineSize, line.c_str());
  }
  const char* text = nullptr;
  if (version.GetCopyright(text)) CopyText(texts.copyright, text);
  if (version.GetSpecialBuild(text)) CopyText(texts.special, text);
}
