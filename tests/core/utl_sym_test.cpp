// Symbol tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "core/cmn/cmn_alrt.h"
#include "core/core_fixture.h"
#include "core/osl/osl_mem.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_mem.h"
#include "core/utl/utl_msg.h"
#include "core/utl/utl_sym.h"

namespace {

const auto* const g_env = ::testing::AddGlobalTestEnvironment(new core_utl_env);

utl_ty_sym_value lval(long v) {
  utl_ty_sym_value x{};
  x.type = 512;
  x.v.l = v;
  return x;
}

utl_ty_sym_value sval(const char* s) {
  utl_ty_sym_value x{};
  x.type = 516;
  x.v.str = const_cast<char*>(s);
  return x;
}

class UtlSym : public core_utl_test {
 protected:
  void release() override {
    for (utl_ty_symtab* t : made_) utl_sym_table_destroy(t);
  }
  utl_ty_symtab* make(long options = 0, long initial = 2, long buckets = 7) {
    utl_ty_symtab* t = nullptr;
    EXPECT_EQ(utl_sym_table_create_option(initial, buckets, &t, options), 0);
    if (t) made_.push_back(t);
    return t;
  }
  std::vector<utl_ty_symtab*> made_;
};

TEST_F(UtlSym, CreateVariants) {
  utl_ty_symtab* t = nullptr;
  ASSERT_EQ(utl_sym_table_create(3, &t), 0);
  made_.push_back(t);
  EXPECT_EQ(t->num_buckets, 107);
  EXPECT_EQ(t->options, 0);
  for (long b = 0; b < 107; ++b) ASSERT_EQ(t->buckets[b], -1);
  struct variant {
    long (*create)(long, long, utl_ty_symtab**);
    long options;
  };
  for (const variant& v : {variant{utl_sym_table_create_sized, 0}, variant{utl_sym_table_create_suppl, 1},
                           variant{utl_sym_table_create_ic, 2}}) {
    utl_ty_symtab* u = nullptr;
    ASSERT_EQ(v.create(1, 13, &u), 0);
    made_.push_back(u);
    EXPECT_EQ(u->options, v.options);
    EXPECT_EQ(u->num_buckets, 13);
  }
  utl_ty_symtab* none = nullptr;
  EXPECT_EQ(utl_sym_table_create(0, &none), UTL_BAD_ARG);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(utl_sym_table_create_sized(4, 0, &none), UTL_BAD_ARG);
  EXPECT_EQ(none, nullptr);
}

TEST_F(UtlSym, DefaultHash) {
  struct hash_case {
    const char* name;
    long buckets;
    long expect;
  };
  // h = XOR of (signed char) << (i % 8); bucket = h mod buckets, unsigned
  const long ab = 'a' ^ ('b' << 1);
  const long nine = [] {
    long h = 0;
    const char* s = "abcdefghi";
    for (int i = 0; s[i]; ++i) h ^= static_cast<long>(s[i]) << (i % 8);
    return h;
  }();
  const unsigned hi = static_cast<unsigned>(static_cast<int>(static_cast<signed char>('\xe9')));
  for (const hash_case& c : {hash_case{"", 107, 0}, hash_case{"a", 107, 'a' % 107}, hash_case{"ab", 107, ab % 107},
                             hash_case{"abcdefghi", 1000, nine % 1000},
                             hash_case{"\xe9", 107, static_cast<long>(hi % 107u)}}) {
    EXPECT_EQ(utl_sym_default_hash(c.buckets, c.name), c.expect) << c.name;
  }
  EXPECT_EQ(utl_sym_ci_hash(107, "Name"), utl_sym_ci_hash(107, "nAME"));
  EXPECT_EQ(utl_sym_ci_hash(107, "name"), utl_sym_default_hash(107, "NAME"));
}

TEST_F(UtlSym, CaseInsensitiveCompare) {
  struct cmp_case {
    const char* a;
    const char* b;
    int sign;
  };
  for (const cmp_case& c : {cmp_case{nullptr, nullptr, 0}, cmp_case{nullptr, "", -1}, cmp_case{"", nullptr, 1},
                            cmp_case{"abc", "ABC", 0}, cmp_case{"ab", "ABC", -1}, cmp_case{"abd", "ABC", 1},
                            cmp_case{"Zeta", "alpha", 1}}) {
    long r = utl_sym_ci_strcmp(c.a, c.b);
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << (c.a ? c.a : "null") << " vs " << (c.b ? c.b : "null");
  }
}

TEST_F(UtlSym, AddFindReplace) {
  utl_ty_symtab* t = make();
  long i1 = -9, i2 = -9, i3 = -9;
  utl_ty_sym_value one = lval(1);
  ASSERT_EQ(utl_sym_add(t, "one", &one, &i1), 0);
  utl_ty_sym_value s = sval("text");
  ASSERT_EQ(utl_sym_add(t, "two", &s, &i2), 0);
  EXPECT_EQ(i1, 0);
  EXPECT_EQ(i2, 1);
  utl_ty_sym_value* v = nullptr;
  long idx = -1;
  ASSERT_EQ(utl_sym_find(t, "two", &v, &idx), 0);
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(idx, 1);
  EXPECT_EQ(v->type, 516);
  EXPECT_STREQ(v->v.str, "text");
  EXPECT_NE(v->v.str, s.v.str);  // a copy in the table's pool
  ASSERT_EQ(utl_sym_find(t, "three", &v, &idx), 0);
  EXPECT_EQ(v, nullptr);
  EXPECT_EQ(idx, -1);

  // the same name again
  EXPECT_EQ(utl_sym_add_one(t, "one", &one, 0, &i3), UTL_SYM_EXISTS);
  EXPECT_EQ(core_top_alert_text(), "Symbol 'one' cannot be added to symbol table; it already exists.\n");
  ASSERT_EQ(utl_sym_add_one(t, "one", &one, 1, &i3), 0);  // equal value: unchanged
  EXPECT_EQ(i3, 0);
  utl_ty_sym_value five = lval(5);
  ASSERT_EQ(utl_sym_add_val(t, "one", &five, 99, &i3), 0);  // replaced, user word kept
  EXPECT_EQ(i3, 0);
  const char* name = nullptr;
  long user = -1;
  ASSERT_EQ(utl_sym_get_val(t, 0, &name, &v, &user), 0);
  EXPECT_STREQ(name, "one");
  EXPECT_EQ(v->v.l, 5);
  EXPECT_EQ(user, 0);
  long n = 0;
  EXPECT_EQ(utl_col_num(t->entry_col, &n), 0);
  EXPECT_EQ(n, 2);
}

TEST_F(UtlSym, UserWordOfANewEntry) {
  utl_ty_symtab* t = make();
  utl_ty_sym_value x = lval(3);
  ASSERT_EQ(utl_sym_add_val(t, "k", &x, 1234, nullptr), 0);
  utl_ty_sym_value* v = nullptr;
  utl_ty_sym_entry* e = nullptr;
  long idx = 0, user = 0;
  ASSERT_EQ(utl_sym_find_val(t, "k", &v, &idx, &e, &user), 0);
  EXPECT_EQ(user, 1234);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->index, idx);
  EXPECT_STREQ(e->name, "k");
}

TEST_F(UtlSym, NamesDifferingInCase) {
  // A case-sensitive table keeps them apart, also when they share a bucket.
  utl_ty_symtab* cs = make(0, 2, 1);
  utl_ty_sym_value a = lval(1), b = lval(2);
  ASSERT_EQ(utl_sym_add_one(cs, "Name", &a, 0, nullptr), 0);
  ASSERT_EQ(utl_sym_add_one(cs, "name", &b, 0, nullptr), 0);
  utl_ty_sym_value* v = nullptr;
  long idx = 0;
  ASSERT_EQ(utl_sym_find(cs, "name", &v, &idx), 0);
  EXPECT_EQ(v->v.l, 2);
  ASSERT_EQ(utl_sym_find(cs, "Name", &v, &idx), 0);
  EXPECT_EQ(v->v.l, 1);
  ASSERT_EQ(utl_sym_find(cs, "NAME", &v, &idx), 0);
  EXPECT_EQ(v, nullptr);

  // A case-insensitive table finds either spelling and refuses the second.
  utl_ty_symtab* ci = make(UTL_SYM_CASE_INSENS, 2, 107);
  ASSERT_EQ(utl_sym_add_one(ci, "Name", &a, 0, nullptr), 0);
  EXPECT_EQ(utl_sym_add_one(ci, "nAMe", &b, 0, nullptr), UTL_SYM_EXISTS);
  EXPECT_EQ(ci->hash(107, "Name"), ci->hash(107, "NAME"));
  for (const char* n : {"Name", "name", "NAME"}) {
    ASSERT_EQ(utl_sym_find(ci, n, &v, &idx), 0);
    ASSERT_NE(v, nullptr) << n;
    EXPECT_EQ(v->v.l, 1);
    EXPECT_EQ(idx, 0);
  }
}

TEST_F(UtlSym, CaseInsensitiveReplaceKeepsTheFirstName) {
  utl_ty_symtab* ci = make(UTL_SYM_CASE_INSENS, 2, 1);
  utl_ty_sym_value a = lval(1), b = lval(2);
  ASSERT_EQ(utl_sym_add(ci, "abc", &a, nullptr), 0);
  ASSERT_EQ(utl_sym_add(ci, "ABC", &b, nullptr), 0);  // replaces (same name ignoring case)
  utl_ty_sym_value* v = nullptr;
  long idx = 0;
  ASSERT_EQ(utl_sym_find(ci, "abc", &v, &idx), 0);
  EXPECT_EQ(v->v.l, 2);
  EXPECT_EQ(idx, 0);
  const char* name = nullptr;
  utl_sym_get(ci, 0, &name, &v);
  EXPECT_STREQ(name, "abc");  // the entry keeps its first name
}

TEST_F(UtlSym, RemoveUnlinksButKeepsTheEntry) {
  utl_ty_symtab* t = make(0, 2, 1);  // one bucket: a chain of three
  utl_ty_sym_value x = lval(0);
  for (const char* n : {"a", "b", "c"}) {
    x.v.l++;
    ASSERT_EQ(utl_sym_add(t, n, &x, nullptr), 0);
  }
  utl_ty_sym_value* v = nullptr;
  long idx = 0;
  ASSERT_EQ(utl_sym_find(t, "b", &v, &idx), 0);  // also becomes the last hit
  ASSERT_EQ(utl_sym_remove(t, "b"), 0);
  ASSERT_EQ(utl_sym_find(t, "b", &v, &idx), 0);
  EXPECT_EQ(v, nullptr);
  EXPECT_EQ(idx, -1);
  const char* name = nullptr;
  ASSERT_EQ(utl_sym_get(t, 1, &name, &v), 0);
  EXPECT_STREQ(name, "b");
  EXPECT_EQ(v->v.l, 2);
  for (const char* n : {"a", "c"}) {
    ASSERT_EQ(utl_sym_find(t, n, &v, &idx), 0);
    EXPECT_NE(v, nullptr) << n;
  }
  ASSERT_EQ(utl_sym_remove(t, "c"), 0);  // the chain head
  ASSERT_EQ(utl_sym_remove(t, "zzz"), 0);
  ASSERT_EQ(utl_sym_find(t, "a", &v, &idx), 0);
  EXPECT_NE(v, nullptr);
  ASSERT_EQ(utl_sym_find(t, "c", &v, &idx), 0);
  EXPECT_EQ(v, nullptr);
  EXPECT_EQ(utl_sym_get(t, 3, &name, &v), UTL_BAD_INDEX);
}

struct value_case {
  utl_ty_sym_value first;
  utl_ty_sym_value second;
  bool changes;
};

TEST_F(UtlSym, ReplacingWithEqualOrDifferentValues) {
  static char p1 = 0, p2 = 0;
  auto mk = [](long type, long l) {
    utl_ty_sym_value v{};
    v.type = type;
    v.v.l = l;
    return v;
  };
  utl_ty_sym_value f1{}, f2{}, f3{};
  f1.type = f2.type = f3.type = 514;
  f1.v.f = 1.5f;
  f2.v.f = 1.5f;
  f3.v.f = 2.5f;
  utl_ty_sym_value sh1{}, sh2{};
  sh1.type = sh2.type = 513;
  sh1.v.s = 7;
  sh2.v.s = 8;
  utl_ty_sym_value pp1{}, pp2{};
  pp1.type = pp2.type = 517;
  pp1.v.ptr = &p1;
  pp2.v.ptr = &p2;
  const std::vector<value_case> cases = {
      {mk(512, 4), mk(512, 4), false}, {mk(512, 4), mk(512, 5), true},  {sval("x"), sval("x"), false},
      {sval("x"), sval("y"), true},    {f1, f2, false},                 {f1, f3, true},
      {sh1, sh1, false},               {sh1, sh2, true},                {pp1, pp1, false},
      {pp1, pp2, true},                {mk(512, 4), sval("4"), true}};
  for (size_t i = 0; i < cases.size(); ++i) {
    utl_ty_symtab* t = make();
    ASSERT_EQ(utl_sym_add(t, "k", &cases[i].first, nullptr), 0);
    utl_ty_sym_value* v = nullptr;
    utl_sym_find(t, "k", &v, nullptr);
    utl_ty_sym_value before = *v;
    long idx = -1;
    ASSERT_EQ(utl_sym_add(t, "k", &cases[i].second, &idx), 0);
    EXPECT_EQ(idx, 0);
    utl_sym_find(t, "k", &v, nullptr);
    bool changed = std::memcmp(&before, v, sizeof before) != 0;
    EXPECT_EQ(changed, cases[i].changes) << "case " << i;
    EXPECT_EQ(v->type, cases[i].second.type);
  }
}

TEST_F(UtlSym, SetValCopiesStrings) {
  utl_ty_symtab* t = make();
  utl_ty_sym_value x = lval(1);
  ASSERT_EQ(utl_sym_add(t, "k", &x, nullptr), 0);
  utl_ty_sym_value* v = nullptr;
  ASSERT_EQ(utl_sym_find(t, "k", &v, nullptr), 0);
  char text[] = "abc";
  utl_ty_sym_value s = sval(text);
  ASSERT_EQ(utl_sym_set_val(t, v, &s), 0);
  text[0] = 'X';
  ASSERT_EQ(utl_sym_find(t, "k", &v, nullptr), 0);
  EXPECT_STREQ(v->v.str, "abc");
  utl_ty_sym_value outside{};
  EXPECT_EQ(utl_sym_set_val(t, &outside, &s), UTL_BAD_ARG);
}

TEST_F(UtlSym, ManyEntriesGrowTheTable) {
  utl_ty_symtab* t = make(0, 1, 5);
  for (long i = 0; i < 300; ++i) {
    utl_ty_sym_value x = lval(i * 10);
    std::string n = "name" + std::to_string(i);
    long idx = -1;
    ASSERT_EQ(utl_sym_add(t, n.c_str(), &x, &idx), 0);
    ASSERT_EQ(idx, i);
  }
  for (long i = 299; i >= 0; --i) {
    utl_ty_sym_value* v = nullptr;
    long idx = -1;
    std::string n = "name" + std::to_string(i);
    ASSERT_EQ(utl_sym_find(t, n.c_str(), &v, &idx), 0);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->v.l, i * 10);
    EXPECT_EQ(idx, i);
  }
}

long collect(utl_ty_symtab*, const char* name, utl_ty_sym_value* value, long* user, void* arg,
             long* stop) {
  auto* seen = static_cast<std::vector<std::string>*>(arg);
  seen->push_back(name);
  EXPECT_EQ(value->type, 512);
  *user += 1;
  if (std::strcmp(name, "stop") == 0) *stop = 1;
  if (std::strcmp(name, "fail") == 0) return 41;
  return 0;
}

TEST_F(UtlSym, IterateVisitsChainedEntriesBucketByBucket) {
  utl_ty_symtab* t = make(0, 2, 11);
  utl_ty_sym_value x = lval(0);
  for (const char* n : {"a", "b", "c", "d", "e"}) ASSERT_EQ(utl_sym_add(t, n, &x, nullptr), 0);
  utl_sym_remove(t, "c");
  std::vector<std::string> seen;
  ASSERT_EQ(utl_sym_iterate(t, collect, &seen, 0), 0);
  std::vector<std::string> expect;
  for (long b = 0; b < 11; ++b)
    for (long i = t->buckets[b]; i != -1; i = t->entries[i].next) expect.push_back(t->entries[i].name);
  EXPECT_EQ(seen, expect);
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(seen, (std::vector<std::string>{"a", "b", "d", "e"}));
  long user = 0;
  utl_sym_get_val(t, 0, nullptr, nullptr, &user);
  EXPECT_EQ(user, 1);  // the visitor may change the user word

  utl_ty_symtab* u = make(0, 2, 1);
  for (const char* n : {"z", "stop", "y"}) ASSERT_EQ(utl_sym_add(u, n, &x, nullptr), 0);
  seen.clear();
  ASSERT_EQ(utl_sym_iterate(u, collect, &seen, 0), 0);
  EXPECT_EQ(seen, (std::vector<std::string>{"y", "stop"}));
  utl_sym_add(u, "fail", &x, nullptr);
  seen.clear();
  EXPECT_EQ(utl_sym_iterate(u, collect, &seen, 0), 41);
}

long remove_visited(utl_ty_symtab* table, const char* name, utl_ty_sym_value*, long*, void* arg,
                    long*) {
  static_cast<std::vector<std::string>*>(arg)->push_back(name);
  return utl_sym_remove(table, name);
}

TEST_F(UtlSym, VisitorMayRemoveTheEntryItStandsOn) {
  utl_ty_symtab* t = make(0, 2, 1);  // one bucket: one chain
  utl_ty_sym_value x = lval(0);
  for (const char* n : {"a", "b", "c", "d"}) ASSERT_EQ(utl_sym_add(t, n, &x, nullptr), 0);
  std::vector<std::string> seen;
  ASSERT_EQ(utl_sym_iterate(t, remove_visited, &seen, 0), 0);
  EXPECT_EQ(seen, (std::vector<std::string>{"d", "c", "b", "a"}));
  EXPECT_EQ(t->buckets[0], -1);
  for (const char* n : {"a", "b", "c", "d"}) {
    utl_ty_sym_value* v = &x;
    ASSERT_EQ(utl_sym_find(t, n, &v, nullptr), 0);
    EXPECT_EQ(v, nullptr) << n;
  }
}

TEST_F(UtlSym, CopyHoldsEveryChainedEntry) {
  utl_ty_symtab* t = make(UTL_SYM_CASE_INSENS, 2, 5);
  utl_sym_set_user_flags(t, 6);
  std::map<std::string, long> values = {{"Alpha", 1}, {"beta", 2}, {"GAMMA", 3}, {"delta", 4}};
  for (auto& [n, l] : values) {
    utl_ty_sym_value x = lval(l);
    ASSERT_EQ(utl_sym_add_val(t, n.c_str(), &x, l * 100, nullptr), 0);
  }
  utl_ty_sym_value s = sval("str");
  ASSERT_EQ(utl_sym_add(t, "text", &s, nullptr), 0);
  utl_sym_remove(t, "delta");
  utl_ty_symtab* c = nullptr;
  ASSERT_EQ(utl_sym_table_copy(t, 0, &c), 0);
  made_.push_back(c);
  EXPECT_EQ(c->options, UTL_SYM_CASE_INSENS);
  EXPECT_EQ(c->num_buckets, 5);
  long flags = -1;
  utl_sym_get_user_flags(c, &flags);
  EXPECT_EQ(flags, 0);  // the user word belongs to the original's owner
  for (auto& [n, l] : values) {
    utl_ty_sym_value* v = nullptr;
    long user = 0;
    ASSERT_EQ(utl_sym_find_val(c, n.c_str(), &v, nullptr, nullptr, &user), 0);
    if (n == "delta") {
      EXPECT_EQ(v, nullptr);
      continue;
    }
    ASSERT_NE(v, nullptr) << n;
    EXPECT_EQ(v->v.l, l);
    EXPECT_EQ(user, l * 100);
  }
  utl_ty_sym_value* v = nullptr;
  ASSERT_EQ(utl_sym_find(c, "TEXT", &v, nullptr), 0);
  ASSERT_NE(v, nullptr);
  EXPECT_STREQ(v->v.str, "str");
  utl_ty_sym_value* orig = nullptr;
  utl_sym_find(t, "text", &orig, nullptr);
  EXPECT_NE(v->v.str, orig->v.str);
  utl_sym_table_destroy(t);  // the copy holds its own strings
  made_.erase(std::find(made_.begin(), made_.end(), t));
  EXPECT_STREQ(v->v.str, "str");
}

TEST_F(UtlSym, PoolAllocations) {
  utl_ty_symtab* t = make();
  void* p = nullptr;
  ASSERT_EQ(utl_sym_alloc(t, 6, "hello", &p), 0);
  EXPECT_STREQ(static_cast<char*>(p), "hello");
  ASSERT_EQ(utl_sym_alloc4(t, 3, nullptr, &p), 0);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % 8, 0u);
}

TEST_F(UtlSym, AllocationFailuresLeakNothing) {
  core_expect_runs_under_failing_memory(20, [] {
    utl_ty_symtab* t = nullptr;
    long st = utl_sym_table_create_sized(1, 3, &t);
    if (st == 0) {
      utl_ty_sym_value s = sval("value");
      for (const char* n : {"a", "b"}) {
        if (st == 0) st = utl_sym_add(t, n, &s, nullptr);
      }
      utl_sym_table_destroy(t);
    } else {
      EXPECT_EQ(t, nullptr);
    }
    return st;
  });
}

}  // namespace
