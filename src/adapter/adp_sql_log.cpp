// The SQL log's state and lines.
#include "adapter/adp_sql_log.h"

#include <cstring>
#include <string>
#include <vector>

#include "core/osl/osl_sys_cfg.h"

namespace {

FILE* log_ptr = nullptr;
char log_to_stdout = 0;
char DBGR_SqlLog = 0;
adp_ty_sql_log_cb fDebuggerCallback = nullptr;

constexpr const char* kDebuggerLogName = "TempFile1234L";

struct hidden_text {
  std::string secret, shown;
};
std::vector<hidden_text> hidden;

}  // namespace

long adp_sql_log_sql(FILE* stream) {
  log_ptr = stream;
  char* arg = nullptr;
  if (osl_sys_has_arg("-sqlout", 0, &arg) == 1) log_to_stdout = 1;
  return 0;
}

long adp_sql_log_file(const char* name) {
  if (name == nullptr) return 1;
  if (std::strcmp(name, kDebuggerLogName) == 0) DBGR_SqlLog = 1;
  FILE* f = std::fopen(name, "w");
  if (f == nullptr) return 1;
  return adp_sql_log_sql(f);
}

long adp_sql_get_log(FILE** out) {
  if (out != nullptr) *out = log_ptr;
  return 0;
}

long adp_sql_install_debugger_log_cb(adp_ty_sql_log_cb proc) {
  fDebuggerCallback = proc;
  return 0;
}

long adp_sql_log_to_cb_debugger(const char* text, long flag) {
  if (fDebuggerCallback != nullptr) fDebuggerCallback(text, flag);
  return 0;
}

void adp_sql_log_hide(const char* secret, const char* shown) {
  if (secret == nullptr || *secret == '\0') return;
  hidden.push_back({secret, shown != nullptr ? shown : ""});
}

void adp_sql_log_unhide() { hidden.clear(); }

std::string adp_sql_log_masked(const char* text) {
  std::string out = text != nullptr ? text : "";
  for (const hidden_text& h : hidden) {
    for (size_t at = out.find(h.secret); at != std::string::npos; at = out.find(h.secret, at + h.shown.size())) {
      out.replace(at, h.secret.size(), h.shown);
    }
  }
  return out;
}

long adp_sql_print_out(KAdpConnId* /*con*/, const char* raw) {
  const std::string masked = adp_sql_log_masked(raw);
  const char* text = masked.c_str();
  if (log_ptr != nullptr) adp_sql_log_to_cb_debugger(text, 1);
  if (DBGR_SqlLog == 1) return 0;
  if (log_ptr != nullptr) {
    std::fprintf(log_ptr, "%s\n", text);
    std::fflush(log_ptr);
  }
  if (log_to_stdout) {
    std::fprintf(stdout, "%s\n", text);
    std::fflush(stdout);
  }
  return 0;
}

long adp_sql_alt_print_out(long code, const char* raw) {
  if (log_ptr == nullptr) return code;
  const std::string masked = adp_sql_log_masked(raw);
  const char* text = masked.c_str();
  adp_sql_log_to_cb_debugger(text, 0);
  if (DBGR_SqlLog == 1) return code;
  std::fprintf(log_ptr, "%s\n", text);
  if (log_to_stdout) std::fprintf(stdout, "%s\n", text);
  return std::fflush(log_ptr);
}

long adp_sql_log_reset() {
  log_ptr = nullptr;
  log_to_stdout = 0;
  DBGR_SqlLog = 0;
  fDebuggerCallback = nullptr;
  adp_sql_log_unhide();
  return 0;
}

char adp_sql_log_debugger_only() { return DBGR_SqlLog; }
