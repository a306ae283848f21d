// Formatted output: conversions by argument type, flags, widths and
// precisions, positional arguments, locale separators and grouping, buffer
// limits, multibyte and EBCDIC formats, refusals, and random formats.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "gc_fmt_testloc.h"
#include "mbtext/gc_fmt.h"

using gcfmt_test::Page;
using gcfmt_test::TestLocale;

namespace {

int vfmt(GCLocale* loc, char* buf, int32_t len, const char* f, uint32_t flags, ...) {
  va_list ap;
  va_start(ap, flags);
  int r = GCVsprintf(loc, buf, len, f, -1, flags, ap);
  va_end(ap);
  return r;
}

// Formats into a large buffer with a NUL; checks the result counts it.
template <class... A>
std::string F(TestLocale& tl, const char* f, A... args) {
  char buf[8192];
  int r = vfmt(tl.get(), buf, sizeof buf, f, GC_FL_NUL, args...);
  if (r < 1) return "<" + std::to_string(r) + ">";
  EXPECT_EQ(buf[r - 1], '\0');
  return std::string(buf, static_cast<size_t>(r - 1));
}

struct IntCase {
  const char* fmt;
  int value;
  const char* want;
};
class IntConversions : public ::testing::TestWithParam<IntCase> {};
TEST_P(IntConversions, Text) {
  TestLocale tl;
  EXPECT_EQ(F(tl, GetParam().fmt, GetParam().value), GetParam().want) << GetParam().fmt;
  EXPECT_EQ(tl.loc.status, 0u);
}
INSTANTIATE_TEST_SUITE_P(
    Table, IntConversions,
    ::testing::Values(IntCase{"%d", 42, "42"}, IntCase{"%5d", 42, "   42"}, IntCase{"%-5d|", 42, "42   |"},
                      IntCase{"%05d", -42, "-0042"}, IntCase{"%.0d", 0, ""}, IntCase{"%+d", 5, "+5"},
                      IntCase{"% d", 5, " 5"}, IntCase{"%#o", 8, "010"}, IntCase{"%#o", 0, "0"},
                      IntCase{"%#x", 0, "0"}, IntCase{"%#x", 255, "0xff"}, IntCase{"%#X", 255, "0XFF"},
                      IntCase{"%x", -1, "ffffffff"}, IntCase{"%u", -1, "4294967295"}, IntCase{"%hd", 65537, "1"},
                      IntCase{"%hd", 65535, "-1"}, IntCase{"%hu", 65535, "65535"}, IntCase{"%.5d", -42, "-00042"},
                      IntCase{"%08.3d", 7, "     007"}, IntCase{"%i", INT32_MIN, "-2147483648"},
                      IntCase{"%c", 'A', "A"}, IntCase{"%3c|", 'z', "  z|"}, IntCase{"%%%d", 1, "%1"},
                      IntCase{"%,d", 1234567, "1,234,567"}, IntCase{"%,d", -1234567, "-1,234,567"},
                      IntCase{"%,d", INT32_MIN, "-2,147,483,648"}, IntCase{"%,u", -1, "4,294,967,295"},
                      IntCase{"%,x", 1234567, "12d687"}, IntCase{"%12,d|", 1234567, "   1,234,567|"},
                      IntCase{"%#5o", 8, "  010"}, IntCase{"%-#6x|", 255, "0xff  |"}, IntCase{"%#06x", 255, "0x00ff"}));

struct DoubleCase {
  const char* fmt;
  double value;
  const char* want;
};
class DoubleConversions : public ::testing::TestWithParam<DoubleCase> {};
TEST_P(DoubleConversions, Text) {
  TestLocale tl;
  EXPECT_EQ(F(tl, GetParam().fmt, GetParam().value), GetParam().want) << GetParam().fmt;
}
INSTANTIATE_TEST_SUITE_P(
    Table, DoubleConversions,
    ::testing::Values(DoubleCase{"%f", 1.5, "1.500000"}, DoubleCase{"%.2f", 0.125, "0.13"},
                      DoubleCase{"%.0f", 2.5, "3"}, DoubleCase{"%#.0f", 3.0, "3."}, DoubleCase{"%e", 0.0, "0.000000e+000"},
                      DoubleCase{"%.2e", 12345.678, "1.23e+004"}, DoubleCase{"%.2E", 12345.678, "1.23E+004"},
                      DoubleCase{"%#.0e", 3.0, "3.e+000"}, DoubleCase{"%g", 0.00001, "1e-005"},
                      DoubleCase{"%G", 0.00001, "1E-005"}, DoubleCase{"%#g", 0.00001, "1.00000e-005"},
                      DoubleCase{"%g", 123456.789, "123456.789"}, DoubleCase{"%g", 100.0, "100"},
                      DoubleCase{"%.0g", 2.5, "2.5"}, DoubleCase{"%10.2f|", -1.5, "     -1.50|"},
                      DoubleCase{"%-10.2f|", 1.5, "1.50      |"}, DoubleCase{"%010.2f", -1.5, "-000001.50"},
                      DoubleCase{"%+.1f", 1.0, "+1.0"}, DoubleCase{"% .1f", 1.0, " 1.0"},
                      DoubleCase{"%f", -0.0, "-0.000000"}, DoubleCase{"%g", -0.0, "-0"},
                      DoubleCase{"%f", std::numeric_limits<double>::infinity(), "inf"},
                      DoubleCase{"%05f", -std::numeric_limits<double>::infinity(), " -inf"},
                      DoubleCase{"%E", std::numeric_limits<double>::quiet_NaN(), "NAN"},
                      DoubleCase{"%.3e", 1e-45, "1.000e-045"}, DoubleCase{"%.2f", 1e-45, "0.00"},
                      DoubleCase{"%,.2f", 1234567.891, "1,234,567.89"}, DoubleCase{"%,f", -1234.5, "-1,234.50"},
                      DoubleCase{"%,g", 1234567.0, "1,234,570.00"}, DoubleCase{"%,e", 1234567.0, "1.234567e+006"}));

TEST(Vsprintf, LargestValuesFitTheConversionBuffer) {
  TestLocale tl;
  std::string s = F(tl, "%.2f", 1.7976931348623157e308);
  EXPECT_EQ(s.size(), 312u);
  std::string l = F(tl, "%.1Lf", std::numeric_limits<long double>::max());
  EXPECT_EQ(l.size(), 4935u);
  EXPECT_EQ(F(tl, "%.3Le", std::numeric_limits<long double>::denorm_min()), "3.645e-4951");
  EXPECT_EQ(F(tl, "%.2Lf", 0.99999999999999999L), "1.00");
  EXPECT_EQ(F(tl, "%.500f", 1.0).size(), 502u);
}

TEST(Vsprintf, GroupingOfTheLargestValues) {
  TestLocale tl;
  tl.setText(GC_TXT_GROUPING, "1;0");
  std::string s = F(tl, "%,.0f", 1.7976931348623157e308);
  EXPECT_EQ(s.size(), 309u + 308u + 3u);  // grouped, with the locale's two fraction digits
  EXPECT_EQ(s.substr(0, 6), "1,7,9,");
  tl.setDigits(600);  // the grouped text would not fit: the plain text stays
  EXPECT_EQ(F(tl, "%,.1f", 12.25), "12.3");
}

TEST(Vsprintf, PrecisionAboveTheBufferIsRefused) {
  TestLocale tl;
  char buf[64];
  EXPECT_EQ(vfmt(tl.get(), buf, sizeof buf, "ab%.501f", 0, 1.0), 2);
  EXPECT_EQ(tl.loc.status, GC_E_ARG);
  EXPECT_EQ(std::string(buf, 2), "ab");
  EXPECT_EQ(vfmt(tl.get(), buf, sizeof buf, "%.9999d", 0, 1), 0);
  EXPECT_EQ(tl.loc.status, GC_E_ARG);
  EXPECT_EQ(vfmt(tl.get(), buf, sizeof buf, "%.99999999999999d", 0, 1), 0);  // no int overflow either
}

TEST(Vsprintf, StringsAndCharacters) {
  TestLocale tl;
  EXPECT_EQ(F(tl, "%.3s", "abcdef"), "abc");
  EXPECT_EQ(F(tl, "%s", static_cast<const char*>(nullptr)), "(null)");
  EXPECT_EQ(F(tl, "%-4s|", "ab"), "ab  |");
  EXPECT_EQ(F(tl, "%4s|", "ab"), "  ab|");
  const char unterminated[3] = {'x', 'y', 'z'};
  EXPECT_EQ(F(tl, "%.2s", unterminated), "xy");  // precision bounds the read
  const uint32_t wide[] = {'h', 'i', '!', 0};
  EXPECT_EQ(F(tl, "%S|%5S|%.1S", wide, wide, wide), "hi!|  hi!|h");
  EXPECT_EQ(F(tl, "%S", static_cast<const uint32_t*>(nullptr)), "(null)");
  EXPECT_EQ(F(tl, "[%C]", static_cast<unsigned>('Q')), "[Q]");
}

TEST(Vsprintf, PointersPrintEveryBit) {
  TestLocale tl;
  EXPECT_EQ(F(tl, "%p", reinterpret_cast<void*>(0xABCDEF)), "00ABCDEF");
  EXPECT_EQ(F(tl, "%#p", reinterpret_cast<void*>(0x1F)), "0X0000001F");
  EXPECT_EQ(F(tl, "%p", reinterpret_cast<void*>(0x123456789AULL)), "123456789A");
}

TEST(Vsprintf, SizesTakeTheirFullWidth) {
  TestLocale tl;
  EXPECT_EQ(F(tl, "%lld", -9223372036854775807LL - 1), "-9223372036854775808");
  EXPECT_EQ(F(tl, "%llx", 0x123456789ABCDEFULL), "123456789abcdef");
  EXPECT_EQ(F(tl, "%ld", 1L << 40), "1099511627776");
  EXPECT_EQ(F(tl, "%lu", static_cast<unsigned long>(-1L)), "18446744073709551615");
  EXPECT_EQ(F(tl, "%d %lld %d", 1, 2LL, 3), "1 2 3");
  EXPECT_EQ(F(tl, "%Lf %d", 1.5L, 7), "1.500000 7");
  EXPECT_EQ(F(tl, "%,lld", 12345678901LL), "12345678901");  // beyond 32 bits: not regrouped
}

TEST(Vsprintf, WidthAndPrecisionFromArguments) {
  TestLocale tl;
  EXPECT_EQ(F(tl, "%*d|", -4, 7), "7   |");
  EXPECT_EQ(F(tl, "%*d|", 4, 7), "   7|");
  EXPECT_EQ(F(tl, "%.*f", 2, 3.14159), "3.14");
  EXPECT_EQ(F(tl, "%.*f", -1, 3.14159), "3.141590");
  EXPECT_EQ(F(tl, "%*.*s|", 5, 2, "abc"), "   ab|");
}

TEST(Vsprintf, PositionalArguments) {
  TestLocale tl;
  EXPECT_EQ(F(tl, "%2$s %1$d", 5, "x"), "x 5");
  EXPECT_EQ(F(tl, "%1$*d|", 4, 9), "   9|");
  EXPECT_EQ(F(tl, "%1$d %1$d", 6), "6 6");  // a position named twice reads one argument
  EXPECT_EQ(F(tl, "%1$s", "only"), "only");
  char buf[64];
  EXPECT_EQ(vfmt(tl.get(), buf, sizeof buf, "%1$d %s.", 0, 1, "a"), -1);
  EXPECT_EQ(tl.loc.status, GC_E_FORMAT);
  EXPECT_EQ(vfmt(tl.get(), buf, sizeof buf, "%1$d %2$s %s.", 0, 1, "a"), -1);
  EXPECT_EQ(tl.loc.status, GC_E_FORMAT);
  EXPECT_EQ(vfmt(tl.get(), buf, sizeof buf, "%0$d %1$d", 0, 1, 2), 0);
  EXPECT_EQ(tl.loc.status, GC_E_FORMAT);
  EXPECT_EQ(vfmt(tl.get(), buf, sizeof buf, "%3$d %1$d", 0, 1, 2), 0);
  EXPECT_EQ(tl.loc.status, GC_E_FORMAT);
  EXPECT_EQ(vfmt(tl.get(), buf, sizeof buf, "%1$d %%x", 0, 1), -1);
  EXPECT_EQ(tl.loc.status, GC_E_FORMAT);
  EXPECT_EQ(F(tl, "%1$d %1$hd", 6), "6 6");  // int and short read the same argument type
}

// Positions that name no argument, or one argument as two types, are refused
// whatever the number of consumers.
TEST(Vsprintf, PositionsOutOfRangeOrOfTwoTypes) {
  TestLocale tl;
  const char* formats[] = {"%0$d", "%2$d", "%9$d", "%2$s %2$d", "%1$s %1$d", "%1$d %1$f", "%1$p %1$lld"};
  for (const char* f : formats) {
    char buf[64] = {};
    tl.loc.status = GC_OK;
    EXPECT_EQ(vfmt(tl.get(), buf, sizeof buf, f, 0, 7, "x", 3), 0) << f;
    EXPECT_EQ(tl.loc.status, GC_E_FORMAT) << f;
  }
}

TEST(Vsprintf, ScannersCountAndClassify) {
  TestLocale tl;
  EXPECT_EQ(GCIsNumArgValid(tl.get(), "%2$s %1$d", 1), 1);
  EXPECT_EQ(GCIsNumArgValid(tl.get(), "%d %s", 1), 0);
  EXPECT_EQ(GCIsNumArgValid(tl.get(), "%1$d %s.", 1), -1);
  EXPECT_EQ(GCIsNumArgValid(tl.get(), "%1$d %2$s", 1), 1);
  EXPECT_EQ(GCIsNumArgValid(tl.get(), "%", 1), 0);
  EXPECT_EQ(GCGetArgCount(tl.get(), "%d %*.*f %% %s", 1), 5);
  EXPECT_EQ(GCGetArgCount(tl.get(), "%y %q", 1), 0);  // no conversion: no argument
  GCArgRecord rec[4] = {};
  for (uint32_t i = 0; i < 4; ++i) rec[i].position = i;
  EXPECT_EQ(GCFillArgSize(tl.get(), "%hd%Lg%lld%S", rec, 1), 4);
  EXPECT_EQ(rec[0].kind, GC_ARG_SHORT);
  EXPECT_EQ(rec[1].kind, GC_ARG_LDOUBLE);
  EXPECT_EQ(rec[2].kind, GC_ARG_LLONG);
  EXPECT_EQ(rec[3].kind, GC_ARG_WSTR);
  GCArgRecord pos[3] = {};
  EXPECT_EQ(GCFillNumArgValues(tl.get(), "%2$*d %1$s", pos, 3, 1), 3);
  EXPECT_EQ(pos[0].position, 1u);
  EXPECT_EQ(pos[1].position, 2u);
  EXPECT_EQ(pos[2].position, 0u);
}

TEST(Vsprintf, EngineWithCollectedArguments) {
  TestLocale tl;
  GCArgValue values[3] = {};
  GCArgRecord records[3] = {{1, GC_ARG_INT}, {0, GC_ARG_DOUBLE}, {0, 0}};
  values[0].d = 2.5;
  values[1].i = 7;
  char buf[32];
  GCSink sink{buf, sizeof buf};
  EXPECT_EQ(GCOutput(tl.get(), &sink, "%d:%.1f", 1, values, records, 0), 5);
  EXPECT_EQ(std::string(buf, 5), "7:2.5");
  GCSink tiny{buf, 2};
  EXPECT_EQ(GCOutput(tl.get(), &tiny, "%d:%.1f", 1, values, records, 0), -1);
  EXPECT_EQ(tiny.next - buf, 2);
  GCSink sink2{buf, sizeof buf};
  EXPECT_EQ(GCOutput(tl.get(), &sink2, "x%.600f", 1, values, records, 0), -1);
  EXPECT_EQ(tl.loc.status, GC_E_ARG);
  EXPECT_EQ(sink2.next - buf, 1);
}

TEST(Vsprintf, UnknownConversionsAndTheCountDirective) {
  TestLocale tl;
  EXPECT_EQ(F(tl, "%y%%"), "y%");
  int target = 12345;
  EXPECT_EQ(F(tl, "ab%ncd", &target), "abcd");
  EXPECT_EQ(target, 12345);  // nothing is stored through the pointer
  EXPECT_EQ(F(tl, "[%B%Z]", 1, 2), "[]");
}

TEST(Vsprintf, LocaleDecimalSeparatorInFloats) {
  TestLocale tl;
  tl.setSeparators(",", ".");
  EXPECT_EQ(F(tl, "%.2f", 1.5), "1,50");
  EXPECT_EQ(F(tl, "%.2e", 1.5), "1,50e+000");
  EXPECT_EQ(F(tl, "%,.2f", 1234.5), "1.234,50");
  EXPECT_EQ(F(tl, "%d.%d", 1, 2), "1.2");  // literal text is left alone
}

TEST(Vsprintf, BufferLimits) {
  TestLocale tl;
  char buf[16];
  std::memset(buf, 'Z', sizeof buf);
  EXPECT_EQ(vfmt(tl.get(), buf, 5, "abcdefgh", GC_FL_NUL), 5);
  EXPECT_STREQ(buf, "abcd");
  EXPECT_EQ(tl.loc.status, GC_E_BUFFER);
  EXPECT_EQ(buf[5], 'Z');
  std::memset(buf, 'Z', sizeof buf);
  EXPECT_EQ(vfmt(tl.get(), buf, 0, "abc", GC_FL_NUL), 0);  // not even the NUL fits
  EXPECT_EQ(buf[0], 'Z');
  EXPECT_EQ(tl.loc.status, GC_E_BUFFER);
  EXPECT_EQ(vfmt(tl.get(), buf, 3, "%d", 0, 12345), 3);
  EXPECT_EQ(std::string(buf, 3), "123");
  EXPECT_EQ(tl.loc.status, GC_E_BUFFER);
  EXPECT_EQ(vfmt(tl.get(), buf, -1, "%d", GC_FL_NUL, 42), 3);
  EXPECT_STREQ(buf, "42");
  EXPECT_EQ(tl.loc.status, 0u);
  EXPECT_EQ(vfmt(tl.get(), nullptr, 5, "x", 0), -1);
  EXPECT_EQ(tl.loc.status, GC_E_BUFFER);
  EXPECT_EQ(vfmt(tl.get(), buf, 5, "", 0), -1);
  EXPECT_EQ(tl.loc.status, GC_E_FORMAT);
  EXPECT_EQ(vfmt(tl.get(), buf, 5, "x", 0x2), -1);
  EXPECT_EQ(tl.loc.status, GC_E_ARG);
}

TEST(Vsprintf, MultibyteCharactersStayWhole) {
  TestLocale tl(Page::DoubleByte);
  char buf[16];
  std::memset(buf, 'Z', sizeof buf);
  // "a", a double-byte character, "b": a buffer of 2 has no room for it.
  EXPECT_EQ(vfmt(tl.get(), buf, 2, "a\x82\x41" "b", 0), 1);
  EXPECT_EQ(buf[0], 'a');
  EXPECT_EQ(buf[1], 'Z');
  EXPECT_EQ(tl.loc.status, GC_E_BUFFER);
  EXPECT_EQ(vfmt(tl.get(), buf, sizeof buf, "a\x82\x41" "b%d", GC_FL_NUL | GC_FL_CHARS, 7), 5);
  EXPECT_STREQ(buf, "a\x82\x41" "b7");
  EXPECT_EQ(vfmt(tl.get(), buf, 2, "%s", 0, "x\x82\x41"), 1);  // string cut before the character
  EXPECT_EQ(vfmt(tl.get(), buf, sizeof buf, "ab%\x82\x41", 0), 2);
  EXPECT_EQ(tl.loc.status, GC_E_FORMAT);
  EXPECT_EQ(vfmt(tl.get(), buf, sizeof buf, "[%C]", GC_FL_NUL, 0x8241u), 5);
  EXPECT_STREQ(buf, "[\x82\x41]");
  // Bytes that do not form one character: the lead byte 0x82 cut by the end
  // of the character's bytes is not written.
  EXPECT_EQ(vfmt(tl.get(), buf, sizeof buf, "[%C]", GC_FL_NUL, 0x4182u), 4);
  EXPECT_STREQ(buf, "[A]");
}

TEST(Vsprintf, EbcdicFormatsAndOutput) {
  TestLocale tl(Page::Ebcdic);
  std::string f = tl.form("%d|%5.1f|%s|%#x|%-3c|%%");
  char buf[64];
  int r = vfmt(tl.get(), buf, sizeof buf, f.c_str(), GC_FL_NUL, -42, 2.25, tl.form("ok").c_str(), 255,
               static_cast<int>(static_cast<unsigned char>(tl.form("Q")[0])));
  ASSERT_GT(r, 0);
  EXPECT_EQ(std::string(buf), tl.form("-42|  2.3|ok|0xff|Q  |%"));
  r = vfmt(tl.get(), buf, sizeof buf, tl.form("%s").c_str(), GC_FL_NUL, static_cast<const char*>(nullptr));
  EXPECT_EQ(std::string(buf), tl.form("(null)"));
  r = vfmt(tl.get(), buf, sizeof buf, tl.form("%.2e").c_str(), GC_FL_NUL, 12345.678);
  EXPECT_EQ(std::string(buf), tl.form("1.23e+004"));
  r = vfmt(tl.get(), buf, sizeof buf, tl.form("%2$s%1$d").c_str(), GC_FL_NUL, 5, tl.form("x").c_str());
  EXPECT_EQ(std::string(buf), tl.form("x5"));
}

TEST(Vsprintf, RandomFormatsAndNumbersDoNotCrash) {
  std::mt19937_64 rng(4242);
  const char pieces[] = "%%%%%%dsfgeExXcpuoinSCBZhlLq*.$,#+- 0123456789\x82";
  TestLocale pages[] = {TestLocale(Page::Ascii), TestLocale(Page::Ebcdic), TestLocale(Page::DoubleByte)};
  const uint32_t wide[] = {'w', 0x8241, 0};
  const double special[] = {0.0, -0.0, 1e-320, 5e-324, 1e-41, 0.125, 0.5, 2.5, 9.9999999, 1e15, 1.7976931348623157e308,
                            -1.7976931348623157e308, std::numeric_limits<double>::infinity(),
                            -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()};
  auto number = [&]() {
    if (rng() % 2) return special[rng() % (sizeof special / sizeof special[0])];
    uint64_t bits = rng();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
  };
  for (int i = 0; i < 5000; ++i) {
    std::string f;
    int len = 1 + static_cast<int>(rng() % 24);
    for (int k = 0; k < len; ++k) f += pieces[rng() % (sizeof pieces - 1)];
    double d[20];
    for (double& x : d) x = number();
    char buf[700];
    std::memset(buf, 'Z', sizeof buf);
    int32_t blen = static_cast<int32_t>(rng() % 600);
    // Every consumer gets an argument that is valid as any kind: a pointer
    // to a wide string, which also reads as an int, a string or a count
    // target; there are more of them than a 24-byte format can consume, and
    // the numbers follow them.
    TestLocale& tl = pages[i % 3];
    int r = vfmt(tl.get(), buf, blen, f.c_str(), rng() % 2 ? GC_FL_NUL : 0u, wide, wide, wide, wide, wide, wide,
                 wide, wide, wide, wide, wide, wide, wide, wide, wide, wide, wide, wide, wide, wide, wide, wide, wide,
                 wide, wide, wide, wide, wide, wide, wide, wide, wide, wide, wide, wide, wide, wide, wide, wide, wide,
                 d[0], d[1], d[2], d[3], d[4], d[5], d[6], d[7], d[8], d[9], d[10], d[11], d[12], d[13], d[14], d[15],
                 d[16], d[17], d[18], d[19]);
    ASSERT_LE(r, blen > 0 ? blen : 1) << f;
    ASSERT_EQ(buf[blen > 0 ? blen : 1], 'Z') << f;
  }
}

}  // namespace

namespace {

TEST(VsprintfItems, FloatsUseTheTerritorysDecimalSeparator) {
  TestLocale tl;
  tl.setSeparators(",", ".");
  tl.setSeparators(".", "'", true);  // changed in the locale only
  EXPECT_EQ(F(tl, "%.1f", 2.5), "2,5");
  char buf[32];
  ASSERT_GT(vfmt(tl.get(), buf, sizeof buf, "%,d", GC_FL_NUL, 1234567), 0);
  EXPECT_STREQ(buf, "1'234'567");
  ASSERT_GT(vfmt(tl.get(), buf, sizeof buf, "%,d", GC_FL_NUL | GC_FMT_ITEMFLAG, 1234567), 0);
  EXPECT_STREQ(buf, "1.234.567");
  ASSERT_GT(vfmt(tl.get(), buf, sizeof buf, "%,d", GC_FL_NUL | GC_FMT_NUMFLAG, 1234567), 0);
  EXPECT_STREQ(buf, "1'234'567");  // accepted; the number formatters get only the item flag
}

TEST(VsprintfItems, NullLocaleIsTheBuiltInDefault) {
  char buf[64];
  ASSERT_GT(vfmt(nullptr, buf, sizeof buf, "%s=%,d %.2f", GC_FL_NUL, "n", 1234567, 0.125), 0);
  EXPECT_STREQ(buf, "n=1,234,567 0.13");
  EXPECT_EQ(GCGetError(nullptr), 0u);
}

}  // namespace

namespace {

TEST(VsprintfUtf8, CharactersAreNeverSplit) {
  TestLocale tl(Page::DoubleByte);
  tl.cp.id = GC_CP_ID_UTF8;
  char buf[16];
  std::memset(buf, 'Z', sizeof buf);
  // "é" is two bytes: with three bytes of room only "x" and "é" fit.
  int r = vfmt(tl.get(), buf, 4, "x%s", GC_FL_NUL, "\xC3\xA9\xE2\x82\xAC");
  EXPECT_EQ(r, 4);
  EXPECT_STREQ(buf, "x\xC3\xA9");
  EXPECT_EQ(tl.loc.status, GC_E_BUFFER);
  r = vfmt(tl.get(), buf, sizeof buf, "%s!", GC_FL_NUL | GC_FL_CHARS, "\xC3\xA9\xE2\x82\xAC");
  EXPECT_EQ(r, 4);  // two characters, '!' and the NUL
}

}  // namespace
