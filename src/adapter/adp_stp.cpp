// The stored-procedure log, the calls that hand the procedure sets to the
// connection's dialect, and a table's trigger list around a rebuild: read
// through the dialect, each statement run again as it stands, freed.
#include <string>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sch_upg.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_stp.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/cmn/cmn_typ.h"
#include "core/loc/loc_st.h"
#include "core/osl/osl_print.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"

namespace {

constexpr const char kOwner[] = "adp_stp_get_table_trigger";
constexpr long kTriggerListSize = 8;

const char* g_log_name = "stproc.log";
FILE* g_log = nullptr;
adp_stp_flush_proc g_flush = nullptr;

// Trigger lists this module made for a caller that gave none: freed whole
// by adp_stp_free_table_trigger.
utl_ty_col* g_made_list = nullptr;

utl_ty_estr* trigger_at(utl_ty_col* triggers, long i) {
  void* e = nullptr;
  if (utl_col_ith(triggers, i, &e) != 0 || e == nullptr) return nullptr;
  return *static_cast<utl_ty_estr**>(e);
}

}  // namespace

long adp_stp_open_logfile() {
  adp_stp_close_logfile();
  g_log = loc_io_fopen(g_log_name, "w");
  if (g_log == nullptr) {
    osl_print_mes("Cannot create log file '%s'\n", g_log_name);
    return 1;
  }
  return 0;
}

long adp_stp_close_logfile() {
  if (g_log == nullptr) return 0;
  FILE* f = g_log;
  g_log = nullptr;
  return loc_io_fclose(f);
}

FILE* adp_stp_log_file() { return g_log; }
void adp_stp_set_flush(adp_stp_flush_proc flush) { g_flush = flush; }
long adp_stp_flush_log() { return g_flush != nullptr ? g_flush() : adp_db_flush_log(); }
const char* adp_stp_log_name() { return g_log_name; }

long adp_stp_create_procs(KAdpConnId* con, const char* db_name, long flag) {
  if (long st = adp_db_check_conn(con)) return st;
  return con->GetDbOperation()->StpCreateProcs(const_cast<char*>(db_name != nullptr ? db_name : ""),
                                               static_cast<char>(flag));
}

long adp_stp_construct_get(KAdpConnId* con, char* type_name, char* table_name, long id_index, long id_type,
                           long n_fields, char** field_names, FILE* log, char** proc_name, char** proc_text,
                           char* no_id) {
  if (long st = adp_db_check_conn(con)) return st;
  return con->GetDbOperation()->StpConstructGet(type_name, table_name, id_index, id_type, n_fields, field_names, log,
                                                proc_name, proc_text, no_id);
}

long adp_stp_create_get_proc(KAdpConnId* con, void* schema) {
  if (long st = adp_db_check_conn(con)) return st;
  return con->GetDbOperation()->StpCreateGetProc(schema);
}

long adp_stp_procs_for_view(KAdpConnId* con, void* schema) { return adp_stp_create_get_proc(con, schema); }

long adp_stp_create_new_proc(KAdpConnId* con) {
  if (long st = adp_db_check_conn(con)) return st;
  return con->GetDbOperation()->StpCreateNewProc();
}

long adp_stp_get_table_trigger(KAdpConnId* con, typ_sch_srec* schema, utl_ty_col** triggers) {
  if (long st = adp_db_check_conn(con)) return st;
  if (triggers == nullptr) return 0;
  if (*triggers == nullptr) {
    if (long st = utl_col_make(kOwner, CMN_TYP_VOID_P, kTriggerListSize, kTriggerListSize, 0, 0, triggers)) {
      return st;
    }
    g_made_list = *triggers;
  }
  return con->GetDbOperation()->StpGetTableTrigger(schema, *triggers);
}

long adp_stp_build_table_trigger(KAdpConnId* con, long, utl_ty_col* triggers) {
  if (triggers == nullptr) return 0;
  long n = 0;
  utl_col_num(triggers, &n);
  for (long i = 0; i < n; ++i) {
    utl_ty_estr* text = trigger_at(triggers, i);
    if (text == nullptr) continue;
    if (long st = adp_sql_parse_ddl_now(con, "%s", utl_estr_get(text))) return st;
  }
  return 0;
}

long adp_stp_free_table_trigger(utl_ty_col* triggers) {
  if (triggers == nullptr) return 0;
  long n = 0;
  utl_col_num(triggers, &n);
  for (long i = 0; i < n; ++i) {
    if (utl_ty_estr* text = trigger_at(triggers, i)) utl_estr_free(kOwner, text);
  }
  long st = utl_col_reset(triggers);
  if (triggers == g_made_list) {
    g_made_list = nullptr;
    utl_col_free(kOwner, triggers);
  }
  return st;
}
