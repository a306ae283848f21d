// Unions and intersections of collections of collections, adjacent
// duplicates, merging.
#include "core/utl/utl_col_set.h"

#include <cstring>

#include "core/utl/utl_alrt.h"
#include "core/utl/utl_col_int.h"
#include "core/utl/utl_msg.h"

namespace {

using summary = utl_ty_col_summary;

utl_ty_col* member_at(utl_ty_col* cols, long i) {
  return *static_cast<utl_ty_col**>(utl_col_elem(cols, i));
}

summary* summary_at(utl_ty_col* s, long i) { return static_cast<summary*>(utl_col_elem(s, i)); }

long compare_of(long type, cmn_ty_compare_proc* cmp) {
  utl_col_type_procs(type, nullptr, cmp);
  if (*cmp == nullptr) return utl_alrt(UTL_NO_COMPARE, cmn_typ_name(type));
  return 0;
}

// Sort callbacks over summary slots.
long by_current(const void* a, const void* b, void*) { return utl_col_summarycmp(a, b); }
long by_count(const void* a, const void* b, void*) { return utl_col_summary_shortest_cmp(a, b); }

// Moves a member to its next element; false when it has run out.
bool step(summary* s) {
  if (++s->position >= s->count) return false;
  s->current = utl_col_elem(s->member, s->position);
  return true;
}

// Moves a member past the value (to its next element comparing above it);
// false when it has run out.
bool step_past(summary* s, const void* value) {
  while (s->compare(s->current, value) <= 0) {
    if (!step(s)) return false;
  }
  return true;
}

long remove_at(utl_ty_col* s, long i) { return utl_col_remove(s, nullptr, i); }

// Sorts the union summaries by current element so that no two members start
// on the same value: a member that does not start above its predecessor is
// moved past the predecessor's value (a member that runs out leaves).
long level_union(utl_ty_col* s) {
  for (;;) {
    if (long st = utl_col_sort(s, by_current, nullptr)) return st;
    long n = s->count;
    long i = 1;
    for (; i < n; ++i) {
      summary* prev = summary_at(s, i - 1);
      summary* cur = summary_at(s, i);
      if (cur->compare(cur->current, prev->current) <= 0) break;
    }
    if (i >= n) return 0;
    summary* prev = summary_at(s, i - 1);
    summary* cur = summary_at(s, i);
    if (!step_past(cur, prev->current)) {
      if (long st = remove_at(s, i)) return st;
    }
  }
}

long make_result(const char* owner, long type, long capacity, long extend, utl_ty_col** result) {
  return utl_col_make(owner, type, capacity > 0 ? capacity : 1, extend, 0, 0, result);
}

}  // namespace

long utl_col_summarycmp(const void* a, const void* b) {
  const auto* x = static_cast<const summary*>(a);
  const auto* y = static_cast<const summary*>(b);
  return x->compare(x->current, y->current);
}

long utl_col_summary_shortest_cmp(const void* a, const void* b) {
  long x = static_cast<const summary*>(a)->count, y = static_cast<const summary*>(b)->count;
  return x < y ? -1 : (x > y ? 1 : 0);
}

long utl_col1_init() {
  return cmn_typ_install(UTL_COL_SUMMARY_TYPE, -1, -1, nullptr, static_cast<long>(sizeof(summary)), nullptr,
                         utl_col_summarycmp, nullptr, nullptr);
}

long utl_col_extract_summaries(utl_ty_col* cols, utl_ty_col** summaries, long* type, long* count, long is_union) {
  if (summaries != nullptr) *summaries = nullptr;
  *count = 0;
  *type = -1;
  long n = 0;
  if (long st = utl_col_num(cols, &n)) return st;
  long total = 0;
  long smallest = -1;
  for (long i = 0; i < n; ++i) {
    utl_ty_col* m = member_at(cols, i);
    long c = 0;
    if (long st = utl_col_num(m, &c)) return st;
    if (i == 0) *type = m->type;
    if (c == 0) {
      if (is_union) continue;
      *count = 0;
      return 0;  // an empty member: the intersection is empty
    }
    if (total == 0) *type = m->type;  // the first non-empty member's type
    if (m->type != *type) return UTL_DIFFERENT_TYPES;
    total += c;
    if (smallest < 0 || c < smallest) smallest = c;
  }
  *count = is_union ? total : (smallest < 0 ? 0 : smallest);
  if (summaries == nullptr) return 0;
  utl_ty_col* s = nullptr;
  if (long st = utl_col_make("utl_col_extract_summaries", UTL_COL_SUMMARY_TYPE, n > 0 ? n : 1, 1, 0, 0, &s)) return st;
  for (long i = 0; i < n; ++i) {
    utl_ty_col* m = member_at(cols, i);
    if (m->count == 0) continue;
    summary rec{0, m->count, nullptr, nullptr, m};
    long st = compare_of(m->type, &rec.compare);
    if (st == 0) st = utl_col_sort(m, nullptr, nullptr);
    if (st == 0) {
      rec.current = utl_col_elem(m, 0);
      st = utl_col_push(s, &rec, nullptr);
    }
    if (st != 0) {
      utl_col_free("utl_col_extract_summaries", s);
      return st;
    }
  }
  long st = is_union ? level_union(s) : utl_col_sort(s, by_count, nullptr);
  if (st != 0) {
    utl_col_free("utl_col_extract_summaries", s);
    return st;
  }
  *summaries = s;
  return 0;
}

long utl_col_eliminate_duplicates(utl_ty_col* col) {
  if (long st = utl_col_check(col)) return st;
  if (col->count < 2) return 0;
  cmn_ty_compare_proc cmp = nullptr;
  if (long st = compare_of(col->type, &cmp)) return st;
  long kept = 1;
  for (long i = 1; i < col->count; ++i) {
    if (cmp(utl_col_elem(col, kept - 1), utl_col_elem(col, i)) == 0) continue;
    if (kept != i) std::memcpy(utl_col_slot(col, kept), utl_col_slot(col, i), static_cast<size_t>(col->slot_size));
    ++kept;
  }
  std::memset(utl_col_slot(col, kept), 0, static_cast<size_t>((col->count - kept) * col->slot_size));
  col->count = kept;
  return 0;
}

long utl_col_merge_col(utl_ty_col* source, utl_ty_col* target) {
  long n = 0;
  if (long st = utl_col_num(source, &n)) return st;
  if (n == 0) return 0;
  return utl_col_append(source, target);
}

long utl_col_copy_all_collections(utl_ty_col* cols, utl_ty_col* target) {
  long n = 0;
  if (long st = utl_col_num(cols, &n)) return st;
  for (long i = 0; i < n; ++i) {
    if (long st = utl_col_merge_col(member_at(cols, i), target)) return st;
  }
  return utl_col_sort(target, nullptr, nullptr);
}

long utl_col_union(utl_ty_col* cols, utl_ty_col** result) {
  if (cols == nullptr || result == nullptr) return 0;
  long type = -1, total = 0;
  if (long st = utl_col_extract_summaries(cols, nullptr, &type, &total, 1)) return st;
  if (type == -1) type = CMN_TYP_VOID_P;
  if (long st = make_result("utl_col_union", type, total, 1, result)) return st;
  if (long st = utl_col_copy_all_collections(cols, *result)) return st;
  return utl_col_eliminate_duplicates(*result);
}

long utl_col_union_merge_sort_style(utl_ty_col* cols, utl_ty_col** result) {
  if (cols == nullptr || result == nullptr) return 0;
  utl_ty_col* s = nullptr;
  long type = -1, total = 0;
  if (long st = utl_col_extract_summaries(cols, &s, &type, &total, 1)) return st;
  if (type == -1) type = CMN_TYP_VOID_P;
  long st = make_result("utl_col_union_merge_sort_style", type, total, 64, result);
  while (st == 0 && s->count > 0) {
    summary* first = summary_at(s, 0);
    void* pushed = nullptr;
    st = utl_col_push(*result, first->current, &pushed);
    if (st != 0) break;
    // The pushed copy stays put while the member moves on.
    if (!step_past(first, pushed)) {
      st = remove_at(s, 0);
      continue;
    }
    // Back into order among the others (whose values are distinct and
    // ascending); a member holding an equal value moves on first.
    for (;;) {
      long i = 1;
      bool equal = false;
      for (; i < s->count; ++i) {
        long r = first->compare(first->current, summary_at(s, i)->current);
        if (r == 0) equal = true;
        if (r <= 0) break;
      }
      if (equal) {
        if (!step_past(first, summary_at(s, i)->current)) {
          st = remove_at(s, 0);
          break;
        }
        continue;
      }
      summary moved = *first;
      std::memmove(summary_at(s, 0), summary_at(s, 1), static_cast<size_t>((i - 1) * s->slot_size));
      *summary_at(s, i - 1) = moved;
      break;
    }
  }
  if (s != nullptr) utl_col_free("utl_col_union_merge_sort_style", s);
  return st;
}

long utl_col_intersection(utl_ty_col* cols, utl_ty_col** result) {
  if (cols == nullptr || result == nullptr) return 0;
  utl_ty_col* s = nullptr;
  long type = -1, smallest = 0;
  if (long st = utl_col_extract_summaries(cols, &s, &type, &smallest, 0)) return st;
  if (type == -1) type = CMN_TYP_VOID_P;
  long st = make_result("utl_col_intersection", type, smallest, 1, result);
  if (st != 0 || s == nullptr || smallest == 0) {
    if (s != nullptr) utl_col_free("utl_col_intersection", s);
    return st;
  }
  if (s->count == 1) {
    st = utl_col_merge_col(summary_at(s, 0)->member, *result);
    utl_col_free("utl_col_intersection", s);
    return st;
  }
  bool done = false;
  while (!done && st == 0) {
    summary* cand = summary_at(s, 0);
    // Bring every member level with the candidate; when the candidate moves,
    // the members already brought level are checked again.
    for (long j = 1; j < s->count && !done; ++j) {
      summary* m = summary_at(s, j);
      long r;
      bool cand_moved = false;
      while (!done && (r = m->compare(m->current, cand->current)) != 0) {
        if (r < 0) {
          done = !step(m);
        } else {
          done = !step(cand);
          cand_moved = true;
        }
      }
      if (cand_moved && !done) j = 0;  // the loop's ++j starts again at 1
    }
    if (done) break;
    void* pushed = nullptr;
    st = utl_col_push(*result, cand->current, &pushed);
    if (st != 0) break;
    for (long j = 0; j < s->count && !done; ++j) done = !step_past(summary_at(s, j), pushed);
    if (!done) st = utl_col_sort(s, by_count, nullptr);
  }
  utl_col_free("utl_col_intersection", s);
  return st;
}
