// The k wrappers: packing characters, copies, comparison, search, tokens,
// formatting, case and classes, number parsing and conversions, in the
// thread's locale.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "kc_testerr.h"
#include "kc_testloc.h"
#include "kclassic/kc_err.h"
#include "kclassic/kc_loc.h"
#include "kclassic/kc_mb.h"

using namespace KCLASSIC;
using kctest::thrown;
using kctest::bytes;

namespace {

class Wrappers : public ::testing::Test {
 protected:
  void SetUp() override { kctest::startLocales(); }
};

} // namespace

TEST_F(Wrappers, PutCharWritesTheBytesWithoutNul) {
  struct Case {
    unsigned ch;
    std::string bytes;
  } cases[] = {{0x41, "A"}, {0x8140, bytes({0x81, 0x40})}, {0, std::string(1, '\0')},
               {0xE38182, bytes({0xE3, 0x81, 0x82})}};
  for (const Case& c : cases) {
    char buf[8];
    std::memset(buf, 'X', sizeof buf);
    char* end = kputchr(buf, c.ch);
    EXPECT_EQ(std::string(buf, size_t(end - buf)), c.bytes) << std::hex << c.ch;
    EXPECT_EQ(*end, 'X');
  }
}

TEST_F(Wrappers, StepAndCopy) {
  kctest::ThreadLocale dbl(kctest::kDouble);
  std::string t = "a" + bytes({0x82, 0x60}) + "b";
  const char* s = t.c_str();
  EXPECT_EQ(kstrlen(s), 4u);
  EXPECT_EQ(kchrlen(s + 1), 2);
  EXPECT_EQ(kstrnextc(s + 1), 0x8260u);
  EXPECT_EQ(kstrinc(s + 1), s + 3);
  EXPECT_EQ(kstrdec(s, s + 3), s + 1);
  EXPECT_EQ(klastchr(s), unsigned('b'));
  EXPECT_EQ(klastchr(bytes({'x', 0x82, 0x60}).c_str()), 0x8260u);
  EXPECT_EQ(klastchr(""), 0u);
  EXPECT_EQ(klastchr(nullptr), 0u);

  char d[16];
  std::memset(d, 'X', sizeof d);
  EXPECT_EQ(kstrncpyz(d, "abcdef", 3), d);
  EXPECT_STREQ(d, "abc");
  EXPECT_EQ(kstrncpyz(d, nullptr, 3), nullptr);
  EXPECT_STREQ(d, "abc");
  EXPECT_EQ(kstrncpyz(nullptr, "x", 3), nullptr);
  kstrcpy(d, "ab");
  kstrcat(d, "cd");
  EXPECT_STREQ(d, "abcd");
  kstrncat(d, "efgh", 2);
  EXPECT_STREQ(d, "abcdef");
}

TEST_F(Wrappers, Comparison) {
  EXPECT_EQ(kstricmp(nullptr, nullptr), 0);
  EXPECT_EQ(kstricmp(nullptr, "x"), -1);
  EXPECT_EQ(kstricmp("x", nullptr), 1);
  EXPECT_EQ(kstricmp("ABC", "abc"), 0);
  EXPECT_LT(kstricmp("abc", "ABD"), 0);
  EXPECT_LT(kstrcmp("ABC", "abc"), 0);
  EXPECT_EQ(kstrncmp("abcX", "abcY", 3), 0);
  EXPECT_EQ(kstrnicmp("ABCx", "abcy", 3), 0);
  EXPECT_EQ(kstrcoll("abc", "abc"), 0);
  EXPECT_EQ(kstricoll("ABC", "abc"), 0);
  EXPECT_EQ(kstrnicoll("ABx", "aby", 2), 0);
}

TEST_F(Wrappers, Search) {
  const char* s = "abcabc";
  EXPECT_EQ(kstrchr(s, 'b'), s + 1);
  EXPECT_EQ(kstrrchr(s, 'b'), s + 4);
  EXPECT_EQ(kstrchr(s, 'z'), nullptr);
  const char* abc = "abc";
  EXPECT_EQ(kstrpbrk(abc, "cb"), abc + 2); // the set's order decides
  EXPECT_EQ(kstrpbrk(abc, "xy"), nullptr);
  EXPECT_EQ(kstrspn("aabx", "ab"), 3u);
  EXPECT_EQ(kstrcspn("aabx", "x"), 3u);
  EXPECT_EQ(kstrstr(s, "ca"), s + 2);
  EXPECT_EQ(kstrstr(s, "cc"), nullptr);

  kctest::ThreadLocale dbl(kctest::kDouble);
  std::string t = bytes({0x82, 0x60}) + "`";
  EXPECT_EQ(kstrchr(t.c_str(), '`'), t.c_str() + 2);
  EXPECT_EQ(kstrstr(t.c_str(), "`"), t.c_str() + 2);
}

TEST_F(Wrappers, TokensContinuePerThread) {
  char text[] = "a,b;;c";
  EXPECT_STREQ(kstrtok(text, ",;"), "a");
  // Another thread's tokens do not disturb this one's continuation.
  std::thread([] {
    char other[] = "x y";
    EXPECT_STREQ(kstrtok(other, " "), "x");
    EXPECT_STREQ(kstrtok(nullptr, " "), "y");
    EXPECT_EQ(kstrtok(nullptr, " "), nullptr);
  }).join();
  EXPECT_STREQ(kstrtok(nullptr, ",;"), "b");
  EXPECT_STREQ(kstrtok(nullptr, ",;"), "c");
  EXPECT_EQ(kstrtok(nullptr, ",;"), nullptr);

  char again[] = "p q";
  char* rest = again;
  EXPECT_STREQ(kstrtok_r(&rest, " "), "p");
  EXPECT_STREQ(kstrtok_r(&rest, " "), "q");
  EXPECT_EQ(kstrtok_r(&rest, " "), nullptr);
}

TEST_F(Wrappers, Formatting) {
  char buf[64];
  EXPECT_EQ(ksprintf(buf, "%s-%d", "ab", 12), 5);
  EXPECT_STREQ(buf, "ab-12");
  EXPECT_EQ(ksprintf(buf, "%I64d", 1234567890123LL), 13);
  EXPECT_STREQ(buf, "1234567890123");
  EXPECT_STREQ(kitoa(255, buf, 16), "ff");
  EXPECT_STREQ(kitoa(-42, buf, 10), "-42");
  std::strcpy(buf, "same");
  EXPECT_STREQ(kitoa(255, buf, 8), "same");
  int n = 5;
  ksprintf(buf, "x%ny", &n);
  EXPECT_STREQ(buf, "xy");
  EXPECT_EQ(n, 5);
  // German: the decimal separator is ",".
  kctest::ThreadLocale de(kctest::kGerman);
  ksprintf(buf, "%.1f", 2.5);
  EXPECT_STREQ(buf, "2,5");
}

TEST_F(Wrappers, BoundedFormattingReportsCuts) {
  char buf[8];
  auto bounded = [](char* b, size_t size, const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    int r = kvsnprintf(b, size, fmt, args);
    va_end(args);
    return r;
  };
  EXPECT_EQ(bounded(buf, sizeof buf, "%s", "1234567"), 7);
  EXPECT_EQ(bounded(buf, sizeof buf, "%s", "12345678"), -2);
  EXPECT_EQ(std::strlen(buf), 7u);
}

TEST_F(Wrappers, CaseAndClasses) {
  EXPECT_EQ(ktoupper('a'), unsigned('A'));
  EXPECT_EQ(ktolower('A'), unsigned('a'));
  EXPECT_EQ(ktoupper('1'), unsigned('1'));
  EXPECT_TRUE(kisalpha('a'));
  EXPECT_TRUE(kisupper('A'));
  EXPECT_FALSE(kisupper('a'));
  EXPECT_TRUE(kislower('a'));
  EXPECT_TRUE(kisdigit('7'));
  EXPECT_TRUE(kisspace(' '));
  EXPECT_TRUE(kisalnum('7'));
  EXPECT_TRUE(kisalnum('x'));
  EXPECT_FALSE(kisalnum('-'));
  char d[8];
  long written = 0;
  kstrupper(d, sizeof d, "ab1", 4, &written);
  EXPECT_STREQ(d, "AB1");
  kstrlower(d, sizeof d, "AB1", 4, &written);
  EXPECT_STREQ(d, "ab1");
  auto e = thrown([&] { kstrupper(d, -1, "ab", 2); });
  EXPECT_EQ(e->GetErrorNum(), 0x8B000CB);
  EXPECT_STREQ(e->GetMethodName(), "kstrupper");
  EXPECT_EQ(e->GetParamCount(), 0);
  EXPECT_STREQ(thrown([&] { kstrlower(nullptr, 4, "ab", 2); })->GetMethodName(), "kstrlower");

  kctest::ThreadLocale dbl(kctest::kDouble);
  EXPECT_EQ(ktoupper(0x8281), 0x8260u);
  EXPECT_EQ(ktolower(0x8260), 0x8281u);
  EXPECT_TRUE(kisspace(0x8140));
  EXPECT_TRUE(kisdigit(0x824F));
  EXPECT_TRUE(kisupper(0x8260));
}

TEST_F(Wrappers, NumberParsing) {
  EXPECT_EQ(katol("123"), 123);
  EXPECT_DOUBLE_EQ(katof("1.5"), 1.5);
  EXPECT_EQ(katolerr("12abc"), 12);
  EXPECT_EQ(katolerr("0"), 0);
  auto bad = thrown([] { katolerr("abc"); });
  EXPECT_EQ(bad->GetErrorNum(), 0x8B000C9);
  EXPECT_STREQ(bad->GetMethodName(), "katolerr");
  EXPECT_STREQ(bad->GetParam(0), "abc");
  auto null = thrown([] { katolerr(nullptr); });
  EXPECT_STREQ(null->GetParam(0), "Argument is NULL");
  EXPECT_DOUBLE_EQ(katoferr("2.5x"), 2.5);
  EXPECT_DOUBLE_EQ(katoferr("0.0"), 0.0);
  EXPECT_STREQ(thrown([] { katoferr("x"); })->GetMethodName(), "katoferr");
  EXPECT_STREQ(thrown([] { katoferr(nullptr); })->GetParam(0), "Argument is NULL");
  // German reads "," as its decimal separator.
  kctest::ThreadLocale de(kctest::kGerman);
  EXPECT_DOUBLE_EQ(katof("2,5"), 2.5);
}

TEST_F(Wrappers, ConversionsAndCounts) {
  EXPECT_EQ(kstrlclen(bytes({'a', 0x82, 0x60}).c_str(), kctest::kDouble), 2);
  EXPECT_EQ(kstrlclen(bytes({'a', 0x82, 0x60}).c_str(), nullptr), 3);

  unsigned short u[8] = {};
  long n = kstrtounicode(u, "ab", -1, 8, nullptr);
  EXPECT_EQ(n, 3); // with the terminator
  EXPECT_EQ(u[0], 'a');
  EXPECT_EQ(u[2], 0);
  EXPECT_EQ(kstrtounicode(nullptr, "ab", -1, 0, nullptr), 3); // measured

  const unsigned short wide[] = {0xFF21, 'x', 0};
  char out[16] = {};
  EXPECT_EQ(kunicodetostr(nullptr, wide, -1, 0, "DoubleByte"), 4);
  n = kunicodetostr(out, wide, -1, sizeof out, "DoubleByte");
  EXPECT_EQ(n, 4);
  EXPECT_EQ(std::string(out), bytes({0x82, 0x60, 'x'}));

  // Latin1 a-umlaut into UTF-8.
  std::string latin = bytes({0xE4});
  EXPECT_EQ(kstrconvert(nullptr, latin.c_str(), -1, 0, "UTF-8", "Latin1"), 3);
  std::memset(out, 0, sizeof out);
  EXPECT_EQ(kstrconvert(out, latin.c_str(), -1, sizeof out, "UTF-8", "Latin1"), 3);
  EXPECT_EQ(std::string(out), bytes({0xC3, 0xA4}));

  EXPECT_EQ(kwcstombcsz(out, L"x", 1), 0);
  EXPECT_EQ(kmbstowcs(nullptr, "x", 1), 0);
  EXPECT_EQ(kmbstowcsz(nullptr, "x", 1), 0);
  // Code-page locales are registered once under "_.<cp>@".
  EXPECT_EQ(GetLocaleFromCP("Latin1"), UtlGetLocale("_.Latin1@").GetHandle());
  EXPECT_EQ(GetLocaleFromCP(""), UtlGetSystemLocale()->GetHandle());
  EXPECT_EQ(GetLocaleFromCP(nullptr), UtlGetThreadLocale().GetHandle());
}
