// Formatted output: the engine that walks the format and writes conversions.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "mbtext/gc_conv.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_fmt.h"
#include "mbtext/gc_fmt_cp_int.h"
#include "mbtext/gc_fmt_int.h"
#include "mbtext/gc_fmt_item_int.h"
#include "mbtext/gc_fp.h"
#include "mbtext/gc_locale.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_num.h"

int GCmputc(int byte, GCSink* sink) {
  if (--sink->left < 0) {
    sink->left = -1;
    return -1;
  }
  *sink->next++ = static_cast<char>(byte);
  return byte & 0xFF;
}

void GCWrite_char(int byte, GCSink* sink, int* count) {
  if (*count < 0) return;
  if (GCmputc(byte, sink) < 0)
    *count = -1;
  else
    ++*count;
}

void GCWrite_multiple_char(int byte, int n, GCSink* sink, int* count) {
  if (*count < 0 || n <= 0) return;
  const int k = sink->left <= 0 ? 0 : (n < sink->left ? n : sink->left);
  std::memset(sink->next, byte, static_cast<size_t>(k));
  sink->next += k;
  sink->left -= k;
  *count += k;
  if (k < n) { // the next byte did not fit
    sink->left = -1;
    *count = -1;
  }
}

namespace {

// A copy that makes no call for the few bytes of most pieces.
inline void copyBytes(char* to, const char* from, int n) {
  if (n > 16) {
    std::memcpy(to, from, static_cast<size_t>(n));
    return;
  }
  for (int i = 0; i < n; ++i) to[i] = from[i];
}

}  // namespace

void gcfmtWriteBytes(const char* bytes, int n, GCSink* sink, int* count) {
  if (*count < 0 || n <= 0) return;
  const int k = sink->left <= 0 ? 0 : (n < sink->left ? n : sink->left);
  copyBytes(sink->next, bytes, k);
  sink->next += k;
  sink->left -= k;
  *count += k;
  if (k < n) {
    sink->left = -1;
    *count = -1;
  }
}

void gcfmtWriteText(const GCFmtLens* lens, const char* text, int length, GCSink* sink, int* count) {
  if (*count < 0 || length <= 0) return;
  const int room = sink->left > 0 ? sink->left : 0;
  int j = 0;
  bool full = false;
  if (lens->single) {
    j = length <= room ? length : room;
    full = length > room;
  } else {
    // Whole characters only: one cut by the end of the text is left out,
    // one that does not fit ends the output.
    while (j < length) {
      const int len = gcfmtLen(lens, static_cast<unsigned char>(text[j]));
      if (len > length - j) break;
      if (len > room - j) {
        full = true;
        break;
      }
      j += len;
    }
  }
  copyBytes(sink->next, text, j);
  sink->next += j;
  sink->left -= j;
  *count += j;
  if (full) *count = -1;
}

void GCWrite_string(GCLocale* locale, const char* text, int length, GCSink* sink, int* count) {
  GCFmtLens lens;
  gcfmtLensInit(&lens, gcLocaleOrDefault(locale));
  gcfmtWriteText(&lens, text, length, sink, count);
}

namespace gcfmt {

namespace {

// Flag bits of a conversion.
constexpr uint32_t kPlus = 0x1, kSpace = 0x2, kMinus = 0x4, kZero = 0x8, kLong = 0x10, kShort = 0x20,
                   kSigned = 0x40, kAlt = 0x80, kNegative = 0x100, kOctalZero = 0x200, kLongDouble = 0x400,
                   kWide = 0x800, kLongLong = 0x8000, kPointer = 0x10000, kGroup = 0x20000;

// Conversion buffer: the fixed form of the largest long double with the
// largest precision, a sign and the NUL.
constexpr int kCvtBuf = GC_FP_DIGBUF + GC_FMT_MAXPREC + 64;

struct Chars {
  bool ascii;
  char zero() const { return ascii ? '0' : static_cast<char>(0xF0); }
  char minus() const { return ascii ? '-' : static_cast<char>(0x60); }
  char plus() const { return ascii ? '+' : static_cast<char>(0x4E); }
  char space() const { return ascii ? ' ' : static_cast<char>(0x40); }
  char point() const { return ascii ? '.' : static_cast<char>(0x4B); }
  char x(bool upper) const {
    if (ascii) return upper ? 'X' : 'x';
    return upper ? static_cast<char>(0xE7) : static_cast<char>(0xA7);
  }
  char hexDigit(int d, bool upper) const {
    char c = static_cast<char>(zero() + d);
    if (d < 10) return c;
    if (ascii) return static_cast<char>(c + (upper ? 0x07 : 0x27));
    return static_cast<char>(c - (upper ? 0x39 : 0x79));
  }
  const char* null() const { return ascii ? "(null)" : "\x4D\x95\xA4\x93\x93\x5D"; }
};

// The bytes of a packed wide character in the locale's code page (the
// library's wide-to-multibyte conversion); false when nothing converts.
bool wideToBytes(GCLocale* loc, uint32_t wc, char* out, int* n) {
  const uint32_t keep = loc->status;
  *n = GCWideToMb(loc, out, 4, &wc, 1, 0);
  loc->status = keep;
  return *n > 0;
}

// ASCII copy of a float text (digits, signs, point, exponent letter).
void toAsciiNumber(const char* text, int len, bool ascii, char* out) {
  for (int i = 0; i < len; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (!ascii) {
      if (c >= 0xF0 && c <= 0xF9) c = static_cast<unsigned char>('0' + (c - 0xF0));
      else if (c == 0x4B) c = '.';
      else if (c == 0x4E) c = '+';
      else if (c == 0x60) c = '-';
      else if (c == 0x85 || c == 0xC5) c = 'e';
    }
    out[i] = static_cast<char>(c);
  }
  out[len] = '\0';
}

struct Engine {
  GCLocale* loc = nullptr;
  GCFmtLens lens{};
  GCSink* sink = nullptr;
  bool ascii = true;
  Chars ch{true};
  const GCArgValue* values = nullptr;
  const GCArgRecord* records = nullptr;
  uint32_t callFlags = 0;
  uint32_t* status = nullptr;
  int count = 0;
  int consumer = 0;
  int consumers = 0;  // consumers the format has (size of the arrays less one)
  char cvt[kCvtBuf];

  int decimal = -1;      // the decimal separator byte once looked up (0: none)
  va_list* ap = nullptr; // when set, each consumer's argument is read from here in turn
  GCArgValue read{};

  // The argument of the next consumer, of the kind it reads; a zero value
  // past the collected ones.
  const GCArgValue& arg(uint32_t kind) {
    static const GCArgValue kNone{};
    ++consumer;
    if (ap) {
      read = GCArgValue{};
      gcfmtReadArg(ap, kind, &read);
      return read;
    }
    if (consumer > consumers) return kNone;
    return values[records[consumer - 1].position];
  }
};

// The territory's decimal separator as GCGetLocaleTextInfo gives it with
// the item flag into two bytes: its character when that is one byte of a
// page without shift codes, else nothing (0).
int decimalByte(GCLocale* loc) {
  const uint8_t* td = loc->territory ? gcObjSection(loc->territory) : nullptr;
  if (td && loc->codepage) {
    GCCpView v;
    gcCpViewInit(&v, loc->codepage);
    if (!v.shift) {
      const GCUChar u = gc_be16(td + GC_TERR_SEPS + 2 * GC_SEP_DECIMAL);
      if (u == 0) return 0;
      uint8_t b[4];
      return gcCpViewToChar(&v, u, b) == 1 ? b[0] : 0;
    }
  }
  char dec[5] = {0};
  gcfmtTextItem(loc, GC_ITEM_DECIMAL, dec, sizeof dec, 1);
  return static_cast<unsigned char>(dec[0]);
}

// Writes a prepared conversion: padding, prefix, zeros, text.
void writeConversion(Engine& e, uint32_t fl, int width, const char* prefix, int prefixLen, const char* text,
                     int textLen, bool floatText, bool reformatted, const uint32_t* wide, int wideLen) {
  int pad = width - textLen - prefixLen;
  if (pad > 0 && !(fl & (kMinus | kZero))) GCWrite_multiple_char(e.ch.space(), pad, e.sink, &e.count);
  if (prefixLen > 0) gcfmtWriteBytes(prefix, prefixLen, e.sink, &e.count);
  if (pad > 0 && (fl & kZero) && !(fl & kMinus)) GCWrite_multiple_char(e.ch.zero(), pad, e.sink, &e.count);
  if (wide) {
    for (int i = 0; i < wideLen && e.count >= 0; ++i) {
      char bytes[4];
      int n = 0;
      if (!wideToBytes(e.loc, wide[i], bytes, &n)) break;
      gcfmtWriteText(&e.lens, bytes, n, e.sink, &e.count);
    }
  } else if (floatText && !reformatted) {
    char dec[5] = {0};
    // The territory's decimal separator, as the number formatters use it
    // under the item flag (looked up once per call).
    if (e.decimal < 0) e.decimal = decimalByte(e.loc);
    dec[0] = static_cast<char>(e.decimal);
    if (dec[0] && dec[0] != e.ch.point()) {
      char* t = const_cast<char*>(text);
      for (int i = 0; i < textLen; ++i)
        if (t[i] == e.ch.point()) t[i] = dec[0];
    }
    gcfmtWriteText(&e.lens, text, textLen, e.sink, &e.count);
  } else {
    gcfmtWriteText(&e.lens, text, textLen, e.sink, &e.count);
  }
  if (pad > 0 && (fl & kMinus)) GCWrite_multiple_char(e.ch.space(), pad, e.sink, &e.count);
}

// One conversion; false when the engine refuses it (status set).
bool convert(Engine& e, unsigned char conv, uint32_t fl, int width, int precision) {
  char prefix[2];
  int prefixLen = 0;
  const char* text = e.cvt;
  int textLen = 0;
  bool floatText = false;
  bool reformatted = false;
  const uint32_t* wide = nullptr;
  int wideLen = 0;

  switch (conv) {
    case 'c':
      e.cvt[0] = static_cast<char>(e.arg(GC_ARG_INT).i);
      textLen = 1;
      break;
    case 'C': {
      int n = 0;
      if (!wideToBytes(e.loc, e.arg(GC_ARG_WCHAR).u, e.cvt, &n)) return true;  // nothing at all is written
      textLen = n;
      break;
    }
    case 's': {
      const char* s = static_cast<const char*>(e.arg(GC_ARG_PTR).p);
      if (!s) s = e.ch.null();
      text = s;
      size_t limit = precision >= 0 ? static_cast<size_t>(precision) : 0x7FFFFFFF;
      textLen = static_cast<int>(strnlen(s, limit));
      break;
    }
    case 'S': {
      const auto* ws = static_cast<const uint32_t*>(e.arg(GC_ARG_WSTR).p);
      if (!ws) {
        text = e.ch.null();
        textLen = 6;
        break;
      }
      int limit = precision >= 0 ? precision : 0x7FFFFFFF;
      while (wideLen < limit && ws[wideLen]) ++wideLen;
      wide = ws;
      textLen = wideLen;  // the width counts characters
      break;
    }
    case 'n':
      (void)e.arg(GC_ARG_PTR);  // the pointer is consumed; nothing is stored through it
      return true;
    case 'B':
    case 'Z':
      (void)e.arg(GC_ARG_INT);  // counted (its argument taken), not used
      textLen = 0;
      break;
    case 'e': case 'E': case 'f': case 'g': case 'G': {
      if (precision < 0) precision = 6;
      if ((conv == 'g' || conv == 'G') && precision == 0) precision = 1;
      if (precision > GC_FMT_MAXPREC) {
        *e.status = GC_E_ARG;
        return false;
      }
      const GCArgValue& a = e.arg((fl & kLongDouble) ? GC_ARG_LDOUBLE : GC_ARG_DOUBLE);
      int lower = (conv == 'E') ? 'e' : (conv == 'G' ? 'g' : conv);
      int capital = (conv == 'E' || conv == 'G') ? 1 : 0;
      long double lv = (fl & kLongDouble) ? a.ld : static_cast<long double>(a.d);
      int n = (fl & kLongDouble) ? GCCldcvt(&a.ld, e.cvt, kCvtBuf, lower, precision, capital, e.ascii)
                                 : GCCfltcvt(&a.d, e.cvt, kCvtBuf, lower, precision, capital, e.ascii);
      if (n < 0) {
        *e.status = GC_E_ARG;
        return false;
      }
      const bool finite = std::isfinite(lv);
      if (finite && (fl & kAlt) && precision == 0) {
        GCForcdecpt(e.cvt, kCvtBuf, e.ascii);
      }
      if ((lower == 'g') && !(fl & kAlt)) GCCropzeros(e.cvt, e.ascii);
      if (!finite) fl &= ~kZero;
      text = e.cvt;
      if (text[0] == e.ch.minus()) {
        fl |= kNegative;
        ++text;
      }
      textLen = static_cast<int>(std::strlen(text));
      floatText = true;
      fl |= kSigned;
      if ((fl & kGroup) && finite && lower != 'e') {
        char plain[kCvtBuf];
        toAsciiNumber(text, textLen, e.ascii, plain);
        locale_t cl = gcfmtCLocale();
        double v = cl ? strtod_l(plain, nullptr, cl) : std::strtod(plain, nullptr);
        // Written aside first: a text that does not fit whole keeps the plain form.
        int w = GCDoubleToString(e.loc, v, plain, kCvtBuf, e.callFlags & GC_FMT_ITEMFLAG);
        if (w >= 0 && e.loc->status == GC_OK) {
          std::memcpy(e.cvt, plain, static_cast<size_t>(w));
          text = e.cvt;
          textLen = w;
          reformatted = true;
        }
      }
      break;
    }
    case 'p':
    case 'd': case 'i': case 'u': case 'o': case 'x': case 'X': {
      const bool isSigned = conv == 'd' || conv == 'i';
      // kindOf's answer for these letters.
      const uint32_t kind = conv == 'p'            ? GC_ARG_PTR
                            : (fl & kLongLong) != 0 ? GC_ARG_LLONG
                            : (fl & kLong) != 0     ? GC_ARG_LONG
                            : (fl & kShort) != 0    ? GC_ARG_SHORT
                                                    : GC_ARG_INT;
      const GCArgValue& a = e.arg(kind);
      unsigned long long v;
      if (conv == 'p') {
        v = reinterpret_cast<uintptr_t>(a.p);
        fl |= kPointer;
      } else if (fl & kLongLong) {
        v = static_cast<unsigned long long>(a.ll);
        if (isSigned && a.ll < 0) {
          fl |= kNegative;
          v = 0ull - v;
        }
      } else if (fl & kLong) {
        v = static_cast<unsigned long long>(a.l);
        if (isSigned && a.l < 0) {
          fl |= kNegative;
          v = 0ull - v;
        }
      } else if (fl & kShort) {
        if (isSigned) {
          long long s = static_cast<int16_t>(a.i & 0xFFFF);
          v = s < 0 ? 0ull - static_cast<unsigned long long>(s) : static_cast<unsigned long long>(s);
          if (s < 0) fl |= kNegative;
        } else {
          v = static_cast<uint16_t>(a.i & 0xFFFF);
        }
      } else {
        if (isSigned) {
          long long s = a.i;
          v = s < 0 ? 0ull - static_cast<unsigned long long>(s) : static_cast<unsigned long long>(s);
          if (s < 0) fl |= kNegative;
        } else {
          v = a.u;
        }
      }
      if (isSigned) fl |= kSigned;
      int base = (conv == 'o') ? 8 : ((conv == 'x' || conv == 'X' || conv == 'p') ? 16 : 10);
      bool upper = conv == 'X' || conv == 'p';
      if (conv == 'p') precision = precision < 0 ? 8 : precision;
      if (precision < 0)
        precision = 1;
      else
        fl &= ~kZero;
      if (precision > GC_FMT_MAXPREC) {
        *e.status = GC_E_ARG;
        return false;
      }
      if ((fl & kAlt) && (conv == 'x' || conv == 'X' || conv == 'p') && v != 0) {
        prefix[0] = e.ch.zero();
        prefix[1] = e.ch.x(conv != 'x');
        prefixLen = 2;
      }
      if ((fl & kAlt) && conv == 'o') fl |= kOctalZero;
      char* end = e.cvt + 600;
      char* p = end;
      unsigned long long rest = v;
      int prec = precision;
      // Constant bases let the compiler divide without a divide.
      auto digits = [&](auto b) {
        while (prec-- > 0 || rest != 0) {
          *--p = e.ch.hexDigit(static_cast<int>(rest % b), upper);
          rest /= b;
        }
      };
      if (base == 10) {
        // Two digits a step while at least three are left, in 32 bits when
        // the value fits.
        const char z = e.ch.zero();
        static constexpr auto kPairs = [] {
          struct T {
            char v[200];
          } t{};
          for (int q = 0; q < 100; ++q) {
            t.v[2 * q] = static_cast<char>(q / 10);
            t.v[2 * q + 1] = static_cast<char>(q % 10);
          }
          return t;
        }();
        auto pairs = [&](auto& r) {
          while (r >= 10000) { // four digits a step: shorter chains of divisions
            const unsigned q = static_cast<unsigned>(r % 10000);
            r /= 10000;
            const unsigned lo = q % 100, hi = q / 100;
            *--p = static_cast<char>(z + kPairs.v[2 * lo + 1]);
            *--p = static_cast<char>(z + kPairs.v[2 * lo]);
            *--p = static_cast<char>(z + kPairs.v[2 * hi + 1]);
            *--p = static_cast<char>(z + kPairs.v[2 * hi]);
            prec -= 4;
          }
          while (r >= 100) {
            const unsigned q = static_cast<unsigned>(r % 100);
            r /= 100;
            *--p = static_cast<char>(z + kPairs.v[2 * q + 1]);
            *--p = static_cast<char>(z + kPairs.v[2 * q]);
            prec -= 2;
          }
        };
        if (rest <= 0xFFFFFFFFull) {
          uint32_t r32 = static_cast<uint32_t>(rest);
          pairs(r32);
          rest = r32;
        } else {
          pairs(rest);
        }
        digits(10u);
      } else if (base == 16) {
        digits(16u);
      } else {
        digits(8u);
      }
      if ((fl & kOctalZero) && (p == end || *p != e.ch.zero())) *--p = e.ch.zero();
      text = p;
      textLen = static_cast<int>(end - p);
      // ',' groups d, i and u through the locale's number format; values
      // beyond 32 bits keep their plain digits.
      if ((fl & kGroup) && (isSigned || conv == 'u') && v <= 0xFFFFFFFFull) {
        char grouped[512];
        int w = GCLongToString(e.loc, static_cast<int32_t>(static_cast<uint32_t>(v)), grouped, sizeof grouped,
                               (e.callFlags & GC_FMT_ITEMFLAG) | GC_NUM_UNSIGNED_VALUE);
        if (w >= 0 && e.loc->status == GC_OK) {
          std::memcpy(e.cvt, grouped, static_cast<size_t>(w));
          text = e.cvt;
          textLen = w;
        }
      }
      break;
    }
    default:
      return true;
  }

  if (fl & kSigned) {
    if (fl & kNegative)
      prefix[prefixLen++] = e.ch.minus();
    else if (fl & kPlus)
      prefix[prefixLen++] = e.ch.plus();
    else if (fl & kSpace)
      prefix[prefixLen++] = e.ch.space();
  }
  writeConversion(e, fl, width, prefix, prefixLen, text, textLen, floatText, reformatted, wide, wideLen);
  return true;
}

int addDigit(int value, int digit) {
  if (value > (0x7FFFFFFF - digit) / 10) return 0x7FFFFFFF;
  return value * 10 + digit;
}

}  // namespace

int output(GCLocale* locale, GCSink* sink, const char* format, bool ascii, const GCArgValue* values,
           const GCArgRecord* records, int consumers, uint32_t flags, uint32_t* status, const GCFmtWalk* proto,
           va_list* ap) {
  Engine e;
  e.ap = ap;
  e.consumers = consumers;
  e.loc = locale;
  e.sink = sink;
  e.ascii = ascii;
  e.ch = Chars{ascii};
  e.values = values;
  e.records = records;
  e.callFlags = flags;
  e.status = status;
  const unsigned char* f = reinterpret_cast<const unsigned char*>(format);
  int state = kNormal;
  uint32_t fl = 0;
  int width = 0, precision = -1;
  GCFmtWalk walk;
  if (proto) walk = *proto;
  else gcfmtWalkInit(&walk, locale);
  e.lens = walk.lens;
  const unsigned char percent = ascii ? '%' : 0x6C;
  for (int i = 0; f[i] && e.count >= 0;) {
    int len = gcfmtWalkLen(&walk, f[i]);
    if (len > 1) {
      if (state == kPercent) {
        *status = GC_E_FORMAT;
        return -1;
      }
      int j = 1;
      while (j < len && f[i + j]) ++j;
      if (j < len) break;
      // The whole character, or nothing when it does not fit.
      if (len > sink->left) {
        e.count = -1;
        break;
      }
      for (int k = 0; k < len; ++k) GCWrite_char(f[i + k], sink, &e.count);
      i += len;
      continue;
    }
    unsigned char c = parseByte(f[i], ascii);
    int ns = nextState(charClass(c), state);
    switch (ns) {
      case kNormal: {
        // The run of plain one-byte characters up to the next '%' goes out
        // as one piece.
        int j = i + 1;
        if (!walk.shift)
          while (f[j] && f[j] != percent && gcfmtLen(&walk.lens, f[j]) == 1) ++j;
        gcfmtWriteBytes(reinterpret_cast<const char*>(f + i), j - i, sink, &e.count);
        i = j - 1;
        break;
      }
      case kPercent:
        fl = 0;
        width = 0;
        precision = -1;
        break;
      case kFlag:
        if (c == ' ') fl |= kSpace;
        else if (c == '#') fl |= kAlt;
        else if (c == '+') fl |= kPlus;
        else if (c == ',') fl |= kGroup;
        else if (c == '-') fl |= kMinus;
        else if (c == '0') fl |= kZero;
        else if (c == '$') width = 0;
        break;
      case kWidth:
        if (c == '*') {
          int w = e.arg(GC_ARG_INT).i;
          if (w < 0) {
            fl |= kMinus;
            w = w == INT32_MIN ? INT32_MAX : -w;
          }
          width = w;
        } else {
          width = addDigit(width, c - '0');
        }
        break;
      case kDot:
        precision = 0;
        break;
      case kPrecision:
        if (c == '*') {
          int p = e.arg(GC_ARG_INT).i;
          precision = p < 0 ? -1 : p;
        } else {
          precision = addDigit(precision < 0 ? 0 : precision, c - '0');
        }
        break;
      case kSize:
        if (c == 'h') fl |= kShort;
        else if (c == 'L') fl |= kLongDouble;
        else if (c == 'l') {
          if (f[i + 1] && parseByte(f[i + 1], ascii) == 'l') {
            fl |= kLongLong;
            ++i;
          } else {
            fl |= kLong;
          }
        }
        break;
      case kType:
        if (!convert(e, c, fl, width, precision)) return -1;
        break;
      default:
        break;
    }
    state = ns;
    ++i;
  }
  return e.count;
}

}  // namespace gcfmt

int GCOutput(GCLocale* locale, GCSink* sink, const char* format, int ascii, const GCArgValue* values,
             const GCArgRecord* records, uint32_t flags) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  uint32_t status = GC_OK;
  const int consumers = GCGetArgCount(loc, format, ascii);
  int r = gcfmt::output(loc, sink, format, ascii != 0, values, records, consumers, flags, &status);
  if (status != GC_OK) loc->status = status;
  return r;
}
