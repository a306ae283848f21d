// Helpers shared by the record's files: 32-bit values in pointer-sized
// cells and the cell-type masks of RequireCellType.
#pragma once

#include <cstdint>

namespace KCLASSIC {

inline constexpr long kTextCells = 1;   // text and byte-string cells
inline constexpr long kLongCells = 2;   // long cells
inline constexpr long kRecordCells = 4; // nested-record cells

// A long or empty cell holds a 32-bit value.
inline void* RecLongCell(long value) {
  return reinterpret_cast<void*>(static_cast<intptr_t>(static_cast<int32_t>(value)));
}
inline long RecCellLong(const void* cell) {
  return static_cast<int32_t>(reinterpret_cast<intptr_t>(cell));
}

} // namespace KCLASSIC

namespace KCLASSIC {

// The record image is little-endian.
inline uint32_t RecGetLe32(const unsigned char* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline void RecPutLe32(unsigned char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

} // namespace KCLASSIC
