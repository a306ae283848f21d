// KAdpUtlRecord: the record set in which the adapter and the data service
// exchange rows (bind values out, result rows in). The class library's
// KUtlRecord with a layer that never throws: every operation returns 0 or an
// alert code, exceptions of the base becoming codes through
// KAdpProcessError. It also converts cells into typed values, and carries
// binary values as upper-case hexadecimal text.
#pragma once

#include "core/clk/clk_time.h"
#include "core/cmn/cmn_dec.h"
#include "kclassic/kc_rec.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

struct typ_sch_srec;

constexpr long ADP_REC_BAD_SQL_TYPE = 0x600018;  // GetDataValue cannot deliver the type
constexpr long ADP_REC_NO_FIT = 0x600004;        // a value larger than its destination

class ORB_API KAdpUtlRecord : public KCLASSIC::KUtlRecord {
 public:
  KAdpUtlRecord() = default;
  ~KAdpUtlRecord() override;

  long GetCount(long& rows) const;
  long GetColCount(long& columns) const;
  // The column's record SQL type (its letter minus 'A').
  long GetSqlDataType(long col, long& type) const;
  long SetColType(long col, long cell_type, const char* name, long sql_type, const char* extra = nullptr);
  long SetString(long row, long col, const char* text);
  long SetLong(long row, long col, long value);
  long SetVoidPtr(long row, long col, void* p);
  // The same on any record (a record copy leaves untyped cells empty), and
  // the pointer an untyped cell holds (null for none or another column).
  static long SetVoidPtrOf(KCLASSIC::KUtlRecord& record, long row, long col, void* p);
  static void* VoidPtrOf(const KCLASSIC::KUtlRecord& record, long row, long col);
  long SetBstr(long row, long col, char* bytes);
  long SetRecord(long row, long col, KCLASSIC::KUtlRecord& src, char flag);
  long GetRecord(long row, long col, KCLASSIC::KUtlRecord& out, char flag);
  // The cell's text without creating it (null when the cell holds nothing).
  long GetStringPtr(long row, long col, const char*& text);
  long RemoveAll(const char* name = nullptr, const char* defs = nullptr);
  long Clear();
  // Frees the cells and their storage; no row is left.
  long Purge();
  static int GetBool(char c) { return c == 1 ? 1 : 0; }

  // Typed reads; null (where given) receives 1 for an empty cell.
  long GetDataValue(long row, long col, char* buffer, char* null);
  // The text into a buffer of size bytes; a text that does not fit fails
  // with 0x600004 and leaves the buffer empty (-1: size unchecked).
  long GetDataValue(long row, long col, char* buffer, long size, char* null);
  long GetDataValue(long row, long col, const char** text, char* null);
  long GetDataValue(long row, long col, clktime& out, char* null);
  long GetDataValue(long row, long col, long& out);
  long GetDataValue(long row, long col, float& out);
  long GetDataValue(long row, long col, double& out);
  // A new byte string decoded from the cell's hexadecimal text.
  long GetDataValue(long row, long col, char ignored, char** bytes);
  // The text into the decimal's digits; a text that does not fit fails with
  // 0x600004; empty: "0.0", 2, 1.
  long GetDataValue(long row, long col, cmn_ty_decimal& out, char* null);
  // By record SQL type and value type: 6 or 8 with 609 clock time, 766
  // decimal, 1 text pointer, else a text buffer; 0 long; 3 float; 4 double;
  // 16 byte string; any other 0x600018 (not pushed).
  // size: bytes of a character buffer (-1 unchecked).
  long GetDataValue(long row, long col, long type, long sql_type, void* out, char* null, long size = -1);

  // Ids of column 0 into the collection (a long each with type -1, else an
  // object id of the type); zeros skipped; at most maximum rows (-1 none).
  long FillObjidCollection(void* collection, long type, long maximum);
  // Fields of the collection's local objects (from position first) from the
  // rows, by the schema's fields; at most maximum rows (-1 none).
  long FillObjectCollection(void* collection, typ_sch_srec* schema, long first, long maximum);
  // Columns declared by the fields' database types (0..11; money 5 as 4).
  long SetColTypesFromSchema(typ_sch_srec* schema);

 private:
  const char* cell_text(long row, long col);
};

// "0x" and two upper-case hexadecimal digits per byte of a byte string.
ORB_API void convert_BStr_to_hex(const char* bytes, KCLASSIC::KZString& out);
ORB_API KCLASSIC::KZString get_hex_value(char byte);
// A new byte string (KBinSysAllocStringByteLen) of the text read two
// characters at a time; an odd last character is dropped.
ORB_API void convert_hex_to_BStr(const KCLASSIC::KZString& text, char*& out);
ORB_API void set_byte_from_hex(char& out, const char* two);
