// Helpers of the dictionary-component tests: a session manager whose
// metadata fetch counts its calls, keeps a copy of what each request asked
// for and runs the test's loader (which adds prepared records to the
// component under test), over a temporary cache directory.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "bo/bo_bulkreq.h"
#include "bo/bo_compnt.h"
#include "bo/bo_sesmgr.h"
#include "bo_fixture.h"
#include "kclassic/kc_testdir.h"

namespace botest {

// What one fetched request asked for, in list order.
struct AskedFor {
  std::vector<std::string> currencies, timezones, daylights, locales, choiceTables, userLists;
  std::vector<long> currencyIds;
  long language = 0;
};

class MgrDouble : public KCLASSIC::KSessionMgr {
 public:
  explicit MgrDouble(KCLASSIC::KUtlQboConfig* config);

  KCLASSIC::KUtlSessionContext* GetSessionContext(const char*) override { return nullptr; }
  void FetchMetaData(KCLASSIC::KDdBulkRequest* request) override;
  void LogMessage(const char*, const char*) override {}
  void OnSessionRemoved(const char*) override {}

  // Sets the identity block's texts (each at most 33 characters).
  void SetIdentity(long n1, long n2, long n3, const char* t1, const char* t2, const char* t3, const char* t4);

  std::atomic<int> fetches{0};
  // Fetches may come from several threads at once: `asked` grows under this lock.
  std::mutex askedLock;
  std::vector<AskedFor> asked;
  std::function<void(KCLASSIC::KDdBulkRequest*)> loader;
};

class CompntTest : public BoTest {
 protected:
  CompntTest();

  // The cache file of the component kind.
  std::string CacheFile(const char* compntName) const;
  // Writes the manager's header and body as the component's cache file and
  // reads it into the component; the result of ReadCacheFile.
  int LoadBody(KCLASSIC::KDdComponent& compnt, const std::string& body);
  // The body bytes the component writes to its cache file.
  std::string StoredBody(KCLASSIC::KDdComponent& compnt);

  kctest::TempDir dir;
  KCLASSIC::KUtlQboConfig config;
  MgrDouble mgr{&config};
};

// Bytes of a header as the manager of a CompntTest writes it.
std::string HeaderBytes(long n1, long n2, long n3, const char* t1, const char* t2, const char* t3, const char* t4,
                        unsigned marker = KCLASSIC::BO_CACHE_MARKER);
// A 32-bit big-endian word.
std::string Word(uint32_t w);
// An archive string of up to 254 bytes (one length byte).
std::string ArString(const std::string& s);
// bytes damaged in one of four ways drawn from rng: bytes flipped, cut
// short, a large length or count written over four bytes, bytes inserted.
std::string Damage(std::string bytes, std::mt19937& rng);

} // namespace botest
