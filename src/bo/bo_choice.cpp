#include "bo/bo_choice.h"

#include "bo/bo_choice_io.h"
#include "bo/bo_compnt.h"

namespace KCLASSIC {

KIMPLEMENT_RUNTIMECLASS(KDdChoice, KObject, 1, KDdChoice::CreateObject)

KObject* KDdChoice::CreateObject() { return new KDdChoice(); }

KDdChoice::KDdChoice(long listIndex, long id, KZString& title, long rank, long state, KZString& description,
                     int inactive)
    : m_lChoiceListIndex(int32_t(listIndex)),
      m_lId(int32_t(id)),
      m_strTitle(title),
      m_lRank(int32_t(rank)),
      m_lState(int32_t(state)),
      m_strDescription(description),
      m_bInactive(inactive) {}

KDdChoice::KDdChoice(KDdChoiceList* owner, long id, KZString& title, long rank, KZString& stateText,
                     KZString& description, int inactive)
    : m_pChoiceList(owner),
      m_lId(int32_t(id)),
      m_strTitle(title),
      m_lRank(int32_t(rank)),
      m_strState(stateText),
      m_strDescription(description),
      m_bInactive(inactive) {}

KDdChoice::KDdChoice(KMsg& msg) { Read(msg); }

KDdChoice::~KDdChoice() { DropChild(); }

void KDdChoice::DropChild() {
  delete m_pChildList;
  m_pChildList = nullptr;
}

IDdChoiceList* KDdChoice::GetChoiceList() const { return m_pChoiceList; }

IDdChoiceList* KDdChoice::GetChildChoiceList() const { return m_pChildList; }

void KDdChoice::SetChildChoiceList(KDdChoiceList* list) {
  if (list) list->MarkHeld();
  m_pChildList = list;
}

int KDdChoice::operator==(const KDdChoice& other) const {
  if (m_lChoiceListIndex != other.m_lChoiceListIndex || m_lId != other.m_lId || m_lRank != other.m_lRank ||
      m_lState != other.m_lState || m_bInactive != other.m_bInactive)
    return 0;
  if (m_strTitle.Compare(other.m_strTitle) != 0 || m_strState.Compare(other.m_strState) != 0 ||
      m_strDescription.Compare(other.m_strDescription) != 0)
    return 0;
  if (!m_pChildList || !other.m_pChildList) return m_pChildList == other.m_pChildList;
  return *m_pChildList == *other.m_pChildList;
}

void KDdChoice::Write(KMsg& msg) {
  msg.WriteLong(m_lChoiceListIndex);
  msg.WriteLong(m_lId);
  msg.WriteString(m_strTitle);
  msg.WriteLong(m_lRank);
  msg.WriteLong(m_lState);
  msg.WriteString(m_strState);
  msg.WriteString(m_strDescription);
  msg.WriteLong(m_bInactive);
  msg.WriteLong(m_pChildList ? BO_CHOICE_HAS_CHILD : BO_CHOICE_NO_CHILD);
  if (m_pChildList) m_pChildList->Write(msg);
}

void KDdChoice::Read(KMsg& msg) {
  m_pChoiceList = nullptr;
  DropChild();
  m_lChoiceListIndex = bo_choice_read_long(msg);
  m_lId = bo_choice_read_long(msg);
  msg.ReadString(m_strTitle);
  m_lRank = bo_choice_read_long(msg);
  m_lState = bo_choice_read_long(msg);
  msg.ReadString(m_strState);
  msg.ReadString(m_strDescription);
  m_bInactive = bo_choice_read_long(msg);
  if (bo_choice_read_long(msg) != BO_CHOICE_NO_CHILD) SetChildChoiceList(new KDdChoiceList(msg));
}

void KDdChoice::Serialize(KArchive& ar) {
  if (ar.IsStoring()) {
    ar.Put32(uint32_t(m_lChoiceListIndex)).Put32(uint32_t(m_lId));
    ar << m_strTitle;
    ar.Put32(uint32_t(m_lRank)).Put32(uint32_t(m_lState));
    ar << m_strState << m_strDescription;
    ar.Put32(uint32_t(m_bInactive));
    ar.Put32(uint32_t(m_pChildList ? BO_CHOICE_HAS_CHILD : BO_CHOICE_NO_CHILD));
    if (m_pChildList) m_pChildList->Serialize(ar);
    return;
  }
  m_pChoiceList = nullptr;
  DropChild();
  m_lChoiceListIndex = int32_t(ar.Get32());
  m_lId = int32_t(ar.Get32());
  ar >> m_strTitle;
  m_lRank = int32_t(ar.Get32());
  m_lState = int32_t(ar.Get32());
  ar >> m_strState >> m_strDescription;
  m_bInactive = int32_t(ar.Get32());
  if (int32_t(ar.Get32()) == BO_CHOICE_NO_CHILD) return;
  SetChildChoiceList(bo_compnt_load_one<KDdChoiceList>(ar));
}

KArchive& operator>>(KArchive& ar, KDdChoice*& choice) {
  choice = static_cast<KDdChoice*>(ar.ReadObject(KRUNTIME_CLASS(KDdChoice)));
  return ar;
}

} // namespace KCLASSIC
