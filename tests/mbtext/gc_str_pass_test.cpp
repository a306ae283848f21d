// Comparison by value of NUL-terminated texts in one pass: every length
// around the sixteen- and thirty-two-byte blocks and their four-block
// steps, both builds of the scan, texts that end at a page's last byte
// before a page that cannot be read, prefixes, and counted texts with NULs
// inside.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "mbtext/gc_str.h"
#include "mbtext/gc_str_scan_int.h"

namespace {

// Measures both texts, then compares: the result the one pass must give.
int reference(const char* a, const char* b) {
  const size_t la = std::strlen(a), lb = std::strlen(b);
  const size_t m = la < lb ? la : lb;
  if (la != 0 && lb != 0 && m > 0) {
    int r = std::memcmp(a, b, m);
    if (r != 0) return r < 0 ? -1 : 1;
  }
  return int(la) - int(lb);
}

// Two readable pages followed by one that cannot be read.
class GuardedPages {
 public:
  GuardedPages() {
    page_ = size_t(sysconf(_SC_PAGESIZE));
    void* p = mmap(nullptr, 3 * page_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    base_ = p == MAP_FAILED ? nullptr : static_cast<char*>(p);
    if (base_) mprotect(base_ + 2 * page_, page_, PROT_NONE);
  }
  ~GuardedPages() {
    if (base_) munmap(base_, 3 * page_);
  }
  // Copies s (with its NUL) so that the NUL is the last readable byte.
  char* atEnd(const std::string& s) {
    char* at = base_ + 2 * page_ - s.size() - 1;
    std::memcpy(at, s.c_str(), s.size() + 1);
    return at;
  }
  // Copies s into the first page at the given offset.
  char* at(size_t offset, const std::string& s) {
    std::memcpy(base_ + offset, s.c_str(), s.size() + 1);
    return base_ + offset;
  }
  bool ok() const { return base_ != nullptr; }

 private:
  size_t page_ = 0;
  char* base_ = nullptr;
};

std::string randomText(std::mt19937& rng, size_t n) {
  std::string s;
  for (size_t i = 0; i < n; ++i) s += char(1 + rng() % 255);
  return s;
}

TEST(StrcmpOnePass, AgreesWithMeasuringFirstAroundBlocksAndPages) {
  GuardedPages pages;
  ASSERT_TRUE(pages.ok());
  std::mt19937 rng(5600);
  for (int iter = 0; iter < 20000; ++iter) {
    const size_t common = rng() % 70;
    std::string a = randomText(rng, common), b = a;
    const int kind = int(rng() % 4);
    if (kind == 0) a += randomText(rng, rng() % 40);  // b is a prefix of a
    if (kind == 1) b += randomText(rng, rng() % 40);  // a is a prefix of b
    if (kind == 2) {                                   // they differ after the common part
      a += randomText(rng, 1 + rng() % 20);
      b += randomText(rng, 1 + rng() % 20);
    }
    // One text ends at the page's end, the other lies at a random offset.
    const bool aLast = rng() % 2 == 0;
    const char* pa = aLast ? pages.atEnd(a) : pages.at(rng() % 2048, a);
    const char* pb = aLast ? pages.at(rng() % 2048, b) : pages.atEnd(b);
    const int want = reference(pa, pb);
    ASSERT_EQ(GCStrcmp(nullptr, pa, -1, pb, -1, 0), want) << iter;
    ASSERT_EQ(GCStrcmp(nullptr, pb, -1, pa, -1, 0), reference(pb, pa)) << iter;
    // Counted texts of the same bytes agree.
    ASSERT_EQ(GCStrcmp(nullptr, pa, int32_t(std::strlen(pa)), pb, int32_t(std::strlen(pb)), 0), want) << iter;
  }
}

#if defined(__x86_64__)
// Each build of the scan on its own, with texts long enough for several
// steps and page crossings, at every alignment of either text.
void checkBuild(int (*compare)(const uint8_t*, const uint8_t*)) {
  GuardedPages pages;
  ASSERT_TRUE(pages.ok());
  std::mt19937 rng(5601);
  for (int iter = 0; iter < 6000; ++iter) {
    const size_t common = rng() % 700;
    std::string a = randomText(rng, common), b = a;
    const int kind = int(rng() % 4);
    if (kind == 0) a += randomText(rng, rng() % 200);
    if (kind == 1) b += randomText(rng, rng() % 200);
    if (kind == 2) {
      a += randomText(rng, 1 + rng() % 20);
      b += randomText(rng, 1 + rng() % 20);
    }
    const bool aLast = rng() % 2 == 0;
    // Offsets across the whole first page, so texts also cross into the
    // second one.
    const char* pa = aLast ? pages.atEnd(a) : pages.at(rng() % 4096, a);
    const char* pb = aLast ? pages.at(rng() % 4096, b) : pages.atEnd(b);
    const auto* ua = reinterpret_cast<const uint8_t*>(pa);
    const auto* ub = reinterpret_cast<const uint8_t*>(pb);
    ASSERT_EQ(compare(ua, ub), reference(pa, pb)) << iter;
    ASSERT_EQ(compare(ub, ua), reference(pb, pa)) << iter;
  }
}

// Short texts, decided from the first three blocks: every length up to
// past those blocks, equal texts, prefixes either way and a difference at
// every position, with one text where the three blocks do not fit in its
// page (the longer scan) or at a random place.
void checkShortTexts(int (*compare)(const uint8_t*, const uint8_t*)) {
  GuardedPages pages;
  ASSERT_TRUE(pages.ok());
  std::mt19937 rng(5602);
  for (size_t n = 0; n <= 110; ++n) {
    const std::string base = randomText(rng, n);
    std::vector<std::pair<std::string, std::string>> pairs = {{base, base}, {base, base + "x"},
                                                               {base + randomText(rng, 40), base}};
    for (size_t at = 0; at < n; ++at) {
      std::string other = base;
      other[at] = char(other[at] == '\x01' ? '\xFF' : other[at] - 1);
      pairs.emplace_back(base, other);
    }
    for (const auto& [a, b] : pairs) {
      const bool aLast = rng() % 2 == 0;
      const char* pa = aLast ? pages.atEnd(a) : pages.at(rng() % 3900, a);
      const char* pb = aLast ? pages.at(rng() % 3900, b) : pages.atEnd(b);
      const auto* ua = reinterpret_cast<const uint8_t*>(pa);
      const auto* ub = reinterpret_cast<const uint8_t*>(pb);
      ASSERT_EQ(compare(ua, ub), reference(pa, pb)) << n << " " << aLast;
      ASSERT_EQ(compare(ub, ua), reference(pb, pa)) << n << " " << aLast;
      // Both away from the page's end: the short texts' path itself.
      const char* qa = pages.at(rng() % 1800, a);
      const char* qb = pages.at(2048 + rng() % 1900, b);
      ASSERT_EQ(compare(reinterpret_cast<const uint8_t*>(qa), reinterpret_cast<const uint8_t*>(qb)),
                reference(qa, qb))
          << n;
    }
  }
}

TEST(StrcmpOnePass, SixteenByteBuildAgreesWithMeasuringFirst) {
  checkBuild(gcStrCompare16);
  checkShortTexts(gcStrCompare16);
}

TEST(StrcmpOnePass, ThirtyTwoByteBuildAgreesWithMeasuringFirst) {
  if (!gcStrCompare32Usable()) GTEST_SKIP() << "this processor has no AVX2";
  checkBuild(gcStrCompare32);
  checkShortTexts(gcStrCompare32);
}
#endif

TEST(StrcmpOnePass, PrefixesEmptyTextsAndNulsInside) {
  struct Case {
    const char* a;
    int32_t la;
    const char* b;
    int32_t lb;
    int want;
  } cases[] = {
      {"abc", -1, "ab", -1, 1},           {"a", -1, "abc", -1, -2},
      {"", -1, "abc", -1, -3},            {"abc", -1, "", -1, 3},
      {"", -1, "", -1, 0},                {"same text", -1, "same text", -1, 0},
      {"ab\0x", 4, "ab\0y", 4, -1},       {"ab\0x", -1, "ab\0y", -1, 0},
      {"ab\0", 3, "ab", -1, 1},           {nullptr, -1, "a", -1, -1},
      {"\xFF", -1, "\x01", -1, 1},
  };
  for (const Case& c : cases) EXPECT_EQ(GCStrcmp(nullptr, c.a, c.la, c.b, c.lb, 0), c.want) << c.a << " " << c.b;
}

}  // namespace
