// Object ids: both dialects advance the per-type counters of adp_tbl_oid by
// the number of ids wanted and hand back each type's new counter value.
// Oracle sends plain SQL (a range check, then an UPDATE and a SELECT per type
// in a transaction of its own); SQL Server calls the procedure
// csp_new_objectid once per type through the data service, and creates that
// procedure (StpCreateNewProc).
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_err.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sql.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "adapter/dialects/adp_dbop_ora.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_print.h"
#include "store/dbs_db.h"

namespace {

constexpr int64_t kTopCounter = 2147482647;    // highest counter value handed out
constexpr int64_t kLimit32 = 2147483647;
constexpr int64_t kLowest32 = -2147483648LL;  // where the counter restarts
constexpr int64_t kNegativeWindow = -1000;     // -999..-1 are never handed out
constexpr int64_t kRoamMargin = 1000;
constexpr long kProcExhausted = -100;          // the procedure's "range used up"
// The output column holds it until the procedure answers (record cells are
// 32 bits; the procedure gives it only for a request of no ids at the wrap).
constexpr long kNoValue = INT32_MIN;
constexpr long kTypeTextSize = 32;             // digits of a counter read as text
constexpr long kIdProcName = 51;               // phrase: the procedure's name
constexpr long kIdProcText = 48;               // phrase: the procedure's text
constexpr long kIdRecordCellType = 0x0A04;     // record cell type of a long
constexpr long kIdRecordCols = 5;
enum id_col : long { kColType, kColCount, kColOut, kColSite, kColRoam };
const char* const kIdColNames[kIdRecordCols] = {"type_num", "num_ids", "out_num", "site_id", "roam_enable"};
// The two object types whose counter row is made on first use.
constexpr long kFirstUseTypes[] = {100000001, 100000002};

long push_and_return(long code, long nargs, long arg) {
  long rc = nargs == 0 ? cmn_alrt_push(nullptr, nullptr, code, 0) : cmn_alrt_push(nullptr, nullptr, code, 1, arg);
  return rc != 0 ? rc : code;
}

// The range of a type is used up.
long exhausted(long type_id) {
  osl_print_mes("ERROR: Cannot generate new object ID's for Object type %ld as Objid range is used up.\n", type_id);
  return push_and_return(ADP_ID_RANGE_USED_UP, 1, type_id);
}

// A type without a counter row.
long no_counter(long type_id) { return push_and_return(ADP_BAD_VALUE_TYPE, 1, type_id); }

bool made_on_first_use(long type_id) {
  for (long t : kFirstUseTypes) {
    if (t == type_id) return true;
  }
  return false;
}

// Processing order: ascending type id, a request going in front of those of
// its type already placed (equal ids last-first).
std::vector<long> id_order(long n, const long* type_ids) {
  std::vector<long> order;
  for (long i = 0; i < n; ++i) {
    size_t pos = 0;
    while (pos < order.size() && type_ids[order[pos]] < type_ids[i]) ++pos;
    order.insert(order.begin() + static_cast<long>(pos), i);
  }
  return order;
}

// The site and roaming flag the checks depend on.
struct id_site {
  long site = 0;
  char roaming = 0;
};

long read_site(KAdpConnId* con, id_site* out) {
  if (long st = dbs_db_get_site_id(con, &out->site)) return st;
  return dbs_db_if_roamer_enabled(con, &out->roaming);
}

long insert_counter_row(KAdpSqlBatch& b, long type_id) {
  b.Reset();
  if (long st = b.AppendSqlFormat("insert into adp_tbl_oid (type_id, obj_num) values (%ld, 0)", type_id)) return st;
  b << KAdpSqlBatch::kEndStmt;
  long rows = 0;
  return b.GetNextResult(&rows);
}

// --- Oracle ---------------------------------------------------------------

int64_t text_value(const char* text) { return std::strtoll(text, nullptr, 10); }

// The check at site 0 of one type's counter with the total wanted of it.
bool range_refused(int64_t counter, int64_t wanted, const id_site& s) {
  int64_t sum = counter + wanted;
  if (s.roaming != 0 && counter > 0 && kLimit32 - sum < kRoamMargin) return true;
  return sum > kNegativeWindow && sum < 0;
}

// The check before any counter moves: every requested type's counter with
// all its requests together, paired by type id.
long ora_range_check(KAdpSqlBatch& b, long n, const long* type_ids, const long* counts,
                     const std::vector<long>& order, const id_site& s) {
  b << "select type_id, obj_num from adp_tbl_oid where type_id in (";
  for (size_t k = 0; k < order.size(); ++k) {
    if (k > 0) b << ",";
    b << KAdpBindParam(type_ids[order[k]]);
  }
  long type_id = 0;
  char counter[kTypeTextSize] = "";
  b << ") " << "order by type_id asc " << KAdpBindCol(type_id) << KAdpBindCol(counter, kTypeTextSize)
    << KAdpSqlBatch::kEndStmt;
  if (long st = b.GetNextResult(nullptr)) return st;
  long row = 0;
  while ((row = b.GetNextRow()) == 1) {
    int64_t wanted = 0;
    for (long i = 0; i < n; ++i) {
      if (type_ids[i] == type_id) wanted += counts[i];
    }
    if (range_refused(text_value(counter), wanted, s)) return exhausted(type_id);
  }
  if (long st = b.GetStatus()) return st;
  b.Reset();
  return 0;
}

// UPDATE of one counter: the rows it changed.
long ora_advance(KAdpSqlBatch& b, long type_id, long count, long* rows) {
  b.Reset();
  b << "UPDATE adp_tbl_oid SET obj_num = obj_num + " << KAdpBindParam(count) << " WHERE type_id = "
    << KAdpBindParam(type_id) << KAdpSqlBatch::kEndStmt;
  return b.GetNextResult(rows);
}

// The counter as it stands in the transaction (read as text: a counter past
// the 32-bit limit is still read).
long ora_read(KAdpSqlBatch& b, long type_id, int64_t* value, bool* found) {
  b.Reset();
  char counter[kTypeTextSize] = "";
  b << "SELECT obj_num FROM adp_tbl_oid where type_id = " << KAdpBindParam(type_id)
    << KAdpBindCol(counter, kTypeTextSize) << KAdpSqlBatch::kEndStmt;
  if (long st = b.GetNextResult(nullptr)) return st;
  long row = b.GetNextRow();
  if (long st = b.GetStatus()) return st;
  *found = row == 1;
  *value = text_value(counter);
  return 0;
}

// Past the top at site 0 without roaming the counter restarts at the bottom
// of the negative range; a value that does not fit 32 bits is refused.
long ora_settle(KAdpSqlBatch& b, long type_id, long count, const id_site& s, int64_t* value) {
  if (s.site == 0 && s.roaming == 0 && *value > kTopCounter) {
    *value = kLowest32 + count;
    b.Reset();
    b << "UPDATE adp_tbl_oid SET obj_num = " << KAdpBindParam(static_cast<long>(*value)) << " WHERE type_id = "
      << KAdpBindParam(type_id) << KAdpSqlBatch::kEndStmt;
    long rows = 0;
    return b.GetNextResult(&rows);
  }
  if (*value > kLimit32 || *value < kLowest32) return exhausted(type_id);
  return 0;
}

// One request inside its transaction.
long ora_reserve_one(KAdpSqlBatch& b, long type_id, long count, const id_site& s, long* last) {
  long rows = 0;
  if (long st = ora_advance(b, type_id, count, &rows)) return st;
  if (rows == 0 && made_on_first_use(type_id)) {
    if (long st = insert_counter_row(b, type_id)) return st;
    if (long st = ora_advance(b, type_id, count, &rows)) return st;
  }
  if (rows == 0) return no_counter(type_id);
  int64_t value = 0;
  bool found = false;
  if (long st = ora_read(b, type_id, &value, &found)) return st;
  if (!found) return no_counter(type_id);
  if (long st = ora_settle(b, type_id, count, s, &value)) return st;
  *last = static_cast<long>(value);
  return 0;
}

// --- SQL Server -----------------------------------------------------------

void fill_id_record(KAdpUtlRecord& rec, long type_id, long count, const id_site& s) {
  rec.Purge();
  rec.RemoveAll();
  for (long c = 0; c < kIdRecordCols; ++c) rec.SetColType(c, kIdRecordCellType, kIdColNames[c], 0);
  rec.SetLong(0, kColType, type_id);
  rec.SetLong(0, kColCount, count);
  rec.SetLong(0, kColOut, kNoValue);
  rec.SetLong(0, kColSite, s.site);
  rec.SetLong(0, kColRoam, s.roaming != 0 ? 1 : 0);
}

// One procedure call: the output, or kNoValue when none came.
long mssql_call(KAdpConnId* con, KAdpUtlRecord& rec, long type_id, long count, const id_site& s, long* out) {
  fill_id_record(rec, type_id, count, s);
  if (long st = con->GenerateObjidValues(rec)) return st;
  return rec.GetDataValue(0, kColOut, *out);
}

long mssql_reserve_one(KAdpConnId* con, KAdpUtlRecord& rec, long type_id, long count, const id_site& s,
                       long* last) {
  long out = kNoValue;
  if (long st = mssql_call(con, rec, type_id, count, s, &out)) return st;
  if (out == kNoValue && made_on_first_use(type_id)) {
    if (long st = insert_counter_row(*con->GetSqlBatch(1), type_id)) return st;
    if (long st = mssql_call(con, rec, type_id, count, s, &out)) return st;
  }
  if (out == kNoValue) return no_counter(type_id);
  if (out == kProcExhausted) return exhausted(type_id);
  *last = out;
  return 0;
}

}  // namespace

long KAdpOraOperation::ObjNumberBatch(long n, long* type_ids, long* last_ids, long* counts) {
  return adp_err_guard([&]() -> long {
    KAdpSqlBatch& b = *GetConnection()->GetSqlBatch(1);
    if (n <= 0) return 0;
    std::vector<long> order = id_order(n, type_ids);
    id_site s;
    if (long st = read_site(GetConnection(), &s)) return st;
    if (s.site == 0) {
      if (long st = ora_range_check(b, n, type_ids, counts, order, s)) return st;
    }
    for (long i : order) {
      if (long st = b.BeginTransaction()) return st;
      if (long st = ora_reserve_one(b, type_ids[i], counts[i], s, &last_ids[i])) {
        b.EndTransaction(0);
        return st;
      }
      if (long st = b.EndTransaction(1)) {
        b.EndTransaction(0);
        return st;
      }
    }
    b.Reset();
    return 0;
  });
}

long KAdpMssqlOperation::ObjNumberBatch(long n, long* type_ids, long* last_ids, long* counts) {
  return adp_err_guard([&]() -> long {
    KAdpConnId* con = GetConnection();
    KAdpSqlBatch& b = *con->GetSqlBatch(1);
    if (n <= 0) return 0;
    std::vector<long> order = id_order(n, type_ids);
    id_site s;
    if (long st = read_site(con, &s)) return st;
    KAdpUtlRecord rec;
    for (long i : order) {
      if (long st = mssql_reserve_one(con, rec, type_ids[i], counts[i], s, &last_ids[i])) return st;
    }
    b.Reset();
    return 0;
  });
}

long KAdpMssqlOperation::StpCreateNewProc() {
  return adp_err_guard([&]() -> long {
    KAdpConnId* con = GetConnection();
    const char* name = GetDbSpecificStr(static_cast<str_type>(kIdProcName));
    char exists = 0;
    if (long st = adp_sch_does_tbl_exist(con, name, &exists)) return st;
    if (exists != 0) {
      if (long st = adp_sql_exec_query(con, "drop proc %s", name)) return st;
    }
    if (long st = adp_sql_exec_query(con, "%s", GetDbSpecificStr(static_cast<str_type>(kIdProcText)))) {
      osl_print_mes("Could not create new object id stored proc!\n");
      return st;
    }
    if (long st = adp_sql_exec_query(con, "grant EXEC on %s to PUBLIC", name)) {
      osl_print_mes("Cannot grant execute permission on new object id stored proc\n");
      return st;
    }
    return 0L;
  });
}
