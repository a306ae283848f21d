#include "rdb_fixture.h"

#include "adpdouble/adp_double_sce.h"
#include "core/osl/osl_sys_cfg.h"
#include "store/dbs_rdb.h"

void table_change_test::SetUp() {
  store_test::SetUp();
  store_start();
  small_dictionary();
  load_model();
  adp_double::reset();
  adp_store::st().server_type = 2;
  for (const char* t : {"table_case", "table_site"}) {
    adp_double::set_table_exists(t, true);
    adp_double::set_table_has_rows(t, true);
  }
}

void table_change_test::TearDown() {
  osl_sys_set_config_string("UPGRADE_MAX_COPY_SIZE", "", 0);
  dbs_rdb_set_max_copy_size(0);
  store_test::TearDown();
}
