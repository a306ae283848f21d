// The relation's derived many-to-many table name and its schema editing:
// ForceUpdateInfo (no checks) and UpdateData (checked, carried over to the
// inverse and, for exclusive sets, to the other members of the set).
#include "bo/bo_dd.h"
#include "bo/bo_ddutil.h"

namespace KCLASSIC {

namespace {

constexpr const char* kUpdateData = "KDdRelation::UpdateData";

const KZString& noName() {
  static const KZString empty;
  return empty;
}

void checkSame(const KZString* given, const KZString& current, const char* what) {
  if (given && given->Compare(current) != 0) dd_throw(KERR_DD_PERMANENT, kUpdateData, "%s", what);
}

long tableIdOf(const KDdRelation& r) { return r.GetOwner() ? r.GetOwner()->GetId() : 0; }

} // namespace

const KZString& KDdRelation::GetMTMTableName(IDdDataDict* dict) {
  if (GetRelType() != MTM) return noName();
  if (m_pFromTable && m_pFromTable->IsView()) {
    KDdTable* inverseTable = dd_table_of(GetInverseTable(dict, 0));
    if (!inverseTable || inverseTable->IsView()) return noName();
    KZString plain;
    KDdTable::StripViewInfo(m_strInverseName, plain);
    auto* source = dynamic_cast<KDdRelation*>(inverseTable->FindRelation(dict, plain));
    if (!source || source == this) return noName();
    return source->GetMTMTableName(dict);
  }
  if (!m_strMTMTableName.IsEmpty()) return m_strMTMTableName;
  auto* inverse = dynamic_cast<KDdRelation*>(GetInverse(dict, 0));
  if (!inverse) return m_strMTMTableName;
  long mine = tableIdOf(*this);
  long theirs = tableIdOf(*inverse);
  bool thisFirst = mine < theirs || (mine == theirs && m_lId < inverse->m_lId);
  const KDdRelation& a = thisFirst ? *this : *inverse;
  const KDdRelation& b = thisFirst ? *inverse : *this;
  m_strMTMTableName.Format("mtm_%s%ld_%s%ld", static_cast<const char*>(a.GetFromTableName()), a.m_lId,
                           static_cast<const char*>(b.GetFromTableName()), b.m_lId);
  return m_strMTMTableName;
}

void KDdRelation::RemoveImplicitKey(const KZString& fieldName) {
  if (!m_pFromTable) return;
  for (int i = 0; i < m_pFromTable->GetFieldCount(); ++i) {
    auto* field = static_cast<KDdField*>(m_pFromTable->GetField(i));
    if (field->GetName().Compare(fieldName) == 0 && field->IsFlagSet(int(DD_FLD_FOREIGN_KEY)) &&
        !field->IsFlagSet(int(DD_FLD_OBJID))) {
      m_pFromTable->DestroyField(field);
      return;
    }
  }
}

void KDdRelation::AddImplicitKey() {
  if (m_pFromTable) m_pFromTable->AddImplicitKey(GetName(), m_lFlags, GetPhysicalRelType());
}

void KDdRelation::ForceUpdateInfo(IDdDataDict*, KZString* inverseName, long* fullPhysicalType, long* genericId,
                                  long* flags, KZString* focusField, KZString* physRelName,
                                  KZString* exclusiveSet) {
  long before = m_lFullPhysicalType;
  if (inverseName) m_strInverseName = *inverseName;
  if (fullPhysicalType) m_lFullPhysicalType = *fullPhysicalType;
  if (genericId) m_lGenericId = *genericId;
  if (flags) m_lFlags = *flags;
  if (focusField) m_strFocusField = *focusField;
  if (physRelName) m_strPhysRelName = *physRelName;
  if (exclusiveSet) m_strExclusiveSet = *exclusiveSet;
  if (!fullPhysicalType || *fullPhysicalType == before) return;
  RemoveImplicitKey(GetName());
  AddImplicitKey();
}

void KDdRelation::PropagateSet(IDdDataDict* dict, const KZString& oldSet) {
  for (int i = 0; i < m_pFromTable->GetRelationCount(); ++i) {
    auto* other = static_cast<KDdRelation*>(m_pFromTable->GetRelation(i));
    if (other == this || !other->IsFlagSet(int(DD_REL_EXCLUSIVE)) || other->m_strExclusiveSet.Compare(oldSet))
      continue;
    other->ForceUpdateInfo(dict, nullptr, nullptr, nullptr, nullptr, &m_strFocusField, &m_strPhysRelName,
                           &m_strExclusiveSet);
    auto* inverse = dynamic_cast<KDdRelation*>(other->GetInverse(dict, 0));
    if (inverse && inverse != other)
      inverse->ForceUpdateInfo(dict, nullptr, nullptr, nullptr, nullptr, &m_strFocusField, &m_strPhysRelName,
                               &m_strExclusiveSet);
  }
}

void KDdRelation::UpdateData(IDdDataDict* dict, KZString* name, KZString*, long* relType, long* genericId,
                             long* lowFlags, long* highFlags, KZString* focusField, KZString* physRelName,
                             KZString* exclusiveSet, KZString* comment) {
  if (!m_pFromTable) dd_throw(KERR_DD_BAD_POINTER, kUpdateData, "Relation without a table");
  auto* inverse = dynamic_cast<KDdRelation*>(GetInverse(dict, 0));
  if (!(m_lFlags & DD_REL_NEW)) {
    checkSame(name, GetName(), "Relation Name");
    if (relType && *relType != GetPhysicalRelType()) dd_throw(KERR_DD_PERMANENT, kUpdateData, "Relation Type");
    checkSame(focusField, m_strFocusField, "Relation FocusFieldName");
    checkSame(physRelName, m_strPhysRelName, "Relation PhysRelName");
    checkSame(exclusiveSet, m_strExclusiveSet, "Relation ExclusiveSetName");
  }
  KZString newName = name ? *name : GetName();
  long newType = relType ? *relType : m_lFullPhysicalType;
  long newGenId = genericId ? *genericId : m_lGenericId;
  long low = lowFlags ? *lowFlags : (m_lFlags & DD_REL_LOW_MASK);
  long high = (highFlags ? *highFlags : (m_lFlags & DD_REL_HIGH_MASK)) | (m_lFlags & DD_REL_NEW);
  KZString newFocus = focusField ? *focusField : m_strFocusField;
  KZString newPhysRel = physRelName ? *physRelName : m_strPhysRelName;
  KZString newSet = exclusiveSet ? *exclusiveSet : m_strExclusiveSet;
  if (name) {
    // Another relation already known by the new name would lose its entry.
    KDdRelation* holder = m_pFromTable->LookupRelation(newName);
    if (holder && holder != this) dd_throw(KERR_DD_DUP_RELATION, kUpdateData, "Name=%s", dd_s(newName));
  }
  m_pFromTable->CheckRelArg(dict, newName, newType, newGenId, low, high, m_strInverseTable, KZString(), newFocus,
                            newPhysRel, newSet, 0);

  KZString oldName = GetName();
  KZString oldSet = m_strExclusiveSet;
  int setChanges = (newFocus.Compare(m_strFocusField) != 0) + (newPhysRel.Compare(m_strPhysRelName) != 0) +
                   (newSet.Compare(m_strExclusiveSet) != 0);
  long oldType = m_lFullPhysicalType;
  if (name) m_strPhysicalName = newName;
  m_lFullPhysicalType = newType;
  m_lGenericId = newGenId;
  m_lFlags = (low & DD_REL_LOW_MASK) | (high & DD_REL_HIGH_MASK);
  m_strFocusField = newFocus;
  m_strPhysRelName = newPhysRel;
  m_strExclusiveSet = newSet;
  if (comment) m_strComment = *comment;

  if (inverse && inverse != this) {
    KZString myName = GetName();
    long inverseType = GetInverseRelType(-1);
    inverse->ForceUpdateInfo(dict, &myName, &inverseType, &m_lGenericId, &m_lFlags, &m_strFocusField,
                             &m_strPhysRelName, &m_strExclusiveSet);
  }
  if (m_lFullPhysicalType != oldType) {
    RemoveImplicitKey(oldName);
    AddImplicitKey();
  }
  if (name && GetName().Compare(oldName) != 0) {
    m_pFromTable->RekeyRelation(this, oldName);
    m_pFromTable->UpdateIndexField(dict, GetName(), oldName);
  }
  bool setGiven = focusField || physRelName || exclusiveSet;
  if ((m_lFlags & DD_REL_EXCLUSIVE) && setGiven && setChanges > 0 && setChanges < 3) PropagateSet(dict, oldSet);
}

} // namespace KCLASSIC
