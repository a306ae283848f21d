// KUtlRecord: a small in-memory table of named, typed columns and rows of
// cells, with typed access through language-neutral text, copying, a heap
// sort of the rows and a binary image (kc_rec_image.cpp).
//
// Each column has a cell type (what a cell holds and how it is released)
// and a database type letter 'A' + number. Cells are pointer-sized slots of
// one array, row-major (cell index = row * columns + column); long and empty
// cells hold 32-bit values, the others own a text, a byte string or a
// nested record. One thread at a time works on a record; Clear and the image
// reader hold the process-wide section of GetCrSect.
#pragma once

#include <cstdint>

#include "kclassic/kc_array.h"
#include "kclassic/kc_sect.h"
#include "kclassic/kc_vtypes.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

namespace KCLASSIC {

class KDdTable;
class KDdField;

// Cell type codes.
inline constexpr long UTL_CELL_LONG = 0x0A04;   // 32-bit value (integer or float bits)
inline constexpr long UTL_CELL_STRING = 0x1000; // text (UiReAlloc), NULL for none
inline constexpr long UTL_CELL_RECORD = 0x1B00; // nested KUtlRecord, owned
inline constexpr long UTL_CELL_BSTR = 0x3400;   // length-prefixed byte string, owned
inline constexpr long UTL_CELL_EMPTY = 0x3800;  // placeholder, 32-bit value

// Database type numbers (letter 'A' + number).
inline constexpr long UTL_DB_LONG = 0;
inline constexpr long UTL_DB_SHORT = 1;
inline constexpr long UTL_DB_BYTE = 2;
inline constexpr long UTL_DB_FLOAT = 3;
inline constexpr long UTL_DB_DOUBLE = 4;
inline constexpr long UTL_DB_FIXSTR = 6;
inline constexpr long UTL_DB_VARSTR = 7;
inline constexpr long UTL_DB_TEXT = 8;
inline constexpr long UTL_DB_DATE = 9;
inline constexpr long UTL_DB_VTEXT = 10;
inline constexpr long UTL_DB_DECIMAL = 11;
inline constexpr long UTL_DB_CURRENCY = 12;
inline constexpr long UTL_DB_RECORD = 14;
inline constexpr long UTL_DB_EMPTY = 15;
inline constexpr long UTL_DB_BSTR = 16;

// Sort keys: a column number with flags or-ed in.
inline constexpr long SORT_DESC = 0x01000000;
inline constexpr long SORT_CASE = 0x02000000;
inline constexpr long SORT_UNSIGNED = 0x04000000;
inline constexpr long SORT_FLAGS_MASK = 0x07000000;
inline constexpr long SORT_COL_MASK = 0x0000FFFF;

// Initial texts of a date cell (ClearCell) and the text written for a NULL
// text cell in an image.
inline constexpr const char* STR_MSSQL_INITDATE = "1753-01-01 00:00:00";
inline constexpr const char* STR_ORA_INITDATE = "01/01/1753 00:00:00";
inline constexpr const char* EMPTY_STRING = "";

// Code of every record error ("Record block access failed.").
inline constexpr long KERR_RECORD_ACCESS = 0x8B000CD;

// Image marks.
inline constexpr long UTL_IMAGE_MAGIC = 0x4F723419;
inline constexpr long UTL_IMAGE_VERSION = 3;
// Nested records deeper than this make an image bad.
inline constexpr int UTL_IMAGE_MAX_DEPTH = 64;

// One column: its cell type and the text of its database type letter
// followed by its name (at most 63 bytes).
struct KUtlColumn {
  long m_nCellType;
  char m_szTypeName[65]; // [0] letter, then the name and its NUL

  char Letter() const { return m_szTypeName[0]; }
  const char* Name() const { return m_szTypeName + 1; }
};

class ORB_API KUtlRecord {
 public:
  KUtlRecord();
  virtual ~KUtlRecord();
  KUtlRecord(const KUtlRecord&) = delete;
  KUtlRecord& operator=(const KUtlRecord&) = delete;

  // Shape.
  void RemoveAll(const char* name = nullptr, const char* columnDefs = nullptr);
  void SetColType(long col, long cellType, const char* name, long sqlType, const char* extra = nullptr);
  void AllocColumn(long col, long extra);
  void SetTableDef(KDdTable* table, int resolve);
  long GetFieldCol(const char* name) const;
  static int CopyString(char* dst, const char* src, long size);

  long GetRows() const { return m_nRows; }
  long GetColumns() const { return m_nColumns; }
  long GetColCellType(long col) const;
  char GetColLetter(long col) const;
  const char* GetColName(long col) const;
  // The letter followed by the name.
  const char* GetColTypeName(long col) const;
  const char* GetRecordName() const { return m_szName; }
  const char* GetTypeName() const { return m_szTypeName; }
  void SetRecordName(const char* name) { CopyString(m_szName, name, sizeof m_szName); }
  void SetTypeName(const char* name) { CopyString(m_szTypeName, name, sizeof m_szTypeName); }
  KDdTable* GetTableDef() const { return m_pTable; }
  KDdField* GetField(long col) const;

  // Cells.
  long GetCellIndex(long row, long col, long type, int grow);
  void SetString(long row, long col, const char* text);
  // The cell's text (NULL when none), still owned by the record.
  const char* GetString(long row, long col) const;
  void SetSysStringBytes(long row, long col, char* bytes);
  char* GetSysStringAndClear(long row, long col);
  void SetKBstr(long row, long col, char* s, int copy);
  char* GetKBstr(long row, long col, int detach);
  KUtlRecord* GetRecordPtr(long row, long col);
  void SetRecord(long row, long col, KUtlRecord& src, int move);
  void SetLongVal(long row, long col, long value);
  void ReleaseCell(long cell);
  void ClearCell(long cell, int oracle);
  void ClearCell(long row, long col, int oracle);
  void Clear();
  void DeleteRow(long row);

  // Typed access.
  long GetLongVal(long row, long col) const;
  void GetStringVal(long row, long col, KZString& out) const;
  void SetStringVal(long row, long col, const char* text);
  float GetFloat(long row, long col) const;
  void SetFloat(long row, long col, float value);
  double GetDouble(long row, long col) const;
  void SetDouble(long row, long col, double value);
  tagKCY GetCurrency(long row, long col) const;
  void SetCurrency(long row, long col, tagKCY value);
  tagKDEC GetDecimal(long row, long col) const;
  void SetDecimal(long row, long col, tagKDEC value);
  double GetDate(long row, long col) const;
  void SetDate(long row, long col, double value);

  // Copying.
  void CopyCell(KUtlRecord& src, long srcRow, long srcCol, long dstRow, long dstCol);
  void CopyRow(KUtlRecord& src, long srcRow, long dstRow);
  void Append(KUtlRecord& src);
  void FromUtlRecord(KUtlRecord* src, int move);

  // Sorting.
  long SortImp(long* keys, long keyCount, long unique, int restoreOrder, int extra = 0);
  long TagSort(long* tags, long n, long* keys, long keyCount, long unique);
  void DownHeap(long* heap, long n, long k, long* keys, long keyCount);
  int CompareRows(long row1, long row2, long* keys, long keyCount, int tieBreak);

  KZString Print();
  static KUtlCrSect* GetCrSect();

  // The binary image.
  char* Serialize() const;
  long SerializeToBuffer(unsigned char*& position) const;
  void Deserialize(char* image);
  void DeserializeAndFree(char* image);
  int DeserializeImp(unsigned char* image, long& length);
  long AddToImage(unsigned char*& position, long cellType, void* value) const;
  void* LoadFromImage(unsigned char*& position, long& remaining, long cellType);

 protected:
  // The raw slot of a cell index (no check).
  void*& Cell(long cell) { return m_pCells->ElementAt(static_cast<int>(cell)); }
  void* Cell(long cell) const { return m_pCells->GetAt(static_cast<int>(cell)); }
  // Index of an existing cell for reading; throws for a row or column
  // outside the record, naming method.
  long ReadIndex(long row, long col, const char* method) const;
  // Index of a cell for writing, growing the rows; throws for a negative
  // row or column or a column beyond the record's.
  long WriteIndex(long row, long col, const char* method);
  const KUtlColumn& Column(long col) const { return m_pColumns[col]; }
  // Throws text from method unless the column's letter is letter.
  void RequireLetter(long col, char letter, const char* method, const char* text) const;
  // Throws text from method unless the column's cell type is one of mask
  // (kc_rec_int.h).
  void RequireCellType(long col, long mask, const char* method, const char* text) const;
  // True when rec is a nested record of this one, at any depth.
  bool Owns(const KUtlRecord* rec) const;
  // Moves the cells of the kept rows (tags, in order) to the front.
  void KeepRows(const long* tags, long kept);
  void EnsureCells();

  KUtlColumn* m_pColumns = nullptr;
  long m_nAllocColumns = 0;
  KPtrArray* m_pCells = nullptr;
  char m_szName[32] = {};
  char m_szTypeName[32] = "Record";
  long* m_pSortHeap = nullptr;
  KDdTable* m_pTable = nullptr;
  KPtrArray m_fields;
  long m_nRows = 0;
  long m_nColumns = 0;
};

// The section Clear and the image reader hold (GetCrSect hands it out).
extern KUtlCrSect g_RecCrSect;

// Item of one cell type: its size in bytes, written at position unless that
// is NULL; -1 for a type that is not encodable.
ORB_API long UiToImage(unsigned char* position, long cellType, long* value);
// Reads one item of at most length bytes into *out; the bytes consumed, or
// -1 for a type that is not encodable, an item cut short or a nested record
// that does not read.
ORB_API long UiFromImage(unsigned char* position, long length, long cellType, long* out);
// *text becomes a new text of n bytes (the source's length when n is 0 and
// source is given) and two NULs; 0, or -1 when it cannot be allocated.
ORB_API long UiReAlloc(char** text, long n, const char* source, int zero, int extra = 0);
ORB_API long UiFree(void** text);

} // namespace KCLASSIC
