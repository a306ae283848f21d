// Object ids and the id cache.
#include "store/dbs_ids.h"

#include <cstdint>
#include <cstdio>
#include <map>
#include <vector>

#include "adapter/adp_db.h"
#include "adapter/adp_main.h"
#include "adapter/adp_obj.h"
#include "core/cmn/cmn_alrt.h"
#include "core/loc/loc_st.h"
#include "core/osl/osl_sys_cfg.h"
#include "core/utl/utl_col.h"
#include "schema/typ_msg.h"
#include "schema/typ_sch.h"
#include "store/dbs_db.h"
#include "store/dbs_main.h"
#include "store/dbs_msg.h"
#include "store/dbs_obj.h"

namespace {

struct id_cache {
  bool made = false;
  long size = 0;
  bool reuse = false;
  std::vector<dbs_ty_objid_bucket> buckets;
  std::map<long, size_t> by_type;
};

id_cache cache;

constexpr long kUnusedLimit = 500;
constexpr long kMaxCache = 128;

bool config_is(const char* name, const char* value) {
  char* v = nullptr;
  return osl_sys_get_config_string(name, &v) == 0 && v && loc_st_strcmpi(v, value) == 0;
}

bool reuse_setting() { return !config_is("ObjidCacheReuse", "N") && adp_db_get_db_rev() >= 14; }

long size_setting() {
  char* v = nullptr;
  if (osl_sys_get_config_string("ObjidCacheSize", &v) != 0 || !v || !*v) {
    cmn_alrt_clear(nullptr);
    return dbs_main_is_appsrv() ? kMaxCache : 16;
  }
  long n = loc_st_atoi(v);
  return n < 0 || n > kMaxCache ? kMaxCache : n;
}

void add_bucket(long type_id, long schema_flag) {
  cache.by_type[type_id] = cache.buckets.size();
  cache.buckets.push_back({type_id, 0, 0, 0, -1, schema_flag});
}

// The bucket of a type; a schema type defined after the cache was made gets
// one now. An id of no schema type is refused.
long find_bucket(long type_id, dbs_ty_objid_bucket** out) {
  auto it = cache.by_type.find(type_id);
  if (it == cache.by_type.end()) {
    typ_sch_srec* s = nullptr;
    for (long i = 0; i < typ_sch_num_schs && !s; ++i)
      if (typ_sch_schemas[i].type_id == type_id) s = &typ_sch_schemas[i];
    if (!s) return cmn_alrt_push(nullptr, "dbs_obj_ids_create", TYP_NO_TYPE, 2, type_id, ""), TYP_NO_TYPE;
    add_bucket(type_id, (s->flags & 0x80000) ? 1 : 0);
    it = cache.by_type.find(type_id);
  }
  *out = &cache.buckets[it->second];
  return 0;
}

long make_cache(KAdpConnId* con) {
  cache = id_cache{};
  cache.reuse = reuse_setting();
  cache.size = size_setting();
  for (long i = 0; i < typ_sch_num_schs; ++i)
    add_bucket(typ_sch_schemas[i].type_id, (typ_sch_schemas[i].flags & 0x80000) ? 1 : 0);
  add_bucket(DBS_IDS_SPECIAL_A, 1);
  add_bucket(DBS_IDS_SPECIAL_B, 0);
  cache.made = true;
  if (cache.size < 1 || !cache.reuse) return 0;
  utl_ty_col* counts = nullptr;
  if (long st = utl_col_make("dbs_obj_ids_create", 594, 10, 10, 0, 0, &counts)) return st;
  long st = adp_obj_atou_init(con, counts);
  long n = 0;
  utl_col_num(counts, &n);
  for (long i = 0; st == 0 && i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(counts, i, &e);
    const auto* row = static_cast<const adp_ty_oid_range*>(e);
    auto it = cache.by_type.find(row->type_id);
    if (it == cache.by_type.end()) {
      adp_sql_print_out(con, "Invalid bucket (type_id) in adp_tbl_oid_unused. Skipping.\n");
      continue;
    }
    cache.buckets[it->second].state = row->base > kUnusedLimit ? -3 : -2;
  }
  utl_col_free("dbs_obj_ids_create", counts);
  return st;
}

long as32(long n) { return static_cast<long>(static_cast<int32_t>(static_cast<uint32_t>(n))); }

// Takes numbers for the entries still at -1 from the unused-number table.
long reuse_numbers(KAdpConnId* con, long n, const long* types, long* numbers, const std::vector<long>& listed) {
  utl_ty_col* ranges = nullptr;
  if (long st = utl_col_make("dbs_obj_ids_create", 594, 10, 10, 0, 0, &ranges)) return st;
  for (long t : listed) {
    adp_ty_oid_range r{t, -1, -1};
    utl_col_push(ranges, &r, nullptr);
  }
  long st = adp_obj_numbers_atou(con, ranges);
  long count = 0;
  utl_col_num(ranges, &count);
  std::map<long, adp_ty_oid_range*> by_type;
  for (long i = 0; st == 0 && i < count; ++i) {
    void* e = nullptr;
    utl_col_ith(ranges, i, &e);
    auto* r = static_cast<adp_ty_oid_range*>(e);
    by_type[r->type_id] = r;
  }
  for (long i = 0; st == 0 && i < n; ++i) {
    if (numbers[i] != -1) continue;
    auto it = by_type.find(types[i]);
    if (it == by_type.end() || it->second->count < 1) continue;
    adp_ty_oid_range* r = it->second;
    numbers[i] = r->base + 1;
    r->base += 1;
    r->count -= 1;
  }
  for (auto& [type, r] : by_type) {
    if (st) break;
    dbs_ty_objid_bucket* b = nullptr;
    if (find_bucket(type, &b) != 0) continue;
    if (r->count == -1) {
      *b = {b->type_id, 0, -1, -1, -1, b->schema_flag};
    } else {
      b->last_number = r->base + r->count;
      b->numbers_left = r->count;
      b->block_size = 0;
    }
  }
  utl_col_free("dbs_obj_ids_create", ranges);
  return st;
}

long grown_block(long old) {
  long grown = old * 3 / 2;
  if (grown >= cache.size) return cache.size;
  if (old < 4) return cache.size < 4 ? cache.size : 4;
  return grown;
}

// Reserves new ranges for the entries still at -1.
long new_ranges(KAdpConnId* con, long n, const long* types, long* numbers) {
  std::vector<long> kinds, counts, blocks;
  for (long i = 0; i < n; ++i) {
    if (numbers[i] != -1) continue;
    size_t k = 0;
    while (k < kinds.size() && kinds[k] != types[i]) ++k;
    if (k == kinds.size()) {
      kinds.push_back(types[i]);
      counts.push_back(0);
    }
    ++counts[k];
  }
  if (kinds.empty()) return 0;
  for (size_t k = 0; k < kinds.size(); ++k) {
    dbs_ty_objid_bucket* b = nullptr;
    if (long st = find_bucket(kinds[k], &b)) return st;
    b->block_size = grown_block(b->block_size);
    counts[k] += b->block_size;
  }
  std::vector<long> last(kinds.size(), 0);
  if (long st = adp_obj_number_batch(con, static_cast<long>(kinds.size()), kinds.data(), last.data(), counts.data()))
    return st;
  for (long i = 0; i < n; ++i) {
    if (numbers[i] != -1) continue;
    size_t k = 0;
    while (kinds[k] != types[i]) ++k;
    --counts[k];
    numbers[i] = last[k] - counts[k];
  }
  long site = 0;
  char roamer = 0;
  dbs_db_get_site_id(con, &site);
  dbs_db_if_roamer_enabled(con, &roamer);
  for (size_t k = 0; k < kinds.size(); ++k) {
    long top = as32(last[k]);
    long gap = 0x7fffffffL - top;
    if (adp_db_is_db_oracle() && !roamer && site == 0 && top > 0 && gap <= 1000) {
      if (long st = adp_obj_set_negative_number(con, kinds[k], last[k], gap, site)) return st;
    }
    if (counts[k] > 0) {
      dbs_ty_objid_bucket* b = nullptr;
      find_bucket(kinds[k], &b);
      b->last_number = last[k];
      b->numbers_left = counts[k];
    }
  }
  return 0;
}

}  // namespace

long dbs_obj_ids_create(KAdpConnId* con, long n, const long* types, long* numbers) {
  if (!cache.made) {
    if (long st = make_cache(con)) return st;
  }
  std::vector<dbs_ty_objid_bucket*> of(static_cast<size_t>(n));
  for (long i = 0; i < n; ++i) {
    if (long st = find_bucket(types[i], &of[i])) return st;
  }
  for (long i = 0; i < n; ++i) {
    // of[] may move when a later type got a bucket: look each up again.
    find_bucket(types[i], &of[i]);
    long last = as32(of[i]->last_number);
    if (of[i]->numbers_left > 0 && last < 0 && last > -1000) {
      std::printf("ERROR: Cannot generate new object ID's for Object type %ld as Objid range is used up.\n",
                  types[i]);
      cmn_alrt_push(nullptr, "dbs_obj_ids_create", ADP_RANGE_USED_UP, 1, types[i]);
      return ADP_RANGE_USED_UP;
    }
  }
  bool need_new = false;
  bool all_set = true;
  std::vector<long> listed;
  for (long i = 0; i < n; ++i) {
    dbs_ty_objid_bucket* b = nullptr;
    find_bucket(types[i], &b);
    numbers[i] = -1;
    if (b->numbers_left > 0) {
      --b->numbers_left;
      numbers[i] = b->last_number - b->numbers_left;
      continue;
    }
    all_set = false;
    if (b->state == -2 || b->state == -3) {
      bool seen = false;
      for (long t : listed) seen = seen || t == types[i];
      if (!seen) listed.push_back(types[i]);
    } else {
      need_new = true;
    }
  }
  if (all_set) return 0;
  if (cache.reuse && !listed.empty() && !need_new) {
    if (long st = reuse_numbers(con, n, types, numbers, listed)) return st;
  }
  return new_ranges(con, n, types, numbers);
}

long dbs_obj_id_create(KAdpConnId* con, dbs_ty_lobj* o, obj_id* out) {
  if (!o) return dbs_alrt("dbs_obj_id_create", DBS_NULL_OBJECT);
  long type = o->schema->type_id;
  long number = 0;
  if (long st = dbs_obj_ids_create(con, 1, &type, &number)) return st;
  obj_id id{type & DBS_OID_TYPE_MASK, 0, 0};
  long site = 0;
  dbs_db_get_site_id(con, &site);
  dbs_main_id_site_set(&id, site);
  dbs_main_id_number_set(&id, number);
  *out = id;
  return 0;
}

long dbs_obj_return_cache(KAdpConnId* con) {
  if (config_is("ObjidCacheReuse", "N") || !cache.made || adp_db_get_db_rev() < 14) return 0;
  utl_ty_col* ranges = nullptr;
  if (long st = utl_col_make("dbs_obj_return_cache", 594, 10, 10, 0, 0, &ranges)) return st;
  for (const dbs_ty_objid_bucket& b : cache.buckets) {
    if (b.type_id == DBS_IDS_SPECIAL_B || b.numbers_left <= 0) continue;
    adp_ty_oid_range r{b.type_id, b.last_number - b.numbers_left, b.numbers_left};
    utl_col_push(ranges, &r, nullptr);
  }
  long st = adp_obj_return_cache(con, ranges);
  utl_col_free("dbs_obj_return_cache", ranges);
  cache = id_cache{};
  return st;
}

long dbs_obj_ids_cache_size() { return cache.made ? cache.size : -1; }
long dbs_obj_ids_reuse() { return cache.reuse ? 1 : 0; }

const dbs_ty_objid_bucket* dbs_obj_ids_bucket(long type_id) {
  auto it = cache.by_type.find(type_id);
  return it == cache.by_type.end() ? nullptr : &cache.buckets[it->second];
}

long dbs_obj_ids_reset() {
  cache = id_cache{};
  return 0;
}
