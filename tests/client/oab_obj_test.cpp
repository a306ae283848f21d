// Lists of database objects: copy, free, match, filter and sort.
#include <algorithm>
#include <string>
#include <vector>

#include "client/client_fixture.h"
#include "client/oab/oab_main.h"
#include "client/oab/oab_msg.h"
#include "client/oab/oab_obj.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_state.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"

namespace {

class oab_obj_test : public client_test {
 protected:
  void SetUp() override {
    client_test::SetUp();
    oab_db_con_id = con();
    ASSERT_EQ(utl_col_make("oab_obj_test", CMN_TYP_VOID_P, 4, 4, 0, 0, &list_), 0);
  }
  void TearDown() override {
    EXPECT_EQ(oab_obj_free_objs_in_col(nullptr, list_), 0);
    utl_col_free("oab_obj_test", list_);
    client_test::TearDown();
  }
  dbs_ty_lobj* make(long type, long number, const std::string& name, long rank) {
    dbs_ty_lobj* o = nullptr;
    EXPECT_EQ(dbs_obj_make(nullptr, type, &o), 0);
    EXPECT_EQ(dbs_fld_set_local(o, F_OBJID, &number, 1), 0);
    set_name(o, name);
    set_long(o, type == ACCOUNT ? F_SIZE : F_RANK, rank);
    return o;
  }
  // Appends contacts {number, name, rank} in order.
  void fill(const std::vector<std::pair<std::string, long>>& rows) {
    long number = 1;
    for (const auto& r : rows) {
      dbs_ty_lobj* o = make(CONTACT, number++, r.first, r.second);
      ASSERT_EQ(utl_col_push(list_, &o, nullptr), 0);
    }
  }
  dbs_ty_lobj* at(long i) {
    void* slot = nullptr;
    EXPECT_EQ(utl_col_ith(list_, i, &slot), 0);
    return *static_cast<dbs_ty_lobj**>(slot);
  }
  std::vector<long> numbers() {
    std::vector<long> out;
    for (long i = 0; i < list_->count; ++i) out.push_back(number_of(at(i)));
    return out;
  }
  utl_ty_col* list_ = nullptr;
};

TEST_F(oab_obj_test, MatchFindsTheFirstEqualElement) {
  long index = 7;
  auto* found = reinterpret_cast<dbs_ty_lobj*>(list_);  // overwritten
  ASSERT_EQ(oab_obj_match_field_in_col(list_, F_RANK, reinterpret_cast<const void*>(3L), &index, &found), 0);
  EXPECT_EQ(index, -1);
  EXPECT_EQ(found, nullptr);
  dbs_ty_lobj* none = nullptr;
  ASSERT_EQ(utl_col_push(list_, &none, nullptr), 0);  // a null element is skipped
  fill({{"Ann", 3}, {"Bob", 5}, {"Cyd", 5}, {"Ann", 9}});
  const struct {
    long field;
    const void* value;
    long index;
  } rows[] = {{F_RANK, reinterpret_cast<const void*>(5L), 2},
              {F_NAME, "Ann", 1},
              {F_NAME, "Cyd", 3},
              {F_RANK, reinterpret_cast<const void*>(9L), 4},
              {F_RANK, reinterpret_cast<const void*>(4L), -1},
              {F_NAME, "ann", -1}};
  for (const auto& r : rows) {
    ASSERT_EQ(oab_obj_match_field_in_col(list_, r.field, r.value, &index, &found), 0);
    EXPECT_EQ(index, r.index) << r.field;
    EXPECT_EQ(found, r.index < 0 ? nullptr : at(r.index));
  }
  obj_id id{CONTACT | 0x20000, 3, 0};  // bits above the type id do not count
  ASSERT_EQ(oab_obj_match_oid_in_col(list_, &id, &index, &found), 0);
  EXPECT_EQ(index, 3);
  obj_id other{ACCOUNT, 3, 0};
  ASSERT_EQ(oab_obj_match_oid_in_col(list_, &other, &index, nullptr), 0);
  EXPECT_EQ(index, -1);
  EXPECT_NE(oab_obj_match_field_in_col(list_, 99, "x", &index, &found), 0);  // no such field
  cmn_alrt_clear(nullptr);
}

TEST_F(oab_obj_test, SortsAscendingAndExactlyReversed) {
  fill({{"Dee", 2}, {"Ann", 5}, {"Bob", 2}, {"Cyd", 1}, {"Eve", 5}});
  ASSERT_EQ(oab_obj_sort_col_by_field(list_, F_NAME), 0);
  EXPECT_EQ(numbers(), (std::vector<long>{2, 3, 4, 1, 5}));
  const long by_rank_name[] = {F_RANK, F_NAME, -1};
  ASSERT_EQ(oab_obj_sort_col_by_fields(list_, by_rank_name), 0);
  std::vector<long> up = numbers();
  EXPECT_EQ(up, (std::vector<long>{4, 3, 1, 2, 5}));
  ASSERT_EQ(oab_obj_rev_sort_col_by_fields(list_, by_rank_name), 0);
  std::vector<long> down = numbers();
  std::reverse(down.begin(), down.end());
  EXPECT_EQ(down, up);
  ASSERT_EQ(oab_obj_rev_sort_col_by_field(list_, F_NAME), 0);
  EXPECT_EQ(numbers(), (std::vector<long>{5, 1, 4, 3, 2}));
}

TEST_F(oab_obj_test, FieldListsEndAtMinusOneOrSevenEntries) {
  dbs_ty_lobj* a = make(CONTACT, 1, "Same", 1);
  dbs_ty_lobj* b = make(CONTACT, 2, "Same", 2);
  const long eight[] = {F_NAME, F_NAME, F_NAME, F_NAME, F_NAME, F_NAME, F_NAME, F_RANK, -1};
  const long seven_then_rank[] = {F_NAME, F_NAME, F_NAME, F_NAME, F_NAME, F_NAME, F_RANK, -1};
  const long first_ends[] = {-1, F_RANK};
  const struct {
    const long* fields;
    long expected;
  } rows[] = {{eight, 0}, {seven_then_rank, -1}, {first_ends, 0}};
  for (const auto& r : rows) {
    long result = oab_obj_cmp_flds_proc(&a, &b, const_cast<long*>(r.fields));
    EXPECT_EQ(result < 0 ? -1 : (result > 0 ? 1 : 0), r.expected);
  }
  dbs_obj_free_local("t", a);
  dbs_obj_free_local("t", b);
  fill({{"Bob", 2}, {"Ann", 1}});
  ASSERT_EQ(oab_obj_sort_col_by_fields(list_, eight), 0);  // by name only
  EXPECT_EQ(numbers(), (std::vector<long>{2, 1}));
}

TEST_F(oab_obj_test, AFailedComparisonCountsEqualAndIsCleared) {
  fill({{"Bob", 2}, {"Ann", 1}});
  long missing = 99;
  EXPECT_EQ(oab_obj_cmp_fld_proc(list_->array, list_->array + list_->slot_size, &missing), 0);
  ASSERT_EQ(oab_obj_sort_col_by_field(list_, missing), 0);
  long n = -1;
  cmn_alrt_num(nullptr, &n);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(list_->count, 2);
}

TEST_F(oab_obj_test, CopyDataFieldsKeepsTheIdAndChecksTypes) {
  dbs_ty_lobj* from = make(CONTACT, 1, "Ann", 4);
  dbs_ty_lobj* same = make(CONTACT, 2, "Old", 0);
  dbs_ty_lobj* scratch = nullptr;
  ASSERT_EQ(dbs_obj_make(nullptr, SCRATCH, &scratch), 0);
  dbs_ty_lobj* account = make(ACCOUNT, 3, "Acme", 0);
  ASSERT_EQ(oab_obj_copy_data_fields(from, same), 0);
  EXPECT_EQ(name_of(same), "Ann");
  EXPECT_EQ(long_of(same, F_RANK), 4);
  EXPECT_EQ(number_of(same), 2);
  ASSERT_EQ(oab_obj_copy_data_fields(from, scratch), 0);
  EXPECT_EQ(name_of(scratch), "Ann");
  EXPECT_EQ(long_of(scratch, F_RANK), 4);
  EXPECT_EQ(oab_obj_copy_data_fields(from, account), OAB_COPY_TYPES);
  EXPECT_EQ(core_top_alert_text(), std::string("You cannot copy fields from one type (") + cmn_typ_name(CONTACT) +
                                       ") to another (" + cmn_typ_name(ACCOUNT) + ").");
  EXPECT_EQ(name_of(account), "Acme");
  cmn_alrt_clear(nullptr);
  for (dbs_ty_lobj* o : {from, same, scratch, account}) dbs_obj_free_local("t", o);
}

TEST_F(oab_obj_test, FreeEmptiesTheListThroughAStateOrNot) {
  fill({{"Ann", 1}, {"Bob", 2}});
  ASSERT_EQ(oab_obj_free_objs_in_col(nullptr, list_), 0);
  EXPECT_EQ(list_->count, 0);
  ost_ty_state* s = new_state();
  for (int i = 0; i < 2; ++i) {
    dbs_ty_lobj* held = nullptr;
    ASSERT_EQ(ost_obj_create("t", s, CONTACT, &held), 0);
    ASSERT_EQ(utl_col_push(list_, &held, nullptr), 0);
  }
  ASSERT_EQ(oab_obj_free_objs_in_col(s, list_), 0);
  EXPECT_EQ(list_->count, 0);
  ost_state_free(s);
}

TEST_F(oab_obj_test, FilterKeepsOnlyRelatedElements) {
  seed(ACCOUNT, 1, "Acme");
  seed(ACCOUNT, 2, "Other");
  for (long c = 1; c <= 4; ++c) seed(CONTACT, c, "c" + std::to_string(c));
  seed_fk(1, 1);
  seed_fk(2, 2);
  seed_fk(3, 1);
  std::vector<dbs_ty_lobj*> owned;
  for (long c = 1; c <= 4; ++c) {
    owned.push_back(read(CONTACT, c));
    ASSERT_EQ(utl_col_push(list_, &owned.back(), nullptr), 0);
  }
  obj_id acme{ACCOUNT, 1, 0};
  ASSERT_EQ(oab_obj_filter_col_with_oid(list_, CONTACT, CONTACT2ACCOUNT, &acme, 0), 0);
  EXPECT_EQ(numbers(), (std::vector<long>{1, 3}));
  utl_col_reset(list_);  // the removed elements stay the caller's
  for (dbs_ty_lobj* o : owned) dbs_obj_free_local("t", o);
  utl_ty_col* ids = nullptr;
  ASSERT_EQ(utl_col_make("t", CMN_TYP_LONG, 4, 4, 0, 0, &ids), 0);
  for (long c : {4L, 3L, 2L, 1L}) utl_col_push(ids, &c, nullptr);
  obj_id other{ACCOUNT, 2, 0};
  ASSERT_EQ(oab_obj_filter_col_with_oid(ids, CONTACT, CONTACT2ACCOUNT, &other, 1), 0);
  ASSERT_EQ(ids->count, 1);
  EXPECT_EQ(*reinterpret_cast<long*>(ids->array), 2);
  utl_col_free("t", ids);
}

}  // namespace
