// Start and stop of the cmn module (type registry, subsystem table, message
// list, alerts, run-time record types, formats) as one unit, the process-wide
// debug switch, and small conversions shared by the application layers.
//
// Threads: start and stop run alone, before and after every other call; the debug
// switch is process-wide and unguarded.
#pragma once

#include "orb_api.h"

// cmn_typ_init (with the built-in methods), cmn_subs_init, cmn_str_init,
// cmn_alrt_init, cmn_dyn_init, cmn_fmt_init in that order; the first non-zero
// result is returned at once. May run again after cmn_main_term or after a
// failed start.
ORB_API long cmn_main_init();
// cmn_typ_term, cmn_alrt_term, cmn_dyn_term, cmn_fmt_term, cmn_subs_term,
// stopping at the first non-zero result.
ORB_API long cmn_main_term();

ORB_API long cmn_main_set_debug_mode(long flag);
ORB_API long cmn_main_is_debug_mode();

// The name after a "CTL:" / "COB:" prefix (byte-wise, case-sensitive), else
// the name itself; null for null. No copy is made.
ORB_API const char* cmn_main_delocalize_ctl_name(const char* name);
ORB_API const char* cmn_main_delocalize_cobj_name(const char* name);

// Booleans of the scripting language: true is -1 in the low 16 bits.
ORB_API long cmn_main_int_to_vb_bool(long value);
ORB_API long cmn_main_vb_bool_to_int(long value);

// The dialog-number counter: 1 on the first call, then one more each call.
ORB_API long cmn_main_get_next_dlg_num();
