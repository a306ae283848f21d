// Query entry points: collection checks, the security procedure of id
// queries and the arguments the adapter's query layer receives.
#include "store/dbs_qry.h"

#include <cstdint>

#include "adapter/adp_qry.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_col.h"
#include "store/dbs_msg.h"
#include "store/dbs_obj.h"
#include "store/dbs_pwr.h"
#include "store/dbs_sql.h"

namespace {

constexpr long DBS_BAD_OBJ_COL = 0x70000d;
constexpr long DBS_BAD_OID_COL = 0x70000e;
constexpr long DBS_SMALL_BUFFER = 0x700010;
constexpr long k_no_limit = -1;
constexpr long k_cond_record = 580;
constexpr long k_ptr_record = 517;

dbs_ty_qry_secure_proc g_secure = nullptr;

long bad_col(const char* proc, long code, utl_ty_col* col) {
  return dbs_alrt(proc, code, reinterpret_cast<long>(col));
}

// The collection must exist (and be empty when asked).
long need(const char* proc, utl_ty_col* col, long code, bool empty = false) {
  if (!col) return bad_col(proc, code, col);
  if (empty) {
    long n = 0;
    utl_col_num(col, &n);
    if (n != 0) return bad_col(proc, code, col);
  }
  return 0;
}

long simple(const char* proc, KAdpConnId* c, void* desc, void* order, void* order_flags, long limit, long option,
            char parsed, utl_ty_col* objects, bool empty = false) {
  if (long st = need(proc, objects, DBS_BAD_OBJ_COL, empty)) return st;
  return adp_qry_simple(c, desc, order, order_flags, limit, option, parsed, objects);
}

long relation(const char* proc, KAdpConnId* c, obj_id* id, long rel_id, void* target, void* order, void* flags,
              long limit, char parsed, utl_ty_col* objects, bool empty = false) {
  if (long st = need(proc, objects, DBS_BAD_OBJ_COL, empty)) return st;
  return adp_qry_relation(c, id, rel_id, target, order, flags, limit, parsed, objects);
}

long refresh(utl_ty_col* conds, dbs_ty_subobj_conds* desc) {
  void* array = nullptr;
  long n = 0;
  if (long st = utl_col_get_array(conds, &array, &n)) return st;
  desc->conds = static_cast<dbs_ty_qry_cond*>(array);
  desc->count = n;
  return 0;
}

}  // namespace

long dbs_qry_secure_install(dbs_ty_qry_secure_proc proc) {
  g_secure = proc;
  return 0;
}

long dbs_qry_simple(KAdpConnId* c, void* desc, void* order, void* order_flags, utl_ty_col* objects) {
  return simple("dbs_qry_simple", c, desc, order, order_flags, k_no_limit, 0, 0, objects);
}
long dbs_qry_simple_distinct(KAdpConnId* c, void* desc, void* order, void* order_flags, utl_ty_col* objects) {
  return simple("dbs_qry_simple_distinct", c, desc, order, order_flags, k_no_limit, 1, 0, objects);
}
long dbs_qry_simple_option(KAdpConnId* c, void* desc, void* order, void* order_flags, long option,
                           utl_ty_col* objects) {
  return simple("dbs_qry_simple_option", c, desc, order, order_flags, k_no_limit, option, 0, objects);
}
long dbs_qry_simple_parsed(KAdpConnId* c, void* desc, void* order, void* order_flags, utl_ty_col* objects) {
  return simple("dbs_qry_simple_parsed", c, desc, order, order_flags, k_no_limit, 0, 1, objects);
}
long dbs_qry_simple_first(KAdpConnId* c, void* desc, void* order, void* order_flags, long n, utl_ty_col* objects) {
  return simple("dbs_qry_simple_first", c, desc, order, order_flags, n, 0, 0, objects, true);
}
long dbs_qry_simple_with_cond(KAdpConnId* c, void* desc, void* conds, void* order, void* order_flags,
                              utl_ty_col* objects) {
  if (long st = need("dbs_qry_simple_with_cond", objects, DBS_BAD_OBJ_COL)) return st;
  return adp_qry_simple_with_cond(c, desc, conds, order, order_flags, k_no_limit, 0, 0, objects);
}
long dbs_qry_simple_num(KAdpConnId* c, void* desc, long* count) { return adp_qry_simple_num(c, desc, count); }

long dbs_qry_simple_with_id(KAdpConnId* c, void* desc, void* order, void* order_flags, utl_ty_col* ids, long first,
                            long last, utl_ty_col* objects) {
  if (long st = need("dbs_qry_simple_with_id", objects, DBS_BAD_OBJ_COL, true)) return st;
  return adp_qry_simple_with_id2(c, desc, order, order_flags, ids, first, last, k_no_limit, objects, 0);
}

long dbs_qry_simple_for_id_option(KAdpConnId* c, void* desc, void* order, void* order_flags, long option,
                                  utl_ty_col* ids) {
  if (long st = need("dbs_qry_simple_for_id", ids, DBS_BAD_OID_COL)) return st;
  if (!(option & 2)) utl_col_reset(ids);
  dbs_ty_lobj* pwr = nullptr;
  if (g_secure) {
    if (long st = g_secure(desc, order, order_flags, &pwr, 0)) {
      if (pwr) dbs_obj_free_local("dbs_qry_simple_for_id", pwr);
      return st;
    }
  }
  long st = pwr ? dbs_pwr_qry_execute(c, pwr, ids)
                : adp_qry_simple_for_id(c, desc, order, order_flags, k_no_limit, option, ids);
  if (pwr) dbs_obj_free_local("dbs_qry_simple_for_id", pwr);
  return st;
}

long dbs_qry_simple_for_id(KAdpConnId* c, void* desc, void* order, void* order_flags, utl_ty_col* ids) {
  return dbs_qry_simple_for_id_option(c, desc, order, order_flags, 0, ids);
}

long dbs_qry_relation(KAdpConnId* c, obj_id* id, long rel_id, void* target, void* order, void* flags,
                      utl_ty_col* objects) {
  return relation("dbs_qry_relation", c, id, rel_id, target, order, flags, k_no_limit, 0, objects);
}
long dbs_qry_relation_parsed(KAdpConnId* c, obj_id* id, long rel_id, void* target, void* order, void* flags,
                             utl_ty_col* objects) {
  return relation("dbs_qry_relation_parsed", c, id, rel_id, target, order, flags, k_no_limit, 1, objects);
}
long dbs_qry_relation_first(KAdpConnId* c, obj_id* id, long rel_id, void* target, void* order, void* flags, long n,
                            utl_ty_col* objects) {
  return relation("dbs_qry_relation_first", c, id, rel_id, target, order, flags, n, 0, objects, true);
}
long dbs_qry_relation_with_cond(KAdpConnId* c, obj_id* id, long rel_id, void* target, void* order, void* flags,
                                utl_ty_col* objects) {
  if (long st = need("dbs_qry_relation_with_cond", objects, DBS_BAD_OBJ_COL)) return st;
  return adp_qry_relation_with_cond(c, id, rel_id, target, order, flags, k_no_limit, 0, objects);
}
long dbs_qry_relation_num(KAdpConnId* c, obj_id* id, long rel_id, void* target, long* count) {
  return adp_qry_relation_num(c, id, rel_id, target, count);
}
long dbs_qry_relation_for_id(KAdpConnId* c, obj_id* id, long rel_id, void* target, void* order, void* flags,
                             utl_ty_col* ids) {
  if (long st = need("dbs_qry_relation_for_id", ids, DBS_BAD_OID_COL)) return st;
  utl_col_reset(ids);
  return adp_qry_relation_for_id(c, id, rel_id, target, order, flags, k_no_limit, 0, ids);
}
long dbs_qry_relation_id_parsed(KAdpConnId* c, obj_id* id, long rel_id, void* target, void* order, void* flags,
                                utl_ty_col* ids) {
  if (long st = need("dbs_qry_relation_id_parsed", ids, DBS_BAD_OBJ_COL)) return st;
  return adp_qry_relation_for_id(c, id, rel_id, target, order, flags, k_no_limit, 1, ids);
}
long dbs_qry_relation_for_uni_id(KAdpConnId* c, obj_id* id, long rel_id, void* target, void* order, void* flags,
                                 utl_ty_col* ids) {
  if (long st = dbs_qry_relation_for_id(c, id, rel_id, target, order, flags, ids)) return st;
  return adp_pwr_eliminate_dup_id(ids);
}
long dbs_qry_relation_with_id(KAdpConnId* c, obj_id* id, long rel_id, void* target, void* order, void* flags,
                              utl_ty_col* objects) {
  if (long st = need("dbs_qry_relation_with_id", objects, DBS_BAD_OBJ_COL, true)) return st;
  return adp_qry_relation_with_id(c, id, rel_id, target, order, flags, k_no_limit, objects);
}
long dbs_qry_aggregate(KAdpConnId* c, void* desc, void* aggregates, void* group, utl_ty_col* result) {
  if (long st = need("dbs_qry_aggregate", result, DBS_BAD_OBJ_COL)) return st;
  return adp_qry_aggregate(c, desc, aggregates, group, result);
}

long dbs_qry_wildcard_len(const char* pattern, long* length) { return adp_qry_wildcard_len(pattern, length); }

long dbs_qry_wildcard_transform(const char* prefix, const char* pattern, const char* suffix, char* out, long size) {
  long length = 0;
  if (long st = adp_qry_wildcard_len(pattern, &length)) return st;
  long needed = length + 2 + (prefix ? 1 : 0) - (suffix ? 0 : 1);
  if (size < needed) return dbs_alrt("dbs_qry_wildcard_transform", DBS_SMALL_BUFFER, size, needed);
  return adp_qry_wildcard_transform(prefix, pattern, suffix, out, size);
}

long dbs_qry_mult_rel_for_id(KAdpConnId* c, long n, obj_id* ids, utl_ty_col* id_cols) {
  if (long st = need("dbs_qry_mult_rel_for_id", id_cols, DBS_BAD_OID_COL)) return st;
  long have = 0;
  utl_col_num(id_cols, &have);
  for (long i = 0; i < have; ++i) {
    void* slot = nullptr;
    utl_col_ith(id_cols, i, &slot);
    if (auto* inner = slot ? *static_cast<utl_ty_col**>(slot) : nullptr) utl_col_reset(inner);
  }
  for (; have < n; ++have) {
    utl_ty_col* inner = nullptr;
    if (long st = utl_col_make("dbs_qry_mult_rel_for_id", k_ptr_record, 80, 80, 0, 0, &inner)) return st;
    if (long st = utl_col_push(id_cols, &inner, nullptr)) {
      utl_col_free("dbs_qry_mult_rel_for_id", inner);
      return st;
    }
  }
  void* batch = nullptr;
  if (long st = dbs_sql_batch_create(c, &batch)) return st;
  long st = dbs_sql_batch_start(c);
  if (st == 0) st = adp_qry_mult_rel_for_id(c, n, ids, 0, id_cols);
  if (st == 0) st = dbs_sql_execute_batch(c, nullptr);
  long freed = dbs_sql_batch_free(c, batch);
  return st ? st : freed;
}

long dbs_qry_make_subobj_conds(const obj_id* parent, char flag, char option, dbs_ty_subobj_conds* desc,
                               utl_ty_col** conds) {
  if (!parent || !desc || !conds) return dbs_alrt("dbs_qry_make_subobj_conds", DBS_NULL_OBJECT);
  *conds = nullptr;
  if (long st = utl_col_make("dbs_qry_make_subobj_conds", k_cond_record, 4, 4, 0, 0, conds)) return st;
  const dbs_ty_qry_cond rows[] = {{1, 4, parent->num}, {2, 4, parent->type & 0x1ffff}};
  for (const auto& r : rows) {
    if (long st = utl_col_push(*conds, &r, nullptr)) {
      utl_col_free("dbs_qry_make_subobj_conds", *conds);
      *conds = nullptr;
      return st;
    }
  }
  desc->flag = flag;
  desc->flags = option ? 5 : 4;
  return refresh(*conds, desc);
}

long dbs_qry_add_to_subobj_conds(long field, long op, long value, utl_ty_col* conds, dbs_ty_subobj_conds* desc) {
  if (!desc || !conds || !(desc->flags & 4)) {
    cmn_alrt_push_msg(nullptr, 1, "dbs_qry_add_to_subobj_conds: cannot add to subobject cond not properly created\n");
    return 1;
  }
  const dbs_ty_qry_cond row{field, op, value};
  if (long st = utl_col_push(conds, &row, nullptr)) return st;
  return refresh(conds, desc);
}
