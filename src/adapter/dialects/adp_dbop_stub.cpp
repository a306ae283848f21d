// The dialect operations one server has no use for: each returns the fixed
// answer the callers expect of that server and touches no argument.
#include "adapter/dialects/adp_dbop_mssql.h"
#include "adapter/dialects/adp_dbop_ora.h"

namespace {

constexpr long kNothing = 0;
constexpr long kNoIndexInfo = -1;
constexpr long kMssqlObjGet = 1;  // SQL Server reads its objects itself

}  // namespace

long KAdpOraOperation::SchGetSysobj(const char*, const char*, char, utl_ty_col**, char*, char*, char*,
                                    utl_ty_estr**) {
  return kNothing;
}
long KAdpOraOperation::ObjGet(long, long, long, dbs_ty_lobj*, typ_sch_srec*) { return kNothing; }
long KAdpOraOperation::StpCreateProcs(char*, char) { return kNothing; }
long KAdpOraOperation::StpCreateNewProc() { return kNothing; }
void KAdpOraOperation::GetAdpIndInitIndexInfo(adp_ty_index_info*) {}
long KAdpOraOperation::IndBuildTableIndex(adp_ty_index_info*, typ_sch_srec*, void*, char**, FILE*, long) {
  return kNothing;
}
long KAdpOraOperation::IndBuildAdpIndex(typ_sch_srec*, void*, FILE*, long) { return kNothing; }
long KAdpOraOperation::IndFillAttr(typ_sch_srec*, adp_ty_index_info*) { return kNoIndexInfo; }
long KAdpOraOperation::IndFillFillfactor(typ_sch_srec*, adp_ty_index_info*) { return kNoIndexInfo; }
long KAdpOraOperation::IndFillFilegroup(typ_sch_srec*, adp_ty_index_info*) { return kNoIndexInfo; }

long KAdpMssqlOperation::ObjGet(long, long, long, dbs_ty_lobj*, typ_sch_srec*) { return kMssqlObjGet; }
long KAdpMssqlOperation::StpGetTableTrigger(typ_sch_srec*, void*) { return kNothing; }
long KAdpMssqlOperation::LookUpPhysicalStorageParams(char*, char**) { return kNothing; }
long KAdpMssqlOperation::CreateSynonym(char*) { return kNothing; }
