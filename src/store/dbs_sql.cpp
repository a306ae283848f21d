// SQL pass-through: forwarders to the adapter's SQL layer and the calls with
// behaviour of their own.
#include "store/dbs_sql.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "adapter/adp_db.h"
#include "adapter/adp_main.h"
#include "adapter/adp_sql.h"
#include "core/cmn/cmn_alrt.h"
#include "core/loc/loc_st.h"
#include "core/osl/osl_sys_cfg.h"
#include "core/utl/utl_estr.h"

long dbs_sql_ping(KAdpConnId* con, void* statement) { return adp_sql_ping(con, statement); }
long dbs_sql_rowcount(KAdpConnId* con, long* count) { return adp_sql_rowcount(con, count); }

long dbs_sql_exec_command(KAdpConnId* con, const char* format, ...) {
  if (!format) return adp_sql_exec_query(con, nullptr);
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  int n = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string text(n > 0 ? static_cast<size_t>(n) : 0, '\0');
  if (n > 0) std::vsnprintf(text.data(), text.size() + 1, format, again);
  va_end(again);
  return adp_sql_exec_query(con, "%s", text.c_str());
}

long dbs_sql_cancel_all(KAdpConnId* con) { return adp_sql_cancel_all(con, 0); }

long dbs_sql_qry_related_objs(KAdpConnId* con, utl_ty_col* results, void* from_desc, long rel_id, void* target_desc,
                              long n_order, void* orderings, char parsed, long flags) {
  return adp_qry_related_objs_sql(con, results, from_desc, rel_id, target_desc, n_order, orderings, parsed, flags);
}

long dbs_sql_qry_relation(KAdpConnId* con, utl_ty_col* results, void* from_desc, long rel_id, void* target_desc,
                          long n_order, void* orderings, char parsed) {
  return dbs_sql_qry_related_objs(con, results, from_desc, rel_id, target_desc, n_order, orderings, parsed, 0);
}

long dbs_sql_qry_simple(KAdpConnId* con, utl_ty_col* results, void* desc, long n_order, void* orderings,
                        long flags) {
  return adp_qry_simple_sql(con, results, desc, n_order, orderings, flags);
}

long dbs_sql_qry_simple_batch(KAdpConnId* con, utl_ty_col* results, void* desc, long n_order, void* orderings,
                              long flags) {
  return adp_qry_simple_sql_batch(con, results, desc, n_order, orderings, flags);
}

long dbs_sql_obj_get_batch(KAdpConnId* con, utl_ty_col* results, long type_id, long number, long options) {
  return adp_obj_get_sql_batch(con, results, type_id, number, options);
}

long dbs_sql_get_sqlvar_batch(KAdpConnId* con, void* statement, long n) {
  return adp_sql_get_sqlvar_batch(con, statement, n);
}
long dbs_sql_execute_batch(KAdpConnId* con, utl_ty_col** out) { return adp_sql_execute_batch(con, out); }
long dbs_sql_result_batch(KAdpConnId* con) { return adp_sql_result_batch(con); }
long dbs_sql_print_out(KAdpConnId* con, const char* text) { return adp_sql_print_out(con, text); }
void dbs_sql_set_alt_format(KAdpConnId* con) { adp_sql_set_alt_format(con); }
void dbs_sql_mark_cmd_end(KAdpConnId* con) { adp_sql_mark_cmd_end(con); }
long dbs_sql_get_result(KAdpConnId* con, void* batch, char* more) { return adp_sql_get_result(con, batch, more); }
long dbs_sql_batch_create(KAdpConnId* con, void** batch) { return adp_sql_batch_create(con, batch); }
long dbs_sql_batch_start(KAdpConnId* con) { return adp_sql_batch_start(con); }
long dbs_sql_batch_free(KAdpConnId* con, void* batch) { return adp_sql_batch_free(con, batch); }

long dbs_sql_execute_proc(KAdpConnId* con, void* a1, void* a2, void* a3, void* a4, void* a5, void* a6, void* a7) {
  return adp_sql_execute_proc(con, a1, a2, a3, a4, a5, a6, a7);
}

long dbs_sql_log_file(const char* name) { return adp_sql_log_file(name); }
long dbs_sql_install_log_callback(adp_ty_sql_log_cb proc) { return adp_sql_install_debugger_log_cb(proc); }

long dbs_sql_select(KAdpConnId* con, const char* text, long n, const long* type_ids, const long* sizes,
                    utl_ty_col* out) {
  return adp_sql_select(con, text, n, type_ids, sizes, out);
}
long dbs_sql_dbstrlen(KAdpConnId* con) { return adp_sql_dbstrlen(con); }
long dbs_sql_multi_select(KAdpConnId* con) { return adp_sql_multi_select(con); }

long dbs_sql_ping_by_app(KAdpConnId* con) {
  void* statement = nullptr;
  long st = adp_sql_create(con, &statement);
  if (st) return st;
  st = adp_sql_ping(con, statement);
  long freed = adp_sql_free(con, statement);
  return st ? st : freed;
}

long dbs_sql_execute_sql(KAdpConnId* con, const char* text, char* found) {
  char row = 0;
  long st = adp_sql_exec_query(con, "%s", text ? text : "");
  if (st == 0) st = adp_sql_nextrow(con, nullptr, &row);
  if (found) *found = st == 0 ? row : 0;
  return st;
}

long dbs_sql_get_default_charset() { return (adp_main_server_type() & 1) ? adp_sql_get_default_charset(adp_db_get_conn(), nullptr) : 0; }

namespace {

constexpr long k_default_per_batch = 25;
long g_saved_per_batch = k_default_per_batch;

long set_per_batch(long count) {
  char text[32];
  std::snprintf(text, sizeof text, "%ld", count < 1 ? k_default_per_batch : count);
  return osl_sys_set_config_string("MAX_PER_BATCH", text, 0);
}

cmn_ty_alert_stack* g_display = nullptr;
cmn_ty_alert_stack* g_objid_msgs = nullptr;

long ensure_stack(cmn_ty_alert_stack** stack) { return *stack ? 0 : cmn_alrt_new(5, stack); }

// Null: the current stack.
long stack_size(cmn_ty_alert_stack* stack) {
  long n = 0;
  return cmn_alrt_num(stack, &n) == 0 ? n : 0;
}

}  // namespace

long dbs_sql_set_max_per_batch(long count, char restore) {
  if (restore) return set_per_batch(g_saved_per_batch);
  char* current = nullptr;
  long saved = k_default_per_batch;
  if (osl_sys_get_config_string("MAX_PER_BATCH", &current) == 0 && current && *current) {
    saved = loc_st_atol(current);
    if (saved < 1) saved = k_default_per_batch;
  }
  g_saved_per_batch = saved;
  return set_per_batch(count);
}

long dbs_sql_catch_message() {
  long st = ensure_stack(&g_display);
  if (st) return st;
  if (stack_size(nullptr) == 0) return 0;
  long code = 0;
  const char* text = nullptr;
  st = cmn_alrt_top(nullptr, &code, &text);
  if (st) return st;
  std::string kept = text ? text : "";
  cmn_alrt_clear(nullptr);
  return cmn_alrt_push_msg(g_display, code, kept.c_str());
}

long dbs_sql_raise_message() {
  if (!g_display) return 0;
  long n = stack_size(g_display);
  long last = 0;
  for (long i = 0; i < n; ++i) {
    long code = 0;
    const char* text = nullptr;
    cmn_alrt_ith(g_display, i, &code, &text);
    cmn_alrt_push_msg(nullptr, code, text ? text : "");
    last = code;
  }
  cmn_alrt_clear(g_display);
  return last;
}

long dbs_sql_objid_msg_push(long code) {
  long st = ensure_stack(&g_objid_msgs);
  if (st) return st;
  // The code comes without arguments: its text is parked unformatted.
  const char* text = nullptr;
  if (cmn_alrt_get_msg(code, &text) != 0 || !text) text = "";
  return cmn_alrt_push_msg(g_objid_msgs, code, text);
}

long dbs_sql_objid_msg_pop(utl_ty_estr* text) {
  if (!g_objid_msgs || stack_size(g_objid_msgs) == 0) return 0;
  long code = 0;
  const char* msg = nullptr;
  if (cmn_alrt_top(g_objid_msgs, &code, &msg) != 0) return 0;
  if (text) utl_estr_cpy(text, msg ? msg : "");
  cmn_alrt_clear(g_objid_msgs);
  return code;
}
