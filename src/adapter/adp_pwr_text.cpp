// Power-query text: bounded appends at the moving end of the caller's
// buffer, the format connectors, value literals and the value part that both
// condition writers and both dialects share.
#include <cctype>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "adapter/adp_batch.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_pwr.h"
#include "adapter/adp_qry_rec.h"
#include "adapter/adp_qry_util.h"
#include "adapter/adp_time.h"
#include "core/clk/clk_text.h"
#include "core/cmn/cmn_alrt.h"
#include "core/loc/loc_num.h"

using namespace adp_qry;

namespace {

constexpr long kCompanionDbType = 10;
constexpr const char* kBetweenWord = " and ";

// The end of the text being built (null: unbounded).
char* g_limit = nullptr;

long too_long() {
  long rc = cmn_alrt_push(nullptr, nullptr, ADP_PWR_TOO_LONG, 1, ADP_PWR_TEXT_LIMIT);
  (void)rc;
  return ADP_PWR_TOO_LONG;
}

long append_n(char** end, const char* text, size_t n) {
  if (g_limit != nullptr && *end + n > g_limit) return too_long();
  std::memcpy(*end, text, n);
  *end += n;
  **end = '\0';
  return 0;
}

bool is_number_type(long type) {
  return type == ADP_VT_LONG || type == ADP_VT_SHORT || type == ADP_VT_FLOAT || type == ADP_VT_DOUBLE ||
         type == ADP_VT_MONEY || type == ADP_VT_DECIMAL;
}

// The whole text reads as one number (blanks around it allowed).
bool whole_number(const char* text) {
  if (text == nullptr) return false;
  while (std::isspace(static_cast<unsigned char>(*text)) != 0) ++text;
  if (*text == '\0') return false;
  char* stop = nullptr;
  errno = 0;
  std::strtod(text, &stop);
  if (stop == text || errno == ERANGE) return false;
  while (std::isspace(static_cast<unsigned char>(*stop)) != 0) ++stop;
  // No hexadecimal, infinity or NaN forms.
  for (const char* p = text; p < stop; ++p)
    if (std::isalpha(static_cast<unsigned char>(*p)) != 0 && *p != 'e' && *p != 'E') return false;
  return *stop == '\0';
}

long string_literal(char** end, long op, const char* value) {
  const bool lead = op == ADP_PWR_ENDS || op == ADP_PWR_CONTAINS || op == ADP_PWR_NOT_ENDS || op == ADP_PWR_NOT_CONTAINS;
  const bool trail =
      op == ADP_PWR_STARTS || op == ADP_PWR_CONTAINS || op == ADP_PWR_NOT_STARTS || op == ADP_PWR_NOT_CONTAINS;
  std::string s = "'";
  if (lead) s += '%';
  for (const char* p = value != nullptr ? value : ""; *p != '\0'; ++p) {
    if (*p == '\'') s += '\'';
    s += *p;
  }
  if (trail) s += '%';
  s += '\'';
  return adp_pwr_string_append(end, s.c_str());
}

long date_literal(KAdpConnId* con, char** end, const char* value) {
  clktime t{};
  if (long st = clk_time_str_to_clk_adj(0, value != nullptr ? value : "", &t)) return st;
  char text[CLK_TEXT_SIZE] = {};
  if (is_oracle(con)) {
    if (long st = clk_time_clk_to_sstr_option(0, &t, text, sizeof(text))) return st;
    return adp_pwr_string_append_five(end, "TO_DATE('", text, "', '", phrase(con, kPhraseDateFormat), "')");
  }
  if (long st = adp_time_clk_to_str(&t, text)) return st;
  return adp_pwr_string_append_five(end, "'", text, "'", nullptr, nullptr);
}

}  // namespace

void adp_pwr_set_limit(char* limit, char** previous) {
  if (previous != nullptr) *previous = g_limit;
  g_limit = limit;
}

long adp_pwr_string_append(char** end, const char* text) {
  return text != nullptr ? append_n(end, text, std::strlen(text)) : 0;
}

long adp_pwr_string_append_five(char** end, const char* s1, const char* s2, const char* s3, const char* s4,
                                const char* s5) {
  for (const char* s : {s1, s2, s3, s4, s5})
    if (long st = adp_pwr_string_append(end, s)) return st;
  return 0;
}

long adp_pwr_sprintf_append(char** end, const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  va_list again;
  va_copy(again, ap);
  int n = std::vsnprintf(nullptr, 0, format, ap);
  va_end(ap);
  std::string s(n > 0 ? static_cast<size_t>(n) : 0, '\0');
  if (n > 0) std::vsnprintf(s.data(), s.size() + 1, format, again);
  va_end(again);
  return append_n(end, s.data(), s.size());
}

long adp_pwr_format_str_append(char** end, const char** cursor, long* depth) {
  const char* p = *cursor;
  const char* start = p;
  for (; *p != '\0' && !(p[0] == '%' && p[1] == 's'); ++p) {
    if (*p == '(') ++*depth;
    if (*p == ')') --*depth;
  }
  if (long st = append_n(end, start, static_cast<size_t>(p - start))) return st;
  if (*p != '\0') p += 2;
  *cursor = p;
  if (*p == '\0' && *depth != 0) {
    long rc = cmn_alrt_push(nullptr, nullptr, ADP_PWR_UNBALANCED, 0);
    (void)rc;
    return ADP_PWR_UNBALANCED;
  }
  return 0;
}

long adp_pwr_refuse(const char* text) {
  long rc = cmn_alrt_push(nullptr, nullptr, ADP_QRY_REFUSED, 1, text != nullptr ? text : "");
  (void)rc;
  return ADP_QRY_REFUSED;
}

long adp_pwr_count_value(const char* value, long* out) {
  *out = 0;
  if (value == nullptr || value[0] == '\0') return 0;
  if (!whole_number(value)) return adp_pwr_refuse(value);
  *out = std::strtol(value, nullptr, 10);
  return 0;
}

long adp_pwr_process_value(KAdpConnId* con, const typ_sch_frec* f, char** end, long op, const char* value) {
  if (f->data_type == ADP_VT_STRING) return string_literal(end, op, value);
  if (f->data_type == ADP_VT_CLK) return date_literal(con, end, value);
  if (is_number_type(f->data_type)) {
    const char* plain = loc_st_delocalize_decimal(value != nullptr ? value : "");
    if (!whole_number(plain)) return adp_pwr_refuse(value);
    return adp_pwr_string_append(end, plain);
  }
  // Any other type is written as a quoted literal.
  return string_literal(end, ADP_PWR_EQ, value);
}

namespace {

long between(KAdpConnId* con, const pwr_cond* cond, const char* value, char** end, const typ_sch_frec* f) {
  const std::string v = value != nullptr ? value : "";
  std::string lower(v);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const size_t at = lower.find(kBetweenWord);
  if (at == std::string::npos) return adp_pwr_refuse(v.c_str());
  const std::string low = v.substr(0, at);
  const std::string high = v.substr(at + std::strlen(kBetweenWord));
  if (long st = adp_pwr_process_value(con, f, end, cond->op, low.c_str())) return st;
  if (long st = adp_pwr_string_append(end, " AND ")) return st;
  return adp_pwr_process_value(con, f, end, cond->op, high.c_str());
}

}  // namespace

long adp_pwr_common_value(KAdpConnId* con, const pwr_cond* cond, char** end, const char* value,
                          const char* qualifier, const char* op_text, const typ_sch_frec* f, char* handled) {
  *handled = 1;
  switch (cond->op) {
    case ADP_PWR_IN:
    case ADP_PWR_NOT_IN:
      if (!adp_qry_sql_text_is_safe(value)) return adp_pwr_refuse(value);
      return adp_pwr_string_append(end, value);
    case ADP_PWR_BETWEEN:
    case ADP_PWR_NOT_BETWEEN: return between(con, cond, value, end, f);
    case ADP_PWR_SUBQRY_NOT_IN:
      if (!adp_qry_sql_text_is_safe(cond->value)) return adp_pwr_refuse(cond->value);
      return adp_pwr_string_append_five(end, " ( ", cond->value, " ) ", nullptr, nullptr);
    case ADP_PWR_TODAY:
    case ADP_PWR_YESTERDAY:
    case ADP_PWR_LAST_DAYS:
    case ADP_PWR_LAST_HOURS:
    case ADP_PWR_EXISTS:
    case ADP_PWR_NOT_EXISTS: *handled = 0; return 0;
    default: break;
  }
  if (long st = adp_pwr_process_value(con, f, end, cond->op, value)) return st;
  if (!header_flag(con, kHeadCompanion) || f->db_type != kCompanionDbType) return 0;
  if (long st = adp_pwr_string_append_five(end, " OR ", qualifier, ".v_", f->name, " ")) return st;
  if (long st = adp_pwr_string_append_five(end, op_text, " ", nullptr, nullptr, nullptr)) return st;
  return adp_pwr_process_value(con, f, end, cond->op, value);
}
