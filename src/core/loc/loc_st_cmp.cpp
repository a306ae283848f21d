// Comparisons and searches without regard to case, and wildcard matching.
#include <cstdio>
#include <string>

#include "core/loc/loc_st.h"
#include "core/osl/osl_print.h"

namespace {

long compare(const char* a, const char* b, long n, long (*fold)(long)) {
  for (long i = 0; n < 0 || i < n; ++i, ++a, ++b) {
    if (*a == '\0' || *b == '\0') {
      if (*a == *b) return 0;
      return *b == '\0' ? 1 : -1;
    }
    long x = fold(*a), y = fold(*b);
    if (x != y) return x - y;
  }
  return 0;
}

std::string lowered(const char* t) {
  std::string s = t;
  for (char& c : s) c = static_cast<char>(loc_st_tolower(c));
  return s;
}

}  // namespace

long loc_st_strcmpi(const char* a, const char* b) { return compare(a, b, -1, loc_st_tolower); }
long loc_st_strncmpi(const char* a, const char* b, long n) { return compare(a, b, n, loc_st_tolower); }
long loc_st_strcmp_upper(const char* a, const char* b) { return compare(a, b, -1, loc_st_toupper); }

long loc_st_strcmp_opt(const char* a, const char* b, long option) {
  if (option != 1) {
    osl_print_mes("loc_st_strcmp_opt: unknown option %ld\n", option);
    return 0;
  }
  auto skip = [](const char*& p) {
    while (*p != '\0' && loc_st_isspace(*p) != 0) ++p;
  };
  for (;;) {
    skip(a);
    skip(b);
    if (*a != *b || *a == '\0')
      return static_cast<unsigned char>(*a) - static_cast<unsigned char>(*b);
    ++a;
    ++b;
  }
}

char* loc_st_strstri(const char* text, const char* part) {
  std::string t = lowered(text), p = lowered(part);
  size_t at = t.find(p);
  return at == std::string::npos ? nullptr : const_cast<char*>(text + at);
}

long loc_st_match(const char* pattern, const char* text) {
  return osl_print_match(text, pattern, 0) ? 0 : 1;
}

long loc_st_match_nodir(const char* pattern, const char* text) {
  return osl_print_match2(text, pattern, 0) ? 0 : 1;
}

long loc_st_has_wildcard(const char* text) {
  for (; *text != '\0'; ++text)
    if (*text == '*') return 1;
  return 0;
}

long loc_st_in(long c, const char* set) {
  for (; set != nullptr && *set != '\0'; ++set)
    if (*set == static_cast<char>(c)) return 0;
  return -1;
}
