// Change notices: a type-77 object telling the rule engine that a rule, a
// user's notification settings or a queue changed.
#include "client/com/com_rbld.h"
#include "client/oab/oab_main.h"
#include "client/ost/ost_obj.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"

namespace {

constexpr long kFldChanged = 1;
constexpr long kFldWord = 8;

long fill_notice(dbs_ty_lobj* notice, long changed, long word) {
  if (long st = dbs_fld_set(notice, kFldWord, &word)) return st;
  return dbs_fld_set(notice, kFldChanged, &changed);
}

long notice(const char* owner, ost_ty_state* state, dbs_ty_lobj* changed, long word) {
  obj_id id{};
  if (long st = dbs_obj_oid_get(changed, &id)) return st;
  dbs_ty_lobj* n = nullptr;
  if (state != nullptr) {
    if (long st = ost_obj_create(owner, state, COM_BOMB_TYPE, &n)) return st;
    return fill_notice(n, id.num, word);
  }
  if (long st = dbs_obj_make(nullptr, COM_BOMB_TYPE, &n)) return st;
  long st = fill_notice(n, id.num, word);
  obj_id made{};
  if (st == 0) st = dbs_obj_create(oab_db_con_id, n, &made);
  dbs_obj_free_local(owner, n);
  return st;
}

}  // namespace

long com_rbld_rule_changed(ost_ty_state* state, dbs_ty_lobj* rule) {
  return notice("com_rbld_rule_changed", state, rule, COM_RULE_CHANGED);
}
long com_rbld_user_notif_changed(ost_ty_state* state, dbs_ty_lobj* user) {
  return notice("com_rbld_user_notif_changed", state, user, COM_USER_NOTIF_CHANGED);
}
long com_rbld_queue_changed(ost_ty_state* state, dbs_ty_lobj* queue) {
  return notice("com_rbld_queue_changed", state, queue, COM_QUEUE_CHANGED);
}
