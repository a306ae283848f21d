// The table-change engine's index, column and type-name helpers: indexes
// created from a type's index descriptions or dropped from its table,
// columns added or renamed in place.
#include "adapter/adp_sce.h"
#include "adapter/adp_sch.h"
#include "adapter/adp_sch_load.h"
#include "core/utl/utl_col.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"
#include "store/dbs_rdb.h"
#include "store/dbs_rdb_int.h"

namespace {

constexpr const char* kOwner = "dbs_rdb";

}  // namespace

long dbs_rdb_create_indexes(KAdpConnId* con, typ_sch_srec* schema, FILE* stream, long options) {
  return adp_ind_create_declared(con, schema, stream, options);
}

long dbs_rdb_drop_indexes(KAdpConnId* con, typ_sch_srec* type, FILE* stream, long options) {
  if (!type) return 0;
  utl_ty_col* names = nullptr;
  if (long st = utl_col_make(kOwner, 516, 8, 8, 0, 0, &names)) return st;
  long st = adp_ind_list_index(con, type->type_id, names);
  long n = 0;
  if (!st) utl_col_num(names, &n);
  for (long i = 0; !st && i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(names, i, &e);
    st = adp_ind_drop_an_index(con, type->type_id, static_cast<const char*>(e), stream, options, 1);
  }
  utl_col_free(kOwner, names);
  return st;
}

long dbs_rdb_extend_table(KAdpConnId* con, typ_sch_srec* type, utl_ty_col* changes, FILE* stream, long options) {
  return adp_sce_add_columns(con, type, changes, stream, options);
}

long dbs_rdb_rename_columns(KAdpConnId* con, typ_sch_srec* type, utl_ty_col* changes, FILE* stream,
                            long options) {
  return adp_sce_rename_columns(con, type, changes, stream, options);
}

const char* dbs_rdb_db_type_name(long db_type) { return adp_sch_type_to_string(db_type); }
