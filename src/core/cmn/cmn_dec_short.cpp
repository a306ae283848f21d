// Addition and subtraction of short plain decimal texts: no exponent and at
// most 18 digits either side of the point, so that each operand is a pair of
// 64-bit words (the integer part, the fraction scaled to 18 digits). The sum
// then has at most 19 integer and 18 fraction digits and is never cut; it
// is written in its normal form straight into the result's field. Longer
// texts are left to the digit-by-digit path.
#include "core/cmn/cmn_dec_digits.h"
#include "core/cmn/cmn_dec_int.h"

namespace {

using namespace cmn_dec_digits;

constexpr uint64_t kFracUnit = CMN_DEC_BASE;  // 10^18: one unit in fraction words

struct short_num {
  uint64_t ints;  // below 10^18
  uint64_t frac;  // the fraction times 10^18, below 10^18
  bool negative;
};

inline __attribute__((always_inline)) bool read_short(const cmn_ty_decimal* d, short_num* x) {
  const char* field = d->text;
  const char* limit = field + kField;
  const char* p = field;
  x->negative = *p == '-';
  p += *p == '-' || *p == '+';
  const char* int_begin = p;
  p = cmn_dec_skip_digits(p, limit);
  const long int_len = p - int_begin;
  const long int_end = p - field;
  long frac_len = 0;
  if (*p == '.') {
    const char* frac_begin = ++p;
    p = cmn_dec_skip_digits(p, limit);
    frac_len = p - frac_begin;
  }
  if (*p != '\0' || int_len + frac_len == 0 || int_len > kLimbDigits || frac_len > kLimbDigits) return false;
  x->ints = int_len > 0 ? run_before(field, int_end, int_len) : 0;
  x->frac = frac_len > 0 ? run_from(field, int_end + 1, frac_len) : 0;
  return true;
}

void write_zero(cmn_ty_decimal* r) {
  std::memset(r->text, 0, kField);
  std::memcpy(r->text, "0.0", 3);
  r->precision = 2;
  r->scale = 1;
}

// The normal form of a non-zero value with ints below 2 * 10^18: the field
// is cleared, then each piece is stored over the zeros the one before left.
void write_short(bool negative, uint64_t ints, uint64_t frac, cmn_ty_decimal* r) {
  char* t = r->text;
  std::memset(t, 0, kField);
  long at = 0;
  if (negative) t[at++] = '-';
  long int_len = 0;
  if (ints >= kFracUnit) {  // the 19th digit a carry made
    t[at] = '1';
    put18(t + at + 1, ints - kFracUnit);
    int_len = kLimbDigits + 1;
  } else if (ints > 0) {
    int_len = digit_count(ints);
    put_tail(t + at, ints, static_cast<int>(int_len));
  }
  at += int_len;
  long scale = 0;
  if (frac > 0) {
    t[at++] = '.';
    scale = kLimbDigits - trailing_zeros(frac);
    put_head(t + at, frac, static_cast<int>(scale));
  }
  r->precision = int_len + scale;
  r->scale = scale;
}

}  // namespace

bool cmn_dec_short_add(const cmn_ty_decimal* a_dec, const cmn_ty_decimal* b_dec, bool negate_b,
                       cmn_ty_decimal* result) {
  short_num a, b;
  if (!read_short(a_dec, &a) || !read_short(b_dec, &b)) return false;
  // A zero's sign never shows: only the magnitudes and the larger one's
  // sign decide the result.
  const bool b_negative = b.negative != negate_b;
  uint64_t ints, frac;
  bool negative;
  if (a.negative == b_negative) {
    frac = a.frac + b.frac;
    const bool carry = frac >= kFracUnit;
    frac -= carry ? kFracUnit : 0;
    ints = a.ints + b.ints + carry;
    negative = a.negative;
  } else {
    const bool a_larger = a.ints != b.ints ? a.ints > b.ints : a.frac >= b.frac;
    const short_num& big = a_larger ? a : b;
    const short_num& small = a_larger ? b : a;
    const bool borrow = big.frac < small.frac;
    frac = big.frac - small.frac + (borrow ? kFracUnit : 0);
    ints = big.ints - small.ints - borrow;
    negative = a_larger ? a.negative : b_negative;
  }
  if ((ints | frac) == 0)
    write_zero(result);
  else
    write_short(negative, ints, frac, result);
  return true;
}
