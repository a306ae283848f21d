// Traversal-map queries: the checks, the translation, one community fetch
// and the result handle from which each level's objects are read.
#include "client/cpi_qry.h"

#include "client/cpi/cpi_int.h"
#include "client/cpi/cpi_qry_int.h"
#include "client/ost/ost_comm.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_mem.h"
#include "store/dbs_obj.h"

namespace {

constexpr long kCachedFetchOptions = 7;
constexpr long kResultSegments = 2;

// The result handle and its level entries in one block.
long make_result(long levels, cpi_ty_qry_result** out) {
  const long sizes[kResultSegments] = {sizeof(cpi_ty_qry_result), levels * static_cast<long>(sizeof(cpi_ty_level_entry))};
  void* addresses[kResultSegments] = {};
  if (long st = utl_mem_alloc("cpi_qry_format_output", kResultSegments, nullptr, sizes, addresses)) return st;
  auto* result = static_cast<cpi_ty_qry_result*>(addresses[0]);
  *result = cpi_ty_qry_result{nullptr, levels, static_cast<cpi_ty_level_entry*>(addresses[1]), 0};
  for (long i = 0; i < levels; ++i) result->entries[i] = cpi_ty_level_entry{0, 0, 0, nullptr};
  *out = result;
  return 0;
}

void free_collection(utl_ty_col* col, char no_state) {
  if (!col) return;
  if (no_state) ost_rel_community_free_col("cpi_qry_free_results", col);
  else utl_col_free("cpi_qry_free_results", col);
}

bool has_root_level(long count, const cpi_ty_trav_map* maps) {
  for (long i = 0; i < count; ++i)
    if (maps[i].kind == CPI_KIND_ROOT_REL) return true;
  return false;
}

long check_query(long con_id, long state, long count, const cpi_ty_trav_map* maps) {
  if (count < 1) return cpi_bad_param(5, "map_count");
  if (!maps) return cpi_bad_param(6, "trav_map");
  if (state)
    if (long st = cpi_utl_state_check(state, 1, "tstate")) return st;
  return cpi_utl_conid_check(con_id);
}

// Steps 3 to 9 of either query, with the root given one way or the other.
long run_query(long con_id, long state, const cpi_qry_root& root, long count, cpi_ty_trav_map* maps,
               cpi_ty_qry_result** out_result) {
  cpi_qry_xform made;
  if (long st = cpi_qry_xform_trav_maps(count, maps, root, &made)) return st;
  cpi_ty_qry_result* result = nullptr;
  if (long st = make_result(count, &result)) return st;
  obj_id root_id = root.objid ? cpi_to_oid(*root.objid) : obj_id{};
  if (!root.objid && root.object) dbs_obj_oid_get(root.object, &root_id);
  utl_ty_col* col = nullptr;
  long st = root.object ? ost_rel_community_cached(cpi_con_of(con_id), cpi_state_of(state), root.object, count,
                                                   made.levels.data(), kCachedFetchOptions, result->entries, &col)
                        : ost_rel_community(cpi_con_of(con_id), cpi_state_of(state), &root_id, count,
                                            made.levels.data(), OST_REL_COMMUNE_GET_ALL_HNDLS, result->entries, &col);
  if (st) {
    utl_mem_free("cpi_qry_traverse_map", result);
    return st;
  }
  result->objects_col = col;
  result->no_state = state ? 0 : 1;
  for (long i = 0; i < count; ++i) maps[i].result = &result->entries[i];
  *out_result = result;
  return 0;
}

long cpi_qry_traverse_map_do(long con_id, long state, const cpi_ty_objid* root_objid, long count,
                             cpi_ty_trav_map* maps, long, cpi_ty_qry_result** out_result) {
  if (long st = check_query(con_id, state, count, maps)) return st;
  if (has_root_level(count, maps))
    if (long st = cpi_utl_objid_check(root_objid, 4, "root_objid")) return st;
  cpi_qry_root root;
  root.objid = root_objid;
  return run_query(con_id, state, root, count, maps, out_result);
}

long cpi_qry_traverse_map_cached_do(long con_id, long state, void* root_object, long count, cpi_ty_trav_map* maps,
                                    long, cpi_ty_qry_result** out_result) {
  if (long st = check_query(con_id, state, count, maps)) return st;
  if (has_root_level(count, maps)) {
    if (long st = cpi_utl_obj_check(root_object, 3, "obj")) return st;
    if (long st = cpi_utl_state_check(state, 1, "tstate")) return st;
  }
  cpi_qry_root root;
  root.object = cpi_obj_of(root_object);
  return run_query(con_id, state, root, count, maps, out_result);
}

long cpi_qry_get_result_do(cpi_ty_qry_result* result, long level, long, long* out_count, void*** out_objects) {
  if (!out_count) return cpi_bad_param(5, "num_objs");
  if (!out_objects) return cpi_bad_param(5, "objects");
  *out_count = 0;
  *out_objects = nullptr;
  if (!result) return 0;
  if (level < 0 || level >= result->levels) return cpi_bad_param(2, "level");
  *out_count = result->entries[level].count;
  *out_objects = result->entries[level].objects;
  return 0;
}

long cpi_qry_free_results_do(cpi_ty_qry_result* result) {
  if (!result) return 0;
  free_collection(static_cast<utl_ty_col*>(result->objects_col), result->no_state);
  return utl_mem_free("cpi_qry_free_results", result);
}

}  // namespace

long cpi_qry_one_level_result(utl_ty_col* objects, cpi_ty_qry_result** out_result) {
  cpi_ty_qry_result* result = nullptr;
  if (long st = make_result(1, &result)) {
    utl_col_free("cpi_obj_find_related_in_state", objects);
    return st;
  }
  void* array = nullptr;
  long count = 0;
  if (objects) utl_col_get_array(objects, &array, &count);
  result->objects_col = objects;
  result->entries[0] = cpi_ty_level_entry{count, 0, 1, count > 0 ? static_cast<void**>(array) : nullptr};
  *out_result = result;
  return 0;
}

namespace {

long cpi_qry_trav_map_init_do(long count, cpi_ty_trav_map* maps) {
  for (long i = 0; i < count; ++i) {
    cpi_ty_trav_map& m = maps[i];
    m.rel_name = nullptr;
    m.type_name = nullptr;
    m.parent = -1;
    m.kind = CPI_KIND_TYPE;
    m.cond_count = 0;
    m.conds = nullptr;
    m.order_count = 0;
    m.orders = nullptr;
    m.result = nullptr;
  }
  return 0;
}

}  // namespace

long cpi_qry_trav_map_init(long count, cpi_ty_trav_map* maps) { return cpi_qry_trav_map_init_do(count, maps); }

long cpi_qry_traverse_map(long con_id, long state, const cpi_ty_objid* root_objid, long count, cpi_ty_trav_map* maps,
                          long option, cpi_ty_qry_result** out_result) {
  return cpi_qry_traverse_map_do(con_id, state, root_objid, count, maps, option, out_result);
}
long cpi_qry_traverse_map_cached(long con_id, long state, void* root_object, long count, cpi_ty_trav_map* maps,
                                 long option, cpi_ty_qry_result** out_result) {
  return cpi_qry_traverse_map_cached_do(con_id, state, root_object, count, maps, option, out_result);
}
long cpi_qry_get_result(cpi_ty_qry_result* result, long level, long reserved, long* out_count, void*** out_objects) {
  return cpi_qry_get_result_do(result, level, reserved, out_count, out_objects);
}
long cpi_qry_free_results(cpi_ty_qry_result* result) { return cpi_qry_free_results_do(result); }
