// Message list of the vert module, which has no other code in this library.
// Registered with the message lists (loc_str_init_list) at start-up.
#pragma once

#include "orb_api.h"

// Registers the vert list (subsystem 150, ids 47800..50039); the result of the
// registration. Not thread-safe (start-up only).
ORB_API long vert_str_init();
