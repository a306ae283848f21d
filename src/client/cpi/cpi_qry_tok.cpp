// The in-list tokeniser: values of an "is in" condition given as one text,
// in parentheses or not, separated by blanks and commas, quoted with double
// or single quotes where they hold separators.
#include <cstring>

#include "client/cpi/cpi_qry_int.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "store/dbs_opr.h"

namespace {

constexpr long kTokenExtent = 10;

bool is_separator(char c) { return c == ' ' || c == ',' || c == '(' || c == ')'; }
bool is_quote(char c) { return c == '"' || c == '\''; }
bool ends_bare_token(char c) { return c == 0 || is_separator(c); }

// The next token from *pos on; false at the end of the text.
bool next_token(const char* text, size_t* pos, std::string* token) {
  size_t i = *pos;
  while (text[i] && is_separator(text[i])) ++i;
  if (!text[i]) {
    *pos = i;
    return false;
  }
  size_t start = i;
  if (is_quote(text[i])) {
    start = ++i;
    while (text[i] && !is_quote(text[i])) ++i;
    token->assign(text + start, i - start);
    *pos = text[i] ? i + 1 : i;
    return true;
  }
  while (!ends_bare_token(text[i])) ++i;
  token->assign(text + start, i - start);
  *pos = i;
  return true;
}

void append_quoted(std::string* list, const std::string& token) {
  list->push_back('\'');
  for (char c : token) {
    if (c == '\'') list->push_back('\'');
    list->push_back(c);
  }
  list->push_back('\'');
}

}  // namespace

long cpi_qry_in_operand_tokenize(long type_id, const char* field, const char* text, std::string* list_text,
                                 utl_ty_col** tokens) {
  list_text->clear();
  std::vector<std::string> found;
  std::string token;
  size_t pos = 0;
  while (text && next_token(text, &pos, &token)) {
    if (token.empty()) continue;
    long st = dbs_opr_check_value(type_id, field, field, token.c_str());
    if (st == 0 && !*tokens) st = utl_col_make("cpi_qry_in_operand_tokenize", CMN_TYP_CHAR_P, kTokenExtent,
                                               kTokenExtent, 0, 0, tokens);
    if (st == 0) st = utl_col_push(*tokens, token.c_str(), nullptr);
    if (st) {
      if (*tokens) utl_col_free("cpi_qry_in_operand_tokenize", *tokens);
      *tokens = nullptr;
      return st;
    }
    found.push_back(token);
  }
  if (found.empty()) return 0;
  list_text->push_back('(');
  for (size_t i = 0; i < found.size(); ++i) {
    if (i) list_text->push_back(',');
    append_quoted(list_text, found[i]);
  }
  list_text->push_back(')');
  return 0;
}
