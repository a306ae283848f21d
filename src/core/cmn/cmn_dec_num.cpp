// Arithmetic on the internal number form: base 10^18 limbs with 128-bit
// products.
#include <cstring>

#include "core/cmn/cmn_dec_int.h"

namespace {

using u128 = unsigned __int128;

constexpr uint64_t B = CMN_DEC_BASE;
// Limb 5 holds the integer digits 36 and 37 only.
constexpr uint64_t kTopLimit = 100;
// Limb 0 keeps the fraction digits 37 and 38 only: digits below are cut.
constexpr uint64_t kCutUnit = 10000000000000000ull;  // 10^16
// The product and the shifted dividend: twice the limbs.
constexpr int kWide = 2 * CMN_DEC_LIMBS;

int used_limbs(const uint64_t* l, int n) {
  while (n > 0 && l[n - 1] == 0) --n;
  return n;
}

// (hi * 2^64 + lo) / d and the remainder, hi < d.
inline uint64_t divide_wide(uint64_t hi, uint64_t lo, uint64_t d, uint64_t* rem) {
#if defined(__x86_64__)
  uint64_t q, r;
  __asm__("divq %4" : "=a"(q), "=d"(r) : "a"(lo), "d"(hi), "rm"(d) : "cc");
  *rem = r;
  return q;
#else
  u128 n = (static_cast<u128>(hi) << 64) | lo;
  *rem = static_cast<uint64_t>(n % d);
  return static_cast<uint64_t>(n / d);
#endif
}

// s % B into the limb, s / B into *carry; s < B * 2^64.
inline uint64_t split(u128 s, uint64_t* carry) {
  uint64_t rem;
  *carry = divide_wide(static_cast<uint64_t>(s >> 64), static_cast<uint64_t>(s), B, &rem);
  return rem;
}

bool too_big(const uint64_t* limb) { return limb[CMN_DEC_LIMBS - 1] >= kTopLimit; }

// out = in * f (n limbs, f < B); returns the limb carried out.
uint64_t scale_limbs(const uint64_t* in, int n, uint64_t f, uint64_t* out) {
  uint64_t carry = 0;
  for (int i = 0; i < n; ++i) out[i] = split(static_cast<u128>(in[i]) * f + carry, &carry);
  return carry;
}

// u[j .. j + n] -= q * v; returns false when that went below zero (and then
// adds v back, the caller lowering q by one).
bool multiply_subtract(uint64_t* u, const uint64_t* v, int n, uint64_t q) {
  uint64_t carry = 0;
  int64_t borrow = 0;
  for (int i = 0; i < n; ++i) {
    uint64_t low = split(static_cast<u128>(q) * v[i] + carry, &carry);
    int64_t t = static_cast<int64_t>(u[i]) - static_cast<int64_t>(low) - borrow;
    borrow = t < 0;
    u[i] = static_cast<uint64_t>(t < 0 ? t + static_cast<int64_t>(B) : t);
  }
  int64_t t = static_cast<int64_t>(u[n]) - static_cast<int64_t>(carry) - borrow;
  if (t >= 0) {
    u[n] = static_cast<uint64_t>(t);
    return true;
  }
  u[n] = static_cast<uint64_t>(t + static_cast<int64_t>(B));
  uint64_t c = 0;
  for (int i = 0; i < n; ++i) {
    uint64_t s = u[i] + v[i] + c;
    c = s >= B;
    u[i] = c ? s - B : s;
  }
  u[n] = (u[n] + c) % B;
  return false;
}

// Long division of u (m limbs) by v (n limbs, top limb non-zero, n >= 2);
// q receives m - n + 1 limbs. u is overwritten.
void divide_limbs(uint64_t* u, int m, const uint64_t* v_in, int n, uint64_t* q) {
  // Normalise so that the divisor's top limb is at least B / 2.
  uint64_t f = B / (v_in[n - 1] + 1);
  uint64_t v[CMN_DEC_LIMBS];
  scale_limbs(v_in, n, f, v);
  u[m] = scale_limbs(u, m, f, u);
  const uint64_t vtop = v[n - 1];
  for (int j = m - n; j >= 0; --j) {
    u128 top = static_cast<u128>(u[j + n]) * B + u[j + n - 1];
    u128 qhat, rhat;
    if (static_cast<uint64_t>(top >> 64) < vtop) {  // the quotient fits 64 bits: one hardware division
      uint64_t r64;
      qhat = divide_wide(static_cast<uint64_t>(top >> 64), static_cast<uint64_t>(top), vtop, &r64);
      rhat = r64;
    } else {
      qhat = top / vtop;
      rhat = top % vtop;
    }
    while (qhat >= B || qhat * v[n - 2] > rhat * B + u[j + n - 2]) {
      --qhat;
      rhat += vtop;
      if (rhat >= B) break;
    }
    uint64_t qd = static_cast<uint64_t>(qhat);
    if (!multiply_subtract(u + j, v, n, qd)) --qd;
    q[j] = qd;
  }
}

// A 192-bit number: two high words and the low one.
struct wide192 {
  u128 high;
  uint64_t low;
};

inline bool above(const wide192& x, const wide192& y) { return x.high > y.high || (x.high == y.high && x.low > y.low); }

inline wide192 minus(const wide192& x, const wide192& y) {
  return {x.high - y.high - (x.low < y.low), x.low - y.low};
}

// x * y for y below 2^128 and x below 2^64.
inline wide192 times(uint64_t x, u128 y) {
  const u128 low = static_cast<u128>(x) * static_cast<uint64_t>(y);
  return {static_cast<u128>(x) * static_cast<uint64_t>(y >> 64) + (low >> 64), static_cast<uint64_t>(low)};
}

// Long division of w (m limbs) by a divisor of two limbs: V = v[1] B + v[0]
// is below 10^36, one binary number, so the remainder is kept in binary and
// each quotient limb costs one hardware division (Knuth's estimate from the
// divisor's normalised top word, lowered at most twice). q receives m limbs.
void divide_two_limbs(const uint64_t* w, int m, const uint64_t* v, uint64_t* q) {
  const u128 divisor = static_cast<u128>(v[1]) * B + v[0];
  const uint64_t top = static_cast<uint64_t>(divisor >> 64);
  if (top == 0) {  // one word: r B + w[k] < divisor * B keeps the high word below the divisor
    const uint64_t d = static_cast<uint64_t>(divisor);
    uint64_t rem = 0;
    for (int k = m - 1; k >= 0; --k) {
      const u128 t = static_cast<u128>(rem) * B + w[k];
      q[k] = divide_wide(static_cast<uint64_t>(t >> 64), static_cast<uint64_t>(t), d, &rem);
    }
    return;
  }
  // divisor < 2^120, so the shift is at least 8 and n << shift below keeps
  // its 188 bits.
  const int shift = __builtin_clzll(top);
  const uint64_t d1 = static_cast<uint64_t>((divisor << shift) >> 64);
  const wide192 step{divisor >> 64, static_cast<uint64_t>(divisor)};
  u128 rem = 0;
  for (int k = m - 1; k >= 0; --k) {
    // n = rem B + w[k] < divisor * B.
    const u128 low = static_cast<u128>(static_cast<uint64_t>(rem)) * B + w[k];
    const wide192 n{static_cast<u128>(static_cast<uint64_t>(rem >> 64)) * B + (low >> 64), static_cast<uint64_t>(low)};
    const u128 head = (n.high << shift) | (n.low >> (64 - shift));  // the top two words of n << shift
    uint64_t unused;
    uint64_t qhat = divide_wide(static_cast<uint64_t>(head >> 64), static_cast<uint64_t>(head), d1, &unused);
    wide192 product = times(qhat, divisor);
    while (above(product, n)) {
      --qhat;
      product = minus(product, step);
    }
    const wide192 r = minus(n, product);
    rem = (r.high << 64) | r.low;
    q[k] = qhat;
  }
}

// The result limbs from limb `from` of a wide result: overflow past the
// integer digits, fraction digits below the 38th cut.
long take(const uint64_t* wide, int from, bool negative, cmn_dec_num* r) {
  for (int k = from + CMN_DEC_LIMBS; k < kWide; ++k)
    if (wide[k] != 0) return CMN_DEC_OVERFLOW;
  if (too_big(wide + from)) return CMN_DEC_OVERFLOW;
  uint64_t any = 0;
  for (int k = 0; k < CMN_DEC_LIMBS; ++k) {
    uint64_t v = wide[from + k];
    if (k == 0) v -= v % kCutUnit;
    r->limb[k] = v;
    any |= v;
  }
  r->negative = negative && any != 0;
  return 0;
}

}  // namespace

bool cmn_dec_num_is_zero(const cmn_dec_num& n) {
  uint64_t any = 0;
  for (uint64_t v : n.limb) any |= v;
  return any == 0;
}

int cmn_dec_num_cmp_mag(const cmn_dec_num& a, const cmn_dec_num& b) {
  for (int i = CMN_DEC_LIMBS - 1; i >= 0; --i)
    if (a.limb[i] != b.limb[i]) return a.limb[i] < b.limb[i] ? -1 : 1;
  return 0;
}

// The sign of a zero never matters below: a zero b leaves a's sign (or a
// zero result, which is made positive).
long cmn_dec_num_add(const cmn_dec_num& a, const cmn_dec_num& b, bool negate_b, cmn_dec_num* r) {
  const bool bneg = negate_b ? !b.negative : b.negative;
  // Element by element into r, which may be a or b; the zero test is kept
  // as the limbs are made (reading them back at once would wait for the
  // stores).
  uint64_t any = 0;
  bool negative = a.negative;
  if (a.negative == bneg) {
    uint64_t carry = 0;
    for (int i = 0; i < CMN_DEC_LIMBS; ++i) {
      uint64_t s = a.limb[i] + b.limb[i] + carry;
      carry = s >= B;
      s = carry ? s - B : s;
      if (i == CMN_DEC_LIMBS - 1 && s >= kTopLimit) return CMN_DEC_OVERFLOW;
      r->limb[i] = s;
      any |= s;
    }
  } else {
    const int c = cmn_dec_num_cmp_mag(a, b);
    const uint64_t* big = c >= 0 ? a.limb : b.limb;
    const uint64_t* small = c >= 0 ? b.limb : a.limb;
    negative = c >= 0 ? a.negative : bneg;
    uint64_t borrow = 0;
    for (int i = 0; i < CMN_DEC_LIMBS; ++i) {
      uint64_t s = small[i] + borrow, x = big[i];
      borrow = x < s;
      s = borrow ? x + B - s : x - s;
      r->limb[i] = s;
      any |= s;
    }
  }
  r->negative = negative && any != 0;
  return 0;
}

long cmn_dec_num_mul(const cmn_dec_num& a, const cmn_dec_num& b, cmn_dec_num* r) {
  int na = used_limbs(a.limb, CMN_DEC_LIMBS), nb = used_limbs(b.limb, CMN_DEC_LIMBS);
  int la = 0, lb = 0;  // lowest non-zero limbs
  while (la < na && a.limb[la] == 0) ++la;
  while (lb < nb && b.limb[lb] == 0) ++lb;
  uint64_t p[kWide] = {};
  // Column by column: at most six products below 10^36 and a carry below
  // 2^64 stay below B * 2^64, so each column is split once.
  uint64_t carry = 0;
  for (int k = la + lb; k < na + nb - 1; ++k) {
    u128 sum = carry;
    int i0 = k - (nb - 1) > la ? k - (nb - 1) : la;
    int i1 = k - lb < na - 1 ? k - lb : na - 1;
    for (int i = i0; i <= i1; ++i) sum += static_cast<u128>(a.limb[i]) * b.limb[k - i];
    p[k] = split(sum, &carry);
  }
  if (na > 0 && nb > 0) p[na + nb - 1] = carry;
  // The product has 108 fraction digits: drop three limbs (54 digits).
  return take(p, 3, a.negative != b.negative, r);
}

long cmn_dec_num_div(const cmn_dec_num& a, const cmn_dec_num& b, cmn_dec_num* r) {
  int nb = used_limbs(b.limb, CMN_DEC_LIMBS);
  if (nb == 0) return CMN_DEC_DIVIDE_BY_ZERO;
  // u = a * 10^54: three limbs up (and one limb of room for normalising).
  uint64_t u[kWide + 1] = {};
  std::memcpy(u + 3, a.limb, sizeof a.limb);
  // Low zero limbs of the divisor: floor(u / (v B^z)) = floor(floor(u / B^z) / v).
  int z = 0;
  while (b.limb[z] == 0) ++z;
  const uint64_t* v = b.limb + z;
  int n = nb - z;
  uint64_t* w = u + z;
  int m = used_limbs(u, kWide) - z;
  uint64_t q[kWide + 1] = {};
  if (m >= n) {
    if (n == 1) {
      uint64_t rem = 0;
      for (int k = m - 1; k >= 0; --k) {
        u128 t = static_cast<u128>(rem) * B + w[k];  // below v[0] * B
        q[k] = divide_wide(static_cast<uint64_t>(t >> 64), static_cast<uint64_t>(t), v[0], &rem);
      }
    } else if (n == 2) {
      divide_two_limbs(w, m, v, q);
    } else {
      divide_limbs(w, m, v, n, q);
    }
  }
  return take(q, 0, a.negative != b.negative, r);
}
