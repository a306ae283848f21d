// Helpers of the metadata-server tests: a cache directory built with the
// library, orb_mdserver run as a child process, and client managers that
// fetch through it.
#pragma once

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

#include "bo/bo_dict.h"
#include "bo_fixture.h"
#include "bohost_config.h"
#include "bohost_mgr.h"
#include "kclassic/kc_testdir.h"

namespace botest {

// The identity every manager of these tests shares (the cache files'
// header checks it).
extern const char* const kHostConfigText;

// orb_mdserver as a child process; killed at destruction if still running.
class ServerProcess {
 public:
  ServerProcess() = default;
  ~ServerProcess();
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  // Starts the server; its standard error goes to logFile.
  void Start(const std::string& socket, const std::string& cache, const std::string& config,
             const std::string& upstream, const std::string& logFile);
  // Waits until the socket accepts a connection; false after the time limit
  // or when the server ended.
  bool WaitReady();
  // SIGTERM, then the exit status (-1 when it did not end normally).
  int Stop();
  // SIGKILL and reap.
  void Kill();
  bool Running() const { return m_pid > 0; }

 private:
  pid_t m_pid = -1;
  std::string m_socket;
};

// A client: a manager whose misses go to a server's socket, and one
// session dictionary on it.
struct Client {
  Client(const std::string& upstream, const std::string& cacheDir, const char* sessionKey);
  ~Client();
  KCLASSIC::KHostConfig config;
  std::unique_ptr<KCLASSIC::KHostSessionMgr> mgr;
  std::unique_ptr<KCLASSIC::KDdDict> dict;
};

class MdServerTest : public BoTest {
 protected:
  MdServerTest();

  // Fills a cache directory with one record of every cached kind (tables
  // and views through the editing calls), written with SaveToCacheFiles.
  void BuildCache(const std::string& cacheDir);
  // Starts a server on the test's cache directory at socket.
  void StartServer(ServerProcess& server, const std::string& socket, const std::string& upstream = "",
                   const std::string& cacheDir = "");
  std::string ServerLog(const std::string& socket) const { return dir.read(Base(socket) + ".log"); }
  static std::string Base(const std::string& path) { return path.substr(path.rfind('/') + 1); }

  kctest::TempDir dir;
  std::string cache;
  std::string configFile;
  std::string socketA;
  std::string socketB;
};

} // namespace botest
