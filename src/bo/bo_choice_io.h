// Helpers shared by the choice, list and choice-table records when they
// read and write their message and archive forms (not installed for hosts).
#pragma once

#include <cstdint>

#include "bo/bo_msg.h"
#include "kclassic/kc_arch.h"

namespace KCLASSIC {

// The marker before a choice's nested list: written as 1 or 0; any
// non-zero marker read means a list follows.
inline constexpr int32_t BO_CHOICE_NO_CHILD = 0;
inline constexpr int32_t BO_CHOICE_HAS_CHILD = 1;

// One long item of a message, as the 32-bit number every record field is.
inline int32_t bo_choice_read_long(KMsg& msg) {
  long value = 0;
  msg.ReadLong(value);
  return int32_t(value);
}

// A count read from an archive or a message: 0 or less reads nothing.
inline int32_t bo_choice_count(uint32_t word) { return int32_t(word) > 0 ? int32_t(word) : 0; }

} // namespace KCLASSIC
