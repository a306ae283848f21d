// Stored relations: the side of a relation, the checks on the two types and
// the adapter call by relation kind.
#include "store/dbs_rel.h"

#include "adapter/adp_rel.h"
#include "adapter/adp_sch_load.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_col.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"
#include "store/dbs_msg.h"
#include "store/dbs_obj.h"

namespace {

constexpr long DBS_REL_MISMATCH = 0x700005;
constexpr long DBS_REL_BAD_ENTRY = 0x700006;
constexpr long DBS_BAD_OID_COL = 0x70000e;
constexpr long DBS_TEMP_PAIR = 0x700011;
constexpr long DBS_TEMP_OBJ = 0x700012;
constexpr long k_mtm = 5;
constexpr long k_type_mask = 0x1ffff;
constexpr long k_no_memory = 0x400010;
constexpr long k_too_large = 0x40002d;

const char* name_of(typ_sch_srec* s) { return s && s->info ? s->info->name : ""; }

long entry_of(const char* proc, typ_sch_srec* s, long rel_id, typ_sch_rel_inst** entry) {
  long index = 0;
  if (long st = typ_sch_rel_map(s, rel_id, &index)) return st;
  *entry = &s->rels[index];
  if (!(*entry)->rel) return dbs_alrt(proc, DBS_REL_BAD_ENTRY, rel_id, name_of(s));
  return 0;
}

// Orders the two ids primary side first, after checking that their types
// fit the relation.
long choose_side(const char* proc, obj_id* source, long rel_id, obj_id* target, bool need_side,
                 typ_sch_srec** src_schema, obj_id** primary, obj_id** foreign) {
  typ_sch_srec* src = nullptr;
  typ_sch_srec* tgt = nullptr;
  if (long st = adp_sch_shandle_find(source->type & k_type_mask, &src)) return st;
  if (long st = adp_sch_shandle_find(target->type & k_type_mask, &tgt)) return st;
  typ_sch_rel_inst* entry = nullptr;
  if (long st = entry_of(proc, src, rel_id, &entry)) return st;
  if (need_side && entry->side != 'p' && entry->side != 'f')
    return dbs_alrt(proc, DBS_REL_BAD_ENTRY, rel_id, name_of(src));
  typ_sch_rrec* r = entry->rel;
  *src_schema = src;
  if (entry->side == 'p' && r->pschema == src && r->fschema == tgt) {
    *primary = source;
    *foreign = target;
    return 0;
  }
  if (entry->side == 'f' && r->fschema == src && r->pschema == tgt) {
    *primary = target;
    *foreign = source;
    return 0;
  }
  return dbs_alrt(proc, DBS_REL_MISMATCH, name_of(src), rel_id, name_of(tgt));
}

long need_perm(const char* proc, dbs_ty_lobj* o) {
  if (!o || dbs_obj_is_temp(o)) return dbs_alrt(proc, DBS_TEMP_OBJ, reinterpret_cast<long>(o));
  return 0;
}

long need_pair(const char* proc, dbs_ty_lobj* a, dbs_ty_lobj* b) {
  if (!a || !b || dbs_obj_is_temp(a) || dbs_obj_is_temp(b))
    return dbs_alrt(proc, DBS_TEMP_PAIR, reinterpret_cast<long>(a), reinterpret_cast<long>(b));
  return 0;
}

enum class act { relate, unrelate };

long relate_ids(const char* proc, act what, KAdpConnId* c, obj_id* source, long rel_id, obj_id* target) {
  typ_sch_srec* src = nullptr;
  obj_id* p = nullptr;
  obj_id* f = nullptr;
  if (long st = choose_side(proc, source, rel_id, target, what == act::relate, &src, &p, &f)) return st;
  if (what == act::relate) return adp_rel_new_relate_remote_id(c, p, name_of(src), rel_id, f);
  return adp_rel_unrelate_remote_id(c, p, rel_id, f);
}

long with_object_ids(const char* proc, act what, KAdpConnId* c, dbs_ty_lobj* source, long rel_id,
                     obj_id* target) {
  obj_id sid{};
  if (long st = dbs_obj_oid_get(source, &sid)) return st;
  return relate_ids(proc, what, c, &sid, rel_id, target);
}

long with_objects(const char* proc, act what, KAdpConnId* c, dbs_ty_lobj* source, long rel_id,
                  dbs_ty_lobj* target) {
  if (long st = need_pair(proc, source, target)) return st;
  obj_id tid{};
  if (long st = dbs_obj_oid_get(target, &tid)) return st;
  return with_object_ids(proc, what, c, source, rel_id, &tid);
}

}  // namespace

long dbs_rel_relate_id_to_id(KAdpConnId* c, obj_id* source, long rel_id, obj_id* target) {
  return relate_ids("dbs_rel_relate_id_to_id", act::relate, c, source, rel_id, target);
}
long dbs_rel_relate_obj_to_id(KAdpConnId* c, dbs_ty_lobj* source, long rel_id, obj_id* target) {
  if (long st = need_perm("dbs_rel_relate_obj_to_id", source)) return st;
  return with_object_ids("dbs_rel_relate_obj_to_id", act::relate, c, source, rel_id, target);
}
long dbs_rel_relate(KAdpConnId* c, dbs_ty_lobj* source, long rel_id, dbs_ty_lobj* target) {
  return with_objects("dbs_rel_relate", act::relate, c, source, rel_id, target);
}
long dbs_rel_unrelate_id_to_id(KAdpConnId* c, obj_id* source, long rel_id, obj_id* target) {
  return relate_ids("dbs_rel_unrelate_id_to_id", act::unrelate, c, source, rel_id, target);
}
long dbs_rel_unrelate_obj_to_id(KAdpConnId* c, dbs_ty_lobj* source, long rel_id, obj_id* target) {
  if (long st = need_perm("dbs_rel_unrelate_obj_to_id", source)) return st;
  return with_object_ids("dbs_rel_unrelate_obj_to_id", act::unrelate, c, source, rel_id, target);
}
long dbs_rel_unrelate(KAdpConnId* c, dbs_ty_lobj* source, long rel_id, dbs_ty_lobj* target) {
  return with_objects("dbs_rel_unrelate", act::unrelate, c, source, rel_id, target);
}

long dbs_rel_unrelate_from_id(KAdpConnId* c, obj_id* id, long rel_id) {
  typ_sch_srec* s = nullptr;
  if (long st = adp_sch_shandle_find(id->type & k_type_mask, &s)) return st;
  typ_sch_rel_inst* entry = nullptr;
  if (long st = entry_of("dbs_rel_unrelate_from_id", s, rel_id, &entry)) return st;
  if (entry->side != 'p' && entry->side != 'f')
    return dbs_alrt("dbs_rel_unrelate_from_id", DBS_REL_BAD_ENTRY, rel_id, name_of(s));
  return adp_rel_unrelate_from_id(c, entry->side == 'p' ? 1 : 0, id, rel_id);
}

long dbs_rel_related_remote_id_to_id(KAdpConnId* c, obj_id* source, long rel_id, obj_id* target, long options,
                                     char* related) {
  typ_sch_srec* src = nullptr;
  obj_id* p = nullptr;
  obj_id* f = nullptr;
  if (long st = choose_side("dbs_rel_related_remote_id_to_id", source, rel_id, target, false, &src, &p, &f))
    return st;
  return adp_rel_related_remote_id(c, p, rel_id, f, options, related);
}

long dbs_rel_related_remote(KAdpConnId* c, dbs_ty_lobj* source, long rel_id, dbs_ty_lobj* target, long options,
                            char* related) {
  if (long st = need_pair("dbs_rel_related_remote", source, target)) return st;
  obj_id sid{};
  obj_id tid{};
  if (long st = dbs_obj_oid_get(source, &sid)) return st;
  if (long st = dbs_obj_oid_get(target, &tid)) return st;
  return dbs_rel_related_remote_id_to_id(c, &sid, rel_id, &tid, options, related);
}

long dbs_rel_get_oid_from_oid(KAdpConnId* c, obj_id* id, long rel_id, long options, utl_ty_col* ids) {
  if (!ids) return dbs_alrt("dbs_rel_get_oid_from_oid", DBS_BAD_OID_COL, 0L);
  utl_col_reset(ids);
  typ_sch_srec* s = nullptr;
  if (long st = adp_sch_shandle_find(id->type & k_type_mask, &s)) return st;
  typ_sch_rel_inst* entry = nullptr;
  if (long st = entry_of("dbs_rel_get_oid_from_oid", s, rel_id, &entry)) return st;
  typ_sch_rrec* r = entry->rel;
  bool primary = entry->side == 'p';
  if (r->type == k_mtm)
    return adp_rel_get_oid_mtm(c, id, s, primary ? r->fschema : r->pschema, rel_id, options, primary ? 1 : 0, ids);
  if (primary) return adp_rel_get_fk_oid(c, id, s, rel_id, options, ids);
  return adp_rel_get_pk_oid(c, id, s, rel_id, options, ids);
}

long dbs_rel_get_oid(KAdpConnId* c, dbs_ty_lobj* object, long rel_id, long options, utl_ty_col* ids) {
  if (long st = need_perm("dbs_rel_get_oid", object)) return st;
  obj_id id{};
  if (long st = dbs_obj_oid_get(object, &id)) return st;
  return dbs_rel_get_oid_from_oid(c, &id, rel_id, options, ids);
}

long dbs_rel_check_related_from_oid(KAdpConnId* c, obj_id* id, long rel_id, long options, char* related) {
  *related = 0;
  utl_ty_col* ids = nullptr;
  if (long st = utl_col_make("dbs_rel_check_related_from_oid", 594, 8, 8, 0, 0, &ids)) return st;
  long st = dbs_rel_get_oid_from_oid(c, id, rel_id, options | 16, ids);
  long n = 0;
  utl_col_num(ids, &n);
  utl_col_free("dbs_rel_check_related_from_oid", ids);
  if (st == k_no_memory || st == k_too_large) {
    // Too many to hold: there are related ids. Only the allocation alert
    // goes; what the caller had stacked before stays.
    long top = 0;
    if (cmn_alrt_top(nullptr, &top, nullptr) == 0 && top == st) cmn_alrt_pop(nullptr, nullptr, nullptr);
    *related = 1;
    return 0;
  }
  if (st) return st;
  *related = n > 0 ? 1 : 0;
  return 0;
}

long dbs_rel_check_related(KAdpConnId* c, dbs_ty_lobj* object, long rel_id, long options, char* related) {
  obj_id id{};
  if (long st = dbs_obj_oid_get(object, &id)) return st;
  return dbs_rel_check_related_from_oid(c, &id, rel_id, options, related);
}

long dbs_rel_inv(dbs_ty_lobj* object, long rel_id, long* inverse) {
  typ_sch_srec* s = dbs_obj_get_schema(object);
  if (!s) return dbs_alrt("dbs_rel_inv", DBS_NULL_OBJECT);
  typ_sch_rel_inst* entry = nullptr;
  if (long st = entry_of("dbs_rel_inv", s, rel_id, &entry)) return st;
  *inverse = entry->side == 'p' ? entry->rel->fspec : entry->rel->pspec;
  return 0;
}

long dbs_obj_add_to_batch(dbs_ty_lobj* object, char create) { return adp_obj_add_to_batch(object, create); }
long dbs_obj_cond_add_to_batch(utl_ty_col* conds) { return adp_obj_cond_add_to_batch(conds); }
long dbs_obj_delete_in_batch(dbs_ty_lobj* object, long options) {
  return adp_obj_delete_in_batch(object, options & 3);
}
long dbs_rel_add_to_batch(obj_id* a, obj_id* b, obj_id* link_row, long rel_id, char relate) {
  return adp_rel_add_to_batch(a, b, link_row, rel_id, relate);
}
long dbs_rel_do_batch(KAdpConnId* c, char flag, long option) { return adp_rel_do_batch(c, flag, option); }
long dbs_rel_abort_batch() { return adp_rel_abort_batch(); }
long dbs_rel_get_fk_cols(KAdpConnId* c, long type_id, long number, long n, const char* const* columns,
                         long* values) {
  return adp_obj_get_fk_cols_batch(c, type_id, number, n, columns, values);
}
long dbs_rel_get_fk_cols_ex(KAdpConnId* c, long type_id, long number, long n, const char* const* columns,
                            const char* const* type_columns, const char* const* id_columns, const long* wanted_types,
                            long* values) {
  return adp_obj_get_fk_cols_batch_ex(c, type_id, number, n, columns, type_columns, id_columns, wanted_types,
                                      values);
}

long Synchronize() { return 0; }
long RuzDoUpgrade() { return 0; }
long RuzRebuildRequest() { return 0; }
long RuzBatchSchemaVersion() { return 0; }
long RUZApplySchemaDone() { return 0; }
long read_sbatch() { return 1; }
void setReadOnlyFlag() {}
void GetLastSyncDateTime() {}
