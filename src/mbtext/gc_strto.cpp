// Text to number.
#include "mbtext/gc_strto.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>

#include "mbtext/gc_cp.h"
#include "mbtext/gc_map.h"
#include "mbtext/gc_fmt_cp.h"
#include "mbtext/gc_fmt_item.h"
#include "mbtext/gc_locale.h"

namespace {

constexpr auto makeAscii() {
  struct T {
    int32_t v[256];
  } t{};
  for (int i = 0; i < 256; ++i) t.v[i] = -1;
  for (int i = 0; i < 10; ++i) t.v['0' + i] = i;
  for (int i = 0; i < 26; ++i) t.v['A' + i] = t.v['a' + i] = 10 + i;
  return t;
}

constexpr auto makeEbcdic() {
  struct T {
    int32_t v[256];
  } t{};
  for (int i = 0; i < 256; ++i) t.v[i] = -1;
  for (int i = 0; i < 10; ++i) t.v[0xF0 + i] = i;
  for (int i = 0; i < 9; ++i) t.v[0xC1 + i] = t.v[0x81 + i] = 10 + i;
  for (int i = 0; i < 9; ++i) t.v[0xD1 + i] = t.v[0x91 + i] = 19 + i;
  for (int i = 0; i < 8; ++i) t.v[0xE2 + i] = t.v[0xA2 + i] = 28 + i;
  return t;
}

constexpr auto makeEbcdic930() {
  struct T {
    int32_t v[256];
  } t{};
  for (int i = 0; i < 256; ++i) t.v[i] = -1;
  for (int i = 0; i < 10; ++i) t.v[0xF0 + i] = i;
  for (int i = 0; i < 9; ++i) t.v[0xC1 + i] = 10 + i;
  for (int i = 0; i < 9; ++i) t.v[0xD1 + i] = 19 + i;
  for (int i = 0; i < 8; ++i) t.v[0xE2 + i] = 28 + i;
  for (int i = 0; i < 8; ++i) t.v[0x62 + i] = 10 + i;
  for (int i = 0; i < 8; ++i) t.v[0x71 + i] = 18 + i;
  t.v[0x8B] = 26;
  t.v[0x9B] = 27;
  t.v[0xAB] = 28;
  for (int i = 0; i < 7; ++i) t.v[0xB3 + i] = 29 + i;
  return t;
}

constexpr auto kAscii = makeAscii();
constexpr auto kEbcdic = makeEbcdic();
constexpr auto kEbcdic930 = makeEbcdic930();

// The mapped form of one character for GC_NUM_MAP (national digits become
// ordinary ones). Returns the mapped length; the locale's status is kept.
int mapChar(GCLocale* loc, const char* p, int len, unsigned char* c) {
  uint32_t keep = loc->status;
  char mapped[5];
  int m = GCMapString(loc, mapped, sizeof mapped, p, len, GC_MAP_DIGITS);
  loc->status = keep;
  if (m <= 0) {
    *c = static_cast<unsigned char>(p[0]);
    return len;
  }
  *c = static_cast<unsigned char>(mapped[0]);
  return m;
}

// UCS-2 white space.
bool isSpaceU(uint32_t u) {
  return (u >= 0x09 && u <= 0x0D) || u == 0x20 || u == 0x85 || u == 0xA0 || u == 0x1680 ||
         (u >= 0x2000 && u <= 0x200A) || u == 0x2028 || u == 0x2029 || u == 0x202F || u == 0x205F || u == 0x3000;
}

bool matches(const char* text, int32_t remaining, const char* s, int32_t* len) {
  if (!s || !*s) return false;
  int32_t n = static_cast<int32_t>(std::strlen(s));
  if (n > remaining || std::memcmp(text, s, static_cast<size_t>(n)) != 0) return false;
  *len = n;
  return true;
}

// Plain signs of the code page.
const char* plainPlus(int ascii) { return ascii ? "+" : "\x4E"; }
const char* plainMinus(int ascii) { return ascii ? "-" : "\x60"; }


}  // namespace

const int32_t (&GCAsciiToNum)[256] = kAscii.v;
const int32_t (&GCEbcdicToNum)[256] = kEbcdic.v;
const int32_t (&GCEbcdic930ToNum)[256] = kEbcdic930.v;

int GCStrGetDigit(GCLocale* locale, const char* text, int32_t remaining, const char** next, const char* cmpc1,
                  const char* cmpc2, const char* cmps1, const char* cmps2, int ascii, uint32_t flags) {
  *next = text;
  if (flags != 0 && flags != GC_NUM_MAP) return GC_TOK_END;
  if (remaining <= 0 || !text) return GC_TOK_END;
  GCLocale* loc = gcLocaleOrDefault(locale);
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  int len = gcfmtCharLen(loc, p[0]);
  if (len > remaining) return GC_TOK_END;
  if (len == 1 && gcfmtIsSpace(loc, p[0])) {
    int32_t i = 1;
    while (i < remaining) {
      int l = gcfmtCharLen(loc, p[i]);
      if (l != 1 || !gcfmtIsSpace(loc, p[i])) break;
      ++i;
    }
    *next = text + i;
    return GC_TOK_SPACE;
  }
  int32_t slen = 0;
  if (matches(text, remaining, cmps1, &slen)) {
    *next = text + slen;
    return GC_TOK_STR1;
  }
  if (matches(text, remaining, cmps2, &slen)) {
    *next = text + slen;
    return GC_TOK_STR2;
  }
  // Only (mapped) one-byte characters are separators or digits.
  unsigned char c = p[0];
  int clen = len;
  if (flags & GC_NUM_MAP) clen = mapChar(loc, text, len, &c);
  if (clen != 1) return GC_TOK_END;
  if (cmpc1 && static_cast<unsigned char>(*cmpc1) == c && c) {
    *next = text + len;
    return GC_TOK_CHAR1;
  }
  if (cmpc2 && static_cast<unsigned char>(*cmpc2) == c && c) {
    *next = text + len;
    return GC_TOK_CHAR2;
  }
  int32_t v = ascii ? kAscii.v[c] : kEbcdic.v[c];
  if (v < 0) return GC_TOK_END;
  *next = text + len;
  return v;
}

long GCStringToLong(GCLocale* locale, const char* text, int32_t length, const char** end, int base,
                    uint32_t flags) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  if (end) *end = text;
  if ((flags & GC_FL_CHARS) && length > 0 && text) length = gcfmtCharsToBytes(loc, text, length);
  flags &= ~GC_FL_CHARS;
  if (base < 0 || base == 1 || base > 36) {
    loc->status = GC_E_BASE;
    return 0;
  }
  if (flags & ~uint32_t(0xB1)) {
    loc->status = GC_E_ARG;
    return 0;
  }
  loc->status = GC_OK;
  if (!text) return 0;
  int ascii = gcfmtAscii(loc) ? 1 : 0;
  uint32_t mapflag = flags & GC_NUM_MAP;
  char sep[4] = {0};
  char pos[32] = {0};
  char neg[32] = {0};
  const char* plus = plainPlus(ascii);
  const char* minus = plainMinus(ascii);
  if (flags & GC_NUM_MONETARY) {
    gcfmtTextItem(loc, GC_ITEM_MON_THOUSANDS, sep, 2, flags & GC_NUM_ITEMFLAG);
    gcfmtTextItem(loc, GC_ITEM_POS_SIGN, pos, sizeof pos, flags & GC_NUM_ITEMFLAG);
    gcfmtTextItem(loc, GC_ITEM_NEG_SIGN, neg, sizeof neg, flags & GC_NUM_ITEMFLAG);
    plus = pos;
    minus = neg;
  } else {
    gcfmtTextItem(loc, GC_ITEM_THOUSANDS, sep, 2, flags & GC_NUM_ITEMFLAG);
  }
  const char* sepc = sep[0] ? sep : nullptr;
  if (length < 0) length = static_cast<int32_t>(std::strlen(text));
  if (length == 0) return 0;

  const char* at = text;           // start of the token in hand
  const char* after = text;        // position after it
  const char* const stop = text + length;
  const bool shift = (loc->flags & GC_LF_SHIFT) != 0;
  int shiftState = 0;
  auto read = [&]() {
    at = after;
    if (shift)
      return GCStrGetDigitEx(loc, at, shiftState, static_cast<int32_t>(stop - at), &after, &shiftState, sepc,
                             nullptr, plus, minus, ascii, mapflag);
    return GCStrGetDigit(loc, at, static_cast<int32_t>(stop - at), &after, sepc, nullptr, plus, minus, ascii,
                         mapflag);
  };
  auto finish = [&](long v) {
    if (end) *end = at;
    return v;
  };

  int tok = read();
  if (tok == GC_TOK_SPACE) tok = read();
  bool negative = false;
  if (!((tok >= 0 && tok <= 35) || tok == GC_TOK_STR1 || tok == GC_TOK_STR2)) return finish(0);
  if (tok == GC_TOK_STR1 || tok == GC_TOK_STR2) {
    if (tok == GC_TOK_STR2) {
      if (flags & GC_NUM_UNSIGNED) return finish(0);
      negative = true;
    }
    tok = read();
  }
  if (base == 16 && tok == 0) {
    tok = read();
  } else if (base == 0) {
    if (tok == 0) {
      tok = read();
      base = tok == 33 ? 16 : 8;
    } else {
      base = 10;
    }
  }
  uint64_t value = 0;
  if (!(base == 16 && tok == 33)) {
    if (tok < 0 || tok >= base || tok > 35) return finish(0);
    value = static_cast<uint64_t>(tok);
  }
  const uint64_t limit = (flags & GC_NUM_UNSIGNED) ? 0xFFFFFFFFull : (negative ? 2147483648ull : 2147483647ull);
  bool overflow = false;
  bool stopped = false;
  while (after < stop) {
    tok = read();
    if (tok == GC_TOK_CHAR1) continue;
    if (tok < 0 || tok > 35 || tok >= base) {
      stopped = true;
      break;
    }
    uint64_t nv = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(tok);
    if (nv > limit) {
      overflow = true;
      stopped = true;
      value = limit;
      break;
    }
    value = nv;
  }
  if (!stopped) at = after;  // every token was taken
  if (overflow) loc->status = GC_E_ARG;
  long result = negative ? -static_cast<long>(value) : static_cast<long>(value);
  return finish(result);
}

int GCStrDoubleNextState(int state, int token, double* value, int* sign, int* fexp, int* esign, int* exp) {
  const bool digit = token >= 0 && token <= 9;
  auto pow10 = [](int e) {
    double r = 1.0;
    double b = 10.0;
    unsigned n = e < 0 ? static_cast<unsigned>(-(long)e) : static_cast<unsigned>(e);
    while (n) {
      if (n & 1) r *= b;
      b *= b;
      n >>= 1;
    }
    return e < 0 ? 1.0 / r : r;
  };
  auto addExp = [&](int d) {
    // Long exponents saturate instead of overflowing.
    if (*exp > 100000000) return;
    *exp = *exp * 10 + d;
  };
  switch (state) {
    case 0:
      if (digit) {
        *value = token;
        return 3;
      }
      if (token == GC_TOK_SPACE) return 0;
      if (token == GC_TOK_STR1) return 1;
      if (token == GC_TOK_STR2) {
        *sign = -1;
        return 1;
      }
      if (token == GC_TOK_CHAR2) return 2;
      return -1;
    case 1:
      if (digit) {
        *value = *value * 10.0 + token;
        return 3;
      }
      if (token == GC_TOK_CHAR2) return 2;
      return -1;
    case 2:
      if (digit) {
        *fexp = -1;
        *value = token / 10.0;
        return 5;
      }
      return -1;
    case 3:
      if (digit) {
        *value = *value * 10.0 + token;
        return 3;
      }
      if (token == GC_TOK_CHAR2) {
        *fexp = 0;
        return 5;
      }
      if (token == GC_TOK_CHAR1) return 4;
      if (token == 13 || token == 14) return 6;
      return -1;
    case 4:
      if (digit) {
        *value = *value * 10.0 + token;
        return 3;
      }
      return -1;
    case 5:
      if (digit) {
        if (*fexp > -100000000) --*fexp;
        *value = *value + token * pow10(*fexp);
        return 5;
      }
      if (token == 13 || token == 14) return 6;
      return -1;
    case 6:
      if (digit) {
        *exp = token;
        return 8;
      }
      if (token == GC_TOK_STR1) return 7;
      if (token == GC_TOK_STR2) {
        *esign = -1;
        return 7;
      }
      return -1;
    case 7:
      if (digit) {
        *exp = token;
        return 8;
      }
      return -1;
    case 8:
      if (digit) {
        addExp(token);
        return 8;
      }
      return -1;
    default:
      return -1;
  }
}

double GCStringToDouble(GCLocale* locale, const char* text, int32_t length, const char** end, uint32_t flags) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  if ((flags & GC_FL_CHARS) && length > 0 && text) length = gcfmtCharsToBytes(loc, text, length);
  flags &= ~GC_FL_CHARS;
  if (flags & ~uint32_t(0x31)) {
    loc->status = GC_E_ARG;
    return 0.0;
  }
  loc->status = GC_OK;
  const char* localEnd = nullptr;
  if (!end) end = &localEnd;
  *end = text;
  if (!text) return 0.0;
  int ascii = gcfmtAscii(loc) ? 1 : 0;
  uint32_t mapflag = flags & GC_NUM_MAP;
  char thou[4] = {0}, dec[4] = {0}, pos[32] = {0}, neg[32] = {0};
  const char* plus = plainPlus(ascii);
  const char* minus = plainMinus(ascii);
  if (flags & GC_NUM_MONETARY) {
    gcfmtTextItem(loc, GC_ITEM_MON_THOUSANDS, thou, 2, flags & GC_NUM_ITEMFLAG);
    gcfmtTextItem(loc, GC_ITEM_MON_DECIMAL, dec, 2, flags & GC_NUM_ITEMFLAG);
    gcfmtTextItem(loc, GC_ITEM_POS_SIGN, pos, sizeof pos, flags & GC_NUM_ITEMFLAG);
    gcfmtTextItem(loc, GC_ITEM_NEG_SIGN, neg, sizeof neg, flags & GC_NUM_ITEMFLAG);
    plus = pos;
    minus = neg;
  } else {
    gcfmtTextItem(loc, GC_ITEM_THOUSANDS, thou, 2, flags & GC_NUM_ITEMFLAG);
    gcfmtTextItem(loc, GC_ITEM_DECIMAL, dec, 2, flags & GC_NUM_ITEMFLAG);
  }
  const char* thouc = thou[0] ? thou : nullptr;
  const char* decc = dec[0] ? dec : nullptr;
  if (length < 0) length = static_cast<int32_t>(std::strlen(text));

  // The accepted number is collected as plain C text: sign, up to kKeep
  // significant digits (a dropped non-zero digit leaves a final 1 so that
  // rounding still sees it), and a decimal exponent.
  constexpr int kKeep = 800;
  char mant[kKeep + 2];
  int mlen = 0;
  bool sticky = false;
  long long adjust = 0;  // power of ten applied to the kept digits

  double approx = 0.0;
  int sign = 1, fexp = 0, esign = 1, exp = 0;
  int state = 0;
  const char* const stop = text + length;
  const bool shift = (loc->flags & GC_LF_SHIFT) != 0;
  int shiftState = 0;
  while (*end < stop) {
    const char* next = *end;
    int newState = shiftState;
    int tok = shift ? GCStrGetDigitEx(loc, *end, shiftState, static_cast<int32_t>(stop - *end), &next, &newState,
                                      thouc, decc, plus, minus, ascii, mapflag)
                    : GCStrGetDigit(loc, *end, static_cast<int32_t>(stop - *end), &next, thouc, decc, plus, minus,
                                    ascii, mapflag);
    if (tok < 0) break;
    int ns = GCStrDoubleNextState(state, tok, &approx, &sign, &fexp, &esign, &exp);
    if (ns < 0) break;
    if (tok >= 0 && tok <= 9 && ns != 8) {
      const bool fraction = ns == 5;
      if (mlen == 0 && tok == 0) {
        if (fraction) --adjust;  // a leading zero after the point
      } else if (mlen < kKeep) {
        mant[mlen++] = static_cast<char>('0' + tok);
        if (fraction) --adjust;
      } else {
        if (tok != 0) sticky = true;
        if (!fraction) ++adjust;
      }
    }
    if (ns == 6) {
      plus = plainPlus(ascii);
      minus = plainMinus(ascii);
    }
    state = ns;
    shiftState = newState;
    *end = next;
  }
  if (mlen == 0) return sign < 0 ? -0.0 : 0.0;
  if (sticky) {
    mant[mlen++] = '1';
    --adjust;
  }
  mant[mlen] = '\0';
  long long e10 = adjust + static_cast<long long>(esign) * exp;
  char buf[kKeep + 48];
  std::memcpy(buf, mant, static_cast<size_t>(mlen));
  std::snprintf(buf + mlen, sizeof buf - static_cast<size_t>(mlen), "e%lld", e10);
  // The text holds only digits, 'e' and a sign, which every locale reads
  // alike; the C locale is used when it can be had.
  locale_t c = gcfmtCLocale();
  double v = c ? strtod_l(buf, nullptr, c) : std::strtod(buf, nullptr);
  return sign < 0 ? -v : v;
}

int GCStrGroupingSize(GCLocale* locale, const char* text, int32_t* remaining, const char** next) {
  if (!text || !*text || !remaining || *remaining <= 0) {
    if (next) *next = nullptr;
    return -1;
  }
  GCLocale* loc = gcLocaleOrDefault(locale);
  int ascii = gcfmtAscii(loc) ? 1 : 0;
  const unsigned char semi = ascii ? ';' : 0x5E;
  const unsigned char zero = ascii ? '0' : 0xF0;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  int32_t read = 0;
  int value = 0;
  while (p[read] && p[read] != semi && read < *remaining) {
    unsigned d = static_cast<unsigned>(p[read]) - zero;
    if (d > 9) return -1;
    if (value < 100000) value = value * 10 + static_cast<int>(d);
    ++read;
  }
  if (p[read] == 0) {
    *remaining = 0;
    if (next) *next = nullptr;
    return value;
  }
  *remaining -= read;
  if (next) *next = text + read + 1;
  return value;
}

int GCStrGroupingSizeU(GCLocale* locale, const GCUChar* text, int32_t* remaining, const GCUChar** next) {
  (void)locale;  // UCS-2 grouping texts use ";" and "0"-"9" in every locale
  if (!text || !*text || !remaining || *remaining <= 0) {
    if (next) *next = nullptr;
    return -1;
  }
  int32_t read = 0;
  int value = 0;
  while (text[read] && text[read] != u';' && read < *remaining) {
    unsigned d = static_cast<unsigned>(text[read]) - u'0';
    if (d > 9) return -1;
    if (value < 100000) value = value * 10 + static_cast<int>(d);
    ++read;
  }
  if (text[read] == 0) {
    *remaining = 0;
    if (next) *next = nullptr;
    return value;
  }
  *remaining -= read;
  if (next) *next = text + read + 1;
  return value;
}

int GCStrGetDigitU(GCLocale* locale, const GCUChar* text, int32_t remaining, const GCUChar** next, GCUChar cmp1,
                   GCUChar cmp2, const GCUChar* cmps1, const GCUChar* cmps2, uint32_t flags) {
  *next = text;
  if ((flags != 0 && flags != GC_NUM_MAP) || !text || remaining <= 0) return GC_TOK_END;
  GCLocale* loc = gcLocaleOrDefault(locale);
  if (isSpaceU(text[0])) {
    int32_t i = 1;
    while (i < remaining && isSpaceU(text[i])) ++i;
    *next = text + i;
    return GC_TOK_SPACE;
  }
  auto match = [&](const GCUChar* s) -> int32_t {
    if (!s || !s[0]) return 0;
    int32_t n = 0;
    while (s[n]) ++n;
    if (n > remaining) return 0;
    for (int32_t k = 0; k < n; ++k)
      if (text[k] != s[k]) return 0;
    return n;
  };
  if (int32_t n = match(cmps1)) {
    *next = text + n;
    return GC_TOK_STR1;
  }
  if (int32_t n = match(cmps2)) {
    *next = text + n;
    return GC_TOK_STR2;
  }
  GCUChar c = text[0];
  if (flags & GC_NUM_MAP) {
    uint32_t keep = loc->status;
    GCUChar m = c;
    if (GCMapStringU(loc, &m, 1, &c, 1, GC_MAP_DIGITS) == 1) c = m;
    loc->status = keep;
  }
  if (cmp1 && c == cmp1) {
    *next = text + 1;
    return GC_TOK_CHAR1;
  }
  if (cmp2 && c == cmp2) {
    *next = text + 1;
    return GC_TOK_CHAR2;
  }
  if (c >= 256 || kAscii.v[c] < 0) return GC_TOK_END;
  *next = text + 1;
  return kAscii.v[c];
}

int GCStrGetDigitW(GCLocale* locale, const uint32_t* text, int32_t remaining, const uint32_t** next, uint32_t cmp1,
                   uint32_t cmp2, const uint32_t* cmps1, const uint32_t* cmps2, int ascii, uint32_t flags) {
  *next = text;
  if ((flags != 0 && flags != GC_NUM_MAP) || !text || remaining <= 0) return GC_TOK_END;
  GCLocale* loc = gcLocaleOrDefault(locale);
  auto isSpace = [&](uint32_t v) {
    if (v < 256) return gcfmtIsSpace(loc, static_cast<unsigned char>(v));
    if (!loc->codepage || gcCpIsUtf8(loc->codepage) || !loc->codepage->sect[0]) return false;
    const uint8_t* rec = GCGetMbCtypeW(loc->codepage, v);
    return rec && (gcCtypeClass(rec) & GC_C_SPACE) != 0;
  };
  if (isSpace(text[0])) {
    int32_t i = 1;
    while (i < remaining && isSpace(text[i])) ++i;
    *next = text + i;
    return GC_TOK_SPACE;
  }
  auto match = [&](const uint32_t* s) -> int32_t {
    if (!s || !s[0]) return 0;
    int32_t n = 0;
    while (s[n]) ++n;
    if (n > remaining) return 0;
    for (int32_t k = 0; k < n; ++k)
      if (text[k] != s[k]) return 0;
    return n;
  };
  if (int32_t n = match(cmps1)) {
    *next = text + n;
    return GC_TOK_STR1;
  }
  if (int32_t n = match(cmps2)) {
    *next = text + n;
    return GC_TOK_STR2;
  }
  uint32_t c = text[0];
  if (flags & GC_NUM_MAP) {
    uint32_t keep = loc->status;
    GCPacked m = c;
    GCPacked src = c;
    if (GCMapStringW(loc, &m, 1, &src, 1, GC_MAP_DIGITS) == 1) c = m;
    loc->status = keep;
  }
  if (c >= 256) return GC_TOK_END;
  if (cmp1 && c == cmp1) {
    *next = text + 1;
    return GC_TOK_CHAR1;
  }
  if (cmp2 && c == cmp2) {
    *next = text + 1;
    return GC_TOK_CHAR2;
  }
  int32_t v = ascii ? kAscii.v[c] : kEbcdic.v[c];
  if (!ascii && loc->codepage && loc->codepage->id == GC_CP_ID_EBCDIC930) v = kEbcdic930.v[c];
  if (v < 0) return GC_TOK_END;
  *next = text + 1;
  return v;
}

int GCStrGroupingSizeW(GCLocale* locale, const uint32_t* text, int32_t* remaining, const uint32_t** next) {
  if (!text || !*text || !remaining || *remaining <= 0) {
    if (next) *next = nullptr;
    return -1;
  }
  GCLocale* loc = gcLocaleOrDefault(locale);
  const bool ascii = gcfmtAscii(loc);
  const uint32_t semi = ascii ? ';' : 0x5E;
  const uint32_t zero = ascii ? '0' : 0xF0;
  int32_t read = 0;
  int value = 0;
  while (text[read] && text[read] != semi && read < *remaining) {
    uint32_t d = text[read] - zero;
    if (d > 9) return -1;
    if (value < 100000) value = value * 10 + static_cast<int>(d);
    ++read;
  }
  if (text[read] == 0) {
    *remaining = 0;
    if (next) *next = nullptr;
    return value;
  }
  *remaining -= read;
  if (next) *next = text + read + 1;
  return value;
}

int GCStrGetDigitEx(GCLocale* locale, const char* text, int state, int32_t remaining, const char** next,
                    int* outState, const char* cmpc1, const char* cmpc2, const char* cmps1, const char* cmps2,
                    int ascii, uint32_t flags) {
  *next = text;
  if (outState) *outState = state;
  if ((flags != 0 && flags != GC_NUM_MAP) || !text || remaining <= 0) return GC_TOK_END;
  GCLocale* loc = gcLocaleOrDefault(locale);
  const GCObj* cp = loc->codepage;
  if (!cp || !cp->sect[0]) return GC_TOK_END;
  const unsigned char so = gcCpShiftOut(cp), si = gcCpShiftIn(cp);
  const int maxLen = gcCpMaxLen(cp) < 1 ? 1 : gcCpMaxLen(cp);
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  auto isShift = [&](unsigned char b) { return b == so || b == si; };
  int32_t i = 0;
  // Steps over a run of shift codes, setting the state from its last code.
  auto skipShifts = [&]() {
    while (i < remaining && isShift(p[i])) {
      state = p[i] == si ? 0 : 1;
      ++i;
    }
  };
  skipShifts();
  if (outState) *outState = state;
  if (i >= remaining) return GC_TOK_END;
  auto charLen = [&]() { return state == 1 ? maxLen : 1; };
  auto isSpaceAt = [&](int32_t at, int len) {
    if (len == 1) return gcfmtIsSpace(loc, p[at]);
    GCPacked v = 0;
    for (int k = 0; k < len; ++k) v = (v << 8) | p[at + k];
    return (gcCtypeClass(GCGetMbCtypeW(cp, v)) & GC_C_SPACE) != 0;
  };
  int len = charLen();
  if (len > remaining - i) return GC_TOK_END;
  if (isSpaceAt(i, len)) {
    i += len;
    for (;;) {
      int32_t mark = i;
      int markState = state;
      skipShifts();
      len = charLen();
      if (i >= remaining || len > remaining - i || !isSpaceAt(i, len)) {
        i = mark;
        state = markState;
        break;
      }
      i += len;
    }
    *next = text + i;
    if (outState) *outState = state;
    return GC_TOK_SPACE;
  }
  // Comparison strings: a leading shift-out run is skipped and trailing shift
  // codes are not compared.
  auto matchString = [&](const char* cs) -> bool {
    if (!cs || !*cs) return false;
    const unsigned char* c = reinterpret_cast<const unsigned char*>(cs);
    int32_t n = static_cast<int32_t>(std::strlen(cs));
    int32_t b = 0;
    while (b < n && c[b] == so) ++b;
    while (n > b && isShift(c[n - 1])) --n;
    int32_t m = n - b;
    if (m <= 0 || m > remaining - i || std::memcmp(p + i, c + b, static_cast<size_t>(m)) != 0) return false;
    for (int32_t k = 0; k < m; ++k)
      if (isShift(p[i + k])) state = p[i + k] == si ? 0 : 1;
    i += m;
    return true;
  };
  if (matchString(cmps1)) {
    *next = text + i;
    if (outState) *outState = state;
    return GC_TOK_STR1;
  }
  if (matchString(cmps2)) {
    *next = text + i;
    if (outState) *outState = state;
    return GC_TOK_STR2;
  }
  unsigned char c = p[i];
  int clen = len;
  if (flags & GC_NUM_MAP) {
    uint32_t keep = loc->status;
    char mapped[8];
    int m = GCMapStringEx(loc, mapped, 0, sizeof mapped, text + i, state, len, GC_MAP_DIGITS);
    loc->status = keep;
    if (m > 0) {
      c = static_cast<unsigned char>(mapped[0]);
      clen = m;
    }
  }
  if (clen != 1) return GC_TOK_END;
  int token = GC_TOK_END;
  if (cmpc1 && *cmpc1 && static_cast<unsigned char>(*cmpc1) == c) {
    token = GC_TOK_CHAR1;
  } else if (cmpc2 && *cmpc2 && static_cast<unsigned char>(*cmpc2) == c) {
    token = GC_TOK_CHAR2;
  } else {
    token = ascii ? kAscii.v[c] : (cp->id == GC_CP_ID_EBCDIC930 ? kEbcdic930.v[c] : kEbcdic.v[c]);
    if (token < 0) return GC_TOK_END;
  }
  *next = text + i + len;
  if (outState) *outState = state;
  return token;
}
