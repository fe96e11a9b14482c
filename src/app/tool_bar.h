// The tool bar of the main window, as data, for whichever window builds it;
// its buttons show the texts and hints of their command rows.
#pragma once
#include "core/command_ids.h"

// The tool-bar buttons in order; kNoCommand is a separator.
extern const TCommandId kToolBarButtons[];
extern const int kToolBarButtonCount;
