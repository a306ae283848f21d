// The SQL layer's pass-through calls, answering through the double. Outputs
// are left empty (null, 0) unless a hook fills them from the raw arguments.
#include <cstdarg>
#include <cstdio>
#include <string>

#include "adapter/adp_db.h"
#include "adapter/adp_pass.h"
#include "adpdouble/adp_double.h"
#include "adpdouble/adp_double_mem.h"
#include "adpdouble/adp_double_store.h"

using adp_double::record;

namespace {
std::string ptr(const void* p) { return std::to_string(reinterpret_cast<unsigned long>(p)); }
std::string num(long v) { return std::to_string(v); }
std::string txt(const char* t) { return t ? t : "null"; }
}  // namespace

long adp_sql_ping(KAdpConnId* con, void* statement) {
  return record("adp_sql_ping", {ptr(con), ptr(statement)}, {con, statement});
}
long adp_sql_rowcount(KAdpConnId* con, long* count) {
  if (count) *count = 0;
  return record("adp_sql_rowcount", {ptr(con)}, {con, count});
}
long adp_sql_exec_query(KAdpConnId* con, const char* format, ...) {
  std::string text = "null";
  if (format) {
    char buf[4096];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buf, sizeof buf, format, args);
    va_end(args);
    text = buf;
  }
  long s = record("adp_sql_exec_query", {ptr(con), text}, {con});
  if (!s && format && adp_mem::on()) return adp_mem::sql_command(text);
  return s;
}
long adp_sql_nextrow(KAdpConnId* con, void* statement, char* found) {
  if (found) *found = 0;
  return record("adp_sql_nextrow", {ptr(con), ptr(statement)}, {con, statement, found});
}
long adp_sql_cancel_all(KAdpConnId* con, long) { return record("adp_sql_cancel_all", {ptr(con)}, {con}); }
long adp_sql_get_default_charset(KAdpConnId*, char*) { return record("adp_sql_get_default_charset", {}); }

long adp_sql_select(KAdpConnId* con, const char* text, long n, const long* type_ids, const long* sizes,
                    utl_ty_col* out) {
  return record("adp_sql_select", {ptr(con), txt(text), num(n), ptr(type_ids), ptr(sizes), ptr(out)},
                {con, out});
}
long adp_sql_dbstrlen(KAdpConnId* con) { return record("adp_sql_dbstrlen", {ptr(con)}); }
long adp_sql_multi_select(KAdpConnId* con) { return record("adp_sql_multi_select", {ptr(con)}); }
long adp_sql_execute_proc(KAdpConnId* con, void* a1, void* a2, void* a3, void* a4, void* a5, void* a6, void* a7) {
  return record("adp_sql_execute_proc", {ptr(con), ptr(a1), ptr(a2), ptr(a3), ptr(a4), ptr(a5), ptr(a6), ptr(a7)});
}

long adp_sql_batch_create(KAdpConnId* con, void** batch) {
  return record("adp_sql_batch_create", {ptr(con), ptr(batch)}, {con, batch});
}
long adp_sql_batch_start(KAdpConnId* con) {
  long s = record("adp_sql_batch_start", {ptr(con)});
  if (!s && adp_mem::on()) return adp_mem::sql_start();
  return s;
}
long adp_sql_batch_free(KAdpConnId* con, void* batch) {
  return record("adp_sql_batch_free", {ptr(con), ptr(batch)});
}
long adp_sql_execute_batch(KAdpConnId* con, utl_ty_col** out) {
  long s = record("adp_sql_execute_batch", {ptr(con), ptr(out)}, {con, out});
  if (!s && adp_mem::on()) return adp_mem::sql_execute();
  return s;
}
long adp_sql_result_batch(KAdpConnId* con) {
  long s = record("adp_sql_result_batch", {ptr(con)});
  if (!s && adp_mem::on()) return adp_mem::sql_skip();
  return s;
}
long adp_sql_get_result(KAdpConnId* con, void* batch, char* more) {
  if (more) *more = 0;
  long s = record("adp_sql_get_result", {ptr(con), ptr(batch)}, {con, batch, more});
  if (!s && adp_mem::on()) return adp_mem::sql_more(more);
  return s;
}
long adp_sql_get_sqlvar_batch(KAdpConnId* con, void* statement, long n) {
  long s = record("adp_sql_get_sqlvar_batch", {ptr(con), ptr(statement), num(n)});
  if (!s && adp_mem::on()) return adp_mem::sql_add_sqlvar(n);
  return s;
}
void adp_sql_set_alt_format(KAdpConnId* con) { record("adp_sql_set_alt_format", {ptr(con)}); }
void adp_sql_mark_cmd_end(KAdpConnId* con) { record("adp_sql_mark_cmd_end", {ptr(con)}); }

long adp_qry_simple_sql(KAdpConnId* con, utl_ty_col* results, void* desc, long n_order, void* orderings,
                        long flags) {
  long s = record("adp_qry_simple_sql", {ptr(con), ptr(results), ptr(desc), num(n_order), ptr(orderings), num(flags)});
  if (!s && adp_mem::on()) return adp_mem::sql_add_simple(desc, n_order, orderings, flags);
  return s;
}
long adp_qry_simple_sql_batch(KAdpConnId* con, utl_ty_col* results, void* desc, long n_order, void* orderings,
                              long flags) {
  long s = record("adp_qry_simple_sql_batch",
                {ptr(con), ptr(results), ptr(desc), num(n_order), ptr(orderings), num(flags)});
  if (!s && adp_mem::on()) return adp_mem::sql_add_simple(desc, n_order, orderings, flags);
  return s;
}
long adp_qry_related_objs_sql(KAdpConnId* con, utl_ty_col* results, void* from_desc, long rel_id, void* target_desc,
                              long n_order, void* orderings, char parsed, long flags) {
  long s = record("adp_qry_related_objs_sql", {ptr(con), ptr(results), ptr(from_desc), num(rel_id), ptr(target_desc),
                                             num(n_order), ptr(orderings), num(parsed), num(flags)});
  if (!s && adp_mem::on()) return adp_mem::sql_add_related(from_desc, rel_id, target_desc, n_order, orderings, flags);
  return s;
}
long adp_obj_get_sql_batch(KAdpConnId* con, utl_ty_col* results, long type_id, long number, long options) {
  long s = record("adp_obj_get_sql_batch", {ptr(con), ptr(results), num(type_id), num(number), num(options)});
  if (!s && adp_mem::on()) return adp_mem::sql_add_get(type_id, number, options & 4);
  return s;
}

long adp_sql_log_file(const char* name) { return record("adp_sql_log_file", {txt(name)}); }
long adp_sql_install_debugger_log_cb(adp_ty_sql_log_cb proc) {
  return record("adp_sql_install_debugger_log_cb", {proc ? "set" : "null"});
}

// The double keeps no registry of connections: no connection is current.
KAdpConnId* adp_db_get_conn() { return nullptr; }
