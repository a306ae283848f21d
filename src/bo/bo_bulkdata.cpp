// The bulk answer: filing records by key, walking, merging, the wire form
// and loading into a dictionary.
#include "bo/bo_bulkdata.h"

#include <type_traits>

#include "bo/bo_choice_io.h"
#include "bo/bo_choicetbl_compnt.h"
#include "bo/bo_dict.h"
#include "bo/bo_userlist.h"

namespace KCLASSIC {

namespace {

template <class REC>
REC* next_of(const KMapStringToPtr& map, KPOSITION& pos) {
  KZString key;
  void* value = nullptr;
  map.GetNextAssoc(pos, key, value);
  return static_cast<REC*>(value);
}

template <class REC, class MAP>
REC* next_by_id(const MAP& map, KPOSITION& pos) {
  unsigned long key = 0;
  REC* value = nullptr;
  map.GetNextAssoc(pos, key, value);
  return value;
}

// Calls visit for every record of a list, through its GetNext walk.
template <class MAP, class NEXT, class VISIT>
void each_record(const MAP& map, NEXT next, VISIT visit) {
  KPOSITION pos = map.GetStartPosition();
  while (pos) visit(next(pos));
}

// A record read from the message, freed when its reading throws.
template <class REC>
REC* read_new(KMsg& msg) {
  REC* record = new REC();
  try {
    record->Read(msg);
  } catch (...) {
    delete record;
    throw;
  }
  return record;
}

int32_t read_count(KMsg& msg) { return bo_choice_count(uint32_t(bo_choice_read_long(msg))); }

} // namespace

KDdBulkRequestData::~KDdBulkRequestData() { Clear(true); }

template <class REC, class MAP, class KEY>
void KDdBulkRequestData::File(MAP& map, const KEY& key, REC* record, bool owned) {
  typename std::conditional<std::is_same<MAP, KMapStringToPtr>::value, void*, REC*>::type held = nullptr;
  if (map.Lookup(key, held)) {
    if (owned && held != record) delete record;
    return;
  }
  map.SetAt(key, record);
  if (owned) m_owned.insert(record);
}

void KDdBulkRequestData::Store(IDdBusObj* record, bool owned) {
  auto* rec = dynamic_cast<KDdBusObj*>(record);
  if (rec) File(m_mapBusObjs, (unsigned long)rec->GetId(), rec, owned);
}

void KDdBulkRequestData::Store(IDdTable* record, bool owned) {
  KDdTable* rec = dd_table_of(record);
  if (rec) File(m_mapTables, (unsigned long)rec->GetId(), rec, owned);
}

void KDdBulkRequestData::Store(IDdChoiceTable* record, bool owned) {
  auto* rec = dynamic_cast<KDdChoiceTable*>(record);
  if (rec) File(m_mapChoiceTables, bo_lower(rec->GetName()), rec, owned);
}

void KDdBulkRequestData::Store(IDdChoiceList* record, bool owned) {
  auto* rec = dynamic_cast<KDdChoiceList*>(record);
  if (rec) File(m_mapUserChoiceLists, bo_lower(rec->GetName()), rec, owned);
}

void KDdBulkRequestData::Store(IDdCurrency* record, bool owned) {
  auto* rec = dynamic_cast<KDdCurrency*>(record);
  if (rec) File(m_mapCurrencies, bo_lower(rec->GetName()), rec, owned);
}

void KDdBulkRequestData::Store(IDdTimezone* record, bool owned) {
  auto* rec = dynamic_cast<KDdTimezone*>(record);
  if (rec) File(m_mapTimezones, bo_lower(rec->GetName()), rec, owned);
}

void KDdBulkRequestData::Store(IDdDaylight* record, bool owned) {
  auto* rec = dynamic_cast<KDdDaylight*>(record);
  KZString key;
  if (rec) File(m_mapDaylights, bo_lower(rec->GetKey(key)), rec, owned);
}

void KDdBulkRequestData::Store(IDdLocale* record, bool owned) {
  auto* rec = dynamic_cast<KDdLocale*>(record);
  KZString key;
  if (rec) File(m_mapLocales, bo_lower(rec->GetKey(key)), rec, owned);
}

void KDdBulkRequestData::Store(KDdString* record, bool owned) {
  if (record) File(m_mapStrings, (unsigned long)record->GetId(), record, owned);
}

KDdBusObj* KDdBulkRequestData::GetNextBusObj(KPOSITION& pos) const {
  return next_by_id<KDdBusObj>(m_mapBusObjs, pos);
}
KDdTable* KDdBulkRequestData::GetNextTable(KPOSITION& pos) const { return next_by_id<KDdTable>(m_mapTables, pos); }
KDdChoiceTable* KDdBulkRequestData::GetNextChoiceTable(KPOSITION& pos) const {
  return next_of<KDdChoiceTable>(m_mapChoiceTables, pos);
}
KDdChoiceList* KDdBulkRequestData::GetNextUserChoiceList(KPOSITION& pos) const {
  return next_of<KDdChoiceList>(m_mapUserChoiceLists, pos);
}
KDdCurrency* KDdBulkRequestData::GetNextCurrency(KPOSITION& pos) const {
  return next_of<KDdCurrency>(m_mapCurrencies, pos);
}
KDdTimezone* KDdBulkRequestData::GetNextTimezone(KPOSITION& pos) const {
  return next_of<KDdTimezone>(m_mapTimezones, pos);
}
KDdDaylight* KDdBulkRequestData::GetNextDaylight(KPOSITION& pos) const {
  return next_of<KDdDaylight>(m_mapDaylights, pos);
}
KDdLocale* KDdBulkRequestData::GetNextLocale(KPOSITION& pos) const { return next_of<KDdLocale>(m_mapLocales, pos); }

template <class VISIT>
void KDdBulkRequestData::EachRecord(VISIT visit) const {
  each_record(m_mapTables, [this](KPOSITION& p) { return GetNextTable(p); }, visit);
  each_record(m_mapBusObjs, [this](KPOSITION& p) { return GetNextBusObj(p); }, visit);
  each_record(m_mapChoiceTables, [this](KPOSITION& p) { return GetNextChoiceTable(p); }, visit);
  each_record(m_mapUserChoiceLists, [this](KPOSITION& p) { return GetNextUserChoiceList(p); }, visit);
  each_record(m_mapCurrencies, [this](KPOSITION& p) { return GetNextCurrency(p); }, visit);
  each_record(m_mapTimezones, [this](KPOSITION& p) { return GetNextTimezone(p); }, visit);
  each_record(m_mapDaylights, [this](KPOSITION& p) { return GetNextDaylight(p); }, visit);
  each_record(m_mapLocales, [this](KPOSITION& p) { return GetNextLocale(p); }, visit);
  each_record(m_mapStrings, [this](KPOSITION& p) { return next_by_id<KDdString>(m_mapStrings, p); }, visit);
}

void KDdBulkRequestData::Clear(bool deleteOwned) {
  if (deleteOwned) EachRecord([this](auto* record) {
      if (Owns(record)) delete record;
    });
  m_mapBusObjs.RemoveAll();
  m_mapTables.RemoveAll();
  m_mapChoiceTables.RemoveAll();
  m_mapStrings.RemoveAll();
  m_mapUserChoiceLists.RemoveAll();
  m_mapCurrencies.RemoveAll();
  m_mapTimezones.RemoveAll();
  m_mapDaylights.RemoveAll();
  m_mapLocales.RemoveAll();
  m_owned.clear();
}

void KDdBulkRequestData::Append(KDdBulkRequestData* other) {
  if (!other || other == this) return;
  other->EachRecord([this, other](auto* record) { Store(record, other->Owns(record) != 0); });
  other->Clear(false);
}

namespace {

template <class REC, class MAP>
void write_list(KMsg& msg, const MAP& map, const KDdBulkRequestData& answer,
                REC* (KDdBulkRequestData::*next)(KPOSITION&) const, const int32_t* language) {
  msg.WriteLong(map.GetCount());
  if (language) msg.WriteLong(*language);
  each_record(map, [&](KPOSITION& p) { return (answer.*next)(p); }, [&msg](REC* record) { record->Write(msg); });
}

} // namespace

void KDdBulkRequestData::Write(KMsg& msg) const {
  write_list(msg, m_mapTables, *this, &KDdBulkRequestData::GetNextTable, nullptr);
  write_list(msg, m_mapBusObjs, *this, &KDdBulkRequestData::GetNextBusObj, nullptr);
  write_list(msg, m_mapChoiceTables, *this, &KDdBulkRequestData::GetNextChoiceTable, &m_lChoiceTableLang);
  write_list(msg, m_mapUserChoiceLists, *this, &KDdBulkRequestData::GetNextUserChoiceList, &m_lUserChoiceListLang);
  msg.WriteLong(m_mapStrings.GetCount());
  msg.WriteLong(m_lStringLang);
  each_record(m_mapStrings, [this](KPOSITION& p) { return next_by_id<KDdString>(m_mapStrings, p); },
              [&msg](KDdString* record) { record->Write(msg); });
  write_list(msg, m_mapCurrencies, *this, &KDdBulkRequestData::GetNextCurrency, nullptr);
  write_list(msg, m_mapTimezones, *this, &KDdBulkRequestData::GetNextTimezone, nullptr);
  write_list(msg, m_mapDaylights, *this, &KDdBulkRequestData::GetNextDaylight, nullptr);
  write_list(msg, m_mapLocales, *this, &KDdBulkRequestData::GetNextLocale, nullptr);
}

template <class REC>
void KDdBulkRequestData::ReadList(KMsg& msg, int32_t* language) {
  int32_t count = read_count(msg);
  if (language) *language = bo_choice_read_long(msg);
  for (int32_t i = 0; i < count; ++i) Store(read_new<REC>(msg), true);
}

void KDdBulkRequestData::Read(KMsg& msg) {
  ReadList<KDdTable>(msg, nullptr);
  ReadList<KDdBusObj>(msg, nullptr);
  ReadList<KDdChoiceTable>(msg, &m_lChoiceTableLang);
  ReadList<KDdChoiceList>(msg, &m_lUserChoiceListLang);
  ReadList<KDdString>(msg, &m_lStringLang);
  ReadList<KDdCurrency>(msg, nullptr);
  ReadList<KDdTimezone>(msg, nullptr);
  ReadList<KDdDaylight>(msg, nullptr);
  ReadList<KDdLocale>(msg, nullptr);
}

void KDdBulkRequestData::LoadDictionary(KDdDict* dict) {
  KDdDataDictCompnt* tables = dict->GetDataDictCompnt();
  KDdChoiceTableCompnt* choiceTables = dict->GetChoiceTableCompnt();
  KDdUserChoiceListCompnt* userLists = dict->GetUserChoiceListCompnt();
  KDdStringCompnt* strings = dict->GetStringCompnt();
  KDdCurrencyCompnt* currencies = dict->GetCurrencyCompnt();
  KDdTimezoneCompnt* zones = dict->GetTimezoneCompnt();
  KDdDaylightCompnt* daylights = dict->GetDaylightCompnt();
  KDdLocaleCompnt* locales = dict->GetLocaleCompnt();
  // Each record leaves the answer's ownership before its component takes it.
  auto handOn = [this](auto* record, auto* compnt, auto add) {
    if (!Owns(record)) return;
    m_owned.erase(record);
    if (!compnt) throw new KErr(KERR_ILLEGAL_ARGUMENT, "KDdBulkRequestData::LoadDictionary");
    add(compnt, record);
  };
  int32_t stringLang = m_lStringLang;
  try {
    EachRecord([&](auto* record) {
      using REC = std::remove_pointer_t<decltype(record)>;
      if constexpr (std::is_same_v<REC, KDdTable>)
        handOn(record, tables, [](auto* c, KDdTable* r) { c->AddTable(r); });
      else if constexpr (std::is_same_v<REC, KDdBusObj>)
        handOn(record, tables, [](auto* c, KDdBusObj* r) { c->AddBusObj(r); });
      else if constexpr (std::is_same_v<REC, KDdChoiceTable>)
        handOn(record, choiceTables, [](auto* c, KDdChoiceTable* r) { c->AddChoiceTable(r, 0); });
      else if constexpr (std::is_same_v<REC, KDdChoiceList>)
        handOn(record, userLists, [](auto* c, KDdChoiceList* r) { c->AddUserChoiceList(r, 0); });
      else if constexpr (std::is_same_v<REC, KDdString>)
        handOn(record, strings, [stringLang](auto* c, KDdString* r) { c->AddString(r, stringLang); });
      else if constexpr (std::is_same_v<REC, KDdCurrency>)
        handOn(record, currencies, [](auto* c, KDdCurrency* r) { c->AddCurrency(r); });
      else if constexpr (std::is_same_v<REC, KDdTimezone>)
        handOn(record, zones, [](auto* c, KDdTimezone* r) { c->AddTimezone(r); });
      else if constexpr (std::is_same_v<REC, KDdDaylight>)
        handOn(record, daylights, [](auto* c, KDdDaylight* r) { c->AddDaylight(r); });
      else
        handOn(record, locales, [](auto* c, KDdLocale* r) { c->AddLocale(r); });
    });
  } catch (...) {
    Clear(true);
    throw;
  }
  Clear(true);
}

void AddResult(KDdBulkRequestData* answer, IDdTable* item) {
  if (answer) answer->Refer(item);
}
void AddResult(KDdBulkRequestData* answer, IDdChoiceTable* item) {
  if (answer) answer->Refer(item);
}
void AddResult(KDdBulkRequestData* answer, IDdChoiceList* item) {
  if (answer) answer->Refer(item);
}
void AddResult(KDdBulkRequestData* answer, IDdBusObj* item) {
  if (answer) answer->Refer(item);
}
void AddResult(KDdBulkRequestData* answer, IDdCurrency* item) {
  if (answer) answer->Refer(item);
}
void AddResult(KDdBulkRequestData* answer, IDdTimezone* item) {
  if (answer) answer->Refer(item);
}
void AddResult(KDdBulkRequestData* answer, IDdDaylight* item) {
  if (answer) answer->Refer(item);
}
void AddResult(KDdBulkRequestData* answer, IDdLocale* item) {
  if (answer) answer->Refer(item);
}

} // namespace KCLASSIC
