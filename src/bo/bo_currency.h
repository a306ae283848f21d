// Currencies of the data dictionary: the record KDdCurrency and the
// component KDdCurrencyCompnt (kind eDicCurrency), which finds a currency by
// id or by name (any letter case), fetching a missing one, and keeps its
// currencies in its cache file. A rate crosses a message as a whole number
// truncated toward zero; the cache file keeps it exactly.
#pragma once

#include <cstdint>

#include "bo/bo_compnt.h"
#include "bo/bo_msg.h"
#include "kclassic/kc_map.h"

namespace KCLASSIC {

class ORB_API IDdCurrency {
 public:
  virtual long GetId() const = 0;
  virtual const KZString& GetName() const = 0;
  virtual const KZString& GetSymbol() const = 0;
  virtual const KZString& GetDescription() const = 0;
  virtual long GetBaseInd() const = 0;
  virtual float GetConvRate() const = 0;
  virtual const KZString& GetIsoCode() const = 0;
  virtual long GetSubScale() const = 0;
  virtual long GetPeg2Currency() const = 0;

 protected:
  ~IDdCurrency() = default;
};

class ORB_API KDdCurrency : public KObject, public IDdCurrency {
  KDECLARE_DYNCREATE(KDdCurrency)

 public:
  KDdCurrency() = default;
  KDdCurrency(long id, const KZString& name, const KZString& symbol, const KZString& description, long baseInd,
              float convRate, const KZString& isoCode, long subScale, long peg2Currency);
  explicit KDdCurrency(KMsg& msg);
  KDdCurrency(const KDdCurrency& other) : KObject() { *this = other; }
  KDdCurrency& operator=(const KDdCurrency& other);
  // 1 when all nine fields are equal (texts case-sensitive).
  int operator==(const KDdCurrency& other) const;

  void Serialize(KArchive& ar) override;
  // Throws 0x8B000C9 for a rate outside 32 bits or not a number.
  void Write(KMsg& msg);
  void Read(KMsg& msg);

  long GetId() const override { return m_lId; }
  const KZString& GetName() const override { return m_strName; }
  const KZString& GetSymbol() const override { return m_strSymbol; }
  const KZString& GetDescription() const override { return m_strDescription; }
  long GetBaseInd() const override { return m_lBaseInd; }
  float GetConvRate() const override { return m_fConvRate; }
  const KZString& GetIsoCode() const override { return m_strIsoCode; }
  long GetSubScale() const override { return m_lSubScale; }
  long GetPeg2Currency() const override { return m_lPeg2Currency; }

 private:
  int32_t m_lId = 0;
  KZString m_strName;
  KZString m_strSymbol;
  KZString m_strDescription;
  int32_t m_lBaseInd = 0;
  float m_fConvRate = 0.0f;
  KZString m_strIsoCode;
  int32_t m_lSubScale = 0;
  int32_t m_lPeg2Currency = 0;
};

ORB_API KArchive& operator>>(KArchive& ar, KDdCurrency*& currency);

class ORB_API KDdCurrencyCompnt : public KDdComponent {
 public:
  KDdCurrencyCompnt(long language, KSessionMgr* mgr);
  ~KDdCurrencyCompnt() override;

  int GetCurrencyCount();
  // Local only: flags must hold BO_DD_LOCAL_ONLY; null outside the array.
  IDdCurrency* GetCurrency(int index, int flags);
  IDdCurrency* FindCurrency(KDdDict* dict, long id, int flags);
  IDdCurrency* FindCurrency(KDdDict* dict, const KZString& name, int flags);
  // Takes the record over; one whose id is held already is deleted.
  void AddCurrency(KDdCurrency* currency);
  void DeleteContents() override;
  void Serialize(KArchive& ar) override;

 private:
  KDdCurrency* LookupById(long id);

  // Lower-cased name to the currency added last under it.
  KTypedPtrMap<KUtlMapStrNoCase2Ob, KZString, KDdCurrency*> m_mapByName{10};
  KMap<unsigned long, unsigned long, KDdCurrency*, KDdCurrency*&> m_mapById{10};
  KArray<KDdCurrency*, KDdCurrency*> m_arrCurrencies;
};

} // namespace KCLASSIC
