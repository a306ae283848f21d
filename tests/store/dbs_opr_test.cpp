// Query operators and value checks by field path.
#include <string>

#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_col.h"
#include "store/dbs_opr.h"
#include "store_fixture.h"

namespace {

class opr_test : public store_test {
 protected:
  void SetUp() override {
    store_test::SetUp();
    small_dictionary();
    load_model();
  }
};

long count_of(utl_ty_col* col) {
  long n = -1;
  utl_col_num(col, &n);
  return n;
}

}  // namespace

TEST_F(opr_test, OperatorsOfAFieldARelationAndAnUnknownPath) {
  utl_ty_col* values = nullptr;
  utl_ty_col* names = nullptr;
  ASSERT_EQ(utl_col_make("test", 512, 4, 4, 0, 0, &values), 0);
  ASSERT_EQ(utl_col_make("test", 516, 4, 4, 0, 0, &names), 0);
  ASSERT_EQ(dbs_opr_get_operators(17, "count", values, names), 0);
  EXPECT_GT(count_of(values), 0);
  EXPECT_EQ(count_of(values), count_of(names));
  utl_col_reset(values);
  utl_col_reset(names);
  // A relation name: refused without an alert.
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(dbs_opr_get_operators(17, "case2site", values, names), 0x500011);
  EXPECT_EQ(core_num_alerts(), 0);
  EXPECT_EQ(count_of(values), 0);
  // Neither field nor relation: the field alert.
  EXPECT_EQ(dbs_opr_get_operators(17, "nosuch", values, names), 0x500011);
  EXPECT_EQ(core_top_alert_code(), 0x500011);
  EXPECT_EQ(count_of(values), 0);
  utl_col_free("test", values);
  utl_col_free("test", names);
}

TEST_F(opr_test, ValuesCheckedByThePathsType) {
  struct row {
    const char* path;
    const char* value;
    long status;
  } rows[] = {
      {"count", "12", 0},
      {"count", "twelve", 0x700027},
      {"when", "?", 0x700027},
      {"when", "   ", 0x700027},
      {"title", "anything", 0},
      {"nosuch", "1", 0x500011},
  };
  for (const row& r : rows) {
    cmn_alrt_clear(nullptr);
    EXPECT_EQ(dbs_opr_check_value(17, "Count", r.path, r.value), r.status) << r.path << " " << r.value;
    if (r.status == 0x700027) {
      long code = 0;
      const char* text = nullptr;
      cmn_alrt_top(nullptr, &code, &text);
      EXPECT_EQ(code, 0x700027);
      EXPECT_NE(std::string(text ? text : "").find(r.value), std::string::npos) << text;
    }
  }
}
