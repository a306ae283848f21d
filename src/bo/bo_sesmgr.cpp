#include "bo/bo_sesmgr.h"

#include <mutex>

#include "bo/bo_clock.h"
#include "bo/bo_var.h"

namespace KCLASSIC {

KIMPLEMENT_DYNAMIC(KSessionMgr, KObject)

namespace {

// The process-wide empty variant lives while any manager lives.
std::mutex g_emptyVariantLock;
int g_liveManagers = 0;

} // namespace

KSessionMgr::KSessionMgr(KUtlQboConfig* config) : m_pConfig(config) {
  m_tLastCleanup = bo_clock_now();
  std::lock_guard<std::mutex> hold(g_emptyVariantLock);
  if (!KVariant::m_pEmpty) KVariant::m_pEmpty = new KVariant();
  ++g_liveManagers;
}

KSessionMgr::~KSessionMgr() {
  FreeSessions();
  std::lock_guard<std::mutex> hold(g_emptyVariantLock);
  if (--g_liveManagers > 0) return;
  delete KVariant::m_pEmpty;
  KVariant::m_pEmpty = nullptr;
}

long KSessionMgr::GetDefaultLang() const { return m_pConfig ? m_pConfig->m_lDefaultLang : 0; }

} // namespace KCLASSIC
