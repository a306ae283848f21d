// Helpers of the dictionary tests: a session manager whose metadata fetch
// plays the metadata server in the same process. The fetch writes the
// request through the host's buffer message, hands it to a second
// dictionary's GetMetaData, carries the answer back through a message and
// loads it into the asking dictionary. Its log keeps its lines.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bo/bo_dict.h"
#include "bo/bo_sesmgr.h"
#include "bo_compnt_fixture.h"

namespace botest {

class LoopMgr : public KCLASSIC::KSessionMgr {
 public:
  explicit LoopMgr(KCLASSIC::KUtlQboConfig* config) : KSessionMgr(config) {}
  ~LoopMgr() override { Terminate(); }

  KCLASSIC::KUtlSessionContext* GetSessionContext(const char*) override { return nullptr; }
  void FetchMetaData(KCLASSIC::KDdBulkRequest* request) override;
  void LogMessage(const char* category, const char* text) override { log.emplace_back(category, text); }
  void OnSessionRemoved(const char*) override {}

  // The dictionary that answers; null answers nothing.
  KCLASSIC::KDdDict* server = nullptr;
  int fetches = 0;
  // The bytes of each request as written.
  std::vector<std::vector<uint8_t>> requests;
  std::vector<std::pair<std::string, std::string>> log;
};

// Languages of the eight kinds, all lang.
std::vector<unsigned long> Languages(unsigned long lang);

// A client dictionary ("sess1") over a loop-back manager, and a server
// dictionary ("server") over a counting manager; both in product mode with
// default language 1033 and a temporary cache directory.
class DictTest : public CompntTest {
 protected:
  DictTest();
  ~DictTest() override;

  // The database string id of a message index in a subsystem.
  static long DbId(long subsys, long index);
  static long CrmId(long subsys, long index) { return (subsys << 20) + index; }
  // Adds a table of id and name to a dictionary's table component.
  static KCLASSIC::KDdTable* PutTable(KCLASSIC::KDdDict& dict, long id, const char* name, bool view = false);

  LoopMgr loop{&config};
  std::unique_ptr<KCLASSIC::KDdDict> client;
  std::unique_ptr<KCLASSIC::KDdDict> server;
};

} // namespace botest
