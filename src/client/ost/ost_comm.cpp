// The community fetch: the map's depths, the top level and each further
// depth as one step, the level results and the clean-up.
#include <algorithm>
#include <cstdio>

#include "client/ost/ost_comm_int.h"
#include "client/ost/ost_int.h"
#include "client/ost/ost_msg.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_state.h"
#include "core/cmn/cmn_typ.h"
#include "core/osl/osl_print.h"
#include "core/utl/utl_col.h"
#include "store/dbs_obj.h"

namespace {

constexpr long k_extent = 10;
constexpr long k_merge = 2;

}  // namespace

long ost_comm_init() {
  return cmn_typ_install(OST_TY_WORK, -1, -1, nullptr, sizeof(ost_ty_work_item), nullptr, nullptr, nullptr,
                         nullptr);
}

long ost_rel_community_init_trav(long count, ost_ty_trav_level* levels) {
  for (long i = 0; i < count; ++i) levels[i] = ost_ty_trav_level{-1, -1, 0, 0, nullptr, 0, nullptr, 0};
  return 0;
}

long ost_rel_community_free_col(const char* owner, utl_ty_col* col) {
  if (!col) return 0;
  long n = ost_col_count(col);
  for (long i = 0; i < n; ++i) {
    void* slot = nullptr;
    utl_col_ith(col, i, &slot);
    auto* h = *static_cast<dbs_ty_lobj**>(slot);
    if (!h) continue;
    for (long j = i + 1; j < n; ++j) {
      void* later = nullptr;
      utl_col_ith(col, j, &later);
      if (*static_cast<dbs_ty_lobj**>(later) == h) *static_cast<dbs_ty_lobj**>(later) = nullptr;
    }
    dbs_obj_free_local(owner, h);
  }
  return utl_col_free(owner, col);
}

long ost_comm_prepare(ost_comm_ctx& c, const char* proc) {
  if (!(c.options & OST_REL_COMMUNE_GET_ALL_HNDLS)) {
    osl_print_mes("ONLY OST_REL_COMMUNE_GET_ALL_HNDLS option is supported OST_REL_GET_COMMUNITY!\n");
    return 1;
  }
  c.depth.assign(static_cast<size_t>(c.nlevels > 0 ? c.nlevels : 0), 0);
  for (long i = 0; i < c.nlevels; ++i) {
    long d = 1;
    long steps = 0;
    for (long p = c.levels[i].from_index; p != -1; p = c.levels[p].from_index) {
      if (p < -1 || p >= c.nlevels) {
        osl_print_mes("%s: invalid from_index %ld\n", proc, p);
        return 1;
      }
      if (++steps > c.nlevels) {
        osl_print_mes("%s: circular traversal map\n", proc);
        return 1;
      }
      ++d;
    }
    c.depth[static_cast<size_t>(i)] = d;
    if ((c.levels[i].flags & OST_LVL_IDS_ONLY) && !c.ids) return ost_alrt(proc, OST_NULL_OBJID);
  }
  for (long i = 0; i < c.nlevels; ++i) c.results[i] = ost_ty_level_result{0, 0, 0, nullptr};
  return utl_col_make(proc, CMN_TYP_VOID_P, k_extent, k_extent, 0, 0, &c.result);
}

std::vector<obj_id> ost_comm_found(ost_comm_ctx& c, long level) {
  std::vector<obj_id> out;
  const bool ids = c.levels[level].flags & OST_LVL_IDS_ONLY;
  const std::vector<long>& owners = ids ? c.ids_level : c.result_level;
  for (size_t i = 0; i < owners.size(); ++i) {
    if (owners[i] != level) continue;
    if (ids) {
      void* e = nullptr;
      utl_col_ith(c.ids, static_cast<long>(i), &e);
      out.push_back(*static_cast<obj_id*>(e));
    } else {
      out.push_back(ost_oid_of(static_cast<dbs_ty_lobj*>(ost_ptr_ith(c.result, static_cast<long>(i)))));
    }
  }
  return out;
}

long ost_comm_settle(ost_comm_ctx& c, long from) {
  // The objects of one level stand together, in the order of the levels.
  long n = ost_col_count(c.result);
  std::vector<std::pair<long, void*>> slice;
  for (long i = from; i < n; ++i) slice.emplace_back(c.result_level[static_cast<size_t>(i)], ost_ptr_ith(c.result, i));
  std::stable_sort(slice.begin(), slice.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (long i = from; i < n; ++i) {
    void* slot = nullptr;
    utl_col_ith(c.result, i, &slot);
    *static_cast<void**>(slot) = slice[static_cast<size_t>(i - from)].second;
    c.result_level[static_cast<size_t>(i)] = slice[static_cast<size_t>(i - from)].first;
  }
  for (long l = 0; l < c.nlevels; ++l) {
    const bool ids = c.levels[l].flags & OST_LVL_IDS_ONLY;
    const std::vector<long>& owners = ids ? c.ids_level : c.result_level;
    auto first = std::find(owners.begin(), owners.end(), l);
    ost_ty_level_result& r = c.results[l];
    r.count = static_cast<int32_t>(std::count(owners.begin(), owners.end(), l));
    r.fetch_word1 = first == owners.end() ? 0 : static_cast<int32_t>(first - owners.begin());
  }
  return 0;
}

void ost_comm_release(ost_comm_ctx& c, bool failed) {
  if (failed && c.result) {
    if (c.state) {
      // Objects the state holds are the state's.
      long n = ost_col_count(c.result);
      for (long i = 0; i < n; ++i) {
        void* slot = nullptr;
        utl_col_ith(c.result, i, &slot);
        auto** h = static_cast<dbs_ty_lobj**>(slot);
        if (*h && ost_obj_index_of_handle(c.state, *h) >= 0) *h = nullptr;
      }
    }
    ost_rel_community_free_col("ost_rel_community", c.result);
    c.result = nullptr;
  }
  c.work.clear();
  c.cond_store.clear();
  c.desc_store.clear();
}

namespace {

// The root's own item and one item per level under the root.
void top_items(ost_comm_ctx& c, bool with_root) {
  if (with_root) c.work.push_back({-1, nullptr, c.root.type & DBS_OID_TYPE_MASK, c.root, c.root.num, 1, 0, 1});
  for (long i = 0; i < c.nlevels; ++i) {
    const ost_ty_trav_level& l = c.levels[i];
    if (l.from_index != -1) continue;
    if (l.flags & OST_LVL_ONE_OBJECT)
      c.work.push_back({i, &l, l.rel, c.root, l.type_id, 1, 0, 1});
    else
      c.work.push_back({i, &l, -1, c.root, 0, 1, static_cast<char>((l.flags & OST_LVL_IDS_ONLY) ? 1 : 0), 0});
  }
}

long max_depth(const ost_comm_ctx& c) {
  long d = 0;
  for (long x : c.depth) d = std::max(d, x);
  return d;
}

long finish(ost_comm_ctx& c, const char* proc, utl_ty_col** out) {
  if (c.state) {
    if (long st = ost_obj_add_col_option(c.state, c.result, nullptr, (c.options & OST_COMM_NO_MERGE) ? 0 : k_merge))
      return st;
  }
  void* array = nullptr;
  long n = 0;
  utl_col_get_array(c.result, &array, &n);
  for (long l = 0; l < c.nlevels; ++l) {
    ost_ty_level_result& r = c.results[l];
    r.fetch_word2 = 1;
    const bool ids = c.levels[l].flags & OST_LVL_IDS_ONLY;
    r.objects = (r.count > 0 && !ids) ? static_cast<void**>(array) + r.fetch_word1 : nullptr;
    if (r.count == 0) r.fetch_word1 = 0;
  }
  (void)proc;
  *out = c.result;
  c.result = nullptr;
  return 0;
}

}  // namespace

long ost_rel_mixed_community(KAdpConnId* con, ost_ty_state* state, const obj_id* root, long nlevels,
                             const ost_ty_trav_level* levels, long options, ost_ty_level_result* results,
                             utl_ty_col** out, utl_ty_col* ids) {
  static const char* const kProc = "ost_rel_community";
  *out = nullptr;
  if (state) {
    if (long st = ost_state_check(state)) return st;
  }
  ost_comm_ctx c{con, state, root ? *root : obj_id{}, nlevels, levels, options, results};
  c.ids = ids;
  if (long st = ost_comm_prepare(c, kProc)) {
    ost_comm_release(c, true);
    return st;
  }
  ost_sql_log_con(con, "\nSTART OF ost_rel_community");
  ost_sql_log_con(con, "STARTING top-level community batch");
  top_items(c, (options & OST_COMM_ROOT_ITEM) && state && ost_oid_has_number(c.root));
  long st = ost_comm_step(c);
  if (st == 0) st = ost_comm_settle(c, 0);
  for (long d = 2; st == 0 && d <= max_depth(c); ++d) {
    char line[64];
    std::snprintf(line, sizeof line, "STARTING community batch level %ld", d);
    ost_sql_log_con(con, line);
    const long from = ost_col_count(c.result);
    for (long l = 0; l < nlevels; ++l) {
      if (c.depth[static_cast<size_t>(l)] != d) continue;
      const ost_ty_trav_level& lv = levels[l];
      for (const obj_id& parent : ost_comm_found(c, lv.from_index))
        c.work.push_back({l, &lv, -1, parent, 0, 1, static_cast<char>((lv.flags & OST_LVL_IDS_ONLY) ? 1 : 0), 0});
    }
    st = ost_comm_step(c);
    if (st == 0) st = ost_comm_settle(c, from);
  }
  if (st == 0) st = finish(c, kProc, out);
  ost_comm_release(c, st != 0);
  if (st == 0) ost_sql_log_con(con, "FINISHED WITH ost_rel_community\n");
  return st;
}

long ost_rel_community(KAdpConnId* con, ost_ty_state* state, const obj_id* root, long nlevels,
                       const ost_ty_trav_level* levels, long options, ost_ty_level_result* results,
                       utl_ty_col** out) {
  return ost_rel_mixed_community(con, state, root, nlevels, levels, options, results, out, nullptr);
}
