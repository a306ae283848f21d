// The strings component's whole-subsystem answers, emptying and cache body.
#include "bo/bo_bulkdata.h"
#include "bo/bo_choice_io.h"
#include "bo/bo_string.h"

namespace KCLASSIC {

namespace {

bool missing_or_empty(const KDdStringCompnt::CollMap* colls) { return !colls || colls->IsEmpty(); }

} // namespace

void KDdStringCompnt::LoadStrings(KMapWordToPtr& subsystems, KDdBulkRequestData* answer,
                                  eLangDefaulting defaulting) {
  KUtlCrSync hold(m_csLock);
  CollMap* colls = nullptr;
  m_mapColls.Lookup((unsigned long)answer->m_lStringLang, colls);
  if ((defaulting == eLangDefault || defaulting == eLangDefaultAlways) && missing_or_empty(colls)) {
    long lang = LookUpForPrimLangId(m_mapColls, colls, answer->m_lStringLang);
    if (lang != -1) answer->m_lStringLang = int32_t(lang);
  }
  if (defaulting == eLangDefaultAlways && missing_or_empty(colls)) {
    answer->m_lStringLang = int32_t(GetDefaultLang());
    colls = nullptr;
    m_mapColls.Lookup((unsigned long)answer->m_lStringLang, colls);
  }
  if (!colls) return;
  KPOSITION pos = subsystems.GetStartPosition();
  while (pos) {
    uint16_t subsys = 0;
    void* unused = nullptr;
    subsystems.GetNextAssoc(pos, subsys, unused);
    KDdStringCollections* coll = nullptr;
    if (!colls->Lookup(subsys, coll)) continue;
    for (int i = 0; i < coll->GetSize(); ++i) answer->Refer(coll->GetAt(i));
  }
}

void KDdStringCompnt::DeleteContents() {
  KUtlCrSync hold(m_csLock);
  bo_delete_values<unsigned long, KDdStringCompnt::KeyMap>(m_mapByKey);
  bo_delete_values<unsigned long, KDdStringCompnt::IdMap>(m_mapById);
  KPOSITION pos = m_mapColls.GetStartPosition();
  while (pos) {
    unsigned long lang = 0;
    CollMap* colls = nullptr;
    m_mapColls.GetNextAssoc(pos, lang, colls);
    if (colls) bo_delete_values<unsigned long, KDdStringCollections>(*colls);
    delete colls;
  }
  m_mapColls.RemoveAll();
}

void KDdStringCompnt::Serialize(KArchive& ar) {
  if (ar.IsStoring()) {
    ar.Put32(uint32_t(m_mapById.GetCount()));
    KPOSITION pos = m_mapById.GetStartPosition();
    while (pos) {
      unsigned long lang = 0;
      IdMap* ids = nullptr;
      m_mapById.GetNextAssoc(pos, lang, ids);
      ar.Put32(uint32_t(lang)).Put32(uint32_t(ids ? ids->GetCount() : 0));
      KPOSITION inner = ids ? ids->GetStartPosition() : nullptr;
      while (inner) {
        unsigned long id = 0;
        KDdString* record = nullptr;
        ids->GetNextAssoc(inner, id, record);
        record->Serialize(ar);
      }
    }
    return;
  }
  int32_t languages = bo_choice_count(ar.Get32());
  for (int32_t l = 0; l < languages; ++l) {
    long lang = long(int32_t(ar.Get32()));
    int32_t count = bo_choice_count(ar.Get32());
    for (int32_t i = 0; i < count; ++i) AddString(bo_compnt_load_one<KDdString>(ar), lang);
  }
}

} // namespace KCLASSIC
