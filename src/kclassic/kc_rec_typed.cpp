// KUtlRecord: typed access through language-neutral text, and the dump.
#include <cstdint>
#include <cstring>

#include "kclassic/kc_err.h"
#include "kclassic/kc_ln.h"
#include "kclassic/kc_mb.h"
#include "kclassic/kc_rec.h"
#include "kclassic/kc_rec_int.h"

namespace KCLASSIC {

namespace {

constexpr const char* kNotLong = "Cell data can not be converted to long";
constexpr const char* kNotString = "Cell data can not be converted to string";

float floatOfBits(long v) {
  uint32_t bits = static_cast<uint32_t>(v);
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

long bitsOfFloat(float f) {
  int32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return bits;
}

// An optional '-', any spaces, then only digits; false for anything else
// or for a number beyond 32 bits.
bool parseLong(const char* s, long& out) {
  bool negative = false;
  if (*s == '-') {
    negative = true;
    ++s;
  }
  while (*s == ' ') ++s;
  int64_t value = 0;
  for (; *s; ++s) {
    if (*s < '0' || *s > '9') return false;
    value = value * 10 + (*s - '0');
    if (value > int64_t(0x80000000)) return false;
  }
  if (negative) value = -value;
  if (value > 0x7FFFFFFF) return false;
  out = static_cast<long>(value);
  return true;
}

} // namespace

void KUtlRecord::RequireLetter(long col, char letter, const char* method, const char* text) const {
  if (m_pColumns[col].Letter() != letter) RaiseError(KERR_RECORD_ACCESS, method, text);
}

long KUtlRecord::GetLongVal(long row, long col) const {
  constexpr const char* kMethod = "KUtlRecord::GetLongVal";
  long cell = ReadIndex(row, col, kMethod);
  const void* v = Cell(cell);
  switch (m_pColumns[col].m_nCellType) {
    case UTL_CELL_LONG:
      return RecCellLong(v);
    case UTL_CELL_STRING: {
      if (!v) return 0;
      long out = 0;
      if (!parseLong(static_cast<const char*>(v), out)) RaiseError(KERR_RECORD_ACCESS, kMethod, kNotLong);
      return out;
    }
    default:
      RaiseError(KERR_RECORD_ACCESS, kMethod, kNotLong);
  }
}

void KUtlRecord::GetStringVal(long row, long col, KZString& out) const {
  constexpr const char* kMethod = "KUtlRecord::GetStringVal";
  long cell = ReadIndex(row, col, kMethod);
  const void* v = Cell(cell);
  const KUtlColumn& c = m_pColumns[col];
  switch (c.m_nCellType) {
    case UTL_CELL_LONG:
      out = c.Letter() == 'D' ? UtlDoubleToLnString(floatOfBits(RecCellLong(v))) : UtlLongToLnString(RecCellLong(v));
      return;
    case UTL_CELL_STRING:
      out = v ? static_cast<const char*>(v) : "";
      return;
    default:
      RaiseError(KERR_RECORD_ACCESS, kMethod, kNotString);
  }
}

void KUtlRecord::SetStringVal(long row, long col, const char* text) {
  constexpr const char* kMethod = "KUtlRecord::SetStringVal";
  if (col < 0 || col >= m_nColumns) WriteIndex(row, col, kMethod); // throws
  const KUtlColumn& c = m_pColumns[col];
  switch (c.m_nCellType) {
    case UTL_CELL_LONG: {
      long value = 0;
      if (text) value = c.Letter() == 'D' ? bitsOfFloat(static_cast<float>(UtlLnStringToDouble(text)))
                                          : UtlLnStringToLong(text);
      SetLongVal(row, col, value);
      return;
    }
    case UTL_CELL_STRING:
      SetString(row, col, text);
      return;
    default:
      RaiseError(KERR_RECORD_ACCESS, kMethod, kNotString);
  }
}

float KUtlRecord::GetFloat(long row, long col) const {
  constexpr const char* kMethod = "KUtlRecord::GetFloat";
  ReadIndex(row, col, kMethod);
  RequireLetter(col, 'D', kMethod, "GetFloat() requires database type as float.");
  return floatOfBits(GetLongVal(row, col));
}

void KUtlRecord::SetFloat(long row, long col, float value) {
  constexpr const char* kMethod = "KUtlRecord::SetFloat";
  if (col < 0 || col >= m_nColumns) WriteIndex(row, col, kMethod); // throws
  RequireLetter(col, 'D', kMethod, "SetFloat() requires database type as float.");
  SetLongVal(row, col, bitsOfFloat(value));
}

// The typed text cells: the column's letter and a text cell are required;
// the value is read from or written as language-neutral text.
namespace {
struct TextTyped {
  char letter;
  const char* method;
  const char* error;
};
constexpr TextTyped kGetDouble{'E', "KUtlRecord::GetDouble", "Getdouble() requires database type as double."};
constexpr TextTyped kSetDouble{'E', "KUtlRecord::SetDouble", "SetDouble() requires database type as double."};
constexpr TextTyped kGetCurrency{'M', "KUtlRecord::GetCurrency", "GetCurrency() requires database type as Currency."};
constexpr TextTyped kSetCurrency{'M', "KUtlRecord::SetCurrency", "SetCurrency() requires database type as currency."};
constexpr TextTyped kGetDecimal{'L', "KUtlRecord::GetDecimal", "GetDecimal() requires database type as Decimal."};
constexpr TextTyped kSetDecimal{'L', "KUtlRecord::SetDecimal", "SetDecimal() requires database type as Decimal."};
constexpr TextTyped kGetDate{'J', "KUtlRecord::GetDate", "GetDate() requires database type as Date."};
constexpr TextTyped kSetDate{'J', "KUtlRecord::SetDate", "SetDate() requires database type as Date."};

const char* typedText(const KUtlRecord& rec, long row, long col, const TextTyped& t) {
  if (col >= 0 && col < rec.GetColumns() &&
      (rec.GetColLetter(col) != t.letter || rec.GetColCellType(col) != UTL_CELL_STRING))
    RaiseError(KERR_RECORD_ACCESS, t.method, t.error);
  const char* s = rec.GetString(row, col);
  return s ? s : "";
}

void setTypedText(KUtlRecord& rec, long row, long col, const TextTyped& t, const KZString& text) {
  if (col >= 0 && col < rec.GetColumns() &&
      (rec.GetColLetter(col) != t.letter || rec.GetColCellType(col) != UTL_CELL_STRING))
    RaiseError(KERR_RECORD_ACCESS, t.method, t.error);
  rec.SetString(row, col, text);
}
} // namespace

double KUtlRecord::GetDouble(long row, long col) const {
  return UtlLnStringToDouble(typedText(*this, row, col, kGetDouble));
}
void KUtlRecord::SetDouble(long row, long col, double value) {
  setTypedText(*this, row, col, kSetDouble, UtlDoubleToLnString(value));
}
tagKCY KUtlRecord::GetCurrency(long row, long col) const {
  return UtlLnStringToCurrency(typedText(*this, row, col, kGetCurrency));
}
void KUtlRecord::SetCurrency(long row, long col, tagKCY value) {
  setTypedText(*this, row, col, kSetCurrency, UtlCurrencyToLnString(value));
}
tagKDEC KUtlRecord::GetDecimal(long row, long col) const {
  return UtlLnStringToDecimal(typedText(*this, row, col, kGetDecimal));
}
void KUtlRecord::SetDecimal(long row, long col, tagKDEC value) {
  setTypedText(*this, row, col, kSetDecimal, UtlDecimalToLnString(value));
}
double KUtlRecord::GetDate(long row, long col) const {
  return UtlLnStringToDate(typedText(*this, row, col, kGetDate));
}
void KUtlRecord::SetDate(long row, long col, double value) {
  setTypedText(*this, row, col, kSetDate, UtlDateToLnString(value));
}

KZString KUtlRecord::Print() {
  KZString out;
  out.Format("%s, %s \r\n", m_szName, m_szTypeName);
  // Every row takes at least its line break and separators: a text that
  // could not be held is refused before it is begun.
  constexpr long kLongestText = 0x7FFFFFFF;
  const long leastPerRow = 2 + (m_nColumns > 1 ? 2 * (m_nColumns - 1) : 0);
  if (m_nRows > (kLongestText - out.GetLength()) / leastPerRow) KAfxThrowMemoryException();
  for (long c = 0; c < m_nColumns; ++c) {
    if (c) out += ", ";
    out += m_pColumns[c].m_szTypeName;
  }
  for (long r = 0; r < m_nRows; ++r) {
    out += "\r\n";
    for (long c = 0; c < m_nColumns; ++c) {
      if (c) out += ", ";
      long cell = r * m_nColumns + c;
      const void* v = cell < m_pCells->GetSize() ? Cell(cell) : nullptr;
      const KUtlColumn& col = m_pColumns[c];
      char buf[512];
      switch (col.m_nCellType) {
        case UTL_CELL_STRING:
          if (v) out += static_cast<const char*>(v);
          break;
        case UTL_CELL_LONG:
          if (col.Letter() == 'D') ksprintf(buf, "%f", double(floatOfBits(RecCellLong(v))));
          else kitoa(RecCellLong(v), buf, 10);
          out += buf;
          break;
        default:
          out += "<...>";
          break;
      }
    }
  }
  return out;
}

} // namespace KCLASSIC
