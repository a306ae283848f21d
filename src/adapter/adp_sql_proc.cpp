// Stored procedures through the connection's dialect.
#include <cstdint>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_pass.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_val.h"

namespace {

long count_of(void* word) { return static_cast<long>(reinterpret_cast<intptr_t>(word)); }

}  // namespace

long adp_sql_execute_proc(KAdpConnId* con, void* a1, void* a2, void* a3, void* a4, void* a5, void* a6, void* a7) {
  if (long st = adp_db_check_conn(con)) return st;
  KAdpDbOperation* op = con->GetDbOperation();
  if (op == nullptr) {
    long rc = cmn_alrt_push(nullptr, "adp_sql_execute_proc", ADP_BAD_CONN, 1, con);
    return rc != 0 ? rc : ADP_BAD_CONN;
  }
  return op->SqlExecuteProc(static_cast<char*>(a1), count_of(a2), static_cast<cmn_ty_value*>(a3), count_of(a4),
                            static_cast<long*>(a5), static_cast<cmn_ty_value*>(a6), count_of(a7));
}
