// Field and relation ids, the generic-to-specific maps, the optimisation of
// a loaded model and the field accessors.
#include <cstring>
#include <vector>

#include "core/cmn/cmn_typ.h"
#include "core/loc/loc_st.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_mem.h"
#include "schema/typ_fld.h"
#include "schema/typ_msg.h"
#include "schema/typ_sch.h"
#include "schema/typ_view.h"

long typ_ty_map_build(const long* specs, const long* gens, long n, typ_ty_map** map) {
  *map = nullptr;
  if (n == 0) return 0;
  const long types[2] = {TYP_TY_MAP, TYP_TY_MAP};
  const long sizes[2] = {static_cast<long>(sizeof(typ_ty_map)), n * static_cast<long>(sizeof(typ_ty_map_entry))};
  void* seg[2] = {nullptr, nullptr};
  if (long st = utl_mem_alloc("typ_ty_map", 2, types, sizes, seg)) return st;
  auto* m = static_cast<typ_ty_map*>(seg[0]);
  m->count = n;
  m->entries = static_cast<typ_ty_map_entry*>(seg[1]);
  for (long i = 0; i < n; ++i) {
    m->entries[i].spec = static_cast<int16_t>(specs[i]);
    m->entries[i].gen = static_cast<int16_t>(gens[i]);
  }
  *map = m;
  return 0;
}

long typ_ty_find_spec_id(const typ_ty_map* m, long gen, long* index) {
  *index = -1;
  if (!m || m->count == 0) return 0;
  for (long i = 0; i < m->count; ++i)
    if (m->entries[i].gen == gen) {
      *index = m->entries[i].spec;
      return 0;
    }
  return 0;
}

long typ_sch_map(typ_sch_srec* s, long id, long* index) {
  static const char* const kProc = "typ_sch_map";
  if (!s) return typ_alrt(kProc, TYP_BAD_HANDLE, 0L);
  if (id & TYP_GENERIC) {
    if (!cmn_gfld_check(id)) return typ_alrt(kProc, TYP_BAD_GEN_FIELD, id, s->info->name);
    long at = -1;
    typ_ty_find_spec_id(s->info->fmap, id & ~TYP_GENERIC, &at);
    if (at < 0) return typ_alrt(kProc, TYP_BAD_GEN_MAP, id, s->info->name);
    *index = at;
    return 0;
  }
  if (id < 0 || id >= s->nfields) return typ_alrt(kProc, TYP_BAD_SPEC_FIELD, id, s->info->name);
  *index = id;
  return 0;
}

long typ_sch_gen_to_sp(typ_sch_srec* s, long gen, long* index) {
  if (!cmn_gfld_check(gen)) return typ_alrt("typ_sch_gen_to_sp", TYP_BAD_GEN_FIELD, gen, s->info->name);
  return typ_ty_find_spec_id(s->info->fmap, gen & ~TYP_GENERIC, index);
}

long typ_sch_sp_to_gen(typ_sch_srec* s, long index, long* gen) {
  if (index < 0 || index >= s->nfields)
    return typ_alrt("typ_sch_sp_to_gen", TYP_BAD_SPEC_FIELD, index, s->info->name);
  *gen = s->fields[index].gen_id;
  return 0;
}

long typ_sch_rel_map(typ_sch_srec* s, long id, long* index) {
  static const char* const kProc = "typ_sch_rel_map";
  if (id & TYP_GENERIC) {
    long g = id & ~TYP_GENERIC;
    if (g < 0 || g > 2) return typ_alrt(kProc, TYP_BAD_GEN_REL, id);
    long at = -1;
    typ_ty_find_spec_id(s->info->rmap, g, &at);
    if (at < 0) return TYP_BAD_GEN_REL;
    *index = at;
    return 0;
  }
  if (id < 0 || id >= s->nrels) return typ_alrt(kProc, TYP_BAD_SPEC_REL, id);
  *index = id;
  return 0;
}

static long optimize_one(typ_sch_srec* s) {
  typ_sch_publish_fields(s);
  typ_sch_publish_relations(s);
  std::vector<long> specs, gens;
  for (long i = 0; i < s->nfields; ++i)
    if (s->fields[i].gen_id != -1) {
      specs.push_back(i);
      gens.push_back(s->fields[i].gen_id);
    }
  typ_ty_map* fmap = nullptr;
  if (long st = typ_ty_map_build(specs.data(), gens.data(), static_cast<long>(specs.size()), &fmap)) return st;
  if (s->info->fmap) utl_mem_free("typ_sch_optimize", s->info->fmap);
  s->info->fmap = fmap;
  s->flags |= TYP_SCH_OPTIMIZED;
  if (!(s->flags & TYP_SCH_VIEW)) {
    specs.clear();
    gens.clear();
    for (long i = 0; i < s->nrels; ++i) {
      typ_sch_rel_inst* e = &s->rels[i];
      if (e->rel_index < 0 || e->rel_index >= typ_sch_num_rels) continue;
      e->rel = &typ_sch_relations[e->rel_index];
      long g = e->side == 'p' ? e->rel->pgen : e->rel->fgen;
      if (g >= 0 && g <= 2) {
        specs.push_back(i);
        gens.push_back(g);
      }
    }
    typ_ty_map* rmap = nullptr;
    if (long st = typ_ty_map_build(specs.data(), gens.data(), static_cast<long>(specs.size()), &rmap))
      return st;
    if (s->info->rmap) utl_mem_free("typ_sch_optimize", s->info->rmap);
    s->info->rmap = rmap;
    if (s->info->relind_col) {
      void* a = nullptr;
      utl_col_get_array(s->info->relind_col, &a, &s->info->nrelind);
      s->info->relind = static_cast<void**>(a);
      // Positions become entry addresses once; a later optimisation finds
      // addresses already there.
      if (!s->info->relind_converted) {
        for (long i = 0; i < s->info->nrelind; ++i) {
          auto pos = reinterpret_cast<intptr_t>(s->info->relind[i]);
          s->info->relind[i] = pos >= 0 && pos < s->nrels ? &s->rels[pos] : nullptr;
        }
        s->info->relind_converted = true;
      }
    }
    s->flags &= ~TYP_SCH_CONSTRUCT;
  } else if (s->flags & TYP_SCH_CONSTRUCT) {
    if (long st = typ_sch_define_view(s)) return st;
    s->flags &= ~TYP_SCH_CONSTRUCT;
  }
  return 0;
}

long typ_sch_optimize() {
  for (long i = 0; i < typ_sch_num_schs; ++i) {
    if (typ_sch_schemas[i].flags == 0) continue;
    if (long st = optimize_one(&typ_sch_schemas[i])) return st;
  }
  for (long r = 0; r < typ_sch_num_rels; ++r) {
    typ_sch_rrec* rr = &typ_sch_relations[r];
    rr->pschema = rr->pindex >= 0 && rr->pindex < typ_sch_num_schs ? &typ_sch_schemas[rr->pindex] : nullptr;
    rr->fschema = rr->findex >= 0 && rr->findex < typ_sch_num_schs ? &typ_sch_schemas[rr->findex] : nullptr;
  }
  return 0;
}

long typ_sch_field_get_by_name(typ_sch_srec* s, const char* name, typ_sch_frec** field) {
  *field = nullptr;
  for (long i = 0; i < s->nfields; ++i)
    if (name && s->fields[i].name && loc_st_strcmpi(s->fields[i].name, name) == 0) {
      *field = &s->fields[i];
      return 0;
    }
  return typ_alrt("typ_sch_field_get_by_name", TYP_NO_FIELD, name ? name : "", s->info->name);
}

static long field_of(long type_id, long field_id, typ_sch_frec** f) {
  typ_sch_srec* s = nullptr;
  if (long st = typ_sch_find_finfo(type_id, nullptr, &s, nullptr, nullptr)) return st;
  long index = -1;
  if (long st = typ_sch_map(s, field_id, &index)) return st;
  *f = &s->fields[index];
  return 0;
}

long typ_sch_field_length_get(long type_id, long field_id, long* size) {
  typ_sch_frec* f = nullptr;
  if (long st = field_of(type_id, field_id, &f)) return st;
  *size = f->array_size;
  return 0;
}

long typ_sch_field_type_get(long type_id, long field_id, long* data_type) {
  typ_sch_frec* f = nullptr;
  if (long st = field_of(type_id, field_id, &f)) return st;
  *data_type = f->data_type;
  return 0;
}

long typ_sch_field_type_is_text(long db_type) { return db_type == 8 ? 1 : 0; }

long typ_sch_get_field_info2(typ_sch_srec* s, long field_id, const char** name, long* array_size,
                             unsigned long* flags, long* data_type, long* db_type, const char** def) {
  long index = -1;
  if (long st = typ_sch_map(s, field_id, &index)) return st;
  const typ_sch_frec* f = &s->fields[index];
  if (name) *name = f->name;
  if (array_size) *array_size = f->array_size;
  if (flags) *flags = f->flags;
  if (data_type) *data_type = f->data_type;
  if (db_type) *db_type = f->db_type;
  if (def) *def = f->def;
  return 0;
}

long typ_sch_field_uptr_set(typ_sch_frec* f, void* word) {
  f->uptr = word;
  return 0;
}

long typ_sch_field_uptr_get(typ_sch_frec* f, void** word) {
  *word = f->uptr;
  return 0;
}
