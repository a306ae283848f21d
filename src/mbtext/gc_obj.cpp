// Object manager: start, teardown, the directory and finding objects.
#include "mbtext/gc_obj.h"

#include <cstring>

#include "mbtext/gc_file_int.h"
#include "mbtext/gc_frame.h"
#include "mbtext/gc_frame_int.h"
#include "mbtext/gc_len_int.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_mem.h"
#include "mbtext/gc_mem_be_int.h"
#include "mbtext/gc_obj_int.h"
#include "mbtext/gc_types_int.h"

namespace {

void set(uint32_t* status, uint32_t v) {
  if (status) *status = v;
}

// Opens the control file of dir; null when it does not open.
GCFile* open_control(const char* dir, uint32_t* st) {
  char name[GC_PATH_MAX];
  if (!GCGetControlFileName(dir, name, sizeof name)) {
    *st = GC_E_FILE_READ;
    return nullptr;
  }
  return GCOpenFile(gcfcx, name, GC_FILE_READ, 0, st);
}

// Reads the directory section of an open control file into ocx.
uint32_t read_directory(GCOctx* ocx, GCFile* f) {
  GCFileHdr hdr;
  uint32_t st = gcFileHdrRead(f, &hdr);
  if (st != GC_OK) return st;
  uint32_t count = hdr.size[0] / GC_DIR_ENTRY_SIZE; // a remainder is ignored
  if (count > 0xFFFF) return GC_E_FILE_READ;
  uint32_t bytes = count * GC_DIR_ENTRY_SIZE;
  auto* raw = static_cast<uint8_t*>(gcAlloc(bytes ? bytes : 1));
  if (!raw) return GC_E_NOMEM;
  if (GCSeekFile(f, hdr.off[0], GC_SEEK_SET) != 0) {
    gcFree(raw);
    return GC_E_FILE_READ;
  }
  int32_t n = bytes ? GCReadFile(f, raw, bytes, &st) : 0;
  if (st != GC_OK || uint32_t(n) != bytes) {
    gcFree(raw);
    return GC_E_FILE_READ;
  }
  auto* dir = static_cast<GCObj*>(gcAlloc(uint32_t(count ? count * sizeof(GCObj) : 1)));
  if (!dir) {
    gcFree(raw);
    return GC_E_NOMEM;
  }
  std::memset(dir, 0, count * sizeof(GCObj));
  // Entries must be well formed and ordered by class, then by ascending id:
  // the class ranges and the search by id rely on that order.
  int prev_cls = -1, prev_id = -1;
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* r = raw + GC_DIR_ENTRY_SIZE * i;
    GCObj& e = dir[i];
    e.id = gc_be16(r);
    e.cls = r[2];
    bool named = std::memchr(r + 4, 0, GC_OBJ_NAME_SIZE) != nullptr;
    bool ordered = e.cls < GC_CLASS_COUNT &&
                   (int(e.cls) > prev_cls || (int(e.cls) == prev_cls && int(e.id) > prev_id));
    if (!named || !ordered) {
      gcFree(dir);
      gcFree(raw);
      return GC_E_FILE_READ;
    }
    std::memcpy(e.name, r + 4, GC_OBJ_NAME_SIZE);
    prev_cls = e.cls;
    prev_id = e.id;
  }
  gcFree(raw);
  // Class ranges in one pass: a class without entries starts where the next
  // class with entries starts (or at the end).
  int last = -1;
  for (uint32_t i = 0; i < count; ++i) {
    int c = dir[i].cls;
    if (c != last) {
      for (int k = last + 1; k <= c; ++k) ocx->first[k] = uint16_t(i);
      last = c;
    }
  }
  for (int k = last + 1; k < GC_CLASS_COUNT; ++k) ocx->first[k] = uint16_t(count);
  ocx->dir = dir;
  ocx->count = uint16_t(count);
  return GC_OK;
}

void range(const GCOctx* ocx, uint8_t cls, uint32_t* lo, uint32_t* hi) {
  *lo = ocx->first[cls];
  *hi = cls + 1 < GC_CLASS_COUNT ? ocx->first[cls + 1] : ocx->count;
  if (*hi < *lo) *hi = *lo;
}

GCObj* found(GCOctx* ocx, GCObj* e, int mode, uint32_t* status) {
  if (mode == GC_FIND_ONLY || gcObjLoaded(e)) return e;
  return GCLoadObj(ocx, e, status);
}

} // namespace

bool gcObjLoaded(const GCObj* e) {
  return gcObjSection(e) != nullptr;
}

GCOctx* gcObjManager() { return gcocx; }

GCObj* gcCodePageAscii() {
  GCOctx* ocx = gcocx;
  if (ocx) {
    uint32_t st;
    GCObj* e = GCGetObjFromID(ocx, GC_CLASS_CODEPAGE, GC_CP_ID_ASCII, GC_FIND_LOAD, &st);
    if (e) return e;
  }
  return gcBuiltinCodePage();
}

GCOctx* GCInitObjManager(const char* path, uint32_t flags, uint32_t* status) {
  uint32_t local;
  if (!status) status = &local;
  *status = GC_OK;
  auto* ocx = static_cast<GCOctx*>(gcAlloc(sizeof(GCOctx)));
  if (!ocx) {
    *status = GC_E_NOMEM;
    return nullptr;
  }
  std::memset(ocx, 0, sizeof *ocx);
  ocx->nofallback = flags == GC_INIT_NO_FALLBACK ? 1 : 0;
  uint32_t st = GC_OK;
  GCFile* f = nullptr;
  bool give_up = false;
  // The caller's directory, then GC_LOCALEDIR, then the fixed directory.
  if (path) {
    if (std::strlen(path) >= GC_PATH_MAX) {
      st = GC_E_FILE_READ;
      give_up = true;
    } else {
      f = open_control(path, &st);
      if (f) std::strcpy(ocx->datadir, path);
    }
  }
  if (!f && !give_up) {
    int32_t n = GCGetDataLocation(ocx->datadir, GC_PATH_MAX, 0);
    if (n == 0) {
      st = GC_E_FILE_READ; // GC_LOCALEDIR does not fit
      give_up = true;
    } else if (n > 0) {
      f = open_control(ocx->datadir, &st);
    }
    if (!f && !give_up) {
      if (GCGetDataLocation(ocx->datadir, GC_PATH_MAX, 1) > 0) f = open_control(ocx->datadir, &st);
      else st = GC_E_FILE_READ;
    }
  }
  if (f) {
    st = read_directory(ocx, f);
    GCCloseFile(f, 0);
    if (st == GC_OK) {
      *status = GC_OK;
      return ocx;
    }
  }
  if (st == GC_OK) st = GC_E_FILE_READ;
  *status = st;
  ocx->datadir[0] = 0;
  if (!ocx->nofallback && st != GC_E_NOMEM) {
    if (GCLoadDefaults(ocx)) return ocx;
    *status = GC_E_NOMEM;
  }
  gcFree(ocx);
  return nullptr;
}

int GCLoadDefaults(GCOctx* ocx) {
  auto* dir = static_cast<GCObj*>(gcAlloc(3 * sizeof(GCObj)));
  if (!dir) return 0;
  GCObj* b[3] = {gcBuiltinLanguage(), gcBuiltinTerritory(), gcBuiltinCodePage()};
  for (int i = 0; i < 3; ++i) {
    std::memset(&dir[i], 0, sizeof(GCObj));
    dir[i].id = b[i]->id;
    dir[i].cls = b[i]->cls;
    std::memcpy(dir[i].name, b[i]->name, GC_OBJ_NAME_SIZE);
    GCLoadDefaultObj(ocx, &dir[i]);
  }
  if (ocx->dir) gcFree(ocx->dir);
  ocx->dir = dir;
  ocx->first[0] = 0;
  ocx->first[1] = 1;
  ocx->first[2] = 2;
  ocx->first[3] = 3;
  ocx->count = 3;
  ocx->nofallback = 1;
  ocx->datadir[0] = 0;
  return 1;
}

int GCLoadDefaultObj(GCOctx*, GCObj* e) {
  GCObj* b = nullptr;
  if (e->cls == GC_CLASS_LANGUAGE) b = gcBuiltinLanguage();
  else if (e->cls == GC_CLASS_TERRITORY) b = gcBuiltinTerritory();
  else if (e->cls == GC_CLASS_CODEPAGE) b = gcBuiltinCodePage();
  if (!b) return 1;
  e->flags = GC_OBJ_BUILTIN;
  e->version = b->version;
  for (int i = GC_OBJ_SECTIONS - 1; i >= 1; --i) {
    e->sect[i] = b->sect[i];
    e->sect_size[i] = b->sect_size[i];
  }
  e->sect_size[0] = b->sect_size[0];
  gcObjPublish(e, gcObjSection(b));
  return 0;
}

uint32_t GCTermObjManager(GCOctx* ocx) {
  if (!ocx) return GC_OK;
  uint32_t r = GC_OK;
  for (uint32_t i = 0; i < ocx->count; ++i) {
    GCObj& e = ocx->dir[i];
    if (gcObjSection(&e) && !(e.flags & GC_OBJ_BUILTIN)) {
      uint32_t u = GCUnloadObj(ocx, &e);
      if (u != GC_OK && r == GC_OK) r = GC_E_FILE;
    }
  }
  if (ocx->dir && !gcFree(ocx->dir)) r = GC_E_FILE;
  if (!gcFree(ocx)) r = GC_E_FILE;
  return r;
}

GCObj* GCGetObjFromName(GCOctx* ocx, uint8_t cls, const char* name, int32_t length, int mode,
                        uint32_t* status) {
  set(status, GC_OK);
  if (!ocx || !name || cls >= GC_CLASS_COUNT) {
    set(status, GC_E_NOT_FOUND);
    return nullptr;
  }
  if (length < 0 && (length = gcTextLen(name)) < 0) {
    set(status, GC_E_NOT_FOUND); // no object has such a name
    return nullptr;
  }
  if (cls == GC_CLASS_SORT && (length == 6 || (length == 7 && name[6] == 0)) &&
      GCmemicmp(name, "BINARY", 6) == 0)
    return nullptr; // binary order: no sort object
  uint32_t lo, hi;
  range(ocx, cls, &lo, &hi);
  for (uint32_t i = lo; i < hi; ++i) {
    GCObj* e = &ocx->dir[i];
    int32_t len = int32_t(strnlen(e->name, GC_OBJ_NAME_SIZE));
    if ((len == length || len == length - 1) && length <= GC_OBJ_NAME_SIZE &&
        GCmemicmp(e->name, name, uint32_t(length)) == 0)
      return found(ocx, e, mode, status);
  }
  set(status, GC_E_NOT_FOUND);
  return nullptr;
}

GCObj* GCGetObjFromNameW(GCOctx* ocx, uint8_t cls, const uint32_t* name, int32_t length, int mode,
                         uint32_t* status) {
  set(status, GC_OK);
  if (!name) {
    set(status, GC_E_NOT_FOUND);
    return nullptr;
  }
  if (length < 0) {
    length = 0;
    while (name[length] != 0) ++length;
  }
  char small[GC_OBJ_NAME_SIZE + 2];
  // A name longer than any entry name cannot match; compare a cut copy so
  // nothing is allocated for it.
  int32_t n = length < int32_t(sizeof small) ? length : int32_t(sizeof small);
  for (int32_t i = 0; i < n; ++i) small[i] = char(name[i] & 0xFF);
  if (length > n) {
    set(status, GC_E_NOT_FOUND);
    return nullptr;
  }
  return GCGetObjFromName(ocx, cls, small, n, mode, status);
}

GCObj* GCGetObjFromID(GCOctx* ocx, uint8_t cls, uint16_t id, int mode, uint32_t* status) {
  set(status, GC_OK);
  if (!ocx || cls >= GC_CLASS_COUNT) {
    set(status, GC_E_NOT_FOUND);
    return nullptr;
  }
  if (cls == GC_CLASS_SORT && id == 0) return nullptr; // binary order
  uint32_t lo, hi;
  range(ocx, cls, &lo, &hi);
  if (lo >= hi) {
    set(status, GC_E_NOT_FOUND);
    return nullptr;
  }
  uint32_t l = lo, h = hi - 1;
  while (l < h) {
    uint32_t mid = (l + h) / 2;
    if (id <= ocx->dir[mid].id) h = mid;
    else l = mid + 1;
  }
  if (ocx->dir[h].id != id) {
    set(status, GC_E_NOT_FOUND);
    return nullptr;
  }
  return found(ocx, &ocx->dir[h], mode, status);
}
