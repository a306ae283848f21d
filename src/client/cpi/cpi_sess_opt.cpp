// The session options: SQL log to a file, SQL log to standard output and
// the message mode. Slots live for the life of the process.
#include <cstdio>

#include "adapter/adp_sql_log.h"
#include "client/cpi/cpi_int.h"
#include "client/cpi_sess.h"
#include "core/cmn/cmn_alrt.h"
#include "core/loc/loc_st.h"
#include "core/osl/osl_file.h"
#include "core/osl/osl_print.h"

namespace {

constexpr long kOptLogFile = 1;
constexpr long kOptLogStdout = 2;
constexpr long kOptMsgMode = 3;
constexpr long kMaxOptions = 25;
constexpr long kValueParam = 3;
constexpr long kOptionParam = 2;

long cpi_sess_options[kMaxOptions];
cpi_ty_opt_value cpi_sess_option_values[kMaxOptions];
long cpi_sess_num_options = 0;
// The log file option 1 opened last (closed when another replaces it).
FILE* cpi_sess_log_file = nullptr;

long cpi_sess_find_slot(long option) {
  for (long i = 0; i < cpi_sess_num_options; ++i) {
    if (cpi_sess_options[i] == option) return i;
  }
  return -1;
}

long cpi_sess_log_to_file(const cpi_ty_opt_value& value) {
  FILE* current = nullptr;
  if (long st = adp_sql_get_log(&current)) return st;
  char name[CPI_OPT_FILE_NAME_SIZE + 1] = {};
  std::snprintf(name, sizeof name, "%.*s", CPI_OPT_FILE_NAME_SIZE, value.file_name);
  FILE* file = loc_io_fopen(name, "w");
  // A file that cannot be opened leaves logging as it was.
  if (file == nullptr) return cpi_bad_param(kValueParam, "option_value");
  if (long st = adp_sql_log_sql(file)) {
    std::fclose(file);
    return st;
  }
  if (cpi_sess_log_file != nullptr && cpi_sess_log_file != file) std::fclose(cpi_sess_log_file);
  cpi_sess_log_file = file;
  std::fflush(file);
  return 0;
}

long cpi_sess_log_to_stdout(const cpi_ty_opt_value& value) {
  FILE* current = nullptr;
  if (long st = adp_sql_get_log(&current)) return st;
  if (current != nullptr) {
    if (current == osl_file_stdout() && value.flag == 0) return adp_sql_log_sql(nullptr);
    return 0;
  }
  if (value.flag == 1) return adp_sql_log_sql(osl_file_stdout());
  return 0;
}

}  // namespace

long cpi_sess_set_option(long con_id, long option, const cpi_ty_opt_value* value) {
  if (cpi_utl_conid_check(con_id) != 0) {
    cmn_alrt_clear(nullptr);
    return cpi_alrt(CPI_ALRT_NO_SESSION);
  }
  if (value == nullptr) return cpi_bad_param(kValueParam, "option_value");
  if (option != kOptLogFile && option != kOptLogStdout && option != kOptMsgMode) {
    return cpi_bad_param(kOptionParam, "option");
  }
  long slot = cpi_sess_find_slot(option);
  if (slot < 0) slot = cpi_sess_num_options++;
  cpi_sess_options[slot] = option;
  cpi_sess_option_values[slot] = *value;
  if (option == kOptLogFile) return cpi_sess_log_to_file(*value);
  if (option == kOptLogStdout) return cpi_sess_log_to_stdout(*value);
  osl_print_set_msg_mode(value->flag == 1 ? 1 : 0);
  return 0;
}

long cpi_sess_get_option(long /*con_id*/, long option, cpi_ty_opt_value* out_value) {
  long slot = cpi_sess_find_slot(option);
  if (slot < 0) return cpi_alrt(CPI_ALRT_OPTION_NOT_SET, option);
  if (out_value == nullptr) return cpi_bad_param(kValueParam, "option_value");
  *out_value = cpi_sess_option_values[slot];
  return 0;
}
