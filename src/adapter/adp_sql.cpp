// The statement interface: creating, appending, preparing, executing,
// fetching, the one-call forms and the fault injection.
#include "adapter/adp_sql.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <string>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_err.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_sql_log.h"
#include "core/cmn/cmn_alrt.h"
#include "core/dbg/dbg_main.h"
#include "core/osl/osl_print.h"

using KCLASSIC::KZString;

namespace {

struct fail_state {
  long mode = 0;
  long num = 0;
  long times = 0;
  long triggered = 0;
};

fail_state& fails() {
  static fail_state s;
  return s;
}

long& num_execs() {
  static long n = 0;
  return n;
}

KAdpSqlBatch* batch_of(KAdpConnId* con, void* stmt) {
  if (stmt != nullptr) return static_cast<KAdpSqlBatch*>(stmt);
  return con != nullptr ? con->GetSqlBatch(0) : nullptr;
}

long vformat(KZString& out, const char* format, va_list ap) {
  out.FormatV(format != nullptr ? format : "", ap);
  return 0;
}

// The step after a successful execution: armed, it reports 1 at the chosen
// executions although the statement ran.
long adp_sql_fault_step() {
  fail_state& f = fails();
  if (f.mode == 0) return 0;
  if (f.num <= f.times) {
    osl_print_mes("DB FAIL TEST %ld FIRED\n", f.num);
    f.times = 0;
    ++f.num;
    f.triggered = 1;
    dbg_prc_disable_trap();
    return 1;
  }
  ++f.times;
  return 0;
}

}  // namespace

long adp_db_reset_fail_num() {
  fails() = fail_state{};
  fails().mode = 1;
  return 0;
}

long adp_db_disable_fail_mode() {
  fails().mode = 0;
  return 0;
}

long adp_db_test_fired() {
  long t = fails().triggered;
  fails().triggered = 0;
  dbg_prc_enable_trap();
  return t;
}

long adp_sql_create(KAdpConnId* con, void** stmt) {
  if (long st = adp_db_check_conn(con)) return st;
  *stmt = con->GetSqlBatch(1);
  return 0;
}

long adp_sql_append(KAdpConnId*, void* stmt, const char* text) {
  return static_cast<KAdpSqlBatch*>(stmt)->AppendSql(text);
}

long adp_sql_sprintf(KAdpConnId*, void* stmt, const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  KZString s;
  vformat(s, format, ap);
  va_end(ap);
  return static_cast<KAdpSqlBatch*>(stmt)->AppendSql(s);
}

namespace {

long dbfcmd_v(KAdpConnId* con, const char* format, va_list ap) {
  if (long st = adp_db_check_conn(con)) return st;
  // The module buffer: formatting never writes past it.
  static char adp_sql_buf[ADP_SQL_BUF_SIZE + 1];
  va_list copy;
  va_copy(copy, ap);
  int n = std::vsnprintf(adp_sql_buf, sizeof adp_sql_buf, format != nullptr ? format : "", copy);
  va_end(copy);
  if (n < 0 || n > ADP_SQL_BUF_SIZE) return ADP_SQL_TOO_LONG;
  return con->GetSqlBatch(1)->AppendSql(adp_sql_buf);
}

}  // namespace

long adp_sql_dbfcmd(KAdpConnId* con, const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  long st = dbfcmd_v(con, format, ap);
  va_end(ap);
  return st;
}

long adp_sql_flsprintf(KAdpConnId* con, long, const char* format, ...) {
  if (long st = adp_db_check_conn(con)) return st;
  va_list ap;
  va_start(ap, format);
  long st = dbfcmd_v(con, format, ap);
  va_end(ap);
  return st;
}

long adp_sql_get_sqlvar_batch(KAdpConnId*, void* stmt, long n) {
  return static_cast<KAdpSqlBatch*>(stmt)->AppendSqlFormat("select @v%ld\n", n < 0 ? -n : n);
}

long adp_sql_check(KAdpConnId* con, void* p) {
  if (long st = adp_db_check_conn(con)) return st;
  if (p == nullptr) {
    long rc = cmn_alrt_push(nullptr, nullptr, ADP_SQL_NULL_POINTER, 1, 0L);
    (void)rc;
    return ADP_SQL_NULL_POINTER;
  }
  return 0;
}

long adp_sql_escape_str(const char* text, char** out) {
  static std::string buffer;
  buffer.clear();
  for (const char* p = text != nullptr ? text : ""; *p != '\0'; ++p) {
    buffer += *p;
    if (*p == '\'') buffer += '\'';
  }
  *out = buffer.data();
  return 0;
}

long adp_sql_free(KAdpConnId*, void*) { return 0; }

long adp_sql_parse_ddl(KAdpConnId*, void* stmt) {
  auto* b = static_cast<KAdpSqlBatch*>(stmt);
  if ((b->GetFlags() & KAdpSqlBatch::FLAG_PREPARED) != 0) return 0;
  return b->ExecDdl();
}

long adp_sql_parse(KAdpConnId*, void* stmt) {
  auto* b = static_cast<KAdpSqlBatch*>(stmt);
  b->SetFlags(b->GetFlags() | KAdpSqlBatch::FLAG_PREPARED);
  return 0;
}

long adp_sql_parse_and_bind(KAdpConnId* con, void* stmt) { return adp_sql_parse(con, stmt); }

long adp_sql_execute(KAdpConnId* con, void* stmt) {
  KAdpSqlBatch* b = batch_of(con, stmt);
  if (b == nullptr) return adp_db_check_conn(con);
  if (long st = b->GetNextResult(nullptr)) return st;
  return adp_sql_fault_step();
}

long adp_sql_dont_execute(KAdpConnId* con) {
  if (long st = adp_db_check_conn(con)) return st;
  return adp_sql_cancel_all(con, 0);
}

long adp_sql_execute_opt(KAdpConnId* con, void* stmt, long, long option) {
  return (option & 1) != 0 ? adp_sql_dont_execute(con) : adp_sql_execute(con, stmt);
}

long adp_sql_parse_ddl_opt(KAdpConnId* con, void* stmt, long, long option) {
  return (option & 1) != 0 ? adp_sql_dont_execute(con) : adp_sql_parse_ddl(con, stmt);
}

long adp_sql_exec_and_fetch(KAdpConnId* con, char* found) {
  if (found != nullptr) *found = 0;
  if (long st = adp_db_check_conn(con)) return st;
  KAdpSqlBatch* b = con->GetSqlBatch(0);
  if (long st = b->GetNextResult(nullptr)) return st;
  long r = b->GetNextRow();
  if (r == 0) return b->GetStatus();
  if (found != nullptr) *found = r == 1 ? 1 : 0;
  return 0;
}

long adp_sql_nextrow(KAdpConnId* con, void* stmt, char* found) {
  if (found != nullptr) *found = 0;
  KAdpSqlBatch* b = batch_of(con, stmt);
  if (b == nullptr) return adp_db_check_conn(con);
  try {
    long r = b->GetNextRow();
    if (r == 0) {
      // The row failed: its failure is the result.
      long st = b->GetStatus();
      return st != 0 ? st : ADP_SQL_NEXTROW_FAIL;
    }
    if (found != nullptr) *found = r == 1 ? 1 : 0;
    return 0;
  } catch (...) {
    long rc = cmn_alrt_push(nullptr, nullptr, ADP_SQL_NEXTROW_FAIL, 0);
    (void)rc;
    return ADP_SQL_NEXTROW_FAIL;
  }
}

long adp_sql_rowcount(KAdpConnId* con, long* count) {
  if (long st = adp_db_check_conn(con)) return st;
  return adp_err_guard([&]() -> long {
    *count = con->GetSqlBatch(0)->GetRowCount();
    return 0L;
  });
}

long adp_sql_define(KAdpConnId* con, KAdpBindCol col) {
  KAdpSqlBatch* b = con->GetSqlBatch(0);
  *b << col;
  return b->GetStatus();
}

long adp_sql_bind(KAdpConnId* con, void* p, long, long sql_type, long, void* dest) {
  if (long st = adp_db_check_conn(con)) return st;
  if (p == nullptr) return 0;
  *con->GetSqlBatch(0) << KAdpBindCol(dest, sql_type);
  return 0;
}

long adp_sql_define_type_mapping(long type, long* sql_type) {
  switch (type) {
    case ADP_VT_LONG: *sql_type = 0; return 0;
    case ADP_VT_FLOAT: *sql_type = 3; return 0;
    case ADP_VT_STRING:
    case ADP_VT_DECIMAL: *sql_type = 6; return 0;
    default: {
      long rc = cmn_alrt_push(nullptr, nullptr, ADP_SQL_BAD_COL_TYPE, 1, type);
      (void)rc;
      return ADP_SQL_BAD_COL_TYPE;
    }
  }
}

namespace {

// A new statement holding the formatted text.
long create_formatted(KAdpConnId* con, void** stmt, const char* format, va_list ap) {
  if (long st = adp_sql_create(con, stmt)) return st;
  KZString s;
  vformat(s, format, ap);
  return static_cast<KAdpSqlBatch*>(*stmt)->AppendSql(s);
}

long parse_ddl_opt_v(KAdpConnId* con, long option, long flag, const char* format, va_list ap) {
  void* stmt = nullptr;
  if (long st = create_formatted(con, &stmt, format, ap)) return st;
  long st = (option & 1) != 0 && flag != 0 ? adp_sql_dont_execute(con) : adp_sql_parse_ddl(con, stmt);
  if (st != 0) return st;
  return adp_sql_free(con, stmt);
}

long exec_opt_v(KAdpConnId* con, long option, long flag, const char* format, va_list ap) {
  void* stmt = nullptr;
  if (long st = create_formatted(con, &stmt, format, ap)) return st;
  if (long st = adp_sql_parse(con, stmt)) return st;
  if ((option & 1) != 0 && flag != 0) {
    if (long st = adp_sql_dont_execute(con)) return st;
  } else {
    // adp_sql_execute takes its own fault-injection step.
    KAdpSqlBatch* b = static_cast<KAdpSqlBatch*>(stmt);
    if (long st = b->GetNextResult(nullptr)) return st;
  }
  if (long st = adp_sql_free(con, stmt)) return st;
  return adp_sql_fault_step();
}

}  // namespace

long adp_sql_parse_ddl_now(KAdpConnId* con, const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  long st = parse_ddl_opt_v(con, 0, 0, format, ap);
  va_end(ap);
  return st;
}

long adp_sql_parse_ddl_opt_now(KAdpConnId* con, long option, long flag, const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  long st = parse_ddl_opt_v(con, option, flag, format, ap);
  va_end(ap);
  return st;
}

long adp_sql_parse_now(KAdpConnId* con, const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  void* stmt = nullptr;
  long st = create_formatted(con, &stmt, format, ap);
  va_end(ap);
  if (st != 0) return st;
  if ((st = adp_sql_parse(con, stmt)) != 0) return st;
  return adp_sql_free(con, stmt);
}

long adp_sql_exec_query(KAdpConnId* con, const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  long st = exec_opt_v(con, 0, 0, format, ap);
  va_end(ap);
  return st;
}

long adp_sql_exec_opt_now(KAdpConnId* con, long option, long flag, const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  long st = exec_opt_v(con, option, flag, format, ap);
  va_end(ap);
  return st;
}

long adp_sql_exec_and_fetch_now(KAdpConnId* con, char* found, const char* format, ...) {
  if (found != nullptr) *found = 0;
  va_list ap;
  va_start(ap, format);
  void* stmt = nullptr;
  long st = create_formatted(con, &stmt, format, ap);
  va_end(ap);
  if (st != 0) return st;
  if ((st = adp_sql_parse(con, stmt)) != 0) return st;
  // A scratch destination for the first column: the value is not kept.
  char* scratch = nullptr;
  *static_cast<KAdpSqlBatch*>(stmt) << KAdpBindCol(&scratch, 0);
  if ((st = adp_sql_exec_and_fetch(con, found)) != 0) return st;
  if ((st = adp_sql_free(con, stmt)) != 0) return st;
  return adp_sql_fault_step();
}

long adp_sql_10exec_query(KAdpConnId* con, const char* text1, const char* text2) {
  std::string joined = text1 != nullptr ? text1 : "";
  joined += text2 != nullptr ? text2 : "";
  return adp_sql_exec_query(con, "%s", joined.c_str());
}

long adp_sql_id_init(adp_ty_sql_id* id) {
  if (id == nullptr) return 0;
  id->col = nullptr;
  id->position = 0;
  id->state = 2;
  return 0;
}

long adp_sql_cancel(KAdpConnId*) { return 0; }
long adp_sql_cancel_all(KAdpConnId*, long) { return 0; }
long adp_sql_result() { return 0; }
long adp_sql_set_client_charset() { return 0; }
long adp_sql_get_default_charset(KAdpConnId*, char*) { return 0; }
long adp_sql_get_perf_flag(KAdpConnId*) { return 0; }
long adp_sql_dbstrlen(KAdpConnId*) { return 0; }
long adp_sql_multi_select(KAdpConnId*) { return 0; }
long adp_sql_result_batch(KAdpConnId*) { return 0; }
void adp_sql_set_alt_format(KAdpConnId*) {}
void adp_sql_mark_cmd_end(KAdpConnId*) {}
long adp_sql_get_num_execs() { return num_execs(); }
long adp_sql_set_num_execs(long n) {
  num_execs() = n;
  return 0;
}

long adp_sql_print(KAdpConnId*, void* stmt, FILE* f) {
  if (stmt == nullptr) return 0;
  auto* b = static_cast<KAdpSqlBatch*>(stmt);
  adp_sql_log_to_cb_debugger(b->GetCurrentStmt(), 0);
  if (adp_sql_log_debugger_only() == 1) return 0;
  b->Print(f != nullptr ? f : stdout);
  return 0;
}

long adp_sql_ping(KAdpConnId* con, void* stmt) {
  if (long st = adp_db_check_conn(con)) return st;
  KAdpSqlBatch* b = stmt != nullptr ? static_cast<KAdpSqlBatch*>(stmt) : con->GetSqlBatch(1);
  KAdpUtlRecord scratch;
  if (long st = b->ExecSelectStmt("select site_id from adp_db_header", scratch)) return st;
  if (scratch.GetRows() == 0) {
    long rc = cmn_alrt_push(nullptr, nullptr, ADP_SQL_NO_HEADER, 0);
    (void)rc;
    return ADP_SQL_NO_HEADER;
  }
  return 0;
}
