// The private MariaDB server of a test program.
#include "adapter/ds_ora_server.h"

#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace ds_ora {
namespace {

std::string run(const std::string& cmd, const std::string& dir) {
  setenv("ORB_MARIADB_TEMPLATE", ORB_MARIADB_TEMPLATE, 1);
  setenv("ORB_MARIADB_OWNER", std::to_string(getpid()).c_str(), 1);
  std::string line = "bash '" + std::string(ORB_MARIADB_SCRIPT) + "' " + cmd + " '" + dir + "'";
  FILE* p = popen(line.c_str(), "r");
  if (p == nullptr) return "";
  std::string out;
  std::array<char, 512> buf{};
  while (std::fgets(buf.data(), buf.size(), p) != nullptr) out += buf.data();
  int rc = pclose(p);
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return rc == 0 ? out : "";
}

struct server {
  std::string dir;
  std::string socket;
  bool tried = false;

  ~server() { stop(); }

  void start() {
    tried = true;
    char tmpl[] = "/tmp/orb-maria-XXXXXX";
    if (mkdtemp(tmpl) == nullptr) return;
    dir = tmpl;
    socket = run("start", dir);
  }

  void stop() {
    if (!dir.empty()) run("stop", dir);
    dir.clear();
    socket.clear();
  }
};

server& the_server() {
  static server s;
  return s;
}

}  // namespace

std::string server_socket() {
  server& s = the_server();
  if (!s.tried) s.start();
  return s.socket;
}

void server_kill() {
  server& s = the_server();
  if (!s.dir.empty()) run("kill", s.dir);
}

std::string server_restart() {
  server& s = the_server();
  s.stop();
  s.start();
  return s.socket;
}

}  // namespace ds_ora
