// KAdpConnId: construction, the service forwarders under the exception
// boundary, loading, reconnecting and the server time.
#include "adapter/adp_conn.h"

#include "adapter/adp_batch.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>

#include "adapter/adp_db.h"
#include "adapter/adp_err.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_time.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "adapter/dialects/adp_dbop_ora.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_sys_cfg.h"
#include "kclassic/kc_odt.h"
#include "kclassic/kc_sys.h"

using KCLASSIC::KErr;
using KCLASSIC::KZString;

namespace {

void delete_batch(KAdpSqlBatch* batch) {
  if (batch == nullptr) return;
  batch->Reset();
  delete batch;
}

}  // namespace

KAdpConnId::KAdpConnId(const char* driver) : m_config(driver) {
  init_common();
  if (adp_db_is_db_mssql()) {
    m_pDbOperation = new KAdpMssqlOperation(this);
  } else if (adp_db_is_db_oracle()) {
    m_pDbOperation = new KAdpOraOperation(this);
  }
}

KAdpConnId::KAdpConnId() { init_common(); }

void KAdpConnId::init_common() {
  m_header = adp_db_dhead{};
}

KAdpConnId::~KAdpConnId() {
  delete_batch(m_pBatch);
  m_pBatch = nullptr;
  delete m_pDbOperation;
  m_pDbOperation = nullptr;
  for (char*& name : m_localeNames) {
    std::free(name);
    name = nullptr;
  }
  for (char*& name : m_charsetNames) {
    std::free(name);
    name = nullptr;
  }
  // Only this connection stops being current, and it leaves the list.
  adp_db_clear_conn(this);
  adp_db_list_remove(this);
  KAdpConnId::Release();
}

template <class F>
long KAdpConnId::forward(F&& call) {
  if (m_pDataSvc == nullptr) {
    long rc = cmn_alrt_push(nullptr, nullptr, DBS_SERVER_CONNECTION_FAIL, 0);
    return rc != 0 ? rc : DBS_SERVER_CONNECTION_FAIL;
  }
  return adp_err_guard([&]() -> long {
    call(*m_pDataSvc);
    return 0;
  });
}

long KAdpConnId::LoadDataService() {
  Release();
  return adp_err_guard([&]() -> long {
    if (adp_db_is_db_mssql()) {
      char* value = nullptr;
      osl_sys_get_config_string("win_authentication", &value);
      if (value != nullptr && strcasecmp(value, "TRUE") == 0) {
        m_config.SetPropertyBool(static_cast<KAdpConfig::bool_type>(10), 1);
      }
    }
    KZString library = m_config.GetPropertyStr(static_cast<KAdpConfig::str_type>(13));
    m_pDataSvc = m_config.LoadService(library, m_hLibrary);
    return 0;
  });
}

long KAdpConnId::Release() {
  if (m_pDataSvc != nullptr) {
    try {
      m_pDataSvc->Release(0);
    } catch (KErr* e) {
      delete e;
    } catch (...) {
    }
  }
  m_pDataSvc = nullptr;
  return 0;
}

long KAdpConnId::Connect(const char* login, const char* password, const char* third) {
  return forward([&](KCLASSIC::tagPpmDataSvc& s) { s.Connect(login, password, third); });
}

long KAdpConnId::GenerateObjidValues(KAdpUtlRecord& record) {
  return forward([&](KCLASSIC::tagPpmDataSvc& s) { s.GenerateObjids(record); });
}

long KAdpConnId::ExecProc(KAdpUtlRecord& params, KZString name, long flag) {
  return forward([&](KCLASSIC::tagPpmDataSvc& s) { s.ExecProc(params, KZString(name), flag); });
}

long KAdpConnId::ReConnect() {
  if (m_pDataSvc != nullptr) return 0;
  long rc = adp_err_guard([&]() -> long {
    m_pDataSvc = m_config.CreateDataService();
    return 0;
  });
  if (rc != 0 || m_pDataSvc == nullptr) return rc;
  KZString login = m_config.GetPropertyStr(static_cast<KAdpConfig::str_type>(3));
  KZString password = m_config.GetPropertyStr(static_cast<KAdpConfig::str_type>(4));
  return Connect(login, password, nullptr);
}

long KAdpConnId::StartBatch(KCLASSIC::KStringArray* statements, KAdpUtlRecord* binds,
                            KCLASSIC::tagPpmStats* stats) {
  if (statements != nullptr && statements->GetSize() > 0) m_lastSql = (*statements)[statements->GetSize() - 1];
  return forward([&](KCLASSIC::tagPpmDataSvc& s) { s.StartBatch(statements, binds, stats); });
}

long KAdpConnId::EndBatch() {
  return forward([&](KCLASSIC::tagPpmDataSvc& s) { s.EndBatch(); });
}

long KAdpConnId::BeginTransaction() {
  return forward([&](KCLASSIC::tagPpmDataSvc& s) { s.BeginTransaction(); });
}

long KAdpConnId::EndTransaction(char commit, char second) {
  return forward([&](KCLASSIC::tagPpmDataSvc& s) { s.EndTransaction(commit, second); });
}

long KAdpConnId::ExecSelectStmt(KCLASSIC::tagPpmStats* stats, const char* text, KAdpUtlRecord& record) {
  m_lastSql = text != nullptr ? text : "";
  return forward([&](KCLASSIC::tagPpmDataSvc& s) { s.ExecQuery(stats, text, record); });
}

long KAdpConnId::ExecDmlStmt(KCLASSIC::tagPpmStats* stats, const char* text, long* rows) {
  m_lastSql = text != nullptr ? text : "";
  return forward([&](KCLASSIC::tagPpmDataSvc& s) { s.ExecStatement(stats, text, rows); });
}

long KAdpConnId::SetBindInfo(KAdpUtlRecord& record) {
  return forward([&](KCLASSIC::tagPpmDataSvc& s) { s.SetBindInfo(record); });
}

long KAdpConnId::FetchNextSet(char flag, long& rows) {
  return forward([&](KCLASSIC::tagPpmDataSvc& s) { s.FetchNextSet(flag, rows); });
}

long KAdpConnId::MoveRowset(KAdpUtlRecord& record, long first, long /*second*/) {
  return forward([&](KCLASSIC::tagPpmDataSvc& s) { s.MoveRowset(record, first, 0); });
}

long KAdpConnId::MoveNextRow(KAdpUtlRecord& record, long& moved) {
  moved = -1;
  return forward([&](KCLASSIC::tagPpmDataSvc& s) { moved = s.MoveNextRow(record); });
}

long KAdpConnId::GetDbSvrTime(clktime* out) {
  if (m_pDbOperation == nullptr) {
    long rc = cmn_alrt_push(nullptr, nullptr, ADP_DB_ERROR, 2, "No SQL dialect for the server time: ",
                            "GetDbSvrTime");
    return rc != 0 ? rc : ADP_DB_ERROR;
  }
  std::string text;
  long rc = forward([&](KCLASSIC::tagPpmDataSvc& s) {
    const char* format = m_pDbOperation->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(35));
    KCLASSIC::KOleDateTime when;
    when = s.GetServerTime();
    text = static_cast<const char*>(when.Format(format));
  });
  if (rc != 0) return rc;
  return adp_time_str_to_clk(text.data(), out);
}

long KAdpConnId::ProcessError(KErr* err) {
  if (err == nullptr) return 0;
  KZString text;
  text.Format("ADP Exception in Function %s , Error Number : %d ", static_cast<const char*>(err->m_strText2),
              static_cast<int>(err->ErrorNum));
  KCLASSIC::KMessageBox(nullptr, text, "ADP Exception", 0);
  return err->ErrorNum;
}
