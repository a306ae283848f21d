// Related objects of an object, the primary-side ids of a list, and the test
// for any related object.
#include "adapter/adp_rel.h"
#include "adapter/adp_sch_load.h"
#include "core/utl/utl_col.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"
#include "store/dbs_msg.h"
#include "store/dbs_obj.h"
#include "store/dbs_rel.h"

namespace {
constexpr long DBS_REL_MISMATCH = 0x700005;
constexpr long DBS_REL_BAD_ENTRY = 0x700006;
constexpr long DBS_TEMP_OBJ = 0x700012;
constexpr long k_mtm = 5;

const char* name_of(typ_sch_srec* s) { return s && s->info ? s->info->name : ""; }
}  // namespace

long dbs_rel_get_remote(KAdpConnId* c, dbs_ty_lobj* object, long rel_id, long options, utl_ty_col** objects,
                        char* got) {
  if (!object || dbs_obj_is_temp(object))
    return dbs_alrt("dbs_rel_get_remote", DBS_TEMP_OBJ, reinterpret_cast<long>(object));
  typ_sch_srec* s = dbs_obj_get_schema(object);
  long index = 0;
  if (long st = typ_sch_rel_map(s, rel_id, &index)) return st;
  const typ_sch_rel_inst& entry = s->rels[index];
  if (!entry.rel) return dbs_alrt("dbs_rel_get_remote", DBS_REL_BAD_ENTRY, rel_id, name_of(s));
  // Option bit 2 fills the caller's collection; without one (or without the
  // bit) a new collection is made, so the adapter never gets a null one.
  if (!(options & 2) || !*objects) {
    *objects = nullptr;
    if (long st = utl_col_make("dbs_rel_get_remote", 517, 5, 5, 0, 0, objects)) return st;
  }
  long opts = options & ~1L;
  bool primary = entry.side == 'p';
  typ_sch_rrec* r = entry.rel;
  long st = 0;
  if (r->type == k_mtm)
    st = adp_rel_get_obj_mtm(c, object, s, primary ? r->fschema : r->pschema, rel_id, opts, primary ? 1 : 0,
                             *objects);
  else if (primary)
    st = adp_rel_get_fk_obj(c, object, rel_id, opts, *objects);
  else
    st = adp_rel_get_pk_obj(c, object, rel_id, opts, *objects);
  if (st == 0 && got) *got = 1;
  return st;
}

long dbs_rel_get_oid_col(KAdpConnId* c, long type_id, utl_ty_col* ids, long rel_id, long target_type_id,
                         utl_ty_col* out) {
  long n = 0;
  if (ids) utl_col_num(ids, &n);
  if (n == 0) return 0;
  typ_sch_srec* s = nullptr;
  typ_sch_srec* t = nullptr;
  if (long st = adp_sch_shandle_find(type_id, &s)) return st;
  if (long st = adp_sch_shandle_find(target_type_id, &t)) return st;
  long index = 0;
  if (long st = typ_sch_rel_map(s, rel_id, &index)) return st;
  const typ_sch_rel_inst& entry = s->rels[index];
  if (entry.side != 'f' || !entry.rel) return 0;
  if (entry.rel->fschema != s || entry.rel->pschema != t)
    return dbs_alrt("dbs_rel_get_oid_col", DBS_REL_MISMATCH, name_of(s), rel_id, name_of(t));
  return adp_rel_get_pk_oid_col(c, ids, rel_id, out, 0);
}

long dbs_rel_chk_any_related_fr_oid(KAdpConnId* c, obj_id* id, long options, char* related) {
  *related = 0;
  typ_sch_srec* s = nullptr;
  if (long st = adp_sch_shandle_find(id->type & 0x1ffff, &s)) return st;
  utl_ty_col* ids = nullptr;
  if (long st = utl_col_make("dbs_rel_chk_any_related_fr_oid", 594, 8, 8, 0, 0, &ids)) return st;
  long st = 0;
  for (long i = 0; i < s->nrels && st == 0 && !*related; ++i) {
    const typ_sch_rel_inst& entry = s->rels[i];
    typ_sch_rrec* r = entry.rel;
    utl_col_reset(ids);
    if (!r || (entry.side != 'p' && entry.side != 'f')) {
      st = dbs_alrt("dbs_rel_chk_any_related_fr_oid", DBS_REL_BAD_ENTRY, i, name_of(s));
      break;
    }
    bool primary = entry.side == 'p';
    long rel_id = primary ? r->pspec : r->fspec;
    if (r->type == k_mtm)
      st = adp_rel_get_oid_mtm(c, id, s, primary ? r->fschema : r->pschema, rel_id, options, primary ? 1 : 0, ids);
    else if (primary)
      st = adp_rel_get_fk_oid(c, id, s, rel_id, options, ids);
    else
      st = adp_rel_get_pk_oid(c, id, s, rel_id, options, ids);
    long n = 0;
    utl_col_num(ids, &n);
    if (st == 0 && n > 0) *related = 1;
  }
  utl_col_free("dbs_rel_chk_any_related_fr_oid", ids);
  return st;
}

long dbs_rel_check_any_related(KAdpConnId* c, dbs_ty_lobj* object, long options, char* related) {
  if (!object || dbs_obj_is_temp(object))
    return dbs_alrt("dbs_rel_check_any_related", DBS_TEMP_OBJ, reinterpret_cast<long>(object));
  obj_id id{};
  if (long st = dbs_obj_oid_get(object, &id)) return st;
  return dbs_rel_chk_any_related_fr_oid(c, &id, options, related);
}
