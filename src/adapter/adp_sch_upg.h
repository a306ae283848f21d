// The adapter's type-table call made by a schema upgrade.
#pragma once

#include "orb_api.h"

struct typ_sch_iblk;

// Adds the type to the adapter's type table (with its physical table name).
ORB_API long adp_sch_type_insert(long type_id, unsigned long flags, typ_sch_iblk* info);

class KAdpConnId;
struct utl_ty_col;

// Deletes every dictionary row of a type.
ORB_API long adp_sch_delete_type_info(KAdpConnId* con, long type_id);
// Marks the dictionary tables for the offline feature and records the version.
ORB_API long adp_sce_update_detable(KAdpConnId* con, long version, utl_ty_col* events);
// (Re)creates the stored procedures; non-zero on failure.
ORB_API long adp_stp_create_procs(KAdpConnId* con, const char* db_name, long flag);
// Re-reads the database's type table.
ORB_API long adp_sch_types_init(KAdpConnId* con, void* stream);
