// Time zones for the clock: the module's zone records, zones named by
// configuration items, the site's zone and the server zone callback.
#include <cstring>
#include <string>

#include "client/oab/oab_db.h"
#include "client/oab/oab_main.h"
#include "client/oab/oab_msg.h"
#include "client/ost/ost_comm.h"
#include "core/clk/clk_time.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/osl/osl_mem.h"
#include "core/utl/utl_col.h"
#include "store/dbs_fld.h"
#include "store/dbs_main.h"
#include "store/dbs_obj.h"
#include "store/dbs_qry.h"

namespace {

constexpr long kZoneName = 1;
constexpr long kZoneOffset = 3;
constexpr long kNoDaylight = 1;
constexpr long kInstantSlots = 10;
constexpr long kSite2Address = 6;
constexpr long kAddress2Zone = 3;
constexpr long kZone2Daylight = 2;
constexpr long kEq = 4;
constexpr long kDefaultExists = 1;

clk_ty_tz g_server{};
clk_ty_tz g_master{};
clk_ty_tz g_client{};

long instants(utl_ty_col** col) {
  if (*col != nullptr) return utl_col_reset(*col);
  return utl_col_make("oab_db_set_time_zone_info", CMN_TYP_CLK_TIME, kInstantSlots, kInstantSlots, 0, 0, col);
}

long append_time(utl_ty_col* col, dbs_ty_lobj* o, long field) {
  long v = 0;
  if (long st = dbs_fld_get(o, field, &v, nullptr)) return st;
  if (v == 0) return 0;
  return utl_col_push(col, reinterpret_cast<const clktime*>(v), nullptr);
}

// The community of levels from root (or by type), handed to use with the
// objects of the levels; the fetched objects are freed afterwards.
template <class F>
long with_community(const obj_id* root, long n, const ost_ty_trav_level* levels, F use) {
  ost_ty_level_result results[3]{};
  utl_ty_col* found = nullptr;
  long st = ost_rel_community(oab_db_con_id, nullptr, root, n, levels, OST_REL_COMMUNE_GET_ALL_HNDLS, results, &found);
  if (st == 0) {
    auto* all = found != nullptr ? reinterpret_cast<dbs_ty_lobj**>(found->array) : nullptr;
    st = use(all, results);
  }
  if (found != nullptr) dbs_obj_free_local_col(nullptr, found);
  return st;
}

dbs_ty_lobj* const* level_objects(dbs_ty_lobj** all, const ost_ty_level_result& r) {
  return all != nullptr ? all + r.fetch_word1 : nullptr;
}

}  // namespace

clk_ty_tz* oab_db_server_tz() { return &g_server; }
clk_ty_tz* oab_db_master_tz() { return &g_master; }
clk_ty_tz* oab_db_client_tz() { return &g_client; }

long oab_db_set_time_zone_info(clk_ty_tz* record, dbs_ty_lobj* zone, long count, dbs_ty_lobj* const* daylight) {
  if (long st = instants(&record->dl_starts)) return st;
  if (long st = instants(&record->dl_ends)) return st;
  long offset = 0;
  if (long st = dbs_fld_get(zone, kZoneOffset, &offset, nullptr)) return st;
  record->gmt_offset = offset;
  long name = 0;
  dbs_fld_get(zone, kZoneName, &name, nullptr);
  const char* text = name != 0 ? reinterpret_cast<const char*>(name) : "";
  char* copy = static_cast<char*>(osl_mem_alloc("oab_db_set_time_zone_info", static_cast<long>(std::strlen(text) + 1)));
  if (copy == nullptr) return cmn_alrt_push_no_memory(static_cast<long>(std::strlen(text) + 1), "oab_db_set_time_zone_info");
  std::strcpy(copy, text);
  if (record->name != nullptr) osl_mem_free("oab_db_set_time_zone_info", const_cast<char*>(record->name));
  record->name = copy;
  if (record->zone_word & kNoDaylight) return 0;
  for (long i = 0; i < count; ++i) {
    if (long st = append_time(record->dl_starts, daylight[i], OAB_DB_DL_START)) return st;
    if (long st = append_time(record->dl_ends, daylight[i], OAB_DB_DL_END)) return st;
  }
  return 0;
}

long oab_db_free_time_zone(clk_ty_tz* record) {
  for (utl_ty_col** col : {&record->dl_starts, &record->dl_ends}) {
    if (*col != nullptr) utl_col_free("oab_db_free_time_zone", *col);
    *col = nullptr;
  }
  if (record->name != nullptr) osl_mem_free("oab_db_free_time_zone", const_cast<char*>(record->name));
  record->name = nullptr;
  return 0;
}

long oab_db_get_time_zone(clk_ty_tz* record, long name_code, long missing_code, long undefined_code) {
  const char* item_name = nullptr;
  cmn_alrt_get_msg(name_code, &item_name);
  dbs_ty_lobj* item = nullptr;
  const char* zone_name = nullptr;
  if (long st = oab_db_get_config_item(item_name != nullptr ? item_name : "", &item, nullptr, nullptr, &zone_name))
    return st;
  if (item == nullptr) return oab_alrt("oab_db_get_master_time_zone", missing_code);
  std::string name = zone_name != nullptr ? zone_name : "";
  ost_ty_trav_cond by_name{kZoneName, kEq, reinterpret_cast<long>(name.c_str())};
  ost_ty_trav_order by_start{OAB_DB_DL_START, 0};
  const ost_ty_trav_level levels[2] = {{-1, -1, 0, 1, &by_name, 0, nullptr, OAB_DB_ZONE_TYPE},
                                       {kZone2Daylight, 0, 0, 0, nullptr, 1, &by_start, 0}};
  return with_community(nullptr, 2, levels, [&](dbs_ty_lobj** all, const ost_ty_level_result* r) -> long {
    if (r[0].count != 1) return oab_alrt("oab_db_get_time_zone", undefined_code, name.c_str());
    return oab_db_set_time_zone_info(record, level_objects(all, r[0])[0], r[1].count, level_objects(all, r[1]));
  });
}

long oab_db_get_site_time_zone(const obj_id* site, clk_ty_tz* record) {
  ost_ty_trav_order by_start{OAB_DB_DL_START, 0};
  const ost_ty_trav_level levels[3] = {{kSite2Address, -1, 0, 0, nullptr, 0, nullptr, 0},
                                       {kAddress2Zone, 0, 0, 0, nullptr, 0, nullptr, 0},
                                       {kZone2Daylight, 1, 0, 0, nullptr, 1, &by_start, 0}};
  return with_community(site, 3, levels, [&](dbs_ty_lobj** all, const ost_ty_level_result* r) -> long {
    if (r[1].count < 1) return 0;
    return oab_db_set_time_zone_info(record, level_objects(all, r[1])[0], r[2].count, level_objects(all, r[2]));
  });
}

long oab_db_get_server_tz(clk_ty_tz* record) {
  if (clk_time_mzone_diff_get() != 0 || dbs_main_server_type() == OAB_DB_SERVER_TYPE_SPECIAL)
    return oab_db_get_time_zone(record, 0xe000c5, 0xe000c6, 0xe000c7);
  dbs_ty_lobj* site = nullptr;
  if (long st = oab_db_get_default(nullptr, OAB_DB_SITE_TYPE, kDefaultExists, &site)) return st;
  obj_id id{};
  long st = dbs_obj_oid_get(site, &id);
  dbs_obj_free_norel(nullptr, site);
  if (st != 0) return st;
  return oab_db_get_site_time_zone(&id, record);
}

long oab_db_get_day_light_hr(clk_ty_tz* record, utl_ty_col* out, long direction) {
  const char* name = record->name != nullptr ? record->name : "";
  dbs_ty_qry_cond cond{kZoneName, kEq, reinterpret_cast<long>(name)};
  dbs_ty_qry_desc zones{OAB_DB_ZONE_TYPE, 1, &cond, 1};
  utl_ty_col* found = nullptr;
  if (long st = utl_col_make("oab_db_get_day_light_hr", CMN_TYP_VOID_P, 1, kInstantSlots, 0, 0, &found)) return st;
  long st = dbs_qry_simple(oab_db_con_id, &zones, nullptr, nullptr, found);
  ost_ty_trav_order order{OAB_DB_DL_START, static_cast<char>(direction)};
  long num_orders = 1;
  dbs_ty_qry_desc target{OAB_DB_DAYLIGHT_TYPE, 0, nullptr, 1};
  for (long i = 0; st == 0 && i < found->count; ++i) {
    obj_id id{};
    st = dbs_obj_oid_get(reinterpret_cast<dbs_ty_lobj**>(found->array)[i], &id);
    if (st == 0) st = dbs_qry_relation(oab_db_con_id, &id, kZone2Daylight, &target, &order, &num_orders, out);
  }
  dbs_obj_free_local_col(nullptr, found);
  return st;
}
