#include "bo/bo_timezone.h"

#include "bo/bo_bulkreq.h"

namespace KCLASSIC {

KIMPLEMENT_RUNTIMECLASS(KDdTimezone, KObject, 1, KDdTimezone::CreateObject)

KObject* KDdTimezone::CreateObject() { return new KDdTimezone(); }

KDdTimezone::KDdTimezone(long id, const KZString& name, const KZString& fullName, long gmtDiff, int isDefault)
    : m_lId(int32_t(id)), m_strName(name), m_strFullName(fullName), m_lGmtDiff(int32_t(gmtDiff)), m_bDefault(isDefault) {}

KDdTimezone::KDdTimezone(KMsg& msg) { Read(msg); }

KDdTimezone& KDdTimezone::operator=(const KDdTimezone& other) {
  m_lId = other.m_lId;
  m_strName = other.m_strName;
  m_strFullName = other.m_strFullName;
  m_lGmtDiff = other.m_lGmtDiff;
  m_bDefault = other.m_bDefault;
  return *this;
}

int KDdTimezone::operator==(const KDdTimezone& other) const {
  return m_lId == other.m_lId && m_strName.Compare(other.m_strName) == 0 &&
         m_strFullName.Compare(other.m_strFullName) == 0 && m_lGmtDiff == other.m_lGmtDiff &&
         m_bDefault == other.m_bDefault;
}

void KDdTimezone::Serialize(KArchive& ar) {
  if (ar.IsStoring())
    ar << m_lId << m_strName << m_strFullName << m_lGmtDiff << m_bDefault;
  else
    ar >> m_lId >> m_strName >> m_strFullName >> m_lGmtDiff >> m_bDefault;
}

void KDdTimezone::Write(KMsg& msg) {
  msg.WriteLong(m_lId);
  msg.WriteString(m_strName);
  msg.WriteString(m_strFullName);
  msg.WriteLong(m_lGmtDiff);
  msg.WriteLong(m_bDefault);
}

void KDdTimezone::Read(KMsg& msg) {
  long value = 0;
  msg.ReadLong(value);
  m_lId = int32_t(value);
  msg.ReadString(m_strName);
  msg.ReadString(m_strFullName);
  msg.ReadLong(value);
  m_lGmtDiff = int32_t(value);
  msg.ReadLong(value);
  m_bDefault = int32_t(value);
}

KArchive& operator>>(KArchive& ar, KDdTimezone*& timezone) {
  timezone = static_cast<KDdTimezone*>(ar.ReadObject(KRUNTIME_CLASS(KDdTimezone)));
  return ar;
}

KDdTimezoneCompnt::KDdTimezoneCompnt(long language, KSessionMgr* mgr)
    : KDdComponent(eDicTimeZone, (unsigned long)language, mgr) {}

KDdTimezoneCompnt::~KDdTimezoneCompnt() { KDdTimezoneCompnt::DeleteContents(); }

int KDdTimezoneCompnt::GetTimezoneCount() { return RecordCount(m_arrTimezones); }

IDdTimezone* KDdTimezoneCompnt::GetTimezone(int index, int flags) {
  CheckLocalOnly(flags, "KDdTimezoneCompnt::GetTable");
  return RecordAt(m_arrTimezones, index);
}

IDdTimezone* KDdTimezoneCompnt::FindTimezone(KDdDict* dict, const KZString& name, int flags) {
  KDdTimezone* found = LookupByKey(m_mapByName, name);
  if (found || (flags & BO_DD_LOCAL_ONLY) || GetTimezoneCount() > 0) return found;
  FetchMissing(dict, [&name](KDdBulkRequest& r) { r.AddTimezoneRequest(name); });
  return FindTimezone(nullptr, name, BO_DD_LOCAL_ONLY);
}

void KDdTimezoneCompnt::AddTimezone(KDdTimezone* timezone) {
  FileByKey(m_mapByName, m_arrTimezones, timezone, timezone->GetName());
}

void KDdTimezoneCompnt::DeleteContents() {
  KUtlCrSync hold(m_csLock);
  DeleteRecords(m_arrTimezones);
  m_mapByName.RemoveAll();
}

void KDdTimezoneCompnt::Serialize(KArchive& ar) {
  bo_compnt_serialize_records(ar, m_arrTimezones, [this](KDdTimezone* t) { AddTimezone(t); });
}

} // namespace KCLASSIC
