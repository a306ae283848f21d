// Select lists and FROM clauses of object, id, count, alias and aggregate
// queries, and the choice of the statement they are written into.
#include "adapter/adp_batch.h"
#include "adapter/adp_msg.h"
#include "core/cmn/cmn_alrt.h"
#include "adapter/adp_qry_rec.h"
#include "adapter/adp_qry_util.h"
#include "adapter/adp_sch.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_sql.h"
#include "adapter/dialects/adp_dbop_mssql.h"

using namespace adp_qry;

namespace {

constexpr const char* kAggFormats[] = {"%s", "min(%s)", "max(%s)", "avg(%s)", "sum(%s)", "count(%s)"};
constexpr long kNumAggFormats = sizeof(kAggFormats) / sizeof(kAggFormats[0]);

KAdpSqlBatch* batch(void* stmt) { return static_cast<KAdpSqlBatch*>(stmt); }

// On SQL Server an open query batch is the statement; else a new one.
long take_statement(KAdpConnId* con, void** stmt) {
  if (is_mssql(con)) {
    if (auto* op = dynamic_cast<KAdpMssqlOperation*>(con->GetDbOperation()); op && op->GetBatch()) {
      *stmt = op->GetBatch();
      return 0;
    }
  }
  return adp_sql_create(con, stmt);
}

struct looked_up {
  const char* table = nullptr;
  typ_sch_srec* schema = nullptr;
};

long look_up(KAdpConnId* con, long type_id, looked_up& out) {
  if (long st = adp_db_check_conn(con)) return st;
  if (long st = adp_sch_tbl_find(type_id, &out.table)) return st;
  return adp_sch_shandle_find(type_id, &out.schema);
}

bool oracle_date(KAdpConnId* con, const typ_sch_frec& f) { return is_oracle(con) && f.data_type == ADP_VT_CLK; }

long from_clause(KAdpConnId* con, KAdpSqlBatch* b, const char* table, long flags) {
  if ((flags & ADP_QRY_NO_LOCK) != 0 && is_mssql(con)) return b->AppendSqlFormat("\n from %s (NOLOCK) ", table);
  return b->AppendSqlFormat("\n from %s ", table);
}

}  // namespace

long adp_qry_prepare(KAdpConnId* con, long type_id, typ_sch_srec*, long flags, void** stmt) {
  if ((flags & ADP_QRY_IDS_ONLY) != 0) return adp_qry_prepare_id(con, type_id, nullptr, flags, 1, stmt);
  const char* date_format = phrase(con, kPhraseDateFormat);
  looked_up t;
  if (long st = look_up(con, type_id, t)) return st;
  if (long st = take_statement(con, stmt)) return st;
  KAdpSqlBatch* b = batch(*stmt);
  *b << "select ";
  if ((flags & ADP_QRY_DISTINCT) != 0) *b << "DISTINCT ";
  for (long i = 0; i < t.schema->nfields; ++i) {
    const typ_sch_frec& f = t.schema->fields[i];
    if (i > 0) *b << ",";
    if (oracle_date(con, f)) b->AppendSqlFormat(" TO_CHAR(%s, '%s')", f.name, date_format);
    else b->AppendSqlFormat(" %s", f.name);
  }
  from_clause(con, b, t.table, flags);
  return b->GetStatus();
}

long adp_qry_prepare_sql(KAdpConnId*, void* stmt, long type_id, typ_sch_srec*, long flags) {
  const char* table = nullptr;
  typ_sch_srec* schema = nullptr;
  if (long st = adp_sch_tbl_find(type_id, &table)) return st;
  if (long st = adp_sch_shandle_find(type_id, &schema)) return st;
  KAdpSqlBatch* b = batch(stmt);
  *b << "select ";
  if ((flags & ADP_QRY_DISTINCT) != 0) *b << "DISTINCT ";
  if ((flags & ADP_QRY_IDS_ONLY) != 0) {
    typ_sch_frec* id = nullptr;
    if (long st = objid_of(schema, &id)) return st;
    b->AppendSqlFormat("%s", id->name);
  } else {
    for (long i = 0; i < schema->nfields; ++i) {
      if (i > 0) *b << ",";
      b->AppendSqlFormat(i == 0 ? "%s" : " %s", schema->fields[i].name);
    }
  }
  b->AppendSqlFormat("\n from %s ", table);
  return b->GetStatus();
}

long adp_qry_prepare_with_tbl_name(KAdpConnId* con, long type_id, typ_sch_srec*, const char* alias, void** stmt,
                                   long flags) {
  const char* date_format = phrase(con, kPhraseDateFormat);
  looked_up t;
  if (long st = look_up(con, type_id, t)) return st;
  if (long st = take_statement(con, stmt)) return st;
  KAdpSqlBatch* b = batch(*stmt);
  *b << "select ";
  if ((flags & ADP_QRY_IDS_ONLY) != 0) {
    typ_sch_frec* id = nullptr;
    if (long st = objid_of(t.schema, &id)) return st;
    b->AppendSqlFormat("%s.%s", alias, id->name);
    return b->GetStatus();
  }
  for (long i = 0; i < t.schema->nfields; ++i) {
    const typ_sch_frec& f = t.schema->fields[i];
    if (i > 0) *b << ",";
    if (oracle_date(con, f)) b->AppendSqlFormat(" TO_CHAR(%s.%s, '%s')", alias, f.name, date_format);
    else b->AppendSqlFormat(" %s.%s", alias, f.name);
  }
  return b->GetStatus();
}

long adp_qry_prepare_num(KAdpConnId* con, long type_id, typ_sch_srec*, void** stmt) {
  looked_up t;
  if (long st = look_up(con, type_id, t)) return st;
  if (long st = adp_sql_create(con, stmt)) return st;
  KAdpSqlBatch* b = batch(*stmt);
  *b << "select count(*)";
  b->AppendSqlFormat("\n from %s ", t.table);
  return b->GetStatus();
}

long adp_qry_prepare_id(KAdpConnId* con, long type_id, typ_sch_srec*, long flags, char new_stmt, void** stmt) {
  looked_up t;
  if (long st = look_up(con, type_id, t)) return st;
  typ_sch_frec* id = nullptr;
  if (long st = objid_of(t.schema, &id)) return st;
  if (new_stmt != 0) {
    if (long st = take_statement(con, stmt)) return st;
  }
  KAdpSqlBatch* b = batch(*stmt);
  *b << "select ";
  if ((flags & ADP_QRY_DISTINCT) != 0) *b << "DISTINCT ";
  b->AppendSqlFormat("%s", id->name);
  b->AppendSqlFormat("\n from %s ", t.table);
  return b->GetStatus();
}

long adp_qry_gen_select_list(KAdpConnId* con, void* stmt, long type_id, long n, const adp_ty_qry_agg* aggregates,
                             long ngroup, const long* group) {
  if (long st = adp_db_check_conn(con)) return st;
  const char* date_format = phrase(con, kPhraseDateFormat);
  looked_up t;
  if (long st = look_up(con, type_id, t)) return st;
  KAdpSqlBatch* b = batch(stmt);
  *b << "select ";
  for (long i = 0; i < n; ++i) {
    const adp_ty_qry_agg& a = aggregates[i];
    if (i > 0) *b << ", ";
    if (a.code < 0 || a.code >= kNumAggFormats) {
      long rc = cmn_alrt_push(nullptr, nullptr, ADP_BAD_VALUE_TYPE, 1, a.code);
      (void)rc;
      return ADP_BAD_VALUE_TYPE;
    }
    const char* col = a.column;
    typ_sch_frec* f = nullptr;
    if (col == nullptr) {
      if (long st = field_of(t.schema, a.field, &f)) return st;
      col = f->name;
    }
    // An entry with its own column text is written as given.
    if (f != nullptr && oracle_date(con, *f)) {
      *b << "TO_CHAR(";
      b->AppendSqlFormat(kAggFormats[a.code], col);
      b->AppendSqlFormat(",'%s')", date_format);
    } else {
      b->AppendSqlFormat(kAggFormats[a.code], col);
    }
  }
  for (long g = 0; g < ngroup; ++g) {
    typ_sch_frec* f = nullptr;
    if (long st = field_of(t.schema, group[g], &f)) return st;
    if (n > 0 || g > 0) *b << ", ";
    b->AppendSqlFormat("%s", f->name);
  }
  b->AppendSqlFormat("\nfrom %s ", t.table);
  return b->GetStatus();
}
