// Mapping of UCS-2 strings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "mbtext/gc_locale.h"
#include "mbtext/gc_map.h"
#include "mbtext/gc_map_int.h"
#include "mbtext/gc_testdata.h"

namespace {

using U16 = std::u16string;
constexpr GCUChar kSentinel = 0xBEEF;

GCLocale makeLocale() {
  GCLocale loc{};
  loc.status = 99;
  return loc;
}

// Maps src (without its terminator) into a buffer of dstLen values followed
// by sentinels; returns the result and what was written.
struct Mapped {
  int32_t result;
  U16 text;          // the first max(result, 0) values of the buffer
  bool tailUntouched; // everything past the written values still holds the sentinel
  uint32_t status;
};

Mapped mapWith(const U16& src, int32_t srcLen, int32_t dstLen, uint32_t flags,
               GCMapSpecialFn special = gcMapSpecial) {
  GCLocale loc = makeLocale();
  std::vector<GCUChar> buf(static_cast<size_t>(std::max(dstLen, 0)) + 8, kSentinel);
  const auto* s = reinterpret_cast<const GCUChar*>(src.c_str());
  Mapped m{};
  m.result = gcMapStringUWith(&loc, buf.data(), dstLen, s, srcLen, flags, special);
  const size_t n = m.result > 0 ? static_cast<size_t>(m.result) : 0;
  m.text.assign(buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(n));
  m.tailUntouched = std::all_of(buf.begin() + static_cast<std::ptrdiff_t>(n), buf.end(),
                                [](GCUChar v) { return v == kSentinel; });
  m.status = loc.status;
  return m;
}

Mapped map(const U16& src, uint32_t flags, int32_t dstLen = 64) {
  return mapWith(src, static_cast<int32_t>(src.size()), dstLen, flags);
}

struct Case {
  const char* name;
  uint32_t flags;
  U16 in;
  U16 out;
};

TEST(GcMapStringU, MapsEveryKind) {
  const Case cases[] = {
      {"copy", GC_MAP_COPY, u"Abc\u00E9\u3042", u"Abc\u00E9\u3042"},
      {"copy extended", GC_MAP_COPY_EX, u"xY\uFF21", u"xY\uFF21"},
      {"upper", GC_MAP_UPPER, u"stra\u00DFe \u00FF\u0101\u03B1\u0430", u"STRA\u00DFE \u0178\u0100\u0391\u0410"},
      {"upper simple", GC_MAP_UPPER_SIMPLE, u"abc\u01C5\u01C6\u1F80", u"ABC\u01C5\u01C4\u1F88"},
      {"lower", GC_MAP_LOWER, u"ABC\u0130\u00D7\u0410", u"abci\u00D7\u0430"},
      {"lower simple", GC_MAP_LOWER_SIMPLE, u"XYZ\u01C5\u1F88\uFF21", u"xyz\u01C6\u1F80\uFF41"},
      {"half to full", GC_MAP_HALF_TO_FULL, u"A 1\uFF71\u00A5\u20A9", u"\uFF21\u3000\uFF11\u30A2\uFFE5\uFFE6"},
      {"full to half", GC_MAP_FULL_TO_HALF, u"\uFF21\u3000\uFF11\u30A2\u3042\uFFE0", u"A 1\uFF71\u3042\u00A2"},
      {"digits", GC_MAP_DIGITS, u"\u0661\u0662\u0663-\u00B2\u2089\uFF10x9",
       u"123-290x9"},
      {"digits of many scripts", GC_MAP_DIGITS, u"\u0966\u09EF\u0A67\u0AE8\u0B69\u0BEA\u0C6B\u0CEC\u0D6D\u0E58\u0ED9\u0F20",
       u"091234567890"},
      {"numbers that are not digits", GC_MAP_DIGITS, u"\u0BF0\u0BF1\u0BF2\u0BE6\u2460\u00BD",
       u"\u0BF0\u0BF1\u0BF2\u0BE6\u2460\u00BD"},
  };
  for (const auto& c : cases) {
    for (uint32_t chars : {0u, GC_FL_CHARS}) {
      const Mapped m = map(c.in, c.flags | chars);
      EXPECT_EQ(m.result, static_cast<int32_t>(c.out.size())) << c.name << " chars=" << chars;
      EXPECT_EQ(m.text, c.out) << c.name << " chars=" << chars;
      EXPECT_TRUE(m.tailUntouched) << c.name;
      EXPECT_EQ(m.status, GC_OK) << c.name;
    }
  }
}

TEST(GcMapStringU, RefusesOtherFlags) {
  const uint32_t bad[] = {0x80000010u, 0x40u, 1u, 8u, 17u, 0x2000u, 0x80000000u, 0x80000020u,
                          0x80000026u, 0x80008025u, 0x80006021u, 0x80002023u, 0x00000025u, 0xFFFFFFFFu};
  for (uint32_t flags : bad) {
    const Mapped m = map(u"abc", flags);
    EXPECT_EQ(m.result, -1) << std::hex << flags;
    EXPECT_EQ(m.status, GC_E_ARG) << std::hex << flags;
    EXPECT_TRUE(m.tailUntouched) << std::hex << flags;
  }
}

TEST(GcMapStringU, RefusesBadBuffers) {
  GCLocale loc = makeLocale();
  GCUChar dst[4] = {kSentinel, kSentinel, kSentinel, kSentinel};
  const GCUChar src[] = {u'a', u'b', 0};
  EXPECT_EQ(GCMapStringU(&loc, dst, -1, src, 2, GC_MAP_UPPER), -1);
  EXPECT_EQ(loc.status, GC_E_ARG);
  EXPECT_EQ(dst[0], kSentinel);
  loc.status = 0;
  EXPECT_EQ(GCMapStringU(&loc, dst, -5, src, -1, GC_MAP_COPY), -1);
  EXPECT_EQ(loc.status, GC_E_ARG);
  loc.status = 0;
  EXPECT_EQ(GCMapStringU(&loc, dst, 4, nullptr, 2, GC_MAP_UPPER), -1);
  EXPECT_EQ(loc.status, GC_E_ARG);
  loc.status = 0;
  EXPECT_EQ(GCMapStringU(&loc, dst, 4, nullptr, -1, GC_MAP_COPY), -1);
  EXPECT_EQ(loc.status, GC_E_ARG);
  loc.status = 0;
  EXPECT_EQ(GCMapStringU(&loc, nullptr, 4, src, 2, GC_MAP_LOWER), -1);
  EXPECT_EQ(loc.status, GC_E_ARG);
  EXPECT_EQ(dst[0], kSentinel);
  // Empty buffers with zero lengths are not an error.
  loc.status = 99;
  EXPECT_EQ(GCMapStringU(&loc, nullptr, 0, nullptr, 0, GC_MAP_UPPER), 0);
  EXPECT_EQ(loc.status, GC_OK);
}

// The destination length bounds every kind of mapping: the result is what
// was written and nothing lies beyond it.
TEST(GcMapStringU, StopsAtTheDestinationLength) {
  const uint32_t kinds[] = {GC_MAP_COPY, GC_MAP_COPY_EX, GC_MAP_UPPER, GC_MAP_LOWER, GC_MAP_UPPER_SIMPLE,
                            GC_MAP_LOWER_SIMPLE, GC_MAP_HALF_TO_FULL, GC_MAP_FULL_TO_HALF, GC_MAP_DIGITS};
  const U16 src = u"aB\u0661\uFF21 ";
  for (uint32_t flags : kinds) {
    const Mapped full = map(src, flags);
    ASSERT_EQ(full.result, 5) << std::hex << flags;
    for (int32_t size = 0; size <= 6; ++size) {
      const Mapped m = map(src, flags, size);
      const int32_t want = std::min<int32_t>(size, 5);
      EXPECT_EQ(m.result, want) << std::hex << flags << " size " << size;
      EXPECT_EQ(m.text, full.text.substr(0, static_cast<size_t>(want))) << std::hex << flags;
      EXPECT_TRUE(m.tailUntouched) << std::hex << flags << " size " << size;
      EXPECT_EQ(m.status, GC_OK);
    }
  }
}

TEST(GcMapStringU, TerminatedSourceMapsTheTerminator) {
  const uint32_t kinds[] = {GC_MAP_COPY, GC_MAP_UPPER, GC_MAP_LOWER_SIMPLE, GC_MAP_HALF_TO_FULL, GC_MAP_DIGITS};
  for (uint32_t flags : kinds) {
    const Mapped m = mapWith(u"ab1", -1, 10, flags);
    ASSERT_EQ(m.result, 4) << std::hex << flags;
    EXPECT_EQ(m.text[3], 0) << std::hex << flags;
    EXPECT_TRUE(m.tailUntouched);
    // Only room for the characters: the terminator is not written.
    const Mapped cut = mapWith(u"ab1", -1, 3, flags);
    EXPECT_EQ(cut.result, 3) << std::hex << flags;
    EXPECT_TRUE(cut.tailUntouched) << std::hex << flags;
  }
  EXPECT_EQ(mapWith(u"ab1", -1, 10, GC_MAP_UPPER).text, U16(u"AB1\0", 4));
}

TEST(GcMapStringU, ZeroLengths) {
  EXPECT_EQ(map(u"abc", GC_MAP_UPPER, 0).result, 0);
  EXPECT_EQ(mapWith(u"abc", 0, 8, GC_MAP_UPPER).result, 0);
  EXPECT_EQ(mapWith(u"abc", 0, 8, GC_MAP_COPY).result, 0);
  EXPECT_TRUE(mapWith(u"abc", 0, 8, GC_MAP_DIGITS).tailUntouched);
}

TEST(GcMapStringU, MapsInPlace) {
  GCLocale loc = makeLocale();
  GCUChar text[] = {u'm', u'i', u'x', 0x00E9, 0x00FF, 0};
  EXPECT_EQ(GCMapStringU(&loc, text, 6, text, -1, GC_MAP_UPPER_SIMPLE), 6);
  const GCUChar want[] = {u'M', u'I', u'X', 0x00C9, 0x0178, 0};
  EXPECT_TRUE(std::equal(std::begin(text), std::end(text), std::begin(want)));
}

TEST(GcMapStringU, NullLocaleUsesTheDefault) {
  GCUChar dst[4] = {};
  const GCUChar src[] = {u'q', 0};
  EXPECT_EQ(GCMapStringU(nullptr, dst, 4, src, -1, GC_MAP_UPPER), 2);
  EXPECT_EQ(dst[0], u'Q');
  EXPECT_EQ(GCGetError(nullptr), GC_OK);
  EXPECT_EQ(GCMapStringU(nullptr, dst, 4, src, -1, 0x40), -1);
  EXPECT_EQ(GCGetError(nullptr), GC_E_ARG);
}

// A locale whose language has no special case mappings: the case values with
// and without the special lists give the same text.
TEST(GcMapStringU, NoSpecialListsMeansCharacterByCharacter) {
  const U16 text = u"Stra\u00DFe \u0130stanbul \u01C5\u1F80";
  GCLocale loc = makeLocale();
  const auto* s = reinterpret_cast<const GCUChar*>(text.c_str());
  const auto n = static_cast<int32_t>(text.size());
  GCUChar a[32], b[32];
  ASSERT_EQ(GCMapStringU(&loc, a, 32, s, n, GC_MAP_UPPER), n);
  ASSERT_EQ(GCMapStringU(&loc, b, 32, s, n, GC_MAP_UPPER_SIMPLE), n);
  EXPECT_TRUE(std::equal(a, a + n, b));
  ASSERT_EQ(GCMapStringU(&loc, a, 32, s, n, GC_MAP_LOWER), n);
  ASSERT_EQ(GCMapStringU(&loc, b, 32, s, n, GC_MAP_LOWER_SIMPLE), n);
  EXPECT_TRUE(std::equal(a, a + n, b));
}

// --- Special case mappings, with a language list made by the test -------

// Upper-casing: sharp s to "SS", the pair "ij" to the ligature IJ, "i" alone
// to dotted capital I, and "fl" to the ligature; lower-casing: capital I to
// dotless i. The entry for 'i' alone comes after the pair on purpose.
const gctest::SpecialEntry kEntries[] = {
    {GC_SPECIAL_UPPER, 0x00DF, 0, u'S', u'S'},
    {GC_SPECIAL_UPPER, u'i', u'j', 0x0132, 0},
    {GC_SPECIAL_UPPER, u'f', u'l', 0xFB02, 0},
    {GC_SPECIAL_UPPER, u'i', 0, 0x0130, 0},
    {GC_SPECIAL_LOWER, u'I', 0, 0x0131, 0},
};

int testSpecial(const GCLocale*, GCUChar first, GCUChar second, GCUChar* out1, GCUChar* out2,
                uint32_t list) {
  return gctest::specialLookup(kEntries, first, second, out1, out2, list);
}

int failingSpecial(const GCLocale*, GCUChar, GCUChar, GCUChar*, GCUChar*, uint32_t) {
  ADD_FAILURE() << "special list consulted";
  return 0;
}

TEST(GcMapStringUSpecial, ListsApplyToTheSpecialCaseValues) {
  const Case cases[] = {
      {"one to two lengthens", GC_MAP_UPPER, u"ma\u00DFe", u"MASSE"},
      {"single entry beats the pair", GC_MAP_UPPER, u"ijs", u"\u0130JS"},
      {"pair when the first has no entry", GC_MAP_UPPER, u"flat", u"\uFB02AT"},
      {"pair needs its second character", GC_MAP_UPPER, u"fa", u"FA"},
      {"pair cut by the source length", GC_MAP_UPPER, u"f", u"F"},
      {"lower list", GC_MAP_LOWER, u"IJ\u00DF", u"\u0131j\u00DF"},
      {"upper list not used for lower", GC_MAP_LOWER, u"\u00DF", u"\u00DF"},
  };
  for (const auto& c : cases) {
    const Mapped m = mapWith(c.in, static_cast<int32_t>(c.in.size()), 32, c.flags, testSpecial);
    EXPECT_EQ(m.text, c.out) << c.name;
    EXPECT_EQ(m.result, static_cast<int32_t>(c.out.size())) << c.name;
    EXPECT_TRUE(m.tailUntouched) << c.name;
    EXPECT_EQ(m.status, GC_OK) << c.name;
  }
}

TEST(GcMapStringUSpecial, CharacterByCharacterValuesIgnoreTheLists) {
  const Case cases[] = {
      {"upper", GC_MAP_UPPER_SIMPLE, u"ma\u00DFe ij fl", u"MA\u00DFE IJ FL"},
      {"lower", GC_MAP_LOWER_SIMPLE, u"I\u00C0", u"i\u00E0"},
      {"width", GC_MAP_HALF_TO_FULL, u"i", u"\uFF49"},
  };
  for (const auto& c : cases) {
    const Mapped m = mapWith(c.in, static_cast<int32_t>(c.in.size()), 32, c.flags, failingSpecial);
    EXPECT_EQ(m.text, c.out) << c.name;
  }
}

TEST(GcMapStringUSpecial, ReplacementIsWrittenWholeOrNotAtAll) {
  // "a" then sharp s: with room for 2 values only "A" fits, since "SS" needs two.
  const struct {
    int32_t size;
    U16 out;
  } rows[] = {{0, u""}, {1, u"A"}, {2, u"A"}, {3, u"ASS"}, {4, u"ASSB"}, {9, u"ASSB"}};
  for (const auto& r : rows) {
    const Mapped m = mapWith(u"a\u00DFb", 3, r.size, GC_MAP_UPPER, testSpecial);
    EXPECT_EQ(m.text, r.out) << r.size;
    EXPECT_EQ(m.result, static_cast<int32_t>(r.out.size())) << r.size;
    EXPECT_TRUE(m.tailUntouched) << r.size;
    EXPECT_EQ(m.status, GC_OK);
  }
}

TEST(GcMapStringUSpecial, TerminatedSourceStillEndsWithTheTerminator) {
  const Mapped m = mapWith(u"\u00DF", -1, 8, GC_MAP_UPPER, testSpecial);
  EXPECT_EQ(m.text, U16(u"SS\0", 3));
}

} // namespace
