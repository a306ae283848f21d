// Digit helpers of the decimal texts (not for other modules): eight ASCII
// digits to a number and back in a few word operations, digit runs read in
// place from the 48-byte field, digit counts of limbs.
//
// Threads: plain functions on their arguments.
#pragma once

#include <cstdint>
#include <cstring>

#include "core/cmn/cmn_dec_int.h"

namespace cmn_dec_digits {

constexpr long kField = sizeof(cmn_ty_decimal::text);
constexpr uint64_t kZeros = 0x3030303030303030ULL;
constexpr uint64_t kPow10_8 = 100000000ull;
constexpr uint64_t kPow10_10 = 10000000000ull;
constexpr uint64_t kPow10_16 = 10000000000000000ull;
constexpr int kSide = CMN_DEC_SIDE_DIGITS;
constexpr int kLimbDigits = CMN_DEC_LIMB_DIGITS;

// Eight ASCII digits in a word (memory order), the first most significant.
inline uint64_t parse8_word(uint64_t v) {
  v -= kZeros;
  v = v * 10 + (v >> 8);
  v = (((v & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
       (((v >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >>
      32;
  return static_cast<uint32_t>(v);
}

inline uint64_t parse8(const char* s) {
  uint64_t v;
  std::memcpy(&v, s, 8);
  return parse8_word(v);
}

inline uint64_t parse2(const char* s) { return static_cast<uint64_t>((s[0] - '0') * 10 + (s[1] - '0')); }

inline uint64_t parse18(const char* s) { return (parse8(s) * kPow10_8 + parse8(s + 8)) * 100 + parse2(s + 16); }

// The eight ASCII digits of v < 10^8 in memory order: halves, quarters and
// digits split in parallel lanes of one word.
inline uint64_t digits8(uint64_t v) {
  uint64_t x = (v / 10000) | ((v % 10000) << 32);
  uint64_t q = ((x * 10486) >> 20) & 0x0000007F0000007FULL;  // lanes / 100
  x = q | ((x - q * 100) << 16);
  q = ((x * 103) >> 10) & 0x000F000F000F000FULL;  // lanes / 10
  x = q | ((x - q * 10) << 8);
  return x + kZeros;
}

inline void put18(char* out, uint64_t v) {
  uint64_t hi = v / kPow10_10, rest = v % kPow10_10;
  uint64_t a = digits8(hi), b = digits8(rest / 100);
  std::memcpy(out, &a, 8);
  std::memcpy(out + 8, &b, 8);
  uint64_t lo = rest % 100;
  out[16] = static_cast<char>('0' + lo / 10);
  out[17] = static_cast<char>('0' + lo % 10);
}

// Mask of the k (0..8) low bytes of a word.
inline uint64_t low_bytes(int k) { return k >= 8 ? ~0ull : (1ull << (8 * k)) - 1; }

// The last `count` (1..18) digits of the 18-digit form of v at out; the
// bytes after them up to out + 8 are written as zeros.
inline void put_tail(char* out, uint64_t v, int count) {
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
inline void put_head(char* out, uint64_t v, int count) {
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
inline uint64_t run_before(const char* field, long end, long count) {
  uint64_t v = window_value(field, end - 8, count >= 8 ? 0 : 8 - count, 8);
  if (count > 8) v += window_value(field, end - 16, count >= 16 ? 0 : 16 - count, 8) * kPow10_8;
  if (count > 16)
    v += (count > 17 ? parse2(field + end - 18) : static_cast<uint64_t>(field[end - 17] - '0')) * kPow10_16;
  return v;
}

// The first `count` (at most 18) digits from field + begin as an 18-digit
// fraction limb (missing digits read as zeros).
inline uint64_t run_from(const char* field, long begin, long count) {
  uint64_t v = window_value(field, begin, 0, count >= 8 ? 8 : count) * kPow10_10;
  if (count > 8) v += window_value(field, begin + 8, 0, count >= 16 ? 8 : count - 8) * 100;
  if (count > 16) v += static_cast<uint64_t>(field[begin + 16] - '0') * 10 + (count > 17 ? field[begin + 17] - '0' : 0);
  return v;
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
inline int digit_count(uint64_t v) {
  int t = ((64 - __builtin_clzll(v)) * 1233) >> 12;  // log10 from log2, at most one too many
  return t + 1 - (v < kPow10[t]);
}

// Decimal zeros that end v > 0.
inline int trailing_zeros(uint64_t v) {
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

}  // namespace cmn_dec_digits
