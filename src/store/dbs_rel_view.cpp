// Field values copied between a view object and the objects it shows.
#include <cstring>

#include "adapter/adp_sch.h"
#include "core/utl/utl_col.h"
#include "schema/typ_rec.h"
#include "store/dbs_fld.h"
#include "store/dbs_msg.h"
#include "store/dbs_obj.h"
#include "store/dbs_rel.h"

namespace {

constexpr long DBS_NOT_VIEW = 0x70008b;

bool same(const char* a, const char* b) { return a && b && std::strcmp(a, b) == 0; }

// Whether the view joins the alias by the given relation id.
bool joined_by(typ_sch_srec* view, const char* alias, long rel_id) {
  for (long i = 0; i < view->nrels; ++i) {
    const typ_sch_rel_inst& e = view->rels[i];
    if (!e.join || !e.rel) continue;
    if (same(e.join->palias, alias) && e.rel->fspec == rel_id) return true;
    if (same(e.join->falias, alias) && e.rel->pspec == rel_id) return true;
  }
  return false;
}

}  // namespace

long dbs_obj_obj_to_or_from_view(KAdpConnId* c, dbs_ty_lobj** objects, long n, dbs_ty_lobj* view_obj,
                                 char direction, const long* rel_ids) {
  typ_sch_srec* view = view_obj ? dbs_obj_get_schema(view_obj) : nullptr;
  if (!view || !(view->flags & TYP_SCH_VIEW)) return dbs_alrt("dbs_obj_obj_to_or_from_view", DBS_NOT_VIEW);
  if (!view->info || !view->info->uptr) {
    utl_ty_col* types = nullptr;
    utl_ty_col* aliases = nullptr;
    long st = adp_sch_fetch_joins(c, view, 1, 1, &types, &aliases);
    if (st == 0) st = adp_sch_fetch_org_view_fields(c, view, types, aliases);
    if (types) utl_col_free("dbs_obj_obj_to_or_from_view", types);
    if (aliases) utl_col_free("dbs_obj_obj_to_or_from_view", aliases);
    if (st) return st;
  }
  for (long f = 0; f < view->nfields; ++f) {
    typ_sch_srec* source = nullptr;
    long source_field = -1;
    const char* alias = nullptr;
    if (long st = adp_sch_view_field_info(c, view, f, &source, &source_field, &alias)) return st;
    if (!source) continue;
    long view_field = view->fields[f].spec_id;
    for (long i = 0; i < n; ++i) {
      dbs_ty_lobj* o = objects[i];
      if (!o || dbs_obj_get_schema(o) != source) continue;
      if (rel_ids && rel_ids[i] != -1 && rel_ids[i] != -2 && !joined_by(view, alias, rel_ids[i])) continue;
      long st = direction ? dbs_fld_copy(o, source_field, view_obj, view_field)
                          : dbs_fld_copy(view_obj, view_field, o, source_field);
      if (st) return st;
    }
  }
  return 0;
}

long dbs_obj_obj_to_view(KAdpConnId* c, dbs_ty_lobj* object, dbs_ty_lobj* view) {
  return dbs_obj_obj_to_or_from_view(c, &object, 1, view, 1, nullptr);
}

long dbs_obj_view_to_obj(KAdpConnId* c, dbs_ty_lobj* view, dbs_ty_lobj* object) {
  return dbs_obj_obj_to_or_from_view(c, &object, 1, view, 0, nullptr);
}
