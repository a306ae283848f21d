#include "bo/bo_daylight.h"

#include "bo/bo_bulkreq.h"

namespace KCLASSIC {

namespace {

constexpr const char* kWireDateFormat = "%Y-%m-%d %H:%M:%S";

KOleDateTime read_wire_date(KMsg& msg) {
  KZString text;
  msg.ReadString(text);
  KOleDateTime date;
  date.ParseDateTime(text);
  return date;
}

} // namespace

KIMPLEMENT_RUNTIMECLASS(KDdDaylight, KObject, 1, KDdDaylight::CreateObject)

KObject* KDdDaylight::CreateObject() { return new KDdDaylight(); }

KDdDaylight::KDdDaylight(long id, const KZString& timezone, const KOleDateTime& dstStart, const KOleDateTime& dstEnd)
    : m_lId(int32_t(id)), m_strTimezone(timezone), m_dtStart(dstStart), m_dtEnd(dstEnd) {}

KDdDaylight::KDdDaylight(KMsg& msg) { Read(msg); }

KDdDaylight& KDdDaylight::operator=(const KDdDaylight& other) {
  m_lId = other.m_lId;
  m_strTimezone = other.m_strTimezone;
  m_dtStart = other.m_dtStart;
  m_dtEnd = other.m_dtEnd;
  return *this;
}

int KDdDaylight::operator==(const KDdDaylight& other) const {
  auto same = [](const KOleDateTime& a, const KOleDateTime& b) {
    return a.GetStatus() == b.GetStatus() && a.m_dt == b.m_dt;
  };
  return m_lId == other.m_lId && m_strTimezone.Compare(other.m_strTimezone) == 0 && same(m_dtStart, other.m_dtStart) &&
         same(m_dtEnd, other.m_dtEnd);
}

KZString bo_daylight_key(const KZString& timezone, long year) {
  KZString key;
  key.Format("%s%ld", static_cast<const char*>(timezone), year);
  return key;
}

KZString& KDdDaylight::GetKey(KZString& out) const {
  out = bo_daylight_key(m_strTimezone, m_dtStart.GetYear());
  return out;
}

void KDdDaylight::Serialize(KArchive& ar) {
  if (ar.IsStoring())
    ar << m_lId << m_strTimezone << m_dtStart << m_dtEnd;
  else
    ar >> m_lId >> m_strTimezone >> m_dtStart >> m_dtEnd;
}

void KDdDaylight::Write(KMsg& msg) {
  msg.WriteLong(m_lId);
  msg.WriteString(m_strTimezone);
  msg.WriteString(m_dtStart.Format(kWireDateFormat));
  msg.WriteString(m_dtEnd.Format(kWireDateFormat));
}

void KDdDaylight::Read(KMsg& msg) {
  long id = 0;
  msg.ReadLong(id);
  m_lId = int32_t(id);
  msg.ReadString(m_strTimezone);
  m_dtStart = read_wire_date(msg);
  m_dtEnd = read_wire_date(msg);
}

KArchive& operator>>(KArchive& ar, KDdDaylight*& daylight) {
  daylight = static_cast<KDdDaylight*>(ar.ReadObject(KRUNTIME_CLASS(KDdDaylight)));
  return ar;
}

KDdDaylightCompnt::KDdDaylightCompnt(long language, KSessionMgr* mgr)
    : KDdComponent(eDicDayLight, (unsigned long)language, mgr) {}

KDdDaylightCompnt::~KDdDaylightCompnt() { KDdDaylightCompnt::DeleteContents(); }

int KDdDaylightCompnt::GetDaylightCount() { return RecordCount(m_arrDaylights); }

IDdDaylight* KDdDaylightCompnt::GetDaylight(int index, int flags) {
  CheckLocalOnly(flags, "KDdDaylightCompnt::GetTable");
  return RecordAt(m_arrDaylights, index);
}

IDdDaylight* KDdDaylightCompnt::FindDaylight(KDdDict* dict, const KZString& key, int flags) {
  KDdDaylight* found = LookupByKey(m_mapByKey, key);
  if (found || (flags & BO_DD_LOCAL_ONLY)) return found;
  FetchMissing(dict, [&key](KDdBulkRequest& r) { r.AddDaylightRequest(key); });
  return FindDaylight(nullptr, key, BO_DD_LOCAL_ONLY);
}

IDdDaylight* KDdDaylightCompnt::FindDaylight(KDdDict* dict, const KZString& timezone, long year, int flags) {
  return FindDaylight(dict, bo_daylight_key(timezone, year), flags);
}

void KDdDaylightCompnt::AddDaylight(KDdDaylight* daylight) {
  KZString key;
  FileByKey(m_mapByKey, m_arrDaylights, daylight, daylight->GetKey(key));
}

void KDdDaylightCompnt::DeleteContents() {
  KUtlCrSync hold(m_csLock);
  DeleteRecords(m_arrDaylights);
  m_mapByKey.RemoveAll();
}

void KDdDaylightCompnt::Serialize(KArchive& ar) {
  bo_compnt_serialize_records(ar, m_arrDaylights, [this](KDdDaylight* d) { AddDaylight(d); });
}

} // namespace KCLASSIC
