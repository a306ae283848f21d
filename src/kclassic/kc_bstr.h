// Length-prefixed byte strings: one heap block of a 32-bit length, the bytes
// and a NUL, handed around as a pointer to the bytes. A NULL pointer reads as
// the empty string. Characters are bytes, so byte and character lengths are
// the same.
#pragma once

#include "orb_api.h"

namespace KCLASSIC {

// NULL for a NULL or empty text; else a copy of the text.
ORB_API char* KBinSysAllocString(const char* s);
// n bytes, zeroed, then the first n bytes of s copied in when s is given.
// NULL when the block cannot be allocated.
ORB_API char* KBinSysAllocStringByteLen(const char* s, unsigned n);
ORB_API char* KBinSysAllocStringLen(const char* s, unsigned n);
ORB_API void KBinSysFreeString(char* p);
// 0 and nothing changed for a NULL s; else frees *p, stores
// KBinSysAllocString(s) there and returns 1 when that is not NULL.
ORB_API int KSysReAllocString(char** p, const char* s);
// The same with KBinSysAllocStringLen(s, n).
ORB_API int KBinSysReAllocStringLen(char** p, const char* s, unsigned n);
ORB_API unsigned KBinSysStringByteLen(const char* p);
ORB_API unsigned KBinSysStringLen(const char* p);

} // namespace KCLASSIC
