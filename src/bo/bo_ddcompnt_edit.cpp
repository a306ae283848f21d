// The table component's schema editing: id checks by mode, creating and
// deleting tables and views with everything they hold.
#include "bo/bo_ddcompnt.h"
#include "bo/bo_ddutil.h"
#include "bo/bo_dict.h"

namespace KCLASSIC {

namespace {

bool user_table_id(long id) {
  return (id >= BO_USER_TABLE_ID_LOW1 && id <= BO_USER_TABLE_ID_HIGH1) ||
         (id >= BO_USER_TABLE_ID_LOW2 && id <= BO_USER_TABLE_ID_HIGH2);
}

} // namespace

void KDdDataDictCompnt::CheckTableId(KDdDict* dict, long id) {
  constexpr const char* kMethod = "KDdDataDictCompnt::CheckTableId";
  if (dd_user_mode(dict)) {
    if (!user_table_id(id)) dd_throw(KERR_DD_BAD_TABLE_ID, kMethod, "User Mode, ID=%d", int(id));
  } else if ((unsigned long)id > BO_PRODUCT_TABLE_ID_HIGH) {
    dd_throw(KERR_DD_BAD_TABLE_ID, kMethod, "Orbn Mode, ID=%d", int(id));
  }
}

IDdTable* KDdDataDictCompnt::CreateTable(KDdDict* dict, const KZString& name, const KZString& comment, const int id,
                                         const int flags, const KZString& objGroup) {
  constexpr const char* kMethod = "KDdDataDictCompnt::CreateTable";
  dict->CheckTableId(id);
  if (name.IsEmpty()) dd_throw(KERR_DD_EMPTY_TABLE_NAME, kMethod);
  if (dict->FindTable(name, 0)) dd_throw(KERR_DD_DUP_TABLE_NAME, kMethod, "NAME=%s", dd_s(name));
  if (dict->FindTable(long(id), 0)) dd_throw(KERR_DD_DUP_TABLE_ID, kMethod, "ID=%d", id);
  auto* table = new KDdTable(name, comment, objGroup, id, flags | BO_TABLE_CREATED);
  AddTable(table);
  return table;
}

int KDdDataDictCompnt::PositionOf(IDdTable* table) {
  int count = GetTableCount();
  for (int i = 0; i < count; ++i)
    if (GetTable(i, BO_DD_LOCAL_ONLY) == table) return i;
  return -1;
}

int KDdDataDictCompnt::CheckDelete(KDdDict* dict, IDdTable* table, bool view, const char* method) {
  int pos = table ? PositionOf(table) : -1;
  if (pos < 0) dd_throw(KERR_DD_BAD_POINTER, method, "Can not find table pointer");
  if (view && !table->IsView()) dd_throw(KERR_DD_BAD_COMMAND, method, "Apply DeleteView to Table");
  if (!view && table->IsView()) dd_throw(KERR_DD_BAD_COMMAND, method, "Apply DeleteTable to View");
  if (dd_user_mode(dict) && !user_table_id(table->GetId()))
    dd_throw(KERR_DD_BAD_TABLE_ID, method, "User Mode, ID=%d", int(table->GetId()));
  return pos;
}

void KDdDataDictCompnt::DeleteTable(KDdDict* dict, IDdTable* table) {
  int pos = CheckDelete(dict, table, false, "KDdDataDictCompnt::DeleteTable");
  for (int i = table->GetIndexCount() - 1; i >= 0; --i)
    if (IDdIndex* index = table->GetIndex(i)) table->DeleteIndex(dict, index);
  while (table->GetRelationCount() > 0)
    table->DeleteRelation(dict, table->GetRelation(table->GetRelationCount() - 1), 1);
  for (int i = table->GetFieldCount() - 1; i >= 0; --i)
    if (IDdField* field = table->GetField(i)) table->DeleteTableField(dict, field);
  Remove(pos, dd_table_of(table));
}

void KDdDataDictCompnt::DeleteView(KDdDict* dict, IDdTable* view) {
  int pos = CheckDelete(dict, view, true, "KDdDataDictCompnt::DeleteView");
  for (int i = view->GetJoinCount() - 1; i >= 0; --i)
    if (IDdJoin* join = view->GetJoin(i)) view->DeleteJoin(dict, join, 0);
  for (int i = view->GetFieldCount() - 1; i >= 0; --i)
    if (IDdField* field = view->GetField(i)) view->DeleteViewField(dict, field, 0);
  Remove(pos, dd_table_of(view));
}

// Drops the record at pos from every collection (the name entry only when
// it maps to this record) and deletes it; the cache must be written again.
void KDdDataDictCompnt::Remove(int pos, KDdTable* table) {
  {
    KUtlCrSync hold(m_csLock);
    m_arrTables.RemoveAt(pos);
    KZString key(table->GetName());
    key.MakeLower();
    KDdTable* held = nullptr;
    if (m_mapTablesByName.Lookup(key, held) && held == table) m_mapTablesByName.RemoveKey(key);
    if (m_mapTablesById.Lookup((unsigned long)table->GetId(), held) && held == table)
      m_mapTablesById.RemoveKey((unsigned long)table->GetId());
    m_bModified = 1;
  }
  delete table;
}

} // namespace KCLASSIC
