// Time bombs (type 77): the pending rule events an activity raises on a
// focus object, written with the state that saves the activity, and the
// bombs of a rule or of an activity entry found and deleted.
#pragma once

#include <vector>

#include "store/dbs_oid.h"

class KAdpConnId;
struct dbs_ty_lobj;
struct ost_ty_state;
struct utl_ty_col;

// Relations of the bomb type: its rule (0) and its second object (1).
constexpr long COM_BOMB2RULE = 0;
constexpr long COM_BOMB2SECOND = 1;

// Bomb fields.
constexpr long COM_FLD_BOMB_END = 2;
constexpr long COM_FLD_BOMB_START = 3;
constexpr long COM_FLD_BOMB_FOCUS = 4;
constexpr long COM_FLD_BOMB_FOCUS_TYPE = 5;
constexpr long COM_FLD_BOMB_SECOND = 7;
constexpr long COM_FLD_BOMB_WORD = 8;

// The event word: event number in the high 16 bits, the kind in the low
// bits (2 an event raised, 1 a rule's pending bomb) and flag bits under
// 0xFFC0.
constexpr long COM_EVENT_SHIFT = 16;
constexpr long COM_WORD_EVENT = 2;
constexpr long COM_WORD_RULE_BOMB = 1;
constexpr long COM_WORD_FLAGS = 0xFFC0;
constexpr long COM_FOCUS_TYPE_MASK = 0x1FFFF;

// The bomb of the event the activity code stands for, on the focus object:
// in the given state (saved with it) or, without one, in a state of its own
// saved at once. Its second object is the one given, else the one object
// related to the focus through second_rel. An activity code without an
// event creates nothing (*bomb null). *bomb (may be null) is the bomb in the
// given state.
long com_rbld_do_event_with_flags(KAdpConnId* con, ost_ty_state* state, dbs_ty_lobj* focus, long act_code,
                                  dbs_ty_lobj* second, long second_rel, long flags, dbs_ty_lobj** bomb);
long com_rbld_do_event(KAdpConnId* con, ost_ty_state* state, dbs_ty_lobj* focus, long act_code, dbs_ty_lobj* second,
                       long second_rel, dbs_ty_lobj** bomb);
// Save callbacks the bombs' state carries: slot 12 writes the id numbers of
// a bomb's focus and second object (known once new objects have their ids;
// a zero number: 0x3300008); slot 16 forgets the state's bombs.
long com_rbld_ost_save_one_obj(ost_ty_state* state, long entry, long a2, long a3, long arg, long* answer);
long com_rbld_ost_save_done(ost_ty_state* state, long a1, long a2, long a3, long arg, long* answer);
// Bombs waiting for their state's save.
long com_rbld_num_new_focus();

// The bombs of the rule (type 77 through relation 3 of the rule) whose
// event word is one of event * 65536 + 1, optionally only those of the
// focus object (null: any). *count their number; objects (may be null)
// receives them.
long com_rbld_find_bombs(dbs_ty_lobj* rule, dbs_ty_lobj* focus, const std::vector<long>& events, long* count,
                         utl_ty_col* objects);
// The bombs of an activity entry (field 7 its id number) whose event word
// has every bit the pattern sets under the mask and none it clears there;
// related (may be null) receives each bomb's rule.
long com_rbld_find_tb_by_actentry(KAdpConnId* con, const obj_id* entry, long pattern, long mask, utl_ty_col* bombs,
                                  utl_ty_col* related);
// Deletes them: at once without a state, else with the state's save.
long com_rbld_del_tb_by_actentry(KAdpConnId* con, ost_ty_state* state, const obj_id* entry, long pattern, long mask);
