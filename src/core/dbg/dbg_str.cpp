// The dbg message list (subsystem 3, message ids 1400 to 1410).
#include "core/dbg/dbg_str.h"

#include "core/cmn/cmn_list.h"
#include "core/loc/loc_str.h"

namespace {

constexpr long kFirst = 1400;
constexpr long kLast = 1410;
constexpr long kCount = kLast - kFirst + 1;

const char* const dbg_str_texts[kCount] = {
    "Next error message",
    "Invalid debug topic '%ld'.\n",
    "Debug log file name '%s' is too long (should be less than %ld chars).\n",
    "Cannot open output debug log file '%s'.\n",
    "Invalid debug mode %ld (must be 0 or 1).\n",
    "Unable to allocate memory (needed %ld bytes in '%s').\n",
    "Routine on top of PRC stack ('%s') does not match exited routine '%s'.\n",
    "Can't print proc stack; PRC mode is OFF.\n",
    "Can't deactivate test coverage for '%s' (routine not found in list).\n",
    "DBG PRC stack must be active to use test coverage markers.\n",
    "Top of PRC stack '%s' doesn't match TC mark routine '%s'.\n",
};

// Per message: number of arguments, class.
const signed char dbg_str_args[2 * kCount] = {
    0, 0, 1, 0, 2, 0, 1, 0, 1, 0, 2, 0, 2, 0, 0, 0, 1, 0, 0, 0, 2, 0,
};

}  // namespace

long dbg_str_init() {
  if (cmn_list_install_res_table(kFirst, kCount, dbg_str_texts) != 0) return -1;
  return loc_str_init_list("dbg", 3, kFirst, kLast, kCount, dbg_str_args);
}
