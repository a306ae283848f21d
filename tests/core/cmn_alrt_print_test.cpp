// Printing alert stacks: wrapping at 80 columns, headings, dumps, strings.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/core_fixture.h"

namespace {

class CmnAlrtPrint : public ::testing::Test {
 protected:
  void SetUp() override {
    core_start_cmn();
    ASSERT_EQ(cmn_alrt_clear(nullptr), 0);
  }
  void TearDown() override { cmn_alrt_clear(nullptr); }

  // Runs a print call on a memory stream and returns what it wrote.
  template <class F>
  std::string capture(F f) {
    return core_written_to([&](FILE* s) { EXPECT_EQ(f(s), 0); });
  }
  std::string print(long indent, const char* heading = "") {
    return capture([&](FILE* s) { return cmn_alrt_print(s, indent, heading); });
  }
};

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream in(text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

struct fit_case {
  long indent;
  long effective;  // the indent after capping
};

class CmnAlrtPrintFit : public CmnAlrtPrint, public ::testing::WithParamInterface<fit_case> {};

TEST_P(CmnAlrtPrintFit, ExactlyFittingTextIsOneLineAndOneMoreWraps) {
  const long ind = GetParam().effective;
  std::string fits(static_cast<size_t>(80 - ind - 3), 'a');
  cmn_alrt_push_msg(nullptr, 1, fits.c_str());
  std::string out = print(GetParam().indent);
  EXPECT_EQ(out, std::string(static_cast<size_t>(ind), ' ') + ">> " + fits + "\n");

  cmn_alrt_clear(nullptr);
  std::string over = fits + "b";  // no blank: broken hard at the limit
  cmn_alrt_push_msg(nullptr, 1, over.c_str());
  auto lines = lines_of(print(GetParam().indent));
  ASSERT_EQ(lines.size(), 2U);
  EXPECT_EQ(lines[0], std::string(static_cast<size_t>(ind), ' ') + ">> " + over.substr(0, static_cast<size_t>(77 - ind)));
  EXPECT_EQ(lines[1], std::string(static_cast<size_t>(ind + 4), ' ') + over.substr(static_cast<size_t>(77 - ind)));
}

INSTANTIATE_TEST_SUITE_P(Indents, CmnAlrtPrintFit,
                         ::testing::Values(fit_case{0, 0}, fit_case{5, 5}, fit_case{20, 20},
                                           fit_case{35, 20}, fit_case{-3, 0}));

TEST_F(CmnAlrtPrint, LongTextBreaksAtBlanksWithinEightyColumns) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "word" + std::to_string(i) + " ";
  text += "end";
  cmn_alrt_push_msg(nullptr, 1, text.c_str());
  const long ind = 6;
  auto lines = lines_of(print(ind));
  ASSERT_GT(lines.size(), 2U);
  std::string joined;
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_LE(lines[i].size(), 80U) << i;
    std::string prefix = i == 0 ? std::string(ind, ' ') + ">> " : std::string(ind + 4, ' ');
    ASSERT_EQ(lines[i].substr(0, prefix.size()), prefix) << i;
    std::string body = lines[i].substr(prefix.size());
    EXPECT_NE(body.front(), ' ') << i;
    EXPECT_NE(body.back(), ' ') << i;
    joined += (i == 0 ? "" : " ") + body;
  }
  EXPECT_EQ(joined, text);
  // The first line is filled as far as the last blank allows.
  EXPECT_GT(lines[0].size() + 7, 80U);
}

TEST_F(CmnAlrtPrint, BlankRightAfterAFullLineBreaksThere) {
  std::string first(77, 'x');
  std::string text = first + " tail";
  cmn_alrt_push_msg(nullptr, 1, text.c_str());
  EXPECT_EQ(print(0), ">> " + first + "\n    tail\n");
}

TEST_F(CmnAlrtPrint, NewlinesInsideLongTextsStartContinuationLines) {
  std::string text = "first part\nsecond part " + std::string(80, 'k') + "\n";
  cmn_alrt_push_msg(nullptr, 1, text.c_str());
  auto lines = lines_of(print(2));
  ASSERT_EQ(lines.size(), 4U);
  EXPECT_EQ(lines[0], "  >> first part");
  EXPECT_EQ(lines[1], "      second part");
  EXPECT_EQ(lines[2], "      " + std::string(74, 'k'));
  EXPECT_EQ(lines[3], "      " + std::string(6, 'k'));
}

TEST_F(CmnAlrtPrint, HeadingAndNewestFirst) {
  cmn_alrt_push_msg(nullptr, 1, "older\n");
  cmn_alrt_push_msg(nullptr, 2, "newer");
  EXPECT_EQ(print(3, "Errors"), "   Errors:\n   >> newer\n   >> older\n");
  EXPECT_EQ(print(0, nullptr), ">> newer\n>> older\n");
}

TEST_F(CmnAlrtPrint, AppendingToAStringStopsAtTheFirstLineThatDoesNotFit) {
  cmn_alrt_push_msg(nullptr, 1, "third");
  cmn_alrt_push_msg(nullptr, 2, "second");
  cmn_alrt_push_msg(nullptr, 3, "first");
  char buf[64] = "start|";
  // "H:\n" (3) + ">> first\n" (9) fit in 6+12+1 = 19 bytes; ">> second\n" does not.
  EXPECT_EQ(cmn_alrt_print_out(nullptr, buf, 19, 0, "H"), 0);
  EXPECT_STREQ(buf, "start|H:\n>> first\n");
  char all[128] = "";
  EXPECT_EQ(cmn_alrt_print_out(nullptr, all, sizeof all, 1, ""), 0);
  EXPECT_STREQ(all, " >> first\n >> second\n >> third\n");
}

TEST_F(CmnAlrtPrint, DumpListsNewestFirstWithPositions) {
  cmn_alrt_push_msg(nullptr, 0x100003, "alpha\n");
  cmn_alrt_push_msg(nullptr, 0x100018, "beta");
  std::string out = capture([](FILE* s) { return cmn_alrt_dump(s, 2, "Stack", nullptr); });
  EXPECT_EQ(out,
            "  Stack (2 entries):\n"
            "    #1) beta (0x100018)\n"
            "    #0) alpha (0x100003)\n");
}

TEST_F(CmnAlrtPrint, AlertPrintProcedure) {
  cmn_ty_alert a{0x100009, "Bad alert stack 4."};
  std::string out = capture([&](FILE* s) { return cmn_alrt_print_alert(s, 2, &a, 527, 7); });
  EXPECT_EQ(out, "  ALERT #7, code 0x100009, msg: 'Bad alert stack 4.'\n");
  // The registry hands out the same procedure for type 527.
  cmn_ty_print_proc print = nullptr;
  long size = 0;
  ASSERT_EQ(cmn_typ_info(527, nullptr, nullptr, nullptr, &size, nullptr, nullptr, nullptr, &print), 0);
  EXPECT_EQ(print, &cmn_alrt_print_alert);
  EXPECT_EQ(size, static_cast<long>(sizeof(cmn_ty_alert)));
}

TEST_F(CmnAlrtPrint, VeryLongAlertIsPrintedFromTheCutCopy) {
  std::string text(5000, 'w');
  cmn_alrt_push_msg(nullptr, 1, text.c_str());
  auto lines = lines_of(print(0));
  size_t total = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_LE(lines[i].size(), 80U);
    total += lines[i].size() - (i == 0 ? 3 : 4);
  }
  EXPECT_EQ(total, 2048U);
}

}  // namespace
