// A rule's conditions, start events and actions added to its state.
#include <string>
#include <vector>

#include "client/com/com_rbld.h"
#include "client/com/com_rbld_fld.h"
#include "client/com/com_rbld_rule.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_rel.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_col.h"
#include "store/dbs_obj.h"

namespace {

constexpr long kFldKind = 1;
constexpr long kFldOperator = 2;
constexpr long kFldProperty = 3;
constexpr long kFldF4 = 4;
constexpr long kFldValue = 5;
constexpr long kFldValueType = 6;
constexpr long kOrdinaryF4 = 6;

// A new condition of the rule in the state: its kind and field 3.
long new_cond(const char* owner, ost_ty_state* s, dbs_ty_lobj* rule, long kind, const std::string& value,
              dbs_ty_lobj** out) {
  if (long st = ost_obj_create(owner, s, COM_COND_TYPE, out)) return st;
  if (long st = com_rbld_set_long(*out, kFldKind, kind)) return st;
  if (long st = com_rbld_set_text(*out, kFldProperty, value)) return st;
  return ost_obj_relate_byhndl(s, rule, *out, COM_RULE2COND);
}

long ordinary_cond(ost_ty_state* s, dbs_ty_lobj* rule, dbs_ty_lobj* given) {
  long op = com_rbld_long_of(given, kFldOperator);
  std::string value = com_rbld_text_of(given, kFldValue);
  dbs_ty_lobj* c = nullptr;
  if (long st = new_cond("com_rbld_add_conds", s, rule, COM_COND_ORDINARY, com_rbld_text_of(given, kFldProperty), &c))
    return st;
  const long longs[][2] = {{kFldF4, kOrdinaryF4},
                           {kFldOperator, op},
                           {kFldValueType, com_rbld_convert_to_types(value.c_str(), op)}};
  for (const auto& f : longs)
    if (long st = com_rbld_set_long(c, f[0], f[1])) return st;
  return com_rbld_set_text(c, kFldValue, value);
}

// An action of the rule in the state: a stored action of a stored rule as a
// copy of it, any other as a new object made from it.
long state_action(ost_ty_state* s, dbs_ty_lobj* action, bool rule_stored, dbs_ty_lobj** out) {
  obj_id id{};
  if (long st = dbs_obj_oid_get(action, &id)) return st;
  if (id.num != 0 && rule_stored) {
    if (long st = dbs_obj_copy(action, out)) return st;
    long st = ost_obj_add(s, *out, OST_OBJ_GET_CHANGE);
    if (st != 0) dbs_obj_free_local("com_rbld_add_actions", *out);
    return st;
  }
  if (long st = ost_obj_create("com_rbld_add_actions", s, COM_RULE_TYPE, out)) return st;
  if (long st = dbs_obj_copy_no_make(action, *out)) return st;
  return dbs_obj_change_to_new(*out);
}

}  // namespace

long com_rbld_add_conds(ost_ty_state* s, dbs_ty_lobj* rule, utl_ty_col* conds) {
  for (long i = 0; conds != nullptr && i < conds->count; ++i)
    if (long st = ordinary_cond(s, rule, com_rbld_obj_at(conds, i))) return st;
  return 0;
}

long com_rbld_add_special_conds(ost_ty_state* s, dbs_ty_lobj* rule, long kind, const std::vector<std::string>& values) {
  for (const std::string& v : values) {
    dbs_ty_lobj* c = nullptr;
    if (long st = new_cond("com_rbld_add_special_conds", s, rule, kind, v, &c)) return st;
  }
  return 0;
}

long com_rbld_add_events(ost_ty_state* s, dbs_ty_lobj* rule, const std::vector<std::string>& events,
                         const std::vector<std::string>& kind3, const std::vector<std::string>& kind1) {
  if (events.empty()) {
    cmn_alrt_push(nullptr, "com_rbld_add_events", COM_NO_START_EVENT, 0);
    return COM_NO_START_EVENT;
  }
  if (long st = com_rbld_add_special_conds(s, rule, COM_COND_START_EVENT, events)) return st;
  if (long st = com_rbld_add_special_conds(s, rule, COM_COND_KIND3, kind3)) return st;
  return com_rbld_add_special_conds(s, rule, COM_COND_KIND1, kind1);
}

long com_rbld_add_actions(ost_ty_state* s, dbs_ty_lobj* rule, utl_ty_col* actions) {
  if (actions == nullptr || actions->count == 0) {
    cmn_alrt_push(nullptr, "com_rbld_add_actions", COM_NO_ACTION, 0);
    return COM_NO_ACTION;
  }
  obj_id rule_id{};
  if (long st = dbs_obj_oid_get(rule, &rule_id)) return st;
  for (long i = 0; i < actions->count; ++i) {
    dbs_ty_lobj* a = nullptr;
    if (long st = state_action(s, com_rbld_obj_at(actions, i), rule_id.num != 0, &a)) return st;
    if (long st = ost_obj_relate_byhndl(s, a, rule, COM_ACTION2RULE)) return st;
  }
  return 0;
}
