// Power-query and order records from simple queries, condition objects and
// sort objects, on the security rig's schema (view 88 maps to sites).
#include <string>
#include <vector>

#include "client/oab/oab_qry.h"
#include "client/crm_rig.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "store/dbs_obj.h"
#include "store/dbs_pwr.h"
#include "store/dbs_qry.h"

namespace {

constexpr long kEq = 4;
constexpr long kLike = 6;
constexpr long kNotLike = 7;
constexpr long kDescending = 1;

long text_value(const char* t) { return reinterpret_cast<long>(t); }

class oab_qry_xrec_test : public crm_test {
 protected:
  static utl_ty_col* objects(long type, const std::vector<std::vector<sec_field>>& rows) {
    utl_ty_col* col = nullptr;
    EXPECT_EQ(utl_col_make("test", CMN_TYP_VOID_P, 1, 10, 0, 0, &col), 0);
    long number = 1;
    for (const auto& fields : rows) {
      row(type, number, fields);
      dbs_ty_lobj* o = read(type, number++);
      utl_col_push(col, &o, nullptr);
    }
    return col;
  }
};

TEST_F(oab_qry_xrec_test, SimpleConditionsTakeTheViewsPathsAndPowerOperators) {
  const struct {
    dbs_ty_qry_cond cond;
    const char* expected;  // "" when left out
  } rows[] = {
      {{SITE_NAME, kLike, text_value("%abc%")}, "name 8 abc"},
      {{SITE_NAME, kLike, text_value("abc%")}, "name 6 abc"},
      {{SITE_NAME, kLike, text_value("%abc")}, "name 7 abc"},
      {{SITE_NAME, kLike, text_value("abc")}, "name 4 abc"},
      {{SITE_NAME, kNotLike, text_value("%abc%")}, "name 13 abc"},
      {{SITE_NAME, 8, text_value("%abc%")}, "name 16 %abc%"},
      {{SITE_TYPE, 2, 42}, "type 2 42"},
      {{1, kEq, text_value("S7")}, "site_id 4 S7"},
      {{SITE_NAME, 9, text_value("a")}, ""},
      {{SITE_NAME, 10, text_value("a")}, ""},
      {{SITE_NAME, 11, text_value("a")}, ""},
      {{SITE_NAME, kEq, 0}, ""},                 // a text field needs a value
      {{4, kEq, text_value("x")}, ""},           // the path does not resolve here
      {{77, kEq, text_value("x")}, ""},          // no path in the map
  };
  for (const auto& r : rows) {
    dbs_ty_qry_cond c = r.cond;
    dbs_ty_qry_desc q{VIEW_SITE, 1, &c, 1};
    dbs_ty_pwr_list* rec = nullptr;
    oab_ty_pwr_order* order = nullptr;
    char flag = 0;
    ASSERT_EQ(oab_qry_xform_simple_query(&q, 0, nullptr, &rec, &order, &flag), 0) << r.expected;
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(rec->type_id, S_SITE);
    EXPECT_EQ(rec->and_flag, 1);
    EXPECT_EQ(conds_text(rec), r.expected);
    EXPECT_EQ(rec->pattern_count, rec->count);
    EXPECT_EQ(order->count, 0);
    EXPECT_EQ(oab_qry_dealloc_query(rec, reinterpret_cast<long>(order), 0), 0);
  }
}

TEST_F(oab_qry_xrec_test, AnOperatorOutsideTheTableIsRefused) {
  dbs_ty_qry_cond c{SITE_NAME, 12, text_value("x")};
  dbs_ty_qry_desc q{VIEW_SITE, 1, &c, 1};
  dbs_ty_pwr_list* rec = nullptr;
  oab_ty_pwr_order* order = nullptr;
  char flag = 0;
  EXPECT_EQ(oab_qry_xform_simple_query(&q, 0, nullptr, &rec, &order, &flag), OAB_QRY_BAD_OPERATOR);
  EXPECT_EQ(rec, nullptr);
  EXPECT_EQ(flag, 0);
  oab_qry_reset_scratch_cols();
}

TEST_F(oab_qry_xrec_test, OrderingsTakeTheFirstDirectionAndMappedPathsOnly) {
  dbs_ty_qry_desc q{VIEW_SITE, 0, nullptr, 1};
  const oab_ty_qry_order orders[] = {{SITE_NAME, kDescending}, {77, 0}, {SITE_TYPE, 0}};
  dbs_ty_pwr_list* rec = nullptr;
  oab_ty_pwr_order* order = nullptr;
  char flag = 0;
  ASSERT_EQ(oab_qry_xform_simple_query(&q, 3, orders, &rec, &order, &flag), 0);
  EXPECT_EQ(rec->count, 0);
  EXPECT_EQ(order->direction, kDescending);
  ASSERT_EQ(order->count, 2);
  EXPECT_STREQ(order->paths[0], "name");
  EXPECT_STREQ(order->paths[1], "type");
  oab_qry_dealloc_query(rec, reinterpret_cast<long>(order), 0);
}

TEST_F(oab_qry_xrec_test, ConditionObjectsGiveConditionsOnlyWhenAsked) {
  utl_ty_col* conds = objects(S_QRY_COND, {{{1, std::string("name")}, {3, 6L}, {5, std::string("Ma")}},
                                           {{1, std::string("site_type")}, {3, 4L}, {5, std::string("2")}}});
  dbs_ty_pwr_list* rec = nullptr;
  ASSERT_EQ(oab_qry_xform_qry(S_SITE, conds, &rec, 1), 0);
  EXPECT_EQ(rec->type_id, S_SITE);
  EXPECT_EQ(rec->and_flag, 1);
  EXPECT_EQ(conds_text(rec), "name 6 Ma|site_type 4 2");
  oab_qry_pwr_obj_cond_free(rec, 0);
  ASSERT_EQ(oab_qry_xform_qry(S_SITE, conds, &rec, 0), 0);
  EXPECT_EQ(rec->count, 0);
  // Bit 0 keeps the record itself.
  oab_qry_pwr_obj_cond_free(rec, 1);
  EXPECT_EQ(rec->conds, nullptr);
  oab_qry_pwr_obj_cond_free(rec, 0);
  dbs_obj_free_local_col(nullptr, conds);
}

TEST_F(oab_qry_xrec_test, SortObjectsWithBlankPathsAreSkipped) {
  utl_ty_col* sorts = objects(S_QRY_SORT, {{{3, std::string("name")}}, {{3, std::string("   ")}},
                                           {{3, std::string("")}}, {{3, std::string("site_type")}}});
  oab_ty_pwr_order* order = nullptr;
  ASSERT_EQ(oab_qry_xform_mult_sort(S_SITE, kDescending, sorts, &order), 0);
  dbs_obj_free_local_col(nullptr, sorts);  // the paths are the record's own copies
  EXPECT_EQ(order->type_id, S_SITE);
  EXPECT_EQ(order->direction, kDescending);
  ASSERT_EQ(order->count, 2);
  EXPECT_STREQ(order->paths[0], "name");
  EXPECT_STREQ(order->paths[1], "site_type");
  oab_qry_pwr_order_free(order);
}

}  // namespace
