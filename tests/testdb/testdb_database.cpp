// A database of its own for each test case on the shared MariaDB server.
#include "testdb/testdb_database.h"

#include <unistd.h>

#include <atomic>
#include <cctype>
#include <fstream>
#include <sstream>
#include <string>

#include "testdb/testdb_server.h"

namespace testdb {
namespace {

constexpr size_t kNameMax = 64;           // MariaDB's longest database name
constexpr unsigned kConnectTimeout = 10;  // seconds
// Statements that wait for a lock give up after this many seconds instead of
// hanging the test (a DROP behind a connection the test left open).
constexpr const char kSessionSetUp[] = "SET SESSION sql_mode = 'ORACLE,STRICT_ALL_TABLES', lock_wait_timeout = 20";

std::atomic<unsigned> g_counter{0};

// "t<pid>_<n>_<suite>_<test>": lower case letters, digits and '_' only.
std::string fresh_name() {
  std::string name = "t" + std::to_string(getpid()) + "_" + std::to_string(++g_counter);
  if (const ::testing::TestInfo* t = ::testing::UnitTest::GetInstance()->current_test_info()) {
    name += "_" + std::string(t->test_suite_name()) + "_" + t->name();
  }
  for (char& c : name) {
    c = std::isalnum(static_cast<unsigned char>(c)) ? static_cast<char>(std::tolower(static_cast<unsigned char>(c)))
                                                    : '_';
  }
  return name.substr(0, kNameMax);
}

std::string backquoted(const std::string& name) { return "`" + name + "`"; }

std::string read_file(const std::string& path, bool& ok) {
  std::ifstream in(path, std::ios::binary);
  ok = in.good();
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

// Runs one piece (one or more statements) and reads every result.
bool run_piece(MYSQL* m, const std::string& piece, std::string& why) {
  if (mysql_real_query(m, piece.data(), piece.size()) != 0) {
    why = mysql_error(m);
    return false;
  }
  int more = 0;
  do {
    if (MYSQL_RES* res = mysql_store_result(m)) mysql_free_result(res);
    more = mysql_next_result(m);
  } while (more == 0);
  if (more > 0) why = mysql_error(m);
  return more < 0;
}

}  // namespace

std::vector<std::string> script_pieces(const std::string& script) {
  std::vector<std::string> pieces;
  std::istringstream in(script);
  std::string line, piece;
  auto flush = [&] {
    if (piece.find_first_not_of(" \t\r\n") != std::string::npos) pieces.push_back(piece);
    piece.clear();
  };
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line == "/") {
      flush();
    } else {
      piece += line + "\n";
    }
  }
  flush();
  return pieces;
}

database::database() : name_(fresh_name()) { socket_ = shared_socket(&problem_); }

database::~database() { drop(); }

connection database::open(bool with_database, std::string& why) {
  if (socket_.empty()) {
    why = problem_;
    return nullptr;
  }
  connection m(mysql_init(nullptr));
  if (!m) {
    why = "mysql_init failed";
    return nullptr;
  }
  unsigned timeout = kConnectTimeout;
  unsigned protocol = MYSQL_PROTOCOL_SOCKET;
  mysql_optionsv(m.get(), MYSQL_OPT_CONNECT_TIMEOUT, &timeout);
  mysql_optionsv(m.get(), MYSQL_OPT_PROTOCOL, &protocol);
  mysql_optionsv(m.get(), MYSQL_SET_CHARSET_NAME, "utf8mb4");
  if (mysql_real_connect(m.get(), nullptr, "root", "", with_database ? name_.c_str() : nullptr, 0,
                         socket_.c_str(), CLIENT_MULTI_STATEMENTS | CLIENT_MULTI_RESULTS) == nullptr ||
      mysql_query(m.get(), kSessionSetUp) != 0) {
    why = "connect to " + socket_ + (with_database ? " database " + name_ : "") + ": " + mysql_error(m.get());
    return nullptr;
  }
  return m;
}

MYSQL* database::session(::testing::AssertionResult& why) {
  if (!session_) {
    std::string text;
    session_ = open(true, text);
    if (!session_) why = ::testing::AssertionFailure() << text;
  }
  return session_.get();
}

::testing::AssertionResult database::create() {
  std::string why;
  connection admin = open(false, why);
  if (!admin) return ::testing::AssertionFailure() << why;
  session_.reset();
  for (const std::string& sql : {"DROP DATABASE IF EXISTS " + backquoted(name_),
                                 "CREATE DATABASE " + backquoted(name_) +
                                     " CHARACTER SET utf8mb4 COLLATE utf8mb4_nopad_bin"}) {
    if (!run_piece(admin.get(), sql, why)) return ::testing::AssertionFailure() << sql << ": " << why;
  }
  bool ok = false;
  const std::string setup = read_file(TESTDB_SOURCE_DIR "/platform/dataservice/ora/ora_setup.sql", ok);
  if (!ok) return ::testing::AssertionFailure() << "cannot read the Oracle set-up script";
  return run(setup);
}

::testing::AssertionResult database::run(const std::string& script) {
  ::testing::AssertionResult why = ::testing::AssertionSuccess();
  MYSQL* m = session(why);
  if (m == nullptr) return why;
  for (const std::string& piece : script_pieces(script)) {
    std::string error;
    if (!run_piece(m, piece, error)) return ::testing::AssertionFailure() << error << "\nin:\n" << piece;
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult database::load(const std::string& file) {
  const std::string path = !file.empty() && file[0] == '/' ? file : TESTDB_SOURCE_DIR "/tests/data/" + file;
  bool ok = false;
  const std::string script = read_file(path, ok);
  if (!ok) return ::testing::AssertionFailure() << "cannot read " << path;
  ::testing::AssertionResult r = run(script);
  if (!r) return ::testing::AssertionFailure() << path << ": " << r.message();
  return r;
}

rows database::query(const std::string& sql) {
  ::testing::AssertionResult why = ::testing::AssertionSuccess();
  MYSQL* m = session(why);
  rows out;
  if (m == nullptr) {
    ADD_FAILURE() << why.message();
    return out;
  }
  if (mysql_real_query(m, sql.data(), sql.size()) != 0) {
    ADD_FAILURE() << sql << ": " << mysql_error(m);
    return out;
  }
  MYSQL_RES* res = mysql_store_result(m);
  if (res == nullptr) return out;
  const unsigned columns = mysql_num_fields(res);
  while (MYSQL_ROW row = mysql_fetch_row(res)) {
    const unsigned long* lengths = mysql_fetch_lengths(res);
    std::vector<std::string>& cells = out.emplace_back();
    for (unsigned c = 0; c < columns; ++c) cells.push_back(row[c] ? std::string(row[c], lengths[c]) : kNull);
  }
  mysql_free_result(res);
  return out;
}

connection database::connect() {
  std::string why;
  connection m = open(true, why);
  if (!m) ADD_FAILURE() << why;
  return m;
}

::testing::AssertionResult database::drop() {
  session_.reset();
  std::string why;
  connection admin = open(false, why);
  if (!admin) return ::testing::AssertionFailure() << why;
  if (!run_piece(admin.get(), "DROP DATABASE IF EXISTS " + backquoted(name_), why)) {
    return ::testing::AssertionFailure() << "drop " << name_ << ": " << why;
  }
  return ::testing::AssertionSuccess();
}

}  // namespace testdb
