// Mapping of packed multibyte character values.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "mbtext/gc_locale.h"
#include "mbtext/gc_map.h"
#include "mbtext/gc_map_int.h"
#include "mbtext/gc_testdata.h"

namespace {

using gctest::CodePageBuilder;
using gctest::PageLocale;
using Values = std::vector<GCPacked>;

constexpr GCPacked kSentinel = 0xDEADBEEF;

// Double-byte page: full-width letters with their other-case forms and
// width pairs, a full-width digit, a Roman numeral classed as a digit, a
// single-byte Thai digit and half-width katakana, a three-byte character.
CodePageBuilder doubleBytePage() {
  CodePageBuilder b;
  b.multi({0x81, 0x40}, 0x3000, 0x2C0)
      .multi({0x82, 0x60}, 0xFF21, 0x203, 0x21)
      .multi({0x82, 0x81}, 0xFF41, 0x205, -0x21)
      .multi({0x82, 0x4F}, 0xFF10, 0x218)
      .multi({0x87, 0x54}, 0x2160, 0x218)
      .multi({0x83, 0x41}, 0x30A2, 0x201)
      .multi({0x8E, 0xB2}, 0xFF72, 0x201)
      .multi({0xA5, 0xA4}, 0x30A4, 0x201)
      .multi({0x8F, 0xA1, 0xA1}, 0x4E00, 0x205, 0x10)
      .single(0xB1, 0xFF71, 0x201)
      .single(0xF5, 0x0E55, 0x218)
      .fullWidthOfByte('A', 0x8260)
      .fullWidthOfByte('a', 0x8281)
      .fullWidthOfByte('0', 0x824F)
      .fullWidthOfByte(' ', 0x8140)
      .fullWidthOfByte(0xB1, 0x8341)
      .widthPair(0xB1, 0x8341)
      .widthPair(0x8EB2, 0xA5A4);
  return b;
}

struct Mapped {
  int32_t result;
  Values values;
  bool tailUntouched;
  uint32_t status;
};

Mapped mapWith(GCLocale* loc, const Values& src, int32_t srcLen, int32_t dstLen, uint32_t flags,
               GCMapSpecialFn special = gcMapSpecial) {
  Values buf(static_cast<size_t>(std::max(dstLen, 0)) + 8, kSentinel);
  Values s = src;
  s.push_back(0);
  Mapped m{};
  m.result = gcMapStringWWith(loc, buf.data(), dstLen, s.data(), srcLen, flags, special);
  const size_t n = m.result > 0 ? static_cast<size_t>(m.result) : 0;
  m.values.assign(buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(n));
  m.tailUntouched = std::all_of(buf.begin() + static_cast<std::ptrdiff_t>(n), buf.end(),
                                [](GCPacked v) { return v == kSentinel; });
  m.status = loc->status;
  return m;
}

Mapped map(GCLocale* loc, const Values& src, uint32_t flags, int32_t dstLen = 16) {
  return mapWith(loc, src, static_cast<int32_t>(src.size()), dstLen, flags);
}

struct Case {
  const char* name;
  uint32_t flags;
  Values in;
  Values out;
};

TEST(GcMapStringW, DoubleBytePage) {
  PageLocale pl(932, doubleBytePage(), 0);
  const Case cases[] = {
      {"copy", GC_MAP_COPY_EX, {'a', 0x8281, 0x8FA1A1}, {'a', 0x8281, 0x8FA1A1}},
      {"upper", GC_MAP_UPPER, {'a', 0x8281, 0x8FA1A1, 'Z'}, {'A', 0x8260, 0x8FA1B1, 'Z'}},
      {"upper simple", GC_MAP_UPPER_SIMPLE, {'q', 0x8260}, {'Q', 0x8260}},
      {"lower", GC_MAP_LOWER_SIMPLE, {'Q', 0x8260, 0x8281}, {'q', 0x8281, 0x8281}},
      {"half to full", GC_MAP_HALF_TO_FULL, {'A', ' ', 0xB1, 0x8EB2, 'z'}, {0x8260, 0x8140, 0x8341, 0xA5A4, 'z'}},
      {"full to half", GC_MAP_FULL_TO_HALF, {0x8260, 0x8140, 0x8341, 0xA5A4, 0x8FA1A1},
       {'A', ' ', 0xB1, 0x8EB2, 0x8FA1A1}},
      {"digits", GC_MAP_DIGITS, {0x824F, 0xF5, 0x8754, '7', 'x'}, {'0', '5', 0x8754, '7', 'x'}},
  };
  for (const auto& c : cases) {
    for (uint32_t chars : {0u, GC_FL_CHARS}) {
      const Mapped m = map(&pl.loc, c.in, c.flags | chars);
      EXPECT_EQ(m.values, c.out) << c.name;
      EXPECT_EQ(m.result, static_cast<int32_t>(c.out.size())) << c.name;
      EXPECT_TRUE(m.tailUntouched) << c.name;
      EXPECT_EQ(m.status, GC_OK) << c.name;
    }
  }
}

TEST(GcMapStringW, SingleBytePage) {
  PageLocale pl(1, CodePageBuilder::ascii(), GC_LF_SINGLEBYTE);
  const Case cases[] = {
      {"upper", GC_MAP_UPPER, {'a', 'b', '1'}, {'A', 'B', '1'}},
      {"lower", GC_MAP_LOWER, {'A', 'b'}, {'a', 'b'}},
      {"width copies", GC_MAP_HALF_TO_FULL, {'A', ' '}, {'A', ' '}},
      {"width copies back", GC_MAP_FULL_TO_HALF, {'A', ' '}, {'A', ' '}},
  };
  for (const auto& c : cases) {
    const Mapped m = map(&pl.loc, c.in, c.flags);
    EXPECT_EQ(m.values, c.out) << c.name;
  }
}

TEST(GcMapStringW, LengthsAndErrors) {
  PageLocale pl(932, doubleBytePage(), 0);
  // Terminated source: the 0 value is mapped and counted.
  Mapped m = mapWith(&pl.loc, {'a', 0x8281}, -1, 8, GC_MAP_UPPER);
  EXPECT_EQ(m.values, (Values{'A', 0x8260, 0}));
  // Destination bounds, for the plain and the special path alike.
  for (uint32_t flags : {GC_MAP_UPPER, GC_MAP_UPPER_SIMPLE, GC_MAP_COPY, GC_MAP_DIGITS}) {
    for (int32_t size = 0; size <= 3; ++size) {
      m = map(&pl.loc, {'a', 'b', 'c'}, flags, size);
      EXPECT_EQ(m.result, size) << std::hex << flags;
      EXPECT_TRUE(m.tailUntouched) << std::hex << flags;
    }
  }
  for (uint32_t flags : {0x80000010u, 0x40u, 0x80002021u, 1u}) {
    m = map(&pl.loc, {'a'}, flags);
    EXPECT_EQ(m.result, -1);
    EXPECT_EQ(m.status, GC_E_ARG);
    EXPECT_TRUE(m.tailUntouched);
  }
  m = map(&pl.loc, {'a'}, GC_MAP_UPPER, -1);
  EXPECT_EQ(m.result, -1);
  EXPECT_EQ(m.status, GC_E_ARG);
  GCPacked one = 'a';
  EXPECT_EQ(GCMapStringW(&pl.loc, nullptr, 2, &one, 1, GC_MAP_UPPER), -1);
  EXPECT_EQ(GCMapStringW(&pl.loc, &one, 1, nullptr, 1, GC_MAP_UPPER), -1);
  EXPECT_EQ(one, GCPacked('a'));
}

const gctest::SpecialEntry kEntries[] = {
    {GC_SPECIAL_UPPER, u'q', 0, u'K', 0xFF21},
    {GC_SPECIAL_UPPER, u'i', u'j', 0x3000, 0},
    {GC_SPECIAL_LOWER, 0xFF21, 0, u'x', 0},
};

int testSpecial(const GCLocale*, GCUChar first, GCUChar second, GCUChar* out1, GCUChar* out2,
                uint32_t list) {
  return gctest::specialLookup(kEntries, first, second, out1, out2, list);
}

TEST(GcMapStringWSpecial, ReplacementsAreCodePageValues) {
  PageLocale pl(932, doubleBytePage(), 0);
  const Case cases[] = {
      {"one to two", GC_MAP_UPPER, {'a', 'q', 'b'}, {'A', 'K', 0x8260, 'B'}},
      {"pair", GC_MAP_UPPER, {'i', 'j', 'i'}, {0x8140, 'I'}},
      {"lower list", GC_MAP_LOWER, {0x8260, 'A'}, {'x', 'a'}},
      {"lists off", GC_MAP_UPPER_SIMPLE, {'q'}, {'Q'}},
  };
  for (const auto& c : cases) {
    const Mapped m = mapWith(&pl.loc, c.in, static_cast<int32_t>(c.in.size()), 16, c.flags, testSpecial);
    EXPECT_EQ(m.values, c.out) << c.name;
  }
  // Two replacement values need two places.
  const Mapped m = mapWith(&pl.loc, {'a', 'q'}, 2, 2, GC_MAP_UPPER, testSpecial);
  EXPECT_EQ(m.values, (Values{'A'}));
  EXPECT_TRUE(m.tailUntouched);
}

} // namespace
