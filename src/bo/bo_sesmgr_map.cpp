// The session manager's bookkeeping: sessions and user contexts by key, the
// time list of timed sessions (least recently used first) and expiry.
#include <cstring>
#include <memory>

#include "bo/bo_clock.h"
#include "bo/bo_dict.h"
#include "bo/bo_session.h"
#include "bo/bo_sesmgr.h"
#include "bo/bo_usr.h"

namespace KCLASSIC {

int KSessionMgr::IsTimed(const KUtlSessionContext* session) const {
  return session->GetTimeout() > 0 || m_bTimeAllSessions;
}

uint32_t KSessionMgr::ExpiryLimit(const KUtlSessionContext* session, int force) const {
  if (force && m_bTimeAllSessions) return BO_CLEANUP_INTERVAL;
  return session->GetTimeout() > 0 ? uint32_t(session->GetTimeout()) : 0;
}

void KSessionMgr::AddToMap(KUtlSessionContext* session, KUsrContext* user) {
  KUsrContext* replaced = nullptr;
  {
    KUtlCrSync hold(m_csSession);
    const KZString key = session->GetSessionKey();
    void* held = nullptr;
    if (m_mapSessions.Lookup(key, held)) {
      if (held != session) throw new KErr(KERR_ILLEGAL_ARGUMENT, "KSessionMgr::AddToMap", "SessionKey");
      session->RemoveFromTimeQ(m_timeList);
    } else {
      m_mapSessions[key] = session;
    }
    if (IsTimed(session)) session->AddToTimeQ(m_timeList);
    void* heldUser = nullptr;
    int hasUser = m_mapUsers.Lookup(key, heldUser);
    if (!hasUser || user) {
      if (heldUser != user) replaced = static_cast<KUsrContext*>(heldUser);
      m_mapUsers[key] = user;
    }
  }
  delete replaced;
}

void KSessionMgr::DeleteFromMap(const char* key) {
  const KZString name(key ? key : "");
  KUtlSessionContext* session = nullptr;
  KUsrContext* user = nullptr;
  int found = 0;
  {
    KUtlCrSync hold(m_csSession);
    void* held = nullptr;
    if (m_mapSessions.Lookup(name, held)) {
      found = 1;
      session = static_cast<KUtlSessionContext*>(held);
      m_mapSessions.RemoveKey(name);
      if (session) session->RemoveFromTimeQ(m_timeList);
    }
    held = nullptr;
    if (m_mapUsers.Lookup(name, held)) {
      found = 1;
      user = static_cast<KUsrContext*>(held);
      m_mapUsers.RemoveKey(name);
    }
  }
  delete session;
  delete user;
  if (found) OnSessionRemoved(name);
}

KUtlSessionContext* KSessionMgr::LookupSessionContext(const char* key) {
  CleanupSessionIdsOnTimeout(0);
  KUtlCrSync hold(m_csSession);
  void* held = nullptr;
  if (!key || !m_mapSessions.Lookup(key, held) || !held) return nullptr;
  auto* session = static_cast<KUtlSessionContext*>(held);
  uint32_t limit = ExpiryLimit(session, 0);
  if (limit && bo_clock_distance(session->GetLastAccess(), bo_clock_now()) >= limit) {
    DeleteFromMap(key);
    return nullptr;
  }
  if (IsTimed(session)) {
    session->RemoveFromTimeQ(m_timeList);
    session->AddToTimeQ(m_timeList);
  }
  return session;
}

void KSessionMgr::CleanupSessionIdsOnTimeout(int force) {
  uint32_t now = bo_clock_now();
  if (!force && now - m_tLastCleanup <= BO_CLEANUP_INTERVAL) return;
  KUtlCrSync hold(m_csSession);
  now = bo_clock_now();
  KPOSITION pos = m_timeList.GetHeadPosition();
  while (pos) {
    KUtlSessionContext* session = m_timeList.GetNext(pos);
    uint32_t limit = ExpiryLimit(session, force);
    // A session without a time-out is never dropped and stops nothing.
    if (limit == 0) continue;
    if (bo_clock_distance(session->GetLastAccess(), now) < limit) break;
    // Only this session's node goes: pos stays valid.
    DeleteFromMap(KZString(session->GetSessionKey()));
  }
  m_tLastCleanup = now;
}

KZString KSessionMgr::GetSessionIdFromSessionKey(const char* key) {
  if (!key || !*key) return KZString();
  const uint32_t now = bo_clock_now();
  const char* colon = std::strchr(key, BO_SESSION_SEPARATOR);
  const KZString id = colon ? KZString(key, long(colon - key)) : KZString(key);
  CleanupSessionIdsOnTimeout(1);
  KUtlCrSync hold(m_csSession);
  void* held = nullptr;
  if (m_mapSessions.Lookup(id, held) && held) {
    auto* session = static_cast<KUtlSessionContext*>(held);
    // Expiry by what the manager holds: the key cannot extend the session.
    const uint32_t lastAccess = session->GetLastAccess();
    const long timeout = session->GetTimeout();
    if (timeout != 0 && bo_clock_distance(lastAccess, now) > uint32_t(timeout)) {
      DeleteFromMap(id);
      return id;
    }
    session->DeSerialize(key);
    session->SetLastAccess(lastAccess);
    session->SetTimeout(timeout);
    return id;
  }
  std::unique_ptr<KUtlSessionContext> fresh(new KUtlSessionContext(const_cast<char*>(key)));
  const long timeout = fresh->GetTimeout();
  if (timeout != 0 && bo_clock_distance(fresh->GetLastAccess(), now) >= uint32_t(timeout)) return id;
  fresh->SetDictionaryInfo(this, nullptr);
  AddToMap(fresh.get(), nullptr);
  fresh.release();
  return id;
}

void KSessionMgr::FreeSessions() {
  KDdDict* dict = nullptr;
  {
    KUtlCrSync hold(m_csSession);
    m_timeList.RemoveAll();
    KPOSITION pos = m_mapSessions.GetStartPosition();
    while (pos) {
      KZString key;
      void* held = nullptr;
      m_mapSessions.GetNextAssoc(pos, key, held);
      delete static_cast<KUtlSessionContext*>(held);
    }
    pos = m_mapUsers.GetStartPosition();
    while (pos) {
      KZString key;
      void* held = nullptr;
      m_mapUsers.GetNextAssoc(pos, key, held);
      delete static_cast<KUsrContext*>(held);
    }
    m_mapSessions.RemoveAll();
    m_mapUsers.RemoveAll();
    dict = m_pDict;
    m_pDict = nullptr;
  }
  delete dict;
}

} // namespace KCLASSIC
