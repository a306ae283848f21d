#include "kclassic/kc_obj.h"

#include <cstdio>

#include "kclassic/kc_err.h"

namespace KCLASSIC {

KRuntimeClass* KObject::GetThisClass() {
  static KRuntimeClass record = {"KObject", unsigned(sizeof(KObject)), KSCHEMA_NONE, nullptr, nullptr, nullptr};
  return &record;
}

int KRuntimeClass::IsDerivedFrom(const KRuntimeClass* base) const {
  for (const KRuntimeClass* c = this; c; c = c->m_pBaseClass)
    if (c == base) return 1;
  return 0;
}

KObject* KRuntimeClass::CreateObject() {
  if (!m_pfnCreateObject) {
    std::printf("Error: Trying to create object which is not DECLARE_DYNCREATE \nor DECLARE_SERIAL: %s.\n",
                m_lpszClassName);
    return nullptr;
  }
  try {
    return m_pfnCreateObject();
  } catch (KErr* e) {
    delete e; // swallowed: the thrown error is owned here
    std::printf("Exception occured in KRuntimeClass::CreateObject\n");
    return nullptr;
  } catch (...) {
    std::printf("Exception occured in KRuntimeClass::CreateObject\n");
    return nullptr;
  }
}

KRuntimeClass* KObject::GetRuntimeClass() const { return GetThisClass(); }

void KObject::Serialize(KArchive&) {}

int KObject::IsKindOf(const KRuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }

int KObject::IsSerializable() const { return GetRuntimeClass()->m_wSchema != KSCHEMA_NONE ? 1 : 0; }

} // namespace KCLASSIC
