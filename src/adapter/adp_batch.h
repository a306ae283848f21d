// KAdpSqlBatch: the statement batch through which the adapter's SQL reaches
// the database. Text, values (KAdpBindParam) and result destinations
// (KAdpBindCol) are streamed in with operator<<, a BatchType value ends each
// statement, and the batch then runs as DDL (each statement at once), as a
// DML batch in one transaction, or statement by statement with its rows
// fetched into the bound destinations.
//
// Values are bound through markers (the configured marker text and the
// variable's number within its statement) or written as literals, as the
// configuration's parameter-binding switch says. Building never throws: the
// first failed append is kept in the status and freezes every later append
// until Reset.
//
// One batch belongs to one connection and serves one caller at a time.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <string>

#include "adapter/adp_dsvc.h"
#include "adapter/adp_rec.h"
#include "core/clk/clk_time.h"
#include "core/cmn/cmn_dec.h"
#include "kclassic/kc_array.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

class KAdpConnId;

// Value type ids the batch takes.
constexpr long ADP_VT_LONG = 512;
constexpr long ADP_VT_SHORT = 513;
constexpr long ADP_VT_FLOAT = 514;
constexpr long ADP_VT_STRING = 516;
constexpr long ADP_VT_CLK = 609;
constexpr long ADP_VT_DOUBLE = 613;
constexpr long ADP_VT_MONEY = 614;
constexpr long ADP_VT_BINARY = 615;
constexpr long ADP_VT_DECIMAL = 766;

// Longest string that Oracle takes inline; a longer one is always bound.
constexpr long ADP_OCI_LARGE_STRING = 4000;

// A value to bind or write inline. The caller keeps the value alive until
// the batch has run (only integers are held by value).
struct ORB_API KAdpBindParam {
  intptr_t m_Value = 0;
  long m_nType = 0;
  char m_bUpper = 0;
  char m_bByRef = 0;

  KAdpBindParam(const long v) : m_Value(v), m_nType(ADP_VT_LONG) {}
  KAdpBindParam(const int v) : m_Value(v), m_nType(ADP_VT_LONG) {}
  KAdpBindParam(void** p) : m_Value(reinterpret_cast<intptr_t>(p)), m_nType(ADP_VT_LONG) {}
  KAdpBindParam(short v) : m_Value(v), m_nType(ADP_VT_SHORT) {}
  KAdpBindParam(const float& v) : m_Value(reinterpret_cast<intptr_t>(&v)), m_nType(ADP_VT_FLOAT) {}
  KAdpBindParam(const double& v) : m_Value(reinterpret_cast<intptr_t>(&v)), m_nType(ADP_VT_DOUBLE) {}
  KAdpBindParam(const cmn_ty_decimal& v) : m_Value(reinterpret_cast<intptr_t>(&v)), m_nType(ADP_VT_DECIMAL) {}
  KAdpBindParam(const clktime& v) : m_Value(reinterpret_cast<intptr_t>(&v)), m_nType(ADP_VT_CLK) {}
  KAdpBindParam(const char* s, char upper = 0, char by_ref = 0)
      : m_Value(reinterpret_cast<intptr_t>(s)), m_nType(ADP_VT_STRING), m_bUpper(upper), m_bByRef(by_ref) {}
  // A length-prefixed byte string (KBinSysAllocStringByteLen).
  KAdpBindParam(const char** bytes)
      : m_Value(reinterpret_cast<intptr_t>(bytes != nullptr ? *bytes : nullptr)), m_nType(ADP_VT_BINARY) {}
  // Any type id with the value's address (money, or a type the batch refuses).
  static KAdpBindParam Typed(long type, const void* value) {
    KAdpBindParam p(0L);
    p.m_nType = type;
    p.m_Value = reinterpret_cast<intptr_t>(value);
    return p;
  }

  // 1 for a string of more than 4000 characters.
  long IsOCILargeString() const;
};

// A result destination. Character destinations carry their size: a value
// that does not fit fails the row (0x600004); -1 leaves the size unchecked.
struct ORB_API KAdpBindCol {
  void* m_pData = nullptr;
  long m_nSqlType = 0;
  long m_nType = 0;
  char m_bFlag = 0;
  long m_nSize = -1;

  KAdpBindCol(void* p, long sql_type, long size = -1) : m_pData(p), m_nSqlType(sql_type), m_nSize(size) {}
  KAdpBindCol(long& v) : m_pData(&v) {}
  KAdpBindCol(char* buffer, long size, char flag = 0)
      : m_pData(buffer), m_nSqlType(flag == 1 ? 8 : 6), m_bFlag(flag), m_nSize(size) {}
  // A pointer to the record's text.
  KAdpBindCol(char** text, char flag) : m_pData(text), m_nSqlType(6), m_nType(1), m_bFlag(flag) {}
  KAdpBindCol(float& v) : m_pData(&v), m_nSqlType(3) {}
  KAdpBindCol(double& v) : m_pData(&v), m_nSqlType(4) {}
  KAdpBindCol(cmn_ty_decimal& v) : m_pData(&v), m_nSqlType(6), m_nType(ADP_VT_DECIMAL) {}
  KAdpBindCol(clktime& v) : m_pData(&v), m_nSqlType(6), m_nType(ADP_VT_CLK) {}
  // A new byte string per row (the caller frees it).
  KAdpBindCol(char /*ignored*/, char** bytes) : m_pData(bytes), m_nSqlType(16), m_nType(ADP_VT_BINARY) {}
  KAdpBindCol(const KAdpBindCol&) = default;
  KAdpBindCol& operator=(const KAdpBindCol&) = default;
};

class ORB_API KAdpSqlBatch {
 public:
  // Ends the current statement (the value is not looked at).
  enum BatchType : long { kEndStmt = 0 };
  static constexpr long COL_BV_BUFFER = 2;
  static constexpr long FLAG_PREPARED = 0x40;

  explicit KAdpSqlBatch(KAdpConnId* cid);
  ~KAdpSqlBatch();
  KAdpSqlBatch(const KAdpSqlBatch&) = delete;
  KAdpSqlBatch& operator=(const KAdpSqlBatch&) = delete;

  // Building.
  KAdpSqlBatch& operator<<(const char* text);
  KAdpSqlBatch& operator<<(const KAdpBindParam& value);
  KAdpSqlBatch& operator<<(const KAdpBindCol& col);
  KAdpSqlBatch& operator<<(BatchType end);
  long AppendSql(const char* text);
  long AppendSqlFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));
  KAdpSqlBatch& BuildSqlWithNoParamBind(const KAdpBindParam& value);
  long BuildOidQuery(const char* column, const char* table, const char* key_column, long key, long lock,
                     long exists);
  long GetStatus() const { return m_nStatus; }
  const char* GetCurrentStmt() const;
  long GetStmtCount() const { return m_Statements.GetSize(); }
  const char* GetStmt(long i) const;
  long GetFlags() const { return m_nFlags; }
  void SetFlags(long flags) { m_nFlags = flags; }

  // Running.
  long ExecDdl();
  long ExecDdlFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));
  long ExecuteDMLBatch();
  long ExecSelectStmt(const char* text, KAdpUtlRecord& record);
  long StartBatch();
  long GetNextResult(long* rows);
  long GetNextResult(KAdpUtlRecord& record);
  // Runs the next statement with the record's columns bound, leaving its
  // rows with the service (MoveRowset or MoveNextRow read them); opened
  // receives false when no statement is left.
  long OpenNextResult(KAdpUtlRecord& record, bool& opened);
  // 1 a row was delivered, 0 a failed fetch or conversion (kept in the
  // status; the next call gives -1), -1 no more rows.
  long GetNextRow();
  long ExecProc(KAdpUtlRecord& record, KCLASSIC::KZString name, long n);
  long BeginTransaction();
  long EndTransaction(char commit);
  long GetRowCount();
  long GetObjectIdCollection(void* collection, long column);
  long SetLastSqlStmt(const char* text);
  const char* GetLastSqlStmt() const { return m_LastSqlStmt; }
  long UpdateDataFromRecord(long row);
  long SetCurrentResultColumnTypes();

  // Life.
  long Initialize();
  long SetCid();
  long Reset();
  long CancelResult() { return 1; }
  long PrintToSqlLog() { return 0; }
  KAdpConnId* GetCid() const { return m_pCid; }
  KAdpUtlRecord& GetResult() { return m_Result; }
  KAdpUtlRecord& GetStmtBindVars() { return m_StmtBindVars; }
  KAdpUtlRecord& GetBindVars() { return m_BindVars; }
  void Print(FILE* f) const;

 private:
  long declare_bind_columns();
  long store_bind_vars();
  long append(const char* text);
  long bind_value(const KAdpBindParam& value);
  long literal(const KAdpBindParam& value);
  long value_text(const KAdpBindParam& value, KCLASSIC::KZString& out, long& sql_type);
  // stmt: the statement whose variables annotate the text (-1: none).
  long exec_one_ddl(const char* text, long stmt);
  long set_last(const char* text, long stmt);
  long run_prelude();
  // The prelude, the record bound and the next statement run (-1: none left).
  long run_bound(KAdpUtlRecord& record);
  void free_col_lists();
  KCLASSIC::KPtrArray* col_list(long stmt) const;
  bool is_mssql() const;
  bool is_oracle() const;

  long m_nFlags = 0;
  KAdpUtlRecord m_StmtBindVars;
  KAdpUtlRecord m_BindVars;
  KAdpUtlRecord m_Result;
  long m_nRowCount = 0;
  KCLASSIC::tagPpmStats m_Stats{};
  KAdpConnId* m_pCid = nullptr;
  long m_nCurStmt = 0;
  long m_nCurResult = 0;
  KCLASSIC::KStringArray m_Statements;
  long m_nRowPos = 0;
  long m_nStatus = 0;
  KCLASSIC::KPtrArray m_ColLists;
  KCLASSIC::KPtrArray* m_pCurCols = nullptr;
  KCLASSIC::KZString m_LastSqlStmt;
  // Byte strings bound as binary values (the batch's copies).
  KCLASSIC::KPtrArray m_BinCopies;
  // GetNextRow has reported a failed row: the next call ends the rows.
  bool m_bRowFailed = false;
};

// Prints every statement with "%s\n".
ORB_API FILE& operator<<(FILE& f, KAdpSqlBatch* b);
// How many DDL statements the process's batches have run (or tried); the
// catalogue caches compare it to know they may be stale.
ORB_API long adp_batch_ddl_runs();

// Replaces *text by an upper-case copy in a module pool; the copy lives until
// the next call. 0.
ORB_API long adp_qry_str_conv(char** text);

// Float and double texts: "%f" ("%lf") when that reads back as the same
// value of its type, else the shortest text that does; "." always.
ORB_API void adp_batch_float_text(float v, KCLASSIC::KZString& out);
ORB_API void adp_batch_double_text(double v, KCLASSIC::KZString& out);

// Writes a format made only of texts, %s, %d, %ld and %% with its arguments
// onto out, without the locale-aware formatter (the batch's common formats);
// false, out to be dropped, for any other format or a NULL text.
ORB_API bool adp_batch_plain_format(std::string& out, const char* format, va_list ap);
