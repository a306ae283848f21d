// Sort-key layout: the bytes of keys from the hand-made tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gc_testsort.h"
#include "mbtext/gc_coll.h"
#include "mbtext/gc_coll_int.h"
#include "mbtext/gc_key.h"

using gctest::latinPrimary;
using gctest::SortLib;

namespace {

using Bytes = std::vector<uint8_t>;

void add16(Bytes& b, uint16_t v) {
  b.push_back(uint8_t(v >> 8));
  b.push_back(uint8_t(v));
}

Bytes keyOf(GCLocale* loc, const std::string& s, uint32_t flags = 0) {
  Bytes k(256, 0xAA);
  int32_t n = GCStrxfrm(loc, reinterpret_cast<char*>(k.data()), int32_t(k.size()), s.data(),
                        int32_t(s.size()), flags);
  EXPECT_GT(n, 0);
  k.resize(size_t(n < 0 ? 0 : n));
  return k;
}

struct KeyCase {
  const char* name;
  const char* locale;
  std::string text;
  Bytes key;
};

Bytes primaries(std::initializer_list<uint16_t> ps) {
  Bytes b;
  for (uint16_t p : ps) add16(b, p);
  return b;
}

Bytes cat(std::initializer_list<Bytes> parts) {
  Bytes b;
  for (const Bytes& p : parts) b.insert(b.end(), p.begin(), p.end());
  return b;
}

std::vector<KeyCase> keyCases() {
  const uint16_t a = latinPrimary('a'), b = latinPrimary('b'), c = latinPrimary('c'), s = latinPrimary('s'),
                 o = latinPrimary('o'), t = latinPrimary('t'), e = latinPrimary('e');
  const char* L = "English_UnitedStates.Latin1@Default";
  return {
      // Default secondary and tertiary weights at the end are dropped:
      // two separators in a row.
      {"plain", L, "ab", cat({primaries({a, b}), {0, 0, 0}})},
      {"upper first", L, "Ab", cat({primaries({a, b}), {0, 0, 8, 0}})},
      {"upper last", L, "aB", cat({primaries({a, b}), {0, 0, 2, 8, 0}})},
      {"accent", L, "\xE0" "b", cat({primaries({a, b}), {0, 3, 0, 0}})},
      // Special weights only: no positions.
      {"only special", L, "-'", {0, 0, 0, 0x00, 0x10, 0x00, 0x11}},
      // Special weights after others: (position, weight).
      {"special", L, "a-", cat({primaries({a}), {0, 0, 0, 0x00, 0x02, 0x00, 0x10}})},
      // An expansion gives two elements at one position.
      {"expansion", L, "\xDF", cat({primaries({s, s}), {0, 0, 4, 4, 0}})},
      {"expansion upper", L, "\xC6", cat({primaries({a, e}), {0, 0, 8, 8, 0}})},
      // No weights at all.
      {"controls", L, "\x01\x02", {0, 0, 0}},
      // An expanding character without an expansion record has no weights.
      {"no expansion", L, "\xA0" "a", cat({primaries({a}), {0, 0, 0}})},
      // Reversed secondary weights.
      {"french", "English_UnitedStates.Latin1@French", "c\xF4t\xE9",
       cat({primaries({c, o, t, e}), {0, 5, 2, 6, 0, 0}})},
      {"forward", L, "c\xF4t\xE9", cat({primaries({c, o, t, e}), {0, 2, 6, 2, 5, 0, 0}})},
      // A combination is one element; the special weight after a character
      // read ahead keeps its own position.
      {"combination", "English_UnitedStates.Latin1@Czech", "cha",
       cat({primaries({gctest::kChPrimary, a}), {0, 0, 0}})},
      {"read ahead", "English_UnitedStates.Latin1@Czech", "c-",
       cat({primaries({c}), {0, 0, 0, 0x00, 0x02, 0x00, 0x10}})},
      {"special combination", "English_UnitedStates.Latin1@Czech", "a''",
       cat({primaries({a}), {0, 0, 0, 0x00, 0x03, 0x00, 0x20}})},
      // Algorithmic pages (U+4E05 and U+2003 in UTF-8).
      {"algorithmic", "English_UnitedStates.UTF-8@Default", "\xE4\xB8\x85", cat({primaries({0x5005}), {0, 0, 0}})},
      {"algorithmic special", "English_UnitedStates.UTF-8@Default", "\xE2\x80\x83", {0, 0, 0, 0x01, 0x03}},
      // Primary weights placed in reverse order.
      {"reverse", "English_UnitedStates.Latin1@Reverse", "abc", cat({primaries({c, b, a}), {0, 0, 0}})},
  };
}

TEST(GcKeyLayout, KeysOfHandMadeTables) {
  SortLib lib;
  for (const KeyCase& kc : keyCases()) {
    GCLocale* loc = lib.get(kc.locale);
    ASSERT_NE(loc, nullptr) << kc.name;
    EXPECT_EQ(keyOf(loc, kc.text), kc.key) << kc.name;
  }
}

// Weights whose order bit is clear come out in reverse order at the
// insertion point; an appended weight moves the insertion point to the end.
TEST(GcKeyLayout, InsertWeights) {
  struct Step {
    uint8_t w;
    bool append;
  };
  struct Case {
    std::vector<Step> steps;
    Bytes level;
  };
  const Case cases[] = {
      {{{1, true}, {2, false}, {3, false}, {4, true}, {5, false}}, {1, 3, 2, 4, 5}},
      {{{1, false}, {2, false}, {3, false}}, {3, 2, 1}},
      {{{1, true}, {2, true}}, {1, 2}},
      {{{1, false}, {0, false}, {2, true}, {3, false}, {4, false}, {5, true}}, {1, 2, 4, 3, 5}},
  };
  for (const Case& c : cases) {
    Bytes work(64, 0xEE);
    GCSortLevels lv;
    gcSortLevelsInit(&lv, work.data(), 3);
    for (const Step& st : c.steps) {
      // The same weight at every level; the order bit of each level alike.
      GCStrInsertWeights(&lv, uint16_t(0x100 * st.w), st.w, st.w, st.w, 7, st.append ? 0xF : 0x0);
    }
    gcSortLevelsFinish(&lv);
    ASSERT_EQ(lv.end2, c.level.size());
    EXPECT_EQ(Bytes(lv.l2, lv.l2 + lv.end2), c.level);
    EXPECT_EQ(Bytes(lv.l3, lv.l3 + lv.end3), c.level);
    for (size_t i = 0; i < c.level.size(); ++i) {
      EXPECT_EQ(lv.l1[2 * i], c.level[i]);
      EXPECT_EQ(lv.l4[4 * i + 1], 7);
      EXPECT_EQ(lv.l4[4 * i + 3], c.level[i]);
    }
  }
}

TEST(GcKeyLayout, KeyIsWrittenOnlyWhenItFits) {
  SortLib lib;
  GCLocale* loc = lib.get("English_UnitedStates.Latin1@Default");
  Bytes full = keyOf(loc, "abc");
  ASSERT_EQ(full.size(), 9u);
  for (int32_t size : {0, 1, 8}) {
    Bytes buf(16, 0xAA);
    EXPECT_EQ(GCStrxfrm(loc, reinterpret_cast<char*>(buf.data()), size, "abc", -1, 0), 9) << size;
    EXPECT_EQ(buf, Bytes(16, 0xAA)) << size;
  }
  // Exactly the key's size: written, nothing beyond it touched.
  Bytes buf(16, 0xAA);
  EXPECT_EQ(GCStrxfrm(loc, reinterpret_cast<char*>(buf.data()), 9, "abc", -1, 0), 9);
  EXPECT_EQ(Bytes(buf.begin(), buf.begin() + 9), full);
  EXPECT_EQ(buf[9], 0xAA);
}

TEST(GcKeyLayout, WorkAreaInTheDestinationIsClearedAfterTheKey) {
  SortLib lib;
  GCLocale* loc = lib.get("English_UnitedStates.Latin1@Default");
  GCUChar text[] = {'a', 'B', '-'};
  Bytes buf(200, 0xAA);
  long before = gctest::gcTestAllocCount;
  int32_t n = GCStrGenSortKey(loc, buf.data(), 190, text, 3);
  EXPECT_EQ(gctest::gcTestAllocCount, before); // no allocation: the destination was large enough
  Bytes want = cat({primaries({latinPrimary('a'), latinPrimary('b')}), {0, 0, 2, 8, 0, 0x00, 0x03, 0x00, 0x10}});
  ASSERT_EQ(n, int32_t(want.size()));
  EXPECT_EQ(Bytes(buf.begin(), buf.begin() + n), want);
  for (size_t i = size_t(n); i < 190; ++i) ASSERT_EQ(buf[i], 0) << i;
  EXPECT_EQ(buf[190], 0xAA);
}

TEST(GcKeyLayout, GenSortKeyEdges) {
  SortLib lib;
  GCLocale* loc = lib.get("English_UnitedStates.Latin1@Default");
  uint8_t buf[8] = {9, 9, 9, 9, 9, 9, 9, 9};
  EXPECT_EQ(GCStrGenSortKey(loc, buf, 8, nullptr, 0), 3);
  EXPECT_EQ(Bytes(buf, buf + 4), (Bytes{0, 0, 0, 9}));
  uint8_t two[2] = {9, 9};
  EXPECT_EQ(GCStrGenSortKey(loc, two, 2, nullptr, 0), 3);
  EXPECT_EQ(Bytes(two, two + 2), (Bytes{9, 9}));
  // A terminated UCS-2 text with a negative count.
  GCUChar text[] = {'b', 'a', 0};
  Bytes k(32, 0);
  EXPECT_EQ(GCStrGenSortKey(loc, k.data(), 32, text, -1), 7);
  EXPECT_EQ(Bytes(k.begin(), k.begin() + 7), cat({primaries({latinPrimary('b'), latinPrimary('a')}), {0, 0, 0}}));
  // A failed work-area allocation (small destination) gives -1.
  gctest::gcTestFailAllocs = 1;
  EXPECT_EQ(GCStrGenSortKey(loc, k.data(), 4, text, 2), -1);
  gctest::gcTestFailAllocs = 0;
}

TEST(GcKeyLayout, CaseAndWidthFlags) {
  SortLib lib;
  GCLocale* en = lib.get("English_UnitedStates.Latin1@Default");
  GCLocale* de = lib.get("German_Germany.Latin1@Default");
  GCLocale* db = lib.get("English_UnitedStates.DoubleByte@Default");
  const uint16_t a = latinPrimary('a'), s = latinPrimary('s');
  EXPECT_EQ(keyOf(en, "aA", GC_COLL_ICASE), cat({primaries({a, a}), {0, 0, 8, 8, 0}}));
  // German: sharp s is replaced by SS before weighing.
  EXPECT_EQ(keyOf(de, "\xDF", GC_COLL_ICASE), cat({primaries({s, s}), {0, 0, 8, 8, 0}}));
  // English keeps it (upper case of sharp s is itself).
  EXPECT_EQ(keyOf(en, "\xDF", GC_COLL_ICASE), cat({primaries({s, s}), {0, 0, 4, 4, 0}}));
  // Full-width A becomes A.
  EXPECT_EQ(keyOf(db, "\x82\x60", GC_COLL_IWIDTH), cat({primaries({a}), {0, 0, 8, 0}}));
  EXPECT_EQ(keyOf(db, "\x82\x60", 0), cat({primaries({a}), {0, 0, 9, 0}}));
}

} // namespace
