// Message list of the bil module, which has no other code in this library.
// Registered with the message lists (loc_str_init_list) at start-up.
#pragma once

#include "orb_api.h"

// Registers the bil list (subsystem 155, ids 51800..52002); the result of the
// registration.
//
// Threads: start-up only (it fills the message-list slot; see loc_str.h).
ORB_API long bil_str_init();
