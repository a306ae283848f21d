// Formatting of message texts with positional argument markers (a leaf
// module: it calls nothing but the C library).
//
// A marker is ':' followed by a digit '1' to '5'; it follows the conversion
// it feeds. The k-th marker of the text (k counted from 1) makes argument slot
// k take the argument its digit names; slots beyond the last marker keep
// their own argument. Conversion k of the marker-free text consumes slot k.
//
// Arguments are real typed arguments: the type of argument j is learned from
// the conversion that consumes it, arguments 1..n (n the highest consumed)
// are fetched from the va_list in their own order, and an argument that no
// conversion consumes is skipped as a long-sized integer word. The marker-free
// text is then formatted piece by piece into the bounded output.
//
// Only five slots exist: a sixth or later marker is removed from the text and
// otherwise ignored, and a conversion beyond the fifth slot has no argument;
// it is copied into the output as it stands (so "%s" shows where a value is
// missing). A %n conversion writes nothing.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>

#include "core/msg/msg_fmt.h"

namespace {

constexpr int kSlots = MSG_FMT_SLOTS;
constexpr long kCopyMax = 2048;  // the marker-free copy of a text
constexpr long kFieldMax = 2048;  // widths and precisions beyond are capped

enum class cls {
  none,
  i,      // int (also char and short after promotion, %c)
  l,      // long
  ll,     // long long
  z,      // size_t
  j,      // intmax_t
  t,      // ptrdiff_t
  d,      // double
  ld,     // long double
  s,      // const char*
  ws,     // const wchar_t*
  p,      // void* (also %n's target, never written)
};

union value {
  int i;
  long l;
  long long ll;
  size_t z;
  intmax_t j;
  ptrdiff_t t;
  double d;
  long double ld;
  const void* p;
};

struct conv {
  long start = 0;  // offset of '%' in the marker-free text
  long end = 0;    // one past the conversion character
  char flags[8] = {};
  long width = -1;  // digits given, -1 none
  long prec = -1;
  int width_slot = 0;  // slot feeding a '*' width, 0 none
  int prec_slot = 0;
  int value_slot = 0;  // slot of the value, 0 none (%%)
  char length[3] = {};
  char conv_char = 0;
  cls kind = cls::none;
  bool literal = false;  // printed as it stands
};

bool is_flag(char c) { return c == '-' || c == '+' || c == ' ' || c == '#' || c == '0' || c == '\''; }

cls class_of(char conv_char, const char* length) {
  bool hh = std::strcmp(length, "hh") == 0, h = std::strcmp(length, "h") == 0;
  bool l = std::strcmp(length, "l") == 0;
  bool ll = std::strcmp(length, "ll") == 0 || std::strcmp(length, "q") == 0;
  bool big_l = std::strcmp(length, "L") == 0;
  switch (conv_char) {
    case 'd': case 'i': case 'o': case 'u': case 'x': case 'X':
      if (hh || h || length[0] == 0) return cls::i;
      if (l) return cls::l;
      if (ll || big_l) return cls::ll;
      if (length[0] == 'z') return cls::z;
      if (length[0] == 'j') return cls::j;
      if (length[0] == 't') return cls::t;
      return cls::none;
    case 'e': case 'E': case 'f': case 'F': case 'g': case 'G': case 'a': case 'A':
      if (big_l) return cls::ld;
      if (length[0] == 0 || l) return cls::d;
      return cls::none;
    case 'c':
      if (length[0] == 0 || l) return cls::i;
      return cls::none;
    case 's':
      if (length[0] == 0) return cls::s;
      if (l) return cls::ws;
      return cls::none;
    case 'p':
      return length[0] == 0 ? cls::p : cls::none;
    case 'n':
      return cls::p;
    default:
      return cls::none;
  }
}

// Parses the conversion at fmt[pos] == '%'. Returns false when the text there
// is not a complete conversion (then the '%' is printed as it stands).
bool parse_conv(const char* fmt, long pos, int* next_slot, conv* c) {
  long k = pos + 1;
  c->start = pos;
  if (fmt[k] == '%') {
    c->end = k + 1;
    c->conv_char = '%';
    return true;
  }
  int nf = 0;
  while (is_flag(fmt[k])) {
    if (nf < 6) c->flags[nf++] = fmt[k];
    ++k;
  }
  if (fmt[k] == '*') {
    c->width_slot = (*next_slot)++;
    ++k;
  } else if (fmt[k] >= '0' && fmt[k] <= '9') {
    long w = 0;
    while (fmt[k] >= '0' && fmt[k] <= '9') {
      if (w <= kFieldMax) w = w * 10 + (fmt[k] - '0');
      ++k;
    }
    c->width = w > kFieldMax ? kFieldMax : w;
  }
  if (fmt[k] == '.') {
    ++k;
    if (fmt[k] == '*') {
      c->prec_slot = (*next_slot)++;
      ++k;
    } else {
      long p = 0;
      while (fmt[k] >= '0' && fmt[k] <= '9') {
        if (p <= kFieldMax) p = p * 10 + (fmt[k] - '0');
        ++k;
      }
      c->prec = p > kFieldMax ? kFieldMax : p;
    }
  }
  int nl = 0;
  if ((fmt[k] == 'h' && fmt[k + 1] == 'h') || (fmt[k] == 'l' && fmt[k + 1] == 'l')) {
    c->length[nl++] = fmt[k];
    c->length[nl++] = fmt[k + 1];
    k += 2;
  } else if (std::strchr("hlLqjzt", fmt[k]) != nullptr && fmt[k] != 0) {
    c->length[nl++] = fmt[k];
    ++k;
  }
  if (fmt[k] == 0) return false;
  c->conv_char = fmt[k];
  c->kind = class_of(c->conv_char, c->length);
  if (c->kind == cls::none) return false;
  c->value_slot = (*next_slot)++;
  c->end = k + 1;
  return true;
}

// The letter msg_fmt_args gives an argument consumed as `kind`.
char kind_letter(cls kind) {
  switch (kind) {
    case cls::i: return 'i';
    case cls::l: return 'l';
    case cls::ll: return 'L';
    case cls::z: return 'z';
    case cls::j: return 'j';
    case cls::t: return 't';
    case cls::d: return 'd';
    case cls::ld: return 'D';
    case cls::s: return 's';
    case cls::ws: return 'w';
    case cls::p: return 'p';
    case cls::none: break;
  }
  return '-';
}

void fetch(va_list* args, cls kind, value* v) {
  switch (kind) {
    case cls::i: v->i = va_arg(*args, int); break;
    case cls::none:
    case cls::l: v->l = va_arg(*args, long); break;
    case cls::ll: v->ll = va_arg(*args, long long); break;
    case cls::z: v->z = va_arg(*args, size_t); break;
    case cls::j: v->j = va_arg(*args, intmax_t); break;
    case cls::t: v->t = va_arg(*args, ptrdiff_t); break;
    case cls::d: v->d = va_arg(*args, double); break;
    case cls::ld: v->ld = va_arg(*args, long double); break;
    case cls::s:
    case cls::ws:
    case cls::p: v->p = va_arg(*args, const void*); break;
  }
}

// Appends bounded output; keeps the NUL at out[*pos].
struct sink {
  char* out;
  long size;
  long pos = 0;
  long room() const { return size - 1 - pos; }
  void put(const char* s, long n) {
    if (n > room()) n = room();
    if (n <= 0) return;
    std::memcpy(out + pos, s, static_cast<size_t>(n));
    pos += n;
    out[pos] = 0;
  }
  void advance(int written) {
    if (written <= 0) return;
    long n = written;
    if (n > room()) n = room();
    pos += n;
    out[pos] = 0;
  }
};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
void emit(sink* out, const char* conv_fmt, cls kind, const value& v) {
  if (out->room() <= 0) return;
  char* dst = out->out + out->pos;
  size_t n = static_cast<size_t>(out->room() + 1);
  int w = 0;
  switch (kind) {
    case cls::i: w = std::snprintf(dst, n, conv_fmt, v.i); break;
    case cls::l: w = std::snprintf(dst, n, conv_fmt, v.l); break;
    case cls::ll: w = std::snprintf(dst, n, conv_fmt, v.ll); break;
    case cls::z: w = std::snprintf(dst, n, conv_fmt, v.z); break;
    case cls::j: w = std::snprintf(dst, n, conv_fmt, v.j); break;
    case cls::t: w = std::snprintf(dst, n, conv_fmt, v.t); break;
    case cls::d: w = std::snprintf(dst, n, conv_fmt, v.d); break;
    case cls::ld: w = std::snprintf(dst, n, conv_fmt, v.ld); break;
    case cls::s:
      w = std::snprintf(dst, n, conv_fmt, v.p != nullptr ? static_cast<const char*>(v.p) : "(null)");
      break;
    case cls::ws:
      w = std::snprintf(dst, n, conv_fmt, v.p != nullptr ? static_cast<const wchar_t*>(v.p) : L"(null)");
      break;
    case cls::p: w = std::snprintf(dst, n, conv_fmt, v.p); break;
    case cls::none: break;
  }
  if (w < 0) {
    *dst = 0;
    return;
  }
  out->advance(w);
}
#pragma GCC diagnostic pop

// A text taken apart: the marker-free copy, the slot routing, the
// conversions and the type each argument is consumed as.
struct parsed_text {
  char copy[kCopyMax + 1];
  long n = 0;
  int slot_arg[kSlots + 1];
  static constexpr int kMaxConv = 256;
  conv convs[kMaxConv];
  int nconv = 0;
  cls arg_kind[kSlots + 1] = {};
  int max_arg = 0;
  bool conflict = false;  // some argument is consumed as two types
};

void parse_text(const char* text, parsed_text* t) {
  // 1. Marker-free copy of the text and the slot routing.
  for (int k = 1; k <= kSlots; ++k) t->slot_arg[k] = k;
  int markers = 0;
  long n = 0;
  for (long i = 0; text[i] != 0 && n < kCopyMax; ++i) {
    if (text[i] == ':' && text[i + 1] >= '1' && text[i + 1] <= '5') {
      ++markers;
      if (markers <= kSlots) t->slot_arg[markers] = text[i + 1] - '0';
      ++i;
      continue;
    }
    t->copy[n++] = text[i];
  }
  t->copy[n] = 0;
  t->n = n;

  // 2. Conversions and the type each argument is consumed as.
  int next_slot = 1;
  for (long i = 0; i < n; ++i) {
    if (t->copy[i] != '%') continue;
    if (t->nconv == parsed_text::kMaxConv) break;  // the rest is copied as it stands
    conv c;
    int slot_before = next_slot;
    if (!parse_conv(t->copy, i, &next_slot, &c)) {
      next_slot = slot_before;
      continue;
    }
    if (c.conv_char != '%') {
      bool fed = c.value_slot <= kSlots && c.width_slot <= kSlots && c.prec_slot <= kSlots;
      struct use {
        int slot;
        cls kind;
      } uses[3] = {{c.width_slot, cls::i}, {c.prec_slot, cls::i}, {c.value_slot, c.kind}};
      cls kinds[kSlots + 1];
      for (int a = 0; a <= kSlots; ++a) kinds[a] = t->arg_kind[a];
      for (const use& u : uses) {
        if (!fed || u.slot == 0) continue;
        int a = t->slot_arg[u.slot];
        if (kinds[a] == cls::none) {
          kinds[a] = u.kind;
        } else if (kinds[a] != u.kind) {
          fed = false;  // one argument read as two different types
          t->conflict = true;
        }
      }
      if (fed) {
        for (const use& u : uses) {
          if (u.slot == 0) continue;
          int a = t->slot_arg[u.slot];
          t->arg_kind[a] = kinds[a];
          if (a > t->max_arg) t->max_arg = a;
        }
      }
      c.literal = !fed;
    }
    t->convs[t->nconv++] = c;
    i = c.end - 1;
  }
}

}  // namespace

long msg_fmt_vformat(char* out, long size, const char* text, va_list args) {
  if (out == nullptr || size <= 0) return 0;
  out[0] = 0;
  if (text == nullptr || text[0] == 0) return 0;
  parsed_text t;
  parse_text(text, &t);
  const char* copy = t.copy;
  const long n = t.n;
  const conv* convs = t.convs;
  const int nconv = t.nconv;
  const int* slot_arg = t.slot_arg;
  const cls* arg_kind = t.arg_kind;
  const int max_arg = t.max_arg;

  // 3. Fetch arguments 1..max_arg in their own order.
  value vals[kSlots + 1] = {};
  va_list ap;
  va_copy(ap, args);
  for (int a = 1; a <= max_arg; ++a) fetch(&ap, arg_kind[a], &vals[a]);
  va_end(ap);

  // 4. Format piece by piece.
  sink s{out, size};
  long at = 0;
  for (int ci = 0; ci < nconv && s.room() > 0; ++ci) {
    const conv& c = convs[ci];
    s.put(copy + at, c.start - at);
    at = c.end;
    if (c.conv_char == '%') {
      s.put("%", 1);
      continue;
    }
    if (c.literal) {
      s.put(copy + c.start, c.end - c.start);
      continue;
    }
    if (c.conv_char == 'n') continue;  // never written
    char conv_fmt[48];
    int k = 0;
    conv_fmt[k++] = '%';
    long width = c.width;
    long prec = c.prec;
    bool left = false;
    if (c.width_slot != 0) {
      long w = vals[slot_arg[c.width_slot]].i;
      if (w < 0) {
        left = true;
        w = -w;
      }
      width = w > kFieldMax ? kFieldMax : w;
    }
    if (c.prec_slot != 0) {
      long p = vals[slot_arg[c.prec_slot]].i;
      prec = p < 0 ? -1 : (p > kFieldMax ? kFieldMax : p);
    }
    for (const char* f = c.flags; *f != 0; ++f) conv_fmt[k++] = *f;
    if (left) conv_fmt[k++] = '-';
    if (width >= 0) k += std::snprintf(conv_fmt + k, sizeof conv_fmt - static_cast<size_t>(k), "%ld", width);
    if (prec >= 0) k += std::snprintf(conv_fmt + k, sizeof conv_fmt - static_cast<size_t>(k), ".%ld", prec);
    for (const char* l = c.length; *l != 0; ++l) conv_fmt[k++] = *l;
    conv_fmt[k++] = c.conv_char;
    conv_fmt[k] = 0;
    emit(&s, conv_fmt, c.kind, vals[slot_arg[c.value_slot]]);
  }
  if (s.room() > 0) s.put(copy + at, n - at);
  return 0;
}

long msg_fmt_format(char* out, long size, const char* text, ...) {
  va_list args;
  va_start(args, text);
  long rc = msg_fmt_vformat(out, size, text, args);
  va_end(args);
  return rc;
}

long msg_fmt_args(const char* text, long* count, long* conflict, char* kinds) {
  long used = 0;
  bool clash = false;
  parsed_text t;
  if (text != nullptr && text[0] != 0) {
    parse_text(text, &t);
    used = t.max_arg;
    clash = t.conflict;
  }
  if (count != nullptr) *count = used;
  if (conflict != nullptr) *conflict = clash ? 1 : 0;
  if (kinds != nullptr) {
    for (long a = 1; a <= used; ++a) kinds[a - 1] = kind_letter(t.arg_kind[a]);
    kinds[used] = 0;
  }
  return 0;
}
