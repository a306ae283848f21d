// Data-file header, data locations and data-file names.
#include <cstdio>
#include <cstring>

#include "mbtext/gc_file.h"
#include "mbtext/gc_file_int.h"
#include "mbtext/gc_mem_be_int.h"

void GCFileHdrV2toV3(const uint8_t* old_hdr, uint8_t* h) {
  std::memset(h, 0, GC_HDR_SIZE);
  gc_put32(h + 0, GC_FILE_MAGIC);
  gc_put32(h + 4, GC_HDR_V3_WORD);
  std::memcpy(h + 8, old_hdr + 8, 2); // section count
  static const int size_at[4] = {10, 16, 24, 32};
  static const int off_at[4] = {12, 20, 28, 36};
  for (int i = 0; i < 4; ++i) {
    gc_put32(h + 12 + 8 * i, gc_be16(old_hdr + size_at[i]));
    gc_put32(h + 16 + 8 * i, gc_be32(old_hdr + off_at[i]));
  }
  std::memcpy(h + 44, old_hdr + 40, 33);
}

uint32_t gcFileHdrParse(const uint8_t* image, uint64_t file_size, GCFileHdr* hdr) {
  if (gc_be32(image) != GC_FILE_MAGIC) return GC_E_MAGIC;
  uint8_t v3[GC_HDR_SIZE];
  const uint8_t* h = image;
  uint8_t version = static_cast<uint8_t>(gc_be32(image + 4) >> 28);
  if (version < 3) {
    GCFileHdrV2toV3(image, v3);
    h = v3;
  }
  std::memset(hdr, 0, sizeof *hdr);
  hdr->version = version;
  hdr->nsect = gc_be16(h + 8);
  if (hdr->nsect < 1 || hdr->nsect > 4) return GC_E_FILE_READ;
  for (int i = 0; i < hdr->nsect; ++i) {
    hdr->size[i] = gc_be32(h + 12 + 8 * i);
    hdr->off[i] = gc_be32(h + 16 + 8 * i);
    if (hdr->size[i] != 0 && uint64_t(hdr->off[i]) + hdr->size[i] > file_size) return GC_E_FILE_READ;
  }
  if (hdr->size[0] == 0) return GC_E_FILE_READ;
  return GC_OK;
}

uint32_t gcFileHdrRead(GCFile* file, GCFileHdr* hdr) {
  int64_t fsize = GCFileSize(file);
  if (fsize < int64_t(GC_HDR_SIZE)) return GC_E_FILE_READ;
  uint8_t image[GC_HDR_SIZE];
  uint32_t st = GC_OK;
  if (GCSeekFile(file, 0, GC_SEEK_SET) != 0) return GC_E_FILE_READ;
  int32_t n = GCReadFile(file, image, GC_HDR_SIZE, &st);
  if (st != GC_OK) return st;
  if (n != int32_t(GC_HDR_SIZE)) return GC_E_FILE_READ;
  return gcFileHdrParse(image, uint64_t(fsize), hdr);
}

int32_t GCGetDataLocation(char* buffer, uint32_t size, int which) {
  if (which == 0) {
    uint32_t need = GCGetEnv("GC_LOCALEDIR", buffer, size);
    if (need == 0) return -1;
    if (need > size || need > GC_PATH_MAX) return 0;
    return int32_t(need);
  }
  if (which == 1) {
    uint32_t need = uint32_t(std::strlen(GC_DATA_DIR_BUILTIN)) + 1;
    if (!buffer || size < need) return 0;
    std::memcpy(buffer, GC_DATA_DIR_BUILTIN, need);
    return int32_t(need);
  }
  return 0;
}

char* GCGetControlFileName(const char* dir, char* buffer, uint32_t size) {
  if (!dir || !buffer) return nullptr;
  if (size > GC_PATH_MAX) size = GC_PATH_MAX;
  int n = std::snprintf(buffer, size, "%s/control.nls", dir);
  if (n < 0 || uint32_t(n) >= size) return nullptr;
  return buffer;
}

char* GCGetDataFileName(const char* dir, uint8_t cls, uint16_t id, char* buffer, uint32_t size) {
  static const char* const prefix[4] = {"la", "te", "cp", "so"};
  if (!dir || !buffer || cls > 3) return nullptr;
  if (size > GC_PATH_MAX) size = GC_PATH_MAX;
  int n = std::snprintf(buffer, size, "%s/%s_%04d%s", dir, prefix[cls], int(id), ".nls");
  if (n < 0 || uint32_t(n) >= size) return nullptr;
  return buffer;
}
