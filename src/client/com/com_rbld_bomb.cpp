// Time bombs raised by activities, and the save callbacks that give them the
// id numbers of objects made in the same state.
#include "client/com/com_rbld_bomb.h"

#include <algorithm>
#include <vector>

#include "client/com/com_rbld.h"
#include "client/com/com_rbld_fld.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_rel.h"
#include "client/ost/ost_state.h"
#include "core/clk/clk_srv.h"
#include "core/cmn/cmn_alrt.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"

namespace {

constexpr long kNoEvent = -1;
constexpr long kNoKey = -1;
constexpr long kSaveFree = OST_SAVE_FREE;

// A bomb waiting for its state's save: the bomb's key in the state, and its
// focus and second object each by key in the state (made there, no id yet)
// or by id.
struct new_focus {
  ost_ty_state* state;
  long bomb_key;
  long focus_key;
  obj_id focus_id;
  long second_key;
  obj_id second_id;
};

std::vector<new_focus> com_rbld_new_focus_col;

bool live(const ost_ty_state* s) {
  for (ost_ty_state* p = ost_state_first(); p != nullptr; p = p->next)
    if (p == s) return true;
  return false;
}

// Bombs of states freed without a save are forgotten.
void forget_dead_states() {
  auto& col = com_rbld_new_focus_col;
  col.erase(std::remove_if(col.begin(), col.end(), [](const new_focus& f) { return !live(f.state); }), col.end());
}

// An object by its key in the state when it has one there, else by its id.
void place(ost_ty_state* s, dbs_ty_lobj* o, long* key, obj_id* id) {
  *key = kNoKey;
  *id = obj_id{};
  if (o == nullptr) return;
  ost_obj_find_byhandle(s, o, 0, key, nullptr);
  dbs_obj_oid_get(o, id);
}

// The id number the object has now.
long number_now(ost_ty_state* s, long key, const obj_id& id) {
  if (key == kNoKey) return id.num;
  dbs_ty_lobj* h = nullptr;
  ost_obj_find_bykey(s, key, 0, nullptr, &h);
  obj_id now{};
  if (h != nullptr) dbs_obj_oid_get(h, &now);
  return now.num;
}

long fill_bomb(KAdpConnId* con, dbs_ty_lobj* bomb, dbs_ty_lobj* focus, long event, long flags) {
  obj_id fid{};
  if (long st = dbs_obj_oid_get(focus, &fid)) return st;
  clktime now{};
  if (long st = clk_time_get_spec_db(con, &now)) return st;
  const clktime* when = &now;
  if (long st = dbs_fld_set(bomb, COM_FLD_BOMB_START, &when)) return st;
  if (long st = dbs_fld_set(bomb, COM_FLD_BOMB_END, &when)) return st;
  const long longs[][2] = {{COM_FLD_BOMB_FOCUS, fid.num},
                           {COM_FLD_BOMB_FOCUS_TYPE, fid.type & COM_FOCUS_TYPE_MASK},
                           {COM_FLD_BOMB_WORD, (event << COM_EVENT_SHIFT) + COM_WORD_EVENT + (flags & COM_WORD_FLAGS)}};
  for (const auto& f : longs)
    if (long st = com_rbld_set_long(bomb, f[0], f[1])) return st;
  return 0;
}

// The bomb's second object: the one given, else the one related to the
// focus through the relation.
long relate_second(ost_ty_state* s, dbs_ty_lobj* bomb, dbs_ty_lobj* focus, dbs_ty_lobj* second, long rel,
                   new_focus* rec) {
  if (second != nullptr) {
    place(s, second, &rec->second_key, &rec->second_id);
    return ost_obj_relate_byhndl(s, bomb, second, COM_BOMB2SECOND);
  }
  obj_id fid{};
  if (long st = dbs_obj_oid_get(focus, &fid)) return st;
  obj_id derived{};
  long st = com_rbld_get_obj_id(&fid, rel, &derived);
  if (st != 0 && st != COM_SEVERAL_RELATED) return st;
  rec->second_key = kNoKey;
  rec->second_id = derived;
  if (derived.num == 0) return 0;  // the save refuses a bomb without a second object
  return ost_obj_relate_id_byhndl(s, bomb, &derived, COM_BOMB2SECOND);
}

long add_bomb(KAdpConnId* con, ost_ty_state* s, dbs_ty_lobj* focus, long event, dbs_ty_lobj* second, long rel,
              long flags, dbs_ty_lobj** bomb) {
  const ost_ty_cb_triple callbacks[] = {{OST_CB_SAVE_STATE, com_rbld_ost_save_one_obj, 0},
                                        {OST_CB_AFTER_COMMIT, com_rbld_ost_save_done, 0}};
  if (long st = ost_state_install_callback(s, 2, callbacks)) return st;
  if (long st = ost_obj_create("com_rbld_do_event_with_flags", s, COM_BOMB_TYPE, bomb)) return st;
  if (long st = fill_bomb(con, *bomb, focus, event, flags)) return st;
  new_focus rec{s, kNoKey, kNoKey, {}, kNoKey, {}};
  ost_obj_find_byhandle(s, *bomb, 0, &rec.bomb_key, nullptr);
  place(s, focus, &rec.focus_key, &rec.focus_id);
  if (long st = relate_second(s, *bomb, focus, second, rel, &rec)) return st;
  com_rbld_new_focus_col.push_back(rec);
  return 0;
}

}  // namespace

long com_rbld_do_event_with_flags(KAdpConnId* con, ost_ty_state* state, dbs_ty_lobj* focus, long act_code,
                                  dbs_ty_lobj* second, long second_rel, long flags, dbs_ty_lobj** bomb) {
  dbs_ty_lobj* made = nullptr;
  if (bomb != nullptr) *bomb = nullptr;
  long event = com_rbld_actcode_to_event(act_code);
  if (event == kNoEvent) return 0;
  forget_dead_states();
  ost_ty_state* s = state;
  if (s == nullptr) {
    if (long st = ost_state_create("Time Bomb Creation State", con, 0, nullptr, nullptr, 0, &s)) return st;
  }
  long st = add_bomb(con, s, focus, event, second, second_rel, flags, &made);
  if (state != nullptr) {
    if (st == 0 && bomb != nullptr) *bomb = made;
    return st;
  }
  if (st != 0) {
    ost_state_abort(s, 0);
    forget_dead_states();
    return st;
  }
  st = ost_state_save(s, kSaveFree);
  forget_dead_states();
  return st;
}

long com_rbld_do_event(KAdpConnId* con, ost_ty_state* state, dbs_ty_lobj* focus, long act_code, dbs_ty_lobj* second,
                       long second_rel, dbs_ty_lobj** bomb) {
  return com_rbld_do_event_with_flags(con, state, focus, act_code, second, second_rel, 0, bomb);
}

long com_rbld_ost_save_one_obj(ost_ty_state* s, long entry, long, long, long, long* answer) {
  if (answer != nullptr) *answer = 0;
  const auto* e = reinterpret_cast<const ost_ty_obj_entry*>(entry);
  if (e == nullptr || e->handle == nullptr) return 0;
  for (const new_focus& f : com_rbld_new_focus_col) {
    if (f.state != s || f.bomb_key != e->key) continue;
    long focus = number_now(s, f.focus_key, f.focus_id);
    long second = number_now(s, f.second_key, f.second_id);
    if (focus == 0 || second == 0) {
      cmn_alrt_push(nullptr, "com_rbld_ost_save_one_obj", COM_NO_OBJECT_ID, 1, "com_rbld_ost_save_one_obj");
      return COM_NO_OBJECT_ID;
    }
    if (long st = com_rbld_set_long(e->handle, COM_FLD_BOMB_FOCUS, focus)) return st;
    return com_rbld_set_long(e->handle, COM_FLD_BOMB_SECOND, second);
  }
  return 0;
}

long com_rbld_ost_save_done(ost_ty_state* s, long, long, long, long, long* answer) {
  if (answer != nullptr) *answer = 0;
  auto& col = com_rbld_new_focus_col;
  col.erase(std::remove_if(col.begin(), col.end(), [s](const new_focus& f) { return f.state == s; }), col.end());
  return 0;
}

long com_rbld_num_new_focus() {
  forget_dead_states();
  return static_cast<long>(com_rbld_new_focus_col.size());
}
