#include "bo/bo_choice.h"
#include "bo/bo_choice_io.h"
#include "bo/bo_compnt.h"
#include "kclassic/kc_err.h"

namespace KCLASSIC {

KIMPLEMENT_RUNTIMECLASS(KDdChoiceList, KObject, 1, KDdChoiceList::CreateObject)

KObject* KDdChoiceList::CreateObject() { return new KDdChoiceList(); }

KDdChoiceList::KDdChoiceList(long id, const KZString& name, long showId)
    : m_strName(name), m_lId(int32_t(id)), m_lShowId(int32_t(showId)) {}

// A list that fails to read deletes the choices it read so far.
KDdChoiceList::KDdChoiceList(KMsg& msg) {
  try {
    Read(msg);
  } catch (...) {
    DeleteChoices();
    throw;
  }
}

KDdChoiceList::~KDdChoiceList() {
  if (OwnsChoices()) DeleteChoices();
  m_arrChoices.RemoveAll();
}

void KDdChoiceList::DeleteChoices() {
  for (int i = 0; i < m_arrChoices.GetSize(); ++i) delete m_arrChoices[i];
  m_arrChoices.RemoveAll();
}

int KDdChoiceList::OwnsChoices() const {
  if (m_eOwnership == eViewOnly) return 0;
  return m_eOwnership == eOwnsChoices || m_lShowId != 0;
}

void KDdChoiceList::TakeChoices() {
  if (m_eOwnership == eByShowId) m_eOwnership = eOwnsChoices;
}

void KDdChoiceList::MarkView() {
  m_eOwnership = eViewOnly;
  m_bHeld = 1;
}

int KDdChoiceList::operator==(const KDdChoiceList& other) const {
  if (m_strName.Compare(other.m_strName) != 0 || m_lId != other.m_lId || m_lShowId != other.m_lShowId ||
      m_lDefault != other.m_lDefault || m_arrChoices.GetSize() != other.m_arrChoices.GetSize())
    return 0;
  for (int i = 0; i < m_arrChoices.GetSize(); ++i) {
    const KDdChoice* a = m_arrChoices[i];
    const KDdChoice* b = other.m_arrChoices[i];
    if (!a || !b ? a != b : !(*a == *b)) return 0;
  }
  return 1;
}

IDdChoice* KDdChoiceList::GetChoice(long index) const {
  if (index < 0 || index >= m_arrChoices.GetSize()) return nullptr;
  return m_arrChoices[int(index)];
}

IDdChoice* KDdChoiceList::GetChoiceByRank(long rank) const {
  long count = GetCount();
  for (long i = 0; i < count; ++i) {
    IDdChoice* choice = GetChoice(i);
    if (choice && choice->GetRank() == rank) return choice;
  }
  return nullptr;
}

void KDdChoiceList::Release() {
  if (m_lShowId == 0 && !m_bHeld) delete this;
}

long KDdChoiceList::AddChoice(KDdChoice* choice) {
  int index = m_arrChoices.GetSize();
  m_arrChoices.SetAtGrow(index, choice);
  return index;
}

KDdChoice& KDdChoiceList::ChoiceToWrite(int index, const char* method) const {
  KDdChoice* choice = m_arrChoices[index];
  if (!choice) throw new KErr(KERR_ILLEGAL_ARGUMENT, method, "empty choice");
  return *choice;
}

void KDdChoiceList::AdoptRead(KDdChoice* choice) {
  TakeChoices();
  choice->SetChoiceList(this);
  AddChoice(choice);
}

void KDdChoiceList::Write(KMsg& msg) {
  msg.WriteString(m_strName);
  msg.WriteLong(m_lId);
  msg.WriteLong(m_lShowId);
  msg.WriteLong(m_lDefault);
  msg.WriteLong(GetCount());
  for (int i = 0; i < m_arrChoices.GetSize(); ++i) ChoiceToWrite(i, "KDdChoiceList::Write").Write(msg);
}

void KDdChoiceList::Read(KMsg& msg) {
  msg.ReadString(m_strName);
  m_lId = bo_choice_read_long(msg);
  m_lShowId = bo_choice_read_long(msg);
  m_lDefault = bo_choice_read_long(msg);
  int32_t count = bo_choice_count(uint32_t(bo_choice_read_long(msg)));
  for (int32_t i = 0; i < count; ++i) AdoptRead(new KDdChoice(msg));
}

void KDdChoiceList::Serialize(KArchive& ar) {
  if (ar.IsStoring()) {
    ar << m_strName;
    ar.Put32(uint32_t(m_lId)).Put32(uint32_t(m_lShowId)).Put32(uint32_t(m_lDefault));
    ar.Put32(uint32_t(GetCount()));
    for (int i = 0; i < m_arrChoices.GetSize(); ++i) ChoiceToWrite(i, "KDdChoiceList::Serialize").Serialize(ar);
    return;
  }
  ar >> m_strName;
  m_lId = int32_t(ar.Get32());
  m_lShowId = int32_t(ar.Get32());
  m_lDefault = int32_t(ar.Get32());
  int32_t count = bo_choice_count(ar.Get32());
  for (int32_t i = 0; i < count; ++i) AdoptRead(bo_compnt_load_one<KDdChoice>(ar));
}

KArchive& operator>>(KArchive& ar, KDdChoiceList*& list) {
  list = static_cast<KDdChoiceList*>(ar.ReadObject(KRUNTIME_CLASS(KDdChoiceList)));
  return ar;
}

} // namespace KCLASSIC
