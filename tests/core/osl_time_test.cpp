// Elapsed-time stamps, the UTC text and the client's time zone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "core/osl/osl_time.h"

namespace {

TEST(OslTime, EdiffTable) {
  const struct {
    osl_ty_etime a, b;
    float expected;
  } cases[] = {
      {{10, 900000}, {12, 100000}, 1.2f},   // borrow
      {{10, 100000}, {12, 900000}, 2.8f},
      {{10, 500000}, {12, 500000}, 2.0f},   // equal microseconds borrow too
      {{10, 0}, {10, 0}, 0.0f},
      {{12, 100000}, {10, 900000}, -1.2f},  // b before a
      {{0, 999999}, {1, 0}, 0.000001f},
  };
  for (const auto& c : cases) {
    float s = -99.0f;
    EXPECT_EQ(osl_time_ediff(&c.a, &c.b, &s), 0);
    EXPECT_NEAR(s, c.expected, 1e-6) << c.a.seconds << "." << c.a.microseconds << " -> "
                                     << c.b.seconds << "." << c.b.microseconds;
  }
}

TEST(OslTime, EcalcTable) {
  const struct {
    osl_ty_etime stamp;
    float add;
    osl_ty_etime expected;
  } cases[] = {
      {{10, 900000}, 0.2f, {11, 100000}},  // carry into the seconds
      {{10, 0}, 1.5f, {11, 500000}},
      {{10, 300000}, 0.7f, {11, 0}},       // 0.7 as a float lies below 0.7
      {{10, 999999}, 2.000001f, {13, 0}},
      {{10, 400000}, 0.0f, {10, 400000}},  // not positive: a copy
      {{10, 400000}, -3.0f, {10, 400000}},
      {{0, 0}, 3600.25f, {3600, 250000}},
  };
  for (const auto& c : cases) {
    osl_ty_etime r{-1, -1};
    EXPECT_EQ(osl_time_ecalc(&c.stamp, &c.add, &r), 0);
    EXPECT_EQ(r.seconds, c.expected.seconds) << c.add;
    EXPECT_EQ(r.microseconds, c.expected.microseconds) << c.add;
  }
}

TEST(OslTime, EcmpTable) {
  const struct {
    osl_ty_etime a, b;
    long expected;
  } cases[] = {
      {{1, 0}, {2, 0}, -1}, {{2, 0}, {1, 999999}, 1}, {{5, 10}, {5, 20}, -1},
      {{5, 20}, {5, 10}, 1}, {{5, 10}, {5, 10}, 0}, {{-1, 0}, {0, 0}, -1},
  };
  for (const auto& c : cases) EXPECT_EQ(osl_time_ecmp(&c.a, &c.b), c.expected);
}

TEST(OslTime, EgetAndGetFollowTheClock) {
  osl_ty_etime a, b;
  ASSERT_EQ(osl_time_eget(&a), 0);
  ASSERT_EQ(osl_time_eget(&b), 0);
  EXPECT_LE(osl_time_ecmp(&a, &b), 0);
  EXPECT_GE(a.microseconds, 0);
  EXPECT_LT(a.microseconds, 1000000);
  time_t t = 0;
  long now = osl_time_get(&t);
  EXPECT_EQ(now, static_cast<long>(t));
  EXPECT_LE(std::labs(now - a.seconds), 2);
}

TEST(OslTime, StrIsUtcText) {
  const struct {
    time_t t;
    const char* expected;
  } cases[] = {
      {0, "01/01/70 00:00:00 GMT"},
      {951782400 + 3723, "02/29/00 01:02:03 GMT"},
      {1700000000, "11/14/23 22:13:20 GMT"},
  };
  for (const auto& c : cases) EXPECT_STREQ(osl_time_str(&c.t), c.expected);
}

// Sets TZ for the life of the object and restores it afterwards.
class ScopedTz {
 public:
  explicit ScopedTz(const char* tz) {
    if (const char* old = std::getenv("TZ")) old_ = old;
    setenv("TZ", tz, 1);
    tzset();
  }
  ~ScopedTz() {
    if (old_)
      setenv("TZ", old_->c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }

 private:
  std::optional<std::string> old_;
};

TEST(OslTime, ClientTimeZoneOffsetAndName) {
  const struct {
    const char* tz;
    long offset;
    const char* name;
  } cases[] = {
      {"UTC0", 0, "UTC"},
      {"EST5", -5 * 3600, "EST"},          // west of UTC: negative
      {"IST-5:30", 5 * 3600 + 1800, "IST"},  // east of UTC: positive
  };
  for (const auto& c : cases) {
    ScopedTz tz(c.tz);
    osl_ty_client_tz rec;
    rec.zone_word = 7;
    rec.dst_starts = &rec;
    EXPECT_EQ(osl_time_get_client_tz(&rec), 0);
    EXPECT_EQ(rec.zone_word, 0) << c.tz;
    EXPECT_EQ(rec.gmt_offset, c.offset) << c.tz;
    EXPECT_EQ(rec.dst_starts, nullptr);
    EXPECT_EQ(rec.dst_ends, nullptr);
    ASSERT_NE(rec.name, nullptr);
    EXPECT_STREQ(rec.name, c.name) << c.tz;
  }
}

}  // namespace
