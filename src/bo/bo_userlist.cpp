#include "bo/bo_userlist.h"

#include "bo/bo_bulkreq.h"
#include "bo/bo_langmap.h"

namespace KCLASSIC {

namespace {

// Every list is filed under this language, whatever the caller gives.
constexpr unsigned long kListLanguage = 0;

KZString lower_key(const KZString& name) {
  KZString key(name);
  key.MakeLower();
  return key;
}

} // namespace

KDdUserChoiceListCompnt::KDdUserChoiceListCompnt(long language, KSessionMgr* mgr)
    : KDdComponent(eDicUserChoiceLists, (unsigned long)language, mgr) {}

KDdUserChoiceListCompnt::~KDdUserChoiceListCompnt() { KDdUserChoiceListCompnt::DeleteContents(); }

KDdChoiceList* KDdUserChoiceListCompnt::LookupList(const KZString& name) {
  KZString key = lower_key(name);
  KUtlCrSync hold(m_csLock);
  return bo_langmap_find<KDdChoiceList>(m_mapLangs, kListLanguage, key);
}

IDdChoiceList* KDdUserChoiceListCompnt::FindUserChoiceList(KDdDict* dict, long lang, KZString& name, int flags) {
  return FindUserChoiceListByLang(dict, name, lang, flags);
}

IDdChoiceList* KDdUserChoiceListCompnt::FindUserChoiceListByLang(KDdDict* dict, KZString& name, long lang,
                                                                 int flags) {
  KDdChoiceList* found = LookupList(name);
  if (found || (flags & BO_DD_LOCAL_ONLY)) return found;
  FetchMissing(dict, [&name, lang](KDdBulkRequest& r) {
    r.SetLanguage(lang);
    r.AddUserChoiceListRequest(name);
  });
  IDdChoiceList* fetched = FindUserChoiceListByLang(dict, name, 0, BO_DD_LOCAL_ONLY);
  if (!fetched)
    throw new KErr(KERR_DD_CHOICE_TABLE_NOT_FOUND, "KDdUserChoiceListCompnt::FindUserChoiceListByLang", name);
  return fetched;
}

void KDdUserChoiceListCompnt::AddUserChoiceList(KDdChoiceList* list, long lang) {
  if (!list) throw new KErr(KERR_ILLEGAL_ARGUMENT, "KDdUserChoiceListCompnt::AddUserChoiceList", "list");
  list->MarkHeld();
  list->TakeChoices();
  KUtlCrSync hold(m_csLock);
  KZString name(list->GetName());
  if (FindUserChoiceListByLang(nullptr, name, lang, BO_DD_LOCAL_ONLY)) {
    delete list;
    return;
  }
  AddChoiceListeDo(lang, name, list);
  m_bModified = 1;
}

void KDdUserChoiceListCompnt::AddChoiceListeDo(long, KZString name, KDdChoiceList* list) {
  if (!list) throw new KErr(KERR_ILLEGAL_ARGUMENT, "KDdUserChoiceListCompnt::AddChoiceListeDo", "list");
  list->MarkHeld();
  list->TakeChoices();
  KZString key = lower_key(name);
  KUtlCrSync hold(m_csLock);
  ListMap* names = bo_langmap_names<KDdChoiceList>(m_mapLangs, kListLanguage, true);
  KDdChoiceList* displaced = nullptr;
  if (names->Lookup(key, displaced) && displaced && displaced != list) m_arrDisplaced.Add(displaced);
  names->SetAt(key, list);
}

void KDdUserChoiceListCompnt::DeleteContents() {
  KUtlCrSync hold(m_csLock);
  bo_langmap_delete<KDdChoiceList>(m_mapLangs);
  DeleteRecords(m_arrDisplaced);
}

void KDdUserChoiceListCompnt::Serialize(KArchive& ar) {
  bo_langmap_serialize<KDdChoiceList>(ar, m_mapLangs,
                                      [this](KDdChoiceList* list, long lang) { AddUserChoiceList(list, lang); });
}

} // namespace KCLASSIC
