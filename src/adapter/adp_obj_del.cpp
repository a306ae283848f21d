// Object SQL: deleting an object row with the references to it (link rows,
// foreign keys of one and two columns, their change rows), foreign-key
// column reads, and the unique-key alert.
#include <cstring>
#include <string>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_obj.h"
#include "adapter/adp_obj_int.h"
#include "adapter/adp_rel.h"
#include "adapter/adp_sch.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_trn.h"
#include "adapter/dialects/adp_dbop.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"
#include "store/dbs_db.h"

namespace {

constexpr long kChangeRowPhrase = 20;
constexpr long kDevStepPhrase = 28;
constexpr long kFieldTextPhrase = 37;
constexpr long kLastTypeNumber = 10;

struct del_ctx {
  KAdpConnId* con;
  long number;
  long type_word;
  bool roamer;
  bool oracle;
};

long run(KAdpConnId* con, KAdpSqlBatch* b) {
  if (long st = adp_sql_parse(con, b)) return st;
  if (long st = adp_sql_execute(con, b)) return st;
  return adp_sql_free(con, b);
}

// Clears one foreign-key column (or the pair) that points to the object.
long clear_reference(const del_ctx& d, const typ_sch_rrec* r, bool pair) {
  const char* table = nullptr;
  if (long st = adp_sch_tbl_find(r->fschema->type_id, &table)) return st;
  const char* column = pair ? r->phys_name : r->fname;
  if (!d.roamer && !pair) return adp_sql_exec_query(d.con, "UPDATE %s SET %s = NULL WHERE %s = %ld", table, column,
                                                    column, d.number);
  void* stmt = nullptr;
  if (long st = adp_sql_create(d.con, &stmt)) return st;
  auto* b = static_cast<KAdpSqlBatch*>(stmt);
  if (!d.roamer) {
    b->AppendSqlFormat("update %s set %s = NULL, %s = NULL where %s = ", table, column, r->focus_field, column);
    *b << KAdpBindParam(d.number);
    b->AppendSqlFormat(" and %s = ", r->focus_field);
    *b << KAdpBindParam(d.type_word);
    return run(d.con, b);
  }
  const std::string detail = pair ? "2 " + std::string(column) + " 4 " + r->focus_field + " 4 NULLNULL"
                                  : "1 " + std::string(column) + " 4 NULL";
  if (d.oracle) *b << (pair ? " BEGIN \n " : "BEGIN \n ");
  *b << adp_obj_phrase(d.con, kChangeRowPhrase) << KAdpBindParam(adp_obj_keep_text(table)) << ", "
     << KAdpBindParam(adp_obj_keep_text(detail));
  b->AppendSqlFormat("\n from %s where %s = ", table, column);
  *b << KAdpBindParam(d.number);
  // A pair names this type in its focus column: a row that points to an
  // object of another type with the same number is left alone.
  if (pair) b->AppendSqlFormat(" and %s = %ld", r->focus_field, d.type_word);
  *b << "; \n";
  b->AppendSqlFormat(adp_obj_phrase(d.con, kDevStepPhrase), table);
  if (pair) {
    b->AppendSqlFormat("%s = NULL, %s = NULL WHERE %s = %ld AND %s = %ld\n", column, r->focus_field, column,
                       d.number, r->focus_field, d.type_word);
  } else {
    b->AppendSqlFormat("%s = NULL WHERE %s = %ld\n", column, column, d.number);
  }
  if (d.oracle) *b << (pair ? " ; END; " : " ; END ; ");
  else *b << KAdpSqlBatch::kEndStmt;
  return run(d.con, b);
}

long clear_relation(const del_ctx& d, const typ_sch_rel_inst& e) {
  const typ_sch_rrec* r = e.rel;
  if (r == nullptr) return 0;
  if (r->type == TYP_REL_MTM) {
    const char* column = e.side == 'p' ? r->pname : r->fname;
    return adp_sql_exec_query(d.con, "DELETE FROM %s WHERE %s = %ld", r->mtm_table, column, d.number);
  }
  if (e.side != 'p' || r->fschema == nullptr) return 0;
  return clear_reference(d, r, adp_obj_rel_pair(&e));
}

}  // namespace

long adp_obj_delete(KAdpConnId* con, obj_id* id, long force) {
  adp_obj_kept_texts().clear();
  if (long st = adp_db_check_conn(con)) return st;
  typ_sch_srec* s = nullptr;
  if (long st = typ_sch_find_handle(id->type & 0x1FFFF, nullptr, &s)) return st;
  if (s->flags & ADP_SCH_STRUCTURE) return adp_obj_push(ADP_OBJ_DEL_STRUCT, 1, id->num);
  if ((force & 0xFF) == 0 && !(s->flags & ADP_SCH_DELETABLE)) return adp_obj_push(ADP_OBJ_NO_DELETE, 1, s->info->name);
  const char* table = nullptr;
  if (long st = adp_sch_tbl_find(s->type_id, &table)) return st;
  long oid = -1;
  if (long st = typ_sch_gen_to_sp(s, TYP_GENERIC | ADP_GEN_OBJID, &oid)) return st;
  char roamer = 0;
  dbs_db_if_roamer_enabled(con, &roamer);
  const del_ctx d{con, id->num, id->type & 0x1FFFF, roamer != 0, adp_db_is_db_oracle() != 0};
  if (long st = adp_trn_begin(con)) return st;
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  if (long st = adp_sql_sprintf(con, stmt, "DELETE FROM %s WHERE %s = %ld", table, s->fields[oid].name, id->num))
    return st;
  if (long st = run(con, static_cast<KAdpSqlBatch*>(stmt))) return st;
  for (long i = 0; i < s->nrels; ++i) {
    if (long st = clear_relation(d, s->rels[i])) return st;
  }
  return adp_trn_commit(con);
}

namespace {

long fk_read(KAdpConnId* con, long type_id, long number, long n, long* values,
             const std::string& select_list) {
  if (n <= 0) return 0;
  const char* table = nullptr;
  if (long st = adp_sch_tbl_find(type_id, &table)) return st;
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  auto* b = static_cast<KAdpSqlBatch*>(stmt);
  *b << " select " << adp_obj_keep_text(select_list);
  b->AppendSqlFormat("\n from %s", table);
  *b << "\n where objid = " << KAdpBindParam(number);
  for (long i = 0; i < n; ++i) {
    values[i] = 0;
    if (long st = adp_sql_define(con, KAdpBindCol(values[i]))) return st;
  }
  char found = 0;
  if (long st = adp_sql_exec_and_fetch(con, &found)) return st;
  return adp_sql_free(con, stmt);
}

}  // namespace

long adp_obj_get_fk_cols(KAdpConnId* con, long type_id, long number, long n, const char* const* columns,
                         long* values) {
  adp_obj_kept_texts().clear();
  std::string list;
  for (long i = 0; i < n; ++i) list += (i > 0 ? "," : "") + std::string(columns[i]);
  return fk_read(con, type_id, number, n, values, list);
}

long adp_obj_get_fk_cols_ex(KAdpConnId* con, long type_id, long number, long n, const char* const* columns,
                            const char* const* type_columns, const char* const* id_columns, const long* wanted_types,
                            long* values) {
  adp_obj_kept_texts().clear();
  const bool oracle = adp_db_is_db_oracle() != 0;
  std::string list;
  for (long i = 0; i < n; ++i) {
    if (i > 0) list += ",";
    const char* tc = type_columns != nullptr ? type_columns[i] : nullptr;
    if (tc == nullptr || *tc == '\0') {
      list += columns[i];
      continue;
    }
    char buf[512];
    if (oracle) {
      std::snprintf(buf, sizeof buf, "DECODE(%s, %ld, %s, NULL) AS %s", tc, wanted_types[i], id_columns[i],
                    columns[i]);
    } else {
      std::snprintf(buf, sizeof buf, "%s = (CASE when %s = %ld then %s else NULL END)", columns[i], tc,
                    wanted_types[i], id_columns[i]);
    }
    list += buf;
  }
  return fk_read(con, type_id, number, n, values, list);
}

long adp_obj_get_fk_cols_batch(KAdpConnId* con, long type_id, long number, long n, const char* const* columns,
                               long* values) {
  return adp_obj_get_fk_cols(con, type_id, number, n, columns, values);
}

long adp_obj_get_fk_cols_batch_ex(KAdpConnId* con, long type_id, long number, long n, const char* const* columns,
                                  const char* const* type_columns, const char* const* id_columns,
                                  const long* wanted_types, long* values) {
  return adp_obj_get_fk_cols_ex(con, type_id, number, n, columns, type_columns, id_columns, wanted_types, values);
}

long adp_obj_get_fk_cols_sql(KAdpConnId*, long type_id, long number, long n, const char* const* columns,
                             const char* proc, long lock, char* out, long size) {
  if (out == nullptr || size <= 0) return adp_obj_push(ADP_BAD_VALUE_TYPE, 1, size);
  *out = '\0';
  if (adp_db_is_db_oracle() || n <= 0) return 0;
  const char* table = nullptr;
  if (long st = adp_sch_tbl_find(type_id, &table)) return st;
  const bool as_proc = proc != nullptr && *proc != '\0';
  std::string text = as_proc ? "create proc " + std::string(proc) + " @the_id int as\n" : "";
  text += "select ";
  for (long i = 0; i < n; ++i) text += (i > 0 ? "," : " ") + std::string(columns[i]);
  text += "\n from " + std::string(table) + " " + (lock ? "HOLDLOCK" : "") + "\n";
  text += as_proc ? " where objid=@the_id\n" : " where objid=" + std::to_string(number);
  if (static_cast<long>(text.size()) >= size) return adp_obj_push(ADP_BAD_VALUE_TYPE, 1, size);
  std::memcpy(out, text.c_str(), text.size() + 1);
  return 0;
}

long adp_obj_get_multi_fk_cols_sql(...) { return 0; }

long adp_obj_not_unique_fields(long* type_id, const char** fields) {
  // The dialect keeps the last analysis: the type id as its number 10, the
  // field text as its phrase 37.
  KAdpConnId* con = adp_db_get_conn();
  KAdpDbOperation* op = con != nullptr ? con->GetDbOperation() : nullptr;
  if (type_id != nullptr) {
    *type_id = op != nullptr ? op->GetDbSpecificLong(static_cast<KAdpDbOperation::long_type>(kLastTypeNumber)) : -1;
  }
  if (fields != nullptr) {
    *fields = op != nullptr ? op->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(kFieldTextPhrase)) : "";
  }
  return 0;
}

long adp_obj_alert2() {
  long type = -1;
  const char* fields = "";
  adp_obj_not_unique_fields(&type, &fields);
  const char* name = "";
  const char* field = nullptr;
  if (typ_sch_id_to_name(type, -1, &name, &field) != 0 || name == nullptr) name = "";
  adp_obj_push(DBS_NOT_UNIQUE, 2, name, fields != nullptr ? fields : "");
  return 0;
}
