// The number reader kept per thread between calls: a locale changed between
// two calls, another locale, a code-page table changed in place, other
// threads, and random texts against the C library.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "gc_fmt_testloc.h"
#include "mbtext/gc_strto.h"

using gcfmt_test::Page;
using gcfmt_test::TestLocale;

namespace {

long readLong(TestLocale& tl, const std::string& ascii, int* used = nullptr, uint32_t flags = 0) {
  std::string text = tl.form(ascii);
  const char* end = nullptr;
  long v = GCStringToLong(tl.get(), text.c_str(), int32_t(text.size()), &end, 10, flags);
  if (used) *used = int(end - text.c_str());
  return v;
}

TEST(NumberRecord, FollowsSeparatorChangesBetweenCalls) {
  TestLocale tl;
  EXPECT_EQ(readLong(tl, "1,234"), 1234);
  tl.setSeparators(",", "'");
  int used = 0;
  EXPECT_EQ(readLong(tl, "1,234", &used), 1);
  EXPECT_EQ(used, 1);
  EXPECT_EQ(readLong(tl, "1'234"), 1234);
  tl.setSeparators(".", "");
  EXPECT_EQ(readLong(tl, "1'234"), 1);
  tl.setSeparators(".", ",");
  EXPECT_EQ(readLong(tl, "1,234"), 1234);
}

TEST(NumberRecord, LocalesTakenInTurn) {
  TestLocale ascii, ebcdic(Page::Ebcdic), wide(Page::DoubleByte);
  ebcdic.setSeparators(",", ".");
  for (int round = 0; round < 3; ++round) {
    EXPECT_EQ(readLong(ascii, " -12,345"), -12345);
    EXPECT_EQ(readLong(ebcdic, " -12.345"), -12345);
    EXPECT_EQ(readLong(ebcdic, "12,345"), 12);
    EXPECT_EQ(readLong(wide, "+678"), 678);
    // The monetary form looks its items up every time.
    EXPECT_EQ(readLong(ascii, "9,876", nullptr, GC_NUM_MONETARY), 9876);
  }
}

TEST(NumberRecord, FollowsATableChangedInPlace) {
  TestLocale tl;
  EXPECT_EQ(readLong(tl, "1234567"), 1234567);
  // '5' made white space: the number ends before it.
  gctest::put32(tl.main, 1292 + 4 * '5', 0x40);
  int used = 0;
  EXPECT_EQ(readLong(tl, "1234567", &used), 1234);
  EXPECT_EQ(used, 4);
  gctest::put32(tl.main, 1292 + 4 * '5', 0x008);
  EXPECT_EQ(readLong(tl, "1234567"), 1234567);
}

TEST(NumberRecord, ThreadsKeepTheirOwn) {
  TestLocale a, b;
  b.setSeparators(",", "'");
  auto run = [](TestLocale* tl, const char* text, long want, int* bad) {
    for (int i = 0; i < 2000; ++i)
      if (readLong(*tl, text) != want) ++*bad;
  };
  int badA = 0, badB = 0;
  std::thread ta(run, &a, "12,345", 12345L, &badA), tb(run, &b, "12'345", 12345L, &badB);
  ta.join();
  tb.join();
  EXPECT_EQ(badA, 0);
  EXPECT_EQ(badB, 0);
}

// Random texts of digits, signs, spaces, separators and letters, cut to
// every length, in every base: the kept reader gives what the reader that
// looks the locale's items up every time (the territory's items, which
// this locale shares) gives: value, end and status.
TEST(NumberRecord, RandomTextsAsTheLookedUpReader) {
  std::mt19937 rng(56);
  const std::string alphabet = "0123456789012345678901234567890123456789+- \t,.xaF";
  for (Page page : {Page::Ascii, Page::Ebcdic}) {
    TestLocale tl(page);
    for (int iter = 0; iter < 3000; ++iter) {
      std::string s;
      for (size_t n = rng() % 16; n > 0; --n) s += alphabet[rng() % alphabet.size()];
      s = tl.form(s);
      const int base = std::vector<int>{10, 10, 0, 16, 8, 36}[rng() % 6];
      const uint32_t unsignedFlag = (rng() % 4 == 0) ? GC_NUM_UNSIGNED : 0;
      for (size_t len = 0; len <= s.size(); ++len) {
        const char *e1 = nullptr, *e2 = nullptr;
        long kept = GCStringToLong(tl.get(), s.c_str(), int32_t(len), &e1, base, unsignedFlag);
        uint32_t st1 = tl.loc.status;
        long looked = GCStringToLong(tl.get(), s.c_str(), int32_t(len), &e2, base, unsignedFlag | GC_NUM_ITEMFLAG);
        ASSERT_EQ(kept, looked) << '"' << s.substr(0, len) << "\" base " << base;
        ASSERT_EQ(e1, e2) << '"' << s.substr(0, len) << "\" base " << base;
        ASSERT_EQ(st1, tl.loc.status) << '"' << s.substr(0, len) << '"';
      }
    }
  }
}

// Runs of digits around the limits, with leading zeros and cut at every
// length, against reading them one digit at a time: past the limit the
// value is held at it, the end is the digit that passed it and the status
// says so; otherwise the end follows the last digit.
TEST(NumberRecord, DigitRunsAtTheLimits) {
  std::mt19937 rng(5602);
  const char* const near[] = {"2147483647", "2147483648", "2147483649", "4294967295", "4294967296",
                              "999999999",  "1000000000", "99999999",   "21474836470"};
  for (int iter = 0; iter < 4000; ++iter) {
    std::string digits = iter % 2 ? near[rng() % 9] : std::to_string(rng() % 100000000000ull);
    digits.insert(0, rng() % 4 == 0 ? rng() % 12 : 0, '0');
    const char* sign = std::vector<const char*>{"", "-", "+"}[rng() % 3];
    const std::string text = sign + digits + (rng() % 2 ? "x9" : "");
    for (const bool unsignedRead : {false, true}) {
      for (size_t len = 0; len <= text.size(); ++len) {
        // One digit at a time.
        const bool negative = *sign == '-';
        const uint64_t limit = unsignedRead ? 0xFFFFFFFFull : (negative ? 2147483648ull : 2147483647ull);
        const size_t first = std::strlen(sign);
        uint64_t value = 0;
        size_t at = 0;
        bool over = false, any = false;
        for (size_t i = first; i < len && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
          any = true;
          at = i + 1;
          value = value * 10 + uint64_t(text[i] - '0');
          if (value > limit) {
            value = limit;
            over = true;
            at = i;
            break;
          }
        }
        long want = negative ? -long(value) : long(value);
        if (negative && unsignedRead) {  // refused at the sign
          want = 0;
          at = 0;
          over = false;
        } else if (!any) {  // no digit: the end follows a sign
          want = 0;
          at = len == 0 ? 0 : first;
        }
        const char* end = nullptr;
        const long got = GCStringToLong(nullptr, text.c_str(), int32_t(len), &end, 10,
                                        unsignedRead ? GC_NUM_UNSIGNED : 0);
        const std::string what = '"' + text.substr(0, len) + (unsignedRead ? "\" unsigned" : "\"");
        ASSERT_EQ(got, want) << what;
        ASSERT_EQ(size_t(end - text.c_str()), at) << what;
        ASSERT_EQ(GCGetError(nullptr), over ? GC_E_ARG : GC_OK) << what;
      }
    }
  }
}

}  // namespace
