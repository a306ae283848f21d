// The adapter calls of a schema upgrade, answering through the double.
#include <string>

#include "adapter/adp_sch_upg.h"
#include "adpdouble/adp_double.h"

using adp_double::record;
using std::to_string;

long adp_sch_delete_type_info(KAdpConnId*, long type_id) {
  return record("adp_sch_delete_type_info", {to_string(type_id)});
}
long adp_sce_update_detable(KAdpConnId*, long version, utl_ty_col*) {
  return record("adp_sce_update_detable", {to_string(version)});
}
long adp_stp_create_procs(KAdpConnId*, const char* db_name, long flag) {
  return record("adp_stp_create_procs", {db_name ? db_name : "", to_string(flag)});
}
