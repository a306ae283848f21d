#include "bo/bo_ddfield.h"

#include "bo/bo_dd.h"
#include "bo/bo_ddutil.h"
#include "kclassic/kc_mb.h"

namespace KCLASSIC {

namespace {
constexpr long KERR_DD_NOT_CHOICE = 0x8B0019F;
} // namespace

KIMPLEMENT_RUNTIMECLASS(KDdField, KObject, 1, KDdField::CreateObject)

KObject* KDdField::CreateObject() { return new KDdField(); }

KDdField::KDdField(const KZString& physicalName, const KZString& name, long tableId, long dbType, long arraySize,
                   long decPrecision, long decScale, long flags, long cmnType, long genericId, long id,
                   const KZString& defaultValue, const KZString& comment, KDdTable* table)
    : m_lId(id),
      m_lGenericId(genericId),
      m_strName(name),
      m_strPhysicalName(physicalName),
      m_strOldName(physicalName),
      m_lTableId(tableId),
      m_strDefaultValue(defaultValue),
      m_lDBType(dbType),
      m_lOrigDBType(dbType),
      m_lArraySize(arraySize),
      m_lDecPrecision(decPrecision),
      m_lDecScale(decScale),
      m_lFlags(flags),
      m_lCmnType(cmnType),
      m_strComment(comment),
      m_pTable(table) {
  if (flags & DD_FLD_CURRENCY) m_lDBType = DD_DBTYPE_CURRENCY;
}

KDdField::KDdField(const KDdField& other, const char* name) : KObject(), IDdField() {
  *this = other;
  m_strName = name;
}

KDdField::KDdField(KMsg& msg, KDdTable* table) {
  Read(msg);
  m_pTable = table;
  m_pOriginField = nullptr;
}

KDdField& KDdField::operator=(const KDdField& other) {
  if (this == &other) return *this;
  m_lId = other.m_lId;
  m_lGenericId = other.m_lGenericId;
  m_strName = other.m_strName;
  m_strPhysicalName = other.m_strPhysicalName;
  m_lTableId = other.m_lTableId;
  m_strDefaultValue = other.m_strDefaultValue;
  m_lDBType = other.m_lDBType;
  m_lOrigDBType = other.m_lOrigDBType;
  m_lArraySize = other.m_lArraySize;
  m_lDecPrecision = other.m_lDecPrecision;
  m_lDecScale = other.m_lDecScale;
  m_lFlags = other.m_lFlags;
  m_lCmnType = other.m_lCmnType;
  m_strComment = other.m_strComment;
  m_lOriginTableId = other.m_lOriginTableId;
  m_lOriginFieldId = other.m_lOriginFieldId;
  m_pOriginField = nullptr;
  m_strSrcAlias = other.m_strSrcAlias;
  m_pTable = other.m_pTable;
  m_bIsChoice = other.m_bIsChoice;
  m_strChoiceTableName = other.m_strChoiceTableName;
  m_strChoiceRelName = other.m_strChoiceRelName;
  m_strDefaultChoiceListName = other.m_strDefaultChoiceListName;
  return *this;
}

int KDdField::operator==(const KDdField& o) const {
  return m_lId == o.m_lId && m_lGenericId == o.m_lGenericId && m_strName.Compare(o.m_strName) == 0 &&
         m_strPhysicalName.Compare(o.m_strPhysicalName) == 0 && m_lTableId == o.m_lTableId &&
         m_strDefaultValue.Compare(o.m_strDefaultValue) == 0 && m_lDBType == o.m_lDBType &&
         m_lOrigDBType == o.m_lOrigDBType && m_lArraySize == o.m_lArraySize &&
         m_lDecPrecision == o.m_lDecPrecision && m_lDecScale == o.m_lDecScale && m_lFlags == o.m_lFlags &&
         m_lCmnType == o.m_lCmnType && m_strComment.Compare(o.m_strComment) == 0 &&
         m_lOriginTableId == o.m_lOriginTableId && m_lOriginFieldId == o.m_lOriginFieldId &&
         m_strSrcAlias.Compare(o.m_strSrcAlias) == 0 && m_pTable == o.m_pTable && m_bIsChoice == o.m_bIsChoice &&
         m_strChoiceTableName.Compare(o.m_strChoiceTableName) == 0 &&
         m_strChoiceRelName.Compare(o.m_strChoiceRelName) == 0 &&
         m_strDefaultChoiceListName.Compare(o.m_strDefaultChoiceListName) == 0;
}

void KDdField::Serialize(KArchive& ar) {
  if (ar.IsStoring()) {
    ar << m_strPhysicalName << m_strName << m_lTableId << m_lDBType << m_lOrigDBType << m_lArraySize
       << m_lDecPrecision << m_lDecScale << m_lFlags << m_lCmnType << m_lGenericId << m_lId << m_strDefaultValue
       << m_lOriginTableId << m_lOriginFieldId << m_strSrcAlias << long(m_bIsChoice) << m_strChoiceTableName
       << m_strChoiceRelName << m_strDefaultChoiceListName;
    return;
  }
  long isChoice = 0;
  ar >> m_strPhysicalName >> m_strName >> m_lTableId >> m_lDBType >> m_lOrigDBType >> m_lArraySize >>
      m_lDecPrecision >> m_lDecScale >> m_lFlags >> m_lCmnType >> m_lGenericId >> m_lId >> m_strDefaultValue >>
      m_lOriginTableId >> m_lOriginFieldId >> m_strSrcAlias >> isChoice >> m_strChoiceTableName >>
      m_strChoiceRelName >> m_strDefaultChoiceListName;
  m_bIsChoice = int(isChoice);
  m_pOriginField = nullptr;
}

void KDdField::Write(KMsg& msg) const {
  msg.WriteString(m_strPhysicalName);
  msg.WriteString(m_strName);
  msg.WriteString(m_strOldName);
  msg.WriteLong(m_lTableId);
  msg.WriteLong(m_lDBType);
  msg.WriteLong(m_lOrigDBType);
  msg.WriteLong(m_lArraySize);
  msg.WriteLong(m_lDecPrecision);
  msg.WriteLong(m_lDecScale);
  msg.WriteLong(m_lFlags);
  msg.WriteLong(m_lCmnType);
  msg.WriteLong(m_lGenericId);
  msg.WriteLong(m_lId);
  msg.WriteString(m_strDefaultValue);
  msg.WriteString(m_strComment);
  msg.WriteLong(m_lOriginTableId);
  msg.WriteLong(m_lOriginFieldId);
  msg.WriteString(m_strSrcAlias);
  msg.WriteLong(m_bIsChoice);
  msg.WriteString(m_strChoiceTableName);
  msg.WriteString(m_strChoiceRelName);
  msg.WriteString(m_strDefaultChoiceListName);
}

void KDdField::Read(KMsg& msg) {
  msg.ReadString(m_strPhysicalName);
  msg.ReadString(m_strName);
  msg.ReadString(m_strOldName);
  m_lTableId = dd_msg_long(msg);
  m_lDBType = dd_msg_long(msg);
  m_lOrigDBType = dd_msg_long(msg);
  m_lArraySize = dd_msg_long(msg);
  m_lDecPrecision = dd_msg_long(msg);
  m_lDecScale = dd_msg_long(msg);
  m_lFlags = dd_msg_long(msg);
  m_lCmnType = dd_msg_long(msg);
  m_lGenericId = dd_msg_long(msg);
  m_lId = dd_msg_long(msg);
  msg.ReadString(m_strDefaultValue);
  msg.ReadString(m_strComment);
  m_lOriginTableId = dd_msg_long(msg);
  m_lOriginFieldId = dd_msg_long(msg);
  msg.ReadString(m_strSrcAlias);
  m_bIsChoice = int(dd_msg_long(msg));
  msg.ReadString(m_strChoiceTableName);
  msg.ReadString(m_strChoiceRelName);
  msg.ReadString(m_strDefaultChoiceListName);
  m_pOriginField = nullptr;
}

IDdTable* KDdField::GetTable() const { return m_pTable; }

int KDdField::IsForeignKey(int* required, int* otop) const {
  if (required) *required = (m_lFlags & DD_FLD_FK_REQUIRED) ? 1 : 0;
  if (otop) *otop = (m_lFlags & DD_FLD_FK_OTOP) ? 1 : 0;
  return (m_lFlags & DD_FLD_FOREIGN_KEY) ? 1 : 0;
}

int KDdField::IsKeyField() const {
  if (m_lDBType != 0) return 0;
  if (m_pTable && m_pTable->IsView()) return m_lGenericId == DD_GENID_VIEW_KEY;
  return GetName().CompareNoCase("ObjId") == 0;
}

int KDdField::IsObjidType() const {
  if (IsKeyField() || IsForeignKey(nullptr, nullptr)) return 1;
  if (m_pTable && m_pTable->IsView() && m_pOriginField)
    return m_pOriginField->IsKeyField() || m_pOriginField->IsForeignKey(nullptr, nullptr);
  return 0;
}

IDdField* KDdField::GetOriginField(IDdDataDict* dict, long fetch) {
  if (m_pOriginField) return m_pOriginField;
  if (m_lOriginTableId == DD_NO_ID && m_lOriginFieldId == DD_NO_ID) return nullptr;
  if (m_lOriginTableId == m_lTableId && m_lOriginFieldId == m_lId) return nullptr;
  if (!dict) return nullptr;
  IDdTable* table = dict->FindTable(m_lOriginTableId, int(fetch));
  if (!table) return nullptr;
  IDdField* found = table->FindField(m_lOriginFieldId);
  m_pOriginField = dynamic_cast<KDdField*>(found);
  return found;
}

void KDdField::SetViewInfo(long originTableId, long originFieldId, const KZString& srcAlias,
                           const KZString& comment) {
  m_lOriginTableId = originTableId;
  m_lOriginFieldId = originFieldId;
  m_strSrcAlias = srcAlias;
  m_strComment = comment;
  m_pOriginField = nullptr;
}

void KDdField::CheckChoice(const char* method) const {
  if (!m_bIsChoice) throw new KErr(KERR_DD_NOT_CHOICE, method, GetName());
}

KZString& KDdField::GetChoiceTableName() {
  CheckChoice("KDdField::GetChoiceTableName");
  return m_strChoiceTableName;
}

KZString& KDdField::GetChoiceRelName() {
  CheckChoice("KDdField::GetChoiceRelName");
  return m_strChoiceRelName;
}

KZString& KDdField::GetDefaultChoiceListName() {
  CheckChoice("KDdField::GetDefaultChoiceListName");
  return m_strDefaultChoiceListName;
}

KArchive& operator>>(KArchive& ar, KDdField*& field) {
  field = static_cast<KDdField*>(ar.ReadObject(KRUNTIME_CLASS(KDdField)));
  return ar;
}

} // namespace KCLASSIC
