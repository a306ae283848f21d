// Object-id tables: the per-type counter (adp_tbl_oid) and the ranges given
// back unused (adp_tbl_oid_unused).
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_err.h"
#include "adapter/adp_obj.h"
#include "adapter/adp_obj_int.h"
#include "adapter/adp_sch.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_trn.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/utl/utl_col.h"
#include "store/dbs_ids.h"

namespace {

constexpr long kDummyObjid = -2;
constexpr long kCounterLimit = 268435400;
constexpr long kNegativeStart = -2147483647L - 1;
constexpr long kSetNumberSize = 257;

template <class T>
std::vector<T*> records(utl_ty_col* col) {
  std::vector<T*> out;
  long type = 0, n = 0, cap = 0, ext = 0;
  if (col == nullptr || utl_col_info(col, &type, &n, &cap, &ext, nullptr, nullptr) != 0) return out;
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    if (utl_col_ith(col, i, &e) == 0 && e != nullptr) out.push_back(static_cast<T*>(e));
  }
  return out;
}

bool whole_number(const char* text) {
  if (text == nullptr || *text == '\0') return false;
  char* end = nullptr;
  std::strtol(text, &end, 10);
  return *end == '\0';
}

}  // namespace

long adp_obj_oid_init(KAdpConnId* con, long type_id, long) {
  if (long st = adp_trn_begin(con)) return st;
  if (long st = adp_sql_exec_query(con, "DELETE FROM adp_tbl_oid WHERE type_id = %ld", type_id)) return st;
  if (long st = adp_sql_exec_query(con, "INSERT INTO adp_tbl_oid (type_id, obj_num) values (%ld,%ld)", type_id, 0L))
    return st;
  return adp_trn_commit(con);
}

long adp_obj_number_batch(KAdpConnId* con, long n, const long* type_ids, long* last, const long* counts) {
  if (long st = adp_db_check_conn(con)) return st;
  return con->GetDbOperation()->ObjNumberBatch(n, const_cast<long*>(type_ids), last, const_cast<long*>(counts));
}

long adp_obj_number(KAdpConnId* con, long type_id, long* out) {
  const long one = 1;
  return adp_obj_number_batch(con, 1, &type_id, out, &one);
}

long adp_obj_numbers(KAdpConnId* con, long n, const long* type_ids, long* numbers) {
  return dbs_obj_ids_create(con, n, type_ids, numbers);
}

long adp_obj_set_number(KAdpConnId* con, long type_id, long number) {
  if (number == kDummyObjid) return 0;
  char text[kSetNumberSize];
  const char* format = adp_db_is_db_mssql()
                           ? "UPDATE adp_tbl_oid with (ROWLOCK, UPDLOCK) SET obj_num = %ld                 WHERE "
                             "type_id = %ld AND obj_num < %ld"
                           : "UPDATE adp_tbl_oid SET obj_num = %ld                 WHERE type_id = %ld AND obj_num < %ld";
  std::snprintf(text, sizeof text, format, number, type_id, number);
  return adp_sql_exec_query(con, "%s", text);
}

long adp_obj_set_negative_number(KAdpConnId* con, long type_id, long last, long, long) {
  if (long st = adp_db_check_conn(con)) return st;
  return adp_err_guard([&]() -> long {
    KAdpSqlBatch* b = con->GetSqlBatch(1);
    if (long st = b->BeginTransaction()) return st;
    *b << "UPDATE adp_tbl_oid SET obj_num = " << KAdpBindParam(kNegativeStart) << " WHERE type_id = "
       << KAdpBindParam(type_id) << " AND obj_num = " << KAdpBindParam(last) << KAdpSqlBatch::kEndStmt;
    long rows = 0;
    if (long st = b->GetNextResult(&rows)) {
      b->EndTransaction(0);
      b->Reset();
      return st;
    }
    if (long st = b->EndTransaction(1)) return st;
    return b->Reset();
  });
}

long adp_obj_get_cur_obj_num(KAdpConnId* con, const char* type_id, long* out) {
  if (!whole_number(type_id)) return adp_obj_push(ADP_OID_TOO_HIGH, 1, type_id != nullptr ? type_id : "");
  if (long st = adp_db_check_conn(con)) return st;
  return adp_err_guard([&]() -> long {
    KAdpSqlBatch* b = con->GetSqlBatch(1);
    long value = 0;
    *b << "select obj_num from adp_tbl_oid where type_id = " << KAdpBindParam(std::atol(type_id)) << "\n"
       << KAdpBindCol(value);
    if (long st = b->GetNextResult(static_cast<long*>(nullptr))) return st;
    if (b->GetNextRow() == 1) {
      *out = value;
      if (value >= kCounterLimit) {
        long rc = cmn_alrt_push(nullptr, "adp_obj_get_cur_obj_num", ADP_OID_TOO_HIGH, 1, type_id);
        return rc != 0 ? rc : ADP_OID_TOO_HIGH;
      }
    }
    return b->Reset();
  });
}

long adp_obj_dummy_objid() { return kDummyObjid; }

long adp_obj_valid_number(long type_id, long) {
  const char* table = nullptr;
  return adp_sch_tbl_find(type_id, &table);
}

long adp_obj_subnumber(KAdpConnId*, long*) { return 0; }
long adp_obj_number_mult(...) { return 0; }

long adp_obj_return_cache(KAdpConnId* con, utl_ty_col* ranges) {
  if (long st = adp_db_check_conn(con)) return st;
  return adp_err_guard([&]() -> long {
    KAdpSqlBatch* b = con->GetSqlBatch(1);
    for (adp_ty_oid_range* r : records<adp_ty_oid_range>(ranges)) {
      *b << "insert into adp_tbl_oid_unused (type_id, min_obj, num_obj) values (" << KAdpBindParam(r->type_id) << ","
         << KAdpBindParam(r->base) << "," << KAdpBindParam(r->count) << ")" << KAdpSqlBatch::kEndStmt;
    }
    if (long st = b->ExecuteDMLBatch()) return st;
    return b->Reset();
  });
}

namespace {

long take_rows(KAdpSqlBatch* b, const std::vector<adp_ty_oid_range*>& recs) {
  const bool oracle = adp_db_is_db_oracle() != 0;
  *b << (oracle ? "select type_id, min_obj, num_obj from adp_tbl_oid_unused where \n"
                : "select type_id, min_obj, num_obj from adp_tbl_oid_unused with (ROWLOCK, UPDLOCK) where \n");
  for (size_t i = 0; i < recs.size(); ++i) {
    if (i > 0) *b << " or \n";
    *b << "type_id = " << KAdpBindParam(recs[i]->type_id)
       << " and min_obj = (select min(b.min_obj) from adp_tbl_oid_unused b where type_id = "
       << KAdpBindParam(recs[i]->type_id) << ")";
  }
  long type = 0, first = 0, count = 0;
  if (oracle) *b << "\nfor update";
  *b << KAdpBindCol(type) << KAdpBindCol(first) << KAdpBindCol(count);
  if (!oracle) *b << KAdpSqlBatch::kEndStmt;
  if (long st = b->GetNextResult(static_cast<long*>(nullptr))) return st;
  while (b->GetNextRow() == 1) {
    for (adp_ty_oid_range* r : recs) {
      if (r->type_id != type) continue;
      r->base = first;
      r->count = count;
      break;
    }
  }
  return b->GetStatus();
}

}  // namespace

long adp_obj_numbers_atou(KAdpConnId* con, utl_ty_col* ranges) {
  const std::vector<adp_ty_oid_range*> recs = records<adp_ty_oid_range>(ranges);
  if (recs.empty()) return 0;
  if (long st = adp_db_check_conn(con)) return st;
  return adp_err_guard([&]() -> long {
    KAdpSqlBatch* b = con->GetSqlBatch(1);
    if (long st = b->BeginTransaction()) return st;
    long st = take_rows(b, recs);
    long deletes = 0;
    if (st == 0) st = b->Reset();
    for (adp_ty_oid_range* r : recs) {
      if (st != 0 || r->base == -1) continue;
      *b << "delete from adp_tbl_oid_unused where type_id = " << KAdpBindParam(r->type_id)
         << " and min_obj = " << KAdpBindParam(r->base) << KAdpSqlBatch::kEndStmt;
      ++deletes;
    }
    for (long i = 0; st == 0 && i < deletes; ++i) st = b->GetNextResult(static_cast<long*>(nullptr));
    if (st != 0) {
      // The transaction begun here ends with the failure.
      b->EndTransaction(0);
      b->Reset();
      return st;
    }
    if ((st = b->EndTransaction(1)) != 0) return st;
    return b->Reset();
  });
}

long adp_obj_atou_init(KAdpConnId* con, utl_ty_col* counts) {
  if (long st = adp_db_check_conn(con)) return st;
  return adp_err_guard([&]() -> long {
    KAdpSqlBatch* b = con->GetSqlBatch(1);
    adp_ty_oid_range r{};
    *b << "select type_id, count(*) from adp_tbl_oid_unused ";
    if (adp_db_is_db_mssql()) *b << " (NOLOCK) ";
    *b << "group by type_id" << KAdpBindCol(r.type_id) << KAdpBindCol(r.base);
    if (adp_db_is_db_mssql()) *b << KAdpSqlBatch::kEndStmt;
    if (long st = b->GetNextResult(static_cast<long*>(nullptr))) return st;
    while (b->GetNextRow() == 1) {
      if (long st = utl_col_push(counts, &r, nullptr)) return st;
    }
    return b->Reset();
  });
}
