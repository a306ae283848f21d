// Addition and subtraction of plain decimal texts (no exponent, at most 38
// digits either side of the point) digit by digit on the texts themselves.
// Anything else, and every failure, is left to the general path.
#include <cstring>

#include "core/cmn/cmn_dec_int.h"

namespace {

struct plain {
  bool negative;
  const char* int_digits;  // without leading zeros
  long int_len;
  const char* frac_digits;  // without trailing zeros
  long frac_len;
};

bool is_digit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

const char* skip_digits(const char* p, const char* limit) {
  while (p + 8 <= limit) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    uint64_t bad = ((v - 0x3030303030303030ULL) | (v + 0x4646464646464646ULL)) & 0x8080808080808080ULL;
    if (bad != 0) return p + (__builtin_ctzll(bad) >> 3);
    p += 8;
  }
  while (is_digit(*p)) ++p;
  return p;
}

bool scan(const cmn_ty_decimal* d, plain* x) {
  const char* limit = d->text + sizeof d->text;
  const char* p = d->text;
  x->negative = false;
  if (*p == '-' || *p == '+') x->negative = *p++ == '-';
  x->int_digits = p;
  p = skip_digits(p, limit);
  x->int_len = p - x->int_digits;
  x->frac_digits = p;
  x->frac_len = 0;
  if (*p == '.') {
    x->frac_digits = ++p;
    p = skip_digits(p, limit);
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

int compare_mag(const plain& a, const plain& b) {
  if (a.int_len != b.int_len) return a.int_len < b.int_len ? -1 : 1;
  int c = std::memcmp(a.int_digits, b.int_digits, static_cast<size_t>(a.int_len));
  if (c != 0) return c < 0 ? -1 : 1;
  long n = a.frac_len < b.frac_len ? a.frac_len : b.frac_len;
  c = std::memcmp(a.frac_digits, b.frac_digits, static_cast<size_t>(n));
  if (c != 0) return c < 0 ? -1 : 1;
  // Trailing zeros are gone: the longer fraction is the larger.
  return a.frac_len == b.frac_len ? 0 : (a.frac_len < b.frac_len ? -1 : 1);
}

int frac_digit(const plain& x, long k) { return k < x.frac_len ? x.frac_digits[k] - '0' : 0; }
int int_digit(const plain& x, long t) { return t < x.int_len ? x.int_digits[x.int_len - 1 - t] - '0' : 0; }

// Digit sums (or differences, a >= b) from the right into res[1..I+F];
// returns the final carry.
template <bool Sub>
int digits(const plain& a, const plain& b, long I, long F, char* res) {
  int carry = 0;
  for (long k = F - 1; k >= 0; --k) {
    int s = Sub ? frac_digit(a, k) - frac_digit(b, k) - carry : frac_digit(a, k) + frac_digit(b, k) + carry;
    carry = Sub ? s < 0 : s >= 10;
    res[1 + I + k] = static_cast<char>('0' + (Sub ? s + 10 * carry : s - 10 * carry));
  }
  for (long t = 0; t < I; ++t) {
    int s = Sub ? int_digit(a, t) - int_digit(b, t) - carry : int_digit(a, t) + int_digit(b, t) + carry;
    carry = Sub ? s < 0 : s >= 10;
    res[I - t] = static_cast<char>('0' + (Sub ? s + 10 * carry : s - 10 * carry));
  }
  return carry;
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
  char res[1 + 38 + 38];
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
  char out[sizeof result->text];
  char* o = out;
  if (negative) *o++ = '-';
  std::memcpy(o, res + first, static_cast<size_t>(int_sig));
  o += int_sig;
  if (frac > 0) {
    *o++ = '.';
    std::memcpy(o, res + I + 1, static_cast<size_t>(frac));
    o += frac;
  }
  *o = '\0';
  std::memcpy(result->text, out, static_cast<size_t>(o - out + 1));
  result->precision = int_sig + frac;
  result->scale = frac;
  return true;
}
