// Message-list registrations of application modules that have no other code
// in this library. Each registers its list with loc_str_init_list and returns
// the result. The cas, bug, vert and bil lists carry no compiled-in texts:
// their texts come from the database once a session has installed its source.
#pragma once

#include "orb_api.h"

ORB_API long cas_str_init();   // subsystem 21, ids 5000..5195
ORB_API long bug_str_init();   // subsystem 53, ids 12400..12507
ORB_API long prb_str_init();   // subsystem 19, ids 4600..4601
ORB_API long bil_str_init();   // subsystem 155, ids 51800..52002
ORB_API long vert_str_init();  // subsystem 150, ids 47800..50039
