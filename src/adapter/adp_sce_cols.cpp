// Columns of a schema change made in place: new columns added with ALTER
// TABLE and set from their defaults (at once, or deferred into the
// column-initialisation script), columns given their new names, and the
// upper-case search columns filled.
#include <cstring>
#include <string>
#include <vector>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sce_int.h"
#include "adapter/adp_sch_write_int.h"
#include "core/utl/utl_col.h"
#include "schema/typ_rec.h"
#include "store/dbs_rdb.h"

namespace {

constexpr long kTableConvert = 0;
constexpr long kColumnConvert = 3;
constexpr long kSearchColumnConvert = 4;
constexpr long kTypeTextSize = 64;
constexpr long kDateType = 9;
constexpr long kLastPlainType = 8;
constexpr long kPlainType11 = 11;
constexpr long kNotAddBits = 0x3;  // operations with either bit are no additions

const char* text_of(const char* s) { return s != nullptr ? s : ""; }

std::vector<const dbs_ty_tbl_change*> records_of(utl_ty_col* list) {
  std::vector<const dbs_ty_tbl_change*> out;
  long n = 0;
  if (list == nullptr || utl_col_num(list, &n) != 0) return out;
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    if (utl_col_ith(list, i, &e) == 0 && e != nullptr) out.push_back(static_cast<const dbs_ty_tbl_change*>(e));
  }
  return out;
}

bool adds_column(long op) { return op == DBS_RDB_ADD_COLUMN || op == DBS_RDB_ADD_COLUMN2; }

const typ_sch_frec* field_named(const typ_sch_srec* s, const char* name) {
  for (long i = 0; s != nullptr && name != nullptr && i < s->nfields; ++i) {
    if (s->fields[i].name != nullptr && std::strcmp(s->fields[i].name, name) == 0) return &s->fields[i];
  }
  return nullptr;
}

// One new column as the record gives it (a rename: its new name and type).
struct new_column {
  const dbs_ty_tbl_change* record;
  std::string name;
  long db_type;
  long length;
  const typ_sch_frec* field;
};

new_column column_of(const typ_sch_srec* type, const dbs_ty_tbl_change* c) {
  const bool rename = c->op == DBS_RDB_RENAME_COLUMN;
  new_column n{c, text_of(rename ? c->second_name : c->name), rename ? c->new_db_type : c->old_db_type,
               rename ? c->new_length : c->old_length, nullptr};
  n.field = field_named(type, n.name.c_str());
  return n;
}

bool searchable(KAdpConnId* con, const typ_sch_frec* f) {
  return f != nullptr && adp_sce_upper_columns(con) && (f->flags & ADP_SCE_SEARCHABLE) != 0;
}

long type_text(const new_column& n, char* out) {
  const long precision = n.field != nullptr ? n.field->dec_precision : -1;
  const long scale = n.field != nullptr ? n.field->dec_scale : -1;
  return adp_sch_convert_to_string(n.db_type, n.length, precision, scale, out, kTypeTextSize);
}

// The value a new column is set to: its default, a date through the
// server's conversion on Oracle; empty when the type takes none.
std::string initial_value(KAdpConnId* con, const new_column& n) {
  const std::string value = text_of(n.record->default_text);
  if ((n.db_type >= 0 && n.db_type <= kLastPlainType) || n.db_type == kPlainType11) return value;
  if (n.db_type != kDateType) return "";
  if (adp_sce_oracle()) return "TO_DATE(" + value + ", '" + adp_sce_date_format(con) + "')";
  return adp_sce_mssql() ? value : "";
}

// "update T set" with one item per defaulted new column; empty when no
// column takes a value.
std::string initialisation(KAdpConnId* con, const std::string& table, const std::vector<new_column>& columns) {
  std::string items;
  auto item = [&items](const std::string& text) { items += (items.empty() ? " " : ",\n  ") + text; };
  for (const new_column& n : columns) {
    if ((n.record->op & kNotAddBits) != 0 || n.record->default_text == nullptr) continue;
    const std::string value = initial_value(con, n);
    if (value.empty()) continue;
    item(adp_sch_phys(con, n.name.c_str(), kColumnConvert) + " = " + value);
    if (searchable(con, n.field))
      item(adp_sch_phys(con, n.name.c_str(), kSearchColumnConvert) + " = upper(" + value + ")");
  }
  if (items.empty()) return "";
  return "update " + table + " set\n" + items + "\n";
}

long defer(KAdpConnId* con, std::string text, FILE* script) {
  text += "/* SQL_GO */\n";
  if (adp_sce_oracle()) {
    text += ";\n";
  } else if (adp_sce_mssql()) {
    const KCLASSIC::KZString db = con->GetConfig().GetPropertyStr(static_cast<KAdpConfig::str_type>(ADP_SCE_CFG_DB_NAME));
    text += "go\ndump tran " + std::string(static_cast<const char*>(db)) + " with truncate_only\ngo\n";
  }
  std::fputs(text.c_str(), script);
  return 0;
}

}  // namespace

long adp_sce_add_columns(KAdpConnId* con, typ_sch_srec* type, utl_ty_col* changes, FILE* stream, long options) {
  if (long st = adp_db_check_conn(con)) return st;
  std::vector<new_column> columns;
  for (const dbs_ty_tbl_change* c : records_of(changes)) {
    if (adds_column(c->op) || c->op == DBS_RDB_RENAME_COLUMN) columns.push_back(column_of(type, c));
  }
  if (columns.empty() || type == nullptr || type->info == nullptr) return 0;
  const std::string table = adp_sch_phys(con, type->info->name, kTableConvert);
  if (long st = adp_sce_check_name(table.c_str())) return st;
  const bool oracle = adp_sce_oracle();
  std::string text = "ALTER TABLE " + table + " add " + (oracle ? "(" : "");
  bool adding = false, initialise = false;
  for (size_t i = 0; i < columns.size(); ++i) {
    const new_column& n = columns[i];
    char type_name[kTypeTextSize] = "";
    if (long st = type_text(n, type_name)) return st;
    const std::string column = adp_sch_phys(con, n.name.c_str(), kColumnConvert);
    if (long st = adp_sce_check_name(column.c_str())) return st;
    text += std::string(i == 0 ? " " : ",\n  ") + column + " " + type_name + " null";
    if (searchable(con, n.field)) {
      text += ",\n " + adp_sch_phys(con, n.name.c_str(), kSearchColumnConvert) + " " + type_name + " null";
      initialise = true;
    }
    if (n.record->default_text != nullptr) initialise = true;
    adding = adding || n.record->op == DBS_RDB_ADD_COLUMN;
  }
  text += oracle ? ")\n" : "\n";
  if (long st = adp_sce_run_ddl(con, text, stream, options)) return st;
  if (!adding || !initialise) return 0;
  const std::string update = initialisation(con, table, columns);
  if (update.empty()) return 0;
  if (FILE* deferred = adp_sce_defer_file()) return defer(con, update, deferred);
  return adp_sce_run_dml(con, update, stream, options);
}

long adp_sce_rename_columns(KAdpConnId* con, typ_sch_srec* type, utl_ty_col* changes, FILE* stream, long options) {
  if (long st = adp_db_check_conn(con)) return st;
  for (const dbs_ty_tbl_change* c : records_of(changes)) {
    if (c->op != DBS_RDB_RENAME_COLUMN || c->name == nullptr || c->second_name == nullptr) continue;
    std::vector<std::pair<std::string, std::string>> pairs{
        {adp_sch_phys(con, c->name, kColumnConvert), adp_sch_phys(con, c->second_name, kColumnConvert)}};
    // A searchable field's search column follows its column.
    if (searchable(con, field_named(type, c->second_name)))
      pairs.emplace_back(adp_sch_phys(con, c->name, kSearchColumnConvert),
                         adp_sch_phys(con, c->second_name, kSearchColumnConvert));
    const std::string table = c->table_name;
    if (long st = adp_sce_check_name(table.c_str())) return st;
    for (const auto& [from, to] : pairs) {
      if (long st = adp_sce_check_name(from.c_str())) return st;
      if (long st = adp_sce_check_name(to.c_str())) return st;
      const std::string text = adp_sce_oracle()
                                   ? "ALTER TABLE " + table + " RENAME COLUMN " + from + " TO " + to
                                   : "sp_rename '" + table + "." + from + "', '" + to + "', 'COLUMN'";
      if (long st = adp_sce_run_ddl(con, text, stream, options)) return st;
    }
  }
  return 0;
}

long adp_sce_make_table_searchable(KAdpConnId* con, typ_sch_srec* schema, const char* table, FILE* stream,
                                   long options) {
  if (long st = adp_db_check_conn(con)) return st;
  if (schema == nullptr || !adp_sce_upper_columns(con)) return 0;
  std::string text;
  for (long i = 0; i < schema->nfields; ++i) {
    const typ_sch_frec& f = schema->fields[i];
    if (!searchable(con, &f)) continue;
    const std::string column = adp_sch_phys(con, f.name, kColumnConvert);
    text += (text.empty() ? " " : ", ") + adp_sch_phys(con, f.name, kSearchColumnConvert) + " = upper(" + column + ")";
  }
  if (text.empty()) return 0;
  if (long st = adp_sce_check_name(table)) return st;
  return adp_sce_run_dml(con, std::string("UPDATE ") + table + " set" + text, stream, options);
}
