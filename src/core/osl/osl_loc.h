// OS side of localisation: filling the region record from the process locale
// and ORBISAN_DATE_FORMAT / ORBISAN_TIME_FORMAT, the date order, time-stamp
// formats, parsing dates and times, and the client locale (ORB_LOC).
//
// Threads: not safe from several threads: the region record, the forced formats and
// the client locale are process-wide and unguarded.
#pragma once

#include <ctime>

#include "core/osl/osl_loc_region.h"
#include "orb_api.h"

// The US defaults every fill starts from.
extern const loc_ty_region osl_loc_us_defaults;

// Date-format flags.
constexpr long OSL_LOC_SITE_TS = 1;
constexpr long OSL_LOC_FIXED_DATE = 2;  // "%d-%m-%y", "-" separator
constexpr long OSL_LOC_TS = 4;
constexpr long OSL_LOC_FLAGS_NOT_SET = 128;

ORB_API long osl_loc_init_region(loc_ty_region* region);
ORB_API long osl_loc_init_region_option(loc_ty_region* region, const char* locale);
ORB_API long osl_loc_reset_region(loc_ty_region* region);
ORB_API long osl_loc_disable_loc_region(loc_ty_region* region);
ORB_API long osl_loc_enable_loc_region();
ORB_API long osl_loc_enable_loc_num();
ORB_API long osl_loc_disable_loc_num();
ORB_API long osl_loc_get_spellings(loc_ty_region* region);
// format may be null (not given).
ORB_API long osl_loc_extract_date(const char* format, loc_ty_region* region);
ORB_API long osl_loc_extract_time(const char* format, loc_ty_region* region);
// 0 m-d-y, 1 d-m-y, 2 y-m-d, 3 m-y-d, 4 d-y-m, 5 y-d-m; -1 before any date
// format was examined.
ORB_API long osl_loc_dt_orient(long* order);
ORB_API long osl_loc_force_date_format(loc_ty_region* region, const char* format);
ORB_API long osl_loc_set_date_format(const long* flags);
ORB_API long osl_loc_get_date_format(long* flags);
ORB_API long osl_loc_set_dt_fmts(const long* flags, const char* ts_format, const char* site_format);
ORB_API const char* osl_loc_get_dt_fmt(long flags);
// Puts the date-format flags, time-stamp formats and date order back to
// their start-up state.
ORB_API long osl_loc_clear_dt_fmts();
// out: size bytes; the text is cut to fit.
ORB_API long osl_loc_unknown_date(char* out, long size, const char* placeholder, long date_only,
                                  const loc_ty_region* region);
ORB_API long osl_loc_month_atol(const loc_ty_region* region, const char* text);
// am and pm: at least 11 bytes each (10 characters and the NUL).
ORB_API long osl_loc_get_ampm(char* am, char* pm);
// Parts not given read second, minute, hour 0, day 32, month 15, year -1.
// A number out of its part's range is stored before the parse stops, so the
// caller's range check reports it. Returns 0.
ORB_API long osl_loc_strptime(const char* text, const char* format, long unused,
                              const loc_ty_region* region, loc_ty_tm* time);
ORB_API long osl_loc_get_locale_info();
ORB_API long osl_loc_map_locale_info(long n);
ORB_API long osl_loc_is_double_byte(long locale_id);
ORB_API struct tm* osl_loc_localtime(const time_t* t);
ORB_API struct tm* osl_loc_gmtime(const time_t* t);
ORB_API const char* osl_loc_newline();
ORB_API long osl_loc_set_no_convert(long flag);
ORB_API long osl_loc_set_no_locale(long flag);
ORB_API long osl_loc_no_locale();
ORB_API long osl_loc_is_ascii();
// The locale last used for filling ("" before any fill).
ORB_API const char* osl_loc_locale_name();
