// Row readers, the deadlock retry and the open query batch.
#include "adapter/adp_qry_run.h"

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_err.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_qry.h"
#include "adapter/adp_qry_util.h"
#include "adapter/adp_rec.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_sql_log.h"
#include "adapter/adp_trn.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_col.h"
#include "store/dbs_obj.h"

namespace {

constexpr long kObjState = 7;
constexpr long kPermanent = 1;

KAdpSqlBatch* batch(void* stmt) { return static_cast<KAdpSqlBatch*>(stmt); }

long id_type(utl_ty_col* ids, long type_id) {
  long elem = 0, n = 0, cap = 0, ext = 0;
  utl_col_info(ids, &elem, &n, &cap, &ext, nullptr, nullptr);
  return elem == ADP_VT_LONG ? -1 : type_id;
}

}  // namespace

void adp_qry_drop_alerts_above(long keep) {
  long n = 0;
  while (cmn_alrt_num(nullptr, &n) == 0 && n > keep) {
    long code = 0;
    const char* text = nullptr;
    if (cmn_alrt_pop(nullptr, &code, &text) != 0) break;
  }
}

namespace {

// A new permanent local object of the type at the end of the result.
long push_object(long type_id, utl_ty_col* result) {
  dbs_ty_lobj* obj = nullptr;
  if (long st = dbs_obj_make(nullptr, type_id, &obj)) return st;
  obj->flags = (obj->flags & ~kObjState) | kPermanent;
  return utl_col_push(result, &obj, nullptr);
}

// The rows all at once: the objects first, then their fields.
long objects_from_rowset(KAdpConnId* con, KAdpUtlRecord& rec, long type_id, typ_sch_srec* schema, long limit,
                         long start, utl_ty_col* result) {
  long st = con->MoveRowset(rec, 0, 0);
  const long rows = st == 0 ? rec.GetRows() : 0;
  for (long made = 0; st == 0 && made < rows && made != limit; ++made) st = push_object(type_id, result);
  return st != 0 ? st : rec.FillObjectCollection(result, schema, start, limit);
}

// Row by row through row 0 of the record: each object made and filled as its
// row comes. moved is the service's answer for the first row.
long objects_by_row(KAdpConnId* con, KAdpUtlRecord& rec, long type_id, typ_sch_srec* schema, long limit,
                    long start, long moved, utl_ty_col* result) {
  for (long made = 0; moved == 1 && made != limit; ++made) {
    if (long st = push_object(type_id, result)) return st;
    if (long st = rec.FillObjectCollection(result, schema, start + made, 1)) return st;
    if (made + 1 == limit) break;
    if (long st = con->MoveNextRow(rec, moved)) return st;
  }
  return 0;
}

}  // namespace

long adp_qry_process(KAdpConnId* con, void* stmt, long type_id, typ_sch_srec* schema, long limit,
                     utl_ty_col* result) {
  return adp_err_guard([&]() -> long {
    long start = 0;
    if (long st = utl_col_num(result, &start)) return st;
    if (long st = adp_sql_parse(con, stmt)) return st;
    KAdpUtlRecord rec;
    bool opened = false;
    long moved = -1;
    long st = rec.SetColTypesFromSchema(schema);
    if (st == 0) st = batch(stmt)->OpenNextResult(rec, opened);
    if (st == 0 && opened && limit != 0) st = con->MoveNextRow(rec, moved);
    if (st == 0 && opened) {
      st = moved < 0 ? objects_from_rowset(con, rec, type_id, schema, limit, start, result)
                     : objects_by_row(con, rec, type_id, schema, limit, start, moved, result);
    }
    rec.Purge();
    rec.RemoveAll();
    long freed = adp_sql_free(con, stmt);
    return st != 0 ? st : freed;
  });
}

long adp_qry_process_num(KAdpConnId* con, void* stmt, long, typ_sch_srec*, long* count) {
  return adp_err_guard([&]() -> long {
    if (long st = adp_sql_parse(con, stmt)) return st;
    *count = 0;
    if (long st = adp_sql_define(con, KAdpBindCol(*count))) return st;
    char found = 0;
    if (long st = adp_sql_exec_and_fetch(con, &found)) return st;
    if (found != 1) {
      long rc = cmn_alrt_push(nullptr, nullptr, ADP_QRY_NO_COUNT, 0);
      (void)rc;
      return ADP_QRY_NO_COUNT;
    }
    return adp_sql_free(con, stmt);
  });
}

long adp_qry_process_id(KAdpConnId* con, void* stmt, long type_id, typ_sch_srec*, long limit, utl_ty_col* ids) {
  return adp_err_guard([&]() -> long {
    if (long st = adp_sql_parse(con, stmt)) return st;
    KAdpUtlRecord rec;
    long st = rec.SetColType(0, 0, nullptr, 0);
    if (st == 0) st = batch(stmt)->GetNextResult(rec);
    if (st == 0 && rec.GetRows() > 0) st = rec.FillObjidCollection(ids, id_type(ids, type_id), limit);
    rec.Purge();
    rec.RemoveAll();
    long freed = adp_sql_free(con, stmt);
    return st != 0 ? st : freed;
  });
}

long adp_qry_get_id_from_buf(void* statement, long, utl_ty_col* ids) {
  auto* b = batch(statement);
  if (b == nullptr) return 0;
  long st = adp_err_guard([&] { return b->GetObjectIdCollection(ids, 0); });
  long freed = adp_sql_free(b->GetCid(), statement);
  return st != 0 ? st : freed;
}

namespace {

long push_code(long code, long n, long arg = 0) {
  long rc = n == 0 ? cmn_alrt_push(nullptr, nullptr, code, 0) : cmn_alrt_push(nullptr, nullptr, code, 1, arg);
  (void)rc;
  return code;
}

// Reads the bound id row by row (the statement has run).
long read_id_rows(KAdpConnId* con, void* statement, const long& id, long count, bool skip_repeats, utl_ty_col* ids) {
  long taken = 0, previous = 0;
  for (bool first = true; count < 0 || taken < count; first = false) {
    char found = 0;
    if (long st = adp_sql_nextrow(con, statement, &found)) return st;
    if (found != 1) return 0;
    const bool repeat = skip_repeats && !first && id == previous;
    previous = id;
    if (repeat) continue;
    if (long st = utl_col_insert(ids, &id, nullptr)) return st;
    ++taken;
  }
  return 0;
}

}  // namespace

long adp_qry_non_block_results(void* statement, long count, utl_ty_col* ids, long option) {
  KAdpSqlBatch* b = batch(statement);
  if (b == nullptr || b->GetCid() == nullptr || ids == nullptr) return push_code(ADP_SQL_NULL_POINTER, 0);
  long elem = 0, n = 0, cap = 0, ext = 0;
  if (long st = utl_col_info(ids, &elem, &n, &cap, &ext, nullptr, nullptr)) return st;
  if (elem != ADP_VT_LONG) return push_code(ADP_SQL_BAD_COL_TYPE, 1, elem);
  KAdpConnId* con = b->GetCid();
  long id = 0;
  if (long st = adp_sql_define(con, KAdpBindCol(id))) return st;
  long st = adp_sql_execute(con, statement);
  const bool skip_repeats = (option & adp_qry::number(con, adp_qry::kNumberDupOption)) != 0;
  if (st == 0) st = read_id_rows(con, statement, id, count, skip_repeats, ids);
  long cancelled = adp_sql_cancel(con);
  long freed = adp_sql_free(con, statement);
  return st != 0 ? st : (cancelled != 0 ? cancelled : freed);
}

long adp_qry_with_retry(KAdpConnId* con, const std::function<long()>& attempt) {
  long level = 0;
  adp_trn_appl_level(&level);
  long alerts = 0;
  cmn_alrt_num(nullptr, &alerts);
  for (long retries = 0;; ++retries) {
    long st = attempt();
    if (st != DBS_DEADLOCK || level != 0 || retries >= ADP_QRY_MAX_RETRIES) return st;
    adp_sql_print_out(con, "RETRY!");
    adp_qry_drop_alerts_above(alerts);
  }
}

bool adp_qry_open_batch(KAdpConnId* con) {
  if (!adp_qry::is_mssql(con)) return false;
  auto* op = dynamic_cast<KAdpMssqlOperation*>(con->GetDbOperation());
  return op != nullptr && op->GetBatch() != nullptr;
}

bool adp_qry_join_open_batch(KAdpConnId* con, void* stmt, long type_id, utl_ty_col* ids) {
  if (!adp_qry::is_mssql(con)) return false;
  auto* op = dynamic_cast<KAdpMssqlOperation*>(con->GetDbOperation());
  if (op == nullptr || op->GetBatch() == nullptr || op->GetBatch() != stmt) return false;
  op->GetBatchTypes().Add(static_cast<unsigned int>(type_id));
  if (ids != nullptr) op->GetBatchIdCols().Add(ids);
  *op->GetBatch() << KAdpSqlBatch::kEndStmt;
  return true;
}
