// Format records (types 626 and 627), the parser of printf-style format
// texts, and the table that names object types and data types.
//
// Threads: not safe from several threads: the format records' pool and the names'
// text buffer are process-wide and unguarded.
#pragma once

#include <cstdio>

#include "orb_api.h"

constexpr long CMN_FMT_TYPE = 626;
constexpr long CMN_FMT_ARG_TYPE = 627;
constexpr long CMN_FMT_MAX_SPECS = 50;
constexpr long CMN_FMT_NUM_TYPES = 5740;

struct cmn_ty_format_arg {
  long field_num;
  long type;
  long sub_num;
};

struct cmn_ty_format {
  long num_args;
  cmn_ty_format_arg* args;
  char* text;  // the substituted text
};

// Flag bits of a conversion spec.
constexpr long CMN_FMT_LEFT = 1;
constexpr long CMN_FMT_PLUS = 2;
constexpr long CMN_FMT_ALT = 4;
constexpr long CMN_FMT_SPACE = 8;
constexpr long CMN_FMT_LONG = 16;

struct cmn_ty_fmt_spec {
  char conv;       // conversion character
  long width;      // -1 when absent
  long precision;  // -1 when absent
  long flags;
  long type;       // data type id, -1 when none
  const char* start;    // the spec's '%'
  const char* conv_at;  // its conversion character
};

struct cmn_ty_fmt_type_row {
  const char* name;  // may be null
  short number;
};

ORB_API long cmn_fmt_init();
ORB_API long cmn_fmt_term();
ORB_API long cmn_fmt_print(FILE* stream, long indent, const void* format, long id, long number);
ORB_API long cmn_fmt_print_arg(FILE* stream, long indent, const void* arg, long id, long number);

// Parses a format text into a static array of specs that the next parse
// overwrites. A text with more than 50 conversions is refused with a message
// and 1.
ORB_API long cmn_fmt_parse_printf(const char* text, void* unused, long* count, cmn_ty_fmt_spec** specs);
ORB_API long cmn_fmt_dump_printf(FILE* stream, long count, const cmn_ty_fmt_spec* specs);

// The type-name table (CMN_FMT_NUM_TYPES rows).
ORB_API const cmn_ty_fmt_type_row* cmn_fmt_types();
ORB_API long cmn_fmt_name_to_num(const char* name, long* number);
ORB_API long cmn_fmt_num_to_name(long number, const char** name);
ORB_API const char* cmn_fmt_name(long number);
