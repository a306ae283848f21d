// The rule builder's type-77 objects: change notices (stored at once without
// a state, with the state's save otherwise) and the object a bomb relates to.
#include <vector>

#include "client/com/com_rbld.h"
#include "client/crm_rig.h"
#include "client/oab/oab_main.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_state.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"
#include "store/dbs_qry.h"

namespace {

constexpr long kEq = 4;  // the store's "equal to"

class com_rbld_bomb_test : public crm_test {
 protected:
  void SetUp() override {
    crm_test::SetUp();
    set_secure_flag(false);
    ASSERT_EQ(com_rbld_init(), 0);
    row(S_RULE, 41, {{1, std::string("Escalate")}, {8, 1L}});
    row(S_USER, 20, {{1, std::string("eve")}});
    row(S_WIPBIN, 9, {{1, std::string("Queue 9")}});
  }
  static dbs_ty_lobj* read(long type, long number) {
    dbs_ty_lobj* o = nullptr;
    EXPECT_EQ(dbs_obj_make(nullptr, type, &o), 0);
    EXPECT_EQ(dbs_fld_set_local(o, 0, &number, 1), 0);
    return o;
  }
  // The changed ids of the stored notices of a kind.
  static std::vector<long> stored(long word) {
    utl_ty_col* found = nullptr;
    EXPECT_EQ(utl_col_make("t", CMN_TYP_VOID_P, 4, 4, 0, 0, &found), 0);
    dbs_ty_qry_cond cond{8, kEq, word};
    dbs_ty_qry_desc desc{S_BOMB, 1, &cond, 0};
    EXPECT_EQ(dbs_qry_simple(oab_db_con_id, &desc, nullptr, nullptr, found), 0);
    std::vector<long> ids;
    for (long i = 0; i < found->count; ++i) {
      long v = 0;
      dbs_fld_get(reinterpret_cast<dbs_ty_lobj**>(found->array)[i], 1, &v, nullptr);
      ids.push_back(v);
    }
    dbs_obj_free_local_col(nullptr, found);
    return ids;
  }
};

TEST_F(com_rbld_bomb_test, WithoutAStateEachKindIsStoredAtOnce) {
  const struct {
    long (*notify)(ost_ty_state*, dbs_ty_lobj*);
    long type, number, word;
  } rows[] = {{com_rbld_rule_changed, S_RULE, 41, COM_RULE_CHANGED},
              {com_rbld_user_notif_changed, S_USER, 20, COM_USER_NOTIF_CHANGED},
              {com_rbld_queue_changed, S_WIPBIN, 9, COM_QUEUE_CHANGED}};
  for (const auto& r : rows) {
    dbs_ty_lobj* changed = read(r.type, r.number);
    ASSERT_EQ(r.notify(nullptr, changed), 0);
    dbs_obj_free_local("t", changed);
    EXPECT_EQ(stored(r.word), std::vector<long>{r.number}) << r.word;
  }
}

TEST_F(com_rbld_bomb_test, InAStateTheNoticeWaitsForTheSave) {
  ost_ty_state* s = nullptr;
  ASSERT_EQ(ost_state_create("notices", oab_db_con_id, 0, nullptr, nullptr, 0, &s), 0);
  dbs_ty_lobj* rule = read(S_RULE, 41);
  ASSERT_EQ(com_rbld_rule_changed(s, rule), 0);
  dbs_obj_free_local("t", rule);
  EXPECT_TRUE(stored(COM_RULE_CHANGED).empty());
  ASSERT_EQ(ost_state_save(s, 0), 0);
  EXPECT_EQ(stored(COM_RULE_CHANGED), std::vector<long>{41});
  EXPECT_TRUE(stored(COM_QUEUE_CHANGED).empty());
  ost_state_abort(s, 0);
}

}  // namespace

namespace {

constexpr long kSite2Employee = 0;

TEST_F(com_rbld_bomb_test, TheOneRelatedObjectOrAZeroId) {
  row(S_SITE, 30, {{1, std::string("S30")}});
  row(S_SITE, 31, {{1, std::string("S31")}});
  row(S_SITE, 32, {{1, std::string("S32")}});
  row(S_EMPLOYEE, 5, {{1, std::string("Ann")}});
  row(S_EMPLOYEE, 6, {{1, std::string("Bob")}});
  row(S_EMPLOYEE, 7, {{1, std::string("Cid")}});
  fk(S_EMPLOYEE, 5, "employee2site", 31);
  fk(S_EMPLOYEE, 6, "employee2site", 32);
  fk(S_EMPLOYEE, 7, "employee2site", 32);
  const struct {
    long site, status, employee;
  } rows[] = {{30, 0, 0}, {31, 0, 5}, {32, COM_SEVERAL_RELATED, 0}};
  for (const auto& r : rows) {
    obj_id site{S_SITE, r.site, 0};
    obj_id out{1, 1, 1};
    EXPECT_EQ(com_rbld_get_obj_id(&site, kSite2Employee, &out), r.status) << r.site;
    EXPECT_EQ(out.num, r.employee) << r.site;
    EXPECT_EQ(out.type, r.employee != 0 ? S_EMPLOYEE : 0) << r.site;
  }
}

}  // namespace
