// Class registration by name and the archive form of class records.
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "kclassic/kc_arch.h"

namespace KCLASSIC {

namespace {

struct ClassRegistry {
  std::mutex lock;
  std::map<std::string, KRuntimeClass*> byName;
};

// Made on first use: registration objects run in static initialisers.
ClassRegistry& Registry() {
  static ClassRegistry* registry = new ClassRegistry; // lives as long as the process
  return *registry;
}

constexpr unsigned kMaxClassName = 64;

} // namespace

void KAfxClassInit(KRuntimeClass* cls) {
  if (!cls || !cls->m_lpszClassName) return;
  ClassRegistry& r = Registry();
  std::lock_guard<std::mutex> guard(r.lock);
  r.byName.emplace(cls->m_lpszClassName, cls);
}

KRuntimeClass* KRuntimeClass::FromName(const char* name) {
  if (!name) return nullptr;
  ClassRegistry& r = Registry();
  std::lock_guard<std::mutex> guard(r.lock);
  auto it = r.byName.find(name);
  return it == r.byName.end() ? nullptr : it->second;
}

void KRuntimeClass::Store(KArchive& ar) const {
  size_t len = std::strlen(m_lpszClassName);
  ar.Put16(uint16_t(m_wSchema & ~KVERSIONABLE_SCHEMA));
  ar.Put16(uint16_t(len));
  ar.Write(m_lpszClassName, unsigned(len));
}

KRuntimeClass* KRuntimeClass::Load(KArchive& ar, unsigned* schema) {
  unsigned stored = ar.Get16();
  if (schema) *schema = stored;
  unsigned len = ar.Get16();
  char name[kMaxClassName];
  if (len >= kMaxClassName || ar.Read(name, len) != len) return nullptr;
  name[len] = '\0';
  KRuntimeClass* cls = FromName(name);
  if (!cls) std::printf("Warning: Cannot load %s from archive.  Class not defined.\n", name);
  return cls;
}

} // namespace KCLASSIC
