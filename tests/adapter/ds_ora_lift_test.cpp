// Number literals of an INSERT's VALUES lists go to the server as bound
// values: which literals move (and which texts are left alone), that the
// server stores the same values as from the literal text, and that rows
// differing only in such literals share one prepared statement.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapter/ds_ora_fixture.h"
#include "platform/dataservice/ora/ora_lift.h"

namespace {

const std::string kL0 = ":B" + std::to_string(ora_rw::kLiftedMarker);
const std::string kL1 = ":B" + std::to_string(ora_rw::kLiftedMarker + 1);
const std::string kL2 = ":B" + std::to_string(ora_rw::kLiftedMarker + 2);

struct lift_case {
  const char* name;
  std::string in;
  std::string out;                  // empty: the text is left alone
  std::vector<std::string> numbers;  // the lifted literals' texts
};

std::vector<lift_case> lift_cases() {
  return {
      {"WholeAndDecimal", "insert into t (a, b, c) values(:B0, 12, 1.25)",
       "insert into t (a, b, c) values(:B0, " + kL0 + ", " + kL1 + ")", {"12", "1.25"}},
      {"SignedWithBlanks", "INSERT INTO t VALUES ( - 7 ,-0.5)", "INSERT INTO t VALUES ( " + kL0 + " ," + kL1 + ")",
       {"-7", "-0.5"}},
      {"SeveralRows", "INSERT INTO t VALUES (1, 'a'), (2, 'b');", "INSERT INTO t VALUES (" + kL0 + ", 'a'), (" + kL1 +
       ", 'b');", {"1", "2"}},
      {"BeyondSixtyFourBits", "INSERT INTO t VALUES (123456789012345678901234567890)",
       "INSERT INTO t VALUES (" + kL0 + ")", {"123456789012345678901234567890"}},
      {"OnlyTheLoneElements", "insert into t values (f(1), 2 + 3, -4, 'x5', (6), 1e5, .5, 7.)",
       "insert into t values (f(1), 2 + 3, " + kL0 + ", 'x5', (6), 1e5, .5, 7.)", {"-4"}},
      {"ColumnListAndNamesStay", "INSERT INTO t1 (c1, \"2\") VALUES (3, TO_DATE( :B1, 'MM/DD/YYYY'), 4)",
       "INSERT INTO t1 (c1, \"2\") VALUES (" + kL0 + ", TO_DATE( :B1, 'MM/DD/YYYY'), " + kL1 + ")", {"3", "4"}},
      {"QuotesInsideLiterals", "INSERT INTO t VALUES ('it''s (1, 2)', 8)", "INSERT INTO t VALUES ('it''s (1, 2)', " +
       kL0 + ")", {"8"}},
      {"AfterAMinusExpression", "INSERT INTO t VALUES (1 - -5, 9)", "INSERT INTO t VALUES (1 - -5, " + kL0 + ")",
       {"9"}},
      {"TooManyDigits", "INSERT INTO t VALUES (" + std::string(66, '9') + ", 3)", "INSERT INTO t VALUES (" +
       std::string(66, '9') + ", " + kL0 + ")", {"3"}},
      {"NoNumbers", "INSERT INTO t VALUES (:B0, 'a')", "", {}},
      {"NotAnInsert", "UPDATE t SET a = 1 WHERE b = 2", "", {}},
      {"InsertSelect", "INSERT INTO t (a) SELECT 1 FROM dual", "", {}},
      {"SecondStatement", "INSERT INTO t VALUES (1); DELETE t", "", {}},
      {"WordAfterTheList", "INSERT INTO t VALUES (1) RETURNING a INTO :B0", "", {}},
      {"Comment", "INSERT INTO t VALUES (1) -- one", "", {}},
      {"UnclosedLiteral", "INSERT INTO t VALUES (1, 'a", "", {}},
      {"UnbalancedParenthesis", "INSERT INTO t VALUES (1))", "", {}},
      {"LeadingBlock", "BEGIN INSERT INTO t VALUES (1); END;", "", {}},
  };
}

class OraLift : public ::testing::TestWithParam<lift_case> {};

TEST_P(OraLift, MovesTheLoneNumbersOfTheValuesLists) {
  const lift_case& c = GetParam();
  ora_rw::lifted l;
  l.text = "untouched";
  const bool lifted = ora_rw::lift_insert_numbers(c.in, l);
  EXPECT_EQ(lifted, !c.out.empty()) << c.in;
  EXPECT_EQ(l.text, c.out.empty() ? "untouched" : c.out);
  std::vector<std::string> texts;
  for (const ora_rw::lifted_number& n : l.numbers) texts.push_back(n.text);
  EXPECT_EQ(texts, c.numbers);
}

INSTANTIATE_TEST_SUITE_P(Texts, OraLift, ::testing::ValuesIn(lift_cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OraLiftNumbers, WholeNumbersWithinSixtyFourBitsKeepTheirValue) {
  ora_rw::lifted l;
  ASSERT_TRUE(ora_rw::lift_insert_numbers(
      "INSERT INTO t VALUES (-9223372036854775808, 9223372036854775807, 9223372036854775808, 007, 2.0)", l));
  ASSERT_EQ(l.numbers.size(), 5u);
  EXPECT_TRUE(l.numbers[0].whole);
  EXPECT_EQ(l.numbers[0].value, INT64_MIN);
  EXPECT_TRUE(l.numbers[1].whole);
  EXPECT_EQ(l.numbers[1].value, INT64_MAX);
  EXPECT_FALSE(l.numbers[2].whole);  // a decimal, as the server reads the literal
  EXPECT_TRUE(l.numbers[3].whole);
  EXPECT_EQ(l.numbers[3].value, 7);
  EXPECT_FALSE(l.numbers[4].whole);
}

class OraLiftService : public ds_ora_test {
 protected:
  std::string prepares() {
    auto r = query("SHOW SESSION STATUS LIKE 'Com_stmt_prepare'");
    return r->GetRows() == 1 ? cell(*r, 0, 1) : "no status";
  }
};

// Each statement through the service and, as it came, straight on the
// server: both tables hold the same rows.
TEST_F(OraLiftService, TheServerStoresWhatTheLiteralsSay) {
  const char* columns =
      " (objid NUMBER(10) PRIMARY KEY, amount NUMBER(19,2), whole NUMBER(5), label VARCHAR2(80), big NUMBER(38))";
  exec(std::string("CREATE TABLE u") + columns);
  ASSERT_TRUE(db_.run(std::string("CREATE TABLE v") + columns));
  const std::vector<std::string> rows = {
      "(1, 1.25, 7, 42, 123456789012345678901234567890)",
      "(2, -0.5, -3, 007, -1)",
      "(3, 2.5, 2.5, 1.50, 9223372036854775808)",
      "(4, 19.999, -2.5, -0.0, 0), (5, 3, 0, 12345678901234567890123, -9223372036854775808)",
  };
  for (const std::string& r : rows) {
    const std::string values = " (objid, amount, whole, label, big) VALUES " + r;
    ds_error e = error_of([&] { exec("INSERT INTO u" + values); });
    EXPECT_EQ(e.number, 0) << r << ": " << e.text2;
    EXPECT_TRUE(db_.run("INSERT INTO v" + values + ";")) << r;
  }
  const char* select = "SELECT objid, amount, whole, label, big FROM %s ORDER BY objid";
  auto text = [&](const char* table) {
    char sql[128];
    std::snprintf(sql, sizeof sql, select, table);
    return db_.query(sql);
  };
  const testdb::rows stored = text("u");
  EXPECT_EQ(stored.size(), 5u);
  EXPECT_EQ(stored, text("v"));
}

TEST_F(OraLiftService, RowsDifferingInTheirNumbersSharePreparedStatement) {
  exec("CREATE TABLE u (objid NUMBER(10) PRIMARY KEY, amount NUMBER(19,2), kind NUMBER(10))");
  const std::string before = prepares();
  for (int i = 1; i <= 40; ++i) {
    const std::string n = std::to_string(i);
    EXPECT_EQ(run({"insert into u (objid, amount, kind) values(:B0, " + n + ".25, " + n + ")", {{":B0", n, 0}}}), 1);
  }
  const std::string after = prepares();
  EXPECT_EQ(std::stol(after) - std::stol(before), 1) << before << " -> " << after;
  auto r = query("SELECT COUNT(*), SUM(amount), SUM(kind), SUM(objid) FROM u WHERE amount = kind + 0.25");
  EXPECT_EQ(cell(*r, 0, 0), "40");
  EXPECT_EQ(cell(*r, 0, 1), "830.00");
  EXPECT_EQ(cell(*r, 0, 2), "820");
  EXPECT_EQ(cell(*r, 0, 3), "820");
  // A lifted key still meets the table's constraints as the literal did.
  ds_error e = error_of([&] { exec("INSERT INTO u (objid, amount, kind) VALUES (7, 1, 1)"); });
  EXPECT_NE(e.number, 0);
  EXPECT_NE(e.text1.find("ORA-00001"), std::string::npos) << e.text1;
}

}  // namespace
