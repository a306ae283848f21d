// The stored index descriptions of a type ("adp_sch_index" rows) as member
// lists: the index name, then its field names; the flags as the list's
// extension word.
#include <cstdio>
#include <cstring>

#include "adapter/adp_sql.h"
#include "core/utl/utl_col.h"
#include "store/dbs_rdb.h"
#include "store/dbs_rdb_int.h"

namespace {

constexpr const char* kOwner = "dbs_rdb_get_indexes";

void free_columns(utl_ty_col* columns) {
  long n = 0;
  utl_col_num(columns, &n);
  for (long i = 0; i < n; ++i)
    if (auto* c = dbs_rdb::member(columns, i)) utl_col_free(kOwner, c);
  utl_col_free(kOwner, columns);
}

// One member list from a row.
long member_list(const char* name, const char* fields, long flags, utl_ty_col** out) {
  if (long st = utl_col_make(kOwner, 516, 4, 4, 0, 0, out)) return st;
  if (long st = utl_col_push(*out, name ? name : "", nullptr)) return st;
  const char* p = fields ? fields : "";
  while (*p) {
    const char* end = std::strchr(p, ':');
    size_t n = end ? static_cast<size_t>(end - p) : std::strlen(p);
    char field[256];
    std::snprintf(field, sizeof field, "%.*s", static_cast<int>(n < 255 ? n : 255), p);
    if (n > 0)
      if (long st = utl_col_push(*out, field, nullptr)) return st;
    p += n;
    if (*p == ':') ++p;
  }
  return utl_col_set_ext(*out, flags);
}

}  // namespace

long dbs_rdb_get_indexes(KAdpConnId* con, long type_id, utl_ty_col** list) {
  *list = nullptr;
  char sql[128];
  std::snprintf(sql, sizeof sql, "select index_name, field_names, flags from adp_sch_index where type_id=%ld",
                type_id);
  const long types[3] = {516, 516, 512};
  const long sizes[3] = {255, 255, static_cast<long>(sizeof(long))};
  utl_ty_col* columns = nullptr;
  if (long st = utl_col_make(kOwner, 517, 3, 3, 0, 0, &columns)) return st;
  long st = adp_sql_select(con, sql, 3, types, sizes, columns);
  auto* names = dbs_rdb::member(columns, 0);
  auto* fields = dbs_rdb::member(columns, 1);
  auto* flags = dbs_rdb::member(columns, 2);
  if (!st) st = utl_col_make(kOwner, 517, 4, 4, 0, 0, list);
  long rows = 0;
  if (!st && names) utl_col_num(names, &rows);
  for (long i = 0; !st && i < rows; ++i) {
    void* name = nullptr;
    void* field_names = nullptr;
    void* flag = nullptr;
    utl_col_ith(names, i, &name);
    if (fields) utl_col_ith(fields, i, &field_names);
    if (flags) utl_col_ith(flags, i, &flag);
    utl_ty_col* member = nullptr;
    st = member_list(static_cast<const char*>(name), static_cast<const char*>(field_names),
                     flag ? *static_cast<long*>(flag) : 0, &member);
    if (member && (st || (st = utl_col_push(*list, &member, nullptr)))) utl_col_free(kOwner, member);
  }
  free_columns(columns);
  if (st && *list) {
    dbs_rdb_free_ind_col(nullptr, *list);
    *list = nullptr;
  }
  return st;
}

long dbs_rdb_free_ind_col(utl_ty_pool*, utl_ty_col* list) {
  if (!list) return 0;
  long n = 0;
  utl_col_num(list, &n);
  for (long i = 0; i < n; ++i)
    if (auto* member = dbs_rdb::member(list, i)) utl_col_free(kOwner, member);
  return utl_col_free(kOwner, list);
}
