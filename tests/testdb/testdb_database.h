// A database of its own for each test case, on the run's shared MariaDB
// server (testdb_server.h), reached through Connector/C.
//
// How a suite uses it:
//   - link orbisan_testdb (PUBLIC, also through a helper library); ctest then
//     starts the shared server before the program's tests run (the "MariaDB"
//     fixture) and hands them its socket;
//   - give the fixture a testdb::database member: it picks a name no other
//     test case or program uses (process id, a counter, the test's name) and
//     drops the database when it goes, so test cases run in parallel;
//   - either call create() (the database with the compatibility objects of
//     the Oracle set-up script) and load("<file>.sql") for fixture data
//     from tests/data, or hand name() to the Oracle-dialect service as
//     configuration string 15 (it makes the database itself when missing),
//     with socket() as configuration string 2;
//   - check what the code under test wrote with query() or connect().
// Every call that fails says why in its AssertionResult (wrap it in
// ASSERT_TRUE); nothing skips when the server is missing.
#pragma once

#include <gtest/gtest.h>
#include <mysql.h>

#include <memory>
#include <string>
#include <vector>

namespace testdb {

struct mysql_closer {
  void operator()(MYSQL* m) const { mysql_close(m); }
};
using connection = std::unique_ptr<MYSQL, mysql_closer>;

// Rows of text cells; a NULL cell reads kNull.
using rows = std::vector<std::vector<std::string>>;
inline constexpr const char kNull[] = "<null>";

// Statements of a script: separated by lines holding only "/" (blocks and
// procedures end so); a piece between two such lines may also hold several
// plain statements ended by ';'.
std::vector<std::string> script_pieces(const std::string& script);

class database {
 public:
  database();
  database(const database&) = delete;
  database& operator=(const database&) = delete;
  ~database();

  const std::string& name() const { return name_; }
  // The shared server's socket; empty when there is none (problem() says why).
  const std::string& socket() const { return socket_; }
  const std::string& problem() const { return problem_; }

  // Makes the database afresh with the compatibility objects of the Oracle
  // set-up script (platform/dataservice/ora/ora_setup.sql).
  ::testing::AssertionResult create();
  // Runs a script (see script_pieces) in the database.
  ::testing::AssertionResult run(const std::string& script);
  // Runs tests/data/<file> (an absolute path as it is).
  ::testing::AssertionResult load(const std::string& file);
  // The rows of a query in the database; a failed query is a test failure
  // and yields no rows.
  rows query(const std::string& sql);
  // A new connection as root on the database, in the Oracle SQL mode the
  // data service uses; null (and a test failure) when it cannot connect.
  connection connect();
  // Drops the database now (the destructor does it too).
  ::testing::AssertionResult drop();

 private:
  // The library's own connection, made on first use.
  MYSQL* session(::testing::AssertionResult& why);
  connection open(bool with_database, std::string& why);

  std::string name_;
  std::string socket_;
  std::string problem_;
  connection session_;
};

}  // namespace testdb
