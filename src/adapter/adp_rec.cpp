// KAdpUtlRecord: the record's non-throwing layer and the hexadecimal helpers.
#include "adapter/adp_rec.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "adapter/adp_err.h"
#include "adapter/adp_time.h"
#include "kclassic/kc_bstr.h"

using KCLASSIC::KUtlRecord;
using KCLASSIC::KZString;

KAdpUtlRecord::~KAdpUtlRecord() = default;

long KAdpUtlRecord::GetCount(long& rows) const {
  rows = GetRows();
  return 0;
}

long KAdpUtlRecord::GetColCount(long& columns) const {
  columns = GetColumns();
  return 0;
}

long KAdpUtlRecord::GetSqlDataType(long col, long& type) const {
  type = col >= 0 && col < GetColumns() ? GetColLetter(col) - 'A' : 0;
  return 0;
}

long KAdpUtlRecord::SetColType(long col, long cell_type, const char* name, long sql_type, const char* extra) {
  return adp_err_guard([&] {
    KUtlRecord::SetColType(col, cell_type, name, sql_type, extra);
    return 0L;
  });
}

long KAdpUtlRecord::SetString(long row, long col, const char* text) {
  return adp_err_guard([&] {
    KUtlRecord::SetString(row, col, text);
    return 0L;
  });
}

long KAdpUtlRecord::SetLong(long row, long col, long value) {
  return adp_err_guard([&] {
    KUtlRecord::SetLongVal(row, col, value);
    return 0L;
  });
}

namespace {

// The cells of any record: a pointer to the protected member, formed through
// this class, reaches them on a record of the base class too.
struct record_cells : KUtlRecord {
  static KCLASSIC::KPtrArray* of(const KUtlRecord& r) { return r.*(&record_cells::m_pCells); }
};

}  // namespace

long KAdpUtlRecord::SetVoidPtr(long row, long col, void* p) { return SetVoidPtrOf(*this, row, col, p); }

long KAdpUtlRecord::SetVoidPtrOf(KUtlRecord& record, long row, long col, void* p) {
  return adp_err_guard([&] {
    // Only an untyped column takes a raw pointer: any other would later
    // release it as its own text, byte string or record.
    if (col >= 0 && col < record.GetColumns() && record.GetColCellType(col) != KCLASSIC::UTL_CELL_EMPTY) {
      throw new KCLASSIC::KErr(KCLASSIC::KERR_RECORD_ACCESS, "KAdpUtlRecord::SetVoidPtr", "Cell is not untyped");
    }
    const long cell = record.GetCellIndex(row, col, KCLASSIC::UTL_CELL_EMPTY, 1);
    record_cells::of(record)->ElementAt(static_cast<int>(cell)) = p;
    return 0L;
  });
}

void* KAdpUtlRecord::VoidPtrOf(const KUtlRecord& record, long row, long col) {
  if (row < 0 || row >= record.GetRows() || col < 0 || col >= record.GetColumns()) return nullptr;
  if (record.GetColCellType(col) != KCLASSIC::UTL_CELL_EMPTY) return nullptr;
  const KCLASSIC::KPtrArray* cells = record_cells::of(record);
  const long cell = row * record.GetColumns() + col;
  if (cells == nullptr || cell >= cells->GetSize()) return nullptr;
  return cells->GetAt(static_cast<int>(cell));
}

long KAdpUtlRecord::SetBstr(long row, long col, char* bytes) {
  return adp_err_guard([&] {
    SetKBstr(row, col, bytes, 1);
    return 0L;
  });
}

long KAdpUtlRecord::SetRecord(long row, long col, KUtlRecord& src, char flag) {
  return adp_err_guard([&] {
    KUtlRecord::SetRecord(row, col, src, GetBool(flag));
    return 0L;
  });
}

long KAdpUtlRecord::GetRecord(long row, long col, KUtlRecord& out, char flag) {
  return adp_err_guard([&] {
    out.FromUtlRecord(GetRecordPtr(row, col), GetBool(flag));
    return 0L;
  });
}

const char* KAdpUtlRecord::cell_text(long row, long col) {
  if (row < 0 || row >= GetRows() || col < 0 || col >= GetColumns()) return nullptr;
  long type = GetColCellType(col);
  if (type != KCLASSIC::UTL_CELL_STRING && type != KCLASSIC::UTL_CELL_BSTR) return nullptr;
  return KUtlRecord::GetString(row, col);
}

long KAdpUtlRecord::GetStringPtr(long row, long col, const char*& text) {
  return adp_err_guard([&] {
    text = cell_text(row, col);
    return 0L;
  });
}

long KAdpUtlRecord::RemoveAll(const char* name, const char* defs) {
  return adp_err_guard([&] {
    KUtlRecord::RemoveAll(name, defs);
    return 0L;
  });
}

long KAdpUtlRecord::Clear() {
  return adp_err_guard([&] {
    KUtlRecord::Clear();
    return 0L;
  });
}

long KAdpUtlRecord::Purge() {
  return adp_err_guard([&] {
    if (GetRows() > 0) {
      KUtlRecord::Clear();
      while (GetRows() > 0) DeleteRow(GetRows() - 1);
    }
    return 0L;
  });
}

long KAdpUtlRecord::GetDataValue(long row, long col, char* buffer, char* null) {
  return GetDataValue(row, col, buffer, -1L, null);
}

long KAdpUtlRecord::GetDataValue(long row, long col, char* buffer, long size, char* null) {
  return adp_err_guard([&] {
    const char* t = cell_text(row, col);
    if (null != nullptr) *null = (t == nullptr || *t == '\0') ? 1 : 0;
    if (t == nullptr) t = "";
    size_t n = std::strlen(t);
    if (size >= 0 && n >= static_cast<size_t>(size)) {
      if (size > 0) buffer[0] = '\0';
      return ADP_REC_NO_FIT;
    }
    std::memcpy(buffer, t, n + 1);
    return 0L;
  });
}

long KAdpUtlRecord::GetDataValue(long row, long col, const char** text, char* null) {
  return adp_err_guard([&] {
    const char* t = cell_text(row, col);
    if (null != nullptr) *null = (t == nullptr || *t == '\0') ? 1 : 0;
    *text = t != nullptr ? t : "";
    return 0L;
  });
}

long KAdpUtlRecord::GetDataValue(long row, long col, clktime& out, char* null) {
  const char* t = nullptr;
  if (long st = GetStringPtr(row, col, t)) return st;
  bool empty = t == nullptr || *t == '\0';
  if (null != nullptr) *null = empty ? 1 : 0;
  // An empty cell is the unknown date on every server (the Oracle reader
  // refuses a missing text).
  if (empty) {
    out = clktime{CLK_NULL_DAY, 0};
    return 0;
  }
  return adp_time_str_to_clk(t, &out);
}

long KAdpUtlRecord::GetDataValue(long row, long col, long& out) {
  return adp_err_guard([&] {
    out = GetLongVal(row, col);
    return 0L;
  });
}

long KAdpUtlRecord::GetDataValue(long row, long col, float& out) {
  return adp_err_guard([&] {
    out = GetFloat(row, col);
    return 0L;
  });
}

long KAdpUtlRecord::GetDataValue(long row, long col, double& out) {
  return adp_err_guard([&] {
    out = GetDouble(row, col);
    return 0L;
  });
}

long KAdpUtlRecord::GetDataValue(long row, long col, char /*ignored*/, char** bytes) {
  const char* t = nullptr;
  if (long st = GetStringPtr(row, col, t)) return st;
  char* out = nullptr;
  convert_hex_to_BStr(KZString(t != nullptr ? t : ""), out);
  *bytes = out;
  return 0;
}

long KAdpUtlRecord::GetDataValue(long row, long col, cmn_ty_decimal& out, char* null) {
  const char* t = nullptr;
  if (long st = GetStringPtr(row, col, t)) return st;
  bool empty = t == nullptr || *t == '\0';
  if (null != nullptr) *null = empty ? 1 : 0;
  if (empty) {
    std::strcpy(out.text, "0.0");
    out.precision = 2;
    out.scale = 1;
    return 0;
  }
  size_t n = std::strlen(t);
  if (n >= sizeof out.text) return ADP_REC_NO_FIT;
  std::memcpy(out.text, t, n + 1);
  // Precision and scale follow the digits read, so the value is not rounded
  // away by a reader that honours the scale.
  out.precision = 0;
  out.scale = 0;
  bool after_point = false;
  for (const char* p = out.text; *p != '\0'; ++p) {
    if (*p == '.') after_point = true;
    if (*p < '0' || *p > '9') continue;
    ++out.precision;
    if (after_point) ++out.scale;
  }
  return 0;
}

long KAdpUtlRecord::GetDataValue(long row, long col, long type, long sql_type, void* out, char* null, long size) {
  switch (sql_type) {
    case 6:
    case 8:
      if (type == 609) return GetDataValue(row, col, *static_cast<clktime*>(out), null);
      if (type == 766) return GetDataValue(row, col, *static_cast<cmn_ty_decimal*>(out), null);
      if (type == 1) return GetDataValue(row, col, static_cast<const char**>(out), null);
      return GetDataValue(row, col, static_cast<char*>(out), size, null);
    case 0: return GetDataValue(row, col, *static_cast<long*>(out));
    case 3: return GetDataValue(row, col, *static_cast<float*>(out));
    case 4: return GetDataValue(row, col, *static_cast<double*>(out));
    case 16: return GetDataValue(row, col, static_cast<char>(0), static_cast<char**>(out));
    default: return ADP_REC_BAD_SQL_TYPE;
  }
}

void convert_BStr_to_hex(const char* bytes, KZString& out) {
  std::string s = "0x";
  if (bytes != nullptr) {
    unsigned n = KCLASSIC::KBinSysStringByteLen(bytes);
    for (unsigned i = 0; i < n; ++i) s += static_cast<const char*>(get_hex_value(bytes[i]));
  }
  out = s.c_str();
}

KZString get_hex_value(char byte) {
  static const char kDigits[] = "0123456789ABCDEF";
  auto b = static_cast<unsigned char>(byte);
  const char two[3] = {kDigits[b >> 4], kDigits[b & 0xF], '\0'};
  return KZString(two);
}

void set_byte_from_hex(char& out, const char* two) {
  auto value = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return c - 55;
  };
  out = static_cast<char>(value(two[0]) * 16 + value(two[1]));
}

void convert_hex_to_BStr(const KZString& text, char*& out) {
  const char* t = text;
  // The database gives bare digits; a "0x" prefix (our own text form) is skipped.
  if (t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) t += 2;
  size_t n = std::strlen(t) / 2;
  std::string bytes(n, '\0');
  for (size_t i = 0; i < n; ++i) set_byte_from_hex(bytes[i], t + 2 * i);
  out = KCLASSIC::KBinSysAllocStringByteLen(bytes.data(), static_cast<unsigned>(n));
}
