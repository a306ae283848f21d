// Daylight-saving periods: the record KDdDaylight (one time zone, one year)
// and the component KDdDaylightCompnt (kind eDicDayLight), keyed by the
// zone name followed by the year of the period's start ("PST2004"; a start
// that is not a valid date gives the year -1, so all such periods of a
// zone share one key). Dates cross a message as text to the second; the
// cache file keeps them exactly.
#pragma once

#include <cstdint>

#include "bo/bo_compnt.h"
#include "bo/bo_msg.h"
#include "kclassic/kc_odt.h"

namespace KCLASSIC {

class ORB_API IDdDaylight {
 public:
  virtual long GetId() const = 0;
  virtual const KZString& GetTimezone() const = 0;
  virtual const KOleDateTime& GetDstStart() const = 0;
  virtual const KOleDateTime& GetDstEnd() const = 0;

 protected:
  ~IDdDaylight() = default;
};

class ORB_API KDdDaylight : public KObject, public IDdDaylight {
  KDECLARE_DYNCREATE(KDdDaylight)

 public:
  KDdDaylight() = default;
  KDdDaylight(long id, const KZString& timezone, const KOleDateTime& dstStart, const KOleDateTime& dstEnd);
  explicit KDdDaylight(KMsg& msg);
  KDdDaylight(const KDdDaylight& other) : KObject() { *this = other; }
  KDdDaylight& operator=(const KDdDaylight& other);
  // 1 when id, zone name (case-sensitive) and both dates with their
  // statuses are equal.
  int operator==(const KDdDaylight& other) const;

  // The zone name followed by the start's year; stored in out.
  KZString& GetKey(KZString& out) const;
  void Serialize(KArchive& ar) override;
  void Write(KMsg& msg);
  void Read(KMsg& msg);

  long GetId() const override { return m_lId; }
  const KZString& GetTimezone() const override { return m_strTimezone; }
  const KOleDateTime& GetDstStart() const override { return m_dtStart; }
  const KOleDateTime& GetDstEnd() const override { return m_dtEnd; }

 private:
  int32_t m_lId = 0;
  KZString m_strTimezone;
  KOleDateTime m_dtStart;
  KOleDateTime m_dtEnd;
};

ORB_API KArchive& operator>>(KArchive& ar, KDdDaylight*& daylight);

// The key of a zone's period in a year, as KDdDaylight::GetKey forms it.
ORB_API KZString bo_daylight_key(const KZString& timezone, long year);

class ORB_API KDdDaylightCompnt : public KDdComponent {
 public:
  KDdDaylightCompnt(long language, KSessionMgr* mgr);
  ~KDdDaylightCompnt() override;

  int GetDaylightCount();
  // Local only: flags must hold BO_DD_LOCAL_ONLY; null outside the array.
  IDdDaylight* GetDaylight(int index, int flags);
  // key in any letter case; a bare zone name matches no stored key.
  IDdDaylight* FindDaylight(KDdDict* dict, const KZString& key, int flags);
  IDdDaylight* FindDaylight(KDdDict* dict, const KZString& timezone, long year, int flags);
  // Takes the record over; one whose key is held already is deleted.
  void AddDaylight(KDdDaylight* daylight);
  void DeleteContents() override;
  void Serialize(KArchive& ar) override;

 private:
  KTypedPtrMap<KUtlMapStrNoCase2Ob, KZString, KDdDaylight*> m_mapByKey{10};
  KArray<KDdDaylight*, KDdDaylight*> m_arrDaylights;
};

} // namespace KCLASSIC
