#include "bo/bo_currency.h"

#include <cmath>

#include "bo/bo_bulkreq.h"

namespace KCLASSIC {

KIMPLEMENT_RUNTIMECLASS(KDdCurrency, KObject, 1, KDdCurrency::CreateObject)

KObject* KDdCurrency::CreateObject() { return new KDdCurrency(); }

KDdCurrency::KDdCurrency(long id, const KZString& name, const KZString& symbol, const KZString& description,
                         long baseInd, float convRate, const KZString& isoCode, long subScale, long peg2Currency)
    : m_lId(int32_t(id)),
      m_strName(name),
      m_strSymbol(symbol),
      m_strDescription(description),
      m_lBaseInd(int32_t(baseInd)),
      m_fConvRate(convRate),
      m_strIsoCode(isoCode),
      m_lSubScale(int32_t(subScale)),
      m_lPeg2Currency(int32_t(peg2Currency)) {}

KDdCurrency::KDdCurrency(KMsg& msg) { Read(msg); }

KDdCurrency& KDdCurrency::operator=(const KDdCurrency& other) {
  m_lId = other.m_lId;
  m_strName = other.m_strName;
  m_strSymbol = other.m_strSymbol;
  m_strDescription = other.m_strDescription;
  m_lBaseInd = other.m_lBaseInd;
  m_fConvRate = other.m_fConvRate;
  m_strIsoCode = other.m_strIsoCode;
  m_lSubScale = other.m_lSubScale;
  m_lPeg2Currency = other.m_lPeg2Currency;
  return *this;
}

int KDdCurrency::operator==(const KDdCurrency& other) const {
  return m_lId == other.m_lId && m_strName.Compare(other.m_strName) == 0 &&
         m_strSymbol.Compare(other.m_strSymbol) == 0 && m_strDescription.Compare(other.m_strDescription) == 0 &&
         m_lBaseInd == other.m_lBaseInd && m_fConvRate == other.m_fConvRate &&
         m_strIsoCode.Compare(other.m_strIsoCode) == 0 && m_lSubScale == other.m_lSubScale &&
         m_lPeg2Currency == other.m_lPeg2Currency;
}

void KDdCurrency::Serialize(KArchive& ar) {
  if (ar.IsStoring()) {
    ar << m_lId << m_strName << m_strSymbol << m_strDescription << m_lBaseInd << m_fConvRate << m_strIsoCode
       << m_lSubScale << m_lPeg2Currency;
  } else {
    ar >> m_lId >> m_strName >> m_strSymbol >> m_strDescription >> m_lBaseInd >> m_fConvRate >> m_strIsoCode >>
        m_lSubScale >> m_lPeg2Currency;
  }
}

void KDdCurrency::Write(KMsg& msg) {
  double whole = std::trunc(double(m_fConvRate));
  if (!(whole >= double(INT32_MIN) && whole <= double(INT32_MAX)))
    throw new KErr(KERR_ILLEGAL_ARGUMENT, "KDdCurrency::Write", "conversion rate");
  msg.WriteLong(m_lId);
  msg.WriteString(m_strName);
  msg.WriteString(m_strSymbol);
  msg.WriteString(m_strDescription);
  msg.WriteLong(m_lBaseInd);
  msg.WriteLong(long(whole));
  msg.WriteString(m_strIsoCode);
  msg.WriteLong(m_lSubScale);
  msg.WriteLong(m_lPeg2Currency);
}

void KDdCurrency::Read(KMsg& msg) {
  long value = 0;
  msg.ReadLong(value);
  m_lId = int32_t(value);
  msg.ReadString(m_strName);
  msg.ReadString(m_strSymbol);
  msg.ReadString(m_strDescription);
  msg.ReadLong(value);
  m_lBaseInd = int32_t(value);
  msg.ReadLong(value);
  m_fConvRate = float(value);
  msg.ReadString(m_strIsoCode);
  msg.ReadLong(value);
  m_lSubScale = int32_t(value);
  msg.ReadLong(value);
  m_lPeg2Currency = int32_t(value);
}

KArchive& operator>>(KArchive& ar, KDdCurrency*& currency) {
  currency = static_cast<KDdCurrency*>(ar.ReadObject(KRUNTIME_CLASS(KDdCurrency)));
  return ar;
}

KDdCurrencyCompnt::KDdCurrencyCompnt(long language, KSessionMgr* mgr)
    : KDdComponent(eDicCurrency, (unsigned long)language, mgr) {}

KDdCurrencyCompnt::~KDdCurrencyCompnt() { KDdCurrencyCompnt::DeleteContents(); }

int KDdCurrencyCompnt::GetCurrencyCount() { return RecordCount(m_arrCurrencies); }

IDdCurrency* KDdCurrencyCompnt::GetCurrency(int index, int flags) {
  CheckLocalOnly(flags, "KDdCurrencyCompnt::GetTable");
  return RecordAt(m_arrCurrencies, index);
}

KDdCurrency* KDdCurrencyCompnt::LookupById(long id) {
  KUtlCrSync hold(m_csLock);
  KDdCurrency* found = nullptr;
  m_mapById.Lookup((unsigned long)id, found);
  return found;
}

IDdCurrency* KDdCurrencyCompnt::FindCurrency(KDdDict* dict, long id, int flags) {
  KDdCurrency* found = LookupById(id);
  if (found || (flags & BO_DD_LOCAL_ONLY)) return found;
  FetchMissing(dict, [id](KDdBulkRequest& r) { r.m_arrCurrencyIds.Add(uint32_t(id)); });
  return FindCurrency(nullptr, id, BO_DD_LOCAL_ONLY);
}

IDdCurrency* KDdCurrencyCompnt::FindCurrency(KDdDict* dict, const KZString& name, int flags) {
  KDdCurrency* found = LookupByKey(m_mapByName, name);
  if (found || (flags & BO_DD_LOCAL_ONLY)) return found;
  FetchMissing(dict, [&name](KDdBulkRequest& r) { r.AddCurrencyRequest(name); });
  return FindCurrency(nullptr, name, BO_DD_LOCAL_ONLY);
}

void KDdCurrencyCompnt::AddCurrency(KDdCurrency* currency) {
  KUtlCrSync hold(m_csLock);
  if (LookupById(currency->GetId())) {
    delete currency;
    return;
  }
  m_mapById[(unsigned long)currency->GetId()] = currency;
  KZString key(currency->GetName());
  key.MakeLower();
  m_mapByName.SetAt(key, currency);
  m_arrCurrencies.Add(currency);
  m_bModified = 1;
}

void KDdCurrencyCompnt::DeleteContents() {
  KUtlCrSync hold(m_csLock);
  DeleteRecords(m_arrCurrencies);
  m_mapById.RemoveAll();
  m_mapByName.RemoveAll();
}

void KDdCurrencyCompnt::Serialize(KArchive& ar) {
  bo_compnt_serialize_records(ar, m_arrCurrencies, [this](KDdCurrency* c) { AddCurrency(c); });
}

} // namespace KCLASSIC
