// Carrying out table changes against the adapter double: the statements of
// each kind of change in their order, rebuilds by copy or dump file, a
// failed copy that keeps the old table, views last, dry runs and the
// report of indexes that could not be rebuilt.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "adapter/adp_sch_load.h"
#include "adpdouble/adp_double_sce.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_sys_cfg.h"
#include "core/utl/utl_col.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"
#include "store/dbs_rdb.h"
#include "store/dbs_sql.h"
#include "store/dbs_upg.h"
#include "rdb_fixture.h"

namespace {

class rdb_run_test : public table_change_test {
 protected:
  void SetUp() override {
    table_change_test::SetUp();
    ASSERT_EQ(utl_col_make("rdb_run_test", DBS_TY_TBL_CHANGE, 8, 8, 0, UTL_COL_OPT_POOL, &list_), 0);
  }
  void TearDown() override {
    utl_col_free("rdb_run_test", list_);
    table_change_test::TearDown();
  }
  static typ_sch_srec* schema(long type_id) {
    typ_sch_srec* s = nullptr;
    EXPECT_EQ(adp_sch_shandle_find(type_id, &s), 0);
    return s;
  }
  void add(long op, const char* table, const char* name = nullptr, const char* second = nullptr,
           const char* def = nullptr, long type_id = 17) {
    dbs_ty_tbl_change c{};
    c.op = op;
    c.schema = type_id ? schema(type_id) : nullptr;
    std::snprintf(c.table_name, sizeof c.table_name, "%s", table);
    if (name) utl_col_alloc_string(list_, name, &c.name);
    if (second) utl_col_alloc_string(list_, second, &c.second_name);
    if (def) utl_col_alloc_string(list_, def, &c.default_text);
    ASSERT_EQ(utl_col_push(list_, &c, nullptr), 0);
  }
  long run(long mode = 0) {
    utl_col_sort(list_, nullptr, nullptr);
    return dbs_rdb_change_tables(nullptr, list_, mode);
  }
  // The statements made, "name arg0" each, without the run's bracket.
  static std::vector<std::string> statements() {
    std::vector<std::string> out;
    for (const auto& c : adp_double::calls()) {
      bool wanted = false;
      for (const char* p : {"adp_sce_", "adp_bar_create", "adp_sch_create_objid_index", "adp_ind_create_declared",
                            "adp_ind_drop_an_index", "adp_ind_drop_table_index", "adp_ind_build_table_index",
                            "adp_stp_build"})
        wanted = wanted || c.name.rfind(p, 0) == 0;
      if (!wanted || c.name == "adp_sce_prepare_for_changes" || c.name == "adp_sce_finish_changes") continue;
      out.push_back(c.name + (c.args.empty() ? "" : " " + c.args[0]));
    }
    return out;
  }
  utl_ty_col* list_ = nullptr;
};

}  // namespace

TEST_F(rdb_run_test, EachKindOfChangeMakesItsStatementsInOrder) {
  adp_double::set_index_names(17, {"idx1"});
  struct row {
    const char* why;
    long op;
    std::vector<std::string> statements;
  } rows[] = {
      {"add column", DBS_RDB_ADD_COLUMN,
       {"adp_ind_drop_table_index 17", "adp_sce_add_columns 17", "adp_ind_build_table_index 17",
        "adp_ind_drop_an_index 17", "adp_ind_create_declared 17"}},
      {"delete column: a rebuild", DBS_RDB_DELETE_COLUMN,
       {"adp_ind_drop_table_index 17", "adp_sce_create_table T_table_case", "adp_sce_get_table_info table_case",
        "adp_sce_fill_table_from_table table_case", "adp_sce_delete_table table_case",
        "adp_sce_rename_table T_table_case", "adp_ind_build_table_index 17", "adp_stp_build_table_trigger "}},
      {"rename column in place on flag-4 servers", DBS_RDB_RENAME_COLUMN, {"adp_sce_rename_columns 17"}},
      {"add table", DBS_RDB_ADD_TABLE,
       {"adp_sce_create_table table_case", "adp_sce_create_synonym table_case", "adp_ind_drop_an_index 17",
        "adp_ind_create_declared 17", "adp_sch_create_objid_index 17"}},
      {"delete table", DBS_RDB_DELETE_TABLE, {"adp_sce_delete_table table_case"}},
      {"re-add", DBS_RDB_READD_TABLE,
       {"adp_sce_delete_table table_case", "adp_sce_create_table table_case", "adp_sce_create_synonym table_case",
        "adp_ind_drop_an_index 17", "adp_ind_create_declared 17", "adp_stp_build_table_trigger "}},
      {"recompile indexes", DBS_RDB_RECOMPILE_INDEXES, {"adp_ind_drop_an_index 17", "adp_ind_create_declared 17"}},
      {"drop view", DBS_RDB_DROP_VIEW, {"adp_sce_delete_view table_case"}},
      {"type flags", DBS_RDB_TYPE_FLAGS, {"adp_sce_modify_flags change"}},
  };
  for (const row& r : rows) {
    adp_double::reset();
    adp_double::set_index_names(17, {"idx1"});
    adp_store::st().server_type = r.op == DBS_RDB_RENAME_COLUMN ? 4 : 2;
    utl_col_reset(list_);
    add(r.op, "table_case", "notes", "remarks");
    EXPECT_EQ(run(), 0) << r.why;
    EXPECT_EQ(statements(), r.statements) << r.why;
  }
}

TEST_F(rdb_run_test, RenameComesFirstAndTheRebuildCopiesRenamedAndAddedColumns) {
  add(DBS_RDB_RENAME_TABLE, "table_case", "table_old", "table_case");
  add(DBS_RDB_RENAME_COLUMN, "table_case", "subject", "title");
  add(DBS_RDB_ADD_COLUMN, "table_case", "count", nullptr, "7");
  add(DBS_RDB_ADD_COLUMN, "table_case", "notes");
  add(DBS_RDB_DELETE_COLUMN, "table_case", "gone");
  ASSERT_EQ(run(), 0);
  auto s = statements();
  ASSERT_FALSE(s.empty());
  EXPECT_EQ(s[0], "adp_sce_rename_table table_old");
  auto fills = adp_double::calls_of("adp_sce_fill_table_from_table");
  ASSERT_EQ(fills.size(), 1u);
  // Targets, sources and value flags: notes is added without a value and
  // starts empty; count takes its default; title comes from subject.
  EXPECT_EQ(fills[0].args[2], "objid,title,count,amount,when,dev,case2site");
  EXPECT_EQ(fills[0].args[3], "objid,subject,7,amount,when,dev,case2site");
  EXPECT_EQ(fills[0].args[4], "0,0,1,0,0,0,0");
  // A column was dropped: the rebuilt table is not made searchable.
  EXPECT_TRUE(adp_double::calls_of("adp_sce_make_table_searchable").empty());
}

TEST_F(rdb_run_test, RebuildsCopyTableToTableOrThroughADumpFile) {
  adp_double::set_table_size("table_case", 500);
  struct row {
    const char* why;
    long server;
    unsigned long force;
    long max_copy_size;
    bool dump;
    const char* text;
  } rows[] = {
      {"plain", 2, 0, 0, false, nullptr},
      {"bulk-copy server", 0x100 | 1, 0, 0, true, nullptr},
      {"forced", 2, 0x8000, 0, true, "Dumping to file because FORCE is on for this type.\n"},
      {"too large", 1, 0, 100, true, "Dumping to file because table > 100 bytes (500 bytes).\n"},
      {"too large, but the server copies any size", 4, 0, 100, false, nullptr},
      {"large enough", 1, 0, 600, false, nullptr},
  };
  for (const row& r : rows) {
    adp_double::reset();
    adp_double::set_table_size("table_case", 500);
    adp_store::st().server_type = r.server;
    dbs_rdb_set_max_copy_size(r.max_copy_size);
    schema(17)->flags |= r.force;
    utl_col_reset(list_);
    add(DBS_RDB_MODIFY_COLUMN, "table_case", "title", "title");
    char* data = nullptr;
    size_t size = 0;
    FILE* f = open_memstream(&data, &size);
    utl_ty_col* single = nullptr;
    ASSERT_EQ(utl_col_copy("test", list_, &single), 0);
    EXPECT_EQ(dbs_rdb_modify_table(nullptr, "table_case", schema(17), single, f, 0x400), 0) << r.why;
    std::fclose(f);
    std::string text(data, size);
    std::free(data);
    utl_col_free("test", single);
    schema(17)->flags &= ~r.force;
    EXPECT_EQ(adp_double::calls_of("adp_sce_fill_file_from_table").size(), r.dump ? 1u : 0u) << r.why;
    EXPECT_EQ(adp_double::calls_of("adp_sce_fill_table_from_table").size(), r.dump ? 0u : 1u) << r.why;
    EXPECT_EQ(text, r.text ? r.text : "") << r.why;
  }
  // The configured size is read by the run; a negative one means no limit.
  for (const char* config : {"-5", "100"}) {
    adp_double::reset();
    adp_double::set_table_size("table_case", 500);
    adp_store::st().server_type = 1;
    osl_sys_set_config_string("UPGRADE_MAX_COPY_SIZE", config, 0);
    std::string out = store_stdout_of([&] { EXPECT_EQ(run(), 0); });
    const bool limited = std::string(config) == "100";
    EXPECT_NE(out.find(limited ? "UPGRADE MAX COPY SIZE: 100\n" : "UPGRADE MAX COPY SIZE: 0\n"), std::string::npos);
    EXPECT_EQ(adp_double::calls_of("adp_sce_fill_file_from_table").size(), limited ? 1u : 0u) << config;
  }
}

TEST_F(rdb_run_test, AFailedCopyKeepsTheOldTableAndIsCounted) {
  add(DBS_RDB_DELETE_COLUMN, "table_case", "notes");
  add(DBS_RDB_DELETE_TABLE, "table_site", nullptr, nullptr, nullptr, 18);
  adp_double::script("adp_sce_fill_table_from_table", {0x600021});
  std::string out = store_stdout_of([&] { EXPECT_EQ(run(), 0x70007a); });
  EXPECT_NE(out.find("Table/view modification encountered 1 errors.\n"), std::string::npos) << out;
  auto s = statements();
  std::vector<std::string> deletes;
  for (const auto& c : adp_double::calls_of("adp_sce_delete_table")) deletes.push_back(c.args[0]);
  // The half-made copy is dropped, the old table kept; the next table's
  // change still runs.
  EXPECT_EQ(deletes, (std::vector<std::string>{"T_table_case", "table_site"}));
  EXPECT_TRUE(adp_double::calls_of("adp_sce_rename_table").empty());
  auto logged = adp_double::calls_of("adp_db_log_msg");
  ASSERT_EQ(logged.size(), 1u);
  EXPECT_EQ(logged[0].args[0], "*** ERROR ABOVE ***\n");
  EXPECT_EQ(core_top_alert_code(), 0x70007a);
  EXPECT_EQ(core_top_alert_text(),
            "There was a problem changing the database tables/views/indexes during this operation.\n");
  // No error: no alert, and the count is printed all the same.
  adp_double::reset();
  cmn_alrt_clear(nullptr);
  out = store_stdout_of([&] { EXPECT_EQ(run(), 0); });
  EXPECT_NE(out.find("Table/view modification encountered 0 errors.\n"), std::string::npos);
}

TEST_F(rdb_run_test, ViewsComeLast) {
  add(DBS_RDB_DEFINE_VIEW, "table_aview", "create view aview as select 1", nullptr, nullptr, 0);
  add(DBS_RDB_DELETE_TABLE, "table_zz", nullptr, nullptr, nullptr, 0);
  ASSERT_EQ(run(), 0);
  EXPECT_EQ(statements(), (std::vector<std::string>{"adp_sce_delete_table table_zz",
                                                    "adp_sce_delete_view table_aview",
                                                    "adp_sce_create_table table_aview",
                                                    "adp_sce_create_synonym table_aview"}));
  adp_double::reset();
  ASSERT_EQ(run(0x80000), 0);
  EXPECT_EQ(statements(), (std::vector<std::string>{"adp_sce_delete_table table_zz",
                                                    "adp_sce_create_table table_aview",
                                                    "adp_sce_create_synonym table_aview"}));
  // A failed creation is cleared as new, counted otherwise; a failed
  // synonym ends the run.
  adp_double::reset();
  adp_double::script("adp_sce_create_table", {0x600021});
  EXPECT_EQ(run(0x80000), 0);
  adp_double::reset();
  adp_double::script("adp_sce_create_table", {0x600021});
  store_stdout_of([&] { EXPECT_EQ(run(), 0x70007a); });
  EXPECT_EQ(adp_double::calls_of("adp_db_log_msg")[0].args[0], "***** ERROR ABOVE *****\n");
  adp_double::reset();
  adp_double::script("adp_sce_create_synonym", {0x600022});
  EXPECT_EQ(run(), 0x600022);
}

TEST_F(rdb_run_test, DryRunsSayWhatTheyWouldDo) {
  schema(17)->fields[2].flags |= TYP_FLD_BARRAY;
  schema(17)->fields[2].gen_id = 41;
  add(DBS_RDB_DROP_VIEW, "table_aview", nullptr, nullptr, nullptr, 0);
  add(DBS_RDB_ADD_ARRAYS, "table_case");
  std::string out = store_stdout_of([&] { EXPECT_EQ(run(1), 0); });
  schema(17)->fields[2].flags &= ~TYP_FLD_BARRAY;
  EXPECT_NE(out.find("Would drop view 'table_aview'\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Would create binary array for table 'array_case_41', field #41\n"), std::string::npos) << out;
  EXPECT_TRUE(adp_double::calls_of("adp_sce_delete_view").empty());
  EXPECT_TRUE(adp_double::calls_of("adp_bar_create_with_name").empty());
  // Carried out: an existing array table is replaced.
  adp_double::reset();
  adp_double::set_table_exists("array_case_41", true);
  schema(17)->fields[2].flags |= TYP_FLD_BARRAY;
  ASSERT_EQ(run(), 0);
  schema(17)->fields[2].flags &= ~TYP_FLD_BARRAY;
  EXPECT_EQ(statements(), (std::vector<std::string>{"adp_sce_delete_view table_aview",
                                                    "adp_sce_delete_table array_case_41",
                                                    "adp_bar_create_with_name array_case_41"}));
}

TEST_F(rdb_run_test, IndexesThatCouldNotBeRebuiltAreReported) {
  add(DBS_RDB_DELETE_COLUMN, "table_case", "notes");
  adp_double::set_failed_indexes({"idx1", "idx2"});
  ASSERT_EQ(run(), 0);
  EXPECT_EQ(core_num_alerts(), 0);  // parked for display
  EXPECT_EQ(dbs_sql_raise_message(), 0x700089);
  EXPECT_EQ(core_top_alert_text(),
            "The following indexes were dropped during this operation.\nPlease refer to the database msg file for "
            "details:\nidx1\nidx2\n");
}

// The type's declared indexes are made by the adapter's call, with the
// run's file and options; its failure is the step's.
TEST_F(rdb_run_test, IndexesAreCreatedFromTheTypesDescriptions) {
  constexpr long kDryRun = 1;
  FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(dbs_rdb_create_indexes(nullptr, schema(17), file, kDryRun), 0);
  std::fclose(file);
  auto made = adp_double::calls_of("adp_ind_create_declared");
  ASSERT_EQ(made.size(), 1u);
  EXPECT_EQ(made[0].args, (std::vector<std::string>{"17", "stream/1"}));
  adp_double::script("adp_ind_create_declared", {0x600030});
  EXPECT_EQ(dbs_rdb_create_indexes(nullptr, schema(17), nullptr, 0), 0x600030);
}
