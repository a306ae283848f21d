// Taking one stored row: a conditional update whose row count says whether
// this session won the row.
#include "adapter/adp_obj_take.h"

#include <cstring>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_err.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_obj_int.h"
#include "adapter/adp_sch.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_trn.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"

namespace {

// The table, the object-number column and the text field of the take.
struct take_target {
  const char* table = nullptr;
  const char* oid_column = nullptr;
  const char* field = nullptr;
};

long find_target(long type_id, const char* field, take_target* t) {
  if (long st = adp_sch_tbl_find(type_id, &t->table)) return st;
  typ_sch_srec* schema = nullptr;
  if (long st = typ_sch_find_handle(type_id, nullptr, &schema)) return st;
  typ_sch_frec* f = nullptr;
  if (long st = typ_sch_field_get_by_name(schema, field, &f)) return st;
  if (f->data_type != ADP_VT_STRING) return adp_obj_push(ADP_BAD_VALUE_TYPE, 1, type_id);
  long oid_index = -1;
  if (long st = typ_sch_gen_to_sp(schema, TYP_GENERIC | ADP_GEN_OBJID, &oid_index)) return st;
  t->oid_column = schema->fields[oid_index].name;
  t->field = f->name;
  return 0;
}

long run_take(KAdpConnId* con, const take_target& t, long number, const char* from, const char* to, long* rows) {
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  auto* b = static_cast<KAdpSqlBatch*>(stmt);
  b->AppendSqlFormat("update %s set %s = ", t.table, t.field);
  *b << KAdpBindParam(to);
  b->AppendSqlFormat(" where %s = ", t.oid_column);
  *b << KAdpBindParam(number);
  b->AppendSqlFormat(" and %s = ", t.field);
  *b << KAdpBindParam(from) << KAdpSqlBatch::kEndStmt;
  long st = b->GetStatus();
  if (st == 0) st = adp_obj_run_all(con, b, rows);
  long freed = adp_sql_free(con, b);
  return st != 0 ? st : freed;
}

}  // namespace

long adp_obj_take_field(KAdpConnId* con, long type_id, long number, const char* field, const char* from,
                        const char* to, long* out_taken) {
  if (out_taken != nullptr) *out_taken = 0;
  if (long st = adp_db_check_conn(con)) return st;
  if (out_taken == nullptr || field == nullptr || from == nullptr || to == nullptr || std::strcmp(from, to) == 0)
    return adp_obj_push(ADP_BAD_VALUE_TYPE, 1, type_id);
  return adp_err_guard([&]() -> long {
    take_target t;
    if (long st = find_target(type_id, field, &t)) return st;
    long level = 0;
    adp_trn_appl_level(&level);
    if (long st = adp_trn_begin(con)) return st;
    long rows = 0;
    if (long st = run_take(con, t, number, from, to, &rows)) {
      // Only a transaction of this call's own is rolled back here.
      if (level == 0) adp_trn_rollback(con);
      return st;
    }
    if (long st = adp_trn_commit(con)) return st;
    *out_taken = rows > 0 ? 1 : 0;
    return 0;
  });
}
