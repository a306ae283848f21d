// Collation: word orders under hand-made tables, agreement of GCStrcoll
// with bytewise comparison of GCStrxfrm keys, flags, memory failures.
#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "gc_testsort.h"
#include "mbtext/gc_coll.h"
#include "mbtext/gc_key.h"
#include "mbtext/gc_str.h"

using gctest::SortLib;

namespace {

int sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

int coll(GCLocale* loc, const std::string& a, const std::string& b, uint32_t flags = 0) {
  return sign(GCStrcoll(loc, a.data(), int32_t(a.size()), b.data(), int32_t(b.size()), flags));
}

std::string key(GCLocale* loc, const std::string& s, uint32_t flags = 0) {
  int32_t n = GCStrxfrm(loc, nullptr, 0, s.data(), int32_t(s.size()), flags);
  if (s.empty()) n = 3;
  EXPECT_GE(n, 0);
  std::string k(size_t(n < 0 ? 0 : n), '\x55');
  int32_t m = GCStrxfrm(loc, k.data(), int32_t(k.size()), s.data(), int32_t(s.size()), flags);
  EXPECT_EQ(m, n);
  return k;
}

int keySign(const std::string& a, const std::string& b) {
  // Bytewise: std::string compares chars as unsigned through char_traits.
  return sign(a.compare(b));
}

struct Ordered {
  const char* locale;
  uint32_t flags;
  std::vector<std::string> words; // strictly ascending
};

void PrintTo(const Ordered& o, std::ostream* os) { *os << o.locale << " flags " << o.flags << " " << o.words.size() << " words"; }

class GcCollOrder : public ::testing::TestWithParam<Ordered> {};

TEST_P(GcCollOrder, WordsCollateInTableOrderAndKeysAgree) {
  SortLib lib;
  const Ordered& o = GetParam();
  GCLocale* loc = lib.get(o.locale);
  ASSERT_NE(loc, nullptr);
  for (size_t i = 0; i < o.words.size(); ++i) {
    for (size_t j = 0; j < o.words.size(); ++j) {
      const std::string &a = o.words[i], &b = o.words[j];
      int want = i < j ? -1 : (i > j ? 1 : 0);
      EXPECT_EQ(coll(loc, a, b, o.flags), want) << gctest::hexOf(a) << "| " << gctest::hexOf(b);
      EXPECT_EQ(keySign(key(loc, a, o.flags), key(loc, b, o.flags)), want)
          << gctest::hexOf(a) << "| " << gctest::hexOf(b);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, GcCollOrder,
    ::testing::Values(
        // Case at level 3, accents at level 2, length at level 1.
        Ordered{"English_UnitedStates.Latin1@Default", 0, {"", "a", "A", "\xE0", "\xE1", "ab", "Ab", "b"}},
        // Sharp s expands into s s with a tertiary difference.
        Ordered{"English_UnitedStates.Latin1@Default", 0, {"ss", "\xDF", "SS", "st"}},
        // Special-only characters decide last, by position and weight.
        Ordered{"English_UnitedStates.Latin1@Default", 0, {"coop", "co-op", "co'op", "coop-"}},
        // An expanding character at the end sorts after its first element.
        Ordered{"English_UnitedStates.Latin1@Default", 0, {"a", "\xE6", "af"}},
        // A secondary weight without a primary counts at level 2.
        Ordered{"English_UnitedStates.Latin1@Default", 0, {"e", "e\xB4", "\xE9", "\xE9\xB4"}},
        // Forward secondary order.
        Ordered{"English_UnitedStates.Latin1@Default", 0, {"cote", "cot\xE9", "c\xF4te", "c\xF4t\xE9"}},
        // Reversed secondary order.
        Ordered{"English_UnitedStates.Latin1@French", 0, {"cote", "c\xF4te", "cot\xE9", "c\xF4t\xE9"}},
        // ch is one letter between h and i.
        Ordered{"English_UnitedStates.Latin1@Czech", 0,
                {"cena", "cHata", "ciz\xED", "hrad", "chata", "Chata", "CHATA", "infekce"}},
        // Two apostrophes combine into one special weight.
        Ordered{"English_UnitedStates.Latin1@Czech", 0, {"ab", "a'b", "a''b"}},
        // Primary weights placed in reverse order.
        Ordered{"English_UnitedStates.Latin1@Reverse", 0, {"ba", "ca", "ab", "abc"}},
        // Algorithmic pages and double-byte characters.
        Ordered{"English_UnitedStates.DoubleByte@Default", 0,
                {"a", "\x82\x81", "A", "\x82\x60", "b"}},
        // Ignoring case leaves accents.
        Ordered{"English_UnitedStates.Latin1@Default", GC_COLL_ICASE, {"ab", "\xE0" "B", "\xE1" "b", "ac"}},
        // Ignoring width makes full-width letters their half-width forms.
        Ordered{"English_UnitedStates.DoubleByte@Default", GC_COLL_IWIDTH, {"0", "a", "A", "b"}}));

struct Same {
  const char* locale;
  uint32_t flags;
  std::string a, b;
};

void PrintTo(const Same& s, std::ostream* os) { *os << s.locale << " flags " << s.flags; }

class GcCollEqual : public ::testing::TestWithParam<Same> {};

TEST_P(GcCollEqual, CollateEqualAndHaveEqualKeys) {
  SortLib lib;
  const Same& s = GetParam();
  GCLocale* loc = lib.get(s.locale);
  ASSERT_NE(loc, nullptr);
  EXPECT_EQ(coll(loc, s.a, s.b, s.flags), 0);
  EXPECT_EQ(coll(loc, s.b, s.a, s.flags), 0);
  EXPECT_EQ(key(loc, s.a, s.flags), key(loc, s.b, s.flags));
}

INSTANTIATE_TEST_SUITE_P(
    Tables, GcCollEqual,
    ::testing::Values(
        Same{"English_UnitedStates.Latin1@Default", 0, "", ""},
        // Characters without weights do not count.
        Same{"English_UnitedStates.Latin1@Default", 0, "a\x01" "b", "ab"},
        // Trailing default secondary and tertiary weights do not count.
        Same{"English_UnitedStates.Latin1@Default", 0, "a\xB7", "a"},
        Same{"English_UnitedStates.Latin1@French", 0, "\xB7" "a\xB7", "a"},
        // An expansion equals its two letters.
        Same{"English_UnitedStates.Latin1@Default", 0, "\xE6", "ae"},
        Same{"English_UnitedStates.Latin1@Default", GC_COLL_ICASE, "Abc", "aBC"},
        // The language's special upper-case mapping: sharp s is SS.
        Same{"German_Germany.Latin1@Default", GC_COLL_ICASE, "stra\xDF" "e", "STRASSE"},
        Same{"English_UnitedStates.DoubleByte@Default", GC_COLL_IWIDTH, "\x82\x60\x82\x81", "Aa"},
        Same{"English_UnitedStates.DoubleByte@Default", GC_COLL_IWIDTH, "\x82\x4F", "0"},
        // A truncated double-byte character at the end is ignored.
        Same{"English_UnitedStates.DoubleByte@Default", 0, "ab\x82", "ab"},
        // Without a sort object: the plain comparison without regard to case.
        Same{"English_UnitedStates.Latin1@Binary", GC_COLL_ICASE, "Hello", "hELLO"}));

TEST(GcCollFlags, CaseInsensitiveWithoutSpecialMappingsKeepsSharpS) {
  SortLib lib;
  GCLocale* loc = lib.get("English_UnitedStates.Latin1@Default");
  EXPECT_LT(coll(loc, "stra\xDF" "e", "STRASSE", GC_COLL_ICASE), 0);
  EXPECT_EQ(coll(loc, "stra\xDF" "e", "STRA\xDF" "E", GC_COLL_ICASE), 0);
}

TEST(GcCollFlags, CharacterLengthsAndLimitedLengths) {
  SortLib lib;
  GCLocale* loc = lib.get("English_UnitedStates.DoubleByte@Default");
  // Two characters of each: the double-byte "aA" against "ab".
  const char* wide = "\x82\x81\x82\x60Z";
  EXPECT_LT(GCStrcoll(loc, wide, 2, "ab", 2, GC_FL_CHARS), 0);
  EXPECT_EQ(GCStrcoll(loc, wide, 2, "aA", 2, GC_FL_CHARS | GC_COLL_IWIDTH), 0);
  EXPECT_EQ(GCStrcoll(loc, "abcX", 3, "abcY", 3, 0), 0);
  EXPECT_EQ(GCStrcoll(loc, "abcX", -1, "abcX", -1, 0), 0);
}

TEST(GcCollFlags, BadFlagsAreRefused) {
  SortLib lib;
  GCLocale* loc = lib.get("English_UnitedStates.Latin1@Default");
  for (uint32_t f : {0x40u, 0x80000042u, 0x80000000u, 0x2000u}) {
    loc->status = 0;
    EXPECT_EQ(GCStrcoll(loc, "a", -1, "b", -1, f), 0) << f;
    EXPECT_EQ(GCGetError(loc), GC_E_ARG) << f;
    loc->status = 0;
    char buf[16];
    EXPECT_EQ(GCStrxfrm(loc, buf, 16, "a", -1, f), -1) << f;
    EXPECT_EQ(GCGetError(loc), GC_E_ARG) << f;
  }
}

TEST(GcCollFlags, SuccessLeavesTheStatusAlone) {
  SortLib lib;
  GCLocale* loc = lib.get("English_UnitedStates.Latin1@Default");
  loc->status = 77;
  EXPECT_LT(GCStrcoll(loc, "a", -1, "b", -1, 0), 0);
  EXPECT_LT(GCStrcoll(loc, "a", -1, "B", -1, GC_COLL_ICASE), 0);
  char buf[32];
  EXPECT_GT(GCStrxfrm(loc, buf, 32, "abc", -1, 0), 0);
  EXPECT_EQ(GCGetError(loc), 77u);
}

TEST(GcCollNoSort, WidthInsensitiveIsThePlainComparison) {
  SortLib lib;
  GCLocale* loc = lib.get("English_UnitedStates.Latin1@Binary");
  EXPECT_NE(coll(loc, "abc", "ABC", GC_COLL_IWIDTH), 0);
  EXPECT_GT(coll(loc, "abc", "ABC", GC_COLL_IWIDTH), 0); // 'a' > 'A' by value
  EXPECT_LT(coll(loc, "ab", "abc", 0), 0);
  // Without a sort object the transformation is the text itself.
  char buf[8] = "xxxxxxx";
  EXPECT_EQ(GCStrxfrm(loc, buf, 8, "Hey", -1, 0), 3);
  EXPECT_EQ(std::string(buf, 3), "Hey");
  EXPECT_EQ(GCStrxfrm(loc, buf, 8, "Hey", -1, GC_COLL_ICASE), 3);
  EXPECT_EQ(std::string(buf, 3), "HEY");
  // Too small: the length is returned and nothing is written.
  char small[2] = {'q', 'q'};
  EXPECT_EQ(GCStrxfrm(loc, small, 2, "Hey", -1, 0), 3);
  EXPECT_EQ(small[0], 'q');
}

TEST(GcCollXfrm, EmptyTextGivesThreeZeroBytes) {
  SortLib lib;
  for (const char* name : {"English_UnitedStates.Latin1@Default", "English_UnitedStates.Latin1@Binary"}) {
    GCLocale* loc = lib.get(name);
    char buf[5] = {'x', 'x', 'x', 'x', 'x'};
    EXPECT_EQ(GCStrxfrm(loc, buf, 5, "", -1, 0), 3) << name;
    EXPECT_EQ(std::string(buf, 5), std::string("\0\0\0xx", 5)) << name;
    char two[3] = {'x', 'x', 'x'};
    EXPECT_EQ(GCStrxfrm(loc, two, 2, "", -1, 0), 3) << name;
    EXPECT_EQ(std::string(two, 3), std::string("\0\0x", 3)) << name;
    EXPECT_EQ(GCStrxfrm(loc, buf, 0, "", -1, 0), 3) << name;  // a size query gets the whole length
    EXPECT_EQ(GCStrxfrm(loc, nullptr, 0, "", -1, 0), 3) << name;
  }
}

// Out of memory never makes two different texts equal.
TEST(GcCollMemory, FailedAllocationComparesByValueAndSetsTheStatus) {
  SortLib lib;
  GCLocale* loc = lib.get("English_UnitedStates.Latin1@Default");
  ASSERT_EQ(coll(loc, "a\x01" "b", "ab"), 0);
  for (uint32_t flags : {0u, GC_COLL_ICASE, GC_COLL_IWIDTH}) {
    loc->status = 0;
    gctest::gcTestFailAllocs = 1;
    EXPECT_NE(coll(loc, "a\x01" "b", "ab", flags), 0) << flags;
    EXPECT_EQ(GCGetError(loc), GC_E_NOMEM) << flags;
    gctest::gcTestFailAllocs = 0;
  }
  // Any one of the allocations of the case-insensitive path failing
  // counts the same.
  for (int pass = 0; pass < 4; ++pass) {
    loc->status = 0;
    gctest::gcTestPassAllocs = pass;
    gctest::gcTestFailAllocs = 1;
    EXPECT_NE(coll(loc, "a\x01" "b", "ab", GC_COLL_ICASE), 0) << pass;
    EXPECT_EQ(GCGetError(loc), GC_E_NOMEM) << pass;
    gctest::gcTestPassAllocs = 0;
    gctest::gcTestFailAllocs = 0;
  }
  char buf[64];
  loc->status = 0;
  gctest::gcTestFailAllocs = 1;
  EXPECT_EQ(GCStrxfrm(loc, buf, 64, "abc", -1, 0), -1);
  EXPECT_EQ(GCGetError(loc), GC_E_NOMEM);
  gctest::gcTestFailAllocs = 0;
}

// Random texts over each table: GCStrcoll agrees in sign with the
// bytewise comparison of the keys, is antisymmetric and reflexive.
struct RandomCase {
  const char* locale;
  uint32_t flags;
  std::vector<std::string> alphabet;
};

void PrintTo(const RandomCase& r, std::ostream* os) { *os << r.locale << " flags " << r.flags; }

class GcCollRandom : public ::testing::TestWithParam<RandomCase> {};

TEST_P(GcCollRandom, CollationAgreesWithKeys) {
  SortLib lib;
  const RandomCase& rc = GetParam();
  GCLocale* loc = lib.get(rc.locale);
  ASSERT_NE(loc, nullptr);
  std::mt19937 rng(20261210u);
  std::uniform_int_distribution<int> len(0, 7), pick(0, int(rc.alphabet.size()) - 1);
  auto text = [&] {
    std::string s;
    for (int n = len(rng); n > 0; --n) s += rc.alphabet[size_t(pick(rng))];
    return s;
  };
  std::vector<std::string> pool;
  for (int i = 0; i < 120; ++i) pool.push_back(text());
  // Near neighbours: one change of a text already in the pool.
  for (int i = 0; i < 120; ++i) {
    std::string s = pool[size_t(i)];
    if (!s.empty()) s.erase(size_t(rng() % s.size()), 1);
    s.insert(size_t(rng() % (s.size() + 1)), rc.alphabet[size_t(pick(rng))]);
    pool.push_back(s);
  }
  std::vector<std::string> keys;
  for (const std::string& s : pool) keys.push_back(key(loc, s, rc.flags));
  int disagreements = 0;
  for (size_t i = 0; i < pool.size(); ++i) {
    EXPECT_EQ(coll(loc, pool[i], pool[i], rc.flags), 0);
    for (size_t j = i + 1; j < pool.size(); j += 3) {
      int c = coll(loc, pool[i], pool[j], rc.flags);
      int back = coll(loc, pool[j], pool[i], rc.flags);
      int k = keySign(keys[i], keys[j]);
      if (c != k || back != -c) {
        if (++disagreements <= 5)
          ADD_FAILURE() << gctest::hexOf(pool[i]) << "| " << gctest::hexOf(pool[j]) << " coll " << c
                        << " back " << back << " key " << k;
      }
    }
  }
  EXPECT_EQ(disagreements, 0);
}

const std::vector<std::string> kLatin = {"a", "A", "b", "c", "h", "s", "\xDF", "\xE6", "\xE0", "\xE9",
                                         "\xC9", "-", "'", " ", "1", "\x01", "\xA0", "e", "E", "\xB7", "\xB4"};
const std::vector<std::string> kCzech = {"c", "C", "h", "H", "a", "'", "-", "\xDF", "i", "\xE9", "\xB7"};
const std::vector<std::string> kDouble = {"a",      "A",      "0",       "\x82\x60", "\x82\x81",
                                          "\x82\x4F", "\x81\x40", " ",      "-",        "b",
                                          "\x83",   "\x82"};
// UTF-8: a character beyond U+FFFF has no UCS-2 value; algorithmic pages;
// a cut sequence.
const std::vector<std::string> kUtf8 = {"a", "B", "\xC3\xA4", "\xE4\xB8\x85", "\xE4\xB8\x86", "\xE2\x80\x83",
                                        "\xF0\x9F\x98\x80", "-", "\xE4\xB8", "\xC3\x9F", "s"};

INSTANTIATE_TEST_SUITE_P(
    Tables, GcCollRandom,
    ::testing::Values(RandomCase{"English_UnitedStates.Latin1@Default", 0, kLatin},
                      RandomCase{"English_UnitedStates.Latin1@Default", GC_COLL_ICASE, kLatin},
                      RandomCase{"German_Germany.Latin1@Default", GC_COLL_ICASE, kLatin},
                      RandomCase{"English_UnitedStates.Latin1@French", 0, kLatin},
                      RandomCase{"English_UnitedStates.Latin1@Reverse", 0, kLatin},
                      RandomCase{"English_UnitedStates.Latin1@Czech", 0, kCzech},
                      RandomCase{"English_UnitedStates.Latin1@Czech", GC_COLL_ICASE, kCzech},
                      RandomCase{"English_UnitedStates.DoubleByte@Default", 0, kDouble},
                      RandomCase{"English_UnitedStates.DoubleByte@Default", GC_COLL_IWIDTH, kDouble},
                      RandomCase{"English_UnitedStates.UTF-8@Default", 0, kUtf8}));

// The fast path decides on the first differing primary weight without
// reading further; long texts after it do not change the result.
TEST(GcCollFast, FirstPrimaryDifferenceDecides) {
  SortLib lib;
  GCLocale* loc = lib.get("English_UnitedStates.Latin1@Default");
  std::string tail(5000, 'z');
  EXPECT_LT(coll(loc, "a" + tail, "b"), 0);
  EXPECT_GT(coll(loc, "b", "a" + tail), 0);
  EXPECT_LT(coll(loc, "A" + tail, "a" + tail + "a"), 0);
  // A difference only at level 3 after a long common part.
  EXPECT_LT(coll(loc, tail + "a", tail + "A"), 0);
  // Ignorable characters between primaries.
  EXPECT_LT(coll(loc, "x-b", "xc"), 0);
  EXPECT_GT(coll(loc, "xb", "x-a"), 0);
}

// Positions of special weights do not wrap on long texts.
TEST(GcCollLong, PositionsBeyondSixteenBitsDoNotWrap) {
  SortLib lib;
  GCLocale* loc = lib.get("English_UnitedStates.Latin1@Default");
  std::string base(70000, 'a');
  std::string early = base.substr(0, 3) + "-" + base.substr(3);
  std::string late = base + "-";
  // The hyphen at position 4 comes before the one at position 70001.
  EXPECT_LT(coll(loc, early, late), 0);
  EXPECT_LT(keySign(key(loc, early), key(loc, late)), 0);
}

// Long runs of weights placed in reverse order take linear time.
TEST(GcCollLong, LongReversedRuns) {
  SortLib lib;
  for (const char* name : {"English_UnitedStates.Latin1@French", "English_UnitedStates.Latin1@Reverse"}) {
    GCLocale* loc = lib.get(name);
    std::string a, b;
    for (int i = 0; i < 200000; ++i) {
      a += i % 3 ? "e" : "\xE9";
      b += i % 3 ? "e" : "\xE9";
    }
    b[0] = 'e';
    EXPECT_NE(coll(loc, a, b), 0) << name;
    EXPECT_EQ(coll(loc, a, a), 0) << name;
    EXPECT_EQ(keySign(key(loc, a), key(loc, b)), coll(loc, a, b)) << name;
  }
}

} // namespace

namespace {

// Reading elements one at a time: combinations, read-ahead characters and
// the position counter.
TEST(GcCollNextWeight, ElementsOfCzechText) {
  SortLib lib;
  GCLocale* loc = lib.get("English_UnitedStates.Latin1@Czech");
  struct Step {
    int result;
    uint16_t primary, special;
    uint8_t tertiary;
    int32_t remaining;
    uint32_t position;
    GCUChar look;
  };
  struct Case {
    const char* text;
    std::vector<Step> steps;
  };
  const uint16_t c = gctest::latinPrimary('c'), a = gctest::latinPrimary('a'), s = gctest::latinPrimary('s');
  const Case cases[] = {
      // c reads a ahead, which does not combine: it is held, and counted
      // in the remaining bytes so the text does not look finished.
      {"ca", {{1, c, 0, 2, 1, 1, 'a'}, {1, a, 0, 2, 0, 2, 0xFFFF}}},
      {"Ch-", {{1, gctest::kChPrimary, 0, 8, 1, 2, 0xFFFF}, {1, 0, gctest::kHyphenSpecial, 0, 0, 3, 0xFFFF}}},
      {"\xDF" "a", {{2, s, 0, 4, 1, 1, 'a'}, {1, a, 0, 2, 0, 2, 0xFFFF}}},
      // A record of zero weights is one element that places nothing; then the
      // text has ended.
      {"\x01", {{1, 0, 0, 0, 0, 1, 0xFFFF}, {0, 0xEE, 0xEE, 0xEE, 0, 1, 0xFFFF}}},
  };
  for (const Case& cs : cases) {
    const char* p = cs.text;
    int32_t remaining = int32_t(std::string(cs.text).size());
    uint32_t position = 0;
    GCUChar look = 0xFFFF;
    for (const Step& st : cs.steps) {
      uint16_t p1 = 0xEE, sp = 0xEE, p2 = 0xEE, sp2 = 0xEE;
      uint8_t s1 = 0xEE, t1 = 0xEE, s2 = 0xEE, t2 = 0xEE, order = 0xEE;
      int r = GCStrGetNextWeight(loc, &p, &remaining, &position, &p1, &s1, &t1, &sp, &p2, &s2, &t2, &sp2,
                                 &order, &look);
      EXPECT_EQ(r, st.result) << cs.text;
      EXPECT_EQ(p1, st.primary) << cs.text;
      EXPECT_EQ(sp, st.special) << cs.text;
      EXPECT_EQ(t1, st.tertiary) << cs.text;
      EXPECT_EQ(remaining, st.remaining) << cs.text;
      EXPECT_EQ(position, st.position) << cs.text;
      EXPECT_EQ(look, st.look) << cs.text;
      if (r == 2) {
        EXPECT_EQ(p2, s) << cs.text;
      }
    }
  }
}

TEST(GcCollNoSort, FlagsAreThoseOfTheStringComparison) {
  SortLib lib;
  GCLocale* loc = lib.get("English_UnitedStates.Latin1@Binary");
  loc->status = 0;
  EXPECT_EQ(GCStrcoll(loc, "a", -1, "b", -1, 0x10), 0);
  EXPECT_EQ(GCGetError(loc), GC_E_ARG);
  EXPECT_EQ(GCStrcoll(loc, "abc", -1, "ABC", -1, 0x80002040), 0);
  EXPECT_EQ(GCGetError(loc), 0u);
  EXPECT_EQ(GCStrcoll(loc, "a\x82", 3, "a\x82", 3, GC_FL_CHARS), 0);
}

} // namespace
