#include "bohost_mgr.h"

#include <unistd.h>

#include <cstdio>
#include <memory>

#include "bo/bo_bulkdata.h"
#include "bo/bo_bulkreq.h"
#include "bo/bo_dict.h"
#include "bo/bo_session.h"
#include "bohost_stream.h"

namespace KCLASSIC {

namespace {

// A descriptor closed when it goes out of scope.
class FdHolder {
 public:
  explicit FdHolder(int fd) : m_fd(fd) {}
  ~FdHolder() { ::close(m_fd); }
  FdHolder(const FdHolder&) = delete;
  FdHolder& operator=(const FdHolder&) = delete;
  int get() const { return m_fd; }

 private:
  int m_fd;
};

void write_error(KHostMsg& answer, long number, const char* method, const KStringArray* inserts) {
  answer.WriteLong(number == BOHOST_ANSWER_OK ? KERR_SYSTEM_ERROR : number);
  answer.WriteString(method);
  long count = inserts ? std::min<long>(inserts->GetSize(), BOHOST_ERR_INSERTS) : 0;
  answer.WriteLong(count);
  for (long i = 0; i < count; ++i) answer.WriteString((*inserts)[int(i)]);
}

} // namespace

KHostSessionMgr::KHostSessionMgr(KUtlQboConfig* config, std::string upstream)
    : KSessionMgr(config), m_upstream(std::move(upstream)) {}

KUtlSessionContext* KHostSessionMgr::GetSessionContext(const char* key) {
  KUtlCrSync hold(m_csSession);
  KUtlSessionContext* held = LookupSessionContext(key);
  if (held) return held;
  std::unique_ptr<KUtlSessionContext> session(new KUtlSessionContext(key, 0, 0, 0, "metadata peer"));
  std::vector<unsigned long> languages(BO_DIC_COMPNT_COUNT, static_cast<unsigned long>(GetDefaultLang()));
  session->SetDictionaryInfo(this, languages.data());
  AddToMap(session.get(), nullptr);
  return session.release();
}

void KHostSessionMgr::FetchMetaData(KDdBulkRequest* request) {
  ++m_fetches;
  if (m_upstream.empty()) {
    LogMessage("Fetch", "no upstream server: the request stays unanswered");
    return;
  }
  KHostMsg out;
  request->Write(out);
  FdHolder fd(bohost_stream_connect(m_upstream));
  bohost_stream_send(fd.get(), out);
  KHostMsg answer = bohost_stream_receive(fd.get());
  bohost_load_answer(answer, request->GetDict());
}

void KHostSessionMgr::LogMessage(const char* category, const char* text) {
  std::lock_guard<std::mutex> hold(m_logLock);
  m_log.emplace_back(category ? category : "", text ? text : "");
  if (m_echo) std::fprintf(stderr, "%s: %s\n", m_log.back().first.c_str(), m_log.back().second.c_str());
}

void KHostSessionMgr::OnSessionRemoved(const char* key) { LogMessage("Session", (std::string("removed ") + key).c_str()); }

void KHostSessionMgr::MakeComponents() {
  for (int kind = 0; kind < BO_DIC_COMPNT_COUNT; ++kind)
    GetDicCompnt(enumDicCmpnt(kind), static_cast<unsigned long>(GetDefaultLang()))->Release();
}

std::vector<std::pair<std::string, std::string>> KHostSessionMgr::LogLines() const {
  std::lock_guard<std::mutex> hold(m_logLock);
  return m_log;
}

KHostMsg bohost_answer(KSessionMgr& mgr, KHostMsg& request) {
  KHostMsg answer;
  try {
    KDdBulkRequest asked(nullptr);
    asked.Read(&mgr, request);
    KDdBulkRequestData data;
    asked.GetDict()->GetMetaData(&asked, &data);
    answer.WriteLong(BOHOST_ANSWER_OK);
    data.Write(answer);
  } catch (KErr* e) {
    std::unique_ptr<KErr> error(e);
    answer = KHostMsg();
    write_error(answer, error->GetErrorNum(), error->GetMethodName(), &error->m_params);
  } catch (const std::exception& e) {
    answer = KHostMsg();
    KStringArray what;
    what.Add(e.what());
    write_error(answer, KERR_SYSTEM_ERROR, "bohost_answer", &what);
  }
  return answer;
}

void bohost_load_answer(KHostMsg& answer, KDdDict* dict) {
  long status = 0;
  answer.ReadLong(status);
  if (status != BOHOST_ANSWER_OK) {
    KZString method;
    answer.ReadString(method);
    long count = 0;
    answer.ReadLong(count);
    KZString inserts[BOHOST_ERR_INSERTS];
    for (long i = 0; i < count && i < BOHOST_ERR_INSERTS; ++i) answer.ReadString(inserts[i]);
    auto p = [&](int i) { return i < count ? static_cast<const char*>(inserts[i]) : nullptr; };
    throw new KErr(status, method, p(0), p(1), p(2), p(3), p(4));
  }
  KDdBulkRequestData data;
  data.Read(answer);
  data.LoadDictionary(dict);
}

} // namespace KCLASSIC
