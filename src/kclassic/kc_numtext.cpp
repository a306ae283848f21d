#include "kclassic/kc_numtext.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <locale.h>

#include "kclassic/kc_err.h"
#include "kclassic/kc_loc.h"

namespace KCLASSIC {

namespace {

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The thread locale's decimal separator; empty when it cannot be read.
KZString locale_point() {
  KZString sep;
  try {
    UtlGetThreadLocale().GetSDecimal(sep);
  } catch (KErr* e) {
    delete e;
    sep.Empty();
  }
  return sep;
}

} // namespace

bool KNumTextRead(const char* text, KNumText& out) {
  out = KNumText();
  if (!text) return false;
  const char* p = text;
  while (is_space(*p)) ++p;
  if (*p == '+' || *p == '-') out.negative = *p++ == '-';
  while (is_digit(*p)) out.integer += *p++;
  KZString sep;
  size_t sepLen = 0;
  if (*p == '.') {
    sepLen = 1;
  } else if (*p) {
    sep = locale_point();
    if (!sep.IsEmpty() && std::strncmp(p, sep, size_t(sep.GetLength())) == 0) sepLen = size_t(sep.GetLength());
  }
  if (sepLen) {
    p += sepLen;
    while (is_digit(*p)) out.fraction += *p++;
  }
  while (is_space(*p)) ++p;
  return *p == 0 && !(out.integer.empty() && out.fraction.empty());
}

double KNumTextToDouble(const char* text) {
  static locale_t c_locale = newlocale(LC_ALL_MASK, "C", nullptr);
  return text ? strtod_l(text, nullptr, c_locale) : 0.0;
}

} // namespace KCLASSIC
