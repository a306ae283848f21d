#include "gc_testsort.h"

#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

#include "gc_testloc.h"
#include "mbtext/gc_locobj.h"

namespace gctest {

int gcTestPassAllocs = 0;
int gcTestFailAllocs = 0;
long gcTestAllocCount = 0;

namespace {

void* failingAlloc(void*, uint32_t size) {
  if (gcTestPassAllocs > 0) {
    --gcTestPassAllocs;
  } else if (gcTestFailAllocs > 0) {
    --gcTestFailAllocs;
    return nullptr;
  }
  ++gcTestAllocCount;
  return std::malloc(size ? size : 1);
}

int plainFree(void*, void* p) {
  std::free(p);
  return 1;
}

constexpr uint16_t kOrderShift = 10;

SortWeight plain(uint16_t p, uint8_t s, uint8_t t, uint8_t order) {
  return SortWeight{p, s, t, uint16_t(order << kOrderShift)};
}

} // namespace

uint16_t latinPrimary(char letter) { return uint16_t(0x1000 + 0x10 * (letter - 'a')); }

SortSpec latinSort(uint8_t order) {
  SortSpec s;
  s.defSecondary = 2;
  s.defTertiary = 2;
  // Page 0: records 0-255.
  s.pages[0] = SortPage{0, 0, 0};
  s.weights.resize(256, SortWeight{0, 0, 0, uint16_t(order << kOrderShift)});
  for (int c = 0x20; c < 0x7F; ++c) s.weights[c] = plain(uint16_t(0x0200 + c), 2, 2, order);
  s.weights[' '] = plain(kSpaceWeight, 2, 2, order);
  for (int d = 0; d < 10; ++d) s.weights['0' + d] = plain(uint16_t(0x0800 + d), 2, 2, order);
  for (char c = 'a'; c <= 'z'; ++c) {
    s.weights[uint8_t(c)] = plain(latinPrimary(c), 2, 2, order);
    s.weights[uint8_t(c - 32)] = plain(latinPrimary(c), 2, 8, order);
  }
  s.weights['-'] = SortWeight{kHyphenSpecial, 0, 0, uint16_t(0x8000 | (order << kOrderShift))};
  s.weights['\''] = SortWeight{kApostropheSpecial, 0, 0, uint16_t(0x8000 | (order << kOrderShift))};
  struct Accent {
    int lower;
    char base;
    uint8_t secondary;
  };
  const Accent accents[] = {{0xE0, 'a', 3}, {0xE1, 'a', 5}, {0xE2, 'a', 6}, {0xE4, 'a', 7}, {0xE8, 'e', 3},
                            {0xE9, 'e', 5}, {0xEA, 'e', 6}, {0xEB, 'e', 7}, {0xF4, 'o', 6}, {0xF6, 'o', 7},
                            {0xFC, 'u', 7}, {0xED, 'i', 5}, {0xFD, 'y', 5}};
  for (const Accent& a : accents) {
    s.weights[a.lower] = plain(latinPrimary(a.base), a.secondary, 2, order);
    s.weights[a.lower - 32] = plain(latinPrimary(a.base), a.secondary, 8, order);
  }
  // Secondary weights without a primary: the middle dot carries only the
  // default secondary and tertiary weights, the acute accent secondary 5.
  s.weights[0xB7] = plain(0, 2, 2, order);
  s.weights[0xB4] = plain(0, 5, 2, order);
  s.weights[0xDF] = SortWeight{0, 0, 0, uint16_t(0x4000 | (order << kOrderShift))};
  s.weights[0xE6] = SortWeight{0, 0, 0, uint16_t(0x4000 | (order << kOrderShift))};
  s.weights[0xC6] = SortWeight{0, 0, 0, uint16_t(0x4000 | (order << kOrderShift))};
  s.weights[0xA0] = SortWeight{0, 0, 0, uint16_t(0x4000 | (order << kOrderShift))}; // no expansion record
  s.expansions.push_back({0xDF, latinPrimary('s'), 2, 4, latinPrimary('s'), 2, 4});
  s.expansions.push_back({0xE6, latinPrimary('a'), 2, 2, latinPrimary('e'), 2, 2});
  s.expansions.push_back({0xC6, latinPrimary('a'), 2, 8, latinPrimary('e'), 2, 8});
  // Page 0x30: U+3000 a wide space.
  s.pages[0x30] = SortPage{0, 0, 256};
  s.weights.resize(512, SortWeight{0, 0, 0, uint16_t(order << kOrderShift)});
  s.weights[256 + 0x00] = plain(kSpaceWeight, 2, 4, order);
  // Page 0xFF: full-width A, a and 0.
  s.pages[0xFF] = SortPage{0, 0, 512};
  s.weights.resize(768, SortWeight{0, 0, 0, uint16_t(order << kOrderShift)});
  s.weights[512 + 0x21] = plain(latinPrimary('a'), 2, 9, order);
  s.weights[512 + 0x41] = plain(latinPrimary('a'), 2, 3, order);
  s.weights[512 + 0x10] = plain(0x0800, 2, 3, order);
  // Algorithmic pages.
  s.pages[0x4E] = SortPage{0x02, order, 0x5000};
  s.pages[0x20] = SortPage{0x04, order, 0x0100};
  return s;
}

SortSpec czechSort() {
  SortSpec s = latinSort();
  s.combinations.push_back({'c', 'h', kChPrimary, 2, 2, 0x3C00});
  s.combinations.push_back({'C', 'h', kChPrimary, 2, 8, 0x3C00});
  s.combinations.push_back({'C', 'H', kChPrimary, 2, 9, 0x3C00});
  s.combinations.push_back({'\'', '\'', 0x0020, 0, 0, 0x8000 | 0x3C00});
  return s;
}

SortSpec frenchSort() { return latinSort(0xB); }

CodePageBuilder doubleByteWidthPage() {
  return doubleBytePage().widthPair('0', 0x824F).widthPair('A', 0x8260).widthPair('a', 0x8281);
}

SortLib::SortLib() {
  writeLocaleDir(dir_);
  dir_.writeControl({{1, GC_CLASS_LANGUAGE, "English"},
                     {2, GC_CLASS_LANGUAGE, "German"},
                     {1, GC_CLASS_TERRITORY, "UnitedStates"},
                     {2, GC_CLASS_TERRITORY, "Germany"},
                     {kCpAscii, GC_CLASS_CODEPAGE, "US-ASCII"},
                     {kCpLatin1, GC_CLASS_CODEPAGE, "Latin1"},
                     {kCpDouble, GC_CLASS_CODEPAGE, "DoubleByte"},
                     {kCpShift, GC_CLASS_CODEPAGE, "Shift"},
                     {kCpUtf8, GC_CLASS_CODEPAGE, "UTF-8"},
                     {kSortLatin, GC_CLASS_SORT, "Default"},
                     {kSortCzech, GC_CLASS_SORT, "Czech"},
                     {kSortFrench, GC_CLASS_SORT, "French"},
                     {kSortNoPrimaryOrder, GC_CLASS_SORT, "Reverse"}});
  dir_.writeObject(GC_CLASS_CODEPAGE, kCpDouble, doubleByteWidthPage().file());
  dir_.writeObject(GC_CLASS_SORT, kSortLatin, dataFile({sortSectionV3(latinSort())}));
  dir_.writeObject(GC_CLASS_SORT, kSortCzech, dataFile({sortSectionV3(czechSort())}));
  dir_.writeObject(GC_CLASS_SORT, kSortFrench, dataFile({sortSectionV3(frenchSort())}));
  dir_.writeObject(GC_CLASS_SORT, kSortNoPrimaryOrder, dataFile({sortSectionV3(latinSort(0x7))}));
  gcTestFailAllocs = 0;
  gcTestPassAllocs = 0;
  EXPECT_EQ(GCInit(dir_.path(), failingAlloc, plainFree, nullptr, 0), GC_OK);
}

SortLib::~SortLib() {
  gcTestFailAllocs = 0;
  gcTestPassAllocs = 0;
  for (GCLocale* l : made_) GCReleaseLocale(l, 0);
  GCTerm();
}

GCLocale* SortLib::get(const char* name) {
  uint32_t st = 99;
  GCLocale* l = GCGetLocale(name, 0, &st);
  EXPECT_NE(l, nullptr) << name;
  EXPECT_EQ(st, GC_OK) << name;
  if (l) made_.push_back(l);
  return l;
}

std::string hexOf(const std::string& s) {
  std::string out;
  char buf[4];
  for (unsigned char c : s) {
    std::snprintf(buf, sizeof buf, "%02X ", c);
    out += buf;
  }
  return out;
}

} // namespace gctest
