// The adapter's plain database calls the store forwards: recorded, with
// the scripted status.
#include <string>

#include "adapter/adp_db.h"
#include "adapter/adp_loc.h"
#include "adapter/adp_sch_del.h"
#include "adapter/adp_sql.h"
#include "adpdouble/adp_double.h"

using adp_double::record;

long adp_db_reset_fail_num() { return record("adp_db_reset_fail_num", {}); }
long adp_db_test_fired() { return record("adp_db_test_fired", {}); }
long adp_db_disable_fail_mode() { return record("adp_db_disable_fail_mode", {}); }
// Marks both out bytes, so a caller shows which one it hands on.
long adp_sch_get_trigger(KAdpConnId*, const char* name, long kind, char* found, char* enabled) {
  if (found != nullptr) *found = 2;
  if (enabled != nullptr) *enabled = 3;
  return record("adp_sch_get_trigger", {name != nullptr ? name : "", std::to_string(kind)});
}
long adp_db_set_no_dump_tran() { return record("adp_db_set_no_dump_tran", {}); }
long adp_db_set_timeout() { return record("adp_db_set_timeout", {}); }
long adp_db_set_textlimit() { return record("adp_db_set_textlimit", {}); }
long adp_db_disable_ansi_to_oem() { return record("adp_db_disable_ansi_to_oem", {}); }
long adp_db_set_db_driver(const char* name) { return record("adp_db_set_db_driver", {name != nullptr ? name : ""}); }

char* const* adp_db_get_lcid_charactersetname_list(long** lcids) {
  static char* names[1] = {nullptr};
  static long ids[1] = {0};
  record("adp_db_get_lcid_charactersetname_list", {});
  if (lcids != nullptr) *lcids = ids;
  return names;
}
