// The region record (number, date and time settings) and the locale layer's
// region calls. The OS layer fills the record (osl_loc.h); these calls return
// 0 or -1 and report through the OS message printer.
#pragma once

#include <cstdint>
#include <ctime>

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

constexpr long LOC_REG_BUF_SIZE = 129;

ORB_API long loc_main_init();
ORB_API long loc_main_is_inited();
ORB_API long loc_main_term();

ORB_API long loc_reg_init();
ORB_API long loc_reg_reset();
ORB_API long loc_reg_term();
// True while the region record is filled (between loc_reg_init or
// loc_reg_reset and loc_reg_term).
ORB_API long loc_reg_is_inited();
ORB_API loc_ty_region* loc_reg_get_region();
ORB_API const char* loc_reg_date_separator();
ORB_API const char* loc_reg_time_separator();
ORB_API long loc_reg_reset_mon_thsnds_sep();
// 6 date-time; 4 time stamps, 5 site time stamps (null when not in use);
// any other kind the short date.
ORB_API const char* loc_reg_get_dt_format(long kind);
// tm_year holds the full year. *text points into a static 129-byte buffer.
ORB_API long loc_reg_datetime(const struct tm* time, long kind, const char** text);
// Kind 1 parses with the short date, other kinds with the date-time format.
ORB_API long loc_reg_str_to_time(const char* text, long kind, loc_ty_tm* time);
// out: at least size bytes.
ORB_API long loc_reg_unknown_date(char* out, long size, const char* placeholder, long date_only);
ORB_API long loc_reg_force_date_format(const char* format);
