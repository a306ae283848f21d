// The "is in" and "between" tokenisers and the operator transforms.
#include <random>
#include <string>
#include <vector>

#include "client/client_fixture.h"
#include "client/oab/oab_msg.h"
#include "client/oab/oab_qry.h"
#include "core/cmn/cmn_alrt.h"

namespace {

constexpr long kBadValue = 0x700027;

class oab_qry_tok_test : public client_test {};

TEST_F(oab_qry_tok_test, InOperandsOnTextAndLongFields) {
  const struct {
    const char* path;
    const char* operand;
    const char* expected;  // null: no result
  } rows[] = {{"name", "a, 'b c', d'e", "('a','b c','d''e')"},
              {"rank", "(1, 2,3)", "(1,2,3)"},
              {"name", "''", nullptr},
              {"name", "\"ab'cd\"", "('ab','cd\"')"},
              {"name", "   ,,() ", nullptr},
              {"name", "'unclosed text", "('unclosed text')"},
              {"name", "x\"y", "('x\"y')"}};
  for (const auto& r : rows) {
    const char* out = "unchanged";
    ASSERT_EQ(oab_qry_in_operand_tokenize(CONTACT, "Name", r.path, r.operand, &out), 0) << r.operand;
    if (r.expected == nullptr) {
      EXPECT_EQ(out, nullptr) << r.operand;
    } else {
      ASSERT_NE(out, nullptr) << r.operand;
      EXPECT_STREQ(out, r.expected);
    }
  }
  const char* out = nullptr;
  EXPECT_EQ(oab_qry_in_operand_tokenize(CONTACT, "Rank", "rank", "1, two", &out), kBadValue);
  cmn_alrt_clear(nullptr);
}

TEST_F(oab_qry_tok_test, TheNextTokenRunsToEitherQuote) {
  const char* text = "\"ab'cd\"";
  size_t pos = 0;
  std::string token;
  std::vector<std::string> tokens;
  while (oab_qry_in_operand_next_token(text, &pos, &token)) tokens.push_back(token);
  EXPECT_EQ(tokens, (std::vector<std::string>{"ab", "cd\""}));
}

TEST_F(oab_qry_tok_test, BetweenOperands) {
  const struct {
    const char* operand;
    const char* expected;
  } rows[] = {{"01/01/04 and 02/01/04", "01/01/04 AND 02/01/04"},
              {"3 7", "3 AND 7"},
              {"  3   to   7  extra", "3 AND 7"}};
  for (const auto& r : rows) {
    const char* out = nullptr;
    ASSERT_EQ(oab_qry_bet_operand_tokenize(CONTACT, "Name", "name", r.operand, &out), 0) << r.operand;
    EXPECT_STREQ(out, r.expected);
  }
  const char* out = nullptr;
  EXPECT_EQ(oab_qry_bet_operand_tokenize(CONTACT, "Name", "name", "01/01/04", &out), OAB_QRY_BAD_BETWEEN);
  EXPECT_EQ(core_top_alert_text(), "'BETWEEN' format is invalid. Correct format is: mm/dd/yy  mm/dd/yy");
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(oab_qry_bet_operand_tokenize(CONTACT, "Rank", "rank", "1 and x", &out), kBadValue);
  cmn_alrt_clear(nullptr);
}

TEST_F(oab_qry_tok_test, SimpleToPowerOperators) {
  const struct {
    long op;
    const char* value;
    long pwr;
    const char* pwr_value;
  } rows[] = {{OAB_SQ_LIKE, "%abc%", OAB_PQ_CONTAINS, "abc"},  {OAB_SQ_LIKE, "abc%", OAB_PQ_STARTS, "abc"},
              {OAB_SQ_LIKE, "abc", OAB_PQ_EQ, "abc"},          {OAB_SQ_LIKE, "%abc", OAB_PQ_ENDS, "abc"},
              {OAB_SQ_NOT_LIKE, "%a%", OAB_PQ_NOT_CONTAINS, "a"}, {OAB_SQ_NOT_LIKE, "a", OAB_PQ_NE, "a"},
              {OAB_SQ_NOT_LIKE, "a%", OAB_PQ_NOT_STARTS, "a"}, {OAB_SQ_NOT_LIKE, "%a", OAB_PQ_NOT_ENDS, "a"},
              {OAB_SQ_SOUNDS, "%s%", OAB_PQ_SOUNDS, "%s%"},    {OAB_SQ_GE, "%x%", 1, "x"},
              {OAB_SQ_NE, "q", 5, "q"}};
  for (const auto& r : rows) {
    long pwr = -1;
    std::string value;
    ASSERT_EQ(oab_qry_xform_string_val(r.op, r.value, &pwr, &value), 0) << r.value;
    EXPECT_EQ(pwr, r.pwr) << r.op << " " << r.value;
    EXPECT_EQ(value, r.pwr_value);
  }
  long pwr = -1;
  std::string value;
  ASSERT_EQ(oab_qry_xform_long_val(OAB_SQ_LIKE, -42, &pwr, &value), 0);
  EXPECT_EQ(pwr, OAB_PQ_EQ);
  EXPECT_EQ(value, "-42");
  for (long op : {9L, 10L, 11L, -1L}) {
    EXPECT_EQ(oab_qry_xform_string_val(op, "v", &pwr, &value), OAB_QRY_BAD_OPERATOR) << op;
    cmn_alrt_clear(nullptr);
  }
}

TEST_F(oab_qry_tok_test, PowerToSimpleOperatorsAndRefusals) {
  const struct {
    long pwr;
    long op;
    const char* value;
  } rows[] = {{0, 0, "v"},
              {OAB_PQ_STARTS, OAB_SQ_LIKE, "v%"},
              {OAB_PQ_ENDS, OAB_SQ_LIKE, "%v"},
              {OAB_PQ_CONTAINS, OAB_SQ_LIKE, "%v%"},
              {OAB_PQ_NOT_STARTS, OAB_SQ_NOT_LIKE, "v%"},
              {OAB_PQ_NOT_ENDS, OAB_SQ_NOT_LIKE, "%v"},
              {OAB_PQ_NOT_CONTAINS, OAB_SQ_NOT_LIKE, "%v%"},
              {OAB_PQ_SOUNDS, OAB_SQ_SOUNDS, "v"}};
  for (const auto& r : rows) {
    long op = -1;
    std::string value;
    ASSERT_EQ(oab_qry_simple_xform_stringv(r.pwr, "v", &op, &value), 0) << r.pwr;
    EXPECT_EQ(op, r.op) << r.pwr;
    EXPECT_EQ(value, r.value) << r.pwr;
  }
  long op = -1;
  long number = 0;
  ASSERT_EQ(oab_qry_simple_xform_longv(OAB_PQ_NE, "17", &op, &number), 0);
  EXPECT_EQ(op, OAB_SQ_NE);
  EXPECT_EQ(number, 17);
  for (long pwr : {OAB_PQ_IN, OAB_PQ_BETWEEN, OAB_PQ_NOT_BETWEEN, OAB_PQ_NOT_IN, 17L}) {
    std::string value = "kept";
    op = -1;
    EXPECT_EQ(oab_qry_simple_xform_stringv(pwr, "v", &op, &value), OAB_QRY_BAD_OPERATOR) << pwr;
    EXPECT_EQ(op, -1);  // never turned into "equals"
    EXPECT_EQ(oab_qry_simple_xform_longv(pwr, "1", &op, &number), OAB_QRY_BAD_OPERATOR) << pwr;
    cmn_alrt_clear(nullptr);
  }
}

// Every quote inside a quoted token of a well-formed "is in" result is
// doubled: reading it back gives tokens without a lone quote.
bool well_formed(const std::string& s) {
  if (s.size() < 2 || s.front() != '(' || s.back() != ')') return false;
  size_t i = 1;
  while (i < s.size() - 1) {
    if (s[i] != '\'') return false;
    ++i;
    for (;;) {
      if (i >= s.size() - 1) return false;
      if (s[i] == '\'' && s[i + 1] == '\'') {
        i += 2;
        continue;
      }
      if (s[i] == '\'') break;
      ++i;
    }
    ++i;  // closing quote
    if (i < s.size() - 1 && s[i++] != ',') return false;
  }
  return true;
}

TEST_F(oab_qry_tok_test, SeededFuzzOfBothTokenisers) {
  std::mt19937 rng(20261211);
  const std::string alphabet = "ab '\",() \t%x";
  for (int round = 0; round < 400; ++round) {
    std::string operand;
    size_t length = rng() % 8 == 0 ? 2000 + rng() % 3000 : rng() % 40;
    for (size_t i = 0; i < length; ++i) operand += alphabet[rng() % alphabet.size()];
    if (round % 50 == 0) operand = std::string(rng() % 300, ',');
    const char* out = nullptr;
    long st = oab_qry_in_operand_tokenize(CONTACT, "Name", "name", operand.c_str(), &out);
    ASSERT_EQ(st, 0) << operand;
    if (out != nullptr) {
      EXPECT_TRUE(well_formed(out)) << operand << " -> " << out;
    }
    const char* bet = nullptr;
    st = oab_qry_bet_operand_tokenize(CONTACT, "Name", "name", operand.c_str(), &bet);
    EXPECT_TRUE(st == 0 || st == OAB_QRY_BAD_BETWEEN) << st;
    if (st == 0) {
      EXPECT_NE(std::string(bet).find(" AND "), std::string::npos);
    }
    cmn_alrt_clear(nullptr);
  }
}

}  // namespace
