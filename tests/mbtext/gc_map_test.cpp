// Mapping of multibyte text in a locale's code page.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "mbtext/gc_locale.h"
#include "mbtext/gc_map.h"
#include "mbtext/gc_map_int.h"
#include "mbtext/gc_testdata.h"

namespace {

using gctest::CodePageBuilder;
using gctest::PageLocale;

constexpr char kSentinel = '\x7F';

// A double-byte page: ASCII; two-byte characters with lead bytes 0x81-0x8E
// and 0xA5 (full-width letters and digits with their other-case forms, a
// Roman numeral classed as a digit, katakana); a three-byte character; a
// single-byte half-width katakana and a Thai digit; width tables.
CodePageBuilder doubleBytePage() {
  CodePageBuilder b;
  b.multi({0x81, 0x40}, 0x3000, 0x2C0)             // ideographic space
      .multi({0x82, 0x60}, 0xFF21, 0x203, 0x21)    // full-width A, lower form 0x8281
      .multi({0x82, 0x61}, 0xFF22, 0x203, 0x21)    // full-width B
      .multi({0x82, 0x81}, 0xFF41, 0x205, -0x21)   // full-width a
      .multi({0x82, 0x82}, 0xFF42, 0x205, -0x21)   // full-width b
      .multi({0x82, 0x4F}, 0xFF10, 0x218)          // full-width 0
      .multi({0x82, 0x50}, 0xFF11, 0x218)          // full-width 1
      .multi({0x87, 0x54}, 0x2160, 0x218)          // Roman numeral one, classed as a digit
      .multi({0x83, 0x41}, 0x30A2, 0x201)          // katakana A
      .multi({0x8E, 0xB2}, 0xFF72, 0x201)          // two-byte half-width katakana I
      .multi({0xA5, 0xA4}, 0x30A4, 0x201)          // katakana I
      .multi({0x8F, 0xA1, 0xA1}, 0x4E00, 0x201)    // three-byte character
      .single(0xB1, 0xFF71, 0x201)                 // half-width katakana A
      .single(0xF5, 0x0E55, 0x218)                 // Thai digit five
      .fullWidthOfByte('A', 0x8260)
      .fullWidthOfByte('B', 0x8261)
      .fullWidthOfByte('a', 0x8281)
      .fullWidthOfByte('0', 0x824F)
      .fullWidthOfByte('1', 0x8250)
      .fullWidthOfByte(' ', 0x8140)
      .fullWidthOfByte(0xB1, 0x8341)
      .widthPair(0xB1, 0x8341)
      .widthPair(0x8EB2, 0xA5A4);
  return b;
}

// An ASCII-based single-byte page with Thai digits at 0xF0-0xF9, a byte
// classed as a digit without a digit value, and Latin-1 letters with cases.
CodePageBuilder thaiDigitPage() {
  CodePageBuilder b;
  for (int d = 0; d < 10; ++d) b.single(uint8_t(0xF0 + d), GCUChar(0x0E50 + d), 0x218);
  b.single(0xE0, 0x2160, 0x218).single(0xC0, 0x00C0, 0x203).single(0xE1, 0x00E0, 0x205);
  b.caseBytes(0xC0, 0xE1);
  return b;
}

// An EBCDIC single-byte page: digits at 0xF0-0xF9, letters A-C at 0xC1-0xC3
// and a-c at 0x81-0x83, the space at 0x40, Thai digits at 0xB0-0xB9.
CodePageBuilder ebcdicPage() {
  CodePageBuilder b;
  b.ebcdicBased();
  for (int i = 1; i < 0x80; ++i) b.unmapSingle(uint8_t(i));
  for (int d = 0; d < 10; ++d) {
    b.single(uint8_t(0xF0 + d), GCUChar('0' + d), 0x218);
    b.single(uint8_t(0xB0 + d), GCUChar(0x0E50 + d), 0x218);
  }
  for (int k = 0; k < 3; ++k) {
    b.single(uint8_t(0xC1 + k), GCUChar('A' + k), 0x213);
    b.single(uint8_t(0x81 + k), GCUChar('a' + k), 0x215);
    b.caseBytes(uint8_t(0xC1 + k), uint8_t(0x81 + k));
  }
  b.single(0x40, ' ', 0x2C0);
  return b;
}

struct Mapped {
  int32_t result;
  std::string text; // the first result bytes (or characters' bytes) of the buffer
  bool tailUntouched;
  uint32_t status;
};

Mapped mapWith(GCLocale* loc, const std::string& src, int32_t srcLen, int32_t dstLen, uint32_t flags,
               GCMapSpecialFn special = gcMapSpecial) {
  std::vector<char> buf(static_cast<size_t>(std::max(dstLen, 0)) * 4 + 16, kSentinel);
  // The source is copied so that reads past its length are caught.
  std::vector<char> s(src.begin(), src.end());
  s.push_back('\0');
  Mapped m{};
  m.result = gcMapStringWith(loc, buf.data(), dstLen, s.data(), srcLen, flags, special);
  const auto end = std::find(buf.begin(), buf.end(), kSentinel);
  m.text.assign(buf.begin(), end);
  m.tailUntouched = std::all_of(end, buf.end(), [](char c) { return c == kSentinel; });
  m.status = loc->status;
  return m;
}

Mapped map(GCLocale* loc, const std::string& src, uint32_t flags, int32_t dstLen = 64) {
  return mapWith(loc, src, static_cast<int32_t>(src.size()), dstLen, flags);
}

struct Case {
  const char* name;
  uint32_t flags;
  std::string in;
  std::string out;
};

void expectCases(GCLocale* loc, const std::vector<Case>& cases) {
  for (const auto& c : cases) {
    const Mapped m = map(loc, c.in, c.flags);
    EXPECT_EQ(m.text, c.out) << c.name;
    EXPECT_EQ(m.result, static_cast<int32_t>(c.out.size())) << c.name;
    EXPECT_TRUE(m.tailUntouched) << c.name;
    EXPECT_EQ(m.status, GC_OK) << c.name;
  }
}

// --- Single-byte code pages ---------------------------------------------

TEST(GcMapString, AsciiLocale) {
  PageLocale pl(1, CodePageBuilder::ascii(), GC_LF_SINGLEBYTE);
  expectCases(&pl.loc, {
      {"copy", GC_MAP_COPY, "Hello, World 1", "Hello, World 1"},
      {"copy extended", GC_MAP_COPY_EX, "aB", "aB"},
      {"upper", GC_MAP_UPPER, "Hello, World 1", "HELLO, WORLD 1"},
      {"upper simple", GC_MAP_UPPER_SIMPLE, "mixed Case z", "MIXED CASE Z"},
      {"lower", GC_MAP_LOWER, "Hello, WORLD 1", "hello, world 1"},
      {"lower simple", GC_MAP_LOWER_SIMPLE, "ABC xyz", "abc xyz"},
      {"half to full copies", GC_MAP_HALF_TO_FULL, "AB 12", "AB 12"},
      {"full to half copies", GC_MAP_FULL_TO_HALF, "AB 12", "AB 12"},
      {"digits stay", GC_MAP_DIGITS, "a1-9", "a1-9"},
  });
}

TEST(GcMapString, NationalDigitsInASingleBytePage) {
  PageLocale pl(874, thaiDigitPage(), GC_LF_SINGLEBYTE);
  expectCases(&pl.loc, {
      {"Thai digits", GC_MAP_DIGITS, "\xF1\xF2\xF0-\xF9x", "120-9x"},
      {"digit class without digit value", GC_MAP_DIGITS, "\xE0\xF5", "\xE0" "5"},
      {"case through the byte tables", GC_MAP_UPPER, "a\xE1", "A\xC0"},
      {"lower through the byte tables", GC_MAP_LOWER_SIMPLE, "A\xC0", "a\xE1"},
  });
}

TEST(GcMapString, DigitsAreWrittenInTheCodePage) {
  PageLocale pl(37, ebcdicPage(), GC_LF_SINGLEBYTE);
  expectCases(&pl.loc, {
      {"Thai digits to EBCDIC digits", GC_MAP_DIGITS, "\xB1\xB9\x40\xF3", "\xF1\xF9\x40\xF3"},
      {"upper", GC_MAP_UPPER_SIMPLE, "\x81\x82\xC3\x40", "\xC1\xC2\xC3\x40"},
      {"lower", GC_MAP_LOWER, "\xC1\x83", "\x81\x83"},
  });
}

TEST(GcMapString, TheDefaultLocaleIsUsedForNull) {
  char dst[8] = {};
  EXPECT_EQ(GCMapString(nullptr, dst, 8, "ab", -1, GC_MAP_UPPER), 3);
  EXPECT_STREQ(dst, "AB");
  EXPECT_EQ(GCGetError(nullptr), GC_OK);
  EXPECT_EQ(GCMapString(nullptr, dst, 8, "ab", -1, 0x80000010u), -1);
  EXPECT_EQ(GCGetError(nullptr), GC_E_ARG);
}

TEST(GcMapString, RefusesOtherFlagsAndBadArguments) {
  PageLocale pl(1, CodePageBuilder::ascii(), GC_LF_SINGLEBYTE);
  const uint32_t bad[] = {0x80000010u, 0x40u, 1u, 8u, 17u, 0x2000u, 0x80000000u,
                          0x80000026u, 0x80008025u, 0x80002021u, 0xFFFFFFFFu};
  for (uint32_t flags : bad) {
    const Mapped m = map(&pl.loc, "abc", flags);
    EXPECT_EQ(m.result, -1) << std::hex << flags;
    EXPECT_EQ(m.status, GC_E_ARG) << std::hex << flags;
    EXPECT_TRUE(m.text.empty()) << std::hex << flags;
  }
  char dst[4] = {kSentinel, kSentinel, kSentinel, kSentinel};
  EXPECT_EQ(GCMapString(&pl.loc, dst, -1, "ab", 2, GC_MAP_UPPER), -1);
  EXPECT_EQ(pl.loc.status, GC_E_ARG);
  EXPECT_EQ(GCMapString(&pl.loc, dst, -2, "ab", 2, GC_MAP_COPY), -1);
  EXPECT_EQ(GCMapString(&pl.loc, dst, 4, nullptr, 2, GC_MAP_UPPER), -1);
  EXPECT_EQ(GCMapString(&pl.loc, nullptr, 4, "ab", 2, GC_MAP_UPPER), -1);
  EXPECT_EQ(pl.loc.status, GC_E_ARG);
  EXPECT_EQ(dst[0], kSentinel);
  EXPECT_EQ(GCMapString(&pl.loc, nullptr, 0, nullptr, 0, GC_MAP_UPPER), 0);
  EXPECT_EQ(pl.loc.status, GC_OK);
}

TEST(GcMapString, OneCharacterInCharacterMode) {
  PageLocale pl(1, CodePageBuilder::ascii(), GC_LF_SINGLEBYTE);
  const Case cases[] = {
      {"upper", 0x80006025u, "q", "Q"},
      {"lower", 0x80006024u, "Q", "q"},
      {"to half-width", 0x80004022u, "x", "x"},
  };
  for (const auto& c : cases) {
    const Mapped m = mapWith(&pl.loc, c.in + "rest", 1, 1, c.flags);
    EXPECT_EQ(m.result, 1) << c.name;
    EXPECT_EQ(m.text, c.out) << c.name;
  }
}

TEST(GcMapString, TerminatedSourceMapsTheTerminator) {
  PageLocale pl(1, CodePageBuilder::ascii(), GC_LF_SINGLEBYTE);
  const struct {
    uint32_t flags;
    const char* mapped; // the two characters as mapped
    std::string cut;    // what a destination of two fits
  } rows[] = {
      {GC_MAP_UPPER, "AB", "AB"},
      {GC_MAP_UPPER | GC_FL_CHARS, "AB", "AB"},
      {GC_MAP_DIGITS, "ab", "ab"},
      {GC_MAP_LOWER_SIMPLE, "ab", "ab"},
      // Copy is the string copy: the whole characters that fit, no NUL.
      {GC_MAP_COPY, "ab", "ab"},
      {GC_MAP_COPY | GC_FL_CHARS, "ab", "ab"},
  };
  for (const auto& r : rows) {
    const Mapped m = mapWith(&pl.loc, "ab", -1, 8, r.flags);
    EXPECT_EQ(m.result, 3) << std::hex << r.flags;
    EXPECT_EQ(m.text, std::string(r.mapped) + std::string(1, '\0')) << std::hex << r.flags;
    EXPECT_TRUE(m.tailUntouched);
    // Room for two characters only: a mapping leaves the terminator out.
    const Mapped cut = mapWith(&pl.loc, "ab", -1, 2, r.flags);
    EXPECT_EQ(cut.result, 2) << std::hex << r.flags;
    EXPECT_EQ(cut.text, r.cut) << std::hex << r.flags;
    EXPECT_TRUE(cut.tailUntouched) << std::hex << r.flags;
    EXPECT_EQ(cut.status, GC_OK) << std::hex << r.flags;
  }
  // A counted source cut by the destination: exactly what fits, no NUL.
  const Mapped copy = mapWith(&pl.loc, "abcdef", 6, 3, GC_MAP_COPY);
  EXPECT_EQ(copy.result, 3);
  EXPECT_EQ(copy.text, "abc");
  EXPECT_TRUE(copy.tailUntouched);
}

TEST(GcMapString, StopsAtTheDestinationLengthInSingleBytePages) {
  PageLocale pl(1, CodePageBuilder::ascii(), GC_LF_SINGLEBYTE);
  for (uint32_t flags : {GC_MAP_COPY, GC_MAP_UPPER, GC_MAP_LOWER_SIMPLE, GC_MAP_HALF_TO_FULL, GC_MAP_DIGITS}) {
    for (int32_t size = 0; size <= 5; ++size) {
      const Mapped m = map(&pl.loc, "aBcD", flags, size);
      EXPECT_EQ(m.result, std::min(size, 4)) << std::hex << flags << " size " << size;
      EXPECT_EQ(m.text.size(), static_cast<size_t>(std::min(size, 4)));
      EXPECT_TRUE(m.tailUntouched);
    }
  }
}

TEST(GcMapString, CharacterModeProducesAtMost512Bytes) {
  PageLocale pl(1, CodePageBuilder::ascii(), GC_LF_SINGLEBYTE);
  const std::string src(600, 'a');
  const Mapped m = mapWith(&pl.loc, src, 600, 1000, GC_MAP_UPPER | GC_FL_CHARS);
  EXPECT_EQ(m.result, 512);
  EXPECT_EQ(m.text, std::string(512, 'A'));
  EXPECT_TRUE(m.tailUntouched);
  const Mapped small = mapWith(&pl.loc, src, 600, 3, GC_MAP_UPPER | GC_FL_CHARS);
  EXPECT_EQ(small.result, 3);
  EXPECT_EQ(small.text, "AAA");
  // Without 0x4000 the destination length alone bounds the text.
  const Mapped bytes = mapWith(&pl.loc, src, 600, 600, GC_MAP_UPPER);
  EXPECT_EQ(bytes.result, 600);
}

// --- Double-byte code page -----------------------------------------------

TEST(GcMapString, DoubleBytePage) {
  PageLocale pl(932, doubleBytePage(), 0);
  expectCases(&pl.loc, {
      {"copy", GC_MAP_COPY, "a\x82\x60\x8F\xA1\xA1", "a\x82\x60\x8F\xA1\xA1"},
      {"upper", GC_MAP_UPPER_SIMPLE, "a\x82\x81\x82\x60z\x8F\xA1\xA1", "A\x82\x60\x82\x60Z\x8F\xA1\xA1"},
      {"upper with lists", GC_MAP_UPPER, "b\x82\x82", "B\x82\x61"},
      {"lower", GC_MAP_LOWER_SIMPLE, "A\x82\x60\x82\x81Q", "a\x82\x81\x82\x81q"},
      {"half to full, single bytes", GC_MAP_HALF_TO_FULL, "A 1\xB1", "\x82\x60\x81\x40\x82\x50\x83\x41"},
      {"half to full, two-byte half-width", GC_MAP_HALF_TO_FULL, "\x8E\xB2", "\xA5\xA4"},
      {"half to full, no form", GC_MAP_HALF_TO_FULL, "z\x82\x60\x8F\xA1\xA1", "z\x82\x60\x8F\xA1\xA1"},
      {"full to half", GC_MAP_FULL_TO_HALF, "\x82\x60\x81\x40\x83\x41\xA5\xA4", "A \xB1\x8E\xB2"},
      {"full to half, no form", GC_MAP_FULL_TO_HALF, "\x82\x82q", "\x82\x82q"},
      {"digits", GC_MAP_DIGITS, "\x82\x4F\x82\x50\xF5-\x87\x54", "015-\x87\x54"},
  });
}

TEST(GcMapString, CutCharacterEndsTheMapping) {
  PageLocale pl(932, doubleBytePage(), 0);
  const struct {
    uint32_t flags;
    std::string out;
  } rows[] = {
      {GC_MAP_UPPER, "A"}, {GC_MAP_LOWER_SIMPLE, "a"}, {GC_MAP_HALF_TO_FULL, "\x82\x81"},
      {GC_MAP_DIGITS, "a"}, {GC_MAP_FULL_TO_HALF, "a"},
  };
  for (const auto& r : rows) {
    const Mapped m = mapWith(&pl.loc, "a\x82\x81", 2, 16, r.flags);
    EXPECT_EQ(m.text, r.out) << std::hex << r.flags;
    EXPECT_EQ(m.result, static_cast<int32_t>(r.out.size())) << std::hex << r.flags;
    EXPECT_TRUE(m.tailUntouched);
  }
}

TEST(GcMapString, WholeCharactersOnlyInTheDestination) {
  PageLocale pl(932, doubleBytePage(), 0);
  const struct {
    uint32_t flags;
    int32_t size;
    std::string out;
  } rows[] = {
      {GC_MAP_UPPER_SIMPLE, 1, "A"},
      {GC_MAP_UPPER_SIMPLE, 2, "A"},
      {GC_MAP_UPPER_SIMPLE, 3, "A\x82\x60"},
      {GC_MAP_UPPER_SIMPLE, 5, "A\x82\x60"},
      {GC_MAP_UPPER_SIMPLE, 6, "A\x82\x60\x8F\xA1\xA1"},
      {GC_MAP_HALF_TO_FULL, 1, ""},
      {GC_MAP_HALF_TO_FULL, 3, "\x82\x81"},
      {GC_MAP_HALF_TO_FULL, 4, "\x82\x81\x82\x81"},
      // Copy cuts to the whole characters that fit and writes no NUL.
      {GC_MAP_COPY, 1, "a"},
      {GC_MAP_COPY, 2, "a"},
      {GC_MAP_COPY, 3, "a\x82\x81"},
      {GC_MAP_COPY, 5, "a\x82\x81"},
      {GC_MAP_COPY, 6, "a\x82\x81\x8F\xA1\xA1"},
  };
  for (const auto& r : rows) {
    const Mapped m = map(&pl.loc, "a\x82\x81\x8F\xA1\xA1", r.flags, r.size);
    const std::string& want = r.out;
    EXPECT_EQ(m.text, want) << std::hex << r.flags << " size " << std::dec << r.size;
    EXPECT_EQ(m.result, static_cast<int32_t>(want.size())) << std::hex << r.flags << " size " << r.size;
    EXPECT_TRUE(m.tailUntouched);
  }
}

TEST(GcMapString, CharacterModeCountsCharacters) {
  PageLocale pl(932, doubleBytePage(), 0);
  const std::string src = "a\x82\x81\x82\x82" "b\x8F\xA1\xA1";
  // Source length 3 characters (5 bytes), destination 10 characters.
  Mapped m = mapWith(&pl.loc, src, 3, 10, GC_MAP_UPPER | GC_FL_CHARS);
  EXPECT_EQ(m.result, 3);
  EXPECT_EQ(m.text, "A\x82\x60\x82\x61");
  // Destination of 2 characters.
  m = mapWith(&pl.loc, src, -1, 2, GC_MAP_UPPER | GC_FL_CHARS);
  EXPECT_EQ(m.result, 2);
  EXPECT_EQ(m.text, "A\x82\x60");
  EXPECT_TRUE(m.tailUntouched);
  // The whole text and its terminator.
  m = mapWith(&pl.loc, src, -1, 10, GC_MAP_LOWER | GC_FL_CHARS);
  EXPECT_EQ(m.result, 6);
  EXPECT_EQ(m.text, std::string("a\x82\x81\x82\x82" "b\x8F\xA1\xA1\0", 10));
  // Copy counts characters the same way; a copy cut short ends after the
  // last whole character that fits.
  m = mapWith(&pl.loc, src, 3, 2, GC_MAP_COPY | GC_FL_CHARS);
  EXPECT_EQ(m.result, 2);
  EXPECT_EQ(m.text, "a\x82\x81");
  EXPECT_TRUE(m.tailUntouched);
  m = mapWith(&pl.loc, src, 3, 3, GC_MAP_COPY | GC_FL_CHARS);
  EXPECT_EQ(m.result, 3);
  EXPECT_EQ(m.text, "a\x82\x81\x82\x82");
  m = mapWith(&pl.loc, src, -1, 10, GC_MAP_COPY | GC_FL_CHARS);
  EXPECT_EQ(m.result, 6);
  EXPECT_EQ(m.text.size(), 10u);
}

// --- Special case mappings with a list made by the test ------------------

const gctest::SpecialEntry kEntries[] = {
    {GC_SPECIAL_UPPER, u'q', 0, u'K', u'W'},      // one character to two
    {GC_SPECIAL_UPPER, u'i', u'j', 0xFF21, 0},    // a pair to a double-byte character
    {GC_SPECIAL_UPPER, 0xFF41, 0, u'A', 0},       // a double-byte character to a single byte
    {GC_SPECIAL_LOWER, u'I', 0, 0x0131, 0},       // to a character the page does not have
};

int testSpecial(const GCLocale*, GCUChar first, GCUChar second, GCUChar* out1, GCUChar* out2,
                uint32_t list) {
  return gctest::specialLookup(kEntries, first, second, out1, out2, list);
}

TEST(GcMapStringSpecial, ListsInSingleAndDoubleBytePages) {
  PageLocale ascii(1, CodePageBuilder::ascii(), GC_LF_SINGLEBYTE);
  PageLocale dbcs(932, doubleBytePage(), 0);
  const struct {
    GCLocale* loc;
    const char* name;
    uint32_t flags;
    std::string in;
    std::string out;
  } rows[] = {
      {&ascii.loc, "one to two", GC_MAP_UPPER, "aqa", "AKWA"},
      {&ascii.loc, "pair", GC_MAP_UPPER, "xij", "X?"},
      {&ascii.loc, "lists off", GC_MAP_UPPER_SIMPLE, "qij", "QIJ"},
      {&ascii.loc, "lower list", GC_MAP_LOWER, "IJ", "?j"},
      {&dbcs.loc, "pair to double-byte", GC_MAP_UPPER, "ijk", "\x82\x60K"},
      {&dbcs.loc, "double-byte to single", GC_MAP_UPPER, "\x82\x81\x82\x82", "A\x82\x61"},
      {&dbcs.loc, "one to two", GC_MAP_UPPER, "q", "KW"},
  };
  for (const auto& r : rows) {
    const Mapped m = mapWith(r.loc, r.in, static_cast<int32_t>(r.in.size()), 32, r.flags, testSpecial);
    EXPECT_EQ(m.text, r.out) << r.name;
    EXPECT_EQ(m.result, static_cast<int32_t>(r.out.size())) << r.name;
    EXPECT_EQ(m.status, GC_OK) << r.name;
  }
}

TEST(GcMapStringSpecial, ReplacementIsWrittenWholeOrNotAtAll) {
  PageLocale pl(1, CodePageBuilder::ascii(), GC_LF_SINGLEBYTE);
  const struct {
    int32_t size;
    std::string out;
  } rows[] = {{1, "A"}, {2, "A"}, {3, "AKW"}, {4, "AKWB"}};
  for (const auto& r : rows) {
    const Mapped m = mapWith(&pl.loc, "aqb", 3, r.size, GC_MAP_UPPER, testSpecial);
    EXPECT_EQ(m.text, r.out) << r.size;
    EXPECT_EQ(m.result, static_cast<int32_t>(r.out.size()));
    EXPECT_TRUE(m.tailUntouched);
  }
}

} // namespace
