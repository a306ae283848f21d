// Start-up and shut-down of the client stack, and the table of compiled-in
// message texts by module.
#include "client/cpi_main.h"

#include <iterator>

#include "client/com/com_rbld.h"
#include "client/cpi_utl.h"
#include "client/gen/gen_num.h"
#include "client/oab/oab_glb.h"
#include "client/oab/oab_main_life.h"
#include "client/oab/oab_msg.h"
#include "client/ost/ost_main.h"
#include "core/bil/bil_str.h"
#include "core/bug/bug_str.h"
#include "core/cas/cas_str.h"
#include "core/clk/clk_time.h"
#include "core/cmn/cmn_list.h"
#include "core/cmn/cmn_main.h"
#include "core/dbg/dbg_main.h"
#include "core/loc/loc_reg.h"
#include "core/prb/prb_str.h"
#include "core/utl/utl_main.h"
#include "core/vert/vert_str.h"
#include "schema/typ_sch.h"
#include "store/dbs_main.h"

namespace {

using cpi_main_proc = long (*)();

// A module's start and, when it holds something to release, its stop.
struct cpi_main_step {
  cpi_main_proc start;
  cpi_main_proc stop;
};

const cpi_main_step kSteps[] = {
    {cmn_main_init, cmn_main_term}, {dbg_main_init, dbg_main_term}, {utl_main_init, utl_main_term},
    {loc_main_init, loc_main_term}, {typ_main_init, typ_main_term}, {dbs_main_init, dbs_main_term},
    {ost_main_init, ost_main_term}, {oab_str_init, nullptr},        {oab_main_init, oab_main_term},
    {gen_str_init, nullptr},        {cpi_str_init, nullptr},        {clk_main_init, clk_main_term},
    {com_rbld_init, com_rbld_term},       {cas_str_init, nullptr},        {bug_str_init, nullptr},
    {prb_str_init, nullptr},        {bil_str_init, nullptr},        {vert_str_init, nullptr},
};

const cpi_main_proc kStops[] = {com_rbld_term, clk_main_term, oab_main_term, ost_main_term,
                                typ_main_term, dbs_main_term, utl_main_term, loc_main_term,
                                dbg_main_term, cmn_main_term, oab_glb_main_term};

// Modules whose compiled-in texts the message lists fall back on.
const long kTableIds[] = {1000, 1400, 1600, 1800, 2000,  2200,  3600,  4600,  6600,
                          7200, 7600, 10600, 20600, 21200, 21400, 22200, 22400, 22800};

long api_main_init_done = 0;

// Stops, last first, the modules before `failed` that have a stop.
void cpi_main_unwind(long failed) {
  for (long i = failed - 1; i >= 0; --i) {
    if (kSteps[i].stop != nullptr) kSteps[i].stop();
  }
  oab_main_reset_flags();
}

}  // namespace

long cpi_main_init() {
  if (api_main_init_done == 1) return 0;
  const long n = static_cast<long>(std::size(kSteps));
  for (long i = 0; i < n; ++i) {
    if (long st = kSteps[i].start()) {
      cpi_main_unwind(i);
      return st;
    }
  }
  api_main_init_done = 1;
  return 0;
}

long cpi_main_term() {
  if (api_main_init_done == 0) return 0;
  // Every module is stopped even when one of them fails; the first failure
  // is returned.
  long first = 0;
  for (cpi_main_proc stop : kStops) {
    long st = stop();
    if (first == 0) first = st;
  }
  oab_main_reset_flags();
  api_main_init_done = 0;
  return first;
}

long cpi_main_set_init_done(long flag) {
  api_main_init_done = static_cast<unsigned char>(flag);
  return 0;
}

long cpi_main_is_init_done() { return api_main_init_done; }

signed char cpi_main_is_remote() { return static_cast<signed char>(dbs_main_is_remote()); }

const char* const* cpi_table_get_res_table(long first_message_id) {
  for (long id : kTableIds) {
    if (id != first_message_id) continue;
    const char* const* texts = nullptr;
    long count = 0;
    if (cmn_list_res_str(id, id, &count, &texts) != 0) return nullptr;
    return texts;
  }
  return nullptr;
}
