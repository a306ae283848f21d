// The id cache: settings, block growth, reuse of listed numbers, negative
// numbering near the end of the range, the exhausted range and the return
// at logout.
#include <string>
#include <vector>

#include "core/osl/osl_sys_cfg.h"
#include "schema/typ_msg.h"
#include "schema/typ_sch.h"
#include "store/dbs_db.h"
#include "store/dbs_ids.h"
#include "store/dbs_msg.h"
#include "store/dbs_obj.h"
#include "store_fixture.h"

namespace {

class ids : public store_test {
 protected:
  void SetUp() override {
    store_test::SetUp();
    small_dictionary();
    load_model();
    adp_store::st().stored.db_rev = 15;
    ASSERT_EQ(dbs_db_find_header(nullptr), 0);
    osl_sys_set_config_string("ObjidCacheReuse", "", 0);
    osl_sys_set_config_string("REMOTE_ORB", "", 0);
  }
  void TearDown() override {
    osl_sys_set_config_string("ObjidCacheSize", "", 0);
    osl_sys_set_config_string("ObjidCacheReuse", "", 0);
    store_test::TearDown();
  }
  static long one(long type) {
    long n = 0;
    EXPECT_EQ(dbs_obj_ids_create(nullptr, 1, &type, &n), 0);
    return n;
  }
  // Counts asked of adp_obj_number_batch, in order.
  static std::vector<std::string> batches() {
    std::vector<std::string> out;
    for (const auto& c : adp_double::calls_of("adp_obj_number_batch")) out.push_back(c.args[1]);
    return out;
  }
};

}  // namespace

TEST_F(ids, CacheSizeSettings) {
  struct row {
    const char* value;
    const char* remote;
    long size;
  } rows[] = {{"-5", "", 128}, {"500", "", 128}, {"0", "", 0}, {"20", "", 20}, {"", "", 16}, {"", "host", 128}};
  for (const row& r : rows) {
    dbs_obj_ids_reset();
    osl_sys_set_config_string("ObjidCacheSize", r.value, 0);
    osl_sys_set_config_string("REMOTE_ORB", r.remote, 0);
    one(17);
    EXPECT_EQ(dbs_obj_ids_cache_size(), r.size) << r.value << "/" << r.remote;
  }
  // Size 0 reserves only what is asked and lists no unused numbers.
  dbs_obj_ids_reset();
  adp_double::reset();
  osl_sys_set_config_string("ObjidCacheSize", "0", 0);
  one(17);
  one(17);
  EXPECT_EQ(batches(), (std::vector<std::string>{"17:1 ", "17:1 "}));
  EXPECT_TRUE(adp_double::calls_of("adp_obj_atou_init").empty());
}

TEST_F(ids, BlocksGrowByHalfUpToTheCacheSize) {
  osl_sys_set_config_string("ObjidCacheSize", "16", 0);
  std::vector<long> got;
  for (int i = 0; i < 70; ++i) got.push_back(one(17));
  for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], static_cast<long>(i) + 1);
  // Each refill asks for one number plus the new block.
  EXPECT_EQ(batches(), (std::vector<std::string>{"17:5 ", "17:7 ", "17:10 ", "17:14 ", "17:17 ", "17:17 "}));
}

TEST_F(ids, RepeatedTypesInOneCallShareOneReservation) {
  long types[] = {17, 18, 17};
  long out[3] = {};
  ASSERT_EQ(dbs_obj_ids_create(nullptr, 3, types, out), 0);
  EXPECT_EQ(out[0] + 1, out[2]);
  EXPECT_EQ(batches(), (std::vector<std::string>{"17:6 18:5 "}));
}

TEST_F(ids, ListedNumbersAreReusedFirst) {
  adp_store::st().unused = {{17, 100, 3}, {17, 50, 2}};
  EXPECT_EQ(one(17), 51);
  EXPECT_EQ(one(17), 52);
  EXPECT_EQ(one(17), 101);
  EXPECT_EQ(one(17), 102);
  EXPECT_EQ(one(17), 103);
  EXPECT_TRUE(batches().empty());
  EXPECT_EQ(one(17), 1);  // the table is empty now: a new range
  EXPECT_EQ(batches().size(), 1u);
}

TEST_F(ids, ReuseOffBySettingOrOldDatabase) {
  adp_store::st().unused = {{17, 50, 2}};
  osl_sys_set_config_string("ObjidCacheReuse", "n", 0);
  EXPECT_EQ(one(17), 1);
  EXPECT_EQ(dbs_obj_ids_reuse(), 0);
}

TEST_F(ids, NegativeNumberingNearTheEndOfTheRange) {
  adp_store::st().counters[17] = 0x7fffffffL - 1000 - 5;
  long n = one(17);
  EXPECT_EQ(n, 0x7fffffffL - 1000 - 4);
  auto calls = adp_double::calls_of("adp_obj_set_negative_number");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].args[0], "17");
  EXPECT_EQ(calls[0].args[2], "1000");
  // Not on SQL Server, not with the Roamer flag.
  dbs_obj_ids_reset();
  adp_double::reset();
  adp_store::st().server_type = 1;
  adp_store::st().counters[18] = 0x7fffffffL - 100;
  one(18);
  EXPECT_TRUE(adp_double::calls_of("adp_obj_set_negative_number").empty());
}

TEST_F(ids, ExhaustedRangeIsRefused) {
  adp_store::st().counters[17] = -10;  // numbers -9 .. -5 reserved
  one(17);
  ASSERT_NE(dbs_obj_ids_bucket(17), nullptr);
  EXPECT_LT(dbs_obj_ids_bucket(17)->last_number, 0);
  long type = 17, n = 0;
  std::string out = store_stdout_of([&] { EXPECT_EQ(dbs_obj_ids_create(nullptr, 1, &type, &n), ADP_RANGE_USED_UP); });
  EXPECT_NE(out.find("Objid range is used up"), std::string::npos);
  EXPECT_EQ(core_top_alert_code(), ADP_RANGE_USED_UP);
}

TEST_F(ids, BucketsByTypeIdWhateverTheOrder) {
  one(17);
  // A type defined after the cache was made gets a bucket on first use.
  typ_sch_srec* s = nullptr;
  ASSERT_EQ(typ_sch_define_obj("late", 5, "", "", &s), 0);
  EXPECT_EQ(one(5), 1);
  long bad = 4242, n = 0;
  EXPECT_EQ(dbs_obj_ids_create(nullptr, 1, &bad, &n), TYP_NO_TYPE);
  // Any number of types in one call.
  for (long t = 1000; t < 1150; ++t) ASSERT_EQ(typ_sch_define_obj(("t" + std::to_string(t)).c_str(), t, "", "", &s), 0);
  std::vector<long> types, out(150);
  for (long t = 1000; t < 1150; ++t) types.push_back(t);
  ASSERT_EQ(dbs_obj_ids_create(nullptr, 150, types.data(), out.data()), 0);
  for (long v : out) EXPECT_EQ(v, 1);
}

TEST_F(ids, LogoutReturnsWhatIsLeft) {
  osl_sys_set_config_string("ObjidCacheSize", "16", 0);
  one(17);  // reserves 1..5, 4 left
  one(DBS_IDS_SPECIAL_B);
  ASSERT_EQ(dbs_db_logout(nullptr), 0);
  auto calls = adp_double::calls_of("adp_obj_return_cache");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].args[0], "17:1:4 ");
  EXPECT_EQ(adp_double::calls_of("adp_db_logout").size(), 1u);
  EXPECT_EQ(dbs_obj_ids_cache_size(), -1);  // freed
  // The next session takes the returned numbers first.
  EXPECT_EQ(one(17), 2);
}

TEST_F(ids, IdOfAnObjectCarriesTheSite) {
  adp_store::st().stored.site_id = 2;
  ASSERT_EQ(dbs_db_get_header(nullptr, nullptr), 0);
  dbs_ty_lobj* o = make(17);
  obj_id id{};
  ASSERT_EQ(dbs_obj_id_create(nullptr, o, &id), 0);
  EXPECT_EQ(id.type, 17);
  EXPECT_EQ(id.num, 0x20000001L);
  dbs_obj_free_local("test", o);
}
