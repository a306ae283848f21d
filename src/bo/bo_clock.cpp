#include "bo/bo_clock.h"

#include <atomic>
#include <ctime>

#include "bo/bo_internal.h"

namespace KCLASSIC {

namespace {

// The set time and whether one is set.
BO_INTERNAL std::atomic<uint32_t> g_setTime{0};
BO_INTERNAL std::atomic<bool> g_timeIsSet{false};

} // namespace

uint32_t bo_clock_now() {
  if (g_timeIsSet.load()) return g_setTime.load();
  return uint32_t(std::time(nullptr));
}

void bo_clock_set(uint32_t t) {
  g_setTime.store(t);
  g_timeIsSet.store(true);
}

void bo_clock_use_system() { g_timeIsSet.store(false); }

uint32_t bo_clock_distance(uint32_t a, uint32_t b) {
  uint32_t forward = a - b;
  uint32_t back = b - a;
  return forward < back ? forward : back;
}

} // namespace KCLASSIC
