// The print procedure of the catalogue index records (type 758): the name,
// the columns, and what the current connection's dialect keeps of an index
// (SQL Server: uniqueness, clustering, duplicate-key option, file group;
// Oracle: uniqueness, tablespace, physical attributes and storage).
#include <cstdio>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_ind.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/utl/utl_col.h"

namespace {

enum : long { kClusteredPhrase = 1, kIgnoreDupPhrase = 2 };
enum : long { kUniqueNumber = 1, kClusteredNumber = 2, kIgnoreDupNumber = 3 };
constexpr int kColumnIndent = 2;  // the columns stand this much further in
constexpr const char kNoUnique[] = "      ";
constexpr const char kNoIgnoreDup[] = "              ";

const char* phrase(const KAdpDbOperation* op, long n) {
  const char* text = op->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(n));
  return text != nullptr ? text : "";
}

bool has_bit(const KAdpDbOperation* op, const adp_ty_index_info* r, long number) {
  return (r->attributes & op->GetDbSpecificLong(static_cast<KAdpDbOperation::long_type>(number))) != 0;
}

void print_columns(FILE* f, int indent, utl_ty_col* fields) {
  long n = 0;
  if (fields != nullptr) utl_col_num(fields, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    if (utl_col_ith(fields, i, &e) != 0 || e == nullptr) continue;
    std::fprintf(f, "%*.*s%s\n", indent + kColumnIndent, indent + kColumnIndent, "", static_cast<const char*>(e));
  }
}

void print_mssql(FILE* f, int indent, const KAdpDbOperation* op, const adp_ty_index_info* r) {
  std::fprintf(f, "%s,", has_bit(op, r, kUniqueNumber) ? "UNIQUE" : kNoUnique);
  std::fprintf(f, has_bit(op, r, kClusteredNumber) ? "%s," : "non%s,", phrase(op, kClusteredPhrase));
  std::fprintf(f, "%s,", has_bit(op, r, kIgnoreDupNumber) ? phrase(op, kIgnoreDupPhrase) : kNoIgnoreDup);
  std::fprintf(f, "%*.*slocated on %s\n", indent, indent, "", r->location);
}

void print_oracle(FILE* f, int indent, const adp_ty_index_info* r) {
  std::fprintf(f, "%*.*s%s, tablespce: %s\n", indent, indent, "", r->uniqueness, r->tablespace);
  std::fprintf(f, "%*.*sini_trans: %ld, max_trans: %ld, pct_free: %ld\n", indent, indent, "", r->ini_trans,
               r->max_trans, r->pct_free);
  std::fprintf(f, "STORAGE\n");
  std::fprintf(f, "%*.*spct_increase: %ld, initial_extent: %ld, next_extent: %ld\n", indent, indent, "",
               r->pct_increase, r->initial_extent, r->next_extent);
  std::fprintf(f, "%*.*smin_extents: %ld, max_extents: %ld\n", indent, indent, "", r->min_extents,
               r->max_extents);
}

}  // namespace

long adp_ind_print_ind_info(FILE* stream, long indent, const void* element, long /*type_id*/, long /*number*/) {
  const auto* r = static_cast<const adp_ty_index_info*>(element);
  if (r == nullptr) return 0;
  FILE* f = stream != nullptr ? stream : stdout;
  const int in = indent > 0 ? static_cast<int>(indent) : 0;
  std::fprintf(f, "%*.*sADP IND = name: %s\n", in, in, "", r->name);
  print_columns(f, in, r->fields);
  KAdpConnId* con = adp_db_get_conn();
  const KAdpDbOperation* op = con != nullptr ? con->GetDbOperation() : nullptr;
  if (op != nullptr && adp_db_is_db_mssql() != 0) print_mssql(f, in, op, r);
  if (adp_db_is_db_oracle() != 0) print_oracle(f, in, r);
  std::fprintf(f, "\n");
  return 0;
}
