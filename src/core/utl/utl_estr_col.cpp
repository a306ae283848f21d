// Extensible strings built from collections and by substitution.
#include <cstring>

#include "core/cmn/cmn_typ.h"
#include "core/osl/osl_mem_std.h"
#include "core/utl/utl_alrt.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_col_int.h"
#include "core/utl/utl_estr.h"
#include "core/utl/utl_mem.h"
#include "core/utl/utl_msg.h"

namespace {

constexpr long kSubstBufSize = 65000;

// The text of element i: the element itself where slots hold pointers to
// copies, the stored pointer in a collection of pointers.
long element_text(utl_ty_col* col, long i, const char** text) {
  void* e = nullptr;
  if (long st = utl_col_ith(col, i, &e)) return st;
  if (!(col->flags & UTL_COL_IN_SLOT)) {
    *text = static_cast<const char*>(e);
  } else if (col->type == CMN_TYP_VOID_P) {
    *text = *static_cast<const char* const*>(e);
  } else {
    return utl_alrt(UTL_BAD_ELEM_TYPE, col->type, utl_col_handle(col), utl_mem_name());
  }
  if (!*text) *text = "";
  return 0;
}

}  // namespace

long utl_estr_from_strcol(utl_ty_col* col, const char* prefix, const char* separator,
                          const char* suffix, utl_ty_estr** estr) {
  if (long st = utl_col_check(col)) return st;
  utl_ty_estr* e = nullptr;
  if (long st = utl_estr_create(utl_mem_name(), prefix ? prefix : "", 1, 50, &e)) return st;
  long st = 0;
  for (long i = 0; i < col->count && st == 0; ++i) {
    const char* text = nullptr;
    st = element_text(col, i, &text);
    if (st == 0 && i > 0 && separator) st = utl_estr_append(e, separator);
    if (st == 0) st = utl_estr_append(e, text);
  }
  if (st == 0 && suffix) st = utl_estr_append(e, suffix);
  if (st != 0) {
    utl_estr_free(utl_mem_name(), e);
    return st;
  }
  *estr = e;
  return 0;
}

namespace {

// The work of utl_estr_substitute (its strings come from the heap cover; see
// osl_mem_std.h).
long substitute(const char* text, long n, const char* openers, const char* closers,
                utl_ty_estr_subst_proc proc, void* arg, utl_ty_estr* estr) {
  // The text may be the string's own, whose buffer moves as it grows.
  const osl_string source(text);
  text = source.c_str();
  osl_vector<char> buffer(kSubstBufSize);
  const char* cur = text;
  for (;;) {
    const char* open = nullptr;
    long which = -1;
    for (long i = 0; i < n; ++i) {
      if (openers[i] == '\0') continue;
      const char* p = std::strchr(cur, openers[i]);
      if (p && (!open || p < open)) {
        open = p;
        which = i;
      }
    }
    if (!open) return utl_estr_append(estr, cur);
    if (long st = utl_estr_append_binary(estr, cur, open - cur)) return st;
    const char* close = closers[which] ? std::strchr(open + 1, closers[which]) : nullptr;
    if (!close) {
      if (long st = utl_estr_append_binary(estr, open, 1)) return st;
      cur = open + 1;
      continue;
    }
    const osl_string name(open + 1, close);
    buffer[0] = '\0';
    char* result = buffer.data();
    long replaced = 0;
    if (long st = proc(name.c_str(), openers[which], closers[which], arg, &replaced,
                       kSubstBufSize, &result))
      return st;
    if (replaced) {
      if (result == buffer.data()) buffer[kSubstBufSize - 1] = '\0';
      if (result) {
        if (long st = utl_estr_append(estr, result)) return st;
      }
    } else if (long st = utl_estr_append_binary(estr, open, close + 1 - open)) {
      return st;
    }
    cur = close + 1;
  }
}

}  // namespace

long utl_estr_substitute(const char* text, long n, const char* openers, const char* closers,
                         utl_ty_estr_subst_proc proc, void* arg, utl_ty_estr* estr) {
  if (long st = utl_estr_check(estr)) return st;
  if (!text) return 0;
  if (n > 0 && (!openers || !closers || !proc)) return UTL_BAD_ARG;
  return osl_mem_guard([&] { return substitute(text, n, openers, closers, proc, arg, estr); },
                       [&] { return utl_alrt(UTL_NO_MEMORY, kSubstBufSize, utl_mem_name()); });
}
