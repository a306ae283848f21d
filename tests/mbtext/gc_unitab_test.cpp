// Fixed Unicode case and width tables and the single-character mappings.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "mbtext/gc_locale.h"
#include "mbtext/gc_unitab.h"

namespace {

struct Row {
  GCUChar in;
  GCUChar out;
};

GCLocale makeLocale() {
  GCLocale loc{};
  loc.status = 99; // anything but success, to see it cleared
  return loc;
}

TEST(GcUnitabTables, SizesCoverTheirRanges) {
  const size_t lower = sizeof GC_UNICODE_Lower1 + sizeof GC_UNICODE_Lower2 + sizeof GC_UNICODE_Lower3 +
                       sizeof GC_UNICODE_Lower4 + sizeof GC_UNICODE_Lower5 + sizeof GC_UNICODE_Lower6;
  const size_t upper = sizeof GC_UNICODE_Upper1 + sizeof GC_UNICODE_Upper2 + sizeof GC_UNICODE_Upper3 +
                       sizeof GC_UNICODE_Upper4 + sizeof GC_UNICODE_Upper5 + sizeof GC_UNICODE_Upper6;
  const size_t width = sizeof GC_UNICODE_H2F1 + sizeof GC_UNICODE_H2F2 + sizeof GC_UNICODE_F2H1 +
                       sizeof GC_UNICODE_F2H2 + sizeof GC_UNICODE_F2H3 + sizeof GC_UNICODE_F2H4;
  EXPECT_EQ(lower / 2, 1235u);
  EXPECT_EQ(upper / 2, 1181u);
  EXPECT_EQ(width / 2, 676u);
}

struct TableRow {
  const char* name;
  const std::uint16_t* table;
  unsigned first;
  GCUChar code;
  GCUChar value;
};

TEST(GcUnitabTables, TellingRows) {
  const TableRow rows[] = {
      {"Lower1", GC_UNICODE_Lower1, 0x0100, 0x0130, 0x0069},
      {"Upper6", GC_UNICODE_Upper6, 0x1F00, 0x1F80, 0x1F88},
      {"Upper1 title case", GC_UNICODE_Upper1, 0x0100, 0x01C5, 0x01C5},
      {"Upper1 DZ small", GC_UNICODE_Upper1, 0x0100, 0x01C6, 0x01C4},
      {"Lower1 title case", GC_UNICODE_Lower1, 0x0100, 0x01C5, 0x01C6},
      {"Lower2 added in 3.0", GC_UNICODE_Lower2, 0x0200, 0x0218, 0x0218},
      {"Upper2 added in 3.0", GC_UNICODE_Upper2, 0x0200, 0x0219, 0x0219},
      {"Lower4 added in 3.0", GC_UNICODE_Lower4, 0x0400, 0x0400, 0x0400},
      {"Upper4 added in 3.0", GC_UNICODE_Upper4, 0x0430, 0x0450, 0x0450},
      {"Lower5 added in 5.1", GC_UNICODE_Lower5, 0x1E00, 0x1E9E, 0x1E9E},
      {"Upper1 counterpart added later", GC_UNICODE_Upper1, 0x0100, 0x0180, 0x0180},
      {"Upper1 dotless i", GC_UNICODE_Upper1, 0x0100, 0x0131, 0x0049},
      {"Upper1 long s", GC_UNICODE_Upper1, 0x0100, 0x017F, 0x0053},
      {"Lower1 Y diaeresis", GC_UNICODE_Lower1, 0x0100, 0x0178, 0x00FF},
      {"Upper2 open o", GC_UNICODE_Upper2, 0x0200, 0x0254, 0x0186},
      {"Upper3 final sigma", GC_UNICODE_Upper3, 0x03A0, 0x03C2, 0x03A3},
      {"Lower3 alpha tonos", GC_UNICODE_Lower3, 0x0380, 0x0386, 0x03AC},
      {"Lower4 Cyrillic IO", GC_UNICODE_Lower4, 0x0400, 0x0401, 0x0451},
      {"Upper4 Cyrillic a", GC_UNICODE_Upper4, 0x0430, 0x0430, 0x0410},
      {"Lower6 title case", GC_UNICODE_Lower6, 0x1F00, 0x1F88, 0x1F80},
      {"Upper6 prosgegrammeni", GC_UNICODE_Upper6, 0x1F00, 0x1FBE, 0x0399},
      {"H2F1 cent", GC_UNICODE_H2F1, 0x00A0, 0x00A2, 0xFFE0},
      {"H2F1 pound", GC_UNICODE_H2F1, 0x00A0, 0x00A3, 0xFFE1},
      {"H2F1 yen", GC_UNICODE_H2F1, 0x00A0, 0x00A5, 0xFFE5},
      {"H2F1 broken bar", GC_UNICODE_H2F1, 0x00A0, 0x00A6, 0xFFE4},
      {"H2F1 not", GC_UNICODE_H2F1, 0x00A0, 0x00AC, 0xFFE2},
      {"H2F1 macron", GC_UNICODE_H2F1, 0x00A0, 0x00AF, 0xFFE3},
      {"H2F1 no wide form", GC_UNICODE_H2F1, 0x00A0, 0x00A4, 0x00A4},
      {"H2F2 ideographic full stop", GC_UNICODE_H2F2, 0xFF60, 0xFF61, 0x3002},
      {"H2F2 katakana a", GC_UNICODE_H2F2, 0xFF60, 0xFF71, 0x30A2},
      {"H2F2 voiced mark", GC_UNICODE_H2F2, 0xFF60, 0xFF9E, 0x3099},
      {"H2F2 vertical", GC_UNICODE_H2F2, 0xFF60, 0xFFE8, 0x2502},
      {"H2F2 arrow left", GC_UNICODE_H2F2, 0xFF60, 0xFFE9, 0x2190},
      {"H2F2 arrow down", GC_UNICODE_H2F2, 0xFF60, 0xFFEC, 0x2193},
      {"H2F2 square", GC_UNICODE_H2F2, 0xFF60, 0xFFED, 0x25A0},
      {"H2F2 circle", GC_UNICODE_H2F2, 0xFF60, 0xFFEE, 0x25CB},
      {"H2F2 added in 3.2", GC_UNICODE_H2F2, 0xFF60, 0xFF60, 0xFF60},
      {"F2H1 vertical", GC_UNICODE_F2H1, 0x2500, 0x2502, 0xFFE8},
      {"F2H1 no half form", GC_UNICODE_F2H1, 0x2500, 0x2503, 0x2503},
      {"F2H2 ideographic space", GC_UNICODE_F2H2, 0x3000, 0x3000, 0x0020},
      {"F2H2 comma", GC_UNICODE_F2H2, 0x3000, 0x3001, 0xFF64},
      {"F2H2 full stop", GC_UNICODE_F2H2, 0x3000, 0x3002, 0xFF61},
      {"F2H2 katakana a", GC_UNICODE_F2H2, 0x3000, 0x30A2, 0xFF71},
      {"F2H2 voiced katakana stays", GC_UNICODE_F2H2, 0x3000, 0x30AC, 0x30AC},
      {"F2H2 prolonged sound", GC_UNICODE_F2H2, 0x3000, 0x30FC, 0xFF70},
      {"F2H3 kiyeok", GC_UNICODE_F2H3, 0x3130, 0x3131, 0xFFA1},
      {"F2H3 filler", GC_UNICODE_F2H3, 0x3130, 0x3164, 0xFFA0},
      {"F2H4 cent", GC_UNICODE_F2H4, 0xFFE0, 0xFFE0, 0x00A2},
      {"F2H4 won", GC_UNICODE_F2H4, 0xFFE0, 0xFFE6, 0x20A9},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(r.table[r.code - r.first], r.value) << r.name << " U+" << std::hex << r.code;
  }
}

TEST(GcUnitabLower, Mappings) {
  const Row rows[] = {
      {0x0040, 0x0040}, {0x0041, 0x0061}, {0x005A, 0x007A}, {0x005B, 0x005B}, {0x0061, 0x0061},
      {0x00BF, 0x00BF}, {0x00C0, 0x00E0}, {0x00D7, 0x00D7}, {0x00DE, 0x00FE}, {0x00DF, 0x00DF},
      {0x0100, 0x0101}, {0x0130, 0x0069}, {0x0178, 0x00FF}, {0x01C4, 0x01C6}, {0x01C5, 0x01C6},
      {0x01FE, 0x01FF}, {0x0218, 0x0218}, {0x0386, 0x03AC}, {0x0391, 0x03B1}, {0x03A3, 0x03C3},
      {0x0401, 0x0451}, {0x0400, 0x0400}, {0x0410, 0x0430}, {0x04F8, 0x04F9}, {0x0531, 0x0561},
      {0x0556, 0x0586}, {0x0557, 0x0557}, {0x10A0, 0x10D0}, {0x10C5, 0x10F5}, {0x1E00, 0x1E01},
      {0x1EF8, 0x1EF9}, {0x1F08, 0x1F00}, {0x1F88, 0x1F80}, {0x1FFC, 0x1FF3}, {0x2160, 0x2170},
      {0x216F, 0x217F}, {0x2170, 0x2170}, {0x24B6, 0x24D0}, {0x24CF, 0x24E9}, {0xFF21, 0xFF41},
      {0xFF3A, 0xFF5A}, {0xFF3B, 0xFF3B}, {0x0000, 0x0000}, {0x4E00, 0x4E00}, {0xFFFF, 0xFFFF},
  };
  for (const auto& r : rows) {
    GCLocale loc = makeLocale();
    EXPECT_EQ(GCUnicodeToLower(&loc, r.in), r.out) << "U+" << std::hex << r.in;
    EXPECT_EQ(loc.status, GC_OK);
  }
}

TEST(GcUnitabUpper, Mappings) {
  const Row rows[] = {
      {0x0060, 0x0060}, {0x0061, 0x0041}, {0x007A, 0x005A}, {0x007B, 0x007B}, {0x00DF, 0x00DF},
      {0x00E0, 0x00C0}, {0x00F7, 0x00F7}, {0x00FE, 0x00DE}, {0x00FF, 0x0178}, {0x0101, 0x0100},
      {0x0100, 0x0100}, {0x0131, 0x0049}, {0x017F, 0x0053}, {0x01C5, 0x01C5}, {0x01C6, 0x01C4},
      {0x01FF, 0x01FE}, {0x0219, 0x0219}, {0x0292, 0x01B7}, {0x03AC, 0x0386}, {0x03B1, 0x0391},
      {0x03C2, 0x03A3}, {0x03F1, 0x03A1}, {0x0430, 0x0410}, {0x0450, 0x0450}, {0x0451, 0x0401},
      {0x04F9, 0x04F8}, {0x0561, 0x0531}, {0x0586, 0x0556}, {0x0587, 0x0587}, {0x10D0, 0x10D0},
      {0x1E01, 0x1E00}, {0x1EF9, 0x1EF8}, {0x1E9E, 0x1E9E}, {0x1F00, 0x1F08}, {0x1F80, 0x1F88},
      {0x1FF3, 0x1FFC}, {0x1FF4, 0x1FF4}, {0x2170, 0x2160}, {0x217F, 0x216F}, {0x24D0, 0x24B6},
      {0x24E9, 0x24CF}, {0xFF41, 0xFF21}, {0xFF5A, 0xFF3A}, {0xFF5B, 0xFF5B}, {0x4E00, 0x4E00},
  };
  for (const auto& r : rows) {
    GCLocale loc = makeLocale();
    EXPECT_EQ(GCUnicodeToUpper(&loc, r.in), r.out) << "U+" << std::hex << r.in;
    EXPECT_EQ(loc.status, GC_OK);
  }
}

TEST(GcUnitabWidth, HalfToFull) {
  const Row rows[] = {
      {0x0020, 0x3000}, {0x0021, 0xFF01}, {0x0041, 0xFF21}, {0x007E, 0xFF5E}, {0x007F, 0x007F},
      {0x00A1, 0x00A1}, {0x00A2, 0xFFE0}, {0x00AF, 0xFFE3}, {0x00B0, 0x00B0}, {0x20A9, 0xFFE6},
      {0xFF60, 0xFF60}, {0xFF61, 0x3002}, {0xFF65, 0x30FB}, {0xFF70, 0x30FC}, {0xFFA0, 0x3164},
      {0xFFA1, 0x3131}, {0xFFE8, 0x2502}, {0xFFEE, 0x25CB}, {0xFFEF, 0xFFEF}, {0x3000, 0x3000},
      {0xFF21, 0xFF21}, {0x0000, 0x0000},
  };
  for (const auto& r : rows) {
    GCLocale loc = makeLocale();
    EXPECT_EQ(GCUnicodeToH2F(&loc, r.in), r.out) << "U+" << std::hex << r.in;
    EXPECT_EQ(loc.status, GC_OK);
  }
}

TEST(GcUnitabWidth, FullToHalf) {
  const Row rows[] = {
      {0xFF00, 0xFF00}, {0xFF01, 0x0021}, {0xFF21, 0x0041}, {0xFF5E, 0x007E}, {0xFF5F, 0xFF5F},
      {0x2190, 0xFFE9}, {0x2193, 0xFFEC}, {0x2194, 0x2194}, {0x2500, 0x2500}, {0x2502, 0xFFE8},
      {0x25A0, 0xFFED}, {0x25CB, 0xFFEE}, {0x3000, 0x0020}, {0x3001, 0xFF64}, {0x3002, 0xFF61},
      {0x30A2, 0xFF71}, {0x30AC, 0x30AC}, {0x30FC, 0xFF70}, {0x30FD, 0x30FD}, {0x3130, 0x3130},
      {0x3131, 0xFFA1}, {0x3164, 0xFFA0}, {0xFFE0, 0x00A2}, {0xFFE6, 0x20A9}, {0x0041, 0x0041},
  };
  for (const auto& r : rows) {
    GCLocale loc = makeLocale();
    EXPECT_EQ(GCUnicodeToF2H(&loc, r.in), r.out) << "U+" << std::hex << r.in;
    EXPECT_EQ(loc.status, GC_OK);
  }
}

// Every half-width form that has a full-width form comes back from it, and
// the other way round: the two width directions agree over all of UCS-2.
TEST(GcUnitabWidth, DirectionsAreInverse) {
  GCLocale loc = makeLocale();
  std::vector<unsigned> broken;
  for (unsigned c = 1; c <= 0xFFFF; ++c) {
    const GCUChar u = static_cast<GCUChar>(c);
    const GCUChar full = GCUnicodeToH2F(&loc, u);
    if (full != u && GCUnicodeToF2H(&loc, full) != u) broken.push_back(c);
    const GCUChar half = GCUnicodeToF2H(&loc, u);
    if (half != u && GCUnicodeToH2F(&loc, half) != u) broken.push_back(c);
  }
  EXPECT_TRUE(broken.empty()) << broken.size() << " codes, first U+" << std::hex
                              << (broken.empty() ? 0u : broken.front());
}

// Lower-casing a code that upper-casing produced gives the code back, apart
// from the few letters whose case pair is not one-to-one.
TEST(GcUnitabCase, UpperThenLowerReturns) {
  GCLocale loc = makeLocale();
  std::vector<unsigned> differ;
  for (unsigned c = 1; c <= 0xFFFF; ++c) {
    const GCUChar u = static_cast<GCUChar>(c);
    const GCUChar up = GCUnicodeToUpper(&loc, u);
    if (up != u && GCUnicodeToLower(&loc, up) != u) differ.push_back(c);
  }
  // dotless i, long s, final sigma, the Greek symbol variants and
  // prosgegrammeni share their capital with another small letter.
  const std::vector<unsigned> expected = {0x0131, 0x017F, 0x03C2, 0x03D0, 0x03D1, 0x03D5,
                                          0x03D6, 0x03F0, 0x03F1, 0x1E9B, 0x1FBE};
  EXPECT_EQ(differ, expected);
}

TEST(GcUnitabStatus, NullLocaleUsesDefault) {
  EXPECT_EQ(GCUnicodeToUpper(nullptr, 0x0061), 0x0041);
  EXPECT_EQ(GCGetError(nullptr), GC_OK);
  EXPECT_EQ(GCUnicodeToF2H(nullptr, 0x3000), 0x0020);
}

} // namespace
