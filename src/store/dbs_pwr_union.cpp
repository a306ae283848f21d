// The UNION rewrite of an OR-joined secured power query and its text
// helpers. Texts made here are allocated blocks, freed with
// dbs_pwr_deallocate_memory; an allocation failure leaves the SQL as it came.
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "adapter/adp_main.h"
#include "core/osl/osl_mem.h"
#include "store/dbs_pwr.h"

namespace {

constexpr const char* kOwner = "dbs_pwr";

char* copy_of(const std::string& s) {
  auto* out = static_cast<char*>(osl_mem_alloc(kOwner, static_cast<long>(s.size()) + 1));
  if (out) std::memcpy(out, s.c_str(), s.size() + 1);
  return out;
}

// Whether a cut point of the rewrite (" OR ", " from ", " where ", "|")
// starts inside a single-quoted literal; one pass over the text.
bool cut_in_literal(const char* text) {
  static constexpr const char* kCuts[] = {" OR ", " from ", " where ", "|"};
  bool inside = false;
  for (const char* p = text; *p; ++p) {
    if (*p == '\'') {
      inside = !inside;
      continue;
    }
    if (!inside) continue;
    for (const char* cut : kCuts)
      if (std::strncmp(p, cut, std::strlen(cut)) == 0) return true;
  }
  return false;
}

std::vector<std::string> split(const std::string& s, char sep) {
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t at = s.find(sep); at != std::string::npos; at = s.find(sep, start)) {
    out.push_back(s.substr(start, at - start));
    start = at + 1;
  }
  out.push_back(s.substr(start));
  return out;
}

bool word_char(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  return std::isalnum(c) || c == '_' || c == '$' || c == '#';
}

// Whether the alternative names a column of the alias ("alias." not preceded
// by another character of a name: "s." inside "ts.name" is not alias s).
bool mentions(const char* alternative, const std::string& alias) {
  const std::string key = alias + ".";
  for (const char* at = std::strstr(alternative, key.c_str()); at; at = std::strstr(at + 1, key.c_str()))
    if (at == alternative || !word_char(at[-1])) return true;
  return false;
}

// Owns an allocated text for the length of a scope.
struct owned {
  char* p;
  explicit owned(char* q) : p(q) {}
  ~owned() { dbs_pwr_deallocate_memory(p); }
  owned(const owned&) = delete;
  owned& operator=(const owned&) = delete;
};

}  // namespace

long dbs_pwr_deallocate_memory(void* block) {
  if (block) osl_mem_free(kOwner, block);
  return 0;
}

char* dbs_pwr_trim_left(char* text) {
  if (!text) return text;
  size_t skip = std::strspn(text, " ");
  if (skip) std::memmove(text, text + skip, std::strlen(text + skip) + 1);
  return text;
}

char* dbs_pwr_trim_right(char* text) {
  if (!text) return text;
  size_t n = std::strlen(text);
  while (n > 0 && text[n - 1] == ' ') text[--n] = '\0';
  return text;
}

char* dbs_pwr_find_and_replace(const char* text, const char* find, const char* replace, long* count) {
  if (count) *count = 0;
  if (!text || !find || !*find) return nullptr;
  std::string out;
  size_t n = std::strlen(find);
  for (const char* p = text; *p;) {
    if (std::strncmp(p, find, n) == 0) {
      out += replace ? replace : "";
      p += n;
      if (count) ++*count;
    } else {
      out += *p++;
    }
  }
  return copy_of(out);
}

char* dbs_pwr_make_from_to_where_clause(const char* tables, const char* alternative, char mssql) {
  if (!tables || !alternative) return nullptr;
  std::string kept;
  for (const std::string& entry : split(tables, ',')) {
    owned e(copy_of(entry));
    if (!e.p) return nullptr;
    dbs_pwr_trim_right(dbs_pwr_trim_left(e.p));
    bool hint = false;
    if (mssql) {
      if (char* h = std::strstr(e.p, "(NOLOCK)")) {
        std::memmove(h, h + 8, std::strlen(h + 8) + 1);
        dbs_pwr_trim_right(e.p);
        hint = true;
      }
    }
    const char* blank = std::strchr(e.p, ' ');
    std::string alias = blank ? std::string(blank + 1) : std::string(e.p);
    size_t b = alias.find_first_not_of(' ');
    alias = b == std::string::npos ? "" : alias.substr(b);
    if (!mentions(alternative, alias)) continue;
    if (!kept.empty()) kept += ", ";
    kept += e.p;
    if (hint) kept += " (NOLOCK)";
  }
  return copy_of(kept);
}

long dbs_pwr_validate_final_str(const char* text) {
  long open = 0, close = 0;
  for (const char* p = text; p && *p; ++p) {
    open += *p == '(';
    close += *p == ')';
  }
  return open == close ? 1 : 0;
}

std::string dbs_pwr_convert_to_union_if_secure_on(const std::string& sql) {
  const char* in = sql.c_str();
  if (!std::strstr(in, "tta.objid != -2")) return sql;
  if (cut_in_literal(in)) return sql;
  long n = 0;
  owned replaced(dbs_pwr_find_and_replace(in, " OR ", " | ", &n));
  if (!replaced.p) return sql;
  const std::string text = replaced.p;
  size_t from = text.find(" from ");
  size_t where = text.find(" where ");
  if (from == std::string::npos || where == std::string::npos || where < from) return sql;
  const std::string select_list = text.substr(0, from);
  const std::string tables = text.substr(from + 6, where - from - 6);
  const std::string cond = text.substr(where + 7);
  size_t and_at = cond.find(" AND");
  const std::string first = and_at == std::string::npos ? cond : cond.substr(0, and_at + 4);
  const std::vector<std::string> alts = split(cond, '|');
  if (static_cast<long>(alts.size()) != n + 1) return sql;
  const char mssql = (adp_main_server_type() & 1) ? 1 : 0;
  std::string out;
  for (long k = 0; k <= n; ++k) {
    const std::string& alt = alts[static_cast<size_t>(k)];
    owned kept(dbs_pwr_make_from_to_where_clause(tables.c_str(), alt.c_str(), mssql));
    if (!kept.p) return sql;
    std::string part;
    if (k == 0)
      part = alt + "))" + " UNION ";
    else if (k < n)
      part = first + " (" + alt + "))" + " UNION ";
    else
      part = first + " (" + alt;
    out += select_list + " from " + kept.p + " where " + " " + part;
  }
  return dbs_pwr_validate_final_str(out.c_str()) ? out : sql;
}
