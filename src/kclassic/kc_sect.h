// Recursive critical section owned by a thread (KUtlCrSect) and its scoped
// lock (KUtlCrSync). The owner's id is the kernel thread id; a thread that
// holds the section may enter again, and the mutex is released at its last
// leave.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "orb_api.h"

namespace KCLASSIC {

class ORB_API KUtlCrSect {
 public:
  constexpr KUtlCrSect() = default;
  KUtlCrSect(const KUtlCrSect&) = delete;
  KUtlCrSect& operator=(const KUtlCrSect&) = delete;

  void Enter();
  void Leave();

  // Recursion depth of the owner and the owner's thread id (0 when free).
  int32_t LockCount() const { return m_nLockCount; }
  unsigned long Owner() const { return m_owner.load(std::memory_order_relaxed); }

 private:
  int32_t m_nLockCount = 0;
  std::atomic<unsigned long> m_owner{0};
  std::mutex m_mutex;
};

class ORB_API KUtlCrSync {
 public:
  explicit KUtlCrSync(KUtlCrSect& sect) : m_pSect(&sect) { m_pSect->Enter(); }
  explicit KUtlCrSync(KUtlCrSect* sect) : m_pSect(sect) { m_pSect->Enter(); }
  ~KUtlCrSync() { m_pSect->Leave(); }
  KUtlCrSync(const KUtlCrSync&) = delete;
  KUtlCrSync& operator=(const KUtlCrSync&) = delete;

 private:
  KUtlCrSect* m_pSect;
};

} // namespace KCLASSIC
