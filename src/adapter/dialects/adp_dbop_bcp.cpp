// SQL Server's copy of a changed table through a file: the old table is
// unloaded with the bulk-copy program "bcp" and the file loaded into the new
// table, described by two format files; columns whose source is a constant
// get temporary defaults meanwhile. Commands go to the shell with every
// argument quoted, and the log shows the password as "****". The old table
// is dropped only once the load has succeeded.
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "adapter/adp_conn.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sql.h"
#include "adapter/dialects/adp_dbop_copy.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "adapter/dialects/adp_dbop_name.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_print.h"
#include "core/osl/osl_sys.h"
#include "schema/typ_rec.h"

namespace {

constexpr long kFailed = 1;
constexpr long kTextCode = 8;
constexpr long kLongTextCode = 10;
constexpr long kDecimalCode = 11;
constexpr const char kDataFile[] = "orbdata.out";
constexpr const char kHiddenPassword[] = "****";

// Host type, prefix length and host length of a column-type code.
struct host_form {
  const char* type;
  long prefix;
  long length;
};
constexpr host_form kHostForms[] = {
    {"SYBINT4", 1, 4}, {"SYBINT2", 1, 2},  {"SYBINT1", 1, 1},   {"SYBREAL", 1, 4},     {"SYBREAL", 1, 4},
    {"SYBREAL", 1, 4}, {"SYBCHAR", 1, 512}, {"SYBCHAR", 2, 512}, {"SYBTEXT", 4, -1}, {"SYBDATETIME", 0, 8},
};

struct column {
  std::string source, destination;
  long code;
};

struct temp_default {
  long number;
  std::string column, value;
};

// A shell word: the text in single quotes, each quote written '\''.
std::string quoted(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// A field's column-type code, or 0 for a relation column; -1 for neither.
long code_of(typ_sch_srec* schema, const std::string& name) {
  long id = -1;
  char found = 0;
  adp_sce_find_field_or_rel(schema, name.c_str(), &found, &id);
  return found != 0 ? id : -1;
}

// Runs a statement whose failure is cleared and ignored.
void run_quietly(KAdpConnId* con, const std::string& text) {
  if (adp_sql_exec_query(con, "%s", text.c_str()) != 0) cmn_alrt_clear(nullptr);
}

void bind_default(KAdpConnId* con, const std::string& table, const temp_default& d) {
  const std::string target = "\"" + table + "." + d.column + "\"";
  const std::string name = "default" + std::to_string(d.number);
  run_quietly(con, "sp_unbindefault " + target);
  run_quietly(con, "drop default " + name);
  run_quietly(con, "create default " + name + " as " + d.value);
  run_quietly(con, "sp_bindefault " + name + ", " + target);
}

void unbind_defaults(KAdpConnId* con, const std::string& table, const std::vector<temp_default>& defaults) {
  for (const temp_default& d : defaults) {
    run_quietly(con, "sp_unbindefault \"" + table + "." + d.column + "\"");
    run_quietly(con, "drop default default" + std::to_string(d.number));
  }
}

// One format file: "4.0", the column count, one line per column.
long write_format(KAdpConnId* con, const std::string& path, const char* what, const std::string& table,
                  const std::vector<column>& columns, bool source_side) {
  FILE* f = std::fopen(path.c_str(), "w");
  if (f == nullptr) {
    osl_print_mes("Cannot open %s BCP format file '%s' for writing.\n", what, path.c_str());
    return kFailed;
  }
  std::fprintf(f, "4.0\n%ld\n", static_cast<long>(columns.size()));
  long field = 0;
  for (const column& c : columns) {
    const std::string& name = source_side ? c.source : c.destination;
    char answered = 0, found = 0;
    long number = 0;
    adp_sch_get_col_info2(con, table.c_str(), name.c_str(), 1, &answered, &found, nullptr, nullptr, nullptr,
                          &number);
    if (found == 0) {
      std::fclose(f);
      return kFailed;
    }
    const host_form& h = kHostForms[c.code == kLongTextCode ? kTextCode : c.code];
    std::fprintf(f, "%ld\t%s\t%ld\t%ld\t%s\t%ld\t%s\n", ++field, h.type, h.prefix, h.length, "\"\"", number,
                 name.c_str());
  }
  std::fclose(f);
  return 0;
}

struct bcp_job {
  std::string db, login, password, server, source, destination;
  std::string out_format() const { return "O_" + source + ".fmt"; }
  std::string in_format() const { return "I_" + destination + ".fmt"; }
  std::string unload(const std::string& pw) const {
    return "bcp " + quoted(db + ".." + source) + " out " + quoted(kDataFile) + " -U " + quoted(login) + " -P " +
           pw + " -S " + quoted(server) + " -f " + quoted(out_format()) + "\n";
  }
  std::string load(const std::string& pw) const {
    return "bcp " + quoted(db + ".." + destination) + " in " + quoted(kDataFile) + " -U " + quoted(login) + " -P " +
           pw + " -S " + quoted(server) + " -f " + quoted(in_format()) + " > " + quoted(source + ".mes") + "\n";
  }
};

// Runs a bulk copy; its failure is reported and gives status 1.
long run_bcp(const char* title, const std::string& command, const std::string& shown) {
  osl_print_mes("%s via BCP:\n   %s", title, shown.c_str());
  long rc = osl_sys_system(command.c_str());
  if (rc == 0) return 0;
  osl_print_mes("Unexpected return from BCP: %ld (errno=%ld)\n", rc, static_cast<long>(errno));
  return kFailed;
}

bool names_ok(const bcp_job& j) {
  for (const std::string* n : {&j.source, &j.destination}) {
    if (adp_dbop_check_name(n->c_str(), false) != 0) return false;
  }
  return true;
}

}  // namespace

long adp_sce_find_field_or_rel(typ_sch_srec* schema, const char* name, char* found, long* id) {
  *found = 0;
  *id = -1;
  if (schema == nullptr || name == nullptr) return 0;
  for (long i = 0; i < schema->nfields; ++i) {
    if (schema->fields[i].name != nullptr && std::string(schema->fields[i].name) == name) {
      *found = 1;
      *id = schema->fields[i].db_type;
      return 0;
    }
  }
  for (long i = 0; i < schema->nrels; ++i) {
    const typ_sch_rel_inst& e = schema->rels[i];
    if (e.rel == nullptr) continue;
    const char* own = e.side == 'p' ? e.rel->pname : e.rel->fname;
    if (own != nullptr && std::string(own) == name) {
      *found = 1;
      *id = 0;
      return 0;
    }
  }
  return 0;
}

long KAdpMssqlOperation::SceFillFileFromTable(char* db_name, char* login, char* password, char* server,
                                              char* source, char* destination, typ_sch_srec* schema,
                                              utl_ty_col* source_list, utl_ty_col* destination_list,
                                              utl_ty_col* kind_list, FILE* log, long flags) {
  KAdpConnId* con = GetConnection();
  auto text = [](const char* s) { return std::string(s != nullptr ? s : ""); };
  const bcp_job job{text(db_name), text(login), text(password), text(server), text(source), text(destination)};
  if (!names_ok(job)) return kFailed;
  const std::vector<std::string> sources = adp_dbop_texts(source_list);
  const std::vector<std::string> destinations = adp_dbop_texts(destination_list);
  const std::vector<std::string> kinds = adp_dbop_texts(kind_list);
  std::vector<column> columns;
  std::vector<temp_default> defaults;
  for (size_t i = 0; i < sources.size() && i < destinations.size(); ++i) {
    long code = code_of(schema, sources[i]);
    if (code < 0) code = code_of(schema, destinations[i]);
    const bool constant = i < kinds.size() && kinds[i] == "1";
    if (code >= 0 && !constant) {
      if (code >= kDecimalCode) {
        osl_print_mes("Column '%s' cannot be copied through a BCP file.\n", destinations[i].c_str());
        return kFailed;
      }
      columns.push_back({sources[i], destinations[i], code});
    } else {
      defaults.push_back({static_cast<long>(defaults.size()) + 1, destinations[i], sources[i]});
    }
  }
  for (const temp_default& d : defaults) bind_default(con, job.destination, d);
  if (long st = write_format(con, job.out_format(), "output", job.source, columns, true)) return st;
  if (long st = write_format(con, job.in_format(), "input", job.destination, columns, false)) return st;
  const std::string hidden = kHiddenPassword;
  if ((flags & ADP_DBOP_DRY_RUN) != 0) {
    if (log != nullptr) std::fprintf(log, "OUTPUT OF TABLE WOULD EXECUTE:\n   %s", job.unload(hidden).c_str());
    if (log != nullptr) std::fprintf(log, "INPUT TO TABLE WOULD EXECUTE:\n   %s", job.load(hidden).c_str());
    if (long st = adp_sce_delete_table(con, job.source.c_str(), log, flags)) return st;
    unbind_defaults(con, job.destination, defaults);
    return 0;
  }
  const std::string pw = quoted(job.password);
  long st = run_bcp("DUMPING table", job.unload(pw), job.unload(hidden));
  if (st == 0) st = run_bcp("LOADING table", job.load(pw), job.load(hidden));
  unbind_defaults(con, job.destination, defaults);
  if (st != 0) return st;
  if (long drop = adp_sce_delete_table(con, job.source.c_str(), log, flags)) return drop;
  osl_sys_system(("rm " + quoted(kDataFile) + " " + quoted(job.in_format()) + " " + quoted(job.out_format())).c_str());
  return 0;
}
