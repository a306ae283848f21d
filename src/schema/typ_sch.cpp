// Module start-up, the model's collections, definition of schema records.
#include "schema/typ_sch.h"

#include <cstdio>
#include <cstring>

#include "core/cmn/cmn_dyn.h"
#include "core/cmn/cmn_main.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_mem.h"
#include "core/utl/utl_pl.h"
#include "schema/typ_diff.h"
#include "schema/typ_dump.h"
#include "schema/typ_msg.h"
#include "schema/typ_rel.h"
#include "schema/typ_view.h"

utl_ty_col* typ_sch_col = nullptr;
typ_sch_srec* typ_sch_schemas = nullptr;
long typ_sch_num_schs = 0;
utl_ty_col* typ_sch_rel_col = nullptr;
typ_sch_rrec* typ_sch_relations = nullptr;
long typ_sch_num_rels = 0;
utl_ty_col* typ_sch_ro_col = nullptr;
utl_ty_pool* typ_sch_name_pool = nullptr;
char typ_sch_init_once = 0;
char typ_sch_empty_text[1] = {0};

namespace {

constexpr const char* kOwner = "typ_sch";

struct reg_row {
  long id;
  long size;
  cmn_ty_compare_proc compare;
  cmn_ty_print_proc print;
};

long print_diff(FILE* s, long indent, const void* e, long, long) {
  return typ_sch_print_diff(s, indent, e, 0, 0, 0);
}

// Registration order of the module's record types.
const reg_row kRecords[] = {
    {TYP_TY_FREC, sizeof(typ_sch_frec), nullptr, typ_sch_dump_field},
    {TYP_TY_SREC, sizeof(typ_sch_srec), nullptr, nullptr},
    {TYP_TY_RREC, sizeof(typ_sch_rrec), nullptr, nullptr},
    {TYP_TY_RO, sizeof(typ_sch_ro), typ_sch_ro_cmp, nullptr},
    {TYP_TY_REL_INST, sizeof(typ_sch_rel_inst), typ_sch_rels_cmp, typ_sch_dump_rel},
    {TYP_TY_JOIN_BLK, sizeof(typ_sch_join_blk), nullptr, nullptr},
    {TYP_TY_ALIAS_BLK, sizeof(typ_sch_alias_blk), nullptr, nullptr},
    {TYP_TY_DIFF, sizeof(typ_sch_diff_rec), typ_sch_compare_diff, print_diff},
    // Records of the schema upgrade: kept in no collection here, their
    // registry size is left as it is.
    {707, -1, nullptr, nullptr},
    {708, -1, nullptr, nullptr},
    {709, -1, nullptr, nullptr},
    {710, -1, nullptr, nullptr},
    {711, -1, nullptr, nullptr},
    {712, -1, nullptr, nullptr},
};

long all_finfo(long id, long* count, void** fields) {
  typ_sch_frec* f = nullptr;
  long st = typ_sch_get_all_finfo(id, count, reinterpret_cast<void**>(&f));
  if (fields) *fields = f;
  return st;
}

}  // namespace

long typ_main_init() {
  if (long st = typ_str_init()) return st;
  return typ_sch_init();
}

long typ_main_term() { return typ_sch_term(); }

long typ_sch_init() {
  for (const reg_row& r : kRecords) {
    if (long st = cmn_typ_install(r.id, -1, -1, nullptr, r.size, nullptr, r.compare, nullptr, r.print))
      return st;
  }
  cmn_dyn_install_all_fproc(all_finfo);
  cmn_dyn_install_fproc(typ_sch_get_field_info);
  return 0;
}

long typ_sch_term() { return 0; }

void typ_sch_publish() {
  void* a = nullptr;
  long n = 0;
  if (typ_sch_col && utl_col_get_array(typ_sch_col, &a, &n) == 0) {
    typ_sch_schemas = static_cast<typ_sch_srec*>(a);
    typ_sch_num_schs = n;
  } else {
    typ_sch_schemas = nullptr;
    typ_sch_num_schs = 0;
  }
}

void typ_sch_publish_rels() {
  void* a = nullptr;
  long n = 0;
  if (typ_sch_rel_col && utl_col_get_array(typ_sch_rel_col, &a, &n) == 0) {
    typ_sch_relations = static_cast<typ_sch_rrec*>(a);
    typ_sch_num_rels = n;
  } else {
    typ_sch_relations = nullptr;
    typ_sch_num_rels = 0;
  }
}

void typ_sch_publish_fields(typ_sch_srec* s) {
  void* a = nullptr;
  long n = 0;
  if (s->fcol && utl_col_get_array(s->fcol, &a, &n) == 0) {
    s->fields = static_cast<typ_sch_frec*>(a);
    s->nfields = n;
  }
}

void typ_sch_publish_special(typ_sch_srec* s) {
  void* a = nullptr;
  long n = 0;
  if (s->info->special_col && utl_col_get_array(s->info->special_col, &a, &n) == 0) {
    s->info->special = static_cast<typ_sch_frec*>(a);
    s->info->nspecial = n;
  }
}

void typ_sch_publish_relations(typ_sch_srec* s) {
  void* a = nullptr;
  long n = 0;
  if (s->rcol && utl_col_get_array(s->rcol, &a, &n) == 0) {
    s->rels = static_cast<typ_sch_rel_inst*>(a);
    s->nrels = n;
  }
}

long typ_sch_index_of(const typ_sch_srec* s) {
  if (!s || !typ_sch_schemas || s < typ_sch_schemas || s >= typ_sch_schemas + typ_sch_num_schs) return -1;
  return static_cast<long>(s - typ_sch_schemas);
}

long typ_sch_name_copy(const char* text, char** copy) {
  *copy = nullptr;
  if (!text) return 0;
  return utl_pl_alloc_string(typ_sch_name_pool, text, copy);
}

long typ_sch_name_copy_or_empty(const char* text, char** copy) {
  if (!text || !*text) {
    *copy = typ_sch_empty_text;
    return 0;
  }
  return typ_sch_name_copy(text, copy);
}

long typ_sch_check_construct(const char* proc, typ_sch_srec* s) {
  if (s->flags & TYP_SCH_CONSTRUCT) return 0;
  return typ_alrt(proc, TYP_NOT_MODIFIABLE, s->info->name, reinterpret_cast<long>(s));
}

long typ_sch_alloc() {
  if (typ_sch_init_once && typ_sch_col) return 0;
  if (long st = utl_col_make(kOwner, TYP_TY_SREC, 400, 20, 0, UTL_COL_OPT_POOL, &typ_sch_col)) return st;
  typ_sch_publish();
  if (long st = utl_col_make(kOwner, TYP_TY_RREC, 400, 50, 0, UTL_COL_OPT_POOL, &typ_sch_rel_col))
    return st;
  typ_sch_publish_rels();
  if (long st = utl_col_make(kOwner, TYP_TY_RO, 400, 50, 0, UTL_COL_OPT_POOL, &typ_sch_ro_col)) return st;
  return utl_pl_create(kOwner, 2048, &typ_sch_name_pool);
}

// Frees what a schema record owns outside the pools.
static long free_schema_parts(typ_sch_srec* s, bool all) {
  if ((s->flags & TYP_SCH_VIEW) && s->info && s->info->uptr) {
    auto* b = static_cast<typ_sch_alias_blk*>(s->info->uptr);
    if (b->copy) {
      typ_sch_view_copy_free(b->copy);
      b->copy = nullptr;
    }
  }
  if (s->fcol) {
    if (long st = utl_col_free(kOwner, s->fcol)) return st;
    s->fcol = nullptr;
  }
  if (all && s->info && s->info->special_col) {
    if (long st = utl_col_free(kOwner, s->info->special_col)) return st;
    s->info->special_col = nullptr;
  }
  if (s->rcol) {
    if (long st = utl_col_free(kOwner, s->rcol)) return st;
    s->rcol = nullptr;
  }
  if (s->info && s->info->fmap) {
    utl_mem_free(kOwner, s->info->fmap);
    s->info->fmap = nullptr;
  }
  if (s->info && s->info->rmap) {
    utl_mem_free(kOwner, s->info->rmap);
    s->info->rmap = nullptr;
  }
  if (all && s->info && s->info->relind_col) {
    if (long st = utl_col_free(kOwner, s->info->relind_col)) return st;
    s->info->relind_col = nullptr;
  }
  return 0;
}

long typ_sch_free() {
  if (long st = typ_sch_free_model()) return st;
  return typ_sch_free_optional_rels();
}

long typ_sch_free_model() {
  for (long i = 0; i < typ_sch_num_schs; ++i) {
    if (typ_sch_schemas[i].type_id == -2) continue;
    if (long st = free_schema_parts(&typ_sch_schemas[i], true)) return st;
  }
  if (typ_sch_col) {
    if (long st = utl_col_free(kOwner, typ_sch_col)) return st;
    typ_sch_col = nullptr;
  }
  typ_sch_publish();
  if (typ_sch_rel_col) {
    if (long st = utl_col_free(kOwner, typ_sch_rel_col)) return st;
    typ_sch_rel_col = nullptr;
  }
  typ_sch_publish_rels();
  if (typ_sch_ro_col) {
    if (long st = utl_col_free(kOwner, typ_sch_ro_col)) return st;
    typ_sch_ro_col = nullptr;
  }
  if (typ_sch_name_pool) {
    if (long st = utl_pl_free(kOwner, typ_sch_name_pool)) return st;
    typ_sch_name_pool = nullptr;
  }
  return 0;
}

long typ_sch_clear() {
  for (long i = 0; i < typ_sch_num_schs; ++i) {
    if (typ_sch_schemas[i].type_id == -2) continue;
    // The special-field and relation-index collections are made anew at the
    // next definition; they are freed here so that nothing is lost.
    if (long st = free_schema_parts(&typ_sch_schemas[i], true)) return st;
  }
  if (typ_sch_col) {
    if (long st = utl_col_reset(typ_sch_col)) return st;
  }
  typ_sch_publish();
  if (typ_sch_rel_col) {
    if (long st = utl_col_reset(typ_sch_rel_col)) return st;
  }
  typ_sch_publish_rels();
  if (typ_sch_ro_col) {
    if (long st = utl_col_reset(typ_sch_ro_col)) return st;
  }
  if (typ_sch_name_pool) {
    if (long st = utl_pl_reset(typ_sch_name_pool)) return st;
  }
  return 0;
}

long typ_sch_check(typ_sch_srec* schema) {
  if (!cmn_main_is_debug_mode()) return 0;
  for (long i = 0; i < typ_sch_num_schs; ++i)
    if (&typ_sch_schemas[i] == schema) return 0;
  return typ_alrt("typ_sch_check", TYP_BAD_HANDLE, reinterpret_cast<long>(schema));
}

static long pool_text(const char* text, char** out) {
  if (!text || !*text) {
    *out = typ_sch_empty_text;
    return 0;
  }
  return utl_col_alloc_string(typ_sch_col, text, out);
}

long typ_sch_define(const char* name, long type_id, unsigned long flags, const char* subject,
                    const char* description, const char* sql, long nfields, long nrels,
                    typ_sch_srec** out) {
  if (!typ_sch_col) {
    std::printf("%s: TYP SCH init must be called first!\n", "typ_sch_define");
    return -1;
  }
  void* p = nullptr;
  if (long st = utl_col_alloc4(typ_sch_col, sizeof(typ_sch_iblk), nullptr, &p)) return st;
  auto* info = static_cast<typ_sch_iblk*>(p);
  std::memset(info, 0, sizeof *info);
  typ_sch_srec rec{};
  rec.flags = flags | TYP_SCH_CONSTRUCT;
  rec.type_id = type_id;
  rec.info = info;
  if (name) {
    std::strncpy(info->name, name, TYP_NAME_MAX);
    info->name[TYP_NAME_MAX] = 0;
  }
  if (long st = pool_text(description, &rec.description)) return st;
  if (long st = pool_text(subject, &info->subject)) return st;
  if (long st = pool_text(sql, &info->sql)) return st;
  long nf = nfields == -1 ? 10 : nfields == 0 ? 1 : nfields;
  if (nf < 1) nf = 1;
  long nr = nrels == -1 ? 10 : nrels == 0 ? 1 : nrels;
  if (nr < 1) nr = 1;
  if (long st = utl_col_make(kOwner, TYP_TY_FREC, nf, nf, 0, 0, &rec.fcol)) return st;
  if (long st = utl_col_make(kOwner, TYP_TY_FREC, 2, 10, 0, 0, &info->special_col)) {
    utl_col_free(kOwner, rec.fcol);
    return st;
  }
  if (long st = utl_col_make(kOwner, TYP_TY_REL_INST, nr, nr, 0, 0, &rec.rcol)) {
    utl_col_free(kOwner, rec.fcol);
    utl_col_free(kOwner, info->special_col);
    return st;
  }
  void* stored = nullptr;
  if (long st = utl_col_insert(typ_sch_col, &rec, &stored)) {
    // The record never joined the model: what it made is freed here so that
    // a failed definition leaves nothing behind but pool space.
    utl_col_free(kOwner, rec.fcol);
    utl_col_free(kOwner, info->special_col);
    utl_col_free(kOwner, rec.rcol);
    return st;
  }
  typ_sch_publish();
  if (out) *out = static_cast<typ_sch_srec*>(stored);
  return 0;
}

long typ_sch_define_obj(const char* name, long type_id, const char* subject, const char* description,
                        typ_sch_srec** out) {
  return typ_sch_define(name, type_id, TYP_SCH_OBJECT, subject, description, nullptr, -1, -1, out);
}

long typ_sch_define_obj_wattr(const char* name, long type_id, const char* subject,
                              const char* description, long nfields, long nrels,
                              unsigned long attributes, typ_sch_srec** out) {
  return typ_sch_define(name, type_id, attributes ? attributes : TYP_SCH_OBJECT, subject, description,
                        nullptr, nfields, nrels, out);
}

long typ_sch_define_object(const char* name, long type_id, const char* subject, const char* description,
                           long nfields, long nrels, typ_sch_srec** out) {
  return typ_sch_define(name, type_id, TYP_SCH_OBJECT, subject, description, nullptr, nfields, nrels,
                        out);
}

long typ_sch_define_subobj(const char* name, long type_id, const char* subject, const char* description,
                           typ_sch_srec** out) {
  return typ_sch_define(name, type_id, TYP_SCH_SUBOBJ, subject, description, nullptr, -1, -1, out);
}

static unsigned long struct_flags(const char* sql) {
  return sql && *sql ? (TYP_SCH_SQL_VIEW | TYP_SCH_VIEW) : TYP_SCH_VIEW;
}

long typ_sch_define_struct(const char* name, long type_id, const char* subject, const char* description,
                           const char* sql, typ_sch_srec** out) {
  return typ_sch_define(name, type_id, struct_flags(sql), subject, description, sql, -1, -1, out);
}

long typ_sch_define_structure(const char* name, long type_id, const char* subject,
                              const char* description, const char* sql, long nfields, long nrels,
                              typ_sch_srec** out) {
  return typ_sch_define(name, type_id, struct_flags(sql), subject, description, sql, nfields, nrels,
                        out);
}

long typ_sch_check_for_existing(const char* name) {
  for (long i = 0; i < typ_sch_num_schs; ++i)
    if (name && std::strcmp(typ_sch_schemas[i].info->name, name) == 0)
      return typ_alrt("typ_sch_check_for_existing", TYP_NAME_EXISTS, name);
  return 0;
}

long typ_sch_check_for_existing_type(long type_id) {
  for (long i = 0; i < typ_sch_num_schs; ++i)
    if (typ_sch_schemas[i].type_id == type_id)
      return typ_alrt("typ_sch_check_for_existing_type", TYP_TYPE_EXISTS, type_id);
  return 0;
}

long typ_sch_uptr_set(typ_sch_srec* s, void* word) {
  s->info->uptr = word;
  return 0;
}

long typ_sch_uptr_get(typ_sch_srec* s, void** word) {
  *word = s->info->uptr;
  return 0;
}

long typ_sch_modify(typ_sch_srec* s) {
  s->flags |= 0x6011;
  return 0;
}

long typ_sch_set_changed(typ_sch_srec* s) {
  s->flags |= 0x6010;
  return 0;
}
