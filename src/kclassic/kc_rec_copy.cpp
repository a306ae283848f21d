// KUtlRecord: copying cells, rows and whole records.
#include <cstring>

#include "kclassic/kc_bstr.h"
#include "kclassic/kc_err.h"
#include "kclassic/kc_ln.h"
#include "kclassic/kc_rec.h"
#include "kclassic/kc_rec_int.h"

namespace KCLASSIC {

void KUtlRecord::CopyCell(KUtlRecord& src, long srcRow, long srcCol, long dstRow, long dstCol) {
  constexpr const char* kMethod = "KUtlRecord::CopyCell";
  switch (src.GetColCellType(srcCol)) {
    case UTL_CELL_RECORD:
      SetRecord(dstRow, dstCol, *src.GetRecordPtr(srcRow, srcCol), 0);
      break;
    case UTL_CELL_BSTR:
      SetKBstr(dstRow, dstCol, src.GetKBstr(srcRow, srcCol, 0), 1);
      break;
    case UTL_CELL_LONG:
      SetLongVal(dstRow, dstCol, RecCellLong(src.Cell(src.ReadIndex(srcRow, srcCol, kMethod))));
      break;
    case UTL_CELL_STRING:
      SetString(dstRow, dstCol, src.GetString(srcRow, srcCol));
      break;
    default:
      break;
  }
}

void KUtlRecord::CopyRow(KUtlRecord& src, long srcRow, long dstRow) {
  for (long c = 0; c < src.m_nColumns; ++c) CopyCell(src, srcRow, c, dstRow, c);
}

void KUtlRecord::Append(KUtlRecord& src) {
  if (&src == this) {
    // Rows appended to their own record are copied from a snapshot.
    KUtlRecord copy;
    copy.FromUtlRecord(this, 0);
    Append(copy);
    return;
  }
  long base = m_nRows;
  for (long r = 0; r < src.m_nRows; ++r) CopyRow(src, r, base + r);
}

bool KUtlRecord::Owns(const KUtlRecord* rec) const {
  if (!m_pCells) return false;
  for (long c = 0; c < m_nColumns; ++c) {
    if (m_pColumns[c].m_nCellType != UTL_CELL_RECORD) continue;
    for (long k = c; k < m_pCells->GetSize(); k += m_nColumns) {
      const auto* sub = static_cast<const KUtlRecord*>(Cell(k));
      if (sub && (sub == rec || sub->Owns(rec))) return true;
    }
  }
  return false;
}

void KUtlRecord::FromUtlRecord(KUtlRecord* src, int move) {
  if (!src) {
    RemoveAll(nullptr, nullptr);
    return;
  }
  if (src == this) return;
  // A record nested in this one would be released before it is read, and
  // one that holds this record would be copied into itself without end:
  // both are taken over through a copy of their own.
  if (Owns(src) || src->Owns(this)) {
    KUtlRecord snapshot;
    snapshot.FromUtlRecord(src, move && !src->Owns(this));
    FromUtlRecord(&snapshot, 1);
    return;
  }
  CopyString(m_szName, src->m_szName, sizeof m_szName);
  if (move) {
    Clear();
    delete[] m_pColumns;
    delete m_pCells;
    m_pColumns = src->m_pColumns;
    m_nAllocColumns = src->m_nAllocColumns;
    m_pCells = src->m_pCells;
    m_nRows = src->m_nRows;
    m_nColumns = src->m_nColumns;
    src->m_pColumns = nullptr;
    src->m_nAllocColumns = 0;
    src->m_pCells = nullptr;
    src->m_nRows = 0;
    src->m_nColumns = 0;
    return;
  }
  if (m_pCells) Clear();
  else m_pCells = new KPtrArray;
  // The old cells are released: the new shape starts from empty cells.
  m_pCells->SetSize(0);
  m_pCells->SetSize(static_cast<int>(src->m_nRows * src->m_nColumns));
  m_nRows = src->m_nRows;
  m_nColumns = src->m_nColumns;
  if (m_nAllocColumns < src->m_nColumns) {
    delete[] m_pColumns;
    m_pColumns = new KUtlColumn[size_t(src->m_nColumns)];
    m_nAllocColumns = src->m_nColumns;
  }
  if (m_nColumns > 0) std::memcpy(m_pColumns, src->m_pColumns, sizeof(KUtlColumn) * size_t(m_nColumns));
  for (long r = 0; r < m_nRows; ++r) CopyRow(*src, r, r);
}

} // namespace KCLASSIC
