// Start and stop of the dbg module, the debug-topic and procedure-stack
// interface (no effect), and the SQL-log switch.
#include "core/dbg/dbg_main.h"

#include "core/dbg/dbg_str.h"
#include "core/osl/osl_print.h"

long dbg_main_init() {
  long (*const steps[])() = {dbg_d_init, dbg_prc_init, dbg_tc_init, dbg_str_init};
  for (auto step : steps) {
    if (long rc = step()) return rc;
  }
  return 0;
}

long dbg_main_term() {
  dbg_d_term();
  dbg_prc_term();
  dbg_tc_term();
  return 0;
}

long dbg_d_init() { return 0; }
long dbg_d_term() { return 0; }
long dbg_prc_init() { return 0; }
long dbg_prc_term() { return 0; }

long dbg_d_check_topic(long) { return 0; }
long dbg_d_set_topic(long, long) { return 0; }
long dbg_d_get_topic(long, long*) { return 0; }
long dbg_d_should_print(long, long, long*) { return 0; }
long dbg_d_set_log(const char*) { return 0; }
long dbg_d_dump_topics(FILE*) { return 0; }
long dbg_d_set_mode(long) { return 0; }
long dbg_d_get_topic_byname(const char*, long*) { return 0; }

long dbg_d_get_mode(long* mode) {
  if (mode != nullptr) *mode = 0;
  return 0;
}

long dbg_d_get_log(const char** name) {
  static const char empty[1] = "";
  if (name != nullptr) *name = empty;
  return 0;
}

long dbg_d_print(long, long, const char*, va_list, long* printed) {
  if (printed != nullptr) *printed = 0;
  return 0;
}

long dbg_prc_dump_rtns(FILE*) { return 0; }
long dbg_prc_enter(const char*) { return 0; }
long dbg_prc_exit(const char*) { return 0; }
long dbg_prc_exit_err(const char*, long) { return 0; }
long dbg_prc_dump(FILE*) { return 0; }
long dbg_prc_get(long, const char**) { return 0; }
long dbg_prc_get_top(const char**) { return 0; }
long dbg_prc_set_top(const char*) { return 0; }
long dbg_prc_set_mode(long) { return 0; }
long dbg_prc_set_installed(long) { return 0; }
long dbg_prc_get_indent(long*) { return 0; }

long dbg_prc_get_mode(long* mode, long* installed) {
  if (mode != nullptr) *mode = 0;
  if (installed != nullptr) *installed = 0;
  return 0;
}

void dbg_prc_trap() {}
void dbg_prc_disable_trap() {}
void dbg_prc_enable_trap() {}

long adp_sql_log_stdout() {
  osl_print_mes("adp_sql_log_stdout: Not currently supported\n");
  return 0;
}
