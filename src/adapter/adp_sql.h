// The adapter's statement calls and view grants that the schema writer
// uses. Implemented by the adapter.
#pragma once

#include "orb_api.h"

class KAdpConnId;
struct typ_sch_srec;
struct utl_ty_estr;

ORB_API long adp_sql_create(KAdpConnId* con, void** statement);
ORB_API long adp_sql_append(KAdpConnId* con, void* statement, const char* text);
ORB_API long adp_sql_execute(KAdpConnId* con, void* statement);
ORB_API long adp_sql_result();
ORB_API long adp_sql_free(KAdpConnId* con, void* statement);

// View dictionary rows, the view itself and its grant.
ORB_API long adp_sch_del_view_info(KAdpConnId* con);
ORB_API long adp_sch_drop_view(KAdpConnId* con, typ_sch_srec* view);
ORB_API long adp_sch_view_def(KAdpConnId* con, typ_sch_srec* view, utl_ty_estr** text);
ORB_API long adp_usr_view_grant(KAdpConnId* con, typ_sch_srec* view);
