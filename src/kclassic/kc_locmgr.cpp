// The locale registry: locales by name, by LCID and per thread, the system
// locale and the lazy start of the multibyte library. The registry is made
// on first use and never destroyed, so it serves every static initialiser
// and outlives every static user.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "kclassic/kc_err.h"
#include "kclassic/kc_loc.h"
#include "kclassic/kc_loc_int.h"
#include "kclassic/kc_map.h"
#include "kclassic/kc_mb.h"
#include "kclassic/kc_sect.h"
#include "kclassic/kc_sys.h"
#include "mbtext/gc_types.h"

namespace KCLASSIC {

namespace {

typedef KAutoDeleteTypedPtrMap<KMapStringToPtr, KZString, KUtlLocale*> LocaleByName;
typedef KMap<unsigned long, unsigned long, KUtlLocale*, KUtlLocale&> LocaleById;

struct Registry {
  LocaleByName g_LocaleMap{10};
  LocaleById g_ThreadLocale{10};
  LocaleById g_LCIDLocale{10};
  KUtlCrSect g_LocaleSync;
  KUtlLocaleManager g_LocaleManager;
  KUtlLocale* system = nullptr;

  Registry() {
    g_LocaleMap.InitHashTable(70, 1);
    g_ThreadLocale.InitHashTable(17, 1);
    g_LCIDLocale.InitHashTable(17, 1);
  }
};

Registry& reg() {
  static Registry* r = new Registry;
  return *r;
}

// The calling thread's locale, once bound. A thread that has not bound one
// yet ignores an entry that a thread with the same (reused) id left behind.
thread_local KUtlLocale* t_locale = nullptr;

KUtlLocale* find_name(const char* name) {
  KUtlLocale* l = nullptr;
  KUtlCrSync lock(reg().g_LocaleSync);
  return reg().g_LocaleMap.Lookup(name ? name : "", l) ? l : nullptr;
}

void bind_thread(KUtlLocale* l) {
  KUtlCrSync lock(reg().g_LocaleSync);
  reg().g_ThreadLocale[KGetCurrentThreadId()] = l;
  t_locale = l;
}

} // namespace

GCLocale* kcThreadLocale() { return UtlGetThreadLocale().GetHandle(); }

KUtlLocaleManager& KGetLocaleManager() { return reg().g_LocaleManager; }

int KUtlLocaleManager::Init(char* path) {
  if (GCInit(path, nullptr, nullptr, nullptr, 0) == 0) m_bInit = 1;
  return m_bInit;
}

KUtlLocale& UtlGetLocaleRef(const char* name) { return name ? UtlGetLocale(name) : UtlGetThreadLocale(); }

KUtlLocale& UtlGetLocale(const char* name) {
  if (!name) name = "";
  if (KUtlLocale* l = find_name(name)) return *l;
  return *AddLocale(name);
}

KUtlLocale& UtlGetLocale(unsigned long lcid) {
  KUtlLocale* l = nullptr;
  {
    KUtlCrSync lock(reg().g_LocaleSync);
    reg().g_LCIDLocale.Lookup(lcid, l);
  }
  if (!l) {
    KZString insert;
    insert.Format("Invalid LCID : %ld", static_cast<long>(lcid));
    throw new KErr(KERR_ILLEGAL_ARGUMENT, "UtlGetLocale", insert);
  }
  return *l;
}

KUtlLocale* UtlGetSystemLocale() {
  Registry& r = reg();
  KUtlCrSync lock(r.g_LocaleSync);
  if (!r.system) r.system = new KUtlLocale("");
  return r.system;
}

KUtlLocale* AddLocale(const char* name) {
  Registry& r = reg();
  {
    KUtlCrSync lock(r.g_LocaleSync);
    KUtlLocaleManager& mgr = r.g_LocaleManager;
    if (!mgr.m_bInit) {
      // A library that could only start on its built-in objects is ended, so
      // that the installed data gets its try; if that fails too, the built-in
      // objects serve.
      uint32_t first = GCInit(nullptr, nullptr, nullptr, nullptr, 0);
      if (first == 0) {
        mgr.m_bInit = 1;
      } else {
        if (first == GC_S_DEFAULTS) GCTerm();
        char* path = GetInstalledLocalePath();
        uint32_t second = GCInit(path, nullptr, nullptr, nullptr, 0);
        delete[] path;
        if (second == 0 || second == GC_S_DEFAULTS) mgr.m_bInit = 1;
      }
      if (!mgr.m_bInit)
        throw new KErr(KERR_INTERNAL, "AddLocale", "Global C has not been initialized.");
    }
  }
  if (!name || !*name) return UtlGetSystemLocale();
  auto* made = new KUtlLocale(name);
  if (KUtlLocale* known = find_name(made->GetName())) {
    delete made;
    return known;
  }
  KUtlLocale* l = made;
  LocaleMapGetSet(name, l);
  unsigned long lcid = l->GetWin32Lcid();
  KUtlCrSync lock(r.g_LocaleSync);
  r.g_LCIDLocale[lcid] = l;
  return l;
}

void LocaleMapGetSet(const char* name, KUtlLocale*& locale) {
  Registry& r = reg();
  KUtlCrSync lock(r.g_LocaleSync);
  KUtlLocale* known = nullptr;
  if (r.g_LocaleMap.Lookup(name ? name : "", known)) {
    if (locale != known) delete locale;
    locale = known;
    return;
  }
  r.g_LocaleMap[name ? name : ""] = locale;
}

KUtlLocale& UtlGetThreadLocale() {
  if (t_locale) return *t_locale;
  return UpdateCreateLocale("");
}

void UtlSetThreadLocale(const char* name) { UpdateCreateLocale(name); }

KUtlLocale& UpdateCreateLocale(const char* name) {
  if (!name) name = "";
  if (!t_locale) {
    bind_thread(AddLocale(name));
    return *t_locale;
  }
  if (kstrcmp(t_locale->GetName(), name) != 0) {
    KUtlLocale* l = find_name(name);
    bind_thread(l ? l : AddLocale(name));
  }
  return *t_locale;
}

char* GetInstalledLocalePath() {
  char* path = new char[1000];
  path[0] = 0;
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&GetInstalledLocalePath), &info) || !info.dli_fname) return path;
  // The file this code was loaded from, as an absolute path when it can be
  // resolved. The library is not started yet, so the name is cut byte by byte.
  char* resolved = realpath(info.dli_fname, nullptr);
  const char* file = resolved ? resolved : info.dli_fname;
  if (std::strlen(file) < 1000) {
    char dir[1000];
    std::strcpy(dir, file);
    if (char* slash = std::strrchr(dir, '/')) *slash = 0;
    else std::strcpy(dir, ".");
    if (std::snprintf(path, 1000, "%s/Locale", dir) >= 1000) path[0] = 0;
  }
  std::free(resolved);
  return path;
}

void GetCurrentDir(char* path) {
  if (!path) return;
  char* last = nullptr;
  for (char* p = path; *p; p = kstrinc(p)) {
    if (*p == '\\' || *p == '/' || *p == ':') last = p;
  }
  if (!last) return;
  if (*last == ':') last[1] = 0;
  else *last = 0;
}

} // namespace KCLASSIC
