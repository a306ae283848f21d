// The bulk request's wire form and the bulk answer: filing by key, walks,
// Append, the round trip through the host's buffer message, loading into a
// dictionary, ownership, and damaged answers.
#include <random>

#include "bo_choice_fixture.h"
#include "bo_dict_fixture.h"
#include "bohost_msg.h"
#include "kclassic/kc_testerr.h"

using namespace KCLASSIC;
using namespace botest;

namespace {

std::vector<std::string> Strings(KHostMsg& msg, long count) {
  std::vector<std::string> out;
  for (long i = 0; i < count; ++i) {
    KZString s;
    msg.ReadString(s);
    out.push_back(static_cast<const char*>(s));
  }
  return out;
}

long Long(KHostMsg& msg) {
  long v = 0;
  msg.ReadLong(v);
  return v;
}

class BulkTest : public DictTest {
 protected:
  // An answer owning one record of every kind.
  void Fill(KDdBulkRequestData& a) {
    a.Add(static_cast<IDdTable*>(new KDdTable("Acct", "c", "g", 2000, 0x42)));
    a.Add(static_cast<IDdBusObj*>(new KDdBusObj("Account", 7, 2000, "second")));
    a.Add(static_cast<IDdChoiceTable*>(SampleTable("Status", "StatusDetail")));
    a.Add(static_cast<IDdChoiceList*>(SampleList("Priority", 7)));
    a.Add(new KDdString(DbId(5, 3), "Hello", "Greet"));
    a.Add(static_cast<IDdCurrency*>(new KDdCurrency(1, "USD", "$", "Dollar", 1, 2.0f, "USD", 2, 0)));
    a.Add(static_cast<IDdTimezone*>(new KDdTimezone(4, "PST", "Pacific", -480, 0)));
    a.Add(static_cast<IDdDaylight*>(
        new KDdDaylight(9, "PST", KOleDateTime(2004, 4, 1, 2, 0, 0), KOleDateTime(2004, 10, 28, 2, 0, 0))));
    a.Add(static_cast<IDdLocale*>(new KDdLocale(3, "en", "us", 1033, 1033, "en_US")));
    a.m_lStringLang = 1031;
    a.m_lChoiceTableLang = 0;
    a.m_lUserChoiceListLang = 1036;
  }
};

TEST_F(BulkTest, TheRequestIsWrittenInItsItemOrder) {
  KDdBulkRequest r(client.get());
  r.SetLanguage(1036);
  r.SetLangDefaulting(eLangDefault);
  r.AddTableRequest(KZString("acct"));
  r.AddTableRequest(7);
  r.AddTableRequest(7);
  r.AddBusObjRequest(KZString("Account"));
  r.AddBusObjRequest(8);
  r.AddChoiceTableRequest("Status");
  r.AddUserChoiceListRequest("Priority");
  r.m_arrStringIds.Add(11u);
  r.m_arrStringKeys.Add(KZString("greet"));
  r.m_arrCurrencyIds.Add(1u);
  r.AddCurrencyRequest("USD");
  r.AddCurrencyRequest("usd");
  r.AddTimezoneRequest("PST");
  r.AddDaylightRequest("PST2004");
  r.AddLocaleRequest("us-en");
  KHostMsg msg;
  r.Write(msg);
  EXPECT_EQ(Strings(msg, 1), std::vector<std::string>{"sess1"});
  EXPECT_EQ(Long(msg), 1036);
  EXPECT_EQ(Long(msg), 1);
  EXPECT_EQ(Long(msg), 1);
  EXPECT_EQ(Strings(msg, 1), std::vector<std::string>{"acct"});
  EXPECT_EQ(Long(msg), 2) << "repeated table ids are both written";
  EXPECT_EQ(Long(msg), 7);
  EXPECT_EQ(Long(msg), 7);
  EXPECT_EQ(Long(msg), 1);
  EXPECT_EQ(Strings(msg, 1), std::vector<std::string>{"Account"});
  EXPECT_EQ(Long(msg), 1);
  EXPECT_EQ(Long(msg), 8);
  for (const char* name : {"Status", "Priority"}) {
    EXPECT_EQ(Long(msg), 1);
    EXPECT_EQ(Strings(msg, 1), std::vector<std::string>{name});
  }
  EXPECT_EQ(Long(msg), 1);
  EXPECT_EQ(Long(msg), 11);
  EXPECT_EQ(Long(msg), 1);
  EXPECT_EQ(Strings(msg, 1), std::vector<std::string>{"greet"});
  EXPECT_EQ(Long(msg), 1);
  EXPECT_EQ(Long(msg), 1);
  for (const char* name : {"USD", "PST", "PST2004", "us-en"}) {
    EXPECT_EQ(Long(msg), 1) << name;
    EXPECT_EQ(Strings(msg, 1), std::vector<std::string>{name});
  }
  EXPECT_EQ(msg.ReadPosition(), msg.Bytes().size());
  KDdBulkRequest orphan(nullptr);
  kctest::expectErr(*kctest::thrown([&] { orphan.Write(msg); }), 0x8B000C9, "KDdBulkRequest::Write", nullptr);
}

TEST_F(BulkTest, AnAnswerWrittenAndReadBackIsEqual) {
  KDdBulkRequestData sent;
  Fill(sent);
  KHostMsg msg;
  sent.Write(msg);
  KDdBulkRequestData got;
  got.Read(msg);
  EXPECT_EQ(msg.ReadPosition(), msg.Bytes().size());
  EXPECT_EQ(got.m_lStringLang, 1031);
  EXPECT_EQ(got.m_lChoiceTableLang, 0);
  EXPECT_EQ(got.m_lUserChoiceListLang, 1036);
  KPOSITION p = got.m_mapTables.GetStartPosition();
  KDdTable* table = got.GetNextTable(p);
  KPOSITION q = sent.m_mapTables.GetStartPosition();
  EXPECT_EQ(*table == *sent.GetNextTable(q), 1);
  p = got.m_mapBusObjs.GetStartPosition();
  q = sent.m_mapBusObjs.GetStartPosition();
  EXPECT_EQ(*got.GetNextBusObj(p) == *sent.GetNextBusObj(q), 1);
  p = got.m_mapChoiceTables.GetStartPosition();
  q = sent.m_mapChoiceTables.GetStartPosition();
  EXPECT_EQ(*got.GetNextChoiceTable(p) == *sent.GetNextChoiceTable(q), 1);
  p = got.m_mapUserChoiceLists.GetStartPosition();
  q = sent.m_mapUserChoiceLists.GetStartPosition();
  EXPECT_EQ(*got.GetNextUserChoiceList(p) == *sent.GetNextUserChoiceList(q), 1);
  p = got.m_mapCurrencies.GetStartPosition();
  q = sent.m_mapCurrencies.GetStartPosition();
  EXPECT_EQ(*got.GetNextCurrency(p) == *sent.GetNextCurrency(q), 1);
  p = got.m_mapTimezones.GetStartPosition();
  q = sent.m_mapTimezones.GetStartPosition();
  EXPECT_EQ(*got.GetNextTimezone(p) == *sent.GetNextTimezone(q), 1);
  p = got.m_mapDaylights.GetStartPosition();
  q = sent.m_mapDaylights.GetStartPosition();
  EXPECT_EQ(*got.GetNextDaylight(p) == *sent.GetNextDaylight(q), 1);
  p = got.m_mapLocales.GetStartPosition();
  q = sent.m_mapLocales.GetStartPosition();
  EXPECT_EQ(*got.GetNextLocale(p) == *sent.GetNextLocale(q), 1);
  KDdString* string = nullptr;
  ASSERT_TRUE(got.m_mapStrings.Lookup((unsigned long)DbId(5, 3), string));
  EXPECT_STREQ(*string->GetString(), "Hello");
  // The same keys.
  void* found = nullptr;
  for (const char* key : {"status"}) EXPECT_TRUE(got.m_mapChoiceTables.Lookup(key, found)) << key;
  EXPECT_TRUE(got.m_mapCurrencies.Lookup("usd", found));
  EXPECT_TRUE(got.m_mapTimezones.Lookup("pst", found));
  KDdTable* byId = nullptr;
  EXPECT_TRUE(got.m_mapTables.Lookup(2000ul, byId));
}

TEST_F(BulkTest, AKeyHeldKeepsTheFirstRecordAndAppendMovesTheRest) {
  KDdBulkRequestData a;
  a.Add(static_cast<IDdCurrency*>(new KDdCurrency(1, "USD", "$", "", 1, 1.0f, "", 2, 0)));
  // Another record of a held key: not stored, and deleted (the sanitizer watches).
  a.Add(static_cast<IDdCurrency*>(new KDdCurrency(2, "usd", "$", "", 1, 1.0f, "", 2, 0)));
  a.Add(static_cast<IDdCurrency*>(nullptr));
  EXPECT_EQ(a.m_mapCurrencies.GetCount(), 1);
  KPOSITION p = a.m_mapCurrencies.GetStartPosition();
  EXPECT_EQ(a.GetNextCurrency(p)->GetId(), 1);
  KDdBulkRequestData b;
  Fill(b);
  a.m_lStringLang = 5;
  a.Append(&b);
  EXPECT_EQ(a.m_lStringLang, 5);
  EXPECT_EQ(a.m_mapCurrencies.GetCount(), 1);
  EXPECT_EQ(a.m_mapTables.GetCount(), 1);
  EXPECT_EQ(a.m_mapBusObjs.GetCount(), 1);
  EXPECT_EQ(a.m_mapChoiceTables.GetCount(), 1);
  EXPECT_EQ(a.m_mapUserChoiceLists.GetCount(), 1);
  EXPECT_EQ(a.m_mapStrings.GetCount(), 1);
  EXPECT_EQ(a.m_mapTimezones.GetCount(), 1);
  EXPECT_EQ(a.m_mapDaylights.GetCount(), 1);
  EXPECT_EQ(a.m_mapLocales.GetCount(), 1);
  EXPECT_EQ(b.m_mapTables.GetCount(), 0) << "moved, not shared";
}

TEST_F(BulkTest, LoadingHandsTheRecordsToTheComponents) {
  KDdBulkRequestData a;
  Fill(a);
  a.m_lStringLang = 1033;
  client->GetStringCompnt()->SetModified(0);
  a.LoadDictionary(client.get());
  EXPECT_EQ(a.m_mapTables.GetCount(), 0);
  EXPECT_NE(client->FindTable(2000, 1), nullptr);
  EXPECT_NE(client->FindBusObj(KZString("ACCOUNT"), 1), nullptr);
  KZString status("Status"), priority("Priority");
  EXPECT_NE(client->FindChoiceTable(1033, status, 1), nullptr);
  EXPECT_NE(client->FindUserChoiceList(1033, priority, 1), nullptr);
  EXPECT_NE(client->GetStringCompnt()->FindStringByLang(nullptr, CrmId(5, 3), 1033, 1), nullptr);
  EXPECT_NE(client->FindCurrency(1, 1), nullptr);
  EXPECT_NE(client->FindTimezone(KZString("pst"), 1), nullptr);
  EXPECT_EQ(client->GetDaylightCount(), 1);
  EXPECT_EQ(client->GetLocaleCount(), 1);
  EXPECT_EQ(loop.fetches, 0);
}

TEST_F(BulkTest, AnAnswerWithOnlyBusinessObjectsChangesNoComponent) {
  KDdBulkRequestData a;
  a.Add(static_cast<IDdBusObj*>(new KDdBusObj("Account", 7, 2000, "")));
  for (int kind = 0; kind < BO_DIC_COMPNT_COUNT; ++kind) client->GetComponent(enumDicCmpnt(kind))->SetModified(0);
  a.LoadDictionary(client.get());
  for (int kind = 0; kind < BO_DIC_COMPNT_COUNT; ++kind)
    EXPECT_EQ(client->GetComponent(enumDicCmpnt(kind))->IsModified(), 0) << kind;
  EXPECT_EQ(client->GetTableCount(), 0);
  EXPECT_EQ(client->GetCurrencyCount(), 0);
  IDdBusObj* account = client->FindBusObj(7, 1);
  ASSERT_NE(account, nullptr) << "the descriptor is filed";
  EXPECT_EQ(account->GetTable(client.get()), nullptr) << "its table is looked up, not remembered";
  PutTable(*client, 2000, "Acct");
  EXPECT_NE(account->GetTable(client.get()), nullptr);
  client->DeleteTable(client->FindTable(2000, 1));
  EXPECT_EQ(account->GetTable(client.get()), nullptr);
}

TEST_F(BulkTest, AnswersFromTheAnsweringDictionaryStayItsRecords) {
  server->GetCurrencyCompnt()->AddCurrency(new KDdCurrency(1, "USD", "$", "", 1, 1.0f, "", 2, 0));
  KDdBulkRequest r(server.get());
  r.AddCurrencyRequest("USD");
  {
    KDdBulkRequestData a;
    server->GetMetaData(&r, &a);
    EXPECT_EQ(a.m_mapCurrencies.GetCount(), 1);
    KPOSITION p = a.m_mapCurrencies.GetStartPosition();
    EXPECT_EQ(a.Owns(a.GetNextCurrency(p)), 0);
  }
  EXPECT_NE(server->FindCurrency(1, 1), nullptr) << "the answer did not delete the component's record";
}

TEST_F(BulkTest, DescriptorsTravelAndCompare) {
  KDdBusObj plain;
  EXPECT_EQ(plain.GetId(), -1);
  EXPECT_EQ(plain.GetTableId(), -1);
  EXPECT_EQ(plain.GetTable(client.get()), nullptr);
  EXPECT_EQ(plain.FindRelation(client.get(), KZString("x")), nullptr);
  KDdBusObj a("Account", 7, 2000, "second");
  EXPECT_FALSE(a == KDdBusObj("account", 7, 2000, "second"));
  EXPECT_FALSE(a == KDdBusObj("Account", 7, 2000, "Second"));
  KDdBusObj copy(a);
  EXPECT_TRUE(copy == a);
  KHostMsg msg;
  a.Write(msg);
  KDdBusObj read;
  read.Read(msg);
  EXPECT_TRUE(read == a);
  std::string image = StoreArchive([&](KArchive& ar) { a.Serialize(ar); });
  KDdBusObj loaded;
  LoadArchive(image, [&](KArchive& ar) { loaded.Serialize(ar); });
  EXPECT_TRUE(loaded == a);
  EXPECT_EQ(image.substr(0, 8), std::string("\x07" "Account", 8));
}

TEST_F(BulkTest, DamagedAnswersFailWithAKErrAndLeakNothing) {
  KDdBulkRequestData sent;
  Fill(sent);
  KHostMsg msg;
  sent.Write(msg);
  std::mt19937 rng(20261211);
  int failures = 0;
  for (int round = 0; round < 400; ++round) {
    std::string bytes(msg.Bytes().begin(), msg.Bytes().end());
    bytes = Damage(bytes, rng);
    KHostMsg damaged(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    KDdBulkRequestData got;
    try {
      got.Read(damaged);
      got.LoadDictionary(client.get());
    } catch (KErr* e) {
      ++failures;
      delete e;
    }
  }
  EXPECT_GT(failures, 0);
}

} // namespace
