// Number generation by scheme: a scheme (object type 123) holds a name, a
// template, a zero-fill flag with a width and the counter "next_value";
// a number is the counter's value before its increment in the database,
// put into the template with the date parts it asks for. The "gen"
// message list.
//
// Threads: the scheme cache and the work buffer are process-wide and
// unguarded; one caller at a time.
#pragma once

#include "store/dbs_oid.h"

constexpr long GEN_SUBSYS = 29;
constexpr long GEN_FIRST_ID = 6600;
constexpr long GEN_LAST_ID = 6943;
constexpr long GEN_NUM_MSGS = GEN_LAST_ID - GEN_FIRST_ID + 1;
constexpr long GEN_NO_SCHEME = 0x1D000CF;     // scheme name
constexpr long GEN_NUM_TOO_LONG = 0x1D00157;  // scheme or template, size

constexpr long GEN_SCHEME_TYPE = 123;
constexpr long GEN_SCHEME_NAME = 1;
constexpr long GEN_SCHEME_TEMPLATE = 2;
constexpr long GEN_SCHEME_WIDTH = 6;
constexpr long GEN_SCHEME_ZERO_FILL = 7;
constexpr long GEN_DEADLOCK = 0x70002B;
constexpr long GEN_MAX_RETRIES = 10;

long gen_str_init();
// Frees the scheme cache (at the end of a session: the cached schemes belong
// to the loaded schema).
long gen_num_term();

// The next number of a scheme into output (size bytes, NUL included). An
// unknown scheme gives 0x1D000CF; a result that does not fit is refused
// with 0x1D00157 and the output is untouched (the number is spent).
long gen_num_gen(const char* name, long size, char* output);
long adm_num_gen(const char* name, long size, char* output);
// The counter's value before its increment; deadlocks retried up to ten
// times outside an application transaction, none inside one.
long gen_num_gen_next_num(const obj_id* id, long type, const char* field, long* number);
// The template with each "%i" replaced by the number (zero-filled to the
// width when the flag is set) and the date parts of now; the result must
// fit in size bytes (else 0x1D00157, output untouched).
long gen_num_substitute(const char* templ, long number, long zero_fill, long width, long size, char* output);
// "%m", "%d", "%y", "%Y" of the date; "%" before any other character gives
// that character. At most size bytes are written, NUL included; always 0.
long gen_num_format_date(const char* text, long day, long month, long year, long size, char* output);
const char* gen_num_get_remote_id();
long gen_num_get_subcase_format(unsigned char* flag);
