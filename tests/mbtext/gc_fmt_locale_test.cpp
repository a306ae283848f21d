// The formatters in locales built from locale data files and from the
// built-in objects: German separators, digits, names and formats in Latin1
// and UTF-8, an EBCDIC page, a shift-state page.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstring>
#include <ctime>
#include <string>

#include "gc_testdata.h"
#include "gc_testloc.h"
#include "mbtext/gc_fmt.h"
#include "mbtext/gc_locobj.h"
#include "mbtext/gc_num.h"
#include "mbtext/gc_strto.h"
#include "mbtext/gc_time.h"
#include "mbtext/gc_uni2str.h"

namespace {

std::string P(GCLocale* loc, const char* f, ...) {
  char buf[512];
  va_list ap;
  va_start(ap, f);
  int r = GCVsprintf(loc, buf, sizeof buf, f, -1, GC_FL_NUL, ap);
  va_end(ap);
  if (r < 1) return "<" + std::to_string(r) + ">";
  return std::string(buf, static_cast<size_t>(r - 1));
}

std::string T(GCLocale* loc, const char* f) {
  struct tm t {};
  t.tm_year = 104;
  t.tm_mon = 2;
  t.tm_mday = 5;
  t.tm_hour = 7;
  t.tm_min = 8;
  t.tm_sec = 9;
  t.tm_wday = 5;
  t.tm_yday = 64;
  char buf[256];
  int r = GCTimeToString(loc, &t, buf, sizeof buf, f, -1, GC_FL_NUL);
  if (r < 1) return "<" + std::to_string(r) + ">";
  return std::string(buf, static_cast<size_t>(r - 1));
}

TEST(FormattersInDataFileLocales, GermanInLatin1) {
  gctest::LocaleLib lib;
  GCLocale* de = lib.get("German");
  ASSERT_NE(de, nullptr);
  EXPECT_EQ(P(de, "%.2f|%,d|%,.1f", 1234.5, 1234567, 1234.5), "1234,50|1.234.567|1.234,500");
  char buf[64];
  ASSERT_GT(GCDoubleToString(de, -1234.5, buf, sizeof buf, GC_FL_NUL), 0);
  EXPECT_STREQ(buf, "-1.234,500");
  ASSERT_GT(GCLongToString(de, -1234567, buf, sizeof buf, GC_FL_NUL), 0);
  EXPECT_STREQ(buf, "-1.234.567");
  EXPECT_EQ(GCStringToDouble(de, "1.234,5", -1, nullptr, 0), 1234.5);
  EXPECT_EQ(GCStringToLong(de, "1.234.567", -1, nullptr, 10, 0), 1234567);
  EXPECT_EQ(T(de, "%A, %d. %B %Y"), "Freitag, 05. M\xE4rz 2004");
  EXPECT_EQ(T(de, "%x|%#x|%X"), "05.03.2004|Freitag, 05. M\xE4rz 2004|07:08:09");
  EXPECT_EQ(T(de, "%c"), "05.03.2004 07:08:09");
}

TEST(FormattersInDataFileLocales, GermanInUtf8) {
  gctest::LocaleLib lib;
  GCLocale* de = lib.get("German.UTF-8");
  ASSERT_NE(de, nullptr);
  EXPECT_EQ(T(de, "%B %b"), "M\xC3\xA4rz Mar");
  char buf[16];
  std::memset(buf, 'Z', sizeof buf);
  struct tm t {};
  t.tm_mon = 2;
  // "M" fits, the two bytes of the umlaut do not: the name is cut before it.
  EXPECT_EQ(GCTimeToString(de, &t, buf, 2, "%B", -1, 0), 1);
  EXPECT_EQ(buf[0], 'M');
  EXPECT_EQ(buf[1], 'Z');
  EXPECT_EQ(GCGetError(de), GC_E_BUFFER);
  EXPECT_EQ(P(de, "%.1f", 2.25), "2,3");
  const GCUChar src[] = {'M', 0xE4, 'r', 'z', 0};
  ASSERT_EQ(GCUnicodeToString(de, buf, sizeof buf, src, -1, 0), 6);
  EXPECT_STREQ(buf, "M\xC3\xA4rz");
}

TEST(FormattersInDataFileLocales, EbcdicPage) {
  gctest::LocaleLib lib;
  GCLocale* eb = lib.get("English.EBCDIC");
  ASSERT_NE(eb, nullptr);
  const std::string f = gctest::ebcdic("%d|%.2f|%5s|%,d");
  EXPECT_EQ(P(eb, f.c_str(), -42, 1.5, gctest::ebcdic("ab").c_str(), 1234567),
            gctest::ebcdic("-42|1.50|   ab|1,234,567"));
  EXPECT_EQ(T(eb, gctest::ebcdic("%Y-%m-%d %a %b").c_str()), gctest::ebcdic("2004-03-05 Fri Mar"));
  const std::string n = gctest::ebcdic("  -1,234");
  EXPECT_EQ(GCStringToLong(eb, n.c_str(), -1, nullptr, 10, 0), -1234);
  const std::string d = gctest::ebcdic("2.5e1");
  EXPECT_EQ(GCStringToDouble(eb, d.c_str(), -1, nullptr, 0), 25.0);
}

TEST(FormattersInDataFileLocales, ShiftStatePage) {
  gctest::LocaleLib lib;
  GCLocale* sh = lib.get("English.Shift");
  ASSERT_NE(sh, nullptr);
  const char text[] = "12\x0E\x0F" "3\x0E\x42\xC1\x0F" "4";
  const char* end = nullptr;
  EXPECT_EQ(GCStringToLong(sh, text, -1, &end, 10, 0), 123);
  EXPECT_EQ(end - text, 5);  // at the shift-out before the double-byte character
}

TEST(FormattersInBuiltInLocale, DefaultsWithoutDataFiles) {
  gctest::DataDir empty;
  ASSERT_EQ(GCInit(empty.path(), nullptr, nullptr, nullptr, 0), GC_S_DEFAULTS);
  uint32_t st = 99;
  GCLocale* loc = GCGetLocale("", 4, &st);
  ASSERT_NE(loc, nullptr);
  EXPECT_EQ(P(loc, "%,d %.2f %e", 1234567, 0.125, 12345.678), "1,234,567 0.13 1.234568e+004");
  EXPECT_EQ(T(loc, "%#x"), "Friday, March 05, 2004");
  EXPECT_EQ(T(loc, "%A %p"), "Friday AM");
  EXPECT_EQ(GCStringToDouble(loc, "-2,000.25", -1, nullptr, 0), -2000.25);
  EXPECT_EQ(GCReleaseLocale(loc, 0), GC_OK);
  EXPECT_EQ(GCTerm(), GC_OK);
}

}  // namespace

namespace {

TEST(UnicodeToStringShift, DoubleByteRunsAreEnclosedInShiftCodes) {
  gctest::LocaleLib lib;
  GCLocale* sh = lib.get("English.Shift");
  ASSERT_NE(sh, nullptr);
  const GCUChar src[] = {'a', 0xFF21, 0x4E00, 'b', 0xFF21, 0};
  char out[32];
  std::memset(out, 'Z', sizeof out);
  int r = GCUnicodeToString(sh, out, sizeof out, src, -1, 0);
  const std::string want = "a\x0E\x42\xC1\x45\x41\x0F" "b\x0E\x42\xC1\x0F";
  EXPECT_EQ(r, static_cast<int>(want.size()) + 1);
  EXPECT_EQ(std::string(out), want);
  // Room for "a", shift-out, one character and the closing shift-in only.
  std::memset(out, 'Z', sizeof out);
  r = GCUnicodeToString(sh, out, 6, src, -1, 0);
  EXPECT_EQ(r, 5);
  EXPECT_EQ(std::string(out, 5), "a\x0E\x42\xC1\x0F");
  EXPECT_EQ(out[5], 'Z');
}

}  // namespace

namespace {

TEST(ShiftStateFormats, DoubleByteRunsAreNotParsed) {
  gctest::LocaleLib lib;
  GCLocale* sh = lib.get("English.Shift");
  ASSERT_NE(sh, nullptr);
  // In double-byte mode the bytes 0x25 0x64 are one character, not "%d".
  EXPECT_EQ(P(sh, "a\x0E\x25\x64\x0F%d", 7), "a\x0E\x25\x64\x0F" "7");
  EXPECT_EQ(T(sh, "\x0E\x25\x59\x0F%Y"), "\x0E\x25\x59\x0F" "2004");
  EXPECT_EQ(P(sh, "%d\x0E\x25\x64", 1), "1\x0E\x25\x64");
}

}  // namespace
