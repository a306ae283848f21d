// Decimal texts to the internal number form and back.
//
// A plain text (no exponent, at most 38 digits either side of the point) is
// read straight from its field eight digits at a time into the limbs; a text
// with an exponent or with longer digit runs is placed digit by digit in a
// digit image first. The normal form is written limb by limb, eight digits
// at a time, its length worked out from the limbs' values.
#include <cstring>

#include "core/cmn/cmn_dec_int.h"

namespace {

constexpr long kField = sizeof(cmn_ty_decimal::text);
constexpr uint64_t kZeros = 0x3030303030303030ULL;
constexpr uint64_t kPow10_8 = 100000000ull;
constexpr uint64_t kPow10_10 = 10000000000ull;
constexpr uint64_t kPow10_16 = 10000000000000000ull;
constexpr int kSide = CMN_DEC_SIDE_DIGITS;
constexpr int kLimbDigits = CMN_DEC_LIMB_DIGITS;

// Eight ASCII digits in a word (memory order), the first most significant.
uint64_t parse8_word(uint64_t v) {
  v -= kZeros;
  v = v * 10 + (v >> 8);
  v = (((v & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
       (((v >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >>
      32;
  return static_cast<uint32_t>(v);
}

uint64_t parse8(const char* s) {
  uint64_t v;
  std::memcpy(&v, s, 8);
  return parse8_word(v);
}

uint64_t parse2(const char* s) { return static_cast<uint64_t>((s[0] - '0') * 10 + (s[1] - '0')); }

uint64_t parse18(const char* s) { return (parse8(s) * kPow10_8 + parse8(s + 8)) * 100 + parse2(s + 16); }

// The eight ASCII digits of v < 10^8 in memory order: halves, quarters and
// digits split in parallel lanes of one word.
uint64_t digits8(uint64_t v) {
  uint64_t x = (v / 10000) | ((v % 10000) << 32);
  uint64_t q = ((x * 10486) >> 20) & 0x0000007F0000007FULL;  // lanes / 100
  x = q | ((x - q * 100) << 16);
  q = ((x * 103) >> 10) & 0x000F000F000F000FULL;  // lanes / 10
  x = q | ((x - q * 10) << 8);
  return x + kZeros;
}

void put18(char* out, uint64_t v) {
  uint64_t hi = v / kPow10_10, rest = v % kPow10_10;
  uint64_t a = digits8(hi), b = digits8(rest / 100);
  std::memcpy(out, &a, 8);
  std::memcpy(out + 8, &b, 8);
  uint64_t lo = rest % 100;
  out[16] = static_cast<char>('0' + lo / 10);
  out[17] = static_cast<char>('0' + lo % 10);
}

// Mask of the k (0..8) low bytes of a word.
uint64_t low_bytes(int k) { return k >= 8 ? ~0ull : (1ull << (8 * k)) - 1; }

// The last `count` (1..18) digits of the 18-digit form of v at out; the
// bytes after them up to out + 8 are written as zeros.
void put_tail(char* out, uint64_t v, int count) {
  const uint64_t w0 = digits8(v / kPow10_16), w1 = digits8(v / kPow10_8 % kPow10_8), w2 = digits8(v % kPow10_8);
  // The 24-digit form w0 w1 w2: the word holding the first digit wanted
  // goes first, moved down to out; the later words overwrite its zeros.
  if (count <= 8) {
    const uint64_t w = w2 >> (8 * (8 - count));
    std::memcpy(out, &w, 8);
    return;
  }
  if (count <= 16) {
    const uint64_t w = w1 >> (8 * (16 - count));
    std::memcpy(out, &w, 8);
  } else {
    const uint64_t w = w0 >> (8 * (24 - count));
    std::memcpy(out, &w, 8);
    std::memcpy(out + count - 16, &w1, 8);
  }
  std::memcpy(out + count - 8, &w2, 8);
}

// The first `count` (1..18) digits of the 18-digit form of v at out; the
// bytes after them up to the next multiple of eight (or out + 18) are
// written as zeros.
void put_head(char* out, uint64_t v, int count) {
  const uint64_t hi = v / kPow10_10, rest = v % kPow10_10;
  const uint64_t a = digits8(hi) & low_bytes(count);
  std::memcpy(out, &a, 8);
  if (count <= 8) return;
  const uint64_t b = digits8(rest / 100) & low_bytes(count - 8);
  std::memcpy(out + 8, &b, 8);
  if (count <= 16) return;
  const uint64_t lo = rest % 100;
  out[16] = static_cast<char>('0' + lo / 10);
  out[17] = count > 17 ? static_cast<char>('0' + lo % 10) : '\0';
}

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


// Bytes at .. at + 7 of the field, at from -7 to kField - 1; bytes outside
// the field are left undefined (the caller masks them).
inline uint64_t field_word(const char* field, long at) {
  uint64_t w;
  if (at < 0) {
    std::memcpy(&w, field, 8);
    return w << (8 * -at);
  }
  if (at > kField - 8) {
    std::memcpy(&w, field + kField - 8, 8);
    return w >> (8 * (at - (kField - 8)));
  }
  std::memcpy(&w, field + at, 8);
  return w;
}

// Value of the digits at bytes lo .. hi - 1 of the window at .. at + 7,
// the others read as zeros (0 <= lo < hi <= 8).
inline uint64_t window_value(const char* field, long at, long lo, long hi) {
  uint64_t keep = (hi >= 8 ? ~0ULL : (1ULL << (8 * hi)) - 1) & ~((1ULL << (8 * lo)) - 1);
  return parse8_word((field_word(field, at) & keep) | (kZeros & ~keep));
}

// The last `count` (at most 18) digits before field + end as a number.
uint64_t run_before(const char* field, long end, long count) {
  uint64_t v = window_value(field, end - 8, count >= 8 ? 0 : 8 - count, 8);
  if (count > 8) v += window_value(field, end - 16, count >= 16 ? 0 : 16 - count, 8) * kPow10_8;
  if (count > 16)
    v += (count > 17 ? parse2(field + end - 18) : static_cast<uint64_t>(field[end - 17] - '0')) * kPow10_16;
  return v;
}

// The first `count` (at most 18) digits from field + begin as an 18-digit
// fraction limb (missing digits read as zeros).
uint64_t run_from(const char* field, long begin, long count) {
  uint64_t v = window_value(field, begin, 0, count >= 8 ? 8 : count) * kPow10_10;
  if (count > 8) v += window_value(field, begin + 8, 0, count >= 16 ? 8 : count - 8) * 100;
  if (count > 16) v += static_cast<uint64_t>(field[begin + 16] - '0') * 10 + (count > 17 ? field[begin + 17] - '0' : 0);
  return v;
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

constexpr uint64_t kPow10[20] = {1ull,
                                 10ull,
                                 100ull,
                                 1000ull,
                                 10000ull,
                                 100000ull,
                                 1000000ull,
                                 10000000ull,
                                 100000000ull,
                                 1000000000ull,
                                 10000000000ull,
                                 100000000000ull,
                                 1000000000000ull,
                                 10000000000000ull,
                                 100000000000000ull,
                                 1000000000000000ull,
                                 10000000000000000ull,
                                 100000000000000000ull,
                                 1000000000000000000ull,
                                 10000000000000000000ull};

// Decimal digits of v > 0.
int digit_count(uint64_t v) {
  int t = ((64 - __builtin_clzll(v)) * 1233) >> 12;  // log10 from log2, at most one too many
  return t + 1 - (v < kPow10[t]);
}

// Decimal zeros that end v > 0.
int trailing_zeros(uint64_t v) {
  int z = 0;
  if (v % kPow10_16 == 0) {
    v /= kPow10_16;
    z += 16;
  }
  if (v % kPow10_8 == 0) {
    v /= kPow10_8;
    z += 8;
  }
  if (v % 10000 == 0) {
    v /= 10000;
    z += 4;
  }
  if (v % 100 == 0) {
    v /= 100;
    z += 2;
  }
  return z + (v % 10 == 0);
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
