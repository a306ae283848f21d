// Start and end of the locale layer.
#include "core/loc/loc_reg.h"

namespace {
bool loc_main_started = false;
}

long loc_main_init() {
  if (loc_main_started) return 0;
  long rc = loc_reg_init();
  if (rc != 0) return rc;
  loc_main_started = true;
  return 0;
}

long loc_main_is_inited() { return loc_main_started ? 1 : 0; }

long loc_main_term() {
  long rc = loc_reg_term();
  loc_main_started = false;
  return rc;
}
