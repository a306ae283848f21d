// MariaDB servers for the tests (tools/mariadb/orb_mariadb.sh): the shared
// server of a test run, and private servers for tests that kill one.
//
// Under ctest every test program that links orbisan_testdb runs against ONE
// server per test run, started by the ctest fixture "MariaDB"
// (testdb_fixture.sh) and named by the environment variable
// ORB_TEST_MARIADB_SOCKET. A program run by hand, without that variable,
// starts a server of its own on first use and shuts it down when it ends.
#pragma once

#include <string>

namespace testdb {

// The environment variable that names the shared server's socket.
inline constexpr const char kSocketVariable[] = "ORB_TEST_MARIADB_SOCKET";

// The socket of the shared server: the fixture's, or (outside ctest) the
// program's own, started on first call. Empty when there is none; problem,
// when given, then says why.
std::string shared_socket(std::string* problem = nullptr);

// A server of a test's own, in a fresh temporary folder; for tests that kill
// or restart the server under their connections. Shut down and removed when
// the object goes, or when the program ends, even by a crash.
class private_server {
 public:
  private_server() = default;
  private_server(const private_server&) = delete;
  private_server& operator=(const private_server&) = delete;
  ~private_server();

  // Starts the server; false (and problem()) when it does not come up.
  bool start();
  // Kills the server at once (a crash, as its clients see it); the folder stays.
  void kill();
  // Stops the server and starts a new one in a fresh folder.
  bool restart();
  // Shuts the server down and removes its folder.
  void stop();

  const std::string& socket() const { return socket_; }
  const std::string& problem() const { return problem_; }

 private:
  std::string dir_;
  std::string socket_;
  std::string problem_;
};

}  // namespace testdb
