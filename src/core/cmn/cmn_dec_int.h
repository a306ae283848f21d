// Internal number form of the decimal operations (not for other modules).
//
// A magnitude N held in six base 10^18 limbs, least significant first,
// meaning the value N / 10^54: the limbs line up with the point, so limb 3
// holds the units and the 17 integer digits above them, limb 2 the first 18
// fraction digits. Valid operands and results have at most 38 digits either
// side of the point: limb 5 stays below 100 and limb 0 is a multiple of
// 10^16.
//
// Threads: plain functions on their arguments; safe from several threads.
#pragma once

#include <cstdint>
#include <cstring>

#include "core/cmn/cmn_dec.h"

constexpr int CMN_DEC_LIMBS = 6;
constexpr uint64_t CMN_DEC_BASE = 1000000000000000000ull;  // 10^18
constexpr int CMN_DEC_LIMB_DIGITS = 18;
constexpr int CMN_DEC_UNITS_LIMB = 3;
// Digits kept either side of the point.
constexpr int CMN_DEC_SIDE_DIGITS = 38;
// The digit image of a number: CMN_DEC_SIDE_DIGITS integer digits, then
// CMN_DEC_SIDE_DIGITS fraction digits ('0' .. '9', no NUL); index k has the
// power 37 - k.
constexpr int CMN_DEC_IMAGE_LEN = 2 * CMN_DEC_SIDE_DIGITS;

struct cmn_dec_num {
  uint64_t limb[CMN_DEC_LIMBS];
  bool negative;
};

// Text to number: 0, CMN_DEC_NOT_A_NUMBER or CMN_DEC_OVERFLOW (nothing
// pushed). A zero magnitude is never negative. Bytes from text up to limit
// may be read (the text's field), also beyond its NUL; limit - text is at
// most sizeof cmn_ty_decimal::text.
long cmn_dec_num_parse(const char* text, const char* limit, cmn_dec_num* n);
inline long cmn_dec_num_parse(const cmn_ty_decimal* d, cmn_dec_num* n) {
  return cmn_dec_num_parse(d->text, d->text + sizeof d->text, n);
}
// Number (valid as above) to its normal form; the text field is written
// whole (zeros after the NUL).
void cmn_dec_num_format(const cmn_dec_num& n, cmn_ty_decimal* d);
// The digit image and back (the sign is left alone).
void cmn_dec_num_from_image(const char* image, cmn_dec_num* n);
void cmn_dec_num_to_image(const cmn_dec_num& n, char* image);

bool cmn_dec_num_is_zero(const cmn_dec_num& n);
// -1, 0, 1 by magnitude.
int cmn_dec_num_cmp_mag(const cmn_dec_num& a, const cmn_dec_num& b);

// Signed operations; 0 or CMN_DEC_OVERFLOW / CMN_DEC_DIVIDE_BY_ZERO. r may
// be one of the operands.
long cmn_dec_num_add(const cmn_dec_num& a, const cmn_dec_num& b, bool negate_b, cmn_dec_num* r);
long cmn_dec_num_mul(const cmn_dec_num& a, const cmn_dec_num& b, cmn_dec_num* r);
long cmn_dec_num_div(const cmn_dec_num& a, const cmn_dec_num& b, cmn_dec_num* r);

// a + b (or a - b) of plain texts into result; false when the texts are not
// plain or the result does not fit (the general path then decides).
bool cmn_dec_fast_add(const cmn_ty_decimal* a, const cmn_ty_decimal* b, bool negate_b, cmn_ty_decimal* result);
// The same for plain texts of at most 18 digits either side of the point
// (the sum is never cut); false for any other text.
bool cmn_dec_short_add(const cmn_ty_decimal* a, const cmn_ty_decimal* b, bool negate_b, cmn_ty_decimal* result);

inline bool cmn_dec_is_digit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

// The first character at or after p that is no digit; reads eight bytes at
// a time while they lie below limit.
inline const char* cmn_dec_skip_digits(const char* p, const char* limit) {
  while (p + 8 <= limit) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    uint64_t bad = ((v - 0x3030303030303030ULL) | (v + 0x4646464646464646ULL)) & 0x8080808080808080ULL;
    if (bad != 0) return p + (__builtin_ctzll(bad) >> 3);
    p += 8;
  }
  while (cmn_dec_is_digit(*p)) ++p;
  return p;
}
