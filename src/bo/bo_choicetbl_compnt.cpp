#include "bo/bo_choicetbl_compnt.h"

#include "bo/bo_bulkreq.h"
#include "bo/bo_langmap.h"

namespace KCLASSIC {

namespace {

// The language whose map the look-up by name searches, whatever the caller
// gives (every adder of this system files its tables there).
constexpr unsigned long kLookupLanguage = 0;

} // namespace

KDdChoiceTableCompnt::KDdChoiceTableCompnt(long language, KSessionMgr* mgr)
    : KDdComponent(eDicChoiceTables, (unsigned long)language, mgr) {}

KDdChoiceTableCompnt::~KDdChoiceTableCompnt() { KDdChoiceTableCompnt::DeleteContents(); }

IDdChoiceTable* KDdChoiceTableCompnt::FindChoiceTable(KDdDict* dict, long lang, KZString& name, int flags) {
  return FindChoiceTableByLang(dict, name, lang, flags);
}

IDdChoiceTable* KDdChoiceTableCompnt::FindChoiceTableByLang(KDdDict* dict, KZString& name, long, int flags) {
  KDdChoiceTable* found = nullptr;
  {
    KZString key(name);
    key.MakeLower();
    KUtlCrSync hold(m_csLock);
    found = bo_langmap_find<KDdChoiceTable>(m_mapLangs, kLookupLanguage, key);
  }
  if (!found) found = FindLocalChoiceTableByDetailName(name, long(kLookupLanguage));
  if (found || (flags & BO_DD_LOCAL_ONLY)) return found;
  FetchMissing(dict, [&name](KDdBulkRequest& r) {
    r.SetLanguage(long(kLookupLanguage));
    r.AddChoiceTableRequest(name);
  });
  IDdChoiceTable* fetched = FindChoiceTableByLang(dict, name, 0, BO_DD_LOCAL_ONLY);
  if (!fetched)
    throw new KErr(KERR_DD_CHOICE_TABLE_NOT_FOUND, "KDdChoiceTableCompnt::FindChoiceTableByLang", name);
  return fetched;
}

KDdChoiceTable* KDdChoiceTableCompnt::FindLocalChoiceTableByDetailName(KZString& detailName, long lang) {
  KUtlCrSync hold(m_csLock);
  TableMap* names = bo_langmap_names<KDdChoiceTable>(m_mapLangs, (unsigned long)lang, false);
  KDdChoiceTable* found = nullptr;
  if (names)
    bo_langmap_each<KDdChoiceTable>(*names, [&](KDdChoiceTable* table) {
      if (!found && table->GetDetailName().CompareNoCase(detailName) == 0) found = table;
    });
  return found;
}

void KDdChoiceTableCompnt::AddChoiceTable(KDdChoiceTable* table, long lang) {
  if (!table) throw new KErr(KERR_ILLEGAL_ARGUMENT, "KDdChoiceTableCompnt::AddChoiceTable", "table");
  KUtlCrSync hold(m_csLock);
  AddChoiceTableDo(lang, table->GetName(), table);
  m_bModified = 1;
}

void KDdChoiceTableCompnt::AddChoiceTableDo(long lang, KZString name, KDdChoiceTable* table) {
  if (!table) throw new KErr(KERR_ILLEGAL_ARGUMENT, "KDdChoiceTableCompnt::AddChoiceTableDo", "table");
  name.MakeLower();
  KUtlCrSync hold(m_csLock);
  TableMap* names = bo_langmap_names<KDdChoiceTable>(m_mapLangs, (unsigned long)lang, true);
  KDdChoiceTable* displaced = nullptr;
  if (names->Lookup(name, displaced) && displaced && displaced != table) m_arrRetired.Add(displaced);
  names->SetAt(name, table);
}

int KDdChoiceTableCompnt::GetRetiredCount() { return RecordCount(m_arrRetired); }

void KDdChoiceTableCompnt::DeleteContents() {
  KUtlCrSync hold(m_csLock);
  bo_langmap_delete<KDdChoiceTable>(m_mapLangs);
  DeleteRecords(m_arrRetired);
}

void KDdChoiceTableCompnt::Serialize(KArchive& ar) {
  bo_langmap_serialize<KDdChoiceTable>(ar, m_mapLangs,
                                       [this](KDdChoiceTable* table, long lang) { AddChoiceTable(table, lang); });
}

} // namespace KCLASSIC
