// Time zones of the CRM server: the record KDdTimezone and the component
// KDdTimezoneCompnt (kind eDicTimeZone), keyed by the zone's name in any
// letter case. Time zones come as one set: a miss asks the metadata server
// only while the component holds none.
#pragma once

#include <cstdint>

#include "bo/bo_compnt.h"
#include "bo/bo_msg.h"

namespace KCLASSIC {

class ORB_API IDdTimezone {
 public:
  virtual long GetId() const = 0;
  virtual const KZString& GetName() const = 0;
  virtual const KZString& GetFullName() const = 0;
  virtual long GetGmtDiff() const = 0;
  virtual int IsDefault() const = 0;

 protected:
  ~IDdTimezone() = default;
};

class ORB_API KDdTimezone : public KObject, public IDdTimezone {
  KDECLARE_DYNCREATE(KDdTimezone)

 public:
  KDdTimezone() = default;
  KDdTimezone(long id, const KZString& name, const KZString& fullName, long gmtDiff, int isDefault);
  explicit KDdTimezone(KMsg& msg);
  KDdTimezone(const KDdTimezone& other) : KObject() { *this = other; }
  KDdTimezone& operator=(const KDdTimezone& other);
  // 1 when all five fields are equal (texts case-sensitive).
  int operator==(const KDdTimezone& other) const;

  void Serialize(KArchive& ar) override;
  void Write(KMsg& msg);
  void Read(KMsg& msg);

  long GetId() const override { return m_lId; }
  const KZString& GetName() const override { return m_strName; }
  const KZString& GetFullName() const override { return m_strFullName; }
  long GetGmtDiff() const override { return m_lGmtDiff; }
  int IsDefault() const override { return m_bDefault; }

 private:
  int32_t m_lId = 0;
  KZString m_strName;
  KZString m_strFullName;
  int32_t m_lGmtDiff = 0;
  int32_t m_bDefault = 0;
};

ORB_API KArchive& operator>>(KArchive& ar, KDdTimezone*& timezone);

class ORB_API KDdTimezoneCompnt : public KDdComponent {
 public:
  KDdTimezoneCompnt(long language, KSessionMgr* mgr);
  ~KDdTimezoneCompnt() override;

  int GetTimezoneCount();
  // Local only: flags must hold BO_DD_LOCAL_ONLY; null outside the array.
  IDdTimezone* GetTimezone(int index, int flags);
  IDdTimezone* FindTimezone(KDdDict* dict, const KZString& name, int flags);
  // Takes the record over; one whose name is held already is deleted.
  void AddTimezone(KDdTimezone* timezone);
  void DeleteContents() override;
  void Serialize(KArchive& ar) override;

 private:
  KTypedPtrMap<KUtlMapStrNoCase2Ob, KZString, KDdTimezone*> m_mapByName{10};
  KArray<KDdTimezone*, KDdTimezone*> m_arrTimezones;
};

} // namespace KCLASSIC
