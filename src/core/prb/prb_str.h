// Message list of the prb module, which has no other code in this library.
// Registered with the message lists (loc_str_init_list) at start-up.
#pragma once

#include "orb_api.h"

// Registers the prb list (subsystem 19, ids 4600..4601); the result of the
// registration.
//
// Threads: start-up only (it fills the message-list slot; see loc_str.h).
ORB_API long prb_str_init();
