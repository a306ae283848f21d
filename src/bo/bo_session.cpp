// Session contexts: construction, destruction, the dictionary, sequence
// numbers, kept business objects and the time queue.
#include "bo/bo_session.h"

#include <cstring>

#include "bo/bo_clock.h"
#include "bo/bo_dict.h"
#include "bo/bo_err.h"
#include "kclassic/kc_sys.h"

namespace KCLASSIC {

KIMPLEMENT_DYNAMIC(KUtlSessionContext, KObject)

namespace {

// Refuses a key or text field holding the text form's separator.
void check_field(const char* text, const char* method, const char* what) {
  if (text && std::strchr(text, BO_SESSION_SEPARATOR)) throw new KErr(KERR_ILLEGAL_ARGUMENT, method, what);
}

long* session_counter() { return KCompleteErr::GetDiagCounterPtr(BO_DIAG_SESSION_CONTEXT, nullptr); }

} // namespace

KUtlSessionContext::KUtlSessionContext(const char* key, long id1, long id2, long id3, const char* description) {
  check_field(key, "KUtlSessionContext::KUtlSessionContext", "SessionKey");
  m_strSessionKey = key ? key : "";
  m_lIdentNum1 = int32_t(id1);
  m_lIdentNum2 = int32_t(id2);
  m_lIdentNum3 = int32_t(id3);
  m_strDescription = description ? description : "";
  m_stopwatch.Clear();
  m_stopwatch.Start(1);
  KInterlockedIncrement(session_counter());
  Initialize();
  m_tLastAccess = bo_clock_now();
  m_tCreation = m_tLastAccess;
}

KUtlSessionContext::KUtlSessionContext(char* text) {
  m_stopwatch.Clear();
  m_stopwatch.Start(1);
  KInterlockedIncrement(session_counter());
  Initialize();
  try {
    DeSerialize(text);
  } catch (...) {
    // The destructor does not run for a constructor that throws.
    KInterlockedDecrement(session_counter());
    throw;
  }
}

KUtlSessionContext::~KUtlSessionContext() {
  ReleaseStored();
  if (m_pHandle) {
    m_pHandle->Release();
    m_pHandle = nullptr;
  }
  delete m_pDict;
  m_pDict = nullptr;
  m_mapBoContexts.RemoveAll();
  KInterlockedDecrement(session_counter());
}

void KUtlSessionContext::ReleaseStored() {
  KPOSITION pos = m_mapBoContexts.GetStartPosition();
  while (pos) {
    KZString id;
    void* stored = nullptr;
    m_mapBoContexts.GetNextAssoc(pos, id, stored);
    try {
      if (stored) static_cast<IBoBaseBo*>(stored)->Release();
    } catch (KErr* e) {
      delete e;
    } catch (...) {
      // A business object's failure on release does not stop the others.
    }
  }
}

void KUtlSessionContext::Initialize() {
  m_ulSeqNum = BO_SESSION_FIRST_SEQ;
  m_lReservedFlag = 0;
  m_lContextCounter = BO_SESSION_FIRST_CONTEXT;
  m_posTimeQ = nullptr;
  // The session owns its dictionary: a held one is freed, never dropped.
  delete m_pDict;
  m_pDict = nullptr;
  for (auto& language : m_ulLanguages) language = 0;
  m_lReservedNum = 0;
  m_lTimeout = 0;
}

void KUtlSessionContext::SetDictionaryInfo(KSessionMgr* mgr, unsigned long* languages) {
  if (languages)
    for (int kind = 0; kind < BO_DIC_COMPNT_COUNT; ++kind) m_ulLanguages[kind] = uint32_t(languages[kind]);
  if (!m_pDict) m_pDict = new KDdDict(mgr);
  unsigned long held[BO_DIC_COMPNT_COUNT];
  for (int kind = 0; kind < BO_DIC_COMPNT_COUNT; ++kind) held[kind] = m_ulLanguages[kind];
  m_pDict->InitializeComponents(m_strSessionKey, held);
}

unsigned long KUtlSessionContext::GetNextSeqNum() {
  KUtlCrSync hold(m_csLock);
  if (++m_ulSeqNum == 0) ++m_ulSeqNum;
  return m_ulSeqNum;
}

void KUtlSessionContext::SetSeqNum(unsigned long n, int onlyIfHigher) {
  KUtlCrSync hold(m_csLock);
  if (onlyIfHigher && uint32_t(n) <= m_ulSeqNum) return;
  m_ulSeqNum = uint32_t(n);
}

KZString KUtlSessionContext::SaveBoContext(IBoBaseBo* bo, const char* className) {
  long counter = 0;
  {
    KUtlCrSync hold(m_csLock);
    counter = ++m_lContextCounter;
  }
  KZString id;
  id.Format("%s:%lx:%lx", className ? className : "", KGetTickCount(), static_cast<unsigned long>(counter));
  m_mapBoContexts[id] = bo;
  return id;
}

IBoBaseBo* KUtlSessionContext::RetrieveBoContext(const char* contextId, const char* className) {
  KZString prefix(className ? className : "");
  prefix += BO_SESSION_SEPARATOR;
  if (!contextId || std::strncmp(contextId, prefix, size_t(prefix.GetLength())) != 0)
    throw new KErr(KERR_ILLEGAL_ARGUMENT, "KBosSession::RetrieveBoContext", "ClassName");
  void* stored = nullptr;
  if (!m_mapBoContexts.Lookup(contextId, stored))
    throw new KErr(KERR_ILLEGAL_ARGUMENT, "KBosSession::RemoveBoContext", "Context IdString");
  m_mapBoContexts.RemoveKey(contextId);
  return static_cast<IBoBaseBo*>(stored);
}

void KUtlSessionContext::AddToTimeQ(KList<KUtlSessionContext*, KUtlSessionContext*>& queue) {
  m_tLastAccess = bo_clock_now();
  m_posTimeQ = queue.AddTail(this);
}

void KUtlSessionContext::RemoveFromTimeQ(KList<KUtlSessionContext*, KUtlSessionContext*>& queue) {
  if (m_posTimeQ) queue.RemoveAt(m_posTimeQ);
  m_posTimeQ = nullptr;
}

void KUtlSessionContext::SetTextX(const char* text) {
  check_field(text, "KUtlSessionContext::SetTextX", "Text");
  m_strTextX = text ? text : "";
}

void KUtlSessionContext::SetTextY(const char* text) {
  check_field(text, "KUtlSessionContext::SetTextY", "Text");
  m_strTextY = text ? text : "";
}

void KUtlSessionContext::SetTextZ(const char* text) {
  check_field(text, "KUtlSessionContext::SetTextZ", "Text");
  m_strTextZ = text ? text : "";
}

void KUtlSessionContext::SetHandle(IUtlSessionHandle* handle) {
  if (m_pHandle && m_pHandle != handle) m_pHandle->Release();
  m_pHandle = handle;
}

} // namespace KCLASSIC
