// Utility functions: the tokenizer, paths and texts, files, hexadecimal,
// dates and HTML escaping.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bo/bo_util.h"
#include "bo_fixture.h"
#include "kclassic/kc_bstr.h"
#include "kclassic/kc_odt.h"
#include "kclassic/kc_testdir.h"

using namespace KCLASSIC;
using botest::BoTest;

namespace {

std::vector<std::string> all_tokens(const char* text, char delim, int* lastResult = nullptr) {
  KUtlTokStr tok(text, delim);
  std::vector<std::string> out;
  KZString t;
  int r;
  while ((r = tok.GetNextToken(t)) == 1) out.emplace_back(static_cast<const char*>(t));
  if (lastResult) *lastResult = r;
  return out;
}

TEST_F(BoTest, TokenizerSplitsAtEveryDelimiter) {
  struct Case {
    const char* text;
    char delim;
    std::vector<std::string> tokens;
  };
  const Case cases[] = {
      {"a:b:c", ':', {"a", "b", "c"}},
      {"a:", ':', {"a"}},
      {"a::b", ':', {"a", "", "b"}},
      {":a", ':', {"", "a"}},
      {"", ':', {}},
      {"abc", ':', {"abc"}},
  };
  for (const Case& c : cases) {
    int last = -1;
    EXPECT_EQ(all_tokens(c.text, c.delim, &last), c.tokens) << c.text;
    EXPECT_EQ(last, 0) << c.text;
  }
}

TEST_F(BoTest, TokenizerDefaultsToComma) {
  KUtlTokStr tok;
  EXPECT_STREQ(tok.GetText(), ",");
  EXPECT_EQ(tok.GetDelimiter(), ',');
  KZString t("x");
  EXPECT_EQ(tok.GetNextToken(t), 1);
  EXPECT_STREQ(t, "");
  EXPECT_EQ(tok.GetNextToken(t), 0);
}

TEST_F(BoTest, FindTokMatchesWholeTokensIgnoringCase) {
  struct Case {
    const char* text;
    const char* tok;
    long pos;
  };
  const Case cases[] = {
      {"a,b", "b", 2},     {"a,b", "B", 2},     {"a,bc", "b", -1}, {"abc", "abc", 0},
      {"ab,b", "b", 3},    {"a,b", "abc", -1},  {"xa,a", "a", 3},  {"", "a", -1},
      {"Ab,cd", "aB", 0},  {"a,b,c", "c", 4},
  };
  for (const Case& c : cases) {
    KUtlTokStr tok(c.text, ',');
    EXPECT_EQ(tok.FindTok(c.tok), c.pos) << c.text << " / " << c.tok;
  }
}

TEST_F(BoTest, RemoveTokKeepsTheRestAndTheDelimiter) {
  struct Case {
    const char* text;
    const char* tok;
    const char* after;
  };
  const Case cases[] = {
      {"a,b,c", "b", "a,c"}, {"a,b,c", "a", "b,c"}, {"a,b,c", "c", "a,b"},
      {"a,b,c", "x", "a,b,c"}, {"a", "a", ""},     {"ab,b,c", "B", "ab,c"},
  };
  for (const Case& c : cases) {
    KUtlTokStr tok(c.text, ',');
    tok.RemoveTok(c.tok);
    EXPECT_STREQ(tok.GetText(), c.after) << c.text << " - " << c.tok;
    EXPECT_EQ(tok.GetDelimiter(), ',');
  }
}

TEST_F(BoTest, DirFromPathCutsAtTheLastSeparator) {
  struct Case {
    const char* path;
    const char* dir;
  };
  const Case cases[] = {
      {"dir/sub/file.txt", "dir/sub"}, {"C:file", "C:"}, {"a\\b\\c", "a\\b"},
      {"file", "file"},                {"/x", ""},       {"C:\\dir/f", "C:\\dir"},
  };
  for (const Case& c : cases) {
    std::vector<char> buf(c.path, c.path + std::strlen(c.path) + 1);
    UtlGetDirFromPath(buf.data());
    EXPECT_STREQ(buf.data(), c.dir) << c.path;
  }
}

TEST_F(BoTest, IsEmptyTellsWhetherAnythingIsVisible) {
  struct Case {
    const char* text;
    int visible;
  };
  const Case cases[] = {{"   ", 0}, {" x", 1}, {nullptr, 0}, {"", 0}, {"\t\r\n", 0}, {"\x80", 1}};
  for (const Case& c : cases) EXPECT_EQ(UtlIsEmpty(c.text), c.visible) << (c.text ? c.text : "(null)");
}

TEST_F(BoTest, MakeStringJoinsTheGivenParts) {
  struct Case {
    const char* a;
    long n1;
    const char* b;
    long n2;
    const char* out;
  };
  const Case cases[] = {
      {"ab", 3, "cd", 0, "AB-3-CD"}, {"ab", 0, nullptr, 0, "AB"}, {"x", -2, nullptr, 7, "X--2-7"},
      {"a", 0, "", 0, "A-"},
  };
  for (const Case& c : cases) {
    KZString out("old");
    UtlMakeString(out, c.a, c.n1, c.b, c.n2);
    EXPECT_STREQ(out, c.out);
  }
}

TEST_F(BoTest, FilesAreWrittenAndReadBack) {
  kctest::TempDir dir;
  std::string path = dir.path() + "/data.bin";
  const char data[] = {'a', 0, 'b', 'c'};
  unsigned long len = sizeof data;
  ASSERT_EQ(UtlWriteToFile(path.c_str(), const_cast<char*>(data), len), 1);
  EXPECT_EQ(len, sizeof data);
  unsigned long got = 99;
  char* back = UtlReadFromFile(path.c_str(), got);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(got, sizeof data);
  EXPECT_EQ(std::memcmp(back, data, sizeof data), 0);
  EXPECT_EQ(back[4], 0);
  EXPECT_EQ(back[5], 0);
  KBinSysFreeString(back);

  // A shorter text replaces the file's content.
  len = 1;
  ASSERT_EQ(UtlWriteToFile(path.c_str(), const_cast<char*>("z"), len), 1);
  back = UtlReadFromFile(path.c_str(), got);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(got, 1u);
  EXPECT_STREQ(back, "z");
  KBinSysFreeString(back);
}

TEST_F(BoTest, FileFailuresAreReportedByResult) {
  unsigned long len = 5;
  EXPECT_EQ(UtlReadFromFile("/nonexistent/dir/file", len), nullptr);
  EXPECT_EQ(len, 0u);
  len = 5;
  EXPECT_EQ(UtlWriteToFile("/nonexistent/dir/file", const_cast<char*>("hello"), len), 0);
  EXPECT_EQ(len, 0u);
  len = 5;
  EXPECT_EQ(UtlReadFromFile(nullptr, len), nullptr);
}

TEST_F(BoTest, HexRoundTrip) {
  const char bin[] = {0x00, char(0xAF), 0x12, char(0xFF)};
  char hex[9];
  UtlBinToHex(bin, 2, hex);
  EXPECT_STREQ(hex, "00AF");
  UtlBinToHex(bin, 4, hex);
  EXPECT_STREQ(hex, "00AF12FF");
  char back[4] = {1, 1, 1, 1};
  UtlHexToBin("00AF", 4, back);
  EXPECT_EQ(back[0], 0x00);
  EXPECT_EQ(back[1], char(0xAF));
  EXPECT_EQ(back[2], 1); // nothing beyond the pairs, no terminator
  UtlHexToBin("afb", 3, back);
  EXPECT_EQ(back[0], char(0xAF)); // lower case reads too; the odd digit is ignored
  EXPECT_EQ(back[1], char(0xAF));
  back[0] = 7;
  UtlHexToBin("A", 1, back);
  EXPECT_EQ(back[0], 7);
}

TEST_F(BoTest, TmFromOleDateFillsEveryField) {
  struct Case {
    int y, mo, d, h, mi, s;
    int wday, yday;
  };
  const Case cases[] = {
      {2024, 3, 1, 13, 45, 30, 5, 60},  // a leap year, after February
      {2023, 3, 1, 0, 0, 0, 3, 59},
      {2000, 12, 31, 23, 59, 59, 0, 365},
      {1900, 1, 1, 0, 0, 0, 1, 0},
  };
  for (const Case& c : cases) {
    KOleDateTime date(c.y, c.mo, c.d, c.h, c.mi, c.s);
    std::tm tm{};
    tm.tm_isdst = 1;
    ASSERT_EQ(UtlTmFromOleDate(date.m_dt, tm), 1);
    EXPECT_EQ(tm.tm_year, c.y - 1900);
    EXPECT_EQ(tm.tm_mon, c.mo - 1);
    EXPECT_EQ(tm.tm_mday, c.d);
    EXPECT_EQ(tm.tm_hour, c.h);
    EXPECT_EQ(tm.tm_min, c.mi);
    EXPECT_EQ(tm.tm_sec, c.s);
    EXPECT_EQ(tm.tm_wday, c.wday) << c.y << "-" << c.mo << "-" << c.d;
    EXPECT_EQ(tm.tm_yday, c.yday) << c.y << "-" << c.mo << "-" << c.d;
    EXPECT_EQ(tm.tm_isdst, -1);
  }
}

// Wide text helpers: 16-bit characters in a system byte string.
std::u16string wide_of(const char* p) {
  unsigned n = KBinSysStringByteLen(p) / 2;
  std::u16string s(n, u'\0');
  std::memcpy(s.data(), p, size_t(n) * 2);
  return s;
}

char* wide_alloc(const std::u16string& s) {
  return KBinSysAllocStringByteLen(reinterpret_cast<const char*>(s.data()), unsigned(s.size() * 2));
}

TEST_F(BoTest, HtmlEncodeWritesEntities) {
  struct Case {
    std::u16string in;
    std::u16string out;
  };
  const Case cases[] = {
      {u"a<b&\"c\"", u"a&lt;b&amp;&quot;c&quot;"},
      {u"plain", u"plain"},
      {u"", u""},
      {u"\uFF1Cx\uFF1E\uFF06\uFF02", u"&lt;x&gt;&amp;&quot;"},
      {u">", u"&gt;"},
  };
  for (const Case& c : cases) {
    tagKVARIANT v{};
    v.vt = BO_VT_WIDESTR;
    v.bstrVal = wide_alloc(c.in);
    char* out = UtlHTMLEncode(v);
    ASSERT_NE(out, nullptr);
    EXPECT_TRUE(wide_of(out) == c.out);
    EXPECT_NE(out, v.bstrVal);
    KBinSysFreeString(out);
    KBinSysFreeString(v.bstrVal);
  }
}

TEST_F(BoTest, HtmlEncodeTakesByteTextsToo) {
  KOleVariant v("x<y");
  char* out = UtlHTMLEncode(v);
  EXPECT_TRUE(wide_of(out) == u"x&lt;y");
  KBinSysFreeString(out);
}

TEST_F(BoTest, HtmlPreProcessGivesTheExactEncodedLength) {
  struct Case {
    std::u16string in;
    int found;
    long len;
  };
  const Case cases[] = {{u"a<b", 1, 6}, {u"abc", 0, 3}, {u"&&", 1, 10}, {u"", 0, 0}, {u"\uFF02", 1, 6}};
  for (const Case& c : cases) {
    std::u16string text = c.in + u'\0';
    int found = -1;
    long len = -1;
    UtlHTMLEncodePreProcess(reinterpret_cast<char*>(text.data()), &found, &len);
    EXPECT_EQ(found, c.found);
    EXPECT_EQ(len, c.len);
    char* out = nullptr;
    UtlHTMLEncodeIt(reinterpret_cast<char*>(text.data()), &out, len);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(long(KBinSysStringByteLen(out)), 2 * len);
    uint16_t end;
    std::memcpy(&end, out + 2 * len, 2);
    EXPECT_EQ(end, 0); // the text ends with a 0 character
    KBinSysFreeString(out);
  }
}

} // namespace
