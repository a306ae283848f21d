// The region record (number, date and time settings) and the parser's
// broken-down time. The OS layer fills the record (osl_loc.h); the locale
// layer reads it (loc_reg.h).
// Threads: plain data; the process's one record is guarded by no lock.
#pragma once

#include <cstdint>

#include "orb_api.h"

// Field widths are part of the record's shape; texts are NUL-ended within
// their field.
struct loc_ty_region {
  char lead[5];
  char neg_sign[4];
  char dec_sym[4];
  char further_sym[4];
  char group_sym[4];
  char grouping[8];
  signed char precision;
  signed char neg_format;
  signed char leading_zero;
  char flag1;
  char flag2;
  signed char mon_precision;
  char currency[5];
  char mon_neg_sign[5];
  char mon_dec_sym[5];
  char mon_group_sym[5];
  char mon_grouping[8];
  char short_date[32];
  char long_date[32];
  char date_time[32];
  char day_names[7][15];
  char month_names[12][15];
  char day_abbr[7][15];
  char month_abbr[12][15];
  char time_fmt[32];
  char hour12;
  char date_sep[2];
  char time_sep[2];
  char ts_format[80];
  char site_ts_format[80];
  char trail[2];
};

// Broken-down time of the parser: second, minute, hour, day of month, month
// (0..11), full year.
struct loc_ty_tm {
  int32_t second;
  int32_t minute;
  int32_t hour;
  int32_t day;
  int32_t month;
  int32_t year;
};

// Counts the changes the OS layer makes to a region record; readers that
// cache values derived from the record compare it with the count they saw.
ORB_API unsigned long osl_loc_region_changes();
