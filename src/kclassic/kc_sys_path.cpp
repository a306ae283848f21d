// Paths of the system-call layer: the module file name of a library handle,
// path completion and backslash conversion.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "kclassic/kc_handle.h"
#include "kclassic/kc_sys.h"
#include "kclassic/kc_sys_int.h"

namespace KCLASSIC {

namespace {

constexpr size_t kWork = 1024;

bool Exists(const char* path) {
  struct stat st;
  return ::stat(path, &st) == 0;
}

// dir + "/" + name into candidate when it fits.
bool Join(char* candidate, const char* dir, const char* name) {
  return KCopyFits(candidate, kWork, dir) && KAppendFits(candidate, kWork, "/") &&
         KAppendFits(candidate, kWork, name);
}

// Copies a found path to the caller's buffer and keeps it in the handle.
unsigned long Found(KLibHandle* lib, const char* path, char* buffer, unsigned long size) {
  if (!KCopyFits(buffer, size, path)) return 0;
  lib->SetPath(path);
  return std::strlen(buffer);
}

} // namespace

int ReplaceBackSlash(char* s) {
  if (!s) return -1;
  for (; *s; ++s)
    if (*s == '\\') *s = '/';
  return 0;
}

unsigned long KGetModuleFileName(void* handle, char* buffer, unsigned long size) {
  if (!buffer || !handle || size == 0) return 0;
  buffer[0] = '\0';
  auto* base = static_cast<KBaseHandle*>(handle);
  auto* lib = base->GetId() == KRES_LIBRARY ? dynamic_cast<KLibHandle*>(base) : nullptr;
  if (!lib) return 0;
  const char* name = lib->GetName();
  if (!*name) {
    std::printf("Library name has not been set for this handle.\n");
    std::printf("See the porting notes: a library handle needs its library name before its path is looked up.\n");
    return 0;
  }
  if (*lib->GetPath()) return KCopyFits(buffer, size, lib->GetPath()) ? std::strlen(buffer) : 0;

  char candidate[kWork];
  const char* inst = std::getenv("ORBN_INST_DIR");
  if (inst && KCopyFits(candidate, kWork, inst) && KAppendFits(candidate, kWork, "/bin/") &&
      KAppendFits(candidate, kWork, name) && Exists(candidate))
    return Found(lib, candidate, buffer, size);

  const char* ldPath = std::getenv("LD_LIBRARY_PATH");
  char dirs[kWork];
  if (!ldPath || !KCopyFits(dirs, kWork, ldPath)) return 0;
  char* save = nullptr;
  for (char* dir = ::strtok_r(dirs, ":", &save); dir; dir = ::strtok_r(nullptr, ":", &save)) {
    if (Join(candidate, dir, name) && Exists(candidate)) return Found(lib, candidate, buffer, size);
  }
  return std::strlen(buffer);
}

char* KFullPath(char* out, const char* path, unsigned size) {
  if (!out || !path) return nullptr;
  char work[kWork];
  if (!KCopyFits(work, kWork, path)) return nullptr;
  ReplaceBackSlash(work);
  std::memset(out, 0, size);
  if (work[0] == '/') return KCopyFits(out, size, work) ? out : nullptr;

  char dir[kWork];
  if (!::getcwd(dir, sizeof dir)) return nullptr;
  const char* rest = work;
  while (rest[0] == '.') {
    if (std::strncmp(rest, "../", 3) == 0) {
      char* slash = std::strrchr(dir, '/');
      if (slash) *slash = '\0';
      rest += 3;
    } else if (std::strncmp(rest, "./", 2) == 0) {
      rest += 2;
      break;
    } else {
      return nullptr;
    }
  }
  if (!KCopyFits(out, size, dir) || !KAppendFits(out, size, "/") || !KAppendFits(out, size, rest)) {
    std::memset(out, 0, size);
    return nullptr;
  }
  return out;
}

int KFlushFileBuffers(KBaseHandle* handle) {
  if (handle && handle->GetId() == KRES_FILE)
    if (auto* f = dynamic_cast<KFileHandle*>(handle)) f->fflush();
  return 0;
}

} // namespace KCLASSIC
