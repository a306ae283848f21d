#include <cctype>

#include "mbtext/gc_mem.h"

int GCmemicmp(const void* a, const void* b, uint32_t n) {
  const auto* pa = static_cast<const unsigned char*>(a);
  const auto* pb = static_cast<const unsigned char*>(b);
  for (uint32_t i = 0; i < n; ++i) {
    if (pa[i] == pb[i]) continue;
    int la = std::tolower(pa[i]);
    int lb = std::tolower(pb[i]);
    if (la != lb) return la - lb;
  }
  return 0;
}
