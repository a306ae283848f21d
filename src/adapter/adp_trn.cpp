// The application transaction level.
#include "adapter/adp_trn.h"

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_msg.h"
#include "core/cmn/cmn_alrt.h"

namespace {

long appl_trans_level = 0;

long refused() {
  long rc = cmn_alrt_push(nullptr, nullptr, ADP_TRN_REFUSED, 0);
  return rc != 0 ? rc : ADP_TRN_END_FAIL;
}

}  // namespace

long adp_trn_begin(KAdpConnId* cid) {
  if (long st = adp_db_check_conn(cid)) return st;
  if (appl_trans_level == 0) {
    if (long st = cid->BeginTransaction()) return st;
  }
  ++appl_trans_level;
  return 0;
}

long adp_trn_commit(KAdpConnId* cid) {
  if (long st = adp_db_check_conn(cid)) return st;
  if (appl_trans_level == 1 && cid->EndTransaction(1, 1) != 0) return refused();
  if (appl_trans_level >= 1) --appl_trans_level;
  return 0;
}

long adp_trn_rollback(KAdpConnId* cid) {
  if (long st = adp_db_check_conn(cid)) return st;
  if (cid->EndTransaction(0, 1) != 0) return refused();
  appl_trans_level = 0;
  return 0;
}

long adp_trn_appl_inc() {
  ++appl_trans_level;
  return 0;
}

long adp_trn_appl_dec() {
  if (appl_trans_level > 0) --appl_trans_level;
  return 0;
}

long adp_trn_appl_level(long* out) {
  if (out != nullptr) *out = appl_trans_level;
  return 0;
}
