// White-space and delimiter helpers.
#include <cstring>

#include "core/loc/loc_st.h"

namespace {

bool space(char c) { return c != '\0' && loc_st_isspace(c) != 0; }

// Copies src into dst (size bytes) while keep(c); returns the stop in src.
template <class Keep>
const char* copy_while(char* dst, long size, const char* src, Keep keep) {
  long n = 0;
  const char* p = src;
  while (*p != '\0' && keep(*p)) {
    if (n < size - 1) dst[n++] = *p;
    ++p;
  }
  if (size > 0) dst[n] = '\0';
  return p;
}

void chop(char* text) {
  size_t n = std::strlen(text);
  while (n > 0 && space(text[n - 1])) text[--n] = '\0';
}

}  // namespace

long loc_st_is_allspace(const char* text) {
  for (; *text != '\0'; ++text)
    if (!space(*text)) return 0;
  return 1;
}

long loc_st_has_space(const char* text) {
  for (; *text != '\0'; ++text)
    if (space(*text)) return 1;
  return 0;
}

char* loc_st_next_nonspace(const char* text) {
  while (space(*text)) ++text;
  return const_cast<char*>(text);
}

char* loc_st_next_nonspace_noncomma(const char* text) {
  while (space(*text) || *text == ',') ++text;
  return const_cast<char*>(text);
}

char* loc_st_strip_spaces(char* text) {
  char* start = loc_st_next_nonspace(text);
  std::memmove(text, start, std::strlen(start) + 1);
  chop(text);
  return text;
}

const char* loc_st_copy_til_space(char* dst, long size, const char* src) {
  return copy_while(dst, size, src, [](char c) { return !space(c); });
}

const char* loc_st_copy_til_char(char* dst, long size, const char* src, long c) {
  const char* stop = loc_st_copy_til_char_nochop(dst, size, src, c);
  if (size > 0) chop(dst);
  return stop;
}

const char* loc_st_copy_til_char_nochop(char* dst, long size, const char* src, long c) {
  char ch = static_cast<char>(c);
  return copy_while(dst, size, src, [ch](char x) { return x != ch; });
}

const char* loc_st_copy_til_one_of(char* dst, long size, const char* src, const char* set) {
  return copy_while(dst, size, src, [set](char x) { return loc_st_in(x, set) != 0; });
}

char* loc_st_find_eol(const char* text) {
  while (*text != '\0' && *text != '\n') ++text;
  return const_cast<char*>(text);
}

char* loc_st_set_char_null(char* text, long c) {
  char* p = std::strchr(text, static_cast<char>(c));
  if (p != nullptr && c != 0) *p = '\0';
  return text;
}

char* loc_st_set_char_to(char* text, long from, long to) {
  for (char* p = text; *p != '\0'; ++p)
    if (*p == static_cast<char>(from)) *p = static_cast<char>(to);
  return text;
}

char* loc_st_subs_char(char* text, long from, long to) { return loc_st_set_char_to(text, from, to); }

long loc_st_empty_str(const char* text) { return text == nullptr || *text == '\0' ? 1 : 0; }

const char* loc_st_newline() { return "\n"; }

long loc_st_is_newline(long c) { return c == '\n' ? 1 : 0; }
