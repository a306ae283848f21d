// Schema editing of one field: UpdateTableField for a table's field and
// UpdateViewField for a view's. Every check runs before the first change; a
// null argument keeps its member.
#include "bo/bo_dd.h"
#include "bo/bo_ddutil.h"

namespace KCLASSIC {

namespace {

template <class T>
T given(const T* value, const T& current) {
  return value ? *value : current;
}

// Refuses a new name that another field of the table holds already.
void checkNameFree(KDdTable* table, const KDdField* field, const KZString& newName, const char* method) {
  KDdField* holder = table->LookupField(newName);
  if (holder && holder != field) dd_throw(KERR_DD_DUP_FIELD, method, "Name=%s", dd_s(newName));
}

} // namespace

void KDdField::UpdateTableField(IDdDataDict* dict, KZString* physicalName, KZString* name, long* dbType,
                                long* arraySize, long* decPrecision, long* decScale, long* flags, long* cmnType,
                                long* genericId, KZString* defaultValue, KZString* comment) {
  constexpr const char* kMethod = "KDdField::UpdateTableField";
  if (!m_pTable) dd_throw(KERR_DD_BAD_POINTER, kMethod, "Field without a table");
  if (m_pTable->IsView()) dd_throw(KERR_DD_BAD_COMMAND, kMethod, "Apply UpdateTableField to View");
  if (!(m_lFlags & DD_FLD_NEW)) {
    if (dbType && *dbType != m_lOrigDBType) dd_throw(KERR_DD_PERMANENT, kMethod, "DbType");
    if (cmnType && *cmnType != m_lCmnType) dd_throw(KERR_DD_PERMANENT, kMethod, "CmnType");
  }
  KZString newPhysical = given(physicalName, m_strPhysicalName);
  KZString newLogical = given(name, m_strName);
  long newDbType = given(dbType, m_lOrigDBType);
  long newArraySize = given(arraySize, m_lArraySize);
  long newPrecision = given(decPrecision, m_lDecPrecision);
  long newScale = given(decScale, m_lDecScale);
  long newFlags = given(flags, m_lFlags) | (m_lFlags & DD_FLD_NEW);
  long newCmnType = given(cmnType, m_lCmnType);
  long newGenericId = given(genericId, m_lGenericId);
  checkNameFree(m_pTable, this, newLogical.IsEmpty() ? newPhysical : newLogical, kMethod);
  m_pTable->CheckFieldArg(dict, newPhysical, newDbType, newArraySize, newPrecision, newScale, newFlags, newCmnType,
                          newGenericId, this, 0);

  KZString oldName = GetName();
  m_strPhysicalName = newPhysical;
  m_strName = newLogical;
  m_lOrigDBType = newDbType;
  m_lArraySize = newArraySize;
  m_lDecPrecision = newPrecision;
  m_lDecScale = newScale;
  m_lFlags = newFlags;
  m_lCmnType = newCmnType;
  m_lGenericId = newGenericId;
  if (defaultValue) m_strDefaultValue = *defaultValue;
  if (comment) m_strComment = *comment;
  if (GetName().Compare(oldName) == 0) return;

  KZString newName = GetName();
  m_pTable->RekeyField(this, oldName);
  m_pTable->UpdateIndexField(dict, newName, oldName);
  for (int i = 0; i < m_pTable->GetRelationCount(); ++i) {
    auto* relation = static_cast<KDdRelation*>(m_pTable->GetRelation(i));
    if (!relation->IsFlagSet(int(DD_REL_EXCLUSIVE))) continue;
    auto* inverse = dynamic_cast<KDdRelation*>(relation->GetInverse(dict, 0));
    bool focus = relation->GetFocusFieldName().Compare(oldName) == 0;
    bool objid = relation->GetPhysRelName().Compare(oldName) == 0;
    for (KDdRelation* r : {relation, inverse}) {
      if (!r) continue;
      if (focus) r->ForceUpdateInfo(dict, nullptr, nullptr, nullptr, nullptr, &newName, nullptr, nullptr);
      if (objid) r->ForceUpdateInfo(dict, nullptr, nullptr, nullptr, nullptr, nullptr, &newName, nullptr);
    }
  }
}

void KDdField::UpdateViewField(IDdDataDict* dict, KZString* name, KZString*, long* genericId,
                               KZString* originTable, KZString* originField, KZString* srcAlias,
                               KZString* comment) {
  constexpr const char* kMethod = "KDdField::UpdateViewField";
  if (!m_pTable || !m_pTable->IsView()) dd_throw(KERR_DD_BAD_COMMAND, kMethod, "Apply UpdateViewField to Table");
  KZString newName = given(name, m_strPhysicalName);
  long newGenericId = given(genericId, m_lGenericId);
  KZString newAlias = given(srcAlias, m_strSrcAlias);
  KZString newComment = given(comment, m_strComment);
  KDdTable* present = dict ? dd_table_of(dict->FindTable(m_lOriginTableId, 0)) : nullptr;
  KDdTable* target = present;
  if (originTable) {
    target = dict ? dd_table_of(dict->FindTable(*originTable, 0)) : nullptr;
    if (!target) dd_throw(KERR_DD_BAD_TABLE_NAME, kMethod, "TableName=%s", dd_s(*originTable));
  } else if (!target) {
    dd_throw(KERR_DD_BAD_TABLE_NAME, kMethod, "OriginTableId=%ld", m_lOriginTableId);
  }
  KDdField* origin = nullptr;
  if (originField) {
    origin = target->LookupField(*originField);
    if (!origin) dd_throw(KERR_DD_BAD_FIELD_NAME, kMethod, "FieldName=%s", dd_s(*originField));
  } else {
    origin = dynamic_cast<KDdField*>(target->FindField(m_lOriginFieldId));
    if (!origin) dd_throw(KERR_DD_BAD_FIELD_NAME, kMethod, "OriginFieldId=%ld", m_lOriginFieldId);
  }
  checkNameFree(m_pTable, this, m_strName.IsEmpty() ? newName : m_strName, kMethod);
  m_pTable->CheckFieldArg(dict, newName, m_lOrigDBType, m_lArraySize, m_lDecPrecision, m_lDecScale, m_lFlags,
                          m_lCmnType, newGenericId, this, 0);
  m_pTable->CheckAlias(dict, target->GetName(), newAlias, this, 0);

  KZString oldName = GetName();
  m_strPhysicalName = newName;
  m_lGenericId = newGenericId;
  m_strSrcAlias = newAlias;
  m_strComment = newComment;
  m_lOriginTableId = target->GetId();
  m_lOriginFieldId = origin->GetId();
  m_pOriginField = nullptr;
  if (GetName().Compare(oldName) != 0) m_pTable->RekeyField(this, oldName);
  if (!originTable) return;
  if (present && !m_pTable->TableIdInUse(dict, present->GetId())) present->RemoveViewId(m_pTable->GetId());
  target->AddViewArray(m_pTable->GetId());
}

} // namespace KCLASSIC
