// The choice-table component: look-up by name then detail name under
// language 0, tables of other languages, fetch on miss, retired tables
// (each destroyed once), and the cache file.
#include "bo/bo_choicetbl_compnt.h"
#include "bo_choice_fixture.h"
#include "bo_compnt_fixture.h"

using namespace KCLASSIC;
using namespace botest;

namespace {

class ChoiceTableCompntTest : public CompntTest {
 protected:
  void SetUp() override {
    CompntTest::SetUp();
    CountedTable::destroyed = 0;
  }
  IDdChoiceTable* Find(const char* name, long lang = 0, int flags = BO_DD_LOCAL_ONLY) {
    KZString n(name);
    return compnt.FindChoiceTable(nullptr, lang, n, flags);
  }
  CountedTable* Counted(const char* name, const char* detail) {
    auto* t = new CountedTable(name, detail);
    FillSampleTable(*t);
    return t;
  }
  KDdChoiceTableCompnt compnt{1033, &mgr};
};

TEST_F(ChoiceTableCompntTest, FoundByNameThenByDetailNameInAnyCaseAndLanguage) {
  KDdChoiceTable* status = SampleTable("Status", "StatusDetail");
  KDdChoiceTable* alpha = SampleTable("Alpha", "Beta");
  KDdChoiceTable* beta = SampleTable("beta", "Gamma");
  compnt.AddChoiceTable(status, 0);
  compnt.AddChoiceTable(alpha, 0);
  compnt.AddChoiceTable(beta, 0);
  const std::pair<const char*, KDdChoiceTable*> cases[] = {
      {"STATUS", status}, {"statusDETAIL", status}, {"alpha", alpha},
      {"BETA", beta}, // a name wins over another table's detail name
      {"gamma", beta},  {"Delta", nullptr}};
  for (long lang : {0L, 5L, 1033L})
    for (const auto& c : cases)
      EXPECT_EQ(Find(c.first, lang), static_cast<IDdChoiceTable*>(c.second)) << c.first << " " << lang;
  EXPECT_EQ(mgr.fetches, 0);
}

// Tables filed under another language are reached only by the detail-name
// walk of that language.
TEST_F(ChoiceTableCompntTest, ATableUnderLanguageFiveIsSeenOnlyByItsDetailNameWalk) {
  KDdChoiceTable* table = SampleTable("Status", "StatusDetail");
  compnt.AddChoiceTable(table, 5);
  EXPECT_EQ(compnt.IsModified(), 1);
  EXPECT_EQ(Find("Status", 5), nullptr);
  EXPECT_EQ(Find("StatusDetail", 5), nullptr);
  KZString detail("STATUSdetail"), name("Status");
  EXPECT_EQ(compnt.FindLocalChoiceTableByDetailName(detail, 5), table);
  EXPECT_EQ(compnt.FindLocalChoiceTableByDetailName(detail, 0), nullptr);
  EXPECT_EQ(compnt.FindLocalChoiceTableByDetailName(name, 5), nullptr);
  EXPECT_EQ(mgr.fetches, 0);
}

TEST_F(ChoiceTableCompntTest, FetchOnMissAsksForLanguageZeroAndThrowsWhenNothingCame) {
  mgr.loader = [&](KDdBulkRequest*) { compnt.AddChoiceTable(SampleTable("Status", "StatusDetail"), 0); };
  IDdChoiceTable* found = Find("StaTus", 5, 0);
  ASSERT_NE(found, nullptr);
  ASSERT_EQ(mgr.fetches, 1);
  EXPECT_EQ(mgr.asked[0].choiceTables, std::vector<std::string>{"StaTus"});
  EXPECT_EQ(mgr.asked[0].language, 0);
  EXPECT_TRUE(mgr.asked[0].userLists.empty());
  EXPECT_EQ(Find("statusdetail", 5, 0), found);
  EXPECT_EQ(mgr.fetches, 1);

  mgr.loader = nullptr;
  kctest::Thrown t = kctest::catchKErr([&] { Find("Missing", 3, 0); });
  EXPECT_EQ(t.id, KERR_DD_CHOICE_TABLE_NOT_FOUND);
  EXPECT_EQ(t.method, "KDdChoiceTableCompnt::FindChoiceTableByLang");
  EXPECT_EQ(t.params, std::vector<std::string>{"Missing"});
  EXPECT_EQ(mgr.fetches, 2);
  EXPECT_EQ(Find("Missing", 3, BO_DD_LOCAL_ONLY), nullptr);
  EXPECT_EQ(mgr.fetches, 2);
}

TEST_F(ChoiceTableCompntTest, AReplacedTableIsRetiredStaysUsableAndIsDestroyedOnce) {
  CountedTable* older = Counted("Status", "Old detail");
  compnt.AddChoiceTable(older, 0);
  IDdChoiceTable* handedOut = Find("status");
  compnt.SetModified(0);
  CountedTable* newer = Counted("STATUS", "New detail");
  compnt.AddChoiceTable(newer, 0);
  EXPECT_EQ(compnt.IsModified(), 1);
  EXPECT_EQ(Find("status"), static_cast<IDdChoiceTable*>(newer));
  EXPECT_EQ(Find("old detail"), nullptr);
  EXPECT_EQ(compnt.GetRetiredCount(), 1);
  KZString group("Prio");
  IDdChoiceList* list = handedOut->GetChoiceList(group, -1);
  EXPECT_EQ(Titles(list), (std::vector<std::string>{"Low", "Mid"}));
  list->Release();

  compnt.AddChoiceTable(newer, 0); // the same table again retires nothing
  EXPECT_EQ(compnt.GetRetiredCount(), 1);
  EXPECT_EQ(CountedTable::destroyed, 0);
  compnt.DeleteContents();
  EXPECT_EQ(CountedTable::destroyed, 2);
  EXPECT_EQ(compnt.GetRetiredCount(), 0);
  EXPECT_EQ(Find("status"), nullptr);
}

// A table whose name is another's detail name displaces nothing: both stay
// filed, neither is retired, each is destroyed once.
TEST_F(ChoiceTableCompntTest, AReplacementByDetailNameRetiresNothing) {
  CountedTable* alpha = Counted("Alpha", "Beta");
  compnt.AddChoiceTable(alpha, 0);
  EXPECT_EQ(Find("beta"), static_cast<IDdChoiceTable*>(alpha));
  CountedTable* beta = Counted("Beta", "");
  compnt.AddChoiceTable(beta, 0);
  EXPECT_EQ(compnt.GetRetiredCount(), 0);
  EXPECT_EQ(Find("beta"), static_cast<IDdChoiceTable*>(beta));
  EXPECT_EQ(Find("alpha"), static_cast<IDdChoiceTable*>(alpha));
  compnt.DeleteContents();
  EXPECT_EQ(CountedTable::destroyed, 2);
}

TEST_F(ChoiceTableCompntTest, CacheFileRoundTripsCurrentTablesOfEveryLanguage) {
  compnt.AddChoiceTable(SampleTable("Status", "StatusDetail"), 0);
  compnt.AddChoiceTable(SampleTable("Status", "Replaced"), 0); // retires the first: not written
  compnt.AddChoiceTable(SampleTable("Fr", "FrDetail"), 5);
  KDdChoiceTableCompnt loaded(1033, &mgr);
  ASSERT_EQ(LoadBody(loaded, StoredBody(compnt)), 1);
  EXPECT_EQ(loaded.IsModified(), 0);
  EXPECT_EQ(loaded.GetRetiredCount(), 0);
  KZString status("status"), frDetail("frdetail");
  auto* a = static_cast<KDdChoiceTable*>(compnt.FindChoiceTableByLang(nullptr, status, 0, 1));
  auto* b = static_cast<KDdChoiceTable*>(loaded.FindChoiceTableByLang(nullptr, status, 0, 1));
  ASSERT_TRUE(a && b);
  EXPECT_EQ(*a == *b, 1);
  EXPECT_STREQ(b->GetDetailName(), "Replaced");
  KDdChoiceTable* fr = loaded.FindLocalChoiceTableByDetailName(frDetail, 5);
  ASSERT_NE(fr, nullptr);
  EXPECT_EQ(*fr == *compnt.FindLocalChoiceTableByDetailName(frDetail, 5), 1);
  // Choices loaded from the cache belong to the table's pool.
  EXPECT_NE(b->GetChoice(0)->GetChoiceList(), nullptr);
  EXPECT_EQ(mgr.fetches, 0);

  for (uint32_t count : {0u, 0x80000000u}) {
    KDdChoiceTableCompnt empty(1033, &mgr);
    EXPECT_EQ(LoadBody(empty, Word(count)), 1);
    EXPECT_EQ(StoredBody(empty), Word(0));
  }
}

TEST_F(ChoiceTableCompntTest, ATableThatDoesNotFitItsPoolEmptiesTheComponent) {
  KDdChoiceTable* bad = SampleTable("Bad", "");
  KZString g("Past");
  bad->AddGroup(g, 4, 5, 4);
  compnt.AddChoiceTable(SampleTable("Good", ""), 0);
  compnt.AddChoiceTable(bad, 0);
  std::string body = StoredBody(compnt);
  KDdChoiceTableCompnt loaded(1033, &mgr);
  KZString log;
  loaded.AddChoiceTable(SampleTable("Before", ""), 0);
  dir.write("prod_ChoiceTables.Cache", HeaderBytes(7, 1200, 3, "Cust-9.1", "prod", "host", "orbis") + body);
  EXPECT_EQ(loaded.ReadCacheFile(log), 0);
  EXPECT_NE(std::string(log).find("Exception occurred while reading"), std::string::npos);
  KZString good("good"), before("before");
  EXPECT_EQ(loaded.FindChoiceTableByLang(nullptr, good, 0, 1), nullptr);
  EXPECT_EQ(loaded.FindChoiceTableByLang(nullptr, before, 0, 1), nullptr);
  EXPECT_EQ(loaded.IsModified(), 0);
}

} // namespace
