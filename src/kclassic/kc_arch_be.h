// The archive's byte order: every number in an archive is big-endian.
#pragma once

#include <cstddef>
#include <cstdint>

namespace KCLASSIC {

// The unsigned number of sizeof(T) bytes at p.
template <typename T>
T KArchGetBe(const uint8_t* p) {
  T v = 0;
  for (size_t i = 0; i < sizeof(T); ++i) v = static_cast<T>((v << 8) | p[i]);
  return v;
}

// Writes v as sizeof(T) bytes at p.
template <typename T>
void KArchPutBe(uint8_t* p, T v) {
  for (size_t i = sizeof(T); i > 0; --i) {
    p[i - 1] = static_cast<uint8_t>(v);
    v = static_cast<T>(v >> 8);
  }
}

} // namespace KCLASSIC
