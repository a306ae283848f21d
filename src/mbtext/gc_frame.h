// Process-wide state of the library: use count, global mutex, callbacks.
//
// Threads: GCCreateMutex is safe from any thread; the library's process-wide
// state is guarded by the global mutex it returns.
#pragma once

#include <cstdint>
#include <pthread.h>

#include "orb_api.h"
#include "mbtext/gc_types.h"

struct GCFctx;
struct GCOctx;

typedef pthread_mutex_t GCMutex;

// The global mutex exists statically, so it can be taken before the first
// GCInit. GCCreateMutex hands out its address; the name is not used.
ORB_API GCMutex* GCCreateMutex(const char* name);
