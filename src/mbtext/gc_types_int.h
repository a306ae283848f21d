// Internals shared by the whole library: its memory and its started state.
#pragma once

#include <cstdint>

#include "mbtext/gc_types.h"

// Library memory: through the callbacks given to the first GCInit (or the
// defaults while the library is not started), with the callback context.
void* gcAlloc(uint32_t size);
int gcFree(void* ptr); // non-zero on success; a null pointer is success

// ---------------------------------------------------------------------------
// Library start and end.
// path: directory of the locale data files or null; alloc/free: callbacks or
// null for the defaults; ctx: callback context or null (leaves it unchanged);

// True while the library is started (use count above 0).
bool gcIsStarted();
