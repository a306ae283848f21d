// Concatenation and copies: single-byte, double-byte and shift-state
// locales, lengths in bytes and in characters, UCS-2 and wide copies.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gc_testsort.h"
#include "mbtext/gc_str.h"
#include "mbtext/gc_ucs2.h"

namespace {

constexpr const char* kLatin = "English_UnitedStates.Latin1@Binary";
constexpr const char* kDouble = "English_UnitedStates.DoubleByte@Binary";
constexpr const char* kShift = "English_UnitedStates.Shift@Binary";

// A 16-byte buffer filled with 'Z' after an initial text and its NUL.
std::string buffer(const std::string& init) {
  std::string b(16, 'Z');
  b.replace(0, init.size() + 1, init + '\0');
  return b;
}

struct CatCase {
  const char* name;
  const char* locale;
  std::string src;
  int32_t count;
  uint32_t flags;
  int32_t result;
  std::string after; // the first bytes of the destination afterwards
  uint32_t status;
};

TEST(GcStrCat, Table) {
  gctest::SortLib lib;
  using namespace std::string_literals;
  const CatCase cases[] = {
      {"count 0 writes nothing", kLatin, "cd", 0, 0, 3, "ab\0ZZ"s, 0},
      {"all with terminator", kLatin, "cd", -1, 0, 5, "ab" "cd\0ZZ"s, 0},
      {"count without terminator flag", kLatin, "cd", 1, 0, 3, "abc\0Z"s, 0},
      {"count with terminator flag", kLatin, "cd", 1, 8, 4, "abc\0Z"s, 0},
      {"count past the source stops at its end", kLatin, "cd", 10, 0, 4, "ab" "cd\0Z"s, 0},
      {"count past the source, terminator", kLatin, "cd", 10, 8, 5, "ab" "cd\0Z"s, 0},
      {"double-byte character not split", kDouble, "x\x82\x81", 2, 0, 3, "abx\0Z"s, 0},
      {"double-byte whole", kDouble, "x\x82\x81", 3, 8, 6, "abx\x82\x81\0Z"s, 0},
      {"characters", kDouble, "\x82\x81y", 1, 0x4000, 3, "ab\x82\x81\0Z"s, 0},
      {"characters with terminator", kDouble, "\x82\x81y", 2, 0x4008, 5, "ab\x82\x81y\0Z"s, 0},
      {"characters, count 0", kDouble, "\x82\x81y", 0, 0x4000, 3, "ab\0ZZ"s, 0},
      {"bad flags", kLatin, "cd", -1, 0x10, -1, "ab\0ZZ"s, GC_E_ARG},
  };
  for (const CatCase& c : cases) {
    GCLocale* loc = lib.get(c.locale);
    std::string dst = buffer("ab");
    loc->status = 99;
    EXPECT_EQ(GCStrcat(loc, dst.data(), c.src.c_str(), c.count, c.flags), c.result) << c.name;
    EXPECT_EQ(dst.substr(0, c.after.size()), c.after) << c.name;
    EXPECT_EQ(GCGetError(loc), c.status) << c.name;
  }
}

struct CpyCase {
  const char* name;
  const char* locale;
  int32_t size;
  std::string src;
  int32_t srcLen;
  uint32_t flags;
  int32_t result;
  std::string dst; // the destination afterwards (16 bytes from 'Z's)
};

TEST(GcStrCpy, Table) {
  gctest::SortLib lib;
  using namespace std::string_literals;
  const CpyCase cases[] = {
      {"whole with terminator", kLatin, 10, "hello", -1, 0, 6, "hello\0"s},
      {"cut: no terminator", kLatin, 3, "hello", -1, 0, 3, "helZ"s},
      {"exact fit of a counted source", kLatin, 5, "hello", 5, 0, 5, "helloZ"s},
      {"counted source cut", kLatin, 3, "hello", 5, 0, 3, "helZ"s},
      {"size 1", kLatin, 1, "hello", -1, 0, 1, "hZ"s},
      {"size 0", kLatin, 0, "hello", -1, 0, 0, "ZZ"s},
      {"source length 0", kLatin, 5, "hello", 0, 0, 0, "ZZ"s},
      {"double-byte character first, size 2", kDouble, 2, "\x82\x81xyz", -1, 0, 2, "\x82\x81Z"s},
      {"letter then double-byte, size 2", kDouble, 2, "a\x82\x81", -1, 0, 1, "aZZ"s},
      {"double-byte exact fit", kDouble, 3, "a\x82\x81", 3, 0, 3, "a\x82\x81Z"s},
      {"cut after a double-byte character", kDouble, 2, "\x81\x41" "bc", -1, 0, 2, "\x81\x41Z"s},
      {"source length cuts a character", kDouble, 10, "a\x82\x81", 2, 0, 1, "aZ"s},
      {"characters: whole", kDouble, 5, "\x82\x81" "b", -1, 0x4000, 3, "\x82\x81" "b\0Z"s},
      {"characters: cut", kDouble, 2, "\x82\x81\x82\x60", -1, 0x4000, 2, "\x82\x81\x82\x60Z"s},
      {"characters: counted", kDouble, 5, "\x82\x81" "bc", 2, 0x4000, 2, "\x82\x81" "bZ"s},
      {"bad flags", kLatin, 10, "hello", -1, 8, -1, "ZZ"s},
  };
  for (const CpyCase& c : cases) {
    GCLocale* loc = lib.get(c.locale);
    std::string dst(16, 'Z');
    loc->status = 99;
    EXPECT_EQ(GCStrcpy(loc, dst.data(), c.size, c.src.c_str(), c.srcLen, c.flags), c.result) << c.name;
    EXPECT_EQ(dst.substr(0, c.dst.size()), c.dst) << c.name;
    EXPECT_EQ(GCGetError(loc), c.result < 0 ? GC_E_ARG : 0u) << c.name;
  }
}

struct CpyExCase {
  const char* name;
  const char* locale;
  int dstState;
  int32_t size;
  std::string src;
  int srcState;
  int32_t srcLen;
  uint32_t flags;
  int32_t result;
  std::string dst;
};

TEST(GcStrCpyEx, ShiftStates) {
  gctest::SortLib lib;
  using namespace std::string_literals;
  const CpyExCase cases[] = {
      {"same state", kShift, 0, 10, "ab", 0, -1, 0, 3, "ab\0Z"s},
      {"shift-out written first", kShift, 0, 10, "\x42\xC1", 1, 2, 0, 3, "\x0E\x42\xC1Z"s},
      {"leading shift-in skipped", kShift, 0, 10, "\x0F" "ab", 1, 3, 0, 2, "abZ"s},
      {"shift-in written first", kShift, 1, 10, "ab", 0, 2, 0, 3, "\x0F" "abZ"s},
      {"leading shift-out skipped", kShift, 1, 10, "\x0E\x42\xC1", 0, 3, 0, 2, "\x42\xC1Z"s},
      {"no room for shift code and character", kShift, 0, 2, "\x42\xC1", 1, 2, 0, 0, "ZZ"s},
      {"no room for shift-in and character", kShift, 1, 1, "ab", 0, 2, 0, 0, "ZZ"s},
      {"trailing shift run not copied", kShift, 0, 3, "ab\x0E\x42\xC1", 0, 5, 0, 2, "abZ"s},
      {"shift runs inside", kShift, 0, 10, "a\x0E\x42\xC1\x0F" "b", 0, 6, 0, 6, "a\x0E\x42\xC1\x0F" "bZ"s},
      {"double-byte character not split", kShift, 0, 4, "\x0E\x42\xC1\x45\x41", 0, 5, 0, 3, "\x0E\x42\xC1Z"s},
      {"shift code counts against the size", kShift, 0, 3, "\x42\xC1\x45\x41", 1, 4, 0, 3, "\x0E\x42\xC1Z"s},
      {"characters", kShift, 0, 10, "a\x0E\x42\xC1" "b", 0, 2, 0x4000, 2, "a\x0E\x42\xC1Z"s},
      {"characters from double-byte state", kShift, 0, 10, "\x42\xC1\x45\x41", 1, 1, 0x4000, 1, "\x0E\x42\xC1Z"s},
      {"bad state", kShift, 2, 10, "ab", 0, 2, 0, -1, "ZZ"s},
      {"bad flags", kShift, 0, 10, "ab", 0, 2, 8, -1, "ZZ"s},
      {"other locales copy plainly", kLatin, 1, 3, "hello", 1, -1, 0, 3, "helZ"s},
  };
  for (const CpyExCase& c : cases) {
    GCLocale* loc = lib.get(c.locale);
    std::string dst(16, 'Z');
    loc->status = 99;
    EXPECT_EQ(GCStrcpyEx(loc, dst.data(), c.dstState, c.size, c.src.c_str(), c.srcState, c.srcLen, c.flags),
              c.result)
        << c.name;
    EXPECT_EQ(dst.substr(0, c.dst.size()), c.dst) << c.name;
    EXPECT_EQ(GCGetError(loc), c.result < 0 ? GC_E_ARG : 0u) << c.name;
  }
}

// A counted source is read only as far as its count reaches: it need not
// be terminated (the sources below end exactly at their
// allocation, with one byte more for the shift-state walk).
TEST(GcStrCpy, CountedSourcesAreNotReadPastTheirEnd) {
  gctest::SortLib lib;
  const std::vector<char> latin = {'h', 'e', 'l', 'l', 'o'};
  char dst[16];
  EXPECT_EQ(GCStrcpy(lib.get(kLatin), dst, 16, latin.data(), 5, GC_FL_CHARS), 5);
  EXPECT_EQ(std::string(dst, 5), "hello");
  for (uint32_t flags : {0u, GC_FL_CHARS}) {
    char text[16] = "ab";
    EXPECT_EQ(GCStrcat(lib.get(kLatin), text, latin.data(), 5, flags), 7) << flags;
    EXPECT_STREQ(text, "abhello") << flags;
  }
  const std::vector<char> shifted = {'a', '\x0E', '\x42', '\xC1', '\x0F', 'b', 'x'};
  GCLocale* shift = lib.get(kShift);
  EXPECT_EQ(GCStrcpyEx(shift, dst, 0, 16, shifted.data(), 0, 2, GC_FL_CHARS), 2);
  EXPECT_EQ(std::string(dst, 4), "a\x0E\x42\xC1");
  EXPECT_EQ(GCStrcpyEx(shift, dst, 0, 16, shifted.data(), 0, 3, GC_FL_CHARS), 3);
  EXPECT_EQ(std::string(dst, 6), "a\x0E\x42\xC1\x0F" "b");
}

TEST(GcStrUcs2, LengthsAndCopies) {
  gctest::SortLib lib;
  GCLocale* loc = lib.get(kLatin);
  const GCUChar src[] = {'a', 0x3000, 'b', 0};
  EXPECT_EQ(GCStrlenU(loc, src, 0), 3);
  const uint32_t wide[] = {0x10000, 'x', 0};
  EXPECT_EQ(GCWcslen(loc, wide, 0), 2);
  struct Case {
    int32_t size, srcLen, result;
  };
  for (const Case& c : {Case{10, -1, 4}, Case{2, -1, 2}, Case{10, 2, 2}, Case{0, -1, 0}, Case{10, 0, 0}}) {
    GCUChar dst[12];
    std::fill(dst, dst + 12, GCUChar(0xEEEE));
    EXPECT_EQ(GCStrcpyU(loc, dst, c.size, src, c.srcLen, 0), c.result) << c.size << " " << c.srcLen;
    for (int i = 0; i < c.result; ++i) EXPECT_EQ(dst[i], src[i]);
    EXPECT_EQ(dst[c.result], 0xEEEE);
    uint32_t wdst[12];
    std::fill(wdst, wdst + 12, 0xEEEEu);
    const uint32_t wsrc[] = {'a', 0x10000, 'b', 0};
    EXPECT_EQ(GCWcscpy(loc, wdst, c.size, wsrc, c.srcLen, 0), c.result);
    for (int i = 0; i < c.result; ++i) EXPECT_EQ(wdst[i], wsrc[i]);
    EXPECT_EQ(wdst[c.result], 0xEEEEu);
  }
}

} // namespace
