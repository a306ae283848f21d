// Field-path walks, step traversal with its marks, and the clearing of the
// marks.
#include "schema/typ_path.h"

#include <cstring>
#include <string>

#include "core/cmn/cmn_alrt.h"
#include "core/loc/loc_st.h"
#include "schema/typ_fld.h"
#include "schema/typ_msg.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"

namespace {

constexpr unsigned long kRecurCountShift = 23;
constexpr long kRelDataType = 670;

typ_sch_rel_inst* find_entry(typ_sch_srec* s, const char* name) {
  for (long i = 0; i < s->nrels; ++i)
    if (s->rels[i].rel_index >= 0 && std::strcmp(typ_sch_entry_name(&s->rels[i]), name) == 0) return &s->rels[i];
  return nullptr;
}

bool is_self(const typ_sch_rel_inst* e) {
  const typ_sch_rrec* r = typ_sch_entry_rel(e);
  return r && r->pindex == r->findex;
}

// Copies a step of a path into `step` (a string of its own, so the path is
// never written into); refuses a step longer than the longest allowed.
long take_step(typ_sch_srec* s, const char* begin, size_t n, std::string* step) {
  if (n > static_cast<size_t>(TYP_PATH_STEP_MAX)) {
    const std::string shown(begin, n);
    return typ_alrt("typ_sch_traverse_rel", TYP_BAD_REL, shown.c_str(), s->info->name);
  }
  step->assign(begin, n);
  return 0;
}

}  // namespace

long typ_sch_traverse_rel(typ_sch_srec* s, const char* step_text, long mark, long recursive, typ_sch_srec** related,
                          long* count_flag, long* count, long* recursion_flag, unsigned long* recursion_word) {
  std::string step;
  if (long st = take_step(s, step_text, std::strlen(step_text), &step)) return st;
  bool have_saved_count = false;
  long saved_count = 0;
  if (*count_flag == 1) {
    have_saved_count = true;
    saved_count = *count;
    *count_flag = 0;
    *count = 0;
  }
  bool have_saved_rec = false;
  unsigned long saved_rec = 0;
  if (*recursion_flag == 1) {
    have_saved_rec = true;
    saved_rec = *recursion_word;
    *recursion_flag = 0;
    *recursion_word = 0;
  }
  const size_t open = step.find('(');
  if (open != std::string::npos) {
    *count_flag = 1;
    *count = loc_st_atol(step.c_str() + open + 1);
    step.resize(open);
  }
  typ_sch_rel_inst* e = find_entry(s, step.c_str());
  if (!e) return typ_alrt("typ_sch_traverse_rel", TYP_BAD_REL, step.c_str(), s->info->name);
  typ_sch_srec* other = typ_sch_entry_other(e);
  if (!other) return typ_alrt("typ_sch_traverse_rel", TYP_BAD_REL, step.c_str(), s->info->name);
  if (mark == 1) e->flags |= TYP_MARK_TRAVERSED;
  if (is_self(e) && recursive == 1) {
    *count_flag = 0;
    *count = 0;
    if (e->trav & TYP_TRAV_RECURSIVE) {
      const unsigned long repeats = ((e->trav >> 8) + 1) & 0xff;
      e->trav = (e->trav & ~0xff00UL) | (repeats << 8);
    } else if (s->flags & TYP_SCH_RECURSIVE) {
      const unsigned long n = (((s->flags & TYP_SCH_RECUR_COUNT) >> kRecurCountShift) + 1) & 0xff;
      s->flags = (s->flags & ~TYP_SCH_RECUR_COUNT) | (n << kRecurCountShift);
      e->trav = TYP_TRAV_RECURSIVE | n;
    } else {
      e->trav = TYP_TRAV_RECURSIVE;
      s->flags |= TYP_SCH_RECURSIVE;
    }
    *recursion_word = e->trav;
    *recursion_flag = 1;
  }
  if (mark == 1) {
    if (have_saved_count) e->flags |= TYP_MARK_PREV_COUNT | ((static_cast<unsigned long>(saved_count) & 0xff) << 8);
    if (*count_flag == 1) {
      e->flags |= TYP_MARK_COUNT | (static_cast<unsigned long>(*count) & 0xff);
      other->flags |= TYP_SCH_COUNT_TARGET;
    }
  }
  if (have_saved_rec && recursive == 1) {
    e->trav |= saved_rec | TYP_TRAV_PREV;
    e->trav &= ~TYP_TRAV_RECURSIVE;
  }
  *related = other;
  return 0;
}

long typ_sch_field_path_walk(typ_sch_srec* s, const char* path, long mark, long recursive, typ_sch_srec** final_schema,
                             typ_sch_frec** field, long* count_flag, long* count, long* recursion_flag,
                             unsigned long* recursion_word) {
  s->path_steps = 0;
  const char* colon = std::strchr(path, ':');
  if (!colon) {
    *final_schema = s;
    return typ_sch_field_get_by_name(s, path, field);
  }
  std::string step;
  if (long st = take_step(s, path, static_cast<size_t>(colon - path), &step)) return st;
  typ_sch_srec* next = nullptr;
  if (long st = typ_sch_traverse_rel(s, step.c_str(), mark, recursive, &next, count_flag, count, recursion_flag,
                                     recursion_word))
    return st;
  long st = typ_sch_field_path_walk(next, colon + 1, mark, recursive, final_schema, field, count_flag, count,
                                    recursion_flag, recursion_word);
  ++s->path_steps;
  return st;
}

long typ_sch_field_path_walk_new(typ_sch_srec* s, const char* path, long mark, long recursive,
                                 typ_sch_srec** final_schema, typ_sch_frec** field, long* count_flag, long* count,
                                 long* recursion_flag, unsigned long* recursion_word, const char* rel_name) {
  typ_sch_srec* next = nullptr;
  if (long st = typ_sch_traverse_rel(s, rel_name, mark, recursive, &next, count_flag, count, recursion_flag,
                                     recursion_word))
    return st;
  return typ_sch_field_path_walk(next, path, mark, recursive, final_schema, field, count_flag, count,
                                 recursion_flag, recursion_word);
}

long typ_sch_field_path_mark(typ_sch_srec* s, const char* path) {
  long cf = 0, cnt = 0, rf = 0;
  unsigned long rw = 0;
  typ_sch_srec* fin = nullptr;
  typ_sch_frec* f = nullptr;
  long st = typ_sch_field_path_walk(s, path, 1, 1, &fin, &f, &cf, &cnt, &rf, &rw);
  if (st != TYP_NO_FIELD) return st;
  long spec = -1;
  if (typ_sch_rel_name_to_id(s->type_id, nullptr, path, &spec, nullptr) == 0) {
    cmn_alrt_pop(nullptr, nullptr, nullptr);
    return 0;
  }
  cmn_alrt_pop(nullptr, nullptr, nullptr);
  return TYP_NO_FIELD;
}

long typ_sch_field_path_info_get(long type_id, const char* path, long* out_type_id, long* field_id, long* data_type) {
  typ_sch_srec* s = nullptr;
  if (long st = typ_sch_find_finfo(type_id, nullptr, &s, nullptr, nullptr)) return st;
  long cf = 0, cnt = 0, rf = 0;
  unsigned long rw = 0;
  typ_sch_srec* fin = nullptr;
  typ_sch_frec* f = nullptr;
  long st = typ_sch_field_path_walk(s, path, 0, 0, &fin, &f, &cf, &cnt, &rf, &rw);
  if (st == 0) {
    if (out_type_id) *out_type_id = fin->type_id;
    if (field_id) *field_id = f->spec_id;
    if (data_type) *data_type = f->data_type;
    return 0;
  }
  if (st != TYP_NO_FIELD) return st;
  long spec = -1;
  if (typ_sch_rel_name_to_id(type_id, nullptr, path, &spec, nullptr) == 0) {
    cmn_alrt_pop(nullptr, nullptr, nullptr);
    // The type on this relation's own side: the starting type.
    if (out_type_id) *out_type_id = s->type_id;
    if (field_id) *field_id = spec;
    if (data_type) *data_type = kRelDataType;
    return 0;
  }
  cmn_alrt_pop(nullptr, nullptr, nullptr);
  return TYP_NO_FIELD;
}

long typ_sch_clear_recursive_rel(typ_sch_srec* s, const char* rel_name, typ_sch_srec** related) {
  *related = nullptr;
  typ_sch_rel_inst* e = find_entry(s, rel_name);
  if (!e) return 0;
  e->trav &= ~(TYP_TRAV_RECURSIVE | TYP_TRAV_PREV | 0xffffUL);
  s->flags &= ~(TYP_SCH_RECURSIVE | TYP_SCH_RECUR_COUNT);
  *related = typ_sch_entry_other(e);
  return 0;
}

long typ_sch_clear_recur_mark(typ_sch_srec* s, const char* path) {
  const char* p = path;
  while (s && p && *p) {
    const char* colon = std::strchr(p, ':');
    std::string step = colon ? std::string(p, colon) : std::string(p);
    const size_t open = step.find('(');
    if (open != std::string::npos) step.resize(open);
    typ_sch_srec* next = nullptr;
    if (long st = typ_sch_clear_recursive_rel(s, step.c_str(), &next)) return st;
    s = next;
    p = colon ? colon + 1 : nullptr;
  }
  return 0;
}

long typ_sch_clear_marks(typ_sch_srec* s, long) {
  s->flags &= ~(TYP_SCH_VISITED | TYP_SCH_COUNT_TARGET | TYP_SCH_RECURSIVE | TYP_SCH_RECUR_COUNT);
  for (long i = 0; i < s->nrels; ++i) {
    typ_sch_rel_inst* e = &s->rels[i];
    if (!(e->flags & TYP_MARK_TRAVERSED)) continue;
    e->flags &= ~TYP_MARK_TRAVERSED;
    if (e->trav & TYP_TRAV_RECURSIVE) {
      e->trav &= ~(TYP_TRAV_RECURSIVE | 0xffffUL);
      continue;
    }
    if (e->flags & TYP_MARK_PREV_COUNT) e->flags &= ~(TYP_MARK_PREV_COUNT | 0xff00UL);
    if (e->flags & TYP_MARK_COUNT) e->flags &= ~(TYP_MARK_COUNT | 0xffUL);
    if (e->trav & TYP_TRAV_PREV) e->trav &= ~(TYP_TRAV_PREV | 0xffffUL);
    typ_sch_srec* other = typ_sch_entry_other(e);
    if (other && (other->flags & TYP_SCH_VISITED)) typ_sch_clear_marks(other, 0);
  }
  return 0;
}

long typ_sch_mark_visited_table(typ_sch_srec* s, long) {
  s->flags |= TYP_SCH_VISITED;
  for (long i = 0; i < s->nrels; ++i) {
    const typ_sch_rel_inst* e = &s->rels[i];
    if (!(e->flags & TYP_MARK_TRAVERSED) || (e->trav & TYP_TRAV_RECURSIVE)) continue;
    typ_sch_srec* other = typ_sch_entry_other(e);
    if (other && !(other->flags & TYP_SCH_VISITED)) typ_sch_mark_visited_table(other, 0);
  }
  return 0;
}
