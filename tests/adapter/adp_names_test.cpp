// Physical names, column types and catalogue types per server: the name
// mapper's convert types, the column-type texts of DDL (plain and Unicode),
// the dialects' type names, the catalogue type codes, the owner prefix, and
// the type cache's finders.
#include <gtest/gtest.h>

#include <string>

#include "adapter/adp_conn.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_model.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_name.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sch.h"
#include "adapter/adp_sch_cache.h"
#include "adapter/adp_sch_load.h"
#include "adapter/dialects/adp_dbop.h"
#include "schema/typ_rec.h"

namespace {

class AdpNames : public adp_test {
 protected:
  // The current connection of the driver with the header flags given.
  KAdpConnId* server(const char* driver, long flags) {
    KAdpConnId* c = connect(driver, false);
    c->GetHeader()->flags = flags;
    return c;
  }
};

TEST_F(AdpNames, EveryConvertTypeByServer) {
  typ_sch_iblk info{};
  std::snprintf(info.name, sizeof info.name, "%s", "contact");
  typ_sch_srec type{};
  type.info = &info;
  const std::string twenty = "abcdefghijklmnopqrst";
  const struct {
    const char* driver;
    long header_flags;
    long convert;
    std::string logical;
    long number;
    const char* want;
  } rows[] = {
      {"oracle", 0, 0, "case", 0, "table_case"},
      {"oracle", 0, 0, "MTM_case2", 0, "MTM_case2"},
      {"oracle", 0, 0, "mtm_case2", 0, "mtm_case2"},
      {"oracle", 0, 0, "Mtm_case2", 0, "table_Mtm_case2"},
      {"oracle", 0, 1, "objid", 0, "contact_objindex"},
      {"oracle", 0, 1, "s_name", 0, "contact_s_name"},
      {"oledb", 0, 1, "objid", 0, "objindex"},
      {"oledb", 0, 1, "Objid", 0, "Objid"},
      {"quill", 0, 1, "objid", 0, ""},
      {"oracle", 0, 2, "name", 0, "S_contact_name"},
      {"oledb", 0, 2, "name", 0, ""},
      {"oracle", 0, 3, "first_name", 0, "first_name"},
      {"oledb", 0, 5, "contact2site", 0, "contact2site"},
      {"oracle", 1, 4, "name", 0, "S_name"},
      {"oracle", 0, 4, "name", 0, ""},
      {"oracle", 0, 6, "case", 3, "table_case_array_3"},
      {"oledb", 0, 7, "case", 0, "t_case"},
      {"oracle", 0, 7, "case", 0, "table_case_TEMP"},
      {"quill", 0, 7, "case", 0, ""},
      {"oracle", 0, 8, "abcdefghijklmnopq", 0, "i_cdefghijklmnopq"},
      {"oracle", 0, 8, "short", 0, "i_short"},
      {"oracle", 0, 9, twenty, 0, "iabcdefghijklmnopt"},
      {"oracle", 0, 10, "abcdefghijklmnopq", 0, "iabcdefghijklmnopq"},
      {"oracle", 0, 10, "abcdefghijklmnopqr", 0, "iabcdefghijklmnopr"},
      {"oracle", 0, 11, "x", 0, ""},
  };
  for (const auto& r : rows) {
    KAdpConnId* c = server(r.driver, r.header_flags);
    KCLASSIC::KZString got =
        c->GetPhys(r.logical.c_str(), static_cast<KAdpNameMapper::convert_type>(r.convert), r.number, &type);
    EXPECT_STREQ(static_cast<const char*>(got), r.want) << r.driver << " " << r.convert << " " << r.logical;
  }
}

TEST_F(AdpNames, RecordedPairsByMap) {
  KAdpNameMapper m;
  auto t = [](long n) { return static_cast<KAdpNameMapper::convert_type>(n); };
  m.AddLogPhysPair("case", "table_case", t(0));
  m.AddLogPhysPair("title", "title", t(3));
  m.AddLogPhysPair("case2site", "case2site", t(5));
  m.AddLogPhysPair("x", "ix", t(4));  // no map of its own: ignored
  m.AddLogPhysPair("Case", "table_case", t(0));  // the same physical name again replaces
  EXPECT_STREQ(static_cast<const char*>(m.GetLog("table_case", t(0))), "Case");
  EXPECT_STREQ(static_cast<const char*>(m.GetLog("title", t(5))), "title");  // 3 and 5 share the column map
  EXPECT_STREQ(static_cast<const char*>(m.GetLog("table_case", t(3))), "");
  EXPECT_STREQ(static_cast<const char*>(m.GetLog("ix", t(4))), "");
}

TEST_F(AdpNames, ColumnTypeTextsPerServerAndUnicode) {
  const struct {
    const char* driver;
    long flags;
    long db_type, length, precision, scale;
    const char* want;
  } rows[] = {
      {"oracle", 0, 0, 0, 0, 0, "number"},
      {"oracle", 0, 7, 100, 0, 0, "varchar2(100)"},
      {"oracle", 0x40, 7, 100, 0, 0, "varchar2(300)"},
      {"oracle", 0x40, 7, 666, 0, 0, "varchar2(1998)"},
      {"oracle", 0x40, 7, 667, 0, 0, "varchar2(2000)"},
      {"oracle", 0x40, 6, 10, 0, 0, "varchar2(30)"},
      {"oracle", 0x40, 8, 0, 0, 0, "clob"},
      {"oracle", 0, 9, 0, 0, 0, "date"},
      {"oracle", 0, 11, 0, 19, 2, "number(19, 2)"},
      {"oracle", 0x40, 11, 0, 19, 2, "number(19, 2)"},
      {"oledb", 0, 11, 0, 19, 2, "decimal(19, 2)"},
      {"oledb", 0x40, 11, 0, 19, 2, "decimal(19, 2)"},
      {"oledb", 0, 6, 10, 0, 0, "char(10)"},
      {"oledb", 0x40, 6, 10, 0, 0, "nchar(10)"},
      {"oledb", 0x40, 7, 100, 0, 0, "nvarchar(100)"},
      {"oledb", 0x40, 8, 0, 0, 0, "ntext"},
      {"oledb", 0, 10, 0, 0, 0, "text"},
      {"oledb", 0, 1, 0, 0, 0, "smallint"},
      {"oledb", 0, 2, 0, 0, 0, "tinyint"},
      {"oledb", 0, 3, 0, 0, 0, "real"},
      {"oledb", 0, 5, 0, 0, 0, "float"},
      {"oledb", 0, 9, 0, 0, 0, "datetime"},
  };
  for (const auto& r : rows) {
    server(r.driver, r.flags);
    char out[64] = "";
    ASSERT_EQ(adp_sch_convert_to_string(r.db_type, r.length, r.precision, r.scale, out, sizeof out), 0);
    EXPECT_STREQ(out, r.want) << r.driver << " " << r.flags << " " << r.db_type;
  }
}

TEST_F(AdpNames, TypeNamesOfTheDialects) {
  const struct {
    const char* driver;
    long flags, db_type;
    const char* want;
  } rows[] = {{"oracle", 0, 7, "varchar2"}, {"oracle", 0, 10, "clob"},   {"oledb", 0, 7, "varchar"},
              {"oledb", 0x40, 7, "nvarchar"}, {"oledb", 0x40, 0, "int"}, {"oledb", 0, 12, "unknown database datatype"},
              {"oracle", 0, 12, "unknown database datatype"}};
  for (const auto& r : rows) {
    server(r.driver, r.flags);
    EXPECT_STREQ(adp_sch_type_to_string(r.db_type), r.want) << r.driver << " " << r.db_type;
  }
}

TEST_F(AdpNames, CatalogueTypesToColumnTypes) {
  const struct {
    const char* driver;
    const char* text;
    long want;
  } rows[] = {
      {"oracle", "VARCHAR2", 7}, {"oracle", "VARCHAR", 6},   {"oracle", "NVARCHAR2", 7}, {"oracle", "NCHAR", 6},
      {"oracle", "CLOB", 8},     {"oracle", "NCLOB", 8},     {"oracle", "CHAR", 6},      {"oracle", "DATE", 9},
      {"oracle", "LONG", 8},     {"oracle", "NUMBER", 0},    {"oracle", "BLOB", 0},      {"oracle", "", 0},
      {"oledb", "#", 8},         {"oledb", "&", 0},          {"oledb", "'", 7},          {"oledb", "/", 6},
      {"oledb", "0", 2},         {"oledb", "4", 1},          {"oledb", "7", 11},         {"oledb", "8", 0},
      {"oledb", ";", 3},         {"oledb", "<", 5},          {"oledb", "=", 9},          {"oledb", ">", 4},
      {"oledb", "m", 4},         {"oledb", "n", 5},          {"oledb", "o", 9},          {"oledb", "z", 5},
      {"oledb", "?", 11},        {"oledb", "63", 11},        {"oledb", "39", 7},         {"oledb", "61", 9},
      {"oledb", "x", 0},         {"oledb", "999", 0},
  };
  for (const auto& r : rows) {
    server(r.driver, 0);
    EXPECT_EQ(adp_sch_convert_dbtype(r.text), r.want) << r.driver << " '" << r.text << "'";
  }
}

TEST_F(AdpNames, OwnerPrefixOnSqlServerOnly) {
  const struct {
    const char* driver;
    const char* name;
    const char* want;
  } rows[] = {{"oledb", "dbo.table_case", "table_case"},
              {"oledb", "DBO.table_case", "DBO.table_case"},
              {"oledb", "table_case", "table_case"},
              {"oracle", "dbo.table_case", "dbo.table_case"}};
  for (const auto& r : rows) {
    KAdpConnId* c = server(r.driver, 0);
    char out[64] = "";
    ASSERT_EQ(adp_sch_tbl_name_noprefix(c, r.name, out, sizeof out), 0);
    EXPECT_STREQ(out, r.want) << r.driver << " " << r.name;
  }
}

TEST_F(AdpNames, ColumnListsOfSqlServer) {
  typ_sch_frec fields[3] = {};
  char f0[] = "objid", f1[] = "title", f2[] = "notes";
  fields[0].name = f0;
  fields[1].name = f1;
  fields[1].flags = 0x100;  // searchable: an "s_" column beside it
  fields[2].name = f2;
  typ_sch_srec type{};
  type.nfields = 3;
  type.fields = fields;
  const struct {
    const char* driver;
    long header_flags;
    const char* alias;
    char no_search;
    const char* want;
  } rows[] = {
      {"oledb", 1, "c", 0, "c.objid, c.title, c.s_title, c.notes"},
      {"oledb", 1, nullptr, 0, "objid, title, s_title, notes"},
      {"oledb", 1, "c", 1, "c.objid, c.title, c.notes"},
      {"oledb", 0, "c", 0, "c.objid, c.title, c.notes"},
  };
  for (const auto& r : rows) {
    KAdpConnId* c = server(r.driver, r.header_flags);
    const char* out = nullptr;
    ASSERT_EQ(adp_sch_list_columns(c, &type, r.alias, &out, r.no_search), 0);
    ASSERT_NE(out, nullptr);
    EXPECT_STREQ(out, r.want) << r.header_flags << " " << (r.alias ? r.alias : "-") << " " << int(r.no_search);
  }
  // Other servers leave the output alone.
  KAdpConnId* c = server("oracle", 1);
  const char* out = "untouched";
  ASSERT_EQ(adp_sch_list_columns(c, &type, "c", &out, 0), 0);
  EXPECT_STREQ(out, "untouched");
}

TEST_F(AdpNames, TypeCacheFinders) {
  adp_model model;
  long index = 5;
  EXPECT_EQ(adp_sch_find_type(10, &index), 0);  // empty cache
  EXPECT_EQ(index, -1);
  model.add("case", 10, {{512, 0}});
  model.add("site", 11, {{516, 7}});
  typ_sch_srec* s = model.finish(11);
  ASSERT_NE(s, nullptr);
  const char* table = "untouched";
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(adp_sch_tbl_find(12, &table), ADP_BAD_VALUE_TYPE);
  EXPECT_STREQ(table, "untouched");
  EXPECT_EQ(core_alert_codes(), (std::vector<long>{ADP_BAD_VALUE_TYPE}));
  EXPECT_EQ(adp_sch_tbl_find(10, &table), 0);
  EXPECT_STREQ(table, "table_case");
  long type_id = 0;
  EXPECT_EQ(adp_sch_type_find("table_site", &type_id), 0);
  EXPECT_EQ(type_id, 11);
  EXPECT_EQ(adp_sch_type_find("TABLE_SITE", &type_id), 0);
  EXPECT_EQ(type_id, -1);
  typ_sch_srec* found = nullptr;
  EXPECT_EQ(adp_sch_shandle_find(11, &found), 0);
  EXPECT_EQ(found, s);
  long flags = 0;
  const char* name = nullptr;
  EXPECT_EQ(adp_sch_type_info_get(10, &flags, &name, nullptr), 0);
  EXPECT_EQ(flags, 2);
  EXPECT_STREQ(name, "case");
}

}  // namespace
