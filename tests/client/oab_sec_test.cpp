// Row-level security on the rig: the set-up of a session, compiled
// restriction conditions, the rewriting of power and simple queries and
// the clean-up.
#include <string>
#include <vector>

#include "client/oab/oab_glb.h"
#include "client/oab/oab_main.h"
#include "client/oab/oab_msg.h"
#include "client/oab/oab_qry.h"
#include "client/oab/oab_sec.h"
#include "client/crm_rig.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "store/dbs_obj.h"
#include "store/dbs_pwr.h"
#include "store/dbs_qry.h"

namespace {

constexpr long kEq = 4;
constexpr long kLike = 6;
constexpr long kRegionNorth = 1;

class oab_sec_rw_test : public crm_test {
 protected:
  // Runs the power-query procedure on a list of site conditions.
  long secure(dbs_ty_pwr_cond* conds, long count, long and_flag, dbs_ty_pwr_list** out, char* rewritten) {
    query_ = dbs_ty_pwr_list{S_SITE, count, conds, and_flag, nullptr, 0};
    return oab_qry_secure_pwr_query(&query_, out, rewritten, 0);
  }
  // The ids an id query of view 88 finds, with the statuses on the way.
  long site_ids(dbs_ty_qry_cond* conds, long count, long join, std::vector<long>* ids) {
    utl_ty_col* col = nullptr;
    EXPECT_EQ(utl_col_make("test", CMN_TYP_LONG, 1, 10, 0, 0, &col), 0);
    dbs_ty_qry_desc desc{VIEW_SITE, count, conds, join};
    long st = dbs_qry_simple_for_id(con(), &desc, nullptr, nullptr, col);
    for (long i = 0; i < col->count; ++i) {
      void* e = nullptr;
      utl_col_ith(col, i, &e);
      ids->push_back(*static_cast<long*>(e));
    }
    utl_col_free("test", col);
    return st;
  }
  static std::vector<std::string> executed_sql() {
    std::vector<std::string> out;
    for (const auto& c : adp_double::calls_of("adp_pwr_qry_execute")) out.push_back(c.args[1]);
    return out;
  }
  dbs_ty_pwr_list query_{};
};

TEST_F(oab_sec_rw_test, WithoutTheDatabaseFlagNothingIsRewrittenAndTheFlagIsAskedAgain) {
  seed_session();
  restriction(1, S_SITE, OAB_SEC_USER, "region", "user2territory:name", "is equal to", 1);
  restriction(2, S_SITE, 0, "%s", "", "", 0);
  set_secure_flag(false);
  char on = 1;
  ASSERT_EQ(oab_qry_is_there_security(&on), 0);
  EXPECT_EQ(on, 0);
  dbs_ty_pwr_list* out = nullptr;
  char rewritten = 1;
  ASSERT_EQ(secure(nullptr, 0, 1, &out, &rewritten), 0);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(rewritten, 0);
  set_secure_flag(true);
  ASSERT_EQ(oab_qry_is_there_security(&on), 0);
  EXPECT_EQ(on, 1);
}

TEST_F(oab_sec_rw_test, APrivilegeClassWithoutRestrictionsRewritesNoQuery) {
  seed_session();
  char on = 1;
  ASSERT_EQ(oab_qry_is_there_security(&on), 0);
  EXPECT_EQ(on, 0);
  dbs_ty_pwr_list* out = nullptr;
  char rewritten = 1;
  dbs_ty_pwr_cond c{"name", kEq, "Main"};
  ASSERT_EQ(secure(&c, 1, 1, &out, &rewritten), 0);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(rewritten, 0);
  dbs_ty_qry_cond sc{SITE_NAME, kEq, reinterpret_cast<long>("Main")};
  std::vector<long> ids;
  ASSERT_EQ(site_ids(&sc, 1, 1, &ids), 0);
  EXPECT_EQ(calls("adp_qry_simple_for_id"), 1);  // run as it was asked
  EXPECT_EQ(calls("adp_pwr_qry_execute"), 0);
}

TEST_F(oab_sec_rw_test, SetUpFindsUserClassAndStartObjects) {
  seed_session();
  restriction(1, S_SITE, OAB_SEC_USER, "region", "user2territory:name", "is equal to", 1);
  char on = 0;
  ASSERT_EQ(oab_qry_is_there_security(&on), 0);
  EXPECT_EQ(on, 1);
  obj_id class_id{};
  ASSERT_EQ(oab_glb_main_get_variable(36, OAB_GLB_OID, &class_id), 0);
  EXPECT_EQ(class_id.type & OAB_TYPE_MASK, S_CLASS);
  EXPECT_EQ(class_id.num, 1);
  dbs_ty_lobj* user = nullptr;
  ASSERT_EQ(oab_glb_main_get_variable(OAB_GLB_USER, OAB_GLB_OBJ, &user), 0);
  ASSERT_NE(user, nullptr);
  EXPECT_EQ(number_of(user), 1);
  dbs_obj_free_local("test", user);
  const struct {
    long selector;
    long type;
    long number;  // 0: none
  } rows[] = {{OAB_SEC_USER, S_USER, 1}, {OAB_SEC_CONTACT, S_CONTACT, 1}, {OAB_SEC_SITE, S_SITE, 7},
              {OAB_SEC_EMPLOYEE, 0, 0}, {3, 0, 0}};
  for (const auto& r : rows) {
    dbs_ty_lobj* o = nullptr;
    ASSERT_EQ(oab_qry_startobj_byflag(r.selector, &o), 0);
    if (r.number == 0) {
      EXPECT_EQ(o, nullptr) << r.selector;
      continue;
    }
    ASSERT_NE(o, nullptr) << r.selector;
    obj_id id{};
    dbs_obj_oid_get(o, &id);
    EXPECT_EQ(id.type & OAB_TYPE_MASK, r.type) << r.selector;
    EXPECT_EQ(id.num, r.number) << r.selector;
  }
}

TEST_F(oab_sec_rw_test, WithAnEmployeeTheSiteIsTheEmployeesAndEveryStartObjectIsFreedOnce) {
  seed_session();
  restriction(1, S_SITE, OAB_SEC_SITE, "region", "region", "is equal to", 1);
  restriction(2, S_SITE, 0, "%s", "", "", 0);
  dbs_ty_lobj* employee = read(S_EMPLOYEE, 1);
  ASSERT_EQ(oab_glb_main_set_variable(35, OAB_GLB_OBJ, employee), 0);
  dbs_obj_free_local("test", employee);
  dbs_ty_pwr_list* out = nullptr;
  char rewritten = 0;
  ASSERT_EQ(secure(nullptr, 0, 1, &out, &rewritten), 0);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(conds_text(out), "region 4 south");
  oab_qry_dealloc_query(out, 0, 0);
  dbs_ty_lobj* site = nullptr;
  oab_qry_startobj_byflag(OAB_SEC_SITE, &site);
  ASSERT_NE(site, nullptr);
  EXPECT_EQ(number_of(site), 8);
  EXPECT_EQ(oab_qry_cleanup_secure_objs(), 0);  // the sanitizer sees any double free
  EXPECT_EQ(oab_qry_cleanup_secure_objs(), 0);
  oab_qry_startobj_byflag(OAB_SEC_EMPLOYEE, &site);
  EXPECT_EQ(site, nullptr);
}

TEST_F(oab_sec_rw_test, SeveralValuesBecomeInListsWithQuotesDoubled) {
  seed_session();
  const struct {
    const char* op;
    long expected;
  } rows[] = {{"is equal to", OAB_PQ_IN}, {"is not equal to", OAB_PQ_NOT_IN}};
  for (const auto& r : rows) {
    oab_qry_cleanup_secure_objs();
    adp_mem::reset();
    switch_database_on();
    seed_session();
    restriction(1, S_SITE, OAB_SEC_USER, "region", "user2territory:name", r.op, 1);
    restriction(2, S_SITE, 0, "%s", "", "", 0);
    dbs_ty_pwr_list* out = nullptr;
    char rewritten = 0;
    ASSERT_EQ(secure(nullptr, 0, 1, &out, &rewritten), 0) << r.op;
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(rewritten, 1);
    ASSERT_EQ(out->count, 1);
    EXPECT_STREQ(out->conds[0].field, "region");
    EXPECT_EQ(out->conds[0].op, r.expected) << r.op;
    EXPECT_STREQ(out->conds[0].value, "('north','south','o''east')");
    EXPECT_STREQ(out->pattern, " (%s)");
    EXPECT_EQ(out->pattern_count, 0);
    oab_qry_dealloc_query(out, 0, 0);
  }
}

TEST_F(oab_sec_rw_test, OneValueKeepsItsOperatorWithPrefixAndSuffix) {
  seed_session();
  restriction(1, S_SITE, OAB_SEC_USER, "name", "login_name", "starts with", 1, "X-", "-Y");
  restriction(2, S_SITE, 0, "%s", "", "", 0);
  dbs_ty_pwr_list* out = nullptr;
  char rewritten = 0;
  ASSERT_EQ(secure(nullptr, 0, 1, &out, &rewritten), 0);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(conds_text(out), "name 6 X-user1-Y");
  oab_qry_dealloc_query(out, 0, 0);
}

TEST_F(oab_sec_rw_test, OwnConditionsJoinedByOrAreKeptInsideTheRestriction) {
  seed_session();
  restriction(1, S_SITE, OAB_SEC_SITE, "region", "region", "is equal to", 1);
  restriction(2, S_SITE, 0, "%s", "", "", 0);
  dbs_ty_pwr_cond own[] = {{"name", kEq, "Main"}, {"name", kEq, "Branch"}};
  dbs_ty_pwr_list* out = nullptr;
  char rewritten = 0;
  ASSERT_EQ(secure(own, 2, 0, &out, &rewritten), 0);
  ASSERT_NE(out, nullptr);
  EXPECT_STREQ(out->pattern, "( %s OR %s ) AND (%s)");
  EXPECT_EQ(conds_text(out), "name 4 Main|name 4 Branch|region 4 north");
  EXPECT_EQ(out->pattern_count, 2);
  EXPECT_EQ(out->and_flag, 1);
  oab_qry_dealloc_query(out, 0, 0);
  // A caller's own format is kept as it stands.
  query_.pattern = const_cast<char*>("%s AND NOT %s");
  ASSERT_EQ(oab_qry_secure_pwr_query(&query_, &out, &rewritten, 0), 0);
  EXPECT_STREQ(out->pattern, "( %s AND NOT %s ) AND (%s)");
  oab_qry_dealloc_query(out, 0, 0);
}

TEST_F(oab_sec_rw_test, OnlyTextRestrictionsNarrowPowerQueriesButNotSimpleOnes) {
  seed_session();
  restriction(1, S_SITE, 0, "1 = 0", "", "", 0);
  dbs_ty_pwr_cond own{"name", kEq, "Main"};
  dbs_ty_pwr_list* out = nullptr;
  char rewritten = 0;
  ASSERT_EQ(secure(&own, 1, 1, &out, &rewritten), 0);
  ASSERT_NE(out, nullptr);
  EXPECT_STREQ(out->pattern, "( %s ) AND (1 = 0)");
  EXPECT_EQ(out->count, 1);
  oab_qry_dealloc_query(out, 0, 0);
  dbs_ty_qry_cond sc{SITE_NAME, kEq, reinterpret_cast<long>("Main")};
  std::vector<long> ids;
  ASSERT_EQ(site_ids(&sc, 1, 1, &ids), 0);
  EXPECT_EQ(calls("adp_qry_simple_for_id"), 1);  // run as it was asked
  EXPECT_EQ(calls("adp_pwr_qry_execute"), 0);
}

TEST_F(oab_sec_rw_test, InvalidRestrictionsFailTheQueryWithTheTypesName) {
  const struct {
    const char* what;
    const char* path;
    const char* value_path;
    long selector;
    const char* op;
    long is_cond;
    bool with_text;
  } rows[] = {
      {"empty path", "", "login_name", OAB_SEC_USER, "is equal to", 1, true},
      {"path to a long field", "type", "login_name", OAB_SEC_USER, "is equal to", 1, true},
      {"unknown path", "nowhere", "login_name", OAB_SEC_USER, "is equal to", 1, true},
      {"value path on a missing start object", "name", "name", OAB_SEC_EMPLOYEE, "is equal to", 1, true},
      {"value path to nothing", "name", "nothing", OAB_SEC_USER, "is equal to", 1, true},
      {"operator not for texts", "name", "login_name", OAB_SEC_USER, "no such operator", 1, true},
      {"empty text restriction", "", "", 0, "", 0, false},
      {"condition without a text restriction", "name", "login_name", OAB_SEC_USER, "is equal to", 1, false},
  };
  for (const auto& r : rows) {
    oab_qry_cleanup_secure_objs();
    adp_mem::reset();
    switch_database_on();
    seed_session();
    restriction(1, S_SITE, r.selector, r.path, r.value_path, r.op, r.is_cond);
    if (r.with_text) restriction(2, S_SITE, 0, "%s", "", "", 0);
    cmn_alrt_clear(nullptr);
    dbs_ty_pwr_list* out = nullptr;
    char rewritten = 0;
    EXPECT_EQ(secure(nullptr, 0, 1, &out, &rewritten), OAB_BAD_RESTRICTION) << r.what;
    EXPECT_EQ(out, nullptr) << r.what;
    std::string text;
    EXPECT_EQ(top_code(&text), OAB_BAD_RESTRICTION) << r.what;
    EXPECT_NE(text.find("'site'"), std::string::npos) << r.what << ": " << text;
  }
}

TEST_F(oab_sec_rw_test, ASecuredSimpleQueryRunsAsAPowerQuery) {
  seed_session();
  render_power_queries();
  restriction(1, S_SITE, OAB_SEC_SITE, "region", "region", "is equal to", 1);
  restriction(2, S_SITE, 0, "%s", "", "", 0);
  dbs_ty_qry_cond sc[] = {{SITE_NAME, kLike, reinterpret_cast<long>("Ma%")},
                          {SITE_TYPE, kEq, 3}};
  std::vector<long> ids;
  ASSERT_EQ(site_ids(sc, 2, 1, &ids), 0);
  EXPECT_EQ(calls("adp_qry_simple_for_id"), 0);
  EXPECT_EQ(executed_sql(),
            std::vector<std::string>{"52|( %s AND %s  ) AND (%s)|name 6 Ma|type 4 3|region 4 north"});
  // Joined by OR, the query keeps its join inside the restriction.
  ASSERT_EQ(site_ids(sc, 2, 0, &ids), 0);
  ASSERT_EQ(executed_sql().size(), 2u);
  EXPECT_EQ(executed_sql()[1], "52|( %s OR %s  ) AND (%s)|name 6 Ma|type 4 3|region 4 north");
}

TEST_F(oab_sec_rw_test, ASimpleConditionThatCannotBeCarriedOverFailsTheQuery) {
  seed_session();
  render_power_queries();
  restriction(1, S_SITE, OAB_SEC_SITE, "region", "region", "is equal to", 1);
  restriction(2, S_SITE, 0, "%s", "", "", 0);
  const struct {
    const char* what;
    dbs_ty_qry_cond cond;
  } rows[] = {{"field without a resolvable path", {4, kEq, reinterpret_cast<long>("x")}},
              {"field without a path", {77, kEq, 1}},
              {"operator left out", {SITE_NAME, 9, reinterpret_cast<long>("x")}},
              {"text field without a value", {SITE_NAME, kEq, 0}}};
  for (const auto& r : rows) {
    cmn_alrt_clear(nullptr);
    dbs_ty_qry_cond c = r.cond;
    std::vector<long> ids;
    EXPECT_EQ(site_ids(&c, 1, 1, &ids), OAB_BAD_RESTRICTION) << r.what;
    std::string text;
    EXPECT_EQ(top_code(&text), OAB_BAD_RESTRICTION) << r.what;
    EXPECT_NE(text.find("'site'"), std::string::npos) << r.what;
  }
  EXPECT_EQ(calls("adp_pwr_qry_execute"), 0);
  EXPECT_EQ(calls("adp_qry_simple_for_id"), 0);
}

TEST_F(oab_sec_rw_test, AFailedSetUpLeavesNothingAndIsTriedAgain) {
  seed_session();
  restriction(1, S_SITE, OAB_SEC_SITE, "region", "region", "is equal to", 1);
  restriction(2, S_SITE, 0, "%s", "", "", 0);
  adp_double::fail_from("adp_qry_relation", 1, DEADLOCK);
  char on = 0;
  EXPECT_EQ(oab_qry_is_there_security(&on), DEADLOCK);
  EXPECT_EQ(on, 0);
  dbs_ty_lobj* o = nullptr;
  oab_qry_startobj_byflag(OAB_SEC_USER, &o);
  EXPECT_EQ(o, nullptr);
  adp_double::fail_from("adp_qry_relation", 1000, DEADLOCK);  // no more failures
  cmn_alrt_clear(nullptr);
  ASSERT_EQ(oab_qry_is_there_security(&on), 0);
  EXPECT_EQ(on, 1);
  oab_qry_startobj_byflag(OAB_SEC_USER, &o);
  EXPECT_NE(o, nullptr);
}

TEST_F(oab_sec_rw_test, TheAlternateUserComesFromTheUsersField27) {
  row(S_USER, 4, {{1, std::string("dan")}, {27, std::string("dan_alt")}});
  obj_id id{S_USER, 4, 0};
  ASSERT_EQ(oab_glb_main_set_variable(OAB_GLB_USER_ID, OAB_GLB_OID, &id), 0);
  ASSERT_EQ(oab_glb_set_altuser(), 0);
  char* text = nullptr;
  ASSERT_EQ(oab_glb_main_get_variable(OAB_GLB_ALT_USER, OAB_GLB_TEXT, &text), 0);
  EXPECT_STREQ(text, "dan_alt");
  // No user id, or a user that does not exist: the global stays.
  for (long number : {0L, 9L}) {
    obj_id other = number != 0 ? obj_id{S_USER, number, 0} : obj_id{};
    ASSERT_EQ(oab_glb_main_set_variable(OAB_GLB_USER_ID, OAB_GLB_OID, &other), 0);
    ASSERT_EQ(oab_glb_set_altuser(), 0);
    ASSERT_EQ(oab_glb_main_get_variable(OAB_GLB_ALT_USER, OAB_GLB_TEXT, &text), 0);
    EXPECT_STREQ(text, "dan_alt") << number;
  }
  // A user with an empty field 27 empties it.
  row(S_USER, 5, {{1, std::string("eve")}});
  id.num = 5;
  ASSERT_EQ(oab_glb_main_set_variable(OAB_GLB_USER_ID, OAB_GLB_OID, &id), 0);
  ASSERT_EQ(oab_glb_set_altuser(), 0);
  ASSERT_EQ(oab_glb_main_get_variable(OAB_GLB_ALT_USER, OAB_GLB_TEXT, &text), 0);
  EXPECT_STREQ(text, "");
}

}  // namespace
