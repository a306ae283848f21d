// Oracle's catalogue reads on the MariaDB server: existence of created
// objects, and column descriptions in both modes (names in any case, the
// whole-table cache answering without the server until DDL runs, the
// Unicode database's character lengths).
#include <gtest/gtest.h>

#include <string>

#include "adapter/adp_db.h"
#include "adapter/adp_ora_session.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_tabdef_records.h"
#include "core/cmn/cmn_meth.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "adapter/dialects/adp_dbop.h"
#include "adapter/dialects/adp_dbop_cat.h"

namespace {

constexpr long kNumberCode = 0;
constexpr long kCharCode = 6;
constexpr long kVarcharCode = 7;
constexpr long kLongTextCode = 8;
constexpr long kDateCode = 9;

struct col_answer {
  char answered = 9, found = 9, nullable = 9;
  long length = -9, type_code = -9, number = -9;
};

class AdpSchCatOra : public adp_ora_open_test {
 protected:
  void SetUp() override {
    adp_ora_open_test::SetUp();
    if (HasFatalFailure()) return;
    adp_dbop_forget_column_caches();
    ASSERT_EQ(adp_sql_parse_ddl_now(con_, "create table table_dl2(objid number not null, title varchar2(30), "
                                          "code char(30), due date, notes clob)"),
              0);
  }
  void TearDown() override {
    if (adp_db_dhead* h = adp_db_get_head_addr()) h->flags &= ~ADP_HEAD_UNICODE;
    adp_ora_open_test::TearDown();
  }
  col_answer ask(const char* table, const char* column, char mode) {
    col_answer a;
    EXPECT_EQ(adp_sch_get_col_info2(con_, table, column, mode, &a.answered, &a.found, &a.length, &a.type_code,
                                    &a.nullable, &a.number),
              0);
    return a;
  }
};

TEST_F(AdpSchCatOra, CreatedObjectsExistOthersDoNot) {
  ASSERT_EQ(adp_sql_parse_ddl_now(con_, "create view view_dl2 as select objid from table_dl2"), 0);
  const struct {
    const char* name;
    char exists;
  } rows[] = {{"table_dl2", 1}, {"TABLE_DL2", 1}, {"view_dl2", 1}, {"table_none", 0}, {"o'x", 0}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    char exists = 7;
    ASSERT_EQ(adp_sch_does_view_exist(con_, r.name, &exists), 0);
    EXPECT_EQ(exists, r.exists);
  }
}

TEST_F(AdpSchCatOra, BothModesDescribeEveryColumnTypeInAnyCase) {
  const struct {
    const char* column;
    long type_code, number;
    char nullable;
  } rows[] = {{"objid", kNumberCode, 1, 0},   {"TITLE", kVarcharCode, 2, 1}, {"Code", kCharCode, 3, 1},
              {"due", kDateCode, 4, 1},       {"notes", kLongTextCode, 5, 1}};
  for (char mode : {0, 1}) {
    for (const auto& r : rows) {
      SCOPED_TRACE(std::string(r.column) + " mode " + std::to_string(mode));
      col_answer a = ask("table_dl2", r.column, mode);
      EXPECT_EQ(a.answered, 1);
      EXPECT_EQ(a.found, 1);
      EXPECT_EQ(a.type_code, r.type_code);
      EXPECT_EQ(a.number, r.number);
      EXPECT_EQ(a.nullable, r.nullable);
    }
    col_answer title = ask("table_dl2", "title", mode);
    EXPECT_EQ(title.length, 30);
    col_answer none = ask("table_dl2", "nothing", mode);
    EXPECT_EQ(none.answered, 1);
    EXPECT_EQ(none.found, 0);
    EXPECT_EQ(none.length, -9);
  }
}

TEST_F(AdpSchCatOra, TheCacheAnswersWithoutTheServerUntilDdlRuns) {
  EXPECT_EQ(ask("table_dl2", "title", 1).found, 1);
  // Dropped behind the adapter's back: the cache still answers, so nothing
  // was asked of the server.
  ASSERT_TRUE(db_.run("drop table table_dl2;"));
  EXPECT_EQ(ask("table_dl2", "due", 1).found, 1);
  EXPECT_EQ(ask("table_dl2", "title", 0).found, 0);  // one column always asks

  // Re-created through the connection: read afresh.
  ASSERT_EQ(adp_sql_parse_ddl_now(con_, "create table table_dl2(objid number, renamed varchar2(12))"), 0);
  EXPECT_EQ(ask("table_dl2", "due", 1).found, 0);
  col_answer renamed = ask("table_dl2", "renamed", 1);
  EXPECT_EQ(renamed.found, 1);
  EXPECT_EQ(renamed.length, 12);
  EXPECT_EQ(renamed.number, 2);
}

TEST_F(AdpSchCatOra, AUnicodeDatabaseCountsCharactersInWholeTableMode) {
  adp_db_get_head_addr()->flags |= ADP_HEAD_UNICODE;
  const struct {
    const char* column;
    char mode;
    long length;
  } rows[] = {{"code", 1, 10}, {"title", 1, 10}, {"code", 0, 30}, {"title", 0, 30}};
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(r.column) + " mode " + std::to_string(r.mode));
    col_answer a = ask("table_dl2", r.column, r.mode);
    EXPECT_EQ(a.found, 1);
    EXPECT_EQ(a.length, r.length);
  }
}

TEST_F(AdpSchCatOra, TheEndOfATableDefinitionRunsAsDdl) {
  ASSERT_EQ(cmn_meth_install_all(), 0);
  type_records type;
  utl_ty_estr* text = nullptr;
  utl_ty_col* written = nullptr;
  ASSERT_EQ(utl_estr_create("test", "create table table_def\n (objid number, title varchar2(80), group2other number",
                            64, 64, &text),
            0);
  ASSERT_EQ(utl_col_make("test", 516, 10, 10, 0, 1, &written), 0);
  long count = 3;
  ASSERT_EQ(con_->GetDbOperation()->SchTableDef(&type.schema, 1, written, text, &count, "table_def", nullptr), 0);
  EXPECT_EQ(adp_sql_parse_ddl_now(con_, "%s", utl_estr_get(text)), 0) << utl_estr_get(text);
  utl_estr_free("test", text);
  utl_col_free("test", written);
  const struct {
    const char* column;
    long number;
  } rows[] = {{"group2other", 3}, {"case2site", 4}, {"group2owner", 5}, {"gr_type_owner", 6},
              {"gr_type_other", 7}, {"case2lead", 8}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.column);
    col_answer a = ask("table_def", r.column, 1);
    EXPECT_EQ(a.found, 1);
    EXPECT_EQ(a.type_code, kNumberCode);
    EXPECT_EQ(a.number, r.number);
    EXPECT_EQ(a.nullable, 1);
  }
}

}  // namespace
