// The session manager's own dictionary: the cache of components every
// session's dictionary takes its components from.
#include "bo/bo_bulkreq.h"
#include "bo/bo_dict.h"
#include "bo/bo_sesmgr.h"

namespace KCLASSIC {

long KSessionMgr::Initialize() {
  KUtlCrSync hold(m_csComponent);
  if (!m_pDict) m_pDict = new KDdDict(this);
  return 0;
}

long KSessionMgr::Terminate() {
  FreeSessions();
  return 0;
}

void KSessionMgr::PrefetchMetadata(KDdDict* dict) {
  KDdBulkRequest request(dict);
  if (dict->GetTableCount() == 0) request.m_arrTableIds.Add(0UL);
  if (dict->GetLocaleCount() == 0) request.AddLocaleRequest("us-en");
  if (dict->GetCurrencyCount() == 0) request.AddCurrencyRequest("USD");
  if (dict->GetTimezoneCount() == 0) {
    request.AddTimezoneRequest("PST");
    request.AddDaylightRequest("PST");
  }
  if (!request.IsEmpty()) FetchMetaData(&request);
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
