// Floating-point conversion: the text of printf 'e', 'f' and 'g' conversions
// of a double or a long double, in the digits, signs, point and exponent
// letters of an ASCII-based or an EBCDIC-based code page.
//
// The digits come from the C library's formatter (C locale): 40 fraction
// digits for values of 1 and above, 41 significant digits for smaller ones.
// They are then rounded again, half up, in decimal (0.125 to two fraction
// digits gives 0.13). Exponents carry a sign and at least three digits
// (1.23e+004). The 'g' fixed form counts its precision in fraction digits and
// always drops trailing fraction zeros.
//
// Threads: safe from several threads; no shared state.
#pragma once

#include <cstddef>

#include "orb_api.h"

// Digit buffer: holds the fraction-digit text of the largest long double
// (4933 integer digits and 40 fraction digits) and the 41 significant digits
// of the smallest one behind its leading zeros.
inline constexpr int GC_FP_DIGBUF = 5120;
// Largest precision the converters accept.
inline constexpr int GC_FP_MAXPREC = 500;

// A value taken apart for conversion.
//   sign:    1 when the value is negative (negative zero included), else 0
//   decpt:   decimal-point position: the number of integer digits for values
//            of 1 and above; 0 for values from 0.0001 up to 1; minus the count
//            of zeros after the point for smaller values; 1 for zero
//   digits:  ASCII digits; for values of 1 and above the integer digits
//            followed by the fraction digits, otherwise the fraction digits
//            (with their leading zeros)
//   special: 0 finite, 1 infinity, 2 not a number
struct GCFpValue {
  int sign;
  int decpt;
  int special;
  int ndigits;
  char digits[GC_FP_DIGBUF];
};

// Takes a value apart.
ORB_API void GCfltout(double value, GCFpValue* out);
ORB_API void GCqfltout(const long double* value, GCFpValue* out);

// Rounds the digit string of a decomposed value (from its first digit) half up
// to n digits into out (ASCII digits, NUL-terminated). decpt and sign receive
// the value's point position (raised by one when the rounding carried into a
// new leading digit, in which case n + 1 digits are written) and sign.
// Returns the digits written, or -1 when n is negative or out is too small.
ORB_API int GCfpcvt(const GCFpValue* value, int n, int* decpt, int* sign, char* out, int outsize);

// Digits of the exponent form: precision + 1 significant digits (ASCII);
// decpt is the point position of those digits (the exponent plus one).
// Returns the digit count, or -1 (non-finite value, bad precision, no room).
ORB_API int GCeconvert(double value, int precision, int* decpt, int* sign, char* out, int outsize, int ascii);
ORB_API int GCqeconvert(const long double* value, int precision, int* decpt, int* sign, char* out, int outsize,
                int ascii);
// Digits of the fixed form: every integer digit and precision fraction digits.
ORB_API int GCfconvert(double value, int precision, int* decpt, int* sign, char* out, int outsize, int ascii);
ORB_API int GCqfconvert(const long double* value, int precision, int* decpt, int* sign, char* out, int outsize,
                int ascii);

// The 'g' conversion into out (code page form). Returns the length or -1.
ORB_API int GCgconvert(double value, int precision, char* out, int outsize, int capital, int ascii);
ORB_API int GCqgconvert(const long double* value, int precision, char* out, int outsize, int capital, int ascii);

// Whole conversion by letter ('e', 'f', 'g'; GCCldcvt also takes 'G' as 'g'
// with a capital exponent letter) into out, NUL-terminated. Infinity and NaN
// give "inf" and "nan" ("INF", "NAN" with capital), with '-' when negative.
// Returns the text length, or -1 when the letter is unknown, the precision is
// negative or above GC_FP_MAXPREC, or the text does not fit in outsize bytes
// (nothing is then written beyond out[0], which is set to NUL when outsize > 0).
ORB_API int GCCfltcvt(const double* value, char* out, int outsize, int letter, int precision, int capital, int ascii);
ORB_API int GCCldcvt(const long double* value, char* out, int outsize, int letter, int precision, int capital,
             int ascii);

// In place: ASCII digits, '.', '+' and '-' become the code page's characters.
ORB_API void GCGetStrDigits(char* text, int ascii);
// Puts the code page's point before the exponent letter, or at the end, when
// the text has no point. outsize bounds the text with its NUL; returns 0, or
// -1 when there is no room (the text is left unchanged).
ORB_API int GCForcdecpt(char* text, int outsize, int ascii);
// Removes the zeros that end the fraction (and a point left bare) when the
// text has a point; an exponent part moves up.
ORB_API void GCCropzeros(char* text, int ascii);
