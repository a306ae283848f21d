// Registration of the dbg message list.
//
// Threads: start-up only (it fills the message-list slot; see loc_str.h).
#pragma once

#include "orb_api.h"

// Registers the dbg list (subsystem 3, ids 1400..1410) and its texts.
ORB_API long dbg_str_init();
