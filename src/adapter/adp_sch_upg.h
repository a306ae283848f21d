// The adapter's dictionary, offline-feature and stored-procedure calls
// made by a schema upgrade. The type table's calls are in adp_sch_load.h.
#pragma once

#include "orb_api.h"

class KAdpConnId;
struct utl_ty_col;

// Deletes every dictionary row of a type.
ORB_API long adp_sch_delete_type_info(KAdpConnId* con, long type_id);
// Marks the dictionary tables for the offline feature and records the version.
ORB_API long adp_sce_update_detable(KAdpConnId* con, long version, utl_ty_col* events);
// (Re)creates the stored procedures; non-zero on failure.
ORB_API long adp_stp_create_procs(KAdpConnId* con, const char* db_name, long flag);
