// KDdComponent, the base of a session dictionary's eight components: a
// reference count, a recursive lock around the subclass's containers, the
// language held, the session manager that fetches what is missing, a
// modified flag, and the component's cache file (a header tying it to the
// database, then the subclass's body).
//
// Look-ups take flags: BO_DD_LOCAL_ONLY looks locally only; without it a
// miss builds a one-item bulk request on the asking dictionary, hands it to
// the manager's metadata fetch without holding the lock, and looks once
// more locally. Indexed access serves local records only.
//
// Threads: the lock guards the containers and the reference count; the
// cache-file operations take no lock of their own.
#pragma once

#include <cstdint>
#include <functional>

#include "kclassic/kc_arch.h"
#include "kclassic/kc_array.h"
#include "kclassic/kc_err.h"
#include "kclassic/kc_mapnc.h"
#include "kclassic/kc_obj.h"
#include "kclassic/kc_sect.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

namespace KCLASSIC {

class KDdDict;
class KDdBulkRequest;
class KSessionMgr;

// Kinds of component: the index into a dictionary's slots and into
// g_DicCompntNames.
enum enumDicCmpnt : int32_t {
  eDicDataDict = 0,
  eDicStrings = 1,
  eDicChoiceTables = 2,
  eDicUserChoiceLists = 3,
  eDicCurrency = 4,
  eDicTimeZone = 5,
  eDicDayLight = 6,
  eDicLocale = 7,
};
inline constexpr int BO_DIC_COMPNT_COUNT = 8;
inline constexpr int BO_DIC_COMPNT_NAME_SIZE = 32;
// Byte 0 of a row: BO_DIC_CACHED when the kind has a cache file; then the
// component name (the cache file's name part).
inline constexpr char BO_DIC_CACHED = 'Y';
ORB_API extern const char g_DicCompntNames[BO_DIC_COMPNT_COUNT][BO_DIC_COMPNT_NAME_SIZE];

// Look-up flag: never ask the metadata server.
inline constexpr int BO_DD_LOCAL_ONLY = 1;
// The cache file belongs to another database (or its body says so).
inline constexpr long KERR_DD_VERSION_MISMATCH = 0x8B0019B;
// First word of a cache file.
inline constexpr uint32_t BO_CACHE_MARKER = 57;

class ORB_API KDdComponent : public KObject {
 public:
  KDdComponent(enumDicCmpnt kind, unsigned long language, KSessionMgr* mgr);
  KDdComponent(const KDdComponent&) = delete;
  KDdComponent& operator=(const KDdComponent&) = delete;
  ~KDdComponent() override;

  // Frees every record and empties the containers.
  virtual void DeleteContents() = 0;

  long AddRef();
  // At 0 the component deletes itself and 0 is returned.
  long Release();
  void GetMetaDataFromServer(KDdBulkRequest* request);
  long GetDefaultLang();

  // Writes the header to a storing archive; reads and checks it from a
  // loading one (KERR_DD_VERSION_MISMATCH when it is another database's).
  void SerializeVersion(KArchive& ar);
  // "<cache dir>/<identity text 2>_<component name>.Cache"
  void GetCacheFileName(KZString& name);
  // 1 or 0; the outcome's line is appended to log.
  int WriteCacheFile(KZString& log);
  int ReadCacheFile(KZString& log);

  enumDicCmpnt GetKind() const { return m_eKind; }
  unsigned long GetLanguage() const { return m_ulLanguage; }
  KSessionMgr* GetSessionMgr() const { return m_pSessionMgr; }
  int IsModified() const { return m_bModified; }
  void SetModified(int modified) { m_bModified = modified; }
  long GetRefCount() const { return m_lRefCount; }

 protected:
  // Throws 0x8B000C9 from method unless flags has BO_DD_LOCAL_ONLY.
  static void CheckLocalOnly(int flags, const char* method);
  // The record filed under the lower-cased key, or null.
  template <class REC>
  REC* LookupByKey(const KTypedPtrMap<KUtlMapStrNoCase2Ob, KZString, REC*>& map, const KZString& key) {
    KZString lower(key);
    lower.MakeLower();
    REC* found = nullptr;
    KUtlCrSync hold(m_csLock);
    map.Lookup(lower, found);
    return found;
  }
  // Entry index of records, or null outside the array.
  template <class REC, class ARG>
  REC* RecordAt(const KArray<REC*, ARG>& records, int index) {
    KUtlCrSync hold(m_csLock);
    return index >= 0 && index < records.GetSize() ? records[index] : nullptr;
  }
  template <class REC, class ARG>
  int RecordCount(const KArray<REC*, ARG>& records) {
    KUtlCrSync hold(m_csLock);
    return records.GetSize();
  }
  // Files record under its lower-cased key and at the end of records, and
  // marks the component modified; a record whose key is held is deleted.
  template <class REC, class ARG>
  void FileByKey(KTypedPtrMap<KUtlMapStrNoCase2Ob, KZString, REC*>& map, KArray<REC*, ARG>& records, REC* record,
                 const KZString& key) {
    KUtlCrSync hold(m_csLock);
    if (LookupByKey(map, key)) {
      delete record;
      return;
    }
    KZString lower(key);
    lower.MakeLower();
    map.SetAt(lower, record);
    records.Add(record);
    m_bModified = 1;
  }
  // Hands a request on dict, filled by fill, to the metadata fetch (the
  // lock is not held); the request is gone when this returns.
  void FetchMissing(KDdDict* dict, const std::function<void(KDdBulkRequest&)>& fill);
  // Deletes every record of the array and empties it.
  template <class REC, class ARG>
  static void DeleteRecords(KArray<REC*, ARG>& records) {
    for (int i = 0; i < records.GetSize(); ++i) delete records[i];
    records.RemoveAll();
  }

  KUtlCrSect m_csLock;
  long m_lRefCount = 0;
  unsigned long m_ulLanguage;
  enumDicCmpnt m_eKind;
  KSessionMgr* m_pSessionMgr;
  int32_t m_bModified = 0;

 private:
  int HasCacheFile() const;
  // 0 when the manager's name would leave the cache directory.
  int CacheNameUsable() const;
  void CheckHeaderNumbers(KArchive& ar);
  void CheckHeaderTexts(KArchive& ar);
};

// text in lower case: the key the components file names under.
inline KZString bo_lower(const KZString& text) {
  KZString lower(text);
  lower.MakeLower();
  return lower;
}

// Deletes every value of a map of owned pointers and empties it.
template <class KEY, class VALUE, class MAP>
void bo_delete_values(MAP& map) {
  KPOSITION pos = map.GetStartPosition();
  while (pos) {
    KEY key{};
    VALUE* value = nullptr;
    map.GetNextAssoc(pos, key, value);
    delete value;
  }
  map.RemoveAll();
}

// A new REC that read itself from a loading archive; deleted when its
// Serialize throws.
template <class REC>
REC* bo_compnt_load_one(KArchive& ar) {
  REC* record = new REC();
  try {
    record->Serialize(ar);
  } catch (...) {
    delete record;
    throw;
  }
  return record;
}

// The body of a cache file: a record count then each record, loaded records
// filed through add. A count of 0 or less loads nothing.
template <class REC, class ARG, class ADD>
void bo_compnt_serialize_records(KArchive& ar, KArray<REC*, ARG>& records, ADD add) {
  if (ar.IsStoring()) {
    ar.Put32(uint32_t(records.GetSize()));
    for (int i = 0; i < records.GetSize(); ++i) records[i]->Serialize(ar);
    return;
  }
  int32_t count = int32_t(ar.Get32());
  for (int32_t i = 0; i < count; ++i) add(bo_compnt_load_one<REC>(ar));
}

} // namespace KCLASSIC
