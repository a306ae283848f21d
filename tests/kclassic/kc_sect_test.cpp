// Critical sections: recursion by the owner, waiting of other threads.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "kclassic/kc_sect.h"
#include "kclassic/kc_sys.h"

using namespace KCLASSIC;

namespace {

// Whether another thread gets into sect within a short wait.
bool other_thread_enters(KUtlCrSect& sect, std::thread& t, std::atomic<bool>& entered) {
  t = std::thread([&] {
    KUtlCrSync lock(sect);
    entered = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  return entered.load();
}

} // namespace

TEST(CritSect, OwnerReentersAndReleasesAtItsLastLeave) {
  KUtlCrSect sect;
  EXPECT_EQ(sect.Owner(), 0u);
  sect.Enter();
  sect.Enter();
  EXPECT_EQ(sect.LockCount(), 2);
  EXPECT_EQ(sect.Owner(), KGetCurrentThreadId());

  std::atomic<bool> entered{false};
  std::thread t;
  EXPECT_FALSE(other_thread_enters(sect, t, entered));
  sect.Leave(); // one entry left: the other thread still waits
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_FALSE(entered.load());
  EXPECT_EQ(sect.LockCount(), 1);
  sect.Leave();
  t.join();
  EXPECT_TRUE(entered.load());
  EXPECT_EQ(sect.Owner(), 0u);
  EXPECT_EQ(sect.LockCount(), 0);
}

TEST(CritSect, ScopedLocksNest) {
  KUtlCrSect sect;
  {
    KUtlCrSync a(sect);
    KUtlCrSync b(&sect);
    EXPECT_EQ(sect.LockCount(), 2);
  }
  EXPECT_EQ(sect.LockCount(), 0);
  EXPECT_EQ(sect.Owner(), 0u);
}

TEST(ThreadId, DistinctPerLiveThreadAndStable) {
  unsigned long me = KGetCurrentThreadId();
  EXPECT_EQ(me, KGetCurrentThreadId());
  unsigned long other = 0;
  std::thread([&] { other = KGetCurrentThreadId(); }).join();
  EXPECT_NE(other, 0u);
  EXPECT_NE(other, me);
}
