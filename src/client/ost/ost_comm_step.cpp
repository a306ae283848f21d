// One community step: the work items of one depth read in one SQL batch
// (key mode, with the parents' foreign keys read first) or in batches of
// "MAX_PER_READ_BATCH" statements (per-item mode), and the results taken
// from the batch's result sets.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <string>
#include <vector>

#include "adapter/adp_obj.h"
#include "client/ost/ost_comm_int.h"
#include "client/ost/ost_int.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_rel.h"
#include "client/ost/ost_state.h"
#include "core/cmn/cmn_typ.h"
#include "core/osl/osl_print.h"
#include "core/osl/osl_sys_cfg.h"
#include "core/utl/utl_col.h"
#include "schema/typ_fld.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "store/dbs_main.h"
#include "store/dbs_obj.h"
#include "store/dbs_rel.h"
#include "store/dbs_sql.h"

namespace {

constexpr long k_oid_field = 0x1000003;
constexpr long k_op_equal = 4;
constexpr long k_ids_flag = 4;
constexpr long k_and = 1;
constexpr long k_small_batch = 100;
constexpr long k_large_batch = 900;

long g_batch_size = -1;

long batch_size() {
  if (g_batch_size > 0) return g_batch_size;
  char* text = nullptr;
  long n = 0;
  if (osl_sys_get_config_string("MAX_PER_READ_BATCH", &text) == 0 && text && *text) {
    char* end = nullptr;
    n = std::strtol(text, &end, 10);
    if (end == text) n = 0;
  }
  g_batch_size = n > 0 ? n : OST_COMM_DEFAULT_BATCH;
  return g_batch_size;
}

bool per_item_mode(long n) {
  const long t = dbs_main_server_type();
  if ((t & 4) && (t & 16) && n > k_small_batch) return true;
  if ((t & 4) && (t & 128) && n > k_large_batch) return true;
  return (t & 1) && n > k_large_batch;
}

bool same_parent(const obj_id& a, const obj_id& b) { return ost_oid_same(a, b); }

// The foreign keys of one parent for all items naming it.
long fetch_fks(ost_comm_ctx& c, const obj_id& parent) {
  std::vector<std::string> columns;
  std::vector<std::pair<size_t, size_t>> pairs;  // item, column
  for (size_t i = 0; i < c.work.size(); ++i) {
    ost_ty_work_item& w = c.work[i];
    if (w.keys_fetched || !same_parent(w.parent, parent) || !w.level) continue;
    w.keys_fetched = 1;
    if (w.level->flags & OST_LVL_ONE_OBJECT) continue;
    if (w.level->rel == -1) {
      w.target_type = w.level->type_id;
      continue;
    }
    long target = -1, holds_key = 0;
    typ_sch_rrec* r = nullptr;
    if (long st = typ_sch_get_rel_info(nullptr, parent.type & DBS_OID_TYPE_MASK, nullptr, w.level->rel, nullptr,
                                       &target, nullptr, nullptr, &holds_key, &r))
      return st;
    w.target_type = target;
    w.key = 0;
    if (!holds_key) continue;
    std::string name = typ_sch_get_frel_name(r);
    size_t k = 0;
    while (k < columns.size() && strcasecmp(columns[k].c_str(), name.c_str()) != 0) ++k;
    if (k == columns.size()) columns.push_back(name);
    pairs.emplace_back(i, k);
  }
  if (columns.empty()) return 0;
  std::vector<const char*> names;
  for (const std::string& s : columns) names.push_back(s.c_str());
  std::vector<long> values(columns.size(), 0);
  const long n = static_cast<long>(columns.size());
  const long type = parent.type & DBS_OID_TYPE_MASK;
  long st = (c.options & OST_COMM_FK_ADAPTER) ? adp_obj_get_fk_cols(c.con, type, parent.num, n, names.data(), values.data())
                                               : dbs_rel_get_fk_cols(c.con, type, parent.num, n, names.data(), values.data());
  if (st) return st;
  for (const auto& [item, column] : pairs) {
    ost_ty_work_item& w = c.work[item];
    w.key = values[column] ? values[column] : -1;
    if (!values[column]) w.active = 0;
  }
  return 0;
}

dbs_ty_qry_desc* keep_desc(ost_comm_ctx& c, long type, std::vector<dbs_ty_qry_cond> conds) {
  c.cond_store.push_back(std::move(conds));
  std::vector<dbs_ty_qry_cond>& kept = c.cond_store.back();
  c.desc_store.push_back({type, static_cast<long>(kept.size()), kept.data(), k_and});
  return &c.desc_store.back();
}

std::vector<dbs_ty_qry_cond> level_conds(const ost_ty_trav_level& l) {
  std::vector<dbs_ty_qry_cond> out;
  for (long i = 0; i < l.ncond; ++i) out.push_back({l.conds[i].field, l.conds[i].op, l.conds[i].value});
  return out;
}

// The storage position of a field of a type, or -1.
long position_of(long type, long field) {
  typ_sch_srec* s = nullptr;
  long index = -1;
  if (typ_sch_find_handle(type, nullptr, &s) || !s || typ_sch_map(s, field, &index)) return -1;
  return index;
}

// Appends the item's statement; has_sql becomes true when one was appended.
long make_sql(ost_comm_ctx& c, ost_ty_work_item& w, utl_ty_col* list, bool* has_sql) {
  const long ids = w.ids_only ? k_ids_flag : 0;
  if (w.level_index == -1 || (w.level->flags & OST_LVL_ONE_OBJECT)) {
    *has_sql = true;
    return dbs_sql_obj_get_batch(c.con, list, w.target_type, w.key, ids);
  }
  const ost_ty_trav_level& l = *w.level;
  if (l.rel == -1) {
    w.target_type = l.type_id;
    if (l.ncond == 1 && l.conds[0].op == k_op_equal &&
        position_of(l.type_id, l.conds[0].field) == position_of(l.type_id, k_oid_field)) {
      w.key = l.conds[0].value;
      if (!w.key) {
        w.active = 0;
        return 0;
      }
      *has_sql = true;
      return dbs_sql_obj_get_batch(c.con, list, l.type_id, w.key, ids);
    }
    *has_sql = true;
    return dbs_sql_qry_simple(c.con, list, keep_desc(c, l.type_id, level_conds(l)), l.norder,
                              const_cast<ost_ty_trav_order*>(l.orders), ids);
  }
  *has_sql = true;
  if (w.key > 0) {
    if (l.ncond > 0) {
      std::vector<dbs_ty_qry_cond> conds{{k_oid_field, k_op_equal, w.key}};
      for (const dbs_ty_qry_cond& x : level_conds(l)) conds.push_back(x);
      return dbs_sql_qry_simple_batch(c.con, list, keep_desc(c, w.target_type, conds), l.norder,
                                      const_cast<ost_ty_trav_order*>(l.orders), ids);
    }
    if (w.ids_only) return dbs_sql_get_sqlvar_batch(c.con, list, w.key);
    return dbs_sql_obj_get_batch(c.con, list, w.target_type, w.key, 0);
  }
  dbs_ty_qry_desc* from = keep_desc(c, w.parent.type & DBS_OID_TYPE_MASK, {{k_oid_field, k_op_equal, w.parent.num}});
  return dbs_sql_qry_related_objs(c.con, list, from, l.rel, keep_desc(c, w.target_type, level_conds(l)), l.norder,
                                  const_cast<ost_ty_trav_order*>(l.orders), 0, ids);
}

// Replaces each new object that an earlier one of the collection already
// stands for by the earlier handle (the new local object is freed).
long remove_duplicates(utl_ty_col* col, long start) {
  const long n = ost_col_count(col);
  for (long i = start; i < n; ++i) {
    void* slot = nullptr;
    utl_col_ith(col, i, &slot);
    auto** h = static_cast<dbs_ty_lobj**>(slot);
    const obj_id id = ost_oid_of(*h);
    for (long j = 0; j < start; ++j) {
      auto* earlier = static_cast<dbs_ty_lobj*>(ost_ptr_ith(col, j));
      if (earlier && earlier != *h && ost_oid_same(ost_oid_of(earlier), id)) {
        dbs_obj_free_local("ost_rel_add_to_community", *h);
        *h = earlier;
        break;
      }
    }
  }
  return 0;
}

long read_root(ost_comm_ctx& c, long start) {
  const long n = ost_col_count(c.result);
  if (n - start != 1) {
    for (long i = n - 1; i >= start; --i) {
      dbs_obj_free_local("ost_rel_community", static_cast<dbs_ty_lobj*>(ost_ptr_ith(c.result, i)));
      utl_col_remove(c.result, nullptr, i);
    }
    return 0;
  }
  auto* fetched = static_cast<dbs_ty_lobj*>(ost_ptr_ith(c.result, start));
  utl_col_remove(c.result, nullptr, start);
  long key = -1;
  if (long st = ost_obj_add_local(c.state, fetched, &key)) {
    dbs_obj_free_local("ost_rel_community", fetched);
    return st;
  }
  dbs_ty_lobj* held = nullptr;
  ost_obj_find_bykey(c.state, key, 0, nullptr, &held);
  if (held != fetched) dbs_obj_free_local("ost_rel_community", fetched);
  return 0;
}

long read_item(ost_comm_ctx& c, ost_ty_work_item& w, adp_ty_obj_buf* buf, utl_ty_col* scratch) {
  if (w.ids_only) {
    utl_col_reset(scratch);
    if (long st = dbs_obj_get_id_from_buf(c.con, buf, w.target_type, scratch)) return st;
    for (long i = 0; i < ost_col_count(scratch); ++i) {
      void* e = nullptr;
      utl_col_ith(scratch, i, &e);
      const long number = *static_cast<long*>(e);
      if (!number) continue;
      obj_id id{w.target_type, number, 0};
      if (long st = utl_col_push(c.ids, &id, nullptr)) return st;
      c.ids_level.push_back(w.level_index);
    }
    return 0;
  }
  const long start = ost_col_count(c.result);
  if (long st = dbs_obj_get_from_buf(c.con, buf, w.target_type, nullptr, c.result)) return st;
  if (w.level_index == -1) {
    w.active = 0;
    return read_root(c, start);
  }
  const long n = ost_col_count(c.result);
  c.result_level.resize(static_cast<size_t>(n), w.level_index);
  remove_duplicates(c.result, start);
  const ost_ty_trav_level& l = *w.level;
  if ((l.flags & OST_LVL_CACHE) && c.state && l.rel != -1 && n > start) {
    void* array = nullptr;
    long count = 0;
    utl_col_get_array(c.result, &array, &count);
    return ost_rel_perm_cache(c.state, &w.parent, nullptr, l.rel, n - start, static_cast<dbs_ty_lobj**>(array) + start);
  }
  return 0;
}

long execute(ost_comm_ctx& c, void* batch, adp_ty_obj_buf* buf, size_t first, size_t last, bool has_sql) {
  utl_ty_col* scratch = nullptr;
  if (long st = utl_col_make("ost_rel_exec_community", CMN_TYP_LONG, 10, 10, 0, 0, &scratch)) return st;
  ost_sql_log_con(c.con, "EXECUTING community batch");
  long st = has_sql ? dbs_sql_execute_batch(c.con, nullptr) : 0;
  for (size_t i = first; st == 0 && i < last; ++i)
    if (c.work[i].active) st = read_item(c, c.work[i], buf, scratch);
  char more = 0;
  if (st == 0 && has_sql && (st = dbs_sql_get_result(c.con, batch, &more)) == 0 && more) {
    osl_print_mes("More results than anticipated in ost_rel_community\n");
    st = 1;
  }
  utl_col_free("ost_rel_exec_community", scratch);
  return st;
}

long key_mode(ost_comm_ctx& c, void* batch, adp_ty_obj_buf* buf) {
  for (size_t i = 0; i < c.work.size(); ++i)
    if (!c.work[i].keys_fetched) {
      if (long st = fetch_fks(c, c.work[i].parent)) return st;
    }
  if (long st = dbs_sql_batch_start(c.con)) return st;
  bool has_sql = false;
  for (ost_ty_work_item& w : c.work)
    if (w.active) {
      if (long st = make_sql(c, w, buf->list, &has_sql)) return st;
    }
  return execute(c, batch, buf, 0, c.work.size(), has_sql);
}

long per_item(ost_comm_ctx& c, void* batch, adp_ty_obj_buf* buf) {
  for (ost_ty_work_item& w : c.work) {
    if (!w.active || !w.level || w.level->rel == -1 || (w.level->flags & OST_LVL_ONE_OBJECT)) continue;
    long target = -1;
    if (long st = typ_sch_get_rel_info(nullptr, w.parent.type & DBS_OID_TYPE_MASK, nullptr, w.level->rel, nullptr,
                                       &target, nullptr, nullptr, nullptr, nullptr))
      return st;
    w.target_type = target;
    w.key = 0;
  }
  const long size = batch_size();
  size_t first = 0;
  long statements = 0;
  bool has_sql = false;
  if (long st = dbs_sql_batch_start(c.con)) return st;
  for (size_t i = 0; i < c.work.size(); ++i) {
    if (!c.work[i].active) continue;
    bool added = false;
    if (long st = make_sql(c, c.work[i], buf->list, &added)) return st;
    has_sql = has_sql || added;
    if (added && ++statements % size == 0) {
      if (long st = execute(c, batch, buf, first, i + 1, has_sql)) return st;
      first = i + 1;
      has_sql = false;
      if (long st = dbs_sql_batch_start(c.con)) return st;
    }
  }
  return first < c.work.size() ? execute(c, batch, buf, first, c.work.size(), has_sql) : 0;
}

}  // namespace

void ost_comm_reset_batch_size() { g_batch_size = -1; }

long ost_comm_step(ost_comm_ctx& c) {
  void* batch = nullptr;
  if (c.work.empty()) return 0;
  if (long st = dbs_sql_batch_create(c.con, &batch)) return st;
  adp_ty_obj_buf buf{nullptr, 0};
  long st = utl_col_make("ost_rel_one_community", CMN_TYP_VOID_P, 10, 10, 0, 0, &buf.list);
  if (st == 0) st = per_item_mode(static_cast<long>(c.work.size())) ? per_item(c, batch, &buf) : key_mode(c, batch, &buf);
  if (buf.list) utl_col_free("ost_rel_one_community", buf.list);
  dbs_sql_batch_free(c.con, batch);
  c.work.clear();
  c.cond_store.clear();
  c.desc_store.clear();
  return st;
}
