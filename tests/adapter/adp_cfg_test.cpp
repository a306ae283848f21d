// KAdpConfig: driver defaults, the driver table, property round trips and
// the trace blocks written into the SQL log.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "adapter/adp_cfg.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_sql_log.h"

namespace {

using S = KAdpConfig::str_type;
using L = KAdpConfig::long_type;
using B = KAdpConfig::bool_type;

struct defaults_row {
  const char* driver;
  long library_id, db_type;
  const char* provider, *marker, *admin;
  long max_char;
  char b1, b4, b5, b6, b8, b9;
  const char* library;
};

class AdpConfig : public adp_test {};

TEST_F(AdpConfig, DriverDefaultsByName) {
  const defaults_row rows[] = {
      {"oracle", 4, 0, "", ":B", "sa", 255, 0, 0, 1, 0, 0, 1, "OraDataSvc.DLL"},
      {"ORACLE", 4, 0, "", ":B", "sa", 255, 0, 0, 1, 0, 0, 1, "OraDataSvc.DLL"},
      {"quill", 5, 1, "", "?", "sa", 32000, 1, 1, 0, 1, 1, 0, "OdbcDataSvc.DLL"},
      {"OleDb", 2, 2, "SQLOLEDB", "@V", "sa", 255, 1, 1, 1, 0, 0, 1, "OleDataSvc.DLL"},
      {"sybase", 0, 0, "", "", "", 255, 1, 0, 1, 0, 0, 0, ""},
  };
  for (const defaults_row& r : rows) {
    SCOPED_TRACE(r.driver);
    KAdpConfig c(r.driver);
    EXPECT_EQ(c.GetPropertyLong(L(4)), r.library_id);
    EXPECT_EQ(c.GetPropertyLong(L(9)), r.db_type);
    KAdpConfig::db_type t{};
    c.GetDbType(t);
    EXPECT_EQ(static_cast<long>(t), r.db_type);
    EXPECT_STREQ(c.GetPropertyStr(S(0)), r.provider);
    EXPECT_STREQ(c.GetPropertyStr(S(14)), r.marker);
    EXPECT_STREQ(c.GetPropertyStr(S(12)), r.admin);
    EXPECT_EQ(c.GetPropertyLong(L(10)), r.max_char);
    EXPECT_EQ(c.GetPropertyBool(B(1)), r.b1);
    EXPECT_EQ(c.GetPropertyBool(B(4)), r.b4);
    EXPECT_EQ(c.GetPropertyBool(B(5)), r.b5);
    EXPECT_EQ(c.GetPropertyBool(B(6)), r.b6);
    EXPECT_EQ(c.GetPropertyBool(B(8)), r.b8);
    EXPECT_EQ(c.GetPropertyBool(B(9)), r.b9);
    EXPECT_STREQ(c.GetPropertyStr(S(13)), r.library);
    // Every driver.
    EXPECT_EQ(c.GetPropertyBool(B(0)), 1);
    EXPECT_EQ(c.GetPropertyBool(B(7)), 0);
    EXPECT_EQ(c.GetPropertyLong(L(2)), 20000);
    EXPECT_EQ(c.GetPropertyLong(L(8)), 0);
    EXPECT_EQ(c.GetUTF8Flag(), 0);
    EXPECT_FALSE(c.HasFactory());
  }
  EXPECT_EQ(KAdpConfig("oracle").GetProviderKind(), 4);
  EXPECT_EQ(KAdpConfig("oledb").GetProviderKind(), 2);
}

TEST_F(AdpConfig, BaseConfigurationHasNoDriverTable) {
  KAdpConfig c;
  EXPECT_EQ(c.GetPOrbDllName(4), nullptr);
  EXPECT_STREQ(c.GetPropertyStr(S(13)), "");
  EXPECT_EQ(c.GetPropertyLong(L(2)), 0);
}

TEST_F(AdpConfig, DriverTableAndString13) {
  KAdpConfig c("oracle");
  const std::pair<long, const char*> table[] = {{5, "OdbcDataSvc.DLL"}, {4, "OraDataSvc.DLL"}, {1, "NetDataSvc.DLL"},
                                                {2, "OleDataSvc.DLL"},  {3, "OleDataSvc.DLL"}, {6, nullptr}};
  for (auto [id, name] : table) {
    if (name == nullptr) {
      EXPECT_EQ(c.GetPOrbDllName(id), nullptr);
    } else {
      EXPECT_STREQ(c.GetPOrbDllName(id), name);
    }
  }
  c.SetPropertyLong(L(4), 2);
  EXPECT_STREQ(c.GetPropertyStr(S(13)), "OleDataSvc.DLL");
  c.SetPropertyLong(L(4), 9);
  EXPECT_STREQ(c.GetPropertyStr(S(13)), "");
  c.SetPropertyStr(S(13), "Other.DLL");  // cannot be set
  c.SetPropertyLong(L(4), 4);
  EXPECT_STREQ(c.GetPropertyStr(S(13)), "OraDataSvc.DLL");
  // Every row with the id changes; the others stay.
  c.SetPOrbDllName(2, "/opt/x/Mine.DLL");
  EXPECT_STREQ(c.GetPOrbDllName(2), "/opt/x/Mine.DLL");
  EXPECT_STREQ(c.GetPOrbDllName(3), "OleDataSvc.DLL");
  c.SetPOrbDllName(4, "Ora2.DLL");
  EXPECT_STREQ(c.GetPropertyStr(S(13)), "Ora2.DLL");
}

TEST_F(AdpConfig, PropertyRoundTrips) {
  KAdpConfig c("oracle");
  for (long i : {0L, 1L, 2L, 3L, 4L, 5L, 6L, 7L, 8L, 9L, 10L, 11L, 12L, 14L, 15L}) {
    std::string v = "value" + std::to_string(i);
    c.SetPropertyStr(S(i), v.c_str());
  }
  for (long i : {0L, 1L, 2L, 3L, 4L, 5L, 6L, 7L, 8L, 9L, 10L, 11L, 12L, 14L, 15L}) {
    EXPECT_EQ(std::string(c.GetPropertyStr(S(i))), "value" + std::to_string(i)) << i;
  }
  c.SetPropertyStr(S(16), "ignored");
  EXPECT_STREQ(c.GetPropertyStr(S(16)), "");
  for (long i = 0; i <= 10; ++i) c.SetPropertyLong(L(i), 100 + i);
  for (long i = 0; i <= 10; ++i) EXPECT_EQ(c.GetPropertyLong(L(i)), 100 + i) << i;
  EXPECT_EQ(c.GetPropertyLong(L(11)), 0);
  for (long i : {0L, 1L, 3L, 4L, 5L, 6L, 7L, 8L, 9L}) {
    c.SetPropertyBool(B(i), 1);
    EXPECT_EQ(c.GetPropertyBool(B(i)), 1) << i;
    c.SetPropertyBool(B(i), 0);
    EXPECT_EQ(c.GetPropertyBool(B(i)), 0) << i;
  }
  c.SetPropertyBool(B(10), 1);  // only the service reads it
  EXPECT_EQ(c.GetPropertyBool(B(10)), 0);
  EXPECT_EQ(c.GetWinAuthentication(), 1);
  c.SetPropertyChar(KAdpConfig::char_type(0), 'x');
  c.SetPropertyChar(KAdpConfig::char_type(1), 'y');
  EXPECT_EQ(c.GetPropertyChar(KAdpConfig::char_type(0)), 'x');
  EXPECT_EQ(c.GetPropertyChar(KAdpConfig::char_type(1)), 0);
}

TEST_F(AdpConfig, CodePagesByCharacterSetName) {
  const std::pair<const char*, long> rows[] = {
      {"Latin1", 1252}, {"Windows-1250", 1250}, {"shift_jis", 932}, {"big5", 950}, {"euc-kr", 949}};
  for (auto [name, cp] : rows) {
    KAdpConfig c("oracle");
    c.SetDBCodepageID(name);
    EXPECT_EQ(c.GetDBCodepageID(), cp) << name;
  }
  KAdpConfig c("oracle");
  c.SetDBCodepageID("Latin1");
  c.SetDBCodepageID("latin1");  // exact names only
  EXPECT_EQ(c.GetDBCodepageID(), 1252);
}

TEST_F(AdpConfig, ThrowCarriesCodeMethodAndInserts) {
  KAdpConfig c("oracle");
  struct row {
    long number;
    char flag;
    int params;
  } rows[] = {{0, 0, 1}, {0, 1, 2}, {17, 0, 2}};
  for (const row& r : rows) {
    try {
      c.Throw(0x8B0012D, "Where", "detail", r.number, r.flag);
      ADD_FAILURE() << "no throw";
    } catch (KCLASSIC::KErr* e) {
      EXPECT_EQ(e->ErrorNum, 0x8B0012D);
      EXPECT_STREQ(e->GetMethodName(), "Where");
      ASSERT_EQ(e->GetParamCount(), r.params);
      EXPECT_STREQ(e->GetParam(0), "detail");
      if (r.params == 2) {
        EXPECT_EQ(std::string(e->GetParam(1)), std::to_string(r.number));
      }
      delete e;
    }
  }
}

TEST_F(AdpConfig, TraceWritesRoundTripBlocks) {
  FILE* log = std::fopen("trace.log", "w+");
  ASSERT_NE(log, nullptr);
  adp_sql_log_sql(log);
  KAdpConfig c("oracle");
  c.Trace("SQL Batch started", "select 1");
  c.Trace("----BindVariables--", "0,0=5");
  c.Trace("----BindVariables--", "0,1=x");
  c.Trace("Some event", "its text");  // printed alone; the block goes on
  c.Trace("SQL Batch Execution", "select 1");
  c.Trace("*** Commit Transaction ***", "ignored");
  std::fclose(log);
  adp_sql_log_sql(nullptr);
  EXPECT_EQ(file_text("trace.log"),
            "--Some event\nits text\n"
            "----------BEGIN ROUND TRIP----------\nselect 1\n"
            "----Bind Variables: 0,0=5\n----Bind Variables: 0,1=x\n"
            "----select 1\n----------END ROUND TRIP----------\n\n"
            "--*** Commit Transaction ***\n");
}

}  // namespace
