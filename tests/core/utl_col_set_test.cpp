// Collection set operations, differences, list texts and list dumps.
#include <cstring>
#include <string>
#include <vector>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_dyn.h"
#include "core/cmn/cmn_typ.h"
#include "core/cmn_main_fixture.h"
#include "core/core_fixture.h"
#include "core/utl/utl_col_set.h"
#include "core/utl/utl_estr.h"

namespace {

class UtlColSet : public core_runtime_test {
 protected:
  void TearDown() override {
    for (utl_ty_col* c : made_) utl_col_free("test", c);
  }

  utl_ty_col* longs(const std::vector<long>& values) {
    utl_ty_col* c = nullptr;
    EXPECT_EQ(utl_col_make("test", CMN_TYP_LONG, 4, 4, 0, 0, &c), 0);
    for (long v : values) EXPECT_EQ(utl_col_push(c, &v, nullptr), 0);
    made_.push_back(c);
    return c;
  }

  utl_ty_col* texts(const std::vector<std::string>& values) {
    utl_ty_col* c = nullptr;
    EXPECT_EQ(utl_col_make("test", CMN_TYP_CHAR_P, 4, 4, 0, 0, &c), 0);
    for (const auto& v : values) EXPECT_EQ(utl_col_push(c, v.c_str(), nullptr), 0);
    made_.push_back(c);
    return c;
  }

  utl_ty_col* of(const std::vector<utl_ty_col*>& members) {
    utl_ty_col* c = nullptr;
    EXPECT_EQ(utl_col_make("test", UTL_COL_OF_COLS_TYPE, 4, 4, 0, 0, &c), 0);
    for (utl_ty_col* m : members) EXPECT_EQ(utl_col_push(c, &m, nullptr), 0);
    made_.push_back(c);
    return c;
  }

  utl_ty_col* keep(utl_ty_col* c) {
    if (c != nullptr) made_.push_back(c);
    return c;
  }

  static std::vector<long> values(utl_ty_col* c) {
    std::vector<long> out;
    long n = 0;
    utl_col_num(c, &n);
    for (long i = 0; i < n; ++i) {
      void* e = nullptr;
      utl_col_ith(c, i, &e);
      out.push_back(*static_cast<long*>(e));
    }
    return out;
  }

  static std::vector<std::string> strings(utl_ty_col* c) {
    std::vector<std::string> out;
    long n = 0;
    utl_col_num(c, &n);
    for (long i = 0; i < n; ++i) {
      void* e = nullptr;
      utl_col_ith(c, i, &e);
      out.emplace_back(static_cast<char*>(e));
    }
    return out;
  }

  std::vector<utl_ty_col*> made_;
};

TEST_F(UtlColSet, BothUnionsAgree) {
  const struct {
    std::vector<std::vector<long>> members;
    std::vector<long> expected;
  } rows[] = {
      {{{3, 1, 2}, {2, 4}}, {1, 2, 3, 4}},
      {{{5, 5, 1}, {}, {1, 9, 5}, {0}}, {0, 1, 5, 9}},
      {{{7}, {7}, {7}}, {7}},
      {{{}, {}}, {}},
      {{{4, 2}, {1, 3}, {2, 3, 3}}, {1, 2, 3, 4}},
  };
  for (const auto& r : rows) {
    std::vector<utl_ty_col*> ms;
    for (const auto& m : r.members) ms.push_back(longs(m));
    utl_ty_col* u1 = nullptr;
    utl_ty_col* u2 = nullptr;
    ASSERT_EQ(utl_col_union(of(ms), &u1), 0);
    keep(u1);
    ASSERT_EQ(utl_col_union_merge_sort_style(of(ms), &u2), 0);
    keep(u2);
    EXPECT_EQ(values(u1), r.expected);
    EXPECT_EQ(values(u2), r.expected);
  }
  utl_ty_col* none = nullptr;
  EXPECT_EQ(utl_col_union(nullptr, &none), 0);
  EXPECT_EQ(none, nullptr);
}

// A test of another suite in the same process may have put the registry
// back as compiled in (its methods, procedures and message lists gone): the
// next test here starts on the whole runtime again.
TEST_F(UtlColSet, StartsOnTheWholeRuntimeAfterTheRegistryWasPutBack) {
  core_fresh_cmn();
  core_runtime_test::SetUp();
  utl_ty_col* u = nullptr;
  ASSERT_EQ(utl_col_union_merge_sort_style(of({longs({3, 1}), longs({2, 3})}), &u), 0);
  keep(u);
  EXPECT_EQ(values(u), (std::vector<long>{1, 2, 3}));
}

TEST_F(UtlColSet, UnionOfPointerSlotCollectionsCopiesTheElements) {
  utl_ty_col* u = nullptr;
  ASSERT_EQ(utl_col_union(of({texts({"pear", "apple"}), texts({"fig", "apple"})}), &u), 0);
  keep(u);
  EXPECT_EQ(strings(u), (std::vector<std::string>{"apple", "fig", "pear"}));
  utl_ty_col* m = nullptr;
  ASSERT_EQ(utl_col_union_merge_sort_style(of({texts({"b", "a"}), texts({"c", "a"})}), &m), 0);
  keep(m);
  EXPECT_EQ(strings(m), (std::vector<std::string>{"a", "b", "c"}));
}

TEST_F(UtlColSet, IntersectionsHoldOnlyValuesOfEveryMember) {
  const struct {
    std::vector<std::vector<long>> members;
    std::vector<long> expected;
  } rows[] = {
      {{{1, 2, 3}, {2, 3, 4}, {3, 2}}, {2, 3}},
      {{{1, 2, 3}, {}, {2}}, {}},
      {{{4, 1, 4}}, {1, 4, 4}},
      // The candidate moves while a later member is brought level: 2 is not
      // in the second member and must not be pushed.
      {{{2, 5}, {1, 3, 5, 8}, {2, 5, 9, 10, 11}}, {5}},
      {{{1, 2, 3, 4}, {2, 4, 6, 8}, {4, 8, 2}, {0, 2, 4}}, {2, 4}},
      {{{1, 3}, {2, 4}, {1, 2, 3, 4}}, {}},
  };
  for (const auto& r : rows) {
    std::vector<utl_ty_col*> ms;
    for (const auto& m : r.members) ms.push_back(longs(m));
    utl_ty_col* x = nullptr;
    ASSERT_EQ(utl_col_intersection(of(ms), &x), 0);
    keep(x);
    EXPECT_EQ(values(x), r.expected);
  }
}

TEST_F(UtlColSet, SummariesRefuseMixedTypesWithoutAnAlert) {
  utl_ty_col* s = nullptr;
  long type = 0, count = 0;
  EXPECT_EQ(utl_col_extract_summaries(of({longs({1}), texts({"a"})}), &s, &type, &count, 1), UTL_DIFFERENT_TYPES);
  EXPECT_EQ(s, nullptr);
  EXPECT_EQ(core_num_alerts(), 0);
  ASSERT_EQ(utl_col_extract_summaries(of({longs({3, 1, 2}), longs({9}), longs({}), longs({9, 4})}), &s, &type, &count, 1),
            0);
  keep(s);
  EXPECT_EQ(type, CMN_TYP_LONG);
  EXPECT_EQ(count, 6);
  // Three non-empty members; the one whose smallest value repeats another's moved on.
  long n = 0;
  utl_col_num(s, &n);
  ASSERT_EQ(n, 3);
  std::vector<long> currents;
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(s, i, &e);
    currents.push_back(*static_cast<long*>(static_cast<utl_ty_col_summary*>(e)->current));
  }
  EXPECT_EQ(currents, (std::vector<long>{1, 4, 9}));
  ASSERT_EQ(utl_col_extract_summaries(of({longs({3, 1, 2}), longs({9})}), nullptr, &type, &count, 0), 0);
  EXPECT_EQ(count, 1);
}

TEST_F(UtlColSet, DuplicatesAndMerges) {
  utl_ty_col* c = longs({1, 1, 2, 2, 2, 1, 3});
  ASSERT_EQ(utl_col_eliminate_duplicates(c), 0);
  EXPECT_EQ(values(c), (std::vector<long>{1, 2, 1, 3}));
  utl_ty_col* t = texts({"x", "x", "y"});
  ASSERT_EQ(utl_col_eliminate_duplicates(t), 0);
  EXPECT_EQ(strings(t), (std::vector<std::string>{"x", "y"}));

  utl_ty_col* target = texts({"a"});
  ASSERT_EQ(utl_col_merge_col(texts({"b", "c"}), target), 0);
  EXPECT_EQ(strings(target), (std::vector<std::string>{"a", "b", "c"}));
  ASSERT_EQ(utl_col_merge_col(texts({}), target), 0);
  EXPECT_EQ(strings(target).size(), 3u);

  utl_ty_col* all = longs({});
  ASSERT_EQ(utl_col_copy_all_collections(of({longs({5, 3}), longs({}), longs({4})}), all), 0);
  EXPECT_EQ(values(all), (std::vector<long>{3, 4, 5}));
}

TEST_F(UtlColSet, DifferencesOfTwoCollections) {
  utl_ty_col* only_a = nullptr;
  utl_ty_col* only_b = nullptr;
  utl_ty_col* common = nullptr;
  long na = -1, nb = -1, nc = -1;
  ASSERT_EQ(utl_col_diff(longs({3, 1, 2}), longs({4, 3, 2}), 1, &only_a, &na, &only_b, &nb, &common, &nc), 0);
  keep(only_a);
  keep(only_b);
  keep(common);
  EXPECT_EQ(values(only_a), (std::vector<long>{1}));
  EXPECT_EQ(values(only_b), (std::vector<long>{4}));
  EXPECT_EQ(values(common), (std::vector<long>{2, 3}));
  EXPECT_EQ(na, 1);
  EXPECT_EQ(nb, 1);
  EXPECT_EQ(nc, 2);
  // Without a common collection, and only the count of a's own.
  utl_ty_col* b_only = nullptr;
  ASSERT_EQ(utl_col_diff(texts({"a", "b"}), texts({"b", "c", "d"}), 0, nullptr, &na, &b_only, &nb, nullptr, &nc), 0);
  keep(b_only);
  EXPECT_EQ(na, 1);
  EXPECT_EQ(strings(b_only), (std::vector<std::string>{"c", "d"}));
  EXPECT_EQ(nb, 2);
  EXPECT_EQ(nc, 1);
  EXPECT_EQ(utl_col_diff(longs({1}), texts({"1"}), 0, nullptr, &na, nullptr, &nb, nullptr, &nc), UTL_DIFF_TYPES);
  EXPECT_EQ(core_top_alert_text(),
            "Cannot diff different input collection data types:  'long integer' for #1 vs. 'char pointer' for #2 .\n");
}

TEST_F(UtlColSet, ListTextsParseToCollectionsAndSqlTexts) {
  const struct {
    const char* text;
    long type;
    long options;
    const char* result;
    std::vector<std::string> entries;
  } rows[] = {
      {"(1, 'x y', \"z\")", CMN_TYP_CHAR_P, 0, "('1','x y','z')", {"1", "x y", "z"}},
      {"(1, 'x y', \"z\")", -1, 0, "(1,'x y','z')", {"1", "x y", "z"}},
      {"(1, 'x y')", -1, UTL_LIST_KEEP_QUOTES, "(1,'x y')", {"1", "'x y'"}},
      {"(\"it's\", b)", CMN_TYP_CHAR_P, 0, "('it''s','b')", {"it's", "b"}},
      {"()", CMN_TYP_CHAR_P, 0, "()", {}},
      {"a,,b", -1, 0, "(a,b)", {"a", "b"}},
  };
  for (const auto& r : rows) {
    char result[600] = "junk";
    utl_ty_col* col = nullptr;
    long n = -1;
    ASSERT_EQ(utl_col_convert_to_list_opt(r.text, r.type, r.options, result, sizeof result, &col, &n), 0) << r.text;
    keep(col);
    EXPECT_STREQ(result, r.result) << r.text;
    EXPECT_EQ(strings(col), r.entries) << r.text;
    EXPECT_EQ(n, static_cast<long>(r.entries.size()));
  }
  char result[100];
  utl_ty_col* col = nullptr;
  long n = 0;
  ASSERT_EQ(utl_col_convert_to_list("(3, -4,5)", CMN_TYP_LONG, result, sizeof result, &col, &n), 0);
  keep(col);
  EXPECT_STREQ(result, "(3,-4,5)");
  EXPECT_EQ(values(col), (std::vector<long>{3, -4, 5}));
}

TEST_F(UtlColSet, ListTextErrors) {
  char result[100];
  utl_ty_col* col = nullptr;
  long n = 0;
  EXPECT_EQ(utl_col_convert_to_list("(1, two, 3)", CMN_TYP_LONG, result, sizeof result, &col, &n), UTL_LIST_ITEM);
  keep(col);
  EXPECT_EQ(core_top_alert_text(), "Could not convert 'two' used in list to a 'long integer'.\n");
  std::string long_list = "(" + std::string(520, 'a') + ")";
  col = nullptr;
  EXPECT_EQ(utl_col_convert_to_list(long_list.c_str(), -1, result, sizeof result, &col, &n), UTL_LIST_ITEM);
  keep(col);
  std::string long_item = "(" + std::string(512, 'b') + ")";
  col = nullptr;
  EXPECT_EQ(utl_col_convert_to_list(long_item.c_str(), -1, nullptr, 0, &col, &n), UTL_LIST_ITEM);
  keep(col);
  std::string just_fits = "(" + std::string(511, 'c') + ")";
  col = nullptr;
  ASSERT_EQ(utl_col_convert_to_list(just_fits.c_str(), -1, nullptr, 0, &col, &n), 0);
  keep(col);
  EXPECT_EQ(n, 1);
  // A result text that does not fit its buffer is refused, never cut.
  char tiny[5];
  col = nullptr;
  EXPECT_EQ(utl_col_convert_to_list("(abc, def)", -1, tiny, sizeof tiny, &col, &n), UTL_LIST_ITEM);
  keep(col);
}

TEST_F(UtlColSet, ListDumps) {
  std::string out = core_written_to([&](FILE* s) { EXPECT_EQ(utl_col_dump_list(s, nullptr, longs({1, 2, 3}), 0), 0); });
  EXPECT_EQ(out, "(1,2,3)");
  EXPECT_EQ(core_written_to([&](FILE* s) { utl_col_dump_list(s, nullptr, longs({}), 0); }), "()");
  utl_ty_estr* e = nullptr;
  ASSERT_EQ(utl_estr_create("test", "list: ", 64, 64, &e), 0);
  ASSERT_EQ(utl_col_dump_list(nullptr, e, texts({"a", "b"}), 0), 0);
  EXPECT_STREQ(utl_estr_get(e), "list: ('a','b')");
  utl_estr_free("test", e);

  cmn_ty_dyn_field f{};
  cmn_dyn_define_field("n", 0, 8, CMN_TYP_LONG, &f);
  long id = -1;
  ASSERT_EQ(cmn_dyn_define_type("listed", 8, nullptr, 1, &f, &id), 0);
  utl_ty_col* recs = nullptr;
  ASSERT_EQ(utl_col_make("test", id, 2, 2, 0, 0, &recs), 0);
  keep(recs);
  long r1 = 6;
  utl_col_push(recs, &r1, nullptr);
  EXPECT_EQ(core_written_to([&](FILE* s) { utl_col_dump_list(s, nullptr, recs, 0); }), "(n @ 0=6 (Long)\n\n)");
}

}  // namespace
