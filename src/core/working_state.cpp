#include "core/working_state.h"

TWorkingState WorkingState;

void CopyText(char* destination, int size, const char* source) {
  if (size <= 0) return;
  int i = 0;
  for (; i < size - 1 && source[i]; ++i) destination[i] = source[i];
  destination[i] = 0;
}
