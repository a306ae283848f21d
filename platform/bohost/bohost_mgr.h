// The host's concrete session manager, both sides of the metadata exchange.
//
// As a client (and as a server with an upstream), FetchMetaData carries the
// request to the metadata server at the upstream socket: one connection per
// request, the request's frame out, the answer's frame back, the answer
// loaded into the request's dictionary only once it was read whole. The
// answer starts with a status: 0 and the answer's records, or the server's
// KErr (number, method, inserts), thrown again here.
//
// As a server, GetSessionContext finds the session of a key or makes it
// (never null): a session without time-out whose dictionary takes this
// manager's components of the default language. bohost_answer answers one
// request; bohost_serve answers the connections of a listening socket.
//
// LogMessage keeps every line (and echoes it to standard error when asked).
#pragma once

#include <atomic>
#include <csignal>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "bo/bo_sesmgr.h"
#include "bohost_msg.h"

namespace KCLASSIC {

// Status of an answer that carries records.
inline constexpr long BOHOST_ANSWER_OK = 0;
// Inserts an error frame carries at most (those of a KErr).
inline constexpr long BOHOST_ERR_INSERTS = 5;

class KHostSessionMgr : public KSessionMgr {
 public:
  // upstream: the socket of the server this manager's misses go to; empty
  // for none (a miss then finds nothing).
  KHostSessionMgr(KUtlQboConfig* config, std::string upstream);
  ~KHostSessionMgr() override { Terminate(); }

  KUtlSessionContext* GetSessionContext(const char* key) override;
  void FetchMetaData(KDdBulkRequest* request) override;
  void LogMessage(const char* category, const char* text) override;
  void OnSessionRemoved(const char* key) override;

  // Gives the manager's own dictionary a component of every kind in the
  // default language (for loading cache files into). Needs Initialize.
  void MakeComponents();
  void SetEcho(bool echo) { m_echo = echo; }
  std::vector<std::pair<std::string, std::string>> LogLines() const;
  int Fetches() const { return m_fetches; }

 private:
  std::string m_upstream;
  bool m_echo = false;
  std::atomic<int> m_fetches{0};
  mutable std::mutex m_logLock;
  std::vector<std::pair<std::string, std::string>> m_log;
};

// The answer to one request frame: its records, or the error it raised.
KHostMsg bohost_answer(KSessionMgr& mgr, KHostMsg& request);
// Reads an answer frame: loads its records into dict, or throws the error
// it carries.
void bohost_load_answer(KHostMsg& answer, KDdDict* dict);
// Answers each request of each connection to listenFd until stop is set.
void bohost_serve(KSessionMgr& mgr, int listenFd, const volatile std::sig_atomic_t& stop);

} // namespace KCLASSIC
