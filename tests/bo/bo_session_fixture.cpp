#include "bo_session_fixture.h"

#include "bo/bo_clock.h"
#include "bo/bo_usr.h"
#include "kclassic/kc_bstr.h"

using namespace KCLASSIC;

namespace botest {

SetClock::SetClock(uint32_t t) { bo_clock_set(t); }
SetClock::~SetClock() { bo_clock_use_system(); }
void SetClock::To(uint32_t t) { bo_clock_set(t); }

long CountedBo::Release() {
  ++releases;
  --refs;
  if (m_throws) throw new KErr(KERR_ILLEGAL_ARGUMENT, "CountedBo::Release");
  return refs;
}

void KeepMgr::FetchMetaData(KDdBulkRequest* request) {
  std::vector<std::string> asked;
  for (int i = 0; i < request->GetNumTableByID(); ++i) asked.push_back(std::to_string(request->GetTableIDAt(i)));
  for (const KStringArray* list : {&request->m_arrLocaleNames, &request->m_arrCurrencyNames,
                                   &request->m_arrTimezoneNames, &request->m_arrDaylightKeys})
    for (int i = 0; i < list->GetSize(); ++i) asked.emplace_back(static_cast<const char*>((*list)[i]));
  requests.push_back(asked);
}

std::vector<std::string> KeepMgr::Queue() const {
  std::vector<std::string> keys;
  KPOSITION pos = m_timeList.GetHeadPosition();
  while (pos) keys.emplace_back(static_cast<const char*>(m_timeList.GetNext(pos)->GetSessionKey()));
  return keys;
}

SessionTest::SessionTest() { keep.Initialize(); }

KUtlSessionContext* SessionTest::Session(const char* key, long timeout) {
  auto* session = new KUtlSessionContext(key, 1, 2, 3, "test");
  session->SetTimeout(timeout);
  return session;
}

KUsrContext* SessionTest::User(const char* login) { return new KUsrContext(login, "", 0, 1, "", 0); }

std::string SessionTest::Text(const KUtlSessionContext& session) {
  char* text = session.Serialize();
  std::string out(text);
  KBinSysFreeString(text);
  return out;
}

} // namespace botest
