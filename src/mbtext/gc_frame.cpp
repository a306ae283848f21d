// Library start and end, memory callbacks, environment look-up.
#include "mbtext/gc_frame.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "mbtext/gc_frame_int.h"
#include "mbtext/gc_locale.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_obj.h"
#include "mbtext/gc_types_int.h"

namespace {

pthread_mutex_t gc_global_mutex = PTHREAD_MUTEX_INITIALIZER;

std::atomic<GCAllocFn> gc_alloc_cbk{GCDefAlloc};
std::atomic<GCFreeFn> gc_free_cbk{GCDefFree};
std::atomic<void*> gc_cbk_ctx{nullptr};

GCFctx* const gc_fctx_marker = reinterpret_cast<GCFctx*>(uintptr_t(1));

} // namespace

uint16_t gccount = 0;
GCMutex* gclatch = nullptr;
void* gccbkctx = nullptr;
GCFctx* gcfcx = nullptr;
GCOctx* gcocx = nullptr;
GCLocale* gcglocale = nullptr;

GCMutex* GCCreateMutex(const char*) { return &gc_global_mutex; }
void gcLock() { pthread_mutex_lock(&gc_global_mutex); }
void gcUnlock() { pthread_mutex_unlock(&gc_global_mutex); }

void* GCDefAlloc(void*, uint32_t size) { return std::malloc(size ? size : 1); }

int GCDefFree(void*, void* ptr) {
  std::free(ptr);
  return 1;
}

void* gcAlloc(uint32_t size) {
  return gc_alloc_cbk.load(std::memory_order_acquire)(gc_cbk_ctx.load(std::memory_order_acquire), size);
}

int gcFree(void* ptr) {
  if (!ptr) return 1;
  return gc_free_cbk.load(std::memory_order_acquire)(gc_cbk_ctx.load(std::memory_order_acquire), ptr);
}

bool gcIsStarted() {
  gcLock();
  bool started = gccount > 0;
  gcUnlock();
  return started;
}

uint32_t GCInit(const char* path, GCAllocFn alloc, GCFreeFn free, void* ctx, uint32_t flags) {
  // The count is tested under the mutex, so concurrent first calls start the
  // library once.
  gcLock();
  if (gccount != 0) {
    if (gccount == 0xFFFF) { // the 16-bit count would wrap to "not started"
      gcUnlock();
      return GC_E_ARG;
    }
    ++gccount;
    gcUnlock();
    return GC_OK;
  }
  gclatch = GCCreateMutex("Global C mutex");
  gc_alloc_cbk.store(alloc ? alloc : GCDefAlloc, std::memory_order_release);
  gc_free_cbk.store(free ? free : GCDefFree, std::memory_order_release);
  if (ctx) {
    gccbkctx = ctx;
    gc_cbk_ctx.store(ctx, std::memory_order_release);
  }
  gcfcx = gc_fctx_marker;
  uint32_t st = GC_OK;
  GCOctx* ocx = GCInitObjManager(path, flags, &st);
  if (!ocx) {
    gcfcx = nullptr;
    gclatch = nullptr;
    gc_alloc_cbk.store(GCDefAlloc, std::memory_order_release);
    gc_free_cbk.store(GCDefFree, std::memory_order_release);
    gcUnlock();
    return GC_E_INIT;
  }
  gcocx = ocx;
  gccount = 1;
  gcUnlock();
  return st != GC_OK ? GC_S_DEFAULTS : GC_OK;
}

uint32_t GCTerm() {
  gcLock();
  if (gccount == 0 || !gcocx) { // more GCTerm than GCInit: nothing to end
    gcUnlock();
    return GC_E_ARG;
  }
  --gccount;
  if (gccount > 0) {
    gcUnlock();
    return GC_OK;
  }
  uint32_t r1 = GC_OK;
  if (gcglocale) {
    GCLocale* loc = gcglocale;
    gcglocale = nullptr;
    r1 = gcLocaleFree(loc);
  }
  GCOctx* ocx = gcocx;
  gcocx = nullptr;
  uint32_t r2 = GCTermObjManager(ocx);
  gcfcx = nullptr;
  gclatch = nullptr;
  gc_alloc_cbk.store(GCDefAlloc, std::memory_order_release);
  gc_free_cbk.store(GCDefFree, std::memory_order_release);
  gcUnlock();
  return r1 != GC_OK ? r1 : r2;
}

uint32_t GCGetError(const GCLocale* locale) {
  return gcLocaleOrDefault(const_cast<GCLocale*>(locale))->status;
}

uint32_t GCGetEnv(const char* name, char* buffer, uint32_t size) {
  if (!name) return 0;
  const char* v = std::getenv(name);
  if (!v) return 0;
  size_t need = std::strlen(v) + 1;
  if (need > 0xFFFFFFFFu) return 0xFFFFFFFFu;
  if (buffer && need <= size) std::memcpy(buffer, v, need);
  return uint32_t(need);
}
