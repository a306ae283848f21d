// Stored relations: relating, unrelating and testing two objects by id or
// by local object, reading related ids, the write queue the adapter sends in
// batches, and the offline client's entry points that do nothing here.
#pragma once

#include "orb_api.h"
#include "store/dbs_oid.h"

class KAdpConnId;
struct dbs_ty_lobj;
struct utl_ty_col;

ORB_API long dbs_rel_relate_id_to_id(KAdpConnId* c, obj_id* source, long rel_id, obj_id* target);
ORB_API long dbs_rel_relate_obj_to_id(KAdpConnId* c, dbs_ty_lobj* source, long rel_id, obj_id* target);
ORB_API long dbs_rel_relate(KAdpConnId* c, dbs_ty_lobj* source, long rel_id, dbs_ty_lobj* target);
ORB_API long dbs_rel_unrelate_id_to_id(KAdpConnId* c, obj_id* source, long rel_id, obj_id* target);
ORB_API long dbs_rel_unrelate_obj_to_id(KAdpConnId* c, dbs_ty_lobj* source, long rel_id, obj_id* target);
ORB_API long dbs_rel_unrelate(KAdpConnId* c, dbs_ty_lobj* source, long rel_id, dbs_ty_lobj* target);
ORB_API long dbs_rel_unrelate_from_id(KAdpConnId* c, obj_id* id, long rel_id);
ORB_API long dbs_rel_related_remote_id_to_id(KAdpConnId* c, obj_id* source, long rel_id, obj_id* target,
                                             long options, char* related);
ORB_API long dbs_rel_related_remote(KAdpConnId* c, dbs_ty_lobj* source, long rel_id, dbs_ty_lobj* target,
                                    long options, char* related);

// Related ids into ids (required, emptied).
ORB_API long dbs_rel_get_oid_from_oid(KAdpConnId* c, obj_id* id, long rel_id, long options, utl_ty_col* ids);
ORB_API long dbs_rel_get_oid(KAdpConnId* c, dbs_ty_lobj* object, long rel_id, long options, utl_ty_col* ids);
// related is 1 when there is at least one related id, and when the ids are
// too many to hold in memory.
ORB_API long dbs_rel_check_related_from_oid(KAdpConnId* c, obj_id* id, long rel_id, long options, char* related);
ORB_API long dbs_rel_check_related(KAdpConnId* c, dbs_ty_lobj* object, long rel_id, long options, char* related);
// The relation id of the other side.
ORB_API long dbs_rel_inv(dbs_ty_lobj* object, long rel_id, long* inverse);

// The write queue.
ORB_API long dbs_obj_add_to_batch(dbs_ty_lobj* object, char create);
ORB_API long dbs_obj_cond_add_to_batch(utl_ty_col* conds);
// Option bits 1 and 2 give the adapter's delete option 0-3.
ORB_API long dbs_obj_delete_in_batch(dbs_ty_lobj* object, long options);
ORB_API long dbs_rel_add_to_batch(obj_id* a, obj_id* b, obj_id* link_row, long rel_id, char relate);
ORB_API long dbs_rel_do_batch(KAdpConnId* c, char flag, long option);
ORB_API long dbs_rel_abort_batch();
// The foreign-key columns of one row (the adapter's batch read).
ORB_API long dbs_rel_get_fk_cols(KAdpConnId* c, long type_id, long number, long n, const char* const* columns,
                                 long* values);
ORB_API long dbs_rel_get_fk_cols_ex(KAdpConnId* c, long type_id, long number, long n, const char* const* columns,
                                   const char* const* type_columns, const char* const* id_columns,
                                   const long* wanted_types, long* values);

// Offline-synchronisation client entry points: no effect in this library.
ORB_API long Synchronize();
ORB_API long RuzDoUpgrade();
ORB_API long RuzRebuildRequest();
ORB_API long RuzBatchSchemaVersion();
ORB_API long RUZApplySchemaDone();
ORB_API long read_sbatch();
ORB_API void setReadOnlyFlag();
ORB_API void GetLastSyncDateTime();

// Related local objects into *objects (made here, type 517, unless option
// bit value 2 says the caller's collection is used); got becomes 1.
ORB_API long dbs_rel_get_remote(KAdpConnId* c, dbs_ty_lobj* object, long rel_id, long options,
                                utl_ty_col** objects, char* got);
// The primary-side ids of a foreign-side relation for a list of ids.
ORB_API long dbs_rel_get_oid_col(KAdpConnId* c, long type_id, utl_ty_col* ids, long rel_id, long target_type_id,
                                 utl_ty_col* out);
// related is 1 when any relation of the id's type has a related id.
ORB_API long dbs_rel_chk_any_related_fr_oid(KAdpConnId* c, obj_id* id, long options, char* related);
ORB_API long dbs_rel_check_any_related(KAdpConnId* c, dbs_ty_lobj* object, long options, char* related);

struct typ_sch_srec;
// The schema holding a relation index (bit 0x4000 ignored): 1 when none;
// else the spec id of its object-id field (-1 and a null schema without one).
ORB_API long dbs_sch_opt_vfld_to_real(long rel_index, long* spec_id, typ_sch_srec** schema);
// With a remote object service, reads the server batch: 0 when it answers
// 1; 3 sets the read-only flag and gives 0x700093; others 0x700092.
ORB_API long dbs_obj_process_login_batches();

// Copies field values between base objects and a view object: direction 1
// from the objects into the view, 0 back. rel_ids (one per object, or null):
// an entry other than -1 and -2 limits the object to the view fields whose
// alias joins by that relation id.
ORB_API long dbs_obj_obj_to_or_from_view(KAdpConnId* c, dbs_ty_lobj** objects, long n, dbs_ty_lobj* view,
                                         char direction, const long* rel_ids);
ORB_API long dbs_obj_obj_to_view(KAdpConnId* c, dbs_ty_lobj* object, dbs_ty_lobj* view);
ORB_API long dbs_obj_view_to_obj(KAdpConnId* c, dbs_ty_lobj* view, dbs_ty_lobj* object);
