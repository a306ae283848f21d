// KAdpSqlBatch: running statements, fetching rows, DDL and DML batches, the
// annotated last statement.
#include <cstdarg>
#include <cstring>
#include <string>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_err.h"
#include "adapter/adp_trn.h"
#include "kclassic/kc_err.h"

using KCLASSIC::KPtrArray;
using KCLASSIC::KZString;

long KAdpSqlBatch::StartBatch() {
  if (long st = store_bind_vars()) return st;
  if (long st = declare_bind_columns()) return st;
  if (m_pCid == nullptr) return 0;
  return m_pCid->StartBatch(&m_Statements, &m_StmtBindVars, &m_Stats);
}

// Steps shared by the runners: start the batch at the first statement, skip
// an empty statement (result -1: nothing to run), note the last statement.
long KAdpSqlBatch::run_prelude() {
  if (m_nCurResult == 0) StartBatch();
  const char* text = GetStmt(m_nCurResult);
  if (text[0] == '\0') {
    m_nRowPos = 0;
    ++m_nCurResult;
    return -1;
  }
  return SetLastSqlStmt(text);
}

long KAdpSqlBatch::GetNextResult(long* rows) {
  return adp_err_guard([&]() -> long {
    long st = run_prelude();
    if (st == -1) return 0L;
    if (st != 0) return st;
    m_bRowFailed = false;
    KPtrArray* cols = col_list(m_nCurResult);
    if (cols != nullptr) {
      // The columns of an earlier result set go with its rows: a declared
      // column keeps its type, so this statement declares its own afresh.
      m_Result.Purge();
      m_Result.RemoveAll();
      if ((st = SetCurrentResultColumnTypes()) != 0 || (st = m_pCid->SetBindInfo(m_Result)) != 0) {
        m_nStatus = st;
        return st;
      }
    }
    m_nRowCount = -1;
    st = m_pCid->FetchNextSet(0, m_nRowCount);
    if (rows != nullptr) *rows = m_nRowCount;
    if (st != 0) return st;
    m_pCurCols = cols;
    ++m_nCurResult;
    m_nRowPos = 0;
    return 0L;
  });
}

long KAdpSqlBatch::run_bound(KAdpUtlRecord& record) {
  long st = run_prelude();
  if (st != 0) return st;
  if ((st = m_pCid->SetBindInfo(record)) != 0) return st;
  return m_pCid->FetchNextSet(0, m_nRowCount);
}

long KAdpSqlBatch::GetNextResult(KAdpUtlRecord& record) {
  long st = run_bound(record);
  if (st == -1) return 0;
  if (st != 0) return st;
  if ((st = m_pCid->MoveRowset(record, 0, 0)) != 0) return st;
  ++m_nCurResult;
  m_nRowPos = 0;
  return 0;
}

long KAdpSqlBatch::OpenNextResult(KAdpUtlRecord& record, bool& opened) {
  opened = false;
  long st = run_bound(record);
  if (st == -1) return 0;
  if (st != 0) return st;
  opened = true;
  ++m_nCurResult;
  m_nRowPos = 0;
  return 0;
}

long KAdpSqlBatch::SetCurrentResultColumnTypes() {
  return adp_err_guard([&]() -> long {
    KPtrArray* cols = col_list(m_nCurResult);
    long n = 0;
    for (; cols != nullptr && n < cols->GetSize() && (*cols)[static_cast<int>(n)] != nullptr; ++n) {
      auto* c = static_cast<KAdpBindCol*>((*cols)[static_cast<int>(n)]);
      long type = c->m_nSqlType == 16 ? 6 : c->m_nSqlType;
      if (long st = m_Result.SetColType(n, 0, nullptr, type)) return st;
    }
    if (n == 0) {
      throw new KCLASSIC::KErr(-1, "SetCurrentResultColumnTypes", "No Input Variables bound for getting results");
    }
    return 0L;
  });
}

long KAdpSqlBatch::GetNextRow() {
  return adp_err_guard([&]() -> long {
    if (m_nCurResult == 0 || GetStmt(m_nCurResult - 1)[0] == '\0') {
      m_nRowPos = 0;
      return -1L;
    }
    // A failed row ends the rows: its failure stays in the status.
    if (m_bRowFailed) {
      m_bRowFailed = false;
      m_nRowPos = 0;
      return -1L;
    }
    if (m_nRowPos == 0) m_nStatus = m_pCid->MoveRowset(m_Result, 0, 0);
    if (m_nStatus != 0) {
      m_bRowFailed = true;
      return 0L;
    }
    if (m_Result.GetRows() <= m_nRowPos) {
      m_nRowPos = 0;
      return -1L;
    }
    m_nStatus = UpdateDataFromRecord(m_nRowPos);
    ++m_nRowPos;
    if (m_nStatus != 0) {
      m_bRowFailed = true;
      return 0L;
    }
    return 1L;
  });
}

long KAdpSqlBatch::UpdateDataFromRecord(long row) {
  return adp_err_guard([&]() -> long {
    for (long i = 0; m_pCurCols != nullptr && i < m_pCurCols->GetSize(); ++i) {
      auto* c = static_cast<KAdpBindCol*>((*m_pCurCols)[static_cast<int>(i)]);
      if (c == nullptr) break;
      if (long st = m_Result.GetDataValue(row, i, c->m_nType, c->m_nSqlType, c->m_pData, nullptr, c->m_nSize)) {
        return st;
      }
    }
    return 0L;
  });
}

long KAdpSqlBatch::ExecProc(KAdpUtlRecord& record, KZString name, long n) {
  long st = run_prelude();
  if (st == -1) return 0;
  if (st != 0) return st;
  KZString what = is_oracle() ? name : KZString(GetStmt(m_nCurResult));
  if ((st = m_pCid->ExecProc(record, what, n)) != 0) return st;
  ++m_nCurResult;
  m_nRowPos = 0;
  return 0;
}

long KAdpSqlBatch::ExecSelectStmt(const char* text, KAdpUtlRecord& record) {
  return m_pCid->ExecSelectStmt(&m_Stats, text, record);
}

long KAdpSqlBatch::BeginTransaction() { return adp_trn_begin(m_pCid); }

long KAdpSqlBatch::EndTransaction(char commit) {
  return commit == 1 ? adp_trn_commit(m_pCid) : adp_trn_rollback(m_pCid);
}

namespace {
long g_ddl_runs = 0;
}  // namespace

long adp_batch_ddl_runs() { return g_ddl_runs; }

long KAdpSqlBatch::exec_one_ddl(const char* text, long stmt) {
  // Empty statements run as nothing and leave the last row count alone.
  if (text == nullptr || text[0] == '\0') return 0;
  ++g_ddl_runs;  // even a failed statement may have changed the catalogue
  char in_trn = m_pCid->GetConfig().GetPropertyBool(static_cast<KAdpConfig::bool_type>(6));
  if (in_trn == 1) {
    if (long st = BeginTransaction()) return st;
  }
  if (long st = set_last(text, stmt)) return st;
  if (long st = m_pCid->ExecDmlStmt(&m_Stats, text, &m_nRowCount)) {
    if (in_trn == 1) EndTransaction(0);
    return st;
  }
  if (in_trn == 1) return EndTransaction(1);
  return 0;
}

long KAdpSqlBatch::ExecDdlFormat(const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  KZString s;
  s.FormatV(format, ap);
  va_end(ap);
  return adp_err_guard([&]() -> long { return exec_one_ddl(s, -1); });
}

long KAdpSqlBatch::ExecDdl() {
  return adp_err_guard([&]() -> long {
    for (long i = 0; i <= m_nCurStmt && i < m_Statements.GetSize(); ++i) {
      if (long st = exec_one_ddl(GetStmt(i), i)) return st;
    }
    return 0L;
  });
}

long KAdpSqlBatch::ExecuteDMLBatch() {
  return adp_err_guard([&]() -> long {
    BeginTransaction();
    long n = m_Statements.GetSize();
    for (long i = 0; i < n; ++i) {
      if (long st = GetNextResult(nullptr)) {
        EndTransaction(0);
        return st;
      }
    }
    return EndTransaction(1);
  });
}

long KAdpSqlBatch::GetRowCount() {
  if (m_nRowCount != -1) {
    bool any = false;
    for (int i = 0; i < m_ColLists.GetSize() && !any; ++i) any = m_ColLists[i] != nullptr;
    if (!any) return m_nRowCount;
  }
  long rows = 0;
  m_Result.GetCount(rows);
  return rows;
}

long KAdpSqlBatch::GetObjectIdCollection(void* collection, long column) {
  (void)column;
  return m_Result.FillObjidCollection(collection, -1, -1);
}

long KAdpSqlBatch::SetLastSqlStmt(const char* text) { return set_last(text, m_nCurResult); }

namespace {

// A text cell of a bind-variable row (NULL for any other cell).
const char* bind_text(KCLASSIC::KUtlRecord& vars, long row, long col) {
  if (col >= vars.GetColumns()) return nullptr;
  const long type = vars.GetColCellType(col);
  if (type != KCLASSIC::UTL_CELL_STRING && type != KCLASSIC::UTL_CELL_BSTR) return nullptr;
  return vars.GetString(row, col);
}

// Where the marker stands in the text from from on, not as the prefix of a
// longer marker (":B1" inside ":B10"); -1 when it does not.
int marker_at(const KZString& text, const char* marker, int from) {
  const size_t length = std::strlen(marker);
  int found = -1;
  for (; (found = text.Find(marker, from)) >= 0; from = found + 1) {
    char after = static_cast<const char*>(text)[found + length];
    if (after < '0' || after > '9') break;
  }
  return found;
}

}  // namespace

long KAdpSqlBatch::set_last(const char* text, long stmt) {
  return adp_err_guard([&]() -> long {
    if (text == nullptr) {
      m_LastSqlStmt = "";
      if (m_pCid != nullptr) m_pCid->SetLastSql("");
      return 0L;
    }
    m_LastSqlStmt = text;
    if (stmt >= 0 && m_StmtBindVars.GetRows() > stmt) {
      KCLASSIC::KUtlRecord& vars = *m_StmtBindVars.GetRecordPtr(stmt, 0);
      // Each marker is found by its own text (the marker name in column 0),
      // so a digit elsewhere in the statement is never annotated; its value
      // follows it as a comment.
      const KZString original = m_LastSqlStmt;
      std::string noted;
      int copied = 0;
      for (long i = 0; i < vars.GetRows(); ++i) {
        const char* name = bind_text(vars, i, 0);
        if (name == nullptr || name[0] == '\0') continue;
        // A binary marker is named "b" + marker on Oracle; the text holds the marker.
        const char* marker = name;
        int found = marker_at(original, marker, copied);
        if (found < 0 && name[0] == 'b') found = marker_at(original, marker = name + 1, copied);
        if (found < 0) continue;
        const int end = found + static_cast<int>(std::strlen(marker));
        const char* value = bind_text(vars, i, COL_BV_BUFFER);
        noted.append(static_cast<const char*>(original) + copied, static_cast<size_t>(end - copied));
        noted.append(" /*").append(value != nullptr ? value : "").append(" */");
        copied = end;
      }
      if (copied > 0) {
        noted.append(static_cast<const char*>(original) + copied);
        m_LastSqlStmt = noted.c_str();
      }
    }
    if (m_pCid != nullptr) m_pCid->SetLastSql(m_LastSqlStmt);
    return 0L;
  });
}
