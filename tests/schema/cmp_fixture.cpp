#include "cmp_fixture.h"

#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_bld.h"
#include "schema/typ_cmp.h"

void cmp_test::TearDown() {
  if (list_) utl_col_free("t", list_);
  list_ = nullptr;
  if (report_) utl_estr_free("t", report_);
  report_ = nullptr;
  typ_bld_cleanup(0);
  bld_test::TearDown();
}

long cmp_test::diff(const std::string& old_text, const std::string& new_text, unsigned long options) {
  std::string out;
  EXPECT_EQ(compile(old_text, 0, &out), 0) << out << core_top_alert_text();
  EXPECT_EQ(compile(new_text, TYP_BLD_UPGRADE, &out), 0) << out << core_top_alert_text();
  EXPECT_EQ(utl_col_make("t", TYP_TY_DIFF, 10, 10, 0, 0, &list_), 0);
  EXPECT_EQ(utl_estr_create("t", "", 256, 256, &report_), 0);
  typ_sch_diff_out ctx{nullptr, nullptr, 0, report_};
  long st = -1;
  printed_ = schema_stdout_of(
      [&] { st = typ_sch_diffs(nullptr, typ_bld_saved_schema, typ_sch_add_diff, list_, options, &ctx); });
  report = utl_estr_get(report_);
  return st;
}

std::vector<long> cmp_test::ops() const {
  std::vector<long> v;
  long n = 0;
  utl_col_num(list_, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(list_, i, &e);
    v.push_back(static_cast<typ_sch_diff_rec*>(e)->op);
  }
  return v;
}
