#include "mbtext/gc_file.h"
#include "mbtext/gc_types_int.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void set(uint32_t* status, uint32_t v) {
  if (status) *status = v;
}

uint32_t open_error(int err) {
  if (err == ENOENT || err == ENOTDIR || err == EISDIR) return GC_E_FILE_NOT_FOUND;
  if (err == EACCES || err == EPERM) return GC_E_FILE_PERM;
  return GC_E_FILE;
}

long page_size() {
  static const long ps = sysconf(_SC_PAGESIZE) > 0 ? sysconf(_SC_PAGESIZE) : 4096;
  return ps;
}

} // namespace

GCFile* GCOpenFile(GCFctx*, const char* name, int mode, int overwrite, uint32_t* status) {
  set(status, GC_OK);
  if (!name || std::strlen(name) >= GC_PATH_MAX) {
    set(status, GC_E_FILE_READ);
    return nullptr;
  }
  struct stat st {};
  bool exists = ::stat(name, &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) {
    set(status, GC_E_FILE_NOT_FOUND);
    return nullptr;
  }
  auto* f = static_cast<GCFile*>(gcAlloc(sizeof(GCFile)));
  if (!f) {
    set(status, GC_E_NOMEM);
    return nullptr;
  }
  std::memset(f, 0, sizeof *f);
  f->fd = -1;
  f->mode = static_cast<uint8_t>(mode == GC_FILE_CREATE || mode == GC_FILE_UPDATE ? mode : GC_FILE_READ);
  std::snprintf(f->target, sizeof f->target, "%s", name);
  const char* open_name = name;
  int oflags = O_RDONLY;
  if (f->mode == GC_FILE_UPDATE) {
    oflags = O_RDWR;
  } else if (f->mode == GC_FILE_CREATE) {
    oflags = O_RDWR | O_CREAT | O_TRUNC;
    if (exists && overwrite == 0) {
      // New contents go to "<base>.tmp" and replace the named file on close.
      const char* dot = std::strrchr(name, '.');
      const char* slash = std::strrchr(name, '/');
      size_t base_len = (dot && (!slash || dot > slash)) ? size_t(dot - name) : std::strlen(name);
      int n = std::snprintf(f->temp, sizeof f->temp, "%.*s.tmp", int(base_len), name);
      if (n < 0 || size_t(n) >= sizeof f->temp) {
        gcFree(f);
        set(status, GC_E_FILE_READ);
        return nullptr;
      }
      f->replace = 1;
      open_name = f->temp;
    }
  }
  f->fd = ::open(open_name, oflags | O_CLOEXEC, 0644);
  if (f->fd < 0) {
    uint32_t st_code = open_error(errno);
    gcFree(f);
    set(status, st_code);
    return nullptr;
  }
  return f;
}

int GCCloseFile(GCFile* f, int discard) {
  if (!f) return 1;
  if (f->fd >= 0 && ::close(f->fd) != 0) return 1;
  f->fd = -1;
  if (f->replace) {
    if (discard == 1) {
      ::unlink(f->temp);
    } else {
      if (::access(f->target, W_OK) != 0) return 1;
      if (::rename(f->temp, f->target) != 0) return 1;
    }
    f->replace = 0;
  }
  gcFree(f);
  return 0;
}

int32_t GCReadFile(GCFile* f, void* buffer, uint32_t size, uint32_t* status) {
  set(status, GC_OK);
  if (!f || f->fd < 0) {
    set(status, GC_E_FILE_READ);
    return 0;
  }
  if (f->mode == GC_FILE_CREATE) {
    set(status, GC_E_FILE_MODE);
    return 0;
  }
  if (size > 0x7fffffffu) size = 0x7fffffffu;
  uint32_t done = 0;
  while (done < size) {
    ssize_t n = ::read(f->fd, static_cast<uint8_t*>(buffer) + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      set(status, GC_E_FILE_READ);
      return 0;
    }
    if (n == 0) break;
    done += uint32_t(n);
  }
  if (done == 0) f->eof = 1;
  return int32_t(done);
}

int GCSeekFile(GCFile* f, int64_t offset, int origin) {
  if (!f || f->fd < 0) return 1;
  int whence = origin == GC_SEEK_CUR ? SEEK_CUR : origin == GC_SEEK_END ? SEEK_END : SEEK_SET;
  if (::lseek(f->fd, off_t(offset), whence) < 0) return 1;
  f->eof = 0;
  return 0;
}

int64_t GCFileSize(GCFile* f) {
  if (!f || f->fd < 0) return -1;
  struct stat st {};
  if (::fstat(f->fd, &st) != 0) return -1;
  return int64_t(st.st_size);
}

const uint8_t* GCLoadFile(GCFile* f, uint32_t offset, uint32_t size, uint32_t* status) {
  set(status, GC_OK);
  if (!f || f->fd < 0) {
    set(status, GC_E_FILE_READ);
    return nullptr;
  }
  if (f->mode == GC_FILE_CREATE) {
    set(status, GC_E_FILE_MODE);
    return nullptr;
  }
  if (size == 0) return nullptr;
  int64_t fsize = GCFileSize(f);
  // A mapping past the end of the file would fault when read.
  if (fsize < 0 || uint64_t(offset) + size > uint64_t(fsize)) {
    set(status, GC_E_FILE_READ);
    return nullptr;
  }
  uint64_t ps = uint64_t(page_size());
  uint64_t start = (uint64_t(offset) / ps) * ps;
  uint64_t lead = offset - start;
  void* m = ::mmap(nullptr, size_t(size + lead), PROT_READ, MAP_SHARED | MAP_NORESERVE, f->fd,
                   off_t(start));
  if (m == MAP_FAILED) {
    set(status, GC_E_FILE_READ);
    return nullptr;
  }
  return static_cast<const uint8_t*>(m) + lead;
}

uint32_t GCUnloadFile(const void* address, uint32_t size) {
  if (!address) return GC_OK;
  uint64_t ps = uint64_t(page_size());
  uintptr_t a = reinterpret_cast<uintptr_t>(address);
  uintptr_t start = a - (a % ps);
  if (::munmap(reinterpret_cast<void*>(start), size_t(size + (a - start))) != 0) return GC_E_FILE_UNMAP;
  return GC_OK;
}
