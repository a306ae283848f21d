// The dictionary's slots, forwarded look-ups and cache files.
#include "bo/bo_dict.h"

#include "bo/bo_sesmgr.h"

namespace KCLASSIC {

const char* const g_FutureTables[] = {"access_control", "page_class", nullptr};

int IsFutureTable(const char* name) {
  if (!name) return 0;
  for (int i = 0; g_FutureTables[i]; ++i)
    if (KZString(name).CompareNoCase(g_FutureTables[i]) == 0) return 1;
  return 0;
}

KDdDict::KDdDict(KSessionMgr* mgr) : m_pSessionMgr(mgr) {
  if (mgr && mgr->GetConfig() && mgr->GetConfig()->m_lDictFlag == BO_CONFIG_DICT_FLAG) m_bConfigFlag = 1;
}

KDdDict::~KDdDict() { InitializeComponents(nullptr, nullptr); }

KDdComponent* KDdDict::GetComponent(enumDicCmpnt kind) const {
  return kind >= 0 && kind < BO_DIC_COMPNT_COUNT ? m_pComponents[kind] : nullptr;
}

KDdDataDictCompnt* KDdDict::GetDataDictCompnt() const {
  return dynamic_cast<KDdDataDictCompnt*>(m_pComponents[eDicDataDict]);
}
KDdStringCompnt* KDdDict::GetStringCompnt() const {
  return dynamic_cast<KDdStringCompnt*>(m_pComponents[eDicStrings]);
}
KDdChoiceTableCompnt* KDdDict::GetChoiceTableCompnt() const {
  return dynamic_cast<KDdChoiceTableCompnt*>(m_pComponents[eDicChoiceTables]);
}
KDdUserChoiceListCompnt* KDdDict::GetUserChoiceListCompnt() const {
  return dynamic_cast<KDdUserChoiceListCompnt*>(m_pComponents[eDicUserChoiceLists]);
}
KDdCurrencyCompnt* KDdDict::GetCurrencyCompnt() const {
  return dynamic_cast<KDdCurrencyCompnt*>(m_pComponents[eDicCurrency]);
}
KDdTimezoneCompnt* KDdDict::GetTimezoneCompnt() const {
  return dynamic_cast<KDdTimezoneCompnt*>(m_pComponents[eDicTimeZone]);
}
KDdDaylightCompnt* KDdDict::GetDaylightCompnt() const {
  return dynamic_cast<KDdDaylightCompnt*>(m_pComponents[eDicDayLight]);
}
KDdLocaleCompnt* KDdDict::GetLocaleCompnt() const {
  return dynamic_cast<KDdLocaleCompnt*>(m_pComponents[eDicLocale]);
}

void KDdDict::SetComponent(KDdComponent* component) {
  if (!component) throw new KErr(KERR_ILLEGAL_ARGUMENT, "KDdDict::SetComponent");
  enumDicCmpnt kind = component->GetKind();
  component->AddRef();
  if (m_pComponents[kind]) m_pComponents[kind]->Release();
  m_pComponents[kind] = component;
}

KDdComponent* KDdDict::SetNewComponent(KSessionMgr* mgr, enumDicCmpnt kind, unsigned long language) {
  KDdComponent* component = nullptr;
  long lang = long(language);
  switch (kind) {
    case eDicDataDict: component = new KDdDataDictCompnt(lang, mgr); break;
    case eDicStrings: component = new KDdStringCompnt(lang, mgr); break;
    case eDicChoiceTables: component = new KDdChoiceTableCompnt(lang, mgr); break;
    case eDicUserChoiceLists: component = new KDdUserChoiceListCompnt(lang, mgr); break;
    case eDicCurrency: component = new KDdCurrencyCompnt(lang, mgr); break;
    case eDicTimeZone: component = new KDdTimezoneCompnt(lang, mgr); break;
    case eDicDayLight: component = new KDdDaylightCompnt(lang, mgr); break;
    case eDicLocale: component = new KDdLocaleCompnt(lang, mgr); break;
    default: throw new KErr(KERR_ILLEGAL_ARGUMENT, "KDdDict::SetNewComponent");
  }
  SetComponent(component);
  return component;
}

void KDdDict::InitializeComponents(const char* name, unsigned long* languages) {
  m_strName = name ? name : "";
  for (int kind = 0; kind < BO_DIC_COMPNT_COUNT; ++kind) {
    if (!languages) {
      if (m_pComponents[kind]) m_pComponents[kind]->Release();
      m_pComponents[kind] = nullptr;
      continue;
    }
    KDdComponent* shared = m_pSessionMgr->GetDicCompnt(enumDicCmpnt(kind), languages[kind]);
    SetComponent(shared);
    m_pComponents[kind]->Release();
  }
}

int KDdDict::LoadFromCacheFiles(KZString& report) {
  int all = 1;
  for (int kind = 0; kind < BO_DIC_COMPNT_COUNT; ++kind) {
    if (!m_pComponents[kind]) {
      all = 0;
      continue;
    }
    if (!m_pComponents[kind]->ReadCacheFile(report)) all = 0;
  }
  return all;
}

int KDdDict::SaveToCacheFiles(KZString& report) {
  int all = 1;
  for (KDdComponent* component : m_pComponents)
    if (component && component->IsModified() && !component->WriteCacheFile(report)) all = 0;
  return all;
}

} // namespace KCLASSIC
