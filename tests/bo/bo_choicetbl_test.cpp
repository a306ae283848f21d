// Choice tables: a group's list (active, current and default choices),
// the default choice, choices by id, group names, argument errors, and
// the message and archive forms with their checks against the pool.
#include "bo/bo_choicetbl.h"
#include "bo_choice_fixture.h"
#include "bo_compnt_fixture.h"
#include "kclassic/kc_testerr.h"

using namespace KCLASSIC;
using namespace botest;

namespace {

struct ListCase {
  const char* group;
  long currentId;
  std::vector<std::string> titles;
  long defaultIndex;
};

TEST(ChoiceTable, GroupListsHoldActiveChoicesTheCurrentOneAndTheDefault) {
  KDdChoiceTable table("Status", "StatusDetail");
  FillSampleTable(table);
  const ListCase cases[] = {
      {"Case", -1, {"Open", "Closed"}, 0},           // default Pending is inactive: 0
      {"Case", 101, {"Open", "Pending", "Closed"}, 1}, // the current inactive one, at its place
      {"Case", 200, {"Open", "Closed"}, 0},          // current id of another group
      {"Prio", -1, {"Low", "Mid"}, 1},
      {"Prio", 201, {"Low", "High", "Mid"}, 2},
      {"Prio", 202, {"Low", "Mid"}, 1},              // an active current choice adds nothing
      {"Empty", -1, {}, 0},
  };
  for (const ListCase& c : cases) {
    SCOPED_TRACE(std::string(c.group) + " " + std::to_string(c.currentId));
    KZString group(c.group);
    IDdChoiceList* list = table.GetChoiceList(group, c.currentId);
    EXPECT_EQ(Titles(list), c.titles);
    EXPECT_EQ(static_cast<KDdChoiceList*>(list)->GetDefaultIndex(), c.defaultIndex);
    EXPECT_EQ(list->GetShowId(), 0);
    EXPECT_STREQ(list->GetName(), "");
    for (long i = 0; i < list->GetCount(); ++i) EXPECT_EQ(list->GetChoice(i)->GetChoiceList(), nullptr); // owners untouched
    list->Release(); // deletes the list, not the choices
  }
  KZString prio("Prio");
  EXPECT_EQ(TitleOf(table.GetDefaultChoice(prio)), "Mid");
}

TEST(ChoiceTable, TableWithoutGroupsListsItsWholePool) {
  KDdChoiceTable table("Plain", "");
  table.AddChoice(TableChoice(0, 1, "A"));
  table.AddChoice(TableChoice(0, 2, "B", 1));
  table.AddChoice(TableChoice(0, 3, "C"));
  table.SetDefaultIndex(2);
  KZString none;
  IDdChoiceList* list = table.GetChoiceList(none, -1);
  EXPECT_EQ(Titles(list), (std::vector<std::string>{"A", "C"}));
  EXPECT_EQ(TitleOf(list->GetDefault()), "C");
  list->Release();
  list = table.GetChoiceList(none, 2);
  EXPECT_EQ(Titles(list), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(TitleOf(list->GetDefault()), "C");
  list->Release();
  EXPECT_EQ(TitleOf(table.GetDefaultChoice(none)), "C");
  table.SetDefaultIndex(1);
  EXPECT_EQ(TitleOf(table.GetDefaultChoice(none)), "B"); // inactivity not considered
  table.SetDefaultIndex(7);
  EXPECT_EQ(table.GetDefaultChoice(none), nullptr);

  KZString group("Any");
  for (auto call : {+[](KDdChoiceTable& t, KZString& g) { t.GetChoiceList(g, -1); },
                    +[](KDdChoiceTable& t, KZString& g) { t.GetDefaultChoice(g); }}) {
    kctest::Thrown t = kctest::catchKErr([&] { call(table, group); });
    EXPECT_TRUE(t.thrown);
    EXPECT_EQ(t.id, KERR_ILLEGAL_ARGUMENT);
    EXPECT_TRUE(t.params.empty());
  }
}

TEST(ChoiceTable, GroupArgumentErrorsNameTheirMethod) {
  KDdChoiceTable table("Status", "StatusDetail");
  FillSampleTable(table);
  struct Case {
    const char* group;
    long id;
    std::vector<std::string> params;
  } cases[] = {{"", KERR_ILLEGAL_ARGUMENT, {}},
               {"case", KERR_DD_CHOICE_GROUP_NOT_FOUND, {"case", "Status"}},
               {"Other", KERR_DD_CHOICE_GROUP_NOT_FOUND, {"Other", "Status"}}};
  for (const Case& c : cases) {
    KZString group(c.group);
    kctest::Thrown list = kctest::catchKErr([&] { table.GetChoiceList(group, -1); });
    kctest::Thrown def = kctest::catchKErr([&] { table.GetDefaultChoice(group); });
    EXPECT_EQ(list.id, c.id) << c.group;
    EXPECT_EQ(list.method, "KDdChoiceTable::FindChoice");
    EXPECT_EQ(list.params, c.params);
    EXPECT_EQ(def.id, c.id) << c.group;
    EXPECT_EQ(def.method, "KDdChoiceTable::GetDefaultChoice");
    EXPECT_EQ(def.params, c.params);
  }
}

TEST(ChoiceTable, DefaultChoiceOfEachGroup) {
  KDdChoiceTable table("Status", "StatusDetail");
  FillSampleTable(table);
  const std::pair<const char*, const char*> cases[] = {{"Case", "Pending"}, {"Prio", "Mid"}, {"Empty", "Open"}};
  for (const auto& c : cases) {
    KZString group(c.first);
    EXPECT_EQ(TitleOf(table.GetDefaultChoice(group)), c.second) << c.first;
  }
}

TEST(ChoiceTable, FindChoiceByIdAndItsGroupName) {
  KDdChoiceTable table("Status", "StatusDetail");
  FillSampleTable(table);
  EXPECT_EQ(TitleOf(table.FindChoice(201)), "High");
  EXPECT_STREQ(table.GetChoiceListName(table.FindChoice(201)), "Prio");
  EXPECT_STREQ(table.GetChoiceListName(table.FindChoice(100)), "Case");
  for (long id : {0L, 12345L, -5L, 2147483647L}) {
    kctest::Thrown t = kctest::catchKErr([&] { table.FindChoice(id); });
    EXPECT_EQ(t.id, KERR_DD_CHOICE_NOT_FOUND);
    EXPECT_EQ(t.method, "KDdChoiceTable::FindChoice");
    EXPECT_EQ(t.params, std::vector<std::string>{std::to_string(id)});
  }
  // A later choice with the same id takes the id over.
  EXPECT_EQ(table.AddChoice(TableChoice(2, 100, "Reopened")), 6);
  EXPECT_EQ(TitleOf(table.FindChoice(100)), "Reopened");
  // Its group index 2 is the "Empty" group; 3 and -1 are no group.
  EXPECT_STREQ(table.GetChoiceListName(table.FindChoice(100)), "Empty");
  for (long group : {3L, -1L}) {
    KDdChoice* stray = TableChoice(group, 500, "Stray");
    kctest::Thrown t = kctest::catchKErr([&] { table.GetChoiceListName(stray); });
    EXPECT_EQ(t.id, KERR_ILLEGAL_ARGUMENT) << group;
    EXPECT_EQ(t.method, "KDdChoiceTable::GetChoiceListName");
    delete stray;
  }
}

TEST(ChoiceTable, RoundTripsThroughMessageAndArchive) {
  KDdChoiceTable* sent = SampleTable();
  static_cast<KDdChoice*>(sent->FindChoice(202))->SetChildChoiceList(SampleList("Mid detail", 3));
  KHostMsg msg;
  sent->Write(msg);
  KHostMsg in = Reread(msg);
  KDdChoiceTable viaMsg(in);
  EXPECT_EQ(in.ReadPosition(), in.Bytes().size());
  EXPECT_EQ(viaMsg == *sent, 1);
  EXPECT_STREQ(viaMsg.GetDetailName(), "StatusDetail");
  for (long i = 0; i < viaMsg.GetChoiceCount(); ++i) EXPECT_EQ(viaMsg.GetChoice(i)->GetChoiceList(), nullptr) << i;

  std::string bytes = StoreArchive([&](KArchive& ar) { sent->Serialize(ar); });
  KDdChoiceTable viaArchive;
  LoadArchive(bytes, [&](KArchive& ar) { viaArchive.Serialize(ar); });
  EXPECT_EQ(viaArchive == *sent, 1);
  IDdChoiceList* pool = viaArchive.GetChoice(0)->GetChoiceList();
  ASSERT_NE(pool, nullptr);
  for (long i = 0; i < viaArchive.GetChoiceCount(); ++i) EXPECT_EQ(viaArchive.GetChoice(i)->GetChoiceList(), pool);
  pool->Release(); // the table's own pool is held
  EXPECT_EQ(pool->GetCount(), 6);
  KZString prio("Prio");
  IDdChoiceList* list = viaArchive.GetChoiceList(prio, 201);
  EXPECT_EQ(Titles(list), (std::vector<std::string>{"Low", "High", "Mid"}));
  list->Release();
  delete sent;
}

// The archive brings the choice index as pairs: they are taken as they
// stand, not rebuilt from the choices.
TEST(ChoiceTable, ArchiveRestoresTheChoiceIndexFromItsPairs) {
  KDdChoiceTable table("Small", "");
  table.AddChoice(TableChoice(0, 7, "Seven"));
  table.AddChoice(TableChoice(0, 8, "Eight"));
  std::string bytes = StoreArchive([&](KArchive& ar) { table.Serialize(ar); });
  std::string pairs = Word(2) + Word(1) + Word(7) + Word(0) + Word(8); // swapped
  size_t pairsAt = bytes.size() - 20;
  ASSERT_EQ(bytes.substr(pairsAt, 4), Word(2));
  KDdChoiceTable swapped;
  LoadArchive(bytes.substr(0, pairsAt) + pairs, [&](KArchive& ar) { swapped.Serialize(ar); });
  EXPECT_EQ(TitleOf(swapped.FindChoice(7)), "Eight");
  EXPECT_EQ(TitleOf(swapped.FindChoice(8)), "Seven");

  KDdChoiceTable none;
  LoadArchive(bytes.substr(0, pairsAt) + Word(0), [&](KArchive& ar) { none.Serialize(ar); });
  EXPECT_EQ(none.GetChoiceCount(), 2);
  EXPECT_EQ(kctest::catchKErr([&] { none.FindChoice(7); }).id, KERR_DD_CHOICE_NOT_FOUND);
}

// Tables built with groups or defaults that do not fit their pool are
// written as they stand and refused when read back; nothing leaks.
TEST(ChoiceTable, GroupsAndDefaultsThatDoNotFitThePoolAreRefusedOnReading) {
  struct Case {
    const char* what;
    long first, count, groupDefault, tableDefault;
    bool fits;
  } cases[] = {
      {"sample", 0, 3, 1, 2, true},         {"empty group at the end", 3, 0, 0, 0, true},
      {"default elsewhere in the pool", 0, 2, 2, 0, true},
      {"negative first", -1, 2, 0, 0, false}, {"negative count", 1, -1, 1, 0, false},
      {"past the end", 2, 2, 2, 0, false},    {"first past the end", 4, 0, 0, 0, false},
      {"group default outside", 0, 3, 3, 0, false}, {"group default negative", 0, 3, -1, 0, false},
      {"table default outside", 0, 3, 1, 3, false}, {"table default negative", 0, 3, 1, -1, false},
      {"huge count", 1, 2147483647, 1, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    KDdChoiceTable built("T", "D");
    for (long id : {1L, 2L, 3L}) built.AddChoice(TableChoice(0, id, "x"));
    KZString g("G");
    built.AddGroup(g, c.first, c.count, c.groupDefault);
    built.SetDefaultIndex(c.tableDefault);
    KHostMsg msg;
    built.Write(msg);
    KHostMsg in = Reread(msg);
    kctest::Thrown viaMsg = kctest::catchKErr([&] { KDdChoiceTable read(in); });
    EXPECT_EQ(viaMsg.thrown, !c.fits);
    EXPECT_EQ(viaMsg.id, c.fits ? 0 : KERR_ILLEGAL_ARGUMENT);
    std::string bytes = StoreArchive([&](KArchive& ar) { built.Serialize(ar); });
    KDdChoiceTable loaded;
    kctest::Thrown viaArchive = kctest::catchKErr([&] { LoadArchive(bytes, [&](KArchive& ar) { loaded.Serialize(ar); }); });
    EXPECT_EQ(viaArchive.thrown, !c.fits);
    EXPECT_EQ(viaArchive.id, c.fits ? 0 : KERR_ILLEGAL_ARGUMENT);
  }

  // An empty table keeps its default 0 both ways; a choice-index position
  // outside the pool is refused.
  KDdChoiceTable empty("E", "");
  KHostMsg msg;
  empty.Write(msg);
  KHostMsg in = Reread(msg);
  KDdChoiceTable back(in);
  EXPECT_EQ(back == empty, 1);
  KDdChoiceTable small("S", "");
  small.AddChoice(TableChoice(0, 7, "Seven"));
  std::string bytes = StoreArchive([&](KArchive& ar) { small.Serialize(ar); });
  for (uint32_t position : {1u, 0xFFFFFFFFu}) {
    KDdChoiceTable bad;
    std::string damaged = bytes.substr(0, bytes.size() - 8) + Word(position) + Word(7);
    kctest::Thrown t = kctest::catchKErr([&] { LoadArchive(damaged, [&](KArchive& ar) { bad.Serialize(ar); }); });
    EXPECT_EQ(t.id, KERR_ILLEGAL_ARGUMENT) << position;
  }
}

TEST(ChoiceTable, TravelsAsAnArchiveObject) {
  KDdChoiceTable* table = SampleTable();
  std::string bytes = StoreArchive([&](KArchive& ar) { ar << table; });
  KDdChoiceTable* back = nullptr;
  LoadArchive(bytes, [&](KArchive& ar) { ar >> back; });
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(*back == *table, 1);
  delete back;
  delete table;
}

} // namespace
