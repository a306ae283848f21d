// Business rules kept in the database: a rule (type 76, field 8 = 1) with
// its conditions (type 287), start events and actions (type 76, field 8 of
// 2, 3 or 4), saved through an object state of its own, read back into
// lists, and the rule query.
#pragma once

#include <string>
#include <vector>

class KAdpConnId;
struct dbs_ty_lobj;
struct ost_ty_state;
struct utl_ty_col;
struct dbs_ty_qry_desc;

// Relations of the rule type: its conditions (0, to type 287), its actions
// (1), an action's rule (2) and its time bombs (3, to type 77).
constexpr long COM_RULE2ACTION = 1;
constexpr long COM_ACTION2RULE = 2;
constexpr long COM_RULE2BOMB = 3;

// Rule fields.
constexpr long COM_FLD_RULE_NAME = 1;
constexpr long COM_FLD_RULE_FLAGS = 3;
constexpr long COM_FLD_RULE_OBJ_TYPE = 6;
constexpr long COM_FLD_RULE_KIND = 8;
constexpr long COM_KIND_RULE = 1;

// Condition kinds (field 1 of type 287).
constexpr long COM_COND_KIND1 = 1;
constexpr long COM_COND_KIND3 = 3;
constexpr long COM_COND_ORDINARY = 4;

// The flag bits add_mod_rule toggles, in the order of its arguments.
constexpr long COM_RULE_TOGGLES[] = {0x800, 0x1000, 0x2000, 0x4000, 0x10000};
constexpr long COM_NUM_TOGGLES = 5;

// How many rules other than this one (when it is not new) have its fields 1
// and 6.
long com_rbld_does_rule_exist(KAdpConnId* con, dbs_ty_lobj* rule, long is_new, long* count);
// Puts the rule into a new state "Rule State" whose save runs
// com_rbld_during_save: as a new object (is_new 1) or a changed one. Field 8
// becomes 1; each toggle equal to 1 flips its bit of field 3. A rule with the
// same fields 1 and 6: 0x3300006, nothing done.
long com_rbld_add_mod_rule(KAdpConnId* con, dbs_ty_lobj* rule, long is_new, const long toggles[COM_NUM_TOGGLES],
                           ost_ty_state** state);
// Saves the rule state; the rule object then leaves it (the caller keeps
// it). Option bit 0 also abandons the state. A failed save changes nothing.
constexpr long COM_COMMIT_ABANDON = 1;
long com_rbld_commit_rule(ost_ty_state* state, dbs_ty_lobj* rule, long options);
// Slot 13 of the rule state: inside the save's transaction, deletes the
// stored conditions of the state's rule and its stored actions the state
// does not hold.
long com_rbld_during_save(ost_ty_state* state, long a1, long a2, long a3, long arg, long* answer);
// The rule the last save wrote (null before any).
dbs_ty_lobj* com_rbld_saved_rule();

// New conditions of the rule in its state: one per type-287 object given
// (kind 4, its fields 2, 3 and 5, the value type its text converts to).
long com_rbld_add_conds(ost_ty_state* state, dbs_ty_lobj* rule, utl_ty_col* conds);
// One condition of the kind per value (field 3 the value).
long com_rbld_add_special_conds(ost_ty_state* state, dbs_ty_lobj* rule, long kind,
                                const std::vector<std::string>& values);
// Start events (kind 2, at least one: else 0x3300007), then the kind-3 and
// kind-1 values.
long com_rbld_add_events(ost_ty_state* state, dbs_ty_lobj* rule, const std::vector<std::string>& events,
                         const std::vector<std::string>& kind3, const std::vector<std::string>& kind1);
// The rule's actions (at least one: else 0x330000D), each related to the
// rule: a stored action of a stored rule as it is (its changes saved), any
// other as a new copy.
long com_rbld_add_actions(ost_ty_state* state, dbs_ty_lobj* rule, utl_ty_col* actions);

// A rule read back: the values of its kind-1, start-event and kind-3
// conditions (stored order, each once), its ordinary conditions and its
// actions (local objects the caller frees with the collections it gave).
struct com_ty_rule_lists {
  std::vector<std::string> kind1;
  std::vector<std::string> events;
  std::vector<std::string> kind3;
  utl_ty_col* conds = nullptr;    // made by the caller (objects)
  utl_ty_col* actions = nullptr;  // made by the caller (objects)
};
long com_rbld_get_rule(dbs_ty_lobj* rule, com_ty_rule_lists* out);
// Every condition of the rule, in id order, appended to conds.
long com_rbld_get_conds(dbs_ty_lobj* rule, utl_ty_col* conds);
// The rule's actions, in id order, appended to actions.
long com_rbld_get_actions(dbs_ty_lobj* rule, utl_ty_col* actions);

// The ids (numbers, ascending) of the rules with an ordinary condition that
// meets every condition of desc (on type 287; null or none: any) and with a
// start event among the values (none given: any).
long com_rbld_qry_rules(const dbs_ty_qry_desc* desc, const std::vector<std::string>& events,
                        std::vector<long>* rules);

// The items of a list operator's value ("(a, 'b c', d)" or "a b"), and the
// list as written back ("('a','b c','d')").
long com_rbld_convert_to_list(const char* text, std::vector<std::string>* items, std::string* list_text);
