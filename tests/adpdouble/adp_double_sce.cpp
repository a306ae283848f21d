// The adapter double's schema-change calls: each is recorded with its
// arguments as texts (tables and names as given, schema records by type
// id) and answers from the settings of adp_double_sce.h.
#include "adpdouble/adp_double_sce.h"

#include <cstdarg>
#include <cstdio>
#include <map>
#include <set>
#include <string>

#include "adapter/adp_sce.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_sql.h"
#include "adpdouble/adp_double.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "core/utl/utl_pl.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"

using adp_double::record;

namespace adp_double {
namespace {

struct sce_state {
  std::set<std::string> existing;
  std::set<std::string> with_rows;
  std::map<std::string, long> sizes;
  long sequence = 0;
  long perf_flag = 0;
  std::map<long, std::vector<std::string>> index_names;
  std::vector<std::string> failed;
  std::vector<std::string> triggers;
  std::vector<std::string> journal;
  std::string mtm_buffer;
};

sce_state& sst() {
  static sce_state s;
  return s;
}

}  // namespace

void set_table_exists(const std::string& table, bool exists) {
  if (exists)
    sst().existing.insert(table);
  else
    sst().existing.erase(table);
}
void set_table_has_rows(const std::string& table, bool has_rows) {
  if (has_rows)
    sst().with_rows.insert(table);
  else
    sst().with_rows.erase(table);
}
void set_table_size(const std::string& table, long size) { sst().sizes[table] = size; }
void set_journal_sequence(long highest) { sst().sequence = highest; }
void set_perf_flag(long flag) { sst().perf_flag = flag; }
void set_index_names(long type_id, std::vector<std::string> names) { sst().index_names[type_id] = std::move(names); }
void set_failed_indexes(std::vector<std::string> names) { sst().failed = std::move(names); }
void set_triggers(std::vector<std::string> ddl) { sst().triggers = std::move(ddl); }
const std::vector<std::string>& journal() { return sst().journal; }
void sce_reset() { sst() = sce_state{}; }

}  // namespace adp_double

namespace {

using adp_double::sst;

std::string num(long n) { return std::to_string(n); }
std::string txt(const char* s) { return s ? s : "(null)"; }
std::string sch(const typ_sch_srec* s) { return s ? num(s->type_id) : "(null)"; }
std::string opt(FILE* stream, long options) { return std::string(stream ? "stream" : "-") + "/" + num(options); }
std::string chg(const dbs_ty_tbl_change* c) { return c ? "change" : "(null)"; }

// Appends copies of the texts to a text list (type 516).
long push_texts(utl_ty_col* col, const std::vector<std::string>& texts) {
  for (const auto& t : texts)
    if (long st = utl_col_push(col, t.c_str(), nullptr)) return st;
  return 0;
}

// The texts of a text list joined by ','.
std::string joined(utl_ty_col* col) {
  std::string out;
  long n = 0;
  if (!col || utl_col_num(col, &n)) return "(null)";
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(col, i, &e);
    if (i) out += ',';
    out += e ? static_cast<const char*>(e) : "";
  }
  return out;
}

}  // namespace

long adp_sch_table_def(KAdpConnId*, typ_sch_srec* schema, const char* table, FILE*, char flag, utl_ty_estr** text) {
  if (long st = record("adp_sch_table_def", {sch(schema), txt(table), num(flag)},
                       {schema, const_cast<char*>(table), text}))
    return st;
  std::string name = table ? table : (schema && schema->info ? std::string("table_") + schema->info->name : "?");
  std::string def = "create table " + name + " (...)";
  return utl_estr_create("adp_sch_table_def", def.c_str(), 64, 64, text);
}

const char* adp_sch_mtm_table_def(typ_sch_rrec* rel, long roamer) {
  std::string table = rel && rel->mtm_table ? rel->mtm_table : "(null)";
  record("adp_sch_mtm_table_def", {table, num(roamer)}, {rel});
  sst().mtm_buffer = "CREATE TABLE " + table + " (...)";
  return sst().mtm_buffer.c_str();
}

long adp_sch_does_tbl_exist(KAdpConnId*, const char* name, char* exists) {
  if (long st = record("adp_sch_does_tbl_exist", {txt(name)})) return st;
  *exists = name && sst().existing.count(name) ? 1 : 0;
  return 0;
}

long adp_sch_does_col_exist(KAdpConnId*, const char* table, const char* column, char* exists) {
  if (long st = record("adp_sch_does_col_exist", {txt(table), txt(column)})) return st;
  *exists = table && column && sst().existing.count(std::string(table) + "." + column) ? 1 : 0;
  return 0;
}

long adp_sch_does_table_have_data(KAdpConnId*, const char* name, char* has_rows) {
  if (long st = record("adp_sch_does_table_have_data", {txt(name)})) return st;
  *has_rows = name && sst().with_rows.count(name) ? 1 : 0;
  return 0;
}

long adp_sch_convert_to_string(long db_type, long length, long precision, long scale, char* out, long size) {
  if (long st = record("adp_sch_convert_to_string", {num(db_type), num(length), num(precision), num(scale)}))
    return st;
  std::snprintf(out, static_cast<size_t>(size), "t%ld(%ld)", db_type, length);
  return 0;
}

long adp_sch_create_objid_index(KAdpConnId*, typ_sch_srec* schema, FILE* stream, long options) {
  return record("adp_sch_create_objid_index", {sch(schema), opt(stream, options)}, {schema});
}

const char* adp_obj_default_string() { return "''"; }
const char* adp_obj_default_datetime() { return "'01/01/1753 00:00:00'"; }

long adp_sce_prepare_for_changes() { return record("adp_sce_prepare_for_changes", {}); }
long adp_sce_finish_changes() { return record("adp_sce_finish_changes", {}); }

long adp_sce_create_table(KAdpConnId*, const char* table, const char* ddl, const char* template_table, FILE* stream,
                          long options) {
  return record("adp_sce_create_table", {txt(table), txt(ddl), txt(template_table), opt(stream, options)});
}
long adp_sce_delete_table(KAdpConnId*, const char* table, FILE* stream, long options) {
  return record("adp_sce_delete_table", {txt(table), opt(stream, options)});
}
long adp_sce_rename_table(KAdpConnId*, const char* old_name, const char* new_name, FILE* stream, long options) {
  return record("adp_sce_rename_table", {txt(old_name), txt(new_name), opt(stream, options)});
}
long adp_sce_delete_view(KAdpConnId*, const char* view, FILE* stream, long options) {
  return record("adp_sce_delete_view", {txt(view), opt(stream, options)});
}
long adp_sce_create_synonym(KAdpConnId*, const char* name, FILE* stream, long options) {
  return record("adp_sce_create_synonym", {txt(name), opt(stream, options)});
}
long adp_sce_add_columns(KAdpConnId*, typ_sch_srec* type, utl_ty_col* changes, FILE* stream, long options) {
  long n = 0;
  if (changes) utl_col_num(changes, &n);
  return record("adp_sce_add_columns", {sch(type), num(n), opt(stream, options)}, {type, changes});
}
long adp_sce_rename_columns(KAdpConnId*, typ_sch_srec* type, utl_ty_col* changes, FILE* stream, long options) {
  long n = 0;
  if (changes) utl_col_num(changes, &n);
  return record("adp_sce_rename_columns", {sch(type), num(n), opt(stream, options)}, {type, changes});
}
long adp_sce_make_table_searchable(KAdpConnId*, typ_sch_srec* schema, const char* table, FILE* stream,
                                   long options) {
  return record("adp_sce_make_table_searchable", {sch(schema), txt(table), opt(stream, options)});
}
long adp_sce_get_table_info(KAdpConnId*, const char* table, long* kind, long* size) {
  if (long st = record("adp_sce_get_table_info", {txt(table)})) return st;
  if (kind) *kind = 2;
  if (size) {
    auto it = table ? sst().sizes.find(table) : sst().sizes.end();
    *size = it == sst().sizes.end() ? 0 : it->second;
  }
  return 0;
}
long adp_sce_fill_table_from_table(KAdpConnId*, const char* from, const char* to, utl_ty_col* targets,
                                   utl_ty_col* sources, utl_ty_col* is_value, FILE* stream, long options,
                                   typ_sch_srec*) {
  return record("adp_sce_fill_table_from_table",
                {txt(from), txt(to), joined(targets), joined(sources), joined(is_value), opt(stream, options)});
}
long adp_sce_fill_file_from_table(KAdpConnId*, const char* from, const char* to, utl_ty_col* targets,
                                  utl_ty_col* sources, utl_ty_col* is_value, FILE* stream, long options,
                                  typ_sch_srec*) {
  return record("adp_sce_fill_file_from_table",
                {txt(from), txt(to), joined(targets), joined(sources), joined(is_value), opt(stream, options)});
}
long adp_sce_upgrade_exclusive(KAdpConnId*, const dbs_ty_tbl_change* change, const char* source, const char* target,
                               FILE* stream, long options) {
  return record("adp_sce_upgrade_exclusive", {chg(change), txt(source), txt(target), opt(stream, options)},
                {const_cast<dbs_ty_tbl_change*>(change)});
}
long adp_sce_modify_flags(KAdpConnId*, const dbs_ty_tbl_change* change) {
  return record("adp_sce_modify_flags", {chg(change)}, {const_cast<dbs_ty_tbl_change*>(change)});
}

long adp_sce_insert_upgrade_ops(KAdpConnId*, long objid, long version, long opcode, const char* object_name,
                                const char* field_name, const char* details) {
  std::vector<std::string> args{num(objid), num(version), num(opcode), txt(object_name), txt(field_name),
                                txt(details)};
  if (long st = record("adp_sce_insert_upgrade_ops", args)) return st;
  std::string row;
  for (size_t i = 0; i < args.size(); ++i) row += (i ? "|" : "") + args[i];
  sst().journal.push_back(row);
  return 0;
}
long adp_sce_get_sequence(KAdpConnId*, long* highest) {
  if (long st = record("adp_sce_get_sequence", {})) return st;
  *highest = sst().sequence;
  return 0;
}

long adp_ind_add_index(KAdpConnId*, typ_sch_srec* type, const char* name, utl_ty_col* fields, long flags,
                       FILE* stream, long options) {
  return record("adp_ind_add_index", {sch(type), txt(name), joined(fields), num(flags), opt(stream, options)});
}
long adp_ind_list_index(KAdpConnId*, long type_id, utl_ty_col* names) {
  if (long st = record("adp_ind_list_index", {num(type_id)})) return st;
  auto it = sst().index_names.find(type_id);
  return it == sst().index_names.end() ? 0 : push_texts(names, it->second);
}
long adp_ind_drop_an_index(KAdpConnId*, long type_id, const char* name, FILE* stream, long options,
                           long delete_row) {
  return record("adp_ind_drop_an_index", {num(type_id), txt(name), opt(stream, options), num(delete_row)});
}
long adp_ind_get_table_index(KAdpConnId*, typ_sch_srec* type, utl_ty_col* records) {
  return record("adp_ind_get_table_index", {sch(type)}, {type, records});
}
long adp_ind_clean_sch_index(KAdpConnId*, typ_sch_srec* type, utl_ty_col*, utl_ty_col* schema_indexes) {
  long n = 0;
  if (schema_indexes) utl_col_num(schema_indexes, &n);
  return record("adp_ind_clean_sch_index", {sch(type), num(n)});
}
long adp_ind_drop_table_index(KAdpConnId*, typ_sch_srec* type, utl_ty_col*, FILE* stream, long options) {
  return record("adp_ind_drop_table_index", {sch(type), opt(stream, options)});
}
long adp_ind_build_table_index(KAdpConnId*, typ_sch_srec* type, utl_ty_col*, utl_ty_estr** failed, FILE* stream,
                               long options) {
  if (long st = record("adp_ind_build_table_index", {sch(type), opt(stream, options)})) return st;
  for (const auto& name : sst().failed) {
    if (!*failed)
      if (long st = utl_estr_create("adp_ind_build_table_index", "", 80, 80, failed)) return st;
    if (long st = utl_estr_aprintf(*failed, "%s\n", name.c_str())) return st;
  }
  return 0;
}
long adp_ind_free_res_ind_col(utl_ty_col*) { return record("adp_ind_free_res_ind_col", {}); }

long adp_bar_create_with_name(KAdpConnId*, const char* name, long gen_id) {
  return record("adp_bar_create_with_name", {txt(name), num(gen_id)});
}
long adp_bar_table_name(const char* type_name, utl_ty_pool* pool, long gen_id, char** out) {
  if (long st = record("adp_bar_table_name", {txt(type_name), num(gen_id)})) return st;
  std::string name = "array_" + txt(type_name) + "_" + num(gen_id);
  return utl_pl_alloc_string(pool, name.c_str(), out);
}

long adp_stp_get_table_trigger(KAdpConnId*, typ_sch_srec* schema, utl_ty_col** triggers) {
  if (long st = record("adp_stp_get_table_trigger", {sch(schema)})) return st;
  if (long st = utl_col_make("adp_stp_get_table_trigger", 516, 4, 4, 0, 0, triggers)) return st;
  return push_texts(*triggers, sst().triggers);
}
long adp_stp_build_table_trigger(KAdpConnId*, long, utl_ty_col* triggers) {
  return record("adp_stp_build_table_trigger", {joined(triggers)});
}
long adp_stp_free_table_trigger(utl_ty_col* triggers) {
  record("adp_stp_free_table_trigger", {});
  return triggers ? utl_col_free("adp_stp_free_table_trigger", triggers) : 0;
}

long adp_sql_get_perf_flag(KAdpConnId*) { return sst().perf_flag; }

long adp_db_log_msg(const char* format, ...) {
  char line[1024];
  va_list ap;
  va_start(ap, format);
  std::vsnprintf(line, sizeof line, format, ap);
  va_end(ap);
  return record("adp_db_log_msg", {line});
}
