// The number-symbol cache (not for other modules).
//
// Threads: as loc_num.h.
#pragma once

struct loc_ty_num_cache {
  char dec_sym[8];
  long dec_len;
  char group_sym[8];
  long group_len;
  char grouping[8];
  char neg_sym[8];
  long neg_len;
  long precision;
  long neg_format;
  long leading_zero;
  bool cached;
};

// The cache, filled first when empty.
const loc_ty_num_cache& loc_num_cache();

// Delocalises into the shared result buffer; end_at_point ends the number at
// a '.' that follows the decimal symbol.
const char* loc_num_delocalize(const char* text, const char* dec_sym, const char* group_sym,
                               const char* neg_sym, bool end_at_point);
// Reads a plain number text ('.' as the point) whatever the C locale says;
// 0.0 when it holds no number.
double loc_num_read_plain(const char* text);
