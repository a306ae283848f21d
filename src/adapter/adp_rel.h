// The adapter's relation write batch: the queue items and the queueing
// calls. Implemented by the adapter.
#pragma once

#include "orb_api.h"

#include "store/dbs_oid.h"

struct typ_sch_rrec;

// One queued relate or unrelate.
struct adp_rel_batch_item {
  obj_id primary;
  obj_id foreign;
  long rel_id;            // relation id passed by the caller
  typ_sch_rrec* rel;      // the relation record
  const char* side_name;  // relation name of the caller's side
  char relate;            // 1 relate, 0 unrelate
  char active;            // 1 still to be written
  void* absorbed_by;      // object item that writes this change, or null
  long sequence;
  obj_id link_row;        // link row of a many-to-many relate
};

// One queued object write.
struct adp_obj_batch_item {
  void* object;  // the local object
  obj_id id;
  long type;     // type id (low 17 bits of the id's type word)
  char create;
  char del;
  long delete_option;
};

// Queues a relate (1) or unrelate (0) of a and b by a relation named on a's
// type.
ORB_API long adp_rel_add_to_batch(obj_id* a, obj_id* b, obj_id* link_row, long rel_id, char relate);

class KAdpConnId;
struct typ_sch_srec;
struct utl_ty_col;
struct dbs_ty_lobj;

// Stored relations between two objects by id, primary side first.
ORB_API long adp_rel_new_relate_remote_id(KAdpConnId* con, obj_id* primary, const char* type_name, long rel_id,
                                          obj_id* foreign);
ORB_API long adp_rel_unrelate_remote_id(KAdpConnId* con, obj_id* primary, long rel_id, obj_id* foreign);
ORB_API long adp_rel_related_remote_id(KAdpConnId* con, obj_id* primary, long rel_id, obj_id* foreign,
                                       long options, char* related);
// Removes every relation of the object by the relation (primary: its side).
ORB_API long adp_rel_unrelate_from_id(KAdpConnId* con, char primary, obj_id* id, long rel_id);
// The same for two local objects, turned into ids first (a failing
// conversion is the result).
ORB_API long adp_rel_relate_remote(KAdpConnId* con, dbs_ty_lobj* primary, long rel_id, dbs_ty_lobj* foreign);
ORB_API long adp_rel_unrelate_remote(KAdpConnId* con, dbs_ty_lobj* primary, long rel_id, dbs_ty_lobj* foreign);
ORB_API long adp_rel_related_remote(KAdpConnId* con, dbs_ty_lobj* primary, long rel_id, dbs_ty_lobj* foreign,
                                    long options, char* related);
// Whether any row of the foreign table points to the object, the primary
// side of a foreign-key relation named on its type (*related 1).
ORB_API long adp_rel_pk_related_id_non_mtm(KAdpConnId* con, obj_id* id, long rel_id, char* related);
ORB_API long adp_rel_pk_related_non_mtm(KAdpConnId* con, dbs_ty_lobj* object, long rel_id, char* related);
// Related ids: through the link table, by the foreign key the others hold
// (the primary side's view), or by the key the object holds.
ORB_API long adp_rel_get_oid_mtm(KAdpConnId* con, obj_id* id, typ_sch_srec* schema, typ_sch_srec* other,
                                 long rel_id, long options, char primary, utl_ty_col* ids);
ORB_API long adp_rel_get_fk_oid(KAdpConnId* con, obj_id* id, typ_sch_srec* schema, long rel_id, long options,
                                utl_ty_col* ids);
ORB_API long adp_rel_get_pk_oid(KAdpConnId* con, obj_id* id, typ_sch_srec* schema, long rel_id, long options,
                                utl_ty_col* ids);

// The write queue.
ORB_API long adp_obj_add_to_batch(dbs_ty_lobj* object, char create);
ORB_API long adp_obj_cond_add_to_batch(utl_ty_col* conds);
ORB_API long adp_obj_delete_in_batch(dbs_ty_lobj* object, long option);
ORB_API long adp_rel_do_batch(KAdpConnId* con, char flag, long option);
ORB_API long adp_rel_abort_batch();
// The foreign-key columns of one row into n longs (0 when the row is
// missing); the _ex form selects column i's id column only where its type
// column holds wanted_types[i] (a null type column: the column itself).
ORB_API long adp_obj_get_fk_cols_batch(KAdpConnId* con, long type_id, long number, long n, const char* const* columns,
                                       long* values);
ORB_API long adp_obj_get_fk_cols_batch_ex(KAdpConnId* con, long type_id, long number, long n,
                                          const char* const* columns, const char* const* type_columns,
                                          const char* const* id_columns, const long* wanted_types, long* values);

// Related local objects: through the link table, the objects holding the
// foreign key, or the one the object's key points to.
ORB_API long adp_rel_get_obj_mtm(KAdpConnId* con, dbs_ty_lobj* object, typ_sch_srec* schema, typ_sch_srec* other,
                                 long rel_id, long options, char primary, utl_ty_col* objects);
ORB_API long adp_rel_get_fk_obj(KAdpConnId* con, dbs_ty_lobj* object, long rel_id, long options,
                                utl_ty_col* objects);
ORB_API long adp_rel_get_pk_obj(KAdpConnId* con, dbs_ty_lobj* object, long rel_id, long options,
                                utl_ty_col* objects);
// The primary-side ids that the ids' foreign keys point to.
ORB_API long adp_rel_get_pk_oid_col(KAdpConnId* con, utl_ty_col* ids, long rel_id, utl_ty_col* out, long option);
