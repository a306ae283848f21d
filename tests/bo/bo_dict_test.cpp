// The data dictionary through the loop-back manager: fetch on miss of every
// kind, the answering side's edge cases, shared components, cache files and
// the table look-ups it forwards.
#include <algorithm>

#include "bo/bo_util.h"
#include "bo_choice_fixture.h"
#include "bo_dict_fixture.h"
#include "bohost_msg.h"

using namespace KCLASSIC;
using namespace botest;
using kctest::expectErr;
using kctest::thrown;

namespace {

KDdDaylight* Period(long id, const char* zone, int year) {
  return new KDdDaylight(id, zone, KOleDateTime(year, 4, 1, 2, 0, 0), KOleDateTime(year, 10, 28, 2, 0, 0));
}

class DictLoopTest : public DictTest {
 protected:
  // The server holds one record of every kind.
  void FillServer() {
    PutTable(*server, 2000, "Acct");
    PutTable(*server, 2001, "Other");
    server->GetDataDictCompnt()->AddBusObj(new KDdBusObj("Account", 7, 2000, "acct2"));
    server->GetDataDictCompnt()->AddBusObj(new KDdBusObj("Contact", 8, 2001, ""));
    server->GetChoiceTableCompnt()->AddChoiceTable(SampleTable("Status", "StatusDetail"), 0);
    server->GetUserChoiceListCompnt()->AddUserChoiceList(SampleList("Priority", 7), 0);
    server->GetStringCompnt()->AddString(new KDdString(DbId(5, 3), "Hello", "Greet"), 1033);
    server->GetStringCompnt()->AddString(new KDdString(DbId(6, 3), "Bye", "Part"), 1033);
    server->GetCurrencyCompnt()->AddCurrency(new KDdCurrency(1, "USD", "$", "Dollar", 1, 1.0f, "USD", 2, 0));
    server->GetTimezoneCompnt()->AddTimezone(new KDdTimezone(4, "PST", "Pacific", -480, 0));
    server->GetDaylightCompnt()->AddDaylight(Period(9, "PST", 2004));
    server->GetLocaleCompnt()->AddLocale(new KDdLocale(3, "en", "us", 1033, 1033, "en_US"));
  }
  KZString LocaleKey() {
    KZString key;
    return static_cast<KDdLocale*>(server->GetLocale(0, 1))->GetKey(key);
  }
};

TEST_F(DictLoopTest, EveryKindIsFetchedOnceOnAMissAndNeverWithFlagOne) {
  FillServer();
  KZString locale = LocaleKey();
  KZString status("Status"), priority("Priority");
  struct Kind {
    const char* name;
    std::function<bool(int flags)> find;
  } kinds[] = {
      {"table by id", [&](int f) { return client->FindTable(2000, f) != nullptr; }},
      {"table by name", [&](int f) { return client->FindTable(KZString("OTHER"), f) != nullptr; }},
      {"busobj by id", [&](int f) { return client->FindBusObj(7, f) != nullptr; }},
      {"busobj by name", [&](int f) { return client->FindBusObj(KZString("contact"), f) != nullptr; }},
      {"choice table", [&](int f) { return client->FindChoiceTable(1033, status, f) != nullptr; }},
      {"user list", [&](int f) { return client->FindUserChoiceList(1033, priority, f) != nullptr; }},
      {"string by id", [&](int f) { return client->FindString(1033, CrmId(5, 3), f) != nullptr; }},
      {"string by key", [&](int f) { return client->FindString(1033, KZString("PART"), f) != nullptr; }},
      {"currency by name", [&](int f) { return client->FindCurrency(KZString("usd"), f) != nullptr; }},
      {"time zone", [&](int f) { return client->FindTimezone(KZString("PST"), f) != nullptr; }},
      {"daylight", [&](int f) { return client->FindDaylight(KZString("PST"), 2004, f) != nullptr; }},
      {"locale", [&](int f) { return client->FindLocale(locale, f) != nullptr; }},
  };
  for (auto& kind : kinds) {
    SCOPED_TRACE(kind.name);
    int before = loop.fetches;
    EXPECT_FALSE(kind.find(1)) << kind.name;
    EXPECT_EQ(loop.fetches, before) << kind.name;
    EXPECT_TRUE(kind.find(0)) << kind.name;
    int after = loop.fetches;
    EXPECT_LE(after - before, 1) << kind.name;
    EXPECT_TRUE(kind.find(0)) << kind.name;
    EXPECT_EQ(loop.fetches, after) << kind.name << ": found locally the second time";
  }
}

TEST_F(DictLoopTest, StringsFallBackAndAMissIsLogged) {
  server->GetStringCompnt()->AddString(new KDdString(DbId(5, 1), "colour", ""), 2057);
  server->GetStringCompnt()->AddString(new KDdString(DbId(5, 2), "default", ""), 1033);
  // Same primary language as 2057 (low 10 bits).
  ASSERT_NE(client->FindString(3081, CrmId(5, 1), 0), nullptr);
  EXPECT_STREQ(*client->FindString(3081, CrmId(5, 1), 0), "colour");
  // Only the default language holds it.
  KZString* text = client->FindString(1036, CrmId(5, 2), 0);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(*text, "default");
  // Nobody holds it: null and one "SystemError" line.
  EXPECT_EQ(client->FindString(1033, CrmId(5, 9), 0), nullptr);
  ASSERT_FALSE(loop.log.empty());
  EXPECT_EQ(loop.log.back().first, "SystemError");
  EXPECT_EQ(loop.log.back().second, "Failed to find string. StringId = " + std::to_string(CrmId(5, 9)) +
                                        ", LocaleId=1033.");
  EXPECT_EQ(client->FindString(1033, KZString("nokey"), 0), nullptr);
  EXPECT_EQ(loop.log.back().second, "Failed to find string. StringId = nokey, LocaleId=1033.");
}

TEST_F(DictLoopTest, TheLibrarysOwnStringsComeFromTheResourceTexts) {
  long id = 0x8B000C9;
  KZString expected;
  ASSERT_EQ(UtlLoadString(nullptr, 1033, id, expected), 1);
  KZString* text = client->FindString(1033, id, 0);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(*text, expected);
  int fetches = loop.fetches;
  EXPECT_NE(client->FindString(1033, id, BO_DD_LOCAL_ONLY), nullptr);
  EXPECT_EQ(loop.fetches, fetches);
}

TEST_F(DictLoopTest, FutureTablesAreNeverForwarded) {
  EXPECT_EQ(IsFutureTable("ACCESS_CONTROL"), 1);
  EXPECT_EQ(IsFutureTable("Page_Class"), 1);
  EXPECT_EQ(IsFutureTable("page"), 0);
  EXPECT_EQ(IsFutureTable(nullptr), 0);
  KDdBulkRequest request(server.get());
  request.AddTableRequest(KZString("ACCESS_CONTROL"));
  KDdBulkRequestData answer;
  server->GetMetaData(&request, &answer);
  EXPECT_EQ(mgr.fetches.load(), 0);
  EXPECT_EQ(answer.m_mapTables.GetCount(), 0);
}

TEST_F(DictLoopTest, LoadTablesAsksForEveryMissingIdInOneRequest) {
  PutTable(*client, 5, "held");
  PutTable(*server, 9999, "last");
  PutTable(*server, 10, "ten");
  client->LoadTables();
  ASSERT_EQ(loop.fetches, 1);
  KHostMsg wire(loop.requests[0]);
  KZString name;
  long value = 0;
  wire.ReadString(name);
  EXPECT_STREQ(name, "sess1");
  wire.ReadLong(value);
  wire.ReadLong(value);
  wire.ReadLong(value);
  EXPECT_EQ(value, 0) << "no table names";
  wire.ReadLong(value);
  EXPECT_EQ(value, 9999) << "ids 0 to 9999 less the held one";
  std::vector<long> ids;
  for (int i = 0; i < 9999; ++i) {
    wire.ReadLong(value);
    ids.push_back(value);
  }
  EXPECT_EQ(ids.front(), 0);
  EXPECT_EQ(ids.back(), 9999);
  EXPECT_EQ(std::count(ids.begin(), ids.end(), 5), 0);
  EXPECT_NE(client->FindTable(9999, 1), nullptr);
  EXPECT_NE(client->FindTable(10, 1), nullptr);
}

TEST_F(DictLoopTest, GetMetaDataCurrenciesAgainstEmptyAndFilledComponents) {
  struct Case {
    bool filled;
    bool byId;
    int forwarded;
  } cases[] = {{false, true, 1}, {false, false, 1}, {true, true, 1}, {true, false, 1}};
  for (const Case& c : cases) {
    LoopMgr answering(&config);
    answering.Initialize();
    auto langs = Languages(1033);
    KDdDict dict(&answering);
    dict.InitializeComponents("s", langs.data());
    if (c.filled) dict.GetCurrencyCompnt()->AddCurrency(new KDdCurrency(2, "EUR", "E", "Euro", 0, 1.1f, "EUR", 2, 0));
    KDdBulkRequest request(&dict);
    if (c.byId)
      request.m_arrCurrencyIds.Add(8u);
    else
      request.AddCurrencyRequest("GBP");
    KDdBulkRequestData answer;
    dict.GetMetaData(&request, &answer);
    EXPECT_EQ(answering.fetches, c.forwarded) << c.filled << c.byId;
    EXPECT_EQ(answer.m_mapCurrencies.GetCount(), c.filled ? 1 : 0) << "every currency held is answered";
    dict.InitializeComponents(nullptr, nullptr);
  }
}

TEST_F(DictLoopTest, DaylightsAnswerTheirZoneOrTheirZoneAndAYear) {
  server->GetDaylightCompnt()->AddDaylight(Period(1, "pst", 2004));
  server->GetDaylightCompnt()->AddDaylight(Period(2, "PS", 2004));
  server->GetDaylightCompnt()->AddDaylight(Period(3, "EST", 2004));
  struct Case {
    const char* asked;
    std::vector<std::string> zones;
  } cases[] = {{"PST", {"pst"}}, {"pst2004", {"pst"}}, {"PS", {"PS"}}, {"ps2004x", {}}, {"EST2005", {"EST"}}};
  for (const Case& c : cases) {
    KDdBulkRequest request(server.get());
    request.AddDaylightRequest(c.asked);
    KDdBulkRequestData answer;
    server->GetMetaData(&request, &answer);
    std::vector<std::string> zones;
    KPOSITION pos = answer.m_mapDaylights.GetStartPosition();
    while (pos) zones.push_back(static_cast<const char*>(answer.GetNextDaylight(pos)->GetTimezone()));
    EXPECT_EQ(zones, c.zones) << c.asked;
  }
}

TEST_F(DictLoopTest, ComponentsAreSharedWithTheManagersDictionary) {
  KDdStringCompnt* strings = client->GetStringCompnt();
  EXPECT_EQ(strings->GetRefCount(), 2) << "the client's and the manager's";
  auto langs = Languages(1033);
  client->InitializeComponents("sess1", langs.data());
  EXPECT_EQ(strings->GetRefCount(), 2);
  KDdDict second(&loop);
  second.InitializeComponents("sess2", langs.data());
  EXPECT_EQ(second.GetStringCompnt(), strings);
  EXPECT_EQ(strings->GetRefCount(), 3);
  // Another language replaces the cached one; the older dictionary keeps its own.
  auto german = Languages(1031);
  second.InitializeComponents("sess2", german.data());
  EXPECT_NE(second.GetStringCompnt(), strings);
  EXPECT_EQ(second.GetStringCompnt()->GetLanguage(), 1031u);
  EXPECT_EQ(strings->GetRefCount(), 1) << "only the client holds it now";
  EXPECT_EQ(client->GetStringCompnt(), strings);
  strings->AddString(new KDdString(DbId(5, 1), "still usable", ""), 1033);
  EXPECT_NE(client->FindString(1033, CrmId(5, 1), 1), nullptr);
  second.InitializeComponents(nullptr, nullptr);
  EXPECT_EQ(second.GetStringCompnt(), nullptr);
}

TEST_F(DictLoopTest, AnEmptySlotThrowsInsteadOfBeingFollowed) {
  KDdDict bare(&loop);
  expectErr(*thrown([&] { bare.FindTable(1, 0); }), 0x8B000C9, "KDdDict::FindTable", nullptr);
  expectErr(*thrown([&] { bare.GetCurrencyCount(); }), 0x8B000C9, "KDdDict::GetCurrencyCount", nullptr);
  KZString report;
  EXPECT_EQ(bare.LoadFromCacheFiles(report), 0);
  EXPECT_EQ(bare.SaveToCacheFiles(report), 1);
  expectErr(*thrown([&] { bare.SetNewComponent(&loop, enumDicCmpnt(8), 1033); }), 0x8B000C9,
            "KDdDict::SetNewComponent", nullptr);
  expectErr(*thrown([&] { server->GetMetaData(nullptr, nullptr); }), 0x8B000C9, "KDdDict::GetMetaData", nullptr);
  expectErr(*thrown([&] { server->LoadDictionary(nullptr); }), 0x8B000C9, "KDdDict::GetMetaData", nullptr);
}

TEST_F(DictLoopTest, CacheFilesOfEveryKindAreWrittenAndReadBack) {
  FillServer();
  KZString report;
  EXPECT_EQ(server->SaveToCacheFiles(report), 1);
  for (const char* name : {"DataDict", "Strings", "ChoiceTables", "Currency", "TimeZone", "DayLight", "Locale"})
    EXPECT_NE(std::string(report).find(CacheFile(name)), std::string::npos) << name;
  EXPECT_EQ(std::string(report).find("UserChoiceLists"), std::string::npos);
  // A fresh dictionary of the same database reads them all.
  MgrDouble other(&config);
  other.SetIdentity(7, 1200, 3, "Cust-9.1", "prod", "host", "orbis");
  other.Initialize();
  auto langs = Languages(1033);
  {
    KDdDict reader(&other);
    reader.InitializeComponents("r", langs.data());
    KZString readReport;
    EXPECT_EQ(reader.LoadFromCacheFiles(readReport), 1) << static_cast<const char*>(readReport);
    EXPECT_NE(reader.FindTable(2000, 1), nullptr);
    EXPECT_NE(reader.GetStringCompnt()->FindStringByLang(nullptr, KZString("greet"), 1033, 1), nullptr);
    EXPECT_NE(reader.FindCurrency(1, 1), nullptr);
    EXPECT_NE(reader.FindTimezone(KZString("pst"), 1), nullptr);
    EXPECT_EQ(reader.GetDaylightCount(), 1);
    EXPECT_EQ(reader.GetLocaleCount(), 1);
    KZString status("Status");
    EXPECT_NE(reader.FindChoiceTable(1033, status, 1), nullptr);
    // Nothing modified: nothing written.
    KZString saveReport;
    EXPECT_EQ(reader.SaveToCacheFiles(saveReport), 1);
    EXPECT_TRUE(saveReport.IsEmpty()) << static_cast<const char*>(saveReport);
    reader.InitializeComponents(nullptr, nullptr);
  }
  // Another database's manager: every file is a mismatch.
  MgrDouble stranger(&config);
  stranger.SetIdentity(7, 1201, 3, "Cust-9.1", "prod", "host", "orbis");
  stranger.Initialize();
  KDdDict reader(&stranger);
  reader.InitializeComponents("r", langs.data());
  KZString mismatch;
  reader.LoadFromCacheFiles(mismatch);
  EXPECT_NE(std::string(mismatch).find("Version mismatch"), std::string::npos);
  EXPECT_EQ(reader.GetTableCount(), 0);
  reader.InitializeComponents(nullptr, nullptr);
  other.Terminate();
  stranger.Terminate();
}

TEST_F(DictLoopTest, ModeAndIdentityComeFromTheManager) {
  EXPECT_EQ(client->IsOrbnMode(), 1);
  EXPECT_EQ(client->GetDBSchemaVer(), 1200);
  EXPECT_STREQ(client->GetCustDbVer(), "Cust-9.1");
  EXPECT_EQ(client->GetDefaultLang(), 1033);
  loop.m_lModeType = 0;
  EXPECT_EQ(client->IsOrbnMode(), 0);
  EXPECT_EQ(client->GetModeType(), 0);
}

} // namespace
