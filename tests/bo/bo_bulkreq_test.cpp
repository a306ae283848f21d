// The bulk request: name lists that drop repeats ignoring case, lists that
// keep them, emptiness and emptying.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "bo/bo_bulkreq.h"

using namespace KCLASSIC;

namespace {

KDdDict* const kDict = reinterpret_cast<KDdDict*>(0x1000);

std::string at(const KStringArray& list, int i) { return static_cast<const char*>(list[i]); }

// Each name list that drops repeats, with its add operation.
struct NameList {
  const char* what;
  void (KDdBulkRequest::*add)(const KZString&);
  KStringArray KDdBulkRequest::*list;
};
const NameList kUniqueLists[] = {
    {"choice tables", &KDdBulkRequest::AddChoiceTableRequest, &KDdBulkRequest::m_arrChoiceTableNames},
    {"user choice lists", &KDdBulkRequest::AddUserChoiceListRequest, &KDdBulkRequest::m_arrUserChoiceListNames},
    {"currencies", &KDdBulkRequest::AddCurrencyRequest, &KDdBulkRequest::m_arrCurrencyNames},
    {"time zones", &KDdBulkRequest::AddTimezoneRequest, &KDdBulkRequest::m_arrTimezoneNames},
    {"daylights", &KDdBulkRequest::AddDaylightRequest, &KDdBulkRequest::m_arrDaylightKeys},
    {"locales", &KDdBulkRequest::AddLocaleRequest, &KDdBulkRequest::m_arrLocaleNames},
};

TEST(BulkRequest, StartsEmptyWithDefaultingTwoAndItsDictionary) {
  KDdBulkRequest request(kDict);
  EXPECT_EQ(request.IsEmpty(), 1);
  EXPECT_EQ(request.GetDict(), kDict);
  EXPECT_EQ(request.GetLanguage(), 0);
  EXPECT_EQ(request.GetLangDefaulting(), eLangDefaultAlways);
}

TEST(BulkRequest, NameListsDropRepeatsIgnoringCaseAndKeepTheFirstSpelling) {
  for (const NameList& l : kUniqueLists) {
    SCOPED_TRACE(l.what);
    KDdBulkRequest request(kDict);
    (request.*l.add)("USD");
    (request.*l.add)("usd");
    (request.*l.add)("UsD");
    (request.*l.add)("EUR");
    const KStringArray& list = request.*l.list;
    ASSERT_EQ(list.GetSize(), 2);
    EXPECT_EQ(at(list, 0), "USD");
    EXPECT_EQ(at(list, 1), "EUR");
    EXPECT_EQ(request.IsEmpty(), 0);
  }
}

TEST(BulkRequest, TableAndBusinessObjectListsKeepRepeatsInOrder) {
  KDdBulkRequest request(kDict);
  request.AddTableRequest(7);
  request.AddTableRequest(7);
  request.AddTableRequest(-2);
  request.AddTableRequest("contact");
  request.AddTableRequest("CONTACT");
  request.AddBusObjRequest(11);
  request.AddBusObjRequest("case");
  request.AddBusObjRequest("case");
  ASSERT_EQ(request.GetNumTableByID(), 3);
  EXPECT_EQ(request.GetTableIDAt(0), 7);
  EXPECT_EQ(request.GetTableIDAt(1), 7);
  EXPECT_EQ(request.GetTableIDAt(2), -2);
  ASSERT_EQ(request.GetNumTableByName(), 2);
  EXPECT_EQ(std::string(request.GetTableNameAt(1)), "CONTACT");
  ASSERT_EQ(request.GetNumBusObjByID(), 1);
  EXPECT_EQ(request.GetBusObjIDAt(0), 11);
  ASSERT_EQ(request.GetNumBusObjByName(), 2);
  EXPECT_EQ(std::string(request.GetBusObjNameAt(0)), "case");
}

// Any one list with an entry makes the request non-empty; the language,
// defaulting and dictionary never do.
TEST(BulkRequest, IsEmptyLooksAtTheListsOnly) {
  const std::function<void(KDdBulkRequest&)> fills[] = {
      [](KDdBulkRequest& r) { r.AddTableRequest(1); },
      [](KDdBulkRequest& r) { r.AddTableRequest("t"); },
      [](KDdBulkRequest& r) { r.AddBusObjRequest(1); },
      [](KDdBulkRequest& r) { r.AddBusObjRequest("b"); },
      [](KDdBulkRequest& r) { r.AddChoiceTableRequest("c"); },
      [](KDdBulkRequest& r) { r.AddUserChoiceListRequest("u"); },
      [](KDdBulkRequest& r) { r.m_arrStringIds.Add(4); },
      [](KDdBulkRequest& r) { r.m_arrStringKeys.Add("k"); },
      [](KDdBulkRequest& r) { r.m_arrCurrencyIds.Add(5); },
      [](KDdBulkRequest& r) { r.AddCurrencyRequest("USD"); },
      [](KDdBulkRequest& r) { r.AddTimezoneRequest("PST"); },
      [](KDdBulkRequest& r) { r.AddDaylightRequest("PST2004"); },
      [](KDdBulkRequest& r) { r.AddLocaleRequest("us-en"); },
  };
  KDdBulkRequest bare(nullptr);
  bare.SetLanguage(1036);
  bare.SetLangDefaulting(eLangOnly);
  EXPECT_EQ(bare.IsEmpty(), 1);
  for (size_t i = 0; i < std::size(fills); ++i) {
    SCOPED_TRACE(i);
    KDdBulkRequest request(kDict);
    fills[i](request);
    EXPECT_EQ(request.IsEmpty(), 0);
    request.Empty();
    EXPECT_EQ(request.IsEmpty(), 1);
  }
}

TEST(BulkRequest, EmptyClearsListsDictionaryLanguageAndDefaulting) {
  KDdBulkRequest request(kDict);
  request.SetLanguage(1036);
  request.SetLangDefaulting(eLangOnly);
  request.AddCurrencyRequest("USD");
  request.AddTableRequest(3);
  request.m_arrStringKeys.Add("greeting");
  request.Empty();
  EXPECT_EQ(request.IsEmpty(), 1);
  EXPECT_EQ(request.GetDict(), nullptr);
  EXPECT_EQ(request.GetLanguage(), 0);
  EXPECT_EQ(request.GetLangDefaulting(), eLangDefaultAlways);
  request.AddCurrencyRequest("usd");
  EXPECT_EQ(at(request.m_arrCurrencyNames, 0), "usd");
}

} // namespace
