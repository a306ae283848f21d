// KDdBulkRequestData, the answer to a bulk request: keyed lists of whole
// dictionary records (tables and business objects by id, choice tables,
// user choice lists, currencies, time zones by lower-cased name, daylight
// periods and locales by lower-cased key, strings by database id) with the
// languages of the strings, choice tables and user choice lists. Each list
// keeps the first record added under a key.
//
// Ownership: a record given to Add (or created by Read) belongs to the
// answer until LoadDictionary hands it to a component; one Add cannot
// store, and any left at destruction, is deleted. Refer adds a record that
// stays its owner's (the answering dictionary's components); LoadDictionary
// hands on only what the answer owns. Append moves the other answer's
// records. Used by one thread at a time.
#pragma once

#include <cstdint>
#include <unordered_set>

#include "bo/bo_busobj.h"
#include "bo/bo_choice.h"
#include "bo/bo_choicetbl.h"
#include "bo/bo_currency.h"
#include "bo/bo_daylight.h"
#include "bo/bo_locale.h"
#include "bo/bo_string.h"
#include "bo/bo_timezone.h"
#include "kclassic/kc_map.h"

namespace KCLASSIC {

class ORB_API KDdBulkRequestData {
 public:
  KDdBulkRequestData() = default;
  KDdBulkRequestData(const KDdBulkRequestData&) = delete;
  KDdBulkRequestData& operator=(const KDdBulkRequestData&) = delete;
  ~KDdBulkRequestData();

  // Null does nothing; the record must be of its record class.
  void Add(IDdBusObj* record) { Store(record, true); }
  void Add(IDdTable* record) { Store(record, true); }
  void Add(IDdChoiceTable* record) { Store(record, true); }
  void Add(IDdChoiceList* record) { Store(record, true); }
  void Add(IDdCurrency* record) { Store(record, true); }
  void Add(IDdTimezone* record) { Store(record, true); }
  void Add(IDdDaylight* record) { Store(record, true); }
  void Add(IDdLocale* record) { Store(record, true); }
  void Add(KDdString* record) { Store(record, true); }
  template <class IFACE>
  void Refer(IFACE* record) {
    Store(record, false);
  }

  // One step of a list's walk: start with the list's GetStartPosition.
  KDdBusObj* GetNextBusObj(KPOSITION& pos) const;
  KDdTable* GetNextTable(KPOSITION& pos) const;
  KDdChoiceTable* GetNextChoiceTable(KPOSITION& pos) const;
  KDdChoiceList* GetNextUserChoiceList(KPOSITION& pos) const;
  KDdCurrency* GetNextCurrency(KPOSITION& pos) const;
  KDdTimezone* GetNextTimezone(KPOSITION& pos) const;
  KDdDaylight* GetNextDaylight(KPOSITION& pos) const;
  KDdLocale* GetNextLocale(KPOSITION& pos) const;

  // Moves every record of other here (other is left empty); languages
  // are not copied.
  void Append(KDdBulkRequestData* other);
  void Write(KMsg& msg) const;
  // Adds what it reads to what the answer holds.
  void Read(KMsg& msg);
  // Hands every owned record to dict's components (business objects to
  // its table component's AddBusObj); the answer is empty afterwards.
  void LoadDictionary(KDdDict* dict);
  // 1 when the answer holds the record (it will delete it).
  int Owns(const void* record) const { return m_owned.count(record) != 0; }

  KMap<unsigned long, unsigned long, KDdBusObj*, KDdBusObj*&> m_mapBusObjs{10};
  KMap<unsigned long, unsigned long, KDdTable*, KDdTable*&> m_mapTables{10};
  KMapStringToPtr m_mapChoiceTables{10};
  KMap<unsigned long, unsigned long, KDdString*, KDdString*&> m_mapStrings{10};
  KMapStringToPtr m_mapUserChoiceLists{10};
  KMapStringToPtr m_mapCurrencies{10};
  KMapStringToPtr m_mapTimezones{10};
  KMapStringToPtr m_mapDaylights{10};
  KMapStringToPtr m_mapLocales{10};
  int32_t m_lStringLang = 0;
  int32_t m_lChoiceTableLang = 0;
  int32_t m_lUserChoiceListLang = 0;

 private:
  void Store(IDdBusObj* record, bool owned);
  void Store(IDdTable* record, bool owned);
  void Store(IDdChoiceTable* record, bool owned);
  void Store(IDdChoiceList* record, bool owned);
  void Store(IDdCurrency* record, bool owned);
  void Store(IDdTimezone* record, bool owned);
  void Store(IDdDaylight* record, bool owned);
  void Store(IDdLocale* record, bool owned);
  void Store(KDdString* record, bool owned);
  // Files record under key unless held; an owned record not filed is deleted.
  template <class REC, class MAP, class KEY>
  void File(MAP& map, const KEY& key, REC* record, bool owned);
  // Forgets every record, deleting the owned ones when deleteOwned is set.
  void Clear(bool deleteOwned);
  // Calls visit(record) for every record, list by list in Append's order.
  template <class VISIT>
  void EachRecord(VISIT visit) const;
  template <class REC>
  void ReadList(KMsg& msg, int32_t* language);

  std::unordered_set<const void*> m_owned;
};

// Adds a component's record to an answer (which refers to it); a null
// answer or record adds nothing.
ORB_API void AddResult(KDdBulkRequestData* answer, IDdTable* item);
ORB_API void AddResult(KDdBulkRequestData* answer, IDdChoiceTable* item);
ORB_API void AddResult(KDdBulkRequestData* answer, IDdChoiceList* item);
ORB_API void AddResult(KDdBulkRequestData* answer, IDdBusObj* item);
ORB_API void AddResult(KDdBulkRequestData* answer, IDdCurrency* item);
ORB_API void AddResult(KDdBulkRequestData* answer, IDdTimezone* item);
ORB_API void AddResult(KDdBulkRequestData* answer, IDdDaylight* item);
ORB_API void AddResult(KDdBulkRequestData* answer, IDdLocale* item);

} // namespace KCLASSIC
