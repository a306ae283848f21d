// The per-field copy procedure.
#include "client/oab/oab_fld.h"

#include "store/dbs_fld.h"

long oab_fld_copy_one_fld(dbs_ty_lobj*, long spec_id, long, long, void* slot, void* user, char* stop) {
  if (spec_id == 0) return 0;
  long st = dbs_fld_set(static_cast<dbs_ty_lobj*>(user), spec_id, slot);
  if (st != 0) *stop = 1;
  return st;
}
