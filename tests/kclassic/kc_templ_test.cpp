// The container templates as the dictionary components use them: arrays of
// record pointers and of records holding strings, the typed by-name maps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kc_testloc.h"
#include "kclassic/kc_array.h"
#include "kclassic/kc_mapnc.h"

using namespace KCLASSIC;

namespace {

class Templates : public ::testing::Test {
 protected:
  void SetUp() override { kctest::startLocales(); }
};

struct Rec {
  int id;
};

// A record with a string, copied deeply.
struct GroupInfo {
  KZString name;
  long first = 0;
};

} // namespace

TEST_F(Templates, PointerArrays) {
  Rec a{1}, b{2}, c{3};
  KArray<Rec*, Rec*> arr;
  arr.SetAtGrow(0, &a);
  arr.SetAtGrow(3, &c); // grows; the gap holds null
  EXPECT_EQ(arr.GetSize(), 4);
  EXPECT_EQ(arr[1], nullptr);
  arr.SetAtGrow(1, &b);
  arr.RemoveAt(1, 2);
  ASSERT_EQ(arr.GetSize(), 2);
  EXPECT_EQ(arr[0]->id, 1);
  EXPECT_EQ(arr[1]->id, 3);
  arr.SetSize(0, -1);
  EXPECT_EQ(arr.GetSize(), 0);
  EXPECT_EQ(a.id, 1); // elements are not owned
}

TEST_F(Templates, RecordArraysCopyStringsDeeply) {
  KArray<GroupInfo, GroupInfo&> groups;
  GroupInfo g;
  g.name = "first";
  g.first = 10;
  groups.SetAtGrow(0, g);
  g.name = "second";
  g.first = 20;
  groups.SetAtGrow(1, g);
  g.name.MakeUpper(); // the stored copies do not change
  for (int i = 2; i < 40; ++i) { // growth moves the records
    GroupInfo more;
    more.name = KZString('m', i);
    groups.SetAtGrow(i, more);
  }
  EXPECT_STREQ(groups[0].name, "first");
  EXPECT_STREQ(groups[1].name, "second");
  EXPECT_EQ(groups[1].first, 20);
  EXPECT_EQ(groups[39].name.GetLength(), 39);
  groups.RemoveAt(0, 1);
  EXPECT_STREQ(groups[0].name, "second");
  groups.SetSize(0, -1);
  EXPECT_EQ(groups.GetSize(), 0);
}

TEST_F(Templates, TypedByNameMapIteration) {
  KTypedPtrMap<KUtlMapStrNoCase2Ob, KZString, Rec*> byName(10);
  byName.InitHashTable(503, 1);
  std::vector<Rec> recs(30);
  for (int i = 0; i < 30; ++i) {
    recs[size_t(i)].id = i;
    byName[KZString('n', i + 1)] = &recs[size_t(i)];
  }
  EXPECT_EQ(byName.GetCount(), 30);
  std::vector<int> seen(30, 0);
  KPOSITION pos = byName.GetStartPosition();
  while (pos) {
    KZString key;
    Rec* r = nullptr;
    byName.GetNextAssoc(pos, key, r);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(key.GetLength(), r->id + 1);
    ++seen[size_t(r->id)];
  }
  EXPECT_EQ(seen, std::vector<int>(30, 1));
  byName.RemoveAll();
  EXPECT_EQ(byName.GetStartPosition(), nullptr);
}
