// The record set's sort: keys with flags, uniqueness and restored order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kc_testerr.h"
#include "kc_testloc.h"
#include "kclassic/kc_rec.h"

using namespace KCLASSIC;
using namespace kctest;

namespace {

class RecSort : public ::testing::Test {
 protected:
  void SetUp() override { startLocales(); }
};

// Record of (key, original row) pairs.
void keyed(KUtlRecord& r, const std::vector<long>& keys) {
  r.RemoveAll(nullptr, "Lk,Lrow");
  for (size_t i = 0; i < keys.size(); ++i) {
    r.SetLongVal(long(i), 0, keys[i]);
    r.SetLongVal(long(i), 1, long(i));
  }
}

std::vector<long> column(const KUtlRecord& r, long c) {
  std::vector<long> out;
  for (long i = 0; i < r.GetRows(); ++i) out.push_back(r.GetLongVal(i, c));
  return out;
}

using V = std::vector<long>;

} // namespace

TEST_F(RecSort, LongKeys) {
  struct Case {
    long flags, unique;
    int restore;
    V keys, sorted, rows;
  } cases[] = {
      {0, 1, 0, {3, 1, 3, 2}, {1, 2, 3}, {1, 3, 0}},
      // Under a descending key the later of two equal rows is the one kept.
      {SORT_DESC, 1, 0, {3, 1, 3, 2}, {3, 2, 1}, {2, 3, 1}},
      {0, 0, 0, {3, 1, 3, 2}, {1, 2, 3, 3}, {1, 3, 0, 2}},
      // Equal rows in reverse of their order under a descending key.
      {SORT_DESC, 0, 0, {3, 1, 3, 2}, {3, 3, 2, 1}, {2, 0, 3, 1}},
      // Unique and restored order: the first of each value, in row order.
      {0, 1, 1, {3, 1, 3, 2, 1}, {3, 1, 2}, {0, 1, 3}},
      // Signed against unsigned.
      {0, 0, 0, {-1, 2, 0}, {-1, 0, 2}, {0, 2, 1}},
      {SORT_UNSIGNED, 0, 0, {-1, 2, 0}, {0, 2, -1}, {2, 1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.flags << " unique " << c.unique << " restore " << c.restore);
    KUtlRecord r;
    keyed(r, c.keys);
    long key = 0 | c.flags;
    EXPECT_EQ(r.SortImp(&key, 1, c.unique, c.restore), long(c.sorted.size()));
    EXPECT_EQ(r.GetRows(), long(c.sorted.size()));
    EXPECT_EQ(column(r, 0), c.sorted);
    EXPECT_EQ(column(r, 1), c.rows);
  }
}

TEST_F(RecSort, TextKeysAndSeveralKeys) {
  KUtlRecord r;
  r.RemoveAll(nullptr, "Sname,Lrow");
  const char* names[] = {"b", "A", nullptr, "a", "B"};
  for (long i = 0; i < 5; ++i) {
    r.SetString(i, 0, names[i]);
    r.SetLongVal(i, 1, i);
  }
  // Without regard to case, ties by row; NULL first.
  long key = 0;
  r.SortImp(&key, 1, 0, 0);
  EXPECT_EQ(column(r, 1), (V{2, 1, 3, 0, 4}));
  // With SORT_CASE a NULL text still comes first; upper case before lower.
  key = SORT_CASE;
  r.SortImp(&key, 1, 0, 0);
  EXPECT_EQ(r.GetString(0, 0), nullptr);
  EXPECT_STREQ(r.GetString(1, 0), "A");
  EXPECT_STREQ(r.GetString(4, 0), "b");
  // Unique without regard to case keeps one of each name.
  key = 0;
  EXPECT_EQ(r.SortImp(&key, 1, 1, 1), 3);
  // Two keys: the second decides among equals of the first.
  KUtlRecord t;
  t.RemoveAll(nullptr, "La,Lb");
  long pairs[][2] = {{1, 2}, {0, 5}, {1, 1}, {0, 7}};
  for (long i = 0; i < 4; ++i) {
    t.SetLongVal(i, 0, pairs[i][0]);
    t.SetLongVal(i, 1, pairs[i][1]);
  }
  long keys[] = {0, 1 | SORT_DESC};
  t.SortImp(keys, 2, 0, 0);
  EXPECT_EQ(column(t, 1), (V{7, 5, 2, 1}));
}

TEST_F(RecSort, EdgesAndRefusals) {
  KUtlRecord empty;
  empty.RemoveAll(nullptr, "La");
  long key = 0;
  EXPECT_EQ(empty.SortImp(&key, 1, 1, 0), 0);
  KUtlRecord one;
  keyed(one, {4});
  EXPECT_EQ(one.SortImp(&key, 1, 1, 1), 1);

  KUtlRecord r;
  r.RemoveAll(nullptr, "La,Bb,Rc");
  r.SetLongVal(1, 0, 1);
  for (long col : {1L, 2L}) {
    long k = col;
    expectErr(*thrown([&] { r.SortImp(&k, 1, 0, 0); }), KERR_RECORD_ACCESS, "KUtlRecord::CompareRows",
              "Unsupported column type");
    expectErr(*thrown([&] { r.CompareRows(0, 1, &k, 1, 0); }), KERR_RECORD_ACCESS, "KUtlRecord::CompareRows",
              "Unsupported column type");
  }
  EXPECT_EQ(r.GetRows(), 2);
  EXPECT_EQ(r.GetLongVal(1, 0), 1);
  // Compare with and without the tie-break.
  r.SetLongVal(0, 0, 1);
  key = 0;
  EXPECT_EQ(r.CompareRows(0, 1, &key, 1, 0), 0);
  EXPECT_EQ(r.CompareRows(0, 1, &key, 1, 1), -1);
  key = SORT_DESC;
  EXPECT_EQ(r.CompareRows(0, 1, &key, 1, 1), 1);
}

TEST_F(RecSort, DuplicatesReleasedWithTheirCells) {
  KUtlRecord r;
  r.RemoveAll(nullptr, "Lk,Stext,Rsub");
  for (long i = 0; i < 6; ++i) {
    r.SetLongVal(i, 0, i % 2);
    r.SetString(i, 1, std::to_string(i).c_str());
    r.GetRecordPtr(i, 2)->RemoveAll(std::to_string(i).c_str(), "LV");
  }
  long key = 0;
  EXPECT_EQ(r.SortImp(&key, 1, 1, 1), 2);
  EXPECT_STREQ(r.GetString(0, 1), "0");
  EXPECT_STREQ(r.GetString(1, 1), "1");
  EXPECT_STREQ(r.GetRecordPtr(1, 2)->GetRecordName(), "1");
}
