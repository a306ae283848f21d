// Mapping of text in a shift-state code page with explicit shift states.
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

// EBCDIC shift-state page: shift-out 0x0E, shift-in 0x0F; single bytes
// space 0x40, A B at 0xC1 0xC2, a b at 0x81 0x82, digit one at 0xF1;
// double-byte full-width A B a b and one, and an ideograph.
CodePageBuilder shiftPage() {
  CodePageBuilder b;
  b.ebcdicBased().shiftState(0x0E, 0x0F);
  for (int i = 1; i < 0x80; ++i) b.unmapSingle(uint8_t(i));
  b.single(0x40, ' ', 0x2C0).single(0xC1, 'A', 0x213).single(0xC2, 'B', 0x213);
  b.single(0x81, 'a', 0x215).single(0x82, 'b', 0x215).single(0xF1, '1', 0x218);
  b.caseBytes(0xC1, 0x81).caseBytes(0xC2, 0x82);
  b.multi({0x42, 0xC1}, 0xFF21, 0x203, 0x40 - 0x80)  // full-width A, lower form 0x4281
      .multi({0x42, 0xC2}, 0xFF22, 0x203, 0x40 - 0x80)
      .multi({0x42, 0x81}, 0xFF41, 0x205, 0x80 - 0x40)  // full-width a, upper form 0x42C1
      .multi({0x42, 0xF1}, 0xFF11, 0x218)
      .multi({0x45, 0x41}, 0x4E00, 0x201)
      .fullWidthOfByte(0xC1, 0x42C1)
      .fullWidthOfByte(0xC2, 0x42C2)
      .fullWidthOfByte(0x81, 0x4281);
  return b;
}

struct Mapped {
  int32_t result;
  std::string text;
  bool tailUntouched;
  uint32_t status;
};

Mapped mapWith(GCLocale* loc, int dstState, int32_t dstLen, const std::string& src, int srcState,
               int32_t srcLen, uint32_t flags, GCMapSpecialFn special = gcMapSpecial) {
  std::vector<char> buf(static_cast<size_t>(std::max(dstLen, 0)) * 4 + 16, kSentinel);
  std::vector<char> s(src.begin(), src.end());
  s.push_back('\0');
  Mapped m{};
  m.result = gcMapStringExWith(loc, buf.data(), dstState, dstLen, s.data(), srcState, srcLen, flags, special);
  const auto end = std::find(buf.begin(), buf.end(), kSentinel);
  m.text.assign(buf.begin(), end);
  m.tailUntouched = std::all_of(end, buf.end(), [](char c) { return c == kSentinel; });
  m.status = loc->status;
  return m;
}

struct Row {
  const char* name;
  uint32_t flags;
  int dstState;
  int32_t dstLen;
  std::string in;
  int srcState;
  std::string out;
};

void expectRows(GCLocale* loc, const std::vector<Row>& rows, GCMapSpecialFn special = gcMapSpecial) {
  for (const auto& r : rows) {
    const Mapped m =
        mapWith(loc, r.dstState, r.dstLen, r.in, r.srcState, static_cast<int32_t>(r.in.size()), r.flags, special);
    EXPECT_EQ(m.text, r.out) << r.name;
    EXPECT_EQ(m.result, static_cast<int32_t>(r.out.size())) << r.name;
    EXPECT_TRUE(m.tailUntouched) << r.name;
    EXPECT_EQ(m.status, GC_OK) << r.name;
  }
}

TEST(GcMapStringEx, MapsAcrossShiftCodes) {
  PageLocale pl(930, shiftPage(), GC_LF_SHIFT);
  expectRows(&pl.loc, {
      {"upper keeps the shift codes it needs", GC_MAP_UPPER, 0, 16, "\x81\x0E\x42\x81\x0F\x81", 0,
       "\xC1\x0E\x42\xC1\x0F\xC1"},
      {"lower", GC_MAP_LOWER_SIMPLE, 0, 16, "\x0E\x42\xC1\x0F\xC2", 0, "\x0E\x42\x81\x0F\x82"},
      {"half to full adds a shift-out", GC_MAP_HALF_TO_FULL, 0, 16, "\xC1\xC2\x40", 0, "\x0E\x42\xC1\x42\xC2\x0F\x40"},
      {"full to half adds a shift-in", GC_MAP_FULL_TO_HALF, 1, 16, "\x42\xC1\x45\x41", 1, "\x0F\xC1\x0E\x45\x41"},
      {"digits", GC_MAP_DIGITS, 0, 16, "\x0E\x42\xF1\x0F\xF1", 0, "\xF1\xF1"},
      {"redundant shift codes are dropped", GC_MAP_UPPER, 0, 16, "\x0E\x0F\x0E\x42\x81", 0, "\x0E\x42\xC1"},
      {"source starting in double-byte mode", GC_MAP_UPPER, 0, 16, "\x42\x81", 1, "\x0E\x42\xC1"},
      {"destination starting in double-byte mode", GC_MAP_UPPER, 1, 16, "\x81\x0E\x42\x81", 0, "\x0F\xC1\x0E\x42\xC1"},
      {"no shift-out needed", GC_MAP_HALF_TO_FULL, 1, 16, "\xC1", 0, "\x42\xC1"},
      {"a run at the end ends the mapping", GC_MAP_UPPER, 0, 16, "\x81\x0E\x0F", 0, "\xC1"},
      {"a cut double-byte character ends it", GC_MAP_UPPER, 0, 16, "\x81\x0E\x42", 0, "\xC1"},
  });
}

TEST(GcMapStringEx, PiecesFitWithTheirShiftCodes) {
  PageLocale pl(930, shiftPage(), GC_LF_SHIFT);
  expectRows(&pl.loc, {
      {"shift-out and character need 3", GC_MAP_HALF_TO_FULL, 0, 2, "\xC1", 0, ""},
      {"exactly 3", GC_MAP_HALF_TO_FULL, 0, 3, "\xC1\xC2", 0, "\x0E\x42\xC1"},
      {"second without shift code", GC_MAP_HALF_TO_FULL, 0, 5, "\xC1\xC2", 0, "\x0E\x42\xC1\x42\xC2"},
      {"shift-in and character need 2", GC_MAP_FULL_TO_HALF, 1, 1, "\x42\xC1", 1, ""},
      {"one byte in single-byte mode", GC_MAP_UPPER, 0, 1, "\x81\x81", 0, "\xC1"},
  });
}

TEST(GcMapStringEx, CharacterMode) {
  PageLocale pl(930, shiftPage(), GC_LF_SHIFT);
  const std::string src = "\x0E\x42\x81\x42\x81\x0F\x81";
  // Two characters of room are 4 bytes (twice the longest character): the
  // shift-out code takes one of them, so one double-byte character fits.
  Mapped m = mapWith(&pl.loc, 0, 2, src, 0, -1, GC_MAP_UPPER | GC_FL_CHARS);
  EXPECT_EQ(m.result, 1);
  EXPECT_EQ(m.text, "\x0E\x42\xC1");
  EXPECT_TRUE(m.tailUntouched);
  m = mapWith(&pl.loc, 0, 3, src, 0, -1, GC_MAP_UPPER | GC_FL_CHARS);
  EXPECT_EQ(m.result, 2);
  EXPECT_EQ(m.text, "\x0E\x42\xC1\x42\xC1");
  // A source of 2 characters.
  m = mapWith(&pl.loc, 0, 10, src, 0, 2, GC_MAP_UPPER | GC_FL_CHARS);
  EXPECT_EQ(m.result, 2);
  EXPECT_EQ(m.text.substr(0, 5), "\x0E\x42\xC1\x42\xC1");
  // Everything and the terminator: shift codes are not counted.
  m = mapWith(&pl.loc, 0, 10, src, 0, -1, GC_MAP_UPPER | GC_FL_CHARS);
  EXPECT_EQ(m.result, 4);
  EXPECT_EQ(m.text, std::string("\x0E\x42\xC1\x42\xC1\x0F\xC1\0", 8));
}

TEST(GcMapStringEx, CopyReconcilesTheStates) {
  PageLocale pl(930, shiftPage(), GC_LF_SHIFT);
  expectRows(&pl.loc, {
      {"same states", GC_MAP_COPY, 0, 16, "\xC1\x0E\x42\xC1", 0, "\xC1\x0E\x42\xC1"},
      {"a trailing run is not copied", GC_MAP_COPY, 0, 16, "\xC1\x0E\x42\xC1\x0F", 0, "\xC1\x0E\x42\xC1"},
      {"shift-out written first", GC_MAP_COPY_EX, 0, 16, "\x42\xC1", 1, "\x0E\x42\xC1"},
      {"the source's shift-in used", GC_MAP_COPY, 0, 16, "\x0F\xC1", 1, "\xC1"},
      {"shift-in written first", GC_MAP_COPY, 1, 16, "\xC1", 0, "\x0F\xC1"},
      {"no room for shift-in and character", GC_MAP_COPY, 1, 1, "\xC1", 0, ""},
      {"no room for shift-out and character", GC_MAP_COPY, 0, 2, "\x42\xC1", 1, ""},
      {"whole characters only", GC_MAP_COPY, 0, 4, "\x0E\x42\xC1\x42\xC2", 0, "\x0E\x42\xC1"},
  });
  Mapped m = mapWith(&pl.loc, 0, 2, "\xC1\x0E\x42\xC1\x42\xC2", 0, -1, GC_MAP_COPY | GC_FL_CHARS);
  EXPECT_EQ(m.result, 2);
  EXPECT_EQ(m.text, "\xC1\x0E\x42\xC1");
}

TEST(GcMapStringEx, OtherLocalesMapAsPlainText) {
  PageLocale pl(1, CodePageBuilder::ascii(), GC_LF_SINGLEBYTE);
  expectRows(&pl.loc, {
      {"states are not used", GC_MAP_UPPER, 1, 16, "ab", 1, "AB"},
      {"copy", GC_MAP_COPY, 1, 16, "ab", 0, "ab"},
  });
}

TEST(GcMapStringEx, RefusesBadArguments) {
  PageLocale pl(930, shiftPage(), GC_LF_SHIFT);
  const struct {
    int dstState;
    int32_t dstLen;
    int srcState;
    uint32_t flags;
  } rows[] = {
      {0, 8, 0, 0x80000010u}, {0, 8, 0, 0x40u}, {0, -1, 0, GC_MAP_UPPER},
      {2, 8, 0, GC_MAP_UPPER}, {0, 8, -1, GC_MAP_COPY}, {0, 8, 0, 0x80002021u},
  };
  for (const auto& r : rows) {
    const Mapped m = mapWith(&pl.loc, r.dstState, r.dstLen, "\xC1", r.srcState, 1, r.flags);
    EXPECT_EQ(m.result, -1) << std::hex << r.flags;
    EXPECT_EQ(m.status, GC_E_ARG);
    EXPECT_TRUE(m.text.empty());
  }
}

// Special mappings with a list made by the test: 'a' becomes full-width A
// followed by B, written as two pieces.
const gctest::SpecialEntry kEntries[] = {
    {GC_SPECIAL_UPPER, u'a', 0, 0xFF21, u'B'},
    {GC_SPECIAL_UPPER, u'b', 0xFF21, u'1', 0},
};

int testSpecial(const GCLocale*, GCUChar first, GCUChar second, GCUChar* out1, GCUChar* out2, uint32_t list) {
  return gctest::specialLookup(kEntries, first, second, out1, out2, list);
}

TEST(GcMapStringExSpecial, ReplacementsAreSeparatePieces) {
  PageLocale pl(930, shiftPage(), GC_LF_SHIFT);
  expectRows(&pl.loc,
             {
                 {"two pieces", GC_MAP_UPPER, 0, 16, "\x81\xC1", 0, "\x0E\x42\xC1\x0F\xC2\xC1"},
                 {"only the first fits", GC_MAP_UPPER, 0, 4, "\x81", 0, "\x0E\x42\xC1"},
                 {"pair across a shift code", GC_MAP_UPPER, 0, 16, "\x82\x0E\x42\xC1\x0F\xC1", 0, "\xF1\xC1"},
                 {"lists off", GC_MAP_UPPER_SIMPLE, 0, 16, "\x81", 0, "\xC1"},
             },
             testSpecial);
}

} // namespace
