// The cached community fetch: each relation level is answered for a parent
// from the state's pending relations and its relation cache where they can;
// only the other parents are queried.
#include <cstdio>

#include "client/ost/ost_comm_int.h"
#include "client/ost/ost_int.h"
#include "client/ost/ost_msg.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_rel.h"
#include "client/ost/ost_state.h"
#include "core/cmn/cmn_typ.h"
#include "core/osl/osl_print.h"
#include "core/utl/utl_col.h"
#include "store/dbs_obj.h"

namespace {

constexpr long k_merge = 2;

// Appends the handles of col as the level's objects.
long take(ost_comm_ctx& c, long level, utl_ty_col* col) {
  for (long i = 0; i < ost_col_count(col); ++i) {
    void* h = ost_ptr_ith(col, i);
    if (long st = utl_col_push(c.result, &h, nullptr)) return st;
    c.result_level.push_back(level);
  }
  return 0;
}

// True when the cache knows the relation of the parent and the state holds
// every object it names.
bool fully_cached(ost_ty_state* s, const obj_id& parent, long rel) {
  if (!s->perm_rel_col || ost_rel_perm_optimize(s)) return false;
  long named = 0;
  for (long i = 0; i < s->num_perm_rels; ++i) {
    const ost_ty_perm_rel& r = s->perm_rel_array[i];
    long matched = 0;
    ost_rel_perm_match(&parent, rel, &r, &matched);
    if (!matched) continue;
    ++named;
    dbs_ty_lobj* h = nullptr;
    ost_obj_find_byid(s, &r.to, 0, nullptr, &h);
    if (!h) return false;
  }
  return named > 0;
}

// The state's pending relation entries from the parent by the relation,
// applied to col.
long apply_pending(ost_comm_ctx& c, dbs_ty_lobj* parent, const obj_id& parent_id, long rel, utl_ty_col* col) {
  for (long i = 0; i < c.state->num_relations; ++i) {
    const ost_ty_rel_entry& e = c.state->rel_array[i];
    if (!(e.flags & OST_REL_FROM_HNDL) || e.rel != rel) continue;
    const bool same = parent ? e.from_handle == parent : ost_oid_same(ost_oid_of(e.from_handle), parent_id);
    if (!same && !(ost_oid_has_number(parent_id) && ost_oid_same(ost_oid_of(e.from_handle), parent_id))) continue;
    if (long st = ost_rel_delta(c.state, &e, col)) return st;
  }
  return 0;
}

// Answers a relation level for one parent from the state and the cache, or
// adds a work item for it.
long check_cached_rel(ost_comm_ctx& c, long level, dbs_ty_lobj* parent, const obj_id& parent_id) {
  const ost_ty_trav_level& l = c.levels[level];
  utl_ty_col* col = nullptr;
  const bool temp = !ost_oid_has_number(parent_id);
  if (temp) {
    if (!c.state || !parent) return 0;
    if (long st = utl_col_make("ost_rel_check_cached_rel", CMN_TYP_VOID_P, 5, 5, 0, 0, &col)) return st;
  } else if (c.state && fully_cached(c.state, parent_id, l.rel)) {
    obj_id id = parent_id;
    if (long st = ost_rel_perm_get_related(c.state, &id, l.rel, 0, &col)) return st;
  } else {
    c.work.push_back({level, &l, -1, parent_id, 0, 1, static_cast<char>((l.flags & OST_LVL_IDS_ONLY) ? 1 : 0), 0});
    return 0;
  }
  long st = apply_pending(c, parent, parent_id, l.rel, col);
  if (st == 0) st = take(c, level, col);
  utl_col_free("ost_rel_check_cached_rel", col);
  return st;
}

dbs_ty_lobj* handle_in_state(ost_comm_ctx& c, const obj_id& id) {
  dbs_ty_lobj* h = nullptr;
  if (c.state && ost_oid_has_number(id)) ost_obj_find_byid(c.state, &id, 0, nullptr, &h);
  return h;
}

long top_level(ost_comm_ctx& c, dbs_ty_lobj* root) {
  if (c.state && root && (c.options & OST_COMM_ROOT_ITEM)) {
    if (!ost_oid_has_number(c.root)) {
      if (ost_obj_index_of_handle(c.state, root) < 0) {
        if (long st = ost_obj_add_local(c.state, root, nullptr)) return st;
      }
    } else {
      c.work.push_back({-1, nullptr, c.root.type & DBS_OID_TYPE_MASK, c.root, c.root.num, 1, 0, 1});
    }
  }
  for (long i = 0; i < c.nlevels; ++i) {
    const ost_ty_trav_level& l = c.levels[i];
    if (l.from_index != -1) continue;
    if (l.flags & OST_LVL_ONE_OBJECT) {
      c.work.push_back({i, &l, l.rel, c.root, l.type_id, 1, 0, 1});
    } else if (l.rel == -1) {
      c.work.push_back({i, &l, l.type_id, c.root, 0, 1, static_cast<char>((l.flags & OST_LVL_IDS_ONLY) ? 1 : 0), 0});
    } else if (long st = check_cached_rel(c, i, root, c.root)) {
      return st;
    }
  }
  if (c.work.empty()) {
    osl_print_mes("top-level community roundtrip saved by using cache.\n");
    return 0;
  }
  ost_sql_log_con(c.con, "STARTING top-level community batch");
  return ost_comm_step(c);
}

long one_depth(ost_comm_ctx& c, long d) {
  char line[64];
  std::snprintf(line, sizeof line, "STARTING community batch level %ld", d);
  ost_sql_log_con(c.con, line);
  for (long l = 0; l < c.nlevels; ++l) {
    if (c.depth[static_cast<size_t>(l)] != d) continue;
    const ost_ty_trav_level& lv = c.levels[l];
    for (const obj_id& parent : ost_comm_found(c, lv.from_index)) {
      if (lv.rel == -1 || (lv.flags & OST_LVL_ONE_OBJECT)) {
        c.work.push_back({l, &lv, -1, parent, 0, 1, static_cast<char>((lv.flags & OST_LVL_IDS_ONLY) ? 1 : 0), 0});
        continue;
      }
      if (long st = check_cached_rel(c, l, handle_in_state(c, parent), parent)) return st;
    }
  }
  return ost_comm_step(c);
}

}  // namespace

long ost_rel_community_cached(KAdpConnId* con, ost_ty_state* state, dbs_ty_lobj* root, long nlevels,
                              const ost_ty_trav_level* levels, long options, ost_ty_level_result* results,
                              utl_ty_col** out) {
  static const char* const kProc = "ost_rel_community_cached";
  *out = nullptr;
  if (!(options & OST_REL_COMMUNE_GET_ALL_HNDLS)) return ost_alrt(kProc, OST_ONLY_ALL_HNDLS);
  if (state) {
    if (long st = ost_state_check(state)) return st;
  }
  ost_comm_ctx c{con, state, ost_oid_of(root), nlevels, levels, options | OST_COMM_CACHED, results};
  if (long st = ost_comm_prepare(c, kProc)) {
    ost_comm_release(c, true);
    return st;
  }
  ost_sql_log_con(con, "\nSTART OF ost_rel_community_cached");
  long st = top_level(c, root);
  if (st == 0) st = ost_comm_settle(c, 0);
  long deepest = 0;
  for (long d : c.depth) deepest = d > deepest ? d : deepest;
  for (long d = 2; st == 0 && d <= deepest; ++d) {
    const long from = ost_col_count(c.result);
    st = one_depth(c, d);
    if (st == 0) st = ost_comm_settle(c, from);
  }
  if (st == 0 && state) st = ost_obj_add_col_option(state, c.result, nullptr, k_merge);
  if (st == 0) {
    void* array = nullptr;
    long n = 0;
    utl_col_get_array(c.result, &array, &n);
    for (long l = 0; l < nlevels; ++l) {
      results[l].fetch_word2 = 1;
      results[l].objects = results[l].count > 0 ? static_cast<void**>(array) + results[l].fetch_word1 : nullptr;
    }
    *out = c.result;
    c.result = nullptr;
  }
  ost_comm_release(c, st != 0);
  if (st == 0) ost_sql_log_con(con, "FINISHED WITH ost_rel_community_cached\n");
  return st;
}
