// The relation path from a root type to the source of a view field, over
// the view's joins.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "adapter/adp_sch.h"
#include "core/utl/utl_col.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"
#include "schema/typ_view.h"
#include "store/dbs_obj.h"
#include "store/dbs_rel.h"

namespace {

const char* text(const char* t) { return t ? t : ""; }

// One side of a join: its type and alias.
bool side_is(const typ_sch_srec* s, const char* alias, long type_id, const char* current_alias) {
  return s && s->type_id == type_id && std::strcmp(text(alias), text(current_alias)) == 0;
}

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

long typ_sch_path_to_root(typ_sch_srec* view, long type_id, const char* alias, long root_type_id,
                          std::vector<char>& used, std::string* path, char* found) {
  *found = 0;
  path->clear();
  if (type_id == root_type_id) {
    *found = 1;
    return 0;
  }
  for (long i = 0; i < view->nrels; ++i) {
    const typ_sch_rel_inst& e = view->rels[i];
    const typ_sch_rrec* r = e.rel;
    if (!r || !e.join || used[static_cast<size_t>(i)] || r->exclusive) continue;
    long next_type = -1;
    const char* next_alias = nullptr;
    const char* name = nullptr;  // the relation as seen from the side nearer the root
    if (side_is(r->pschema, e.join->palias, type_id, alias) && r->fschema) {
      next_type = r->fschema->type_id;
      next_alias = e.join->falias;
      name = r->fname;
    } else if (side_is(r->fschema, e.join->falias, type_id, alias) && r->pschema) {
      next_type = r->pschema->type_id;
      next_alias = e.join->palias;
      name = r->pname;
    } else {
      continue;
    }
    used[static_cast<size_t>(i)] = 1;
    std::string rest;
    if (long st = typ_sch_path_to_root(view, next_type, next_alias, root_type_id, used, &rest, found)) return st;
    used[static_cast<size_t>(i)] = 0;
    if (*found) {
      *path = rest.empty() ? text(name) : rest + ":" + text(name);
      return 0;
    }
  }
  return 0;
}

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
  std::vector<char> used(static_cast<size_t>(view->nrels), 0);
  std::string path;
  char found = 0;
  if (long st = typ_sch_path_to_root(view, source->type_id, alias, root_type_id, used, &path, &found)) return st;
  if (!found) return 0;
  const char* field = text(source->fields[source_field].name);
  std::string whole = path.empty() ? field : path + ":" + field;
  if (out && size > 0) std::snprintf(out, static_cast<size_t>(size), "%s", whole.c_str());
  return 0;
}
