// The schema language scanner: token table, strings at the 256-character
// boundary, comments, line counting, too-long tokens and push-back.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "schema/typ_lex.h"

namespace {

struct token {
  int code;
  std::string text;
};

// The tokens of `input` up to the end (or a negative code).
std::vector<token> scan(const std::string& input, std::string* printed = nullptr) {
  FILE* in = fmemopen(const_cast<char*>(input.data()), input.size(), "r");
  char* out_buf = nullptr;
  size_t out_len = 0;
  FILE* out = open_memstream(&out_buf, &out_len);
  FILE* old_out = ddout;
  ddout = out;
  typ_lex_set_input(in);
  std::vector<token> tokens;
  for (int i = 0; i < 1000; ++i) {
    int c = ddlex();
    if (c == 0) break;
    std::string text = c == TYP_TK_LONG_STRING ? ddlval.ptr : ddlval.text;
    if (c == TYP_TK_INTEGER) text = std::to_string(ddlval.ival);
    if (c == TYP_TK_DECIMAL) text = std::to_string(ddlval.dval);
    tokens.push_back({c, text});
    if (c < 0) break;
  }
  ddout = old_out;
  fclose(out);
  if (printed) *printed = out_buf ? out_buf : "";
  free(out_buf);
  typ_lex_set_input(nullptr);
  fclose(in);
  return tokens;
}

TEST(TypLex, TokenTable) {
  struct row {
    const char* input;
    std::vector<token> want;
  } rows[] = {
      {"OBJECT object Object", {{TYP_TK_OBJECT, "OBJECT"}, {TYP_TK_WORD, "object"}, {TYP_TK_WORD, "Object"}}},
      {"OBJECT_END OBJECTX _x1", {{TYP_TK_OBJECT_END, "OBJECT_END"}, {TYP_TK_WORD, "OBJECTX"}, {TYP_TK_WORD, "_x1"}}},
      {"BASE_TABLE COMPUTED OBJID_FIELD",
       {{TYP_TK_BASE_TABLE, "BASE_TABLE"}, {TYP_TK_COMPUTED, "COMPUTED"}, {TYP_TK_OBJID_FIELD, "OBJID_FIELD"}}},
      {"-5 +5 42", {{TYP_TK_INTEGER, "-5"}, {TYP_TK_INTEGER, "5"}, {TYP_TK_INTEGER, "42"}}},
      {"5. 2.25", {{TYP_TK_DECIMAL, std::to_string(5.0)}, {TYP_TK_DECIMAL, std::to_string(2.25)}}},
      {".5", {{'.', "."}, {TYP_TK_INTEGER, "5"}}},
      {"a.b=c;d,", {{TYP_TK_WORD, "a"}, {'.', "."}, {TYP_TK_WORD, "b"}, {'=', "="}, {TYP_TK_WORD, "c"},
                    {';', ";"}, {TYP_TK_WORD, "d"}, {',', ","}}},
      {"\"FIELD\" \"\" \"a\\\"b\"", {{TYP_TK_WORD, "FIELD"}, {TYP_TK_WORD, ""}, {TYP_TK_WORD, "a\\\"b"}}},
      {"x /* OBJECT\n * */ y", {{TYP_TK_WORD, "x"}, {TYP_TK_WORD, "y"}}},
      {"99999999999", {{TYP_TK_INTEGER, "2147483647"}}},
      {"a # b", {{TYP_TK_WORD, "a"}, {TYP_TK_BAD_CHAR, "#"}, {TYP_TK_WORD, "b"}}},
      {"- 5", {{TYP_TK_BAD_CHAR, "-"}, {TYP_TK_INTEGER, "5"}}},
      {"/* never closed", {{TYP_TK_BAD_CHAR, ""}}},
  };
  for (const row& r : rows) {
    auto got = scan(r.input);
    ASSERT_EQ(got.size(), r.want.size()) << r.input;
    for (size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].code, r.want[i].code) << r.input << " #" << i;
      if (r.want[i].code != TYP_TK_BAD_CHAR || !r.want[i].text.empty()) {
        EXPECT_EQ(got[i].text, r.want[i].text) << r.input << " #" << i;
      }
    }
  }
}

TEST(TypLex, QuotedStringsAtTheCellBoundary) {
  // 254 characters between the quotes: a word, backslashes kept.
  std::string s254(252, 'x');
  s254 += "\\\"";
  auto got = scan("\"" + s254 + "\"");
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].code, TYP_TK_WORD);
  EXPECT_EQ(got[0].text, s254);
  // 255: a long string, the backslash before the quote removed.
  std::string s255(253, 'y');
  s255 += "\\\"";
  got = scan("\"" + s255 + "\"");
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].code, TYP_TK_LONG_STRING);
  EXPECT_EQ(got[0].text, std::string(253, 'y') + "\"");
  // A long string across lines, then a shorter one reusing the buffer.
  got = scan("\"" + std::string(300, 'a') + "\n\" \"" + std::string(260, 'b') + "\"");
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[1].code, TYP_TK_LONG_STRING);
  EXPECT_EQ(got[1].text, std::string(260, 'b'));
}

TEST(TypLex, WordsAndTokensPastTheirLimits) {
  auto got = scan(std::string(256, 'w') + " " + std::string(257, 'v'));
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].code, TYP_TK_WORD);
  EXPECT_EQ(got[0].text.size(), 256u);
  EXPECT_EQ(got[1].code, TYP_TK_OVERLONG);

  std::string printed;
  got = scan("a " + std::string(5001, 'z'), &printed);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[1].code, -1);
  EXPECT_EQ(printed, "Input string too long, limit 5000\n");
  got = scan("\"" + std::string(4998, 'q') + "\"", &printed);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].code, TYP_TK_LONG_STRING);
  got = scan("\"" + std::string(4999, 'q') + "\"", &printed);
  EXPECT_EQ(got.back().code, -1);
}

TEST(TypLex, LineCountingAndPushBack) {
  const std::string input = "a\n\"two\nlines\"\n/* c\n */ b";
  FILE* in = fmemopen(const_cast<char*>(input.data()), input.size(), "r");
  typ_lex_set_input(in);
  EXPECT_EQ(ddlex(), TYP_TK_WORD);
  EXPECT_EQ(typ_bld_return_lineno(), 1);
  EXPECT_EQ(ddlex(), TYP_TK_WORD);
  EXPECT_EQ(typ_bld_return_lineno(), 3);
  EXPECT_EQ(ddlex(), TYP_TK_WORD);
  EXPECT_STREQ(ddlval.text, "b");
  EXPECT_EQ(ddlineno, 5);
  ddunput('\n');
  EXPECT_EQ(ddlineno, 4);
  EXPECT_EQ(ddinput(), '\n');
  EXPECT_EQ(ddlineno, 5);
  EXPECT_EQ(ddinput(), 0);  // end of file reads as 0
  EXPECT_EQ(ddlex(), 0);
  EXPECT_EQ(ddwrap(), 1);
  typ_lex_set_input(nullptr);
  fclose(in);
}

}  // namespace
