// Shared pieces of the index writers (see adp_ind_row.h).
#include "adapter/adp_ind_row.h"

#include <strings.h>

#include <cstdarg>
#include <cstring>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_ind.h"
#include "adapter/adp_sql.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/utl/utl_col.h"
#include "store/dbs_db.h"
#include "store/dbs_ids.h"
#include "store/dbs_main.h"

namespace {

constexpr long kStatementEndPhrase = 18;
constexpr long kDryRunBit = 1;

std::string vformat(const char* format, va_list ap) {
  va_list again;
  va_copy(again, ap);
  const int n = std::vsnprintf(nullptr, 0, format, ap);
  std::string out(n > 0 ? static_cast<size_t>(n) : 0, '\0');
  if (n > 0) std::vsnprintf(out.data(), out.size() + 1, format, again);
  va_end(again);
  return out;
}

}  // namespace

std::string adp_ind_fmt(const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  std::string out = vformat(format, ap);
  va_end(ap);
  return out;
}

std::string adp_ind_vfmt(const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  std::string out = vformat(format != nullptr ? format : "", ap);
  va_end(ap);
  return out;
}

std::string adp_ind_quoted(const char* text) {
  std::string out;
  for (const char* p = text != nullptr ? text : ""; *p != '\0'; ++p) {
    out += *p;
    if (*p == '\'') out += '\'';
  }
  return out;
}

std::string adp_ind_join(utl_ty_col* texts, const char* separator, long* count) {
  std::string out;
  long n = 0;
  if (texts != nullptr) utl_col_num(texts, &n);
  long taken = 0;
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    if (utl_col_ith(texts, i, &e) != 0 || e == nullptr) continue;
    if (taken++ > 0) out += separator;
    out += static_cast<const char*>(e);
  }
  if (count != nullptr) *count = taken;
  return out;
}

std::vector<adp_ty_index_info*> adp_ind_records(utl_ty_col* records) {
  std::vector<adp_ty_index_info*> out;
  long n = 0;
  if (records != nullptr) utl_col_num(records, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    if (utl_col_ith(records, i, &e) == 0 && e != nullptr) out.push_back(static_cast<adp_ty_index_info*>(e));
  }
  return out;
}

std::string adp_ind_logical_name(const char* name, const char* type_name) {
  const std::string n = name != nullptr ? name : "";
  const size_t t = type_name != nullptr ? std::strlen(type_name) : 0;
  if (t == 0 || n.size() <= t + 1 || strncasecmp(n.c_str(), type_name, t) != 0) return "";
  return n.substr(t + 1);
}

long adp_ind_row_objid(KAdpConnId* con, long* objid) {
  const long type = ADP_IND_ROW_TYPE;
  long number = 0;
  long site = 0;
  if (long st = dbs_obj_ids_create(con, 1, &type, &number)) return st;
  if (long st = dbs_db_get_site_id(con, &site)) return st;
  obj_id id{type, 0, 0};
  dbs_main_id_site_set(&id, site);
  dbs_main_id_number_set(&id, number);
  *objid = id.num;
  return 0;
}

long adp_ind_run(KAdpConnId* con, const std::string& text, bool ddl, FILE* ddl_file, long options) {
  if ((options & kDryRunBit) != 0 && ddl_file != nullptr) {
    const char* end = con->GetDbOperation()->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(kStatementEndPhrase));
    std::fprintf(ddl_file, "%s%s", text.c_str(), end != nullptr ? end : "");
    return 0;
  }
  return ddl ? adp_sql_parse_ddl_now(con, "%s", text.c_str()) : adp_sql_exec_query(con, "%s", text.c_str());
}
