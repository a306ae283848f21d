// The base's answer to the dialect operations that no dialect builds yet:
// each pushes 0x600029 with the operation's name and returns it (an
// operation without a result pushes only). An operation leaves this file
// when the dialects override it.
#include "adapter/adp_msg.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/cmn/cmn_alrt.h"

namespace {

long pending(const char* name) {
  long rc = cmn_alrt_push(nullptr, nullptr, ADP_NOT_BUILT, 1, name);
  return rc != 0 ? rc : ADP_NOT_BUILT;
}

}  // namespace

long KAdpDbOperation::RelRelateRemoteId(obj_id*, typ_sch_rrec*, obj_id*) { return pending("RelRelateRemoteId"); }
