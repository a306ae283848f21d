// The object on the other side of a one-to-one relation.
#include "adapter/adp_sch_load.h"
#include "core/utl/utl_col.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"
#include "store/dbs_msg.h"
#include "store/dbs_obj.h"
#include "store/dbs_qry.h"

namespace {
constexpr long DBS_NOT_OTO = 0x70001c;
constexpr long k_otop = 3;
constexpr long k_otof = 4;
}  // namespace

long dbs_qry_get_oto_byid(KAdpConnId* c, obj_id* id, long rel_id, dbs_ty_lobj** object) {
  *object = nullptr;
  typ_sch_srec* s = nullptr;
  if (long st = adp_sch_shandle_find(id->type & 0x1ffff, &s)) return st;
  long index = 0;
  if (long st = typ_sch_rel_map(s, rel_id, &index)) return st;
  const typ_sch_rel_inst& entry = s->rels[index];
  typ_sch_rrec* r = entry.rel;
  if (!r || (r->type != k_otop && r->type != k_otof)) return dbs_alrt("dbs_qry_get_oto_byid", DBS_NOT_OTO);
  typ_sch_srec* other = entry.side == 'p' ? r->fschema : r->pschema;
  dbs_ty_qry_desc target{other ? other->type_id : 0, 0, nullptr, 0};
  utl_ty_col* found = nullptr;
  if (long st = utl_col_make("dbs_qry_get_oto_byid", 517, 2, 2, 0, 0, &found)) return st;
  long st = dbs_qry_relation(c, id, rel_id, &target, nullptr, nullptr, found);
  long n = 0;
  utl_col_num(found, &n);
  if (st == 0 && n > 1) {
    dbs_obj_free_local_col(nullptr, found);
    return dbs_alrt("dbs_qry_get_oto_byid", DBS_NOT_OTO);
  }
  if (st == 0 && n == 1) {
    void* slot = nullptr;
    utl_col_ith(found, 0, &slot);
    *object = *static_cast<dbs_ty_lobj**>(slot);
  }
  if (st) dbs_obj_free_local_col(nullptr, found);
  else utl_col_free("dbs_qry_get_oto_byid", found);
  return st;
}
