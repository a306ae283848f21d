// The strings component: look-ups by message id and by key with language
// fallback and fetch on miss, the compiled-in resource texts, and adding
// records.
#include "bo/bo_sesmgr.h"
#include "bo/bo_string.h"
#include "bo/bo_util.h"

namespace KCLASSIC {

namespace {

template <class INNER>
INNER* inner_map(KDdStringCompnt::LangMap<INNER>& outer, unsigned long language, bool create, unsigned buckets) {
  INNER* inner = nullptr;
  if (outer.Lookup(language, inner) || !create) return inner;
  inner = new INNER(10);
  if (buckets) inner->InitHashTable(buckets);
  outer.SetAt(language, inner);
  return inner;
}

// The inner map of language, or with anyPrimary that of the first
// language of the same primary language.
template <class INNER>
INNER* inner_for(KDdStringCompnt::LangMap<INNER>& outer, long language, int anyPrimary) {
  INNER* inner = nullptr;
  if (anyPrimary)
    KDdStringCompnt::LookUpForPrimLangId(outer, inner, language);
  else
    outer.Lookup((unsigned long)language, inner);
  return inner;
}

} // namespace

KDdStringCompnt::KDdStringCompnt(long language, KSessionMgr* mgr)
    : KDdComponent(eDicStrings, (unsigned long)language, mgr) {}

KDdStringCompnt::~KDdStringCompnt() { KDdStringCompnt::DeleteContents(); }

KDdString* KDdStringCompnt::LocalById(long id, long language, int anyPrimary) {
  KUtlCrSync hold(m_csLock);
  IdMap* inner = inner_for(m_mapById, language, anyPrimary);
  KDdString* found = nullptr;
  if (inner) inner->Lookup((unsigned long)id, found);
  return found;
}

KDdString* KDdStringCompnt::LocalByKey(const KZString& lowerKey, long language, int anyPrimary) {
  KUtlCrSync hold(m_csLock);
  KeyMap* inner = inner_for(m_mapByKey, language, anyPrimary);
  KDdString* found = nullptr;
  if (inner) inner->Lookup(lowerKey, found);
  return found;
}

KDdString* KDdStringCompnt::FindStringByLang(KDdDict* dict, long id, long language, int flags) {
  KDdString* found = LocalById(id, language, flags & BO_DD_PRIMARY_LANG);
  if (found || (flags & (BO_DD_LOCAL_ONLY | BO_DD_PRIMARY_LANG))) return found;
  return Fetch(dict, id, nullptr, language);
}

KDdString* KDdStringCompnt::FindStringByLang(KDdDict* dict, const KZString& key, long language, int flags) {
  KZString lower(key);
  lower.MakeLower();
  KDdString* found = LocalByKey(lower, language, flags & BO_DD_PRIMARY_LANG);
  if (found || (flags & (BO_DD_LOCAL_ONLY | BO_DD_PRIMARY_LANG))) return found;
  return Fetch(dict, 0, &lower, language);
}

// How far the server may fall back, judged from what is held already.
eLangDefaulting KDdStringCompnt::DefaultingFor(long id, const KZString* key, long language, long defaultLang) {
  if (language == defaultLang) return eLangDefaultAlways;
  auto held = [&](long lang, int flags) {
    return key ? FindStringByLang(nullptr, *key, lang, flags) : FindStringByLang(nullptr, id, lang, flags);
  };
  if (held(language, BO_DD_PRIMARY_LANG)) return eLangOnly;
  if (held(defaultLang, BO_DD_LOCAL_ONLY)) return eLangDefault;
  return eLangDefaultAlways;
}

KDdString* KDdStringCompnt::FindAfterFetch(long id, const KZString* key, long language, long defaultLang) {
  auto find = [&](long lang, int flags) {
    return key ? FindStringByLang(nullptr, *key, lang, flags) : FindStringByLang(nullptr, id, lang, flags);
  };
  KDdString* found = find(language, BO_DD_LOCAL_ONLY);
  if (!found && language != defaultLang) found = find(language, BO_DD_PRIMARY_LANG);
  if (!found) found = find(defaultLang, BO_DD_LOCAL_ONLY);
  return found;
}

KDdString* KDdStringCompnt::Fetch(KDdDict* dict, long id, const KZString* key, long language) {
  long defaultLang = GetDefaultLang();
  eLangDefaulting defaulting = DefaultingFor(id, key, language, defaultLang);
  FetchMissing(dict, [&](KDdBulkRequest& r) {
    r.SetLanguage(language);
    r.SetLangDefaulting(defaulting);
    if (key)
      r.m_arrStringKeys.Add(*key);
    else
      r.m_arrStringIds.Add(uint32_t(id));
  });
  return FindAfterFetch(id, key, language, defaultLang);
}

KDdString* KDdStringCompnt::FindStringByLocale(KDdDict* dict, long id, long language, int flags) {
  KDdString* found = FindStringByLang(dict, id, language, flags);
  if (found || (flags & BO_DD_LOCAL_ONLY)) return found;
  try {
    long subsys = 0;
    long number = 0;
    long dbId = MapOrbnStrId2DbStrId(id, subsys, number);
    KZString text;
    if (!UtlLoadString(nullptr, language, id, text)) return nullptr;
    return AddString(new KDdString(dbId, text, KZString()), language);
  } catch (KErr* e) {
    delete e;
    return nullptr;
  }
}

KDdString* KDdStringCompnt::FindStringByLocale(KDdDict* dict, const KZString& key, long language, int flags) {
  return FindStringByLang(dict, key, language, flags);
}

KZString* KDdStringCompnt::FindString(KDdDict* dict, long language, long id, int flags) {
  KDdString* found = FindStringByLocale(dict, id, language, flags);
  if (found) return found->GetString();
  KZString line;
  line.Format("Failed to find string. StringId = %ld, LocaleId=%ld.", id, language);
  m_pSessionMgr->LogMessage("SystemError", line);
  return nullptr;
}

KZString* KDdStringCompnt::FindString(KDdDict* dict, long language, const KZString& key, int flags) {
  KDdString* found = FindStringByLocale(dict, key, language, flags);
  if (found) return found->GetString();
  KZString line;
  line.Format("Failed to find string. StringId = %s, LocaleId=%ld.", static_cast<const char*>(key), language);
  m_pSessionMgr->LogMessage("SystemError", line);
  return nullptr;
}

KDdString* KDdStringCompnt::AddString(KDdString* record, long language) {
  long crmId = 0;
  long first = 0;
  long end = 0;
  MapDbStrId2OrbnStrId(record->GetId(), crmId, first, end);
  // Held across the look-up and the insertion: two threads adding one
  // string never both enter it.
  KUtlCrSync hold(m_csLock);
  if (LocalById(crmId, language, 0)) {
    delete record;
    return nullptr;
  }
  if (crmId == 0 && first == 0 && end == 0) {
    LogFailedLoad(record);
    delete record;
    throw new KErr(KERR_DD_BAD_STRING_INDEX, "KDdStringCompnt::AddString");
  }
  Enter(record, crmId, language);
  m_bModified = 1;
  return record;
}

// Files the record in its collection (which then owns it; the array grows
// to the message index) and the indexes.
void KDdStringCompnt::Enter(KDdString* record, long crmId, long language) {
  bool owned = false;
  try {
    long subsys = 0;
    long index = 0;
    MapOrbnStrId2DbStrId(crmId, subsys, index);
    CollMap* colls = inner_map(m_mapColls, (unsigned long)language, true, 0);
    KDdStringCollections* coll = nullptr;
    if (!colls->Lookup((unsigned long)subsys, coll)) {
      coll = new KDdStringCollections(subsys);
      colls->SetAt((unsigned long)subsys, coll);
    }
    coll->SetAt(int(index), record);
    owned = true;
    inner_map(m_mapById, (unsigned long)language, true, BO_STRING_HASH_SIZE)->SetAt((unsigned long)crmId, record);
    if (!record->GetStringId().IsEmpty()) {
      KZString lower(record->GetStringId());
      lower.MakeLower();
      inner_map(m_mapByKey, (unsigned long)language, true, BO_STRING_HASH_SIZE)->SetAt(lower, record);
    }
  } catch (KErr*) {
    LogFailedLoad(record);
    if (!owned) delete record;
    throw;
  } catch (...) {
    LogFailedLoad(record);
    if (!owned) delete record;
    throw new KErr(KERR_DD_BAD_STRING_INDEX, "KDdStringCompnt::AddString");
  }
}

void KDdStringCompnt::LogFailedLoad(KDdString* record) {
  KZString line;
  line.Format("Failed to load string with ID=%ld, StringID=%s, Value=%s", record->GetId(),
              static_cast<const char*>(record->GetStringId()), static_cast<const char*>(*record->GetString()));
  m_pSessionMgr->LogMessage("zezoz", line);
}

} // namespace KCLASSIC
