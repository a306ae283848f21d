// Reading a column of texts through the connection's batch.
#include "adapter/adp_sql_texts.h"

#include "adapter/adp_batch.h"
#include "adapter/adp_sql.h"

namespace {

constexpr long kTextSize = 1025;  // a longer value fails its row, it is never cut

}  // namespace

long adp_sql_texts(KAdpConnId* con, const std::string& query, std::vector<std::string>* out) {
  char text[kTextSize] = "";
  if (long st = adp_sql_parse_now(con, "%s", query.c_str())) return st;
  if (long st = adp_sql_define(con, KAdpBindCol(text, kTextSize))) return st;
  char more = 0;
  long st = adp_sql_exec_and_fetch(con, &more);
  while (st == 0 && more != 0) {
    out->emplace_back(text);
    text[0] = '\0';
    st = adp_sql_nextrow(con, nullptr, &more);
  }
  return st;
}

std::string adp_sql_quotes_doubled(const char* text) {
  char* out = nullptr;
  adp_sql_escape_str(text, &out);
  return out != nullptr ? out : "";
}
