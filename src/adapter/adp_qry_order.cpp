// ORDER BY and GROUP BY clauses, LIKE patterns, the check of caller-prepared
// SQL text, and the query module's small state.
#include <cstring>
#include <string>

#include "adapter/adp_batch.h"
#include "adapter/adp_main.h"
#include "adapter/adp_qry.h"
#include "adapter/adp_qry_rec.h"
#include "adapter/adp_qry_util.h"

using namespace adp_qry;

namespace {

constexpr long kDescending = 1;
constexpr long kModeUnderscore = 1;
constexpr long kModePercent = 2;

long g_buff_limit = -1;
adp_ty_qry_convert_proc g_convert = nullptr;
adp_ty_dlg_error_proc g_dlg_error = nullptr;

long order_by(KAdpConnId* con, void* stmt, typ_sch_srec* schema, long n, const qry_order* orders,
              const char* alias) {
  auto* b = static_cast<KAdpSqlBatch*>(stmt);
  for (long i = 0; i < n; ++i) {
    typ_sch_frec* f = nullptr;
    if (long st = field_of(schema, orders[i].field, &f)) return st;
    *b << (i == 0 ? "\n order by " : ", ");
    if (alias != nullptr) *b << alias << ".";
    if (searched_upper(con, f)) *b << "S_";
    *b << f->name << (orders[i].desc == kDescending ? " desc " : " asc ");
  }
  return b->GetStatus();
}

long wildcard_mode(const char* text) {
  if (text == nullptr) return 0;
  if (text[0] == '%') return kModePercent;
  if (text[0] == '_') return kModeUnderscore;
  return 0;
}

}  // namespace

long adp_qry_order(KAdpConnId* con, void* stmt, typ_sch_srec* schema, long n, const qry_order* orders) {
  return order_by(con, stmt, schema, n, orders, nullptr);
}

long adp_qry_order_with_tbl_name(KAdpConnId* con, void* stmt, typ_sch_srec* schema, long n, const qry_order* orders,
                                 const char* alias) {
  return order_by(con, stmt, schema, n, orders, alias);
}

long adp_qry_group(KAdpConnId* con, void* stmt, typ_sch_srec* schema, long n, const long* fields) {
  auto* b = static_cast<KAdpSqlBatch*>(stmt);
  for (long i = 0; i < n; ++i) {
    typ_sch_frec* f = nullptr;
    if (long st = field_of(schema, fields[i], &f)) return st;
    *b << (i == 0 ? "\ngroup by " : ", ");
    if (searched_upper(con, f)) *b << "s_";
    *b << f->name;
  }
  return b->GetStatus();
}

long adp_qry_wildcard_len(const char* pattern, long* length) {
  long n = 0;
  for (const char* p = pattern != nullptr ? pattern : ""; *p != '\0'; ++p) n += (*p == '%' || *p == '_' || *p == '[') ? 3 : 1;
  *length = n;
  return 0;
}

// The leading and trailing texts choose the wildcard by their first
// character ('%' or '_'); null or another text adds none. Trailing blanks
// of the source are removed in the source itself.
long adp_qry_wildcard_transform(const char* prefix, const char* pattern, const char* suffix, char* out, long size) {
  std::string text;
  if (long m = wildcard_mode(prefix)) text += m == kModePercent ? '%' : '_';
  const char* src = pattern != nullptr ? pattern : "";
  size_t len = std::strlen(src);
  size_t kept = len;
  while (kept > 0 && src[kept - 1] == ' ') --kept;
  if (kept < len) const_cast<char*>(src)[kept] = '\0';
  text.append(src, kept);
  if (long m = wildcard_mode(suffix)) text += m == kModePercent ? '%' : '_';
  if (size > 0) {
    size_t n = text.size() < static_cast<size_t>(size) ? text.size() : static_cast<size_t>(size) - 1;
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
  }
  return 0;
}

bool adp_qry_sql_text_is_safe(const char* text) {
  if (text == nullptr) return false;
  char quote = 0;
  for (const char* p = text; *p != '\0'; ++p) {
    if (quote != 0) {
      if (*p == quote) quote = 0;
      continue;
    }
    if (*p == '\'' || *p == '"') quote = *p;
    else if (*p == ';') return false;
    else if ((p[0] == '-' && p[1] == '-') || (p[0] == '/' && p[1] == '*')) return false;
  }
  return quote == 0;
}

long adp_qry_set_buff_limit(long limit) {
  g_buff_limit = limit;
  return 0;
}
long adp_qry_get_buff_limit() { return g_buff_limit; }
long adp_qry_install_convert(adp_ty_qry_convert_proc proc) {
  g_convert = proc;
  return 0;
}
long adp_qry_display_dlg() { return 0; }
long adp_qry_no_optimize_create() { return 0; }
// Kept for the store; nothing in the adapter calls it.
long adp_qry_set_dlg_error(adp_ty_dlg_error_proc proc) {
  g_dlg_error = proc;
  return 0;
}
