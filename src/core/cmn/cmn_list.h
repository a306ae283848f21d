// Message texts compiled into the library, found by the first message id of
// their list. Each module that carries texts registers its table at start-up.
//
// Threads: the table registry is process-wide and unguarded (no lock):
// tables are installed at start-up, before other threads run; look-ups only
// read and may then run from several threads while no install runs.
#pragma once

#include "orb_api.h"

// count texts in index order (texts[i] is message first_id + i; a null entry
// means the text is not known). The table must outlive the process's use.
ORB_API long cmn_list_install_res_table(long first_id, long count, const char* const* texts);
// The compiled-in texts of the list first_id..last_id: count = last - first + 1
// and the table; 1 when no table is known for first_id, else 0.
ORB_API long cmn_list_res_str(long first_id, long last_id, long* count, const char* const** texts);
