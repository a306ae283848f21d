// The save of a state: objects and relations put into the write batch, ids
// for new objects in one request, the batch run inside one transaction with
// the callbacks around it, and the retry on deadlock.
#include <cstdio>

#include "client/ost/ost_int.h"
#include "client/ost/ost_msg.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_rel.h"
#include "client/ost/ost_save.h"
#include "client/ost/ost_state.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_print.h"
#include "core/utl/utl_col.h"
#include "store/dbs_main.h"
#include "store/dbs_obj.h"
#include "store/dbs_rel.h"

namespace {

constexpr long k_deadlock = 0x70002b;
constexpr long k_dup_key = 0x70002c;
constexpr long k_raised = 0x70007f;
constexpr long k_answer_keep_going = 32;
constexpr long k_preserve_id = 32;

enum class outcome { done, failed, deadlock, abandoned, stopped };

struct attempt {
  outcome kind = outcome::done;
  long status = 0;
};

attempt fail(long st) { return {outcome::failed, st}; }
attempt abandon(long result) { return {outcome::abandoned, result}; }
attempt from_status(long st) { return {st == k_deadlock ? outcome::deadlock : outcome::failed, st}; }

bool any_modified(const ost_ty_state* s) {
  for (long i = 0; i < s->num_objects; ++i)
    if (s->object_array[i].flags & OST_OBJ_MODIFIED) return true;
  return false;
}

struct save_run {
  ost_ty_state* s;
  long options;
  bool began = false;  // the save began the database transaction

  bool own_trn() const { return !(options & OST_SAVE_APPL_TRN); }

  attempt objects_and_ids() {
    for (long i = 0; i < s->num_objects; ++i)
      if (s->object_array[i].flags & OST_OBJ_MODIFIED) {
        if (long st = ost_state_put_object(s, i)) return fail(st);
      }
    if (long st = ost_state_create_ids(s, s->db_con, ost_save_requests())) return fail(st);
    for (long i = 0; i < s->num_objects; ++i) {
      if (!(s->object_array[i].flags & OST_OBJ_MODIFIED)) continue;
      long answer = 0;
      long entry = reinterpret_cast<long>(&s->object_array[i]);
      if (long st = ost_state_do_callback(s, OST_CB_SAVE_STATE, entry, 0, 0, &answer)) return fail(st);
      if (answer && answer != k_answer_keep_going) return abandon(0);
    }
    return {};
  }

  attempt conditions_and_relations() {
    if (ost_col_count(s->cond_col) > 0) {
      if (long st = dbs_obj_cond_add_to_batch(s->cond_col)) return fail(st);
    }
    for (long i = 0; i < s->num_relations; ++i)
      if (long st = ost_rel_put_in_batch(s->rel_array[i])) return fail(st);
    long answer = 0;
    if (long st = ost_state_do_callback(s, OST_CB_AFTER_IDS, 0, 0, 0, &answer)) return from_status(st);
    if (answer) return abandon(1);
    return {};
  }

  attempt run_batch() {
    if (own_trn() && (ost_state_has_callback(s, OST_CB_SAVE_OBJECT) || ost_state_has_callback(s, OST_CB_PRIOR_TO_COMMIT))) {
      if (long st = dbs_trn_begin(s->db_con)) return fail(st);
      began = true;
    }
    s->flags |= OST_ST_SAVING;
    long answer = 0;
    if (long st = ost_state_do_callback(s, OST_CB_SAVE_OBJECT, 0, 0, 0, &answer)) return from_status(st);
    if (answer) return abandon(1);
    char own = own_trn() && !began ? 1 : 0;
    if (long st = dbs_rel_do_batch(s->db_con, own, ost_save_take_injection())) {
      if (st == k_deadlock) ost_sql_log(s, "DEADLOCK doing object/relation batch!\n");
      if (st == k_raised) ost_sql_log(s, "RAISE ERROR during object/relation batch!\n");
      return from_status(st);
    }
    if (long st = ost_state_do_callback(s, OST_CB_PRIOR_TO_COMMIT, 0, 0, 0, &answer)) {
      if (st == k_deadlock) ost_sql_log(s, "DEADLOCK doing object/relation batch!\n");
      return from_status(st);
    }
    if (answer) return abandon(0);
    return {};
  }

  attempt one_attempt() {
    if (options & OST_SAVE_CHECKPOINT) {
      if (long st = ost_state_checkpoint(s)) return {outcome::stopped, st};
    }
    long answer = 0;
    if (long st = ost_state_do_callback(s, OST_CB_BEFORE_SAVE, 0, 0, 0, &answer)) {
      if (st == OST_SAVE_STOP) return {outcome::stopped, st};
      return fail(st);
    }
    if (answer) return abandon(0);
    attempt a = objects_and_ids();
    if (a.kind == outcome::done) a = conditions_and_relations();
    if (a.kind == outcome::done) a = run_batch();
    return a;
  }

  // Undoes what an attempt left: new ids, the saving flag, the requests and
  // the pending batch, and the transaction the save began.
  void undo_attempt() {
    for (long i = 0; i < s->num_objects; ++i) {
      ost_ty_obj_entry& e = s->object_array[i];
      if (!(e.flags & OST_OBJ_NEW_ID)) continue;
      if (dbs_obj_change_to_new(e.handle)) ost_alrt("ost_state_save", OST_RESET_NEW, reinterpret_cast<long>(e.handle));
      e.id = ost_oid_of(e.handle);
      e.flags &= ~OST_OBJ_NEW_ID;
    }
    for (long i = 0; i < s->num_relations; ++i) s->rel_array[i].row_id = obj_id{};
    s->flags &= ~OST_ST_SAVING;
    utl_col_reset(ost_save_requests());
    dbs_rel_abort_batch();
    if (began) {
      cmn_alrt_suspend(1);
      dbs_trn_rollback(s->db_con);
      cmn_alrt_suspend(0);
      began = false;
    }
  }

  long finish_failed(long st, bool run_failed_slot) {
    if (run_failed_slot) ost_state_do_callback(s, OST_CB_SAVE_FAILED, 0, 0, 0, nullptr);
    if (options & OST_SAVE_CHECKPOINT) ost_state_rollback(s);
    if (options & OST_SAVE_FREE) ost_state_free(s);
    return st;
  }

  long succeed() {
    if (began) {
      if (long st = dbs_trn_commit(s->db_con)) {
        undo_attempt();
        return finish_failed(st, true);
      }
      began = false;
    }
    s->flags &= ~OST_ST_SAVING;
    ost_state_do_callback(s, OST_CB_AFTER_COMMIT, 0, 0, 0, nullptr);
    for (long i = 0; i < s->num_objects; ++i) {
      ost_ty_obj_entry& e = s->object_array[i];
      if (!(e.flags & OST_OBJ_MODIFIED)) continue;
      if (e.handle) dbs_obj_mark_dirty(e.handle, 0);
      e.flags &= ~(OST_OBJ_MODIFIED | OST_OBJ_NEW_ID);
    }
    long st = 0;
    if (options & OST_SAVE_CACHE_RELS)
      for (long i = 0; i < s->num_relations && st == 0; ++i) st = ost_rel_cache_saved(s, s->rel_array[i]);
    else
      ost_rel_perm_clear_cache(s);
    if (options & OST_SAVE_CHECKPOINT) ost_state_commit(s, 0);
    if (options & OST_SAVE_FREE) {
      ost_state_free(s);
      return st;
    }
    ost_rel_reset_all(s);
    if (long r = ost_save_retire_objects(s)) return r;
    return st;
  }
};

}  // namespace

long ost_state_save(ost_ty_state* s, long options) {
  if (long st = ost_state_check(s)) return st;
  utl_col_reset(ost_save_requests());
  if (!(options & OST_SAVE_ALWAYS) && !any_modified(s) && s->num_relations == 0) {
    if (options & OST_SAVE_FREE) ost_state_free(s);
    return 0;
  }
  long retries = (options & OST_SAVE_APPL_TRN) ? ost_state_num_retries() : 0;
  long appl_level = 0;
  if (!(options & OST_SAVE_APPL_TRN)) dbs_trn_appl_level(&appl_level);
  for (long i = 0; i < s->num_objects; ++i) s->object_array[i].flags &= ~OST_OBJ_NEW_ID;
  save_run run{s, options};
  for (;;) {
    attempt a = run.one_attempt();
    if (a.kind == outcome::done) return run.succeed();
    if (a.kind == outcome::stopped) return a.status;
    run.undo_attempt();
    if (a.kind == outcome::abandoned) return run.finish_failed(a.status, false);
    if (a.kind != outcome::deadlock || !run.own_trn()) return run.finish_failed(a.status, true);
    ++retries;
    osl_print_mes("DEADLOCK: OST retrying write to database (#%ld)...\n", retries);
    char line[96];
    std::snprintf(line, sizeof line, "DEADLOCK: OST retrying write to database (#%ld)...\n", retries);
    ost_sql_log(s, line);
    if (appl_level != 0) {
      osl_print_mes("OST DEADLOCK inside nested transaction (level=%ld)...\n", appl_level);
      ost_sql_log(s, "OST DEADLOCK inside nested transaction...\n");
      return run.finish_failed(a.status, true);
    }
    if (retries >= ost_state_num_retries()) {
      osl_print_mes("OST DEADLOCKED and already tried %ld times; giving up...\n", ost_state_num_retries());
      ost_sql_log(s, "OST DEADLOCKED too many times; giving up...\n");
      return run.finish_failed(a.status, true);
    }
    if (long st = ost_state_do_callback(s, OST_CB_SAVE_FAILED, 1, 0, 0, nullptr)) return run.finish_failed(st, true);
    if (options & OST_SAVE_CHECKPOINT) {
      if (long st = ost_state_rollback(s)) return st;
    }
    osl_print_mes("DATABASE commitment failed; retrying...\n");
  }
}

long ost_state_put_object(ost_ty_state* s, long index) {
  ost_ty_obj_entry& e = s->object_array[index];
  if (!e.handle) return 0;
  if (e.flags & OST_OBJ_DELETE) {
    long mode = ((e.flags & OST_OBJ_DEL_MODE1) ? 1 : 0) + ((e.flags & OST_OBJ_DEL_MODE2) ? 2 : 0);
    return dbs_obj_delete_in_batch(e.handle, mode);
  }
  obj_id id = ost_oid_of(e.handle);
  if (ost_oid_has_number(id)) {
    char preserve = 0;
    dbs_obj_get_flag(e.handle, k_preserve_id, &preserve);
    return dbs_obj_add_to_batch(e.handle, preserve ? 1 : 0);
  }
  ost_ty_id_req r{id.type & DBS_OID_TYPE_MASK, e.handle, index, {0, 0, 0}};
  return utl_col_push(ost_save_requests(), &r, nullptr);
}

long ost_state_abort(ost_ty_state* s, long options) {
  if (long st = ost_state_check(s)) return st;
  if (options & 2) {
    if (long st = ost_state_do_callback(s, OST_CB_AFTER_COMMIT, 0, 0, 0, nullptr)) return st;
  }
  return ost_state_free(s);
}
