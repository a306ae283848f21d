// Rules saved through their own state on the CRM rig: the existence check,
// the flag toggles, the deletes of the save (plain and block form) with the
// new conditions and actions, a save failing after its deletes, the rule
// read back, the rule query and list values.
#include <algorithm>
#include <string>
#include <vector>

#include "client/com/com_rbld.h"
#include "client/com/com_rbld_fld.h"
#include "client/com/com_rbld_rule.h"
#include "client/crm_rig.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_state.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/loc/loc_reg.h"
#include "core/utl/utl_col.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"
#include "store/dbs_qry.h"

namespace {

constexpr long kEq = 4;
constexpr long kPlainServer = 0;
constexpr long kBlockServer = 2;
constexpr long kNoToggles[COM_NUM_TOGGLES] = {0, 0, 0, 0, 0};
constexpr long kFailedBatch = 0x70002f;

// The locale's region record, filled while the guard lives.
struct region_guard {
  region_guard() { EXPECT_EQ(loc_reg_init(), 0); }
  ~region_guard() { loc_reg_term(); }
};

class com_rbld_rule_test : public crm_test {
 protected:
  void SetUp() override {
    crm_test::SetUp();
    set_secure_flag(false);
    ASSERT_EQ(com_rbld_init(), 0);
    adp_double::set_table(S_RULE, "table_com_tmplte");
    adp_double::set_table(S_RULE_COND, "table_com_cond");
  }
  void TearDown() override {
    for (utl_ty_col* c : cols_) dbs_obj_free_local_col(nullptr, c);
    for (dbs_ty_lobj* o : objects_) dbs_obj_free_local("t", o);
    crm_test::TearDown();
  }

  // A stored rule, its conditions {number, kind, value} and its actions.
  static void stored_rule(long number, const std::string& name, const std::string& type) {
    row(S_RULE, number, {{1, name}, {6, type}, {8, 1L}, {3, 0L}});
  }
  static void stored_cond(long number, long rule, long kind, const std::string& prop, const std::string& value = "") {
    row(S_RULE_COND, number, {{1, kind}, {3, prop}, {5, value}});
    fk(S_RULE_COND, number, "parentrule2com_tmplte", rule);
  }
  static void stored_action(long number, long rule, const std::string& message) {
    row(S_RULE, number, {{1, std::string("act")}, {5, message}, {8, 2L}});
    fk(S_RULE, number, "escal_act2com_tmplte", rule);
  }
  // The numbers of the stored rows of a type whose key column holds rule.
  static std::vector<long> children(long type, const std::string& column, long rule) {
    std::vector<long> out;
    for (long n = 1; n < 1000; ++n)
      if (adp_mem::has_row({type, n, 0}) && adp_mem::fk_of({type, n, 0}, column) == rule) out.push_back(n);
    return out;
  }
  static std::vector<long> conds_of(long rule) { return children(S_RULE_COND, "parentrule2com_tmplte", rule); }
  static std::vector<long> actions_of(long rule) { return children(S_RULE, "escal_act2com_tmplte", rule); }

  dbs_ty_lobj* keep(dbs_ty_lobj* o) {
    objects_.push_back(o);
    return o;
  }
  utl_ty_col* col() {
    utl_ty_col* c = nullptr;
    EXPECT_EQ(utl_col_make("t", CMN_TYP_VOID_P, 4, 4, 0, 0, &c), 0);
    cols_.push_back(c);
    return c;
  }
  // A local object of the type with long and text fields (kept by the test
  // until it hands it to a collection).
  static dbs_ty_lobj* object(long type, const std::vector<std::pair<long, long>>& longs,
                             const std::vector<std::pair<long, std::string>>& texts) {
    dbs_ty_lobj* o = nullptr;
    EXPECT_EQ(dbs_obj_make(nullptr, type, &o), 0);
    for (const auto& [f, v] : longs) EXPECT_EQ(dbs_fld_set(o, f, &v), 0);
    for (const auto& [f, v] : texts) {
      const char* t = v.c_str();
      EXPECT_EQ(dbs_fld_set(o, f, &t), 0);
    }
    return o;
  }
  static void push(utl_ty_col* c, dbs_ty_lobj* o) { ASSERT_EQ(utl_col_push(c, &o, nullptr), 0); }
  static dbs_ty_lobj* new_rule(const std::string& name, const std::string& type) {
    return object(S_RULE, {}, {{1, name}, {6, type}});
  }
  // A condition as the host gives it: property, operator, value.
  static dbs_ty_lobj* cond(const std::string& prop, long op, const std::string& value) {
    return object(S_RULE_COND, {{2, op}}, {{3, prop}, {5, value}});
  }

  std::vector<utl_ty_col*> cols_;
  std::vector<dbs_ty_lobj*> objects_;
};

TEST_F(com_rbld_rule_test, TheExistenceCheckSkipsTheRuleItselfAndActions) {
  stored_rule(41, "Escalate", "case");
  stored_rule(42, "Escalate", "bug");
  row(S_RULE, 43, {{1, std::string("Notify")}, {6, std::string("case")}, {8, 2L}});  // an action
  const struct {
    long number;  // 0: a new rule
    const char* name;
    const char* type;
    long is_new, others;
  } rows[] = {{0, "Escalate", "case", 1, 1}, {41, "Escalate", "case", 0, 0}, {0, "Escalate", "site", 1, 0},
              {42, "Escalate", "case", 0, 1}, {0, "Notify", "case", 1, 0}};
  for (const auto& r : rows) {
    dbs_ty_lobj* rule = keep(r.number ? read(S_RULE, r.number) : new_rule(r.name, r.type));
    if (r.number) {
      const char* t = r.type;
      ASSERT_EQ(dbs_fld_set(rule, 6, &t), 0);
    }
    long n = -1;
    ASSERT_EQ(com_rbld_does_rule_exist(oab_db_con_id, rule, r.is_new, &n), 0);
    EXPECT_EQ(n, r.others) << r.number << " " << r.name << " " << r.type;
  }
  // A second rule with the same fields 1 and 6 is refused, no state made.
  cmn_alrt_clear(nullptr);
  ost_ty_state* s = reinterpret_cast<ost_ty_state*>(1);
  dbs_ty_lobj* twin = keep(new_rule("Escalate", "case"));
  EXPECT_EQ(com_rbld_add_mod_rule(oab_db_con_id, twin, 1, kNoToggles, &s), COM_RULE_EXISTS);
  EXPECT_EQ(s, nullptr);
  EXPECT_EQ(top_code(), COM_RULE_EXISTS);
  EXPECT_EQ(live_states(), 0);
  // Modifying rule 41 does not collide with itself.
  dbs_ty_lobj* own = read(S_RULE, 41);
  ASSERT_EQ(com_rbld_add_mod_rule(oab_db_con_id, own, 0, kNoToggles, &s), 0);
  ASSERT_EQ(com_rbld_commit_rule(s, own, COM_COMMIT_ABANDON), 0);
  keep(own);  // the caller's again
}

TEST_F(com_rbld_rule_test, ANewRuleGetsItsKindTheToggledFlagsAndAnId) {
  const struct {
    long start;
    long toggles[COM_NUM_TOGGLES];
    long flags;
  } rows[] = {{0, {1, 0, 1, 0, 1}, 0x800 | 0x2000 | 0x10000},
              {0x800 | 0x4000, {1, 1, 0, 1, 0}, 0x1000},
              {0x10000, {2, 0, 0, 0, 1}, 0},  // only 1 toggles
              {0x10000, {0, 0, 0, 0, 0}, 0x10000}};
  long name = 0;
  for (const auto& r : rows) {
    dbs_ty_lobj* rule = keep(new_rule("R" + std::to_string(++name), "case"));
    ASSERT_EQ(dbs_fld_set(rule, 3, &r.start), 0);
    ost_ty_state* s = nullptr;
    ASSERT_EQ(com_rbld_add_mod_rule(oab_db_con_id, rule, 1, r.toggles, &s), 0);
    ASSERT_EQ(com_rbld_commit_rule(s, rule, COM_COMMIT_ABANDON), 0);
    long number = number_of(rule);
    ASSERT_NE(number, 0);
    EXPECT_EQ(adp_mem::field_text({S_RULE, number, 0}, 3), std::to_string(r.flags)) << name;
    EXPECT_EQ(adp_mem::field_text({S_RULE, number, 0}, 8), "1");
    EXPECT_EQ(com_rbld_saved_rule(), rule);
  }
  EXPECT_EQ(live_states(), 0);
}

TEST_F(com_rbld_rule_test, ConditionsGetTheTypeTheirValueConvertsTo) {
  const struct {
    const char* value;
    long op, type;
  } rows[] = {{"12", 0, 1},         {"1.5", 3, 2},  {"12/25/2026 10:30:00", 1, 3}, {"high", 0, 0},
              {"12/25/2026", 12, 0}, {"1.5", 13, 0}, {"", 0, 0}};
  region_guard region;  // dates read in the region's format
  dbs_ty_lobj* rule = keep(new_rule("Typed", "case"));
  ost_ty_state* s = nullptr;
  ASSERT_EQ(com_rbld_add_mod_rule(oab_db_con_id, rule, 1, kNoToggles, &s), 0);
  utl_ty_col* given = col();
  for (const auto& r : rows) push(given, cond("severity", r.op, r.value));
  ASSERT_EQ(com_rbld_add_conds(s, rule, given), 0);
  ASSERT_EQ(com_rbld_add_events(s, rule, {"Create"}, {}, {}), 0);
  ASSERT_EQ(com_rbld_commit_rule(s, rule, COM_COMMIT_ABANDON), 0);
  std::vector<long> conds = conds_of(number_of(rule));
  ASSERT_EQ(conds.size(), std::size(rows) + 1);
  for (size_t i = 0; i < std::size(rows); ++i) {
    obj_id c{S_RULE_COND, conds[i], 0};
    EXPECT_EQ(adp_mem::field_text(c, 1), "4");
    EXPECT_EQ(adp_mem::field_text(c, 3), "severity");
    EXPECT_EQ(adp_mem::field_text(c, 4), "6");
    EXPECT_EQ(adp_mem::field_text(c, 2), std::to_string(rows[i].op));
    EXPECT_EQ(adp_mem::field_text(c, 5), rows[i].value);
    EXPECT_EQ(adp_mem::field_text(c, 6), std::to_string(rows[i].type)) << rows[i].value << " " << rows[i].op;
  }
  EXPECT_EQ(adp_mem::field_text({S_RULE_COND, conds.back(), 0}, 1), "2");
  EXPECT_EQ(adp_mem::field_text({S_RULE_COND, conds.back(), 0}, 3), "Create");
}

TEST_F(com_rbld_rule_test, EventsAndActionsAreRequired) {
  dbs_ty_lobj* rule = keep(new_rule("Empty", "case"));
  ost_ty_state* s = nullptr;
  ASSERT_EQ(com_rbld_add_mod_rule(oab_db_con_id, rule, 1, kNoToggles, &s), 0);
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(com_rbld_add_events(s, rule, {}, {"x"}, {"y"}), COM_NO_START_EVENT);
  EXPECT_EQ(top_code(), COM_NO_START_EVENT);
  EXPECT_EQ(com_rbld_add_actions(s, rule, col()), COM_NO_ACTION);
  EXPECT_EQ(top_code(), COM_NO_ACTION);
  EXPECT_EQ(com_rbld_add_actions(s, rule, nullptr), COM_NO_ACTION);
  long count = -1;
  ASSERT_EQ(ost_state_count(s, S_RULE_COND, &count), 0);
  EXPECT_EQ(count, 0);  // nothing added by the refused calls
  ASSERT_EQ(ost_obj_remove(s, rule, 0), 0);
  ASSERT_EQ(ost_state_abort(s, 0), 0);
}

// Rule 41 as stored: two conditions, three actions; rule 42 has its own.
class com_rbld_save_test : public com_rbld_rule_test {
 protected:
  void SetUp() override {
    com_rbld_rule_test::SetUp();
    stored_rule(41, "Escalate", "case");
    stored_cond(61, 41, 4, "severity", "1");
    stored_cond(62, 41, 2, "Create");
    stored_action(51, 41, "first");
    stored_action(52, 41, "second");
    stored_action(53, 41, "third");
    stored_rule(42, "Other", "case");
    stored_cond(63, 42, 2, "Close");
    stored_action(54, 42, "other");
  }
  // Rule 41 modified in its state: one new condition, one event, action 51
  // kept with a new message and one new action.
  ost_ty_state* modify(dbs_ty_lobj* rule) {
    ost_ty_state* s = nullptr;
    EXPECT_EQ(com_rbld_add_mod_rule(oab_db_con_id, rule, 0, kNoToggles, &s), 0);
    utl_ty_col* given = col();
    push(given, cond("priority", 4, "7"));
    EXPECT_EQ(com_rbld_add_conds(s, rule, given), 0);
    EXPECT_EQ(com_rbld_add_events(s, rule, {"Dispatch"}, {}, {}), 0);
    utl_ty_col* actions = col();
    dbs_ty_lobj* kept = read(S_RULE, 51);
    const char* changed = "first, changed";
    EXPECT_EQ(dbs_fld_set(kept, 5, &changed), 0);
    push(actions, kept);
    com_ty_action added;
    added.kind = 2;
    added.message = "added";
    added.to = "ann";
    dbs_ty_lobj* fresh = object(S_RULE, {}, {});
    EXPECT_EQ(com_rbld_fill_action(fresh, added), 0);
    push(actions, fresh);
    EXPECT_EQ(com_rbld_add_actions(s, rule, actions), 0);
    return s;
  }
  // Saves the modified rule 41 on a server of the type and checks the rows
  // and the two statements (the kept ids in state order).
  void check_save(long server, const std::string& conds_sql, const std::string& head, const std::string& tail) {
    adp_store::st().server_type = server;
    dbs_ty_lobj* rule = keep(read(S_RULE, 41));
    ost_ty_state* s = modify(rule);
    ASSERT_EQ(com_rbld_commit_rule(s, rule, COM_COMMIT_ABANDON), 0);
    EXPECT_EQ(live_states(), 0);
    std::vector<long> actions = actions_of(41);
    ASSERT_EQ(actions.size(), 2u);
    long added = actions[0] == 51 ? actions[1] : actions[0];
    EXPECT_NE(std::find(actions.begin(), actions.end(), 51), actions.end());
    EXPECT_EQ(adp_mem::field_text({S_RULE, 51, 0}, 5), "first, changed");
    EXPECT_EQ(adp_mem::field_text({S_RULE, added, 0}, 5), "TO:ann \nadded");
    for (long gone : {52, 53}) EXPECT_FALSE(adp_mem::has_row({S_RULE, gone, 0})) << gone;
    std::vector<long> conds = conds_of(41);
    ASSERT_EQ(conds.size(), 2u);
    std::vector<std::string> props;
    for (long c : conds) props.push_back(adp_mem::field_text({S_RULE_COND, c, 0}, 3));
    std::sort(props.begin(), props.end());
    EXPECT_EQ(props, (std::vector<std::string>{"Dispatch", "priority"}));
    EXPECT_EQ(conds_of(42), std::vector<long>{63});  // the other rule keeps its own
    EXPECT_EQ(actions_of(42), std::vector<long>{54});
    std::vector<std::string> sql = statements();
    ASSERT_EQ(sql.size(), 2u);
    EXPECT_EQ(sql[0], conds_sql);
    EXPECT_EQ(sql[1], head + "51, " + std::to_string(added) + tail);
  }
  static std::vector<std::string> statements() {
    std::vector<std::string> out;
    for (const adp_double_call& c : adp_double::calls_of("adp_sql_exec_query")) out.push_back(c.args[1]);
    return out;
  }
};

TEST_F(com_rbld_save_test, TheSaveReplacesTheConditionsAndDropsActionsNotHeld) {
  check_save(kPlainServer, "delete from table_com_cond where parentrule2com_tmplte = 41",
             "delete from table_com_tmplte where escal_act2com_tmplte = 41\n and objid NOT IN (", ")\n");
}

TEST_F(com_rbld_save_test, TheBlockFormRunsInsideTheSavesTransaction) {
  check_save(kBlockServer, "BEGIN delete from table_com_cond where parentrule2com_tmplte = 41; END;",
             "BEGIN delete from table_com_tmplte where escal_act2com_tmplte = 41\n and objid NOT IN (", "); END; \n");
}

TEST_F(com_rbld_save_test, ASaveFailingAfterItsDeletesLeavesTheRuleAsItWas) {
  for (long server : {kPlainServer, kBlockServer}) {
    SCOPED_TRACE(server);
    adp_store::st().server_type = server;
    dbs_ty_lobj* rule = keep(read(S_RULE, 41));
    ost_ty_state* s = modify(rule);
    long commands = adp_mem::sql_commands();
    ost_state_db_fail(1);
    EXPECT_EQ(com_rbld_commit_rule(s, rule, COM_COMMIT_ABANDON), kFailedBatch);
    EXPECT_EQ(adp_mem::sql_commands() - commands, 2);  // both deletes ran before the batch failed
    EXPECT_EQ(conds_of(41), (std::vector<long>{61, 62}));
    EXPECT_EQ(actions_of(41), (std::vector<long>{51, 52, 53}));
    EXPECT_EQ(adp_mem::field_text({S_RULE, 51, 0}, 5), "first");
    EXPECT_EQ(adp_mem::trn_level(), 0);
    // The state is left to the caller, the rule still in it.
    ASSERT_EQ(ost_obj_remove(s, rule, 0), 0);
    ASSERT_EQ(ost_state_abort(s, 0), 0);
  }
  // A COMMIT inside the block would have kept the deletes past the undo.
  adp_mem::trn_begin();
  ASSERT_EQ(adp_mem::sql_command("BEGIN delete from table_com_cond where parentrule2com_tmplte = 41; COMMIT; END;"), 0);
  adp_mem::trn_rollback();
  EXPECT_TRUE(conds_of(41).empty());
}

TEST_F(com_rbld_save_test, TheRuleReadBackIntoItsLists) {
  dbs_ty_lobj* rule = keep(new_rule("Lists", "case"));
  ost_ty_state* s = nullptr;
  ASSERT_EQ(com_rbld_add_mod_rule(oab_db_con_id, rule, 1, kNoToggles, &s), 0);
  utl_ty_col* given = col();
  push(given, cond("severity", 0, "3"));
  push(given, cond("status", 12, "(open, closed)"));
  ASSERT_EQ(com_rbld_add_conds(s, rule, given), 0);
  ASSERT_EQ(com_rbld_add_events(s, rule, {"Create", "Close", "Create"}, {"queue"}, {"a", "b"}), 0);
  utl_ty_col* actions = col();
  push(actions, read(S_RULE, 52));  // a stored action of another rule becomes a copy
  com_ty_action pager;
  pager.kind = 3;
  pager.text = "page";
  pager.repeat = 2;
  pager.period = 60;
  dbs_ty_lobj* fresh = object(S_RULE, {}, {});
  ASSERT_EQ(com_rbld_fill_action(fresh, pager), 0);
  push(actions, fresh);
  ASSERT_EQ(com_rbld_add_actions(s, rule, actions), 0);
  ASSERT_EQ(com_rbld_commit_rule(s, rule, COM_COMMIT_ABANDON), 0);
  EXPECT_EQ(actions_of(41), (std::vector<long>{51, 52, 53}));  // 52 itself stays with rule 41

  com_ty_rule_lists lists;
  lists.conds = col();
  lists.actions = col();
  lists.kind1 = {"stale"};
  for (int round = 0; round < 2; ++round) {  // a second read replaces the first
    ASSERT_EQ(com_rbld_get_rule(rule, &lists), 0);
    EXPECT_EQ(lists.kind1, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(lists.events, (std::vector<std::string>{"Create", "Close"}));
    EXPECT_EQ(lists.kind3, (std::vector<std::string>{"queue"}));
    ASSERT_EQ(lists.conds->count, 2);
    std::vector<std::string> props;
    for (long i = 0; i < 2; ++i)
      props.push_back(com_rbld_text_of(reinterpret_cast<dbs_ty_lobj**>(lists.conds->array)[i], 3));
    EXPECT_EQ(props, (std::vector<std::string>{"severity", "status"}));
    ASSERT_EQ(lists.actions->count, 2);
    com_ty_action back;
    ASSERT_EQ(com_rbld_decompose_action(reinterpret_cast<dbs_ty_lobj**>(lists.actions->array)[0], &back), 0);
    EXPECT_EQ(back.message, "second");
    ASSERT_EQ(com_rbld_decompose_action(reinterpret_cast<dbs_ty_lobj**>(lists.actions->array)[1], &back), 0);
    EXPECT_EQ(back.kind, 3);
    EXPECT_EQ(back.text, "page");
    EXPECT_EQ(back.period, 60);
  }
  // A rule without conditions or actions reads back empty.
  dbs_ty_lobj* bare = keep(read(S_RULE, 42));
  stored_rule(44, "Bare", "case");
  dbs_ty_lobj* none = keep(read(S_RULE, 44));
  ASSERT_EQ(com_rbld_get_rule(none, &lists), 0);
  EXPECT_TRUE(lists.events.empty() && lists.kind1.empty() && lists.kind3.empty());
  EXPECT_EQ(lists.conds->count, 0);
  EXPECT_EQ(lists.actions->count, 0);
  ASSERT_EQ(com_rbld_get_rule(bare, &lists), 0);
  EXPECT_EQ(lists.events, std::vector<std::string>{"Close"});
}

TEST_F(com_rbld_save_test, RulesByConditionAndStartEvent) {
  stored_rule(43, "Third", "case");
  stored_cond(64, 43, 4, "severity", "1");
  stored_cond(65, 43, 2, "Close");
  stored_cond(66, 42, 4, "severity", "2");
  stored_cond(67, 42, 3, "severity");  // not an ordinary condition
  stored_cond(68, 43, 1, "Create");    // nor a start event
  const char* severity = "severity";
  const char* one = "1";
  dbs_ty_qry_cond by_value[] = {{3, kEq, reinterpret_cast<long>(severity)}, {5, kEq, reinterpret_cast<long>(one)}};
  dbs_ty_qry_cond by_prop[] = {{3, kEq, reinterpret_cast<long>(severity)}};
  dbs_ty_qry_desc value_desc{S_RULE_COND, 2, by_value, 0};
  dbs_ty_qry_desc prop_desc{S_RULE_COND, 1, by_prop, 0};
  const struct {
    const dbs_ty_qry_desc* desc;
    std::vector<std::string> events;
    std::vector<long> rules;
  } rows[] = {{&value_desc, {}, {41, 43}},        {&value_desc, {"Close"}, {43}},
              {nullptr, {"Create"}, {41}},        {nullptr, {"Create", "Close"}, {41, 42, 43}},
              {&prop_desc, {"Close"}, {42, 43}},  {nullptr, {}, {41, 42, 43}},
              {&value_desc, {"Nothing"}, {}}};
  for (const auto& r : rows) {
    std::vector<long> found = {99};
    ASSERT_EQ(com_rbld_qry_rules(r.desc, r.events, &found), 0);
    EXPECT_EQ(found, r.rules) << (r.desc == &value_desc) << " " << r.events.size();
  }
}

TEST_F(com_rbld_rule_test, ListValuesAndTheirText) {
  const struct {
    const char* text;
    std::vector<std::string> items;
    const char* list;
  } rows[] = {{"(open, closed)", {"open", "closed"}, "('open','closed')"},
              {"o'brien, x", {"o'brien", "x"}, "('o''brien','x')"},
              {"a 'b c' d", {"a", "b c", "d"}, "('a','b c','d')"},
              {"()", {}, "()"},
              {"", {}, "()"}};
  for (const auto& r : rows) {
    std::vector<std::string> items = {"stale"};
    std::string list;
    ASSERT_EQ(com_rbld_convert_to_list(r.text, &items, &list), 0) << r.text;
    EXPECT_EQ(items, r.items) << r.text;
    EXPECT_EQ(list, r.list) << r.text;
  }
  std::vector<std::string> items;
  std::string too_long = "(" + std::string(600, 'x') + ")";
  EXPECT_NE(com_rbld_convert_to_list(too_long.c_str(), &items, nullptr), 0);
  EXPECT_TRUE(items.empty());
  cmn_alrt_clear(nullptr);
}

}  // namespace
