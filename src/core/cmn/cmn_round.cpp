// Rounding number texts.
#include <cstring>

#include "core/cmn/cmn_val.h"

long cmn_ctoi(char c) { return c >= '1' && c <= '9' ? c - '0' : 0; }

char cmn_itoa(long n) { return n >= 0 && n <= 8 ? static_cast<char>('0' + n) : '9'; }

long cmn_round(char* text, long places) {
  if (text == nullptr || *text == '\0') return 0;
  char* digits = text + (*text == '-' ? 1 : 0);
  for (const char* p = digits; *p; ++p)
    if (!((*p >= '0' && *p <= '9') || *p == '.')) {
      std::strcpy(text, "0.00");
      return 0;
    }
  char* point = std::strchr(digits, '.');
  if (point == nullptr || places < 0) return 0;
  long fraction = static_cast<long>(std::strlen(point + 1));
  if (fraction <= places) return 0;
  char first_cut = point[places + 1];
  // Keep the digits up to `places` (without the point for 0 places).
  char* end = places == 0 ? point : point + places + 1;
  *end = '\0';
  if (first_cut < '5') return 0;
  char* p = end - 1;
  for (; p >= digits; --p) {
    if (*p == '.') continue;
    if (*p == '9') {
      *p = '0';
      continue;
    }
    *p = static_cast<char>(*p + 1);
    return 0;
  }
  // A carry out of the first digit: the cut freed at least one character.
  std::memmove(digits + 1, digits, std::strlen(digits) + 1);
  *digits = '1';
  return 0;
}

long cmn_val_round(void*, long, long) { return 0; }
