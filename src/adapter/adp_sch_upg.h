// The adapter's type-table call made by a schema upgrade.
#pragma once

#include "orb_api.h"

struct typ_sch_iblk;

// Adds the type to the adapter's type table (with its physical table name).
ORB_API long adp_sch_type_insert(long type_id, unsigned long flags, typ_sch_iblk* info);
