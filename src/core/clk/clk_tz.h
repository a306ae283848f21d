// Time zones and the adjustment between the database server's time and the
// client's. Clock times are stored in server time; the texts are read and
// written in client time, converted through zone records with daylight
// periods or through plain tick differences set at login.
//
// Threads: not safe from several threads: the zone records and the login
// differences are process-wide and unguarded.
#pragma once

#include "core/clk/clk_time.h"
#include "orb_api.h"

struct utl_ty_col;

// Time-zone record.
struct clk_ty_tz {
  long zone_word;        // option bits (bit 0: no daylight saving)
  long gmt_offset;       // seconds east of GMT
  utl_ty_col* dl_starts; // clktime instants where daylight periods start, ascending
  utl_ty_col* dl_ends;   // instants where they end, ascending
  const char* name;
};

// Fills the server record when the zone records are first used.
using clk_ty_server_tz_proc = long (*)(clk_ty_tz* server);

// Registers type 677 and zeroes the server and site records.
long clk_tz_init();
// Makes the zone collections on first use and asks the registered callback
// for the server record.
long clk_tz_init_tz_info();
ORB_API long clk_tz_reg_db_server_tz_proc(clk_ty_server_tz_proc proc);
// The site record takes the zone word, offset and copies of the daylight
// instants of record.
ORB_API long clk_tz_set_time_zone(const clk_ty_tz* record);
ORB_API long clk_tz_get_server_tz(clk_ty_tz** out);
ORB_API long clk_tz_get_site_tz(clk_ty_tz** out);
// Frees the collections of the server and site records (module reset).
long clk_tz_release();

// out = time moved by count x shift seconds, count being (ends at or before
// time) - (starts at or before time): -1 inside a daylight period.
ORB_API long clk_tz_normal_dlight(const clk_ty_tz* zone, long shift, const clktime* time, clktime* out);
// flags 1: keep the source's daylight hour; 2: do not put the target's on.
// Null zones mean the server record; the source's own daylight instants are
// used, the server's when it has none. The null date passes unchanged.
ORB_API long clk_tz_convert_clk_time(long flags, const clk_ty_tz* source, const clktime* time,
                                     const clk_ty_tz* target, clktime* out);
ORB_API long clk_tz_convert_col_clk_time(long flags, const clk_ty_tz* source, utl_ty_col* times,
                                         const clk_ty_tz* target, utl_ty_col* out);
ORB_API long clk_tz_time_add(long flags, const clk_ty_tz* zone, const clktime* time, long seconds,
                             clktime* out);
ORB_API long clk_tz_time_diff(long flags, const clk_ty_tz* zone, const clktime* a, const clktime* b,
                              long* seconds);
// Rounds ticks to the nearest half hour (540,000 ticks); exactly 270,000
// over rounds toward zero.
ORB_API long clk_time_zone_round(long ticks);

// Client/server adjustment settings.
ORB_API long clk_time_server_master_tz_set(clk_ty_tz* server, clk_ty_tz* master, long flags);
ORB_API long clk_time_client_tz_set(clk_ty_tz* client);
ORB_API long clk_time_set_adjust_client(long on);
ORB_API long clk_time_get_adjust_client();
ORB_API long clk_time_zone_diff_set(long ticks);
ORB_API long clk_time_zone_diff_get();
ORB_API long clk_time_mzone_diff_set(long ticks);
ORB_API long clk_time_mzone_diff_get();
// The negated master zone difference in whole seconds.
long clk_time_mzone_neg_secs();
// Puts the settings back to their start (adjust on, no zones, no differences).
ORB_API long clk_time_adjust_reset();

// In place; the null date is kept.
ORB_API long clk_time_adjust_to_client(clktime* time);
ORB_API long clk_time_adjust_to_server(clktime* time);

// Convert method of type 677 (time-zoned clock time display).
long clk_tz_convert_time_zone(long conv_type, long src_type, void* src, long dst_type, void* dst,
                              long dst_size, long* allocated);
