// Internals of the library frame: the process-wide state and the global
// mutex. Every mutable global below is guarded by the global mutex
// (gcLock/gcUnlock); the use count is also read without it only by
// gcIsStarted, for a hint.
#pragma once

#include <cstdint>

#include "mbtext/gc_frame.h"

// Process-wide state (static storage). gclatch points at the global mutex
// while the library is started.
extern uint16_t gccount;
extern GCMutex* gclatch;
extern void* gccbkctx;
extern GCFctx* gcfcx;
extern GCOctx* gcocx;

void gcLock();
void gcUnlock();
