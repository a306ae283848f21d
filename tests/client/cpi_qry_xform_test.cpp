// Translation of traversal-map conditions: each query operator on a text
// and a long field reaches the store as its condition code and value, or is
// refused before any fetch; dates, in-lists and their tokeniser.
#include <random>
#include <string>
#include <vector>

#include "client/cpi/cpi_col.h"
#include "client/cpi/cpi_fld.h"
#include "client/cpi/cpi_qry_int.h"
#include "client/cpi_fixture.h"
#include "core/clk/clk_text.h"
#include "core/cmn/cmn_dec.h"
#include "core/utl/utl_col.h"

namespace {

class cpi_qry_xform_test : public cpi_test {
 protected:
  // Translates one condition on the account type.
  long xform(long op, const char* field, const char* value, cpi_qry_xform* made, ost_ty_trav_cond* out) {
    return cpi_qry_xform_cond(cpi_ty_fcond{static_cast<int32_t>(op), field, value}, ACCOUNT, made, out);
  }
  static std::vector<std::string> texts(long word) {
    std::vector<std::string> all;
    for (const char* t : cpi_col_texts(reinterpret_cast<utl_ty_col*>(word))) all.emplace_back(t ? t : "(null)");
    return all;
  }
  static std::vector<long> longs(long word) {
    auto* col = reinterpret_cast<utl_ty_col*>(word);
    std::vector<long> all;
    for (long i = 0; i < cpi_col_count(col); ++i) {
      void* e = nullptr;
      utl_col_ith(col, i, &e);
      all.push_back(*static_cast<long*>(e));
    }
    return all;
  }
};

// How a caller's operator reaches the store on a text field ("" = refused).
struct text_row {
  long op;
  long code;       // store code, -1 refused
  const char* to;  // value text handed on (null: the caller's pointer)
};

TEST_F(cpi_qry_xform_test, EachOperatorOnATextFieldReachesTheStoreOrIsRefused) {
  const text_row rows[] = {
      {0, 0, nullptr},   {1, 1, nullptr},    {2, 2, nullptr},    {3, 3, nullptr},   {4, 4, nullptr},
      {5, 5, nullptr},   {6, 6, "ab%"},      {7, 6, "%ab"},      {8, 6, "%ab%"},    {9, 9, nullptr},
      {10, -1, nullptr}, {11, 7, "ab%"},     {12, 7, "%ab"},     {13, 7, "%ab%"},   {14, -1, nullptr},
      {15, -1, nullptr}, {16, 8, nullptr},   {17, -1, nullptr},  {18, -1, nullptr}, {19, -1, nullptr},
      {20, -1, nullptr}, {21, -1, nullptr},  {22, -1, nullptr},  {23, -1, nullptr}, {24, -1, nullptr},
      {25, -1, nullptr}, {26, -1, nullptr},  {-1, -1, nullptr},
  };
  const char* value = "ab";
  for (const text_row& r : rows) {
    SCOPED_TRACE(r.op);
    cmn_alrt_clear(nullptr);
    cpi_qry_xform made;
    ost_ty_trav_cond c{-1, -1, -1};
    long st = xform(r.op, "name", value, &made, &c);
    if (r.code < 0) {
      EXPECT_EQ(st, CPI_ALRT_BAD_PARAM);
      EXPECT_EQ(top_text(), "Parameter number '6', 'trav_map' is invalid.\n");
      continue;
    }
    ASSERT_EQ(st, 0);
    EXPECT_EQ(c.field, F_NAME);
    EXPECT_EQ(c.op, r.code);
    if (r.code == 9) EXPECT_EQ(texts(c.value), std::vector<std::string>{"ab"});
    else if (r.to) EXPECT_STREQ(reinterpret_cast<const char*>(c.value), r.to);
    else EXPECT_EQ(c.value, reinterpret_cast<long>(value));
  }
}

TEST_F(cpi_qry_xform_test, EachOperatorOnALongFieldReachesTheStoreOrIsRefused) {
  for (long op = -1; op <= CPI_OP_COUNT; ++op) {
    SCOPED_TRACE(op);
    cmn_alrt_clear(nullptr);
    cpi_qry_xform made;
    ost_ty_trav_cond c{-1, -1, -1};
    long st = xform(op, "size", "12", &made, &c);
    if ((op >= 0 && op <= 5) || op == 9) {
      ASSERT_EQ(st, 0);
      EXPECT_EQ(c.field, F_SIZE);
      EXPECT_EQ(c.op, op);
      if (op == 9) EXPECT_EQ(longs(c.value), std::vector<long>{12});
      else EXPECT_EQ(c.value, 12);
    } else {
      EXPECT_EQ(st, CPI_ALRT_BAD_PARAM);
      EXPECT_EQ(c.value, -1);
    }
  }
}

TEST_F(cpi_qry_xform_test, ValuesAreTypedByTheirField) {
  cpi_qry_xform made;
  ost_ty_trav_cond c{};
  ASSERT_EQ(xform(4, "ratio", "0.5", &made, &c), 0);
  EXPECT_FLOAT_EQ(*reinterpret_cast<const float*>(c.value), 0.5f);
  ASSERT_EQ(xform(1, "weight", "2.25", &made, &c), 0);
  EXPECT_DOUBLE_EQ(*reinterpret_cast<const double*>(c.value), 2.25);
  ASSERT_EQ(xform(2, "balance", "10.75", &made, &c), 0);
  EXPECT_STREQ(reinterpret_cast<const cmn_ty_decimal*>(c.value)->text, "10.75");
  for (const char* field : {"size", "colour"}) {
    SCOPED_TRACE(field);
    long st = xform(4, field, "twelve", &made, &c);
    EXPECT_NE(st, 0);
    EXPECT_EQ(top_code(), st);
  }
  EXPECT_EQ(xform(4, "name", nullptr, &made, &c), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(xform(6, "opened", "01/01/2020 00:00:00", &made, &c), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(xform(9, "opened", "01/01/2020 00:00:00", &made, &c), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(xform(9, "ratio", "1 2", &made, &c), CPI_ALRT_BAD_PARAM);
}

TEST_F(cpi_qry_xform_test, ElevenDateConditionsStayAliveAtOnce) {
  std::vector<std::string> dates;
  std::vector<cpi_ty_fcond> conds;
  for (int i = 0; i < 11; ++i) dates.push_back("01/" + std::string(i < 9 ? "0" : "") + std::to_string(i + 1) + "/2024 00:00:00");
  for (const std::string& d : dates) conds.push_back({CPI_OP_GREATER, "opened", d.c_str()});
  cpi_ty_trav_map map{};
  cpi_qry_trav_map_init(1, &map);
  map.type_name = "account";
  map.cond_count = 11;
  map.conds = conds.data();
  cpi_qry_xform made;
  ASSERT_EQ(cpi_qry_xform_trav_maps(1, &map, cpi_qry_root{}, &made), 0) << alert_texts();
  ASSERT_EQ(made.levels[0].ncond, 11);
  for (int i = 0; i < 11; ++i) {
    clktime expected{};
    ASSERT_EQ(clk_time_str_to_clk(dates[static_cast<size_t>(i)].c_str(), &expected), 0);
    const auto* got = reinterpret_cast<const clktime*>(made.levels[0].conds[i].value);
    EXPECT_EQ(got->day, expected.day) << i;
    EXPECT_EQ(got->ticks, expected.ticks) << i;
  }
}

TEST_F(cpi_qry_xform_test, TwoInListsOnOneLevelKeepTheirOwnTokens) {
  const cpi_ty_fcond conds[] = {{CPI_OP_IN, "name", "(ann, 'bo b')"}, {CPI_OP_IN, "size", "1,2 3"},
                                {CPI_OP_IN, "name", "\"cy\""}};
  cpi_ty_trav_map map{};
  cpi_qry_trav_map_init(1, &map);
  map.type_name = "account";
  map.cond_count = 3;
  map.conds = const_cast<cpi_ty_fcond*>(conds);
  cpi_qry_xform made;
  ASSERT_EQ(cpi_qry_xform_trav_maps(1, &map, cpi_qry_root{}, &made), 0) << alert_texts();
  EXPECT_EQ(texts(made.levels[0].conds[0].value), (std::vector<std::string>{"ann", "bo b"}));
  EXPECT_EQ(longs(made.levels[0].conds[1].value), (std::vector<long>{1, 2, 3}));
  EXPECT_EQ(texts(made.levels[0].conds[2].value), (std::vector<std::string>{"cy"}));
  EXPECT_EQ(made.list_texts, (std::vector<std::string>{"('ann','bo b')", "('1','2','3')", "('cy')"}));
}

TEST_F(cpi_qry_xform_test, EmptyAndLongInLists) {
  cpi_qry_xform made;
  ost_ty_trav_cond c{-1, -1, -1};
  EXPECT_EQ(xform(CPI_OP_IN, "name", " , ,, ", &made, &c), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(xform(CPI_OP_IN, "name", "()", &made, &c), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(xform(CPI_OP_IN, "size", "''", &made, &c), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(c.value, -1);
  std::string list = "(";
  std::vector<std::string> expected;
  for (int i = 0; i < 200; ++i) {
    expected.push_back("name" + std::to_string(i));
    list += (i ? ", '" : "'") + expected.back() + "'";
  }
  list += ")";
  ASSERT_EQ(xform(CPI_OP_IN, "name", list.c_str(), &made, &c), 0);
  EXPECT_EQ(texts(c.value), expected);
  ASSERT_EQ(made.list_texts.size(), 1u);
  EXPECT_EQ(made.list_texts[0].size(), list.size() - 199);  // ", " became ","
  EXPECT_EQ(made.list_texts[0].substr(made.list_texts[0].size() - 10), "'name199')");
}

TEST_F(cpi_qry_xform_test, TheTokeniserSplitsQuotedAndBareTokens) {
  struct row {
    const char* text;
    std::vector<std::string> tokens;
    std::string list;
  } rows[] = {
      {"(abc, 'd e',\"f\")", {"abc", "d e", "f"}, "('abc','d e','f')"},
      {"o'neil, x", {"o'neil", "x"}, "('o''neil','x')"},
      {"'a\"b' c", {"a", "b'", "c"}, "('a','b''','c')"},
      {"'' , \"\" z", {"z"}, "('z')"},
      {"'open", {"open"}, "('open')"},
      {" , ( ) ,", {}, ""},
      {"", {}, ""},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.text);
    std::string list = "untouched";
    utl_ty_col* tokens = nullptr;
    ASSERT_EQ(cpi_qry_in_operand_tokenize(ACCOUNT, "name", r.text, &list, &tokens), 0);
    EXPECT_EQ(list, r.list);
    std::vector<std::string> got;
    for (const char* t : cpi_col_texts(tokens)) got.emplace_back(t);
    EXPECT_EQ(got, r.tokens);
    if (tokens) utl_col_free("t", tokens);
  }
}

TEST_F(cpi_qry_xform_test, AFailedTokenCheckLeavesNoTokens) {
  std::string list;
  utl_ty_col* tokens = nullptr;
  EXPECT_NE(cpi_qry_in_operand_tokenize(ACCOUNT, "size", "1, 2, x3", &list, &tokens), 0);
  EXPECT_EQ(tokens, nullptr);
}

// Reads a list text back: "(" 'a' [,'b'...] ")" with doubled inner quotes.
bool parse_list(const std::string& list, std::vector<std::string>* out) {
  if (list.size() < 2 || list.front() != '(' || list.back() != ')') return false;
  size_t i = 1;
  while (i < list.size() - 1) {
    if (list[i] != '\'') return false;
    std::string token;
    for (++i;; ++i) {
      if (i >= list.size() - 1) return false;
      if (list[i] == '\'' && list[i + 1] == '\'') {
        token += '\'';
        ++i;
      } else if (list[i] == '\'') {
        break;
      } else {
        token += list[i];
      }
    }
    out->push_back(token);
    ++i;
    if (list[i] == ',') ++i;
    else if (i != list.size() - 1) return false;
  }
  return true;
}

TEST_F(cpi_qry_xform_test, RandomAndDamagedInListsTokeniseSafely) {
  std::mt19937 rng(4711);
  const std::string alphabet = "ab 9,()'\"\t%_x";
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    size_t length = rng() % 600;
    for (size_t i = 0; i < length; ++i) text += alphabet[rng() % alphabet.size()];
    SCOPED_TRACE(text);
    std::string list;
    utl_ty_col* tokens = nullptr;
    ASSERT_EQ(cpi_qry_in_operand_tokenize(ACCOUNT, "name", text.c_str(), &list, &tokens), 0);
    std::vector<std::string> got;
    for (const char* t : cpi_col_texts(tokens)) {
      got.emplace_back(t);
      EXPECT_FALSE(got.back().empty());
      EXPECT_NE(text.find(got.back()), std::string::npos);
    }
    std::vector<std::string> back;
    if (got.empty()) {
      EXPECT_EQ(list, "");
    } else {
      ASSERT_TRUE(parse_list(list, &back)) << list;
      EXPECT_EQ(back, got);
    }
    if (tokens) utl_col_free("t", tokens);
  }
}

}  // namespace
