#include "core/utl/utl_main.h"

#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_alrt.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "core/utl/utl_mem.h"
#include "core/utl/utl_msg.h"
#include "core/utl/utl_pl.h"
#include "core/utl/utl_sym.h"

long utl_main_init() {
  if (long st = utl_col_init()) return st;
  if (long st = utl_mem_init()) return st;
  if (long st = utl_pl_init()) return st;
  if (long st = utl_estr_init()) return st;
  if (long st = utl_str_init()) return st;
  return utl_sym_init();
}

long utl_main_term() {
  utl_col_term();
  utl_mem_term();
  utl_pl_term();
  utl_estr_term();
  utl_sym_term();
  return 0;
}

long utl_main_fetch_strs() {
  const char* text = nullptr;
  if (cmn_alrt_get_msg(UTL_NO_MEMORY, &text) == 0 && text) return 0;
  return utl_alrt(UTL_NO_MEMORY, 100L, utl_mem_name());
}
