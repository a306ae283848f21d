// Running built queries: the row readers, the deadlock retry and the SQL
// Server open query batch, shared by simple, relation and power queries.
#pragma once

#include <functional>

#include "orb_api.h"

class KAdpConnId;
class KAdpSqlBatch;
struct typ_sch_srec;
struct utl_ty_col;

constexpr long ADP_QRY_MAX_RETRIES = 20;

// Rows of the statement into new local objects of the type appended to
// result (at most limit; -1 all).
ORB_API long adp_qry_process(KAdpConnId* con, void* stmt, long type_id, typ_sch_srec* schema, long limit,
                             utl_ty_col* result);
// One number; 0x600019 unless exactly one row came.
ORB_API long adp_qry_process_num(KAdpConnId* con, void* stmt, long type_id, typ_sch_srec* schema, long* count);
// The first column's ids (longs into a collection of longs, else object ids
// of the type).
ORB_API long adp_qry_process_id(KAdpConnId* con, void* stmt, long type_id, typ_sch_srec* schema, long limit,
                                utl_ty_col* ids);

// Runs attempt until it returns anything but the deadlock status, at most
// 21 times, once inside an application transaction. "RETRY!" goes to the SQL
// log before each new attempt; the alerts of a failed attempt are removed.
ORB_API long adp_qry_with_retry(KAdpConnId* con, const std::function<long()>& attempt);

// Pops the alerts above the first keep of the current stack.
void adp_qry_drop_alerts_above(long keep);

// The connection's dialect holds an open query batch (SQL Server).
bool adp_qry_open_batch(KAdpConnId* con);

// The SQL Server open query batch when the statement is it: the type id
// (and the id collection, when given) recorded, the statement ended; true.
bool adp_qry_join_open_batch(KAdpConnId* con, void* stmt, long type_id, utl_ty_col* ids);
