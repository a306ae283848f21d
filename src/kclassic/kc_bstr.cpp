#include "kclassic/kc_bstr.h"

#include <cstdint>
#include <cstring>
#include <new>

namespace KCLASSIC {

namespace {

constexpr size_t kPrefix = sizeof(uint32_t);

uint32_t read_len(const char* p) {
  uint32_t n;
  std::memcpy(&n, p - kPrefix, kPrefix);
  return n;
}

} // namespace

char* KBinSysAllocStringByteLen(const char* s, unsigned n) {
  char* block = new (std::nothrow) char[kPrefix + size_t(n) + 1];
  if (!block) return nullptr;
  uint32_t len = n;
  std::memcpy(block, &len, kPrefix);
  char* p = block + kPrefix;
  std::memset(p, 0, size_t(n) + 1);
  if (s) std::memcpy(p, s, n);
  return p;
}

char* KBinSysAllocStringLen(const char* s, unsigned n) { return KBinSysAllocStringByteLen(s, n); }

char* KBinSysAllocString(const char* s) {
  if (!s || !*s) return nullptr;
  return KBinSysAllocStringByteLen(s, unsigned(std::strlen(s)));
}

void KBinSysFreeString(char* p) {
  if (p) delete[] (p - kPrefix);
}

int KSysReAllocString(char** p, const char* s) {
  if (!s) return 0;
  KBinSysFreeString(*p);
  *p = KBinSysAllocString(s);
  return *p != nullptr;
}

int KBinSysReAllocStringLen(char** p, const char* s, unsigned n) {
  if (!s) return 0;
  KBinSysFreeString(*p);
  *p = KBinSysAllocStringLen(s, n);
  return *p != nullptr;
}

unsigned KBinSysStringByteLen(const char* p) { return p ? read_len(p) : 0; }
unsigned KBinSysStringLen(const char* p) { return KBinSysStringByteLen(p); }

} // namespace KCLASSIC
