// The server side of a bulk request: completing the dictionary from the
// metadata source, then answering from the components.
#include "bo/bo_dict.h"
#include "bo/bo_sesmgr.h"
#include "bo/bo_util.h"

namespace KCLASSIC {

namespace {

// Keys of the subsystem set: the low 16 bits of the number.
inline constexpr unsigned long BO_SUBSYS_KEY_MASK = 0xFFFF;
inline constexpr int BO_SUBSYS_SET_BLOCK = 10;

} // namespace

long KDdDict::GetMetaData(KDdBulkRequest* request, KDdBulkRequestData* answer) {
  if (!request) throw new KErr(KERR_ILLEGAL_ARGUMENT, "KDdDict::GetMetaData");
  CompleteFrom(request);
  if (answer) AnswerFrom(request, answer);
  return 0;
}

long KDdDict::LoadDictionary(IDdBulkRequest* request) {
  return GetMetaData(dynamic_cast<KDdBulkRequest*>(request), nullptr);
}

void KDdDict::CompleteFrom(KDdBulkRequest* r) {
  KDdChoiceTableCompnt* choices = Need<KDdChoiceTableCompnt>(eDicChoiceTables, "KDdDict::GetMetaData");
  KDdUserChoiceListCompnt* lists = Need<KDdUserChoiceListCompnt>(eDicUserChoiceLists, "KDdDict::GetMetaData");
  KDdStringCompnt* strings = Need<KDdStringCompnt>(eDicStrings, "KDdDict::GetMetaData");
  KDdCurrencyCompnt* currencies = Need<KDdCurrencyCompnt>(eDicCurrency, "KDdDict::GetMetaData");
  long lang = r->GetLanguage();
  KDdBulkRequest f(this);
  f.SetLanguage(lang);
  f.SetLangDefaulting(r->GetLangDefaulting());
  for (long i = 0; i < r->GetNumTableByID(); ++i)
    if (!FindTable(r->GetTableIDAt(i), BO_DD_LOCAL_ONLY)) f.AddTableRequest(r->GetTableIDAt(i));
  for (long i = 0; i < r->GetNumTableByName(); ++i) {
    const KZString& name = r->GetTableNameAt(i);
    if (!FindTable(name, BO_DD_LOCAL_ONLY) && !IsFutureTable(name)) f.AddTableRequest(name);
  }
  for (long i = 0; i < r->GetNumBusObjByID(); ++i)
    if (!FindBusObj(r->GetBusObjIDAt(i), BO_DD_LOCAL_ONLY)) f.AddBusObjRequest(r->GetBusObjIDAt(i));
  for (long i = 0; i < r->GetNumBusObjByName(); ++i)
    if (!FindBusObj(r->GetBusObjNameAt(i), BO_DD_LOCAL_ONLY)) f.AddBusObjRequest(r->GetBusObjNameAt(i));
  for (int i = 0; i < r->m_arrChoiceTableNames.GetSize(); ++i) {
    KZString name(r->m_arrChoiceTableNames[i]);
    if (!choices->FindChoiceTableByLang(nullptr, name, lang, BO_DD_LOCAL_ONLY)) f.AddChoiceTableRequest(name);
  }
  for (int i = 0; i < r->m_arrUserChoiceListNames.GetSize(); ++i) {
    KZString name(r->m_arrUserChoiceListNames[i]);
    if (!lists->FindUserChoiceListByLang(nullptr, name, lang, BO_DD_LOCAL_ONLY)) f.AddUserChoiceListRequest(name);
  }
  for (int i = 0; i < r->m_arrStringIds.GetSize(); ++i) {
    long id = long(int32_t(r->m_arrStringIds[i]));
    if (!strings->FindStringByLang(nullptr, id, lang, BO_DD_LOCAL_ONLY)) f.m_arrStringIds.Add(uint32_t(id));
  }
  for (int i = 0; i < r->m_arrStringKeys.GetSize(); ++i)
    if (!strings->FindStringByLang(nullptr, r->m_arrStringKeys[i], lang, BO_DD_LOCAL_ONLY))
      f.m_arrStringKeys.Add(r->m_arrStringKeys[i]);
  // A missing currency is forwarded whatever the component holds.
  for (int i = 0; i < r->m_arrCurrencyIds.GetSize(); ++i) {
    long id = long(int32_t(r->m_arrCurrencyIds[i]));
    if (!currencies->FindCurrency(nullptr, id, BO_DD_LOCAL_ONLY)) f.m_arrCurrencyIds.Add(uint32_t(id));
  }
  for (int i = 0; i < r->m_arrCurrencyNames.GetSize(); ++i)
    if (!currencies->FindCurrency(nullptr, r->m_arrCurrencyNames[i], BO_DD_LOCAL_ONLY))
      f.AddCurrencyRequest(r->m_arrCurrencyNames[i]);
  if (GetTimezoneCount() == 0)
    for (int i = 0; i < r->m_arrTimezoneNames.GetSize(); ++i)
      if (!FindTimezone(r->m_arrTimezoneNames[i], BO_DD_LOCAL_ONLY)) f.AddTimezoneRequest(r->m_arrTimezoneNames[i]);
  for (int i = 0; i < r->m_arrDaylightKeys.GetSize(); ++i)
    if (!FindDaylight(r->m_arrDaylightKeys[i], BO_DD_LOCAL_ONLY)) f.AddDaylightRequest(r->m_arrDaylightKeys[i]);
  if (GetLocaleCount() == 0)
    for (int i = 0; i < r->m_arrLocaleNames.GetSize(); ++i)
      if (!FindLocale(r->m_arrLocaleNames[i], BO_DD_LOCAL_ONLY)) f.AddLocaleRequest(r->m_arrLocaleNames[i]);
  if (!f.IsEmpty()) m_pSessionMgr->FetchMetaData(&f);
}

void KDdDict::AnswerFrom(KDdBulkRequest* r, KDdBulkRequestData* a) {
  a->m_lStringLang = a->m_lChoiceTableLang = a->m_lUserChoiceListLang = int32_t(r->GetLanguage());
  for (long i = 0; i < r->GetNumTableByID(); ++i) AddResult(a, FindTable(r->GetTableIDAt(i), BO_DD_LOCAL_ONLY));
  for (long i = 0; i < r->GetNumTableByName(); ++i)
    AddResult(a, FindTable(r->GetTableNameAt(i), BO_DD_LOCAL_ONLY));
  for (long i = 0; i < r->GetNumBusObjByID(); ++i)
    AddResult(a, FindBusObj(r->GetBusObjIDAt(i), BO_DD_LOCAL_ONLY));
  for (long i = 0; i < r->GetNumBusObjByName(); ++i)
    AddResult(a, FindBusObj(r->GetBusObjNameAt(i), BO_DD_LOCAL_ONLY));
  AnswerChoices(r, a);
  if (r->m_arrCurrencyIds.GetSize() || r->m_arrCurrencyNames.GetSize())
    for (int i = 0; i < GetCurrencyCount(); ++i) AddResult(a, GetCurrency(i, BO_DD_LOCAL_ONLY));
  if (r->m_arrTimezoneNames.GetSize())
    for (int i = 0; i < GetTimezoneCount(); ++i) AddResult(a, GetTimezone(i, BO_DD_LOCAL_ONLY));
  AnswerDaylights(r, a);
  if (r->m_arrLocaleNames.GetSize())
    for (int i = 0; i < GetLocaleCount(); ++i) AddResult(a, GetLocale(i, BO_DD_LOCAL_ONLY));
  AnswerStrings(r, a);
}

void KDdDict::AnswerChoices(KDdBulkRequest* r, KDdBulkRequestData* a) {
  KDdChoiceTableCompnt* choices = GetChoiceTableCompnt();
  KDdUserChoiceListCompnt* lists = GetUserChoiceListCompnt();
  long lang = r->GetLanguage();
  for (int i = 0; i < r->m_arrChoiceTableNames.GetSize(); ++i) {
    KZString name(r->m_arrChoiceTableNames[i]);
    IDdChoiceTable* t = choices->FindChoiceTableByLang(nullptr, name, lang, BO_DD_LOCAL_ONLY);
    if (!t && r->GetLangDefaulting() != eLangOnly) {
      t = choices->FindChoiceTableByLang(nullptr, name, GetDefaultLang(), BO_DD_LOCAL_ONLY);
      if (t) a->m_lChoiceTableLang = int32_t(GetDefaultLang());
    }
    AddResult(a, t);
  }
  for (int i = 0; i < r->m_arrUserChoiceListNames.GetSize(); ++i) {
    KZString name(r->m_arrUserChoiceListNames[i]);
    IDdChoiceList* l = lists->FindUserChoiceListByLang(nullptr, name, lang, BO_DD_LOCAL_ONLY);
    if (!l && r->GetLangDefaulting() != eLangOnly) {
      l = lists->FindUserChoiceListByLang(nullptr, name, GetDefaultLang(), BO_DD_LOCAL_ONLY);
      if (l) a->m_lUserChoiceListLang = int32_t(GetDefaultLang());
    }
    AddResult(a, l);
  }
}

// A period answers a requested name that is its zone, or its zone followed
// by a year (digits only).
void KDdDict::AnswerDaylights(KDdBulkRequest* r, KDdBulkRequestData* a) {
  if (!r->m_arrDaylightKeys.GetSize()) return;
  for (int d = 0; d < GetDaylightCount(); ++d) {
    IDdDaylight* period = GetDaylight(d, BO_DD_LOCAL_ONLY);
    if (!period) continue;
    const KZString& zone = period->GetTimezone();
    for (int i = 0; i < r->m_arrDaylightKeys.GetSize(); ++i) {
      const KZString& asked = r->m_arrDaylightKeys[i];
      if (asked.GetLength() < zone.GetLength() || KZString(asked.Left(zone.GetLength())).CompareNoCase(zone) != 0)
        continue;
      const char* rest = static_cast<const char*>(asked) + zone.GetLength();
      bool year = true;
      for (const char* c = rest; *c; ++c) year = year && *c >= '0' && *c <= '9';
      if (year) {
        AddResult(a, period);
        break;
      }
    }
  }
}

void KDdDict::AnswerStrings(KDdBulkRequest* r, KDdBulkRequestData* a) {
  if (!r->m_arrStringIds.GetSize() && !r->m_arrStringKeys.GetSize()) return;
  KDdStringCompnt* strings = GetStringCompnt();
  long lang = r->GetLanguage();
  KMapWordToPtr subsystems(BO_SUBSYS_SET_BLOCK);
  for (int i = 0; i < r->m_arrStringIds.GetSize(); ++i)
    subsystems.SetAt(uint16_t(OrbnStrId2SubSys(long(int32_t(r->m_arrStringIds[i]))) & BO_SUBSYS_KEY_MASK), nullptr);
  for (int i = 0; i < r->m_arrStringKeys.GetSize(); ++i) {
    KDdString* s = strings->FindStringByLang(nullptr, r->m_arrStringKeys[i], lang, BO_DD_LOCAL_ONLY);
    if (!s && r->GetLangDefaulting() != eLangOnly && lang != GetDefaultLang())
      s = strings->FindStringByLang(nullptr, r->m_arrStringKeys[i], GetDefaultLang(), BO_DD_LOCAL_ONLY);
    if (!s) continue;
    long crmId = 0;
    long first = 0;
    long end = 0;
    MapDbStrId2OrbnStrId(s->GetId(), crmId, first, end);
    subsystems.SetAt(uint16_t(OrbnStrId2SubSys(crmId) & BO_SUBSYS_KEY_MASK), nullptr);
  }
  strings->LoadStrings(subsystems, a, r->GetLangDefaulting());
}

} // namespace KCLASSIC
