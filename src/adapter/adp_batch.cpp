// KAdpSqlBatch: life, building statements, binding values and literals.
#include "adapter/adp_batch.h"

#include <array>
#include <charconv>
#include <cstdarg>
#include <cstring>
#include <string>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_err.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_time.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/clk/clk_text.h"
#include "core/cmn/cmn_alrt.h"
#include "kclassic/kc_bstr.h"

using KCLASSIC::KPtrArray;
using KCLASSIC::KZString;

namespace {

constexpr long kSqlLong = 0, kSqlFloat = 3, kSqlDouble = 4, kSqlString = 6, kSqlClk = 9, kSqlDecimal = 11,
               kSqlRecord = 14, kSqlPointer = 15, kSqlBinary = 16;

// A whole number's decimal digits, ended by a NUL.
std::array<char, 24> number_text(long n) {
  std::array<char, 24> s{};
  std::to_chars(s.data(), s.data() + s.size() - 1, n);
  return s;
}

// Whether the format holds only texts, %s, %d, %ld and %%.
bool plain_format(const char* format) {
  for (const char* p = format; *p != '\0'; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == 'l') ++p;
    if (*p != 's' && *p != 'd' && !(*p == '%' && p[-1] == '%')) return false;
  }
  return true;
}

long push_bad_type(long type) {
  long rc = cmn_alrt_push(nullptr, nullptr, ADP_BAD_VALUE_TYPE, 1, type);
  (void)rc;
  return ADP_BAD_VALUE_TYPE;
}

// Quoted with every inner quote doubled.
KZString quoted(const char* text, bool national) {
  std::string s = national ? "N'" : "'";
  for (const char* p = text; *p != '\0'; ++p) {
    s += *p;
    if (*p == '\'') s += '\'';
  }
  s += '\'';
  return KZString(s.c_str());
}

// A whole value of the form TO_DATE('...', '...') whose texts hold no quote.
bool is_to_date_call(const char* s) {
  const char* p = s;
  if (std::strncmp(p, "TO_DATE(", 8) != 0) return false;
  p += 8;
  for (int part = 0; part < 2; ++part) {
    while (*p == ' ') ++p;
    if (*p++ != '\'') return false;
    while (*p != '\0' && *p != '\'') ++p;
    if (*p++ != '\'') return false;
    while (*p == ' ') ++p;
    if (part == 0 && *p++ != ',') return false;
  }
  return *p == ')' && p[1] == '\0';
}

// "%f" when its text reads back as the value, else the shortest text that
// does; to_chars writes "." whatever the locale.
template <class T>
void real_text(T v, KZString& out) {
  char buf[512];
  auto r = std::to_chars(buf, buf + sizeof buf - 1, v, std::chars_format::fixed, 6);
  T back{};
  if (r.ec == std::errc()) {
    std::from_chars(buf, r.ptr, back);
    if (back == v) {
      *r.ptr = '\0';
      out = buf;
      return;
    }
  }
  r = std::to_chars(buf, buf + sizeof buf - 1, v);
  *r.ptr = '\0';
  out = buf;
}

}  // namespace

void adp_batch_float_text(float v, KZString& out) { real_text(v, out); }
void adp_batch_double_text(double v, KZString& out) { real_text(v, out); }

long KAdpBindParam::IsOCILargeString() const {
  if (m_nType != ADP_VT_STRING || m_Value == 0) return 0;
  return std::strlen(reinterpret_cast<const char*>(m_Value)) > static_cast<size_t>(ADP_OCI_LARGE_STRING) ? 1 : 0;
}

KAdpSqlBatch::KAdpSqlBatch(KAdpConnId* cid) {
  Initialize();
  m_pCid = cid;
}

KAdpSqlBatch::~KAdpSqlBatch() {
  free_col_lists();
  for (int i = 0; i < m_BinCopies.GetSize(); ++i) KCLASSIC::KBinSysFreeString(static_cast<char*>(m_BinCopies[i]));
}

bool KAdpSqlBatch::is_mssql() const {
  if (m_pCid == nullptr) return adp_db_is_db_mssql() != 0;
  KAdpConfig::db_type t{};
  m_pCid->GetConfig().GetDbType(t);
  return t == KAdpConfig::DB_OLEDB;
}

bool KAdpSqlBatch::is_oracle() const {
  if (m_pCid == nullptr) return adp_db_is_db_oracle() != 0;
  KAdpConfig::db_type t{};
  m_pCid->GetConfig().GetDbType(t);
  return t == KAdpConfig::DB_ORACLE;
}

long KAdpSqlBatch::declare_bind_columns() {
  // Declared once: a record holding variables keeps its columns.
  if (m_BindVars.GetColumns() == 4) return 0;
  if (long st = m_BindVars.SetColType(0, 0, nullptr, kSqlString)) return st;
  if (long st = m_BindVars.SetColType(1, 0, nullptr, kSqlPointer)) return st;
  if (long st = m_BindVars.SetColType(COL_BV_BUFFER, 0, nullptr, kSqlString)) return st;
  return m_BindVars.SetColType(3, 0, nullptr, kSqlLong);
}

long KAdpSqlBatch::Initialize() {
  m_nFlags = m_nCurStmt = m_nCurResult = m_nRowPos = m_nStatus = 0;
  m_bRowFailed = false;
  m_Statements.Add(KZString());
  if (long st = m_StmtBindVars.SetColType(0, 0, nullptr, kSqlRecord)) return st;
  return declare_bind_columns();
}

long KAdpSqlBatch::SetCid() {
  m_pCid = adp_db_get_conn();
  return 0;
}

void KAdpSqlBatch::free_col_lists() {
  for (int i = 0; i < m_ColLists.GetSize(); ++i) {
    auto* list = static_cast<KPtrArray*>(m_ColLists[i]);
    if (list == nullptr) continue;
    for (int j = 0; j < list->GetSize(); ++j) delete static_cast<KAdpBindCol*>((*list)[j]);
    delete list;
  }
  m_ColLists.RemoveAll();
}

long KAdpSqlBatch::Reset() {
  return adp_err_guard([&]() -> long {
    m_StmtBindVars.Purge();
    m_BindVars.Purge();
    declare_bind_columns();
    m_Result.Purge();
    m_nRowPos = m_nCurStmt = m_nCurResult = m_nStatus = m_nFlags = 0;
    m_pCurCols = nullptr;
    m_bRowFailed = false;
    m_Statements.RemoveAll();
    free_col_lists();
    for (int i = 0; i < m_BinCopies.GetSize(); ++i) KCLASSIC::KBinSysFreeString(static_cast<char*>(m_BinCopies[i]));
    m_BinCopies.RemoveAll();
    return 0L;
  });
}

bool adp_batch_plain_format(std::string& out, const char* format, va_list ap) {
  if (!plain_format(format)) return false;
  for (const char* p = format; *p != '\0'; ++p) {
    if (*p != '%') {
      out += *p;
      continue;
    }
    ++p;
    if (*p == '%') {
      out += '%';
    } else if (*p == 's') {
      const char* text = va_arg(ap, const char*);
      if (text == nullptr) return false;
      out += text;
    } else if (*p == 'd') {
      out += number_text(va_arg(ap, int)).data();
    } else {
      ++p;
      out += number_text(va_arg(ap, long)).data();
    }
  }
  return true;
}

const char* KAdpSqlBatch::GetCurrentStmt() const { return GetStmt(m_nCurStmt); }

const char* KAdpSqlBatch::GetStmt(long i) const {
  if (i < 0 || i >= m_Statements.GetSize()) return "";
  return m_Statements[static_cast<int>(i)];
}

KPtrArray* KAdpSqlBatch::col_list(long stmt) const {
  if (stmt < 0 || stmt >= m_ColLists.GetSize()) return nullptr;
  return static_cast<KPtrArray*>(m_ColLists[static_cast<int>(stmt)]);
}

long KAdpSqlBatch::append(const char* text) {
  return adp_err_guard([&]() -> long {
    if (m_nCurStmt < m_Statements.GetSize()) {
      m_Statements[static_cast<int>(m_nCurStmt)] += text != nullptr ? text : "";
    } else {
      m_Statements.InsertAt(static_cast<int>(m_nCurStmt), KZString(text != nullptr ? text : ""));
    }
    return 0L;
  });
}

long KAdpSqlBatch::AppendSql(const char* text) { return append(text); }

long KAdpSqlBatch::AppendSqlFormat(const char* format, ...) {
  va_list ap, again;
  va_start(ap, format);
  va_copy(again, ap);
  std::string direct;
  const bool done = adp_batch_plain_format(direct, format, ap);
  va_end(ap);
  KZString s;
  if (!done) s.FormatV(format, again);
  va_end(again);
  return append(done ? direct.c_str() : static_cast<const char*>(s));
}

KAdpSqlBatch& KAdpSqlBatch::operator<<(const char* text) {
  if (m_nStatus != 0) return *this;
  m_nStatus = 1;
  m_nStatus = append(text);
  return *this;
}

long KAdpSqlBatch::value_text(const KAdpBindParam& v, KZString& out, long& sql_type) {
  switch (v.m_nType) {
    case ADP_VT_LONG:
    case ADP_VT_SHORT:
      out = number_text(static_cast<long>(v.m_Value)).data();
      sql_type = kSqlLong;
      return 0;
    case ADP_VT_FLOAT:
      adp_batch_float_text(*reinterpret_cast<const float*>(v.m_Value), out);
      sql_type = kSqlFloat;
      return 0;
    case ADP_VT_DOUBLE:
    case ADP_VT_MONEY:
      adp_batch_double_text(*reinterpret_cast<const double*>(v.m_Value), out);
      sql_type = kSqlDouble;
      return 0;
    case ADP_VT_STRING: {
      char* s = reinterpret_cast<char*>(v.m_Value);
      if (s == nullptr) s = const_cast<char*>("");
      if (v.m_bUpper == 1) {
        if (long st = adp_qry_str_conv(&s)) return st;
      }
      out = s;
      sql_type = kSqlString;
      return 0;
    }
    case ADP_VT_CLK: {
      char text[CLK_TEXT_SIZE];
      if (long st = adp_time_clk_to_str(reinterpret_cast<const clktime*>(v.m_Value), text)) return st;
      out = text;
      sql_type = kSqlClk;
      return 0;
    }
    case ADP_VT_DECIMAL:
      out = reinterpret_cast<const cmn_ty_decimal*>(v.m_Value)->text;
      sql_type = kSqlDecimal;
      return 0;
    case ADP_VT_BINARY:
      convert_BStr_to_hex(reinterpret_cast<const char*>(v.m_Value), out);
      sql_type = kSqlBinary;
      return 0;
    default:
      return push_bad_type(v.m_nType);
  }
}

KAdpSqlBatch& KAdpSqlBatch::operator<<(const KAdpBindParam& v) {
  char binding = m_pCid != nullptr ? m_pCid->GetConfig().GetPropertyBool(static_cast<KAdpConfig::bool_type>(9)) : 1;
  if (binding == 0 && (is_mssql() || v.IsOCILargeString() == 0)) return BuildSqlWithNoParamBind(v);
  if (m_nStatus != 0) return *this;
  m_nStatus = 1;
  m_nStatus = bind_value(v);
  return *this;
}

long KAdpSqlBatch::bind_value(const KAdpBindParam& v) {
  long n = m_BindVars.GetRows();
  const KZString marker =
      (m_pCid != nullptr ? m_pCid->GetConfig().GetPropertyStr(static_cast<KAdpConfig::str_type>(14)) : KZString(":B")) +
      number_text(n).data();
  KZString text;
  long sql_type = 0;
  if (long st = value_text(v, text, sql_type)) return st;
  if (v.m_nType == ADP_VT_CLK && is_oracle()) {
    KAdpDbOperation* op = m_pCid != nullptr ? m_pCid->GetDbOperation() : nullptr;
    const KZString piece = KZString(" TO_DATE( ") + marker + ", '" +
                           (op != nullptr ? op->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(34)) : "") +
                           "') ";
    if (long st = append(piece)) return st;
  } else {
    if (long st = append(marker)) return st;
  }
  if (v.m_nType == ADP_VT_BINARY) {
    const KZString name = is_oracle() ? KZString("b") + marker : marker;
    if (long st = m_BindVars.SetString(n, 0, name)) return st;
    const char* src = reinterpret_cast<const char*>(v.m_Value);
    char* copy = KCLASSIC::KBinSysAllocStringByteLen(src, src != nullptr ? KCLASSIC::KBinSysStringByteLen(src) : 0);
    m_BinCopies.Add(copy);
    if (long st = m_BindVars.SetVoidPtr(n, 1, copy)) return st;
    if (long st = m_BindVars.SetString(n, COL_BV_BUFFER, text)) return st;
    return m_BindVars.SetLong(n, 3, kSqlBinary);
  }
  if (long st = m_BindVars.SetString(n, 0, marker)) return st;
  if (long st = m_BindVars.SetString(n, COL_BV_BUFFER, text)) return st;
  const char* value = nullptr;
  if (v.m_nType == ADP_VT_STRING && v.m_bByRef == 1 && v.m_bUpper != 1 && v.m_Value != 0) {
    value = reinterpret_cast<const char*>(v.m_Value);
  } else if (long st = m_BindVars.GetStringPtr(n, COL_BV_BUFFER, value)) {
    return st;
  }
  if (long st = m_BindVars.SetVoidPtr(n, 1, const_cast<char*>(value != nullptr ? value : ""))) return st;
  return m_BindVars.SetLong(n, 3, sql_type);
}

KAdpSqlBatch& KAdpSqlBatch::BuildSqlWithNoParamBind(const KAdpBindParam& v) {
  if (m_nStatus != 0) return *this;
  m_nStatus = 1;
  m_nStatus = literal(v);
  return *this;
}

long KAdpSqlBatch::literal(const KAdpBindParam& v) {
  KZString text;
  long sql_type = 0;
  if (long st = value_text(v, text, sql_type)) return st;
  bool national = false;
  if (m_pCid != nullptr) national = (m_pCid->GetHeader()->flags & ADP_HEAD_UNICODE) != 0;
  KZString lit;
  switch (v.m_nType) {
    case ADP_VT_STRING:
      if (is_mssql()) {
        lit = quoted(text, national);
      } else {
        lit = is_to_date_call(text) ? text : quoted(text, false);
      }
      break;
    case ADP_VT_CLK:
      if (is_mssql()) {
        lit = quoted(text, national);
      } else {
        KAdpDbOperation* op = m_pCid != nullptr ? m_pCid->GetDbOperation() : nullptr;
        lit.Format(" TO_DATE( '%s', '%s') ", static_cast<const char*>(text),
                   op != nullptr ? op->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(34)) : "");
      }
      break;
    case ADP_VT_DECIMAL:
      lit = quoted(text, false);
      break;
    case ADP_VT_BINARY:
      // Oracle reads a raw value from its hexadecimal text.
      if (is_oracle()) {
        lit.Format("HEXTORAW('%s')", static_cast<const char*>(text) + 2);
      } else {
        lit = text;
      }
      break;
    default:
      lit = text;
  }
  return append(lit);
}

KAdpSqlBatch& KAdpSqlBatch::operator<<(const KAdpBindCol& col) {
  if (m_nStatus != 0) return *this;
  long st = adp_err_guard([&]() -> long {
    KPtrArray* list = col_list(m_nCurStmt);
    if (list == nullptr) {
      list = new KPtrArray;
      if (m_nCurStmt >= m_ColLists.GetSize()) {
        m_ColLists.SetAtGrow(static_cast<int>(m_nCurStmt), list);
      } else {
        m_ColLists[static_cast<int>(m_nCurStmt)] = list;
      }
    }
    list->Add(new KAdpBindCol(col));
    return 0L;
  });
  if (st != 0) m_nStatus = 1;
  return *this;
}

long KAdpSqlBatch::store_bind_vars() {
  if (long st = m_StmtBindVars.SetRecord(m_nCurStmt, 0, m_BindVars, 0)) return st;
  // The copy leaves the untyped value cells empty: a binary value points
  // again to the batch's copy of its bytes, which lives until Reset, so the
  // service binds the bytes themselves.
  return adp_err_guard([&]() -> long {
    KCLASSIC::KUtlRecord& copy = *m_StmtBindVars.GetRecordPtr(m_nCurStmt, 0);
    for (long i = 0; i < m_BindVars.GetRows(); ++i) {
      long sql_type = -1;
      if (m_BindVars.GetDataValue(i, 3, sql_type) != 0 || sql_type != kSqlBinary) continue;
      void* bytes = KAdpUtlRecord::VoidPtrOf(m_BindVars, i, 1);
      if (long st = KAdpUtlRecord::SetVoidPtrOf(copy, i, 1, bytes)) return st;
    }
    return 0L;
  });
}

KAdpSqlBatch& KAdpSqlBatch::operator<<(BatchType) {
  if (m_nStatus != 0) return *this;
  if (m_nCurStmt >= m_Statements.GetSize()) return *this;
  long st = adp_err_guard([&]() -> long {
    if (long s = store_bind_vars()) return s;
    m_BindVars.Purge();
    if (long s = declare_bind_columns()) return s;
    m_Statements.Add(KZString());
    ++m_nCurStmt;
    return 0L;
  });
  m_nStatus = st;
  return *this;
}

long KAdpSqlBatch::BuildOidQuery(const char* column, const char* table, const char* key_column, long key,
                                 long lock, long exists) {
  return adp_err_guard([&]() -> long {
    if (lock == 0 && exists != 0) {
      *this << (is_oracle() ? "SELECT 1 FROM dual WHERE EXISTS \n (SELECT " : "SELECT 1 WHERE EXISTS \n (SELECT ")
            << column << " FROM " << table << " WHERE " << key_column << " = " << KAdpBindParam(key) << ")";
    } else {
      *this << "SELECT " << column << " FROM " << table;
      if (lock != 0 && is_mssql()) *this << " with (updlock) ";
      *this << " WHERE " << key_column << " = " << KAdpBindParam(key);
      if (lock != 0 && is_oracle()) *this << " FOR UPDATE ";
    }
    *this << kEndStmt;
    return 0L;
  });
}

void KAdpSqlBatch::Print(FILE* f) const {
  for (long i = 0; i <= m_nCurStmt && i < m_Statements.GetSize(); ++i) {
    std::fprintf(f, "%s\n", static_cast<const char*>(m_Statements[static_cast<int>(i)]));
  }
}

FILE& operator<<(FILE& f, KAdpSqlBatch* b) {
  if (b != nullptr) b->Print(&f);
  return f;
}
