// Character lengths, double-byte lead bytes, cutting texts on character
// boundaries, and the two tokenisers.
#include <cstdlib>
#include <cstring>

#include "core/loc/loc_kc.h"
#include "core/loc/loc_st.h"
#include "core/osl/osl_loc.h"
#include "kclassic/kc_mb.h"

long double_byte_enable = 0;

namespace {

char* loc_tok_pos = nullptr;
char* loc_tok2_pos = nullptr;

// Steps over one character of a text being tokenised.
long step(const char* p) {
  if (double_byte_enable == 1) return loc_IsDBCSLeadByte(static_cast<unsigned char>(*p)) && p[1] != '\0' ? 2 : 1;
  return loc_st_char_length_at(p);
}

bool is_delim(char c, const char* delims) { return c != '\0' && loc_st_in(c, delims) == 0; }

}  // namespace

long loc_st_char_length_at(const char* text) {
  if (text == nullptr || *text == '\0') return 1;
  long n = loc_kc_call([&] { return KCLASSIC::kchrlen(text); }, [] { return 1L; });
  return n < 1 ? 1 : n;
}

// The length the byte gives as a lead byte: the byte followed by
// continuation bytes, measured.
long loc_st_get_char_length(long c) {
  const char text[] = {static_cast<char>(c), '\x80', '\x80', '\x80', '\0'};
  if (text[0] == '\0') return 1;
  return loc_st_char_length_at(text);
}

char* loc_st_nextch(const char* text) { return const_cast<char*>(text + (*text ? loc_st_char_length_at(text) : 0)); }

char* loc_st_set_null(char* text, long len) {
  if (text == nullptr || len < 0) return text;
  long at = 0;
  while (text[at] != '\0') {
    long n = loc_st_char_length_at(text + at);
    if (at + n > len) break;
    at += n;
  }
  text[at] = '\0';
  return text;
}

long loc_IsDBCSLeadByte(long c) {
  long b = c & 0xFF;
  if (double_byte_enable == 1) {
    switch (osl_loc_get_locale_info()) {
      case 1041: return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC) ? 1 : 0;
      case 1042: return (b >= 0x84 && b <= 0xD3) || (b >= 0xD8 && b <= 0xDE) || (b >= 0xE0 && b <= 0xF9) ? 1 : 0;
      default: return b >= 0x81 && b <= 0xFE ? 1 : 0;
    }
  }
  return loc_st_get_char_length(b) >= 2 ? 1 : 0;
}

char* loc_st_strtok(char* text, const char* delims) {
  if (double_byte_enable != 1) return std::strtok(text, delims);
  if (text != nullptr) loc_tok_pos = text;
  char* start = loc_tok_pos;
  if (start == nullptr) return nullptr;
  for (char* p = start; *p != '\0'; p += step(p)) {
    if (is_delim(*p, delims)) {
      *p = '\0';
      loc_tok_pos = p + 1;
      return start;
    }
  }
  loc_tok_pos = nullptr;
  return *start != '\0' ? start : nullptr;
}

char* loc_st_strtok2(char* text, const char* delims) {
  if (text != nullptr) loc_tok2_pos = text;
  char* start = loc_tok2_pos;
  if (start == nullptr || *start == '\0') {
    loc_tok2_pos = nullptr;
    return nullptr;
  }
  char* p = start;
  while (*p != '\0' && !is_delim(*p, delims)) p += step(p);
  if (*p != '\0') {
    *p++ = '\0';
    while (is_delim(*p, delims)) ++p;
  }
  loc_tok2_pos = p;
  return start;
}
