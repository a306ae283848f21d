// Time zones: daylight periods, conversion between zones, rounding of zone
// differences, client/server adjustment and the time-zoned type 677.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "core/clk/clk_seam.h"
#include "core/clk/clk_text.h"
#include "core/clk/clk_tz.h"
#include "core/clk_fixture.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"

namespace {

// A zone with one daylight period, freed at the end.
struct zone {
  clk_ty_tz tz{};
  explicit zone(long offset, std::optional<std::pair<clktime, clktime>> period = std::nullopt) {
    tz.gmt_offset = offset;
    tz.name = "test";
    if (period) {
      EXPECT_EQ(utl_col_make("test", CLK_TYP_TIME, 10, 10, 0, 0, &tz.dl_starts), 0);
      EXPECT_EQ(utl_col_make("test", CLK_TYP_TIME, 10, 10, 0, 0, &tz.dl_ends), 0);
      utl_col_push(tz.dl_starts, &period->first, nullptr);
      utl_col_push(tz.dl_ends, &period->second, nullptr);
    }
  }
  ~zone() {
    if (tz.dl_starts) utl_col_free("test", tz.dl_starts);
    if (tz.dl_ends) utl_col_free("test", tz.dl_ends);
  }
};

// A summer period of 2003 (the instants as the zone's records hold them).
const clktime kStart = clk_at(2003, 4, 6, 2, 0, 0);
const clktime kEnd = clk_at(2003, 10, 26, 2, 0, 0);

void expect_time(const clktime& got, const clktime& want) {
  EXPECT_EQ(got.day, want.day);
  EXPECT_EQ(got.ticks, want.ticks);
}

class ClkTz : public clk_test {};

TEST_F(ClkTz, DaylightBoundaries) {
  zone z(0, std::make_pair(kStart, kEnd));
  struct {
    clktime at;
    long shift;
    clktime want;
  } cases[] = {
      {clk_at(2003, 4, 6, 1, 59, 59), 3600, clk_at(2003, 4, 6, 1, 59, 59)},  // a second before the start
      {kStart, 3600, clk_at(2003, 4, 6, 1, 0, 0)},                            // the start itself
      {kStart, -3600, clk_at(2003, 4, 6, 3, 0, 0)},
      {clk_at(2003, 10, 26, 1, 59, 59), 3600, clk_at(2003, 10, 26, 0, 59, 59)},
      {kEnd, 3600, kEnd},  // the period is over
      {clk_at(2003, 12, 1), 3600, clk_at(2003, 12, 1)},
  };
  for (const auto& c : cases) {
    clktime out{};
    ASSERT_EQ(clk_tz_normal_dlight(&z.tz, c.shift, &c.at, &out), 0);
    expect_time(out, c.want);
  }
  zone plain(0);
  clktime out{};
  ASSERT_EQ(clk_tz_normal_dlight(&plain.tz, 3600, &kStart, &out), 0);
  expect_time(out, kStart);
}

TEST_F(ClkTz, ConvertBetweenZones) {
  zone ny(-5 * 3600, std::make_pair(kStart, kEnd));
  zone paris(3600);
  clktime winter = clk_at(2003, 1, 15, 10, 0, 0), summer = clk_at(2003, 7, 1, 10, 0, 0), out{};
  // New York to Paris: six hours in winter; in summer the daylight hour is taken off first.
  ASSERT_EQ(clk_tz_convert_clk_time(0, &ny.tz, &winter, &paris.tz, &out), 0);
  expect_time(out, clk_at(2003, 1, 15, 16, 0, 0));
  ASSERT_EQ(clk_tz_convert_clk_time(0, &ny.tz, &summer, &paris.tz, &out), 0);
  expect_time(out, clk_at(2003, 7, 1, 15, 0, 0));
  ASSERT_EQ(clk_tz_convert_clk_time(1, &ny.tz, &summer, &paris.tz, &out), 0);
  expect_time(out, clk_at(2003, 7, 1, 16, 0, 0));
  // Paris to New York puts the daylight hour on unless flag 2.
  ASSERT_EQ(clk_tz_convert_clk_time(0, &paris.tz, &summer, &ny.tz, &out), 0);
  expect_time(out, clk_at(2003, 7, 1, 5, 0, 0));
  ASSERT_EQ(clk_tz_convert_clk_time(2, &paris.tz, &summer, &ny.tz, &out), 0);
  expect_time(out, clk_at(2003, 7, 1, 4, 0, 0));
  // The null date passes unchanged.
  clktime null{CLK_NULL_DAY, 0};
  ASSERT_EQ(clk_tz_convert_clk_time(0, &ny.tz, &null, &paris.tz, &out), 0);
  expect_time(out, null);
}

TEST_F(ClkTz, SourceWithoutPeriodsUsesTheServersAndStaysUnchanged) {
  static utl_ty_col* starts = nullptr;
  static utl_ty_col* ends = nullptr;
  clk_tz_reg_db_server_tz_proc([](clk_ty_tz* server) -> long {
    server->gmt_offset = 0;
    utl_col_push(server->dl_starts, &kStart, nullptr);
    utl_col_push(server->dl_ends, &kEnd, nullptr);
    starts = server->dl_starts;
    ends = server->dl_ends;
    return 0;
  });
  clk_tz_init();
  zone plain(0), target(3600);
  clktime summer = clk_at(2003, 7, 1, 10, 0, 0), out{};
  ASSERT_EQ(clk_tz_convert_clk_time(2, &plain.tz, &summer, &target.tz, &out), 0);
  expect_time(out, clk_at(2003, 7, 1, 10, 0, 0));  // the server's daylight hour off, one hour on
  EXPECT_EQ(plain.tz.dl_starts, nullptr);  // the caller's record is not changed
  EXPECT_EQ(plain.tz.dl_ends, nullptr);
  // Null zones are the server record.
  ASSERT_EQ(clk_tz_convert_clk_time(2, nullptr, &summer, &target.tz, &out), 0);
  expect_time(out, clk_at(2003, 7, 1, 10, 0, 0));
  clk_ty_tz* server = nullptr;
  ASSERT_EQ(clk_tz_get_server_tz(&server), 0);
  EXPECT_EQ(server->dl_starts, starts);
  EXPECT_EQ(server->dl_ends, ends);
}

TEST_F(ClkTz, ConvertCollectionsAddAndDiff) {
  zone ny(-5 * 3600, std::make_pair(kStart, kEnd));
  zone utc(0);
  utl_ty_col* in = nullptr;
  utl_ty_col* out = nullptr;
  ASSERT_EQ(utl_col_make("test", CLK_TYP_TIME, 4, 4, 0, 0, &in), 0);
  ASSERT_EQ(utl_col_make("test", CLK_TYP_TIME, 4, 4, 0, 0, &out), 0);
  clktime a = clk_at(2003, 1, 1, 12, 0, 0), b = clk_at(2003, 7, 1, 12, 0, 0), junk{1, 1};
  utl_col_push(in, &a, nullptr);
  utl_col_push(in, &b, nullptr);
  utl_col_push(out, &junk, nullptr);
  ASSERT_EQ(clk_tz_convert_col_clk_time(0, &ny.tz, in, &utc.tz, out), 0);
  long n = 0;
  utl_col_num(out, &n);
  ASSERT_EQ(n, 2);
  void* e = nullptr;
  utl_col_ith(out, 0, &e);
  expect_time(*static_cast<clktime*>(e), clk_at(2003, 1, 1, 17, 0, 0));
  utl_col_ith(out, 1, &e);
  expect_time(*static_cast<clktime*>(e), clk_at(2003, 7, 1, 16, 0, 0));
  utl_col_free("test", in);
  utl_col_free("test", out);

  // Adding across the start of the period: a day later is 23 hours of wall clock away.
  clktime before = clk_at(2003, 4, 5, 12, 0, 0), r{};
  ASSERT_EQ(clk_tz_time_add(0, &ny.tz, &before, 86400, &r), 0);
  expect_time(r, clk_at(2003, 4, 6, 13, 0, 0));
  ASSERT_EQ(clk_tz_time_add(3, &ny.tz, &before, 86400, &r), 0);
  expect_time(r, clk_at(2003, 4, 6, 12, 0, 0));
  long secs = 0;
  clktime after = clk_at(2003, 4, 6, 13, 0, 0);
  ASSERT_EQ(clk_tz_time_diff(0, &ny.tz, &before, &after, &secs), 0);
  EXPECT_EQ(secs, 86400);
  ASSERT_EQ(clk_tz_time_diff(3, &ny.tz, &before, &after, &secs), 0);
  EXPECT_EQ(secs, 90000);
}

TEST_F(ClkTz, ZoneDifferencesRoundToHalfHours) {
  struct {
    long in, out;
  } cases[] = {{270000, 0},        {270001, 540000},   {-270000, 0},      {-270001, -540000},
               {810000, 540000},   {810001, 1080000},  {-810001, -1080000}, {0, 0},
               {1079999, 1080000}, {540000 * 24, 540000 * 24}};
  for (const auto& c : cases) EXPECT_EQ(clk_time_zone_round(c.in), c.out) << c.in;
}

TEST_F(ClkTz, SetTimeZoneCopiesIntoTheSiteRecord) {
  {
    zone z(7200, std::make_pair(kStart, kEnd));
    z.tz.zone_word = 4;
    ASSERT_EQ(clk_tz_set_time_zone(&z.tz), 0);
  }  // the caller's collections are gone; the site keeps its copies
  clk_ty_tz* site = nullptr;
  ASSERT_EQ(clk_tz_get_site_tz(&site), 0);
  EXPECT_EQ(site->zone_word, 4);
  EXPECT_EQ(site->gmt_offset, 7200);
  long n = 0;
  utl_col_num(site->dl_starts, &n);
  EXPECT_EQ(n, 1);
  clktime out{};
  clktime summer = clk_at(2003, 7, 1, 10, 0, 0);
  ASSERT_EQ(clk_tz_normal_dlight(site, 3600, &summer, &out), 0);
  expect_time(out, clk_at(2003, 7, 1, 9, 0, 0));
}

TEST_F(ClkTz, AdjustmentForOtherServerTypes) {
  clktime t = clk_at(2003, 1, 1, 0, 30, 0);
  clk_time_mzone_diff_set(-3600L * 300);  // master zone an hour behind
  clk_time_zone_diff_set(-1800L * 300);
  clktime c = t;
  ASSERT_EQ(clk_time_adjust_to_client(&c), 0);
  expect_time(c, clk_at(2002, 12, 31, 23, 0, 0));
  ASSERT_EQ(clk_time_adjust_to_server(&c), 0);
  expect_time(c, t);
  clktime null{CLK_NULL_DAY, 0};
  ASSERT_EQ(clk_time_adjust_to_client(&null), 0);
  expect_time(null, clktime{CLK_NULL_DAY, 0});
  // With server and master zones the zones decide, then the client difference.
  zone server(0, std::make_pair(kStart, kEnd)), master(-5 * 3600, std::make_pair(kStart, kEnd));
  clk_time_server_master_tz_set(&server.tz, &master.tz, 0);
  clktime s = clk_at(2003, 7, 1, 12, 0, 0);
  ASSERT_EQ(clk_time_adjust_to_client(&s), 0);
  // master -> server: +5 hours and the server's daylight hour on, then -30 minutes
  expect_time(s, clk_at(2003, 7, 1, 17, 30, 0));
  ASSERT_EQ(clk_time_adjust_to_server(&s), 0);
  expect_time(s, clk_at(2003, 7, 1, 12, 0, 0));
  // Flag bit 0 switches adjustment off.
  clk_time_server_master_tz_set(&server.tz, &master.tz, 1);
  EXPECT_EQ(clk_time_get_adjust_client(), 0);
  ASSERT_EQ(clk_time_adjust_to_client(&s), 0);
  expect_time(s, clk_at(2003, 7, 1, 12, 0, 0));
}

TEST_F(ClkTz, WithoutTheObjectStoreTheServerTypeReadsZero) {
  clk_seam_reset();
  EXPECT_EQ(clk_seam_server_type(), 0);
  zone master(-5 * 3600), client(3600);
  clk_time_server_master_tz_set(nullptr, &master.tz, 0);
  clk_time_client_tz_set(&client.tz);
  clk_time_mzone_diff_set(600L * 300);
  clktime t = clk_at(2003, 1, 15, 12, 0, 0);
  ASSERT_EQ(clk_time_adjust_to_client(&t), 0);
  expect_time(t, clk_at(2003, 1, 15, 12, 10, 0));  // the tick differences, not the zones
}

TEST_F(ClkTz, ServerZoneCallbackRunsOnFirstUseOnly) {
  static long calls = 0;
  calls = 0;
  clk_tz_reg_db_server_tz_proc([](clk_ty_tz* server) -> long {
    ++calls;
    server->gmt_offset = -7200;
    return 0;
  });
  clk_tz_init();
  EXPECT_EQ(calls, 0);
  clk_ty_tz* server = nullptr;
  ASSERT_EQ(clk_tz_get_server_tz(&server), 0);
  ASSERT_EQ(clk_tz_get_server_tz(&server), 0);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(server->gmt_offset, -7200);
  ASSERT_NE(server->dl_starts, nullptr);
  ASSERT_NE(server->dl_ends, nullptr);
}

TEST_F(ClkTz, AdjustmentForServerType64) {
  clk_fake::server_type = 64;
  clk_time_mzone_diff_set(-3600L * 300);  // not used by type 64
  clktime t = clk_at(2003, 1, 15, 12, 0, 0), c = t;
  ASSERT_EQ(clk_time_adjust_to_client(&c), 0);
  expect_time(c, t);  // no zones set: nothing
  zone master(-5 * 3600), client(3600);
  clk_time_server_master_tz_set(nullptr, &master.tz, 0);
  clk_time_client_tz_set(&client.tz);
  ASSERT_EQ(clk_time_adjust_to_client(&c), 0);
  expect_time(c, clk_at(2003, 1, 15, 18, 0, 0));
  ASSERT_EQ(clk_time_adjust_to_server(&c), 0);
  expect_time(c, t);
}

// Runs with the process's zone set to tz.
struct tz_env {
  std::optional<std::string> old;
  explicit tz_env(const char* tz) {
    if (const char* o = std::getenv("TZ")) old = o;
    setenv("TZ", tz, 1);
    tzset();
  }
  ~tz_env() {
    if (old) setenv("TZ", old->c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }
};

long convert677(long src_type, void* src, long dst_type, void* dst, long size, long* allocated) {
  cmn_ty_method_proc p = nullptr;
  EXPECT_EQ(cmn_typ_find_single_method(CLK_TYP_TZ_TIME, CMN_MTH_CONVERT, &p, nullptr), 0);
  return cmn_typ_proc_as<cmn_ty_convert_proc>(p)(CLK_TYP_TZ_TIME, src_type, src, dst_type, dst, size, allocated);
}

TEST_F(ClkTz, TimeZonedDisplayType677) {
  zone site(3600);
  ASSERT_EQ(clk_tz_set_time_zone(&site.tz), 0);
  char buf[CLK_TEXT_SIZE];
  char* out = buf;
  long allocated = 9;
  clktime t = clk_at(2003, 1, 15, 10, 0, 0);
  {
    tz_env env("UTC0");
    ASSERT_EQ(convert677(CLK_TYP_TIME, &t, CMN_TYP_CHAR_P, &out, sizeof buf, &allocated), 0);
    EXPECT_STREQ(out, "01/15/2003 11:00:00");
    EXPECT_EQ(allocated, 0);
  }
  {
    tz_env env("EST5");
    ASSERT_EQ(convert677(CLK_TYP_TIME, &t, CMN_TYP_CHAR_P, &out, sizeof buf, &allocated), 0);
    EXPECT_STREQ(out, "01/15/2003 16:00:00");
  }
  clktime null{CLK_NULL_DAY, 0};
  ASSERT_EQ(convert677(CLK_TYP_TIME, &null, CMN_TYP_CHAR_P, &out, sizeof buf, &allocated), 0);
  EXPECT_STREQ(out, "?/?/? ?:?:?");
  clktime far{CLK_FAR_FUTURE_DAY, 0};
  ASSERT_EQ(convert677(CLK_TYP_TIME, &far, CMN_TYP_CHAR_P, &out, sizeof buf, &allocated), 0);
  EXPECT_STREQ(out, "*/*/* *:*:*");

  // Text to clock: the site's time into the server's zone (offset 0).
  clktime back{};
  clktime* bp = &back;
  ASSERT_EQ(convert677(CMN_TYP_CHAR_P, clk_text_cell("01/15/2003 11:00:00"), CLK_TYP_TIME, &bp, sizeof back,
                       &allocated), 0);
  expect_time(back, t);
  ASSERT_EQ(convert677(CMN_TYP_CHAR_P, clk_text_cell("?"), CLK_TYP_TIME, &bp, sizeof back, &allocated), 0);
  expect_time(back, null);
  ASSERT_EQ(convert677(CMN_TYP_CHAR_P, clk_text_cell("*"), CLK_TYP_TIME, &bp, sizeof back, &allocated), 0);
  expect_time(back, far);

  // Bit 0 on the site record: the plain infinite clock type's conversion.
  site.tz.zone_word = 1;
  ASSERT_EQ(clk_tz_set_time_zone(&site.tz), 0);
  ASSERT_EQ(convert677(CLK_TYP_TIME, &t, CMN_TYP_CHAR_P, &out, sizeof buf, &allocated), 0);
  EXPECT_STREQ(out, "01/15/2003 10:00:00");
  ASSERT_EQ(convert677(CMN_TYP_CHAR_P, clk_text_cell("01/15/2003 11:00:00"), CLK_TYP_TIME, &bp, sizeof back,
                       &allocated), 0);
  expect_time(back, clk_at(2003, 1, 15, 11, 0, 0));

  long l = 0;
  EXPECT_NE(convert677(CMN_TYP_LONG, &l, CMN_TYP_CHAR_P, &out, sizeof buf, &allocated), 0);
  EXPECT_EQ(core_alert_texts().back(),
            "Can't convert from source type 512 to destination type 516 for conversion type 677.\n");
}

}  // namespace
