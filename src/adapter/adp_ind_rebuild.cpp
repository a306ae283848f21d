// A table's indexes around a rebuild of the table: the catalogue records
// matched with the indexes the schema declares, fitted to the columns the
// table has afterwards (Oracle), made again (SQL Server through its dialect,
// Oracle here) with the names of those that could not be made gathered, and
// their DDL text.
#include <strings.h>

#include <cstdio>
#include <string>
#include <vector>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_ind.h"
#include "adapter/adp_ind_row.h"
#include "adapter/adp_qry_run.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sql_texts.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_rec.h"

namespace {

constexpr const char kOwner[] = "adp_ind_fill_field_col";  // the owner the record lists are freed under
constexpr long kIndexName = 1;
constexpr long kFailedSize = 80;
constexpr long kStringType = 516;
constexpr long kColumnListSize = 10;

const char* type_name(const typ_sch_srec* type) {
  return type != nullptr && type->info != nullptr ? type->info->name : "";
}

// The names of the indexes the last Oracle rebuild could not make.
std::string& failed_names() {
  static std::string names;
  return names;
}

// The failed names handed to the caller: a new text, or appended to the
// caller's after ",\n".
long hand_out(const std::string& names, utl_ty_estr** failed) {
  if (failed == nullptr) return 0;
  if (*failed == nullptr) return utl_estr_create(kOwner, names.c_str(), kFailedSize, kFailedSize, failed);
  long length = 0;
  utl_estr_get_length(*failed, &length);
  if (length > 0 && !names.empty()) {
    if (long st = utl_estr_append(*failed, ",\n")) return st;
  }
  return utl_estr_append(*failed, names.c_str());
}

long ora_rebuild(KAdpConnId* con, typ_sch_srec* type, utl_ty_col* records, FILE* stream, long options) {
  std::string& failed = failed_names();
  failed.clear();
  const KAdpDbOperation* op = con->GetDbOperation();
  for (adp_ty_index_info* r : adp_ind_records(records)) {
    if (adp_ind_run(con, adp_ind_ora_text(op, r, type_name(type)), true, stream, options) != 0) {
      if (!failed.empty()) failed += ",\n";
      failed += r->name;
    }
  }
  return adp_ind_build_adp_index(con, type, records, stream, options);
}

std::vector<std::string> texts_of(utl_ty_col* col) {
  std::vector<std::string> out;
  long n = 0;
  if (col != nullptr) utl_col_num(col, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    if (utl_col_ith(col, i, &e) == 0 && e != nullptr) out.emplace_back(static_cast<const char*>(e));
  }
  return out;
}

// The record's columns replaced by the fields of a schema index (its
// members from the second on).
long take_fields(adp_ty_index_info* r, utl_ty_col* index) {
  if (r->fields == nullptr) {
    if (long st = utl_col_make(kOwner, kStringType, kColumnListSize, kColumnListSize, 0, 0, &r->fields)) {
      return st;
    }
  } else if (long st = utl_col_reset(r->fields)) {
    return st;
  }
  const std::vector<std::string> members = texts_of(index);
  for (size_t i = 1; i < members.size(); ++i) {
    if (long st = utl_col_push(r->fields, members[i].c_str(), nullptr)) return st;
  }
  return 0;
}

bool has_name(const std::vector<std::string>& names, const char* name) {
  for (const std::string& n : names) {
    if (strcasecmp(n.c_str(), name) == 0) return true;
  }
  return false;
}

// The new name of a renamed field ("" when the pairs do not hold it).
std::string renamed_to(const std::vector<std::string>& pairs, const char* field) {
  for (size_t i = 0; i + 1 < pairs.size(); i += 2) {
    if (strcasecmp(pairs[i].c_str(), field) == 0) return pairs[i + 1];
  }
  return "";
}

// Fits the record's columns to the table's: a column that is gone takes its
// new name or leaves the index.
long fit_columns(adp_ty_index_info* r, const std::vector<std::string>& columns,
                 const std::vector<std::string>& pairs) {
  long n = 0;
  if (r->fields != nullptr) utl_col_num(r->fields, &n);
  for (long i = n - 1; i >= 0; --i) {
    void* e = nullptr;
    if (long st = utl_col_ith(r->fields, i, &e)) return st;
    const std::string field = static_cast<const char*>(e);
    if (has_name(columns, field.c_str())) continue;
    const std::string now = renamed_to(pairs, field.c_str());
    if (long st = utl_col_remove(r->fields, nullptr, i)) return st;
    if (!now.empty()) {
      if (long st = utl_col_insert_expand(r->fields, now.c_str(), i, nullptr)) return st;
    }
  }
  return 0;
}

// An index left without columns: dropped, its row deleted (a failure
// forgotten).
long drop_emptied(KAdpConnId* con, typ_sch_srec* type, const adp_ty_index_info* r, FILE* stream, long options) {
  if (long st = adp_ind_do_drop_an_index(con, type, r->name, stream, options)) return st;
  std::string row = adp_ind_logical_name(r->name, type_name(type));
  if (row.empty()) row = r->name;
  long depth = 0;
  cmn_alrt_num(nullptr, &depth);
  const std::string text =
      adp_ind_fmt("DELETE ADP_SCH_INDEX WHERE TYPE_ID = %ld AND LOWER(INDEX_NAME) = LOWER('%s')\n",
                  type != nullptr ? type->type_id : 0L, adp_sql_quotes_doubled(row.c_str()).c_str());
  if (adp_ind_run(con, text, false, stream, options) != 0) adp_qry_drop_alerts_above(depth);
  return 0;
}

}  // namespace

long adp_ind_build_table_index(KAdpConnId* con, typ_sch_srec* type, utl_ty_col* records, utl_ty_estr** failed,
                               FILE* stream, long options) {
  if (long st = adp_db_check_conn(con)) return st;
  if (adp_db_is_db_mssql() != 0) {
    char* names = nullptr;
    if (long st = con->GetDbOperation()->IndBuildTableIndex(nullptr, type, records, &names, stream, options)) {
      return st;
    }
    return hand_out(names != nullptr ? names : "", failed);
  }
  if (long st = ora_rebuild(con, type, records, stream, options)) return st;
  return hand_out(failed_names(), failed);
}

long adp_ind_clean_sch_index(KAdpConnId* con, typ_sch_srec* type, utl_ty_col* records,
                             utl_ty_col* schema_indexes) {
  if (long st = adp_db_check_conn(con)) return st;
  long n = 0;
  if (schema_indexes != nullptr) utl_col_num(schema_indexes, &n);
  const bool oracle = adp_db_is_db_oracle() != 0;
  for (long i = n - 1; i >= 0; --i) {
    void* e = nullptr;
    if (long st = utl_col_ith(schema_indexes, i, &e)) return st;
    utl_ty_col* index = e != nullptr ? *static_cast<utl_ty_col**>(e) : nullptr;
    const std::vector<std::string> members = texts_of(index);
    if (members.empty()) continue;
    const std::string phys = static_cast<const char*>(
        con->GetPhys(members[0].c_str(), static_cast<KAdpNameMapper::convert_type>(kIndexName), 0, type));
    for (adp_ty_index_info* r : adp_ind_records(records)) {
      if (strcasecmp(r->name, phys.c_str()) != 0) continue;
      if (oracle) std::snprintf(r->name, sizeof r->name, "%s", phys.c_str());
      if (long st = take_fields(r, index)) return st;
      utl_col_free(kOwner, index);
      if (long st = utl_col_remove(schema_indexes, nullptr, i)) return st;
      r->in_schema = 1;
      break;
    }
  }
  return 0;
}

long adp_ind_sql_build_table_index(const char* table, utl_ty_col* records, utl_ty_estr* text) {
  KAdpConnId* con = adp_db_get_conn();
  if (long st = adp_db_check_conn(con)) return st;
  return con->GetDbOperation()->IndSqlBuildTableIndex(const_cast<char*>(table), records, text);
}

long adp_ind_check_columns(KAdpConnId* con, const char* table, typ_sch_srec* type, utl_ty_col* records,
                           utl_ty_col* renamed, FILE* stream, long options) {
  if (long st = adp_db_check_conn(con)) return st;
  if (adp_db_is_db_oracle() == 0) return 0;
  std::vector<std::string> columns;
  const std::string query = "select column_name from user_tab_columns where table_name = upper('" +
                            adp_sql_quotes_doubled(table) + "')";
  if (long st = adp_sql_texts(con, query, &columns)) return st;
  const std::vector<std::string> pairs = texts_of(renamed);
  long n = 0;
  if (records != nullptr) utl_col_num(records, &n);
  for (long i = 0; i < n;) {
    void* e = nullptr;
    if (long st = utl_col_ith(records, i, &e)) return st;
    auto* r = static_cast<adp_ty_index_info*>(e);
    if (long st = fit_columns(r, columns, pairs)) return st;
    long left = 0;
    if (r->fields != nullptr) utl_col_num(r->fields, &left);
    if (left > 0) {
      ++i;
      continue;
    }
    if (long st = drop_emptied(con, type, r, stream, options)) return st;
    if (r->fields != nullptr) utl_col_free(kOwner, r->fields);
    r->fields = nullptr;
    if (long st = utl_col_remove(records, nullptr, i)) return st;
    --n;
  }
  return 0;
}
