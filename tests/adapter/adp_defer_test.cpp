// The deferred column-initialisation script of upgrades: opened with its
// first line, closed with its last, replaced by the next opening.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "adapter/adp_fixture.h"
#include "adapter/adp_main.h"
#include "adapter/adp_sce.h"

namespace {

class AdpDeferScript : public adp_test {};

TEST_F(AdpDeferScript, OpenedWrittenAndClosed) {
  ASSERT_EQ(adp_sce_defer_col_init(1, "first.sql"), 0);
  ASSERT_NE(adp_sce_defer_file(), nullptr);
  std::fputs("update t set c = 0;\n", adp_sce_defer_file());
  // A second opening closes the first script (without its last line).
  ASSERT_EQ(adp_sce_defer_col_init(1, nullptr), 0);
  ASSERT_EQ(adp_sce_term(), 0);
  EXPECT_EQ(adp_sce_defer_file(), nullptr);
  EXPECT_EQ(file_text("first.sql"), "/* SQL_BEGIN */\nupdate t set c = 0;\n");
  EXPECT_EQ(file_text("initcol.sql"), "/* SQL_BEGIN */\n/* SQL_END */\n");
  // Off: nothing is opened; a script that cannot be opened is refused.
  ASSERT_EQ(adp_sce_defer_col_init(0, "off.sql"), 0);
  EXPECT_EQ(file_text("off.sql"), "");
  EXPECT_EQ(adp_sce_defer_col_init(1, "no/such/dir/x.sql"), 1);
  EXPECT_EQ(adp_sce_defer_file(), nullptr);
}

}  // namespace
