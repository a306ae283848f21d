// Running power queries: their ids without duplicates, the trend count, and
// the calls kept for stored procedures and non-blocking runs.
#include <cctype>
#include <cstring>
#include <string>

#include "adapter/adp_batch.h"
#include "adapter/adp_db.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_pwr.h"
#include "adapter/adp_qry.h"
#include "adapter/adp_qry_run.h"
#include "adapter/adp_sql.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_col.h"

namespace {

long push(long code) {
  long rc = cmn_alrt_push(nullptr, nullptr, code, 0);
  (void)rc;
  return code;
}

bool word_char(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '$' || c == '#'; }

// Position of the keyword (case-insensitive) as a whole word outside
// quotes, from position from; npos when absent.
size_t find_word(const std::string& s, const char* word, size_t from) {
  const size_t n = std::strlen(word);
  char quote = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (quote != 0) {
      if (s[i] == quote) quote = 0;
      continue;
    }
    if (s[i] == '\'' || s[i] == '"') {
      quote = s[i];
      continue;
    }
    if (i < from || i + n > s.size() || strncasecmp(s.c_str() + i, word, n) != 0) continue;
    if (i > 0 && word_char(s[i - 1])) continue;
    if (i + n < s.size() && word_char(s[i + n])) continue;
    return i;
  }
  return std::string::npos;
}

size_t find_order_by(const std::string& s, size_t from) {
  for (size_t at = find_word(s, "order", from); at != std::string::npos; at = find_word(s, "order", at + 5)) {
    size_t k = at + 5;
    while (k < s.size() && std::isspace(static_cast<unsigned char>(s[k])) != 0) ++k;
    if (k > at + 5 && find_word(s, "by", k) == k) return at;
  }
  return std::string::npos;
}

}  // namespace

long adp_pwr_trend_text(const char* sql, char* out, long size) {
  const std::string s = sql != nullptr ? sql : "";
  const size_t select = find_word(s, "select", 0);
  if (select == std::string::npos) return push(ADP_PWR_NO_SELECT);
  size_t column = select + 6;
  const size_t from = find_word(s, "from", column);
  if (from == std::string::npos) return push(ADP_PWR_NO_FROM);
  // The text's own DISTINCT is not repeated.
  const size_t distinct = find_word(s, "distinct", column);
  if (distinct != std::string::npos && distinct < from) column = distinct + 8;
  const size_t order = find_order_by(s, from);
  std::string text = "select count(DISTINCT " + s.substr(column, from - column) + ") " +
                     s.substr(from, order == std::string::npos ? std::string::npos : order - from);
  if (static_cast<long>(text.size()) >= size) {
    long rc = cmn_alrt_push(nullptr, nullptr, ADP_PWR_TOO_LONG, 1, size);
    (void)rc;
    return ADP_PWR_TOO_LONG;
  }
  std::memcpy(out, text.c_str(), text.size() + 1);
  return 0;
}

long adp_pwr_eliminate_dup_id(utl_ty_col* ids) {
  long n = 0;
  if (long st = utl_col_num(ids, &n)) return st;
  long elem = 0, count = 0, cap = 0, ext = 0, slot = 0, flags = 0;
  if (long st = utl_col_info(ids, &elem, &count, &cap, &ext, &slot, &flags)) return st;
  const size_t width = elem == ADP_VT_LONG ? sizeof(long) : sizeof(obj_id);
  for (long i = 0; i < n; ++i) {
    void* a = nullptr;
    if (long st = utl_col_ith(ids, i, &a)) return st;
    for (long j = n - 1; j > i; --j) {
      void* b = nullptr;
      if (long st = utl_col_ith(ids, j, &b)) return st;
      if (std::memcmp(a, b, width) != 0) continue;
      if (long st = utl_col_remove(ids, nullptr, j)) return st;
      --n;
    }
  }
  return 0;
}

long adp_pwr_qry_execute(KAdpConnId* con, const char*, const char* sql, utl_ty_col* ids) {
  if (long st = adp_db_check_conn(con)) return st;
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  if (long st = adp_sql_append(con, stmt, sql != nullptr ? sql : "")) return st;
  if (long st = adp_qry_process_id(con, stmt, -1, nullptr, -1, ids)) return st;
  return adp_pwr_eliminate_dup_id(ids);
}

long adp_pwr_trend_qry_execute(KAdpConnId* con, const char* sql, void* x) {
  std::string text(ADP_PWR_TEXT_SIZE, '\0');
  if (long st = adp_pwr_trend_text(sql, text.data(), ADP_PWR_TEXT_SIZE)) return st;
  if (long st = adp_db_check_conn(con)) return st;
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  if (long st = adp_sql_append(con, stmt, text.c_str())) return st;
  return adp_qry_process_num(con, stmt, -1, nullptr, static_cast<long*>(x));
}

long adp_pwr_stored_proc_create(KAdpConnId*, const char*, const char*) { return 0; }
long adp_pwr_stored_proc_delete(KAdpConnId*, const char*) { return 0; }
long adp_pwr_non_block_exe(KAdpConnId*, const char*, const char*) { return 0; }
long adp_pwr_non_block_results(KAdpConnId*, utl_ty_col*) { return 0; }
long adp_pwr_non_block_cancel() { return 0; }
long adp_pwr_non_block_check(void*, void*, long* state) {
  if (state != nullptr) *state = 1;
  return 0;
}
