// Character classes and the plain string covers of the locale layer.
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "core/loc/loc_st.h"

namespace {

int low(long c) { return static_cast<unsigned char>(c); }

}  // namespace

long loc_st_isalnum(long c) { return std::isalnum(low(c)) ? 1 : 0; }
long loc_st_isalpha(long c) { return std::isalpha(low(c)) ? 1 : 0; }
long loc_st_isdigit(long c) { return std::isdigit(low(c)) ? 1 : 0; }
long loc_st_islower(long c) { return std::islower(low(c)) ? 1 : 0; }
long loc_st_isupper(long c) { return std::isupper(low(c)) ? 1 : 0; }
long loc_st_isspace(long c) { return std::isspace(low(c)) ? 1 : 0; }
long loc_st_iscntrl(long c) { return std::iscntrl(low(c)) ? 1 : 0; }
long loc_st_isgraph(long c) { return std::isgraph(low(c)) ? 1 : 0; }
long loc_st_isprint(long c) { return std::isprint(low(c)) ? 1 : 0; }
long loc_st_ispunct(long c) { return std::ispunct(low(c)) ? 1 : 0; }
long loc_st_isxdigit(long c) { return std::isxdigit(low(c)) ? 1 : 0; }
long loc_st_isascii(long c) { return (c & 0x80) == 0 ? 1 : 0; }

char* loc_st_strcpy(char* dst, const char* src) { return std::strcpy(dst, src); }
char* loc_st_strcat(char* dst, const char* src) { return std::strcat(dst, src); }
long loc_st_strlen(const char* text) { return static_cast<long>(std::strlen(text)); }
long loc_st_strcoll(const char* a, const char* b) { return std::strcoll(a, b); }
// The comparison by value of the multibyte library's default flags: the
// first differing byte decides (-1 or 1), else the shorter text is smaller
// by the difference of the lengths.
long loc_st_strcmp(const char* a, const char* b) {
  size_t la = std::strlen(a), lb = std::strlen(b);
  int r = std::memcmp(a, b, la < lb ? la : lb);
  if (r != 0) return r < 0 ? -1 : 1;
  return static_cast<long>(la) - static_cast<long>(lb);
}
double loc_st_atof(const char* text) { return std::atof(text); }
long loc_st_atoi(const char* text) { return std::strtol(text, nullptr, 10); }
long loc_st_atol(const char* text) { return std::strtol(text, nullptr, 10); }
char* loc_st_strncpy(char* dst, const char* src, long n) {
  return std::strncpy(dst, src, static_cast<size_t>(n));
}
char* loc_st_strncat(char* dst, const char* src, long n) {
  return std::strncat(dst, src, static_cast<size_t>(n));
}
long loc_st_strncmp(const char* a, const char* b, long n) {
  return std::strncmp(a, b, static_cast<size_t>(n));
}
long loc_st_strtol(const char* text, char** end, long base) {
  return std::strtol(text, end, static_cast<int>(base));
}

char* loc_st_strchr(const char* text, long c) {
  char ch = static_cast<char>(c);
  for (const char* p = text;; p += loc_st_char_length_at(p)) {
    if (*p == ch) return const_cast<char*>(p);
    if (*p == '\0') return nullptr;
  }
}

char* loc_st_strrchr(const char* text, long c) {
  char ch = static_cast<char>(c);
  const char* found = nullptr;
  for (const char* p = text;; p += loc_st_char_length_at(p)) {
    if (*p == ch) found = p;
    if (*p == '\0') return const_cast<char*>(found);
  }
}

char* loc_st_strstr(const char* text, const char* part) {
  size_t n = std::strlen(part);
  for (const char* p = text;; p += loc_st_char_length_at(p)) {
    if (std::strncmp(p, part, n) == 0) return const_cast<char*>(p);
    if (*p == '\0') return nullptr;
  }
}
