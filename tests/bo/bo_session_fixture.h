// Helpers of the session tests: a clock set for the test's life, business
// objects and handles that count their releases, and a session manager
// that records the sessions it is told are gone and the requests it gets.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bo/bo_bulkreq.h"
#include "bo/bo_session.h"
#include "bo/bo_sesmgr.h"
#include "bo_compnt_fixture.h"

namespace botest {

// Sets the session clock; the system clock comes back at destruction.
class SetClock {
 public:
  explicit SetClock(uint32_t t);
  ~SetClock();
  void To(uint32_t t);
  SetClock(const SetClock&) = delete;
  SetClock& operator=(const SetClock&) = delete;
};

// A business object that counts its releases; optionally throws on release.
class CountedBo : public KCLASSIC::IBoBaseBo {
 public:
  explicit CountedBo(bool throws = false) : m_throws(throws) {}
  const char* GetClassName() const override { return "Acct"; }
  long GetObjectId() const override { return 1; }
  int IsModified() const override { return 0; }
  void Write(KCLASSIC::KMsg&) override {}
  void Read(KCLASSIC::KMsg&) override {}
  void SetSession(KCLASSIC::KUtlSessionContext*) override {}
  long AddRef() override { return ++refs; }
  long Release() override;
  int releases = 0;
  long refs = 1;

 private:
  bool m_throws;
};

class CountedHandle : public KCLASSIC::IUtlSessionHandle {
 public:
  long GetKind() const override { return 1; }
  long AddRef() override { return 2; }
  long Release() override {
    ++releases;
    return --refs;
  }
  int releases = 0;
  long refs = 1;
};

// A manager that records what it is told and sends nothing anywhere.
class KeepMgr : public KCLASSIC::KSessionMgr {
 public:
  explicit KeepMgr(KCLASSIC::KUtlQboConfig* config) : KSessionMgr(config) {}
  ~KeepMgr() override { Terminate(); }
  KCLASSIC::KUtlSessionContext* GetSessionContext(const char* key) override { return LookupSessionContext(key); }
  void FetchMetaData(KCLASSIC::KDdBulkRequest* request) override;
  void LogMessage(const char*, const char*) override {}
  void OnSessionRemoved(const char* key) override { removed.emplace_back(key); }

  int Sessions() const { return m_mapSessions.GetCount(); }
  int Users() const { return m_mapUsers.GetCount(); }
  // The keys of the time list, head first.
  std::vector<std::string> Queue() const;

  std::vector<std::string> removed;
  // Table ids, locales, currencies, time zones and daylights of each request.
  std::vector<std::vector<std::string>> requests;
};

// A manager over a temporary cache directory with the clock set to kStart.
class SessionTest : public CompntTest {
 protected:
  static constexpr uint32_t kStart = 0x5f000000;
  SessionTest();

  // A new session of key with time-out seconds, last access at the clock.
  static KCLASSIC::KUtlSessionContext* Session(const char* key, long timeout);
  // A user context for key.
  static KCLASSIC::KUsrContext* User(const char* login);
  // The text form of session (freed here).
  static std::string Text(const KCLASSIC::KUtlSessionContext& session);

  SetClock clock{kStart};
  KeepMgr keep{&config};
};

} // namespace botest
