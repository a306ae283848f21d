// Relation reads outside the write batch: the objects related to an object
// (through the link table, the rows whose key points to it, the row its key
// points to), with row locks inside a transaction, and the ids of related
// objects, also for a list of foreign rows.
#include <functional>
#include <string>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_obj.h"
#include "adapter/adp_obj_int.h"
#include "adapter/adp_qry_rec.h"
#include "adapter/adp_qry_run.h"
#include "adapter/adp_rel_int.h"
#include "adapter/adp_sch.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_trn.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/utl/utl_col.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"
#include "store/dbs_main.h"

namespace {

constexpr long kLockOption = 1;
constexpr long kExistsOption = 16;
constexpr long kNoRowLocks = 8;  // the store's super flag
constexpr long kInListNumber = 8;
constexpr long kNumberType = 512;

KAdpSqlBatch* batch(void* stmt) { return static_cast<KAdpSqlBatch*>(stmt); }

const char* id_column(typ_sch_srec* s) {
  long index = -1;
  if (s == nullptr || typ_sch_gen_to_sp(s, TYP_GENERIC | ADP_GEN_OBJID, &index) != 0 || index < 0) return "objid";
  return s->fields[index].name;
}

// The relation entry of the object's type and the object's id.
long entry_and_id(dbs_ty_lobj* object, long rel_id, typ_sch_rrec** r, obj_id* id) {
  char side = 0;
  if (long st = adp_rel_entry_of(object->schema->type_id, rel_id, r, &side)) return st;
  return adp_rel_oid_of(object, id);
}

// The read's lock step: begun when wanted, committed after a good read.
class lock_step {
 public:
  lock_step(KAdpConnId* con, long options) : m_con(con), m_on(adp_rel_lock_wanted(options)) {}
  bool on() const { return m_on; }
  long begin() { return m_on ? adp_trn_begin(m_con) : 0; }
  long end(long status) {
    if (status != 0 || !m_on) return status;
    return adp_trn_commit(m_con);
  }

 private:
  KAdpConnId* m_con;
  bool m_on;
};

long read_objects(KAdpConnId* con, long options, typ_sch_srec* target, utl_ty_col* out,
                  const std::function<long(KAdpSqlBatch*, bool)>& text) {
  lock_step lock(con, options);
  if (long st = lock.begin()) return st;
  void* stmt = nullptr;
  long st = adp_qry_prepare(con, target->type_id, target, 0, &stmt);
  if (st == 0) st = text(batch(stmt), lock.on());
  if (st == 0) st = adp_qry_process(con, stmt, target->type_id, target, -1, out);
  return lock.end(st);
}

long read_ids(KAdpConnId* con, long options, long type_id, utl_ty_col* out, const char* column, const char* table,
              const char* key_column, long key) {
  lock_step lock(con, options);
  if (long st = lock.begin()) return st;
  void* stmt = nullptr;
  long st = adp_sql_create(con, &stmt);
  if (st == 0) st = batch(stmt)->BuildOidQuery(column, table, key_column, key, lock.on() ? 1 : 0, options & kExistsOption);
  if (st == 0) st = adp_qry_process_id(con, stmt, type_id, nullptr, -1, out);
  return lock.end(st);
}

}  // namespace

long adp_rel_oid_of(dbs_ty_lobj* object, obj_id* id) {
  adp_ty_oid_get_proc get = adp_obj_get_oid_get_proc();
  if (get == nullptr) get = dbs_obj_oid_get;
  return get(object, id);
}

bool adp_rel_lock_wanted(long options) {
  long level = 0;
  adp_trn_appl_level(&level);
  return (options & kLockOption) != 0 && level > 0 && (dbs_main_get_super_flag() & kNoRowLocks) == 0;
}

long adp_rel_get_obj_mtm(KAdpConnId* con, dbs_ty_lobj* object, typ_sch_srec* schema, typ_sch_srec* other,
                         long rel_id, long options, char primary, utl_ty_col* objects) {
  typ_sch_rrec* r = nullptr;
  char side = 0;
  if (long st = adp_rel_entry_of(schema->type_id, rel_id, &r, &side)) return st;
  obj_id id{};
  if (long st = adp_rel_oid_of(object, &id)) return st;
  const char* from_table = nullptr;
  const char* target_table = nullptr;
  if (long st = adp_sch_tbl_find(schema->type_id, &from_table)) return st;
  if (long st = adp_sch_tbl_find(other->type_id, &target_table)) return st;
  const char* palias = primary ? "T1" : "T2";
  const char* falias = primary ? "T2" : "T1";
  const bool mssql = adp_db_is_db_mssql() != 0;
  lock_step lock(con, options);
  if (long st = lock.begin()) return st;
  void* stmt = nullptr;
  long st = adp_qry_prepare_with_tbl_name(con, other->type_id, other, "T2", &stmt, 0);
  if (st == 0) {
    KAdpSqlBatch* b = batch(stmt);
    b->AppendSqlFormat(lock.on() && mssql ? "\n from %s %s HOLDLOCK, %s %s HOLDLOCK, %s HOLDLOCK"
                                          : "\n from %s %s, %s %s, %s ",
                       target_table, "T2", from_table, "T1", r->mtm_table);
    b->AppendSqlFormat("\n where %s.%s = %s.%s ", palias, id_column(r->pschema), r->mtm_table, r->pname);
    b->AppendSqlFormat("AND %s.%s = %s.%s ", falias, id_column(r->fschema), r->mtm_table, r->fname);
    b->AppendSqlFormat("AND %s.%s = %ld ", "T1", id_column(schema), id.num);
    if (lock.on() && !mssql) *b << " for update";
    st = adp_qry_process(con, stmt, other->type_id, other, -1, objects);
  }
  return lock.end(st);
}

long adp_rel_get_fk_obj(KAdpConnId* con, dbs_ty_lobj* object, long rel_id, long options, utl_ty_col* objects) {
  typ_sch_rrec* r = nullptr;
  obj_id id{};
  if (long st = entry_and_id(object, rel_id, &r, &id)) return st;
  const bool focus = adp_rel_has_focus(r);
  const bool mssql = adp_db_is_db_mssql() != 0;
  return read_objects(con, options, r->fschema, objects, [&](KAdpSqlBatch* b, bool locked) {
    if (locked && mssql) *b << " HOLDLOCK ";
    b->AppendSqlFormat("\n where %s = ", focus ? r->phys_name : r->fname);
    *b << KAdpBindParam(id.num);
    if (focus) {
      b->AppendSqlFormat(" AND %s = ", r->focus_field);
      *b << KAdpBindParam(r->pschema->type_id);
    }
    if (locked && !mssql) *b << " for update";
    return b->GetStatus();
  });
}

long adp_rel_get_pk_obj(KAdpConnId* con, dbs_ty_lobj* object, long rel_id, long options, utl_ty_col* objects) {
  typ_sch_rrec* r = nullptr;
  obj_id id{};
  if (long st = entry_and_id(object, rel_id, &r, &id)) return st;
  const char* ftable = nullptr;
  if (long st = adp_sch_tbl_find(r->fschema->type_id, &ftable)) return st;
  const bool focus = adp_rel_has_focus(r);
  const bool mssql = adp_db_is_db_mssql() != 0;
  return adp_qry_with_retry(con, [&] {
    return read_objects(con, options, r->pschema, objects, [&](KAdpSqlBatch* b, bool locked) {
      if (locked && mssql) *b << "HOLDLOCK";
      b->AppendSqlFormat("\n where %s = (select %s from %s ", id_column(r->pschema), focus ? r->phys_name : r->fname,
                         ftable);
      b->AppendSqlFormat("where %s = ", id_column(r->fschema));
      *b << KAdpBindParam(id.num);
      if (focus) {
        b->AppendSqlFormat(" AND %s = ", r->focus_field);
        *b << KAdpBindParam(r->pschema->type_id);
      }
      *b << " )";
      if (locked && !mssql) *b << " for update";
      return b->GetStatus();
    });
  });
}

long adp_rel_get_oid_mtm(KAdpConnId* con, obj_id* id, typ_sch_srec* schema, typ_sch_srec* other, long rel_id,
                         long options, char primary, utl_ty_col* ids) {
  typ_sch_rrec* r = nullptr;
  char side = 0;
  if (long st = adp_rel_entry_of(schema->type_id, rel_id, &r, &side)) return st;
  const char* column = primary ? r->fname : r->pname;
  const char* where = primary ? r->pname : r->fname;
  return read_ids(con, options, other->type_id, ids, column, r->mtm_table, where, id->num);
}

long adp_rel_get_fk_oid(KAdpConnId* con, obj_id* id, typ_sch_srec* schema, long rel_id, long options,
                        utl_ty_col* ids) {
  typ_sch_rrec* r = nullptr;
  char side = 0;
  if (long st = adp_rel_entry_of(schema->type_id, rel_id, &r, &side)) return st;
  const char* table = nullptr;
  if (long st = adp_sch_tbl_find(r->fschema->type_id, &table)) return st;
  const bool focus = adp_rel_has_focus(r);
  if (!focus) return read_ids(con, options, r->fschema->type_id, ids, id_column(r->fschema), table, r->fname, id->num);
  // The pair form: the key column and the focus column of the primary type.
  lock_step lock(con, options);
  if (long st = lock.begin()) return st;
  void* stmt = nullptr;
  long st = adp_sql_create(con, &stmt);
  if (st == 0) {
    KAdpSqlBatch* b = batch(stmt);
    b->AppendSqlFormat("SELECT %s FROM %s WHERE %s = ", id_column(r->fschema), table, r->phys_name);
    *b << KAdpBindParam(id->num);
    b->AppendSqlFormat(" AND %s = ", r->focus_field);
    *b << KAdpBindParam(r->pschema->type_id);
    if (lock.on() && adp_db_is_db_oracle()) *b << " FOR UPDATE ";
    *b << KAdpSqlBatch::kEndStmt;
    st = adp_qry_process_id(con, stmt, r->fschema->type_id, nullptr, -1, ids);
  }
  return lock.end(st);
}

long adp_rel_pk_oid_col(KAdpConnId* con, utl_ty_col* numbers, typ_sch_rrec* r, utl_ty_col* out, long options) {
  const char* table = nullptr;
  if (long st = adp_sch_tbl_find(r->fschema->type_id, &table)) return st;
  const bool focus = adp_rel_has_focus(r);
  const bool mssql = adp_db_is_db_mssql() != 0;
  const char* column = focus ? r->phys_name : r->fname;
  const char* idc = id_column(r->fschema);
  const bool lock = adp_rel_lock_wanted(options);
  long n = 0;
  utl_col_num(numbers, &n);
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  KAdpSqlBatch* b = batch(stmt);
  if (n == 0) {
    b->AppendSqlFormat(lock && mssql ? "SELECT %s FROM %s HOLDLOCK WHERE 1=2" : "SELECT %s FROM %s WHERE 1=2", column,
                       table);
  } else {
    b->AppendSqlFormat(lock && mssql ? "SELECT DISTINCT %s FROM %s HOLDLOCK WHERE %s IN ("
                                     : "SELECT DISTINCT %s FROM %s WHERE %s IN (",
                       column, table, idc);
    const long chunk = con->GetDbOperation()->GetDbSpecificLong(static_cast<KAdpDbOperation::long_type>(kInListNumber));
    for (long i = 0; i < n; ++i) {
      void* e = nullptr;
      if (long st = utl_col_ith(numbers, i, &e)) return st;
      if (i > 0 && chunk > 0 && i % chunk == 0) b->AppendSqlFormat(") OR %s IN (", idc);
      else if (i > 0) *b << ", ";
      b->AppendSqlFormat("%ld", *static_cast<const long*>(e));
    }
    *b << ") ";
  }
  if (focus) b->AppendSqlFormat(" AND %s = %ld", r->focus_field, r->pschema->type_id);
  if (lock && !mssql) *b << "for update";
  *b << KAdpSqlBatch::kEndStmt;
  return adp_qry_process_id(con, stmt, r->pschema->type_id, nullptr, -1, out);
}

long adp_rel_get_pk_oid(KAdpConnId* con, obj_id* id, typ_sch_srec* schema, long rel_id, long options,
                        utl_ty_col* ids) {
  typ_sch_rrec* r = nullptr;
  char side = 0;
  if (long st = adp_rel_entry_of(schema->type_id, rel_id, &r, &side)) return st;
  utl_ty_col* numbers = nullptr;
  if (long st = utl_col_make("adp_rel_get_pk_oid", kNumberType, 1, 1, 0, 0, &numbers)) return st;
  long before = 0;
  utl_col_num(ids, &before);
  long st = utl_col_push(numbers, &id->num, nullptr);
  if (st == 0) st = adp_rel_pk_oid_col(con, numbers, r, ids, options);
  utl_col_free("adp_rel_get_pk_oid", numbers);
  if (st != 0) return st;
  long after = 0;
  utl_col_num(ids, &after);
  // A foreign row points to one primary object at most.
  if (after - before > 1) return adp_obj_push(ADP_REL_MANY_PRIMARIES, 2, r->fschema->info->name, id->num);
  return 0;
}

long adp_rel_get_pk_oid_col(KAdpConnId* con, utl_ty_col* ids, long rel_id, utl_ty_col* out, long option) {
  // The foreign rows come as object ids: the relation is looked up on the
  // type of the first.
  long n = 0;
  long type = 0;
  long slot = 0;
  utl_col_info(ids, &type, &n, nullptr, nullptr, &slot, nullptr);
  if (n == 0) return 0;  // no foreign row, no primary id
  if (slot != static_cast<long>(sizeof(obj_id))) return adp_obj_push(ADP_REL_BAD_SIDE, 2, rel_id, "");
  void* first = nullptr;
  if (long st = utl_col_ith(ids, 0, &first)) return st;
  typ_sch_rrec* r = nullptr;
  char side = 0;
  if (long st = adp_rel_entry_of(static_cast<obj_id*>(first)->type, rel_id, &r, &side)) return st;
  utl_ty_col* numbers = nullptr;
  if (long st = utl_col_make("adp_rel_get_pk_oid_col", kNumberType, n, 10, 0, 0, &numbers)) return st;
  long st = 0;
  for (long i = 0; i < n && st == 0; ++i) {
    void* e = nullptr;
    st = utl_col_ith(ids, i, &e);
    if (st == 0) st = utl_col_push(numbers, &static_cast<obj_id*>(e)->num, nullptr);
  }
  if (st == 0) st = adp_rel_pk_oid_col(con, numbers, r, out, option);
  utl_col_free("adp_rel_get_pk_oid_col", numbers);
  return st;
}
