// Time to text: directive table, ISO and other week numbers, alternate forms,
// modifiers, field checks, buffer limits, nested locale formats (including
// ones that name themselves), EBCDIC, character mode; UCS-2 to text.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <string>

#include "gc_fmt_testloc.h"
#include "mbtext/gc_time.h"
#include "mbtext/gc_uni2str.h"

using gcfmt_test::Page;
using gcfmt_test::TestLocale;

namespace {

// A date with its day of week and day of year filled in.
struct tm date(int y, int mon, int d, int h = 0, int mi = 0, int s = 0) {
  struct tm t {};
  t.tm_year = y - 1900;
  t.tm_mon = mon - 1;
  t.tm_mday = d;
  t.tm_hour = h;
  t.tm_min = mi;
  t.tm_sec = s;
  t.tm_isdst = 0;
  struct tm copy = t;
  timegm(&copy);  // fills day of week and day of year
  t.tm_wday = copy.tm_wday;
  t.tm_yday = copy.tm_yday;
  return t;
}

std::string T(TestLocale& tl, const struct tm& t, const char* f) {
  char buf[256];
  int r = GCTimeToString(tl.get(), &t, buf, sizeof buf, f, -1, GC_FL_NUL);
  if (r < 1) return "<" + std::to_string(r) + ":" + std::to_string(tl.loc.status) + ">";
  EXPECT_EQ(buf[r - 1], '\0');
  return std::string(buf, static_cast<size_t>(r - 1));
}

struct TimeCase {
  const char* fmt;
  int y, mon, d, h, mi, s;
  const char* want;
};
class Directives : public ::testing::TestWithParam<TimeCase> {};
TEST_P(Directives, Text) {
  const TimeCase& c = GetParam();
  TestLocale tl;
  EXPECT_EQ(T(tl, date(c.y, c.mon, c.d, c.h, c.mi, c.s), c.fmt), c.want) << c.fmt;
}
INSTANTIATE_TEST_SUITE_P(
    Table, Directives,
    ::testing::Values(
        TimeCase{"%Y-%m-%d %H:%M:%S", 2004, 3, 5, 7, 8, 9, "2004-03-05 07:08:09"},
        TimeCase{"%#d", 2004, 3, 5, 7, 8, 9, "5"}, TimeCase{"%e", 2004, 3, 5, 7, 8, 9, " 5"},
        TimeCase{"%e", 2004, 3, 15, 7, 8, 9, "15"}, TimeCase{"%j", 2004, 1, 1, 0, 0, 0, "000"},
        TimeCase{"%j", 2004, 12, 31, 0, 0, 0, "365"}, TimeCase{"%a %b", 2004, 3, 5, 0, 0, 0, "Fri Mar"},
        TimeCase{"%A %B %h", 2004, 3, 5, 0, 0, 0, "Friday March Mar"},
        TimeCase{"%p", 2004, 3, 5, 12, 0, 0, "PM"}, TimeCase{"%p", 2004, 3, 5, 11, 59, 0, "AM"},
        TimeCase{"%D", 2004, 3, 5, 7, 8, 9, "03/05/04"}, TimeCase{"%#D", 2004, 3, 5, 7, 8, 9, "3/5/04"},
        TimeCase{"%R", 2004, 3, 5, 7, 8, 9, "07:08"}, TimeCase{"%#R", 2004, 3, 5, 7, 8, 9, "7:8"},
        TimeCase{"%T", 2004, 3, 5, 7, 8, 9, "07:08:09"}, TimeCase{"%#T", 2004, 3, 5, 7, 8, 9, "7:8:9"},
        TimeCase{"%I %l|%k", 2004, 3, 5, 0, 8, 9, "12 12| 0"}, TimeCase{"%I %l", 2004, 3, 5, 15, 0, 0, "03  3"},
        TimeCase{"%C %y %Y", 2004, 3, 5, 0, 0, 0, "20 04 2004"}, TimeCase{"%u %w", 2004, 3, 7, 0, 0, 0, "1 0"},
        TimeCase{"%u %w", 2004, 3, 6, 0, 0, 0, "7 6"}, TimeCase{"%t|%%|%z%Z|", 2004, 3, 6, 0, 0, 0, "\t|%||"},
        TimeCase{"%Ey %Oy %EY", 2004, 3, 6, 0, 0, 0, "04 04 2004"}, TimeCase{"%Od %OH", 2004, 3, 6, 1, 0, 0, "06 01"},
        TimeCase{"%x", 2004, 3, 5, 0, 0, 0, "03/05/04"}, TimeCase{"%#x", 2004, 3, 5, 0, 0, 0, "Friday, March 05, 2004"},
        TimeCase{"%X", 2004, 3, 5, 7, 8, 9, "07:08:09"}, TimeCase{"%r", 2004, 3, 5, 7, 8, 9, "07:08:09"},
        TimeCase{"%c", 2004, 3, 5, 7, 8, 9, "03/05/04 07:08:09"},
        TimeCase{"%#c", 2004, 3, 5, 7, 8, 9, "Friday, March 05, 2004 07:08:09"},
        TimeCase{"%Y", 12345, 1, 1, 0, 0, 0, "12345"}, TimeCase{"%Y", 987, 1, 1, 0, 0, 0, "0987"},
        TimeCase{"%#Y", 987, 1, 1, 0, 0, 0, "987"}, TimeCase{"%Y %y", -5, 1, 1, 0, 0, 0, "-0005 95"},
        TimeCase{"%y", 10000, 6, 1, 0, 0, 0, "00"}));

struct WeekCase {
  int y, mon, d;
  const char* v;  // ISO week
  const char* u;  // weeks from Sunday
  const char* w;  // weeks from Monday
};
class Weeks : public ::testing::TestWithParam<WeekCase> {};
TEST_P(Weeks, AllThreeNumberings) {
  const WeekCase& c = GetParam();
  TestLocale tl;
  struct tm t = date(c.y, c.mon, c.d);
  EXPECT_EQ(T(tl, t, "%V"), c.v) << c.y << "-" << c.mon << "-" << c.d;
  EXPECT_EQ(T(tl, t, "%U"), c.u) << c.y << "-" << c.mon << "-" << c.d;
  EXPECT_EQ(T(tl, t, "%W"), c.w) << c.y << "-" << c.mon << "-" << c.d;
  // The same numbers as the C library's.
  char ref[16];
  strftime(ref, sizeof ref, "%V %U %W", &t);
  EXPECT_EQ(T(tl, t, "%V %U %W"), ref);
}
INSTANTIATE_TEST_SUITE_P(Table, Weeks,
                         ::testing::Values(WeekCase{2005, 1, 1, "53", "00", "00"}, WeekCase{2003, 12, 31, "01", "52", "52"},
                                           WeekCase{2004, 1, 1, "01", "00", "00"}, WeekCase{2004, 12, 31, "53", "52", "52"},
                                           WeekCase{2008, 12, 29, "01", "52", "52"}, WeekCase{2010, 1, 3, "53", "01", "00"},
                                           WeekCase{2010, 1, 4, "01", "01", "01"}, WeekCase{2021, 1, 1, "53", "00", "00"},
                                           WeekCase{2026, 12, 10, "50", "49", "49"}, WeekCase{2000, 2, 29, "09", "09", "09"},
                                           WeekCase{2006, 1, 1, "52", "01", "00"}, WeekCase{2015, 12, 31, "53", "52", "52"}));

TEST(TimeToString, RefusalsAndFieldChecks) {
  TestLocale tl;
  struct tm t = date(2004, 3, 5, 7, 8, 9);
  const char* bad51[] = {"%Ed", "%q", "x%", "%#", "%E", "%EE", "%Oa", "%EV", "%OY", "%Oc"};
  for (const char* f : bad51) {
    char buf[64];
    EXPECT_EQ(GCTimeToString(tl.get(), &t, buf, sizeof buf, f, -1, 0), -1) << f;
    EXPECT_EQ(tl.loc.status, GC_E_FORMAT) << f;
  }
  struct {
    const char* fmt;
    void (*spoil)(struct tm*);
  } fields[] = {
      {"%S", [](struct tm* x) { x->tm_sec = 60; }},  {"%M", [](struct tm* x) { x->tm_min = 60; }},
      {"%H", [](struct tm* x) { x->tm_hour = 24; }}, {"%a", [](struct tm* x) { x->tm_wday = 7; }},
      {"%b", [](struct tm* x) { x->tm_mon = 12; }},  {"%m", [](struct tm* x) { x->tm_mon = -1; }},
      {"%j", [](struct tm* x) { x->tm_yday = 366; }}, {"%d", [](struct tm* x) { x->tm_mday = 32; }},
      {"%C", [](struct tm* x) { x->tm_year = 10000 - 1900; }}, {"%V", [](struct tm* x) { x->tm_wday = -1; }},
  };
  for (const auto& f : fields) {
    struct tm bad = t;
    f.spoil(&bad);
    char buf[64];
    EXPECT_EQ(GCTimeToString(tl.get(), &bad, buf, sizeof buf, f.fmt, -1, 0), -1) << f.fmt;
    EXPECT_EQ(tl.loc.status, GC_E_NOT_FOUND) << f.fmt;
  }
  char buf[8];
  EXPECT_EQ(GCTimeToString(tl.get(), &t, buf, sizeof buf, "%H", -1, 0x2), -1);
  EXPECT_EQ(tl.loc.status, GC_E_ARG);
  EXPECT_EQ(GCTimeToString(tl.get(), &t, buf, 0, "%H", -1, 0), 0);
  EXPECT_EQ(tl.loc.status, GC_E_BUFFER);
}

TEST(TimeToString, OutputLimits) {
  TestLocale tl;
  struct tm t = date(2004, 3, 5, 7, 8, 9);
  char buf[16];
  std::memset(buf, 'Z', sizeof buf);
  EXPECT_EQ(GCTimeToString(tl.get(), &t, buf, 4, "%H:%M", -1, GC_FL_NUL), 4);
  EXPECT_STREQ(buf, "07:");
  EXPECT_EQ(tl.loc.status, GC_E_BUFFER);
  std::memset(buf, 'Z', sizeof buf);
  EXPECT_EQ(GCTimeToString(tl.get(), &t, buf, 3, "%B", -1, 0), 3);  // a cut word
  EXPECT_EQ(std::string(buf, 3), "Mar");
  EXPECT_EQ(buf[3], 'Z');
  EXPECT_EQ(tl.loc.status, GC_E_BUFFER);
  EXPECT_EQ(GCTimeToString(tl.get(), &t, buf, 8, "%Y-%m", 2, 0), 4);  // format length bounds the walk
  EXPECT_EQ(std::string(buf, 4), "2004");
  EXPECT_EQ(tl.loc.status, 0u);
  EXPECT_EQ(GCTimeToString(tl.get(), &t, buf, 6, "%c", -1, 0), 6);
  EXPECT_EQ(tl.loc.status, GC_E_BUFFER);
  // The date fills the output exactly: the time is missing, so the text is cut.
  EXPECT_EQ(GCTimeToString(tl.get(), &t, buf, 8, "%c", -1, 0), 8);
  EXPECT_EQ(std::string(buf, 8), "03/05/04");
  EXPECT_EQ(tl.loc.status, GC_E_BUFFER);
}

TEST(TimeToString, LineEnds) {
  TestLocale tl;
  struct tm t = date(2004, 3, 5);
  EXPECT_EQ(T(tl, t, "a%nb"), "a\nb");
  char buf[16];
  int r = GCTimeToString(tl.get(), &t, buf, sizeof buf, "a%nb", -1, GC_FL_NUL | 0x200);
  EXPECT_EQ(r, 5);
  EXPECT_STREQ(buf, "a\r\nb");
  std::memset(buf, 'Z', sizeof buf);
  EXPECT_EQ(GCTimeToString(tl.get(), &t, buf, 2, "a%n", -1, 0x200), 1);
  EXPECT_EQ(tl.loc.status, GC_E_BUFFER);
  EXPECT_EQ(buf[1], 'Z');
}

TEST(TimeToString, LocaleFormatsThatNameThemselvesAreRefused) {
  TestLocale tl;
  struct tm t = date(2004, 3, 5, 7, 8, 9);
  tl.setText(GC_TXT_TIME_FMT, "%H %X");
  char buf[64];
  EXPECT_EQ(GCTimeToString(tl.get(), &t, buf, sizeof buf, "%X", -1, 0), -1);
  EXPECT_EQ(tl.loc.status, GC_E_FORMAT);
  tl.setText(GC_TXT_TIME_FMT, "%c");
  EXPECT_EQ(GCTimeToString(tl.get(), &t, buf, sizeof buf, "%r", -1, 0), -1);
  EXPECT_EQ(tl.loc.status, GC_E_FORMAT);
  tl.setText(GC_TXT_SDATE_FMT, "%#x");
  tl.setText(GC_TXT_LDATE_FMT, "%x");
  EXPECT_EQ(GCTimeToString(tl.get(), &t, buf, sizeof buf, "%x", -1, 0), -1);
  EXPECT_EQ(tl.loc.status, GC_E_FORMAT);
  tl.setText(GC_TXT_TIME_FMT, "%R");
  tl.setText(GC_TXT_SDATE_FMT, "%D");
  EXPECT_EQ(T(tl, t, "%c"), "03/05/04 07:08");  // nesting without a loop still works
}

TEST(TimeToString, EbcdicFormat) {
  TestLocale tl(Page::Ebcdic);
  struct tm t = date(2004, 3, 5, 7, 8, 9);
  std::string f = tl.form("%Y-%m-%d %a %#D %p%%");
  char buf[64];
  int r = GCTimeToString(tl.get(), &t, buf, sizeof buf, f.c_str(), -1, GC_FL_NUL);
  ASSERT_GT(r, 0);
  EXPECT_EQ(std::string(buf), tl.form("2004-03-05 Fri 3/5/04 AM%"));
  EXPECT_EQ(static_cast<unsigned char>(buf[0]), 0xF2);
}

TEST(TimeToString, CharacterMode) {
  TestLocale tl(Page::DoubleByte);
  struct tm t = date(2004, 3, 5, 7, 8, 9);
  const char fmt[] = "\x82\x41%H\x82\x42";
  char buf[16];
  std::memset(buf, 'Z', sizeof buf);
  int r = GCTimeToString(tl.get(), &t, buf, 5, fmt, -1, GC_FL_CHARS | GC_FL_NUL);
  EXPECT_EQ(r, 5);  // four characters and the NUL
  EXPECT_STREQ(buf, "\x82\x41" "07\x82\x42");
  EXPECT_EQ(tl.loc.status, 0u);
  r = GCTimeToString(tl.get(), &t, buf, 3, fmt, -1, GC_FL_CHARS);
  EXPECT_EQ(r, 3);
  EXPECT_EQ(std::string(buf, 4), "\x82\x41" "07");
  EXPECT_EQ(tl.loc.status, GC_E_BUFFER);
  // Digits are written while room is left.
  r = GCTimeToString(tl.get(), &t, buf, 3, fmt, -1, 0);
  EXPECT_EQ(r, 3);
  EXPECT_EQ(tl.loc.status, GC_E_BUFFER);
  // A double-byte character that does not fit the byte buffer is not split.
  std::memset(buf, 'Z', sizeof buf);
  r = GCTimeToString(tl.get(), &t, buf, 2, "a\x82\x41", -1, 0);
  EXPECT_EQ(r, 1);
  EXPECT_EQ(buf[1], 'Z');
  EXPECT_EQ(tl.loc.status, GC_E_BUFFER);
}

TEST(TimeToString, WriteNumberAndWord) {
  char out[8];
  int32_t pos = 0;
  EXPECT_EQ(GCStrWriteNumber(out, &pos, 8, 1234, 2, 1, 0), 0u);
  EXPECT_EQ(std::string(out, 2), "34");
  pos = 0;
  EXPECT_EQ(GCStrWriteNumber(out, &pos, 8, 0, 3, 1, 1), 0u);
  EXPECT_EQ(std::string(out, 1), "0");
  pos = 0;
  EXPECT_EQ(GCStrWriteNumber(out, &pos, 8, 7, 3, 1, 0), 0u);
  EXPECT_EQ(std::string(out, 3), "007");
  pos = 6;
  EXPECT_EQ(GCStrWriteNumber(out, &pos, 8, 123, 3, 0, 0), GC_E_BUFFER);
  EXPECT_EQ(pos, 8);
  EXPECT_EQ(static_cast<unsigned char>(out[6]), 0xF1);
  TestLocale tl;
  pos = 0;
  EXPECT_EQ(GCStrWriteWord(tl.get(), out, &pos, 8, 16, 0), 0u);
  EXPECT_EQ(std::string(out, static_cast<size_t>(pos)), "Sunday");
}

struct UniCase {
  Page page;
  std::u16string src;
  int32_t srclen;
  int32_t outlen;
  uint32_t flags;
  std::string want;  // bytes written, the NUL included when written
  int result;
};
class UnicodeToString : public ::testing::TestWithParam<UniCase> {};
TEST_P(UnicodeToString, Bytes) {
  const UniCase& c = GetParam();
  TestLocale tl(c.page);
  std::u16string s = c.src;
  std::vector<GCUChar> src(s.begin(), s.end());
  src.push_back(0);
  char out[32];
  std::memset(out, 'Z', sizeof out);
  int r = GCUnicodeToString(tl.get(), out, c.outlen, src.data(), c.srclen, c.flags);
  EXPECT_EQ(r, c.result);
  EXPECT_EQ(std::string(out, c.want.size()), c.want);
  EXPECT_EQ(out[c.want.size()], 'Z');
  EXPECT_EQ(tl.loc.status, 0u);
}
INSTANTIATE_TEST_SUITE_P(
    Table, UnicodeToString,
    ::testing::Values(UniCase{Page::Ascii, u"abc", -1, 10, 0, std::string("abc\0", 4), 4},
                      UniCase{Page::Ascii, u"abc", -1, 3, 0, "abc", 3},
                      UniCase{Page::Ascii, u"abc", 2, 10, 0, "ab", 2},
                      UniCase{Page::Ascii, u"abc", 2, 10, GC_FL_NUL, std::string("ab\0", 3), 3},
                      UniCase{Page::Ascii, u"abc", -1, 3, GC_FL_NUL, std::string("ab\0", 3), 3},
                      UniCase{Page::Ascii, u"a\u00e9", -1, 10, 0, std::string("a?\0", 3), 3},
                      UniCase{Page::Ebcdic, u"A1", -1, 10, 0, std::string("\xC1\xF1\0", 3), 3},
                      UniCase{Page::Ascii, u"abc", -1, 10, GC_FL_CHARS, std::string("abc\0", 4), 4}));

TEST(UnicodeToStringFlags, RefusedAndNullOutput) {
  TestLocale tl;
  const GCUChar src[] = {'a', 0};
  char out[4];
  EXPECT_EQ(GCUnicodeToString(tl.get(), out, 4, src, -1, 0x1), -1);
  EXPECT_EQ(tl.loc.status, GC_E_ARG);
  EXPECT_EQ(GCUnicodeToString(tl.get(), nullptr, 4, src, -1, 0), 0);
  EXPECT_EQ(tl.loc.status, 0u);
}

}  // namespace

namespace {

TEST(TimeItems, ItemFlagReadsTheTerritorysFormats) {
  TestLocale tl;
  tl.setText(GC_TXT_SDATE_FMT, "%d.%m.%Y", true);  // the locale's own format
  struct tm t = date(2004, 3, 5);
  char buf[32];
  ASSERT_GT(GCTimeToString(tl.get(), &t, buf, sizeof buf, "%x", -1, GC_FL_NUL), 0);
  EXPECT_STREQ(buf, "05.03.2004");
  ASSERT_GT(GCTimeToString(tl.get(), &t, buf, sizeof buf, "%x", -1, GC_FL_NUL | GC_FL_ITEM), 0);
  EXPECT_STREQ(buf, "03/05/04");
}

TEST(TimeItems, NullLocaleIsTheBuiltInDefault) {
  struct tm t = date(2004, 3, 5, 13, 4, 5);
  char buf[64];
  ASSERT_GT(GCTimeToString(nullptr, &t, buf, sizeof buf, "%Y %H:%M %p", -1, GC_FL_NUL), 0);
  EXPECT_EQ(std::string(buf).substr(0, 10), "2004 13:04");
  EXPECT_EQ(GCGetError(nullptr), 0u);
}

}  // namespace

namespace {

TEST(UnicodeToStringUtf8, ConvertsByRuleWithSurrogatePairs) {
  TestLocale tl(Page::DoubleByte);
  tl.cp.id = GC_CP_ID_UTF8;
  const GCUChar src[] = {u'a', 0x00E9, 0x20AC, 0xD83D, 0xDE00, 0};
  char out[32];
  std::memset(out, 'Z', sizeof out);
  int r = GCUnicodeToString(tl.get(), out, sizeof out, src, -1, 0);
  const std::string want = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
  EXPECT_EQ(r, static_cast<int>(want.size()) + 1);
  EXPECT_EQ(std::string(out), want);
  // Byte mode: a character that does not fit whole is not written.
  std::memset(out, 'Z', sizeof out);
  r = GCUnicodeToString(tl.get(), out, 5, src, -1, 0);
  EXPECT_EQ(r, 3);
  EXPECT_EQ(std::string(out, 3), "a\xC3\xA9");
  EXPECT_EQ(out[3], 'Z');
  // Character mode counts characters.
  r = GCUnicodeToString(tl.get(), out, 3, src, -1, GC_FL_CHARS);
  EXPECT_EQ(r, 3);
  EXPECT_EQ(std::string(out, 6), "a\xC3\xA9\xE2\x82\xAC");
}

}  // namespace
