// Big-endian readers and writers for the library's data files and tables.
// Callers check the bounds first (or use the checked forms).
#pragma once

#include <cstddef>
#include <cstdint>

inline uint16_t gc_be16(const uint8_t* p) {
  return static_cast<uint16_t>((p[0] << 8) | p[1]);
}
inline uint32_t gc_be32(const uint8_t* p) {
  return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
         (static_cast<uint32_t>(p[2]) << 8) | p[3];
}
inline void gc_put16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v >> 8);
  p[1] = static_cast<uint8_t>(v);
}
inline void gc_put32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v >> 24);
  p[1] = static_cast<uint8_t>(v >> 16);
  p[2] = static_cast<uint8_t>(v >> 8);
  p[3] = static_cast<uint8_t>(v);
}

// Checked reads: true and the value when [off, off + width) lies in size.
inline bool gc_in(uint32_t size, uint64_t off, uint64_t len) {
  return off <= size && len <= size - off;
}
inline bool gc_rd8(const uint8_t* base, uint32_t size, uint64_t off, uint8_t* v) {
  if (!base || !gc_in(size, off, 1)) return false;
  *v = base[off];
  return true;
}
inline bool gc_rd16(const uint8_t* base, uint32_t size, uint64_t off, uint16_t* v) {
  if (!base || !gc_in(size, off, 2)) return false;
  *v = gc_be16(base + off);
  return true;
}
inline bool gc_rd32(const uint8_t* base, uint32_t size, uint64_t off, uint32_t* v) {
  if (!base || !gc_in(size, off, 4)) return false;
  *v = gc_be32(base + off);
  return true;
}
