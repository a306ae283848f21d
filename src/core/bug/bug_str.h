// Message list of the bug module, which has no other code in this library.
// Registered with the message lists (loc_str_init_list) at start-up.
#pragma once

#include "orb_api.h"

// Registers the bug list (subsystem 53, ids 12400..12507); the result of the
// registration.
//
// Threads: start-up only (it fills the message-list slot; see loc_str.h).
ORB_API long bug_str_init();
