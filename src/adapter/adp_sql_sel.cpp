// The statement interface: selects into collections, bound executions, the
// queued-statement record of the SQL Server multi-query batch.
#include <cstdarg>
#include <cstring>
#include <memory>
#include <vector>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_sql.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_col.h"

namespace {

constexpr long kDecimalBuffer = 49;  // a decimal's text and its end

// The one queued-statement record of the multi-query batch.
adp_ty_sql_id& queued() {
  static adp_ty_sql_id rec{nullptr, 0, 2};
  return rec;
}

long bad_col_type(long type) {
  long rc = cmn_alrt_push(nullptr, nullptr, ADP_SQL_BAD_COL_TYPE, 1, type);
  (void)rc;
  return ADP_SQL_BAD_COL_TYPE;
}

struct column_buffer {
  long type;
  long size;
  std::unique_ptr<char[]> data;
  utl_ty_col* col;
};

}  // namespace

long adp_sql_select(KAdpConnId* con, const char* text, long n, const long* types, const long* sizes,
                    utl_ty_col* out) {
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  if (long st = adp_sql_append(con, stmt, text)) return st;
  if (long st = adp_sql_select_withsqlid(con, stmt, n, types, sizes, out)) return st;
  return adp_sql_free(con, stmt);
}

long adp_sql_select_withsqlid(KAdpConnId* con, void* stmt, long n, const long* types, const long* sizes,
                              utl_ty_col* out) {
  if (long st = adp_sql_parse(con, stmt)) return st;
  auto* batch = static_cast<KAdpSqlBatch*>(stmt);
  std::vector<column_buffer> cols(static_cast<size_t>(n));
  for (long i = 0; i < n; ++i) {
    column_buffer& c = cols[static_cast<size_t>(i)];
    c.type = types[i];
    c.size = c.type == ADP_VT_DECIMAL ? kDecimalBuffer : sizes[i];
    if (c.type == ADP_VT_LONG && c.size < static_cast<long>(sizeof(long))) c.size = sizeof(long);
    if (c.type == ADP_VT_FLOAT && c.size < static_cast<long>(sizeof(float))) c.size = sizeof(float);
    c.data = std::make_unique<char[]>(static_cast<size_t>(c.size > 0 ? c.size : 1));
    long sql_type = 0;
    if (long st = adp_sql_define_type_mapping(c.type, &sql_type)) return st;
    bool text = sql_type == 6;
    *batch << KAdpBindCol(static_cast<void*>(c.data.get()), sql_type, text ? c.size : -1);
    if (batch->GetStatus() != 0) return batch->GetStatus();
    long elem = c.type == ADP_VT_DECIMAL ? ADP_VT_STRING : c.type;
    if (long st = utl_col_make(nullptr, elem, 10, 10, 0, 0, &c.col)) return st;
    if (long st = utl_col_insert(out, &c.col, nullptr)) return st;
  }
  if (long st = adp_sql_execute(con, stmt)) return st;
  for (;;) {
    for (column_buffer& c : cols) {
      switch (c.type) {
        case ADP_VT_LONG: *reinterpret_cast<long*>(c.data.get()) = 0; break;
        case ADP_VT_FLOAT: *reinterpret_cast<float*>(c.data.get()) = 0.0f; break;
        case ADP_VT_STRING:
        case ADP_VT_DECIMAL: c.data[0] = '\0'; break;
        default: return bad_col_type(c.type);
      }
    }
    char found = 0;
    if (long st = adp_sql_nextrow(con, stmt, &found)) return st;
    if (found == 0) break;
    for (column_buffer& c : cols) {
      long st = 0;
      switch (c.type) {
        case ADP_VT_LONG: st = utl_col_insert(c.col, c.data.get(), nullptr); break;
        case ADP_VT_FLOAT: st = utl_col_insert(c.col, c.data.get(), nullptr); break;
        case ADP_VT_STRING:
        case ADP_VT_DECIMAL: st = utl_col_insert(c.col, c.data.get(), nullptr); break;
        default: return bad_col_type(c.type);
      }
      if (st != 0) return st;
    }
  }
  return 0;
}

long adp_sql_exec_bind(KAdpConnId* con, const adp_sql_col_type* list, const char* format, ...) {
  if (format != nullptr) {
    va_list ap;
    va_start(ap, format);
    KCLASSIC::KZString text;
    text.FormatV(format, ap);
    va_end(ap);
    if (long st = adp_sql_parse_now(con, "%s", static_cast<const char*>(text))) return st;
  }
  for (const adp_sql_col_type* e = list; e != nullptr && e->type != -1; ++e) {
    long sql_type = 0;
    if (long st = adp_sql_define_type_mapping(e->type, &sql_type)) return st;
    if (long st = adp_sql_define(con, KAdpBindCol(e->destination, sql_type))) return st;
  }
  return adp_sql_execute(con, nullptr);
}

long adp_sql_batch_create(KAdpConnId*, void** out) {
  adp_ty_sql_id& rec = queued();
  rec.position = 0;
  if (long st = utl_col_make(nullptr, 517, 20, 10, 0, 0, &rec.col)) return st;
  *out = &rec;
  return 0;
}

long adp_sql_batch_start(KAdpConnId* con) {
  if (con == nullptr || !adp_db_is_db_mssql()) return 0;
  auto* op = dynamic_cast<KAdpMssqlOperation*>(con->GetDbOperation());
  if (op != nullptr) return op->BatchInitialize(con);
  return 0;
}

long adp_sql_get_result(KAdpConnId*, void* record, char* more) {
  auto* rec = static_cast<adp_ty_sql_id*>(record);
  long n = 0;
  if (rec->col != nullptr) {
    if (long st = utl_col_num(rec->col, &n)) return st;
  }
  *more = rec->position < n ? 1 : 0;
  return 0;
}

long adp_sql_batch_free(KAdpConnId*, void* record) {
  auto* rec = static_cast<adp_ty_sql_id*>(record);
  rec->position = 0;
  if (rec->col != nullptr) {
    utl_col_free(nullptr, rec->col);
    rec->col = nullptr;
  }
  return 0;
}

long adp_sql_id_clean(adp_ty_sql_id* id) {
  if (id == nullptr) return 0;
  if (id->col != nullptr) {
    utl_col_free(nullptr, id->col);
    id->col = nullptr;
  }
  id->state = 2;
  return 0;
}
