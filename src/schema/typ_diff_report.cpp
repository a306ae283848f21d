// The report writer of schema comparisons with its pending section heading,
// and the names of database storage types.
#include <cstdarg>
#include <cstdio>
#include <string>

#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_print.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_diff.h"

namespace {

constexpr long kLabelSize = 129;
char g_label[kLabelSize] = {0};
char g_pending = 0;

constexpr long kNumTypes = 12;
const long kTypeCodes[kNumTypes] = {0x500029, 0x50002a, 0x50002b, 0x50002c, 0x50002d, 0x50002e,
                                    0x50002f, 0x500030, 0x500031, 0x500032, 0x50004e, 0x50004d};
const char* g_type_names[kNumTypes] = {};
bool g_names_loaded = false;

}  // namespace

long typ_sch_set_next_diff_type(const char* text) {
  std::snprintf(g_label, sizeof g_label, "\n%s", text ? text : "");
  g_pending = 1;
  return 0;
}

long typ_sch_pdiff(typ_sch_diff_out* out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int n = std::vsnprintf(nullptr, 0, format ? format : "", args);
  va_end(args);
  std::string buffer(n > 0 ? static_cast<size_t>(n) + 1 : 1, '\0');
  if (n > 0) std::vsnprintf(buffer.data(), buffer.size(), format, again);
  va_end(again);
  const char* text = buffer.c_str();
  if (out && out->stream) {
    if (g_pending) std::fprintf(out->stream, "%s", g_label);
    std::fprintf(out->stream, "%s", text);
  } else {
    if (g_pending) osl_print_mes("%s", g_label);
    osl_print_mes("%s", text);
  }
  if (out && out->estr) {
    if (g_pending) utl_estr_append(out->estr, g_label);
    utl_estr_append(out->estr, text);
  }
  g_pending = 0;
  return 0;
}

const char* typ_sch_dtype_name(long code) {
  if (!g_names_loaded) {
    if (cmn_alrt_get_messages(kNumTypes, kTypeCodes, g_type_names) != 0) return "****";
    g_names_loaded = true;
  }
  if (code < 0 || code >= kNumTypes) return "Unknown DB Type";
  return g_type_names[code] ? g_type_names[code] : "Unknown DB Type";
}
