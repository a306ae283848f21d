#include "kclassic/kc_sect.h"

#include "kclassic/kc_sys.h"

namespace KCLASSIC {

void KUtlCrSect::Enter() {
  const unsigned long me = KGetCurrentThreadId();
  // Only the owner can find its own id here; other threads see 0 or another id.
  if (m_owner.load(std::memory_order_relaxed) != me) {
    m_mutex.lock();
    m_owner.store(me, std::memory_order_relaxed);
    m_nLockCount = 1;
  } else {
    ++m_nLockCount;
  }
}

void KUtlCrSect::Leave() {
  if (--m_nLockCount == 0) {
    m_owner.store(0, std::memory_order_relaxed);
    m_mutex.unlock();
  }
}

} // namespace KCLASSIC
