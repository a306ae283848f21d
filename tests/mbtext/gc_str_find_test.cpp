// Searches, spans, tokens, character validity and line ends in
// single-byte, double-byte and shift-state locales.
#include <gtest/gtest.h>

#include <string>

#include "gc_testloc.h"
#include "gc_testsort.h"
#include "mbtext/gc_str.h"

namespace {

constexpr const char* kLatin = "English_UnitedStates.Latin1@Binary";
constexpr const char* kDouble = "English_UnitedStates.DoubleByte@Binary";
constexpr const char* kShift = "English_UnitedStates.Shift@Binary";

// Offset of a found pointer, -1 for null.
long at(const char* base, const char* p) { return p ? long(p - base) : -1; }

struct ChrCase {
  const char* name;
  const char* locale;
  std::string s;
  int32_t len;
  std::string ch;
  uint32_t flags;
  long offset;
  uint32_t status;
};

TEST(GcStrChr, Table) {
  gctest::SortLib lib;
  using namespace std::string_literals;
  const ChrCase cases[] = {
      {"first", kLatin, "hello", -1, "l", 0, 2, 0},
      {"last", kLatin, "hello", -1, "l", 0x80000020, 3, 0},
      {"none", kLatin, "hello", -1, "z", 0, -1, 0},
      {"the terminator", kLatin, "hello", -1, "\0"s, 0, 5, 0},
      {"length 0", kLatin, "hello", 0, "h", 0, -1, 0},
      {"beyond the length", kLatin, "hello", 2, "l", 0, -1, 0},
      {"trail byte is no character", kDouble, "\x81\x40", -1, "@", 0, -1, 0},
      {"double-byte character", kDouble, "a\x81\x40\x81\x40", -1, "\x81\x40", 0, 1, 0},
      {"double-byte character, last", kDouble, "a\x81\x40\x81\x40", -1, "\x81\x40", 0x80000020, 3, 0},
      {"character cut by the length", kDouble, "a\x81\x40", 2, "\x81\x40", 0, -1, 0},
      {"characters", kDouble, "\x82\x81" "a\x82\x81", 2, "\x82\x81", 0x80004020, 0, 0},
      {"characters, first", kDouble, "x\x82\x81" "a\x82\x81", 4, "\x82\x81", 0x4000, 1, 0},
      {"bad flags", kLatin, "hello", -1, "l", 0x80000021, -1, GC_E_ARG},
  };
  for (const ChrCase& c : cases) {
    GCLocale* loc = lib.get(c.locale);
    loc->status = 99;
    EXPECT_EQ(at(c.s.c_str(), GCStrchr(loc, c.s.c_str(), c.len, c.ch.c_str(), c.flags)), c.offset) << c.name;
    EXPECT_EQ(GCGetError(loc), c.status) << c.name;
  }
}

struct StrCase {
  const char* name;
  const char* locale;
  std::string s;
  int32_t len;
  std::string sub;
  int32_t subLen;
  uint32_t flags;
  long offset;
};

TEST(GcStrStr, Table) {
  gctest::SortLib lib;
  const StrCase cases[] = {
      {"found", kLatin, "hello world", -1, "o w", -1, 0, 4},
      {"at the end", kLatin, "hello world", -1, "world", -1, 0, 6},
      {"empty substring", kLatin, "hello", -1, "", -1, 0, 0},
      {"longer substring", kLatin, "hi", -1, "hello", -1, 0, -1},
      {"not found", kLatin, "abc", -1, "abd", -1, 0, -1},
      {"counted string", kLatin, "hello world", 5, "world", -1, 0, -1},
      {"not across characters", kDouble, "\x81\x40\x41", -1, "\x40\x41", -1, 0, -1},
      {"double-byte", kDouble, "a\x81\x40\x82\x81", -1, "\x82\x81", -1, 0, 3},
      {"substring cut to whole characters", kDouble, "xa\x82\x81", -1, "a\x82", 2, 0, 1},
      {"characters", kDouble, "\x82\x81" "ab\x82\x81", 3, "b", 1, 0x4000, 3},
      {"characters, beyond", kDouble, "\x82\x81" "ab\x82\x81", 2, "b", 1, 0x4000, -1},
  };
  for (const StrCase& c : cases) {
    GCLocale* loc = lib.get(c.locale);
    EXPECT_EQ(at(c.s.c_str(), GCStrstr(loc, c.s.c_str(), c.len, c.sub.c_str(), c.subLen, c.flags)), c.offset)
        << c.name;
  }
}

struct SpanCase {
  const char* name;
  const char* locale;
  bool complement; // GCStrcspn
  std::string s;
  int32_t len;
  std::string set;
  int32_t setLen;
  uint32_t flags;
  int32_t result;
};

TEST(GcStrSpan, Table) {
  gctest::SortLib lib;
  using namespace std::string_literals;
  const SpanCase cases[] = {
      {"cspn", kLatin, true, "hello, world", -1, ", ", -1, 0, 5},
      {"spn", kLatin, false, "  ab", -1, " ", -1, 0, 2},
      {"cspn none", kLatin, true, "hello", -1, "xyz", -1, 0, 5},
      {"spn all", kLatin, false, "aaa", -1, "a", -1, 0, 3},
      {"cspn counted", kLatin, true, "hello, world", 3, ",", -1, 0, 3},
      {"counted string, terminated set: NUL not found", kLatin, true, "a\0b"s, 3, "b", -1, 0, 2},
      {"counted set", kLatin, true, "hello", -1, "xl", 1, 0, 5},
      {"trail byte is no character", kDouble, true, "\x81\x40\x40x", -1, "@", -1, 0, 2},
      {"double-byte set", kDouble, true, "ab\x82\x81" "c", -1, "\x82\x81", -1, 0, 2},
      {"double-byte spn", kDouble, false, "\x82\x81\x82\x81x", -1, "\x82\x81", -1, 0, 4},
      {"set character cut by the set length", kDouble, true, "\x82\x81", -1, "\x82\x81", 1, 0, 2},
      {"string character cut by the length", kDouble, false, "\x82\x81\x82\x81", 3, "\x82\x81", -1, 0, 2},
      {"characters", kDouble, true, "\x82\x81\x82\x81x", 3, "x", -1, 0x4000, 2},
      {"characters, spn", kDouble, false, "\x82\x81\x82\x81x", -1, "\x82\x81", 1, 0x4000, 2},
      {"shift page: bytes in single-byte mode", kShift, true, "ab\x0E\x42\xC1", -1, "\x0E", -1, 0, 2},
  };
  for (const SpanCase& c : cases) {
    GCLocale* loc = lib.get(c.locale);
    int32_t r = c.complement ? GCStrcspn(loc, c.s.data(), c.len, c.set.c_str(), c.setLen, c.flags)
                             : GCStrspn(loc, c.s.data(), c.len, c.set.c_str(), c.setLen, c.flags);
    EXPECT_EQ(r, c.result) << c.name;
  }
}

TEST(GcStrTok, TokensOverwriteTheirDelimiter) {
  gctest::SortLib lib;
  GCLocale* loc = lib.get(kLatin);
  char text[] = ",,a,b";
  int32_t rem = 5;
  char* next = text;
  char* tok = GCStrtok(loc, text, &rem, ",", -1, &next, 0);
  ASSERT_EQ(tok, text + 2);
  EXPECT_STREQ(tok, "a");
  EXPECT_EQ(rem, 1);
  ASSERT_EQ(next, text + 4);
  tok = GCStrtok(loc, next, &rem, ",", -1, &next, 0);
  EXPECT_EQ(tok, text + 4);
  EXPECT_EQ(rem, 0);
  EXPECT_EQ(next, nullptr);
  tok = GCStrtok(loc, next, &rem, ",", -1, &next, 0);
  EXPECT_EQ(tok, nullptr);
  EXPECT_EQ(rem, 0);
}

TEST(GcStrTok, Table) {
  gctest::SortLib lib;
  using namespace std::string_literals;
  struct Case {
    const char* name;
    const char* locale;
    std::string text;
    int32_t rem;
    std::string delims;
    uint32_t flags;
    long token; // offset or -1
    std::string tokenText;
    int32_t remAfter;
    long next; // offset or -1
    std::string textAfter;
  };
  const Case cases[] = {
      {"no delimiter", kLatin, "abc", -1, ",", 0, 0, "abc", 0, -1, "abc"},
      {"only delimiters", kLatin, ",,,", -1, ",", 0, -1, "", 0, -1, ",,,"},
      {"delimiter last", kLatin, "ab,", -1, ",", 0, 0, "ab", 0, -1, "ab\0"s},
      {"several delimiters", kLatin, "a; b", -1, "; ", 0, 0, "a", 2, 2, "a\0 b"s},
      {"double-byte delimiter", kDouble, "ab\x81\x40" "cd", -1, "\x81\x40", 0, 0, "ab", 2, 4,
       "ab\0\0cd"s},
      {"trail byte is no delimiter", kDouble, "x\x81\x40y@z", -1, "@", 0, 0, "x\x81\x40y", 1, 5,
       "x\x81\x40y\0z"s},
      {"characters", kDouble, "\x82\x81,\x82\x81\x82\x81", 4, ",", 0x4000, 0, "\x82\x81", 2, 3,
       "\x82\x81\0\x82\x81\x82\x81"s},
  };
  for (const Case& c : cases) {
    GCLocale* loc = lib.get(c.locale);
    std::string buf = c.text;
    buf.push_back('\0');
    int32_t rem = c.rem;
    char* next = buf.data();
    char* tok = GCStrtok(loc, buf.data(), &rem, c.delims.c_str(), -1, &next, c.flags);
    EXPECT_EQ(at(buf.data(), tok), c.token) << c.name;
    if (tok) {
      EXPECT_EQ(std::string(tok), c.tokenText) << c.name;
    }
    EXPECT_EQ(rem, c.remAfter) << c.name;
    EXPECT_EQ(at(buf.data(), next), c.next) << c.name;
    EXPECT_EQ(buf.substr(0, c.textAfter.size()), c.textAfter) << c.name;
  }
}

TEST(GcStrValidChar, Table) {
  gctest::SortLib lib;
  struct Case {
    const char* locale;
    std::string s;
    int result;
  };
  const Case cases[] = {
      {kLatin, "a", 1},          {kLatin, "", 0},           {kLatin, "\xE4", 1},
      {kDouble, "\x82\x81", 2}, {kDouble, "\x82", 1},       {kDouble, "\x83" "a", 0},
      {kDouble, "a\x82", 1},    {"English_UnitedStates.UTF-8@Binary", "\xE4\xB8\x85", 3},
  };
  for (const Case& c : cases) {
    GCLocale* loc = lib.get(c.locale);
    EXPECT_EQ(GCValidChar(loc, c.s.c_str()), c.result) << gctest::hexOf(c.s);
  }
}

TEST(GcStrPutEol, DefaultCodePage) {
  gctest::SortLib lib;
  GCLocale* loc = lib.get(kLatin);
  struct Case {
    uint32_t flags;
    std::string out;
  };
  for (const Case& c : {Case{0, "\n"}, Case{0x1000, "\n"}, Case{0x100, "\n"}, Case{0x200, "\r\n"}}) {
    char buf[8] = "ZZZZZZZ";
    char* end = GCPutEol(loc, buf, c.flags);
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(std::string(buf, size_t(end - buf)), c.out) << c.flags;
    EXPECT_EQ(*end, 'Z');
  }
  char buf[4] = "ZZZ";
  loc->status = 0;
  EXPECT_EQ(GCPutEol(loc, buf, 0x2000), nullptr);
  EXPECT_EQ(GCGetError(loc), GC_E_ARG);
  EXPECT_EQ(buf[0], 'Z');
}

TEST(GcStrPutEol, CodesInTheirOrder) {
  gctest::SortLib lib;
  GCLocale copy = *lib.get(kLatin);
  gctest::MemObject cp(GC_CLASS_CODEPAGE, 9, gctest::CodePageBuilder::ascii().eol(1, 2, 3, 4).sections());
  copy.codepage = cp.get();
  struct Case {
    uint32_t flags;
    std::string out;
  };
  const Case cases[] = {
      {0x1F00, "\x04\x03\x01\x02\x01"}, {0x800, "\x04"}, {0x400, "\x03"},
      {0x100, "\x01"},                   {0x200, "\x02\x01"}, {0x1100, "\x01\x01"},
  };
  for (const Case& c : cases) {
    char buf[8] = "ZZZZZZZ";
    char* end = GCPutEol(&copy, buf, c.flags);
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(std::string(buf, size_t(end - buf)), c.out) << c.flags;
  }
}

} // namespace
