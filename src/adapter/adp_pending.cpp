// Adapter calls that are declared but not built yet: each pushes alert
// 0x600029 with its own name and returns it (a text answer is null). A call
// leaves this file when it is built; the last one deletes the file.
#include "adapter/adp_db.h"
#include "adapter/adp_main.h"
#include "adapter/adp_obj.h"
#include "adapter/adp_pass.h"
#include "adapter/adp_qry.h"
#include "adapter/adp_rel.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_sch_upg.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_usr.h"
#include "adapter/adp_msg.h"
#include "core/cmn/cmn_alrt.h"

namespace {

long pending(const char* name) {
  long rc = cmn_alrt_push(nullptr, nullptr, ADP_NOT_BUILT, 1, name);
  return rc != 0 ? rc : ADP_NOT_BUILT;
}

}  // namespace

long adp_bar_create(KAdpConnId*, long, long) { return pending("adp_bar_create"); }
long adp_bar_create_with_name(KAdpConnId*, const char*, long) { return pending("adp_bar_create_with_name"); }
long adp_bar_table_name(const char*, utl_ty_pool*, long, char**) { return pending("adp_bar_table_name"); }
