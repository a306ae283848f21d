// The adapter's object SQL calls that the error mapping uses.
#pragma once

#include "orb_api.h"

// Analyses a unique-key violation text through the current connection's
// dialect: the object type id (-1 when the table is no object type), the
// key's field names and the table (index) name. Without a connection or
// dialect: type -1 and empty names. 0 or the dialect's code.
ORB_API long adp_obj_not_unique_by_msg(char* message, long* type_id, char** columns, char** index_name);
