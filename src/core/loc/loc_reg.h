// The locale layer's region calls over the region record (osl_loc_region.h),
// which the OS layer fills (osl_loc.h); these calls return
// 0 or -1 and report through the OS message printer.
//
// Threads: not safe from several threads: the region record is process-wide and
// unguarded (see osl_loc.h).
#pragma once

#include <cstdint>
#include <ctime>

#include "core/osl/osl_loc_region.h"
#include "orb_api.h"

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
