// Relation look-ups and the accessors of relation records and entries.
#include <cstring>
#include <string>

#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_mem.h"
#include "schema/typ_fld.h"
#include "schema/typ_msg.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"

static typ_sch_srec* by_id_or_name(long type_id, const char* type_name) {
  for (long i = 0; i < typ_sch_num_schs; ++i) {
    typ_sch_srec* s = &typ_sch_schemas[i];
    if (type_name ? std::strcmp(s->info->name, type_name) == 0 : s->type_id == type_id) return s;
  }
  return nullptr;
}

long typ_sch_find_relation_index(const char* type_name, long type_id, const char* rel_name, long* rel_index,
                                 typ_sch_rrec** rel, long* position, long* is_primary) {
  static const char* const kProc = "typ_sch_find_relation_index";
  typ_sch_srec* s = by_id_or_name(type_id, type_name);
  if (!s) {
    if (type_name) return typ_alrt(kProc, TYP_NO_TYPE, -1L, type_name);
    return typ_alrt(kProc, TYP_NO_TYPE, -1L, std::to_string(type_id).c_str());
  }
  for (long i = 0; i < s->nrels; ++i) {
    const typ_sch_rel_inst* e = &s->rels[i];
    if (e->rel_index < 0 || !rel_name || std::strcmp(typ_sch_entry_name(e), rel_name) != 0) continue;
    if (rel_index) *rel_index = e->rel_index;
    if (rel) *rel = typ_sch_entry_rel(e);
    if (position) *position = i;
    if (is_primary) *is_primary = e->side == 'p' ? 1 : 0;
    return 0;
  }
  return typ_alrt(kProc, TYP_BAD_REL, rel_name ? rel_name : "", s->info->name);
}

long typ_sch_rel_name_to_id(long type_id, const char* type_name, const char* rel_name, long* spec_id,
                            long* target_type) {
  if (!spec_id || !rel_name) return 0;
  typ_sch_srec* s = by_id_or_name(type_id, type_name);
  if (!s) return typ_alrt("typ_sch_rel_name_to_id", TYP_NO_TYPE, type_id, type_name ? type_name : "");
  for (long i = 0; i < s->nrels; ++i) {
    const typ_sch_rel_inst* e = &s->rels[i];
    if (e->rel_index < 0 || std::strcmp(typ_sch_entry_name(e), rel_name) != 0) continue;
    const typ_sch_rrec* r = typ_sch_entry_rel(e);
    *spec_id = e->side == 'p' ? r->pspec : r->fspec;
    if (target_type) {
      typ_sch_srec* o = typ_sch_entry_other(e);
      *target_type = o ? o->type_id : -1;
    }
    return 0;
  }
  return typ_alrt("typ_sch_rel_name_to_id", TYP_UNKNOWN_REL, rel_name, s->info->name);
}

long typ_sch_get_rel_info(typ_sch_srec* s, long type_id, const char* type_name, long rel_id, const char** name,
                          long* target_type, long* is_mtm, long* to_one, long* holds_key, typ_sch_rrec** rel) {
  if (!s) {
    if (long st = typ_sch_find_handle(type_id, type_name, &s)) return st;
    if (!s) return 1;
  }
  long index = -1;
  if (long st = typ_sch_rel_map(s, rel_id, &index)) return st;
  if (index < 0 || index >= s->nrels) return 1;
  const typ_sch_rel_inst* e = &s->rels[index];
  typ_sch_rrec* r = typ_sch_entry_rel(e);
  if (!r) return 1;
  typ_sch_srec* o = typ_sch_entry_other(e);
  const bool mtm = r->type == TYP_REL_MTM;
  if (name) *name = typ_sch_entry_name(e);
  if (target_type) *target_type = o ? o->type_id : -1;
  if (is_mtm) *is_mtm = mtm ? 1 : 0;
  if (e->side == 'f') {
    if (to_one) *to_one = mtm ? 0 : 1;
    if (holds_key) *holds_key = mtm ? 0 : 1;
  } else {
    if (to_one) *to_one = (r->type == TYP_REL_OTOP || r->type == TYP_REL_OTOF) ? 1 : 0;
    if (holds_key) *holds_key = 0;
  }
  if (rel) *rel = r;
  return 0;
}

const char* typ_sch_get_rel_name(long type_id, const char* type_name, long index) {
  typ_sch_srec* s = nullptr;
  if (typ_sch_find_handle(type_id, type_name, &s) != 0 || !s) return "INVALID RELATION (type is invalid)";
  if (index < 0 || index >= s->nrels) return "INVALID RELATION (bad rel id)";
  return typ_sch_entry_name(&s->rels[index]);
}

static long related(const char* proc, long type_id, const char* type_name, long index, typ_sch_srec** s,
                    const typ_sch_rel_inst** e) {
  if (long st = typ_sch_find_handle(type_id, type_name, s)) return st;
  if (!*s) return typ_alrt(proc, TYP_NO_TYPE, type_id, type_name ? type_name : "");
  if (index < 0 || index >= (*s)->nrels) return typ_alrt(proc, TYP_BAD_SPEC_REL, index, (*s)->info->name);
  *e = &(*s)->rels[index];
  return 0;
}

long typ_sch_get_related(long type_id, const char* type_name, long index, const char** name, long* target_type,
                         typ_sch_iblk** target_info) {
  typ_sch_srec* s = nullptr;
  const typ_sch_rel_inst* e = nullptr;
  if (long st = related("typ_sch_get_related", type_id, type_name, index, &s, &e)) return st;
  typ_sch_srec* o = typ_sch_entry_other(e);
  if (name) *name = typ_sch_entry_name(e);
  if (target_type) *target_type = o ? o->type_id : -1;
  if (target_info) *target_info = o ? o->info : nullptr;
  return 0;
}

long typ_sch_get_related_type(long type_id, const char* type_name, long index, long* target_type,
                              char** target_name, long* inverse_spec) {
  typ_sch_srec* s = nullptr;
  const typ_sch_rel_inst* e = nullptr;
  if (long st = related("typ_sch_get_related_type", type_id, type_name, index, &s, &e)) return st;
  typ_sch_srec* o = typ_sch_entry_other(e);
  const typ_sch_rrec* r = typ_sch_entry_rel(e);
  if (target_type) *target_type = o ? o->type_id : -1;
  if (inverse_spec) *inverse_spec = r ? (e->side == 'p' ? r->fspec : r->pspec) : -1;
  if (target_name) {
    const char* n = o ? o->info->name : "";
    const long tid = CMN_TYP_CHAR;
    const long bytes = static_cast<long>(std::strlen(n)) + 1;
    void* block = nullptr;
    if (long st = utl_mem_alloc("typ_sch_get_related_type", 1, &tid, &bytes, &block)) return st;
    std::memcpy(block, n, bytes);
    *target_name = static_cast<char*>(block);
  }
  return 0;
}

long typ_sch_get_rel_indexes(long type_id, long* count, void*** array) {
  *count = 0;
  *array = nullptr;
  typ_sch_srec* s = nullptr;
  typ_sch_find_handle(type_id, nullptr, &s);
  if (!s) return 0;
  *count = s->info->nrelind;
  *array = s->info->relind;
  return 0;
}

long typ_sch_find_temp_rel(long index, typ_sch_rrec** rel) {
  *rel = index >= 0 && index < typ_sch_num_rels ? &typ_sch_relations[index] : nullptr;
  return 0;
}

const char* typ_sch_get_prel_name(const typ_sch_rrec* r) { return r && r->pname ? r->pname : ""; }
const char* typ_sch_get_frel_name(const typ_sch_rrec* r) { return r && r->fname ? r->fname : ""; }
long typ_sch_get_prel_id(const typ_sch_rrec* r) { return r ? r->pspec : -1; }
long typ_sch_get_frel_id(const typ_sch_rrec* r) { return r ? r->fspec : -1; }
typ_sch_srec* typ_sch_get_rel_pschema(const typ_sch_rrec* r) { return r ? r->pschema : nullptr; }
typ_sch_srec* typ_sch_get_rel_fschema(const typ_sch_rrec* r) { return r ? r->fschema : nullptr; }

typ_sch_srec* typ_sch_get_schema_by_relind(long index) {
  if (index < 0 || index >= typ_sch_num_rels) return nullptr;
  const typ_sch_rrec* r = &typ_sch_relations[index];
  return r->pindex >= 0 && r->pindex < typ_sch_num_schs ? &typ_sch_schemas[r->pindex] : r->pschema;
}

long typ_sch_is_rel_mtm(const typ_sch_rrec* r) { return r && r->type == TYP_REL_MTM ? 1 : 0; }
long typ_sch_is_rel_oto(const typ_sch_rrec* r) {
  return r && (r->type == TYP_REL_OTOP || r->type == TYP_REL_OTOF) ? 1 : 0;
}
long typ_sch_is_primary_rel(const typ_sch_rel_inst* e) { return e && e->side == 'p' ? 1 : 0; }

long typ_sch_get_relation_inst(typ_sch_srec* s, long position, typ_sch_rel_inst** entry) {
  *entry = s && position >= 0 && position < s->nrels ? &s->rels[position] : nullptr;
  return *entry ? 0 : 1;
}

long typ_sch_get_relation_obj(typ_sch_srec* s, long position, typ_sch_rrec** rel) {
  typ_sch_rel_inst* e = nullptr;
  long st = typ_sch_get_relation_inst(s, position, &e);
  *rel = e ? typ_sch_entry_rel(e) : nullptr;
  return st;
}

long typ_sch_get_relation_aliases(typ_sch_srec* s, long position, const char** n1, const char** n2) {
  if (!s) return 1;
  *n1 = *n2 = "";
  if (position < 0 || position >= s->nrels) return 1;
  if (const typ_sch_join_blk* j = s->rels[position].join) {
    *n1 = j->palias ? j->palias : "";
    *n2 = j->falias ? j->falias : "";
  }
  return 0;
}

long typ_sch_num_relsP(typ_sch_srec* s, long* count) {
  if (!s) return 1;
  *count = s->nrels;
  return 0;
}
