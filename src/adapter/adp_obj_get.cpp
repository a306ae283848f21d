// Object SQL: reading object rows (one, many by number, the SQL Server
// multi-object batch) with the lock bracket, and the existence test.
#include <algorithm>
#include <strings.h>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_err.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_obj.h"
#include "adapter/adp_obj_int.h"
#include "adapter/adp_pass.h"
#include "adapter/adp_rec.h"
#include "adapter/adp_sch.h"
#include "adapter/adp_sch_cache.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_trn.h"
#include "adapter/dialects/adp_dbop.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "core/osl/osl_sys_cfg.h"
#include "core/utl/utl_col.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"
#include "store/dbs_main.h"

namespace {

constexpr long kPtrType = 517;
constexpr long kObjState = 6;
constexpr long kNoLockSuperFlag = 8;
constexpr long kDateFormatPhrase = 34;
constexpr long kInListSize = 8;

struct read_target {
  typ_sch_srec* schema = nullptr;
  const char* table = nullptr;
  long oid_index = -1;
};

long find_target(long type_id, read_target* t) {
  if (long st = adp_sch_shandle_find(type_id, &t->schema)) return st;
  if (long st = adp_sch_tbl_find(type_id, &t->table)) return st;
  return typ_sch_gen_to_sp(t->schema, TYP_GENERIC | ADP_GEN_OBJID, &t->oid_index);
}

const char* oid_name(const read_target& t) { return t.schema->fields[t.oid_index].name; }

long not_found(long type_id, long number) {
  const char* name = "";
  adp_sch_type_name_find(type_id, &name);
  return adp_obj_push(ADP_OBJ_NOT_FOUND, 2, name != nullptr ? name : "", number);
}

// Reads the statement's rows into the objects of col from first on.
long read_rows(KAdpSqlBatch* b, typ_sch_srec* schema, utl_ty_col* col, long first, long* rows) {
  KAdpUtlRecord rec;
  if (long st = rec.SetColTypesFromSchema(schema)) return st;
  if (long st = b->GetNextResult(rec)) return st;
  *rows = 0;
  rec.GetCount(*rows);
  long st = *rows > 0 ? rec.FillObjectCollection(col, schema, first, -1) : 0;
  rec.Purge();
  rec.RemoveAll();
  return st;
}

long get_one(KAdpConnId* con, long type_id, long number, long options, dbs_ty_lobj* object, const read_target& t,
             bool locked) {
  const bool mssql = adp_db_is_db_mssql() != 0;
  auto* mop = mssql ? dynamic_cast<KAdpMssqlOperation*>(con->GetDbOperation()) : nullptr;
  KAdpSqlBatch* b = mop != nullptr ? mop->GetBatch() : nullptr;
  const bool queued = b != nullptr;
  void* stmt = b;
  if (!queued) {
    if (long st = adp_sql_create(con, &stmt)) return st;
    b = static_cast<KAdpSqlBatch*>(stmt);
  }
  adp_obj_select_list(b, t.schema);
  b->AppendSqlFormat(mssql && locked ? "\n from %s HOLDLOCK" : "\n from %s ", t.table);
  b->AppendSqlFormat("\n where %s = ", oid_name(t));
  *b << KAdpBindParam(number);
  if (!mssql && locked) *b << " for update";
  if (queued) {
    mop->GetBatchTypes().Add(static_cast<unsigned>(type_id));
    *b << KAdpSqlBatch::kEndStmt;
    return b->GetStatus();
  }
  (void)options;
  if (long st = adp_sql_parse(con, stmt)) return st;
  utl_ty_col* col = nullptr;
  if (long st = utl_col_make("adp_obj_get", kPtrType, 1, 1, 0, 0, &col)) return st;
  long rows = 0;
  long st = utl_col_push(col, &object, nullptr);
  if (st == 0) st = read_rows(b, t.schema, col, 0, &rows);
  utl_col_free("adp_obj_get", col);
  if (st != 0) return st;
  adp_sql_free(con, stmt);
  return rows > 0 ? 0 : not_found(type_id, number);
}

bool stp_on() {
  char* v = nullptr;
  if (osl_sys_get_config_string("oracle_stp_on", &v) != 0) return false;
  return v != nullptr && strcasecmp(v, "TRUE") == 0;
}

}  // namespace

void adp_obj_select_list(KAdpSqlBatch* b, const typ_sch_srec* schema) {
  const bool oracle = adp_db_is_db_oracle() != 0;
  const char* format = "";
  if (oracle) {
    KAdpConnId* con = b->GetCid();
    KAdpDbOperation* op = con != nullptr ? con->GetDbOperation() : nullptr;
    if (op != nullptr) format = op->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(kDateFormatPhrase));
  }
  *b << "select ";
  for (long i = 0; i < schema->nfields; ++i) {
    const typ_sch_frec& f = schema->fields[i];
    if (i > 0) *b << ",";
    if (oracle && f.data_type == ADP_VT_CLK) {
      b->AppendSqlFormat(" TO_CHAR(%s, '%s')", f.name, format);
    } else {
      b->AppendSqlFormat(" %s", f.name);
    }
  }
}

bool adp_obj_lock_begin(KAdpConnId* con, long options, long* status) {
  *status = 0;
  if (!(options & 1)) return false;
  long level = 0;
  adp_trn_appl_level(&level);
  if (level <= 0 || (dbs_main_get_super_flag() & kNoLockSuperFlag)) return false;
  *status = adp_trn_begin(con);
  return *status == 0;
}

namespace {

// The type's table and objid field, then the lock bracket; *locked when a
// nested transaction was begun.
long read_start(KAdpConnId* con, long type_id, long options, read_target* t, bool* locked) {
  if (long st = find_target(type_id, t)) return st;
  long st = 0;
  *locked = adp_obj_lock_begin(con, options, &st);
  return st;
}

}  // namespace

long adp_obj_get(KAdpConnId* con, long type_id, long number, long options, dbs_ty_lobj* object) {
  return adp_err_guard([&]() -> long {
    read_target t;
    bool locked = false;
    long st = read_start(con, type_id, options, &t, &locked);
    if (st != 0) return st;
    if (adp_db_is_db_oracle() && stp_on() && t.schema->fields[t.oid_index].db_type == 0) {
      // The dialect's procedure read; the row is read here all the same.
      if ((st = con->GetDbOperation()->ObjGet(type_id, number, options, object, t.schema)) != 0) return st;
    }
    if ((st = get_one(con, type_id, number, options, object, t, locked)) != 0) return st;
    if (locked && (st = adp_trn_commit(con)) != 0) return st;
    object->flags = (object->flags | DBS_OBJ_PERM) & ~kObjState;
    return 0;
  });
}

long adp_obj_get_sql_batch(KAdpConnId* con, utl_ty_col* results, long type_id, long number, long options) {
  utl_ty_col* col = nullptr;
  if (long st = utl_col_make("adp_obj_get_sql_batch", kPtrType, 10, 10, 0, 0, &col)) return st;
  dbs_ty_lobj* object = nullptr;
  if (long st = dbs_obj_make(nullptr, type_id, &object)) return st;
  long st = adp_obj_get(con, type_id, number, options, object);
  if (adp_db_is_db_mssql()) {
    // The row arrives through the open batch.
    dbs_obj_free_local("adp_obj_get_sql_batch", object);
    utl_col_free("adp_obj_get_sql_batch", col);
    return st;
  }
  if (st == ADP_OBJ_NOT_FOUND) {
    long code = 0;
    const char* text = nullptr;
    cmn_alrt_pop(nullptr, &code, &text);
    dbs_obj_free_local("adp_obj_get_sql_batch", object);
    return utl_col_push(results, &col, nullptr);
  }
  if (st != 0) {
    dbs_obj_free_local("adp_obj_get_sql_batch", object);
    utl_col_free("adp_obj_get_sql_batch", col);
    return st;
  }
  if ((st = utl_col_push(col, &object, nullptr)) != 0) return st;
  return utl_col_push(results, &col, nullptr);
}

long adp_obj_get_from_buf(void* buffer, long, void*, utl_ty_col* objects) {
  auto* buf = static_cast<adp_ty_obj_buf*>(buffer);
  long type = 0, count = 0, cap = 0, ext = 0;
  if (buf->list != nullptr) utl_col_info(buf->list, &type, &count, &cap, &ext, nullptr, nullptr);
  if (buf->list == nullptr || buf->next >= count) return adp_obj_push(ADP_OBJ_BUF_END, 0);
  void* e = nullptr;
  if (long st = utl_col_ith(buf->list, buf->next, &e)) return st;
  auto* col = *static_cast<utl_ty_col**>(e);
  long n = 0;
  utl_col_info(col, &type, &n, &cap, &ext, nullptr, nullptr);
  for (long i = 0; i < n; ++i) {
    void* item = nullptr;
    if (long st = utl_col_ith(col, i, &item)) return st;
    if (long st = utl_col_push(objects, item, nullptr)) return st;
  }
  utl_col_free("adp_obj_get_from_buf", col);
  ++buf->next;
  return 0;
}

long adp_obj_get_col(KAdpConnId* con, long type_id, utl_ty_col* ids, long count, long options, utl_ty_col* objects,
                     long flag) {
  return adp_err_guard([&]() -> long {
    read_target t;
    bool locked = false;
    long st = read_start(con, type_id, options, &t, &locked);
    if (st != 0) return st;
    const bool mssql = adp_db_is_db_mssql() != 0;
    const long chunk = std::max(1L, con->GetDbOperation()->GetDbSpecificLong(
                                        static_cast<KAdpDbOperation::long_type>(kInListSize)));
    for (long first = 0; first < count; first += chunk) {
      void* stmt = nullptr;
      if ((st = adp_sql_create(con, &stmt)) != 0) return st;
      auto* b = static_cast<KAdpSqlBatch*>(stmt);
      adp_obj_select_list(b, t.schema);
      b->AppendSqlFormat(mssql && locked ? "\n from %s HOLDLOCK" : "\n from %s", t.table);
      const long last = std::min(count, first + chunk);
      for (long i = first; i < last; ++i) {
        void* e = nullptr;
        if ((st = utl_col_ith(ids, i, &e)) != 0) return st;
        const long number = flag == 1 ? *static_cast<long*>(e) : static_cast<obj_id*>(e)->num;
        if (i == first) b->AppendSqlFormat(" where %s in (%ld", oid_name(t), number);
        else b->AppendSqlFormat(", %ld", number);
      }
      *b << (!mssql && locked ? ") for update\n" : ")\n");
      if ((st = adp_sql_parse(con, stmt)) != 0) return st;
      long rows = 0;
      if ((st = read_rows(b, t.schema, objects, first, &rows)) != 0) return st;
      adp_sql_free(con, stmt);
    }
    return locked ? adp_trn_commit(con) : 0;
  });
}

long adp_obj_exist(KAdpConnId* con, long type_id, long number, long options, char* out) {
  read_target t;
  bool locked = false;
  long st = read_start(con, type_id, options, &t, &locked);
  if (st != 0) return st;
  void* stmt = nullptr;
  if ((st = adp_sql_create(con, &stmt)) != 0) return st;
  const char* name = oid_name(t);
  if (locked && adp_db_is_db_oracle()) {
    st = adp_sql_sprintf(con, stmt, "select %s from %s where %s = %ld for update", name, t.table, name, number);
  } else if (locked) {
    st = adp_sql_sprintf(con, stmt, "select %s from %s HOLDLOCK where %s = %ld", name, t.table, name, number);
  } else {
    st = adp_sql_sprintf(con, stmt, "select %s from %s where %s = %ld", name, t.table, name, number);
  }
  long found_number = 0;
  if (st == 0) st = adp_sql_define(con, KAdpBindCol(found_number));
  if (st == 0) st = adp_sql_parse(con, stmt);
  if (st == 0) st = adp_sql_exec_and_fetch(con, out);
  if (st != 0) return st;
  adp_sql_free(con, stmt);
  return locked ? adp_trn_commit(con) : 0;
}
