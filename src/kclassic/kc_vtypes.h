// The value records that variants, record sets and the adapter exchange:
// the currency count, the 96-bit decimal and the 16-byte variant. In memory
// they use native words; their archive images are written field by field.
#pragma once

#include <cstdint>

namespace KCLASSIC {

// Currency: the amount times 10,000.
struct tagKCY {
  int64_t int64;

  int32_t Hi() const { return int32_t(uint64_t(int64) >> 32); }
  uint32_t Lo() const { return uint32_t(uint64_t(int64)); }
  static tagKCY FromWords(int32_t hi, uint32_t lo) { return {int64_t((uint64_t(uint32_t(hi)) << 32) | lo)}; }
};

inline constexpr uint8_t KDECIMAL_NEG = 0x80;

// A decimal: a 96-bit magnitude, its sign and the digits after the point.
// It overlays a whole variant, so its reserved word is the variant type.
struct tagKDEC {
  uint16_t wReserved;
  uint8_t scale;
  uint8_t sign; // KDECIMAL_NEG or 0
  uint32_t Hi32;
  uint32_t Lo32;
  uint32_t Mid32;
};

// Variant type codes.
enum : uint16_t {
  KVT_EMPTY = 0,
  KVT_NULL = 1,
  KVT_I2 = 2,
  KVT_I4 = 3,
  KVT_R4 = 4,
  KVT_R8 = 5,
  KVT_CY = 6,
  KVT_DATE = 7,
  KVT_ERROR = 10,
  KVT_BOOL = 11,
  KVT_DECIMAL = 14,
  KVT_UI1 = 17,
  KVT_KSTR = 115, // a length-prefixed byte string owned by the variant
  KVT_ARRAY = 0x2000,
  KVT_BYREF = 0x4000,
};

// COM-style statuses of the variant calls.
inline constexpr long KS_OK = 0;
inline constexpr long KE_INVALIDARG = long(int32_t(0x80070057u));
inline constexpr long KDISP_E_BADVARTYPE = long(int32_t(0x80020008u));
inline constexpr long KDISP_E_TYPEMISMATCH = long(int32_t(0x80020005u));
inline constexpr long KDISP_E_OVERFLOW = long(int32_t(0x8002000Au));
inline constexpr long KE_OUTOFMEMORY = long(int32_t(0x8007000Eu));

struct tagKVARIANT {
  uint16_t vt;
  uint16_t wReserved1;
  uint16_t wReserved2;
  uint16_t wReserved3;
  union {
    int16_t iVal;
    int32_t lVal;
    float fltVal;
    double dblVal;
    tagKCY cyVal;
    double date;
    int32_t scode;
    int16_t boolVal;
    uint16_t bVal; // 0 to 255 in the first 16 bits
    char* bstrVal;
    int64_t llVal;
  };
};

static_assert(sizeof(tagKDEC) == 16);
static_assert(sizeof(tagKVARIANT) == 16);

} // namespace KCLASSIC
