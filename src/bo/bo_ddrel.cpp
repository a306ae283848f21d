#include "bo/bo_ddrel.h"

#include "bo/bo_dd.h"
#include "bo/bo_ddutil.h"

namespace KCLASSIC {

namespace {
const KZString& emptyName() {
  static const KZString empty;
  return empty;
}
} // namespace

KIMPLEMENT_RUNTIMECLASS(KDdRelation, KObject, 1, KDdRelation::CreateObject)

KObject* KDdRelation::CreateObject() { return new KDdRelation(); }

KDdRelation::KDdRelation(KDdTable* table, const KDdRelation& other) : KObject(), IDdRelation() {
  *this = other;
  m_pFromTable = table;
  ForgetCaches();
}

KDdRelation::KDdRelation(const KZString& physicalName, const KZString& name, long fullPhysicalType, long id,
                         long genericId, long flags, const KZString& inverseTable, const KZString& inverseName,
                         const KZString& focusField, const KZString& physRelName, const KZString& comment,
                         KDdTable* table, const KZString& exclusiveSet)
    : m_strPhysicalName(physicalName),
      m_strName(name),
      m_lFullPhysicalType(fullPhysicalType),
      m_lId(id),
      m_lGenericId(genericId),
      m_lFlags(flags),
      m_strInverseTable(inverseTable),
      m_strInverseName(inverseName),
      m_strFocusField(focusField),
      m_strPhysRelName(physRelName),
      m_strComment(comment),
      m_pFromTable(table),
      m_strExclusiveSet(exclusiveSet) {
  MarkSetFields();
}

KDdRelation::KDdRelation(const KDdRelation& other, const char* name) : KObject(), IDdRelation() {
  *this = other;
  m_strName = name;
}

KDdRelation& KDdRelation::operator=(const KDdRelation& other) {
  if (this == &other) return *this;
  m_strPhysicalName = other.m_strPhysicalName;
  m_strName = other.m_strName;
  m_lFullPhysicalType = other.m_lFullPhysicalType;
  m_lFullType = other.m_lFullType;
  m_strMTMTableName = other.m_strMTMTableName;
  m_lId = other.m_lId;
  m_lGenericId = other.m_lGenericId;
  m_lFlags = other.m_lFlags;
  m_strInverseTable = other.m_strInverseTable;
  m_strInverseName = other.m_strInverseName;
  m_strFocusField = other.m_strFocusField;
  m_strPhysRelName = other.m_strPhysRelName;
  m_strComment = other.m_strComment;
  m_pInverseTable = other.m_pInverseTable;
  m_pInverse = other.m_pInverse;
  m_pFromTable = other.m_pFromTable;
  m_strRoleField = other.m_strRoleField;
  m_strRoleValue = other.m_strRoleValue;
  m_strExclusiveSet = other.m_strExclusiveSet;
  return *this;
}

int KDdRelation::operator==(const KDdRelation& o) const {
  return m_strPhysicalName.Compare(o.m_strPhysicalName) == 0 && m_strName.Compare(o.m_strName) == 0 &&
         m_lFullPhysicalType == o.m_lFullPhysicalType && m_lFullType == o.m_lFullType &&
         m_strMTMTableName.Compare(o.m_strMTMTableName) == 0 && m_lId == o.m_lId &&
         m_lGenericId == o.m_lGenericId && m_lFlags == o.m_lFlags &&
         m_strInverseTable.Compare(o.m_strInverseTable) == 0 && m_strInverseName.Compare(o.m_strInverseName) == 0 &&
         m_strFocusField.Compare(o.m_strFocusField) == 0 && m_strPhysRelName.Compare(o.m_strPhysRelName) == 0 &&
         m_strComment.Compare(o.m_strComment) == 0 && m_pInverseTable == o.m_pInverseTable &&
         m_pInverse == o.m_pInverse && m_pFromTable == o.m_pFromTable &&
         m_strRoleField.Compare(o.m_strRoleField) == 0 && m_strRoleValue.Compare(o.m_strRoleValue) == 0;
}

void KDdRelation::Serialize(KArchive& ar) {
  if (ar.IsStoring()) {
    ar << m_strPhysicalName << m_strName << m_lFullPhysicalType << m_lFullType << m_strMTMTableName << m_lId
       << m_lGenericId << m_lFlags << m_strInverseTable << m_strInverseName << m_strFocusField << m_strPhysRelName
       << m_strExclusiveSet << m_strRoleField << m_strRoleValue;
    return;
  }
  ar >> m_strPhysicalName >> m_strName >> m_lFullPhysicalType >> m_lFullType >> m_strMTMTableName >> m_lId >>
      m_lGenericId >> m_lFlags >> m_strInverseTable >> m_strInverseName >> m_strFocusField >> m_strPhysRelName >>
      m_strExclusiveSet >> m_strRoleField >> m_strRoleValue;
  ForgetCaches();
}

void KDdRelation::Write(KMsg& msg) const {
  msg.WriteString(m_strPhysicalName);
  msg.WriteString(m_strName);
  msg.WriteLong(m_lFullPhysicalType);
  msg.WriteLong(m_lFullType);
  msg.WriteString(m_strMTMTableName);
  msg.WriteLong(m_lId);
  msg.WriteLong(m_lGenericId);
  msg.WriteLong(m_lFlags);
  msg.WriteString(m_strInverseTable);
  msg.WriteString(m_strInverseName);
  msg.WriteString(m_strFocusField);
  msg.WriteString(m_strPhysRelName);
  msg.WriteString(m_strExclusiveSet);
  msg.WriteString(m_strComment);
  msg.WriteString(m_strRoleField);
  msg.WriteString(m_strRoleValue);
}

void KDdRelation::Read(KMsg& msg) {
  msg.ReadString(m_strPhysicalName);
  msg.ReadString(m_strName);
  m_lFullPhysicalType = dd_msg_long(msg);
  m_lFullType = dd_msg_long(msg);
  msg.ReadString(m_strMTMTableName);
  m_lId = dd_msg_long(msg);
  m_lGenericId = dd_msg_long(msg);
  m_lFlags = dd_msg_long(msg);
  msg.ReadString(m_strInverseTable);
  msg.ReadString(m_strInverseName);
  msg.ReadString(m_strFocusField);
  msg.ReadString(m_strPhysRelName);
  msg.ReadString(m_strExclusiveSet);
  msg.ReadString(m_strComment);
  msg.ReadString(m_strRoleField);
  msg.ReadString(m_strRoleValue);
  ForgetCaches();
}

long KDdRelation::GetRelType() const {
  return m_lFullType > 0 ? dd_rel_type_of(m_lFullType) : GetPhysicalRelType();
}

long KDdRelation::GetInverseRelType(long relType) const {
  switch (relType == -1 ? GetPhysicalRelType() : dd_rel_type_of(relType)) {
    case OTM: return MTO;
    case MTO: return OTM;
    case OTOP: return OTOF;
    case OTOF: return OTOP;
    case MTM: return MTM;
    default: return 0;
  }
}

const KZString& KDdRelation::GetFromTableName() const {
  return m_pFromTable ? m_pFromTable->GetName() : emptyName();
}

IDdTable* KDdRelation::GetFromTable() const { return m_pFromTable; }

IDdTable* KDdRelation::GetInverseTable(IDdDataDict* dict, int fetch) {
  if (m_pInverseTable || !dict) return m_pInverseTable;
  m_pInverseTable = dd_table_of(dict->FindTable(m_strInverseTable, fetch));
  return m_pInverseTable;
}

IDdRelation* KDdRelation::GetInverse(IDdDataDict* dict, int fetch) {
  if (m_pInverse) return m_pInverse;
  KDdTable* table = dd_table_of(GetInverseTable(dict, fetch));
  if (!table) return nullptr;
  m_pInverse = dynamic_cast<KDdRelation*>(table->FindRelation(dict, m_strInverseName));
  return m_pInverse;
}

void KDdRelation::MarkSetFields() {
  long type = GetPhysicalRelType();
  if (!m_pFromTable || !(type == OTOP || (type == MTO && (m_lFlags & DD_REL_EXCLUSIVE)))) return;
  if (!m_strFocusField.IsEmpty()) {
    if (KDdField* f = m_pFromTable->LookupField(m_strFocusField)) f->AddFlags(DD_FLD_FOCUS);
  }
  if (!m_strPhysRelName.IsEmpty()) {
    if (KDdField* f = m_pFromTable->LookupField(m_strPhysRelName)) f->AddFlags(DD_FLD_OBJID | DD_FLD_FOREIGN_KEY);
  }
}

KArchive& operator>>(KArchive& ar, KDdRelation*& relation) {
  relation = static_cast<KDdRelation*>(ar.ReadObject(KRUNTIME_CLASS(KDdRelation)));
  return ar;
}

} // namespace KCLASSIC
