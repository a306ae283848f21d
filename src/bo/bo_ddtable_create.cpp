// Creating fields, view fields, relations, indexes and joins: each runs its
// check first and marks what it makes as new; and renaming index keys.
#include <memory>

#include "bo/bo_dd.h"
#include "bo/bo_ddutil.h"

namespace KCLASSIC {

namespace {

// The implicit foreign-key field's defaults.
constexpr const char* kRequiredKeyDefault = "-2";
constexpr const char* kOptionalKeyDefault = "-3";

bool holdsKey(long relType, long relFlags) {
  long type = dd_rel_type_of(relType);
  return (type == IDdRelation::MTO || type == IDdRelation::OTOP) && !(relFlags & DD_REL_EXCLUSIVE);
}

} // namespace

void KDdTable::CheckFieldNameFree(const KZString& name, const char* method) {
  if (!name.IsEmpty() && LookupField(name)) dd_throw(KERR_DD_DUP_FIELD, method, "Name=%s", dd_s(name));
}

void KDdTable::AddImplicitKey(const KZString& name, long relFlags, long relType) {
  if (!holdsKey(relType, relFlags) || LookupField(name)) return;
  bool required = (relFlags & DD_REL_REQUIRED) != 0;
  long flags = DD_FLD_FOREIGN_KEY | (required ? DD_FLD_FK_REQUIRED : 0) |
               (dd_rel_type_of(relType) == IDdRelation::OTOP ? DD_FLD_FK_OTOP : 0);
  AddField(new KDdField(name, KZString(), m_lId, 0, -1, -1, -1, flags, -1, -1, MaxFieldId() + 1,
                        required ? kRequiredKeyDefault : kOptionalKeyDefault, KZString(), this));
}

IDdField* KDdTable::CreateTableField(IDdDataDict* dict, const KZString& name, const KZString& secondName,
                                     long dbType, long arraySize, long decPrecision, long decScale, long flags,
                                     long cmnType, long genericId, const KZString& defaultValue,
                                     const KZString& comment) {
  constexpr const char* kMethod = "KDdTable::CreateTableField";
  if (IsView()) dd_throw(KERR_DD_VIEW_NO_OBJ_FIELD, kMethod);
  CheckFieldArg(dict, name, dbType, arraySize, decPrecision, decScale, flags, cmnType, genericId, nullptr, 1);
  // The field is entered under its second name when it has one.
  CheckFieldNameFree(secondName, kMethod);
  auto* field = new KDdField(name, secondName, m_lId, dbType, arraySize, decPrecision, decScale, flags | DD_FLD_NEW,
                             cmnType, genericId, MaxFieldId() + 1, defaultValue, comment, this);
  if (flags & DD_FLD_BINARY)
    AddBinaryField(field);
  else
    AddField(field);
  return field;
}

IDdField* KDdTable::CreateViewField(IDdDataDict* dict, const KZString& name, const KZString& secondName,
                                    long genericId, const KZString& originTable, const KZString& originField,
                                    const KZString& alias, const KZString& comment) {
  constexpr const char* kMethod = "KDdTable::CreateViewField";
  if (!IsView()) dd_throw(KERR_DD_TABLE_NO_VIEW_FIELD, kMethod);
  CheckFieldNameFree(name, kMethod);
  KDdTable* table = dict ? dd_table_of(dict->FindTable(originTable, 1)) : nullptr;
  if (!table) dd_throw(KERR_DD_BAD_TABLE_NAME, kMethod, "Original Table Name=%s", dd_s(originTable));
  KDdField* origin = table->LookupField(originField);
  if (!origin) dd_throw(KERR_DD_BAD_FIELD_NAME, kMethod, "Original Field Name=%s", dd_s(originField));
  CheckAlias(dict, table->GetName(), alias, nullptr, 1);
  CheckFieldNameFree(secondName, kMethod);
  auto* field = new KDdField(name, secondName, m_lId, origin->GetOrigDBType(), origin->GetArraySize(),
                             origin->GetDecPrecision(), origin->GetDecScale(), origin->GetFlags() | DD_FLD_NEW,
                             origin->GetCmnType(), genericId, MaxFieldId() + 1, origin->GetDefaultValue(),
                             KZString(), this);
  AddField(field);
  field->SetViewInfo(table->GetId(), origin->GetId(), alias, comment);
  table->AddViewArray(m_lId);
  return field;
}

IDdRelation* KDdTable::CreateRelation(IDdDataDict* dict, const KZString& name, const KZString& secondName,
                                      long relType, long genericId, long lowFlags, long highFlags,
                                      const KZString& inverseTable, const KZString& inverseName,
                                      const KZString& focusField, const KZString& physRelName,
                                      const KZString& exclusiveSet, const KZString& comment) {
  constexpr const char* kMethod = "KDdTable::CreateRelation";
  CheckRelArg(dict, name, relType, genericId, lowFlags, highFlags, inverseTable, inverseName, focusField,
              physRelName, exclusiveSet, 1);
  KDdTable* inverse = dd_table_of(dict->FindTable(inverseTable, 1));
  long flags = (lowFlags & DD_REL_LOW_MASK) | (highFlags & DD_REL_HIGH_MASK) | DD_REL_NEW;
  long inverseType = KDdRelation().GetInverseRelType(relType);
  // Key fields must not replace fields the tables hold already; a second
  // name must not take another relation's place.
  if (holdsKey(relType, flags)) CheckFieldNameFree(name, kMethod);
  if (holdsKey(inverseType, flags)) inverse->CheckFieldNameFree(inverseName, kMethod);
  if (!secondName.IsEmpty() && FindRelation(dict, secondName))
    dd_throw(KERR_DD_DUP_RELATION, kMethod, "Name=%s", dd_s(secondName));

  auto* relation = new KDdRelation(name, secondName, relType, MaxRelId() + 1, genericId, flags, inverseTable,
                                   inverseName, focusField, physRelName, comment, this, exclusiveSet);
  AdoptRelation(relation, 0);
  AddImplicitKey(relation->GetPhysicalName(), flags, relType);
  inverse->AdoptRelation(new KDdRelation(inverseName, KZString(), inverseType, inverse->MaxRelId() + 1, genericId,
                                         flags, m_strName, name, focusField, physRelName, KZString(), inverse,
                                         exclusiveSet),
                         0);
  inverse->AddImplicitKey(inverseName, flags, inverseType);
  return relation;
}

IDdIndex* KDdTable::CreateIndex(IDdDataDict* dict, const KZString& name, long flags, const KZString& keyList) {
  if (IsView()) dd_throw(KERR_DD_VIEW_NO_INDEX, "KDdTable::CreateIndex");
  long count = CheckIndexArg(dict, name, flags, keyList, 1);
  auto* index = new KDdIndex(this, name, flags | DD_IDX_NEW, count, keyList);
  AddIndex(index);
  return index;
}

IDdJoin* KDdTable::CreateJoin(IDdDataDict* dict, const KZString& tableName, const KZString& relName,
                              const KZString& primaryAlias, const KZString& foreignAlias, long joinFlags,
                              const KZString& comment) {
  if (!IsView()) dd_throw(KERR_DD_TABLE_NO_JOIN, "KDdTable::CreateJoin");
  CheckJoinArg(dict, tableName, relName, primaryAlias, foreignAlias, joinFlags, nullptr, 1);
  KDdTable* table = dd_table_of(dict->FindTable(tableName, 1));
  auto* relation = static_cast<KDdRelation*>(table->FindRelation(dict, relName));
  KDdTable* inverse = dd_table_of(dict->FindTable(relation->GetInverseTableName(), 1));
  auto* join = new KDdJoin(table->GetId(), relation->GetId(), primaryAlias, foreignAlias, joinFlags | DD_JOIN_NEW,
                           comment, this);
  DefineJoin(join);
  table->AddViewArray(m_lId);
  if (inverse) inverse->AddViewArray(m_lId);
  return join;
}

void KDdTable::UpdateIndexField(IDdDataDict* dict, const KZString& newName, const KZString& oldName) {
  for (int i = 0; i < m_arrIndexes.GetSize(); ++i) {
    KDdIndex* index = m_arrIndexes[i];
    std::vector<KZString> parts = dd_split_list(index->GetFieldNames());
    bool replaced = false;
    for (KZString& part : parts) {
      if (part.Compare(oldName) == 0) {
        part = newName;
        replaced = true;
      }
    }
    if (!replaced) continue;
    KZString keys = dd_join_list(parts);
    index->UpdateData(dict, nullptr, nullptr, &keys);
  }
}

} // namespace KCLASSIC
