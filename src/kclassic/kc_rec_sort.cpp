// KUtlRecord: heap sort of the rows by key columns, with optional removal
// of duplicates and restoring of the kept rows' order.
#include <cstring>
#include <memory>

#include "kclassic/kc_err.h"
#include "kclassic/kc_ln.h"
#include "kclassic/kc_mb.h"
#include "kclassic/kc_rec.h"
#include "kclassic/kc_rec_int.h"

namespace KCLASSIC {

namespace {
int sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }
} // namespace

int KUtlRecord::CompareRows(long row1, long row2, long* keys, long keyCount, int tieBreak) {
  if (row1 < 0 || row1 >= m_nRows || row2 < 0 || row2 >= m_nRows)
    RaiseError(KERR_RECORD_ACCESS, "KUtlRecord::CompareRows", "Row out of range");
  long flags = 0;
  for (long i = 0; i < keyCount; ++i) {
    long col = keys[i] & SORT_COL_MASK;
    flags = keys[i] & SORT_FLAGS_MASK;
    if (col >= m_nColumns) RaiseError(KERR_RECORD_ACCESS, "KUtlRecord::CompareRows", "Column out of range");
    const void* a = Cell(row1 * m_nColumns + col);
    const void* b = Cell(row2 * m_nColumns + col);
    int result = 0;
    switch (m_pColumns[col].m_nCellType) {
      case UTL_CELL_LONG: {
        long x = RecCellLong(a);
        long y = RecCellLong(b);
        if (flags & SORT_UNSIGNED) {
          auto ux = static_cast<uint32_t>(x);
          auto uy = static_cast<uint32_t>(y);
          result = ux < uy ? -1 : (ux > uy ? 1 : 0);
        } else {
          result = x < y ? -1 : (x > y ? 1 : 0);
        }
        break;
      }
      case UTL_CELL_STRING: {
        auto* x = static_cast<const char*>(a);
        auto* y = static_cast<const char*>(b);
        if (flags & SORT_CASE) {
          // A NULL text comes before any text, as without the flag.
          if (!x || !y) result = !x ? (y ? -1 : 0) : 1;
          else result = sign(kstrcmp(x, y));
        } else {
          result = sign(kstricmp(x, y));
        }
        break;
      }
      default:
        RaiseError(KERR_RECORD_ACCESS, "KUtlRecord::CompareRows", "Unsupported column type");
    }
    if (result != 0) return (flags & SORT_DESC) ? -result : result;
  }
  if (!tieBreak) return 0;
  int result = row1 > row2 ? 1 : -1;
  return (flags & SORT_DESC) ? -result : result;
}

void KUtlRecord::DownHeap(long* heap, long n, long k, long* keys, long keyCount) {
  if (n < 2) return;
  for (;;) {
    long left = 2 * k;
    long right = left + 1;
    if (left > n) return;
    long child = (right <= n && CompareRows(heap[right], heap[left], keys, keyCount, 1) < 1) ? right : left;
    if (CompareRows(heap[k], heap[child], keys, keyCount, 1) < 1) return;
    long t = heap[k];
    heap[k] = heap[child];
    heap[child] = t;
    if (child > n / 2) return;
    k = child;
  }
}

long KUtlRecord::TagSort(long* tags, long n, long* keys, long keyCount, long unique) {
  if (n < 2) return n;
  delete[] m_pSortHeap;
  m_pSortHeap = new long[size_t(n + 1)];
  long* heap = m_pSortHeap;
  heap[0] = -1;
  std::memcpy(heap + 1, tags, sizeof(long) * size_t(n));
  struct FreeHeap {
    KUtlRecord* rec;
    ~FreeHeap() {
      delete[] rec->m_pSortHeap;
      rec->m_pSortHeap = nullptr;
    }
  } freeHeap{this};
  for (long k = n / 2; k >= 1; --k) DownHeap(heap, n, k, keys, keyCount);
  long front = 0;
  long back = n;
  long last = -1;
  for (long m = n; m >= 1;) {
    long top = heap[1];
    if (!unique || front == 0 || CompareRows(top, last, keys, keyCount, 0) != 0) {
      tags[front++] = top;
      last = top;
    } else {
      tags[--back] = top;
    }
    heap[1] = heap[m];
    --m;
    DownHeap(heap, m, 1, keys, keyCount);
  }
  return front;
}

void KUtlRecord::KeepRows(const long* tags, long kept) {
  std::unique_ptr<void*[]> scratch(new void*[size_t(kept * m_nColumns > 0 ? kept * m_nColumns : 1)]);
  void** cells = m_pCells->GetData();
  for (long i = 0; i < kept; ++i)
    std::memcpy(scratch.get() + i * m_nColumns, cells + tags[i] * m_nColumns, sizeof(void*) * size_t(m_nColumns));
  if (kept > 0) std::memcpy(cells, scratch.get(), sizeof(void*) * size_t(kept * m_nColumns));
  // The slots beyond the kept rows were released or moved: they are cut off
  // without being released again.
  for (long i = kept * m_nColumns; i < m_pCells->GetSize(); ++i) cells[i] = nullptr;
}

long KUtlRecord::SortImp(long* keys, long keyCount, long unique, int restoreOrder, int) {
  if (m_nRows <= 0) return 0;
  // Keys are checked before anything moves.
  for (long i = 0; i < keyCount; ++i) {
    long col = keys[i] & SORT_COL_MASK;
    if (col >= m_nColumns) RaiseError(KERR_RECORD_ACCESS, "KUtlRecord::SortImp", "Column out of range");
    long type = m_pColumns[col].m_nCellType;
    if (type != UTL_CELL_LONG && type != UTL_CELL_STRING)
      RaiseError(KERR_RECORD_ACCESS, "KUtlRecord::CompareRows", "Unsupported column type");
  }
  long rows = m_nRows;
  std::unique_ptr<long[]> tags(new long[size_t(rows)]);
  for (long i = 0; i < rows; ++i) tags[i] = i;
  long kept = TagSort(tags.get(), rows, keys, keyCount, unique);
  if (restoreOrder) TagSort(tags.get(), kept, nullptr, 0, 0);
  for (long i = kept; i < rows; ++i) {
    long first = tags[i] * m_nColumns;
    for (long c = m_nColumns - 1; c >= 0; --c) ReleaseCell(first + c);
  }
  // Rows without columns have no cells to move.
  if (m_nColumns > 0) KeepRows(tags.get(), kept);
  m_pCells->SetSize(static_cast<int>(kept * m_nColumns));
  m_nRows = kept;
  return m_nRows;
}

} // namespace KCLASSIC
