// The SQL Server dialect's multi-query batch: the queued queries, the object
// type of each and the collections of the relation queries.
#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_err.h"
#include "adapter/adp_sql.h"
#include "adapter/dialects/adp_dbop_mssql.h"

KAdpMssqlOperation::~KAdpMssqlOperation() = default;

long KAdpMssqlOperation::BatchInitialize(void* con) {
  return adp_err_guard([&]() -> long {
    void* stmt = nullptr;
    if (long st = adp_sql_create(static_cast<KAdpConnId*>(con), &stmt)) return st;
    m_pBatch = static_cast<KAdpSqlBatch*>(stmt);
    m_batchTypes.SetSize(0);
    m_batchIdCols.SetSize(0);
    return 0L;
  });
}

long KAdpMssqlOperation::BatchTerminate() {
  return adp_err_guard([&]() -> long {
    if (m_pBatch != nullptr) m_pBatch->Reset();
    m_pBatch = nullptr;
    m_batchTypes.SetSize(0);
    m_batchIdCols.SetSize(0);
    return 0L;
  });
}
