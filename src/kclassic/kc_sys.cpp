#include "kclassic/kc_sys.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "kclassic/kc_err.h"
#include "kclassic/kc_sect.h"

namespace KCLASSIC {

namespace {
// One section for both directions, so a counter changed both ways without a
// section of its own stays exact.
constinit KUtlCrSect g_counterLock;
// The tick count the previous id was made with (atomic: ids are made on
// any thread).
std::atomic<unsigned long> g_lastGuidTick{0};
} // namespace

long KInterlockedIncrement(long* p, KUtlCrSect* section) {
  KUtlCrSync lock(section ? section : &g_counterLock);
  return ++*p;
}

long KInterlockedDecrement(long* p, KUtlCrSect* section) {
  KUtlCrSync lock(section ? section : &g_counterLock);
  return --*p;
}

unsigned long KGetCurrentThreadId() {
  thread_local const unsigned long id = static_cast<unsigned long>(::syscall(SYS_gettid));
  return id;
}

unsigned long KGetCurrentProcessId() { return static_cast<unsigned long>(::getpid()); }

unsigned long KGetLastError() { return static_cast<unsigned long>(errno); }

int KGetComputerName(char* buffer, unsigned long* size) {
  if (!buffer || !size || *size == 0) return 0;
  if (::gethostname(buffer, *size) != 0) return 0;
  buffer[*size - 1] = '\0'; // a cut name is not terminated by gethostname
  *size = std::strlen(buffer);
  return 1;
}

_KGUID* KCoCreateGuid(_KGUID* g) {
  if (!g) throw new KErr(KERR_ILLEGAL_ARGUMENT, "KCoCreateGuid", "pguid");
  unsigned long tick = KGetTickCount();
  while (tick == g_lastGuidTick.load(std::memory_order_relaxed)) tick = KGetTickCount();
  g_lastGuidTick.store(tick, std::memory_order_relaxed);
  g->Data[0] = static_cast<uint32_t>(::getuid());
  g->Data[1] = static_cast<uint32_t>(::getpid());
  g->Data[2] = static_cast<uint32_t>(KGetCurrentThreadId());
  g->Data[3] = static_cast<uint32_t>(tick);
  return g;
}

int KStringFromGUID(_KGUID& g, char* buffer, int size) {
  if (!buffer) throw new KErr(KERR_ILLEGAL_ARGUMENT, "KStringFromGUID", "lpsz");
  char text[40];
  int n = std::snprintf(text, sizeof text, "%08lX%08lX%08lX%08lX", static_cast<unsigned long>(g.Data[0]),
                        static_cast<unsigned long>(g.Data[1]), static_cast<unsigned long>(g.Data[2]),
                        static_cast<unsigned long>(g.Data[3]));
  if (n + 1 > size) return 0;
  std::memcpy(buffer, text, size_t(n) + 1);
  return n + 1;
}

int KMultiByteToWideChar(unsigned, unsigned long, const char*, int, wchar_t*, int) {
  throw new KErr(KERR_NOT_SUPPORTED, "KMultiByteToWideChar");
}

int KWideCharToMultiByte(unsigned, unsigned long, const wchar_t*, int, char*, int, const char*, int*) {
  throw new KErr(KERR_NOT_SUPPORTED, "KWideCharToMultiByte");
}

void* KLocalFree(void* p) {
  delete[] static_cast<char*>(p);
  return nullptr;
}

int KIsBadReadPtr(const void* p, unsigned) { return p == nullptr ? 1 : 0; }
int KIsBadWritePtr(void* p, unsigned) { return p == nullptr ? 1 : 0; }
int KIsBadStringPtrA(const char* p, unsigned) { return p == nullptr ? 1 : 0; }

int KMessageBox(void*, const char*, const char*, unsigned) { return 3; }
int KCreateDirectory(const char*, _KSECURITY_ATTRIBUTES*) { return 0; }
int InitCrt() { return 1; }

} // namespace KCLASSIC
