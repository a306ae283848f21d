// The adapter's query layer, answering through the double: every call is
// recorded with its arguments; collections are left as they are unless a hook
// fills them from the raw arguments.
#include <string>

#include "adapter/adp_qry.h"
#include "adpdouble/adp_double.h"
#include "adpdouble/adp_double_mem.h"

using adp_double::record;

namespace {
std::string ptr(const void* p) { return std::to_string(reinterpret_cast<unsigned long>(p)); }
std::string num(long v) { return std::to_string(v); }
std::string txt(const char* t) { return t ? t : "null"; }
std::string oid(const obj_id* id) {
  return id ? std::to_string(id->type) + "/" + std::to_string(id->num) + "/" + std::to_string(id->sub) : "null";
}
}  // namespace

long adp_qry_simple(KAdpConnId*, void* desc, void* order, void* order_flags, long limit, long option, char parsed,
                    utl_ty_col* objects) {
  long s = record("adp_qry_simple",
                {ptr(desc), ptr(order), ptr(order_flags), num(limit), num(option), num(parsed), ptr(objects)},
                {desc, objects});
  if (!s && adp_mem::on()) return adp_mem::query(desc, 0, nullptr, false, objects);
  return s;
}
long adp_qry_simple_with_cond(KAdpConnId*, void* desc, void* conds, void* order, void* order_flags, long limit,
                              long option, char parsed, utl_ty_col* objects) {
  return record("adp_qry_simple_with_cond", {ptr(desc), ptr(conds), ptr(order), ptr(order_flags), num(limit),
                                             num(option), num(parsed), ptr(objects)});
}
long adp_qry_simple_num(KAdpConnId*, void* desc, long* count) {
  long s = record("adp_qry_simple_num", {ptr(desc), ptr(count)}, {desc, count});
  if (!s && adp_mem::on()) return adp_mem::count(desc, count);
  return s;
}
long adp_qry_simple_with_id2(KAdpConnId*, void* desc, void* order, void* order_flags, utl_ty_col* ids, long first,
                             long last, long limit, utl_ty_col* objects, long option) {
  return record("adp_qry_simple_with_id2", {ptr(desc), ptr(order), ptr(order_flags), ptr(ids), num(first),
                                            num(last), num(limit), ptr(objects), num(option)});
}
long adp_qry_simple_for_id(KAdpConnId*, void* desc, void* order, void* order_flags, long limit, long option,
                           utl_ty_col* ids) {
  long s = record("adp_qry_simple_for_id",
                {ptr(desc), ptr(order), ptr(order_flags), num(limit), num(option), ptr(ids)}, {desc, ids});
  if (!s && adp_mem::on()) return adp_mem::query(desc, 0, nullptr, true, ids);
  return s;
}
long adp_qry_relation(KAdpConnId*, obj_id* id, long rel_id, void* target, void* order, void* order_flags,
                      long limit, char parsed, utl_ty_col* objects) {
  long s = record("adp_qry_relation", {oid(id), num(rel_id), ptr(target), ptr(order), ptr(order_flags), num(limit),
                                     num(parsed), ptr(objects)},
                {id, target, objects});
  if (!s && adp_mem::on()) return adp_mem::query_related(*id, rel_id, target, 0, nullptr, false, objects);
  return s;
}
long adp_qry_relation_with_cond(KAdpConnId*, obj_id* id, long rel_id, void* target, void* order, void* order_flags,
                                long limit, char parsed, utl_ty_col* objects) {
  return record("adp_qry_relation_with_cond", {oid(id), num(rel_id), ptr(target), ptr(order), ptr(order_flags),
                                               num(limit), num(parsed), ptr(objects)});
}
long adp_qry_relation_num(KAdpConnId*, obj_id* id, long rel_id, void* target, long* count) {
  return record("adp_qry_relation_num", {oid(id), num(rel_id), ptr(target), ptr(count)});
}
long adp_qry_relation_for_id(KAdpConnId*, obj_id* id, long rel_id, void* target, void* order, void* order_flags,
                             long limit, char parsed, utl_ty_col* ids) {
  long s = record("adp_qry_relation_for_id", {oid(id), num(rel_id), ptr(target), ptr(order), ptr(order_flags),
                                            num(limit), num(parsed), ptr(ids)},
                {id, ids});
  if (!s && adp_mem::on()) return adp_mem::query_related(*id, rel_id, target, 0, nullptr, true, ids);
  return s;
}
long adp_qry_relation_with_id(KAdpConnId*, obj_id* id, long rel_id, void* target, void* order, void* order_flags,
                              long limit, utl_ty_col* objects) {
  return record("adp_qry_relation_with_id", {oid(id), num(rel_id), ptr(target), ptr(order), ptr(order_flags),
                                             num(limit), ptr(objects)});
}
long adp_qry_aggregate(KAdpConnId*, void* desc, void* aggregates, void* group, utl_ty_col* result) {
  return record("adp_qry_aggregate", {ptr(desc), ptr(aggregates), ptr(group), ptr(result)});
}
long adp_qry_mult_rel_for_id(KAdpConnId*, long n, obj_id* ids, long option, utl_ty_col* id_cols) {
  return record("adp_qry_mult_rel_for_id", {num(n), ptr(ids), num(option), ptr(id_cols)}, {ids, id_cols});
}
long adp_qry_wildcard_len(const char* pattern, long* length) {
  // The pattern's own length, as a plain pattern has.
  if (length) *length = pattern ? static_cast<long>(std::string(pattern).size()) : 0;
  return record("adp_qry_wildcard_len", {txt(pattern)}, {length});
}
long adp_qry_wildcard_transform(const char* prefix, const char* pattern, const char* suffix, char*, long size) {
  return record("adp_qry_wildcard_transform", {txt(prefix), txt(pattern), txt(suffix), num(size)});
}
long adp_pwr_qry_execute(KAdpConnId*, const char* proc_name, const char* sql, utl_ty_col* ids) {
  return record("adp_pwr_qry_execute", {txt(proc_name), txt(sql), ptr(ids)}, {ids});
}
long adp_pwr_eliminate_dup_id(utl_ty_col* ids) { return record("adp_pwr_eliminate_dup_id", {ptr(ids)}, {ids}); }
long adp_pwr_stored_proc_create(KAdpConnId*, const char* name, const char* sql) {
  return record("adp_pwr_stored_proc_create", {txt(name), txt(sql)});
}
long adp_pwr_stored_proc_delete(KAdpConnId*, const char* name) {
  return record("adp_pwr_stored_proc_delete", {txt(name)});
}
long adp_pwr_qry_construct(KAdpConnId*, typ_sch_srec* schema, void* list, void* list2, void* client_query,
                           char* sql) {
  return record("adp_pwr_qry_construct", {ptr(schema), ptr(list), ptr(list2), ptr(client_query)},
                {list, list2, sql});
}
long adp_pwr_trend_qry_execute(KAdpConnId*, const char* sql, void* x) {
  return record("adp_pwr_trend_qry_execute", {txt(sql), ptr(x)});
}
long adp_pwr_non_block_exe(KAdpConnId*, const char* proc_name, const char* sql) {
  return record("adp_pwr_non_block_exe", {txt(proc_name), txt(sql)});
}
long adp_pwr_non_block_check(void* a, void* b, long* state) {
  return record("adp_pwr_non_block_check", {ptr(a), ptr(b)}, {state});
}
long adp_pwr_non_block_results(KAdpConnId*, utl_ty_col* ids) {
  return record("adp_pwr_non_block_results", {ptr(ids)});
}
long adp_pwr_non_block_cancel() { return record("adp_pwr_non_block_cancel", {}); }
