// Removing fields and relations from a type: the columns go from its table,
// the dictionary row goes and the later rows move down one place (with the
// offline feature on, each moved row is recorded in de_updates first). And
// the trigger probe, which knows of no trigger.
#pragma once

#include "orb_api.h"

class KAdpConnId;
struct typ_sch_srec;
struct typ_sch_rrec;

// Drops the field's column (and its search column) from the type's table,
// deletes its adp_sch_info row and renumbers the later fields. schema may be
// null (no search column is then dropped).
ORB_API long adp_sch_delete_field(KAdpConnId* con, long type_id, const char* type_name, long spec_field_id,
                                  const char* field_name, typ_sch_srec* schema);
// Drops the columns the relation's DDL made (none for a link table), deletes
// this end's row (side 'p': the primary side's spec id, else the foreign
// side's) with renumbering, then the other end's.
ORB_API long adp_sch_delete_rel(KAdpConnId* con, long type_id, const char* type_name, char side, typ_sch_rrec* rel);
// Deletes the other end's row of the relation and renumbers its type's rows.
ORB_API long adp_sch_delete_inv_rel(KAdpConnId* con, char side, typ_sch_rrec* rel);
// No trigger is ever reported: both out bytes 0, status 0.
ORB_API long adp_sch_get_trigger(KAdpConnId* con, const char* name, long kind, char* found, char* enabled);
