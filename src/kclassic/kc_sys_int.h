// Internal helpers of the system-call layer.
#pragma once

#include <cstddef>
#include <cstring>

namespace KCLASSIC {

// Copies src (NULL as "") into dst of size bytes when it fits with its NUL;
// otherwise dst becomes "" and the result is false.
inline bool KCopyFits(char* dst, size_t size, const char* src) {
  if (!src) src = "";
  size_t n = std::strlen(src);
  if (n + 1 > size) {
    if (size) dst[0] = '\0';
    return false;
  }
  std::memcpy(dst, src, n + 1);
  return true;
}

// Appends src to the text in dst (size bytes) when the whole fits; dst is
// unchanged otherwise.
inline bool KAppendFits(char* dst, size_t size, const char* src) {
  size_t used = strnlen(dst, size);
  size_t n = std::strlen(src);
  if (used >= size || n + 1 > size - used) return false;
  std::memcpy(dst + used, src, n + 1);
  return true;
}

} // namespace KCLASSIC
