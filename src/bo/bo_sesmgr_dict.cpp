// The session manager's own dictionary: the cache of components every
// session's dictionary takes its components from.
#include "bo/bo_dict.h"
#include "bo/bo_sesmgr.h"

namespace KCLASSIC {

long KSessionMgr::Initialize() {
  KUtlCrSync hold(m_csComponent);
  if (!m_pDict) m_pDict = new KDdDict(this);
  return 0;
}

long KSessionMgr::Terminate() {
  KDdDict* dict = nullptr;
  {
    KUtlCrSync hold(m_csSession);
    m_timeList.RemoveAll();
    dict = m_pDict;
    m_pDict = nullptr;
  }
  delete dict;
  return 0;
}

KDdComponent* KSessionMgr::GetDicCompnt(enumDicCmpnt kind, unsigned long language) {
  KUtlCrSync hold(m_csComponent);
  if (!m_pDict) throw new KErr(KERR_ILLEGAL_ARGUMENT, "KSessionMgr::GetDicCompnt");
  KDdComponent* component = m_pDict->GetComponent(kind);
  if (!component || component->GetLanguage() != language)
    component = m_pDict->SetNewComponent(this, kind, language);
  component->AddRef();
  return component;
}

} // namespace KCLASSIC
