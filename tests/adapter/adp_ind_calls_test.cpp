// The adapter's index calls by exact text through the scripted service, on
// both dialects: declared indexes made from the schema's lists (the lists
// left whole), listed and read back from adp_sch_index, the server asked
// before a DROP (a missing index runs none, a failing one is forgotten),
// rows deleted by lower-case name, Oracle's rebuild with the names that
// failed, catalogue records matched with the schema and fitted to renamed
// columns, and the record print.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "adapter/adp_db.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_ind.h"
#include "adapter/adp_model.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sch_load.h"
#include "core/cmn/cmn_meth.h"
#include "core/core_fixture.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "platform/dataservice/ds_script.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"

namespace {

using ds_script::cell;
using texts = std::vector<std::string>;

constexpr long kCase = 4101;
constexpr long kLong = 512, kText = 516;
constexpr long kDbInt = 0, kDbText = 7;
constexpr long kObjidGen = 3;
constexpr long kRefused = 0x8B0014F;
const std::string kRowDelete = "delete adp_sch_index where" + std::string(35, ' ');

ds_script::result count(long n) { return {{"n"}, {{cell::l(n)}}}; }
ds_script::result done() { return {}; }

std::string oracle_exists(const char* name) {
  return std::string("select count(*) from user_indexes where lower(index_name) = lower('") + name + "')";
}
std::string mssql_exists(const char* name) {
  return std::string("select count(*) from sysindexes where lower(name) = lower('") + name + "')";
}

std::vector<utl_ty_col*> members_of(utl_ty_col* list) {
  std::vector<utl_ty_col*> out;
  long n = 0;
  utl_col_num(list, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(list, i, &e);
    out.push_back(*static_cast<utl_ty_col**>(e));
  }
  return out;
}

class AdpIndCalls : public adp_test {
 protected:
  void SetUp() override {
    adp_test::SetUp();
    ASSERT_EQ(cmn_meth_install_all(), 0);
    adp_ind_init();
    model_ = new adp_model;
    typ_sch_srec* c = adp_model_object("case", kCase);
    adp_model_field(c, "objid", kLong, kDbInt, kObjidGen);
    adp_model_field(c, "title", kText, kDbText);
    adp_model_field(c, "status", kText, kDbText);
    case_ = model_->finish(kCase);
    ASSERT_NE(case_, nullptr);
  }
  void TearDown() override {
    for (utl_ty_col* c : cols_) utl_col_free("test", c);
    for (utl_ty_col* list : lists_) {
      for (utl_ty_col* m : members_of(list)) utl_col_free("test", m);
      utl_col_free("test", list);
    }
    if (records_ != nullptr) {
      adp_ind_free_res_ind_col(records_);
      utl_col_free("test", records_);
    }
    adp_db_set_flags(0);
    adp_db_set_head_read(0);
    delete model_;
    adp_test::TearDown();
  }
  KAdpConnId* open(const char* driver) {
    KAdpConnId* con = connect(driver);
    adp_db_set_head_read(1);
    adp_db_set_flags(0);
    ds_script::reset();
    cmn_alrt_clear(nullptr);
    return con;
  }
  utl_ty_col* names(std::initializer_list<const char*> list) {
    utl_ty_col* col = nullptr;
    EXPECT_EQ(utl_col_make("test", kText, 4, 4, 0, 0, &col), 0);
    for (const char* n : list) EXPECT_EQ(utl_col_push(col, n, nullptr), 0);
    cols_.push_back(col);
    return col;
  }
  // A schema index list: member lists of a name and its fields, the flags
  // in the extension.
  utl_ty_col* index_list(std::initializer_list<std::pair<std::initializer_list<const char*>, long>> indexes) {
    utl_ty_col* list = nullptr;
    EXPECT_EQ(utl_col_make("test", 517, 4, 4, 0, 0, &list), 0);
    for (const auto& [members, flags] : indexes) {
      utl_ty_col* m = nullptr;
      EXPECT_EQ(utl_col_make("test", kText, 4, 4, 0, 0, &m), 0);
      for (const char* n : members) EXPECT_EQ(utl_col_push(m, n, nullptr), 0);
      EXPECT_EQ(utl_col_set_ext(m, flags), 0);
      EXPECT_EQ(utl_col_push(list, &m, nullptr), 0);
    }
    lists_.push_back(list);
    return list;
  }
  adp_ty_index_info* record(const char* name, std::initializer_list<const char*> fields) {
    if (records_ == nullptr) {
      EXPECT_EQ(utl_col_make("test", ADP_TY_INDEX_INFO, 4, 4, 0, 0, &records_), 0);
    }
    adp_ty_index_info r{};
    std::snprintf(r.name, sizeof r.name, "%s", name);
    EXPECT_EQ(utl_col_make("test", kText, 4, 4, 0, 0, &r.fields), 0);
    for (const char* f : fields) EXPECT_EQ(utl_col_push(r.fields, f, nullptr), 0);
    void* stored = nullptr;
    EXPECT_EQ(utl_col_push(records_, &r, &stored), 0);
    return static_cast<adp_ty_index_info*>(stored);
  }
  adp_ty_index_info* record_at(long i) {
    void* e = nullptr;
    EXPECT_EQ(utl_col_ith(records_, i, &e), 0);
    return static_cast<adp_ty_index_info*>(e);
  }
  long record_count() {
    long n = 0;
    utl_col_num(records_, &n);
    return n;
  }
  static void answers(const std::vector<ds_script::result>& results) {
    for (const auto& r : results) ds_script::push_result(r);
  }

  adp_model* model_ = nullptr;
  typ_sch_srec* case_ = nullptr;
  std::vector<utl_ty_col*> cols_;
  std::vector<utl_ty_col*> lists_;
  utl_ty_col* records_ = nullptr;
};

TEST_F(AdpIndCalls, DeclaredIndexesAreMadeFromTheSchemaListWhichStaysWhole) {
  KAdpConnId* con = open("oledb");
  utl_ty_col* list = index_list({{{"case_title", "title", "status"}, 1}, {{"case_status", "status"}, 0}});
  ASSERT_EQ(typ_sch_uptr_set(case_, list), 0);
  ASSERT_EQ(adp_ind_create(con, case_), 0);
  EXPECT_EQ(adp_script_sent(),
            (texts{"CREATE UNIQUE NONCLUSTERED INDEX case_title ON table_case (title, status)\n",
                   "delete adp_sch_index where type_id=4101 and index_name='case_title'\n",
                   "insert into adp_sch_index (type_id, index_name, flags, field_count, field_names, comments) "
                   "VALUES(4101, 'case_title', 1, 2, 'title:status', '')\n",
                   "CREATE NONCLUSTERED INDEX case_status ON table_case (status)\n",
                   "delete adp_sch_index where type_id=4101 and index_name='case_status'\n",
                   "insert into adp_sch_index (type_id, index_name, flags, field_count, field_names, comments) "
                   "VALUES(4101, 'case_status', 0, 1, 'status', '')\n"}));
  // The type's own lists keep their names: made again, the same statements.
  ds_script::reset();
  ASSERT_EQ(adp_ind_create(con, case_), 0);
  EXPECT_EQ(adp_script_sent().size(), 6u);
  EXPECT_EQ(adp_script_sent()[0], "CREATE UNIQUE NONCLUSTERED INDEX case_title ON table_case (title, status)\n");
  // The first failure ends the run and is returned.
  ds_script::reset();
  ds_script::fail({"ExecStatement", 1, kRefused, "refused", ""});
  EXPECT_NE(adp_ind_create(con, case_), 0);
  EXPECT_EQ(adp_script_sent().size(), 1u);
  typ_sch_uptr_set(case_, nullptr);
  // A type without a list makes nothing.
  ds_script::reset();
  EXPECT_EQ(adp_ind_create(con, case_), 0);
  EXPECT_TRUE(adp_script_sent().empty());
}

// The table-change engine's form: a dry run writes every declared index's
// statements to its file and sends nothing; without the dry-run bit they
// run as adp_ind_create runs them.
TEST_F(AdpIndCalls, DeclaredIndexesOfADryRunGoToTheFileOnly) {
  constexpr long kDryRun = 1;
  KAdpConnId* con = open("oledb");
  utl_ty_col* list = index_list({{{"case_title", "title"}, 1}, {{"case_status", "status"}, 0}});
  ASSERT_EQ(typ_sch_uptr_set(case_, list), 0);
  FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(adp_ind_create_declared(con, case_, file, kDryRun), 0);
  EXPECT_TRUE(adp_script_sent().empty());
  std::string written(4096, '\0');
  std::rewind(file);
  written.resize(std::fread(written.data(), 1, written.size(), file));
  std::fclose(file);
  EXPECT_EQ(written,
            "CREATE UNIQUE NONCLUSTERED INDEX case_title ON table_case (title)\ngo\n"
            "delete adp_sch_index where type_id=4101 and index_name='case_title'\ngo\n"
            "insert into adp_sch_index (type_id, index_name, flags, field_count, field_names, comments) "
            "VALUES(4101, 'case_title', 1, 1, 'title', '')\ngo\n"
            "CREATE NONCLUSTERED INDEX case_status ON table_case (status)\ngo\n"
            "delete adp_sch_index where type_id=4101 and index_name='case_status'\ngo\n"
            "insert into adp_sch_index (type_id, index_name, flags, field_count, field_names, comments) "
            "VALUES(4101, 'case_status', 0, 1, 'status', '')\ngo\n");
  ASSERT_EQ(adp_ind_create_declared(con, case_, nullptr, 0), 0);
  EXPECT_EQ(adp_script_sent().size(), 6u);
  typ_sch_uptr_set(case_, nullptr);
}

TEST_F(AdpIndCalls, AddIndexTakesTheUniqueBitOfTheFlags) {
  for (const char* driver : {"oledb", "oracle"}) {
    SCOPED_TRACE(driver);
    KAdpConnId* con = open(driver);
    ASSERT_EQ(adp_ind_add_index(con, case_, "status", names({"status"}), 1, nullptr, 0), 0);
    ASSERT_EQ(adp_ind_add_index(con, case_, "title", names({"title"}), 4, nullptr, 0), 0);
    const texts sent = adp_script_sent();
    ASSERT_EQ(sent.size(), 6u);
    const bool oracle = std::string(driver) == "oracle";
    EXPECT_EQ(sent[0], oracle ? "CREATE UNIQUE INDEX case_status ON table_case (status)\n"
                              : "CREATE UNIQUE NONCLUSTERED INDEX status ON table_case (status)\n");
    EXPECT_EQ(sent[3], oracle ? "CREATE INDEX case_title ON table_case (title)\n"
                              : "CREATE NONCLUSTERED INDEX title ON table_case (title)\n");
  }
}

TEST_F(AdpIndCalls, IndexesAreListedAndReadBackFromTheirRows) {
  KAdpConnId* con = open("oledb");
  answers({{{"index_name"}, {{cell::t("case_title")}, {cell::t("case_status")}}}});
  utl_ty_col* listed = names({"kept"});
  ASSERT_EQ(adp_ind_list_index(con, kCase, listed), 0);
  EXPECT_EQ(adp_col_texts(listed), (texts{"kept", "case_title", "case_status"}));
  EXPECT_EQ(adp_script_sent(), texts{"select index_name from adp_sch_index where type_id = 4101"});

  const struct {
    const char* field_names;
    long flags;
    texts fields;
    char unique;
  } rows[] = {
      {"title:status", 1, {"title", "status"}, 1},
      {"status", 0, {"status"}, 0},  // no ":": one name
      {"a::b:", 2, {"a", "b"}, 0},   // empty names left out; only flags 1 is unique
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.field_names);
    ds_script::reset();
    answers({{{"field_names", "flags"}, {{cell::t(r.field_names), cell::l(r.flags)}}}});
    utl_ty_col* fields = names({});
    char unique = 7;
    ASSERT_EQ(adp_ind_get_index(con, kCase, "Case_Title", fields, &unique), 0);
    EXPECT_EQ(adp_col_texts(fields), r.fields);
    EXPECT_EQ(unique, r.unique);
  }
  // Found by lower-case name, quotes doubled.
  EXPECT_EQ(adp_script_sent(),
            texts{"select field_names, flags from adp_sch_index where type_id = 4101 and lower(index_name) = "
                  "lower('Case_Title')"});
  ds_script::reset();
  utl_ty_col* fields = names({});
  char unique = 7;
  ASSERT_EQ(adp_ind_get_index(con, kCase, "o'k", fields, &unique), 0);
  EXPECT_TRUE(adp_col_texts(fields).empty());  // no row: nothing changes
  EXPECT_EQ(unique, 7);
  EXPECT_NE(adp_script_sent()[0].find("lower('o''k')"), std::string::npos);
}

TEST_F(AdpIndCalls, TheServerIsAskedWhetherAnIndexExistsAndAFailureAnswersNo) {
  const struct {
    const char* driver;
    std::string query;
  } rows[] = {
      {"oracle", oracle_exists("it''s")},
      {"oledb", mssql_exists("it''s")},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.driver);
    KAdpConnId* con = open(r.driver);
    answers({count(2)});
    EXPECT_EQ(adp_ind_exists(con, "it's"), 1);
    answers({count(0)});
    EXPECT_EQ(adp_ind_exists(con, "it's"), 0);
    EXPECT_EQ(adp_script_sent(), (texts{r.query, r.query}));
    ds_script::fail({"FetchNextSet", 3, kRefused, "refused", ""});
    EXPECT_EQ(adp_ind_exists(con, "it's"), 0);
    EXPECT_TRUE(core_alert_codes().empty());
  }
}

TEST_F(AdpIndCalls, ADeclaredIndexIsDroppedWithItsSearchIndexAndItsRow) {
  const std::string row = kRowDelete + "type_id = 4101 and lower(index_name) = lower('title')\n";
  const struct {
    const char* what;
    const char* driver;
    const char* name;
    std::vector<ds_script::result> answers;
    texts sent;
  } rows[] = {
      {"Oracle, both there", "oracle", "title",
       {count(1), done(), count(1), done(), done()},
       {oracle_exists("case_title"), "DROP INDEX case_title\n", oracle_exists("S_case_title"),
        "DROP INDEX S_case_title\n", row}},
      {"Oracle, no search index", "oracle", "title",
       {count(1), done(), count(0), done()},
       {oracle_exists("case_title"), "DROP INDEX case_title\n", oracle_exists("S_case_title"), row}},
      {"Oracle, neither there: no DROP", "oracle", "title",
       {count(0), count(0), done()},
       {oracle_exists("case_title"), oracle_exists("S_case_title"), row}},
      {"SQL Server, with the table", "oledb", "title",
       {count(1), done(), done()},
       {mssql_exists("title"), "DROP INDEX table_case.title\n", row}},
      {"SQL Server, the objid index", "oledb", "objid",
       {count(1), done(), done()},
       {mssql_exists("objindex"), "DROP INDEX table_case.objindex\n",
        kRowDelete + "type_id = 4101 and lower(index_name) = lower('objid')\n"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    KAdpConnId* con = open(r.driver);
    answers(r.answers);
    EXPECT_EQ(adp_ind_drop_index(con, kCase, r.name), 0);
    EXPECT_EQ(adp_script_sent(), r.sent);
  }
}

TEST_F(AdpIndCalls, DropFailuresAreForgottenAndATypeWithoutTableOnlyLosesItsRow) {
  KAdpConnId* con = open("oracle");
  // The DROP (DDL) and the row delete (the third statement of the batch)
  // fail: 0, and no alert is left behind.
  answers({count(1), done(), count(0), done()});
  ds_script::fail({"ExecStatement", 1, kRefused, "refused", "drop"});
  ds_script::fail({"FetchNextSet", 3, kRefused, "refused", "delete"});
  EXPECT_EQ(adp_ind_drop_an_index(con, kCase, "title", nullptr, 0, 1), 0);
  EXPECT_EQ(adp_script_sent().size(), 4u);
  EXPECT_TRUE(core_alert_codes().empty());
  // Both did fail: the server log has them.
  const std::string log = file_text("server.log");
  EXPECT_NE(log.find("drop"), std::string::npos) << log;
  EXPECT_NE(log.find("delete"), std::string::npos) << log;
  // Without the delete flag no row is touched.
  ds_script::reset();
  EXPECT_EQ(adp_ind_drop_an_index(con, kCase, "title", nullptr, 0, 0), 0);
  EXPECT_EQ(adp_script_sent(), (texts{oracle_exists("case_title"), oracle_exists("S_case_title")}));
  // A type the cache does not know has no table: only the row goes.
  ds_script::reset();
  EXPECT_EQ(adp_ind_drop_an_index(con, 999, "o'k", nullptr, 0, 1), 0);
  EXPECT_EQ(adp_script_sent(), texts{kRowDelete + "type_id = 999 and lower(index_name) = lower('o''k')\n"});
}

TEST_F(AdpIndCalls, ADryRunWritesTheDropAndTheRowDeleteToTheScript) {
  KAdpConnId* con = open("oledb");
  FILE* f = std::fopen("drop.ddl", "w");
  ASSERT_NE(f, nullptr);
  answers({count(1)});
  EXPECT_EQ(adp_ind_drop_an_index(con, kCase, "title", f, 1, 1), 0);
  std::fclose(f);
  // Only the question went to the server.
  EXPECT_EQ(adp_script_sent(), texts{mssql_exists("title")});
  EXPECT_EQ(file_text("drop.ddl"), "DROP INDEX table_case.title\ngo\n" + kRowDelete +
                                       "type_id = 4101 and lower(index_name) = lower('title')\ngo\n");
}

TEST_F(AdpIndCalls, NamedIndexesAreDroppedOrOnlyPreparedAndNamesMustBePlain) {
  const struct {
    const char* driver;
    const char* sent;
  } rows[] = {{"oracle", "DROP INDEX case_title"}, {"oledb", "DROP INDEX table_case.case_title"}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.driver);
    KAdpConnId* con = open(r.driver);
    EXPECT_EQ(adp_ind_drop_named_index(con, "table_case", "case_title", 0, 0), 0);
    EXPECT_EQ(adp_script_sent(), texts{r.sent});
    ds_script::reset();
    EXPECT_EQ(adp_ind_drop_named_index(con, "table_case", "case_title", 0, 1), 0);
    EXPECT_TRUE(adp_script_sent().empty());
    // Unlike a declared index, the failure of a named drop is returned.
    ds_script::fail({"ExecStatement", 1, kRefused, "refused", ""});
    EXPECT_NE(adp_ind_drop_named_index(con, "table_case", "case_title", 0, 0), 0);
    cmn_alrt_clear(nullptr);
    ds_script::reset();
    EXPECT_NE(adp_ind_drop_named_index(con, "table_case", "x; drop table y", 0, 0), 0);
    EXPECT_TRUE(adp_script_sent().empty());
  }
}

TEST_F(AdpIndCalls, CatalogueRecordsAreDroppedUntilOneFails) {
  KAdpConnId* con = open("oledb");
  record("objindex", {"objid"});
  record("case_title", {"title"});
  record("case_status", {"status"});
  // The second asks and is missing; a table the cache lacks stops the run.
  answers({count(1), done(), count(0)});
  ASSERT_EQ(adp_ind_drop_table_index(con, case_, records_, nullptr, 0), 0);
  EXPECT_EQ(adp_script_sent(),
            (texts{mssql_exists("objindex"), "DROP INDEX table_case.objindex\n", mssql_exists("case_title"),
                   mssql_exists("case_status")}));
  typ_sch_srec unknown{};
  unknown.type_id = 999;
  ds_script::reset();
  answers({count(1), count(1)});
  EXPECT_NE(adp_ind_drop_table_index(con, &unknown, records_, nullptr, 0), 0);
  EXPECT_EQ(adp_script_sent().size(), 1u);
}

TEST_F(AdpIndCalls, OracleRebuildGathersTheNamesOfTheIndexesThatFailed) {
  KAdpConnId* con = open("oracle");
  record("CASE_OBJINDEX", {"OBJID"});
  record("CASE_TITLE", {"TITLE", "STATUS"});
  record("CASE_STATUS", {"STATUS"});
  for (long i = 0; i < 3; ++i) record_at(i)->null_storage = ~0UL;
  std::snprintf(record_at(1)->uniqueness, ADP_IND_TEXT, "unique");
  // The first and the third CREATE fail.
  ds_script::fail({"ExecStatement", 1, kRefused, "refused", ""});
  ds_script::fail({"ExecStatement", 3, kRefused, "refused", ""});
  utl_ty_estr* failed = nullptr;
  ASSERT_EQ(adp_ind_build_table_index(con, case_, records_, &failed, nullptr, 0), 0);
  ASSERT_NE(failed, nullptr);
  EXPECT_STREQ(utl_estr_get(failed), "CASE_OBJINDEX,\nCASE_STATUS");
  EXPECT_EQ(adp_script_sent(),
            (texts{"create  index CASE_OBJINDEX on TABLE_case (OBJID)\n",
                   "create UNIQUE index CASE_TITLE on TABLE_case (TITLE, STATUS)\n",
                   "create  index CASE_STATUS on TABLE_case (STATUS)\n"}));
  // No record is declared: no row is written. The next rebuild starts its
  // list afresh and appends to the caller's text.
  ds_script::reset();
  ds_script::fail({"ExecStatement", 2, kRefused, "refused", ""});
  ASSERT_EQ(adp_ind_build_table_index(con, case_, records_, &failed, nullptr, 0), 0);
  EXPECT_STREQ(utl_estr_get(failed), "CASE_OBJINDEX,\nCASE_STATUS,\nCASE_TITLE");
  utl_estr_free("test", failed);
  // The records' DDL text through the current connection's dialect.
  utl_ty_estr* ddl = nullptr;
  ASSERT_EQ(utl_estr_create("test", "", 64, 64, &ddl), 0);
  ASSERT_EQ(adp_ind_sql_build_table_index("case", records_, ddl), 0);
  EXPECT_EQ(std::string(utl_estr_get(ddl)).rfind("create  index CASE_OBJINDEX on TABLE_case (OBJID)\n;\n", 0), 0u);
  utl_estr_free("test", ddl);
}

TEST_F(AdpIndCalls, SqlServerRebuildHandsTheDialectsFailedNamesToTheCaller) {
  KAdpConnId* con = open("oledb");
  record("case_title", {"title"});
  record("case_status", {"status"});
  ds_script::fail({"FetchNextSet", 1, kRefused, "refused", ""});
  ds_script::fail({"FetchNextSet", 2, kRefused, "refused", ""});
  utl_ty_estr* failed = nullptr;
  ASSERT_EQ(adp_ind_build_table_index(con, case_, records_, &failed, nullptr, 0), 0);
  ASSERT_NE(failed, nullptr);
  EXPECT_STREQ(utl_estr_get(failed), "case_title,\ncase_status");
  EXPECT_EQ(adp_script_sent(), (texts{"create   index case_title on table_case (title)\n",
                                      "create   index case_status on table_case (status)\n"}));
  utl_estr_free("test", failed);
}

TEST_F(AdpIndCalls, CatalogueRecordsTakeTheFieldsOfTheIndexesTheSchemaDeclares) {
  for (const char* driver : {"oracle", "oledb"}) {
    SCOPED_TRACE(driver);
    const bool oracle = std::string(driver) == "oracle";
    KAdpConnId* con = open(driver);
    if (records_ != nullptr) {
      adp_ind_free_res_ind_col(records_);
      utl_col_free("test", records_);
      records_ = nullptr;
    }
    record(oracle ? "CASE_TITLE" : "TITLE", {"TITLE"});
    record(oracle ? "CASE_STATUS" : "STATUS", {"STATUS"});
    record("OTHER", {"STATUS"});
    utl_ty_col* schema = index_list({{{"title", "title", "status"}, 1}, {{"gone", "x"}, 0}, {{"status", "status"}, 0}});
    ASSERT_EQ(adp_ind_clean_sch_index(con, case_, records_, schema), 0);
    // Oracle takes the physical name the schema gives it.
    EXPECT_STREQ(record_at(0)->name, oracle ? "case_title" : "TITLE");
    EXPECT_EQ(adp_col_texts(record_at(0)->fields), (texts{"title", "status"}));
    EXPECT_EQ(record_at(0)->in_schema, 1);
    EXPECT_STREQ(record_at(1)->name, oracle ? "case_status" : "STATUS");
    EXPECT_EQ(adp_col_texts(record_at(1)->fields), texts{"status"});
    EXPECT_EQ(record_at(1)->in_schema, 1);
    EXPECT_EQ(adp_col_texts(record_at(2)->fields), texts{"STATUS"});
    EXPECT_EQ(record_at(2)->in_schema, 0);
    // Only the index the catalogue lacks stays in the schema's list.
    const std::vector<utl_ty_col*> left = members_of(schema);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(adp_col_texts(left[0]), (texts{"gone", "x"}));
    EXPECT_TRUE(adp_script_sent().empty());
  }
}

TEST_F(AdpIndCalls, OracleIndexesFollowRenamedColumnsAndAnEmptiedOneIsDropped) {
  KAdpConnId* con = open("oracle");
  record("CASE_OBJINDEX", {"OBJID"});
  record("CASE_TITLE", {"TITLE", "STATUS", "GONE"});
  record("CASE_GONE", {"GONE"});
  record("CASE_LAST", {"STATUS"});
  answers({{{"column_name"}, {{cell::t("OBJID")}, {cell::t("HEADLINE")}, {cell::t("STATUS")}}},
           count(1), done(), done()});
  ASSERT_EQ(adp_ind_check_columns(con, "table_case", case_, records_, names({"title", "headline"}), nullptr, 0),
            0);
  EXPECT_EQ(adp_script_sent(),
            (texts{"select column_name from user_tab_columns where table_name = upper('table_case')",
                   oracle_exists("CASE_GONE"), "DROP INDEX CASE_GONE\n",
                   "DELETE ADP_SCH_INDEX WHERE TYPE_ID = 4101 AND LOWER(INDEX_NAME) = LOWER('GONE')\n"}));
  ASSERT_EQ(record_count(), 3);
  EXPECT_STREQ(record_at(0)->name, "CASE_OBJINDEX");
  EXPECT_EQ(adp_col_texts(record_at(1)->fields), (texts{"headline", "STATUS"}));
  EXPECT_STREQ(record_at(2)->name, "CASE_LAST");
  // SQL Server keeps its indexes as they are.
  KAdpConnId* mssql = open("oledb");
  EXPECT_EQ(adp_ind_check_columns(mssql, "table_case", case_, records_, nullptr, nullptr, 0), 0);
  EXPECT_TRUE(adp_script_sent().empty());
  EXPECT_EQ(record_count(), 3);
}

TEST_F(AdpIndCalls, ARecordPrintsWithWhatItsDialectKeeps) {
  const struct {
    const char* driver;
    long attributes;
    const char* tail;
  } rows[] = {
      {"oledb", 2 | 256, "UNIQUE,clustered,              ,  located on PRIMARY\n"},
      {"oledb", 1, "      ,nonclustered,IGNORE_DUP_KEY,  located on PRIMARY\n"},
      {"oracle", 0,
       "  UNIQUE, tablespce: USERS\n  ini_trans: 2, max_trans: 255, pct_free: 10\nSTORAGE\n"
       "  pct_increase: 0, initial_extent: 65536, next_extent: 1048576\n  min_extents: 1, max_extents: 99\n"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.tail);
    open(r.driver);
    adp_ty_index_info rec{};
    std::snprintf(rec.name, sizeof rec.name, "case_title");
    rec.fields = names({"title", "status"});
    rec.attributes = r.attributes;
    std::snprintf(rec.location, sizeof rec.location, "PRIMARY");
    std::snprintf(rec.uniqueness, sizeof rec.uniqueness, "UNIQUE");
    std::snprintf(rec.tablespace, sizeof rec.tablespace, "USERS");
    rec.ini_trans = 2;
    rec.max_trans = 255;
    rec.pct_free = 10;
    rec.initial_extent = 65536;
    rec.next_extent = 1048576;
    rec.min_extents = 1;
    rec.max_extents = 99;
    FILE* f = std::fopen("print.txt", "w");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(adp_ind_print_ind_info(f, 2, &rec, ADP_TY_INDEX_INFO, 0), 0);
    std::fclose(f);
    EXPECT_EQ(file_text("print.txt"),
              std::string("  ADP IND = name: case_title\n    title\n    status\n") + r.tail + "\n");
  }
}

}  // namespace
