// Defining relations: pairing each side with its inverse, the relation-index
// list, link-table names, renaming, deletion and the final check.
#include "schema/typ_rel.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "adapter/adp_sch.h"
#include "core/loc/loc_st.h"
#include "core/utl/utl_col.h"
#include "schema/typ_msg.h"
#include "schema/typ_sch.h"

// The stored record pointer is trusted only while it points into the current
// relation array: the array moves when relations are added after an
// optimisation (an upgrade adding relations), and the index then finds the
// record where it is now.
typ_sch_rrec* typ_sch_entry_rel(const typ_sch_rel_inst* e) {
  if (e->rel && typ_sch_relations && e->rel >= typ_sch_relations && e->rel < typ_sch_relations + typ_sch_num_rels)
    return e->rel;
  if (e->rel_index >= 0 && e->rel_index < typ_sch_num_rels) return &typ_sch_relations[e->rel_index];
  return e->rel_index < 0 ? e->rel : nullptr;
}

const char* typ_sch_entry_name(const typ_sch_rel_inst* e) {
  const typ_sch_rrec* r = typ_sch_entry_rel(e);
  if (!r) return "";
  const char* n = e->side == 'p' ? r->pname : r->fname;
  return n ? n : "";
}

typ_sch_srec* typ_sch_entry_other(const typ_sch_rel_inst* e) {
  const typ_sch_rrec* r = typ_sch_entry_rel(e);
  if (!r) return nullptr;
  long idx = e->side == 'p' ? r->findex : r->pindex;
  return idx >= 0 && idx < typ_sch_num_schs ? &typ_sch_schemas[idx] : nullptr;
}

static long rel_text(const char* text, char** out) {
  *out = nullptr;
  if (!text) return 0;
  return utl_col_alloc_string(typ_sch_rel_col, text, out);
}

long typ_sch_define_mtm_table(const char* name_a, long type_a, long spec_a, const char* name_b, long type_b,
                              long spec_b, char** out) {
  const bool a_first = type_a < type_b || (type_a == type_b && spec_a < spec_b);
  const char* prefix = "mtm_";
  adp_sch_tbl_name_prefix("mtm_", &prefix);
  std::string t = prefix ? prefix : "";
  if (a_first)
    t += std::string(name_a) + std::to_string(spec_a) + "_" + name_b + std::to_string(spec_b);
  else
    t += std::string(name_b) + std::to_string(spec_b) + "_" + name_a + std::to_string(spec_a);
  return rel_text(t.c_str(), out);
}

long typ_sch_add_relind(typ_sch_srec* s, long position, typ_sch_rel_inst* entry) {
  typ_sch_iblk* info = s->info;
  if (!info->relind_col) {
    if (long st = utl_col_make("typ_sch_add_relind", 517, 1, 1, 0, 0, &info->relind_col)) return st;
  }
  void* word = reinterpret_cast<void*>(static_cast<intptr_t>(position));
  if (long st = utl_col_push(info->relind_col, &word, nullptr)) return st;
  void* a = nullptr;
  utl_col_get_array(info->relind_col, &a, &info->nrelind);
  info->relind = static_cast<void**>(a);
  if (entry) entry->flags |= TYP_REL_INDEX;
  return 0;
}

// The waiting entry for a relation named `name` from `this_type`: its
// target is this type, its inverse this name and its name our inverse.
static long find_waiting(const char* this_type, const char* name, const char* inverse) {
  long n = 0;
  utl_col_num(typ_sch_ro_col, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(typ_sch_ro_col, i, &e);
    auto* ro = static_cast<typ_sch_ro*>(e);
    if (std::strcmp(ro->target_type, this_type) == 0 && std::strcmp(ro->inv_name ? ro->inv_name : "", name) == 0 &&
        std::strcmp(ro->name ? ro->name : "", inverse ? inverse : "") == 0)
      return i;
  }
  return -1;
}

static void set_exclusive(typ_sch_rrec* r, long exclusive, const char* phys, const char* focus,
                          const char* set, long* st) {
  r->exclusive = exclusive;
  r->phys_name = r->focus_field = r->excl_set = nullptr;
  if (!exclusive) return;
  if ((*st = rel_text(phys, &r->phys_name))) return;
  if ((*st = rel_text(focus, &r->focus_field))) return;
  *st = rel_text(set, &r->excl_set);
}

// The first side: a waiting entry and a new relation record.
static long define_first(typ_sch_srec* s, const char* name, long type, const char* target, long gen,
                         long at, const char* inverse, long exclusive, const char* phys,
                         const char* focus, unsigned long flags, const char* set, long* rel_index,
                         char* side) {
  static const char* const kProc = "typ_sch_define_a_rel";
  const bool primary = type == TYP_REL_OTM || type == TYP_REL_OTOF || type == TYP_REL_MTM;
  if (!primary && type != TYP_REL_MTO && type != TYP_REL_OTOP)
    return typ_alrt(kProc, TYP_UNKNOWN_REL, name, s->info->name);
  typ_sch_ro ro{};
  if (long st = utl_col_alloc_string(typ_sch_ro_col, name, &ro.name)) return st;
  if (long st = utl_col_alloc_string(typ_sch_ro_col, inverse ? inverse : "", &ro.inv_name)) return st;
  std::snprintf(ro.def_type, sizeof ro.def_type, "%s", s->info->name);
  std::snprintf(ro.target_type, sizeof ro.target_type, "%s", target ? target : "");
  ro.flags = flags;
  if (long st = utl_col_push(typ_sch_ro_col, &ro, nullptr)) return st;

  typ_sch_rrec r{};
  r.pindex = r.findex = -1;
  r.pspec = r.fspec = -1;
  r.pgen = r.fgen = -1;
  char* copy = nullptr;
  if (long st = rel_text(name, &copy)) return st;
  const long me = typ_sch_index_of(s);
  if (primary) {
    r.pname = copy;
    r.pindex = me;
    r.pspec = at;
    r.pgen = gen;
  } else {
    r.fname = copy;
    r.findex = me;
    r.fspec = at;
    r.fgen = gen;
  }
  r.type = type;
  long st = 0;
  set_exclusive(&r, exclusive, phys, focus, set, &st);
  if (st) return st;
  if ((st = utl_col_push(typ_sch_rel_col, &r, nullptr))) return st;
  typ_sch_publish_rels();
  *rel_index = typ_sch_num_rels - 1;
  *side = primary ? 'p' : 'f';
  return 0;
}

// The second side: completes the record that the first side made.
static long define_second(typ_sch_srec* s, long waiting, const char* name, long type, const char* target,
                          long gen, long at, const char* inverse, long exclusive, const char* phys,
                          const char* focus, unsigned long flags, const char* set, long* rel_index,
                          char* side) {
  static const char* const kProc = "typ_sch_define_a_rel";
  void* e = nullptr;
  utl_col_ith(typ_sch_ro_col, waiting, &e);
  auto* ro = static_cast<typ_sch_ro*>(e);
  if (std::strcmp(ro->def_type, target ? target : "") != 0 || std::strcmp(ro->name, inverse ? inverse : "") != 0)
    return typ_alrt(kProc, TYP_NO_INVERSE, name, s->info->name);
  if ((ro->flags & TYP_REL_USER) != (flags & TYP_REL_USER))
    return typ_alrt(kProc, TYP_REL_FLAG_MISMATCH, name, s->info->name);
  typ_sch_srec* ts = nullptr;
  typ_sch_find_handle(-1, target, &ts);
  if (!ts) return typ_alrt(kProc, TYP_NO_INVERSE, name, s->info->name);
  const typ_sch_rel_inst* te = nullptr;
  for (long i = 0; i < ts->nrels; ++i)
    if (ts->rels[i].rel_index >= 0 && std::strcmp(typ_sch_entry_name(&ts->rels[i]), inverse) == 0) {
      te = &ts->rels[i];
      break;
    }
  if (!te) {
    std::printf("Could not find relation '%s'\n", inverse);
    return 1;
  }
  const long ri = te->rel_index;
  typ_sch_rrec* r = &typ_sch_relations[ri];
  static const long kPair[6] = {0, TYP_REL_MTO, TYP_REL_OTM, TYP_REL_OTOF, TYP_REL_OTOP, TYP_REL_MTM};
  if (type < 1 || type > 5 || r->type != kPair[type])
    return typ_alrt(kProc, TYP_INV_MISMATCH, name, s->info->name);
  const bool primary = type == TYP_REL_OTM || type == TYP_REL_OTOF;
  const long me = typ_sch_index_of(s);
  if (type == TYP_REL_MTM) {
    const bool prefix = adp_sch_require_prefix() != 0;
    long len = static_cast<long>(std::strlen(target) + std::strlen(s->info->name)) + 8 + (prefix ? 4 : 0) +
               (r->pspec > 9 ? 1 : 0) + (at > 9 ? 1 : 0);
    if (len > (prefix ? 34 : 30)) return typ_alrt(kProc, TYP_MTM_TOO_LONG, target, s->info->name);
    if (long st = typ_sch_define_mtm_table(target, ts->type_id, r->pspec, s->info->name, s->type_id, at,
                                           &r->mtm_table))
      return st;
  }
  char* copy = nullptr;
  if (long st = rel_text(name, &copy)) return st;
  if (primary) {
    r->pname = copy;
    r->pindex = me;
    r->pspec = at;
    r->pgen = gen;
  } else {
    r->fname = copy;
    r->findex = me;
    r->fspec = at;
    r->fgen = gen;
  }
  if (r->exclusive == 0) {
    long st = 0;
    set_exclusive(r, exclusive, phys, focus, set, &st);
    if (st) return st;
  }
  if (long st = utl_col_remove(typ_sch_ro_col, nullptr, waiting)) return st;
  *rel_index = ri;
  *side = primary ? 'p' : 'f';
  return 0;
}

long typ_sch_define_a_rel(typ_sch_srec* s, const char* name, long rel_type, const char* target, long gen,
                          long position, long* out_position, const char* inverse, long exclusive,
                          const char* phys, const char* focus, const char* comment, const char* old_name,
                          unsigned long flags, const char* set) {
  static const char* const kProc = "typ_sch_define_a_rel";
  if (long st = typ_sch_check_construct(kProc, s)) return st;
  if (!name) name = "";
  for (long i = 0; i < s->nrels; ++i)
    if (s->rels[i].rel_index >= 0 && loc_st_strcmpi(typ_sch_entry_name(&s->rels[i]), name) == 0)
      return typ_alrt(kProc, TYP_REL_DUPLICATE, name, s->info->name);
  const long at = position == -1 ? s->nrels : position;
  if (gen < -1 || gen > 2) return typ_alrt(kProc, TYP_BAD_GEN_REL_DEF, gen, s->info->name);
  if (!(flags & TYP_REL_USER)) {
    for (long i = 0; i < s->nrels; ++i)
      if (s->rels[i].flags & TYP_REL_USER) return typ_alrt(kProc, TYP_REL_AFTER_USER, name, s->info->name);
  }
  const bool index_mark = (rel_type & TYP_REL_INDEX_MARK) != 0;
  const long type = rel_type & ~TYP_REL_INDEX_MARK;
  if (!typ_sch_rel_col || !typ_sch_ro_col) {
    std::printf("%s: TYP SCH init must be called first!\n", kProc);
    return -1;
  }
  long ri = -1;
  char side = 0;
  const long waiting = find_waiting(s->info->name, name, inverse);
  long st = waiting < 0 ? define_first(s, name, type, target, gen, at, inverse, exclusive, phys, focus, flags,
                                       set, &ri, &side)
                        : define_second(s, waiting, name, type, target, gen, at, inverse, exclusive, phys,
                                        focus, flags, set, &ri, &side);
  if (st) return st;
  typ_sch_rel_inst e{};
  e.rel_index = ri;
  e.side = side;
  e.flags = flags;
  if ((st = typ_sch_name_copy_or_empty(comment, &e.comment))) return st;
  if ((st = typ_sch_name_copy_or_empty(old_name, &e.old_name))) return st;
  if ((st = utl_col_insert_expand(s->rcol, &e, at, nullptr))) return st;
  typ_sch_publish_relations(s);
  typ_sch_rel_inst* stored = &s->rels[at];
  if (index_mark && (st = typ_sch_add_relind(s, at, stored))) return st;
  if ((flags & TYP_REL_REQUIRED) && (st = typ_sch_add_optional_rel(s, at, stored))) return st;
  if (position != -1) {
    if ((st = utl_col_sort(s->rcol, [](const void* a, const void* b, void*) { return typ_sch_rels_cmp(a, b); },
                           nullptr)))
      return st;
    typ_sch_publish_relations(s);
  }
  if (out_position) *out_position = at;
  return 0;
}

long typ_sch_define_rel(typ_sch_srec* s, const char* name, long rel_type, const char* target, long gen,
                        long* out_position, const char* inverse, long exclusive, const char* phys,
                        const char* focus, const char* comment, const char* old_name, unsigned long flags,
                        const char* set) {
  return typ_sch_define_a_rel(s, name, rel_type, target, gen, -1, out_position, inverse, exclusive, phys,
                              focus, comment, old_name, flags, set);
}

long typ_sch_rel_check() {
  long n = 0;
  if (typ_sch_ro_col) utl_col_num(typ_sch_ro_col, &n);
  if (n == 0) return 0;
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(typ_sch_ro_col, i, &e);
    auto* ro = static_cast<typ_sch_ro*>(e);
    typ_alrt("typ_sch_rel_check", TYP_NO_INVERSE, ro->name, ro->def_type);
  }
  return TYP_NO_INVERSE;
}

static long find_own(typ_sch_srec* s, const char* name) {
  for (long i = 0; i < s->nrels; ++i)
    if (s->rels[i].rel_index >= 0 && name && std::strcmp(typ_sch_entry_name(&s->rels[i]), name) == 0) return i;
  return -1;
}

long typ_sch_rename_rel(typ_sch_srec* s, const char* old_name, const char* new_name, typ_sch_srec** other) {
  const long i = find_own(s, old_name);
  if (i < 0)
    return typ_alrt("typ_sch_rename_rel", TYP_NO_REL_RENAME, old_name ? old_name : "", new_name ? new_name : "",
                    s->info->name);
  typ_sch_rel_inst* e = &s->rels[i];
  typ_sch_rrec* r = typ_sch_entry_rel(e);
  char* copy = nullptr;
  if (long st = rel_text(new_name ? new_name : "", &copy)) return st;
  (e->side == 'p' ? r->pname : r->fname) = copy;
  if (other) *other = typ_sch_entry_other(e);
  return 0;
}

// Removes entry i of s and moves the own-side spec ids of the later entries.
static long remove_entry(typ_sch_srec* s, long i) {
  if (long st = utl_col_remove(s->rcol, nullptr, i)) return st;
  typ_sch_publish_relations(s);
  for (long k = i; k < s->nrels; ++k) {
    typ_sch_rrec* r = typ_sch_entry_rel(&s->rels[k]);
    if (!r) continue;
    --(s->rels[k].side == 'p' ? r->pspec : r->fspec);
  }
  return 0;
}

long typ_sch_delete_rel(typ_sch_srec* s, const char* name, typ_sch_srec** other) {
  if (other) *other = nullptr;
  const long i = find_own(s, name);
  if (i < 0) return 0;
  typ_sch_rel_inst e = s->rels[i];
  typ_sch_rrec* r = typ_sch_entry_rel(&e);
  typ_sch_srec* o = typ_sch_entry_other(&e);
  const long other_spec = e.side == 'p' ? r->fspec : r->pspec;
  r->type = 0;
  if (long st = remove_entry(s, i)) return st;
  if (o && other_spec >= 0 && other_spec < o->nrels) {
    if (long st = remove_entry(o, other_spec)) return st;
  }
  if (other) *other = o;
  return 0;
}

long typ_sch_rels_cmp(const void* a, const void* b) {
  auto spec = [](const typ_sch_rel_inst* e) {
    const typ_sch_rrec* r = typ_sch_entry_rel(e);
    return r ? (e->side == 'p' ? r->pspec : r->fspec) : -1;
  };
  long x = spec(static_cast<const typ_sch_rel_inst*>(a));
  long y = spec(static_cast<const typ_sch_rel_inst*>(b));
  return x < y ? -1 : x > y ? 1 : 0;
}

long typ_sch_ro_cmp(const void* a, const void* b) {
  auto* x = static_cast<const typ_sch_ro*>(a);
  auto* y = static_cast<const typ_sch_ro*>(b);
  auto sgn = [](int c) { return c < 0 ? -1L : c > 0 ? 1L : 0L; };
  if (int c = std::strcmp(x->target_type, y->target_type)) return sgn(c);
  if (int c = std::strcmp(x->inv_name ? x->inv_name : "", y->inv_name ? y->inv_name : "")) return sgn(c);
  return sgn(std::strcmp(x->name ? x->name : "", y->name ? y->name : ""));
}
