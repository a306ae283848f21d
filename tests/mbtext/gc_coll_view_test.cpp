// GCStrcoll decides from the texts' first bytes before it measures them:
// texts that differ around the end of that first piece, with combinations
// and expansions across it, compare as their sort keys do, whether the
// lengths are given or the texts are terminated.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "gc_testsort.h"
#include "mbtext/gc_coll.h"
#include "mbtext/gc_key.h"

namespace {

int sign(long v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

int keyCompare(GCLocale* loc, const std::string& a, const std::string& b) {
  std::string ka(4096, '\0'), kb(4096, '\0');
  int32_t na = GCStrxfrm(loc, ka.data(), int32_t(ka.size()), a.c_str(), -1, 0);
  int32_t nb = GCStrxfrm(loc, kb.data(), int32_t(kb.size()), b.c_str(), -1, 0);
  EXPECT_GE(na, 0);
  EXPECT_GE(nb, 0);
  return sign(ka.substr(0, size_t(na)).compare(kb.substr(0, size_t(nb))));
}

TEST(GcCollView, TextsDifferingAroundTheFirstPieceCompareAsTheirKeys) {
  gctest::SortLib lib;
  std::mt19937 rng(12);
  const std::string letters = "aachhcCH -'\xDF\xE6\xE9";
  for (const char* name : {"English_UnitedStates.Latin1@Czech", "English_UnitedStates.Latin1@Default",
                           "English_UnitedStates.Latin1@French"}) {
    GCLocale* loc = lib.get(name);
    ASSERT_NE(loc, nullptr);
    for (int round = 0; round < 400; ++round) {
      std::string common;
      for (size_t n = 50 + rng() % 20; common.size() < n;) common += letters[rng() % letters.size()];
      std::string a = common, b = common;
      for (int k = int(rng() % 6); k > 0; --k) a += letters[rng() % letters.size()];
      for (int k = int(rng() % 6); k > 0; --k) b += letters[rng() % letters.size()];
      const int want = keyCompare(loc, a, b);
      ASSERT_EQ(sign(GCStrcoll(loc, a.c_str(), -1, b.c_str(), -1, 0)), want) << name << " [" << a << "] [" << b << "]";
      ASSERT_EQ(sign(GCStrcoll(loc, a.c_str(), int32_t(a.size()), b.c_str(), int32_t(b.size()), 0)), want) << name;
      ASSERT_EQ(sign(GCStrcoll(loc, b.c_str(), -1, a.c_str(), -1, 0)), -want) << name;
    }
  }
}

// A combination whose first character ends the first piece and whose
// second one starts the rest.
TEST(GcCollView, CombinationAcrossTheFirstPiece) {
  gctest::SortLib lib;
  GCLocale* loc = lib.get("English_UnitedStates.Latin1@Czech");
  ASSERT_NE(loc, nullptr);
  for (size_t at = 56; at < 72; ++at) {
    std::string ch = std::string(at, 'a') + "ch", ci = std::string(at, 'a') + "ci";
    std::string hx = std::string(at, 'a') + "hx";
    // ch sorts between h and i.
    EXPECT_EQ(sign(GCStrcoll(loc, ch.c_str(), -1, ci.c_str(), -1, 0)), 1) << at;
    EXPECT_EQ(sign(GCStrcoll(loc, ch.c_str(), -1, hx.c_str(), -1, 0)), 1) << at;
    EXPECT_EQ(sign(GCStrcoll(loc, ch.c_str(), -1, hx.c_str(), -1, 0)), keyCompare(loc, ch, hx)) << at;
  }
}

} // namespace
