// Taking one stored row at the client interface.
#include "client/cpi_obj_take.h"

#include "adapter/adp_obj_take.h"
#include "client/cpi/cpi_int.h"

namespace {

long cpi_obj_take_field_do(long con_id, const char* type_name, long id_number, const char* field_name,
                           const char* from, const char* to, long* out_taken) {
  if (!out_taken) return cpi_bad_param(7, "taken");
  *out_taken = 0;
  if (long st = cpi_utl_conid_check(con_id)) return st;
  if (!field_name) return cpi_bad_param(4, "field_name");
  if (!from) return cpi_bad_param(5, "from");
  if (!to) return cpi_bad_param(6, "to");
  long type_id = -1;
  if (long st = cpi_type_id(type_name, &type_id)) return st;
  return adp_obj_take_field(cpi_con_of(con_id), type_id, id_number, field_name, from, to, out_taken);
}

}  // namespace

long cpi_obj_take_field(long con_id, const char* type_name, long id_number, const char* field_name, const char* from,
                        const char* to, long* out_taken) {
  return cpi_obj_take_field_do(con_id, type_name, id_number, field_name, from, to, out_taken);
}
