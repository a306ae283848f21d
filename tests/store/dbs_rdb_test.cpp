// The table-change records: temporary keys, table names, their order, their
// print texts and the look-up of a change.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "adpdouble/adp_double_sce.h"
#include "core/utl/utl_col.h"
#include "store/dbs_rdb.h"
#include "store_fixture.h"

namespace {

class rdb_test : public store_test {
 protected:
  void SetUp() override {
    store_test::SetUp();
    store_start();
  }
  static dbs_ty_tbl_change change(long op, const char* table, const char* name = nullptr,
                                  const char* second = nullptr) {
    dbs_ty_tbl_change c{};
    c.op = op;
    std::snprintf(c.table_name, sizeof c.table_name, "%s", table);
    c.name = const_cast<char*>(name);
    c.second_name = const_cast<char*>(second);
    return c;
  }
  static std::string printed(const dbs_ty_tbl_change& c, long number = 0) {
    char* data = nullptr;
    size_t size = 0;
    FILE* f = open_memstream(&data, &size);
    dbs_rdb_print_change(f, 0, &c, DBS_TY_TBL_CHANGE, number);
    std::fclose(f);
    std::string out(data, size);
    std::free(data);
    return out;
  }
};

}  // namespace

TEST_F(rdb_test, TemporaryUniqueKeysAreNegativeWithTheHighBitsSet) {
  EXPECT_EQ(dbs_rdb_temp_unique_key(5), static_cast<long>(static_cast<int32_t>(0xffc00005u)));
  EXPECT_EQ(dbs_rdb_temp_unique_key(0x12345678), static_cast<long>(static_cast<int32_t>(0xfff45678u)));
  EXPECT_LT(dbs_rdb_temp_unique_key(0), 0);
}

TEST_F(rdb_test, TableNamesCarryTheOwnerPrefixWhenAskedAndFitTheLongestName) {
  char out[DBS_RDB_TABLE_NAME_MAX + 1];
  dbs_rdb_make_table_name("case", out);
  EXPECT_STREQ(out, "table_case");
  adp_double::set_perf_flag(1);
  const std::string longest(64, 'x');
  dbs_rdb_make_table_name(longest.c_str(), out);
  EXPECT_EQ(std::string(out), "dbo.table_" + longest);
  dbs_ty_tbl_change c{};
  EXPECT_GE(sizeof c.table_name, std::strlen(out) + 1);
}

TEST_F(rdb_test, ChangesSortByTableThenRenameFirstThenOpThenName) {
  utl_ty_col* list = nullptr;
  ASSERT_EQ(utl_col_make("rdb_test", DBS_TY_TBL_CHANGE, 4, 4, 0, 0, &list), 0);
  const std::vector<dbs_ty_tbl_change> given{
      change(DBS_RDB_DELETE_COLUMN, "table_b", "z"), change(DBS_RDB_ADD_COLUMN, "table_b", "y"),
      change(DBS_RDB_RENAME_TABLE, "table_b", "table_old", "table_b"), change(DBS_RDB_ADD_COLUMN, "table_b", "a"),
      change(DBS_RDB_DELETE_TABLE, "table_a")};
  for (const auto& c : given) ASSERT_EQ(utl_col_push(list, &c, nullptr), 0);
  ASSERT_EQ(utl_col_sort(list, nullptr, nullptr), 0);
  std::vector<std::string> order;
  long n = 0;
  utl_col_num(list, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(list, i, &e);
    auto* c = static_cast<dbs_ty_tbl_change*>(e);
    order.push_back(std::string(c->table_name) + "/" + std::to_string(c->op) + "/" + (c->name ? c->name : ""));
  }
  EXPECT_EQ(order, (std::vector<std::string>{"table_a/5/", "table_b/7/table_old", "table_b/0/a", "table_b/0/y",
                                             "table_b/1/z"}));

  dbs_ty_tbl_change* found = nullptr;
  ASSERT_EQ(dbs_rdb_find_change(list, "table_b", DBS_RDB_ADD_COLUMN, &found), 0);
  ASSERT_NE(found, nullptr);
  EXPECT_STREQ(found->name, "a");
  ASSERT_EQ(dbs_rdb_find_change(list, "table_b", -1, &found), 0);
  EXPECT_EQ(found->op, DBS_RDB_RENAME_TABLE);
  ASSERT_EQ(dbs_rdb_find_change(list, "table_c", -1, &found), 0);
  EXPECT_EQ(found, nullptr);
  utl_col_free("rdb_test", list);
}

TEST_F(rdb_test, PrintTextsNameTheOperation) {
  dbs_ty_tbl_change add = change(DBS_RDB_ADD_COLUMN, "table_case", "title");
  add.old_db_type = 7;
  add.old_length = 25;
  dbs_ty_tbl_change modify = change(DBS_RDB_MODIFY_COLUMN, "table_case", "title", "subject");
  modify.old_db_type = 7;
  modify.new_db_type = 8;
  modify.old_length = 25;
  modify.new_length = -1;
  const std::string sql(80, 's');
  const struct {
    dbs_ty_tbl_change change;
    std::string text;
  } cases[] = {
      {add, "1) table_case: add column 'title' a t7(25).\n"},
      {change(DBS_RDB_DELETE_COLUMN, "table_case", "notes"), "1) table_case: delete column 'notes'.\n"},
      {modify,
       "1) table_case: modify t8(-1) column 'title'.\n  Change name from 'title' to 'subject'.\n"
       "  Change type from t7(25) to t8(-1).\n  Change length from 25 to -1.\n"},
      {change(DBS_RDB_RENAME_COLUMN, "table_case", "a", "b"), "1) table_case: rename column from 'a' to 'b'.\n"},
      {change(DBS_RDB_RENAME_COLUMN, "table_case", "a", "a"), "1) table_case: "},
      {change(DBS_RDB_RENAME_TABLE, "table_new", "table_old", "table_new"),
       "1) table_new: rename table from 'table_old' to 'table_new'.\n"},
      {change(DBS_RDB_DEFINE_VIEW, "v", sql.c_str()),
       "1) v: define view with this sql:\n   '" + std::string(50, 's') + "...'\n"},
      {change(DBS_RDB_NO_OP, "t"), "1) t: no op\n"},
      {change(DBS_RDB_CASE_SENSITIVE, "t", "c"), "1) t: make column 'c' case-sensitive.\n"},
      {change(DBS_RDB_EXCL_OLD, "t"), "1) t: UNKNOWN table change op type 19.\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(printed(c.change), c.text) << c.change.op;
  EXPECT_EQ(printed(change(DBS_RDB_DELETE_TABLE, "t"), 4), "5) t: delete table.\n");
}
