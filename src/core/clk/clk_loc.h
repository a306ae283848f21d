// The region's date and time texts, as the clock uses them. The locale layer
// fills this table when it starts (loc_reg_datetime, loc_reg_str_to_time,
// loc_reg_unknown_date and the region's month names); until then the
// writers and readers of the locale text fail with CLK_SEAM_MISSING.
#pragma once

#include <cstdint>
#include <ctime>

#include "orb_api.h"

// A date/time text read with the region's formats: parts not given are
// second, minute, hour 0, day 32, month 15 and year -1.
struct clk_ty_loc_parts {
  int32_t second;
  int32_t minute;
  int32_t hour;
  int32_t day;    // 1..31
  int32_t month;  // 0..11
  int32_t year;   // full year
};

struct clk_ty_loc_procs {
  // Formats t (tm_year holds the full year) with the format of kind (1 date,
  // 6 date and time, ...) into a text that stays valid until the next call.
  long (*datetime)(const struct tm* t, long kind, const char** text);
  // Reads text with the short-date format (kind 1) or the date-time format.
  long (*str_to_time)(const char* text, long kind, clk_ty_loc_parts* parts);
  // The text of an unknown date with the placeholder in every field.
  long (*unknown_date)(char* out, long size, const char* placeholder, long date_only);
  // The region's name of month 0..11.
  const char* (*month_name)(long month);
};

ORB_API long clk_loc_install(const clk_ty_loc_procs* procs);  // non-null slots
ORB_API long clk_loc_reset();

long clk_loc_datetime(const struct tm* t, long kind, const char** text);
long clk_loc_str_to_time(const char* text, long kind, clk_ty_loc_parts* parts);
long clk_loc_unknown_date(char* out, long size, const char* placeholder, long date_only);
long clk_loc_month_name(long month, const char** name);
