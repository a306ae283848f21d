// The store's plain database forwarders reach their adapter calls with the
// caller's arguments and hand the adapter's status back.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "store/dbs_db.h"
#include "store/dbs_obj.h"
#include "store/store_fixture.h"

namespace {

class DbsDbForward : public store_test {};

TEST_F(DbsDbForward, EachForwarderReachesItsAdapterCall) {
  const struct {
    const char* adapter;
    std::function<long()> call;
  } rows[] = {
      {"adp_db_reset_fail_num", [] { return dbs_db_reset_fail_num(); }},
      {"adp_db_test_fired", [] { return dbs_db_test_fired(); }},
      {"adp_db_disable_fail_mode", [] { return dbs_db_disable_fail_mode(); }},
      {"adp_db_set_no_dump_tran", [] { return dbs_db_set_no_dump_tran(); }},
      {"adp_db_set_timeout", [] { return dbs_db_set_timeout(); }},
      {"adp_db_set_textlimit", [] { return dbs_db_set_textlimit(); }},
      {"adp_db_disable_ansi_to_oem", [] { return dbs_db_disable_ansi_to_oem(); }},
      {"adp_db_set_db_driver", [] { return dbs_db_set_db_driver("oledb"); }},
  };
  for (const auto& r : rows) {
    adp_double::reset();
    adp_double::script(r.adapter, {0x600036});
    EXPECT_EQ(r.call(), 0x600036) << r.adapter;
    EXPECT_EQ(adp_double::calls_of(r.adapter).size(), 1u) << r.adapter;
  }
  EXPECT_EQ(adp_double::calls_of("adp_db_set_db_driver")[0].args, (std::vector<std::string>{"oledb"}));
}

TEST_F(DbsDbForward, TriggerCheckAsksForKindOneAndHandsTheLastByteOut) {
  adp_double::reset();
  char out = 0;
  EXPECT_EQ(dbs_db_check_trigger(nullptr, "table_case", &out), 0);
  EXPECT_EQ(out, 3);
  auto calls = adp_double::calls_of("adp_sch_get_trigger");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].args, (std::vector<std::string>{"table_case", "1"}));
  adp_double::script("adp_sch_get_trigger", {0x600036});
  EXPECT_EQ(dbs_db_check_trigger(nullptr, "table_case", &out), 0x600036);
}

TEST_F(DbsDbForward, FieldIncrementPassesItsRowAndFieldOn) {
  adp_double::reset();
  long value = 0;
  EXPECT_EQ(dbs_obj_incr_field(nullptr, 123, "CS-1", "name", 0, "next_value", &value), 0);
  EXPECT_EQ(dbs_obj_incr_field(nullptr, 123, "", "", 42, "next_value", &value), 0);
  auto calls = adp_double::calls_of("adp_obj_incr_field");
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].args, (std::vector<std::string>{"123", "CS-1", "name", "0", "next_value"}));
  EXPECT_EQ(calls[1].args, (std::vector<std::string>{"123", "", "", "42", "next_value"}));
  adp_double::script("adp_obj_incr_field", {0x70002b});
  EXPECT_EQ(dbs_obj_incr_field(nullptr, 123, "", "", 42, "next_value", &value), 0x70002b);
}

TEST_F(DbsDbForward, CommentAndLocaleListPassTheirArgumentsOn) {
  adp_double::reset();
  ASSERT_EQ(dbs_db_add_comment(nullptr, "Database %s converted", reinterpret_cast<long>("crm"), 0, 0, 0, 0), 0);
  auto calls = adp_double::calls_of("adp_db_add_comment");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].args, (std::vector<std::string>{"Database %s converted|crm"}));
  long* lcids = nullptr;
  char* const* names = dbs_db_get_lcid_charactersetname_list(&lcids);
  EXPECT_NE(names, nullptr);
  EXPECT_NE(lcids, nullptr);
  EXPECT_EQ(adp_double::calls_of("adp_db_get_lcid_charactersetname_list").size(), 1u);
}

}  // namespace
