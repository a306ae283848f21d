// Whole-string conversion: code page to UCS-2 and back, shift codes, locale
// text to UCS-2, wide characters to a code page, and between two locales in
// byte and character mode.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "gc_testloc.h"
#include "mbtext/gc_conv.h"
#include "mbtext/gc_fmt_int.h"

using gctest::bytes;

namespace {

using Conv = gctest::PageLocales;

TEST_F(Conv, CpStrToUnicode) {
  struct {
    const char* what;
    GCLocale** loc;
    std::string text;
    int32_t length;
    std::u16string want;
  } cases[] = {
      {"single-byte", &latin, bytes({'a', 0xE4, 0x80}), -1, u"a\u00e4\ufffd"},
      {"double-byte", &dbl, bytes({'a', 0x82, 0x60, 0x81, 0x40}), -1, u"a\uff21\u3000"},
      {"double-byte cut by the length", &dbl, bytes({'a', 0x82, 0x60}), 2, u"a"},
      {"double-byte rejected by the trie", &dbl, bytes({0x82, 0x30}), -1, u"\ufffd"},
      {"stops at a NUL byte", &ascii, bytes({'a', 0, 'b'}), 3, u"a"},
      {"shift-state", &shift, bytes({'A', 0x0E, 0x42, 0xC1, 0x45, 0x41, 0x0F, 'b'}), -1,
       u"A\uff21\u4e00b"},
      {"shift-state run of codes", &shift, bytes({0x0E, 0x0F, 0x0E, 0x42, 0xC1}), -1, u"\uff21"},
      {"shift code then NUL ends", &shift, bytes({'x', 0x0E}), -1, u"x"},
      {"shift-state cut double-byte", &shift, bytes({0x0E, 0x42, 0xC1, 0x45}), 4, u"\uff21"},
      {"UTF-8", &utf8, bytes({'a', 0xC3, 0xA4, 0xE2, 0x82, 0xAC}), -1, u"a\u00e4\u20ac"},
      {"UTF-8 cut 3-byte form", &utf8, bytes({'a', 0xE2, 0x82}), -1, u"a"},
  };
  for (const auto& c : cases) {
    GCUChar out[32] = {};
    int32_t n = GCCpStrToUnicode((*c.loc)->codepage, c.text.c_str(), c.length, out);
    EXPECT_EQ(gctest::ucs(out, n), c.want) << c.what;
  }
  GCUChar out[4];
  EXPECT_EQ(GCCpStrToUnicode(latin->codepage, "", -1, out), -1) << "empty NUL-terminated text";
  EXPECT_EQ(GCCpStrToUnicode(latin->codepage, "abc", 0, out), 0);
}

TEST_F(Conv, CpUnicodeToStr) {
  struct {
    const char* what;
    GCLocale** loc;
    std::u16string text;
    int state;
    int32_t length;
    std::string want; // NUL written for non-shift pages is not counted
  } cases[] = {
      {"single-byte with default character", &latin, u"a\u00e4\u20ac", 0, -1, bytes({'a', 0xE4, '?'})},
      {"length bounds the units", &latin, u"abc", 0, 2, "ab"},
      {"double-byte", &dbl, u"x\uff21", 0, -1, bytes({'x', 0x82, 0x60})},
      {"shift-state opens and closes", &shift, u"A\uff21\u4e00b", 0, -1,
       bytes({'A', 0x0E, 0x42, 0xC1, 0x45, 0x41, 0x0F, 'b'})},
      {"shift-state ends in double-byte mode", &shift, u"\uff21", 0, -1, bytes({0x0E, 0x42, 0xC1, 0x0F})},
      {"start state double-byte", &shift, u"\uff21a", 1, -1, bytes({0x42, 0xC1, 0x0F, 'a'})},
      {"start state double-byte, nothing written", &shift, u"", 1, -1, bytes({0x0F})},
      {"UTF-8", &utf8, u"\u00e4\u20ac", 0, -1, bytes({0xC3, 0xA4, 0xE2, 0x82, 0xAC})},
  };
  for (const auto& c : cases) {
    std::vector<GCUChar> u(c.text.begin(), c.text.end());
    u.push_back(0);
    char out[64];
    std::memset(out, 0x55, sizeof out);
    int32_t n = GCCpUnicodeToStr((*c.loc)->codepage, u.data(), c.state, c.length, out);
    EXPECT_EQ(std::string(out, size_t(n)), c.want) << c.what;
    if (!((*c.loc)->flags & GC_LF_SHIFT)) {
      EXPECT_EQ(out[n], 0) << c.what;
    } else {
      EXPECT_EQ(uint8_t(out[n]), 0x55) << c.what << ": no terminator";
    }
  }
}

TEST_F(Conv, CommonCodePage) {
  GCUChar u[8];
  EXPECT_EQ(GCComStrToUnicode("ab\x80", -1, u), 3);
  EXPECT_EQ(gctest::ucs(u, 4), std::u16string(u"ab\ufffd\0", 4));
  EXPECT_EQ(GCComStrToUnicode("abc", 2, u), 2);
  EXPECT_EQ(u[2], 0);
  EXPECT_EQ(GCComStrToUnicode("", -1, u), -1);
  char s[8];
  const GCUChar src[] = {'h', 0xE4, 'i', 0};
  EXPECT_EQ(GCComUnicodeToStr(src, -1, s), 3);
  EXPECT_STREQ(s, "h?i");
  EXPECT_EQ(GCComUnicodeToStr(src, 1, s), 1);
  EXPECT_STREQ(s, "h");
  const GCUChar empty[] = {0};
  EXPECT_EQ(GCComUnicodeToStr(empty, -1, s), -1);
}

TEST(ConvNoLibrary, CommonCodePageNeedsTheLibrary) {
  GCUChar u[4];
  char s[4];
  const GCUChar src[] = {'a', 0};
  EXPECT_EQ(GCComStrToUnicode("a", -1, u), -1);
  EXPECT_EQ(GCComUnicodeToStr(src, -1, s), -1);
}

TEST_F(Conv, StringToUnicodeModes) {
  const std::string dtext = bytes({'a', 0x82, 0x60, 'b', 0x81, 0x40}); // 4 characters
  struct {
    const char* what;
    GCLocale** loc;
    std::string text;
    int32_t srcLen;
    int32_t outLen;
    uint32_t flags;
    int32_t result;
    std::u16string want; // the units written, terminator included
  } cases[] = {
      {"NUL-terminated gets its terminator", &dbl, dtext, -1, 10, 0, 5, std::u16string(u"a\uff21b\u3000\0", 5)},
      {"counted text: no terminator", &dbl, dtext, 6, 10, 0, 4, u"a\uff21b\u3000"},
      {"flag 8 on counted text", &dbl, dtext, 6, 10, 8, 5, std::u16string(u"a\uff21b\u3000\0", 5)},
      {"output full: no terminator", &dbl, dtext, -1, 4, 0, 4, u"a\uff21b\u3000"},
      {"output full with flag 8", &dbl, dtext, -1, 3, 8, 3, std::u16string(u"a\uff21\0", 3)},
      {"output 1 with flag 8 holds only the terminator", &dbl, dtext, -1, 1, 8, 1, std::u16string(u"\0", 1)},
      {"source in characters", &dbl, dtext, 2, 10, 0x4000, 2, u"a\uff21"},
      {"source in characters with flag 8", &dbl, dtext, 3, 10, 0x4008, 4, std::u16string(u"a\uff21b\0", 4)},
      {"cut double-byte character", &dbl, dtext, 2, 10, 0, 1, u"a"},
      {"rejected second byte starts a new character", &dbl, bytes({0x82, '0'}), -1, 10, 0, 3,
       std::u16string(u"\ufffd0\0", 3)},
      {"UTF-8 cut 3-byte form stops before it", &utf8, bytes({'a', 0xE2, 0x82}), -1, 10, 0, 1, u"a"},
      {"UTF-8", &utf8, bytes({0xC3, 0xA4, 'z'}), -1, 10, 0, 3, std::u16string(u"\u00e4z\0", 3)},
      {"single-byte", &latin, bytes({0xE4, 0x80}), -1, 10, 0, 3, std::u16string(u"\u00e4\ufffd\0", 3)},
      {"shift-state", &shift, bytes({0x0E, 0x42, 0xC1, 0x0F, 'q'}), -1, 10, 0, 3,
       std::u16string(u"\uff21q\0", 3)},
      {"shift-state, trailing shift-in", &shift, bytes({0x0E, 0x42, 0xC1, 0x0F}), -1, 10, 0, 2,
       std::u16string(u"\uff21\0", 2)},
  };
  for (const auto& c : cases) {
    GCUChar out[16];
    for (auto& x : out) x = 0x5555;
    int32_t n = GCStringToUnicode(out, c.outLen, *c.loc, c.text.c_str(), c.srcLen, c.flags);
    EXPECT_EQ(n, c.result) << c.what;
    if (n >= 0) {
      EXPECT_EQ(gctest::ucs(out, n), c.want) << c.what;
    }
    EXPECT_EQ(out[c.outLen], 0x5555) << c.what << ": written past the output";
    EXPECT_EQ(GCGetError(*c.loc), GC_OK) << c.what;
  }
}

TEST_F(Conv, StringToUnicodeRefusals) {
  GCUChar out[4];
  for (uint32_t f : {1u, 0x10u, 0x4001u, 0x80000000u}) {
    EXPECT_EQ(GCStringToUnicode(out, 4, dbl, "a", -1, f), -1) << f;
    EXPECT_EQ(GCGetError(dbl), GC_E_ARG);
  }
  EXPECT_EQ(GCStringToUnicode(out, -1, dbl, "a", -1, 0), -1);
  EXPECT_EQ(GCGetError(dbl), GC_E_ARG);
  EXPECT_EQ(GCStringToUnicode(out, 0, dbl, "a", -1, 8), 0);
}

TEST_F(Conv, WideToMb) {
  const uint32_t w[] = {'a', 0x8260, 'b', 0x8140, 0};
  struct {
    const char* what;
    GCLocale** loc;
    int32_t srcLen, outLen;
    uint32_t flags;
    int32_t result;
    std::string want;
  } cases[] = {
      {"terminator converted and counted", &dbl, -1, 16, 0, 7, bytes({'a', 0x82, 0x60, 'b', 0x81, 0x40, 0})},
      {"bytes: stops before a character that does not fit", &dbl, 4, 2, 0, 1, "a"},
      {"bytes: exact fit", &dbl, 4, 3, 0, 3, bytes({'a', 0x82, 0x60})},
      {"characters", &dbl, -1, 3, 0x4000, 3, bytes({'a', 0x82, 0x60, 'b'})},
      {"single-byte: one byte each", &latin, 3, 2, 0, 2, bytes({'a', '?'})},
      {"length 0", &dbl, 0, 16, 0, 0, ""},
  };
  for (const auto& c : cases) {
    char out[32];
    std::memset(out, 0x55, sizeof out);
    int32_t n = GCWideToMb(*c.loc, out, c.outLen, w, c.srcLen, c.flags);
    EXPECT_EQ(n, c.result) << c.what;
    size_t written = 0;
    while (written < sizeof out && out[written] != 0x55) ++written;
    EXPECT_EQ(std::string(out, written), c.want) << c.what;
  }
  char out[4];
  EXPECT_EQ(GCWideToMb(dbl, out, 4, w, -1, 8), -1);
  EXPECT_EQ(GCGetError(dbl), GC_E_ARG);
  EXPECT_EQ(GCWideToMb(dbl, out, -4, w, -1, 0), -1);
}

TEST_F(Conv, WideToMbCharacterModeBoundsTheBytes) {
  // Three double-byte characters into room for two characters of two bytes.
  const uint32_t w[] = {0x8260, 0x8260, 0x8260, 0};
  char out[8];
  std::memset(out, 0x55, sizeof out);
  EXPECT_EQ(GCWideToMb(dbl, out, 2, w, 3, 0x4000), 2);
  EXPECT_EQ(uint8_t(out[4]), 0x55);
}

struct ConvCase {
  const char* what;
  GCLocale** dst;
  GCLocale** src;
  std::string text;
  int32_t srcLen, outLen;
  uint32_t flags;
  int32_t result;
  std::string want; // bytes written, terminator included
};

TEST_F(Conv, ConvertStringByteMode) {
  const ConvCase cases[] = {
      {"Latin1 to ASCII with default character", &ascii, &latin, bytes({'a', 0xE4, 'b'}), -1, 10, 0, 4,
       bytes({'a', '?', 'b', 0})},
      {"no character (0x80) becomes the default character", &dbl, &latin, bytes({0x80}), -1, 10, 0, 2,
       bytes({'?', 0})},
      {"Latin1 to UTF-8", &utf8, &latin, bytes({0xE4}), -1, 10, 0, 3, bytes({0xC3, 0xA4, 0})},
      {"UTF-8 to Latin1", &latin, &utf8, bytes({0xC3, 0xA4, '!'}), -1, 10, 0, 3, bytes({0xE4, '!', 0})},
      {"counted source: no terminator", &ascii, &latin, "abc", 3, 10, 0, 3, "abc"},
      {"flag 8 on counted source", &ascii, &latin, "abc", 3, 10, 8, 4, bytes({'a', 'b', 'c', 0})},
      {"output full: no terminator", &ascii, &latin, "abc", -1, 3, 0, 3, "abc"},
      {"output full with flag 8", &ascii, &latin, "abc", -1, 3, 8, 3, bytes({'a', 'b', 0})},
      {"double-byte character does not fit", &dbl, &dbl, bytes({'a', 0x82, 0x60}), -1, 2, 0, 1, "a"},
      {"source 0 with flag 8", &ascii, &latin, "abc", 0, 5, 8, 1, bytes({0})},
      {"source 0 without flag 8", &ascii, &latin, "abc", 0, 5, 0, 0, ""},
      {"cut source character", &latin, &dbl, bytes({'a', 0x82, 0x60}), 2, 10, 0, 1, "a"},
      {"double-byte to shift-state", &shift, &dbl, bytes({'a', 0x82, 0x60, 'b'}), -1, 10, 0, 7,
       bytes({'a', 0x0E, 0x42, 0xC1, 0x0F, 'b', 0})},
      {"shift-state closed at the end", &shift, &dbl, bytes({0x82, 0x60}), -1, 10, 0, 5,
       bytes({0x0E, 0x42, 0xC1, 0x0F, 0})},
      {"shift-state: no room to close, character left out", &shift, &dbl, bytes({'a', 0x82, 0x60}), -1, 4, 0, 1,
       "a"},
      {"shift-state source", &dbl, &shift, bytes({0x0E, 0x42, 0xC1, 0x0F, 'z'}), -1, 10, 0, 4,
       bytes({0x82, 0x60, 'z', 0})},
  };
  for (const auto& c : cases) {
    char out[32];
    std::memset(out, 0x55, sizeof out);
    int32_t n = GCConvertString(*c.dst, out, c.outLen, *c.src, c.text.c_str(), c.srcLen, c.flags);
    EXPECT_EQ(n, c.result) << c.what;
    if (n >= 0) {
      EXPECT_EQ(std::string(out, size_t(n)), c.want) << c.what;
    }
    EXPECT_EQ(uint8_t(out[c.outLen]), 0x55) << c.what << ": written past the output";
    EXPECT_EQ(GCGetError(*c.dst), GC_OK) << c.what;
  }
}

TEST_F(Conv, ConvertStringCharacterMode) {
  const std::string five = "abcde";
  const std::string dtext = bytes({'a', 0x82, 0x60, 'b'});
  const ConvCase cases[] = {
      {"3 of 5 characters", &ascii, &latin, five, 5, 3, 0x4000, 3, "abc"},
      {"NUL-terminated 2 characters get a NUL", &ascii, &latin, "ab", -1, 3, 0x4000, 3, bytes({'a', 'b', 0})},
      {"flag 8 reserves a character", &ascii, &latin, five, 5, 3, 0x4008, 3, bytes({'a', 'b', 0})},
      {"source length counts characters", &latin, &dbl, dtext, 2, 10, 0x4000, 2, bytes({'a', '?'})},
      {"double-byte output counted in characters", &dbl, &dbl, dtext, -1, 2, 0x4000, 2, bytes({'a', 0x82, 0x60})},
  };
  for (const auto& c : cases) {
    char out[32];
    std::memset(out, 0x55, sizeof out);
    int32_t n = GCConvertString(*c.dst, out, c.outLen, *c.src, c.text.c_str(), c.srcLen, c.flags);
    EXPECT_EQ(n, c.result) << c.what;
    size_t written = 0;
    while (written < sizeof out && uint8_t(out[written]) != 0x55) ++written;
    EXPECT_EQ(std::string(out, written), c.want) << c.what;
  }
}

TEST_F(Conv, ConvertStringRefusals) {
  char out[8];
  std::memset(out, 0x55, sizeof out);
  EXPECT_EQ(GCConvertString(ascii, out, 8, latin, "a", -1, 1), -1);
  EXPECT_EQ(GCGetError(ascii), GC_E_ARG);
  EXPECT_EQ(GCConvertString(ascii, out, 8, latin, "a", -1, 0x4001), 0) << "character mode fails with 0";
  EXPECT_EQ(GCConvertString(ascii, out, -1, latin, "a", -1, 0), -1);
  EXPECT_EQ(uint8_t(out[0]), 0x55) << "nothing written";
}

} // namespace
