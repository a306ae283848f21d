// Damaged choice-table and choice-list bodies and messages from a fixed
// seed: each load either succeeds with records that can be walked in full
// or fails with a KErr (a component then empty); nothing faults or leaks
// (the sanitizers watch).
#include <memory>

#include "bo/bo_choicetbl_compnt.h"
#include "bo/bo_userlist.h"
#include "bo_choice_fixture.h"
#include "bo_compnt_fixture.h"
#include "kclassic/kc_testerr.h"

using namespace KCLASSIC;
using namespace botest;

namespace {

constexpr unsigned kSeed = 20261211;
constexpr int kRounds = 300;

// Reads every field of every choice, nested lists included.
void WalkList(IDdChoiceList* list) {
  KZString state;
  for (long i = 0; i < list->GetCount(); ++i) {
    IDdChoice* c = list->GetChoice(i);
    if (!c) continue;
    c->GetState(state);
    state += c->GetTitle();
    state += c->GetDescription();
    if (c->GetChildChoiceList()) WalkList(c->GetChildChoiceList());
  }
  list->GetDefault();
  list->GetChoiceByRank(0);
}

// Walks the pool, finds each choice by id and lists each choice's group.
void WalkTable(KDdChoiceTable& table) {
  KZString none;
  for (long i = 0; i < table.GetChoiceCount(); ++i) {
    KDdChoice* c = table.GetChoice(i);
    ASSERT_NE(c, nullptr);
    if (c->GetChildChoiceList()) WalkList(c->GetChildChoiceList());
    kctest::catchKErr([&] { table.FindChoice(c->GetId()); });
    kctest::catchKErr([&] {
      IDdChoiceList* list = table.GetChoiceList(table.GetChoiceListName(c), c->GetId());
      WalkList(list);
      list->Release();
    });
  }
  kctest::catchKErr([&] { table.GetDefaultChoice(none); });
  kctest::catchKErr([&] { table.GetChoiceList(none, -1)->Release(); });
}

void WalkTables(KDdChoiceTableCompnt& compnt, const char* const* names) {
  for (; *names; ++names) {
    KZString name(*names);
    IDdChoiceTable* t = compnt.FindChoiceTableByLang(nullptr, name, 0, BO_DD_LOCAL_ONLY);
    if (t) WalkTable(*static_cast<KDdChoiceTable*>(t));
  }
}

const char* const kTableNames[] = {"Status", "Kind", nullptr};
const char* const kListNames[] = {"Priority", "Severity", nullptr};

void FillTables(KDdChoiceTableCompnt& compnt) {
  KDdChoiceTable* status = SampleTable("Status", "StatusDetail");
  static_cast<KDdChoice*>(status->FindChoice(202))->SetChildChoiceList(SampleList("Mid detail", 3));
  compnt.AddChoiceTable(status, 0);
  compnt.AddChoiceTable(SampleTable("Kind", "KindDetail"), 0);
}

void FillLists(KDdUserChoiceListCompnt& compnt) {
  compnt.AddUserChoiceList(SampleList("Priority"), 0);
  compnt.AddUserChoiceList(SampleList("Severity", 0), 0);
}

class ChoiceFuzzTest : public CompntTest {
 protected:
  std::mt19937 rng{kSeed};
};

TEST_F(ChoiceFuzzTest, DamagedChoiceTableBodiesLoadOrEmptyTheComponent) {
  KDdChoiceTableCompnt source(1033, &mgr);
  FillTables(source);
  std::string body = StoredBody(source);
  int failed = 0;
  for (int round = 0; round < kRounds; ++round) {
    KDdChoiceTableCompnt target(1033, &mgr);
    int result = LoadBody(target, Damage(body, rng));
    if (result == 0) {
      ++failed;
      EXPECT_EQ(StoredBody(target), Word(0)) << "round " << round;
    }
    WalkTables(target, kTableNames);
    EXPECT_EQ(target.IsModified(), 0);
  }
  EXPECT_GT(failed, 0);
  EXPECT_LT(failed, kRounds);
}

TEST_F(ChoiceFuzzTest, DamagedChoiceListBodiesLoadOrFailWithAKErr) {
  KDdUserChoiceListCompnt source(1033, &mgr);
  FillLists(source);
  std::string body = StoreArchive([&](KArchive& ar) { source.Serialize(ar); });
  int failed = 0;
  for (int round = 0; round < kRounds; ++round) {
    KDdUserChoiceListCompnt target(1033, &mgr);
    kctest::Thrown t =
        kctest::catchKErr([&] { LoadArchive(Damage(body, rng), [&](KArchive& ar) { target.Serialize(ar); }); });
    if (t.thrown) {
      ++failed;
      target.DeleteContents();
    }
    for (const char* const* n = kListNames; *n; ++n) {
      KZString name(*n);
      IDdChoiceList* list = target.FindUserChoiceListByLang(nullptr, name, 0, BO_DD_LOCAL_ONLY);
      if (list) WalkList(list);
    }
  }
  EXPECT_GT(failed, 0);
  EXPECT_LT(failed, kRounds);
}

template <class REC>
int FuzzMessages(const KHostMsg& written, std::mt19937& rng, void (*walk)(REC&)) {
  std::string bytes(written.Bytes().begin(), written.Bytes().end());
  int failed = 0;
  for (int round = 0; round < kRounds; ++round) {
    std::string damaged = Damage(bytes, rng);
    KHostMsg in(std::vector<uint8_t>(damaged.begin(), damaged.end()));
    std::unique_ptr<REC> record;
    kctest::Thrown t = kctest::catchKErr([&] { record = std::make_unique<REC>(in); });
    if (t.thrown) {
      ++failed;
      EXPECT_EQ(record, nullptr);
    } else {
      walk(*record);
    }
  }
  return failed;
}

TEST_F(ChoiceFuzzTest, DamagedMessagesReadOrFailWithAKErr) {
  std::unique_ptr<KDdChoiceTable> table(SampleTable());
  static_cast<KDdChoice*>(table->FindChoice(100))->SetChildChoiceList(SampleList("Open detail", 0));
  KHostMsg tableMsg;
  table->Write(tableMsg);
  int failed = FuzzMessages<KDdChoiceTable>(tableMsg, rng, [](KDdChoiceTable& t) { WalkTable(t); });
  EXPECT_GT(failed, 0);
  EXPECT_LT(failed, kRounds);

  std::unique_ptr<KDdChoiceList> list(SampleList("Priority", 0));
  KHostMsg listMsg;
  list->Write(listMsg);
  failed = FuzzMessages<KDdChoiceList>(listMsg, rng, [](KDdChoiceList& l) { WalkList(&l); });
  EXPECT_GT(failed, 0);
  EXPECT_LT(failed, kRounds);
}

} // namespace
