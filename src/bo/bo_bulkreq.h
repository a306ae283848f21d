// The bulk metadata request: what a dictionary lacks, as lists of names and
// ids, with the language wanted and the dictionary that asks. A component's
// look-up miss builds a one-item request and hands it to the session
// manager's metadata fetch. The six name lists of choice tables, user
// choice lists, currencies, time zones, daylight periods and locales hold
// no two names equal without regard to case; the other lists keep repeats.
// List order is the order of adding. Used by one thread at a time.
#pragma once

#include <cstdint>

#include "kclassic/kc_array.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

namespace KCLASSIC {

class KDdDict;
class KMsg;
class KSessionMgr;

// Whether the answering side may fall back to its default language.
enum eLangDefaulting : int32_t { eLangOnly = 0, eLangDefault = 1, eLangDefaultAlways = 2 };

class ORB_API IDdBulkRequest {
 public:
  virtual void AddTableRequest(const KZString& name) = 0;
  virtual void AddTableRequest(long id) = 0;
  virtual void AddBusObjRequest(const KZString& name) = 0;
  virtual void AddBusObjRequest(long id) = 0;
  virtual void Empty() = 0;
  virtual long GetNumTableByID() = 0;
  virtual long GetTableIDAt(long index) = 0;
  virtual long GetNumTableByName() = 0;
  virtual const KZString& GetTableNameAt(long index) = 0;
  virtual long GetNumBusObjByID() = 0;
  virtual long GetBusObjIDAt(long index) = 0;
  virtual long GetNumBusObjByName() = 0;
  virtual const KZString& GetBusObjNameAt(long index) = 0;
  virtual ~IDdBulkRequest() = default;
};

class ORB_API KDdBulkRequest : public IDdBulkRequest {
 public:
  explicit KDdBulkRequest(KDdDict* dict);
  KDdBulkRequest(const KDdBulkRequest&) = delete;
  KDdBulkRequest& operator=(const KDdBulkRequest&) = delete;
  ~KDdBulkRequest() override;

  // Appended as given, repeats kept.
  void AddTableRequest(const KZString& name) override;
  void AddTableRequest(long id) override;
  void AddBusObjRequest(const KZString& name) override;
  void AddBusObjRequest(long id) override;
  // Appended unless the list holds the name in any letter case.
  void AddChoiceTableRequest(const KZString& name);
  void AddUserChoiceListRequest(const KZString& name);
  void AddCurrencyRequest(const KZString& name);
  void AddTimezoneRequest(const KZString& name);
  void AddDaylightRequest(const KZString& name);
  void AddLocaleRequest(const KZString& name);

  // Empties all thirteen lists; no dictionary, language 0, defaulting 2.
  void Empty() override;
  // 1 when all thirteen lists are empty, whatever the language,
  // defaulting and dictionary.
  int IsEmpty() const;
  // The requesting dictionary's name, language, defaulting and the
  // thirteen lists (each its count, then its entries), in wire order. The
  // requesting dictionary must be set (0x8B000C9 otherwise).
  void Write(KMsg& msg) const;
  // Reads a request Write wrote, adding to what this one holds; the
  // requesting dictionary becomes that of the session mgr files under the
  // name read. A session the manager cannot give (or one without a
  // dictionary) throws 0x8B000C9 before anything else is read.
  void Read(KSessionMgr* mgr, KMsg& msg);

  // The index must lie in 0 .. count - 1.
  long GetNumTableByID() override { return m_arrTableIds.GetSize(); }
  long GetTableIDAt(long index) override { return long(int32_t(m_arrTableIds[int(index)])); }
  long GetNumTableByName() override { return m_arrTableNames.GetSize(); }
  const KZString& GetTableNameAt(long index) override { return m_arrTableNames[int(index)]; }
  long GetNumBusObjByID() override { return m_arrBusObjIds.GetSize(); }
  long GetBusObjIDAt(long index) override { return long(int32_t(m_arrBusObjIds[int(index)])); }
  long GetNumBusObjByName() override { return m_arrBusObjNames.GetSize(); }
  const KZString& GetBusObjNameAt(long index) override { return m_arrBusObjNames[int(index)]; }

  KDdDict* GetDict() const { return m_pDict; }
  void SetDict(KDdDict* dict) { m_pDict = dict; }
  long GetLanguage() const { return m_lLanguage; }
  void SetLanguage(long language) { m_lLanguage = int32_t(language); }
  eLangDefaulting GetLangDefaulting() const { return m_eLangDefaulting; }
  void SetLangDefaulting(eLangDefaulting value) { m_eLangDefaulting = value; }

  // The lists, in member order. String ids, string keys and currency ids
  // have no add operation: their users append to them directly.
  KStringArray m_arrBusObjNames;
  KDWordArray m_arrBusObjIds;
  KStringArray m_arrTableNames;
  KDWordArray m_arrTableIds;
  KStringArray m_arrChoiceTableNames;
  KStringArray m_arrUserChoiceListNames;
  KDWordArray m_arrStringIds;
  KStringArray m_arrStringKeys;
  KDWordArray m_arrCurrencyIds;
  KStringArray m_arrCurrencyNames;
  KStringArray m_arrTimezoneNames;
  KStringArray m_arrDaylightKeys;
  KStringArray m_arrLocaleNames;

 private:
  int32_t m_lLanguage = 0;
  KDdDict* m_pDict;
  eLangDefaulting m_eLangDefaulting = eLangDefaultAlways;
};

} // namespace KCLASSIC
