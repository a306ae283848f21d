// The table component: filing, finding with fetch on miss, business-object
// descriptors, the cache body and re-keying.
#include "bo/bo_ddcompnt.h"

#include "bo/bo_bulkreq.h"
#include "bo/bo_choice_io.h"

namespace KCLASSIC {

KDdDataDictCompnt::KDdDataDictCompnt(long language, KSessionMgr* mgr)
    : KDdComponent(eDicDataDict, (unsigned long)language, mgr) {
  m_mapTablesByName.InitHashTable(BO_TABLE_HASH_SIZE);
  m_mapTablesById.InitHashTable(BO_TABLE_HASH_SIZE);
}

KDdDataDictCompnt::~KDdDataDictCompnt() { KDdDataDictCompnt::DeleteContents(); }

int KDdDataDictCompnt::GetTableCount() { return RecordCount(m_arrTables); }

IDdTable* KDdDataDictCompnt::GetTable(int index, int flags) {
  CheckLocalOnly(flags, "KDdDataDictCompnt::GetTable");
  return RecordAt(m_arrTables, index);
}

KDdTable* KDdDataDictCompnt::LocalById(long id) {
  KUtlCrSync hold(m_csLock);
  KDdTable* found = nullptr;
  m_mapTablesById.Lookup((unsigned long)id, found);
  return found;
}

KDdTable* KDdDataDictCompnt::LocalByName(const KZString& name) { return LookupByKey(m_mapTablesByName, name); }

IDdTable* KDdDataDictCompnt::FindTable(KDdDict* dict, long id, int flags) {
  KDdTable* found = LocalById(id);
  if (found || (flags & BO_DD_LOCAL_ONLY)) return found;
  FetchMissing(dict, [id](KDdBulkRequest& r) { r.AddTableRequest(id); });
  return LocalById(id);
}

IDdTable* KDdDataDictCompnt::FindTable(KDdDict* dict, const KZString& name, int flags) {
  KDdTable* found = LocalByName(name);
  if (found || (flags & BO_DD_LOCAL_ONLY)) return found;
  FetchMissing(dict, [&name](KDdBulkRequest& r) { r.AddTableRequest(name); });
  return LocalByName(name);
}

IDdBusObj* KDdDataDictCompnt::FindBusObj(KDdDict* dict, long id, int flags) {
  auto local = [this, id]() {
    KUtlCrSync hold(m_csLock);
    KDdBusObj* found = nullptr;
    m_mapBusObjsById.Lookup((unsigned long)id, found);
    return found;
  };
  KDdBusObj* found = local();
  if (found || (flags & BO_DD_LOCAL_ONLY)) return found;
  FetchMissing(dict, [id](KDdBulkRequest& r) { r.AddBusObjRequest(id); });
  return local();
}

IDdBusObj* KDdDataDictCompnt::FindBusObj(KDdDict* dict, const KZString& name, int flags) {
  KDdBusObj* found = LookupByKey(m_mapBusObjsByName, name);
  if (found || (flags & BO_DD_LOCAL_ONLY)) return found;
  FetchMissing(dict, [&name](KDdBulkRequest& r) { r.AddBusObjRequest(name); });
  return LookupByKey(m_mapBusObjsByName, name);
}

IDdBusObj* KDdDataDictCompnt::GetGenericBusObj(const KZString&) { return nullptr; }

void KDdDataDictCompnt::AddTable(KDdTable* table) {
  KUtlCrSync hold(m_csLock);
  if (LocalById(table->GetId())) {
    delete table;
    return;
  }
  m_arrTables.Add(table);
  m_mapTablesByName.SetAt(bo_lower(table->GetName()), table);
  m_mapTablesById.SetAt((unsigned long)table->GetId(), table);
  m_bModified = 1;
}

void KDdDataDictCompnt::AddBusObj(KDdBusObj* busObj) {
  if (!busObj) return;
  KUtlCrSync hold(m_csLock);
  KDdBusObj* held = nullptr;
  if (m_mapBusObjsById.Lookup((unsigned long)busObj->GetId(), held)) {
    if (held != busObj) delete busObj;
    return;
  }
  m_mapBusObjsById.SetAt((unsigned long)busObj->GetId(), busObj);
  m_mapBusObjsByName.SetAt(bo_lower(busObj->GetName()), busObj);
}

void KDdDataDictCompnt::ChangeTableKeys(KDdTable* table, const KZString& oldName, long oldId) {
  KUtlCrSync hold(m_csLock);
  KZString oldKey = bo_lower(oldName);
  KDdTable* held = nullptr;
  if (m_mapTablesByName.Lookup(oldKey, held) && held == table) m_mapTablesByName.RemoveKey(oldKey);
  m_mapTablesByName.SetAt(bo_lower(table->GetName()), table);
  if (oldId != table->GetId()) {
    if (m_mapTablesById.Lookup((unsigned long)oldId, held) && held == table)
      m_mapTablesById.RemoveKey((unsigned long)oldId);
    m_mapTablesById.SetAt((unsigned long)table->GetId(), table);
  }
  m_bModified = 1;
}

void KDdDataDictCompnt::DeleteContents() {
  KUtlCrSync hold(m_csLock);
  bo_delete_values<unsigned long, KDdBusObj>(m_mapBusObjsById);
  m_mapBusObjsByName.RemoveAll();
  bo_delete_values<unsigned long, KDdBusObj>(m_mapFirstBusObjsById);
  m_mapFirstBusObjsByName.RemoveAll();
  bo_delete_values<unsigned long, KDdTable>(m_mapTablesById);
  m_mapTablesByName.RemoveAll();
  m_arrTables.SetSize(0);
}

void KDdDataDictCompnt::Serialize(KArchive& ar) {
  if (ar.IsStoring()) {
    int tables = m_mapTablesById.GetCount();
    ar.Put32(uint32_t(tables + m_mapFirstBusObjsById.GetCount() + m_mapBusObjsById.GetCount()));
    ar.Put32(uint32_t(tables));
    KPOSITION pos = m_mapTablesById.GetStartPosition();
    while (pos) {
      unsigned long id = 0;
      KDdTable* table = nullptr;
      m_mapTablesById.GetNextAssoc(pos, id, table);
      table->Serialize(ar);
    }
    return;
  }
  if (int32_t(ar.Get32()) < 1) throw new KErr(KERR_DD_VERSION_MISMATCH, "KDdDataDictCompnt::Serialize");
  int32_t count = bo_choice_count(ar.Get32());
  for (int32_t i = 0; i < count; ++i) AddTable(bo_compnt_load_one<KDdTable>(ar));
}

} // namespace KCLASSIC
