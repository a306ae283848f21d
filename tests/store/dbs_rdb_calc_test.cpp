// Calculating table changes from hand-made difference lists over the small
// dictionary: the change records and print texts of each difference, the
// upgrade journal, USE_LARGER_SIZE and USE_OLD_CASE, folding and the
// add-table shortcut, the bulk-copy probe and failures.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "adapter/adp_sch_load.h"
#include "adpdouble/adp_double_sce.h"
#include "core/osl/osl_sys_cfg.h"
#include "core/utl/utl_col.h"
#include "schema/typ_acc.h"
#include "schema/typ_diff.h"
#include "schema/typ_rec.h"
#include "store/dbs_rdb.h"
#include "store/dbs_db.h"
#include "store/dbs_upg.h"
#include "rdb_fixture.h"

namespace {

class rdb_calc_test : public table_change_test {
 protected:
  void TearDown() override {
    if (changes_) utl_col_free("rdb_calc_test", changes_);
    typ_sch_set_bld_options(0);
    table_change_test::TearDown();
  }
  static typ_sch_srec* schema(long type_id) {
    typ_sch_srec* s = nullptr;
    EXPECT_EQ(adp_sch_shandle_find(type_id, &s), 0);
    return s;
  }
  static typ_sch_frec field(long type_id, const char* name) {
    typ_sch_srec* s = schema(type_id);
    for (long i = 0; i < s->nfields; ++i)
      if (std::strcmp(s->fields[i].name, name) == 0) return s->fields[i];
    ADD_FAILURE() << name;
    return {};
  }
  static typ_sch_diff_rec diff(long op, long type_id) {
    typ_sch_diff_rec d{};
    d.op = op;
    d.type_id = type_id;
    d.schema = schema(type_id);
    d.old_schema = d.schema;
    return d;
  }
  static typ_sch_diff_rel_info rel(const char* name, char side, long type, const char* inverse = "inv",
                                   const char* mtm = "") {
    typ_sch_diff_rel_info r{};
    r.name = const_cast<char*>(name);
    r.side = side;
    r.rel_type = type;
    r.inv_name = const_cast<char*>(inverse);
    r.mtm_table = const_cast<char*>(mtm);
    return r;
  }
  long calc(std::vector<typ_sch_diff_rec> diffs, unsigned long options = 0, long revision = 1,
            utl_ty_col* events = nullptr) {
    if (changes_) utl_col_free("rdb_calc_test", changes_);
    changes_ = nullptr;
    diffs_ = std::move(diffs);
    return dbs_rdb_calc_changes(reinterpret_cast<KAdpConnId*>(1), static_cast<long>(diffs_.size()), diffs_.data(), options, &changes_,
                                revision, events);
  }
  // Each change as "table|op|name|second|default".
  std::vector<std::string> listed() const {
    std::vector<std::string> out;
    long n = 0;
    utl_col_num(changes_, &n);
    for (long i = 0; i < n; ++i) {
      void* e = nullptr;
      utl_col_ith(changes_, i, &e);
      auto* c = static_cast<dbs_ty_tbl_change*>(e);
      auto t = [](const char* s) { return std::string(s ? s : ""); };
      out.push_back(t(c->table_name) + "|" + std::to_string(c->op) + "|" + t(c->name) + "|" + t(c->second_name) +
                    "|" + t(c->default_text));
    }
    return out;
  }
  const dbs_ty_tbl_change* at(long i) const {
    void* e = nullptr;
    utl_col_ith(changes_, i, &e);
    return static_cast<const dbs_ty_tbl_change*>(e);
  }
  std::string printed() const {
    char* data = nullptr;
    size_t size = 0;
    FILE* f = open_memstream(&data, &size);
    long n = 0;
    utl_col_num(changes_, &n);
    for (long i = 0; i < n; ++i) dbs_rdb_print_change(f, 0, at(i), DBS_TY_TBL_CHANGE, i);
    std::fclose(f);
    std::string out(data, size);
    std::free(data);
    return out;
  }

  utl_ty_col* changes_ = nullptr;
  std::vector<typ_sch_diff_rec> diffs_;
};

}  // namespace

TEST_F(rdb_calc_test, FieldDifferencesGiveColumnChangesWithDefaults) {
  typ_sch_frec count = field(17, "count");
  typ_sch_frec added_text = field(17, "title");
  added_text.name = const_cast<char*>("motto");
  added_text.db_type = 6;
  added_text.def = const_cast<char*>("it's");
  typ_sch_frec plain_text = added_text;
  plain_text.name = const_cast<char*>("remark");
  plain_text.def = nullptr;
  typ_sch_frec stamp = field(17, "when");
  stamp.name = const_cast<char*>("stamp");
  stamp.flags |= 0x80;
  typ_sch_frec date = field(17, "when");
  date.name = const_cast<char*>("due");
  date.gen_id = -1;
  count.name = const_cast<char*>("extra");
  typ_sch_diff_rec modify = diff(TYP_DIFF_MODIFY_FIELD, 17);
  modify.old_field = field(17, "title");
  modify.new_field = field(17, "title");
  modify.new_field.array_size = 40;
  typ_sch_diff_rec rename = diff(TYP_DIFF_RENAME_FIELD, 17);
  rename.old_field = field(17, "title");
  rename.new_field = field(17, "title");
  rename.new_field.name = const_cast<char*>("subject");
  typ_sch_diff_rec del = diff(TYP_DIFF_DELETE_FIELD, 17);
  del.old_field = field(17, "notes");
  std::vector<typ_sch_diff_rec> diffs{modify, rename, del};
  for (const typ_sch_frec& f : {count, added_text, plain_text, stamp, date}) {
    typ_sch_diff_rec d = diff(TYP_DIFF_ADD_FIELD, 17);
    d.old_field = f;
    diffs.push_back(d);
  }
  ASSERT_EQ(calc(diffs), 0);
  EXPECT_EQ(listed(), (std::vector<std::string>{
                          "table_case|0|due||'01/01/1753 00:00:00'", "table_case|0|extra||7",
                          "table_case|0|motto||'it''s'", "table_case|0|remark||''", "table_case|0|stamp||NULL",
                          "table_case|1|notes||", "table_case|2|title|title|", "table_case|3|title|subject|"}));
  EXPECT_EQ(at(6)->old_length, 25);
  EXPECT_EQ(at(6)->new_length, 40);
  const std::string text = printed();
  EXPECT_NE(text.find("2) table_case: add column 'extra' a t0(0).\n"), std::string::npos) << text;
  EXPECT_NE(text.find("6) table_case: delete column 'notes'.\n"), std::string::npos) << text;
  EXPECT_NE(text.find("7) table_case: modify t3(40) column 'title'.\n  Change length from 25 to 40.\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("8) table_case: rename column from 'title' to 'subject'.\n"), std::string::npos) << text;
  // The existing table was probed once, for its first column change.
  EXPECT_EQ(adp_double::calls_of("adp_sch_does_tbl_exist").size(), 1u);
}

TEST_F(rdb_calc_test, TypeRelationAndViewDifferences) {
  typ_sch_diff_rec add_rel = diff(TYP_DIFF_ADD_REL, 17);
  add_rel.rel = rel("case2site", 'f', TYP_REL_MTO, "site2case");
  typ_sch_diff_rec add_p = diff(TYP_DIFF_ADD_REL, 18);
  add_p.rel = rel("site2case", 'p', TYP_REL_OTM, "case2site");
  add_p.rel.target = schema(17);
  typ_sch_diff_rec del_f = diff(TYP_DIFF_DELETE_REL, 17);
  del_f.rel = rel("old2site", 'f', TYP_REL_MTO);
  typ_sch_diff_rec del_p = diff(TYP_DIFF_DELETE_REL, 18);
  del_p.rel = rel("site2old", 'p', TYP_REL_OTM);
  typ_sch_diff_rec del_mtm = diff(TYP_DIFF_DELETE_REL, 17);
  del_mtm.rel = rel("tags", 'p', TYP_REL_MTM, "inv", "mtm_case_tag");
  typ_sch_diff_rec add_type = diff(TYP_DIFF_ADD_TYPE, 18);
  typ_sch_diff_rec del_type = diff(TYP_DIFF_DELETE_TYPE, 18);
  del_type.schema = nullptr;
  typ_sch_diff_rec indexes = diff(TYP_DIFF_INDEXES, 17);
  typ_sch_diff_rec attr = diff(TYP_DIFF_ATTRIBUTE, 17);
  schema(17)->flags |= 0x80000;
  utl_ty_col* events = nullptr;
  ASSERT_EQ(utl_col_make("rdb_calc_test", 512, 4, 4, 0, 0, &events), 0);
  ASSERT_EQ(calc({add_rel, add_p, del_f, del_p, del_mtm, add_type, del_type, indexes, attr}, 0, 1, events), 0) << core_top_alert_text();
  schema(17)->flags &= ~0x80000UL;
  EXPECT_EQ(listed(), (std::vector<std::string>{"mtm_case_tag|5|||",
                                                "table_case|0|case2site||", "table_case|1|old2site||",
                                                "table_case|11|||", "table_case|21|||",
                                                "table_site|4|create table table_site (...)||",
                                                "table_site|5|||", "table_site|12|||"}));
  // The primary side's relation adds the key column on the foreign side's table, once.
  EXPECT_EQ(at(1)->old_db_type, 0);
  EXPECT_EQ(at(4)->operand, 0x80000UL);
  long n = 0;
  utl_col_num(events, &n);
  EXPECT_EQ(n, 1);  // the added type's id
  utl_col_free("rdb_calc_test", events);
  EXPECT_NE(printed().find("6) table_site: add table with definition:\n  'create table table_site (...)'\n"),
            std::string::npos);
}

TEST_F(rdb_calc_test, RenamedTablesAndLinkTablesNameLaterChangesByTheirNewNames) {
  typ_sch_diff_rec modify_type = diff(TYP_DIFF_MODIFY_TYPE, 17);
  modify_type.old_schema = schema(18);  // a type once named "site", now "case"
  typ_sch_diff_rec modify_rel = diff(TYP_DIFF_MODIFY_REL, 17);
  modify_rel.rel = rel("tags", 'p', TYP_REL_MTM, "cases", "mtm_a");
  modify_rel.new_rel = rel("tags", 'p', TYP_REL_MTM, "cases", "mtm_b");
  typ_sch_diff_rec drop_link = diff(TYP_DIFF_DELETE_REL, 17);
  drop_link.rel = rel("tags", 'p', TYP_REL_MTM, "cases", "mtm_a");
  typ_sch_diff_rec rename_rel = diff(TYP_DIFF_RENAME_REL, 17);
  rename_rel.rel = rel("tags", 'p', TYP_REL_MTM, "cases", "mtm_a");
  rename_rel.new_rel = rel("labels", 'p', TYP_REL_MTM, "cases", "mtm_b");
  typ_sch_diff_rec rename_fk = diff(TYP_DIFF_RENAME_REL, 17);
  rename_fk.rel = rel("case2site", 'f', TYP_REL_MTO);
  rename_fk.new_rel = rel("case2place", 'f', TYP_REL_MTO);
  // The link table is still under its old name while the changes are worked out.
  adp_double::set_table_exists("mtm_a", true);
  adp_double::set_table_has_rows("mtm_a", true);
  ASSERT_EQ(calc({modify_type, modify_rel, drop_link, rename_rel, rename_fk}), 0);
  EXPECT_EQ(listed(), (std::vector<std::string>{"mtm_b|7|mtm_a|mtm_b|", "mtm_b|3|tags|labels|", "mtm_b|5|||",
                                                "table_case|7|table_site|table_case|",
                                                "table_case|3|case2site|case2place|"}));
  EXPECT_NE(printed().find("1) mtm_b: rename table from 'mtm_a' to 'mtm_b'.\n"), std::string::npos);
}

TEST_F(rdb_calc_test, ARenamedTableIsLookedUpUnderItsOldName) {
  // The type once named "site" is now "case": its table is renamed before
  // its columns change, so only table_site is in the database yet.
  typ_sch_diff_rec modify_type = diff(TYP_DIFF_MODIFY_TYPE, 17);
  modify_type.old_schema = schema(18);
  typ_sch_diff_rec del = diff(TYP_DIFF_DELETE_FIELD, 17);
  del.old_field = field(17, "notes");
  struct row {
    bool rows;
    std::vector<std::string> changes;
  } rows[] = {
      {true, {"table_case|7|table_site|table_case|", "table_case|1|notes||"}},
      {false, {"table_case|7|table_site|table_case|", "table_case|10|create table table_case (...)||"}},
  };
  for (const row& r : rows) {
    adp_double::reset();
    adp_double::set_table_exists("table_case", false);
    adp_double::set_table_exists("table_site", true);
    adp_double::set_table_has_rows("table_site", r.rows);
    ASSERT_EQ(calc({modify_type, del}), 0);
    EXPECT_EQ(listed(), r.changes);
    auto probes = adp_double::calls_of("adp_sch_does_tbl_exist");
    ASSERT_EQ(probes.size(), 1u);
    EXPECT_EQ(probes[0].args[0], "table_site");
  }
}

TEST_F(rdb_calc_test, JournalRowsWithTheOfflineFeature) {
  adp_store::st().stored.flags = 32;
  adp_store::st().stored.cust_int_rev = 4;
  ASSERT_EQ(dbs_db_find_header(nullptr), 0);
  adp_double::set_journal_sequence(10);
  adp_double::set_index_names(17, {"idx1", "idx2"});
  typ_sch_frec motto = field(17, "title");
  motto.name = const_cast<char*>("motto");
  motto.db_type = 6;
  motto.def = const_cast<char*>("it's");
  typ_sch_diff_rec add = diff(TYP_DIFF_ADD_FIELD, 17);
  add.old_field = motto;
  typ_sch_diff_rec modify = diff(TYP_DIFF_MODIFY_FIELD, 17);
  modify.old_field = field(17, "title");
  modify.new_field = field(17, "title");
  modify.new_field.array_size = 40;
  typ_sch_diff_rec add_rel = diff(TYP_DIFF_ADD_REL, 17);
  add_rel.rel = rel("case2site", 'f', TYP_REL_MTO);
  typ_sch_diff_rec add_type = diff(TYP_DIFF_ADD_TYPE, 18);
  typ_sch_diff_rec indexes = diff(TYP_DIFF_INDEXES, 17);
  utl_ty_col* events = nullptr;
  ASSERT_EQ(utl_col_make("rdb_calc_test", 512, 4, 4, 0, 0, &events), 0);
  ASSERT_EQ(calc({add, modify, add_rel, add_type, indexes}, 0x80, 3, events), 0) << core_top_alert_text();
  EXPECT_EQ(adp_double::journal(),
            (std::vector<std::string>{"11|3000005|5|case|motto|'it''s'", "12|3000005|7|case|title|''",
                                      "13|3000005|9|case|case2site|''", "14|3000005|0|site||''",
                                      "15|3000005|13|case|idx1|''", "16|3000005|13|case|idx2|''",
                                      "17|3000005|12|case||''"}));
  long n = 0;
  void* e = nullptr;
  utl_col_num(events, &n);
  ASSERT_EQ(n, 1);
  utl_col_ith(events, 0, &e);
  EXPECT_EQ(*static_cast<long*>(e), 18);
  utl_col_free("rdb_calc_test", events);
  // Without the commit option nothing is journalled.
  adp_double::reset();
  ASSERT_EQ(calc({add}, 0, 3), 0);
  EXPECT_TRUE(adp_double::journal().empty());
  adp_store::st().stored.flags = 0;
}

TEST_F(rdb_calc_test, UseLargerSizeKeepsTheLargerColumn) {
  struct row {
    const char* why;
    long server;
    long old_type, new_type, old_length, new_length;
    const char* text;
    long kept_type, kept_length;
  } rows[] = {
      {"float on flag-1 server", 1, 4, 3, 25, 25, "because it is a 8 byte float and USE_LARGER_SIZE is on.", 4, 25},
      {"float elsewhere", 2, 4, 3, 25, 25, "in schema only\n  because they are both numbers.", 4, 25},
      {"single to double float on flag-2 server", 2, 3, 4, 25, 25, "in schema only", 4, 25},
      {"long text", 2, 8, 7, -1, 80, "because it is a text field and USE_LARGER_SIZE is on.", 8, -1},
      {"shorter text", 2, 3, 3, 40, 20, "previous size (40) is longer than new (20)", 3, 40},
  };
  for (const row& r : rows) {
    adp_store::st().server_type = r.server;
    typ_sch_diff_rec d = diff(TYP_DIFF_MODIFY_FIELD, 17);
    d.old_field = field(17, "title");
    d.new_field = field(17, "title");
    d.old_field.db_type = r.old_type;
    d.new_field.db_type = r.new_type;
    d.old_field.array_size = r.old_length;
    d.new_field.array_size = r.new_length;
    std::string out = store_stdout_of([&] { ASSERT_EQ(calc({d}, 0x8000 | 0x400), 0); });
    EXPECT_NE(out.find(r.text), std::string::npos) << r.why << "\n" << out;
    EXPECT_TRUE(listed().empty()) << r.why;
    typ_sch_frec now = field(17, "title");
    EXPECT_EQ(now.db_type, r.kept_type) << r.why;
    EXPECT_EQ(now.array_size, r.kept_length) << r.why;
    small_dictionary();
    load_model();
  }
  // Without the option the change is made, and leaving long text forces a dump.
  typ_sch_diff_rec d = diff(TYP_DIFF_MODIFY_FIELD, 17);
  d.old_field = field(17, "notes");
  d.new_field = field(17, "notes");
  d.old_field.db_type = 8;
  d.new_field.db_type = 7;
  ASSERT_EQ(calc({d}), 0);
  EXPECT_EQ(listed(), (std::vector<std::string>{"table_case|2|notes|notes|"}));
  EXPECT_TRUE(schema(17)->flags & 0x8000);
}

TEST_F(rdb_calc_test, CaseChanges) {
  typ_sch_diff_rec d = diff(TYP_DIFF_MODIFY_FIELD, 17);
  d.old_field = field(17, "title");
  d.new_field = field(17, "title");
  d.old_field.flags |= 0x100;
  ASSERT_EQ(calc({d}), 0);
  EXPECT_EQ(listed(), (std::vector<std::string>{"table_case|15|title|title|"}));
  EXPECT_NE(printed().find("make column 'title' case-sensitive."), std::string::npos);
  ASSERT_EQ(dbs_db_find_header(nullptr), 0);
  // USE_OLD_CASE keeps the old case: without the commit option nothing more.
  std::string out = store_stdout_of([&] { ASSERT_EQ(calc({d}, 0x20000 | 0x400), 0); });
  EXPECT_NE(out.find("Ignoring change of case for field 'title' of 'case' because USE_OLD_CASE is on"),
            std::string::npos);
  EXPECT_TRUE(listed().empty());
  EXPECT_TRUE(field(17, "title").flags & 0x100);
  ASSERT_EQ(calc({d}, 0x20000 | 0x80), 0);
  EXPECT_EQ(listed(), (std::vector<std::string>{"table_case|2|title|title|"}));
  // 0x200000 switches USE_OLD_CASE off.
  ASSERT_EQ(calc({d}, 0x20000 | 0x200000), 0);
  EXPECT_EQ(listed(), (std::vector<std::string>{"table_case|15|title|title|"}));
}

TEST_F(rdb_calc_test, UnchangedColumnsAreDroppedUnlessTheUpgradeChangesTextStorage) {
  typ_sch_diff_rec d = diff(TYP_DIFF_MODIFY_FIELD, 17);
  d.old_field = field(17, "notes");
  d.new_field = field(17, "notes");
  d.new_field.flags |= 0x40;  // not compared
  d.old_field.db_type = d.new_field.db_type = 8;
  ASSERT_EQ(calc({d}), 0);
  EXPECT_TRUE(listed().empty());
  typ_sch_set_bld_options(0x1000000);  // large-object upgrade
  ASSERT_EQ(calc({d}), 0);
  EXPECT_EQ(listed(), (std::vector<std::string>{"table_case|2|notes|notes|EMPTY_CLOB()"}));
  typ_sch_set_bld_options(0x400000 | 0x100);  // Unicode upgrade
  d.old_field.db_type = d.new_field.db_type = 7;
  ASSERT_EQ(calc({d}), 0);
  EXPECT_EQ(listed(), (std::vector<std::string>{"table_case|2|notes|notes|"}));
}

TEST_F(rdb_calc_test, ColumnChangesOnMissingOrEmptyTablesBecomeWholeTables) {
  typ_sch_diff_rec del = diff(TYP_DIFF_DELETE_FIELD, 17);
  del.old_field = field(17, "notes");
  typ_sch_diff_rec del2 = diff(TYP_DIFF_DELETE_FIELD, 17);
  del2.old_field = field(17, "count");
  typ_sch_diff_rec site = diff(TYP_DIFF_DELETE_FIELD, 18);
  site.old_field = field(18, "name");
  struct row {
    bool exists, rows;
    std::vector<std::string> changes;
  } rows[] = {
      {false, false, {"table_case|4|create table table_case (...)||", "table_site|1|name||"}},
      {true, false, {"table_case|10|create table table_case (...)||", "table_site|1|name||"}},
      {true, true, {"table_case|1|count||", "table_case|1|notes||", "table_site|1|name||"}},
  };
  for (const row& r : rows) {
    adp_double::set_table_exists("table_case", r.exists);
    adp_double::set_table_has_rows("table_case", r.rows);
    std::string out = store_stdout_of([&] { ASSERT_EQ(calc({del, site, del2, del}, 0x400), 0); });
    EXPECT_EQ(listed(), r.changes);
    EXPECT_EQ(out.find("Table 'table_case' has no data or does not exist; optimizing modification") !=
                  std::string::npos,
              !r.rows);
  }
}

TEST_F(rdb_calc_test, BulkCopyProbeAndFailures) {
  typ_sch_diff_rec del = diff(TYP_DIFF_DELETE_FIELD, 17);
  del.old_field = field(17, "notes");
  const char* path = std::getenv("PATH");
  const std::string saved = path ? path : "";
  setenv("PATH", "/nonexistent", 1);
  adp_store::st().server_type = 1;
  osl_sys_set_config_string("UPGRADE_MAX_COPY_SIZE", "100", 0);
  std::string out = store_stdout_of([&] { EXPECT_EQ(calc({del}), 1); });
  EXPECT_NE(out.find("Error in invoking BCP: "), std::string::npos) << out;
  osl_sys_set_config_string("UPGRADE_MAX_COPY_SIZE", "-5", 0);
  EXPECT_EQ(calc({del}), 0);
  osl_sys_set_config_string("UPGRADE_MAX_COPY_SIZE", "100", 0);
  adp_store::st().server_type = 1 | 4;
  EXPECT_EQ(calc({del}), 0);
  setenv("PATH", saved.c_str(), 1);

  // A failing adapter call returns its status at once.
  adp_store::st().server_type = 2;
  adp_double::reset();
  adp_double::script("adp_sch_table_def", {0x600006});
  EXPECT_EQ(calc({diff(TYP_DIFF_ADD_TYPE, 18), del}), 0x600006);
  EXPECT_TRUE(adp_double::calls_of("adp_sch_does_tbl_exist").empty());
}

TEST_F(rdb_calc_test, StoredIndexRowsBecomeMemberLists) {
  adp_double::hook("adp_sql_select", [](const std::vector<void*>& raw) -> long {
    auto* out = static_cast<utl_ty_col*>(raw[1]);
    utl_ty_col *names = nullptr, *fields = nullptr, *flags = nullptr;
    utl_col_make("test", 516, 2, 2, 0, 0, &names);
    utl_col_make("test", 516, 2, 2, 0, 0, &fields);
    utl_col_make("test", 512, 2, 2, 0, 0, &flags);
    const long one = 1, zero = 0;
    utl_col_push(names, "idx1", nullptr);
    utl_col_push(fields, "a:b:c", nullptr);
    utl_col_push(flags, &one, nullptr);
    utl_col_push(names, "idx2", nullptr);
    utl_col_push(fields, "d", nullptr);
    utl_col_push(flags, &zero, nullptr);
    for (utl_ty_col* c : {names, fields, flags}) utl_col_push(out, &c, nullptr);
    return 0;
  });
  utl_ty_col* list = nullptr;
  ASSERT_EQ(dbs_rdb_get_indexes(nullptr, 17, &list), 0);
  EXPECT_EQ(adp_double::calls_of("adp_sql_select")[0].args[1],
            "select index_name, field_names, flags from adp_sch_index where type_id=17");
  std::vector<std::string> rows;
  long n = 0;
  utl_col_num(list, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(list, i, &e);
    auto* member = *static_cast<utl_ty_col**>(e);
    long m = 0, ext = -1;
    utl_col_num(member, &m);
    utl_col_get_ext(member, &ext);
    std::string row;
    for (long j = 0; j < m; ++j) {
      void* t = nullptr;
      utl_col_ith(member, j, &t);
      row += std::string(j ? "," : "") + static_cast<const char*>(t);
    }
    rows.push_back(row + "/" + std::to_string(ext));
  }
  EXPECT_EQ(rows, (std::vector<std::string>{"idx1,a,b,c/1", "idx2,d/0"}));
  EXPECT_EQ(dbs_rdb_free_ind_col(nullptr, list), 0);
  adp_double::script("adp_sql_select", {0x600004});
  EXPECT_EQ(dbs_rdb_get_indexes(nullptr, 17, &list), 0x600004);
  EXPECT_EQ(list, nullptr);
}
