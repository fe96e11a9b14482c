#include "harmony/append_text.h"

#include <cstring>

#include "core/working_state.h"

void AppendText(char* destination, int size, const char* source) {
  int used = static_cast<int>(strnlen(destination, static_cast<size_t>(size)));
  if (used >= size) return;
  CopyText(destination + used, size - used, source);
}
