// The user-choice-list component: one name map under language 0, look-ups
// in any letter case and language, fetch on miss, duplicates, displaced
// lists, the cache body, and no cache file.
#include <sys/stat.h>

#include "bo/bo_userlist.h"
#include "bo_choice_fixture.h"
#include "bo_compnt_fixture.h"

using namespace KCLASSIC;
using namespace botest;

namespace {

class UserListTest : public CompntTest {
 protected:
  void SetUp() override {
    CompntTest::SetUp();
    CountedList::destroyed = 0;
  }
  IDdChoiceList* Find(const char* name, long lang = 0, int flags = BO_DD_LOCAL_ONLY) {
    KZString n(name);
    return compnt.FindUserChoiceList(nullptr, lang, n, flags);
  }
  KDdUserChoiceListCompnt compnt{1033, &mgr};
};

TEST_F(UserListTest, ListIsFoundUnderAnyLanguageAndLetterCase) {
  KDdChoiceList* list = SampleList("Priority");
  compnt.AddUserChoiceList(list, 5);
  EXPECT_EQ(compnt.IsModified(), 1);
  for (long lang : {0L, 5L, 1033L, -1L})
    for (const char* name : {"Priority", "priority", "PRIORITY", "pRiOrItY"})
      EXPECT_EQ(Find(name, lang), static_cast<IDdChoiceList*>(list)) << lang << " " << name;
  EXPECT_EQ(Find("Priorit"), nullptr);
  EXPECT_EQ(mgr.fetches, 0);
  // One language entry, numbered 0, whatever language the list came with.
  std::string body = StoreArchive([&](KArchive& ar) { compnt.Serialize(ar); });
  EXPECT_EQ(body.substr(0, 12), Word(1) + Word(0) + Word(1));
}

TEST_F(UserListTest, FetchOnMissAsksOnceWithTheNameAsGivenAndTheLanguage) {
  EXPECT_EQ(Find("Severity", 5, BO_DD_LOCAL_ONLY), nullptr);
  EXPECT_EQ(mgr.fetches, 0);

  mgr.loader = [&](KDdBulkRequest*) { compnt.AddUserChoiceList(SampleList("severity"), 0); };
  IDdChoiceList* found = Find("SeVerity", 5, 0);
  ASSERT_NE(found, nullptr);
  EXPECT_STREQ(found->GetName(), "severity");
  ASSERT_EQ(mgr.fetches, 1);
  EXPECT_EQ(mgr.asked[0].userLists, std::vector<std::string>{"SeVerity"});
  EXPECT_EQ(mgr.asked[0].language, 5);
  EXPECT_TRUE(mgr.asked[0].choiceTables.empty());
  EXPECT_EQ(Find("SEVERITY", 7, 0), found);
  EXPECT_EQ(mgr.fetches, 1);
}

TEST_F(UserListTest, AFetchThatBringsNothingThrowsNotFound) {
  kctest::Thrown t = kctest::catchKErr([&] { Find("Missing", 3, 0); });
  EXPECT_TRUE(t.thrown);
  EXPECT_EQ(t.id, KERR_DD_CHOICE_TABLE_NOT_FOUND);
  EXPECT_EQ(t.method, "KDdUserChoiceListCompnt::FindUserChoiceListByLang");
  EXPECT_EQ(t.params, std::vector<std::string>{"Missing"});
  EXPECT_EQ(mgr.fetches, 1);

  mgr.loader = [](KDdBulkRequest*) { throw new KErr(KERR_INTERNAL, "Host::Fetch"); };
  t = kctest::catchKErr([&] { Find("Missing", 3, 0); });
  EXPECT_EQ(t.method, "Host::Fetch");
  EXPECT_EQ(mgr.fetches, 2);
}

TEST_F(UserListTest, ASecondListOfTheSameNameIsDeletedAndTheFlagLeftAlone) {
  KDdChoiceList* first = SampleList("Priority");
  compnt.AddUserChoiceList(first, 0);
  compnt.SetModified(0);
  auto* second = new CountedList(99, "PRIORITY", 7);
  second->AddChoice(ListChoice(1, "Only", 0));
  compnt.AddUserChoiceList(second, 0);
  EXPECT_EQ(CountedList::destroyed, 1);
  EXPECT_EQ(compnt.IsModified(), 0);
  EXPECT_EQ(Find("priority"), static_cast<IDdChoiceList*>(first));
}

// A held list survives Release whatever its show id, and its choices go
// with it when the component empties.
TEST_F(UserListTest, AHeldListIsNotReleasedAndGoesWithDeleteContents) {
  auto* list = new CountedList(5, "View", 0);
  list->AddChoice(ListChoice(1, "One", 0));
  compnt.AddUserChoiceList(list, 0);
  Find("view")->Release();
  EXPECT_EQ(CountedList::destroyed, 0);
  EXPECT_EQ(TitleOf(Find("VIEW")->GetChoice(0)), "One");
  compnt.DeleteContents();
  EXPECT_EQ(CountedList::destroyed, 1);
  EXPECT_EQ(Find("view"), nullptr);
}

// The raw insertion replaces the name's list; the displaced one stays
// valid until DeleteContents, which destroys each list once.
TEST_F(UserListTest, ADisplacedListStaysValidUntilDeleteContents) {
  auto* older = new CountedList(1, "Kind", 7);
  auto* newer = new CountedList(2, "kind", 7);
  compnt.AddChoiceListeDo(4, "Kind", older);
  compnt.AddChoiceListeDo(9, "KIND", newer);
  compnt.AddChoiceListeDo(0, "kind", newer); // the same list again displaces nothing
  EXPECT_EQ(Find("kind"), static_cast<IDdChoiceList*>(newer));
  EXPECT_EQ(older->GetId(), 1);
  EXPECT_EQ(compnt.IsModified(), 0); // the raw insertion leaves the flag
  compnt.DeleteContents();
  EXPECT_EQ(CountedList::destroyed, 2);
}

TEST_F(UserListTest, WritesAndReadsNoCacheFileAndKeepsItsFlag) {
  compnt.AddUserChoiceList(SampleList("Priority"), 0);
  KZString name, log;
  compnt.GetCacheFileName(name);
  EXPECT_EQ(std::string(name), CacheFile("UserChoiceLists"));
  EXPECT_EQ(compnt.WriteCacheFile(log), 1);
  struct stat st;
  EXPECT_NE(stat(name, &st), 0);

  // A file under its name is neither read nor removed.
  KDdUserChoiceListCompnt other(1033, &mgr);
  dir.write("prod_UserChoiceLists.Cache", HeaderBytes(7, 1200, 3, "Cust-9.1", "prod", "host", "orbis") +
                                              StoreArchive([&](KArchive& ar) { compnt.Serialize(ar); }));
  other.SetModified(1);
  EXPECT_EQ(other.ReadCacheFile(log), 1);
  EXPECT_EQ(other.IsModified(), 1);
  KZString priority("Priority");
  EXPECT_EQ(other.FindUserChoiceListByLang(nullptr, priority, 0, 1), nullptr);
  EXPECT_EQ(stat(name, &st), 0);
  EXPECT_STREQ(log, "");
}

TEST_F(UserListTest, CacheBodyRoundTripsAndFilesEveryListUnderLanguageZero) {
  compnt.AddUserChoiceList(SampleList("Priority"), 0);
  compnt.AddUserChoiceList(SampleList("Severity", 0), 0);
  std::string body = StoreArchive([&](KArchive& ar) { compnt.Serialize(ar); });
  KDdUserChoiceListCompnt loaded(1033, &mgr);
  LoadArchive(body, [&](KArchive& ar) { loaded.Serialize(ar); });
  EXPECT_EQ(loaded.IsModified(), 1);
  for (const char* name : {"priority", "severity"}) {
    KZString n(name);
    auto* a = static_cast<KDdChoiceList*>(compnt.FindUserChoiceListByLang(nullptr, n, 0, 1));
    auto* b = static_cast<KDdChoiceList*>(loaded.FindUserChoiceListByLang(nullptr, n, 0, 1));
    ASSERT_TRUE(a && b) << name;
    EXPECT_EQ(*a == *b, 1) << name;
  }

  // A body whose language is 9 still files its list under 0.
  std::string list = body.substr(12);
  KDdUserChoiceListCompnt nine(1033, &mgr);
  LoadArchive(Word(1) + Word(9) + Word(1) + list, [&](KArchive& ar) { nine.Serialize(ar); });
  EXPECT_EQ(StoreArchive([&](KArchive& ar) { nine.Serialize(ar); }).substr(0, 12), Word(1) + Word(0) + Word(1));

  for (uint32_t first : {0u, 0x80000000u}) {
    KDdUserChoiceListCompnt empty(1033, &mgr);
    LoadArchive(Word(first) + body, [&](KArchive& ar) { empty.Serialize(ar); });
    EXPECT_EQ(empty.IsModified(), 0);
    EXPECT_EQ(StoreArchive([&](KArchive& ar) { empty.Serialize(ar); }), Word(0));
  }
}

} // namespace
