// MariaDB servers for the tests, run through tools/mariadb/orb_mariadb.sh.
#include "testdb/testdb_server.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

namespace testdb {
namespace {

struct script_result {
  bool ok = false;
  std::string output;  // standard output and error together
};

// Runs orb_mariadb.sh with the command on dir; the server it starts is tied
// to this process (shut down when the process ends).
script_result run_script(const std::string& command, const std::string& dir) {
  const std::string line = "ORB_MARIADB_TEMPLATE='" + std::string(ORB_MARIADB_TEMPLATE) +
                           "' ORB_MARIADB_OWNER=" + std::to_string(getpid()) + " bash '" +
                           std::string(ORB_MARIADB_SCRIPT) + "' " + command + " '" + dir + "' 2>&1";
  script_result r;
  FILE* pipe = popen(line.c_str(), "r");
  if (pipe == nullptr) {
    r.output = "cannot run " + line;
    return r;
  }
  std::array<char, 512> buf{};
  while (std::fgets(buf.data(), buf.size(), pipe) != nullptr) r.output += buf.data();
  r.ok = pclose(pipe) == 0;
  return r;
}

// The last non-empty line of a text.
std::string last_line(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  size_t nl = text.rfind('\n');
  return nl == std::string::npos ? text : text.substr(nl + 1);
}

bool is_socket(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
}

}  // namespace

private_server::~private_server() { stop(); }

bool private_server::start() {
  stop();
  problem_.clear();
  char tmpl[] = "/tmp/orb-maria-XXXXXX";
  if (mkdtemp(tmpl) == nullptr) {
    problem_ = "cannot make a folder for the MariaDB server";
    return false;
  }
  dir_ = tmpl;
  script_result r = run_script("start", dir_);
  if (r.ok) socket_ = last_line(r.output);
  if (!r.ok || !is_socket(socket_)) {
    problem_ = "the private MariaDB server did not start (mariadb-server installed?):\n" + r.output;
    socket_.clear();
    return false;
  }
  return true;
}

void private_server::kill() {
  if (!dir_.empty()) run_script("kill", dir_);
}

bool private_server::restart() { return start(); }

void private_server::stop() {
  // Its data goes with it: killed, it need not shut down in order first.
  kill();
  if (!dir_.empty()) run_script("stop", dir_);
  dir_.clear();
  socket_.clear();
}

std::string shared_socket(std::string* problem) {
  std::string why;
  std::string socket;
  if (const char* given = std::getenv(kSocketVariable); given != nullptr && *given != '\0') {
    socket = given;
    if (!is_socket(socket)) {
      why = std::string("no MariaDB server at ") + kSocketVariable + "=" + socket +
            " (the ctest fixture MariaDB.Start starts it: see its output)";
      socket.clear();
    }
  } else {
    // Outside ctest: one server of the program's own, for all its tests.
    static private_server own;
    static std::once_flag once;
    std::call_once(once, [] { own.start(); });
    socket = own.socket();
    why = own.problem();
  }
  if (problem != nullptr) *problem = why;
  return socket;
}

}  // namespace testdb
