// Texts of record cells and the items of the record's binary image.
#include <cstring>

#include "kclassic/kc_bstr.h"
#include "kclassic/kc_rec.h"
#include "kclassic/kc_rec_int.h"

namespace KCLASSIC {

long UiReAlloc(char** text, long n, const char* source, int zero, int) {
  (void)zero; // a new block is zeroed in any case
  if (n == 0 && source) n = static_cast<long>(std::strlen(source));
  if (n < 0 || n > 0x7FFFFFFF - 2) return -1;
  char* s = KBinSysAllocStringByteLen(nullptr, static_cast<unsigned>(n + 2));
  if (!s) return -1;
  if (source && n > 0) std::memcpy(s, source, size_t(n));
  s[n] = '\0';
  s[n + 1] = '\0';
  KBinSysFreeString(*text);
  *text = s;
  return 0;
}

long UiFree(void** text) {
  if (*text) {
    KBinSysFreeString(static_cast<char*>(*text));
    *text = nullptr;
  }
  return 0;
}

} // namespace KCLASSIC
