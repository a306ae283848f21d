// Pass-through SQL on the in-memory database: the delete statements the
// client runs by text ("delete from <table> where <column> = <n>", with an
// optional " and objid NOT IN (a, b, ...)"), alone or in a server block
// ("BEGIN ...; END;"). A COMMIT in the text commits every open transaction
// level, as the server would. Other statements change nothing.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>
#include <sstream>

#include "adpdouble/adp_double_mem_int.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"
#include "store/dbs_obj.h"

namespace adp_mem {

namespace {

constexpr long k_bad_statement = 0x70002f;

// Words of the statement, lower case; "(", ")", ",", ";" and "=" stand alone.
std::vector<std::string> words_of(const std::string& text) {
  std::string spaced;
  for (char c : text) {
    bool mark = c == '(' || c == ')' || c == ',' || c == ';' || c == '=';
    if (mark) spaced += ' ';
    spaced += c;
    if (mark) spaced += ' ';
  }
  std::istringstream in(lower(spaced));
  std::vector<std::string> out;
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

// The type whose table is named so ("table_<type name>").
long type_of_table(const std::string& table) {
  std::set<long> types;
  for (const row& r : st().db.rows) types.insert(r.id.type & DBS_OID_TYPE_MASK);
  for (long t : types) {
    typ_sch_srec* s = schema_of(t);
    if (s && s->info && "table_" + lower(s->info->name) == table) return t;
  }
  return 0;
}

struct delete_stmt {
  std::string table, column;
  long value = 0;
  std::set<long> kept;
};

bool is_number(const std::string& w) { return !w.empty() && std::all_of(w.begin(), w.end(), ::isdigit); }

// Reads "delete from T where C = N [and objid not in ( a , b )]" at words[i].
bool parse_delete(const std::vector<std::string>& w, size_t i, delete_stmt* out) {
  if (i + 6 > w.size() || w[i + 1] != "from" || w[i + 3] != "where" || w[i + 5] != "=") return false;
  out->table = w[i + 2];
  out->column = w[i + 4];
  if (i + 6 >= w.size() || !is_number(w[i + 6])) return false;
  out->value = std::atol(w[i + 6].c_str());
  size_t k = i + 7;
  if (k + 4 < w.size() && w[k] == "and" && w[k + 1] == "objid" && w[k + 2] == "not" && w[k + 3] == "in" &&
      w[k + 4] == "(") {
    for (k += 5; k < w.size() && w[k] != ")"; ++k)
      if (is_number(w[k])) out->kept.insert(std::atol(w[k].c_str()));
    if (k == w.size()) return false;
  }
  return true;
}

long run_delete(const delete_stmt& d) {
  long type = type_of_table(d.table);
  if (type == 0) return 0;  // no rows of that table: nothing to delete
  auto& rows = st().db.rows;
  rows.erase(std::remove_if(rows.begin(), rows.end(),
                            [&](const row& r) {
                              if ((r.id.type & DBS_OID_TYPE_MASK) != type || d.kept.count(r.id.num)) return false;
                              auto it = r.fks.find(d.column);
                              return it != r.fks.end() && it->second == d.value;
                            }),
             rows.end());
  return 0;
}

}  // namespace

long sql_command(const std::string& text) {
  std::vector<std::string> w = words_of(text);
  for (size_t i = 0; i < w.size(); ++i) {
    if (w[i] == "commit") st().undo.clear();
    if (w[i] != "delete") continue;
    delete_stmt d;
    if (!parse_delete(w, i, &d)) return push(k_bad_statement);
    if (long code = run_delete(d)) return code;
  }
  ++st().sql_commands;
  return 0;
}

long sql_commands() { return st().sql_commands; }

}  // namespace adp_mem
