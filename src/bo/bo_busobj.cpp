#include "bo/bo_busobj.h"

#include "bo/bo_choice_io.h"

namespace KCLASSIC {

KIMPLEMENT_RUNTIMECLASS(KDdBusObj, KObject, 1, KDdBusObj::CreateObject)

KObject* KDdBusObj::CreateObject() { return new KDdBusObj(); }

KDdBusObj::KDdBusObj(const KZString& name, long id, long tableId, KZString secondName)
    : m_strName(name), m_lId(int32_t(id)), m_lTableId(int32_t(tableId)), m_strSecondName(secondName) {}

KDdBusObj& KDdBusObj::operator=(const KDdBusObj& other) {
  m_strName = other.m_strName;
  m_lId = other.m_lId;
  m_lTableId = other.m_lTableId;
  m_strSecondName = other.m_strSecondName;
  return *this;
}

int KDdBusObj::operator==(const KDdBusObj& other) const {
  return m_strName.Compare(other.m_strName) == 0 && m_lId == other.m_lId && m_lTableId == other.m_lTableId &&
         m_strSecondName.Compare(other.m_strSecondName) == 0;
}

void KDdBusObj::Serialize(KArchive& ar) {
  if (ar.IsStoring()) {
    ar << m_strName;
    ar.Put32(uint32_t(m_lId)).Put32(uint32_t(m_lTableId));
    ar << m_strSecondName;
  } else {
    ar >> m_strName;
    m_lId = int32_t(ar.Get32());
    m_lTableId = int32_t(ar.Get32());
    ar >> m_strSecondName;
  }
}

void KDdBusObj::Write(KMsg& msg) const {
  msg.WriteString(m_strName);
  msg.WriteLong(m_lId);
  msg.WriteLong(m_lTableId);
  msg.WriteString(m_strSecondName);
}

void KDdBusObj::Read(KMsg& msg) {
  msg.ReadString(m_strName);
  m_lId = bo_choice_read_long(msg);
  m_lTableId = bo_choice_read_long(msg);
  msg.ReadString(m_strSecondName);
}

IDdTable* KDdBusObj::GetTable(IDdDataDict* dict) { return dict->FindTable(long(m_lTableId), 0); }

IDdRelation* KDdBusObj::FindRelation(IDdDataDict* dict, const KZString& name) {
  IDdTable* table = GetTable(dict);
  return table ? table->FindRelation(dict, name) : nullptr;
}

IDdRelation* KDdBusObj::FindRelation(IDdDataDict* dict, long id) {
  IDdTable* table = GetTable(dict);
  return table ? table->FindRelation(dict, id) : nullptr;
}

KArchive& operator>>(KArchive& ar, KDdBusObj*& busObj) {
  busObj = static_cast<KDdBusObj*>(ar.ReadObject(KRUNTIME_CLASS(KDdBusObj)));
  return ar;
}

} // namespace KCLASSIC
