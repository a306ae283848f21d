// Names that the dialects write into DDL or commands without quoting:
// database, file and table names. A name holding a quote, a blank or any
// other character outside names and paths is refused before anything runs.
#pragma once

#include "orb_api.h"

// 0 when name is a plain name (letters, digits, "_", "$", "#", "."), or
// with path set also a file path ("/", "\\", ":", "-"); else pushes
// 0x60000C with the name and returns it. An empty or null name is refused.
ORB_API long adp_dbop_check_name(const char* name, bool path);
