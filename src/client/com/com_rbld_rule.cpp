// A rule's save: the existence check, the rule state, its commit and the
// deletes the state's save runs before the new conditions and actions are
// written.
#include "client/com/com_rbld_rule.h"

#include <vector>

#include "client/com/com_rbld.h"
#include "client/com/com_rbld_fld.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_state.h"
#include "core/cmn/cmn_alrt.h"
#include "schema/typ_acc.h"
#include "schema/typ_rec.h"
#include "store/dbs_main.h"
#include "store/dbs_obj.h"
#include "store/dbs_qry.h"
#include "store/dbs_sql.h"

namespace {

constexpr long kEq = 4;
constexpr long kNe = 5;
constexpr long kObjidField = TYP_GENERIC | 3;
constexpr long kBlockServer = 2;  // server-type bit of the block form
constexpr long kActionKinds[] = {2, 3, 4};

dbs_ty_lobj* com_rbld_saved_rule_hdl = nullptr;

long word_of(dbs_ty_lobj* o, long field) {
  long v = 0;
  dbs_fld_get(o, field, &v, nullptr);
  return v;
}

long kind_and_flags(dbs_ty_lobj* rule, const long toggles[COM_NUM_TOGGLES]) {
  long kind = COM_KIND_RULE;
  if (long st = dbs_fld_set(rule, COM_FLD_RULE_KIND, &kind)) return st;
  long flags = com_rbld_long_of(rule, COM_FLD_RULE_FLAGS);
  for (long i = 0; toggles != nullptr && i < COM_NUM_TOGGLES; ++i)
    if (toggles[i] == 1) flags ^= COM_RULE_TOGGLES[i];
  return dbs_fld_set(rule, COM_FLD_RULE_FLAGS, &flags);
}

long type_of(dbs_ty_lobj* o) {
  long t = 0;
  dbs_obj_type(o, &t);
  return t & DBS_OID_TYPE_MASK;
}

bool is_action(dbs_ty_lobj* o) {
  long kind = com_rbld_long_of(o, COM_FLD_RULE_KIND);
  for (long k : kActionKinds)
    if (kind == k) return true;
  return false;
}

// The state's first rule (type 76, field 8 = 1) and the id numbers of its
// actions (type 76, field 8 of 2, 3 or 4).
dbs_ty_lobj* state_rule(ost_ty_state* s, std::vector<long>* kept) {
  dbs_ty_lobj* rule = nullptr;
  for (long i = 0; i < s->num_objects; ++i) {
    dbs_ty_lobj* o = s->object_array[i].handle;
    if (o == nullptr || type_of(o) != COM_RULE_TYPE) continue;
    obj_id id{};
    dbs_obj_oid_get(o, &id);
    if (rule == nullptr && com_rbld_long_of(o, COM_FLD_RULE_KIND) == COM_KIND_RULE) rule = o;
    else if (is_action(o) && id.num != 0) kept->push_back(id.num);
  }
  return rule;
}

long run(KAdpConnId* con, const std::string& text) { return dbs_sql_exec_command(con, "%s", text.c_str()); }

}  // namespace

long com_rbld_does_rule_exist(KAdpConnId* con, dbs_ty_lobj* rule, long is_new, long* count) {
  *count = 0;
  obj_id id{};
  if (long st = dbs_obj_oid_get(rule, &id)) return st;
  std::vector<dbs_ty_qry_cond> conds = {{COM_FLD_RULE_NAME, kEq, word_of(rule, COM_FLD_RULE_NAME)},
                                        {COM_FLD_RULE_OBJ_TYPE, kEq, word_of(rule, COM_FLD_RULE_OBJ_TYPE)},
                                        {COM_FLD_RULE_KIND, kEq, COM_KIND_RULE}};
  if (!is_new) conds.push_back({kObjidField, kNe, id.num});
  dbs_ty_qry_desc desc{COM_RULE_TYPE, static_cast<long>(conds.size()), conds.data(), 0};
  return dbs_qry_simple_num(con, &desc, count);
}

long com_rbld_add_mod_rule(KAdpConnId* con, dbs_ty_lobj* rule, long is_new, const long toggles[COM_NUM_TOGGLES],
                           ost_ty_state** state) {
  *state = nullptr;
  long others = 0;
  if (long st = com_rbld_does_rule_exist(con, rule, is_new, &others)) return st;
  if (others > 0) {
    cmn_alrt_push(nullptr, "com_rbld_add_mod_rule", COM_RULE_EXISTS, 0);
    return COM_RULE_EXISTS;
  }
  if (is_new) {
    if (long st = dbs_obj_change_to_new(rule)) return st;
  }
  ost_ty_cb_triple during{OST_CB_SAVE_OBJECT, com_rbld_during_save, 0};
  ost_ty_state* s = nullptr;
  if (long st = ost_state_create("Rule State", con, 1, &during, nullptr, 0, &s)) return st;
  long mode = is_new ? (OST_OBJ_GET_NEW | OST_OBJ_GET_CHANGE) : OST_OBJ_GET_CHANGE;
  long st = ost_obj_add(s, rule, mode);
  if (st == 0) st = kind_and_flags(rule, toggles);
  if (st != 0) {
    ost_obj_remove(s, rule, 0);  // the caller keeps its rule
    ost_state_abort(s, 0);
    return st;
  }
  *state = s;
  return 0;
}

long com_rbld_commit_rule(ost_ty_state* state, dbs_ty_lobj* rule, long options) {
  if (long st = ost_state_save(state, 0)) return st;
  if (long st = ost_obj_remove(state, rule, 0)) return st;
  if (options & COM_COMMIT_ABANDON) return ost_state_abort(state, 0);
  return 0;
}

long com_rbld_during_save(ost_ty_state* s, long, long, long, long, long* answer) {
  if (answer != nullptr) *answer = 0;
  std::vector<long> kept;
  dbs_ty_lobj* rule = state_rule(s, &kept);
  if (rule == nullptr) return 0;
  obj_id id{};
  if (long st = dbs_obj_oid_get(rule, &id)) return st;
  bool block = (dbs_main_server_type() & kBlockServer) != 0;
  const char* conds = nullptr;
  if (long st = typ_sch_tbl_find(COM_COND_TYPE, &conds)) return st;
  if (long st = run(s->db_con, com_rbld_cond_delete_sql(conds, id.num, block))) return st;
  com_rbld_saved_rule_hdl = rule;
  const char* rules = nullptr;
  if (long st = typ_sch_tbl_find(COM_RULE_TYPE, &rules)) return st;
  return run(s->db_con, com_rbld_action_delete_sql(rules, id.num, kept, block));
}

dbs_ty_lobj* com_rbld_saved_rule() { return com_rbld_saved_rule_hdl; }
