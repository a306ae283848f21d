// The object store's start-up, switches, global slots and helpers.
#include "store/dbs_main.h"

#include <cstdio>
#include <cstdint>
#include <cstring>

#include "adapter/adp_main.h"
#include "adapter/adp_trn.h"
#include "core/cmn/cmn_alrt.h"
#include "core/clk/clk_seam.h"
#include "core/loc/loc_st.h"
#include "core/osl/osl_sys_cfg.h"
#include "store/dbs_db.h"
#include "store/dbs_fld.h"
#include "store/dbs_msg.h"
#include "store/dbs_obj.h"

namespace {

long super_flag = 8;
cmn_ty_value globals[2];
// Started and not stopped since: a stopped store starts afresh.
bool started = false;

struct fpapi_hooks {
  dbs_ty_fpapi_proc obj_get = nullptr;
  dbs_ty_fpapi_proc svc_call = nullptr;
  dbs_ty_fpapi_proc db_group = nullptr;
  dbs_ty_fpapi_new_proc svc_new = nullptr;
} hooks;

constexpr long kAnyObject = 634;

// "-sqllog" followed by a file name that does not begin with '-'.
void open_sql_log() {
  char* arg = nullptr;
  char* value = nullptr;
  if (!osl_sys_has_arg_and_value("-sqllog*", 1, &arg, &value)) return;
  if (!arg || std::strcmp(arg, "-sqllog") != 0) return;
  if (!value || value[0] == '-') return;
  FILE* log = std::fopen(value, "w");
  if (!log) std::fputs("CANNOT open sqllog file for writing.\n", stdout);
  adp_sql_log_sql(log);
}

long read_switches() {
  char* arg = nullptr;
  char* value = nullptr;
  if (osl_sys_has_arg("-sqlhint", 1, &arg)) adp_db_set_log_last_sql();
  if (osl_sys_has_arg_and_value("-deferinit", 1, &arg, &value) && value) {
    adp_sce_defer_col_init(1, value);
    super_flag |= 2;
  }
  open_sql_log();
  if (osl_sys_has_arg("-nolock_off", 1, &arg)) super_flag |= 1;
  return 0;
}

long trace(KAdpConnId* con, const char* label) {
  long level = 0;
  adp_trn_appl_level(&level);
  char line[80];
  std::snprintf(line, sizeof line, "%s TRANS LEVEL: %ld\n", label, level);
  return adp_sql_print_out(con, line);
}

}  // namespace

long dbs_main_get_super_flag() { return super_flag; }
long dbs_main_set_super_flag(long flags) {
  super_flag = flags;
  return 0;
}

namespace {

// The store's own steps after the adapter is up.
long dbs_main_start_store() {
  clk_ty_seams seams{};
  seams.server_type = dbs_main_server_type;
  clk_seam_install(&seams);
  if (long st = dbs_str_init()) return st;
  if (long st = dbs_db_init()) return st;
  if (long st = dbs_obj_init()) return st;
  if (long st = dbs_mth_init()) return st;
  if (long st = read_switches()) return st;
  for (cmn_ty_value& g : globals) g = {kAnyObject, 0};
  return 0;
}

}  // namespace

long dbs_main_init() {
  if (started) return 0;
  if (long st = adp_main_init()) return st;
  if (long st = dbs_main_start_store()) {
    adp_main_term();  // a failed start leaves nothing running
    return st;
  }
  started = true;
  return 0;
}

long dbs_main_reset() {
  started = false;
  super_flag = 8;
  return 0;
}

long dbs_main_term() {
  if (!started) return 0;
  started = false;
  if (long st = dbs_db_term()) return st;
  if (long st = dbs_obj_term()) return st;
  return adp_main_term();
}

long dbs_db_str_init() {
  const char* text = nullptr;
  cmn_alrt_get_msg(DBS_CLOCK_DIFF, &text);
  cmn_alrt_get_msg(ADP_SQL_RESULT, &text);
  return 0;
}

long dbs_main_set_global(long slot, const cmn_ty_value* value) {
  if (slot < 0 || slot > 1 || !value) return 1;
  globals[slot] = *value;
  return 0;
}

long dbs_main_get_global(long slot, cmn_ty_value* value) {
  if (slot < 0 || slot > 1 || !value) return 1;
  *value = globals[slot];
  return 0;
}

long dbs_main_is_appsrv() {
  char* value = nullptr;
  // A failed read answers "not an app server".
  if (osl_sys_get_config_string("REMOTE_ORB", &value) != 0) return 0;
  if (!value || !*value) return 0;
  if (loc_st_strcmpi(value, "TRUE") == 0 || loc_st_strcmpi(value, "OPTIMIZE") == 0) return 0;
  return 1;
}

long dbs_main_is_remote() { return adp_main_is_remote() & 0xff; }
const char* dbs_main_remote_id() { return adp_main_get_remote_id(nullptr); }
const char* dbs_main_get_remote_id() { return adp_main_get_remote_id(nullptr); }
long dbs_main_server_type() { return adp_main_server_type(); }

long dbs_main_id_site_get() {
  long site = 0;
  if (long st = dbs_db_get_site_id(nullptr, &site)) return st;
  return site;
}

// Object numbers keep their 32-bit meaning: the site id sits in bits 28-31
// of the 32-bit number, which is held sign-extended in the long.
namespace {
long as32(unsigned long word) { return static_cast<long>(static_cast<int32_t>(static_cast<uint32_t>(word))); }
long current_site() {
  long site = 0;
  dbs_db_get_site_id(nullptr, &site);
  return site;
}
}  // namespace

long dbs_main_id_site_set(obj_id* id, long site_id) {
  if (site_id != 0) {
    unsigned long low = static_cast<unsigned long>(id->num) & 0x0fffffffUL;
    id->num = as32((static_cast<unsigned long>(site_id) << 28) | low);
  }
  return 0;
}

long dbs_main_id_number_get(const obj_id* id) {
  if (current_site() == 0) return id->num;
  return id->num & 0x0fffffffL;
}

long dbs_main_id_number_set(obj_id* id, long number) {
  if (current_site() == 0) {
    id->num = as32(static_cast<unsigned long>(number));
  } else {
    unsigned long top = static_cast<unsigned long>(id->num) & 0xf0000000UL;
    id->num = as32(top | (static_cast<unsigned long>(number) & 0x0fffffffUL));
  }
  return 0;
}

long dbs_main_is_interesting_err(long code) { return code == 0x600029 ? 1 : 0; }
long dbs_main_is_nonsense_err(long code) {
  return code == 0x70002f || code == 0x700030 || code == 0x700031 ? 1 : 0;
}

long dbs_main_fpapi_init(dbs_ty_fpapi_proc obj_get, dbs_ty_fpapi_proc svc_call, dbs_ty_fpapi_proc db_group,
                         dbs_ty_fpapi_new_proc svc_new) {
  hooks = {obj_get, svc_call, db_group, svc_new};
  return 0;
}

long dbs_main_fpapi_obj_get(long* out, long a, long b, long c, long d, long e) {
  if (hooks.obj_get) return hooks.obj_get(reinterpret_cast<long>(out), a, b, c, d, e);
  if (out) *out = 0;
  return 0;
}

long dbs_main_fpapi_svc_call(long a, long b, long c, long d, long e, long f) {
  if (!hooks.svc_call) return 1;
  hooks.svc_call(a, b, c, d, e, f);
  return 0;
}

long dbs_main_fpapi_db_group(long a, long b, long c, long d, long e, long f) {
  return hooks.db_group ? hooks.db_group(a, b, c, d, e, f) : 0;
}

void* dbs_main_fpapi_svc_new(long a, long b, long c, long d, long e, long f) {
  return hooks.svc_new ? hooks.svc_new(a, b, c, d, e, f) : nullptr;
}

long fpa_cbr_exec() {
  std::fputs("--ERROR--FPA remote CB not supported\n", stdout);
  return 0;
}

long dbs_trn_begin(KAdpConnId* con) {
  trace(con, "BEGIN");
  return adp_trn_begin(con);
}

long dbs_trn_commit(KAdpConnId* con) {
  trace(con, "COMMIT");
  return adp_trn_commit(con);
}

long dbs_trn_rollback(KAdpConnId* con) {
  trace(con, "ROLLBACK");
  return adp_trn_rollback(con);
}

long dbs_trn_release(KAdpConnId* con) {
  long level = 0;
  adp_trn_appl_level(&level);
  return level != 0 ? dbs_trn_rollback(con) : 0;
}

long dbs_trn_appl_level(long* out) { return adp_trn_appl_level(out); }

long dbs_main_dlg_error_install(long (*proc)(const char* text)) {
  adp_qry_set_dlg_error(proc);
  return 0;
}
long dbs_main_set_max_per_batch(long count) { return adp_rel_set_max_per_batch(count); }
long dbs_main_no_optimize_queries() { return adp_qry_no_optimize_create(); }

long dbs_main_user_codepage_id_get() { return adp_main_user_codepage_id_get(); }
long dbs_main_is_codepage_sys_default(char* out) { return adp_main_is_codepage_sys_default(out); }
long dbs_main_set_user_codepage_id(long code_page) { return adp_main_set_user_codepage_id(code_page); }
