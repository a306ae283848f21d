// States at the client interface: the public face of the object states.
#include "client/cpi_state.h"

#include "client/cpi/cpi_int.h"
#include "client/ost/ost_main.h"
#include "client/ost/ost_state.h"

namespace {

constexpr long kDumpIndent = 3;
constexpr long kDumpOptions = 1;
constexpr long kAllTypes = -1;

long cpi_state_create_do(long con_id, long, long* out_state) {
  if (long st = cpi_utl_conid_check(con_id)) return st;
  if (!out_state) return cpi_bad_param(3, "tstate");
  ost_ty_state* state = nullptr;
  if (long st = ost_state_create(nullptr, cpi_con_of(con_id), 0, nullptr, nullptr, 0, &state)) return st;
  *out_state = reinterpret_cast<long>(state);
  return 0;
}

long cpi_state_commit_do(long state) {
  if (long st = cpi_utl_state_check(state, 1, "tstate")) return st;
  return ost_state_save(cpi_state_of(state), 0);
}

long cpi_state_rollback_do(long state) {
  if (long st = cpi_utl_state_check(state, 1, "tstate")) return st;
  return ost_state_abort(cpi_state_of(state), 0);
}

long cpi_state_dump_do(long state, FILE* stream) {
  if (long st = cpi_utl_state_check(state, 1, "tstate")) return st;
  return ost_state_dump(stream, kDumpIndent, "", kDumpOptions, cpi_state_of(state));
}

long cpi_state_install_callback_do(long state, long callback_number, void* procedure) {
  const ost_ty_cb_triple triple{callback_number, reinterpret_cast<ost_ty_callback>(procedure), 0};
  return ost_state_install_callback(cpi_state_of(state), 1, &triple);
}

long cpi_state_get_dbid_do(long state, long* out_con_id) {
  if (!state) return cpi_alrt(CPI_ALRT_NULL_STATE);
  KAdpConnId* con = nullptr;
  if (long st = ost_state_get_db_con(cpi_state_of(state), &con)) return st;
  *out_con_id = cpi_con_value(con);
  return 0;
}

// All types (-1) for a null name.
long type_or_all(const char* type_name, long* type_id) {
  *type_id = kAllTypes;
  return type_name ? cpi_type_id(type_name, type_id) : 0;
}

long cpi_state_count_do(long state, const char* type_name, long* out_count) {
  long type = 0;
  if (long st = type_or_all(type_name, &type)) return st;
  return ost_state_count(cpi_state_of(state), type, out_count);
}

long cpi_state_get_obj_by_index_do(long state, long index, const char* type_name, void** out_object) {
  long type = 0;
  if (long st = type_or_all(type_name, &type)) return st;
  dbs_ty_lobj* handle = nullptr;
  long found = 0;
  if (long st = ost_state_get_obj_by_index(cpi_state_of(state), index, type, &handle, &found)) return st;
  if (!found) return cpi_alrt(CPI_ALRT_BAD_OBJ_INDEX, index);
  *out_object = handle;
  return 0;
}

}  // namespace

long cpi_state_create(long con_id, long reserved, long* out_state) {
  return cpi_state_create_do(con_id, reserved, out_state);
}
long cpi_state_commit(long state) { return cpi_state_commit_do(state); }
long cpi_state_rollback(long state) { return cpi_state_rollback_do(state); }
long cpi_state_dump(long state, FILE* stream) { return cpi_state_dump_do(state, stream); }
long cpi_state_install_callback(long state, long callback_number, void* procedure) {
  return cpi_state_install_callback_do(state, callback_number, procedure);
}
long cpi_state_get_dbid(long state, long* out_con_id) { return cpi_state_get_dbid_do(state, out_con_id); }
long cpi_state_count(long state, const char* type_name, long* out_count) {
  return cpi_state_count_do(state, type_name, out_count);
}
long cpi_state_get_obj_by_index(long state, long index, const char* type_name, void** out_object) {
  return cpi_state_get_obj_by_index_do(state, index, type_name, out_object);
}
