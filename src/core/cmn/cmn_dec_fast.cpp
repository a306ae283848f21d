// Addition and subtraction of plain decimal texts (no exponent, at most 38
// digits either side of the point) digit by digit on the texts themselves.
// Anything else, and every failure, is left to the general path.
#include <cstring>

#include "core/cmn/cmn_dec_int.h"

namespace {

struct plain {
  const char* base;  // the text field: bytes base .. base + 47 may be read
  bool negative;
  const char* int_digits;  // without leading zeros
  long int_len;
  const char* frac_digits;  // without trailing zeros
  long frac_len;
};

inline __attribute__((always_inline)) bool scan(const cmn_ty_decimal* d, plain* x) {
  const char* limit = d->text + sizeof d->text;
  const char* p = d->text;
  x->base = d->text;
  x->negative = false;
  if (*p == '-' || *p == '+') x->negative = *p++ == '-';
  x->int_digits = p;
  p = cmn_dec_skip_digits(p, limit);
  x->int_len = p - x->int_digits;
  x->frac_digits = p;
  x->frac_len = 0;
  if (*p == '.') {
    x->frac_digits = ++p;
    p = cmn_dec_skip_digits(p, limit);
    x->frac_len = p - x->frac_digits;
  }
  if (*p != '\0' || x->int_len + x->frac_len == 0 || x->int_len > 38 || x->frac_len > 38) return false;
  while (x->int_len > 0 && *x->int_digits == '0') {
    ++x->int_digits;
    --x->int_len;
  }
  while (x->frac_len > 0 && x->frac_digits[x->frac_len - 1] == '0') --x->frac_len;
  if (x->int_len == 0 && x->frac_len == 0) x->negative = false;
  return true;
}

// -1, 0 or 1: the first differing byte of n.
int compare_bytes(const char* a, const char* b, long n) {
  for (long i = 0; i < n; ++i)
    if (a[i] != b[i]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]) ? -1 : 1;
  return 0;
}

int compare_mag(const plain& a, const plain& b) {
  if (a.int_len != b.int_len) return a.int_len < b.int_len ? -1 : 1;
  int c = compare_bytes(a.int_digits, b.int_digits, a.int_len);
  if (c != 0) return c;
  c = compare_bytes(a.frac_digits, b.frac_digits, a.frac_len < b.frac_len ? a.frac_len : b.frac_len);
  if (c != 0) return c;
  // Trailing zeros are gone: the longer fraction is the larger.
  return a.frac_len == b.frac_len ? 0 : (a.frac_len < b.frac_len ? -1 : 1);
}

constexpr uint64_t kOnes = 0x0101010101010101ULL;
constexpr long kField = sizeof(cmn_ty_decimal::text);

uint64_t low_bytes(long k) { return k >= 8 ? ~0ULL : (k <= 0 ? 0 : (1ULL << (8 * k)) - 1); }

// Digit values of eight characters at addr (memory order), those outside
// the bytes lo..hi-1 read as 0; byte 0 of the result is the last character.
inline __attribute__((always_inline)) uint64_t digit_word(const plain& x, const char* addr, long lo, long hi) {
  uint64_t w = 0;
  if (lo >= hi) return 0;
  // The eight bytes are read inside the field: a window that starts before
  // it (or ends after it) is read at the field's edge and shifted into place;
  // the bytes that fall outside are outside lo..hi-1 (fewer than eight).
  const char* first = x.base;
  const char* last = x.base + kField - 8;
  if (addr < first) {
    std::memcpy(&w, first, 8);
    w <<= 8 * (first - addr);
  } else if (addr > last) {
    std::memcpy(&w, last, 8);
    w >>= 8 * (addr - last);
  } else {
    std::memcpy(&w, addr, 8);
  }
  uint64_t keep = low_bytes(hi) & ~low_bytes(lo);
  w = ((w & keep) | (0x3030303030303030ULL & ~keep)) - 0x3030303030303030ULL;
  return __builtin_bswap64(w);
}

// Fraction positions c0 .. c0 + 7.
inline __attribute__((always_inline)) uint64_t frac_word(const plain& x, long c0) {
  long lo = c0 < 0 ? -c0 : 0, hi = x.frac_len - c0 < 8 ? x.frac_len - c0 : 8;
  return digit_word(x, x.frac_digits + c0, lo, hi);
}

// Integer positions t0 .. t0 + 7 counted from the units digit.
inline __attribute__((always_inline)) uint64_t int_word(const plain& x, long t0) {
  long lo = t0 + 8 - x.int_len > 0 ? t0 + 8 - x.int_len : 0;
  return digit_word(x, x.int_digits + x.int_len - t0 - 8, lo, 8);
}

// Eight digit sums (differences) at once, least significant digit in byte
// 0; the k low bytes are positions of the result. A subtraction adds the
// nines' complement, its carry meaning "no borrow". Returns the carry out.
template <bool Sub>
int add_word(uint64_t x, uint64_t y, long k, int carry, uint64_t* digits) {
  uint64_t valid = low_bytes(k);
  if (Sub) y = ((kOnes * 9) & valid) - y;
  uint64_t t;
  // A byte overflows exactly when its decimal sum reaches 10; the binary
  // carry is the decimal one.
  bool over = __builtin_add_overflow(x + y + static_cast<uint64_t>(carry), kOnes * 0xF6, &t);
  uint64_t fixed = t - ((t >> 7) & kOnes) * 0xF6;
  *digits = fixed & valid;
  return k >= 8 ? over : static_cast<int>((fixed >> (8 * k)) & 0xFF);
}

void put_word(char* dst, uint64_t digits) {
  uint64_t w = __builtin_bswap64(digits) + 0x3030303030303030ULL;
  std::memcpy(dst, &w, 8);
}

// Digit sums (or differences, a >= b) from the right into res[1..I+F]
// (res has eight bytes of room on either side); returns the final carry.
template <bool Sub>
int digits(const plain& a, const plain& b, long I, long F, char* res) {
  int carry = Sub ? 1 : 0;
  uint64_t d;
  for (long c0 = F - 8; c0 > -8; c0 -= 8) {
    carry = add_word<Sub>(frac_word(a, c0), frac_word(b, c0), c0 < 0 ? c0 + 8 : 8, carry, &d);
    put_word(res + 1 + I + c0, d);
  }
  for (long t0 = 0; t0 < I; t0 += 8) {
    carry = add_word<Sub>(int_word(a, t0), int_word(b, t0), I - t0, carry, &d);
    put_word(res + I - t0 - 7, d);
  }
  return Sub ? 0 : carry;
}

}  // namespace

bool cmn_dec_fast_add(const cmn_ty_decimal* a_dec, const cmn_ty_decimal* b_dec, bool negate_b,
                      cmn_ty_decimal* result) {
  plain a, b;
  if (!scan(a_dec, &a) || !scan(b_dec, &b)) return false;
  if (negate_b && (b.int_len > 0 || b.frac_len > 0)) b.negative = !b.negative;
  bool subtract = a.negative != b.negative;
  bool negative = a.negative;
  if (subtract) {
    int c = compare_mag(a, b);
    if (c == 0) {
      std::memcpy(result->text, "0.0", 4);
      result->precision = 2;
      result->scale = 1;
      return true;
    }
    if (c < 0) {
      plain t = a;
      a = b;
      b = t;
      negative = a.negative;
    }
  }
  long F = a.frac_len > b.frac_len ? a.frac_len : b.frac_len;
  long I = a.int_len > b.int_len ? a.int_len : b.int_len;
  // res[0] takes the carry; res[1..I] the integer digits; then F fraction
  // digits.
  char room[8 + 1 + 38 + 38 + 48] = {};
  char* res = room + 8;
  int carry = subtract ? digits<true>(a, b, I, F, res) : digits<false>(a, b, I, F, res);
  res[0] = static_cast<char>('0' + carry);  // a subtraction ends without a borrow
  long first = 0;
  while (first <= I && res[first] == '0') ++first;
  long int_sig = I + 1 - first;
  if (int_sig > 38) return false;  // overflow: reported by the general path
  long frac = F;
  if (int_sig + frac > 38) frac = 38 - int_sig;
  while (frac > 0 && res[I + frac] == '0') --frac;
  if (int_sig == 0 && frac == 0) {
    std::memcpy(result->text, "0.0", 4);
    result->precision = 2;
    result->scale = 1;
    return true;
  }
  // Straight into the result (the operands are no longer read): the parts,
  // then zeros to the end of the field; at most 38 digits in all, with '-',
  // '.' and the NUL at most 41 bytes.
  char* t = result->text;
  char* o = t;
  if (negative) *o++ = '-';
  std::memcpy(o, res + first, static_cast<size_t>(int_sig));
  o += int_sig;
  if (frac > 0) {
    *o++ = '.';
    std::memcpy(o, res + I + 1, static_cast<size_t>(frac));
    o += frac;
  }
  std::memset(o, 0, static_cast<size_t>(t + sizeof result->text - o));
  result->precision = int_sig + frac;
  result->scale = frac;
  return true;
}
