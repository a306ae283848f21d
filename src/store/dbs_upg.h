// The table-change engine's calls that the upgrade applier makes. The
// database revisions and features are in dbs_db.h, the writing of schemas
// and the currency flags of views in schema/typ_write.h. Implemented by the
// object store; the schema library only declares them.
#pragma once

#include "orb_api.h"

class KAdpConnId;
struct utl_ty_col;
struct typ_sch_diff_rec;

ORB_API long dbs_rdb_calc_changes(KAdpConnId* con, long count, typ_sch_diff_rec* records, unsigned long options,
                                  utl_ty_col** changes, long revision, utl_ty_col* events);
ORB_API long dbs_rdb_change_tables(KAdpConnId* con, utl_ty_col* changes, long mode);
