// Object SQL: the common prologue of the writing calls, the insert of a new
// object row, and the destination table of a local object.
#include <cstring>
#include <strings.h>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_obj.h"
#include "adapter/adp_obj_int.h"
#include "adapter/adp_sch.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_trn.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/utl/utl_pl.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"
#include "schema/typ_write.h"
#include "store/dbs_db.h"
#include "store/dbs_rdb.h"

namespace {

constexpr long kObjState = 6;  // bits 1 and 2 of the object's flag word

bool is_dev(const typ_sch_frec& f) { return strcasecmp(f.name, "dev") == 0; }

// Calls write(field, index) for each field an insert writes (dev only with
// the offline feature), with a comma before every one but the first; stops
// at the first failure.
template <class F>
long each_written(KAdpSqlBatch* b, const adp_obj_ctx& c, F write) {
  bool first = true;
  for (long i = 0; i < c.schema->nfields; ++i) {
    const typ_sch_frec& f = c.schema->fields[i];
    if (!c.roamer && is_dev(f)) continue;
    if (!first) *b << ",";
    first = false;
    if (long st = write(f, i)) return st;
  }
  return 0;
}

// The column list of the insert.
void insert_columns(KAdpSqlBatch* b, const adp_obj_ctx& c, typ_sch_rel_inst** rels, long nrels) {
  each_written(b, c, [&](const typ_sch_frec& f, long) {
    b->AppendSqlFormat(" %s", f.name);
    if (c.search && (f.flags & ADP_FLD_SEARCHABLE)) b->AppendSqlFormat(", S_%s", f.name);
    return 0L;
  });
  for (long i = 0; i < nrels; ++i) {
    const typ_sch_rrec* r = rels[i]->rel;
    if (adp_obj_rel_pair(rels[i])) {
      b->AppendSqlFormat(", %s, %s", r->phys_name, r->focus_field);
    } else {
      b->AppendSqlFormat(", %s", r->fname);
    }
  }
}

long insert_values(KAdpSqlBatch* b, const adp_obj_ctx& c, typ_sch_rel_inst** rels, long nrels, long number) {
  const long st = each_written(b, c, [&](const typ_sch_frec& f, long i) {
    if (long rc = adp_obj_field_save_it(b, &f, &c.object->slots[i], 1, nullptr)) return rc;
    if (!c.search || !(f.flags & ADP_FLD_SEARCHABLE)) return 0L;
    *b << ",";
    return adp_obj_field_save_it_in_upcase(b, &f, &c.object->slots[i], nullptr);
  });
  if (st != 0) return st;
  const long key = dbs_rdb_temp_unique_key(number);
  for (long i = 0; i < nrels; ++i) {
    if (adp_obj_rel_pair(rels[i])) {
      b->AppendSqlFormat(", %ld, %ld", key, rels[i]->rel->pschema != nullptr ? rels[i]->rel->pschema->type_id : 0L);
    } else {
      b->AppendSqlFormat(", %ld", key);
    }
  }
  return b->GetStatus();
}

}  // namespace

const char* adp_obj_phrase(KAdpConnId* con, long n) {
  return con->GetDbOperation()->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(n));
}

long adp_obj_run_all(KAdpConnId* con, KAdpSqlBatch* b, long* rows) {
  if (long st = adp_sql_parse(con, b)) return st;
  const long n = b->GetStmtCount();
  for (long i = 0; i < n; ++i) {
    const char* text = b->GetStmt(i);
    if (text == nullptr || *text == '\0') continue;
    long r = 0;
    if (long st = b->GetNextResult(&r)) return st;
    if (rows != nullptr) *rows = r;
  }
  return 0;
}

long adp_obj_row_rels(const typ_sch_srec* schema, long* count, typ_sch_rel_inst*** out) {
  *count = 0;
  *out = nullptr;
  const typ_sch_iblk* info = schema->info;
  if (info == nullptr || info->nrelind <= 0 || info->relind == nullptr) return 0;
  if (!info->relind_converted) return 0;
  *count = info->nrelind;
  *out = reinterpret_cast<typ_sch_rel_inst**>(info->relind);
  return 0;
}

bool adp_obj_rel_pair(const typ_sch_rel_inst* rel) {
  const typ_sch_rrec* r = rel->rel;
  return r != nullptr && r->exclusive != 0 && r->phys_name != nullptr && *r->phys_name != '\0' &&
         r->focus_field != nullptr && *r->focus_field != '\0';
}

long adp_obj_prologue(KAdpConnId* con, dbs_ty_lobj* object, bool insert, long mode, adp_obj_ctx* c) {
  if ((mode & ADP_OBJ_KEEP_TEXTS) == 0) adp_obj_kept_texts().clear();
  c->con = con;
  c->object = object;
  dbs_db_if_roamer_enabled(con, &c->roamer);
  adp_db_is_header_flags_set(adp_db_get_head_addr(), ADP_HDR_SEARCH, &c->search);
  if ((mode & ADP_OBJ_CHECK_CONN) != 0) {
    if (long st = adp_db_check_conn(con)) return st;
  }
  c->schema = object->schema;
  if (c->schema->flags & ADP_SCH_STRUCTURE) return adp_obj_push(ADP_OBJ_STRUCTURE, 1, object);
  if (long st = typ_sch_gen_to_sp(c->schema, TYP_GENERIC | ADP_GEN_OBJID, &c->oid_index)) return st;
  if (long st = adp_sch_dest_tbl_find(object, &c->table)) return st;
  if (long st = typ_sch_put_dirty_timestamp(con, object, insert ? 1 : 0)) return st;
  if (long st = typ_sch_dirty_update_timestamp(con, object, 1, 0)) return st;
  if (!insert) return typ_sch_dirty_update_localeid(con, object, 1, 0);
  return 0;
}

long adp_obj_create(KAdpConnId* con, obj_id* id, dbs_ty_lobj* object) {
  adp_obj_ctx c;
  if (long st = adp_obj_prologue(con, object, true, ADP_OBJ_CHECK_CONN, &c)) return st;
  dbs_ty_slot& oid = object->slots[c.oid_index];
  const long old_number = oid.l;
  oid.l = id->num;
  if (long st = adp_trn_begin(con)) return st;
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  auto* b = static_cast<KAdpSqlBatch*>(stmt);
  // SQL Server writes the insert's values as literals; the offline feature
  // binds them elsewhere.
  adp_obj_bind_switch binding(con, adp_db_is_db_mssql() || c.roamer != 0, adp_db_is_db_mssql() ? 0 : 1);
  long nrels = 0;
  typ_sch_rel_inst** rels = nullptr;
  adp_obj_row_rels(c.schema, &nrels, &rels);
  b->AppendSqlFormat("insert into %s (", c.table);
  insert_columns(b, c, rels, nrels);
  *b << ")\n values(";
  long st = insert_values(b, c, rels, nrels, id->num);
  if (st == 0) {
    *b << ")";
    st = adp_sql_parse(con, stmt);
  }
  binding.restore();
  if (st == 0) st = adp_sql_execute(con, stmt);
  if (st != 0) {
    oid.l = old_number;
    return st;
  }
  adp_sql_free(con, stmt);
  if ((st = adp_trn_commit(con)) != 0) return st;
  object->flags = (object->flags | DBS_OBJ_PERM) & ~kObjState;
  return 0;
}

long adp_sch_dest_tbl_compose(dbs_ty_lobj* object, const char* db_name, const char* table, const char** out) {
  const bool has_db = db_name != nullptr && *db_name != '\0';
  const bool has_table = table != nullptr && *table != '\0';
  if (has_table && !has_db) {
    *out = table;
    return 0;
  }
  const char* type_table = nullptr;
  if (!has_table) {
    if (long st = adp_sch_tbl_find(object->schema->type_id, &type_table)) return st;
  }
  if (!has_db) {
    *out = type_table;
    return 0;
  }
  const char* t = has_table ? table : type_table;
  const long size = static_cast<long>(std::strlen(db_name) + std::strlen(t)) + 3;
  void* p = nullptr;
  if (long st = utl_pl_alloc(object->pool, size, &p)) return st;
  auto* text = static_cast<char*>(p);
  std::strcpy(text, db_name);
  std::strcat(text, "..");
  std::strcat(text, t);
  *out = text;
  return 0;
}

long adp_sch_dest_tbl_find(dbs_ty_lobj* object, const char** out) {
  // The store's local objects name no other database or table of their own.
  return adp_sch_dest_tbl_compose(object, nullptr, nullptr, out);
}
