// Client interface: states (units of work).
#pragma once

#include <cstdio>

#include "orb_api.h"

ORB_API long cpi_state_create(long con_id, long reserved, long* out_state);
ORB_API long cpi_state_commit(long state);
// Abandons the state and frees it; after a commit it only frees it.
ORB_API long cpi_state_rollback(long state);
ORB_API long cpi_state_dump(long state, FILE* stream);
ORB_API long cpi_state_install_callback(long state, long callback_number, void* procedure);
ORB_API long cpi_state_get_dbid(long state, long* out_con_id);
ORB_API long cpi_state_count(long state, const char* type_name, long* out_count);
ORB_API long cpi_state_get_obj_by_index(long state, long index, const char* type_name,
                                        void** out_object);
