// Decimal numbers: type 766, carried as text with a digit count.
//
// Arithmetic is exact to 38 digits on each side of the point; products and
// quotients are cut (not rounded) below the 38th fraction digit. Results are
// in normal form: optional '-', no leading zeros (a value below 1 starts with
// the point), no trailing fraction zeros, no trailing point, at most 38
// significant digits; zero is "0.0" (precision 2, scale 1). Operand texts may
// also carry a leading '+', leading zeros and an exponent mark ('E' or 'e').
//
// Every operation returns 0 or an alert code it has pushed: 0x1000a6 when an
// operand or the result does not fit 38 digits either side of the point,
// 0x1000a7 on division by zero, 0x100064 when an operand is no number. On
// failure the result is not written. The result may be one of the operands.
//
// Threads: the operations work on their arguments, but failures push alerts on the
// current stack (cmn_alrt.h), which is one thread at a time.
#pragma once

#include "orb_api.h"

struct cmn_ty_decimal {
  char text[48];
  long precision;  // digits in the text
  long scale;      // digits after the point
};

constexpr long CMN_DEC_NOT_A_NUMBER = 0x100064;
constexpr long CMN_DEC_OVERFLOW = 0x1000a6;
constexpr long CMN_DEC_DIVIDE_BY_ZERO = 0x1000a7;

ORB_API long cmn_dec_plus(const cmn_ty_decimal* a, const cmn_ty_decimal* b, cmn_ty_decimal* result);
ORB_API long cmn_dec_minus(const cmn_ty_decimal* a, const cmn_ty_decimal* b, cmn_ty_decimal* result);
ORB_API long cmn_dec_multiply(const cmn_ty_decimal* a, const cmn_ty_decimal* b,
                              cmn_ty_decimal* result);
ORB_API long cmn_dec_divide(const cmn_ty_decimal* a, const cmn_ty_decimal* b, cmn_ty_decimal* result);
// *result: -1, 0 or 1.
ORB_API long cmn_dec_comp(const cmn_ty_decimal* a, const cmn_ty_decimal* b, long* result);
// Negates in place and writes the normal form.
ORB_API long cmn_dec_unary_minus(cmn_ty_decimal* d);

// Work form: exactly 77 digit characters and a NUL. Position 0 is a guard
// digit, 1..38 the integer digits (38 the units), 39..76 the fraction digits.
// The sign is kept apart: 1 not negative, 0 negative.
constexpr int CMN_DEC_WORK_LEN = 77;
constexpr int CMN_DEC_UNITS_POS = 38;

ORB_API long cmn_dec_str_init(char* work);
ORB_API long cmn_dec_equal_str(const char* source, char* destination);
ORB_API long cmn_dec_convert_dec_to_str(const cmn_ty_decimal* d, char* work, long* sign);
ORB_API long cmn_dec_convert_str_to_dec(const char* work, long sign, cmn_ty_decimal* d);
// Magnitude sum; a carry out of the guard digit is an overflow.
ORB_API long cmn_dec_plus_str(const char* a, const char* b, char* sum);
// Magnitude difference, a >= b.
ORB_API long cmn_dec_minus_str(const char* a, const char* b, char* difference);
ORB_API long cmn_dec_comp_str(const char* a, const char* b, long* result);

// Digit tables, indexed by ten times the first digit plus the second.
extern const char table_plus[101];
extern const char table_plus_2[101];
extern const char table_minus[101];
extern const char table_minus_2[101];
extern const char table_multiply[101];
extern const char table_multiply_2[101];
