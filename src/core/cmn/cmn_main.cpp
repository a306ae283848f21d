// Start and stop of the cmn module, the debug switch and shared conversions.
#include "core/cmn/cmn_main.h"

#include <cstdint>
#include <cstring>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_dyn.h"
#include "core/cmn/cmn_fmt.h"
#include "core/cmn/cmn_meth.h"
#include "core/cmn/cmn_str.h"
#include "core/cmn/cmn_subs.h"
#include "core/cmn/cmn_typ.h"

namespace {

unsigned char cmn_main_debug_mode = 0;
long cmn_main_dlg_num = 1;

const char* after_prefix(const char* name, const char* prefix) {
  if (name == nullptr) return nullptr;
  return std::strncmp(name, prefix, 4) == 0 ? name + 4 : name;
}

}  // namespace

long cmn_main_init() {
  cmn_typ_install_builtin_methods_proc(cmn_meth_install_all);
  long (*const steps[])() = {cmn_typ_init, cmn_subs_init, cmn_str_init, cmn_alrt_init, cmn_dyn_init, cmn_fmt_init};
  for (auto step : steps) {
    if (long rc = step()) return rc;
  }
  return 0;
}

long cmn_main_term() {
  long (*const steps[])() = {cmn_typ_term, cmn_alrt_term, cmn_dyn_term, cmn_fmt_term, cmn_subs_term};
  for (auto step : steps) {
    if (long rc = step()) return rc;
  }
  return 0;
}

long cmn_main_set_debug_mode(long flag) {
  cmn_main_debug_mode = flag != 0 ? 1 : 0;
  return 0;
}

long cmn_main_is_debug_mode() { return cmn_main_debug_mode != 0 ? 1 : 0; }

const char* cmn_main_delocalize_ctl_name(const char* name) { return after_prefix(name, "CTL:"); }

const char* cmn_main_delocalize_cobj_name(const char* name) { return after_prefix(name, "COB:"); }

long cmn_main_int_to_vb_bool(long value) { return static_cast<int16_t>(value & 0xFFFF) != 0 ? -1 : 0; }

long cmn_main_vb_bool_to_int(long value) { return static_cast<int16_t>(value & 0xFFFF) == -1 ? 1 : 0; }

long cmn_main_get_next_dlg_num() { return cmn_main_dlg_num++; }
