// The user context: statements per kind, the login filter, results fed
// back through InitFromDb and every item, configuration items, the image.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bo/bo_usr.h"
#include "bo/bo_usr_sql.h"
#include "bo_fixture.h"
#include "bo_usr_fixture.h"
#include "kclassic/kc_bstr.h"

using namespace KCLASSIC;
using botest::BoTest;
using botest::statements;
using kctest::catchKErr;

namespace {

std::string fmt(const char* format, long id) {
  char buf[2048];
  std::snprintf(buf, sizeof buf, format, int(id));
  return buf;
}

std::string fmt(const char* format, const char* text) {
  char buf[2048];
  std::snprintf(buf, sizeof buf, format, text);
  return buf;
}

std::vector<std::string> user_block(long id, bool page) {
  std::vector<std::string> out{fmt(EMPLOYEE_CONTEXT_FORMAT, id)};
  if (page) out.push_back(fmt(PAGECLASS_CONTEXT_FORMAT, id));
  out.push_back(fmt(USER_CONFIG_ITEM_FORMAT, id));
  out.push_back(GLOBAL_CONFIG_ITEM_FORMAT);
  return out;
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(BoTest, StatementTextsAreExact) {
  KUsrContext ctx("boss", "", 0, USR_KIND_EMPLOYEE, "", 0);
  KStringList list;
  ctx.GetFindUserQuery(USR_KIND_EMPLOYEE, list);
  EXPECT_EQ(statements(list), std::vector<std::string>{
      "SELECT table_user.objid, table_employee.objid, table_user.password, table_user.status FROM   table_user, "
      "table_employee WHERE  login_name='boss'  AND    table_user.objid = table_employee.employee2user"});
  EXPECT_EQ(fmt(USER_CONFIG_ITEM_FORMAT, 5),
            "SELECT table_config_itm.objid, table_config_itm.last_mod_time, table_config_itm.name, "
            "table_config_itm.value_type, table_config_itm.i_value, table_config_itm.f_value, "
            "table_config_itm.str_value, table_config_itm.scope, table_config_itm.description FROM\ttable_config_itm, "
            "table_user, mtm_user50_config_itm0 WHERE  table_user.objid = 5 AND\tmtm_user50_config_itm0."
            "user_prefs2config_itm = table_user.objid AND\tmtm_user50_config_itm0.config_itm2user = "
            "table_config_itm.objid");
  const std::string global = GLOBAL_CONFIG_ITEM_FORMAT;
  const std::string tail = "FROM\ttable_config_itm WHERE  table_config_itm.scope <> 1 and table_config_itm.scope <> 4";
  EXPECT_EQ(global.substr(global.size() - tail.size()), tail);
  std::string emp = fmt(EMPLOYEE_CONTEXT_FORMAT, 9);
  EXPECT_NE(emp.find("FROM\ttable_user, table_wipbin, table_privclass, table_employee, table_site, table_address  "
                     "WHERE\ttable_user.objid = 9 AND "),
            std::string::npos);
  EXPECT_EQ(fmt(PAGECLASS_CONTEXT_FORMAT, 3),
            "SELECT table_page_class.objid, table_page_class.name FROM table_user, table_page_class WHERE "
            "table_user.objid = 3 AND table_user.user2page_class = table_page_class.objid ");
}

TEST_F(BoTest, FindUserStatementsPerKind) {
  struct Case {
    long kind;
    const char* associate;
    std::vector<std::string> stmts;
  };
  const Case cases[] = {
      {1, "", {fmt(WEB_CONTACT_ONLY_LOGIN_SELECT_FORMAT, "login_name='jo'")}},
      {2, "", {fmt(WEB_USER_CONTACT_LOGIN_SELECT_FORMAT, "login_name='jo'")}},
      {3, "", {fmt(WEB_USER_EMPLOYEE_LOGIN_SELECT_FORMAT, "login_name='jo'")}},
      {4, "", {fmt(CONTACT_LOGIN_SELECT_FORMAT, "login_name='jo'")}},
      {5, "", {fmt(EMPLOYEE_LOGIN_SELECT_FORMAT, "login_name='jo'")}},
      {1, "ann", {fmt(WEB_CONTACT_ONLY_LOGIN_SELECT_FORMAT, "login_name='jo'"),
                  fmt(EMPLOYEE_ASSOC_SELECT_FORMAT, "login_name='ann'")}},
      {4, "o'x", {fmt(CONTACT_LOGIN_SELECT_FORMAT, "login_name='jo'"),
                  fmt(EMPLOYEE_ASSOC_SELECT_FORMAT, "login_name='o''x'")}},
      {3, "42", {fmt(WEB_USER_EMPLOYEE_LOGIN_SELECT_FORMAT, "login_name='jo'"),
                 fmt(CONTACT_ONLY_ASSOC_SELECT_FORMAT, "42")}},
      {5, "7", {fmt(EMPLOYEE_LOGIN_SELECT_FORMAT, "login_name='jo'"), fmt(CONTACT_ONLY_ASSOC_SELECT_FORMAT, "7")}},
  };
  for (const Case& c : cases) {
    KUsrContext ctx("jo", "x", 0, c.kind, c.associate, 0);
    KStringList list;
    list.AddTail("stale");
    ctx.GetFindUserQuery(c.kind, list);
    EXPECT_EQ(statements(list), c.stmts) << c.kind << " " << c.associate;
  }
  KUsrContext ctx("jo", "", 0, 6, "", 0);
  KStringList list;
  auto t = catchKErr([&] { ctx.GetFindUserQuery(6, list); });
  EXPECT_EQ(t.id, KERR_VALIDATE_USER);
  EXPECT_EQ(t.method, "KUsrContext::GetFindUserQuery");
}

TEST_F(BoTest, LoginFilters) {
  struct Case {
    std::string login;
    int caseInsensitive;
    std::string filter;
  };
  const Case cases[] = {
      {"o'neil", 0, "login_name='o''neil'"},
      {"o'Neil", 1, "S_LOGIN_NAME='O''NEIL'"},
      {"", 0, "login_name=''"},
      {std::string(112, 'a'), 0, "login_name='" + std::string(112, 'a') + "'"},
      {std::string(110, 'a') + "'", 0, "login_name='" + std::string(110, 'a') + "'''"},
  };
  for (const Case& c : cases) {
    KUsrContext ctx(c.login.c_str(), "", c.caseInsensitive, 5, "", 0);
    EXPECT_EQ(std::string(ctx.MakeFilter(c.login.c_str())), c.filter);
  }
}

TEST_F(BoTest, LoginsAndAssociatesThatCannotBeUsedAreRefused) {
  struct Case {
    std::string login;
    long kind;
    std::string associate;
  };
  const Case cases[] = {
      {std::string(113, 'a'), 5, ""},            // its filter does not fit: refused, not cut
      {std::string(111, 'a') + "'", 5, ""},
      {"jo", 4, std::string(200, 'b')},
      {"jo", 3, "1 OR 1=1"},                      // a contact objid must be a whole number
      {"jo", 5, "12x"},
      {"jo", 5, "1.5"},
      {std::string(60, '\''), 1, ""},
  };
  for (const Case& c : cases) {
    KUsrContext ctx(c.login.c_str(), "", 0, c.kind, c.associate.c_str(), 0);
    KStringList list;
    auto t = catchKErr([&] { ctx.GetFindUserQuery(c.kind, list); });
    EXPECT_TRUE(t.thrown) << c.login << " / " << c.associate;
    EXPECT_EQ(t.id, KERR_ILLEGAL_ARGUMENT);
    EXPECT_EQ(list.GetCount(), 0);
  }
}

// Login results: row 0 the login row, row 1 (optional) the associate's.
void login_results(KUtlRecord& results, const std::vector<std::string>& login,
                   const std::vector<std::string>* associate = nullptr) {
  KUtlRecord rs;
  botest::fill_row(rs, login);
  botest::add_result(results, rs);
  if (!associate) return;
  KUtlRecord as;
  if (associate->empty()) as.SetColType(0, UTL_CELL_STRING, "objid", UTL_DB_VARSTR);
  else botest::fill_row(as, *associate);
  botest::add_result(results, as);
}

TEST_F(BoTest, ContextStatementsPerKind) {
  const std::vector<std::string> assoc{"77", "5", "1"};
  struct Case {
    long kind;
    const char* associate;
    int page;
    std::vector<std::string> login;
    bool withAssocRow;
    std::vector<std::string> stmts;
    long userId;
    long webUserId;
  };
  const Case cases[] = {
      {1, "", 0, {"11", "12", "13"}, false, {fmt(CONTACT_ONLY_CONTEXT_FORMAT, 13)}, 12, 11},
      {1, "ann", 1, {"11", "12", "13"}, true,
       std::vector<std::string>{fmt(CONTACT_ONLY_CONTEXT_FORMAT, 13)} + user_block(77, true), 77, 11},
      {2, "", 0, {"21", "22", "23"}, false, {fmt(CONTACT_CONTEXT_FORMAT, 22)}, 22, 21},
      {2, "ann", 0, {"21", "22", "23"}, true,
       std::vector<std::string>{fmt(CONTACT_CONTEXT_FORMAT, 22)} + user_block(77, false), 22, 21},
      {3, "", 1, {"31", "32", "33"}, false,
       user_block(32, true) + std::vector<std::string>{fmt(CONTACT_ONLY_CONTEXT_FORMAT, 33)}, 32, 31},
      {3, "77", 0, {"31", "32", "0"}, true,
       user_block(32, false) + std::vector<std::string>{fmt(CONTACT_ONLY_CONTEXT_FORMAT, 77)}, 32, 31},
      {4, "", 1, {"41"}, false,
       {fmt(CONTACT_CONTEXT_FORMAT, 41), fmt(PAGECLASS_CONTEXT_FORMAT, 41), fmt(USER_CONFIG_ITEM_FORMAT, 41),
        GLOBAL_CONFIG_ITEM_FORMAT}, 41, 0},
      {4, "ann", 0, {"41"}, true,
       {fmt(CONTACT_CONTEXT_FORMAT, 41), fmt(USER_CONFIG_ITEM_FORMAT, 41), GLOBAL_CONFIG_ITEM_FORMAT,
        fmt(EMPLOYEE_CONTEXT_FORMAT, 77)}, 41, 0},
      {5, "", 0, {"51"}, false, user_block(51, false), 51, 0},
      {5, "", 1, {"51"}, false, user_block(51, true), 51, 0},
      {5, "77", 1, {"51"}, true,
       user_block(51, true) + std::vector<std::string>{fmt(CONTACT_ONLY_CONTEXT_FORMAT, 77)}, 51, 0},
      // An associate given but no associate row: the login alone.
      {5, "77", 0, {"51"}, false, user_block(51, false), 51, 0},
  };
  for (const Case& c : cases) {
    KUsrContext ctx("jo", "", 0, c.kind, c.associate, c.page);
    KUtlRecord results;
    login_results(results, c.login, c.withAssocRow ? &assoc : nullptr);
    KStringList list;
    ctx.GetInitSelectStmt(c.kind, results, list);
    EXPECT_EQ(statements(list), c.stmts) << c.kind << " " << c.associate;
    KZString id;
    EXPECT_EQ(std::string(ctx.GetUserId(id)), std::to_string(c.userId)) << c.kind;
    EXPECT_EQ(std::string(ctx.GetWebUserId(id)), c.webUserId ? std::to_string(c.webUserId) : "") << c.kind;
  }
}

TEST_F(BoTest, ContextStatementFailures) {
  const std::vector<std::string> none;
  const std::vector<std::string> assoc{"77"};
  struct Case {
    const char* what;
    long kind;
    const char* associate;
    std::vector<std::string> login;
    const std::vector<std::string>* assocRow;
    long code;
  };
  const Case cases[] = {
      {"kind 3 with a contact and an associate", 3, "77", {"31", "32", "33"}, &assoc, KERR_USER_AND_CONTACT},
      {"associate unknown, kind 1", 1, "ann", {"1", "2", "3"}, &none, KERR_ASSOCIATE_UNKNOWN},
      {"associate unknown, kind 2", 2, "ann", {"1", "2", "3"}, &none, KERR_ASSOCIATE_UNKNOWN},
      {"associate unknown, kind 4", 4, "ann", {"1"}, &none, KERR_ASSOCIATE_UNKNOWN},
      {"no contact row, kind 3", 3, "77", {"1", "2", "0"}, &none, KERR_ASSOCIATE_UNKNOWN},
      {"no contact row, kind 5", 5, "77", {"1"}, &none, KERR_ASSOCIATE_UNKNOWN},
      {"login row too narrow", 2, "", {"1", "2"}, nullptr, KERR_VALIDATE_USER},
      {"login row too narrow", 1, "", {"1"}, nullptr, KERR_VALIDATE_USER},
      {"kind outside 1 to 5", 9, "", {"1"}, nullptr, KERR_VALIDATE_USER},
  };
  for (const Case& c : cases) {
    KUsrContext ctx("jo", "", 0, c.kind, c.associate, 0);
    KUtlRecord results;
    login_results(results, c.login, c.assocRow);
    KStringList list;
    auto t = catchKErr([&] { ctx.GetInitSelectStmt(c.kind, results, list); });
    EXPECT_EQ(t.id, c.code) << c.what;
    EXPECT_EQ(t.method, "KUsrContext::GetInitSelectStmt") << c.what;
    if (c.code == KERR_ASSOCIATE_UNKNOWN) {
      EXPECT_EQ(t.params, std::vector<std::string>{c.associate});
    }
  }
  KUsrContext ctx("jo", "", 0, 5, "", 0);
  KUtlRecord empty;
  KStringList list;
  EXPECT_EQ(catchKErr([&] { ctx.GetInitSelectStmt(5, empty, list); }).id, KERR_VALIDATE_USER);
  KUtlRecord noRows;
  KUtlRecord loginRs;
  loginRs.SetColType(0, UTL_CELL_STRING, "objid", UTL_DB_VARSTR);
  botest::add_result(noRows, loginRs);
  EXPECT_EQ(catchKErr([&] { ctx.GetInitSelectStmt(5, noRows, list); }).id, KERR_VALIDATE_USER);
}

// A kind 5 user with page class and an associate contact: results in
// statement order, employee column c = 100 + c, page class 400 + c,
// contact-only 300 + c; two user configuration items and one global.
void employee_results(KUtlRecord& results) {
  KUtlRecord emp, page, userCfg, globalCfg, contactOnly;
  botest::numbered_row(emp, 30, 100);
  botest::numbered_row(page, 2, 400);
  botest::fill_row(userCfg, {"1", "2001-01-01", "Default Queue", "2", "15", "1.5", "user text", "1", "d"});
  botest::fill_row(userCfg, {"2", "2001-01-01", "Other", "0", "3", "0", "", "1", "d"}, 1);
  botest::fill_row(globalCfg, {"3", "2001-01-01", "global item", "1", "8", "-2.25", "global text", "2", "d"});
  botest::numbered_row(contactOnly, 21, 300);
  for (KUtlRecord* rs : {&emp, &page, &userCfg, &globalCfg, &contactOnly}) botest::add_result(results, *rs);
}

const char* const kEmployeeItems[USR_ITEM_COUNT][2] = {
    {"user.id", "7"}, {"web_user.id", ""}, {"login_name", "boss"}, {"password", ""},
    {"user.login_name", "101"}, {"user.locale", "103"}, {"user.agentid", "104"}, {"user.status", "105"},
    {"wipbin.id", "106"}, {"wipbin.title", "107"}, {"privclass.id", "108"}, {"privclass.name", "109"},
    {"page_class.id", "400"}, {"page_class.name", "401"}, {"employee.id", "110"}, {"contact.id", "300"},
    {"contact.title", "306"}, {"first_name", "111"}, {"last_name", "112"}, {"email", "113"}, {"pager", "114"},
    {"phone", "115"}, {"fax", "116"}, {"site.id", "117"}, {"site.name", "118"}, {"site.site_id", "119"},
    {"site.type", "120"}, {"address.id", "121"}, {"address.address", "122"}, {"address.city", "123"},
    {"address.state", "124"}, {"address.zipcode", "125"}, {"address.address2", "126"}, {"timezone.id", "127"},
    {"country.id", "128"}, {"stateprov.id", "129"},
    {"employee.user.id", "7"}, {"employee.web_user.id", ""}, {"employee.login_name", "boss"},
    {"employee.password", ""}, {"employee.user.login_name", "101"}, {"employee.user.locale", "103"},
    {"employee.user.agentid", "104"}, {"employee.user.status", "105"}, {"employee.wipbin.id", "106"},
    {"employee.wipbin.title", "107"}, {"employee.privclass.id", "108"}, {"employee.privclass.name", "109"},
    {"employee.employee.id", "110"}, {"employee.contact.id", "300"}, {"employee.contact.title", "306"},
    {"employee.first_name", "111"}, {"employee.last_name", "112"}, {"employee.email", "113"},
    {"employee.pager", "114"}, {"employee.phone", "115"}, {"employee.fax", "116"}, {"employee.site.id", "117"},
    {"employee.site.name", "118"}, {"employee.site.site_id", "119"}, {"employee.site.type", "120"},
    {"employee.address.id", "121"}, {"employee.address.address", "122"}, {"employee.address.city", "123"},
    {"employee.address.state", "124"}, {"employee.address.zipcode", "125"}, {"employee.address.address2", "126"},
    {"employee.timezone.id", "127"}, {"employee.country.id", "128"}, {"employee.stateprov.id", "129"},
    {"contact.user.id", "7"}, {"contact.web_user.id", ""}, {"contact.login_name", "boss"},
    {"contact.password", ""}, {"contact.user.login_name", ""}, {"contact.user.locale", "0"},
    {"contact.user.agentid", ""}, {"contact.user.status", "0"}, {"contact.wipbin.id", "0"},
    {"contact.wipbin.title", ""}, {"contact.privclass.id", "0"}, {"contact.privclass.name", ""},
    {"contact.employee.id", "0"}, {"contact.contact.id", "300"}, {"contact.contact.title", "306"},
    {"contact.first_name", "301"}, {"contact.last_name", "302"}, {"contact.email", "303"},
    {"contact.pager", ""}, {"contact.phone", "304"}, {"contact.fax", "305"}, {"contact.site.id", "307"},
    {"contact.site.name", "308"}, {"contact.site.site_id", "309"}, {"contact.site.type", "310"},
    {"contact.address.id", "311"}, {"contact.address.address", "312"}, {"contact.address.city", "313"},
    {"contact.address.state", "314"}, {"contact.address.zipcode", "315"}, {"contact.address.address2", "316"},
    {"contact.timezone.id", "317"}, {"contact.country.id", "318"}, {"contact.stateprov.id", "319"},
};

void load_employee(KUsrContext& ctx) {
  KUtlRecord login;
  login_results(login, {"7"});
  std::vector<std::string> assoc{"300"};
  KUtlRecord withAssoc;
  login_results(withAssoc, {"7"}, &assoc);
  KStringList list;
  ctx.GetInitSelectStmt(USR_KIND_EMPLOYEE, withAssoc, list);
  ASSERT_EQ(list.GetCount(), 5);
  KUtlRecord results;
  employee_results(results);
  EXPECT_EQ(ctx.InitFromDb(results, 1), 0);
}

void expect_employee_items(KUsrContext& ctx) {
  for (long i = 0; i < USR_ITEM_COUNT; ++i) {
    KZString name(kEmployeeItems[i][0]);
    EXPECT_EQ(ctx.GetItemIndex(name), i) << kEmployeeItems[i][0];
    EXPECT_STREQ(ctx.GetItem(i), kEmployeeItems[i][1]) << kEmployeeItems[i][0];
    KZString upper(kEmployeeItems[i][0]);
    upper.MakeUpper();
    EXPECT_STREQ(ctx.GetItem(upper), kEmployeeItems[i][1]) << kEmployeeItems[i][0];
  }
}

TEST_F(BoTest, EveryItemOfAnEmployeeUser) {
  KUsrContext ctx("boss", "second", 0, USR_KIND_EMPLOYEE, "300", 1);
  load_employee(ctx);
  EXPECT_EQ(ctx.GetItemCount(), 104);
  expect_employee_items(ctx);
  EXPECT_STREQ(ctx.GetItem(-1), "");
  EXPECT_STREQ(ctx.GetItem(104), "");
  KZString unknown("no.such.item");
  EXPECT_EQ(ctx.GetItemIndex(unknown), -1);
  EXPECT_STREQ(ctx.GetItem(unknown), "");
  KZString password("PASSWORD");
  EXPECT_EQ(ctx.GetItemIndex(password), 3);
  EXPECT_STREQ(password, "password"); // lower-cased in place
  EXPECT_STREQ(ctx.GetContactPager(), "");
  EXPECT_STREQ(ctx.GetContactEmployeeId(), "0");
  EXPECT_STREQ(ctx.GetPageClassName(), "401");
}

TEST_F(BoTest, ItemsOfAContactUser) {
  KUsrContext ctx("cu", "", 0, USR_KIND_CONTACT, "", 0);
  KUtlRecord login;
  login_results(login, {"8"});
  KStringList list;
  ctx.GetInitSelectStmt(USR_KIND_CONTACT, login, list);
  KUtlRecord contact, userCfg, globalCfg;
  botest::numbered_row(contact, 31, 200);
  userCfg.SetColType(0, UTL_CELL_STRING, "objid", UTL_DB_VARSTR);
  botest::fill_row(globalCfg, {"3", "t", "g", "1", "8", "0", "x", "2", "d"});
  for (KUtlRecord* rs : {&contact, &userCfg, &globalCfg}) botest::add_result(ctx.Results(), *rs);
  ctx.InitFromDb(ctx.Results(), 0);
  const char* const items[][2] = {
      {"user.id", "8"}, {"user.login_name", "201"}, {"user.locale", "203"}, {"user.agentid", "204"},
      {"user.status", "205"}, {"wipbin.id", "206"}, {"wipbin.title", "207"}, {"privclass.id", "208"},
      {"privclass.name", "209"}, {"page_class.id", "0"}, {"page_class.name", ""}, {"employee.id", "0"},
      {"contact.id", "210"}, {"contact.title", "216"}, {"first_name", "211"}, {"last_name", "212"},
      {"email", "213"}, {"pager", ""}, {"phone", "214"}, {"fax", "215"}, {"site.id", "217"},
      {"site.name", "218"}, {"site.site_id", "219"}, {"site.type", "220"}, {"address.id", "221"},
      {"address.address", "222"}, {"address.city", "223"}, {"address.state", "224"},
      {"address.zipcode", "225"}, {"address.address2", "226"}, {"timezone.id", "227"}, {"country.id", "228"},
      {"stateprov.id", "229"}, {"employee.first_name", ""}, {"employee.employee.id", "0"},
      {"contact.user.status", "205"},
  };
  for (const auto& item : items) {
    KZString name(item[0]);
    EXPECT_STREQ(ctx.GetItem(name), item[1]) << item[0];
  }
  EXPECT_EQ(ctx.IsContactUser(), 1);
  EXPECT_EQ(ctx.IsEmployeeUser(), 0);
  EXPECT_EQ(ctx.ConfigRecord().GetRows(), 1); // the global item after no user items
}

TEST_F(BoTest, ConfigurationItems) {
  KUsrContext ctx("boss", "", 0, USR_KIND_EMPLOYEE, "300", 1);
  load_employee(ctx);
  EXPECT_EQ(ctx.ConfigRecord().GetRows(), 3);
  struct Case {
    const char* key;
    uint16_t vt;
    double number;
    const char* text;
  };
  const Case cases[] = {
      {"default queue.value_type", KVT_I4, 2, nullptr},
      {"Default Queue.I_VALUE", KVT_I4, 15, nullptr},
      {"default queue.f_value", KVT_R4, 1.5, nullptr},
      {"DEFAULT QUEUE.str_value", KVT_KSTR, 0, "user text"},
      {"global item.f_value", KVT_R4, -2.25, nullptr},
      {"global item.str_value", KVT_KSTR, 0, "global text"},
      {"missing.i_value", KVT_EMPTY, 0, nullptr},
  };
  for (const Case& c : cases) {
    KZString key(c.key);
    KOleVariant v = ctx.GetConfigValue(key);
    EXPECT_EQ(v.vt, c.vt) << c.key;
    if (c.vt == KVT_I4) {
      EXPECT_EQ(v.lVal, c.number) << c.key;
    }
    if (c.vt == KVT_R4) {
      EXPECT_EQ(v.fltVal, float(c.number)) << c.key;
    }
    if (c.vt == KVT_KSTR) {
      EXPECT_STREQ(v.bstrVal, c.text) << c.key;
    }
  }
  for (const char* bad : {"no dot", "name.other_value", ""}) {
    KZString key(bad);
    auto t = catchKErr([&] { ctx.GetConfigValue(key); });
    EXPECT_EQ(t.id, KERR_ILLEGAL_ARGUMENT) << bad;
    EXPECT_EQ(t.method, "KUsrContext::GetConfigItemType");
    EXPECT_EQ(t.params, std::vector<std::string>{"Syntax is: config_itm.<name>.<field>, where <field> is one of: "
                                                 "value_type, i_value, f_value, or str_value"});
  }
  KZString key("Item.Str_Value");
  EConfigField field = eConfigValueType;
  ctx.GetConfigItemType(key, field);
  EXPECT_STREQ(key, "Item");
  EXPECT_EQ(field, eConfigStrValue);
}

TEST_F(BoTest, ItemsAsSystemStrings) {
  KUsrContext ctx("boss", "", 0, USR_KIND_EMPLOYEE, "300", 1);
  load_employee(ctx);
  char* out = reinterpret_cast<char*>(1);
  ctx.GetItem(17, &out);
  ASSERT_NE(out, nullptr);
  EXPECT_STREQ(out, "111");
  EXPECT_EQ(KBinSysStringByteLen(out), 3u);
  KBinSysFreeString(out);
  KZString name("password");
  ctx.GetItem(name, &out);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(catchKErr([&] { ctx.GetItem(1, nullptr); }).id, KERR_ILLEGAL_ARGUMENT);
  EXPECT_EQ(catchKErr([&] { ctx.GetItem(name, nullptr); }).id, KERR_ILLEGAL_ARGUMENT);
  KZString empty;
  auto t = catchKErr([&] { ctx.GetItem(empty); });
  EXPECT_EQ(t.id, KERR_ILLEGAL_ARGUMENT);
  EXPECT_EQ(t.method, "KUsrContext::GetItem");
}

TEST_F(BoTest, ContextImageRoundTrip) {
  KUsrContext ctx("boss", "second", 1, USR_KIND_EMPLOYEE, "300", 1);
  load_employee(ctx);
  char* image = ctx.Serialize();
  KUtlRecord rec;
  char* again = ctx.Serialize();
  rec.Deserialize(again);
  KBinSysFreeString(again);
  EXPECT_EQ(rec.GetRows(), 1);
  EXPECT_EQ(rec.GetColumns(), 8);
  EXPECT_EQ(rec.GetColCellType(7), UTL_CELL_RECORD);
  KUsrContext back(image);
  KBinSysFreeString(image);
  EXPECT_EQ(back.GetLoginKind(), USR_KIND_EMPLOYEE);
  EXPECT_STREQ(back.GetLogin2(), "second");
  EXPECT_STREQ(back.GetAssociate(), "300");
  EXPECT_EQ(back.HasPageClass(), 1);
  EXPECT_EQ(back.IsCaseInsensitive(), 0); // not in the image: names match as they are
  expect_employee_items(back);
  KZString key("global item.i_value");
  EXPECT_EQ(back.GetConfigValue(key).lVal, 8);

  KUsrContext fresh("new", "", 0, USR_KIND_CONTACT, "", 0);
  char* freshImage = fresh.Serialize();
  KUsrContext freshBack(freshImage);
  KBinSysFreeString(freshImage);
  EXPECT_STREQ(freshBack.GetLoginName(), "new");
  EXPECT_STREQ(freshBack.GetItem(17), "");

  auto t = catchKErr([&] { KUsrContext bad(static_cast<char*>(nullptr)); });
  EXPECT_EQ(t.id, KERR_ILLEGAL_ARGUMENT);
  EXPECT_EQ(t.method, "KUsrContext::DeSerialize");
}

TEST_F(BoTest, InitFromDbRefusesWhatItCannotUse) {
  KUsrContext ctx("boss", "", 0, USR_KIND_EMPLOYEE, "", 0);
  KUtlRecord empty;
  auto t = catchKErr([&] { ctx.InitFromDb(empty, 1); });
  EXPECT_EQ(t.id, KERR_VALIDATE_USER);
  EXPECT_EQ(t.method, "KUsrContext::InitFromDb");
  KUsrContext odd("boss", "", 0, 0, "", 0);
  KUtlRecord results;
  employee_results(results);
  EXPECT_EQ(catchKErr([&] { odd.InitFromDb(results, 1); }).id, KERR_VALIDATE_USER);
  // Fewer result rows than statements: what is there is taken.
  KUtlRecord partial;
  KUtlRecord emp;
  botest::numbered_row(emp, 30, 100);
  botest::add_result(partial, emp);
  EXPECT_EQ(ctx.InitFromDb(partial, 1), 0);
  EXPECT_STREQ(ctx.GetFirstName(), "111");
  EXPECT_STREQ(ctx.GetContactFirstName(), "");
}

} // namespace
