// Running a power-query object.
#include "store/dbs_pwr.h"

#include <string>

#include "adapter/adp_qry.h"
#include "core/utl/utl_col.h"
#include "store/dbs_fld.h"
#include "store/dbs_msg.h"

bool dbs_pwr_take_rewrite(const std::string& sql);

namespace {
constexpr long k_proc_field = 5;
constexpr long k_sql_field = 6;
}  // namespace

long dbs_pwr_qry_execute(KAdpConnId* c, dbs_ty_lobj* pwr_object, utl_ty_col* ids) {
  if (!ids) return dbs_alrt("dbs_pwr_qry_execute", 0x70000e, 0L);
  long proc = 0;
  long sql = 0;
  long type = 0;
  if (long st = dbs_fld_get(pwr_object, k_proc_field, &proc, &type)) return st;
  if (long st = dbs_fld_get(pwr_object, k_sql_field, &sql, &type)) return st;
  utl_col_reset(ids);
  std::string text = sql ? reinterpret_cast<const char*>(sql) : "";
  if (dbs_pwr_take_rewrite(text)) text = dbs_pwr_convert_to_union_if_secure_on(text);
  return adp_pwr_qry_execute(c, reinterpret_cast<const char*>(proc), text.c_str(), ids);
}
