// The community fetch on the rig: depths and their batches, messages,
// foreign keys, modes and batch sizes, each item's SQL, duplicates, level
// results, the SQL log, and the cached fetch.
#include <algorithm>
#include <string>
#include <vector>

#include "client/client_fixture.h"
#include "client/ost/ost_int.h"
#include "client/ost/ost_comm.h"
#include "client/ost/ost_msg.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_rel.h"
#include "client/ost/ost_state.h"
#include "core/osl/osl_sys_cfg.h"
#include "core/utl/utl_col.h"
#include "store/dbs_obj.h"

namespace {

class ost_comm_test : public client_test {
 protected:
  void SetUp() override {
    client_test::SetUp();
    ost_comm_reset_batch_size();
    osl_sys_set_config_string("MAX_PER_READ_BATCH", "", 0);
    seed(ACCOUNT, 1, "a1");
    seed(ACCOUNT, 2, "a2");
    for (long n : {10, 11, 12, 13}) seed(CONTACT, n, "c" + std::to_string(n));
    seed_fk(10, 1);
    seed_fk(11, 1);
    seed_fk(12, 2);
    seed(TAG, 30, "t30");
    seed(TAG, 31, "t31");
    seed_link(10, 30);
    seed_link(11, 30);
    seed_link(12, 31);
  }

  static ost_ty_trav_level rel_level(long rel, long from) { return {rel, from, 0, 0, nullptr, 0, nullptr, 0}; }
  static ost_ty_trav_level type_level(long type) { return {-1, -1, 0, 0, nullptr, 0, nullptr, type}; }

  // Names of a level's objects.
  static std::vector<std::string> level_names(const ost_ty_level_result& r) {
    std::vector<std::string> out;
    for (int i = 0; i < r.count; ++i) out.push_back(name_of(static_cast<dbs_ty_lobj*>(r.objects[i])));
    std::sort(out.begin(), out.end());
    return out;
  }
  static bool logged(const std::string& text) {
    const auto& log = adp_mem::sql_log();
    return std::find(log.begin(), log.end(), text) != log.end();
  }
};

TEST_F(ost_comm_test, TwoDepthsTwoBatchesOneHandleThroughTwoParents) {
  obj_id root{ACCOUNT, 1, 0};
  ost_ty_trav_level map[] = {rel_level(ACCOUNT2CONTACT, -1), rel_level(CONTACT2TAG, 0)};
  ost_ty_level_result res[2];
  utl_ty_col* out = nullptr;
  ASSERT_EQ(ost_rel_community(con(), nullptr, &root, 2, map, OST_REL_COMMUNE_GET_ALL_HNDLS, res, &out), 0);
  EXPECT_EQ(adp_mem::sql_executions(), 2);
  EXPECT_EQ(level_names(res[0]), (std::vector<std::string>{"c10", "c11"}));
  ASSERT_EQ(res[1].count, 2);
  EXPECT_EQ(res[1].objects[0], res[1].objects[1]);
  EXPECT_EQ(name_of(static_cast<dbs_ty_lobj*>(res[1].objects[0])), "t30");
  EXPECT_EQ(res[0].fetch_word1, 0);
  EXPECT_EQ(res[1].fetch_word1, 2);
  EXPECT_EQ(res[1].fetch_word2, 1);
  EXPECT_EQ(ost_col_count(out), 4);
  // The collection holds one tag twice: it is freed once.
  EXPECT_EQ(ost_rel_community_free_col("t", out), 0);
  auto lines = sql_lines();
  std::vector<std::string> want = {"\nSTART OF ost_rel_community", "STARTING top-level community batch",
                                   "EXECUTING community batch", "STARTING community batch level 2",
                                   "EXECUTING community batch", "FINISHED WITH ost_rel_community\n"};
  EXPECT_EQ(lines, want);
}

TEST_F(ost_comm_test, ForeignKeysReadFirstAndANullKeyQueriesNothing) {
  struct row {
    const char* what;
    long contact;
    long options;
    const char* key_call;
    std::vector<std::string> names;
  };
  for (const row& r : std::vector<row>{
           {"key through the store", 10, 0, "adp_obj_get_fk_cols_batch", {"a1"}},
           {"key through the adapter", 12, OST_COMM_FK_ADAPTER, "adp_obj_get_fk_cols", {"a2"}},
           {"null key", 13, 0, "adp_obj_get_fk_cols_batch", {}},
       }) {
    SCOPED_TRACE(r.what);
    adp_mem::clear_sql_log();
    obj_id root{CONTACT, r.contact, 0};
    ost_ty_trav_level map[] = {rel_level(CONTACT2ACCOUNT, -1)};
    ost_ty_level_result res[1];
    utl_ty_col* out = nullptr;
    const long before = calls(r.key_call);
    ASSERT_EQ(ost_rel_community(con(), nullptr, &root, 1, map, OST_REL_COMMUNE_GET_ALL_HNDLS | r.options, res, &out),
              0);
    EXPECT_EQ(calls(r.key_call), before + 1);
    EXPECT_EQ(level_names(res[0]), r.names);
    // The key gives the object by id: no relation query.
    EXPECT_EQ(adp_mem::sql_log().size(), r.names.size());
    if (!r.names.empty()) {
      EXPECT_TRUE(logged("get 20/" + std::string(r.contact == 10 ? "1" : "2")));
    }
    EXPECT_EQ(res[0].objects == nullptr, r.names.empty());
    ost_rel_community_free_col("t", out);
  }
}

TEST_F(ost_comm_test, BadMapsPrintTheirMessageAndReadNothing) {
  struct row {
    const char* what;
    std::vector<ost_ty_trav_level> map;
    long options;
    std::string message;
  };
  for (const row& r : std::vector<row>{
           {"cycle", {rel_level(0, 1), rel_level(0, 0)}, 1, "ost_rel_community: circular traversal map\n"},
           {"self", {rel_level(0, 0)}, 1, "ost_rel_community: circular traversal map\n"},
           {"from index", {rel_level(0, -1), rel_level(0, 5)}, 1, "ost_rel_community: invalid from_index 5\n"},
           {"no option 1", {rel_level(0, -1)}, 2,
            "ONLY OST_REL_COMMUNE_GET_ALL_HNDLS option is supported OST_REL_GET_COMMUNITY!\n"},
       }) {
    obj_id root{ACCOUNT, 1, 0};
    std::vector<ost_ty_level_result> res(r.map.size());
    utl_ty_col* out = reinterpret_cast<utl_ty_col*>(1);
    std::string printed = messages([&] {
      EXPECT_EQ(ost_rel_community(con(), nullptr, &root, static_cast<long>(r.map.size()), r.map.data(), r.options,
                                  res.data(), &out),
                1);
    });
    EXPECT_EQ(printed, r.message) << r.what;
    EXPECT_EQ(out, nullptr);
  }
  EXPECT_EQ(adp_mem::sql_executions(), 0);
  EXPECT_EQ(calls("adp_sql_batch_create"), 0);
}

TEST_F(ost_comm_test, EachItemsStatement) {
  ost_ty_trav_cond big{F_RANK, 1, 5};
  ost_ty_trav_cond by_id{0x1000003, 4, 12};
  ost_ty_trav_cond named{F_NAME, 6, reinterpret_cast<long>("a%")};
  ost_ty_trav_level map[] = {
      {-1, -1, 0, 1, &big, 0, nullptr, CONTACT},   // 0: contacts of rank >= 5
      {-1, -1, 0, 1, &by_id, 0, nullptr, CONTACT},  // 1: contact 12 by id
      {CONTACT2ACCOUNT, 1, 0, 1, &named, 0, nullptr, 0},  // 2: its account, by key, with a condition
      {CONTACT2TAG, 1, 0, 0, nullptr, 0, nullptr, 0},      // 3: its tags, through the link table
      {TAG, -1, OST_LVL_ONE_OBJECT, 0, nullptr, 0, nullptr, 31},  // 4: one tag by type and number
  };
  ost_ty_level_result res[5];
  utl_ty_col* out = nullptr;
  ASSERT_EQ(ost_rel_community(con(), nullptr, nullptr, 5, map, 1, res, &out), 0);
  std::vector<std::string> want = {"simple 21 [2 1]", "get 21/12", "get 22/31", "simple 20 [16777219 4] [1 6]",
                                   "related 21/12 rel 1"};
  EXPECT_EQ(adp_mem::sql_log(), want);
  EXPECT_EQ(res[0].count, 0);
  EXPECT_EQ(level_names(res[1]), (std::vector<std::string>{"c12"}));
  EXPECT_EQ(level_names(res[2]), (std::vector<std::string>{"a2"}));
  EXPECT_EQ(level_names(res[3]), (std::vector<std::string>{"t31"}));
  EXPECT_EQ(level_names(res[4]), (std::vector<std::string>{"t31"}));
  ost_rel_community_free_col("t", out);
}

TEST_F(ost_comm_test, ModesAndBatchSizes) {
  for (long n = 100; n < 200; ++n) seed(CONTACT, n, "bulk");
  struct row {
    const char* what;
    long server_type;
    long contacts;  // parents at depth 2
    const char* batch;
    long executions;  // at depth 2
  };
  for (const row& r : std::vector<row>{
           {"Oracle: key mode", 2, 104, "", 1},
           {"SQL Server: key mode", 516, 104, "", 1},
           {"bits 4 and 16 at 100: key mode", 20, 100, "", 1},
           {"bits 4 and 16 above 100: per item", 20, 101, "", 2},
           {"batch size 0 reads as 100", 20, 104, "0", 2},
           {"batch size -1 reads as 100", 20, 104, "-1", 2},
           {"batch size text reads as 100", 20, 104, "many", 2},
           {"batch size 30", 20, 104, "30", 4},
           {"bits 4 and 128 at 104: key mode", 132, 104, "", 1},
       }) {
    SCOPED_TRACE(r.what);
    adp_store::st().server_type = r.server_type;
    osl_sys_set_config_string("MAX_PER_READ_BATCH", r.batch, 0);
    ost_comm_reset_batch_size();
    // Depth 1: the contacts numbered below 100 + the count; depth 2: each one's account.
    ost_ty_trav_cond below{0x1000003, 2, 100 + r.contacts - 4};
    ost_ty_trav_level map[] = {{-1, -1, 0, 1, &below, 0, nullptr, CONTACT}, rel_level(CONTACT2ACCOUNT, 0)};
    ost_ty_level_result res[2];
    utl_ty_col* out = nullptr;
    const long before = adp_mem::sql_executions();
    ASSERT_EQ(ost_rel_community(con(), nullptr, nullptr, 2, map, 1, res, &out), 0);
    EXPECT_EQ(res[0].count, r.contacts);
    EXPECT_EQ(adp_mem::sql_executions() - before - 1, r.executions);
    EXPECT_EQ(level_names(res[1]), (std::vector<std::string>{"a1", "a1", "a2"}));
    ost_rel_community_free_col("t", out);
  }
}

TEST_F(ost_comm_test, TheLargeThresholdOfBitOne) {
  for (long n = 100; n < 1000; ++n) seed(CONTACT, n, "bulk");
  struct row {
    long server_type, contacts, executions;
  };
  for (const row& r : std::vector<row>{{1, 900, 1}, {1, 901, 10}, {132, 901, 10}, {516, 901, 1}}) {
    adp_store::st().server_type = r.server_type;
    ost_ty_trav_cond below{0x1000003, 2, 100 + r.contacts - 4};
    ost_ty_trav_level map[] = {{-1, -1, 0, 1, &below, 0, nullptr, CONTACT}, rel_level(CONTACT2ACCOUNT, 0)};
    ost_ty_level_result res[2];
    utl_ty_col* out = nullptr;
    const long before = adp_mem::sql_executions();
    ASSERT_EQ(ost_rel_community(con(), nullptr, nullptr, 2, map, 1, res, &out), 0);
    EXPECT_EQ(res[0].count, r.contacts);
    EXPECT_EQ(adp_mem::sql_executions() - before - 1, r.executions) << r.server_type << "/" << r.contacts;
    EXPECT_EQ(res[1].count, 3);
    ost_rel_community_free_col("t", out);
  }
}

TEST_F(ost_comm_test, FoundObjectsJoinTheStateMerged) {
  ost_ty_state* s = new_state();
  dbs_ty_lobj* held = read(CONTACT, 10);
  ASSERT_EQ(ost_obj_add_local(s, held, nullptr), 0);
  obj_id root{ACCOUNT, 1, 0};
  ost_ty_trav_level map[] = {rel_level(ACCOUNT2CONTACT, -1)};
  ost_ty_level_result res[1];
  utl_ty_col* out = nullptr;
  ASSERT_EQ(ost_rel_community(con(), s, &root, 1, map, 1 | OST_COMM_ROOT_ITEM, res, &out), 0);
  ASSERT_EQ(res[0].count, 2);
  EXPECT_TRUE(res[0].objects[0] == held || res[0].objects[1] == held);
  // The root and the other contact are the state's now.
  EXPECT_EQ(s->num_objects, 3);
  EXPECT_EQ(ost_col_count(out), 2);
  utl_col_free("t", out);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_comm_test, IdsOnlyLevelsNeedAnIdCollection) {
  obj_id root{ACCOUNT, 1, 0};
  ost_ty_trav_level map[] = {{ACCOUNT2CONTACT, -1, OST_LVL_IDS_ONLY, 0, nullptr, 0, nullptr, 0},
                             rel_level(CONTACT2ACCOUNT, 0)};
  ost_ty_level_result res[2];
  utl_ty_col* out = nullptr;
  EXPECT_EQ(ost_rel_community(con(), nullptr, &root, 2, map, 1, res, &out), OST_NULL_OBJID);
  EXPECT_EQ(core_top_alert_text(), "objid column is null.\n");
  utl_ty_col* ids = nullptr;
  ASSERT_EQ(utl_col_make("t", 594, 5, 5, 0, 0, &ids), 0);
  ASSERT_EQ(ost_rel_mixed_community(con(), nullptr, &root, 2, map, 1, res, &out, ids), 0);
  EXPECT_EQ(ost_col_count(ids), 2);
  EXPECT_EQ(res[0].count, 2);
  EXPECT_EQ(res[0].objects, nullptr);
  // The next depth starts from the ids.
  EXPECT_EQ(level_names(res[1]), (std::vector<std::string>{"a1", "a1"}));
  ost_rel_community_free_col("t", out);
  utl_col_free("t", ids);
}

TEST_F(ost_comm_test, CachedFetchAnsweredFromTheCache) {
  ost_ty_state* s = new_state();
  dbs_ty_lobj* a1 = read(ACCOUNT, 1);
  ASSERT_EQ(ost_obj_add_local(s, a1, nullptr), 0);
  for (long n : {10, 11}) {
    dbs_ty_lobj* c = read(CONTACT, n);
    ASSERT_EQ(ost_obj_add_local(s, c, nullptr), 0);
    obj_id from{ACCOUNT, 1, 0}, to{CONTACT, n, 0};
    ASSERT_EQ(ost_rel_perm_cache_one(s, &from, ACCOUNT2CONTACT, &to), 0);
  }
  ost_ty_trav_level map[] = {rel_level(ACCOUNT2CONTACT, -1)};
  ost_ty_level_result res[1];
  utl_ty_col* out = nullptr;
  std::string printed = messages([&] { ASSERT_EQ(ost_rel_community_cached(con(), s, a1, 1, map, 1, res, &out), 0); });
  EXPECT_EQ(printed, "top-level community roundtrip saved by using cache.\n");
  EXPECT_EQ(adp_mem::sql_executions(), 0);
  EXPECT_EQ(sql_lines(), (std::vector<std::string>{"\nSTART OF ost_rel_community_cached",
                                                   "FINISHED WITH ost_rel_community_cached\n"}));
  EXPECT_EQ(level_names(res[0]), (std::vector<std::string>{"c10", "c11"}));
  utl_col_free("t", out);
  // Without option 1 the cached fetch refuses.
  EXPECT_EQ(ost_rel_community_cached(con(), s, a1, 1, map, 2, res, &out), OST_ONLY_ALL_HNDLS);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_comm_test, CachedFetchHalfCachedQueriesTheRest) {
  ost_ty_state* s = new_state();
  for (long n : {10, 11}) {
    dbs_ty_lobj* c = read(CONTACT, n);
    ASSERT_EQ(ost_obj_add_local(s, c, nullptr), 0);
    obj_id from{ACCOUNT, 1, 0}, to{CONTACT, n, 0};
    ASSERT_EQ(ost_rel_perm_cache_one(s, &from, ACCOUNT2CONTACT, &to), 0);
  }
  // A cache entry whose object the state does not hold is no answer.
  obj_id a2{ACCOUNT, 2, 0}, c13{CONTACT, 13, 0};
  ASSERT_EQ(ost_rel_perm_cache_one(s, &a2, ACCOUNT2CONTACT, &c13), 0);
  ost_ty_trav_level map[] = {type_level(ACCOUNT), rel_level(ACCOUNT2CONTACT, 0)};
  ost_ty_level_result res[2];
  utl_ty_col* out = nullptr;
  ASSERT_EQ(ost_rel_community_cached(con(), s, nullptr, 2, map, 1, res, &out), 0);
  EXPECT_EQ(adp_mem::sql_executions(), 2);
  EXPECT_FALSE(logged("related 20/1 rel 0"));
  EXPECT_TRUE(logged("related 20/2 rel 0"));
  EXPECT_EQ(level_names(res[0]), (std::vector<std::string>{"a1", "a2"}));
  EXPECT_EQ(level_names(res[1]), (std::vector<std::string>{"c10", "c11", "c12"}));
  EXPECT_EQ(res[1].fetch_word1, 2);
  utl_col_free("t", out);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_comm_test, CachedFetchOfANewRootUsesThePendingRelates) {
  ost_ty_state* s = new_state();
  dbs_ty_lobj* root = nullptr;
  ASSERT_EQ(ost_obj_create("t", s, ACCOUNT, &root), 0);
  obj_id c12{CONTACT, 12, 0};
  ASSERT_EQ(ost_obj_relate_id_byhndl(s, root, &c12, ACCOUNT2CONTACT), 0);
  ost_ty_trav_level map[] = {rel_level(ACCOUNT2CONTACT, -1), rel_level(CONTACT2TAG, 0)};
  ost_ty_level_result res[2];
  utl_ty_col* out = nullptr;
  std::string printed = messages([&] {
    ASSERT_EQ(ost_rel_community_cached(con(), s, root, 2, map, 1 | OST_COMM_ROOT_ITEM, res, &out), 0);
  });
  EXPECT_EQ(printed, "top-level community roundtrip saved by using cache.\n");
  EXPECT_EQ(level_names(res[0]), (std::vector<std::string>{"c12"}));
  EXPECT_EQ(level_names(res[1]), (std::vector<std::string>{"t31"}));
  EXPECT_EQ(adp_mem::sql_executions(), 1);
  utl_col_free("t", out);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

}  // namespace
