// The dictionary's forwarded operations: each passes its arguments to the
// component of its kind, with the dictionary as the asking one.
#include "bo/bo_dict.h"
#include "bo/bo_sesmgr.h"

namespace KCLASSIC {

KZString* KDdDict::FindString(long language, long id, int flags) {
  return Need<KDdStringCompnt>(eDicStrings, "KDdDict::FindString")->FindString(this, language, id, flags);
}
KZString* KDdDict::FindString(long language, const KZString& key, int flags) {
  return Need<KDdStringCompnt>(eDicStrings, "KDdDict::FindString")->FindString(this, language, key, flags);
}
IDdTable* KDdDict::FindTable(long id, int flags) {
  return Need<KDdDataDictCompnt>(eDicDataDict, "KDdDict::FindTable")->FindTable(this, id, flags);
}
IDdTable* KDdDict::FindTable(const KZString& name, int flags) {
  return Need<KDdDataDictCompnt>(eDicDataDict, "KDdDict::FindTable")->FindTable(this, name, flags);
}
IDdCurrency* KDdDict::FindCurrency(long id, int flags) {
  return Need<KDdCurrencyCompnt>(eDicCurrency, "KDdDict::FindCurrency")->FindCurrency(this, id, flags);
}
IDdCurrency* KDdDict::FindCurrency(const KZString& name, int flags) {
  return Need<KDdCurrencyCompnt>(eDicCurrency, "KDdDict::FindCurrency")->FindCurrency(this, name, flags);
}
IDdTimezone* KDdDict::FindTimezone(const KZString& name, int flags) {
  return Need<KDdTimezoneCompnt>(eDicTimeZone, "KDdDict::FindTimezone")->FindTimezone(this, name, flags);
}
IDdDaylight* KDdDict::FindDaylight(const KZString& zoneName, long year, int flags) {
  return Need<KDdDaylightCompnt>(eDicDayLight, "KDdDict::FindDaylight")->FindDaylight(this, zoneName, year, flags);
}
IDdBusObj* KDdDict::FindBusObj(long id, int flags) {
  return Need<KDdDataDictCompnt>(eDicDataDict, "KDdDict::FindBusObj")->FindBusObj(this, id, flags);
}
IDdBusObj* KDdDict::FindBusObj(const KZString& name, int flags) {
  return Need<KDdDataDictCompnt>(eDicDataDict, "KDdDict::FindBusObj")->FindBusObj(this, name, flags);
}
IDdChoiceTable* KDdDict::FindChoiceTable(long language, KZString& name, int flags) {
  return Need<KDdChoiceTableCompnt>(eDicChoiceTables, "KDdDict::FindChoiceTable")
      ->FindChoiceTable(this, language, name, flags);
}
IDdChoiceList* KDdDict::FindUserChoiceList(long language, KZString& name, int flags) {
  return Need<KDdUserChoiceListCompnt>(eDicUserChoiceLists, "KDdDict::FindUserChoiceList")
      ->FindUserChoiceList(this, language, name, flags);
}
IDdBusObj* KDdDict::GetGenericBusObj(const KZString& name) {
  return Need<KDdDataDictCompnt>(eDicDataDict, "KDdDict::GetGenericBusObj")->GetGenericBusObj(name);
}
int KDdDict::GetTableCount() {
  return Need<KDdDataDictCompnt>(eDicDataDict, "KDdDict::GetTableCount")->GetTableCount();
}
IDdTable* KDdDict::GetTable(int index, int flags) {
  return Need<KDdDataDictCompnt>(eDicDataDict, "KDdDict::GetTable")->GetTable(index, flags);
}
int KDdDict::GetCurrencyCount() {
  return Need<KDdCurrencyCompnt>(eDicCurrency, "KDdDict::GetCurrencyCount")->GetCurrencyCount();
}
int KDdDict::GetLocaleCount() {
  return Need<KDdLocaleCompnt>(eDicLocale, "KDdDict::GetLocaleCount")->GetLocaleCount();
}
IDdCurrency* KDdDict::GetCurrency(int index, int flags) {
  return Need<KDdCurrencyCompnt>(eDicCurrency, "KDdDict::GetCurrency")->GetCurrency(index, flags);
}
int KDdDict::GetTimezoneCount() {
  return Need<KDdTimezoneCompnt>(eDicTimeZone, "KDdDict::GetTimezoneCount")->GetTimezoneCount();
}
IDdTimezone* KDdDict::GetTimezone(int index, int flags) {
  return Need<KDdTimezoneCompnt>(eDicTimeZone, "KDdDict::GetTimezone")->GetTimezone(index, flags);
}
IDdLocale* KDdDict::GetLocale(int index, int flags) {
  return Need<KDdLocaleCompnt>(eDicLocale, "KDdDict::GetLocale")->GetLocale(index, flags);
}
long KDdDict::GetDefaultLang() { return m_pSessionMgr->GetDefaultLang(); }
long KDdDict::GetDBSchemaVer() const { return m_pSessionMgr->m_lIdentNum2; }
KZString KDdDict::GetCustDbVer() const { return KZString(m_pSessionMgr->m_szIdentText1); }
long KDdDict::GetModeType() const { return m_pSessionMgr->m_lModeType; }
int KDdDict::IsOrbnMode() const { return m_pSessionMgr->m_lModeType == BO_MODE_PRODUCT ? 1 : 0; }


IDdTable* KDdDict::CreateTable(const KZString& name, const int id, const KZString& objGroup,
                               const KZString& comment) {
  return Need<KDdDataDictCompnt>(eDicDataDict, "KDdDict::CreateTable")
      ->CreateTable(this, name, comment, id, int(DD_TBL_CREATE_TABLE), objGroup);
}
IDdTable* KDdDict::CreateView(const KZString& name, const int id, const KZString& objGroup,
                              const KZString& comment) {
  return Need<KDdDataDictCompnt>(eDicDataDict, "KDdDict::CreateView")
      ->CreateTable(this, name, comment, id, int(DD_TBL_CREATE_VIEW), objGroup);
}
void KDdDict::DeleteTable(IDdTable* table) {
  Need<KDdDataDictCompnt>(eDicDataDict, "KDdDict::DeleteTable")->DeleteTable(this, table);
}
void KDdDict::DeleteView(IDdTable* view) {
  Need<KDdDataDictCompnt>(eDicDataDict, "KDdDict::DeleteView")->DeleteView(this, view);
}
void KDdDict::CheckTableId(long id) {
  Need<KDdDataDictCompnt>(eDicDataDict, "KDdDict::CheckTableId")->CheckTableId(this, id);
}

void KDdDict::LoadTables() {
  KDdDataDictCompnt* tables = Need<KDdDataDictCompnt>(eDicDataDict, "KDdDict::LoadTables");
  KDdBulkRequest request(this);
  for (long id = 0; id <= BO_LOAD_TABLES_LAST_ID; ++id)
    if (!tables->FindTable(this, id, BO_DD_LOCAL_ONLY)) request.AddTableRequest(id);
  if (!request.IsEmpty()) m_pSessionMgr->FetchMetaData(&request);
}

IDdDaylight* KDdDict::FindDaylight(const KZString& zoneName, int flags) {
  return Need<KDdDaylightCompnt>(eDicDayLight, "KDdDict::FindDaylight")->FindDaylight(this, zoneName, flags);
}
int KDdDict::GetDaylightCount() {
  return Need<KDdDaylightCompnt>(eDicDayLight, "KDdDict::GetDaylightCount")->GetDaylightCount();
}
IDdDaylight* KDdDict::GetDaylight(int index, int flags) {
  return Need<KDdDaylightCompnt>(eDicDayLight, "KDdDict::GetDaylight")->GetDaylight(index, flags);
}
IDdLocale* KDdDict::FindLocale(const KZString& key, int flags) {
  return Need<KDdLocaleCompnt>(eDicLocale, "KDdDict::FindLocale")->FindLocale(this, key, flags);
}
long KDdDict::Locale2OrbnLang(long win32Lcid) {
  return Need<KDdLocaleCompnt>(eDicLocale, "KDdDict::Locale2OrbnLang")->Locale2OrbnLang(win32Lcid);
}

} // namespace KCLASSIC
