// The join record and the ANSI join clauses of a view: chains of inner,
// left and right outer joins by exact text, type tests, reordering of joins
// that continue a chain, new chains, the joined-table list, and reuse of the
// record and of the array.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapter/adp_fixture.h"
#include "adapter/adp_tjoin.h"
#include "kclassic/kc_arch.h"
#include "kclassic/kc_file.h"

namespace {

using kind = KAdpTableJoin::convert_type;
constexpr kind kIn = KAdpTableJoin::kInner;
constexpr kind kLeft = KAdpTableJoin::kLeftOuter;
constexpr kind kRight = KAdpTableJoin::kRightOuter;

// One join as the view SQL describes it; type "" for none.
struct j {
  const char *t1, *a1, *t2, *a2, *c1, *c2;
  kind k;
  const char* type = "";
  long to = -1;
};

class AdpTableJoin : public adp_test {
 protected:
  void add(const std::vector<j>& joins) {
    for (const j& x : joins) {
      KAdpTableJoin r;
      ASSERT_EQ(r.SetData(x.t1, x.a1, x.t2, x.a2, x.c1, x.c2, x.k), 0);
      ASSERT_EQ(r.SetTypeColumnName(x.type), 0);
      ASSERT_EQ(r.SetToType(x.to), 0);
      ASSERT_EQ(array_.AddNewTableJoin(r), 0);
    }
  }
  std::string form() {
    KCLASSIC::KZString out("left over");
    EXPECT_EQ(array_.FormJoinStatement(&out), 0);
    return static_cast<const char*>(out);
  }

  KAdpTableJoinArray array_;
};

TEST_F(AdpTableJoin, ARecordIsResetBySetDataAndTestsItsTypeOnlyWithATypeColumn) {
  KAdpTableJoin r;
  ASSERT_EQ(r.SetData("A", "", "B", "", "objid", "fk", kIn), 0);
  ASSERT_EQ(r.SetTypeColumnName("gr_type_g"), 0);
  ASSERT_EQ(r.SetToType(10), 0);
  ASSERT_EQ(r.SetData("C", "c", "D", "d", "objid", "d2c", kLeft), 0);
  EXPECT_STREQ(r.type_column, "");
  EXPECT_EQ(r.to_type, -1);
  EXPECT_STREQ(r.table1, "C");
  EXPECT_STREQ(r.alias2, "d");
  EXPECT_EQ(r.kind, kLeft);
  // A to-type without a type column writes no type test.
  ASSERT_EQ(r.SetToType(12), 0);
  ASSERT_EQ(array_.AddNewTableJoin(r), 0);
  EXPECT_EQ(form(), "C c LEFT OUTER JOIN D d ON c.objid = d.d2c \n");
}

TEST_F(AdpTableJoin, ClausesByExactText) {
  struct row {
    const char* what;
    std::vector<j> joins;
    const char* text;
  };
  const row rows[] = {
      {"two inner joins make one chain",
       {{"table_T1", "", "table_T2", "", "objid", "fk", kIn}, {"table_T2", "", "table_T3", "", "objid", "t3fk", kIn}},
       "table_T1  INNER JOIN table_T2  ON table_T1.objid = table_T2.fk \n"
       " INNER JOIN table_T3  ON table_T2.objid = table_T3.t3fk \n"},
      {"the first side joins a written second side",
       {{"table_T2", "", "table_T3", "", "objid", "fk", kIn}, {"table_T1", "", "table_T2", "", "objid", "t2", kIn}},
       "table_T2  INNER JOIN table_T3  ON table_T2.objid = table_T3.fk \n"
       " INNER JOIN table_T1  ON table_T1.objid = table_T2.t2 \n"},
      {"a second join of two written tables adds its equality",
       {{"table_A", "a", "table_B", "b", "objid", "fk", kIn}, {"table_A", "a", "table_B", "b", "objid", "fk2", kIn}},
       "table_A a INNER JOIN table_B b ON a.objid = b.fk \n AND a.objid = b.fk2 \n"},
      {"a join apart from the chain starts a new one",
       {{"table_A", "", "table_B", "", "objid", "fk", kIn}, {"table_C", "", "table_D", "", "objid", "dc", kIn}},
       "table_A  INNER JOIN table_B  ON table_A.objid = table_B.fk \n"
       " , table_C  INNER JOIN table_D  ON table_C.objid = table_D.dc \n"},
      {"a later join continuing the chain goes first",
       {{"table_A", "", "table_B", "", "objid", "ab", kIn},
        {"table_C", "", "table_D", "", "objid", "cd", kIn},
        {"table_B", "", "table_C", "", "objid", "bc", kIn}},
       "table_A  INNER JOIN table_B  ON table_A.objid = table_B.ab \n"
       " INNER JOIN table_C  ON table_B.objid = table_C.bc \n"
       " INNER JOIN table_D  ON table_C.objid = table_D.cd \n"},
      {"left and right outer joins with a type test on the second side",
       {{"table_P", "p", "table_F", "f", "objid", "group2g", kLeft, "gr_type_g", 10},
        {"table_Q", "", "table_G", "", "objid", "q2g", kRight, "gt", 11}},
       "table_P p LEFT OUTER JOIN table_F f ON p.objid = f.group2g  AND f.gr_type_g = 10 \n"
       " , table_Q  RIGHT OUTER JOIN table_G  ON table_Q.objid = table_G.q2g  AND table_G.gt = 11 \n"},
      {"inner joins first, then left, then right, on one table list",
       {{"table_B", "", "table_X", "", "objid", "bx", kRight},
        {"table_A", "", "table_C", "", "objid", "ac", kLeft},
        {"table_A", "", "table_B", "", "objid", "ab", kIn}},
       "table_A  INNER JOIN table_B  ON table_A.objid = table_B.ab \n"
       " LEFT OUTER JOIN table_C  ON table_A.objid = table_C.ac \n"
       " RIGHT OUTER JOIN table_X  ON table_B.objid = table_X.bx \n"},
      {"an outer join whose first side joins the chain turns around",
       {{"table_A", "", "table_B", "", "objid", "ab", kIn},
        {"table_P", "", "table_B", "", "objid", "pb", kLeft},
        {"table_Q", "", "table_A", "", "objid", "qa", kRight}},
       "table_A  INNER JOIN table_B  ON table_A.objid = table_B.ab \n"
       " RIGHT OUTER JOIN table_P  ON table_P.objid = table_B.pb \n"
       " LEFT OUTER JOIN table_Q  ON table_Q.objid = table_A.qa \n"},
      {"an outer join of two written tables writes its table again",
       {{"table_A", "", "table_B", "", "objid", "ab", kIn}, {"table_A", "", "table_B", "", "objid", "ab2", kLeft}},
       "table_A  INNER JOIN table_B  ON table_A.objid = table_B.ab \n"
       " LEFT OUTER JOIN table_B  ON table_A.objid = table_B.ab2 \n"},
      {"no joins", {}, ""},
  };
  for (const row& r : rows) {
    array_.RemoveAll();
    add(r.joins);
    EXPECT_EQ(form(), r.text) << r.what;
  }
}

TEST_F(AdpTableJoin, TheJoinedTableListKnowsEveryTableByNameAndAlias) {
  add({{"table_A", "a", "table_B", "", "objid", "ab", kIn}, {"table_C", "", "table_D", "d", "objid", "cd", kIn}});
  EXPECT_EQ(array_.DoesTableExistInCondition("table_A", "a"), 0);  // nothing formed yet
  form();
  // The second chain emptied the list; it is made again from every join.
  EXPECT_EQ(array_.DoesTableExistInCondition("table_A", "a"), 1);
  EXPECT_EQ(array_.DoesTableExistInCondition("table_B", ""), 1);
  EXPECT_EQ(array_.DoesTableExistInCondition("table_D", "d"), 1);
  EXPECT_EQ(array_.DoesTableExistInCondition("table_A", ""), 0);
  EXPECT_EQ(array_.DoesTableExistInCondition("table_D", ""), 0);
  EXPECT_EQ(array_.GetNextSimilarJoin(0, kIn), 1);  // table_C is listed
  EXPECT_EQ(array_.GetNextSimilarJoin(0, kLeft), -1);
  EXPECT_EQ(array_.GetNextSimilarJoin(1, kIn), -1);
  array_.SwapTableJoins(0, 1);
  EXPECT_STREQ(array_.JoinAt(0)->table1, "table_C");
  EXPECT_STREQ(array_.JoinAt(1)->table1, "table_A");
}

TEST_F(AdpTableJoin, AnArrayFormsAgainAndServesTheNextViewAfterRemoveAll) {
  add({{"table_A", "", "table_B", "", "objid", "ab", kIn}});
  const std::string once = form();
  EXPECT_EQ(form(), once);  // a second call does not repeat the text
  array_.RemoveAll();
  EXPECT_EQ(array_.GetSize(), 0);
  EXPECT_EQ(array_.DoesTableExistInCondition("table_A", ""), 0);
  add({{"table_C", "", "table_D", "", "objid", "cd", kLeft}});
  EXPECT_EQ(form(), "table_C  LEFT OUTER JOIN table_D  ON table_C.objid = table_D.cd \n");
  EXPECT_EQ(array_.DoesTableExistInCondition("table_A", ""), 0);
  // Held joins are the array's (the sanitizer sees them freed with it), and
  // the array stores nothing of them in an archive.
  auto* held = new KAdpTableJoinArray;
  KAdpTableJoin r;
  ASSERT_EQ(r.SetData("table_A", "", "table_B", "", "objid", "ab", kIn), 0);
  ASSERT_EQ(held->AddNewTableJoin(r), 0);
  const std::string path = (dir_.path() / "joins.bin").string();
  {
    KCLASSIC::KFile f(path.c_str(), KCLASSIC::KFILE_CREATE | KCLASSIC::KFILE_WRITE);
    {
      KCLASSIC::KArchive ar(&f, KCLASSIC::KArchive::store);
      held->Serialize(ar);
    }
    f.Close();
  }
  EXPECT_EQ(file_text("joins.bin"), "");
  delete held;
}

}  // namespace
