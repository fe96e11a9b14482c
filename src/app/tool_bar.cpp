#include "app/tool_bar.h"

const TCommandId kToolBarButtons[] = {
    kNewCommand,  kOpenCommand,  kSaveCommand,     kNoCommand,   kCutCommand,
    kCopyCommand, kPasteCommand, kNoCommand,       kUndoCommand, kNoCommand,
    kFindCommand, kFindNextCommand, kNoCommand,    kPrintCommand, kPrintPreviewCommand,
};
const int kToolBarButtonCount = sizeof kToolBarButtons / sizeof kToolBarButtons[0];
