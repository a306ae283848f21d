// The store's view of the adapter's type table and the schema readers'
// switches.
#pragma once

#include "orb_api.h"

struct typ_sch_srec;

ORB_API long dbs_sch_type_info_get(long type_id, long* flags, const char** name, typ_sch_srec** schema);
// The schema readers also fetch comments / view joins.
ORB_API long dbs_sch_set_comment_flag();
ORB_API long dbs_sch_set_join_flag();
ORB_API long dbs_sch_init();
ORB_API long dbs_sch_term();
