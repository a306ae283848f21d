// Message list of the vert module, which has no other code in this library.
// Registered with the message lists (loc_str_init_list) at start-up.
#pragma once

#include "orb_api.h"

// Registers the vert list (subsystem 150, ids 47800..50039); the result of the
// registration.
//
// Threads: start-up only (it fills the message-list slot; see loc_str.h).
ORB_API long vert_str_init();
