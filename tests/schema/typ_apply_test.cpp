// The whole compile in direct and upgrade modes, the applier's trial,
// report and commit runs, and typ_sch_diff_schemas.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "adpdouble/adp_double.h"
#include "typ_store_double.h"
#include "bld_fixture.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "core/utl/utl_mem.h"
#include "schema/typ_acc.h"
#include "schema/typ_apply.h"
#include "schema/typ_bld.h"
#include "schema/typ_cmp.h"
#include "schema/typ_diff.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"

namespace {

const std::string kLong = " CMN_DATA_TYPE=\"long integer\" DB_DATA_TYPE=0";

class typ_apply : public bld_test {
 protected:
  void TearDown() override {
    if (list_) utl_col_free("t", list_);
    list_ = nullptr;
    bld_test::TearDown();
  }
  void write(const std::string& text) {
    FILE* f = std::fopen(path_.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
  }
  long full(const std::string& text, unsigned long options, long mode = 0) {
    write(text);
    long st = -1;
    out_ = schema_stdout_of([&] { st = typ_bld_compile(nullptr, path_.c_str(), options, mode, nullptr, nullptr); });
    return st;
  }
  // The model an opened database holds: a direct compile ends by re-reading
  // the type table, which starts from an empty model.
  long database_model(const std::string& text) { return compile(text, 0); }
  static size_t count(const std::string& name) { return adp_double::calls_of(name).size(); }
  static std::vector<std::string> args(const std::string& name, size_t i = 0) {
    auto c = adp_double::calls_of(name);
    return i < c.size() ? c[i].args : std::vector<std::string>{};
  }

  utl_ty_col* list_ = nullptr;
  std::string out_;
};

TEST_F(typ_apply, DirectModeWritesTheSchemaAndArrayTables) {
  ASSERT_EQ(full(bld_obj("a", 10, ", b1 CMN_DATA_TYPE=array GEN_FIELD_ID=40, b2 CMN_DATA_TYPE=array GEN_FIELD_ID=41"),
                 0, 3),
            0)
      << out_;
  // The schema is written with its relations, then the header; the type
  // table is read again (from an empty model) before the array tables.
  EXPECT_EQ(args("adp_sch_write"), (std::vector<std::string>{"10", "1"}));
  EXPECT_EQ(args("adp_obj_oid_init"), (std::vector<std::string>{"10", "0"}));
  EXPECT_EQ(count("dbs_db_put_header"), 1u);
  EXPECT_EQ(count("adp_sch_types_init"), 1u);
  ASSERT_EQ(count("adp_bar_create"), 2u);
  EXPECT_EQ(args("adp_bar_create", 1), (std::vector<std::string>{"10", "41"}));
  EXPECT_EQ(sch("a"), nullptr);
  EXPECT_EQ(typ_bld_array_col, nullptr);

  // A failed write clears the model and says so.
  SetUp();
  adp_double::script("adp_sch_write", {0x70000f});
  EXPECT_EQ(full(bld_obj("a", 10), 0), 0x70000f);
  EXPECT_NE(out_.find("Could not write data schemas into database (status = 7340047)\n"), std::string::npos) << out_;
  EXPECT_EQ(sch("a"), nullptr);
  EXPECT_EQ(count("adp_sch_types_init"), 0u);
}

TEST_F(typ_apply, RevisionsWrittenAtOnceOnlyInDirectMode) {
  const std::string text = "SCHEMA_REVISION 5 LOCAL_SCHEMA_REVISION \"L1\"\n" + bld_obj("a", 10);
  ASSERT_EQ(full(text, TYP_BLD_WRITE_REVS), 0) << out_;
  EXPECT_EQ(adp_double::schema_rev(), 5);
  EXPECT_STREQ(adp_double::cust_rev(), "L1");
  long rev = 0;
  typ_bld_get_read_sch_rev(&rev);
  EXPECT_EQ(rev, -1);
  // A failed write stops the parse.
  SetUp();
  adp_double::script("dbs_db_change_schema_rev", {0x700011});
  EXPECT_EQ(full(text, TYP_BLD_WRITE_REVS), 0x50003f);
  EXPECT_EQ(sch("a"), nullptr);
}

TEST_F(typ_apply, TrialReportAndCommit) {
  const std::string old_file = bld_obj("a", 10) + bld_obj("gone", 12);
  const std::string new_file = "SCHEMA_REVISION 42 LOCAL_SCHEMA_REVISION \"c9\"\n" +
                               bld_obj("a", 10, ", added" + kLong) + bld_obj("b", 11);
  // Trial: only marks and computes.
  ASSERT_EQ(database_model(old_file), 0);
  schema_double_reset();
  ASSERT_EQ(full(new_file, TYP_BLD_UPGRADE | TYP_OPT_ALLOW_DROPS), 0) << out_;
  EXPECT_NE(out_.find("Calculating changes to tables and views...\n"), std::string::npos) << out_;
  EXPECT_EQ(args("dbs_rdb_calc_changes")[0], "3");  // added field, added type, deleted type
  EXPECT_EQ(args("dbs_rdb_calc_changes")[2], "42");
  EXPECT_EQ(count("dbs_rdb_change_tables"), 0u);
  EXPECT_EQ(count("adp_sch_write"), 0u);
  EXPECT_TRUE(sch("a")->flags & 0x4010);
  EXPECT_NE(sch("b"), nullptr);  // the compiled model stays current

  // Report: the engine in trial mode and the WOULD lines.
  SetUp();
  ASSERT_EQ(database_model(old_file), 0);
  schema_double_reset();
  ASSERT_EQ(full(new_file, TYP_BLD_UPGRADE | TYP_OPT_ALLOW_DROPS | 0x400), 0) << out_;
  EXPECT_EQ(args("dbs_rdb_change_tables"), (std::vector<std::string>{"1"}));
  EXPECT_NE(out_.find("*** WOULD COMMIT schema for object type 'a' ***\n"), std::string::npos) << out_;
  EXPECT_NE(out_.find("WOULD delete schema info for type 12\n"), std::string::npos) << out_;
  EXPECT_NE(out_.find("DATA DICTIONARY DIFFERENCES:"), std::string::npos);
  EXPECT_EQ(count("adp_sch_write"), 0u);

  // Commit: tables changed, schema written, revisions, procedures.
  SetUp();
  ASSERT_EQ(database_model(old_file), 0);
  schema_double_reset();
  adp_double::set_revisions(7, 4);
  adp_double::set_roamer(true);
  ASSERT_EQ(full(new_file, TYP_BLD_UPGRADE | TYP_OPT_ALLOW_DROPS | 0x80), 0) << out_;
  EXPECT_EQ(args("dbs_rdb_change_tables"), (std::vector<std::string>{"0"}));
  // The changed and the new schema are written without relations; object
  // ids start with the applier's argument.
  ASSERT_EQ(count("adp_sch_write"), 2u);
  EXPECT_EQ(args("adp_sch_write", 0)[1], "0");
  EXPECT_EQ(args("adp_obj_oid_init", 1), (std::vector<std::string>{"11", "1"}));
  EXPECT_EQ(count("dbs_db_put_header"), 1u);
  EXPECT_EQ(args("adp_sch_delete_type_info"), (std::vector<std::string>{"12"}));
  EXPECT_EQ(adp_double::schema_rev(), 42);
  EXPECT_STREQ(adp_double::cust_rev(), "c9");
  EXPECT_EQ(adp_double::cust_int_rev(), 5);
  EXPECT_EQ(args("adp_sce_update_detable"), (std::vector<std::string>{"42000005"}));
  EXPECT_EQ(args("adp_stp_create_procs"), (std::vector<std::string>{"testdb", "0"}));
}

TEST_F(typ_apply, ConvertAndApplyOnTheOldModel) {
  ASSERT_EQ(database_model(bld_obj("a", 10)), 0);
  schema_double_reset();
  // 0x40 converts the database first; 0x1000 makes the saved model current
  // again for the apply.
  ASSERT_EQ(full(bld_obj("a", 10, ", added" + kLong), TYP_BLD_UPGRADE | 0x40 | 0x1000), 0) << out_;
  EXPECT_EQ(args("dbs_db_convert"), (std::vector<std::string>{"testdb"}));
  EXPECT_EQ(fld("a", "added"), nullptr);
  EXPECT_EQ(args("dbs_rdb_calc_changes")[0], "1");
  // A failed conversion stops before any change is computed.
  SetUp();
  ASSERT_EQ(database_model(bld_obj("a", 10)), 0);
  schema_double_reset();
  adp_double::script("dbs_db_convert", {1});
  EXPECT_EQ(full(bld_obj("a", 10, ", added" + kLong), TYP_BLD_UPGRADE | 0x40), 1);
  EXPECT_EQ(count("dbs_rdb_calc_changes"), 0u);
  EXPECT_EQ(fld("a", "added"), nullptr);
}

TEST_F(typ_apply, FailedTableChangeCommitsNothing) {
  ASSERT_EQ(database_model(bld_obj("a", 10)), 0);
  schema_double_reset();
  adp_double::script("dbs_rdb_change_tables", {0x70007a});
  EXPECT_EQ(full(bld_obj("a", 10, ", added" + kLong), TYP_BLD_UPGRADE | 0x80), 0x70007a);
  EXPECT_EQ(count("adp_sch_write"), 0u);
  EXPECT_EQ(count("dbs_db_change_cust_int_sch_rev"), 0u);
  EXPECT_EQ(count("adp_stp_create_procs"), 0u);
  EXPECT_NE(out_.find("could not apply differences to schema."), std::string::npos) << out_;
  // The database's model is current again.
  ASSERT_NE(sch("a"), nullptr);
  EXPECT_EQ(fld("a", "added"), nullptr);
  EXPECT_EQ(typ_bld_saved_schema, nullptr);

  // Without a SCHEMA_REVISION the database's own is kept; the internal one rises.
  SetUp();
  ASSERT_EQ(database_model(bld_obj("a", 10)), 0);
  schema_double_reset();
  adp_double::set_revisions(9, 0);
  ASSERT_EQ(full(bld_obj("a", 10, ", added" + kLong), TYP_BLD_UPGRADE | 0x80), 0) << out_;
  EXPECT_EQ(count("dbs_db_change_schema_rev"), 0u);
  EXPECT_EQ(adp_double::schema_rev(), 9);
  EXPECT_EQ(adp_double::cust_int_rev(), 1);
}

TEST_F(typ_apply, DiffSchemasCutsTheReportAt60000) {
  ASSERT_EQ(database_model(bld_obj("a", 10)), 0);
  std::string fields;
  for (int i = 0; i < 2000; ++i) fields += ", field_number_" + std::to_string(i) + kLong;
  write(bld_obj("a", 10, fields));
  utl_ty_estr* text = nullptr;
  char cut = 0;
  long st = -1;
  out_ = schema_stdout_of([&] { st = typ_sch_diff_schemas(nullptr, path_.c_str(), 0, nullptr, &list_, &text, &cut); });
  ASSERT_EQ(st, 0);
  ASSERT_NE(text, nullptr);
  long length = 0;
  utl_estr_get_length(text, &length);
  EXPECT_EQ(length, 59999);  // the maximum of 60000 counts the terminating zero
  EXPECT_EQ(cut, 1);
  long n = 0;
  utl_col_num(list_, &n);
  EXPECT_EQ(n, 2000);
  // The database's model is current again.
  EXPECT_EQ(fld("a", "field_number_0"), nullptr);
  utl_estr_free("t", text);

  // A short report is not cut.
  SetUp();
  ASSERT_EQ(database_model(bld_obj("a", 10)), 0);
  write(bld_obj("a", 10, ", one" + kLong));
  out_ = schema_stdout_of([&] { st = typ_sch_diff_schemas(nullptr, path_.c_str(), 0, nullptr, &list_, &text, &cut); });
  ASSERT_EQ(st, 0);
  EXPECT_EQ(cut, 0);
  EXPECT_NE(std::string(utl_estr_get(text)).find("  Field 'one' has been added.\n"), std::string::npos);
  utl_estr_free("t", text);
  // The compiled model is gone: the records handed back keep their operation
  // and type id and point at nothing, so reading or printing them is safe.
  void* a = nullptr;
  ASSERT_EQ(utl_col_get_array(list_, &a, &n), 0);
  ASSERT_EQ(n, 1);
  auto* d = static_cast<typ_sch_diff_rec*>(a);
  EXPECT_EQ(d->op, TYP_DIFF_ADD_FIELD);
  EXPECT_EQ(d->type_id, 10);
  EXPECT_EQ(d->schema, nullptr);
  EXPECT_EQ(d->old_field.name, nullptr);
  EXPECT_EQ(d->old_field.comment, nullptr);
  FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(typ_sch_print_diff(f, 0, d, 0, 0, 0), 0);
  std::fclose(f);
}

}  // namespace

namespace {

TEST_F(typ_apply, FoldInAHandMadeList) {
  ASSERT_EQ(compile(bld_obj("a", 10, ", x" + kLong + ", y" + kLong, "RELATIONS a2b MTO b INV_REL=b2a RELATIONS_END\n") +
                        bld_obj("b", 11, "", "RELATIONS b2a OTM a INV_REL=a2b RELATIONS_END\n")),
            0)
      << core_top_alert_text();
  ASSERT_EQ(utl_col_make("t", TYP_TY_DIFF, 10, 10, 0, 0, &list_), 0);
  // As the applier does before folding in.
  for (long i = 0; i < typ_sch_num_schs; ++i) typ_sch_schemas[i].flags &= ~0x7010UL;
  typ_sch_diff_rec r{};
  auto push = [&](long op, const char* type) {
    r.op = op;
    r.schema = sch(type);
    r.type_id = r.schema->type_id;
    ASSERT_EQ(utl_col_push(list_, &r, nullptr), 0);
    r = typ_sch_diff_rec{};
  };
  typ_sch_frec added{};
  added.name = const_cast<char*>("added");
  added.data_type = 512;
  added.gen_id = -1;
  added.dec_precision = added.dec_scale = -1;
  added.flags = TYP_FLD_USER;
  r.old_field = added;
  push(TYP_DIFF_ADD_FIELD, "a");
  r.old_field = *fld("a", "x");
  push(TYP_DIFF_DELETE_FIELD, "a");
  r.old_field = *fld("a", "y");
  r.new_field = *fld("a", "y");
  r.new_field.name = const_cast<char*>("why");
  push(TYP_DIFF_RENAME_FIELD, "a");
  r.rel.name = const_cast<char*>("b2a");
  r.new_rel.name = const_cast<char*>("b2a_renamed");
  push(TYP_DIFF_RENAME_REL, "b");
  push(TYP_DIFF_INDEXES, "b");
  std::string out = schema_stdout_of([&] { EXPECT_EQ(typ_sch_fold_in_changes(nullptr, list_, 0), 0); });
  EXPECT_NE(fld("a", "added"), nullptr);
  EXPECT_EQ(fld("a", "x"), nullptr);
  EXPECT_NE(fld("a", "why"), nullptr);
  EXPECT_EQ(fld("a", "y"), nullptr);
  EXPECT_TRUE(sch("a")->flags & TYP_SCH_CHANGED);
  long spec = -1, target = -1;
  EXPECT_EQ(typ_sch_rel_name_to_id(11, nullptr, "b2a_renamed", &spec, &target), 0);
  EXPECT_EQ(target, 10);
  // Every type marked for its indexes (0x1011 includes 0x1000) gets its
  // own record at the end, in model order.
  long n = 0;
  utl_col_num(list_, &n);
  ASSERT_EQ(n, 7);
  for (long i = 5; i < 7; ++i) {
    void* e = nullptr;
    utl_col_ith(list_, i, &e);
    EXPECT_EQ(static_cast<typ_sch_diff_rec*>(e)->op, TYP_DIFF_INDEXES);
    EXPECT_EQ(static_cast<typ_sch_diff_rec*>(e)->type_id, i == 5 ? 10 : 11);
  }
}

TEST_F(typ_apply, FoldInRemakesAddedTypesAndRecompiledViews) {
  const std::string b = bld_obj("b", 11, "", "RELATIONS b2a OTM a INV_REL=a2b RELATIONS_END\n");
  // The new model, kept aside: a type c related to a, and the view with a
  // second field from b over a join.
  ASSERT_EQ(compile(bld_obj("a", 10, "",
                            "RELATIONS a2b MTO b INV_REL=b2a , a2c OTM c INV_REL=c2a RELATIONS_END\n") +
                    b + bld_obj("c", 12, ", n" + kLong, "RELATIONS c2a MTO a INV_REL=a2c RELATIONS_END\n") +
                    "VIEW v 20 ALIAS a x , b y FIELDS id FROM x.objid , bid FROM y.objid FIELDS_END "
                    "JOINS x.a2b = y.b2a JOINS_END VIEW_END;\n"),
            0)
      << core_top_alert_text();
  typ_sch_saved* saved = nullptr;
  ASSERT_EQ(typ_sch_save_and_reset(&saved), 0);
  long ns = 0, nr = 0;
  typ_sch_srec* news = nullptr;
  typ_sch_rrec* rels = nullptr;
  ASSERT_EQ(typ_sch_get_saved_schema(saved, &ns, &news, &nr, &rels), 0);
  auto saved_type = [&](const char* name) -> typ_sch_srec* {
    for (long i = 0; i < ns; ++i)
      if (std::string(news[i].info->name) == name) return &news[i];
    return nullptr;
  };
  // The database's model: no c, the view with one field.
  ASSERT_EQ(compile(bld_obj("a", 10, "", "RELATIONS a2b MTO b INV_REL=b2a RELATIONS_END\n") + b +
                    "VIEW v 20 ALIAS a x FIELDS id FROM x.objid FIELDS_END VIEW_END;\n"),
            0)
      << core_top_alert_text();
  adp_double::reset();
  ASSERT_EQ(utl_col_make("t", TYP_TY_DIFF, 10, 10, 0, 0, &list_), 0);
  typ_sch_diff_rec add_rel{};
  add_rel.op = TYP_DIFF_ADD_REL;
  add_rel.schema = sch("a");
  add_rel.type_id = 10;
  add_rel.rel.name = const_cast<char*>("a2c");
  add_rel.rel.inv_name = const_cast<char*>("c2a");
  add_rel.rel.rel_type = TYP_REL_OTM;
  add_rel.rel.side = 'p';
  add_rel.rel.target = saved_type("c");
  typ_sch_diff_rec add_type{};
  add_type.op = TYP_DIFF_ADD_TYPE;
  add_type.type_id = 12;
  add_type.old_schema = saved_type("c");
  typ_sch_diff_rec view{};
  view.op = TYP_DIFF_RECOMPILE_VIEW;
  view.type_id = 20;
  view.schema = sch("v");
  view.old_schema = saved_type("v");
  for (const auto* r : {&add_rel, &add_type, &view}) ASSERT_EQ(utl_col_push(list_, r, nullptr), 0);

  schema_stdout_of([&] { EXPECT_EQ(typ_sch_fold_in_changes(nullptr, list_, 0), 0) << core_top_alert_text(); });
  typ_sch_srec* c = sch("c");
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->type_id, 12);
  EXPECT_TRUE(c->flags & TYP_SCH_CHANGED);
  EXPECT_NE(fld("c", "n"), nullptr);
  long spec = -1, target = -1;
  EXPECT_EQ(typ_sch_rel_name_to_id(12, nullptr, "c2a", &spec, &target), 0);
  EXPECT_EQ(target, 10);
  typ_sch_srec* v = sch("v");
  ASSERT_NE(v, nullptr);
  EXPECT_TRUE(v->flags & TYP_SCH_CHANGED);  // its construction bit goes with the optimisation
  EXPECT_EQ(v->nfields, 2);
  EXPECT_NE(fld("v", "bid"), nullptr);
  EXPECT_EQ(v->nrels, 1);
  // Both are registered with the adapter, and the records name them.
  std::vector<std::string> inserted;
  for (const auto& call : adp_double::calls_of("adp_sch_type_insert")) inserted.push_back(call.args[0]);
  EXPECT_NE(std::find(inserted.begin(), inserted.end(), "12"), inserted.end());
  EXPECT_NE(std::find(inserted.begin(), inserted.end(), "20"), inserted.end());
  void* e = nullptr;
  utl_col_ith(list_, 1, &e);
  EXPECT_EQ(static_cast<typ_sch_diff_rec*>(e)->schema, sch("c"));
  utl_col_ith(list_, 2, &e);
  EXPECT_EQ(static_cast<typ_sch_diff_rec*>(e)->schema, sch("v"));
  // The emptied former view is no longer a type of the model.
  long views = 0;
  for (long i = 0; i < typ_sch_num_schs; ++i) views += typ_sch_schemas[i].type_id == 20;
  EXPECT_EQ(views, 1);
  ASSERT_EQ(typ_sch_switch_schemas(saved, 1), 0);
  utl_mem_free("t", saved);
}

}  // namespace

namespace {

TEST_F(typ_apply, RelationNotFoundStopsTheApply) {
  ASSERT_EQ(compile(bld_obj("a", 10)), 0);
  ASSERT_EQ(compile(bld_obj("a", 10), TYP_BLD_UPGRADE), 0);
  ASSERT_EQ(utl_col_make("t", TYP_TY_DIFF, 10, 10, 0, 0, &list_), 0);
  typ_sch_diff_rec r{};
  r.op = TYP_DIFF_DELETE_REL;
  r.type_id = 10;
  r.rel.name = const_cast<char*>("nosuch");
  ASSERT_EQ(utl_col_push(list_, &r, nullptr), 0);
  utl_col_set_ext(list_, reinterpret_cast<long>(typ_bld_saved_schema));
  long st = -1;
  schema_stdout_of([&] { st = typ_sch_apply_diffs(nullptr, list_, 0x80); });
  EXPECT_EQ(st, 0x500034);
  EXPECT_NE(core_top_alert_text().find("Could not find relation 'nosuch' to delete."), std::string::npos);
  EXPECT_EQ(count("dbs_rdb_calc_changes"), 0u);
  typ_bld_cleanup(0);
}

}  // namespace

namespace {

TEST_F(typ_apply, ViewFieldsOfAChangedBaseTypeTakeTheirOwnSourceFieldAgain) {
  const std::string text = " CMN_DATA_TYPE=\"char pointer\" DB_DATA_TYPE=7 ARRAY_SIZE=";
  const std::string views =
      "VIEW v 20 FIELDS id FROM a.objid UNIQUE, vs FROM a.s, vt FROM a.t FIELDS_END VIEW_END;\n"
      "VIEW w 21 FIELDS id FROM b.objid UNIQUE FIELDS_END VIEW_END;\n";
  ASSERT_EQ(database_model(bld_obj("a", 10, ", s" + text + "30, t" + text + "10") + bld_obj("b", 11) + views), 0)
      << core_top_alert_text();
  schema_double_reset();
  // s widened (drops nothing); the trial run leaves the compiled model current.
  ASSERT_EQ(full(bld_obj("a", 10, ", s" + text + "60, t" + text + "10") + bld_obj("b", 11) + views, TYP_BLD_UPGRADE),
            0)
      << out_;
  struct row {
    const char* view;
    const char* field;
    long size;
    bool refreshed;
  } rows[] = {{"v", "vs", 60, true}, {"v", "vt", 10, true}, {"w", "id", -1, false}};
  for (const row& r : rows) {
    const typ_sch_frec* f = fld(r.view, r.field);
    ASSERT_NE(f, nullptr) << r.view << "." << r.field;
    if (r.size != -1) {
      EXPECT_EQ(f->array_size, r.size) << r.field;
      EXPECT_EQ(f->db_type, 7) << r.field;
    }
    EXPECT_EQ((f->flags & 0x40) != 0, r.refreshed) << r.view << "." << r.field;
  }
  EXPECT_EQ(sch("v")->flags & 0x6010, 0x6010UL);
  EXPECT_FALSE(sch("w")->flags & TYP_SCH_CHANGED);
}

}  // namespace
