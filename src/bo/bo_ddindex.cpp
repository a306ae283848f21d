#include "bo/bo_ddindex.h"

#include "bo/bo_dd.h"
#include "bo/bo_ddutil.h"

namespace KCLASSIC {

KIMPLEMENT_RUNTIMECLASS(KDdIndex, KObject, 1, KDdIndex::CreateObject)

KObject* KDdIndex::CreateObject() { return new KDdIndex(); }

KDdIndex::KDdIndex(KMsg& msg, KDdTable* table) : m_pTable(table) { Read(msg); }

KDdIndex::KDdIndex(KDdTable* table, const KZString& name, long flags, long keyCount, const KZString& keyList)
    : m_lKeyCount(keyCount), m_lFlags(flags), m_strName(name), m_strKeyList(keyList), m_pTable(table) {}

KDdIndex& KDdIndex::operator=(const KDdIndex& other) {
  m_lKeyCount = other.m_lKeyCount;
  m_lFlags = other.m_lFlags;
  m_strName = other.m_strName;
  m_strKeyList = other.m_strKeyList;
  m_pTable = other.m_pTable;
  return *this;
}

int KDdIndex::operator==(const KDdIndex& o) const {
  return m_lKeyCount == o.m_lKeyCount && m_lFlags == o.m_lFlags && m_strName.Compare(o.m_strName) == 0 &&
         m_strKeyList.Compare(o.m_strKeyList) == 0 && m_pTable == o.m_pTable;
}

void KDdIndex::Serialize(KArchive& ar) {
  if (ar.IsStoring())
    ar << m_lKeyCount << m_lFlags << m_strName << m_strKeyList;
  else
    ar >> m_lKeyCount >> m_lFlags >> m_strName >> m_strKeyList;
}

void KDdIndex::Write(KMsg& msg) const {
  msg.WriteLong(m_lKeyCount);
  msg.WriteLong(m_lFlags);
  msg.WriteString(m_strName);
  msg.WriteString(m_strKeyList);
}

void KDdIndex::Read(KMsg& msg) {
  m_lKeyCount = dd_msg_long(msg);
  m_lFlags = dd_msg_long(msg);
  msg.ReadString(m_strName);
  msg.ReadString(m_strKeyList);
}

IDdTable* KDdIndex::GetTable() const { return m_pTable; }

KZString KDdIndex::GetFieldNameAt(long i) const {
  if (i < 0 || i >= m_lKeyCount) return KZString();
  return KDdTable::GetSubNameAt(m_strKeyList, i);
}

void KDdIndex::UpdateData(IDdDataDict* dict, KZString* name, long* flags, KZString* keyList) {
  KZString newName = name ? *name : m_strName;
  long newFlags = (flags ? *flags : m_lFlags) | (m_lFlags & DD_IDX_NEW);
  KZString newKeys = keyList ? *keyList : m_strKeyList;
  if (!m_pTable) dd_throw(KERR_DD_BAD_POINTER, "KDdIndex::UpdateData", "Index without a table");
  long count = m_pTable->CheckIndexArg(dict, newName, newFlags, newKeys, 0);
  m_lKeyCount = count;
  m_lFlags = newFlags;
  m_strName = newName;
  m_strKeyList = newKeys;
}

KArchive& operator>>(KArchive& ar, KDdIndex*& index) {
  index = static_cast<KDdIndex*>(ar.ReadObject(KRUNTIME_CLASS(KDdIndex)));
  return ar;
}

KIMPLEMENT_RUNTIMECLASS(KDdJoin, KObject, 1, KDdJoin::CreateObject)

KObject* KDdJoin::CreateObject() { return new KDdJoin(); }

KDdJoin::KDdJoin(long tableId, long relationId, const KZString& primaryAlias, const KZString& foreignAlias,
                 long joinFlags, const KZString& comment, KDdTable* view)
    : m_lTableId(tableId),
      m_lRelationId(relationId),
      m_strPrimaryAlias(primaryAlias),
      m_strForeignAlias(foreignAlias),
      m_lJoinFlags(joinFlags),
      m_strComment(comment),
      m_pView(view) {}

KDdJoin::KDdJoin(const KDdJoin& other, KDdTable* view) : KObject(), IDdJoin() {
  *this = other;
  m_pView = view;
}

KDdJoin& KDdJoin::operator=(const KDdJoin& other) {
  m_lTableId = other.m_lTableId;
  m_lRelationId = other.m_lRelationId;
  m_strPrimaryAlias = other.m_strPrimaryAlias;
  m_strForeignAlias = other.m_strForeignAlias;
  m_lJoinFlags = other.m_lJoinFlags;
  m_strComment = other.m_strComment;
  m_pRel = nullptr;
  m_pView = other.m_pView;
  return *this;
}

int KDdJoin::operator==(const KDdJoin& o) const {
  return m_lTableId == o.m_lTableId && m_lRelationId == o.m_lRelationId &&
         m_strPrimaryAlias.Compare(o.m_strPrimaryAlias) == 0 && m_strForeignAlias.Compare(o.m_strForeignAlias) == 0 &&
         m_lJoinFlags == o.m_lJoinFlags && m_strComment.Compare(o.m_strComment) == 0 && m_pView == o.m_pView;
}

void KDdJoin::Serialize(KArchive& ar) {
  if (ar.IsStoring()) {
    ar << m_lTableId << m_lRelationId << m_strPrimaryAlias << m_strForeignAlias << m_lJoinFlags;
    return;
  }
  ar >> m_lTableId >> m_lRelationId >> m_strPrimaryAlias >> m_strForeignAlias >> m_lJoinFlags;
  m_pRel = nullptr;
}

void KDdJoin::Write(KMsg& msg) const {
  msg.WriteLong(m_lTableId);
  msg.WriteLong(m_lRelationId);
  msg.WriteString(m_strPrimaryAlias);
  msg.WriteString(m_strForeignAlias);
  msg.WriteLong(m_lJoinFlags);
  msg.WriteString(m_strComment);
}

void KDdJoin::Read(KMsg& msg) {
  m_lTableId = dd_msg_long(msg);
  m_lRelationId = dd_msg_long(msg);
  msg.ReadString(m_strPrimaryAlias);
  msg.ReadString(m_strForeignAlias);
  m_lJoinFlags = dd_msg_long(msg);
  msg.ReadString(m_strComment);
  m_pRel = nullptr;
}

IDdTable* KDdJoin::GetView() const { return m_pView; }

IDdRelation* KDdJoin::GetRel(IDdDataDict* dict) {
  m_pRel = nullptr;
  KDdTable* table = dict ? dd_table_of(dict->FindTable(m_lTableId, 0)) : nullptr;
  if (!table) dd_throw(KERR_DD_MISSING_TABLE, "KDdJoin::GetRel", "Business Object ID=%ld", m_lTableId);
  m_pRel = table->RelationById(m_lRelationId);
  if (!m_pRel) dd_throw(KERR_DD_MISSING_RELATION, "KDdJoin::setRels", "Relation ID=%ld", m_lRelationId);
  return m_pRel;
}

KDdRelation* KDdJoin::FindRel(IDdDataDict* dict) {
  KDdTable* table = dict ? dd_table_of(dict->FindTable(m_lTableId, 0)) : nullptr;
  m_pRel = table ? table->RelationById(m_lRelationId) : nullptr;
  return m_pRel;
}

void KDdJoin::UpdateData(IDdDataDict* dict, KZString* tableName, KZString* relName, KZString* primaryAlias,
                         KZString* foreignAlias, long* joinFlags, KZString* comment) {
  KDdRelation* before = (tableName && relName) ? FindRel(dict) : static_cast<KDdRelation*>(GetRel(dict));
  KZString newTable = tableName ? *tableName : (before ? before->GetFromTableName() : KZString());
  KZString newRel = relName ? *relName : (before ? before->GetName() : KZString());
  KZString newPrimary = primaryAlias ? *primaryAlias : m_strPrimaryAlias;
  KZString newForeign = foreignAlias ? *foreignAlias : m_strForeignAlias;
  KZString newComment = comment ? *comment : m_strComment;
  long newFlags = (joinFlags ? *joinFlags : m_lJoinFlags) | (m_lJoinFlags & DD_JOIN_NEW);
  KDdTable* oldFrom = before ? before->GetOwner() : nullptr;
  KDdTable* oldInverse = before ? dd_table_of(before->GetInverseTable(dict, 0)) : nullptr;
  if (!m_pView) dd_throw(KERR_DD_BAD_POINTER, "KDdJoin::UpdateData", "Join without a view");
  m_pView->CheckJoinArg(dict, newTable, newRel, newPrimary, newForeign, newFlags, this, 0);

  KDdTable* from = dd_table_of(dict->FindTable(newTable, 1));
  KDdRelation* relation = from->LookupRelation(newRel);
  KDdTable* inverse = dd_table_of(relation->GetInverseTable(dict, 0));
  m_lTableId = from->GetId();
  m_lRelationId = relation->GetId();
  m_strPrimaryAlias = newPrimary;
  m_strForeignAlias = newForeign;
  m_lJoinFlags = newFlags;
  m_strComment = newComment;
  m_pRel = relation;
  for (KDdTable* old : {oldFrom, oldInverse}) {
    if (old && !m_pView->TableIdInUse(dict, old->GetId())) old->RemoveViewId(m_pView->GetId());
  }
  from->AddViewArray(m_pView->GetId());
  if (inverse) inverse->AddViewArray(m_pView->GetId());
}

KArchive& operator>>(KArchive& ar, KDdJoin*& join) {
  join = static_cast<KDdJoin*>(ar.ReadObject(KRUNTIME_CLASS(KDdJoin)));
  return ar;
}

} // namespace KCLASSIC
