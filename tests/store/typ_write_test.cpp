// Change stamps and the call order of schema and view writing.
#include <set>
#include <string>
#include <vector>

#include "core/clk/clk_srv.h"
#include "core/utl/utl_col.h"
#include "schema/typ_acc.h"
#include "schema/typ_fld.h"
#include "schema/typ_sch.h"
#include "schema/typ_write.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"
#include "store_fixture.h"

namespace {

class writing : public store_test {
 protected:
  void SetUp() override {
    store_test::SetUp();
    small_dictionary();
    load_model();
  }
  static std::vector<std::string> trail(const std::set<std::string>& names) {
    std::vector<std::string> out;
    for (const auto& c : adp_double::calls())
      if (names.count(c.name)) out.push_back(c.name + (c.args.empty() ? "" : " " + c.args[0]));
    return out;
  }
  static typ_sch_srec* sch(long type_id) {
    for (long i = 0; i < typ_sch_num_schs; ++i)
      if (typ_sch_schemas[i].type_id == type_id) return &typ_sch_schemas[i];
    return nullptr;
  }
};

}  // namespace

TEST_F(writing, StampIsWrittenWhenAStampingFieldIsDirty) {
  typ_sch_srec* s = nullptr;
  ASSERT_EQ(typ_sch_define_obj("stamped", 40, "", "", &s), 0);
  long pos = 0;
  ASSERT_EQ(typ_sch_fadd(s, "objid", 512, 0, 3, -1, 0x11, 0, -1, -1, 0, 0, nullptr, "", &pos), 0);
  ASSERT_EQ(typ_sch_fadd(s, "watched", 516, 3, -1, -1, 0x201, 20, -1, -1, 0, 0, nullptr, "", &pos), 0);
  ASSERT_EQ(typ_sch_fadd(s, "other", 516, 3, -1, -1, 0x1, 20, -1, -1, 0, 0, nullptr, "", &pos), 0);
  ASSERT_EQ(typ_sch_fadd(s, "modified", 609, 9, 46, -1, 0x401, 0, -1, -1, 0, 0, nullptr, "", &pos), 0);
  ASSERT_EQ(typ_sch_optimize(), 0);
  clk_time_diff_cache_set(0);
  dbs_ty_lobj* o = make(40);
  const char* t = "x";
  // A dirty field without flag 0x200: no stamp.
  ASSERT_EQ(dbs_fld_set(o, 2, &t), 0);
  ASSERT_EQ(typ_sch_put_dirty_timestamp(nullptr, o, 0), 0);
  EXPECT_EQ(o->dirty[3], 0);
  ASSERT_EQ(dbs_fld_set(o, 1, &t), 0);
  ASSERT_EQ(typ_sch_put_dirty_timestamp(nullptr, o, 0), 0);
  EXPECT_EQ(o->dirty[3] & 1, 1);
  EXPECT_NE(static_cast<clktime*>(o->slots[3].p)->day, -53690);
  // Skipping: nothing is written even when forced.
  o->dirty[3] = 0;
  typ_sch_set_skip_timestamp(1);
  ASSERT_EQ(typ_sch_put_dirty_timestamp(nullptr, o, 1), 0);
  EXPECT_EQ(o->dirty[3], 0);
  typ_sch_set_skip_timestamp(0);
  // The generic-46 dirty marker.
  ASSERT_EQ(typ_sch_dirty_update_timestamp(nullptr, o, 1, 0), 0);
  EXPECT_EQ(o->dirty[3] & 1, 1);
  dbs_obj_free_local("test", o);
}

TEST_F(writing, AStampFieldOfAnotherDatabaseTypeIsNotWritten) {
  typ_sch_srec* s = nullptr;
  ASSERT_EQ(typ_sch_define_obj("stamped2", 41, "", "", &s), 0);
  long pos = 0;
  ASSERT_EQ(typ_sch_fadd(s, "watched", 516, 3, -1, -1, 0x201, 20, -1, -1, 0, 0, nullptr, "", &pos), 0);
  ASSERT_EQ(typ_sch_fadd(s, "modified", 609, 6, -1, -1, 0x401, 0, -1, -1, 0, 0, nullptr, "", &pos), 0);
  ASSERT_EQ(typ_sch_optimize(), 0);
  dbs_ty_lobj* o = make(41);
  const char* t = "x";
  ASSERT_EQ(dbs_fld_set(o, 0, &t), 0);
  ASSERT_EQ(typ_sch_put_dirty_timestamp(nullptr, o, 1), 0);
  EXPECT_EQ(o->dirty[1], 0);
  dbs_obj_free_local("test", o);
}

TEST_F(writing, SchemasThenRelationsThenViewsThenTheHeader) {
  typ_sch_srec* v = nullptr;
  ASSERT_EQ(typ_sch_define("sqlview", 60, TYP_SCH_VIEW | TYP_SCH_SQL_VIEW, "", "", "select 1", 0, 0, &v), 0);
  ASSERT_EQ(typ_sch_define("plainview", 61, TYP_SCH_VIEW, "", "", nullptr, 0, 0, &v), 0);
  ASSERT_EQ(typ_sch_define("gone", 62, TYP_SCH_OBJECT, "", "", nullptr, 0, 0, &v), 0);
  sch(17)->flags |= TYP_SCH_CHANGED;
  sch(18)->flags |= TYP_SCH_CHANGED | 0x10000;
  sch(60)->flags |= TYP_SCH_CHANGED;
  sch(61)->flags |= TYP_SCH_CHANGED;
  sch(62)->flags |= TYP_SCH_DELETED;
  utl_ty_col* written = nullptr;
  ASSERT_EQ(utl_col_make("t", 512, 4, 4, 0, 0, &written), 0);
  ASSERT_EQ(typ_sch_write(nullptr, 1, written, 0), 0);
  std::vector<std::string> expected = {
      "adp_sch_write 17",   "adp_obj_oid_init 17", "adp_sch_write 18",   "adp_obj_oid_init 18",
      "adp_sch_delete_type 62", "adp_sch_rel_create site2case", "adp_ind_create 17", "adp_ind_create 18",
      "adp_ind_create 62",  "adp_sch_write 61",    "adp_sch_write 60",   "adp_db_put_header"};
  EXPECT_EQ(trail({"adp_sch_write", "adp_obj_oid_init", "adp_sch_delete_type", "adp_sch_rel_create",
                   "adp_ind_create", "adp_db_put_header"}),
            expected);
  // 17 is marked written; 18 (0x10000) is not, and loses that bit.
  EXPECT_TRUE(sch(17)->flags & TYP_SCH_WRITTEN);
  EXPECT_FALSE(sch(18)->flags & TYP_SCH_WRITTEN);
  EXPECT_FALSE(sch(18)->flags & 0x10000);
  EXPECT_FALSE(sch(17)->flags & TYP_SCH_CHANGED);
  long n = 0;
  utl_col_num(written, &n);
  EXPECT_EQ(n, 4);
  utl_col_free("t", written);
}

TEST_F(writing, ViewsAreWrittenInOneTransactionThenDefinedAndGranted) {
  typ_sch_srec* v = nullptr;
  ASSERT_EQ(typ_sch_define("v1", 70, TYP_SCH_VIEW | TYP_SCH_SQL_VIEW, "", "", "select 1", 0, 0, &v), 0);
  adp_double::script("adp_sch_drop_view", {0x600029});  // the view did not exist yet
  ASSERT_EQ(typ_sch_write_view(nullptr), 0);
  std::vector<std::string> expected = {"adp_trn_begin 0", "adp_sch_del_view_info", "adp_sch_write 70",
                                       "adp_trn_commit 1", "adp_sch_drop_view 70", "adp_sch_view_def 70",
                                       "adp_sql_create", "adp_sql_append CREATE VIEW v70", "adp_sql_execute",
                                       "adp_sql_result", "adp_sql_free", "adp_usr_view_grant 70"};
  EXPECT_EQ(trail({"adp_trn_begin", "adp_sch_del_view_info", "adp_sch_write", "adp_trn_commit", "adp_sch_drop_view",
                   "adp_sch_view_def", "adp_sql_create", "adp_sql_append", "adp_sql_execute", "adp_sql_result",
                   "adp_sql_free", "adp_usr_view_grant"}),
            expected);
  EXPECT_EQ(core_num_alerts(), 0);
  // A failed write rolls the transaction back.
  adp_double::reset();
  adp_double::script("adp_sch_write", {0x600029});
  EXPECT_EQ(typ_sch_write_view(nullptr), 0x600029);
  EXPECT_EQ(adp_double::calls_of("adp_trn_rollback").size(), 1u);
  EXPECT_TRUE(adp_double::calls_of("adp_usr_view_grant").empty());
}

TEST_F(writing, ViewCurrencyFlagsFollowTheirSourceFields) {
  typ_sch_srec* v = nullptr;
  ASSERT_EQ(typ_sch_define("cview", 80, TYP_SCH_VIEW, "", "", nullptr, 0, 0, &v), 0);
  long pos = 0;
  ASSERT_EQ(typ_sch_fadd(v, "amt", 766, 11, -1, -1, 0x1, 0, 10, 2, 0, 0, nullptr, "", &pos), 0);
  ASSERT_EQ(typ_sch_fadd(v, "ttl", 516, 3, -1, -1, 0x1, 25, -1, -1, 0, 0, nullptr, "", &pos), 0);
  static typ_sch_vinfo amount{17, 0, 4, 0, nullptr, 0, nullptr, nullptr};
  static typ_sch_vinfo title{17, 0, 1, 0, nullptr, 0, nullptr, nullptr};
  sch(80)->fields[0].uptr = &amount;
  sch(80)->fields[1].uptr = &title;
  sch(80)->fields[1].flags |= TYP_FLD_CURRENCY;  // stale: its source is no currency
  sch(17)->fields[4].flags |= TYP_FLD_CURRENCY;
  ASSERT_EQ(typ_sch_set_view_currency_flag(nullptr, nullptr), 0);
  EXPECT_TRUE(sch(80)->fields[0].flags & TYP_FLD_CURRENCY);
  EXPECT_FALSE(sch(80)->fields[1].flags & TYP_FLD_CURRENCY);
  EXPECT_TRUE(sch(80)->flags & TYP_SCH_CHANGED);
  // Nothing changes the second time.
  sch(80)->flags &= ~TYP_SCH_CHANGED;
  ASSERT_EQ(typ_sch_set_view_currency_flag(nullptr, nullptr), 0);
  EXPECT_FALSE(sch(80)->flags & TYP_SCH_CHANGED);
}
