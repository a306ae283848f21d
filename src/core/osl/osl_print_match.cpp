// OS layer: whole-text wildcard matching.
#include <cctype>

#include "core/osl/osl_print.h"

namespace {

bool same_char(char a, char b, long case_sensitive) {
  if (case_sensitive != 0) return a == b;
  return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

}  // namespace

// Greedy matching with a return to the last '*': on a mismatch the last star
// takes one more text character and matching resumes after it. This gives the
// same answers as trying every split at every star, without the exponential
// cost of nested stars.
long osl_print_match(const char* text, const char* pattern, long case_sensitive) {
  if (text == nullptr || pattern == nullptr) return 0;
  const char* t = text;
  const char* p = pattern;
  const char* star_p = nullptr;  // pattern just after the last '*'
  const char* star_t = nullptr;  // text position that star has reached
  for (;;) {
    if (*p == '*') {
      while (*p == '*') ++p;
      star_p = p;
      star_t = t;
      continue;
    }
    bool matched;
    if (*p == '\0') {
      if (*t == '\0') return 1;
      matched = false;
    } else if (*t == '\0') {
      return 0;  // no later split of a star can give more text
    } else if (*p == '?') {
      matched = true;
      ++p;
    } else if (*p == '/') {
      if (p[1] == '\0') return 0;  // a trailing escape never matches
      matched = same_char(p[1], *t, case_sensitive);
      if (matched) p += 2;
    } else {
      matched = same_char(*p, *t, case_sensitive);
      if (matched) ++p;
    }
    if (matched) {
      ++t;
      continue;
    }
    if (star_p == nullptr) return 0;
    ++star_t;  // star_t is before t, which is not at the end
    t = star_t;
    p = star_p;
  }
}

long osl_print_match2(const char* text, const char* pattern, long case_sensitive) {
  if (text == nullptr || pattern == nullptr) return 0;
  const char* t = text;
  const char* p = pattern;
  for (;;) {
    if (*p == '*') return osl_print_match(t, p, case_sensitive);
    if (*p == '\0') return *t == '\0' ? 1 : 0;
    if (*t == '\0') return 0;
    if (*p != '?' && !same_char(*p, *t, case_sensitive)) return 0;
    ++p;
    ++t;
  }
}
