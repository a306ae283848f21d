// Formatting of message texts with positional markers and typed arguments.
#include <gtest/gtest.h>

#include <string>

#include "core/cmn/cmn_alrt.h"

namespace {

std::string fmt(long size, const char* text, ...) {
  std::string buf(static_cast<size_t>(size > 0 ? size : 1) + 16, '\x7f');
  va_list args;
  va_start(args, text);
  cmn_alrt_vreformat_msg(buf.data(), size, text, args);
  va_end(args);
  // Nothing may be written past the given size.
  for (size_t i = static_cast<size_t>(size); i < buf.size(); ++i) EXPECT_EQ(buf[i], '\x7f') << "byte " << i;
  return size > 0 ? std::string(buf.c_str()) : std::string();
}

TEST(CmnAlrtFormat, MarkersReorderStringArguments) {
  EXPECT_EQ(fmt(2049, "%s:2 then %s:1", "a", "b"), "b then a");
  EXPECT_EQ(fmt(2049, "%s then %s", "a", "b"), "a then b");
  EXPECT_EQ(fmt(2049, "%s:1 then %s:2", "a", "b"), "a then b");
}

TEST(CmnAlrtFormat, IntegerMarkedFiveTakesTheFifthArgument) {
  EXPECT_EQ(fmt(2049, "value %ld:5.", 1L, 2L, 3L, 4L, 5L), "value 5.");
  // Arguments 1 to 4 are not consumed and are skipped as long words.
  EXPECT_EQ(fmt(2049, "%s:3!", 11L, 22L, "third"), "third!");
}

TEST(CmnAlrtFormat, MixedTypesFollowTheirMarkers) {
  EXPECT_EQ(fmt(2049, "%s:2 has %ld:1 items", 7L, "box"), "box has 7 items");
  EXPECT_EQ(fmt(2049, "%.2f:2 and %s:1", "pi", 3.14159), "3.14 and pi");
  EXPECT_EQ(fmt(2049, "%d:2/%c:1", 'z', 42), "42/z");
  EXPECT_EQ(fmt(2049, "Code 0x%x for %s", 0x100018U, "cmn"), "Code 0x100018 for cmn");
}

struct literal_case {
  const char* text;
  const char* expected;
};

class CmnAlrtFormatLiteral : public ::testing::TestWithParam<literal_case> {};

TEST_P(CmnAlrtFormatLiteral, TextWithoutArguments) {
  EXPECT_EQ(fmt(2049, GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CmnAlrtFormatLiteral,
    ::testing::Values(literal_case{"ends with a colon:", "ends with a colon:"},
                      literal_case{"a:b :0 :6 ::", "a:b :0 :6 ::"},
                      // A ':' followed by 1..5 is a marker wherever it stands.
                      literal_case{"at 10:30", "at 100"},
                      literal_case{"100%% sure", "100% sure"},
                      literal_case{"trailing %", "trailing %"},
                      literal_case{"bad %y conversion", "bad %y conversion"},
                      literal_case{"", ""}));

TEST(CmnAlrtFormat, NullTextAndNullStringArgument) {
  EXPECT_EQ(fmt(2049, nullptr), "");
  EXPECT_EQ(fmt(2049, "[%s]", static_cast<const char*>(nullptr)), "[(null)]");
}

TEST(CmnAlrtFormat, PercentNIsNeverHonoured) {
  int target = 12345;
  EXPECT_EQ(fmt(2049, "abc%n def", &target), "abc def");
  EXPECT_EQ(target, 12345);
}

TEST(CmnAlrtFormat, LongArgumentIsCutAtTheBuffer) {
  std::string big(5000, 'x');
  std::string out = fmt(2049, "<%s>", big.c_str());
  EXPECT_EQ(out.size(), 2048U);
  EXPECT_EQ(out.substr(0, 2), "<x");
  EXPECT_EQ(fmt(10, "<%s>", big.c_str()), "<xxxxxxxx");
  EXPECT_EQ(fmt(1, "<%s>", big.c_str()), "");
  EXPECT_EQ(fmt(0, "<%s>", big.c_str()), "");
}

TEST(CmnAlrtFormat, HugeWidthsStayBounded) {
  std::string out = fmt(2049, "%999999999s|", "x");
  // The width is capped at the buffer: 2047 blanks, the value, no room for '|'.
  EXPECT_EQ(out, std::string(2047, ' ') + "x");
  EXPECT_EQ(fmt(8, "%*d", 20, 5), "       ");
}

TEST(CmnAlrtFormat, StarWidthAndPrecisionConsumeSlots) {
  EXPECT_EQ(fmt(2049, "[%*d]", 5, 42), "[   42]");
  EXPECT_EQ(fmt(2049, "[%-*d]", 4, 7), "[7   ]");
  EXPECT_EQ(fmt(2049, "[%.*s]", 2, "abcdef"), "[ab]");
}

TEST(CmnAlrtFormat, SixthMarkerAndConversionHaveNoSlot) {
  // Six conversions: the sixth has no argument slot and is copied as it stands.
  EXPECT_EQ(fmt(2049, "%s:1%s:2%s:3%s:4%s:5%s:1", "a", "b", "c", "d", "e"), "abcde%s");
  EXPECT_EQ(fmt(2049, "%ld %ld %ld %ld %ld %ld", 1L, 2L, 3L, 4L, 5L), "1 2 3 4 5 %ld");
}

TEST(CmnAlrtFormat, OneArgumentReadAsTwoTypesIsNotFormattedTwice) {
  EXPECT_EQ(fmt(2049, "%s:1 and %ld:1", "word"), "word and %ld");
  EXPECT_EQ(fmt(2049, "%s:1 and %s:1", "word"), "word and word");
}

TEST(CmnAlrtFormat, LongTextIsCutToTheFormatCopy) {
  std::string text(3000, 'y');
  std::string out = fmt(4000, text.c_str());
  EXPECT_EQ(out.size(), 2048U);
}

}  // namespace
