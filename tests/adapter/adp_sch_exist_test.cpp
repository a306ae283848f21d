// Whether a table exists: the catalogue query of each dialect (quotes in the
// name doubled) and the answer from its rows.
#include <gtest/gtest.h>

#include <string>

#include "adapter/adp_fixture.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_script_answers.h"
#include "platform/dataservice/ds_script.h"

namespace {

class AdpSchExist : public adp_test {
 protected:
  static std::string last_query() {
    std::string out = "<none>";
    for (const std::string& c : ds_script::calls()) {
      if (c.rfind("Statement ", 0) == 0 && c.size() > 10) out = c.substr(10);
    }
    return out;
  }
};

TEST_F(AdpSchExist, EachDialectsQueryAndAnswer) {
  const struct {
    const char* driver;
    const char* name;
    const char* query;
  } rows[] = {
      {"oracle", "table_case", "select table_name from user_tables where table_name= UPPER('table_case')"},
      {"oracle", "o'x", "select table_name from user_tables where table_name= UPPER('o''x')"},
      {"oledb", "csp_new_objectid", "select name from sysobjects where name='csp_new_objectid'"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    KAdpConnId* con = connect(r.driver);
    for (bool found : {true, false}) {
      ds_script::reset();
      ds_script::push_result(found ? adp_script_answers::found(r.name) : adp_script_answers::none());
      char exists = 7;
      ASSERT_EQ(adp_sch_does_tbl_exist(con, r.name, &exists), 0);
      EXPECT_EQ(exists, found ? 1 : 0);
      EXPECT_EQ(last_query(), r.query);
    }
  }
}

}  // namespace
