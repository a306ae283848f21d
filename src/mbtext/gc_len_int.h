// Lengths of NUL-terminated text as the interfaces count them.
#pragma once

#include <cstdint>
#include <cstring>

// Byte length of a NUL-terminated text; -1 when the text (with its NUL) is
// longer than a signed 32-bit length can count. Callers refuse such a text
// with status 2 rather than let its length wrap.
inline int32_t gcTextLen(const char* s) {
  const size_t n = std::strlen(s);
  return n >= size_t(INT32_MAX) ? -1 : int32_t(n);
}
