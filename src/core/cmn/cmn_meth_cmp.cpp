// Compare and length procedures of the built-in types.
#include <clocale>
#include <cstring>

#include "core/cmn/cmn_meth.h"
#include "core/cmn/cmn_typ.h"
#include "core/cmn/cmn_val.h"

namespace {

template <class T>
long order(T x, T y) {
  return x < y ? -1 : (x > y ? 1 : 0);
}

const long* longs(const void* p) { return static_cast<const long*>(p); }

// The first n longs in turn, each with the larger first.
long descending(const void* a, const void* b, int n) {
  for (int i = 0; i < n; ++i) {
    if (long r = order(longs(b)[i], longs(a)[i])) return r;
  }
  return 0;
}

// Byte comparison of two names that may be null (null first).
long name_cmp(const char* x, const char* y) {
  if (x == nullptr || y == nullptr) return (x != nullptr ? 1 : 0) - (y != nullptr ? 1 : 0);
  return order(std::strcmp(x, y), 0);
}

// Collation by the locale unless it is the plain C one.
bool plain_collation() {
  const char* name = std::setlocale(LC_COLLATE, nullptr);
  return name == nullptr || std::strcmp(name, "C") == 0 || std::strcmp(name, "POSIX") == 0;
}

float float_of(long word) {
  float f = 0;
  std::memcpy(&f, &word, sizeof f);
  return f;
}

}  // namespace

long cmn_typ_longcmp(const void* a, const void* b) { return order(*longs(a), *longs(b)); }

long cmn_typ_shortcmp(const void* a, const void* b) {
  return static_cast<long>(*static_cast<const short*>(a)) - *static_cast<const short*>(b);
}

long cmn_typ_charcmp(const void* a, const void* b) {
  return static_cast<long>(*static_cast<const signed char*>(a)) - *static_cast<const signed char*>(b);
}

long cmn_typ_floatcmp(const void* a, const void* b) {
  return order(*static_cast<const float*>(a), *static_cast<const float*>(b));
}

long cmn_typ_doublecmp(const void* a, const void* b) {
  return order(*static_cast<const double*>(a), *static_cast<const double*>(b));
}

long cmn_typ_strcmp(const void* a, const void* b) {
  const auto* x = static_cast<const char*>(a);
  const auto* y = static_cast<const char*>(b);
  if (x == nullptr || y == nullptr) return name_cmp(x, y);
  return plain_collation() ? std::strcmp(x, y) : std::strcoll(x, y);
}

long cmn_typ_str_len(const void* element) {
  return element != nullptr ? static_cast<long>(std::strlen(static_cast<const char*>(element))) + 1 : 1;
}

long cmn_typ_compare_longpair(const void* a, const void* b) { return order(longs(b)[1], longs(a)[1]); }

long cmn_typ_compare_longtriple(const void* a, const void* b) { return order(longs(b)[0], longs(a)[0]); }

long cmn_typ_compare_oid(const void* a, const void* b) { return descending(a, b, 3); }

long cmn_typ_compare_oidpair(const void* a, const void* b) { return descending(a, b, 3); }

long cmn_typ_compare_longdozen(const void* a, const void* b) { return descending(a, b, 12); }

long cmn_typ_propmapcmp(const void* a, const void* b) {
  const auto* x = static_cast<const cmn_ty_prop_map*>(a);
  const auto* y = static_cast<const cmn_ty_prop_map*>(b);
  if (long r = order(x->obj_type, y->obj_type)) return r;
  return name_cmp(x->prop, y->prop);
}

long cmn_typ_name_val_cmp(const void* a, const void* b) {
  return name_cmp(static_cast<const cmn_ty_name_val*>(a)->name, static_cast<const cmn_ty_name_val*>(b)->name);
}

long cmn_typ_compare_tstruct(const void* a, const void* b) {
  return name_cmp(static_cast<const cmn_ty_tstruct*>(a)->name, static_cast<const cmn_ty_tstruct*>(b)->name);
}

long cmn_typ_value_cmp(const void* a, const void* b) {
  const auto* x = static_cast<const cmn_ty_value*>(a);
  const auto* y = static_cast<const cmn_ty_value*>(b);
  switch (x->type) {
    case CMN_TYP_LONG:
    case CMN_TYP_BOOLEAN:
      return order(x->value, y->value);
    case CMN_TYP_SHORT:
      return order(static_cast<short>(x->value), static_cast<short>(y->value));
    case CMN_TYP_FLOAT:
      return order(float_of(x->value), float_of(y->value));
    case CMN_TYP_CHAR:
    case CMN_TYP_CHAR_P:
      return name_cmp(reinterpret_cast<const char*>(x->value), reinterpret_cast<const char*>(y->value));
    default:
      return x->value == y->value ? 0 : 1;
  }
}
