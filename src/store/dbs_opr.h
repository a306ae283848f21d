// Query operators and values by field path.
#pragma once

#include "orb_api.h"

struct utl_ty_col;

// The operators a field path allows (values: type 512, names: type 516). A
// relation name gives 0x500011 without an alert; a path that is neither a
// field nor a relation gives 0x500011 with its alert.
ORB_API long dbs_opr_get_operators(long type_id, const char* path, utl_ty_col* values, utl_ty_col* names);
// 0, or 0x700027 (value, label) for a value the path's type refuses; clock
// times refuse a value that begins with '?' or is all blanks.
ORB_API long dbs_opr_check_value(long type_id, const char* label, const char* path, const char* value);
