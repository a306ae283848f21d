// Format records and the printf parser.
#include "core/cmn/cmn_fmt.h"

#include <cstring>
#include <string>

#include "core/cmn/cmn_typ.h"
#include "core/osl/osl_print.h"

namespace {

cmn_ty_fmt_spec static_specs[CMN_FMT_MAX_SPECS];

int ind(long indent) { return static_cast<int>(indent < 0 ? 0 : indent); }

long flag_of(char c) {
  switch (c) {
    case '-': return CMN_FMT_LEFT;
    case '+': return CMN_FMT_PLUS;
    case ' ': return CMN_FMT_SPACE;
    case '#': return CMN_FMT_ALT;
    default: return 0;
  }
}

long type_of(char c, bool is_long) {
  switch (c) {
    case 'e': case 'E': case 'f': case 'g': case 'G': return is_long ? CMN_TYP_DOUBLE : CMN_TYP_FLOAT;
    case 'd': case 'i': case 'o': case 'u': case 'x': case 'X': case 'p': return is_long ? CMN_TYP_LONG : CMN_TYP_SHORT;
    case 'c': return CMN_TYP_CHAR;
    case 's': return CMN_TYP_CHAR_P;
    default: return -1;
  }
}

bool digit(char c) { return c >= '0' && c <= '9'; }

// Reads digits into n (kept within a long's reach).
const char* number(const char* p, long* n) {
  *n = 0;
  for (; digit(*p); ++p) {
    if (*n < 100000000L) *n = *n * 10 + (*p - '0');
  }
  return p;
}

}  // namespace

long cmn_fmt_init() {
  if (long rc = cmn_typ_install(CMN_FMT_TYPE, -1, -1, nullptr, static_cast<long>(sizeof(cmn_ty_format)), nullptr,
                                nullptr, nullptr, cmn_fmt_print)) {
    return rc;
  }
  return cmn_typ_install(CMN_FMT_ARG_TYPE, -1, -1, nullptr, static_cast<long>(sizeof(cmn_ty_format_arg)), nullptr,
                         nullptr, nullptr, cmn_fmt_print_arg);
}

long cmn_fmt_term() { return 0; }

long cmn_fmt_print(FILE* stream, long indent, const void* format, long, long) {
  FILE* out = stream != nullptr ? stream : stdout;
  const auto* f = static_cast<const cmn_ty_format*>(format);
  const int n = ind(indent);
  std::fprintf(out, "%*.*sFORMAT struct: has %ld args\n", n, n, "", f->num_args);
  std::fprintf(out, "%*.*s substituted string: '%s'\n", n, n, "", f->text != nullptr ? f->text : "");
  for (long i = 0; i < f->num_args && f->args != nullptr; ++i) {
    if (long rc = cmn_fmt_print_arg(stream, indent + 3, &f->args[i], CMN_FMT_ARG_TYPE, i)) return rc;
  }
  return 0;
}

long cmn_fmt_print_arg(FILE* stream, long indent, const void* arg, long, long) {
  FILE* out = stream != nullptr ? stream : stdout;
  const auto* a = static_cast<const cmn_ty_format_arg*>(arg);
  const int n = ind(indent);
  std::fprintf(out, "%*.*sField num: %ld, type: %ld, sub_num: %ld\n", n, n, "", a->field_num, a->type, a->sub_num);
  return 0;
}

long cmn_fmt_parse_printf(const char* text, void*, long* count, cmn_ty_fmt_spec** specs) {
  *count = 0;
  if (specs != nullptr) *specs = static_specs;
  if (text == nullptr) return 0;
  const char* p = text;
  long found = 0;
  while ((p = std::strchr(p, '%')) != nullptr && p[1] != '\0') {
    if (p[1] == '%') {
      p += 2;
      continue;
    }
    if (found == CMN_FMT_MAX_SPECS) {
      osl_print_mes("%s: format '%s' has more than %ld conversions\n", "cmn_fmt_parse_printf", text,
                    CMN_FMT_MAX_SPECS);
      *count = 0;
      return 1;
    }
    cmn_ty_fmt_spec s{0, -1, -1, 0, -1, p, nullptr};
    const char* q = p + 1;
    for (long f; (f = flag_of(*q)) != 0; ++q) s.flags |= f;
    if (digit(*q)) q = number(q, &s.width);
    if (*q == '.') {
      ++q;
      if (digit(*q)) q = number(q, &s.precision);
    }
    if (*q == 'l') {
      s.flags |= CMN_FMT_LONG;
      ++q;
    }
    if (*q == '\0') break;  // the text ends inside the spec
    s.conv = *q;
    s.conv_at = q;
    s.type = type_of(*q, (s.flags & CMN_FMT_LONG) != 0);
    static_specs[found++] = s;
    p = q + 1;
  }
  *count = found;
  return 0;
}

long cmn_fmt_dump_printf(FILE* stream, long count, const cmn_ty_fmt_spec* specs) {
  FILE* out = stream != nullptr ? stream : stdout;
  for (long i = 0; i < count; ++i) {
    const cmn_ty_fmt_spec& s = specs[i];
    std::string t = "%";
    if (s.flags & CMN_FMT_LEFT) t += '-';
    if (s.flags & CMN_FMT_PLUS) t += '+';
    if (s.flags & CMN_FMT_ALT) t += '#';
    if (s.flags & CMN_FMT_SPACE) t += ' ';
    if (s.width > 0) t += std::to_string(s.width);
    if (s.precision > 0) t += "." + std::to_string(s.precision);
    if (s.flags & CMN_FMT_LONG) t += 'l';
    t += s.conv;
    std::fprintf(out, "#%ld) '%s' (a %s)\n", i + 1, t.c_str(), cmn_typ_name(s.type));
  }
  return 0;
}
