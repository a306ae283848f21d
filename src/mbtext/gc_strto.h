// Text to number: reading integers and doubles written in a locale's
// conventions (its digits, signs, thousands and decimal separators, or the
// monetary ones), the token reader behind both, the state machine of the
// double reader and the reader of grouping texts ("3;2;0").
//
// Threads: safe from several threads; the only shared state a call writes is
// the last-status word of the locale it is given (a null locale is the
// calling thread's own default).
#pragma once

#include <cstdint>

#include "orb_api.h"
#include "mbtext/gc_types.h"

// Parser flags.
inline constexpr uint32_t GC_NUM_ITEMFLAG = 0x01;  // read the territory's items
inline constexpr uint32_t GC_NUM_MAP = 0x10;       // map national digits first
inline constexpr uint32_t GC_NUM_MONETARY = 0x20;  // monetary separators and signs
inline constexpr uint32_t GC_NUM_UNSIGNED = 0x80;  // GCStringToLong: unsigned value

// Token codes of the token reader.
inline constexpr int GC_TOK_STR1 = 40;   // first comparison string (plus sign)
inline constexpr int GC_TOK_STR2 = 41;   // second comparison string (minus sign)
inline constexpr int GC_TOK_CHAR1 = 42;  // first comparison character (thousands)
inline constexpr int GC_TOK_CHAR2 = 43;  // second comparison character (decimal)
inline constexpr int GC_TOK_SPACE = 44;  // a run of white space
inline constexpr int GC_TOK_END = -1;    // anything else; not consumed

// Digit value tables (-1 for bytes that are no digit or letter).
extern const int32_t (&GCAsciiToNum)[256];
extern const int32_t (&GCEbcdicToNum)[256];
extern const int32_t (&GCEbcdic930ToNum)[256];

// Reads one token of text (remaining bytes). *next receives the position after
// the token (the text itself for GC_TOK_END). cmpc1/cmpc2: comparison
// characters or null; cmps1/cmps2: comparison strings (null or empty = none).
// flags: 0 or GC_NUM_MAP.
ORB_API int GCStrGetDigit(GCLocale* locale, const char* text, int32_t remaining, const char** next, const char* cmpc1,
                  const char* cmpc2, const char* cmps1, const char* cmps2, int ascii, uint32_t flags);

// The same over UCS-2 units (digits and letters below 256 only; comparison
// values 0 = none) and over packed 32-bit character values.
ORB_API int GCStrGetDigitU(GCLocale* locale, const GCUChar* text, int32_t remaining, const GCUChar** next, GCUChar cmp1,
                   GCUChar cmp2, const GCUChar* cmps1, const GCUChar* cmps2, uint32_t flags);
ORB_API int GCStrGetDigitW(GCLocale* locale, const uint32_t* text, int32_t remaining, const uint32_t** next, uint32_t cmp1,
                   uint32_t cmp2, const uint32_t* cmps1, const uint32_t* cmps2, int ascii, uint32_t flags);

// The same in a shift-state code page: state is the shift state at text
// (0 single-byte, 1 double-byte); *outState receives the state after the
// token. Shift-code runs are stepped over and set the state.
ORB_API int GCStrGetDigitEx(GCLocale* locale, const char* text, int state, int32_t remaining, const char** next,
                    int* outState, const char* cmpc1, const char* cmpc2, const char* cmps1, const char* cmps2,
                    int ascii, uint32_t flags);

// Integer in base 0 (prefix decides: 0x hexadecimal, 0 octal, else decimal) or
// 2-36. Overflow is clamped to the type's limit and reported as status 2 with
// the clamped value. Status 50 for a bad base and 2 for bad flags, value 0.
// The unsigned form (GC_NUM_UNSIGNED) gives values 0 to 4294967295.
ORB_API long GCStringToLong(GCLocale* locale, const char* text, int32_t length, const char** end, int base,
                    uint32_t flags);

// Double, correctly rounded. Status 2 for bad flags (0.0, end not written).
ORB_API double GCStringToDouble(GCLocale* locale, const char* text, int32_t length, const char** end, uint32_t flags);

// One step of the double reader: the next state (0-8) or -1 when the token is
// not accepted. The arithmetic accumulates an approximate value in *value.
ORB_API int GCStrDoubleNextState(int state, int token, double* value, int* sign, int* fexp, int* esign, int* exp);

// Next group size of a grouping text: *remaining counts the bytes left and
// *next is where to continue (null after the last group). -1 for a bad
// character or an empty text.
ORB_API int GCStrGroupingSize(GCLocale* locale, const char* text, int32_t* remaining, const char** next);
// The same over packed 32-bit values, and over UCS-2 units (always ';' and
// '0'-'9').
ORB_API int GCStrGroupingSizeW(GCLocale* locale, const uint32_t* text, int32_t* remaining, const uint32_t** next);
ORB_API int GCStrGroupingSizeU(GCLocale* locale, const GCUChar* text, int32_t* remaining, const GCUChar** next);
