// The clock of the session bookkeeping: seconds since the epoch as a 32-bit
// unsigned count, as time() gives it. Sessions and the session manager read
// the time only here, so a test can set it. Times are compared modulo 2^32:
// the distance of two times is the shorter way round.
#pragma once

#include <cstdint>

#include "orb_api.h"

namespace KCLASSIC {

// The current time: the set time when one is set, else time().
ORB_API uint32_t bo_clock_now();
// From now on bo_clock_now answers t.
ORB_API void bo_clock_set(uint32_t t);
// bo_clock_now follows time() again.
ORB_API void bo_clock_use_system();
// |a - b| modulo 2^32: the smaller of a - b and b - a.
ORB_API uint32_t bo_clock_distance(uint32_t a, uint32_t b);

} // namespace KCLASSIC
