#include "bo/bo_locale.h"

#include "bo/bo_bulkreq.h"
#include "kclassic/kc_loc.h"

namespace KCLASSIC {

KIMPLEMENT_RUNTIMECLASS(KDdLocale, KObject, 1, KDdLocale::CreateObject)

KObject* KDdLocale::CreateObject() { return new KDdLocale(); }

KDdLocale::KDdLocale(long id, const KZString& isoLang, const KZString& isoCntry, long win32Lcid, long orbnLang,
                     const KZString& crtLocale)
    : m_lId(int32_t(id)),
      m_strIsoLang(isoLang),
      m_strIsoCntry(isoCntry),
      m_lWin32Lcid(int32_t(win32Lcid)),
      m_lOrbnLang(int32_t(orbnLang)),
      m_strCrtLocale(crtLocale) {}

KDdLocale::KDdLocale(KMsg& msg) { Read(msg); }

KDdLocale& KDdLocale::operator=(const KDdLocale& other) {
  m_lId = other.m_lId;
  m_strIsoLang = other.m_strIsoLang;
  m_strIsoCntry = other.m_strIsoCntry;
  m_lWin32Lcid = other.m_lWin32Lcid;
  m_lOrbnLang = other.m_lOrbnLang;
  m_strCrtLocale = other.m_strCrtLocale;
  return *this;
}

int KDdLocale::operator==(const KDdLocale& other) const {
  return m_lId == other.m_lId && m_strIsoLang.Compare(other.m_strIsoLang) == 0 &&
         m_strIsoCntry.Compare(other.m_strIsoCntry) == 0 && m_lWin32Lcid == other.m_lWin32Lcid &&
         m_lOrbnLang == other.m_lOrbnLang && m_strCrtLocale.Compare(other.m_strCrtLocale) == 0;
}

KZString& KDdLocale::GetKey(KZString& out) const {
  out = m_strIsoLang;
  out += m_strIsoCntry;
  return out;
}

void KDdLocale::Serialize(KArchive& ar) {
  if (ar.IsStoring())
    ar << m_lId << m_strIsoLang << m_strIsoCntry << m_lWin32Lcid << m_lOrbnLang << m_strCrtLocale;
  else
    ar >> m_lId >> m_strIsoLang >> m_strIsoCntry >> m_lWin32Lcid >> m_lOrbnLang >> m_strCrtLocale;
}

void KDdLocale::Write(KMsg& msg) {
  msg.WriteLong(m_lId);
  msg.WriteString(m_strIsoLang);
  msg.WriteString(m_strIsoCntry);
  msg.WriteLong(m_lWin32Lcid);
  msg.WriteLong(m_lOrbnLang);
  msg.WriteString(m_strCrtLocale);
}

void KDdLocale::Read(KMsg& msg) {
  long value = 0;
  msg.ReadLong(value);
  m_lId = int32_t(value);
  msg.ReadString(m_strIsoLang);
  msg.ReadString(m_strIsoCntry);
  msg.ReadLong(value);
  m_lWin32Lcid = int32_t(value);
  msg.ReadLong(value);
  m_lOrbnLang = int32_t(value);
  msg.ReadString(m_strCrtLocale);
}

KArchive& operator>>(KArchive& ar, KDdLocale*& locale) {
  locale = static_cast<KDdLocale*>(ar.ReadObject(KRUNTIME_CLASS(KDdLocale)));
  return ar;
}

KDdLocaleCompnt::KDdLocaleCompnt(long language, KSessionMgr* mgr)
    : KDdComponent(eDicLocale, (unsigned long)language, mgr) {}

KDdLocaleCompnt::~KDdLocaleCompnt() { KDdLocaleCompnt::DeleteContents(); }

int KDdLocaleCompnt::GetLocaleCount() { return RecordCount(m_arrLocales); }

IDdLocale* KDdLocaleCompnt::GetLocale(int index, int flags) {
  CheckLocalOnly(flags, "KDdLocaleCompnt::GetTable");
  return RecordAt(m_arrLocales, index);
}

IDdLocale* KDdLocaleCompnt::FindLocale(KDdDict* dict, const KZString& key, int flags) {
  KDdLocale* found = LookupByKey(m_mapByKey, key);
  if (found || (flags & BO_DD_LOCAL_ONLY) || GetLocaleCount() > 0) return found;
  FetchMissing(dict, [&key](KDdBulkRequest& r) { r.AddLocaleRequest(key); });
  return FindLocale(nullptr, key, BO_DD_LOCAL_ONLY);
}

void KDdLocaleCompnt::AddLocale(KDdLocale* locale) {
  KZString key;
  FileByKey(m_mapByKey, m_arrLocales, locale, locale->GetKey(key));
}

long KDdLocaleCompnt::Locale2OrbnLang(long win32Lcid) {
  if (uint32_t(win32Lcid) == BO_LCID_DEFAULT) return GetDefaultLang();
  if (win32Lcid == BO_LCID_CURRENT) win32Lcid = long(UtlGetLocale("").GetWin32Lcid());
  for (int i = 0;; ++i) {
    KDdLocale* locale = RecordAt(m_arrLocales, i);
    if (!locale) return GetDefaultLang();
    if (locale->GetWin32Lcid() == long(int32_t(win32Lcid))) return locale->GetOrbnLang();
  }
}

void KDdLocaleCompnt::DeleteContents() {
  KUtlCrSync hold(m_csLock);
  DeleteRecords(m_arrLocales);
  m_mapByKey.RemoveAll();
}

void KDdLocaleCompnt::Serialize(KArchive& ar) {
  bo_compnt_serialize_records(ar, m_arrLocales, [this](KDdLocale* l) { AddLocale(l); });
}

} // namespace KCLASSIC
