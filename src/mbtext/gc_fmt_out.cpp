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

// What a conversion writes: its prefix (sign, "0x"), its text or wide
// characters, and how the text is to be written.
struct Piece {
  char prefix[3];
  int prefixLen = 0;
  const char* text = nullptr;
  int textLen = 0;
  bool floatText = false;    // the decimal point becomes the territory's separator
  bool reformatted = false;  // already in the territory's number format
  const uint32_t* wide = nullptr;
  int wideLen = 0;
};

// What a conversion family decided.
enum class Step { kWrite, kNothing, kRefused };

// Writes a prepared conversion: padding, prefix, zeros, text.
void writeConversion(Engine& e, uint32_t fl, int width, const Piece& pc) {
  int pad = width - pc.textLen - pc.prefixLen;
  if (pad > 0 && !(fl & (kMinus | kZero))) GCWrite_multiple_char(e.ch.space(), pad, e.sink, &e.count);
  if (pc.prefixLen > 0) gcfmtWriteBytes(pc.prefix, pc.prefixLen, e.sink, &e.count);
  if (pad > 0 && (fl & kZero) && !(fl & kMinus)) GCWrite_multiple_char(e.ch.zero(), pad, e.sink, &e.count);
  if (pc.wide) {
    for (int i = 0; i < pc.wideLen && e.count >= 0; ++i) {
      char bytes[4];
      int n = 0;
      if (!wideToBytes(e.loc, pc.wide[i], bytes, &n)) break;
      gcfmtWriteText(&e.lens, bytes, n, e.sink, &e.count);
    }
  } else if (pc.floatText && !pc.reformatted) {
    // The territory's decimal separator, as the number formatters use it
    // under the item flag (looked up once per call).
    if (e.decimal < 0) e.decimal = decimalByte(e.loc);
    const char dec = static_cast<char>(e.decimal);
    if (dec && dec != e.ch.point()) {
      char* t = const_cast<char*>(pc.text);
      for (int i = 0; i < pc.textLen; ++i)
        if (t[i] == e.ch.point()) t[i] = dec;
    }
    gcfmtWriteText(&e.lens, pc.text, pc.textLen, e.sink, &e.count);
  } else {
    gcfmtWriteText(&e.lens, pc.text, pc.textLen, e.sink, &e.count);
  }
  if (pad > 0 && (fl & kMinus)) GCWrite_multiple_char(e.ch.space(), pad, e.sink, &e.count);
}

// The largest length a precision may ask of a text.
constexpr int kTextLimit = 0x7FFFFFFF;

// Byte texts and the letters that write nothing: c, s, n, B, Z. A string's
// length is bounded by its precision and never read past its NUL.
Step convertText(Engine& e, unsigned char conv, int precision, Piece& pc) {
  switch (conv) {
    case 'c':
      e.cvt[0] = static_cast<char>(e.arg(GC_ARG_INT).i);
      pc.text = e.cvt;
      pc.textLen = 1;
      return Step::kWrite;
    case 's': {
      const char* s = static_cast<const char*>(e.arg(GC_ARG_PTR).p);
      if (!s) s = e.ch.null();
      pc.text = s;
      const size_t limit = static_cast<size_t>(precision >= 0 ? precision : kTextLimit);
      pc.textLen = static_cast<int>(strnlen(s, limit));
      return Step::kWrite;
    }
    case 'n':
      (void)e.arg(GC_ARG_PTR);  // the pointer is consumed; nothing is stored through it
      return Step::kNothing;
    default:                    // 'B', 'Z': counted (the argument taken), not used
      (void)e.arg(GC_ARG_INT);
      pc.text = e.cvt;
      return Step::kWrite;
  }
}

// Wide characters: C (one) and S (a string, bounded by its precision); the
// width counts characters.
Step convertWide(Engine& e, unsigned char conv, int precision, Piece& pc) {
  if (conv == 'C') {
    int n = 0;
    // A character with no bytes in the code page writes nothing at all.
    if (!wideToBytes(e.loc, e.arg(GC_ARG_WCHAR).u, e.cvt, &n)) return Step::kNothing;
    pc.text = e.cvt;
    pc.textLen = n;
    return Step::kWrite;
  }
  const auto* ws = static_cast<const uint32_t*>(e.arg(GC_ARG_WSTR).p);
  if (!ws) {
    pc.text = e.ch.null();
    pc.textLen = static_cast<int>(std::strlen(pc.text));
    return Step::kWrite;
  }
  const int limit = precision >= 0 ? precision : kTextLimit;
  while (pc.wideLen < limit && ws[pc.wideLen]) ++pc.wideLen;
  pc.wide = ws;
  pc.textLen = pc.wideLen;
  return Step::kWrite;
}

// ',' on a finite fixed or general form: the number again in the
// territory's format, written aside first so a text that does not fit
// whole keeps the plain form.
void groupFloat(Engine& e, Piece& pc) {
  char plain[kCvtBuf];
  toAsciiNumber(pc.text, pc.textLen, e.ascii, plain);
  locale_t cl = gcfmtCLocale();
  const double v = cl ? strtod_l(plain, nullptr, cl) : std::strtod(plain, nullptr);
  const int w = GCDoubleToString(e.loc, v, plain, kCvtBuf, e.callFlags & GC_FMT_ITEMFLAG);
  if (w >= 0 && w < kCvtBuf && e.loc->status == GC_OK) {
    std::memcpy(e.cvt, plain, static_cast<size_t>(w));
    pc.text = e.cvt;
    pc.textLen = w;
    pc.reformatted = true;
  }
}

// Floating point: e, E, f, g, G. A precision above the largest is refused
// before anything is converted; the text is made within the buffer.
Step convertFloat(Engine& e, unsigned char conv, uint32_t& fl, int precision, Piece& pc) {
  if (precision < 0) precision = 6;
  if ((conv == 'g' || conv == 'G') && precision == 0) precision = 1;
  if (precision > GC_FMT_MAXPREC) return Step::kRefused;
  const bool isLong = (fl & kLongDouble) != 0;
  const GCArgValue& a = e.arg(isLong ? GC_ARG_LDOUBLE : GC_ARG_DOUBLE);
  const int lower = (conv == 'E') ? 'e' : (conv == 'G' ? 'g' : conv);
  const int capital = (conv == 'E' || conv == 'G') ? 1 : 0;
  const long double lv = isLong ? a.ld : static_cast<long double>(a.d);
  const int n = isLong ? GCCldcvt(&a.ld, e.cvt, kCvtBuf, lower, precision, capital, e.ascii)
                       : GCCfltcvt(&a.d, e.cvt, kCvtBuf, lower, precision, capital, e.ascii);
  if (n < 0) return Step::kRefused;
  const bool finite = std::isfinite(lv);
  if (finite && (fl & kAlt) && precision == 0) GCForcdecpt(e.cvt, kCvtBuf, e.ascii);
  if ((lower == 'g') && !(fl & kAlt)) GCCropzeros(e.cvt, e.ascii);
  if (!finite) fl &= ~kZero;
  pc.text = e.cvt;
  if (pc.text[0] == e.ch.minus()) {
    fl |= kNegative;
    ++pc.text;
  }
  pc.textLen = static_cast<int>(strnlen(pc.text, kCvtBuf - 1));
  pc.floatText = true;
  fl |= kSigned;
  if ((fl & kGroup) && finite && lower != 'e') groupFloat(e, pc);
  return Step::kWrite;
}

// The magnitude of an integer argument of the conversion's size; sets
// kNegative for a signed value below zero.
unsigned long long integerValue(Engine& e, unsigned char conv, uint32_t& fl) {
  const bool isSigned = conv == 'd' || conv == 'i';
  const uint32_t kind = conv == 'p'            ? GC_ARG_PTR
                        : (fl & kLongLong) != 0 ? GC_ARG_LLONG
                        : (fl & kLong) != 0     ? GC_ARG_LONG
                        : (fl & kShort) != 0    ? GC_ARG_SHORT
                                                : GC_ARG_INT;
  const GCArgValue& a = e.arg(kind);
  if (conv == 'p') {
    fl |= kPointer;
    return reinterpret_cast<uintptr_t>(a.p);
  }
  long long s;
  if (fl & kLongLong) s = a.ll;
  else if (fl & kLong) s = a.l;
  else if (fl & kShort) s = isSigned ? static_cast<int16_t>(a.i & 0xFFFF) : static_cast<uint16_t>(a.i & 0xFFFF);
  else s = isSigned ? static_cast<long long>(a.i) : static_cast<long long>(a.u);
  if (isSigned && s < 0) {
    fl |= kNegative;
    return 0ull - static_cast<unsigned long long>(s);
  }
  return static_cast<unsigned long long>(s);
}

// Where the digits of an integer end in the buffer: they are written
// backwards from here, at most GC_FMT_MAXPREC of them plus the value's own
// and an octal zero.
constexpr int kDigitsEnd = GC_FMT_MAXPREC + 100;
static_assert(kDigitsEnd < kCvtBuf, "integer digits fit the conversion buffer");

// Decimal digits, two or four a step while the value is large, in 32 bits
// when it fits; the rest (and the zeros a precision asks) one at a time.
char* decimalDigits(Engine& e, unsigned long long rest, int prec, char* p) {
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
    while (r >= 10000) {  // four digits a step: shorter chains of divisions
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
  while (prec-- > 0 || rest != 0) {
    *--p = static_cast<char>(z + static_cast<int>(rest % 10u));
    rest /= 10u;
  }
  return p;
}

// Hexadecimal or octal digits (constant bases let the compiler divide
// without a divide).
char* powerDigits(Engine& e, unsigned long long rest, int prec, bool upper, bool hex, char* p) {
  auto digits = [&](auto b) {
    while (prec-- > 0 || rest != 0) {
      *--p = e.ch.hexDigit(static_cast<int>(rest % b), upper);
      rest /= b;
    }
  };
  if (hex) digits(16u);
  else digits(8u);
  return p;
}

// ',' groups d, i and u through the locale's number format; values beyond
// 32 bits keep their plain digits.
void groupInteger(Engine& e, unsigned long long v, Piece& pc) {
  char grouped[512];
  const int w = GCLongToString(e.loc, static_cast<int32_t>(static_cast<uint32_t>(v)), grouped, sizeof grouped,
                               (e.callFlags & GC_FMT_ITEMFLAG) | GC_NUM_UNSIGNED_VALUE);
  if (w >= 0 && w < static_cast<int>(sizeof grouped) && e.loc->status == GC_OK) {
    std::memcpy(e.cvt, grouped, static_cast<size_t>(w));
    pc.text = e.cvt;
    pc.textLen = w;
  }
}

// Integers and pointers: d, i, u, o, x, X, p. A precision above the
// largest is refused before a digit is written.
Step convertInteger(Engine& e, unsigned char conv, uint32_t& fl, int precision, Piece& pc) {
  const bool isSigned = conv == 'd' || conv == 'i';
  const bool hex = conv == 'x' || conv == 'X' || conv == 'p';
  const unsigned long long v = integerValue(e, conv, fl);
  if (isSigned) fl |= kSigned;
  if (conv == 'p' && precision < 0) precision = 8;
  if (precision < 0) precision = 1;
  else fl &= ~kZero;
  if (precision > GC_FMT_MAXPREC) return Step::kRefused;
  if ((fl & kAlt) && hex && v != 0) {
    pc.prefix[0] = e.ch.zero();
    pc.prefix[1] = e.ch.x(conv != 'x');
    pc.prefixLen = 2;
  }
  char* end = e.cvt + kDigitsEnd;
  char* p = conv == 'o' || hex ? powerDigits(e, v, precision, conv == 'X' || conv == 'p', hex, end)
                               : decimalDigits(e, v, precision, end);
  if ((fl & kAlt) && conv == 'o' && (p == end || *p != e.ch.zero())) *--p = e.ch.zero();
  pc.text = p;
  pc.textLen = static_cast<int>(end - p);
  if ((fl & kGroup) && (isSigned || conv == 'u') && v <= 0xFFFFFFFFull) groupInteger(e, v, pc);
  return Step::kWrite;
}

// The family a conversion letter belongs to.
Step convertFamily(Engine& e, unsigned char conv, uint32_t& fl, int precision, Piece& pc) {
  switch (conv) {
    case 'c': case 's': case 'n': case 'B': case 'Z':
      return convertText(e, conv, precision, pc);
    case 'C': case 'S':
      return convertWide(e, conv, precision, pc);
    case 'e': case 'E': case 'f': case 'g': case 'G':
      return convertFloat(e, conv, fl, precision, pc);
    case 'p': case 'd': case 'i': case 'u': case 'o': case 'x': case 'X':
      return convertInteger(e, conv, fl, precision, pc);
    default:
      return Step::kNothing;
  }
}

// One conversion; false when the engine refuses it (status set).
bool convert(Engine& e, unsigned char conv, uint32_t fl, int width, int precision) {
  Piece pc;
  const Step step = convertFamily(e, conv, fl, precision, pc);
  if (step == Step::kRefused) {
    *e.status = GC_E_ARG;
    return false;
  }
  if (step == Step::kNothing) return true;
  if (fl & kSigned) {
    if (fl & kNegative) pc.prefix[pc.prefixLen++] = e.ch.minus();
    else if (fl & kPlus) pc.prefix[pc.prefixLen++] = e.ch.plus();
    else if (fl & kSpace) pc.prefix[pc.prefixLen++] = e.ch.space();
  }
  writeConversion(e, fl, width, pc);
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
