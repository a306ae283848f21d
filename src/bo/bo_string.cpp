// The string record and the collection of one subsystem's strings, in
// message and archive form.
#include "bo/bo_string.h"

#include "bo/bo_choice_io.h"

namespace KCLASSIC {

KIMPLEMENT_RUNTIMECLASS(KDdString, KObject, 1, KDdString::CreateObject)
KIMPLEMENT_DYNAMIC(KDdStringCollections, KObject)

KObject* KDdString::CreateObject() { return new KDdString(); }

KDdString::KDdString(long id, const KZString& text, const KZString& stringId)
    : m_lId(int32_t(id)), m_strText(text), m_strStringId(stringId) {}

KDdString::KDdString(KMsg& msg) { Read(msg); }

KDdString& KDdString::operator=(const KDdString& other) {
  m_lId = other.m_lId;
  m_strText = other.m_strText;
  m_strStringId = other.m_strStringId;
  return *this;
}

int KDdString::operator==(const KDdString& other) const {
  return m_lId == other.m_lId && m_strText.Compare(other.m_strText) == 0;
}

void KDdString::Serialize(KArchive& ar) {
  if (ar.IsStoring()) {
    ar << m_lId << m_strText << m_strStringId;
  } else {
    ar >> m_lId >> m_strText >> m_strStringId;
  }
}

void KDdString::Write(KMsg& msg) const {
  msg.WriteLong(m_lId);
  msg.WriteString(m_strText);
  msg.WriteString(m_strStringId);
}

void KDdString::Read(KMsg& msg) {
  m_lId = bo_choice_read_long(msg);
  msg.ReadString(m_strText);
  msg.ReadString(m_strStringId);
}

KArchive& operator>>(KArchive& ar, KDdString*& string) {
  string = static_cast<KDdString*>(ar.ReadObject(KRUNTIME_CLASS(KDdString)));
  return ar;
}

// The destructor does not run for a constructor that throws: what was read
// before the failure is freed here.
KDdStringCollections::KDdStringCollections(KMsg& msg) {
  try {
    Read(msg);
  } catch (...) {
    DeleteContents();
    throw;
  }
}

KDdStringCollections::~KDdStringCollections() { DeleteContents(); }

void KDdStringCollections::DeleteContents() {
  for (int i = 0; i < m_arrStrings.GetSize(); ++i) delete m_arrStrings[i];
  m_arrStrings.RemoveAll();
}

KDdString* KDdStringCollections::GetAt(int index) const {
  return index >= 0 && index < m_arrStrings.GetSize() ? m_arrStrings[index] : nullptr;
}

void KDdStringCollections::SetAt(int index, KDdString* record) {
  if (index < 0) throw new KErr(KERR_ILLEGAL_ARGUMENT, "KDdStringCollections::SetAt");
  if (index < m_arrStrings.GetSize()) delete m_arrStrings[index];
  m_arrStrings.SetAtGrow(index, record);
}

KDdStringCollections& KDdStringCollections::operator=(const KDdStringCollections& other) {
  if (this == &other) return *this;
  DeleteContents();
  m_lSubsystem = other.m_lSubsystem;
  m_arrStrings.SetSize(other.m_arrStrings.GetSize());
  for (int i = 0; i < other.m_arrStrings.GetSize(); ++i)
    m_arrStrings[i] = other.m_arrStrings[i] ? new KDdString(*other.m_arrStrings[i]) : nullptr;
  return *this;
}

int KDdStringCollections::operator==(const KDdStringCollections& other) const {
  if (m_lSubsystem != other.m_lSubsystem || m_arrStrings.GetSize() != other.m_arrStrings.GetSize()) return 0;
  for (int i = 0; i < m_arrStrings.GetSize(); ++i)
    if (m_arrStrings[i] != other.m_arrStrings[i]) return 0;
  return 1;
}

int KDdStringCollections::CountRecords() const {
  int count = 0;
  for (int i = 0; i < m_arrStrings.GetSize(); ++i) count += m_arrStrings[i] != nullptr;
  return count;
}

void KDdStringCollections::Serialize(KArchive& ar) {
  if (ar.IsStoring()) {
    ar.Put32(uint32_t(m_lSubsystem)).Put32(uint32_t(CountRecords()));
    for (int i = 0; i < m_arrStrings.GetSize(); ++i)
      if (m_arrStrings[i]) m_arrStrings[i]->Serialize(ar);
    return;
  }
  DeleteContents();
  m_lSubsystem = int32_t(ar.Get32());
  int32_t count = bo_choice_count(ar.Get32());
  for (int32_t i = 0; i < count; ++i) m_arrStrings.Add(bo_compnt_load_one<KDdString>(ar));
}

void KDdStringCollections::Write(KMsg& msg) const {
  msg.WriteLong(m_lSubsystem);
  msg.WriteLong(CountRecords());
  for (int i = 0; i < m_arrStrings.GetSize(); ++i)
    if (m_arrStrings[i]) m_arrStrings[i]->Write(msg);
}

void KDdStringCollections::Read(KMsg& msg) {
  DeleteContents();
  m_lSubsystem = bo_choice_read_long(msg);
  int32_t count = bo_choice_count(uint32_t(bo_choice_read_long(msg)));
  for (int32_t i = 0; i < count; ++i) {
    KDdString* record = new KDdString();
    try {
      record->Read(msg);
    } catch (...) {
      delete record;
      throw;
    }
    m_arrStrings.Add(record);
  }
}

} // namespace KCLASSIC
