// Building a locale from its name, and releasing it.
#include <cstring>

#include "mbtext/gc_cp.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_locobj.h"
#include "mbtext/gc_mem_be_int.h"
#include "mbtext/gc_obj.h"
#include "mbtext/gc_obj_int.h"
#include "mbtext/gc_types_int.h"

namespace {

constexpr int kNameBuf = 132;

// Outcome of finding one part of the locale.
struct Part {
  GCObj* obj = nullptr;
  uint32_t st = GC_OK; // the object manager's status
};

Part by_name(GCOctx* ocx, uint8_t cls, const char* name, int32_t len) {
  Part p;
  p.obj = GCGetObjFromName(ocx, cls, name, len, GC_FIND_LOAD, &p.st);
  return p;
}

Part by_id(GCOctx* ocx, uint8_t cls, uint16_t id) {
  Part p;
  p.obj = GCGetObjFromID(ocx, cls, id, GC_FIND_LOAD, &p.st);
  return p;
}

// Status for a part that was not obtained.
uint32_t part_failure(uint32_t st, uint32_t not_found) {
  if (st == GC_E_NOMEM) return GC_E_NOMEM;
  if (st == GC_E_NOT_FOUND) return not_found;
  return GC_E_INIT;
}

// Length of the text from s up to the first of the stop characters.
int32_t span_to(const char* s, const char* stops) { return int32_t(std::strcspn(s, stops)); }

} // namespace

GCLocale* GCGetLocale(const char* name, uint32_t flags, uint32_t* status) {
  uint32_t local;
  if (!status) status = &local;
  if (flags != 0 && flags != GC_GL_USER && flags != GC_GL_FALLBACK &&
      flags != (GC_GL_USER | GC_GL_FALLBACK)) {
    *status = GC_E_ARG;
    return nullptr;
  }
  GCOctx* ocx = gcObjManager();
  if (!ocx) { // the library is not started
    *status = GC_E_INIT;
    return nullptr;
  }
  auto* loc = static_cast<GCLocale*>(gcAlloc(sizeof(GCLocale)));
  if (!loc) {
    *status = GC_E_NOMEM;
    return nullptr;
  }
  std::memset(loc, 0, sizeof *loc);
  const bool fallback = (flags & GC_GL_FALLBACK) != 0;
  char user[kNameBuf];
  bool from_env = false;
  if (flags & GC_GL_USER) {
    from_env = GCGetUserLocale(user, sizeof user) == 1;
    name = user;
  }
  if (!name) name = "";
  uint32_t fail = GC_OK;
  // Language: up to the first "_", "." or "@".
  const char* s = name;
  int32_t n = span_to(s, "_.@");
  Part lang;
  if (n == 0) lang = by_name(ocx, GC_CLASS_LANGUAGE, "English", 7);
  else {
    lang = by_name(ocx, GC_CLASS_LANGUAGE, s, n);
    if (!lang.obj && lang.st == GC_E_NOT_FOUND && fallback)
      lang = by_name(ocx, GC_CLASS_LANGUAGE, "English", 7);
  }
  s += n;
  if (!lang.obj) fail = part_failure(lang.st, GC_E_NO_LANGUAGE);
  const uint8_t* ld = lang.obj ? gcObjSection(lang.obj) : nullptr;
  // Territory: "_" and a text up to the next "." or "@".
  if (!fail) {
    Part terr;
    n = 0;
    if (*s == '_') {
      ++s;
      n = span_to(s, ".@");
    }
    if (n > 0) {
      terr = by_name(ocx, GC_CLASS_TERRITORY, s, n);
      if (!terr.obj && terr.st == GC_E_NOT_FOUND && fallback)
        terr = by_id(ocx, GC_CLASS_TERRITORY, gc_be16(ld + GC_LANG_DEF_TERRITORY));
    } else {
      terr = by_id(ocx, GC_CLASS_TERRITORY, gc_be16(ld + GC_LANG_DEF_TERRITORY));
    }
    s += n;
    if (!terr.obj) fail = part_failure(terr.st, GC_E_NO_TERRITORY);
    loc->territory = terr.obj;
  }
  // Code page: "." and a text up to "@".
  if (!fail) {
    Part cp;
    n = 0;
    if (*s == '.') {
      ++s;
      n = span_to(s, "@");
    }
    if (n > 0) {
      cp = by_name(ocx, GC_CLASS_CODEPAGE, s, n);
      if (!cp.obj && cp.st == GC_E_NOT_FOUND && fallback)
        cp = by_id(ocx, GC_CLASS_CODEPAGE, gc_be16(ld + GC_LANG_DEF_CODEPAGE));
    } else {
      cp = by_id(ocx, GC_CLASS_CODEPAGE, gc_be16(ld + GC_LANG_DEF_CODEPAGE));
    }
    s += n;
    if (!cp.obj) fail = part_failure(cp.st, GC_E_NO_CODEPAGE);
    loc->codepage = cp.obj;
  }
  // Sort: "@" and the rest; "BINARY" and id 0 are binary order.
  if (!fail) {
    Part so;
    n = 0;
    if (*s == '@') {
      ++s;
      n = int32_t(std::strlen(s));
    }
    if (n > 0) {
      so = by_name(ocx, GC_CLASS_SORT, s, n);
      if (!so.obj && so.st == GC_E_NOT_FOUND && fallback)
        so = by_id(ocx, GC_CLASS_SORT, gc_be16(ld + GC_LANG_DEF_SORT));
    } else {
      so = by_id(ocx, GC_CLASS_SORT, gc_be16(ld + GC_LANG_DEF_SORT));
    }
    if (!so.obj && so.st != GC_OK) fail = part_failure(so.st, GC_E_NO_SORT);
    loc->sort = so.obj;
  }
  if (fail) {
    gcLocaleFree(loc);
    *status = fail;
    return nullptr;
  }
  loc->language = lang.obj;
  if (gcCpMaxLen(loc->codepage) == 1 && !gcCpIsUtf8(loc->codepage)) loc->flags |= GC_LF_SINGLEBYTE;
  if (gcCpIsShiftState(loc->codepage)) loc->flags |= GC_LF_SHIFT;
  if (!loc->sort) loc->flags |= GC_LF_NOSORT;
  loc->kept = 0;
  if (GCLocaleSetModifiable(loc) != GC_OK) {
    gcLocaleFree(loc);
    *status = GC_E_NOMEM;
    return nullptr;
  }
  if ((flags & GC_GL_USER) && !from_env) GCMapNativeInfo("", loc, 0);
  loc->status = GC_OK;
  *status = GC_OK;
  return loc;
}

uint32_t GCReleaseLocale(GCLocale* locale, uint32_t) {
  if (!locale) return GC_OK;
  return gcLocaleFree(locale);
}
