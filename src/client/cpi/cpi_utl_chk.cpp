// Argument checks shared by every worker of the client interface, and the
// conversions of names and handles they rely on.
#include "client/cpi/cpi_int.h"
#include "client/oab/oab_main.h"
#include "client/ost/ost_state.h"
#include "schema/typ_sch.h"

KAdpConnId* cpi_current_con() { return oab_db_con_id; }

long cpi_type_id(const char* type_name, long* type_id) {
  *type_id = -1;
  long field = 0;
  long st = typ_sch_name_to_id_i(type_name, nullptr, type_id, &field);
  if (st == 0 && *type_id >= 0) return 0;
  *type_id = -1;
  return cpi_alrt(CPI_ALRT_BAD_TYPE, type_name ? type_name : "");
}

long cpi_utl_obj_check(void* object, long param, const char* name) {
  if (object) return 0;
  if (param < 0) return cpi_alrt(CPI_ALRT_BAD_OBJECT, 0L);
  return cpi_bad_param(param, name);
}

long cpi_utl_objid_check(const cpi_ty_objid* objid, long param, const char* name) {
  if (objid && objid->id_number != 0) return 0;
  if (param >= 0) return cpi_bad_param(param, name);
  return cpi_alrt(CPI_ALRT_BAD_OBJID, reinterpret_cast<long>(objid));
}

long cpi_utl_state_check(long state, long param, const char* name) {
  long st = ost_state_check(cpi_state_of(state));
  if (st == 0 || param < 0) return st;
  return cpi_bad_param(param, name);
}

long cpi_utl_conid_check(long con_id) {
  if (con_id == cpi_con_value(cpi_current_con())) return 0;
  return cpi_alrt(CPI_ALRT_BAD_CON_ID, con_id);
}

long cpi_utl_type_code_check(long given, long expected) {
  if (given == expected) return 0;
  return cpi_alrt(CPI_ALRT_TYPE_CODE, given, expected);
}

long cpi_utl_get_connection_id(long* out_con_id) {
  *out_con_id = cpi_con_value(cpi_current_con());
  return 0;
}
