// Start and stop of the clock module.
#include "core/clk/clk_msg.h"
#include "core/clk/clk_seam.h"
#include "core/clk/clk_srv.h"
#include "core/clk/clk_text.h"
#include "core/clk/clk_type.h"
#include "core/clk/clk_tz.h"

long clk_time_init() {
  if (long st = clk_type_install()) return st;
  if (long st = clk_seam_qry_install_convert(clk_time_clk_to_str_prec_adj)) return st;
  if (long st = clk_time_set_clock_mode(2, CLK_SYNC_INTERVAL, CLK_SYNC_TOLERANCE)) return st;
  return clk_str_load_months();
}

long clk_main_init() {
  if (long st = clk_str_init()) return st;
  if (long st = clk_time_init()) return st;
  return clk_tz_init();
}

long clk_main_term() { return 0; }
