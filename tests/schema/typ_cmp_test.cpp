// Comparing two compiled schemas: the report text and the difference
// records for types, fields, indexes and relations.
#include <gtest/gtest.h>

#include <algorithm>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "adpdouble/adp_double.h"
#include "adpdouble/adp_double_bld.h"
#include "typ_store_double.h"
#include "cmp_fixture.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_bld.h"
#include "schema/typ_cmp.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "testdb/testdb_tmp.h"

namespace {

const std::string kLong = " CMN_DATA_TYPE=\"long integer\" DB_DATA_TYPE=0";
const std::string kText = " CMN_DATA_TYPE=\"char pointer\" DB_DATA_TYPE=7";

using typ_cmp = cmp_test;

std::string obj(const std::string& name, long id, const std::string& fields = "", const std::string& tail = "") {
  return bld_obj(name, id, fields, tail);
}

TEST_F(typ_cmp, TypesAddedDeletedPreservedAndSkipped) {
  ASSERT_EQ(diff(obj("a", 10), obj("a", 10) + obj("b", 11), TYP_OPT_ALLOW_DROPS), 0);
  EXPECT_TRUE(says("Differences between old and new OrbisanCRM Data Dictionary:\n")) << report;
  EXPECT_TRUE(says("ADDED NEW OBJECT 11 (b).\n")) << report;
  EXPECT_EQ(ops(), (std::vector<long>{TYP_DIFF_ADD_TYPE}));

  TearDown();
  SetUp();
  // A custom type (450) missing: deleted, or preserved with option 0x4000.
  ASSERT_EQ(diff(obj("a", 10) + obj("c", 450), obj("a", 10), TYP_OPT_ALLOW_DROPS), 0);
  EXPECT_TRUE(says("DELETED OLD OBJECT 450 (c).\n")) << report;
  EXPECT_EQ(ops(), (std::vector<long>{TYP_DIFF_DELETE_TYPE}));
  TearDown();
  SetUp();
  ASSERT_EQ(diff(obj("a", 10) + obj("c", 450), obj("a", 10), TYP_OPT_PRESERVE_USER | TYP_OPT_ALLOW_DROPS), 0);
  EXPECT_TRUE(ops().empty());
  EXPECT_NE(sch("c"), nullptr);  // copied into the new model
  // A custom view is preserved with its fields.
  TearDown();
  SetUp();
  const std::string view = "VIEW cv 460 FIELDS id FROM a.objid UNIQUE FIELDS_END VIEW_END;\n";
  ASSERT_EQ(diff(obj("a", 10) + view, obj("a", 10), TYP_OPT_PRESERVE_USER), 0);
  EXPECT_TRUE(says("PRESERVED OLD VIEW 460 (cv).\n")) << report;
  ASSERT_NE(sch("cv"), nullptr);
  EXPECT_EQ(sch("cv")->nfields, 1);
  EXPECT_TRUE(ops().empty()) << report;
  // Type ids 5925..6000 produce nothing.
  TearDown();
  SetUp();
  ASSERT_EQ(diff(obj("a", 10) + obj("s", 5930), obj("a", 10) + obj("t", 5931, ", extra" + kLong)), 0);
  EXPECT_TRUE(ops().empty()) << report;
  // Without allow_drops the deletion of a type is withdrawn with its line.
  TearDown();
  SetUp();
  ASSERT_EQ(diff(obj("a", 10) + obj("gone", 12), obj("a", 10)), 0);
  EXPECT_TRUE(ops().empty());
  EXPECT_NE(printed_.find("changes for the OBJECT 'gone' voilated no_drops"), std::string::npos) << printed_;
}

TEST_F(typ_cmp, FieldChanges) {
  struct row {
    const char* what;
    std::string old_fields, new_fields;
    unsigned long options;
    std::vector<long> ops;
    std::vector<std::string> lines;
    long server = 0;           // the server type answered
    unsigned long header = 0;  // the header flags answered (1: searchable texts case-insensitive)
  } rows[] = {
      {"widened", ", s" + kText + " ARRAY_SIZE=30", ", s" + kText + " ARRAY_SIZE=60", 0,
       {TYP_DIFF_MODIFY_FIELD},
       {"   Field 's' used to have a length of 30, is flagged to change to 60\n"}},
      {"narrowed with USE_LARGER_SIZE", ", s" + kText + " ARRAY_SIZE=60", ", s" + kText + " ARRAY_SIZE=30",
       TYP_OPT_USE_LARGER_SIZE | TYP_OPT_ALLOW_DROPS, {TYP_DIFF_MODIFY_FIELD},
       {"   Field 's' had a longer length of 60. \n   The new length 30 will be ignored and \n   the old length 60 "
        "will be preserved.\n"}},
      {"default only", ", d" + kLong + " DEFAULT=1", ", d" + kLong + " DEFAULT=2", 0, {TYP_DIFF_SCHEMA},
       {"   Field 'd' used to have default '1', is flagged to change as '2'.\n"}},
      {"renamed", ", old_n" + kLong, ", new_n" + kLong + " OLD_NAME=old_n", TYP_OPT_ALLOW_DROPS,
       {TYP_DIFF_RENAME_FIELD}, {"  Field 'new_n' has been flagged for renaming from 'old_n'.\n"}},
      {"old name not found", "", ", new_n" + kLong + " OLD_NAME=nosuch", 0, {TYP_DIFF_ADD_FIELD},
       {"  Old field 'nosuch' can't be found.\n", "  Field 'new_n' has been added.\n"}},
      {"predefined missing, no drops", ", p" + kLong, "", 0, {TYP_DIFF_SCHEMA},
       {"  Old field 'p' has been not found in new schema since allow_drops not specified it will be preserved.\n"}},
      {"predefined missing, drops", ", p" + kLong, "", TYP_OPT_ALLOW_DROPS, {TYP_DIFF_DELETE_FIELD},
       {"  Old field 'p' has been flagged for deletion.\n"}},
      {"user field kept under preserve", ", u" + kLong + " USER_DEFINED", "", TYP_OPT_PRESERVE_USER,
       {TYP_DIFF_SCHEMA}, {"  User-defined field 'u' will be preserved.\n"}},
      {"keyword added", ", k" + kLong, ", k" + kLong + " CHANGE_FIELD", 0, {TYP_DIFF_SCHEMA},
       {"   The CHANGE_FIELD keyword was added to field 'k'.\n"}},
      {"data type changed", ", k" + kLong, ", k CMN_DATA_TYPE=\"char pointer\" DB_DATA_TYPE=0", 0,
       {TYP_DIFF_SCHEMA}, {"  Field 'k' is flagged to change  from  long integer, to char pointer\n"}},
      {"storage type changed", ", k" + kLong, ", k CMN_DATA_TYPE=512 DB_DATA_TYPE=1", TYP_OPT_ALLOW_DROPS,
       {TYP_DIFF_MODIFY_FIELD}, {"  Field 'k' is flagged to change  from  4 byte integer, to 2 byte integer\n"}},
      {"8-byte float kept on server 1", ", k CMN_DATA_TYPE=512 DB_DATA_TYPE=4", ", k CMN_DATA_TYPE=512 DB_DATA_TYPE=3",
       TYP_OPT_USE_LARGER_SIZE | TYP_OPT_ALLOW_DROPS, {TYP_DIFF_MODIFY_FIELD},
       {"   Field 'k' was a 8 byte float. \n   The new data type real will be ignored and \n   the old data type float "
        "will be preserved.\n"},
       1},
      {"4-byte float widened on server 2", ", k CMN_DATA_TYPE=512 DB_DATA_TYPE=3",
       ", k CMN_DATA_TYPE=512 DB_DATA_TYPE=4", TYP_OPT_USE_LARGER_SIZE | TYP_OPT_ALLOW_DROPS, {TYP_DIFF_MODIFY_FIELD},
       {"   Field 'k' was and is flagged to change as a number. \n   Change the data type from 3 to 4 in schema.\n"}, 2},
      {"4-byte float widened on server 1", ", k CMN_DATA_TYPE=512 DB_DATA_TYPE=3",
       ", k CMN_DATA_TYPE=512 DB_DATA_TYPE=4", TYP_OPT_USE_LARGER_SIZE | TYP_OPT_ALLOW_DROPS, {TYP_DIFF_MODIFY_FIELD},
       {"  Field 'k' is flagged to change  from  4 byte float, to 8 byte float\n"}, 1},
      {"generic id changed", ", k" + kLong + " GEN_FIELD_ID=5", ", k" + kLong + " GEN_FIELD_ID=6", 0,
       {TYP_DIFF_SCHEMA}, {"   Field 'k' used to have gen_field_id of 5, is flagged to change to 6\n"}},
      {"ALLOW_NULL removed", ", k" + kLong + " ALLOW_NULL", ", k" + kLong, 0, {TYP_DIFF_SCHEMA},
       {"   The ALLOW_NULL keyword was flagged to remove from field 'k'.\n"}},
      {"CURRENCY removed", ", k" + kLong + " CURRENCY", ", k" + kLong, 0, {TYP_DIFF_SCHEMA},
       {"   The CURRENCY keyword was flagged to remove from field 'k'.\n"}},
      {"text made case-insensitive", ", t" + kText + " ARRAY_SIZE=10", ", t" + kText + " ARRAY_SIZE=10 SEARCHABLE",
       TYP_OPT_ALLOW_DROPS, {TYP_DIFF_MODIFY_FIELD},
       {"   Text field 't' was not case-insensitive, flagged to change.\n"}, 0, 1},
      {"text made case-sensitive", ", t" + kText + " ARRAY_SIZE=10 SEARCHABLE", ", t" + kText + " ARRAY_SIZE=10",
       TYP_OPT_ALLOW_DROPS, {TYP_DIFF_MODIFY_FIELD},
       {"   Text field 't' was case-insensitive, and flagged to change as case sensitive.\n"}, 0, 1},
      {"field count", "", ", one" + kLong + ", two" + kLong, 0, {TYP_DIFF_ADD_FIELD, TYP_DIFF_ADD_FIELD},
       {"  Used to have 1 fields, now is flagged to have  3 fields now.\n"}},
  };
  for (const row& r : rows) {
    SetUp();
    adp_double::set_server_type(r.server);
    adp_double::set_header(r.header, r.header != 0);
    ASSERT_EQ(diff(obj("a", 10, r.old_fields), obj("a", 10, r.new_fields), r.options), 0) << r.what;
    std::vector<long> got = ops();
    EXPECT_EQ(got, r.ops) << r.what << "\n" << report;
    for (const auto& l : r.lines) EXPECT_TRUE(says(l)) << r.what << "\n" << report;
    if (std::string(r.what) == "predefined missing, no drops") {
      EXPECT_NE(fld("a", "p"), nullptr);  // present again in the new model
    }
    if (std::string(r.what) == "widened") {
      // Widening drops nothing: stored as op 2 but not droppable, so it stays.
      void* e = nullptr;
      utl_col_ith(list_, 0, &e);
      EXPECT_EQ(static_cast<typ_sch_diff_rec*>(e)->droppable, 0);
    }
    TearDown();
  }
}

TEST_F(typ_cmp, NameKindAndAttributeChanges) {
  const std::string b = obj("b", 11, "", "RELATIONS b2a OTM a INV_REL=a2b RELATIONS_END\n");
  // A renamed type: op 10 and op 14 for the target of its relation.
  ASSERT_EQ(diff(obj("a", 10, "", "RELATIONS a2b MTO b INV_REL=b2a RELATIONS_END\n") + b,
                 obj("a_new", 10, "", "RELATIONS a2b MTO b INV_REL=b2a RELATIONS_END\n") +
                     obj("b", 11, "", "RELATIONS b2a OTM a_new INV_REL=a2b RELATIONS_END\n"),
                 TYP_OPT_ALLOW_DROPS),
            0);
  auto got = ops();
  EXPECT_EQ(std::count(got.begin(), got.end(), TYP_DIFF_MODIFY_TYPE), 1) << report;
  EXPECT_EQ(std::count(got.begin(), got.end(), TYP_DIFF_REL_SCHEMA), 1) << report;
  // CACHEOBJIDS and ALLOW_FLEX: one op 20 each.
  TearDown();
  SetUp();
  ASSERT_EQ(diff(obj("a", 10) + obj("flex_defn", 12),
                 "OBJECT a 10 CACHEOBJIDS ALLOW_FLEX FIELDS objid" + kLong + " GEN_FIELD_ID=3 FIELDS_END OBJECT_END;\n" +
                     obj("flex_defn", 12),
                 TYP_OPT_ALLOW_DROPS),
            0);
  got = ops();
  EXPECT_EQ(std::count(got.begin(), got.end(), TYP_DIFF_ATTRIBUTE), 2) << report;
  EXPECT_TRUE(says("ADDED NEW OBJECT 100010 (fa_a).\n")) << report;
  // An object turned into a view: deleted and added again.
  TearDown();
  SetUp();
  ASSERT_EQ(diff(obj("a", 10) + obj("k", 13), obj("a", 10) + "VIEW k 13 FIELDS id FROM a.objid UNIQUE FIELDS_END VIEW_END;\n",
                 TYP_OPT_ALLOW_DROPS),
            0);
  EXPECT_TRUE(says("DELETED OLD OBJECT 13 (k).\n")) << report;
  EXPECT_TRUE(says("ADDED NEW VIEW 13 (k).\n")) << report;
}

TEST_F(typ_cmp, ReportFileThatCannotBeOpened) {
  std::string out;
  ASSERT_EQ(compile(obj("a", 10), 0, &out), 0);
  ASSERT_EQ(compile(obj("a", 10), TYP_BLD_UPGRADE, &out), 0);
  ASSERT_EQ(utl_col_make("t", TYP_TY_DIFF, 10, 10, 0, 0, &list_), 0);
  typ_sch_diff_out ctx{"/nonexistent-dir/report.txt", nullptr, 0, nullptr};
  EXPECT_EQ(typ_sch_diffs(nullptr, typ_bld_saved_schema, typ_sch_add_diff, list_, 0, &ctx), 0x500024);
  EXPECT_NE(core_top_alert_text().find("/nonexistent-dir/report.txt"), std::string::npos);
  // A report file that opens is written and closed.
  const std::string report = testdb::tmp_file("schema_report_");
  ASSERT_FALSE(report.empty());
  const char* path = report.c_str();
  ctx = typ_sch_diff_out{path, nullptr, 0, nullptr};
  EXPECT_EQ(typ_sch_diffs(nullptr, typ_bld_saved_schema, typ_sch_add_diff, list_, 0, &ctx), 0);
  EXPECT_EQ(ctx.stream, nullptr);
  FILE* f = std::fopen(path, "r");
  char line[200] = "";
  ASSERT_NE(f, nullptr);
  EXPECT_NE(std::fgets(line, sizeof line, f), nullptr);
  std::fclose(f);
  unlink(path);
  EXPECT_STREQ(line, "\n");
}

TEST_F(typ_cmp, SubobjectIsComparedOnce) {
  const std::string old_sub = "SUBOBJECT s 12 FIELDS q" + kLong + " FIELDS_END SUBOBJECT_END;\n";
  const std::string new_sub = "SUBOBJECT s 12 FIELDS q" + kLong + ", r" + kLong + " FIELDS_END SUBOBJECT_END;\n";
  ASSERT_EQ(diff(obj("a", 10) + old_sub, obj("a", 10) + new_sub), 0);
  EXPECT_EQ(ops(), (std::vector<long>{TYP_DIFF_ADD_FIELD})) << report;
}

TEST_F(typ_cmp, NoDropsWithdrawsAllChangesOfTheObject) {
  // A narrowed field is a drop: the object's addition goes with it.
  ASSERT_EQ(diff(obj("a", 10, ", s" + kText + " ARRAY_SIZE=60"),
                 obj("a", 10, ", s" + kText + " ARRAY_SIZE=30, added" + kLong)),
            0);
  EXPECT_TRUE(ops().empty()) << report;
  EXPECT_NE(printed_.find("  One or more changes for the OBJECT 'a' voilated no_drops, all changes for this object "
                          "reverted.\n"),
            std::string::npos)
      << printed_;
}

TEST_F(typ_cmp, NoDropsWithdrawsAViewWhoseBaseTypeWasWithdrawn) {
  const std::string view = "VIEW v 20 FIELDS id FROM a.objid UNIQUE, vs FROM a.s FIELDS_END VIEW_END;\n";
  ASSERT_EQ(diff(obj("a", 10, ", s" + kText + " ARRAY_SIZE=60") + view,
                 obj("a", 10, ", s" + kText + " ARRAY_SIZE=30") + view),
            0);
  EXPECT_TRUE(ops().empty()) << report;
  EXPECT_NE(printed_.find("  One or more changes for the VIEW 'v' or underlaying table voilated no_drops, all changes "
                          "for this object reverted.\n"),
            std::string::npos)
      << printed_;
  // With allow_drops both stay: the field's change and the view's recompile.
  TearDown();
  SetUp();
  ASSERT_EQ(diff(obj("a", 10, ", s" + kText + " ARRAY_SIZE=60") + view,
                 obj("a", 10, ", s" + kText + " ARRAY_SIZE=30") + view, TYP_OPT_ALLOW_DROPS),
            0);
  EXPECT_EQ(ops(), (std::vector<long>{TYP_DIFF_MODIFY_FIELD, TYP_DIFF_RECOMPILE_VIEW})) << report;
  // A view changed on its own stays when its base type's records are kept.
  TearDown();
  SetUp();
  ASSERT_EQ(diff(obj("a", 10, ", s" + kText + " ARRAY_SIZE=30") + view,
                 obj("a", 10, ", s" + kText + " ARRAY_SIZE=60") + view),
            0);
  EXPECT_EQ(ops(), (std::vector<long>{TYP_DIFF_MODIFY_FIELD, TYP_DIFF_RECOMPILE_VIEW})) << report;
}

TEST_F(typ_cmp, Indexes) {
  const std::string fields = ", x" + kLong + ", y" + kLong;
  adp_double::set_indexes(10, {{"i1", {"x"}, false}, {"i2", {"y"}, true}});
  ASSERT_EQ(diff(obj("a", 10, fields),
                 obj("a", 10, fields, "INDEXES i2 FIELD=y UNIQUE, i1 FIELD=x INDEXES_END\n")),
            0);
  EXPECT_TRUE(ops().empty()) << report;
  EXPECT_EQ(adp_double::calls_of("dbs_rdb_free_ind_col").size(), 1u);
  TearDown();
  SetUp();
  adp_double::set_indexes(10, {{"i1", {"x"}, false}});
  ASSERT_EQ(diff(obj("a", 10, fields), obj("a", 10, fields, "INDEXES i1 FIELD=x FIELD=y INDEXES_END\n")), 0);
  EXPECT_EQ(ops(), (std::vector<long>{TYP_DIFF_INDEXES}));
  EXPECT_TRUE(says("  Indexes for OBJECT type 'a' have changed.\n   Index 'i1' has 1 fields in old schema, 2 in new.\n"))
      << report;
}

TEST_F(typ_cmp, Relations) {
  const std::string b = obj("b", 11, "", "RELATIONS b2a OTM a INV_REL=a2b RELATIONS_END\n");
  const std::string a_rel = obj("a", 10, "", "RELATIONS a2b MTO b INV_REL=b2a RELATIONS_END\n");
  const std::string a_plain = obj("a", 10);
  const std::string b_plain = obj("b", 11);
  // Missing predefined relation, target still there: kept.
  ASSERT_EQ(diff(a_rel + b, a_plain + b_plain), 0);
  EXPECT_TRUE(says("  Old relation 'a2b' will be preserved since allow_drops not specified.\n")) << report;
  auto got = ops();
  EXPECT_EQ(std::count(got.begin(), got.end(), TYP_DIFF_REL_KEPT), 2) << report;
  EXPECT_EQ(sch("a")->nrels, 1);
  TearDown();
  SetUp();
  ASSERT_EQ(diff(a_rel + b, a_plain + b_plain, TYP_OPT_ALLOW_DROPS), 0);
  EXPECT_TRUE(says("  Old relation 'a2b' has been flagged for deletion.\n")) << report;
  got = ops();
  EXPECT_EQ(std::count(got.begin(), got.end(), TYP_DIFF_DELETE_REL), 2);
  TearDown();
  SetUp();
  // Added through an OLD_NAME that names nothing.
  ASSERT_EQ(diff(a_plain + b_plain,
                 obj("a", 10, "", "RELATIONS a2b MTO b INV_REL=b2a OLD_NAME=zz RELATIONS_END\n") + b),
            0);
  EXPECT_TRUE(says("  Old relation name 'zz' can't be found.\n  Relation 'a2b' has been added.\n")) << report;
  TearDown();
  SetUp();
  // REQUIRED only: report lines, no record.
  ASSERT_EQ(diff(a_rel + b, obj("a", 10, "", "RELATIONS a2b MTO b INV_REL=b2a REQUIRED RELATIONS_END\n") + b), 0);
  EXPECT_TRUE(says("   The REQUIRED keyword was added to relation 'a2b'.\n")) << report;
  EXPECT_TRUE(ops().empty());
  TearDown();
  SetUp();
  // MTM turned into OTM: stopped with one alert.
  const std::string mtm = obj("a", 10, "", "RELATIONS a2b MTM b INV_REL=b2a RELATIONS_END\n") +
                          obj("b", 11, "", "RELATIONS b2a MTM a INV_REL=a2b RELATIONS_END\n");
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(diff(mtm, obj("a", 10, "", "RELATIONS a2b OTM b INV_REL=b2a RELATIONS_END\n") +
                          obj("b", 11, "", "RELATIONS b2a MTO a INV_REL=a2b RELATIONS_END\n")),
            0x50004b);
  EXPECT_EQ(core_num_alerts(), 1);
  TearDown();
  SetUp();
  // Joining an exclusive group on the same side: op 18; leaving it: 0x500046.
  const std::string t = obj("t", 11, "", "RELATIONS t2a OTM a INV_REL=a2t RELATIONS_END\n");
  const std::string plain = obj("a", 10, "", "RELATIONS a2t MTO t INV_REL=t2a RELATIONS_END\n");
  const std::string grouped = obj("a", 10, "", "RELATIONS EXCLUSIVE g a2t MTO t INV_REL=t2a RELATIONS_END\n");
  ASSERT_EQ(diff(plain + t, grouped + t, TYP_OPT_ALLOW_DROPS), 0);
  EXPECT_TRUE(says("Relation 'a2t' in new schema is in exclusive group 'g'.\n"
                   "Relation 'a2t' in old schema is NOT in exclusive group.\n\n"))
      << report;
  got = ops();
  EXPECT_NE(std::find(got.begin(), got.end(), TYP_DIFF_EXCL_JOIN), got.end()) << report;
  TearDown();
  SetUp();
  EXPECT_EQ(diff(grouped + t, plain + t, TYP_OPT_ALLOW_DROPS), 0x500046);
}

}  // namespace
