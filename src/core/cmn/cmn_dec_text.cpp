// Decimal texts to the internal number form and back.
//
// A plain text (no exponent, at most 38 digits either side of the point) is
// read straight from its field eight digits at a time into the limbs; a text
// with an exponent or with longer digit runs is placed digit by digit in a
// digit image first. The normal form is written limb by limb, eight digits
// at a time, its length worked out from the limbs' values.
#include <cstring>

#include "core/cmn/cmn_dec_digits.h"
#include "core/cmn/cmn_dec_int.h"

namespace {

using namespace cmn_dec_digits;

// Limbs from the integer image (38 digits, units last) and the fraction
// image (38 digits); the lengths say which limbs can be non-zero.
void read_limbs(const char* int_image, long int_len, const char* frac_image, long frac_len, cmn_dec_num* n) {
  n->limb[CMN_DEC_UNITS_LIMB] = parse18(int_image + 2 + kLimbDigits);
  n->limb[CMN_DEC_UNITS_LIMB - 1] = parse18(frac_image);
  if (int_len > kLimbDigits) {
    n->limb[CMN_DEC_UNITS_LIMB + 1] = parse18(int_image + 2);
    n->limb[CMN_DEC_UNITS_LIMB + 2] = parse2(int_image);
  } else {
    n->limb[CMN_DEC_UNITS_LIMB + 1] = n->limb[CMN_DEC_UNITS_LIMB + 2] = 0;
  }
  if (frac_len > kLimbDigits) {
    n->limb[CMN_DEC_UNITS_LIMB - 2] = parse18(frac_image + kLimbDigits);
    n->limb[CMN_DEC_UNITS_LIMB - 3] = parse2(frac_image + 2 * kLimbDigits) * kPow10_16;
  } else {
    n->limb[CMN_DEC_UNITS_LIMB - 2] = n->limb[CMN_DEC_UNITS_LIMB - 3] = 0;
  }
}


// Plain digit runs of at most 38 digits each, read in place; returns
// whether any digit is non-zero.
bool place_plain(const char* field, const char* int_begin, long int_len, const char* frac_begin, long frac_len,
                 cmn_dec_num* n) {
  constexpr long L = kLimbDigits;
  const long e = (int_begin - field) + int_len;  // the integer digits' end
  const long f = frac_begin - field;
  // The limbs are made in locals and tested before they are stored: reading
  // them back at once would wait for the stores.
  uint64_t units = int_len > 0 ? run_before(field, e, int_len < L ? int_len : L) : 0;
  uint64_t ints = int_len > L ? run_before(field, e - L, int_len < 2 * L ? int_len - L : L) : 0;
  uint64_t top = int_len > 2 * L ? run_before(field, e - 2 * L, int_len - 2 * L) : 0;
  uint64_t tenths = frac_len > 0 ? run_from(field, f, frac_len < L ? frac_len : L) : 0;
  uint64_t fracs = frac_len > L ? run_from(field, f + L, frac_len < 2 * L ? frac_len - L : L) : 0;
  uint64_t last = frac_len > 2 * L ? run_from(field, f + 2 * L, frac_len - 2 * L) : 0;
  uint64_t* l = n->limb;
  l[CMN_DEC_UNITS_LIMB + 2] = top;
  l[CMN_DEC_UNITS_LIMB + 1] = ints;
  l[CMN_DEC_UNITS_LIMB] = units;
  l[CMN_DEC_UNITS_LIMB - 1] = tenths;
  l[CMN_DEC_UNITS_LIMB - 2] = fracs;
  l[CMN_DEC_UNITS_LIMB - 3] = last;
  return (top | ints | units | tenths | fracs | last) != 0;
}

// Any digit runs with an exponent: each digit whose power lies within the
// image is placed, any other must be a zero.
bool place_general(const char* int_begin, long int_len, const char* frac_begin, long frac_len, long e,
                   cmn_dec_num* n) {
  char image[CMN_DEC_IMAGE_LEN];
  std::memset(image, '0', sizeof image);
  auto place = [&](const char* s, long len, long last_power) {
    for (long k = 0; k < len; ++k) {
      long power = last_power + (len - 1 - k);
      if (power >= -kSide && power < kSide)
        image[kSide - 1 - power] = s[k];
      else if (s[k] != '0')
        return false;
    }
    return true;
  };
  if (!place(int_begin, int_len, e) || !place(frac_begin, frac_len, e - frac_len)) return false;
  cmn_dec_num_from_image(image, n);
  return true;
}

}  // namespace

long cmn_dec_num_parse(const char* text, const char* limit, cmn_dec_num* n) {
  const char* p = text;
  bool negative = false;
  if (*p == '-' || *p == '+') negative = *p++ == '-';
  const char* int_begin = p;
  p = cmn_dec_skip_digits(p, limit);
  const char* int_end = p;
  const char* frac_begin = p;
  const char* frac_end = p;
  if (*p == '.') {
    frac_begin = ++p;
    p = cmn_dec_skip_digits(p, limit);
    frac_end = p;
  }
  long int_len = int_end - int_begin, frac_len = frac_end - frac_begin;
  if (int_len + frac_len == 0) return CMN_DEC_NOT_A_NUMBER;
  long e = 0;
  bool exponent = *p == 'E' || *p == 'e';
  if (exponent) {
    ++p;
    bool neg_exp = false;
    if (*p == '-' || *p == '+') neg_exp = *p++ == '-';
    if (!cmn_dec_is_digit(*p)) return CMN_DEC_NOT_A_NUMBER;
    for (; cmn_dec_is_digit(*p); ++p)
      if (e < 100000) e = e * 10 + (*p - '0');
    if (neg_exp) e = -e;
  }
  if (*p != '\0') return CMN_DEC_NOT_A_NUMBER;

  bool nonzero;
  if (!exponent && int_len <= kSide && frac_len <= kSide && limit - text == kField) {
    nonzero = place_plain(text, int_begin, int_len, frac_begin, frac_len, n);
  } else {
    if (!place_general(int_begin, int_len, frac_begin, frac_len, e, n)) return CMN_DEC_OVERFLOW;
    nonzero = !cmn_dec_num_is_zero(*n);
  }
  n->negative = negative && nonzero;
  return 0;
}

void cmn_dec_num_from_image(const char* image, cmn_dec_num* n) {
  read_limbs(image, kSide, image + kSide, kSide, n);
}

void cmn_dec_num_to_image(const cmn_dec_num& n, char* image) {
  // Limb k's 18 digits start at (5 - k) * 18 - 16 of the image.
  char all[CMN_DEC_LIMBS * kLimbDigits];
  for (int k = 0; k < CMN_DEC_LIMBS; ++k) put18(all + (CMN_DEC_LIMBS - 1 - k) * kLimbDigits, n.limb[k]);
  std::memcpy(image, all + kLimbDigits - 2, CMN_DEC_IMAGE_LEN);
}

void cmn_dec_num_format(const cmn_dec_num& n, cmn_ty_decimal* d) {
  // Written straight into the field with stores only, front to back: the
  // field is cleared first, and each piece's zero bytes past its digits
  // are either overwritten by the next piece or are the zeros after the
  // NUL (nothing written is read back).
  char* t = d->text;
  std::memset(t, 0, kField);
  long at = 0;
  if (n.negative) t[at++] = '-';
  const long int_begin = at;
  int top = CMN_DEC_LIMBS - 1;
  while (top >= CMN_DEC_UNITS_LIMB && n.limb[top] == 0) --top;
  if (top >= CMN_DEC_UNITS_LIMB) {
    const int lead = digit_count(n.limb[top]);
    put_tail(t + at, n.limb[top], lead);
    at += lead;
    for (int k = top - 1; k >= CMN_DEC_UNITS_LIMB; --k, at += kLimbDigits) put18(t + at, n.limb[k]);
  }
  const long int_len = at - int_begin;
  // The fraction limbs, cut so that at most 38 digits are significant.
  uint64_t frac[CMN_DEC_UNITS_LIMB];
  for (int k = 0; k < CMN_DEC_UNITS_LIMB; ++k) frac[k] = n.limb[CMN_DEC_UNITS_LIMB - 1 - k];
  if (int_len > 0) {
    long keep = kSide - int_len;  // fraction digits left
    for (int k = 0; k < CMN_DEC_UNITS_LIMB; ++k, keep -= kLimbDigits) {
      if (keep <= 0)
        frac[k] = 0;
      else if (keep < kLimbDigits)
        frac[k] -= frac[k] % kPow10[kLimbDigits - keep];
    }
  }
  int last = CMN_DEC_UNITS_LIMB - 1;
  while (last >= 0 && frac[last] == 0) --last;
  long scale = 0;
  if (last >= 0) {
    t[at++] = '.';
    for (int k = 0; k < last; ++k, at += kLimbDigits) put18(t + at, frac[k]);
    const int digits = kLimbDigits - trailing_zeros(frac[last]);
    put_head(t + at, frac[last], digits);
    scale = last * kLimbDigits + digits;
  } else if (int_len == 0) {
    std::memcpy(t + at, "0.0", 3);
    d->precision = 2;  // zero: precision 2, scale 1
    d->scale = 1;
    return;
  }
  d->precision = int_len + scale;
  d->scale = scale;
}
