// The user context on a real database: its statements run through
// Connector/C over a small schema of the tables they name
// (tests/data/usr_context.sql), their rows fed back as a host feeds them.
#include <gtest/gtest.h>
#include <mysql.h>

#include <string>
#include <vector>

#include "bo/bo_usr.h"
#include "bo_fixture.h"
#include "bo_usr_fixture.h"
#include "kclassic/kc_bstr.h"
#include "testdb/testdb_database.h"

using namespace KCLASSIC;
using kctest::catchKErr;

namespace {

class UsrContextDb : public botest::BoTest {
 protected:
  void SetUp() override {
    BoTest::SetUp();
    ASSERT_TRUE(db_.create());
    ASSERT_TRUE(db_.load("usr_context.sql"));
    conn_ = db_.connect();
    ASSERT_NE(conn_, nullptr);
  }

  // The rows of a statement as a result set: whole numbers in long cells,
  // floating columns in float cells, the rest as text; NULL cells stay empty.
  void run(const KZString& sql, KUtlRecord& rs) {
    ASSERT_EQ(mysql_real_query(conn_.get(), sql, static_cast<unsigned long>(sql.GetLength())), 0)
        << mysql_error(conn_.get()) << "\n" << static_cast<const char*>(sql);
    MYSQL_RES* res = mysql_store_result(conn_.get());
    ASSERT_NE(res, nullptr) << mysql_error(conn_.get());
    unsigned n = mysql_num_fields(res);
    MYSQL_FIELD* fields = mysql_fetch_fields(res);
    for (unsigned c = 0; c < n; ++c) rs.SetColType(long(c), cell_type(fields[c]), fields[c].name, db_type(fields[c]));
    long row = 0;
    for (MYSQL_ROW r; (r = mysql_fetch_row(res)); ++row) {
      for (unsigned c = 0; c < n; ++c) {
        if (!r[c]) {
          rs.GetCellIndex(row, long(c), rs.GetColCellType(long(c)), 1);
          continue;
        }
        long type = db_type(fields[c]);
        if (type == UTL_DB_FLOAT) rs.SetFloat(row, long(c), std::stof(r[c]));
        else if (type == UTL_DB_LONG) rs.SetLongVal(row, long(c), std::stol(r[c]));
        else rs.SetString(row, long(c), r[c]);
      }
    }
    mysql_free_result(res);
  }

  // Runs each statement of list, each result set a row of results.
  void run_all(const KStringList& list, KUtlRecord& results) {
    for (const std::string& sql : botest::statements(list)) {
      KUtlRecord rs;
      run(KZString(sql.c_str()), rs);
      botest::add_result(results, rs);
    }
  }

  // The host's whole sequence: find the user, load the context.
  void login(KUsrContext& ctx, long kind) {
    KStringList find;
    ctx.GetFindUserQuery(kind, find);
    KUtlRecord loginResults;
    run_all(find, loginResults);
    KStringList load;
    ctx.GetInitSelectStmt(kind, loginResults, load);
    KUtlRecord results;
    run_all(load, results);
    ctx.InitFromDb(results, 1);
  }

  static bool whole_number(const MYSQL_FIELD& f) {
    switch (f.type) {
      case MYSQL_TYPE_TINY:
      case MYSQL_TYPE_SHORT:
      case MYSQL_TYPE_LONG:
      case MYSQL_TYPE_INT24:
      case MYSQL_TYPE_LONGLONG: return true;
      case MYSQL_TYPE_DECIMAL:
      case MYSQL_TYPE_NEWDECIMAL: return f.decimals == 0;
      default: return false;
    }
  }
  static long db_type(const MYSQL_FIELD& f) {
    if (whole_number(f)) return UTL_DB_LONG;
    if (f.type == MYSQL_TYPE_FLOAT || f.type == MYSQL_TYPE_DOUBLE) return UTL_DB_FLOAT;
    return UTL_DB_VARSTR;
  }
  static long cell_type(const MYSQL_FIELD& f) { return db_type(f) == UTL_DB_VARSTR ? UTL_CELL_STRING : UTL_CELL_LONG; }

  std::string item(KUsrContext& ctx, const char* name) {
    KZString n(name);
    return static_cast<const char*>(ctx.GetItem(n));
  }

  testdb::database db_;
  testdb::connection conn_;
};

struct Expect {
  const char* item;
  const char* value;
};

void expect_items(KUsrContext& ctx, const std::vector<Expect>& items) {
  for (const Expect& e : items) {
    KZString name(e.item);
    EXPECT_STREQ(ctx.GetItem(name), e.value) << e.item;
  }
}

TEST_F(UsrContextDb, EmployeeUserWithPageClassAndAssociateContact) {
  KUsrContext ctx("boss", "", 0, USR_KIND_EMPLOYEE, "31", 1);
  login(ctx, USR_KIND_EMPLOYEE);
  expect_items(ctx, {
      {"user.id", "7"}, {"web_user.id", ""}, {"login_name", "boss"}, {"password", ""},
      {"user.login_name", "boss"}, {"user.locale", "1033"}, {"user.agentid", "AG7"}, {"user.status", "1"},
      {"wipbin.id", "60"}, {"wipbin.title", "Default WIP"}, {"privclass.id", "70"},
      {"privclass.name", "Support Engineer"}, {"page_class.id", "80"}, {"page_class.name", "Standard Pages"},
      {"employee.id", "17"}, {"contact.id", "31"}, {"contact.title", "Owner"}, {"first_name", "Bea"},
      {"last_name", "Boss"}, {"email", "bea@example.com"}, {"pager", "555-0100"}, {"phone", "555-0101"},
      {"fax", "555-0102"}, {"site.id", "40"}, {"site.name", "Head Office"}, {"site.site_id", "HQ-1"},
      {"site.type", "1"}, {"address.id", "50"}, {"address.address", "1 Main St"}, {"address.city", "Springfield"},
      {"address.state", "IL"}, {"address.zipcode", "62701"}, {"address.address2", "Suite 5"},
      {"timezone.id", "501"}, {"country.id", "502"}, {"stateprov.id", "503"},
      // The associate contact, at its primary site.
      {"contact.first_name", "Dan"}, {"contact.site.name", "Branch"}, {"contact.address.city", "Shelbyville"},
      {"contact.contact.id", "31"}, {"employee.first_name", "Bea"},
  });
  KZString key("default queue.f_value");
  KOleVariant f = ctx.GetConfigValue(key);
  EXPECT_EQ(f.vt, KVT_R4);
  EXPECT_EQ(f.fltVal, 1.5f);
  key = "CURRENCY.str_value";
  KOleVariant s = ctx.GetConfigValue(key);
  EXPECT_STREQ(s.bstrVal, "USD");
  key = "currency.f_value";
  EXPECT_EQ(ctx.GetConfigValue(key).fltVal, 0.25f); // the global item, read as the float it is
  key = "hidden.i_value";
  EXPECT_EQ(ctx.GetConfigValue(key).vt, KVT_EMPTY); // scope 4 is not global
  EXPECT_EQ(ctx.ConfigRecord().GetRows(), 3);

  // The image carries the loaded context.
  char* image = ctx.Serialize();
  KUsrContext back(image);
  KBinSysFreeString(image);
  for (long i = 0; i < USR_ITEM_COUNT; ++i) EXPECT_STREQ(back.GetItem(i), ctx.GetItem(i)) << i;
}

TEST_F(UsrContextDb, ContactUserWithAssociateEmployee) {
  KUsrContext ctx("carol", "", 0, USR_KIND_CONTACT, "boss", 0);
  login(ctx, USR_KIND_CONTACT);
  expect_items(ctx, {
      {"user.id", "8"}, {"user.login_name", "carol"}, {"user.locale", "1031"}, {"contact.id", "30"},
      {"contact.title", "Buyer"}, {"first_name", "Carol"}, {"email", "carol@example.com"}, {"pager", ""},
      {"fax", "555-0201"}, {"site.name", "Branch"}, {"employee.id", "0"}, {"page_class.id", "0"},
      {"employee.first_name", "Bea"}, {"employee.employee.id", "17"},
  });
  KZString key("default queue.i_value");
  EXPECT_EQ(ctx.GetConfigValue(key).vt, KVT_EMPTY); // boss's own items are not carol's
}

TEST_F(UsrContextDb, WebUsersOfEachKind) {
  struct Case {
    const char* login;
    long kind;
    const char* associate;
    std::vector<Expect> items;
  };
  const Case cases[] = {
      {"web1", USR_KIND_WEB_CONTACT_ONLY, "", {{"web_user.id", "101"}, {"contact.id", "31"}, {"first_name", "Dan"},
                                              {"site.name", "Branch"}, {"user.id", ""}}},
      {"web1", USR_KIND_WEB_CONTACT_ONLY, "boss", {{"user.id", "7"}, {"contact.first_name", "Dan"},
                                                  {"employee.first_name", "Bea"}}},
      {"web2", USR_KIND_WEB_CONTACT_USER, "", {{"web_user.id", "102"}, {"user.id", "8"}, {"first_name", "Carol"}}},
      {"web3", USR_KIND_WEB_EMPLOYEE_USER, "31", {{"web_user.id", "103"}, {"user.id", "7"}, {"first_name", "Bea"},
                                                  {"contact.first_name", "Dan"}}},
      {"WEB3", USR_KIND_WEB_EMPLOYEE_USER, "", {{"user.id", "7"}}},
  };
  for (const Case& c : cases) {
    KUsrContext ctx(c.login, "", std::string(c.login) == "WEB3", c.kind, c.associate, 0);
    login(ctx, c.kind);
    for (const Expect& e : c.items) EXPECT_EQ(item(ctx, e.item), e.value) << c.login << " " << e.item;
  }
}

TEST_F(UsrContextDb, LoginsThatFindNothing) {
  struct Case {
    const char* login;
    long kind;
    const char* associate;
    long code;
  };
  const Case cases[] = {
      {"x' OR '1'='1", USR_KIND_EMPLOYEE, "", KERR_VALIDATE_USER},   // a quote stays inside the literal
      {"BOSS", USR_KIND_EMPLOYEE, "", KERR_VALIDATE_USER},           // case-sensitive without the flag
      {"carol", USR_KIND_CONTACT, "nobody", KERR_ASSOCIATE_UNKNOWN},
      {"boss", USR_KIND_EMPLOYEE, "999", KERR_ASSOCIATE_UNKNOWN},    // no such contact
      {"web4", USR_KIND_WEB_EMPLOYEE_USER, "30", KERR_USER_AND_CONTACT},
  };
  for (const Case& c : cases) {
    KUsrContext ctx(c.login, "", 0, c.kind, c.associate, 0);
    auto t = catchKErr([&] { login(ctx, c.kind); });
    EXPECT_EQ(t.id, c.code) << c.login;
  }
}

} // namespace
