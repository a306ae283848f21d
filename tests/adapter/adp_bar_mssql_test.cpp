// SQL Server's binary-array tables and the grants of a new table, by exact
// text through the scripted service: every group when groups are not looked
// up, else only the groups the server has (read once); a failing index
// leaves the granted table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapter/adp_fixture.h"
#include "adapter/adp_usr.h"
#include "adapter/dialects/adp_dbop.h"
#include "platform/dataservice/ds_script.h"

namespace {

using ds_script::cell;

constexpr long kGroupsLookedUp = 5;
constexpr const char kTable[] = "bar_case_3";
constexpr const char kCreate[] = "CREATE TABLE bar_case_3 (objid int, seq_num smallint, data varbinary(253) )";
constexpr const char kIndex[] = "CREATE UNIQUE INDEX ibar_case_3 ON bar_case_3 (objid, seq_num) ";

class AdpBarMssql : public adp_test {
 protected:
  void SetUp() override {
    adp_test::SetUp();
    adp_usr_group_exist_forget();
    con_ = connect("oledb");
    ds_script::reset();
  }
  void TearDown() override {
    adp_usr_group_exist_forget();
    adp_test::TearDown();
  }
  void look_groups_up(bool on) {
    con_->GetConfig().SetPropertyBool(static_cast<KAdpConfig::bool_type>(kGroupsLookedUp), on ? 1 : 0);
  }
  long create() {
    char name[] = "bar_case_3";
    return con_->GetDbOperation()->BarCreateWithName(name, 3);
  }

  KAdpConnId* con_ = nullptr;
};

TEST_F(AdpBarMssql, TableGrantsToEveryGroupThenIndex) {
  look_groups_up(false);
  ASSERT_EQ(create(), 0);
  EXPECT_EQ(adp_script_sent(), (std::vector<std::string>{
                                   kCreate,
                                   "grant SELECT, UPDATE, INSERT, DELETE on bar_case_3 to group orb_user",
                                   "grant ALL on bar_case_3 to group administrator",
                                   "grant SELECT on bar_case_3 to group reporter",
                                   kIndex,
                               }));
}

TEST_F(AdpBarMssql, GrantsGoOnlyToTheGroupsTheServerHasReadOnce) {
  look_groups_up(true);
  ds_script::push_result({{"name"}, {{cell::t("orb_user")}}});
  ds_script::push_result({{"name"}, {}});
  ds_script::push_result({{"name"}, {{cell::t("reporter")}}});
  ASSERT_EQ(adp_usr_table_grant(con_, kTable, 0, 0), 0);
  EXPECT_EQ(adp_script_sent(), (std::vector<std::string>{
                                   "select name from sysusers where name = 'orb_user' and uid = gid",
                                   "select name from sysusers where name = 'administrator' and uid = gid",
                                   "select name from sysusers where name = 'reporter' and uid = gid",
                                   "grant SELECT, UPDATE, INSERT, DELETE on bar_case_3 to  orb_user",
                                   "grant SELECT on bar_case_3 to  reporter",
                               }));
  // The answers are kept: the next table asks nothing.
  ds_script::reset();
  ASSERT_EQ(create(), 0);
  EXPECT_EQ(adp_script_sent(), (std::vector<std::string>{
                                   kCreate,
                                   "grant SELECT, UPDATE, INSERT, DELETE on bar_case_3 to  orb_user",
                                   "grant SELECT on bar_case_3 to  reporter",
                                   kIndex,
                               }));
}

TEST_F(AdpBarMssql, AFailureStopsTheLaterStatements) {
  look_groups_up(false);
  const struct {
    const char* what;
    long nth;  // the failing statement
    size_t sent;
  } rows[] = {{"table", 1, 1}, {"first grant", 2, 2}, {"index", 5, 5}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    ds_script::reset();
    ds_script::fail({"ExecStatement", r.nth, 0x8B0014F, "refused", r.what});
    EXPECT_NE(create(), 0);
    EXPECT_EQ(adp_script_sent().size(), r.sent);
  }
}

}  // namespace
