// Daylight periods: keys, find by key and by zone and year, add, indexed
// access, fetch on miss, the two record forms and the cache body.
#include "bo/bo_daylight.h"
#include "bo_compnt_fixture.h"
#include "bohost_msg.h"

using namespace KCLASSIC;
using namespace botest;

namespace {

KOleDateTime date(int y, int mo, int d, int h = 2, int mi = 0, int s = 0) { return KOleDateTime(y, mo, d, h, mi, s); }

KOleDateTime invalidDate(double value) {
  KOleDateTime d(value);
  d.SetStatus(KOleDateTime::invalid);
  return d;
}

KDdDaylight* period(long id, const char* zone, KOleDateTime start) {
  return new KDdDaylight(id, zone, start, date(start.GetYear() > 0 ? start.GetYear() : 2000, 10, 31));
}

std::string keyOf(const KDdDaylight& d) {
  KZString k;
  return static_cast<const char*>(d.GetKey(k));
}

long idOf(IDdDaylight* d) { return d ? d->GetId() : -999; }

class DaylightTest : public CompntTest {
 protected:
  KDdDaylightCompnt compnt{1033, &mgr};
};

TEST(Daylight, KeyIsTheZoneFollowedByTheStartYear) {
  struct Case {
    const char* zone;
    KOleDateTime start;
    const char* key;
  } cases[] = {
      {"PST", date(2004, 4, 4), "PST2004"},
      {"pst", date(1999, 12, 31, 23, 59, 59), "pst1999"},
      {"CET", date(1900, 1, 1), "CET1900"},
      {"PST", invalidDate(38000.0), "PST-1"},
      {"", date(2010, 3, 28), "2010"},
  };
  for (const Case& c : cases) EXPECT_EQ(keyOf(KDdDaylight(1, c.zone, c.start, c.start)), c.key);
  EXPECT_EQ(std::string(bo_daylight_key("EST", -45)), "EST-45");
}

TEST_F(DaylightTest, FindByKeyOrZoneAndYearInAnyCase) {
  compnt.AddDaylight(period(1, "PST", date(2004, 4, 4)));
  compnt.AddDaylight(period(2, "PST", date(2005, 4, 3)));
  EXPECT_EQ(compnt.GetDaylightCount(), 2);
  struct Case {
    const char* zoneOrKey;
    long year; // 0: zoneOrKey is a key
    long id;
  } cases[] = {{"PST2004", 0, 1}, {"pst2004", 0, 1}, {"Pst2005", 0, 2}, {"pst", 2004, 1},
               {"PST", 2005, 2},   {"PST", 2006, -999}, {"PST", 0, -999}, {"CET2004", 0, -999}};
  for (const Case& c : cases) {
    IDdDaylight* found = c.year ? compnt.FindDaylight(nullptr, c.zoneOrKey, c.year, 1)
                                : compnt.FindDaylight(nullptr, KZString(c.zoneOrKey), 1);
    EXPECT_EQ(idOf(found), c.id) << c.zoneOrKey << " " << c.year;
  }
  EXPECT_EQ(mgr.fetches, 0);
}

TEST_F(DaylightTest, RepeatedKeyInAnyCaseIsDropped) {
  compnt.AddDaylight(period(1, "PST", date(2004, 4, 4)));
  compnt.AddDaylight(period(2, "pst", date(2004, 3, 1)));
  EXPECT_EQ(compnt.GetDaylightCount(), 1);
  EXPECT_EQ(idOf(compnt.GetDaylight(0, 1)), 1);
  // Periods whose start is not a valid date share the zone's one key.
  compnt.AddDaylight(period(3, "PST", invalidDate(1.0)));
  compnt.AddDaylight(period(4, "PST", invalidDate(2.0)));
  EXPECT_EQ(compnt.GetDaylightCount(), 2);
  EXPECT_EQ(idOf(compnt.FindDaylight(nullptr, "PST", -1, 1)), 3);
}

TEST_F(DaylightTest, IndexedAccessIsLocalAndBounded) {
  compnt.AddDaylight(period(1, "PST", date(2004, 4, 4)));
  EXPECT_EQ(idOf(compnt.GetDaylight(0, 1)), 1);
  for (int index : {1, -1}) EXPECT_EQ(compnt.GetDaylight(index, 1), nullptr);
  kctest::Thrown t = kctest::catchKErr([&] { compnt.GetDaylight(0, 0); });
  EXPECT_TRUE(t.thrown);
  EXPECT_EQ(t.id, KERR_ILLEGAL_ARGUMENT);
  EXPECT_EQ(t.method, "KDdDaylightCompnt::GetTable");
}

TEST_F(DaylightTest, MissFetchesTheComposedKeyOnce) {
  mgr.loader = [&](KDdBulkRequest*) { compnt.AddDaylight(period(9, "EST", date(2007, 3, 11))); };
  EXPECT_EQ(idOf(compnt.FindDaylight(nullptr, "est", 2007, 0)), 9);
  ASSERT_EQ(mgr.fetches, 1);
  EXPECT_EQ(mgr.asked[0].daylights, std::vector<std::string>{"est2007"});
  // A bare zone name never matches a stored key: it goes to the server.
  mgr.loader = nullptr;
  EXPECT_EQ(compnt.FindDaylight(nullptr, KZString("EST"), 0), nullptr);
  ASSERT_EQ(mgr.fetches, 2);
  EXPECT_EQ(mgr.asked[1].daylights, std::vector<std::string>{"EST"});
  EXPECT_EQ(compnt.FindDaylight(nullptr, KZString("EST"), 1), nullptr);
  EXPECT_EQ(mgr.fetches, 2);
}

TEST(Daylight, MessageCarriesDatesToTheSecond) {
  KOleDateTime start = date(2004, 4, 4, 2, 0, 0) + KOleDateTimeSpan(0.4 / 86400.0);
  KDdDaylight sent(7, "PST", start, date(2004, 10, 31, 1, 59, 59));
  KHostMsg msg;
  sent.Write(msg);
  KHostMsg copy(msg.Bytes());
  long id = 0;
  KZString zone, text;
  copy.ReadLong(id);
  copy.ReadString(zone);
  copy.ReadString(text);
  EXPECT_EQ(std::string(text), "2004-04-04 02:00:00");
  KDdDaylight got(msg);
  EXPECT_EQ(got.GetId(), 7);
  EXPECT_EQ(std::string(got.GetTimezone()), "PST");
  EXPECT_EQ(std::string(got.GetDstStart().Format("%Y-%m-%d %H:%M:%S")), "2004-04-04 02:00:00");
  EXPECT_EQ(std::string(got.GetDstEnd().Format("%Y-%m-%d %H:%M:%S")), "2004-10-31 01:59:59");
  EXPECT_EQ(keyOf(got), "PST2004");
}

TEST(Daylight, EqualityLooksAtIdZoneDatesAndStatuses) {
  KDdDaylight base(1, "PST", date(2004, 4, 4), date(2004, 10, 31));
  KOleDateTime sameValueInvalid = date(2004, 4, 4);
  sameValueInvalid.SetStatus(KOleDateTime::invalid);
  KDdDaylight variants[] = {{2, "PST", date(2004, 4, 4), date(2004, 10, 31)},
                            {1, "pst", date(2004, 4, 4), date(2004, 10, 31)},
                            {1, "PST", date(2004, 4, 5), date(2004, 10, 31)},
                            {1, "PST", sameValueInvalid, date(2004, 10, 31)},
                            {1, "PST", date(2004, 4, 4), date(2004, 10, 30)}};
  for (const KDdDaylight& v : variants) EXPECT_EQ(base == v, 0);
  KDdDaylight copy;
  copy = base;
  EXPECT_EQ(copy == base, 1);
}

TEST_F(DaylightTest, CacheBodyKeepsExactDatesAndStatuses) {
  compnt.AddDaylight(new KDdDaylight(1, "PST", date(2004, 4, 4) + KOleDateTimeSpan(0.123456), date(2004, 10, 31)));
  compnt.AddDaylight(new KDdDaylight(2, "CET", invalidDate(17.25), date(2004, 10, 31)));
  std::string body = StoredBody(compnt);
  KDdDaylightCompnt loaded(1033, &mgr);
  ASSERT_EQ(LoadBody(loaded, body), 1);
  ASSERT_EQ(loaded.GetDaylightCount(), 2);
  for (int i = 0; i < 2; ++i)
    EXPECT_EQ(*static_cast<KDdDaylight*>(loaded.GetDaylight(i, 1)) == *static_cast<KDdDaylight*>(compnt.GetDaylight(i, 1)),
              1);
  EXPECT_EQ(loaded.IsModified(), 0);
}

} // namespace
