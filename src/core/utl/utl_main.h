// Start and stop of the utl module (memory front end, pools, collections,
// extensible strings, symbol tables, message list).
//
// Threads: start-up and shut-down only, by one thread.
#pragma once

#include "orb_api.h"

// utl_col_init, utl_mem_init, utl_pl_init, utl_estr_init, utl_str_init,
// utl_sym_init in that order; the first non-zero status is returned.
ORB_API long utl_main_init();
ORB_API long utl_main_term();
// 0 when the utl message texts can be fetched, else pushes utl 16 (size 100).
ORB_API long utl_main_fetch_strs();
