// Removing whole types and views: every dictionary row of a type, then its
// table, Oracle sequence and synonyms and its binary-array tables; a view's
// rows and the view; the rows of all views; a view dropped when it exists;
// and whether a table holds rows.
#include <cstdio>
#include <string>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_obj.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_sch_upg.h"
#include "adapter/adp_sch_write_int.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_sql_texts.h"
#include "adapter/dialects/adp_dbop_name.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_print.h"
#include "core/utl/utl_col.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"

namespace {

constexpr long kTableConvert = 0;
constexpr char kOwner[] = "adp_sch_delete_type";

const char* text_of(const char* text) { return text != nullptr ? text : ""; }

// A drop whose object may already be gone: its failure leaves no alert.
// Only plain names reach such a drop.
void drop_quietly(KAdpConnId* con, const std::string& name, const std::string& text) {
  if (adp_dbop_check_name(name.c_str(), false) != 0 || adp_sql_parse_ddl_now(con, "%s", text.c_str()) != 0) {
    cmn_alrt_clear(nullptr);
  }
}

// The type's Oracle sequence and its public synonym, when the sequence is
// there: a type without one (or whose sequence went earlier) is no failure.
long drop_sequence(KAdpConnId* con, const char* type_name) {
  char name[64];
  std::snprintf(name, sizeof name, "SEQ_%.26s", text_of(type_name));
  if (long st = adp_dbop_check_name(name, false)) return st;
  char exists = 0;
  if (long st = adp_sql_exec_and_fetch_now(con, &exists,
                                           "select sequence_name from user_sequences where sequence_name = upper('%s')",
                                           adp_sql_quotes_doubled(name).c_str())) {
    return st;
  }
  if (exists == 0) return 0;
  if (long st = adp_sql_parse_ddl_now(con, "DROP SEQUENCE %s", name)) return st;
  drop_quietly(con, name, std::string("DROP PUBLIC SYNONYM ") + name);
  return 0;
}

long run_all(KAdpConnId* con, const char* const* statements, long id) {
  for (const char* const* s = statements; *s != nullptr; ++s) {
    if (long st = adp_sql_exec_query(con, *s, id)) return st;
  }
  return 0;
}

// Every binary-array table of the type; each drop may fail (already gone).
long drop_array_tables(KAdpConnId* con, const char* type_name) {
  utl_ty_col* tables = nullptr;
  if (long st = adp_sch_get_barray_tables(con, type_name, &tables)) return st;
  long n = 0;
  utl_col_num(tables, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    if (utl_col_ith(tables, i, &e) != 0 || e == nullptr) continue;
    const std::string table = static_cast<const char*>(e);
    osl_print_mes("DROPPING BINARY ARRAY TABLE '%s'\n", table.c_str());
    drop_quietly(con, table, "drop table " + table);
    if (adp_db_is_db_oracle()) drop_quietly(con, table, "drop public synonym " + table);
  }
  utl_col_free(kOwner, tables);
  return 0;
}

}  // namespace

long adp_sch_delete_type_info(KAdpConnId* con, long type_id) {
  if (long st = adp_db_check_conn(con)) return st;
  static const char* const kRows[] = {"delete from adp_sch_info where type_id=%ld",
                                      "delete from adp_sch_rel_info where type_id=%ld",
                                      "delete from adp_tbl_name_map where type_id=%ld",
                                      "delete from adp_sch_index where type_id=%ld",
                                      "delete from adp_view_join_info where obj_type_id=%ld",
                                      "delete from adp_view_join_info where view_type_id=%ld",
                                      "delete from adp_view_field_info where from_obj_type=%ld",
                                      "delete from adp_view_field_info where view_type_id=%ld",
                                      nullptr};
  return adp_sch_in_transaction(con, [&]() -> long {
    if (long st = run_all(con, kRows, type_id)) return st;
    typ_sch_srec* schema = nullptr;
    if (adp_db_is_db_oracle() && type_id != -1) typ_sch_find_handle(type_id, nullptr, &schema);
    if (schema != nullptr && schema->info != nullptr) {
      if (long st = drop_sequence(con, schema->info->name)) return st;
    }
    return adp_obj_oid_init(con, type_id, 0);
  });
}

long adp_sch_delete_type(KAdpConnId* con, long type_id, const char* name) {
  // A name that cannot reach the drop leaves the dictionary as it is.
  const std::string table = std::string("table_") + text_of(name);
  if (long st = adp_dbop_check_name(table.c_str(), false)) return st;
  if (long st = adp_sch_delete_type_info(con, type_id)) return st;
  if (long st = adp_sql_parse_ddl_now(con, "drop table %s", table.c_str())) return st;
  if (adp_db_is_db_oracle()) {
    drop_quietly(con, table, "drop public synonym " + table);
    if (long st = drop_sequence(con, name)) return st;
  }
  return drop_array_tables(con, name);
}

long adp_sch_delete_view(KAdpConnId* con, long type_id, const char* name) {
  if (long st = adp_db_check_conn(con)) return st;
  static const char* const kRows[] = {"delete from adp_sch_info where type_id=%ld",
                                      "delete from adp_view_join_info where view_type_id=%ld",
                                      "delete from adp_view_field_info where view_type_id=%ld",
                                      "delete from adp_tbl_name_map where type_id=%ld", nullptr};
  if (long st = adp_sch_in_transaction(con, [&]() { return run_all(con, kRows, type_id); })) return st;
  const std::string view = adp_sch_phys(con, name, kTableConvert);
  drop_quietly(con, view, "drop view " + view);
  const std::string synonym = std::string("table_") + text_of(name);
  if (adp_db_is_db_oracle()) drop_quietly(con, synonym, "drop public synonym " + synonym);
  return 0;
}

long adp_sch_del_view_info(KAdpConnId* con) {
  if (long st = adp_db_check_conn(con)) return st;
  static const char* const kRows[] = {
      "delete from adp_tbl_name_map where type_id IN (select DISTINCT view_type_id from adp_view_field_info) ",
      "delete from adp_sch_info where type_id IN (select DISTINCT view_type_id from adp_view_field_info) ",
      "delete from adp_view_field_info ", "delete from adp_view_join_info ", nullptr};
  return adp_sch_in_transaction(con, [&]() -> long {
    for (const char* const* s = kRows; *s != nullptr; ++s) {
      if (long st = adp_sql_exec_query(con, "%s", *s)) return st;
    }
    return 0;
  });
}

long adp_sch_drop_view(KAdpConnId* con, typ_sch_srec* view) {
  if (long st = adp_db_check_conn(con)) return st;
  const char* name = view != nullptr && view->info != nullptr ? view->info->name : "";
  const std::string phys = adp_sch_phys(con, name, kTableConvert);
  if (long st = adp_dbop_check_name(phys.c_str(), false)) return st;
  char exists = 0;
  if (long st = adp_sch_does_view_exist(con, phys.c_str(), &exists)) return st;
  if (exists == 0) return 0;
  if (long st = adp_sql_parse_ddl_now(con, "drop view %s ", phys.c_str())) return st;
  const std::string synonym = std::string("table_") + name;
  if (adp_db_is_db_oracle()) drop_quietly(con, synonym, "drop public synonym " + synonym + " ");
  return 0;
}

long adp_sch_does_table_have_data(KAdpConnId* con, const char* name, char* has_rows) {
  if (has_rows != nullptr) *has_rows = 0;
  if (long st = adp_db_check_conn(con)) return st;
  if (long st = adp_dbop_check_name(name, false)) return st;
  long count = 0;
  char found = 0;
  if (long st = adp_sql_parse_now(con, "SELECT COUNT(*) FROM %s", name)) return st;
  if (long st = adp_sql_define(con, KAdpBindCol(count))) return st;
  if (long st = adp_sql_exec_and_fetch(con, &found)) return st;
  if (has_rows != nullptr) *has_rows = found != 0 && count > 0 ? 1 : 0;
  return 0;
}
