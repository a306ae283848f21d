// String comparison by value and without regard to case, in single-byte,
// double-byte and special-mapping locales.
#include <gtest/gtest.h>

#include <string>

#include "gc_testsort.h"
#include "mbtext/gc_str.h"

namespace {

constexpr const char* kLatin = "English_UnitedStates.Latin1@Binary";
constexpr const char* kDouble = "English_UnitedStates.DoubleByte@Binary";
constexpr const char* kGerman = "German_Germany.Latin1@Binary";

struct CmpCase {
  const char* name;
  const char* locale;
  std::string a;
  int32_t la;
  std::string b;
  int32_t lb;
  uint32_t flags;
  int expect;   // the sign, or the exact value when exact is set
  bool exact;
  uint32_t status;
};

int sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

TEST(GcStrCmp, Table) {
  gctest::SortLib lib;
  const CmpCase cases[] = {
      {"by value less", kLatin, "abc", -1, "abd", -1, 0, -1, false, 0},
      {"by value greater", kLatin, "b", -1, "a", -1, 0, 1, false, 0},
      {"prefix: length difference", kLatin, "ab", -1, "abc", -1, 0, -1, true, 0},
      {"empty first", kLatin, "", -1, "abc", -1, 0, -3, true, 0},
      {"empty second, ignoring case", kLatin, "ab", -1, "", 0, 0x80000040, 2, true, 0},
      {"explicit lengths", kLatin, "abcX", 3, "abcY", 3, 0, 0, true, 0},
      {"embedded NUL", kLatin, std::string("a\0b", 3), 3, std::string("a\0c", 3), 3, 0, -1, false, 0},
      {"case matters by value", kLatin, "abc", -1, "ABC", -1, 0, 1, false, 0},
      {"ignoring case", kLatin, "abc", -1, "ABC", -1, 0x80002040, 0, true, 0},
      {"ignoring case, extended bit only", kLatin, "abc", -1, "ABC", -1, 0x80000000, 0, true, 0},
      {"ignoring case, Latin-1 pair", kLatin, "\xE4x", -1, "\xC4X", -1, 0x80000040, 0, true, 0},
      {"ignoring case, difference", kLatin, "abc", -1, "ABD", -1, 0x80000040, -1, false, 0},
      {"bad flags", kLatin, "a", -1, "b", -1, 0x10, 0, true, GC_E_ARG},
      {"bad flags 8", kLatin, "a", -1, "b", -1, 0x8, 0, true, GC_E_ARG},
      // Double-byte: whole characters only.
      {"single against double byte", kDouble, "a", -1, "\x82\x81", -1, 0x80002040, -1, true, 0},
      {"double against single byte", kDouble, "\x82\x81", -1, "z", -1, 0x80002040, 1, true, 0},
      {"double-byte case", kDouble, "\x82\x81" "a", -1, "\x82\x60" "A", -1, 0x80002040, 0, true, 0},
      {"double-byte by value", kDouble, "\x82\x81", -1, "\x82\x60", -1, 0, 1, false, 0},
      {"cut character ignored", kDouble, "a\x82\x81", 2, "a", 1, 0, 0, true, 0},
      {"cut character ignored, ignoring case", kDouble, "A\x82\x81", 2, "a", -1, 0x80002040, 0, true, 0},
      {"lengths in characters", kDouble, "\x82\x81\x82\x81Q", 2, "\x82\x60\x82\x60R", 2, 0x80006040, 0, true, 0},
      {"lengths in characters, by value", kDouble, "\x82\x81" "ab", 2, "\x82\x81" "ac", 2, 0x4000, 0, true, 0},
      // The language's special upper-case mappings: sharp s is SS.
      {"special mapping", kGerman, "stra\xDF" "e", -1, "STRASSE", -1, 0x80000040, 0, true, 0},
      {"special mapping off", kGerman, "stra\xDF" "e", -1, "STRASSE", -1, 0x80002040, 1, false, 0},
      {"special mapping, longer", kGerman, "\xDF", -1, "S", -1, 0x80000040, 1, true, 0},
      {"no special mapping in English", kLatin, "stra\xDF" "e", -1, "STRASSE", -1, 0x80000040, 1, false, 0},
  };
  for (const CmpCase& c : cases) {
    GCLocale* loc = lib.get(c.locale);
    loc->status = 99;
    int r = GCStrcmp(loc, c.a.data(), c.la, c.b.data(), c.lb, c.flags);
    if (c.exact)
      EXPECT_EQ(r, c.expect) << c.name;
    else
      EXPECT_EQ(sign(r), c.expect) << c.name;
    EXPECT_EQ(GCGetError(loc), c.status) << c.name;
    if (c.status == 0) {
      int back = GCStrcmp(loc, c.b.data(), c.lb, c.a.data(), c.la, c.flags);
      EXPECT_EQ(sign(back), -sign(r)) << c.name;
    }
  }
}

// Out of memory for the mapped copies never makes different texts equal.
TEST(GcStrCmp, NoMemoryComparesByValue) {
  gctest::SortLib lib;
  GCLocale* loc = lib.get(kGerman);
  ASSERT_EQ(GCStrcmp(loc, "stra\xDF" "e", -1, "STRASSE", -1, 0x80000040), 0);
  for (int pass : {0, 1}) { // the first or the second buffer fails
    gctest::gcTestPassAllocs = pass;
    gctest::gcTestFailAllocs = 1;
    loc->status = 0;
    EXPECT_GT(GCStrcmp(loc, "stra\xDF" "e", -1, "STRASSE", -1, 0x80000040), 0) << pass;
    EXPECT_EQ(GCGetError(loc), GC_E_NOMEM) << pass;
    gctest::gcTestPassAllocs = 0;
    gctest::gcTestFailAllocs = 0;
  }
  // Equal texts stay equal by value.
  gctest::gcTestFailAllocs = 1;
  loc->status = 0;
  EXPECT_EQ(GCStrcmp(loc, "Abc", -1, "Abc", -1, 0x80000040), 0);
  EXPECT_EQ(GCGetError(loc), GC_E_NOMEM);
  gctest::gcTestFailAllocs = 0;
  // Memory is needed only with special mappings.
  GCLocale* en = lib.get(kLatin);
  gctest::gcTestFailAllocs = 1;
  EXPECT_EQ(GCStrcmp(en, "Abc", -1, "aBC", -1, 0x80000040), 0);
  EXPECT_EQ(GCGetError(en), 0u);
  gctest::gcTestFailAllocs = 0;
}

} // namespace
