#include "adapter/adp_obj.h"

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/dialects/adp_dbop.h"

long adp_obj_not_unique_by_msg(char* message, long* type_id, char** columns, char** index_name) {
  KAdpConnId* con = adp_db_get_conn();
  KAdpDbOperation* op = con != nullptr ? con->GetDbOperation() : nullptr;
  if (op == nullptr) {
    static char empty[1] = "";
    if (type_id != nullptr) *type_id = -1;
    if (columns != nullptr) *columns = empty;
    if (index_name != nullptr) *index_name = empty;
    return 0;
  }
  return op->ObjNotUniqueByMsg(message, type_id, columns, index_name);
}

namespace {

adp_ty_oid_get_proc adp_obj_oid_get_proc = nullptr;

}  // namespace

long adp_obj_set_oid_get_proc(adp_ty_oid_get_proc proc) {
  adp_obj_oid_get_proc = proc;
  return 0;
}

adp_ty_oid_get_proc adp_obj_get_oid_get_proc() { return adp_obj_oid_get_proc; }
