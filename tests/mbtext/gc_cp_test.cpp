// Code-page conversions: single-byte, double-byte, shift-state and UTF-8
// text in both directions, classes, case and width, and lengths.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "mbtext/gc_conv.h"
#include "mbtext/gc_cp.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_obj.h"
#include "mbtext/gc_obj_int.h"
#include "mbtext/gc_testdata.h"

using gctest::Bytes;
using gctest::bytes;
using gctest::CodePageBuilder;
using gctest::MemObject;

namespace {

// A double-byte page in the style of Shift-JIS: ASCII, lead bytes 0x81-0x82
// with two-byte characters, one three-byte character, full-width forms.
CodePageBuilder dbcsBuilder() {
  CodePageBuilder b;
  b.multi({0x81, 0x40}, 0x3000, 0x2C0)                  // ideographic space
      .multi({0x82, 0x60}, 0xFF21, 0x203, 0x21)        // full-width A, lower form 0x8281
      .multi({0x82, 0x61}, 0xFF22, 0x203, 0x21)        // full-width B
      .multi({0x82, 0x81}, 0xFF41, 0x205, -0x21)       // full-width a
      .multi({0x82, 0x4F}, 0xFF10, 0x218)              // full-width 0
      .multi({0x8F, 0xA1, 0xA1}, 0x4E00, 0x201)        // three-byte character
      .single(0xB1, 0xFF71, 0x201)                     // half-width katakana A
      .fullWidthOfByte('A', 0x8260)
      .fullWidthOfByte('B', 0x8261)
      .fullWidthOfByte('0', 0x824F)
      .widthPair(0x41, 0x8260)
      .widthPair(0x42, 0x8261)
      .widthPair(0xB1, 0x8341);
  return b;
}

// An EBCDIC shift-state page: SO 0x0E / SI 0x0F, double-byte characters.
CodePageBuilder shiftBuilder() {
  CodePageBuilder b;
  b.ebcdicBased().shiftState(0x0E, 0x0F);
  for (int i = 0; i < 0x80; ++i) b.unmapSingle(uint8_t(i));
  b.single(0x40, ' ', 0x2C0).single(0xC1, 'A', 0x213).single(0xC2, 'B', 0x213).single(0xF1, '1', 0x218);
  b.single(0x00, 0, 0x300);
  b.multi({0x42, 0xC1}, 0xFF21, 0x203, -0x40).multi({0x42, 0x81}, 0xFF41, 0x205, 0x40);
  b.multi({0x45, 0x41}, 0x4E00, 0x201);
  return b;
}

} // namespace

// ---------------------------------------------------------------------------
// Built-in US-ASCII page.

TEST(CodePageBuiltin, SingleBytesDecodeAndEncodeAsAscii) {
  GCObj* cp = gcBuiltinCodePage();
  ASSERT_EQ(gcCodePageValidate(cp), GC_OK);
  EXPECT_EQ(gcCpMaxLen(cp), 1);
  EXPECT_TRUE(gcCpIsAsciiBased(cp));
  EXPECT_FALSE(gcCpIsShiftState(cp));
  EXPECT_EQ(gcCpWindowsNumber(cp), 1252);
  EXPECT_EQ(gcCpDefaultChar(cp), '?');
  for (int b = 0; b < 256; ++b) {
    GCUChar expect = b < 0x80 ? GCUChar(b) : GC_UCS2_INVALID;
    ASSERT_EQ(gcCpByteToUcs2(cp, uint8_t(b)), expect) << b;
    char out[4] = {};
    ASSERT_EQ(GCCpUnicodeToChar(cp, GCUChar(b), out), 1);
    ASSERT_EQ(uint8_t(out[0]), b < 0x80 ? b : '?') << b;
  }
  struct { GCUChar u; GCPacked w; } cases[] = {{0x41, 0x41}, {0x00E9, '?'}, {0x20AC, '?'}, {0xFFFD, '?'}, {0x7F, 0x7F}};
  for (auto& c : cases) EXPECT_EQ(GCCpUnicodeToCharW(cp, c.u), c.w) << c.u;
}

TEST(CodePageBuiltin, ClassWordsOfTheDefaultPage) {
  GCObj* cp = gcBuiltinCodePage();
  struct { uint8_t b; uint32_t type, bidi, width; } cases[] = {
      {'A', 0x213, 1u << 1, 0x040}, {'G', 0x203, 1u << 1, 0x040}, {'a', 0x215, 1u << 1, 0x040},
      {'z', 0x205, 1u << 1, 0x040}, {'5', 0x218, 1u << 3, 0x040}, {' ', 0x2C0, 1u << 10, 0x048},
      {'\t', 0x3C0, 1u << 9, 0x048}, {'\n', 0x340, 1u << 8, 0x048}, {0x01, 0x300, 1u << 0, 0x040},
      {'!', 0x220, 1u << 11, 0x048}, {0x80, 0, 0, 0}, {0xFF, 0, 0, 0}};
  for (auto& c : cases) {
    uint32_t w = gcCpByteClass(cp, c.b);
    EXPECT_EQ(w & 0x3FF, c.type) << int(c.b);
    EXPECT_EQ((w >> 10) & 0xFFF, c.bidi) << int(c.b);
    EXPECT_EQ(w >> 22, c.width) << int(c.b);
  }
  EXPECT_EQ(gcCpUpperByte(cp, 'q'), 'Q');
  EXPECT_EQ(gcCpLowerByte(cp, 'Q'), 'q');
  EXPECT_EQ(gcCpUpperByte(cp, '1'), '1');
}

// ---------------------------------------------------------------------------
// Packing.

TEST(CodePagePacking, WToMbWritesTheSignificantBytes) {
  struct { GCPacked v; std::string bytes; } cases[] = {
      {0x41, "A"}, {0x8140, bytes({0x81, 0x40})}, {0x01000041, bytes({0x01, 0x41})},
      {0x8FA1A1, bytes({0x8F, 0xA1, 0xA1})}, {0xF09F9880, bytes({0xF0, 0x9F, 0x98, 0x80})}, {0x00, bytes({0})}};
  for (auto& c : cases) {
    char out[4] = {};
    int n = GCWToMb(out, c.v);
    EXPECT_EQ(std::string(out, size_t(n)), c.bytes) << std::hex << c.v;
  }
}

TEST(CodePagePacking, MbToWPacksByLeadLengthAndStopsAtTheNul) {
  MemObject cp(GC_CLASS_CODEPAGE, 932, dbcsBuilder().sections());
  EXPECT_EQ(GCMbToW(cp.get(), "A"), 0x41u);
  EXPECT_EQ(GCMbToW(cp.get(), "\x82\x60z"), 0x8260u);
  EXPECT_EQ(GCMbToW(cp.get(), "\x8F\xA1\xA1"), 0x8FA1A1u);
  EXPECT_EQ(GCMbToW(cp.get(), "\x82"), 0x82u); // the text ends inside the character
  EXPECT_EQ(GCMbToWS(cp.get(), "\x82\x60", 1), 0x8260u);
  EXPECT_EQ(GCMbToWS(cp.get(), "\x82\x60", 0), 0x82u);
}

// ---------------------------------------------------------------------------
// Double-byte page.

TEST(CodePageDbcs, TablesAreValid) {
  MemObject cp(GC_CLASS_CODEPAGE, 932, dbcsBuilder().sections());
  EXPECT_EQ(gcCodePageValidate(cp.get()), GC_OK);
  EXPECT_EQ(gcCpMaxLen(cp.get()), 3);
}

TEST(CodePageDbcs, CharactersConvertInBothDirections) {
  MemObject cp(GC_CLASS_CODEPAGE, 932, dbcsBuilder().sections());
  struct { std::string mb; GCUChar u; } cases[] = {
      {bytes({0x81, 0x40}), 0x3000}, {bytes({0x82, 0x60}), 0xFF21}, {bytes({0x82, 0x81}), 0xFF41},
      {bytes({0x82, 0x4F}), 0xFF10}, {bytes({0x8F, 0xA1, 0xA1}), 0x4E00}};
  for (auto& c : cases) {
    EXPECT_EQ(GCCpMbToUnicode(cp.get(), c.mb.c_str()), c.u);
    EXPECT_EQ(GCCpMbToUnicodeW(cp.get(), GCMbToW(cp.get(), c.mb.c_str())), c.u);
    char out[4] = {};
    int n = GCCpUnicodeToChar(cp.get(), c.u, out);
    EXPECT_EQ(std::string(out, size_t(n)), c.mb) << std::hex << c.u;
    EXPECT_EQ(GCCpUnicodeToCharW(cp.get(), c.u), GCMbToW(cp.get(), c.mb.c_str()));
  }
  // Single bytes go through the byte table, also on pages with multibyte characters.
  char out[4] = {};
  EXPECT_EQ(GCCpUnicodeToChar(cp.get(), 'z', out), 1);
  EXPECT_EQ(out[0], 'z');
  EXPECT_EQ(GCCpUnicodeToChar(cp.get(), 0xFF71, out), 1);
  EXPECT_EQ(uint8_t(out[0]), 0xB1);
}

TEST(CodePageDbcs, RejectedAndUnrepresentableCharacters) {
  MemObject cp(GC_CLASS_CODEPAGE, 932, dbcsBuilder().sections());
  // Trail byte outside the accepted range, unknown lead, unknown trail inside the range.
  EXPECT_EQ(GCCpMbToUnicode(cp.get(), "\x81\x30"), GC_UCS2_INVALID);
  EXPECT_EQ(GCCpMbToUnicode(cp.get(), "\x82\x70"), GC_UCS2_INVALID);
  EXPECT_EQ(GCCpMbToUnicode(cp.get(), "\x8F\xA1\xA2"), GC_UCS2_INVALID);
  EXPECT_EQ(GCCpMbToUnicode(cp.get(), "\x82"), GC_UCS2_INVALID); // cut by the NUL
  char out[4] = {};
  for (GCUChar u : {GCUChar(0x4E01), GCUChar(0xFF23), GCUChar(0x00E9), GCUChar(0xFFFD)}) {
    EXPECT_EQ(GCCpUnicodeToChar(cp.get(), u, out), 1) << u;
    EXPECT_EQ(out[0], '?') << u;
    EXPECT_EQ(GCCpUnicodeToCharW(cp.get(), u), GCPacked('?')) << u;
  }
}

TEST(CodePageDbcs, TextConvertsThroughTheCharacterHelpers) {
  MemObject cp(GC_CLASS_CODEPAGE, 932, dbcsBuilder().sections());
  std::string text = bytes({'a', 0x82, 0x60, 0x8F, 0xA1, 0xA1, 0xB1, 0x82});
  std::vector<GCUChar> u;
  const auto* p = reinterpret_cast<const uint8_t*>(text.data());
  int32_t left = int32_t(text.size());
  while (left > 0) {
    GCUChar o[2];
    int used = 0;
    int n = gcCpToUcs2(cp.get(), p, left, o, &used);
    ASSERT_GT(used, 0);
    u.insert(u.end(), o, o + n);
    p += used;
    left -= used;
  }
  // The cut lead byte at the end becomes one replacement character.
  EXPECT_EQ(u, (std::vector<GCUChar>{'a', 0xFF21, 0x4E00, 0xFF71, GC_UCS2_INVALID}));
  std::string back;
  for (size_t i = 0; i + 1 < u.size(); ++i) {
    uint8_t o[4];
    int used = 0;
    int n = gcCpFromUcs2(cp.get(), &u[i], 1, o, &used);
    back.append(reinterpret_cast<char*>(o), size_t(n));
  }
  EXPECT_EQ(back, text.substr(0, text.size() - 1));
}

TEST(CodePageDbcs, CharacterAndStringConversionsReadTheTrieAlike) {
  // Lead byte 0x81 announces three bytes, but its trie leaf ends after two:
  // the leaf's value stands for the whole character in both conversions.
  MemObject cp(GC_CLASS_CODEPAGE, 932,
               CodePageBuilder().maxLen(3).multi({0x81, 0x40}, 0x3000).leadLen(0x81, 3).sections());
  const std::string text = bytes({0x81, 0x40, 0x41, 'b'});
  GCUChar one[2] = {};
  int used = 0;
  ASSERT_EQ(gcCpToUcs2(cp.get(), reinterpret_cast<const uint8_t*>(text.data()), int32_t(text.size()), one,
                       &used),
            1);
  EXPECT_EQ(used, 3);
  EXPECT_EQ(one[0], 0x3000);
  GCUChar all[8] = {};
  ASSERT_EQ(GCCpStrToUnicode(cp.get(), text.c_str(), -1, all), 2);
  EXPECT_EQ(all[0], one[0]);
  EXPECT_EQ(all[1], 'b');
}

TEST(CodePageDbcs, ClassRecordsAndCaseConversion) {
  MemObject cp(GC_CLASS_CODEPAGE, 932, dbcsBuilder().sections());
  const uint8_t* rec = GCGetMbCtype(cp.get(), "\x82\x60");
  EXPECT_EQ(gcCtypeClass(rec), 0x203u);
  EXPECT_EQ(gcCtypeDelta(rec), 0x21);
  EXPECT_EQ(gcCtypeClass(GCGetMbCtypeW(cp.get(), 0x8281)), 0x205u);
  EXPECT_EQ(gcCtypeClass(GCGetMbCtypeW(cp.get(), 0x8FA1A1)), 0x201u);
  EXPECT_EQ(gcCtypeClass(GCGetMbCtypeW(cp.get(), 0x8299)), 0u); // no record: empty class

  struct { std::string in; uint32_t mask; std::string out; } cases[] = {
      {bytes({0x82, 0x81}), 0x4, bytes({0x82, 0x60})}, // lower a -> upper A
      {bytes({0x82, 0x60}), 0x2, bytes({0x82, 0x81})}, // upper A -> lower a
      {bytes({0x82, 0x60}), 0x4, bytes({0x82, 0x60})}, // already upper: copied
      {bytes({0x82, 0x4F}), 0x4, bytes({0x82, 0x4F})}, // digit: copied
      {bytes({0x8F, 0xA1, 0xA1}), 0x2, bytes({0x8F, 0xA1, 0xA1})}};
  for (auto& c : cases) {
    char out[4] = {};
    int n = GCCpMbCaseConv(cp.get(), c.in.c_str(), out, c.mask);
    EXPECT_EQ(std::string(out, size_t(n)), c.out);
    GCPacked w = GCCpMbCaseConvW(cp.get(), GCMbToW(cp.get(), c.in.c_str()), c.mask);
    EXPECT_EQ(w, GCMbToW(cp.get(), c.out.c_str()));
  }
}

TEST(CodePageDbcs, WidthForms) {
  MemObject cp(GC_CLASS_CODEPAGE, 932, dbcsBuilder().sections());
  struct { GCPacked half, full; } toFull[] = {{0x41, 0x8260}, {0x42, 0x8261}, {0xB1, 0x8341}, {0x43, 0}, {0, 0}};
  for (auto& c : toFull) EXPECT_EQ(GCCpMbHalfToFullW(cp.get(), c.half), c.full) << c.half;
  struct { GCPacked full, half; } toHalf[] = {
      {0x8260, 0x41},  // found in the single-byte full-width table: the byte
      {0x824F, '0'},   // only in the single-byte table
      {0x8341, 0xB1},  // only in the pair table
      {0x8399, 0}};
  for (auto& c : toHalf) EXPECT_EQ(GCCpFullToHalfW(cp.get(), c.full), c.half) << c.full;
  // A page without width tables has no forms.
  EXPECT_EQ(GCCpMbHalfToFullW(gcBuiltinCodePage(), 0x41), 0u);
  EXPECT_EQ(GCCpFullToHalfW(gcBuiltinCodePage(), 0x8260), 0u);
}

TEST(CodePageDbcs, LengthConversions) {
  MemObject cp(GC_CLASS_CODEPAGE, 932, dbcsBuilder().sections());
  const char* s = "a\x82\x60\x8F\xA1\xA1z";
  struct { int32_t bytes, chars; } b2c[] = {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 2}, {6, 3}, {7, 4}, {-1, 4}};
  for (auto& c : b2c) EXPECT_EQ(GCCpStrByteToCharLen(cp.get(), s, 0, c.bytes), c.chars) << c.bytes;
  struct { int32_t chars, bytes; } c2b[] = {{0, 0}, {-3, 0}, {1, 1}, {2, 3}, {3, 6}, {4, 7}, {9, 7}};
  for (auto& c : c2b) EXPECT_EQ(GCCpStrCharToByteLen(cp.get(), s, 0, c.chars), c.bytes) << c.chars;
  // A character cut by the end of the text is neither counted nor spanned.
  EXPECT_EQ(GCCpStrCharToByteLen(cp.get(), "a\x82", 0, 5), 1);
  EXPECT_EQ(GCCpStrByteToCharLen(cp.get(), "a\x82", 0, -1), 1);
}

// ---------------------------------------------------------------------------
// Shift-state page.

TEST(CodePageShift, TablesAreValidAndPropertiesRead) {
  MemObject cp(GC_CLASS_CODEPAGE, 930, shiftBuilder().sections());
  ASSERT_EQ(gcCodePageValidate(cp.get()), GC_OK);
  EXPECT_TRUE(gcCpIsShiftState(cp.get()));
  EXPECT_FALSE(gcCpIsAsciiBased(cp.get()));
  EXPECT_TRUE(gcCpIsEbcdic930(cp.get()));
  EXPECT_EQ(gcCpShiftOut(cp.get()), 0x0E);
  EXPECT_EQ(gcCpShiftIn(cp.get()), 0x0F);
  EXPECT_EQ(gcCpMaxLen(cp.get()), 2);
}

TEST(CodePageShift, CharactersConvertInBothDirections) {
  MemObject cp(GC_CLASS_CODEPAGE, 930, shiftBuilder().sections());
  EXPECT_EQ(GCCpMbToUnicodeW(cp.get(), 0x42C1), 0xFF21);
  EXPECT_EQ(GCCpMbToUnicodeW(cp.get(), 0x4541), 0x4E00);
  EXPECT_EQ(gcCpByteToUcs2(cp.get(), 0xC1), 'A');
  EXPECT_EQ(gcCpByteToUcs2(cp.get(), 0x41), GC_UCS2_INVALID);
  char out[4] = {};
  EXPECT_EQ(GCCpUnicodeToChar(cp.get(), 0xFF21, out), 2);
  EXPECT_EQ(std::string(out, 2), bytes({0x42, 0xC1}));
  EXPECT_EQ(GCCpUnicodeToChar(cp.get(), 'B', out), 1);
  EXPECT_EQ(uint8_t(out[0]), 0xC2);
}

TEST(CodePageShift, CaseConversionOfDoubleByteCharacters) {
  MemObject cp(GC_CLASS_CODEPAGE, 930, shiftBuilder().sections());
  char out[4] = {};
  EXPECT_EQ(GCCpMbCaseConvS(cp.get(), "\x42\x81", out, 0x4), 2);
  EXPECT_EQ(std::string(out, 2), bytes({0x42, 0xC1}));
  EXPECT_EQ(GCCpMbCaseConvS(cp.get(), "\x45\x41", out, 0x4), 2);
  EXPECT_EQ(std::string(out, 2), bytes({0x45, 0x41}));
  EXPECT_EQ(GCCpMbCaseConvS(cp.get(), "\x42", out, 0x4), 1); // cut: copied as it is
}

TEST(CodePageShift, LengthsWalkShiftCodes) {
  MemObject cp(GC_CLASS_CODEPAGE, 930, shiftBuilder().sections());
  // SO, two double-byte characters, SI, 'A', 'B' (EBCDIC).
  const char* s = "\x0E\x42\xC1\x45\x41\x0F\xC1\xC2";
  struct { int state; int32_t bytes, chars; } b2c[] = {
      {0, 8, 4}, {0, -1, 4}, {0, 0, 0}, {0, 1, 0}, {0, 2, 0}, {0, 3, 1}, {0, 4, 1}, {0, 5, 2},
      {0, 6, 2}, {0, 7, 3}};
  for (auto& c : b2c) EXPECT_EQ(GCCpStrByteToCharLen(cp.get(), s, c.state, c.bytes), c.chars) << c.bytes;
  struct { int32_t chars, bytes; } c2b[] = {{1, 3}, {2, 6}, {3, 7}, {4, 8}, {9, 8}};
  for (auto& c : c2b) EXPECT_EQ(GCCpStrCharToByteLen(cp.get(), s, 0, c.chars), c.bytes) << c.chars;
  // Starting in double-byte mode without a shift-out code.
  EXPECT_EQ(GCCpStrByteToCharLen(cp.get(), "\x42\xC1\x45\x41", 1, 4), 2);
  EXPECT_EQ(GCCpStrCharToByteLen(cp.get(), "\x42\xC1\x45\x41", 1, 1), 2);
  // A run of shift codes counts as one switch; the last code decides.
  EXPECT_EQ(GCCpStrByteToCharLen(cp.get(), "\x0E\x0F\x0E\x42\xC1", 0, 5), 1);
  EXPECT_EQ(gcCpShiftRunEnd(reinterpret_cast<const uint8_t*>("\x0E\x0F\x0E\xC1"), -1, 0x0F, 0x0E), 2);
  EXPECT_EQ(gcCpShiftRunEnd(reinterpret_cast<const uint8_t*>("\xC1"), -1, 0x0F, 0x0E), 0);
  EXPECT_EQ(gcCpShiftRunEnd(reinterpret_cast<const uint8_t*>("\x0E\xC1"), -1, 0x0F, 0x0E), 0);
  // The text ends inside a double-byte character: not spanned.
  EXPECT_EQ(GCCpStrCharToByteLen(cp.get(), "\x0E\x42", 0, 1), 1);
}

// ---------------------------------------------------------------------------
// Byte length at the locale level.

TEST(CodePageLocale, ByteLengthWithTheDefaultLocale) {
  EXPECT_EQ(GCByteLength(nullptr, "abc", 0), 1);
  EXPECT_EQ(GCByteLength(nullptr, "\xE9", 0), 1);
  EXPECT_EQ(GCGetError(nullptr), GC_OK);
}

TEST(CodePageLocale, ByteLengthFollowsTheLocalesCodePage) {
  MemObject cp(GC_CLASS_CODEPAGE, 932, dbcsBuilder().sections());
  GCLocale loc{};
  loc.codepage = cp.get();
  loc.status = 99;
  EXPECT_EQ(GCByteLength(&loc, "\x82\x60", 0), 2);
  EXPECT_EQ(loc.status, GC_OK);
  EXPECT_EQ(GCByteLength(&loc, "\x8F\xA1\xA1", 0), 3);
  EXPECT_EQ(GCByteLength(&loc, "\x8F\xA1", 0), 1); // cut by the NUL: never steps past it
  loc.flags = GC_LF_SINGLEBYTE;
  EXPECT_EQ(GCByteLength(&loc, "\x82\x60", 0), 1);
}
