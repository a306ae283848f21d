// Clock texts: every text form in which clock times are written and read.
// Writers with flag/adjust 1 first turn a server time into client time;
// readers with flag 1 turn the client time they read into server time.
//
// Output texts are written into out (size bytes with the NUL); a text that
// does not fit is cut. Failures push their clock alert and return its code.
//
// Threads: not safe from several threads: the texts follow the process-wide
// region record and zone settings, and failures push alerts (cmn_alrt.h).
#pragma once

#include "core/clk/clk_time.h"
#include "orb_api.h"

constexpr long CLK_TEXT_SIZE = 160;  // room for any clock text

// Writer flags.
constexpr long CLK_STR_ADJUST = 1;     // server time to client time
constexpr long CLK_STR_DATE_ONLY = 2;
constexpr long CLK_STR_COMPACT = 8;    // digits only: yyyymmdd[hhmmss]
constexpr long CLK_STR_NO_FAR = 16;    // no far-future test

// Code the adapter uses for a date text it cannot read.
constexpr long CLK_ADP_BAD_DATE_TEXT = 0x600013;

// The region's date-time text (kind 6, date only kind 1).
ORB_API long clk_time_clk_to_str_option(long flags, const clktime* time, char* out, long size);
ORB_API long clk_time_clk_to_str(const clktime* time, char* out, long size);       // flags 5
ORB_API long clk_time_clk_to_str_conv(const clktime* time, char* out, long size);  // flags 16
ORB_API long clk_time_clk_to_str_adj(long adjust, const clktime* time, char* out, long size, long date_only);
// Short numeric text "mm/dd/yyyy hh:mm:ss".
ORB_API long clk_time_clk_to_sstr_option(long flags, const clktime* time, char* out, long size);
ORB_API long clk_time_clk_to_sstr(const clktime* time, char* out, long size);       // flags 5
ORB_API long clk_time_clk_to_sstr_conv(const clktime* time, char* out, long size);  // flags 16
ORB_API long clk_time_clk_to_sstr_adj(long adjust, const clktime* time, char* out, long size, long date_only);
// SQL text with milliseconds "m/d/yyyy hh:mm:ss:mmm".
ORB_API long clk_time_clk_to_sstr_prec_adj(long adjust, const clktime* time, char* out, long size);
ORB_API long clk_time_clk_to_str_prec_adj(long adjust, const clktime* time, char* out, long size);
ORB_API long clk_time_clk_to_str_with_msecs(const clktime* time, char* out, long size);
// One part: 1 year, 2 month / 4 + 1, 3 long month name, 4 day of year, 5 day
// of month, 6 weekday name, 7 hour, 8 minute, 9 second, 10 the region's
// month name; any other part gives #2.
ORB_API long clk_time_cmpstr(long part, char* out, long size, const clk_ty_cmp* cmp);
ORB_API long clk_time_clk_to_cmpstr(const clktime* time, long part, char* out, long size);
ORB_API long clk_time_clk_to_cmpstr_adjust(const clktime* time, long part, char* out, long size, long adjust);
// "dd-MON-yyyy hh:mm:ss " with the region's month name; the date form stops
// after the year and its blank.
ORB_API long clk_time_clk_to_nstr_adjust(const clktime* time, char* out, long size, long adjust);
ORB_API long clk_time_clk_to_date_nstr(const clktime* time, char* out, long size, long adjust);
// The region's text of a kind.
ORB_API long clk_time_clk_to_cstr_adjust(const clktime* time, char* out, long size, long kind, long adjust);
// "Mon dd yyyy hh:mm:ss:000AM" from the parts as texts (hour 0 is 12 AM).
ORB_API long clk_time_format_str(const char* month, const char* day, const char* year, const char* hour,
                                 const char* minute, const char* second, char* out, long size);
// The region's text <-> "#yyyy-mm-dd hh:mm:ss", in place.
ORB_API long clk_time_to_iso(char* text, long size);
ORB_API long clk_time_to_loc(char* text, long size);

// Readers. "?" or blanks give the null date, "*" the far-future day.
ORB_API long clk_time_str_to_clk_adj(long flag, const char* text, clktime* time);
ORB_API long clk_time_str_to_clk(const char* text, clktime* time);
ORB_API long clk_time_inf_str_to_clk_adj(long flag, const char* text, clktime* time);
ORB_API long clk_time_inf_str_to_clk(const char* text, clktime* time);
ORB_API long clk_time_str_to_date(const char* text, clktime* time);
// flags 2: date only.
ORB_API long clk_time_clkstr_to_cmp(const char* text, clk_ty_cmp* cmp, long flags);
ORB_API long clk_time_clksstr_to_cmp(const char* text, clk_ty_cmp* cmp, long flags);
ORB_API long clk_time_clkstr_iso_to_cmp(const char* text, clk_ty_cmp* cmp, long flags);
// Month 0..11 of a short month name (any letter case); -1 when none.
ORB_API long clk_time_monstr_2_mondigit(const char* name, long* month);
// Handed over to the adapter.
ORB_API long clk_time_sqr_str_convert(const char* text, char* out, long size);
ORB_API long clk_time_sstr_to_clk(const char* text, clktime* time);
