// SQL Server object ids through the scripted service: the id record of each
// procedure call in type order, the ids in their requests' slots, the used-up
// range (-100), a type without a counter, the two types whose counter row is
// made on first use, and the creation of the id procedure.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_script_answers.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "core/core_fixture.h"
#include "core/osl/osl_print.h"
#include "platform/dataservice/ds_script.h"

namespace {

constexpr long kRoamerFlag = 32;

class AdpIdsMssql : public adp_test {
 protected:
  void SetUp() override {
    adp_test::SetUp();
    con_ = connect("oledb");
    op_ = con_->GetDbOperation();
    header(0, 0);
    ds_script::reset();
  }
  void TearDown() override {
    adp_db_set_head_read(0);
    adp_test::TearDown();
  }
  // A header already read, with its site and flags.
  static void header(long site, long flags) {
    adp_db_set_head_read(1);
    adp_db_set_site_id(site);
    adp_db_set_flags(flags);
  }
  // The calls of the given kind, without their prefix.
  static std::vector<std::string> calls_of(const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& c : ds_script::calls())
      if (c.rfind(prefix, 0) == 0) out.push_back(c.substr(prefix.size()));
    return out;
  }
  long batch(std::vector<long> types, std::vector<long> counts, std::vector<long>* last) {
    last->assign(types.size(), -7);
    return op_->ObjNumberBatch(static_cast<long>(types.size()), types.data(), last->data(), counts.data());
  }

  KAdpConnId* con_ = nullptr;
  KAdpDbOperation* op_ = nullptr;
};

TEST_F(AdpIdsMssql, OneCallPerTypeInTypeOrderEachResultInItsSlot) {
  ds_script::push_ids({320, 530, 710});
  std::vector<long> last;
  ASSERT_EQ(batch({7, 3, 5}, {10, 20, 30}, &last), 0);
  EXPECT_EQ(calls_of("ObjidRequest "), (std::vector<std::string>{"3 20 0 0", "5 30 0 0", "7 10 0 0"}));
  EXPECT_EQ(last, (std::vector<long>{710, 320, 530}));
  EXPECT_EQ(adp_script_sent(), std::vector<std::string>{});

  // Equal type ids are served last-first; site and roaming reach the record.
  ds_script::reset();
  header(4, kRoamerFlag);
  ds_script::push_ids({12, 13});
  ASSERT_EQ(batch({5, 5}, {1, 2}, &last), 0);
  EXPECT_EQ(calls_of("ObjidRequest "), (std::vector<std::string>{"5 2 4 1", "5 1 4 1"}));
  EXPECT_EQ(last, (std::vector<long>{13, 12}));
}

TEST_F(AdpIdsMssql, NoRequestOrNoHeaderSendsNothing) {
  std::vector<long> last;
  EXPECT_EQ(batch({}, {}, &last), 0);
  adp_db_set_head_read(0);
  EXPECT_EQ(batch({3}, {1}, &last), 1);  // the header is not read yet
  EXPECT_EQ(core_num_alerts(), 0);
  EXPECT_EQ(ds_script::count("GenerateObjids"), 0);
  EXPECT_EQ(last, std::vector<long>{-7});
}

TEST_F(AdpIdsMssql, UsedUpRangeStopsAndKeepsTheIdsServedBefore) {
  core_msg_capture msgs;
  ASSERT_TRUE(msgs.start());
  osl_print_set_msg_mode(1);
  ds_script::push_ids({500, -100, 900});
  std::vector<long> last;
  EXPECT_EQ(batch({9, 3, 7}, {5, 5, 5}, &last), ADP_ID_RANGE_USED_UP);
  EXPECT_EQ(last, (std::vector<long>{-7, 500, -7}));
  EXPECT_EQ(calls_of("ObjidRequest ").size(), 2u);  // type 9 is not asked
  EXPECT_EQ(core_top_alert_code(), ADP_ID_RANGE_USED_UP);
  EXPECT_NE(core_top_alert_text().find("7"), std::string::npos) << core_top_alert_text();
  EXPECT_EQ(msgs.text(), "ERROR: Cannot generate new object ID's for Object type 7 as Objid range is used up.\n");
}

TEST_F(AdpIdsMssql, TypeWithoutCounterRowFailsNamingIt) {
  ds_script::push_ids({40});
  std::vector<long> last;
  EXPECT_EQ(batch({4, 8}, {1, 1}, &last), ADP_BAD_VALUE_TYPE);
  EXPECT_EQ(last, (std::vector<long>{40, -7}));
  EXPECT_EQ(core_top_alert_code(), ADP_BAD_VALUE_TYPE);
  EXPECT_NE(core_top_alert_text().find("8"), std::string::npos) << core_top_alert_text();
  EXPECT_EQ(adp_script_sent(), std::vector<std::string>{});  // no row is made for an ordinary type
}

TEST_F(AdpIdsMssql, TheTwoFirstUseTypesGetTheirCounterRow) {
  for (long type : {100000001L, 100000002L}) {
    ds_script::reset();
    // The first call gives no value; after the row is made the second does.
    ds_script::push_ids({ds_script::kNoId, 3});
    std::vector<long> last;
    ASSERT_EQ(batch({type}, {3}, &last), 0);
    EXPECT_EQ(last, std::vector<long>{3});
    std::vector<std::string> s = adp_script_sent();
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0], "insert into adp_tbl_oid (type_id, obj_num) values (" + std::to_string(type) + ", 0)");
    EXPECT_EQ(calls_of("ObjidRequest ").size(), 2u);
  }
  // A value at once: no row is made.
  ds_script::reset();
  ds_script::push_ids({3});
  std::vector<long> last;
  ASSERT_EQ(batch({100000002}, {3}, &last), 0);
  EXPECT_EQ(last, std::vector<long>{3});
  EXPECT_EQ(adp_script_sent(), std::vector<std::string>{});
  // Still no value after the row is made: the type fails.
  ds_script::reset();
  ds_script::push_ids({ds_script::kNoId, ds_script::kNoId});
  EXPECT_EQ(batch({100000001}, {3}, &last), ADP_BAD_VALUE_TYPE);
}

TEST_F(AdpIdsMssql, IdProcedureIsDroppedWhenPresentThenCreatedAndGranted) {
  const std::string text = op_->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(48));
  ds_script::push_result(adp_script_answers::found("csp_new_objectid"));
  ASSERT_EQ(op_->StpCreateNewProc(), 0);
  EXPECT_EQ(adp_script_sent(), (std::vector<std::string>{"select name from sysobjects where name='csp_new_objectid'",
                                              "drop proc csp_new_objectid", text,
                                              "grant EXEC on csp_new_objectid to PUBLIC"}));
  ds_script::reset();
  ds_script::push_result(adp_script_answers::none());
  ASSERT_EQ(op_->StpCreateNewProc(), 0);
  EXPECT_EQ(adp_script_sent(), (std::vector<std::string>{"select name from sysobjects where name='csp_new_objectid'", text,
                                              "grant EXEC on csp_new_objectid to PUBLIC"}));
}

TEST_F(AdpIdsMssql, IdProcedureFailuresPrintTheirMessage) {
  core_msg_capture msgs;
  ASSERT_TRUE(msgs.start());
  osl_print_set_msg_mode(1);
  const struct {
    long nth;  // which statement fails (the first is the look-up)
    const char* message;
  } rows[] = {{2, "Could not create new object id stored proc!\n"},
              {3, "Cannot grant execute permission on new object id stored proc\n"}};
  for (const auto& r : rows) {
    ds_script::reset();
    ASSERT_TRUE(msgs.restart());
    ds_script::push_result(adp_script_answers::none());
    ds_script::fail({"FetchNextSet", r.nth, 2812, "no permission", "refused"});
    EXPECT_NE(op_->StpCreateNewProc(), 0) << r.nth;
    EXPECT_EQ(msgs.text(), r.message);
  }
}

}  // namespace
