// A fresh account needs no set-up: the first start lays the data directory.
#pragma once

// When the data directory does not exist yet, makes it from the installed
// template with a device file naming the built-in synthesizer where there
// is a sound output, the MIDI-file device otherwise, and says which. A data
// directory that exists is left as it is; without a template nothing is
// done and the program's usual messages follow.
void LayDataDirectoryOnFirstRun();
