// The compile driver: what a failed step prints and under which title its
// alerts go, the clean-up every failure leaves behind, and what the parser's
// per-definition bits and the file's revisions do (and do not) reach in
// upgrade mode.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "adpdouble/adp_double.h"
#include "typ_store_double.h"
#include "bld_fixture.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_acc.h"
#include "schema/typ_apply.h"
#include "schema/typ_bld.h"
#include "schema/typ_cmp.h"
#include "schema/typ_msg.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "testdb/testdb_tmp.h"

namespace {

const std::string kLong = " CMN_DATA_TYPE=\"long integer\" DB_DATA_TYPE=0";

class bld_compile : public bld_test {
 protected:
  void write(const std::string& text) {
    FILE* f = std::fopen(path_.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
  }
  long full(const std::string& text, unsigned long options) {
    write(text);
    return full_at(path_, options);
  }
  long full_at(const std::string& path, unsigned long options) {
    long st = -1;
    out_ = schema_stdout_of([&] { st = typ_bld_compile(nullptr, path.c_str(), options, 0, nullptr, nullptr); });
    return st;
  }
  static size_t count(const std::string& name) { return adp_double::calls_of(name).size(); }
  static std::vector<std::string> args(const std::string& name, size_t i = 0) {
    auto c = adp_double::calls_of(name);
    return i < c.size() ? c[i].args : std::vector<std::string>{};
  }
  // What every failed compile leaves: no saved model, no array list, no
  // position list.
  static void expect_cleaned(const char* what) {
    EXPECT_EQ(typ_bld_saved_schema, nullptr) << what;
    EXPECT_EQ(typ_bld_array_col, nullptr) << what;
    EXPECT_EQ(typ_sch_field_pos_chg_col, nullptr) << what;
  }

  std::string out_;
};

const std::string kMtm = bld_obj("a", 10, "", "RELATIONS a2b MTM b INV_REL=b2a RELATIONS_END\n") +
                         bld_obj("b", 11, "", "RELATIONS b2a MTM a INV_REL=a2b RELATIONS_END\n");
const std::string kOtm = bld_obj("a", 10, "", "RELATIONS a2b OTM b INV_REL=b2a RELATIONS_END\n") +
                         bld_obj("b", 11, "", "RELATIONS b2a MTO a INV_REL=a2b RELATIONS_END\n");

TEST_F(bld_compile, FailedStepsPrintTheirTextAndTitle) {
  struct row {
    const char* what;
    std::string database;  // the loaded model; empty: direct mode
    std::string file;
    unsigned long options;
    const char* scripted;  // a double call made to fail with 0x70000f
    long status;
    std::vector<std::string> printed;
  } rows[] = {
      {"relation to a missing type", "",
       bld_obj("a", 10, "", "RELATIONS a2b MTO nosuch INV_REL=b2a RELATIONS_END\n"), 0, nullptr, -1,
       {"Relation checking failed!\n", "Data Dictionary relation errors:"}},
      {"type table not read again", "", bld_obj("a", 10), 0, "adp_sch_types_init", 0x70000f,
       {"Could not read new schema from database (status = 7340047)\n", "Data Dictionary errors:"}},
      {"array table not made", "", bld_obj("a", 10, ", b CMN_DATA_TYPE=array GEN_FIELD_ID=40"), 0, "adp_bar_create",
       0x70000f, {"Could not construct array tables for schema (status = 7340047).\n", "Data Dictionary errors:"}},
      {"comparison refused", kMtm, kOtm, TYP_BLD_UPGRADE, nullptr, 0x50004b,
       {"typ_bld_compile: could not calculate schema differences\n", "Data Dictionary diff errors:"}},
      {"table-change calculation failed", bld_obj("a", 10), bld_obj("a", 10, ", added" + kLong), TYP_BLD_UPGRADE,
       "dbs_rdb_calc_changes", 0x70000f, {"typ_bld_compile: could not apply differences to schema.\n"}},
  };
  for (const row& r : rows) {
    SetUp();
    if (!r.database.empty()) {
      ASSERT_EQ(compile(r.database), 0) << r.what << core_top_alert_text();
    }
    if (r.scripted) adp_double::script(r.scripted, {0x70000f});
    const long st = full(r.file, r.options);
    if (r.status == -1) {
      EXPECT_NE(st, 0) << r.what;
    } else {
      EXPECT_EQ(st, r.status) << r.what << "\n" << out_;
    }
    for (const auto& p : r.printed) EXPECT_NE(out_.find(p), std::string::npos) << r.what << "\n" << out_;
    expect_cleaned(r.what);
    if (r.database.empty()) {
      EXPECT_EQ(typ_sch_num_types(), 0) << r.what;  // direct mode leaves an empty model
    } else {
      // The database's model is current again, unchanged.
      ASSERT_NE(sch("a"), nullptr) << r.what;
      EXPECT_EQ(fld("a", "added"), nullptr) << r.what;
      if (sch("b")) {
        typ_sch_rrec* rel = nullptr;
        typ_sch_get_relation_obj(sch("a"), 0, &rel);
        ASSERT_NE(rel, nullptr) << r.what;
        EXPECT_EQ(rel->type, TYP_REL_MTM) << r.what;
      }
    }
    TearDown();
  }
  SetUp();
  EXPECT_EQ(full_at("/nonexistent-dir/schema.sch", 0), 1);
  EXPECT_EQ(out_, "typ_bld_compile: cannot open input schema file '/nonexistent-dir/schema.sch'\n");
}

TEST_F(bld_compile, FailedParseNamesTheLineItStoppedOn) {
  const struct {
    std::string file;
    long line;
  } rows[] = {
      {"OBJECT bad", 1},
      {"\n\n  OBJECT a 10 !\n", 3},
      {bld_obj("a", 10) + "\n\nOBJECT b x\n", 0},  // the line after the good object's, counted below
  };
  for (const auto& r : rows) {
    SetUp();
    long line = r.line;
    if (line == 0) line = std::count(r.file.begin(), r.file.end(), '\n');
    EXPECT_EQ(full(r.file, 0), TYP_BLD_FILE) << r.file;
    EXPECT_NE(core_top_alert_text().find("reading line " + std::to_string(line) + " of"), std::string::npos)
        << r.file << "\n" << core_top_alert_text();
    TearDown();
  }
}

TEST_F(bld_compile, RefusedComparisonClosesItsReportAndHandsBackItsText) {
  ASSERT_EQ(compile(kMtm), 0) << core_top_alert_text();
  write(kOtm);
  const std::string report_file = testdb::tmp_file("schema_cmp_report_");
  ASSERT_FALSE(report_file.empty());
  const char* report = report_file.c_str();
  utl_ty_col* list = nullptr;
  utl_ty_estr* text = nullptr;
  char cut = 1;
  long st = -1;
  out_ = schema_stdout_of(
      [&] { st = typ_sch_diff_schemas(nullptr, path_.c_str(), 0, report, &list, &text, &cut); });
  EXPECT_EQ(st, 0x50004b);
  EXPECT_EQ(list, nullptr);
  ASSERT_NE(text, nullptr);
  EXPECT_NE(std::string(utl_estr_get(text)).find("Differences between old and new"), std::string::npos);
  utl_estr_free("t", text);
  // The report file was closed (its text is all there) and the database's
  // model is current again.
  FILE* f = std::fopen(report, "r");
  ASSERT_NE(f, nullptr);
  char buf[256] = "";
  size_t n = std::fread(buf, 1, sizeof buf - 1, f);
  std::fclose(f);
  unlink(report);
  EXPECT_NE(std::string(buf, n).find("Differences between old and new"), std::string::npos);
  expect_cleaned("diff_schemas");
  typ_sch_rrec* rel = nullptr;
  typ_sch_get_relation_obj(sch("a"), 0, &rel);
  ASSERT_NE(rel, nullptr);
  EXPECT_EQ(rel->type, TYP_REL_MTM);
}

TEST_F(bld_compile, UpgradeRemembersRevisionsAndWritesThemOnlyAtCommit) {
  // Option 128 (the commit bit of an upgrade) writes the file's revisions at
  // once only in direct mode: an upgrade whose table change fails wrote none.
  const std::string file = "SCHEMA_REVISION 42 LOCAL_SCHEMA_REVISION \"c3\"\n" + bld_obj("a", 10, ", added" + kLong);
  ASSERT_EQ(compile(bld_obj("a", 10)), 0);
  schema_double_reset();
  adp_double::script("dbs_rdb_change_tables", {0x70007a});
  EXPECT_EQ(full(file, TYP_BLD_UPGRADE | TYP_BLD_WRITE_REVS), 0x70007a) << out_;
  EXPECT_EQ(count("dbs_db_change_schema_rev"), 0u);
  EXPECT_EQ(count("dbs_db_change_cust_schema_rev"), 0u);
  long rev = 0;
  typ_bld_get_read_sch_rev(&rev);
  EXPECT_EQ(rev, 42);
  EXPECT_EQ(args("dbs_rdb_calc_changes").at(2), "42");
  // The commit writes them once, after the tables were changed.
  SetUp();
  ASSERT_EQ(compile(bld_obj("a", 10)), 0);
  schema_double_reset();
  ASSERT_EQ(full(file, TYP_BLD_UPGRADE | TYP_BLD_WRITE_REVS), 0) << out_;
  EXPECT_EQ(args("dbs_db_change_schema_rev"), (std::vector<std::string>{"42"}));
  EXPECT_EQ(count("dbs_db_change_schema_rev"), 1u);
  EXPECT_STREQ(adp_double::cust_rev(), "c3");
  size_t tables = 0, revision = 0;
  const auto& all = adp_double::calls();
  for (size_t i = 0; i < all.size(); ++i) {
    if (all[i].name == "dbs_rdb_change_tables") tables = i + 1;
    if (all[i].name == "dbs_db_change_schema_rev") revision = i + 1;
  }
  EXPECT_NE(tables, 0u);
  EXPECT_LT(tables, revision);
}

TEST_F(bld_compile, DefinitionBitsDoNotReachTheComparisonOrTheEngine) {
  // The last definition carries CACHEOBJIDS (0x80000): the engine's mode word
  // and the options of the calculation are the caller's.
  const std::string file = bld_obj("a", 10, ", added" + kLong) + "OBJECT c 12 CACHEOBJIDS FIELDS objid" + kLong +
                           " GEN_FIELD_ID=3 FIELDS_END OBJECT_END;\n";
  struct row {
    unsigned long options;
    const char* mode;
  } rows[] = {
      {TYP_BLD_UPGRADE | 0x80, "0"},
      {TYP_BLD_UPGRADE | 0x80 | 0x80000, "524288"},
      {TYP_BLD_UPGRADE | 0x400, "1"},
      {TYP_BLD_UPGRADE | 0x400 | 0x80000, "524289"},
  };
  for (const row& r : rows) {
    SetUp();
    ASSERT_EQ(compile(bld_obj("a", 10)), 0);
    schema_double_reset();
    ASSERT_EQ(full(file, r.options), 0) << r.options << "\n" << out_;
    EXPECT_EQ(args("dbs_rdb_calc_changes").at(1), std::to_string(r.options));
    EXPECT_EQ(args("dbs_rdb_change_tables"), (std::vector<std::string>{r.mode})) << r.options;
    TearDown();
  }
}

TEST_F(bld_compile, RoamerVersionOfALargeRevisionIsNotCut) {
  ASSERT_EQ(compile(bld_obj("a", 10)), 0);
  schema_double_reset();
  adp_double::set_revisions(7, 2999999);
  adp_double::set_roamer(true);
  ASSERT_EQ(full("SCHEMA_REVISION 5000\n" + bld_obj("a", 10, ", added" + kLong), TYP_BLD_UPGRADE | 0x80), 0) << out_;
  EXPECT_EQ(args("adp_sce_update_detable"), (std::vector<std::string>{"5003000000"}));
  EXPECT_EQ(adp_double::cust_int_rev(), 3000000);
}

TEST_F(bld_compile, DiffSchemasKeepsTheCompiledModelInItsHandleWithOption0x2000) {
  ASSERT_EQ(compile(bld_obj("a", 10)), 0);
  write(bld_obj("a", 10, ", added" + kLong));
  utl_ty_col* list = nullptr;
  long st = -1;
  out_ = schema_stdout_of([&] { st = typ_sch_diff_schemas(nullptr, path_.c_str(), 0x2000, nullptr, &list, nullptr, nullptr); });
  ASSERT_EQ(st, 0) << out_;
  ASSERT_NE(list, nullptr);
  // The database's model is current; the compiled one is in the list's handle.
  EXPECT_EQ(fld("a", "added"), nullptr);
  long word = 0;
  utl_col_get_ext(list, &word);
  auto* saved = reinterpret_cast<typ_sch_saved*>(word);
  ASSERT_NE(saved, nullptr);
  long n = 0, nr = 0;
  typ_sch_srec* kept = nullptr;
  typ_sch_rrec* rels = nullptr;
  typ_sch_get_saved_schema(saved, &n, &kept, &nr, &rels);
  ASSERT_EQ(n, 1);
  bool has_added = false;
  for (long i = 0; i < kept[0].nfields; ++i) has_added |= std::string(kept[0].fields[i].name) == "added";
  EXPECT_TRUE(has_added);
  // Switched in, the compiled model is current and the handle holds the
  // database's, freed with it.
  ASSERT_EQ(typ_sch_switch_schemas(saved, 0), 0);
  EXPECT_NE(fld("a", "added"), nullptr);
  typ_bld_saved_schema = saved;
  EXPECT_EQ(typ_bld_discard_saved(), 0);
  EXPECT_NE(fld("a", "added"), nullptr);
  utl_col_free("t", list);
}

}  // namespace
