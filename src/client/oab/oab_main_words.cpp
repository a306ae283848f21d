// Thirty common words in the user's language and the print command.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "client/oab/oab_db.h"
#include "client/oab/oab_main.h"
#include "client/oab/oab_main_cache.h"
#include "client/oab/oab_msg.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_file.h"
#include "core/osl/osl_print.h"

namespace {

constexpr long kExecutable = 1;  // access mode of an executable file

struct word_row {
  const char* fallback;
  long code;
};

const word_row kWords[OAB_MAIN_GSTRS] = {
    {"Yes", 0x2a0002b},      {"No", 0xe000ca},        {"Ok", 0xe000cb},       {"Continue", 0xe000cc},
    {"Delete", 0xe000cd},    {"Country", 0xe000ce},   {"State/Prov", 0xe000cf}, {"Time Zone", 0xe000d0},
    {"None", 0xe000d1},      {"Save", 0xe000d2},      {"Discard", 0xe000d3},  {"Cancel", 0xe000d4},
    {"Unknown", 0xe000d5},   {"Unknown Type", 0xe000d6}, {"Descending", 0xe000d7}, {"Ascending", 0xe000d8},
    {"Done", 0xe000d9},      {"Open", 0xe000da},      {"Width", 0xe000db},    {"Height", 0xe000dc},
    {"Sort", 0xe000dd},      {"Sort By", 0xe000de},   {"Obsolete", 0xe000df}, {"Year", 0xe000e0},
    {"Month", 0xe000e1},     {"Week", 0xe000e2},      {"Day", 0xe000e3},      {"Hour", 0xe000e4},
    {"Minute", 0xe000e5},    {"Second", 0xe000e6},
};

std::string g_cached[OAB_MAIN_GSTRS];
bool g_has[OAB_MAIN_GSTRS] = {};

// The command into out when its program (the part before the first blank)
// is an executable file.
bool try_command(const std::string& command, char* out, long size) {
  std::string program = command.substr(0, command.find(' '));
  if (program.empty() || osl_file_access(program.c_str(), kExecutable) != 0) return false;
  if (size <= 0) return true;
  size_t n = std::min(command.size(), static_cast<size_t>(size - 1));
  std::memcpy(out, command.data(), n);
  out[n] = '\0';
  return true;
}

}  // namespace

const char* oab_main_get_gstr(long index, long) {
  if (index < 0 || index >= OAB_MAIN_GSTRS) return "";
  const word_row& w = kWords[index];
  if (oab_db_con_id == nullptr) return w.fallback;
  if (g_has[index]) return g_cached[index].c_str();
  const char* text = nullptr;
  cmn_alrt_get_msg(w.code, &text);
  if (text == nullptr) return w.fallback;
  g_cached[index] = text;
  g_has[index] = true;
  return g_cached[index].c_str();
}

long oab_main_get_print_path(char* out, long size) {
  const char* var = oab_msg_text(OAB_PRINT_VAR_NAME);
  std::string name = var != nullptr && *var != '\0' ? var : "BRISK_PRINT";
  const char* env = std::getenv(name.c_str());
  if (env != nullptr && *env != '\0' && try_command(env, out, size)) {
    osl_print_mes("Using enviroment variable of BRISK_PRINT %s \n", out);
    return 0;
  }
  dbs_ty_lobj* item = nullptr;
  const char* text = nullptr;
  if (long st = oab_db_get_config_item(name.c_str(), &item, nullptr, nullptr, &text)) return st;
  if (item != nullptr && text != nullptr && *text != '\0' && try_command(text, out, size)) {
    osl_print_mes("Using config item table variable of BRISK_PRINT %s \n", out);
    return 0;
  }
  const char* defaults[][2] = {{"/usr/bin/lpr", "/usr/bin/lpr -s -r"},
                               {"/usr/ucb/lpr", "/usr/ucb/lpr -s -r"},
                               {"/usr/bin/lp", "/usr/bin/lp -c"}};
  for (const auto& d : defaults) {
    if (osl_file_access(d[0], kExecutable) != 0 || !try_command(d[1], out, size)) continue;
    osl_print_mes("Using %s \n", out);
    return 0;
  }
  if (size > 0) out[0] = '\0';
  return oab_alrt("oab_main_get_print_path", OAB_PRINT_NOT_FOUND);
}
