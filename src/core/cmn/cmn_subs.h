// The subsystem table: every module is a numbered subsystem owning a block of
// message ids (first id, range).
//
// Threads: the table is constant, so cmn_subs_name_by_id, cmn_subs_table and
// cmn_subs_get of a known name are safe from several threads; an unknown name
// pushes an alert and an unknown number writes a static buffer (not safe);
// cmn_subs_init fills the message-list slots (start-up only). No lock.
#pragma once

#include "orb_api.h"

struct cmn_ty_subs_entry {
  const char* name;
  long number;
  long first_id;
  long range;
};

constexpr long CMN_SUBS_NUM_ROWS = 164;
constexpr long CMN_SUBS_UNKNOWN = 0x100006;  // unknown subsystem name

// Row by name (exact, case-sensitive); unknown: pushes 0x100006.
ORB_API long cmn_subs_get(const char* name, long* number, long* first_id, long* range);
// Name of row `number` (0..163); otherwise "UNKNOWN SUBSYSTEM <n>" in a static
// buffer that the next such call overwrites.
ORB_API const char* cmn_subs_name(long number);
// Name of the first row whose range holds the message id; "unknown" if none.
ORB_API const char* cmn_subs_name_by_id(long message_id);
// Installs the message-list slots (one per subsystem number).
ORB_API long cmn_subs_init();
ORB_API long cmn_subs_term();
// The table itself (CMN_SUBS_NUM_ROWS rows).
ORB_API const cmn_ty_subs_entry* cmn_subs_table();
