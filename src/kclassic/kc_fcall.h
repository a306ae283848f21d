// The emulated Windows file calls over POSIX descriptors and directory
// streams, on the handle objects of kc_handle.h.
#pragma once

#include <cstdint>

#include "kclassic/kc_handle.h"
#include "kclassic/kc_sys.h"
#include "orb_api.h"

namespace KCLASSIC {

// Access, creation and attribute values of KCreateFile.
inline constexpr unsigned long KGENERIC_READ = 0x80000000;
inline constexpr unsigned long KGENERIC_WRITE = 0x40000000;
inline constexpr unsigned long KCREATE_ALWAYS = 2;
inline constexpr unsigned long KOPEN_EXISTING = 3;
inline constexpr unsigned long KOPEN_ALWAYS = 4;
inline constexpr unsigned long KFILE_ATTRIBUTE_NORMAL = 0x80;
inline constexpr unsigned long KFILE_FLAG_WRITE_THROUGH = 0x80000000;

struct _KFILETIME {
  uint32_t dwLowDateTime;
  uint32_t dwHighDateTime;
};

// Only the file name is filled.
struct _KWIN32_FIND_DATA {
  uint32_t dwFileAttributes;
  _KFILETIME ftCreationTime;
  _KFILETIME ftLastAccessTime;
  _KFILETIME ftLastWriteTime;
  uint32_t nFileSizeHigh;
  uint32_t nFileSizeLow;
  uint32_t dwReserved0;
  uint32_t dwReserved1;
  char cFileName[260];
  char cAlternateFileName[14];
};

struct _KOVERLAPPED;

ORB_API KBaseHandle* KCreateFile(const char* path, unsigned long access, unsigned long shareMode,
                                 _KSECURITY_ATTRIBUTES* security, unsigned long creation, unsigned long flags,
                                 KBaseHandle* templateFile);
ORB_API int KReadFile(KBaseHandle* handle, void* buffer, unsigned long n, unsigned long* done,
                      _KOVERLAPPED* overlapped);
ORB_API int KWriteFile(KBaseHandle* handle, const void* buffer, unsigned long n, unsigned long* done,
                       _KOVERLAPPED* overlapped);
// The new position from the start; 0xFFFFFFFF when the seek fails or the
// method is not 0, 1 or 2.
ORB_API unsigned long KSetFilePointer(KBaseHandle* handle, long distance, long* distanceHigh, unsigned long method);
ORB_API int KDeleteFile(const char* path);

// Directory search: "dir/pattern" (backslashes allowed).
ORB_API KBaseHandle* KFindFirstFile(const char* path, _KWIN32_FIND_DATA* data);
ORB_API int KFindNextFile(KBaseHandle* handle, _KWIN32_FIND_DATA* data);
ORB_API int KFindClose(KBaseHandle* handle);

// Wildcards '?' (one character) and '*' (at the end: anything; before more
// pattern: one or more characters). Case-sensitive.
ORB_API int KUtlMatchPattern(const char* text, const char* pattern);

} // namespace KCLASSIC
