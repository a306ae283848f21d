// The answering side's reading of a bulk request.
#include <type_traits>

#include "bo/bo_bulkreq.h"
#include "bo/bo_msg.h"
#include "bo/bo_session.h"
#include "bo/bo_sesmgr.h"

namespace KCLASSIC {

namespace {

// Reads a count; each entry read is passed to add.
template <class VALUE, class ADD>
void read_list(KMsg& msg, ADD add) {
  long count = 0;
  msg.ReadLong(count);
  for (long i = 0; i < count; ++i) {
    VALUE value{};
    if constexpr (std::is_same_v<VALUE, KZString>)
      msg.ReadString(value);
    else
      msg.ReadLong(value);
    add(value);
  }
}

} // namespace

void KDdBulkRequest::Read(KSessionMgr* mgr, KMsg& msg) {
  KZString key;
  msg.ReadString(key);
  KUtlSessionContext* session = mgr ? mgr->GetSessionContext(key) : nullptr;
  if (!session || !session->GetDictionary())
    throw new KErr(KERR_ILLEGAL_ARGUMENT, "KDdBulkRequest::Read", "SessionKey");
  m_pDict = session->GetDictionary();
  long value = 0;
  msg.ReadLong(value);
  m_lLanguage = int32_t(value);
  msg.ReadLong(value);
  m_eLangDefaulting = eLangDefaulting(int32_t(value));
  read_list<KZString>(msg, [this](const KZString& v) { AddTableRequest(v); });
  read_list<long>(msg, [this](long v) { AddTableRequest(v); });
  read_list<KZString>(msg, [this](const KZString& v) { AddBusObjRequest(v); });
  read_list<long>(msg, [this](long v) { AddBusObjRequest(v); });
  read_list<KZString>(msg, [this](const KZString& v) { AddChoiceTableRequest(v); });
  read_list<KZString>(msg, [this](const KZString& v) { AddUserChoiceListRequest(v); });
  read_list<long>(msg, [this](long v) { m_arrStringIds.Add(static_cast<unsigned long>(uint32_t(v))); });
  read_list<KZString>(msg, [this](const KZString& v) { m_arrStringKeys.Add(v); });
  read_list<long>(msg, [this](long v) { m_arrCurrencyIds.Add(static_cast<unsigned long>(uint32_t(v))); });
  read_list<KZString>(msg, [this](const KZString& v) { AddCurrencyRequest(v); });
  read_list<KZString>(msg, [this](const KZString& v) { AddTimezoneRequest(v); });
  read_list<KZString>(msg, [this](const KZString& v) { AddDaylightRequest(v); });
  read_list<KZString>(msg, [this](const KZString& v) { AddLocaleRequest(v); });
}

} // namespace KCLASSIC
