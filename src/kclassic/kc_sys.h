// Windows-style system calls the class library needs at its base: the
// calling thread's id, freeing a formatter's result and the pointer probes.
#pragma once

#include "orb_api.h"

namespace KCLASSIC {

// The kernel id of the calling thread (unique among live threads; an id may
// be reused after its thread has ended).
ORB_API unsigned long KGetCurrentThreadId();

// Frees a block allocated by KFormatMessage (new[]); NULL is ignored.
// Returns NULL.
ORB_API void* KLocalFree(void* p);

// 1 for a NULL pointer, else 0; the size is not examined.
ORB_API int KIsBadReadPtr(const void* p, unsigned size);
ORB_API int KIsBadWritePtr(void* p, unsigned size);
ORB_API int KIsBadStringPtrA(const char* p, unsigned size);

} // namespace KCLASSIC
