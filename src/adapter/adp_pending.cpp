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

long adp_sce_add_columns(KAdpConnId*, typ_sch_srec*, utl_ty_col*, FILE*, long) { return pending("adp_sce_add_columns"); }
long adp_sce_create_synonym(KAdpConnId*, const char*, FILE*, long) { return pending("adp_sce_create_synonym"); }
long adp_sce_create_table(KAdpConnId*, const char*, const char*, const char*, FILE*, long) { return pending("adp_sce_create_table"); }
long adp_sce_delete_view(KAdpConnId*, const char*, FILE*, long) { return pending("adp_sce_delete_view"); }
long adp_sce_fill_file_from_table(KAdpConnId*, const char*, const char*, utl_ty_col*, utl_ty_col*, utl_ty_col*, FILE*, long) { return pending("adp_sce_fill_file_from_table"); }
long adp_sce_fill_table_from_table(KAdpConnId*, const char*, const char*, utl_ty_col*, utl_ty_col*, utl_ty_col*, FILE*, long) { return pending("adp_sce_fill_table_from_table"); }
long adp_sce_finish_changes() { return pending("adp_sce_finish_changes"); }
long adp_sce_get_sequence(KAdpConnId*, long*) { return pending("adp_sce_get_sequence"); }
long adp_sce_get_table_info(KAdpConnId*, const char*, long*, long*) { return pending("adp_sce_get_table_info"); }
long adp_sce_insert_upgrade_ops(KAdpConnId*, long, long, long, const char*, const char*, const char*) { return pending("adp_sce_insert_upgrade_ops"); }
long adp_sce_make_table_searchable(KAdpConnId*, typ_sch_srec*, const char*, FILE*, long) { return pending("adp_sce_make_table_searchable"); }
long adp_sce_modify_flags(KAdpConnId*, const dbs_ty_tbl_change*) { return pending("adp_sce_modify_flags"); }
long adp_sce_prepare_for_changes() { return pending("adp_sce_prepare_for_changes"); }
long adp_sce_rename_columns(KAdpConnId*, typ_sch_srec*, utl_ty_col*, FILE*, long) { return pending("adp_sce_rename_columns"); }
long adp_sce_rename_table(KAdpConnId*, const char*, const char*, FILE*, long) { return pending("adp_sce_rename_table"); }
long adp_sce_upgrade_exclusive(KAdpConnId*, const dbs_ty_tbl_change*, const char*, const char*, FILE*, long) { return pending("adp_sce_upgrade_exclusive"); }
long adp_sce_update_detable(KAdpConnId*, long, utl_ty_col*) { return pending("adp_sce_update_detable"); }
