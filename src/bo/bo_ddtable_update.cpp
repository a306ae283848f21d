// Schema editing of a table or view itself: new name, id, object group or
// comment. The dictionary's table component is re-keyed, and the records
// of other tables that name the old name or id follow.
#include "bo/bo_ddcompnt.h"
#include "bo/bo_ddtable.h"
#include "bo/bo_ddutil.h"
#include "bo/bo_dict.h"

namespace KCLASSIC {

void KDdTable::SetFieldsTableId(long id) {
  for (int i = 0; i < m_arrFields.GetSize(); ++i) m_arrFields[i]->SetTableId(id);
  for (int i = 0; i < m_arrBinaryFields.GetSize(); ++i) m_arrBinaryFields[i]->SetTableId(id);
  KPOSITION pos = m_mapFieldsByName.GetStartPosition();
  while (pos) {
    KZString key;
    KDdField* field = nullptr;
    m_mapFieldsByName.GetNextAssoc(pos, key, field);
    if (field) field->SetTableId(id);
  }
}

void KDdTable::UpdateCommonInfo(IDdDataDict* dict, KZString* name, long* id, KZString* objGroup, KZString* comment) {
  constexpr const char* kMethod = "KDdTable::UpdateCommonInfo";
  auto* dictionary = dynamic_cast<KDdDict*>(dict);
  if (name && name->Compare(m_strName) != 0 && dict) {
    // The table's own name in another letter case is no duplicate.
    IDdTable* held = dict->FindTable(*name, 0);
    if (held && held != this) dd_throw(KERR_DD_DUP_TABLE_NAME, kMethod, "NAME=%s", dd_s(*name));
  }
  if (id && *id != m_lId) {
    if (!(m_lFlags & DD_TBL_LOCAL)) dd_throw(KERR_DD_PERMANENT, kMethod, "Table ID");
    if (dict && dict->FindTable(*id, 0)) dd_throw(KERR_DD_DUP_TABLE_ID, kMethod, "ID=%d", int(*id));
  }
  if (id && dictionary) dictionary->CheckTableId(*id);
  KZString oldName(m_strName);
  long oldId = m_lId;
  if (name) m_strName = *name;
  if (id) m_lId = *id;
  if (objGroup) m_strObjGroup = *objGroup;
  if (comment) m_strComment = *comment;
  if (dictionary && (name || id))
    if (KDdDataDictCompnt* tables = dictionary->GetDataDictCompnt()) tables->ChangeTableKeys(this, oldName, oldId);
  if (id && *id != oldId) SetFieldsTableId(*id);
}

void KDdTable::UpdateTable(IDdDataDict* dict, KZString* name, long* id, KZString* objGroup, KZString* comment) {
  KZString oldName(m_strName);
  long oldId = m_lId;
  UpdateCommonInfo(dict, name, id, objGroup, comment);
  if (name) {
    for (int i = 0; i < m_arrRelations.GetSize(); ++i) {
      auto* inverse = dynamic_cast<KDdRelation*>(m_arrRelations[i]->GetInverse(dict, 0));
      if (inverse && inverse->GetInverseTableName().CompareNoCase(oldName) == 0) inverse->SetInverseTableName(*name);
    }
  }
  if (id && *id != oldId) {
    for (KDdTable* view : ViewsOf(dict)) {
      for (int i = 0; i < view->m_arrFields.GetSize(); ++i)
        if (view->m_arrFields[i]->GetOriginTableId() == oldId) view->m_arrFields[i]->SetOriginTableId(*id);
      for (int i = 0; i < view->m_arrJoins.GetSize(); ++i)
        if (view->m_arrJoins[i]->GetTableId() == oldId) view->m_arrJoins[i]->SetTableId(*id);
    }
  }
}

namespace {

void move_view_id(KDdTable* table, long oldId, long newId) {
  if (!table) return;
  table->RemoveViewId(oldId);
  table->AddViewArray(newId);
}

} // namespace

void KDdTable::UpdateView(IDdDataDict* dict, KZString* name, long* id, KZString* objGroup, KZString* comment) {
  long oldId = m_lId;
  UpdateCommonInfo(dict, name, id, objGroup, comment);
  if (!id || *id == oldId || !dict) return;
  for (int i = 0; i < m_arrFields.GetSize(); ++i)
    move_view_id(dd_table_of(dict->FindTable(m_arrFields[i]->GetOriginTableId(), 0)), oldId, *id);
  for (int i = 0; i < m_arrJoins.GetSize(); ++i) {
    KDdRelation* relation = m_arrJoins[i]->FindRel(dict);
    if (!relation) continue;
    move_view_id(dd_table_of(relation->GetFromTable()), oldId, *id);
    move_view_id(dd_table_of(dict->FindTable(relation->GetInverseTableName(), 0)), oldId, *id);
  }
}

} // namespace KCLASSIC
