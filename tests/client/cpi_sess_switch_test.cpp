// Acting as another user and back on the CRM rig: the session globals of
// the user, its employee and its relative follow the switch, the real user
// is kept across switches, and a failed lookup changes nothing.
#include <gtest/gtest.h>

#include <string>

#include "client/cpi/cpi_int.h"
#include "client/cpi_sess.h"
#include "client/crm_rig.h"
#include "client/oab/oab_db.h"
#include "client/oab/oab_glb.h"
#include "client/oab/oab_rel.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "store/dbs_obj.h"

namespace {


// Who the session globals say the user is.
struct seen_user {
  std::string login;
  long user = 0;
  long employee_id = 0;
  long employee = 0;
  long relative = 0;
  bool operator==(const seen_user&) const = default;
};

std::ostream& operator<<(std::ostream& os, const seen_user& s) {
  return os << s.login << " user " << s.user << " employee " << s.employee_id << "/" << s.employee << " wipbin "
            << s.relative;
}

class cpi_sess_switch_test : public crm_test {
 protected:
  void SetUp() override {
    crm_test::SetUp();
    ASSERT_EQ(cpi_str_init(), 0);  // the module's texts, whatever ran before
    set_secure_flag(false);
    ASSERT_EQ(oab_rel_init(), 0);
    const long off = 0;
    ASSERT_EQ(oab_glb_main_set_variable(OAB_GLB_SWITCHED, OAB_GLB_LONG, &off), 0);
    // ann (1), bob (2) and carl (3), each with employee 10+n and wipbin 20+n.
    for (long n : {1L, 2L, 3L}) person(n, kNames[n]);
    row(S_USER, 4, {{1, std::string("dora")}});  // no employee
    long flag = 0;
    ASSERT_EQ(oab_db_user_login("crm", "ann", "secret", &flag), 0);
    ASSERT_EQ(oab_glb_main_set_variable(OAB_GLB_REAL_USER_ID, OAB_GLB_OID, &kAnn), 0);
  }
  static void person(long n, const char* login) {
    row(S_USER, n, {{1, std::string(login)}});
    row(S_EMPLOYEE, 10 + n, {{1, std::string(login) + " employee"}});
    fk(S_USER, n, "user2employee", 10 + n);
    row(S_WIPBIN, 20 + n, {{1, std::string(login) + " wipbin"}});
    fk(S_USER, n, "user2wipbin", 20 + n);
  }
  static seen_user expected(long n) { return seen_user{kNames[n], n, 10 + n, 10 + n, 20 + n}; }
  static long object_global(long number) {
    dbs_ty_lobj* o = nullptr;
    if (oab_glb_main_get_variable(number, OAB_GLB_OBJ, &o) != 0 || o == nullptr) return 0;
    long n = number_of(o);
    dbs_obj_free_local("test", o);
    return n;
  }
  static long id_global(long number) {
    obj_id id{};
    oab_glb_main_get_variable(number, OAB_GLB_OID, &id);
    return id.num;
  }
  static std::string text_global(long number) {
    char* text = nullptr;
    oab_glb_main_get_variable(number, OAB_GLB_TEXT, &text);
    return text != nullptr ? text : "";
  }
  static long switched() {
    long flag = -1;
    oab_glb_main_get_variable(OAB_GLB_SWITCHED, OAB_GLB_LONG, &flag);
    return flag;
  }
  static seen_user seen() {
    return seen_user{text_global(OAB_GLB_LOGIN), id_global(OAB_GLB_USER_ID), id_global(OAB_GLB_EMPLOYEE_ID),
                     object_global(OAB_GLB_EMPLOYEE), object_global(OAB_GLB_USER_RELATIVE)};
  }
  static long con_value() { return cpi_con_value(con()); }
  static long alert_count() {
    long n = 0;
    cmn_alrt_num(nullptr, &n);
    return n;
  }
  static void fill_cache() {
    ASSERT_EQ(utl_col_make("test", CMN_TYP_LONG, 1, 4, 0, 0, &cpi_sess_cache_elem_col), 0);
  }
  static constexpr const char* kNames[] = {"", "ann", "bob", "carl"};
  static constexpr obj_id kAnn{S_USER, 1, 0};
};

TEST_F(cpi_sess_switch_test, SwitchesKeepTheRealUserAndRevertRestoresIt) {
  ASSERT_EQ(seen(), expected(1));
  fill_cache();
  ASSERT_EQ(cpi_sess_switch_user("ann", "bob", con_value()), 0);
  EXPECT_EQ(seen(), expected(2));
  EXPECT_EQ(switched(), 1);
  EXPECT_EQ(text_global(OAB_GLB_REAL_LOGIN), "ann");
  EXPECT_EQ(id_global(OAB_GLB_REAL_USER_ID), 1);
  EXPECT_EQ(cpi_sess_cache_elem_col, nullptr);  // the caches are dropped
  // A second switch still remembers ann as the real user.
  ASSERT_EQ(cpi_sess_switch_user("bob", "carl", con_value()), 0);
  EXPECT_EQ(seen(), expected(3));
  EXPECT_EQ(text_global(OAB_GLB_REAL_LOGIN), "ann");
  EXPECT_EQ(id_global(OAB_GLB_REAL_USER_ID), 1);
  fill_cache();
  char login[128] = "?";
  ASSERT_EQ(cpi_sess_revert_user(login), 0);
  EXPECT_STREQ(login, "ann");
  EXPECT_EQ(seen(), expected(1));
  EXPECT_EQ(object_global(OAB_GLB_USER), 1);
  EXPECT_EQ(switched(), 0);
  EXPECT_EQ(cpi_sess_cache_elem_col, nullptr);
  EXPECT_EQ(cpi_sess_revert_user(nullptr), 0);  // no name wanted
}

TEST_F(cpi_sess_switch_test, AFailedSwitchChangesNothing) {
  const struct {
    const char *current, *next;
    long con_offset;
    long code;
    long alerts;
    const char* printed;
  } rows[] = {
      {"nobody", "bob", 0, CPI_ALRT_NO_LOGIN, 0, ""},
      {"ann", "nobody", 0, CPI_ALRT_NO_LOGIN, 0, "\nUser Name Can not be found\n"},
      {"dora", "bob", 0, CPI_ALRT_NO_EMPLOYEE, 0, ""},
      {"ann", "dora", 0, CPI_ALRT_NO_EMPLOYEE, 0, ""},
      // A query that fails ends the switch with its own code.
      {"ann", "bob", 1, CPI_ALRT_BAD_CON_ID, 1, "Error in querying. Printing alert stack:"},
  };
  for (const auto& r : rows) {
    cmn_alrt_clear(nullptr);
    testing::internal::CaptureStdout();
    long st = cpi_sess_switch_user(r.current, r.next, con_value() + r.con_offset);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(st, r.code) << r.current << " -> " << r.next;
    EXPECT_EQ(alert_count(), r.alerts) << r.current << " -> " << r.next;
    EXPECT_NE(out.find(r.printed), std::string::npos) << out;
    EXPECT_EQ(seen(), expected(1)) << r.current << " -> " << r.next;
    EXPECT_EQ(switched(), 0);
  }
  EXPECT_EQ(cpi_sess_switch_user(nullptr, "bob", con_value()), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(cpi_sess_switch_user("ann", nullptr, con_value()), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(seen(), expected(1));
}

TEST_F(cpi_sess_switch_test, RevertWithoutAStoredRealUserFailsAndKeepsTheUser) {
  const obj_id none{};
  ASSERT_EQ(oab_glb_main_set_variable(OAB_GLB_REAL_USER_ID, OAB_GLB_OID, &none), 0);
  char login[128] = "?";
  EXPECT_NE(cpi_sess_revert_user(login), 0);
  EXPECT_STREQ(login, "?");
  EXPECT_EQ(seen(), expected(1));
}

}  // namespace
