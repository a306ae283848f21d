// The declared indexes of a type: made from the schema's index lists
// (through the dialect, which also writes their adp_sch_index rows), and
// read back from those rows by type and by name.
#include <string>
#include <vector>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_ind.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_sql_texts.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/utl/utl_col.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"

namespace {

constexpr const char kOwner[] = "adp_ind_create";
constexpr long kUniqueFlag = 1;       // index flags: a unique index
constexpr long kFieldNamesSize = 1025;  // a longer value fails its row, it is never cut
constexpr char kFieldSeparator = ':';

utl_ty_col* member(utl_ty_col* list, long i) {
  void* e = nullptr;
  if (utl_col_ith(list, i, &e) != 0 || e == nullptr) return nullptr;
  return *static_cast<utl_ty_col**>(e);
}

// One declared index: its name taken from a copy of its member list (the
// schema's list stays as it is), the rest its fields.
long add_declared(KAdpConnId* con, typ_sch_srec* type, utl_ty_col* index, FILE* stream, long options) {
  long flags = 0;
  utl_col_get_ext(index, &flags);
  utl_ty_col* fields = nullptr;
  if (long st = utl_col_copy(kOwner, index, &fields)) return st;
  void* first = nullptr;
  long st = utl_col_ith(fields, 0, &first);
  const std::string name = st == 0 && first != nullptr ? static_cast<const char*>(first) : "";
  if (st == 0) st = utl_col_remove(fields, nullptr, 0);
  if (st == 0) st = adp_ind_add_index(con, type, name.c_str(), fields, flags, stream, options);
  utl_col_free(kOwner, fields);
  return st;
}

// Appends the names of a ":"-joined list; empty names are skipped.
long push_split(const char* joined, utl_ty_col* out) {
  const std::string text = joined;
  size_t at = 0;
  while (at <= text.size()) {
    size_t end = text.find(kFieldSeparator, at);
    if (end == std::string::npos) end = text.size();
    if (end > at) {
      if (long st = utl_col_push(out, text.substr(at, end - at).c_str(), nullptr)) return st;
    }
    at = end + 1;
  }
  return 0;
}

}  // namespace

long adp_ind_add_index(KAdpConnId* con, typ_sch_srec* type, const char* name, utl_ty_col* fields, long flags,
                       FILE* stream, long options) {
  if (long st = adp_db_check_conn(con)) return st;
  const char unique = (flags & kUniqueFlag) != 0 ? 1 : 0;
  return con->GetDbOperation()->IndAddIndex(con, type, const_cast<char*>(name), fields, unique, stream, options);
}

long adp_ind_create(KAdpConnId* con, typ_sch_srec* schema) { return adp_ind_create_declared(con, schema, nullptr, 0); }

long adp_ind_create_declared(KAdpConnId* con, typ_sch_srec* schema, FILE* stream, long options) {
  void* word = nullptr;
  if (schema == nullptr || typ_sch_uptr_get(schema, &word) != 0 || word == nullptr) return 0;
  auto* list = static_cast<utl_ty_col*>(word);
  long n = 0;
  if (long st = utl_col_num(list, &n)) return st;
  for (long i = 0; i < n; ++i) {
    utl_ty_col* index = member(list, i);
    if (index == nullptr) continue;
    if (long st = add_declared(con, schema, index, stream, options)) return st;
  }
  return 0;
}

long adp_ind_list_index(KAdpConnId* con, long type_id, utl_ty_col* names) {
  if (long st = adp_db_check_conn(con)) return st;
  std::vector<std::string> found;
  const std::string query = "select index_name from adp_sch_index where type_id = " + std::to_string(type_id);
  if (long st = adp_sql_texts(con, query, &found)) return st;
  for (const std::string& name : found) {
    if (long st = utl_col_push(names, name.c_str(), nullptr)) return st;
  }
  return 0;
}

long adp_ind_get_index(KAdpConnId* con, long type_id, const char* name, utl_ty_col* fields, char* unique) {
  if (long st = adp_db_check_conn(con)) return st;
  const std::string quoted = adp_sql_quotes_doubled(name);
  if (long st = adp_sql_parse_now(con,
                                  "select field_names, flags from adp_sch_index where type_id = %ld and "
                                  "lower(index_name) = lower('%s')",
                                  type_id, quoted.c_str())) {
    return st;
  }
  char joined[kFieldNamesSize] = "";
  long flags = 0;
  if (long st = adp_sql_define(con, KAdpBindCol(joined, kFieldNamesSize))) return st;
  if (long st = adp_sql_define(con, KAdpBindCol(flags))) return st;
  char found = 0;
  if (long st = adp_sql_exec_and_fetch(con, &found)) return st;
  if (found == 0) return 0;
  if (unique != nullptr) *unique = flags == kUniqueFlag ? 1 : 0;
  return push_split(joined, fields);
}
