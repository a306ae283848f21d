// The change stamps the adapter puts on saved local objects, the writing of
// changed schemas and views to the database, and the currency flags of
// views during an upgrade. These call the object store (field writer,
// header) and the adapter.
#pragma once

#include "orb_api.h"

class KAdpConnId;
struct dbs_ty_lobj;
struct utl_ty_col;

ORB_API long typ_sch_put_dirty_timestamp(KAdpConnId* con, dbs_ty_lobj* object, char force);
ORB_API long typ_sch_dirty_update_timestamp(KAdpConnId* con, dbs_ty_lobj* object, long flag, long ignored);
ORB_API long typ_sch_dirty_update_localeid(KAdpConnId* con, dbs_ty_lobj* object, long flag, long ignored);

// written: collection of longs (type 512) receiving the written type ids, or null.
ORB_API long typ_sch_write(KAdpConnId* con, char with_rels, utl_ty_col* written, long id_argument);
ORB_API long typ_sch_write_view(KAdpConnId* con);
// former: a former schema collection (type 523) or null.
ORB_API long typ_sch_set_view_currency_flag(KAdpConnId* con, utl_ty_col* former);
