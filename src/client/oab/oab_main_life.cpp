// The application services' start and stop.
#include "client/oab/oab_main_life.h"

#include "client/oab/oab_fld.h"
#include "client/oab/oab_glb.h"
#include "client/oab/oab_main_cache.h"
#include "client/oab/oab_msg.h"
#include "client/oab/oab_rel.h"
#include "client/oab/oab_sec.h"

namespace {

bool oab_main_inited = false;
bool oab_main_termed = false;

long oab_db_init() { return 0; }
long oab_db_term() { return 0; }

}  // namespace

long oab_main_init() {
  if (oab_main_inited) return 0;
  oab_main_inited = true;
  using step = long (*)();
  for (step s : {oab_str_init, oab_db_init, oab_fld_init, oab_rel_init, oab_qry_init, oab_glb_init,
                 oab_main_init_cache}) {
    if (long st = s()) return st;
  }
  return 0;
}

long oab_main_term() {
  if (oab_main_termed) return 0;
  oab_main_termed = true;
  using step = long (*)();
  for (step s : {oab_qry_term, oab_rel_term, oab_fld_term, oab_db_term, oab_main_term_cache}) {
    if (long st = s()) return st;
  }
  return 0;
}

void oab_main_reset_flags() {
  oab_main_inited = false;
  oab_main_termed = false;
}
