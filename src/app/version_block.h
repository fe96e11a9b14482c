// The program's version block, laid out by the build
// (tools/make_version_block.py) and embedded in the program.
#pragma once
#include "formats/version_info.h"

extern const unsigned char kVersionBlock[];
extern const unsigned kVersionBlockSize;

// The program's own module.
inline formats::TModule ProgramModule() { return {kVersionBlock, kVersionBlockSize}; }
