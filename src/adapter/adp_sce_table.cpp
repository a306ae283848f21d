// Whole-table steps of a schema change: a table created (Oracle with the
// storage of a template table) and granted, renamed (Oracle with its
// indexes), views and synonyms dropped or made, a table's size, a column's
// null rule, the rows below an object id, and the row copies the dialect
// carries out.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sce_int.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_sql_log.h"
#include "adapter/adp_sql_texts.h"
#include "adapter/adp_usr.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/cmn/cmn_alrt.h"

namespace {

constexpr long kTableKind = 2;
constexpr long kStorageNumbers = 5;
constexpr long kCellSize = 64;
constexpr long kTablePrefixLength = 6;  // "table_"
constexpr const char kOwnerPrefix[] = "dbo.";

const char* text_of(const char* s) { return s != nullptr ? s : ""; }

// The name less its owner prefix.
std::string unowned(const char* name) {
  const char* dot = std::strchr(text_of(name), '.');
  return dot != nullptr ? dot + 1 : text_of(name);
}

// The template's storage clause; empty when the template is not found. A
// number the catalogue leaves empty leaves the storage part out, an empty
// tablespace the tablespace part.
long storage_clause(KAdpConnId* con, const char* template_table, std::string* clause) {
  clause->clear();
  if (long st = adp_sql_parse_now(con,
                                  "select initial_extent, \t\t\t\tnext_extent, min_extents,max_extents,\t\t\t\t"
                                  "pct_increase, tablespace_name from user_tables where table_name = upper('%s')",
                                  adp_sce_literal(template_table).c_str())) {
    return st;
  }
  char cells[kStorageNumbers + 1][kCellSize] = {};
  for (auto& cell : cells) {
    if (long st = adp_sql_define(con, KAdpBindCol(cell, kCellSize))) return st;
  }
  char found = 0;
  if (long st = adp_sql_exec_and_fetch(con, &found)) return st;
  adp_sql_cancel(con);
  if (found == 0) return 0;
  bool numbers = true;
  for (long i = 0; i < kStorageNumbers; ++i) numbers = numbers && cells[i][0] != '\0';
  char text[512] = "";
  if (numbers) {
    std::snprintf(text, sizeof text,
                  " storage (initial %ld next %ld minextents \n\t\t\t\t%ld maxextents %ld pctincrease %ld)",
                  std::atol(cells[0]), std::atol(cells[1]), std::atol(cells[2]), std::atol(cells[3]),
                  std::atol(cells[4]));
    *clause = text;
  }
  if (cells[kStorageNumbers][0] != '\0') *clause += std::string(" tablespace ") + cells[kStorageNumbers];
  return 0;
}

// A name inside a LIKE pattern with ESCAPE '\': its own "_" and "%" match
// only themselves.
std::string like_escaped(const std::string& name) {
  std::string out;
  for (char c : name) {
    if (c == '_' || c == '%' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

// Oracle renames an index by ALTER INDEX (RENAME names tables, views,
// sequences and synonyms only).
std::string index_rename(const std::string& from, const std::string& to) {
  return "ALTER INDEX " + from + " RENAME TO " + to + "\n";
}

// The indexes of a renamed Oracle table follow its new name: the object-id
// index (under either of its names; one that is not there is no failure),
// then every "<name>_<suffix>_INDEX" the catalogue lists.
long rename_oracle_indexes(KAdpConnId* con, const std::string& from, const std::string& to, const std::string& table,
                           FILE* script, long options) {
  const std::string a = from.substr(kTablePrefixLength);
  const std::string b = to.substr(kTablePrefixLength);
  for (const std::string& old_index : {a + "_objindex", a + "_index"}) {
    if (adp_sce_run_ddl(con, index_rename(old_index, b + "_objindex"), script, options) != 0)
      cmn_alrt_clear(nullptr);
  }
  if ((options & ADP_SCE_SCRIPT_ONLY) != 0) return 0;
  const std::string la = adp_sce_literal(a.c_str());
  const std::string query = "SELECT SUBSTR(INDEX_NAME, LENGTH('" + la + "') + 2) FROM \t\t\tUSER_INDEXES\nWHERE " +
                            "TABLE_NAME = UPPER('" + adp_sce_literal(table.c_str()) +
                            "') AND \n\t\t\tINDEX_NAME NOT LIKE '%OBJINDEX' AND INDEX_NAME LIKE UPPER('" +
                            adp_sce_literal(like_escaped(a).c_str()) + "\\_%\\_INDEX') ESCAPE '\\'";
  std::vector<std::string> suffixes;
  if (long st = adp_sql_texts(con, query, &suffixes)) return st;
  for (const std::string& s : suffixes) {
    if (long st = adp_sce_check_name(s.c_str())) return st;
    if (long st = adp_sce_run_ddl(con, index_rename(a + "_" + s, b + "_" + s), script, options)) return st;
  }
  return 0;
}

bool table_prefixed(const std::string& name) {
  return name.compare(0, kTablePrefixLength - 1, "TABLE") == 0 || name.compare(0, kTablePrefixLength - 1, "table") == 0;
}

}  // namespace

long adp_sce_prepare_for_changes() { return 0; }

long adp_sce_finish_changes() { return 0; }

long adp_sce_is_varlen() { return 0; }

long adp_sce_create_table(KAdpConnId* con, const char* table, const char* ddl, const char* template_table,
                          FILE* stream, long options) {
  if (long st = adp_db_check_conn(con)) return st;
  if (long st = adp_sce_check_name(table)) return st;
  std::string text = text_of(ddl);
  if (adp_sce_oracle() && template_table != nullptr && template_table[0] != '\0') {
    std::string clause;
    if (long st = storage_clause(con, template_table, &clause)) return st;
    text += clause;
  }
  if (long st = adp_sce_run_ddl(con, text, stream, options)) return st;
  return adp_usr_table_grant(con, table, options, 1);
}

long adp_sce_rename_table(KAdpConnId* con, const char* old_name, const char* new_name, FILE* stream, long options) {
  if (long st = adp_db_check_conn(con)) return st;
  if (long st = adp_sce_check_name(old_name)) return st;
  if (long st = adp_sce_check_name(new_name)) return st;
  const bool oracle = adp_sce_oracle();
  const std::string from = oracle ? text_of(old_name) : unowned(old_name);
  const std::string to = oracle ? text_of(new_name) : unowned(new_name);
  const std::string text = (oracle ? "RENAME " + from + " to " + to : "sp_rename " + from + ", " + to) + "\n";
  if (long st = adp_sce_run_ddl(con, text, stream, options)) return st;
  if (!oracle || !table_prefixed(from) || !table_prefixed(to)) return 0;
  if (from.find("ARRAY") != std::string::npos || from.find("array") != std::string::npos) return 0;
  return rename_oracle_indexes(con, from, to, to, stream, options);
}

long adp_sce_delete_view(KAdpConnId* con, const char* view, FILE* stream, long options) {
  if (long st = adp_db_check_conn(con)) return st;
  if (long st = adp_sce_check_name(view)) return st;
  const std::string drop = std::string("DROP VIEW ") + view + "\n";
  if ((options & ADP_SCE_SCRIPT_ONLY) != 0) return adp_sce_run_ddl(con, drop, stream, options);
  if (adp_sce_mssql()) {
    char exists = 0;
    if (long st = adp_sch_does_view_exist(con, view, &exists)) return st;
    return exists != 0 ? adp_sce_run_ddl(con, drop, stream, options) : 0;
  }
  if (long st = adp_sce_run_ddl(con, drop, stream, options)) return st;
  if (adp_sce_oracle() && adp_sce_run_ddl(con, std::string("DROP PUBLIC SYNONYM ") + view + "\n", stream, options))
    cmn_alrt_clear(nullptr);
  return 0;
}

long adp_sce_create_synonym(KAdpConnId* con, const char* name, FILE* stream, long options) {
  if (long st = adp_db_check_conn(con)) return st;
  if (!adp_sce_oracle()) return 0;
  if (long st = adp_sce_check_name(name)) return st;
  // A synonym that cannot be made leaves the table as it is.
  if (adp_sce_run_ddl(con, std::string("create public synonym ") + name + " for " + name, stream, options))
    cmn_alrt_clear(nullptr);
  return 0;
}

long adp_sce_get_table_info(KAdpConnId* con, const char* table, long* kind, long* size) {
  if (kind != nullptr) *kind = kTableKind;
  if (size == nullptr) return 0;
  *size = 0;
  if (long st = adp_db_check_conn(con)) return st;
  if (long st = adp_sce_check_name(table)) return st;
  char found = 0;
  return adp_sce_read_long(con, std::string("select count(*) from ") + table, size, &found);
}

long adp_sce_allow_nulls(KAdpConnId* con, const char* table, const char* column, long nulls, char* done) {
  if (done != nullptr) *done = 0;
  if (adp_sce_mssql()) {
    const long rc = cmn_alrt_push(nullptr, nullptr, ADP_SEQUENCE, 0);
    return rc != 0 ? rc : ADP_SEQUENCE;
  }
  if (!adp_sce_oracle()) return 0;
  if (long st = adp_db_check_conn(con)) return st;
  if (long st = adp_sce_check_name(table)) return st;
  if (long st = adp_sce_check_name(column)) return st;
  const std::string text = std::string("ALTER TABLE ") + table + " MODIFY (" + column + " " +
                           (nulls == 1 ? "NULL" : "NOT NULL") + ")";
  if (long st = adp_sce_run_ddl(con, text, nullptr, 0)) return st;
  if (done != nullptr) *done = 1;
  return 0;
}

long adp_sce_delete_lowend_rows(KAdpConnId* con, const char* table, long highest, FILE* stream, long options) {
  if (long st = adp_db_check_conn(con)) return st;
  if (long st = adp_sce_check_name(table)) return st;
  char text[256];
  std::snprintf(text, sizeof text, "delete %s where objid <= %ld", table, highest);
  if ((options & ADP_SCE_SCRIPT_ONLY) != 0 && stream == nullptr) {
    FILE* log = nullptr;
    adp_sql_get_log(&log);
    return adp_sce_run_dml(con, text, log != nullptr ? log : stdout, options);
  }
  return adp_sce_run_dml(con, text, stream, options);
}

long adp_sce_fill_table_from_table(KAdpConnId* con, const char* from, const char* to, utl_ty_col* targets,
                                   utl_ty_col* sources, utl_ty_col* /*is_value*/, FILE* stream, long options,
                                   typ_sch_srec* schema) {
  if (long st = adp_db_check_conn(con)) return st;
  return con->GetDbOperation()->SceFillTableFromTable(const_cast<char*>(from), const_cast<char*>(to), sources,
                                                      targets, nullptr, stream, options, schema);
}

long adp_sce_fill_file_from_table(KAdpConnId* con, const char* from, const char* to, utl_ty_col* targets,
                                  utl_ty_col* sources, utl_ty_col* is_value, FILE* stream, long options,
                                  typ_sch_srec* schema) {
  if (long st = adp_db_check_conn(con)) return st;
  KAdpConfig& cfg = con->GetConfig();
  auto str = [&cfg](long index) {
    return std::string(static_cast<const char*>(cfg.GetPropertyStr(static_cast<KAdpConfig::str_type>(index))));
  };
  std::string db = str(ADP_SCE_CFG_DB_NAME), login = str(ADP_SCE_CFG_LOGIN), password = str(ADP_SCE_CFG_PASSWORD),
              server = str(ADP_SCE_CFG_SERVER);
  return con->GetDbOperation()->SceFillFileFromTable(db.data(), login.data(), password.data(), server.data(),
                                                     const_cast<char*>(from), const_cast<char*>(to), schema, sources,
                                                     targets, is_value, stream, options);
}
