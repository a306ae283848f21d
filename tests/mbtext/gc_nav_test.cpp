// Walking text character by character in single-byte, double-byte and
// shift-state locales.
#include <gtest/gtest.h>

#include <string>

#include "gc_testloc.h"
#include "mbtext/gc_nav.h"

using gctest::bytes;

namespace {

using Nav = gctest::PageLocales;

struct CountCase {
  const char* what;
  std::string text;
  int32_t length;
  int32_t chars;
};

TEST_F(Nav, NumCharsDoubleByteCountsWholeCharacters) {
  const std::string aK = bytes({'a', 0x82, 0x60});
  const CountCase cases[] = {
      {"cut double-byte character is not counted", aK, 2, 1},
      {"whole text", aK, 3, 2},
      {"length 0 reads nothing", aK, 0, 0},
      {"NUL-terminated", aK, -1, 2},
      {"lead byte before the NUL stops at the NUL", bytes({'a', 0x82}), -1, 1},
      {"lead byte of length 0 counts as one byte", bytes({0x83, 'b'}), -1, 2},
      {"counted text with an inner NUL byte", bytes({'a', 0, 'b'}), 3, 3},
  };
  for (const auto& c : cases) {
    dbl->status = 99;
    EXPECT_EQ(GCNumChars(dbl, c.text.c_str(), c.length, 0), c.chars) << c.what;
    EXPECT_EQ(GCGetError(dbl), GC_OK) << c.what;
  }
  EXPECT_EQ(GCNumChars(dbl, nullptr, 0, 0), 0);
  EXPECT_EQ(GCNumChars(ascii, "abc", -1, 0), 3);
  EXPECT_EQ(GCNumChars(ascii, "abc", 2, 0), 2);
}

TEST_F(Nav, NextCharNeverStepsPastTheNul) {
  const std::string t = bytes({'a', 0x82, 0x60, 0x82}); // last lead byte is cut by the NUL
  const char* p = t.c_str();
  const char* q = GCNextChar(dbl, p, 0);
  EXPECT_EQ(q, p + 1);
  q = GCNextChar(dbl, q, 0);
  EXPECT_EQ(q, p + 3);
  q = GCNextChar(dbl, q, 0);
  EXPECT_EQ(q, p + 4) << "the cut character ends at the NUL";
  EXPECT_EQ(*q, 0);
  const std::string z = bytes({0x83, 'x'});
  EXPECT_EQ(GCNextChar(dbl, z.c_str(), 0), z.c_str() + 1) << "length 0 counts as 1";
  const char* ab = "ab";
  EXPECT_EQ(GCNextChar(ascii, ab, 0), ab + 1);
}

TEST_F(Nav, PrevCharFindsTheCharacterStart) {
  const std::string t = bytes({'a', 0x82, 0x60, 'b'});
  const char* s = t.c_str();
  struct {
    int pos;
    int prev;
  } cases[] = {{3, 1}, {4, 3}, {2, 1}, {1, 0}, {0, 0}};
  for (auto c : cases) EXPECT_EQ(GCPrevChar(dbl, s, s + c.pos, 0) - s, c.prev) << c.pos;
  EXPECT_EQ(GCPrevChar(ascii, s, s + 3, 0) - s, 2) << "single-byte: position - 1";
  const std::string z = bytes({0x83, 0x83, 'c'});
  EXPECT_EQ(GCPrevChar(dbl, z.c_str(), z.c_str() + 2, 0) - z.c_str(), 1);
}

TEST_F(Nav, GetCharPacksTheCharacter) {
  const std::string t = bytes({0x82, 0x60, 'x'});
  EXPECT_EQ(GCGetChar(dbl, t.c_str(), 0), 0x8260u);
  EXPECT_EQ(GCGetChar(dbl, t.c_str() + 2, 0), uint32_t('x'));
  EXPECT_EQ(GCGetChar(dbl, bytes({0x82}).c_str(), 0), 0x82u) << "cut by the NUL";
  EXPECT_EQ(GCGetChar(ascii, "\xE4", 0), 0xE4u);
}

TEST_F(Nav, ShiftCodeRuns) {
  struct {
    std::string text;
    int32_t off;
  } cases[] = {{bytes({0x0E, 0x0F, 0x0E, 'A'}), 2}, {"A", 0}, {bytes({0x0E, 'A'}), 0},
               {bytes({0x0F, 0x0F}), 1}, {"", 0}};
  for (const auto& c : cases) EXPECT_EQ(GCOffsetOfLastShftCodeEx(c.text.c_str(), 0x0E, 0x0F), c.off);
}

TEST_F(Nav, NumCharsExFollowsShiftCodes) {
  const std::string t = bytes({0x0E, 0x42, 0xC1, 0x45, 0x41, 0x0F, 'A', 'B'});
  const CountCase cases[] = {
      {"shift-out, two double-byte characters, shift-in, two letters", t, 8, 4},
      {"NUL-terminated", t, -1, 4},
      {"cut inside the second double-byte character", t, 4, 1},
      {"ends on the shift-in code", t, 6, 2},
      {"shift codes only", bytes({0x0E, 0x0F, 0x0E}), 3, 0},
      {"run of codes: the last one decides", bytes({0x0F, 0x0E, 0x42, 0xC1}), -1, 1},
      {"length 0", t, 0, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(GCNumCharsEx(shift, c.text.c_str(), 0, c.length, 0), c.chars) << c.what;
  // Starting in double-byte mode.
  const std::string d = bytes({0x42, 0xC1, 0x0F, 'A'});
  EXPECT_EQ(GCNumCharsEx(shift, d.c_str(), 1, -1, 0), 2);
  EXPECT_EQ(GCNumCharsEx(shift, d.c_str(), 0, -1, 0), 3) << "single-byte from the start";
  // A locale without shift state counts as GCNumChars does.
  const std::string k = bytes({'a', 0x82, 0x60});
  EXPECT_EQ(GCNumCharsEx(dbl, k.c_str(), 1, 3, 0), 2);
}

TEST_F(Nav, NullLocaleUsesTheBuiltInDefault) {
  EXPECT_EQ(GCNumChars(nullptr, "abc", -1, 0), 3);
  EXPECT_EQ(GCGetError(nullptr), GC_OK);
}

} // namespace
