// Registration of the collection types with the type registry.
#include <cstdio>

#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_alrt.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_col_int.h"
#include "core/utl/utl_col_set.h"
#include "core/utl/utl_mem.h"
#include "core/utl/utl_msg.h"

namespace {

constexpr long kTypeCollection = 598;

// Field access of a collection field: the cell holds the collection handle.
// Get hands the handle out when a pointer is asked for.
long col_get(void* cell, long* field_spec, long, void* dest, long* allocated) {
  if (allocated) *allocated = 0;
  if (!field_spec || field_spec[3] != CMN_TYP_VOID_P) return 1;
  *static_cast<utl_ty_col**>(dest) = *static_cast<utl_ty_col**>(cell);
  return 0;
}

// Set empties the target collection and inserts every element of the given
// one (null only empties); setting a collection to itself changes nothing.
// A source of another element type is refused before the target is touched.
long col_set(void* dest, long*, void* value) {
  auto* target = *static_cast<utl_ty_col**>(dest);
  auto* source = static_cast<utl_ty_col*>(value);
  long n = 0;
  if (source == target) return utl_col_check(target);
  if (source) {
    if (long st = utl_col_num(source, &n)) return st;
    if (long st = utl_col_check(target)) return st;
    if (source->type != target->type)
      return utl_alrt(UTL_BAD_ELEM_TYPE, source->type, utl_col_handle(target), utl_mem_name());
  }
  if (long st = utl_col_reset(target)) return st;
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    if (long st = utl_col_ith(source, i, &e)) return st;
    if (long st = utl_col_insert(target, e, nullptr)) return st;
  }
  return 0;
}

long col_address(void* element, void*, void** address, long*) {
  *address = element;
  return 0;
}

// Collections print nothing of their elements here.
long col_print(FILE*, long, const void*, long, long) { return 0; }

}  // namespace

long utl_col_init() {
  if (long st = utl_col1_init()) return st;
  if (long st = cmn_typ_install(kTypeCollection, -1, -1, nullptr, -1, nullptr, nullptr, nullptr,
                                col_print))
    return st;
  const cmn_ty_method methods[] = {
      {CMN_MTH_GET, cmn_typ_proc(&col_get)},
      {CMN_MTH_SET, cmn_typ_proc(&col_set)},
      {CMN_MTH_ADDRESS, cmn_typ_proc(&col_address)},
  };
  return cmn_typ_add_methods(UTL_COL_HEADER_TYPE, 3, methods);
}

long utl_col_term() { return 0; }
