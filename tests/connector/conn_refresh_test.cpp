// The memory refresh: every interval of counted units the memory manager
// collects. Units: one per doRetrieve, per attribute object handled by
// Create and Update, per result level of RetrieveAll and of the walk that
// removes relations, per Retrieve and RetrieveByContent.
#include "conn_crm.h"

namespace {

class conn_refresh_test : public conn_crm_test {
 protected:
  void SetUp() override {
    conn_crm_test::SetUp();
    KlProperties::set("MemoryRefreshInterval", "1");
    globals->terminate();
    ASSERT_EQ(globals->init(nullptr), 0);
    store_site("S-1", "Acme", {});
  }
};

struct refresh_case {
  const char* verb;
  const char* site_id;
  long units;
};

TEST_F(conn_refresh_test, each_counted_unit_collects_with_an_interval_of_one) {
  const refresh_case cases[] = {
      {"Retrieve", "S-1", 2},     // doRetrieve, Retrieve
      {"Exist", "S-1", 2},        // doRetrieve, Retrieve
      {"RetrieveAll", "S-1", 5},  // doRetrieve, 2 levels, the contact's 2 levels
      {"Create", "S-2", 2},       // the site and its address line
      {"Update", "S-1", 6},       // the walk's 2 + 2 levels, the site and its address
  };
  for (const refresh_case& c : cases) {
    SCOPED_TRACE(c.verb);
    gcStandInReset();
    auto bo = request("Orbisan_Site", c.verb, {{"SiteID", c.site_id}, {"AddrLine", "1 Main St"}});
    EXPECT_EQ(run(*bo), 1);
    EXPECT_EQ(gcStandInCollections(), c.units);
  }
}

TEST_F(conn_refresh_test, a_longer_interval_collects_once_per_interval) {
  globals->terminate();
  KlProperties::set("MemoryRefreshInterval", "3");
  OrbisanGlobals* old = globals;
  globals = new OrbisanGlobals();
  JToCPPVeneer::theAppGlobPtr = globals;
  delete old;
  ASSERT_EQ(globals->init(nullptr), 0);
  gcStandInReset();
  recordCount = 0;
  for (int k = 0; k < 4; ++k) {
    auto bo = request("Orbisan_Site", "Retrieve", {{"SiteID", "S-1"}});
    EXPECT_EQ(run(*bo), 1);
  }
  EXPECT_EQ(gcStandInCollections(), 2);  // 8 units
  EXPECT_EQ(recordCount, 2);
}

}  // namespace
