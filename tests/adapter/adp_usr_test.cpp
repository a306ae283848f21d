// Logins, database users, groups, grants and passwords by exact text through
// the scripted service on both dialects: nothing runs unless the system
// manages database users, names that are not plain are refused before any
// statement, refused login statements report 0x60002E alone, and the logs
// show passwords as "****".
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "adapter/adp_err.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_obj.h"
#include "adapter/adp_script_answers.h"
#include "adapter/adp_sql_log.h"
#include "adapter/adp_usr.h"
#include "core/core_fixture.h"
#include "platform/dataservice/ds_script.h"

namespace {

using ds_script::cell;
using texts = std::vector<std::string>;

constexpr long kManaged = 5;
constexpr long kRefused = 0x8B0014F;

// One prepared answer per statement, in order: a row of the text, no row, or
// a statement's empty result.
using adp_script_answers::found;
using adp_script_answers::none;
ds_script::result done() { return {}; }

class AdpUsr : public adp_test {
 protected:
  void TearDown() override {
    adp_usr_group_exist_forget();
    adp_test::TearDown();
  }
  KAdpConnId* open(const char* driver, bool managed = true) {
    adp_usr_group_exist_forget();
    KAdpConnId* con = connect(driver);
    con->GetConfig().SetPropertyBool(static_cast<KAdpConfig::bool_type>(kManaged), managed ? 1 : 0);
    std::strcpy(con->GetHeader()->db_name, "crm");
    ds_script::reset();
    return con;
  }
  static void answers(const std::vector<ds_script::result>& results) {
    for (const auto& r : results) ds_script::push_result(r);
  }
};

TEST_F(AdpUsr, WithoutManagedUsersEveryCallSucceedsWithoutAStatement) {
  for (const char* driver : {"oledb", "oracle"}) {
    SCOPED_TRACE(driver);
    KAdpConnId* con = open(driver, false);
    char found = 7;
    EXPECT_EQ(adp_usr_login_exists(con, "bob", 0, &found), 0);
    EXPECT_EQ(found, 0);
    EXPECT_EQ(adp_usr_dbuser_name_exist(con, "bob", &found), 0);
    EXPECT_EQ(found, 1);
    EXPECT_EQ(adp_usr_group_name_exist(con, "orb_user", &found), 0);
    EXPECT_EQ(found, 1);
    char failed = 7;
    EXPECT_EQ(adp_usr_create(con, "bob", "pw", 0, 1, &failed), 0);
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(adp_usr_login_create(con, "bob", "pw"), 0);
    EXPECT_EQ(adp_usr_login_delete(con, "bob", 0), 0);
    EXPECT_EQ(adp_usr_dbuser_create(con, "bob", "crm", 0), 0);
    EXPECT_EQ(adp_usr_groups_create(con, 0), 0);
    EXPECT_EQ(adp_usr_permission_grant(con, "orb_user", 0), 0);
    EXPECT_EQ(adp_usr_change_password(con, "bob", "old", "new"), 0);
    EXPECT_EQ(adp_script_sent(), texts{});
  }
}

TEST_F(AdpUsr, SqlServerLoginsAndUsers) {
  const struct {
    const char* what;
    std::vector<ds_script::result> answers;
    long (*call)(KAdpConnId*);
    long result;
    texts sent;
  } rows[] = {
      {"new login, quotes doubled",
       {none()},
       [](KAdpConnId* c) { return adp_usr_login_create(c, "bob", "it's"); },
       0,
       {"select name from master..syslogins where name = 'bob'", "sp_addlogin 'bob', 'it''s'"}},
      {"login there already",
       {found("bob")},
       [](KAdpConnId* c) { return adp_usr_login_create(c, "bob", "pw"); },
       0,
       {"select name from master..syslogins where name = 'bob'"}},
      {"login removed",
       {found("bob")},
       [](KAdpConnId* c) { return adp_usr_login_delete(c, "bob", 9); },
       0,
       {"select name from master..syslogins where name = 'bob'", "sp_droplogin 'bob'"}},
      {"no login to remove",
       {none()},
       [](KAdpConnId* c) { return adp_usr_login_delete(c, "bob", 0); },
       0,
       {"select name from master..syslogins where name = 'bob'"}},
      {"database user in a group, then back to the own database",
       {found("bob"), none()},
       [](KAdpConnId* c) { return adp_usr_dbuser_create(c, "bob", "sales", 1); },
       0,
       {"select name from master..syslogins where name = 'bob'",
        "select name from sysusers where name = 'bob' and uid != gid", "use sales",
        "sp_adduser 'bob', 'bob', 'administrator'", "use crm"}},
      {"database user there already",
       {found("bob"), found("bob")},
       [](KAdpConnId* c) { return adp_usr_dbuser_create(c, "bob", "sales", 0); },
       0,
       {"select name from master..syslogins where name = 'bob'",
        "select name from sysusers where name = 'bob' and uid != gid"}},
      {"database user without a login",
       {none()},
       [](KAdpConnId* c) { return adp_usr_dbuser_create(c, "bob", "sales", 0); },
       ADP_NO_LOGIN,
       {"select name from master..syslogins where name = 'bob'"}},
      {"login and user in the header's database with the privilege's group",
       {none(), done(), found("bob"), none()},
       [](KAdpConnId* c) { return adp_usr_create(c, "bob", "pw", 0, 2, nullptr); },
       0,
       {"select name from master..syslogins where name = 'bob'", "sp_addlogin 'bob', 'pw'",
        "select name from master..syslogins where name = 'bob'",
        "select name from sysusers where name = 'bob' and uid != gid", "use crm",
        "sp_adduser 'bob', 'bob', 'reporter'", "use crm"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    KAdpConnId* con = open("oledb");
    answers(r.answers);
    EXPECT_EQ(r.call(con), r.result);
    EXPECT_EQ(adp_script_sent(), r.sent);
    // A missing login is answered, not pushed.
    EXPECT_TRUE(core_alert_codes().empty());
  }
}

TEST_F(AdpUsr, SqlServerRefusedLoginStatementsReportOneAlert) {
  const struct {
    const char* what;
    long nth;  // the failing statement
    std::vector<ds_script::result> answers;
    long (*call)(KAdpConnId*);
    size_t sent;
  } rows[] = {
      {"sp_addlogin", 2, {none()}, [](KAdpConnId* c) { return adp_usr_login_create(c, "bob", "pw"); }, 2},
      {"sp_droplogin", 2, {found("bob")}, [](KAdpConnId* c) { return adp_usr_login_delete(c, "bob", 0); }, 2},
      // The own database is taken up again after the refusal.
      {"sp_adduser", 4, {found("bob"), none()},
       [](KAdpConnId* c) { return adp_usr_dbuser_create(c, "bob", "sales", 0); }, 5},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    KAdpConnId* con = open("oledb");
    answers(r.answers);
    ds_script::fail({"FetchNextSet", r.nth, kRefused, "refused", r.what});
    cmn_alrt_clear(nullptr);
    EXPECT_EQ(r.call(con), ADP_LOGIN_FAIL);
    EXPECT_EQ(core_alert_codes(), std::vector<long>{ADP_LOGIN_FAIL});
    EXPECT_EQ(adp_script_sent().size(), r.sent);
  }
}

TEST_F(AdpUsr, AFailedLoginSetsTheFailedFlagAndMakesNoUser) {
  KAdpConnId* con = open("oledb");
  answers({none()});
  ds_script::fail({"FetchNextSet", 2, kRefused, "refused", "sp_addlogin"});
  char failed = 0;
  EXPECT_EQ(adp_usr_create(con, "bob", "pw", 0, 0, &failed), ADP_LOGIN_FAIL);
  EXPECT_EQ(failed, 1);
  EXPECT_EQ(adp_script_sent(),
            (texts{"select name from master..syslogins where name = 'bob'", "sp_addlogin 'bob', 'pw'"}));
}

TEST_F(AdpUsr, SqlServerPasswordForms) {
  const struct {
    const char* account;
    const char* old_password;
    const char* sent;
  } rows[] = {
      {"bob", "o'ld", "sp_password 'o''ld', 'n''ew', 'bob'"},
      {"bob", "", "sp_password NULL, 'n''ew', 'bob'"},
      {"bob", nullptr, "sp_password NULL, 'n''ew', 'bob'"},
      {"sa", "o'ld", "sp_password 'o''ld', 'n''ew'"},  // the connected login
      {nullptr, "o'ld", "sp_password 'o''ld', 'n''ew'"},
      {nullptr, "", "sp_password NULL, 'n''ew'"},
      {"", "", "sp_password NULL, 'n''ew'"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.sent);
    KAdpConnId* con = open("oledb");
    EXPECT_EQ(adp_usr_change_password(con, r.account, r.old_password, "n'ew"), 0);
    EXPECT_EQ(adp_script_sent(), texts{r.sent});
  }
}

TEST_F(AdpUsr, OracleLoginsUsersAndPasswords) {
  const struct {
    const char* what;
    std::vector<ds_script::result> answers;
    bool tablespaces_fail;
    long (*call)(KAdpConnId*);
    texts sent;
  } rows[] = {
      {"new login with the tablespaces of sa",
       {none(), done(), {{"default_tablespace", "temporary_tablespace"}, {{cell::t("DATA1"), cell::t("TMP1")}}}},
       false,
       [](KAdpConnId* c) { return adp_usr_login_create(c, "bob", "p'w"); },
       {"select username from all_users where username = upper('bob')",
        "grant connect to bob identified by \"p'w\"",
        "select default_tablespace, temporary_tablespace from dba_users where username = upper('sa')",
        "alter user bob default tablespace DATA1       temporary tablespace TMP1"}},
      {"sa's tablespaces unreadable",
       {none(), done()},
       true,
       [](KAdpConnId* c) { return adp_usr_login_create(c, "bob", "pw"); },
       {"select username from all_users where username = upper('bob')",
        "grant connect to bob identified by \"pw\"",
        "select default_tablespace, temporary_tablespace from dba_users where username = upper('sa')",
        "alter user bob default tablespace users       temporary tablespace temp"}},
      {"login removed",
       {},
       false,
       [](KAdpConnId* c) { return adp_usr_login_delete(c, "bob", 0); },
       {"revoke connect from bob"}},
      {"user in a group",
       {found("BOB")},
       false,
       [](KAdpConnId* c) { return adp_usr_dbuser_create(c, "bob", "crm", 2); },
       {"select username from all_users where username = upper('bob')", "grant orbisan_reporter to bob"}},
      {"another login's password",
       {},
       false,
       [](KAdpConnId* c) { return adp_usr_change_password(c, "bob", "old", "n'ew"); },
       {"grant connect to bob identified by \"n'ew\""}},
      {"the connected login's password",
       {},
       false,
       [](KAdpConnId* c) { return adp_usr_change_password(c, nullptr, "", "new"); },
       {"grant connect to sa identified by \"new\""}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    KAdpConnId* con = open("oracle");
    answers(r.answers);
    if (r.tablespaces_fail) ds_script::fail({"FetchNextSet", 3, kRefused, "no dba_users", "select"});
    EXPECT_EQ(r.call(con), 0);
    EXPECT_EQ(adp_script_sent(), r.sent);
    EXPECT_TRUE(core_alert_codes().empty());
  }
}

TEST_F(AdpUsr, OracleRefusesAPasswordHoldingADoubleQuote) {
  KAdpConnId* con = open("oracle");
  answers({none()});
  EXPECT_EQ(adp_usr_login_create(con, "bob", "p\"w"), ADP_LOGIN_FAIL);
  EXPECT_EQ(adp_usr_change_password(con, "bob", "", "p\"w"), ADP_LOGIN_FAIL);
  EXPECT_EQ(adp_script_sent(), texts{"select username from all_users where username = upper('bob')"});
}

TEST_F(AdpUsr, OracleRefusedGrantReportsOneAlert) {
  KAdpConnId* con = open("oracle");
  answers({none()});
  ds_script::fail({"ExecStatement", 1, kRefused, "refused", "grant"});
  EXPECT_EQ(adp_usr_login_create(con, "bob", "pw"), ADP_LOGIN_FAIL);
  EXPECT_EQ(core_alert_codes(), std::vector<long>{ADP_LOGIN_FAIL});
  EXPECT_EQ(adp_script_sent().size(), 2u);  // no tablespace statements
}

TEST_F(AdpUsr, NamesThatAreNotPlainAreRefusedBeforeAnyStatement) {
  for (const char* driver : {"oledb", "oracle"}) {
    for (const char* name : {"bo'b", "bob; drop table x", "", "a.b", "a-b"}) {
      SCOPED_TRACE(std::string(driver) + " [" + name + "]");
      KAdpConnId* con = open(driver);
      char found = 0;
      const long refused[] = {
          adp_usr_login_exists(con, name, 0, &found),
          adp_usr_dbuser_name_exist(con, name, &found),
          adp_usr_login_create(con, name, "pw"),
          adp_usr_login_delete(con, name, 0),
          adp_usr_permission_grant(con, name, 0),
          // No account names the connected login.
          *name != '\0' ? adp_usr_change_password(con, name, "", "pw") : ADP_NO_SUCH_DB,
      };
      for (long rc : refused) EXPECT_EQ(rc, ADP_NO_SUCH_DB);
      EXPECT_EQ(adp_script_sent(), texts{});
    }
  }
  // A name with "#" and "$" is plain.
  KAdpConnId* con = open("oracle");
  EXPECT_EQ(adp_usr_login_delete(con, "ops$bob#1", 0), 0);
  EXPECT_EQ(adp_script_sent(), texts{"revoke connect from ops$bob#1"});
}

TEST_F(AdpUsr, GroupsAreMadeWhereMissingAndGrantedTheirPrivileges) {
  KAdpConnId* con = open("oledb");
  auto tables = [] { return ds_script::result{{"name"}, {{cell::t("table_case")}, {cell::t("adp_db_header")}}}; };
  auto views = [] { return ds_script::result{{"name"}, {{cell::t("case_view")}}}; };
  answers({found("orb_user"), tables(), views(), done(), done(), done(), done(),  // user: there
           none(), done(), tables(), views(), done(), done(), done(), done(),  // administrator: made
           found("reporter"), tables(), views(), done(), done(), done(), done(), done()});
  ASSERT_EQ(adp_usr_groups_create(con, 0), 0);
  auto grants = [](const std::string& privilege, const std::string& group) {
    return texts{"select name from sysobjects where (type = 'U') and uid <> 3",
                 "select name from sysobjects where (type = 'V') and uid <> 3",
                 "grant " + privilege + " on table_case to " + group,
                 "grant " + privilege + " on adp_db_header to " + group,
                 "grant " + privilege + " on case_view to " + group,
                 "grant CREATE PROC to " + group};
  };
  texts expected = {"select name from sysusers where name = 'orb_user' and uid = gid"};
  for (const auto& t : grants("SELECT, UPDATE, INSERT, DELETE", "orb_user")) expected.push_back(t);
  expected.push_back("select name from sysusers where name = 'administrator' and uid = gid");
  expected.push_back("sp_addgroup administrator");
  for (const auto& t : grants("ALL", "administrator")) expected.push_back(t);
  expected.push_back("select name from sysusers where name = 'reporter' and uid = gid");
  for (const auto& t : grants("SELECT", "reporter")) expected.push_back(t);
  expected.push_back("GRANT UPDATE ON adp_db_header TO reporter");
  EXPECT_EQ(adp_script_sent(), expected);
}

TEST_F(AdpUsr, AGroupMadeIsSeenByTheNextTableGrant) {
  KAdpConnId* con = open("oracle");
  // The cache is read before: no group exists yet.
  answers({none(), none(), none()});
  char exists = 1;
  ASSERT_EQ(adp_usr_group_exist(con, 0, &exists), 0);
  EXPECT_EQ(exists, 0);
  // Making the groups forgets the answers; the grant then reads them again.
  ds_script::reset();
  const ds_script::result no_objects = none();
  answers({none(), done(), no_objects, no_objects, no_objects,     // user
           found("ORBISAN_ADMINISTRATOR"), no_objects, no_objects, no_objects,
           found("ORBISAN_REPORTER"), no_objects, no_objects, no_objects, done(),
           found("ORBISAN_USER"), found("ORBISAN_ADMINISTRATOR"), found("ORBISAN_REPORTER")});
  ASSERT_EQ(adp_usr_groups_create(con, 0), 0);
  ASSERT_EQ(adp_usr_table_grant(con, "table_x", 0, 0), 0);
  const texts sent = adp_script_sent();
  ASSERT_GE(sent.size(), 3u);
  EXPECT_EQ(texts(sent.end() - 3, sent.end()),
            (texts{"grant SELECT, UPDATE, INSERT, DELETE on table_x to  orbisan_user",
                   "grant ALL on table_x to  orbisan_administrator", "grant SELECT on table_x to  orbisan_reporter"}));
  EXPECT_EQ(sent[1], "create role orbisan_user");
  EXPECT_EQ(sent[2], "select table_name from user_tables");
  EXPECT_EQ(sent[4], "select sequence_name from user_sequences");
}

TEST_F(AdpUsr, PasswordsShowHiddenInTheSqlLogAndTheServerLog) {
  KAdpConnId* con = open("oledb");
  ASSERT_EQ(adp_sql_log_file("sql.log"), 0);
  KAdpProcessError::SetSqlHint(1);
  ASSERT_EQ(KAdpProcessError::OpenServerLogFile(), 0);
  answers({none()});
  // The server's message may quote the statement.
  ds_script::fail({"FetchNextSet", 2, kRefused, "refused", "near 'Sesame''42'"});
  EXPECT_EQ(adp_usr_login_create(con, "bob", "Sesame'42"), ADP_LOGIN_FAIL);
  EXPECT_EQ(adp_usr_change_password(con, "bob", "Old'77", "Sesame'42"), 0);
  FILE* log = nullptr;
  adp_sql_get_log(&log);
  std::fclose(log);
  adp_sql_log_reset();
  KAdpProcessError::CloseServerLogFile();
  for (const char* name : {"sql.log", "server.log"}) {
    SCOPED_TRACE(name);
    const std::string text = file_text(name);
    EXPECT_NE(text.find("'****'"), std::string::npos) << text;
    EXPECT_EQ(text.find("Sesame"), std::string::npos) << text;
    EXPECT_EQ(text.find("Old"), std::string::npos) << text;
  }
  EXPECT_NE(file_text("sql.log").find("sp_password '****', '****', 'bob'"), std::string::npos);
  // Once the statement is over, nothing is hidden any more.
  EXPECT_EQ(adp_sql_log_masked("'Sesame''42'"), "'Sesame''42'");
}

TEST_F(AdpUsr, TheAdministratorLoginIsReadOnceFromTheDriversConfiguration) {
  adp_db_set_db_driver("oracle");
  const char* first = nullptr;
  const char* second = nullptr;
  ASSERT_EQ(adp_usr_admin_login_get(&first), 0);
  ASSERT_EQ(adp_usr_admin_login_get(&second), 0);
  EXPECT_STREQ(first, "sa");
  EXPECT_EQ(first, second);
}

}  // namespace
