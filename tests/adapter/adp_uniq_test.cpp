// Unique-key messages of both dialects through the scripted service: the
// names read from the message, the exact catalogue and repository queries,
// the column lists, and the failures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapter/adp_conn.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_model.h"
#include "adapter/adp_msg.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/core_fixture.h"
#include "platform/dataservice/ds_script.h"

namespace {

using ds_script::cell;

constexpr long kCase = 10, kContact = 12;

class AdpUniq : public adp_test {
 protected:
  void SetUp() override {
    adp_test::SetUp();
    model_.add("case", kCase, {{516, 7}});
    model_.add("contact", kContact, {{516, 7}});
    ASSERT_NE(model_.finish(kCase), nullptr);
  }
  KAdpDbOperation* dialect(const char* driver) {
    KAdpConnId* con = connect(driver);
    ds_script::reset();
    return con->GetDbOperation();
  }
  static ds_script::result one_column(const char* name, std::vector<cell> values) {
    ds_script::result r{{name}, {}};
    for (cell& v : values) r.rows.push_back({v});
    return r;
  }
  struct answer {
    long status = 0;
    long type_id = -5;
    std::string columns;
    std::string index;
  };
  static answer analyse(KAdpDbOperation* op, std::string message) {
    answer a;
    char* columns = nullptr;
    char* index = const_cast<char*>("not set");
    cmn_alrt_clear(nullptr);
    a.status = op->ObjNotUniqueByMsg(message.data(), &a.type_id, &columns, &index);
    a.columns = columns != nullptr ? columns : "<null>";
    a.index = index != nullptr ? index : "<null>";
    return a;
  }

  adp_model model_;
};

TEST_F(AdpUniq, SqlServerTableAndIndexInEitherOrder) {
  const std::string query = "select field_names from adp_sch_index where type_id = 12 and index_name = 'contact_name'";
  const char* const messages[] = {
      "Cannot insert duplicate key row in object 'table_contact' with unique index 'contact_name'.",
      "Cannot insert duplicate key row with unique index 'contact_name' in object 'table_contact'.",
      "Cannot insert duplicate key row in object 'dbo.table_contact' with unique index 'contact_name'.",
      "Cannot insert duplicate key row in object 'dbo.table_contact' with unique index 'contact_name'. "
      "The duplicate key value is ('O''Brien', 'it''s').",
  };
  KAdpDbOperation* op = dialect("oledb");
  for (const char* m : messages) {
    SCOPED_TRACE(m);
    ds_script::reset();
    ds_script::push_result(one_column("field_names", {cell::t("first_name:last_name")}));
    answer a = analyse(op, m);
    EXPECT_EQ(a.status, 0);
    EXPECT_EQ(a.type_id, kContact);
    EXPECT_EQ(a.columns, "first_name:last_name");
    EXPECT_EQ(a.index, "not set");
    EXPECT_EQ(adp_script_sent(), std::vector<std::string>{query});
  }
}

TEST_F(AdpUniq, SqlServerObjidIndexAndFailures) {
  KAdpDbOperation* op = dialect("oledb");
  answer a = analyse(op, "duplicate in 'objindex' of 'table_case'");
  EXPECT_EQ(a.status, 0);
  EXPECT_EQ(a.type_id, kCase);
  EXPECT_EQ(a.columns, "objid");
  EXPECT_EQ(adp_script_sent(), std::vector<std::string>{});

  const char* const unreadable[] = {"duplicate in 'table_case' only", "no quotes at all",
                                    "duplicate in 'table_nothing' with index 'idx_x'"};
  for (const char* m : unreadable) {
    a = analyse(op, m);
    EXPECT_EQ(a.status, ADP_NOT_UNIQUE_TEXT) << m;
    EXPECT_EQ(core_top_alert_code(), ADP_NOT_UNIQUE_TEXT);
    EXPECT_NE(core_top_alert_text().find(m), std::string::npos) << core_top_alert_text();
  }
  EXPECT_EQ(adp_script_sent(), std::vector<std::string>{});

  ds_script::push_result(one_column("field_names", {}));
  a = analyse(op, "'table_case' 'case_title'");
  EXPECT_EQ(a.status, ADP_NO_HEADER);
  EXPECT_EQ(core_alert_codes(), std::vector<long>{ADP_NO_HEADER});
}

TEST_F(AdpUniq, OracleIndexTableTypeAndColumnsFromTheCatalogue) {
  KAdpDbOperation* op = dialect("oracle");
  ds_script::push_result(one_column("table_name", {cell::t("TABLE_CASE")}));
  ds_script::push_result(one_column("type_id", {cell::l(kCase)}));
  ds_script::push_result(one_column("column_name", {cell::t("id_number"), cell::t("title")}));
  answer a = analyse(op, "ORA-00001: unique constraint (SA.S_IDX_CASE_ID) violated");
  EXPECT_EQ(a.status, 0);
  EXPECT_EQ(a.type_id, kCase);
  EXPECT_EQ(a.columns, "id_number:title");
  EXPECT_EQ(a.index, "idx_case_id");
  EXPECT_STREQ(op->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(37)), "id_number:title");
  EXPECT_EQ(op->GetDbSpecificLong(static_cast<KAdpDbOperation::long_type>(10)), kCase);
  EXPECT_EQ(adp_script_sent(), (std::vector<std::string>{
                        "select table_name from all_indexes where index_name = 'IDX_CASE_ID' and owner = 'SA'",
                        "select type_id from adp_tbl_name_map \nwhere type_name = 'case'",
                        "select lower(column_name) from all_ind_columns \nwhere index_name = upper('idx_case_id') "
                        "and index_owner = upper('SA')"}));
}

TEST_F(AdpUniq, OracleOtherOwnersPlainNamesAndTablesOfNoType) {
  KAdpDbOperation* op = dialect("oracle");
  // Any owner; a name without "S_"; a table that is no object type still
  // lists its columns, and a quote in a name is doubled.
  ds_script::push_result(one_column("table_name", {cell::t("ADP_TBL_OID")}));
  ds_script::push_result(one_column("column_name", {cell::t("type_id")}));
  answer a = analyse(op, "ORA-00001: unique constraint (CRM_OWNER.IDX_'X) violated");
  EXPECT_EQ(a.status, 0);
  EXPECT_EQ(a.type_id, -1);
  EXPECT_EQ(a.columns, "type_id");
  EXPECT_EQ(a.index, "IDX_'X");
  EXPECT_EQ(adp_script_sent(), (std::vector<std::string>{
                        "select table_name from all_indexes where index_name = 'IDX_''X' and owner = 'CRM_OWNER'",
                        "select lower(column_name) from all_ind_columns \nwhere index_name = upper('IDX_''X') "
                        "and index_owner = upper('CRM_OWNER')"}));
  EXPECT_EQ(op->GetDbSpecificLong(static_cast<KAdpDbOperation::long_type>(10)), -1);
}

TEST_F(AdpUniq, OracleOtherErrorsNoColumnsAndLongNames) {
  KAdpDbOperation* op = dialect("oracle");
  answer a = analyse(op, "ORA-00942: table or view does not exist");
  EXPECT_EQ(a.status, 0);
  EXPECT_EQ(a.type_id, -1);
  EXPECT_EQ(a.columns, "unknow column");
  EXPECT_EQ(a.index, "");
  EXPECT_EQ(adp_script_sent(), std::vector<std::string>{});

  ds_script::push_result(one_column("table_name", {cell::t("TABLE_CASE")}));
  ds_script::push_result(one_column("type_id", {cell::l(kCase)}));
  ds_script::push_result(one_column("column_name", {}));
  a = analyse(op, "ORA-00001: unique constraint (SA.IDX_GONE) violated");
  EXPECT_EQ(a.status, ADP_INDEX_NO_COLUMNS);
  EXPECT_EQ(core_top_alert_code(), ADP_INDEX_NO_COLUMNS);
  EXPECT_NE(core_top_alert_text().find("table_case"), std::string::npos) << core_top_alert_text();
  EXPECT_NE(core_top_alert_text().find("idx_gone"), std::string::npos) << core_top_alert_text();

  // Names of any length: the list keeps the whole names that fit its 255
  // characters.
  const std::string n1(120, 'a'), n2(120, 'b'), n3(40, 'c'), n4(3, 'd');
  const std::string index(100, 'I');
  ds_script::push_result(one_column("table_name", {cell::t("TABLE_CASE")}));
  ds_script::push_result(one_column("type_id", {cell::l(kCase)}));
  ds_script::push_result(one_column("column_name", {cell::t(n1), cell::t(n2), cell::t(n3), cell::t(n4)}));
  a = analyse(op, "ORA-00001: unique constraint (SA." + index + ") violated");
  EXPECT_EQ(a.status, 0);
  EXPECT_EQ(a.columns, n1 + ":" + n2);
  EXPECT_EQ(a.index, std::string(100, 'i'));
}

}  // namespace
