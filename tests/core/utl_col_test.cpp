// Collections: making, storing, searching, sorting, copying and freeing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/core_fixture.h"
#include "core/osl/osl_mem.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_mem.h"
#include "core/utl/utl_msg.h"

namespace {

constexpr long kLong = 512;
constexpr long kString = 516;
constexpr long kPair = 649;       // two longs, no compare procedure of its own here
constexpr long kNoCompare = 525;  // fixed size, no compare procedure
constexpr long kZeroSize = 523;   // no size, no length procedure

struct pair_rec {
  long a;
  long b;
};

// The utility layer, with the built-in methods of strings and longs where
// the registry lacks them.
class UtlColEnv : public core_utl_env {
 public:
  void SetUp() override {
    core_utl_env::SetUp();
    core_install_string_methods();
    core_install_long_compare();
  }
};

const auto* const g_env = ::testing::AddGlobalTestEnvironment(new UtlColEnv);

class UtlCol : public core_utl_test {
 protected:
  void release() override {
    utl_col_set_extend_num_override(0);
    utl_col_set_checking(0);
    for (utl_ty_col* c : made_) utl_col_free(nullptr, c);
  }
  utl_ty_col* make(long type, long options = 0, long capacity = 4, long extend = 4) {
    utl_ty_col* c = nullptr;
    EXPECT_EQ(utl_col_make(nullptr, type, capacity, extend, 0, options, &c), 0);
    if (c) made_.push_back(c);
    return c;
  }
  // Frees a collection made here now (it is then no longer freed at the end).
  long free_now(utl_ty_col* c) {
    made_.erase(std::remove(made_.begin(), made_.end(), c), made_.end());
    return utl_col_free(nullptr, c);
  }
  std::vector<long> longs(utl_ty_col* c) {
    std::vector<long> v;
    long n = 0;
    utl_col_num(c, &n);
    for (long i = 0; i < n; ++i) {
      void* e = nullptr;
      EXPECT_EQ(utl_col_ith(c, i, &e), 0);
      v.push_back(*static_cast<long*>(e));
    }
    return v;
  }
  std::vector<std::string> strings(utl_ty_col* c) {
    std::vector<std::string> v;
    long n = 0;
    utl_col_num(c, &n);
    for (long i = 0; i < n; ++i) {
      void* e = nullptr;
      EXPECT_EQ(utl_col_ith(c, i, &e), 0);
      v.push_back(e ? static_cast<const char*>(e) : "<null>");
    }
    return v;
  }
  void push_longs(utl_ty_col* c, std::initializer_list<long> values) {
    for (long v : values) ASSERT_EQ(utl_col_push(c, &v, nullptr), 0);
  }
  std::vector<utl_ty_col*> made_;
};

TEST_F(UtlCol, MakeDefaultsAndRefusals) {
  utl_ty_col* c = nullptr;
  ASSERT_EQ(utl_col_make(nullptr, kLong, 0, 3, 77, 0, &c), 0);
  made_.push_back(c);
  long type, count, cap, ext, slot, flags, word;
  ASSERT_EQ(utl_col_info(c, &type, &count, &cap, &ext, &slot, &flags), 0);
  EXPECT_EQ(type, kLong);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(cap, 5);
  EXPECT_EQ(ext, 3);
  EXPECT_EQ(slot, static_cast<long>(sizeof(long)));
  EXPECT_EQ(flags, UTL_COL_IN_SLOT);
  ASSERT_EQ(utl_col_get_ext(c, &word), 0);
  EXPECT_EQ(word, 77);

  utl_ty_col* none = nullptr;
  EXPECT_EQ(utl_col_make(nullptr, kLong, 4, 0, 0, 0, &none), UTL_BAD_ARG);
  EXPECT_EQ(none, nullptr);

  EXPECT_EQ(utl_col_make(nullptr, kZeroSize, 4, 4, 0, 0, &none), UTL_ZERO_SIZE_TYPE);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(core_top_alert_text(), "Data type 'schema' has zero-sized elements; use cmn_typ_install.\n");

  EXPECT_NE(utl_col_make(nullptr, 99999, 4, 4, 0, 0, &none), 0);
  EXPECT_EQ(none, nullptr);
}

TEST_F(UtlCol, StringsHoldPointersToPoolCopies) {
  utl_ty_col* c = make(kString);
  long slot = 0, flags = 0;
  utl_col_info(c, nullptr, nullptr, nullptr, nullptr, &slot, &flags);
  EXPECT_EQ(slot, static_cast<long>(sizeof(void*)));
  EXPECT_EQ(flags & UTL_COL_IN_SLOT, 0);
  utl_ty_pool* pool = nullptr;
  ASSERT_EQ(utl_col_get_pool(c, &pool), 0);
  ASSERT_NE(pool, nullptr);
  char text[] = "alpha";
  void* stored = nullptr;
  ASSERT_EQ(utl_col_push(c, text, &stored), 0);
  text[0] = 'X';  // the collection keeps its own copy
  EXPECT_STREQ(static_cast<char*>(stored), "alpha");
  long inside = 0;
  ASSERT_EQ(utl_pl_contains(pool, stored, 6, &inside), 0);
  EXPECT_EQ(inside, 1);
  EXPECT_EQ(utl_col_push(c, nullptr, nullptr), UTL_BAD_ELEM_SIZE);
}

TEST_F(UtlCol, ExtendOverrideAppliesAndNegativeIsRefused) {
  ASSERT_EQ(utl_col_set_extend_num_override(3), 0);
  utl_ty_col* c = make(kLong, 0, 2, 50);
  long ext = 0;
  utl_col_info(c, nullptr, nullptr, nullptr, &ext, nullptr, nullptr);
  EXPECT_EQ(ext, 3);
  testing::internal::CaptureStdout();
  utl_col_set_extend_num_override(-4);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out, "--Error in utl_col_set_extend_num_override.  override = -4\n");
  utl_ty_col* d = make(kLong, 0, 2, 50);
  utl_col_info(d, nullptr, nullptr, nullptr, &ext, nullptr, nullptr);
  EXPECT_EQ(ext, 3);
}

TEST_F(UtlCol, IthAndLastBounds) {
  utl_ty_col* c = make(kLong);
  long idx = 7;
  void* e = &idx;
  ASSERT_EQ(utl_col_last(c, &idx, &e), 0);
  EXPECT_EQ(idx, -1);
  EXPECT_EQ(e, nullptr);
  push_longs(c, {10, 20, 30});
  EXPECT_EQ(utl_col_ith(c, 3, &e), UTL_BAD_INDEX);
  EXPECT_EQ(core_top_alert_text(), "The given index 3 is out of range for the list (it has 3 elements).\n");
  EXPECT_EQ(utl_col_ith(c, -1, &e), UTL_BAD_INDEX);
  ASSERT_EQ(utl_col_last(c, &idx, &e), 0);
  EXPECT_EQ(idx, 2);
  EXPECT_EQ(*static_cast<long*>(e), 30);
}

TEST_F(UtlCol, StoringPastTheEndZeroesTheGap) {
  utl_ty_col* c = make(kLong, 0, 2, 2);
  long v = 99;
  void* stored = nullptr;
  ASSERT_EQ(utl_col_insert_at(c, &v, 10, &stored), 0);
  EXPECT_EQ(longs(c), (std::vector<long>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 99}));
  long cap = 0;
  utl_col_info(c, nullptr, nullptr, &cap, nullptr, nullptr, nullptr);
  EXPECT_EQ(cap, 11);
  EXPECT_EQ(*static_cast<long*>(stored), 99);
  // a null element stores zeros
  ASSERT_EQ(utl_col_insert_at(c, nullptr, 0, nullptr), 0);
  ASSERT_EQ(utl_col_insert_at(c, &v, 1, nullptr), 0);
  EXPECT_EQ(longs(c)[0], 0);
  EXPECT_EQ(longs(c)[1], 99);
}

TEST_F(UtlCol, StringGapsAreNullAndSearchesPassThem) {
  utl_ty_col* c = make(kString, UTL_COL_OPT_KEEP_SORTED);
  ASSERT_EQ(utl_col_insert_at(c, "m", 3, nullptr), 0);
  EXPECT_EQ(strings(c), (std::vector<std::string>{"<null>", "<null>", "<null>", "m"}));
  long idx = 0;
  ASSERT_EQ(utl_col_find(c, "m", &idx), 0);
  EXPECT_EQ(idx, 3);
  ASSERT_EQ(utl_col_insert(c, "a", nullptr), 0);
  EXPECT_EQ(strings(c), (std::vector<std::string>{"<null>", "<null>", "<null>", "a", "m"}));
}

TEST_F(UtlCol, InsertingAnElementOfTheSameCollectionWhileItGrows) {
  utl_ty_col* c = make(kLong, 0, 1, 1);
  push_longs(c, {5});
  void* e = nullptr;
  for (int i = 0; i < 6; ++i) {
    ASSERT_EQ(utl_col_ith(c, 0, &e), 0);
    ASSERT_EQ(utl_col_push(c, e, nullptr), 0);  // the array moves while e points into it
  }
  EXPECT_EQ(longs(c), std::vector<long>(7, 5));

  // opening a slot before the element moves it up by one slot (and the full
  // array moves too): the element inserted is still the one given
  utl_ty_col* d = make(kLong, 0, 3, 1);
  push_longs(d, {1, 2, 3});
  ASSERT_EQ(utl_col_ith(d, 2, &e), 0);
  ASSERT_EQ(utl_col_insert_expand(d, e, 0, nullptr), 0);
  EXPECT_EQ(longs(d), (std::vector<long>{3, 1, 2, 3}));
  ASSERT_EQ(utl_col_ith(d, 3, &e), 0);
  ASSERT_EQ(utl_col_insert_expand(d, e, 3, nullptr), 0);
  EXPECT_EQ(longs(d), (std::vector<long>{3, 1, 2, 3, 3}));
  ASSERT_EQ(utl_col_ith(d, 1, &e), 0);
  ASSERT_EQ(utl_col_insert_at(d, e, 1, nullptr), 0);  // an element stored onto itself
  EXPECT_EQ(longs(d), (std::vector<long>{3, 1, 2, 3, 3}));
}

struct dup_case {
  long options;
  long status;
  long count_after;
};

class UtlColDup : public UtlCol, public ::testing::WithParamInterface<dup_case> {};

TEST_P(UtlColDup, SecondEqualElement) {
  const dup_case& p = GetParam();
  utl_ty_col* c = make(kLong, p.options);
  long v = 4, w = 4;
  ASSERT_EQ(utl_col_insert(c, &v, nullptr), 0);
  long idx = -5;
  void* stored = nullptr;
  EXPECT_EQ(utl_col_insert_ret_index(c, &w, &stored, &idx), p.status);
  long n = 0;
  utl_col_num(c, &n);
  EXPECT_EQ(n, p.count_after);
  if (p.status == UTL_DUPLICATE) {
    EXPECT_EQ(core_top_alert_text(), "Cannot add a duplicate entry to this collection.\n");
  }
  if (p.status == 0) {
    EXPECT_GE(idx, 0);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(*static_cast<long*>(stored), 4);
  }
}

INSTANTIATE_TEST_SUITE_P(Options, UtlColDup,
                         ::testing::Values(dup_case{0, 0, 2},
                                           dup_case{UTL_COL_OPT_NO_DUPLS, UTL_DUPLICATE, 1},
                                           dup_case{UTL_COL_OPT_NO_DUPLS | UTL_COL_OPT_DROP_DUPLS, 0, 1},
                                           dup_case{UTL_COL_OPT_NO_DUPLS | UTL_COL_OPT_KEEP_SORTED,
                                                    UTL_DUPLICATE, 1},
                                           dup_case{UTL_COL_OPT_KEEP_SORTED, 0, 2}));

TEST_F(UtlCol, SetDuplsTogglesTheRefusal) {
  utl_ty_col* c = make(kLong);
  EXPECT_EQ(utl_col_allows_dupls(c), 1);
  utl_col_set_dupls(c, 0);
  EXPECT_EQ(utl_col_allows_dupls(c), 0);
  long v = 1;
  ASSERT_EQ(utl_col_insert(c, &v, nullptr), 0);
  EXPECT_EQ(utl_col_insert(c, &v, nullptr), UTL_DUPLICATE);
  utl_col_set_dupls(c, 1);
  EXPECT_EQ(utl_col_insert(c, &v, nullptr), 0);
}

TEST_F(UtlCol, KeepSortedStaysInOrderAndReportsWhereTheElementIs) {
  const std::vector<long> seq = {5, 3, 9, 3, 1, 7, 5, 5, 0, 12, -4, 9};
  for (long options : {UTL_COL_OPT_KEEP_SORTED, UTL_COL_OPT_KEEP_SORTED | UTL_COL_OPT_NO_DUPLS |
                                                    UTL_COL_OPT_DROP_DUPLS}) {
    utl_ty_col* c = make(kLong, options, 2, 2);
    std::vector<long> expect;
    for (long v : seq) {
      long idx = -1;
      void* stored = nullptr;
      ASSERT_EQ(utl_col_insert_ret_index(c, &v, &stored, &idx), 0);
      if (!(options & UTL_COL_OPT_NO_DUPLS) ||
          std::find(expect.begin(), expect.end(), v) == expect.end())
        expect.push_back(v);
      std::sort(expect.begin(), expect.end());
      EXPECT_EQ(longs(c), expect) << "after inserting " << v;
      ASSERT_NE(stored, nullptr);
      EXPECT_EQ(*static_cast<long*>(stored), v);
      EXPECT_EQ(longs(c)[idx], v);
      EXPECT_EQ(utl_col_is_sorted(c), 1);
    }
  }
}

TEST_F(UtlCol, KeepSortedStringsAfterAnUnsortedStart) {
  utl_ty_col* c = make(kString);
  for (const char* s : {"pear", "apple", "fig"}) ASSERT_EQ(utl_col_push(c, s, nullptr), 0);
  ASSERT_EQ(utl_col_set_sorted(c, 1), 0);
  EXPECT_EQ(strings(c), (std::vector<std::string>{"apple", "fig", "pear"}));
  ASSERT_EQ(utl_col_push(c, "banana", nullptr), 0);  // a push does not keep the order
  EXPECT_EQ(utl_col_is_sorted(c), 0);
  long idx = -1;
  void* stored = nullptr;
  ASSERT_EQ(utl_col_insert_ret_index(c, "cherry", &stored, &idx), 0);
  EXPECT_EQ(strings(c), (std::vector<std::string>{"apple", "banana", "cherry", "fig", "pear"}));
  EXPECT_EQ(idx, 2);
  EXPECT_STREQ(static_cast<char*>(stored), "cherry");
  utl_col_set_sorted(c, 0);
  ASSERT_EQ(utl_col_insert(c, "aaa", nullptr), 0);
  EXPECT_EQ(strings(c).back(), "aaa");
}

TEST_F(UtlCol, NoDuplicatesSortedCollectionInsertsAtTheReportedSpot) {
  utl_ty_col* c = make(kLong, UTL_COL_OPT_NO_DUPLS);
  push_longs(c, {2, 4, 6});
  ASSERT_EQ(utl_col_sort(c, nullptr, nullptr), 0);
  long idx = -1, spot = -1;
  void* e = nullptr;
  long key = 5;
  ASSERT_EQ(utl_col_find_spot(c, &key, &idx, &e, &spot), 0);
  EXPECT_EQ(idx, -1);
  EXPECT_EQ(e, nullptr);
  EXPECT_EQ(spot, 2);
  ASSERT_EQ(utl_col_insert_ret_index(c, &key, nullptr, &idx), 0);
  EXPECT_EQ(idx, 2);
  EXPECT_EQ(longs(c), (std::vector<long>{2, 4, 5, 6}));
  key = 9;
  ASSERT_EQ(utl_col_insert_ret_index(c, &key, nullptr, &idx), 0);
  EXPECT_EQ(idx, 4);
}

struct bs_case {
  std::vector<long> values;
  long key;
  bool found;
};

class UtlColBsearch : public UtlCol, public ::testing::WithParamInterface<bs_case> {};

TEST_P(UtlColBsearch, FindsAnEqualElementOrReportsAbsence) {
  const bs_case& p = GetParam();
  utl_ty_col* c = make(kLong);
  for (long v : p.values) ASSERT_EQ(utl_col_push(c, &v, nullptr), 0);
  long idx = 99;
  void* e = &idx;
  ASSERT_EQ(utl_col_bsearch(c, &p.key, &idx, &e), 0);
  std::vector<long> sorted = p.values;
  std::sort(sorted.begin(), sorted.end());
  if (!p.values.empty()) {
    EXPECT_EQ(longs(c), sorted);  // an unsorted collection is sorted first
    EXPECT_EQ(utl_col_is_sorted(c), 1);
  }
  if (p.found) {
    ASSERT_GE(idx, 0);
    EXPECT_EQ(*static_cast<long*>(e), p.key);
    EXPECT_EQ(sorted[idx], p.key);
  } else {
    EXPECT_EQ(idx, -1);
    EXPECT_EQ(e, nullptr);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, UtlColBsearch,
    ::testing::Values(bs_case{{}, 3, false}, bs_case{{3}, 3, true}, bs_case{{3}, 4, false},
                      bs_case{{9, 1, 5, 3, 7}, 1, true}, bs_case{{9, 1, 5, 3, 7}, 9, true},
                      bs_case{{9, 1, 5, 3, 7}, 5, true}, bs_case{{9, 1, 5, 3, 7}, 4, false},
                      bs_case{{9, 1, 5, 3, 7}, 10, false}, bs_case{{9, 1, 5, 3, 7}, 0, false},
                      bs_case{{2, 2, 2, 2}, 2, true}, bs_case{{4, 1, 4, 1, 4, 1}, 1, true},
                      bs_case{{4, 1, 4, 1, 4, 1}, 4, true}, bs_case{{4, 1, 4, 1, 4, 1}, 2, false}));

TEST_F(UtlCol, BsearchOfStrings) {
  utl_ty_col* c = make(kString);
  for (const char* s : {"delta", "alpha", "charlie", "bravo", "alpha"}) ASSERT_EQ(utl_col_push(c, s, nullptr), 0);
  long idx = -1;
  void* e = nullptr;
  ASSERT_EQ(utl_col_bsearch(c, "charlie", &idx, &e), 0);
  EXPECT_EQ(idx, 3);
  EXPECT_STREQ(static_cast<char*>(e), "charlie");
  ASSERT_EQ(utl_col_bsearch(c, "echo", &idx, &e), 0);
  EXPECT_EQ(idx, -1);
  ASSERT_EQ(utl_col_bsearch(c, "alpha", &idx, &e), 0);
  EXPECT_TRUE(idx == 0 || idx == 1);
}

long by_b_then_a(const void* x, const void* y, void* arg) {
  const auto* p = static_cast<const pair_rec*>(x);
  const auto* q = static_cast<const pair_rec*>(y);
  ++*static_cast<long*>(arg);
  if (p->b != q->b) return p->b < q->b ? -1 : 1;
  return p->a < q->a ? -1 : (p->a > q->a ? 1 : 0);
}

TEST_F(UtlCol, SortWithAProcedureAndItsArgument) {
  utl_ty_col* c = make(kPair);
  for (pair_rec r : {pair_rec{1, 30}, pair_rec{2, 10}, pair_rec{3, 20}, pair_rec{0, 10}})
    ASSERT_EQ(utl_col_push(c, &r, nullptr), 0);
  long calls = 0;
  ASSERT_EQ(utl_col_sort(c, by_b_then_a, &calls), 0);
  EXPECT_GT(calls, 0);
  std::vector<long> as;
  for (long i = 0; i < 4; ++i) {
    void* e = nullptr;
    utl_col_ith(c, i, &e);
    as.push_back(static_cast<pair_rec*>(e)->a);
  }
  EXPECT_EQ(as, (std::vector<long>{0, 2, 3, 1}));
  ASSERT_EQ(utl_col_sort_inverse(c, by_b_then_a, &calls), 0);
  as.clear();
  for (long i = 0; i < 4; ++i) {
    void* e = nullptr;
    utl_col_ith(c, i, &e);
    as.push_back(static_cast<pair_rec*>(e)->a);
  }
  EXPECT_EQ(as, (std::vector<long>{1, 3, 2, 0}));
  EXPECT_EQ(utl_col_is_sorted(c), 1);
}

TEST_F(UtlCol, SortByTypeAndInverse) {
  utl_ty_col* c = make(kString);
  for (const char* s : {"b", "c", "a", "b"}) ASSERT_EQ(utl_col_push(c, s, nullptr), 0);
  ASSERT_EQ(utl_col_sort(c, nullptr, nullptr), 0);
  EXPECT_EQ(strings(c), (std::vector<std::string>{"a", "b", "b", "c"}));
  ASSERT_EQ(utl_col_sort_inverse(c, nullptr, nullptr), 0);
  EXPECT_EQ(strings(c), (std::vector<std::string>{"c", "b", "b", "a"}));
}

TEST_F(UtlCol, SortWithoutACompareProcedure) {
  utl_ty_col* c = make(kNoCompare);
  short s1 = 2, s2 = 1;
  ASSERT_EQ(utl_col_push(c, &s1, nullptr), 0);
  EXPECT_EQ(utl_col_sort(c, nullptr, nullptr), 0);  // one element: only marked sorted
  EXPECT_EQ(utl_col_is_sorted(c), 1);
  ASSERT_EQ(utl_col_push(c, &s2, nullptr), 0);
  EXPECT_EQ(utl_col_sort(c, nullptr, nullptr), UTL_NO_COMPARE);
  EXPECT_EQ(core_top_alert_text(), "You must supply a comparison routine for data type 'field schema'.\n");
  EXPECT_EQ(utl_col_is_sorted(c), 0);
}

// The outer sort's compare procedure sorts another collection each time it is
// called; the outer sort must still use its own procedure and direction.
struct nested_arg {
  utl_ty_col* inner;
  long inner_sorts;
};

long inner_desc(const void* x, const void* y, void*) {
  long a = *static_cast<const long*>(x), b = *static_cast<const long*>(y);
  return a > b ? -1 : (a < b ? 1 : 0);
}

long outer_asc(const void* x, const void* y, void* arg) {
  auto* n = static_cast<nested_arg*>(arg);
  if (utl_col_sort(n->inner, inner_desc, nullptr) == 0) ++n->inner_sorts;
  long a = *static_cast<const long*>(x), b = *static_cast<const long*>(y);
  return a < b ? -1 : (a > b ? 1 : 0);
}

TEST_F(UtlCol, NestedSortKeepsEachSortsProcedure) {
  utl_ty_col* outer = make(kLong);
  utl_ty_col* inner = make(kLong);
  push_longs(outer, {8, 3, 9, 1, 4, 7, 2, 6, 5, 0});
  push_longs(inner, {1, 5, 2, 4, 3});
  nested_arg arg{inner, 0};
  ASSERT_EQ(utl_col_sort(outer, outer_asc, &arg), 0);
  EXPECT_GT(arg.inner_sorts, 0);
  EXPECT_EQ(longs(outer), (std::vector<long>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_EQ(longs(inner), (std::vector<long>{5, 4, 3, 2, 1}));
  // and an inverse outer sort around an ascending inner one
  ASSERT_EQ(utl_col_sort_inverse(outer, outer_asc, &arg), 0);
  EXPECT_EQ(longs(outer), (std::vector<long>{9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
}

long cmp_abs(const void* key, const void* e, void*) {
  long a = std::labs(*static_cast<const long*>(key)), b = std::labs(*static_cast<const long*>(e));
  return a < b ? -1 : (a > b ? 1 : 0);
}

TEST_F(UtlCol, LinearFindsWithTypeOrGivenProcedure) {
  utl_ty_col* c = make(kLong);
  push_longs(c, {4, -7, 9, 7});
  long key = 7, idx = 0;
  void* e = nullptr;
  ASSERT_EQ(utl_col_find_it(c, &key, &idx, &e), 0);
  EXPECT_EQ(idx, 3);
  ASSERT_EQ(utl_col_custom_find_it(c, &key, cmp_abs, &idx, &e), 0);
  EXPECT_EQ(idx, 1);
  EXPECT_EQ(*static_cast<long*>(e), -7);
  key = 5;
  ASSERT_EQ(utl_col_find(c, &key, &idx), 0);
  EXPECT_EQ(idx, -1);
}

struct rm_case {
  const char* name;
  bool by_element;
  long key_or_index;
  long status;
  std::vector<long> after;
};

class UtlColRemove : public UtlCol, public ::testing::WithParamInterface<rm_case> {};

TEST_P(UtlColRemove, Table) {
  const rm_case& p = GetParam();
  utl_ty_col* c = make(kLong);
  push_longs(c, {1, 2, 3, 4});
  long key = p.key_or_index;
  long st = p.by_element ? utl_col_remove(c, &key, -1) : utl_col_remove(c, nullptr, p.key_or_index);
  EXPECT_EQ(st, p.status);
  EXPECT_EQ(longs(c), p.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UtlColRemove,
    ::testing::Values(rm_case{"first", false, 0, 0, {2, 3, 4}}, rm_case{"middle", false, 2, 0, {1, 2, 4}},
                      rm_case{"last", false, 3, 0, {1, 2, 3}},
                      rm_case{"past_end", false, 4, UTL_BAD_ARG, {1, 2, 3, 4}},
                      rm_case{"negative", false, -2, UTL_BAD_ARG, {1, 2, 3, 4}},
                      rm_case{"by_value", true, 3, 0, {1, 2, 4}},
                      rm_case{"absent", true, 8, UTL_NO_ELEM_REMOVE, {1, 2, 3, 4}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UtlCol, RemoveNeedsAnElementOrAnIndex) {
  utl_ty_col* c = make(kLong);
  push_longs(c, {1});
  EXPECT_EQ(utl_col_remove(c, nullptr, -1), UTL_REMOVE_NULL);
  EXPECT_EQ(core_top_alert_text(), "Cannot use utl_col_remove with both element supplied as NULL and index as -1.\n");
  long key = 5;
  EXPECT_EQ(utl_col_remove(c, &key, -1), UTL_NO_ELEM_REMOVE);
}

TEST_F(UtlCol, ExpandPopSwap) {
  utl_ty_col* c = make(kLong, 0, 2, 1);
  push_longs(c, {1, 2, 3});
  long v = 9;
  ASSERT_EQ(utl_col_insert_expand(c, &v, 1, nullptr), 0);
  EXPECT_EQ(longs(c), (std::vector<long>{1, 9, 2, 3}));
  v = 8;
  ASSERT_EQ(utl_col_insert_obj(c, &v, 0), 0);
  EXPECT_EQ(longs(c), (std::vector<long>{8, 1, 9, 2, 3}));
  ASSERT_EQ(utl_col_swap(c, 0, 4), 0);
  EXPECT_EQ(longs(c), (std::vector<long>{3, 1, 9, 2, 8}));
  EXPECT_EQ(utl_col_swap(c, 0, 5), UTL_BAD_ARG);
  ASSERT_EQ(utl_col_pop(c), 0);
  EXPECT_EQ(longs(c), (std::vector<long>{3, 1, 9, 2}));
  utl_col_reset(c);
  EXPECT_EQ(utl_col_pop(c), 0);
  EXPECT_TRUE(longs(c).empty());
}

TEST_F(UtlCol, SortedFlagReadAndMarked) {
  utl_ty_col* c = make(kLong);
  EXPECT_EQ(utl_col_is_sorted(c), 0);
  utl_col_mark_unsorted(c, 0);
  EXPECT_EQ(utl_col_is_sorted(c), 1);
  utl_col_mark_unsorted(c, 1);
  EXPECT_EQ(utl_col_is_sorted(c), 0);
}

TEST_F(UtlCol, AppendKeepsEveryElement) {
  utl_ty_col* a = make(kLong);
  utl_ty_col* b = make(kLong, 0, 2, 1);
  push_longs(a, {1, 2, 3});
  push_longs(b, {7, 8});
  ASSERT_EQ(utl_col_append(a, b), 0);
  EXPECT_EQ(longs(b), (std::vector<long>{7, 8, 1, 2, 3}));
  EXPECT_EQ(longs(a), (std::vector<long>{1, 2, 3}));
  ASSERT_EQ(utl_col_append(b, b), 0);
  EXPECT_EQ(longs(b), (std::vector<long>{7, 8, 1, 2, 3, 7, 8, 1, 2, 3}));

  utl_ty_col* s = make(kString);
  utl_ty_col* t = make(kString);
  ASSERT_EQ(utl_col_push(s, "x", nullptr), 0);
  ASSERT_EQ(utl_col_push(s, "y", nullptr), 0);
  ASSERT_EQ(utl_col_push(t, "w", nullptr), 0);
  ASSERT_EQ(utl_col_append(s, t), 0);
  EXPECT_EQ(strings(t), (std::vector<std::string>{"w", "x", "y"}));
  EXPECT_EQ(utl_col_append(s, a), UTL_BAD_ELEM_TYPE);
}

TEST_F(UtlCol, ReferenceCopyOfPointerSlotsBlocksFreeingItsSource) {
  utl_ty_col* src = make(kString);
  ASSERT_EQ(utl_col_push(src, "one", nullptr), 0);
  ASSERT_EQ(utl_col_push(src, "two", nullptr), 0);
  utl_ty_col* ref = nullptr;
  ASSERT_EQ(utl_col_copy_ref(nullptr, src, &ref), 0);
  made_.push_back(ref);
  long flags = 0;
  utl_col_info(src, nullptr, nullptr, nullptr, nullptr, nullptr, &flags);
  EXPECT_TRUE(flags & UTL_COL_HAS_REF);
  utl_col_info(ref, nullptr, nullptr, nullptr, nullptr, nullptr, &flags);
  EXPECT_TRUE(flags & UTL_COL_REF_COPY);
  EXPECT_FALSE(flags & UTL_COL_HAS_REF);
  EXPECT_EQ(strings(ref), (std::vector<std::string>{"one", "two"}));
  void* e0 = nullptr;
  void* r0 = nullptr;
  utl_col_ith(src, 0, &e0);
  utl_col_ith(ref, 0, &r0);
  EXPECT_EQ(e0, r0);  // shared elements

  // read-only
  void* p = nullptr;
  EXPECT_EQ(utl_col_push(ref, "x", nullptr), UTL_REF_READONLY);
  EXPECT_EQ(utl_col_pop(ref), UTL_REF_READONLY);
  EXPECT_EQ(utl_col_remove(ref, nullptr, 0), UTL_REF_READONLY);
  EXPECT_EQ(utl_col_alloc(ref, 4, nullptr, &p), UTL_REF_READONLY);
  EXPECT_EQ(core_top_alert_text().rfind("A reference collection (", 0), 0u);
  // a reference copy of a reference copy is refused
  utl_ty_col* refref = nullptr;
  EXPECT_EQ(utl_col_copy_ref(nullptr, ref, &refref), UTL_COPY_OF_REF);
  EXPECT_EQ(refref, nullptr);

  EXPECT_EQ(utl_col_reset(src), UTL_RESET_HAS_REF);
  EXPECT_EQ(free_now(src), UTL_FREE_HAS_REF);
  made_.push_back(src);
  EXPECT_EQ(strings(src), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(free_now(ref), 0);
  EXPECT_EQ(free_now(src), 0);  // freed once, after its copy
}

TEST_F(UtlCol, TwoReferenceCopiesMustBothGoBeforeTheSource) {
  utl_ty_col* src = make(kString);
  ASSERT_EQ(utl_col_push(src, "a", nullptr), 0);
  utl_ty_col* r1 = nullptr;
  utl_ty_col* r2 = nullptr;
  ASSERT_EQ(utl_col_copy_ref(nullptr, src, &r1), 0);
  ASSERT_EQ(utl_col_copy_ref(nullptr, src, &r2), 0);
  made_.push_back(r2);
  EXPECT_EQ(free_now(r1), 0);
  EXPECT_EQ(free_now(src), UTL_FREE_HAS_REF);
  EXPECT_EQ(strings(r2), (std::vector<std::string>{"a"}));
  made_.push_back(src);
  // resetting the second copy makes it independent and writable
  ASSERT_EQ(utl_col_reset(r2), 0);
  ASSERT_EQ(utl_col_push(r2, "b", nullptr), 0);
  EXPECT_EQ(free_now(src), 0);
  EXPECT_EQ(strings(r2), (std::vector<std::string>{"b"}));
}

TEST_F(UtlCol, ReferenceCopyOfElementsInSlotsIsIndependentOfItsSource) {
  utl_ty_col* src = make(kLong, UTL_COL_OPT_NO_DUPLS);
  push_longs(src, {3, 1, 2});
  utl_ty_col* ref = make(kLong);
  push_longs(ref, {42});
  ASSERT_EQ(utl_col_copy_ref(nullptr, src, &ref), 0);  // the held collection is reused
  EXPECT_EQ(longs(ref), (std::vector<long>{3, 1, 2}));
  long flags = 0;
  utl_col_info(src, nullptr, nullptr, nullptr, nullptr, nullptr, &flags);
  EXPECT_FALSE(flags & UTL_COL_HAS_REF);
  utl_col_info(ref, nullptr, nullptr, nullptr, nullptr, nullptr, &flags);
  EXPECT_EQ(flags, UTL_COL_IN_SLOT | UTL_COL_NO_DUPLS | UTL_COL_REF_COPY);
  EXPECT_EQ(free_now(src), 0);
  EXPECT_EQ(longs(ref), (std::vector<long>{3, 1, 2}));
  utl_ty_col* other = make(kString);
  EXPECT_EQ(utl_col_copy_ref(nullptr, other, &ref), UTL_BAD_ELEM_TYPE);
}

TEST_F(UtlCol, IndependentCopies) {
  utl_ty_col* src = make(kString, UTL_COL_OPT_KEEP_SORTED);
  for (const char* s : {"k", "b", "x"}) ASSERT_EQ(utl_col_insert(src, s, nullptr), 0);
  utl_ty_col* copy = nullptr;
  ASSERT_EQ(utl_col_copy(nullptr, src, &copy), 0);
  made_.push_back(copy);
  void* a = nullptr;
  void* b = nullptr;
  utl_col_ith(src, 0, &a);
  utl_col_ith(copy, 0, &b);
  EXPECT_NE(a, b);
  long flags = 0;
  utl_col_info(copy, nullptr, nullptr, nullptr, nullptr, nullptr, &flags);
  EXPECT_EQ(flags & (UTL_COL_SORTED | UTL_COL_KEEP_SORTED), UTL_COL_SORTED | UTL_COL_KEEP_SORTED);
  EXPECT_EQ(free_now(src), 0);  // no reference: the copy owns its own elements
  EXPECT_EQ(strings(copy), (std::vector<std::string>{"b", "k", "x"}));
  ASSERT_EQ(utl_col_insert(copy, "c", nullptr), 0);
  EXPECT_EQ(strings(copy), (std::vector<std::string>{"b", "c", "k", "x"}));

  utl_ty_col* longs_src = make(kLong, UTL_COL_OPT_POOL | UTL_COL_OPT_NO_DUPLS | UTL_COL_OPT_DROP_DUPLS);
  push_longs(longs_src, {5, 6});
  utl_ty_col* ref = nullptr;
  ASSERT_EQ(utl_col_copy_ref(nullptr, longs_src, &ref), 0);
  made_.push_back(ref);
  utl_ty_col* lcopy = nullptr;
  ASSERT_EQ(utl_col_copy(nullptr, ref, &lcopy), 0);  // a reference copy copies too
  made_.push_back(lcopy);
  EXPECT_EQ(longs(lcopy), (std::vector<long>{5, 6}));
  utl_col_info(lcopy, nullptr, nullptr, nullptr, nullptr, nullptr, &flags);
  EXPECT_EQ(flags, UTL_COL_IN_SLOT | UTL_COL_NO_DUPLS | UTL_COL_DROP_DUPLS);
  long five = 5;
  ASSERT_EQ(utl_col_insert(lcopy, &five, nullptr), 0);  // dropped silently
  EXPECT_EQ(longs(lcopy), (std::vector<long>{5, 6}));
  push_longs(lcopy, {7});
  EXPECT_EQ(longs(longs_src), (std::vector<long>{5, 6}));
  utl_ty_pool* pool = nullptr;
  utl_col_get_pool(lcopy, &pool);
  EXPECT_NE(pool, nullptr);
}

TEST_F(UtlCol, ReferenceCountDelaysTheFree) {
  utl_ty_col* c = make(kLong);
  ASSERT_EQ(utl_col_add_ref(c), 0);
  long refs = 0;
  utl_col_get_ref(c, &refs);
  EXPECT_EQ(refs, 2);
  utl_col_set_ref(c, 0);  // ignored
  utl_col_get_ref(c, &refs);
  EXPECT_EQ(refs, 2);
  ASSERT_EQ(free_now(c), 0);
  made_.push_back(c);
  EXPECT_EQ(utl_col_check(c), 0);  // still alive
  EXPECT_EQ(utl_col_free(nullptr, nullptr), 0);
}

TEST_F(UtlCol, CheckRecognisesInvalidHandles) {
  EXPECT_EQ(utl_col_check(nullptr), UTL_BAD_LIST);
  EXPECT_EQ(core_top_alert_text(), "An invalid list was detected (at 0).\n");
  utl_col_set_checking(1);
  utl_ty_col* c = make(kLong);
  EXPECT_EQ(utl_col_check(c), 0);
  EXPECT_EQ(utl_col_check_all(), 0);
  ASSERT_EQ(free_now(c), 0);
  long n = 0;
  EXPECT_EQ(utl_col_num(c, &n), UTL_BAD_LIST);  // a freed handle, never read
  utl_ty_col fake{};
  EXPECT_EQ(utl_col_check(&fake), UTL_BAD_LIST);
}

long sum_until(utl_ty_col*, void* e, long index, long type, void* arg, long* stop) {
  EXPECT_EQ(type, kLong);
  auto* acc = static_cast<long*>(arg);
  long v = *static_cast<long*>(e);
  if (v < 0) return 5000 + index;
  *acc += v;
  if (*acc >= 6) *stop = 1;
  return 0;
}

long take_odd(utl_ty_col*, void* e, long, long, void*, long* take) {
  *take = (*static_cast<long*>(e) % 2) ? 1 : 0;
  return 0;
}

TEST_F(UtlCol, ApplyStopsOnRequestOrResult) {
  utl_ty_col* c = make(kLong);
  push_longs(c, {1, 2, 3, 4, 5});
  long acc = 0;
  EXPECT_EQ(utl_col_apply(c, sum_until, &acc), 0);
  EXPECT_EQ(acc, 6);
  utl_ty_col* d = make(kLong);
  push_longs(d, {1, -1, 100});
  acc = 0;
  EXPECT_EQ(utl_col_apply(d, sum_until, &acc), 5001);
  EXPECT_EQ(acc, 1);
}

TEST_F(UtlCol, SelectMakesOrFillsTheResult) {
  utl_ty_col* c = make(kLong);
  push_longs(c, {1, 2, 3, 4, 5});
  utl_ty_col* r = nullptr;
  ASSERT_EQ(utl_col_select(c, &r, take_odd, nullptr), 0);
  made_.push_back(r);
  EXPECT_EQ(longs(r), (std::vector<long>{1, 3, 5}));
  ASSERT_EQ(utl_col_select(c, &r, take_odd, nullptr), 0);
  EXPECT_EQ(longs(r), (std::vector<long>{1, 3, 5, 1, 3, 5}));
  utl_ty_col* other = make(kPair);
  EXPECT_EQ(utl_col_select(c, &other, take_odd, nullptr), UTL_BAD_ELEM_TYPE);
}

TEST_F(UtlCol, FillAndReserveSlots) {
  utl_ty_col* c = make(kLong, 0, 2, 2);
  const long data[3] = {7, 8, 9};
  ASSERT_EQ(utl_col_fill(c, 3, 1, data), 0);
  EXPECT_EQ(longs(c), (std::vector<long>{0, 7, 8, 9}));
  ASSERT_EQ(utl_col_fill(c, 1, 0, data), 0);
  EXPECT_EQ(longs(c), (std::vector<long>{7, 7, 8, 9}));
  void* slot = nullptr;
  ASSERT_EQ(utl_col_reserve(c, 3, 3, &slot), 0);
  static_cast<long*>(slot)[2] = 11;
  EXPECT_EQ(longs(c), (std::vector<long>{7, 7, 8, 9, 0, 11}));
  utl_ty_col* s = make(kString);
  EXPECT_EQ(utl_col_fill(s, 1, 0, data), 1);
  ASSERT_EQ(utl_col_reserve(s, 2, 0, &slot), 0);
  long n = 0;
  utl_col_num(s, &n);
  EXPECT_EQ(n, 2);
}

// Requests whose sizes or positions lie near the largest long: each is refused
// with the too-large alert before any size is computed, and the collection is
// left exactly as it was.
struct huge_case {
  const char* what;
  long type;
  std::function<long(utl_ty_col*)> call;
};

class UtlColHuge : public UtlCol, public ::testing::WithParamInterface<huge_case> {};

TEST_P(UtlColHuge, RefusedAndTheCollectionKept) {
  const huge_case& h = GetParam();
  utl_ty_col* c = make(h.type, 0, 4, 4);
  if (h.type == kLong) push_longs(c, {5, 6});
  else {
    ASSERT_EQ(utl_col_push(c, "five", nullptr), 0);
    ASSERT_EQ(utl_col_push(c, "six", nullptr), 0);
  }
  long type = 0, count = 0, capacity = 0, extend = 0, slot = 0, flags = 0;
  ASSERT_EQ(utl_col_info(c, &type, &count, &capacity, &extend, &slot, &flags), 0);
  void* array = nullptr;
  utl_col_get_array(c, &array, nullptr);
  cmn_alrt_clear(nullptr);

  EXPECT_EQ(h.call(c), UTL_TOO_LARGE) << h.what;
  EXPECT_EQ(core_num_alerts(), 1) << h.what;
  EXPECT_EQ(core_top_alert_text().rfind("The number of bytes of memory requested (", 0), 0u) << h.what;

  long count2 = 0, capacity2 = 0, flags2 = 0;
  ASSERT_EQ(utl_col_info(c, nullptr, &count2, &capacity2, nullptr, nullptr, &flags2), 0);
  EXPECT_EQ(count2, count) << h.what;
  EXPECT_EQ(capacity2, capacity) << h.what;
  EXPECT_EQ(flags2, flags) << h.what;
  void* array2 = nullptr;
  utl_col_get_array(c, &array2, nullptr);
  EXPECT_EQ(array2, array) << h.what;
  if (h.type == kLong) EXPECT_EQ(longs(c), (std::vector<long>{5, 6})) << h.what;
  else EXPECT_EQ(strings(c), (std::vector<std::string>{"five", "six"})) << h.what;
}

constexpr long kMax = std::numeric_limits<long>::max();
const long kSeven = 7;

INSTANTIATE_TEST_SUITE_P(
    NearLongMax, UtlColHuge,
    ::testing::Values(
        huge_case{"extend to LONG_MAX", kLong, [](utl_ty_col* c) { return utl_col_extend(c, kMax); }},
        huge_case{"extend to LONG_MAX - 1", kLong, [](utl_ty_col* c) { return utl_col_extend(c, kMax - 1); }},
        huge_case{"extend past a quarter of memory", kLong,
                  [](utl_ty_col* c) { return utl_col_extend(c, kMax / 4 / 8); }},
        huge_case{"insert at LONG_MAX", kLong,
                  [](utl_ty_col* c) { return utl_col_insert_at(c, &kSeven, kMax, nullptr); }},
        huge_case{"insert a string at LONG_MAX", kString,
                  [](utl_ty_col* c) { return utl_col_insert_at(c, "x", kMax, nullptr); }},
        huge_case{"insert-expand at LONG_MAX", kLong,
                  [](utl_ty_col* c) { return utl_col_insert_expand(c, &kSeven, kMax, nullptr); }},
        huge_case{"fill 2 at LONG_MAX - 1", kLong,
                  [](utl_ty_col* c) { return utl_col_fill(c, 2, kMax - 1, nullptr); }},
        huge_case{"fill LONG_MAX at 1", kLong,
                  [](utl_ty_col* c) { return utl_col_fill(c, kMax, 1, nullptr); }},
        huge_case{"reserve LONG_MAX at 1", kLong,
                  [](utl_ty_col* c) {
                    void* slot = nullptr;
                    return utl_col_reserve(c, kMax, 1, &slot);
                  }},
        huge_case{"reserve LONG_MAX at 0", kString,
                  [](utl_ty_col* c) {
                    void* slot = nullptr;
                    return utl_col_reserve(c, kMax, 0, &slot);
                  }},
        huge_case{"reserve 0 at LONG_MAX", kLong, [](utl_ty_col* c) {
                    void* slot = nullptr;
                    return utl_col_reserve(c, 0, kMax, &slot);
                  }}));

// A reserved slot always lies inside the array, also when nothing is reserved
// beyond it.
TEST_F(UtlCol, ReservedSlotIsInsideTheArray) {
  utl_ty_col* c = make(kLong, 0, 2, 2);
  for (long position : {0L, 1L, 2L, 9L}) {
    void* slot = nullptr;
    ASSERT_EQ(utl_col_reserve(c, 0, position, &slot), 0) << position;
    long capacity = 0;
    void* array = nullptr;
    utl_col_info(c, nullptr, nullptr, &capacity, nullptr, nullptr, nullptr);
    utl_col_get_array(c, &array, nullptr);
    EXPECT_GT(capacity, position);
    EXPECT_EQ(slot, static_cast<long*>(array) + position);
    *static_cast<long*>(slot) = position;  // the sanitizer sees any write outside
  }
}

TEST_F(UtlCol, AllocFromThePoolNearLongMax) {
  utl_ty_col* c = make(kLong, UTL_COL_OPT_POOL);
  void* p = nullptr;
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(utl_col_alloc4(c, kMax - 2, nullptr, &p), UTL_TOO_LARGE);
  EXPECT_EQ(utl_col_alloc(c, kMax, nullptr, &p), UTL_TOO_LARGE);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(core_num_alerts(), 2);
  ASSERT_EQ(utl_col_alloc4(c, 8, nullptr, &p), 0);
}

// Storing an element that lies in the collection's own array copies it aside
// first; that copy's memory comes from the heap cover, and running out of it
// is the out-of-memory alert with the collection unchanged.
TEST_F(UtlCol, CopyAsideOfAnOwnElementRunsOutOfMemoryAsAnAlert) {
  utl_ty_col* c = make(kLong, 0, 8, 4);  // no growth needed
  push_longs(c, {1, 2, 3, 4});
  void* first = nullptr;
  ASSERT_EQ(utl_col_ith(c, 0, &first), 0);
  cmn_alrt_clear(nullptr);
  osl_mem_reset_fail_num();  // the next allocation fails
  long st = utl_col_push(c, first, nullptr);
  osl_mem_disable_fail_mode();
  EXPECT_EQ(st, UTL_NO_MEMORY);
  EXPECT_EQ(core_num_alerts(), 1);
  EXPECT_EQ(longs(c), (std::vector<long>{1, 2, 3, 4}));
  ASSERT_EQ(utl_col_push(c, first, nullptr), 0);
  EXPECT_EQ(longs(c), (std::vector<long>{1, 2, 3, 4, 1}));
}

TEST_F(UtlCol, AllocFromTheCollectionsPool) {
  utl_ty_col* plain = make(kLong);
  void* p = nullptr;
  EXPECT_EQ(utl_col_alloc(plain, 8, nullptr, &p), UTL_NO_POOL);
  EXPECT_EQ(core_top_alert_text(), "You cannot allocate a string from a collection that has no string pool.\n");
  utl_ty_col* c = make(kLong, UTL_COL_OPT_POOL);
  ASSERT_EQ(utl_col_alloc(c, 4, "abc", &p), 0);
  EXPECT_STREQ(static_cast<char*>(p), "abc");
  for (int i = 0; i < 5; ++i) {
    ASSERT_EQ(utl_col_alloc4(c, 3, nullptr, &p), 0);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % 8, 0u);
    *static_cast<long*>(p) = i;  // an aligned record (no sanitizer complaint)
  }
  char* s = nullptr;
  ASSERT_EQ(utl_col_alloc_string(c, "text", &s), 0);
  EXPECT_STREQ(s, "text");
}

TEST_F(UtlCol, AllocationFailuresLeaveTheCollectionUsable) {
  utl_ty_col* c = make(kLong, 0, 1, 1);
  push_longs(c, {1});
  osl_mem_reset_fail_num();  // the next allocation fails
  long v = 2;
  EXPECT_EQ(utl_col_push(c, &v, nullptr), UTL_NO_MEMORY);
  osl_mem_disable_fail_mode();
  EXPECT_EQ(longs(c), (std::vector<long>{1}));
  EXPECT_EQ(utl_col_push(c, &v, nullptr), 0);
  EXPECT_EQ(longs(c), (std::vector<long>{1, 2}));

  // making and filling collections while allocations fail in turn: every
  // failure is reported, nothing leaks, and the successes are whole
  core_expect_runs_under_failing_memory(16, [&] {
    utl_ty_col* s = nullptr;
    long st = utl_col_make(nullptr, kString, 2, 2, 0, 0, &s);
    if (st == 0) {
      st = utl_col_push(s, "abc", nullptr);
      if (st == 0) {
        EXPECT_EQ(strings(s), (std::vector<std::string>{"abc"}));
      }
      EXPECT_EQ(utl_col_free(nullptr, s), 0);
    } else {
      EXPECT_EQ(s, nullptr);
    }
    return st;
  });
}

TEST_F(UtlCol, RegistryFieldAccessOfACollectionField) {
  utl_ty_col* src = make(kLong);
  utl_ty_col* dst = make(kLong);
  push_longs(src, {4, 5});
  push_longs(dst, {9});
  cmn_ty_method_proc set = nullptr;
  cmn_ty_method_proc get = nullptr;
  ASSERT_EQ(cmn_typ_find_single_method(518, CMN_MTH_SET, &set, nullptr), 0);
  ASSERT_EQ(cmn_typ_find_single_method(518, CMN_MTH_GET, &get, nullptr), 0);
  long spec[6] = {0, 518, 0, 517, 0, 0};
  utl_ty_col* cell = dst;
  ASSERT_EQ(cmn_typ_proc_as<cmn_ty_set_proc>(set)(&cell, spec, src), 0);
  EXPECT_EQ(longs(dst), (std::vector<long>{4, 5}));
  utl_ty_col* out = nullptr;
  long allocated = 7;
  ASSERT_EQ(cmn_typ_proc_as<cmn_ty_get_proc>(get)(&cell, spec, sizeof(out), &out, &allocated), 0);
  EXPECT_EQ(out, dst);
  spec[3] = 512;
  EXPECT_EQ(cmn_typ_proc_as<cmn_ty_get_proc>(get)(&cell, spec, sizeof(out), &out, &allocated), 1);
  ASSERT_EQ(cmn_typ_proc_as<cmn_ty_set_proc>(set)(&cell, spec, nullptr), 0);
  EXPECT_TRUE(longs(dst).empty());
  // a source of another element type is refused and the target kept
  push_longs(dst, {6});
  utl_ty_col* strs = make(kString);
  ASSERT_EQ(utl_col_push(strs, "s", nullptr), 0);
  EXPECT_EQ(cmn_typ_proc_as<cmn_ty_set_proc>(set)(&cell, spec, strs), UTL_BAD_ELEM_TYPE);
  EXPECT_EQ(longs(dst), (std::vector<long>{6}));
  // and setting a collection to itself keeps its elements
  ASSERT_EQ(cmn_typ_proc_as<cmn_ty_set_proc>(set)(&cell, spec, dst), 0);
  EXPECT_EQ(longs(dst), (std::vector<long>{6}));
}

}  // namespace
