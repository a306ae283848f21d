// Result rows of the Oracle-dialect service: whole rowsets and row by row
// give the same cells, and date items of a select list go to the server as
// bare columns only where the answer stays the same.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapter/ds_ora_fixture.h"
#include "platform/dataservice/ora/ora_sel.h"

namespace {

constexpr const char* kFmt = "'MM/DD/YYYY HH24:MI:SS'";

TEST(OraSelectDates, DateItemsTakenOnlyWhereTheAnswerStaysTheSame) {
  const std::string to_char = std::string("TO_CHAR(opened, ") + kFmt + ")";
  const struct {
    std::string sql;
    std::string want;  // empty: nothing taken
    size_t items;
  } cases[] = {
      {"select objid, " + to_char + " from t", "select objid, opened from t", 1},
      {"select " + to_char + ",to_char(c.closed, " + kFmt + ") from t c where x = 1",
       "select opened,c.closed from t c where x = 1", 2},
      {"select objid, " + to_char + " from t order by objid desc", "select objid, opened from t order by objid desc", 1},
      // Compared, grouped or sorted by the item's text: kept.
      {"select DISTINCT " + to_char + " from t", "", 0},
      {"select " + to_char + " from t order by 1", "", 0},
      {"select " + to_char + " from t order by " + to_char, "", 0},
      {"select " + to_char + ", count(*) from t group by " + to_char, "", 0},
      {"select " + to_char + " from t union select " + to_char + " from u", "", 0},
      // Not that call on a column: kept.
      {"select TO_CHAR(opened, 'MM/DD/YYYY') from t", "", 0},
      {"select TO_CHAR(opened + 1, " + std::string(kFmt) + ") from t", "", 0},
      {"select TO_CHAR(opened, " + std::string(kFmt) + ") || 'x' from t", "", 0},
      {"select TO_CHAR(opened, " + std::string(kFmt) + ") d from t", "", 0},
      {"select objid from t where " + to_char + " = '01/01/2000 00:00:00'", "", 0},
      {"select (select " + to_char + " from u) from t", "", 0},
      {"select '" + std::string("TO_CHAR(opened, x)") + "' from t", "", 0},
      {"update t set a = 1", "", 0},
  };
  for (const auto& c : cases) {
    ora_rw::plain_dates got = ora_rw::plain_date_items(c.sql);
    EXPECT_EQ(got.sql, c.want) << c.sql;
    EXPECT_EQ(got.items.size(), c.items) << c.sql;
  }
  ora_rw::plain_dates two = ora_rw::plain_date_items("select a, " + to_char + " , b from t");
  ASSERT_EQ(two.items.size(), 1u);
  EXPECT_EQ(two.items[0].first, 1u);
  EXPECT_EQ(two.items[0].second, to_char);
}

class OraRows : public ds_ora_test {
 protected:
  void SetUp() override {
    ds_ora_test::SetUp();
    exec("CREATE TABLE d (objid NUMBER(10), name VARCHAR2(80), opened DATE, amount NUMBER(19,2))");
    exec("INSERT INTO d VALUES (1, 'a name longer than sixteen', TO_DATE('03/05/2004 14:07:09', " +
         std::string(kFmt) + "), 1.25)");
    exec("INSERT INTO d VALUES (2, NULL, NULL, NULL)");
    exec("INSERT INTO d VALUES (3, 'c', TO_DATE('12/31/1999 23:59:58', " + std::string(kFmt) + "), -3.5)");
  }
  using table = std::vector<std::vector<std::string>>;
  static table cells(KAdpUtlRecord& r, long rows) {
    table out;
    for (long i = 0; i < rows; ++i) {
      out.emplace_back();
      for (long j = 0; j < r.GetColumns(); ++j) out.back().push_back(cell(r, i, j));
    }
    return out;
  }
  table whole(const ds_stmt& s, std::vector<std::string>* names = nullptr) {
    KAdpUtlRecord rec;
    run(s);
    svc_->MoveRowset(rec, 0, 0);
    for (long j = 0; names != nullptr && j < rec.GetColumns(); ++j) names->push_back(rec.GetColName(j));
    return cells(rec, rec.GetRows());
  }
  table by_row(const ds_stmt& s) {
    KAdpUtlRecord rec;
    run(s);
    table out;
    while (svc_->MoveNextRow(rec) == 1) {
      EXPECT_EQ(rec.GetRows(), 1);
      out.push_back(cells(rec, 1)[0]);
    }
    EXPECT_EQ(svc_->MoveNextRow(rec), 0);
    return out;
  }
};

TEST_F(OraRows, RowByRowGivesTheCellsOfTheWholeRowset) {
  const std::string to_char = std::string("TO_CHAR(opened, ") + kFmt + ")";
  const table want = {{"1", "a name longer than sixteen", "03/05/2004 14:07:09", "1.25"},
                      {"2", "<null>", "<null>", "<null>"},
                      {"3", "c", "12/31/1999 23:59:58", "-3.50"}};
  const ds_stmt stmts[] = {
      {"SELECT objid, name, opened, amount FROM d ORDER BY objid", {}},
      {"SELECT objid, name, " + to_char + ", amount FROM d ORDER BY objid", {}},
      {"SELECT objid, name, " + to_char + ", amount FROM d WHERE objid > :B0 ORDER BY objid", {{":B0", "0"}}},
  };
  for (const auto& s : stmts) {
    std::vector<std::string> names;
    EXPECT_EQ(whole(s, &names), want) << s.sql;
    EXPECT_EQ(by_row(s), want) << s.sql;
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[2], s.sql.find("TO_CHAR") != std::string::npos ? to_char : std::string("opened")) << s.sql;
  }
  // Sorted by the item's text: the server's formatted texts decide the order.
  table sorted = whole({"SELECT " + to_char + " FROM d WHERE opened IS NOT NULL ORDER BY 1", {}});
  EXPECT_EQ(sorted, (table{{"03/05/2004 14:07:09"}, {"12/31/1999 23:59:58"}}));
}

TEST_F(OraRows, IntegerColumnsReadTheSameWithAndWithoutBoundValues) {
  // A statement with bound values reads integers as binary numbers, one
  // without as texts: both give the same cells, NULL and extremes included
  // (a NULL in a column read as longs reads 0; wider columns stay texts).
  exec("CREATE TABLE n (k INT, a SMALLINT, b BIGINT, c BIGINT UNSIGNED, d TINYINT)");
  exec("INSERT INTO n VALUES (1, -32768, -9223372036854775807, 18446744073709551615, -128)");
  exec("INSERT INTO n VALUES (2, NULL, NULL, NULL, NULL)");
  exec("INSERT INTO n VALUES (3, 7, 0, 0, 127)");
  const table want = {{"1", "-32768", "-9223372036854775807", "18446744073709551615", "-128"},
                      {"2", "0", "<null>", "<null>", "0"},
                      {"3", "7", "0", "0", "127"}};
  const ds_stmt stmts[] = {
      {"SELECT k, a, b, c, d FROM n ORDER BY k", {}},
      {"SELECT k, a, b, c, d FROM n WHERE k > :B0 ORDER BY k", {{":B0", "0"}}},
  };
  for (const auto& s : stmts) {
    EXPECT_EQ(whole(s), want) << s.sql;
    EXPECT_EQ(by_row(s), want) << s.sql;
  }
}

TEST_F(OraRows, ADateFormatOnANumberAnswersAsTheServerDoes) {
  // Not a date column: the text runs as written, so the answer (or the
  // failure) is the server's own.
  const std::string item = std::string("TO_CHAR(objid, ") + kFmt + ")";
  table plain, kept;
  ds_error e1 = error_of([&] { plain = whole({"SELECT " + item + " FROM d WHERE objid = 1", {}}); });
  ds_error e2 = error_of([&] { kept = whole({"SELECT DISTINCT " + item + " FROM d WHERE objid = 1", {}}); });
  EXPECT_EQ(e1.number, e2.number);
  EXPECT_EQ(plain, kept);
}

TEST_F(OraRows, ALongTooWideForItsCellStopsTheRowAndTheEndStaysTheEnd) {
  exec("INSERT INTO d VALUES (4, 'wide', NULL, NULL)");
  exec("UPDATE d SET objid = 3000000000 WHERE objid = 4");
  KAdpUtlRecord rec;
  rec.SetColType(0, 0, "objid", KCLASSIC::UTL_DB_LONG);
  run({"SELECT objid FROM d ORDER BY objid", {}});
  long moved = 0;
  for (int i = 0; i < 3; ++i) moved += svc_->MoveNextRow(rec);
  EXPECT_EQ(moved, 3);
  ds_error e = error_of([&] { svc_->MoveNextRow(rec); });
  EXPECT_EQ(e.number, 0x8B00134);
  EXPECT_EQ(svc_->MoveNextRow(rec), 0);
  KAdpUtlRecord none;
  run({"UPDATE d SET name = 'x' WHERE objid = 1", {}});
  EXPECT_EQ(svc_->MoveNextRow(none), 0);
}

}  // namespace
