// Sort-table look-ups: weights of characters on every kind of page,
// expansions, combinations, characters sharing a primary weight, and the
// upgrade of old tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gc_testloc.h"
#include "gc_testsort.h"
#include "mbtext/gc_locobj.h"
#include "mbtext/gc_coll.h"
#include "mbtext/gc_sort.h"
#include "mbtext/gc_sort_int.h"
#include "mbtext/gc_sortv1.h"
#include "mbtext/gc_types_int.h"

using gctest::Bytes;
using gctest::MemObject;
using gctest::SortSpec;

namespace {

struct WeightCase {
  const char* name;
  GCUChar c;
  int result;
  uint16_t p, p2;
  uint8_t s, t, s2, t2;
  uint16_t sp;
  uint8_t order; // 0xEE: left untouched
};

constexpr uint16_t kUntouched16 = 0xEEEE;
constexpr uint8_t kUntouched8 = 0xEE;

TEST(GcSortWeights, EveryKindOfPageAndRecord) {
  SortSpec spec = gctest::latinSort();
  spec.pages[0x01] = gctest::SortPage{0x01 | 0x02, 0xF, 0x100};   // none wins over algorithmic
  spec.pages[0x02] = gctest::SortPage{0x02 | 0x04, 0x9, 0xFFF0};  // algorithmic wins over special
  MemObject so(GC_CLASS_SORT, 1, {gctest::sortSectionV3(spec)});
  const uint16_t a = gctest::latinPrimary('a'), s = gctest::latinPrimary('s');
  const uint16_t U = kUntouched16;
  const uint8_t u = kUntouched8;
  const WeightCase cases[] = {
      {"letter", 'a', 1, a, U, 2, 2, u, u, 0, 0xF},
      {"upper", 'A', 1, a, U, 2, 8, u, u, 0, 0xF},
      {"special only", '-', 1, 0, U, 0, 0, u, u, gctest::kHyphenSpecial, 0xF},
      {"expansion", 0xDF, 2, s, s, 2, 4, 2, 4, 0, 0xF},
      {"expanding without record", 0xA0, 0, U, U, u, u, u, u, U, 0xF},
      {"no weights page", 0x0105, 0, U, U, u, u, u, u, U, u},
      {"no weights wins", 0x0105, 0, U, U, u, u, u, u, U, u},
      {"algorithmic", 0x4E05, 1, 0x5005, U, 0, 0, u, u, 0, 0xF},
      {"algorithmic wraps at 16 bits", 0x0220, 1, 0x0010, U, 0, 0, u, u, 0, 0x9},
      {"algorithmic special", 0x2003, 1, 0, U, 0, 0, u, u, 0x0103, 0xF},
      {"record page", 0xFF21, 1, a, U, 2, 9, u, u, 0, 0xF},
      {"empty page", 0x0300, 0, U, U, u, u, u, u, U, u},
  };
  for (const WeightCase& wc : cases) {
    uint16_t p = U, p2 = U, sp = U, sp2 = U;
    uint8_t sec = u, ter = u, sec2 = u, ter2 = u, order = u;
    int r = GCSortGetWeights(so.get(), wc.c, &p, &sec, &ter, &sp, &p2, &sec2, &ter2, &sp2, &order);
    EXPECT_EQ(r, wc.result) << wc.name;
    EXPECT_EQ(p, wc.p) << wc.name;
    EXPECT_EQ(sec, wc.s) << wc.name;
    EXPECT_EQ(ter, wc.t) << wc.name;
    EXPECT_EQ(sp, wc.sp) << wc.name;
    EXPECT_EQ(p2, wc.p2) << wc.name;
    EXPECT_EQ(sec2, wc.s2) << wc.name;
    EXPECT_EQ(ter2, wc.t2) << wc.name;
    EXPECT_EQ(sp2, wc.result == 2 ? 0 : U) << wc.name;
    EXPECT_EQ(order, wc.order) << wc.name;
  }
}

TEST(GcSortWeights, RecordsOutsideTheTableHaveNoWeights) {
  SortSpec spec = gctest::latinSort();
  spec.pages[0x05] = gctest::SortPage{0, 0, 0x00FFFFFF}; // base far beyond the records
  MemObject so(GC_CLASS_SORT, 1, {gctest::sortSectionV3(spec)});
  uint16_t p = 7;
  uint8_t order = 7;
  EXPECT_EQ(GCSortGetWeights(so.get(), 0x0501, &p, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, &order),
            0);
  EXPECT_EQ(p, 7);
  // A table shorter than its header is no table.
  MemObject tiny(GC_CLASS_SORT, 1, {Bytes(100, 0)});
  EXPECT_EQ(GCSortGetWeights(tiny.get(), 'a', &p, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, &order),
            0);
}

TEST(GcSortCombination, PairsFirstMatchWins) {
  SortSpec spec = gctest::czechSort();
  spec.combinations.push_back({'c', 'h', 0x7777, 1, 1, 0x3C00}); // shadowed by the first
  MemObject so(GC_CLASS_SORT, 2, {gctest::sortSectionV3(spec)});
  struct Case {
    GCUChar first, second;
    int result;
    uint16_t p;
    uint8_t s, t;
    uint16_t sp;
    uint8_t order;
  };
  const Case cases[] = {
      {'c', 'h', 1, gctest::kChPrimary, 2, 2, 0, 0xF},
      {'C', 'H', 1, gctest::kChPrimary, 2, 9, 0, 0xF},
      {'\'', '\'', 1, 0, 0, 0, 0x0020, 0xF},
      {'h', 'c', 0, 0xEEEE, 0xEE, 0xEE, 0xEEEE, 0xEE},
      {'c', 'H', 0, 0xEEEE, 0xEE, 0xEE, 0xEEEE, 0xEE},
  };
  for (const Case& c : cases) {
    uint16_t p = 0xEEEE, sp = 0xEEEE;
    uint8_t s = 0xEE, t = 0xEE, order = 0xEE;
    EXPECT_EQ(GCSortGetCombination(so.get(), c.first, c.second, &p, &s, &t, &sp, &order), c.result);
    EXPECT_EQ(p, c.p);
    EXPECT_EQ(s, c.s);
    EXPECT_EQ(t, c.t);
    EXPECT_EQ(sp, c.sp);
    EXPECT_EQ(order, c.order);
  }
}

TEST(GcSortCombination, AllCombinationsInTableOrder) {
  MemObject cz(GC_CLASS_SORT, 2, {gctest::sortSectionV3(gctest::czechSort())});
  std::vector<GCUChar> out(14, 0xEEEE);
  GCSortGetAllCombinations(cz.get(), out.data());
  EXPECT_EQ(out, (std::vector<GCUChar>{'c', 'h', 0, 'C', 'h', 0, 'C', 'H', 0, '\'', '\'', 0, 0xEEEE, 0xEEEE}));
  MemObject latin(GC_CLASS_SORT, 1, {gctest::sortSectionV3(gctest::latinSort())});
  std::vector<GCUChar> none(3, 0xEEEE);
  GCSortGetAllCombinations(latin.get(), none.data());
  EXPECT_EQ(none, std::vector<GCUChar>(3, 0xEEEE));
}

// A small table for the reverse look-ups: page 0 records with distinct
// primaries except a/A/e-acute (0x100), b (0x200), hyphen and apostrophe
// special-only, x (0x300), y expanding into a b; page 0x10 algorithmic from
// 0x0300; page 0x11 algorithmic special; combinations c+h (0x300) and a
// special-only z+z.
SortSpec reverseSpec() {
  SortSpec s;
  s.pages[0] = gctest::SortPage{0, 0, 0};
  for (int c = 0; c < 256; ++c) s.weights.push_back({uint16_t(0x1000 + c), 2, 2, 0x3C00});
  s.weights['a'] = {0x100, 2, 2, 0x3C00};
  s.weights['A'] = {0x100, 2, 8, 0x3C00};
  s.weights[0xE9] = {0x100, 5, 2, 0x3C00};
  s.weights['b'] = {0x200, 2, 2, 0x3C00};
  s.weights['-'] = {0x10, 0, 0, 0x8000 | 0x3C00};
  s.weights['\''] = {0x11, 0, 0, 0x8000 | 0x3C00};
  s.weights['x'] = {0x300, 2, 2, 0x3C00};
  s.weights['y'] = {0, 0, 0, 0x4000 | 0x3C00};
  s.weights['w'] = {0, 0, 0, 0x4000 | 0x3C00};
  s.expansions.push_back({'y', 0x100, 2, 2, 0x200, 2, 2});
  s.expansions.push_back({'w', 0x100, 2, 2, 0x200, 2, 3});
  s.pages[0x10] = gctest::SortPage{0x02, 0xF, 0x0300};
  s.pages[0x11] = gctest::SortPage{0x04, 0xF, 0x0040};
  s.combinations.push_back({'c', 'h', 0x300, 2, 2, 0x3C00});
  s.combinations.push_back({'z', 'z', 0x50, 0, 0, 0x8000 | 0x3C00});
  return s;
}

TEST(GcSortSamePrimary, CharactersAndCombinationsSharingAPrimary) {
  MemObject so(GC_CLASS_SORT, 1, {gctest::sortSectionV3(reverseSpec())});
  struct Case {
    const char* name;
    GCUChar c, second;
    std::vector<GCUChar> chars;
    std::vector<GCUChar> combos;
  };
  std::vector<GCUChar> specials = {'\'', '-'};
  for (int b = 0; b < 256; ++b) specials.push_back(GCUChar(0x1100 + b));
  const Case cases[] = {
      {"letter", 'a', 0, {'A', 'a', 0xE9}, {}},
      {"algorithmic page and combination", 'x', 0, {'x', 0x1000}, {'c', 'h', 0}},
      {"by combination", 'c', 'h', {'x', 0x1000}, {'c', 'h', 0}},
      {"algorithmic page, high end", 0x10FF, 0, {0x10FF}, {}},
      {"special-only", '-', 0, specials, {'z', 'z', 0}},
      {"expansion: same two primaries", 'y', 0, {'y', 'w'}, {}},
      {"not a combination", 'a', 'b', {}, {}},
      {"no weights", 0x0500, 0, {}, {}},
  };
  for (const Case& c : cases) {
    std::vector<GCUChar> chars(70000, 0xEEEE), combos(30, 0xEEEE);
    uint16_t count = 99;
    int n = GCSortGetSamePrimaryWeight(so.get(), c.c, c.second, chars.data(), &count, combos.data());
    ASSERT_GE(n, 0) << c.name;
    EXPECT_EQ(std::vector<GCUChar>(chars.begin(), chars.begin() + n), c.chars) << c.name;
    EXPECT_EQ(chars[size_t(n)], 0xEEEE) << c.name;
    EXPECT_EQ(count, c.combos.size() / 3) << c.name;
    EXPECT_EQ(std::vector<GCUChar>(combos.begin(), combos.begin() + long(c.combos.size())), c.combos) << c.name;
  }
}

TEST(GcSortSamePrimary, PrimaryOutsideAnAlgorithmicPageListsNothingFromIt) {
  SortSpec spec;
  spec.pages[0x10] = gctest::SortPage{0x02, 0xF, 0x0300};
  spec.pages[0x00] = gctest::SortPage{0, 0, 0};
  for (int c = 0; c < 256; ++c) spec.weights.push_back({uint16_t(0x2000 + c), 2, 2, 0x3C00});
  spec.weights['p'] = {0x02FF, 2, 2, 0x3C00}; // just below the page's base
  spec.weights['q'] = {0x0400, 2, 2, 0x3C00}; // just above base + 255
  MemObject so(GC_CLASS_SORT, 1, {gctest::sortSectionV3(spec)});
  for (GCUChar c : {GCUChar('p'), GCUChar('q')}) {
    std::vector<GCUChar> chars(300, 0);
    uint16_t count = 0;
    EXPECT_EQ(GCSortGetSamePrimaryWeight(so.get(), c, 0, chars.data(), &count, nullptr), 1);
    EXPECT_EQ(chars[0], c);
  }
}

TEST(GcSortSamePrimary, WithoutASortObject) {
  GCUChar out[2] = {0, 0};
  uint16_t count = 5;
  EXPECT_EQ(GCSortGetSamePrimaryWeight(nullptr, 'k', 0, out, &count, nullptr), 1);
  EXPECT_EQ(out[0], 'k');
  EXPECT_EQ(count, 0);
  EXPECT_EQ(GCSortGetSamePrimaryWeight(nullptr, 'c', 'h', out, &count, nullptr), 0);
}

// Old tables: upgraded tables give the same weights as new ones.
TEST(GcSortUpgrade, OldTableGivesTheSameWeights) {
  SortSpec spec = gctest::czechSort();
  Bytes old = gctest::sortSectionV1(spec);
  uint32_t nsize = 0;
  uint8_t* t = GCSortV1toV3(old.data(), uint32_t(old.size()), &nsize);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(nsize, old.size() + 1032); // records at 1036 move to 2068
  Bytes upgraded(t, t + nsize);
  gcFree(t);
  MemObject a(GC_CLASS_SORT, 1, {upgraded});
  MemObject b(GC_CLASS_SORT, 1, {gctest::sortSectionV3(spec)});
  for (GCUChar c : {GCUChar('a'), GCUChar('-'), GCUChar(0xDF), GCUChar(0xA0), GCUChar(0x4E10),
                    GCUChar(0x2001), GCUChar(0xFF21), GCUChar(0x0500)}) {
    GCSortElem x1, x2, y1, y2;
    uint8_t ox = 0, oy = 0;
    EXPECT_EQ(gcSortWeights(a.get(), c, &x1, &x2, &ox), gcSortWeights(b.get(), c, &y1, &y2, &oy)) << c;
    EXPECT_EQ(x1.primary, y1.primary) << c;
    EXPECT_EQ(x1.special, y1.special) << c;
    EXPECT_EQ(x2.primary, y2.primary) << c;
    EXPECT_EQ(ox, oy) << c;
  }
  GCSortElem e;
  uint8_t o;
  EXPECT_EQ(gcSortCombination(a.get(), 'C', 'H', &e, &o), 1);
  EXPECT_EQ(e.tertiary, 9);
}

// An old table whose records reach beyond 64 KB keeps all of them.
TEST(GcSortUpgrade, OldTableOfMoreThan64KB) {
  constexpr int kPages = 60;
  constexpr uint32_t kFirst = 10; // records 0-9 hold the expansion and combination lists
  Bytes old(1036, 0);
  old[0] = 2;
  old[1] = 2;
  gctest::put16(old, 2, 1); // one expansion
  gctest::put16(old, 4, 1); // one combination
  for (int p = 0; p < 256; ++p) old[6 + 4 * p] = 0x01;
  for (int p = 0; p < kPages; ++p) {
    old[6 + 4 * p] = 0;
    old[7 + 4 * p] = 0;
    gctest::put16(old, size_t(8 + 4 * p), uint16_t(kFirst + 256 * p));
  }
  gctest::put16(old, 1030, 1036);
  gctest::put16(old, 1032, 1036); // the expansion record
  gctest::put16(old, 1034, 1050); // the combination record
  old.resize(1036 + 6 * (kFirst + 256 * kPages), 0);
  Bytes x = {0x00, 0x41, 0x01, 0x00, 2, 2, 0x02, 0x00, 2, 2, 0, 0, 0, 0};
  std::copy(x.begin(), x.end(), old.begin() + 1036);
  Bytes c = {0x00, 0x61, 0x00, 0x62, 0x03, 0x00, 2, 2, 0x3C, 0x00};
  std::copy(c.begin(), c.end(), old.begin() + 1050);
  for (int p = 0; p < kPages; ++p)
    for (int b = 0; b < 256; ++b) {
      size_t at = 1036 + 6 * (kFirst + 256 * size_t(p) + size_t(b));
      gctest::put16(old, at, uint16_t(0x1000 + p * 256 + b));
      old[at + 2] = 2;
      old[at + 3] = 2;
      gctest::put16(old, at + 4, 0x3C00);
    }
  old[1036 + 6 * (kFirst + 0x41) + 4] = 0x7C; // 'A' expands
  ASSERT_GT(old.size(), 65536u);
  uint32_t nsize = 0;
  uint8_t* t = GCSortV1toV3(old.data(), uint32_t(old.size()), &nsize);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(nsize, old.size() + 1032);
  Bytes upgraded(t, t + nsize);
  gcFree(t);
  MemObject so(GC_CLASS_SORT, 1, {upgraded});
  GCSortElem e1, e2;
  uint8_t order = 0;
  const GCUChar last = GCUChar((kPages - 1) * 256 + 0xFF);
  ASSERT_EQ(gcSortWeights(so.get(), last, &e1, &e2, &order), 1);
  EXPECT_EQ(e1.primary, 0x1000 + last);
  ASSERT_EQ(gcSortWeights(so.get(), 'A', &e1, &e2, &order), 2);
  EXPECT_EQ(e1.primary, 0x0100);
  EXPECT_EQ(e2.primary, 0x0200);
  ASSERT_EQ(gcSortCombination(so.get(), 'a', 'b', &e1, &order), 1);
  EXPECT_EQ(e1.primary, 0x0300);
}

// A locale whose sort object comes from an old data file collates as one
// with the new table.
TEST(GcSortUpgrade, LocaleWithAnOldSortFile) {
  gctest::DataDir dir;
  gctest::writeLocaleDir(dir);
  dir.writeObject(GC_CLASS_SORT, 1, gctest::dataFile({gctest::sortSectionV1(gctest::czechSort())}, 1));
  ASSERT_EQ(GCInit(dir.path(), nullptr, nullptr, nullptr, 0), GC_OK);
  uint32_t st = 99;
  GCLocale* loc = GCGetLocale("English_UnitedStates.Latin1@Default", 0, &st);
  ASSERT_NE(loc, nullptr);
  const char* words[] = {"cena", "hrad", "chata", "Chata", "infekce"};
  for (int i = 0; i + 1 < 5; ++i) EXPECT_LT(GCStrcoll(loc, words[i], -1, words[i + 1], -1, 0), 0) << words[i];
  GCReleaseLocale(loc, 0);
  GCTerm();
}

} // namespace
