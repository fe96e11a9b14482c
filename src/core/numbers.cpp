#include "core/numbers.h"

int32_t ReadNumber(const char* text) {
  const char* p = text;
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  int64_t value = 0;
  // Long digit runs stay at the limit instead of overflowing.
  for (; *p >= '0' && *p <= '9'; ++p)
    if (value <= INT32_MAX) value = value * 10 + (*p - '0');
  if (negative) value = -value;
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}
