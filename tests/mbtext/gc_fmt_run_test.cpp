// The one-copy writers of the formatter, the std::to_chars digits of
// doubles and the number readers' in-line paths: outputs cut at every size,
// digits as the C library writes them, values as the C library reads them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iomanip>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "gc_testloc.h"
#include "mbtext/gc_conv.h"
#include "mbtext/gc_fmt.h"
#include "mbtext/gc_fmt_cp_int.h"
#include "mbtext/gc_fp.h"
#include "mbtext/gc_strto.h"

namespace {

using FmtRuns = gctest::PageLocales;

int fmt(GCLocale* loc, char* buf, int32_t size, uint32_t flags, const char* f, ...) {
  va_list ap;
  va_start(ap, f);
  int r = GCVsprintf(loc, buf, size, f, -1, flags, ap);
  va_end(ap);
  return r;
}

// The longest prefix of whole characters of text within size bytes.
size_t wholePrefix(GCLocale* loc, const std::string& text, size_t size) {
  size_t at = 0;
  while (at < text.size()) {
    size_t n = size_t(gcfmtCharLen(loc, static_cast<unsigned char>(text[at])));
    if (at + n > size) break;
    at += n;
  }
  return at;
}

// Every buffer size: the whole characters that fit, status 40 when cut,
// nothing written past the size.
TEST_F(FmtRuns, OutputCutAtEverySizeKeepsWholeCharacters) {
  struct Case {
    GCLocale* loc;
    std::string format;
    std::string arg;
  } cases[] = {
      {ascii, "plain text %s and more", "in the middle"},
      {ascii, "[%-9s|%5.1s]", "ab"},
      {dbl, gctest::bytes({'x', 0x82, 0x60, 'y', '%', 's', ' ', '-', 0x81, 0x40, 'z'}), gctest::bytes({'a', 0x82, 0x81, 'b', 0x82, 0x4F})},
      {utf8, "\xE2\x82\xAC %s - \xC3\xA4!", "\xE4\xB8\x80x\xC3\xA4"},
  };
  for (const Case& c : cases) {
    char full[256];
    const int n = fmt(c.loc, full, sizeof full, 0, c.format.c_str(), c.arg.c_str(), c.arg.c_str());
    ASSERT_GT(n, 0) << c.format << " status " << GCGetError(c.loc);
    const std::string whole(full, size_t(n));
    for (int32_t size = 0; size <= n + 1; ++size) {
      for (uint32_t flags : {0u, GC_FL_NUL}) {
        if (flags && size == 0) continue;
        std::string buf(size_t(size) + 8, '\x7E');
        c.loc->status = 99;
        int r = fmt(c.loc, buf.data(), size, flags, c.format.c_str(), c.arg.c_str(), c.arg.c_str());
        const size_t room = size_t(size) - (flags ? 1 : 0);
        const size_t keep = wholePrefix(c.loc, whole, room);
        const bool cut = size_t(n) > room;
        EXPECT_EQ(r, int(keep) + (flags ? 1 : 0)) << c.format << " size " << size;
        EXPECT_EQ(buf.substr(0, keep), whole.substr(0, keep)) << c.format << " size " << size;
        if (flags) {
          EXPECT_EQ(buf[keep], '\0');
        }
        EXPECT_EQ(buf[size_t(size)], '\x7E') << "nothing past the size";
        EXPECT_EQ(GCGetError(c.loc), cut ? GC_E_BUFFER : GC_OK) << c.format << " size " << size;
      }
    }
  }
}

// The stack holds the arguments of the common count; many arguments still
// come from the heap, in order.
TEST_F(FmtRuns, ManyArgumentsKeepTheirOrder) {
  char buf[256];
  int n = fmt(ascii, buf, sizeof buf, 0,
              "%d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %s", 1, 2,
              3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29,
              "end");
  EXPECT_EQ(std::string(buf, size_t(n)),
            "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29 end");
  n = fmt(ascii, buf, sizeof buf, 0, "%x|%o|%X|%#x|%#o|%u|%.5d|%-4d|%ld|%lld", 0xBEEFu, 8u, 0xABCu, 255u, 8u,
          4000000000u, 42, -7, -1234567890123L, 1234567890123456789LL);
  EXPECT_EQ(std::string(buf, size_t(n)), "beef|10|ABC|0xff|010|4000000000|00042|-7  |-1234567890123|1234567890123456789");
}

// Doubles are taken apart into exactly the digits of the C library's
// "%.40e" / "%.40f" (the long double form is still made by snprintf).
TEST(GcFpDigits, DoubleDigitsMatchTheCLibrary) {
  std::mt19937_64 rng(7);
  std::vector<double> values = {0.0, -0.0, 1.0, 0.5, 0.125, 0.1, 1e-5, 0.99999999999999989, 1e15, 1e300,
                                std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::min(),
                                std::numeric_limits<double>::max(), 2.5, 9.5, 1e-310};
  for (int i = 0; i < 3000; ++i) {
    uint64_t bits = rng();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    if (std::isfinite(d)) values.push_back(d);
    values.push_back(std::ldexp(double(rng() >> 11), int(rng() % 120) - 80));
  }
  for (double d : values) {
    GCFpValue a, b;
    long double ld = d;
    GCfltout(d, &a);
    GCqfltout(&ld, &b);
    ASSERT_EQ(a.sign, b.sign) << d;
    ASSERT_EQ(a.special, b.special) << d;
    ASSERT_EQ(a.decpt, b.decpt) << d;
    ASSERT_EQ(std::string(a.digits, size_t(a.ndigits)), std::string(b.digits, size_t(b.ndigits))) << d;
  }
  GCFpValue v;
  GCfltout(std::numeric_limits<double>::infinity(), &v);
  EXPECT_EQ(v.special, 1);
  GCfltout(-std::numeric_limits<double>::quiet_NaN(), &v);
  EXPECT_EQ(v.special, 2);
}

// The fixed form of a double from its own integer and fraction digits is
// the fixed form from the 40-digit expansion (the long double path):
// values near ties, near powers of ten, integers, halves and random ones.
TEST(GcFpDigits, FixedFormMatchesTheLongDoublePath) {
  std::mt19937_64 rng(10);
  std::vector<double> values = {1.0, 1.5, 2.5, 0.125 + 1, 1.005, 1.015, 2.675, 1234.5, 9.995, 99.995, 999999.5,
                                4503599627370495.5, 9007199254740991.0, 9007199254740992.0, 1e15 + 0.3,
                                1.0000000000000002, 0.99999999999999989, 0.5, 0.05, 1e-7, 123456789.125};
  for (int i = 0; i < 20000; ++i) {
    const int kind = i % 4;
    double d;
    if (kind == 0) d = std::ldexp(double(rng() >> 11), int(rng() % 60) - 52); // 2^-52 .. 2^60
    else if (kind == 1) d = double(rng() % 100000000) / std::pow(10.0, double(rng() % 9)) + 0.5 / std::pow(10.0, double(rng() % 9));
    else if (kind == 2) d = double(rng() % 1000000) + double(rng() % 1000) / 1000.0;
    else d = std::nextafter(double(rng() % 100000) + 0.5, rng() % 2 ? 0.0 : 1e300);
    values.push_back(rng() % 2 ? -d : d);
  }
  char a[700], b[700];
  for (double d : values) {
    for (int p = 0; p <= 20; ++p) {
      for (int ascii : {1, 0}) {
        long double ld = d;
        int n = GCCfltcvt(&d, a, sizeof a, 'f', p, 0, ascii);
        int m = GCCldcvt(&ld, b, sizeof b, 'f', p, 0, ascii);
        ASSERT_EQ(n, m) << d << " p " << p;
        ASSERT_EQ(std::string(a, size_t(n)), std::string(b, size_t(m))) << std::setprecision(17) << d << " p " << p;
      }
    }
  }
}

// Rounding stays half up on the decimal digits.
TEST_F(FmtRuns, FloatConversionsRoundHalfUp) {
  char buf[64];
  int n = fmt(ascii, buf, sizeof buf, 0, "%.2f %.0f %.1e %g", 0.125, 2.5, 0.25, 1e-5);
  EXPECT_EQ(std::string(buf, size_t(n)), "0.13 3 2.5e-001 1e-005");
}

TEST_F(FmtRuns, DoublesReadAsStrtodReadsThem) {
  std::mt19937_64 rng(8);
  std::vector<std::string> texts = {"0", "-0", "1e400", "-1e400", "1e-400", "4.9e-324", "2.4703282292062328e-324",
                                    "2.4703282292062327e-324", "1.7976931348623157e308", "1.7976931348623159e308",
                                    "0.000001", "123456789012345678901234567890", "  12.5", "+3.25", "-.5", "7.",
                                    "9007199254740993", "1.00000000000000011102230246251565404236316680908203125"};
  texts.push_back("0." + std::string(900, '3') + "7");
  texts.push_back(std::string(850, '9') + ".5e-840");
  char b[64];
  for (int i = 0; i < 3000; ++i) {
    uint64_t bits = rng();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    if (!std::isfinite(d)) continue;
    std::snprintf(b, sizeof b, i % 3 == 0 ? "%.17g" : (i % 3 == 1 ? "%.6e" : "%.3f"), std::fmod(d, 1e20));
    texts.push_back(b);
    std::snprintf(b, sizeof b, "%.17g", d);
    texts.push_back(b);
  }
  for (const std::string& t : texts) {
    const char* end = nullptr;
    char* cend = nullptr;
    double mine = GCStringToDouble(ascii, t.c_str(), int32_t(t.size()), &end, 0);
    double want = std::strtod(t.c_str(), &cend);
    ASSERT_EQ(std::memcmp(&mine, &want, sizeof mine), 0) << t << ": " << mine << " vs " << want;
    ASSERT_EQ(end, cend) << t;
  }
}

TEST_F(FmtRuns, IntegersReadAsStrtolReadsThem) {
  std::mt19937 rng(9);
  const char* digits = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  for (int i = 0; i < 5000; ++i) {
    const int base = int(2 + rng() % 35);
    std::string t = i % 4 == 0 ? " " : (i % 4 == 1 ? "\t" : "");
    if (rng() % 3 == 0) t += rng() % 2 ? "-" : "+";
    t += digits[1 + rng() % (base - 1)]; // no leading zero (no prefix forms)
    for (int k = 0, n = int(rng() % 8); k < n; ++k) t += digits[rng() % (base < 10 ? base : 62)];
    t += rng() % 2 ? "!" : "";
    char* cend = nullptr;
    errno = 0;
    long want = std::strtol(t.c_str(), &cend, base);
    if (errno || want > INT32_MAX || want < INT32_MIN) continue; // this reader is 32-bit
    const char* end = nullptr;
    long mine = GCStringToLong(ascii, t.c_str(), int32_t(t.size()), &end, base, 0);
    ASSERT_EQ(mine, want) << t << " base " << base;
    ASSERT_EQ(end, cend) << t << " base " << base;
  }
}

// A locale's separators take their bytes from the digits' in-line path.
TEST(GcStrtoSeparators, SeparatorBytesAreNoDigits) {
  gctest::LocaleLib lib;
  GCLocale* de = lib.get("German_Germany.Latin1");
  const char* end = nullptr;
  EXPECT_EQ(GCStringToLong(de, "1.234.567x", -1, &end, 10, 0), 1234567);
  EXPECT_STREQ(end, "x");
  EXPECT_EQ(GCStringToDouble(de, "1.234,5e1 ", -1, &end, 0), 12345.0);
  EXPECT_STREQ(end, " ");
  de->sep[GC_SEP_THOUSANDS] = '3'; // a digit as the thousands separator
  EXPECT_EQ(GCStringToLong(de, "13235", -1, &end, 10, 0), 125);
  EXPECT_EQ(*end, '\0');
}

// The per-call look-ups leave shared locales alone: threads that format,
// convert and read numbers on the same locales get what one thread gets.
TEST_F(FmtRuns, SharedLocalesFromSeveralThreads) {
  auto work = [&](std::string* out) {
    char buf[128];
    for (int k = 0; k < 300; ++k) {
      int n = fmt(utf8, buf, sizeof buf, 0, "%d|%s|%.3f|%x", k, "\xE4\xB8\x80\xC3\xA4", k / 7.0, unsigned(k * 977));
      out->append(buf, size_t(n));
      GCUChar u[32];
      int32_t m = GCStringToUnicode(u, 32, utf8, buf, n, 0);
      out->append(reinterpret_cast<const char*>(u), size_t(m) * 2);
      const char* end;
      out->append(std::to_string(GCStringToLong(dbl, buf, n, &end, 10, 0)));
    }
  };
  std::string alone;
  work(&alone);
  std::vector<std::string> got(4);
  std::vector<std::thread> threads;
  for (std::string& g : got) threads.emplace_back(work, &g);
  for (std::thread& t : threads) t.join();
  for (const std::string& g : got) EXPECT_EQ(g, alone);
}

} // namespace
