// KUtlRecord: columns, cells and their ownership.
#include "kclassic/kc_rec.h"

#include <cstring>

#include "bo/bo_dd.h"
#include "kclassic/kc_bstr.h"
#include "kclassic/kc_err.h"
#include "kclassic/kc_ln.h"
#include "kclassic/kc_mb.h"
#include "kclassic/kc_rec_int.h"

namespace KCLASSIC {

constinit KUtlCrSect g_RecCrSect;

KUtlCrSect* KUtlRecord::GetCrSect() { return &g_RecCrSect; }

KUtlRecord::KUtlRecord() = default;

KUtlRecord::~KUtlRecord() {
  delete[] m_pSortHeap;
  if (m_pCells && m_nRows >= 1) {
    Clear();
    m_pCells->SetSize(0);
    m_nRows = 0;
  }
  delete[] m_pColumns;
  delete m_pCells;
}

void KUtlRecord::EnsureCells() {
  if (!m_pCells) m_pCells = new KPtrArray;
}

int KUtlRecord::CopyString(char* dst, const char* src, long size) {
  if (size <= 0) return 0;
  if (!src) src = "";
  size_t n = std::strlen(src);
  size_t room = size_t(size) - 1;
  size_t take = n < room ? n : room;
  std::memcpy(dst, src, take);
  dst[take] = '\0';
  return take == n;
}

void KUtlRecord::AllocColumn(long col, long extra) {
  if (col < m_nAllocColumns) return;
  long n = col + extra;
  // Cleared, so a column whose text is read empty has an empty name.
  auto* table = new KUtlColumn[size_t(n > 0 ? n : 1)]();
  if (m_pColumns && m_nColumns > 0) std::memcpy(table, m_pColumns, sizeof(KUtlColumn) * size_t(m_nColumns));
  delete[] m_pColumns;
  m_pColumns = table;
  m_nAllocColumns = n;
}

namespace {

// Cell type chosen for a database type number; 0 for one that is refused.
long cellTypeOf(long sqlType) {
  switch (sqlType) {
    case 0: case 1: case 2: case 3: return UTL_CELL_LONG;
    case 4: case 6: case 7: case 8: case 9: case 10: case 11: case 12: return UTL_CELL_STRING;
    case 14: return UTL_CELL_RECORD;
    case 15: return UTL_CELL_EMPTY;
    case 16: return UTL_CELL_BSTR;
    default: return 0;
  }
}

constexpr const char* kSetColType = "KUtlRecord::SetColType";

} // namespace

void KUtlRecord::SetColType(long col, long cellType, const char* name, long sqlType, const char*) {
  EnsureCells();
  if (col < 0) RaiseError(KERR_RECORD_ACCESS, kSetColType, "Column out of range");
  for (long i = m_nColumns; i < col; ++i) SetColType(i, UTL_CELL_EMPTY, nullptr, 0);
  if (col < m_nColumns && m_pColumns[col].m_nCellType != UTL_CELL_EMPTY) return;
  if (cellType == 0) {
    cellType = cellTypeOf(sqlType);
    if (cellType == 0) RaiseError(KERR_RECORD_ACCESS, kSetColType, "Illegal Type");
  }
  if (m_nRows > 1) RaiseError(KERR_RECORD_ACCESS, kSetColType, "Cells have data");
  if (static_cast<unsigned long>(sqlType) > 16) RaiseError(KERR_RECORD_ACCESS, kSetColType, "nSqltype is invalid");
  // A new column of a record that holds one row widens that row: its cells
  // move to the new row-major positions.
  long oldColumns = m_nColumns;
  AllocColumn(col, 20);
  KUtlColumn& c = m_pColumns[col];
  // A placeholder's value means nothing to the new cell type.
  if (col < oldColumns && m_nRows == 1 && col < m_pCells->GetSize()) Cell(col) = nullptr;
  c.m_nCellType = cellType;
  c.m_szTypeName[0] = static_cast<char>('A' + sqlType);
  CopyString(c.m_szTypeName + 1, name ? name : "Col", 64);
  if (col >= m_nColumns) m_nColumns = col + 1;
  if (m_nRows == 1 && m_nColumns != oldColumns) m_pCells->SetSize(static_cast<int>(m_nColumns));
}

void KUtlRecord::RemoveAll(const char* name, const char* columnDefs) {
  delete[] m_pSortHeap;
  m_pSortHeap = nullptr;
  if (m_pCells) {
    if (m_nRows >= 1) {
      Clear();
      m_pCells->SetSize(0);
      m_nRows = 0;
    }
  } else {
    m_pCells = new KPtrArray;
  }
  // Cells of a record without rows hold nothing to release.
  m_pCells->SetSize(0);
  delete[] m_pColumns;
  m_pColumns = nullptr;
  m_nColumns = 0;
  m_nAllocColumns = 0;
  m_pTable = nullptr;
  if (name) CopyString(m_szName, name, sizeof m_szName);
  if (!columnDefs || !*columnDefs) return;

  const char* p = columnDefs;
  long n = 0;
  for (;;) {
    while (*p && static_cast<unsigned char>(*p) <= 32) p = kstrinc(p);
    const char* start = p;
    while (*p && kstrnextc(p) != ',') p = kstrinc(p);
    KZString token(start, static_cast<int>(p - start));
    long cellType = UTL_CELL_EMPTY;
    long sqlType = UTL_DB_EMPTY;
    switch (token.IsEmpty() ? 0 : token[0]) {
      case 'L': case 'l': cellType = UTL_CELL_LONG; sqlType = UTL_DB_LONG; break;
      case 'F': case 'f': cellType = UTL_CELL_LONG; sqlType = UTL_DB_FLOAT; break;
      case 'G': case 'g': cellType = UTL_CELL_STRING; sqlType = UTL_DB_DOUBLE; break;
      case 'S': case 's': cellType = UTL_CELL_STRING; sqlType = UTL_DB_VARSTR; break;
      case 'T': case 't': cellType = UTL_CELL_STRING; sqlType = UTL_DB_TEXT; break;
      case 'C': case 'c': cellType = UTL_CELL_STRING; sqlType = UTL_DB_CURRENCY; break;
      case 'R': case 'r': cellType = UTL_CELL_RECORD; sqlType = UTL_DB_RECORD; break;
      case 'B': case 'b': cellType = UTL_CELL_BSTR; sqlType = UTL_DB_BSTR; break;
      default: break;
    }
    const char* rest = token.IsEmpty() ? "" : static_cast<const char*>(token) + 1;
    SetColType(n++, cellType, rest, sqlType);
    if (!*p) break;
    p = kstrinc(p); // past the ','
  }
}

void KUtlRecord::SetTableDef(KDdTable* table, int resolve) {
  m_pTable = table;
  if (!resolve || !table) return;
  for (long i = 0; i < m_nColumns; ++i) {
    IDdField* f = table->FindField(KZString(m_pColumns[i].Name()));
    m_fields.SetAtGrow(static_cast<int>(i), dynamic_cast<KDdField*>(f));
  }
}

KDdField* KUtlRecord::GetField(long col) const {
  if (col < 0 || col >= m_fields.GetSize()) return nullptr;
  return static_cast<KDdField*>(m_fields.GetAt(static_cast<int>(col)));
}

long KUtlRecord::GetFieldCol(const char* name) const {
  for (long i = 0; i < m_nColumns; ++i)
    if (kstricmp(m_pColumns[i].Name(), name) == 0) return i;
  RaiseError(KERR_RECORD_ACCESS, "KUtlRecord::GetFieldCol", "Column not found");
}

namespace {
constexpr const char* kColumnRange = "Column out of range";
constexpr const char* kRowRange = "Row out of range";
} // namespace

long KUtlRecord::GetColCellType(long col) const {
  if (col < 0 || col >= m_nColumns) RaiseError(KERR_RECORD_ACCESS, "KUtlRecord::GetColCellType", kColumnRange);
  return m_pColumns[col].m_nCellType;
}

char KUtlRecord::GetColLetter(long col) const {
  if (col < 0 || col >= m_nColumns) RaiseError(KERR_RECORD_ACCESS, "KUtlRecord::GetColLetter", kColumnRange);
  return m_pColumns[col].Letter();
}

const char* KUtlRecord::GetColName(long col) const {
  if (col < 0 || col >= m_nColumns) RaiseError(KERR_RECORD_ACCESS, "KUtlRecord::GetColName", kColumnRange);
  return m_pColumns[col].Name();
}

const char* KUtlRecord::GetColTypeName(long col) const {
  if (col < 0 || col >= m_nColumns) RaiseError(KERR_RECORD_ACCESS, "KUtlRecord::GetColTypeName", kColumnRange);
  return m_pColumns[col].m_szTypeName;
}

long KUtlRecord::ReadIndex(long row, long col, const char* method) const {
  if (col < 0 || col >= m_nColumns) RaiseError(KERR_RECORD_ACCESS, method, kColumnRange);
  if (row < 0 || row >= m_nRows) RaiseError(KERR_RECORD_ACCESS, method, kRowRange);
  return row * m_nColumns + col;
}

long KUtlRecord::WriteIndex(long row, long col, const char* method) {
  if (col < 0 || col >= m_nColumns) RaiseError(KERR_RECORD_ACCESS, method, kColumnRange);
  if (row < 0) RaiseError(KERR_RECORD_ACCESS, method, kRowRange);
  return GetCellIndex(row, col, 0, 1);
}

long KUtlRecord::GetCellIndex(long row, long col, long, int grow) {
  if (col < 0 || col >= m_nColumns) RaiseError(KERR_RECORD_ACCESS, "KUtlRecord::GetCellIndex", kColumnRange);
  // The cell array holds at most 0x7FFFFFFF cells.
  if (row < 0 || row >= 0x7FFFFFFF / m_nColumns)
    RaiseError(KERR_RECORD_ACCESS, "KUtlRecord::GetCellIndex", kRowRange);
  long index = row * m_nColumns + col;
  if (grow) {
    EnsureCells();
    if (index >= m_pCells->GetSize()) m_pCells->SetSize(static_cast<int>((row + 1) * m_nColumns));
    if (m_nRows <= row) m_nRows = row + 1;
  }
  return index;
}

void KUtlRecord::RequireCellType(long col, long mask, const char* method, const char* text) const {
  long type = m_pColumns[col].m_nCellType;
  bool ok = false;
  if ((mask & kTextCells) && (type == UTL_CELL_STRING || type == UTL_CELL_BSTR)) ok = true;
  if ((mask & kLongCells) && type == UTL_CELL_LONG) ok = true;
  if ((mask & kRecordCells) && type == UTL_CELL_RECORD) ok = true;
  if (!ok) RaiseError(KERR_RECORD_ACCESS, method, text);
}

void KUtlRecord::SetString(long row, long col, const char* text) {
  constexpr const char* kMethod = "KUtlRecord::SetString";
  long cell = WriteIndex(row, col, kMethod);
  RequireCellType(col, kTextCells, kMethod, "Cell data can not be converted to string");
  char* s = static_cast<char*>(Cell(cell));
  if (text) {
    if (UiReAlloc(&s, 0, text, 0) < 0) RaiseError(KERR_MEMORY, kMethod, nullptr);
  } else {
    UiFree(reinterpret_cast<void**>(&s));
  }
  Cell(cell) = s;
}

const char* KUtlRecord::GetString(long row, long col) const {
  constexpr const char* kMethod = "KUtlRecord::GetString";
  long cell = ReadIndex(row, col, kMethod);
  RequireCellType(col, kTextCells, kMethod, "Cell data can not be converted to string");
  return static_cast<const char*>(Cell(cell));
}

void KUtlRecord::SetSysStringBytes(long row, long col, char* bytes) {
  constexpr const char* kMethod = "KUtlRecord::SetSysStringBytes";
  long cell = WriteIndex(row, col, kMethod);
  RequireCellType(col, kTextCells, kMethod, "Cell data can not be converted to string");
  void* old = Cell(cell);
  if (old != bytes) UiFree(&old);
  Cell(cell) = bytes;
}

char* KUtlRecord::GetSysStringAndClear(long row, long col) {
  constexpr const char* kMethod = "KUtlRecord::GetSysStringAndClear";
  long cell = ReadIndex(row, col, kMethod);
  RequireCellType(col, kTextCells, kMethod, "Cell data can not be converted to string");
  char* s = static_cast<char*>(Cell(cell));
  Cell(cell) = nullptr;
  return s;
}

void KUtlRecord::SetKBstr(long row, long col, char* s, int copy) {
  constexpr const char* kMethod = "KUtlRecord::SetKBstr";
  long cell = WriteIndex(row, col, kMethod);
  RequireCellType(col, kTextCells, kMethod, "Cell data can not be converted to string");
  char* value = s;
  if (copy && s) {
    value = KBinSysAllocStringByteLen(s, KBinSysStringByteLen(s));
    if (!value) RaiseError(KERR_MEMORY, kMethod, nullptr);
  }
  char* old = static_cast<char*>(Cell(cell));
  if (old != value) KBinSysFreeString(old);
  Cell(cell) = value;
}

char* KUtlRecord::GetKBstr(long row, long col, int detach) {
  constexpr const char* kMethod = "KUtlRecord::GetKBstr";
  long cell = ReadIndex(row, col, kMethod);
  RequireCellType(col, kTextCells, kMethod, "Cell data can not be converted to string");
  char* s = static_cast<char*>(Cell(cell));
  if (detach) Cell(cell) = nullptr;
  return s;
}

KUtlRecord* KUtlRecord::GetRecordPtr(long row, long col) {
  constexpr const char* kMethod = "KUtlRecord::GetRecordPtr";
  long cell = WriteIndex(row, col, kMethod);
  RequireCellType(col, kRecordCells, kMethod, "Cell data is not a record");
  auto* rec = static_cast<KUtlRecord*>(Cell(cell));
  if (!rec) {
    rec = new KUtlRecord;
    Cell(cell) = rec;
  }
  return rec;
}

void KUtlRecord::SetRecord(long row, long col, KUtlRecord& src, int move) {
  GetRecordPtr(row, col)->FromUtlRecord(&src, move);
}

void KUtlRecord::SetLongVal(long row, long col, long value) {
  constexpr const char* kMethod = "KUtlRecord::SetLongVal";
  long cell = WriteIndex(row, col, kMethod);
  long type = m_pColumns[col].m_nCellType;
  if (type != UTL_CELL_LONG && type != UTL_CELL_EMPTY)
    RaiseError(KERR_RECORD_ACCESS, kMethod, "Cell data can not be converted to long");
  Cell(cell) = RecLongCell(value);
}

void KUtlRecord::ReleaseCell(long cell) {
  if (!m_pCells || m_nColumns <= 0 || cell < 0 || cell >= m_pCells->GetSize()) return;
  void*& slot = Cell(cell);
  switch (m_pColumns[cell % m_nColumns].m_nCellType) {
    case UTL_CELL_STRING: UiFree(&slot); break;
    case UTL_CELL_RECORD: delete static_cast<KUtlRecord*>(slot); break;
    case UTL_CELL_BSTR: KBinSysFreeString(static_cast<char*>(slot)); break;
    default: break;
  }
  slot = nullptr;
}

void KUtlRecord::ClearCell(long cell, int oracle) {
  ReleaseCell(cell);
  if (!m_pCells || m_nColumns <= 0 || cell < 0 || cell >= m_pCells->GetSize()) return;
  const KUtlColumn& c = m_pColumns[cell % m_nColumns];
  // Initial texts go into text cells only: anything else would later be
  // released as something it is not.
  if (c.m_nCellType != UTL_CELL_STRING) return;
  const char* init = nullptr;
  switch (c.Letter()) {
    case 'E': case 'L': case 'M': init = "0"; break;
    case 'J': init = oracle == 1 ? STR_ORA_INITDATE : STR_MSSQL_INITDATE; break;
    default: break;
  }
  if (!init) return;
  char* s = nullptr;
  if (UiReAlloc(&s, 0, init, 0) < 0) RaiseError(KERR_MEMORY, "KUtlRecord::ClearCell", nullptr);
  Cell(cell) = s;
}

void KUtlRecord::ClearCell(long row, long col, int oracle) {
  ClearCell(WriteIndex(row, col, "KUtlRecord::ClearCell"), oracle);
}

void KUtlRecord::Clear() {
  KUtlCrSync lock(g_RecCrSect);
  if (!m_pCells) return;
  for (long i = 0; i < m_pCells->GetSize(); ++i) ReleaseCell(i);
}

void KUtlRecord::DeleteRow(long row) {
  if (row < 0 || row >= m_nRows) RaiseError(KERR_RECORD_ACCESS, "KUtlRecord::DeleteRow", kRowRange);
  long first = row * m_nColumns;
  for (long c = m_nColumns - 1; c >= 0; --c) ReleaseCell(first + c);
  long have = m_pCells->GetSize() - first;
  long count = m_nColumns < have ? m_nColumns : have;
  if (count > 0) m_pCells->RemoveAt(static_cast<int>(first), static_cast<int>(count));
  --m_nRows;
}

} // namespace KCLASSIC
