// Localising and delocalising number texts.
#include "core/loc/loc_num.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/loc/loc_num_int.h"
#include "core/loc/loc_reg.h"
#include "core/osl/osl_loc_region.h"
#include "core/osl/osl_print.h"

namespace {

loc_ty_num_cache loc_num_syms;
// The OS layer's region change count when the symbols were cached.
unsigned long loc_num_region_changes = 0;
char loc_buf[LOC_NUM_BUF_SIZE];
char tmp_buf[LOC_NUM_BUF_SIZE];

void set_sym(char* field, long* len, const char* text) {
  std::snprintf(field, 8, "%s", text);
  if (len != nullptr) *len = static_cast<long>(std::strlen(field));
}

// Copies text into a result buffer; false (and a message) when it does not
// fit.
bool fits(char* out, const std::string& text, const char* proc) {
  if (text.size() >= LOC_NUM_BUF_SIZE) {
    osl_print_mes("%s: number text too long (%zu bytes)\n", proc, text.size());
    return false;
  }
  std::memcpy(out, text.c_str(), text.size() + 1);
  return true;
}

const char* str(const char* s) { return s != nullptr ? s : ""; }

}  // namespace

long loc_st_num_cache_reset() {
  loc_num_syms.cached = false;
  return 0;
}

long loc_st_cache_numeric_syms() {
  loc_ty_num_cache& c = loc_num_syms;
  if (loc_reg_is_inited()) {
    const loc_ty_region* r = loc_reg_get_region();
    set_sym(c.dec_sym, &c.dec_len, r->dec_sym);
    set_sym(c.group_sym, &c.group_len, r->group_sym);
    set_sym(c.grouping, nullptr, r->grouping);
    set_sym(c.neg_sym, &c.neg_len, r->neg_sign);
    c.precision = r->precision;
    c.neg_format = r->neg_format;
    c.leading_zero = r->leading_zero;
  } else {
    set_sym(c.dec_sym, &c.dec_len, ".");
    set_sym(c.group_sym, &c.group_len, ",");
    set_sym(c.grouping, nullptr, "");
    set_sym(c.neg_sym, &c.neg_len, "-");
    c.precision = -1;
    c.neg_format = 1;
    c.leading_zero = 1;
  }
  c.cached = true;
  loc_num_region_changes = osl_loc_region_changes();
  return 0;
}

const loc_ty_num_cache& loc_num_cache() {
  if (!loc_num_syms.cached || loc_num_region_changes != osl_loc_region_changes()) loc_st_cache_numeric_syms();
  return loc_num_syms;
}

long loc_st_round_numeric_string(char* text, long size, long* point, long decimals) {
  long len = static_cast<long>(std::strlen(text));
  if (decimals < 0 || *point < 0 || *point > len) return -1;
  long keep = *point + 1 + decimals;  // characters kept after the cut
  if (len + decimals + 1 >= size || keep + 1 >= size) return -1;
  for (long i = 0; i < decimals + 1; ++i) text[len + i] = '0';
  text[len + decimals + 1] = '\0';
  bool up = text[keep] >= '5' && text[keep] <= '9';
  text[keep] = '\0';
  long i = keep - 1;
  while (up && i >= 0) {
    char& c = text[i];
    if (c == '.') {
      --i;
      continue;
    }
    if (c < '0' || c > '9') break;  // a sign in front: the carry stops here
    if (c == '9') {
      c = '0';
      --i;
    } else {
      ++c;
      up = false;
    }
  }
  if (up) {
    // A carry out of the first digit: a '1' in front of it.
    std::memmove(text + i + 2, text + i + 1, static_cast<size_t>(keep - i));
    text[i + 1] = '1';
    ++*point;
  }
  return 0;
}

const char* loc_st_localize_number(const char* text, const char* dec_sym, const char* group_sym,
                                   const char* grouping, const char* neg_sym, long neg_format,
                                   long leading_zero, long decimals) {
  loc_num_cache();
  const char* proc = "loc_st_localize_number";
  if (text == nullptr) return nullptr;
  std::string t = text;
  bool negative = !t.empty() && t[0] == '-';
  if (negative) t.erase(0, 1);
  if (leading_zero == 0) {
    size_t z = t.find_first_not_of('0');
    if (z == std::string::npos)
      t = t.empty() ? t : "0";
    else
      t.erase(0, z);
  }
  if (decimals > 0) {
    if (t.find('.') == std::string::npos) t += '.';
    if (t.size() + static_cast<size_t>(decimals) + 3 >= LOC_NUM_BUF_SIZE) {
      osl_print_mes("%s: number text too long (%zu bytes)\n", proc, t.size());
      return nullptr;
    }
    std::strcpy(tmp_buf, t.c_str());
    long point = static_cast<long>(t.find('.'));
    if (loc_st_round_numeric_string(tmp_buf, LOC_NUM_BUF_SIZE, &point, decimals) != 0) return nullptr;
    t = tmp_buf;
  } else if (decimals == 0) {
    size_t p = t.find('.');
    if (p != std::string::npos) t.erase(p);
  }
  // Group marks: positions (counted from the left) before which the group
  // symbol goes.
  std::string out;
  size_t int_end = t.rfind('.');
  if (int_end == std::string::npos) int_end = t.size();
  std::string marks(t.size() + 1, '\0');
  const char* gs = str(group_sym);
  const char* g = str(grouping);
  if (*gs != '\0' && static_cast<signed char>(g[0]) > 0) {
    long pos = static_cast<long>(int_end);
    long size = 0;
    const char* gp = g;
    while (true) {
      if (*gp != '\0') {
        signed char b = static_cast<signed char>(*gp++);
        if (b == 127 || b < 0) break;
        if (b > 0) size = b;
        if (b == 0) --gp;  // repeat the previous size from now on
      }
      long start = pos - size;
      if (start <= 0) break;
      bool digits = true;
      for (long k = start; k < pos; ++k) digits = digits && t[k] >= '0' && t[k] <= '9';
      if (!digits || t[start - 1] < '0' || t[start - 1] > '9') break;
      marks[start] = 1;
      pos = start;
    }
  }
  const char* ds = str(dec_sym);
  for (size_t i = 0; i < t.size(); ++i) {
    if (marks[i]) out += gs;
    if (t[i] == '.' && i == int_end)
      out += ds;
    else
      out += t[i];
  }
  if (negative) {
    const char* ns = str(neg_sym);
    switch (neg_format) {
      case 0: out = "(" + out + ")"; break;
      case 2: out = std::string(ns) + " " + out; break;
      case 3: out = out + ns; break;
      case 4: out = out + " " + ns; break;
      default: out = ns + out; break;
    }
  }
  return fits(loc_buf, out, proc) ? loc_buf : nullptr;
}

const char* loc_st_localize_decimal_prec(const char* text, long decimals) {
  const loc_ty_num_cache& c = loc_num_cache();
  return loc_st_localize_number(text, c.dec_sym, c.group_sym, c.grouping, c.neg_sym, c.neg_format,
                                c.leading_zero, decimals);
}

const char* loc_st_localize_decimal(const char* text) {
  return loc_st_localize_decimal_prec(text, loc_num_cache().precision);
}

const char* loc_st_localize_long(const char* text) { return loc_st_localize_decimal_prec(text, 0); }

const char* loc_st_localize_QBdecimal(const char* text) {
  const loc_ty_num_cache& c = loc_num_cache();
  return loc_st_localize_number(text, c.dec_sym, c.group_sym, c.grouping, "-", 1, 1, -1);
}

const char* loc_st_delocalize_number(const char* text, const char* dec_sym, const char* group_sym,
                                     const char* neg_sym) {
  return loc_num_delocalize(text, dec_sym, group_sym, neg_sym, false);
}

const char* loc_st_delocalize_decimal(const char* text) {
  const loc_ty_num_cache& c = loc_num_cache();
  return loc_num_delocalize(text, c.dec_sym, c.group_sym, c.neg_sym, false);
}

const char* loc_st_delocalize_QBdecimal(const char* text) {
  const loc_ty_num_cache& c = loc_num_cache();
  return loc_num_delocalize(text, c.dec_sym, c.group_sym, "-", false);
}

const char* loc_st_delocalize_decimal_sybase(const char* text) {
  const loc_ty_num_cache& c = loc_num_cache();
  return loc_num_delocalize(text, c.dec_sym, c.group_sym, c.neg_sym, true);
}

const char* loc_num_delocalize(const char* text, const char* dec_sym, const char* group_sym,
                               const char* neg_sym, bool end_at_point) {
  loc_num_cache();
  if (text == nullptr) return nullptr;
  const char* ds = str(dec_sym);
  const char* gs = str(group_sym);
  const char* ns = str(neg_sym);
  size_t dl = std::strlen(ds), gl = std::strlen(gs), nl = std::strlen(ns);
  std::string out;
  bool minus = false, seen_dec = false;
  for (const char* p = text; *p != '\0';) {
    if (end_at_point && seen_dec && *p == '.') break;
    if (gl > 0 && std::strncmp(p, gs, gl) == 0) {
      p += gl;
    } else if (dl > 0 && std::strncmp(p, ds, dl) == 0) {
      out += '.';
      seen_dec = true;
      p += dl;
    } else if (nl > 0 && std::strncmp(p, ns, nl) == 0) {
      minus = true;
      p += nl;
    } else if (*p == '-' || *p == '(') {
      minus = true;
      ++p;
    } else if (*p == ')' || *p == ' ') {
      ++p;
    } else {
      out += *p++;
    }
  }
  if (minus) out = "-" + out;
  return fits(loc_buf, out, "loc_st_delocalize_number") ? loc_buf : nullptr;
}

double loc_num_read_plain(const char* text) {
  if (text == nullptr) return 0.0;
  while (*text == ' ' || *text == '\t') ++text;
  if (*text == '+') ++text;
  double v = 0.0;
  const char* end = text + std::strlen(text);
  if (std::from_chars(text, end, v).ec != std::errc()) return 0.0;
  return v;
}

double loc_st_localize_dectof(const char* text) {
  const char* plain = loc_st_localize_number(text, ".", "", "", "-", 1, 1, -1);
  return plain != nullptr ? loc_num_read_plain(plain) : 0.0;
}

double loc_st_localize_atof(const char* text) {
  const char* plain = loc_st_delocalize_decimal(text);
  if (plain == nullptr) return 0.0;
  std::string copy = plain;
  return loc_st_localize_dectof(copy.c_str());
}
