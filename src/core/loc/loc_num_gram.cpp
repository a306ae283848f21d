// Number characters and the integer, real and hexadecimal grammars.
#include <cstring>

#include "core/loc/loc_num.h"
#include "core/loc/loc_num_int.h"

namespace {

bool is_digit(long c) { return c >= '0' && c <= '9'; }

bool in_sym(long c, const char* sym) {
  return c != 0 && std::strchr(sym, static_cast<char>(c)) != nullptr;
}

bool at(const char* p, const char* sym, long len) { return len > 0 && std::strncmp(p, sym, len) == 0; }

void skip_blanks(const char*& p) {
  while (*p == ' ' || *p == '\t') ++p;
}

// The integer grammar, with a decimal part when real is set.
long number_grammar(const char* text, bool real) {
  if (text == nullptr) return 0;
  const loc_ty_num_cache& c = loc_num_cache();
  const char* p = text;
  bool sign = false, paren = false;
  skip_blanks(p);
  if (*p == '-' || *p == '+') {
    sign = true;
    ++p;
  } else if (at(p, c.neg_sym, c.neg_len)) {
    sign = true;
    p += c.neg_len;
  } else if (*p == '(') {
    sign = paren = true;
    ++p;
  }
  skip_blanks(p);
  for (;;) {
    if (is_digit(*p)) ++p;
    else if (at(p, c.group_sym, c.group_len)) p += c.group_len;
    else break;
  }
  if (real && at(p, c.dec_sym, c.dec_len)) {
    p += c.dec_len;
    while (is_digit(*p)) ++p;
  }
  skip_blanks(p);
  if (paren) {
    if (*p != ')') return 0;
    ++p;
  }
  if (!sign) {
    if (*p == '-') ++p;
    else if (at(p, c.neg_sym, c.neg_len)) p += c.neg_len;
  }
  skip_blanks(p);
  return *p == '\0' ? 1 : 0;
}

}  // namespace

long loc_st_isnumeric(long c) {
  const loc_ty_num_cache& n = loc_num_cache();
  if (is_digit(c) || c == '+' || c == '-') return 1;
  if (in_sym(c, n.neg_sym) || in_sym(c, n.dec_sym) || in_sym(c, n.group_sym)) return 1;
  return (n.neg_format == 0 && (c == '(' || c == ')')) ? 1 : 0;
}

long loc_st_isnumeric_deloc(long c) { return is_digit(c) || c == '+' || c == '-' || c == '.'; }

long loc_st_isintch(long c) {
  const loc_ty_num_cache& n = loc_num_cache();
  return is_digit(c) || c == '+' || c == '-' || in_sym(c, n.group_sym) || in_sym(c, n.neg_sym) || c == '(' ||
         c == ')';
}

long loc_st_isodigit(long c) { return c >= '0' && c <= '7'; }

long loc_st_isfmtprefix(long c) { return is_digit(c) || c == '-' || c == '.' || c == '#' || c == 'l'; }

long loc_st_isinteger(const char* text) { return number_grammar(text, false); }

long loc_st_isreal(const char* text) { return number_grammar(text, true); }

long loc_st_ishexnum(const char* text) {
  if (text == nullptr) return 0;
  const char* p = text;
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) p += 2;
  for (; *p != '\0'; ++p)
    if (!((*p >= '0' && *p <= '9') || (*p >= 'a' && *p <= 'f') || (*p >= 'A' && *p <= 'F'))) return 0;
  return 1;
}
