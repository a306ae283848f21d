// The write queues of a save: relation items, object items, the conditions
// of batched updates and the commit list, made on first use and freed when
// a batch ends or is aborted; the queueing calls and the orderings.
#include <deque>

#include "adapter/adp_db.h"
#include "adapter/adp_main.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_obj_int.h"
#include "adapter/adp_rel_int.h"
#include "adapter/adp_sch_load.h"
#include "core/loc/loc_st.h"
#include "core/utl/utl_col.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"
#include "store/dbs_obj.h"

namespace {

constexpr long kPointerType = 517;
// The conditions are kept as three words each (the client's condition
// record, whose type it registers itself).
constexpr long kCondType = 594;
constexpr long kQueueSize = 50;
constexpr long kTypeMask = 0x1FFFF;
constexpr const char* kOwner = "adp_rel_batch";

// The queues hold pointers; the items themselves live here until the queues
// are freed (an item the optional-relation fix removes stays owned).
struct queues {
  utl_ty_col* rels = nullptr;
  utl_ty_col* objs = nullptr;
  utl_ty_col* conds = nullptr;
  utl_ty_col* commits = nullptr;
  std::deque<adp_rel_batch_item> rel_items;
  std::deque<adp_obj_batch_item> obj_items;
  std::deque<adp_rel_commit_entry> commit_items;
};

queues& q() {
  static queues state;
  return state;
}

long g_max_per_batch = -1;
char g_combine = 0;

long make(utl_ty_col** col, long type) {
  if (*col != nullptr) return 0;
  return utl_col_make(kOwner, type, kQueueSize, kQueueSize, 0, UTL_COL_OPT_POOL, col);
}

void drop(utl_ty_col** col) {
  if (*col != nullptr) utl_col_free(kOwner, *col);
  *col = nullptr;
}

template <class T>
const T* at(const void* slot) {
  return *static_cast<T* const*>(slot);
}

long cmp_long(long a, long b) { return a < b ? -1 : (a > b ? 1 : 0); }

// Type 36 first, then ascending type id.
long cmp_type(long a, long b) {
  if (a == b) return 0;
  if (a == ADP_REL_TYPE36) return -1;
  if (b == ADP_REL_TYPE36) return 1;
  return cmp_long(a, b);
}

long foreign_type(const adp_rel_batch_item* r) {
  return r->rel != nullptr && r->rel->fschema != nullptr ? r->rel->fschema->type_id : 0;
}

bool is_link(const adp_rel_batch_item* r) { return r->rel != nullptr && adp_rel_kind(r->rel) == ADP_REL_MTM; }

// The sort key of a commit entry.
struct commit_key {
  const char* link = "";
  long sequence = 0;
  long type = 0;
  char del = 0;
};

commit_key key_of(const adp_rel_commit_entry* e) {
  commit_key k;
  if (e->kind == ADP_COMMIT_OBJ) {
    const auto* o = static_cast<const adp_obj_batch_item*>(e->item);
    k.type = o->type;
    k.del = o->del;
    return k;
  }
  const auto* r = static_cast<const adp_rel_batch_item*>(e->item);
  k.type = foreign_type(r);
  if (is_link(r)) {
    k.link = r->rel->mtm_table != nullptr ? r->rel->mtm_table : "";
    k.sequence = r->sequence;
  }
  return k;
}

}  // namespace

utl_ty_col* adp_rel_queue() { return q().rels; }
utl_ty_col* adp_obj_queue() { return q().objs; }
utl_ty_col* adp_cond_queue() { return q().conds; }
utl_ty_col* adp_rel_commit_list() { return q().commits; }

long adp_rel_queue_make() { return make(&q().rels, kPointerType); }

long adp_rel_commits_make() {
  if (q().commits != nullptr) {
    q().commit_items.clear();
    return utl_col_reset(q().commits);
  }
  return make(&q().commits, kPointerType);
}

void adp_rel_queues_free() {
  queues& s = q();
  drop(&s.rels);
  drop(&s.objs);
  drop(&s.conds);
  drop(&s.commits);
  s.rel_items.clear();
  s.obj_items.clear();
  s.commit_items.clear();
}

long adp_rel_abort_batch() {
  adp_rel_queues_free();
  return 0;
}

long adp_rel_set_combine_optimize(char on) {
  g_combine = on != 0 ? 1 : 0;
  return 0;
}
char adp_rel_combine_optimize() { return g_combine; }

long adp_rel_set_max_per_batch(long count) {
  g_max_per_batch = count;
  return 0;
}
long adp_rel_max_per_batch_value() { return g_max_per_batch; }
void adp_rel_max_per_batch_forget() { g_max_per_batch = -1; }

long adp_rel_add_to_batch(obj_id* a, obj_id* b, obj_id* link_row, long rel_id, char relate) {
  if (long st = adp_rel_queue_make()) return st;
  typ_sch_srec* sa = nullptr;
  typ_sch_srec* sb = nullptr;
  if (long st = adp_sch_shandle_find(a->type & kTypeMask, &sa)) return st;
  if (long st = adp_sch_shandle_find(b->type & kTypeMask, &sb)) return st;
  long index = 0;
  if (long st = typ_sch_rel_map(sa, rel_id, &index)) return st;
  const typ_sch_rel_inst& e = sa->rels[index];
  if (e.rel == nullptr || (e.side != 'p' && e.side != 'f')) {
    return adp_obj_push(ADP_REL_BAD_SIDE, 2, index, sa->info != nullptr ? sa->info->name : "");
  }
  adp_rel_batch_item item{};
  const bool primary = e.side == 'p';
  item.primary = primary ? *a : *b;
  item.foreign = primary ? *b : *a;
  item.rel_id = rel_id;
  item.rel = e.rel;
  item.side_name = primary ? e.rel->pname : e.rel->fname;
  item.relate = relate;
  item.active = 1;
  item.absorbed_by = nullptr;
  long n = 0;
  utl_col_num(q().rels, &n);
  item.sequence = n - 1;
  if (link_row != nullptr) item.link_row = *link_row;
  q().rel_items.push_back(item);
  adp_rel_batch_item* stored = &q().rel_items.back();
  return utl_col_push(q().rels, &stored, nullptr);
}

long adp_obj_append_to_batch(dbs_ty_lobj* object, char create, char del, void** out, long option) {
  if (long st = make(&q().objs, kPointerType)) return st;
  adp_obj_batch_item item{};
  item.object = object;
  if (long st = dbs_obj_oid_get(object, &item.id)) return st;
  item.type = item.id.type & kTypeMask;
  item.create = create;
  item.del = del;
  item.delete_option = option;
  q().obj_items.push_back(item);
  adp_obj_batch_item* stored = &q().obj_items.back();
  if (out != nullptr) *out = stored;
  return utl_col_push(q().objs, &stored, nullptr);
}

long adp_obj_add_to_batch(dbs_ty_lobj* object, char create) {
  return adp_obj_append_to_batch(object, create, 0, nullptr, 0);
}

long adp_obj_delete_in_batch(dbs_ty_lobj* object, long option) {
  if (adp_db_is_db_mssql()) return adp_obj_append_to_batch(object, 0, 1, nullptr, 0);
  if (adp_db_is_db_oracle()) return adp_obj_append_to_batch(object, 0, 1, nullptr, option);
  return 0;
}

long adp_obj_cond_add_to_batch(utl_ty_col* conds) {
  long n = 0;
  if (conds == nullptr || utl_col_num(conds, &n) != 0 || n == 0) return 0;
  if (long st = make(&q().conds, kCondType)) return st;
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    if (long st = utl_col_ith(conds, i, &e)) return st;
    if (long st = utl_col_push(q().conds, e, nullptr)) return st;
  }
  return 0;
}

long adp_rel_commit_push(void* item, char kind) {
  q().commit_items.push_back(adp_rel_commit_entry{item, kind});
  adp_rel_commit_entry* stored = &q().commit_items.back();
  return utl_col_push(q().commits, &stored, nullptr);
}

long adp_rel_compare_objs(const void* a, const void* b, void*) {
  const auto* x = at<adp_obj_batch_item>(a);
  const auto* y = at<adp_obj_batch_item>(b);
  if (long c = cmp_type(x->type, y->type)) return c;
  return cmp_long(y->del, x->del);
}

long adp_rel_compare_rels(const void* a, const void* b, void*) {
  const auto* x = at<adp_rel_batch_item>(a);
  const auto* y = at<adp_rel_batch_item>(b);
  if (long c = cmp_type(foreign_type(x), foreign_type(y))) return c;
  if (!g_combine) return cmp_long(x->sequence, y->sequence);
  if (long c = cmp_long(x->foreign.num, y->foreign.num)) return c;
  if (long c = cmp_long(y->relate, x->relate)) return c;
  return cmp_long(is_link(x) ? 1 : 0, is_link(y) ? 1 : 0);
}

long adp_rel_compare_commits(const void* a, const void* b, void*) {
  const commit_key x = key_of(at<adp_rel_commit_entry>(a));
  const commit_key y = key_of(at<adp_rel_commit_entry>(b));
  const bool xl = *x.link != '\0';
  const bool yl = *y.link != '\0';
  if (xl != yl) return xl ? 1 : -1;
  if (!xl) {
    if (long c = cmp_type(x.type, y.type)) return c;
    return cmp_long(y.del, x.del);
  }
  if (long c = loc_st_strcmp(x.link, y.link)) return c < 0 ? -1 : 1;
  return cmp_long(x.sequence, y.sequence);
}
