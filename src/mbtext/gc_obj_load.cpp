// Loading and unloading the data of one object.
#include <cstring>

#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_file_int.h"
#include "mbtext/gc_frame.h"
#include "mbtext/gc_frame_int.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_obj.h"
#include "mbtext/gc_obj_int.h"
#include "mbtext/gc_sort_int.h"
#include "mbtext/gc_sortv1.h"
#include "mbtext/gc_sortv1_int.h"
#include "mbtext/gc_types_int.h"

namespace {

struct Sections {
  const uint8_t* p[GC_OBJ_SECTIONS] = {};
  uint32_t size[GC_OBJ_SECTIONS] = {};
  uint8_t flags = 0; // GC_OBJ_ALLOC* of the sections that were allocated

  uint32_t release() {
    uint32_t r = GC_OK;
    for (int i = GC_OBJ_SECTIONS - 1; i >= 0; --i) {
      if (!p[i]) continue;
      if (flags & (GC_OBJ_ALLOC0 << i)) {
        if (!gcFree(const_cast<uint8_t*>(p[i]))) r = GC_E_FREE;
      } else {
        uint32_t u = GCUnloadFile(p[i], size[i]);
        if (u != GC_OK) r = u;
      }
      p[i] = nullptr;
      size[i] = 0;
    }
    flags = 0;
    return r;
  }

  // Replaces section i by an allocated block.
  void replace(int i, uint8_t* block, uint32_t block_size) {
    if (p[i] && !(flags & (GC_OBJ_ALLOC0 << i))) GCUnloadFile(p[i], size[i]);
    else if (p[i]) gcFree(const_cast<uint8_t*>(p[i]));
    p[i] = block;
    size[i] = block ? block_size : 0;
    if (block) flags |= uint8_t(GC_OBJ_ALLOC0 << i);
    else flags &= uint8_t(~(GC_OBJ_ALLOC0 << i));
  }
};

// Maps, upgrades and checks the object's file; on success the entry holds
// the open file and its sections, published with section 0 last.
uint32_t load_file(GCOctx* ocx, GCObj* e) {
  char name[GC_PATH_MAX];
  if (!GCGetDataFileName(ocx->datadir, e->cls, e->id, name, sizeof name)) return GC_E_FILE_READ;
  uint32_t st = GC_OK;
  GCFile* f = GCOpenFile(gcfcx, name, GC_FILE_READ, 0, &st);
  if (!f) return st;
  GCFileHdr hdr;
  st = gcFileHdrRead(f, &hdr);
  Sections s;
  for (int i = 0; st == GC_OK && i < hdr.nsect; ++i) {
    s.p[i] = GCLoadFile(f, hdr.off[i], hdr.size[i], &st);
    s.size[i] = s.p[i] ? hdr.size[i] : 0;
  }
  if (st == GC_OK && e->cls == GC_CLASS_CODEPAGE && hdr.version == 1) {
    uint8_t* trie = nullptr;
    uint32_t msize = 0, tsize = 0;
    uint8_t* main = GCCpV1toV2(s.p[0], s.size[0], s.p[1], s.size[1], &trie, &msize, &tsize);
    if (!main) {
      st = gcCpV1WellFormed(s.p[0], s.size[0], s.p[1], s.size[1]) ? GC_E_NOMEM : GC_E_FILE_READ;
    } else {
      s.replace(0, main, msize);
      s.replace(1, trie, tsize);
    }
  } else if (st == GC_OK && e->cls == GC_CLASS_SORT && hdr.version < 3) {
    uint32_t nsize = 0;
    uint8_t* table = GCSortV1toV3(s.p[0], s.size[0], &nsize);
    if (!table) {
      st = gcSortV1WellFormed(s.p[0], s.size[0]) ? GC_E_NOMEM : GC_E_FILE_READ;
    } else {
      s.replace(0, table, nsize);
    }
  }
  if (st == GC_OK) {
    GCObj probe = *e;
    for (int i = 0; i < GC_OBJ_SECTIONS; ++i) {
      probe.sect[i] = s.p[i];
      probe.sect_size[i] = s.size[i];
    }
    st = gcObjValidate(&probe);
  }
  if (st == GC_OK && e->cls == GC_CLASS_SORT && !s.p[GC_SORT_BYTES_SECTION]) {
    // The weights of U+0000-U+00FF made once for every comparison to come
    // (without memory for them, comparisons look each weight up instead).
    GCObj probe = *e;
    probe.sect[0] = s.p[0];
    probe.sect_size[0] = s.size[0];
    if (GCSortBytes* bytes = gcSortBytesMake(&probe))
      s.replace(GC_SORT_BYTES_SECTION, reinterpret_cast<uint8_t*>(bytes), sizeof(GCSortBytes));
  }
  if (st != GC_OK) {
    s.release();
    GCCloseFile(f, 0);
    return st;
  }
  e->file = f;
  e->flags = s.flags;
  e->version = hdr.version;
  for (int i = GC_OBJ_SECTIONS - 1; i >= 1; --i) {
    e->sect[i] = s.p[i];
    e->sect_size[i] = s.size[i];
  }
  e->sect_size[0] = s.size[0];
  gcObjPublish(e, s.p[0]);
  return GC_OK;
}

} // namespace

GCObj* GCLoadObj(GCOctx* ocx, GCObj* e, uint32_t* status) {
  uint32_t local;
  if (!status) status = &local;
  *status = GC_OK;
  if (!ocx || !e) {
    *status = GC_E_NOT_FOUND;
    return nullptr;
  }
  gcLock();
  if (gcObjSection(e)) { // loaded meanwhile by another thread
    gcUnlock();
    return e;
  }
  uint32_t st = load_file(ocx, e);
  if (st == GC_OK) {
    gcUnlock();
    return e;
  }
  *status = st;
  // Languages and territories whose file is missing or damaged fall back on
  // the built-in data under their own name and id; a code page or sort whose
  // file fails is a failure. A load that ran out of memory leaves the entry
  // unloaded, so the next call tries the file again.
  GCObj* result = nullptr;
  if (st != GC_E_NOMEM && !ocx->nofallback && e->cls != GC_CLASS_CODEPAGE && GCLoadDefaultObj(ocx, e) == 0)
    result = e;
  gcUnlock();
  return result;
}

uint32_t GCUnloadObj(GCOctx*, GCObj* e) {
  if (!e || (e->flags & GC_OBJ_BUILTIN)) return GC_OK;
  Sections s;
  for (int i = 0; i < GC_OBJ_SECTIONS; ++i) {
    s.p[i] = e->sect[i];
    s.size[i] = e->sect_size[i];
  }
  s.flags = e->flags & (GC_OBJ_ALLOC0 | GC_OBJ_ALLOC1 | GC_OBJ_ALLOC2 | GC_OBJ_ALLOC3);
  uint32_t r = s.release();
  uint32_t c = GC_OK;
  if (e->file) c = GCCloseFile(e->file, 0) ? GC_E_FILE : GC_OK;
  e->file = nullptr;
  for (int i = 0; i < GC_OBJ_SECTIONS; ++i) {
    e->sect[i] = nullptr;
    e->sect_size[i] = 0;
  }
  e->flags = 0;
  return c != GC_OK ? c : r;
}
