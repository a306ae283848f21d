#include "core/cmn_main_fixture.h"

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_main.h"
#include "core/core_fixture.h"
#include "core/utl/utl_main.h"

void core_start_runtime() {
  static long started = -1;
  if (started == core_cmn_generation()) return;
  core_cmn_restarted();
  ASSERT_EQ(cmn_main_init(), 0);
  ASSERT_EQ(utl_main_init(), 0);
  started = core_cmn_generation();
}

void core_runtime_test::SetUp() {
  core_start_runtime();
  cmn_alrt_clear(nullptr);
}
