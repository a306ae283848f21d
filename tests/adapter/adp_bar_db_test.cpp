// Binary arrays on the run's MariaDB server through the Oracle-dialect
// service: arrays of 63, 64 and no numbers written and read back equal, the
// stored words checked byte by byte, 60 rows replacing an array in two
// blocks, an append of one number to 63, locked reads, the own transaction
// and deleting one object's rows.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "adapter/adp_bar.h"
#include "adapter/adp_ora_session.h"
#include "adapter/adp_sch_cache.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_trn.h"
#include "core/utl/utl_col.h"
#include "schema/typ_sch.h"

namespace {

constexpr long kCase = 10;
constexpr long kArray = 3;
constexpr long kObjidType = 594;
constexpr const char kOwner[] = "adp_bar_db_test";

std::vector<long> run_of(long count, long first) {
  std::vector<long> v;
  for (long i = 0; i < count; ++i) v.push_back(first + i);
  return v;
}

class AdpBarDb : public adp_ora_open_test {
 protected:
  void SetUp() override {
    adp_ora_open_test::SetUp();
    if (HasFatalFailure()) return;
    // The type cache as the dictionary has it.
    ASSERT_EQ(typ_sch_alloc(), 0);
    ASSERT_EQ(adp_sch_alloc(), 0);
    ASSERT_EQ(adp_sch_types_init(con_, nullptr), 0);
    const char* name = nullptr;
    ASSERT_EQ(adp_sch_type_name_find(kCase, &name), 0);
    ASSERT_STREQ(name, "case");
    ASSERT_EQ(adp_bar_create(con_, kCase, kArray), 0);
  }
  void TearDown() override {
    for (auto& [s, form] : sets_) adp_bar_free_array(nullptr, s, form);
    for (utl_ty_col* ids : ids_) utl_col_free(kOwner, ids);
    adp_ora_open_test::TearDown();
  }
  utl_ty_col* set(long options, const std::vector<std::pair<long, std::vector<long>>>& arrays) {
    utl_ty_col* s = nullptr;
    EXPECT_EQ(adp_bar_make_set(options, &s), 0);
    sets_.emplace_back(s, options & ADP_BAR_OPT_FLAT ? ADP_BAR_FORM_FLAT : ADP_BAR_FORM_NESTED);
    for (const auto& [number, numbers] : arrays) {
      const obj_id id{kCase, number, 0};
      EXPECT_EQ(adp_bar_add_to_array(s, &id, static_cast<long>(numbers.size()), numbers.data(), options), 0);
    }
    return s;
  }
  // The arrays read for the numbers: object number to its numbers.
  std::map<long, std::vector<long>> read(const std::vector<long>& numbers, long options, long flags = 0) {
    utl_ty_col* ids = nullptr;
    EXPECT_EQ(utl_col_make(kOwner, kObjidType, 10, 10, 0, 0, &ids), 0);
    ids_.push_back(ids);
    for (long n : numbers) {
      const obj_id id{kCase, n, 0};
      EXPECT_EQ(utl_col_push(ids, &id, nullptr), 0);
    }
    utl_ty_col* out = nullptr;
    EXPECT_EQ(adp_bar_get(con_, kCase, kArray, ids, options, &out, flags), 0);
    const long form = options & ADP_BAR_OPT_FLAT ? ADP_BAR_FORM_FLAT : ADP_BAR_FORM_NESTED;
    sets_.emplace_back(out, form);
    std::map<long, std::vector<long>> arrays;
    long n = 0;
    utl_col_num(out, &n);
    for (long i = 0; i < n; ++i) {
      obj_id id{};
      long count = 0;
      const long* values = nullptr;
      EXPECT_EQ(adp_bar_array_at(out, form, i, &id, &count, &values), 0);
      EXPECT_EQ(id.type, kCase);
      arrays[id.num] = std::vector<long>(values, values + count);
    }
    return arrays;
  }
  // "seq_num:bytes" of each row of the object, in order.
  std::string rows(long number) {
    return value("select coalesce(group_concat(concat(seq_num, ':', length(data)) order by seq_num separator ' '), "
                 "'') from table_case_array_3 where objid = " +
                 std::to_string(number));
  }

  std::vector<std::pair<utl_ty_col*, long>> sets_;
  std::vector<utl_ty_col*> ids_;
};

TEST_F(AdpBarDb, ArraysAreWrittenInRowsAndReadBackEqual) {
  const std::vector<long> n63 = run_of(63, 0x01020304), n64 = run_of(64, -32);
  for (long options : {ADP_BAR_OPT_FLAT, 0L}) {
    SCOPED_TRACE(options);
    ASSERT_EQ(adp_bar_put(con_, kCase, kArray, options, set(options, {{7, n63}, {8, n64}, {9, {}}})), 0);
    EXPECT_EQ(rows(7), "32767:252");
    EXPECT_EQ(rows(8), "1:252 32767:4");
    EXPECT_EQ(rows(9), "");
    const auto arrays = read({7, 8, 9}, options);
    EXPECT_EQ(arrays, (std::map<long, std::vector<long>>{{7, n63}, {8, n64}}));
  }
  // Each number is a big-endian word: 0x01020304 first, -32 as FFFFFFE0.
  EXPECT_EQ(value("select hex(substr(data, 1, 8)) from table_case_array_3 where objid = 7"), "0102030401020305");
  EXPECT_EQ(value("select hex(substr(data, 1, 8)) from table_case_array_3 where objid = 8 and seq_num = 1"),
            "FFFFFFE0FFFFFFE1");
  EXPECT_EQ(value("select hex(data) from table_case_array_3 where objid = 8 and seq_num = 32767"), "0000001F");
}

TEST_F(AdpBarDb, SixtyRowsReplaceAnArrayInTwoBlocks) {
  const std::vector<long> old = run_of(200, 5), other = run_of(70, 9);
  ASSERT_EQ(adp_bar_new(con_, kCase, kArray, 0, set(0, {{7, old}, {8, other}})), 0);
  EXPECT_EQ(rows(7), "1:252 2:252 3:252 32767:44");
  const std::vector<long> sixty = run_of(59 * 63 + 2, 1000);
  ASSERT_EQ(adp_bar_put(con_, kCase, kArray, ADP_BAR_OPT_OWN_TRANSACTION, set(0, {{7, sixty}})), 0);
  // The rows of the first block (the delete and rows 1 to 50) survive the second.
  EXPECT_EQ(value("select count(*) from table_case_array_3 where objid = 7"), "60");
  EXPECT_EQ(value("select concat(min(seq_num), '-', max(seq_num)) from table_case_array_3 where objid = 7 and "
                  "seq_num < 32767"),
            "1-59");
  EXPECT_EQ(value("select length(data) from table_case_array_3 where objid = 7 and seq_num = 32767"), "8");
  EXPECT_EQ(read({7, 8}, ADP_BAR_OPT_FLAT), (std::map<long, std::vector<long>>{{7, sixty}, {8, other}}));
  long level = -1;
  adp_trn_appl_level(&level);
  EXPECT_EQ(level, 0);
}

TEST_F(AdpBarDb, AppendingOneNumberToSixtyThreeAddsRowOne) {
  const std::vector<long> n64 = run_of(64, 0x7FFFFFC0);
  const std::vector<long> n63(n64.begin(), n64.end() - 1);
  ASSERT_EQ(adp_bar_append(con_, kCase, kArray, 0, 63, set(0, {{7, n63}})), 0);
  EXPECT_EQ(rows(7), "32767:252");
  ASSERT_EQ(adp_bar_append(con_, kCase, kArray, 0, 1, set(0, {{7, n64}})), 0);
  EXPECT_EQ(rows(7), "1:252 32767:4");
  EXPECT_EQ(value("select hex(data) from table_case_array_3 where objid = 7 and seq_num = 32767"), "7FFFFFFF");
  EXPECT_EQ(read({7}, 0), (std::map<long, std::vector<long>>{{7, n64}}));
  // An empty array loses its rows.
  ASSERT_EQ(adp_bar_append(con_, kCase, kArray, 0, 0, set(0, {{7, {}}})), 0);
  EXPECT_EQ(rows(7), "");
}

TEST_F(AdpBarDb, ALockedReadInsideATransactionAndDeletingOneObject) {
  const std::vector<long> a = run_of(130, 1), b = run_of(3, -1);
  ASSERT_EQ(adp_bar_new(con_, kCase, kArray, ADP_BAR_OPT_FLAT, set(ADP_BAR_OPT_FLAT, {{7, a}, {8, b}})), 0);
  ASSERT_EQ(adp_trn_begin(con_), 0);
  EXPECT_EQ(read({8, 7}, 0, ADP_BAR_GET_LOCK), (std::map<long, std::vector<long>>{{7, a}, {8, b}}));
  ASSERT_EQ(adp_trn_commit(con_), 0);
  const obj_id id{kCase, 7, 0};
  ASSERT_EQ(adp_bar_delete(con_, kCase, kArray, &id), 0);
  EXPECT_EQ(rows(7), "");
  EXPECT_EQ(read({7, 8}, 0), (std::map<long, std::vector<long>>{{8, b}}));
}

// A row without its last row gives no array; the others are read.
TEST_F(AdpBarDb, AnArrayWithoutItsLastRowIsNotRead) {
  ASSERT_EQ(adp_bar_new(con_, kCase, kArray, 0, set(0, {{7, run_of(100, 1)}, {8, {4}}})), 0);
  ASSERT_TRUE(db_.run("delete from table_case_array_3 where objid = 7 and seq_num = 32767;"));
  EXPECT_EQ(read({7, 8}, 0), (std::map<long, std::vector<long>>{{8, {4}}}));
}

}  // namespace
