// Searching and sorting collections.
#include <cstdlib>
#include <cstring>

#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_alrt.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_col_int.h"
#include "core/utl/utl_msg.h"

namespace {

utl_col_cmp_ctx make_ctx(const utl_ty_col* col, utl_ty_col_cmp cmp, void* arg, bool inverse) {
  utl_col_cmp_ctx c{};
  c.custom = cmp;
  c.arg = arg;
  c.pointer_slots = !(col->flags & UTL_COL_IN_SLOT);
  c.inverse = inverse;
  if (!cmp) utl_col_type_procs(col->type, nullptr, &c.type_cmp);
  return c;
}

int sign(long r) { return r < 0 ? -1 : (r > 0 ? 1 : 0); }

// Type comparison of two element addresses; in a collection whose slots hold
// pointers an empty slot (null element) sorts before every element.
long type_compare(const utl_col_cmp_ctx& c, const void* a, const void* b) {
  if (c.pointer_slots && (!a || !b)) return (a ? 1 : 0) - (b ? 1 : 0);
  return c.type_cmp(a, b);
}

// The compare context travels with each sort call, so a compare procedure
// may itself sort another collection.
int sort_cb(const void* a, const void* b, void* p) {
  const auto* c = static_cast<const utl_col_cmp_ctx*>(p);
  long r;
  if (c->custom) {
    r = c->custom(a, b, c->arg);
  } else {
    const void* ea = c->pointer_slots ? *static_cast<void* const*>(a) : a;
    const void* eb = c->pointer_slots ? *static_cast<void* const*>(b) : b;
    r = type_compare(*c, ea, eb);
  }
  return c->inverse ? -sign(r) : sign(r);
}

long find_spot(utl_ty_col* col, const void* key, utl_ty_col_cmp cmp, long* index, void** element,
               long* spot) {
  if (long st = utl_col_check(col)) return st;
  utl_col_cmp_ctx c = make_ctx(col, cmp, nullptr, false);
  if (index) *index = -1;
  if (element) *element = nullptr;
  if (spot) *spot = -1;
  const bool sorted = col->flags & UTL_COL_SORTED;
  for (long i = 0; i < col->count; ++i) {
    void* e = utl_col_elem(col, i);
    long r;
    if (c.custom || c.type_cmp) {
      r = utl_col_cmp_key(c, key, e);
    } else {
      // Without any compare procedure the key's first word is compared with
      // the element address.
      void* first = nullptr;
      std::memcpy(&first, key, sizeof(first));
      r = first == e ? 0 : 1;
    }
    if (r == 0) {
      if (index) *index = i;
      if (element) *element = e;
      return 0;
    }
    if (sorted && r < 0) {
      if (spot) *spot = i;
      return 0;
    }
  }
  return 0;
}

}  // namespace

long utl_col_cmp_key(const utl_col_cmp_ctx& c, const void* key, const void* element) {
  if (c.custom) return c.custom(key, element, nullptr);
  if (c.pointer_slots && !element) return key ? 1 : 0;
  return c.type_cmp(key, element);
}

long utl_col_sort_it(utl_ty_col* col, utl_ty_col_cmp cmp, void* arg, bool inverse) {
  if (long st = utl_col_check(col)) return st;
  if (col->count < 2) {
    col->flags |= UTL_COL_SORTED;
    return 0;
  }
  utl_col_cmp_ctx c = make_ctx(col, cmp, arg, inverse);
  if (!c.custom && !c.type_cmp) return utl_alrt(UTL_NO_COMPARE, cmn_typ_name(col->type));
  qsort_r(col->array, col->count, col->slot_size, sort_cb, &c);
  col->flags |= UTL_COL_SORTED;
  return 0;
}

long utl_col_upper_spot(utl_ty_col* col, const void* key) {
  utl_col_cmp_ctx c = make_ctx(col, nullptr, nullptr, false);
  if (!c.type_cmp) return col->count;
  long lo = 0, hi = col->count;
  while (lo < hi) {
    long mid = lo + (hi - lo) / 2;
    if (utl_col_cmp_key(c, key, utl_col_elem(col, mid)) < 0) hi = mid;
    else lo = mid + 1;
  }
  return lo;
}

long utl_col_sort(utl_ty_col* col, utl_ty_col_cmp cmp, void* arg) {
  return utl_col_sort_it(col, cmp, arg, false);
}

long utl_col_sort_inverse(utl_ty_col* col, utl_ty_col_cmp cmp, void* arg) {
  return utl_col_sort_it(col, cmp, arg, true);
}

long utl_col_find(utl_ty_col* col, const void* key, long* index) {
  return find_spot(col, key, nullptr, index, nullptr, nullptr);
}

long utl_col_find_it(utl_ty_col* col, const void* key, long* index, void** element) {
  return find_spot(col, key, nullptr, index, element, nullptr);
}

long utl_col_find_spot(utl_ty_col* col, const void* key, long* index, void** element,
                       long* spot) {
  return find_spot(col, key, nullptr, index, element, spot);
}

long utl_col_custom_find(utl_ty_col* col, const void* key, utl_ty_col_cmp cmp, long* index) {
  return find_spot(col, key, cmp, index, nullptr, nullptr);
}

long utl_col_custom_find_it(utl_ty_col* col, const void* key, utl_ty_col_cmp cmp, long* index,
                            void** element) {
  return find_spot(col, key, cmp, index, element, nullptr);
}

long utl_col_custom_find_spot(utl_ty_col* col, const void* key, utl_ty_col_cmp cmp, long* index,
                              void** element, long* spot) {
  return find_spot(col, key, cmp, index, element, spot);
}

long utl_col_custom_bsearch(utl_ty_col* col, const void* key, utl_ty_col_cmp cmp, long* index,
                            void** element) {
  if (long st = utl_col_check(col)) return st;
  if (index) *index = -1;
  if (element) *element = nullptr;
  if (col->count == 0) return 0;
  if (!(col->flags & UTL_COL_SORTED)) {
    if (long st = utl_col_sort_it(col, cmp, nullptr, false)) return st;
  }
  utl_col_cmp_ctx c = make_ctx(col, cmp, nullptr, false);
  if (!c.custom && !c.type_cmp) return utl_alrt(UTL_NO_COMPARE, cmn_typ_name(col->type));
  long low = 0, high = col->count - 1;
  while (low <= high) {
    long mid = low + (high - low + 1) / 2;
    void* e = utl_col_elem(col, mid);
    long r = utl_col_cmp_key(c, key, e);
    if (r == 0) {
      if (index) *index = mid;
      if (element) *element = e;
      return 0;
    }
    if (r < 0) high = mid - 1;
    else low = mid + 1;
  }
  return 0;
}

long utl_col_bsearch(utl_ty_col* col, const void* key, long* index, void** element) {
  return utl_col_custom_bsearch(col, key, nullptr, index, element);
}
