// The object-state engine's start-up and stop.
#include "client/ost/ost_main.h"

#include "client/ost/ost_comm.h"
#include "client/ost/ost_msg.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_rel.h"
#include "client/ost/ost_state.h"

long ost_main_init() {
  if (long st = ost_state_init()) return st;
  if (long st = ost_obj_init()) return st;
  if (long st = ost_rel_init()) return st;
  if (long st = ost_comm_init()) return st;
  return ost_str_init();
}

long ost_main_term() {
  ost_state_term();
  ost_obj_term();
  ost_rel_term();
  return 0;
}
