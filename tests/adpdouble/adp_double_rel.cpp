// The adapter's relation calls and write queue, answering through the
// double. Outputs stay as they are unless a hook fills them.
#include <string>

#include "adapter/adp_rel.h"
#include "adpdouble/adp_double.h"
#include "adpdouble/adp_double_mem.h"

using adp_double::record;

namespace {
std::string ptr(const void* p) { return std::to_string(reinterpret_cast<unsigned long>(p)); }
std::string num(long v) { return std::to_string(v); }
std::string oid(const obj_id* id) {
  return id ? std::to_string(id->type) + "/" + std::to_string(id->num) + "/" + std::to_string(id->sub) : "null";
}
}  // namespace

long adp_rel_new_relate_remote_id(KAdpConnId*, obj_id* primary, const char* type_name, long rel_id,
                                  obj_id* foreign) {
  return record("adp_rel_new_relate_remote_id", {oid(primary), type_name ? type_name : "null", num(rel_id),
                                                 oid(foreign)});
}
long adp_rel_unrelate_remote_id(KAdpConnId*, obj_id* primary, long rel_id, obj_id* foreign) {
  return record("adp_rel_unrelate_remote_id", {oid(primary), num(rel_id), oid(foreign)});
}
long adp_rel_related_remote_id(KAdpConnId*, obj_id* primary, long rel_id, obj_id* foreign, long options,
                               char* related) {
  if (adp_mem::on()) {
    long s = record("adp_rel_related_remote_id", {oid(primary), num(rel_id), oid(foreign), num(options)});
    return s ? s : adp_mem::related_id_to_id(*primary, rel_id, *foreign, related);
  }
  return record("adp_rel_related_remote_id", {oid(primary), num(rel_id), oid(foreign), num(options)}, {related});
}
long adp_rel_unrelate_from_id(KAdpConnId*, char primary, obj_id* id, long rel_id) {
  return record("adp_rel_unrelate_from_id", {num(primary), oid(id), num(rel_id)});
}
long adp_rel_get_oid_mtm(KAdpConnId*, obj_id* id, typ_sch_srec* schema, typ_sch_srec* other, long rel_id,
                         long options, char primary, utl_ty_col* ids) {
  long s = record("adp_rel_get_oid_mtm",
                {oid(id), ptr(schema), ptr(other), num(rel_id), num(options), num(primary), ptr(ids)}, {ids});
  if (!s && adp_mem::on()) return adp_mem::related_ids(*id, rel_id, ids);
  return s;
}
long adp_rel_get_fk_oid(KAdpConnId*, obj_id* id, typ_sch_srec* schema, long rel_id, long options, utl_ty_col* ids) {
  long s = record("adp_rel_get_fk_oid", {oid(id), ptr(schema), num(rel_id), num(options), ptr(ids)}, {ids});
  if (!s && adp_mem::on()) return adp_mem::related_ids(*id, rel_id, ids);
  return s;
}
long adp_rel_get_pk_oid(KAdpConnId*, obj_id* id, typ_sch_srec* schema, long rel_id, long options, utl_ty_col* ids) {
  long s = record("adp_rel_get_pk_oid", {oid(id), ptr(schema), num(rel_id), num(options), ptr(ids)}, {ids});
  if (!s && adp_mem::on()) return adp_mem::related_ids(*id, rel_id, ids);
  return s;
}
long adp_obj_add_to_batch(dbs_ty_lobj* object, char create) {
  long s = record("adp_obj_add_to_batch", {ptr(object), num(create)});
  if (!s && adp_mem::on()) adp_mem::queue_object(object, create, 0, 0);
  return s;
}
long adp_obj_cond_add_to_batch(utl_ty_col* conds) { return record("adp_obj_cond_add_to_batch", {ptr(conds)}); }
long adp_obj_delete_in_batch(dbs_ty_lobj* object, long option) {
  long s = record("adp_obj_delete_in_batch", {ptr(object), num(option)});
  if (!s && adp_mem::on()) adp_mem::queue_object(object, 0, 1, option);
  return s;
}
namespace {
std::string names(long n, const char* const* list) {
  std::string out;
  for (long i = 0; list && i < n; ++i) out += std::string(i ? "," : "") + (list[i] ? list[i] : "-");
  return out;
}
}  // namespace

// The values answered are 100 + the column's position.
long adp_obj_get_fk_cols_batch(KAdpConnId*, long type_id, long number, long n, const char* const* columns,
                               long* values) {
  if (long s = record("adp_obj_get_fk_cols_batch", {num(type_id), num(number), num(n), names(n, columns)})) return s;
  if (adp_mem::on()) return adp_mem::fk_cols(type_id, number, n, columns, values);
  for (long i = 0; i < n; ++i) values[i] = 100 + i;
  return 0;
}
long adp_obj_get_fk_cols_batch_ex(KAdpConnId*, long type_id, long number, long n, const char* const* columns,
                                  const char* const* type_columns, const char* const* id_columns,
                                  const long* wanted_types, long* values) {
  std::string wanted;
  for (long i = 0; wanted_types && i < n; ++i) wanted += (i ? "," : "") + num(wanted_types[i]);
  if (long s = record("adp_obj_get_fk_cols_batch_ex", {num(type_id), num(number), num(n), names(n, columns),
                                                       names(n, type_columns), names(n, id_columns), wanted}))
    return s;
  if (adp_mem::on()) return adp_mem::fk_cols(type_id, number, n, columns, values);
  for (long i = 0; i < n; ++i) values[i] = 100 + i;
  return 0;
}

long adp_rel_do_batch(KAdpConnId*, char flag, long option) {
  long s = record("adp_rel_do_batch", {num(flag), num(option)});
  if (adp_mem::on()) {
    if (s) {
      adp_mem::abort_batch();
      return s;
    }
    return adp_mem::run_batch(flag, option);
  }
  return s;
}
long adp_rel_abort_batch() {
  if (adp_mem::on()) adp_mem::abort_batch();
  return record("adp_rel_abort_batch", {});
}

long adp_rel_get_obj_mtm(KAdpConnId*, dbs_ty_lobj* object, typ_sch_srec* schema, typ_sch_srec* other, long rel_id,
                         long options, char primary, utl_ty_col* objects) {
  long s = record("adp_rel_get_obj_mtm",
                {ptr(object), ptr(schema), ptr(other), num(rel_id), num(options), num(primary), ptr(objects)},
                {objects});
  if (!s && adp_mem::on()) return adp_mem::related(object, rel_id, objects);
  return s;
}
long adp_rel_get_fk_obj(KAdpConnId*, dbs_ty_lobj* object, long rel_id, long options, utl_ty_col* objects) {
  long s = record("adp_rel_get_fk_obj", {ptr(object), num(rel_id), num(options), ptr(objects)}, {objects});
  if (!s && adp_mem::on()) return adp_mem::related(object, rel_id, objects);
  return s;
}
long adp_rel_get_pk_obj(KAdpConnId*, dbs_ty_lobj* object, long rel_id, long options, utl_ty_col* objects) {
  long s = record("adp_rel_get_pk_obj", {ptr(object), num(rel_id), num(options), ptr(objects)}, {objects});
  if (!s && adp_mem::on()) return adp_mem::related(object, rel_id, objects);
  return s;
}
long adp_rel_get_pk_oid_col(KAdpConnId*, utl_ty_col* ids, long rel_id, utl_ty_col* out, long option) {
  return record("adp_rel_get_pk_oid_col", {ptr(ids), num(rel_id), ptr(out), num(option)});
}
