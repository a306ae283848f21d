#include "adapter/adp_sch_e2e.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "adapter/adp_model.h"
#include "adapter/adp_sch.h"
#include "core/cmn/cmn_meth.h"
#include "core/core_fixture.h"
#include "schema/typ_bld.h"

#define E2E_ID " CMN_DATA_TYPE=\"long integer\" DB_DATA_TYPE=0 GEN_FIELD_ID=3"
#define E2E_TEXT(n) " CMN_DATA_TYPE=\"char pointer\" DB_DATA_TYPE=7 ARRAY_SIZE=" #n

const char kAdpSchE2eSchema[] =
    "OBJECT account 70 SUBJECT=Sales COMMENT=\"Customer accounts\"\n"
    " FIELDS objid" E2E_ID ",\n"
    "  name" E2E_TEXT(40) " SEARCHABLE COMMENT=\"Account name\",\n"
    "  code CMN_DATA_TYPE=\"char pointer\" DB_DATA_TYPE=6 ARRAY_SIZE=8 DEFAULT=AB,\n"
    "  notes CMN_DATA_TYPE=\"char pointer\" DB_DATA_TYPE=8,\n"
    "  opened CMN_DATA_TYPE=clk_ty_time DB_DATA_TYPE=9,\n"
    "  modified CMN_DATA_TYPE=clk_ty_time DB_DATA_TYPE=9 CHANGE_DATE,\n"
    "  balance CMN_DATA_TYPE=decimal DB_DATA_TYPE=11 DEC_PRECISION=19 DEC_SCALE=2 CURRENCY,\n"
    "  ratio CMN_DATA_TYPE=double DB_DATA_TYPE=4 ALLOW_NULL OPTIONAL,\n"
    "  weight CMN_DATA_TYPE=float DB_DATA_TYPE=3,\n"
    "  grade CMN_DATA_TYPE=\"short integer\" DB_DATA_TYPE=2,\n"
    "  score CMN_DATA_TYPE=double DB_DATA_TYPE=5,\n"
    "  memo CMN_DATA_TYPE=\"char pointer\" DB_DATA_TYPE=10,\n"
    "  tier CMN_DATA_TYPE=\"short integer\" DB_DATA_TYPE=1 USER_DEFINED,\n"
    "  photos CMN_DATA_TYPE=array GEN_FIELD_ID=40\n"
    " FIELDS_END\n"
    " RELATIONS account2site MTO site INV_REL=site2account REQUIRED COMMENT=\"Home site\",\n"
    "  account2profile OTOF profile INV_REL=profile2account,\n"
    "  account2note OTM note INV_REL=note2account,\n"
    "  account2tag MTM tag INV_REL=tag2account USER_DEFINED\n"
    " RELATIONS_END\n"
    " INDEXES acct_name FIELD=name FIELD=code UNIQUE, acct_site RELATION=account2site INDEXES_END\n"
    "OBJECT_END;\n"
    "OBJECT site 71 FIELDS objid" E2E_ID ", name" E2E_TEXT(30) " FIELDS_END\n"
    " RELATIONS site2account OTM account INV_REL=account2site, site2note OTM note INV_REL=note2site RELATIONS_END\n"
    "OBJECT_END;\n"
    "OBJECT tag 72 FIELDS objid" E2E_ID ", label" E2E_TEXT(20) " FIELDS_END\n"
    " RELATIONS tag2account MTM account INV_REL=account2tag USER_DEFINED RELATIONS_END\n"
    "OBJECT_END;\n"
    "OBJECT profile 73 FIELDS objid" E2E_ID ", bio" E2E_TEXT(60) " FIELDS_END\n"
    " RELATIONS profile2account OTOP account INV_REL=account2profile RELATIONS_END\n"
    "OBJECT_END;\n"
    "OBJECT note 74 FIELDS objid" E2E_ID ", content" E2E_TEXT(80) " FIELDS_END\n"
    " RELATIONS EXCLUSIVE_SET owner TYPE_FIELD=owner_type OBJID_FIELD=owner_id\n"
    "  note2account MTO account INV_REL=account2note, note2site MTO site INV_REL=site2note\n"
    " EXCLUSIVE_SET_END RELATIONS_END\n"
    "OBJECT_END;\n"
    "SUBOBJECT address 75 FIELDS street" E2E_TEXT(60) " FIELDS_END SUBOBJECT_END;\n"
    "VIEW account_sites 76 COMMENT=\"Accounts with their site\" ALIAS account a, site s\n"
    " FIELDS acct FROM a.name, site FROM s.name FIELDS_END\n"
    " JOINS a.account2site = s.site2account JOINS_END VIEW_END;\n"
    "VIEW big_accounts 77 BASE_TABLE=account SQL=\"select objid, name from table_account where balance > 1000\"\n"
    " FIELDS id CMN_DATA_TYPE=512 DB_DATA_TYPE=0 GEN_FIELD_ID=3, name" E2E_TEXT(40) " FIELDS_END VIEW_END;\n";

namespace {

constexpr long kSearchColumns = 1;
constexpr long kCrmFlags = 2;
constexpr long kOffline = 32;

}  // namespace

void adp_sch_e2e_test::SetUp() {
  adp_ora_test::SetUp();
  if (HasFatalFailure()) return;
  // Texts of any length in collections; type ids of the schema's range.
  ASSERT_EQ(cmn_meth_install_all(), 0);
  adp_model_type_ranges();
  // Views are read with their joins (the flag stays set for the process).
  adp_sch_set_comment_flag();
}

KAdpConnId* adp_sch_e2e_test::compiled_session(bool offline) {
  EXPECT_TRUE(db_.run("delete from adp_tbl_name_map; delete from adp_sch_info; delete from adp_sch_rel_info;"
                      " delete from adp_view_field_info; delete from adp_view_join_info;"));
  if (offline) {
    for (const char* table : {"adp_tbl_name_map", "adp_sch_info", "adp_sch_rel_info", "adp_view_field_info",
                              "adp_view_join_info", "adp_sch_index"}) {
      EXPECT_TRUE(db_.run(std::string("alter table ") + table + " add (objid number null, dev number null);"));
    }
  }
  KAdpConnId* con = store_session(kCrmFlags | kSearchColumns | (offline ? kOffline : 0));
  if (con == nullptr) return nullptr;
  typ_bld_init();
  const char* path = "schema.txt";
  FILE* f = std::fopen(path, "wb");
  EXPECT_NE(f, nullptr);
  if (f == nullptr) return nullptr;
  std::fputs(kAdpSchE2eSchema, f);
  std::fclose(f);
  EXPECT_EQ(typ_bld_compile_model(con, path, 0), 0) << core_top_alert_text();
  return con;
}

std::vector<std::string> adp_sch_e2e_test::rows(const std::string& sql) {
  std::vector<std::string> out;
  for (const auto& row : db_.query(sql)) {
    std::string line;
    for (size_t i = 0; i < row.size(); ++i) line += (i == 0 ? "" : "|") + row[i];
    out.push_back(line);
  }
  return out;
}
