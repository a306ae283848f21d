// The cache registry and the time stamps of cached lists.
#include "client/oab/oab_main_cache.h"

#include "client/oab/oab_db.h"
#include "client/oab/oab_msg.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_state.h"
#include "core/clk/clk_srv.h"
#include "core/clk/clk_time.h"
#include "core/cmn/cmn_main.h"
#include "core/cmn/cmn_typ.h"
#include "core/osl/osl_print.h"
#include "core/utl/utl_col.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"

namespace {

constexpr long kExtend = 4;
constexpr long kModeFlush = 0;
constexpr long kModeTerm = 1;
constexpr long kAddChanged = 8;
constexpr const char* kPopupItem = "time stamp of popup list";
constexpr const char* kUserItem = "time stamp of user lists";
constexpr const char* kApplItem = "time stamp of application lists";

utl_ty_col* g_registry = nullptr;
dbs_ty_lobj* g_popup = nullptr;  // the cached item (owned by the item cache)
bool g_checked = false;

long compare(const void* a, const void* b) {
  const auto* x = static_cast<const oab_ty_cache_entry*>(a);
  const auto* y = static_cast<const oab_ty_cache_entry*>(b);
  return x->selector == y->selector && x->proc == y->proc && x->data == y->data ? 0 : -1;
}

oab_ty_cache_entry* entry(long i) {
  void* e = nullptr;
  utl_col_ith(g_registry, i, &e);
  return static_cast<oab_ty_cache_entry*>(e);
}

// A copy of the item with field 1 at the time, added to the state as changed.
long add_stamped(ost_ty_state* state, dbs_ty_lobj* item, const clktime& now) {
  dbs_ty_lobj* copy = nullptr;
  if (long st = dbs_obj_copy(item, &copy)) return st;
  const clktime* stamp = &now;
  long st = dbs_fld_set(copy, OAB_CFG_STAMP, &stamp);
  if (st == 0) st = ost_obj_add(state, copy, kAddChanged);
  if (st != 0) dbs_obj_free_local("oab_main_update_cfg_items", copy);
  return st;
}

}  // namespace

long oab_main_init_cache() {
  if (long st = cmn_typ_install(OAB_CACHE_ENTRY_TYPE, -1, -1, nullptr, sizeof(oab_ty_cache_entry), nullptr, compare,
                                nullptr, oab_main_cache_dump_one))
    return st;
  if (g_registry != nullptr) return 0;
  return utl_col_make("oab_main_init_cache", OAB_CACHE_ENTRY_TYPE, kExtend, kExtend, 0, 0, &g_registry);
}

long oab_main_register_cache_cb(const char* installer, long selector, oab_ty_cache_proc proc, void* data) {
  if (g_registry == nullptr)
    if (long st = oab_main_init_cache()) return st;
  oab_ty_cache_entry e{installer, selector, proc, data};
  for (long i = 0; i < g_registry->count; ++i)
    if (compare(entry(i), &e) == 0) return 0;
  return utl_col_push(g_registry, &e, nullptr);
}

long oab_main_cache_count() { return g_registry != nullptr ? g_registry->count : 0; }

long oab_main_cache_dump_one(FILE* stream, long indent, const void* element, long, long index) {
  const auto* e = static_cast<const oab_ty_cache_entry*>(element);
  int width = static_cast<int>(indent > 0 ? indent : 0);
  std::fprintf(stream != nullptr ? stream : stdout, "%*.*s%ld) selector=%ld, data=%p, installed by %s\n", width,
               width, "", index, e->selector, e->data, e->installer != nullptr ? e->installer : "");
  return 0;
}

long oab_main_cache_dump_all(FILE* stream) {
  std::fprintf(stream != nullptr ? stream : stdout, "OAB Cache Registration\n");
  for (long i = 0; i < oab_main_cache_count(); ++i) oab_main_cache_dump_one(stream, 2, entry(i), 0, i);
  return 0;
}

long oab_main_flush_cache(long selector, long mode) {
  if (cmn_main_is_debug_mode() == 1) oab_main_cache_dump_all(nullptr);
  oab_main_get_cache_config(1, nullptr);
  bool failed = false;
  for (long i = 0; i < oab_main_cache_count(); ++i) {
    oab_ty_cache_entry* e = entry(i);
    bool chosen = mode == OAB_CACHE_FLUSH_ALL || (mode == OAB_CACHE_FLUSH_SELECTOR && e->selector == selector);
    if (chosen && e->proc(kModeFlush, e->data) != 0) failed = true;
  }
  return failed ? oab_alrt("oab_main_flush_cache", OAB_FLUSH) : 0;
}

long oab_main_term_cache() {
  bool failed = false;
  for (long i = 0; i < oab_main_cache_count(); ++i)
    if (entry(i)->proc(kModeTerm, entry(i)->data) != 0) failed = true;
  if (g_registry != nullptr && utl_col_free("oab_main_term_cache", g_registry) != 0) failed = true;
  g_registry = nullptr;
  return failed ? oab_alrt("oab_main_term_cache", OAB_FLUSH) : 0;
}

long oab_main_get_cache_config(long force, dbs_ty_lobj** out) {
  if (force == 0 && g_checked) {
    if (out != nullptr) *out = g_popup;
    return 0;
  }
  if (g_popup != nullptr) {
    long reread = OAB_CFG_REREAD;
    dbs_fld_set(g_popup, OAB_CFG_REFRESH, &reread);
    dbs_fld_set_dirty(g_popup, OAB_CFG_REFRESH, 0);
    g_popup = nullptr;
  }
  long st = oab_db_get_config_item(kPopupItem, &g_popup, nullptr, nullptr, nullptr);
  g_checked = true;
  if (out != nullptr) *out = g_popup;
  return st;
}

long oab_main_reset_cache_config() {
  g_popup = nullptr;
  return 0;
}

long oab_main_check_cache_time(void*, const clktime* time, long* state) {
  dbs_ty_lobj* item = nullptr;
  if (long st = oab_main_get_cache_config(0, &item)) return st;
  if (item == nullptr) {
    *state = OAB_CACHE_TIME_NO_ITEM;
    return 0;
  }
  long v = 0;
  dbs_fld_get(item, OAB_CFG_STAMP, &v, nullptr);
  const auto* stamp = reinterpret_cast<const clktime*>(v);
  *state = stamp != nullptr && clk_time_cmp(stamp, time) == 0 ? OAB_CACHE_TIME_SAME : OAB_CACHE_TIME_CHANGED;
  return 0;
}

long oab_main_state_save(ost_ty_state* state, long option) {
  dbs_ty_lobj* item = nullptr;
  if (long st = oab_main_get_cache_config(0, &item)) return st;
  clktime now{};
  if (long st = clk_time_get(&now)) return st;
  if (item != nullptr)
    if (long st = add_stamped(state, item, now)) return st;
  if (long st = ost_state_save(state, option)) return st;
  if (item != nullptr) {
    const clktime* stamp = &now;
    if (long st = dbs_fld_set(item, OAB_CFG_STAMP, &stamp)) return st;
    dbs_fld_set_dirty(item, OAB_CFG_STAMP, 0);
  }
  return 0;
}

long oab_main_update_cfg_items(ost_ty_state* state, long user_lists, long application_lists) {
  const char* names[2] = {nullptr, nullptr};
  if (user_lists != 0) names[0] = kUserItem;
  if (application_lists != 0) names[1] = kApplItem;
  clktime now{};
  if (long st = clk_time_get(&now)) return st;
  for (const char* name : names) {
    if (name == nullptr) continue;
    dbs_ty_lobj* item = nullptr;
    if (long st = oab_db_get_config_item(name, &item, nullptr, nullptr, nullptr)) return st;
    if (item != nullptr)
      if (long st = add_stamped(state, item, now)) return st;
  }
  return 0;
}
