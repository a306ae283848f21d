// State shared by the files of the alert module (not for other modules).
//
// Threads: as cmn_alrt.h (unguarded, one thread at a time).
#pragma once

#include "core/cmn/cmn_alrt.h"

// Receives each formatted text before it is stored or printed.
extern char cmn_alrt_err_buf[CMN_ALRT_BUF_SIZE];

// 1 when the subsystem number of the code lies in 1..164 (no alert).
bool cmn_alrt_valid_subs(long code);
