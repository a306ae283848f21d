#include "bo/bo_num.h"

namespace KCLASSIC {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_blank(char c) { return c == ' ' || c == '\t'; }

const char* skip_digits(const char* p, int& count) {
  for (; is_digit(*p); ++p) ++count;
  return p;
}

} // namespace

bool bo_text_is_number(const char* text, bool integerOnly) {
  if (!text) return false;
  const char* p = text;
  while (is_blank(*p)) ++p;
  if (*p == '+' || *p == '-') ++p;
  int digits = 0;
  p = skip_digits(p, digits);
  if (!integerOnly && *p == '.') p = skip_digits(p + 1, digits);
  if (digits == 0) return false;
  if (!integerOnly && (*p == 'e' || *p == 'E')) {
    ++p;
    if (*p == '+' || *p == '-') ++p;
    int expDigits = 0;
    p = skip_digits(p, expDigits);
    if (expDigits == 0) return false;
  }
  while (is_blank(*p)) ++p;
  return *p == '\0';
}

} // namespace KCLASSIC
