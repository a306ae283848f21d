// The table that names object types and data types, and its look-ups.
//
// Rows 0 to 5440 name object types by their number (the row), rows 5441 to
// 5739 the data types 512 to 810. This library carries the names of the rows
// listed below; the other rows are present without a name.
#include <cstdio>
#include <cstring>

#include "core/cmn/cmn_dyn.h"
#include "core/cmn/cmn_fmt.h"
#include "core/osl/osl_print.h"

namespace {

constexpr long kLastObjectRow = 5440;
constexpr long kFirstDataNumber = 512;

struct named {
  long row;
  const char* name;
};

const named cmn_fmt_named_rows[] = {
    {0, "CASE"},      {1, "FINALE"},      {2, "WORKAROUND"},  {4, "QUEUE"},          {5, "WIPBIN"},
    {5440, "PAYMENT_MEANS"},
    {5441 + 0, "LONG"}, {5441 + 1, "SHORT"}, {5441 + 2, "FLOAT"}, {5441 + 3, "CHAR"}, {5441 + 4, "CHAR_P"},
    {5441 + 5, "VOID_P"}, {5441 + 15, "ALERT"}, {5441 + 298, "PARAM_TYPE"},
};

cmn_ty_fmt_type_row cmn_fmt_type_rows[CMN_FMT_NUM_TYPES];
bool cmn_fmt_rows_made = false;

const cmn_ty_fmt_type_row* rows() {
  if (!cmn_fmt_rows_made) {
    for (long i = 0; i < CMN_FMT_NUM_TYPES; ++i) {
      long number = i <= kLastObjectRow ? i : kFirstDataNumber + (i - kLastObjectRow - 1);
      cmn_fmt_type_rows[i] = {nullptr, static_cast<short>(number)};
    }
    for (const named& n : cmn_fmt_named_rows) cmn_fmt_type_rows[n.row].name = n.name;
    cmn_fmt_rows_made = true;
  }
  return cmn_fmt_type_rows;
}

// The row that carries the number: a named one first, else any.
const cmn_ty_fmt_type_row* row_of(long number) {
  const cmn_ty_fmt_type_row* t = rows();
  const cmn_ty_fmt_type_row* any = nullptr;
  for (long i = 0; i < CMN_FMT_NUM_TYPES; ++i) {
    if (t[i].number != number) continue;
    if (t[i].name != nullptr && t[i].name[0] != '\0') return &t[i];
    if (any == nullptr) any = &t[i];
  }
  return any;
}

}  // namespace

const cmn_ty_fmt_type_row* cmn_fmt_types() { return rows(); }

long cmn_fmt_name_to_num(const char* name, long* number) {
  if (name == nullptr) return 1;
  const cmn_ty_fmt_type_row* t = rows();
  for (long i = 0; i < CMN_FMT_NUM_TYPES; ++i) {
    if (t[i].name != nullptr && std::strcmp(t[i].name, name) == 0) {
      *number = t[i].number;
      return 0;
    }
  }
  long id = -1;
  if (long rc = cmn_dyn_find_type(name, &id)) return rc;
  if (id == -1) return 1;
  *number = id;
  return 0;
}

long cmn_fmt_num_to_name(long number, const char** name) {
  if (number >= CMN_TYP_FIRST_RUNTIME) return cmn_dyn_get_name(number, name);
  const cmn_ty_fmt_type_row* r = number >= 0 ? row_of(number) : nullptr;
  if (r == nullptr) {
    osl_print_mes("%s: Invalid type id %ld\n", "cmn_fmt_num_to_name", number);
    return 1;
  }
  *name = r->name != nullptr ? r->name : "";
  return 0;
}

const char* cmn_fmt_name(long number) {
  static char buf[64];
  if (number >= CMN_TYP_FIRST_RUNTIME) {
    const char* name = nullptr;
    if (cmn_dyn_get_name(number, &name) == 0) return name;
  } else if (const cmn_ty_fmt_type_row* r = number >= 0 ? row_of(number) : nullptr) {
    return r->name != nullptr ? r->name : "";
  }
  std::snprintf(buf, sizeof buf, "Invalid type id %ld", number);
  return buf;
}
