// The texts of a CRM database's repository: SQL Server's national
// (Unicode) forms and Oracle's DDL. SQL Server's plain texts are members of
// its dialect (KAdpMssqlOperation::RepoText, numbered 1 to 17).
#pragma once

namespace NAdpUnicodeSqlStmts {
extern const char* const strCreTblAdpTblNameMap1;
extern const char* const strCreTblAdpSchInfo1;
extern const char* const strCreIdxAdpSchInfo1;
extern const char* const strCreTblAdpTblOid1;
extern const char* const strCreTblAdpTblOidUn1;
extern const char* const strCreIdxAdpTblOid1;
extern const char* const strCreIdxAdpTblOidUn1;
extern const char* const strCreTblAdpSchRelInfo1;
extern const char* const strCreIdxAdpSchRelInfo1;
extern const char* const strCreTblAdpViewFieldInfo1;
extern const char* const strCreTblAdpViewJoinInfo1;
extern const char* const strCreTblAdpSchIndex1;
extern const char* const strCreTblAdpDbHeader1;
extern const char* const strInsAdpDbHeader1;
extern const char* const strCreTblAdpDbComments1;
extern const char* const strCreTblUpgradeOps1;
}  // namespace NAdpUnicodeSqlStmts

