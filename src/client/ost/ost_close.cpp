// The close of a state: children first, then the objects and relations the
// callbacks choose are written in one batch, then the close callbacks run
// and the state is freed.
#include "client/ost/ost_int.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_rel.h"
#include "client/ost/ost_save.h"
#include "client/ost/ost_state.h"
#include "core/utl/utl_col.h"
#include "store/dbs_main.h"
#include "store/dbs_rel.h"

namespace {

constexpr long k_deadlock = 0x70002b;
constexpr long k_raised = 0x70007f;

// Answers of the quit callbacks.
constexpr long k_cancel = 1;
constexpr long k_write = 2;
constexpr long k_write_rest = 8;
constexpr long k_skip_rest = 16;

// The modified objects: promoted to the parent, or written as slot 9 says.
long close_objects(ost_ty_state* s, long options, long* cancelled) {
  bool write_rest = false;
  for (long i = 0; i < s->num_objects; ++i) {
    if (!(s->object_array[i].flags & OST_OBJ_MODIFIED)) continue;
    if (s->parent) {
      if (long st = ost_obj_promote(s, &s->object_array[i])) return st;
      continue;
    }
    if (write_rest) {
      s->object_array[i].flags &= ~OST_OBJ_MODIFIED;
      if (long st = ost_state_put_object(s, i)) return st;
      continue;
    }
    if (options == 1) continue;
    long answer = 0;
    long entry = reinterpret_cast<long>(&s->object_array[i]);
    if (long st = ost_state_do_callback(s, OST_CB_QUIT_OBJECTS, entry, 0, 0, &answer)) return st;
    if (answer == k_cancel) {
      *cancelled = 1;
      return 0;
    }
    if (answer == k_write) {
      if (long st = ost_state_put_object(s, i)) return st;
    } else if (answer == k_write_rest) {
      write_rest = true;
      s->object_array[i].flags &= ~OST_OBJ_MODIFIED;
      if (long st = ost_state_put_object(s, i)) return st;
    } else if (answer == k_skip_rest) {
      return 0;
    }
  }
  return 0;
}

// The relation entries: promoted to the parent, or written as slot 10 says.
// stop is set when slot 10 answers 1 (the close ends without writing).
long close_relations(ost_ty_state* s, long options, bool* stop) {
  bool write_rest = false;
  for (long i = 0; i < s->num_relations; ++i) {
    const ost_ty_rel_entry& e = s->rel_array[i];
    if (s->parent) {
      if (long st = ost_rel_promote(s, &e)) return st;
      continue;
    }
    if (write_rest) {
      if (long st = ost_rel_put_in_batch(e)) return st;
      continue;
    }
    if (options & 1) continue;
    long answer = 0;
    if (long st = ost_state_do_callback(s, OST_CB_QUIT_RELATIONS, reinterpret_cast<long>(&e), 0, 0, &answer))
      return st;
    if (answer == k_cancel) {
      *stop = true;
      return 0;
    }
    if (answer == k_write || answer == k_write_rest) {
      if (long st = ost_rel_put_in_batch(e)) return st;
      write_rest = answer == k_write_rest;
    } else if (answer == k_skip_rest) {
      return 0;
    }
  }
  return 0;
}

long run_close_batch(ost_ty_state* s) {
  if (ost_col_count(ost_save_requests()) > 0) {
    if (long st = ost_state_create_ids(s, s->db_con, ost_save_requests())) return st;
  }
  long level = 0;
  dbs_trn_appl_level(&level);
  long st = dbs_rel_do_batch(s->db_con, level == 0 ? 1 : 0, ost_save_take_injection());
  if (st == k_deadlock) ost_sql_log(s, "DEADLOCK doing object/relation batch!\n");
  if (st == k_raised) ost_sql_log(s, "RAISE ERROR during object/relation batch!\n");
  return st;
}

}  // namespace

long ost_state_close(ost_ty_state* s, long options, long* cancelled) {
  if (long st = ost_state_check(s)) return st;
  *cancelled = 0;
  utl_col_reset(ost_save_requests());
  while (s->child) {
    ost_ty_state* child = s->child;
    if (long st = ost_state_close(child, options, cancelled)) return st;
    if (*cancelled) return 0;
    if (s->child == child) ost_state_free(child);
  }
  if (long st = close_objects(s, options, cancelled)) {
    dbs_rel_abort_batch();
    return st;
  }
  if (*cancelled) {
    dbs_rel_abort_batch();
    return 0;
  }
  bool stop = false;
  if (long st = close_relations(s, options, &stop)) {
    dbs_rel_abort_batch();
    return st;
  }
  if (stop) {
    dbs_rel_abort_batch();
    return 0;
  }
  if (long st = run_close_batch(s)) {
    dbs_rel_abort_batch();
    return st;
  }
  if (long st = ost_state_do_callback(s, OST_CB_CLOSE, 0, 0, 0, nullptr)) return st;
  if (s->parent) {
    if (long st = ost_state_do_callback(s->parent, OST_CB_UPDATE_CHILD, reinterpret_cast<long>(s), 0, 0, nullptr))
      return st;
  }
  return ost_state_free(s);
}
