// The texts of a CRM database's repository: SQL Server's national
// (Unicode) forms and Oracle's DDL. SQL Server's plain texts are members of
// its dialect (KAdpMssqlOperation::RepoText, numbered 1 to 17).
#pragma once

#include "orb_api.h"

namespace NAdpUnicodeSqlStmts {
ORB_API extern const char* const strCreTblAdpTblNameMap1;
ORB_API extern const char* const strCreTblAdpSchInfo1;
ORB_API extern const char* const strCreIdxAdpSchInfo1;
ORB_API extern const char* const strCreTblAdpTblOid1;
ORB_API extern const char* const strCreTblAdpTblOidUn1;
ORB_API extern const char* const strCreIdxAdpTblOid1;
ORB_API extern const char* const strCreIdxAdpTblOidUn1;
ORB_API extern const char* const strCreTblAdpSchRelInfo1;
ORB_API extern const char* const strCreIdxAdpSchRelInfo1;
ORB_API extern const char* const strCreTblAdpViewFieldInfo1;
ORB_API extern const char* const strCreTblAdpViewJoinInfo1;
ORB_API extern const char* const strCreTblAdpSchIndex1;
ORB_API extern const char* const strCreTblAdpDbHeader1;
ORB_API extern const char* const strInsAdpDbHeader1;
ORB_API extern const char* const strCreTblAdpDbComments1;
ORB_API extern const char* const strCreTblUpgradeOps1;
}  // namespace NAdpUnicodeSqlStmts

