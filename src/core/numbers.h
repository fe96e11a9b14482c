// Numbers in texts: leading blanks, an optional sign, then decimal digits up
// to the first other character; 0 when there are none.
#pragma once
#include <cstdint>

int32_t ReadNumber(const char* text);
