// Text to number: the integer and double readers.
#include "mbtext/gc_strto.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>

#include "mbtext/gc_fmt_cp_int.h"
#include "mbtext/gc_fmt_item_int.h"
#include "mbtext/gc_len_int.h"
#include "mbtext/gc_locale.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_strto_int.h"
#include "mbtext/gc_strto_rec_int.h"

using namespace gcstrto;

namespace {

constexpr uint64_t kOnes = 0x0101010101010101ull;
constexpr uint64_t kHigh = 0x8080808080808080ull;
constexpr uint64_t kPow10[9] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};

// The run of ASCII digits at the start of the up to eight bytes of w (memory
// order, the first byte lowest): its length and value.
inline int asciiDigitRun(uint64_t w, uint64_t* value) {
  const uint64_t d = w - kOnes * '0';
  // A byte is no digit when it is below '0' or above '9'; only the first
  // such byte counts (borrows and carries change nothing before it).
  const uint64_t bad = (d | (w + kOnes * (0x80 - '9' - 1))) & kHigh;
  const int n = bad ? __builtin_ctzll(bad) >> 3 : 8;
  if (n == 0) return 0;
  // The n digits moved to the top bytes, zeros before them; then pairs,
  // fours and eights of digits.
  uint64_t v = d << (8 * (8 - n));
  v = (v * 10 + (v >> 8)) & 0x00FF00FF00FF00FFull;
  v = ((v * (1 + (100ull << 16))) >> 16) & 0x0000FFFF0000FFFFull;
  v = (v * (1 + (10000ull << 32))) >> 32;
  *value = v;
  return n;
}

// The number itself, read with reader (its items stay valid meanwhile).
inline long readLong(GCLocale* loc, TokenReader& reader, const char* text, int32_t length, const char** end,
                     int base, uint32_t flags) {
  const uint32_t mapflag = flags & GC_NUM_MAP;
  const int ascii = reader.ascii;
  const char* plus = reader.cmps1;
  const char* minus = reader.cmps2;
  const char* sepc = reader.cmpc1;
  if (length < 0 && (length = gcTextLen(text)) < 0) {
    loc->status = GC_E_ARG;
    return 0;
  }
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
    return readToken(&reader, at, static_cast<int32_t>(stop - at), &after);
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
  // Adds a digit; past the limit the value is held at it and reading stops.
  auto take = [&](uint64_t digit) {
    const uint64_t nv = value * static_cast<uint64_t>(base) + digit;
    if (nv > limit) {
      overflow = stopped = true;
      value = limit;
      return false;
    }
    value = nv;
    return true;
  };
  // Plain decimal digits are taken in line while they last (readToken's
  // own first test, without the call): each is its own token.
  const bool inLine = !shift && reader.flags == 0 && base == 10;
  // Runs of ASCII digits (every digit read in line) are taken up to eight
  // at a time while they cannot pass the limit; a run that might is taken
  // digit by digit, which finds where it stops.
  const bool runs = inLine && reader.zero == '0' && reader.plain == (1u << 10) - 1;
  while (after < stop) {
    if (runs) {
      uint64_t w = 0, run = 0;
      if (stop - after >= 8)
        std::memcpy(&w, after, 8);
      else
        for (int k = 0; k < stop - after; ++k) w |= uint64_t(static_cast<unsigned char>(after[k])) << (8 * k);
      const int n = asciiDigitRun(w, &run);
      if (n > 0 && value * kPow10[n] + run <= limit) {
        value = value * kPow10[n] + run;
        at = after + n - 1;
        after += n;
        continue;
      }
    }
    if (inLine) {
      const unsigned d = static_cast<unsigned>(static_cast<unsigned char>(*after) - reader.zero);
      if (d < 10 && ((reader.plain >> d) & 1)) {
        at = after++;
        if (!take(d)) break;
        continue;
      }
    }
    tok = read();
    if (tok == GC_TOK_CHAR1) continue;
    if (tok < 0 || tok > 35 || tok >= base) {
      stopped = true;
      break;
    }
    if (!take(static_cast<uint64_t>(tok))) break;
  }
  if (!stopped) at = after;  // every token was taken
  if (overflow) loc->status = GC_E_ARG;
  long result = negative ? -static_cast<long>(value) : static_cast<long>(value);
  return finish(result);
}

// Monetary numbers, the territory's items and pages with shift codes:
// everything looked up for this call.
__attribute__((noinline)) long readLongLookedUp(GCLocale* loc, const char* text, int32_t length, const char** end,
                                                int base, uint32_t flags) {
  const int ascii = gcfmtAscii(loc) ? 1 : 0;
  NumberItems items;
  readNumberItems(loc, flags, ascii, false, &items);
  TokenReader own;
  tokenReaderInit(&own, loc, items.thouc, nullptr, items.plus, items.minus, ascii, flags & GC_NUM_MAP);
  return readLong(loc, own, text, length, end, base, flags);
}

}  // namespace

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
  const uint32_t mapflag = flags & GC_NUM_MAP;
  // Plain numbers take the thread's kept reader; monetary numbers, the
  // territory's items and pages with shift codes look everything up.
  TokenReader* kept = (flags & (GC_NUM_MONETARY | GC_NUM_ITEMFLAG)) == 0 ? numberReader(loc, mapflag) : nullptr;
  if (!kept) return readLongLookedUp(loc, text, length, end, base, flags);
  return readLong(loc, *kept, text, length, end, base, flags);
}


namespace {

// The double reader's states; the approximate value is kept only when value
// is given (the reader itself rounds from the digits it collects).
int doubleNextState(int state, int token, double* value, int* sign, int* fexp, int* esign, int* exp) {
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
        if (value) *value = token;
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
        if (value) *value = *value * 10.0 + token;
        return 3;
      }
      if (token == GC_TOK_CHAR2) return 2;
      return -1;
    case 2:
      if (digit) {
        *fexp = -1;
        if (value) *value = token / 10.0;
        return 5;
      }
      return -1;
    case 3:
      if (digit) {
        if (value) *value = *value * 10.0 + token;
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
        if (value) *value = *value * 10.0 + token;
        return 3;
      }
      return -1;
    case 5:
      if (digit) {
        if (*fexp > -100000000) --*fexp;
        if (value) *value = *value + token * pow10(*fexp);
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

}  // namespace

int GCStrDoubleNextState(int state, int token, double* value, int* sign, int* fexp, int* esign, int* exp) {
  return doubleNextState(state, token, value, sign, fexp, esign, exp);
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
  NumberItems items;
  readNumberItems(loc, flags, ascii, true, &items);
  const char* plus = items.plus;
  const char* minus = items.minus;
  const char* thouc = items.thouc;
  const char* decc = items.decc;
  if (length < 0 && (length = gcTextLen(text)) < 0) {
    loc->status = GC_E_ARG;
    return 0.0;
  }

  // The accepted number is collected as plain C text: sign, up to kKeep
  // significant digits (a dropped non-zero digit leaves a final 1 so that
  // rounding still sees it), and a decimal exponent.
  constexpr int kKeep = 800;
  char mant[kKeep + 2];
  int mlen = 0;
  bool sticky = false;
  long long adjust = 0;  // power of ten applied to the kept digits

  int sign = 1, fexp = 0, esign = 1, exp = 0;
  int state = 0;
  const char* const stop = text + length;
  const bool shift = (loc->flags & GC_LF_SHIFT) != 0;
  int shiftState = 0;
  TokenReader reader;
  tokenReaderInit(&reader, loc, thouc, decc, plus, minus, ascii, mapflag);
  while (*end < stop) {
    const char* next = *end;
    int newState = shiftState;
    int tok = shift ? GCStrGetDigitEx(loc, *end, shiftState, static_cast<int32_t>(stop - *end), &next, &newState,
                                      thouc, decc, plus, minus, ascii, mapflag)
                    : readToken(&reader, *end, static_cast<int32_t>(stop - *end), &next);
    if (tok < 0) break;
    int ns = doubleNextState(state, tok, nullptr, &sign, &fexp, &esign, &exp);
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
      tokenReaderStrings(&reader, plus, minus);
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
  buf[mlen] = 'e';
  char* e = std::to_chars(buf + mlen + 1, buf + sizeof buf - 1, e10).ptr;
  *e = '\0';
  // std::from_chars rounds correctly as strtod does; a value beyond the
  // range of a double (infinity, zero or a denormal with the range error)
  // is left to strtod. The text holds only digits, 'e' and a sign, which
  // every locale reads alike; the C locale is used when it can be had.
  double v = 0.0;
  std::from_chars_result r = std::from_chars(buf, e, v);
  if (r.ec != std::errc() || r.ptr != e) {
    locale_t c = gcfmtCLocale();
    v = c ? strtod_l(buf, nullptr, c) : std::strtod(buf, nullptr);
  }
  return sign < 0 ? -v : v;
}
