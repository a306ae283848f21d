// Time bombs on the CRM rig: raised by activity codes with and without a
// state, the ids of objects made in the same state, the derived second
// object, the pending list across states, and the bombs of a rule and of an
// activity entry found and deleted.
#include <string>
#include <vector>

#include "client/com/com_rbld.h"
#include "client/com/com_rbld_bomb.h"
#include "client/com/com_rbld_fld.h"
#include "client/crm_rig.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_state.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "store/dbs_obj.h"

namespace {

constexpr long kSite2ActEntry = 21;
constexpr long kNoRel = 0;

class com_rbld_timebomb_test : public crm_test {
 protected:
  void SetUp() override {
    crm_test::SetUp();
    set_secure_flag(false);
    ASSERT_EQ(com_rbld_init(), 0);
    for (long site : {30, 31, 32}) row(S_SITE, site, {{1, "S" + std::to_string(site)}});
    row(S_EMPLOYEE, 30, {{1, std::string("Ann")}});
    for (long entry : {5, 6, 7}) row(S_ACT_ENTRY, entry, {{1, 100L}});
    fk(S_ACT_ENTRY, 5, "act_entry2site", 31);
    fk(S_ACT_ENTRY, 6, "act_entry2site", 32);
    fk(S_ACT_ENTRY, 7, "act_entry2site", 32);
    row(S_RULE, 41, {{1, std::string("Escalate")}, {8, 1L}});
    row(S_RULE, 42, {{1, std::string("Other")}, {8, 1L}});
  }
  void TearDown() override {
    for (dbs_ty_lobj* o : objects_) dbs_obj_free_local("t", o);
    for (utl_ty_col* c : cols_) dbs_obj_free_local_col(nullptr, c);
    crm_test::TearDown();
  }
  dbs_ty_lobj* stored(long type, long number) {
    objects_.push_back(read(type, number));
    return objects_.back();
  }
  utl_ty_col* col() {
    utl_ty_col* c = nullptr;
    EXPECT_EQ(utl_col_make("t", CMN_TYP_VOID_P, 4, 4, 0, 0, &c), 0);
    cols_.push_back(c);
    return c;
  }
  static std::vector<long> bombs() {
    std::vector<long> out;
    for (long n = 1; n < 1000; ++n)
      if (adp_mem::has_row({S_BOMB, n, 0})) out.push_back(n);
    return out;
  }
  static std::string field(long bomb, long f) { return adp_mem::field_text({S_BOMB, bomb, 0}, f); }
  // A stored bomb: its event word, focus, second object and rule.
  static void bomb(long number, long word, long focus, long focus_type, long second, long rule) {
    row(S_BOMB, number, {{8, word}, {4, focus}, {5, focus_type}, {7, second}});
    if (rule) fk(S_BOMB, number, "time_bomb2com_tmplte", rule);
  }
  static std::vector<long> numbers(utl_ty_col* c) {
    std::vector<long> out;
    for (long i = 0; i < c->count; ++i) {
      dbs_ty_lobj* o = reinterpret_cast<dbs_ty_lobj**>(c->array)[i];
      out.push_back(o ? number_of(o) : 0);
    }
    return out;
  }

  std::vector<dbs_ty_lobj*> objects_;
  std::vector<utl_ty_col*> cols_;
};

TEST_F(com_rbld_timebomb_test, WithoutAStateTheBombIsStoredAtOnce) {
  const struct {
    long code, flags;
    long word;  // -1: no bomb
  } rows[] = {{100, 0, 2},
              {4800, 0x43, (2 << 16) + 2 + 0x40},
              {(7 << 16) | 300, 0x10000, (7 << 16) + 2},
              {20300, 0xFFC0, (47 << 16) + 2 + 0xFFC0},
              {555, 0, -1}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.code);
    std::vector<long> before = bombs();
    ASSERT_EQ(com_rbld_do_event_with_flags(oab_db_con_id, nullptr, stored(S_SITE, 30), r.code, stored(S_ACT_ENTRY, 5),
                                           kNoRel, r.flags, nullptr),
              0);
    std::vector<long> after = bombs();
    if (r.word < 0) {
      EXPECT_EQ(after, before);
      continue;
    }
    ASSERT_EQ(after.size(), before.size() + 1);
    long b = after.back();
    EXPECT_EQ(field(b, 4), "30");
    EXPECT_EQ(field(b, 5), std::to_string(S_SITE));
    EXPECT_EQ(field(b, 7), "5");
    EXPECT_EQ(field(b, 8), std::to_string(r.word));
    EXPECT_FALSE(field(b, 2).empty());
    EXPECT_EQ(field(b, 2), field(b, 3));
    EXPECT_EQ(adp_mem::fk_of({S_BOMB, b, 0}, "time_bomb2act_entry"), 5);
  }
  EXPECT_EQ(live_states(), 0);
  EXPECT_EQ(com_rbld_num_new_focus(), 0);
}

TEST_F(com_rbld_timebomb_test, ObjectsMadeInTheStateGiveTheirIdsAtTheSave) {
  ost_ty_state* s = new_state();
  dbs_ty_lobj* site = nullptr;
  dbs_ty_lobj* entry = nullptr;
  ASSERT_EQ(ost_obj_create("t", s, S_SITE, &site), 0);
  ASSERT_EQ(ost_obj_create("t", s, S_ACT_ENTRY, &entry), 0);
  dbs_ty_lobj* made = nullptr;
  ASSERT_EQ(com_rbld_do_event(oab_db_con_id, s, site, 300, entry, kNoRel, &made), 0);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(com_rbld_long_of(made, 4), 0);  // no id yet
  EXPECT_EQ(com_rbld_long_of(made, 8), (1 << 16) + 2);
  EXPECT_TRUE(bombs().empty());
  EXPECT_EQ(com_rbld_num_new_focus(), 1);
  ASSERT_EQ(ost_state_save(s, 0), 0);
  ASSERT_EQ(bombs().size(), 1u);
  long b = bombs()[0];
  ASSERT_NE(number_of(site), 0);
  EXPECT_EQ(field(b, 4), std::to_string(number_of(site)));
  EXPECT_EQ(field(b, 7), std::to_string(number_of(entry)));
  EXPECT_EQ(adp_mem::fk_of({S_BOMB, b, 0}, "time_bomb2act_entry"), number_of(entry));
  EXPECT_EQ(com_rbld_num_new_focus(), 0);
  ASSERT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(com_rbld_timebomb_test, TheSecondObjectIsTheOneRelatedToTheFocus) {
  const struct {
    long site, status, second;
  } rows[] = {{31, 0, 5}, {30, COM_NO_OBJECT_ID, 0}, {32, COM_NO_OBJECT_ID, 0}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.site);
    cmn_alrt_clear(nullptr);
    std::vector<long> before = bombs();
    EXPECT_EQ(com_rbld_do_event(oab_db_con_id, nullptr, stored(S_SITE, r.site), 100, nullptr, kSite2ActEntry, nullptr),
              r.status);
    std::vector<long> after = bombs();
    if (r.status != 0) {
      EXPECT_EQ(top_code(), COM_NO_OBJECT_ID);
      EXPECT_EQ(after, before);  // nothing stored without a second object
      continue;
    }
    ASSERT_EQ(after.size(), before.size() + 1);
    EXPECT_EQ(field(after.back(), 7), std::to_string(r.second));
  }
  EXPECT_EQ(live_states(), 0);
  EXPECT_EQ(com_rbld_num_new_focus(), 0);
}

TEST_F(com_rbld_timebomb_test, EachStateKeepsItsOwnPendingBombs) {
  ost_ty_state* dropped = new_state();
  ost_ty_state* first = new_state();
  ost_ty_state* second = new_state();
  dbs_ty_lobj* focus[3] = {};
  ost_ty_state* states[3] = {dropped, first, second};
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(ost_obj_create("t", states[i], S_SITE, &focus[i]), 0);
    ASSERT_EQ(com_rbld_do_event(oab_db_con_id, states[i], focus[i], 100, stored(S_ACT_ENTRY, 5), kNoRel, nullptr), 0);
  }
  EXPECT_EQ(com_rbld_num_new_focus(), 3);
  ASSERT_EQ(ost_state_abort(dropped, 0), 0);
  EXPECT_EQ(com_rbld_num_new_focus(), 2);
  ASSERT_EQ(ost_state_save(first, 0), 0);
  EXPECT_EQ(com_rbld_num_new_focus(), 1);  // the other state's bomb still waits
  ASSERT_EQ(ost_state_save(second, 0), 0);
  std::vector<long> stored_bombs = bombs();
  ASSERT_EQ(stored_bombs.size(), 2u);
  EXPECT_EQ(field(stored_bombs[0], 4), std::to_string(number_of(focus[1])));
  EXPECT_EQ(field(stored_bombs[1], 4), std::to_string(number_of(focus[2])));
  EXPECT_EQ(com_rbld_num_new_focus(), 0);
  ASSERT_EQ(ost_state_abort(first, 0), 0);
  ASSERT_EQ(ost_state_abort(second, 0), 0);
}

TEST_F(com_rbld_timebomb_test, TheBombsOfARuleByEventAndFocus) {
  bomb(1, (0 << 16) + 1, 30, S_SITE, 5, 41);
  bomb(2, (3 << 16) + 1, 31, S_SITE, 5, 41);
  bomb(3, (3 << 16) + 2, 31, S_SITE, 5, 41);  // an event raised, not a rule's bomb
  bomb(4, (3 << 16) + 1, 30, S_EMPLOYEE, 5, 41);
  bomb(5, (3 << 16) + 1, 31, S_SITE, 5, 42);
  std::vector<long> many;
  for (long e = 299; e >= 0; --e) many.push_back(e);  // more than 200 events
  const struct {
    std::vector<long> events;
    long focus_type, focus;  // 0: any focus
    long count;
  } rows[] = {{{3}, 0, 0, 2},          {{0, 3}, 0, 0, 3},           {{3}, S_SITE, 30, 0},
              {{3}, S_SITE, 31, 1},    {{3}, S_EMPLOYEE, 30, 1},    {many, 0, 0, 3},
              {{}, 0, 0, 0},           {{1, 2}, 0, 0, 0}};
  dbs_ty_lobj* rule = stored(S_RULE, 41);
  for (const auto& r : rows) {
    long count = -1;
    dbs_ty_lobj* focus = r.focus ? stored(r.focus_type, r.focus) : nullptr;
    ASSERT_EQ(com_rbld_find_bombs(rule, focus, r.events, &count, nullptr), 0);
    EXPECT_EQ(count, r.count) << r.events.size() << " " << r.focus;
  }
  utl_ty_col* found = col();
  long count = 0;
  ASSERT_EQ(com_rbld_find_bombs(rule, nullptr, {3}, &count, found), 0);
  EXPECT_EQ(numbers(found), (std::vector<long>{2, 4}));
}

TEST_F(com_rbld_timebomb_test, TheBombsOfAnActivityEntryByPatternAndMask) {
  bomb(1, 0x10042, 30, S_SITE, 5, 41);
  bomb(2, 0x10002, 30, S_SITE, 5, 0);
  bomb(3, 0x10046, 30, S_SITE, 5, 0);
  bomb(4, 0x10042, 30, S_SITE, 6, 0);  // another entry's
  const struct {
    long pattern, mask;
    std::vector<long> found;
  } rows[] = {{0x40, 0x40, {1, 3}}, {0, 0x40, {2}},     {0x42, 0x46, {1}},
              {0x46, 0x46, {3}},    {0x44, 0x44, {3}},  {0, 0, {1, 2, 3}}};
  obj_id entry{S_ACT_ENTRY, 5, 0};
  for (const auto& r : rows) {
    utl_ty_col* found = col();
    ASSERT_EQ(com_rbld_find_tb_by_actentry(oab_db_con_id, &entry, r.pattern, r.mask, found, nullptr), 0);
    EXPECT_EQ(numbers(found), r.found) << std::hex << r.pattern << " " << r.mask;
  }
  // With their rules: bomb 1 has rule 41, bomb 3 none.
  utl_ty_col* found = col();
  utl_ty_col* rules = col();
  ASSERT_EQ(com_rbld_find_tb_by_actentry(oab_db_con_id, &entry, 0x40, 0x40, found, rules), 0);
  EXPECT_EQ(numbers(rules), (std::vector<long>{41, 0}));

  // Deleted at once without a state, with the save through one.
  ASSERT_EQ(com_rbld_del_tb_by_actentry(oab_db_con_id, nullptr, &entry, 0x40, 0x40), 0);
  EXPECT_EQ(bombs(), (std::vector<long>{2, 4}));
  ost_ty_state* s = new_state();
  ASSERT_EQ(com_rbld_del_tb_by_actentry(oab_db_con_id, s, &entry, 0, 0x40), 0);
  EXPECT_EQ(bombs(), (std::vector<long>{2, 4}));
  ASSERT_EQ(ost_state_save(s, 0), 0);
  EXPECT_EQ(bombs(), std::vector<long>{4});
  ASSERT_EQ(ost_state_abort(s, 0), 0);
}

}  // namespace
