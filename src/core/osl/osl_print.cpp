// OS layer: diagnostic messages.
#include "core/osl/osl_print.h"

namespace {

long g_message_mode = 1;

}  // namespace

void osl_print_set_msg_mode(long mode) { g_message_mode = mode; }

long osl_print_get_msg_mode() { return g_message_mode; }

long osl_print_vmes(const char* fmt, va_list args) {
  if (g_message_mode == 0 || fmt == nullptr) return 0;
  FILE* stream = osl_file_stdout();
  std::vfprintf(stream, fmt, args);
  std::fflush(stream);
  return 0;
}

long osl_print_mes(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  osl_print_vmes(fmt, args);
  va_end(args);
  return 0;
}

long osl_print_vmes_i(long indent, const char* fmt, va_list args) {
  if (g_message_mode == 0) return 0;
  if (indent > 0) {
    static const char blanks[] = "                                                            ";
    // Width pads past the 60 blanks of the source, so any indent is honoured.
    int width = indent > 100000 ? 100000 : static_cast<int>(indent);
    std::fprintf(osl_file_stdout(), "%*.*s", width, width, blanks);
  }
  return osl_print_vmes(fmt, args);
}

long osl_print_mes_i(long indent, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  osl_print_vmes_i(indent, fmt, args);
  va_end(args);
  return 0;
}
