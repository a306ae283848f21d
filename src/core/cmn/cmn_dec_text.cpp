// Decimal texts to the internal number form and back.
//
// Digits are read up to nine at a time straight into the limbs and written
// two at a time.
#include <cstring>

#include "core/cmn/cmn_dec_int.h"

namespace {

constexpr int kImage = 81;

// Eight ASCII digits, the first most significant.
uint32_t parse8(const char* s) {
  uint64_t v;
  std::memcpy(&v, s, 8);
  v -= 0x3030303030303030ULL;
  v = v * 10 + (v >> 8);
  v = (((v & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
       (((v >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >>
      32;
  return static_cast<uint32_t>(v);
}

constexpr char kPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

void put9(char* out, uint32_t v) {
  out[0] = static_cast<char>('0' + v / 100000000);
  v %= 100000000;
  uint32_t hi = v / 10000, lo = v % 10000;
  std::memcpy(out + 1, kPairs + 2 * (hi / 100), 2);
  std::memcpy(out + 3, kPairs + 2 * (hi % 100), 2);
  std::memcpy(out + 5, kPairs + 2 * (lo / 100), 2);
  std::memcpy(out + 7, kPairs + 2 * (lo % 100), 2);
}

constexpr uint32_t kPow10[10] = {1u,      10u,      100u,      1000u,      10000u,
                                 100000u, 1000000u, 10000000u, 100000000u, 1000000000u};

// Up to nine digits as a number; bytes from floor on may be read.
uint32_t parse_upto9(const char* s, long count, const char* floor) {
  if (count >= 8) {
    uint32_t v = parse8(s);
    return count == 9 ? v * 10 + static_cast<uint32_t>(s[8] - '0') : v;
  }
  if (count > 0 && s + count - 8 >= floor) {
    // The eight bytes that end with the last digit, those before s read as
    // '0'.
    uint64_t v;
    std::memcpy(&v, s + count - 8, 8);
    uint64_t keep = ~0ULL << (8 * (8 - count));
    v = (v & keep) | (0x3030303030303030ULL & ~keep);
    char bytes[8];
    std::memcpy(bytes, &v, 8);
    return parse8(bytes);
  }
  uint32_t v = 0;
  for (long k = 0; k < count; ++k) v = v * 10 + static_cast<uint32_t>(s[k] - '0');
  return v;
}

// Adds the digits [s, s + len) into the limbs, the last digit having power
// p_last of N; digits outside the powers 0..75 must be zeros.
bool add_run(cmn_dec_num* n, const char* s, long len, long p_last, const char* floor) {
  if (len == 0) return true;
  long p_first = p_last + len - 1;
  long lo = p_last < 0 ? 0 : p_last;
  long hi = p_first > 75 ? 75 : p_first;
  if (p_first > 75 || p_last < 0) {
    for (long k = 0; k < len; ++k) {
      long power = p_first - k;
      if ((power > 75 || power < 0) && s[k] != '0') return false;
    }
  }
  for (long i = lo / 9; lo <= hi && i <= hi / 9; ++i) {
    long plo = lo > 9 * i ? lo : 9 * i;
    long phi = hi < 9 * i + 8 ? hi : 9 * i + 8;
    n->limb[i] += parse_upto9(s + (p_first - phi), phi - plo + 1, floor) * kPow10[plo - 9 * i];
  }
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
  if (*p == 'E' || *p == 'e') {
    ++p;
    bool neg_exp = false;
    if (*p == '-' || *p == '+') neg_exp = *p++ == '-';
    if (!cmn_dec_is_digit(*p)) return CMN_DEC_NOT_A_NUMBER;
    for (; cmn_dec_is_digit(*p); ++p)
      if (e < 100000) e = e * 10 + (*p - '0');
    if (neg_exp) e = -e;
  }
  if (*p != '\0') return CMN_DEC_NOT_A_NUMBER;

  std::memset(n->limb, 0, sizeof n->limb);
  // The last integer digit has power 38 + e of N.
  if (!add_run(n, int_begin, int_len, 38 + e, text) || !add_run(n, frac_begin, frac_len, 38 + e - frac_len, text))
    return CMN_DEC_OVERFLOW;
  n->negative = negative && !cmn_dec_num_is_zero(*n);
  return 0;
}

void cmn_dec_num_format(const cmn_dec_num& n, cmn_ty_decimal* d) {
  int top = CMN_DEC_LIMBS - 1, bottom = 0;
  while (top >= 0 && n.limb[top] == 0) --top;
  if (top < 0) {
    std::memcpy(d->text, "0.0", 4);
    d->precision = 2;
    d->scale = 1;
    return;
  }
  while (n.limb[bottom] == 0) ++bottom;
  // Digits of limbs top..bottom: buf[k] has power p0 - k.
  char buf[kImage + 1];
  long len = 9L * (top - bottom + 1);
  for (int i = top, k = 0; i >= bottom; --i, k += 9) put9(buf + k, n.limb[i]);
  long p0 = 9L * top + 8;
  long k0 = 0;
  while (buf[k0] == '0') ++k0;
  long top_power = p0 - k0;
  long low_nonzero = p0 - (len - 1);
  while (buf[p0 - low_nonzero] == '0') ++low_nonzero;
  // At most 38 digits from the first significant one (or from the point).
  long first = top_power >= 38 ? top_power : 37;
  long last = first - 37;
  if (last < low_nonzero) last = low_nonzero;
  char* out = d->text;
  if (n.negative) *out++ = '-';
  long int_digits = 0;
  if (top_power >= 38) {
    long stop = last > 38 ? last : 38;
    int_digits = top_power - stop + 1;
    std::memcpy(out, buf + k0, static_cast<size_t>(int_digits));
    out += int_digits;
    // Cut integer digits below the 38th significant one read as zeros.
    for (long pw = stop - 1; pw >= 38; --pw) {
      *out++ = '0';
      ++int_digits;
    }
  }
  long scale = 0;
  if (last < 38) {
    *out++ = '.';
    // Powers 37 down to last; those above p0 are leading fraction zeros
    // (last <= p0 always).
    long high = 37;
    if (p0 < 37) {
      std::memset(out, '0', static_cast<size_t>(37 - p0));
      out += 37 - p0;
      high = p0;
    }
    std::memcpy(out, buf + (p0 - high), static_cast<size_t>(high - last + 1));
    out += high - last + 1;
    scale = 38 - last;
    while (scale > 0 && out[-1] == '0') {
      --out;
      --scale;
    }
    if (scale == 0) --out;
  }
  *out = '\0';
  d->precision = int_digits + scale;
  d->scale = scale;
}
