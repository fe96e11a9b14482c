// The texts of the about box's three controls, filled from the version
// block: what is not found keeps its text from the dialog.
#pragma once
#include "app/project_rc_version.h"

constexpr int kAboutTextSize = 256;  // each control's text limit, 255
constexpr int kVersionLineSize = 128;

struct TAboutTexts {
  char version[kAboutTextSize];    // control 22001, "Version" in the dialog
  char copyright[kAboutTextSize];  // control 22002
  char special[kAboutTextSize];    // control 22003
};

// Product name, the dialog's text and product version joined by blanks,
// within 127 characters (the version line); the legal notice; the special
// build.
void FillAboutTexts(TProjectRCVersion& version, TAboutTexts& texts);
