// The digit table and its look-up.
#include <gtest/gtest.h>

#include <set>

#include "mbtext/gc_digits.h"

namespace {

TEST(GcDigitsTable, SortedWithAsciiDigitValues) {
  for (int i = 0; i < GC_DIGIT_COUNT; ++i) {
    EXPECT_GE(GCDigits[i][1], '0') << i;
    EXPECT_LE(GCDigits[i][1], '9') << i;
    if (i > 0) {
      EXPECT_LT(GCDigits[i - 1][0], GCDigits[i][0]) << i;
    }
  }
}

// Each run of digits: first character, number of digits, value of the first.
struct Run {
  const char* script;
  GCUChar first;
  int count;
  char firstValue;
};

const Run kRuns[] = {
    {"ASCII", 0x0030, 10, '0'},        {"superscript two, three", 0x00B2, 2, '2'},
    {"superscript one", 0x00B9, 1, '1'}, {"Arabic-Indic", 0x0660, 10, '0'},
    {"Extended Arabic-Indic", 0x06F0, 10, '0'}, {"Devanagari", 0x0966, 10, '0'},
    {"Bengali", 0x09E6, 10, '0'},      {"Gurmukhi", 0x0A66, 10, '0'},
    {"Gujarati", 0x0AE6, 10, '0'},     {"Oriya", 0x0B66, 10, '0'},
    {"Tamil", 0x0BE7, 9, '1'},         {"Telugu", 0x0C66, 10, '0'},
    {"Kannada", 0x0CE6, 10, '0'},      {"Malayalam", 0x0D66, 10, '0'},
    {"Thai", 0x0E50, 10, '0'},         {"Lao", 0x0ED0, 10, '0'},
    {"Tibetan", 0x0F20, 10, '0'},      {"superscript zero", 0x2070, 1, '0'},
    {"superscript four to nine", 0x2074, 6, '4'}, {"subscript", 0x2080, 10, '0'},
    {"full-width", 0xFF10, 10, '0'},
};

TEST(GcDigitsTable, HoldsExactlyTheDigitRuns) {
  std::set<GCUChar> expected;
  int total = 0;
  for (const auto& run : kRuns) {
    for (int k = 0; k < run.count; ++k) {
      expected.insert(static_cast<GCUChar>(run.first + k));
      EXPECT_EQ(GCDigitLookup(static_cast<GCUChar>(run.first + k)), run.firstValue + k)
          << run.script << " +" << k;
    }
    total += run.count;
  }
  EXPECT_EQ(total, GC_DIGIT_COUNT);
  std::set<GCUChar> actual;
  for (int i = 0; i < GC_DIGIT_COUNT; ++i) actual.insert(GCDigits[i][0]);
  EXPECT_EQ(actual, expected);
}

TEST(GcDigitsLookup, EveryOtherCodeIsNoDigit) {
  std::set<GCUChar> digits;
  for (int i = 0; i < GC_DIGIT_COUNT; ++i) digits.insert(GCDigits[i][0]);
  int wrong = 0;
  for (unsigned c = 0; c <= 0xFFFF; ++c) {
    const GCUChar u = static_cast<GCUChar>(c);
    if (digits.count(u) == 0 && GCDigitLookup(u) != 0) ++wrong;
  }
  EXPECT_EQ(wrong, 0);
}

TEST(GcDigitsLookup, NumbersThatAreNotSingleDigits) {
  const GCUChar notDigits[] = {
      0x0BE6, // Tamil zero: not in the table's repertoire
      0x0BF0, 0x0BF1, 0x0BF2, // Tamil ten, hundred, thousand
      0x00BC, // vulgar fraction one quarter
      0x2460, // circled digit one
      0x2474, // parenthesized digit one
      0x2776, // dingbat negative circled digit one
      0x1040, // Myanmar zero: added later
      0x2071, 0x002F, 0x003A, 0xFF0F, 0xFF1A, 0x0000, 0xFFFF,
  };
  for (GCUChar c : notDigits) EXPECT_EQ(GCDigitLookup(c), 0) << "U+" << std::hex << c;
}

} // namespace
