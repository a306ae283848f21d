// SQL Server's catalogue reads by exact text through the scripted service:
// object existence, column descriptions per column and through the
// whole-table cache (a hit sends nothing; another table, DDL or a failed
// read sends the query again), and stored procedures with their text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapter/adp_fixture.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sql.h"
#include "adapter/dialects/adp_dbop.h"
#include "adapter/dialects/adp_dbop_cat.h"
#include "core/cmn/cmn_meth.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "platform/dataservice/ds_script.h"

namespace {

using ds_script::cell;

constexpr const char kAllColumns[] =
    "select c.name, c.prec, t.type, c.colid, c.status \n\tfrom sysobjects o, syscolumns c, systypes t \n\twhere "
    "o.name = 'table_case' and o.id = c.id and c.xusertype = t.xusertype";

struct col_answer {
  char answered = 9, found = 9, nullable = 9;
  long length = -9, type_code = -9, number = -9;
};

class AdpSchCatMssql : public adp_test {
 protected:
  void SetUp() override {
    adp_test::SetUp();
    // Text collections copy their strings once the types' procedures are in.
    ASSERT_EQ(cmn_meth_install_all(), 0);
    adp_dbop_forget_column_caches();
    con_ = connect("oledb");
    ds_script::reset();
  }
  long ask(const char* table, const char* column, char mode, col_answer* a) {
    return adp_sch_get_col_info2(con_, table, column, mode, &a->answered, &a->found, &a->length, &a->type_code,
                                 &a->nullable, &a->number);
  }
  // The whole table's catalogue rows: name, prec, type, colid, status.
  static void push_columns() {
    ds_script::push_result({{"name", "prec", "type", "colid", "status"},
                            {{cell::t("objid"), cell::l(10), cell::t("56"), cell::l(1), cell::l(0)},
                             {cell::t("title"), cell::l(80), cell::t("39"), cell::l(2), cell::l(8)},
                             {cell::t("due"), cell::l(23), cell::t("61"), cell::l(3), cell::l(8)}}});
  }

  KAdpConnId* con_ = nullptr;
};

TEST_F(AdpSchCatMssql, ObjectExistenceDropsTheOwnerPrefix) {
  for (bool there : {true, false}) {
    ds_script::reset();
    ds_script::result r{{"id"}, {}};
    if (there) r.rows.push_back({cell::l(41)});
    ds_script::push_result(r);
    char exists = 7;
    ASSERT_EQ(adp_sch_does_view_exist(con_, "dbo.view_o'x", &exists), 0);
    EXPECT_EQ(exists, there ? 1 : 0);
    EXPECT_EQ(adp_script_sent(), std::vector<std::string>{"select id from sysobjects where name='view_o''x'"});
  }
}

TEST_F(AdpSchCatMssql, OneColumnAsksTheCatalogueAndLeavesNullabilityAlone) {
  ds_script::push_result({{"colid", "length", "type"}, {{cell::l(4), cell::l(30), cell::t("39")}}});
  col_answer a;
  ASSERT_EQ(ask("table_case", "title", 0, &a), 0);
  EXPECT_EQ(adp_script_sent(), std::vector<std::string>{
                                   "select c.colid, c.length, c.type \n\tfrom sysobjects o, syscolumns c \n\twhere "
                                   "o.name = 'table_case' and o.id = c.id and c.name = 'title'"});
  EXPECT_EQ(a.answered, 1);
  EXPECT_EQ(a.found, 1);
  EXPECT_EQ(a.length, 30);
  EXPECT_EQ(a.type_code, 7);  // varchar
  EXPECT_EQ(a.number, 4);
  EXPECT_EQ(a.nullable, 9);

  ds_script::push_result({{"colid", "length", "type"}, {}});
  col_answer none;
  ASSERT_EQ(ask("table_case", "nothing", 0, &none), 0);
  EXPECT_EQ(none.answered, 1);
  EXPECT_EQ(none.found, 0);
  EXPECT_EQ(none.length, -9);
}

TEST_F(AdpSchCatMssql, WholeTableModeReadsOnceAndAnswersFromTheCache) {
  push_columns();
  col_answer a;
  ASSERT_EQ(ask("table_case", "title", 1, &a), 0);
  EXPECT_EQ(adp_script_sent(), std::vector<std::string>{kAllColumns});
  EXPECT_EQ(a.found, 1);
  EXPECT_EQ(a.length, 80);
  EXPECT_EQ(a.type_code, 7);
  EXPECT_EQ(a.number, 2);
  EXPECT_EQ(a.nullable, 1);

  // Hits send nothing; names are compared as given.
  const struct {
    const char* column;
    char found;
    long length, type_code, number;
    char nullable;
  } hits[] = {{"objid", 1, 10, 0, 1, 0}, {"due", 1, 23, 9, 3, 1}, {"Title", 0, -9, -9, -9, 9}};
  for (const auto& h : hits) {
    SCOPED_TRACE(h.column);
    col_answer b;
    ASSERT_EQ(ask("table_case", h.column, 1, &b), 0);
    EXPECT_EQ(b.answered, 1);
    EXPECT_EQ(b.found, h.found);
    EXPECT_EQ(b.length, h.length);
    EXPECT_EQ(b.type_code, h.type_code);
    EXPECT_EQ(b.number, h.number);
    EXPECT_EQ(b.nullable, h.nullable);
  }
  EXPECT_EQ(adp_script_sent().size(), 1u);

  // Null outputs are not written.
  char answered = 0, found = 0;
  ASSERT_EQ(adp_sch_get_col_info(con_, "table_case", "due", 1, &answered, &found, nullptr, nullptr), 0);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(adp_script_sent().size(), 1u);
}

TEST_F(AdpSchCatMssql, AnotherTableDdlOrAFailedReadSendsTheQueryAgain) {
  push_columns();
  col_answer a;
  ASSERT_EQ(ask("table_case", "title", 1, &a), 0);

  // Another table in between.
  ds_script::push_result({{"name", "prec", "type", "colid", "status"}, {}});
  ASSERT_EQ(ask("table_lead", "title", 1, &a), 0);
  EXPECT_EQ(a.found, 0);
  push_columns();
  ASSERT_EQ(ask("table_case", "title", 1, &a), 0);
  EXPECT_EQ(a.found, 1);
  ASSERT_EQ(adp_script_sent().size(), 3u);
  EXPECT_EQ(adp_script_sent()[2], kAllColumns);

  // DDL on the connection: the table may have changed.
  ASSERT_EQ(adp_sql_parse_ddl_now(con_, "alter table table_case add x int null"), 0);
  ds_script::push_result({{"name", "prec", "type", "colid", "status"},
                          {{cell::t("x"), cell::l(10), cell::t("56"), cell::l(4), cell::l(8)}}});
  ASSERT_EQ(ask("table_case", "x", 1, &a), 0);
  EXPECT_EQ(a.found, 1);
  EXPECT_EQ(a.number, 4);
  ASSERT_EQ(adp_script_sent().size(), 5u);

  // A failed read leaves nothing behind: the next question reads again.
  ds_script::reset();
  ds_script::fail({"FetchNextSet", 1, 0x8B0014F, "lost", "reading columns"});
  EXPECT_NE(ask("table_lead", "title", 1, &a), 0);
  ds_script::reset();
  push_columns();
  ASSERT_EQ(ask("table_lead", "title", 1, &a), 0);
  EXPECT_EQ(a.found, 1);
  EXPECT_EQ(adp_script_sent().size(), 1u);
}

TEST_F(AdpSchCatMssql, StoredProceduresByNameOrListAndTheirText) {
  // By name, with the text read from syscomments.
  ds_script::push_result({{"name"}, {{cell::t("csp_new_objectid")}}});
  ds_script::push_result({{"text"}, {{cell::t("create proc csp_new_objectid ")}, {cell::t("as select 1")}}});
  char answered = 0, exists = 0, text_read = 0;
  utl_ty_estr* text = nullptr;
  ASSERT_EQ(adp_sch_get_storedp(con_, "csp_new_objectid", 0, &answered, &exists, &text_read, &text), 0);
  EXPECT_EQ(adp_script_sent(),
            (std::vector<std::string>{"select name from sysobjects where type = 'P' and name = 'csp_new_objectid'",
                                      "select text from syscomments where id=object_id('csp_new_objectid')"}));
  EXPECT_EQ(answered, 1);
  EXPECT_EQ(exists, 1);
  EXPECT_EQ(text_read, 1);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(utl_estr_get(text), "create proc csp_new_objectid as select 1");
  utl_estr_free("test", text);

  // List mode: the list is made once and never refreshed.
  ds_script::reset();
  ds_script::push_result({{"name"}, {{cell::t("csp_a")}, {cell::t("csp_new_objectid")}}});
  ASSERT_EQ(adp_sch_get_storedp(con_, "csp_new_objectid", 1, &answered, &exists, nullptr, nullptr), 0);
  EXPECT_EQ(exists, 1);
  EXPECT_EQ(adp_script_sent(),
            std::vector<std::string>{"select name from sysobjects where type = 'P' order by name"});
  ASSERT_EQ(adp_sch_get_storedp(con_, "csp_b", 1, &answered, &exists, nullptr, nullptr), 0);
  EXPECT_EQ(exists, 0);
  EXPECT_EQ(adp_script_sent().size(), 1u);

  // The dialect with the caller's own list.
  utl_ty_col* names = nullptr;
  ds_script::reset();
  ds_script::push_result({{"name"}, {{cell::t("v_one")}}});
  KAdpDbOperation* op = con_->GetDbOperation();
  ASSERT_EQ(op->SchGetSysobj("v_two", "V", 1, &names, &answered, &exists, nullptr, nullptr), 0);
  EXPECT_EQ(exists, 0);
  ASSERT_NE(names, nullptr);
  long n = 0;
  utl_col_num(names, &n);
  EXPECT_EQ(n, 1);
  EXPECT_EQ(adp_script_sent(), std::vector<std::string>{"select name from sysobjects where type = 'V' order by name"});
  utl_col_free("test", names);
}

}  // namespace
