// The relation path from a root type to the source of a view field, over
// the view's joins.
#include <cstdio>
#include <cstring>

#include "adapter/adp_sch.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"
#include "schema/typ_view.h"
#include "store/dbs_obj.h"
#include "store/dbs_rel.h"

namespace {

const char* text(const char* t) { return t ? t : ""; }

// Lets the store read the view's joins and field origins, as a conversion
// between objects and the view would.
long prepare_view(KAdpConnId* con, long view_type_id) {
  dbs_ty_lobj* o = nullptr;
  if (long st = dbs_obj_make(nullptr, view_type_id, &o)) return st;
  long st = dbs_obj_obj_to_or_from_view(con, nullptr, 0, o, 1, nullptr);
  long st2 = dbs_obj_free_local("typ_sch_make_path_from_view", o);
  return st ? st : st2;
}

}  // namespace

long typ_sch_make_path_from_view(KAdpConnId* con, long view_type_id, long field_id, long root_type_id, char* out,
                                 long size) {
  if (out && size > 0) out[0] = '\0';
  typ_sch_srec* view = nullptr;
  if (typ_sch_find_handle(view_type_id, nullptr, &view) || !view) return 0;
  if (long st = prepare_view(con, view_type_id)) return st;
  typ_sch_find_handle(view_type_id, nullptr, &view);
  if (!view->info->uptr) {
    utl_ty_col* types = nullptr;
    utl_ty_col* aliases = nullptr;
    long st = adp_sch_fetch_joins(con, view, 1, 1, &types, &aliases);
    if (types) utl_col_free("typ_sch_make_path_from_view", types);
    if (aliases) utl_col_free("typ_sch_make_path_from_view", aliases);
    if (st) return st;
  }
  long index = -1;
  if (long st = typ_sch_map(view, field_id, &index)) return st;
  typ_sch_srec* source = nullptr;
  long source_field = -1;
  const char* alias = nullptr;
  if (long st = adp_sch_view_field_info(con, view, index, &source, &source_field, &alias)) return st;
  if (!source || source->type_id == -1 || source_field < 0 || source_field >= source->nfields) return 0;
  utl_ty_estr* path = nullptr;
  if (long st = utl_estr_create("typ_sch_make_path_from_view", nullptr, 256, 256, &path)) return st;
  long found = 0;
  long st = typ_sch_path_to_root(view, source->type_id, alias, root_type_id, nullptr, path, &found);
  if (st == 0 && found) {
    const char* field = text(source->fields[source_field].name);
    const char* rel = utl_estr_get(path);
    if (out && size > 0) std::snprintf(out, static_cast<size_t>(size), "%s%s%s", rel, *rel ? ":" : "", field);
  }
  utl_estr_free("typ_sch_make_path_from_view", path);
  return st;
}
