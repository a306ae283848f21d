// Simple queries over one object type: objects, counts, ids and objects by
// a list of ids, each re-run on a deadlock outside a transaction.
#include <cstdint>
#include <cstdio>

#include "adapter/adp_batch.h"
#include "adapter/adp_db.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_pwr.h"
#include "adapter/adp_qry.h"
#include "adapter/adp_qry_rec.h"
#include "adapter/adp_qry_run.h"
#include "adapter/adp_qry_util.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_sql_log.h"
#include "adapter/adp_trn.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_col.h"
#include "store/dbs_main.h"

using namespace adp_qry;

namespace {

constexpr long kServerNoLock = 4;  // server type bit that allows reads without locks

KAdpSqlBatch* batch(void* stmt) { return static_cast<KAdpSqlBatch*>(stmt); }

const adp_ty_qry* desc_of(void* d) { return static_cast<const adp_ty_qry*>(d); }
long norder_of(void* order) { return static_cast<long>(reinterpret_cast<intptr_t>(order)); }
const qry_order* orders_of(void* orders) { return static_cast<const qry_order*>(orders); }

long refuse(const char* text) {
  long rc = cmn_alrt_push(nullptr, nullptr, ADP_QRY_REFUSED, 1, text);
  (void)rc;
  return ADP_QRY_REFUSED;
}

long where(KAdpConnId* con, void* stmt, typ_sch_srec* schema, const adp_ty_qry* d, char parsed) {
  return parsed == 1 ? adp_qry_where_parsed(con, stmt, schema, d) : adp_qry_where(con, stmt, schema, d, 1, 0);
}

// The id of an id collection's element: a long, or an object id's number.
long id_at(utl_ty_col* ids, long i, long* out) {
  long elem = 0, n = 0, cap = 0, ext = 0;
  if (long st = utl_col_info(ids, &elem, &n, &cap, &ext, nullptr, nullptr)) return st;
  void* slot = nullptr;
  if (long st = utl_col_ith(ids, i, &slot)) return st;
  *out = elem == ADP_VT_LONG ? *static_cast<long*>(slot) : static_cast<obj_id*>(slot)->num;
  return 0;
}

}  // namespace

long adp_qry_simple_with_cond(KAdpConnId* con, void* desc, void* conds, void* order, void* order_flags, long limit,
                              long option, char parsed, utl_ty_col* objects) {
  const adp_ty_qry* d = desc_of(desc);
  const char* extra = static_cast<const char*>(conds);
  if (extra != nullptr && !adp_qry_sql_text_is_safe(extra)) return refuse(extra);
  typ_sch_srec* schema = nullptr;
  if (long st = adp_sch_shandle_find(d->type_id, &schema)) return st;
  return adp_qry_with_retry(con, [&]() -> long {
    void* stmt = nullptr;
    if (long st = adp_qry_prepare(con, d->type_id, schema, option, &stmt)) return st;
    KAdpSqlBatch* b = batch(stmt);
    if (d->count > 0) {
      *b << "\n WHERE ";
      if (long st = where(con, stmt, schema, d, parsed)) return st;
      if (extra != nullptr) b->AppendSqlFormat("%s (%s) ", "and ", extra);
    } else if (extra != nullptr) {
      b->AppendSqlFormat("%s (%s) ", " where ", extra);
    }
    if (long st = adp_qry_order(con, stmt, schema, norder_of(order), orders_of(order_flags))) return st;
    if (adp_qry_join_open_batch(con, stmt, d->type_id, nullptr)) return b->GetStatus();
    return adp_qry_process(con, stmt, d->type_id, schema, limit, objects);
  });
}

long adp_qry_simple(KAdpConnId* con, void* desc, void* order, void* order_flags, long limit, long option,
                    char parsed, utl_ty_col* objects) {
  return adp_qry_simple_with_cond(con, desc, nullptr, order, order_flags, limit, option, parsed, objects);
}

long adp_qry_simple_num(KAdpConnId* con, void* desc, long* count) {
  const adp_ty_qry* d = desc_of(desc);
  typ_sch_srec* schema = nullptr;
  if (long st = adp_sch_shandle_find(d->type_id, &schema)) return st;
  return adp_qry_with_retry(con, [&]() -> long {
    void* stmt = nullptr;
    if (long st = adp_qry_prepare_num(con, d->type_id, schema, &stmt)) return st;
    if (d->count > 0) {
      *batch(stmt) << "\n where ";
      if (long st = adp_qry_where(con, stmt, schema, d, 1, 0)) return st;
    }
    return adp_qry_process_num(con, stmt, d->type_id, schema, count);
  });
}

long adp_qry_simple_for_id(KAdpConnId* con, void* desc, void* order, void* order_flags, long limit, long option,
                           utl_ty_col* ids) {
  const adp_ty_qry* d = desc_of(desc);
  typ_sch_srec* schema = nullptr;
  if (long st = adp_sch_shandle_find(d->type_id, &schema)) return st;
  // Duplicates are removed here rather than by the server.
  const bool distinct = (option & ADP_QRY_DISTINCT) != 0;
  const long flags = distinct ? option & ~ADP_QRY_DISTINCT : 0;
  long st = adp_qry_with_retry(con, [&]() -> long {
    void* stmt = nullptr;
    if (long s = adp_qry_prepare_id(con, d->type_id, schema, flags, 1, &stmt)) return s;
    if (d->count > 0) {
      *batch(stmt) << "\n where ";
      if (long s = adp_qry_where(con, stmt, schema, d, 1, 0)) return s;
    }
    if (long s = adp_qry_order(con, stmt, schema, norder_of(order), orders_of(order_flags))) return s;
    return adp_qry_process_id(con, stmt, d->type_id, schema, limit, ids);
  });
  if (st == 0 && distinct) st = adp_pwr_eliminate_dup_id(ids);
  return st;
}

namespace {

struct id_chunk_query {
  KAdpConnId* con;
  const adp_ty_qry* d;
  typ_sch_srec* schema;
  const typ_sch_frec* objid;
  long norder;
  const qry_order* orders;
  utl_ty_col* ids;
  long last;
  long flags;
  utl_ty_col* objects;

  // One statement over the ids from position (at most dialect number 8).
  long run(long position, long chunk, long limit) const {
    void* stmt = nullptr;
    if (long st = adp_qry_prepare(con, d->type_id, schema, flags, &stmt)) return st;
    KAdpSqlBatch* b = batch(stmt);
    b->AppendSqlFormat("\n where %s IN ( ", objid->name);
    for (long i = position; i < position + chunk && i <= last; ++i) {
      long id = 0;
      if (long st = id_at(ids, i, &id)) return st;
      if (i > position) *b << ", ";
      *b << KAdpBindParam(id);
    }
    *b << ")";
    if (d->count > 0) {
      *b << "\n AND ";
      if (long st = adp_qry_where(con, stmt, schema, d, 1, 0)) return st;
    }
    if (long st = adp_qry_order(con, stmt, schema, norder, orders)) return st;
    return adp_qry_process(con, stmt, d->type_id, schema, limit, objects);
  }
};

}  // namespace

long adp_qry_simple_with_id2(KAdpConnId* con, void* desc, void* order, void* order_flags, utl_ty_col* ids,
                             long first, long last, long limit, utl_ty_col* objects, long mode) {
  adp_sql_print_out(con, "Entering adp_qry_simple_with_id!");
  if (long st = adp_db_check_conn(con)) return st;
  const adp_ty_qry* d = desc_of(desc);
  const long server = dbs_main_server_type();
  typ_sch_srec* schema = nullptr;
  if (long st = adp_sch_shandle_find(d->type_id, &schema)) return st;
  typ_sch_frec* objid = nullptr;
  if (long st = objid_of(schema, &objid)) return st;
  long count = 0;
  if (ids != nullptr) utl_col_num(ids, &count);
  if (first < 0 || first > last || last > count - 1) {
    long rc = cmn_alrt_push(nullptr, nullptr, ADP_QRY_BAD_RANGE, 2, first, last);
    (void)rc;
    return ADP_QRY_BAD_RANGE;
  }
  const long flags = (mode == 1 && (server & kServerNoLock) != 0) ? ADP_QRY_NO_LOCK : 0;
  id_chunk_query q{con, d, schema, objid, norder_of(order), orders_of(order_flags), ids, last, flags, objects};
  long level = 0;
  adp_trn_appl_level(&level);
  long alerts = 0;
  cmn_alrt_num(nullptr, &alerts);
  long start = 0;
  utl_col_num(objects, &start);
  long retries = 0;
  for (long position = first; position <= last;) {
    const long chunk = number(con, kNumberInChunk) > 0 ? number(con, kNumberInChunk) : 1;
    long made = 0;
    utl_col_num(objects, &made);
    // The row limit counts over the whole call.
    const long left = limit < 0 ? -1 : limit - (made - start);
    if (left == 0) break;
    long st = q.run(position, chunk, left);
    char line[128];
    std::snprintf(line, sizeof(line), "status=%lx trans_level=%ld retry_count=%ld ", st, level, retries);
    adp_sql_print_out(con, line);
    if (st == DBS_DEADLOCK) {
      if (level != 0 || retries >= ADP_QRY_MAX_RETRIES) return st;
      adp_sql_print_out(con, "RETRY!");
      adp_qry_drop_alerts_above(alerts);
      ++retries;
      continue;
    }
    if (st != 0) return st;
    position += chunk;
  }
  return 0;
}
