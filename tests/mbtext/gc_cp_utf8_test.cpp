// UTF-8 (code page 106): conversion by rule in both directions, invalid
// input, characters beyond U+FFFF as surrogate pairs, lengths.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mbtext/gc_cp.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_cp_utf8_int.h"
#include "mbtext/gc_testdata.h"

using gctest::CodePageBuilder;
using gctest::MemObject;

namespace {

class Utf8 : public ::testing::Test {
 protected:
  MemObject cp{GC_CLASS_CODEPAGE, GC_CP_ID_UTF8, CodePageBuilder().maxLen(4).sections()};

  // Decodes a whole counted text.
  std::vector<GCUChar> decode(const std::string& s) {
    std::vector<GCUChar> out;
    const auto* p = reinterpret_cast<const uint8_t*>(s.data());
    int32_t left = int32_t(s.size());
    while (left > 0) {
      GCUChar u[2];
      int used = 0;
      int n = gcCpToUcs2(cp.get(), p, left, u, &used);
      EXPECT_GT(used, 0);
      if (used <= 0) break;
      out.insert(out.end(), u, u + n);
      p += used;
      left -= used;
    }
    return out;
  }

  std::string encode(const std::vector<GCUChar>& u) {
    std::string out;
    size_t i = 0;
    while (i < u.size()) {
      uint8_t b[4];
      int used = 0;
      int n = gcCpFromUcs2(cp.get(), &u[i], int32_t(u.size() - i), b, &used);
      EXPECT_GT(used, 0);
      if (used <= 0) break;
      out.append(reinterpret_cast<char*>(b), size_t(n));
      i += size_t(used);
    }
    return out;
  }
};

} // namespace

TEST_F(Utf8, DecodesValidAndInvalidInput) {
  struct { std::string in; std::vector<GCUChar> out; } cases[] = {
      {"A", {'A'}},
      {"\xC3\xA9", {0x00E9}},
      {"\xE2\x82\xAC", {0x20AC}},
      {"\xEF\xBF\xBF", {0xFFFF}},
      {"\xF0\x9F\x98\x80", {0xD83D, 0xDE00}},          // beyond U+FFFF: a surrogate pair
      {"\xF4\x8F\xBF\xBF", {0xDBFF, 0xDFFF}},          // U+10FFFF
      {"\xC0\xAF", {0xFFFD, 0xFFFD}},                  // overlong '/'
      {"\xE0\x80\xAF", {0xFFFD, 0xFFFD, 0xFFFD}},      // overlong three-byte form
      {"\xF0\x80\x80\xAF", {0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD}},
      {"\xED\xA0\x80", {0xFFFD, 0xFFFD, 0xFFFD}},      // an encoded surrogate
      {"\xF4\x90\x80\x80", {0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD}}, // beyond U+10FFFF
      {"\x80", {0xFFFD}},                              // lone continuation byte
      {"\xC3" "A", {0xFFFD, 'A'}},                     // continuation missing
      {"\xE2\x82" "A", {0xFFFD, 0xFFFD, 'A'}},
      {"\xFF\xFE", {0xFFFD, 0xFFFD}},
      {"\xE2\x82", {0xFFFD}},                          // cut by the end of the text
  };
  for (auto& c : cases) EXPECT_EQ(decode(c.in), c.out) << testing::PrintToString(c.in);
}

TEST_F(Utf8, EncodesCharactersAndSurrogatePairs) {
  struct { std::vector<GCUChar> in; std::string out; } cases[] = {
      {{'A'}, "A"},
      {{0x00E9}, "\xC3\xA9"},
      {{0x07FF}, "\xDF\xBF"},
      {{0x0800}, "\xE0\xA0\x80"},
      {{0x20AC}, "\xE2\x82\xAC"},
      {{0xD83D, 0xDE00}, "\xF0\x9F\x98\x80"},
      {{0xD800}, "?"},                 // lone high surrogate at the end
      {{0xD800, 'A'}, "?A"},           // high surrogate without its low half
      {{0xDC00, 0xD800}, "??"},        // pair in the wrong order
      {{0xDBFF, 0xDFFF}, "\xF4\x8F\xBF\xBF"},
  };
  for (auto& c : cases) EXPECT_EQ(encode(c.in), c.out);
}

TEST_F(Utf8, RoundTripOfEveryBmpCharacterAndSomeSupplementary) {
  for (uint32_t u = 1; u <= 0xFFFF; ++u) {
    if (u >= 0xD800 && u <= 0xDFFF) continue;
    std::string s = encode({GCUChar(u)});
    ASSERT_EQ(decode(s), std::vector<GCUChar>{GCUChar(u)}) << u;
  }
  for (uint32_t cpv : {0x10000u, 0x1F600u, 0x10FFFFu}) {
    uint32_t v = cpv - 0x10000;
    std::vector<GCUChar> pair{GCUChar(0xD800 | (v >> 10)), GCUChar(0xDC00 | (v & 0x3FF))};
    EXPECT_EQ(decode(encode(pair)), pair);
  }
}

TEST_F(Utf8, SingleCharacterFunctionsFollowTheRule) {
  EXPECT_EQ(GCCpMbToUnicode(cp.get(), "\xC3\xA9"), 0x00E9);
  EXPECT_EQ(GCCpMbToUnicode(cp.get(), "\xE2\x82\xAC"), 0x20AC);
  EXPECT_EQ(GCCpMbToUnicode(cp.get(), "\xC3"), 0xFFFD);           // stops at the NUL
  EXPECT_EQ(GCCpMbToUnicode(cp.get(), "\xF0\x9F\x98\x80"), 0xFFFD); // needs two units
  EXPECT_EQ(GCCpMbToUnicodeW(cp.get(), 0xC3A9), 0x00E9);
  struct { GCUChar u; GCPacked w; } cases[] = {
      {0x41, 0x41}, {0x00E9, 0xC3A9}, {0x07FF, 0xDFBF}, {0x0800, 0xE0A080}, {0x20AC, 0xE282AC},
      {0xFFFF, 0xEFBFBF}, {0xD800, '?'}, {0xDFFF, '?'}};
  for (auto& c : cases) {
    EXPECT_EQ(GCCpUnicodeToCharW(cp.get(), c.u), c.w) << c.u;
    char out[4] = {};
    int n = GCCpUnicodeToChar(cp.get(), c.u, out);
    char want[4] = {};
    int wn = GCWToMb(want, c.w);
    EXPECT_EQ(std::string(out, size_t(n)), std::string(want, size_t(wn))) << c.u;
  }
  EXPECT_EQ(GCMbToW(cp.get(), "\xE2\x82\xAC"), 0xE282ACu);
  EXPECT_EQ(GCMbToW(cp.get(), "\xE2\x82"), 0xE2u); // invalid: one byte
}

TEST_F(Utf8, LengthsCountWholeCharacters) {
  const char* s = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z"; // a é € 😀 z: 11 bytes
  struct { int32_t bytes, chars; } b2c[] = {{-1, 5}, {11, 5}, {10, 4}, {7, 3}, {6, 3}, {5, 2}, {2, 1}, {1, 1}};
  for (auto& c : b2c) EXPECT_EQ(GCCpStrByteToCharLen(cp.get(), s, 0, c.bytes), c.chars) << c.bytes;
  struct { int32_t chars, bytes; } c2b[] = {{1, 1}, {2, 3}, {3, 6}, {4, 10}, {5, 11}, {8, 11}};
  for (auto& c : c2b) EXPECT_EQ(GCCpStrCharToByteLen(cp.get(), s, 0, c.chars), c.bytes) << c.chars;
  // Invalid bytes are characters of one byte each.
  EXPECT_EQ(GCCpStrByteToCharLen(cp.get(), "\xC3" "A\x80", 0, -1), 3);
  GCLocale loc{};
  loc.codepage = cp.get();
  EXPECT_EQ(GCByteLength(&loc, "\xE2\x82\xAC", 0), 3);
  EXPECT_EQ(GCByteLength(&loc, "\xE2\x82", 0), 1);
}

TEST(Utf8Rule, DecodeNeverReadsPastTheGivenLength) {
  // Every prefix of a four-byte character is cut (0), not read beyond.
  const uint8_t s[] = {0xF0, 0x9F, 0x98, 0x80};
  for (int32_t n = 1; n < 4; ++n) {
    std::vector<uint8_t> copy(s, s + n); // exact-size buffer: ASan catches an overread
    uint32_t cp = 0;
    EXPECT_EQ(gcUtf8Decode(copy.data(), n, &cp), 0) << n;
    EXPECT_EQ(cp, 0xFFFDu);
  }
}
