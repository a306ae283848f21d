// Power queries: a query whose SQL text is written once and kept in a
// power-query object (field 5 the stored-procedure name, field 6 the SQL).
#pragma once

#include "orb_api.h"

class KAdpConnId;
struct utl_ty_col;
struct dbs_ty_lobj;

// Empties ids and fills them with the ids the object's SQL finds.
ORB_API long dbs_pwr_qry_execute(KAdpConnId* c, dbs_ty_lobj* pwr_object, utl_ty_col* ids);
