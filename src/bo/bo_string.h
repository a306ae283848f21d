// Localised strings of the data dictionary: the record KDdString, the
// strings of one subsystem in one language (KDdStringCollections), and the
// component KDdStringCompnt (kind eDicStrings), which finds a string by its
// message id or by its textual key in a language, falling back to a
// language of the same primary language or to the default language, and
// fetches what it lacks. Records carry the database string id; the indexes
// are keyed by the message id. Collections own the records; the index maps
// only refer to them.
#pragma once

#include <cstdint>

#include "bo/bo_bulkreq.h"
#include "bo/bo_compnt.h"
#include "bo/bo_msg.h"
#include "kclassic/kc_map.h"

namespace KCLASSIC {

class KDdBulkRequestData;

// Look-up flag (strings only): accept any language of the same primary
// language; never fetches.
inline constexpr int BO_DD_PRIMARY_LANG = 2;
// Low bits of a language number that name its primary language.
inline constexpr unsigned long BO_PRIMARY_LANG_MASK = 0x3FF;
// Buckets of the per-language index maps.
inline constexpr unsigned BO_STRING_HASH_SIZE = 8297;
// A database string id outside every subsystem's range.
inline constexpr long KERR_DD_BAD_STRING_INDEX = 0x8B001A2;

class ORB_API IDdString {
 public:
  virtual long GetId() const = 0;
  virtual KZString* GetString() = 0;
  virtual const KZString& GetStringId() const = 0;

 protected:
  ~IDdString() = default;
};

class ORB_API KDdString : public KObject, public IDdString {
  KDECLARE_DYNCREATE(KDdString)

 public:
  KDdString() = default;
  KDdString(long id, const KZString& text, const KZString& stringId);
  explicit KDdString(KMsg& msg);
  KDdString(const KDdString& other) : KObject() { *this = other; }
  KDdString& operator=(const KDdString& other);
  // Ids and texts equal (case-sensitive); the key is not compared.
  int operator==(const KDdString& other) const;

  void Serialize(KArchive& ar) override;
  void Write(KMsg& msg) const;
  void Read(KMsg& msg);

  long GetId() const override { return m_lId; }
  KZString* GetString() override { return &m_strText; }
  const KZString& GetStringId() const override { return m_strStringId; }

 private:
  int32_t m_lId = 0;
  KZString m_strText;
  KZString m_strStringId;
};

ORB_API KArchive& operator>>(KArchive& ar, KDdString*& string);

// Element n is the record of message index n, or null. Empty positions are
// passed over by copying, comparing and writing: a written count counts
// the records that follow.
class ORB_API KDdStringCollections : public KObject {
  KDECLARE_DYNAMIC(KDdStringCollections)

 public:
  KDdStringCollections() = default;
  explicit KDdStringCollections(long subsystem) : m_lSubsystem(int32_t(subsystem)) {}
  explicit KDdStringCollections(KMsg& msg);
  KDdStringCollections(const KDdStringCollections&) = delete;
  ~KDdStringCollections() override;
  KDdStringCollections& operator=(const KDdStringCollections& other);
  // Same subsystem and count, and the same record (identity) at every position.
  int operator==(const KDdStringCollections& other) const;

  void Serialize(KArchive& ar) override;
  void Write(KMsg& msg) const;
  void Read(KMsg& msg);
  void DeleteContents();

  long GetSubsystem() const { return m_lSubsystem; }
  int GetSize() const { return m_arrStrings.GetSize(); }
  KDdString* GetAt(int index) const;
  // Takes record over at index, growing the array; a record held there is deleted.
  void SetAt(int index, KDdString* record);

 private:
  int CountRecords() const;

  int32_t m_lSubsystem = 0;
  KArray<KDdString*, KDdString*> m_arrStrings;
};

class ORB_API KDdStringCompnt : public KDdComponent {
 public:
  using IdMap = KMap<unsigned long, unsigned long, KDdString*, KDdString*&>;
  using KeyMap = KTypedPtrMap<KUtlMapStrNoCase2Ob, KZString, KDdString*>;
  using CollMap = KMap<unsigned long, unsigned long, KDdStringCollections*, KDdStringCollections*&>;
  template <class INNER>
  using LangMap = KMap<unsigned long, unsigned long, INNER*, INNER*&>;

  KDdStringCompnt(long language, KSessionMgr* mgr);
  ~KDdStringCompnt() override;

  // dict only addresses a fetch; it may be null with BO_DD_LOCAL_ONLY or
  // BO_DD_PRIMARY_LANG.
  KDdString* FindStringByLang(KDdDict* dict, long id, long language, int flags);
  KDdString* FindStringByLang(KDdDict* dict, const KZString& key, long language, int flags);
  // As FindStringByLang, then (id form, without BO_DD_LOCAL_ONLY) the
  // compiled-in texts of the library's own subsystem.
  KDdString* FindStringByLocale(KDdDict* dict, long id, long language, int flags);
  KDdString* FindStringByLocale(KDdDict* dict, const KZString& key, long language, int flags);
  // The text, or null after a "SystemError" log line.
  KZString* FindString(KDdDict* dict, long language, long id, int flags);
  KZString* FindString(KDdDict* dict, long language, const KZString& key, int flags);
  // Takes the record over; null (and the record deleted) when one of that
  // id and language is held already.
  KDdString* AddString(KDdString* record, long language);
  // Adds the collections of the subsystems to the answer, in the answer's
  // string language or, by defaulting, a related or the default language.
  void LoadStrings(KMapWordToPtr& subsystems, KDdBulkRequestData* answer, eLangDefaulting defaulting);

  // The first language of outer whose primary language is language's (its
  // inner map in found), or -1 and null.
  template <class INNER>
  static long LookUpForPrimLangId(LangMap<INNER>& outer, INNER*& found, long language);

  void DeleteContents() override;
  void Serialize(KArchive& ar) override;

 private:
  KDdString* LocalById(long id, long language, int anyPrimary);
  KDdString* LocalByKey(const KZString& lowerKey, long language, int anyPrimary);
  eLangDefaulting DefaultingFor(long id, const KZString* key, long language, long defaultLang);
  KDdString* FindAfterFetch(long id, const KZString* key, long language, long defaultLang);
  KDdString* Fetch(KDdDict* dict, long id, const KZString* key, long language);
  void Enter(KDdString* record, long crmId, long language);
  void LogFailedLoad(KDdString* record);

  LangMap<KeyMap> m_mapByKey{10};
  LangMap<IdMap> m_mapById{10};
  LangMap<CollMap> m_mapColls{10};
};

template <class INNER>
long KDdStringCompnt::LookUpForPrimLangId(LangMap<INNER>& outer, INNER*& found, long language) {
  found = nullptr;
  KPOSITION pos = outer.GetStartPosition();
  while (pos) {
    unsigned long lang = 0;
    INNER* inner = nullptr;
    outer.GetNextAssoc(pos, lang, inner);
    if ((lang & BO_PRIMARY_LANG_MASK) == ((unsigned long)language & BO_PRIMARY_LANG_MASK)) {
      found = inner;
      return long(lang);
    }
  }
  return -1;
}

} // namespace KCLASSIC
