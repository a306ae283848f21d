// Comparing relations: drops and keeps of user-defined relations, renames,
// changes refused for user-defined and exclusive relations, additions into
// exclusive groups and outer joins of views.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "cmp_fixture.h"
#include "core/utl/utl_col.h"
#include "schema/typ_bld.h"
#include "schema/typ_cmp.h"
#include "schema/typ_sch.h"

namespace {

using typ_cmp_rel = cmp_test;

std::string obj(const std::string& name, long id, const std::string& rels = "") {
  return bld_obj(name, id, "", rels.empty() ? "" : "RELATIONS " + rels + " RELATIONS_END\n");
}

TEST_F(typ_cmp_rel, RelationsComparedIntoReportAndRecords) {
  const std::string b_user = obj("b", 11, "b2a OTM a INV_REL=a2b USER_DEFINED");
  const std::string a_user = obj("a", 10, "a2b MTO b INV_REL=b2a USER_DEFINED");
  const std::string t = obj("t", 11, "t2a OTM a INV_REL=a2t");
  struct row {
    const char* what;
    std::string old_text, new_text;
    unsigned long options;
    long status;
    std::vector<std::string> lines;
    std::vector<long> has_ops;  // each op of these among the records
    long a_rels;                // relations of a in the new model afterwards (-1: not checked)
  } rows[] = {
      {"user-defined dropped without preserve, even without allow_drops", a_user + b_user, obj("a", 10) + obj("b", 11),
       0, 0,
       {"  Old user-defined relation 'a2b' has been flagged for deletion.\n",
        "  Old user-defined relation 'b2a' has been flagged for deletion.\n"},
       {}, 0},
      {"user-defined kept under preserve", a_user + b_user, obj("a", 10) + obj("b", 11), TYP_OPT_PRESERVE_USER, 0,
       {"  User-defined relation 'a2b' will be preserved.\n"}, {TYP_DIFF_REL_KEPT}, 1},
      {"user-defined under preserve, target type gone",
       obj("a", 10, "a2x MTO x INV_REL=x2a USER_DEFINED") + obj("x", 11, "x2a OTM a INV_REL=a2x USER_DEFINED"),
       obj("a", 10), TYP_OPT_PRESERVE_USER | TYP_OPT_ALLOW_DROPS, 0,
       {"  Old user_defined relation 'a2x' has been flagged for deletion.\n"}, {TYP_DIFF_DELETE_REL}, 0},
      {"renamed through OLD_NAME", obj("a", 10, "a2b MTO b INV_REL=b2a") + obj("b", 11, "b2a OTM a INV_REL=a2b"),
       obj("a", 10, "a2c MTO b INV_REL=b2a OLD_NAME=a2b") + obj("b", 11, "b2a OTM a INV_REL=a2c"),
       TYP_OPT_ALLOW_DROPS, 0, {"  Relation 'a2b' has been flagged to rename to 'a2c'.\n"}, {TYP_DIFF_RENAME_REL}, 1},
      {"user-defined relation given another target", a_user + b_user + obj("c", 12),
       obj("a", 10, "a2b MTO c INV_REL=b2a USER_DEFINED") + obj("b", 11) +
           obj("c", 12, "b2a OTM a INV_REL=a2b USER_DEFINED"),
       0, 0x50004c,
       {"User defined relation 'a2b'/'b2a' does not have same target object in new schema as in old.\n\n"}, {}, -1},
      {"user-defined relation given another kind", a_user + b_user,
       obj("a", 10, "a2b OTOP b INV_REL=b2a USER_DEFINED") + obj("b", 11, "b2a OTOF a INV_REL=a2b USER_DEFINED"), 0,
       0x50004c,
       {"User defined relation 'a2b'/'b2a' does not have same relation type in new schema as in old.\n\n"}, {}, -1},
      {"relation turned user-defined", obj("a", 10, "a2b MTO b INV_REL=b2a") + obj("b", 11, "b2a OTM a INV_REL=a2b"),
       a_user + b_user, 0, 0x500049,
       {"Do not allow duplicate relations ('a2b') in an object ('a').\n\n"}, {}, -1},
      {"exclusive relation dropped", obj("a", 10, "EXCLUSIVE g a2t MTO t INV_REL=t2a") + t, obj("a", 10) + obj("t", 11),
       TYP_OPT_ALLOW_DROPS, 0, {"Relation 'a2t' of exclusive group 'g' is NOT in new schema.\n\n"},
       {TYP_DIFF_EXCL_DROP}, 0},
      {"relation added in an exclusive group", obj("a", 10) + obj("t", 11),
       obj("a", 10, "EXCLUSIVE g a2t MTO t INV_REL=t2a") + t, 0, 0, {"  Relation 'a2t' has been added.\n"},
       {TYP_DIFF_EXCL_ADD}, 1},
      {"relation moved to another group", obj("a", 10, "EXCLUSIVE g a2t MTO t INV_REL=t2a") + t,
       obj("a", 10, "EXCLUSIVE h a2t MTO t INV_REL=t2a") + t, TYP_OPT_ALLOW_DROPS, 0x500046,
       {"Relation 'a2t' in new schema is in exclusive group 'h'.\nRelation 'a2t' in old schema is in exclusive group "
        "'g'.\n\n"},
       {}, -1},
  };
  for (const row& r : rows) {
    SetUp();
    EXPECT_EQ(diff(r.old_text, r.new_text, r.options), r.status) << r.what << "\n" << report;
    for (const auto& l : r.lines) EXPECT_TRUE(says(l)) << r.what << "\n" << report;
    const std::vector<long> got = ops();
    for (long op : r.has_ops)
      EXPECT_NE(std::find(got.begin(), got.end(), op), got.end()) << r.what << ": op " << op << "\n" << report;
    if (r.a_rels >= 0) {
      ASSERT_NE(sch("a"), nullptr) << r.what;
      EXPECT_EQ(sch("a")->nrels, r.a_rels) << r.what;
    }
    TearDown();
  }
}

TEST_F(typ_cmp_rel, RenameRecordNamesBothRelations) {
  ASSERT_EQ(diff(obj("a", 10, "a2b MTO b INV_REL=b2a") + obj("b", 11, "b2a OTM a INV_REL=a2b"),
                 obj("a", 10, "a2c MTO b INV_REL=b2a OLD_NAME=a2b") + obj("b", 11, "b2a OTM a INV_REL=a2c"),
                 TYP_OPT_ALLOW_DROPS),
            0);
  long n = 0;
  utl_col_num(list_, &n);
  const typ_sch_diff_rec* rename = nullptr;
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(list_, i, &e);
    auto* r = static_cast<const typ_sch_diff_rec*>(e);
    if (r->op == TYP_DIFF_RENAME_REL) rename = r;
  }
  ASSERT_NE(rename, nullptr) << report;
  EXPECT_EQ(rename->type_id, 10);
  EXPECT_STREQ(rename->rel.name, "a2b");
  EXPECT_STREQ(rename->new_rel.name, "a2c");
  EXPECT_EQ(rename->droppable, 1);
  // Neither an addition of the new name nor a deletion of the old one.
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(list_, i, &e);
    auto* r = static_cast<const typ_sch_diff_rec*>(e);
    if (r->type_id != 10) continue;
    EXPECT_NE(r->op, TYP_DIFF_ADD_REL) << report;
    EXPECT_NE(r->op, TYP_DIFF_DELETE_REL) << report;
  }
}

TEST_F(typ_cmp_rel, OuterJoinOfAViewFlaggedToChange) {
  const std::string base = obj("a", 10, "a2b MTO b INV_REL=b2a") + obj("b", 11, "b2a OTM a INV_REL=a2b");
  const std::string view = "VIEW v 20 ALIAS a x, b y FIELDS id FROM x.objid UNIQUE FIELDS_END JOINS x.a2b = ";
  ASSERT_EQ(diff(base + view + "y.b2a JOINS_END VIEW_END;\n", base + view + "OUTER y.b2a JOINS_END VIEW_END;\n"), 0);
  EXPECT_TRUE(says("  Outer join option for join on ")) << report;
  EXPECT_EQ(ops(), (std::vector<long>{TYP_DIFF_RECOMPILE_VIEW})) << report;
}

}  // namespace
