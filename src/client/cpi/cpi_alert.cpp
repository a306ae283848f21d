// Alerts at the client interface: printing, clearing and pushing on the
// current alert stack, message texts and the OS layer's output settings.
#include <cstdarg>
#include <cstdio>

#include "client/cpi/cpi_int.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_file.h"
#include "core/osl/osl_print.h"

namespace {

constexpr long kTopOnly = 1;
constexpr long kMaxPushArgs = 5;

long cpi_alert_print_do(FILE* stream, long options) {
  if (!(options & kTopOnly)) return cmn_alrt_dump(stream, 1, "", nullptr);
  long code = 0;
  const char* text = nullptr;
  if (long st = cmn_alrt_top(nullptr, &code, &text)) return st;
  std::fputs(text ? text : "", stream ? stream : osl_file_stdout());
  return 0;
}

long cpi_alert_clear_do() {
  cmn_alrt_clear(nullptr);
  return 0;
}

long cpi_alert_push_message_do(const char* text) { return cmn_alrt_push_msg(nullptr, CPI_ALRT_APP_ERROR, text); }

long cpi_utl_get_msg_do(long code, long, const char** out_text) { return cmn_alrt_get_msg(code, out_text); }

long cpi_utl_set_msg_mode_do(long mode) {
  osl_print_set_msg_mode(mode);
  return 0;
}

long cpi_utl_set_stdout_do(FILE* stream) {
  osl_file_set_stdout(stream);
  return 0;
}

}  // namespace

long cpi_alert_print(FILE* stream, long options) { return cpi_alert_print_do(stream, options); }
long cpi_alert_clear() { return cpi_alert_clear_do(); }

// At most five arguments are handed on, each one word wide.
long cpi_alert_push(const char* proc_name, long code, long argc, ...) {
  long words[kMaxPushArgs] = {};
  va_list args;
  va_start(args, argc);
  for (long i = 0; i < argc && i < kMaxPushArgs; ++i) words[i] = va_arg(args, long);
  va_end(args);
  return cmn_alrt_push(nullptr, proc_name, code, argc, words[0], words[1], words[2], words[3], words[4]);
}

long cpi_alert_push_message(const char* text) { return cpi_alert_push_message_do(text); }
long cpi_utl_get_msg(long code, long ignored, const char** out_text) { return cpi_utl_get_msg_do(code, ignored, out_text); }
long cpi_utl_set_msg_mode(long mode) { return cpi_utl_set_msg_mode_do(mode); }
long cpi_utl_set_stdout(FILE* stream) { return cpi_utl_set_stdout_do(stream); }
