// The object-id field behind a view relation index, and the login-time
// server batches of the offline client.
#include "core/utl/utl_mem.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"
#include "store/dbs_main.h"
#include "store/dbs_msg.h"
#include "store/dbs_rel.h"

namespace {
constexpr long k_oid_gen = 3;
constexpr long DBS_BATCH_ERROR = 0x700092;
constexpr long DBS_REBUILD = 0x700093;
}  // namespace

long dbs_sch_opt_vfld_to_real(long rel_index, long* spec_id, typ_sch_srec** schema) {
  long index = rel_index & ~0x4000L;
  long n = 0;
  typ_sch_srec** all = nullptr;
  if (long st = typ_sch_get(nullptr, &n, &all)) return st;
  typ_sch_srec* holder = nullptr;
  for (long i = 0; i < n && !holder; ++i) {
    typ_sch_srec* s = all[i];
    for (long r = 0; s && r < s->nrels; ++r)
      if (s->rels[r].rel_index == index) holder = s;
  }
  if (all) utl_mem_free("dbs_sch_opt_vfld_to_real", all);
  if (!holder) return 1;
  *spec_id = -1;
  if (schema) *schema = nullptr;
  for (long f = 0; f < holder->nfields; ++f) {
    if (holder->fields[f].gen_id == k_oid_gen) {
      *spec_id = holder->fields[f].spec_id;
      if (schema) *schema = holder;
      break;
    }
  }
  return 0;
}

long dbs_obj_process_login_batches() {
  if (!dbs_main_is_remote()) return 0;
  long answer = read_sbatch();
  if (answer == 1) return 0;
  if (answer == 3) {
    setReadOnlyFlag();
    return dbs_alrt("dbs_obj_process_login_batches", DBS_REBUILD);
  }
  return dbs_alrt("dbs_obj_process_login_batches", DBS_BATCH_ERROR, "");
}
