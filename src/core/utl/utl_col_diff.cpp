// The difference of two collections.
#include "core/utl/utl_alrt.h"
#include "core/utl/utl_col_int.h"
#include "core/utl/utl_col_set.h"

namespace {

long make_like(utl_ty_col* a, utl_ty_col** out) {
  if (out == nullptr || *out != nullptr) return 0;
  return utl_col_make("utl_col_diff", a->type, a->capacity > 0 ? a->capacity : 1, a->extend > 0 ? a->extend : 1, 0,
                      0, out);
}

void set(long* counter, long value) {
  if (counter != nullptr) *counter = value;
}

}  // namespace

long utl_col_diff(utl_ty_col* a, utl_ty_col* b, long sort_first, utl_ty_col** only_a, long* num_only_a,
                  utl_ty_col** only_b, long* num_only_b, utl_ty_col** common, long* num_common) {
  if (long st = utl_col_check(a)) return st;
  if (long st = utl_col_check(b)) return st;
  if (a->type != b->type) {
    const char* name_a = cmn_typ_name(a->type);
    return utl_alrt(UTL_DIFF_TYPES, name_a, cmn_typ_name(b->type));
  }
  if (long st = make_like(a, only_a)) return st;
  if (long st = make_like(a, only_b)) return st;
  if (long st = make_like(a, common)) return st;
  set(num_only_a, 0);
  set(num_only_b, 0);
  set(num_common, 0);
  utl_ty_col* temp = nullptr;
  utl_ty_col* both = common != nullptr ? *common : nullptr;
  if (both == nullptr) {
    if (long st = make_like(a, &temp)) return st;
    both = temp;
  }
  long st = 0;
  if (sort_first) {
    st = utl_col_sort(a, nullptr, nullptr);
    if (st == 0) st = utl_col_sort(b, nullptr, nullptr);
  }
  long n_a = 0, n_b = 0, n_c = 0;
  for (long i = 0; st == 0 && i < a->count; ++i) {
    void* e = utl_col_elem(a, i);
    long found = -1;
    void* match = nullptr;
    st = utl_col_find_it(b, e, &found, &match);
    if (st != 0) break;
    if (found >= 0) {
      st = utl_col_insert(both, match, nullptr);
      ++n_c;
    } else if (only_a != nullptr) {
      st = utl_col_insert(*only_a, e, nullptr);
      ++n_a;
    } else {
      ++n_a;
    }
  }
  if (st == 0 && only_b != nullptr) {
    if (sort_first) st = utl_col_sort(both, nullptr, nullptr);
    for (long i = 0; st == 0 && i < b->count; ++i) {
      void* e = utl_col_elem(b, i);
      long found = -1;
      st = utl_col_find(both, e, &found);
      if (st == 0 && found < 0) {
        st = utl_col_insert(*only_b, e, nullptr);
        ++n_b;
      }
    }
  }
  set(num_only_a, n_a);
  set(num_only_b, n_b);
  set(num_common, n_c);
  if (temp != nullptr) utl_col_free("utl_col_diff", temp);
  return st;
}
