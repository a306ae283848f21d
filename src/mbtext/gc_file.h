// File layer of the locale data files: open, read, seek, map and unmap,
// the 80-byte data-file header, and the names of the data files.
//
// Threads: no shared state; one file handle is used by one thread at a time.
#pragma once

#include <cstdint>

#include "orb_api.h"
#include "mbtext/gc_types.h"

// File-layer context: a non-null marker while the library is started.
struct GCFctx;

// Open modes.
inline constexpr int GC_FILE_READ = 0;
inline constexpr int GC_FILE_CREATE = 1;
inline constexpr int GC_FILE_UPDATE = 2;

// Seek origins.
inline constexpr int GC_SEEK_SET = 10;
inline constexpr int GC_SEEK_CUR = 11;
inline constexpr int GC_SEEK_END = 12;

inline constexpr uint32_t GC_PATH_MAX = 1024;

struct GCFile {
  int fd;
  uint8_t mode;     // GC_FILE_*
  uint8_t replace;  // created under a temporary name; replaces target on close
  uint8_t eof;
  char target[GC_PATH_MAX]; // the name the file was opened with
  char temp[GC_PATH_MAX];   // temporary name (replace-on-close only)
};

ORB_API GCFile* GCOpenFile(GCFctx* ctx, const char* name, int mode, int overwrite, uint32_t* status);
// 0, or 1 when closing or the replacement failed (the handle then stays).
ORB_API int GCCloseFile(GCFile* file, int discard);
ORB_API int32_t GCReadFile(GCFile* file, void* buffer, uint32_t size, uint32_t* status);
ORB_API int GCSeekFile(GCFile* file, int64_t offset, int origin);
// Maps size bytes at offset read-only; the section must lie within the file
// (1003 otherwise). Size 0 gives null with status 0.
ORB_API const uint8_t* GCLoadFile(GCFile* file, uint32_t offset, uint32_t size, uint32_t* status);
// Releases the mapping GCLoadFile made for address (with the same size).
ORB_API uint32_t GCUnloadFile(const void* address, uint32_t size);
ORB_API int64_t GCFileSize(GCFile* file);

// ---------------------------------------------------------------------------
// Data-file header.
inline constexpr uint32_t GC_FILE_MAGIC = 0x476cf462u;
inline constexpr uint32_t GC_HDR_SIZE = 80;
inline constexpr uint32_t GC_HDR_V3_WORD = 0x30080000u;

// The header as read (always the version-3 meaning; version is the file's).
struct GCFileHdr {
  uint8_t version;  // top 4 bits of the second word
  uint16_t nsect;   // 1..4
  uint32_t size[4]; // 0 for sections beyond nsect
  uint32_t off[4];
};

// Converts an 80-byte header of versions 0-2 into the version-3 layout.
ORB_API void GCFileHdrV2toV3(const uint8_t* old_hdr, uint8_t* new_hdr);

// ---------------------------------------------------------------------------
// Names and locations.
inline constexpr const char* GC_DATA_DIR_BUILTIN = "/Lintrova/locale";

// which 0: GC_LOCALEDIR (length with NUL, -1 unset, 0 does not fit);
// which 1: the fixed directory (0 when size is below 17).
ORB_API int32_t GCGetDataLocation(char* buffer, uint32_t size, int which);
ORB_API char* GCGetControlFileName(const char* dir, char* buffer, uint32_t size);
ORB_API char* GCGetDataFileName(const char* dir, uint8_t cls, uint16_t id, char* buffer, uint32_t size);
