#include "kclassic/kc_fcall.h"

#include <fcntl.h>
#include <libgen.h>
#include <unistd.h>

#include <cstring>

#include "kclassic/kc_err.h"
#include "kclassic/kc_sys_int.h"

namespace KCLASSIC {

namespace {

constexpr unsigned long kFailed = 0xFFFFFFFF;

KFileHandle* CheckTransfer(KBaseHandle* handle, const void* buffer, unsigned long* done, _KOVERLAPPED* overlapped,
                           const char* method, const char* doneName) {
  if (!done) throw new KErr(KERR_ILLEGAL_ARGUMENT, method, doneName);
  *done = 0;
  if (!handle || !buffer || overlapped) {
    *done = kFailed;
    throw new KErr(KERR_ILLEGAL_ARGUMENT, method, "hFile or pBuffer");
  }
  auto* file = handle->GetId() == KRES_FILE ? dynamic_cast<KFileHandle*>(handle) : nullptr;
  if (!file) {
    *done = kFailed;
    throw new KErr(KERR_ILLEGAL_ARGUMENT, method, "hFile");
  }
  return file;
}

// Next entry of the search's directory that matches its pattern.
int NextMatch(KDirHandle* dir, _KWIN32_FIND_DATA* data) {
  while (dirent* e = ::readdir(dir->GetStream())) {
    if (KUtlMatchPattern(e->d_name, dir->GetPattern())) {
      if (data) KCopyFits(data->cFileName, sizeof data->cFileName, e->d_name);
      return 1;
    }
  }
  return 0;
}

} // namespace

KBaseHandle* KCreateFile(const char* path, unsigned long access, unsigned long, _KSECURITY_ATTRIBUTES* security,
                         unsigned long creation, unsigned long flags, KBaseHandle* templateFile) {
  if (!path) throw new KErr(KERR_ILLEGAL_ARGUMENT, "KCreateFile", "pFileName");
  if (security || templateFile || access < KGENERIC_WRITE ||
      (creation != KCREATE_ALWAYS && creation != KOPEN_EXISTING && creation != KOPEN_ALWAYS) ||
      !(flags & (KFILE_ATTRIBUTE_NORMAL | KFILE_FLAG_WRITE_THROUGH)))
    throw new KErr(KERR_NOT_SUPPORTED, "KCreateFile");
  if (std::strlen(path) + 1 > KFILE_PATH_SIZE) return nullptr; // the handle cannot hold the path
  int oflags = (access == KGENERIC_WRITE || access == (KGENERIC_READ | KGENERIC_WRITE)) ? O_RDWR : O_RDONLY;
  if (creation == KCREATE_ALWAYS) oflags |= O_CREAT | O_TRUNC;
  else if (creation == KOPEN_ALWAYS) oflags |= O_CREAT;
  int fd = ::open(path, oflags, 0666);
  if (fd < 0) return nullptr;
  return new KFileHandle(fd, oflags, path);
}

int KReadFile(KBaseHandle* handle, void* buffer, unsigned long n, unsigned long* done, _KOVERLAPPED* overlapped) {
  KFileHandle* f = CheckTransfer(handle, buffer, done, overlapped, "KReadFile", "pnNumberOfBytesRead");
  ssize_t r = ::read(f->GetFd(), buffer, n);
  if (r < 0) {
    *done = kFailed;
    return 0;
  }
  *done = static_cast<unsigned long>(r);
  return 1;
}

int KWriteFile(KBaseHandle* handle, const void* buffer, unsigned long n, unsigned long* done,
               _KOVERLAPPED* overlapped) {
  KFileHandle* f = CheckTransfer(handle, buffer, done, overlapped, "KWriteFile", "pnNumberOfBytesWritten");
  ssize_t r = ::write(f->GetFd(), buffer, n);
  if (r < 0) {
    *done = kFailed;
    return 0;
  }
  *done = static_cast<unsigned long>(r);
  return 1;
}

unsigned long KSetFilePointer(KBaseHandle* handle, long distance, long* distanceHigh, unsigned long method) {
  if (!handle || distanceHigh) throw new KErr(KERR_NOT_SUPPORTED, "KSetFilePointer");
  auto* f = handle->GetId() == KRES_FILE ? dynamic_cast<KFileHandle*>(handle) : nullptr;
  if (!f) throw new KErr(KERR_ILLEGAL_ARGUMENT, "KSetFilePointer", "hFile");
  static const int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
  if (method > 2) return kFailed;
  off_t r = ::lseek(f->GetFd(), distance, kWhence[method]);
  return r < 0 ? kFailed : static_cast<unsigned long>(r);
}

int KDeleteFile(const char* path) {
  if (!path) throw new KErr(KERR_ILLEGAL_ARGUMENT, "KDeleteFile", "FileName is NULL");
  return ::unlink(path) == 0 ? 1 : 0;
}

KBaseHandle* KFindFirstFile(const char* path, _KWIN32_FIND_DATA* data) {
  char dirCopy[KDIR_PATH_SIZE];
  char baseCopy[KDIR_PATH_SIZE];
  if (!path || !KCopyFits(dirCopy, sizeof dirCopy, path)) return nullptr;
  ReplaceBackSlash(dirCopy);
  std::memcpy(baseCopy, dirCopy, sizeof baseCopy);
  const char* dir = ::dirname(dirCopy);
  const char* pattern = ::basename(baseCopy);
  DIR* stream = ::opendir(dir);
  if (!stream) return nullptr;
  auto* h = new KDirHandle(dir, pattern, stream);
  if (!NextMatch(h, data)) {
    delete h; // closes the directory
    return nullptr;
  }
  return h;
}

int KFindNextFile(KBaseHandle* handle, _KWIN32_FIND_DATA* data) {
  auto* dir = handle && handle->GetId() == KRES_DIRECTORY ? dynamic_cast<KDirHandle*>(handle) : nullptr;
  if (!dir || !dir->GetStream()) return 0;
  return NextMatch(dir, data);
}

int KFindClose(KBaseHandle* handle) { return KCloseHandle(handle); }

int KUtlMatchPattern(const char* text, const char* pattern) {
  if (!text || !pattern) return 0;
  for (;;) {
    if (*pattern == '*') {
      while (*pattern == '*') ++pattern;
      if (!*pattern) return 1;
      // More pattern follows: the star takes one character or more.
      if (!*text) return 0;
      for (const char* s = text + 1; *s; ++s)
        if (KUtlMatchPattern(s, pattern)) return 1;
      return 0;
    }
    if (*pattern == '?') {
      if (!*text) return 0;
    } else if (*pattern != *text) {
      return 0;
    } else if (!*pattern) {
      return 1;
    }
    ++pattern;
    ++text;
  }
}

} // namespace KCLASSIC
