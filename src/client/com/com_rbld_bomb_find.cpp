// The time bombs of a rule and of an activity entry, and their deletion.
#include <vector>

#include "client/com/com_rbld.h"
#include "client/com/com_rbld_bomb.h"
#include "client/com/com_rbld_fld.h"
#include "client/com/com_rbld_rule.h"
#include "client/oab/oab_main.h"
#include "client/ost/ost_obj.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "store/dbs_obj.h"
#include "store/dbs_qry.h"

namespace {

constexpr long kColSlots = 10;
constexpr long kEq = 4;
constexpr long kAnyBit = 11;   // any of the given bits set
constexpr long kNoBit = 12;    // none of the given bits set
constexpr long kWordBits = 32;

long make_col(const char* owner, utl_ty_col** col) {
  return utl_col_make(owner, CMN_TYP_VOID_P, kColSlots, kColSlots, 0, 0, col);
}

bool is_rule_bomb_of(dbs_ty_lobj* bomb, const std::vector<long>& events) {
  long word = com_rbld_long_of(bomb, COM_FLD_BOMB_WORD);
  for (long e : events)
    if (word == (e << COM_EVENT_SHIFT) + COM_WORD_RULE_BOMB) return true;
  return false;
}

// Conditions on the event word: each masked bit the pattern sets must be
// set (one condition per bit, as "any of" on one bit), and none of those it
// clears.
void word_conds(long pattern, long mask, std::vector<dbs_ty_qry_cond>* conds) {
  long set = pattern & mask;
  for (long bit = 0; bit < kWordBits; ++bit)
    if (set & (1L << bit)) conds->push_back({COM_FLD_BOMB_WORD, kAnyBit, 1L << bit});
  long clear = ~pattern & mask;
  if (clear != 0) conds->push_back({COM_FLD_BOMB_WORD, kNoBit, clear});
}

long rule_of(KAdpConnId* con, dbs_ty_lobj* bomb, utl_ty_col* related) {
  obj_id id{};
  if (long st = dbs_obj_oid_get(bomb, &id)) return st;
  dbs_ty_lobj* rule = nullptr;
  obj_id rule_id{};
  long st = com_rbld_get_obj_id(&id, COM_BOMB2RULE, &rule_id);
  if (st != 0 && st != COM_SEVERAL_RELATED) return st;
  if (rule_id.num != 0) {
    if (long got = dbs_obj_get(con, &rule_id, 0, &rule)) return got;
  }
  return utl_col_push(related, &rule, nullptr);
}

}  // namespace

long com_rbld_find_bombs(dbs_ty_lobj* rule, dbs_ty_lobj* focus, const std::vector<long>& events, long* count,
                         utl_ty_col* objects) {
  *count = 0;
  obj_id rid{};
  if (long st = dbs_obj_oid_get(rule, &rid)) return st;
  std::vector<dbs_ty_qry_cond> conds;
  if (focus != nullptr) {
    obj_id fid{};
    if (long st = dbs_obj_oid_get(focus, &fid)) return st;
    conds.push_back({COM_FLD_BOMB_FOCUS, kEq, fid.num});
    conds.push_back({COM_FLD_BOMB_FOCUS_TYPE, kEq, fid.type & COM_FOCUS_TYPE_MASK});
  }
  utl_ty_col* found = nullptr;
  if (long st = make_col("com_rbld_find_bombs", &found)) return st;
  dbs_ty_qry_desc target{COM_BOMB_TYPE, static_cast<long>(conds.size()), conds.data(), 0};
  long st = dbs_qry_relation(oab_db_con_id, &rid, COM_RULE2BOMB, &target, nullptr, nullptr, found);
  for (long i = 0; st == 0 && i < found->count; ++i) {
    dbs_ty_lobj* b = com_rbld_obj_at(found, i);
    if (!is_rule_bomb_of(b, events)) continue;
    ++*count;
    if (objects == nullptr) continue;
    st = utl_col_push(objects, &b, nullptr);
    if (st == 0) com_rbld_obj_at(found, i) = nullptr;  // now the caller's
  }
  dbs_obj_free_local_col(nullptr, found);
  return st;
}

long com_rbld_find_tb_by_actentry(KAdpConnId* con, const obj_id* entry, long pattern, long mask, utl_ty_col* bombs,
                                  utl_ty_col* related) {
  std::vector<dbs_ty_qry_cond> conds = {{COM_FLD_BOMB_SECOND, kEq, entry->num}};
  word_conds(pattern, mask, &conds);
  dbs_ty_qry_desc desc{COM_BOMB_TYPE, static_cast<long>(conds.size()), conds.data(), 0};
  long first = bombs->count;
  if (long st = dbs_qry_simple(con, &desc, nullptr, nullptr, bombs)) return st;
  for (long i = first; related != nullptr && i < bombs->count; ++i)
    if (long st = rule_of(con, com_rbld_obj_at(bombs, i), related)) return st;
  return 0;
}

long com_rbld_del_tb_by_actentry(KAdpConnId* con, ost_ty_state* state, const obj_id* entry, long pattern, long mask) {
  utl_ty_col* bombs = nullptr;
  if (long st = make_col("com_rbld_del_tb_by_actentry", &bombs)) return st;
  long st = com_rbld_find_tb_by_actentry(con, entry, pattern, mask, bombs, nullptr);
  for (long i = 0; st == 0 && i < bombs->count; ++i) {
    dbs_ty_lobj* b = com_rbld_obj_at(bombs, i);
    if (state == nullptr) {
      obj_id id{};
      st = dbs_obj_oid_get(b, &id);
      if (st == 0) st = dbs_obj_delete_force(con, &id);
      continue;
    }
    st = ost_obj_delete(state, b, 0);
    if (st == 0) com_rbld_obj_at(bombs, i) = nullptr;  // the state's now
  }
  dbs_obj_free_local_col(nullptr, bombs);
  return st;
}
