#include <cstring>

#include "core/cmn/cmn_dec_int.h"

namespace {

// N < 10^76: the top limb (powers 72..80) stays below 10^4.
constexpr uint32_t kTopLimit = 10000u;

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

// q = top / v and r = top % v (top < 2^60, v >= 1) through a floating
// reciprocal, corrected to the exact quotient.
inline void quotient_by(uint64_t top, uint64_t v, double inverse, uint64_t* q, uint64_t* r) {
  uint64_t est = static_cast<uint64_t>(static_cast<double>(top) * inverse);
  int64_t rem = static_cast<int64_t>(top - est * v);
  while (rem < 0) {
    --est;
    rem += static_cast<int64_t>(v);
  }
  while (rem >= static_cast<int64_t>(v)) {
    ++est;
    rem -= static_cast<int64_t>(v);
  }
  *q = est;
  *r = static_cast<uint64_t>(rem);
}

// out = in * f (n limbs, f < B); returns the limb carried out. The
// products are independent; only a carry of 0 or 1 runs along.
uint32_t scale_limbs(const uint32_t* in, int n, uint32_t f, uint32_t* out) {
  constexpr uint64_t B = CMN_DEC_BASE;
  uint64_t high = 0;
  uint32_t carry = 0;
  for (int i = 0; i < n; ++i) {
    uint64_t t = static_cast<uint64_t>(in[i]) * f;
    uint64_t s = t % B + high + carry;
    high = t / B;
    carry = s >= B;
    out[i] = static_cast<uint32_t>(carry ? s - B : s);
  }
  return static_cast<uint32_t>(high + carry);
}

// Long division of u (m limbs) by v (n limbs, top limb non-zero, n >= 2);
// q receives m - n + 1 limbs. u is overwritten.
void divide_limbs(uint32_t* u, int m, const uint32_t* v_in, int n, uint32_t* q) {
  constexpr uint64_t B = CMN_DEC_BASE;
  // Normalise so that the divisor's top limb is at least B / 2.
  uint32_t f = static_cast<uint32_t>(B / (static_cast<uint64_t>(v_in[n - 1]) + 1));
  uint32_t v[CMN_DEC_LIMBS + 1];
  scale_limbs(v_in, n, f, v);
  u[m] = scale_limbs(u, m, f, u);
  const uint64_t vtop = v[n - 1];
  const double inverse = 1.0 / static_cast<double>(vtop);
  for (int j = m - n; j >= 0; --j) {
    uint64_t top = static_cast<uint64_t>(u[j + n]) * B + u[j + n - 1];
    uint64_t qhat, rhat;
    quotient_by(top, vtop, inverse, &qhat, &rhat);
    while (qhat >= B || qhat * v[n - 2] > rhat * B + u[j + n - 2]) {
      --qhat;
      rhat += v[n - 1];
      if (rhat >= B) break;
    }
    // u[j..j+n] -= qhat * v.
    // The products are independent; only the borrow (0 to 2) runs along.
    int64_t borrow = 0;
    uint64_t mc = 0;
    for (int i = 0; i < n; ++i) {
      uint64_t p = qhat * v[i];
      int64_t t = static_cast<int64_t>(u[i + j]) - static_cast<int64_t>(p % B) - static_cast<int64_t>(mc) - borrow;
      mc = p / B;
      borrow = 0;
      while (t < 0) {
        t += static_cast<int64_t>(B);
        ++borrow;
      }
      u[i + j] = static_cast<uint32_t>(t);
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
  int la = 0, lb = 0;  // lowest non-zero limbs
  while (la < na && a.limb[la] == 0) ++la;
  while (lb < nb && b.limb[lb] == 0) ++lb;
  uint32_t p[2 * CMN_DEC_LIMBS + 1] = {};
  // Column by column: at most nine products below 10^18 and a carry below
  // 2^35 fit 64 bits, so each column is reduced once.
  uint64_t carry = 0;
  for (int k = la + lb; k < na + nb; ++k) {
    uint64_t sum = carry;
    int i0 = k - (nb - 1) > la ? k - (nb - 1) : la;
    int i1 = k - lb < na - 1 ? k - lb : na - 1;
    for (int i = i0; i <= i1; ++i) sum += static_cast<uint64_t>(a.limb[i]) * b.limb[k - i];
    p[k] = static_cast<uint32_t>(sum % B);
    carry = sum / B;
  }
  // Cut the 38 lowest digits: four limbs (36 digits) and two more.
  for (int k = 4 + CMN_DEC_LIMBS; k < 2 * CMN_DEC_LIMBS; ++k)
    if (p[k] != 0) return CMN_DEC_OVERFLOW;
  cmn_dec_num out;
  for (int k = 0; k < CMN_DEC_LIMBS; ++k) out.limb[k] = p[k + 4] / 100 + (p[k + 5] % 100) * 10000000u;
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
  for (int i = 0; i <= CMN_DEC_LIMBS; ++i) {
    uint32_t low = i < CMN_DEC_LIMBS ? a.limb[i] % 10000000u * 100 : 0;
    uint32_t high = i > 0 ? a.limb[i - 1] / 10000000u : 0;
    u[i + 4] = low + high;
  }
  // Low zero limbs of the divisor: floor(u / (v B^z)) = floor(floor(u / B^z) / v).
  int z = 0;
  while (b.limb[z] == 0) ++z;
  const uint32_t* v = b.limb + z;
  int n = nb - z;
  uint32_t* w = u + z;
  int m = used_limbs(u, kU) - z;
  uint32_t q[kU + 1] = {};
  if (m >= n) {
    if (n == 1) {
      uint64_t rem = 0, quot = 0;
      const double inverse = 1.0 / static_cast<double>(v[0]);
      for (int k = m - 1; k >= 0; --k) {
        quotient_by(rem * B + w[k], v[0], inverse, &quot, &rem);
        q[k] = static_cast<uint32_t>(quot);
      }
    } else {
      divide_limbs(w, m, v, n, q);
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
