#include <cstring>

#include "core/cmn/cmn_dec_int.h"

namespace {

constexpr uint32_t kPow10[10] = {1u,      10u,      100u,      1000u,      10000u,
                                 100000u, 1000000u, 10000000u, 100000000u, 1000000000u};
// N < 10^76: the top limb (powers 72..80) stays below 10^4.
constexpr uint32_t kTopLimit = 10000u;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

int used_limbs(const uint32_t* l, int n) {
  while (n > 0 && l[n - 1] == 0) --n;
  return n;
}

}  // namespace

bool cmn_dec_num_is_zero(const cmn_dec_num& n) {
  for (uint32_t v : n.limb)
    if (v != 0) return false;
  return true;
}

bool cmn_dec_num_too_big(const cmn_dec_num& n) { return n.limb[CMN_DEC_LIMBS - 1] >= kTopLimit; }

int cmn_dec_num_cmp_mag(const cmn_dec_num& a, const cmn_dec_num& b) {
  for (int i = CMN_DEC_LIMBS - 1; i >= 0; --i)
    if (a.limb[i] != b.limb[i]) return a.limb[i] < b.limb[i] ? -1 : 1;
  return 0;
}

long cmn_dec_num_parse(const char* text, cmn_dec_num* n) {
  std::memset(n->limb, 0, sizeof n->limb);
  n->negative = false;
  const char* p = text;
  if (*p == '-' || *p == '+') n->negative = *p++ == '-';
  // Mantissa: digits with at most one point.
  const char* first = p;
  long int_digits = 0, all_digits = 0;
  bool point = false;
  for (;; ++p) {
    if (is_digit(*p)) {
      ++all_digits;
      if (!point) ++int_digits;
    } else if (*p == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  const char* mantissa_end = p;
  if (all_digits == 0) return CMN_DEC_NOT_A_NUMBER;
  long exponent = 0;
  if (*p == 'E' || *p == 'e') {
    ++p;
    bool neg_exp = false;
    if (*p == '-' || *p == '+') neg_exp = *p++ == '-';
    if (!is_digit(*p)) return CMN_DEC_NOT_A_NUMBER;
    for (; is_digit(*p); ++p)
      if (exponent < 100000) exponent = exponent * 10 + (*p - '0');
    if (neg_exp) exponent = -exponent;
  }
  if (*p != '\0') return CMN_DEC_NOT_A_NUMBER;
  // Power of ten of each digit in N: the first digit has int_digits - 1 + e
  // + 38; every next digit one less. Consecutive digits of one limb are
  // gathered by Horner's rule and placed once.
  long power = int_digits - 1 + exponent + 38;
  long limb = -1;
  long last_power = 0;
  uint32_t acc = 0;
  for (const char* q = first; q < mantissa_end; ++q) {
    if (*q == '.') continue;
    unsigned d = static_cast<unsigned>(*q - '0');
    if (power < 0 || power >= 76) {
      if (d != 0) return CMN_DEC_OVERFLOW;
      --power;
      continue;
    }
    long li = power / 9;
    if (li != limb) {
      if (limb >= 0) n->limb[limb] += acc * kPow10[last_power % 9];
      limb = li;
      acc = 0;
    }
    acc = acc * 10 + d;
    last_power = power;
    --power;
  }
  if (limb >= 0) n->limb[limb] += acc * kPow10[last_power % 9];
  if (cmn_dec_num_is_zero(*n)) n->negative = false;
  return 0;
}

void cmn_dec_num_format(const cmn_dec_num& n, cmn_ty_decimal* d) {
  // The 76 digits of N, most significant first (positions 1..76 of the work
  // form).
  char digits[81];
  for (int i = 0; i < CMN_DEC_LIMBS; ++i) {
    uint32_t v = n.limb[i];
    char* out = digits + 81 - 9 * (i + 1);
    for (int k = 8; k >= 0; --k) {
      out[k] = static_cast<char>('0' + v % 10);
      v /= 10;
    }
  }
  const char* all = digits + 5;  // 76 digits; the units digit is all[37]
  char* out = d->text;
  int first = 0;
  while (first < 38 && all[first] == '0') ++first;
  if (cmn_dec_num_is_zero(n)) {
    std::strcpy(d->text, "0.0");
    d->precision = 2;
    d->scale = 1;
    return;
  }
  if (n.negative) *out++ = '-';
  int written = 0;
  int i = first;
  for (; i < 38; ++i, ++written) *out++ = all[i];
  char* point = out;
  *out++ = '.';
  for (; i < 76 && written < 38; ++i, ++written) *out++ = all[i];
  // No trailing fraction zeros, no trailing point.
  while (out > point + 1 && out[-1] == '0') --out;
  if (out == point + 1) --out;
  *out = '\0';
  long scale = out > point ? static_cast<long>(out - point - 1) : 0;
  long int_digits = 38 - first;
  d->precision = int_digits + scale;
  d->scale = scale;
}

namespace {

// r = a + b (magnitudes); r may alias.
void add_mag(const uint32_t* a, const uint32_t* b, uint32_t* r) {
  uint32_t carry = 0;
  for (int i = 0; i < CMN_DEC_LIMBS; ++i) {
    uint32_t s = a[i] + b[i] + carry;
    carry = s >= CMN_DEC_BASE;
    r[i] = carry ? s - CMN_DEC_BASE : s;
  }
}

// r = a - b, a >= b.
void sub_mag(const uint32_t* a, const uint32_t* b, uint32_t* r) {
  uint32_t borrow = 0;
  for (int i = 0; i < CMN_DEC_LIMBS; ++i) {
    uint32_t s = b[i] + borrow;
    borrow = a[i] < s;
    r[i] = borrow ? a[i] + CMN_DEC_BASE - s : a[i] - s;
  }
}

// Long division of u (m limbs) by v (n limbs, top limb non-zero, n >= 2);
// q receives m - n + 1 limbs. u is overwritten.
void divide_limbs(uint32_t* u, int m, const uint32_t* v_in, int n, uint32_t* q) {
  constexpr uint64_t B = CMN_DEC_BASE;
  // Normalise so that the divisor's top limb is at least B / 2.
  uint32_t f = static_cast<uint32_t>(B / (static_cast<uint64_t>(v_in[n - 1]) + 1));
  uint32_t v[CMN_DEC_LIMBS + 1];
  uint64_t carry = 0;
  for (int i = 0; i < n; ++i) {
    uint64_t t = static_cast<uint64_t>(v_in[i]) * f + carry;
    v[i] = static_cast<uint32_t>(t % B);
    carry = t / B;
  }
  carry = 0;
  for (int i = 0; i < m; ++i) {
    uint64_t t = static_cast<uint64_t>(u[i]) * f + carry;
    u[i] = static_cast<uint32_t>(t % B);
    carry = t / B;
  }
  u[m] = static_cast<uint32_t>(carry);
  for (int j = m - n; j >= 0; --j) {
    uint64_t top = static_cast<uint64_t>(u[j + n]) * B + u[j + n - 1];
    uint64_t qhat = top / v[n - 1];
    uint64_t rhat = top % v[n - 1];
    while (qhat >= B || qhat * v[n - 2] > rhat * B + u[j + n - 2]) {
      --qhat;
      rhat += v[n - 1];
      if (rhat >= B) break;
    }
    // u[j..j+n] -= qhat * v.
    int64_t borrow = 0;
    uint64_t mc = 0;
    for (int i = 0; i < n; ++i) {
      uint64_t p = qhat * v[i] + mc;
      mc = p / B;
      int64_t t = static_cast<int64_t>(u[i + j]) - static_cast<int64_t>(p % B) - borrow;
      borrow = t < 0;
      u[i + j] = static_cast<uint32_t>(t < 0 ? t + static_cast<int64_t>(B) : t);
    }
    int64_t t = static_cast<int64_t>(u[j + n]) - static_cast<int64_t>(mc) - borrow;
    if (t < 0) {
      // qhat was one too large: add the divisor back.
      u[j + n] = static_cast<uint32_t>(t + static_cast<int64_t>(B));
      --qhat;
      uint32_t c = 0;
      for (int i = 0; i < n; ++i) {
        uint32_t s = u[i + j] + v[i] + c;
        c = s >= B;
        u[i + j] = c ? s - static_cast<uint32_t>(B) : s;
      }
      u[j + n] = static_cast<uint32_t>((u[j + n] + c) % B);
    } else {
      u[j + n] = static_cast<uint32_t>(t);
    }
    q[j] = static_cast<uint32_t>(qhat);
  }
}

}  // namespace

long cmn_dec_num_add(const cmn_dec_num& a, const cmn_dec_num& b, bool negate_b, cmn_dec_num* r) {
  bool bneg = negate_b ? !b.negative : b.negative;
  if (cmn_dec_num_is_zero(b)) bneg = false;
  cmn_dec_num out;
  if (a.negative == bneg) {
    add_mag(a.limb, b.limb, out.limb);
    if (cmn_dec_num_too_big(out)) return CMN_DEC_OVERFLOW;
    out.negative = a.negative;
  } else if (cmn_dec_num_cmp_mag(a, b) >= 0) {
    sub_mag(a.limb, b.limb, out.limb);
    out.negative = a.negative;
  } else {
    sub_mag(b.limb, a.limb, out.limb);
    out.negative = bneg;
  }
  if (cmn_dec_num_is_zero(out)) out.negative = false;
  *r = out;
  return 0;
}

long cmn_dec_num_mul(const cmn_dec_num& a, const cmn_dec_num& b, cmn_dec_num* r) {
  constexpr uint64_t B = CMN_DEC_BASE;
  int na = used_limbs(a.limb, CMN_DEC_LIMBS), nb = used_limbs(b.limb, CMN_DEC_LIMBS);
  uint32_t p[2 * CMN_DEC_LIMBS + 1] = {};
  for (int i = 0; i < na; ++i) {
    uint64_t ai = a.limb[i];
    if (ai == 0) continue;
    uint64_t carry = 0;
    for (int j = 0; j < nb; ++j) {
      uint64_t t = ai * b.limb[j] + p[i + j] + carry;
      p[i + j] = static_cast<uint32_t>(t % B);
      carry = t / B;
    }
    for (int k = i + nb; carry != 0; ++k) {
      uint64_t t = p[k] + carry;
      p[k] = static_cast<uint32_t>(t % B);
      carry = t / B;
    }
  }
  // Cut the 38 lowest digits: drop four limbs (36 digits), divide by 100.
  for (int k = 4 + CMN_DEC_LIMBS; k < 2 * CMN_DEC_LIMBS; ++k)
    if (p[k] != 0) return CMN_DEC_OVERFLOW;
  cmn_dec_num out;
  uint64_t rem = 0;
  for (int k = CMN_DEC_LIMBS - 1; k >= 0; --k) {
    uint64_t cur = rem * B + p[k + 4];
    out.limb[k] = static_cast<uint32_t>(cur / 100);
    rem = cur % 100;
  }
  if (cmn_dec_num_too_big(out)) return CMN_DEC_OVERFLOW;
  out.negative = a.negative != b.negative && !cmn_dec_num_is_zero(out);
  *r = out;
  return 0;
}

long cmn_dec_num_div(const cmn_dec_num& a, const cmn_dec_num& b, cmn_dec_num* r) {
  constexpr uint64_t B = CMN_DEC_BASE;
  int nb = used_limbs(b.limb, CMN_DEC_LIMBS);
  if (nb == 0) return CMN_DEC_DIVIDE_BY_ZERO;
  // u = a * 10^38: four limbs up, times 100.
  constexpr int kU = CMN_DEC_LIMBS + 5;
  uint32_t u[kU + 1] = {};
  uint64_t carry = 0;
  for (int i = 0; i < CMN_DEC_LIMBS; ++i) {
    uint64_t t = static_cast<uint64_t>(a.limb[i]) * 100 + carry;
    u[i + 4] = static_cast<uint32_t>(t % B);
    carry = t / B;
  }
  u[CMN_DEC_LIMBS + 4] = static_cast<uint32_t>(carry);
  int m = used_limbs(u, kU);
  uint32_t q[kU + 1] = {};
  if (m >= nb) {
    if (nb == 1) {
      uint64_t rem = 0;
      for (int k = m - 1; k >= 0; --k) {
        uint64_t cur = rem * B + u[k];
        q[k] = static_cast<uint32_t>(cur / b.limb[0]);
        rem = cur % b.limb[0];
      }
    } else {
      divide_limbs(u, m, b.limb, nb, q);
    }
  }
  for (int k = CMN_DEC_LIMBS; k <= kU; ++k)
    if (q[k] != 0) return CMN_DEC_OVERFLOW;
  cmn_dec_num out;
  std::memcpy(out.limb, q, sizeof out.limb);
  if (cmn_dec_num_too_big(out)) return CMN_DEC_OVERFLOW;
  out.negative = a.negative != b.negative && !cmn_dec_num_is_zero(out);
  *r = out;
  return 0;
}
