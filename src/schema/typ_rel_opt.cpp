// Optional relations: registrations of REQUIRED relations and the default
// relates queued for them in the adapter's relation batch.
#include "adapter/adp_rel.h"
#include "core/utl/utl_col.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"

namespace {
utl_ty_col* g_optional_rels = nullptr;
const long kOptionalLowId = -2;  // number of every default object
constexpr long kTypeMask = 0x1ffff;
}  // namespace

long typ_sch_add_optional_rel(typ_sch_srec* s, long position, typ_sch_rel_inst*) {
  if (!g_optional_rels) {
    if (long st = utl_col_make("typ_sch_add_optional_rel", TYP_TY_OPT_REL, 10, 10, 0, 0, &g_optional_rels))
      return st;
  }
  typ_sch_opt_rel r{s->type_id, position};
  return utl_col_push(g_optional_rels, &r, nullptr);
}

long typ_sch_get_optional_rels(long* count, typ_sch_opt_rel** array) {
  *count = 0;
  *array = nullptr;
  if (!g_optional_rels) return 0;
  void* a = nullptr;
  if (long st = utl_col_get_array(g_optional_rels, &a, count)) return st;
  *array = static_cast<typ_sch_opt_rel*>(a);
  return 0;
}

long typ_sch_free_optional_rels() {
  if (!g_optional_rels) return 0;
  long st = utl_col_free("typ_sch_free", g_optional_rels);
  g_optional_rels = nullptr;
  return st;
}

long typ_sch_get_optional_objid(long type_word, obj_id* id) {
  id->type = type_word & kTypeMask;
  id->num = kOptionalLowId;
  id->sub = 0;
  return 0;
}

long typ_sch_assert_optional_rel(obj_id* id, utl_ty_col*, long position) {
  obj_id def{};
  typ_sch_get_optional_objid(id->type, &def);
  obj_id zero{};
  return adp_rel_add_to_batch(id, &def, &zero, position, 1);
}

static bool same_object(const obj_id& a, const obj_id& b) {
  return (a.type & kTypeMask) == (b.type & kTypeMask) && a.num == b.num && a.sub == b.sub;
}

long typ_sch_is_rel_in_batch(const obj_id* id, long position, long count, adp_rel_batch_item* const* items,
                             long* index, long* is_unrelate) {
  *index = -1;
  for (long i = 0; i < count; ++i) {
    const adp_rel_batch_item* it = items[i];
    if (!it || !it->rel) continue;
    if ((it->rel->pspec == position && same_object(it->primary, *id)) ||
        (it->rel->fspec == position && same_object(it->foreign, *id))) {
      *index = i;
      if (is_unrelate) *is_unrelate = it->relate != 1 ? 1 : 0;
      return 0;
    }
  }
  return 0;
}

// The object items of the adapter's queue are pointers in a collection, as
// are the relation items; the batch array is read again after each change.
long typ_sch_fix_optional_rels(utl_ty_col* objects, utl_ty_col* batch) {
  if (!objects || !batch || !g_optional_rels) return 0;
  long nobj = 0;
  utl_col_num(objects, &nobj);
  long nreg = 0;
  typ_sch_opt_rel* regs = nullptr;
  typ_sch_get_optional_rels(&nreg, &regs);
  for (long o = 0; o < nobj; ++o) {
    void* slot = nullptr;
    utl_col_ith(objects, o, &slot);
    auto* item = slot ? *static_cast<adp_obj_batch_item**>(slot) : nullptr;
    if (!item) continue;
    for (long r = 0; r < nreg; ++r) {
      if (regs[r].type_id != (item->type & kTypeMask)) continue;
      void* arr = nullptr;
      long count = 0;
      if (long st = utl_col_get_array(batch, &arr, &count)) return st;
      long index = -1, unrelate = 0;
      typ_sch_is_rel_in_batch(&item->id, regs[r].position, count, static_cast<adp_rel_batch_item* const*>(arr),
                              &index, &unrelate);
      if (index < 0) {
        // A new object gets its default relate.
        if (item->create != 1) continue;
      } else if (unrelate) {
        if (long st = utl_col_remove(batch, nullptr, index)) return st;
      } else {
        continue;
      }
      if (long st = typ_sch_assert_optional_rel(&item->id, batch, regs[r].position)) return st;
    }
  }
  return 0;
}
