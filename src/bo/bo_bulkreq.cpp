#include "bo/bo_bulkreq.h"

#include "bo/bo_dict.h"
#include "bo/bo_msg.h"
#include "kclassic/kc_err.h"

namespace KCLASSIC {

namespace {

void add_unique_name(KStringArray& list, const KZString& name) {
  for (int i = 0; i < list.GetSize(); ++i)
    if (list[i].CompareNoCase(name) == 0) return;
  list.Add(name);
}

} // namespace

KDdBulkRequest::KDdBulkRequest(KDdDict* dict) : m_pDict(dict) {}

KDdBulkRequest::~KDdBulkRequest() { KDdBulkRequest::Empty(); }

void KDdBulkRequest::AddTableRequest(const KZString& name) { m_arrTableNames.Add(name); }
void KDdBulkRequest::AddTableRequest(long id) { m_arrTableIds.Add(uint32_t(id)); }
void KDdBulkRequest::AddBusObjRequest(const KZString& name) { m_arrBusObjNames.Add(name); }
void KDdBulkRequest::AddBusObjRequest(long id) { m_arrBusObjIds.Add(uint32_t(id)); }

void KDdBulkRequest::AddChoiceTableRequest(const KZString& name) { add_unique_name(m_arrChoiceTableNames, name); }
void KDdBulkRequest::AddUserChoiceListRequest(const KZString& name) {
  add_unique_name(m_arrUserChoiceListNames, name);
}
void KDdBulkRequest::AddCurrencyRequest(const KZString& name) { add_unique_name(m_arrCurrencyNames, name); }
void KDdBulkRequest::AddTimezoneRequest(const KZString& name) { add_unique_name(m_arrTimezoneNames, name); }
void KDdBulkRequest::AddDaylightRequest(const KZString& name) { add_unique_name(m_arrDaylightKeys, name); }
void KDdBulkRequest::AddLocaleRequest(const KZString& name) { add_unique_name(m_arrLocaleNames, name); }

void KDdBulkRequest::Empty() {
  m_arrBusObjNames.RemoveAll();
  m_arrBusObjIds.RemoveAll();
  m_arrTableNames.RemoveAll();
  m_arrTableIds.RemoveAll();
  m_arrChoiceTableNames.RemoveAll();
  m_arrUserChoiceListNames.RemoveAll();
  m_arrStringIds.RemoveAll();
  m_arrStringKeys.RemoveAll();
  m_arrCurrencyIds.RemoveAll();
  m_arrCurrencyNames.RemoveAll();
  m_arrTimezoneNames.RemoveAll();
  m_arrDaylightKeys.RemoveAll();
  m_arrLocaleNames.RemoveAll();
  m_pDict = nullptr;
  m_lLanguage = 0;
  m_eLangDefaulting = eLangDefaultAlways;
}

int KDdBulkRequest::IsEmpty() const {
  return m_arrBusObjNames.GetSize() == 0 && m_arrBusObjIds.GetSize() == 0 && m_arrTableNames.GetSize() == 0 &&
         m_arrTableIds.GetSize() == 0 && m_arrChoiceTableNames.GetSize() == 0 &&
         m_arrUserChoiceListNames.GetSize() == 0 && m_arrStringIds.GetSize() == 0 &&
         m_arrStringKeys.GetSize() == 0 && m_arrCurrencyIds.GetSize() == 0 && m_arrCurrencyNames.GetSize() == 0 &&
         m_arrTimezoneNames.GetSize() == 0 && m_arrDaylightKeys.GetSize() == 0 && m_arrLocaleNames.GetSize() == 0;
}

} // namespace KCLASSIC

namespace KCLASSIC {

namespace {

void write_names(KMsg& msg, const KStringArray& names) {
  msg.WriteLong(names.GetSize());
  for (int i = 0; i < names.GetSize(); ++i) msg.WriteString(names[i]);
}

void write_ids(KMsg& msg, const KDWordArray& ids) {
  msg.WriteLong(ids.GetSize());
  for (int i = 0; i < ids.GetSize(); ++i) msg.WriteLong(long(int32_t(ids[i])));
}

} // namespace

void KDdBulkRequest::Write(KMsg& msg) const {
  if (!m_pDict) throw new KErr(KERR_ILLEGAL_ARGUMENT, "KDdBulkRequest::Write");
  msg.WriteString(m_pDict->GetName());
  msg.WriteLong(m_lLanguage);
  msg.WriteLong(m_eLangDefaulting);
  write_names(msg, m_arrTableNames);
  write_ids(msg, m_arrTableIds);
  write_names(msg, m_arrBusObjNames);
  write_ids(msg, m_arrBusObjIds);
  write_names(msg, m_arrChoiceTableNames);
  write_names(msg, m_arrUserChoiceListNames);
  write_ids(msg, m_arrStringIds);
  write_names(msg, m_arrStringKeys);
  write_ids(msg, m_arrCurrencyIds);
  write_names(msg, m_arrCurrencyNames);
  write_names(msg, m_arrTimezoneNames);
  write_names(msg, m_arrDaylightKeys);
  write_names(msg, m_arrLocaleNames);
}

} // namespace KCLASSIC
