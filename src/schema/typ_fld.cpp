// Adding, replacing and deleting fields.
#include "schema/typ_fld.h"

#include <cstdio>
#include <cstring>

#include "core/cmn/cmn_typ.h"
#include "core/loc/loc_st.h"
#include "core/osl/osl_print.h"
#include "core/utl/utl_col.h"
#include "schema/typ_msg.h"
#include "schema/typ_sch.h"

long typ_sch_ty_field_init(typ_sch_frec* f) {
  std::memset(f, 0, sizeof *f);
  return 0;
}

long typ_sch_set_field_name(char** name_field, const char* text) {
  return typ_sch_name_copy(text ? text : "", name_field);
}

long typ_sch_set_field_def(typ_sch_frec* f, const char* text) { return typ_sch_name_copy(text, &f->def); }

long typ_sch_set_field_comment(typ_sch_frec* f, const char* text) {
  return typ_sch_name_copy_or_empty(text, &f->comment);
}

long typ_sch_fadd_with_uptr(typ_sch_srec* s, const typ_sch_frec* t, long* position) {
  static const char* const kProc = "typ_sch_fadd_with_uptr";
  if (long st = typ_sch_check_construct(kProc, s)) return st;
  long cls = cmn_typ_get_flags(t->data_type);
  const char* fname = t->name ? t->name : "";
  if (!(cls & CMN_TYP_FLAG_SCALAR))
    return typ_alrt(kProc, TYP_NOT_STORABLE, t->data_type, fname, s->info->name);
  if (t->gen_id < -1 || t->gen_id > TYP_MAX_GEN_FIELD)
    return typ_alrt(kProc, TYP_BAD_GEN_DEF, t->gen_id, s->info->name);
  const bool special = (t->flags & TYP_FLD_BARRAY) != 0;
  utl_ty_col* col = special ? s->info->special_col : s->fcol;
  long count = 0;
  if (long st = utl_col_num(col, &count)) return st;

  typ_sch_frec f = *t;
  f.flags = (cls & CMN_TYP_FLAG_INTEGER) ? (t->flags | TYP_FLD_INTEGER) : (t->flags & ~TYP_FLD_INTEGER);
  if (long st = typ_sch_name_copy(fname, &f.name)) return st;
  if (long st = typ_sch_name_copy(t->def, &f.def)) return st;
  if (long st = typ_sch_name_copy_or_empty(t->comment, &f.comment)) return st;
  if (long st = typ_sch_name_copy_or_empty(t->old_name, &f.old_name)) return st;

  // PREDEFINED fields stay ahead of the others, except those named with 'x'
  // first or '_' second.
  long at = count;
  const bool early = (t->flags & TYP_FLD_PREDEFINED) && fname[0] != 'x' && !(fname[0] && fname[1] == '_');
  if (early) {
    typ_sch_frec* arr = nullptr;
    utl_col_get_array(col, reinterpret_cast<void**>(&arr), &count);
    for (long i = count - 1; i >= 0; --i)
      if (arr[i].flags & TYP_FLD_PREDEFINED) {
        at = i + 1;
        break;
      }
  }
  // A field's spec id is its position: the fields after it move up by one.
  f.spec_id = at;
  if (long st = utl_col_insert_expand(col, &f, at, nullptr)) return st;
  typ_sch_frec* arr = nullptr;
  utl_col_get_array(col, reinterpret_cast<void**>(&arr), &count);
  for (long i = at + 1; i < count; ++i) arr[i].spec_id = i;
  if (!special && at < count - 1 && s->info->fmap) {
    typ_ty_map* m = s->info->fmap;
    for (long i = 0; i < m->count; ++i)
      if (m->entries[i].spec >= at) ++m->entries[i].spec;
  }
  if (special)
    typ_sch_publish_special(s);
  else
    typ_sch_publish_fields(s);
  if (position) *position = at;
  return 0;
}

long typ_sch_fadd(typ_sch_srec* s, const char* name, long data_type, long db_type, long gen_id, long,
                  unsigned long flags, long array_size, long dec_precision, long dec_scale, long, long,
                  const char* def, const char* comment, long* position) {
  typ_sch_frec t{};
  t.name = const_cast<char*>(name);
  t.flags = flags;
  t.array_size = array_size;
  t.dec_precision = dec_precision;
  t.dec_scale = dec_scale;
  t.data_type = data_type;
  t.db_type = db_type;
  t.gen_id = gen_id;
  t.spec_id = -1;
  t.def = const_cast<char*>(def);
  t.comment = const_cast<char*>(comment);
  t.old_name = typ_sch_empty_text;
  return typ_sch_fadd_with_uptr(s, &t, position);
}

static long add_with_kind(typ_sch_srec* s, typ_sch_frec* t, unsigned long kind, long* position) {
  t->flags = (t->flags & ~(TYP_FLD_PREDEFINED | TYP_FLD_COMPUTED | TYP_FLD_USER | TYP_FLD_BARRAY)) | kind;
  return typ_sch_fadd_with_uptr(s, t, position);
}

long typ_sch_add_pfield(typ_sch_srec* s, typ_sch_frec* t, long* p) { return add_with_kind(s, t, TYP_FLD_PREDEFINED, p); }
long typ_sch_add_cfield(typ_sch_srec* s, typ_sch_frec* t, long* p) { return add_with_kind(s, t, TYP_FLD_COMPUTED, p); }
long typ_sch_add_ufield(typ_sch_srec* s, typ_sch_frec* t, long* p) { return add_with_kind(s, t, TYP_FLD_USER, p); }

long typ_sch_add_barray_field(typ_sch_srec* s, const char* name, long gen_id, unsigned long flags,
                              const char* comment, const char* old_name) {
  typ_sch_frec t{};
  t.name = const_cast<char*>(name);
  t.flags = (flags & ~(TYP_FLD_PREDEFINED | TYP_FLD_COMPUTED | TYP_FLD_USER | TYP_FLD_BARRAY)) | TYP_FLD_BARRAY;
  t.dec_precision = -1;
  t.dec_scale = -1;
  t.data_type = CMN_TYP_LONG;
  t.gen_id = gen_id;
  t.spec_id = -1;
  t.comment = const_cast<char*>(comment);
  t.old_name = const_cast<char*>(old_name);
  return typ_sch_fadd_with_uptr(s, &t, nullptr);
}

long typ_sch_freplace(typ_sch_srec* s, const char* field_name, const char* new_name, long data_type,
                      long db_type, long gen_id, long, unsigned long flags, long array_size,
                      const char* def, const char* comment, long* spec_id) {
  typ_sch_frec* f = nullptr;
  if (long st = typ_sch_field_get_by_name(s, field_name, &f)) return st;
  if (new_name && std::strcmp(f->name, new_name) != 0) {
    if (long st = typ_sch_name_copy(new_name, &f->name)) return st;
  }
  if (!def) {
    f->def = nullptr;
  } else if (!f->def || std::strcmp(f->def, def) != 0) {
    if (long st = typ_sch_name_copy(def, &f->def)) return st;
  }
  const bool had = f->comment && *f->comment;
  const bool has = comment && *comment;
  if (had != has || (had && std::strcmp(f->comment, comment) != 0)) {
    if (long st = typ_sch_name_copy_or_empty(comment, &f->comment)) return st;
  }
  f->data_type = data_type;
  f->db_type = db_type;
  f->gen_id = gen_id;
  f->flags = flags;
  f->array_size = array_size;
  if (spec_id) *spec_id = f->spec_id;
  return 0;
}

// Renumbers the fields from `from` on and moves the map past a removed field.
static void after_removal(typ_sch_srec* s, long removed, bool special) {
  if (special) {
    typ_sch_publish_special(s);
    for (long i = removed; i < s->info->nspecial; ++i) s->info->special[i].spec_id = i;
    return;
  }
  typ_sch_publish_fields(s);
  for (long i = removed; i < s->nfields; ++i) s->fields[i].spec_id = i;
  if (typ_ty_map* m = s->info->fmap) {
    for (long i = 0; i < m->count; ++i) {
      if (m->entries[i].spec == removed)
        m->entries[i].spec = -1;
      else if (m->entries[i].spec > removed)
        --m->entries[i].spec;
    }
  }
}

long typ_sch_delete_field(typ_sch_srec* s, long position) {
  s->flags |= 0x4010;
  if (position < 1 || position >= s->nfields) {
    osl_print_mes("%s: invalid field id %ld to delete\n", "typ_sch_delete_field", position);
    return 1;
  }
  if (long st = utl_col_remove(s->fcol, nullptr, position)) return st;
  after_removal(s, position, false);
  return 0;
}

long typ_sch_field_delete(typ_sch_srec* s, const char* name) {
  bool special = false;
  long at = -1;
  for (long i = 0; i < s->nfields && at < 0; ++i)
    if (name && s->fields[i].name && std::strcmp(s->fields[i].name, name) == 0) at = i;
  if (at < 0) {
    for (long i = 0; i < s->info->nspecial && at < 0; ++i)
      if (name && s->info->special[i].name && std::strcmp(s->info->special[i].name, name) == 0) at = i;
    special = at >= 0;
  }
  if (at < 0) return typ_alrt("typ_sch_field_delete", TYP_NO_FIELD_DELETE, name ? name : "", s->info->name);
  const long gen = special ? s->info->special[at].gen_id : s->fields[at].gen_id;
  if (gen != -1 && !special && s->info->fmap) {
    typ_ty_map* m = s->info->fmap;
    for (long i = 0; i < m->count; ++i)
      if (m->entries[i].gen == gen) m->entries[i].spec = -1;
  }
  if (long st = utl_col_remove(special ? s->info->special_col : s->fcol, nullptr, at)) return st;
  after_removal(s, at, special);
  return 0;
}
