#include "bo/bo_compnt.h"

#include "bo/bo_bulkreq.h"
#include "bo/bo_sesmgr.h"
#include "kclassic/kc_sys.h"

namespace KCLASSIC {

const char g_DicCompntNames[BO_DIC_COMPNT_COUNT][BO_DIC_COMPNT_NAME_SIZE] = {
    "YDataDict", "YStrings", "YChoiceTables", "NUserChoiceLists", "YCurrency", "YTimeZone", "YDayLight", "YLocale",
};

KDdComponent::KDdComponent(enumDicCmpnt kind, unsigned long language, KSessionMgr* mgr)
    : m_ulLanguage(language), m_eKind(kind), m_pSessionMgr(mgr) {}

KDdComponent::~KDdComponent() = default;

long KDdComponent::AddRef() {
  KUtlCrSync hold(m_csLock);
  return KInterlockedIncrement(&m_lRefCount, &m_csLock);
}

long KDdComponent::Release() {
  long count;
  {
    KUtlCrSync hold(m_csLock);
    count = KInterlockedDecrement(&m_lRefCount, &m_csLock);
  }
  if (count == 0) delete this;
  return count;
}

void KDdComponent::GetMetaDataFromServer(KDdBulkRequest* request) { m_pSessionMgr->FetchMetaData(request); }

void KDdComponent::FetchMissing(KDdDict* dict, const std::function<void(KDdBulkRequest&)>& fill) {
  KDdBulkRequest request(dict);
  fill(request);
  GetMetaDataFromServer(&request);
}

long KDdComponent::GetDefaultLang() { return m_pSessionMgr->GetDefaultLang(); }

void KDdComponent::CheckLocalOnly(int flags, const char* method) {
  if (!(flags & BO_DD_LOCAL_ONLY)) throw new KErr(KERR_ILLEGAL_ARGUMENT, method);
}

int KDdComponent::HasCacheFile() const {
  return m_eKind >= 0 && m_eKind < BO_DIC_COMPNT_COUNT && g_DicCompntNames[m_eKind][0] == BO_DIC_CACHED;
}

} // namespace KCLASSIC
