// Extensible strings.
#include <gtest/gtest.h>

#include <functional>

#include <cstring>
#include <string>
#include <vector>

#include "core/cmn/cmn_alrt.h"
#include "core/core_fixture.h"
#include "core/osl/osl_mem.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "core/utl/utl_mem.h"
#include "core/utl/utl_msg.h"

namespace {

// The utility layer, with the string type's length and compare procedures.
class UtlEstrEnv : public core_utl_env {
 public:
  void SetUp() override {
    core_utl_env::SetUp();
    core_install_string_methods();
  }
};

const auto* const g_env = ::testing::AddGlobalTestEnvironment(new UtlEstrEnv);

class UtlEstr : public core_utl_test {
 protected:
  void release() override {
    utl_estr_set_checking(1);
    for (utl_ty_estr* e : made_) utl_estr_free(nullptr, e);
  }
  utl_ty_estr* make(const char* text = nullptr, long size = 4, long extend = 4) {
    utl_ty_estr* e = nullptr;
    EXPECT_EQ(utl_estr_create("t", text, size, extend, &e), 0);
    if (e) made_.push_back(e);
    return e;
  }
  static std::string bytes(utl_ty_estr* e, long n) {
    const char* t = nullptr;
    utl_estr_get_size(e, &t, nullptr);
    return std::string(t, n);
  }
  static long length(utl_ty_estr* e) {
    long n = -1;
    utl_estr_get_length(e, &n);
    return n;
  }
  std::vector<utl_ty_estr*> made_;
};

struct create_case {
  const char* text;
  long size;
  long extend;
  long status;
};

class UtlEstrCreate : public UtlEstr, public ::testing::WithParamInterface<create_case> {};

TEST_P(UtlEstrCreate, Arguments) {
  const create_case& p = GetParam();
  utl_ty_estr* e = nullptr;
  EXPECT_EQ(utl_estr_create("t", p.text, p.size, p.extend, &e), p.status);
  if (p.status != 0) {
    EXPECT_EQ(e, nullptr);
    return;
  }
  made_.push_back(e);
  EXPECT_STREQ(utl_estr_get(e), p.text ? p.text : "");
  EXPECT_EQ(e->size, p.text ? static_cast<long>(std::strlen(p.text)) + 1 : p.size);
}

INSTANTIATE_TEST_SUITE_P(Table, UtlEstrCreate,
                         ::testing::Values(create_case{nullptr, 10, 5, 0}, create_case{nullptr, 1, -1, 0},
                                           create_case{"hello", 0, -1, 0}, create_case{"", 0, 1, 0},
                                           create_case{nullptr, 0, 5, UTL_BAD_ARG},
                                           create_case{nullptr, 10, 0, UTL_BAD_ARG},
                                           create_case{nullptr, 10, -2, UTL_BAD_ARG},
                                           create_case{"x", 10, 0, UTL_BAD_ARG}));

TEST_F(UtlEstr, AppendsGrowTheText) {
  utl_ty_estr* e = make(nullptr, 2, 1);
  EXPECT_STREQ(utl_estr_get(e), "");
  ASSERT_EQ(utl_estr_append(e, "abc"), 0);
  ASSERT_EQ(utl_estr_append(e, "de"), 0);
  EXPECT_EQ(length(e), 5);
  EXPECT_STREQ(utl_estr_get(e), "abcde");
  std::string big(5000, 'x');
  ASSERT_EQ(utl_estr_append(e, big.c_str()), 0);
  EXPECT_EQ(utl_estr_get(e), "abcde" + big);
  ASSERT_EQ(utl_estr_reset(e), 0);
  EXPECT_STREQ(utl_estr_get(e), "");
  EXPECT_EQ(utl_estr_append(e, nullptr), UTL_BAD_ARG);
}

TEST_F(UtlEstr, AppendingItsOwnTextWhileGrowing) {
  utl_ty_estr* e = make("abcd", 1, 1);
  for (int i = 0; i < 3; ++i) ASSERT_EQ(utl_estr_append(e, utl_estr_get(e)), 0);
  EXPECT_STREQ(utl_estr_get(e), "abcdabcdabcdabcdabcdabcdabcdabcd");
  ASSERT_EQ(utl_estr_append_binary(e, utl_estr_get(e) + 28, 4), 0);
  EXPECT_EQ(length(e), 36);
  ASSERT_EQ(utl_estr_aprintf(e, "[%s]", utl_estr_get(e) + 32), 0);
  EXPECT_STREQ(utl_estr_get(e) + 32, "abcd[abcd]");
  utl_ty_estr* f = make("x[n]", 1, 1);
  ASSERT_EQ(utl_estr_substitute(utl_estr_get(f), 1, "[", "]", [](const char*, char, char, void*, long* r, long size,
                                                                    char** out) -> long {
    std::snprintf(*out, size, "%s", std::string(100, 'v').c_str());
    *r = 1;
    return 0;
  }, nullptr, f), 0);
  EXPECT_EQ(std::string(utl_estr_get(f)), "x[n]x" + std::string(100, 'v'));
}

// Copies the string layer makes aside (its own text appended to itself, the
// text being substituted) take their memory from the heap cover: fail-test
// mode reaches them, and a failure is the out-of-memory alert with the string
// unchanged, never an exception.
TEST_F(UtlEstr, CopiesAsideRunOutOfMemoryAsAlerts) {
  // Room enough that no append needs the string to grow.
  utl_ty_estr* e = make(nullptr, 400, 1);
  ASSERT_EQ(utl_estr_append(e, "a text longer than sixteen characters"), 0);
  const std::string before = utl_estr_get(e);
  const struct {
    const char* what;
    std::function<long()> call;
  } cases[] = {
      {"append own text", [&] { return utl_estr_append(e, utl_estr_get(e)); }},
      {"append own text, zero-separated", [&] { return utl_estr_append_option(e, utl_estr_get(e) + 2, 1); }},
      {"append own bytes", [&] { return utl_estr_append_binary(e, utl_estr_get(e), 30); }},
      {"substitute", [&] {
         return utl_estr_substitute("x[n]", 1, "[", "]",
                                    [](const char*, char, char, void*, long* r, long, char**) -> long {
                                      *r = 0;
                                      return 0;
                                    },
                                    nullptr, e);
       }},
  };
  for (const auto& c : cases) {
    cmn_alrt_clear(nullptr);
    osl_mem_reset_fail_num();  // the next allocation fails
    long st = c.call();
    osl_mem_disable_fail_mode();
    EXPECT_EQ(st, UTL_NO_MEMORY) << c.what;
    EXPECT_EQ(core_num_alerts(), 1) << c.what;
    EXPECT_EQ(core_top_alert_text().rfind("Cannot allocate memory block of size ", 0), 0u) << c.what;
    EXPECT_EQ(utl_estr_get(e), before) << c.what;
  }
  // With memory, each works.
  ASSERT_EQ(utl_estr_append(e, utl_estr_get(e)), 0);
  EXPECT_EQ(utl_estr_get(e), before + before);
}

TEST_F(UtlEstr, ZeroSeparatedPieces) {
  utl_ty_estr* e = make(nullptr, 1, 1);
  ASSERT_EQ(utl_estr_append_option(e, "ab", 1), 0);
  ASSERT_EQ(utl_estr_append_option(e, "c", 1), 0);
  EXPECT_EQ(length(e), 5);
  EXPECT_EQ(bytes(e, 6), std::string("ab\0c\0\0", 6));
}

TEST_F(UtlEstr, MaximumCutsAndRemembers) {
  utl_ty_estr* e = make(nullptr, 2, 1);
  ASSERT_EQ(utl_estr_set_max(e, 4), 0);
  long max = 0;
  char cut = 9;
  ASSERT_EQ(utl_estr_get_max(e, &max, &cut), 0);
  EXPECT_EQ(max, 4);
  EXPECT_EQ(cut, 0);
  ASSERT_EQ(utl_estr_append(e, "abcdef"), 0);
  EXPECT_STREQ(utl_estr_get(e), "abc");
  EXPECT_EQ(e->size, 4);  // never grown past the maximum
  utl_estr_get_max(e, &max, &cut);
  EXPECT_EQ(cut, 1);
  ASSERT_EQ(utl_estr_append(e, "g"), 0);
  EXPECT_STREQ(utl_estr_get(e), "abc");
  EXPECT_EQ(length(e), 3);
  utl_estr_reset(e);
  utl_estr_get_max(e, &max, &cut);
  EXPECT_EQ(cut, 0);
  ASSERT_EQ(utl_estr_append(e, "ab"), 0);  // 2 characters and the terminator fit
  utl_estr_get_max(e, &max, &cut);
  EXPECT_EQ(cut, 0);
  EXPECT_STREQ(utl_estr_get(e), "ab");
  utl_estr_set_max(e, 0);
  utl_estr_get_max(e, &max, &cut);
  EXPECT_EQ(max, -1);
  ASSERT_EQ(utl_estr_append(e, "cdefgh"), 0);
  EXPECT_STREQ(utl_estr_get(e), "abcdefgh");
}

TEST_F(UtlEstr, MaximumWithZeroSeparatedPieces) {
  utl_ty_estr* e = make(nullptr, 1, 1);
  utl_estr_set_max(e, 6);
  ASSERT_EQ(utl_estr_append_option(e, "ab", 1), 0);  // a b 0 [0]: length 3
  ASSERT_EQ(utl_estr_append_option(e, "cdef", 1), 0);  // cut to 2 bytes: c 0
  EXPECT_EQ(length(e), 5);
  EXPECT_EQ(bytes(e, 6), std::string("ab\0c\0\0", 6));
  // the earlier piece is intact
  EXPECT_STREQ(e->text, "ab");
  // one byte of room left: the terminator takes it and the text before the
  // piece stays whole
  utl_ty_estr* f = make("abc");
  utl_estr_set_max(f, 4);
  ASSERT_EQ(utl_estr_append_option(f, "x", 1), 0);
  EXPECT_STREQ(utl_estr_get(f), "abc");
  EXPECT_EQ(length(f), 3);
}

TEST_F(UtlEstr, BinaryAppendIgnoresTheMaximum) {
  utl_ty_estr* e = make("ab");
  utl_estr_set_max(e, 3);
  ASSERT_EQ(utl_estr_append_binary(e, "x\0y", 3), 0);
  EXPECT_EQ(length(e), 5);
  EXPECT_EQ(bytes(e, 6), std::string("abx\0y\0", 6));
}

TEST_F(UtlEstr, Formatting) {
  utl_ty_estr* e = make("old");
  ASSERT_EQ(utl_estr_sprintf(e, "%s=%ld;", "n", 42L), 0);
  EXPECT_STREQ(utl_estr_get(e), "n=42;");
  ASSERT_EQ(utl_estr_aprintf(e, "%05.1f|%c", 3.14159, 'z'), 0);
  EXPECT_STREQ(utl_estr_get(e), "n=42;003.1|z");
  ASSERT_EQ(utl_estr_cpy(e, "100%% sure %s"), 0);
  EXPECT_STREQ(utl_estr_get(e), "100% sure %s");
}

TEST_F(UtlEstr, OverlongFormattedTextIsRefused) {
  utl_ty_estr* e = make("keep");
  std::string t(40001, 'q');
  EXPECT_EQ(utl_estr_aprintf(e, "%s", t.c_str()), UTL_ESTR_TOO_LONG);
  EXPECT_EQ(core_top_alert_text(),
            "You can only use utl_estr_sprintf/aprintf to format a maximum of 40000 characters into an estr.\n");
  EXPECT_STREQ(utl_estr_get(e), "keep");
  EXPECT_EQ(utl_estr_sprintf(e, "%s!", std::string(40000, 'q').c_str()), UTL_ESTR_TOO_LONG);
  EXPECT_STREQ(utl_estr_get(e), "keep");
  EXPECT_EQ(utl_estr_cpy(e, t.c_str()), UTL_ESTR_TOO_LONG);
  EXPECT_STREQ(utl_estr_get(e), "keep");
  t.pop_back();
  ASSERT_EQ(utl_estr_sprintf(e, "%s", t.c_str()), 0);
  EXPECT_EQ(length(e), 40000);
}

TEST_F(UtlEstr, FormatWritingThroughPercentNIsRefused) {
  utl_ty_estr* e = make("keep");
  int n = 0;
  const char* fmt = "ab%n";
  EXPECT_EQ(utl_estr_aprintf(e, fmt, &n), UTL_BAD_ARG);
  const char* fmt2 = "%ld%-5n";
  EXPECT_EQ(utl_estr_sprintf(e, fmt2, 1L, &n), UTL_BAD_ARG);
  EXPECT_EQ(n, 0);
  EXPECT_STREQ(utl_estr_get(e), "keep");
}

TEST_F(UtlEstr, FromStringCollection) {
  utl_ty_col* c = nullptr;
  ASSERT_EQ(utl_col_make(nullptr, 516, 4, 4, 0, 0, &c), 0);
  for (const char* s : {"a", "b", "c"}) ASSERT_EQ(utl_col_push(c, s, nullptr), 0);
  struct from_case {
    const char* prefix;
    const char* sep;
    const char* suffix;
    const char* expect;
  };
  for (const from_case& fc : {from_case{"(", ",", ")", "(a,b,c)"}, from_case{nullptr, nullptr, nullptr, "abc"},
                              from_case{"in ", ", ", nullptr, "in a, b, c"}}) {
    utl_ty_estr* e = nullptr;
    ASSERT_EQ(utl_estr_from_strcol(c, fc.prefix, fc.sep, fc.suffix, &e), 0);
    EXPECT_STREQ(utl_estr_get(e), fc.expect);
    EXPECT_EQ(e->extend, 50);
    utl_estr_free(nullptr, e);
  }
  utl_col_reset(c);
  utl_ty_estr* e = nullptr;
  ASSERT_EQ(utl_estr_from_strcol(c, "(", ",", ")", &e), 0);
  EXPECT_STREQ(utl_estr_get(e), "()");
  utl_estr_free(nullptr, e);
  utl_col_free(nullptr, c);

  utl_ty_col* longs = nullptr;
  ASSERT_EQ(utl_col_make(nullptr, 512, 4, 4, 0, 0, &longs), 0);
  long v = 1;
  utl_col_push(longs, &v, nullptr);
  e = nullptr;
  EXPECT_EQ(utl_estr_from_strcol(longs, "(", ",", ")", &e), UTL_BAD_ELEM_TYPE);
  EXPECT_EQ(e, nullptr);
  utl_col_free(nullptr, longs);
}

long subst_v(const char* name, char open, char close, void* arg, long* replaced, long size,
             char** result) {
  auto* seen = static_cast<std::vector<std::string>*>(arg);
  seen->push_back(std::string(1, open) + name + close);
  if (std::strcmp(name, "name") == 0) {
    std::snprintf(*result, size, "V");
    *replaced = 1;
  } else if (std::strcmp(name, "other") == 0) {
    static char fixed[] = "OTHER";
    *result = fixed;
    *replaced = 1;
  } else if (std::strcmp(name, "fail") == 0) {
    return 77;
  }
  return 0;
}

struct subst_case {
  const char* text;
  const char* expect;
  long status;
};

class UtlEstrSubst : public UtlEstr, public ::testing::WithParamInterface<subst_case> {};

TEST_P(UtlEstrSubst, Table) {
  const subst_case& p = GetParam();
  utl_ty_estr* e = make(">");
  std::vector<std::string> seen;
  EXPECT_EQ(utl_estr_substitute(p.text, 2, "[{", "]}", subst_v, &seen, e), p.status);
  EXPECT_STREQ(utl_estr_get(e), p.expect);
}

INSTANTIATE_TEST_SUITE_P(
    Table, UtlEstrSubst,
    ::testing::Values(subst_case{"x[name]y", ">xVy", 0}, subst_case{"plain", ">plain", 0},
                      subst_case{"a[b", ">a[b", 0}, subst_case{"a[b{name}", ">a[bV", 0},
                      subst_case{"[keep]{other}", ">[keep]OTHER", 0},
                      subst_case{"{name}[name]{x", ">VV{x", 0}, subst_case{"", ">", 0},
                      subst_case{"q[fail]r", ">q", 77}, subst_case{"[[name]]", ">[[name]]", 0}, subst_case{"[na]me]", ">[na]me]", 0}));

TEST_F(UtlEstr, WriteAtAndTruncate) {
  utl_ty_estr* e = make("abcdef");
  ASSERT_EQ(utl_estr_write_at(e, 2, "XY", 2), 0);
  EXPECT_STREQ(utl_estr_get(e), "abXYef");
  EXPECT_EQ(utl_estr_write_at(e, 5, "XY", 2), 1);
  EXPECT_EQ(utl_estr_write_at(e, -1, "XY", 2), 1);
  EXPECT_STREQ(utl_estr_get(e), "abXYef");
  EXPECT_EQ(utl_estr_truncate(e, 7, 0), 1);
  ASSERT_EQ(utl_estr_truncate(e, 4, 0), 0);
  EXPECT_STREQ(utl_estr_get(e), "abXY");
  EXPECT_EQ(length(e), 4);
  ASSERT_EQ(utl_estr_append(e, "z"), 0);
  EXPECT_STREQ(utl_estr_get(e), "abXYz");

  utl_ty_estr* z = make(nullptr, 1, 1);
  utl_estr_append_option(z, "ab", 1);
  utl_estr_append_option(z, "cd", 1);  // ab0cd0[0], length 6
  EXPECT_EQ(utl_estr_truncate(z, 6, 1), 1);
  ASSERT_EQ(utl_estr_truncate(z, 3, 1), 0);
  EXPECT_EQ(length(z), 3);
  EXPECT_EQ(bytes(z, 5), std::string("ab\0\0\0", 5));
  ASSERT_EQ(utl_estr_append_option(z, "e", 1), 0);
  EXPECT_EQ(bytes(z, 6), std::string("ab\0e\0\0", 6));
}

TEST_F(UtlEstr, CheckingFindsUnknownHandles) {
  EXPECT_EQ(utl_estr_check(nullptr), UTL_BAD_ESTR);
  utl_ty_estr fake{};
  EXPECT_EQ(utl_estr_append(&fake, "x"), UTL_BAD_ESTR);
  EXPECT_EQ(utl_estr_get(&fake), nullptr);
  EXPECT_EQ(core_top_alert_text().rfind("Invalid estring ", 0), 0u);
  utl_ty_estr* e = nullptr;
  ASSERT_EQ(utl_estr_create("t", "x", 1, 1, &e), 0);
  ASSERT_EQ(utl_estr_free("t", e), 0);
  EXPECT_EQ(utl_estr_check(e), UTL_BAD_ESTR);  // freed: found by the live list, never read
  EXPECT_EQ(utl_estr_get_checking(), 1);
}

TEST_F(UtlEstr, FailedGrowthLeavesTheString) {
  utl_ty_estr* e = make("abc", 1, 1);
  osl_mem_reset_fail_num();
  EXPECT_EQ(utl_estr_append(e, std::string(100, 'd').c_str()), UTL_NO_MEMORY);
  osl_mem_disable_fail_mode();
  EXPECT_STREQ(utl_estr_get(e), "abc");
  EXPECT_EQ(length(e), 3);
  ASSERT_EQ(utl_estr_append(e, "d"), 0);
  EXPECT_STREQ(utl_estr_get(e), "abcd");
}

}  // namespace
