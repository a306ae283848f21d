// The run loops of the string conversions against the character-at-a-time
// reading and writing of the code page, and against iconv: random texts with
// invalid and cut characters, NUL bytes inside counted text, and outputs
// that end exactly at a character or one byte short of it.
#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "gc_testloc.h"
#include "gc_testsort.h"
#include "mbtext/gc_conv.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_map.h"
#include "mbtext/gc_str.h"
#include "mbtext/gc_unitab.h"

namespace {

using Runs = gctest::PageLocales;
using U16 = std::u16string;

// One character of counted code-page text at a time, as the reader's
// contract says: a character cut by the end or holding a NUL ends the text
// (stopNul), else it gives its units. With partial a rejected multibyte
// sequence takes only the bytes before the rejection.
struct RefChar {
  U16 units;
  int32_t bytes;
};
std::vector<RefChar> refChars(const GCObj* cp, const std::string& s, bool stopNul, bool partial = false) {
  std::vector<RefChar> out;
  const auto* p = reinterpret_cast<const uint8_t*>(s.data());
  int32_t pos = 0, len = int32_t(s.size());
  while (pos < len) {
    if (stopNul && p[pos] == 0) break;
    int n = gcCpCharLen(cp, p + pos, len - pos);
    if (n == 0) break;
    if (stopNul && std::memchr(p + pos, 0, size_t(n))) break;
    GCUChar u[2];
    int used = 0;
    int k = gcCpToUcs2(cp, p + pos, n, u, &used);
    if (partial && n > 1 && !gcCpIsUtf8(cp)) u[0] = gcCpTrieLookup(cp, p + pos, n, &used);
    out.push_back({U16(u, u + k), used});
    pos += used;
  }
  return out;
}

U16 joined(const std::vector<RefChar>& cs) {
  U16 u;
  for (const RefChar& c : cs) u += c.units;
  return u;
}

// The bytes of UCS-2 text written unit by unit (surrogate pairs whole).
std::string refFromUcs2(const GCObj* cp, const U16& u) {
  std::string out;
  size_t i = 0;
  while (i < u.size() && u[i] != 0) {
    uint8_t b[4];
    int used = 0;
    int k = gcCpFromUcs2(cp, reinterpret_cast<const GCUChar*>(u.data()) + i, int32_t(u.size() - i), b, &used);
    out.append(reinterpret_cast<char*>(b), size_t(k));
    i += size_t(used);
  }
  return out;
}

// Random UTF-8: valid forms of every length, bad leads, overlong forms,
// encoded surrogates, stray continuation bytes, cut forms and NULs.
std::string randomUtf8(std::mt19937& rng, int pieces) {
  static const std::vector<std::string> kPieces = {
      "a", "Z", " ", "\xC3\xA4", "\xDF\xBF", "\xC2\x80", "\xE2\x82\xAC", "\xE0\xA0\x80", "\xED\x9F\xBF",
      "\xEF\xBF\xBF", "\xE4\xB8\x80", "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF", "\x80", "\xBF", "\xC0\xAF",
      "\xC1\xBF", "\xE0\x80\x80", "\xED\xA0\x80", "\xF5\x80\x80\x80", "\xFF", "\xC3", "\xE2\x82", "\xF0\x9F\x98",
      std::string(1, '\0'), "\xC3" "a", "\xE2" "a" "\x82"};
  std::string s;
  for (int i = 0; i < pieces; ++i) s += kPieces[rng() % kPieces.size()];
  return s;
}

std::string randomBytes(std::mt19937& rng, int n, bool withNul) {
  std::string s;
  for (int i = 0; i < n; ++i) {
    char c = char(rng() % 256);
    if (!withNul && c == 0) c = 'x';
    s += c;
  }
  return s;
}

std::u16string randomUnits(std::mt19937& rng, int n) {
  static const char16_t kSome[] = {u'a', u' ', 0x00E4, 0x00FF, 0x0100, 0x20AC, 0x3000, 0xFF21, 0x4E00,
                                   0xD83D, 0xDE00, 0xDBFF, 0xDC00, 0xFFFD, 0x0080, 0x07FF, 0x0800};
  U16 u;
  for (int i = 0; i < n; ++i) {
    int pick = int(rng() % 3);
    u += pick == 0 ? char16_t(rng() % 0x10000) : kSome[rng() % (sizeof kSome / sizeof kSome[0])];
    if (u.back() == 0) u.back() = u'z';
  }
  return u;
}

TEST_F(Runs, CodePageToUcs2MatchesCharacterReadingOnRandomText) {
  std::mt19937 rng(41);
  for (GCLocale* loc : {latin, dbl, utf8, ascii}) {
    const GCObj* cp = loc->codepage;
    for (int round = 0; round < 200; ++round) {
      std::string s = cp == utf8->codepage ? randomUtf8(rng, 1 + int(rng() % 30)) : randomBytes(rng, 40, true);
      // Every cut of the text, so that some end inside a character.
      for (size_t cut = 0; cut <= s.size(); cut += 1 + rng() % 3) {
        std::string t = s.substr(0, cut);
        std::vector<GCUChar> out(t.size() + 2, 0xEEEE);
        int32_t n = GCCpStrToUnicode(cp, t.data(), int32_t(t.size()), out.data());
        U16 want = joined(refChars(cp, t, true));
        ASSERT_EQ(gctest::ucs(out.data(), n < 0 ? 0 : n), want) << gctest::hexOf(t);
        ASSERT_EQ(out[size_t(n < 0 ? 0 : n)], 0xEEEE) << "nothing past the units";
      }
    }
  }
}

TEST_F(Runs, Ucs2ToCodePageMatchesCharacterWritingOnRandomUnits) {
  std::mt19937 rng(42);
  for (GCLocale* loc : {latin, dbl, utf8, ascii}) {
    const GCObj* cp = loc->codepage;
    for (int round = 0; round < 300; ++round) {
      U16 u = randomUnits(rng, int(rng() % 40));
      std::string out(u.size() * 4 + 8, '\x7F');
      int32_t n = GCCpUnicodeToStr(cp, reinterpret_cast<const GCUChar*>(u.data()), 0, int32_t(u.size()), out.data());
      std::string want = refFromUcs2(cp, u);
      ASSERT_EQ(out.substr(0, size_t(n)), want);
      ASSERT_EQ(out[size_t(n)], '\0') << "terminated";
      ASSERT_EQ(out[size_t(n) + 1], '\x7F') << "nothing past the NUL";
    }
  }
}

TEST_F(Runs, Ucs2ToCodePageStopsAtTheZeroUnitInsideTheLength) {
  const GCUChar u[] = {'a', 0x00E4, 0, 'b'};
  char out[16];
  EXPECT_EQ(GCCpUnicodeToStr(latin->codepage, u, 0, 4, out), 2);
  EXPECT_EQ(std::string(out, 3), std::string("a\xE4\0", 3));
  EXPECT_EQ(GCCpUnicodeToStr(utf8->codepage, u, 0, 4, out), 3);
  EXPECT_EQ(std::string(out, 4), std::string("a\xC3\xA4\0", 4));
}

// The C library agrees on valid text.
TEST_F(Runs, ValidTextConvertsAsIconvDoes) {
  std::mt19937 rng(43);
  struct {
    GCLocale* loc;
    const char* name;
  } pages[] = {{latin, "ISO-8859-1"}, {utf8, "UTF-8"}};
  for (const auto& pg : pages) {
    iconv_t to = iconv_open("UCS-2LE", pg.name), from = iconv_open(pg.name, "UCS-2LE");
    ASSERT_NE(to, iconv_t(-1));
    ASSERT_NE(from, iconv_t(-1));
    for (int round = 0; round < 200; ++round) {
      // Valid units: no surrogates, no NUL, and within Latin-1 for Latin1
      // (whose 0x80-0x9F are no characters here).
      U16 u;
      for (int i = 0, n = int(rng() % 64); i < n; ++i) {
        char16_t c;
        do {
          c = char16_t(pg.loc == latin ? rng() % 256 : (rng() % 2 ? rng() % 0x800 : rng() % 0x10000));
        } while (c == 0 || (c >= 0x80 && c < 0xA0 && pg.loc == latin) || (c >= 0xD800 && c <= 0xDFFF));
        u += c;
      }
      std::string text(u.size() * 3 + 1, '\0');
      size_t inLeft = u.size() * 2, outLeft = text.size();
      char* in = reinterpret_cast<char*>(u.data());
      char* op = text.data();
      ASSERT_NE(iconv(from, &in, &inLeft, &op, &outLeft), size_t(-1));
      text.resize(text.size() - outLeft);

      std::string mine(u.size() * 4 + 8, '\0');
      int32_t n = GCCpUnicodeToStr(pg.loc->codepage, reinterpret_cast<const GCUChar*>(u.data()), 0,
                                   int32_t(u.size()), mine.data());
      ASSERT_EQ(mine.substr(0, size_t(n)), text) << pg.name;
      std::vector<GCUChar> back(text.size() + 1);
      int32_t k = GCCpStrToUnicode(pg.loc->codepage, text.data(), int32_t(text.size()), back.data());
      ASSERT_EQ(gctest::ucs(back.data(), k < 0 ? 0 : k), u) << pg.name;
    }
    iconv_close(to);
    iconv_close(from);
  }
}

// Locale text to at most outLen units: the output stops before a
// character whose units do not fit (a surrogate pair is never split).
TEST_F(Runs, LocaleTextToUnicodeStopsBeforeACharacterThatDoesNotFit) {
  std::mt19937 rng(44);
  for (GCLocale* loc : {latin, dbl, utf8}) {
    for (int round = 0; round < 100; ++round) {
      std::string s = loc == utf8 ? randomUtf8(rng, 12) : randomBytes(rng, 16, true);
      std::vector<RefChar> cs = refChars(loc->codepage, s, false, true);
      for (int32_t outLen = 1; outLen < 34; ++outLen) {
        for (uint32_t flags : {0u, GC_FL_NUL}) {
          const int32_t cap = flags ? outLen - 1 : outLen;
          U16 want;
          for (const RefChar& c : cs) {
            if (int32_t(want.size() + c.units.size()) > cap) break;
            want += c.units;
          }
          if (flags) want += char16_t(0);
          std::vector<GCUChar> out(size_t(outLen) + 4, 0xEEEE);
          int32_t n = GCStringToUnicode(out.data(), outLen, loc, s.data(), int32_t(s.size()), flags);
          ASSERT_EQ(gctest::ucs(out.data(), n), want) << gctest::hexOf(s) << " outLen " << outLen;
          ASSERT_EQ(out[size_t(outLen)], 0xEEEE) << "nothing past outLen";
        }
      }
    }
  }
}

// Single-byte text to another code page: every output size, with and
// without the terminator, counted in bytes and in characters.
TEST_F(Runs, SingleByteToOtherPagesStopsAtWholeCharacters) {
  std::mt19937 rng(45);
  for (GCLocale* dst : {utf8, ascii, latin, dbl}) {
    const GCObj* dcp = dst->codepage;
    for (int round = 0; round < 60; ++round) {
      std::string s = randomBytes(rng, 12, true);
      std::vector<std::string> chars; // the target bytes of each source byte
      for (unsigned char b : s) {
        char t[4];
        int k = GCCpUnicodeToChar(dcp, gcCpByteToUcs2(latin->codepage, b), t);
        chars.emplace_back(t, size_t(k));
      }
      const int maxLen = dst == utf8 ? 4 : gcCpMaxLen(dcp);
      for (int32_t outLen = 0; outLen < 40; ++outLen) {
        for (uint32_t flags : {0u, GC_FL_NUL, GC_FL_CHARS, GC_FL_CHARS | GC_FL_NUL}) {
          const bool nul = flags & GC_FL_NUL, inChars = flags & GC_FL_CHARS;
          std::string want;
          int32_t count = 0;
          if (outLen > 0) {
            const int32_t charCap = nul ? outLen - 1 : outLen;
            const int32_t byteCap = (inChars ? outLen * maxLen : outLen) - (nul ? 1 : 0);
            for (const std::string& c : chars) {
              if (inChars && count + 1 > charCap) break;
              if (int32_t(want.size() + c.size()) > byteCap) break;
              want += c;
              ++count;
            }
            if (nul) {
              want += '\0';
              ++count;
            }
          }
          std::string out(size_t(outLen) * 4 + 8, '\x7E');
          int32_t n = GCConvertString(dst, out.data(), outLen, latin, s.data(), int32_t(s.size()), flags);
          ASSERT_EQ(n, inChars ? count : int32_t(want.size())) << gctest::hexOf(s) << " " << outLen << " " << flags;
          ASSERT_EQ(out.substr(0, want.size()), want) << gctest::hexOf(s) << " " << outLen << " " << flags;
          ASSERT_EQ(out[want.size()], '\x7E') << "nothing past the output";
        }
      }
    }
  }
}

// Shift codes around a NUL in counted text: the NUL ends the code-page
// reading, and the shift state of the pieces before it holds.
TEST_F(Runs, ShiftStateTextWithNulInsideTheCount) {
  const std::string s = gctest::bytes({'A', 0x0E, 0x42, 0xC1, 0x0F, 0, 'b'});
  GCUChar out[8];
  EXPECT_EQ(GCCpStrToUnicode(shift->codepage, s.data(), int32_t(s.size()), out), 2);
  EXPECT_EQ(gctest::ucs(out, 2), u"A\uff21");
  char back[16];
  EXPECT_EQ(GCCpUnicodeToStr(shift->codepage, out, 0, 2, back), 5);
  EXPECT_EQ(std::string(back, 5), gctest::bytes({'A', 0x0E, 0x42, 0xC1, 0x0F}));
}

// Case-insensitive comparison of single-byte text: the first byte whose
// upper-case forms differ decides (by their difference), else the lengths,
// wherever in the text (and in its eight-byte steps) the difference lies.
TEST_F(Runs, CaseInsensitiveCompareDecidesAtTheFirstDifferentUpperCase) {
  std::mt19937 rng(46);
  const GCObj* cp = latin->codepage;
  for (int round = 0; round < 2000; ++round) {
    std::string a = randomBytes(rng, 1 + int(rng() % 40), false), b = a;
    for (int k = int(rng() % 3); k > 0; --k) {
      size_t at = rng() % b.size();
      b[at] = char(rng() % 2 ? gcCpLowerByte(cp, uint8_t(b[at])) : 1 + rng() % 255);
    }
    if (rng() % 4 == 0) b.resize(rng() % (b.size() + 1));
    if (b.empty() || b.find('\0') != std::string::npos) continue;
    int want = int(a.size()) - int(b.size());
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
      int d = int(gcCpUpperByte(cp, uint8_t(a[i]))) - int(gcCpUpperByte(cp, uint8_t(b[i])));
      if (d != 0) {
        want = d;
        break;
      }
    }
    ASSERT_EQ(GCStrcmp(latin, a.c_str(), -1, b.c_str(), -1, GC_FL_EXTENDED | GC_FL_ICASE), want) << gctest::hexOf(a);
    ASSERT_EQ(GCStrcmp(latin, a.data(), int32_t(a.size()), b.data(), int32_t(b.size()), GC_FL_EXTENDED | GC_FL_ICASE),
              want);
  }
}

// The U+0000-U+00FF table of the UCS-2 case mapping is the rule itself.
TEST(GcUniLatinCase, TableMatchesTheMappingRule) {
  for (int c = 0; c < 0x100; ++c) {
    const GCUChar u = GCUChar(c);
    GCUChar up = 0, low = 0;
    ASSERT_EQ(GCMapStringU(nullptr, &up, 1, &u, 1, GC_MAP_UPPER_SIMPLE), 1);
    ASSERT_EQ(GCMapStringU(nullptr, &low, 1, &u, 1, GC_MAP_LOWER_SIMPLE), 1);
    GCUChar r = GCUnicodeToUpper(nullptr, u);
    EXPECT_EQ(up, r != 0 ? r : u) << c;
    r = GCUnicodeToLower(nullptr, u);
    EXPECT_EQ(low, r != 0 ? r : u) << c;
  }
}

} // namespace
