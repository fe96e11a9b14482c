// The desktop's clipboard through the toolkit, for the window: its texts
// are converted between Windows-1252 and Unicode here.
#pragma once
#include "platform/clipboard.h"

platform::Clipboard& WxClipboard();
