// A rule read back into lists, the rule query and the values of a list
// operator.
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "client/com/com_rbld.h"
#include "client/com/com_rbld_fld.h"
#include "client/com/com_rbld_rule.h"
#include "client/oab/oab_main.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_col_set.h"
#include "store/dbs_obj.h"
#include "store/dbs_qry.h"

namespace {

constexpr long kColSlots = 10;
constexpr long kEq = 4;
constexpr long kFldKind = 1;
constexpr long kFldValue = 3;
constexpr long kCond2Rule = 0;
constexpr long kAsText = CMN_TYP_CHAR_P;  // each item quoted in the list text
constexpr long kListTextSize = 4 * (UTL_LIST_TEXT_MAX + 1);

long number_of(dbs_ty_lobj* o) {
  obj_id id{};
  dbs_obj_oid_get(o, &id);
  return id.num;
}

// The objects related to the rule through the relation, in id order,
// appended to out (those not handed over are freed).
long related(dbs_ty_lobj* rule, long rel, long type, utl_ty_col* out) {
  obj_id id{};
  if (long st = dbs_obj_oid_get(rule, &id)) return st;
  utl_ty_col* found = nullptr;
  if (long st = utl_col_make("com_rbld_get_rule", CMN_TYP_VOID_P, kColSlots, kColSlots, 0, 0, &found)) return st;
  dbs_ty_qry_desc target{type, 0, nullptr, 0};
  long st = dbs_qry_relation(oab_db_con_id, &id, rel, &target, nullptr, nullptr, found);
  if (st == 0 && found->count > 1) {
    dbs_ty_lobj** first = &com_rbld_obj_at(found, 0);
    std::stable_sort(first, first + found->count,
                     [](dbs_ty_lobj* a, dbs_ty_lobj* b) { return number_of(a) < number_of(b); });
  }
  for (long i = 0; st == 0 && i < found->count; ++i) {
    st = utl_col_push(out, &com_rbld_obj_at(found, i), nullptr);
    if (st == 0) com_rbld_obj_at(found, i) = nullptr;  // out's now
  }
  dbs_obj_free_local_col(nullptr, found);
  return st;
}

// The values in stored order, each once.
void first_of_each(std::vector<std::string>* values) {
  std::vector<std::string> kept;
  for (const std::string& v : *values)
    if (std::find(kept.begin(), kept.end(), v) == kept.end()) kept.push_back(v);
  *values = std::move(kept);
}

// The rules (numbers) of the conditions meeting the conditions given.
long rules_of_conds(std::vector<dbs_ty_qry_cond> conds, std::set<long>* rules) {
  utl_ty_col* found = nullptr;
  if (long st = utl_col_make("com_rbld_qry_rules", CMN_TYP_VOID_P, kColSlots, kColSlots, 0, 0, &found)) return st;
  dbs_ty_qry_desc desc{COM_COND_TYPE, static_cast<long>(conds.size()), conds.data(), 0};
  long st = dbs_qry_simple(oab_db_con_id, &desc, nullptr, nullptr, found);
  for (long i = 0; st == 0 && i < found->count; ++i) {
    obj_id cond{COM_COND_TYPE, number_of(com_rbld_obj_at(found, i)), 0};
    obj_id rule{};
    st = com_rbld_get_obj_id(&cond, kCond2Rule, &rule);
    if (st == 0 && rule.num != 0) rules->insert(rule.num);
  }
  dbs_obj_free_local_col(nullptr, found);
  return st;
}

long all_rules(std::set<long>* rules) {
  utl_ty_col* found = nullptr;
  if (long st = utl_col_make("com_rbld_qry_rules", CMN_TYP_VOID_P, kColSlots, kColSlots, 0, 0, &found)) return st;
  dbs_ty_qry_cond kind{COM_FLD_RULE_KIND, kEq, COM_KIND_RULE};
  dbs_ty_qry_desc desc{COM_RULE_TYPE, 1, &kind, 0};
  long st = dbs_qry_simple(oab_db_con_id, &desc, nullptr, nullptr, found);
  for (long i = 0; st == 0 && i < found->count; ++i) rules->insert(number_of(com_rbld_obj_at(found, i)));
  dbs_obj_free_local_col(nullptr, found);
  return st;
}

std::set<long> common(const std::set<long>& a, const std::set<long>& b) {
  std::set<long> out;
  std::set_intersection(a.begin(), a.end(), b.begin(), b.end(), std::inserter(out, out.begin()));
  return out;
}

}  // namespace

long com_rbld_get_conds(dbs_ty_lobj* rule, utl_ty_col* conds) {
  return related(rule, COM_RULE2COND, COM_COND_TYPE, conds);
}

long com_rbld_get_actions(dbs_ty_lobj* rule, utl_ty_col* actions) {
  return related(rule, COM_RULE2ACTION, COM_RULE_TYPE, actions);
}

long com_rbld_get_rule(dbs_ty_lobj* rule, com_ty_rule_lists* out) {
  out->kind1.clear();
  out->events.clear();
  out->kind3.clear();
  if (long st = dbs_obj_reset_local_col(out->conds)) return st;
  if (long st = dbs_obj_reset_local_col(out->actions)) return st;
  if (long st = com_rbld_get_conds(rule, out->conds)) return st;
  for (long i = out->conds->count - 1; i >= 0; --i) {
    dbs_ty_lobj* c = com_rbld_obj_at(out->conds, i);
    long kind = com_rbld_long_of(c, kFldKind);
    std::vector<std::string>* list = kind == COM_COND_KIND1         ? &out->kind1
                                     : kind == COM_COND_START_EVENT ? &out->events
                                     : kind == COM_COND_KIND3       ? &out->kind3
                                                                    : nullptr;
    if (list == nullptr) continue;
    list->insert(list->begin(), com_rbld_text_of(c, kFldValue));
    if (long st = utl_col_remove(out->conds, nullptr, i)) return st;
    dbs_obj_free_local("com_rbld_get_rule", c);
  }
  for (auto* list : {&out->kind1, &out->events, &out->kind3}) first_of_each(list);
  return com_rbld_get_actions(rule, out->actions);
}

long com_rbld_qry_rules(const dbs_ty_qry_desc* desc, const std::vector<std::string>& events,
                        std::vector<long>* rules) {
  rules->clear();
  std::set<long> found;
  if (long st = all_rules(&found)) return st;
  if (desc != nullptr && desc->count > 0) {
    std::vector<dbs_ty_qry_cond> conds(desc->conds, desc->conds + desc->count);
    conds.push_back({kFldKind, kEq, COM_COND_ORDINARY});
    std::set<long> meeting;
    if (long st = rules_of_conds(conds, &meeting)) return st;
    found = common(found, meeting);
  }
  if (!events.empty()) {
    std::set<long> starting;
    for (const std::string& e : events) {
      std::vector<dbs_ty_qry_cond> conds = {{kFldKind, kEq, COM_COND_START_EVENT},
                                            {kFldValue, kEq, reinterpret_cast<long>(e.c_str())}};
      if (long st = rules_of_conds(conds, &starting)) return st;
    }
    found = common(found, starting);
  }
  rules->assign(found.begin(), found.end());
  return 0;
}

long com_rbld_convert_to_list(const char* text, std::vector<std::string>* items, std::string* list_text) {
  items->clear();
  if (list_text != nullptr) list_text->clear();
  std::vector<char> result(kListTextSize);
  utl_ty_col* col = nullptr;
  long n = 0;
  long st = utl_col_convert_to_list(text, kAsText, result.data(), kListTextSize, &col, &n);
  for (long i = 0; st == 0 && i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(col, i, &e);
    items->emplace_back(static_cast<const char*>(e));
  }
  if (col != nullptr) utl_col_free("com_rbld_convert_to_list", col);
  if (st == 0 && list_text != nullptr) *list_text = result.data();
  return st;
}
