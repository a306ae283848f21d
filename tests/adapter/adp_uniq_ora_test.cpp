// Unique-key violations on the MariaDB server: a real duplicate insert ends
// as the store's not-unique alert naming the type and the key's columns, or,
// on a table of no object type, as the adapter's naming columns and index.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "adapter/adp_msg.h"
#include "adapter/adp_model.h"
#include "adapter/adp_ora_session.h"
#include "adapter/adp_sql.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/core_fixture.h"

namespace {

constexpr long kCase = 10;

class AdpUniqOra : public adp_ora_open_test {
 protected:
  void SetUp() override {
    adp_ora_open_test::SetUp();
    if (HasFatalFailure()) return;
    model_.add("case", kCase, {{516, 7}});
    ASSERT_NE(model_.finish(kCase), nullptr);
    ASSERT_TRUE(db_.run("create table table_case(objid number, id_number varchar2(32), title varchar2(80));\n"
                        "create unique index idx_case_id on table_case(id_number, title);\n"
                        "insert into table_case values(1, 'C-1', 'first');"));
  }
  std::string owner() const {
    std::string o = db_.name();
    for (char& c : o) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return o;
  }

  adp_model model_;
};

TEST_F(AdpUniqOra, DuplicateInsertNamesTypeAndColumns) {
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(adp_sql_exec_query(con_, "insert into table_case values(2, 'C-1', 'first')"), DBS_NOT_UNIQUE);
  ASSERT_EQ(core_top_alert_code(), DBS_NOT_UNIQUE);
  const std::string alert = core_top_alert_text();
  EXPECT_NE(alert.find("case"), std::string::npos) << alert;
  EXPECT_NE(alert.find("id_number:title"), std::string::npos) << alert;
  EXPECT_EQ(value("select count(*) from table_case"), "1");
  // The connection goes on working after the analysis.
  EXPECT_EQ(adp_sql_exec_query(con_, "insert into table_case values(2, 'C-2', 'second')"), 0);
  EXPECT_EQ(value("select count(*) from table_case"), "2");
}

TEST_F(AdpUniqOra, TheServersMessageAnalysed) {
  KAdpDbOperation* op = con_->GetDbOperation();
  std::string message = "ORA-00001: unique constraint (" + owner() + ".IDX_CASE_ID) violated";
  long type_id = 0;
  char* columns = nullptr;
  char* index = nullptr;
  ASSERT_EQ(op->ObjNotUniqueByMsg(message.data(), &type_id, &columns, &index), 0);
  EXPECT_EQ(type_id, kCase);
  EXPECT_STREQ(columns, "id_number:title");
  EXPECT_STREQ(index, "idx_case_id");
  // An index of another owner is not this one.
  message = "ORA-00001: unique constraint (NOBODY.IDX_CASE_ID) violated";
  EXPECT_EQ(op->ObjNotUniqueByMsg(message.data(), &type_id, &columns, &index), ADP_INDEX_NO_COLUMNS);
  EXPECT_EQ(type_id, -1);
}

TEST_F(AdpUniqOra, DuplicateOnATableOfNoTypeNamesColumnsAndIndex) {
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(adp_sql_exec_query(con_, "insert into adp_tbl_oid values(10, 5)"), DBS_NOT_UNIQUE);
  ASSERT_EQ(core_top_alert_code(), ADP_NOT_UNIQUE);
  EXPECT_NE(core_top_alert_text().find("(type_id) of table IDX_ADP_TBL_OID"), std::string::npos)
      << core_top_alert_text();
}

}  // namespace
