// Message list of the cas module, which has no other code in this library.
// Registered with the message lists (loc_str_init_list) at start-up.
#pragma once

#include "orb_api.h"

// Registers the cas list (subsystem 21, ids 5000..5195); the result of the
// registration.
//
// Threads: start-up only (it fills the message-list slot; see loc_str.h).
ORB_API long cas_str_init();
