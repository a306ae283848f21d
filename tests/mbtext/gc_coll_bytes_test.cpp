// The weights each loaded sort keeps for U+0000-U+00FF and the comparisons
// that read through them: every result against the same sort without its
// kept table (each weight looked up), on random texts of every page and
// sort, a locale whose sort changes between calls, and the table's life.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "gc_testsort.h"
#include "mbtext/gc_coll.h"
#include "mbtext/gc_key.h"
#include "mbtext/gc_sort_int.h"

using gctest::SortLib;

namespace {

// The locale with a copy of its sort entry that has no kept table: every
// weight is looked up in the sort's records, as before the table.
struct Unkept {
  GCObj sort;
  GCLocale loc;
  explicit Unkept(const GCLocale* from) : sort(*from->sort), loc(*from) {
    sort.flags = uint8_t(sort.flags & ~(GC_OBJ_ALLOC0 << GC_SORT_BYTES_SECTION));
    loc.sort = &sort;
  }
};

std::string randomText(std::mt19937& rng, const std::string& alphabet, size_t maxLen) {
  std::string s;
  for (size_t n = rng() % (maxLen + 1); n > 0; --n) s += alphabet[rng() % alphabet.size()];
  return s;
}

// Texts that mostly share a long start, so that late characters decide.
void compareMany(GCLocale* kept, const std::string& alphabet, unsigned seed) {
  ASSERT_NE(gcSortBytes(kept->sort), nullptr);
  Unkept plain(kept);
  ASSERT_EQ(gcSortBytes(plain.loc.sort), nullptr);
  std::mt19937 rng(seed);
  for (int iter = 0; iter < 3000; ++iter) {
    std::string a = randomText(rng, alphabet, 12), b = a;
    std::string tail = randomText(rng, alphabet, 90);
    a += tail;
    b += rng() % 4 == 0 ? tail : randomText(rng, alphabet, 90);
    if (rng() % 5 == 0) b = a;
    for (uint32_t flags : {0u, GC_COLL_ICASE}) {
      const int32_t la = rng() % 3 == 0 ? int32_t(a.size()) : -1, lb = la < 0 ? -1 : int32_t(b.size());
      kept->status = plain.loc.status = 0;
      const int want = GCStrcoll(&plain.loc, a.c_str(), la, b.c_str(), lb, flags);
      const int got = GCStrcoll(kept, a.c_str(), la, b.c_str(), lb, flags);
      ASSERT_EQ(got, want) << '"' << a << "\" \"" << b << '"' << flags;
      ASSERT_EQ(kept->status, plain.loc.status);
    }
    std::string k1(2048, 'x'), k2(2048, 'x');
    const int32_t n1 = GCStrxfrm(kept, k1.data(), int32_t(k1.size()), a.c_str(), -1, 0);
    const int32_t n2 = GCStrxfrm(&plain.loc, k2.data(), int32_t(k2.size()), a.c_str(), -1, 0);
    ASSERT_EQ(n1, n2) << a;
    ASSERT_TRUE(k1 == k2) << a.size() << " " << n1;
  }
}

const std::string kLatin1 = "abcdefghijklmnopqrstuvwxyzABCZ \t,.-'0189\x01\xC4\xD6\xDC\xDF\xE4\xE9\xF4\xF6\xFC\xB7\xFF";

TEST(CollBytes, SameResultsAsLookingEachWeightUp) {
  SortLib lib;
  for (const char* name : {"English_UnitedStates.Latin1@Default", "German_Germany.Latin1",
                           "English_UnitedStates.Latin1@French", "English_UnitedStates.Latin1@Czech",
                           "English_UnitedStates.Latin1@Reverse"}) {
    SCOPED_TRACE(name);
    compareMany(lib.get(name), kLatin1 + "chCH", 56);
  }
}

TEST(CollBytes, MultibyteTextsAsWell) {
  SortLib lib;
  // UTF-8 of Latin1 letters, an ideograph and a character cut at the end.
  const std::string utf8 = "abcxyz \xC3\xA4\xC3\xB6\xC3\x9F\xE4\xB8\x80\xE4\xB8\x81";
  GCLocale* loc = lib.get("German_Germany.UTF-8");
  std::mt19937 rng(7);
  Unkept plain(loc);
  for (int iter = 0; iter < 3000; ++iter) {
    std::string a = randomText(rng, utf8, 30), b = a + randomText(rng, utf8, 10);
    a += randomText(rng, utf8, 10);
    const int32_t la = int32_t(a.size()) - int32_t(rng() % 2), lb = int32_t(b.size());
    ASSERT_EQ(GCStrcoll(loc, a.c_str(), la, b.c_str(), lb, 0), GCStrcoll(&plain.loc, a.c_str(), la, b.c_str(), lb, 0))
        << a << " / " << b;
    ASSERT_EQ(GCStrcoll(loc, a.c_str(), -1, b.c_str(), -1, 0), GCStrcoll(&plain.loc, a.c_str(), -1, b.c_str(), -1, 0))
        << a << " / " << b;
  }
}

TEST(CollBytes, ResultsFollowTheLocalesSortBetweenCalls) {
  SortLib lib;
  GCLocale* loc = lib.get("English_UnitedStates.Latin1@Default");
  GCLocale* czech = lib.get("English_UnitedStates.Latin1@Czech");
  GCLocale* reverse = lib.get("English_UnitedStates.Latin1@Reverse");
  // "ch" sorts after "h" only in Czech; "ba" before "ab" only in Reverse.
  GCObj* own = loc->sort;
  EXPECT_LT(GCStrcoll(loc, "chx", -1, "hx", -1, 0), 0);
  loc->sort = czech->sort;
  EXPECT_GT(GCStrcoll(loc, "chx", -1, "hx", -1, 0), 0);
  loc->sort = reverse->sort;
  EXPECT_LT(GCStrcoll(loc, "ba", -1, "ab", -1, 0), 0);
  loc->sort = own;
  EXPECT_GT(GCStrcoll(loc, "ba", -1, "ab", -1, 0), 0);
  EXPECT_LT(GCStrcoll(loc, "chx", -1, "hx", -1, 0), 0);
}

TEST(CollBytes, KeptWithTheLoadedSortOnly) {
  SortLib lib;
  GCLocale* loc = lib.get("English_UnitedStates.Latin1@Default");
  const GCSortBytes* t = gcSortBytes(loc->sort);
  ASSERT_NE(t, nullptr);
  // The table holds what the sort's records give.
  for (int c = 0; c < 256; ++c) {
    GCSortElem e1, e2;
    uint8_t order = 0;
    const int r = gcSortWeights(loc->sort, GCUChar(c), &e1, &e2, &order);
    ASSERT_EQ(t->entry[c].result, r) << c;
    if (r >= 1) {
      EXPECT_EQ(t->entry[c].e1.primary, e1.primary) << c;
      EXPECT_EQ(t->entry[c].order, order) << c;
    }
  }
  EXPECT_EQ(gcSortBytes(nullptr), nullptr);
  GCObj copy = *loc->sort;
  copy.sect_size[GC_SORT_BYTES_SECTION] = 0;  // not the kept table's size
  EXPECT_EQ(gcSortBytes(&copy), nullptr);
}

}  // namespace
