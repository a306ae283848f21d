#include "kclassic/kc_handle.h"

#include <dlfcn.h>
#include <libgen.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "kclassic/kc_err.h"
#include "kclassic/kc_mb.h"
#include "kclassic/kc_sys.h"
#include "kclassic/kc_sys_int.h"

namespace KCLASSIC {

KFileHandle::KFileHandle() : KBaseHandle(KRES_FILE), m_fd(-9999), m_path{}, m_openFlags(0) {}

KFileHandle::KFileHandle(int fd, int openFlags, const char* path)
    : KBaseHandle(KRES_FILE), m_fd(fd), m_path{}, m_openFlags(openFlags) {
  KCopyFits(m_path, sizeof m_path, path);
}

KFileHandle::~KFileHandle() {
  if (m_fd >= 0) ::close(m_fd);
}

int KFileHandle::fflush() {
  // A duplicate keeps the handle's descriptor open when the stream closes.
  int fd = m_fd >= 0 ? ::dup(m_fd) : -1;
  if (fd < 0) return -1;
  FILE* f = ::fdopen(fd, "a");
  if (!f) {
    ::close(fd);
    return -1;
  }
  int r = std::fflush(f);
  std::fclose(f);
  return r;
}

KLibHandle::KLibHandle(const char* name) : KBaseHandle(KRES_LIBRARY), m_name{}, m_path{} {
  if (!name || !KCopyFits(m_name, sizeof m_name, name))
    throw new KErr(KERR_ILLEGAL_ARGUMENT, "KLibHandle::KLibHandle", "library name");
}

void KLibHandle::SetPath(const char* path) {
  if (!path || std::strlen(path) + 1 > sizeof m_path)
    throw new KErr(KERR_ILLEGAL_ARGUMENT, "KLibHandle::SetPath", "path ");
  KCopyFits(m_path, sizeof m_path, path);
}

KDirHandle::KDirHandle(const char* directory, const char* pattern, DIR* stream)
    : KBaseHandle(KRES_DIRECTORY), m_dir{}, m_pattern{}, m_stream(stream) {
  KCopyFits(m_dir, sizeof m_dir, directory);
  KCopyFits(m_pattern, sizeof m_pattern, pattern);
}

KDirHandle::~KDirHandle() {
  if (m_stream) ::closedir(m_stream);
}

namespace {
// A descriptor that turns readable when the process ends; -1 when the
// system offers none.
int OpenPidFd(long pid) {
#ifdef SYS_pidfd_open
  return int(::syscall(SYS_pidfd_open, pid_t(pid), 0));
#else
  (void)pid;
  return -1;
#endif
}
} // namespace

KProcessHandle::KProcessHandle(long pid) : KBaseHandle(KRES_PROCESS), m_pid(pid) {}

KProcessHandle::~KProcessHandle() {
  if (!m_ended) TerminateProcess(0);
  Wait(0);
}

unsigned long KProcessHandle::GetReturnCode(long waitResult, int) {
  if (waitResult == 0) return KWAIT_TIMEOUT;
  if (waitResult > 0) return 0;
  return KWAIT_FAILED;
}

unsigned long KProcessHandle::Poll() {
  int status = 0;
  pid_t r = ::waitpid(pid_t(m_pid), &status, WNOHANG);
  unsigned long result = GetReturnCode(r, status);
  if (result == 0) {
    m_ended = 1;
    if (WIFEXITED(status)) m_exitCode = unsigned(WEXITSTATUS(status));
  }
  return result;
}

unsigned long KProcessHandle::Wait(unsigned long ms) {
  KUtlCrSync lock(m_lock);
  if (m_ended) return 0;
  if (ms == 0) return Poll();
  if (ms != KINFINITE) throw new KErr(KERR_NOT_SUPPORTED, "KProcessHandle::Wait");
  // Sleep until the process ends (its pidfd turns readable) or a short
  // while passes, so the thread does not spin and a termination request
  // from another thread is seen within a few milliseconds.
  int pidfd = OpenPidFd(m_pid);
  unsigned long result;
  for (;;) {
    if (m_terminate.load()) {
      result = KWAIT_FAILED;
      break;
    }
    result = Poll();
    if (result != KWAIT_TIMEOUT) break;
    if (pidfd >= 0) {
      pollfd p = {pidfd, POLLIN, 0};
      ::poll(&p, 1, 20);
    } else {
      const timespec pause = {0, 2000000};
      ::nanosleep(&pause, nullptr);
    }
  }
  if (pidfd >= 0) ::close(pidfd);
  return result;
}

int KProcessHandle::TerminateProcess(unsigned long code) {
  m_terminate.store(1); // before the lock: an infinite Wait holds it
  KUtlCrSync lock(m_lock);
  if (m_ended) return 0;
  if (::kill(pid_t(m_pid), SIGKILL) != 0) return 0;
  // Reap the killed child so it does not stay behind as a zombie.
  int status;
  while (::waitpid(pid_t(m_pid), &status, 0) < 0 && errno == EINTR) {
  }
  m_exitCode = code;
  m_ended = 1;
  return 1;
}

int KProcessHandle::GetExitCodeProcess(unsigned long* code) {
  if (!code) return 0;
  KUtlCrSync lock(m_lock);
  if (m_ended) {
    *code = m_exitCode;
    return 1;
  }
  unsigned long r = Wait(0);
  if (r == KWAIT_TIMEOUT) {
    *code = KSTILL_ACTIVE;
    return 1;
  }
  if (r == 0) {
    *code = m_exitCode;
    return 1;
  }
  return 0;
}

int KCloseHandle(KBaseHandle* handle) {
  if (!handle) return 0;
  switch (handle->GetId()) {
    case KRES_FILE:
      if (auto* h = dynamic_cast<KFileHandle*>(handle)) {
        delete h;
        return 1;
      }
      return 0;
    case KRES_PROCESS:
      if (auto* h = dynamic_cast<KProcessHandle*>(handle)) {
        delete h;
        return 1;
      }
      return 0;
    case KRES_DIRECTORY:
      if (auto* h = dynamic_cast<KDirHandle*>(handle)) {
        delete h;
        return 1;
      }
      return 0;
    default:
      return 0;
  }
}

char* ConvertToLibrary(const char* name, char* result) {
  auto refuse = [] { return new KErr(KERR_ILLEGAL_ARGUMENT, "ConvertToLibrary", "DllName"); };
  if (!name || !result || (!kstrstr(name, ".dll") && !kstrstr(name, ".DLL"))) throw refuse();
  char dirCopy[KLIB_PATH_SIZE];
  char baseCopy[KLIB_PATH_SIZE];
  if (!KCopyFits(dirCopy, sizeof dirCopy, name)) throw refuse();
  ReplaceBackSlash(dirCopy);
  std::memcpy(baseCopy, dirCopy, sizeof baseCopy);
  const char* dir = ::dirname(dirCopy);
  if (std::strcmp(dir, ".") != 0) {
    if (!KCopyFits(result, KLIB_PATH_SIZE, dir) || !KAppendFits(result, KLIB_PATH_SIZE, "/")) throw refuse();
  }
  char* save = nullptr;
  const char* stem = ::strtok_r(::basename(baseCopy), ".", &save);
  if (!stem || !KAppendFits(result, KLIB_PATH_SIZE, "lib") || !KAppendFits(result, KLIB_PATH_SIZE, stem) ||
      !KAppendFits(result, KLIB_PATH_SIZE, ".so"))
    throw refuse();
  return result;
}

void* KLoadLibrary(const char* name) {
  if (!name) throw new KErr(KERR_ILLEGAL_ARGUMENT, "KLoadLibrary", "DLLToLoad");
  if (std::strlen(name) >= KLIB_PATH_SIZE) return nullptr;
  char path[KLIB_PATH_SIZE] = "";
  ConvertToLibrary(name, path);
  return ::dlopen(path, RTLD_LAZY);
}

void* KGetProcAddress(void* library, const char* symbol) { return ::dlsym(library, symbol); }

int KFreeLibrary(void* library) { return ::dlclose(library); }

} // namespace KCLASSIC
