// KCompleteErr: construction, clearing, the chain and the diagnostic
// counters.
#include "bo/bo_err.h"

#include <initializer_list>

#include "kclassic/kc_bstr.h"

namespace KCLASSIC {

namespace {

long g_DiagCounters[BO_DIAG_COUNTERS] = {};
const char* const g_DiagCounterNames[BO_DIAG_COUNTERS] = {
    "_Unknown", "Sessions", "Forms", "Bos",    "LpmErrors", "UserContext", "SessionContext", "_Unknown",
    "JSessions", "JForms",  "JBos",  "JMisc", "JErrors",   "_Unknown",    "_Unknown",       "_Unknown"};

bool in_chain(const KCompleteErr* chain, const KCompleteErr* e) {
  for (const KCompleteErr* c = chain; c; c = c->GetChained())
    if (c == e) return true;
  return false;
}

} // namespace

KCompleteErr::KCompleteErr() { InitParams(0, nullptr); }

KCompleteErr::KCompleteErr(long code, const char* method, const char* p1, const char* p2, const char* p3,
                           const char* p4, const char* p5) {
  InitParams(code, method, p1, p2, p3, p4, p5);
}

KCompleteErr::KCompleteErr(long code, const char* method, long hresult, const char* p1, const char* p2,
                           const char* p3, const char* p4, const char* p5) {
  InitParams(code, method, p1, p2, p3, p4, p5);
  HResult = hresult;
  UseHresult = 1;
}

KCompleteErr::KCompleteErr(long code, const char* method, KCompleteErr* chained, const char* p1, const char* p2,
                           const char* p3, const char* p4, const char* p5) {
  InitParams(code, method, p1, p2, p3, p4, p5);
  m_pChained = chained;
}

KCompleteErr::KCompleteErr(KErr& e) {
  const char* p[BO_ERR_MAX_PARAMS] = {};
  for (int i = 0; i < BO_ERR_MAX_PARAMS && i < e.GetParamCount(); ++i) p[i] = e.GetParam(i);
  InitParams(e.ErrorNum, e.MethodName, p[0], p[1], p[2], p[3], p[4]);
  HResult = e.HResult;
  UseHresult = e.UseHresult;
  if (e.m_pNext) m_pChained = new KCompleteErr(*e.m_pNext);
}

KCompleteErr::KCompleteErr(KCompleteErr& other) : KErr() {
  InitParams(0, nullptr);
  char* image = other.Serialize();
  Deserialize(image);
  KBinSysFreeString(image);
}

KCompleteErr::~KCompleteErr() { Clear(); }

void KCompleteErr::Clear() {
  // The chain is released one error at a time, however long it is.
  KCompleteErr* next = m_pChained;
  m_pChained = nullptr;
  while (next) {
    KCompleteErr* after = next->m_pChained;
    next->m_pChained = nullptr;
    delete next;
    next = after;
  }
  KErr::Clear();
  HResult = 0;
  UseHresult = 0;
  m_bFatal = 0;
}

void KCompleteErr::Initialize(long code, const char* method, const char* p1, const char* p2, const char* p3,
                              const char* p4, const char* p5) {
  Clear();
  InitParams(code, method, p1, p2, p3, p4, p5);
}

void KCompleteErr::InitParams(long code, const char* method, const char* p1, const char* p2, const char* p3,
                              const char* p4, const char* p5) {
  ErrorNum = code;
  m_pChained = nullptr;
  HResult = 0;
  UseHresult = 0;
  MethodName = method;
  for (const char* p : {p1, p2, p3, p4, p5}) {
    if (!p) break;
    m_params.Add(p);
  }
  m_bFatal = 0;
}

KCompleteErr* KCompleteErr::ChainError(KCompleteErr* e) {
  if (!e || in_chain(this, e) || in_chain(e, this)) return this;
  KCompleteErr* last = this;
  while (last->m_pChained) last = last->m_pChained;
  last->m_pChained = e;
  return this;
}

long* KCompleteErr::GetDiagCounterPtr(long index, const char** name) {
  auto i = static_cast<unsigned long>(index);
  if (i >= static_cast<unsigned long>(BO_DIAG_COUNTERS)) i = 0;
  if (name) *name = g_DiagCounterNames[i];
  return &g_DiagCounters[i];
}

} // namespace KCLASSIC
