// The adapter's reads of an SQL batch's result sets and the direct
// foreign-key column reads, answering through the double (from the
// in-memory database when it is on).
#include <string>

#include "adapter/adp_obj.h"
#include "adapter/adp_qry.h"
#include "adpdouble/adp_double.h"
#include "adpdouble/adp_double_mem.h"

using adp_double::record;

namespace {
std::string ptr(const void* p) { return std::to_string(reinterpret_cast<unsigned long>(p)); }
std::string num(long v) { return std::to_string(v); }
std::string names(long n, const char* const* list) {
  std::string out;
  for (long i = 0; list && i < n; ++i) out += std::string(i ? "," : "") + (list[i] ? list[i] : "-");
  return out;
}
}  // namespace

long adp_obj_get_from_buf(void* buffer, long type_id, void* constructor, utl_ty_col* objects) {
  long s = record("adp_obj_get_from_buf", {ptr(buffer), num(type_id), ptr(constructor), ptr(objects)},
                  {buffer, objects});
  if (!s && adp_mem::on()) return adp_mem::sql_read_objects(objects);
  return s;
}

long adp_qry_get_id_from_buf(void* statement, long count, utl_ty_col* ids) {
  long s = record("adp_qry_get_id_from_buf", {ptr(statement), num(count), ptr(ids)}, {statement, ids});
  if (!s && adp_mem::on()) return adp_mem::sql_read_ids(ids);
  return s;
}

long adp_obj_get_fk_cols(KAdpConnId*, long type_id, long number, long n, const char* const* columns, long* values) {
  long s = record("adp_obj_get_fk_cols", {num(type_id), num(number), num(n), names(n, columns)});
  if (!s && adp_mem::on()) return adp_mem::fk_cols(type_id, number, n, columns, values);
  return s;
}

long adp_obj_get_fk_cols_ex(KAdpConnId*, long type_id, long number, long n, const char* const* columns,
                            const char* const* type_columns, const char* const* id_columns, const long*,
                            long* values) {
  long s = record("adp_obj_get_fk_cols_ex", {num(type_id), num(number), num(n), names(n, columns),
                                             names(n, type_columns), names(n, id_columns)});
  if (!s && adp_mem::on()) return adp_mem::fk_cols(type_id, number, n, columns, values);
  return s;
}
