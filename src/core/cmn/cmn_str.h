// Registration of the cmn message list.
//
// Threads: start-up only (it fills the message-list slot; see loc_str.h).
#pragma once

#include "orb_api.h"

// Registers the cmn list (subsystem 1, ids 1000..1217, 218 descriptors) and its
// compiled-in texts; the result of the registration.
ORB_API long cmn_str_init();
