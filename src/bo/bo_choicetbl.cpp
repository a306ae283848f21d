#include "bo/bo_choicetbl.h"

#include <algorithm>

#include "kclassic/kc_err.h"

namespace KCLASSIC {

KIMPLEMENT_RUNTIMECLASS(KDdChoiceTable, KObject, 1, KDdChoiceTable::CreateObject)

KObject* KDdChoiceTable::CreateObject() { return new KDdChoiceTable(); }

KDdChoiceTable::KDdChoiceTable() { m_listChoices.MarkView(); }

KDdChoiceTable::KDdChoiceTable(const KZString& name, const KZString& detailName)
    : m_strName(name), m_strDetailName(detailName) {
  m_listChoices.MarkView();
}

// A table that fails to read deletes the choices it read so far.
KDdChoiceTable::KDdChoiceTable(KMsg& msg) {
  m_listChoices.MarkView();
  try {
    Read(msg);
  } catch (...) {
    DeleteChoices();
    throw;
  }
}

KDdChoiceTable::~KDdChoiceTable() { DeleteChoices(); }

void KDdChoiceTable::DeleteChoices() {
  for (long i = m_listChoices.GetCount() - 1; i >= 0; --i) delete GetChoice(i);
  m_listChoices.DetachChoices();
  m_mapChoiceIndex.RemoveAll();
}

int KDdChoiceTable::operator==(const KDdChoiceTable& other) const {
  if (m_strName.Compare(other.m_strName) != 0 || m_strDetailName.Compare(other.m_strDetailName) != 0 ||
      !(m_listChoices == other.m_listChoices) || m_arrGroups.GetSize() != other.m_arrGroups.GetSize() ||
      m_mapChoiceIndex.GetCount() != other.m_mapChoiceIndex.GetCount())
    return 0;
  for (int i = 0; i < m_arrGroups.GetSize(); ++i) {
    const KGroupInfo& a = m_arrGroups[i];
    const KGroupInfo& b = other.m_arrGroups[i];
    if (a.m_strName.Compare(b.m_strName) != 0 || a.m_lFirst != b.m_lFirst || a.m_lCount != b.m_lCount ||
        a.m_lDefault != b.m_lDefault)
      return 0;
  }
  KPOSITION pos = m_mapChoiceIndex.GetStartPosition();
  while (pos) {
    long id = 0, index = 0, otherIndex = 0;
    m_mapChoiceIndex.GetNextAssoc(pos, id, index);
    if (!other.m_mapChoiceIndex.Lookup(id, otherIndex) || otherIndex != index) return 0;
  }
  return 1;
}

long KDdChoiceTable::AddChoice(KDdChoice* choice) {
  long index = m_listChoices.AddChoice(choice);
  if (choice) m_mapChoiceIndex.SetAt(choice->GetId(), index);
  return index;
}

void KDdChoiceTable::SetDefaultIndex(long index) { m_listChoices.SetDefaultIndex(index); }

void KDdChoiceTable::AppendGroup(const KGroupInfo& group) {
  KGroupInfo copy = group;
  int index = m_arrGroups.Add(copy);
  m_mapGroupIndex.SetAt(group.m_strName, index);
}

void KDdChoiceTable::AddGroup(KZString& name, long first, long count, long defaultIndex) {
  KGroupInfo group;
  group.m_strName = name;
  group.m_lFirst = int32_t(first);
  group.m_lCount = int32_t(count);
  group.m_lDefault = int32_t(defaultIndex);
  AppendGroup(group);
}

KDdChoice* KDdChoiceTable::GetChoice(long index) const {
  return static_cast<KDdChoice*>(m_listChoices.GetChoice(index));
}

IDdChoice* KDdChoiceTable::FindChoice(long id) {
  long index = 0;
  IDdChoice* choice = m_mapChoiceIndex.Lookup(id, index) ? GetChoice(index) : nullptr;
  if (choice) return choice;
  KZString text;
  text.Format("%ld", id);
  throw new KErr(KERR_DD_CHOICE_NOT_FOUND, "KDdChoiceTable::FindChoice", text);
}

const KDdChoiceTable::KGroupInfo* KDdChoiceTable::SelectGroup(const KZString& group, const char* method) const {
  bool hasGroups = m_arrGroups.GetSize() > 0;
  if (hasGroups == group.IsEmpty()) throw new KErr(KERR_ILLEGAL_ARGUMENT, method);
  if (!hasGroups) return nullptr;
  long index = 0;
  if (!m_mapGroupIndex.Lookup(group, index) || index < 0 || index >= m_arrGroups.GetSize())
    throw new KErr(KERR_DD_CHOICE_GROUP_NOT_FOUND, method, group, m_strName);
  return &m_arrGroups[int(index)];
}

IDdChoiceList* KDdChoiceTable::GetChoiceList(KZString& group, long currentId) {
  const KGroupInfo* info = SelectGroup(group, "KDdChoiceTable::FindChoice");
  long count = m_listChoices.GetCount();
  long first = info ? std::max<long>(info->m_lFirst, 0) : 0;
  long end = info ? std::min<long>(long(info->m_lFirst) + info->m_lCount, count) : count;
  long defaultIndex = info ? info->m_lDefault : m_listChoices.GetDefaultIndex();
  auto* list = new KDdChoiceList(0, KZString(), 0);
  for (long i = first; i < end; ++i) {
    KDdChoice* choice = GetChoice(i);
    if (!choice) continue;
    bool current = currentId != BO_NO_CURRENT_CHOICE && currentId == choice->GetId();
    if (choice->IsInactive() && !current) continue;
    list->AddChoice(choice);
    if (i == defaultIndex) list->SetDefaultIndex(list->GetCount() - 1);
  }
  return list;
}

KZString& KDdChoiceTable::GetChoiceListName(IDdChoice* choice) {
  long index = choice ? choice->GetChoiceListIndex() : -1;
  if (index < 0 || index >= m_arrGroups.GetSize())
    throw new KErr(KERR_ILLEGAL_ARGUMENT, "KDdChoiceTable::GetChoiceListName", "choice list index");
  return m_arrGroups[int(index)].m_strName;
}

IDdChoice* KDdChoiceTable::GetDefaultChoice(KZString& group) {
  const KGroupInfo* info = SelectGroup(group, "KDdChoiceTable::GetDefaultChoice");
  return GetChoice(info ? info->m_lDefault : m_listChoices.GetDefaultIndex());
}

KArchive& operator>>(KArchive& ar, KDdChoiceTable*& table) {
  table = static_cast<KDdChoiceTable*>(ar.ReadObject(KRUNTIME_CLASS(KDdChoiceTable)));
  return ar;
}

} // namespace KCLASSIC
