// The message and archive forms of a choice table, and the check of what
// they bring in against the table's pool of choices.
#include "bo/bo_choice_io.h"
#include "bo/bo_choicetbl.h"
#include "kclassic/kc_err.h"

namespace KCLASSIC {

namespace {

// A default index fits a pool of count choices when it points into it; an
// empty pool has only the default 0.
bool default_fits(long index, long count) { return (index >= 0 && index < count) || (count == 0 && index == 0); }

bool group_fits(const KDdChoiceTable::KGroupInfo& g, long count) {
  if (g.m_lFirst < 0 || g.m_lCount < 0 || long(g.m_lFirst) + long(g.m_lCount) > count) return false;
  return default_fits(g.m_lDefault, count);
}

} // namespace

void KDdChoiceTable::CheckAgainstPool(const char* method) const {
  long count = m_listChoices.GetCount();
  for (int i = 0; i < m_arrGroups.GetSize(); ++i)
    if (!group_fits(m_arrGroups[i], count)) throw new KErr(KERR_ILLEGAL_ARGUMENT, method, "choice group");
  if (!default_fits(m_listChoices.GetDefaultIndex(), count))
    throw new KErr(KERR_ILLEGAL_ARGUMENT, method, "default choice");
  KPOSITION pos = m_mapChoiceIndex.GetStartPosition();
  while (pos) {
    long id = 0, index = 0;
    m_mapChoiceIndex.GetNextAssoc(pos, id, index);
    if (index < 0 || index >= count) throw new KErr(KERR_ILLEGAL_ARGUMENT, method, "choice index");
  }
}

void KDdChoiceTable::Write(KMsg& msg) {
  msg.WriteString(m_strName);
  msg.WriteString(m_strDetailName);
  msg.WriteLong(m_arrGroups.GetSize());
  for (int i = 0; i < m_arrGroups.GetSize(); ++i) {
    const KGroupInfo& g = m_arrGroups[i];
    msg.WriteString(g.m_strName);
    msg.WriteLong(g.m_lFirst);
    msg.WriteLong(g.m_lCount);
    msg.WriteLong(g.m_lDefault);
  }
  long count = m_listChoices.GetCount();
  msg.WriteLong(count);
  for (long i = 0; i < count; ++i) {
    KDdChoice* choice = GetChoice(i);
    if (!choice) throw new KErr(KERR_ILLEGAL_ARGUMENT, "KDdChoiceTable::Write", "empty choice");
    choice->Write(msg);
  }
  msg.WriteLong(m_listChoices.GetDefaultIndex());
}

void KDdChoiceTable::Read(KMsg& msg) {
  msg.ReadString(m_strName);
  msg.ReadString(m_strDetailName);
  int32_t groups = bo_choice_count(uint32_t(bo_choice_read_long(msg)));
  for (int32_t i = 0; i < groups; ++i) {
    KGroupInfo g;
    msg.ReadString(g.m_strName);
    g.m_lFirst = bo_choice_read_long(msg);
    g.m_lCount = bo_choice_read_long(msg);
    g.m_lDefault = bo_choice_read_long(msg);
    AppendGroup(g);
  }
  int32_t count = bo_choice_count(uint32_t(bo_choice_read_long(msg)));
  for (int32_t i = 0; i < count; ++i) AddChoice(new KDdChoice(msg));
  SetDefaultIndex(bo_choice_read_long(msg));
  CheckAgainstPool("KDdChoiceTable::Read");
}

void KDdChoiceTable::StoreGroups(KArchive& ar) const {
  ar.Put32(uint32_t(m_arrGroups.GetSize()));
  for (int i = 0; i < m_arrGroups.GetSize(); ++i) {
    const KGroupInfo& g = m_arrGroups[i];
    ar << g.m_strName;
    ar.Put32(uint32_t(g.m_lFirst)).Put32(uint32_t(g.m_lCount)).Put32(uint32_t(g.m_lDefault));
  }
}

void KDdChoiceTable::LoadGroups(KArchive& ar) {
  int32_t groups = bo_choice_count(ar.Get32());
  for (int32_t i = 0; i < groups; ++i) {
    KGroupInfo g;
    ar >> g.m_strName;
    g.m_lFirst = int32_t(ar.Get32());
    g.m_lCount = int32_t(ar.Get32());
    g.m_lDefault = int32_t(ar.Get32());
    AppendGroup(g);
  }
}

void KDdChoiceTable::StoreChoiceIndex(KArchive& ar) const {
  ar.Put32(uint32_t(m_mapChoiceIndex.GetCount()));
  KPOSITION pos = m_mapChoiceIndex.GetStartPosition();
  while (pos) {
    long id = 0, index = 0;
    m_mapChoiceIndex.GetNextAssoc(pos, id, index);
    ar.Put32(uint32_t(index)).Put32(uint32_t(id));
  }
}

void KDdChoiceTable::LoadChoiceIndex(KArchive& ar) {
  int32_t entries = bo_choice_count(ar.Get32());
  for (int32_t i = 0; i < entries; ++i) {
    long index = int32_t(ar.Get32());
    long id = int32_t(ar.Get32());
    m_mapChoiceIndex.SetAt(id, index);
  }
}

void KDdChoiceTable::Serialize(KArchive& ar) {
  if (ar.IsStoring()) {
    ar << m_strName << m_strDetailName;
    StoreGroups(ar);
    m_listChoices.Serialize(ar);
    StoreChoiceIndex(ar);
    return;
  }
  ar >> m_strName >> m_strDetailName;
  LoadGroups(ar);
  m_listChoices.Serialize(ar);
  LoadChoiceIndex(ar);
  CheckAgainstPool("KDdChoiceTable::Serialize");
}

} // namespace KCLASSIC
