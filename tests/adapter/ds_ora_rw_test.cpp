// The Oracle-dialect service's rewrites and error texts, without a server:
// each rule on the text it is made for, its neighbours it must leave alone,
// and text inside literals and comments, which no rule touches.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/dataservice/ora/ora_err.h"
#include "platform/dataservice/ora/ora_rw.h"

namespace {

struct rw_case {
  const char* name;
  const char* in;
  const char* out;
};

class OraRewrite : public ::testing::TestWithParam<rw_case> {};

TEST_P(OraRewrite, GivesTheMariaDbText) {
  const rw_case& c = GetParam();
  ora_rw::result r = ora_rw::rewrite(c.in);
  EXPECT_FALSE(r.skip);
  EXPECT_EQ(r.sql, c.out) << c.in;
}

const rw_case kRules[] = {
    {"EmptyClobDefault", "ALTER TABLE t ADD (c CLOB DEFAULT EMPTY_CLOB())", "ALTER TABLE t ADD (c CLOB DEFAULT '')"},
    {"EmptyClobCallStays", "INSERT INTO t VALUES (EMPTY_CLOB())", "INSERT INTO t VALUES (EMPTY_CLOB())"},
    {"SqlColumnQuoted", "SELECT sql, SQL_x FROM t WHERE t.Sql = 1", "SELECT \"sql\", SQL_x FROM t WHERE t.\"sql\" = 1"},
    {"DeleteGetsFrom", "DELETE table_x WHERE objid = 3", "DELETE FROM table_x WHERE objid = 3"},
    {"DeleteFromStays", "delete from t", "delete from t"},
    {"DeleteInABlockGetsFrom", "BEGIN\nDELETE t WHERE a = 1;\nDELETE  u WHERE b = 2;\nDELETE FROM v; END;",
     "BEGIN\nDELETE FROM t WHERE a = 1;\nDELETE FROM  u WHERE b = 2;\nDELETE FROM v; END;"},
    {"SelectIntoSameName", "SELECT dev INTO dev FROM table_c WHERE objid = 1",
     "SELECT table_c.dev INTO dev FROM table_c WHERE objid = 1"},
    {"SelectIntoOtherName", "SELECT dev INTO d FROM t", "SELECT dev INTO d FROM t"},
    {"RenameGetsTable", "RENAME a TO b", "RENAME TABLE a TO b"},
    {"RenameTableStays", "RENAME TABLE a TO b", "RENAME TABLE a TO b"},
    {"StorageDropped", "CREATE TABLE t (a INT) INITRANS 2 MAXTRANS 255 STORAGE (INITIAL 10K NEXT 10K)",
     "CREATE TABLE t (a INT)"},
    {"PctfreeDropped", "CREATE INDEX i ON t (a) PCTFREE 10", "CREATE INDEX i ON t (a)"},
    {"BlockCall", "begin rl_x(:B0, :B1, 'a;b'); end;", "CALL rl_x(? , ? , 'a;b')"},
    {"BlockCallNoArgs", "BEGIN sa.p; END;", "CALL sa.p"},
    {"SysdatePlusDays", "SELECT sysdate + 1 FROM dual", "SELECT sysdate + INTERVAL 86400 SECOND FROM dual"},
    {"SysdateMinusFraction", "WHERE d > (sysdate-0.500000)", "WHERE d > (sysdate-INTERVAL 43200 SECOND)"},
    {"SysdateNegativeDays", "WHERE d < sysdate+-2.000000", "WHERE d < sysdate+INTERVAL -172800 SECOND"},
    {"SysdateParenthesised", "TO_CHAR((sysdate - (0.041667)), 'HH24')",
     "TO_CHAR((sysdate - INTERVAL 3600 SECOND), 'HH24')"},
    {"MidnightForm",
     "d >= ((sysdate+-1.000000)-((sysdate+ -1.000000)-(to_date(to_char((sysdate + -1.000000),'DD/MM/YYYY'),"
     "'DD/MM/YYYY')))+ 0.000000) and (d < 1)",
     "d >= (CAST(DATE(sysdate + INTERVAL -86400 SECOND) AS DATETIME)+ INTERVAL 0 SECOND) and (d < 1)"},
    {"MinusNotASign", "SELECT a -1, b--1\n FROM t", "SELECT a -1, b--1\n FROM t"},
    {"SysdateAloneStays", "SELECT sysdate FROM dual", "SELECT sysdate FROM dual"},
    {"LoneEmptyLiteral", "UPDATE t SET a = '', b = 'x''y', c = ' '", "UPDATE t SET a = NULL, b = 'x''y', c = ' '"},
    {"Markers", "INSERT INTO t VALUES (:B0, :B12, TO_DATE( :B1, 'MM/DD/YYYY'))",
     "INSERT INTO t VALUES (? , ? , TO_DATE( ? , 'MM/DD/YYYY'))"},
    {"NotMarkers", "BEGIN :new.a := :old.b; x := 1; END;", "BEGIN :new.a := :old.b; x := 1; END;"},
    {"TwoStatements", "INSERT INTO t VALUES (1); UPDATE t SET a = 2;",
     "BEGIN INSERT INTO t VALUES (1); UPDATE t SET a = 2; END;"},
    {"TwoStatementsEachRuled", "DELETE t; DELETE u", "BEGIN DELETE FROM t; DELETE FROM u; END;"},
    {"TrailingSemicolonDropped", "SELECT 1 FROM dual;", "SELECT 1 FROM dual"},
    {"ProcedureKeptWhole", "CREATE OR REPLACE PROCEDURE p AS BEGIN DELETE t; END;",
     "CREATE OR REPLACE PROCEDURE p AS BEGIN DELETE t; END;"},
    {"LiteralsUntouched", "SELECT 'sql; DELETE t :B1 sysdate + 1' FROM dual",
     "SELECT 'sql; DELETE t :B1 sysdate + 1' FROM dual"},
    {"CommentsUntouched", "SELECT 1 /* sql :B1; */ FROM dual -- ''; sysdate + 1", "SELECT 1 /* sql :B1; */ FROM dual -- ''; sysdate + 1"},
    {"QuotedNamesUntouched", "SELECT \"sql\", \"a;b\" FROM t", "SELECT \"sql\", \"a;b\" FROM t"},
    {"NoRuleFits", "SELECT a FROM t WHERE b = 1 OR c.d = e.f (+)", "SELECT a FROM t WHERE b = 1 OR c.d = e.f (+)"},
    {"OuterJoinRight", "SELECT a.x FROM table_a a, table_b b WHERE a.objid = b.fk (+) AND a.k = 1 ORDER BY a.x",
     "SELECT a.x FROM table_a a LEFT JOIN table_b b ON a.objid = b.fk WHERE a.k = 1 ORDER BY a.x"},
    {"OuterJoinLeft", "SELECT * FROM p, f WHERE p.objid (+) = f.k", "SELECT * FROM f LEFT JOIN p ON p.objid = f.k"},
    {"OuterJoinChain", "SELECT 1 FROM a, b, c, d WHERE a.id = b.a (+) AND b.id = c.b (+) AND b.t (+) = 5 AND a.id = d.a",
     "SELECT 1 FROM a CROSS JOIN d LEFT JOIN b ON a.id = b.a AND b.t = 5 LEFT JOIN c ON b.id = c.b "
     "WHERE a.id = d.a"},
    {"OuterJoinView",
     "create view v\n (a,b)\n as select table_x.name,table_y.name\n from table_x,table_y\n "
     "where table_x.objid = table_y.x2y (+)\n ",
     "create view v\n (a,b)\n as select table_x.name,table_y.name\n FROM table_x LEFT JOIN table_y ON "
     "table_x.objid = table_y.x2y"},
    {"CommentAfterAStatementInAList", "DELETE a -- first\n; DELETE b -- second",
     "BEGIN DELETE FROM a; -- first\n DELETE FROM b; -- second\n END;"},
    {"CommentOnlyPartKeptInAList", "DELETE a; -- note\n; DELETE b", "BEGIN DELETE FROM a; -- note\n DELETE FROM b; END;"},
    {"OpenLiteralInAListSentAsItCame", "DELETE a; SELECT 'x; y", "DELETE a; SELECT 'x; y"},
    {"OpenCommentInAListSentAsItCame", "DELETE a; DELETE b /* x", "DELETE a; DELETE b /* x"},
    {"NationalEmptyLiteral", "UPDATE t SET a = N'', b = n'', c = N'x'", "UPDATE t SET a = NULL, b = NULL, c = N'x'"},
    {"EmptyLiteralAfterAWord", "SELECT x''", "SELECT x NULL"},
    {"SqlColumnAfterAQuotedName", "SELECT \"a\"SQL FROM t", "SELECT \"a\" \"sql\" FROM t"},
    {"SqlColumnBeforeAQuotedName", "SELECT SQL\"a\" FROM t", "SELECT \"sql\" \"a\" FROM t"},
    {"SysdateParenthesisedBeforeAWord", "SELECT sysdate-(5)NULL", "SELECT sysdate-INTERVAL 432000 SECOND NULL"},
    {"SysdateDaysBeforeAWord", "SELECT sysdate+1x FROM t", "SELECT sysdate+INTERVAL 86400 SECOND x FROM t"},
    {"MarkerTooLongStays", "SELECT :B12345678901234567890 FROM t", "SELECT :B12345678901234567890 FROM t"},
    {"ImplicitCursorIsNoColumn", "BEGIN UPDATE t SET a = 1; IF SQL%ROWCOUNT <= 0 THEN x; END IF; END;",
     "BEGIN UPDATE t SET a = 1; IF SQL%ROWCOUNT <= 0 THEN x; END IF; END;"},
    {"ToCharOfOneArgument", "SELECT CONCAT('1 c ', TO_CHAR(LENGTH(TO_CHAR(c+1)))) FROM t",
     "SELECT CONCAT('1 c ', CAST(LENGTH(CAST(c+1 AS CHAR)) AS CHAR)) FROM t"},
    {"ToCharWithAFormatStays", "SELECT to_char(d, 'MM/DD/YYYY'), TO_CHAR(f(a, b)) FROM t",
     "SELECT to_char(d, 'MM/DD/YYYY'), CAST(f(a, b) AS CHAR) FROM t"},
    {"OuterJoinUnknownTableStays", "SELECT 1 FROM a WHERE a.id = z.a (+)", "SELECT 1 FROM a WHERE a.id = z.a (+)"},
    // The views the Oracle dialect writes.
    {"OuterJoinViewTypeTestOnTheOptionalSide",
     "create view table_v\n (site, first, body)\n as select table_s.name, table_c.first_name,\n table_n.body\n"
     " from table_site table_s, table_contact table_c, table_note table_n\n"
     " where table_s.objid = table_c.contact2site\n AND table_c.objid = table_n.group2g (+)\n"
     " AND table_n.gr_type_g (+) = 10\n ",
     "create view table_v\n (site, first, body)\n as select table_s.name, table_c.first_name,\n table_n.body\n"
     " FROM table_site table_s CROSS JOIN table_contact table_c LEFT JOIN table_note table_n ON "
     "table_c.objid = table_n.group2g AND table_n.gr_type_g = 10 WHERE table_s.objid = table_c.contact2site"},
    {"OuterJoinViewPrimaryOptionalKeepsTheTypeTestInWhere",
     "create view table_v\n (body, first)\n as select table_note.body, table_contact.first_name\n"
     " from table_note, table_contact\n where table_contact.objid (+) = table_note.group2g\n"
     " AND table_note.gr_type_g = 10\n ",
     "create view table_v\n (body, first)\n as select table_note.body, table_contact.first_name\n"
     " FROM table_note LEFT JOIN table_contact ON table_contact.objid = table_note.group2g "
     "WHERE table_note.gr_type_g = 10"},
    {"OuterJoinOptionalTablesOnBothSides",
     "SELECT 1 FROM a, b, c WHERE a.objid (+) = b.k AND b.objid = c.k (+)",
     "SELECT 1 FROM b LEFT JOIN a ON a.objid = b.k LEFT JOIN c ON b.objid = c.k"},
    {"OuterJoinAfterALinkTable",
     "create view v\n (l, s)\n as select table_tag.label, table_site.name\n"
     " from mtm_contact1_tag0, table_contact, table_tag, table_site\n"
     " where table_contact.objid = mtm_contact1_tag0.contact2tag\n"
     " AND mtm_contact1_tag0.tag2contact = table_tag.objid \n AND table_site.objid (+) = table_contact.contact2site\n ",
     "create view v\n (l, s)\n as select table_tag.label, table_site.name\n"
     " FROM mtm_contact1_tag0 CROSS JOIN table_contact CROSS JOIN table_tag LEFT JOIN table_site ON "
     "table_site.objid = table_contact.contact2site WHERE table_contact.objid = mtm_contact1_tag0.contact2tag AND "
     "mtm_contact1_tag0.tag2contact = table_tag.objid"},
    {"OuterJoinOptionalTableAfterTheOneItNames",
     "SELECT 1 FROM c, b, a WHERE b.id = c.b (+) AND a.id = b.a (+)",
     "SELECT 1 FROM a LEFT JOIN b ON a.id = b.a LEFT JOIN c ON b.id = c.b"},
    // Any other mark is sent as it came.
    {"OuterJoinMarkInASubqueryStays", "SELECT 1 FROM a, b WHERE a.x = (SELECT MAX(b.y) FROM c WHERE c.z = b.w (+))",
     "SELECT 1 FROM a, b WHERE a.x = (SELECT MAX(b.y) FROM c WHERE c.z = b.w (+))"},
    {"OuterJoinTwoMarksStay", "SELECT 1 FROM a, b WHERE a.x (+) = b.y (+)",
     "SELECT 1 FROM a, b WHERE a.x (+) = b.y (+)"},
    {"OuterJoinMarkOnAComparisonStays", "SELECT 1 FROM a, b WHERE a.x = b.y AND b.z (+) > 3",
     "SELECT 1 FROM a, b WHERE a.x = b.y AND b.z (+) > 3"},
    {"OuterJoinMarkOnAConstantStays", "SELECT 1 FROM a, b WHERE a.x = b.y AND a.z = 5 (+)",
     "SELECT 1 FROM a, b WHERE a.x = b.y AND a.z = 5 (+)"},
    {"OuterJoinMarkInParenthesesStays", "SELECT 1 FROM a, b WHERE (a.x = b.y (+))",
     "SELECT 1 FROM a, b WHERE (a.x = b.y (+))"},
    {"OuterJoinCycleStays", "SELECT 1 FROM a, b WHERE a.x = b.y (+) AND b.z = a.w (+)",
     "SELECT 1 FROM a, b WHERE a.x = b.y (+) AND b.z = a.w (+)"},
    {"OuterJoinTwoSelectsStay", "SELECT 1 FROM a, b WHERE a.x = b.y (+) UNION SELECT 2 FROM c",
     "SELECT 1 FROM a, b WHERE a.x = b.y (+) UNION SELECT 2 FROM c"},
    // A DEFAULT takes a constant: the server refuses a stored function there.
    {"DateDefault", "ALTER TABLE t ADD (d DATE DEFAULT '12/25/2026 10:30:00' NULL)",
     "ALTER TABLE t ADD (d DATE DEFAULT '2026-12-25 10:30:00' NULL)"},
    {"DateDefaultOfANewTable", "CREATE TABLE t (a NUMBER, d DATE default '01/02/1753 23:59:58' NOT NULL)",
     "CREATE TABLE t (a NUMBER, d DATE default '1753-01-02 23:59:58' NOT NULL)"},
    {"DateSetValues", "update t set\n a = 'x',\n  d = '01/01/1753 00:00:00', e = '02/03/2004 05:06:07'\n",
     "update t set\n a = 'x',\n  d = TO_DATE('01/01/1753 00:00:00', 'MM/DD/YYYY HH24:MI:SS'), e = TO_DATE("
     "'02/03/2004 05:06:07', 'MM/DD/YYYY HH24:MI:SS')"},
    {"DateInABlockUpdate", "BEGIN UPDATE t SET d = '01/02/2003 04:05:06'; END;",
     "BEGIN UPDATE t SET d = TO_DATE('01/02/2003 04:05:06', 'MM/DD/YYYY HH24:MI:SS'); END;"},
    // Only a value that is wholly such a date, only where a value is set.
    {"DateInWhereStays", "UPDATE t SET a = 1 WHERE d = '01/02/2003 04:05:06'",
     "UPDATE t SET a = 1 WHERE d = '01/02/2003 04:05:06'"},
    {"DateConvertedStays", "UPDATE t SET d = TO_DATE('01/02/2003 04:05:06', 'MM/DD/YYYY HH24:MI:SS')",
     "UPDATE t SET d = TO_DATE('01/02/2003 04:05:06', 'MM/DD/YYYY HH24:MI:SS')"},
    {"OtherDateShapeStays", "UPDATE t SET d = '2003-01-02 04:05:06', e = '1/2/2003 04:05:06'",
     "UPDATE t SET d = '2003-01-02 04:05:06', e = '1/2/2003 04:05:06'"},
    {"DateInsertValueStays", "INSERT INTO t (d) VALUES ('01/02/2003 04:05:06')",
     "INSERT INTO t (d) VALUES ('01/02/2003 04:05:06')"},
    // A block's COMMIT or ROLLBACK leaves the rest of the block in a new
    // transaction, as on Oracle.
    {"BlockCommitChains",
     "BEGIN UPDATE t SET a = 1; COMMIT; FOR r IN c LOOP commit work; END LOOP; if x then rollback; end if; END;",
     "BEGIN UPDATE t SET a = 1; COMMIT AND CHAIN; FOR r IN c LOOP commit work AND CHAIN; END LOOP; if x then "
     "rollback AND CHAIN; end if; END;"},
    {"BlockRollbackToStays", "BEGIN SAVEPOINT s; ROLLBACK TO s; COMMIT AND CHAIN; END;",
     "BEGIN SAVEPOINT s; ROLLBACK TO s; COMMIT AND CHAIN; END;"},
    {"CommitOutsideABlockStays", "COMMIT", "COMMIT"},
    {"StoredCodeCommitStays", "CREATE PROCEDURE p AS BEGIN COMMIT; END;", "CREATE PROCEDURE p AS BEGIN COMMIT; END;"},
};

INSTANTIATE_TEST_SUITE_P(Rules, OraRewrite, ::testing::ValuesIn(kRules),
                         [](const ::testing::TestParamInfo<rw_case>& i) { return std::string(i.param.name); });

TEST(OraRewriteMarkers, KeepTheVariableNumbersInTextOrder) {
  ora_rw::result r = ora_rw::rewrite("UPDATE t SET a = :B2, b = ':B9' WHERE c = :B0 AND d = :B10");
  EXPECT_EQ(r.markers, (std::vector<long>{2, 0, 10}));
  EXPECT_EQ(ora_rw::marker_number(":B7"), 7);
  EXPECT_EQ(ora_rw::marker_number("b:B12"), 12);
  EXPECT_EQ(ora_rw::marker_number("@V1"), -1);
  EXPECT_EQ(ora_rw::marker_number(":Bx"), -1);
  EXPECT_EQ(ora_rw::marker_number(":B999999999999999999"), 999999999999999999L);
  EXPECT_EQ(ora_rw::marker_number(":B9999999999999999999"), -1);
  EXPECT_EQ(ora_rw::marker_number(":B99999999999999999999999"), -1);
  EXPECT_TRUE(ora_rw::rewrite("SELECT :B99999999999999999999999 FROM t").markers.empty());
}

TEST(OraRewriteSkip, SynonymsAndSessionSettingsSucceedUnrun) {
  for (const char* s : {"CREATE PUBLIC SYNONYM x FOR sa.x", "create or replace public synonym x for y",
                        "DROP PUBLIC SYNONYM x", "ALTER SESSION SET NLS_DATE_FORMAT = 'MM/DD/YYYY'",
                        "grant select on table_v to PUBLIC"}) {
    EXPECT_TRUE(ora_rw::rewrite(s).skip) << s;
  }
  for (const char* s : {"CREATE SYNONYM x FOR y", "ALTER TABLE session ADD (a INT)",
                        "grant select on public to orbisan_user"}) {
    EXPECT_FALSE(ora_rw::rewrite(s).skip) << s;
  }
}

TEST(OraRewriteKinds, TransactionStatementsAndBlocksAreRecognised) {
  struct k {
    const char* sql;
    ora_rw::kind what;
    bool block;
  };
  const k cases[] = {
      {"COMMIT", ora_rw::kind::commit, false},
      {"commit work;", ora_rw::kind::commit, false},
      {"ROLLBACK", ora_rw::kind::rollback, false},
      {"ROLLBACK TO SAVEPOINT s1", ora_rw::kind::rollback_to, false},
      {"ROLLBACK WORK TO s1", ora_rw::kind::rollback_to, false},
      {"SAVEPOINT s1", ora_rw::kind::savepoint, false},
      {"begin p(1); end;", ora_rw::kind::block_call, true},
      {"BEGIN UPDATE t SET a = 1; DELETE FROM u; END;", ora_rw::kind::plain, true},
      {"UPDATE t SET a = 1; DELETE FROM u", ora_rw::kind::plain, true},
      {"UPDATE t SET a = 1", ora_rw::kind::plain, false},
      {"CREATE PROCEDURE p AS BEGIN NULL; END;", ora_rw::kind::plain, false},
  };
  for (const k& c : cases) {
    ora_rw::result r = ora_rw::rewrite(c.sql);
    EXPECT_EQ(r.what, c.what) << c.sql;
    EXPECT_EQ(r.block, c.block) << c.sql;
  }
}

TEST(OraRewriteModify, NullabilityChangesNameTheirColumns) {
  ora_rw::result r = ora_rw::rewrite("ALTER TABLE table_x MODIFY (a NULL, b NOT NULL)");
  EXPECT_EQ(r.table, "table_x");
  EXPECT_EQ(r.nulls, (std::vector<std::pair<std::string, bool>>{{"a", false}, {"b", true}}));
  EXPECT_EQ(r.sql, "ALTER TABLE table_x MODIFY (a NULL, b NOT NULL)");
  EXPECT_EQ(ora_rw::rewrite("ALTER TABLE sa.t MODIFY (c NULL);").table, "sa.t");
  for (const char* other : {"ALTER TABLE t MODIFY (c VARCHAR2(10) NULL)", "ALTER TABLE t MODIFY c NULL",
                            "ALTER TABLE t ADD (c NULL)"}) {
    EXPECT_TRUE(ora_rw::rewrite(other).nulls.empty()) << other;
  }
}

TEST(OraRewriteDropIndex, ALoneDropIndexNamesItsIndexForTheService) {
  const std::pair<const char*, const char*> named[] = {
      {"DROP INDEX case_title\n", "case_title"},
      {"drop index sa.S_case_title;", "S_case_title"},
  };
  for (const auto& [sql, index] : named) {
    ora_rw::result r = ora_rw::rewrite(sql);
    EXPECT_EQ(r.drop_index, index) << sql;
    EXPECT_FALSE(r.skip) << sql;
  }
  EXPECT_EQ(ora_rw::rewrite("DROP INDEX case_title\n").sql, "DROP INDEX case_title");
  // A table already named, or anything else after the name: as it came.
  for (const char* other : {"DROP INDEX i ON table_x", "DROP TABLE i", "DROP INDEX 'i'", "DROP INDEX"}) {
    EXPECT_TRUE(ora_rw::rewrite(other).drop_index.empty()) << other;
  }
}

TEST(OraRewriteRenameIndex, AnIndexRenameNamesBothIndexesForTheService) {
  const struct {
    const char* sql;
    const char* from;
    const char* to;
  } named[] = {
      {"ALTER INDEX case_objindex RENAME TO ticket_objindex\n", "case_objindex", "ticket_objindex"},
      {"alter index sa.case_TITLE_INDEX rename to sa.ticket_TITLE_INDEX;", "case_TITLE_INDEX", "ticket_TITLE_INDEX"},
  };
  for (const auto& c : named) {
    ora_rw::result r = ora_rw::rewrite(c.sql);
    EXPECT_EQ(r.rename_index, (std::pair<std::string, std::string>{c.from, c.to})) << c.sql;
    EXPECT_FALSE(r.skip) << c.sql;
  }
  for (const char* other : {"ALTER INDEX i REBUILD", "ALTER INDEX i RENAME TO", "ALTER INDEX i RENAME TO j k",
                            "ALTER TABLE i RENAME TO j", "RENAME i TO j"}) {
    EXPECT_TRUE(ora_rw::rewrite(other).rename_index.first.empty()) << other;
  }
}

TEST(OraErrors, ServerNumbersMapToTheServiceNumbers) {
  const std::pair<unsigned, long> cases[] = {
      {1213, ora_err::DEADLOCK}, {1205, ora_err::DEADLOCK}, {1062, ora_err::NOT_UNIQUE},
      {2006, ora_err::LOST},     {2013, ora_err::LOST},     {1045, ora_err::BAD_LOGIN},
      {2002, ora_err::NO_SERVER}, {1049, ora_err::NO_SERVER}, {1064, ora_err::ORACLE},
      {20000, ora_err::ORACLE},
  };
  for (const auto& [e, n] : cases) EXPECT_EQ(ora_err::number(e), n) << e;
  EXPECT_EQ(ora_err::DEADLOCK, 0x8B0014E);
  EXPECT_EQ(ora_err::NOT_UNIQUE, 0x8B0014F);
  EXPECT_EQ(ora_err::LOST, 0x8B0013B);
  EXPECT_EQ(ora_err::BAD_LOGIN, 0x8B00180);
  EXPECT_EQ(ora_err::NO_SERVER, 0x8B00181);
  EXPECT_EQ(ora_err::ORACLE, 0x8B00149);
}

TEST(OraErrors, DuplicateKeysReadAsOracleTexts) {
  EXPECT_EQ(ora_err::text(1062, "Duplicate entry 'a-1' for key 'contact_objindex'"),
            "ORA-00001: unique constraint (SA.CONTACT_OBJINDEX) violated");
  EXPECT_EQ(ora_err::text(1062, "Duplicate entry 'it''s' for key 'table_x.x_uk'"),
            "ORA-00001: unique constraint (SA.X_UK) violated");
  EXPECT_EQ(ora_err::text(1329, "No data - zero rows fetched, selected, or processed"), "ORA-01403: no data found");
  EXPECT_EQ(ora_err::text(1064, "You have an error"), "You have an error");
}

}  // namespace
