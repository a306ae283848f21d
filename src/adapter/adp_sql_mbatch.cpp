// SQL Server's multi-query read: each queued query's rows become new local
// objects of its type, or the ids of a relation query's collection.
#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_err.h"
#include "adapter/adp_pass.h"
#include "adapter/adp_rec.h"
#include "adapter/adp_sch_load.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "core/utl/utl_col.h"
#include "store/dbs_obj.h"

namespace {

constexpr long kPtrType = 517;
constexpr long kLongType = 512;
constexpr long kObjState = 7;  // low three bits of a local object's state word

long make_col(utl_ty_col** col, long capacity, long extend) {
  return utl_col_make("adp_sql_execute_batch", kPtrType, capacity, extend, 0, 0, col);
}

// New local objects of the schema's type, one per row, filled from them.
long rows_to_objects(KAdpUtlRecord& rec, typ_sch_srec* schema, long type_id, long rows, utl_ty_col* col) {
  for (long r = 0; r < rows; ++r) {
    dbs_ty_lobj* obj = nullptr;
    if (long st = dbs_obj_make(nullptr, type_id, &obj)) return st;
    obj->flags = (obj->flags & ~kObjState) | 1;
    if (long st = utl_col_push(col, &obj, nullptr)) return st;
  }
  return rec.FillObjectCollection(col, schema, 0, -1);
}

long read_one(KAdpMssqlOperation& op, long i, utl_ty_col* out) {
  const long type_id = static_cast<long>(op.GetBatchTypes()[i]);
  utl_ty_col* col = nullptr;
  if (long st = make_col(&col, 10, 10)) return st;
  typ_sch_srec* schema = nullptr;
  if (long st = adp_sch_shandle_find(type_id, &schema)) return st;
  KAdpUtlRecord rec;
  const bool ids = op.GetBatchIdCols().GetSize() > 1;
  long st = ids ? rec.SetColType(0, 0, nullptr, 0) : rec.SetColTypesFromSchema(schema);
  if (st != 0) return st;
  if ((st = op.GetBatch()->GetNextResult(rec)) != 0) return st;
  long rows = 0;
  rec.GetCount(rows);
  if (ids) {
    // A collection of longs takes the numbers, another the object ids.
    auto* target = static_cast<utl_ty_col*>(op.GetBatchIdCols()[i]);
    long elem = 0, n = 0, cap = 0, ext = 0;
    utl_col_info(target, &elem, &n, &cap, &ext, nullptr, nullptr);
    if (rows > 0) st = rec.FillObjidCollection(target, elem == kLongType ? -1 : type_id, -1);
  } else {
    st = rows_to_objects(rec, schema, type_id, rows, col);
  }
  if (st != 0) return st;
  rec.Purge();
  rec.RemoveAll();
  return utl_col_push(out, &col, nullptr);
}

}  // namespace

long adp_sql_execute_batch(KAdpConnId* con, utl_ty_col** out) {
  if (!adp_db_is_db_mssql()) return 0;
  if (long st = adp_db_check_conn(con)) return st;
  auto* op = dynamic_cast<KAdpMssqlOperation*>(con->GetDbOperation());
  if (op == nullptr) return 0;
  long st = 0;
  if (op->GetBatch() != nullptr && out != nullptr) {
    if (*out == nullptr) st = make_col(out, 20, 10);
    for (long i = 0; st == 0 && i < op->GetBatchTypes().GetSize(); ++i) {
      st = adp_err_guard([&] { return read_one(*op, i, *out); });
    }
  }
  // The batch ends on every return.
  long end = op->BatchTerminate();
  return st != 0 ? st : end;
}
