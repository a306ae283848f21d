// Locales and time zones: sets fetched only while the component is empty,
// keys in any case, Locale2OrbnLang, the record forms and the cache bodies.
#include "bo/bo_locale.h"
#include "bo/bo_timezone.h"
#include "bo_compnt_fixture.h"
#include "bohost_msg.h"
#include "kclassic/kc_loc.h"

using namespace KCLASSIC;
using namespace botest;

namespace {

KDdLocale* locale(long id, const char* lang, const char* cntry, long lcid, long orbnLang) {
  return new KDdLocale(id, lang, cntry, lcid, orbnLang, "en_US.UTF-8");
}

KDdTimezone* zone(long id, const char* name, long diff = -480) {
  return new KDdTimezone(id, name, "Pacific Standard Time", diff, 0);
}

long idOf(IDdLocale* l) { return l ? l->GetId() : -999; }
long idOf(IDdTimezone* t) { return t ? t->GetId() : -999; }

class LocaleTest : public CompntTest {
 protected:
  KDdLocaleCompnt locales{1033, &mgr};
  KDdTimezoneCompnt zones{1033, &mgr};
};

TEST(Locale, EmptyRecordIsZeroedAndKeyJoinsLanguageAndCountry) {
  KDdLocale empty;
  EXPECT_EQ(empty.GetId(), 0);
  EXPECT_EQ(empty.GetWin32Lcid(), 0);
  EXPECT_EQ(empty.GetOrbnLang(), 0);
  EXPECT_TRUE(empty.GetIsoLang().IsEmpty());
  EXPECT_TRUE(empty.GetCrtLocale().IsEmpty());
  KDdLocale us(1, "us-", "en", 1033, 5, "C");
  KZString key;
  EXPECT_EQ(std::string(us.GetKey(key)), "us-en");
}

TEST_F(LocaleTest, KeysMatchInAnyCaseAndRepeatsAreDropped) {
  locales.AddLocale(locale(1, "US-", "EN", 1033, 5));
  locales.AddLocale(locale(2, "us-", "en", 1033, 6)); // same key: deleted
  locales.AddLocale(locale(3, "fr-", "fr", 1036, 7));
  EXPECT_EQ(locales.GetLocaleCount(), 2);
  EXPECT_EQ(idOf(locales.FindLocale(nullptr, "us-en", 1)), 1);
  EXPECT_EQ(idOf(locales.FindLocale(nullptr, "FR-FR", 0)), 3);
  zones.AddTimezone(zone(1, "pst"));
  zones.AddTimezone(zone(2, "PST"));
  EXPECT_EQ(zones.GetTimezoneCount(), 1);
  EXPECT_EQ(idOf(zones.FindTimezone(nullptr, "PST", 1)), 1);
  EXPECT_EQ(mgr.fetches, 0);
}

// The sets are fetched only while empty: a miss on a filled component
// returns null without asking.
TEST_F(LocaleTest, SetsAreFetchedOnlyWhileEmpty) {
  EXPECT_EQ(locales.FindLocale(nullptr, "us-en", 1), nullptr);
  EXPECT_EQ(zones.FindTimezone(nullptr, "PST", 1), nullptr);
  EXPECT_EQ(mgr.fetches, 0);

  mgr.loader = [&](KDdBulkRequest* r) {
    if (r->m_arrLocaleNames.GetSize()) locales.AddLocale(locale(1, "us-", "en", 1033, 5));
    if (r->m_arrTimezoneNames.GetSize()) zones.AddTimezone(zone(4, "PST"));
  };
  EXPECT_EQ(idOf(locales.FindLocale(nullptr, "US-EN", 0)), 1);
  EXPECT_EQ(idOf(zones.FindTimezone(nullptr, "pst", 0)), 4);
  ASSERT_EQ(mgr.fetches, 2);
  EXPECT_EQ(mgr.asked[0].locales, std::vector<std::string>{"US-EN"});
  EXPECT_EQ(mgr.asked[1].timezones, std::vector<std::string>{"pst"});

  EXPECT_EQ(locales.FindLocale(nullptr, "de-de", 0), nullptr);
  EXPECT_EQ(zones.FindTimezone(nullptr, "CET", 0), nullptr);
  EXPECT_EQ(mgr.fetches, 2);
}

TEST_F(LocaleTest, IndexedAccessIsLocalAndBounded) {
  locales.AddLocale(locale(1, "us-", "en", 1033, 5));
  zones.AddTimezone(zone(2, "PST"));
  EXPECT_EQ(idOf(locales.GetLocale(0, 1)), 1);
  EXPECT_EQ(idOf(zones.GetTimezone(0, 1)), 2);
  for (int index : {1, -1}) {
    EXPECT_EQ(locales.GetLocale(index, 1), nullptr);
    EXPECT_EQ(zones.GetTimezone(index, 1), nullptr);
  }
  kctest::Thrown l = kctest::catchKErr([&] { locales.GetLocale(0, 0); });
  EXPECT_EQ(l.id, KERR_ILLEGAL_ARGUMENT);
  EXPECT_EQ(l.method, "KDdLocaleCompnt::GetTable");
  kctest::Thrown t = kctest::catchKErr([&] { zones.GetTimezone(0, 0); });
  EXPECT_EQ(t.id, KERR_ILLEGAL_ARGUMENT);
  EXPECT_EQ(t.method, "KDdTimezoneCompnt::GetTable");
}

TEST_F(LocaleTest, Locale2OrbnLangTakesTheFirstMatchOrTheDefault) {
  EXPECT_EQ(locales.Locale2OrbnLang(1033), 1033); // no locales: the default
  locales.AddLocale(locale(1, "us-", "en", 1033, 5));
  locales.AddLocale(locale(2, "gb-", "en", 2057, 6));
  locales.AddLocale(locale(3, "ca-", "en", 1033, 8)); // same id: the first decides
  locales.AddLocale(locale(4, "xx-", "xx", -1, 9));
  struct Case {
    long lcid;
    long lang;
  } cases[] = {{1033, 5}, {2057, 6}, {4444, 1033}, {-1, 1033}, {long(0xFFFFFFFFu), 1033}};
  for (const Case& c : cases) EXPECT_EQ(locales.Locale2OrbnLang(c.lcid), c.lang) << c.lcid;
  long current = long(UtlGetLocale("").GetWin32Lcid());
  locales.AddLocale(locale(5, "cu-", "rr", current, 42));
  long expected = current == 1033 ? 5 : current == 2057 ? 6 : 42;
  EXPECT_EQ(locales.Locale2OrbnLang(0), expected);
}

TEST(Locale, RecordsCrossAMessageWhole) {
  KDdLocale sent(3, "fr-", "ca", 3084, 12, "fr_CA.UTF-8");
  KDdTimezone sentZone(5, "EST", "Eastern", -300, 1);
  KHostMsg msg;
  sent.Write(msg);
  sentZone.Write(msg);
  KDdLocale got(msg);
  KDdTimezone gotZone(msg);
  EXPECT_EQ(got == sent, 1);
  EXPECT_EQ(gotZone == sentZone, 1);
  EXPECT_EQ(msg.ReadPosition(), msg.Bytes().size());
}

TEST(Locale, EqualityComparesEveryFieldCaseSensitively) {
  KDdLocale base(1, "us-", "en", 1033, 5, "C");
  KDdLocale variants[] = {{2, "us-", "en", 1033, 5, "C"}, {1, "US-", "en", 1033, 5, "C"},
                          {1, "us-", "EN", 1033, 5, "C"}, {1, "us-", "en", 1034, 5, "C"},
                          {1, "us-", "en", 1033, 6, "C"}, {1, "us-", "en", 1033, 5, "c"}};
  for (const KDdLocale& v : variants) EXPECT_EQ(base == v, 0);
  KDdTimezone zbase(1, "PST", "Pacific", -480, 1);
  KDdTimezone zvariants[] = {{2, "PST", "Pacific", -480, 1}, {1, "pst", "Pacific", -480, 1},
                             {1, "PST", "pacific", -480, 1}, {1, "PST", "Pacific", -420, 1},
                             {1, "PST", "Pacific", -480, 0}};
  for (const KDdTimezone& v : zvariants) EXPECT_EQ(zbase == v, 0);
  KDdLocale lcopy;
  lcopy = base;
  KDdTimezone zcopy;
  zcopy = zbase;
  EXPECT_EQ(lcopy == base, 1);
  EXPECT_EQ(zcopy == zbase, 1);
}

TEST_F(LocaleTest, CacheFilesReadBackTheSameRecordsInOrder) {
  zones.AddTimezone(zone(3, "PST"));
  zones.AddTimezone(zone(1, "EST", -300));
  zones.AddTimezone(zone(2, "GMT", 0));
  locales.AddLocale(locale(1, "us-", "en", 1033, 5));
  locales.AddLocale(locale(2, "fr-", "fr", 1036, 7));
  KZString log;
  ASSERT_EQ(zones.WriteCacheFile(log), 1);
  ASSERT_EQ(locales.WriteCacheFile(log), 1);
  KDdTimezoneCompnt zonesBack(1033, &mgr);
  KDdLocaleCompnt localesBack(1033, &mgr);
  ASSERT_EQ(zonesBack.ReadCacheFile(log), 1);
  ASSERT_EQ(localesBack.ReadCacheFile(log), 1);
  ASSERT_EQ(zonesBack.GetTimezoneCount(), 3);
  ASSERT_EQ(localesBack.GetLocaleCount(), 2);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(*static_cast<KDdTimezone*>(zonesBack.GetTimezone(i, 1)) == *static_cast<KDdTimezone*>(zones.GetTimezone(i, 1)), 1);
  for (int i = 0; i < 2; ++i)
    EXPECT_EQ(*static_cast<KDdLocale*>(localesBack.GetLocale(i, 1)) == *static_cast<KDdLocale*>(locales.GetLocale(i, 1)), 1);
  EXPECT_EQ(zonesBack.IsModified(), 0);
  EXPECT_EQ(localesBack.IsModified(), 0);
}

} // namespace
