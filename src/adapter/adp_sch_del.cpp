// Removing a field or a relation from a type: its columns leave the table,
// its dictionary row is deleted and the rows after it move down one place,
// each moved row first recorded in de_updates when the offline feature is
// on; a relation's other end goes the same way in its own type.
#include "adapter/adp_sch_del.h"

#include <cstring>
#include <string>
#include <vector>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_sch_write_int.h"
#include "adapter/adp_sql.h"
#include "adapter/dialects/adp_dbop_name.h"
#include "core/osl/osl_print.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"
#include "store/dbs_db.h"

namespace {

constexpr long kTableConvert = 0;
constexpr long kColumnConvert = 3;
constexpr long kSearchColumnConvert = 4;
constexpr long kRelColumnConvert = 5;
constexpr unsigned long kSearchable = 0x100;

const char* text_of(const char* text) { return text != nullptr ? text : ""; }

// A dictionary table whose rows are numbered within their type.
struct numbered_rows {
  const char* table;
  const char* column;
};

constexpr numbered_rows kFieldRows{"adp_sch_info", "spec_field_id"};
constexpr numbered_rows kRelRows{"adp_sch_rel_info", "spec_rel_id"};

// One change row per row about to move down: "1 <column> <length> <new
// number>". SQL Server converts to varchar, so no padding reaches the text.
long record_moves(KAdpConnId* con, const numbered_rows& rows, long type_id, long spec) {
  if (adp_db_is_db_mssql()) {
    return adp_sql_exec_query(con,
                              "insert into de_updates(row_id, row_ver, prev_row_ver, table_name, tx_detail) "
                              "select objid, dev+1, dev, '%s', '1 %s ' + convert(varchar, LEN(convert(varchar, "
                              "%s-1))) + ' ' + convert(varchar, %s-1) from %s where type_id=%ld and %s>%ld",
                              rows.table, rows.column, rows.column, rows.column, rows.table, type_id, rows.column,
                              spec);
  }
  return adp_sql_exec_query(con,
                            "insert into de_updates(row_id, row_ver, prev_row_ver, table_name, tx_detail) "
                            "select objid, dev+1, dev, '%s', concat('1 %s ', concat(TO_CHAR(LENGTH(TO_CHAR(%s-1))), "
                            "concat(' ', TO_CHAR(%s-1)))) from %s where type_id=%ld and %s>%ld",
                            rows.table, rows.column, rows.column, rows.column, rows.table, type_id, rows.column, spec);
}

// Deletes row spec of the type and moves the later ones down, in a
// transaction of its own.
long delete_and_renumber(KAdpConnId* con, const numbered_rows& rows, long type_id, long spec) {
  return adp_sch_in_transaction(con, [&]() -> long {
    if (long st = adp_sql_exec_query(con, "delete from %s where type_id=%ld and %s=%ld", rows.table, type_id,
                                     rows.column, spec)) {
      return st;
    }
    char roamer = 0;
    dbs_db_if_roamer_enabled(con, &roamer);
    if (roamer != 0) {
      if (long st = record_moves(con, rows, type_id, spec)) return st;
    }
    return adp_sql_exec_query(con, "update %s set %s=%s-1 where type_id=%ld and %s>%ld", rows.table, rows.column,
                              rows.column, type_id, rows.column, spec);
  });
}

// Drops the columns from the table; a column that is not there is skipped.
long drop_columns(KAdpConnId* con, const std::string& table, const std::vector<std::string>& columns) {
  if (long st = adp_dbop_check_name(table.c_str(), false)) return st;
  for (const std::string& column : columns) {
    if (long st = adp_dbop_check_name(column.c_str(), false)) return st;
    char exists = 0;
    if (long st = adp_sch_does_col_exist(con, table.c_str(), column.c_str(), &exists)) return st;
    if (exists == 0) continue;
    if (long st = adp_sql_parse_ddl_now(con, "ALTER TABLE %s DROP COLUMN %s", table.c_str(), column.c_str())) {
      return st;
    }
  }
  return 0;
}

const typ_sch_frec* field_named(const typ_sch_srec* schema, const char* name) {
  if (schema == nullptr || name == nullptr) return nullptr;
  for (long i = 0; i < schema->nfields; ++i) {
    if (schema->fields[i].name != nullptr && std::strcmp(schema->fields[i].name, name) == 0) return &schema->fields[i];
  }
  return nullptr;
}

bool names_equal(const char* a, const char* b) { return std::strcmp(text_of(a), text_of(b)) == 0; }

// Another live relation of the same foreign-side type writes into the same
// exclusive column pair.
bool pair_shared(const typ_sch_rrec* rel) {
  for (long i = 0; i < typ_sch_num_rels; ++i) {
    const typ_sch_rrec& r = typ_sch_relations[i];
    if (&r == rel || r.type == 0 || r.exclusive == 0 || r.fschema != rel->fschema) continue;
    if (names_equal(r.phys_name, rel->phys_name)) return true;
  }
  return false;
}

// The columns adp_sch_rel_create made on the foreign side's table: the
// exclusive pair (physical name and focus) of a relation with relation
// flags, else its own key column; a link table's relation made none.
std::vector<std::string> relation_columns(KAdpConnId* con, const typ_sch_rrec* rel) {
  if ((rel->type & 0xff) == TYP_REL_MTM) return {};
  if (rel->exclusive == 0) return {adp_sch_phys(con, rel->fname, kRelColumnConvert)};
  if (pair_shared(rel)) return {};
  std::vector<std::string> out{adp_sch_phys(con, rel->phys_name, kRelColumnConvert)};
  if (rel->focus_field != nullptr && rel->focus_field[0] != '\0') {
    out.push_back(adp_sch_phys(con, rel->focus_field, kColumnConvert));
  }
  return out;
}

}  // namespace

long adp_sch_delete_field(KAdpConnId* con, long type_id, const char* type_name, long spec_field_id,
                          const char* field_name, typ_sch_srec* schema) {
  if (long st = adp_db_check_conn(con)) return st;
  std::vector<std::string> columns{adp_sch_phys(con, field_name, kColumnConvert)};
  const typ_sch_frec* f = field_named(schema, field_name);
  const bool upper = (con->GetHeader()->flags & ADP_HEAD_UPPER_COLUMNS) != 0;
  if (upper && f != nullptr && (f->flags & kSearchable) != 0) {
    columns.push_back(adp_sch_phys(con, field_name, kSearchColumnConvert));
  }
  if (long st = drop_columns(con, adp_sch_phys(con, type_name, kTableConvert), columns)) return st;
  return delete_and_renumber(con, kFieldRows, type_id, spec_field_id);
}

long adp_sch_delete_rel(KAdpConnId* con, long type_id, const char* /*type_name*/, char side, typ_sch_rrec* rel) {
  if (long st = adp_db_check_conn(con)) return st;
  if (rel->fschema != nullptr && rel->fschema->info != nullptr) {
    const std::string table = adp_sch_phys(con, rel->fschema->info->name, kTableConvert);
    if (long st = drop_columns(con, table, relation_columns(con, rel))) return st;
  }
  const long spec = side == 'p' ? rel->pspec : rel->fspec;
  if (long st = delete_and_renumber(con, kRelRows, type_id, spec)) return st;
  return adp_sch_delete_inv_rel(con, side, rel);
}

long adp_sch_delete_inv_rel(KAdpConnId* con, char side, typ_sch_rrec* rel) {
  if (long st = adp_db_check_conn(con)) return st;
  const typ_sch_srec* other = side == 'p' ? rel->fschema : rel->pschema;
  const long type_id = other != nullptr ? other->type_id : -1;
  const long spec = side == 'p' ? rel->fspec : rel->pspec;
  osl_print_mes("Deleting rel '%s/%s', inv type=%ld, spec_rel_id=%ld\n", text_of(rel->pname), text_of(rel->fname),
                type_id, spec);
  return delete_and_renumber(con, kRelRows, type_id, spec);
}

long adp_sch_get_trigger(KAdpConnId*, const char*, long, char* found, char* enabled) {
  if (found != nullptr) *found = 0;
  if (enabled != nullptr) *enabled = 0;
  return 0;
}
