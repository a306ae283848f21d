// Process-wide state of the library: use count, global mutex, callbacks.
#pragma once

#include <cstdint>
#include <pthread.h>

#include "mbtext/gc_types.h"

struct GCFctx;
struct GCOctx;

typedef pthread_mutex_t GCMutex;

// Process-wide state (static storage). gclatch points at the global mutex
// while the library is started.
extern uint16_t gccount;
extern GCMutex* gclatch;
extern void* gccbkctx;
extern GCFctx* gcfcx;
extern GCOctx* gcocx;

// The global mutex exists statically, so it can be taken before the first
// GCInit. GCCreateMutex hands out its address; the name is not used.
GCMutex* GCCreateMutex(const char* name);
void gcLock();
void gcUnlock();
