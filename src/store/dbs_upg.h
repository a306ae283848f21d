// The object store's calls that the schema compiler and the upgrade
// applier make: database revisions and features, schema writing, view
// currency flags and the table-change engine. Implemented by the object
// store; the schema library only declares them.
#pragma once

#include "orb_api.h"

class KAdpConnId;
struct utl_ty_col;
struct typ_sch_diff_rec;

ORB_API long dbs_db_change_schema_rev(KAdpConnId* con, long revision);
ORB_API long dbs_db_get_schema_rev(KAdpConnId* con, long* revision);
ORB_API long dbs_db_change_cust_schema_rev(KAdpConnId* con, const char* text);
ORB_API long dbs_db_get_cust_int_sch_rev(KAdpConnId* con, long* revision);
ORB_API long dbs_db_change_cust_int_sch_rev(KAdpConnId* con, long revision);
ORB_API long dbs_db_if_roamer_enabled(KAdpConnId* con, char* yes);
ORB_API long dbs_db_name_get(KAdpConnId* con, const char** name);
ORB_API long dbs_db_convert(KAdpConnId* con, const char* argument);

// Writes the changed schemas (and their relations) to the dictionary.
ORB_API long typ_sch_write(KAdpConnId* con, long with_rels, long mode, long id_argument);
// Currency flags of the views from their source fields.
ORB_API long typ_sch_set_view_currency_flag(KAdpConnId* con, utl_ty_col* former_schemas);

// The table-change engine.
ORB_API long dbs_rdb_calc_changes(KAdpConnId* con, long count, typ_sch_diff_rec* records, unsigned long options,
                                  utl_ty_col** changes, long revision, utl_ty_col* events);
ORB_API long dbs_rdb_change_tables(KAdpConnId* con, utl_ty_col* changes, long mode);
