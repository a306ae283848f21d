// Floating-point conversion for the formatted output engine.
#include "mbtext/gc_fp.h"

#include "mbtext/gc_fmt_cp_int.h"
#include "mbtext/gc_fmt_int.h"
#include "mbtext/gc_fp_int.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Rounding and text buffers: the whole digit string plus the largest
// precision, a sign, a point, an exponent and the NUL.
constexpr int kWork = GC_FP_DIGBUF + GC_FP_MAXPREC + 64;

constexpr char kEbcdicZero = static_cast<char>(0xF0);

char cpDigit(int d, int ascii) { return ascii ? static_cast<char>('0' + d) : static_cast<char>(0xF0 + d); }
char cpMinus(int ascii) { return ascii ? '-' : static_cast<char>(0x60); }
char cpPlus(int ascii) { return ascii ? '+' : static_cast<char>(0x4E); }
char cpExp(int capital, int ascii) {
  if (ascii) return capital ? 'E' : 'e';
  return capital ? static_cast<char>(0xC5) : static_cast<char>(0x85);
}
bool isExpLetter(char c, int ascii) {
  if (ascii) return c == 'e' || c == 'E';
  return c == static_cast<char>(0x85) || c == static_cast<char>(0xC5);
}
char cpZero(int ascii) { return ascii ? '0' : kEbcdicZero; }

// Leading zero digits of a decomposed value whose digit string starts at the
// point (values below 1 other than zero); 0 for other values.
bool isFraction(const GCFpValue* v) { return v->ndigits > 0 && v->decpt <= 0; }
bool isZero(const GCFpValue* v) {
  if (v->special) return false;
  for (int i = 0; i < v->ndigits; ++i)
    if (v->digits[i] != '0') return false;
  return true;
}

// Rounds src (srclen ASCII digits, zeros beyond) half up to n digits.
// Writes n digits, or n + 1 when the rounding carried into a new leading
// digit (carry = 1). Returns the digits written or -1.
int roundDigits(const char* src, int srclen, int n, char* out, int outsize, int* carry) {
  *carry = 0;
  if (n < 0 || n + 2 > outsize) return -1;
  out[0] = '0';
  for (int i = 0; i < n; ++i) out[i + 1] = i < srclen ? src[i] : '0';
  out[n + 1] = '\0';
  char next = n < srclen ? src[n] : '0';
  if (next >= '5') {
    int i = n;
    while (i > 0 && out[i] == '9') out[i--] = '0';
    out[i] = static_cast<char>(out[i] + 1);
  }
  if (out[0] == '1') {
    *carry = 1;
    return n + 1;
  }
  std::memmove(out, out + 1, static_cast<size_t>(n) + 1);
  return n;
}

// Digits of the exponent form with ndig significant digits: out gets exactly
// ndig ASCII digits; *exp10 the decimal exponent of the first digit.
int expDigits(const GCFpValue* v, int ndig, char* out, int outsize, int* exp10) {
  const char* src = v->digits;
  int srclen = v->ndigits;
  int decpt = v->decpt;
  if (isZero(v)) {
    decpt = 1;
  } else if (isFraction(v)) {
    int z = 0;
    while (z < srclen && src[z] == '0') ++z;
    src += z;
    srclen -= z;
    decpt = -z;
  }
  int carry = 0;
  int len = roundDigits(src, srclen, ndig, out, outsize, &carry);
  if (len < 0) return -1;
  if (carry) {
    ++decpt;
    out[ndig] = '\0';
    len = ndig;
  }
  *exp10 = decpt - 1;
  return len;
}

// Digits of the fixed form with p fraction digits; *intlen gets the count of
// integer digits among them (0 when the integer part is empty).
int fixedDigits(const GCFpValue* v, int p, char* out, int outsize, int* intlen) {
  int d = v->decpt > 0 ? v->decpt : 0;
  int carry = 0;
  int len = roundDigits(v->digits, v->ndigits, p + d, out, outsize, &carry);
  if (len < 0) return -1;
  *intlen = len - p;
  return len;
}

// Appends the exponent: letter, sign, at least three digits.
int putExponent(char* dst, int exp10, int capital, int ascii) {
  int n = 0;
  dst[n++] = cpExp(capital, ascii);
  dst[n++] = exp10 < 0 ? cpMinus(ascii) : cpPlus(ascii);
  unsigned mag = exp10 < 0 ? static_cast<unsigned>(-static_cast<long>(exp10)) : static_cast<unsigned>(exp10);
  char tmp[16];
  int t = 0;
  do {
    tmp[t++] = static_cast<char>(mag % 10);
    mag /= 10;
  } while (mag);
  while (t < 3) tmp[t++] = 0;
  while (t > 0) dst[n++] = cpDigit(tmp[--t], ascii);
  return n;
}

// Writes the text of a non-finite value.
int putSpecial(const GCFpValue* v, char* dst, int capital, int ascii) {
  static const char* const kWords[2][2] = {{"inf", "nan"}, {"INF", "NAN"}};
  int n = 0;
  if (v->sign) dst[n++] = cpMinus(ascii);
  int w = v->special == 1 ? 0 : 1;
  int c = capital ? 1 : 0;
  for (int i = 0; i < 3; ++i) dst[n++] = gcfmt::pageChar(kWords[c][w][i], ascii != 0);
  dst[n] = '\0';
  return n;
}

// 'e' text of precision p into dst (kWork bytes). Returns the length or -1.
int buildE(const GCFpValue* v, int p, char* dst, int capital, int ascii) {
  char dig[kWork];
  int exp10 = 0;
  if (expDigits(v, p + 1, dig, kWork, &exp10) < 0) return -1;
  int n = 0;
  if (v->sign) dst[n++] = cpMinus(ascii);
  dst[n++] = cpDigit(dig[0] - '0', ascii);
  if (p > 0) {
    dst[n++] = gcFpPoint(ascii);
    for (int i = 1; i <= p; ++i) dst[n++] = cpDigit(dig[i] - '0', ascii);
  }
  n += putExponent(dst + n, exp10, capital, ascii);
  dst[n] = '\0';
  return n;
}

// 'f' text of precision p into dst.
int buildF(const GCFpValue* v, int p, char* dst, int ascii) {
  char dig[kWork];
  int intlen = 0;
  int len = fixedDigits(v, p, dig, kWork, &intlen);
  if (len < 0 || len + 8 > kWork) return -1;
  int n = 0;
  if (v->sign) dst[n++] = cpMinus(ascii);
  if (intlen <= 0) {
    dst[n++] = cpZero(ascii);
  } else {
    for (int i = 0; i < intlen; ++i) dst[n++] = cpDigit(dig[i] - '0', ascii);
  }
  if (p > 0) {
    dst[n++] = gcFpPoint(ascii);
    for (int i = intlen; i < len; ++i) dst[n++] = cpDigit(dig[i] - '0', ascii);
  }
  dst[n] = '\0';
  return n;
}

// 'g' text of precision P (at least 1) into dst.
int buildG(const GCFpValue* v, int P, char* dst, int capital, int ascii) {
  if (P < 1) P = 1;
  int x = v->decpt - 1;
  if (!isZero(v) && (x < -1 || x > P - 1)) return buildE(v, P - 1, dst, capital, ascii);
  int n = buildF(v, P, dst, ascii);
  if (n < 0) return -1;
  GCCropzeros(dst, ascii);
  return static_cast<int>(std::strlen(dst));
}

int finish(const char* text, int len, char* out, int outsize) {
  if (len < 0 || len + 1 > outsize) {
    if (outsize > 0) out[0] = '\0';
    return -1;
  }
  std::memcpy(out, text, static_cast<size_t>(len) + 1);
  return len;
}

int convert(const GCFpValue* v, char* out, int outsize, int letter, int precision, int capital, int ascii) {
  if (!out || outsize <= 0) return -1;
  if (precision < 0 || precision > GC_FP_MAXPREC) {
    out[0] = '\0';
    return -1;
  }
  char text[kWork];
  int len = -1;
  if (v->special) {
    if (letter != 'e' && letter != 'f' && letter != 'g') {
      out[0] = '\0';
      return -1;
    }
    len = putSpecial(v, text, capital, ascii);
  } else if (letter == 'e') {
    len = buildE(v, precision, text, capital, ascii);
  } else if (letter == 'f') {
    len = buildF(v, precision, text, ascii);
  } else if (letter == 'g') {
    len = buildG(v, precision, text, capital, ascii);
  }
  return finish(text, len, out, outsize);
}

}  // namespace

namespace {

// Takes apart a finite or special value given its properties and two
// writers of the C library's forms of its magnitude: sci(text) writes
// "%.40e" (41 significant digits), fix(text) writes "%.40f"; each returns
// the text's length.
template <class Sci, class Fix>
void decompose(bool negative, bool inf, bool nan, bool zero, bool belowOne, Sci sci, Fix fix, GCFpValue* out) {
  out->sign = negative ? 1 : 0;
  out->special = 0;
  out->decpt = 0;
  out->ndigits = 0;
  out->digits[0] = '\0';
  if (inf) {
    out->special = 1;
    return;
  }
  if (nan) {
    out->special = 2;
    return;
  }
  char text[GC_FP_DIGBUF + 64];
  if (zero) {
    std::memset(out->digits, '0', 40);
    out->ndigits = 40;
    out->digits[40] = '\0';
    out->decpt = 1;
    return;
  }
  if (belowOne) {
    // 41 significant digits behind the zeros that follow the point.
    int len = sci(text, static_cast<int>(sizeof text));
    text[len] = '\0';
    const char* e = std::strchr(text, 'e');
    long exp10 = e ? std::strtol(e + 1, nullptr, 10) : 0;
    if (exp10 < 0) {
      long z = -exp10 - 1;
      int n = 0;
      for (long i = 0; i < z && n < GC_FP_DIGBUF - 48; ++i) out->digits[n++] = '0';
      for (const char* p = text; p != e && n < GC_FP_DIGBUF - 1; ++p)
        if (*p >= '0' && *p <= '9') out->digits[n++] = *p;
      out->digits[n] = '\0';
      out->ndigits = n;
      out->decpt = z <= 3 ? 0 : static_cast<int>(-z);
      return;
    }
    // Rounded up to 1 at 41 digits: handled as a value of 1 and above.
  }
  int len = fix(text, static_cast<int>(sizeof text));
  int n = 0;
  int decpt = -1;
  for (int i = 0; i < len && n < GC_FP_DIGBUF - 1; ++i) {
    if (text[i] < '0' || text[i] > '9') {
      if (decpt < 0) decpt = n;  // the point
      continue;
    }
    out->digits[n++] = text[i];
  }
  if (decpt < 0) decpt = n;
  out->digits[n] = '\0';
  out->ndigits = n;
  out->decpt = decpt;
}

int clampLen(int len, int size, const char* text) {
  return (len < 0 || len >= size) ? static_cast<int>(std::strlen(text)) : len;
}

}  // namespace

void GCqfltout(const long double* value, GCFpValue* out) {
  const long double v = *value;
  const long double a = std::fabs(v);
  GCCLocaleScope cLocale;  // '.' and ASCII digits from the formatter
  decompose(
      std::signbit(v), std::isinf(v), std::isnan(v), a == 0.0L, a < 1.0L,
      [a](char* t, int size) { return clampLen(std::snprintf(t, size_t(size), "%.40Le", a), size, t); },
      [a](char* t, int size) { return clampLen(std::snprintf(t, size_t(size), "%.40Lf", a), size, t); }, out);
}

void GCfltout(double value, GCFpValue* out) {
  // std::to_chars writes exactly what the C library's "%.40e" and "%.40f"
  // write for the same value (correctly rounded, C locale), without the
  // formatter's locale switch and multi-precision arithmetic.
  const double a = std::fabs(value);
  auto put = [a](char* t, int size, std::chars_format f) {
    std::to_chars_result r = std::to_chars(t, t + size - 1, a, f, 40);
    return static_cast<int>(r.ptr - t);
  };
  decompose(
      std::signbit(value), std::isinf(value), std::isnan(value), a == 0.0, a < 1.0,
      [&](char* t, int size) { return put(t, size, std::chars_format::scientific); },
      [&](char* t, int size) { return put(t, size, std::chars_format::fixed); }, out);
}

int GCfpcvt(const GCFpValue* value, int n, int* decpt, int* sign, char* out, int outsize) {
  int carry = 0;
  int len = roundDigits(value->digits, value->ndigits, n, out, outsize, &carry);
  if (decpt) *decpt = value->decpt + carry;
  if (sign) *sign = value->sign;
  return len;
}

namespace {

int econvertV(const GCFpValue* v, int precision, int* decpt, int* sign, char* out, int outsize, int ascii) {
  if (sign) *sign = v->sign;
  if (v->special || precision < 0 || precision > GC_FP_MAXPREC) return -1;
  int exp10 = 0;
  char dig[kWork];
  int len = expDigits(v, precision + 1, dig, kWork, &exp10);
  if (len < 0 || len + 1 > outsize) return -1;
  std::memcpy(out, dig, static_cast<size_t>(len) + 1);
  GCGetStrDigits(out, ascii);
  if (decpt) *decpt = exp10 + 1;
  return len;
}

int fconvertV(const GCFpValue* v, int precision, int* decpt, int* sign, char* out, int outsize, int ascii) {
  if (sign) *sign = v->sign;
  if (v->special || precision < 0 || precision > GC_FP_MAXPREC) return -1;
  int intlen = 0;
  char dig[kWork];
  int len = fixedDigits(v, precision, dig, kWork, &intlen);
  if (len < 0 || len + 1 > outsize) return -1;
  std::memcpy(out, dig, static_cast<size_t>(len) + 1);
  GCGetStrDigits(out, ascii);
  if (decpt) *decpt = intlen;
  return len;
}

}  // namespace

int GCeconvert(double value, int precision, int* decpt, int* sign, char* out, int outsize, int ascii) {
  GCFpValue v;
  GCfltout(value, &v);
  return econvertV(&v, precision, decpt, sign, out, outsize, ascii);
}

int GCqeconvert(const long double* value, int precision, int* decpt, int* sign, char* out, int outsize,
                int ascii) {
  GCFpValue v;
  GCqfltout(value, &v);
  return econvertV(&v, precision, decpt, sign, out, outsize, ascii);
}

int GCfconvert(double value, int precision, int* decpt, int* sign, char* out, int outsize, int ascii) {
  GCFpValue v;
  GCfltout(value, &v);
  return fconvertV(&v, precision, decpt, sign, out, outsize, ascii);
}

int GCqfconvert(const long double* value, int precision, int* decpt, int* sign, char* out, int outsize,
                int ascii) {
  GCFpValue v;
  GCqfltout(value, &v);
  return fconvertV(&v, precision, decpt, sign, out, outsize, ascii);
}

int GCgconvert(double value, int precision, char* out, int outsize, int capital, int ascii) {
  GCFpValue v;
  GCfltout(value, &v);
  return convert(&v, out, outsize, 'g', precision < 1 ? 1 : precision, capital, ascii);
}

int GCqgconvert(const long double* value, int precision, char* out, int outsize, int capital, int ascii) {
  GCFpValue v;
  GCqfltout(value, &v);
  return convert(&v, out, outsize, 'g', precision < 1 ? 1 : precision, capital, ascii);
}

namespace {

// For the fixed form with p fraction digits of a double from 1 up to 2^53
// (p at most 17): its integer digits and exactly p + 1 fraction digits,
// truncated. The rounding to p digits reads no further, and up to there
// these are GCfltout's digits: its 40th-digit rounding could carry into
// digit p + 1 only for a value within 10^-40 of the next multiple of
// 10^-(p+1), which no double of this range is (it has at most 52 binary
// fraction digits).
bool fixedDigitsOf(double value, int p, GCFpValue* v) {
  const double a = std::fabs(value);
  if (!(a >= 1.0 && a < 9007199254740992.0) || p < 0 || p > 17) return false;
  int e = 0;
  const double m = std::frexp(a, &e); // a = m * 2^e, m in [0.5, 1), e in [1, 53]
  const uint64_t M = static_cast<uint64_t>(std::ldexp(m, 53));
  const int shift = 53 - e; // a = M / 2^shift
  const uint64_t whole = M >> shift;
  const uint64_t frac = shift ? (M & ((uint64_t(1) << shift) - 1)) : 0;
  uint64_t scale = 10;
  for (int i = 0; i < p; ++i) scale *= 10;
  const uint64_t fracDigits = static_cast<uint64_t>((static_cast<unsigned __int128>(frac) * scale) >> shift);
  char* d = v->digits;
  const int n = static_cast<int>(std::to_chars(d, d + 24, whole).ptr - d);
  char* f = d + n;
  uint64_t rest = fracDigits;
  for (int i = p; i >= 0; --i) {
    f[i] = static_cast<char>('0' + rest % 10);
    rest /= 10;
  }
  v->ndigits = n + p + 1;
  v->digits[v->ndigits] = '\0';
  v->decpt = n;
  v->sign = std::signbit(value) ? 1 : 0;
  v->special = 0;
  return true;
}

}  // namespace

int GCCfltcvt(const double* value, char* out, int outsize, int letter, int precision, int capital, int ascii) {
  GCFpValue v;
  if (!(letter == 'f' && fixedDigitsOf(*value, precision, &v))) GCfltout(*value, &v);
  return convert(&v, out, outsize, letter, precision, capital, ascii);
}

int GCCldcvt(const long double* value, char* out, int outsize, int letter, int precision, int capital,
             int ascii) {
  if (letter == 'G') {
    letter = 'g';
    capital = 1;
  }
  GCFpValue v;
  GCqfltout(value, &v);
  return convert(&v, out, outsize, letter, precision, capital, ascii);
}

void GCGetStrDigits(char* text, int ascii) {
  if (ascii) return;
  for (char* p = text; *p; ++p) {
    char c = *p;
    if (c >= '0' && c <= '9')
      *p = static_cast<char>(0xF0 + (c - '0'));
    else if (c == '.')
      *p = static_cast<char>(0x4B);
    else if (c == '+')
      *p = static_cast<char>(0x4E);
    else if (c == '-')
      *p = static_cast<char>(0x60);
  }
}

int GCForcdecpt(char* text, int outsize, int ascii) {
  char point = gcFpPoint(ascii);
  if (std::strchr(text, point)) return 0;
  int len = static_cast<int>(std::strlen(text));
  if (len + 2 > outsize) return -1;
  int at = 0;
  while (at < len && !isExpLetter(text[at], ascii)) ++at;
  std::memmove(text + at + 1, text + at, static_cast<size_t>(len - at) + 1);
  text[at] = point;
  return 0;
}

void GCCropzeros(char* text, int ascii) {
  char* point = std::strchr(text, gcFpPoint(ascii));
  if (!point) return;
  char* end = point + 1;
  while (*end && !isExpLetter(*end, ascii)) ++end;
  char* keep = end;
  while (keep > point + 1 && keep[-1] == cpZero(ascii)) --keep;
  if (keep == point + 1) keep = point;
  std::memmove(keep, end, std::strlen(end) + 1);
}
