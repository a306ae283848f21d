// The deferred column-initialisation script of schema upgrades.
#include <cstdio>

#include "adapter/adp_main.h"
#include "adapter/adp_sce.h"
#include "core/osl/osl_print.h"

namespace {

FILE* adp_sce_defer_init_fptr = nullptr;
constexpr char kDefaultScript[] = "initcol.sql";

void close_script() {
  if (adp_sce_defer_init_fptr == nullptr) return;
  std::fclose(adp_sce_defer_init_fptr);
  adp_sce_defer_init_fptr = nullptr;
}

}  // namespace

long adp_sce_defer_col_init(long on, const char* file_name) {
  close_script();
  if (on != 1) return 0;
  const char* name = file_name != nullptr && file_name[0] != '\0' ? file_name : kDefaultScript;
  adp_sce_defer_init_fptr = std::fopen(name, "w");
  if (adp_sce_defer_init_fptr == nullptr) {
    osl_print_mes("Cannot open output file '%s' for writing.\n", name);
    return 1;
  }
  std::fputs("/* SQL_BEGIN */\n", adp_sce_defer_init_fptr);
  return 0;
}

long adp_sce_term() {
  if (adp_sce_defer_init_fptr != nullptr) std::fputs("/* SQL_END */\n", adp_sce_defer_init_fptr);
  close_script();
  return 0;
}

FILE* adp_sce_defer_file() { return adp_sce_defer_init_fptr; }
