// The store's relation queries (from an object given by its id, or from
// described objects), several relations at once, aggregates and the
// SQL-batch forms of object queries.
#include <cstdint>
#include <vector>

#include "adapter/adp_batch.h"
#include "adapter/adp_db.h"
#include "adapter/adp_pass.h"
#include "adapter/adp_qry.h"
#include "adapter/adp_qry_rec.h"
#include "adapter/adp_qry_rel.h"
#include "adapter/adp_qry_run.h"
#include "adapter/adp_qry_util.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_sql.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"

using namespace adp_qry;

namespace {

constexpr long kTypeMask = 0x1FFFF;
constexpr long kPtrType = 517;

long norder_of(void* order) { return static_cast<long>(reinterpret_cast<intptr_t>(order)); }
const qry_order* orders_of(void* orders) { return static_cast<const qry_order*>(orders); }

// The from side given by an object id: one equality on the object id.
struct from_object {
  adp_ty_qry_cond cond{};
  adp_ty_qry_pcond pcond{};
  adp_ty_qry desc{};

  from_object(const obj_id* id, char parsed) {
    const long number = id != nullptr ? id->num : 0;
    cond = {kObjidGeneric, ADP_OPR_EQ, number};
    pcond = {kObjidGeneric, ADP_OPR_EQ, number, ADP_QRY_JOIN_AND};
    desc.type_id = id != nullptr ? id->type & kTypeMask : 0;
    desc.count = 1;
    desc.conds = parsed == 1 ? static_cast<void*>(&pcond) : static_cast<void*>(&cond);
    desc.join_flags = ADP_QRY_JOIN_AND;
  }
};

adp_ty_rel_query rel_query(const adp_ty_qry* from, long rel_id, void* target, void* order, void* orders, long limit,
                           char parsed, adp_qry_rel_result result, utl_ty_col* out) {
  adp_ty_rel_query q{};
  q.from = from;
  q.rel_id = rel_id;
  q.target = static_cast<const adp_ty_qry*>(target);
  q.norder = norder_of(order);
  q.orders = orders_of(orders);
  q.limit = limit;
  q.parsed = parsed;
  q.result = result;
  q.out = out;
  return q;
}

}  // namespace

long adp_qry_relation_with_cond(KAdpConnId* con, obj_id* id, long rel_id, void* target, void* order,
                                void* order_flags, long limit, char parsed, utl_ty_col* objects) {
  from_object from(id, parsed);
  return adp_qry_rel_run(con, rel_query(&from.desc, rel_id, target, order, order_flags, limit, parsed,
                                        ADP_REL_OBJECTS, objects));
}

long adp_qry_relation(KAdpConnId* con, obj_id* id, long rel_id, void* target, void* order, void* order_flags,
                      long limit, char parsed, utl_ty_col* objects) {
  return adp_qry_relation_with_cond(con, id, rel_id, target, order, order_flags, limit, parsed, objects);
}

long adp_qry_relation_num(KAdpConnId* con, obj_id* id, long rel_id, void* target, long* count) {
  from_object from(id, 0);
  adp_ty_rel_query q = rel_query(&from.desc, rel_id, target, nullptr, nullptr, -1, 0, ADP_REL_COUNT, nullptr);
  q.count = count;
  return adp_qry_rel_run(con, q);
}

long adp_qry_relation_for_id(KAdpConnId* con, obj_id* id, long rel_id, void* target, void* order,
                             void* order_flags, long limit, char parsed, utl_ty_col* ids) {
  from_object from(id, parsed);
  return adp_qry_rel_run(con, rel_query(&from.desc, rel_id, target, order, order_flags, limit, parsed, ADP_REL_IDS,
                                        ids));
}

// The related objects, as adp_qry_relation (the id list of the general
// form is not given by this call).
long adp_qry_relation_with_id(KAdpConnId* con, obj_id* id, long rel_id, void* target, void* order,
                              void* order_flags, long limit, utl_ty_col* objects) {
  return adp_qry_relation(con, id, rel_id, target, order, order_flags, limit, 0, objects);
}

long adp_qry_mult_rel_for_id(KAdpConnId* con, long n, obj_id* entries, long limits, utl_ty_col* id_cols) {
  const auto* e = reinterpret_cast<const adp_ty_qry_rel*>(entries);
  const auto* limit = reinterpret_cast<const long*>(limits);
  for (long i = 0; i < n; ++i) {
    void* slot = nullptr;
    if (long st = utl_col_ith(id_cols, i, &slot)) return st;
    auto* ids = *static_cast<utl_ty_col**>(slot);
    adp_ty_rel_query q{};
    q.from = &e[i].from;
    q.rel_id = e[i].rel_id;
    q.target = &e[i].target;
    q.norder = e[i].norder;
    q.orders = e[i].orders;
    q.limit = limit != nullptr ? limit[i] : -1;
    q.parsed = e[i].parsed;
    q.result = ADP_REL_IDS;
    q.out = ids;
    if (long st = adp_qry_rel_run(con, q)) return st;
  }
  return 0;
}

long adp_qry_aggregate(KAdpConnId* con, void* desc, void* aggregates, void* group, utl_ty_col* result) {
  if (long st = adp_db_check_conn(con)) return st;
  const auto* d = static_cast<const adp_ty_qry*>(desc);
  const auto* aggs = static_cast<const adp_ty_qry_agg_list*>(aggregates);
  const auto* g = static_cast<const adp_ty_qry_group*>(group);
  if (aggs == nullptr || aggs->count <= 0) return 0;
  const long ngroup = g != nullptr ? g->count : 0;
  typ_sch_srec* schema = nullptr;
  if (long st = adp_sch_shandle_find(d->type_id, &schema)) return st;
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  if (long st = adp_qry_gen_select_list(con, stmt, d->type_id, aggs->count, aggs->entries, ngroup,
                                        g != nullptr ? g->fields : nullptr))
    return st;
  if (d->count > 0) {
    *static_cast<KAdpSqlBatch*>(stmt) << "\nwhere ";
    if (long st = adp_qry_where(con, stmt, schema, d, 1, 0)) return st;
  }
  if (long st = adp_qry_group(con, stmt, schema, ngroup, g != nullptr ? g->fields : nullptr)) return st;
  if (g != nullptr) {
    if (long st = adp_qry_order(con, stmt, schema, g->norder, g->orders)) return st;
  }
  const long n = aggs->count + ngroup;
  std::vector<long> types(static_cast<size_t>(n)), sizes(static_cast<size_t>(n));
  for (long i = 0; i < aggs->count; ++i) {
    types[static_cast<size_t>(i)] = aggs->entries[i].result_type;
    sizes[static_cast<size_t>(i)] = aggs->entries[i].result_size;
  }
  for (long i = 0; i < ngroup; ++i) {
    typ_sch_frec* f = nullptr;
    if (long st = field_of(schema, g->fields[i], &f)) return st;
    long id_word = 0, flags = 0, size = 0;
    const char* name = nullptr;
    cmn_typ_info(f->data_type, &id_word, &flags, &name, &size, nullptr, nullptr, nullptr, nullptr);
    types[static_cast<size_t>(aggs->count + i)] = f->data_type;
    sizes[static_cast<size_t>(aggs->count + i)] = f->data_type == ADP_VT_STRING ? f->array_size + 1 : size;
  }
  long st = adp_sql_select_withsqlid(con, stmt, n, types.data(), sizes.data(), result);
  long freed = adp_sql_free(con, stmt);
  return st != 0 ? st : freed;
}

namespace {

// A relation query from described objects, without a row limit.
adp_ty_rel_query described(void* from_desc, long rel_id, void* target_desc, long n_order, void* orderings,
                           char parsed, adp_qry_rel_result result) {
  adp_ty_rel_query q{};
  q.from = static_cast<const adp_ty_qry*>(from_desc);
  q.rel_id = rel_id;
  q.target = static_cast<const adp_ty_qry*>(target_desc);
  q.norder = n_order;
  q.orders = static_cast<const qry_order*>(orderings);
  q.limit = -1;
  q.parsed = parsed;
  q.result = result;
  return q;
}

long batch_collection(utl_ty_col** col) { return utl_col_make("adp_qry_simple_sql", kPtrType, 10, 10, 0, 0, col); }

// On SQL Server the query waits in the open batch; elsewhere it has run and
// its objects join the caller's list.
long keep_result(KAdpConnId* con, long st, utl_ty_col* col, utl_ty_col* results) {
  if (st == 0 && !adp_qry_open_batch(con)) return utl_col_push(results, &col, nullptr);
  utl_col_free("adp_qry_simple_sql", col);
  return st;
}

}  // namespace

long adp_qry_simple_sql(KAdpConnId* con, utl_ty_col* results, void* desc, long n_order, void* orderings,
                        long flags) {
  utl_ty_col* col = nullptr;
  if (long st = batch_collection(&col)) return st;
  long st = adp_qry_simple(con, desc, reinterpret_cast<void*>(static_cast<intptr_t>(n_order)), orderings, -1, flags,
                           0, col);
  return keep_result(con, st, col, results);
}

long adp_qry_simple_sql_batch(KAdpConnId* con, utl_ty_col* results, void* desc, long n_order, void* orderings,
                              long flags) {
  return adp_qry_simple_sql(con, results, desc, n_order, orderings, flags);
}

long adp_qry_related_objs_sql(KAdpConnId* con, utl_ty_col* results, void* from_desc, long rel_id, void* target_desc,
                              long n_order, void* orderings, char parsed, long flags) {
  utl_ty_col* col = nullptr;
  if (long st = batch_collection(&col)) return st;
  adp_ty_rel_query q = described(from_desc, rel_id, target_desc, n_order, orderings, parsed, ADP_REL_OBJECTS);
  q.flags = flags;
  q.to_batch = adp_db_is_db_mssql() ? 1 : 0;
  q.out = col;
  return keep_result(con, adp_qry_rel_run(con, q), col, results);
}

long adp_qry_relation_sql(KAdpConnId* con, utl_ty_col* results, void* from_desc, long rel_id, void* target_desc,
                          long n_order, void* orderings, char parsed, long) {
  return adp_qry_related_objs_sql(con, results, from_desc, rel_id, target_desc, n_order, orderings, parsed, 0);
}

namespace {

adp_ty_rel_query text_query(void* stmt, void* from_desc, long rel_id, void* target_desc, long n_order,
                            void* orderings, char parsed, adp_qry_rel_result result) {
  adp_ty_rel_query q = described(from_desc, rel_id, target_desc, n_order, orderings, parsed, result);
  q.text_into = stmt;
  return q;
}

}  // namespace

long adp_qry_relation_non_mtm_sql(KAdpConnId* con, void* stmt, void* from_desc, long rel_id, void* target_desc,
                                  long n_order, void* orderings, char parsed, long flags) {
  adp_ty_rel_query q = text_query(stmt, from_desc, rel_id, target_desc, n_order, orderings, parsed, ADP_REL_OBJECTS);
  q.flags = flags;
  q.distinct_sub = 1;
  return adp_qry_rel_text(con, q);
}

long adp_qry_sql_rel_for_id(KAdpConnId* con, void* stmt, void* from_desc, long rel_id, void* target_desc,
                            long n_order, void* orderings, char parsed) {
  return adp_qry_rel_text(con, text_query(stmt, from_desc, rel_id, target_desc, n_order, orderings, parsed,
                                          ADP_REL_IDS));
}
