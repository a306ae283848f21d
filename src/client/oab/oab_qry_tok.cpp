// The tokenisers of "is in" and "between" operands.
#include <cstring>
#include <string>
#include <vector>

#include "client/oab/oab_msg.h"
#include "client/oab/oab_qry.h"
#include "core/cmn/cmn_typ.h"
#include "core/loc/loc_reg.h"
#include "schema/typ_path.h"
#include "store/dbs_opr.h"

namespace {

constexpr size_t kScanLimit = 50000;
constexpr long kBetweenWords = 3;
constexpr long kDateFormatKind = 1;

std::string g_in_result;
std::string g_bet_result;

bool is_separator(char c) { return c == ' ' || c == ',' || c == '(' || c == ')'; }
bool is_quote(char c) { return c == '"' || c == '\''; }

long path_type(long type, const char* path, long* data_type) {
  long final_type = 0;
  long field = 0;
  return typ_sch_field_path_info_get(type, path, &final_type, &field, data_type);
}

// The locale's date format as users read it: dd, mm, yy.
std::string display_format() {
  const char* f = loc_reg_get_dt_format(kDateFormatKind);
  std::string out;
  for (size_t i = 0; f != nullptr && f[i] != '\0'; ++i) {
    char n = f[i + 1];
    if (f[i] == '%' && (n == 'd' || n == 'm' || n == 'y')) {
      out += std::string(2, n);
      ++i;
    } else {
      out += f[i];
    }
  }
  return out;
}

}  // namespace

bool oab_qry_in_operand_next_token(const char* text, size_t* pos, std::string* token) {
  token->clear();
  size_t i = *pos;
  while (i < kScanLimit && text[i] != '\0' && is_separator(text[i])) ++i;
  if (i >= kScanLimit || text[i] == '\0') {
    *pos = i;
    return false;
  }
  if (is_quote(text[i])) {
    size_t start = ++i;
    while (i < kScanLimit && text[i] != '\0' && !is_quote(text[i])) ++i;
    token->assign(text + start, i - start);
    if (i < kScanLimit && text[i] != '\0') ++i;  // the closing quote
  } else {
    size_t start = i;
    while (i < kScanLimit && text[i] != '\0' && !is_separator(text[i])) ++i;
    token->assign(text + start, i - start);
  }
  *pos = i;
  return true;
}

void oab_qry_token_append(std::string* out, const std::string& token) {
  *out += '\'';
  for (char c : token) {
    if (c == '\'') *out += '\'';
    *out += c;
  }
  *out += '\'';
}

long oab_qry_in_operand_tokenize(long type, const char* label, const char* path, const char* operand,
                                 const char** out) {
  *out = nullptr;
  std::vector<std::string> tokens;
  size_t pos = 0;
  std::string token;
  while (operand != nullptr && oab_qry_in_operand_next_token(operand, &pos, &token)) {
    if (token.empty()) continue;
    if (long st = dbs_opr_check_value(type, label, path, token.c_str())) return st;
    tokens.push_back(token);
  }
  if (tokens.empty()) return 0;
  long data_type = 0;
  if (long st = path_type(type, path, &data_type)) return st;
  g_in_result = "(";
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (i > 0) g_in_result += ',';
    if (data_type == CMN_TYP_LONG)
      g_in_result += tokens[i];
    else
      oab_qry_token_append(&g_in_result, tokens[i]);
  }
  g_in_result += ')';
  *out = g_in_result.c_str();
  return 0;
}

long oab_qry_bet_operand_tokenize(long type, const char* label, const char* path, const char* operand,
                                  const char** out) {
  *out = nullptr;
  std::vector<std::string> words;
  const char* p = operand != nullptr ? operand : "";
  while (*p != '\0' && static_cast<long>(words.size()) < kBetweenWords) {
    while (*p == ' ') ++p;
    const char* start = p;
    while (*p != '\0' && *p != ' ') ++p;
    if (p > start) words.emplace_back(start, p);
  }
  if (words.size() < 2) {
    std::string format = display_format();
    return oab_alrt("oab_qry_bet_operand_tokenize", OAB_QRY_BAD_BETWEEN, format.c_str(), format.c_str());
  }
  const std::string& first = words[0];
  const std::string& second = words.size() == 2 ? words[1] : words[2];
  if (long st = dbs_opr_check_value(type, label, path, first.c_str())) return st;
  if (long st = dbs_opr_check_value(type, label, path, second.c_str())) return st;
  g_bet_result = first + " AND " + second;
  *out = g_bet_result.c_str();
  return 0;
}
