// Accessors, saved models, the view blocks of the schema cache file and the
// build options.
#include "schema/typ_acc.h"

#include "adapter/adp_sch.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_mem.h"
#include "core/utl/utl_pl.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"

namespace {
char g_skip_timestamp = 0;
unsigned long g_options = 0;
constexpr unsigned long kUnicodeCmdline = 0x400000;
constexpr unsigned long kUnicodeUpgrade = 0x100;
constexpr unsigned long kLobUpgrade = 0x1000000;
constexpr const char* kUnknown = "unknown type";
bool in_range(long i) { return i >= 0 && i < typ_sch_num_schs; }
}  // namespace

long typ_sch_num_types() { return typ_sch_num_schs; }
const char* typ_sch_get_name(long i) { return in_range(i) ? typ_sch_schemas[i].info->name : kUnknown; }
const char* typ_sch_get_description(long i) { return in_range(i) ? typ_sch_schemas[i].description : kUnknown; }
long typ_sch_get_type(long i) { return in_range(i) ? typ_sch_schemas[i].type_id : -1; }
long typ_sch_is_flag_set(long i, unsigned long bits) { return (typ_sch_schemas[i].flags & bits) ? 1 : 0; }
long typ_sch_is_a_view(long i) { return typ_sch_is_flag_set(i, TYP_SCH_VIEW); }
long typ_sch_is_a_object(long i) { return typ_sch_is_flag_set(i, TYP_SCH_OBJECT); }
const char* typ_sch_get_nameP(const typ_sch_srec* s) { return s ? s->info->name : kUnknown; }
long typ_sch_get_typeP(const typ_sch_srec* s) { return s ? s->type_id : -1; }
long typ_sch_is_flag_setP(const typ_sch_srec* s, unsigned long bits) { return s && (s->flags & bits) ? 1 : 0; }
long typ_sch_is_a_viewP(const typ_sch_srec* s) { return typ_sch_is_flag_setP(s, TYP_SCH_VIEW); }

char typ_sch_get_skip_timestamp() { return g_skip_timestamp; }
long typ_sch_set_skip_timestamp(char flag) {
  g_skip_timestamp = flag;
  return 0;
}

long typ_sch_save_and_reset(typ_sch_saved** out) {
  static const char* const kOwner = "typ_sch_save_and_reset";
  const long tid = CMN_TYP_CHAR;
  const long bytes = sizeof(typ_sch_saved);
  void* block = nullptr;
  if (long st = utl_mem_alloc(kOwner, 1, &tid, &bytes, &block)) return st;
  auto* saved = static_cast<typ_sch_saved*>(block);
  *saved = {typ_sch_col, typ_sch_rel_col, typ_sch_ro_col, typ_sch_name_pool};
  utl_ty_col* sc = nullptr;
  utl_ty_col* rc = nullptr;
  utl_ty_col* wc = nullptr;
  utl_ty_pool* np = nullptr;
  long st = utl_col_make(kOwner, TYP_TY_SREC, 20, 20, 0, UTL_COL_OPT_POOL, &sc);
  if (!st && typ_sch_rel_col) st = utl_col_make(kOwner, TYP_TY_RREC, 20, 20, 0, UTL_COL_OPT_POOL, &rc);
  if (!st && typ_sch_ro_col) st = utl_col_make(kOwner, TYP_TY_RO, 20, 20, 0, UTL_COL_OPT_POOL, &wc);
  if (!st) st = utl_pl_create(kOwner, 2048, &np);
  if (st) {
    // The current model stays in place when the new one cannot be made.
    if (sc) utl_col_free(kOwner, sc);
    if (rc) utl_col_free(kOwner, rc);
    if (wc) utl_col_free(kOwner, wc);
    utl_mem_free(kOwner, saved);
    return st;
  }
  typ_sch_col = sc;
  typ_sch_rel_col = rc;
  typ_sch_ro_col = wc;
  typ_sch_name_pool = np;
  typ_sch_publish();
  typ_sch_publish_rels();
  *out = saved;
  return typ_sch_clear();
}

long typ_sch_switch_schemas(typ_sch_saved* saved, long mode) {
  if (!saved) return -1;
  if (mode == 1) {
    // The current model is given up: freed whole, not only emptied, so that
    // its collections and pool do not outlive it unreferenced.
    if (long st = typ_sch_free_model()) return st;
  }
  const typ_sch_saved current{typ_sch_col, typ_sch_rel_col, typ_sch_ro_col, typ_sch_name_pool};
  typ_sch_col = saved->schemas;
  typ_sch_rel_col = saved->relations;
  typ_sch_ro_col = saved->waiting;
  typ_sch_name_pool = saved->names;
  if (mode == 0) *saved = current;
  typ_sch_publish();
  long st = adp_sch_types_sch_reinit();
  typ_sch_publish_rels();
  return st;
}

long typ_sch_get_saved_schema(typ_sch_saved* saved, long* nschemas, typ_sch_srec** schemas, long* nrels,
                              typ_sch_rrec** rels) {
  void* a = nullptr;
  long n = 0;
  *nschemas = 0;
  *schemas = nullptr;
  *nrels = 0;
  *rels = nullptr;
  if (saved->schemas && utl_col_get_array(saved->schemas, &a, &n) == 0) {
    *schemas = static_cast<typ_sch_srec*>(a);
    *nschemas = n;
  }
  if (saved->relations && utl_col_get_array(saved->relations, &a, &n) == 0) {
    *rels = static_cast<typ_sch_rrec*>(a);
    *nrels = n;
  }
  return 0;
}

long typ_sch_cache_joins(FILE* f) {
  std::fprintf(f, "{\n");
  for (long i = 0; i < typ_sch_num_schs; ++i) {
    const typ_sch_srec* v = &typ_sch_schemas[i];
    if (!(v->flags & TYP_SCH_VIEW)) continue;
    for (long k = 0; k < v->nrels; ++k) {
      const typ_sch_rel_inst* e = &v->rels[k];
      const typ_sch_rrec* r = typ_sch_entry_rel(e);
      if (!r) continue;
      auto type_of = [](long idx) { return idx >= 0 && idx < typ_sch_num_schs ? typ_sch_schemas[idx].type_id : -1L; };
      std::fprintf(f, "(%ld,%ld,%ld,%ld,%ld,%s,%s,%ld,%ld)\n", v->type_id, type_of(r->pindex), r->pspec,
                   type_of(r->findex), r->fspec, e->join ? e->join->palias : "", e->join ? e->join->falias : "",
                   static_cast<long>(e->flags), e->join_kind);
    }
  }
  std::fprintf(f, "}\n{\n");
  for (long i = 0; i < typ_sch_num_schs; ++i) {
    const typ_sch_srec* v = &typ_sch_schemas[i];
    if (!(v->flags & TYP_SCH_VIEW)) continue;
    for (long k = 0; k < v->nfields; ++k) {
      const auto* vi = static_cast<const typ_sch_vinfo*>(v->fields[k].uptr);
      if (!vi) continue;
      std::fprintf(f, "(%ld,%ld,%ld,%ld,%ld,%s)\n", v->type_id, vi->src_type_id, v->fields[k].spec_id,
                   vi->src_field, vi->src_field2, vi->alias ? vi->alias : "");
    }
  }
  std::fprintf(f, "}\n");
  return 0;
}

long typ_sch_is_unicode_upgrade(char* flag) {
  *flag = (g_options & kUnicodeCmdline) && (g_options & kUnicodeUpgrade) ? 1 : 0;
  return 0;
}
long typ_sch_is_unicode_cmdline_flag(char* flag) {
  *flag = (g_options & kUnicodeCmdline) ? 1 : 0;
  return 0;
}
long typ_sch_is_lob_upgrade(char* flag) {
  *flag = (g_options & kLobUpgrade) ? 1 : 0;
  return 0;
}
long typ_sch_set_init_once(char flag) {
  typ_sch_init_once = flag;
  return 0;
}
long typ_sch_set_bld_options(unsigned long options) {
  g_options = options;
  return 0;
}
unsigned long typ_sch_get_bld_options() { return g_options; }
long typ_sch_set_comment_flag() { return adp_sch_set_comment_flag(); }
long typ_sch_set_join_flag() { return adp_sch_set_join_flag(); }
const char* typ_sch_type_to_string(long value) { return adp_sch_type_to_string(value); }
long typ_sch_tbl_find(long type_id, const char** table) { return adp_sch_tbl_find(type_id, table); }
