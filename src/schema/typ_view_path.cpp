// The path from a root type to the source of a view field, over the view's
// joins.
#include <cstring>
#include <string>
#include <vector>

#include "core/utl/utl_estr.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "schema/typ_view.h"

namespace {

long type_of(long index) { return index >= 0 && index < typ_sch_num_schs ? typ_sch_schemas[index].type_id : -1; }

bool search(const typ_sch_srec* v, long type_id, const std::string& alias, long root, std::vector<char>& used,
            std::string* path) {
  if (type_id == root) {
    path->clear();
    return true;
  }
  for (long k = 0; k < v->nrels; ++k) {
    const typ_sch_rel_inst* e = &v->rels[k];
    const typ_sch_rrec* r = typ_sch_entry_rel(e);
    if (used[k] || !e->join || e->rel_index < 0 || !r || r->exclusive) continue;
    const char* pa = e->join->palias ? e->join->palias : "";
    const char* fa = e->join->falias ? e->join->falias : "";
    long next_type;
    std::string next_alias;
    const char* name;
    if (type_of(r->pindex) == type_id && alias == pa) {
      next_type = type_of(r->findex);
      next_alias = fa;
      name = r->fname;
    } else if (type_of(r->findex) == type_id && alias == fa) {
      next_type = type_of(r->pindex);
      next_alias = pa;
      name = r->pname;
    } else {
      continue;
    }
    used[k] = 1;
    std::string rest;
    if (search(v, next_type, next_alias, root, used, &rest)) {
      *path = rest.empty() ? std::string(name ? name : "") : rest + ":" + (name ? name : "");
      return true;
    }
    used[k] = 0;
  }
  return false;
}

}  // namespace

long typ_sch_path_to_root(typ_sch_srec* v, long type_id, const char* alias, long root_type_id, char* used,
                          utl_ty_estr* path, long* found) {
  *found = 0;
  std::vector<char> marks(static_cast<size_t>(v->nrels), 0);
  if (used) marks.assign(used, used + v->nrels);
  std::string text;
  if (!search(v, type_id, alias ? alias : "", root_type_id, marks, &text)) return 0;
  *found = 1;
  if (used) std::memcpy(used, marks.data(), marks.size());
  return utl_estr_cpy(path, text.c_str());
}
