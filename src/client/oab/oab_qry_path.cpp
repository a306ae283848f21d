// Following a field path through relations from a start object.
#include <string>
#include <vector>

#include "client/oab/oab_main.h"
#include "client/oab/oab_qry.h"
#include "client/ost/ost_comm.h"
#include "core/utl/utl_col.h"
#include "schema/typ_path.h"
#include "schema/typ_rel.h"
#include "store/dbs_obj.h"

namespace {

constexpr char kSep = ':';

long put_copy(dbs_ty_lobj* o, utl_ty_col* col) {
  dbs_ty_lobj* copy = nullptr;
  if (long st = dbs_obj_copy(o, &copy)) return st;
  return utl_col_push(col, &copy, nullptr);
}

// The end objects: a copy of the first into *out_obj, copies of all into
// out_col (emptied first).
long hand_out(dbs_ty_lobj* const* objects, long count, dbs_ty_lobj** out_obj, utl_ty_col* out_col) {
  if (out_obj != nullptr && count > 0)
    if (long st = dbs_obj_copy(objects[0], out_obj)) return st;
  if (out_col == nullptr || count == 0) return 0;
  if (long st = utl_col_reset(out_col)) return st;
  for (long i = 0; i < count; ++i)
    if (long st = put_copy(objects[i], out_col)) return st;
  return 0;
}

// The traversal levels of a chain of relation names from a type.
long build_levels(long type, const std::string& chain, std::vector<ost_ty_trav_level>* levels) {
  size_t start = 0;
  for (;;) {
    size_t end = chain.find(kSep, start);
    std::string name = chain.substr(start, end == std::string::npos ? std::string::npos : end - start);
    long rel = 0;
    long target = 0;
    if (long st = typ_sch_rel_name_to_id(type, nullptr, name.c_str(), &rel, &target)) return st;
    long parent = static_cast<long>(levels->size()) - 1;
    levels->push_back(ost_ty_trav_level{rel, parent, 0, 0, nullptr, 0, nullptr, 0});
    type = target;
    if (end == std::string::npos) return 0;
    start = end + 1;
  }
}

long fetch_end(const obj_id& id, const std::string& chain, dbs_ty_lobj** out_obj, utl_ty_col* out_col) {
  std::vector<ost_ty_trav_level> levels;
  if (long st = build_levels(id.type & OAB_TYPE_MASK, chain, &levels)) return st;
  std::vector<ost_ty_level_result> results(levels.size());
  utl_ty_col* found = nullptr;
  obj_id root = id;
  long st = ost_rel_community(oab_db_con_id, nullptr, &root, static_cast<long>(levels.size()), levels.data(),
                              OST_REL_COMMUNE_GET_ALL_HNDLS, results.data(), &found);
  if (st == 0 && found != nullptr) {
    const ost_ty_level_result& last = results.back();
    auto* all = reinterpret_cast<dbs_ty_lobj**>(found->array);
    st = hand_out(all + last.fetch_word1, last.count, out_obj, out_col);
  }
  if (found != nullptr) dbs_obj_free_local_col(nullptr, found);
  return st;
}

}  // namespace

long oab_qry_traverse_path(void*, dbs_ty_lobj* start, const char* path, dbs_ty_lobj** out_obj, utl_ty_col* out_col,
                           long* final_type, long* field_id, long* data_type, long) {
  if (start == nullptr || path == nullptr || *path == '\0') return 0;
  if (out_obj != nullptr) *out_obj = nullptr;
  obj_id id{};
  if (long st = dbs_obj_oid_get(start, &id)) return st;
  std::string p = path;
  size_t cut = p.rfind(kSep);
  std::string chain = cut == std::string::npos ? std::string() : p.substr(0, cut);
  long st = chain.empty() ? hand_out(&start, 1, out_obj, out_col) : fetch_end(id, chain, out_obj, out_col);
  if (st != 0) return st;
  long t = 0;
  long f = 0;
  long d = 0;
  if (long s2 = typ_sch_field_path_info_get(id.type & OAB_TYPE_MASK, path, &t, &f, &d)) return s2;
  if (final_type != nullptr) *final_type = t;
  if (field_id != nullptr) *field_id = f;
  if (data_type != nullptr) *data_type = d;
  return 0;
}
