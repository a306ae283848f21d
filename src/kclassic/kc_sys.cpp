#include "kclassic/kc_sys.h"

#include <sys/syscall.h>
#include <unistd.h>

namespace KCLASSIC {

unsigned long KGetCurrentThreadId() {
  thread_local const unsigned long id = static_cast<unsigned long>(::syscall(SYS_gettid));
  return id;
}

void* KLocalFree(void* p) {
  delete[] static_cast<char*>(p);
  return nullptr;
}

int KIsBadReadPtr(const void* p, unsigned) { return p == nullptr ? 1 : 0; }
int KIsBadWritePtr(void* p, unsigned) { return p == nullptr ? 1 : 0; }
int KIsBadStringPtrA(const char* p, unsigned) { return p == nullptr ? 1 : 0; }

} // namespace KCLASSIC
