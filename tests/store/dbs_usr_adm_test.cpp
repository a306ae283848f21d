// Database logins: privilege classes, decisions on existing logins and
// password changes by administrator and user on each server family.
#include <string>
#include <vector>

#include "core/utl/utl_col.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"
#include "store/dbs_qry.h"
#include "store/dbs_sch.h"
#include "store/dbs_usr.h"
#include "store/dbs_usr_adm.h"
#include "store_fixture.h"

namespace {

std::string scrambled(const char* text) {
  char out[31];
  Orbn_dbs_password_encrypt(text, out);
  return out;
}

using args = std::vector<std::string>;

std::vector<args> changes() {
  std::vector<args> out;
  for (const auto& c : adp_double::calls_of("adp_usr_change_password")) out.push_back(c.args);
  return out;
}

}  // namespace

TEST_F(store_test, PasswordChangesByAdministratorAndUser) {
  const std::string s_old = scrambled("old1"), s_new = scrambled("new1");
  struct row {
    const char* why;
    long server;
    const char* login;
    const char* user;
    std::vector<long> results;  // of the adapter's change calls
    long status;
    std::vector<args> calls;
    bool stored;  // the session's password becomes the new one
  } rows[] = {
      {"admin, other login, SQL Server", 1, "bob", "sa", {0}, 0, {{"bob", "old1", "new1"}}, false},
      {"admin, other login, 0x20 server", 0x20, "bob", "sa", {0}, 0, {{"bob", "repl", "new1"}}, false},
      {"admin, own password, SQL Server", 1, nullptr, "sa", {0}, 0, {{"null", "old1", "new1"}}, true},
      {"user, Oracle", 2, nullptr, "bob", {0}, 0, {{"bob", s_old, s_new}}, true},
      {"user, SQL Server", 1, nullptr, "bob", {0}, 0, {{"null", s_old, s_new}}, true},
      {"user, Oracle, refused", 2, nullptr, "bob", {0x600050}, 0x700029, {{"bob", s_old, s_new}}, false},
      {"user, 0x104 server, retried with the old password as typed", 4, nullptr, "bob", {0x600050, 0}, 0,
       {{"bob", s_old, s_new}, {"bob", "old1", s_new}}, true},
      {"user, 0x104 server, retry refused", 4, nullptr, "bob", {0x600050, 0x600050}, 0x700029,
       {{"bob", s_old, s_new}, {"bob", "old1", s_new}}, false},
      {"user, 0x104 server, given login", 0x100, "bob", "bob", {0}, 0, {{"bob", s_old, s_new}}, false},
  };
  for (const row& r : rows) {
    adp_double::reset();
    adp_store::st().server_type = r.server;
    adp_double::script("adp_usr_change_password", r.results);
    EXPECT_EQ(dbs_usr_change_password(nullptr, r.login, "old1", "new1", r.user, "repl"), r.status) << r.why;
    EXPECT_EQ(changes(), r.calls) << r.why;
    auto info = adp_double::calls_of("adp_db_info_set");
    EXPECT_EQ(info.size(), r.stored ? 1u : 0u) << r.why;
    if (r.stored && !info.empty()) {
      EXPECT_EQ(info[0].args[2], "new1") << r.why;
    }
  }
}

namespace {
long g_answer = 0;
long decide(KAdpConnId*, const char*, const char*, long, long* answer) {
  *answer = g_answer;
  return 0;
}
}  // namespace

TEST_F(store_test, LoginsWithPrivilegeClasses) {
  auto& st = adp_store::st();
  st.types = {{33, 2, "privclass"}};
  st.fields = {{"objid", 512, 0, 0, -1, -1, 0x11, 3, 0, 33, ""},
               {"class_name", 516, 3, 80, -1, -1, 0x1, -1, 1, 33, ""},
               {"access_mask", 512, 0, 0, -1, -1, 0x1, -1, 2, 33, ""}};
  st.rels.clear();
  st.server_type = 2;
  load_model();
  long classes = 1;
  auto answer_query = [&classes](const std::vector<void*>& a) {
    auto* desc = static_cast<dbs_ty_qry_desc*>(a[0]);
    EXPECT_EQ(desc->type_id, 33);
    EXPECT_STREQ(reinterpret_cast<const char*>(desc->conds[0].value), "Agents");
    for (long i = 0; i < classes; ++i) {
      dbs_ty_lobj* o = make(33);
      long mask = 77;
      dbs_fld_set(o, 2, &mask);
      utl_col_push(static_cast<utl_ty_col*>(a[1]), &o, nullptr);
    }
    return 0L;
  };
  char out = 9;
  struct row {
    long classes;
    char exists;
    long answer;
    long status;
    char out;
    bool deleted;
    bool created;
  } rows[] = {
      {0, 0, 0, 0x70001a, 9, false, false},  // none
      {2, 1, 0, 0x70001b, 9, false, false},  // duplicate: no login touched
      {1, 0, 0, 0, 0, false, true},          // new login
      {1, 1, 1, 0, 1, false, false},         // exists, kept
      {1, 1, 2, 0, 0, true, true},           // exists, replaced
      {1, 1, 3, 0, 0, false, true},          // exists, other answer goes on
  };
  for (const row& r : rows) {
    adp_double::reset();
    adp_double::hook("adp_qry_simple", answer_query);
    classes = r.classes;
    g_answer = r.answer;
    char exists = r.exists;
    adp_double::hook("adp_usr_login_exists", [exists](const std::vector<void*>& a) {
      *static_cast<char*>(a[0]) = exists;
      return 0L;
    });
    out = 9;
    EXPECT_EQ(dbs_usr_create_with_privilege(nullptr, "bob", "abc", 5, "Agents", 1, 2, decide, &out), r.status);
    EXPECT_EQ(out, r.out);
    EXPECT_EQ(adp_double::calls_of("adp_usr_login_delete").size(), r.deleted ? 1u : 0u);
    auto created = adp_double::calls_of("adp_usr_create");
    ASSERT_EQ(created.size(), r.created ? 1u : 0u);
    if (r.created) {
      EXPECT_EQ(created[0].args, (args{"bob", scrambled("abc"), "5", "77"}));
    }
    if (r.classes != 1) {
      EXPECT_TRUE(adp_double::calls_of("adp_usr_login_exists").empty());
    }
  }
}

TEST_F(store_test, LoginNamesOnTheSqlServerFamily) {
  adp_store::st().server_type = 1;
  EXPECT_EQ(dbs_usr_chk_login_name("bob"), 0);
  // A leading digit is refused (the object-name check already refuses it).
  EXPECT_NE(dbs_usr_chk_login_name("1bob"), 0);
  EXPECT_NE(dbs_usr_create(nullptr, "1bob", "abc", 0, 1, nullptr), 0);
  EXPECT_NE(dbs_usr_chk_login_name("bo b"), 0);
  EXPECT_TRUE(adp_double::calls_of("adp_usr_create").empty());
  ASSERT_EQ(dbs_usr_create(nullptr, "bob", "abc", 0, 1, nullptr), 0);
  EXPECT_EQ(adp_double::calls_of("adp_usr_create").size(), 1u);
}

TEST_F(store_test, SchemaSwitchesAndGroupsForward) {
  ASSERT_EQ(dbs_sch_set_comment_flag(), 0);
  ASSERT_EQ(dbs_sch_set_join_flag(), 0);
  adp_double::script("adp_usr_groups_create", {0x600011});
  EXPECT_EQ(dbs_usr_groups_create(nullptr, 3), 0x600011);
  std::vector<std::string> names;
  for (const auto& c : adp_double::calls()) names.push_back(c.name);
  EXPECT_EQ(names, (std::vector<std::string>{"adp_sch_set_comment_flag", "adp_sch_set_join_flag",
                                             "adp_usr_groups_create"}));
  const char* admin = nullptr;
  ASSERT_EQ(dbs_usr_admin_login_get(&admin), 0);
  EXPECT_STREQ(admin, "sa");
}
