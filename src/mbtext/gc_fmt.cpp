// Formatted output: format scanning, argument collection and the entry.
#include "mbtext/gc_fmt.h"

#include <cstring>

#include "mbtext/gc_fmt_cp_int.h"
#include "mbtext/gc_fmt_int.h"
#include "mbtext/gc_len_int.h"
#include "mbtext/gc_locale.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_types_int.h"

namespace gcfmt {

namespace {

}  // namespace

char pageChar(char c, bool ascii) {
  const auto u = static_cast<unsigned char>(c);
  if (ascii || u < 0x20 || u > 0x7E) return c;
  return static_cast<char>(kFmtToEbcdic[u - 0x20]);
}

uint32_t kindOf(unsigned char conv, uint32_t size) {
  switch (conv) {
    case 'c': case 'B': case 'Z': return GC_ARG_INT;
    case 'C': return GC_ARG_WCHAR;
    case 's': case 'n': case 'p': return GC_ARG_PTR;
    case 'S': return GC_ARG_WSTR;
    case 'e': case 'E': case 'f': case 'g': case 'G': return (size & kSizeLD) ? GC_ARG_LDOUBLE : GC_ARG_DOUBLE;
    default:  // d i o u x X
      if (size & kSizeLL) return GC_ARG_LLONG;
      if (size & kSizeL) return GC_ARG_LONG;
      if (size & kSizeH) return GC_ARG_SHORT;
      return GC_ARG_INT;
  }
}

}  // namespace gcfmt

using namespace gcfmt;

namespace {

// Moves *i over whole multibyte characters of the format to its next
// single-byte character, the only kind that can be part of a conversion.
// False at the end of the format or at a character cut by its end.
bool nextSingleByte(GCFmtWalk* walk, const unsigned char* f, int* i) {
  while (f[*i]) {
    const int len = gcfmtWalkLen(walk, f[*i]);
    if (len <= 1) return true;
    for (int j = 1; j < len; ++j)
      if (!f[*i + j]) return false;
    *i += len;
  }
  return false;
}

// Walks a format and reports its argument consumers: every '*' read as a
// width or precision and every conversion character, in format order. For
// each consumer the callback gets its number (from 1), whether it is the
// first of its conversion, the position character that followed the '%'
// (parsed form), and for a conversion character its kind (else int).
template <class F>
int scanConsumers(GCLocale* loc, const char* format, bool ascii, F&& onConsumer, const GCFmtWalk* proto = nullptr) {
  const unsigned char* f = reinterpret_cast<const unsigned char*>(format);
  int state = kNormal;
  int k = 0;
  bool first = true;
  unsigned char poschar = 0;
  uint32_t size = 0;
  GCFmtWalk walk;
  if (proto) walk = *proto;
  else gcfmtWalkInit(&walk, loc);
  for (int i = 0; nextSingleByte(&walk, f, &i);) {
    unsigned char c = parseByte(f[i], ascii);
    int ns = nextState(charClass(c), state);
    if (charClass(c) == 1 && ns == kPercent) {
      first = true;
      size = 0;
      poschar = f[i + 1] ? parseByte(f[i + 1], ascii) : 0;
    } else if (c == '*' && (ns == kWidth || ns == kPrecision)) {
      ++k;
      if (!onConsumer(k, first, poschar, static_cast<uint32_t>(GC_ARG_INT))) return -1;
      first = false;
    } else if (ns == kSize) {
      if (c == 'h') size |= kSizeH;
      if (c == 'L') size |= kSizeLD;
      if (c == 'l') {
        if (f[i + 1] && parseByte(f[i + 1], ascii) == 'l') {
          size |= kSizeLL;
          ++i;
        } else {
          size |= kSizeL;
        }
      }
    } else if (ns == kType) {
      ++k;
      if (!onConsumer(k, first, poschar, kindOf(c, size))) return -1;
      first = false;
    }
    state = ns;
    ++i;
  }
  return k;
}

// The class of va_arg read that takes an argument of a kind: kinds that
// read the same type may share a position.
int readClass(uint32_t kind) {
  switch (kind) {
    case GC_ARG_PTR: case GC_ARG_WSTR: return 1;
    case GC_ARG_LONG: return 2;
    case GC_ARG_WCHAR: return 3;
    case GC_ARG_DOUBLE: return 4;
    case GC_ARG_LDOUBLE: return 5;
    case GC_ARG_LLONG: return 6;
    default: return 0;  // int, short (promoted)
  }
}

// True when every consumer reads its position as the kind recorded there:
// a format that names one position with two types (formats can come from
// message files) would read an argument as what it is not.
bool kindsAgree(GCLocale* loc, const char* format, bool ascii, const GCArgRecord* records, int n) {
  return scanConsumers(loc, format, ascii, [&](int k, bool, unsigned char, uint32_t kind) {
           return k <= n && readClass(records[records[k - 1].position].kind) == readClass(kind);
         }) == n;
}

}  // namespace

namespace {

int isNumArgValid(const char* format, int ascii, const GCFmtWalk& proto) {
  const unsigned char* f = reinterpret_cast<const unsigned char*>(format);
  int state = kNormal;
  int percents = 0;
  bool positional = false;
  GCFmtWalk walk = proto;
  for (int i = 0; nextSingleByte(&walk, f, &i);) {
    unsigned char c = parseByte(f[i], ascii != 0);
    int ns = nextState(charClass(c), state);
    state = ns;
    ++i;
    if (charClass(c) == 1 && ns == kPercent) {
      ++percents;
      if (!f[i]) break;
      if (!f[i + 1]) return 0;
      if (f[i + 2] && gcfmtLen(&walk.lens, f[i + 2]) > 1) return -1;
      if (parseByte(f[i + 1], ascii != 0) == '$') {
        positional = true;
      } else {
        return percents == 1 ? 0 : -1;
      }
      i += 2;  // the walk resumes after the two bytes, still after the '%'
    }
  }
  return positional ? 1 : 0;
}

}  // namespace

int GCIsNumArgValid(GCLocale* locale, const char* format, int ascii) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  GCFmtWalk walk;
  gcfmtWalkInit(&walk, loc);
  return isNumArgValid(format, ascii, walk);
}

int GCGetArgCount(GCLocale* locale, const char* format, int ascii) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  return scanConsumers(loc, format, ascii != 0, [](int, bool, unsigned char, uint32_t) { return true; });
}

int GCFillNumArgValues(GCLocale* locale, const char* format, GCArgRecord* records, int consumers, int ascii) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  uint32_t last = 0;
  return scanConsumers(loc, format, ascii != 0, [&](int k, bool first, unsigned char pc, uint32_t) {
    if (k > consumers) return false;
    uint32_t pos;
    if (first) {
      if (pc < '1' || pc > '9') return false;
      pos = static_cast<uint32_t>(pc - '1');
    } else {
      pos = last + 1;
    }
    if (pos >= static_cast<uint32_t>(consumers)) return false;
    records[k - 1].position = pos;
    last = pos;
    return true;
  });
}

int GCFillArgSize(GCLocale* locale, const char* format, GCArgRecord* records, int ascii) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  return scanConsumers(loc, format, ascii != 0, [&](int k, bool, unsigned char, uint32_t kind) {
    records[records[k - 1].position].kind = kind;
    return true;
  });
}

int GCVsprintf(GCLocale* locale, char* buffer, int32_t length, const char* format, int32_t fmtlen, uint32_t flags,
               va_list args) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  const bool chars = (flags & GC_FL_CHARS) != 0;
  if (chars && fmtlen > 0 && format) fmtlen = gcfmtCharsToBytes(loc, format, fmtlen);
  flags &= ~GC_FL_CHARS;
  if (flags & ~uint32_t(GC_FMT_ITEMFLAG | GC_FL_NUL | GC_FMT_NUMFLAG)) {
    loc->status = GC_E_ARG;
    return -1;
  }
  const bool ascii = gcfmtAscii(loc);
  if (!buffer) {
    loc->status = GC_E_BUFFER;
    return -1;
  }
  if ((flags & GC_FL_NUL) && length == 0) {
    loc->status = GC_E_BUFFER;  // not even the NUL fits
    return 0;
  }
  if ((flags & GC_FL_NUL) && length > 0) --length;
  if (!format) {
    loc->status = GC_E_FORMAT;
    return -1;
  }
  if (fmtlen < 0 && (fmtlen = gcTextLen(format)) < 0) {
    loc->status = GC_E_ARG;
    return -1;
  }
  if (fmtlen == 0) {
    loc->status = GC_E_FORMAT;
    return -1;
  }
  GCFmtWalk walk; // the code page's facts, looked up once for the scans and the output
  gcfmtWalkInit(&walk, loc);
  int positional = isNumArgValid(format, ascii, walk);
  if (positional < 0) {
    loc->status = GC_E_FORMAT;
    return -1;
  }
  GCSink sink{buffer, length < 0 ? INT32_MAX : length};
  uint32_t engineStatus = GC_OK;
  auto finish = [&](int r) {
    loc->status = GC_OK;
    if (r < 0) {
      loc->status = engineStatus ? engineStatus : GC_E_BUFFER;
      r = static_cast<int>(sink.next - buffer);
    }
    if (flags & GC_FL_NUL) buffer[r++] = '\0';
    if (loc->status == GC_OK && chars && r > 0) r = gcfmtNumChars(loc, buffer, r);
    return r;
  };
  if (!positional) {
    // Each consumer takes the next argument: one pass over the format reads
    // them as it goes.
    va_list ap;
    va_copy(ap, args);
    int r = output(loc, &sink, format, ascii, nullptr, nullptr, 0, flags, &engineStatus, &walk, &ap);
    va_end(ap);
    return finish(r);
  }

  int n = GCGetArgCount(loc, format, ascii);
  uint32_t cells = static_cast<uint32_t>(n) + 1;
  auto* values = static_cast<GCArgValue*>(gcAlloc(cells * sizeof(GCArgValue)));
  auto* records = static_cast<GCArgRecord*>(values ? gcAlloc(cells * sizeof(GCArgRecord)) : nullptr);
  if (!values || !records) {
    if (values) gcFree(values);
    loc->status = GC_E_BUFFER;
    return -1;
  }
  std::memset(values, 0, cells * sizeof(GCArgValue));
  std::memset(records, 0, cells * sizeof(GCArgRecord));
  auto release = [&](int r) {
    gcFree(values);
    gcFree(records);
    return r;
  };

  // One consumer too: a position of 0 or above the count is refused.
  bool ok = true;
  if (n > 0) ok = GCFillNumArgValues(loc, format, records, n, ascii) == n;
  if (ok) ok = GCFillArgSize(loc, format, records, ascii) == n;
  if (ok) ok = kindsAgree(loc, format, ascii, records, n);
  if (!ok) {
    loc->status = GC_E_FORMAT;
    return release(0);
  }
  // Arguments are taken up to the highest position a consumer names, so a
  // position that is named twice does not read past the caller's arguments.
  int taken = 0;
  for (int i = 0; i < n; ++i)
    if (static_cast<int>(records[i].position) + 1 > taken) taken = static_cast<int>(records[i].position) + 1;
  va_list ap;
  va_copy(ap, args);
  for (int j = 0; j < taken; ++j) gcfmtReadArg(&ap, records[j].kind, &values[j]);
  va_end(ap);

  return release(finish(output(loc, &sink, format, ascii, values, records, n, flags, &engineStatus, &walk)));
}
