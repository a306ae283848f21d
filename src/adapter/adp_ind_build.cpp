// The recording step of an index rebuild: the adp_sch_index rows of the
// catalogue records that the schema declares. SQL Server hands the records
// to its dialect; Oracle writes them here, each under the name its index
// has after the type-name prefix.
#include <strings.h>

#include <string>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_ind.h"
#include "adapter/adp_ind_row.h"
#include "adapter/adp_sce.h"
#include "adapter/dialects/adp_dbop.h"
#include "schema/typ_rec.h"
#include "store/dbs_db.h"

namespace {

constexpr long kIndexName = 1;
constexpr long kDeleteRowPhrase = 62;

long ora_row(KAdpConnId* con, typ_sch_srec* type, const adp_ty_index_info* r, const std::string& logical,
             bool roamer, FILE* stream, long options) {
  KAdpDbOperation* op = con->GetDbOperation();
  const std::string name = adp_ind_quoted(logical.c_str());
  long count = 0;
  const std::string fields = adp_ind_quoted(adp_ind_join(r->fields, ":", &count).c_str());
  const long flags = strcasecmp(r->uniqueness, "UNIQUE") == 0 ? 1 : 0;
  const std::string remove =
      adp_ind_vfmt(op->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(kDeleteRowPhrase)), type->type_id,
                   name.c_str());
  if (long st = adp_ind_run(con, remove, false, stream, options)) return st;
  std::string insert;
  if (roamer) {
    long objid = 0;
    if (long st = adp_ind_row_objid(con, &objid)) return st;
    insert = "insert into adp_sch_index (objid, dev, type_id, index_name, flags, field_count, field_names, "
             "comments) \n" +
             adp_ind_fmt(" values(%ld, 1, ", objid) +
             adp_ind_fmt("%ld, lower('%s'), %ld, %ld, lower('%s'), '')\n", type->type_id, name.c_str(), flags, count,
                         fields.c_str());
  } else {
    insert = adp_ind_fmt(
        "insert into adp_sch_index (type_id, index_name, flags, field_count, field_names, comments) values (%ld, "
        "lower('%s'), %ld, %ld, lower('%s'), '')",
        type->type_id, name.c_str(), flags, count, fields.c_str());
  }
  return adp_ind_run(con, insert, false, stream, options);
}

}  // namespace

long adp_ind_build_adp_index(KAdpConnId* con, typ_sch_srec* type, utl_ty_col* records, FILE* stream,
                             long options) {
  if (long st = adp_db_check_conn(con)) return st;
  if (adp_db_is_db_mssql()) return con->GetDbOperation()->IndBuildAdpIndex(type, records, stream, options);
  if (type == nullptr || type->info == nullptr) return 0;
  const std::string type_name = type->info->name;
  const std::string objid_index = static_cast<const char*>(
      con->GetPhys("objid", static_cast<KAdpNameMapper::convert_type>(kIndexName), 0, type));
  char roamer = 0;
  for (adp_ty_index_info* r : adp_ind_records(records)) {
    if (strcasecmp(r->name, objid_index.c_str()) == 0 || r->in_schema == 0) continue;
    const std::string logical = adp_ind_logical_name(r->name, type_name.c_str());
    if (logical.empty()) continue;
    if (long st = dbs_db_if_roamer_enabled(con, &roamer)) return st;
    if (long st = ora_row(con, type, r, logical, roamer != 0, stream, options)) return st;
  }
  return 0;
}
