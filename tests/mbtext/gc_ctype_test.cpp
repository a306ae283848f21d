// Character classes, their groups, and the UCS-2 white-space and digit
// bitmaps.
#include <gtest/gtest.h>

#include <string>

#include "gc_testloc.h"
#include "mbtext/gc_ctype.h"
#include "mbtext/gc_ctype_int.h"

using gctest::bytes;

namespace {

TEST(CharTypeDefault, GroupsOfTheBuiltInPage) {
  struct {
    char c;
    uint32_t type, bidi, width;
  } cases[] = {
      {'A', 0x213, 0x002, 0x040}, {'z', 0x205, 0x002, 0x040}, {'7', 0x218, 0x008, 0x040},
      {' ', 0x2C0, 0x400, 0x048}, {'\t', 0x3C0, 0x200, 0x048},
  };
  for (auto c : cases) {
    const char s[2] = {c.c, 0};
    EXPECT_EQ(GCGetCharType(nullptr, s, GC_CT_TYPE), c.type) << c.c;
    EXPECT_EQ(GCGetCharType(nullptr, s, GC_CT_BIDI), c.bidi) << c.c;
    EXPECT_EQ(GCGetCharType(nullptr, s, GC_CT_WIDTH), c.width) << c.c;
    EXPECT_EQ(GCGetError(nullptr), GC_OK);
  }
  EXPECT_EQ(GCGetCharType(nullptr, "\x80", GC_CT_TYPE), 0u) << "not a character";
}

TEST(CharTypeDefault, UnknownGroupGivesTypeBitsAndStatus2) {
  for (uint32_t flag : {0x10u, 0u, 0x80000013u, 0x80000000u}) {
    EXPECT_EQ(GCGetCharType(nullptr, "A", flag), 0x213u) << flag;
    EXPECT_EQ(GCGetError(nullptr), GC_E_ARG) << flag;
    EXPECT_EQ(GCGetCharTypeW(nullptr, 'A', flag), 0x213u) << flag;
    EXPECT_EQ(GCGetError(nullptr), GC_E_ARG) << flag;
  }
}

class CharType : public ::testing::Test {
 protected:
  gctest::LocaleLib lib;
  GCLocale* dbl = lib.get("English_UnitedStates.DoubleByte");
  GCLocale* shift = lib.get("English_UnitedStates.Shift");
};

TEST_F(CharType, DoubleBytePageUsesTheClassTrie) {
  struct {
    std::string text;
    uint32_t type;
  } cases[] = {{bytes({0x82, 0x60}), 0x203}, {bytes({0x82, 0x81}), 0x205}, {bytes({0x81, 0x40}), 0x2C0},
               {bytes({0x82, 0x4F}), 0x218}, {"a", 0x215},                 {bytes({0x82}), 0}};
  for (const auto& c : cases) EXPECT_EQ(GCGetCharType(dbl, c.text.c_str(), GC_CT_TYPE), c.type);
  EXPECT_EQ(GCGetCharTypeW(dbl, 0x8260, GC_CT_TYPE), 0x203u);
  EXPECT_EQ(GCGetCharTypeW(dbl, 0x8281, GC_CT_TYPE), 0x205u);
  // Values below 256 are single bytes: 0x82 alone is no character there.
  EXPECT_EQ(GCGetCharTypeW(dbl, 0x82, GC_CT_TYPE), 0u);
  EXPECT_EQ(GCGetCharTypeW(dbl, 'B', GC_CT_TYPE), 0x213u);
}

TEST_F(CharType, ShiftStatePageFollowsTheState) {
  const std::string dbcs = bytes({0x42, 0xC1, 0});
  const std::string so = bytes({0x0E, 0x45, 0x41});
  const std::string si = bytes({0x0F, 'a'});
  const std::string run = bytes({0x0E, 0x0F, 0x0E, 0x42, 0xC1});
  EXPECT_EQ(GCGetCharTypeEx(shift, dbcs.c_str(), 1, GC_CT_TYPE), 0x203u);
  EXPECT_EQ(GCGetCharTypeEx(shift, dbcs.c_str(), 0, GC_CT_TYPE), 0x213u) << "'B' in single-byte mode";
  EXPECT_EQ(GCGetCharTypeEx(shift, so.c_str(), 0, GC_CT_TYPE), 0x301u);
  EXPECT_EQ(GCGetCharTypeEx(shift, si.c_str(), 1, GC_CT_TYPE), 0x215u);
  EXPECT_EQ(GCGetCharTypeEx(shift, run.c_str(), 0, GC_CT_TYPE), 0x203u);
  const std::string cut = bytes({0x0E, 0x42});
  EXPECT_EQ(GCGetCharTypeEx(shift, cut.c_str(), 0, GC_CT_TYPE), 0u) << "cut by the NUL";
  EXPECT_EQ(GCGetCharTypeEx(shift, "A", 0, GC_CT_BIDI), 0x002u);
  EXPECT_EQ(GCGetCharTypeEx(dbl, bytes({0x82, 0x60}).c_str(), 0, GC_CT_TYPE), 0x203u);
}

int count_bits(const std::array<uint8_t, 8192>& t) {
  int n = 0;
  for (uint8_t b : t) n += __builtin_popcount(b);
  return n;
}

TEST(UcsBitmaps, MembersAndLayout) {
  EXPECT_EQ(count_bits(GCIsSpaceUTab), 21);
  EXPECT_EQ(count_bits(GCIsDigitUTab), 172);
  for (GCUChar c : {0x09, 0x0D, 0x20, 0xA0, 0x2000, 0x200B, 0x3000, 0xFEFF}) EXPECT_TRUE(gcIsSpaceU(c)) << c;
  for (GCUChar c : {0x08, 0x0E, 0x21, 0x85, 0x200C, 0x3001, 0xFEFE}) EXPECT_FALSE(gcIsSpaceU(c)) << c;
  for (GCUChar c : {0x30, 0x39, 0xB2, 0xB9, 0x0660, 0x0BF2, 0x2070, 0x2074, 0x2089, 0xFF19})
    EXPECT_TRUE(gcIsDigitU(c)) << c;
  for (GCUChar c : {0x2F, 0x3A, 0xB4, 0x0BE6, 0x2071, 0x2073, 0xFF1A}) EXPECT_FALSE(gcIsDigitU(c)) << c;
  // Bit (c mod 32) of the big-endian word c / 32: U+0020 is bit 0 of word 1,
  // held in the word's last byte; U+0009 is bit 9 of word 0.
  EXPECT_EQ(GCIsSpaceUTab[7] & 0x01, 0x01);
  EXPECT_EQ(GCIsSpaceUTab[2] & 0x02, 0x02);
  EXPECT_EQ(GCIsDigitUTab[4 * 1 + 0], 0x03) << "U+0030-0039: bits 16-25 of word 1";
  EXPECT_EQ(GCIsDigitUTab[4 * 1 + 1], 0xFF);
}

} // namespace
