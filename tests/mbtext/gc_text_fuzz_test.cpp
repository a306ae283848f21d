// Random and known-bad text (seeded, bounded) through the string functions of
// every code page: texts are passed counted and unterminated, in heap buffers
// of exactly their size, and destinations are heap buffers of exactly the
// room a caller sizes for them (bytes, or characters times the code page's
// longest character), so the sanitizers see any read past a count and any
// write past a size. The first tests replay inputs that once broke a bound.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <memory>
#include <random>
#include <string>

#include "gc_testloc.h"
#include "mbtext/gc_coll.h"
#include "mbtext/gc_conv.h"
#include "mbtext/gc_conv_int.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_key.h"
#include "mbtext/gc_map.h"
#include "mbtext/gc_nav.h"
#include "mbtext/gc_str.h"
#include "mbtext/gc_strto.h"
#include "mbtext/gc_time.h"

namespace {

using Rng = std::mt19937;

// A heap copy of exactly the bytes of a text, without a terminator.
class Exact {
 public:
  explicit Exact(const std::string& s) : n_(s.size()), p_(new char[s.size() ? s.size() : 1]) {
    if (n_) std::memcpy(p_.get(), s.data(), n_);
  }
  char* get() const { return p_.get(); }
  int32_t size() const { return int32_t(n_); }

 private:
  size_t n_;
  std::unique_ptr<char[]> p_;
};

// A destination of exactly n bytes (at least one, so the pointer is valid).
struct Dest {
  explicit Dest(int32_t n) : p(new char[size_t(n > 0 ? n : 1)]) {}
  std::unique_ptr<char[]> p;
  char* get() const { return p.get(); }
};

// The bytes a caller reserves for n characters of the locale's code page.
int32_t roomOf(const GCLocale* loc, int32_t chars) { return gcConvByteBound(loc->codepage, chars); }

class TextFuzz : public gctest::PageLocales {};

TEST_F(TextFuzz, ShiftCodesCountAgainstTheRoomOfACharacterCopy) {
  // "w", ten shift-in codes and "(" copied into room for 2 characters.
  const Exact src("w" + std::string(10, '\x0F') + "(");
  for (bool viaMap : {false, true}) {
    Dest dst(roomOf(shift, 2));
    const int32_t r = viaMap ? GCMapStringEx(shift, dst.get(), 0, 2, src.get(), 0, 2, GC_MAP_COPY | GC_FL_CHARS)
                             : GCStrcpyEx(shift, dst.get(), 0, 2, src.get(), 0, 2, GC_FL_CHARS);
    EXPECT_EQ(r, 1) << viaMap;  // the "(" and its shift codes do not fit in 4 bytes
    EXPECT_EQ(dst.get()[0], 'w');
  }
}

TEST_F(TextFuzz, CharacterCountsReadNothingPastTheirText) {
  // Two characters in a shift-state page, with no byte after them.
  const Exact ab("ab");
  const Exact digits("12");
  const Exact fmt("%Y");
  EXPECT_EQ(gcCpCharsToBytes(shift->codepage, ab.get(), 0, 2, false), 2);
  Dest d1(roomOf(shift, 4));
  EXPECT_EQ(GCMapString(shift, d1.get(), 4, ab.get(), 2, GC_MAP_UPPER | GC_FL_CHARS), 2);
  EXPECT_EQ(std::string(d1.get(), 2), "AB");
  const char* end = nullptr;
  EXPECT_EQ(GCStringToLong(shift, digits.get(), 2, &end, 10, GC_FL_CHARS), 12);
  EXPECT_EQ(end, digits.get() + 2);
  std::tm t{};
  t.tm_year = 126;
  Dest d2(roomOf(shift, 8));
  EXPECT_EQ(GCTimeToString(shift, &t, d2.get(), 8, fmt.get(), 2, GC_FL_CHARS), 4);
  EXPECT_EQ(std::string(d2.get(), 4), "2026");
  Dest d3(roomOf(shift, 4));
  EXPECT_EQ(GCStrcpyEx(shift, d3.get(), 0, 4, ab.get(), 0, 2, GC_FL_CHARS), 2);
  // A NUL-terminated text still takes the shift codes after the last
  // character with it.
  EXPECT_EQ(GCCpStrCharToByteLen(shift->codepage, "a\x0E\x0F", 0, 1), 3);
}

TEST_F(TextFuzz, GroupingReaderStaysWithinItsCount) {
  struct Case {
    std::string text;
    int first;
  } cases[] = {{"0777", 777}, {";", 0}, {"3;", 3}, {"3;2", 3}, {";;;", 0}};
  for (const Case& c : cases) {
    const Exact t(c.text);
    int32_t remaining = t.size();
    const char* next = nullptr;
    EXPECT_EQ(GCStrGroupingSize(ascii, t.get(), &remaining, &next), c.first) << c.text;
    // Every call uses up some of the count, and the reader ends.
    for (int calls = 0; next && calls < 8; ++calls) {
      const int32_t before = remaining;
      (void)GCStrGroupingSize(ascii, next, &remaining, &next);
      EXPECT_TRUE(remaining < before || !next) << c.text;
    }
    EXPECT_GE(remaining, 0) << c.text;
  }
}

TEST_F(TextFuzz, SortKeySizeQueryGivesTheWholeLength) {
  GCLocale* sorted = lib.get("German");
  ASSERT_NE(sorted->sort, nullptr);
  const std::string texts[] = {"", "a", "b", "ab", "B"};
  std::vector<std::string> keys;
  for (const std::string& s : texts) {
    const Exact src(s);
    const int32_t need = GCStrxfrm(sorted, nullptr, 0, src.get(), src.size(), 0);
    ASSERT_GT(need, 0) << s;
    Dest dst(need);
    ASSERT_EQ(GCStrxfrm(sorted, dst.get(), need, src.get(), src.size(), 0), need) << s;
    keys.emplace_back(dst.get(), size_t(need));
  }
  auto sign = [](int v) { return (v > 0) - (v < 0); };
  for (size_t i = 0; i < keys.size(); ++i)
    for (size_t j = 0; j < keys.size(); ++j) {
      const int byKey = keys[i].compare(keys[j]);
      const int byColl = GCStrcoll(sorted, texts[i].c_str(), -1, texts[j].c_str(), -1, 0);
      EXPECT_EQ(sign(byKey), sign(byColl)) << '"' << texts[i] << "\" \"" << texts[j] << '"';
    }
}

TEST_F(TextFuzz, CharacterModeOutputStaysWithinCharactersTimesTheLongest) {
  // Eight characters whose shift codes would take 19 bytes in a shift page.
  std::string src;
  for (int i = 0; i < 4; ++i) src += std::string("a\x0E\x42\xC1\x0F");
  const Exact s(src);
  Dest dst(roomOf(shift, 8));
  const int32_t r = GCMapStringEx(shift, dst.get(), 0, 8, s.get(), 0, 8, GC_MAP_UPPER | GC_FL_CHARS);
  EXPECT_GT(r, 0);
  EXPECT_LE(r, 8);
  // Time texts: a lead byte of a four-byte UTF-8 form in a page whose
  // longest character has three bytes.
  const Exact fmt(std::string(32, '\xF0'));
  const int32_t fmtChars = GCCpStrByteToCharLen(utf8->codepage, fmt.get(), 0, fmt.size());
  std::tm t{};
  Dest out(roomOf(utf8, 8));
  const int n = GCTimeToString(utf8, &t, out.get(), 8, fmt.get(), fmtChars, GC_FL_CHARS);
  EXPECT_GE(n, 0);
  EXPECT_LE(n, 8);
}

// Random text from pieces that matter to some code page: letters, digits,
// signs, separators, shift codes, lead bytes and multibyte forms.
std::string randomText(Rng& rng) {
  static const char* const pieces[] = {"a", "Z", "7", "0", ";", ",", ".", "-", "+", " ", "%", "%Y", "%d",
                                       "\x0E", "\x0F", "\x42\xC1", "\x45\x41", "\x81\x40", "\x82\x60",
                                       "\x82", "\x83", "\xC3\xA9", "\xE2\x82\xAC", "\xF0", "\xF0\x9F\x98\x80",
                                       "\xC4", "\xFF"};
  std::string s;
  const int parts = int(rng() % 14);
  for (int i = 0; i < parts; ++i) s += pieces[rng() % (sizeof pieces / sizeof pieces[0])];
  return s;
}

TEST_F(TextFuzz, CountedTextThroughTheStringFunctions) {
  Rng rng(20261211);
  GCLocale* locales[] = {ascii, latin, dbl, shift, utf8, lib.get("German")};
  std::tm when{};
  when.tm_year = 126;
  when.tm_mday = 11;
  for (int iter = 0; iter < 3000; ++iter) {
    GCLocale* loc = locales[iter % 6];
    const Exact src(randomText(rng));
    const int32_t n = src.size();
    // The caller's character count lies within the text, read from either
    // shift state.
    const int ss = int(rng() & 1);
    const int32_t chars = std::min(GCCpStrByteToCharLen(loc->codepage, src.get(), 0, n),
                                   GCCpStrByteToCharLen(loc->codepage, src.get(), ss, n));
    const int32_t size = int32_t(rng() % 12);
    const bool inChars = (rng() & 1) != 0 && chars > 0;
    const int32_t len = inChars ? int32_t(rng() % uint32_t(chars)) + 1 : n;
    const uint32_t cf = inChars ? GC_FL_CHARS : 0;
    const int32_t room = inChars ? roomOf(loc, size) : size;
    SCOPED_TRACE(testing::Message() << "iter " << iter << " size " << size << " len " << len << " chars "
                                    << inChars);
    {
      Dest d(room);
      const int32_t r = GCStrcpy(loc, d.get(), size, src.get(), len, cf);
      ASSERT_LE(r, size);
    }
    {
      Dest d(room);
      const int32_t r = GCStrcpyEx(loc, d.get(), int(rng() & 1), size, src.get(), ss, len, cf);
      ASSERT_LE(r, size);
    }
    for (uint32_t mode : {GC_MAP_COPY, GC_MAP_UPPER, GC_MAP_HALF_TO_FULL, GC_MAP_DIGITS}) {
      Dest d(room);
      ASSERT_LE(GCMapString(loc, d.get(), size, src.get(), len, mode | cf), size);
      Dest e(room);
      ASSERT_LE(GCMapStringEx(loc, e.get(), 0, size, src.get(), ss, len, mode | cf), size);
    }
    const char* end = nullptr;
    (void)GCStringToLong(loc, src.get(), len, &end, 10, cf);
    ASSERT_TRUE(end >= src.get() && end <= src.get() + n);
    (void)GCStringToDouble(loc, src.get(), len, &end, cf);
    ASSERT_TRUE(end >= src.get() && end <= src.get() + n);
    (void)GCNumChars(loc, src.get(), n, 0);
    {
      const int32_t need = GCStrxfrm(loc, nullptr, 0, src.get(), len, cf);
      ASSERT_GE(need, 0);
      Dest d(need);
      ASSERT_EQ(GCStrxfrm(loc, d.get(), need, src.get(), len, cf), need);
    }
    {
      Dest d(room);
      const int r = GCTimeToString(loc, &when, d.get(), size, src.get(), len, cf);
      ASSERT_LE(r, size);
    }
    {
      Dest d(room);
      ASSERT_LE(GCConvertString(loc, d.get(), size, ascii, src.get(), len, cf), size);
    }
    int32_t remaining = n;
    const char* next = src.get();
    for (int calls = 0; next && remaining > 0 && calls <= n; ++calls)
      (void)GCStrGroupingSize(loc, next, &remaining, &next);
  }
}

}  // namespace
