// The test library's databases and servers: fresh, separate databases on the
// shared server with the Oracle compatibility objects, scripts split and run
// with their errors named, and private servers that die and come back.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "testdb/testdb_database.h"
#include "testdb/testdb_server.h"
#include "testdb/testdb_tmp.h"

namespace {

using testdb::database;

TEST(TestDbScript, PiecesSplitOnLinesHoldingOnlyASlash) {
  struct row {
    const char* script;
    std::vector<std::string> pieces;
  };
  const row rows[] = {
      {"", {}},
      {"SELECT 1 FROM dual;\n", {"SELECT 1 FROM dual;\n"}},
      {"a;\n/\nb;\n/\n", {"a;\n", "b;\n"}},
      {"a;\r\n/\r\nb;", {"a;\n", "b;\n"}},
      {"/\n\n/\n  \n", {}},
      {"x := 1 / 2;\n / \n/x\n", {"x := 1 / 2;\n / \n/x\n"}},
      {"BEGIN\n  NULL;\nEND;\n/\nc;\nd;\n", {"BEGIN\n  NULL;\nEND;\n", "c;\nd;\n"}},
  };
  for (const row& r : rows) EXPECT_EQ(testdb::script_pieces(r.script), r.pieces) << r.script;
}

TEST(TestDb, NamesAreFreshShortAndPlain) {
  std::set<std::string> names;
  for (int i = 0; i < 3; ++i) {
    database db;
    EXPECT_TRUE(names.insert(db.name()).second) << db.name();
    EXPECT_LE(db.name().size(), 64u);
    EXPECT_EQ(db.name().find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_"), std::string::npos) << db.name();
    EXPECT_NE(db.name().find("testdb_namesarefreshshortandplain"), std::string::npos) << db.name();
    EXPECT_EQ(db.name().rfind("t" + std::to_string(getpid()) + "_", 0), 0u) << db.name();
  }
}

TEST(TestDb, CreateMakesTheDatabaseWithTheCompatibilityObjects) {
  database db;
  ASSERT_TRUE(db.create());
  testdb::rows r = db.query("SELECT DATABASE(), to_date('02/03/2026 04:05:06', 'MM/DD/YYYY HH24:MI:SS') FROM dual");
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0][0], db.name());
  EXPECT_EQ(r[0][1], "2026-02-03 04:05:06");
  r = db.query("SELECT COUNT(*) FROM user_tables");
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0][0], "0");
  // Made afresh: what a leftover of the same name held is gone.
  ASSERT_TRUE(db.run("CREATE TABLE left_over (a NUMBER(10));"));
  ASSERT_TRUE(db.create());
  EXPECT_EQ(db.query("SELECT COUNT(*) FROM user_tables"), (testdb::rows{{"0"}}));
}

TEST(TestDb, DatabasesAreSeparateAndGoWhenDropped) {
  database a;
  database b;
  ASSERT_TRUE(a.create());
  ASSERT_TRUE(b.create());
  ASSERT_TRUE(a.run("CREATE TABLE t (x NUMBER(10));\nINSERT INTO t VALUES (1);\n"));
  EXPECT_EQ(a.query("SELECT x FROM t"), (testdb::rows{{"1"}}));
  EXPECT_EQ(b.query("SELECT COUNT(*) FROM user_tables WHERE table_name = 'T'"), (testdb::rows{{"0"}}));
  const std::string name = a.name();
  ASSERT_TRUE(a.drop());
  EXPECT_EQ(b.query("SELECT COUNT(*) FROM information_schema.schemata WHERE schema_name = '" + name + "'"),
            (testdb::rows{{"0"}}));
}

TEST(TestDb, RunExecutesBlocksAndStatementsAndNamesTheFailure) {
  database db;
  ASSERT_TRUE(db.create());
  ASSERT_TRUE(db.run("CREATE TABLE p (x NUMBER(10), s VARCHAR2(10));\nINSERT INTO p VALUES (1, 'a');\n"
                     "INSERT INTO p VALUES (2, NULL);\n/\nBEGIN\n  INSERT INTO p VALUES (3, 'c');\nEND;\n/\n"));
  EXPECT_EQ(db.query("SELECT x, s FROM p ORDER BY x"), (testdb::rows{{"1", "a"}, {"2", testdb::kNull}, {"3", "c"}}));
  ::testing::AssertionResult bad = db.run("INSERT INTO p VALUES (4, 'd');\nINSERT INTO no_such_table VALUES (1);\n");
  EXPECT_FALSE(bad);
  EXPECT_NE(std::string(bad.message()).find("no_such_table"), std::string::npos) << bad.message();
  // The statements before the failing one ran; the connection still works.
  EXPECT_EQ(db.query("SELECT COUNT(*) FROM p"), (testdb::rows{{"4"}}));
  testdb::connection c = db.connect();
  ASSERT_NE(c, nullptr);
  ASSERT_EQ(mysql_query(c.get(), "SELECT @@sql_mode"), 0);
  MYSQL_RES* res = mysql_store_result(c.get());
  ASSERT_NE(res, nullptr);
  MYSQL_ROW mode = mysql_fetch_row(res);
  ASSERT_NE(mode, nullptr);
  EXPECT_NE(std::string(mode[0]).find("ORACLE"), std::string::npos) << mode[0];
  mysql_free_result(res);
}

TEST(TestDb, LoadRunsAFileAndNamesAMissingOne) {
  database db;
  ASSERT_TRUE(db.create());
  const std::string fixture = testdb::tmp_file("testdb_load_");
  ASSERT_FALSE(fixture.empty());
  const char* path = fixture.c_str();
  std::ofstream(path) << "CREATE TABLE f (x NUMBER(10));\n/\nINSERT INTO f VALUES (7);\n";
  EXPECT_TRUE(db.load(path));
  std::remove(path);
  EXPECT_EQ(db.query("SELECT x FROM f"), (testdb::rows{{"7"}}));
  ::testing::AssertionResult missing = db.load("no_such_fixture.sql");
  EXPECT_FALSE(missing);
  EXPECT_NE(std::string(missing.message()).find("/tests/data/no_such_fixture.sql"), std::string::npos)
      << missing.message();
}

// Points the shared-server variable elsewhere for one test.
class socket_variable {
 public:
  explicit socket_variable(const char* value) {
    if (const char* old = std::getenv(testdb::kSocketVariable)) saved_ = old;
    had_ = std::getenv(testdb::kSocketVariable) != nullptr;
    setenv(testdb::kSocketVariable, value, 1);
  }
  ~socket_variable() {
    if (had_) {
      setenv(testdb::kSocketVariable, saved_.c_str(), 1);
    } else {
      unsetenv(testdb::kSocketVariable);
    }
  }

 private:
  std::string saved_;
  bool had_ = false;
};

TEST(TestDb, AMissingSharedServerIsAFailureThatSaysWhy) {
  socket_variable gone("/nonexistent/orb.sock");
  std::string problem;
  EXPECT_EQ(testdb::shared_socket(&problem), "");
  EXPECT_NE(problem.find("ORB_TEST_MARIADB_SOCKET=/nonexistent/orb.sock"), std::string::npos) << problem;
  database db;
  EXPECT_EQ(db.socket(), "");
  ::testing::AssertionResult made = db.create();
  EXPECT_FALSE(made);
  EXPECT_NE(std::string(made.message()).find("/nonexistent/orb.sock"), std::string::npos) << made.message();
}

bool answers(const std::string& socket) {
  testdb::connection m(mysql_init(nullptr));
  if (mysql_real_connect(m.get(), nullptr, "root", "", nullptr, 0, socket.c_str(), 0) == nullptr ||
      mysql_query(m.get(), "SELECT 1") != 0) {
    return false;
  }
  MYSQL_RES* res = mysql_store_result(m.get());
  if (res == nullptr) return false;
  mysql_free_result(res);
  return true;
}

TEST(TestDbPrivateServer, DiesWhenKilledAndComesBackOnRestart) {
  testdb::private_server s;
  ASSERT_TRUE(s.start()) << s.problem();
  const std::string first = s.socket();
  EXPECT_NE(first, testdb::shared_socket());
  EXPECT_TRUE(answers(first));
  s.kill();
  EXPECT_FALSE(answers(first));
  ASSERT_TRUE(s.restart()) << s.problem();
  EXPECT_NE(s.socket(), first);
  EXPECT_TRUE(answers(s.socket()));
  const std::string folder = s.socket().substr(0, s.socket().rfind('/'));
  s.stop();
  struct stat st {};
  EXPECT_NE(stat(folder.c_str(), &st), 0) << folder << " is left";
  EXPECT_EQ(s.socket(), "");
}

}  // namespace
