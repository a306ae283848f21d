#include "store_fixture.h"

#include "store/dbs_main.h"

TEST_F(store_test, InitRunsOnce) { EXPECT_EQ(dbs_main_init(), 0); }
