// Numbers in the locale layer: the number-symbol cache, localising and
// delocalising number texts, rounding number texts, and the number grammars.
//
// Results live in static 256-byte buffers, valid until the next call. An
// input whose result would not fit is refused: null and a message.
//
// Threads: not safe from several threads: results live in static buffers and the
// number-symbol cache is process-wide.
#pragma once

#include "orb_api.h"

constexpr long LOC_NUM_BUF_SIZE = 256;

ORB_API long loc_st_cache_numeric_syms();
ORB_API long loc_st_num_cache_reset();

// text: a plain number ('-', digits, '.'). neg_format 0 "(n)", 1 "-n",
// 2 "- n", 3 "n-", 4 "n -", others as 1. decimals > 0 rounds to that many
// places, 0 cuts at the point, < 0 keeps the fraction.
ORB_API const char* loc_st_localize_number(const char* text, const char* dec_sym, const char* group_sym,
                                           const char* grouping, const char* neg_sym, long neg_format,
                                           long leading_zero, long decimals);
ORB_API const char* loc_st_localize_decimal_prec(const char* text, long decimals);
ORB_API const char* loc_st_localize_decimal(const char* text);
ORB_API const char* loc_st_localize_long(const char* text);
ORB_API const char* loc_st_localize_QBdecimal(const char* text);
// The number of a localised text / of a plain text; 0.0 when it is refused.
ORB_API double loc_st_localize_atof(const char* text);
ORB_API double loc_st_localize_dectof(const char* text);

ORB_API const char* loc_st_delocalize_number(const char* text, const char* dec_sym, const char* group_sym,
                                             const char* neg_sym);
ORB_API const char* loc_st_delocalize_decimal(const char* text);
ORB_API const char* loc_st_delocalize_QBdecimal(const char* text);
ORB_API const char* loc_st_delocalize_decimal_sybase(const char* text);

// Rounds text (size bytes of room) half up to `decimals` places; *point is the
// index of its '.', moved by one when a carry adds a digit in front. 0, or -1
// when the padded text would not fit (text unchanged).
ORB_API long loc_st_round_numeric_string(char* text, long size, long* point, long decimals);

ORB_API long loc_st_isnumeric(long c);
ORB_API long loc_st_isnumeric_deloc(long c);
ORB_API long loc_st_isintch(long c);
ORB_API long loc_st_isodigit(long c);
ORB_API long loc_st_isfmtprefix(long c);
ORB_API long loc_st_isinteger(const char* text);
ORB_API long loc_st_isreal(const char* text);
ORB_API long loc_st_ishexnum(const char* text);
